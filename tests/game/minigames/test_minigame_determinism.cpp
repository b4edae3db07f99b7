// Every game of the shipped data played to a win twice from the same seed of the runtime's
// generator (the deal's, which the games draw from): the same board as dealt and the same signals
// in the same order. The game object is made anew for each run, as it draws from the generator too.
#include <gtest/gtest.h>

#include <functional>

#include "engine/gui/GUICheckboxButton.h"
#include "engine/gui/GUIWindow.h"
#include "game/minigames/ClickInReihenfolge.h"
#include "game/minigames/MinispielManager.h"
#include "game/minigames/MinispielZuordnen.h"
#include "game/minigames/MinispielZuordnen2.h"
#include "game/minigames/ObjekteAnklicken.h"
#include "game/minigames/RichtigenPfadAnklicken.h"
#include "game/minigames/RichtigesSymbolAnklicken.h"
#include "game/minigames/UnterschiedeAnklicken.h"
#include "port/crt/crt.h"
#include "tests/game/minigames/MinigameFixture.h"

namespace {

using namespace Solitaire;

constexpr unsigned kDeterminismSeed = 20240611;

class MinigameDeterminismTest : public minigametest::MinigameFixture,
                                public ::testing::WithParamInterface<wchar_t const*> {
protected:
    struct Run {
        std::vector<std::wstring> signals;
        std::vector<uint32_t> picture;
    };

    Run playOnce() {
        TearDown();
        msvc::srand(kDeterminismSeed);
        SetUp();
        Minispiel* game = begin(GetParam());
        EXPECT_NE(game, nullptr);
        if (!game) return {};
        closeHelp();
        // The board as dealt: once won, the game flow leaves for the level screen.
        tick();
        Run run{log.lines, pixels()};
        win(*game);
        waitForTheEnd(*game);
        run.signals = log.lines;
        return run;
    }

    // The game won by input events at places read from its model.
    void win(Minispiel& game) {
        if (auto* sorting = dynamic_cast<MinispielZuordnen*>(&game)) {
            for (auto* item : sorting->getItems())
                drag(reachablePointOf(*item->window), middleOf(item->targets[0]->window->getScreenRect()));
            clickPart(L"ZUORDNEN_OK");
        } else if (auto* placing = dynamic_cast<MinispielZuordnen2*>(&game)) {
            for (auto* item : placing->getItems())
                drag(reachablePointOf(*item->window), middleOf(item->target->window->getScreenRect()));
        } else if (auto* objects = dynamic_cast<ObjekteAnklicken*>(&game)) {
            for (int round = 0; round < 10 && !objects->isFinished(false); ++round)
                click(middleOf(Orvex::boundingRectOfSpriteRect(objects->getObjects()[0]->getSpriteRect())));
        } else if (auto* differences = dynamic_cast<UnterschiedeAnklicken*>(&game)) {
            // The middle of each difference's picture lies on its object.
            for (auto const& part : differences->getParts()) click(middleOf(part->window->getScreenRect()));
        } else if (auto* symbols = dynamic_cast<RichtigesSymbolAnklicken*>(&game)) {
            for (auto* area : symbols->getAreas())
                if (area->right) click(middleOf(area->checkBox->getScreenRect()));
            clickPart(L"MS_RICHTIGES_SYMBOL_OK");
        } else if (auto* path = dynamic_cast<RichtigenPfadAnklicken*>(&game)) {
            for (auto* area : path->getAreas())
                if (area->right) click(middleOf(area->checkBox->getScreenRect()));
            clickPart(L"RICHTIGER_WEG_OK");
        } else if (auto* order = dynamic_cast<ClickInReihenfolge*>(&game)) {
            for (Orvex::GUIWindow* element : order->getElements()) click(middleOf(element->getScreenRect()));
        }
    }
};

TEST_P(MinigameDeterminismTest, TwoRunsFromOneSeedGiveTheSameSignalsAndPicture) {
    Run const first = playOnce();
    keep(std::string("gewonnen_") + std::string(GetParam(), GetParam() + std::wcslen(GetParam())));
    Run const second = playOnce();
    ASSERT_FALSE(first.signals.empty());
    EXPECT_EQ(first.signals, second.signals);
    EXPECT_EQ(log.count(L"ended"), 1u);
    expectWon();
    ASSERT_EQ(first.picture.size(), second.picture.size());
    EXPECT_TRUE(first.picture == second.picture);
}

INSTANTIATE_TEST_SUITE_P(Games, MinigameDeterminismTest,
                         ::testing::Values(L"MINIGAME_0", L"MINIGAME_1", L"MINIGAME_2", L"MINIGAME_3", L"MINIGAME_4",
                                           L"MINIGAME_5", L"MINIGAME_6"));

}  // namespace
