// The frame budget of animation lists and of the files that name them: an animation list of
// animations of the most frames each keeps what fits in its budget and builds nothing after it,
// with one line naming the list; a list read for a file takes from the file's budget too; angle
// animations take their sets from it; without a budget in force nothing is cut.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "engine/render/AnimationFrameBudget.h"
#include "engine/render/Texture2DAnimation360.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "port/win32/win32_paths.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/engine/render/AnimationSupport.h"

using Orvex::AnimationFrameBudget;
using Orvex::Texture2DAnimation;
using Orvex::Texture2DAnimationManager;
using namespace rendertest;

namespace {

constexpr std::size_t kMost = Texture2DAnimation::kMaxFrames;

// An animation of the most frames: one textureless frame repeated by its order list.
std::wstring biggest(std::wstring const& name) {
    return frames(1, L"NAME=\"" + name + L"\"", L"<ORDER>\"|" + std::to_wstring(kMost) + L" x 0|\"</ORDER>");
}

std::wstring list(int count, std::wstring const& prefix) {
    std::wstring text = L"<ANIMATIONS>";
    for (int i = 0; i < count; ++i) text += biggest(prefix + std::to_wstring(i));
    return text + L"</ANIMATIONS>";
}

std::size_t linesWith(logtest::LogWatch const& watch, std::wstring const& part) {
    auto const lines = watch.lines();
    return static_cast<std::size_t>(std::count_if(
        lines.begin(), lines.end(), [&](std::wstring const& line) { return logtest::contains(line, part); }));
}

class AnimationBudgetTest : public AnimationFixture {
protected:
    Texture2DAnimationManager& registry = Texture2DAnimationManager::instance();

    std::vector<std::size_t> counts(std::wstring const& prefix, int n) {
        std::vector<std::size_t> out;
        for (int i = 0; i < n; ++i) {
            Texture2DAnimation* a = registry.findAnimation(prefix + std::to_wstring(i));
            out.push_back(a ? a->getFrameCount() : 99);
        }
        return out;
    }
};

}  // namespace

TEST_F(AnimationBudgetTest, AListKeepsWhatFitsItsBudget) {
    static_assert(AnimationFrameBudget::kFramesPerList == 4 * kMost);
    std::filesystem::path const dir = testsupport::makeTempDir("frame_budget");
    {
        std::ofstream out(dir / "big.ani");
        std::wstring const text = list(6, L"L");
        out << std::string(text.begin(), text.end());
    }
    std::wstring const file = port::windowsPath((dir / "big.ani").string());
    logtest::LogWatch const watch;
    ASSERT_TRUE(registry.loadFile(file));
    // Four fill the budget; the fifth and sixth are registered without frames.
    EXPECT_EQ(counts(L"L", 6), (std::vector<std::size_t>{kMost, kMost, kMost, kMost, 0, 0}));
    EXPECT_EQ(linesWith(watch, L"reached the budget"), 1u);
    EXPECT_EQ(linesWith(watch, L"\"" + file + L"\": frame animations reached the budget of 65536 frames at "
                                            L"animation \"L4\" at line 1"),
              1u);

    // Code loading a list without a file around it has the list's budget alone.
    Orvex::XMLNode node = parse(list(1, L"M"));
    registry.load(node);
    EXPECT_EQ(counts(L"M", 1), (std::vector<std::size_t>{kMost}));
}

// The file's budget bounds the lists it names together; the line names the file.
TEST_F(AnimationBudgetTest, ListsTakeFromTheBudgetOfTheFileNamingThem) {
    logtest::LogWatch const watch;
    {
        AnimationFrameBudget const file(L"screen.gui", kMost + kMost / 2);
        Orvex::XMLNode first = parse(list(1, L"A"));
        registry.load(first, L"a.ani");
        Orvex::XMLNode second = parse(list(2, L"B"));
        registry.load(second, L"b.ani");
        EXPECT_EQ(file.used(), kMost + kMost / 2);
    }
    EXPECT_EQ(counts(L"A", 1), (std::vector<std::size_t>{kMost}));
    EXPECT_EQ(counts(L"B", 2), (std::vector<std::size_t>{kMost / 2, 0}));
    EXPECT_EQ(linesWith(watch, L"\"screen.gui\": frame animations reached the budget of 24576 frames at animation \"B0\""),
              1u);
    EXPECT_EQ(linesWith(watch, L"reached the budget"), 1u);

    // Out of the file's reading nothing is cut.
    Orvex::XMLNode after = parse(list(1, L"C"));
    registry.load(after, L"c.ani");
    EXPECT_EQ(counts(L"C", 1), (std::vector<std::size_t>{kMost}));
}

TEST_F(AnimationBudgetTest, AngleSetsTakeFromTheBudget) {
    addTexture(L"t", 4, 4);
    std::wstring text = L"<ANIMATION_2D NAME=\"turn\" TYPE=\"360\" ANGLE=\"0\">";
    for (int i = 0; i < 3; ++i)
        text += L"<ANGLE ANGLE=\"" + std::to_wstring(i * 90) +
                L"\"><FRAMES TEXTUR=\"t\"><FRAME_PARAMS ANZ_FRAMES=\"1\"><ORDER>\"|4000 x 0|\"</ORDER>"
                L"</FRAME_PARAMS></FRAMES></ANGLE>";
    logtest::LogWatch const watch;
    AnimationFrameBudget const file(L"turns.ani", 6000);
    Orvex::XMLNode node = parse(text + L"</ANIMATION_2D>");
    Held<Orvex::Texture2DAnimation360> a(new Orvex::Texture2DAnimation360(node));
    std::vector<std::size_t> sizes;
    for (auto const& set : a->getAngleSets()) sizes.push_back(set->frames.size());
    EXPECT_EQ(sizes, (std::vector<std::size_t>{4000, 2000, 0}));
    EXPECT_EQ(linesWith(watch, L"\"turns.ani\": frame animations reached the budget of 6000 frames"), 1u);
}

// A budget of an outer file reached while a file it names is read: the line names that file,
// which names the animations, and the outer file whose budget it was.
TEST_F(AnimationBudgetTest, TheLineNamesTheFileThatNamesTheAnimations) {
    logtest::LogWatch const watch;
    {
        AnimationFrameBudget const menus(L"menus.mnu", kMost + kMost / 2);
        {
            AnimationFrameBudget const first(L"first.gui");
            Orvex::XMLNode node = parse(list(1, L"D"));
            registry.load(node, L"d.ani");
        }
        AnimationFrameBudget const second(L"second.gui");
        Orvex::XMLNode node = parse(list(1, L"E"));
        registry.load(node, L"e.ani");
    }
    EXPECT_EQ(counts(L"E", 1), (std::vector<std::size_t>{kMost / 2}));
    EXPECT_EQ(linesWith(watch, L"\"second.gui\": frame animations reached the budget of 24576 frames of \"menus.mnu\" "
                               L"at animation \"E0\""),
              1u);
    EXPECT_EQ(linesWith(watch, L"reached the budget"), 1u);
}
