// Menu links: key combinations, clicks and conditions, priorities and the break flag, wait
// timers, and each kind's action (undo, synthesised clicks, goal blends, combinations, sounds).
// Links call the event "E"; the recorder writes the name of the calling link.
#include "tests/engine/gui/MenuFixture.h"

#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIWindow.h"

using guitest::MenuFixture;
using guitest::narrow;

namespace {

class MenuLinkTest : public MenuFixture {
protected:
    // Menus M (active, id 1) and N (id 0), windows a, b, c, the event E, and the given links
    // inside M.
    void loadLinks(std::wstring const& links, std::wstring const& extraMenus = L"", bool clearFirst = true) {
        if (clearFirst) {
            menus.clear();
            gui.clear();
        }
        loadMenus({L"a", L"b", L"c"},
                  L"<GUIMENU NAME='M' MENU_ID='1'><LINKED_GUI_WINDOWS>\"|a|\" \"|b|\" \"|c|\"</LINKED_GUI_WINDOWS>" +
                      links + L"</GUIMENU><GUIMENU NAME='N'/>" + extraMenus + L"<GUIEVENT NAME='E'/>",
                  L"ACTIVE_MENU='M'");
        rec.lines.clear();
        rec.listen(L"E");
    }
};

}  // namespace

TEST_F(MenuLinkTest, KeyCombinationsMatchExactlyAndOnANewPress) {
    struct Case {
        char const* what;
        wchar_t const* combo;
        wchar_t const* extra;
        std::vector<std::wstring> held, pressed;
        int runs;
    };
    Case const cases[] = {
        {"one key", L"\"|Q|\"", L"", {}, {L"Q"}, 1},
        {"another key", L"\"|Q|\"", L"", {}, {L"W"}, 0},
        {"two keys", L"\"|LCONTROL|\" \"|Q|\"", L"", {L"LCONTROL"}, {L"Q"}, 1},
        {"two keys, a third held", L"\"|LCONTROL|\" \"|Q|\"", L"", {L"LCONTROL", L"LSHIFT"}, {L"Q"}, 0},
        {"two keys held, none new", L"\"|LCONTROL|\" \"|Q|\"", L"", {L"LCONTROL", L"Q"}, {}, 0},
        {"held with continuous trigger",
         L"\"|LCONTROL|\" \"|Q|\"",
         L"CONTINUOUS_KEY_TRIGGER='1'",
         {L"LCONTROL", L"Q"},
         {},
         1},
        {"key names ignore letter case", L"\"|q|\"", L"", {}, {L"Q"}, 1},
        {"a name that is neither key nor window", L"\"|gibts_nicht|\"", L"", {}, {L"Q"}, 0},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.what);
        loadLinks(std::wstring(L"<GUIMENULINK NAME='L' ") + c.extra + L"><TRIGGER_KEYS><TRIGGER_KEYCOMBO>" + c.combo +
                  L"</TRIGGER_KEYCOMBO></TRIGGER_KEYS><CALL_EVENTS>\"|E|\"</CALL_EVENTS></GUIMENULINK>");
        keys(c.held, c.pressed);
        EXPECT_EQ(static_cast<int>(rec.lines.size()), c.runs);
    }
}

TEST_F(MenuLinkTest, PriorityOrdersTheLinksAndBreakStopsTheRest) {
    struct Case {
        char const* what;
        wchar_t const* first;   // attributes of link "ERST" (first in the file)
        wchar_t const* second;  // of link "ZWEIT"
        char const* heard;
    };
    Case const cases[] = {
        {"higher priority breaks", L"PRIORITY='0'", L"PRIORITY='10'", "event ZWEIT"},
        {"higher priority goes on", L"PRIORITY='0'", L"PRIORITY='10' BREAK_AFTER_AKTION='0'",
         "event ZWEIT; event ERST"},
        {"-1 counts as the highest", L"PRIORITY='-1'", L"PRIORITY='1000'", "event ERST"},
        {"equal priorities keep file order", L"BREAK_AFTER_AKTION='0'", L"", "event ERST; event ZWEIT"},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.what);
        auto link = [](wchar_t const* name, wchar_t const* attributes) {
            return std::wstring(L"<GUIMENULINK NAME='") + name + L"' " + attributes +
                   L"><TRIGGER_KEYS><TRIGGER_KEYCOMBO>\"|Q|\"</TRIGGER_KEYCOMBO></TRIGGER_KEYS>"
                   L"<CALL_EVENTS>\"|E|\"</CALL_EVENTS></GUIMENULINK>";
        };
        loadLinks(link(L"ERST", c.first) + link(L"ZWEIT", c.second));
        key(L"Q");
        EXPECT_EQ(rec.joined(), c.heard);
    }
}

TEST_F(MenuLinkTest, ConditionsOnMenusAndTheHoveredWindow) {
    struct Case {
        char const* what;
        wchar_t const* conditions;
        bool hoverA;
        int runs;
    };
    Case const cases[] = {
        {"no conditions", L"", false, 1},
        {"can trigger while M is active", L"<CAN_TRIGGER_IF_ACTIVE>\"|M|\"</CAN_TRIGGER_IF_ACTIVE>", false, 1},
        {"can trigger only while N is active", L"<CAN_TRIGGER_IF_ACTIVE>\"|N|\"</CAN_TRIGGER_IF_ACTIVE>", false, 0},
        {"unknown menus impose nothing", L"<CAN_TRIGGER_IF_ACTIVE>\"|FEHLT|\"</CAN_TRIGGER_IF_ACTIVE>", false, 1},
        {"cannot trigger while M is active", L"<CANT_TRIGGER_IF_ACTIVE>\"|M|\"</CANT_TRIGGER_IF_ACTIVE>", false, 0},
        {"cannot by mask", L"<CANT_TRIGGER_IF_ACTIVE ID_MASK='1'/>", false, 0},
        {"can by mask", L"<CAN_TRIGGER_IF_ACTIVE ID_MASK='1'/>", false, 1},
        {"mouse over a, pointer on it", L"<MOUSE_OVER>\"|a|\"</MOUSE_OVER>", true, 1},
        {"mouse over a, pointer elsewhere", L"<MOUSE_OVER>\"|a|\"</MOUSE_OVER>", false, 0},
        {"mouse over names no window", L"<MOUSE_OVER>\"|fehlt|\"</MOUSE_OVER>", true, 0},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.what);
        loadLinks(std::wstring(L"<GUIMENULINK NAME='L'>") + c.conditions +
                  L"<TRIGGER_KEYS><TRIGGER_KEYCOMBO>\"|Q|\"</TRIGGER_KEYCOMBO></TRIGGER_KEYS>"
                  L"<CALL_EVENTS>\"|E|\"</CALL_EVENTS></GUIMENULINK>");
        settle();
        hover(c.hoverA ? L"a" : L"b");
        key(L"Q");
        EXPECT_EQ(static_cast<int>(rec.lines.size()), c.runs);
    }
}

TEST_F(MenuLinkTest, ClicksTriggerByUserIdOnTheirButton) {
    loadLinks(
        L"<GUIMENULINK NAME='LINKS'><TRIGGER_WINDOW_LCLICK>\"|a|\"</TRIGGER_WINDOW_LCLICK>"
        L"<CALL_EVENTS>\"|E|\"</CALL_EVENTS></GUIMENULINK>"
        L"<GUIMENULINK NAME='RECHTS'><TRIGGER_WINDOW_RCLICK>\"|a|\"</TRIGGER_WINDOW_RCLICK>"
        L"<CALL_EVENTS>\"|E|\"</CALL_EVENTS></GUIMENULINK>");
    settle();
    click(L"a");
    click(L"a", Orvex::OMB_RIGHT);
    click(L"b");
    EXPECT_EQ(rec.joined(), "event LINKS; event RECHTS");
}

TEST_F(MenuLinkTest, WaitTimersQueueRunsUpToTheParallelLimit) {
    struct Case {
        char const* what;
        wchar_t const* limit;
        char const* runs;  // runs per frame of 0.1 s after three triggers at 0, 0.1 and 0.2 s
    };
    Case const cases[] = {
        {"no limit", L"", "0000111000"},
        {"one at a time", L"MAX_PARALLEL='1'", "0000100000"},
        {"none", L"MAX_PARALLEL='0'", "0000000000"},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.what);
        loadLinks(std::wstring(L"<GUIMENULINK NAME='L' WAITTIMER='0.45' ") + c.limit +
                  L"><TRIGGER_KEYS><TRIGGER_KEYCOMBO>\"|Q|\"</TRIGGER_KEYCOMBO></TRIGGER_KEYS>"
                  L"<CALL_EVENTS>\"|E|\"</CALL_EVENTS></GUIMENULINK>");
        std::string runs;
        for (int i = 0; i < 10; ++i) {
            if (i < 3) key(L"Q");
            std::size_t const before = rec.lines.size();
            frame(0.1);
            runs += static_cast<char>('0' + (rec.lines.size() - before));
        }
        // Trigger i runs in the frame where 0.45 s after it have passed: frames 4, 5 and 6.
        EXPECT_EQ(runs, c.runs);
    }
}

// A run that triggers its own link again (here through the event it calls) queues a new wait
// while the waits are being counted down; the countdown walks a snapshot, so the new wait
// neither disturbs the walk nor counts down in that frame.
class Retrigger : public sigslot::has_slots<> {
public:
    int runs = 0;
    void onFired(Orvex::GUIMenuLinkN& link) {
        ++runs;
        link.trigger();
        link.trigger();
    }
};

TEST_F(MenuLinkTest, ARunThatTriggersItsLinkAgainQueuesForLater) {
    loadLinks(
        L"<GUIMENULINK NAME='L' WAITTIMER='0.5'><TRIGGER_KEYS><TRIGGER_KEYCOMBO>\"|Q|\"</TRIGGER_KEYCOMBO>"
        L"</TRIGGER_KEYS><CALL_EVENTS>\"|E|\"</CALL_EVENTS></GUIMENULINK>");
    Retrigger again;
    menus.findEvent(L"E")->fired.connect(&again, &Retrigger::onFired);
    key(L"Q");
    Orvex::GUIMenuLinkN* link = menus.findMenu(L"M")->findLink(L"L");
    frame(0.6);
    EXPECT_EQ(again.runs, 1);
    ASSERT_EQ(link->getPendingWaits().size(), 2u);
    EXPECT_FLOAT_EQ(link->getPendingWaits()[0], 0.5f);
    frame(0.6);
    EXPECT_EQ(again.runs, 3);
    EXPECT_EQ(link->getPendingWaits().size(), 4u);
}

TEST_F(MenuLinkTest, WaitsOnlyCountDownWhileAListingMenuIsActive) {
    loadLinks(
        L"<GUIMENULINK NAME='L' WAITTIMER='0.5'><TRIGGER_KEYS><TRIGGER_KEYCOMBO>\"|Q|\"</TRIGGER_KEYCOMBO>"
        L"</TRIGGER_KEYS><CALL_EVENTS>\"|E|\"</CALL_EVENTS></GUIMENULINK>",
        L"<GUIMENU NAME='O' MENU_ID='1'/>");
    key(L"Q");
    menus.activateMenu(L"O", 0.0);
    frame(1.0);
    EXPECT_EQ(rec.lines.size(), 0u);
    menus.activateMenu(L"M", 0.0);
    frame(1.0);
    EXPECT_EQ(rec.lines.size(), 1u);
}

TEST_F(MenuLinkTest, PlainLinkActivatesItsMenusFromLastToFirst) {
    loadLinks(
        L"<GUIMENULINK NAME='L'><TRIGGER_KEYS><TRIGGER_KEYCOMBO>\"|Q|\"</TRIGGER_KEYCOMBO></TRIGGER_KEYS>"
        L"<ACTIVATE_MENUS>\"|A|\" \"|FEHLT|\" \"|B|\"</ACTIVATE_MENUS></GUIMENULINK>",
        L"<GUIMENU NAME='A' MENU_ID='1'><GUIMENULINKS>\"|L2|\"</GUIMENULINKS></GUIMENU>"
        L"<GUIMENU NAME='B' MENU_ID='1'/>");
    key(L"Q");
    EXPECT_EQ(history(), "M B *A");
    EXPECT_EQ(active(), "A");
}

TEST_F(MenuLinkTest, UndoStepsBackOverSkipMenusAndStopsWhereItCannotMove) {
    struct Case {
        char const* what;
        wchar_t const* undo;  // attributes and children of the undo link
        char const* history;
    };
    Case const cases[] = {
        {"one back", L"UNDOS='-1'>", "M1 *M2 M3"},
        {"default is one back", L">", "M1 *M2 M3"},
        {"two back", L"UNDOS='-2'>", "*M1 M2 M3"},
        {"far back", L"UNDOS='-50'>", "*M1 M2 M3"},
        {"one back over a skip menu", L"UNDOS='-1'><SKIP_MENUES>\"|M2|\"</SKIP_MENUES>", "*M1 M2 M3"},
        // No direction to skip in, and an end of the history that is a skip menu itself: the
        // skipping stops and the menu reached stays.
        {"zero steps on a skip menu", L"UNDOS='0'><SKIP_MENUES>\"|M3|\"</SKIP_MENUES>", "M1 M2 *M3"},
        {"back to a skipped start", L"UNDOS='-1'><SKIP_MENUES>\"|M1|\" \"|M2|\"</SKIP_MENUES>", "*M1 M2 M3"},
        {"forward onto a skipped end", L"UNDOS='1'><SKIP_MENUES>\"|M3|\"</SKIP_MENUES>", "M1 M2 *M3"},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.what);
        menus.clear();
        gui.clear();
        loadMenus({}, std::wstring(L"<GUIMENU NAME='M1' MENU_ID='1'><GUIMENULINKS>\"|U|\"</GUIMENULINKS></GUIMENU>"
                                   L"<GUIMENU NAME='M2' MENU_ID='1'><GUIMENULINKS>\"|U|\"</GUIMENULINKS></GUIMENU>"
                                   L"<GUIMENU NAME='M3' MENU_ID='1'><GUIMENULINKS>\"|U|\"</GUIMENULINKS></GUIMENU>"
                                   L"<GUIMENULINK NAME='U' TYPE='UNDO' ") +
                          c.undo +
                          L"<TRIGGER_KEYS><TRIGGER_KEYCOMBO>\"|Q|\"</TRIGGER_KEYCOMBO></TRIGGER_KEYS>"
                          L"<CALL_EVENTS>\"|E|\"</CALL_EVENTS></GUIMENULINK><GUIEVENT NAME='E'/>");
        rec.lines.clear();
        rec.listen(L"E");
        for (wchar_t const* name : {L"M1", L"M2", L"M3"}) menus.activateMenu(name, 0.0);
        key(L"Q");
        EXPECT_EQ(history(), c.history);
        EXPECT_EQ(rec.joined(), "event U");
    }
}

TEST_F(MenuLinkTest, CreateClickClicksWindowsWithoutAPointer) {
    loadLinks(
        L"<GUIMENULINK NAME='K' TYPE='CREATE_CLICK' N_TIMES='2'>"
        L"<TRIGGER_KEYS><TRIGGER_KEYCOMBO>\"|Q|\"</TRIGGER_KEYCOMBO></TRIGGER_KEYS>"
        L"<CREATE_LCLICK>\"|a|\" \"|fehlt|\"</CREATE_LCLICK><CREATE_RCLICK>\"|b|\"</CREATE_RCLICK>"
        L"<ACTIVATE_MENUS>\"|N|\"</ACTIVATE_MENUS></GUIMENULINK>"
        L"<GUIMENULINK NAME='A_GEKLICKT' BREAK_AFTER_AKTION='0'><TRIGGER_WINDOW_LCLICK>\"|a|\"</TRIGGER_WINDOW_LCLICK>"
        L"<CALL_EVENTS>\"|E|\"</CALL_EVENTS></GUIMENULINK>");
    guitest::Recorder windows;
    windows.watch(*gui.findWindow(L"a"));
    windows.watch(*gui.findWindow(L"b"));
    key(L"Q");
    std::wstring const once =
        L"leftPressed a 1; leftClicked a; leftReleased a 1; rightPressed b 1; rightClicked b; "
        L"rightReleased b 1";
    EXPECT_EQ(narrow(windows.joined()), narrow(once + L"; " + once));
    EXPECT_EQ(rec.joined(), "event A_GEKLICKT; event A_GEKLICKT");
    EXPECT_EQ(history(), "*M");  // its menus to activate are not used
    EXPECT_EQ(guitest::loggedCount({L"\"K\"", L"fehlt"}), 1);
}

TEST_F(MenuLinkTest, CreateClickReachesAParentThroughInputToParent) {
    gui.clear();
    guitest::loadText(
        guitest::quoted(L"<GUI><WINDOW NAME='eltern' USER_ID='eltern'><WINDOW NAME='kind'><WINDOW_PARAMS>"
                        L"<OPTIONS INPUT_TO_PARENT='1'/></WINDOW_PARAMS></WINDOW></WINDOW></GUI>"));
    loadLinks(
        L"<GUIMENULINK NAME='K' TYPE='CREATE_CLICK'><TRIGGER_KEYS><TRIGGER_KEYCOMBO>\"|Q|\"</TRIGGER_KEYCOMBO>"
        L"</TRIGGER_KEYS><CREATE_LCLICK>\"|kind|\"</CREATE_LCLICK></GUIMENULINK>"
        L"<GUIMENULINK NAME='ELTERN'><TRIGGER_WINDOW_LCLICK>\"|eltern|\"</TRIGGER_WINDOW_LCLICK>"
        L"<CALL_EVENTS>\"|E|\"</CALL_EVENTS></GUIMENULINK>",
        L"", false);
    key(L"Q");
    EXPECT_EQ(rec.joined(), "event ELTERN");
}

TEST_F(MenuLinkTest, BlendGoalTogglesOrRepeatsItsFirstGoal) {
    struct Case {
        char const* what;
        wchar_t const* entry;
        char const* goals;  // the goal of window a after each of three runs
    };
    Case const cases[] = {
        {"toggle", L"<BLENDGOAL GUIWINDOW='a' BLENDGOAL='AN' TOGGLE='1'>\"|AUS|\"</BLENDGOAL>", "AN AUS AN"},
        {"toggle starts after the goal the window is at",
         L"<BLENDGOAL GUIWINDOW='a' BLENDGOAL='AUS' TOGGLE='1'>\"|AN|\"</BLENDGOAL>", "AN AUS AN"},
        {"no toggle", L"<BLENDGOAL GUIWINDOW='a' BLENDGOAL='AN'>\"|AUS|\"</BLENDGOAL>", "AN AN AN"},
        {"no goals", L"<BLENDGOAL GUIWINDOW='a'/>", "AUS AUS AUS"},
        {"missing window", L"<BLENDGOAL GUIWINDOW='fehlt' BLENDGOAL='AN'/>", "AUS AUS AUS"},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.what);
        // Window a is hidden (ignored by M) so the runs alone move it.
        menus.clear();
        gui.clear();
        loadMenus({L"a"},
                  std::wstring(L"<GUIMENU NAME='M'><GUIMENULINK NAME='B' TYPE='BLENDGOAL'>"
                               L"<TRIGGER_KEYS><TRIGGER_KEYCOMBO>\"|Q|\"</TRIGGER_KEYCOMBO></TRIGGER_KEYS>") +
                      c.entry + L"</GUIMENULINK></GUIMENU>",
                  L"ACTIVE_MENU='M'");
        std::string goals;
        for (int i = 0; i < 3; ++i) {
            key(L"Q");
            settle();
            goals += (goals.empty() ? "" : " ") + goalOf(L"a");
        }
        EXPECT_EQ(goals, c.goals);
    }
}

TEST_F(MenuLinkTest, CombinationTriggersItsLinksThenActsItself) {
    loadLinks(
        L"<GUIMENULINK NAME='C' TYPE='COMBINATION'><TRIGGER_KEYS><TRIGGER_KEYCOMBO>\"|Q|\"</TRIGGER_KEYCOMBO>"
        L"</TRIGGER_KEYS><CALL_EVENTS>\"|E|\"</CALL_EVENTS>"
        L"<GUIMENULINK NAME='SOFORT'><CALL_EVENTS>\"|E|\"</CALL_EVENTS></GUIMENULINK>"
        L"<GUIMENULINK NAME='SPAETER' WAITTIMER='0.3'><CALL_EVENTS>\"|E|\"</CALL_EVENTS></GUIMENULINK>"
        L"<GUIMENULINK NAME='TON' TYPE='SOUND' CUE='gibt_es_nicht'><CALL_EVENTS>\"|E|\"</CALL_EVENTS>"
        L"</GUIMENULINK></GUIMENULINK>");
    key(L"Q");
    EXPECT_EQ(rec.joined(), "event SOFORT; event TON; event C");
    frame(0.4);
    EXPECT_EQ(rec.joined(), "event SOFORT; event TON; event C; event SPAETER");
}

TEST_F(MenuLinkTest, OnlyTheActiveMenusLinksWithUseOnlyThisLinks) {
    struct Case {
        char const* what;
        wchar_t const* flag;
        char const* heard;
    };
    Case const cases[] = {{"all active menus listen", L"", "event VON_O; event VON_M"},
                          {"only the active menu", L"USE_ONLY_THIS_LINKS='1'", "event VON_O"}};
    for (Case const& c : cases) {
        SCOPED_TRACE(c.what);
        loadLinks(
            L"<GUIMENULINK NAME='VON_M' BREAK_AFTER_AKTION='0'><TRIGGER_KEYS><TRIGGER_KEYCOMBO>\"|Q|\""
            L"</TRIGGER_KEYCOMBO></TRIGGER_KEYS><CALL_EVENTS>\"|E|\"</CALL_EVENTS></GUIMENULINK>",
            std::wstring(L"<GUIMENU NAME='O' MENU_ID='2' ") + c.flag +
                L"><INVERT_STATE ID_MASK='0'/><GUIMENULINK NAME='VON_O' BREAK_AFTER_AKTION='0'>"
                L"<TRIGGER_KEYS><TRIGGER_KEYCOMBO>\"|Q|\"</TRIGGER_KEYCOMBO></TRIGGER_KEYS>"
                L"<CALL_EVENTS>\"|E|\"</CALL_EVENTS></GUIMENULINK></GUIMENU>");
        menus.activateMenu(L"O", 0.0);
        EXPECT_EQ(active(), "M O");
        key(L"Q");
        EXPECT_EQ(rec.joined(), c.heard);
    }
}

TEST_F(MenuLinkTest, KeyFollowsTheCaptionOfAButton) {
    gui.clear();
    guitest::loadText(
        guitest::quoted(L"<GUI><WINDOW NAME='knopf' TYPE='BUTTON'><BUTTON_PARAMS><LABEL_PARAMS TEXT='Quit'/>"
                        L"</BUTTON_PARAMS></WINDOW><WINDOW NAME='schild' TYPE='LABEL'/></GUI>"));
    loadLinks(
        L"<GUIMENULINK NAME='KNOPF'><TRIGGER_KEYS><TRIGGER_KEYCOMBO>\"|knopf|\"</TRIGGER_KEYCOMBO></TRIGGER_KEYS>"
        L"<CALL_EVENTS>\"|E|\"</CALL_EVENTS></GUIMENULINK>"
        L"<GUIMENULINK NAME='SCHILD'><TRIGGER_KEYS><TRIGGER_KEYCOMBO>\"|LCONTROL|\" \"|schild|\"</TRIGGER_KEYCOMBO>"
        L"</TRIGGER_KEYS><CALL_EVENTS>\"|E|\"</CALL_EVENTS></GUIMENULINK>",
        L"", false);
    struct Step {
        wchar_t const* caption;  // of the button; the label shows the same
        std::vector<std::wstring> held;
        wchar_t const* key;
        char const* heard;
    };
    Step const steps[] = {
        {L"Quit", {}, L"Q", "event KNOPF"},
        {L"Weiter", {}, L"Q", ""},
        {L"Weiter", {}, L"W", "event KNOPF"},
        {L"Weiter", {L"LCONTROL"}, L"W", "event SCHILD"},
        {L"", {}, L"W", ""},
    };
    for (Step const& s : steps) {
        SCOPED_TRACE(narrow(s.caption) + " " + narrow(s.key));
        Orvex::findShownLabel(L"knopf")->setText(s.caption);
        Orvex::findShownLabel(L"schild")->setText(s.caption);
        rec.lines.clear();
        keys(s.held, {s.key});
        EXPECT_EQ(rec.joined(), s.heard);
    }
}
