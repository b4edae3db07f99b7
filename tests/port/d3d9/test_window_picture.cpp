// A back buffer shown in a window of another size: Present stretches it over the whole client
// area, and the transform the input maps the pointer with says where each of its pixels is shown,
// read back from the window's pixels; the window's picture is known while the device lives.
#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "port/win32/win32_picture.h"
#include "tests/support/gl/HeadlessDevice.h"

namespace {

constexpr UINT kBlock = 8;

// The window's pixels as 0xRRGGBB, top row first.
std::vector<uint32_t> readWindow(int width, int height) {
    std::vector<uint8_t> bytes(static_cast<size_t>(width) * height * 4);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bytes.data());
    std::vector<uint32_t> out(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t const* p = &bytes[(static_cast<size_t>(height - 1 - y) * width + x) * 4];
            out[static_cast<size_t>(y) * width + x] = (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
        }
    return out;
}

TEST(WindowPictureTest, PresentShowsEveryPixelWhereThePointerIsMapped) {
    struct Case {
        char const* name;
        int windowWidth, windowHeight;
        UINT pictureWidth, pictureHeight;
    } const cases[] = {
        {"window larger", 64, 48, 32, 24},  {"window smaller", 64, 48, 128, 96},
        {"other aspect, wider window", 64, 48, 48, 48}, {"other aspect, taller window", 40, 80, 64, 48},
        {"same size", 64, 48, 64, 48},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::HeadlessDevice headless;
        ASSERT_TRUE(headless.open(static_cast<UINT>(c.windowWidth), static_cast<UINT>(c.windowHeight)));
        IDirect3DDevice9* device = headless.device;
        D3DPRESENT_PARAMETERS pp = testsupport::windowedParameters(headless.window, c.pictureWidth, c.pictureHeight);
        ASSERT_EQ(device->Reset(&pp), D3D_OK);
        port::win32::PictureTransform picture;
        ASSERT_TRUE(port::win32::windowPicture(headless.window, picture));
        EXPECT_EQ(picture.clientWidth, c.windowWidth);
        EXPECT_EQ(picture.clientHeight, c.windowHeight);
        EXPECT_EQ(picture.pictureWidth, c.pictureWidth);
        EXPECT_EQ(picture.pictureHeight, c.pictureHeight);

        // Blocks of the picture in colours of their own: the corners and one inside.
        struct Block {
            UINT x, y;
            D3DCOLOR colour;
        } const blocks[] = {
            {0, 0, 0xFFFF0000},
            {c.pictureWidth - kBlock, 0, 0xFF00FF00},
            {0, c.pictureHeight - kBlock, 0xFF0000FF},
            {c.pictureWidth - kBlock, c.pictureHeight - kBlock, 0xFFFFFF00},
            {c.pictureWidth / 2, c.pictureHeight / 4, 0xFF00FFFF},
        };
        device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
        for (Block const& b : blocks) {
            D3DRECT r{static_cast<LONG>(b.x), static_cast<LONG>(b.y), static_cast<LONG>(b.x + kBlock),
                      static_cast<LONG>(b.y + kBlock)};
            device->Clear(1, &r, D3DCLEAR_TARGET, b.colour, 1.0f, 0);
        }
        ASSERT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
        std::vector<uint32_t> const shown = readWindow(c.windowWidth, c.windowHeight);
        auto at = [&](int x, int y) { return shown[static_cast<size_t>(y) * c.windowWidth + x]; };

        for (Block const& b : blocks) {
            // The block's middle, where the transform says it is shown, shows its colour; the
            // pointer there is inside the block.
            float x = b.x + (kBlock - 1) / 2.0f, y = b.y + (kBlock - 1) / 2.0f;
            picture.toClient(x, y);
            int const wx = static_cast<int>(std::lround(x)), wy = static_cast<int>(std::lround(y));
            ASSERT_TRUE(wx >= 0 && wy >= 0 && wx < c.windowWidth && wy < c.windowHeight) << wx << " " << wy;
            EXPECT_EQ(at(wx, wy), b.colour & 0xFFFFFF) << b.x << " " << b.y;
            float px = static_cast<float>(wx), py = static_cast<float>(wy);
            picture.toPicture(px, py);
            EXPECT_TRUE(px >= b.x && px < b.x + kBlock && py >= b.y && py < b.y + kBlock) << px << " " << py;
        }
        // The picture fills the window: its corners show the corner blocks and map into them.
        EXPECT_EQ(at(0, 0), 0xFF0000u);
        EXPECT_EQ(at(c.windowWidth - 1, 0), 0x00FF00u);
        EXPECT_EQ(at(0, c.windowHeight - 1), 0x0000FFu);
        EXPECT_EQ(at(c.windowWidth - 1, c.windowHeight - 1), 0xFFFF00u);
        float cornerX = 0.0f, cornerY = 0.0f;
        picture.toPicture(cornerX, cornerY);
        EXPECT_GE(cornerX, 0.0f);
        EXPECT_LT(cornerX, 1.0f);
        EXPECT_GE(cornerY, 0.0f);
        EXPECT_LT(cornerY, 1.0f);
        cornerX = static_cast<float>(c.windowWidth - 1), cornerY = static_cast<float>(c.windowHeight - 1);
        picture.toPicture(cornerX, cornerY);
        EXPECT_GT(cornerX, static_cast<float>(c.pictureWidth - 2));
        EXPECT_LE(cornerX, static_cast<float>(c.pictureWidth - 1));
        EXPECT_GT(cornerY, static_cast<float>(c.pictureHeight - 2));
        EXPECT_LE(cornerY, static_cast<float>(c.pictureHeight - 1));

        HWND const window = headless.window;
        ASSERT_TRUE(headless.close());
        EXPECT_FALSE(port::win32::windowPicture(window, picture));
    }
}

}  // namespace
