// The nine star goals, their number rules and the factory from a "GOAL" element. Caps and the
// running combo come from the card manager and the current game style, so the HUD's progress
// and the stars given at the end agree.
#include "game/app/LevelGoal.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "engine/core/XMLNode.h"
#include "game/app/LevelGoal_Combo.h"
#include "game/app/LevelGoal_EmptyTableauStapel.h"
#include "game/app/LevelGoal_Extracards.h"
#include "game/app/LevelGoal_Goalcards.h"
#include "game/app/LevelGoal_Nothing.h"
#include "game/app/LevelGoal_Points.h"
#include "game/app/LevelGoal_RemoveAllTableauStapel.h"
#include "game/app/LevelGoal_Restcards.h"
#include "game/app/LevelGoal_Time.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/PileWords.h"
#include "game/look/GameStyle.h"
#include "game/look/StyleSettings.h"

namespace Solitaire {

namespace {

using Orvex::u32;

// The record's counts are never negative; a negative one counts as 0.
u32 count(int value) { return value > 0 ? static_cast<u32>(value) : 0u; }

u32 cardsInGame() { return static_cast<u32>(Kartenmanager::instance().cards.size()); }
u32 tableauPiles() { return static_cast<u32>(Kartenmanager::instance().getPilesOfType(kPileTableau).size()); }

std::wstring pair(u32 shown, u32 target) { return LevelGoal::text(shown) + L" / " + LevelGoal::text(target); }

// A percentage for a text: negative ones as 0.
u32 shownPercent(float ratio) { return static_cast<u32>(std::max<Orvex::s32>(0, LevelGoal::percent(ratio))); }

std::wstring percentPair(float shown, float target) {
    return LevelGoal::text(shownPercent(shown)) + L"% / " + LevelGoal::text(shownPercent(target)) + L"%";
}

bool finite(float a, float b) { return std::isfinite(a) && std::isfinite(b); }

}  // namespace

u32 LevelGoal::shownNumber(float value) {
    if (!(value > 0.0f)) return 0u;  // NaN too
    if (value >= 4294967295.0f) return 0xFFFFFFFFu;
    return static_cast<u32>(value);
}

Orvex::s32 LevelGoal::percent(float ratio) {
    float const scaled = ratio * 100.0f;
    if (std::isnan(scaled)) return 0;
    if (scaled >= 2147483647.0f) return 2147483647;
    if (scaled <= -2147483648.0f) return -2147483647 - 1;
    return static_cast<Orvex::s32>(scaled);
}

std::unique_ptr<LevelGoal> LevelGoal::create(std::wstring_view type, Orvex::XMLNode const* node, int star) {
    if (type == L"NOTHING") return std::make_unique<LevelGoal_Nothing>(star);
    if (type == L"REMOVE_ALL_TABLEAU_STAPEL" || type == L"WIN") return std::make_unique<LevelGoal_RemoveAllTableauStapel>(star);
    if (type == L"TIME") return std::make_unique<LevelGoal_Time>(node, star);
    if (type == L"POINTS") return std::make_unique<LevelGoal_Points>(node, star);
    if (type == L"RESTCARDS") return std::make_unique<LevelGoal_Restcards>(node, star);
    if (type == L"GOALCARDS" || type == L"CARDS_ON_GOAL") return std::make_unique<LevelGoal_Goalcards>(node, star);
    if (type == L"EXTRACARDS") return std::make_unique<LevelGoal_Extracards>(node, star);
    if (type == L"COMBO") return std::make_unique<LevelGoal_Combo>(node, star);
    if (type == L"EMPTY_TABLEAU_STAPEL" || type == L"STAPEL_EMPTY") return std::make_unique<LevelGoal_EmptyTableauStapel>(node, star);
    return nullptr;
}

// ---- Nothing, all tableau piles removed ----

std::wstring& LevelGoal_Nothing::formatProgress(std::wstring& out, GameEndParms const&) const {
    out.clear();
    return out;
}

bool LevelGoal_Nothing::isReached(GameEndParms const&) const { return true; }

std::wstring& LevelGoal_RemoveAllTableauStapel::formatProgress(std::wstring& out, GameEndParms const&) const {
    out.clear();
    return out;
}

bool LevelGoal_RemoveAllTableauStapel::isReached(GameEndParms const& parms) const { return parms.allTableauEmpty; }

// ---- Time ----

LevelGoal_Time::LevelGoal_Time(Orvex::XMLNode const* node, int star) : LevelGoal(star), maxTime_(FLT_MAX) {
    if (node) maxTime_ = node->getAttributeFloat(L"MAX_TIME", maxTime_);
}

std::wstring& LevelGoal_Time::formatProgress(std::wstring& out, GameEndParms const&) const {
    out.clear();
    // No limit (the default, or one no clock reaches): nothing to show.
    if (maxTime_ >= FLT_MAX) return out;
    u32 const seconds = shownNumber(maxTime_);
    // Seconds in two digits: "2:5" would read as two minutes fifty.
    u32 const rest = seconds % 60u;
    out = text(seconds / 60u) + (rest < 10u ? L":0" : L":") + text(rest);
    return out;
}

// A time alone holds from the first second and for a game given up early: the limit is one for
// winning, so a level's time star needs play.
bool LevelGoal_Time::isReached(GameEndParms const& parms) const { return parms.allTableauEmpty && maxTime_ >= parms.time; }

// ---- Points ----

LevelGoal_Points::LevelGoal_Points(Orvex::XMLNode const* node, int star) : LevelGoal(star) {
    if (node) minPoints_ = node->getAttributeFloat(L"MIN_POINTS", minPoints_);
}

std::wstring& LevelGoal_Points::formatProgress(std::wstring& out, GameEndParms const& parms) const {
    float const shown = parms.score < minPoints_ ? parms.score : minPoints_;
    out = pair(shownNumber(shown), shownNumber(minPoints_));
    return out;
}

bool LevelGoal_Points::isReached(GameEndParms const& parms) const { return parms.score >= minPoints_; }

// ---- Remaining cards ----

LevelGoal_Restcards::LevelGoal_Restcards(Orvex::XMLNode const* node, int star) : LevelGoal(star) {
    if (!node) return;
    count_ = node->getAttributeLong(L"MAX_CARDS", count_);
    if (node->getAttribute(L"MAX_CARDS_VERH")) {
        ratio_ = node->getAttributeFloat(L"MAX_CARDS_VERH", ratio_);
        useRatio_ = true;
    }
}

std::wstring& LevelGoal_Restcards::formatProgress(std::wstring& out, GameEndParms const& parms) const {
    if (useRatio_)
        out = percentPair(parms.restRatio > ratio_ ? parms.restRatio : ratio_, ratio_);
    else
        out = pair(std::max(count(parms.restCards), count_), count_);
    return out;
}

bool LevelGoal_Restcards::isReached(GameEndParms const& parms) const {
    if (!useRatio_) return count_ >= count(parms.restCards);
    return finite(ratio_, parms.restRatio) && percent(ratio_) >= percent(parms.restRatio);
}

// ---- Cards on the goal piles ----

LevelGoal_Goalcards::LevelGoal_Goalcards(Orvex::XMLNode const* node, int star) : LevelGoal(star) {
    if (!node) return;
    count_ = node->getAttributeLong(L"MIN_CARDS", count_);
    if (node->getAttribute(L"MIN_CARDS_VERH")) {
        ratio_ = node->getAttributeFloat(L"MIN_CARDS_VERH", ratio_);
        useRatio_ = true;
    }
}

std::wstring& LevelGoal_Goalcards::formatProgress(std::wstring& out, GameEndParms const& parms) const {
    if (useRatio_) {
        out = percentPair(parms.clearedRatio < ratio_ ? parms.clearedRatio : ratio_, ratio_);
    } else {
        u32 const cap = std::min(count_, cardsInGame());
        out = pair(std::min(count(parms.clearedCards), cap), cap);
    }
    return out;
}

bool LevelGoal_Goalcards::isReached(GameEndParms const& parms) const {
    if (!useRatio_) return count(parms.clearedCards) >= std::min(count_, cardsInGame());
    return finite(ratio_, parms.clearedRatio) && percent(parms.clearedRatio) >= percent(ratio_);
}

// ---- Extra cards ----

LevelGoal_Extracards::LevelGoal_Extracards(Orvex::XMLNode const* node, int star) : LevelGoal(star) {
    if (node) minExtraCards_ = node->getAttributeLong(L"MIN_EXTRACARDS", minExtraCards_);
}

std::wstring& LevelGoal_Extracards::formatProgress(std::wstring& out, GameEndParms const& parms) const {
    out = pair(std::min(count(parms.extraCards), minExtraCards_), minExtraCards_);
    return out;
}

bool LevelGoal_Extracards::isReached(GameEndParms const& parms) const { return count(parms.extraCards) >= minExtraCards_; }

// ---- Combo ----

LevelGoal_Combo::LevelGoal_Combo(Orvex::XMLNode const* node, int star) : LevelGoal(star) {
    if (node) minCombo_ = node->getAttributeLong(L"MIN_COMBO", minCombo_);
}

std::wstring& LevelGoal_Combo::formatProgress(std::wstring& out, GameEndParms const& parms) const {
    u32 const best = std::min(count(parms.maxCombo), minCombo_);
    GameStyle const* style = StyleSettings::instance().getGameStyle();
    u32 const running = style ? style->getCombo() : 0u;
    u32 const current = std::min(best, running);
    out.clear();
    if (current < best) out = L"(" + text(current) + L") ";
    out += pair(best, minCombo_);
    return out;
}

bool LevelGoal_Combo::isReached(GameEndParms const& parms) const { return count(parms.maxCombo) >= minCombo_; }

// ---- Empty tableau piles ----

LevelGoal_EmptyTableauStapel::LevelGoal_EmptyTableauStapel(Orvex::XMLNode const* node, int star) : LevelGoal(star) {
    if (node) minPiles_ = node->getAttributeLong(L"MIN_STAPEL", minPiles_);
}

std::wstring& LevelGoal_EmptyTableauStapel::formatProgress(std::wstring& out, GameEndParms const& parms) const {
    u32 const cap = std::min(minPiles_, tableauPiles());
    out = pair(std::min(count(parms.emptyTableauPiles), cap), cap);
    return out;
}

bool LevelGoal_EmptyTableauStapel::isReached(GameEndParms const& parms) const {
    return count(parms.emptyTableauPiles) >= std::min(minPiles_, tableauPiles());
}

}  // namespace Solitaire
