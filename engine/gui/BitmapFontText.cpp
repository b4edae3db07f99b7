// Bitmap text layout: words, lines, wrapping, alignment, clipping and measuring.
#include "engine/gui/BitmapFontText.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "engine/gui/BitmapFont.h"
#include "engine/gui/BitmapFontData.h"

namespace Orvex {

namespace {

using Word = std::wstring;
using SourceLine = std::vector<Word>;

bool keepsSeparator(wchar_t c) { return c == L'-' || c == L'\\' || c == L'/'; }
bool isSeparator(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r' || keepsSeparator(c); }

std::vector<SourceLine> splitWords(std::wstring const& text) {
    std::vector<SourceLine> lines(1);
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        wchar_t const c = text[i];
        if (isSeparator(c)) {
            Word word = text.substr(start, i - start);
            if (keepsSeparator(c)) word += c;
            if (!word.empty()) lines.back().push_back(std::move(word));
            if (c == L'\n' || c == L'\r') {
                lines.emplace_back();
                if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
            }
            start = i + 1;
        } else if (i + 1 == text.size()) {
            lines.back().push_back(text.substr(start));
        }
    }
    while (!lines.empty() && lines.front().empty()) lines.erase(lines.begin());
    while (!lines.empty() && lines.back().empty()) lines.pop_back();
    return lines;
}

// Cuts a placed letter to the rectangle, moving its source edges in proportion; false when it
// lies wholly outside.
bool clipLetter(BitmapLetterLayout& letter, RECT const& r) {
    FRect& d = letter.dst;
    auto const left = static_cast<float>(r.left), right = static_cast<float>(r.right);
    auto const top = static_cast<float>(r.top), bottom = static_cast<float>(r.bottom);
    if (!(d.right > left && d.left < right && d.bottom > top && d.top < bottom)) return false;
    BitmapGlyph const* g = letter.glyph;
    float const x0 = d.left, x1 = d.right, y0 = d.top, y1 = d.bottom;
    float const gw = g ? g->width : 0.0f, gh = g ? g->height : 0.0f;
    float const gl = g ? static_cast<float>(g->left) : 0.0f, gt = g ? static_cast<float>(g->top) : 0.0f;
    if (x0 < left && left < x1) {
        letter.src.left = (left - x0) / (x1 - x0) * gw + gl;
        d.left = left;
    }
    if (x0 < right && right < x1) {
        letter.src.right = (right - x0) / (x1 - x0) * gw + gl;
        d.right = right;
    }
    if (y0 < top && top < y1) {
        letter.src.top = (top - y0) / (y1 - y0) * gh + gt;
        d.top = top;
    }
    if (y0 < bottom && bottom < y1) {
        letter.src.bottom = (bottom - y0) / (y1 - y0) * gh + gt;
        d.bottom = bottom;
    }
    return true;
}

}  // namespace

BitmapLetterLayout::BitmapLetterLayout(BitmapGlyph const* g, float const& scale) : glyph(g) {
    if (!g) return;
    src = FRect(static_cast<float>(g->left), static_cast<float>(g->top), static_cast<float>(g->right),
                static_cast<float>(g->bottom));
    float const pa = g->a * scale, pb = g->b * scale, pc = g->c * scale;
    overhang = std::min(pa, 0.0f);
    extent = std::max(pa, 0.0f) + pb + std::max(pc, 0.0f);
    advance = pa + pb + pc;
    inkRight = pa + pb + std::max(pc, 0.0f);
}

LONG truncateToLong(float v) {
    constexpr double kLimit = 2147483520.0;
    if (std::isnan(v)) return 0;
    return static_cast<LONG>(std::fmax(-kLimit, std::fmin(kLimit, static_cast<double>(v))));
}

u32 letterColor(BitmapLetterLayout const& letter, u32 foreground) {
    if (letter.colorMode == 1) return letter.color;
    if (letter.colorMode != 2) return foreground;
    u32 out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        u32 const a = (foreground >> shift) & 0xFF, b = (letter.color >> shift) & 0xFF;
        out |= ((a * b + 127) / 255) << shift;
    }
    return out;
}

void BitmapFontText::layout() {
    lines.clear();
    RECT const r = rect;
    if (format & kTextCalcRect) {
        auto const cx = static_cast<LONG>((static_cast<long long>(r.left) + r.right) / 2);
        auto const cy = static_cast<LONG>((static_cast<long long>(r.top) + r.bottom) / 2);
        if (text.empty())
            measured = RECT{cx, cy, cx, cy};
        else
            measured = RECT{r.right, r.bottom, r.left, r.top};
    }
    auto* bitmapFont = dynamic_cast<BitmapFont*>(font);
    BitmapFontData const* table = bitmapFont ? bitmapFont->glyphTable() : nullptr;
    if (!table) return;
    BitmapFontData const& data = *table;

    float s = bitmapFont->getHeight(true) * data.unitScale;
    if (extraScale >= 0.0f) s *= extraScale;
    float const h = s / data.unitScale;
    float const available = static_cast<float>(r.right) - static_cast<float>(r.left) - 0.5f;
    BitmapLetterLayout const blank(data.findGlyph(L' '), s);

    for (SourceLine const& source : splitWords(text)) {
        lines.emplace_back();
        bool afterHyphen = false;
        for (Word const& word : source) {
            std::vector<BitmapLetterLayout> letters;
            float wordWidth = 0.0f;
            for (wchar_t unit : word)
                if (BitmapGlyph const* glyph = data.findGlyph(unit)) {
                    letters.emplace_back(glyph, s);
                    wordWidth += letters.back().advance;
                }
            float const lead = lines.back().letters.empty() ? 0.0f : blank.advance;
            if ((format & kTextWordBreak) && !lines.back().letters.empty() &&
                available < lines.back().width + wordWidth + lead)
                lines.emplace_back();
            BitmapTextLine& line = lines.back();
            if (!line.letters.empty() && !afterHyphen) {
                line.width += blank.advance;
                line.letters.push_back(blank);
            }
            line.width += wordWidth;
            line.letters.insert(line.letters.end(), letters.begin(), letters.end());
            afterHyphen = !word.empty() && word.back() == L'-';
        }
    }

    auto const n = static_cast<float>(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        BitmapTextLine& line = lines[i];
        float const row = static_cast<float>(i) * h;
        float y = static_cast<float>(r.top) + row;
        if (format & kTextVCenter) y = std::trunc((static_cast<float>(r.bottom) + static_cast<float>(r.top) - n * h) * 0.5f + row);
        if (format & kTextBottom) y = std::trunc((static_cast<float>(r.bottom) - n * h) + row);
        float x = static_cast<float>(r.left);
        if (format & kTextCenter) x = std::trunc((static_cast<float>(r.right) + static_cast<float>(r.left) - line.width) * 0.5f);
        if (format & kTextRight) x = std::trunc(static_cast<float>(r.right) - line.width);
        std::vector<BitmapLetterLayout> kept;
        kept.reserve(line.letters.size());
        for (BitmapLetterLayout& letter : line.letters) {
            letter.dst = FRect(x + letter.overhang + data.offsets[0], y + data.offsets[1],
                               x + letter.extent + data.offsets[2], y + h + data.offsets[3]);
            x += letter.advance;
            if ((format & kTextNoClip) || clipLetter(letter, r)) kept.push_back(letter);
        }
        line.letters.swap(kept);
        if (format & kTextCalcRect)
            for (BitmapLetterLayout const& letter : line.letters) {
                measured.left = std::min(measured.left, truncateToLong(letter.dst.left));
                measured.top = std::min(measured.top, truncateToLong(letter.dst.top));
                measured.right = std::max(measured.right, truncateToLong(letter.dst.right));
                measured.bottom = std::max(measured.bottom, truncateToLong(letter.dst.bottom));
            }
    }
}

}  // namespace Orvex
