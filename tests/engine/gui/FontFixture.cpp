// The font tests' device, manager and pixel helpers.
#include "tests/engine/gui/FontFixture.h"

#include <algorithm>
#include <climits>

#include "engine/core/GOBManager.h"
#include "engine/core/Logger.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/SpriteHolder.h"
#include "engine/render/TextureManager.h"
#include "engine/gui/FontText.h"
#include "port/win32/win32_paths.h"
#include "tests/support/TestSupport.h"
#include "tests/support/gl/DeviceFixture.h"

namespace fonttest {

Orvex::XMLNode parse(std::wstring const& text) {
    Orvex::XMLNode node;
    EXPECT_TRUE(node.loadFromText(text));
    return node;
}

bool logged(std::vector<std::wstring> const& texts) {
    for (std::wstring const& line : Orvex::Logger::getInstance().recentLines()) {
        bool all = true;
        for (std::wstring const& t : texts) all = all && line.find(t) != std::wstring::npos;
        if (all) return true;
    }
    return false;
}

int loggedCount(std::wstring const& text) {
    int n = 0;
    for (std::wstring const& line : Orvex::Logger::getInstance().recentLines())
        if (line.find(text) != std::wstring::npos) ++n;
    return n;
}

void FontManagerFixture::SetUp() {
    static bool searchPath = false;
    if (!searchPath) Orvex::GOBManager::getInstance().addSearchPath(port::windowsPath(testsupport::sourceDir().string()));
    searchPath = true;
    fonts.clearAll();
    fonts.setResourceSettleMs(0);
    Orvex::D3DXFontInterface::setCurrentSprite(nullptr);
}

void FontManagerFixture::TearDown() { fonts.clearAll(); }

void FontManagerFixture::load(std::wstring const& text, std::wstring const& source) {
    Orvex::XMLNode root;
    root.loadFromText(text, source);
    fonts.loadConfig(root, source);
}

void FontDrawFixture::SetUp() {
    FontManagerFixture::SetUp();
    reopen(width_, height_);
    if (!fonts.isReady()) fonts.initFonts();
}

void FontDrawFixture::reopen(unsigned width, unsigned height) {
    width_ = width;
    height_ = height;
    Orvex::D3DInterface& d3d = Orvex::D3DInterface::getInstance();
    if (Orvex::SpriteHolder* sprites = d3d.findSprite()) sprites->release();
    d3d.shutdown();
    d3d.getInitParams() = Orvex::D3DInitParams();
    d3d.getInitParams().displayMode = D3DDISPLAYMODE{width, height, 60, D3DFMT_X8R8G8B8};
    d3d.getInitParams().setWindowed(true);
    ASSERT_TRUE(d3d.init());
}

void FontDrawFixture::TearDown() {
    FontManagerFixture::TearDown();
    Orvex::D3DInterface& d3d = Orvex::D3DInterface::getInstance();
    if (Orvex::SpriteHolder* sprites = d3d.findSprite()) sprites->release();
    d3d.getTextureManager().releaseAll();
    d3d.shutdown();
    d3d.getInitParams() = Orvex::D3DInitParams();
}

std::vector<uint32_t> FontDrawFixture::frame(std::function<void()> const& draw) {
    IDirect3DDevice9* device = Orvex::D3DInterface::getInstance().getDevice();
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kBlack, 1.0f, 0);
    device->BeginScene();
    draw();
    device->EndScene();
    return testsupport::readRenderTarget(device);
}

std::vector<uint32_t> FontDrawFixture::drawText(std::wstring const& font, std::wstring const& text, RECT rect,
                                             Orvex::u32 format, Orvex::FontStyle const& style) {
    return frame([&] { fonts.drawText(font, text, rect, format, style); });
}

RECT FontDrawFixture::measure(std::wstring const& font, std::wstring const& text, RECT rect, Orvex::u32 format) {
    fonts.drawText(font, text, rect, format | Orvex::kTextCalcRect, white());
    return rect;
}

RECT FontDrawFixture::inkOf(std::vector<uint32_t> const& pixels, uint32_t colour) const {
    RECT box{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (unsigned y = 0; y < height_ && !pixels.empty(); ++y)
        for (unsigned x = 0; x < width_; ++x) {
            uint32_t const p = pixels[y * width_ + x];
            if (colour == 0 ? p == kBlack : p != colour) continue;
            box.left = std::min<LONG>(box.left, x);
            box.top = std::min<LONG>(box.top, y);
            box.right = std::max<LONG>(box.right, x + 1);
            box.bottom = std::max<LONG>(box.bottom, y + 1);
        }
    return box.left == INT_MAX ? RECT{} : box;
}

RECT FontDrawFixture::ink(std::vector<uint32_t> const& pixels) const { return inkOf(pixels, 0); }

int FontDrawFixture::countOf(std::vector<uint32_t> const& pixels, uint32_t colour) const {
    return static_cast<int>(std::count(pixels.begin(), pixels.end(), colour));
}

Orvex::FontStyle FontDrawFixture::white() {
    Orvex::FontStyle style;
    style.colorVG = D3DXCOLOR(1.0f, 1.0f, 1.0f, 1.0f);
    return style;
}

}  // namespace fonttest
