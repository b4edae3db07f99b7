// The card manager's score and balance, the seed, the deck, bought jokers and wildcards, the
// table counts, the game-end record and small queries.
#include <algorithm>
#include <cmath>
#include <limits>
#include <sstream>
#include <string>

#include "engine/core/CodePage.h"
#include "engine/core/Random.h"
#include "game/cards/AchivementManager.h"
#include "game/cards/Anordnung.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "game/cards/RuleMatching.h"
#include "game/look/GameStyle.h"
#include "game/look/Kartenset.h"
#include "game/look/Style.h"
#include "game/look/StyleSettings.h"

namespace Solitaire {

static_assert(Kartenmanager::kMaxExtraType == Kartenset::kExtraFaceCount - 1);

void Kartenmanager::changeScore(float const& delta) {
    play_.score += delta;
    if (!(play_.score > 0.0f)) play_.score = 0.0f;
    play_.counts.pointsBalance += delta;
    if (!(play_.counts.pointsBalance > 0.0f)) play_.counts.pointsBalance = 0.0f;
    AchivementManager::instance().count(L"SCORE_CHANGED", delta);
}

float Kartenmanager::getHintPrice() const { return gameStyle_ ? -gameStyle_->tippPoints : 0.0f; }

float Kartenmanager::getShufflePrice() const { return gameStyle_ ? -gameStyle_->mischenPoints : 0.0f; }

float Kartenmanager::getUndoPrice(Orvex::s32 steps) const {
    Orvex::s32 const index = getUndoIndex();
    Orvex::s32 const last = static_cast<Orvex::s32>(getUndoCount()) - 1;
    Orvex::s32 const target = std::clamp(index + steps, 0, std::max(0, last));
    float const penalty = gameStyle_ ? gameStyle_->undoPoints : 0.0f;
    return std::max(0.0f, static_cast<float>(target - index) * penalty);
}

float Kartenmanager::getMissingPoints(float price) const {
    if (canPay(price)) return 0.0f;
    return price - std::min(getScore(), play_.counts.pointsBalance);
}

void Kartenmanager::setPointsBalance(float const& balance, bool const& alsoReference) {
    play_.counts.pointsBalance = balance > 0.0f ? balance : 0.0f;
    if (alsoReference) shownBalance = play_.counts.pointsBalance;
}

void Kartenmanager::setScore(float plus, float minus) {
    play_.score = plus;
    play_.bonusScore = minus;
}

void Kartenmanager::setTime(float seconds) { play_.gameTime = seconds; }

void Kartenmanager::setGameStatus(GameStatus status) { play_.gameStatus = status; }

void Kartenmanager::setPlayState(PlayState const& state) { play_ = state; }

namespace {

// The blanks a stream skips before a number (the classic locale's).
bool isStreamBlank(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r'); }

}  // namespace

unsigned Kartenmanager::seedFromText(std::wstring const& text) {
    // Read as an unsigned stream extraction reads: blanks skipped, one sign (a minus negates in
    // unsigned arithmetic, so "-1" is the largest seed), then digits; a number past 32 bits
    // gives the largest seed.
    constexpr unsigned long long kLargest = std::numeric_limits<unsigned>::max();
    std::size_t at = 0;
    while (at < text.size() && isStreamBlank(text[at])) ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == L'+' || text[at] == L'-')) negative = text[at++] == L'-';
    unsigned long long magnitude = 0;
    bool digits = false;
    for (; at < text.size() && text[at] >= L'0' && text[at] <= L'9'; ++at) {
        digits = true;
        magnitude = std::min(kLargest + 1, magnitude * 10u + static_cast<unsigned>(text[at] - L'0'));
    }
    unsigned number = 0;
    if (digits && magnitude > kLargest) number = static_cast<unsigned>(kLargest);
    else if (digits) number = negative ? 0u - static_cast<unsigned>(magnitude) : static_cast<unsigned>(magnitude);
    if (number != 0 || text == L"0") return number;
    // The weighted sum runs over UTF-16 units (a character beyond U+FFFF is its two surrogates),
    // so one text deals one table wherever wide characters are 16 bits.
    std::string units;
    Orvex::appendUtf16LE(units, text);
    unsigned sum = 0;
    for (std::size_t i = 0; i + 1 < units.size(); i += 2) {
        unsigned const unit = static_cast<unsigned char>(units[i]) | static_cast<unsigned char>(units[i + 1]) << 8;
        sum += unit * static_cast<unsigned>(i / 2 + 1);
    }
    return sum;
}

std::wstring Kartenmanager::makeSeedText(unsigned seed) { return std::to_wstring(seed); }

void Kartenmanager::createDeck() {
    Orvex::FRect const table = computeTableRect();
    D3DXVECTOR2 const centre{(table.left + table.right) * 0.5f, (table.top + table.bottom) * 0.5f};
    auto make = [&](int suit, int value, D3DXVECTOR2 const& at) {
        auto* card = new Karte(value, suit, 1, static_cast<int>(cards.size()));
        card->moveTo(at, 0.0f, 0.0f);
        card->rotateTo(Orvex::randomFloat(-180.0f, 180.0f), 0.0f, 0.0f, false);
        addCard(card);
    };
    // A pass of no card would repeat for ever: deckPass is empty then, and the deck stays empty.
    std::vector<std::pair<int, int>> const pass =
        deckPass(rules_.deckColourRule, rules_.deckValueRules, rules_.alternateCardCreation);
    int made = 0;
    while (!pass.empty() && made < rules_.deckSize) {
        for (auto const& [suit, value] : pass) {
            if (made >= rules_.deckSize) break;
            make(suit, value, centre);
            ++made;
        }
    }
    for (int i = 0; i < rules_.extraCardCount; ++i)
        make(Karte::kSuitExtra, rules_.extraCardType, {centre.x, table.top - 1000.0f});
}

namespace {

Karte* buySpecial(Kartenmanager& manager, Kartenstapel* pile, int suit, int value, bool joker) {
    if (!pile) return nullptr;
    auto* card = new Karte(value, suit, 1, static_cast<int>(manager.cards.size()));
    manager.addCard(card);
    pile->addCard(card, nullptr, true, true);
    Style const* style = StyleSettings::instance().getStyle();
    pile->arrange(style ? style->arrangeSpeed : 0.0f);
    card->setFaceUp(true, 0.0f, 0.0f);
    (joker ? card->isJoker : card->isWildcard) = true;
    card->bought = true;
    return card;
}

}  // namespace

Karte* Kartenmanager::buyJoker(int const& suit, int const& value) {
    play_.jokerList.emplace_back(suit, value);
    Karte* card = buySpecial(*this, findJokerPile(), suit, value, true);
    // Only a card that joins the game counts in the deck size.
    if (card) ++rules_.deckSize;
    return card;
}

Karte* Kartenmanager::buyWildcard(int const& suit, int const& value) {
    play_.wildcardList.emplace_back(suit, value);
    Karte* card = buySpecial(*this, findWildcardPile(), suit, value, false);
    if (card) ++rules_.deckSize;
    return card;
}

namespace {

Kartenstapel* firstOfTypes(std::vector<Kartenstapel*> const& piles, int first, int second) {
    for (Kartenstapel* pile : piles)
        if (pile->rules.pileType == first) return pile;
    for (Kartenstapel* pile : piles)
        if (pile->rules.pileType == second) return pile;
    return nullptr;
}

std::vector<std::pair<int, int>> flaggedCards(Kartenstapel const* pile, bool joker) {
    std::vector<std::pair<int, int>> out;
    for (Karte* card : pile->getCardsWithLinked())
        if (joker ? card->isJoker : card->isWildcard) out.emplace_back(card->suit, card->value);
    return out;
}

}  // namespace

Kartenstapel* Kartenmanager::findWildcardPile() const { return firstOfTypes(piles, kPileWildcard, kPileWildcardJoker); }

Kartenstapel* Kartenmanager::findJokerPile() const { return firstOfTypes(piles, kPileJoker, kPileWildcardJoker); }

std::vector<std::pair<int, int>> Kartenmanager::collectJokers() const {
    Kartenstapel const* pile = findJokerPile();
    return pile ? flaggedCards(pile, true) : play_.jokerList;
}

std::vector<std::pair<int, int>> Kartenmanager::collectWildcards() const {
    Kartenstapel const* pile = findWildcardPile();
    return pile ? flaggedCards(pile, false) : play_.wildcardList;
}

std::vector<Kartenstapel*> Kartenmanager::findPilesByName(std::wstring const& name) const {
    std::vector<Kartenstapel*> out;
    for (Kartenstapel* pile : piles)
        if (pile->getName() == name) out.push_back(pile);
    return out;
}

int Kartenmanager::countTableauCards() const {
    std::vector<Karte*> seen;
    for (Kartenstapel const* pile : piles)
        if (pile->rules.pileType == kPileTableau) {
            std::vector<Karte*> const held = pile->getCardsWithLinked();
            seen.insert(seen.end(), held.begin(), held.end());
        }
    std::sort(seen.begin(), seen.end());
    return static_cast<int>(std::unique(seen.begin(), seen.end()) - seen.begin());
}

int Kartenmanager::countEmptyTableauPiles() const {
    int count = 0;
    for (Kartenstapel const* pile : piles)
        if (pile->rules.pileType == kPileTableau && pile->getCardsWithLinked().empty()) ++count;
    return count;
}

int Kartenmanager::countSeenEmptyTableauPiles() const {
    int count = 0;
    for (Kartenstapel const* pile : piles) {
        if (pile->rules.pileType != kPileTableau) continue;
        std::vector<Karte*> own;
        pile->getCards(own, true, true);
        if (own.empty()) ++count;
    }
    return count;
}

float Kartenmanager::getClearedCardRatio() const {
    int const atStart = play_.counts.tableauCardsAtStart;
    return atStart > 0 ? static_cast<float>(getClearedCardCount()) / static_cast<float>(atStart) : 0.0f;
}

float Kartenmanager::getRestCardRatio() const {
    int const atStart = play_.counts.tableauCardsAtStart;
    return atStart > 0 ? static_cast<float>(play_.counts.tableauCardCount) / static_cast<float>(atStart) : 0.0f;
}

GameEndParms Kartenmanager::makeGameEndParms(bool won) const {
    GameEndParms record;
    record.score = play_.score + play_.bonusScore;
    record.time = play_.gameTime;
    record.extraCards = play_.counts.extraCardsFound;
    record.allTableauEmpty = play_.counts.emptyTableauPileCount == play_.counts.tableauPileCount;
    record.emptyTableauPiles = play_.counts.seenEmptyTableauPileCount;
    record.maxCombo = 0;
    if (won) {
        record.restCards = 0;
        record.restRatio = 0.0f;
        record.clearedCards = play_.counts.tableauCardsAtStart;
        record.clearedRatio = 1.0f;
    } else {
        // A table that started without tableau cards has nothing to compare with: ratios 0.
        record.restCards = play_.counts.tableauCardCount;
        record.restRatio = getRestCardRatio();
        record.clearedCards = getClearedCardCount();
        record.clearedRatio = getClearedCardRatio();
    }
    return record;
}

namespace {

bool nameListed(std::vector<std::wstring> const& names, std::wstring const& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

bool Kartenmanager::passesFirstPileFilter(Kartenstapel const* pile) const {
    return firstPileFilter.empty() || !pile || nameListed(firstPileFilter, pile->getName());
}

bool Kartenmanager::passesSecondPileFilter(Kartenstapel const* pile) const {
    return secondPileFilter.empty() || !pile || nameListed(secondPileFilter, pile->getName());
}

bool Kartenmanager::isAllowedCard(Karte const* card) const {
    if (tutorialCardNames.empty()) return true;
    return card && nameListed(tutorialCardNames, card->getUserName());
}

bool Kartenmanager::isAllowedPile(Kartenstapel const* pile) const {
    if (tutorialPileNames.empty()) return true;
    return pile && nameListed(tutorialPileNames, pile->getUserName());
}

void Kartenmanager::updateSpecialPile(bool emit) {
    Kartenstapel* pile = findPile(rules_.specialPileName);
    if (!pile) {
        specialPileMissing.emit();
        return;
    }
    bool const empty = pile->getCardsWithLinked().empty();
    if (emit && empty != play_.specialPileWasEmpty) {
        if (empty) specialPileEmpty.emit(*pile);
        else specialPileRefilled.emit(*pile);
    }
    play_.specialPileWasEmpty = empty;
}

Anordnung* Kartenmanager::findArrangementOfCard(Karte const* card) const {
    for (Kartenstapel const* pile : piles)
        for (Anordnung* arrangement : pile->getArrangements())
            if (std::find(arrangement->cards.begin(), arrangement->cards.end(), card) != arrangement->cards.end())
                return arrangement;
    return nullptr;
}

float Kartenmanager::getGoalCardRatio() const {
    return cards.empty() ? 0.0f : static_cast<float>(play_.counts.goalCardCount) / static_cast<float>(cards.size());
}

namespace {

// One face-up step of a pile that keeps the cards laid on it in a straight fan of unlimited
// length (a pairs pile sends them on); none for any other pile.
D3DXVECTOR2 growthStep(Kartenstapel const& pile) {
    Anordnung const* root = pile.getRootArrangement();
    PileRules const& rules = pile.rules;
    bool const keeps = rules.acceptColourRule != kColourNichts && rules.acceptValueRule != kValueNichts && !rules.pairs;
    bool const limited = root && root->maxCards >= 0 && root->maxCards < Anordnung::kMaxCards;
    if (!root || root->spline || limited || !keeps) return {0.0f, 0.0f};
    return {root->deltaVisible.x * pile.cardStep.x * pile.cardSize.x, root->deltaVisible.y * pile.cardStep.y * pile.cardSize.y};
}

// How far beyond its place a card of the pile may reach when laid again: half the growth of its
// box at the pile's largest random turn, and its largest random shift.
D3DXVECTOR2 jitterReach(Kartenstapel const& pile) {
    float const a = D3DXToRadian(std::min(std::fabs(pile.rotationJitter), 90.0f));
    D3DXVECTOR2 const size = pile.cardSize * pile.getScale();
    Anordnung const* root = pile.getRootArrangement();
    float const shift = root ? std::max(std::fabs(pile.jitter.x * root->deltaVisible.x),
                                        std::fabs(pile.jitter.y * root->deltaVisible.y))
                             : 0.0f;
    return {(size.x * std::cos(a) + size.y * std::sin(a) - size.x) * 0.5f + shift * pile.cardSize.x,
            (size.x * std::sin(a) + size.y * std::cos(a) - size.y) * 0.5f + shift * pile.cardSize.y};
}

}  // namespace

Orvex::FRect Kartenmanager::computeTableRect(int roomSteps) const {
    bool any = false;
    Orvex::FRect r{0.0f, 0.0f, 0.0f, 0.0f};
    for (Kartenstapel const* pile : piles) {
        bool named = false;
        for (PilePosition const& entry : rules_.pilePositions) named |= entry.name == pile->getName();
        if (named) continue;
        Orvex::FRect bounds;
        pile->getBounds(bounds, false);
        if (roomSteps > 0) {
            D3DXVECTOR2 const step = growthStep(*pile) * static_cast<float>(roomSteps);
            D3DXVECTOR2 const reach = jitterReach(*pile);
            bounds.left += std::min(step.x, 0.0f) - reach.x;
            bounds.right += std::max(step.x, 0.0f) + reach.x;
            bounds.top += std::min(step.y, 0.0f) - reach.y;
            bounds.bottom += std::max(step.y, 0.0f) + reach.y;
        }
        if (any) r.unite(bounds);
        else r = bounds;
        any = true;
    }
    return r;
}

}  // namespace Solitaire
