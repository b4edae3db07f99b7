// The rule fields of a pile, as the variant file's pile definition fills them: what the pile
// accepts, what may be taken from it, its click actions, how the deal fills it and how it is
// drawn. A plain record, so a pile copies its template's rules in one assignment. Defaults are
// the pile constructor's.
#pragma once

#include <string>
#include <vector>

#include "game/cards/PileWords.h"
#include "game/cards/RuleWords.h"

namespace Solitaire {

struct PileRules {
    // Deal ("INIT_KARTEN_*").
    int initVisibleCards = 0;
    int initHiddenCards = 0;
    int initColourRule = kColourAlles;
    int initValueRule = kValueAlles;
    // Accepting ("ACCEPT_KARTEN_*", their "_LEER" forms) and taking ("MOVE_STAPEL_*") runs.
    int acceptColourRule = kColourAlles;
    int acceptColourRuleEmpty = kColourAlles;
    int moveColourRule = kColourAlles;
    int acceptValueRule = kValueAlles;
    int acceptValueRuleEmpty = kValueAlles;
    int moveValueRule = kValueAlles;
    unsigned clickOnHidden = kClickAufdecken;  // "CLICK_ON_VERDECKT"
    unsigned clickOnEmpty = 0;                 // "CLICK_ON_LEER"
    int restCount = -1;                        // "REST_COUNT_HOLEN"; -1 no limit
    // "WRAP_MODE" / "WRAP_AROUND": in force while wrapAround is set and neither bound is 13.
    int wrapLow = 0;
    int wrapHigh = 12;
    int wrapAround = 0;
    std::vector<std::wstring> sourcePiles;    // "QUELLSTAPEL"
    std::vector<std::wstring> targetPiles;    // "ZIELSTAPEL"
    std::vector<std::wstring> linkedPiles;    // "VERKNÜPFT"
    std::vector<std::wstring> autoFillPiles;  // "AUTO_FILL" (the element)
    std::vector<std::wstring> pairGoalPiles;  // "PAIR_GOAL"
    int moveMaxSize = -1;                     // "MOVE_STAPEL_MAX_SIZE"
    short moveRun = 1;                        // "MOVE_STAPEL"
    bool canMoveRun = true;                   // "CAN_MOVE_STAPEL"
    bool moveMaxByEmptyLinked = false;        // "MOVE_STAPEL_MAX_SIZE_ANZ_VERKN_LEER"
    int maxFillCards = -1;                    // "MAX_ANZ_FILL_KARTEN"
    bool moveCheck = true;                    // "MOVE_STAPEL_CHECK"
    bool acceptCheck = true;                  // "ACCEPT_STAPEL_CHECK"
    int acceptRunSize = -1;                   // "ACCEPT_STAPEL_SIZE"
    int minAcceptRunSize = 0;                 // "MIN_ACCEPT_STAPEL_SIZE"
    bool autoFill = false;                    // "AUTO_FILL" (the attribute)
    bool autoFillMakeVisible = false;         // "AUTO_FILL_MAKE_VISIBLE"
    bool onlyActiveIfLinkedEmpty = false;     // "ONLY_ACTIVE_IF_VERK_LEER"
    int goalKind = kGoalNone;                 // "IS_ZIELSTAPEL": a GoalKind
    int revealCount = 1;                      // "ANZAHL_AUFDECKEN"
    bool singleDoubleClick = false;           // "USE_SINGLE_DBL_CLICK"
    bool pairs = false;                       // "PAIRS"
    int pileType = kPileTableau;              // "STAPELTYP"
    // "MISCHEN_MODE": the cards the shuffle power may pick (card-flag words); a goal pile
    // ("IS_ZIELSTAPEL" "ZIEL") clears it unless a later "MISCHEN_MODE" sets it again.
    unsigned shuffleFlags = 1;
    bool drawPile = true;                     // "DRAW_STAPEL"
    bool turnTopCardUp = true;                // "DECKE_TOPKARTE_AUF"
    float visibleRatio = 0.0f;                // "MAKE_KARTEN_VISIBLE_VERH"
    float renderIndex = 0.5f;                 // "RENDER_INDEX"
    float wildcardProp = 0.0f;                // "WILDCARD_PROP"
    float jokerProp = 0.0f;                   // "JOKER_PROP"
    short shading = 0;                        // "ABSCHATTUNG": the style's tint colour index
    int order = 0;                            // "REIHENFOLGE"

    // Whether the wrap range is in force for value sequences.
    bool wrapInForce() const { return wrapAround != 0 && wrapLow != kWrapNone && wrapHigh != kWrapNone; }
};

}  // namespace Solitaire
