// The campaign's locked variants are their base variants with a lock and its key: line by line
// the same but for the root's name, the comment that says where the lock lies, and the lines that
// carry the lock ("LOCK=") or the key ("KEY="). A change to a base variant that is not carried into
// its locked copy fails here. Every deal of a variant with a lock, free play and campaign levels
// alike, lets the lock's key reach a goal pile without the locked card and the cards under it.
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

TEST_F(LockedVariantDealTest, EveryDealLetsItsKeysReachAGoalPile) {
    // Each rule file that deals a lock over the first seeds, then each variant of the catalogue
    // that names it (free play and every campaign level) over a seed of its own.
    constexpr unsigned kSeedsPerFile = 12;
    std::vector<std::pair<std::string, std::wstring>> entries;
    Orvex::XMLNode catalogue;
    ASSERT_TRUE(catalogue.load(L"data\\Level\\Level.dat"));
    for (Orvex::XMLNode const* category : catalogue.children())
        for (Orvex::XMLNode const* game : category->children())
            for (Orvex::XMLNode const* variant : game->children())
                if (variant->getName() == L"VARIANTE")
                    entries.emplace_back(cardtest::narrow(category->getAttributeString(L"NAME", L"") + L"/" +
                                                          game->getAttributeString(L"NAME", L"") + L"/" +
                                                          variant->getAttributeString(L"NAME", L"")),
                                         variant->getAttributeString(L"FILE", L""));
    std::set<std::wstring> files(cardtest::shippedVariants().begin(), cardtest::shippedVariants().end());
    for (auto const& entry : entries) files.insert(entry.second);
    std::set<std::wstring> locked;
    for (std::wstring const& file : files) {
        SCOPED_TRACE(cardtest::narrow(file));
        start(file, L"1");
        if (heldPlaces().empty()) continue;
        locked.insert(file);
        for (unsigned seed = 1; seed <= kSeedsPerFile; ++seed)
            EXPECT_EQ(proveKeysReachable(file, seed), "") << "seed " << seed;
    }
    unsigned seed = kSeedsPerFile;
    int levels = 0;
    for (auto const& [where, file] : entries) {
        ++seed;
        if (!locked.count(file)) continue;
        ++levels;
        EXPECT_EQ(proveKeysReachable(file, seed), "") << where << ", seed " << seed;
    }
    // Gold, silver, copper and blue; the locked copies are dealt by campaign levels.
    EXPECT_EQ(locked.size(), 4u);
    EXPECT_GE(levels, 3);
}

}  // namespace
