// What a variant's rule file gives the table as a whole (the game definition's own keys and its
// pile positions), beside the piles' own PileRules. A plain record: the card manager's reset
// assigns a fresh one, so each default below is the only place it is written.
#pragma once

#include <string>
#include <vector>

#include "game/cards/PileWords.h"
#include "game/cards/RuleWords.h"
#include "port/d3dx9/d3dx9math.h"

namespace Solitaire {

// A game definition's screen place of a pile ("DYNAMIC_STAPEL_POSES" "STAPEL_POS").
struct PilePosition {
    std::wstring name;
    D3DXVECTOR2 relative{0.0f, 0.0f};
    float renderIndex = 0.5f;
    float scale = 1.0f;
    bool drawIfEmpty = true;

    bool operator==(PilePosition const&) const = default;
};

struct TableRules {
    std::wstring gameName;       // "NAME"; a resumed game brings its own ("GAME_NAME")
    std::wstring gameStyleName;  // "GAMESTYLE", made current by a new game
    // The deck: passes over suits and values until deckSize cards exist, then the extra cards.
    int deckColourRule = kColourAlles;                      // "KARTEN_FARBE"
    int deckValueRules[2] = {kValueAlles, kValueAlles};     // "KARTEN_WERT"
    int deckSize = 52;                                      // "ANZAHL_KARTEN"; bought cards add to it
    bool alternateCardCreation = false;                     // "ALTERNATE_CARD_CREATION"
    int extraCardCount = 0;                                 // "ANZAHL_STERNE"
    int extraCardType = 0;                                  // "STERNETYP"
    float startScore = 1000.0f;                             // "SCORE_START"
    // The deal's ratios over the whole table ("GLOBAL_MAKE_*_VERH").
    float visibleRatio = 0.0f;
    float wildcardRatio = 0.0f;
    float jokerRatio = 0.0f;
    // Input; the catalogue may override the two buttons after reading.
    bool useRightMouse = true;         // "USE_RIGHT_MOUSE"
    bool useDoubleClick = true;        // "USE_DOUBLE_CLICK"
    bool doubleClickGoalOnly = false;  // "DBL_CLICK_ZIEL_ONLY"
    // The powers' piles.
    std::wstring removeTargetPileName = L"STAPEL_ABLAGE";  // "REMOVE_ZIELSTAPEL_NAME"
    int removeSourcePileType = kPileTableau;               // "REMOVE_QUELLSTAPEL_TYP"
    int showPileType = kPileTableau;                       // "SHOW_STAPEL_TYP"
    std::wstring shufflePileName = L"STAPEL_ABLAGE";       // "SHUFFLE_STAPEL_NAME"
    bool autoCheckEnd = true;                              // "AUTO_CHECK_END"
    std::wstring specialPileName;                          // "SPECIAL_STAPEL"
    std::vector<PilePosition> pilePositions;               // "DYNAMIC_STAPEL_POSES"
    // "REMOVE_ALL_EXTRA_CARDS_WUENSCHE", "REMOVE_ALL_KEY_OR_LOCK_CARDS_WUENSCHE": in force for
    // every arrangement read after them.
    bool removeExtraCardWishes = false;
    bool removeKeyOrLockWishes = false;

    bool operator==(TableRules const&) const = default;
};

}  // namespace Solitaire
