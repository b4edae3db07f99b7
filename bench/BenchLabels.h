// The label set of the text-drawing benchmarks: short German captions with numbers and the
// euro sign, 120x24 boxes scattered over a 1920x1080 screen by a fixed generator, each with a
// colour. Header-only, for benchmark programs.
#pragma once

#include <string>
#include <vector>

#include "port/win32/windows_types.h"

namespace benchlabels {

inline constexpr unsigned kLabels = 2000;
inline constexpr unsigned kWidth = 1920, kHeight = 1080;
inline constexpr LONG kLabelW = 120, kLabelH = 24;

struct Label {
    std::wstring text;
    RECT rect;
    DWORD color;
};

inline std::vector<Label> makeLabels() {
    static wchar_t const* const words[] = {L"Karte", L"Stapel", L"K\u00f6nig", L"Punkte", L"Zug", L"5 \u20ac"};
    std::vector<Label> labels;
    unsigned seed = 12345;
    for (unsigned i = 0; i < kLabels; ++i) {
        seed = seed * 214013u + 2531011u;
        auto const x = static_cast<LONG>((seed >> 8) % (kWidth - kLabelW));
        seed = seed * 214013u + 2531011u;
        auto const y = static_cast<LONG>((seed >> 8) % (kHeight - kLabelH));
        labels.push_back({std::wstring(words[i % 6]) + L" " + std::to_wstring(i % 100),
                          RECT{x, y, x + kLabelW, y + kLabelH}, 0xFF000000u | (seed & 0xFFFFFF)});
    }
    return labels;
}

}  // namespace benchlabels
