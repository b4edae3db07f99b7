// A FreeType face at a Windows-style size: cell and character heights from the face's Windows
// ascent and descent, average-width scaling, synthetic bold and italic where the face has none,
// light hinting with whole-pixel advances, 8-bit glyph images.
#include "port/gdi/FontFace.h"
#include "port/gdi/FreeTypeLibrary.h"
#include "port/win32/win32_text.h"

#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <unordered_map>

namespace port::gdi {

namespace {

// A height of 0 asks for the default size: this cell height.
constexpr int kDefaultCellHeight = 16;
// Italic made by shearing, as much as a typical oblique (about 12 degrees), in 16.16.
constexpr FT_Fixed kObliqueShear = 0x0366A;
constexpr FT_Int32 kLoadFlags = FT_LOAD_TARGET_LIGHT | FT_LOAD_NO_BITMAP;

long floor64(FT_Pos v) { return static_cast<long>(v >> 6); }
long ceil64(FT_Pos v) { return static_cast<long>((v + 63) >> 6); }

}  // namespace

struct FontFace::Impl {
    FT_Face face = nullptr;
    std::shared_ptr<std::vector<uint8_t> const> bytes;  // the memory a memory face reads
    FT_Pos boldStrength = 0;                            // 26.6 pixels added by synthetic bold
    std::unordered_map<unsigned, GlyphBox> boxes;       // by glyph index

    ~Impl() {
        if (!face) return;
        FreeTypeLock ft;
        FT_Done_Face(face);
    }
};

FontFace::FontFace(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
FontFace::~FontFace() = default;

std::unique_ptr<FontFace> FontFace::open(FontRequest const& request) {
    FaceSource source;
    if (!findFace(request, source)) return nullptr;
    auto impl = std::make_unique<Impl>();
    {
        FreeTypeLock ft;
        if (!ft.library()) return nullptr;
        FT_Error error = source.bytes ? FT_New_Memory_Face(ft.library(), source.bytes->data(),
                                                           static_cast<FT_Long>(source.bytes->size()), source.index,
                                                           &impl->face)
                                      : FT_New_Face(ft.library(), source.path.c_str(), source.index, &impl->face);
        if (error != 0) {
            impl->face = nullptr;
            return nullptr;
        }
    }
    impl->bytes = source.bytes;
    FT_Face face = impl->face;
    if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0) return nullptr;
    if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0 && face->num_charmaps > 0)
        FT_Set_Charmap(face, face->charmaps[0]);

    // Windows measures the cell by the OS/2 table's Windows ascent and descent.
    double upem = face->units_per_EM;
    double ascentUnits = face->ascender, descentUnits = -face->descender, avgUnits = 0;
    int faceWeight = (face->style_flags & FT_STYLE_FLAG_BOLD) ? 700 : 400;
    if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2)); os2 && os2->version != 0xFFFF) {
        if (os2->usWinAscent + os2->usWinDescent > 0) {
            ascentUnits = os2->usWinAscent;
            descentUnits = os2->usWinDescent;
        }
        avgUnits = os2->xAvgCharWidth;
        if (os2->usWeightClass) faceWeight = os2->usWeightClass;
    }
    if (ascentUnits + descentUnits <= 0) ascentUnits = upem;
    if (avgUnits <= 0) avgUnits = upem / 2;

    int height = std::clamp(request.height, -kMaxPixelHeight, kMaxPixelHeight);
    if (height == 0) height = kDefaultCellHeight;
    double em = height > 0 ? height * upem / (ascentUnits + descentUnits) : -height;
    int width = std::clamp(request.width, 0, kMaxPixelHeight);
    double naturalAverage = avgUnits * em / upem;
    double emX = width > 0 && naturalAverage > 0 ? em * width / naturalAverage : em;
    emX = std::clamp(emX, 1.0, 4.0 * kMaxPixelHeight);
    if (FT_Set_Char_Size(face, std::lround(emX * 64), std::lround(std::max(em, 1.0) * 64), 72, 72) != 0) return nullptr;

    bool synthBold = request.weight >= 600 && faceWeight < 600;
    bool synthItalic = request.italic && !(face->style_flags & FT_STYLE_FLAG_ITALIC) && !source.italic;
    if (synthBold) impl->boldStrength = std::max<FT_Pos>(64, std::lround(em * 64 / 24.0) & ~63);
    if (synthItalic) {
        FT_Matrix shear{0x10000, kObliqueShear, 0, 0x10000};
        FT_Set_Transform(face, &shear, nullptr);
    }

    FaceMetrics m;
    m.ascent = static_cast<int>(std::lround(ascentUnits * em / upem));
    m.descent = height > 0 ? height - m.ascent : static_cast<int>(std::lround(descentUnits * em / upem));
    m.height = m.ascent + m.descent;
    m.internalLeading = std::max(0, m.height - static_cast<int>(std::lround(em)));
    m.aveCharWidth = width > 0 ? width : static_cast<int>(std::lround(avgUnits * emX / upem));
    m.maxCharWidth = static_cast<int>(std::lround((face->bbox.xMax - face->bbox.xMin) * emX / upem)) +
                     static_cast<int>(impl->boldStrength >> 6);
    m.weight = synthBold ? request.weight : faceWeight;
    m.italic = request.italic || (face->style_flags & FT_STYLE_FLAG_ITALIC);

    std::unique_ptr<FontFace> result(new FontFace(std::move(impl)));
    result->metrics_ = m;
    result->family_ = face->family_name ? port::fromUtf8(face->family_name) : std::wstring();
    return result;
}

bool FontFace::load(unsigned glyph) {
    FT_Face face = impl_->face;
    if (FT_Load_Glyph(face, glyph, kLoadFlags) != 0) return false;
    FT_GlyphSlot slot = face->glyph;
    if (impl_->boldStrength && slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        FT_Outline_EmboldenXY(&slot->outline, impl_->boldStrength, 0);
        slot->advance.x += impl_->boldStrength;
    }
    return true;
}

bool FontFace::hasChar(char32_t c) const { return FT_Get_Char_Index(impl_->face, c) != 0; }

GlyphBox FontFace::box(char32_t c) {
    unsigned glyph = FT_Get_Char_Index(impl_->face, c);
    if (auto known = impl_->boxes.find(glyph); known != impl_->boxes.end()) return known->second;
    GlyphBox box;
    if (load(glyph)) {
        FT_GlyphSlot slot = impl_->face->glyph;
        box.advance = static_cast<int>((slot->advance.x + 32) >> 6);
        if (slot->format == FT_GLYPH_FORMAT_OUTLINE && slot->outline.n_points > 0) {
            FT_BBox cbox;
            FT_Outline_Get_CBox(&slot->outline, &cbox);
            box.a = static_cast<float>(floor64(cbox.xMin));
            box.b = static_cast<float>(ceil64(cbox.xMax) - floor64(cbox.xMin));
        }
        box.c = static_cast<float>(box.advance) - box.a - box.b;
    }
    impl_->boxes.emplace(glyph, box);
    return box;
}

bool FontFace::render(char32_t c, GlyphImage& image) {
    image = GlyphImage{};
    unsigned glyph = FT_Get_Char_Index(impl_->face, c);
    if (glyph == 0 || !load(glyph)) return false;
    FT_GlyphSlot slot = impl_->face->glyph;
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE && slot->outline.n_points == 0) return true;  // a blank
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return false;
    FT_Bitmap const& bitmap = slot->bitmap;
    if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) return false;
    image.left = slot->bitmap_left;
    image.top = metrics_.ascent - slot->bitmap_top;
    image.width = bitmap.width;
    image.height = bitmap.rows;
    image.coverage.resize(static_cast<std::size_t>(bitmap.width) * bitmap.rows);
    for (unsigned y = 0; y < bitmap.rows; ++y) {
        unsigned char const* row = bitmap.pitch >= 0 ? bitmap.buffer + static_cast<std::size_t>(y) * bitmap.pitch
                                                     : bitmap.buffer + static_cast<std::size_t>(bitmap.rows - 1 - y) *
                                                                           static_cast<std::size_t>(-bitmap.pitch);
        std::copy(row, row + bitmap.width, image.coverage.begin() + static_cast<std::ptrdiff_t>(y) * bitmap.width);
    }
    return true;
}

std::vector<std::pair<char32_t, char32_t>> FontFace::ranges(char32_t last) const {
    std::vector<std::pair<char32_t, char32_t>> result;
    FT_UInt glyph = 0;
    for (FT_ULong c = FT_Get_First_Char(impl_->face, &glyph); glyph != 0 && c <= last;
         c = FT_Get_Next_Char(impl_->face, c, &glyph)) {
        auto code = static_cast<char32_t>(c);
        if (!result.empty() && result.back().second + 1 == code)
            result.back().second = code;
        else
            result.emplace_back(code, code);
    }
    return result;
}

}  // namespace port::gdi
