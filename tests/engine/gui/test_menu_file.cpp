// The demo menu file (tests/engine/gui/data/menus.mnu) driven only by input events, and menu files
// with bad data: unknown link kinds, names that resolve to nothing, links that lead back to
// themselves, deep nesting. Each gives one log line and never hangs.
#include <algorithm>
#include <functional>

#include "tests/engine/gui/MenuFixture.h"

#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIMenuCreateClickN.h"
#include "engine/gui/GUIWindow.h"

using guitest::MenuFixture;
using guitest::narrow;

namespace {

class MenuFileTest : public MenuFixture {
protected:
    void loadDemoMenus() {
        loadMenuFile(L"tests\\engine\\gui\\data\\menus.mnu");
        rec.listen(L"BEENDEN");
        rec.listen(L"SPIEL_STARTEN");
        rec.watchMenus();
    }
};

}  // namespace

TEST_F(MenuFileTest, DemoMenusLoadCleanAndStartAtTheTitle) {
    loadDemoMenus();
    EXPECT_EQ(guitest::loggedCount({L"menus.mnu"}), 0);
    EXPECT_EQ(menus.getMenus().size(), 5u);
    EXPECT_EQ(history(), "*TITEL");
    settle();
    EXPECT_EQ(shown(), "hintergrund titel");
}

TEST_F(MenuFileTest, ScriptedDemoSwitchesScreensByInputAlone) {
    loadDemoMenus();
    settle();
    struct Step {
        char const* what;
        std::function<void()> input;
        double seconds;  // frames run after the input
        char const* history;
        char const* shown;
    };
    Step const steps[] = {
        {"options button", [&] { click(L"knopf_optionen"); }, 1.0, "TITEL *OPTIONEN", "hintergrund optionen_fenster"},
        {"F1 elsewhere does nothing", [&] { hover(L"knopf_ton"), key(L"F1"); }, 1.0, "TITEL *OPTIONEN",
         "hintergrund optionen_fenster"},
        {"F1 over the back button shows the help", [&] { hover(L"knopf_zurueck"), key(L"F1"); }, 1.0, "TITEL *OPTIONEN",
         "hintergrund optionen_fenster optionen_tipp"},
        {"sound button toggles the light", [&] { click(L"knopf_ton"); }, 1.0, "TITEL *OPTIONEN",
         "hintergrund optionen_fenster optionen_tipp"},
        {"typing a name over the prompt",
         [&] {
             for (wchar_t const* k : {L"O", L"T", L"T", L"O", L"BACK"}) key(k);
         },
         1.0, "TITEL *OPTIONEN", "hintergrund optionen_fenster optionen_tipp"},
        {"Escape goes back", [&] { key(L"ESCAPE"); }, 1.0, "*TITEL OPTIONEN", "hintergrund titel"},
        {"S follows the play button's caption", [&] { key(L"S"); }, 0.3, "TITEL *LADEN", "lade_hinweis"},
        {"loading ends after its wait", [&] { frame(0.3); }, 1.0, "TITEL LADEN *SPIEL", "spiel_leiste"},
        {"Escape opens the pause over the game", [&] { key(L"ESCAPE"); }, 1.0, "TITEL LADEN SPIEL *PAUSE",
         "pause_fenster spiel_leiste"},
        {"P is not heard in the pause", [&] { key(L"P"); }, 1.0, "TITEL LADEN SPIEL *PAUSE",
         "pause_fenster spiel_leiste"},
        {"continue", [&] { click(L"knopf_weiter"); }, 1.0, "TITEL LADEN *SPIEL PAUSE", "spiel_leiste"},
        {"pause button", [&] { click(L"knopf_pause"); }, 1.0, "TITEL LADEN SPIEL *PAUSE", "pause_fenster spiel_leiste"},
        {"main menu", [&] { click(L"knopf_hauptmenue"); }, 1.0, "TITEL LADEN SPIEL PAUSE *TITEL", "hintergrund titel"},
        {"Escape at the title calls the end event", [&] { key(L"ESCAPE"); }, 1.0, "TITEL LADEN SPIEL PAUSE *TITEL",
         "hintergrund titel"},
        {"Ctrl+Q", [&] { keys({L"LCONTROL"}, {L"Q"}); }, 1.0, "TITEL LADEN SPIEL PAUSE *TITEL", "hintergrund titel"},
    };
    std::string light;
    for (Step const& s : steps) {
        SCOPED_TRACE(s.what);
        s.input();
        for (double t = 0.0; t < s.seconds - 1e-9; t += 0.05) frame(0.05);
        EXPECT_EQ(history(), s.history);
        EXPECT_EQ(shown(), s.shown);
        if (std::string(s.what) == "sound button toggles the light") light = goalOf(L"blinker");
        if (std::string(s.what) == "Escape goes back") EXPECT_EQ(goalOf(L"titel"), "AN_LINKS");
        if (std::string(s.what) == "main menu") EXPECT_EQ(goalOf(L"titel"), "AN");
    }
    EXPECT_EQ(light, "AUS");
    EXPECT_EQ(Orvex::findShownLabel(L"name_feld")->getText(), L"ott");
    EXPECT_EQ(menus.getActiveMenu()->getName(), L"TITEL");
    EXPECT_EQ(active(), "TITEL");
    std::string const heard = rec.joined();
    EXPECT_NE(heard.find("menu LADEN<TITEL; event SPIELEN; menu SPIEL<LADEN"), std::string::npos) << heard;
    EXPECT_EQ(heard.substr(heard.size() - std::string("event ENDE; event SCHNELL_ENDE").size()),
              "event ENDE; event SCHNELL_ENDE");
}

TEST_F(MenuFileTest, BadLinksGiveOneLogLineAndNeverHang) {
    struct Case {
        char const* what;
        wchar_t const* data;
        std::function<void(MenuFileTest&)> input;
        std::vector<std::wstring> logged;
        char const* heard;
    };
    Case const cases[] = {
        {"unknown kind reads as a plain link",
         L"<GUIMENU NAME='M'><GUIMENULINK NAME='L' TYPE='ZAUBERN'><TRIGGER_KEYS><TRIGGER_KEYCOMBO>\"|Q|\""
         L"</TRIGGER_KEYCOMBO></TRIGGER_KEYS><CALL_EVENTS>\"|E|\"</CALL_EVENTS></GUIMENULINK></GUIMENU>",
         [](MenuFileTest& t) { t.key(L"Q"); },
         {L"\"L\"", L"ZAUBERN"},
         "event L"},
        {"a click link that clicks its own window",
         L"<GUIMENU NAME='M'><GUIMENULINK NAME='L' TYPE='CREATE_CLICK'><TRIGGER_WINDOW_LCLICK>\"|a|\""
         L"</TRIGGER_WINDOW_LCLICK><CREATE_LCLICK>\"|a|\"</CREATE_LCLICK></GUIMENULINK>"
         L"<GUIMENULINK NAME='ZAEHLER' PRIORITY='1' BREAK_AFTER_AKTION='0'><TRIGGER_WINDOW_LCLICK>\"|a|\""
         L"</TRIGGER_WINDOW_LCLICK><CALL_EVENTS>\"|E|\"</CALL_EVENTS></GUIMENULINK></GUIMENU>",
         [](MenuFileTest& t) { t.click(L"a"); },
         {L"\"L\"", L"leads back to itself"},
         "event ZAEHLER; event ZAEHLER"},
        {"a combination whose part clicks the combination's window",
         L"<GUIMENU NAME='M'><GUIMENULINK NAME='C' TYPE='COMBINATION'><TRIGGER_WINDOW_LCLICK>\"|a|\""
         L"</TRIGGER_WINDOW_LCLICK><CALL_EVENTS>\"|E|\"</CALL_EVENTS>"
         L"<GUIMENULINK NAME='TEIL' TYPE='CREATE_CLICK'><CREATE_LCLICK>\"|a|\"</CREATE_LCLICK></GUIMENULINK>"
         L"</GUIMENULINK></GUIMENU>",
         [](MenuFileTest& t) { t.click(L"a"); },
         {L"\"C\"", L"leads back to itself"},
         "event C"},
        {"two menus whose activation links activate each other",
         L"<GUIMENU NAME='M' ON_ACTIVATE_LINK='ZU_N'><GUIMENULINK NAME='ZU_N'><ACTIVATE_MENUS>\"|N|\"</ACTIVATE_MENUS>"
         L"<CALL_EVENTS>\"|E|\"</CALL_EVENTS></GUIMENULINK></GUIMENU>"
         L"<GUIMENU NAME='N' ON_ACTIVATE_LINK='ZU_M'><GUIMENULINK NAME='ZU_M'><ACTIVATE_MENUS>\"|M|\"</ACTIVATE_MENUS>"
         L"<CALL_EVENTS>\"|E|\"</CALL_EVENTS></GUIMENULINK></GUIMENU>",
         [](MenuFileTest& t) { t.menus.activateMenu(L"N", 0.0); },
         {L"\"N\"", L"switched to again"},
         "event ZU_N; event ZU_M"},
        {"a link naming windows and menus that do not exist",
         L"<GUIMENU NAME='M'><GUIMENULINK NAME='L' TYPE='BLENDGOAL'><BLENDGOAL GUIWINDOW='nirgends' BLENDGOAL='AN'/>"
         L"<TRIGGER_KEYS><TRIGGER_KEYCOMBO>\"|Q|\"</TRIGGER_KEYCOMBO></TRIGGER_KEYS>"
         L"<ACTIVATE_MENUS>\"|NIRGENDS|\"</ACTIVATE_MENUS></GUIMENULINK></GUIMENU>",
         [](MenuFileTest& t) { t.key(L"Q"); },
         {L"\"L\"", L"nirgends"},
         ""},
        {"clicks beyond reason",
         L"<GUIMENU NAME='M'><GUIMENULINK NAME='L' TYPE='CREATE_CLICK' N_TIMES='2000000000'>"
         L"<TRIGGER_KEYS><TRIGGER_KEYCOMBO>\"|Q|\"</TRIGGER_KEYCOMBO></TRIGGER_KEYS>"
         L"<CREATE_LCLICK>\"|a|\"</CREATE_LCLICK></GUIMENULINK>"
         L"<GUIMENULINK NAME='Z'><TRIGGER_WINDOW_LCLICK>\"|a|\"</TRIGGER_WINDOW_LCLICK>"
         L"<CALL_EVENTS>\"|E|\"</CALL_EVENTS></GUIMENULINK></GUIMENU>",
         [](MenuFileTest& t) { t.key(L"Q"); },
         {L"\"L\"", L"N_TIMES"},
         nullptr},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.what);
        menus.clear();
        gui.clear();
        loadMenus({L"a"}, std::wstring(c.data) + L"<GUIEVENT NAME='E'/>", L"ACTIVE_MENU='M'");
        rec.lines.clear();
        rec.listen(L"E");
        gui.findWindow(L"a")->jumpToGoal(L"AN");
        settle();
        c.input(*this);
        c.input(*this);
        EXPECT_EQ(guitest::loggedCount(c.logged), 1);
        if (c.heard) {
            std::string once = c.heard;
            EXPECT_EQ(rec.joined(), once.empty() ? "" : once + "; " + once);
        } else {
            EXPECT_EQ(rec.lines.size(), 2u * Orvex::GUIMenuCreateClickN::kMaxTimes);
        }
    }
}

TEST_F(MenuFileTest, DeepNestingOfCombinationsIsCut) {
    std::wstring links = L"<GUIMENULINK NAME='INNEN'><CALL_EVENTS>\"|E|\"</CALL_EVENTS></GUIMENULINK>";
    for (int i = 0; i < 40; ++i)
        links = L"<GUIMENULINK NAME='C" + std::to_wstring(i) + L"' TYPE='COMBINATION'>" + links + L"</GUIMENULINK>";
    loadMenus({}, L"<GUIMENU NAME='M'>" + links + L"</GUIMENU>", L"ACTIVE_MENU='M'");
    EXPECT_EQ(guitest::loggedCount({L"nested deeper"}), 1);
}

// A GUI file the menu file names again, under whichever spelling, is not loaded again (its
// windows would double); the first repetition is reported. After a clear it loads again.
TEST_F(MenuFileTest, AGUIFileNamedTwiceIsLoadedOnce) {
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        Orvex::XMLNode root;
        ASSERT_TRUE(root.loadFromText(guitest::quoted(L"<MENUES><GUI FILE='tests\\engine\\gui\\data\\fenster.gui'/>"
                                                      L"<GUI FILE='.\\TESTS\\Engine\\gui\\DATA\\Fenster.gui'/>"
                                                      L"<GUI FILE='tests\\engine\\gui\\data\\fenster.gui'/></MENUES>"),
                                      L"doppelt.mnu"));
        menus.load(root, L"doppelt.mnu");
        std::vector<Orvex::GUIWindow*> all;
        gui.collectAllWindows(all);
        EXPECT_EQ(std::count_if(all.begin(), all.end(),
                                [](Orvex::GUIWindow* w) { return w->getName() == L"hauptmenue"; }),
                  1);
        EXPECT_EQ(guitest::loggedCount({L"doppelt.mnu", L"line 1", L"loaded already"}), round + 1);
        menus.clear();
        gui.clear();
    }
}

TEST_F(MenuFileTest, MissingMenuFileLeavesNoMenus) {
    EXPECT_FALSE(menus.loadFile(L"data\\GUI\\gibt_es_nicht.mnu"));
    EXPECT_TRUE(menus.getMenus().empty());
    EXPECT_EQ(guitest::loggedCount({L"gibt_es_nicht.mnu"}), 1);
}

TEST_F(MenuFileTest, BranchingCascadesStopAfterAFixedNumberOfSteps) {
    // Twelve menus that each keep all the others shown: every order of them is a path of the
    // same-state rule, far too many to walk.
    std::wstring all;
    for (int i = 0; i < 12; ++i) all += L"\"|S" + std::to_wstring(i) + L"|\" ";
    std::wstring data;
    for (int i = 0; i < 12; ++i)
        data += L"<GUIMENU NAME='S" + std::to_wstring(i) + L"'><SAME_STATE>" + all + L"</SAME_STATE></GUIMENU>";
    loadMenus({}, data);
    menus.activateMenu(L"S0", 0.0);
    EXPECT_EQ(guitest::loggedCount({L"more than", L"menu activations"}), 1);
    for (Orvex::GUIMenuN* menu : menus.getMenus()) EXPECT_TRUE(menu->isActive()) << narrow(menu->getName());
    // The next event has its own budget.
    menus.activateMenu(L"S1", 0.0);
    EXPECT_EQ(guitest::loggedCount({L"more than", L"menu activations"}), 2);
}
