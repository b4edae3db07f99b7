// A fixture source of the file-map check: named in Widget.h, its method under "_load.cpp".
void Widget::load() {}
