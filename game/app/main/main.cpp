// The program: its arguments as the 8-bit command line, then the entry point.
#include <string>

#include "game/app/WinMain.h"
#include "port/win32/winuser.h"

int main(int argc, char** argv) {
    std::string line = Solitaire::joinCommandLine(argc, argv);
    return WinMain(nullptr, nullptr, line.data(), SW_SHOWDEFAULT);
}
