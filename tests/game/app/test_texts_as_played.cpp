// Texts a player reads on the game's own data, reached by events in the real window: the options'
// "Geschichte von vorn" says in its tooltip what it does (the scenes played do not come again, and
// they do not); tooltips wrap within their panel, whose rim stays thin; the question after a new display mode counts
// down to "1 Sekunde"; every achievement's progress line stays on its tile, large counts too, and
// a goal of one reads in the singular on the tile and in its description. Screenshots go to the
// build folder's "screenshots".
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/gui/Font.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUISlider.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUITooltip.h"
#include "engine/platform/D3DInterface.h"
#include "game/app/SolitaireGame2.h"
#include "game/cards/Achivement.h"
#include "game/cards/AchivementManager.h"
#include "tests/game/app/PlayedScreensFixture.h"

namespace {

using minigametest::narrow;

// The tooltip's pale note (data\GUI\Vorlagen.gui).
constexpr uint32_t kNoteColour = 0xFFF4B0;

class PlayedTextsTest : public apptest::PlayedScreensFixture {
protected:
    PlayedTextsTest() {
        homeName = "played_texts";
        withStory = true;
        // Anna has seen the story's first scene; tutorials off.
        profileText = R"(<PROFILE ACTIVE_PROFIL="Anna">
<PROFIL NAME="Anna"><TUTORIAL SHOW="0"/><UNLOCKS>"|STORY_INTRO|"</UNLOCKS></PROFIL>
</PROFILE>
)";
    }
    // The tooltip shown now, or null.
    static Orvex::GUITooltip* shownTooltip() {
        for (Orvex::GUIWindow* window : Orvex::GUISystem::instance().getTooltips())
            if (auto* tooltip = dynamic_cast<Orvex::GUITooltip*>(window); tooltip && tooltip->isShown()) return tooltip;
        return nullptr;
    }
};

TEST_F(PlayedTextsTest, TheStoryResetsTooltipSaysWhatItDoes) {
    ASSERT_NO_FATAL_FAILURE(toMainMenu());
    clickOn(L"H_Optionen");
    ASSERT_EQ(activeMenu(), L"OPTIONENMENU");
    moveTo(middleOf(L"ResetStory"));
    wait(2.0);
    Orvex::GUITooltip* tooltip = shownTooltip();
    ASSERT_NE(tooltip, nullptr);
    ASSERT_NE(tooltip->getLabel(), nullptr);
    std::wstring const said = tooltip->getLabel()->getText();
    EXPECT_NE(said.find(L"Gespielte Szenen kommen dadurch nicht wieder"), std::wstring::npos) << narrow(said);
    keep("played_story_reset_tooltip");
    // And so it is: after the reset the level screen comes without the first scene again.
    clickOn(L"ResetStory");
    clickOn(L"O_Back");
    ASSERT_EQ(activeMenu(), L"HAUPTMENU");
    clickOn(L"H_Kampagne");
    clickOn(L"K_KategorieButton1");
    EXPECT_EQ(scene(), nullptr);
    EXPECT_EQ(activeMenu(), L"LEVELAUSWAHLMENU");
}

// A tooltip's text wraps within its panel: a long one (it ran as one line across the screen and
// over the panel's edge) in lines of a readable width, a short one on one line in a panel as wide
// as its text; the whole panel on the screen.
TEST_F(PlayedTextsTest, TooltipsWrapWithinTheirPanel) {
    ASSERT_NO_FATAL_FAILURE(toMainMenu());
    clickOn(L"H_Optionen");
    ASSERT_EQ(activeMenu(), L"OPTIONENMENU");
    struct Row {
        wchar_t const* window;
        wchar_t const* says;  // a part of its text
        bool lines;           // more than one line
    } const rows[] = {
        {L"ResetStory", L"Gespielte Szenen kommen dadurch nicht wieder", true},
        {L"O_Cursor0", L"Wei\u00dfer Zeiger", false},
    };
    for (Row const& row : rows) {
        SCOPED_TRACE(narrow(row.window));
        moveTo(middleOf(row.window));
        wait(2.0);
        Orvex::GUITooltip* tooltip = shownTooltip();
        ASSERT_NE(tooltip, nullptr);
        Orvex::GUILabel* label = tooltip->getLabel();
        ASSERT_NE(label, nullptr);
        ASSERT_NE(label->getFont(), nullptr);
        EXPECT_NE(label->getText().find(row.says), std::wstring::npos) << narrow(label->getText());
        Orvex::FRect const box = tooltip->getScreenRect();
        Orvex::FRect const place = label->getScreenRect();
        RECT const text = label->measureText();
        float const lineHeight = label->getFont()->getHeight(true);
        // The text within the label, the label within the panel, the panel on the screen.
        EXPECT_GE(static_cast<float>(text.left), place.left);
        EXPECT_LE(static_cast<float>(text.right), place.right);
        EXPECT_LE(static_cast<float>(text.bottom), place.bottom + 1.0f);
        EXPECT_GE(place.left, box.left);
        EXPECT_LE(place.right, box.right);
        EXPECT_LE(place.bottom, box.bottom);
        EXPECT_GE(box.left, 0.0f);
        EXPECT_GE(box.top, 0.0f);
        EXPECT_LE(box.right, static_cast<float>(width));
        EXPECT_LE(box.bottom, static_cast<float>(height));
        EXPECT_LE(box.right - box.left, static_cast<float>(width) * 0.4f);
        EXPECT_EQ(static_cast<float>(text.bottom - text.top) >= 2.0f * lineHeight, row.lines)
            << (text.bottom - text.top) << " px of text in lines of " << lineHeight;
        // The panel's rim stays thin however wide the panel: beside the text's margins, 4 pixels
        // inside either edge, the note's own pale colour (a stretched picture's rim grew with the
        // panel until the text ran into it at the screen's edge).
        std::vector<uint32_t> const shot = pixels();
        float const middle = (box.top + box.bottom) * 0.5f;
        for (float x : {box.left + 4.0f, box.right - 5.0f}) {
            uint32_t const c = pixelAt(shot, D3DXVECTOR2(x, middle));
            EXPECT_EQ(c & 0xFFFFFFu, kNoteColour) << "at x " << x << ": " << std::hex << c;
        }
        keep("played_tooltip_" + narrow(row.window));
        moveTo(D3DXVECTOR2(2.0f, 2.0f));
        wait(1.0);
    }
}

// A new display mode is asked about; the question counts the seconds down, the last one singular
// (and "1", not "0", while it still waits).
TEST_F(PlayedTextsTest, TheDisplayModesCountdownSaysOneSecond) {
    ASSERT_NO_FATAL_FAILURE(toMainMenu());
    clickOn(L"H_Optionen");
    auto* slider = dynamic_cast<Orvex::GUISlider*>(find(L"AufloesungSlider"));
    ASSERT_NE(slider, nullptr);
    ASSERT_NE(slider->getKnob(), nullptr);
    ASSERT_NE(slider->getTrack(), nullptr);
    // The knob dragged one mode on (the modes lie evenly along the track).
    Orvex::FRect const track = slider->getTrack()->getScreenRect();
    float const before = slider->getValue();
    drag(middleOf(slider->getKnob()->getScreenRect()), D3DXVECTOR2(track.right - 2.0f, (track.top + track.bottom) * 0.5f));
    settle();
    ASSERT_NE(slider->getValue(), before) << "a mode was chosen";
    clickOn(L"O_Back");
    ASSERT_EQ(activeMenu(), L"USE_SETTINGS_MENU");
    std::vector<std::wstring> read;
    // The engine's loop counts the confirmation down; the fixture drives the game alone.
    Orvex::D3DInterface& device = Orvex::D3DInterface::getInstance();
    for (double t = 0.0; t < 20.0 && activeMenu() == L"USE_SETTINGS_MENU"; t += kLongStep) {
        device.update(kLongStep);
        wait(kLongStep);
        std::wstring const text = textOf(L"US_LABEL");
        bool const changed = read.empty() || read.back() != text;
        if (changed) read.push_back(text);
        // One picture of the last second: a picture a step cost seconds each.
        if (changed && text.find(L" 1 ") != std::wstring::npos) keep("played_display_mode_one_second");
    }
    auto const saw = [&read](std::wstring const& text) {
        for (std::wstring const& r : read)
            if (r == text) return true;
        return false;
    };
    EXPECT_TRUE(saw(L"Ohne Antwort kehrt die alte in 2 Sekunden zur\u00fcck."));
    EXPECT_TRUE(saw(L"Ohne Antwort kehrt die alte in 1 Sekunde zur\u00fcck."));
    EXPECT_FALSE(saw(L"Ohne Antwort kehrt die alte in 1 Sekunden zur\u00fcck."));
    EXPECT_FALSE(saw(L"Ohne Antwort kehrt die alte in 0 Sekunden zur\u00fcck.")) << "the last second reads 1, also as the question goes";
    EXPECT_EQ(activeMenu(), L"OPTIONENMENU") << "unanswered, the old mode is back";
}

// Every achievement's progress line fits its tile: at each medal's threshold and far beyond the
// gold one ("Punkte gesammelt" with 17485 of 100000 points among them).
TEST_F(PlayedTextsTest, EveryProgressLineStaysOnItsTile) {
    ASSERT_NO_FATAL_FAILURE(toMainMenu());
    Solitaire::AchivementManager& achievements = Solitaire::AchivementManager::instance();
    struct Stage {
        char const* what;
        float (*value)(Solitaire::Achivement const&);
    } const stages[] = {
        {"17485 points", [](Solitaire::Achivement const& a) { return a.getName() == L"SCORE_CHANGED" ? 17485.0f : 0.0f; }},
        {"silver", [](Solitaire::Achivement const& a) { return a.getThreshold(Solitaire::MEDAL_SILVER); }},
        {"gold", [](Solitaire::Achivement const& a) { return a.getThreshold(Solitaire::MEDAL_GOLD) - 1.0f; }},
        {"ten times gold", [](Solitaire::Achivement const& a) { return a.getThreshold(Solitaire::MEDAL_GOLD) * 10.0f; }},
    };
    for (Stage const& stage : stages) {
        SCOPED_TRACE(stage.what);
        for (Solitaire::Achivement* a : achievements.getAll()) a->setValue(stage.value(*a));
        clickOn(L"H_Erfolge");
        ASSERT_EQ(activeMenu(), L"ACHIVEMENTS_MENU");
        if (std::string(stage.what) == "17485 points") keep("played_achievements_points");
        for (Solitaire::Achivement* a : achievements.getAll()) {
            Orvex::GUIWindow* tile = find(a->getName());
            ASSERT_NE(tile, nullptr) << narrow(a->getName());
            auto* progress = dynamic_cast<Orvex::GUILabel*>(tile->findChild(L"Progress"));
            ASSERT_NE(progress, nullptr);
            RECT const text = progress->measureText();
            Orvex::FRect const place = tile->getScreenRect();
            EXPECT_LE(static_cast<float>(text.right - text.left), place.right - place.left)
                << narrow(a->getName()) << ": " << narrow(progress->getText());
        }
        clickOn(L"ACH_Back");
        ASSERT_EQ(activeMenu(), L"HAUPTMENU");
    }
}

// A goal of one reads in the singular, on the tile and in the description that resting on it
// shows; other goals in the plural.
TEST_F(PlayedTextsTest, AGoalOfOneReadsInTheSingularOnTheTileAndInItsDescription) {
    ASSERT_NO_FATAL_FAILURE(toMainMenu());
    struct Row {
        wchar_t const* achievement;
        float value;
        wchar_t const* line;         // the tile's progress line
        wchar_t const* description;  // what the screen's text box says while the pointer rests on it
    } const rows[] = {
        {L"STORY_GESEHEN", 0.0f, L"0 / 1 Geschichte", L"0 von 1 Geschichte gesehen"},
        {L"STORY_GESEHEN", 2.0f, L"2 / 3 Geschichten", L"2 von 3 Geschichten gesehen"},
        {L"REDOEND_USED", 0.0f, L"0 / 1 Sprung", L"0 von 1 Spiel bis zum Ende wiederholt"},
        {L"REDOEND_USED", 1.0f, L"1 / 10 Spr\u00fcnge", L"1 von 10 Spiele bis zum Ende wiederholt"},
        {L"SHUFFLE_USED", 0.0f, L"0 / 1 Mischung", L"0 von 1 Mal gemischt"},
    };
    Solitaire::AchivementManager& achievements = Solitaire::AchivementManager::instance();
    for (Row const& row : rows) {
        SCOPED_TRACE(narrow(row.achievement) + " at " + std::to_string(row.value));
        Solitaire::Achivement* achievement = achievements.find(row.achievement);
        ASSERT_NE(achievement, nullptr);
        achievement->setValue(row.value);
        clickOn(L"H_Erfolge");
        ASSERT_EQ(activeMenu(), L"ACHIVEMENTS_MENU");
        Orvex::GUIWindow* tile = find(row.achievement);
        ASSERT_NE(tile, nullptr);
        auto* progress = dynamic_cast<Orvex::GUILabel*>(tile->findChild(L"Progress"));
        ASSERT_NE(progress, nullptr);
        EXPECT_EQ(progress->getText(), row.line) << narrow(progress->getText());
        moveTo(middleOf(tile->getScreenRect()));
        settle();
        std::wstring const said = textOf(L"ACHIVE_TEXT_BOX");
        EXPECT_NE(said.find(row.description), std::wstring::npos) << narrow(said);
        if (row.value == 0.0f && std::wstring(row.achievement) == L"STORY_GESEHEN") keep("played_achievement_one_story");
        clickOn(L"ACH_Back");
        ASSERT_EQ(activeMenu(), L"HAUPTMENU");
    }
}

}  // namespace
