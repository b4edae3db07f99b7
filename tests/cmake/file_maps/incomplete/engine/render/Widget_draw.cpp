// A fixture source of the file-map check: drawFrame is declared under no heading naming this file.
void Widget::draw() {}
void Widget::drawFrame() {}
