// The menu manager and its menus: the invert, same-state and ignore rules, goals and their
// overrides, the flags of linked and post-activate windows, the history, and the start menu.
#include "tests/engine/gui/MenuFixture.h"

#include "engine/gui/GUIWindow.h"

using guitest::MenuFixture;
using guitest::narrow;

namespace {

class MenuManagerTest : public MenuFixture {};

}  // namespace

TEST_F(MenuManagerTest, RulesDecideWhichMenusStayActive) {
    struct Case {
        char const* what;
        wchar_t const* menus;
        std::vector<std::wstring> activations;
        char const* active;
        char const* shown;
    };
    Case const cases[] = {
        {"invert -1 hides every other menu with an id, id 0 stays",
         L"<GUIMENU NAME='A' MENU_ID='1'><LINKED_GUI_WINDOWS>\"|a|\"</LINKED_GUI_WINDOWS></GUIMENU>"
         L"<GUIMENU NAME='B' MENU_ID='1'><LINKED_GUI_WINDOWS>\"|b|\"</LINKED_GUI_WINDOWS></GUIMENU>"
         L"<GUIMENU NAME='C' MENU_ID='0'><LINKED_GUI_WINDOWS>\"|c|\"</LINKED_GUI_WINDOWS></GUIMENU>"
         L"<GUIMENU NAME='D' MENU_ID='2'><LINKED_GUI_WINDOWS>\"|d|\"</LINKED_GUI_WINDOWS></GUIMENU>",
         {L"C", L"B", L"D", L"A"},
         "A C",
         "a c"},
        {"a menu with id 0 named in INVERT_STATE is hidden",
         L"<GUIMENU NAME='A' MENU_ID='1'><LINKED_GUI_WINDOWS>\"|a|\"</LINKED_GUI_WINDOWS>"
         L"<INVERT_STATE>\"|C|\"</INVERT_STATE></GUIMENU>"
         L"<GUIMENU NAME='C'><LINKED_GUI_WINDOWS>\"|c|\"</LINKED_GUI_WINDOWS></GUIMENU>",
         {L"C", L"A"},
         "A",
         "a"},
        {"named in INVERT_STATE and IGNORE_STATE: left alone",
         L"<GUIMENU NAME='A' MENU_ID='1'><LINKED_GUI_WINDOWS>\"|a|\"</LINKED_GUI_WINDOWS>"
         L"<INVERT_STATE>\"|B|\"</INVERT_STATE><IGNORE_STATE>\"|B|\"</IGNORE_STATE></GUIMENU>"
         L"<GUIMENU NAME='B'><LINKED_GUI_WINDOWS>\"|b|\"</LINKED_GUI_WINDOWS></GUIMENU>",
         {L"B", L"A"},
         "A B",
         "a b"},
        {"ignore by mask",
         L"<GUIMENU NAME='A' MENU_ID='1'><LINKED_GUI_WINDOWS>\"|a|\"</LINKED_GUI_WINDOWS>"
         L"<IGNORE_STATE ID_MASK='2'/></GUIMENU>"
         L"<GUIMENU NAME='B' MENU_ID='2'><LINKED_GUI_WINDOWS>\"|b|\"</LINKED_GUI_WINDOWS><INVERT_STATE "
         L"ID_MASK='0'/></GUIMENU>",
         {L"B", L"A"},
         "A B",
         "a b"},
        {"two menus naming each other in SAME_STATE activate each other once",
         L"<GUIMENU NAME='A'><LINKED_GUI_WINDOWS>\"|a|\"</LINKED_GUI_WINDOWS><SAME_STATE>\"|B|\"</SAME_STATE></GUIMENU>"
         L"<GUIMENU "
         L"NAME='B'><LINKED_GUI_WINDOWS>\"|b|\"</LINKED_GUI_WINDOWS><SAME_STATE>\"|A|\"</SAME_STATE></GUIMENU>",
         {L"A"},
         "A B",
         "a b"},
        {"a window shared with a hidden menu shows again as post-activate window",
         L"<GUIMENU NAME='A' MENU_ID='1'><LINKED_GUI_WINDOWS>\"|a|\" \"|c|\"</LINKED_GUI_WINDOWS></GUIMENU>"
         L"<GUIMENU NAME='B' MENU_ID='1'><LINKED_GUI_WINDOWS>\"|c|\" \"|b|\""
         L"<POST_ACTIVATE_GUI_WINDOWS>\"|c|\"</POST_ACTIVATE_GUI_WINDOWS></LINKED_GUI_WINDOWS></GUIMENU>",
         {L"A", L"B"},
         "B",
         "b c"},
        {"without the post-activate entry the shared window goes",
         L"<GUIMENU NAME='A' MENU_ID='1'><LINKED_GUI_WINDOWS>\"|a|\" \"|c|\"</LINKED_GUI_WINDOWS></GUIMENU>"
         L"<GUIMENU NAME='B' MENU_ID='1'><LINKED_GUI_WINDOWS>\"|c|\" \"|b|\"</LINKED_GUI_WINDOWS></GUIMENU>",
         {L"A", L"B"},
         "B",
         "b"},
        {"a missing window shifts the ignore-on-activate positions",
         L"<GUIMENU NAME='A'><LINKED_GUI_WINDOWS>\"|fehlt|\" \"|a|\" \"|b|\""
         L"<IGNORE_ON_ACTIVATE>\"|1|\" \"|0|\"</IGNORE_ON_ACTIVATE></LINKED_GUI_WINDOWS></GUIMENU>",
         {L"A"},
         "A",
         "b"},
        // The post-activate list is longer than the flags: position 1 has no bit, which counts as
        // clear, so the second entry shows the window that the first leaves alone.
        {"post-activate positions past the flags count as clear",
         L"<GUIMENU NAME='A'><LINKED_GUI_WINDOWS>\"|a|\""
         L"<POST_ACTIVATE_GUI_WINDOWS>\"|a|\" \"|a|\"</POST_ACTIVATE_GUI_WINDOWS>"
         L"<IGNORE_ON_ACTIVATE>\"|1|\"</IGNORE_ON_ACTIVATE></LINKED_GUI_WINDOWS></GUIMENU>",
         {L"A"},
         "A",
         "a"},
        {"post-activate window with its bit set stays",
         L"<GUIMENU NAME='A'><LINKED_GUI_WINDOWS>\"|a|\""
         L"<POST_ACTIVATE_GUI_WINDOWS>\"|a|\"</POST_ACTIVATE_GUI_WINDOWS>"
         L"<IGNORE_ON_ACTIVATE>\"|1|\"</IGNORE_ON_ACTIVATE></LINKED_GUI_WINDOWS></GUIMENU>",
         {L"A"},
         "A",
         ""},
        {"ignore-on-deactivate keeps a window shown",
         L"<GUIMENU NAME='A' MENU_ID='1'><LINKED_GUI_WINDOWS>\"|a|\" \"|c|\""
         L"<IGNORE_ON_DEACTIVATE>\"|0|\" \"|1|\"</IGNORE_ON_DEACTIVATE></LINKED_GUI_WINDOWS></GUIMENU>"
         L"<GUIMENU NAME='B' MENU_ID='1'><LINKED_GUI_WINDOWS>\"|b|\"</LINKED_GUI_WINDOWS></GUIMENU>",
         {L"A", L"B"},
         "B",
         "b c"},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.what);
        menus.clear();
        gui.clear();
        loadMenus({L"a", L"b", L"c", L"d"}, c.menus);
        for (std::wstring const& name : c.activations) ASSERT_TRUE(menus.findMenu(name)) << narrow(name);
        for (std::wstring const& name : c.activations) menus.findMenu(name)->activate(0.0);
        EXPECT_EQ(active(), c.active);
        EXPECT_EQ(shown(), c.shown);
    }
}

TEST_F(MenuManagerTest, GoalOverridesChooseTheGoalOfAnotherMenu) {
    guitest::loadText(
        guitest::quoted(L"<GUI><WINDOW NAME='x'><WINDOW_PARAMS ANIMATION_GOAL='AUS'>"
                        L"<ANIMATION_GOAL NAME='AN'/><ANIMATION_GOAL NAME='AUS'/><ANIMATION_GOAL NAME='LINKS'/>"
                        L"<ANIMATION_GOAL NAME='WEG'/></WINDOW_PARAMS></WINDOW></GUI>"));
    loadMenus({},
              L"<GUIMENU NAME='A' MENU_ID='1'><LINKED_GUI_WINDOWS>\"|x|\"</LINKED_GUI_WINDOWS></GUIMENU>"
              L"<GUIMENU NAME='B' MENU_ID='1'><USE_ACTIVATE_GOAL MENU='A' GOAL='LINKS'/>"
              L"<USE_DEACTIVATE_GOAL MENU='A' GOAL='WEG'/></GUIMENU>"
              L"<GUIMENU NAME='C' MENU_ID='1'><USE_ACTIVATE_GOAL MENU='A'/><USE_ACTIVATE_GOAL MENU='FEHLT' GOAL='X'/>"
              L"</GUIMENU>"
              L"<GUIMENU NAME='D' ACTIVATE_GOAL='GIBT_ES_NICHT'><INVERT_STATE "
              L"ID_MASK='0'/><LINKED_GUI_WINDOWS>\"|x|\"</LINKED_GUI_WINDOWS>"
              L"</GUIMENU>");
    struct Step {
        wchar_t const* menu;
        char const* goal;
    };
    Step const steps[] = {{L"A", "AN"}, {L"B", "WEG"}, {L"A", "LINKS"}, {L"C", "WEG"}, {L"D", "AN"}, {L"A", "AN"}};
    for (Step const& s : steps) {
        SCOPED_TRACE(narrow(s.menu));
        menus.findMenu(s.menu)->activate(0.0);
        EXPECT_EQ(goalOf(L"x"), s.goal);
    }
}

TEST_F(MenuManagerTest, HistoryGrowsWithSwitchesAndIsCutAfterGoingBack) {
    struct Case {
        char const* what;
        std::vector<std::wstring> ops;  // a menu name activates it, a number moves in the history
        char const* history;
        char const* changes;
    };
    Case const cases[] = {
        {"three switches", {L"A", L"B", L"C"}, "A B *C", "menu A<-; menu B<A; menu C<B"},
        {"the same menu again", {L"A", L"A"}, "*A", "menu A<-; menu A<A"},
        {"back two, then a third menu",
         {L"A", L"B", L"C", L"-2", L"B"},
         "A *B",
         "menu A<-; menu B<A; menu C<B; menu A<C; menu B<A"},
        {"back past the start", {L"A", L"B", L"-5"}, "*A B", "menu A<-; menu B<A; menu A<B"},
        {"forward past the end", {L"A", L"B", L"-1", L"9"}, "A *B", "menu A<-; menu B<A; menu A<B; menu B<A"},
        {"moving with an empty history", {L"-1"}, "", ""},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.what);
        menus.clear();
        gui.clear();
        loadMenus({L"a", L"b", L"c"},
                  L"<GUIMENU NAME='A' MENU_ID='1'/><GUIMENU NAME='B' MENU_ID='1'/>"
                  L"<GUIMENU NAME='C' MENU_ID='1'/>");
        rec.lines.clear();
        rec.watchMenus();
        for (std::wstring const& op : c.ops) {
            if (op[0] == L'-' || iswdigit(op[0])) {
                Orvex::GUIMenuN* moved = menus.moveInHistory(std::stoi(op), 0.0);
                EXPECT_EQ(moved == nullptr, menus.getHistory().empty());
            } else {
                EXPECT_TRUE(menus.activateMenu(op, 0.0));
            }
        }
        EXPECT_EQ(history(), c.history);
        EXPECT_EQ(rec.joined(), c.changes);
        menus.menuChanged.disconnect(&rec);
    }
    EXPECT_FALSE(menus.activateMenu(L"FEHLT", 0.0));
}

TEST_F(MenuManagerTest, HistoryMenuClampsTheOffset) {
    loadMenus({}, L"<GUIMENU NAME='A'/><GUIMENU NAME='B'/><GUIMENU NAME='C'/>");
    EXPECT_EQ(menus.getHistoryMenu(0), nullptr);
    for (wchar_t const* name : {L"A", L"B", L"C"}) menus.activateMenu(name, 0.0);
    menus.moveInHistory(-1, 0.0);
    struct Case {
        int offset;
        wchar_t const* menu;
    };
    for (Case c : {Case{0, L"B"}, Case{-1, L"A"}, Case{1, L"C"}, Case{-7, L"A"}, Case{7, L"C"}})
        EXPECT_EQ(menus.getHistoryMenu(c.offset)->getName(), c.menu) << c.offset;
}

TEST_F(MenuManagerTest, StartMenuBlendsInFromHidden) {
    loadMenus({L"a", L"b"},
              L"<GUIMENU NAME='A' MENU_ID='1'><LINKED_GUI_WINDOWS>\"|a|\"</LINKED_GUI_WINDOWS></GUIMENU>"
              L"<GUIMENU NAME='B' MENU_ID='1' ACTIVE='1'><LINKED_GUI_WINDOWS>\"|b|\"</LINKED_GUI_WINDOWS></GUIMENU>",
              L"ACTIVE_MENU='A' DEACTIVATE_ACTIVATE_START_SPEED='1'");
    EXPECT_EQ(history(), "*A");
    EXPECT_EQ(active(), "A");
    EXPECT_TRUE(gui.findWindow(L"a")->isAnimating());
    settle();
    EXPECT_EQ(shown(), "a");
}

// Each names the file and the line of the menu or link that names the missing one.
TEST_F(MenuManagerTest, MissingNamesAreLoggedOnceEach) {
    loadMenus(
        {L"a"},
        L"\n<GUIMENU NAME='A'><LINKED_GUI_WINDOWS>\"|a|\" \"|weg1|\"</LINKED_GUI_WINDOWS>"
        L"\n<GUIMENULINK NAME='L'><MOUSE_OVER>\"|weg2|\"</MOUSE_OVER><ACTIVATE_MENUS>\"|NIRGENDS|\"</ACTIVATE_MENUS>"
        L"</GUIMENULINK></GUIMENU>",
        L"ACTIVE_MENU='KEINES'");
    EXPECT_EQ(guitest::loggedCount({L"test.mnu\" at line 2", L"weg1"}), 1);
    EXPECT_EQ(guitest::loggedCount({L"test.mnu\" at line 3", L"weg2"}), 1);
    EXPECT_EQ(guitest::loggedCount({L"test.mnu\" at line 3", L"NIRGENDS"}), 1);
    EXPECT_EQ(guitest::loggedCount({L"test.mnu\" at line 1", L"KEINES"}), 1);
    EXPECT_EQ(menus.getActiveMenu(), nullptr);
}
