// The options screen on the game's own screens: the display mode chosen on the screen and applied
// only when it is left, the full-screen slider's halves, a refused switch resynchronising the
// screen from the device and an accepted one leaving the options, volumes (kept as read until a
// slider moves), the cursor's show count, the tutorial switches in step, the previews, choices
// made while a variant overrides them kept, and what losing and regaining the window focus does.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "engine/core/PerfTimer.h"
#include "engine/core/XMLNode.h"
#include "engine/core/engine/OrvexEngine.h"
#include "engine/gui/GUICheckbox.h"
#include "engine/gui/GUICheckboxButton.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUISlider.h"
#include "engine/gui/GUISystem.h"
#include "engine/platform/D3DInterface.h"
#include "engine/platform/MusicManager.h"
#include "engine/platform/MusicStream.h"
#include "game/app/MyGlobals.h"
#include "game/app/SolitaireGame2.h"
#include "game/app/SolitaireManager.h"
#include "game/app/WinMain.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "game/cards/Picking.h"
#include "game/look/Kartenset.h"
#include "game/look/SolitaireCamera.h"
#include "game/look/StyleSettings.h"
#include "port/win32/win32_paths.h"
#include "port/win32/winuser.h"
#include "tests/game/app/ScreensFixture.h"
#include "tests/game/app/StartSettingsGuard.h"
#include "tests/support/TestSupport.h"

namespace {

class GameOptionsTest : public apptest::ScreensFixture {
protected:
    static Orvex::GUISlider& slider(wchar_t const* name) {
        auto* found = dynamic_cast<Orvex::GUISlider*>(find(name));
        EXPECT_NE(found, nullptr);
        return *found;
    }
    static Orvex::GUICheckboxButton& box(wchar_t const* name) {
        auto* found = dynamic_cast<Orvex::GUICheckbox*>(find(name));
        EXPECT_NE(found, nullptr);
        return *found->getButton();
    }
    static D3DDISPLAYMODE deviceMode() { return Orvex::D3DInterface::getInstance().getDisplayMode(); }
    static int modeIndex(unsigned w, unsigned h) {
        std::vector<D3DDISPLAYMODE> const& modes = Orvex::D3DInterface::getInstance().getDisplayModes();
        for (std::size_t i = 0; i < modes.size(); ++i)
            if (modes[i].Width == w && modes[i].Height == h) return static_cast<int>(i);
        return -1;
    }
    static int cursorCount() {
        ShowCursor(TRUE);
        return ShowCursor(FALSE);
    }
};

TEST_F(GameOptionsTest, ResolutionSliderTouchesNothingUntilTheOptionsAreLeft) {
    showMenu(L"OPTIONENMENU");
    int const wanted = modeIndex(1280, 720);
    ASSERT_GE(wanted, 0);
    slider(L"AufloesungSlider").setValue(static_cast<float>(wanted));
    EXPECT_EQ(game->getOptions().getChosenModeIndex(), wanted);
    EXPECT_EQ(labelText(L"AufloesungSlider_TEXT"), L"1280x720 32 bit 60 Hz");
    game->getOptions().refresh();
    // The chosen mode is written once on the screen: the slider's caption.
    std::vector<Orvex::GUIWindow*> all;
    Orvex::GUISystem::instance().collectAllWindows(all);
    int shown = 0;
    for (Orvex::GUIWindow* window : all)
        if (auto* label = dynamic_cast<Orvex::GUILabel*>(window); label && label->getText() == L"1280x720 32 bit 60 Hz") ++shown;
    EXPECT_EQ(shown, 1);
    for (int i = 0; i < 10; ++i) step(0.1);
    EXPECT_EQ(deviceMode().Width, 1024u);
    EXPECT_EQ(game->getOptions().getCurrentModeIndex(), modeIndex(1024, 768));
}

// The game started from a saved config.cfg as the entry point reads it (the game's values forced
// over it, its mode brought onto the desktop the environment names); started again for each case.
class OptionsFromSettingsTest : public GameOptionsTest {
protected:
    void TearDown() override {
        GameOptionsTest::TearDown();
        unsetenv("ORVEX_DESKTOP_SIZE");
    }
    void readSettings() override {
        if (config.empty()) return;
        std::filesystem::path const file = testsupport::makeTempDir("options_settings") / "config.cfg";
        testsupport::writeFile(file, "<MyEngineParams><ENGINE_PARAMS>" + config + "</ENGINE_PARAMS></MyEngineParams>");
        setenv("ORVEX_DESKTOP_SIZE", desktop, 1);
        bool const read = Orvex::OrvexEngine::getInstance()->loadConfig(port::windowsPath(file.string()));
        EXPECT_TRUE(read);
        Solitaire::forceStartSettings();
        Solitaire::settleStartMode(read);
    }

    apptest::StartSettingsGuard kept;
    std::string config;
    char const* desktop = "1920x1080";
};

// Entered and left untouched (Escape clicks "O_Back"), the options show the mode in use and leave
// it as it is, without the question: also a window cut to a smaller desktop, a size the mode list
// lacks, and a refresh rate other than the first the list offers for its size.
TEST_F(OptionsFromSettingsTest, UntouchedOptionsShowTheModeInUseAndLeaveItWithoutAsking) {
    struct {
        char const* desktop;
        char const* config;
        wchar_t const* shown;
        unsigned knobW, knobH, knobHz;
    } const cases[] = {
        {"1280x720", R"(<D3DINITPARAMS WIDTH="1024" HEIGHT="768" REFRESH="75" WINDOWED="1"/>)",
         L"1024x720 32 bit 75 Hz", 1024, 768, 75},
        {"1920x1080", R"(<D3DINITPARAMS WIDTH="1280" HEIGHT="720" REFRESH="75" WINDOWED="1"/>)",
         L"1280x720 32 bit 75 Hz", 1280, 720, 75},
        {"1920x1080", R"(<D3DINITPARAMS WIDTH="1024" HEIGHT="768" REFRESH="60" WINDOWED="1"/>)",
         L"1024x768 32 bit 60 Hz", 1024, 768, 60},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.config);
        stop();
        desktop = c.desktop;
        config = c.config;
        startOn(testsupport::sourceDir(), kScreenWidth, kScreenHeight);
        Orvex::D3DInterface& d3d = Orvex::D3DInterface::getInstance();
        D3DDISPLAYMODE const before = deviceMode();
        std::wstring inUse;
        Orvex::D3DInterface::displayModeToString(inUse, before, L" ");
        ASSERT_EQ(inUse, c.shown);

        showMenu(L"HAUPTMENU");
        showMenu(L"OPTIONENMENU");
        EXPECT_EQ(labelText(L"AufloesungSlider_TEXT"), c.shown);
        EXPECT_EQ(game->getOptions().getChosenModeIndex(), game->getOptions().getCurrentModeIndex());
        std::vector<D3DDISPLAYMODE> const& modes = d3d.getDisplayModes();
        auto const knob = static_cast<std::size_t>(slider(L"AufloesungSlider").getValue());
        ASSERT_LT(knob, modes.size());
        EXPECT_EQ(modes[knob].Width, c.knobW);
        EXPECT_EQ(modes[knob].Height, c.knobH);
        EXPECT_EQ(modes[knob].RefreshRate, c.knobHz);

        click(*find(L"O_Back"));
        for (int i = 0; i < 5; ++i) step(0.1);
        EXPECT_FALSE(d3d.isConfirmationPending());
        EXPECT_FALSE(isActive(L"USE_SETTINGS_MENU"));
        EXPECT_TRUE(isActive(L"HAUPTMENU"));
        D3DDISPLAYMODE const after = deviceMode();
        EXPECT_EQ(std::make_tuple(after.Width, after.Height, after.RefreshRate),
                  std::make_tuple(before.Width, before.Height, before.RefreshRate));
        EXPECT_TRUE(d3d.getPresentParameters().Windowed);
    }
}

// The screen has the check box alone; a full-screen slider (data may give one, here a copy of
// the resolution slider with the full-screen caption) chooses by its halves, and the check box
// follows it, so the two never disagree.
TEST_F(GameOptionsTest, FullscreenSliderAboveOneHalfMeansFullScreen) {
    EXPECT_EQ(find(L"FullscreenSlider"), nullptr) << "one control for one choice";
    auto* fullscreen = dynamic_cast<Orvex::GUISlider*>(slider(L"AufloesungSlider").clone());
    ASSERT_NE(fullscreen, nullptr);
    ASSERT_NE(fullscreen->getLabel(), nullptr);
    fullscreen->getLabel()->setTextId(L"O_VOLLBILD");
    struct {
        float value;
        bool fullscreen;
        wchar_t const* label;
    } const cases[] = {{0.0f, false, L"Vollbild: aus"}, {0.5f, false, L"Vollbild: aus"},
                       {0.51f, true, L"Vollbild: an"}, {1.0f, true, L"Vollbild: an"}, {0.2f, false, L"Vollbild: aus"}};
    for (auto const& c : cases) {
        game->getOptions().onFullscreenSlider(*fullscreen, c.value);
        EXPECT_EQ(game->getOptions().isFullscreenChosen(), c.fullscreen) << c.value;
        EXPECT_EQ(fullscreen->getLabel()->getText(), c.label) << c.value;
        EXPECT_EQ(box(L"O_Fullscreen").isChecked(), c.fullscreen) << c.value;
    }
    fullscreen->release();
}

TEST_F(GameOptionsTest, RefusedSwitchResynchronisesAndAcceptedLeavesTheOptions) {
    showMenu(L"HAUPTMENU");
    showMenu(L"OPTIONENMENU");
    int const wanted = modeIndex(1280, 720);
    slider(L"AufloesungSlider").setValue(static_cast<float>(wanted));
    box(L"O_Fullscreen").setChecked(true);
    EXPECT_TRUE(game->getOptions().isFullscreenChosen());
    box(L"O_Fullscreen").setChecked(false);  // the window mode stays; the size changes
    game->getOptions().applyChosenDisplayMode();
    EXPECT_TRUE(isActive(L"USE_SETTINGS_MENU"));
    EXPECT_EQ(deviceMode().Width, 1280u);
    Orvex::D3DInterface::getInstance().signalModeCountdown.emit(14.2f);
    // Counted down: 14.2 seconds left read as 15, the last second as 1.
    EXPECT_EQ(labelText(L"US_LABEL"), L"Ohne Antwort kehrt die alte in 15 Sekunden zur\u00fcck.");

    game->getOptions().answerDisplayMode(false);
    EXPECT_EQ(deviceMode().Width, 1024u);
    EXPECT_TRUE(isActive(L"OPTIONENMENU"));
    EXPECT_EQ(game->getOptions().getChosenModeIndex(), modeIndex(1024, 768));
    EXPECT_EQ(game->getOptions().getCurrentModeIndex(), modeIndex(1024, 768));
    EXPECT_EQ(slider(L"AufloesungSlider").getValue(), static_cast<float>(modeIndex(1024, 768)));
    EXPECT_FALSE(box(L"O_Fullscreen").isChecked());
    EXPECT_FALSE(game->getOptions().isFullscreenChosen());

    slider(L"AufloesungSlider").setValue(static_cast<float>(wanted));
    game->getOptions().applyChosenDisplayMode();
    game->getOptions().answerDisplayMode(true);
    EXPECT_EQ(deviceMode().Width, 1280u);
    EXPECT_EQ(game->getOptions().getCurrentModeIndex(), wanted);
    EXPECT_TRUE(isActive(L"HAUPTMENU"));
}

// Leaving the options steps back past the dialog, a warning and the options however often those
// stand in the history, and stops at the menu they were opened from.
TEST_F(GameOptionsTest, SteppingBackEndsAtTheOldestMenu) {
    Orvex::GUIMenuManagerN& menus = Orvex::GUIMenuManagerN::instance();
    showMenu(L"HAUPTMENU");
    int const from = menus.getHistoryIndex();
    for (int i = 0; i < 3; ++i) {
        showMenu(L"OPTIONENMENU");
        showMenu(L"USE_SETTINGS_MENU");
    }
    game->getOptions().stepBackPastOptions();
    EXPECT_EQ(menus.getHistoryIndex(), from);
    EXPECT_TRUE(isActive(L"HAUPTMENU"));
}

// The device's complaints about its mode list reach the warning dialog through the wiring.
TEST_F(GameOptionsTest, DeviceModeWarningsShowTheWarningDialog) {
    Orvex::D3DInterface& d3d = Orvex::D3DInterface::getInstance();
    struct Case {
        wchar_t const* textId;
        void (*emit)(Orvex::D3DInterface&);
    } const cases[] = {
        {L"SCREEN_RES_EINGSCHRAENKT", [](Orvex::D3DInterface& d) { d.signalModeListRestricted.emit(); }},
        {L"NON_SUPPORTED_DISPLAY_MODE_DETECTED",
         [](Orvex::D3DInterface& d) {
             D3DDISPLAYMODE mode = d.getDisplayMode();
             d.signalUnsupportedMode.emit(mode);
         }},
    };
    for (auto const& c : cases) {
        showMenu(L"OPTIONENMENU");
        c.emit(d3d);
        EXPECT_TRUE(isActive(L"WARNINGMENU")) << c.textId;
        EXPECT_EQ(labelText(L"W_WarningLabel"), Orvex::languageText(c.textId)) << c.textId;
        EXPECT_FALSE(labelText(L"W_WarningLabel").empty()) << c.textId;
    }
}

TEST_F(GameOptionsTest, VolumesChangeWhenTheSliderMovesAndAreSavedAsSettings) {
    ASSERT_NE(globals, nullptr);
    slider(L"SoundSlider").setValue(40.0f);
    slider(L"MusicSlider").setValue(15.0f);
    slider(L"RandomSlider").setValue(20.0f);
    EXPECT_EQ(globals->getSoundVolume(), 40.0f);
    EXPECT_EQ(globals->getMusicVolume(), 15.0f);
    EXPECT_FLOAT_EQ(Solitaire::StyleSettings::getStyleParam(), 0.2f);
    EXPECT_EQ(labelText(L"SoundSlider_TEXT"), L"Ger\u00e4usche: 40 %");
    EXPECT_EQ(labelText(L"MusicSlider_TEXT"), L"Musik: 15 %");
    EXPECT_EQ(labelText(L"RandomSlider_TEXT"), L"Zufall im Tischbild: 20 %");
    game->getCursorTable().onCursor1(*find(L"O_C1"));
    Orvex::XMLNode settings;
    globals->save(settings);
    EXPECT_EQ(settings.getChild(L"VOLUME")->getAttributeString(L"SOUNDVOLUME", L""), L"40");
    EXPECT_EQ(settings.getChild(L"VOLUME")->getAttributeString(L"MUSICVOLUME", L""), L"15");
    EXPECT_EQ(settings.getAttributeInt(L"MOUSE_CURSOR", -1), 1);
}

// A volume outside the sliders' range stays as read while its slider shows it held in range; the
// label's number is held in range too.
TEST_F(GameOptionsTest, VolumeOutsideTheRangeStaysUntilTheSliderMoves) {
    struct {
        float volume;
        float shown;
    } const cases[] = {{-5.0f, 0.0f}, {150.0f, 100.0f}, {1e30f, 100.0f}};
    for (auto const& c : cases) {
        Orvex::XMLNode settings;
        ASSERT_TRUE(settings.parse(L"<API_PARAMS><VOLUME SOUNDVOLUME=\"" + std::to_wstring(c.volume) +
                                   L"\" MUSICVOLUME=\"50\"/></API_PARAMS>"));
        globals->load(settings);
        Orvex::GUISlider& sound = slider(L"SoundSlider");
        sound.setValue(c.volume);
        game->getOptions().onSoundVolumeSlider(sound, sound.getValue());
        EXPECT_EQ(sound.getValue(), c.shown) << c.volume;
        EXPECT_EQ(globals->getSoundVolume(), c.volume) << c.volume;
        game->getOptions().onSoundVolumeSlider(sound, c.volume);  // a label of a value past every int
        EXPECT_FALSE(labelText(L"SoundSlider_TEXT").empty());
    }
    slider(L"SoundSlider").setValue(30.0f);
    EXPECT_EQ(globals->getSoundVolume(), 30.0f);
}

TEST_F(GameOptionsTest, CursorChoiceSetsTheSystemCursorAndItsShowCount) {
    Orvex::OrvexEngine& engine = *Orvex::OrvexEngine::getInstance();
    struct {
        void (Solitaire::CursorTable::*slot)(Orvex::GUIWindow&);
        int mode;
        bool arrow;
    } const cases[] = {{&Solitaire::CursorTable::onCursor0, 0, false},
                       {&Solitaire::CursorTable::onCursor3, 3, true},
                       {&Solitaire::CursorTable::onCursor2, 2, false},
                       {&Solitaire::CursorTable::onCursor2, 2, false},
                       {&Solitaire::CursorTable::onCursor3, 3, true}};
    for (auto const& c : cases) {
        (game->getCursorTable().*c.slot)(*find(L"O_C0"));
        EXPECT_EQ(globals->getMouseCursor(), c.mode);
        EXPECT_EQ(engine.getSystemCursor(), c.arrow) << c.mode;
        EXPECT_EQ(cursorCount() >= 0, c.arrow) << c.mode;
    }
    // A setting outside 0 to 3 shows the arrow; a count far below zero stops after a bounded run.
    globals->setMouseCursor(99);
    for (int i = 0; i < 200; ++i) ShowCursor(FALSE);
    game->getCursorTable().applyCursor();
    EXPECT_TRUE(engine.getSystemCursor());
    while (cursorCount() < 0) ShowCursor(TRUE);
}

TEST_F(GameOptionsTest, TutorialCheckboxesMoveTogetherAndSetTheProfile) {
    Solitaire::Profil* profile = addProfile(L"Anna");
    profiles().setActiveProfile(profile);
    wchar_t const* const boxes[] = {L"T_HELP_CHECKBOX_1", L"H_HELP_CHECKBOX_2", L"NP_HELP_CHECKBOX_3", L"O_Tutorial"};
    struct {
        wchar_t const* box;
        bool on;
    } const cases[] = {{L"O_Tutorial", false}, {L"O_Tutorial", true}, {L"H_HELP_CHECKBOX_2", false},
                       {L"H_HELP_CHECKBOX_2", true}};
    for (auto const& c : cases) {
        box(c.box).setChecked(c.on);
        EXPECT_EQ(profile->getShowTutorials(), c.on);
        for (wchar_t const* name : boxes)
            if (auto* checkbox = dynamic_cast<Orvex::GUICheckbox*>(find(name)))
                EXPECT_EQ(checkbox->getButton()->isChecked(), c.on) << std::string(name, name + wcslen(name));
    }
    // Set by code, the boxes leave the profile alone.
    game->getTutorialScreens().setCheckboxes(false);
    EXPECT_TRUE(profile->getShowTutorials());
    EXPECT_FALSE(box(L"O_Tutorial").isChecked());
    // Each box shows its new state within a fifth of a second: the pointer still resting on it
    // after the click does not see the old tick.
    for (wchar_t const* name : boxes)
        if (auto* checkbox = dynamic_cast<Orvex::GUICheckbox*>(find(name))) {
            EXPECT_LE(checkbox->getButton()->getFadeTime(), 0.2) << std::string(name, name + wcslen(name));
        }
}

TEST_F(GameOptionsTest, PreviewsShowTheCardSetAndItsBack) {
    game->getOptions().refresh();
    Solitaire::StyleSettings& style = Solitaire::StyleSettings::instance();
    EXPECT_EQ(find(L"O_CARDSET_PREVIEW")->getDrawOptions().getTexNormal(), Solitaire::findScreenTexture(L"O_KARTENSET1"));
    ASSERT_NE(style.getKartenset(), nullptr);
    EXPECT_EQ(find(L"O_CARDBACKPREVIEW")->getDrawOptions().getTexNormal(), style.getKartenset()->getBack(style.getCardsBack()));
}

// A player steps through the backs with the arrows: every step shows a back of the card set in
// the preview, six in all, and the arrows stop at its first and its last back.
TEST_F(GameOptionsTest, TheBackArrowsStepThroughEveryBackOfTheSetAndStopAtItsEnds) {
    Solitaire::StyleSettings& style = Solitaire::StyleSettings::instance();
    style.setCardsBack(0);
    showMenu(L"OPTIONENMENU");
    ASSERT_NE(style.getKartenset(), nullptr);
    std::set<Orvex::Texture2D*> shown;
    for (auto [arrow, back] : {std::pair{L"NEXT", 1}, {L"NEXT", 2}, {L"NEXT", 3}, {L"NEXT", 4}, {L"NEXT", 5},
                               {L"NEXT", 5}, {L"PREV", 4}, {L"PREV", 3}, {L"PREV", 2}, {L"PREV", 1}, {L"PREV", 0},
                               {L"PREV", 0}}) {
        click(*find(std::wstring(L"O_CARDBACK_") + arrow));
        Orvex::Texture2D* preview = find(L"O_CARDBACKPREVIEW")->getDrawOptions().getTexNormal();
        EXPECT_EQ(style.getCardsBack(), back);
        EXPECT_NE(preview, nullptr) << "an empty preview at back " << back;
        EXPECT_EQ(preview, style.getKartenset()->getBack(back));
        shown.insert(preview);
    }
    EXPECT_EQ(shown.size(), 6u);
}

// A choice made in the options while an override keeps the player's own look saved is what a
// later start without that override gives back, and what the profile file keeps for the next
// run: the style randomness after Golfplatz (its own), the card-set set after Zellen (the
// classics' own card set); the sets' card sets are named otherwise than their entries.
TEST_F(GameOptionsTest, AChoiceMadeUnderAnOverrideComesBackAfterIt) {
    Solitaire::StyleSettings& styles = Solitaire::StyleSettings::instance();
    for (wchar_t const* made : {L"MEIN_KLEIN\"><KARTENSET_SETS>\"|STANDARD|\" \"|MEIN|\"",
                                L"MEIN_GROSS\"><KARTENSET_SETS>\"|GROSS|\" \"|MEIN|\"",
                                L"CLASSIC_GROSS\"><KARTENSET_SETS>\"|GROSS|\" \"|CLASSIC|\""}) {
        Orvex::XMLNode node;
        ASSERT_TRUE(node.loadFromText(L"<K NAME=\"" + std::wstring(made) + L"</KARTENSET_SETS></K>"));
        auto* cards = new Solitaire::Kartenset(node);
        styles.addKartenset(cards);
        cards->release();
    }
    Solitaire::SolitaireManager& catalogue = Solitaire::SolitaireManager::instance();
    auto const start = [&](wchar_t const* category, wchar_t const* name) {
        return catalogue.setCurrentByNames(category, name, name) && catalogue.startVariant();
    };
    struct {
        char const* what;
        wchar_t const *category, *name;
        std::function<void()> choose;
        wchar_t const* key;
        std::wstring kept, look;  // the saved choice; randomness and card set after the start
    } const cases[] = {
        {"randomness", L"KNOBELEIEN", L"GOLFPLATZ", [] { slider(L"RandomSlider").setValue(35.0f); }, L"SAVED_SP",
         L"0.35", L"0.350000 MEIN_KLEIN"},
        {"card-set set", L"KLASSIKER", L"ZELLEN", [this] { game->getOptions().stepCardSet(1); }, L"SAVED_KS",
         L"MEIN_GROSS", L"0.500000 MEIN_GROSS"},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.what);
        styles.setStyleParam(0.5f);
        styles.selectCardSetSet(L"STANDARD");
        styles.selectCardSet(L"MEIN");
        ASSERT_TRUE(start(c.category, c.name));
        c.choose();
        Orvex::XMLNode saved(L"HIGHSCORES");
        catalogue.writeHighscores(saved);
        EXPECT_EQ(saved.getAttributeString(c.key, L""), c.kept);
        ASSERT_TRUE(start(L"KNOBELEIEN", L"HERZREIHE"));
        EXPECT_EQ(std::to_wstring(Solitaire::StyleSettings::getStyleParam()) + L" " + styles.getKartenset()->getName(), c.look);
    }
    catalogue.finishStatistics(false);
}

// The randomness slider shows the randomness in force each time the options open, the override's
// after Golfplatz and the player's own again after Herzreihe, and opening them chooses nothing.
// Before, it kept what it showed when the game started.
TEST_F(GameOptionsTest, TheRandomnessSliderShowsTheRandomnessInForce) {
    Solitaire::SolitaireManager& catalogue = Solitaire::SolitaireManager::instance();
    Solitaire::StyleSettings::instance().setStyleParam(0.5f);
    for (auto const& [name, shown] : {std::pair{L"GOLFPLATZ", 80.0f}, std::pair{L"HERZREIHE", 50.0f}}) {
        ASSERT_TRUE(catalogue.setCurrentByNames(L"KNOBELEIEN", name, name) && catalogue.startVariant());
        showMenu(L"HAUPTMENU");
        showMenu(L"OPTIONENMENU");
        EXPECT_FLOAT_EQ(slider(L"RandomSlider").getValue(), shown);
        EXPECT_FLOAT_EQ(Solitaire::StyleSettings::getStyleParam(), shown / 100.0f);
        Orvex::XMLNode saved(L"HIGHSCORES");
        catalogue.writeHighscores(saved);
        EXPECT_EQ(saved.getAttributeString(L"SAVED_SP", L""), shown == 80.0f ? L"0.5" : L"");
    }
    catalogue.finishStatistics(false);
}

TEST_F(GameOptionsTest, FocusLossPausesTheGameAndItsReturnStepsTheTimerAndTheCursor) {
    showMenu(L"HAUPTMENU");
    game->playModeMusic(true);
    std::wstring const music = Orvex::MusicManager::getInstance().getCurrentName();
    std::vector<uint32_t> const shown = frame();
    game->getCursorTable().onCursor2(*find(L"O_C2"));
    game->onWindowActive(false);
    EXPECT_FALSE(game->isActive());
    ShowCursor(TRUE);  // something else showed the pointer meanwhile
    std::vector<uint32_t> const paused = frame();
    keepBackBuffer("screen_focus_lost.png");
    auto brightness = [](uint32_t c) { return ((c >> 16) & 0xFF) + ((c >> 8) & 0xFF) + (c & 0xFF); };
    EXPECT_LT(brightness(at(paused, width / 2, height / 8)), brightness(at(shown, width / 2, height / 8)));
    EXPECT_EQ(Orvex::MusicManager::getInstance().getCurrentName(), music);  // the music plays on
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    game->onWindowActive(true);
    EXPECT_TRUE(game->isActive());
    EXPECT_LT(Orvex::PerfTimer::frameTimer().getRealDelta(), 0.1);  // the time away is not one step
    EXPECT_LT(cursorCount(), 0);
}

// A pile placed on the screen ("STAPEL_POS") stands at its place of the new size as soon as the
// new display mode is taken, before the next update: a test table's pile a quarter across and
// three quarters down, and the shipped cells' wildcards at the right edge.
TEST_F(GameOptionsTest, AScreenPlacedPileFollowsANewDisplayModeAtOnce) {
    Solitaire::Kartenmanager& cards = Solitaire::Kartenmanager::instance();
    struct Row {
        char const* what;
        std::function<void()> load;
        wchar_t const* pile;
        float x, y;
    } const rows[] = {
        {"a test table",
         [&] {
             Orvex::XMLNode table;
             ASSERT_TRUE(table.parse(
                 L"<SOLITAIRE NAME=\"P\" KARTEN_FARBE=\"HERZ\" ANZAHL_KARTEN=\"2\" AUTO_CHECK_END=\"0\">"
                 L"<STAPEL NAME=\"A\" POSITION_REL=\"0 0\" INIT_KARTEN_SICHTBAR=\"1\"><ANORDNUNG NAME=\"X\"/></STAPEL>"
                 L"<STAPEL NAME=\"B\" POSITION_REL=\"3 0\" INIT_KARTEN_SICHTBAR=\"1\"><ANORDNUNG NAME=\"X\"/></STAPEL>"
                 L"<DYNAMIC_STAPEL_POSES><STAPEL_POS NAME=\"B\" POSITION_REL=\"1 3 4\"/></DYNAMIC_STAPEL_POSES></SOLITAIRE>"));
             cards.loadGameDefinition(table, L"screen pile");
         },
         L"B", 0.25f, 0.75f},
        {"the shipped cells", [&] { ASSERT_TRUE(cards.loadGameDefinitionFile(L"data\\Level\\Zellen.sol")); },
         L"WILDCARDS", 0.955f, 0.3f},
    };
    for (Row const& row : rows) {
        SCOPED_TRACE(row.what);
        cards.createDiscardPile();
        row.load();
        cards.startGame(game->getCamera(), L"1", false, {}, {}, 0.0f);
        Solitaire::Kartenstapel* pile = cards.findPile(row.pile);
        ASSERT_NE(pile, nullptr);
        auto place = [&] {
            Orvex::FRect const& r = game->getCamera()->getRelativeRect();
            return D3DXVECTOR2(r.left + (r.right - r.left) * row.x, r.top + (r.bottom - r.top) * row.y);
        };
        auto at = [&] {
            Orvex::FRect const r = Solitaire::computeScreenRect(*pile, game->getCamera());
            return D3DXVECTOR2((r.left + r.right) * 0.5f, (r.top + r.bottom) * 0.5f);
        };
        EXPECT_NEAR(at().x, place().x, 0.5f);
        showMenu(L"OPTIONENMENU");
        slider(L"AufloesungSlider").setValue(static_cast<float>(modeIndex(1280, 720)));
        game->getOptions().applyChosenDisplayMode();
        ASSERT_EQ(deviceMode().Width, 1280u);
        EXPECT_NEAR(place().x, 1280.0f * row.x, 0.5f);
        EXPECT_NEAR(at().x, place().x, 0.5f);
        EXPECT_NEAR(at().y, place().y, 0.5f);
        game->getOptions().answerDisplayMode(false);
        ASSERT_EQ(deviceMode().Width, 1024u);
        cards.createDiscardPile();
    }
    cards.setCamera(nullptr);
}

}  // namespace
