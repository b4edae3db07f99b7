// A fixture header of the file-map check that misses a file: Widget_draw.cpp is named,
// the reading file is not (nor is a file whose name merely ends like it: MyWidget_load.cpp);
// and its drawing section lacks one of Widget_draw.cpp's methods.
class Widget {
public:
    // ---- drawing (Widget_draw.cpp) ----
    void draw();

private:
    void drawFrame();
};
