// Language texts: reading text lists, the first definition winning, choosing the current
// language, lookup without fallback, the character list, a broken file, and our own texte.lng.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "engine/core/XMLNode.h"
#include "engine/gui/LanguageManager.h"
#include "engine/gui/Text.h"
#include "port/win32/win32_text.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/support/TestSupport.h"

using Orvex::LanguageManager;
using Orvex::Text;
using Orvex::XMLNode;
using logtest::contains;

namespace {

XMLNode parse(std::wstring const& text) {
    XMLNode node;
    EXPECT_TRUE(node.loadFromText(text, L"test.lng"));
    return node;
}

void load(LanguageManager& manager, std::wstring const& text) {
    XMLNode node = parse(text);
    manager.load(node);
}

// Counts the language-changed signals and keeps the codes.
struct ChangeWatch : sigslot::has_slots<> {
    explicit ChangeWatch(LanguageManager& manager) { manager.languageChanged.connect(this, &ChangeWatch::changed); }
    void changed(std::wstring const& code) { codes.push_back(code); }
    std::vector<std::wstring> codes;
};

}  // namespace

TEST(Language, BeforeAnyLoadEverythingIsEmpty) {
    LanguageManager manager;
    EXPECT_EQ(manager.getText(L"OK"), L"");
    EXPECT_EQ(manager.getLanguageCode(), L"");
    Text* fallback = manager.findText(L"OK");
    ASSERT_NE(fallback, nullptr);
    EXPECT_EQ(fallback->getName(), L"Default_Error");
    std::wstring out = L"stale";
    EXPECT_EQ(fallback->format(out, 1, 2.0), L"");
    // A list without texts chooses nothing.
    load(manager, L"<TEXTE DEF_LANGUAGE=\"GER\"/>");
    EXPECT_EQ(manager.getCurrentLanguage(), nullptr);
}

TEST(Language, LookupByIdAndLanguageWithoutFallback) {
    LanguageManager manager;
    load(manager, LR"(<TEXTE DEF_LANGUAGE="GER">
        <TEXT NAME="OK" LANG="GER">"|Gut|"</TEXT>
        <TEXT NAME="OK" LANG="ENG">"|Fine|"</TEXT>
        <TEXT NAME="ONLY_ENGLISH" LANG="ENG">"|English|"</TEXT>
        <TEXT NAME="ok" LANG="GER">"|klein|"</TEXT>
        <NOTE NAME="OK" LANG="GER">"|not a text|"</NOTE>
    </TEXTE>)");
    EXPECT_EQ(manager.getLanguageCode(), L"GER");
    EXPECT_EQ(manager.getText(L"OK"), L"Gut");
    EXPECT_EQ(manager.getText(L"ok"), L"klein");  // ids are case-sensitive
    EXPECT_EQ(manager.findLanguage(L"ENG")->findText(L"OK")->getText(), L"Fine");
    // Missing from the current language: no other language stands in.
    EXPECT_EQ(manager.findText(L"ONLY_ENGLISH"), nullptr);
    EXPECT_EQ(manager.getText(L"ONLY_ENGLISH"), L"");
    EXPECT_EQ(manager.getAllTexts().size(), 4u);
}

TEST(Language, FirstDefinitionWinsAlsoAcrossLoads) {
    LanguageManager manager;
    load(manager, LR"(<TEXTE>
        <TEXT NAME="A" LANG="GER">"|first|"</TEXT>
        <TEXT NAME="A" LANG="GER">"|second|"</TEXT>
    </TEXTE>)");
    load(manager, LR"(<TEXTE><TEXT NAME="A" LANG="GER">"|third|"</TEXT><TEXT NAME="B" LANG="GER">"|b|"</TEXT></TEXTE>)");
    EXPECT_EQ(manager.getText(L"A"), L"first");
    EXPECT_EQ(manager.getText(L"B"), L"b");
    std::vector<Text*> const all = manager.getAllTexts();
    ASSERT_EQ(all.size(), 2u);
    for (Text* text : all) EXPECT_EQ(text->getRefCount(), 1);  // the table's reference only
}

TEST(Language, ACopiedTableKeepsItsTextsAfterTheManagerIsGone) {
    Orvex::Language* copy = nullptr;
    {
        LanguageManager manager;
        load(manager, LR"(<TEXTE><TEXT NAME="A" LANG="GER">"|bleibt|"</TEXT></TEXTE>)");
        copy = new Orvex::Language(*manager.findLanguage(L"GER"));
        EXPECT_EQ(copy->findText(L"A")->getRefCount(), 2);
    }
    EXPECT_EQ(copy->getName(), L"GER");
    ASSERT_NE(copy->findText(L"A"), nullptr);
    EXPECT_EQ(copy->findText(L"A")->getText(), L"bleibt");
    copy->release();
}

TEST(Language, DefaultLanguageChoosesAndOtherwiseTheFirstTextDecides) {
    struct Case {
        char const* what;
        std::vector<std::wstring> lists;
        std::wstring current;
        std::vector<std::wstring> signals;
    };
    std::wstring const many = LR"(<TEXTE>
        <TEXT NAME="X" LANG="ZZZ">"|z|"</TEXT><TEXT NAME="X" LANG="AAA">"|a|"</TEXT>
        <TEXT NAME="X" LANG="MMM">"|m|"</TEXT><TEXT NAME="X" LANG="BBB">"|b|"</TEXT>
        <TEXT NAME="X" LANG="YYY">"|y|"</TEXT></TEXTE>)";
    Case const cases[] = {
        {"no DEF_LANGUAGE: the first text's language", {many}, L"ZZZ", {L"ZZZ"}},
        {"DEF_LANGUAGE names a loaded language", {LR"(<TEXTE DEF_LANGUAGE="BBB">)" + many.substr(7)}, L"BBB", {L"BBB"}},
        {"DEF_LANGUAGE without texts falls back on the first load",
         {LR"(<TEXTE DEF_LANGUAGE="FRE">)" + many.substr(7)}, L"ZZZ", {L"ZZZ"}},
        {"a later DEF_LANGUAGE without texts keeps the current one",
         {many, LR"(<TEXTE DEF_LANGUAGE="FRE"><TEXT NAME="Y" LANG="AAA">"|y|"</TEXT></TEXTE>)"}, L"ZZZ", {L"ZZZ"}},
        {"a later DEF_LANGUAGE switches", {many, LR"(<TEXTE DEF_LANGUAGE="MMM"/>)"}, L"MMM", {L"ZZZ", L"MMM"}},
        {"a later list without DEF_LANGUAGE changes nothing",
         {many, LR"(<TEXTE><TEXT NAME="Q" LANG="QQQ">"|q|"</TEXT></TEXTE>)"}, L"ZZZ", {L"ZZZ"}},
    };
    for (Case const& c : cases) {
        LanguageManager manager;
        ChangeWatch watch(manager);
        for (std::wstring const& list : c.lists) load(manager, list);
        EXPECT_EQ(manager.getLanguageCode(), c.current) << c.what;
        EXPECT_EQ(manager.getCurrentLanguage(), manager.findLanguage(c.current)) << c.what;
        EXPECT_EQ(watch.codes, c.signals) << c.what;
    }
}

TEST(Language, TextElementsWithMissingParts) {
    LanguageManager manager;
    load(manager, LR"(<TEXTE DEF_LANGUAGE="ENG">
        <TEXT NAME="GREETING" LANG="ENG">"|Hello |" "|%s|"</TEXT>
        <TEXT LANG="ENG">"|nameless|"</TEXT>
        <TEXT NAME="NOWHERE">"|no language|"</TEXT>
        <TEXT NAME="EMPTY" LANG="ENG"></TEXT>
    </TEXTE>)");
    Text* greeting = manager.findText(L"GREETING");
    ASSERT_NE(greeting, nullptr);
    EXPECT_EQ(greeting->getText(), L"Hello %s");
    EXPECT_EQ(greeting->getValues(), (std::vector<std::wstring>{L"Hello ", L"%s"}));
    std::wstring out;
    EXPECT_EQ(greeting->format(out, L"World"), L"Hello World");
    // Without a name the running id names the text; without a language the empty code files it.
    bool nameless = false;
    for (Text* text : manager.getAllTexts())
        if (text->getText() == L"nameless") nameless = text->getName() == std::to_wstring(text->getId());
    EXPECT_TRUE(nameless);
    ASSERT_NE(manager.findLanguage(L""), nullptr);
    EXPECT_EQ(manager.findLanguage(L"")->findText(L"NOWHERE")->getText(), L"no language");
    ASSERT_NE(manager.findText(L"EMPTY"), nullptr);
    EXPECT_EQ(manager.getText(L"EMPTY"), L"");
}

TEST(Language, UnknownLocaleIsLoggedOncePerLoad) {
    LanguageManager manager;
    logtest::LogWatch watch;
    load(manager, LR"(<TEXTE>
        <TEXT NAME="A" LANG="GER" SET_LOCALE="Klingon">"|%.1f|"</TEXT>
        <TEXT NAME="B" LANG="GER" SET_LOCALE="Klingon">"|%.1f|"</TEXT>
    </TEXTE>)");
    std::vector<std::wstring> const lines = watch.lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(contains(lines[0], L"\"Klingon\"")) << lines[0];
    std::wstring out;
    EXPECT_EQ(manager.findText(L"B")->format(out, 0.5), L"0.5");
}

TEST(Language, CharacterListHoldsEveryCodeUnitOnce) {
    LanguageManager manager;
    load(manager, L"<TEXTE><TEXT NAME=\"A\" LANG=\"GER\">\"|b\u00e4a\u20ac|\"</TEXT>"
                  L"<TEXT NAME=\"A\" LANG=\"ENG\">\"|ab\U0001F600|\"</TEXT>"
                  L"<TEXT NAME=\"A\" LANG=\"GER\">\"|dropped \u00df|\"</TEXT></TEXTE>");
    std::vector<wchar_t> const expected = {L'a', L'b', 0xE4, 0x20AC, 0xD83D, 0xDE00};
    EXPECT_EQ(manager.getCharacterList(), expected);
    // A list read again adds nothing; a new text's units join in order, a dropped one's do not.
    struct Case {
        wchar_t const* list;
        std::vector<wchar_t> expected;
    };
    Case const cases[] = {
        {L"<TEXTE><TEXT NAME=\"A\" LANG=\"GER\">\"|b\u00e4a\u20ac|\"</TEXT></TEXTE>", expected},
        {L"<TEXTE><TEXT NAME=\"A\" LANG=\"ENG\">\"|zzz|\"</TEXT></TEXTE>", expected},
        {L"<TEXTE><TEXT NAME=\"C\" LANG=\"ENG\">\"|c\u00e4|\"</TEXT></TEXTE>",
         {L'a', L'b', L'c', 0xE4, 0x20AC, 0xD83D, 0xDE00}},
    };
    for (Case const& c : cases) {
        load(manager, c.list);
        EXPECT_EQ(manager.getCharacterList(), c.expected);
    }
}

TEST(Language, BrokenFileLoadsWhatItCanWithOneLogLine) {
    std::filesystem::path const file = testsupport::makeTempDir("lng") / "kaputt.lng";
    testsupport::writeFile(file,
                           "<TEXTE DEF_LANGUAGE=\"GER\">\r\n"
                           "\t<TEXT NAME=\"JA\" LANG=\"GER\">\"|Ja|\"</TEXT>\r\n"
                           "\t<TEXT NAME=\"NEIN\" LANG=\"GER\">\"|Nein|\"</TEXT>\r\n"
                           "\t<TEXT NAME=\"KAPUTT\" LANG=\"GER\" \"|Ja|\"</TEXT>\r\n"
                           "\t<TEXT NAME=\"SPAETER\" LANG=\"GER\">\"|nie|\"</TEXT>\r\n");
    logtest::LogWatch watch;
    XMLNode node;
    node.load(port::fromUtf8(file.string()), 1);
    LanguageManager manager;
    manager.load(node);
    EXPECT_EQ(manager.getText(L"JA"), L"Ja");
    EXPECT_EQ(manager.getText(L"NEIN"), L"Nein");
    EXPECT_EQ(manager.getLanguageCode(), L"GER");
    std::vector<std::wstring> const errors = watch.errors();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(contains(errors[0], L"kaputt.lng")) << errors[0];
    EXPECT_TRUE(contains(errors[0], L"line 4")) << errors[0];
}

TEST(Language, OurTextListHasGermanAndEnglishForEveryId) {
    XMLNode node;
    ASSERT_TRUE(node.load(port::fromUtf8((testsupport::sourceDir() / "data" / "texte.lng").string()), 1));
    logtest::LogWatch watch;
    LanguageManager manager;
    manager.load(node);
    EXPECT_TRUE(watch.lines().empty());
    EXPECT_EQ(manager.getLanguageCode(), L"GER");
    std::set<std::wstring> ids;
    for (Text* text : manager.getAllTexts()) {
        ids.insert(text->getName());
        EXPECT_TRUE(text->getLang() == L"GER" || text->getLang() == L"ENG") << text->getName();
        EXPECT_TRUE(text->isLocaleKnown()) << text->getName();
    }
    EXPECT_EQ(manager.getAllTexts().size(), 2 * ids.size());
    for (std::wstring const& id : ids) {
        EXPECT_NE(manager.findLanguage(L"GER")->findText(id), nullptr) << id;
        EXPECT_NE(manager.findLanguage(L"ENG")->findText(id), nullptr) << id;
    }
    std::wstring out;
    EXPECT_EQ(manager.findText(L"SEKUNDEN")->format(out, 2.5), L"2,5 Sekunden");
    EXPECT_EQ(manager.findLanguage(L"ENG")->findText(L"SEKUNDEN")->format(out, 2.5), L"2.5 seconds");
    EXPECT_EQ(manager.findText(L"LADEN")->format(out, 40), L"Lade Daten ... 40 %");
    EXPECT_EQ(manager.getText(L"SCHLIESSEN"), L"Schlie\u00dfen");
}
