// A fixture source of the file-map check: named in no header of its folder.
