// Reading a GUI window's draw options and its draw-mode pairs.
#include "engine/gui/GUIDrawOptions.h"

#include "engine/core/XMLNode.h"
#include "engine/render/SpriteRect.h"

namespace Orvex {

namespace {

constexpr float kByteToUnit = 0.003921569f;

// The draw-mode words of a text ORed.
int parseDrawModes(XMLProperty const& text) {
    XMLValueTokens words = text.split(L" ");
    int bits = 0;
    for (u32 i = 0; i < words.getCount(); ++i) bits |= parseSpriteDrawMode(words.get(i)->getString());
    return bits;
}

}  // namespace

D3DXCOLOR colorFromARGB(u32 argb) {
    return D3DXCOLOR(static_cast<float>((argb >> 16) & 0xFF) * kByteToUnit,
                     static_cast<float>((argb >> 8) & 0xFF) * kByteToUnit, static_cast<float>(argb & 0xFF) * kByteToUnit,
                     static_cast<float>((argb >> 24) & 0xFF) * kByteToUnit);
}

void GUIDrawType::load(XMLNode const& node) {
    if (XMLAttribute const* a = node.getAttribute(L"X")) x = parseDrawModes(*a);
    if (XMLAttribute const* a = node.getAttribute(L"Y")) y = parseDrawModes(*a);
}

void GUIDrawOptions::load(XMLNode const& node) {
    if (XMLAttribute const* a = node.getAttribute(L"ALPHA")) alpha = a->getDouble();
    if (XMLAttribute const* a = node.getAttribute(L"ACTIVE_BLEND")) activeBlend = a->getDouble();
    if (XMLAttribute const* a = node.getAttribute(L"INACTIVE_BLEND")) inactiveBlend = a->getDouble();
    if (XMLAttribute const* a = node.getAttribute(L"MODULATE_COLOR")) modulateColor = colorFromARGB(a->getHex());
    if (XMLAttribute const* a = node.getAttribute(L"ACCUMULATE_ALPHA_FROM_ROOT")) accumulateAlphaFromRoot = a->getBool();
    if (XMLAttribute const* a = node.getAttribute(L"EBENE")) layer = a->getInt();
    if (XMLAttribute const* a = node.getAttribute(L"CROSSBLEND")) crossblend = a->getBool();
    if (XMLAttribute const* a = node.getAttribute(L"PLAY_ANI_ON_FOCUS")) playAniOnFocus = a->getBool();
    if (XMLAttribute const* a = node.getAttribute(L"DRAW_USE_FRECT")) drawUseFRect = a->getBool();
    if (XMLNode const* c = node.getChild(L"DRAW_TYPE")) drawType.load(*c);
    if (XMLNode const* c = node.getChild(L"SHAPE_DRAW_TYPE")) shapeDrawType.load(*c);
    if (XMLNode const* c = node.getChild(L"BACK_DRAW_TYPE")) backDrawType.load(*c);
    if (XMLNode const* c = node.getChild(L"FORE_DRAW_TYPE")) foreDrawType.load(*c);
    textures.load(node);
}

}  // namespace Orvex
