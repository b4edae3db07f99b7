// A way through a dealt table of the cells variants ("Zellen" and its locked copy), for the deal
// check: the table read off the card manager into a small model of the variant's rules, and a
// best-first search for moves that empty the columns and the cells. The model: columns built down
// in alternating colours, an empty column takes any card, a run moves as long as the free cells
// allow plus one; a cell holds one card; foundations grow by suit from the ace; a joker, wildcard
// or star card that comes free leaves its column (the jokers and wildcards to their piles); a
// joker goes from its pile onto the foundation where its own card is next, a wildcard onto a
// column, where it is a plain card from then on; a locked card neither moves nor takes a card
// until every key lies on a foundation. After each move the cards that may go to a foundation
// with nothing lost go there. The model only guides: the deal check plays the moves found
// through the game and compares the tables, and asks the model whether a joker laid early still
// lets the way found win.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <queue>
#include <string>
#include <unordered_set>
#include <vector>

#include "game/cards/Karte.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "game/cards/PileWords.h"

namespace cardtest {

class CellsSolver {
public:
    static constexpr int kNoCard = 255;
    // Expansions searched before the search gives up.
    static constexpr std::size_t kMaxNodes = 100000;

    struct Move {
        enum Kind : std::uint8_t { kToFoundation, kJokerToFoundation, kRun, kToCell, kWildcardToColumn };
        Kind kind;
        int from;   // a column, or a cell for kToFoundation and kRun (cellBase + cell)
        int to;     // a column, a cell or a foundation, by kind
        int count;  // cards carried
        int card;   // the card moved (the lowest of a run): its index in the card manager
    };

    // Reads the table as it lies now (after the deal's own resolution).
    explicit CellsSolver(Solitaire::Kartenmanager const& manager) {
        std::vector<Solitaire::Karte*> const& cards = manager.cards;
        info_.resize(cards.size());
        for (std::size_t i = 0; i < cards.size(); ++i) {
            Solitaire::Karte const& card = *cards[i];
            Info& c = info_[i];
            c.suit = card.suit;
            c.value = card.value;
            c.joker = card.isJoker;
            c.wildcard = card.isWildcard;
            c.extra = card.suit == Solitaire::Karte::kSuitExtra;
            c.locked = card.isLocked();
            D3DXVECTOR4 const k = card.keys.goal;
            c.key = k.x != 0.0f || k.y != 0.0f || k.z != 0.0f || k.w != 0.0f;
        }
        for (Solitaire::Kartenstapel* pile : manager.piles) {
            switch (pile->rules.pileType) {
            case Solitaire::kPileTableau:
                columns_.push_back(pile);
                start_.columns.push_back(idsOf(pile));
                break;
            case Solitaire::kPileReserve:
                cells_.push_back(pile);
                start_.cells.push_back(idsOf(pile).empty() ? kNoCard : idsOf(pile).front());
                break;
            case Solitaire::kPileBasis:
                foundations_.push_back(pile);
                start_.foundations.push_back({-1, -1});
                break;
            case Solitaire::kPileJoker:
                for (std::uint8_t id : idsOf(pile)) start_.jokers |= bit(id);
                break;
            case Solitaire::kPileWildcard:
                for (std::uint8_t id : idsOf(pile)) start_.wildcards |= bit(id);
                break;
            default:
                break;
            }
        }
        start_.shut = std::any_of(info_.begin(), info_.end(), [](Info const& c) { return c.locked; });
        settle(start_);
    }

    // The model's table after each move of the way found, and the game's table now, alike
    // written: columns and cells by card index, the foundations' tops, the jokers and wildcards
    // on their piles.
    std::vector<std::string> const& tables() const { return tables_; }
    std::string describeNow(Solitaire::Kartenmanager const& manager) const {
        State now;
        for (Solitaire::Kartenstapel const* pile : columns_) now.columns.push_back(idsOf(pile));
        for (Solitaire::Kartenstapel const* pile : cells_) {
            std::vector<std::uint8_t> const held = idsOf(pile);
            now.cells.push_back(held.empty() ? kNoCard : held.front());
        }
        for (Solitaire::Kartenstapel const* pile : foundations_) {
            std::vector<std::uint8_t> const held = idsOf(pile);
            if (held.empty()) now.foundations.push_back({-1, -1});
            else now.foundations.push_back({of(held.back()).suit, static_cast<int>(held.size()) - 1});
        }
        for (Solitaire::Kartenstapel const* pile : manager.piles)
            for (std::uint8_t id : idsOf(pile)) {
                if (pile->rules.pileType == Solitaire::kPileJoker) now.jokers |= bit(id);
                if (pile->rules.pileType == Solitaire::kPileWildcard) now.wildcards |= bit(id);
            }
        return describe(now);
    }

    std::vector<Solitaire::Kartenstapel*> const& columns() const { return columns_; }
    std::vector<Solitaire::Kartenstapel*> const& cells() const { return cells_; }
    std::vector<Solitaire::Kartenstapel*> const& foundations() const { return foundations_; }
    int cellBase() const { return static_cast<int>(columns_.size()); }

    // The moves that empty columns and cells, or false when the search gave up.
    bool solve(std::vector<Move>& out) {
        struct Node {
            State state;
            int parent;
            std::vector<Move> moves;  // the move chosen and the safe ones played after it
            std::string table;
        };
        std::vector<Node> nodes;
        std::unordered_set<std::string> seen;
        using Entry = std::pair<int, int>;  // (score, node), the lowest first
        std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> open;
        State first = start_;
        std::vector<Move> opening;
        playSafe(first, opening);
        nodes.push_back({first, -1, opening, {}});
        seen.insert(key(first));
        open.push({score(first), 0});
        while (!open.empty() && nodes.size() < kMaxNodes) {
            int const at = open.top().second;
            open.pop();
            if (done(nodes[static_cast<std::size_t>(at)].state)) {
                std::vector<int> chain;
                for (int n = at; n >= 0; n = nodes[static_cast<std::size_t>(n)].parent) chain.push_back(n);
                std::reverse(chain.begin(), chain.end());
                out.clear();
                tables_.clear();
                // Each move again from the node before, for the table after it.
                for (int n : chain) {
                    Node const& node = nodes[static_cast<std::size_t>(n)];
                    State walk = node.parent >= 0 ? nodes[static_cast<std::size_t>(node.parent)].state : start_;
                    for (Move const& move : node.moves) {
                        apply(walk, move);
                        out.push_back(move);
                        tables_.push_back(describe(walk));
                    }
                }
                way_ = out;
                return true;
            }
            State const state = nodes[static_cast<std::size_t>(at)].state;
            for (Move const& move : movesOf(state)) {
                State next = state;
                apply(next, move);
                std::vector<Move> played{move};
                playSafe(next, played);
                if (!seen.insert(key(next)).second) continue;
                nodes.push_back({next, at, std::move(played), {}});
                open.push({score(next), static_cast<int>(nodes.size() - 1)});
            }
        }
        return false;
    }

    // Whether the way found still wins with the joker (a card index) laid on target before its
    // move `step`: a foundation where its card is next, and the moves after, less its own, play.
    bool winsWithJokerLaid(std::size_t step, int joker, Solitaire::Kartenstapel const* target) const {
        auto const f = std::find(foundations_.begin(), foundations_.end(), target) - foundations_.begin();
        State s = start_;
        for (std::size_t i = 0; i < step; ++i) apply(s, way_[i]);
        if (f == std::ssize(foundations_) || !(s.jokers & bit(joker))) return false;
        Foundation const on = s.foundations[static_cast<std::size_t>(f)];
        if (on.top != of(joker).value - 1 || (on.top >= 0 && on.suit != of(joker).suit)) return false;
        apply(s, {Move::kJokerToFoundation, -1, static_cast<int>(f), 1, joker});
        for (std::size_t i = step; i < way_.size(); ++i) {
            Move const& m = way_[i];
            bool const toFoundation = m.kind == Move::kToFoundation || m.kind == Move::kJokerToFoundation;
            if (toFoundation && m.card == joker) continue;
            std::vector<Move> const open = movesOf(s);  // an ace may find another foundation empty now
            auto const same = std::find_if(open.begin(), open.end(), [&](Move const& o) {
                return o.kind == m.kind && o.from == m.from && o.card == m.card && o.count == m.count &&
                       (toFoundation || o.to == m.to);
            });
            if (same == open.end()) return false;
            apply(s, *same);
        }
        return done(s);
    }

private:
    struct Info {
        int suit = 0, value = 0;
        bool joker = false, wildcard = false, extra = false, locked = false, key = false;
    };
    struct Foundation {
        int suit;
        int top;  // the value on top, -1 empty
    };
    struct State {
        std::vector<std::vector<std::uint8_t>> columns;
        std::vector<std::uint8_t> cells;
        std::vector<Foundation> foundations;
        std::uint64_t jokers = 0, wildcards = 0;
        std::uint64_t laid = 0;  // wildcards laid from their pile: plain cards since
        bool shut = false;       // a lock is still shut
    };

    static std::uint64_t bit(int id) { return std::uint64_t{1} << id; }
    static std::vector<std::uint8_t> idsOf(Solitaire::Kartenstapel const* pile) {
        std::vector<Solitaire::Karte*> held;
        pile->getCards(held, true, true);
        std::vector<std::uint8_t> ids;
        for (Solitaire::Karte const* card : held) ids.push_back(static_cast<std::uint8_t>(card->index));
        return ids;
    }
    // A foundation's top as the count of its cards less one: a joker on it counts as its card.
    static std::string describe(State const& s) {
        std::string out;
        for (auto const& column : s.columns) {
            for (std::uint8_t id : column) out += std::to_string(id) + " ";
            out += "| ";
        }
        for (std::uint8_t id : s.cells) out += (id == kNoCard ? std::string("-") : std::to_string(id)) + " ";
        out += "| ";
        for (Foundation const& f : s.foundations) out += std::to_string(f.top) + " ";
        out += "| jokers " + std::to_string(s.jokers) + " wildcards " + std::to_string(s.wildcards);
        return out;
    }
    static bool red(int suit) { return suit == 1 || suit == 3; }  // KARO, HERZ

    Info const& of(int id) const { return info_[static_cast<std::size_t>(id)]; }
    bool fixed(State const& s, int id) const { return s.shut && of(id).locked; }
    // upper laid on lower in a column.
    bool follows(int lower, int upper) const {
        return red(of(lower).suit) != red(of(upper).suit) && of(lower).value == of(upper).value + 1;
    }
    int freeCells(State const& s) const {
        return static_cast<int>(std::count(s.cells.begin(), s.cells.end(), std::uint8_t{kNoCard}));
    }
    // The foundation a card goes on: its suit's, or for an ace the first empty one; -1 none.
    int foundationFor(State const& s, int id) const {
        Info const& c = of(id);
        for (std::size_t f = 0; f < s.foundations.size(); ++f)
            if (s.foundations[f].suit == c.suit && s.foundations[f].top == c.value - 1) return static_cast<int>(f);
        if (c.value != 0) return -1;
        for (std::size_t f = 0; f < s.foundations.size(); ++f)
            if (s.foundations[f].top == -1) return static_cast<int>(f);
        return -1;
    }

    // What the resolution does: free jokers, wildcards and star cards leave the columns; a lock
    // opens once every key lies on a foundation.
    void settle(State& s) const {
        bool changed = true;
        while (changed) {
            changed = false;
            for (auto& column : s.columns) {
                while (!column.empty()) {
                    int const top = column.back();
                    Info const& c = of(top);
                    bool const wildcard = c.wildcard && !(s.laid & bit(top));
                    if (fixed(s, top) || !(c.joker || wildcard || c.extra)) break;
                    column.pop_back();
                    if (c.joker) s.jokers |= bit(top);
                    else if (wildcard) s.wildcards |= bit(top);
                    changed = true;
                }
            }
            if (s.shut) {
                bool keysHome = true;
                for (std::size_t id = 0; id < info_.size(); ++id)
                    if (info_[id].key && !onFoundation(s, static_cast<int>(id))) keysHome = false;
                if (keysHome) {
                    s.shut = false;
                    changed = true;
                }
            }
        }
    }
    bool onFoundation(State const& s, int id) const {
        for (Foundation const& f : s.foundations)
            if (f.suit == of(id).suit && f.top >= of(id).value) return true;
        return false;
    }

    std::vector<Move> movesOf(State const& s) const {
        std::vector<Move> moves;
        int const columnCount = static_cast<int>(s.columns.size());
        // Onto the foundations: column tops, cells, jokers.
        for (int col = 0; col < columnCount; ++col) {
            auto const& column = s.columns[static_cast<std::size_t>(col)];
            if (column.empty() || fixed(s, column.back())) continue;
            int const f = foundationFor(s, column.back());
            if (f >= 0) moves.push_back({Move::kToFoundation, col, f, 1, column.back()});
        }
        for (std::size_t cell = 0; cell < s.cells.size(); ++cell) {
            if (s.cells[cell] == kNoCard) continue;
            int const f = foundationFor(s, s.cells[cell]);
            if (f >= 0) moves.push_back({Move::kToFoundation, cellBase() + static_cast<int>(cell), f, 1, s.cells[cell]});
        }
        for (std::size_t id = 0; id < info_.size(); ++id) {
            if (!(s.jokers & bit(static_cast<int>(id)))) continue;
            int const f = foundationFor(s, static_cast<int>(id));
            if (f >= 0) moves.push_back({Move::kJokerToFoundation, -1, f, 1, static_cast<int>(id)});
        }
        // Onto columns: runs, cells, wildcards.
        int const cellsFree = freeCells(s);
        auto takes = [&](int col, int id) {
            auto const& column = s.columns[static_cast<std::size_t>(col)];
            return column.empty() || (!fixed(s, column.back()) && follows(column.back(), id));
        };
        for (int from = 0; from < columnCount; ++from) {
            auto const& column = s.columns[static_cast<std::size_t>(from)];
            int const size = static_cast<int>(column.size());
            for (int count = 1; count <= size && count <= cellsFree + 1; ++count) {
                int const lowest = column[static_cast<std::size_t>(size - count)];
                if (fixed(s, lowest)) break;
                if (count > 1 && !follows(lowest, column[static_cast<std::size_t>(size - count + 1)])) break;
                for (int to = 0; to < columnCount; ++to) {
                    if (to == from || !takes(to, lowest)) continue;
                    // A whole column into an empty one changes nothing.
                    if (s.columns[static_cast<std::size_t>(to)].empty() && count == size) continue;
                    moves.push_back({Move::kRun, from, to, count, lowest});
                }
            }
        }
        for (std::size_t cell = 0; cell < s.cells.size(); ++cell) {
            if (s.cells[cell] == kNoCard) continue;
            for (int to = 0; to < columnCount; ++to)
                if (takes(to, s.cells[cell]))
                    moves.push_back({Move::kRun, cellBase() + static_cast<int>(cell), to, 1, s.cells[cell]});
        }
        for (std::size_t id = 0; id < info_.size(); ++id) {
            if (!(s.wildcards & bit(static_cast<int>(id)))) continue;
            for (int to = 0; to < columnCount; ++to)
                if (takes(to, static_cast<int>(id)))
                    moves.push_back({Move::kWildcardToColumn, -1, to, 1, static_cast<int>(id)});
        }
        // Into the first free cell.
        auto const cell = std::find(s.cells.begin(), s.cells.end(), std::uint8_t{kNoCard});
        if (cell != s.cells.end())
            for (int from = 0; from < columnCount; ++from) {
                auto const& column = s.columns[static_cast<std::size_t>(from)];
                if (column.empty() || fixed(s, column.back())) continue;
                moves.push_back({Move::kToCell, from, static_cast<int>(cell - s.cells.begin()), 1, column.back()});
            }
        return moves;
    }

    void apply(State& s, Move const& m) const {
        std::vector<std::uint8_t> carried;
        switch (m.kind) {
        case Move::kJokerToFoundation:
            s.jokers &= ~bit(m.card);
            carried.push_back(static_cast<std::uint8_t>(m.card));
            break;
        case Move::kWildcardToColumn:
            s.wildcards &= ~bit(m.card);
            s.laid |= bit(m.card);
            carried.push_back(static_cast<std::uint8_t>(m.card));
            break;
        default:
            if (m.from >= cellBase()) {
                carried.push_back(s.cells[static_cast<std::size_t>(m.from - cellBase())]);
                s.cells[static_cast<std::size_t>(m.from - cellBase())] = kNoCard;
            } else {
                auto& column = s.columns[static_cast<std::size_t>(m.from)];
                carried.assign(column.end() - m.count, column.end());
                column.resize(column.size() - static_cast<std::size_t>(m.count));
            }
            break;
        }
        switch (m.kind) {
        case Move::kToFoundation:
        case Move::kJokerToFoundation: {
            Foundation& f = s.foundations[static_cast<std::size_t>(m.to)];
            f.suit = of(m.card).suit;
            f.top = of(m.card).value;
            break;
        }
        case Move::kToCell:
            s.cells[static_cast<std::size_t>(m.to)] = carried.front();
            break;
        default: {
            auto& column = s.columns[static_cast<std::size_t>(m.to)];
            column.insert(column.end(), carried.begin(), carried.end());
            break;
        }
        }
        settle(s);
    }

    // Plays every card that may go to its foundation with nothing lost: an ace or a two, or a card
    // whose two lower cards of the other colour lie on the foundations already.
    void playSafe(State& s, std::vector<Move>& played) const {
        for (bool again = true; again;) {
            again = false;
            for (Move const& move : movesOf(s)) {
                if (move.kind != Move::kToFoundation && move.kind != Move::kJokerToFoundation) continue;
                if (!safe(s, move.card)) continue;
                apply(s, move);
                played.push_back(move);
                again = true;
                break;
            }
        }
    }
    bool safe(State const& s, int id) const {
        int const value = of(id).value;
        if (value <= 1) return true;
        int otherColour = 0;
        for (Foundation const& f : s.foundations)
            if (f.suit >= 0 && red(f.suit) != red(of(id).suit) && f.top >= value - 1) ++otherColour;
        return otherColour == 2;
    }

    static bool done(State const& s) {
        return std::all_of(s.columns.begin(), s.columns.end(), [](auto const& c) { return c.empty(); }) &&
               std::all_of(s.cells.begin(), s.cells.end(), [](std::uint8_t c) { return c == kNoCard; });
    }

    // Lower is nearer the end: the cards left on the table, twice the cards lying above a lower
    // card of their column (each must move away before that one can go), the cells taken, an
    // empty column less.
    int score(State const& s) const {
        int left = 0, disorder = 0, empty = 0;
        for (auto const& column : s.columns) {
            left += static_cast<int>(column.size());
            if (column.empty()) ++empty;
            int lowest = kNoCard;
            for (std::uint8_t id : column) {
                if (of(id).extra) continue;
                if (of(id).value > lowest) ++disorder;
                lowest = std::min(lowest, of(id).value);
            }
        }
        int const taken = static_cast<int>(s.cells.size()) - freeCells(s);
        return left + 2 * disorder + taken - empty;
    }

    // The same table whichever column or cell holds a run, whichever foundation a suit.
    static std::string key(State const& s) {
        std::vector<std::string> columns;
        for (auto const& column : s.columns) columns.emplace_back(column.begin(), column.end());
        std::sort(columns.begin(), columns.end());
        std::string out;
        for (std::string const& column : columns) out += column + '\xFE';
        std::string cells(s.cells.begin(), s.cells.end());
        std::sort(cells.begin(), cells.end());
        out += cells;
        std::array<char, 4> tops{-1, -1, -1, -1};
        for (Foundation const& f : s.foundations)
            if (f.suit >= 0 && f.suit < 4) tops[static_cast<std::size_t>(f.suit)] = static_cast<char>(f.top);
        out.append(tops.begin(), tops.end());
        for (std::uint64_t mask : {s.jokers, s.wildcards, s.laid})
            for (int b = 0; b < 8; ++b) out += static_cast<char>((mask >> (8 * b)) & 0xFF);
        out += s.shut ? '1' : '0';
        return out;
    }

    std::vector<Info> info_;
    std::vector<Solitaire::Kartenstapel*> columns_, cells_, foundations_;
    State start_;
    std::vector<std::string> tables_;
    std::vector<Move> way_;
};

}  // namespace cardtest
