// ID3DXFont: DrawTextW lays the text out (DxFontLayout), takes each character's image from the
// font's glyph textures (DxFontGlyphs) and draws it as a sprite, clipped to the rectangle unless
// DT_NOCLIP. Without a sprite from the caller the font uses its own, with alpha blending.
#include "port/d3dx9/DxCom.h"
#include "port/d3dx9/DxFontGlyphs.h"
#include "port/d3dx9/DxFontLayout.h"
#include "port/win32/win32_text.h"

#include <algorithm>
#include <cwchar>
#include <memory>
#include <string_view>
#include <vector>

namespace port::dx {

namespace {

// The part of the glyph drawn at (x, y) that lies inside clip; false when none does.
bool clipGlyph(CachedGlyph const& glyph, int x, int y, RECT const& clip, RECT& source, int& left, int& top) {
    source = glyph.source;
    left = x;
    top = y;
    int right = x + (source.right - source.left), bottom = y + (source.bottom - source.top);
    if (right <= clip.left || x >= clip.right || bottom <= clip.top || y >= clip.bottom) return false;
    if (left < clip.left) {
        source.left += clip.left - left;
        left = clip.left;
    }
    if (top < clip.top) {
        source.top += clip.top - top;
        top = clip.top;
    }
    if (right > clip.right) source.right -= right - clip.right;
    if (bottom > clip.bottom) source.bottom -= bottom - clip.bottom;
    return true;
}

class Font final : public DeviceObject<ID3DXFont> {
public:
    Font(IDirect3DDevice9* device, D3DXFONT_DESCW const& desc, std::unique_ptr<port::gdi::FontFace> face)
        : DeviceObject(device), desc_(desc), face_(std::move(face)), glyphs_(device, *face_) {}

    HRESULT GetDescW(D3DXFONT_DESCW* desc) override {
        if (!desc) return D3DERR_INVALIDCALL;
        *desc = desc_;
        return S_OK;
    }
    BOOL GetTextMetricsW(TEXTMETRICW* metrics) override {
        if (!metrics) return FALSE;
        port::gdi::fillTextMetrics(*face_, *metrics);
        return TRUE;
    }
    HRESULT PreloadCharacters(UINT first, UINT last) override {
        if (last < first) return D3DERR_INVALIDCALL;
        glyphs_.beginUse();
        for (UINT c = first; c <= std::min<UINT>(last, 0x10FFFF); ++c) glyphs_.glyph(static_cast<wchar_t>(c));
        return S_OK;
    }
    HRESULT PreloadTextW(LPCWSTR text, INT count) override {
        if (!text) return D3DERR_INVALIDCALL;
        glyphs_.beginUse();
        for (wchar_t c : textView(text, count)) glyphs_.glyph(c);
        return S_OK;
    }

    INT DrawTextW(ID3DXSprite* sprite, LPCWSTR text, INT count, LPRECT rect, DWORD format, D3DCOLOR color) override {
        if (!text || !rect) return 0;
        std::wstring_view view = textView(text, count);
        glyphs_.beginUse();
        chars_.clear();
        advances_.clear();
        for (wchar_t c : view) {
            chars_.push_back(&glyphs_.glyph(c));
            advances_.push_back(chars_.back()->advance);
        }
        breakLines(view, advances_.data(), format, rect->right - rect->left, lines_);
        int lineHeight = face_->metrics().height;
        TextPlacement placement = placeLines(lines_, *rect, format, lineHeight);
        if (format & DT_CALCRECT) {
            *rect = placement.bounds;
            return placement.returnValue;
        }
        ID3DXSprite* drawer = sprite ? sprite : ownSprite();
        if (!drawer) return 0;
        if (!sprite && FAILED(drawer->Begin(D3DXSPRITE_ALPHABLEND))) return 0;
        bool drawn = drawLines(drawer, *rect, format, placement.top, lineHeight, color);
        if (!sprite) drawn = SUCCEEDED(drawer->End()) && drawn;
        return drawn ? placement.returnValue : 0;
    }

    HRESULT OnLostDevice() override { return sprite_ ? sprite_->OnLostDevice() : S_OK; }
    HRESULT OnResetDevice() override { return sprite_ ? sprite_->OnResetDevice() : S_OK; }

private:
    ~Font() override { safeRelease(sprite_); }

    static std::wstring_view textView(LPCWSTR text, INT count) {
        return count < 0 ? std::wstring_view(text) : std::wstring_view(text, static_cast<std::size_t>(count));
    }

    ID3DXSprite* ownSprite() {
        if (!sprite_ && FAILED(D3DXCreateSprite(device_, &sprite_))) sprite_ = nullptr;
        return sprite_;
    }

    bool drawLines(ID3DXSprite* sprite, RECT const& rect, DWORD format, int top, int lineHeight, D3DCOLOR color) {
        bool clip = !(format & DT_NOCLIP);
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            TextLine const& line = lines_[i];
            int x = lineLeft(line, rect, format), y = top + static_cast<int>(i) * lineHeight;
            for (std::size_t k = line.begin; k < line.end; ++k) {
                CachedGlyph const& glyph = *chars_[k];
                RECT source = glyph.source;
                int left = x + glyph.left, glyphTop = y + glyph.top;
                x += glyph.advance;
                if (!glyph.page) continue;
                if (clip && !clipGlyph(glyph, left, glyphTop, rect, source, left, glyphTop)) continue;
                D3DXVECTOR3 position(static_cast<float>(left), static_cast<float>(glyphTop), 0.0f);
                if (FAILED(sprite->Draw(glyph.page, &source, nullptr, &position, color))) return false;
            }
        }
        return true;
    }

    D3DXFONT_DESCW desc_;
    std::unique_ptr<port::gdi::FontFace> face_;
    GlyphCache glyphs_;
    ID3DXSprite* sprite_ = nullptr;  // made on the first draw without a caller's sprite
    // Work space of DrawTextW, kept to spare allocations.
    std::vector<CachedGlyph const*> chars_;
    std::vector<int> advances_;
    std::vector<TextLine> lines_;
};

}  // namespace

}  // namespace port::dx

HRESULT D3DXCreateFontW(IDirect3DDevice9* device, INT height, UINT width, UINT weight, UINT mipLevels, BOOL italic,
                        DWORD charSet, DWORD outputPrecision, DWORD quality, DWORD pitchAndFamily, LPCWSTR faceName,
                        ID3DXFont** font) {
    if (!device || !font) return D3DERR_INVALIDCALL;
    *font = nullptr;
    std::wstring face = faceName ? std::wstring(faceName).substr(0, port::gdi::kMaxFaceName) : std::wstring();
    int weightValue = weight == 0 ? FW_NORMAL : static_cast<int>(std::min<UINT>(weight, 1000));
    int widthValue = static_cast<int>(std::min<UINT>(width, port::gdi::kMaxPixelHeight));
    auto opened = port::gdi::FontFace::open({face, height, widthValue, weightValue, italic != FALSE});
    if (!opened) {
        port::dx::logLine("D3DXCreateFontW: no face can be opened for \"" + port::toUtf8(face) + "\"");
        return E_FAIL;
    }
    D3DXFONT_DESCW desc{height,
                        width,
                        weight,
                        mipLevels,
                        italic,
                        static_cast<BYTE>(charSet),
                        static_cast<BYTE>(outputPrecision),
                        static_cast<BYTE>(quality),
                        static_cast<BYTE>(pitchAndFamily),
                        {}};
    std::copy(face.begin(), face.end(), desc.FaceName);
    *font = new port::dx::Font(device, desc, std::move(opened));
    return S_OK;
}
