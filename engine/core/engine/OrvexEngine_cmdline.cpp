// The engine's command-line switches: each a minus sign, a name and a value
// ("-LOG_MISC 25 -SEARCHPATH data -APPTITLE "Mein Spiel""). A value may be quoted to hold
// blanks. A switch followed directly by another switch, or by nothing, has no value: flags then
// count as on, the others are skipped with a log line. Switch names ignore letter case.
#include <cctype>
#include <cwchar>
#include <vector>

#include "engine/core/CodePage.h"
#include "engine/core/GOBManager.h"
#include "engine/core/Logger.h"
#include "engine/core/engine/OrvexEngine.h"
#include "engine/platform/AppWindow.h"
#include "port/win32/kernel.h"

namespace Orvex {

namespace {

// Splits at blanks; double quotes group blanks into a token and are removed.
std::vector<std::string> splitCommandLine(std::string const& line) {
    std::vector<std::string> tokens;
    std::string token;
    bool inToken = false;
    bool quoted = false;
    for (char c : line) {
        if (c == '"') {
            quoted = !quoted;
            inToken = true;
        } else if (!quoted && std::isspace(static_cast<unsigned char>(c))) {
            if (inToken) tokens.push_back(token);
            token.clear();
            inToken = false;
        } else {
            token += c;
            inToken = true;
        }
    }
    if (inToken) tokens.push_back(token);
    return tokens;
}

// "-NAME": a minus sign followed by a letter or an underscore (so "-5" stays a value).
bool isSwitch(std::string const& token) {
    return token.size() > 1 && token[0] == '-' &&
           (std::isalpha(static_cast<unsigned char>(token[1])) || token[1] == '_');
}

std::string upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// A whole decimal integer; false for anything else.
bool parseInt(std::string const& text, int& out) {
    std::wstring const wide = toWideString(text);
    wchar_t* end = nullptr;
    long value = std::wcstol(wide.c_str(), &end, 10);
    if (wide.empty() || !end || *end != 0 || value < -2147483647L - 1 || value > 2147483647L) return false;
    out = static_cast<int>(value);
    return true;
}

}  // namespace

void OrvexEngine::parseCommandLine(char const* commandLine) {
    if (!commandLine) return;
    std::vector<std::string> const tokens = splitCommandLine(commandLine);
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        if (!isSwitch(tokens[i])) {
            logWarning(L"Command line: \"" + toWideString(tokens[i]) + L"\" is not a switch, ignored");
            continue;
        }
        bool const hasValue = i + 1 < tokens.size() && !isSwitch(tokens[i + 1]);
        std::string const value = hasValue ? tokens[i + 1] : std::string();
        applySwitch(upper(tokens[i].substr(1)), value, hasValue);
        if (hasValue) ++i;
    }
}

void OrvexEngine::applySwitch(std::string const& name, std::string const& value, bool hasValue) {
    std::wstring const wideName = toWideString(name);
    std::wstring const wideValue = toWideString(value);
    auto badValue = [&](wchar_t const* expected) {
        logWarning(L"Command line: -" + wideName + L" needs " + expected + L" (got \"" + wideValue + L"\"), ignored");
    };

    int const logMask = name == "LOG_MISC" ? LOG_MASK_INFO
                        : name == "LOG_WARNING" ? LOG_MASK_WARNING
                        : name == "LOG_ERROR"   ? LOG_MASK_ERROR
                                                : 0;
    if (logMask) {
        int priority = 0;
        if (!hasValue || !parseInt(value, priority)) return badValue(L"a priority");
        Logger::getInstance().setThreshold(priority, logMask);
        return;
    }

    bool* flag = name == "SHOW_CONSOLE"            ? &showConsole_
                 : name == "SHOW_CONSOLE_FIRST"    ? &showConsoleFirst_
                 : name == "ENABLE_INGAME_CONSOLE" ? &ingameConsoleEnabled_
                 : name == "VISUAL_DEBUGGER"       ? &visualDebugger_
                 : name == "SHOW_VIDEO"            ? &showVideo_
                 : name == "DEBUG"                 ? &debug_
                                                   : nullptr;
    if (flag) {
        int number = 1;
        if (hasValue && !parseInt(value, number)) return badValue(L"0 or 1");
        *flag = number != 0;
        // The console is shown at once for "_FIRST", else once the engine is initialised.
        if (flag == &showConsoleFirst_ && *flag) Logger::getInstance().showConsole(true);
        if (flag == &showConsole_ && initialised_) Logger::getInstance().showConsole(*flag);
        return;
    }

    if (name == "SEARCHPATH") {
        if (!hasValue || value.empty()) return badValue(L"a folder");
        GOBManager::getInstance().addSearchPath(wideValue);
    } else if (name == "APPPATH") {
        if (!hasValue || value.empty()) return badValue(L"a folder");
        if (!SetCurrentDirectoryW(wideValue.c_str())) {
            logError(L"Command line: -APPPATH \"" + wideValue + L"\" cannot be entered");
            return;
        }
        appPath_ = wideValue;
    } else if (name == "APPTITLE") {
        if (!hasValue) return badValue(L"a title");
        appTitle_ = wideValue;
        if (window_) window_->setTitle(appTitle_);
    } else {
        logWarning(L"Command line: unknown switch -" + wideName + L", ignored");
    }
}

}  // namespace Orvex
