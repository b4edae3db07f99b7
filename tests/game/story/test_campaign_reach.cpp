// What the shipped data lets a player reach. From a fresh profile's unlocks the campaign is
// followed as the game follows it: the story's scenes in turn as the unlocks allow (the real
// story manager picks them), every level of an open chapter passed (its unlocks recorded), a
// chapter with more than half of its levels passed finished and the next one opened, a scene's
// mini-game ended ("MINIGAME_n_FINISHED", the next chapter opened), free play's shown variants.
// Every mini-game the definition file holds, every god, every lesson, every scene and every
// tutorial strip the code (the lock tutorials included) or the data names must be reached, and
// nothing reached may be missing; a rest scene taken out of the story leaves its mini-game
// unreached, an intro its god (shown on a copy of the story).
// A scene is played where the game plays it: at the level screen, or in place of a level that is
// starting (its "UNLOCKS_PRE" just recorded), whose start "START_NEXT_LEVEL" then makes. Every end
// action is used by some scene: a menu opened as it starts, a level started, the next level
// started, a tutorial shown, a mini-game started.
// The campaign's levels deal every lock colour, each with a key of its colour on a free card that
// opens it on a goal pile: both lock tutorials of each colour are reached.
// The campaign's goals: every kind used, none held by a dealt table, growing chapter by chapter.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <map>
#include <set>

#include "engine/core/XMLNode.h"
#include "engine/gui/TutorialStrip.h"
#include "game/app/LevelGoal.h"
#include "game/app/SolVariant.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "game/look/ReadProblems.h"
#include "game/look/SolitaireCamera.h"
#include "game/look/StyleSettings.h"
#include "game/story/ExtendedTutorial.h"
#include "game/story/StoryManager.h"
#include "game/story/StoryPart.h"
#include "tests/game/cards/CardTableFixture.h"
#include "tests/game/story/GameTutorialFixture.h"

namespace {

using NameSet = std::set<std::wstring>;

constexpr int kChapters = 21;
constexpr int kMinigames = 20;
constexpr int kGods = 4;

// Strips the game's code shows by name: the screens' first-time tutorials, the found cards, the
// story's window, the god bars once full, the locks of a deal and the cards they set free (one
// per lock kind).
NameSet codeStrips() {
    NameSet out{L"STORY",         L"TUTORIALMENU",     L"HAUPTMENU",       L"LEVELAUSWAHLMENU", L"INGAMEMENU_FG",
              L"INGAMEMENU_STORY", L"EXTRACARD_FOUND", L"JOKER_FOUND", L"WILDCARD_FOUND"};
    for (int i = 0; i < kGods; ++i) out.insert(L"GOD_" + std::to_wstring(i) + L"_READY");
    for (int k = 0; k < 4; ++k) {
        out.insert(L"LOCKED_CARDS_FOUND_" + std::to_wstring(k));
        out.insert(L"CARD_UNLOCKED_" + std::to_wstring(k));
    }
    return out;
}

Orvex::XMLNode file(std::wstring const& name) {
    Orvex::XMLNode root;
    EXPECT_TRUE(root.load(name)) << guitest::narrow(name);
    return root;
}

std::wstring attr(Orvex::XMLNode const& node, wchar_t const* key) { return node.getAttributeString(key, L""); }

// What the walk reached.
struct Reach {
    NameSet scenes, minigames, strips, lessons, variantFiles, userTutorialFiles;
    // Rule files of the campaign's levels, in the order first reached.
    std::vector<std::wstring> levelFiles;
    // The end actions the scenes played use ("ON_START_MENU", "START_NEXT_LEVEL", ...), and the
    // menus they open.
    NameSet actions, menus;
    std::set<int> chapters;
    std::vector<std::wstring> problems;
};

// The counts a deal announces and the locks a move opens.
struct LockRecorder : sigslot::has_slots<> {
    std::vector<D3DXVECTOR4> found, opened;
    void onFound(D3DXVECTOR4 const& v) { found.push_back(v); }
    void onOpened(D3DXVECTOR4 const& v) { opened.push_back(v); }
};

float component(D3DXVECTOR4 const& v, int i) { return std::array<float, 4>{v.x, v.y, v.z, v.w}[static_cast<std::size_t>(i)]; }

class CampaignReachTest : public storytest::GameTutorialFixture {
protected:
    void SetUp() override {
        GameTutorialFixture::SetUp();
        Solitaire::StoryManager::instance().clear();
        catalogue = file(L"data\\Level\\Level.dat");
        minigames = file(L"data\\Games\\minigames.min");
        tutorial = file(L"data\\tutorial.tut");
        user = file(L"data\\loctutorials.tut");
        lessons = file(L"data\\exttutorial.tut");
        story = file(L"data\\Story\\Story.str");
    }
    void TearDown() override {
        Solitaire::StoryManager::instance().clear();
        GameTutorialFixture::TearDown();
    }

    Orvex::XMLNode const* category(std::wstring const& name) const {
        for (Orvex::XMLNode const* c : catalogue.children())
            if (c->getName() == L"KATEGORIE" && attr(*c, L"NAME") == name) return c;
        return nullptr;
    }
    std::vector<Orvex::XMLNode const*> chapters() const {
        std::vector<Orvex::XMLNode const*> out;
        if (Orvex::XMLNode const* campaign = category(L"KAMPAGNE"))
            for (Orvex::XMLNode const* game : campaign->children())
                if (game->getName() == L"GAME") out.push_back(game);
        return out;
    }
    static std::vector<Orvex::XMLNode const*> variantsOf(Orvex::XMLNode const& game) {
        std::vector<Orvex::XMLNode const*> out;
        for (Orvex::XMLNode const* v : game.children())
            if (v->getName() == L"VARIANTE") out.push_back(v);
        return out;
    }

    // A variant's start: its rule file, its tutorials and lesson.
    static void start(Orvex::XMLNode const& variant, Reach& reach) {
        reach.variantFiles.insert(attr(variant, L"FILE"));
        for (wchar_t const* key : {L"START_TUTORIAL", L"SHOW_TUTORIAL"})
            if (!attr(variant, key).empty()) reach.strips.insert(attr(variant, key));
        if (!attr(variant, L"SHOW_EXTENDEDTUTORIAL").empty()) reach.lessons.insert(attr(variant, L"SHOW_EXTENDEDTUTORIAL"));
        if (!attr(variant, L"TUTORIAL_FILE").empty()) reach.userTutorialFiles.insert(attr(variant, L"TUTORIAL_FILE"));
    }

    // The scenes now due, each played to its end (the game's end-of-scene steps); startingLevel
    // tells whether a level is starting (a scene due then plays in its place). True when one
    // played.
    bool playDueScenes(Reach& reach, std::set<int>& open, bool startingLevel) {
        Solitaire::StoryManager& manager = Solitaire::StoryManager::instance();
        std::vector<Orvex::XMLNode const*> const games = chapters();
        bool played = false;
        while (Solitaire::StoryPart* scene = manager.startNextScene(profile)) {
            played = true;
            reach.scenes.insert(scene->getName());
            scene->applyPostUnlocks(profile);
            scene->applyPostPostUnlocks(profile);
            Solitaire::StorySceneParams const& end = scene->params;
            if (!end.onStartMenu.empty()) reach.actions.insert(L"ON_START_MENU"), reach.menus.insert(end.onStartMenu);
            if (!end.onEndMenu.empty()) reach.actions.insert(L"ON_END_MENU"), reach.menus.insert(end.onEndMenu);
            if (end.startTutorial && !end.tutorial.empty()) {
                reach.strips.insert(end.tutorial);
                reach.actions.insert(L"START_TUTORIAL");
            }
            if (end.startMinigame) {
                reach.actions.insert(L"START_MINIGAME");
                reach.minigames.insert(L"MINIGAME_" + std::to_wstring(end.minigame));
                profile->addUnlock(L"MINIGAME_" + std::to_wstring(end.minigame) + L"_FINISHED", false);
                open.insert(end.minigame + 1);
            }
            if (end.startLevel) {
                reach.actions.insert(L"START_LEVEL");
                bool const there = end.chapter >= 0 && end.chapter < static_cast<int>(games.size()) &&
                                   end.level >= 0 && end.level < static_cast<int>(variantsOf(*games[end.chapter]).size());
                if (!there || !open.count(end.chapter))
                    reach.problems.push_back(scene->getName() + L" starts a level that is not open");
            } else if (end.startNextLevel) {
                // The game's next level is the one that was starting; at the level screen there
                // is none.
                reach.actions.insert(L"START_NEXT_LEVEL");
                if (!startingLevel) reach.problems.push_back(scene->getName() + L" starts the next level where none starts");
            }
        }
        return played;
    }

    // Follows the campaign from a fresh profile as far as the data leads.
    Reach walk() {
        Reach reach;
        std::vector<Orvex::XMLNode const*> const games = chapters();
        std::set<int> open{0};
        std::set<int> finished;
        for (bool moved = true; moved;) {
            // The scenes due at the level screen.
            moved = playDueScenes(reach, open, false);
            // Every level of an open chapter played and passed, each as it starts with the
            // scenes due then.
            for (int c : std::set<int>(open)) {
                if (c >= static_cast<int>(games.size()) || finished.count(c)) continue;
                reach.chapters.insert(c);
                for (Orvex::XMLNode const* level : variantsOf(*games[c])) {
                    start(*level, reach);
                    if (std::find(reach.levelFiles.begin(), reach.levelFiles.end(), attr(*level, L"FILE")) ==
                        reach.levelFiles.end())
                        reach.levelFiles.push_back(attr(*level, L"FILE"));
                    if (!attr(*level, L"UNLOCKS_PRE").empty()) profile->addUnlock(attr(*level, L"UNLOCKS_PRE"), false);
                    playDueScenes(reach, open, true);
                    for (wchar_t const* key : {L"UNLOCKS", L"UNLOCKS_POST"})
                        if (!attr(*level, key).empty()) profile->addUnlock(attr(*level, key), false);
                }
                finished.insert(c);
                profile->addUnlock(L"KAPITEL_" + std::to_wstring(c) + L"_FINISHED", false);
                open.insert(c + 1);
                moved = true;
            }
        }
        // Free play: every shown variant of every shown category.
        for (Orvex::XMLNode const* c : catalogue.children()) {
            if (c->getName() != L"KATEGORIE" || c->getAttributeInt(L"SHOW_IN_AUSWAHL", 1) == 0) continue;
            for (Orvex::XMLNode const* game : c->children())
                if (game->getName() == L"GAME" && game->getAttributeInt(L"SHOW_IN_AUSWAHL", 1) != 0)
                    for (Orvex::XMLNode const* v : variantsOf(*game))
                        if (v->getAttributeInt(L"SHOW_IN_AUSWAHL", 1) != 0) start(*v, reach);
        }
        return reach;
    }

    NameSet definedMinigames() const {
        NameSet out;
        for (Orvex::XMLNode const* game : minigames.children())
            if (game->getName() == L"MINISPIEL") out.insert(attr(*game, L"NAME"));
        return out;
    }
    // Strips of the engine's tutorial file and user tutorials of the given files.
    NameSet definedStrips(NameSet const& userFiles) const {
        NameSet out;
        for (Orvex::XMLNode const* s : tutorial.children())
            if (s->getName() == L"STRIP") out.insert(attr(*s, L"NAME"));
        auto addUsers = [&out](Orvex::XMLNode const& root) {
            for (Orvex::XMLNode const* t : root.children())
                if (t->getName() == L"USER_TUTORIAL") out.insert(attr(*t, L"NAME"));
        };
        addUsers(user);
        for (std::wstring const& name : userFiles) addUsers(file(name));
        return out;
    }

    Orvex::XMLNode catalogue, minigames, tutorial, user, lessons, story;
};

TEST_F(CampaignReachTest, EveryMinigameGodLessonSceneAndStripIsReached) {
    Solitaire::StoryManager::instance().load(story);
    Reach const reach = walk();
    EXPECT_EQ(reach.problems, std::vector<std::wstring>{});

    // Chapters 0 .. 20, all reached; every mini-game defined is reached, and none is reached that
    // is not defined.
    ASSERT_EQ(chapters().size(), static_cast<std::size_t>(kChapters));
    EXPECT_EQ(reach.chapters.size(), static_cast<std::size_t>(kChapters));
    NameSet const defined = definedMinigames();
    EXPECT_EQ(defined.size(), static_cast<std::size_t>(kMinigames));
    EXPECT_EQ(reach.minigames, defined);

    // Every scene of the story plays for some profile.
    for (auto const& scene : Solitaire::StoryManager::instance().getScenes())
        EXPECT_TRUE(reach.scenes.count(scene->getName())) << guitest::narrow(scene->getName());

    // The gods come in turn.
    for (int i = 0; i < kGods; ++i) EXPECT_TRUE(profile->isUnlocked(L"GOD" + std::to_wstring(i))) << i;

    // Every lesson is started by a variant a player reaches, and every named lesson exists.
    NameSet lessonNames;
    for (Orvex::XMLNode const* l : lessons.children())
        if (l->getName() == L"EXTENDED_TUTORIAL") lessonNames.insert(attr(*l, L"NAME"));
    EXPECT_FALSE(lessonNames.empty());
    EXPECT_EQ(reach.lessons, lessonNames);

    // Every strip the code or the reached data names exists; every strip the data defines is
    // named by something reached.
    NameSet const strips = definedStrips(reach.userTutorialFiles);
    NameSet named = reach.strips;
    for (std::wstring const& s : codeStrips()) {
        EXPECT_TRUE(strips.count(s)) << "the code shows " << guitest::narrow(s);
        named.insert(s);
    }
    for (std::wstring const& s : reach.strips) EXPECT_TRUE(strips.count(s)) << "the data names " << guitest::narrow(s);
    for (std::wstring const& s : strips) EXPECT_TRUE(named.count(s)) << guitest::narrow(s) << " is reached by nothing";

    // Each end action is used by a scene the player meets; the menus they open exist.
    for (wchar_t const* action : {L"ON_START_MENU", L"ON_END_MENU", L"START_LEVEL", L"START_NEXT_LEVEL",
                                  L"START_TUTORIAL", L"START_MINIGAME"})
        EXPECT_TRUE(reach.actions.count(action)) << guitest::narrow(action) << " is used by no scene";
    NameSet menuNames;
    std::function<void(Orvex::XMLNode const&)> menusIn = [&](Orvex::XMLNode const& node) {
        if (node.getName() == L"GUIMENU") menuNames.insert(attr(node, L"NAME"));
        for (Orvex::XMLNode const* child : node.children()) menusIn(*child);
    };
    menusIn(file(L"data\\GUI\\menus.mnu"));
    for (std::wstring const& menu : reach.menus) EXPECT_TRUE(menuNames.count(menu)) << guitest::narrow(menu);

    // Every variant free play offers is a level of the campaign too.
    NameSet campaignFiles;
    for (Orvex::XMLNode const* game : chapters())
        for (Orvex::XMLNode const* level : variantsOf(*game)) campaignFiles.insert(attr(*level, L"FILE"));
    for (std::wstring const& f : reach.variantFiles) EXPECT_TRUE(campaignFiles.count(f)) << guitest::narrow(f);
}

// A scene taken out of the story: a rest scene's mini-game is never reached; an intro's god
// never comes.
TEST_F(CampaignReachTest, ARemovedSceneLeavesWhatItBringsUnreached) {
    struct Case {
        wchar_t const* scene;
        wchar_t const* minigame;  // the mini-game lost, or null
        wchar_t const* god;       // the god lost, or null
    };
    for (Case const c : {Case{L"STORY_RAST_7", L"MINIGAME_7", nullptr}, Case{L"STORY_RAST", L"MINIGAME_0", nullptr},
                         Case{L"STORY_KAPITEL_5", nullptr, L"GOD1"}}) {
        SCOPED_TRACE(guitest::narrow(c.scene));
        Orvex::XMLNode cut = file(L"data\\Story\\Story.str");
        Orvex::XMLNode* gone = nullptr;
        for (Orvex::XMLNode* part : cut.children())
            if (part->getName() == L"STORY_PART" && attr(*part, L"NAME") == c.scene) gone = part;
        ASSERT_NE(gone, nullptr);
        ASSERT_TRUE(cut.removeChild(gone));
        Solitaire::StoryManager::instance().clear();
        Solitaire::StoryManager::instance().load(cut);
        profile->release();
        profile = new storytest::ProfileStandIn(L"Frisch");
        Reach const reach = walk();
        if (c.minigame) {
            EXPECT_FALSE(reach.minigames.count(c.minigame));
            EXPECT_NE(reach.minigames, definedMinigames());
        }
        if (c.god) EXPECT_FALSE(profile->isUnlocked(c.god));
    }
}

// The levels a player reaches, each dealt as the game deals it: every lock colour is dealt, its
// tutorial shown by the deal's count; each lock dealt has a key of its colour on a card without a
// lock, and that key laid on a goal pile opens it (the unlocked tutorial's count). Keys open only
// their own colour.
TEST_F(CampaignReachTest, EveryLockColourIsFoundAndOpened) {
    Solitaire::StoryManager::instance().load(story);
    Reach reach = walk();
    ASSERT_TRUE(openDevice(320, 240));
    Solitaire::StyleSettings::instance().setKartenset(cardtest::tableCardSet());
    Solitaire::Kartenmanager& cards = Solitaire::Kartenmanager::instance();
    Solitaire::SolitaireCamera camera;
    LockRecorder recorder;
    cards.lockedCardsFound.connect(&recorder, &LockRecorder::onFound);
    cards.cardsUnlocked.connect(&recorder, &LockRecorder::onOpened);
    std::map<int, std::wstring> firstFound;
    for (std::wstring const& level : reach.levelFiles) {
        SCOPED_TRACE(guitest::narrow(level));
        cards.createDiscardPile();
        ASSERT_TRUE(cards.loadGameDefinitionFile(level));
        cards.startGame(&camera, L"7", true, {}, {}, 0.0f);
        recorder.found.clear();
        recorder.opened.clear();
        cards.computeCardBounds();
        for (D3DXVECTOR4 const& counts : recorder.found)
            for (int k = 0; k < 4; ++k)
                if (component(counts, k) != 0.0f) {
                    reach.strips.insert(L"LOCKED_CARDS_FOUND_" + std::to_wstring(k));
                    firstFound.emplace(k, level);
                }
        // Each key, in colour order, laid on a goal pile as the last move of its pile.
        Solitaire::Kartenstapel* goal = nullptr;
        for (Solitaire::Kartenstapel* pile : cards.piles)
            if (!goal && pile->isGoalPile()) goal = pile;
        for (int k = 0; k < 4; ++k) {
            Solitaire::Karte* locked = nullptr;
            Solitaire::Karte* key = nullptr;
            for (Solitaire::Karte* card : cards.cards) {
                if (!locked && component(card->locks.goal, k) != 0.0f) locked = card;
                if (!key && component(card->keys.goal, k) != 0.0f) key = card;
            }
            if (!locked) continue;
            ASSERT_NE(key, nullptr) << "a lock of colour " << k << " without its key";
            EXPECT_FALSE(key->isLocked()) << "the key of colour " << k << " is locked itself";
            ASSERT_NE(goal, nullptr);
            recorder.opened.clear();
            cards.executeMove({{key, 0}}, key->pile, goal, key);
            cards.resolveAfterMove(true);
            ASSERT_EQ(recorder.opened.size(), 1u) << "the key of colour " << k << " opens nothing";
            for (int other = 0; other < 4; ++other)
                EXPECT_EQ(component(recorder.opened[0], other) != 0.0f, other == k) << k << " opens " << other;
            EXPECT_FALSE(locked->isLocked());
            reach.strips.insert(L"CARD_UNLOCKED_" + std::to_wstring(k));
        }
    }
    for (int k = 0; k < 4; ++k) {
        std::wstring const n = std::to_wstring(k);
        EXPECT_TRUE(reach.strips.count(L"LOCKED_CARDS_FOUND_" + n)) << "no level deals a lock of colour " << k;
        EXPECT_TRUE(reach.strips.count(L"CARD_UNLOCKED_" + n)) << "no lock of colour " << k << " is opened";
    }
    // Gold comes first, in chapter 1's cells; then silver, copper and blue, in that order.
    std::vector<std::size_t> order;
    for (auto const& [k, level] : firstFound)
        order.push_back(static_cast<std::size_t>(std::find(reach.levelFiles.begin(), reach.levelFiles.end(), level) -
                                                 reach.levelFiles.begin()));
    EXPECT_TRUE(std::is_sorted(order.begin(), order.end()));
    cards.lockedCardsFound.disconnect(&recorder);
    cards.cardsUnlocked.disconnect(&recorder);
    cards.createDiscardPile();
    cards.setCamera(nullptr);
    closeDevice();
}

// The campaign's goals: every kind somewhere; growing over the chapters; none held by the dealt
// table of its level (each level dealt with its rule file and tested at once).
TEST_F(CampaignReachTest, GoalsNeedPlayGrowAndUseEveryKind) {
    ASSERT_TRUE(openDevice(320, 240));
    Solitaire::StyleSettings::instance().setKartenset(cardtest::tableCardSet());
    Solitaire::Kartenmanager& cards = Solitaire::Kartenmanager::instance();
    Solitaire::SolitaireCamera camera;
    NameSet kinds;
    // (variant file, goal type) -> the target of the chapter before.
    std::map<std::pair<std::wstring, std::wstring>, std::pair<int, float>> last;
    int chapter = 0;
    for (Orvex::XMLNode const* game : chapters()) {
        for (Orvex::XMLNode const* node : variantsOf(*game)) {
            std::wstring const where = attr(*game, L"NAME") + L"/" + attr(*node, L"NAME");
            SCOPED_TRACE(guitest::narrow(where));
            for (Orvex::XMLNode const* goal : node->children()) {
                if (goal->getName() != L"GOAL") continue;
                std::wstring const type = attr(*goal, L"TYPE");
                kinds.insert(type);
                float target = -1.0f;
                int direction = 0;  // 1: must not fall, -1: must not rise
                if (type == L"POINTS") target = goal->getAttributeFloat(L"MIN_POINTS", 0.0f), direction = 1;
                if (type == L"GOALCARDS") target = goal->getAttributeFloat(L"MIN_CARDS", 0.0f), direction = 1;
                if (type == L"RESTCARDS" && goal->getAttribute(L"MAX_CARDS_VERH"))
                    target = goal->getAttributeFloat(L"MAX_CARDS_VERH", 1.0f), direction = -1;
                if (type == L"TIME") target = goal->getAttributeFloat(L"MAX_TIME", 0.0f), direction = -1;
                if (direction == 0) continue;
                auto const key = std::make_pair(attr(*node, L"FILE"), type);
                auto const before = last.find(key);
                if (before != last.end() && before->second.first < chapter)
                    EXPECT_GE(direction * target, direction * before->second.second) << guitest::narrow(type);
                last[key] = {chapter, target};
            }
            Orvex::XMLNode copy = *node;
            Solitaire::ReadProblems problems;
            auto* variant = new Solitaire::SolVariant(copy, problems);
            cards.createDiscardPile();
            ASSERT_TRUE(cards.loadGameDefinitionFile(attr(*node, L"FILE")));
            cards.startGame(&camera, L"7", true, {}, {}, 0.0f);
            bool s1 = true, s2 = true, s3 = true;
            variant->getReachedGoals(cards.makeGameEndParms(false), s1, s2, s3);
            EXPECT_FALSE(s1 || s2 || s3) << "a goal holds on the dealt table: " << s1 << s2 << s3;
        }
        ++chapter;
    }
    for (wchar_t const* kind : {L"NOTHING", L"TIME", L"POINTS", L"RESTCARDS", L"EXTRACARDS", L"COMBO"})
        EXPECT_TRUE(kinds.count(kind)) << guitest::narrow(kind);
    EXPECT_TRUE(kinds.count(L"WIN") || kinds.count(L"REMOVE_ALL_TABLEAU_STAPEL"));
    EXPECT_TRUE(kinds.count(L"GOALCARDS") || kinds.count(L"CARDS_ON_GOAL"));
    EXPECT_TRUE(kinds.count(L"EMPTY_TABLEAU_STAPEL") || kinds.count(L"STAPEL_EMPTY"));
    cards.createDiscardPile();
    cards.setCamera(nullptr);
    closeDevice();
}

}  // namespace
