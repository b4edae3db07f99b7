// Saving and resuming a running game: where every card lies and how it looks, the arrangement
// contents of every pile, score, time, status and the game's name. The save holds no rules; it
// is read into a game of the same variant started anew.
//
// The save is untrusted: indexes must name a card or pile of this game, numbers must be finite
// and the status one of -1, 0, 1; a refused value keeps what the new game has, and all refusals
// of one load make one log line. A card ends in exactly one arrangement: one that a list takes
// leaves its old arrangement first, and one that no list takes goes back where it lay. Children
// other than "KARTE" and "STAPEL" (the quick save's "STATISTIK") are not read here.
//
// A save carries its counts: the node the number of its "KARTE" and "STAPEL" elements
// ("KARTEN_ANZAHL", "STAPEL_ANZAHL", written first), each "STAPEL" the number of its
// "ANNORDNUNG" elements, each "ANNORDNUNG" the number of its cards. A save read from a file cut
// short keeps only the part before the cut and falls short of a count: it is refused whole (one
// log line) and the new deal stays as it is. A node without counts (written by hand) is read as
// it stands. A cut inside the very last number is no count's business: the file's reader asks
// Orvex::XMLNode::loadChecked for that. Score, time and the points balance ("BALANCE") are
// written with the digits that read back exactly.
#include <charconv>
#include <climits>
#include <cmath>
#include <string>

#include "engine/core/XMLNode.h"
#include "game/cards/Anordnung.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "game/cards/Placing.h"
#include "game/cards/RunningGameLoad.h"
#include "game/cards/Statistik.h"
#include "game/cards/StatistikNumbers.h"
#include "game/look/Style.h"
#include "game/look/StyleSettings.h"

namespace Solitaire {

bool parseStateIndex(std::wstring_view text, int& index) {
    std::optional<Orvex::u32> const number = parseCounterText(text);
    if (!number || *number > static_cast<Orvex::u32>(INT_MAX)) return false;
    index = static_cast<int>(*number);
    return true;
}

namespace {

constexpr wchar_t kCardCountKey[] = L"KARTEN_ANZAHL";
constexpr wchar_t kPileCountKey[] = L"STAPEL_ANZAHL";
constexpr wchar_t kArrangementCountKey[] = L"ANNORDNUNG_ANZAHL";
// The points balance that pays for hints, undo steps and the shop: the player's, not the deal's.
constexpr wchar_t kBalanceKey[] = L"BALANCE";

std::wstring countText(std::size_t count) { return std::to_wstring(count); }

// The element's count attribute against what it holds; false (and the problem) when the count is
// missing or differs. what names the counted things.
bool countMatches(Orvex::XMLNode const& element, wchar_t const* key, std::size_t held, wchar_t const* what,
                  ReadProblems& problems) {
    Orvex::XMLAttribute const* attribute = element.getAttribute(key);
    int expected = -1;
    if (attribute && parseStateIndex(attribute->getString(), expected) && static_cast<std::size_t>(expected) == held)
        return true;
    std::wstring text = L"the save is not whole: \"" + element.getName() + L"\" holds " + countText(held) + L" " + what;
    text += attribute ? L" of " + attribute->getString() : std::wstring(L" and no \"") + key + L"\"";
    problems.add(text + L", so none of it is loaded", element.getLine());
    return false;
}

// Whether a counted save holds everything its counts say (see the file's head); a save without
// counts passes.
bool isWhole(Orvex::XMLNode const& node, ReadProblems& problems) {
    if (!node.getAttribute(kCardCountKey) && !node.getAttribute(kPileCountKey)) return true;
    if (!countMatches(node, kCardCountKey, node.getChildCount(L"KARTE"), L"\"KARTE\"", problems)) return false;
    if (!countMatches(node, kPileCountKey, node.getChildCount(L"STAPEL"), L"\"STAPEL\"", problems)) return false;
    for (Orvex::XMLNode const* pile : node.children()) {
        if (pile->getName() != L"STAPEL") continue;
        if (!countMatches(*pile, kArrangementCountKey, pile->getChildCount(L"ANNORDNUNG"), L"\"ANNORDNUNG\"", problems))
            return false;
        for (Orvex::XMLNode const* arrangement : pile->children())
            if (arrangement->getName() == L"ANNORDNUNG" &&
                !countMatches(*arrangement, kCardCountKey, arrangement->getValueCount(), L"cards", problems))
                return false;
    }
    return true;
}

// A present attribute that is a finite number goes into value; anything else is named.
void readNumber(Orvex::XMLNode const& node, std::wstring_view key, float& value, RunningGameLoad& load) {
    Orvex::XMLAttribute const* attribute = node.getAttribute(key);
    if (!attribute) return;
    std::optional<double> const number = parseFiniteText(attribute->getString());
    if (number && std::isfinite(static_cast<float>(*number)))
        value = static_cast<float>(*number);
    else
        load.problems.add(L"\"" + std::wstring(key) + L"\" " + Orvex::quotedPiece(attribute->text()) + L" is not a finite number", node.getLine());
}

// The object whose getIndex is the element's "ID"; null (and a problem) otherwise.
template <class T>
T* findByIndex(Orvex::XMLNode const& element, std::vector<T*> const& list, RunningGameLoad& load) {
    std::wstring const text = element.getAttributeString(L"ID", L"");
    int index = -1;
    if (parseStateIndex(text, index)) {
        for (T* object : list)
            if (object->getIndex() == index) return object;
    }
    load.problems.add(L"\"" + element.getName() + L"\" \"ID\" " + Orvex::quotedPiece(text) + L" names nothing in this game", element.getLine());
    return nullptr;
}

// No game holds more cards: twenty decks, the extra cards, and a pile full of jokers and one of
// wildcards.
constexpr int kMaxGameCards = Kartenmanager::kMaxDeckSize + Kartenmanager::kMaxExtraCards + 2 * Anordnung::kMaxCards;
constexpr std::wstring_view kCardKeys[] = {L"ID", L"VISIBLE", L"LOCK", L"KEY", L"WILDCARD", L"JOKER", L"LAID"};
constexpr Orvex::XMLShape kCardShape{kCardKeys};
constexpr std::wstring_view kArrangementKeys[] = {L"NAME", kCardCountKey};
constexpr Orvex::XMLShape kArrangementShape{kArrangementKeys, Anordnung::kMaxCards};
constexpr std::wstring_view kPileKeys[] = {L"ID", kArrangementCountKey};
constexpr Orvex::XMLShape::Child kPileChildren[] = {{L"ANNORDNUNG", &kArrangementShape, Kartenstapel::kMaxArrangements}};
constexpr Orvex::XMLShape kPileShape{kPileKeys, 0, kPileChildren};
constexpr std::wstring_view kRunningGameKeys[] = {kCardCountKey, kPileCountKey, L"SCORE",  L"SCORE_PLUS", L"SCORE_MINUS",
                                                  L"GAMESTATUS",  L"TIME",        L"GAME_NAME", kBalanceKey};
constexpr Orvex::XMLShape::Child kRunningGameChildren[] = {{L"KARTE", &kCardShape, kMaxGameCards},
                                                           {L"STAPEL", &kPileShape, Kartenmanager::kMaxPiles},
                                                           {Statistik::kElementName, &Statistik::kShape, 1}};

}  // namespace

constexpr Orvex::XMLShape Kartenmanager::kRunningGameShape{kRunningGameKeys, 0, kRunningGameChildren};

void Kartenmanager::saveRunningGame(Orvex::XMLNode& node) const {
    if (play_.gameStatus != kGameRunning) return;
    node.setAttribute(kCardCountKey, countText(cards.size()));
    node.setAttribute(kPileCountKey, countText(piles.size()));
    for (Karte const* card : cards) {
        Orvex::XMLNode* element = node.addChild(L"KARTE");
        element->setAttribute(L"ID", std::to_wstring(card->getIndex()));
        card->saveState(*element);
    }
    for (Kartenstapel const* pile : piles) {
        Orvex::XMLNode* element = node.addChild(L"STAPEL");
        element->setAttribute(L"ID", std::to_wstring(pile->getIndex()));
        element->setAttribute(kArrangementCountKey, countText(pile->getArrangements().size()));
        pile->saveState(*element);
        for (Orvex::XMLNode* arrangement : element->children())
            arrangement->setAttribute(kCardCountKey, countText(arrangement->getValueCount()));
    }
    node.setAttribute(L"SCORE_PLUS", numberText(play_.score));
    node.setAttribute(L"SCORE_MINUS", numberText(play_.bonusScore));
    node.setAttribute(L"GAMESTATUS", std::to_wstring(static_cast<int>(play_.gameStatus)));
    node.setAttribute(L"TIME", numberText(play_.gameTime));
    node.setAttribute(L"GAME_NAME", rules_.gameName);
    node.setAttribute(kBalanceKey, numberText(play_.counts.pointsBalance));
}

bool Kartenmanager::loadRunningGame(Orvex::XMLNode const& node, std::wstring const& sourceName) {
    RunningGameLoad load;
    if (!isWhole(node, load.problems)) {
        load.problems.log(L"Running game", sourceName, node.getLine());
        return false;
    }
    // Every history starts again with the loaded table as its one step.
    UndoObjekt::discardFrom(0);
    for (Karte* card : cards) card->discardFrom(0);
    for (Kartenstapel* pile : piles) pile->discardFrom(0);

    for (Karte* card : cards) load.cardsByIndex.emplace(card->getIndex(), card);
    for (Kartenstapel* pile : piles)
        for (Anordnung* arrangement : pile->getArrangements())
            for (Karte* card : arrangement->cards) load.holder[card] = arrangement;

    // A save that flags any card lists all flagged cards: the new deal's flags go. An older save
    // without flags leaves the deal's.
    bool flagged = false;
    for (Orvex::XMLNode const* child : node.children())
        if (child->getName() == L"KARTE" && (child->getAttribute(L"WILDCARD") || child->getAttribute(L"JOKER")))
            flagged = true;
    if (flagged)
        for (Karte* card : cards) card->isWildcard = card->isJoker = card->laid = false;

    for (Orvex::XMLNode const* child : node.children()) {
        if (child->getName() != L"KARTE") continue;
        if (Karte* card = findByIndex(*child, cards, load)) card->loadState(*child, load);
    }
    for (Orvex::XMLNode const* child : node.children()) {
        if (child->getName() != L"STAPEL") continue;
        if (Kartenstapel* pile = findByIndex(*child, piles, load)) pile->loadState(*child, load);
    }
    // A card an arrangement let go of and no list took goes back there, or where there is room.
    for (auto const& [card, arrangement] : load.released) {
        if (load.holder.count(card)) continue;
        Anordnung* home = arrangement;
        if (home->maxCards >= 0 && static_cast<int>(home->cards.size()) >= home->maxCards) {
            home = nullptr;
            int slot = -1;
            for (Kartenstapel* pile : piles)
                if (pile->getRootArrangement() && (home = findFreeSlot(*pile->getRootArrangement(), slot))) break;
        }
        if (!home) {
            load.problems.add(L"no pile has room for card " + std::to_wstring(card->getIndex()), node.getLine());
            card->setPile(nullptr);
            continue;
        }
        insertCard(*home, card);
        load.holder[card] = home;
    }
    // A pile hands its linked piles' cards its own name: each card ends with the pile holding it.
    for (auto const& [card, arrangement] : load.holder)
        if (card->pile != arrangement->getPile()) card->setPile(arrangement->getPile());

    Style const* current = StyleSettings::instance().getStyle();
    float const speed = current ? current->arrangeSpeed : 0.0f;
    for (Kartenstapel* pile : piles) {
        if (!pile->getRootArrangement()) continue;
        pile->getRootArrangement()->rebuildLinks();
        pile->arrange(speed);
    }

    if (node.getAttribute(L"SCORE")) {
        std::size_t const refusedBefore = load.problems.size();
        float plus = play_.score;
        readNumber(node, L"SCORE", plus, load);
        if (load.problems.size() == refusedBefore) {
            play_.score = plus;
            play_.bonusScore = 0.0f;
        }
    }
    readNumber(node, L"SCORE_PLUS", play_.score, load);
    readNumber(node, L"SCORE_MINUS", play_.bonusScore, load);
    readNumber(node, L"TIME", play_.gameTime, load);
    // A save written before it held the balance resumes with the new game's.
    float balance = play_.counts.pointsBalance;
    readNumber(node, kBalanceKey, balance, load);
    setPointsBalance(balance, true);
    if (Orvex::XMLAttribute const* status = node.getAttribute(L"GAMESTATUS")) {
        std::optional<double> const number = parseFiniteText(status->getString());
        if (number && (*number == -1.0 || *number == 0.0 || *number == 1.0))
            play_.gameStatus = static_cast<GameStatus>(static_cast<int>(*number));
        else
            load.problems.add(L"\"GAMESTATUS\" " + Orvex::quotedPiece(status->text()) + L" is not -1, 0 or 1", node.getLine());
    }
    if (node.getAttribute(L"GAME_NAME")) rules_.gameName = node.getAttributeString(L"GAME_NAME", rules_.gameName);
    load.problems.log(L"Running game", sourceName);

    // Cards the save put on goal and end piles came there by the load: the pending resolution
    // must not take them for the player's arrivals (points, arrivals, cards cleared).
    for (Karte* card : cards)
        if (card->pile) card->goalKind = card->pile->rules.goalKind;
    int goal = 0, end = 0;
    for (Kartenstapel const* pile : piles) {
        if (pile->rules.goalKind == kGoalZiel) goal += static_cast<int>(pile->getCardsWithLinked().size());
        else if (pile->rules.goalKind == kGoalEnd) end += static_cast<int>(pile->getCardsWithLinked().size());
    }
    play_.counts.goalCardCount = goal;
    play_.counts.endPileCardCount = end;
    play_.counts.goalAndEndCardCount = goal + end;
    play_.counts.tableauCardCount = countTableauCards();
    play_.counts.emptyTableauPileCount = countEmptyTableauPiles();
    play_.counts.seenEmptyTableauPileCount = countSeenEmptyTableauPiles();
    play_.resolutionPending = true;
    saveUndoState();
    return true;
}

}  // namespace Solitaire
