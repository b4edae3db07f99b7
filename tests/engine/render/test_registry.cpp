// The texture and animation registry: graphics lists with textures, texture files and
// animations, first definition of a name wins, the factory's choice by "TYPE", lookups, clones
// of registered animations, and the example ".ani" list with its sheet picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "engine/render/AnimationFrameBudget.h"
#include "engine/render/Texture2DAnimation360.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "tests/engine/render/AnimationSupport.h"
#include "port/win32/win32_paths.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/support/TestSupport.h"

using Orvex::Texture2DAnimation;
using Orvex::Texture2DAnimationManager;
using namespace rendertest;

class AnimationRegistryTest : public AnimationFixture {
protected:
    Texture2DAnimationManager& registry = Texture2DAnimationManager::instance();

    void load(std::wstring const& text) {
        Orvex::XMLNode node = parse(text);
        registry.load(node);
    }
};

TEST_F(AnimationRegistryTest, FirstDefinitionOfANameWins) {
    std::wstring const list = L"<LIST>" + frames(2, L"NAME=\"run\"") + frames(3, L"NAME=\"jump\"") +
                              frames(5, L"NAME=\"run\"") + L"</LIST>";
    load(list);
    ASSERT_EQ(registry.getAnimations().size(), 2u);
    load(list);
    load(L"<LIST>" + frames(7, L"NAME=\"jump\"") + L"</LIST>");
    ASSERT_EQ(registry.getAnimations().size(), 2u);
    EXPECT_EQ(registry.findAnimation(L"run")->getFrameCount(), 2u);
    EXPECT_EQ(registry.findAnimation(L"jump")->getFrameCount(), 3u);
    EXPECT_EQ(registry.findAnimation(L"Run"), nullptr);  // case-sensitive
    // Nameless animations are left out (nothing could name them), with one line for the list.
    logtest::LogWatch const watch;
    load(L"<LIST>" + frames(1, L"") + frames(1, L"") + L"</LIST>");
    EXPECT_EQ(registry.getAnimations().size(), 2u);
    auto const lines = watch.lines();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](std::wstring const& line) { return logtest::contains(line, L"2 animation(s) without"); }),
              1);
}

TEST_F(AnimationRegistryTest, FactoryChoosesByExactType) {
    load(L"<LIST><ANIMATION_2D NAME=\"a\" TYPE=\"360\"/><ANIMATION_2D NAME=\"b\" TYPE=\"360 \"/>"
         L"<ANIMATION_2D NAME=\"c\" TYPE=\"2D\"/><ANIMATION_2D NAME=\"d\"/></LIST>");
    EXPECT_NE(dynamic_cast<Orvex::Texture2DAnimation360*>(registry.findAnimation(L"a")), nullptr);
    for (wchar_t const* name : {L"b", L"c", L"d"}) {
        Texture2DAnimation* animation = registry.findAnimation(name);
        ASSERT_NE(animation, nullptr) << name;
        EXPECT_EQ(dynamic_cast<Orvex::Texture2DAnimation360*>(animation), nullptr) << name;
    }
}

TEST_F(AnimationRegistryTest, TextureFilesAndAMissingFile) {
    std::filesystem::path folder = testsupport::makeTempDir("registry");
    testsupport::writeFile(folder / "textures.txt",
                           "<TEXTURES><TEXTUR2D NAME=\"from_file\"><FILE FILENAME=\"animations\\walker_sheet.png\"/>"
                           "</TEXTUR2D></TEXTURES>");
    std::wstring const listed = port::windowsPath((folder / "textures.txt").string());
    std::wstring const missing = port::windowsPath((folder / "missing.txt").string());
    load(L"<LIST><TEXTURE_FILES>\"|" + missing + L"|\" \"|" + listed + L"|\"</TEXTURE_FILES>"
         L"<ANIMATION_2D NAME=\"uses_file\"><FRAMES TEXTUR=\"from_file\"/></ANIMATION_2D></LIST>");
    Orvex::Texture2D* texture = registry.findTexture(L"from_file");
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->getWidth(), 64u);
    Texture2DAnimation* animation = registry.findAnimation(L"uses_file");
    ASSERT_NE(animation, nullptr);
    EXPECT_EQ(animation->getFrameCount(), 1u);
    // An animation whose textures are missing is still registered.
    load(L"<LIST><ANIMATION_2D NAME=\"ghost\"><FRAMES TEXTUR=\"nowhere\"/></ANIMATION_2D></LIST>");
    Texture2DAnimation* ghost = registry.findAnimation(L"ghost");
    ASSERT_NE(ghost, nullptr);
    EXPECT_EQ(ghost->getFrameCount(), 0u);
}

TEST_F(AnimationRegistryTest, ExampleAnimationListLoads) {
    Orvex::XMLNode list;
    ASSERT_TRUE(list.load(testDataFolder() + L"\\animations\\walker.ani"));
    registry.load(list);
    Orvex::Texture2D* sheet = registry.findTexture(L"walker_sheet");
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->getWidth(), 64u);
    EXPECT_EQ(sheet->getHeight(), 32u);

    Texture2DAnimation* walker = registry.findAnimation(L"walker");
    ASSERT_NE(walker, nullptr);
    EXPECT_EQ(walker->getFrameCount(), 8u);  // its play and speed show in the drawing tests
    EXPECT_EQ(walker->getFrameSize(), D3DXVECTOR2(16.0f, 16.0f));
    RECT const r = walker->getFrames()[6].rect;
    EXPECT_EQ(r.left, 32);
    EXPECT_EQ(r.top, 16);

    Texture2DAnimation* bounce = registry.findAnimation(L"walker_bounce");
    ASSERT_NE(bounce, nullptr);
    ASSERT_EQ(bounce->getFrameCount(), 4u);
    EXPECT_EQ(bounce->getFrames()[3].rect.left, 49);
    EXPECT_EQ(bounce->getFrames()[3].rect.right, 63);

    Texture2DAnimation* once = registry.findAnimation(L"walker_once");
    ASSERT_NE(once, nullptr);
    EXPECT_EQ(once->getPlayType(), Texture2DAnimation::kOnce);
    EXPECT_EQ(once->getFrames()[0].rect.left, 48);  // reversed
}

// Names are found through an index: a renamed animation is found by its new name only, and the
// first of a name in load order still wins.
TEST_F(AnimationRegistryTest, LookUpsFollowRenames) {
    load(L"<LIST>" + frames(1, L"NAME=\"a\"") + frames(2, L"NAME=\"b\"") + L"</LIST>");
    Texture2DAnimation* a = registry.findAnimation(L"a");
    Texture2DAnimation* b = registry.findAnimation(L"b");
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    b->setName(L"a");
    EXPECT_EQ(registry.findAnimation(L"a"), a);
    EXPECT_EQ(registry.findAnimation(L"b"), nullptr);
    a->setName(L"c");
    EXPECT_EQ(registry.findAnimation(L"a"), b);
    EXPECT_EQ(registry.findAnimation(L"c"), a);
    // A name given again after the rename is a new one: the list adds it.
    load(L"<LIST>" + frames(3, L"NAME=\"b\"") + L"</LIST>");
    ASSERT_NE(registry.findAnimation(L"b"), nullptr);
    EXPECT_EQ(registry.findAnimation(L"b")->getFrameCount(), 3u);
}

// A list adds at most kMaxPerList animations and all lists hold at most kMaxAnimations; the rest
// of a list is left out with one line naming it (names held already are no more than skipped).
TEST_F(AnimationRegistryTest, ListsAndTheRegistryHoldABoundedNumber) {
    constexpr std::size_t kPerList = Texture2DAnimationManager::kMaxPerList;
    static_assert(Texture2DAnimationManager::kMaxAnimations == 5 * kPerList);
    auto list = [](std::wstring const& prefix, std::size_t count) {
        std::wstring text = L"<LIST>";
        for (std::size_t i = 0; i < count; ++i) text += L"<ANIMATION_2D NAME=\"" + prefix + std::to_wstring(i) + L"\"/>";
        return text + L"</LIST>";
    };
    struct Case {
        wchar_t const* prefix;
        std::size_t count;
        std::size_t held;
        wchar_t const* line;
    };
    Case const cases[] = {
        {L"A", kPerList + 10, kPerList, L"Animation list \"A\" at line 1: 10 animation(s) left out"},
        {L"A", kPerList + 10, kPerList + 10, nullptr},
        {L"B", kPerList, 2 * kPerList + 10, nullptr},
        {L"C", kPerList, 3 * kPerList + 10, nullptr},
        {L"G", kPerList, 4 * kPerList + 10, nullptr},
        {L"D", kPerList, 5 * kPerList, L"Animation list \"D\" at line 1: 10 animation(s) left out"},
        {L"E", 3, 5 * kPerList, L"Animation list \"E\" at line 1: 3 animation(s) left out"},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(testing::Message() << c.count << " named " << std::string(c.prefix, c.prefix + 1));
        logtest::LogWatch const watch;
        Orvex::XMLNode node = parse(list(c.prefix, c.count));
        registry.load(node, c.prefix);
        EXPECT_EQ(registry.getAnimations().size(), c.held);
        auto const lines = watch.lines();
        ASSERT_EQ(lines.size(), c.line ? 1u : 0u);
        if (c.line) EXPECT_TRUE(logtest::contains(lines[0], c.line)) << std::string(lines[0].begin(), lines[0].end());
    }
    EXPECT_NE(registry.findAnimation(L"D" + std::to_wstring(kPerList - 11)), nullptr);
    EXPECT_EQ(registry.findAnimation(L"D" + std::to_wstring(kPerList - 10)), nullptr);
    EXPECT_EQ(registry.findAnimation(L"E0"), nullptr);
}

// Five lists of 4,096 names read early for a GUI file of the menu file take that GUI file's share
// of the registry, not the registry: the lists read after them keep all their animations (here
// as the game reads its own: another GUI file's, the pointer list alone, the particle,
// mini-game and story lists for their files, the mini-game field among them). One line for the
// first list cut names the file; the other four are left out whole.
TEST_F(AnimationRegistryTest, TheListsOfAFileTakeItsShareAndTheFilesAfterKeepTheirs) {
    constexpr std::size_t kShare = Orvex::AnimationFrameBudget::kAnimationsPerInnerFile;
    auto list = [](std::wstring const& prefix, std::size_t count) {
        std::wstring text = L"<LIST>";
        for (std::size_t i = 0; i < count; ++i) text += L"<ANIMATION_2D NAME=\"" + prefix + std::to_wstring(i) + L"\"/>";
        return parse(text + L"</LIST>");
    };
    struct Own {
        wchar_t const* file;  // the file that names the list (none: read alone)
        wchar_t const* prefix;
        std::size_t count;
    };
    Own const own[] = {{L"data\\GUI\\Erfolge.gui", L"ERFOLG_", 124},
                       {nullptr, L"MOUSE_", 17},
                       {L"data\\Partikel.par", L"PARTIKEL_", 2},
                       {L"data\\Games\\minigames.min", L"MG_MAZE_BODEN_", 99},
                       {L"data\\Story\\Story.str", L"STORY_", 9}};
    auto readOwn = [&](Own const& o) {
        std::optional<Orvex::AnimationFrameBudget> file;
        if (o.file) file.emplace(o.file);
        Orvex::XMLNode node = list(o.prefix, o.count);
        registry.load(node, o.prefix);
    };
    logtest::LogWatch const watch;
    {
        Orvex::AnimationFrameBudget const menus(L"data\\GUI\\menus.mnu");
        {
            Orvex::AnimationFrameBudget const gui(L"data\\GUI\\hostile.gui");
            for (int i = 0; i < 5; ++i) {
                Orvex::XMLNode hostile = list(L"H" + std::to_wstring(i) + L"_", Texture2DAnimationManager::kMaxPerList);
                registry.load(hostile, L"hostile" + std::to_wstring(i) + L".ani");
            }
        }
        EXPECT_EQ(registry.getAnimations().size(), kShare);
        readOwn(own[0]);
    }
    auto const lines = watch.lines();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_TRUE(logtest::contains(lines[0], L"\"hostile0.ani\" at line 1: 3584 animation(s) left out; a list adds at "
                                            L"most 4096, the lists read for \"data\\GUI\\hostile.gui\" at most 512"));
    EXPECT_TRUE(logtest::contains(lines[4], L"\"hostile4.ani\" at line 1: 4096 animation(s) left out"));
    for (std::size_t i = 1; i < std::size(own); ++i) readOwn(own[i]);
    for (Own const& o : own)
        for (std::size_t i = 0; i < o.count; ++i)
            EXPECT_NE(registry.findAnimation(o.prefix + std::to_wstring(i)), nullptr) << o.prefix << i;
    EXPECT_EQ(watch.lines().size(), 5u);

    // A file of its own has the whole share.
    {
        Orvex::AnimationFrameBudget const file(L"data\\hostile.min");
        Orvex::XMLNode hostile = list(L"F_", Texture2DAnimationManager::kMaxPerList);
        registry.load(hostile, L"hostile.ani");
    }
    EXPECT_NE(registry.findAnimation(L"F_2047"), nullptr);
    EXPECT_EQ(registry.findAnimation(L"F_2048"), nullptr);
}

// Hostile GUI files read for the menu file before the game's own (each naming 4,096 names) take
// from its share only what lies beyond their sure part: with 4 of them, or all 21 other GUI
// files of the menu file, the achievement screen keeps its 124 medal pictures (with 4 it kept
// none) and the files read after the menu file keep their shares.
TEST_F(AnimationRegistryTest, HoweverManyHostileGuiFilesComeFirstTheGamesOwnKeepTheirAnimations) {
    using Orvex::AnimationFrameBudget;
    auto load = [&](std::wstring const& prefix, std::size_t count) {
        std::wstring text = L"<LIST>";
        for (std::size_t i = 0; i < count; ++i) text += L"<ANIMATION_2D NAME=\"" + prefix + std::to_wstring(i) + L"\"/>";
        Orvex::XMLNode node = parse(text + L"</LIST>");
        registry.load(node, prefix);
    };
    // 4 take 512 each; of 21, five take 512, the sixth 256 (the share then spent), the rest 128.
    struct {
        int hostile;
        std::size_t held;
    } const cases[] = {{4, 4 * 512 + 124}, {21, 5 * 512 + 256 + 15 * 128 + 124}};
    for (auto const& c : cases) {
        registry.releaseAnimations();
        {
            AnimationFrameBudget const menus(L"data\\GUI\\menus.mnu");
            for (int h = 0; h < c.hostile; ++h) {
                AnimationFrameBudget const gui(L"hostile" + std::to_wstring(h) + L".gui");
                load(L"H" + std::to_wstring(h) + L"_", Texture2DAnimationManager::kMaxPerList);
            }
            AnimationFrameBudget const erfolge(L"data\\GUI\\Erfolge.gui");
            load(L"ERFOLG_", 124);
        }
        EXPECT_EQ(registry.getAnimations().size(), c.held) << c.hostile;
        EXPECT_NE(registry.findAnimation(L"ERFOLG_123"), nullptr) << c.hostile;
        for (wchar_t const* file : {L"data\\Partikel.par", L"data\\Games\\minigames.min", L"data\\Story\\Story.str"}) {
            AnimationFrameBudget const after(file);
            load(file, AnimationFrameBudget::kAnimationsPerFile);
        }
        EXPECT_EQ(registry.getAnimations().size(), c.held + 3 * AnimationFrameBudget::kAnimationsPerFile) << c.hostile;
    }
}
