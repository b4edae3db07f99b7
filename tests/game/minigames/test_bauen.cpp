// The building game on the shipped data ("MINIGAME_13": a 2 x 2 board, a bar two cells high, a
// full cell and two halves that share a cell along its diagonal) played by drags, and on small
// definitions of its own: snapping, the solved test, the quarters a press reaches, bad keys.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/gui/GUIWindow.h"
#include "game/minigames/Bauen.h"
#include "game/minigames/MinispielManager.h"
#include "port/crt/crt.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/game/minigames/BauenQuarters.h"
#include "tests/game/minigames/MinigameFixture.h"

namespace {

using Solitaire::Bauen;
using Piece = Bauen::Objekt;

constexpr unsigned kBauenSeed = 1913;

class BauenTest : public minigametest::MinigameFixture {
protected:
    // A pixel on a filled quarter of the piece that no piece drawn over it covers.
    bool grabPoint(Bauen const& game, Piece const& piece, D3DXVECTOR2& out) const {
        auto const& pieces = game.getPieces();
        std::size_t at = 0;
        while (pieces[at].get() != &piece) ++at;
        D3DXVECTOR2 const marks[4] = {{0.5f, 0.2f}, {0.8f, 0.5f}, {0.5f, 0.8f}, {0.2f, 0.5f}};
        for (int c = 0; c < piece.columns; ++c)
            for (int r = 0; r < piece.rows; ++r)
                for (D3DXVECTOR2 const& mark : marks) {
                    Orvex::SpriteRect const box = game.getCellRect(piece, c, r);
                    D3DXVECTOR2 const p(std::floor(box.x + mark.x * box.w) + 0.5f,
                                        std::floor(box.y + mark.y * box.h) + 0.5f);
                    if (!bauentest::onFilledQuarter(game, piece, p)) continue;
                    bool covered = false;
                    for (std::size_t i = at + 1; i < pieces.size(); ++i) covered |= bauentest::onFilledQuarter(game, *pieces[i], p);
                    if (!covered) {
                        out = p;
                        return true;
                    }
                }
        return false;
    }

    // Drags the piece so that its corner comes to rest at the screen point (it snaps from there).
    void dragTo(Bauen const& game, Piece const& piece, D3DXVECTOR2 const& corner) {
        D3DXVECTOR2 grab;
        ASSERT_TRUE(grabPoint(game, piece, grab)) << "every quarter of the piece is covered";
        Orvex::SpriteRect const box = game.getBoxRect(piece);
        drag(grab, corner + (grab - D3DXVECTOR2(box.x, box.y)));
    }

    // The pieces by picture, as the shipped definition lists them.
    Piece const* piece(Bauen const& game, int columns, int rows, int firstMask) const {
        for (auto const& p : game.getPieces())
            if (p->columns == columns && p->rows == rows && p->cells[0] == firstMask) return p.get();
        return nullptr;
    }

    // The shipped game won: the bar on the left column, the full cell top right, the two halves
    // bottom right.
    void win(Bauen& game) {
        Piece const* bar = piece(game, 1, 2, 15);
        Piece const* full = piece(game, 1, 1, 15);
        Piece const* upper = piece(game, 1, 1, Bauen::kTop | Bauen::kRight);
        Piece const* lower = piece(game, 1, 1, Bauen::kBottom | Bauen::kLeft);
        ASSERT_TRUE(bar && full && upper && lower);
        dragTo(game, *bar, bauentest::boardCell(game, 0, 0));
        dragTo(game, *full, bauentest::boardCell(game, 1, 0));
        dragTo(game, *upper, bauentest::boardCell(game, 1, 1));
        dragTo(game, *lower, bauentest::boardCell(game, 1, 1));
    }

    Bauen* playShipped() {
        msvc::srand(kBauenSeed);
        return play<Bauen>(L"MINIGAME_13");
    }

    // A definition of its own with the shipped templates and pictures.
    Bauen* playOwn(std::wstring const& keys, std::wstring const& pieces) {
        define(L"<MINISPIEL TYPE=\"BAUEN\" NAME=\"B\" LSG_TIME=\"60\" TIMER=\"1\" BACKGROUND=\"TILES_BAUEN_HG\" " + keys +
               L">" + pieces + L"</MINISPIEL>");
        msvc::srand(kBauenSeed);
        return play<Bauen>(L"B");
    }
};

TEST_F(BauenTest, WonByDraggingEveryPieceOntoTheBoard) {
    Bauen* game = playShipped();
    ASSERT_NE(game, nullptr);
    ASSERT_NE(game->getField(), nullptr);
    EXPECT_EQ(game->getPieces().size(), 4u);
    keep("bauen_start");
    Piece const* bar = piece(*game, 1, 2, 15);
    ASSERT_NE(bar, nullptr);
    dragTo(*game, *bar, bauentest::boardCell(*game, 0, 0));
    EXPECT_EQ(bar->boardColumn, 0);
    EXPECT_EQ(bar->boardRow, 0);
    // A dropped piece lies under the others.
    EXPECT_EQ(game->getPieces().front().get(), bar);
    keep("bauen_mitte");
    // The bar's picture (blue) fills the left column of the board.
    std::vector<uint32_t> const shot = pixels();
    D3DXVECTOR2 const inBar = bauentest::boardCell(*game, 0, 1) + D3DXVECTOR2(20.0f, 20.0f);
    uint32_t const blue = pixelAt(shot, inBar);
    EXPECT_GT(blue & 0xFF, ((blue >> 16) & 0xFF) + 60) << std::hex << blue;
    win(*game);
    EXPECT_TRUE(game->isFinished(false));
    tick();
    keep("bauen_geloest");
    waitForTheEnd(*game);
    expectWon();
    EXPECT_EQ(log.count(L"move"), 0u);
}

TEST_F(BauenTest, LostWhenTheTimeRunsOut) {
    ASSERT_NE(playShipped(), nullptr);
    loseByTime();
    expectSkipped();
}

TEST_F(BauenTest, TheCancelButtonClosesTheGame) {
    ASSERT_NE(playShipped(), nullptr);
    clickPart(L"BAUEN_CANCEL");
    EXPECT_EQ(log.count(L"closed"), 1u);
}

TEST_F(BauenTest, TwoRunsFromOneSeedGiveTheSameSignalsAndPicture) {
    auto run = [&](std::vector<std::wstring>& signals, std::vector<uint32_t>& picture) {
        TearDown();
        SetUp();
        Bauen* game = playShipped();
        ASSERT_NE(game, nullptr);
        win(*game);
        tick();
        picture = pixels();
        waitForTheEnd(*game);
        signals = log.lines;
    };
    std::vector<std::wstring> firstSignals, secondSignals;
    std::vector<uint32_t> firstPicture, secondPicture;
    run(firstSignals, firstPicture);
    run(secondSignals, secondPicture);
    EXPECT_EQ(firstSignals, secondSignals);
    EXPECT_TRUE(firstPicture == secondPicture);
    expectWon();
}

TEST_F(BauenTest, APressWhileTheHelpIsUpDragsNothing) {
    msvc::srand(kBauenSeed);
    auto* game = dynamic_cast<Bauen*>(begin(L"MINIGAME_13"));
    ASSERT_NE(game, nullptr);
    Piece const& top = *game->getPieces().back();
    D3DXVECTOR2 grab;
    ASSERT_TRUE(grabPoint(*game, top, grab));
    float const x = top.x;
    drag(grab, grab + D3DXVECTOR2(-150.0f, 0.0f));
    EXPECT_EQ(top.x, x);
}

// Where a corner dropped at an offset from board cell (0, 0), in cells, comes to rest: less than
// half a cell off the board snaps onto it, further off stays (truncation would snap up to a cell
// and a half off).
struct SnapCase {
    float dx, dy;
    int column, row;
};
void PrintTo(SnapCase const& c, std::ostream* out) { *out << c.dx << ", " << c.dy; }

class BauenSnapTest : public BauenTest, public ::testing::WithParamInterface<SnapCase> {};

TEST_P(BauenSnapTest, ADroppedCornerSnapsToTheNearestCell) {
    Bauen* game = playOwn(L"SIZE=\"4\" SPACE=\"0.5\"", L"<OBJEKT SIZE=\"1\" WERTE=\"15\"/>");
    ASSERT_NE(game, nullptr);
    Piece const& only = *game->getPieces()[0];
    D3DXVECTOR2 const a = bauentest::boardCell(*game, 0, 0);
    D3DXVECTOR2 const b = bauentest::boardCell(*game, 1, 1);
    D3DXVECTOR2 const cell = b - a;
    // A press in the middle of the piece (the piece has no picture: its box is where it lies).
    Orvex::SpriteRect const box = game->getBoxRect(only);
    D3DXVECTOR2 const grab(std::floor(box.x + box.w / 2) + 0.5f, std::floor(box.y + box.h / 2) + 0.5f);
    D3DXVECTOR2 const corner = a + D3DXVECTOR2(GetParam().dx * cell.x, GetParam().dy * cell.y);
    drag(grab, corner + (grab - D3DXVECTOR2(box.x, box.y)));
    EXPECT_EQ(only.boardColumn, GetParam().column);
    EXPECT_EQ(only.boardRow, GetParam().row);
    if (only.onBoard()) {
        D3DXVECTOR2 const at = bauentest::boardCell(*game, only.boardColumn, only.boardRow);
        Orvex::SpriteRect const now = game->getBoxRect(only);
        EXPECT_NEAR(now.x, at.x, 0.01f);
        EXPECT_NEAR(now.y, at.y, 0.01f);
    }
}

INSTANTIATE_TEST_SUITE_P(Offsets, BauenSnapTest,
                         ::testing::Values(SnapCase{0.0f, 0.0f, 0, 0}, SnapCase{-0.4f, 0.0f, 0, 0},
                                           SnapCase{0.0f, -0.4f, 0, 0}, SnapCase{-0.7f, 0.0f, -1, -1},
                                           SnapCase{0.0f, -0.7f, -1, -1}, SnapCase{-1.3f, -1.3f, -1, -1},
                                           SnapCase{1.4f, 2.6f, 1, 3}, SnapCase{3.4f, 3.4f, 3, 3},
                                           SnapCase{3.7f, 0.0f, -1, -1}));

// The solved test: pieces by their masks and board places.
struct SolvedCase {
    wchar_t const* name;
    int boardSide;
    std::vector<std::pair<int, int>> masksAndSides;  // mask of every cell, side in cells
    std::vector<std::pair<int, int>> places;         // board cell of each piece
    bool solved;
};
void PrintTo(SolvedCase const& c, std::ostream* out) { *out << minigametest::narrow(c.name); }

class BauenSolvedTest : public BauenTest, public ::testing::WithParamInterface<SolvedCase> {};

TEST_P(BauenSolvedTest, JudgesTheQuartersOnTheBoard) {
    std::wstring pieces;
    for (auto const& [mask, side] : GetParam().masksAndSides) {
        std::wstring values;
        for (int i = 0; i < side * side; ++i) values += std::to_wstring(mask) + L" ";
        pieces += L"<OBJEKT SIZE=\"" + std::to_wstring(side) + L"\" WERTE=\"" + values + L"\"/>";
    }
    // A board half the field wide, so a piece can stick out over its right or bottom edge.
    Bauen* game = playOwn(L"SPACE=\"0.5\" SIZE=\"" + std::to_wstring(GetParam().boardSide) + L"\"", pieces);
    ASSERT_NE(game, nullptr);
    ASSERT_EQ(game->getPieces().size(), GetParam().places.size());
    float const cell = 0.5f / static_cast<float>(GetParam().boardSide);
    for (std::size_t i = 0; i < GetParam().places.size(); ++i) {
        Piece& p = *game->getPieces()[i];
        game->place(p, 0.25f + cell * static_cast<float>(GetParam().places[i].first),
                    0.25f + cell * static_cast<float>(GetParam().places[i].second));
        game->snap(p);
        ASSERT_EQ(p.boardColumn, GetParam().places[i].first) << i;
        ASSERT_EQ(p.boardRow, GetParam().places[i].second) << i;
    }
    EXPECT_EQ(game->isSolved(), GetParam().solved);
}

INSTANTIATE_TEST_SUITE_P(
    Boards, BauenSolvedTest,
    ::testing::Values(
        SolvedCase{L"diagonal complements share a cell", 2, {{3, 1}, {12, 1}}, {{0, 0}, {0, 0}}, true},
        SolvedCase{L"two pieces on one quarter do not", 2, {{3, 1}, {1, 1}}, {{1, 1}, {1, 1}}, false},
        SolvedCase{L"the board need not be covered", 3, {{15, 1}}, {{2, 2}}, true},
        SolvedCase{L"a piece sticking out over the right edge", 2, {{15, 2}}, {{1, 0}}, false},
        SolvedCase{L"a piece sticking out over the bottom edge", 2, {{15, 2}}, {{0, 1}}, false},
        SolvedCase{L"full cells side by side", 2, {{15, 1}, {15, 1}, {15, 1}}, {{0, 0}, {1, 0}, {1, 1}}, true},
        SolvedCase{L"a big piece over a small one", 3, {{15, 1}, {15, 2}}, {{1, 1}, {0, 0}}, false}));

TEST_F(BauenTest, APressOnAnEmptyQuarterReachesThePieceBelow) {
    // The upper-right half dropped on a cell first, then the lower-left one: the last drop goes
    // under the others, so the upper half is drawn over the lower. A press on the cell's left
    // quarter, empty in the upper half, finds the lower half. The bar sticks out over the board's
    // right edge, so the game stays unsolved.
    Bauen* game = playOwn(L"SIZE=\"3\"", L"<OBJEKT SIZE=\"1\" WERTE=\"3\"/><OBJEKT SIZE=\"1\" WERTE=\"12\"/>"
                                         L"<OBJEKT SIZE=\"2 1\" WERTE=\"15 15\"/>");
    ASSERT_NE(game, nullptr);
    Piece const* upper = game->getPieces()[0].get();
    Piece const* lower = game->getPieces()[1].get();
    Piece const* bar = game->getPieces()[2].get();
    dragTo(*game, *bar, bauentest::boardCell(*game, 2, 0));
    EXPECT_EQ(bar->boardColumn, 2);
    dragTo(*game, *upper, bauentest::boardCell(*game, 1, 1));
    dragTo(*game, *lower, bauentest::boardCell(*game, 1, 1));
    ASSERT_FALSE(game->isFinished(false));
    ASSERT_EQ(game->getPieces()[0].get(), lower);
    ASSERT_EQ(game->getPieces()[1].get(), upper);
    D3DXVECTOR2 const cell = bauentest::boardCell(*game, 1, 1);
    float const side = bauentest::boardCell(*game, 2, 1).x - cell.x;
    D3DXVECTOR2 const leftQuarter = cell + D3DXVECTOR2(std::floor(side * 0.15f), std::floor(side * 0.5f));
    press(leftQuarter);
    EXPECT_EQ(game->getDragged(), lower);
    release(leftQuarter);
    D3DXVECTOR2 const topQuarter = cell + D3DXVECTOR2(std::floor(side * 0.5f), std::floor(side * 0.15f));
    press(topQuarter);
    EXPECT_EQ(game->getDragged(), upper);
    release(topQuarter);
}

TEST_F(BauenTest, AfterStartEveryPieceLiesInTheFieldAndPiecesNearTheBoardAreSnapped) {
    Bauen* game = playOwn(L"SIZE=\"3\" SPACE=\"0.6\"", L"<OBJEKT SIZE=\"2 1\" WERTE=\"15 15\"/><OBJEKT SIZE=\"1\" WERTE=\"15\"/>");
    ASSERT_NE(game, nullptr);
    for (int attempt = 0; attempt < 50; ++attempt) {
        game->start();
        for (auto const& p : game->getPieces()) {
            float const w = static_cast<float>(p->columns) / 3.0f * 0.6f;
            float const h = static_cast<float>(p->rows) / 3.0f * 0.6f;
            EXPECT_GE(p->x, 0.0f);
            EXPECT_GE(p->y, 0.0f);
            EXPECT_LE(p->x + w, 1.0f + 1e-5f);
            EXPECT_LE(p->y + h, 1.0f + 1e-5f);
            float const cx = (p->x - game->getOrigin().x) / 0.6f * 3.0f;
            float const cy = (p->y - game->getOrigin().y) / 0.6f * 3.0f;
            if (p->onBoard()) {
                EXPECT_NEAR(cx, static_cast<float>(p->boardColumn), 1e-4f);
                EXPECT_NEAR(cy, static_cast<float>(p->boardRow), 1e-4f);
            } else {
                EXPECT_TRUE(cx < -0.5f || cy < -0.5f || cx >= 2.5f || cy >= 2.5f) << cx << " " << cy;
            }
        }
    }
}

// Bad keys: one log line naming the file and line; a board without a size cannot be played but
// can be skipped.
struct BadKeyCase {
    wchar_t const* keys;
    wchar_t const* pieces;
    bool playable;
    std::size_t pieceCount;
    std::size_t logLines;
};
void PrintTo(BadKeyCase const& c, std::ostream* out) {
    *out << minigametest::narrow(c.keys) << " " << minigametest::narrow(c.pieces);
}

class BauenBadKeyTest : public BauenTest, public ::testing::WithParamInterface<BadKeyCase> {};

TEST_P(BauenBadKeyTest, IsRefusedWithOneLineAndTheGameCanStillBeSkipped) {
    logtest::LogWatch watch;
    define(std::wstring(L"<MINISPIEL TYPE=\"BAUEN\" NAME=\"B\" ") + GetParam().keys + L">" + GetParam().pieces +
           L"</MINISPIEL>");
    std::size_t lines = 0;
    for (std::wstring const& line : watch.lines()) lines += logtest::contains(line, L"test.min\" at line 1");
    EXPECT_EQ(lines, GetParam().logLines);
    auto* game = dynamic_cast<Bauen*>(manager().findMinispiel(L"B"));
    ASSERT_NE(game, nullptr);
    EXPECT_EQ(game->isPlayable(), GetParam().playable);
    EXPECT_EQ(game->getPieces().size(), GetParam().pieceCount);
    EXPECT_EQ(game->getWindow() != nullptr, GetParam().playable);
    ASSERT_EQ(begin(L"B"), game);
    ticks(5);
    skipFromHelp();
    expectSkipped();
}

INSTANTIATE_TEST_SUITE_P(
    Keys, BauenBadKeyTest,
    ::testing::Values(BadKeyCase{L"", L"<OBJEKT SIZE=\"1\" WERTE=\"15\"/>", false, 1, 1},
                      BadKeyCase{L"SIZE=\"0 2\"", L"<OBJEKT SIZE=\"1\" WERTE=\"15\"/>", false, 1, 1},
                      BadKeyCase{L"SIZE=\"-3\"", L"", false, 0, 1},
                      BadKeyCase{L"SIZE=\"100000\"", L"", false, 0, 1},
                      BadKeyCase{L"SIZE=\"2\"", L"<OBJEKT WERTE=\"15\"/><OBJEKT SIZE=\"1\"/>", true, 1, 1},
                      BadKeyCase{L"SIZE=\"2\"", L"<OBJEKT SIZE=\"1\" WERTE=\"-1\"/>", true, 1, 1},
                      BadKeyCase{L"SIZE=\"2\" SPACE=\"0\"", L"<OBJEKT SIZE=\"1\" WERTE=\"15\"/>", true, 1, 1},
                      BadKeyCase{L"SIZE=\"2\" SPACE=\"nan\"", L"<OBJEKT SIZE=\"1\" WERTE=\"15\"/>", true, 1, 1}));

TEST_F(BauenTest, ShortValuesLeaveTheOtherCellsEmpty) {
    define(L"<MINISPIEL TYPE=\"BAUEN\" NAME=\"B\" SIZE=\"2\"><OBJEKT SIZE=\"2\" WERTE=\"15 3\"/></MINISPIEL>");
    auto* game = dynamic_cast<Bauen*>(manager().findMinispiel(L"B"));
    ASSERT_NE(game, nullptr);
    ASSERT_EQ(game->getPieces().size(), 1u);
    EXPECT_EQ(game->getPieces()[0]->cells, (std::vector<int>{15, 3, 0, 0}));
}

}  // namespace
