// The shipped story, tutorial, user-tutorial and lesson files: they read without a log line,
// every name they use is defined where it belongs (texts in both languages, templates, pictures,
// sounds, music, emitters, achievements, windows, the lesson's cards and piles), and the story
// plays for a profile scene by scene as the unlocks allow: the intro, each chapter's rest once the
// chapter is finished, the next chapter's intro once the rest's mini-game has ended.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>

#include "engine/core/Utils.h"
#include "engine/core/engine/OrvexEngine.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/Language.h"
#include "engine/gui/LanguageManager.h"
#include "engine/gui/TutorialPage.h"
#include "engine/gui/TutorialStrip.h"
#include "engine/render/Texture2DAnimation.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "game/cards/AchivementManager.h"
#include "game/cards/Kartenmanager.h"
#include "game/look/SolitaireCamera.h"
#include "game/particles/SolPartikelManager.h"
#include "game/story/ExtendedTutorial.h"
#include "game/story/StoryManager.h"
#include "game/story/StoryPart.h"
#include "game/story/StoryPartPart.h"
#include "game/story/UserTutorial.h"
#include "game/story/UserTutorialPage.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/game/cards/CardTableFixture.h"
#include "tests/game/story/GameTutorialFixture.h"

namespace {

using Names = std::vector<std::wstring>;

// Every value of the attribute `key` in the tree, and of `key` in the values of children `key`.
void collect(Orvex::XMLNode const& node, std::wstring const& key, std::set<std::wstring>& out) {
    if (Orvex::XMLAttribute const* a = node.getAttribute(key)) out.insert(a->getStringCopy());
    if (node.getName() == key)
        for (Orvex::u32 i = 0; i < node.getValueCount(); ++i) out.insert(node.getValue(i)->getStringCopy());
    for (Orvex::XMLNode const* child : node.children()) collect(*child, key, out);
}

std::set<std::wstring> collect(Orvex::XMLNode const& node, std::initializer_list<wchar_t const*> keys) {
    std::set<std::wstring> out;
    for (wchar_t const* key : keys) collect(node, key, out);
    out.erase(L"");
    return out;
}

// The attribute `key` of every element of that name.
std::set<std::wstring> attributesOf(Orvex::XMLNode const& node, std::wstring const& element, std::wstring const& key) {
    std::set<std::wstring> out;
    std::function<void(Orvex::XMLNode const&)> walk = [&](Orvex::XMLNode const& n) {
        if (n.getName() == element && n.getAttribute(key)) out.insert(n.getAttributeString(key, L""));
        for (Orvex::XMLNode const* child : n.children()) walk(*child);
    };
    walk(node);
    return out;
}

std::set<std::wstring> namesOf(Orvex::XMLNode const& node, std::wstring const& element) {
    return attributesOf(node, element, L"NAME");
}

Orvex::XMLNode dataFile(std::wstring const& name) {
    Orvex::XMLNode root;
    EXPECT_TRUE(root.load(name)) << guitest::narrow(name);
    return root;
}

class ShippedStoryTest : public storytest::GameTutorialFixture {
protected:
    void SetUp() override {
        GameTutorialFixture::SetUp();
        Solitaire::StoryManager::instance().clear();
        forgetPictures();
        ASSERT_TRUE(openDevice(320, 240));
        texts = dataFile(L"data\\texte.lng");
        tutorial = dataFile(L"data\\tutorial.tut");
        user = dataFile(L"data\\loctutorials.tut");
        lessons = dataFile(L"data\\exttutorial.tut");
        story = dataFile(L"data\\Story\\Story.str");
        logtest::LogWatch watch;
        Orvex::OrvexEngine::getInstance()->getLanguage()->load(texts);
        for (wchar_t const* gui : {L"data\\GUI\\Vorlagen.gui", L"data\\GUI\\Hauptmenu.gui", L"data\\GUI\\Tutorial.gui"})
            guitest::loadFile(gui);
        engine().loadTemplates(tutorial);
        Solitaire::ExtendedTutorialManager::instance().load(lessons);
        tutorials().loadUserTutorials(user, L"data\\loctutorials.tut");
        Solitaire::StoryManager::instance().load(story);
        loadLines = watch.lines();
    }
    void TearDown() override {
        Solitaire::StoryManager::instance().clear();
        forgetPictures();
        GameTutorialFixture::TearDown();
        closeDevice();
    }
    static std::wstring narrowed(std::set<std::wstring> const& names) {
        std::wstring out;
        for (std::wstring const& n : names) out += n + L" ";
        return out;
    }

    Orvex::XMLNode texts, tutorial, user, lessons, story;
    std::vector<std::wstring> loadLines;
};

TEST_F(ShippedStoryTest, TheFilesReadWithoutALogLine) {
    for (std::wstring const& line : loadLines)
        EXPECT_FALSE(line.rfind(L"ERROR", 0) == 0 || line.rfind(L"WARNING", 0) == 0) << guitest::narrow(line);
    // The intro, then a rest scene for each of the 20 chapters with a mini-game and an intro for
    // each of the 20 chapters after the first, a scene for each of the three lock colours after
    // gold and the homecoming.
    EXPECT_EQ(Solitaire::StoryManager::instance().getScenes().size(), 45u);
    EXPECT_EQ(tutorials().getUserTutorials().size(), 7u);
    EXPECT_EQ(tutorials().getTutorialMenu(), L"TUTORIALMENU");
    EXPECT_EQ(Solitaire::ExtendedTutorialManager::instance().getLessons().size(), 1u);
}

TEST_F(ShippedStoryTest, EveryTextIsThereInGermanAndEnglish) {
    std::set<std::wstring> ids;
    for (Orvex::XMLNode const* root : {&tutorial, &user, &lessons, &story}) {
        std::set<std::wstring> const some = collect(*root, {L"TEXT_ID"});
        ids.insert(some.begin(), some.end());
    }
    Orvex::XMLNode gui = dataFile(L"data\\GUI\\Tutorial.gui");
    std::set<std::wstring> const labels = collect(gui, {L"TEXT_ID"});
    ids.insert(labels.begin(), labels.end());
    ids.insert(L"TT_ACH_STORY_GESEHEN_OFFEN");
    ids.insert(L"TT_ACH_STORY_GESEHEN_GOLD");
    EXPECT_GT(ids.size(), 40u);
    Orvex::LanguageManager* languages = Orvex::OrvexEngine::getInstance()->getLanguage();
    for (wchar_t const* code : {L"GER", L"ENG"})
        for (std::wstring const& id : ids)
            EXPECT_NE(languages->findLanguage(code)->findText(id), nullptr) << guitest::narrow(id) << " " << code;
}

TEST_F(ShippedStoryTest, TheTutorialsNameOnlyWhatExists) {
    std::set<std::wstring> strips = attributesOf(user, L"USER_TUTORIAL", L"STRIP");
    std::set<std::wstring> pages = attributesOf(user, L"TUTORIAL_PAGE", L"PAGE");
    std::set<std::wstring> points;
    collect(lessons, L"STRIP_VORLAGE", strips);
    collect(lessons, L"PAGE_VORLAGE", pages);
    for (wchar_t const* key : {L"PFEIL_VORLAGE_START", L"PFEIL_VORLAGE_GOAL", L"PFEIL_VORLAGE_END"}) {
        collect(user, key, points);
        collect(lessons, key, points);
    }
    for (std::wstring const& name : strips) EXPECT_NE(engine().findStripTemplate(name), nullptr) << guitest::narrow(name);
    for (std::wstring const& name : pages) EXPECT_NE(engine().findPageTemplate(name), nullptr) << guitest::narrow(name);
    for (std::wstring const& name : points) EXPECT_NE(engine().findPointTemplate(name), nullptr) << guitest::narrow(name);
    // Every page of a user tutorial is a page of its strip, with a pile type that exists.
    for (auto const& t : tutorials().getUserTutorials())
        for (auto const& page : t->getPages()) {
            EXPECT_NE(page->tutorialPage, nullptr) << guitest::narrow(page->getName());
            EXPECT_FALSE(page->getText(true).empty()) << guitest::narrow(page->getName());
        }
    // The windows the strips show and point at: the tutorial screen's, and the table's where a
    // page points at the table (a god's bar).
    guitest::loadFile(L"data\\GUI\\Ingame.gui");
    for (std::wstring const& name : collect(tutorial, {L"GUIWINDOW"}))
        EXPECT_NE(gui.findWindow(name), nullptr) << guitest::narrow(name);
    for (Orvex::TutorialStrip* s : engine().getStrips())
        for (std::wstring const& window : s->windowNames)
            EXPECT_NE(gui.findWindow(window), nullptr) << guitest::narrow(window);
    EXPECT_NE(gui.findWindow(tutorials().getNextOnClick().at(0)), nullptr);
    // The coordinate records name pages and points that are there.
    for (auto const& record : tutorials().getUserCoords()) {
        Orvex::TutorialPage* found = nullptr;
        for (Orvex::TutorialStrip* s : engine().getStrips())
            if (s->getName() == record.strip)
                for (Orvex::TutorialPage* p : s->getPages())
                    if (p->getName() == record.page) found = p;
        ASSERT_NE(found, nullptr) << guitest::narrow(record.strip);
        EXPECT_NE(found->findPointObject(record.point), nullptr) << guitest::narrow(record.strip);
    }
}

TEST_F(ShippedStoryTest, TheLessonNamesCardsAndPilesOfItsVariant) {
    Solitaire::StyleSettings::instance().setKartenset(cardtest::tableCardSet());
    Solitaire::Kartenmanager& cards = Solitaire::Kartenmanager::instance();
    cards.createDiscardPile();
    ASSERT_TRUE(cards.loadGameDefinitionFile(L"data\\Level\\Herzreihe.sol"));
    Solitaire::SolitaireCamera camera;
    cards.startGame(&camera, L"1", true, {}, {}, 0.0f);
    std::set<std::wstring> users;
    for (Solitaire::Kartenstapel const* pile : cards.piles) users.insert(pile->getUserName());
    for (Solitaire::Karte const* card : cards.cards) users.insert(card->getUserName());
    std::set<std::wstring> const named =
        collect(lessons, {L"CARD_TO_ADD", L"STAPEL_TO_ADD", L"CARD_TO_REMOVE", L"STAPEL_TO_REMOVE", L"CARD_TO_ADD_POST",
                          L"STAPEL_TO_ADD_POST", L"CARD_TO_REMOVE_POST", L"STAPEL_TO_REMOVE_POST", L"KARTE", L"PFEIL_KO"});
    EXPECT_EQ(named.size(), 7u);
    for (std::wstring const& name : named) EXPECT_TRUE(users.count(name)) << guitest::narrow(name);
    // The lesson's pages lead only to its own pages.
    Solitaire::ExtendedTutorial const* lesson = Solitaire::ExtendedTutorialManager::instance().getLessons().at(0).get();
    for (std::wstring const& next : collect(lessons, {L"NEXT"})) EXPECT_NE(lesson->findPage(next), nullptr);
    cards.createDiscardPile();
    cards.setCamera(nullptr);
}

// Each game's tutorial says what its dealt table shows: a page whose piles' role speaks of hidden
// cards ("verdeckt") has face-down cards on those piles, one that speaks of open cards ("offen")
// none. The games are those whose variants name the tutorial in the catalogue, dealt as shipped.
TEST_F(ShippedStoryTest, EachGamesPagesSayWhetherItsPilesHoldHiddenCards) {
    std::map<std::wstring, std::wstring> games;  // tutorial: the rule file of a variant naming it
    std::function<void(Orvex::XMLNode const&)> walk = [&](Orvex::XMLNode const& n) {
        if (n.getName() == L"VARIANTE" && n.getAttribute(L"START_TUTORIAL"))
            games.emplace(n.getAttributeString(L"START_TUTORIAL", L""), n.getAttributeString(L"FILE", L""));
        for (Orvex::XMLNode const* child : n.children()) walk(*child);
    };
    walk(dataFile(L"data\\Level\\Level.dat"));
    EXPECT_EQ(games.size(), 7u);
    Solitaire::StyleSettings::instance().setKartenset(cardtest::tableCardSet());
    Solitaire::Kartenmanager& cards = Solitaire::Kartenmanager::instance();
    Solitaire::SolitaireCamera camera;
    for (auto const& [tutorial, rules] : games) {
        cards.createDiscardPile();
        ASSERT_TRUE(cards.loadGameDefinitionFile(rules)) << guitest::narrow(rules);
        cards.startGame(&camera, L"1", true, {}, {}, 0.0f);
        for (auto const& page : Orvex::findNamedObject(tutorials().getUserTutorials(), tutorial)->getPages()) {
            if (!page->hasPileType) continue;
            std::size_t hidden = 0;
            std::vector<Solitaire::Karte*> faceDown;
            for (Solitaire::Kartenstapel const* pile : cards.getPilesOfType(page->pileType)) {
                pile->getCards(faceDown, true, false);
                hidden += faceDown.size();
            }
            std::wstring const text = page->getText(true);
            if (text.find(L"verdeckt") != std::wstring::npos) EXPECT_GT(hidden, 0u) << guitest::narrow(text);
            if (text.find(L"offen") != std::wstring::npos) EXPECT_EQ(hidden, 0u) << guitest::narrow(text);
        }
    }
    cards.createDiscardPile();
    cards.setCamera(nullptr);
}

TEST_F(ShippedStoryTest, TheStoryNamesPicturesSoundsMusicEmittersAndAchievementsThatExist) {
    for (std::wstring const& name : collect(story, {L"ANIMATION"}))
        EXPECT_NE(Orvex::Texture2DAnimationManager::instance().findAnimation(name), nullptr) << guitest::narrow(name);
    Orvex::XMLNode sounds = dataFile(L"data\\Sounds\\sounds.snd");
    std::set<std::wstring> samples = namesOf(*sounds.getChild(L"SOUND"), L"ENTRY");
    std::set<std::wstring> tracks = namesOf(*sounds.getChild(L"MUSIC"), L"ENTRY");
    for (std::wstring const& name : collect(story, {L"PLAY_SOUND", L"SOUNDS"}))
        EXPECT_TRUE(samples.count(name)) << guitest::narrow(name);
    for (std::wstring const& name : collect(story, {L"MUSIK"})) EXPECT_TRUE(tracks.count(name)) << guitest::narrow(name);
    Orvex::XMLNode particles = dataFile(L"data\\Partikel.par");
    std::set<std::wstring> const emitters = namesOf(particles, L"EMITTER_VORLAGE");
    for (std::wstring const& name : collect(story, {L"PARTIKEL_EMITTER"}))
        EXPECT_TRUE(emitters.count(name)) << guitest::narrow(name);
    Orvex::XMLNode achievements = dataFile(L"data\\achivement.acv");
    std::set<std::wstring> const defined = namesOf(achievements, L"ACHIVEMENT");
    for (auto const& scene : Solitaire::StoryManager::instance().getScenes()) {
        for (auto const& entry : scene->params.achievementIncrements)
            EXPECT_TRUE(defined.count(entry.name)) << guitest::narrow(entry.name);
        // Every change names an element of its scene, and the skip element is one.
        for (Solitaire::StorySwitch const& s : scene->switches)
            for (Solitaire::StorySwitchParam const& p : s.params)
                EXPECT_NE(scene->findPart(p.partName), nullptr) << guitest::narrow(p.partName);
        EXPECT_NE(scene->findPart(scene->skipPart), nullptr);
    }
}

// What a scene's text speaks of is drawn while the text shows: a text naming the tower ("Turm")
// has the scene's tower picture visible with it, rising above the hills (the horizon).
TEST_F(ShippedStoryTest, ATextNamingTheTowerShowsTheTower) {
    int told = 0;
    for (auto const& scene : Solitaire::StoryManager::instance().getScenes()) {
        Solitaire::StoryPartPart const* hills = scene->findPart(L"HUEGEL");
        ASSERT_NE(hills, nullptr) << guitest::narrow(scene->getName());
        scene->currentSwitch = -1;
        for (bool ended = scene->nextSwitch(0.0f); !ended; ended = scene->nextSwitch(0.0f))
            for (auto const& text : scene->parts) {
                if (!text->visible || Orvex::languageText(text->textId).find(L"Turm") == std::wstring::npos) continue;
                ++told;
                bool drawn = false;
                for (auto const& picture : scene->parts)
                    drawn = drawn || (picture->visible && picture->animation && picture->animation->getName() == L"STORY_TURM" &&
                                      picture->getPositionValue().y < hills->getPositionValue().y);
                EXPECT_TRUE(drawn) << guitest::narrow(text->textId) << " at switch " << scene->currentSwitch;
            }
    }
    EXPECT_EQ(told, 4) << "the first texts of four scenes";
}

TEST_F(ShippedStoryTest, EachProfileSeesTheScenesInTurnAsItsUnlocksAllow) {
    Solitaire::StoryManager& manager = Solitaire::StoryManager::instance();
    auto next = [&manager](storytest::ProfileStandIn* p) {
        Solitaire::StoryPart* s = manager.startNextScene(p);
        return s ? s->getName() : std::wstring(L"-");
    };
    EXPECT_EQ(next(profile), L"STORY_INTRO");
    EXPECT_EQ(profile->order, (Names{L"STORY_INTRO", L"STORY_INTRO_BEGONNEN", L"STORY_LAEUFT"}));
    EXPECT_EQ(next(profile), L"-");  // never the intro again
    profile->addUnlock(L"K0_L1_BESTANDEN", false);
    EXPECT_EQ(next(profile), L"-") << "the rest waits for the chapter's end";
    profile->addUnlock(L"KAPITEL_0_FINISHED", false);
    Solitaire::StoryPart const* rest = manager.startNextScene(profile);
    ASSERT_NE(rest, nullptr);
    EXPECT_EQ(rest->getName(), L"STORY_RAST");
    EXPECT_TRUE(rest->params.startMinigame);
    EXPECT_EQ(rest->params.minigame, 0);
    EXPECT_EQ(next(profile), L"-") << "chapter 1's intro waits for the mini-game's end";
    profile->addUnlock(L"MINIGAME_0_FINISHED", false);
    Solitaire::StoryPart const* tower = manager.startNextScene(profile);
    ASSERT_NE(tower, nullptr);
    EXPECT_EQ(tower->getName(), L"STORY_TURM");
    EXPECT_TRUE(tower->params.startLevel);
    EXPECT_EQ(tower->params.chapter, 1);
    EXPECT_EQ(tower->params.level, 0);
    EXPECT_EQ(tower->params.onEndMenu, L"LEVELAUSWAHLMENU");
    // A later chapter: its rest once finished, the next intro (with its god) once its game ended.
    profile->addUnlock(L"KAPITEL_4_FINISHED", false);
    EXPECT_EQ(next(profile), L"STORY_RAST_4");
    profile->addUnlock(L"MINIGAME_4_FINISHED", false);
    Solitaire::StoryPart* fifth = manager.startNextScene(profile);
    ASSERT_NE(fifth, nullptr);
    EXPECT_EQ(fifth->getName(), L"STORY_KAPITEL_5");
    fifth->applyPostUnlocks(profile);
    EXPECT_TRUE(profile->isUnlocked(L"GOD1"));
    // Another profile starts with the intro.
    auto* second = new storytest::ProfileStandIn(L"Zweite");
    EXPECT_EQ(next(second), L"STORY_INTRO");
    second->release();
}

TEST_F(ShippedStoryTest, TheIntroPlaysThroughTimedAndClickedSwitches) {
    storytest::MusicRecorder music;
    music.listen();
    Solitaire::StoryPart* intro = Solitaire::StoryManager::instance().startNextScene(profile);
    ASSERT_NE(intro, nullptr);
    EXPECT_EQ(music.heard, (Names{L"stop standard", L"play STORY"}));
    constexpr float kFrame = 1.0f / 60.0f;
    float clock = 0.0f;
    auto runUntilSwitch = [&](int index, float limit) {
        while (intro->currentSwitch < index && clock < limit) {
            EXPECT_FALSE(intro->update(kFrame));
            clock += kFrame;
        }
        return clock;
    };
    // Switch 0 lasts 1.5 s of scene time: 1.25 s at 1.2 times the speed; switch 1 3.5 s.
    EXPECT_NEAR(runUntilSwitch(1, 10.0f), 1.25f, 2 * kFrame);
    EXPECT_NEAR(runUntilSwitch(2, 10.0f), 1.25f + 3.5f / 1.2f, 3 * kFrame);
    EXPECT_FALSE(intro->click(0.5f, 0.5f));  // switch 2 moves on at a click as well
    EXPECT_EQ(intro->currentSwitch, 3);
    for (int i = 0; i < 600; ++i) EXPECT_FALSE(intro->update(kFrame));  // switch 3 waits for a click
    EXPECT_EQ(intro->currentSwitch, 3);
    EXPECT_FALSE(intro->click(0.5f, 0.5f));
    bool ended = false;
    for (int i = 0; i < 200 && !ended; ++i) ended = intro->update(kFrame);
    EXPECT_TRUE(ended);
    EXPECT_EQ(music.heard.back(), L"standard");
    profile->order.clear();
    intro->applyPostUnlocks(profile);
    intro->applyPostPostUnlocks(profile);
    EXPECT_EQ(profile->order, (Names{L"STORY_INTRO_GESEHEN", L"STORY_INTRO_FRISCH", L"STORY_INTRO_ABGESCHLOSSEN",
                                     L"STORY_INTRO_HINWEIS"}));
}

TEST_F(ShippedStoryTest, TheRoundButtonSkipsTheIntro) {
    Solitaire::StoryPart* intro = Solitaire::StoryManager::instance().startNextScene(profile);
    ASSERT_NE(intro, nullptr);
    EXPECT_FALSE(intro->click(0.5f, 0.5f));  // switch 0 moves on by its timer only
    EXPECT_TRUE(intro->click(0.93f, 0.91f));
    EXPECT_EQ(intro->currentSwitch, 0);
}

}  // namespace
