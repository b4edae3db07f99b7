// Arrangements: construction and copies, wishes, the chain of successors, counts, links along
// the chain, and undo.
#include "game/cards/Anordnung.h"

#include <algorithm>
#include <memory>
#include <unordered_set>

#include "engine/core/Logger.h"
#include "engine/core/Random.h"
#include "engine/core/Utils.h"
#include "engine/render/Spline.h"

namespace Solitaire {

namespace {

using Visited = std::unordered_set<Anordnung const*>;

// Calls fn on the arrangement and then, depth first, on each successor; each arrangement once,
// so a chain that leads back to itself ends.
template <class Fn>
void walkChain(Anordnung const* arrangement, Visited& visited, Fn const& fn) {
    if (!arrangement || !visited.insert(arrangement).second) return;
    fn(*arrangement);
    for (Anordnung const* next : arrangement->nextArrangements) walkChain(next, visited, fn);
}

template <class Fn>
void forChain(Anordnung const* arrangement, Fn const& fn) {
    Visited visited;
    walkChain(arrangement, visited, fn);
}

void erasePlace(Anordnung& arrangement, std::size_t i) {
    auto const at = static_cast<std::ptrdiff_t>(i);
    arrangement.cards.erase(arrangement.cards.begin() + at);
    if (i < arrangement.cardOffsets.size()) arrangement.cardOffsets.erase(arrangement.cardOffsets.begin() + at);
    if (i < arrangement.cardTurns.size()) arrangement.cardTurns.erase(arrangement.cardTurns.begin() + at);
}

int depthOf(Anordnung const& arrangement, bool excludeSelf, Visited& visited) {
    int deepest = 0;
    if (visited.insert(&arrangement).second) {
        for (Anordnung const* previous : arrangement.previousArrangements) {
            if (previous) deepest = std::max(deepest, depthOf(*previous, false, visited));
        }
        visited.erase(&arrangement);
    }
    return deepest + (excludeSelf ? 0 : static_cast<int>(arrangement.cards.size()));
}

}  // namespace

Anordnung::Anordnung(Orvex::XMLNode& node, Kartenstapel* owner, StapelLayout* ownerLayout,
                     AnordnungReadOptions const& options)
    : Orvex::NamedObject(node), pile(owner), layout(ownerLayout) {
    loadDefinition(node, options);
}

Anordnung::Anordnung(Anordnung const& other, Kartenstapel* owner, StapelLayout* ownerLayout)
    : UndoObjekt(),
      Orvex::NamedObject(static_cast<Orvex::NamedObject const&>(other)),
      spline(other.spline ? new Orvex::Spline(*other.spline) : nullptr),
      splineStartAtZero(other.splineStartAtZero),
      splineEndAtEnd(other.splineEndAtEnd),
      useSplineDirection(other.useSplineDirection),
      splineRotationOffset(other.splineRotationOffset),
      splineRotationFactor(other.splineRotationFactor),
      deltaVisible(other.deltaVisible),
      deltaInvisible(other.deltaInvisible),
      deltaSelect(other.deltaSelect),
      position(other.position),
      rotation(other.rotation),
      maxCards(other.maxCards),
      splinePow(other.splinePow),
      pile(owner),
      layout(ownerLayout),
      nextNames(other.nextNames),
      fillRatio(other.fillRatio),
      cardsCenteredOnSpline(other.cardsCenteredOnSpline),
      wishes(other.wishes) {
    std::copy(std::begin(other.splineWeights), std::end(other.splineWeights), splineWeights);
    std::copy(std::begin(other.centerMode), std::end(other.centerMode), centerMode);
    std::copy(std::begin(other.centerRatio), std::end(other.centerRatio), centerRatio);
}

Anordnung::~Anordnung() {
    if (spline) spline->release();
}

void Anordnung::readXML(Orvex::XMLNode& node) { loadDefinition(node, AnordnungReadOptions{}); }

void Anordnung::linkSuccessors(std::vector<Anordnung*> const& pileArrangements) {
    for (std::wstring const& name : nextNames) {
        Anordnung* next = Orvex::findNamedObject(pileArrangements, name);
        if (!next) continue;
        if (std::find(nextArrangements.begin(), nextArrangements.end(), next) != nextArrangements.end()) continue;
        nextArrangements.push_back(next);
        next->previousArrangements.push_back(this);
    }
}

void Anordnung::appendWish(KartenWunsch const& wish) {
    if (wishes.size() >= static_cast<std::size_t>(kMaxWishes)) {
        Orvex::logWarning(L"Anordnung \"" + getName() + L"\": more than " + std::to_wstring(kMaxWishes) +
                          L" wishes; the rest are skipped");
        return;
    }
    wishes.push_back(wish);
}

bool Anordnung::addExtraCardWish() {
    for (KartenWunsch& wish : wishes) {
        if (wish.position == 0) {
            wish.colourRule = KartenWunsch::kColourExtra;
            return false;
        }
    }
    for (KartenWunsch& wish : wishes) ++wish.position;
    if (maxCards != -1 && maxCards < kMaxCards) ++maxCards;
    KartenWunsch extra(0);
    extra.colourRule = KartenWunsch::kColourExtra;
    extra.valueRule = KartenWunsch::kValueAll;
    extra.visible = true;
    appendWish(extra);
    return true;
}

void Anordnung::addCardEntry(Karte* card, int place) {
    if (!card) return;
    // Jitter entries run beside the cards; a list that fell out of step is padded first.
    cardOffsets.resize(cards.size(), D3DXVECTOR2(0.0f, 0.0f));
    cardTurns.resize(cards.size(), 0.0f);
    D3DXVECTOR2 const jitter{Orvex::randomFloat(-1.0f, 1.0f), Orvex::randomFloat(-1.0f, 1.0f)};
    float const turn = Orvex::randomFloat(-1.0f, 1.0f);
    if (place >= 0 && static_cast<std::size_t>(place) < cards.size()) {
        auto const at = static_cast<std::ptrdiff_t>(place);
        cards.insert(cards.begin() + at, card);
        cardOffsets.insert(cardOffsets.begin() + at, jitter);
        cardTurns.insert(cardTurns.begin() + at, turn);
    } else {
        cards.push_back(card);
        cardOffsets.push_back(jitter);
        cardTurns.push_back(turn);
    }
}

bool Anordnung::removeCard(Karte* card) {
    bool removed = false;
    forChain(this, [&](Anordnung const& a) {
        if (removed) return;
        auto& arrangement = const_cast<Anordnung&>(a);
        auto const found = std::find(arrangement.cards.begin(), arrangement.cards.end(), card);
        if (found == arrangement.cards.end()) return;
        erasePlace(arrangement, static_cast<std::size_t>(found - arrangement.cards.begin()));
        removed = true;
    });
    return removed;
}

int Anordnung::countCards() const {
    int count = 0;
    forChain(this, [&](Anordnung const& a) { count += static_cast<int>(a.cards.size()); });
    return count;
}

int Anordnung::freeCapacity(bool const& subtractCards) const {
    long long free = 0;
    bool unlimited = false;
    forChain(this, [&](Anordnung const& a) {
        if (a.maxCards == -1) unlimited = true;
        else free += a.maxCards - (subtractCards ? static_cast<long long>(a.cards.size()) : 0);
    });
    return unlimited ? -1 : static_cast<int>(free);
}

void Anordnung::collectCards(std::vector<Karte*>& out, bool const& takeHidden, bool const& takeVisible) const {
    out.clear();
    if (!takeHidden && !takeVisible) return;
    std::unordered_set<Karte const*> seen;
    forChain(this, [&](Anordnung const& a) {
        for (Karte* card : a.cards) {
            if (!card || !seen.insert(card).second) continue;
            if (card->isFaceUp() ? takeVisible : takeHidden) out.push_back(card);
        }
    });
}

std::vector<Karte*> Anordnung::collectFreeCards() const {
    std::vector<Karte*> all;
    collectCards(all, true, true);
    std::vector<Karte*> free;
    for (Karte* card : all) {
        if (card->backLinks.empty()) free.push_back(card);
    }
    return free;
}

void Anordnung::rebuildLinks() {
    forChain(this, [](Anordnung const& a) {
        for (Karte* card : a.cards) {
            if (card) card->unlink(false, true, true);
        }
        for (std::size_t i = 1; i < a.cards.size(); ++i) {
            if (a.cards[i]) a.cards[i]->linkTo(a.cards[i - 1]);
        }
        if (a.cards.empty()) return;
        Karte* first = a.cards.front();
        Karte* last = a.cards.back();
        for (Anordnung const* previous : a.previousArrangements) {
            if (previous && !previous->cards.empty()) first->linkTo(previous->cards.back());
        }
        for (Anordnung const* next : a.nextArrangements) {
            if (next && !next->cards.empty()) next->cards.front()->linkTo(last);
        }
    });
}

int Anordnung::chainDepth(bool const& excludeSelf) const {
    Visited visited;
    return depthOf(*this, excludeSelf, visited);
}

Anordnung::AnordnungUndoData::AnordnungUndoData(Anordnung& arrangement)
    : owner(arrangement),
      cards(arrangement.cards),
      cardOffsets(arrangement.cardOffsets),
      cardTurns(arrangement.cardTurns),
      fillRatio(arrangement.fillRatio) {}

void Anordnung::AnordnungUndoData::restore() {
    owner.cards = cards;
    owner.cardOffsets = cardOffsets;
    owner.cardTurns = cardTurns;
    owner.fillRatio = fillRatio;
}

void Anordnung::saveUndoState() {
    UndoObjekt::saveUndoState();
    appendUndoRecord(std::make_unique<AnordnungUndoData>(*this));
}

}  // namespace Solitaire
