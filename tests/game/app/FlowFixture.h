// The game object on a copy of the game's own data, for the tests of the game flow, the menus
// and the button dispatcher. The copy gets the test catalogue of tests/game/app/flow_data (every
// variant the always-winnable row of hearts), a panel of buttons above every screen ("FT_Tafel",
// one button per name the dispatcher knows, so each row is reached by a real click through the
// GUI), the windows of other screens the flow reaches by name ("FT_Extras"), a few texts, the
// picture "FT_WALLPAPER", and a plain menu for each screen the game opens that the data does not
// hold yet. The profiles live in a file of the test's own folder.
//
// Input goes in as the window system would send it: pointer moves, presses, releases and double
// clicks through the game object's mouse slots, at window pixels.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "game/app/Profil.h"
#include "game/cards/Karte.h"
#include "tests/game/app/GameFixture.h"

namespace apptest {

class FlowFixture : public GameFixture {
public:
    // The buttons of the panel (window names).
    static std::vector<std::string> const& panelButtonNames();

protected:
    static constexpr unsigned kFlowWidth = 1024;
    static constexpr unsigned kFlowHeight = 768;

    void SetUp() override;
    void TearDown() override;
    // Stages the data and starts the game; profileText, when not empty, is the profile file.
    // With an active profile the start screen is left for the main menu (unless startAtMainMenu
    // is cleared). The catalogue is let go in TearDown (the next game object reads it again).
    void startFlow(std::string const& profileText = std::string());

    // The panel's button of that name (the dispatcher acts by the name alone).
    Orvex::GUIWindow* button(std::wstring const& name) const;
    // A press and a release at the window's middle.
    void click(Orvex::GUIWindow* window);
    void click(std::wstring const& panelButton) { click(button(panelButton)); }
    // The pointer at (x, y), as a mouse state with the button held (-1: none).
    Orvex::MouseState mouseAt(float x, float y, int held = -1);
    void pressAt(float x, float y, Orvex::OrvexMouseButton button = Orvex::OMB_LEFT);
    void releaseAt(float x, float y, Orvex::OrvexMouseButton button = Orvex::OMB_LEFT);
    void moveTo(float x, float y);
    // A click, then a double click and its release (the second press of a double click).
    void doubleClickAt(float x, float y);
    // "I_END_GAME" clicked, and the question that comes before a level ends without a star
    // answered "LB_OK".
    void endLevel();
    // Frames of 1/30 s until the table stands still (at most the given seconds).
    void settle(double seconds = 3.0);

    // The heart of that value (0 ace .. 12 king) of the running game.
    Solitaire::Karte* heart(int value) const;
    // A card's middle in window pixels.
    D3DXVECTOR2 pointOf(Solitaire::Karte const& card) const;
    // Moves the hearts from the ace up to the goal pile: the ace by a drag, the rest by double
    // clicks; count cards in all.
    void moveHearts(int count);
    int heartsOnGoal() const;
    // Presses where nothing is until the banner and the help panel are gone.
    void dismissPanels();
    // A point of the screen without windows or cards (between the row of hearts and the goal
    // pile, clear of the HUD's end-game button).
    static constexpr float kQuietX = 700.0f;
    static constexpr float kQuietY = 330.0f;

    // An engine tutorial strip of that name (no pages), which the game's tutorials show.
    static void addStrip(std::wstring const& name);
    // The game tutorials started since: the strip's name and the running level at that moment.
    struct ShownTutorial {
        std::wstring name;
        int level;
        std::wstring menu;
    };
    std::vector<ShownTutorial> const& shownTutorials() const { return tutorialLog.shown; }

    std::wstring activeMenu() const;
    // Whether the tutorial strips of the data stay (else only those a test adds).
    bool withDataTutorials = false;
    Solitaire::Profil* profile() const;
    float achievement(wchar_t const* name) const;

    struct TutorialLog : sigslot::has_slots<sigslot::single_threaded> {
        FlowFixture* fixture = nullptr;
        std::vector<ShownTutorial> shown;
        void onShown();
    } tutorialLog;
    std::filesystem::path stage;
    // Set before startFlow: the menu the menu file starts with, and text replaced in the staged
    // files (a window left out or of another kind).
    std::string firstMenu = "STARTMENU";
    bool startAtMainMenu = true;
    struct DataEdit {
        std::string file;
        std::string from;
        std::string to;
    };
    std::vector<DataEdit> dataEdits;
    // Texts ahead of the game's own, which they replace ("TEXT" elements).
    std::string extraTexts;
};

}  // namespace apptest
