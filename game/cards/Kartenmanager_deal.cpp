// A new game: seed, deck, deal, bought jokers and wildcards, revealing, camera; the deal start
// points of cards; fitting the camera again, following the table as its columns grow, and
// announcing the locks of the dealt cards.
//
// The table is fitted to where the cards are going (the piles' bounds by the cards' goals), so a
// fit made at the deal holds the cards when they land, with room for the columns to grow: a
// press aimed at a card must find it where it was drawn, so the table keeps its scale and place
// while the cards lie inside it (a shorter column or a joker taken away never zooms it in), and
// only a column grown past the room zooms it out.
//
// The deal loses no card: required cards are reserved per pile and wish (piles copied from one
// template share wish ids, so ids do not tell them apart), a reservation whose wish was not
// reached returns to the deck once its pile is dealt, and a card is only taken from the deck
// when its pile has a free slot and takes it. Wishes beyond an arrangement's "MAX_CARDS" (-1:
// no limit) are never reached and reserve nothing.
#include <algorithm>
#include <cmath>

#include "engine/core/Logger.h"
#include "engine/core/Random.h"
#include "engine/core/Utils.h"
#include "engine/platform/D3DInterface.h"
#include "game/cards/Anordnung.h"
#include "game/look/GameStyle.h"
#include "game/cards/Karte.h"
#include "game/look/Kartenset.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "game/cards/Placing.h"
#include "game/cards/RuleMatching.h"
#include "game/look/SolitaireCamera.h"
#include "game/look/Style.h"
#include "game/look/StyleSettings.h"
#include "port/crt/crt.h"

namespace Solitaire {

// One required card: the wish it serves and the card reserved for it.
struct DealRecord {
    Anordnung* arrangement = nullptr;
    int wishIndex = 0;
    Karte* card = nullptr;
};

struct DealRecords {
    std::vector<DealRecord> list;

    DealRecord* find(Anordnung const* arrangement, int wishIndex) {
        for (DealRecord& record : list)
            if (record.arrangement == arrangement && record.wishIndex == wishIndex && record.card) return &record;
        return nullptr;
    }
};

namespace {

// Whether an arrangement can ever hold a card at place.
bool reachable(Anordnung const& arrangement, int place) {
    return arrangement.maxCards < 0 || place < arrangement.maxCards;
}

// The wish of the arrangement for place, or -1.
int wishAt(Anordnung const& arrangement, int place) {
    for (std::size_t i = 0; i < arrangement.wishes.size(); ++i)
        if (arrangement.wishes[i].position == place) return static_cast<int>(i);
    return -1;
}

bool wishAdmits(KartenWunsch const& wish, Karte const* card) {
    return matchesCardRule(wish.colourRule, wish.valueRule, card->suit, card->value);
}

}  // namespace

void Kartenmanager::startGame(SolitaireCamera* newCamera, std::wstring const& text, bool quick,
                              OwnedCards const& wildcards, OwnedCards const& jokers, float balance) {
    camera = newCamera;
    // The game style the variant names becomes current; without one the current one stays.
    if (!rules_.gameStyleName.empty()) {
        StyleSettings& settings = StyleSettings::instance();
        if (GameStyle* named = settings.findGameStyle(rules_.gameStyleName)) settings.setGameStyle(named);
        else
            Orvex::logWarning(L"Game style \"" + rules_.gameStyleName + L"\" of \"" + rules_.gameName +
                              L"\" is unknown; the current one plays");
    }
    play_.gameStatus = kGameRunning;
    play_.gameEndSent = false;
    resetInput();
    seedText = text;
    setPointsBalance(balance, true);
    // A new game shows its own score from the start: the last game's does not ease into it.
    shownScorePlus = play_.score;
    shownScoreMinus = play_.bonusScore;
    unsigned seed = 0;
    if (seedText.empty()) {
        seed = now();
        seedText = makeSeedText(seed);
    } else {
        seed = seedFromText(seedText);
    }
    msvc::srand(seed);
    createDeck();
    deal(static_cast<int>(wildcards.size()), static_cast<int>(jokers.size()), quick);

    OwnedCards sorted = wildcards;
    std::sort(sorted.begin(), sorted.end());
    for (auto const& [suit, value] : sorted) buyWildcard(suit, value);
    for (auto const& [suit, value] : jokers) buyJoker(suit, value);

    Style const* style = currentStyle();
    float const turnSpeed = style ? style->makeVisibleSpeed : 0.0f;
    for (Kartenstapel* pile : piles) {
        float const p = rules_.visibleRatio * pile->rules.visibleRatio;
        if (p == 0.0f) continue;
        for (Karte* card : pile->getCardsWithLinked())
            if (!card->isFaceUp() && p > Orvex::randomFloat(0.0f, 1.0f)) card->setFaceUp(true, turnSpeed, 0.0f);
    }

    // The piles placed on the screen stand apart from the table rectangle; placed before and
    // again after the camera fits it. The fit is made at once: the first cards land within the
    // first second, and a camera still gliding from the last game's table (or the first
    // game's unfitted view) would show them under the HUD.
    applyScreenPilePositions();
    tableRect = computeTableRect(kRoomSteps);
    if (camera) {
        if (Kartenset const* set = StyleSettings::instance().getKartenset())
            camera->setCardSize(set->cellSize.x, set->cellSize.y);
        camera->fitContent(tableRect, 0.0f);
    }
    applyScreenPilePositions();
    play_.counts.tableauCardsAtStart = countTableauCards();
    play_.counts.tableauCardCount = play_.counts.tableauCardsAtStart;
    if (gameStyle_) {
        gameStyle_->resetRunning();
        gameStyle_->updateMultiplier();
    }
    resolveAfterMove(false);
    // The table was just resolved: the first record schedules and runs one resolution of its own
    // (with the hint list); the first update resolves the table once more.
    play_.resolutionPending = false;
    saveUndoState();
    play_.resolutionPending = true;
    play_.resolutionDelay = -1.0f;
}

void Kartenmanager::deal(int wildcardsMade, int jokersMade, bool quick) {
    std::vector<Karte*> deck = cards;
    msvc::random_shuffle(deck.begin(), deck.end());

    // Required cards, pile by pile, wish by wish; a record no card matches is dropped.
    DealRecords records;
    for (Kartenstapel* pile : piles) {
        for (Anordnung* arrangement : pile->getArrangements()) {
            for (std::size_t w = 0; w < arrangement->wishes.size(); ++w) {
                KartenWunsch const& wish = arrangement->wishes[w];
                if (!reachable(*arrangement, wish.position)) continue;
                auto found = std::find_if(deck.begin(), deck.end(), [&](Karte* c) { return wishAdmits(wish, c); });
                if (found == deck.end()) continue;
                records.list.push_back({arrangement, static_cast<int>(w), *found});
                deck.erase(found);
            }
        }
    }

    int pilesFilled = 0;
    for (Kartenstapel* pile : piles) {
        dealToPile(pile, deck, records, pilesFilled, wildcardsMade, jokersMade, quick);
        // Reservations of this pile that its deal did not reach go back to the deck.
        for (DealRecord& record : records.list) {
            if (!record.card || record.arrangement->getPile() != pile) continue;
            deck.push_back(record.card);
            record.card = nullptr;
        }
    }
    if (!quick) playSound(GameStyle::kSoundMoveStart);
}

void Kartenmanager::dealToPile(Kartenstapel* pile, std::vector<Karte*>& deck, DealRecords& records, int& pilesFilled,
                               int& wildcardsMade, int& jokersMade, bool quick) {
    PileRules const& rules = pile->rules;
    int const visible = rules.initVisibleCards, hidden = rules.initHiddenCards;
    int dealtHidden = 0, dealtVisible = 0;
    int const wanted = visible + hidden;
    int const allCards = std::max(1, std::min(wanted, static_cast<int>(cards.size())));
    GameStyle const* gameStyle = gameStyle_;
    Anordnung* root = pile->getRootArrangement();

    while (root && dealtHidden + dealtVisible < wanted) {
        int slot = -1;
        Anordnung* target = findFreeSlot(*root, slot);
        if (!target) break;  // no free slot: the card would reach no pile
        int const place = static_cast<int>(target->cards.size());
        int const wishIndex = wishAt(*target, place);
        KartenWunsch const* wish = wishIndex >= 0 ? &target->wishes[wishIndex] : nullptr;

        std::vector<Karte*> candidates;
        DealRecord* record = wish ? records.find(target, wishIndex) : nullptr;
        if (record) {
            candidates.push_back(record->card);
        } else {
            for (Karte* card : deck) {
                bool const extra = card->suit == Karte::kSuitExtra;
                if (!wish) {
                    if (!extra && matchesCardRule(rules.initColourRule, rules.initValueRule, card->suit, card->value))
                        candidates.push_back(card);
                } else if ((extra || matchesCardRule(rules.initColourRule, rules.initValueRule, card->suit, card->value)) &&
                           wishAdmits(*wish, card)) {
                    candidates.push_back(card);
                }
            }
        }
        if (candidates.empty()) break;
        Karte* card = candidates[static_cast<std::size_t>(msvc::rand()) % candidates.size()];

        if (!pile->addCard(card, nullptr, false, true)) break;
        if (record) {
            card->userName = wish->userName;
            record->card = nullptr;
        } else {
            deck.erase(std::find(deck.begin(), deck.end(), card));
        }
        placeCardAtStart(card, tableRect, pile);
        if (!quick) {
            float const wait = (static_cast<float>(dealtHidden + dealtVisible) / static_cast<float>(allCards) +
                                static_cast<float>(pilesFilled) * 0.2f) * 0.5f;
            card->setWaitTimer(wait, Karte::kPendingPosition);
        }
        bool const faceUp = dealtHidden >= hidden;
        (faceUp ? dealtVisible : dealtHidden) += 1;
        card->setFaceUp(faceUp || (wish && wish->visible), 0.0f, 0.0f);
        if (wish) {
            card->setKeys(wish->keys, 0.0f, 0.0f);
            card->setLocks(wish->locks, 0.0f, 0.0f);
        }

        if (card->suit != Karte::kSuitExtra) {
            float w = rules_.wildcardRatio * rules.wildcardProp;
            if (wish && wish->wildcardProp >= 0.0f) w = wish->wildcardProp;
            else if (dealtHidden + dealtVisible >= wanted) w = 0.0f;
            int const maxWild = gameStyle ? gameStyle->maxWildcards : -1;
            int const maxJoker = gameStyle ? gameStyle->maxJokers : -1;
            if (underLimit(wildcardsMade, maxWild) && Orvex::randomFloat(0.0f, 1.0f) < w) {
                card->isWildcard = true;
                ++wildcardsMade;
            } else {
                float const j = rules_.jokerRatio * rules.jokerProp;
                if (underLimit(jokersMade, maxJoker) && Orvex::randomFloat(0.0f, 1.0f) < j) {
                    card->isJoker = true;
                    ++jokersMade;
                }
            }
        }
    }

    if (!pile->getCardsWithLinked().empty()) ++pilesFilled;
    if (root) root->rebuildLinks();
    Style const* style = currentStyle();
    pile->arrange(quick || !style ? 0.0f : style->arrangeSpeed);
}

void Kartenmanager::placeCardAtStart(Karte* card, Orvex::FRect const& table, Kartenstapel* pile) {
    if (!card) return;
    D3DXVECTOR2 const c{(table.left + table.right) * 0.5f, (table.top + table.bottom) * 0.5f};
    D3DXVECTOR2 start{c.x, table.top - (table.bottom - table.top) - 1000.0f};
    if (gameStyle_ && !gameStyle_->startPositions.empty() && pile) {
        D3DXVECTOR2 p = pile->position;
        for (PilePosition const& entry : rules_.pilePositions) {
            if (entry.name != pile->getName()) continue;
            p = {Orvex::lerp(table.left, table.right, entry.relative.x),
                 Orvex::lerp(table.top, table.bottom, entry.relative.y)};
            break;
        }
        D3DXVECTOR2 u{p.x - c.x, p.y - c.y};
        float const length = std::sqrt(u.x * u.x + u.y * u.y);
        u = length > 0.0f && std::isfinite(length) ? D3DXVECTOR2(u.x / length, u.y / length) : D3DXVECTOR2(0.0f, 1.0f);
        D3DDISPLAYMODE const& mode = Orvex::D3DInterface::getInstance().getDisplayMode();
        start = {c.x + static_cast<float>(mode.Width) * u.x * 1.25f,
                 Orvex::lerp(table.top, table.bottom, 0.5f) + static_cast<float>(mode.Height) * u.y * 1.25f};
    }
    card->moveTo(start, 0.0f, 0.0f);
    ++placedCardCount;
}

void Kartenmanager::relayout() {
    if (camera) camera->fitContent(tableRect, 0.0f);
    applyScreenPilePositions();
}

bool Kartenmanager::followTableContent() {
    if (play_.gameStatus != kGameRunning || heldCard || !camera) return false;
    Orvex::FRect const content = computeTableRect();
    if (!std::isfinite(content.left) || !std::isfinite(content.top) || !std::isfinite(content.right) ||
        !std::isfinite(content.bottom) || camera->holdsContent(content))
        return false;
    tableRect = computeTableRect(kRoomSteps);
    camera->markRefit();
    camera->fitContent(tableRect, kFollowTimeFactor);
    return true;
}

void Kartenmanager::computeCardBounds() {
    D3DXVECTOR4 largest{0.0f, 0.0f, 0.0f, 0.0f};
    bool any = false;
    for (Karte const* card : cards) {
        bool const waits = card->pendingMask & Karte::kPendingLocks;
        D3DXVECTOR4 const& counted = waits ? card->pending.locks : card->locks.current;
        if (counted == D3DXVECTOR4(0.0f, 0.0f, 0.0f, 0.0f)) continue;
        D3DXVECTOR4 const& v = card->locks.current;
        largest = {std::max(largest.x, v.x), std::max(largest.y, v.y), std::max(largest.z, v.z),
                   std::max(largest.w, v.w)};
        any = true;
    }
    if (any) lockedCardsFound.emit(largest);
}

}  // namespace Solitaire
