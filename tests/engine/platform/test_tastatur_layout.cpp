// Keyboard layouts: loading (the shipped file, a test file, UTF-16, bad data), characters on the
// shift and AltGr levels, key types, and text editing.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <tuple>

#include "engine/core/CodePage.h"
#include "engine/platform/TastaturLayout.h"
#include "port/dinput/dinput_keys.h"
#include "tests/engine/platform/PlatformSupport.h"
#include "tests/support/TestSupport.h"

using namespace Orvex;

namespace {

// German keys by what they type (the scan codes name US positions).
constexpr u8 kSz = DIK_MINUS, kUe = DIK_LBRACKET, kPlus = DIK_RBRACKET, kOe = DIK_SEMICOLON;
constexpr u8 kAe = DIK_APOSTROPHE, kZGerman = DIK_Y, kYGerman = DIK_Z, kLess = DIK_OEM_102;

KeyState plain() { return KeyState(); }
KeyState with(u8 a, u8 b = 0) {
    KeyState state;
    state.setKeyDown(a, true);
    if (b) state.setKeyDown(b, true);
    return state;
}
KeyState shift() { return with(DIK_LSHIFT); }
KeyState altGr() { return with(DIK_RMENU); }

class LayoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        manager().clear();
        std::filesystem::path file = testsupport::sourceDir() / "data" / "tastaturlayout.lay";
        XMLNode root;
        ASSERT_TRUE(root.load(file.wstring(), 1)) << file;
        ASSERT_EQ(manager().load(root), 2u);
        german = manager().getLayout(L"DEUTSCH");
        english = manager().getLayout(L"ENGLISH");
        ASSERT_NE(german, nullptr);
        ASSERT_NE(english, nullptr);
    }
    void TearDown() override { manager().clear(); }

    static TastaturLayoutManager& manager() { return TastaturLayoutManager::getInstance(); }

    TastaturLayout* german = nullptr;
    TastaturLayout* english = nullptr;
};

std::wstring typed(TastaturLayout const& layout, u8 code, KeyState const& state) {
    wchar_t ch = layout.getChar(code, state);
    return ch ? std::wstring(1, ch) : std::wstring();
}

}  // namespace

TEST_F(LayoutTest, ShippedFileHasBothLayoutsAndGermanIsDefault) {
    EXPECT_EQ(manager().getActiveLayout(), german);
    EXPECT_EQ(manager().getLayoutNames(), (std::vector<std::wstring>{L"DEUTSCH", L"ENGLISH"}));
    EXPECT_TRUE(manager().setActiveLayout(L"ENGLISH"));
    EXPECT_FALSE(manager().setActiveLayout(L"KLINGONISCH"));
    EXPECT_EQ(manager().getActiveLayout(), english);
}

TEST_F(LayoutTest, CharactersOnEveryLevel) {
    KeyState const p = plain(), s = shift(), ag = altGr(), ctrl = with(DIK_LCONTROL), alt = with(DIK_LMENU);
    KeyState caps, capsShift = s;
    caps.setCapsLock(true);
    capsShift.setCapsLock(true);
    struct Case { TastaturLayout const* layout; u8 code; KeyState state; wchar_t const* text; };
    Case const cases[] = {
        {german, kAe, p, L"\u00e4"}, {german, kOe, p, L"\u00f6"}, {german, kUe, s, L"\u00dc"}, {german, kSz, p, L"\u00df"},
        {german, kSz, s, L"?"}, {german, DIK_2, s, L"\""} /* written #34 in the file */, {german, kZGerman, p, L"z"},
        {german, kYGerman, p, L"y"}, {german, DIK_Q, ag, L"@"}, {german, DIK_E, ag, L"\u20ac"}, {german, DIK_M, ag, L"\u00b5"},
        {german, DIK_2, ag, L"\u00b2"}, {german, DIK_3, ag, L"\u00b3"}, {german, DIK_7, ag, L"{"}, {german, DIK_8, ag, L"["},
        {german, DIK_9, ag, L"]"}, {german, DIK_0, ag, L"}"}, {german, kSz, ag, L"\\"}, {german, kPlus, ag, L"~"},
        {german, kLess, ag, L"|"},
        // Windows reports AltGr as Ctrl + Alt; Ctrl or the left Alt alone types nothing, nor a missing level.
        {german, DIK_Q, with(DIK_LCONTROL, DIK_LMENU), L"@"}, {german, DIK_A, ctrl, L""}, {german, DIK_A, alt, L""},
        {german, DIK_A, ag, L""}, {english, DIK_2, s, L"@"}, {english, DIK_APOSTROPHE, s, L"\""},
        // Caps lock shifts letters only, and shift undoes it.
        {german, DIK_A, caps, L"A"}, {german, kAe, caps, L"\u00c4"}, {german, DIK_1, caps, L"1"}, {german, kSz, caps, L"\u00df"},
        {german, DIK_A, capsShift, L"a"},
    };
    for (Case const& c : cases) EXPECT_EQ(typed(*c.layout, c.code, c.state), c.text) << int(c.code);
}

TEST_F(LayoutTest, KeysByNameAndCharacterFollowTheLayout) {
    u8 code = 0;
    ASSERT_TRUE(german->findKeyByName(L"Z", code));
    EXPECT_EQ(code, kZGerman);
    ASSERT_TRUE(english->findKeyByName(L"Z", code));
    EXPECT_EQ(code, kYGerman);
    ASSERT_TRUE(german->findKeyByName(L"escape", code));  // letter case ignored
    EXPECT_EQ(code, DIK_ESCAPE);
    ASSERT_TRUE(german->findKeyByName(L"ä", code));
    EXPECT_EQ(code, kAe);
    EXPECT_FALSE(german->findKeyByName(L"NOSUCHKEY", code) || german->findKeyByName(L"", code));

    ASSERT_TRUE(german->findKeyByChar(L"€uro", code));  // the first character counts
    EXPECT_EQ(code, DIK_E);
    ASSERT_TRUE(german->findKeyByChar(L"1", code));
    EXPECT_EQ(code, DIK_1);  // the main row before the number pad
    ASSERT_TRUE(german->findKeyByChar(L"|", code));
    EXPECT_EQ(code, kLess);
    for (std::wstring const& none : {std::wstring(), std::wstring(L"\u263A"), std::wstring(1, L'\0')})
        EXPECT_FALSE(german->findKeyByChar(none, code)) << none.size();
}

TEST_F(LayoutTest, KeyTypesDependOnTheLevel) {
    std::tuple<u8, KeyState, u32> const cases[] = {
        {DIK_A, plain(), KT_LETTER},       {kAe, shift(), KT_LETTER},          {DIK_1, plain(), KT_NUMBER},
        {DIK_1, shift(), KT_SATZ} /* ! */, {DIK_Q, altGr(), KT_SONDER} /* @ */, {DIK_SPACE, plain(), KT_SATZ},
        {DIK_BACK, plain(), KT_BACKSPACE}, {DIK_DELETE, plain(), KT_DEL},      {DIK_LEFT, shift(), KT_STEUER},
        {DIK_F1, plain(), KT_REST},        {DIK_A, with(DIK_LCONTROL), KT_REST}, {DIK_NUMPAD1, shift(), KT_REST},
        {0xFF, plain(), KT_REST} /* undefined key */,
    };
    for (auto const& [code, state, type] : cases) EXPECT_EQ(german->getKeyType(code, state), type) << int(code);
}

TEST(TastaturLayout, ParseKeyType) {
    std::pair<wchar_t const*, u32> const cases[] = {
        {L"LETTER", 1}, {L"SONDER", 8}, {L"BACKSPACE", 64}, {L"KT_DEL", 128},
        {L"letter", 32}, {L"", 32},     {L"KT_", 32},       {L"LETTERS", 32},
    };
    for (auto const& [name, flag] : cases) EXPECT_EQ(TastaturLayout::parseKeyType(name), flag) << name;
}

TEST_F(LayoutTest, TypeableCharsCoverEveryLevelOnce) {
    std::wstring chars = german->getTypeableChars();
    for (wchar_t ch : std::wstring(L"aAzZäÄöÖüÜß@€µ²³{[]}\\~|<>\"§°^´` 0123456789")) {
        EXPECT_NE(chars.find(ch), std::wstring::npos) << static_cast<int>(ch);
    }
    EXPECT_EQ(std::set<wchar_t>(chars.begin(), chars.end()).size(), chars.size());
    EXPECT_EQ(chars.find(L'\0'), std::wstring::npos);
}

// Each step: the key, its state, whether editText takes it, the display text after it (caret shown).
struct EditStep {
    u8 code;
    KeyState state;
    bool taken;
    wchar_t const* display;
};

TEST_F(LayoutTest, EditTextInsertsDeletesAndMovesTheCaret) {
    auto run = [this](TextEditState edit, std::vector<EditStep> const& steps) {
        for (std::size_t i = 0; i < steps.size(); ++i) {
            EXPECT_EQ(german->editText(edit, steps[i].code, steps[i].state, false, false), steps[i].taken) << i;
            if (steps[i].display) {
                EXPECT_EQ(edit.getDisplayText(), steps[i].display) << i;
            }
        }
    };
    KeyState const p = plain(), ctrl = with(DIK_LCONTROL);
    EXPECT_EQ(TextEditState(L"Hund", L'_', 2, -1, true).getTextBeforeCaret(), L"Hu");
    // Keys that type nothing change nothing.
    run(TextEditState(L"Hund", L'_', 2, -1, true),
        {{kAe, p, true, L"Hu\u00e4_nd"}, {DIK_Q, altGr(), true, L"Hu\u00e4@_nd"}, {DIK_F1, p, false, L"Hu\u00e4@_nd"},
         {DIK_A, ctrl, false, L"Hu\u00e4@_nd"}});
    // Without caret movement the caret keys do nothing and the caret stays at the end.
    run(TextEditState(L"abc", L'_', -1, -1, false),
        {{DIK_LEFT, p, false, nullptr}, {DIK_HOME, p, false, nullptr}, {DIK_BACK, p, true, L"ab_"}});
    run(TextEditState(L"abc", L'|', 0, -1, true),
        {{DIK_BACK, p, false, L"|abc"}, {DIK_LEFT, p, false, L"|abc"}, {DIK_DELETE, p, true, L"|bc"},
         {DIK_RIGHT, p, true, L"b|c"}, {DIK_END, p, true, L"bc|"}, {DIK_DELETE, p, false, L"bc|"},
         {DIK_RIGHT, p, false, L"bc|"}, {DIK_HOME, p, true, L"|bc"}, {DIK_END, p, true, L"bc|"},
         {DIK_BACK, p, true, L"b|"}});
    // At the maximum length deleting and moving still work; a longer text can only shrink.
    run(TextEditState(L"", L'_', -1, 3, true),
        {{DIK_A, p, true, nullptr}, {DIK_A, p, true, nullptr}, {DIK_A, p, true, nullptr}, {DIK_A, p, false, L"aaa_"},
         {DIK_LEFT, p, true, L"aa_a"}, {DIK_BACK, p, true, L"a_a"}});
    run(TextEditState(L"abcdef", L'_', -1, 3, true), {{DIK_A, p, false, L"abcdef_"}, {DIK_BACK, p, true, L"abcde_"}});
}

TEST_F(LayoutTest, EditTextRefusesPropertyFileCharacters) {
    KeyState s = shift();
    std::pair<u8, KeyState> const attChars[] = {{kLess, plain()}, {kLess, s}, {DIK_2, s}, {DIK_0, s}};  // < > " =
    for (auto const& [code, state] : attChars) {
        TextEditState edit(L"x", L'_');
        EXPECT_FALSE(german->editText(edit, code, state, true, false)) << int(code);
        EXPECT_EQ(edit.getWholeText(), L"x");
        EXPECT_TRUE(german->editText(edit, code, state, false, true)) << int(code);
        EXPECT_EQ(edit.getWholeText().size(), 2u);
    }
    TextEditState bar(L"", L'_');
    EXPECT_FALSE(german->editText(bar, kLess, altGr(), false, true));
    EXPECT_TRUE(german->editText(bar, kLess, altGr(), true, false));
    EXPECT_EQ(bar.getWholeText(), L"|");
}

TEST(TextEditState, CaretPositionOutsideTheTextGoesToTheEnd) {
    for (int caret : {-1, -7, 99}) EXPECT_EQ(TextEditState(L"abc", L'_', caret).getCaretPosition(), 3);
    EXPECT_EQ(TextEditState(L"abc", L'_', 0).getTextAfterCaret(), L"abc");
    EXPECT_EQ(TextEditState(L"abc", L'\0', 1).getDisplayText(), L"abc");
}

namespace {

// A small layout file written for the tests.
std::wstring const kTestLayouts =
    L"<TASTATURLAYOUTS>\r\n"
    L"<LAYOUT NAME=\"EINS\">\r\n"
    L"  <KEY CODE=\"30\" NAME=\"A\" NORMAL=\"a\" SHIFT=\"A\" TYP=\"KT_LETTER\"/>\r\n"
    L"  <KEY CODE=\"0x10\" NAME=\"Q\" NORMAL=\"q\" ALTGR=\"#64\"/>\r\n"
    L"  <KEY CODE=\"2\" NAME=\"1\" NORMAL=\"1\" SHIFT=\"!\" TYP=\"NUMBER\" TYP_SHIFT=\"NUMBER\"/>\r\n"
    L"</LAYOUT>\r\n"
    L"<LAYOUT NAME=\"ZWEI\" DEFAULT=\"1\">\r\n"
    L"  <KEY CODE=\"30\" NAME=\"A\" NORMAL=\"x\"/>\r\n"
    L"</LAYOUT>\r\n"
    L"</TASTATURLAYOUTS>\r\n";

}  // namespace

TEST(TastaturLayoutManager, LoadsATestFileAsAnsiAndAsUtf16AndReloadKeepsTheLayoutObject) {
    TastaturLayoutManager& manager = TastaturLayoutManager::getInstance();
    std::filesystem::path dir = testsupport::makeTempDir("layouts");

    std::string ansi = toNarrowString(kTestLayouts);
    std::string utf16 = "\xFF\xFE";
    appendUtf16LE(utf16, kTestLayouts);
    for (std::string const& bytes : {ansi, utf16}) {
        manager.clear();
        testsupport::writeFile(dir / "test.lay", bytes);
        ASSERT_TRUE(manager.loadFile((dir / "test.lay").wstring()));
        ASSERT_EQ(manager.getLayoutNames().size(), 2u);
        EXPECT_EQ(manager.getActiveLayout()->getName(), L"ZWEI");  // marked DEFAULT
        TastaturLayout* eins = manager.getLayout(L"EINS");
        ASSERT_NE(eins, nullptr);
        EXPECT_EQ(eins->getChar(0x10, altGr()), L'@');  // hexadecimal code, character by number
        EXPECT_EQ(eins->getKeyType(0x10, plain()), KT_LETTER);  // type from the character
        EXPECT_EQ(eins->getKeyType(0x02, shift()), KT_NUMBER);  // explicit level type
        EXPECT_EQ(eins->getKeyType(0x1E, shift()), KT_LETTER);
    }

    TastaturLayout* eins = manager.getLayout(L"EINS");
    ASSERT_TRUE(manager.setActiveLayout(L"EINS"));
    XMLNode again;
    ASSERT_TRUE(again.loadFromText(L"<TASTATURLAYOUTS><LAYOUT NAME=\"EINS\">"
                                   L"<KEY CODE=\"30\" NAME=\"A\" NORMAL=\"b\"/></LAYOUT></TASTATURLAYOUTS>"));
    EXPECT_EQ(manager.load(again), 1u);
    EXPECT_EQ(manager.getLayout(L"EINS"), eins);
    EXPECT_EQ(manager.getActiveLayout(), eins);  // no DEFAULT in the new file: the active one stays
    EXPECT_EQ(eins->getChar(0x1E, plain()), L'b');
    EXPECT_FALSE(eins->getKey(0x10).defined);  // replaced whole, not merged
    EXPECT_EQ(manager.getLayoutNames().size(), 2u);

    manager.clear();
    EXPECT_FALSE(manager.loadFile((dir / "missing.lay").wstring()));
    EXPECT_EQ(manager.getActiveLayout(), nullptr);
}

TEST(TastaturLayoutManager, BadLayoutDataIsSkipped) {
    TastaturLayoutManager& manager = TastaturLayoutManager::getInstance();
    manager.clear();
    XMLNode root;
    ASSERT_TRUE(root.loadFromText(
        L"<TASTATURLAYOUTS>"
        L"<LAYOUT><KEY CODE=\"30\" NAME=\"A\" NORMAL=\"a\"/></LAYOUT>"  // no name
        L"<LAYOUT NAME=\"KAPUTT\">"
        L"<KEY CODE=\"256\" NAME=\"BIG\" NORMAL=\"b\"/>"
        L"<KEY CODE=\"-1\" NAME=\"NEG\" NORMAL=\"n\"/>"
        L"<KEY CODE=\"99999999999999999999\" NAME=\"HUGE\" NORMAL=\"h\"/>"
        L"<KEY CODE=\"abc\" NAME=\"TEXT\" NORMAL=\"t\"/>"
        L"<KEY CODE=\"\" NAME=\"EMPTY\"/>"
        L"<KEY NAME=\"NOCODE\" NORMAL=\"c\"/>"
        L"<KEY CODE=\"31\" NORMAL=\"s\"/>"
        L"<KEY CODE=\"32\" NAME=\"D\" NORMAL=\"dd\" SHIFT=\"#99999999\" ALTGR=\"#55296\" TYP=\"LETTER\"/>"
        L"<KEY CODE=\"255\" NAME=\"LAST\" NORMAL=\"z\"/>"
        L"</LAYOUT></TASTATURLAYOUTS>"));
    EXPECT_EQ(manager.load(root), 1u);
    // One error line per skipped layout, skipped key and bad character.
    EXPECT_EQ(platformtest::logLines(L"ERROR ", L"layout 0 has no NAME"), 1);
    EXPECT_EQ(platformtest::logLines(L"ERROR ", L"\"KAPUTT\""), 7 + 3);

    TastaturLayout* layout = manager.getLayout(L"KAPUTT");
    ASSERT_NE(layout, nullptr);
    u8 code = 0;
    EXPECT_FALSE(layout->findKeyByName(L"BIG", code));
    EXPECT_FALSE(layout->findKeyByName(L"TEXT", code));
    ASSERT_TRUE(layout->findKeyByName(L"D", code));  // kept, without its bad characters
    EXPECT_EQ(layout->getChar(code, plain()), 0);
    EXPECT_EQ(layout->getChar(code, shift()), 0);
    EXPECT_EQ(layout->getChar(code, altGr()), 0);
    ASSERT_TRUE(layout->findKeyByName(L"LAST", code));
    EXPECT_EQ(code, 255);
    EXPECT_EQ(layout->getTypeableChars(), L"z");
    manager.clear();
}
