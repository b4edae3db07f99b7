// Game styles: defaults, the "GAMESTYLE" reader and the running multiplier.
#include "game/cards/GameStyle.h"

#include <algorithm>
#include <cmath>

#include "engine/core/XMLAttribute.h"
#include "engine/core/XMLNode.h"
#include "engine/core/XMLProperty.h"
#include "engine/platform/PlayingSound.h"
#include "engine/platform/SoundManager.h"
#include "port/crt/crt.h"

namespace Solitaire {

namespace {

struct SoundWords {
    wchar_t const* key;
    wchar_t const* name;
};

constexpr SoundWords kSounds[GameStyle::kSoundCount] = {
    {L"ERROR_MOVE", L"ERROR_MOVE"}, {L"MOVE_START", L"MOVE_START"}, {L"MOVE", L"MOVE"}, {L"WIN", L"WIN"},
    {L"END", L"END"}, {L"UNDO", L"UNDO"}, {L"TIPP", L"TIPP"}, {L"MIX", L"MIX"}, {L"TO_ZIEL", L"TO_ZIEL"},
    {L"LOSE", L"LOSE"}, {L"BRONZE", L"BRONZE"}, {L"SILBER", L"SILBER"}, {L"GOLD", L"GOLD"},
    {L"PERFEKT", L"PERFEKT"}, {L"COMBO_START", L"COMBO_START"}, {L"COMBO_END", L"COMBO_END"},
    {L"COMBO", L"COMBO"}, {L"BONI_SHUFFLE", L"BONI_SHUFFLE"}, {L"BONI_MAKE_VISIBLE", L"BONI_MAKE_VISIBLE"},
    {L"BONI_REMOVE", L"BONI_REMOVE"}, {L"EXTRACARD", L"EXTRACARD"}, {L"UNLOCKED", L"UNLOCK"},
    {L"UNLOCKED1", L"UNLOCK1"}, {L"UNLOCKED2", L"UNLOCK2"}, {L"UNLOCKED3", L"UNLOCK3"},
    {L"UNLOCKED4", L"UNLOCK4"}, {L"WILDCARD_FOUND", L"WILDCARD_FOUND"}, {L"JOKER_FOUND", L"JOKER_FOUND"},
    {L"KARTEN_FLY_START", L"KARTEN_FLY_START"}, {L"UNKEYED", L"UNKEY"}, {L"UNKEYED1", L"UNKEY1"},
    {L"UNKEYED2", L"UNKEY2"}, {L"UNKEYED3", L"UNKEY3"}, {L"UNKEYED4", L"UNKEY4"},
};

// The long key first, the alias only when the long one is absent; non-finite values keep the
// default.
float readPoints(Orvex::XMLNode const& node, wchar_t const* key, wchar_t const* alias, float fallback) {
    wchar_t const* const used = node.getAttribute(key) || !alias ? key : alias;
    float const value = node.getAttributeFloat(used, fallback);
    return std::isfinite(value) ? value : fallback;
}

unsigned readCount(Orvex::XMLNode const& node, wchar_t const* key, unsigned fallback) {
    int const value = node.getAttributeInt(key, static_cast<int>(fallback));
    return value < 0 ? fallback : static_cast<unsigned>(value);
}

}  // namespace

void playSound(std::wstring const& name) {
    if (name.empty()) return;
    Orvex::SoundManager& sounds = Orvex::SoundManager::getInstance();
    if (!sounds.hasSound(name)) return;
    sounds.playSample(sounds.playSound(name), 1.0);
}

bool underLimit(int made, int limit) { return limit < 0 || made < limit; }

GameStyle::GameStyle(std::wstring const& name) : Orvex::NamedObject(name) { setDefaults(); }

GameStyle::GameStyle(Orvex::XMLNode& node) : Orvex::NamedObject(node) {
    setDefaults();
    readXML(node);
}

wchar_t const* GameStyle::soundKey(int sound) {
    return sound >= 0 && sound < kSoundCount ? kSounds[sound].key : L"";
}

wchar_t const* GameStyle::defaultSoundName(int sound) {
    return sound >= 0 && sound < kSoundCount ? kSounds[sound].name : L"";
}

std::wstring const& GameStyle::getSoundName(int sound) const {
    static std::wstring const none;
    return sound >= 0 && sound < kSoundCount ? sounds[sound] : none;
}

void GameStyle::setDefaults() {
    for (int i = 0; i < kSoundCount; ++i) sounds[i] = kSounds[i].name;
    startPositions.clear();
    startScore = 0.0f;
    canRemoveTopCardsOnly = false;
    undoPoints = -100.0f;
    wrongDoubleClickPoints = -50.0f;
    moveOnZiel = 100.0f;
    moveFromZiel = -150.0f;
    winBonus = 500.0f;
    mischenPoints = -500.0f;
    tippPoints = -100.0f;
    autoMultiplier = true;
    multiplierBonus = 0.1f;
    multiplierCount = 0;
    minMultipliers = 0;
    maxMultipliers = 10;
    scoreDownMultiplier = 1.0f;
    maxWildcards = maxJokers = maxWildcardsJokers = -1;
    comboCount = bestCombo = 0;
    priceWildcard = 10000;
    priceJoker = 25000;
    mouseControlMode = 0;
    tipStyle = 0;
}

void GameStyle::readXML(Orvex::XMLNode& node) {
    undoPoints = readPoints(node, L"UNDO_PENALTY", L"UNDO", undoPoints);
    wrongDoubleClickPoints = readPoints(node, L"WRONG_DBL_PENALTY", L"WRONG_DBLCLICK", wrongDoubleClickPoints);
    moveOnZiel = readPoints(node, L"MOVE_ON_ZIEL", nullptr, moveOnZiel);
    moveFromZiel = readPoints(node, L"MOVE_FROM_ZIEL_PENALTY", L"MOVE_FROM_ZIEL", moveFromZiel);
    winBonus = readPoints(node, L"WIN", nullptr, winBonus);
    mischenPoints = readPoints(node, L"MISCHEN_PENALTY", L"MISCHEN", mischenPoints);
    tippPoints = readPoints(node, L"TIPP_PENALTY", L"TIPP", tippPoints);
    multiplierBonus = readPoints(node, L"MULTIPLIER_BONUS", nullptr, multiplierBonus);
    minMultipliers = readCount(node, L"MIN_MULTIPLIERS_FOR_BONUS", minMultipliers);
    maxMultipliers = readCount(node, L"MAX_MULTIPLIERS_FOR_BONUS", maxMultipliers);
    autoMultiplier = node.getAttributeBool(L"AUTO_MULTIPLIER", autoMultiplier);
    scoreDownMultiplier = readPoints(node, L"SCORE_DOWN_MULTIPLIER", nullptr, scoreDownMultiplier);
    maxWildcards = node.getAttributeInt(L"MAX_WILDCARDS", maxWildcards);
    maxJokers = node.getAttributeInt(L"MAX_JOKERS", maxJokers);
    maxWildcardsJokers = node.getAttributeInt(L"MAX_WILDCARDS_JOKERS", maxWildcardsJokers);
    priceWildcard = node.getAttributeInt(L"PRICE_WILDCARD", priceWildcard);
    priceJoker = node.getAttributeInt(L"PRICE_JOKER", priceJoker);
    startScore = readPoints(node, L"START_SCORE", nullptr, startScore);
    canRemoveTopCardsOnly = node.getAttributeBool(L"CAN_REMOVE_TOP_CARDS_ONLY", canRemoveTopCardsOnly);
    if (node.getAttribute(L"MOUSE_CONTROL_MODE"))
        mouseControlMode = node.getAttributeString(L"MOUSE_CONTROL_MODE", L"") == L"PAIRS" ? 1 : 0;
    if (node.getAttribute(L"SHOW_TIP_STYLE"))
        tipStyle = node.getAttributeString(L"SHOW_TIP_STYLE", L"") == L"ONLY_CARDS_NOT_STAPEL" ? 1 : 0;

    if (Orvex::XMLNode const* soundNode = node.getChild(L"SOUNDS")) {
        for (int i = 0; i < kSoundCount; ++i)
            if (soundNode->getAttribute(kSounds[i].key))
                sounds[i] = soundNode->getAttributeString(kSounds[i].key, sounds[i]);
    }
    std::wstring const word = L"STARTPOSITION";
    for (unsigned i = 0, n = node.getChildCount(word); i < n && startPositions.size() < kMaxStartPositions; ++i) {
        Orvex::XMLNode const* child = node.getChild(word, static_cast<int>(i));
        if (!child) continue;
        D3DXVECTOR4 record{0.5f, 0.5f, 0.0f, 0.0f};
        float values[4] = {0.0f, 0.0f, 0.0f, 0.0f};
        int count = 0;
        if (Orvex::XMLAttribute const* text = child->getAttribute(L"POSITION_REL")) {
            Orvex::XMLValueTokens const tokens = text->split(L" ");
            for (Orvex::u32 t = 0; t < tokens.size() && count < 4; ++t) {
                float const value = static_cast<float>(msvc::wtof(tokens.get(t)->getString()));
                values[count++] = std::isfinite(value) ? value : 0.0f;
            }
        }
        if (count >= 1) record.x = record.y = values[0];
        if (count >= 2) record.y = values[1];
        if (count >= 3) record.z = record.w = values[2];
        if (count >= 4) record.w = values[3];
        startPositions.push_back(record);
    }
}

float GameStyle::factorFor(unsigned count) const {
    if (count < minMultipliers) return 1.0f;
    return 1.0f + multiplierBonus * static_cast<float>(std::min(count, maxMultipliers));
}

float GameStyle::getMultiplierFactor() const { return factorFor(multiplierCount); }

void GameStyle::addMultiplier(bool combo) {
    float const before = getMultiplierFactor();
    ++multiplierCount;
    float const after = getMultiplierFactor();
    if (combo) {
        ++comboCount;
        if (comboCount > bestCombo) {
            bestCombo = comboCount;
            newBestCombo.emit(bestCombo);
        }
        comboStep.emit();
        comboCountChanged.emit(comboCount);
    }
    if (after != before) {
        multiplierRaised.emit(after);
        multiplierChanged.emit(before, after);
    }
}

void GameStyle::updateMultiplier() {
    float const before = getMultiplierFactor();
    multiplierCount = 0;
    float const after = getMultiplierFactor();
    if (after != before) {
        multiplierEnded.emit(after);
        multiplierChanged.emit(before, after);
        comboEnded.emit(comboCount);
    }
    comboCount = 0;
}

void GameStyle::resetRunning() { multiplierCount = comboCount = bestCombo = 0; }

float GameStyle::getMoveOnZielPoints(bool combo) {
    float const points = getMultiplierFactor() * moveOnZiel;
    if (autoMultiplier) addMultiplier(combo);
    return points;
}

float GameStyle::winPoints() {
    float const points = getMultiplierFactor() * winBonus;
    if (autoMultiplier) addMultiplier(false);
    return points;
}

float GameStyle::getUndoPoints(bool update) {
    if (update && autoMultiplier) updateMultiplier();
    return undoPoints;
}

float GameStyle::getTippPenalty() {
    if (autoMultiplier) updateMultiplier();
    return tippPoints;
}

float GameStyle::getWrongDoubleClickPoints() {
    if (autoMultiplier) updateMultiplier();
    return wrongDoubleClickPoints;
}

}  // namespace Solitaire
