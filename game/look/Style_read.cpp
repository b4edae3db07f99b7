// Reading a "STYLE" definition (the first child element of each name counts) and writing the
// few keys the writer gives.
#include <sstream>

#include "engine/core/Logger.h"
#include "game/look/Style.h"
#include "game/look/StyleReading.h"

namespace Solitaire {

namespace {

constexpr wchar_t const* kSelectElements[StyleValues::kSelectKinds] = {
    L"SELECT_ERROR", L"SELECT_MOVEABLE", L"SELECT_ACCEPT", L"SELECT_NACCEPT", L"SELECT_HASLEGALMOVE",
    L"SELECT_HASGOALMOVE"};

// A key of "SPEEDS"; the turn and the scale a removed card goes to are a card's measures, read
// within kMaxMeasure, the speeds and waits only finite.
struct SpeedKey {
    wchar_t const* key;
    float StyleValues::*field;
    bool measure = false;
};

constexpr SpeedKey kSpeedKeys[] = {
    {L"ANORDNENSPEED", &StyleValues::arrangeSpeed},
    {L"ANORDNENSPEED_AUFDECKEN", &StyleValues::arrangeSpeedReveal},
    {L"ANORDNENSPEED_MOVE", &StyleValues::arrangeSpeedMove},
    {L"ANORDNENSPEED_AUTO", &StyleValues::arrangeSpeedAuto},
    {L"ANORDNENSPEED_UNDO", &StyleValues::arrangeSpeedUndo},
    {L"ANORDNENSPEED_SPEED_MULT", &StyleValues::arrangeSpeedMult},
    {L"ANORDNENSPEED_MAX_LIN_DIST", &StyleValues::arrangeMaxLinDist},
    {L"MAKE_INVISIBLE_SPEED", &StyleValues::makeInvisibleSpeed},
    {L"MAKE_VISIBLE_SPEED", &StyleValues::makeVisibleSpeed},
    {L"UNDO_VISIBILITY_SPEED", &StyleValues::undoVisibilitySpeed},
    {L"MAKE_ALPHA0_SPEED", &StyleValues::makeAlpha0Speed},
    {L"MAKE_ALPHA1_SPEED", &StyleValues::makeAlpha1Speed},
    {L"UNDO_ALPHA_SPEED", &StyleValues::undoAlphaSpeed},
    {L"FADEOUT_ROTATION", &StyleValues::fadeoutRotation, true},
    {L"FADEOUT_SCALE", &StyleValues::fadeoutScale, true},
    {L"FADEOUT_SPEED", &StyleValues::fadeoutSpeed},
    {L"AUFDECKEN_WAITTIMER", &StyleValues::revealWaitTimer},
    {L"AUFDECKEN_WAITTIMER2", &StyleValues::revealWaitTimer2},
};

std::wstring pairText(D3DXVECTOR2 const& v) {
    std::wostringstream out;
    out << v.x << L' ' << v.y;
    return out.str();
}

std::wstring numberText(float v) {
    std::wostringstream out;
    out << v;
    return out.str();
}

}  // namespace

Style::Style(Orvex::XMLNode& node, std::wstring const& sourceName) : Orvex::NamedObject(node) {
    setDefaults();
    readXML(node, sourceName);
}

void Style::readXML(Orvex::XMLNode& node) { readXML(node, std::wstring()); }

void Style::readXML(Orvex::XMLNode& node, std::wstring const& sourceName) {
    Orvex::NamedObject::readXML(node);
    ReadProblems problems;
    if (Orvex::XMLNode const* pile = node.getChild(L"STAPEL")) {
        readRangePair(*pile, L"VERSCHIEBUNG", pileOffsetMin, pileOffsetMax, problems);
        readRangePair(*pile, L"RAND_VERSCHIEBUNG", randomOffsetMin, randomOffsetMax, problems);
        readRange(*pile, L"RAND_ROTATION", randomRotationMin, randomRotationMax, problems);
        readBool(*pile, L"HIDE_EXTRA_CARDS", hideExtraCards);
        readBool(*pile, L"USE_AUTOCHECKAUTOFINISH", useAutoCheckAutoFinish);
    }
    if (Orvex::XMLNode const* cards = node.getChild(L"KARTEN")) {
        // A fall-off of 0 would divide the mark strength by zero.
        readInt(*cards, L"MARK_FALLOFF", markFalloff, 1, kMaxMarkFalloff, problems);
        readFloat(*cards, L"MARK_MIN", markMin, problems);
        float distance[4] = {shadows[0].offset.x, shadows[0].offset.y, shadows[1].offset.x, shadows[1].offset.y};
        readFloatQuad(*cards, L"SHADOW_DIST", distance, problems);
        shadows[0].offset = D3DXVECTOR2(distance[0], distance[1]);
        shadows[1].offset = D3DXVECTOR2(distance[2], distance[3]);
        D3DXCOLOR colours[2] = {shadows[0].colour, shadows[1].colour};
        readColourPair(*cards, L"SHADOW_COLOR", colours);
        D3DXVECTOR2 blur{shadows[0].radius, shadows[1].radius};
        readMeasurePair(*cards, L"SHADOW_BLUR", blur, problems);
        // Rings x samples draws per card: both bounded.
        readIntPair(*cards, L"SHADOW_RINGS", shadows[0].rings, shadows[1].rings, 0, kMaxShadowRings, problems);
        readIntPair(*cards, L"SHADOW_SAMPLES", shadows[0].samples, shadows[1].samples, 0, kMaxShadowSamples,
                    problems);
        for (int i = 0; i < 2; ++i) shadows[i].colour = colours[i];
        shadows[0].radius = blur.x;
        shadows[1].radius = blur.y;
        readColourPair(*cards, L"ABSCHATTUNG", shading);
    }
    if (Orvex::XMLNode const* tip = node.getChild(L"TIP")) {
        readRangePair(*tip, L"VERSCHIEBUNG", tipOffsetMin, tipOffsetMax, problems);
        readRange(*tip, L"ROTATION", tipRotationMin, tipRotationMax, problems);
        readFloat(*tip, L"TIP_DAUER", tipDuration, problems);
    }
    for (int kind = 0; kind < kSelectKinds; ++kind) {
        Orvex::XMLNode const* select = node.getChild(kSelectElements[kind]);
        if (!select) continue;
        readMeasurePair(*select, L"VERSCHIEBUNG", wobbles[kind].offset, problems);
        readMeasure(*select, L"ROTATION", wobbles[kind].rotation, problems);
        readFloat(*select, L"SPEED", wobbles[kind].speed, problems);
        if (kind == kSelectHasGoalMove) {
            readFloat(*select, L"PARAM", param, problems);
            readText(*select, L"KARTEN_FLY_LOSE", flyLose);
            readText(*select, L"KARTEN_FLY_WIN", flyWin);
        }
    }
    if (Orvex::XMLNode const* speeds = node.getChild(L"SPEEDS")) {
        for (SpeedKey const& entry : kSpeedKeys) {
            if (entry.measure)
                readMeasure(*speeds, entry.key, this->*entry.field, problems);
            else
                readFloat(*speeds, entry.key, this->*entry.field, problems);
        }
    }
    problems.log(L"Style \"" + getName() + L"\"", sourceName, node.getLine());
}

void Style::writeXML(Orvex::XMLNode& node) const {
    Orvex::NamedObject::writeXML(node);
    Orvex::XMLNode* pile = node.addChild(L"STAPEL");
    pile->addValue(pairText(pileOffsetMin));
    pile->addValue(pairText(randomOffsetMin));
    pile->addValue(pairText(pileOffsetMax));
    pile->addValue(pairText(randomOffsetMax));
    pile->addValue(numberText(randomRotationMin));
    pile->addValue(useAutoCheckAutoFinish ? L"1" : L"0");
    Orvex::XMLNode* cards = node.addChild(L"KARTEN");
    cards->addValue(std::to_wstring(markFalloff));
    cards->addValue(numberText(markMin));
    Orvex::XMLNode* tip = node.addChild(L"TIP");
    tip->addValue(pairText(tipOffsetMin));
    tip->addValue(numberText(tipRotationMin));
    tip->addValue(numberText(tipDuration));
    tip->addValue(pairText(tipOffsetMax));
    tip->addValue(numberText(tipRotationMax));
}

}  // namespace Solitaire
