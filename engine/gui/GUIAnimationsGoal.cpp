// Reading a GUI window's animation goal: its own keys, then the rectangle, options and draw
// options over the bases it starts from.
#include "engine/gui/GUIAnimationsGoal.h"

#include "engine/core/ReadProblems.h"
#include "engine/core/XMLAttribute.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/GUISystem.h"

namespace Orvex {

namespace {

struct WordValue {
    wchar_t const* word;
    int value;
};

constexpr WordValue kTextureModes[] = {
    {L"STATIC", GUIAnimationsGoal::kStatic},
    {L"START_GOAL", GUIAnimationsGoal::kStartGoal},
    {L"STATIC_GOAL", GUIAnimationsGoal::kStaticGoal},
    {L"START_STATIC", GUIAnimationsGoal::kStartStatic},
};

}  // namespace

GUIAnimationsGoal::GUIAnimationsGoal(XMLNode& node, GUIRect const* baseRect, GUIDrawOptions const* baseDrawOptions,
                                     GUIWindowOptions const* baseOptions) {
    if (baseRect) rect = *baseRect;
    if (baseDrawOptions) drawOptions = *baseDrawOptions;
    if (baseOptions) options = *baseOptions;
    readKeys(node);
    if (XMLNode const* child = node.getChild(L"GUIRECT")) rect.load(*child);
    if (XMLNode const* child = node.getChild(L"OPTIONS")) options.load(*child);
    if (XMLNode* child = node.getChild(L"DRAWOPTIONS")) drawOptions.load(*child);
}

void GUIAnimationsGoal::readKeys(XMLNode const& node) {
    if (XMLAttribute const* attribute = node.getAttribute(L"NAME")) name = attribute->getString();
    ReadProblems problems;
    // A negative speed would hold the track at its start: the goal would never be reached.
    readDouble(node, L"SPEED", speed, 0.0, kMaxMeasure, problems);
    interpolateRects = node.getAttributeBool(L"INTERPOLATE_GUIRECTS", interpolateRects);
    if (XMLAttribute const* attribute = node.getAttribute(L"INTERPOLATE_GUIRECT_MODE")) {
        rectMode = 0;
        XMLValueTokens words = attribute->split(L" ");
        for (u32 i = 0; i < words.getCount(); ++i) {
            std::wstring const& word = words.get(i)->getString();
            if (word == L"POS")
                rectMode |= kRectPosition;
            else if (word == L"SIZE")
                rectMode |= kRectSize;
            else if (word == L"PARAM")
                rectMode |= kRectAspect;
            else if (word == L"ALL")
                rectMode |= kRectAll;
            else if (word == L"NONE")
                rectMode = 0;
        }
    }
    interpolateDrawOptions = node.getAttributeBool(L"INTERPOLATE_DRAWOPTIONS", interpolateDrawOptions);
    interpolateOptions = node.getAttributeBool(L"INTERPOLATE_OPTIONS", interpolateOptions);
    if (XMLAttribute const* attribute = node.getAttribute(L"INTERPOLATE_TEXTURES")) {
        XMLValueTokens words = attribute->split(L" ");
        int* targets[] = {&lookMode, &layerMode};
        for (u32 i = 0; i < words.getCount() && i < 2; ++i)
            for (WordValue const& mode : kTextureModes)
                if (words.get(i)->getString() == mode.word) *targets[i] = mode.value;
    }
    readMeasure(node, L"UEBERSCHWING_PERC", overshootPercent, problems);
    readMeasure(node, L"UEBERSCHWING_TIME", overshootTime, problems);
    readMeasure(node, L"UEBERSCHWING_TIME_VERH", overshootSplit, problems);
    overshootSplit = overshootSplit < 0.0f ? 0.0f : (overshootSplit > 1.0f ? 1.0f : overshootSplit);
    if (!problems.empty()) problems.log(L"Goal \"" + name + L"\"", GUISystem::loadingSource(), node.getLine());
}

}  // namespace Orvex
