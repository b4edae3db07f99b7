// The jigsaw on the shipped data ("MINIGAME_7": four quarters of a landscape, a night-sky decoy,
// a wooden frame, the end picture; the fourth quarter starts at 16, 400 of the field), played by
// presses, moves and releases of the left button; and small definitions of its own for the hit
// tests and bad keys.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/gui/GUIWindow.h"
#include "engine/render/SpriteRect.h"
#include "game/minigames/MinispielManager.h"
#include "game/minigames/Puzzle.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/game/minigames/MinigameFixture.h"

namespace {

using Solitaire::Puzzle;
using PuzzlePiece = Puzzle::PuzzleTeil;

class PuzzleTest : public minigametest::MinigameFixture {
protected:
    Puzzle* game = nullptr;

    void SetUp() override {
        MinigameFixture::SetUp();
        game = play<Puzzle>(L"MINIGAME_7");
        ASSERT_NE(game, nullptr);
    }

    // The movable copy of the place.
    PuzzlePiece* pieceOf(PuzzlePiece const* target) const {
        for (PuzzlePiece* piece : game->getPieces())
            if (piece->id == target->id) return piece;
        return nullptr;
    }
    static D3DXVECTOR2 corner(PuzzlePiece const* piece) {
        Orvex::SpriteRect const r = piece->getSpriteRect();
        return D3DXVECTOR2(r.x, r.y);
    }
    // A whole-pixel point where a press takes this piece (the topmost loose piece hit there),
    // nearest its middle.
    D3DXVECTOR2 grabPoint(PuzzlePiece const* piece) const {
        Orvex::FRect const r = Orvex::boundingRectOfSpriteRect(piece->getSpriteRect());
        D3DXVECTOR2 const middle = middleOf(r);
        for (int ring = 0; ring < 40; ++ring)
            for (int i = -ring; i <= ring; ++i)
                for (int j = -ring; j <= ring; ++j) {
                    if (std::max(std::abs(i), std::abs(j)) != ring) continue;
                    D3DXVECTOR2 const point(std::floor(middle.x) + 3.0f * i, std::floor(middle.y) + 3.0f * j);
                    if (topmostAt(point) == piece) return point;
                }
        ADD_FAILURE() << "no point takes the piece";
        return middle;
    }
    PuzzlePiece const* topmostAt(D3DXVECTOR2 const& point) const {
        auto const& pieces = game->getPieces();
        for (std::size_t i = pieces.size(); i-- > 0;)
            if (pieces[i]->loose && pieces[i]->hitTest(point, true)) return pieces[i];
        return nullptr;
    }
    // Drags the piece so that its corner lands off pixels from its place's corner.
    void put(PuzzlePiece const* target, D3DXVECTOR2 const& off = D3DXVECTOR2(0.0f, 0.0f), int steps = 8) {
        PuzzlePiece* piece = pieceOf(target);
        ASSERT_NE(piece, nullptr);
        dropCornerAt(piece, corner(target) + off, steps);
    }
    // Drags the piece so that its corner lands at the point (to the nearest whole pixel).
    void dropCornerAt(PuzzlePiece* piece, D3DXVECTOR2 const& at, int steps = 8) {
        D3DXVECTOR2 const from = grabPoint(piece);
        D3DXVECTOR2 const delta = at - corner(piece);
        drag(from, from + D3DXVECTOR2(std::round(delta.x), std::round(delta.y)), steps);
    }
};

TEST_F(PuzzleTest, WonByDraggingEveryQuarterOntoItsPlace) {
    keep("puzzle_start");
    ASSERT_EQ(game->getTargets().size(), 4u);
    ASSERT_EQ(game->getPieces().size(), 5u);  // the four quarters and the decoy
    for (PuzzlePiece const* target : game->getTargets()) {
        EXPECT_FALSE(game->isFinished(false));
        put(target);
        EXPECT_FALSE(target->loose);
        EXPECT_FALSE(pieceOf(target)->loose);
    }
    EXPECT_TRUE(game->isFinished(false));
    // Placing emits nothing; the report waits for the end delay.
    EXPECT_EQ(log.count(L"move"), 0u);
    EXPECT_EQ(log.count(L"ended"), 0u);
    wait(1.0);
    keep("puzzle_geloest");
    waitForTheEnd(*game);
    EXPECT_EQ(log.count(L"ended"), 1u);
    expectWon();
}

TEST_F(PuzzleTest, APlacedPieceShowsGreenInItsStatusAndIsNotPickedUpAgain) {
    PuzzlePiece const* target = game->getTargets()[3];
    PuzzlePiece* piece = pieceOf(target);
    ASSERT_NE(piece->statusWindow, nullptr);
    D3DXVECTOR2 const dot = middleOf(piece->statusWindow->getScreenRect());
    uint32_t const grey = pixelAt(pixels(), dot);
    EXPECT_NEAR(static_cast<int>((grey >> 8) & 0xFF), static_cast<int>((grey >> 16) & 0xFF), 20) << std::hex << grey;
    put(target);
    wait(0.1);
    uint32_t const green = pixelAt(pixels(), dot);
    EXPECT_GT((green >> 8) & 0xFF, ((green >> 16) & 0xFF) + 80) << std::hex << green;
    // A press on the placed piece takes nothing.
    press(middleOf(Orvex::boundingRectOfSpriteRect(piece->getSpriteRect())));
    EXPECT_NE(game->getHeldPiece(), piece);
    release(middleOf(Orvex::boundingRectOfSpriteRect(piece->getSpriteRect())));
}

// Drops of the fourth quarter (its start and place on whole pixels) at an offset from its place:
// nearer than "MAX_DIST" 25 it flies there in one second, else it stays where it was dropped.
struct PuzzleSnapCase {
    float dx;
    float dy;
    bool placed;
};
void PrintTo(PuzzleSnapCase const& c, std::ostream* out) { *out << c.dx << ", " << c.dy; }

class PuzzleSnapTest : public PuzzleTest, public ::testing::WithParamInterface<PuzzleSnapCase> {};

TEST_P(PuzzleSnapTest, ADropNearerThanTheSnapDistanceFliesToThePlaceInOneSecond) {
    PuzzlePiece const* target = game->getTargets()[3];
    PuzzlePiece* piece = pieceOf(target);
    D3DXVECTOR2 const off(GetParam().dx, GetParam().dy);
    put(target, off);
    D3DXVECTOR2 const dropped = corner(target) + off;
    EXPECT_EQ(piece->loose, !GetParam().placed);
    wait(0.5 - kStep);
    D3DXVECTOR2 const half = corner(piece);
    wait(0.6);
    if (GetParam().placed) {
        // Halfway after half a second, there after one.
        EXPECT_NEAR(half.x, (dropped.x + corner(target).x) / 2.0f, 0.6f);
        EXPECT_NEAR(half.y, (dropped.y + corner(target).y) / 2.0f, 0.6f);
        EXPECT_NEAR(corner(piece).x, corner(target).x, 0.01f);
        EXPECT_NEAR(corner(piece).y, corner(target).y, 0.01f);
    } else {
        EXPECT_NEAR(corner(piece).x, dropped.x, 0.01f);
        EXPECT_NEAR(corner(piece).y, dropped.y, 0.01f);
        EXPECT_TRUE(target->loose);
    }
}

INSTANTIATE_TEST_SUITE_P(Offsets, PuzzleSnapTest,
                         ::testing::Values(PuzzleSnapCase{24, 0, true}, PuzzleSnapCase{25, 0, false}, PuzzleSnapCase{0, -24, true},
                                           PuzzleSnapCase{0, -25, false}, PuzzleSnapCase{17, 17, true},
                                           PuzzleSnapCase{18, 18, false}));

// A piece let go on a place it does not fill, its corner nearer than "MAX_DIST" 25 to the place's,
// would look placed, the picture put together wrongly: it flies back to where it was taken and
// stays loose. Farther off it stays where it was dropped.
struct WrongPlaceCase {
    char const* what;
    bool decoy;      // the night-sky decoy, else the fourth quarter
    bool filled;     // the place (the third quarter's) filled first
    float dx;
    bool back;
};
void PrintTo(WrongPlaceCase const& c, std::ostream* out) { *out << c.what; }

class PuzzleWrongPlaceTest : public PuzzleTest, public ::testing::WithParamInterface<WrongPlaceCase> {};

TEST_P(PuzzleWrongPlaceTest, APieceOnAPlaceItDoesNotFillGoesBack) {
    PuzzlePiece const* place = game->getTargets()[2];
    if (GetParam().filled) put(place);
    // The decoy's copy comes after the quarters' until a piece is taken.
    PuzzlePiece* piece = GetParam().decoy ? game->getPieces().back() : pieceOf(game->getTargets()[3]);
    D3DXVECTOR2 const taken = corner(piece);
    D3DXVECTOR2 const dropped = corner(place) + D3DXVECTOR2(GetParam().dx, 0.0f);
    dropCornerAt(piece, dropped);
    wait(0.5);
    EXPECT_TRUE(piece->loose);
    EXPECT_EQ(place->loose, !GetParam().filled);
    D3DXVECTOR2 const want = GetParam().back ? taken : dropped;
    EXPECT_NEAR(corner(piece).x, want.x, 0.6f);
    EXPECT_NEAR(corner(piece).y, want.y, 0.6f);
    EXPECT_FALSE(game->isFinished(false));
}

INSTANTIATE_TEST_SUITE_P(Drops, PuzzleWrongPlaceTest,
                         ::testing::Values(WrongPlaceCase{"another quarter's place", false, false, 0, true},
                                           WrongPlaceCase{"24 off another's place", false, false, 24, true},
                                           WrongPlaceCase{"25 off another's place", false, false, 25, false},
                                           WrongPlaceCase{"a filled place", false, true, 0, true},
                                           WrongPlaceCase{"the decoy on a place", true, false, 0, true}));

TEST_F(PuzzleTest, ADraggedPieceStaysPinnedInsideTheWindow) {
    PuzzlePiece* piece = pieceOf(game->getTargets()[3]);
    Orvex::FRect const bounds = game->getWindow()->getScreenRect();
    D3DXVECTOR2 const from = grabPoint(piece);
    moveTo(from);
    press(from);
    ASSERT_EQ(game->getHeldPiece(), piece);
    moveTo(D3DXVECTOR2(bounds.right - 1.0f, bounds.bottom - 1.0f));
    Orvex::FRect r = Orvex::boundingRectOfSpriteRect(piece->getSpriteRect());
    EXPECT_NEAR(r.right, bounds.right, 0.01f);
    EXPECT_NEAR(r.bottom, bounds.bottom, 0.01f);
    moveTo(D3DXVECTOR2(bounds.left, bounds.top));
    r = Orvex::boundingRectOfSpriteRect(piece->getSpriteRect());
    EXPECT_NEAR(r.left, bounds.left, 0.01f);
    EXPECT_NEAR(r.top, bounds.top, 0.01f);
    release(D3DXVECTOR2(bounds.left, bounds.top));
    EXPECT_EQ(game->getHeldPiece(), nullptr);
    EXPECT_TRUE(piece->loose);
}

TEST_F(PuzzleTest, TheEndPictureIsFullyShownHalfASecondAfterTheLastDrop) {
    auto const& targets = game->getTargets();
    for (std::size_t i = 0; i + 1 < targets.size(); ++i) put(targets[i]);
    // A point of the end picture's gold rim, over the placed first quarter's sky.
    Orvex::SpriteRect const end = game->getEndPieces()[0]->getSpriteRect();
    D3DXVECTOR2 const rim(std::floor(end.x + 2.0f), std::floor(end.y + 48.0f));
    auto const goldness = [](uint32_t p) { return static_cast<int>((p >> 16) & 0xFF) - static_cast<int>(p & 0xFF); };
    tick();
    int const sky = goldness(pixelAt(pixels(), rim));
    EXPECT_LT(sky, 0) << std::hex << pixelAt(pixels(), rim);
    put(targets.back());  // the release is the first frame after the drop
    wait(0.25 - kStep);
    int const half = goldness(pixelAt(pixels(), rim));
    wait(0.25);
    int const full = goldness(pixelAt(pixels(), rim));
    wait(0.25);
    EXPECT_GT(half, sky + 40);
    EXPECT_LT(half, full - 40);
    EXPECT_EQ(full, goldness(pixelAt(pixels(), rim)));
    EXPECT_NEAR(full, 0xE0 - 0x30, 4);
}

TEST_F(PuzzleTest, ADecoyDroppedAfterTheWinRestartsNeitherTheEndDelayNorTheFade) {
    for (PuzzlePiece const* target : game->getTargets()) put(target);
    ASSERT_TRUE(game->isFinished(false));
    PuzzlePiece* decoy = nullptr;
    for (PuzzlePiece* piece : game->getPieces())
        if (piece->loose) decoy = piece;
    ASSERT_NE(decoy, nullptr);
    D3DXVECTOR2 const from = grabPoint(decoy);
    drag(from, from + D3DXVECTOR2(10.0f, 10.0f), 4);
    // Eight frames since the last drop: the delay and the fade went on.
    EXPECT_NEAR(game->getEndDelayLeft(), game->getEndDelay() - 8 * kStep, 1e-3);
    EXPECT_NEAR(game->getEndFade(), 8 * kStep, 1e-3);
    waitForTheEnd(*game);
    EXPECT_EQ(log.count(L"ended"), 1u);
}

TEST_F(PuzzleTest, ANewStartDealsFreshCopiesAtNewPlaces) {
    put(game->getTargets()[0]);
    Orvex::GUIWindow* foreground = game->getForeground();
    ASSERT_NE(foreground, nullptr);
    std::size_t const children = foreground->getChildren().size();
    std::vector<D3DXVECTOR2> before;
    for (PuzzlePiece const* target : game->getTargets()) before.push_back(pieceOf(target)->getPosition());
    game->start();
    EXPECT_EQ(foreground->getChildren().size(), children);
    ASSERT_EQ(game->getPieces().size(), 5u);
    for (PuzzlePiece const* piece : game->getPieces()) EXPECT_TRUE(piece->loose);
    for (PuzzlePiece const* target : game->getTargets()) EXPECT_TRUE(target->loose);
    // The fourth quarter at its start place again, the others scattered afresh.
    EXPECT_EQ(pieceOf(game->getTargets()[3])->getPosition(), before[3]);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_NE(pieceOf(game->getTargets()[i])->getPosition(), before[i]) << i;
    put(game->getTargets()[0]);
    EXPECT_FALSE(game->getTargets()[0]->loose);
}

TEST_F(PuzzleTest, TwoRunsFromOneSeedGiveTheSameSignalsAndPicture) {
    expectTheSameTwice(20240611, [this] { for (PuzzlePiece const* target : game->getTargets()) put(target); });
}

TEST_F(PuzzleTest, LostWhenTheTimeRunsOut) {
    loseByTime();
    expectSkipped();
}

TEST_F(PuzzleTest, CancelClosesTheGame) {
    clickPart(L"PUZZLE_CANCEL");
    EXPECT_EQ(log.count(L"closed"), 1u);
    EXPECT_EQ(log.count(L"ended"), 0u);
}

// Two pieces, the second lying over the first's middle: a press on the second's transparent
// corner reaches the first unless the grab test ("CHECK_ALPHA"'s second value) is off; a drop with
// the pointer on the place's transparent corner fills it only when the drop test (the first value)
// is off.
struct PuzzleAlphaCase {
    wchar_t const* checkAlpha;
    int held;          // which piece a press on the corner takes
    bool cornerDrops;  // whether the grabbed piece fills its place when dropped by the corner
};
void PrintTo(PuzzleAlphaCase const& c, std::ostream* out) { *out << '"' << minigametest::narrow(c.checkAlpha) << '"'; }

class PuzzleAlphaTest : public minigametest::MinigameFixture, public ::testing::WithParamInterface<PuzzleAlphaCase> {};

TEST_P(PuzzleAlphaTest, TransparentCornersLetPressesAndDropsThrough) {
    define(std::wstring(L"<MINISPIEL TYPE=\"PUZZLE\" NAME=\"P\" SIZE=\"512 512\" CHECK_ALPHA=\"") +
           GetParam().checkAlpha +
           L"\"><PUZZLE_TEIL ANIMATION=\"MG_PUZZLE_1\" POSITION=\"0 400\" START_POSITION=\"0 0\"/>"
           L"<PUZZLE_TEIL ANIMATION=\"MG_PUZZLE_2\" POSITION=\"256 400\" START_POSITION=\"100 60\"/></MINISPIEL>");
    auto* game = play<Puzzle>(L"P");
    ASSERT_NE(game, nullptr);
    Orvex::FRect const field = game->getField()->getScreenRect();
    D3DXVECTOR2 const corner(field.left + 102.0f, field.top + 62.0f);
    moveTo(corner);
    press(corner);
    ASSERT_NE(game->getHeldPiece(), nullptr);
    EXPECT_EQ(game->getHeldPiece()->id, game->getTargets()[static_cast<std::size_t>(GetParam().held)]->id);
    PuzzlePiece const* target = game->getTargets()[static_cast<std::size_t>(GetParam().held)];
    // The held piece's corner pixel onto its place's corner pixel.
    Orvex::SpriteRect const from = game->getHeldPiece()->getSpriteRect();
    Orvex::SpriteRect const to = target->getSpriteRect();
    D3DXVECTOR2 const drop = corner + D3DXVECTOR2(std::round(to.x - from.x), std::round(to.y - from.y));
    moveTo(drop);
    release(drop);
    if (GetParam().held == 1) {
        EXPECT_EQ(target->loose, !GetParam().cornerDrops);
    }
}

INSTANTIATE_TEST_SUITE_P(Checks, PuzzleAlphaTest,
                         ::testing::Values(PuzzleAlphaCase{L"1 1", 0, false}, PuzzleAlphaCase{L"0 1", 0, false},
                                           PuzzleAlphaCase{L"1 0", 1, false}, PuzzleAlphaCase{L"0 0", 1, true},
                                           PuzzleAlphaCase{L"0", 0, false}));

// Definitions the jigsaw cannot use as they stand: one log line naming the file and line each, a
// game that is made all the same and can be skipped.
struct BadPuzzleCase {
    char const* name;
    std::wstring definition;
    std::size_t logLines;
};
void PrintTo(BadPuzzleCase const& c, std::ostream* out) { *out << c.name; }

std::wstring manyPieces(int count) {
    std::wstring out;
    for (int i = 0; i < count; ++i) out += L"<PUZZLE_TEIL ANIMATION=\"MG_PUZZLE_1\"/>";
    return out;
}

class PuzzleBadInputTest : public minigametest::MinigameFixture, public ::testing::WithParamInterface<BadPuzzleCase> {};

TEST_P(PuzzleBadInputTest, OneLineNamingTheFileAndAGameThatCanBeSkipped) {
    logtest::LogWatch watch;
    define(L"<MINISPIEL TYPE=\"PUZZLE\" NAME=\"P\" " + GetParam().definition + L"</MINISPIEL>");
    std::size_t lines = 0;
    for (std::wstring const& line : watch.lines()) lines += logtest::contains(line, L"\"test.min\" at line 1");
    EXPECT_EQ(lines, GetParam().logLines);
    auto* game = dynamic_cast<Puzzle*>(begin(L"P"));
    ASSERT_NE(game, nullptr);
    skipFromHelp();
    expectSkipped();
}

INSTANTIATE_TEST_SUITE_P(
    Definitions, PuzzleBadInputTest,
    ::testing::Values(
        BadPuzzleCase{"no pieces", L">", 1},
        BadPuzzleCase{"reference 0", L"SIZE=\"0\"><PUZZLE_TEIL/>", 1},
        BadPuzzleCase{"infinite snap", L"MAX_DIST=\"inf\"><PUZZLE_TEIL/>", 1},
        BadPuzzleCase{"area not a number", L"INTI_POS=\"0 nan\"><PUZZLE_TEIL/>", 1},
        BadPuzzleCase{"far position", L"><PUZZLE_TEIL POSITION=\"1e300\"/>", 1},
        BadPuzzleCase{"unknown picture", L"><PUZZLE_TEIL ANIMATION=\"NONE\" GUI=\"NONE\"/>", 0},
        BadPuzzleCase{"too many pieces", L">" + manyPieces(static_cast<int>(Puzzle::kMaxPieces) + 1), 1}));

// A definition with a decoy and no place: no drop solves it (every drop asks whether all places
// are filled, and none is not all).
class PuzzleWithoutPlacesTest : public minigametest::MinigameFixture {};

TEST_F(PuzzleWithoutPlacesTest, ADroppedDecoyDoesNotSolveIt) {
    define(L"<MINISPIEL TYPE=\"PUZZLE\" NAME=\"P\" SIZE=\"512 512\" TIMER=\"0.1\">"
           L"<PUZZLE_TEIL_SINNLOS ANIMATION=\"MG_PUZZLE_FALSCH\" START_POSITION=\"100 100\"/></MINISPIEL>");
    auto* game = play<Puzzle>(L"P");
    ASSERT_NE(game, nullptr);
    ASSERT_EQ(game->getPieces().size(), 1u);
    Orvex::FRect const field = game->getField()->getScreenRect();
    D3DXVECTOR2 const from(field.left + 160.0f, field.top + 150.0f);
    drag(from, from + D3DXVECTOR2(40.0f, 30.0f));
    EXPECT_EQ(game->getHeldPiece(), nullptr);
    EXPECT_NEAR(game->getPieces()[0]->getSpriteRect().x, field.left + 140.0f, 0.01f);
    wait(0.5);
    EXPECT_FALSE(game->isFinished(false));
    EXPECT_EQ(log.count(L"ended"), 0u);
}

}  // namespace

namespace {

// The help screen lies over the shown game at its start: a drag there moves no piece beneath.
class PuzzleUnderTheHelpTest : public minigametest::MinigameFixture {};

TEST_F(PuzzleUnderTheHelpTest, ADragOnTheHelpScreenMovesNoPiece) {
    auto* game = dynamic_cast<Puzzle*>(begin(L"MINIGAME_7"));
    ASSERT_NE(game, nullptr);
    ASSERT_TRUE(manager().isHelpShown());
    keep("puzzle_hilfe");
    PuzzlePiece const* piece = game->getPieces()[3];
    D3DXVECTOR2 const before = piece->getPosition();
    D3DXVECTOR2 const middle = middleOf(Orvex::boundingRectOfSpriteRect(piece->getSpriteRect()));
    D3DXVECTOR2 const from(std::floor(middle.x), std::floor(middle.y));
    drag(from, from + D3DXVECTOR2(90.0f, -90.0f));
    EXPECT_EQ(game->getHeldPiece(), nullptr);
    EXPECT_EQ(piece->getPosition(), before);
    closeHelp();
    drag(from, from + D3DXVECTOR2(90.0f, -90.0f));
    EXPECT_NE(piece->getPosition(), before);
}

}  // namespace
