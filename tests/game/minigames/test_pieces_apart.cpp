// The games whose pieces lie scattered at their start, on the shipped data: the sorting and the
// placing games' trays ("MINIGAME_0", "MINIGAME_1"), the jigsaw ("MINIGAME_7") and the building
// game ("MINIGAME_13"), each dealt from several seeds of the runtime's generator as the game flow
// activates it. No piece covers another; the building game's pieces lie beside the board and the
// jigsaw's beside the frame and its places; and a press where the player sees a piece takes that
// piece (the press reaches it, not one lying over it).
//
// Screenshots: "pieces_apart_<game>.png" in the build folder's "screenshots".
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/render/SpriteRect.h"
#include "game/minigames/ApartPlacer.h"
#include "game/minigames/Bauen.h"
#include "game/minigames/MinispielZuordnen.h"
#include "game/minigames/MinispielZuordnen2.h"
#include "game/minigames/Puzzle.h"
#include "port/crt/crt.h"
#include "tests/game/minigames/MinigameFixture.h"

namespace {

using Solitaire::ApartPlacer;
using Solitaire::Bauen;
using Solitaire::Puzzle;

constexpr unsigned kSeeds[] = {1, 7, 42, 1916, 31337, 65521};

// One piece as the player sees it: which it is, its rectangle on the screen and a point of it
// to press.
struct ShownPiece {
    void const* id;
    Orvex::FRect rect;
    D3DXVECTOR2 point;
};

Orvex::FRect boundsOf(Orvex::SpriteRect const& r) { return Orvex::FRect(r.x, r.y, r.x + r.w, r.y + r.h); }
D3DXVECTOR2 middle(Orvex::FRect const& r) {
    return D3DXVECTOR2(std::floor((r.left + r.right) / 2.0f), std::floor((r.top + r.bottom) / 2.0f));
}

// The tray items: their windows, pressed in the middle.
template <class Game>
std::vector<ShownPiece> trayItems(Solitaire::Minispiel& g) {
    std::vector<ShownPiece> out;
    for (auto* item : dynamic_cast<Game&>(g).getItems()) {
        Orvex::FRect const r = item->window->getScreenRect();
        out.push_back({item, r, middle(r)});
    }
    return out;
}

std::vector<ShownPiece> puzzlePieces(Solitaire::Minispiel& g) {
    std::vector<ShownPiece> out;
    for (Puzzle::PuzzleTeil* piece : dynamic_cast<Puzzle&>(g).getPieces()) {
        Orvex::FRect const r = boundsOf(piece->getSpriteRect());
        out.push_back({piece, r, middle(r)});
    }
    return out;
}

std::vector<Orvex::FRect> puzzlePlaces(Solitaire::Minispiel& g) {
    std::vector<Orvex::FRect> out;
    auto& game = dynamic_cast<Puzzle&>(g);
    for (Puzzle::PuzzleTeil* place : game.getTargets()) out.push_back(boundsOf(place->getSpriteRect()));
    for (Puzzle::PuzzleTeil* frame : game.getFixedPieces()) out.push_back(boundsOf(frame->getSpriteRect()));
    return out;
}

// The building pieces, each pressed in the first filled quarter of its first filled cell.
std::vector<ShownPiece> buildingPieces(Solitaire::Minispiel& g) {
    auto& game = dynamic_cast<Bauen&>(g);
    std::vector<ShownPiece> out;
    for (auto const& piece : game.getPieces()) {
        D3DXVECTOR2 point(0.0f, 0.0f);
        for (int i = 0; i < piece->columns * piece->rows; ++i) {
            int const mask = piece->cells[static_cast<std::size_t>(i)];
            if (!mask) continue;
            Orvex::FRect const cell = boundsOf(game.getCellRect(*piece, i % piece->columns, i / piece->columns));
            // Top, right, bottom, left: a point well inside that quarter.
            D3DXVECTOR2 const inQuarter = mask & 1 ? D3DXVECTOR2(0.5f, 0.2f)
                                          : mask & 2 ? D3DXVECTOR2(0.8f, 0.5f)
                                          : mask & 4 ? D3DXVECTOR2(0.5f, 0.8f)
                                                     : D3DXVECTOR2(0.2f, 0.5f);
            point = D3DXVECTOR2(std::floor(cell.left + inQuarter.x * cell.getWidth()),
                                std::floor(cell.top + inQuarter.y * cell.getHeight()));
            break;
        }
        out.push_back({piece.get(), boundsOf(game.getBoxRect(*piece)), point});
    }
    return out;
}

std::vector<Orvex::FRect> buildingBoard(Solitaire::Minispiel& g) {
    auto& game = dynamic_cast<Bauen&>(g);
    return {boundsOf(game.getBoxRect(game.getOrigin(), game.getBoardColumns(), game.getBoardRows()))};
}

std::vector<Orvex::FRect> nothingKeptClear(Solitaire::Minispiel&) { return {}; }

struct Case {
    wchar_t const* game;
    std::vector<ShownPiece> (*pieces)(Solitaire::Minispiel&);
    // Screen rectangles no piece may cover at the start.
    std::vector<Orvex::FRect> (*keptClear)(Solitaire::Minispiel&);
};
void PrintTo(Case const& c, std::ostream* out) { *out << minigametest::narrow(c.game); }

class PiecesApartTest : public minigametest::MinigameFixture, public ::testing::WithParamInterface<Case> {
protected:
    // The game made active from a fresh game object after srand(seed), its help closed.
    Solitaire::Minispiel* deal(unsigned seed) {
        TearDown();
        msvc::srand(seed);
        SetUp();
        Solitaire::Minispiel* game = begin(GetParam().game);
        if (game) closeHelp();
        return game;
    }

    static ShownPiece const* find(std::vector<ShownPiece> const& pieces, void const* id) {
        for (ShownPiece const& piece : pieces)
            if (piece.id == id) return &piece;
        return nullptr;
    }
};

TEST_P(PiecesApartTest, StartApartAndEachIsTakenWhereItIsSeen) {
    constexpr float kNudge = 6.0f;
    for (unsigned seed : kSeeds) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Solitaire::Minispiel* game = deal(seed);
        ASSERT_NE(game, nullptr);
        std::vector<ShownPiece> const pieces = GetParam().pieces(*game);
        ASSERT_GE(pieces.size(), 3u);
        if (seed == kSeeds[0]) keep("pieces_apart_" + minigametest::narrow(GetParam().game));
        for (std::size_t i = 0; i < pieces.size(); ++i)
            for (std::size_t j = i + 1; j < pieces.size(); ++j)
                EXPECT_LE(ApartPlacer::overlapArea(pieces[i].rect, pieces[j].rect), 0.5f) << "pieces " << i << " and " << j;
        for (Orvex::FRect const& place : GetParam().keptClear(*game))
            for (std::size_t i = 0; i < pieces.size(); ++i)
                EXPECT_LE(ApartPlacer::overlapArea(pieces[i].rect, place), 0.5f) << "piece " << i << " covers a place";
        // Each piece dragged a little from where it is seen: that piece moves, no other.
        for (ShownPiece const& piece : pieces) {
            std::vector<ShownPiece> const before = GetParam().pieces(*game);
            ShownPiece const* seen = find(before, piece.id);
            ASSERT_NE(seen, nullptr);
            // Towards the screen's middle: a piece at the field's edge cannot go further out.
            D3DXVECTOR2 const towards(seen->point.x < width / 2.0f ? kNudge : -kNudge,
                                      seen->point.y < height / 2.0f ? kNudge : -kNudge);
            drag(seen->point, seen->point + towards, 3);
            std::vector<ShownPiece> const after = GetParam().pieces(*game);
            for (ShownPiece const& was : before) {
                ShownPiece const* now = find(after, was.id);
                ASSERT_NE(now, nullptr);
                bool const moved = now->rect.left != was.rect.left || now->rect.top != was.rect.top;
                EXPECT_EQ(moved, was.id == piece.id) << "dragging one piece moved " << (moved ? "this one" : "not it");
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Games, PiecesApartTest,
                         ::testing::Values(Case{L"MINIGAME_0", trayItems<Solitaire::MinispielZuordnen>, nothingKeptClear},
                                           Case{L"MINIGAME_1", trayItems<Solitaire::MinispielZuordnen2>, nothingKeptClear},
                                           Case{L"MINIGAME_7", puzzlePieces, puzzlePlaces},
                                           Case{L"MINIGAME_13", buildingPieces, buildingBoard}));

}  // namespace
