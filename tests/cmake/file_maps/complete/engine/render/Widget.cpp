// A fixture source of the file-map check: named in Widget.h; no heading names it, so its
// methods may stand anywhere.
Widget::Widget() {}
