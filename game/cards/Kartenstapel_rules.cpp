// A pile's rule tests: a card laid on a card, whether a card may be picked up and how much it
// carries, whether a card continues an accepted sequence, the shuffle's cards, the cards a run
// may be laid on and whether the pile takes a run (a joker fitting anything and taking anything,
// in a run as well as under it or on it, or read as the card it is: always so for a dealt joker
// on a goal pile).
#include <algorithm>
#include <span>

#include "game/cards/Anordnung.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "game/cards/PileWords.h"
#include "game/cards/RuleMatching.h"

namespace Solitaire {

namespace {

// A whole ordered run of one deck's length (STAPEL_PLUS from ASS, STAPEL_MINUS from KÖNIG).
bool isWholeOrderedRun(Karte::LinkedCards const& run, int first, int step) {
    if (static_cast<int>(run.size()) != kDeckValues) return false;
    for (std::size_t i = 0; i < run.size(); ++i)
        if (!run[i].first || run[i].first->value != first + step * static_cast<int>(i)) return false;
    return true;
}

bool colourMatches(int rule, Karte const& lower, Karte const* upper) {
    switch (rule) {
    case kColourKreuz:
    case kColourKaro:
    case kColourPik:
    case kColourHerz:
        return lower.suit == rule;
    case kColourRot:
        return isRed(lower.suit);
    case kColourSchwarz:
        return !isRed(lower.suit);
    case kColourAlleSelbe:
    case kColourVorherigeFarbe:
        return !upper || isRed(lower.suit) == isRed(upper->suit);
    case kColourAlleWechsel:
        return !upper || isRed(lower.suit) != isRed(upper->suit);
    case kColourRotSchwarz:
        // A black card goes on a red one, any other on a black one.
        return !upper || (isRed(upper->suit) ? !isRed(lower.suit) : isRed(lower.suit));
    case kColourVorherige:
        return !upper || lower.suit == upper->suit;
    case kColourNichts:
        return false;
    default:
        return true;
    }
}

bool pairValueMatches(int rule, int l, int u) {
    if (rule >= kValueAss && rule <= kValueKoenig) return l + u == rule - 1;
    if (rule == kValueAlles) return true;
    if (rule == kValueVorherige) return l == u;
    if (rule >= kValueAtLeastFirst && rule <= kValueLast) {
        int const v = rule - kValueAtLeastFirst;
        if (l >= v) return u >= v;
        if (u >= v) return false;
        return l + u + 1 == v;
    }
    return false;
}

bool hasName(std::vector<std::wstring> const& names, std::wstring const& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

bool Kartenstapel::isSpecialPile() const { return isSpecialType(rules.pileType); }

bool Kartenstapel::isWildJoker(Karte const& card) const { return card.isJoker && !(isGoalPile() && card.isDealtJoker()); }

bool Kartenstapel::followsInRun(Karte const* lower, Karte const* upper, int colourRule, int valueRule, bool& wholeRun,
                                Karte::LinkedCards const& run) const {
    if (lower && upper && (isWildJoker(*lower) || isWildJoker(*upper))) return true;
    return acceptsCardOn(lower, upper, colourRule, valueRule, wholeRun, run);
}

bool Kartenstapel::acceptsCardOn(Karte const* lower, Karte const* upper, int colourRule, int valueRule,
                                 bool& wholeRun, Karte::LinkedCards const& run) const {
    if (!lower) return false;
    Karte const& top = upper ? *upper : *lower;
    bool const extra = lower->suit == Karte::kSuitExtra || top.suit == Karte::kSuitExtra;
    if (extra && lower->suit != top.suit) return false;
    bool const colour = colourMatches(colourRule, *lower, upper);

    if (rules.pairs) return colour && pairValueMatches(valueRule, lower->value, top.value);

    WrapAround const wrap = WrapAround::of(rules);
    bool const wraps = wrap.isActive();
    int const l = lower->value;
    int const u = top.value;
    bool value = true;
    if (valueRule >= kValueAss && valueRule <= kValueKoenig) {
        value = u == valueRule;
    } else {
        switch (valueRule) {
        case kValueZahlen:
            value = u <= 9;
            break;
        case kValueFiguren:
            value = u > 9;
            break;
        case kValueStapelPlus:
            wholeRun = true;
            value = isWholeOrderedRun(run, kValueAss, 1);
            break;
        case kValueStapelMinus:
            wholeRun = true;
            value = isWholeOrderedRun(run, kValueKoenig, -1);
            break;
        case kValueNichts:
            value = false;
            break;
        case kValueVorherige:
            value = !upper || l == u;
            break;
        case kValueVorherigeMinus:
            value = !upper || l == u + 1 || (wraps && l == wrap.low && u == wrap.high);
            break;
        case kValueVorherigePlus:
            value = !upper || l == u - 1 || (wraps && l == wrap.high && u == wrap.low);
            break;
        case kValuePlusMinus:
            value = !upper || l == u + 1 || l == u - 1 ||
                    (wraps && ((l == wrap.low && u == wrap.high) || (l == wrap.high && u == wrap.low)));
            break;
        default:
            break;
        }
    }
    return colour && value;
}

int Kartenstapel::getMaxMovableRun() const {
    if (rules.moveRun < 1) return 0;
    if (!rules.moveMaxByEmptyLinked) return rules.moveMaxSize;
    Kartenmanager const& manager = Kartenmanager::instance();
    unsigned emptyLinked = 0;
    for (std::wstring const& name : rules.linkedPiles) {
        Kartenstapel const* linked = manager.findPile(name);
        if (linked && (!linked->getRootArrangement() || linked->getRootArrangement()->countCards() == 0)) ++emptyLinked;
    }
    unsigned const most = static_cast<unsigned>(rules.moveMaxSize);
    return static_cast<int>(most < emptyLinked ? most : emptyLinked);
}

void Kartenstapel::collectCarriedRun(Karte const* card, Karte::LinkedCards& run) const {
    run.clear();
    if (card && isSpecialPile()) run.emplace_back(const_cast<Karte*>(card), 0);
    else if (card) card->collectLinked(run, true, 0, getMaxMovableRun());
}

bool Kartenstapel::canPickCard(Karte const* card, Gliding gliding) const {
    if (!card || !rules.canMoveRun) return false;
    // A locked card stays: locks mark cards that nothing may move.
    if (card->isLocked() || (card->isMoving() && gliding == Gliding::kRefused)) return false;
    if (rules.onlyActiveIfLinkedEmpty) {
        Kartenmanager const& manager = Kartenmanager::instance();
        for (std::wstring const& name : rules.linkedPiles) {
            Kartenstapel const* linked = manager.findPile(name);
            if (linked && linked != this && linked->getRootArrangement() &&
                linked->getRootArrangement()->countCards() > 0)
                return false;
        }
    }
    if (!card->isFaceUp()) return false;
    // A wildcard or joker pile offers each of its cards alone, as it offers each as a target: the
    // one found first is not buried under those found after it.
    if (isSpecialPile()) return true;

    int const most = getMaxMovableRun();
    if ((rules.moveRun == 1 || rules.moveRun < 0) && most != -1) {
        Karte::LinkedCards toTop;
        card->collectLinked(toTop, true, 0, -1);
        if (static_cast<unsigned>(toTop.size() - 1) > static_cast<unsigned>(most)) return false;
    }

    Karte::LinkedCards run;
    card->collectLinked(run, true, 0, rules.moveMaxSize);
    bool wholeRun = false;
    for (std::size_t i = 0; i < run.size(); ++i) {
        Karte const* lower = run[i].first;
        if (lower->isLocked()) return false;
        if (!rules.moveCheck || i + 1 == run.size()) continue;
        if (lower->isMoving() && gliding == Gliding::kRefused) return false;
        if (!followsInRun(lower, run[i + 1].first, rules.moveColourRule, rules.moveValueRule, wholeRun, run))
            return false;
    }
    return true;
}

bool Kartenstapel::isInAcceptedSequence(Karte const* card) const {
    if (!card) return false;
    bool wholeRun = false;
    Karte::LinkedCards run;
    card->collectLinked(run, true, 0, -1);
    if (run.size() >= 2) {
        for (std::size_t i = 0; i + 1 < run.size(); ++i)
            if (!followsInRun(run[i].first, run[i + 1].first, rules.acceptColourRule, rules.acceptValueRule, wholeRun,
                              run))
                return false;
        return true;
    }
    card->collectLinked(run, false, 1, 0);
    return run.size() == 2 &&
           followsInRun(run[1].first, card, rules.acceptColourRule, rules.acceptValueRule, wholeRun, run);
}

std::vector<Karte*> Kartenstapel::getMixCards() const {
    unsigned const flags = rules.shuffleFlags;
    std::vector<Karte*> cards;
    for (Karte* card : getCardsWithLinked()) {
        bool const up = card->isFaceUp();
        if ((up && (flags & 2u)) || (!up && (flags & 1u))) cards.push_back(card);
    }
    auto dropWhere = [&](auto test) { cards.erase(std::remove_if(cards.begin(), cards.end(), test), cards.end()); };
    bool const notPickable = (flags & 4u) != 0;
    if (notPickable != ((flags & 8u) != 0))
        dropWhere([&](Karte* card) { return canPickCard(card) == notPickable; });
    bool const outside = (flags & 16u) != 0;
    if (outside != ((flags & 32u) != 0))
        dropWhere([&](Karte* card) { return isInAcceptedSequence(card) == outside; });
    return cards;
}

std::vector<Karte*> Kartenstapel::getTargetCards() const {
    if (!isSpecialPile()) return collectFreeCards();
    std::vector<Karte*> faceUp;
    getCards(faceUp, false, true);
    return faceUp;
}

bool Kartenstapel::acceptsCards(Karte::LinkedCards const& run, Karte const* onCard) const {
    return acceptsCards(run, onCard, getTargetCards());
}

bool Kartenstapel::acceptsCards(Karte::LinkedCards const& run, Karte const* onCard,
                                std::vector<Karte*> const& targets) const {
    return takes(run, onCard, targets, true);
}

bool Kartenstapel::acceptsCardsAsTheyAre(Karte::LinkedCards const& run) const {
    return takes(run, nullptr, getTargetCards(), false);
}

bool Kartenstapel::takes(Karte::LinkedCards const& run, Karte const* onCard, std::vector<Karte*> const& targets,
                         bool jokersFit) const {
    int const length = static_cast<int>(run.size());
    if (run.empty() || !run.front().first || !rootArrangement_) return false;
    if (rules.acceptRunSize >= 0 && length > rules.acceptRunSize) return false;
    if (length < rules.minAcceptRunSize) return false;

    Karte const* first = run.front().first;
    Kartenstapel const* source = first->pile;
    if (source == this) {
        if (!onCard) return false;
    } else if (source) {
        if (!hasName(rules.sourcePiles, source->getName())) return false;
        if (!hasName(source->rules.targetPiles, getName())) return false;
    }

    int const room = freeCapacity(true);
    if (room != -1 && room < length && !rules.pairs) return false;

    if (isSpecialPile() && source && source->isSpecialPile()) return false;
    bool const anyFaceUp = std::any_of(targets.begin(), targets.end(), [](Karte* c) { return c->isFaceUp(); });
    bool const noCandidate = targets.empty();

    // A dealt joker is a card of the deck: on a goal pile it is that card, laid only where its card
    // is missing and taking only the card after it, so every card can still follow its own.
    // Elsewhere, and bought, a joker fits anything and takes anything.
    auto const wild = [&](Karte const* card) { return jokersFit && isWildJoker(*card); };
    Karte* const only[1] = {const_cast<Karte*>(onCard)};
    std::span<Karte* const> candidates(targets);
    if (onCard) {
        if (std::find(targets.begin(), targets.end(), onCard) == targets.end() || first == onCard) return false;
        if (wild(onCard)) return true;
        candidates = only;
    }
    if (wild(first)) return true;

    bool wholeRun = true;
    bool accepted = false;
    if (anyFaceUp) {
        for (Karte const* candidate : candidates) {
            if (wild(candidate)) return true;
            if (!candidate->isLocked() &&
                acceptsCardOn(candidate, first, rules.acceptColourRule, rules.acceptValueRule, wholeRun, run)) {
                accepted = true;
                break;
            }
        }
    } else {
        if (!noCandidate) return false;
        accepted = acceptsCardOn(first, nullptr, rules.acceptColourRuleEmpty, rules.acceptValueRuleEmpty, wholeRun, run);
    }

    if (accepted && rules.acceptCheck) {
        for (std::size_t i = 0; i + 1 < run.size() && accepted; ++i) {
            Karte const* lower = run[i].first;
            Karte const* upper = run[i + 1].first;
            accepted = !lower->isLocked() &&
                       (jokersFit ? followsInRun(lower, upper, rules.acceptColourRule, rules.acceptValueRule, wholeRun, run)
                                  : acceptsCardOn(lower, upper, rules.acceptColourRule, rules.acceptValueRule, wholeRun, run));
        }
    }
    return accepted;
}

void Kartenstapel::collectDealWishes(std::vector<KartenWunsch>& out) const {
    bool const pairs = rules.pairs;
    WrapAround const wrap = WrapAround::of(rules);
    for (Anordnung const* arrangement : arrangements_) {
        int const held = static_cast<int>(arrangement->cards.size());
        for (KartenWunsch const& wish : arrangement->wishes) {
            if (arrangement->maxCards >= 0 && wish.position > arrangement->maxCards) continue;
            if (wish.position <= 0 || wish.position >= held) {
                out.push_back(wish);
                continue;
            }
            Karte const* previous = arrangement->cards[static_cast<std::size_t>(wish.position - 1)];
            int values[2] = {kValueNichts, kValueNichts};
            int const count = acceptedValuesAfter(wish.valueRule, previous->value, wrap, pairs, values);
            for (int i = 0; i < count; ++i) {
                KartenWunsch copy = wish;
                copy.colourRule = acceptedColourAfter(wish.colourRule, previous->suit);
                copy.valueRule = values[i];
                out.push_back(copy);
            }
        }
    }
}

bool Kartenstapel::emptyClickFetches() const {
    unsigned const actions = rules.clickOnEmpty;
    if ((actions & kEmptyHolenAlle) == 0) return false;
    if ((actions & kEmptyHolenXMult) && rules.restCount == 0) return false;
    Kartenmanager const& manager = Kartenmanager::instance();
    for (std::wstring const& name : rules.linkedPiles) {
        Kartenstapel const* linked = manager.findPile(name);
        if (!linked || linked == this) continue;
        std::vector<Karte*> held;
        linked->getCards(held, true, true);
        if (!held.empty()) return true;
    }
    return false;
}

}  // namespace Solitaire
