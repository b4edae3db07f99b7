// Reading the story file's number, colour, rectangle and list forms. The file is untrusted: a
// value that is not a finite number (a division by 0 included), and a place or size beyond
// kMaxMeasure, is refused and noted in the reader's problem list, which its object logs as one
// line naming file and line; the field keeps its value. Lists are bounded by the limit their
// caller gives, the rest noted and left out.
//
// Forms:
// - a story number: one number, or two separated by a blank meaning the first divided by the
//   second ("1 3" is a third);
// - a range: one number setting both ends, or two numbers for the two ends;
// - a colour: hexadecimal AARRGGBB; a colour pair: one colour setting both, or two;
// - a rectangle ("L", "T", "R", "B", "W", "H" in story numbers; positions also "LC", "TC"):
//   values not given are 0, and "W" ("H") works from the edges given before it (see StoryRectForm).
#pragma once

#include <cfloat>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/core/XMLNode.h"
#include "game/look/ReadProblems.h"
#include "port/d3dx9/d3dx9math.h"

namespace Solitaire {

// How "W" and "H" complete a rectangle.
enum class StoryRectForm {
    kTexture,   // texture rectangles: right := left + W, bottom := top + H
    kText,      // text rectangles and animation records: from the right (bottom) edge when given
    kPosition,  // positions: as kText, and "LC"/"TC" mark a centre that W/H spread around
};

// A story number into value; absent leaves it.
void readStoryNumber(Orvex::XMLNode const& node, std::wstring_view key, float& value, ReadProblems& problems);
// One or two numbers within [-limit, limit] into low and high (one sets both); absent leaves
// them. A range of sizes, places or turns takes kMaxMeasure, one of times and speeds only asks
// for finite numbers.
void readStoryRange(Orvex::XMLNode const& node, std::wstring_view key, float& low, float& high,
                    ReadProblems& problems, float limit = FLT_MAX);
// Hexadecimal AARRGGBB; absent leaves the colour.
void readStoryColour(Orvex::XMLNode const& node, std::wstring_view key, D3DXCOLOR& value);
// One colour setting both, or two; absent leaves them.
void readStoryColourPair(Orvex::XMLNode const& node, std::wstring_view key, D3DXCOLOR& first, D3DXCOLOR& second);
// The rectangle keys of node as (left, top, right, bottom), starting from 0.
D3DXVECTOR4 readStoryRect(Orvex::XMLNode const& node, StoryRectForm form, ReadProblems& problems);

// Appends the values of node (null: nothing) to list while it holds fewer than limit entries;
// what is left out is noted once.
void appendStoryValues(Orvex::XMLNode const* node, std::vector<std::wstring>& list, std::size_t limit,
                       ReadProblems& problems);
// An unlock list: the attribute key (one name) first, then the values of the first child key.
void readStoryNameList(Orvex::XMLNode& node, std::wstring_view key, std::vector<std::wstring>& list,
                       std::size_t limit, ReadProblems& problems);

// Notes that more than limit elements of that name were given and the rest are left out.
void noteStoryCap(ReadProblems& problems, std::wstring_view name, std::size_t limit, Orvex::u32 line);

// read(child) for the first limit children of that name, in order; more are noted once.
template <class Read>
void readStoryChildren(Orvex::XMLNode& node, std::wstring_view name, std::size_t limit, ReadProblems& problems,
                       Read read) {
    std::size_t taken = 0;
    for (Orvex::XMLNode* child : node.children()) {
        if (child->getName() != name) continue;
        if (taken++ >= limit) {
            noteStoryCap(problems, name, limit, child->getLine());
            return;
        }
        read(*child);
    }
}

}  // namespace Solitaire
