// A fixture header of the file-map check: a sub-layer's private classes and no Device.h, so this
// header's map names Device_states.cpp.
