// A fixture header of the file-map check: it names every aspect file of its class.
// Split: Widget.cpp (the rest), Widget_draw.cpp (drawing), Widget_load.cpp (reading).
