// The story file's number, colour, rectangle and list forms.
#include "game/story/StoryRead.h"

#include <cfloat>
#include <cmath>

namespace Solitaire {

namespace {

std::wstring quoted(std::wstring_view key) { return L"\"" + std::wstring(key) + L"\""; }

}  // namespace

void readStoryNumber(Orvex::XMLNode const& node, std::wstring_view key, float& value, ReadProblems& problems) {
    std::wstring const* text = attributeText(node, key);
    if (!text) return;
    float pieces[2];
    ReadProblems refused;
    std::size_t const count = readFloats(node, key, pieces, -FLT_MAX, FLT_MAX, refused);
    if (count == 0 && refused.empty()) {
        value = 0.0f;  // an empty text reads as the number 0, as every number of the file does
        return;
    }
    if (count > 1 && pieces[1] == 0.0f) {
        problems.add(quoted(key) + L" divides by 0", node.getLine());
        return;
    }
    float const read = count > 1 ? pieces[0] / pieces[1] : pieces[0];
    // Every story number is a place or a size of a rectangle.
    if (count > 0 && std::fabs(read) <= kMaxMeasure)
        value = read;
    else
        problems.add(Orvex::refusedNumbers(key, *text, -kMaxMeasure, kMaxMeasure), node.getLine());
}

void readStoryRange(Orvex::XMLNode const& node, std::wstring_view key, float& low, float& high,
                    ReadProblems& problems, float limit) {
    D3DXVECTOR2 range(low, high);
    readFloatPair(node, key, range, limit, problems);
    low = range.x;
    high = range.y;
}

void readStoryColour(Orvex::XMLNode const& node, std::wstring_view key, D3DXCOLOR& value) {
    if (Orvex::XMLAttribute const* attribute = node.getAttribute(key)) value = D3DXCOLOR(static_cast<DWORD>(attribute->getHex()));
}

void readStoryColourPair(Orvex::XMLNode const& node, std::wstring_view key, D3DXCOLOR& first, D3DXCOLOR& second) {
    Orvex::XMLAttribute const* attribute = node.getAttribute(key);
    if (!attribute) return;
    Orvex::XMLValueTokens const pieces = attribute->split(L" ");
    if (pieces.getCount() == 0) return;
    first = D3DXCOLOR(static_cast<DWORD>(pieces.get(0)->getHex()));
    second = pieces.getCount() > 1 ? D3DXCOLOR(static_cast<DWORD>(pieces.get(1)->getHex())) : first;
}

D3DXVECTOR4 readStoryRect(Orvex::XMLNode const& node, StoryRectForm form, ReadProblems& problems) {
    D3DXVECTOR4 r(0.0f, 0.0f, 0.0f, 0.0f);
    readStoryNumber(node, L"L", r.x, problems);
    readStoryNumber(node, L"T", r.y, problems);
    bool const centres = form == StoryRectForm::kPosition;
    bool const leftCentre = centres && node.getAttribute(L"LC");
    bool const topCentre = centres && node.getAttribute(L"TC");
    if (leftCentre) readStoryNumber(node, L"LC", r.x, problems);
    if (topCentre) readStoryNumber(node, L"TC", r.y, problems);
    bool const right = node.getAttribute(L"R") != nullptr;
    bool const bottom = node.getAttribute(L"B") != nullptr;
    readStoryNumber(node, L"R", r.z, problems);
    readStoryNumber(node, L"B", r.w, problems);
    bool const fromFar = form != StoryRectForm::kTexture;
    // One axis: near and far edge, whether the far edge was given, whether near is a centre.
    auto span = [&](std::wstring_view key, float& nearEdge, float& farEdge, bool farGiven, bool centre) {
        if (!node.getAttribute(key)) return;
        float size = 0.0f;
        readStoryNumber(node, key, size, problems);
        if (fromFar && farGiven) {
            nearEdge = farEdge - size;
        } else if (centre) {
            nearEdge -= size * 0.5f;
            farEdge = nearEdge + size;
        } else {
            farEdge = nearEdge + size;
        }
    };
    span(L"W", r.x, r.z, right, leftCentre);
    span(L"H", r.y, r.w, bottom, topCentre);
    return r;
}

void appendStoryValues(Orvex::XMLNode const* node, std::vector<std::wstring>& list, std::size_t limit,
                       ReadProblems& problems) {
    if (!node) return;
    for (Orvex::u32 i = 0; i < node->getValueCount(); ++i) {
        if (list.size() >= limit) {
            noteStoryCap(problems, node->getName(), limit, node->getLine());
            return;
        }
        list.push_back(node->getValue(i)->getStringCopy());
    }
}

void readStoryNameList(Orvex::XMLNode& node, std::wstring_view key, std::vector<std::wstring>& list,
                       std::size_t limit, ReadProblems& problems) {
    if (Orvex::XMLAttribute const* attribute = node.getAttribute(key)) {
        if (list.size() < limit)
            list.push_back(attribute->getStringCopy());
        else
            noteStoryCap(problems, key, limit, node.getLine());
    }
    appendStoryValues(node.getChild(key, 0), list, limit, problems);
}

void noteStoryCap(ReadProblems& problems, std::wstring_view name, std::size_t limit, Orvex::u32 line) {
    problems.add(L"more than " + std::to_wstring(limit) + L" " + quoted(name) + L" entries; the rest are left out", line);
}

}  // namespace Solitaire
