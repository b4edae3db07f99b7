// The shipped lesson played through on the shipped thirteen-hearts table with the pointer, as
// the game object wires it: the card manager's action signal reported to the lessons, GUI
// clicks asked and reported as the button dispatcher does, frames for the lessons and the
// tutorial pages. Each page's lists hold what it says, other cards refuse the pointer, a
// refused double click leads to the page for it, an arrow follows the card it points at, and
// at the end both lists are empty and every card moves.
#include <gtest/gtest.h>

#include "engine/core/engine/OrvexEngine.h"
#include "engine/gui/LanguageManager.h"
#include "engine/gui/TutPoint.h"
#include "engine/gui/TutorialPage.h"
#include "engine/gui/TutorialStrip.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "game/story/ExtendedTutorial.h"
#include "game/story/ExtendedTutorialPage.h"
#include "tests/game/cards/CardInput.h"
#include "tests/game/cards/CardTableFixture.h"
#include "tests/game/story/GameTutorialFixture.h"

namespace {

using Names = std::vector<std::wstring>;
using Solitaire::Karte;

// The game object's slots: card actions to the lessons, table points into the window.
struct GameSlots : sigslot::has_slots<> {
    void onObjectUsed(Solitaire::KartenObjekt& object, bool used) {
        Solitaire::ExtendedTutorialManager::instance().onCardEvent(object.getUserName(), used);
    }
    void map(D3DXVECTOR2& p) { p = D3DXVECTOR2(p.x * 0.5f + 20.0f, p.y * 0.5f + 20.0f); }
};

class LessonPlayTest : public storytest::GameTutorialFixture {
protected:
    void SetUp() override {
        GameTutorialFixture::SetUp();
        forgetPictures();
        ASSERT_TRUE(openDevice(640, 480));
        Orvex::XMLNode file;
        ASSERT_TRUE(file.load(L"data\\texte.lng"));
        Orvex::OrvexEngine::getInstance()->getLanguage()->load(file);
        guitest::loadFile(L"data\\GUI\\Tutorial.gui");
        loadMenus({L"tisch"}, L"<GUIMENU NAME='INGAMEMENU' MENU_ID='1'><LINKED_GUI_WINDOWS>\"|tisch|\"</LINKED_GUI_WINDOWS>"
                              L"</GUIMENU><GUIMENU NAME='TUTORIALMENU' MENU_ID='4'><INVERT_STATE ID_MASK='0'/></GUIMENU>");
        ASSERT_TRUE(menus.activateMenu(L"INGAMEMENU", -1.0));
        ASSERT_TRUE(file.load(L"data\\tutorial.tut"));
        engine().loadTemplates(file);
        ASSERT_TRUE(file.load(L"data\\loctutorials.tut"));
        tutorials().loadUserTutorials(file, L"data\\loctutorials.tut");
        ASSERT_TRUE(file.load(L"data\\exttutorial.tut"));
        lessons().load(file);
        Solitaire::StyleSettings::instance().setKartenset(cardtest::tableCardSet());
        cards().createDiscardPile();
        ASSERT_TRUE(cards().loadGameDefinitionFile(L"data\\Level\\Herzreihe.sol"));
        cards().setClock([this] { return tick; });
        cards().startGame(&camera, L"1", true, {}, {}, 0.0f);
        cards().objectUsed.connect(&slots, &GameSlots::onObjectUsed);
        tutorials().mapTablePoint.connect(&slots, &GameSlots::map);
        frames(30);
    }
    void TearDown() override {
        cards().getTutorialNameList1().clear();
        cards().getTutorialNameList2().clear();
        cards().setClock({});
        cards().createDiscardPile();
        cards().setCamera(nullptr);
        forgetPictures();
        GameTutorialFixture::TearDown();
        closeDevice();
    }
    static Solitaire::Kartenmanager& cards() { return Solitaire::Kartenmanager::instance(); }
    static Solitaire::ExtendedTutorialManager& lessons() { return Solitaire::ExtendedTutorialManager::instance(); }
    static std::wstring page() {
        Solitaire::ExtendedTutorial* lesson = lessons().getCurrent();
        return lesson && lesson->getCurrentPage() ? lesson->getCurrentPage()->getName() : L"-";
    }
    static Karte* card(wchar_t const* userName) {
        for (Karte* c : cards().cards)
            if (c->getUserName() == userName) return c;
        ADD_FAILURE() << "no card " << guitest::narrow(userName);
        return cards().cards.front();
    }
    static Solitaire::Kartenstapel& goal() { return *cards().findPile(L"STAPEL_ZIEL"); }
    // Frames of the table, the lessons, the tutorial pages and the GUI, the clock following.
    void frames(int count) {
        for (int i = 0; i < count; ++i) {
            tick += 16;
            cards().update(1.0 / 60.0, 1.0 / 60.0, Orvex::MouseState());
            lessons().update(1.0f / 60.0f);
            engine().update(1.0 / 60.0);
            gui.update(1.0 / 60.0);
        }
    }
    // A click on a GUI element as the game's button dispatcher handles it; false when refused.
    bool clickGui(std::wstring const& name) {
        if (!lessons().isClickAllowed(name)) return false;
        lessons().onGuiClick(name);
        if (Orvex::GUIWindow* window = gui.findWindow(name)) tutorials().onGuiClick(*window);
        return true;
    }
    void doubleClick(Karte* c) { cardtest::doubleClick(cards(), cardtest::screenPoint(c, camera)); }
    // The goal of an arrow of the current lesson page's strip.
    D3DXVECTOR2 arrowGoal(std::size_t i) {
        Solitaire::ExtendedTutorialPage* p = lessons().getCurrent()->getCurrentPage();
        Orvex::TutorialPage* strip = p->getEntries().at(0)->page.get();
        return strip->getPoints().at(i).goal->offset;
    }
    static D3DXVECTOR2 restingPlace(Karte const* c) {
        D3DXVECTOR2 p;
        c->getPosition(p, false, false);
        return D3DXVECTOR2(p.x * 0.5f + 20.0f, p.y * 0.5f + 20.0f);
    }
    std::vector<std::wstring> const& cardList() { return cards().getTutorialNameList1(); }
    std::vector<std::wstring> const& pileList() { return cards().getTutorialNameList2(); }

    Solitaire::SolitaireCamera camera;
    Orvex::u32 tick = 500000;
    GameSlots slots;
};

TEST_F(LessonPlayTest, TheHeartsLessonPlayedThrough) {
    profile->markTutorialSeen(L"SOLITAIRE_HERZREIHE");
    ASSERT_TRUE(show(L"SOLITAIRE_HERZREIHE", true));  // the variant's own tutorial on screen
    ASSERT_TRUE(lessons().startTutorial(L"LEKTION_HERZREIHE"));
    EXPECT_TRUE(profile->seen(L"LEKTION_HERZREIHE") && profile->seen(L"INGAMEMENU_FG"));
    EXPECT_EQ(onScreen(), "-");  // stopped by the lesson
    EXPECT_EQ(page(), L"HR_ASS");
    EXPECT_EQ(cardList(), Names{L"HERZ_ASS"});
    EXPECT_EQ(pileList(), Names{L"PLATZ13"});

    // Other cards refuse the pointer: the two stays where it is.
    doubleClick(card(L"HERZ_2"));
    frames(60);
    EXPECT_NE(card(L"HERZ_2")->pile, &goal());
    EXPECT_EQ(page(), L"HR_ASS");
    EXPECT_EQ(onScreen(), "HR_ASS");  // the page's strip after its half second
    EXPECT_EQ(arrowGoal(1), restingPlace(card(L"HERZ_ASS")));  // piles first, then cards
    EXPECT_TRUE(clickGui(L"T_Weiter"));  // read: the strip closes, the page stays
    EXPECT_EQ(onScreen(), "-");
    EXPECT_EQ(page(), L"HR_ASS");

    // The ace double-clicked goes to the goal: the next page.
    doubleClick(card(L"HERZ_ASS"));
    frames(60);
    EXPECT_EQ(card(L"HERZ_ASS")->pile, &goal());
    EXPECT_EQ(page(), L"HR_ZWEI");
    EXPECT_EQ(cardList(), Names{L"HERZ_3"});
    EXPECT_EQ(pileList(), Names{L"PLATZ11"});
    EXPECT_EQ(onScreen(), "HR_ZWEI");
    EXPECT_TRUE(clickGui(L"T_Weiter"));

    // The three does not fit yet: the refused double click leads to the page for it.
    doubleClick(card(L"HERZ_3"));
    frames(60);
    EXPECT_NE(card(L"HERZ_3")->pile, &goal());
    EXPECT_EQ(page(), L"HR_FALSCH");
    EXPECT_EQ(onScreen(), "HR_FALSCH");
    EXPECT_EQ(cardList(), Names{L"HERZ_2"});
    EXPECT_EQ(pileList(), (Names{L"PLATZ12", L"ZIEL"}));
    EXPECT_FALSE(clickGui(L"I_Undo"));
    EXPECT_FALSE(clickGui(L"I_TIPP"));

    // The two dragged onto the goal: the arrow at it follows it there.
    Karte* two = card(L"HERZ_2");
    D3DXVECTOR2 const before = arrowGoal(1);
    EXPECT_EQ(before, restingPlace(two));
    cardtest::drag(cards(), cardtest::screenPoint(two, camera), cardtest::screenPoint(goal(), camera));
    frames(60);
    EXPECT_EQ(two->pile, &goal());
    EXPECT_EQ(page(), L"HR_FALSCH");  // a drag reports nothing
    EXPECT_NE(arrowGoal(1), before);
    EXPECT_EQ(arrowGoal(1), restingPlace(two));

    // On to the last page: every card is free; its first card laid leaves it, emptying both lists.
    EXPECT_TRUE(clickGui(L"T_Weiter"));
    EXPECT_EQ(page(), L"HR_REST");
    EXPECT_EQ(onScreen(), "-");
    frames(40);
    EXPECT_EQ(onScreen(), "HR_REST");
    EXPECT_TRUE(cardList().empty() && pileList().empty());
    EXPECT_TRUE(clickGui(L"I_Undo"));
    for (wchar_t const* name : {L"HERZ_3", L"HERZ_4", L"HERZ_5", L"HERZ_6", L"HERZ_7", L"HERZ_8", L"HERZ_9", L"HERZ_10",
                                L"HERZ_BUBE", L"HERZ_DAME", L"HERZ_KOENIG"}) {
        doubleClick(card(name));
        frames(60);
        EXPECT_EQ(card(name)->pile, &goal()) << guitest::narrow(name);
    }
    EXPECT_EQ(page(), L"-");
    EXPECT_TRUE(lessons().isRunning());
    EXPECT_TRUE(cardList().empty() && pileList().empty());
    EXPECT_EQ(cards().getGameStatus(), 1);
    // A seen lesson does not start again.
    EXPECT_FALSE(lessons().startTutorial(L"LEKTION_HERZREIHE"));
}

}  // namespace
