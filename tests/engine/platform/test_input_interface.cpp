// The input system on the window-message path: SDL events pushed into the queue travel through
// the window procedure and the input poll to the key and mouse signals, with DirectInput codes,
// key repeat driven by a test clock, the keyboard layout's characters and window-pixel positions,
// which are the picture's pixels where the back buffer has another size than the window.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "engine/core/XMLNode.h"
#include "engine/platform/AppWindow.h"
#include "engine/platform/DirectInputInterface.h"
#include "engine/platform/TastaturLayout.h"
#include "port/dinput/dinput_keys.h"
#include "port/win32/win32_sdl.h"
#include "tests/engine/platform/PlatformSupport.h"
#include "tests/support/SdlEvents.h"
#include "tests/support/gl/HeadlessDevice.h"
#include "tests/support/TestSupport.h"

using namespace Orvex;
using platformtest::pumpMessages;

namespace {

struct KeyRecord {
    char kind;  // 'P' pressed, 'D' down, 'R' released
    unsigned code;
    bool repeat;
    u32 repeatCount;
};

struct MouseRecord {
    char kind;  // 'D' down, 'U' up, '2' double click, 'A' axis
    int value;  // button or axis
    float x, y;
    float moveZ;
    bool doubleClickPress = false;  // the state's mark of a double click's second press
};

class Recorder : public sigslot::has_slots<> {
public:
    void connect(DirectInputInterface& input) {
        input.keyPressedSignal.connect(this, &Recorder::onPressed);
        input.keyDownSignal.connect(this, &Recorder::onDown);
        input.keyReleasedSignal.connect(this, &Recorder::onReleased);
        input.mouseButtonDownSignal.connect(this, &Recorder::onMouseDown);
        input.mouseButtonUpSignal.connect(this, &Recorder::onMouseUp);
        input.mouseDoubleClickSignal.connect(this, &Recorder::onDouble);
        input.mouseAxisSignal.connect(this, &Recorder::onAxis);
    }
    void onPressed(KeyState& s, unsigned char const& c) {
        keys.push_back({'P', c, s.isRepeat(), s.getRepeatCount()});
        if (edit && layout) layout->editText(*edit, c, s, false, false);
    }
    void onDown(KeyState& s, unsigned char const& c) { keys.push_back({'D', c, s.isRepeat(), 0}); }
    void onReleased(KeyState& s, unsigned char const& c) { keys.push_back({'R', c, s.isRepeat(), 0}); }
    void onMouseDown(MouseState& m, OrvexMouseButton const& b) {
        mouse.push_back({'D', b, m.x, m.y, 0, m.doubleClickPress});
    }
    void onMouseUp(MouseState& m, OrvexMouseButton const& b) { mouse.push_back({'U', b, m.x, m.y, 0, m.doubleClickPress}); }
    void onDouble(MouseState& m, OrvexMouseButton const& b) { mouse.push_back({'2', b, m.x, m.y, 0, m.doubleClickPress}); }
    // The presses and double clicks marked as a double click's second press, in order ("-D2-").
    std::string marks() const {
        std::string out;
        for (auto const& m : mouse)
            if (m.kind != 'A') out += m.doubleClickPress ? m.kind : '-';
        return out;
    }
    void onAxis(MouseState& m, OrvexAchse const& a) { mouse.push_back({'A', a, m.x, m.y, m.moveZ}); }

    int count(char kind) const {
        return int(std::count_if(keys.begin(), keys.end(), [kind](KeyRecord const& k) { return k.kind == kind; }));
    }
    std::vector<std::pair<char, unsigned>> keyCodes() const {
        std::vector<std::pair<char, unsigned>> out;
        for (auto const& k : keys) out.push_back({k.kind, k.code});
        return out;
    }
    std::string buttonKinds() const {
        std::string kinds;
        for (auto const& m : mouse)
            if (m.kind != 'A') kinds += m.kind;
        return kinds;
    }

    std::vector<KeyRecord> keys;
    std::vector<MouseRecord> mouse;
    TextEditState* edit = nullptr;
    TastaturLayout const* layout = nullptr;
};

class InputInterfaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(AppWindow::getInstance().create(L"Input", 640, 480, true));
        hwnd_ = AppWindow::getInstance().getHWND();
        windowId_ = SDL_GetWindowID(port::win32::sdlWindow(hwnd_));
        pumpMessages();
        DirectInputInterface& in = input();
        in.getInitParams() = DirectInputInitParams{};
        in.getInitParams().useWinApi = 1;
        in.setClock([this] { return clock_; });
        ASSERT_TRUE(in.init(hwnd_));
        in.update();
        recorder_.connect(in);
    }
    void TearDown() override {
        input().shutdown();
        input().setClock(nullptr);
        AppWindow::getInstance().destroy();
        pumpMessages();
    }
    static DirectInputInterface& input() { return DirectInputInterface::getInstance(); }

    // Runs the message pump (taking the pushed SDL events) and one input poll.
    void poll() {
        pumpMessages();
        input().update();
    }
    void key(SDL_Scancode code, bool down) {
        testsupport::pushKey(windowId_, code, down, SDL_GetKeyFromScancode(code));
    }
    void text(char const* utf8) { testsupport::pushText(windowId_, utf8); }
    void motion(int x, int y) { testsupport::pushMotion(windowId_, x, y); }
    void button(Uint8 which, bool down, int x, int y) { testsupport::pushButton(windowId_, which, down, x, y); }
    void wheel(int notches) { testsupport::pushWheel(windowId_, notches); }

    HWND hwnd_ = nullptr;
    Uint32 windowId_ = 0;
    u32 clock_ = 100000;
    Recorder recorder_;
};

}  // namespace

TEST_F(InputInterfaceTest, KeyPressesArriveWithDirectInputCodes) {
    key(SDL_SCANCODE_A, true);
    poll();
    EXPECT_EQ(recorder_.keyCodes(), (std::vector<std::pair<char, unsigned>>{{'P', DIK_A}, {'D', DIK_A}}));
    EXPECT_FALSE(recorder_.keys[0].repeat);
    EXPECT_TRUE(input().getKeyState().isKeyDown(DIK_A));

    key(SDL_SCANCODE_A, false);
    key(SDL_SCANCODE_RIGHT, true);  // an extended key: the code has 0x80 set
    key(SDL_SCANCODE_RIGHT, false);
    key(SDL_SCANCODE_RETURN, true);
    poll();
    std::vector<std::pair<char, unsigned>> want = {{'P', DIK_A},     {'D', DIK_A},      {'R', DIK_A},
                                                   {'P', DIK_RIGHT}, {'D', DIK_RIGHT},  {'R', DIK_RIGHT},
                                                   {'P', DIK_RETURN}, {'D', DIK_RETURN}};
    EXPECT_EQ(recorder_.keyCodes(), want);
    EXPECT_FALSE(input().getKeyState().isKeyDown(DIK_A));
}

TEST_F(InputInterfaceTest, HeldKeyRepeatsAfterTheDelayAtTheRate) {
    key(SDL_SCANCODE_BACKSPACE, true);
    poll();
    // Each poll after the clock advance: presses so far and the last repeat count (-1: not checked).
    // 500 ms delay, 100 ms rate; a stalled frame gives one repeat, not a burst, and the rate goes on.
    struct Step { u32 advance; int presses; int repeatCount; };
    Step const steps[] = {{499, 1, -1}, {1, 2, 1}, {99, 2, -1}, {1, 3, 2}, {5000, 4, -1}, {50, 4, -1}, {50, 5, -1}};
    for (Step const& step : steps) {
        clock_ += step.advance;
        poll();
        ASSERT_EQ(recorder_.count('P'), step.presses) << "after +" << step.advance;
        if (step.repeatCount >= 0) {
            EXPECT_TRUE(recorder_.keys.back().repeat);
            EXPECT_EQ(recorder_.keys.back().repeatCount, static_cast<u32>(step.repeatCount));
        }
    }
    EXPECT_EQ(recorder_.count('D'), 1) << "repeats are no new key downs";

    key(SDL_SCANCODE_BACKSPACE, false);
    poll();
    clock_ += 1000;
    poll();
    EXPECT_EQ(recorder_.count('P'), 5) << "a released key stops repeating";

    input().getInitParams().keyRepeatRate = 0;  // a zero rate neither repeats nor hangs
    key(SDL_SCANCODE_A, true);
    poll();
    clock_ += 10000;
    poll();
    poll();
    EXPECT_EQ(recorder_.count('P'), 6);
}

// A press whose handler takes longer than the repeat delay (a screenshot being saved) brings no
// repeat before its release is seen: the delay runs from when the press was handled.
TEST_F(InputInterfaceTest, SlowPressHandlerBringsNoRepeat) {
    struct Slow : sigslot::has_slots<> {
        u32* clock = nullptr;
        void onPressed(KeyState&, unsigned char const&) { *clock += 800; }
    } slow;
    slow.clock = &clock_;
    input().keyPressedSignal.connect(&slow, &Slow::onPressed);
    key(SDL_SCANCODE_F7, true);
    poll();
    EXPECT_EQ(recorder_.count('P'), 1);
    clock_ += 10;
    poll();
    EXPECT_EQ(recorder_.count('P'), 1);
    key(SDL_SCANCODE_F7, false);
    poll();
    clock_ += 1000;
    poll();
    EXPECT_EQ(recorder_.count('P'), 1);
    input().keyPressedSignal.disconnect(&slow);
}

TEST_F(InputInterfaceTest, LayoutCharactersReachEditText) {
    XMLNode layouts;
    ASSERT_TRUE(layouts.load(platformtest::winPath(testsupport::sourceDir() / "data" / "tastaturlayout.lay"), 1));
    TastaturLayoutManager::getInstance().load(layouts);
    TastaturLayout const* layout = TastaturLayoutManager::getInstance().getActiveLayout();
    ASSERT_NE(layout, nullptr);
    TextEditState edit(L"", L'|');
    recorder_.edit = &edit;
    recorder_.layout = layout;

    key(SDL_SCANCODE_LSHIFT, true);
    key(SDL_SCANCODE_A, true);
    key(SDL_SCANCODE_A, false);
    key(SDL_SCANCODE_LSHIFT, false);
    key(SDL_SCANCODE_A, true);
    key(SDL_SCANCODE_A, false);
    key(SDL_SCANCODE_1, true);
    key(SDL_SCANCODE_1, false);
    poll();
    EXPECT_EQ(edit.getWholeText(), L"Aa1");
    key(SDL_SCANCODE_BACKSPACE, true);
    poll();
    EXPECT_EQ(edit.getWholeText(), L"Aa");
    clock_ += 500;  // the held backspace repeats into the text as well
    poll();
    EXPECT_EQ(edit.getWholeText(), L"A");
    key(SDL_SCANCODE_BACKSPACE, false);
    poll();
    recorder_.edit = nullptr;

    text("h\xC3\xA4");  // typed characters are kept for one poll
    poll();
    EXPECT_EQ(input().getTypedText(), L"h\u00e4");
    poll();
    EXPECT_EQ(input().getTypedText(), L"");
}

TEST_F(InputInterfaceTest, MouseButtonsCarryWindowPixelPositions) {
    motion(100, 50);
    button(SDL_BUTTON_LEFT, true, 120, 60);
    poll();
    EXPECT_FLOAT_EQ(input().mouseX, 120.0f);
    EXPECT_FLOAT_EQ(input().mouseY, 60.0f);
    clock_ += 1000;
    button(SDL_BUTTON_LEFT, false, 130, 70);
    button(SDL_BUTTON_RIGHT, true, 130, 70);
    button(SDL_BUTTON_RIGHT, false, 130, 70);
    poll();
    std::vector<std::tuple<char, int, float, float>> presses;
    for (auto const& m : recorder_.mouse)
        if (m.kind != 'A') presses.emplace_back(m.kind, m.value, m.x, m.y);
    EXPECT_EQ(presses, (std::vector<std::tuple<char, int, float, float>>{
                           {'D', OMB_LEFT, 120.0f, 60.0f}, {'U', OMB_LEFT, 130.0f, 70.0f},
                           {'D', OMB_RIGHT, 130.0f, 70.0f}, {'U', OMB_RIGHT, 130.0f, 70.0f}}));
    EXPECT_FALSE(input().getMouseState().isButtonDown(0));
    // The first movement reports both axes.
    ASSERT_GE(recorder_.mouse.size(), 2u);
    EXPECT_EQ(recorder_.mouse[0].kind, 'A');
    EXPECT_EQ(recorder_.mouse[0].value, OA_MOUSE_X);
    EXPECT_FLOAT_EQ(recorder_.mouse[0].x, 100.0f);
}

TEST_F(InputInterfaceTest, QuickSecondPressIsADoubleClick) {
    button(SDL_BUTTON_LEFT, true, 200, 200);
    button(SDL_BUTTON_LEFT, false, 200, 200);
    button(SDL_BUTTON_LEFT, true, 201, 200);
    button(SDL_BUTTON_LEFT, false, 201, 200);
    poll();
    EXPECT_EQ(recorder_.buttonKinds(), "DUD2U") << "the second press is a press and a double click";
    EXPECT_EQ(recorder_.marks(), "--D2-") << "the press that the double click follows says so";
    EXPECT_FALSE(input().getMouseState().doubleClickPress);
    EXPECT_FLOAT_EQ(recorder_.mouse.back().x, 201.0f);
}

TEST_F(InputInterfaceTest, ScannedDoubleClicksFollowTheClock) {
    input().getInitParams().scanDoubleClicks = 1;
    // Posted presses: the window's own double-click detection does not see them, the scan does.
    auto press = [this](int x, int y) {
        PostMessageW(hwnd_, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(x, y));
        PostMessageW(hwnd_, WM_RBUTTONUP, 0, MAKELPARAM(x, y));
        poll();
    };
    auto doubles = [this] {
        std::string kinds = recorder_.buttonKinds();
        return std::count(kinds.begin(), kinds.end(), '2');
    };
    press(10, 10);
    clock_ += 100;
    press(300, 10);  // too far away
    EXPECT_EQ(doubles(), 0);
    clock_ += GetDoubleClickTime() + 1;
    press(301, 10);  // too late
    EXPECT_EQ(doubles(), 0);
    clock_ += 100;
    press(302, 11);
    EXPECT_EQ(doubles(), 1);
    std::string const marks = recorder_.marks();
    EXPECT_EQ(marks.substr(marks.size() - 3), "D2-") << "the scanned second press says so too";
    clock_ += 100;
    press(302, 11);  // a third press starts a new pair
    EXPECT_EQ(doubles(), 1);
    EXPECT_EQ(recorder_.mouse.back().kind, 'U');
}

TEST_F(InputInterfaceTest, WheelReportsItsDirection) {
    wheel(1);
    wheel(-2);
    poll();
    std::vector<MouseRecord> axes;
    for (auto const& m : recorder_.mouse)
        if (m.kind == 'A') axes.push_back(m);
    ASSERT_EQ(axes.size(), 2u);
    EXPECT_EQ(axes[0].value, OA_MOUSE_Z_POS);
    EXPECT_FLOAT_EQ(axes[0].moveZ, 120.0f);
    EXPECT_EQ(axes[1].value, OA_MOUSE_Z_NEG);
    EXPECT_FLOAT_EQ(axes[1].moveZ, -240.0f);
    EXPECT_FLOAT_EQ(input().getMouseState().wheel, -120.0f);
}

TEST_F(InputInterfaceTest, PollRateHoldsEventsBack) {
    input().getInitParams().maxPollRateKeyboard = 10;
    clock_ += 10;
    key(SDL_SCANCODE_A, true);
    poll();
    EXPECT_EQ(recorder_.count('P'), 1);
    key(SDL_SCANCODE_A, false);
    poll();  // same millisecond: the keyboard is not polled again yet
    EXPECT_EQ(recorder_.count('R'), 0);
    clock_ += 10;
    poll();
    EXPECT_EQ(recorder_.count('R'), 1);
}

TEST_F(InputInterfaceTest, LosingFocusReleasesHeldKeys) {
    key(SDL_SCANCODE_A, true);
    poll();
    SendMessageW(hwnd_, WM_KILLFOCUS, 0, 0);
    poll();
    EXPECT_EQ(recorder_.count('R'), 1);
    EXPECT_FALSE(input().getKeyState().isKeyDown(DIK_A));
    clock_ += 2000;
    poll();
    EXPECT_EQ(recorder_.count('P'), 1);
}

TEST_F(InputInterfaceTest, CenterMouseAndClientTest) {
    input().centerMouse();
    EXPECT_FLOAT_EQ(input().mouseX, 320.0f);
    EXPECT_FLOAT_EQ(input().mouseY, 240.0f);
    EXPECT_TRUE(input().isMouseInClient());
    POINT outside{0, 0};
    ClientToScreen(hwnd_, &outside);
    SetCursorPos(outside.x - 5, outside.y - 5);
    EXPECT_FALSE(input().isMouseInClient());
}

TEST_F(InputInterfaceTest, DirectInputPathReadsKeysAndButtons) {
    input().shutdown();
    input().getInitParams().useWinApi = 0;
    ASSERT_TRUE(input().init(hwnd_));
    key(SDL_SCANCODE_F7, true);
    key(SDL_SCANCODE_F7, false);
    button(SDL_BUTTON_LEFT, true, 50, 50);
    button(SDL_BUTTON_LEFT, false, 50, 50);
    poll();
    EXPECT_EQ(recorder_.keyCodes(), (std::vector<std::pair<char, unsigned>>{{'P', DIK_F7}, {'D', DIK_F7}, {'R', DIK_F7}}));
    EXPECT_EQ(recorder_.buttonKinds(), "DU");
}

// A back buffer of another size than the window (a window that kept its size after a mode change,
// or was resized): the picture is stretched over the client area, and pointer positions come out
// in the picture's pixels through the same transform, on both input paths; the window resized
// afterwards changes the transform. Client pixel c shows picture point (c + 0.5) * picture /
// client - 0.5, kept inside the picture.
TEST_F(InputInterfaceTest, PointerPositionsAreThePicturesWhereTheWindowHasAnotherSize) {
    struct Case {
        char const* name;
        UINT pictureWidth, pictureHeight;
        int resizeWidth, resizeHeight;  // the window resized after the device's Reset (0: not)
        int x, y;                       // the event, in client pixels (the window is 640x480)
        float pictureX, pictureY;       // where the input reports it
        float lastX, lastY;             // relative moves to the far bottom right stop at the picture's last pixel
    } const cases[] = {
        {"same size", 640, 480, 0, 0, 100, 50, 100.0f, 50.0f, 639.0f, 479.0f},
        {"larger picture", 1024, 768, 0, 0, 320, 240, 512.3f, 384.3f, 1023.0f, 767.0f},
        {"larger picture, first pixel", 1024, 768, 0, 0, 0, 0, 0.3f, 0.3f, 1023.0f, 767.0f},
        {"larger picture, last pixel", 1024, 768, 0, 0, 639, 479, 1022.7f, 766.7f, 1023.0f, 767.0f},
        {"smaller picture", 320, 240, 0, 0, 101, 51, 50.25f, 25.25f, 319.0f, 239.0f},
        {"smaller picture, first pixel", 320, 240, 0, 0, 0, 0, 0.0f, 0.0f, 319.0f, 239.0f},
        {"other aspect", 1280, 720, 0, 0, 320, 240, 640.5f, 360.25f, 1279.0f, 719.0f},
        {"window resized after", 640, 480, 1280, 720, 640, 360, 319.75f, 239.83f, 639.0f, 479.0f},
    };
    IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
    ASSERT_NE(d3d, nullptr);
    for (Case const& c : cases) {
        SCOPED_TRACE(c.name);
        SetWindowPos(hwnd_, nullptr, 0, 0, 640, 480, SWP_NOMOVE);
        D3DPRESENT_PARAMETERS pp = testsupport::windowedParameters(hwnd_, c.pictureWidth, c.pictureHeight);
        IDirect3DDevice9* device = nullptr;
        ASSERT_EQ(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, hwnd_, D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp,
                                    &device),
                  D3D_OK);
        if (c.resizeWidth) SetWindowPos(hwnd_, nullptr, 0, 0, c.resizeWidth, c.resizeHeight, SWP_NOMOVE);
        recorder_.mouse.clear();
        clock_ += 1000;
        motion(c.x, c.y);
        button(SDL_BUTTON_LEFT, true, c.x, c.y);
        button(SDL_BUTTON_LEFT, false, c.x, c.y);
        poll();
        EXPECT_NEAR(input().mouseX, c.pictureX, 0.01f);
        EXPECT_NEAR(input().mouseY, c.pictureY, 0.01f);
        ASSERT_FALSE(recorder_.mouse.empty());
        for (MouseRecord const& m : recorder_.mouse) {
            EXPECT_NEAR(m.x, c.pictureX, 0.01f) << m.kind;
            EXPECT_NEAR(m.y, c.pictureY, 0.01f) << m.kind;
        }
        // The middle of the picture, and the system cursor where it is shown.
        input().centerMouse();
        EXPECT_FLOAT_EQ(input().mouseX, static_cast<float>(c.pictureWidth / 2));
        EXPECT_FLOAT_EQ(input().mouseY, static_cast<float>(c.pictureHeight / 2));
        POINT cursor{};
        GetCursorPos(&cursor);
        ScreenToClient(hwnd_, &cursor);
        int const clientWidth = c.resizeWidth ? c.resizeWidth : 640, clientHeight = c.resizeHeight ? c.resizeHeight : 480;
        EXPECT_NEAR(cursor.x, clientWidth / 2, 1);
        EXPECT_NEAR(cursor.y, clientHeight / 2, 1);
        // DirectInput's relative moves stop at the picture's edge.
        input().shutdown();
        input().getInitParams().useWinApi = 0;
        ASSERT_TRUE(input().init(hwnd_));
        clock_ += 1000;
        testsupport::pushMotion(windowId_, 0, 0, 5000, 5000);
        poll();
        EXPECT_FLOAT_EQ(input().mouseX, c.lastX);
        EXPECT_FLOAT_EQ(input().mouseY, c.lastY);
        input().shutdown();
        input().getInitParams().useWinApi = 1;
        ASSERT_TRUE(input().init(hwnd_));
        EXPECT_EQ(device->Release(), 0u);
    }
    // Without a device the positions are the window's.
    clock_ += 1000;
    motion(600, 400);
    poll();
    EXPECT_FLOAT_EQ(input().mouseX, 600.0f);
    EXPECT_FLOAT_EQ(input().mouseY, 400.0f);
    d3d->Release();
}
