// A fixture header of the file-map check: it names every aspect file of its class, and each
// section heading naming a file holds every method that file defines.
// Split: Widget.cpp (the rest), Widget_draw.cpp (drawing), Widget_load.cpp (reading).
class Widget {
public:
    Widget();

    // ---- drawing (Widget_draw.cpp) ----
    void draw();

private:
    // ---- reading (_load.cpp) ----
    void load();
    // ---- drawing steps (Widget_draw.cpp, a second heading naming it) ----
    void drawFrame();
};
