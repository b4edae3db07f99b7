// A game style: the scoring constants of play, the running score multiplier with its combo
// counters, the limits and prices of wildcards and jokers, the mouse mode, the deal start
// positions and the sound name of every game event. Read from a "GAMESTYLE" element of the
// styles file; the style settings keep the list and the current one ("DEFAULT" unless data names
// another). Refused values keep their defaults and give one log line naming file and line.
//
// GameStyle.cpp: defaults, sound words and the multiplier; GameStyle_read.cpp: the reader.
#pragma once

#include <string>
#include <vector>

#include "engine/core/NamedObject.h"
#include "port/d3dx9/d3dx9math.h"
#include "signals/sigslot.h"

namespace Solitaire {

class GameStyle : public Orvex::NamedObject {
public:
    // The game events with a sound, in the order the names are kept.
    enum Sound : int {
        kSoundErrorMove = 0, kSoundMoveStart, kSoundMove, kSoundWin, kSoundEnd, kSoundUndo, kSoundTipp,
        kSoundMix, kSoundToZiel, kSoundLose, kSoundBronze, kSoundSilber, kSoundGold, kSoundPerfekt,
        kSoundComboStart, kSoundComboEnd, kSoundCombo, kSoundBoniShuffle, kSoundBoniMakeVisible,
        kSoundBoniRemove, kSoundExtraCard, kSoundUnlocked, kSoundUnlocked1, kSoundUnlocked2,
        kSoundUnlocked3, kSoundUnlocked4, kSoundWildcardFound, kSoundJokerFound, kSoundFlyStart,
        kSoundUnkeyed, kSoundUnkeyed1, kSoundUnkeyed2, kSoundUnkeyed3, kSoundUnkeyed4,
        kSoundCount
    };
    static_assert(kSoundCount == 34);
    // More start positions than any table needs; later ones are skipped.
    static constexpr std::size_t kMaxStartPositions = 256;
    // Multiplier steps and prices beyond this are refused as data faults; so are point values and
    // a multiplier bonus beyond theirs, which keeps every score product finite.
    static constexpr int kMaxCount = 1000000000;
    static constexpr float kMaxPoints = 1.0e9f;
    static constexpr float kMaxMultiplierBonus = 1000.0f;

    // By name (the fallback "DEFAULT"): every default.
    explicit GameStyle(std::wstring const& name);
    // From a "GAMESTYLE" element: name, defaults, then readXML; sourceName names the file in
    // the log line of refused values.
    explicit GameStyle(Orvex::XMLNode& node, std::wstring const& sourceName = std::wstring());

    void setDefaults();
    void readXML(Orvex::XMLNode& node) override;
    void readXML(Orvex::XMLNode& node, std::wstring const& sourceName);

    // The attribute word of an event ("UNLOCKED1") and its default sound name ("UNLOCK1").
    static wchar_t const* soundKey(int sound);
    static wchar_t const* defaultSoundName(int sound);
    std::wstring const& getSoundName(int sound) const;

    // 1 + BONUS x min(count, MAX) once count reaches MIN, else 1.
    float getMultiplierFactor() const;
    // One counted step; with combo also a combo step (signals as they change).
    void addMultiplier(bool combo);
    // Ends the running multiplier: count 0 (signals when the factor changes), combo 0.
    void updateMultiplier();
    // Resets the running values of a new game (best combo included), silently.
    void resetRunning();
    // "MOVE_ON_ZIEL" x the factor before the step; then, with "AUTO_MULTIPLIER", one step.
    float getMoveOnZielPoints(bool combo);
    // "WIN" x the factor before the step; then, with "AUTO_MULTIPLIER", one step without combo.
    float winPoints();
    // The point getters that end a running multiplier when "AUTO_MULTIPLIER" is on.
    float getUndoPoints(bool update);
    float getTippPenalty();
    float getWrongDoubleClickPoints();

    // "PRICE_WILDCARD" and "PRICE_JOKER": what the shop takes from the points balance.
    int getWildcardPrice() const { return priceWildcard; }
    int getJokerPrice() const { return priceJoker; }
    unsigned getMultiplierCount() const { return multiplierCount; }
    unsigned getCombo() const { return comboCount; }
    unsigned getMaxCombo() const { return bestCombo; }

    sigslot::signal1<float const&> multiplierRaised;
    sigslot::signal1<float const&> multiplierEnded;
    sigslot::signal2<float const&, float const&> multiplierChanged;
    sigslot::signal1<unsigned const&> comboEnded;
    sigslot::signal1<unsigned const&> comboCountChanged;
    sigslot::signal1<unsigned const&> newBestCombo;
    sigslot::signal0<> comboStep;

    std::wstring sounds[kSoundCount];
    std::vector<D3DXVECTOR4> startPositions;
    float startScore = 0.0f;
    bool canRemoveTopCardsOnly = false;
    float undoPoints = -100.0f;
    float wrongDoubleClickPoints = -50.0f;
    float moveOnZiel = 100.0f;
    float moveFromZiel = -150.0f;
    float winBonus = 500.0f;
    float mischenPoints = -500.0f;
    float tippPoints = -100.0f;
    bool autoMultiplier = true;
    float multiplierBonus = 0.1f;
    unsigned multiplierCount = 0;
    unsigned minMultipliers = 0;
    unsigned maxMultipliers = 10;
    float scoreDownMultiplier = 1.0f;
    int maxWildcards = -1;       // -1: no limit
    int maxJokers = -1;
    int maxWildcardsJokers = -1;
    unsigned comboCount = 0;
    unsigned bestCombo = 0;
    int priceWildcard = 10000;
    int priceJoker = 25000;
    int mouseControlMode = 0;  // kMouseControlPairs: pairs (two clicks)
    int tipStyle = 0;          // kTipCardsOnly: hints on cards only
    static constexpr int kMouseControlPairs = 1;  // "MOUSE_CONTROL_MODE" "PAIRS"
    static constexpr int kTipCardsOnly = 1;       // "SHOW_TIP_STYLE" "ONLY_CARDS_NOT_STAPEL"

private:
    float factorFor(unsigned count) const;
};

// Plays a sound of the engine's list once at volume 1.0; an unknown or empty name plays nothing.
void playSound(std::wstring const& name);

// Whether one more may be made under a "MAX_*" limit: -1 (or any negative) is no limit.
bool underLimit(int made, int limit);

}  // namespace Solitaire
