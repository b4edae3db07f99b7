// The game's entry point, as the platform calls it: brings the engine up in its fixed order,
// owns the game object for the whole run, runs the main loop and writes the settings file at the
// end. Returns the process exit code: the main loop's (0 for a closed window or E_Exit), -1 when
// the engine could not start or the program was closed while loading, 0 when it was closed
// during the intro video (then nothing is written), 1 when another game holds the user folder
// or its lock file cannot be opened (a message says so; nothing of the folder is read or written,
// nor the log: its lines go to standard error).
//
// Start-up: the log's lines held, an empty log line and the log thresholds; COM; the archive
// "cp.gob" ("CPGOB", key 1); the console hidden; the engine with effects compiled from source and
// the command line read; the user folder below the application-data folder, held by this game for
// its whole run; the log file emptied and opened with the lines held (saves that a game ending
// while saving left unfinished in the folder removed); the game's settings object
// (four gods); config.cfg read from the user folder (missing: 1920 x 1080 at 75 Hz full screen)
// and the game's fixed values forced over it; the window; the intro video; the archive
// "velquorandix.gob" ("BASEGOB", key 0); the engine started; the frame texture; the pointer
// centred; the game object; the main loop; config.cfg written; the engine shut down.
#pragma once

#include <string>

#include "port/win32/windows_types.h"

int WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine, int showCommand);

namespace Solitaire {

// The values the game forces over the settings file before the window opens (and which the
// file then holds at exit): display-mode options, the offered resolutions, input and texture
// settings; and the engine's render passes off until the render-pass file turns them on.
void forceStartSettings();

// The display mode the device starts in, after the settings file was read (settingsRead) or not:
// without settings full screen at the desktop's size or the largest offered mode that fits on
// it; with settings their window size brought to an offered one, and their mode onto the desktop.
void settleStartMode(bool settingsRead);

// The program's arguments from argv[first] on as the 8-bit command line WinMain reads: joined
// by blanks, an argument holding a blank in double quotes.
std::string joinCommandLine(int argc, char const* const* argv, int first = 1);

}  // namespace Solitaire
