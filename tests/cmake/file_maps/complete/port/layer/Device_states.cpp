// A fixture source of the file-map check: named in Internal.h, as there is no Device.h.
