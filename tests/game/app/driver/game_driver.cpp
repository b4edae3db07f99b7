// The game's entry point driven by a script, for the end-to-end tests: a fresh process runs
// WinMain as the game does, and SDL events are pushed into its queue at chosen frames, as a
// player's window system would send them.
//
//     game_driver SCRIPT [game switches...]
//
// SCRIPT has one step a line, "<frame> <action> [argument]" (frames counted by the engine's
// render signal; lines starting with # are skipped):
//     click WINDOW     pointer to the middle of the window (any level of the GUI), press, release
//     key NAME         press and release a key: F7, GRAVE, RETURN, ESCAPE, SPACE
//     type TEXT        the text's keys on the German layout (capitals with shift, "_" as shift -)
//     menu NAME        expects NAME to be the active menu (logged; a miss fails the run)
//     focus on|off     the window gains or loses the focus
//     close            the window's close button
// and the step "0 close-while-loading": the window is closed as soon as the device exists, so
// the game is told to quit while it loads. A run that has not ended by frame kLastFrame is ended
// with code 99; a missed expectation makes the exit code 98 (the log says which).
#include <SDL.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/core/Logger.h"
#include "engine/core/engine/OrvexEngine.h"
#include "engine/gui/GUIMenuManagerN.h"
#include "engine/gui/GUIMenuN.h"
#include "engine/gui/GUIWindow.h"
#include "engine/platform/AppWindow.h"
#include "engine/platform/D3DInterface.h"
#include "game/app/SolitaireGame2.h"
#include "game/app/WinMain.h"
#include "port/win32/win32_sdl.h"
#include "port/win32/win32_text.h"
#include "port/win32/winuser.h"

namespace {

constexpr int kLastFrame = 3000;
constexpr int kMissedExpectation = 98;
constexpr int kTimedOut = 99;

struct Step {
    int frame = 0;
    std::string action;
    std::string argument;
};

Uint32 windowId() {
    SDL_Window* window = port::win32::sdlWindow(Orvex::OrvexEngine::getInstance()->getWindow()->getHWND());
    return window ? SDL_GetWindowID(window) : 0;
}

void push(SDL_Event e) { SDL_PushEvent(&e); }

void pushKey(SDL_Scancode code, bool down) {
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.windowID = windowId();
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.scancode = code;
    e.key.keysym.sym = SDL_GetKeyFromScancode(code);
    push(e);
}

void tap(SDL_Scancode code, bool shift = false) {
    if (shift) pushKey(SDL_SCANCODE_LSHIFT, true);
    pushKey(code, true);
    pushKey(code, false);
    if (shift) pushKey(SDL_SCANCODE_LSHIFT, false);
}

void pushWindowEvent(Uint8 event) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = windowId();
    e.window.event = event;
    push(e);
}

void pushButton(int x, int y, bool down) {
    SDL_Event e{};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.windowID = windowId();
    e.button.button = SDL_BUTTON_LEFT;
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.button.clicks = 1;
    e.button.x = x;
    e.button.y = y;
    push(e);
}

void pushMotion(int x, int y) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.windowID = windowId();
    e.motion.x = x;
    e.motion.y = y;
    push(e);
}

// One of the script's keys.
SDL_Scancode keyOf(std::string const& name) {
    if (name == "F7") return SDL_SCANCODE_F7;
    if (name == "GRAVE") return SDL_SCANCODE_GRAVE;
    if (name == "RETURN") return SDL_SCANCODE_RETURN;
    if (name == "ESCAPE") return SDL_SCANCODE_ESCAPE;
    if (name == "SPACE") return SDL_SCANCODE_SPACE;
    return SDL_SCANCODE_UNKNOWN;
}

class Script : public sigslot::has_slots<sigslot::single_threaded> {
public:
    explicit Script(std::vector<Step> steps) : steps_(std::move(steps)) {}

    void onFrame() {
        ++frame_;
        for (Step const& step : steps_)
            if (step.frame == frame_) run(step);
        if (frame_ == kLastFrame) {
            Orvex::logError(L"driver: the run did not end by frame " + std::to_wstring(kLastFrame));
            timedOut = true;
            Orvex::OrvexEngine::getInstance()->requestExit(kTimedOut);
        }
    }

    void onDeviceCreated() {
        for (Step const& step : steps_)
            if (step.action == "close-while-loading") pushWindowEvent(SDL_WINDOWEVENT_CLOSE);
    }

    bool missed = false;
    bool timedOut = false;

private:
    void run(Step const& step) {
        std::wstring const argument = port::fromUtf8(step.argument);
        Orvex::logPlain(L"driver: frame " + std::to_wstring(frame_) + L" " + port::fromUtf8(step.action) + L" " + argument);
        if (step.action == "click") {
            Orvex::GUIWindow* window = Solitaire::SolitaireGame2::findWindow(argument);
            if (!window) return expected(L"window " + argument);
            Orvex::FRect const r = window->getScreenRect();
            int const x = static_cast<int>((r.left + r.right) / 2);
            int const y = static_cast<int>((r.top + r.bottom) / 2);
            pushMotion(x, y);
            pushButton(x, y, true);
            pushButton(x, y, false);
        } else if (step.action == "key") {
            tap(keyOf(step.argument));
        } else if (step.action == "type") {
            for (char c : step.argument) {
                if (c >= 'a' && c <= 'z') tap(SDL_Scancode(SDL_SCANCODE_A + (c - 'a')));
                else if (c >= 'A' && c <= 'Z') tap(SDL_Scancode(SDL_SCANCODE_A + (c - 'A')), true);
                else if (c == '_') tap(SDL_SCANCODE_SLASH, true);
                else if (c == ' ') tap(SDL_SCANCODE_SPACE);
            }
        } else if (step.action == "menu") {
            Orvex::GUIMenuN* active = Orvex::GUIMenuManagerN::instance().getActiveMenu();
            std::wstring const name = active ? active->getName() : L"(none)";
            Orvex::logPlain(L"driver: active menu " + name);
            if (name != argument) expected(L"menu " + argument);
        } else if (step.action == "focus") {
            pushWindowEvent(step.argument == "off" ? SDL_WINDOWEVENT_FOCUS_LOST : SDL_WINDOWEVENT_FOCUS_GAINED);
        } else if (step.action == "close") {
            pushWindowEvent(SDL_WINDOWEVENT_CLOSE);
        }
    }

    void expected(std::wstring const& what) {
        Orvex::logError(L"driver: expected " + what);
        missed = true;
    }

    std::vector<Step> steps_;
    int frame_ = 0;
};

std::vector<Step> readScript(char const* path) {
    std::vector<Step> steps;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        Step step;
        words >> step.frame >> step.action;
        std::getline(words >> std::ws, step.argument);
        steps.push_back(step);
    }
    return steps;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: game_driver SCRIPT [game switches...]\n");
        return 2;
    }
    Script script(readScript(argv[1]));
    Orvex::OrvexEngine* engine = Orvex::OrvexEngine::getInstance();
    engine->renderSignal.connect(&script, &Script::onFrame);
    Orvex::D3DInterface::getInstance().signalDeviceCreated.connect(&script, &Script::onDeviceCreated);
    std::string line = Solitaire::joinCommandLine(argc, argv, 2);
    int const code = WinMain(nullptr, nullptr, line.data(), SW_SHOWDEFAULT);
    if (script.timedOut) return kTimedOut;
    return script.missed ? kMissedExpectation : code;
}
