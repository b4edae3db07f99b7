// A full-screen device on a real X display without a window manager: SDL takes the window for
// the display mode's size as soon as it asks for full screen, while the X server keeps the size
// the window had. The device draws the whole picture into the window as the X server has it and
// the pointer is mapped the same way; a size the window is given from outside later (as a window
// manager may) is followed as a window's is, with its line. Read back from the X server's pixels.
#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xutil.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "port/d3d9/d3d9_port.h"
#include "port/win32/win32_picture.h"
#include "port/win32/win32_sdl.h"
#include "tests/support/PortLogCapture.h"
#include "tests/support/PrivateDisplay.h"
#include "tests/support/gl/HeadlessDevice.h"

namespace {

constexpr char kChildVariable[] = "ORVEX_FULL_SCREEN_CHILD";
constexpr int kScreenWidth = 320;  // the X server's one screen, and so SDL's display mode
constexpr int kScreenHeight = 240;
constexpr UINT kPictureWidth = 200;
constexpr UINT kPictureHeight = 150;
constexpr UINT kCornerBlock = 10;

struct Corner {
    UINT x, y;
    D3DCOLOR colour;
};
Corner const kCorners[] = {
    {0, 0, 0xFFFF0000},
    {kPictureWidth - kCornerBlock, 0, 0xFF00FF00},
    {0, kPictureHeight - kCornerBlock, 0xFF0000FF},
    {kPictureWidth - kCornerBlock, kPictureHeight - kCornerBlock, 0xFFFFFF00},
};

struct XWindow {
    Display* display = nullptr;
    ::Window window = 0;
};

XWindow xWindowOf(HWND window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    XWindow x;
    if (SDL_GetWindowWMInfo(port::win32::sdlWindow(window), &info) && info.subsystem == SDL_SYSWM_X11) {
        x.display = info.info.x11.display;
        x.window = info.info.x11.window;
    }
    return x;
}

void pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

// The picture's corner blocks, presented.
void presentCorners(IDirect3DDevice9* device) {
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    for (Corner const& c : kCorners) {
        D3DRECT r{static_cast<LONG>(c.x), static_cast<LONG>(c.y), static_cast<LONG>(c.x + kCornerBlock),
                  static_cast<LONG>(c.y + kCornerBlock)};
        device->Clear(1, &r, D3DCLEAR_TARGET, c.colour, 1.0f, 0);
    }
    ASSERT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
}

// What the X server shows in the window: its corners, and its size.
void expectWholePictureShown(XWindow const& x, int width, int height) {
    XSync(x.display, False);
    XWindowAttributes attributes{};
    ASSERT_TRUE(XGetWindowAttributes(x.display, x.window, &attributes));
    EXPECT_EQ(attributes.width, width);
    EXPECT_EQ(attributes.height, height);
    XImage* image = XGetImage(x.display, x.window, 0, 0, static_cast<unsigned>(width),
                              static_cast<unsigned>(height), AllPlanes, ZPixmap);
    ASSERT_NE(image, nullptr);
    auto at = [image](int px, int py) { return static_cast<uint32_t>(XGetPixel(image, px, py)) & 0xFFFFFFu; };
    EXPECT_EQ(at(1, 1), 0xFF0000u);
    EXPECT_EQ(at(width - 2, 1), 0x00FF00u);
    EXPECT_EQ(at(1, height - 2), 0x0000FFu);
    EXPECT_EQ(at(width - 2, height - 2), 0xFFFF00u);
    XDestroyImage(image);
}

// The pointer at the window's corners lies in the picture's corner blocks.
void expectPointerMapped(HWND window, int width, int height) {
    port::win32::PictureTransform picture;
    ASSERT_TRUE(port::win32::windowPicture(window, picture));
    EXPECT_EQ(picture.clientWidth, width);
    EXPECT_EQ(picture.clientHeight, height);
    float x = static_cast<float>(width - 1), y = static_cast<float>(height - 1);
    picture.toPicture(x, y);
    EXPECT_GE(x, static_cast<float>(kPictureWidth - kCornerBlock));
    EXPECT_GE(y, static_cast<float>(kPictureHeight - kCornerBlock));
    RECT client{};
    ASSERT_TRUE(GetClientRect(window, &client));
    EXPECT_EQ(client.right, width);
    EXPECT_EQ(client.bottom, height);
}

bool lineWith(std::vector<std::wstring> const& lines, std::wstring const& part) {
    for (auto const& line : lines)
        if (line.find(part) != std::wstring::npos) return true;
    return false;
}

// The child's part: runs on the parent's X server.
TEST(FullScreenWindowTest, Child) {
    if (!std::getenv(kChildVariable)) GTEST_SKIP() << "runs only as the child of FollowsTheSizeTheWindowGot";
    testsupport::HeadlessDevice headless;
    ASSERT_TRUE(headless.open(160, 120));
    ASSERT_STREQ(SDL_GetCurrentVideoDriver(), "x11");
    XWindow const x = xWindowOf(headless.window);
    ASSERT_NE(x.display, nullptr);
    pump();

    // Full screen: SDL's window becomes the display's 320 x 240, the X server's stays 160 x 120.
    testsupport::PortLogCapture log;
    D3DPRESENT_PARAMETERS pp = testsupport::windowedParameters(headless.window, kPictureWidth, kPictureHeight);
    pp.Windowed = FALSE;
    ASSERT_EQ(headless.device->Reset(&pp), D3D_OK);
    pump();
    EXPECT_EQ(headless.device->TestCooperativeLevel(), D3D_OK);
    EXPECT_TRUE(lineWith(log.taken(), L"the window is 160x120"));
    presentCorners(headless.device);
    expectWholePictureShown(x, 160, 120);
    expectPointerMapped(headless.window, 160, 120);

    // Resized from outside while full screen: a reset places the back buffer anew, with its line.
    XResizeWindow(x.display, x.window, 100, 75);
    XSync(x.display, False);
    SDL_Delay(100);
    pump();
    EXPECT_EQ(headless.device->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    ASSERT_EQ(headless.device->Reset(&pp), D3D_OK);
    EXPECT_TRUE(lineWith(log.taken(), L"the window is 100x75"));
    presentCorners(headless.device);
    expectWholePictureShown(x, 100, 75);
    expectPointerMapped(headless.window, 100, 75);
    EXPECT_TRUE(headless.close());
}

TEST(FullScreenWindowTest, FollowsTheSizeTheWindowGot) {
    if (access(testsupport::kXvfb, X_OK) != 0) GTEST_SKIP() << "no Xvfb";
    testsupport::PrivateDisplay display;
    ASSERT_TRUE(display.start(kScreenWidth, kScreenHeight)) << "Xvfb did not start";
    EXPECT_EQ(testsupport::runChildOnDisplay(display.name(), "FullScreenWindowTest.Child", {{kChildVariable, "1"}}),
              0);
}

}  // namespace
