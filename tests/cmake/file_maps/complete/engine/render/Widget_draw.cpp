// A fixture source of the file-map check: named in Widget.h.
