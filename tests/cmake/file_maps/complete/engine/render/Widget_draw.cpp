// A fixture source of the file-map check: named in Widget.h, its methods under headings naming it.
void Widget::draw() {}
void Widget::drawFrame() {}
