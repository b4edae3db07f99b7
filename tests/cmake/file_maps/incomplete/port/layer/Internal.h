// A fixture header of the file-map check: there is no Device.h, and this header does not name
// the device's aspect file either.
