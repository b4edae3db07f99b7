// A text to draw in one font with one style, its flags and rectangles. The bitmap renderer's
// BitmapFontText adds the laid-out lines.
#pragma once

#include <string>

#include "engine/core/Types.h"
#include "engine/gui/FontStyle.h"
#include "port/win32/windows_types.h"

namespace Orvex {

class Font;

// The DrawText flags fonts honour.
inline constexpr u32 kTextCenter = 0x1;
inline constexpr u32 kTextRight = 0x2;
inline constexpr u32 kTextVCenter = 0x4;
inline constexpr u32 kTextBottom = 0x8;
inline constexpr u32 kTextWordBreak = 0x10;
inline constexpr u32 kTextNoClip = 0x100;
inline constexpr u32 kTextCalcRect = 0x400;

class FontText {
public:
    FontText(Font* font, FontStyle const& style);
    FontText(FontText const& other);
    FontText& operator=(FontText const&) = delete;
    virtual ~FontText() = default;

    virtual FontText* clone() const { return new FontText(*this); }
    virtual void layout() {}

    std::wstring text;
    Font* font;
    FontStyle style;
    u32 format = 0;
    RECT rect{};
    RECT measured{};
};

}  // namespace Orvex
