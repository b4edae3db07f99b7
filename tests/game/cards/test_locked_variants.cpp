// The campaign's locked variants are their base variants with a lock and its key: line by line
// the same but for the root's name, the comment that says where the lock lies, and the lines that
// carry the lock ("LOCK=") or the key ("KEY="). A change to a base variant that is not carried into
// its locked copy fails here. Every deal of a variant with a lock, free play and campaign levels
// alike, lets the lock's key reach a goal pile without the locked card and the cards under it.
// Every deal of a variant with jokers is won through the game's own moves, the jokers on the
// foundations among them.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "engine/core/Random.h"
#include "engine/core/XMLNode.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "tests/game/cards/CellsSolver.h"
#include "tests/game/cards/PlayTable.h"
#include "tests/support/TestSupport.h"

namespace {

std::vector<std::string> linesOf(char const* name) {
    std::istringstream in(testsupport::readFile(testsupport::sourceDir() / "data" / "Level" / name));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

bool carriesLockOrKey(std::string const& line) {
    return line.find(" LOCK=\"") != std::string::npos || line.find(" KEY=\"") != std::string::npos;
}

struct LockedVariant {
    char const* locked;
    char const* base;
};

TEST(LockedVariantsTest, DifferFromTheirBaseOnlyInNameCommentLockAndKey) {
    for (LockedVariant const& v : {LockedVariant{"HerzreiheSilber.sol", "Herzreihe.sol"},
                                   LockedVariant{"PaareKupfer.sol", "Paare.sol"},
                                   LockedVariant{"ZellenBlau.sol", "Zellen.sol"}}) {
        SCOPED_TRACE(v.locked);
        std::vector<std::string> locked = linesOf(v.locked);
        std::vector<std::string> const base = linesOf(v.base);
        ASSERT_FALSE(base.empty());
        ASSERT_FALSE(locked.empty());
        // The comment after the root's line.
        std::size_t at = 1;
        if (at < locked.size() && locked[at].find("<!--") != std::string::npos) {
            while (at < locked.size() && locked[at].find("-->") == std::string::npos) ++at;
            locked.erase(locked.begin() + 1, locked.begin() + static_cast<std::ptrdiff_t>(at + 1));
        }
        ASSERT_EQ(locked.size(), base.size());
        // The root differs in its name only.
        std::size_t const name = base[0].find("NAME=\"");
        ASSERT_NE(name, std::string::npos);
        std::size_t const baseEnd = base[0].find('"', name + 6);
        std::size_t const lockedEnd = locked[0].find('"', name + 6);
        EXPECT_EQ(locked[0].substr(0, name + 6), base[0].substr(0, name + 6));
        EXPECT_EQ(locked[0].substr(lockedEnd), base[0].substr(baseEnd));
        int lockOrKey = 0;
        for (std::size_t i = 1; i < base.size(); ++i) {
            if (locked[i] == base[i]) continue;
            EXPECT_TRUE(carriesLockOrKey(locked[i])) << "base line " << i + 1 << " differs: " << locked[i];
            ++lockOrKey;
        }
        EXPECT_EQ(lockOrKey, 2) << "the lock and the key";
    }
}


// Every deal of a locked variant lets its keys reach a goal pile, proved on the dealt table: the
// game's own automatic finish (free cards, or the runs the game lets be carried, laid on goal
// piles as the rules accept them, each an undo step a player could make by hand) opens every lock,
// and when a lock opens every key of its colour lies on a goal pile while no locked card and no
// card under one has left its place. Dealt with no limit on wildcards and jokers, so a deal where
// a key, or a card it waits for, turns wildcard and leaves is among them.
class LockedVariantDealTest : public cardtest::PlayTable, public sigslot::has_slots<> {
protected:
    void SetUp() override {
        PlayTable::SetUp();
        style().maxWildcards = style().maxJokers = -1;
        manager().cardsUnlocked.connect(this, &LockedVariantDealTest::onUnlocked);
    }
    void TearDown() override {
        manager().cardsUnlocked.disconnect(this);
        PlayTable::TearDown();
    }

    struct Place {
        Solitaire::Karte const* card;
        Solitaire::Kartenstapel const* pile;
        std::size_t index;
    };

    static std::vector<Solitaire::Karte*> cardsOf(Solitaire::Kartenstapel const* pile) {
        std::vector<Solitaire::Karte*> cards;
        pile->getCards(cards, true, true);
        return cards;
    }

    // The locked cards of the table and every card under one, where they lie.
    std::vector<Place> heldPlaces() {
        std::vector<Place> out;
        for (Solitaire::Kartenstapel const* pile : manager().piles) {
            std::vector<Solitaire::Karte*> const cards = cardsOf(pile);
            for (std::size_t top = 0; top < cards.size(); ++top)
                if (cards[top]->isLocked())
                    for (std::size_t i = 0; i <= top; ++i) out.push_back({cards[i], pile, i});
        }
        return out;
    }

    // As a lock opens: the keys of the colours opened lie on goal piles, and what the deal locked
    // lies where it was dealt.
    void onUnlocked(D3DXVECTOR4 const& opened) {
        for (int k = 0; k < 4; ++k)
            if (component(opened, k) != 0.0f) openedColours.insert(k);
        for (Solitaire::Karte const* card : manager().cards)
            for (int k = 0; k < 4; ++k)
                if (component(opened, k) != 0.0f && component(dealtKeys[card], k) != 0.0f &&
                    !(card->pile && card->pile->isGoalPile()))
                    faults.push_back("the key " + cardName(card) + " opened its lock off the goal piles");
        for (Place const& place : held) {
            std::vector<Solitaire::Karte*> const cards = cardsOf(place.pile);
            if (place.card->pile != place.pile || place.index >= cards.size() || cards[place.index] != place.card)
                faults.push_back(cardName(place.card) + ", locked or under a lock, moved before the lock opened");
        }
    }

    // Deals and proves the table; what failed, or empty.
    std::string proveKeysReachable(std::wstring const& file, unsigned seed) {
        Orvex::seedRandom(seed);
        start(file, std::to_wstring(seed));
        held = heldPlaces();
        dealtKeys.clear();
        for (Solitaire::Karte const* card : manager().cards) dealtKeys[card] = card->keys.goal;
        std::set<int> lockedColours;
        for (Place const& place : held)
            for (int k = 0; k < 4; ++k)
                if (component(place.card->locks.goal, k) != 0.0f) lockedColours.insert(k);
        openedColours.clear();
        faults.clear();
        manager().autoFinish(nullptr);
        manager().resolveAfterMove(true);
        if (!faults.empty()) return faults.front();
        if (openedColours != lockedColours) return "a lock stays shut";
        return {};
    }

    static float component(D3DXVECTOR4 const& v, int k) { return k == 0 ? v.x : k == 1 ? v.y : k == 2 ? v.z : v.w; }
    static std::string cardName(Solitaire::Karte const* card) {
        return std::to_string(card->suit) + "." + std::to_string(card->value);
    }

    std::vector<Place> held;
    std::map<Solitaire::Karte const*, D3DXVECTOR4> dealtKeys;
    std::set<int> openedColours;
    std::vector<std::string> faults;
};

// Every variant of the catalogue ("category/game/variant", its rule file), in catalogue order.
std::vector<std::pair<std::string, std::wstring>> catalogueEntries() {
    std::vector<std::pair<std::string, std::wstring>> entries;
    Orvex::XMLNode catalogue;
    EXPECT_TRUE(catalogue.load(L"data\\Level\\Level.dat"));
    for (Orvex::XMLNode const* category : catalogue.children())
        for (Orvex::XMLNode const* game : category->children())
            for (Orvex::XMLNode const* variant : game->children())
                if (variant->getName() == L"VARIANTE")
                    entries.emplace_back(cardtest::narrow(category->getAttributeString(L"NAME", L"") + L"/" +
                                                          game->getAttributeString(L"NAME", L"") + L"/" +
                                                          variant->getAttributeString(L"NAME", L"")),
                                         variant->getAttributeString(L"FILE", L""));
    return entries;
}

// The shipped rule files and those the catalogue names.
std::set<std::wstring> ruleFiles(std::vector<std::pair<std::string, std::wstring>> const& entries) {
    std::set<std::wstring> files(cardtest::shippedVariants().begin(), cardtest::shippedVariants().end());
    for (auto const& entry : entries) files.insert(entry.second);
    return files;
}

// The deals a check proves: each rule file the selection takes over the first seeds, then each
// variant of the catalogue that names one (free play and every campaign level) over a seed of its
// own. prove gives what failed, or empty.
struct DealsChecked {
    std::set<std::wstring> files;
    int levels = 0;
};
template <class Select, class Prove>
DealsChecked checkDeals(unsigned seedsPerFile, Select select, Prove prove) {
    std::vector<std::pair<std::string, std::wstring>> const entries = catalogueEntries();
    DealsChecked out;
    for (std::wstring const& file : ruleFiles(entries)) {
        SCOPED_TRACE(cardtest::narrow(file));
        if (!select(file)) continue;
        out.files.insert(file);
        for (unsigned seed = 1; seed <= seedsPerFile; ++seed) EXPECT_EQ(prove(file, seed), "") << "seed " << seed;
    }
    unsigned seed = seedsPerFile;
    for (auto const& [where, file] : entries) {
        ++seed;
        if (!out.files.count(file)) continue;
        ++out.levels;
        EXPECT_EQ(prove(file, seed), "") << where << ", seed " << seed;
    }
    return out;
}

TEST_F(LockedVariantDealTest, EveryDealLetsItsKeysReachAGoalPile) {
    DealsChecked const checked = checkDeals(
        12,
        [this](std::wstring const& file) {
            start(file, L"1");
            return !heldPlaces().empty();
        },
        [this](std::wstring const& file, unsigned seed) { return proveKeysReachable(file, seed); });
    // Gold, silver, copper and blue; the locked copies are dealt by campaign levels.
    EXPECT_EQ(checked.files.size(), 4u);
    EXPECT_GE(checked.levels, 3);
}

// Every deal of a variant with jokers is won, proved on the dealt table: a way found on a model of
// it (CellsSolver.h) is played through the game, each card laid on a foundation by the double
// click's automatic move (the jokers from their pile among them, each where its own card is
// next), every other move as a drop the target accepts. After each move the game's table is the
// model's (the jokers, wildcards and star cards that came free gone where the resolution sends
// them), no move lowers the score, and the last one wins the game. Before each move, every joker
// waiting on its pile, dropped on each foundation or double-clicked, is refused or goes where the
// way still wins. Dealt with no limit on wildcards and jokers.
class JokerVariantDealTest : public cardtest::PlayTable {
protected:
    void SetUp() override {
        PlayTable::SetUp();
        style().maxWildcards = style().maxJokers = -1;
    }

    // Long enough for a resolution that shows a found card, and for every glide.
    void settle() {
        for (int i = 0; i < 4; ++i) manager().update(1.0, 1.0, Orvex::MouseState());
    }

    // Before the way's move `step`: each joker on its pile, dropped on each foundation or
    // double-clicked, is refused or laid where the way still wins. What failed, or empty.
    std::string jokerMovesKeepTheWay(cardtest::CellsSolver const& solver, std::size_t step) {
        Solitaire::Kartenstapel* home = manager().findJokerPile();
        for (Solitaire::Karte* joker : home->getTargetCards()) {
            Solitaire::Karte::LinkedCards run;
            home->collectCarriedRun(joker, run);
            std::vector<Solitaire::Kartenstapel*> laid{manager().doubleClickTarget(joker, home, run)};
            for (Solitaire::Kartenstapel* foundation : solver.foundations())
                if (foundation->acceptsCards(run, nullptr)) laid.push_back(foundation);
            for (Solitaire::Kartenstapel* target : laid)
                if (target && !solver.winsWithJokerLaid(step, joker->index, target))
                    return "the joker " + cardtest::narrow(Solitaire::cardName(joker->suit, joker->value)) +
                           " goes onto " + cardtest::narrow(target->getName()) + ", where the way is lost";
        }
        return {};
    }

    // Deals and wins the table; what failed, or empty. jokers: the jokers dealt.
    std::string proveWon(std::wstring const& file, unsigned seed, int& jokers) {
        using Move = cardtest::CellsSolver::Move;
        Orvex::seedRandom(seed);
        start(file, std::to_wstring(seed));
        settle();
        jokers = static_cast<int>(std::count_if(manager().cards.begin(), manager().cards.end(),
                                                [](Solitaire::Karte const* card) { return card->isJoker; }));
        cardtest::CellsSolver solver(manager());
        std::vector<Move> way;
        if (!solver.solve(way)) return "no way found on the model";
        float score = manager().getScorePlus();
        for (std::size_t step = 0; step < way.size(); ++step) {
            Move const& move = way[step];
            std::string const at = "move " + std::to_string(step + 1) + " of " + std::to_string(way.size()) + ": ";
            if (manager().getGameStatus() == Solitaire::kGameWon) {
                // Won once the columns and cells are empty: jokers left on their pile wait there.
                bool const jokersLeft = std::all_of(way.begin() + static_cast<std::ptrdiff_t>(step), way.end(),
                                                    [](Move const& m) { return m.kind == Move::kJokerToFoundation; });
                return jokersLeft ? "" : at + "won before the table was empty";
            }
            if (manager().getGameStatus() != Solitaire::kGameRunning) return at + "the game is lost";
            if (std::string const joker = jokerMovesKeepTheWay(solver, step); !joker.empty()) return at + joker;
            Solitaire::Karte* card = manager().cards[static_cast<std::size_t>(move.card)];
            Solitaire::Kartenstapel* from = card->pile;
            if (!from || !from->canPickCard(card)) {
                Solitaire::Karte::LinkedCards above;
                card->collectLinked(above, true, 0, -1);
                return at + "the card " + cardtest::narrow(Solitaire::cardName(card->suit, card->value)) + " on " +
                       (from ? cardtest::narrow(from->getName()) : "-") + " cannot be picked up: moving " +
                       std::to_string(card->isMoving()) + " locked " + std::to_string(card->isLocked()) + " run " +
                       std::to_string(above.size()) + " most " + std::to_string(from ? from->getMaxMovableRun() : -2) +
                       " kind " + std::to_string(move.kind) + " count " + std::to_string(move.count);
            }
            Solitaire::Karte::LinkedCards run;
            from->collectCarriedRun(card, run);
            if (static_cast<int>(run.size()) != move.count) return at + "the run differs";
            if (move.kind == Move::kToFoundation || move.kind == Move::kJokerToFoundation) {
                if (!manager().moveRunToGoalPile(card, from, run, 0, true)) return at + "no foundation takes it";
                if (card->pile != solver.foundations()[static_cast<std::size_t>(move.to)])
                    return at + "laid on another foundation";
            } else {
                Solitaire::Kartenstapel* to = move.kind == Move::kToCell
                                                  ? solver.cells()[static_cast<std::size_t>(move.to)]
                                                  : solver.columns()[static_cast<std::size_t>(move.to)];
                if (!to->acceptsCards(run, nullptr)) return at + "the drop is refused";
                manager().executeMove(run, from, to, card);
            }
            manager().saveUndoState();
            settle();
            if (manager().getScorePlus() < score) return at + "the score went down";
            score = manager().getScorePlus();
            std::string const now = solver.describeNow(manager());
            if (now != solver.tables()[step]) return at + "the table is " + now + ", the model's " + solver.tables()[step];
        }
        return manager().getGameStatus() == Solitaire::kGameWon ? "" : "the game is not won";
    }
};

TEST_F(JokerVariantDealTest, EveryDealWithJokersIsWon) {
    int dealtJokers = 0;
    DealsChecked const checked = checkDeals(
        6,
        [this](std::wstring const& file) {
            start(file, L"1");
            return manager().findJokerPile() != nullptr;
        },
        [&](std::wstring const& file, unsigned seed) {
            int jokers = 0;
            std::string const failed = proveWon(file, seed, jokers);
            dealtJokers += jokers;
            return failed;
        });
    // "Zellen" and its blue copy; the free game and the campaign's levels.
    EXPECT_EQ(checked.files.size(), 2u);
    EXPECT_GE(checked.levels, 8);
    EXPECT_GE(dealtJokers, checked.levels) << "the deals brought jokers";
}

}  // namespace
