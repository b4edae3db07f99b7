// The edit-label link: keys typed into a label by the active layout, the prompt that the first
// key clears (again after the label goes back to a text id), the maximum length, the key types
// it takes, and its caret.
#include "tests/engine/gui/MenuFixture.h"

#include "engine/gui/GUILabel.h"

using guitest::MenuFixture;
using guitest::narrow;

namespace {

class EditLabelTest : public MenuFixture {
protected:
    // A label "feld" with the text "Name", and menu M with an edit link of the given attributes.
    void loadEditor(std::wstring const& attributes) {
        menus.clear();
        gui.clear();
        guitest::loadText(
            guitest::quoted(L"<GUI><WINDOW NAME='feld' TYPE='LABEL'><LABEL_PARAMS TEXT='Name'/></WINDOW>"
                            L"<WINDOW NAME='knopf' TYPE='BUTTON'><BUTTON_PARAMS><LABEL_PARAMS "
                            L"TEXT='Name'/></BUTTON_PARAMS></WINDOW></GUI>"));
        loadMenus({},
                  L"<GUIMENU NAME='M'><GUIMENULINK NAME='TIPPEN' TYPE='EDIT_LABEL' " + attributes +
                      L"><LABELS>\"|feld|\" \"|knopf|\" \"|fehlt|\"</LABELS></GUIMENULINK></GUIMENU>",
                  L"ACTIVE_MENU='M'");
    }
    std::string text(wchar_t const* window = L"feld") { return narrow(Orvex::findShownLabel(window)->getText()); }
};

}  // namespace

TEST_F(EditLabelTest, KeysEditTheLabels) {
    struct Case {
        char const* what;
        wchar_t const* attributes;
        std::vector<std::wstring> keys;  // "+X" holds shift while X is pressed
        char const* text;
    };
    Case const cases[] = {
        {"letters append", L"", {L"A", L"B"}, "Nameab"},
        {"shift gives capitals", L"", {L"+A", L"B"}, "NameAb"},
        {"backspace", L"", {L"BACK", L"BACK"}, "Na"},
        {"the first key clears the prompt", L"FIRST_CLEAR='1'", {L"O", L"T", L"T", L"O"}, "otto"},
        {"a fourth letter past MAX_LENGTH 3", L"FIRST_CLEAR='1' MAX_LENGTH='3'", {L"A", L"B", L"C", L"D"}, "abc"},
        {"only numbers",
         L"FIRST_CLEAR='1' USES_KEYTYPES='NUMBER KT_BACKSPACE'",
         {L"A", L"1", L"2", L"BACK", L"3"},
         "13"},
        {"keys that type nothing", L"", {L"F1", L"ESCAPE"}, "Name"},
        {"caret keys stay without SHOW_CURSOR", L"SHOW_CURSOR='0'", {L"LEFT", L"X"}, "Namex"},
        {"caret keys move with SHOW_CURSOR", L"SHOW_CURSOR='1'", {L"LEFT", L"X"}, "Namxe"},
        {"refused characters", L"IGNORE_ATT_CHARS='1' IGNORE_PROP_CHARS='1'", {L"+0", L"A"}, "Namea"},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.what);
        loadEditor(c.attributes);
        for (std::wstring const& k : c.keys) {
            if (k[0] == L'+') {
                keys({L"LSHIFT"}, {k.substr(1)});
            } else {
                key(k);
            }
        }
        EXPECT_EQ(text(), c.text);
        EXPECT_EQ(text(L"knopf"), c.text);  // a button's caption is edited like a label
    }
}

TEST_F(EditLabelTest, PromptClearsAgainWhenTheMenuShowsAgain) {
    struct Case {
        char const* what;
        wchar_t const* attributes;
        char const* afterReshow;
    };
    Case const cases[] = {
        {"with RESET_CLEAR", L"FIRST_CLEAR='1' RESET_CLEAR='1'", "c"},
        {"without", L"FIRST_CLEAR='1'", "abc"},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.what);
        loadEditor(c.attributes);
        key(L"A");
        key(L"B");
        EXPECT_EQ(text(), "ab");
        menus.activateMenu(L"M", 0.0);
        key(L"C");
        EXPECT_EQ(text(), c.afterReshow);
    }
}

TEST_F(EditLabelTest, ALabelSetToATextIdIsAPromptAgain) {
    loadEditor(L"FIRST_CLEAR='1' RESET_CLEAR='1'");
    key(L"A");
    Orvex::findShownLabel(L"feld")->setText(L"alt");
    key(L"B");
    EXPECT_EQ(text(), "altb");
    Orvex::findShownLabel(L"feld")->setTextId(L"EINGABE_NAME");
    key(L"C");
    EXPECT_EQ(text(), "c");
    EXPECT_FALSE(Orvex::findShownLabel(L"feld")->isTextIdMode());
}

TEST_F(EditLabelTest, BlinkingLeavesTheTextAlone) {
    loadEditor(L"SHOW_CURSOR='1' CURSOR_BLINK_FREQ='0.1'");
    for (int i = 0; i < 10; ++i) frame(0.1);
    key(L"A");
    EXPECT_EQ(text(), "Namea");
}

// A label changed from outside shows its caret, blinking or not; a prompt that the next key
// clears hides it unless SHOW_CURSOR_IF_NOT_CLEARED.
TEST_F(EditLabelTest, AChangedLabelShowsItsCaret) {
    struct Case {
        char const* what;
        wchar_t const* attributes;
        bool toTextId;
        bool shown;
    };
    Case const cases[] = {
        {"without SHOW_CURSOR", L"", false, true},
        {"with SHOW_CURSOR", L"SHOW_CURSOR='1'", false, true},
        {"a prompt again", L"FIRST_CLEAR='1' RESET_CLEAR='1'", true, false},
        {"a prompt with SHOW_CURSOR_IF_NOT_CLEARED", L"FIRST_CLEAR='1' RESET_CLEAR='1' SHOW_CURSOR_IF_NOT_CLEARED='1'",
         true, true},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.what);
        loadEditor(c.attributes);
        Orvex::GUILabel* label = Orvex::findShownLabel(L"feld");
        if (c.toTextId)
            label->setTextId(L"EINGABE_NAME");
        else
            label->setText(L"alt");
        EXPECT_EQ(label->isCaretVisible(), c.shown);
    }
}
