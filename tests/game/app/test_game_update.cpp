// The game object's per-frame update on a clock the test sets: the card manager's game and
// animation steps in and out of the in-game screen, the results delay with its medal windows
// and the evaluation menu, the texture check left to the engine, and the cursor animations.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/PerfTimer.h"
#include "engine/core/engine/OrvexEngine.h"
#include "engine/gui/GUIAnimationsGoal.h"
#include "engine/gui/GUIMenuManagerN.h"
#include "engine/gui/GUIMenuN.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/TutorialManager.h"
#include "engine/platform/DirectInputInterface.h"
#include "engine/render/Texture2DAnimation.h"
#include "game/cards/Kartenmanager.h"
#include "tests/game/app/GameFixture.h"

namespace {

using apptest::GameFixture;
using Solitaire::Kartenmanager;
using Solitaire::SolitaireGame2;

constexpr double kUpdateInterval = 1.0 / 60.0;

class GameUpdateTest : public GameFixture {
protected:
    void SetUp() override {
        files.files["data/tutorial.tut"] = "<TUTORIALS><STRIP NAME=\"EXTRACARD_FOUND\"/><STRIP NAME=\"ANDERS\"/></TUTORIALS>";
        GameFixture::SetUp();
        // The card manager plays on the game's camera: its update then counts game time and
        // eases the shown score by the animation step.
        Kartenmanager::instance().setCamera(game->getCamera());
    }
    void TearDown() override {
        Kartenmanager::instance().setCamera(nullptr);
        Orvex::PerfTimer::frameTimer().setPause(0, false);
        GameFixture::TearDown();
    }
};

// Game time the card manager counted, and whether its animations moved, in each update.
struct Observed {
    double gameTime;
    bool animated;
};

Observed observeUpdate(SolitaireGame2& game) {
    Kartenmanager& cards = Kartenmanager::instance();
    double const timeBefore = cards.getTime();
    // The real score far above the shown one: an update that animates moves the shown score.
    float const shownBefore = cards.getShownScorePlus();
    Solitaire::PlayState state = cards.getPlayState();
    state.score = shownBefore + 1000.0f;
    // A running game with nothing to resolve (the test table has no piles: a resolution would
    // call it won) whose end was not sent (an ended game's clock stands).
    state.gameStatus = Solitaire::kGameRunning;
    state.gameEndSent = false;
    state.resolutionPending = false;
    cards.setPlayState(state);
    game.update();
    return Observed{cards.getTime() - timeBefore, cards.getShownScorePlus() != shownBefore};
}

TEST_F(GameUpdateTest, CardManagerStepsInAndOutOfTheGame) {
    struct Case {
        char const* what;
        wchar_t const* menu;
        bool paused;
        wchar_t const* strip;
        std::vector<double> realSteps;
        std::vector<Observed> observed;
    };
    Case const cases[] = {
        // In game, two updates of 1/120 s: the first leaves half an interval, the second makes
        // exactly one, which is not more than one: the table is updated only after a third.
        {"two half intervals", L"INGAMEMENU", false, nullptr, {1.0 / 120, 1.0 / 120, 1.0 / 120},
         {{0, false}, {0, false}, {kUpdateInterval, true}}},
        // A frame of 5 s plays 1 s of game, not 5.
        {"five seconds", L"INGAMEMENU", false, nullptr, {5.0}, {{1.0, true}}},
        // Game time paused (a step of exactly 0): the game clock stands, the cards animate.
        {"paused", L"INGAMEMENU", true, nullptr, {0.1, 0.1}, {{0, true}, {0, true}}},
        // ... unless the strip "EXTRACARD_FOUND" is shown: then nothing on the table moves.
        {"paused with the extra card strip", L"TUTORIALMENU", true, L"EXTRACARD_FOUND", {0.1}, {{0, false}}},
        {"paused with another strip", L"TUTORIALMENU", true, L"ANDERS", {0.1}, {{0, true}}},
        // Outside the game: game step 0 every update, animations by the real step.
        {"menu", L"HAUPTMENU", false, nullptr, {0.1, 0.1}, {{0, true}, {0, true}}},
    };
    for (Case const& c : cases) {
        showMenu(c.menu == std::wstring(L"TUTORIALMENU") ? L"INGAMEMENU" : c.menu);
        if (c.menu == std::wstring(L"TUTORIALMENU")) showMenu(c.menu);
        game->getInGameStep().accumulator = 0.0;
        Orvex::TutorialManager& tutorials = Orvex::TutorialManager::instance();
        tutorials.hideCurrentStrip();
        if (c.strip) ASSERT_NE(tutorials.showStrip(c.strip), nullptr) << c.what;
        Orvex::PerfTimer::frameTimer().setPause(0, c.paused);
        for (std::size_t i = 0; i < c.realSteps.size(); ++i) {
            Orvex::PerfTimer::frameTimer().advance(c.realSteps[i]);
            Observed const o = observeUpdate(*game);
            EXPECT_NEAR(o.gameTime, c.observed[i].gameTime, 1e-6) << c.what << " update " << i;
            EXPECT_EQ(o.animated, c.observed[i].animated) << c.what << " update " << i;
        }
        Orvex::PerfTimer::frameTimer().setPause(0, false);
    }
}

// The texture module's clock and its once-a-second check belong to the engine's update step:
// the game's update adds nothing, however long the step.
TEST_F(GameUpdateTest, TextureCheckIsLeftToTheEngine) {
    struct Counter : sigslot::has_slots<sigslot::single_threaded> {
        int count = 0;
        void hit() { ++count; }
    } counter;
    Orvex::OrvexEngine::getInstance()->textureCheckSignal.connect(&counter, &Counter::hit);
    double const before = Orvex::OrvexEngine::getInstance()->getTextureTickCount();
    for (double s : {5.0, 0.5, 1.5}) step(s);
    EXPECT_EQ(counter.count, 0);
    EXPECT_EQ(Orvex::OrvexEngine::getInstance()->getTextureTickCount(), before);
}

class GoalRecorder : public sigslot::has_slots<sigslot::single_threaded> {
public:
    void watch(Orvex::GUIWindow& window) { window.goalStarted.connect(this, &GoalRecorder::onGoal); }
    void onGoal(Orvex::GUIWindow& window, Orvex::GUIAnimationsGoal& goal) {
        lines.push_back(window.getName() + L" " + goal.name);
    }
    std::vector<std::wstring> lines;
};

TEST_F(GameUpdateTest, ResultsDelayRevealsTheRatedMedalAndOpensTheEvaluation) {
    struct Case {
        char const* what;
        int rating;
        bool skipAtSix;
        std::wstring medal;
    };
    Case const cases[] = {
        {"bronze in steps", 2, false, L"I_ABSCHLUSS_BRONZE"},
        {"silver skipped", 3, true, L"I_ABSCHLUSS_SILBER"},
        // Three stars and every tableau pile empty (the test table has none at all): perfect.
        {"perfect", 4, false, L"I_ABSCHLUSS_PERFEKT"},
        {"no stars", 1, false, L"I_ABSCHLUSS_NIX"},
    };
    wchar_t const* const medals[] = {L"I_ABSCHLUSS_NIX", L"I_ABSCHLUSS_BRONZE", L"I_ABSCHLUSS_SILBER",
                                     L"I_ABSCHLUSS_GOLD", L"I_ABSCHLUSS_PERFEKT"};
    for (Case const& c : cases) {
        showMenu(L"INGAMEMENU");
        GoalRecorder recorder;
        for (wchar_t const* name : medals) {
            find(name)->jumpToGoal(L"AUS");
            recorder.watch(*find(name));
        }
        Solitaire::ResultsDelay& delay = game->getResultsDelay();
        delay.pending = 1;
        delay.delay = 6.0f;
        delay.rating = c.rating;
        Orvex::GUIMenuN* results = Orvex::GUIMenuManagerN::instance().findMenu(L"AUSWERTUNGMENU");
        if (c.skipAtSix) {
            delay.skip = true;
            step(0.01);
        } else {
            step(1.5);  // 6 -> 4.5: the medal
            ASSERT_EQ(recorder.lines.size(), 1u) << c.what;
            EXPECT_EQ(recorder.lines[0], c.medal + L" AN") << c.what;
            step(3.0);  // -> 1.5
            EXPECT_EQ(recorder.lines.size(), 1u) << c.what;
            EXPECT_FALSE(results->isActive()) << c.what;
            step(1.0);  // -> 0.5: the medals leave
            step(0.6);  // -> -0.1: the evaluation
        }
        ASSERT_EQ(recorder.lines.size(), 6u) << c.what;
        EXPECT_EQ(recorder.lines[0], c.medal + L" AN") << c.what;
        for (int i = 0; i < 5; ++i) EXPECT_EQ(recorder.lines[1 + i], std::wstring(medals[i]) + L" WEG") << c.what;
        EXPECT_TRUE(results->isActive()) << c.what;
        EXPECT_EQ(delay.pending, 0) << c.what;
        EXPECT_FALSE(delay.skip) << c.what;
    }
}

TEST_F(GameUpdateTest, PointerCursorsPlayForwardWhileHeldAndBackOnRelease) {
    Orvex::MouseState& mouse = Orvex::DirectInputInterface::getInstance().getMouseState();
    Orvex::Texture2DAnimation* cursor = game->getCursorTable().getCursor(Solitaire::CursorTable::kFirstMouseCursor);
    Orvex::Texture2DAnimation* arrow = game->getCursorTable().getCursor(Solitaire::CursorTable::kFirstArrow);
    Orvex::Texture2DAnimation* god = game->getCursorTable().getCursor(Solitaire::CursorTable::kFirstGodCursor);
    ASSERT_TRUE(cursor && arrow && god);
    // Ten frames a second, two frames, played once: held, the cursor runs to its last frame and
    // stays; released, it runs back to its first. The arrows always run forward.
    struct {
        bool held;
        double step;
        int cursorFrame;
        int arrowFrame;
    } const updates[] = {{true, 0.05, 0, 0}, {true, 0.1, 1, 1}, {true, 1.0, 1, 1},
                         {false, 0.06, 0, 1}, {false, 1.0, 0, 1}, {true, 0.12, 1, 1}};
    for (auto const& u : updates) {
        mouse.setButtonDown(0, u.held);
        step(u.step);
        EXPECT_EQ(cursor->getCurrentFrameIndex(), u.cursorFrame) << u.held << " " << u.step;
        EXPECT_EQ(arrow->getCurrentFrameIndex(), u.arrowFrame) << u.held << " " << u.step;
    }
    // The power cursors are not played by the update.
    EXPECT_EQ(god->getCurrentFrameIndex(), 0);
    mouse.setButtonDown(0, false);
}

// The window losing focus stops everything but the GUI and the managers.
TEST_F(GameUpdateTest, InactiveWindowStopsTheGameSteps) {
    showMenu(L"INGAMEMENU");
    game->onWindowActive(false);
    Orvex::PerfTimer::frameTimer().advance(0.5);
    Observed const o = observeUpdate(*game);
    EXPECT_EQ(o.gameTime, 0.0);
    EXPECT_FALSE(o.animated);
    game->onWindowActive(true);
    Orvex::PerfTimer::frameTimer().advance(0.5);
    EXPECT_TRUE(observeUpdate(*game).animated);
}

}  // namespace
