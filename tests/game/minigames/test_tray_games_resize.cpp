// The sorting and the placing game keep their items inside the work window when the screen
// changes size: an item the player dragged to the work window's corner keeps its place in pixels,
// so a smaller screen would leave it outside, where it could neither be seen whole nor reached.
// Played on the shipped games: an item dragged to the corner, then the display mode changed (as
// the options screen changes it) to a smaller and back to the first size.
#include <gtest/gtest.h>

#include <ostream>

#include "engine/gui/GUIWindow.h"
#include "engine/platform/D3DInterface.h"
#include "game/minigames/MinispielZuordnen.h"
#include "game/minigames/MinispielZuordnen2.h"
#include "tests/game/minigames/MinigameFixture.h"

namespace {

using minigametest::MinigameFixture;

// The sizes the screen changes to: smaller than the fixture's 1024 x 768 on both axes, then back.
constexpr unsigned kSmallWidth = 800;
constexpr unsigned kSmallHeight = 600;
// How far inside the work window's corner the item is dropped.
constexpr float kCornerInset = 4.0f;

struct ResizeCase {
    char const* name;
    wchar_t const* game;
};

void PrintTo(ResizeCase const& c, std::ostream* out) { *out << c.name; }

ResizeCase const kResizeCases[] = {
    {"Sorting", L"MINIGAME_0"},
    {"Placing", L"MINIGAME_1"},
};

class TrayGameResize : public MinigameFixture, public ::testing::WithParamInterface<ResizeCase> {
protected:
    void TearDown() override {
        setScreen(kScreenWidth, kScreenHeight);
        MinigameFixture::TearDown();
    }

    static void setScreen(unsigned width, unsigned height) {
        Orvex::D3DInterface& d3d = Orvex::D3DInterface::getInstance();
        D3DDISPLAYMODE mode = d3d.getDisplayMode();
        mode.Width = width;
        mode.Height = height;
        ASSERT_TRUE(d3d.setDisplayMode(mode, false, false));
    }

    // The item windows of the active game and its work window.
    void itemsAndWork(std::vector<Orvex::GUIWindow*>& items, Orvex::GUIWindow*& work) const {
        items.clear();
        work = nullptr;
        if (auto* sorting = dynamic_cast<Solitaire::MinispielZuordnen*>(active())) {
            for (auto* item : sorting->getItems()) items.push_back(item->window.get());
            work = sorting->getWorkWindow();
        } else if (auto* placing = dynamic_cast<Solitaire::MinispielZuordnen2*>(active())) {
            for (auto* item : placing->getItems()) items.push_back(item->window.get());
            work = placing->getWorkWindow();
        }
    }

    void expectItemsInside(char const* when) const {
        std::vector<Orvex::GUIWindow*> items;
        Orvex::GUIWindow* work = nullptr;
        itemsAndWork(items, work);
        ASSERT_NE(work, nullptr);
        Orvex::FRect const bounds = work->getScreenRect();
        constexpr float kSlack = 0.5f;
        for (std::size_t i = 0; i < items.size(); ++i) {
            Orvex::FRect const r = items[i]->getScreenRect();
            EXPECT_TRUE(r.left >= bounds.left - kSlack && r.right <= bounds.right + kSlack &&
                        r.top >= bounds.top - kSlack && r.bottom <= bounds.bottom + kSlack)
                << when << ": item " << i << " at " << r.left << "," << r.top << " - " << r.right << ","
                << r.bottom << " outside the work window " << bounds.left << "," << bounds.top << " - "
                << bounds.right << "," << bounds.bottom;
        }
    }
};

TEST_P(TrayGameResize, ItemsStayInsideTheWorkWindowWhenTheScreenChangesSize) {
    ResizeCase const& c = GetParam();
    ASSERT_NE(begin(c.game), nullptr);
    closeHelp();
    std::vector<Orvex::GUIWindow*> items;
    Orvex::GUIWindow* work = nullptr;
    itemsAndWork(items, work);
    ASSERT_NE(work, nullptr);
    ASSERT_FALSE(items.empty());

    // The first item to the work window's bottom right corner.
    Orvex::GUIWindow& item = *items.front();
    Orvex::FRect const bounds = work->getScreenRect();
    Orvex::FRect const from = item.getScreenRect();
    D3DXVECTOR2 const grip = reachablePointOf(item);
    D3DXVECTOR2 const to(grip.x + (bounds.right - kCornerInset - from.right),
                         grip.y + (bounds.bottom - kCornerInset - from.bottom));
    drag(grip, to);
    ticks(kSettleFrames, false);
    keep(std::string("resize_") + c.name + "_1024");
    expectItemsInside("after the drag");

    setScreen(kSmallWidth, kSmallHeight);
    ticks(kSettleFrames, false);
    tick(true);
    keep(std::string("resize_") + c.name + "_800");
    expectItemsInside("at 800 x 600");

    setScreen(kScreenWidth, kScreenHeight);
    ticks(kSettleFrames, false);
    tick(true);
    expectItemsInside("back at 1024 x 768");
}

INSTANTIATE_TEST_SUITE_P(Games, TrayGameResize, ::testing::ValuesIn(kResizeCases),
                         [](::testing::TestParamInfo<ResizeCase> const& info) { return std::string(info.param.name); });

}  // namespace
