// User tutorials: pages built from engine templates into a strip of the tutorial's name, the
// short and long texts with their use modes and formatted parts, the texts the strip's pages
// show, a name loaded twice, and pile arrows at the piles of a type, mapped into the window.
#include <gtest/gtest.h>

#include "engine/core/engine/OrvexEngine.h"
#include "engine/gui/LanguageManager.h"
#include "engine/gui/TutPoint.h"
#include "engine/gui/TutorialPage.h"
#include "engine/gui/TutorialStrip.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "game/look/SolitaireCamera.h"
#include "game/story/UserTutorial.h"
#include "game/story/UserTutorialPage.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/game/cards/CardTableFixture.h"
#include "tests/game/story/GameTutorialFixture.h"

namespace {

using Page = Solitaire::SolTutorialManager::UserTutorialPage;

constexpr wchar_t kUserTemplates[] =
    L"<TUTORIAL><VORLAGEN><STRIP_VORLAGE NAME=\"STREIFEN\"/><PAGE_VORLAGE NAME=\"SEITE\"/>"
    L"<PTS_VORLAGE NAME=\"VON\" OFFSET=\"0 0\"/><PTS_VORLAGE NAME=\"AUF\" OFFSET=\"0 0\"/></VORLAGEN></TUTORIAL>";

// Texts of these tests, German only.
constexpr wchar_t kTexts[] =
    L"<TEXTE><TEXT NAME=\"UTT_EINFACH\" LANG=\"GER\">\"|Ein Satz.|\"</TEXT>"
    L"<TEXT NAME=\"UTT_FORMAT\" LANG=\"GER\">\"|%s und %s|\"</TEXT>"
    L"<TEXT NAME=\"UTT_STAPEL\" LANG=\"GER\">\"|Vorrat|\"</TEXT>"
    L"<TEXT NAME=\"UTT_KURZ\" LANG=\"GER\">\"|Kurz.|\"</TEXT>"
    L"<TEXT NAME=\"UTT_LANG\" LANG=\"GER\">\"|Lang.|\"</TEXT></TEXTE>";

// Moves table points into the window: x 2 + 100 + shift, y 2 + 50 (shift: the table scrolled).
struct UserMapper : sigslot::has_slots<> {
    float shift = 0.0f;
    void map(D3DXVECTOR2& p) { p = D3DXVECTOR2(p.x * 2.0f + 100.0f + shift, p.y * 2.0f + 50.0f); }
};

class UserTutorialTest : public storytest::GameTutorialFixture {
protected:
    void SetUp() override {
        GameTutorialFixture::SetUp();
        guitest::loadTutorial(kUserTemplates);
        Orvex::XMLNode texts = storytest::parse(kTexts);
        Orvex::OrvexEngine::getInstance()->getLanguage()->load(texts);
    }
    Solitaire::SolTutorialManager::UserTutorial* tutorial(std::wstring const& name) {
        for (auto const& t : tutorials().getUserTutorials())
            if (t->getName() == name) return t.get();
        return nullptr;
    }
    Orvex::TutorialStrip* strip(std::wstring const& name) {
        for (Orvex::TutorialStrip* s : engine().getStrips())
            if (s->getName() == name) return s;
        return nullptr;
    }
};

TEST_F(UserTutorialTest, ShortAndLongTextsFollowTheUseModes) {
    loadUserTutorials(
        L"<U><USER_TUTORIAL NAME=\"TEXTE\" STRIP=\"STREIFEN\">"
        L"<TUTORIAL_PAGE NAME=\"p1\" PAGE=\"SEITE\"><TEXT TEXT_ID=\"UTT_EINFACH\"/>"
        L"<TEXT TEXT_ID=\"UTT_KURZ\" USE_MODE=\"SHORT\"/><TEXT TEXT_ID=\"UTT_LANG\" USE_MODE=\"LONG\"/></TUTORIAL_PAGE>"
        L"<TUTORIAL_PAGE NAME=\"p2\" USE_MODE=\"SHORT\"><TEXT TEXT_ID=\"UTT_FORMAT\"><TEXT_PART TEXT_ID=\"UTT_STAPEL\"/>"
        L"<TEXT_PART TEXT=\"ein Wort\"/></TEXT></TUTORIAL_PAGE>"
        L"<TUTORIAL_PAGE NAME=\"p3\" USE_MODE=\"UNBEKANNT\"><TEXT TEXT_ID=\"UTT_EINFACH\"/></TUTORIAL_PAGE>"
        L"<TUTORIAL_PAGE NAME=\"p4\"><TEXT TEXT_ID=\"UTT_FORMAT\"><TEXT_PART TEXT=\"1\"/><TEXT_PART TEXT=\"2\"/>"
        L"<TEXT_PART TEXT=\"3\"/><TEXT_PART TEXT=\"4\"/><TEXT_PART TEXT=\"5\"/></TEXT>"
        L"<TEXT TEXT_ID=\"GIBT_ES_NICHT\"/><TEXT TEXT_ID=\"UTT_FORMAT\" USE_MODE=\"LONG\">"
        L"<TEXT_PART TEXT_ID=\"UTT_KURZ\" TEXT=\"wörtlich\"/><TEXT_PART TEXT=\"%n%s\"/></TEXT></TUTORIAL_PAGE>"
        L"</USER_TUTORIAL></U>");
    EXPECT_EQ(tutorials().getTutorialText(L"TEXTE", false),
              L"Ein Satz.\nKurz.\n\nVorrat und ein Wort\n\n");
    // Long: p2 is short only; in p4 a part with both keys stays a text id (its literal names no
    // text, so it is empty), and a part that looks like a format is printed as it stands.
    EXPECT_EQ(tutorials().getTutorialText(L"TEXTE", true), L"Ein Satz.\nLang.\n\n und %n%s\n\n");
    EXPECT_EQ(tutorials().getTutorialText(L"NIEMAND", false), L"");
    // The strip's page shows every entry's long text, a line break after each.
    Orvex::TutorialStrip* s = strip(L"TEXTE");
    ASSERT_NE(s, nullptr);
    ASSERT_EQ(s->getPages().size(), 1u);  // only p1 names a page template
    std::wstring shown = L"vorher";
    bool useTextId = true;
    s->getPages()[0]->textHook.emit(*s->getPages()[0], L"", shown, useTextId);
    EXPECT_EQ(shown, L"Ein Satz.\n\nLang.\n");
    EXPECT_FALSE(useTextId);
}

TEST_F(UserTutorialTest, ATutorialLoadedTwiceKeepsItsFirstDefinition) {
    loadUserTutorials(L"<U><USER_TUTORIAL NAME=\"DOPPELT\" STRIP=\"STREIFEN\"><TUTORIAL_PAGE NAME=\"a\">"
                      L"<TEXT TEXT_ID=\"UTT_KURZ\"/></TUTORIAL_PAGE></USER_TUTORIAL></U>");
    loadUserTutorials(L"<U><USER_TUTORIAL NAME=\"DOPPELT\" STRIP=\"STREIFEN\"><TUTORIAL_PAGE NAME=\"a\">"
                      L"<TEXT TEXT_ID=\"UTT_LANG\"/></TUTORIAL_PAGE></USER_TUTORIAL></U>",
                      L"variant.sol");
    EXPECT_EQ(tutorials().getUserTutorials().size(), 1u);
    EXPECT_EQ(tutorials().getTutorialText(L"DOPPELT", true), L"Kurz.\n\n");
    int strips = 0;
    for (Orvex::TutorialStrip* s : engine().getStrips()) strips += s->getName() == L"DOPPELT";
    EXPECT_EQ(strips, 1);
}

TEST_F(UserTutorialTest, UnknownTemplatesAndPileTypesLeaveTheirPartsOutWithOneLine) {
    logtest::LogWatch watch;
    loadUserTutorials(L"<U>\n<USER_TUTORIAL NAME=\"OHNE\" STRIP=\"FEHLT\"><TUTORIAL_PAGE NAME=\"a\"/></USER_TUTORIAL>\n"
                      L"<USER_TUTORIAL NAME=\"MIT\" STRIP=\"STREIFEN\"><TUTORIAL_PAGE NAME=\"b\" PAGE=\"FEHLT\" "
                      L"STAPEL_TYP=\"KEINER\"/></USER_TUTORIAL></U>",
                      L"user.tut");
    EXPECT_TRUE(tutorial(L"OHNE")->getPages().empty());
    EXPECT_EQ(strip(L"OHNE"), nullptr);
    Page const* page = tutorial(L"MIT")->getPages().at(0).get();
    EXPECT_EQ(page->tutorialPage, nullptr);
    EXPECT_FALSE(page->hasPileType);
    ASSERT_EQ(watch.errors().size(), 1u);
    EXPECT_TRUE(logtest::contains(watch.errors()[0], L"user.tut") && logtest::contains(watch.errors()[0], L"line 2") &&
                logtest::contains(watch.errors()[0], L"(2 further problems)"));
}

class PileArrowTest : public UserTutorialTest {
protected:
    void SetUp() override {
        UserTutorialTest::SetUp();
        Solitaire::StyleSettings::instance().setKartenset(cardtest::tableCardSet());
        Solitaire::Kartenmanager& cards = Solitaire::Kartenmanager::instance();
        cards.createDiscardPile();
        Orvex::XMLNode table = storytest::parse(
            L"<SOLITAIRE NAME=\"PFEILE\" KARTEN_FARBE=\"HERZ\" ANZAHL_KARTEN=\"13\">"
            L"<STAPEL NAME=\"V\" STAPELTYP=\"VORRAT\" POSITION_REL=\"0 0\" INIT_KARTEN_VERDECKT=\"5\"><ANORDNUNG NAME=\"A\"/></STAPEL>"
            L"<STAPEL NAME=\"T1\" STAPELTYP=\"TABLEAU\" POSITION_REL=\"2 0\" INIT_KARTEN_SICHTBAR=\"4\"><ANORDNUNG NAME=\"A\"/></STAPEL>"
            L"<STAPEL NAME=\"T2\" STAPELTYP=\"TABLEAU\" POSITION_REL=\"4 1\" INIT_KARTEN_SICHTBAR=\"4\"><ANORDNUNG NAME=\"A\"/></STAPEL>"
            L"</SOLITAIRE>");
        cards.loadGameDefinition(table, L"arrows");
        cards.startGame(&camera, L"1", true, {}, {}, 0.0f);
        tutorials().mapTablePoint.connect(&mapper, &UserMapper::map);
        loadUserTutorials(L"<U><USER_TUTORIAL NAME=\"PFEILE\" STRIP=\"STREIFEN\">"
                          L"<TUTORIAL_PAGE NAME=\"a\" PAGE=\"SEITE\" STAPEL_TYP=\"TABLEAU\" PFEIL_VORLAGE_START=\"VON\" "
                          L"PFEIL_VORLAGE_GOAL=\"AUF\"/>"
                          L"<TUTORIAL_PAGE NAME=\"b\" PAGE=\"SEITE\" STAPEL_TYP=\"STOCK\" PFEIL_VORLAGE_START=\"VON\" "
                          L"PFEIL_VORLAGE_GOAL=\"FEHLT\"/></USER_TUTORIAL></U>");
    }
    void TearDown() override {
        Solitaire::Kartenmanager::instance().createDiscardPile();
        Solitaire::Kartenmanager::instance().setCamera(nullptr);
        UserTutorialTest::TearDown();
    }
    Orvex::TutorialPage* page(std::size_t i) { return tutorial(L"PFEILE")->getPages().at(i)->tutorialPage.get(); }
    D3DXVECTOR2 mapped(wchar_t const* pile) {
        D3DXVECTOR2 p = Solitaire::Kartenmanager::instance().findPile(pile)->getAnchorPosition();
        mapper.map(p);
        return p;
    }

    Solitaire::SolitaireCamera camera;
    UserMapper mapper;
};

TEST_F(PileArrowTest, EveryPileOfTheTypeGetsAnArrowAtItsMappedAnchor) {
    ASSERT_TRUE(show(L"PFEILE"));
    std::vector<Orvex::TutPointPair> const& points = page(0)->getPoints();
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[0].goal->offset, mapped(L"T1"));
    EXPECT_EQ(points[1].goal->offset, mapped(L"T2"));
    EXPECT_NE(points[0].goal->offset, points[1].goal->offset);
    EXPECT_TRUE(page(1)->getPoints().empty());  // its goal template is missing
}

TEST_F(PileArrowTest, ArrowsFollowThePilesAtEachClickedPage) {
    loadUserTutorials(L"<U><NEXT_ON_CLICK>\"|WEITER|\"</NEXT_ON_CLICK></U>");
    ASSERT_TRUE(show(L"PFEILE"));
    D3DXVECTOR2 const before = mapped(L"T2");
    mapper.shift = 300.0f;  // the table moved on the screen
    Orvex::GUIWindow* weiter = guitest::makeBox(L"WEITER", 0, 0, 10, 10);
    EXPECT_TRUE(tutorials().onGuiClick(*weiter));
    weiter->release();
    EXPECT_EQ(page(0)->getPoints().at(1).goal->offset, mapped(L"T2"));
    EXPECT_EQ(page(0)->getPoints().at(1).goal->offset.x, before.x + 300.0f);
}

TEST_F(PileArrowTest, APageWithoutPointTemplatesClearsItsOldArrows) {
    page(1)->addPoint(new Orvex::TutPoint(), new Orvex::TutPoint());
    page(1)->getPoints()[0].start->release();
    page(1)->getPoints()[0].goal->release();
    ASSERT_TRUE(show(L"PFEILE"));
    EXPECT_TRUE(page(1)->getPoints().empty());
}

}  // namespace
