// The glyph textures of an ID3DXFont: each character is rasterised once, on first use, into a
// managed A8L8 page (white, coverage in alpha), packed in rows. Managed pages survive a device
// reset. When the page limit is reached the cache starts over at the next beginUse: pages queued
// in a sprite stay alive through the sprite's own references.
#pragma once

#include "port/d3d9/d3d9.h"
#include "port/gdi/FontFace.h"

#include <unordered_map>
#include <vector>

namespace port::dx {

struct CachedGlyph {
    int advance = 0;             // pen advance in pixels (0 for characters the face lacks)
    int left = 0, top = 0;       // image offset from the pen and from the line's top
    IDirect3DTexture9* page = nullptr;  // null when there is nothing to draw (blank, missing)
    RECT source{};               // the image in the page
};

class GlyphCache {
public:
    GlyphCache(IDirect3DDevice9* device, port::gdi::FontFace& face);
    ~GlyphCache();
    GlyphCache(GlyphCache const&) = delete;
    GlyphCache& operator=(GlyphCache const&) = delete;

    // Call before taking glyphs for one draw: glyphs taken after it stay valid until the next call.
    void beginUse();
    CachedGlyph const& glyph(wchar_t c);
    std::size_t pageCount() const { return pages_.size(); }

private:
    void clear();
    bool place(port::gdi::GlyphImage const& image, CachedGlyph& glyph);
    bool newPage();

    IDirect3DDevice9* device_;
    port::gdi::FontFace& face_;
    std::unordered_map<wchar_t, CachedGlyph> glyphs_;
    std::vector<IDirect3DTexture9*> pages_;
    int pageSize_;
    int x_ = 0, y_ = 0, rowHeight_ = 0;  // the packing cursor in the last page
    bool full_ = false;
};

}  // namespace port::dx
