// Message boxes (SDL, or the log without a display) and ShellExecuteW (xdg-open, detached).
#include "port/win32/win32_paths.h"
#include "port/win32/win32_text.h"
#include "port/win32/win32_log.h"
#include "port/win32/win32_sdl.h"
#include "port/win32/shellapi.h"
#include "port/win32/Internal.h"

#include <SDL.h>

#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

// The longest line of a message box's text, in characters (a box on a screen 1024 pixels wide
// shows about 120 of its font's): a longer text is broken at blanks, as Windows breaks it.
constexpr std::size_t kBoxLineChars = 72;

struct BoxButton {
    int id;
    char const* label;
};

std::vector<BoxButton> buttonsOf(UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return {{IDOK, "OK"}, {IDCANCEL, "Cancel"}};
    case MB_ABORTRETRYIGNORE: return {{IDABORT, "Abort"}, {IDRETRY, "Retry"}, {IDIGNORE, "Ignore"}};
    case MB_YESNOCANCEL: return {{IDYES, "Yes"}, {IDNO, "No"}, {IDCANCEL, "Cancel"}};
    case MB_YESNO: return {{IDYES, "Yes"}, {IDNO, "No"}};
    case MB_RETRYCANCEL: return {{IDRETRY, "Retry"}, {IDCANCEL, "Cancel"}};
    default: return {{IDOK, "OK"}};
    }
}

bool dialogsAllowed() {
    if (std::getenv("ORVEX_NO_DIALOGS")) return false;
    if (!port::win32::ensureVideo()) return false;
    return !port::win32::headlessVideo();
}

}  // namespace

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    std::wstring body = text ? text : L"";
    std::wstring title = caption ? caption : L"Error";
    std::vector<BoxButton> buttons = buttonsOf(type);
    int confirm = buttons.front().id;
    if (dialogsAllowed()) {
        std::string utf8Title = port::toUtf8(title);
        std::string utf8Body = port::toUtf8(port::wrapLines(body, kBoxLineChars));
        std::vector<SDL_MessageBoxButtonData> sdlButtons;
        int defaultIndex = (type & MB_DEFBUTTON3) ? 2 : (type & MB_DEFBUTTON2) ? 1 : 0;
        for (size_t i = 0; i < buttons.size(); ++i) {
            Uint32 flags = static_cast<int>(i) == defaultIndex ? SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT : 0;
            if (buttons[i].id == IDCANCEL || buttons[i].id == IDNO) flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
            sdlButtons.push_back(SDL_MessageBoxButtonData{flags, buttons[i].id, buttons[i].label});
        }
        Uint32 icon = SDL_MESSAGEBOX_INFORMATION;
        UINT iconBits = type & MB_ICONMASK;
        if (iconBits == MB_ICONERROR) icon = SDL_MESSAGEBOX_ERROR;
        if (iconBits == MB_ICONWARNING) icon = SDL_MESSAGEBOX_WARNING;
        SDL_MessageBoxData data{icon, port::win32::sdlWindow(owner), utf8Title.c_str(), utf8Body.c_str(),
                                static_cast<int>(sdlButtons.size()), sdlButtons.data(), nullptr};
        int pressed = 0;
        if (SDL_ShowMessageBox(&data, &pressed) == 0) return pressed >= 0 ? pressed : IDCANCEL;
        port::logLine(port::LogLevel::Warning, L"MessageBoxW: no message box: " + port::fromUtf8(SDL_GetError()));
    }
    port::LogLevel level = (type & MB_ICONMASK) == MB_ICONERROR ? port::LogLevel::Error : port::LogLevel::Info;
    port::logLine(level, L"MessageBox \"" + title + L"\": " + body);
    return confirm;
}

HINSTANCE ShellExecuteW(HWND, LPCWSTR operation, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory, INT) {
    auto result = [](intptr_t code) { return reinterpret_cast<HINSTANCE>(code); };
    if (!file || !*file) return result(SE_ERR_FNF);
    std::wstring op = operation ? operation : L"open";
    if (!port::equalsNoCase(op, L"open") && !port::equalsNoCase(op, L"explore")) {
        port::logLine(port::LogLevel::Warning, L"ShellExecuteW: operation not supported: " + op);
        return result(SE_ERR_NOASSOC);
    }
    std::wstring target = file;
    bool isAddress = target.find(L"://") != std::wstring::npos || target.rfind(L"mailto:", 0) == 0;
    std::string hostTarget;
    if (isAddress) {
        hostTarget = port::toUtf8(target);
    } else {
        std::wstring full = target;
        bool relative = !(full.size() > 1 && full[1] == L':') && !(full.size() > 0 && (full[0] == L'\\' || full[0] == L'/'));
        if (relative && directory && *directory) full = std::wstring(directory) + L"\\" + full;
        hostTarget = port::hostPath(full);
        if (access(hostTarget.c_str(), F_OK) != 0) {
            port::logLine(port::LogLevel::Warning, L"ShellExecuteW: not found: " + target);
            return result(SE_ERR_FNF);
        }
    }
    if (parameters && *parameters)
        port::logLine(port::LogLevel::Info, L"ShellExecuteW: parameters ignored: " + std::wstring(parameters));
    char const* driver = std::getenv("SDL_VIDEODRIVER");
    bool headless = driver && (std::string(driver) == "offscreen" || std::string(driver) == "dummy");
    if (std::getenv("ORVEX_NO_SHELL") || headless) {
        port::logLine(port::LogLevel::Info, L"ShellExecuteW: not started without a desktop: " + op + L" " + target);
        return result(SE_ERR_ACCESSDENIED);
    }
    // Double fork: the opener runs detached and leaves no zombie behind.
    pid_t child = fork();
    if (child < 0) return result(SE_ERR_OOM);
    if (child == 0) {
        setsid();
        pid_t grandchild = fork();
        if (grandchild == 0) {
            execlp("xdg-open", "xdg-open", hostTarget.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        _exit(grandchild < 0 ? 1 : 0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return result(SE_ERR_OOM);
    return result(42);
}
