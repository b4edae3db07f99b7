// The program window: messages re-emitted, activation, closing, placement, the cursor flag.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "engine/platform/AppWindow.h"

using Orvex::AppWindow;

namespace {

struct WindowListener : sigslot::has_slots<> {
    std::vector<UINT> messages;
    std::vector<bool> activations;
    int closed = 0;
    void onMessage(HWND, UINT message, WPARAM, LPARAM) { messages.push_back(message); }
    void onActive(bool const& active) { activations.push_back(active); }
    void onClosed() { ++closed; }

    explicit WindowListener(AppWindow& window) {
        window.signalMessage.connect(this, &WindowListener::onMessage);
        window.signalActive.connect(this, &WindowListener::onActive);
        window.signalClosed.connect(this, &WindowListener::onClosed);
    }
    int count(UINT message) const { return int(std::count(messages.begin(), messages.end(), message)); }
};

class AppWindowTest : public ::testing::Test {
protected:
    void TearDown() override {
        window.destroy();
        window.setSystemCursor(true);
        // Back to a display count of 0 for the next test.
        int count = ShowCursor(TRUE);
        while (count > 0) count = ShowCursor(FALSE);
        while (count < 0) count = ShowCursor(TRUE);
    }
    AppWindow& window = AppWindow::getInstance();
};

TEST_F(AppWindowTest, CreatesAShownWindowOfTheClientSizeAndReEmitsItsMessages) {
    WindowListener listener(window);
    ASSERT_TRUE(window.create(L"Titel", 640, 480, true));
    HWND hwnd = window.getHWND();
    ASSERT_NE(hwnd, nullptr);
    EXPECT_TRUE(GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_VISIBLE);
    RECT client{};
    ASSERT_TRUE(GetClientRect(hwnd, &client));
    EXPECT_EQ(client.right - client.left, 640);
    EXPECT_EQ(client.bottom - client.top, 480);
    wchar_t title[32] = {};
    GetWindowTextW(hwnd, title, 32);
    EXPECT_STREQ(title, L"Titel");
    // Creation messages pass through the signal too.
    EXPECT_EQ(listener.count(WM_CREATE), 1);

    SendMessageW(hwnd, WM_USER + 7, 1, 2);
    SendMessageW(hwnd, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(listener.count(WM_USER + 7), 1);
    EXPECT_EQ(listener.count(WM_KEYDOWN), 1);
}

TEST_F(AppWindowTest, ReportsActivationChanges) {
    WindowListener listener(window);
    ASSERT_TRUE(window.create(L"A", 320, 200, true));
    // Showing the window activates it.
    ASSERT_FALSE(listener.activations.empty());
    EXPECT_TRUE(listener.activations.back());
    EXPECT_TRUE(window.isActive());
    SendMessageW(window.getHWND(), WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), 0);
    EXPECT_FALSE(listener.activations.back());
    EXPECT_FALSE(window.isActive());
    SendMessageW(window.getHWND(), WM_ACTIVATE, MAKEWPARAM(WA_CLICKACTIVE, 0), 0);
    EXPECT_TRUE(listener.activations.back());
    SendMessageW(window.getHWND(), WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 1), 0);
    EXPECT_FALSE(listener.activations.back());
}

TEST_F(AppWindowTest, ClosingTheWindowIsReportedOnceAndDestroyIsNot) {
    WindowListener listener(window);
    ASSERT_TRUE(window.create(L"A", 320, 200, true));
    HWND hwnd = window.getHWND();
    SendMessageW(hwnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(listener.closed, 1);
    EXPECT_EQ(window.getHWND(), nullptr);
    EXPECT_FALSE(IsWindow(hwnd));

    ASSERT_TRUE(window.create(L"B", 320, 200, true));
    HWND second = window.getHWND();
    EXPECT_TRUE(window.create(L"C", 640, 480, true));  // the existing window is kept
    EXPECT_EQ(window.getHWND(), second);
    window.destroy();
    EXPECT_EQ(listener.closed, 1);
    EXPECT_EQ(window.getHWND(), nullptr);
    EXPECT_FALSE(window.create(L"A", 0, 200, true));  // an empty size is refused
    EXPECT_EQ(window.getHWND(), nullptr);
}

TEST_F(AppWindowTest, PlaceResizesAndSwitchesTheWindowMode) {
    ASSERT_TRUE(window.create(L"A", 320, 200, true));
    EXPECT_TRUE(GetWindowLongPtrW(window.getHWND(), GWL_STYLE) & WS_CAPTION);
    ASSERT_TRUE(window.place(800, 600, false));
    RECT client{};
    GetClientRect(window.getHWND(), &client);
    EXPECT_EQ(client.right * 1000 + client.bottom, 800600);
    LONG_PTR style = GetWindowLongPtrW(window.getHWND(), GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & WS_CAPTION);
    POINT corner{0, 0};
    ClientToScreen(window.getHWND(), &corner);
    EXPECT_EQ(corner.x, 0);
    EXPECT_EQ(corner.y, 0);
}

TEST_F(AppWindowTest, HidesTheSystemCursorOnlyWhenTheFlagIsOff) {
    auto cursorCount = [] {
        int count = ShowCursor(TRUE) - 1;
        ShowCursor(FALSE);
        return count;
    };
    ASSERT_TRUE(window.create(L"A", 320, 200, true));
    EXPECT_GE(cursorCount(), 0);
    window.destroy();
    window.setSystemCursor(false);
    ASSERT_TRUE(window.create(L"A", 320, 200, true));
    EXPECT_LT(cursorCount(), 0);
}

}  // namespace
