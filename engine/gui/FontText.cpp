// Text objects: the copy takes text, font, style, flags and target rectangle.
#include "engine/gui/FontText.h"

namespace Orvex {

FontText::FontText(Font* f, FontStyle const& s) : font(f), style(s) {}

FontText::FontText(FontText const& other)
    : text(other.text), font(other.font), style(other.style), format(other.format), rect(other.rect) {}

}  // namespace Orvex
