// ID3DXFont drawing through the real device, checked by reading pixels back: measured rectangles
// against GDI's widths and against the ink, clipping, colour, characters outside the face, fonts
// from memory, drawing through a caller's sprite, and device loss.
#include "port/d3d9/d3d9_port.h"
#include "port/d3dx9/DxFontGlyphs.h"
#include "port/d3dx9/d3dx9.h"
#include "port/gdi/FontFace.h"
#include "tests/support/TestSupport.h"
#include "tests/support/gl/DeviceFixture.h"
#include "tests/support/gl/TestMatrices.h"

#include <string>
#include <vector>

namespace {

constexpr UINT kWidth = 256, kHeight = 96;
constexpr D3DCOLOR kBlack = 0xFF000000;

class FontTest : public ::testing::Test, protected testsupport::HeadlessDevice {
protected:
    void SetUp() override { ASSERT_TRUE(open(kWidth, kHeight)); }
    void TearDown() override {
        if (font) font->Release();
        EXPECT_TRUE(close()) << "the device or Direct3D is still referenced";
    }

    void makeFont(INT height, wchar_t const* face = L"Arial", UINT weight = FW_NORMAL) {
        if (font) font->Release();
        font = nullptr;
        ASSERT_EQ(D3DXCreateFontW(device, height, 0, weight, 1, FALSE, DEFAULT_CHARSET, 0, 0, 0, face, &font), S_OK);
    }
    RECT measure(std::wstring const& text, RECT rect, DWORD format = 0) {
        font->DrawTextW(nullptr, text.c_str(), -1, &rect, format | DT_CALCRECT, 0xFFFFFFFF);
        return rect;
    }
    // Draws on black and returns the pixels.
    std::vector<uint32_t> draw(std::wstring const& text, RECT rect, DWORD format, D3DCOLOR color = 0xFFFFFFFF,
                               INT* result = nullptr) {
        device->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0);
        device->BeginScene();
        INT r = font->DrawTextW(nullptr, text.c_str(), -1, &rect, format, color);
        if (result) *result = r;
        device->EndScene();
        return testsupport::readRenderTarget(device);
    }
    // The bounding box of every pixel that is not black; empty (0, 0, 0, 0) when there is none.
    static RECT ink(std::vector<uint32_t> const& pixels) {
        RECT box{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
        for (UINT y = 0; y < kHeight; ++y)
            for (UINT x = 0; x < kWidth; ++x)
                if (pixels[y * kWidth + x] != kBlack) {
                    box.left = std::min<LONG>(box.left, x);
                    box.top = std::min<LONG>(box.top, y);
                    box.right = std::max<LONG>(box.right, x + 1);
                    box.bottom = std::max<LONG>(box.bottom, y + 1);
                }
        return box.left == INT32_MAX ? RECT{} : box;
    }
    static bool inside(RECT const& inner, RECT const& outer) {
        return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
               inner.bottom <= outer.bottom;
    }
    TEXTMETRICW metrics() {
        TEXTMETRICW tm{};
        EXPECT_TRUE(font->GetTextMetricsW(&tm));
        return tm;
    }

    ID3DXFont* font = nullptr;
};

TEST_F(FontTest, CalcRectOfOneLineIsTheSumOfGdiAdvances) {
    makeFont(-20);
    std::wstring text = L"Hallo Welt";
    HDC dc = GetDC(nullptr);
    HFONT gdiFont = CreateFontW(-20, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial");
    HGDIOBJ old = SelectObject(dc, gdiFont);
    float width = 0;
    for (wchar_t c : text) {
        ABCFLOAT abc{};
        ASSERT_TRUE(GetCharABCWidthsFloatW(dc, c, c, &abc));
        width += abc.abcfA + abc.abcfB + abc.abcfC;
    }
    SelectObject(dc, old);
    DeleteObject(gdiFont);
    ReleaseDC(nullptr, dc);

    RECT r = measure(text, RECT{10, 5, 250, 90});
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 5);
    EXPECT_EQ(r.right - r.left, static_cast<LONG>(width));
    EXPECT_EQ(r.bottom - r.top, metrics().tmHeight);
    EXPECT_EQ(metrics().tmHeight - metrics().tmInternalLeading, 20);
    // A rectangle narrower than the text still grows to it on one line.
    RECT narrow = measure(text, RECT{10, 5, 20, 6});
    EXPECT_EQ(narrow.right - narrow.left, r.right - r.left);
    EXPECT_EQ(narrow.bottom - narrow.top, metrics().tmHeight);
}

TEST_F(FontTest, CalcRectWithWordBreakWrapsToTheWidthAndShrinks) {
    makeFont(-14);
    int lineHeight = metrics().tmHeight;
    RECT one = measure(L"Karo", RECT{0, 0, 1000, 10});
    RECT r = measure(L"Karo Karo Karo Karo", RECT{4, 2, 4 + 2 * (one.right - one.left) + 6, 50}, DT_WORDBREAK);
    EXPECT_EQ(r.left, 4);
    EXPECT_EQ(r.top, 2);
    EXPECT_EQ(r.bottom - r.top, 2 * lineHeight);  // two words a line
    EXPECT_LT(r.right - r.left, 2 * (one.right - one.left) + 6);
    EXPECT_GT(r.right - r.left, 2 * (one.right - one.left));
    // A single long word widens the rectangle instead of being split.
    RECT longWord = measure(L"Kartenstapelverwaltung", RECT{0, 0, 20, 10}, DT_WORDBREAK);
    EXPECT_GT(longWord.right, 20);
    EXPECT_EQ(longWord.bottom, lineHeight);
}

TEST_F(FontTest, AlignedTextInkLiesInsideItsCalcRect) {
    makeFont(-18);
    RECT box{20, 8, 236, 88};
    std::wstring text = L"Hand";
    for (DWORD horizontal : {DT_LEFT, DT_CENTER, DT_RIGHT}) {
        for (DWORD vertical : {DT_TOP, DT_VCENTER, DT_BOTTOM}) {
            DWORD format = horizontal | vertical | DT_SINGLELINE;
            RECT measured = measure(text, box, format);
            RECT drawn = ink(draw(text, box, format));
            EXPECT_TRUE(inside(drawn, measured)) << format;
            EXPECT_GT(drawn.right - drawn.left, (measured.right - measured.left) / 2) << format;
            // Where the measured rectangle's edges must be: the aligned edge of the box, or
            // centred on it within a pixel.
            LONG h = horizontal == DT_LEFT    ? measured.left - box.left
                     : horizontal == DT_RIGHT ? measured.right - box.right
                                              : (measured.left + measured.right - box.left - box.right) / 2;
            LONG v = vertical == DT_TOP      ? measured.top - box.top
                     : vertical == DT_BOTTOM ? measured.bottom - box.bottom
                                             : (measured.top + measured.bottom - box.top - box.bottom) / 2;
            EXPECT_EQ(h, 0) << format;
            EXPECT_EQ(v, 0) << format;
        }
    }
}

// The labels' own format: centred both ways, wrapped at words.
TEST_F(FontTest, WrappedTextInkLiesInsideItsCalcRect) {
    makeFont(-16);
    int lineHeight = metrics().tmHeight;
    RECT box{60, 4, 150, 92};
    DWORD format = DT_CENTER | DT_VCENTER | DT_WORDBREAK;
    std::wstring text = L"Neues Spiel mit drei Karten";
    RECT measured = measure(text, box, format);
    EXPECT_EQ((measured.bottom - measured.top) % lineHeight, 0);
    EXPECT_GE((measured.bottom - measured.top) / lineHeight, 3);
    EXPECT_LE(measured.right - measured.left, box.right - box.left);
    RECT drawn = ink(draw(text, box, format));
    EXPECT_TRUE(inside(drawn, measured));
    EXPECT_GT(drawn.bottom - drawn.top, 2 * lineHeight);
}

TEST_F(FontTest, ClippedTextStaysInsideTheRectangleAndNoClipDoesNot) {
    makeFont(-24);
    RECT box{30, 20, 70, 36};  // smaller than the text both ways
    std::wstring text = L"Spielkarten";
    RECT clipped = ink(draw(text, box, DT_VCENTER | DT_CENTER));
    EXPECT_TRUE(inside(clipped, box));
    EXPECT_EQ(clipped.left, box.left);  // the text overflows at both sides: the clip cuts it there
    EXPECT_EQ(clipped.right, box.right);
    RECT free = ink(draw(text, box, DT_VCENTER | DT_CENTER | DT_NOCLIP));
    EXPECT_LT(free.left, box.left);
    EXPECT_GT(free.right, box.right);
    EXPECT_TRUE(inside(free, measure(text, box, DT_VCENTER | DT_CENTER)));
    // DT_CALCRECT draws nothing.
    device->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0);
    RECT r = box;
    EXPECT_GT(font->DrawTextW(nullptr, text.c_str(), -1, &r, DT_CALCRECT, 0xFFFFFFFF), 0);
    EXPECT_EQ(ink(testsupport::readRenderTarget(device)).right, 0);
}

TEST_F(FontTest, ColourAndAlphaTintTheGlyphs) {
    makeFont(-40, L"Arial", FW_BOLD);
    auto pixels = draw(L"I", RECT{0, 0, 256, 96}, 0, 0x80FF2000);
    uint32_t brightest = 0;
    for (uint32_t p : pixels) brightest = std::max(brightest, (p >> 16) & 0xFF);
    EXPECT_NEAR(static_cast<int>(brightest), 128, 3);  // full coverage, half alpha over black
    for (uint32_t p : pixels) {
        EXPECT_EQ(p & 0xFF, 0u);
        EXPECT_LE((p >> 8) & 0xFF, ((p >> 16) & 0xFF) / 4 + 1);
    }
}

TEST_F(FontTest, UmlautsAndEuroDrawAndCharactersOutsideTheFaceDoNot) {
    makeFont(-20);
    for (std::wstring text : {L"\u00e4", L"\u00d6", L"\u00df", L"\u20ac"})
        EXPECT_GT(ink(draw(text, RECT{0, 0, 256, 96}, 0)).right, 0) << static_cast<int>(text[0]);
    INT result = -1;
    EXPECT_EQ(ink(draw(L"\ue000\U0001F0A1", RECT{0, 0, 256, 96}, 0, 0xFFFFFFFF, &result)).right, 0);
    EXPECT_EQ(result, metrics().tmHeight);
    RECT plain = measure(L"AB", RECT{0, 0, 256, 96});
    RECT withMissing = measure(L"A\ue000\x01" L"B", RECT{0, 0, 256, 96});
    EXPECT_EQ(withMissing.right, plain.right);
    // Counted text draws only its first characters; no text or no rectangle draws nothing.
    RECT r{0, 0, 256, 96};
    RECT two = r;
    font->DrawTextW(nullptr, L"ABCD", 2, &two, DT_CALCRECT, 0xFFFFFFFF);
    EXPECT_EQ(two.right, plain.right);
    EXPECT_EQ(font->DrawTextW(nullptr, nullptr, -1, &r, 0, 0xFFFFFFFF), 0);
    EXPECT_EQ(font->DrawTextW(nullptr, L"A", -1, nullptr, 0, 0xFFFFFFFF), 0);
}

TEST_F(FontTest, DrawsThroughTheCallersSpriteWithItsTransform) {
    makeFont(-20);
    RECT box{10, 10, 200, 80};
    RECT alone = ink(draw(L"Stapel", box, 0));
    ID3DXSprite* sprite = nullptr;
    ASSERT_EQ(D3DXCreateSprite(device, &sprite), S_OK);
    RECT r = box;
    EXPECT_EQ(font->DrawTextW(sprite, L"Stapel", -1, &r, 0, 0xFFFFFFFF), 0);  // not begun
    device->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0);
    device->BeginScene();
    ASSERT_EQ(sprite->Begin(D3DXSPRITE_ALPHABLEND), S_OK);
    D3DXMATRIX const move = testsupport::translationMatrix(7.0f, 3.0f, 0.0f);
    sprite->SetTransform(&move);
    EXPECT_GT(font->DrawTextW(sprite, L"Stapel", -1, &r, 0, 0xFFFFFFFF), 0);
    ASSERT_EQ(sprite->End(), S_OK);
    device->EndScene();
    RECT moved = ink(testsupport::readRenderTarget(device));
    EXPECT_EQ(moved.left, alone.left + 7);
    EXPECT_EQ(moved.top, alone.top + 3);
    EXPECT_EQ(moved.right, alone.right + 7);
    sprite->Release();
}

TEST_F(FontTest, DeviceLossAndResetKeepTheSamePixels) {
    makeFont(-16);
    RECT box{4, 4, 250, 90};
    std::wstring text = L"Neues Spiel \u2013 K\u00f6nig f\u00fcr 5 \u20ac";
    auto before = draw(text, box, DT_WORDBREAK | DT_CENTER);
    ASSERT_GT(ink(before).right, 0);
    port::d3d9::loseDevice(device);
    font->OnLostDevice();
    D3DPRESENT_PARAMETERS pp = testsupport::windowedParameters(window, kWidth, kHeight);
    ASSERT_EQ(device->Reset(&pp), D3D_OK);
    font->OnResetDevice();
    EXPECT_EQ(draw(text, box, DT_WORDBREAK | DT_CENTER), before);
}

TEST_F(FontTest, FontFromMemoryIsFoundByName) {
    std::string bytes = testsupport::readFile("/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf");
    ASSERT_FALSE(bytes.empty());
    DWORD count = 0;
    HANDLE handle = AddFontMemResourceEx(bytes.data(), static_cast<DWORD>(bytes.size()), nullptr, &count);
    ASSERT_NE(handle, nullptr);
    bytes.clear();
    makeFont(-20, L"DejaVu Serif");
    EXPECT_TRUE(RemoveFontMemResourceEx(handle));  // the font made from it keeps its face
    RECT drawn = ink(draw(L"Herz", RECT{0, 0, 256, 96}, 0));
    EXPECT_GT(drawn.right - drawn.left, 20);
}

TEST_F(FontTest, UnknownFacesFallBackAndBadCallsAreRefused) {
    makeFont(-16, L"Gibt Es Nicht");
    EXPECT_GT(ink(draw(L"Pik", RECT{0, 0, 256, 96}, 0)).right, 0);
    ID3DXFont* other = nullptr;
    EXPECT_EQ(D3DXCreateFontW(nullptr, -16, 0, 0, 1, FALSE, 0, 0, 0, 0, L"Arial", &other), D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXCreateFontW(device, -16, 0, 0, 1, FALSE, 0, 0, 0, 0, L"Arial", nullptr), D3DERR_INVALIDCALL);
    // A height from data far past any screen is clamped, not rasterised at that size.
    ASSERT_EQ(D3DXCreateFontW(device, -2000000, 0, 0, 1, FALSE, 0, 0, 0, 0, L"Arial", &other), S_OK);
    TEXTMETRICW tm{};
    other->GetTextMetricsW(&tm);
    EXPECT_LE(tm.tmHeight - tm.tmInternalLeading, port::gdi::kMaxPixelHeight);
    other->Release();
}

// A font asked for every glyph of a large face must not grow its textures without end: at the
// page limit it starts over, and drawing still works afterwards.
TEST_F(FontTest, GlyphPagesStayBoundedAndStartOver) {
    auto face = port::gdi::FontFace::open({L"DejaVu Sans", -90, 0, FW_NORMAL, false});
    ASSERT_NE(face, nullptr);
    port::dx::GlyphCache cache(device, *face);
    std::size_t most = 0;
    cache.beginUse();
    for (wchar_t c = 0x20, after = 0; c < 0xFFFF && after < 2000; ++c) {
        cache.glyph(c);
        most = std::max(most, cache.pageCount());
        if (most == 16) ++after;  // well past the point where the last page filled
    }
    EXPECT_EQ(most, 16u);
    cache.beginUse();  // full: starts over
    EXPECT_EQ(cache.pageCount(), 0u);
    EXPECT_NE(cache.glyph(L'A').page, nullptr);
    EXPECT_GT(cache.glyph(L'A').advance, 0);

    makeFont(-20);
    EXPECT_EQ(font->PreloadCharacters(0x20, 0x17F), S_OK);
    EXPECT_EQ(font->PreloadTextW(L"\u20ac", -1), S_OK);
    EXPECT_EQ(font->PreloadCharacters(2, 1), D3DERR_INVALIDCALL);
    EXPECT_GT(ink(draw(L"\u20ac", RECT{0, 0, 256, 96}, 0)).right, 0);
}

}  // namespace
