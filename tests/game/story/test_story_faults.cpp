// A story file is untrusted: cycles of "RELATIV_TO", divisions by zero, numbers that are not
// finite, absurd counts, switches that never move on and missing files each give one log line
// naming the file and the line, and defaults.
#include <gtest/gtest.h>

#include <cmath>
#include <cwchar>

#include "engine/core/CopyBudget.h"
#include "engine/render/Texture2DAnimation.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "game/story/StoryAnimation.h"
#include "game/story/StoryPosition.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/game/story/StoryFixture.h"
#include "tests/support/FilesNamedTwice.h"

namespace {

using logtest::contains;
using logtest::LogWatch;

class StoryFaultsTest : public storytest::StoryFixture {};

TEST_F(StoryFaultsTest, ALinkThatWouldCloseACycleIsRefused) {
    LogWatch watch;
    load(L"<STORY_PART NAME=\"S\">\n<PART_PART NAME=\"A\" RELATIV_TO=\"B\"/>\n<PART_PART NAME=\"B\" RELATIV_TO=\"C\"/>\n"
         L"<PART_PART NAME=\"C\" RELATIV_TO=\"A\"/>\n<PART_PART NAME=\"D\" RELATIV_TO=\"D\"/>\n</STORY_PART>");
    Solitaire::StoryPart& s = scene();
    EXPECT_EQ(s.findPart(L"A")->relativeTo, s.findPart(L"B"));
    EXPECT_EQ(s.findPart(L"B")->relativeTo, s.findPart(L"C"));
    EXPECT_EQ(s.findPart(L"C")->relativeTo, nullptr);  // C -> A -> B -> C
    EXPECT_EQ(s.findPart(L"D")->relativeTo, nullptr);
    std::vector<std::wstring> const errors = watch.errors();
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_TRUE(contains(errors[0], L"test.str") && contains(errors[0], L"line 4") && contains(errors[0], L"\"C\""));
    EXPECT_TRUE(contains(errors[1], L"line 5"));
    // Every screen rectangle is computed in bounded time.
    Orvex::FRect const window(0, 0, 100, 100);
    for (auto const& part : s.parts) part->getScreenRect(window);
}

TEST_F(StoryFaultsTest, BadNumbersKeepTheirDefaults) {
    struct Row {
        wchar_t const* element;
        wchar_t const* logged;
    } const rows[] = {
        {L"<PART_PART NAME=\"E\"><POSITION L=\"1 0\" R=\"0.5\"/></PART_PART>", L"\"L\" divides by 0"},
        {L"<PART_PART NAME=\"E\"><TEXT_RECT W=\"1e39\"/></PART_PART>", L"\"W\" \"1e39\" is not a list of numbers within"},
        {L"<PART_PART NAME=\"E\"><POSITION TYPE=\"CATMULL\" DISTANCE=\"nan 1\"/></PART_PART>", L"\"DISTANCE\""},
        {L"<PART_PART NAME=\"E\" PARTIKEL_START_POS=\"inf\"/>", L"\"PARTIKEL_START_POS\""},
        // Places and sizes of the screen: beyond a million they were taken with no line.
        {L"<PART_PART NAME=\"E\"><POSITION L=\"3e38\" R=\"0.5\"/></PART_PART>",
         L"\"L\" \"3e38\" is not a list of numbers within -1e+06..1e+06"},
        {L"<PART_PART NAME=\"E\"><TEXT_RECT W=\"1 1e-38\"/></PART_PART>", L"\"W\" \"1 1e-38\" is not a list of numbers within"},
        {L"<PART_PART NAME=\"E\"><POSITION TYPE=\"CATMULL\" DISTANCE=\"0.01 3e38\"/></PART_PART>",
         L"\"DISTANCE\" \"0.01 3e38\" is not a list of numbers within"},
        {L"<PART_PART NAME=\"E\" PARTIKEL_START_POS=\"1e7 0\"/>", L"\"PARTIKEL_START_POS\" \"1e7 0\" is not a list of numbers within"},
    };
    for (Row const& row : rows) {
        LogWatch watch;
        Orvex::XMLNode node = storytest::parse(std::wstring(L"\n") + row.element);
        auto* part = new Solitaire::StoryPartPart(node, L"bad.str");
        std::vector<std::wstring> const errors = watch.errors();
        EXPECT_EQ(errors.size(), 1u) << std::string(row.logged, row.logged + std::wcslen(row.logged));
        if (!errors.empty())
            EXPECT_TRUE(contains(errors[0], L"bad.str") && contains(errors[0], L"line 2") && contains(errors[0], row.logged))
                << std::string(errors[0].begin(), errors[0].end());
        for (float v : {part->getPositionValue().x, part->getPositionValue().z, part->textRect.z, part->particleStart.x})
            EXPECT_TRUE(std::isfinite(v));
        part->release();
    }
    Orvex::XMLNode node = storytest::parse(L"<PART_PART NAME=\"E\"><POSITION L=\"1 0\" R=\"0.5\"/></PART_PART>");
    Solitaire::StoryPartPart part(node);
    EXPECT_EQ(part.getPositionValue().x, 0.0f);
    EXPECT_EQ(part.getPositionValue().z, 0.5f);
}

TEST_F(StoryFaultsTest, TimesThatAreNotFiniteKeepTheirDefaults) {
    LogWatch watch;
    load(L"<STORY_PART NAME=\"S\" SPEEDMULT=\"nan\">\n<SWITCH SWITCH_AT=\"1\" TIMER=\"1e40\">"
         L"<SWITCH_PARM PART_PART_NAME=\"E\" SPEED=\"-inf\"/></SWITCH></STORY_PART>");
    Solitaire::StoryPart& s = scene();
    EXPECT_EQ(s.speedMult, 1.0f);
    EXPECT_EQ(s.switches.at(0).timer, 1.0f);
    EXPECT_EQ(s.switches.at(0).params.at(0).speed, 0.0f);
    ASSERT_EQ(watch.errors().size(), 1u);
    EXPECT_TRUE(contains(watch.errors()[0], L"(2 further problems)"));
}

TEST_F(StoryFaultsTest, MissingValuesOfRectanglesStartAtZero) {
    Orvex::XMLNode node = storytest::parse(
        L"<PART_PART NAME=\"E\"><TEX_RECT L=\"0.2\" T=\"0.3\" R=\"0.4\" B=\"0.5\"/><TEX_RECT R=\"0.6\"/>"
        L"<TEXT_RECT L=\"0.1\"/><ANIMATION><POSITION T=\"0.7\"/></ANIMATION></PART_PART>");
    Solitaire::StoryPartPart part(node);
    ASSERT_EQ(part.texRects.size(), 2u);
    D3DXVECTOR4 const second = part.texRects[1];
    EXPECT_EQ(second.x, 0.0f);
    EXPECT_EQ(second.y, 0.0f);
    EXPECT_EQ(second.z, 0.6f);
    EXPECT_EQ(second.w, 0.0f);
    EXPECT_EQ(part.textRect.z, 0.0f);
    EXPECT_EQ(part.animations.at(0)->rect.x, 0.0f);
    EXPECT_EQ(part.animations.at(0)->rect.y, 0.7f);
}

TEST_F(StoryFaultsTest, ASwitchThatNeverMovesOnIsLogged) {
    LogWatch watch;
    load(L"<STORY_PART NAME=\"S\">\n<SWITCH/>\n<SWITCH SWITCH_AT=\"4\"/></STORY_PART>");
    std::vector<std::wstring> const lines = watch.lines();
    int warned = 0;
    for (std::wstring const& line : lines)
        if (contains(line, L"moves on neither")) {
            ++warned;
            EXPECT_TRUE(contains(line, L"line 3") && contains(line, L"switch 1"));
        }
    EXPECT_EQ(warned, 1);
    EXPECT_EQ(scene().switches.size(), 2u);
}

TEST_F(StoryFaultsTest, AbsurdCountsAreCut) {
    std::wstring many;
    for (std::size_t i = 0; i < Solitaire::StoryPartPart::kMaxEntries + 5; ++i) many += L"<POSITION L=\"0.1\"/>";
    LogWatch watch;
    Orvex::XMLNode node = storytest::parse(L"<PART_PART NAME=\"E\">" + many + L"</PART_PART>");
    Solitaire::StoryPartPart part(node, L"many.str");
    EXPECT_EQ(part.positions.size(), Solitaire::StoryPartPart::kMaxEntries);
    ASSERT_EQ(watch.errors().size(), 1u);
    EXPECT_TRUE(contains(watch.errors()[0], L"more than 256 \"POSITION\""));
}

TEST_F(StoryFaultsTest, AMissingAnimationListIsNamed) {
    LogWatch watch;
    load(L"<ANIMATIONEN_FILE FILE=\"data\\Story\\gibt_es_nicht.ani\"/><ANIMATIONEN_FILE/>");
    ASSERT_EQ(watch.errors().size(), 1u);
    EXPECT_TRUE(contains(watch.errors()[0], L"gibt_es_nicht.ani") && contains(watch.errors()[0], L"test.str"));
}

}  // namespace

namespace {

// The story file's copies of templates have a budget (about 0.9 MB a copy of the largest template
// took a 3 MB file to 3.9 GB): copies that no longer fit are left out, the elements keeping their
// own data, with one line naming the file.
TEST_F(StoryFaultsTest, CopiesOfTemplatesStopAtTheFilesBudget) {
    std::wstring keys;
    for (std::size_t k = 0; k < Solitaire::StoryAnimation::kMaxSpeedKeys; ++k) keys += L"<VALUE_DELTATIME/>";
    std::wstring big = L"<VORLAGEN><PART_PART NAME=\"BIG\"><POSITION L=\"0.5\"/>";
    for (std::size_t i = 0; i < Solitaire::StoryPartPart::kMaxEntries; ++i)
        big += L"<ANIMATION><ANIMATION_SPEED>" + keys + L"</ANIMATION_SPEED></ANIMATION>";
    big += L"</PART_PART></VORLAGEN>";
    load(big);  // a file of its own: the template costs nothing of the next file's budget
    Solitaire::StoryPartPart const* source = story().findTemplate(L"BIG");
    ASSERT_NE(source, nullptr);
    std::size_t const fitting = Orvex::CopyBudget::kEntriesPerFile / source->copyEntries();
    ASSERT_GE(fitting, 1u);
    std::wstring text = L"<STORY_PART NAME=\"S\">";
    for (std::size_t i = 0; i <= fitting + 1; ++i)
        text += L"<PART_PART NAME=\"E" + std::to_wstring(i) + L"\" VORLAGE=\"BIG\"><POSITION L=\"0.25\"/></PART_PART>";
    LogWatch watch;
    load(text + L"</STORY_PART>");
    auto const& parts = scene().parts;
    ASSERT_EQ(parts.size(), fitting + 2);
    for (std::size_t i = 0; i < parts.size(); ++i) {
        bool const copied = i < fitting;
        EXPECT_EQ(parts[i]->animations.size(), copied ? Solitaire::StoryPartPart::kMaxEntries : 0u) << i;
        EXPECT_EQ(parts[i]->positions.size(), copied ? 2u : 1u) << i;
    }
    std::vector<std::wstring> lines;
    for (std::wstring const& line : watch.lines())
        if (contains(line, L"budget")) lines.push_back(line);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(contains(lines[0], L"\"test.str\"") && contains(lines[0], L"element \"E" + std::to_wstring(fitting) + L"\""));
}

// Animation lists named again, under another spelling, are read once.
TEST_F(StoryFaultsTest, AnimationListsNamedAgainAreReadOnce) {
    testsupport::FilesNamedTwice const files("story_twice");
    logtest::LogWatch const watch;
    load(L"<ANIMATIONEN_FILE FILE=\"" + files.list + L"\"/><ANIMATIONEN_FILE FILE=\"" + files.listAgain + L"\"/>");
    EXPECT_EQ(testsupport::FilesNamedTwice::listReadings(watch.lines()), 1u);
}

}  // namespace

namespace {

// Story elements naming an animation of 16,384 frames, directly and through a template: each
// plays a copy of its own showing the registry's one frame table, and copies of the template cost
// the file's copy budget an entry for the animation, not one per frame (17 copies spent the
// budget before, and 1,000 elements took 1.7 GB).
TEST_F(StoryFaultsTest, ElementsShareTheFramesOfTheirAnimations) {
    constexpr std::size_t kElements = 40;
    Orvex::XMLNode list = storytest::parse(L"<LISTE><ANIMATION_2D NAME=\"GROSS\"><FRAME FRAME_SIZE=\"2 2\"/>"
                                           L"<ORDER>\"|16384 x 0|\"</ORDER></ANIMATION_2D></LISTE>");
    Orvex::Texture2DAnimationManager& registry = Orvex::Texture2DAnimationManager::instance();
    registry.load(list, L"gross.ani");
    Orvex::Texture2DAnimation* source = registry.findAnimation(L"GROSS");
    ASSERT_NE(source, nullptr);
    ASSERT_EQ(source->getFrameCount(), Orvex::Texture2DAnimation::kMaxFrames);
    std::wstring text = L"<VORLAGEN><PART_PART NAME=\"V\" ANIMATION=\"GROSS\"><ANIMATION ANIMATION=\"GROSS\"/></PART_PART>"
                        L"</VORLAGEN><STORY_PART NAME=\"S\">";
    for (std::size_t i = 0; i < kElements; ++i)
        text += L"<PART_PART NAME=\"E" + std::to_wstring(i) + (i % 2 ? L"\" ANIMATION=\"GROSS\"/>" : L"\" VORLAGE=\"V\"/>");
    LogWatch watch;
    load(text + L"</STORY_PART>");
    auto const& parts = scene().parts;
    ASSERT_EQ(parts.size(), kElements);
    std::vector<Orvex::Texture2DAnimation const*> copies;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        ASSERT_NE(parts[i]->animation.get(), nullptr) << i;
        copies.push_back(parts[i]->animation.get());
        if (i % 2) continue;
        ASSERT_EQ(parts[i]->animations.size(), 1u) << i;
        copies.push_back(parts[i]->animations[0]->animation.get());
    }
    for (Orvex::Texture2DAnimation const* copy : copies) {
        ASSERT_NE(copy, nullptr);
        EXPECT_NE(copy, source);
        EXPECT_EQ(&copy->getFrames(), &source->getFrames());
    }
    for (std::wstring const& line : watch.lines()) EXPECT_FALSE(contains(line, L"budget")) << std::string(line.begin(), line.end());
    registry.releaseAnimations();
}

}  // namespace
