// The input system: keyboard, mouse and joysticks turned into key, mouse and joystick signals
// once per poll (update), keyboard first, then the mouse, then each joystick.
//
// Two paths: DirectInput devices for keyboard and mouse, or, with "USE_WINAPI", the window's
// messages (WM_KEYDOWN/UP, WM_CHAR, mouse buttons, double clicks, movement, wheel), which the
// window procedure re-emits on AppWindow::signalMessage and which are queued here until the next
// poll. Joysticks always come through DirectInput. Key codes are DirectInput codes (DIK_*).
// Holding a key repeats its key-pressed signal after the repeat delay, then at the repeat rate
// (at most one repeat per poll, so a stalled frame does not release a burst). Mouse positions
// are in window client pixels, which are the back buffer's pixels since the window is placed at
// the display mode's size. On the window-message path a key press carries the character the
// system's keyboard layout typed with it (KeyState::getTypedChar), which text fields type.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "engine/core/Types.h"
#include "engine/platform/InputState.h"
#include "port/win32/windows.h"
#include "signals/sigslot.h"

struct IDirectInput8W;
struct IDirectInputDevice8W;

namespace Orvex {

class XMLNode;

// The "DINPUTINITPARAMS" section of config.cfg.
struct DirectInputInitParams {
    // Poll intervals and repeat times beyond this are taken for damaged data.
    static constexpr s32 kMaxIntervalMs = 10000;

    bool bufferedKeyboard = true;   // "BUFFERED_KEYBOARD": DirectInput keyboard reads events
    bool bufferedMouse = true;      // "BUFFERED_MOUSE"
    s32 maxPollRateMouse = 0;       // "MAX_POLL_RATE_MOUSE": least ms between two mouse polls
    s32 maxPollRateKeyboard = 0;    // "MAX_POLL_RATE_KEYBOARD"
    s32 keyRepeatDelay = 500;       // "KEY_REPEAT_RATE" first value, ms (0: no repeat)
    s32 keyRepeatRate = 100;        // "KEY_REPEAT_RATE" second value, ms (0: no repeat)
    u8 useWinApi = 0;               // "USE_WINAPI": keyboard and mouse from window messages
    u8 useWinApiCapture = 0;        // "USE_WINAPI_CAPTURE_B_MD_MU": capture the mouse while a
                                    // button is held (button down .. last button up)
    u8 scanDoubleClicks = 0;        // "SCAN_DBL_CLICKS": detect double clicks from press times

    // Reads the keys present in the section (missing keys keep their values, numbers out of
    // 0..kMaxIntervalMs too, with a log line).
    void readConfig(XMLNode const& section);
    // Adds the keys to the section: attributes, and "KEY_REPEAT_RATE" as a child with two values.
    void writeConfig(XMLNode& section) const;
};

class DirectInputInterface : public sigslot::has_slots<> {
public:
    static DirectInputInterface& getInstance();
    static DirectInputInterface& instance() { return getInstance(); }

    DirectInputInitParams& getInitParams() { return params_; }
    DirectInputInitParams const& getInitParams() const { return params_; }

    // Opens the input for the window with the current init parameters: DirectInput keyboard and
    // mouse, or the window-message path (connected to AppWindow's message signal); joysticks
    // through DirectInput in both cases. False, with a log line, when the keyboard or mouse
    // cannot be opened. A missing joystick is no failure.
    bool init(HWND window);
    void shutdown();
    bool isInitialised() const { return initialised_; }
    HWND getWindow() const { return window_; }

    // The per-frame poll: keyboard, key repeat, mouse, then each joystick.
    void update();

    // Window-message path: queues one message (AppWindow::signalMessage is connected here).
    void onWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // The mouse position in window pixels and the mouse state.
    float mouseX = 0.0f;
    float mouseY = 0.0f;
    MouseState& getMouseState() { return mouse_; }
    KeyState& getKeyState() { return keys_; }
    // Characters typed (WM_CHAR) since the last poll began; kept until the next poll.
    std::wstring const& getTypedText() const { return typedText_; }

    // Puts the mouse position (and the system pointer) at the window centre.
    void centerMouse();
    // True while the system pointer is inside the window's client area.
    bool isMouseInClient() const;

    // The joystick states (one per opened joystick).
    std::size_t getJoystickCount() const { return joysticks_.size(); }

    // The clock used for key repeat, double clicks and poll rates (ms); empty restores
    // GetTickCount. Tests drive time with it.
    void setClock(std::function<u32()> clock);
    u32 now() const;

    // Key signals: the DIK code of the key. Pressed comes with each press and each repeat (the
    // state tells which); down only with the first press; released when the key goes up.
    sigslot::signal2<KeyState&, unsigned char const&> keyPressedSignal;
    sigslot::signal2<KeyState&, unsigned char const&> keyDownSignal;
    sigslot::signal2<KeyState&, unsigned char const&> keyReleasedSignal;
    // Mouse signals, once per press, release and double click.
    sigslot::signal2<MouseState&, OrvexMouseButton const&> mouseButtonDownSignal;
    sigslot::signal2<MouseState&, OrvexMouseButton const&> mouseButtonUpSignal;
    sigslot::signal2<MouseState&, OrvexMouseButton const&> mouseDoubleClickSignal;
    // Movement (OA_MOUSE_X, OA_MOUSE_Y, each when it changed) and wheel (OA_MOUSE_Z_POS away from
    // the user, OA_MOUSE_Z_NEG towards).
    sigslot::signal2<MouseState&, OrvexAchse const&> mouseAxisSignal;
    // Joystick signals: button number, or the axis that moved.
    sigslot::signal2<JoystickState&, int const&> joystickButtonDownSignal;
    sigslot::signal2<JoystickState&, int const&> joystickButtonUpSignal;
    sigslot::signal2<JoystickState&, OrvexAchse const&> joystickAxisSignal;

    DirectInputInterface(DirectInputInterface const&) = delete;
    DirectInputInterface& operator=(DirectInputInterface const&) = delete;

private:
    DirectInputInterface() = default;
    ~DirectInputInterface() override;

    struct KeyEvent {
        u8 code;
        bool down;
        bool releaseAll;  // focus lost: every held key goes up
        wchar_t typed;  // the character the system typed with a press (WM_CHAR after it), or 0
    };
    struct MouseEvent {
        enum Kind { Move, Button, DoubleClick, Wheel } kind;
        int button = 0;
        bool down = false;
        bool absolute = false;  // x, y are a position (window messages), else a movement
        float x = 0.0f;
        float y = 0.0f;
        float wheel = 0.0f;
    };
    struct Joystick {
        IDirectInputDevice8W* device = nullptr;
        JoystickState state;
        bool havePrevious = false;
    };

    // Event processing shared by both paths (DirectInputInterface.cpp).
    void processKey(KeyEvent const& event);
    void processKeyRepeat();
    void processMouse(MouseEvent const& event);
    // A press or release; doubleClick: the press is a double click's second press (the
    // double-click signal follows it), also found by the scan when scanDoubleClick is set.
    void emitButton(int button, bool down, bool scanDoubleClick = true, bool doubleClick = false);
    void releaseAll();
    bool pollDue(u32& last, s32 rate);

    // DirectInput devices (DirectInputInterface_devices.cpp).
    bool openDirectInput();
    bool openKeyboard();
    bool openMouse();
    void openJoysticks();
    void closeDevices();
    void readKeyboard(std::vector<KeyEvent>& out);
    void readMouse(std::vector<MouseEvent>& out);
    void pollJoysticks();
    void pollJoystick(Joystick& joystick);

    // Window messages (DirectInputInterface_messages.cpp).
    void queueMouseMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // A printable character of WM_CHAR goes with the key press queued before it, or comes as a
    // press of no key (code 0) when that press has one already or there is none.
    void queueTypedChar(wchar_t ch);

    DirectInputInitParams params_;
    bool initialised_ = false;
    HWND window_ = nullptr;
    std::function<u32()> clock_;

    KeyState keys_;
    MouseState mouse_;
    std::wstring typedText_;
    std::wstring pendingText_;

    // Whether WM_CHAR has brought a printable character since init: the system's layout types.
    bool systemText_ = false;

    // Key repeat of the last key pressed, and the character it typed.
    int repeatKey_ = -1;
    wchar_t repeatChar_ = 0;
    u32 repeatNext_ = 0;
    u32 repeatCount_ = 0;

    // Double-click scan: the last press.
    int lastPressButton_ = -1;
    u32 lastPressTime_ = 0;
    float lastPressX_ = 0.0f;
    float lastPressY_ = 0.0f;

    u32 lastKeyboardPoll_ = 0;
    u32 lastMousePoll_ = 0;
    bool polledOnce_ = false;

    // Window-message queues (bounded).
    std::deque<KeyEvent> keyQueue_;
    std::deque<MouseEvent> mouseQueue_;
    static constexpr std::size_t kMaxQueued = 4096;

    IDirectInput8W* directInput_ = nullptr;
    IDirectInputDevice8W* keyboard_ = nullptr;
    IDirectInputDevice8W* mouseDevice_ = nullptr;
    unsigned char keyboardSnapshot_[256] = {};
    unsigned char mouseButtonsSnapshot_[8] = {};
    std::vector<Joystick> joysticks_;
};

}  // namespace Orvex
