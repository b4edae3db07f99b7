// Fuzzes the glyph-table reader with font-file bytes: the property-file parse, the font styles,
// the "BITMAPFONT_DATA" and "BITMAPFONT" sections, then the bitmap text layout of each font in
// every alignment, wrapped and measured, in ordinary and extreme rectangles, and the halo
// copies of each style. Texture lists and private fonts name files: they are not opened here,
// and no device exists, so nothing is drawn.
#include <climits>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/core/XMLNode.h"
#include "engine/gui/BitmapFontText.h"
#include "engine/gui/D3DXFontInterface.h"
#include "engine/gui/FontStyle.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

void dropFileSections(Orvex::XMLNode& node) {
    std::vector<Orvex::XMLNode const*> drop;
    for (auto const& child : node.children())
        if (child->getName() == L"TEXTUREN" || child->getName() == L"FONT_RESOURCE") drop.push_back(child.get());
        else dropFileSections(*child);
    for (Orvex::XMLNode const* child : drop) node.removeChild(child);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, std::size_t size) {
    fuzz::quietLog();
    Orvex::XMLNode root;
    fuzz::readTree(data, size, root);
    dropFileSections(root);
    Orvex::D3DXFontInterface& fonts = Orvex::D3DXFontInterface::instance();
    fonts.setResourceSettleMs(0);
    fonts.loadConfig(root, L"fuzz.fnt");

    std::vector<Orvex::FontStyle> styles{Orvex::FontStyle()};
    std::vector<std::wstring> texts{L"Karo 10 - Herz/Pik\\Kreuz", L"\r\n\n \t-", L""};
    for (auto const& child : root.children()) {
        if (child->getName() == L"FONTSTYLE") {
            if (Orvex::FontStyle const* style = fonts.findFontStyle(child->getAttributeString(L"NAME", L"")))
                styles.push_back(*style);
        }
        if (Orvex::XMLNode const* letter = child->getChild(L"LETTER"))
            texts.push_back(letter->getAttributeString(L"TYPE", L"") + L" " + child->getAttributeString(L"NAME", L""));
    }
    for (Orvex::FontStyle const& style : styles) (void)Orvex::haloOffsets(style);

    RECT const rects[] = {{0, 0, 200, 60}, {50, 50, 40, 40}, {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {-7, 3, 9, 5}};
    Orvex::u32 const formats[] = {0, Orvex::kTextCenter | Orvex::kTextVCenter | Orvex::kTextWordBreak,
                                  Orvex::kTextRight | Orvex::kTextBottom | Orvex::kTextCalcRect,
                                  Orvex::kTextNoClip | Orvex::kTextWordBreak | Orvex::kTextCalcRect};
    for (auto const& child : root.children()) {
        if (child->getName() != L"BITMAPFONT") continue;
        Orvex::Font* font = fonts.findFont(child->getAttributeString(L"NAME", L""));
        if (!font) continue;
        for (std::wstring const& text : texts)
            for (RECT const& rect : rects)
                for (Orvex::u32 format : formats) {
                    Orvex::BitmapFontText laid(font, styles.back());
                    laid.text = text;
                    laid.rect = rect;
                    laid.measured = rect;
                    laid.format = format;
                    laid.extraScale = format == 0 ? 2.5f : -1.0f;
                    laid.layout();
                }
    }
    fonts.clearAll();
    return 0;
}
