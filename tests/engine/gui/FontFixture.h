// The font tests' helpers: property trees from text, a font manager emptied around each test,
// and (FontDrawFixture) the device object's device opened headless with pixels read back.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <functional>
#include <vector>

#include "engine/core/XMLNode.h"
#include "engine/gui/D3DXFontInterface.h"
#include "engine/gui/FontStyle.h"
#include "engine/gui/FontText.h"
#include "port/win32/windows_types.h"

namespace fonttest {

Orvex::XMLNode parse(std::wstring const& text);
// True when a recent line of the engine log contains every one of the texts.
bool logged(std::vector<std::wstring> const& texts);
// Recent log lines that contain text.
int loggedCount(std::wstring const& text);

// A manager without fonts, styles or resources before and after the test.
class FontManagerFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Loads a font file given as text (named source in log lines).
    void load(std::wstring const& text, std::wstring const& source = L"test.fnt");
    Orvex::D3DXFontInterface& fonts = Orvex::D3DXFontInterface::instance();
};

// A device of width x height (X8R8G8B8, windowed), cleared to black.
class FontDrawFixture : public FontManagerFixture {
protected:
    static constexpr unsigned kWidth = 256;
    static constexpr unsigned kHeight = 96;
    static constexpr uint32_t kBlack = 0xFF000000;

    explicit FontDrawFixture(unsigned width = kWidth, unsigned height = kHeight) : width_(width), height_(height) {}
    void SetUp() override;
    void TearDown() override;

    // Opens the device again at another size (fonts follow through shutdown and creation).
    void reopen(unsigned width, unsigned height);
    // Clears to black, draws inside a scene, returns the pixels.
    std::vector<uint32_t> frame(std::function<void()> const& draw);
    // Draws one text by font and style name.
    std::vector<uint32_t> drawText(std::wstring const& font, std::wstring const& text, RECT rect, Orvex::u32 format,
                                   Orvex::FontStyle const& style);
    RECT measure(std::wstring const& font, std::wstring const& text, RECT rect, Orvex::u32 format);
    // Bounding box of the pixels that are not black (all zero when none).
    RECT ink(std::vector<uint32_t> const& pixels) const;
    // Bounding box of the pixels of exactly that colour.
    RECT inkOf(std::vector<uint32_t> const& pixels, uint32_t colour) const;
    int countOf(std::vector<uint32_t> const& pixels, uint32_t colour) const;
    uint32_t at(std::vector<uint32_t> const& pixels, unsigned x, unsigned y) const { return pixels[y * width_ + x]; }
    unsigned width() const { return width_; }
    unsigned height() const { return height_; }

    // White text without background.
    static Orvex::FontStyle white();

private:
    unsigned width_;
    unsigned height_;
};

}  // namespace fonttest
