// Reading the layout rectangle: parameter values, parameter sets, anchor names and the two
// point children of a "GUIRECT" element.
#include "engine/gui/GUIRect.h"

#include <cmath>

#include "engine/core/Logger.h"
#include "engine/core/ReadProblems.h"
#include "engine/core/XMLNode.h"

namespace Orvex {

namespace {

// The value of a set slot: which components of GUIRectAxis an axis uses.
struct AxisFields {
    float GUIRectAxis::* rel;
    float GUIRectAxis::* off;
    float GUIRectAxis::* screen;
};
constexpr AxisFields kAxisX{&GUIRectAxis::relX, &GUIRectAxis::offX, &GUIRectAxis::screenX};
constexpr AxisFields kAxisY{&GUIRectAxis::relY, &GUIRectAxis::offY, &GUIRectAxis::screenY};

// The anchor bits of one axis: low edge, centre, high edge.
struct AxisBits {
    int low;
    int centre;
    int high;
};
constexpr AxisBits kBitsY{GUIRect::kTop, GUIRect::kVCentre, GUIRect::kBottom};
constexpr AxisBits kBitsX{GUIRect::kLeft, GUIRect::kHCentre, GUIRect::kRight};

// Combines the first point (anchor a1) and the second (anchor a2) on one axis, each component
// alike, into the position and size sets.
void combineAxis(GUIRectAxis const& p1, int a1, GUIRectAxis const& p2, int a2, AxisFields const& f,
                 AxisBits const& bits, GUIRectAxis& position, GUIRectAxis& size) {
    if (!(a1 & (bits.low | bits.centre | bits.high))) return;
    for (float GUIRectAxis::* m : {f.rel, f.off, f.screen}) {
        float const v1 = p1.*m;
        float const v2 = p2.*m;
        if (a1 & bits.low) {
            if (a2 & bits.centre) size.*m = 2.0f * (v2 - v1);
            else if (a2 & bits.high) size.*m = v2 - v1;
            position.*m = v1;
        } else if (a1 & bits.centre) {
            if (a2 & bits.low) size.*m = 2.0f * (v1 - v2);
            else if (a2 & bits.high) size.*m = 2.0f * (v2 - v1);
            position.*m = v1 - size.*m / 2.0f;
        } else {
            if (a2 & bits.low) size.*m = v1 - v2;
            else if (a2 & bits.centre) size.*m = 2.0f * (v1 - v2);
            position.*m = v1 - size.*m;
        }
    }
}

void readValue(XMLNode const& node, wchar_t const* key, float& out) {
    if (XMLAttribute const* a = node.getAttribute(key)) out = parseRectValue(a->getString());
}

}  // namespace

float parseRectValue(std::wstring const& text) {
    XMLProperty const words(text);
    XMLValueTokens tokens = words.split(L" ");
    if (tokens.getCount() == 0) return 0.0f;
    double value = tokens.get(0)->getDouble();
    if (tokens.getCount() >= 2) {
        double const divisor = tokens.get(1)->getDouble();
        if (divisor == 0.0) {
            logWarning(L"GUI rectangle value \"" + text + L"\" divides by zero; read as 0");
            return 0.0f;
        }
        value /= divisor;
    }
    // Beyond kMaxMeasure a value is a data error; the bound keeps every sum and product of the
    // rectangle maths finite.
    if (!std::isfinite(value) || std::fabs(value) > kMaxMeasure) {
        logWarning(L"GUI rectangle value \"" + text + L"\" is out of range; read as 0");
        return 0.0f;
    }
    return static_cast<float>(value);
}

void GUIRectAxis::load(XMLNode const& node) {
    *this = GUIRectAxis();
    readValue(node, L"X_OFF", offX);
    readValue(node, L"X_REL", relX);
    readValue(node, L"Y_OFF", offY);
    readValue(node, L"Y_REL", relY);
    readValue(node, L"X_REL_SCREEN", screenX);
    readValue(node, L"Y_REL_SCREEN", screenY);
}

GUIRectAxis GUIRectAxis::add(GUIRectAxis const& o) const {
    return {relX + o.relX, relY + o.relY, offX + o.offX, offY + o.offY, screenX + o.screenX, screenY + o.screenY};
}

int GUIRect::anchorOfName(std::wstring const& name) {
    struct Entry {
        wchar_t const* a;
        wchar_t const* b;
        int bits;
    };
    static constexpr Entry kNames[] = {
        {L"POS_TL", L"POS_LT", kTop | kLeft},     {L"POS_TR", L"POS_RT", kTop | kRight},
        {L"POS_TC", L"POS_CT", kTop | kHCentre},  {L"POS_CL", L"POS_LC", kVCentre | kLeft},
        {L"POS_CR", L"POS_RC", kVCentre | kRight}, {L"POS_CC", L"POS_CC", kVCentre | kHCentre},
        {L"POS_BL", L"POS_LB", kBottom | kLeft},  {L"POS_BR", L"POS_RB", kBottom | kRight},
        {L"POS_BC", L"POS_CB", kBottom | kHCentre}, {L"SIZE", L"SIZE", kSize},
    };
    for (Entry const& e : kNames)
        if (name == e.a || name == e.b) return e.bits;
    return 0;
}

void GUIRect::load(XMLNode const& node) {
    if (XMLAttribute const* a = node.getAttribute(L"PARAMS_X")) xAspectMode = a->getString() == L"AS_VERH" ? 1 : 0;
    if (XMLAttribute const* a = node.getAttribute(L"PARAMS_Y")) yAspectMode = a->getString() == L"AS_VERH" ? 1 : 0;

    struct Slot {
        GUIRectAxis params;
        int anchor;
    };
    Slot slots[2] = {{position, kTopLeft}, {size, kSize}};
    int used = 0;
    for (XMLNode const* child : node.children()) {
        std::wstring const& name = child->getName();
        if (name == L"PARAMS") {
            aspect.load(*child);
            continue;
        }
        if (used >= 2) continue;
        Slot& slot = slots[used++];
        slot.params.load(*child);
        if (int const bits = anchorOfName(name)) slot.anchor = bits;
        if (name != L"SIZE") anchor = slot.anchor;
    }

    // A second point given as a size replaces the whole size set (both axes) before the
    // position is placed by it.
    bool const firstIsPoint = slots[0].anchor & (kTop | kVCentre | kBottom | kLeft | kHCentre | kRight);
    if (firstIsPoint && (slots[1].anchor & kSize)) size = slots[1].params;
    combineAxis(slots[0].params, slots[0].anchor, slots[1].params, slots[1].anchor, kAxisY, kBitsY, position, size);
    combineAxis(slots[0].params, slots[0].anchor, slots[1].params, slots[1].anchor, kAxisX, kBitsX, position, size);
}

}  // namespace Orvex
