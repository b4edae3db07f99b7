// The game's entry point driven by a script, for the end-to-end tests: a fresh process runs
// WinMain as the game does, and SDL events are pushed into its queue at chosen frames, as a
// player's window system would send them.
//
//     game_driver SCRIPT [game switches...]
//
// SCRIPT has one step a line, "<frame> <action> [argument]" (lines starting with # are skipped).
// A frame is a sixtieth of a second of game time counted from the first drawn frame (a frame at
// the game's 60 frames a second); a step runs at the first drawn frame at or after its time.
// Steps run in order; a frame written "+N" is N sixtieths after the step before ended:
//     click WINDOW       pointer to the middle of the window (any level of the GUI), press, release;
//                        a window whose middle lies off the screen is a missed expectation
//     clickat WINDOW X Y the same at X, Y (fractions of the window's width and height)
//     key NAME           press and release a key: F7, GRAVE, RETURN, ESCAPE, SPACE
//     type TEXT          the text's keys on the German layout (capitals with shift, "_" as shift -)
//     menu NAME          expects NAME to be the active menu (logged; a miss fails the run)
//     await NAME         waits until NAME is the active menu (a miss after kAwaitFrames fails)
//     label WINDOW TEXT  expects the window's label to read TEXT; without TEXT, not to be empty
//     drag CARD PILE     the pointer to the card's middle and rested there until the card's
//                        tooltip shows (at most kRestFrames), as a person does; the card pressed
//                        and carried over kDragFrames drawn frames to the middle of the pile (its
//                        "NAME"), let go kSettleFrames later; after every frame of the carry the
//                        pointer must lie on the card (a miss fails the run)
//     dblclick CARD      the same rest on the card, then two presses and releases
// The next step waits for a card action to end; "+N" counts from its last event.
//     focus on|off       the window gains or loses the focus
//     keep-window-size   from now on the window keeps its size when the game asks for another,
//                        as on a display without a window manager; the picture is stretched
//                        over it, and clicks go where the picture shows their window
//     close              the window's close button
//     kill               the process killed at once (SIGKILL), as by a crash or a power cut: nothing
//                        after it runs, no save at the game's end
//     wait-for PATH      the game stands still (no frame, no game time) until the file PATH is
//                        there: another process's cue (the test that runs two games at once)
// A CARD is written as the rule words of suit and value joined by "_": HERZ_ASS, HERZ_10,
// HERZ_KÖNIG. Card and pile are found through the card manager's camera as the game picks them;
// only the events are the player's.
// The step "0 close-while-loading": the window is closed as soon as the device exists, so the
// game is told to quit while it loads. A run that has not ended by frame kLastFrame is ended
// with code 99; a missed expectation makes the exit code 98 (the log says which).
//
// Time: the game runs on a clock of its own that moves only when the main loop sleeps (the
// engine's replaceable loop clock; the input and the card manager read it too). The game updates
// and draws kStepsPerSecond times a second of that time, as on a slow machine, and four times a
// second while the picture stands still, however long a frame takes to draw: the run costs the
// frames' work and no waiting, and a busy machine plays the same game as an idle one.
#include <SDL.h>

#include <csignal>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "engine/core/Logger.h"
#include "engine/core/Types.h"
#include "engine/core/engine/OrvexEngine.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIMenuManagerN.h"
#include "engine/gui/GUIMenuN.h"
#include "engine/gui/GUITooltip.h"
#include "engine/gui/GUIWindow.h"
#include "engine/platform/AppWindow.h"
#include "engine/platform/D3DInterface.h"
#include "engine/platform/DirectInputInterface.h"
#include "game/app/ScreenWindows.h"
#include "game/app/SolitaireGame2.h"
#include "game/app/WinMain.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "game/cards/Picking.h"
#include "port/win32/kernel.h"
#include "port/win32/win32_picture.h"
#include "port/win32/win32_sdl.h"
#include "port/win32/win32_text.h"
#include "port/win32/winuser.h"

namespace {

constexpr int kFramesPerSecond = 60;
// The game's steps: updates and drawn frames a second of game time, as on a slow machine. The
// pictures cost the run's time (the software renderer); the game's updates follow the step.
constexpr double kStepsPerSecond = 20.0;
constexpr int kLastFrame = 12000;
constexpr int kAwaitFrames = 900;
constexpr int kDragFrames = 8;
constexpr int kSettleFrames = 20;
// The longest rest before a press on a card (in sixtieths of a second): the card's tooltip shows
// after the hover pass (0.1 s) and the tooltip's delay (1 s).
constexpr int kRestFrames = 90;
constexpr int kMissedExpectation = 98;
constexpr int kTimedOut = 99;
// How often "wait-for" looks for its file.
constexpr Uint32 kWaitPollMs = 20;

struct Step {
    int frame = 0;
    bool relative = false;
    std::string action;
    std::string argument;
};

Uint32 windowId() {
    SDL_Window* window = port::win32::sdlWindow(Orvex::OrvexEngine::getInstance()->getWindow()->getHWND());
    return window ? SDL_GetWindowID(window) : 0;
}

struct Point {
    int x = 0, y = 0;
};

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

// Where the window shows a point of the picture (the back buffer's pixels, which the GUI's and
// the cards' rectangles are in): a player clicks what is drawn.
Point shownAt(float x, float y) {
    port::win32::PictureTransform picture;
    if (port::win32::windowPicture(Orvex::OrvexEngine::getInstance()->getWindow()->getHWND(), picture))
        picture.toClient(x, y);
    return {static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y))};
}

// True when a point of the picture is shown inside the window and the window's place there lies
// on the desktop: what a player can reach with the pointer.
bool onScreen(int x, int y) {
    Orvex::D3DInterface const& d3d = Orvex::D3DInterface::getInstance();
    if (x < 0 || y < 0 || x >= static_cast<int>(d3d.getWidth()) || y >= static_cast<int>(d3d.getHeight())) return false;
    HWND const window = Orvex::OrvexEngine::getInstance()->getWindow()->getHWND();
    Point const shown = shownAt(static_cast<float>(x), static_cast<float>(y));
    RECT client{};
    if (!GetClientRect(window, &client) || shown.x < 0 || shown.y < 0 || shown.x >= client.right ||
        shown.y >= client.bottom)
        return false;
    POINT place{shown.x, shown.y};
    ClientToScreen(window, &place);
    int desktopWidth = 0, desktopHeight = 0;
    port::win32::desktopSize(desktopWidth, desktopHeight);
    return place.x >= 0 && place.y >= 0 && place.x < desktopWidth && place.y < desktopHeight;
}

// The pointer's events at a point of the picture.
void pushButton(int x, int y, bool down) {
    Point const shown = shownAt(static_cast<float>(x), static_cast<float>(y));
    SDL_Event e{};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.windowID = windowId();
    e.button.button = SDL_BUTTON_LEFT;
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.button.clicks = 1;
    e.button.x = shown.x;
    e.button.y = shown.y;
    push(e);
}

void pushMotion(int x, int y) {
    Point const shown = shownAt(static_cast<float>(x), static_cast<float>(y));
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.windowID = windowId();
    e.motion.x = shown.x;
    e.motion.y = shown.y;
    push(e);
}

void pushClick(int x, int y) {
    pushMotion(x, y);
    pushButton(x, y, true);
    pushButton(x, y, false);
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

Point middle(Orvex::FRect const& r) {
    return {static_cast<int>((r.left + r.right) / 2), static_cast<int>((r.top + r.bottom) / 2)};
}

// The card of that script name ("HERZ_KÖNIG") on the table, or null. The table's view is the
// table window's rectangle, so a point of the view is a point of the window.
Solitaire::Karte const* findCard(std::wstring name) {
    for (wchar_t& c : name)
        if (c == L'_') c = L' ';
    for (Solitaire::Karte const* card : Solitaire::Kartenmanager::instance().cards)
        if (Solitaire::cardName(card->getSuit(), card->getValue()) == name) return card;
    return nullptr;
}

// The game's clock: seconds that move on only by the main loop's sleeps. It starts at the
// machine's tick count, so the tick readings (a deal's seed among them) look like a real start.
class GameClock {
public:
    GameClock() : seconds_(static_cast<double>(GetTickCount()) / 1000.0) {}
    void install() {
        Orvex::OrvexEngine::getInstance()->setLoopClock([this] { return seconds_; },
                                                       [this](Orvex::u32 ms) { seconds_ += ms / 1000.0; });
        Orvex::DirectInputInterface::getInstance().setClock([this] { return ticks(); });
        Solitaire::Kartenmanager::instance().setClock([this] { return ticks(); });
    }

    double seconds() const { return seconds_; }

private:
    Orvex::u32 ticks() const { return static_cast<Orvex::u32>(static_cast<unsigned long long>(seconds_ * 1000.0)); }
    double seconds_;
};

class Script : public sigslot::has_slots<sigslot::single_threaded> {
public:
    Script(std::vector<Step> steps, GameClock const& clock) : steps_(std::move(steps)), clock_(clock) {}

    void onFrame() {
        if (drawn_++ == 0) {
            firstFrameAt_ = clock_.seconds();
            Orvex::OrvexEngine* engine = Orvex::OrvexEngine::getInstance();
            engine->setUpdateInterval(1.0 / kStepsPerSecond);
            engine->setRenderInterval(1.0 / kStepsPerSecond);
        }
        frame_ = 1 + static_cast<int>(std::lround((clock_.seconds() - firstFrameAt_) * kFramesPerSecond));
        checkCarriedCard();
        // A card action in progress holds the script: its rest lasts as long as the tooltip takes.
        if (acting_ && acting_()) acting_ = nullptr;
        while (!acting_ && next_ < steps_.size() && frame_ >= due(steps_[next_])) {
            if (!run(steps_[next_])) break;
            ++next_;
        }
        if (frame_ >= kLastFrame && !timedOut) {
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
    int due(Step const& step) const { return step.relative ? ended_ + step.frame : step.frame; }

    // Runs the step; false while an "await" still waits.
    bool run(Step const& step) {
        std::wstring const argument = port::fromUtf8(step.argument);
        if (step.action == "await") {
            if (activeMenu() != argument && frame_ < due(step) + kAwaitFrames) return false;
        }
        Orvex::logPlain(L"driver: frame " + std::to_wstring(frame_) + L" (drawn " + std::to_wstring(drawn_) + L") " +
                        port::fromUtf8(step.action) + L" " + argument);
        ended_ = frame_;
        if (step.action == "click" || step.action == "clickat") {
            std::wistringstream words(argument);
            std::wstring name;
            float fx = 0.5f, fy = 0.5f;
            words >> name;
            if (step.action == "clickat") words >> fx >> fy;
            Orvex::GUIWindow* window = Solitaire::SolitaireGame2::findWindow(name);
            if (!window) return expected(L"window " + name);
            Orvex::FRect const r = window->getScreenRect();
            int const x = static_cast<int>(r.left + (r.right - r.left) * fx);
            int const y = static_cast<int>(r.top + (r.bottom - r.top) * fy);
            // A player cannot click what lies off the picture, off the window or off the desktop.
            if (!onScreen(x, y)) return expected(L"window " + name + L" on the screen");
            pushClick(x, y);
        } else if (step.action == "key") {
            tap(keyOf(step.argument));
        } else if (step.action == "type") {
            for (char c : step.argument) {
                if (c >= 'a' && c <= 'z') tap(SDL_Scancode(SDL_SCANCODE_A + (c - 'a')));
                else if (c >= 'A' && c <= 'Z') tap(SDL_Scancode(SDL_SCANCODE_A + (c - 'A')), true);
                else if (c == '_') tap(SDL_SCANCODE_SLASH, true);
                else if (c == ' ') tap(SDL_SCANCODE_SPACE);
            }
        } else if (step.action == "menu" || step.action == "await") {
            std::wstring const name = activeMenu();
            Orvex::logPlain(L"driver: active menu " + name);
            if (name != argument) expected(L"menu " + argument);
        } else if (step.action == "label") {
            std::wstring const name = argument.substr(0, argument.find(L' '));
            std::wstring const text = name.size() < argument.size() ? argument.substr(name.size() + 1) : L"";
            Orvex::GUILabel* label = Solitaire::labelOf(Solitaire::SolitaireGame2::findWindow(name));
            if (!label) return expected(L"label " + name);
            Orvex::logPlain(L"driver: label " + name + L" reads \"" + label->getText() + L"\"");
            if (text.empty() ? label->getText().empty() : label->getText() != text)
                expected(L"label " + name + L" " + (text.empty() ? L"not empty" : text));
        } else if (step.action == "drag") {
            drag(argument);
        } else if (step.action == "dblclick") {
            Solitaire::Karte const* card = findCard(argument);
            if (!card) return expected(L"card " + argument);
            restOn(*card, [this, card] {
                // Where the card lies when the rest ends.
                Solitaire::SolitaireCamera const* camera = Solitaire::Kartenmanager::instance().getCamera();
                Point const p = middle(Solitaire::computeScreenRect(*card, camera));
                pushMotion(p.x, p.y);
                pushButton(p.x, p.y, true);
                pushButton(p.x, p.y, false);
                pushButton(p.x, p.y, true);
                pushButton(p.x, p.y, false);
                ended_ = frame_;
                return true;
            });
        } else if (step.action == "keep-window-size") {
            port::win32::keepWindowSizes(true);
        } else if (step.action == "focus") {
            pushWindowEvent(step.argument == "off" ? SDL_WINDOWEVENT_FOCUS_LOST : SDL_WINDOWEVENT_FOCUS_GAINED);
        } else if (step.action == "close") {
            pushWindowEvent(SDL_WINDOWEVENT_CLOSE);
        } else if (step.action == "kill") {
            raise(SIGKILL);
        } else if (step.action == "wait-for") {
            std::error_code missing;
            while (!std::filesystem::exists(step.argument, missing)) SDL_Delay(kWaitPollMs);
        }
        return true;
    }

    // Press at the card, motion in kDragFrames drawn frames, release kSettleFrames sixtieths of a
    // second later (the held card follows the pointer at the style's speed); the next step counts
    // from the release.
    void drag(std::wstring const& argument) {
        std::wstring const cardName = argument.substr(0, argument.find(L' '));
        std::wstring const pileName = cardName.size() < argument.size() ? argument.substr(cardName.size() + 1) : L"";
        Solitaire::Kartenmanager const& cards = Solitaire::Kartenmanager::instance();
        Solitaire::Karte const* card = findCard(cardName);
        Solitaire::Kartenstapel const* pile = cards.findPile(pileName);
        if (!card || !pile) {
            expected(L"card and pile " + argument);
            return;
        }
        // Where the card and the pile lie when the rest ends: the table may still have moved.
        restOn(*card, [this, card, cardName, pile, carry = 0, carried = 0]() mutable {
            Solitaire::SolitaireCamera const* camera = Solitaire::Kartenmanager::instance().getCamera();
            if (carry == 0) {
                dragFrom_ = middle(Solitaire::computeScreenRect(*card, camera));
                dragTo_ = middle(Solitaire::computeScreenRect(*pile, camera));
                pushMotion(dragFrom_.x, dragFrom_.y);
                pushButton(dragFrom_.x, dragFrom_.y, true);
                carried_ = card;
                carriedName_ = cardName;
                carriedSeen_ = false;
            } else if (carry <= kDragFrames) {
                // One motion a frame.
                Point const& a = dragFrom_;
                Point const& b = dragTo_;
                pushMotion(a.x + (b.x - a.x) * carry / kDragFrames, a.y + (b.y - a.y) * carry / kDragFrames);
                carried = frame_;
            } else if (frame_ >= carried + kSettleFrames) {
                if (!carriedSeen_) expected(L"card " + carriedName_ + L" picked up by the press");
                carried_ = nullptr;
                pushButton(dragTo_.x, dragTo_.y, false);
                ended_ = frame_;
                return true;
            }
            ++carry;
            return false;
        });
    }

    // The pointer to the card's middle, left there until the card's tooltip shows (at most
    // kRestFrames; a campaign level shows none), then act runs once a frame until it is done.
    void restOn(Solitaire::Karte const& card, std::function<bool()> act) {
        Point const p = middle(Solitaire::computeScreenRect(card, Solitaire::Kartenmanager::instance().getCamera()));
        pushMotion(p.x, p.y);
        int const start = frame_;
        int const startDrawn = drawn_;
        acting_ = [this, start, startDrawn, rested = false, act = std::move(act)]() mutable {
            if (!rested) {
                // The motion is taken in the next frame; a tooltip shown before is the last one's.
                bool const shown = drawn_ > startDrawn + 2 && tooltipShown();
                if (!shown && frame_ < start + kRestFrames) return false;
                logTooltip();
                rested = true;
            }
            return act();
        };
    }

    // While a card is carried: the pointer, where the game saw it last, lies on the card as
    // drawn (the table's view is the window).
    void checkCarriedCard() {
        if (!carried_) return;
        Solitaire::Kartenmanager const& cards = Solitaire::Kartenmanager::instance();
        if (cards.getHeldCard() != carried_) return;
        carriedSeen_ = true;
        Orvex::DirectInputInterface const& input = Orvex::DirectInputInterface::getInstance();
        Orvex::FRect const r = Solitaire::computeScreenRect(*carried_, cards.getCamera());
        bool const inX = input.mouseX >= r.left && input.mouseX <= r.right;
        if (inX && input.mouseY >= r.top && input.mouseY <= r.bottom) return;
        auto n = [](float v) { return std::to_wstring(static_cast<int>(v)); };
        expected(L"the pointer (" + n(input.mouseX) + L", " + n(input.mouseY) + L") on the carried card " +
                 carriedName_ + L" at (" + n(r.left) + L", " + n(r.top) + L", " + n(r.right) + L", " + n(r.bottom) +
                 L") in frame " + std::to_wstring(frame_));
        carried_ = nullptr;
    }

    static Orvex::GUITooltip const* tooltip() {
        return dynamic_cast<Orvex::GUITooltip const*>(Solitaire::SolitaireGame2::findWindow(L"TOOLTIP"));
    }
    static bool tooltipShown() {
        Orvex::GUITooltip const* shown = tooltip();
        return shown && shown->isShown() && shown->getLabel();
    }
    // What the rest showed before a press: the tooltip's text, or that none showed.
    static void logTooltip() {
        std::wstring const text = tooltipShown() ? tooltip()->getLabel()->getText() : std::wstring(L"(none)");
        Orvex::logPlain(L"driver: tooltip " + text);
    }

    static std::wstring activeMenu() {
        Orvex::GUIMenuN* active = Orvex::GUIMenuManagerN::instance().getActiveMenu();
        return active ? active->getName() : L"(none)";
    }

    bool expected(std::wstring const& what) {
        Orvex::logError(L"driver: expected " + what);
        missed = true;
        return true;
    }

    std::vector<Step> steps_;
    GameClock const& clock_;
    std::size_t next_ = 0;
    int drawn_ = 0;               // frames drawn
    double firstFrameAt_ = 0.0;   // the clock at the first of them
    int frame_ = 0;               // sixtieths of a second since then, the first frame being 1
    int ended_ = 0;               // the frame the step before ended
    // The card action in progress (a rest, then its presses); true when done.
    std::function<bool()> acting_;
    // The card a drag carries (between its press and its release), and whether it was held;
    // where the carry starts and ends.
    Solitaire::Karte const* carried_ = nullptr;
    Point dragFrom_, dragTo_;
    std::wstring carriedName_;
    bool carriedSeen_ = false;
};

std::vector<Step> readScript(char const* path) {
    std::vector<Step> steps;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        Step step;
        step.relative = line[0] == '+';
        if (step.relative) words.get();
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
    GameClock clock;
    clock.install();
    Script script(readScript(argv[1]), clock);
    Orvex::OrvexEngine* engine = Orvex::OrvexEngine::getInstance();
    engine->renderSignal.connect(&script, &Script::onFrame);
    Orvex::D3DInterface::getInstance().signalDeviceCreated.connect(&script, &Script::onDeviceCreated);
    std::string line = Solitaire::joinCommandLine(argc, argv, 2);
    int const code = WinMain(nullptr, nullptr, line.data(), SW_SHOWDEFAULT);
    if (script.timedOut) return kTimedOut;
    return script.missed ? kMissedExpectation : code;
}
