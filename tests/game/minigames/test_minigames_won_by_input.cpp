// Every kind of mini-game the game ships (data\Games\minigames.min) won as a player wins it: a
// profile whose chapter has just been finished enters the level screen, the chapter's rest scene
// plays (clicked on as a player clicks it) and starts the chapter's mini-game in the real game
// object and window; its help is read (its text shown and drawn) and put away by its OK button;
// then the game is played by pointer events pushed into the window until its screen says
// "Geschafft!". Each row names a game of the definition file and its solver: a solver reads where
// the pieces, pads or differences are from the game's state (or, for the differences, from the
// pictures on the screen) and turns that into pointer positions; nothing else reaches the game.
// The deals come from a seed per row, set before the game object starts, so a row repeats alone
// or among others.
//
// Screenshots: "won_by_input_<name>_help.png", "..._solved.png" and "..._told.png" in the build
// folder's "screenshots".
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "engine/core/Random.h"
#include "engine/gui/GUICheckboxButton.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/render/SpriteRect.h"
#include "game/app/ScreenWindows.h"
#include "game/minigames/Austausch.h"
#include "game/minigames/Bauen.h"
#include "game/minigames/ClickInReihenfolge.h"
#include "game/minigames/Drehbild.h"
#include "game/minigames/Labyrinth.h"
#include "game/minigames/Maze.h"
#include "game/minigames/Memory.h"
#include "game/minigames/MinispielManager.h"
#include "game/minigames/MinispielZuordnen.h"
#include "game/minigames/MinispielZuordnen2.h"
#include "game/minigames/ObjekteAnklicken.h"
#include "game/minigames/Punkteverbinden.h"
#include "game/minigames/Puzzle.h"
#include "game/minigames/RichtigenPfadAnklicken.h"
#include "game/minigames/RichtigesSymbolAnklicken.h"
#include "game/minigames/Ring.h"
#include "game/minigames/Schiebepuzzle_leicht.h"
#include "game/minigames/Sequenz.h"
#include "game/minigames/UnterschiedeAnklicken.h"
#include "game/minigames/WaschenPutzenGame.h"
#include "game/minigames/WaschenPutzenPass.h"
#include "game/minigames/Wegblasen.h"
#include "game/story/StoryPart.h"
#include "port/crt/crt.h"
#include "tests/game/minigames/BauenQuarters.h"
#include "tests/game/minigames/LabyrinthSearch.h"
#include "tests/game/minigames/MinigameFixture.h"

namespace {

using namespace Solitaire;

constexpr float kPi = 3.14159265358979f;
// Game seconds a solved game may take to report and its screen to tell it.
constexpr double kEndLimit = 10.0;
// Moves a solver makes at most before it gives up (a game that never ends).
constexpr int kMoveLimit = 200;
// Red, green and blue apart by this much (added) tell a difference of the two pictures; and the
// clicks a player tries on one before giving up.
constexpr int kDifferenceSeen = 60;
constexpr std::size_t kDifferenceTries = 8;
// Pushes the labyrinth's search looks for at most (a shipped deal needs up to four).
constexpr int kMostPushes = 6;
// Seconds a wrong pair of the memory game stays turned up.
constexpr double kWrongPairShown = 2.1;

class MinigamesWonByInputTest;
using Solver = void (MinigamesWonByInputTest::*)(Minispiel&);

struct Row {
    wchar_t const* name;
    Solver solve;
    unsigned seed;
};

void PrintTo(Row const& row, std::ostream* out) { *out << minigametest::narrow(row.name); }

class MinigamesWonByInputTest : public minigametest::MinigameFixture, public ::testing::WithParamInterface<Row> {
public:
    // ---- where a press reaches what ----
    // The whole-pixel point of the rectangle nearest its middle (rings of points a step apart)
    // that passes the test; false when none does.
    template <class Test>
    static bool findPoint(Orvex::FRect const& r, float step, Test const& test, D3DXVECTOR2& out) {
        D3DXVECTOR2 const middle(std::floor((r.left + r.right) / 2.0f), std::floor((r.top + r.bottom) / 2.0f));
        int const reach = static_cast<int>(std::max(r.right - r.left, r.bottom - r.top) / (2.0f * step)) + 1;
        for (int ring = 0; ring <= reach; ++ring)
            for (int i = -ring; i <= ring; ++i)
                for (int j = -ring; j <= ring; ++j) {
                    if (std::max(std::abs(i), std::abs(j)) != ring) continue;
                    D3DXVECTOR2 const p(middle.x + step * static_cast<float>(i), middle.y + step * static_cast<float>(j));
                    if (p.x < r.left || p.x >= r.right || p.y < r.top || p.y >= r.bottom) continue;
                    if (test(p)) {
                        out = p;
                        return true;
                    }
                }
        return false;
    }
    // The window that a press at the point reaches.
    static Orvex::GUIWindow* windowAt(D3DXVECTOR2 const& p) {
        return Orvex::GUISystem::instance().windowAt(p, Orvex::GUISystem::kHitInput);
    }
    // A point where a press reaches the window itself.
    static bool pointOnWindow(Orvex::GUIWindow& window, D3DXVECTOR2& out) {
        return findPoint(window.getScreenRect(), 2.0f, [&](D3DXVECTOR2 const& p) { return windowAt(p) == &window; }, out);
    }
    void clickWindow(Orvex::GUIWindow& window) {
        D3DXVECTOR2 p;
        ASSERT_TRUE(pointOnWindow(window, p)) << "no point of " << minigametest::narrow(window.getName()) << " is reachable";
        click(p);
    }
    // Drags what lies under from so that the point at from comes to rest at to, in whole pixels.
    void dragBy(D3DXVECTOR2 const& from, D3DXVECTOR2 const& delta) {
        drag(from, from + D3DXVECTOR2(std::round(delta.x), std::round(delta.y)));
    }

    // ---- the tray games: sorting and placing ----
    // Each item dragged (taken where no other item covers it) to its own place on its target: the
    // items of one target side by side across it.
    template <class Game, class TargetOf>
    void sortItems(Game& game, TargetOf const& targetOf) {
        auto const items = game.getItems();
        std::map<void const*, int> onTarget;
        std::map<void const*, int> count;
        for (auto* item : items) ++count[targetOf(*item)];
        std::vector<bool> done(items.size(), false);
        for (int pass = 0; pass < static_cast<int>(items.size()) + 1; ++pass)
            for (std::size_t i = 0; i < items.size(); ++i) {
                if (done[i]) continue;
                auto* item = items[i];
                D3DXVECTOR2 grab;
                if (!pointOnWindow(*item->window, grab)) continue;
                auto const* target = targetOf(*item);
                Orvex::FRect const t = target->window->getScreenRect();
                int const k = onTarget[target]++;
                float const share = (static_cast<float>(k) + 0.5f) / static_cast<float>(count[target]);
                D3DXVECTOR2 const spot(t.left + share * (t.right - t.left), (t.top + t.bottom) / 2.0f);
                dragBy(grab, spot - middleOf(item->window->getScreenRect()));
                done[i] = true;
            }
        for (std::size_t i = 0; i < items.size(); ++i)
            EXPECT_TRUE(done[i]) << "item " << minigametest::narrow(items[i]->getName()) << " could not be taken";
    }
    void solveSorting(Minispiel& base) {
        auto& game = dynamic_cast<MinispielZuordnen&>(base);
        sortItems(game, [](MinispielZuordnen::Gegenstand const& item) { return item.targets.front().get(); });
        clickPart(L"ZUORDNEN_OK");
    }
    void solvePlacing(Minispiel& base) {
        auto& game = dynamic_cast<MinispielZuordnen2&>(base);
        sortItems(game, [](MinispielZuordnen2::Gegenstand const& item) { return item.target.get(); });
    }

    // ---- the click games ----
    void solveShownObject(Minispiel& base) {
        auto& game = dynamic_cast<ObjekteAnklicken&>(base);
        for (int round = 0; round < kMoveLimit && !game.isFinished(false); ++round) {
            ObjekteAnklicken::Form const& target = *game.getObjects()[0];
            // The target turns about its middle; a press there counts even under others.
            D3DXVECTOR2 p;
            ASSERT_TRUE(findPoint(Orvex::boundingRectOfSpriteRect(target.getSpriteRect()), 1.0f,
                                  [&](D3DXVECTOR2 const& q) { return windowAt(q) == game.getField() && target.hitTest(q); }, p));
            click(p);
        }
    }
    // As a player spots them: where the right picture's pixels differ from the left one's, on a
    // difference's window; clicked nearest the middle of what differs there, again a little
    // further off while a click does not count.
    void solveDifferences(Minispiel& base) {
        auto& game = dynamic_cast<UnterschiedeAnklicken&>(base);
        Orvex::FRect const field = game.getField()->getScreenRect();
        float const half = std::floor((field.right - field.left) / 2.0f);
        for (auto const& part : game.getParts()) {
            if (part->found) continue;
            // The pointers (and the mirror cursor) off the pictures while they are compared.
            moveTo(D3DXVECTOR2(2.0f, 2.0f));
            tick();
            std::vector<uint32_t> const shot = pixels();
            std::vector<D3DXVECTOR2> differing;
            D3DXVECTOR2 sum(0.0f, 0.0f);
            Orvex::FRect const r = part->window->getScreenRect();
            for (float y = std::ceil(r.top); y < r.bottom; y += 1.0f)
                for (float x = std::ceil(r.left); x < r.right; x += 1.0f) {
                    D3DXVECTOR2 const q(x, y);
                    if (windowAt(q) != part->window.get()) continue;
                    uint32_t const a = pixelAt(shot, q);
                    uint32_t const b = pixelAt(shot, D3DXVECTOR2(x - half, y));
                    int distance = 0;
                    for (int shift : {0, 8, 16}) distance += std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
                    if (distance < kDifferenceSeen) continue;
                    differing.push_back(q);
                    sum += q;
                }
            ASSERT_FALSE(differing.empty()) << "the difference is not seen";
            D3DXVECTOR2 const centre = sum / static_cast<float>(differing.size());
            auto away = [&](D3DXVECTOR2 const& p) { return (p.x - centre.x) * (p.x - centre.x) + (p.y - centre.y) * (p.y - centre.y); };
            std::sort(differing.begin(), differing.end(),
                      [&](D3DXVECTOR2 const& a, D3DXVECTOR2 const& b) { return away(a) < away(b); });
            std::vector<D3DXVECTOR2> tried;
            for (D3DXVECTOR2 const& q : differing) {
                if (part->found || tried.size() >= kDifferenceTries) break;
                bool near = false;
                for (D3DXVECTOR2 const& t : tried) near |= std::fabs(t.x - q.x) + std::fabs(t.y - q.y) < 4.0f;
                if (near) continue;
                click(q);
                tried.push_back(q);
            }
            EXPECT_TRUE(part->found) << "clicks on the difference do not count";
        }
    }
    template <class Game>
    void tickTheRightOnes(Game& game) {
        for (auto* area : game.getAreas())
            if (area->right != area->checkBox->isChecked()) clickWindow(*area->checkBox);
    }
    void solveSymbols(Minispiel& base) {
        tickTheRightOnes(dynamic_cast<RichtigesSymbolAnklicken&>(base));
        clickPart(L"MS_RICHTIGES_SYMBOL_OK");
    }
    void solvePath(Minispiel& base) {
        tickTheRightOnes(dynamic_cast<RichtigenPfadAnklicken&>(base));
        clickPart(L"RICHTIGER_WEG_OK");
    }
    void solveOrder(Minispiel& base) {
        auto& game = dynamic_cast<ClickInReihenfolge&>(base);
        for (int n = 0; n < kMoveLimit && !game.getOpen().empty(); ++n)
            clickWindow(*game.getElements()[static_cast<std::size_t>(game.getOpen().front() - 1)]);
    }

    // ---- the puzzles ----
    void solveJigsaw(Minispiel& base) {
        auto& game = dynamic_cast<Puzzle&>(base);
        auto topmostAt = [&](D3DXVECTOR2 const& p) -> Puzzle::PuzzleTeil const* {
            auto const pieces = game.getPieces();
            for (std::size_t i = pieces.size(); i-- > 0;)
                if (pieces[i]->loose && pieces[i]->hitTest(p, true)) return pieces[i];
            return nullptr;
        };
        for (int n = 0; n < kMoveLimit && !game.isFinished(false); ++n) {
            bool moved = false;
            for (Puzzle::PuzzleTeil const* target : game.getTargets()) {
                if (!target->loose) continue;
                Puzzle::PuzzleTeil* piece = nullptr;
                for (Puzzle::PuzzleTeil* each : game.getPieces())
                    if (each->id == target->id) piece = each;
                ASSERT_NE(piece, nullptr);
                D3DXVECTOR2 grab;
                if (!findPoint(Orvex::boundingRectOfSpriteRect(piece->getSpriteRect()), 3.0f,
                               [&](D3DXVECTOR2 const& p) { return topmostAt(p) == piece; }, grab))
                    continue;
                Orvex::SpriteRect const from = piece->getSpriteRect();
                Orvex::SpriteRect const to = target->getSpriteRect();
                dragBy(grab, D3DXVECTOR2(to.x - from.x, to.y - from.y));
                wait(1.1);
                moved = true;
                break;
            }
            ASSERT_TRUE(moved) << "every piece still to place lies under another";
        }
    }
    void solveSliding(Minispiel& base) {
        auto& game = dynamic_cast<Schiebepuzzle_leicht&>(base);
        int const rows = game.getRows();
        auto cellPoint = [&](int c, int r) {
            Orvex::FRect const f = game.getField()->getScreenRect();
            float const w = (f.right - f.left) / static_cast<float>(game.getColumns());
            float const h = (f.bottom - f.top) / static_cast<float>(rows);
            return D3DXVECTOR2(std::floor(f.left + w * (static_cast<float>(c) + 0.5f)),
                               std::floor(f.top + h * (static_cast<float>(r) + 0.5f)));
        };
        for (int n = 0; n < kMoveLimit && !game.isFinished(false); ++n) {
            int const gc = game.getGapCell() / rows;
            int const gr = game.getGapCell() % rows;
            int const tc = game.getTargetCell() / rows;
            int const tr = game.getTargetCell() % rows;
            // The tile between the gap and the flag slides into the gap: the gap walks a step.
            if (gc != tc)
                click(cellPoint(gc + (tc > gc ? 1 : -1), gr));
            else
                click(cellPoint(gc, gr + (tr > gr ? 1 : -1)));
            // A click waits for the slide's first half.
            wait(Schiebepuzzle_leicht::kClickLock + 0.05);
        }
    }
    void solveSwap(Minispiel& base) {
        auto& game = dynamic_cast<Austausch&>(base);
        auto middleOfTile = [](Austausch::AustauschTeil const* tile) {
            Orvex::FRect const r = Orvex::boundingRectOfSpriteRect(tile->getSpriteRect());
            return D3DXVECTOR2(std::floor((r.left + r.right) / 2.0f), std::floor((r.top + r.bottom) / 2.0f));
        };
        for (int n = 0; n < kMoveLimit && !game.isFinished(false); ++n) {
            Austausch::AustauschTeil* misplaced = nullptr;
            Austausch::AustauschTeil* owner = nullptr;
            for (auto* tile : game.getTiles())
                if (!misplaced && tile->cell != tile->homeCell) misplaced = tile;
            ASSERT_NE(misplaced, nullptr);
            for (auto* tile : game.getTiles())
                if (tile->homeCell == misplaced->cell) owner = tile;
            ASSERT_NE(owner, nullptr);
            click(middleOfTile(misplaced));
            click(middleOfTile(owner));
            wait(0.3);
        }
    }

    // ---- maze, labyrinth, dots ----
    void solveMaze(Minispiel& base) {
        auto& maze = dynamic_cast<Maze&>(base);
        // The rooms from the start to the goal by open passages, found breadth first.
        std::map<Maze::Raum*, Maze::Raum*> from{{maze.getStartRoom(), nullptr}};
        std::deque<Maze::Raum*> queue{maze.getStartRoom()};
        while (!queue.empty()) {
            Maze::Raum* room = queue.front();
            queue.pop_front();
            for (Maze::Durchgang const& side : room->sides)
                if (side.open && side.neighbour && from.emplace(side.neighbour, room).second) queue.push_back(side.neighbour);
        }
        ASSERT_TRUE(from.count(maze.getGoalRoom())) << "no way leads to the goal";
        std::vector<Maze::Raum*> way;
        for (Maze::Raum* room = maze.getGoalRoom(); room && room != maze.getStartRoom(); room = from[room])
            way.insert(way.begin(), room);
        D3DXVECTOR2 const grid = maze.getGridSize();
        for (Maze::Raum* room : way) {
            Orvex::SpriteRect const r = maze.getCellRect(
                D3DXVECTOR2(static_cast<float>(room->column) / grid.x, static_cast<float>(room->row) / grid.y), true);
            click(D3DXVECTOR2(std::floor(r.x), std::floor(r.y)));
        }
    }
    void solveLabyrinth(Minispiel& base) {
        auto& lab = dynamic_cast<Labyrinth&>(base);
        auto onScreen = [&](Labyrinth::Cell c) {
            Orvex::SpriteRect const r =
                lab.getTileRect(D3DXVECTOR2(static_cast<float>(c.x), static_cast<float>(c.y)), 0.0f);
            return D3DXVECTOR2(std::floor(r.x + r.w * 0.5f), std::floor(r.y + r.h * 0.5f));
        };
        std::vector<labyrinthtest::Move> moves;
        ASSERT_TRUE(labyrinthtest::findPushes(lab, kMostPushes, moves)) << "no way within " << kMostPushes << " pushes";
        // A click away from every entrance turns the spare: the middle of the board.
        D3DXVECTOR2 const away = onScreen({(lab.getColumns() + 1) / 2, (lab.getRows() + 1) / 2});
        for (labyrinthtest::Move const& move : moves) {
            for (int k = 0; k < move.turns; ++k) click(away);
            click(onScreen(move.at));
            // The row slides for a second.
            wait(1.1);
        }
    }
    void solveDots(Minispiel& base) {
        auto& dots = dynamic_cast<Punkteverbinden&>(base);
        auto centre = [&](Punkteverbinden::Punkt const& p) {
            Orvex::FRect const f = dots.getField()->getScreenRect();
            return D3DXVECTOR2(std::floor(f.left + p.x * (f.right - f.left)), std::floor(f.top + p.y * (f.bottom - f.top)));
        };
        // Each line the goals ask for: a press on one end, then on the other.
        for (Punkteverbinden::Punkt const* p : dots.getPoints())
            for (Punkteverbinden::Punkt const* q : dots.getPoints()) {
                if (p->id >= q->id || !p->isGoal(*q)) continue;
                auto const lines = p->getConnections();
                if (std::find(lines.begin(), lines.end(), q) != lines.end()) continue;
                click(centre(*p));
                click(centre(*q));
            }
    }

    // ---- building, turning tiles, memory, Sequenz ----
    // Board cells for the pieces in order, no quarter filled twice; every piece on the board.
    static bool placePieces(Bauen const& game, std::size_t at, std::vector<int>& grid, std::vector<std::pair<int, int>>& cells) {
        auto const& pieces = game.getPieces();
        if (at == pieces.size()) return true;
        Bauen::Objekt const& piece = *pieces[at];
        int const columns = game.getBoardColumns();
        for (int r = 0; r + piece.rows <= game.getBoardRows(); ++r)
            for (int c = 0; c + piece.columns <= columns; ++c) {
                bool fits = true;
                for (int pr = 0; pr < piece.rows && fits; ++pr)
                    for (int pc = 0; pc < piece.columns && fits; ++pc)
                        fits = (grid[static_cast<std::size_t>((r + pr) * columns + c + pc)] & piece.cell(pc, pr)) == 0;
                if (!fits) continue;
                // Laid and taken off again by the same exclusive or (the quarters were free).
                auto toggle = [&] {
                    for (int pr = 0; pr < piece.rows; ++pr)
                        for (int pc = 0; pc < piece.columns; ++pc)
                            grid[static_cast<std::size_t>((r + pr) * columns + c + pc)] ^= piece.cell(pc, pr);
                };
                toggle();
                cells[at] = {c, r};
                if (placePieces(game, at + 1, grid, cells)) return true;
                toggle();
            }
        return false;
    }
    void solveBuilding(Minispiel& base) {
        auto& game = dynamic_cast<Bauen&>(base);
        std::vector<int> grid(static_cast<std::size_t>(game.getBoardColumns() * game.getBoardRows()), 0);
        std::vector<std::pair<int, int>> cells(game.getPieces().size());
        ASSERT_TRUE(placePieces(game, 0, grid, cells)) << "the pieces do not fit the board";
        std::map<Bauen::Objekt const*, std::pair<int, int>> wanted;
        for (std::size_t i = 0; i < cells.size(); ++i) wanted[game.getPieces()[i].get()] = cells[i];
        for (int n = 0; n < kMoveLimit && !game.isFinished(false); ++n) {
            // The topmost piece not yet in its cell that shows a filled quarter (the list is drawn
            // in order, the last on top).
            auto const& pieces = game.getPieces();
            bool moved = false;
            for (std::size_t i = pieces.size(); i-- > 0 && !moved;) {
                Bauen::Objekt const& piece = *pieces[i];
                auto const [c, r] = wanted[&piece];
                if (piece.boardColumn == c && piece.boardRow == r) continue;
                D3DXVECTOR2 grab;
                auto const free = [&](D3DXVECTOR2 const& p) {
                    if (!bauentest::onFilledQuarter(game, piece, p)) return false;
                    for (std::size_t k = i + 1; k < pieces.size(); ++k)
                        if (bauentest::onFilledQuarter(game, *pieces[k], p)) return false;
                    return true;
                };
                if (!findPoint(Orvex::boundingRectOfSpriteRect(game.getBoxRect(piece)), 2.0f, free, grab)) continue;
                Orvex::SpriteRect const box = game.getBoxRect(piece);
                dragBy(grab, bauentest::boardCell(game, c, r) - D3DXVECTOR2(box.x, box.y));
                EXPECT_EQ(piece.boardColumn, c);
                EXPECT_EQ(piece.boardRow, r);
                moved = true;
            }
            ASSERT_TRUE(moved) << "every piece still to place lies under another";
        }
    }
    void solveTurningTiles(Minispiel& base) {
        auto& game = dynamic_cast<Drehbild&>(base);
        auto quartersOff = [](Drehbild::Teil const& tile) {
            int const quarters = static_cast<int>(std::lround(tile.rotation.goal / Drehbild::kQuarterTurn));
            return ((quarters % 4) + 4) % 4;
        };
        auto middleOfTile = [&](Drehbild::Teil const& tile) {
            Orvex::SpriteRect const box = game.getTileRect(tile.part, 0.0f);
            return D3DXVECTOR2(std::floor(box.x + box.w / 2), std::floor(box.y + box.h / 2));
        };
        // The game judges after a click: with every tile upright, one is turned a full round.
        bool anyOff = false;
        for (auto const& tile : game.getTiles()) anyOff |= quartersOff(*tile) != 0;
        if (!anyOff)
            for (int k = 0; k < 4; ++k) click(middleOfTile(*game.getTiles().front()));
        for (auto const& tile : game.getTiles())
            for (int k = (4 - quartersOff(*tile)) % 4; k > 0; --k) click(middleOfTile(*tile));
    }
    // Played from memory: a card's face is known once it has been turned up.
    void solveMemory(Minispiel& base) {
        auto& game = dynamic_cast<Memory&>(base);
        std::map<Memory::Teil const*, int> seen;
        auto clickCard = [&](Memory::Teil const& card) {
            Orvex::SpriteRect const box = game.getCardRect(card.cell);
            click(D3DXVECTOR2(std::floor(box.x + box.w / 2), std::floor(box.y + box.h / 2)));
            if (card.faceUp) seen[&card] = card.pairId;
        };
        auto faceDown = [&](bool known, Memory::Teil const* besides, int pair) -> Memory::Teil const* {
            for (auto const& card : game.getCards())
                if (!card->faceUp && card.get() != besides && seen.count(card.get()) == (known ? 1u : 0u) &&
                    (pair < 0 || seen[card.get()] == pair))
                    return card.get();
            return nullptr;
        };
        for (int turn = 0; turn < kMoveLimit && !game.isFinished(false); ++turn) {
            // A pair whose two faces are known.
            Memory::Teil const* first = nullptr;
            Memory::Teil const* second = nullptr;
            for (auto const& [card, pair] : seen)
                if (!first && !card->faceUp)
                    if (Memory::Teil const* partner = faceDown(true, card, pair)) {
                        first = card;
                        second = partner;
                    }
            if (!first) {
                first = faceDown(false, nullptr, -1);
                ASSERT_NE(first, nullptr) << "every card is known and no pair is left";
                clickCard(*first);
                second = faceDown(true, first, seen[first]);
                if (!second) second = faceDown(false, first, -1);
                ASSERT_NE(second, nullptr);
                clickCard(*second);
            } else {
                clickCard(*first);
                clickCard(*second);
            }
            // A wrong pair is looked at until it turns back.
            if (first->faceUp && second->faceUp && first->pairId != second->pairId) wait(kWrongPairShown);
        }
    }
    void solveSequenz(Minispiel& base) {
        auto& game = dynamic_cast<Sequenz&>(base);
        for (int round = 0; round < kMoveLimit && !game.isFinished(false); ++round) {
            // The demonstration first: its pads are watched, not clicked.
            for (int frame = 0; frame < 60 * 60 && !game.isInputPhase() && !game.isFinished(false); ++frame) tick(false);
            ASSERT_TRUE(game.isInputPhase() || game.isFinished(false)) << "the player's turn never comes";
            if (game.isFinished(false)) break;
            std::vector<unsigned> const sequence = game.getSequence();
            for (unsigned pad : sequence) clickWindow(*game.getElements()[pad]);
        }
    }

    // ---- cleaning, blowing, ring ----
    void solveCleaning(Minispiel& base) {
        auto& game = dynamic_cast<WaschenPutzenGame&>(base);
        for (std::size_t index = 0; index < game.getPasses().size() && !game.isFinished(false); ++index) {
            if (game.getCurrentIndex() != index) clickWindow(*game.getPasses()[index]->toolWindow);
            ASSERT_EQ(game.getCurrentIndex(), index) << "the tool is not taken";
            // The button held while the pointer sweeps the wash area in rows a brush radius apart.
            WaschenPutzenGame::Pass const& pass = *game.getCurrentPass();
            Orvex::FRect const r = game.getWashArea()->getScreenRect();
            float const w = static_cast<float>(pass.getWidth());
            float const h = static_cast<float>(pass.getHeight());
            auto over = [&](float x, float y) {
                return D3DXVECTOR2(std::floor(r.left + (x + 0.5f) / w * (r.right - r.left)),
                                   std::floor(r.top + (y + 0.5f) / h * (r.bottom - r.top)));
            };
            press(over(0.0f, 0.0f));
            bool rightward = true;
            for (float y = 0.0f; y < h && !pass.done; y += 3.0f) {
                for (float x = 0.0f; x <= w; x += 6.0f) moveTo(over(rightward ? std::min(x, w - 1.0f) : std::max(w - 1.0f - x, 0.0f), y));
                rightward = !rightward;
            }
            release(over(rightward ? 0.0f : w - 1.0f, std::min(h - 1.0f, h)));
            // The coverage is checked every half second.
            wait(0.6);
            EXPECT_TRUE(pass.done) << "pass " << index << " is not clean";
        }
    }
    void solveBlowing(Minispiel& base) {
        auto& game = dynamic_cast<Wegblasen&>(base);
        auto screen = [&](D3DXVECTOR2 const& place) {
            Orvex::FRect const r = game.getPlayfield()->getScreenRect();
            return D3DXVECTOR2(r.left + place.x * (r.right - r.left), r.top + place.y * (r.bottom - r.top));
        };
        // The pointer just beside the object on the side of the field's middle blows it outwards.
        auto beside = [&](Wegblasen::Objekt const& object) {
            D3DXVECTOR2 away = object.position - D3DXVECTOR2(0.5f, 0.5f);
            float const length = std::sqrt(away.x * away.x + away.y * away.y);
            away = length > 1e-4f ? away / length : D3DXVECTOR2(1.0f, 0.0f);
            D3DXVECTOR2 place = object.position - away * 0.08f;
            return screen(D3DXVECTOR2(std::clamp(place.x, 0.01f, 0.99f), std::clamp(place.y, 0.01f, 0.99f)));
        };
        for (int round = 0; round < 3 && !game.isFinished(false); ++round)
            for (Wegblasen::Objekt* object : game.getObjects()) {
                if (object->touchesBorder()) continue;
                press(beside(*object));
                for (int frame = 0; frame < 60 * 8 && !object->touchesBorder(); ++frame) moveTo(beside(*object));
                release(beside(*object));
            }
        tick();
    }
    void solveRing(Minispiel& base) {
        auto& game = dynamic_cast<Ring&>(base);
        D3DXVECTOR2 const centre = middleOf(game.getPlayfield()->getScreenRect());
        for (Ring::Objekt* ring : game.getRings()) {
            if (!ring->rotierbar || game.isUpright(ring->angle) || game.isFinished(false)) continue;
            // Round the centre in steps of at most ten degrees, halfway between the ring's edges.
            float const distance = (game.screenRadius(ring->innerRadius) + game.screenRadius(ring->outerRadius)) / 2.0f;
            float turn = -std::fmod(ring->angle, 360.0f);
            if (turn < -180.0f) turn += 360.0f;
            if (turn > 180.0f) turn -= 360.0f;
            auto at = [&](float degrees) {
                float const a = degrees * kPi / 180.0f;
                return D3DXVECTOR2(std::floor(centre.x - std::cos(a) * distance), std::floor(centre.y - std::sin(a) * distance));
            };
            float const start = 30.0f;
            int const steps = static_cast<int>(std::ceil(std::fabs(turn) / 10.0f)) + 1;
            press(at(start));
            for (int i = 1; i <= steps && !game.isFinished(false); ++i)
                moveTo(at(start + turn * static_cast<float>(i) / static_cast<float>(steps)));
            release(at(start + turn));
        }
    }

protected:
    void SetUp() override {
        makeHome("won_by_input", profileBefore(chapterOf(GetParam().name)));
        withStory = true;
        // The game object's start-up draws from the generators too (the labyrinth's tiles).
        msvc::srand(GetParam().seed);
        Orvex::seedRandom(GetParam().seed);
        MinigameFixture::SetUp();
    }
    void TearDown() override {
        MinigameFixture::TearDown();
        removeHome();
    }

    // The chapter whose rest scene starts the game: its number in the definition file.
    static int chapterOf(std::wstring const& name) { return std::stoi(name.substr(name.find(L'_') + 1)); }
    static std::string restScene(int chapter) {
        return chapter == 0 ? "STORY_RAST" : "STORY_RAST_" + std::to_string(chapter);
    }
    // A player who has just finished the chapter: every scene before its rest scene seen (the
    // intro, each earlier chapter's rest and the next chapter's opening), each earlier mini-game
    // played; tutorials off.
    static std::string profileBefore(int chapter) {
        std::string unlocks = "\"|STORY_INTRO|\" \"|STORY_INTRO_GESEHEN|\" \"|K0_L1_BESTANDEN|\" \"|K0_L2_BESTANDEN|\"";
        for (int k = 0; k <= chapter; ++k) unlocks += " \"|KAPITEL_" + std::to_string(k) + "_FINISHED|\"";
        for (int k = 0; k < chapter; ++k) {
            unlocks += " \"|" + restScene(k) + "|\" \"|MINIGAME_" + std::to_string(k) + "_FINISHED|\"";
            unlocks += k == 0 ? " \"|STORY_TURM|\"" : " \"|STORY_KAPITEL_" + std::to_string(k + 1) + "|\"";
        }
        return "<PROFILE ACTIVE_PROFIL=\"Mia\"><PROFIL NAME=\"Mia\"><TUTORIAL SHOW=\"0\"/>"
               "<KAMPAGNE><KAPITEL KAPITEL=\"0\" RESULT=\"1\"><LEVEL LEVEL=\"0\" RESULT=\"1\"/>"
               "<LEVEL LEVEL=\"1\" RESULT=\"4\"/><LEVEL LEVEL=\"2\" RESULT=\"4\"/></KAPITEL></KAMPAGNE><UNLOCKS>" +
               unlocks + "</UNLOCKS></PROFIL></PROFILE>";
    }
    // From the start screen by the main menu and the chapter screen to a level screen, where the
    // rest scene plays; played to its end it starts the mini-game.
    Minispiel* reachThroughTheStory(std::wstring const& name) {
        clickOn(L"SM_Fenster");
        clickOn(L"H_Kampagne");
        clickOn(L"K_KategorieButton1");
        EXPECT_NE(scene(), nullptr) << "no scene on the level screen";
        if (!scene()) return nullptr;
        EXPECT_EQ(minigametest::narrow(scene()->getName()), restScene(chapterOf(name)));
        playSceneToItsEnd();
        EXPECT_EQ(activeMenu(), L"MINIGAMEMENU");
        Minispiel* game = active();
        EXPECT_NE(game, nullptr) << "the scene started no mini-game";
        return game;
    }

    // The help is up over the game with the game's words, drawn; OK puts it away.
    void readTheHelp(Minispiel& game, std::string const& shot) {
        Orvex::GUIWindow* help = find(L"MINISPIEL_Hilfemenue");
        ASSERT_NE(help, nullptr);
        EXPECT_TRUE(help->getOptions().visible);
        EXPECT_TRUE(manager().isHelpShown());
        Orvex::GUILabel* text = Solitaire::findLabel(L"MINISPIEL_H_HilfeLabel");
        ASSERT_NE(text, nullptr);
        std::wstring const words = Orvex::languageText(game.getHelpId());
        EXPECT_FALSE(words.empty()) << "no help text " << minigametest::narrow(game.getHelpId());
        EXPECT_EQ(text->getText(), words);
        tick();
        EXPECT_GT(lightPixelsIn(pixels(), L"MINISPIEL_H_HilfeLabel"), 200) << "the help's words are drawn";
        keep(shot + "_help");
        closeHelp();
        EXPECT_FALSE(manager().isHelpShown());
    }
};

TEST_P(MinigamesWonByInputTest, IsWonByThePlayersPointer) {
    Row const& row = GetParam();
    std::string const shot = "won_by_input_" + minigametest::narrow(row.name);
    Minispiel* game = reachThroughTheStory(row.name);
    ASSERT_NE(game, nullptr) << "no game " << minigametest::narrow(row.name);
    ASSERT_EQ(game->getName(), row.name);
    readTheHelp(*game, shot);
    (this->*row.solve)(*game);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(game->isFinished(false)) << "not solved by the play";
    tick();
    keep(shot + "_solved");
    for (double t = 0.0; t < kEndLimit && log.count(L"ended") == 0; t += kStep) tick(false);
    ASSERT_EQ(log.count(L"ended"), 1u);
    expectWon();
    EXPECT_EQ(log.count(L"closed"), 0u);
    settle();
    EXPECT_EQ(active(), nullptr);
    expectTold(L"MINISPIEL_E_TITEL_GEWONNEN", L"");
    keep(shot + "_told");
}

using T = MinigamesWonByInputTest;

INSTANTIATE_TEST_SUITE_P(
    ShippedGames, MinigamesWonByInputTest,
    ::testing::Values(Row{L"MINIGAME_0", &T::solveSorting, 4600}, Row{L"MINIGAME_1", &T::solvePlacing, 4601},
                      Row{L"MINIGAME_2", &T::solveShownObject, 4602}, Row{L"MINIGAME_3", &T::solveDifferences, 4603},
                      Row{L"MINIGAME_4", &T::solveSymbols, 4604}, Row{L"MINIGAME_5", &T::solvePath, 4605},
                      Row{L"MINIGAME_6", &T::solveOrder, 4606}, Row{L"MINIGAME_7", &T::solveJigsaw, 4607},
                      Row{L"MINIGAME_8", &T::solveSliding, 4608}, Row{L"MINIGAME_9", &T::solveSwap, 4609},
                      Row{L"MINIGAME_10", &T::solveMaze, 4610}, Row{L"MINIGAME_11", &T::solveLabyrinth, 4611},
                      Row{L"MINIGAME_12", &T::solveDots, 4612}, Row{L"MINIGAME_13", &T::solveBuilding, 4613},
                      Row{L"MINIGAME_14", &T::solveTurningTiles, 4614}, Row{L"MINIGAME_15", &T::solveMemory, 4615},
                      Row{L"MINIGAME_16", &T::solveSequenz, 4616}, Row{L"MINIGAME_17", &T::solveCleaning, 4617},
                      Row{L"MINIGAME_18", &T::solveBlowing, 4618}, Row{L"MINIGAME_19", &T::solveRing, 4619}),
    [](::testing::TestParamInfo<Row> const& info) { return minigametest::narrow(info.param.name); });

}  // namespace
