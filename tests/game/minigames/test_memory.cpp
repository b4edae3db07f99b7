// The memory game on the shipped data ("MINIGAME_15": sun, moon and a star whose second card shows
// its outline, in three columns) played by clicks, and on definitions of its own: the grid, a
// wrong pair turned back by time or by the next click, found cards, bad keys.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/gui/GUIWindow.h"
#include "game/minigames/Memory.h"
#include "game/minigames/MinispielManager.h"
#include "port/crt/crt.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/game/minigames/MinigameFixture.h"

namespace {

using Solitaire::Memory;
using Card = Memory::Teil;

constexpr unsigned kMemorySeed = 1915;

class MemoryTest : public minigametest::MinigameFixture {
protected:
    D3DXVECTOR2 middleOf(Memory const& game, Card const& card) const {
        Orvex::SpriteRect const box = game.getCardRect(card.cell);
        return D3DXVECTOR2(std::floor(box.x + box.w / 2), std::floor(box.y + box.h / 2));
    }
    void clickCard(Memory const& game, std::size_t index) { click(middleOf(game, *game.getCards()[index])); }

    // The other card of the pair of card i.
    static std::size_t partnerOf(Memory const& game, std::size_t i) {
        auto const& cards = game.getCards();
        for (std::size_t j = 0; j < cards.size(); ++j)
            if (j != i && cards[j]->pairId == cards[i]->pairId) return j;
        return i;
    }
    // A card of another pair than card i.
    static std::size_t strangerTo(Memory const& game, std::size_t i) {
        auto const& cards = game.getCards();
        for (std::size_t j = 0; j < cards.size(); ++j)
            if (cards[j]->pairId != cards[i]->pairId) return j;
        return i;
    }

    void win(Memory& game) {
        std::size_t const count = game.getCards().size();
        for (std::size_t i = 0; i < count; ++i) {
            if (game.getCards()[i]->faceUp) continue;
            clickCard(game, i);
            clickCard(game, partnerOf(game, i));
        }
    }

    Memory* playShipped() {
        msvc::srand(kMemorySeed);
        return play<Memory>(L"MINIGAME_15");
    }

    Memory* playOwn(int pairs, std::wstring const& keys = L"") {
        std::wstring games = L"<MINISPIEL TYPE=\"MEMORY\" NAME=\"M\" LSG_TIME=\"60\" TIMER=\"1\" " + keys + L">";
        wchar_t const* fronts[] = {L"TILES_MEMORY_SONNE", L"TILES_MEMORY_MOND", L"TILES_MEMORY_STERN"};
        for (int i = 0; i < pairs; ++i)
            games += std::wstring(L"<MEMORY_TEIL ANIMATION=\"") + fronts[i % 3] +
                     L"\" ANIMATION_BACK=\"TILES_MEMORY_RUECKSEITE\"/>";
        define(games + L"</MINISPIEL>");
        msvc::srand(kMemorySeed);
        return play<Memory>(L"M");
    }
};

TEST_F(MemoryTest, WonByFindingEveryPair) {
    Memory* game = playShipped();
    ASSERT_NE(game, nullptr);
    ASSERT_EQ(game->getCards().size(), 6u);
    EXPECT_EQ(game->getColumns(), 3);
    EXPECT_EQ(game->getRows(), 2);
    keep("memory_start");
    clickCard(*game, 0);
    clickCard(*game, partnerOf(*game, 0));
    keep("memory_mitte");
    EXPECT_EQ(log.count(L"move"), 1u);
    EXPECT_EQ(game->getUnfound().size(), 4u);
    win(*game);
    EXPECT_TRUE(game->isFinished(false));
    EXPECT_EQ(log.count(L"move"), 3u);
    EXPECT_EQ(log.count(L"wrong"), 0u);
    keep("memory_geloest");
    waitForTheEnd(*game);
    expectWon();
}

TEST_F(MemoryTest, ThePairWithASecondPictureShowsBothAndMatches) {
    Memory* game = playShipped();
    ASSERT_NE(game, nullptr);
    std::size_t star = 0;
    while (star < 6 && !game->getCards()[star]->secondFront) ++star;
    ASSERT_LT(star, 6u);
    std::size_t const first = game->getCards()[star]->secondFace ? partnerOf(*game, star) : star;
    std::size_t const second = partnerOf(*game, first);
    clickCard(*game, first);
    clickCard(*game, second);
    EXPECT_EQ(log.count(L"move"), 1u);
    std::vector<uint32_t> const shot = pixels();
    // The first card shows the filled red star, the second its outline on the light card.
    uint32_t const filled = pixelAt(shot, middleOf(*game, *game->getCards()[first]));
    uint32_t const outline = pixelAt(shot, middleOf(*game, *game->getCards()[second]));
    EXPECT_GT((filled >> 16) & 0xFF, ((filled >> 8) & 0xFF) + 80) << std::hex << filled;
    EXPECT_GT((outline >> 8) & 0xFF, 200u) << std::hex << outline;
}

TEST_F(MemoryTest, LostWhenTheTimeRunsOut) {
    ASSERT_NE(playShipped(), nullptr);
    loseByTime();
    expectSkipped();
}

TEST_F(MemoryTest, TheCancelButtonClosesTheGame) {
    ASSERT_NE(playShipped(), nullptr);
    clickPart(L"MEMORY_CANCEL");
    EXPECT_EQ(log.count(L"closed"), 1u);
}

TEST_F(MemoryTest, TwoRunsFromOneSeedGiveTheSameSignalsAndPicture) {
    auto run = [&](std::vector<std::wstring>& signals, std::vector<uint32_t>& picture) {
        TearDown();
        SetUp();
        Memory* game = playShipped();
        ASSERT_NE(game, nullptr);
        clickCard(*game, 0);
        clickCard(*game, strangerTo(*game, 0));
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

TEST_F(MemoryTest, SixCardsInFourColumnsTakeTwoRows) {
    Memory* game = playOwn(3, L"SPALTEN=\"4\"");
    ASSERT_NE(game, nullptr);
    EXPECT_EQ(game->getRows(), 2);
    auto const& cards = game->getCards();
    ASSERT_EQ(cards.size(), 6u);
    for (std::size_t i = 0; i < cards.size(); ++i) {
        EXPECT_FLOAT_EQ(cards[i]->cell.left, static_cast<float>(i % 4) / 4.0f) << i;
        EXPECT_FLOAT_EQ(cards[i]->cell.top, static_cast<float>(i / 4) / 2.0f) << i;
    }
    // Square cells: the field is twice as wide as high.
    Orvex::FRect const field = game->getField()->getScreenRect();
    EXPECT_NEAR((field.right - field.left) / (field.bottom - field.top), 2.0f, 0.01f);
    // The empty half of the second row takes no card.
    click(D3DXVECTOR2(std::floor(field.left + 0.875f * (field.right - field.left)),
                      std::floor(field.top + 0.75f * (field.bottom - field.top))));
    EXPECT_EQ(game->getFirst(), nullptr);
}

TEST_F(MemoryTest, AWrongPairTurnsBackAfterTwoSeconds) {
    Memory* game = playOwn(3);
    ASSERT_NE(game, nullptr);
    std::size_t const other = strangerTo(*game, 0);
    clickCard(*game, 0);
    clickCard(*game, other);
    EXPECT_EQ(log.count(L"wrong"), 1u);
    EXPECT_TRUE(game->getCards()[0]->faceUp);
    EXPECT_TRUE(game->getCards()[other]->faceUp);
    wait(Memory::kWrongPairTime - 0.2);
    EXPECT_TRUE(game->getCards()[0]->faceUp);
    wait(0.25);
    EXPECT_FALSE(game->getCards()[0]->faceUp);
    EXPECT_FALSE(game->getCards()[other]->faceUp);
    EXPECT_EQ(game->getFirst(), nullptr);
    EXPECT_EQ(game->getSecond(), nullptr);
}

TEST_F(MemoryTest, AThirdClickTurnsTheWrongPairBackAndStartsTheNextTry) {
    Memory* game = playOwn(3);
    ASSERT_NE(game, nullptr);
    std::size_t const other = strangerTo(*game, 0);
    std::size_t third = 0;
    while (third == 0 || third == other) ++third;
    clickCard(*game, 0);
    clickCard(*game, other);
    clickCard(*game, third);
    EXPECT_FALSE(game->getCards()[0]->faceUp);
    EXPECT_FALSE(game->getCards()[other]->faceUp);
    EXPECT_TRUE(game->getCards()[third]->faceUp);
    EXPECT_EQ(game->getFirst(), game->getCards()[third].get());
    // The third card's partner completes the pair.
    clickCard(*game, partnerOf(*game, third));
    EXPECT_EQ(log.count(L"move"), 1u);
}

TEST_F(MemoryTest, TheFirstCardAgainAndFoundCardsDoNothing) {
    Memory* game = playOwn(2);
    ASSERT_NE(game, nullptr);
    clickCard(*game, 0);
    clickCard(*game, 0);
    EXPECT_EQ(game->getFirst(), game->getCards()[0].get());
    EXPECT_EQ(game->getSecond(), nullptr);
    std::size_t const partner = partnerOf(*game, 0);
    clickCard(*game, partner);
    ASSERT_EQ(log.count(L"move"), 1u);
    // Found: face up, and a click on them starts nothing.
    clickCard(*game, 0);
    clickCard(*game, partner);
    EXPECT_EQ(game->getFirst(), nullptr);
    EXPECT_TRUE(game->getCards()[0]->faceUp);
    EXPECT_TRUE(game->getCards()[partner]->faceUp);
    EXPECT_EQ(game->getUnfound().size(), 2u);
}

TEST_F(MemoryTest, WithOneTemplateTheOnePairSolves) {
    Memory* game = playOwn(1, L"SPALTEN=\"2\"");
    ASSERT_NE(game, nullptr);
    clickCard(*game, 0);
    clickCard(*game, 1);
    EXPECT_TRUE(game->isFinished(false));
    // Solved: clicks are ignored.
    click(middleOf(*game, *game->getCards()[0]));
    EXPECT_EQ(game->getFirst(), nullptr);
    waitForTheEnd(*game);
    expectWon();
}

TEST_F(MemoryTest, PairIdsCountOverEveryTemplateRead) {
    Memory* game = playOwn(2);
    ASSERT_NE(game, nullptr);
    std::vector<int> ids;
    for (auto const& card : game->getCards()) ids.push_back(card->pairId);
    std::sort(ids.begin(), ids.end());
    ASSERT_EQ(ids.size(), 4u);
    EXPECT_EQ(ids[0], ids[1]);
    EXPECT_EQ(ids[2], ids[0] + 1);
    EXPECT_EQ(ids[3], ids[2]);
    // A second reading gives new numbers.
    Memory* again = playOwn(2);
    ASSERT_NE(again, nullptr);
    int lowest = again->getCards()[0]->pairId;
    for (auto const& card : again->getCards()) lowest = std::min(lowest, card->pairId);
    EXPECT_GT(lowest, ids[3]);
}

// Bad keys: one log line naming the file and line; a game without pairs cannot be played but can
// be skipped.
struct MemoryBadKeyCase {
    wchar_t const* keys;
    int pairs;
    bool playable;
    int columns;
    std::size_t logLines;
};
void PrintTo(MemoryBadKeyCase const& c, std::ostream* out) { *out << minigametest::narrow(c.keys) << " " << c.pairs; }

class MemoryBadKeyTest : public MemoryTest, public ::testing::WithParamInterface<MemoryBadKeyCase> {};

TEST_P(MemoryBadKeyTest, IsRefusedWithOneLineAndTheGameCanStillBeSkipped) {
    logtest::LogWatch watch;
    std::wstring games = std::wstring(L"<MINISPIEL TYPE=\"MEMORY\" NAME=\"M\" ") + GetParam().keys + L">";
    for (int i = 0; i < GetParam().pairs; ++i) games += L"<MEMORY_TEIL ANIMATION=\"KEIN_BILD\"/>";
    define(games + L"</MINISPIEL>");
    std::size_t lines = 0;
    for (std::wstring const& line : watch.lines()) lines += logtest::contains(line, L"test.min\" at line 1");
    EXPECT_EQ(lines, GetParam().logLines);
    auto* game = dynamic_cast<Memory*>(manager().findMinispiel(L"M"));
    ASSERT_NE(game, nullptr);
    EXPECT_EQ(game->isPlayable(), GetParam().playable);
    EXPECT_EQ(game->getColumns(), GetParam().columns);
    EXPECT_EQ(game->getWindow() != nullptr, GetParam().playable);
    ASSERT_EQ(begin(L"M"), game);
    if (GetParam().playable) {
        // Cards without pictures are not drawn but can be clicked; then the help again, to skip.
        closeHelp();
        click(middleOf(*game, *game->getCards()[0]));
        EXPECT_EQ(game->getFirst(), game->getCards()[0].get());
        clickPart(L"MEMORY_HILFE");
        ticks(kSettleFrames);
    }
    skipFromHelp();
    ticks(2);
    expectSkipped();
}

INSTANTIATE_TEST_SUITE_P(Keys, MemoryBadKeyTest,
                         ::testing::Values(MemoryBadKeyCase{L"", 0, false, 1, 1}, MemoryBadKeyCase{L"SPALTEN=\"3\"", 0, false, 3, 1},
                                           MemoryBadKeyCase{L"SPALTEN=\"0\"", 2, true, 1, 1},
                                           MemoryBadKeyCase{L"SPALTEN=\"-5\"", 2, true, 1, 1},
                                           MemoryBadKeyCase{L"SPALTEN=\"100000\"", 2, true, Memory::kMaxColumns, 1},
                                           MemoryBadKeyCase{L"SPALTEN=\"2\"", 2, true, 2, 0}));

}  // namespace
