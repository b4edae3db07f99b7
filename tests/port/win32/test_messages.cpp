// Window messages from SDL events: packing of keys, characters, mouse buttons, double clicks,
// the wheel, close requests and the quit message.
#include "port/win32/win32_sdl.h"
#include "port/win32/windows.h"
#include "tests/support/SdlEvents.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

namespace {

struct Seen {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

std::vector<Seen> g_seen;

LRESULT recordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    g_seen.push_back(Seen{message, wParam, lParam});
    if (message == WM_DESTROY) PostQuitMessage(7);
    return DefWindowProcW(window, message, wParam, lParam);
}

class MessagesTest : public ::testing::Test {
protected:
    void SetUp() override {
        static bool registered = false;
        if (!registered) {
            WNDCLASSEXW plain{};
            plain.cbSize = sizeof(plain);
            plain.lpfnWndProc = recordingProc;
            plain.lpszClassName = L"PlainClass";
            ASSERT_NE(RegisterClassExW(&plain), 0);
            WNDCLASSEXW dbl = plain;
            dbl.style = CS_DBLCLKS;
            dbl.lpszClassName = L"DoubleClickClass";
            ASSERT_NE(RegisterClassExW(&dbl), 0);
            registered = true;
        }
        g_seen.clear();
    }
    void TearDown() override {
        if (window && IsWindow(window)) DestroyWindow(window);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
        g_seen.clear();
    }

    HWND open(LPCWSTR className) {
        window = CreateWindowExW(0, className, L"Test", WS_OVERLAPPEDWINDOW, 100, 50, 320, 240, nullptr, nullptr,
                                 nullptr, nullptr);
        EXPECT_NE(window, nullptr);
        ShowWindow(window, SW_SHOW);
        return window;
    }

    unsigned sdlId() const { return SDL_GetWindowID(port::win32::sdlWindow(window)); }

    // Takes the queued messages in [first, last] (dispatching all, as a message loop does).
    std::vector<MSG> drain(UINT first = 0, UINT last = 0xFFFFFFFF) {
        std::vector<MSG> out;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) break;
            if (msg.message >= first && msg.message <= last) out.push_back(msg);
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        return out;
    }
    std::vector<UINT> drainKinds(UINT first, UINT last) {
        std::vector<UINT> out;
        for (MSG const& m : drain(first, last)) out.push_back(m.message);
        return out;
    }

    void pushKey(SDL_Scancode scancode, SDL_Keycode keycode, bool down) {
        testsupport::pushKey(sdlId(), scancode, down, keycode);
    }
    void pushButton(Uint8 button, bool down, int x, int y) { testsupport::pushButton(sdlId(), button, down, x, y); }
    void click(int x, int y) {
        pushButton(SDL_BUTTON_LEFT, true, x, y);
        pushButton(SDL_BUTTON_LEFT, false, x, y);
    }

    HWND window = nullptr;
};

TEST_F(MessagesTest, CreationSendsCreateAndShowingActivates) {
    open(L"PlainClass");
    ASSERT_GE(g_seen.size(), 2u);
    EXPECT_EQ(g_seen[0].message, static_cast<UINT>(WM_NCCREATE));
    EXPECT_EQ(g_seen[1].message, static_cast<UINT>(WM_CREATE));
    bool activated = false;
    for (Seen const& s : g_seen) activated = activated || (s.message == WM_ACTIVATE && LOWORD(s.wParam) == WA_ACTIVE);
    EXPECT_TRUE(activated);
    EXPECT_EQ(GetActiveWindow(), window);
}

TEST_F(MessagesTest, CloseRequestArrivesAsWmCloseAndDefaultProcedureDestroys) {
    open(L"PlainClass");
    g_seen.clear();
    testsupport::pushWindowEvent(sdlId(), SDL_WINDOWEVENT_CLOSE);
    MSG msg{};
    for (int pass = 0; pass < 100 && msg.message != WM_QUIT; ++pass)
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message != WM_QUIT) DispatchMessageW(&msg);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 7u);
    ASSERT_GE(g_seen.size(), 2u);
    EXPECT_EQ(g_seen.front().message, static_cast<UINT>(WM_CLOSE));
    bool destroyed = false;
    for (Seen const& s : g_seen) destroyed = destroyed || s.message == WM_DESTROY;
    EXPECT_TRUE(destroyed);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(MessagesTest, KeysCarryVirtualKeyScanCodeAndTransitionBits) {
    open(L"PlainClass");
    drain();
    pushKey(SDL_SCANCODE_A, SDLK_a, true);
    pushKey(SDL_SCANCODE_A, SDLK_a, false);
    pushKey(SDL_SCANCODE_LEFT, SDLK_LEFT, true);
    pushKey(SDL_SCANCODE_LEFT, SDLK_LEFT, true);  // auto-repeat: previous state bit set
    auto keys = drain(WM_KEYFIRST, WM_KEYLAST);
    ASSERT_EQ(keys.size(), 4u);
    EXPECT_EQ(keys[0].message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(keys[0].wParam, static_cast<WPARAM>('A'));
    EXPECT_EQ(static_cast<DWORD>(keys[0].lParam), 0x001E0001u);
    EXPECT_EQ(keys[1].message, static_cast<UINT>(WM_KEYUP));
    EXPECT_EQ(static_cast<DWORD>(keys[1].lParam), 0xC01E0001u);
    EXPECT_EQ(keys[2].wParam, static_cast<WPARAM>(VK_LEFT));
    EXPECT_EQ(static_cast<DWORD>(keys[2].lParam), 0x014B0001u);  // extended key
    EXPECT_EQ(static_cast<DWORD>(keys[3].lParam), 0x414B0001u);
    pushKey(SDL_SCANCODE_LEFT, SDLK_LEFT, false);
    drain();

    // The extended bit: NumLock carries it and Pause does not, unlike their set-1 codes.
    struct Case {
        SDL_Scancode key;
        DWORD lParam;
    } const cases[] = {{SDL_SCANCODE_NUMLOCKCLEAR, 0x01450001u}, {SDL_SCANCODE_PAUSE, 0x00450001u},
                       {SDL_SCANCODE_KP_ENTER, 0x011C0001u}};
    for (Case const& c : cases) {
        pushKey(c.key, SDLK_UNKNOWN, true);
        pushKey(c.key, SDLK_UNKNOWN, false);
        auto pressed = drain(WM_KEYFIRST, WM_KEYLAST);
        ASSERT_FALSE(pressed.empty()) << c.key;
        EXPECT_EQ(static_cast<DWORD>(pressed[0].lParam), c.lParam) << c.key;
    }
}

TEST_F(MessagesTest, AltMakesSystemKeysAndLayoutDecidesLetters) {
    open(L"PlainClass");
    drain();
    pushKey(SDL_SCANCODE_LALT, SDLK_LALT, true);
    pushKey(SDL_SCANCODE_F4, SDLK_F4, true);
    pushKey(SDL_SCANCODE_F4, SDLK_F4, false);
    pushKey(SDL_SCANCODE_LALT, SDLK_LALT, false);
    pushKey(SDL_SCANCODE_Y, SDLK_z, true);  // German layout: the Y position types Z
    auto k = drain(WM_KEYFIRST, WM_KEYLAST);
    ASSERT_EQ(k.size(), 5u);
    EXPECT_EQ(k[0].message, static_cast<UINT>(WM_SYSKEYDOWN));
    EXPECT_EQ(k[0].wParam, static_cast<WPARAM>(VK_MENU));
    EXPECT_EQ(k[1].message, static_cast<UINT>(WM_SYSKEYDOWN));
    EXPECT_EQ(k[1].wParam, static_cast<WPARAM>(VK_F4));
    EXPECT_NE(k[1].lParam & (1 << 29), 0);  // context code: Alt held
    EXPECT_EQ(k[2].message, static_cast<UINT>(WM_SYSKEYUP));
    EXPECT_EQ(k[4].message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(k[4].wParam, static_cast<WPARAM>('Z'));
    EXPECT_EQ((k[4].lParam >> 16) & 0xff, 0x15);  // the scan code stays the position's
    pushKey(SDL_SCANCODE_Y, SDLK_z, false);
    drain();
}

TEST_F(MessagesTest, TextInputAndTranslateMessageGiveCharacters) {
    open(L"PlainClass");
    drain();
    testsupport::pushText(sdlId(), "a\xC3\xA4\xE2\x82\xAC");  // a, ä, €
    pushKey(SDL_SCANCODE_RETURN, SDLK_RETURN, true);
    pushKey(SDL_SCANCODE_RETURN, SDLK_RETURN, false);
    std::vector<WPARAM> chars;
    for (MSG const& m : drain(WM_CHAR, WM_CHAR)) chars.push_back(m.wParam);
    EXPECT_EQ(chars, (std::vector<WPARAM>{L'a', 0xE4, 0x20AC, 13}));
}

TEST_F(MessagesTest, MouseMessagesPackClientPositionAndButtons) {
    open(L"PlainClass");
    drain();
    testsupport::pushMotion(sdlId(), 30, 40);
    pushButton(SDL_BUTTON_LEFT, true, 30, 40);
    pushButton(SDL_BUTTON_RIGHT, true, 31, 41);
    pushButton(SDL_BUTTON_RIGHT, false, 31, 41);
    pushButton(SDL_BUTTON_LEFT, false, 30, 40);
    auto mouse = drain(WM_MOUSEFIRST, WM_MOUSELAST);
    ASSERT_EQ(mouse.size(), 5u);
    EXPECT_EQ(mouse[0].message, static_cast<UINT>(WM_MOUSEMOVE));
    EXPECT_EQ(GET_X_LPARAM(mouse[0].lParam), 30);
    EXPECT_EQ(GET_Y_LPARAM(mouse[0].lParam), 40);
    std::pair<UINT, WPARAM> const expected[] = {{WM_LBUTTONDOWN, MK_LBUTTON},
                                                {WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON},
                                                {WM_RBUTTONUP, MK_LBUTTON},
                                                {WM_LBUTTONUP, 0}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(mouse[i + 1].message, expected[i].first) << i;
        EXPECT_EQ(mouse[i + 1].wParam, expected[i].second) << i;
    }
    POINT p{};
    GetCursorPos(&p);
    EXPECT_EQ(p.x, 130);  // client position plus the window position
    EXPECT_EQ(p.y, 90);
}

TEST_F(MessagesTest, DoubleClicksNeedTheClassStyleTimeAndPlace) {
    open(L"PlainClass");
    drain();
    click(10, 10);
    click(10, 10);
    EXPECT_EQ(drainKinds(WM_LBUTTONDOWN, WM_LBUTTONDBLCLK),
              (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP}));
    DestroyWindow(window);

    open(L"DoubleClickClass");
    drain();
    click(10, 10);
    click(12, 8);   // within the 4-pixel box
    click(12, 8);   // a third press starts anew
    click(20, 8);   // too far away
    EXPECT_EQ(drainKinds(WM_LBUTTONDOWN, WM_LBUTTONDBLCLK),
              (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP, WM_LBUTTONDOWN,
                                 WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP}));
    // Too slow: more than the double-click time between the presses.
    SDL_Delay(GetDoubleClickTime() + 50);
    pushButton(SDL_BUTTON_LEFT, true, 20, 8);
    EXPECT_EQ(drainKinds(WM_LBUTTONDOWN, WM_LBUTTONDBLCLK), (std::vector<UINT>{WM_LBUTTONDOWN}));
    pushButton(SDL_BUTTON_LEFT, false, 20, 8);
    drain();
}

TEST_F(MessagesTest, WheelGives120PerNotchAtScreenPosition) {
    open(L"PlainClass");
    SetCursorPos(150, 100);
    drain();
    testsupport::pushWheel(sdlId(), -2);
    auto msgs = drain();
    ASSERT_EQ(msgs.size(), 1u);
    EXPECT_EQ(msgs[0].message, static_cast<UINT>(WM_MOUSEWHEEL));
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(msgs[0].wParam), -240);
    EXPECT_EQ(GET_X_LPARAM(msgs[0].lParam), 150);
    EXPECT_EQ(GET_Y_LPARAM(msgs[0].lParam), 100);
}

TEST_F(MessagesTest, PostedMessagesFilterAndQuitComesLast) {
    open(L"PlainClass");
    drain();
    PostMessageW(window, WM_USER + 1, 11, 22);
    PostMessageW(nullptr, WM_APP, 1, 2);
    PostQuitMessage(3);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, window, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 1));
    ASSERT_TRUE(PeekMessageW(&msg, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_APP));
    EXPECT_EQ(msg.hwnd, nullptr);
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 1));
    EXPECT_EQ(msg.lParam, 22);
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 3u);
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_FALSE(PostMessageW(reinterpret_cast<HWND>(0x1234), WM_USER, 0, 0));
}

// The main loop waits on this between frames: a press must end the wait, and stay queued for the
// loop's PeekMessageW.
TEST_F(MessagesTest, WaitingForAMessageEndsWhenInputArrivesAndLeavesItQueued) {
    open(L"PlainClass");
    drain();
    EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT), WAIT_TIMEOUT);
    PostMessageW(window, WM_USER + 2, 0, 0);
    EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 60000, QS_ALLINPUT), WAIT_OBJECT_0);
    EXPECT_EQ(drainKinds(WM_USER + 2, WM_USER + 2), std::vector<UINT>{WM_USER + 2});
    // An event from the window system while the wait runs; a plain sleep would sit out the minute.
    std::thread presser([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        pushButton(SDL_BUTTON_LEFT, true, 40, 30);
    });
    DWORD const woken = MsgWaitForMultipleObjects(0, nullptr, FALSE, 60000, QS_ALLINPUT);
    presser.join();
    EXPECT_EQ(woken, WAIT_OBJECT_0);
    EXPECT_EQ(drainKinds(WM_LBUTTONDOWN, WM_LBUTTONDOWN), std::vector<UINT>{WM_LBUTTONDOWN});
    EXPECT_EQ(MsgWaitForMultipleObjects(1, nullptr, FALSE, 0, QS_ALLINPUT), WAIT_FAILED);
}

}  // namespace
