// A fixture source of the file-map check.
