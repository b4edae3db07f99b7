// What the widgets that carry a text share: number lists as their keys write them, and the
// border ("RAND_SIZE") that places a widget's inner label inside it.
//
// The border keeps the size offset as the data expects it: "OFF" l t r b gives the label the
// pixel size 1 - (l + r), 1 - (t + b), one pixel more than the border would leave; screens are
// laid out against that.
#pragma once

#include <string>
#include <vector>

#include "engine/core/Types.h"

namespace Orvex {

class GUIRect;
class XMLNode;

// The blank-separated numbers of text; a piece that is not a usable number (not finite, or beyond
// kMaxMeasure) reads as 0 with one log line naming where (the key), the element's line and the
// text.
std::vector<float> widgetNumbers(std::wstring const& text, std::wstring const& where, u32 line);

// A label's place inside its widget from a "RAND_SIZE" element: "REL" and "OFF", each up to
// four numbers left, top, right, bottom (missing ones 0). With pairs set (the tooltip's form)
// one or two numbers x, y stand for left = right = x and top = bottom = y.
void applyLabelBorder(GUIRect& labelRect, XMLNode const& randSize, bool pairs);

}  // namespace Orvex
