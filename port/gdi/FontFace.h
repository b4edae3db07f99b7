// A face realised at a size with Windows' metrics, on FreeType: what GDI's font objects and the
// D3DX font share (face lookup by Windows name, measuring, rasterising glyphs).
// Split over FontFace.cpp (sizes, metrics, glyphs) and FontRegistry.cpp (finding the face file:
// fonts installed from memory first, then fontconfig).
#pragma once

#include "port/gdi/wingdi.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace port::gdi {

// Sizes past this are clamped: a height from data must not make glyph images of any size.
constexpr int kMaxPixelHeight = 1024;
// A face name is cut to this many characters, as LOGFONT's face field holds.
constexpr std::size_t kMaxFaceName = 31;

// What CreateFontW and D3DXCreateFontW ask for.
struct FontRequest {
    std::wstring face;
    int height = 0;  // < 0 character (em) height, > 0 cell height, 0 default
    int width = 0;   // average character width, 0 the face's own
    int weight = 400;
    bool italic = false;
};

// TEXTMETRIC's numbers in whole pixels.
struct FaceMetrics {
    int height = 0;  // ascent + descent
    int ascent = 0;
    int descent = 0;
    int internalLeading = 0;
    int aveCharWidth = 0;
    int maxCharWidth = 0;
    int weight = 400;
    bool italic = false;
};

// ABC widths of one character in pixels, and its pen advance in whole pixels.
struct GlyphBox {
    float a = 0, b = 0, c = 0;
    int advance = 0;
};

// An 8-bit coverage image of a glyph; left is from the pen position, top from the cell's top.
struct GlyphImage {
    int left = 0, top = 0;
    unsigned width = 0, height = 0;
    std::vector<uint8_t> coverage;  // width * height, rows top first
};

// Where a face comes from: a file, or bytes installed from memory (kept alive by every face
// opened from them).
struct FaceSource {
    std::string path;
    std::shared_ptr<std::vector<uint8_t> const> bytes;
    long index = 0;
    bool bold = false;    // the face itself is bold
    bool italic = false;  // the face itself is italic or oblique
};

// The face a Windows name resolves to: a face installed from memory under that family name
// (best style match), else fontconfig's match for the name or its metric-compatible stand-in.
// False only when fontconfig finds nothing at all.
bool findFace(FontRequest const& request, FaceSource& source);

class FontFace {
public:
    // The face for the request at its size; null when no face file can be opened.
    static std::unique_ptr<FontFace> open(FontRequest const& request);
    ~FontFace();
    FontFace(FontFace const&) = delete;
    FontFace& operator=(FontFace const&) = delete;

    FaceMetrics const& metrics() const { return metrics_; }
    std::wstring const& family() const { return family_; }
    bool hasChar(char32_t c) const;
    // Widths of the character's glyph (the face's default glyph when it has none).
    GlyphBox box(char32_t c);
    // The character's image; false when the face has no glyph for it (image left empty).
    bool render(char32_t c, GlyphImage& image);
    // Supported code points up to `last`, as inclusive ranges in increasing order.
    std::vector<std::pair<char32_t, char32_t>> ranges(char32_t last) const;

private:
    struct Impl;
    explicit FontFace(std::unique_ptr<Impl> impl);
    bool load(unsigned glyph);

    std::unique_ptr<Impl> impl_;
    FaceMetrics metrics_;
    std::wstring family_;
};

// GetTextMetricsW's answer for the face.
void fillTextMetrics(FontFace& face, TEXTMETRICW& metrics);

// Registers the faces of a font file in memory; their count (0 for bytes FreeType cannot read).
// The id goes to unregisterMemoryFaces.
unsigned registerMemoryFaces(std::vector<uint8_t> bytes, std::uintptr_t& id);
bool unregisterMemoryFaces(std::uintptr_t id);

}  // namespace port::gdi
