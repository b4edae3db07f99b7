// The picture games' fields as the player sees them: the turning-tiles and memory games draw
// their pictures with the field's alpha as a byte rounded as the engine's colours are (0.5 gives
// 0x80, not 0x7F), read back from the drawn frame; the memory game's cells take the proportions
// of its card pictures. Played on definitions of their own with a white card of 64 x 32
// (tests/game/minigames/data/tiles_test.ani).
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "engine/gui/GUIWindow.h"
#include "engine/render/SpriteRect.h"
#include "game/minigames/Drehbild.h"
#include "game/minigames/Memory.h"
#include "tests/game/minigames/MinigameFixture.h"

namespace {

using Solitaire::Drehbild;
using Solitaire::Memory;

std::wstring const kWhiteCard = L"<ANIMATIONEN FILE=\"tests\\game\\minigames\\data\\tiles_test.ani\"/>";
// The test card's proportions (64 x 32) and the shipped memory cards' (128 x 128).
constexpr float kWhiteCardAspect = 2.0f;

// Alphas whose bytes are not in doubt: 128.2 / 255 is 0x80 truncated or rounded, 127.2 / 255 0x7F.
constexpr double kByte80 = 128.2 / 255.0;
constexpr double kByte7F = 127.2 / 255.0;

struct AlphaCase {
    char const* name;
    std::wstring definition;
    wchar_t const* game;
};

void PrintTo(AlphaCase const& c, std::ostream* out) { *out << c.name; }

AlphaCase const kAlphaCases[] = {
    {"TurningTiles",
     L"<MINISPIEL TYPE=\"DREHBILD\" NAME=\"D\" LSG_TIME=\"60\" ANIMATION=\"TILES_TEST_WEISS\" SIZE=\"2 1\"/>", L"D"},
    {"Memory",
     L"<MINISPIEL TYPE=\"MEMORY\" NAME=\"M\" LSG_TIME=\"60\" SPALTEN=\"2\">"
     L"<MEMORY_TEIL ANIMATION=\"TILES_TEST_WEISS\" ANIMATION_BACK=\"TILES_TEST_WEISS\"/></MINISPIEL>",
     L"M"},
};

class FieldPictureAlpha : public minigametest::MinigameFixture, public ::testing::WithParamInterface<AlphaCase> {
protected:
    // The boxes the game draws its pictures into, unturned.
    std::vector<Orvex::SpriteRect> boxes() const {
        std::vector<Orvex::SpriteRect> out;
        if (auto* tiles = dynamic_cast<Drehbild*>(active()))
            for (auto const& tile : tiles->getTiles()) out.push_back(tiles->getTileRect(tile->part, 0.0f));
        if (auto* memory = dynamic_cast<Memory*>(active()))
            for (auto const& card : memory->getCards()) out.push_back(memory->getCardRect(card->cell));
        return out;
    }

    Orvex::GUIWindow* field() const {
        if (auto* tiles = dynamic_cast<Drehbild*>(active())) return tiles->getField();
        if (auto* memory = dynamic_cast<Memory*>(active())) return memory->getField();
        return nullptr;
    }

    // One frame drawn with the field at the alpha; the pixels of a grid in the middle of every box
    // (the middle half of its shorter side: inside the box however a tile is turned).
    std::vector<uint32_t> drawnWithFieldAlpha(double alpha) {
        field()->getDrawOptions().alpha = alpha;
        tick(true);
        EXPECT_DOUBLE_EQ(field()->getAccumulatedAlpha(), alpha);
        std::vector<uint32_t> const shot = pixels();
        std::vector<uint32_t> out;
        for (Orvex::SpriteRect const& box : boxes()) {
            float const half = std::min(box.w, box.h) / 4.0f;
            D3DXVECTOR2 const middle(box.x + box.w / 2.0f, box.y + box.h / 2.0f);
            for (int i = -2; i <= 2; ++i)
                for (int j = -2; j <= 2; ++j)
                    out.push_back(pixelAt(shot, middle + D3DXVECTOR2(half * static_cast<float>(i) / 2.0f,
                                                                     half * static_cast<float>(j) / 2.0f)));
        }
        return out;
    }
};

TEST_P(FieldPictureAlpha, HalfAlphaDrawsAsTheRoundedByte80) {
    AlphaCase const& c = GetParam();
    define(kWhiteCard + c.definition);
    ASSERT_NE(begin(c.game), nullptr);
    closeHelp();
    ASSERT_NE(field(), nullptr);
    ASSERT_FALSE(boxes().empty());
    ASSERT_DOUBLE_EQ(field()->getAccumulatedAlpha(), 1.0);

    std::vector<uint32_t> const at80 = drawnWithFieldAlpha(kByte80);
    std::vector<uint32_t> const at7F = drawnWithFieldAlpha(kByte7F);
    // One step of the alpha byte shows in these pixels, so the comparison below can tell.
    ASSERT_NE(at80, at7F);
    std::vector<uint32_t> const atHalf = drawnWithFieldAlpha(0.5);
    keep(std::string("field_alpha_half_") + c.name);
    EXPECT_EQ(atHalf, at80) << "0.5 is drawn as the alpha byte 0x7F";
}

INSTANTIATE_TEST_SUITE_P(Games, FieldPictureAlpha, ::testing::ValuesIn(kAlphaCases),
                         [](::testing::TestParamInfo<AlphaCase> const& info) { return std::string(info.param.name); });

// The memory field's proportions follow the first pair's pictures: its front, else its back.
struct AspectCase {
    char const* name;
    wchar_t const* pair;
    float cellAspect;
};

void PrintTo(AspectCase const& c, std::ostream* out) { *out << c.name; }

AspectCase const kAspectCases[] = {
    {"WideFront", L"ANIMATION=\"TILES_TEST_WEISS\" ANIMATION_BACK=\"TILES_MEMORY_RUECKSEITE\"", kWhiteCardAspect},
    {"SquareFrontWideBack", L"ANIMATION=\"TILES_MEMORY_SONNE\" ANIMATION_BACK=\"TILES_TEST_WEISS\"", 1.0f},
    {"WideBackWithoutFront", L"ANIMATION_BACK=\"TILES_TEST_WEISS\"", kWhiteCardAspect},
    {"NoPicture", L"", 1.0f},
};

class MemoryCellProportions : public minigametest::MinigameFixture,
                              public ::testing::WithParamInterface<AspectCase> {};

TEST_P(MemoryCellProportions, FollowTheFirstPairsPicture) {
    AspectCase const& c = GetParam();
    // Two pairs in three columns: two rows, the second one third full.
    define(kWhiteCard + L"<MINISPIEL TYPE=\"MEMORY\" NAME=\"M\" LSG_TIME=\"60\" SPALTEN=\"3\"><MEMORY_TEIL " +
           c.pair + L"/><MEMORY_TEIL ANIMATION=\"TILES_MEMORY_MOND\" ANIMATION_BACK=\"TILES_MEMORY_RUECKSEITE\"/>" +
           L"</MINISPIEL>");
    auto* game = play<Memory>(L"M");
    ASSERT_NE(game, nullptr);
    ASSERT_NE(game->getField(), nullptr);
    keep(std::string("memory_cells_") + c.name);
    Orvex::FRect const field = game->getField()->getScreenRect();
    float const width = field.right - field.left;
    float const height = field.bottom - field.top;
    ASSERT_GT(height, 0.0f);
    EXPECT_NEAR(width / height, 3.0f / 2.0f * c.cellAspect, 0.02f);
    for (auto const& card : game->getCards()) {
        Orvex::SpriteRect const box = game->getCardRect(card->cell);
        EXPECT_NEAR(box.w / box.h, c.cellAspect, 0.02f);
    }
}

INSTANTIATE_TEST_SUITE_P(Pairs, MemoryCellProportions, ::testing::ValuesIn(kAspectCases),
                         [](::testing::TestParamInfo<AspectCase> const& info) { return std::string(info.param.name); });

}  // namespace
