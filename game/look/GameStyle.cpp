// Game styles: the sound words, defaults and the running multiplier.
#include "game/look/GameStyle.h"

#include <algorithm>
#include <cmath>

#include "engine/platform/PlayingSound.h"
#include "engine/platform/SoundManager.h"

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

}  // namespace

void playSound(std::wstring const& name) {
    if (name.empty()) return;
    Orvex::SoundManager& sounds = Orvex::SoundManager::getInstance();
    if (!sounds.hasSound(name)) return;
    sounds.playSample(sounds.playSound(name), 1.0);
}

bool underLimit(int made, int limit) { return limit < 0 || made < limit; }

GameStyle::GameStyle(std::wstring const& name) : Orvex::NamedObject(name) { setDefaults(); }

GameStyle::GameStyle(Orvex::XMLNode& node, std::wstring const& sourceName) : Orvex::NamedObject(node) {
    setDefaults();
    readXML(node, sourceName);
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
