// Data files naming one frame animation of the most frames many times, or holding many such
// animations: the game starts on a copy of its data with one such file and reaches the main menu,
// holding far less than the copies would take (each copy of 16,384 frames held 1.7 MB, so the 256
// mentions of each case took about 440 MB). Copies share the frames; lists and files that hold
// more frames than their budget build fewer, with one line naming the file.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "engine/core/Logger.h"
#include "engine/gui/GUIMenuManagerN.h"
#include "engine/gui/GUIMenuN.h"
#include "engine/render/Texture2DAnimation.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/game/app/GameFixture.h"
#include "tests/support/HeapBytes.h"
#include "tests/support/TestSupport.h"

namespace {

namespace fs = std::filesystem;
using apptest::GameFixture;

constexpr int kMentions = 256;
// What the start may hold beyond what was held before it: the shipped start and the budgets of
// frames, with room to spare, and less than a third of what the copies took.
constexpr std::size_t kHeldAtMost = std::size_t{160} << 20;

// count animations "<prefix>i" of the most frames (one textureless frame repeated by the order).
std::string bigAnimations(std::string const& prefix, int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "<ANIMATION_2D NAME=\"" + prefix + std::to_string(i) + "\"><FRAME FRAME_SIZE=\"4 4\"/><ORDER>\"|" +
                std::to_string(Orvex::Texture2DAnimation::kMaxFrames) + " x 0|\"</ORDER></ANIMATION_2D>\r\n";
    return text;
}

// The file below the stage with addition put after (or before) the first marker.
void edit(fs::path const& file, std::string const& marker, std::string const& addition, bool before = false) {
    std::string text = testsupport::readFile(file);
    std::size_t const at = text.find(marker);
    ASSERT_NE(at, std::string::npos) << file << ": " << marker;
    text.insert(before ? at : at + marker.size(), addition);
    testsupport::writeFile(file, text);
}

// "data\gross.ani": the one animation "GROSS0".
void writeBigList(fs::path const& stage) {
    testsupport::writeFile(stage / "data" / "gross.ani", "<LISTE>" + bigAnimations("GROSS", 1) + "</LISTE>");
}

// Eight lists "data\grossI.ani" of 32 animations "GI_J" each: the frames of four lists fill a
// file's budget. Returns the elements naming them.
std::string writeBigLists(fs::path const& stage) {
    std::string lists;
    for (int i = 0; i < 8; ++i) {
        std::string const file = "gross" + std::to_string(i) + ".ani";
        testsupport::writeFile(stage / "data" / file,
                               "<LISTE>" + bigAnimations("G" + std::to_string(i) + "_", kMentions / 8) + "</LISTE>");
        lists += "<ANIMATIONEN FILE=\"data\\" + file + "\"/>";
    }
    return lists;
}

struct BigCase {
    char const* name;
    std::function<void(fs::path const&)> make;
    // The big animation the registry holds after the start.
    wchar_t const* animation;
    // The file whose budget is reached (named in one line), or none.
    wchar_t const* budgetFile;
};

void PrintTo(BigCase const& big, std::ostream* out) { *out << big.name; }

std::vector<BigCase> bigCases() {
    return {
        // A story scene of 256 elements naming the animation.
        {"story",
         [](fs::path const& stage) {
             writeBigList(stage);
             edit(stage / "data/Story/Story.str", "<ANIMATIONEN_FILE FILE=\"data\\Story\\story.ani\"/>",
                  "<ANIMATIONEN_FILE FILE=\"data\\gross.ani\"/>");
             std::string scene = "<STORY_PART NAME=\"GROSS\"><SWITCH/>";
             for (int i = 0; i < kMentions; ++i)
                 scene += "<PART_PART NAME=\"E" + std::to_string(i) + "\" ANIMATION=\"GROSS0\"/>";
             edit(stage / "data/Story/Story.str", "</STORY>", scene + "</STORY_PART>", true);
         },
         L"GROSS0", nullptr},
        // The start screen's GUI file with 64 windows naming it in their four animation slots.
        {"gui_file",
         [](fs::path const& stage) {
             writeBigList(stage);
             std::string windows = "<ANIMATION FILE=\"data\\gross.ani\"/>";
             for (int i = 0; i < kMentions / 4; ++i)
                 windows += "<WINDOW NAME=\"GROSS_W" + std::to_string(i) +
                            "\"><WINDOW_PARAMS><DRAWOPTIONS ANI_NORMAL=\"GROSS0\" ANI_MARK=\"GROSS0\" "
                            "ANI_BACKGROUND=\"GROSS0\" ANI_FOREGROUND=\"GROSS0\"/></WINDOW_PARAMS></WINDOW>";
             edit(stage / "data/GUI/Startmenu.gui", "<GUI>", windows);
         },
         L"GROSS0", nullptr},
        // A shipped animation list with 256 such animations more.
        {"list",
         [](fs::path const& stage) {
             edit(stage / "data/Menu/ingame.ani", "</ANIMATIONS>", bigAnimations("GROSS", kMentions), true);
         },
         L"GROSS0", L"ingame.ani"},
        // The mini-game definitions naming eight lists of 32 such animations.
        {"minigames",
         [](fs::path const& stage) {
             edit(stage / "data/Games/minigames.min", "<ANIMATIONEN FILE=\"data\\Games\\minigames.ani\"/>",
                  writeBigLists(stage));
         },
         L"G0_0", L"minigames.min"},
        // The table's particle file naming them. (Its templates hold no copy: a live particle
        // does, ParticleTest.LiveParticlesShareTheirAnimationsFrames.)
        {"particles",
         [](fs::path const& stage) {
             edit(stage / "data/Partikel.par", "<ANIMATIONEN FILE=\"data\\Particles\\partikel.ani\"/>",
                  writeBigLists(stage));
         },
         L"G0_0", L"Partikel.par"},
    };
}

class GameBigAnimationsTest : public GameFixture, public ::testing::WithParamInterface<BigCase> {
protected:
    void SetUp() override {
        stage = testsupport::makeTempDir("big_animations");
        fs::copy(testsupport::sourceDir() / "data", stage / "data", fs::copy_options::recursive);
        GetParam().make(stage);
        if (HasFatalFailure()) return;
        withStory = true;
        watch.emplace();
        heldBefore = testsupport::heapBytes();
        startOn(stage, 640, 480);
    }
    void TearDown() override {
        GameFixture::TearDown();
        fs::remove_all(stage);
    }

    fs::path stage;
    std::optional<logtest::LogWatch> watch;
    std::size_t heldBefore = 0;
};

TEST_P(GameBigAnimationsTest, StartsWithinTheFrameBudget) {
    BigCase const& big = GetParam();
    ASSERT_TRUE(game && game->isFullyConstructed());
    Orvex::Texture2DAnimation* animation = Orvex::Texture2DAnimationManager::instance().findAnimation(big.animation);
    ASSERT_NE(animation, nullptr);
    EXPECT_EQ(animation->getFrameCount(), Orvex::Texture2DAnimation::kMaxFrames);

    leaveStartScreen();
    for (int i = 0; i < 10; ++i) {
        step(1.0 / 60);
        game->draw();
    }
    EXPECT_TRUE(Orvex::GUIMenuManagerN::instance().findMenu(L"HAUPTMENU")->isActive());
    std::size_t const held = testsupport::heapBytes() - std::min(heldBefore, testsupport::heapBytes());
    EXPECT_LT(held, kHeldAtMost) << big.name << ": " << (held >> 20) << " MB";
    RecordProperty("held_MB", static_cast<int>(held >> 20));

    // Only a budget reached is logged, once, naming its file.
    std::size_t reached = 0;
    std::size_t named = 0;
    for (std::wstring const& line : watch->lines()) {
        if (!logtest::contains(line, L"reached the budget")) continue;
        ++reached;
        named += big.budgetFile && logtest::contains(line, L"\\" + std::wstring(big.budgetFile) + L"\"");
    }
    if (big.budgetFile)
        EXPECT_EQ(named, 1u);
    else
        EXPECT_EQ(reached, 0u);
}

INSTANTIATE_TEST_SUITE_P(Files, GameBigAnimationsTest, ::testing::ValuesIn(bigCases()),
                         [](::testing::TestParamInfo<BigCase> const& info) { return std::string(info.param.name); });

}  // namespace
