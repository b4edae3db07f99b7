// The program: the command line's arguments joined into the 8-bit command line the entry point
// reads (an argument holding blanks in double quotes), then the entry point.
#include <string>

#include "game/app/WinMain.h"
#include "port/win32/winuser.h"

int main(int argc, char** argv) {
    std::string line;
    for (int i = 1; i < argc; ++i) {
        std::string const argument = argv[i];
        if (!line.empty()) line += ' ';
        line += argument.find_first_of(" \t") == std::string::npos ? argument : '"' + argument + '"';
    }
    return WinMain(nullptr, nullptr, line.data(), SW_SHOWDEFAULT);
}
