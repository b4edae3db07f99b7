// The mini-games played headless through the real window, device and game object.
#include "tests/game/minigames/MinigameFixture.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "engine/core/XMLNode.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIMenuManagerN.h"
#include "engine/gui/GUIMenuN.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/platform/D3DInterface.h"
#include "engine/platform/DirectInputInterface.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "game/app/ProfilManager.h"
#include "game/app/ScreenWindows.h"
#include "game/app/SolitaireManager.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "game/cards/Picking.h"
#include "game/cards/TableRenderer.h"
#include "game/minigames/Drehbild.h"
#include "game/minigames/Minispiel.h"
#include "game/minigames/MinispielCursor.h"
#include "game/minigames/MinispielManager.h"
#include "game/story/StoryPart.h"
#include "game/story/StorySwitch.h"
#include "port/crt/crt.h"
#include "port/win32/win32_paths.h"
#include "port/win32/win32_sdl.h"
#include "port/win32/winuser.h"
#include "tests/support/SdlEvents.h"
#include "tests/support/TestSupport.h"
#include "tests/support/gl/DeviceFixture.h"

namespace minigametest {

// ---- the signal log ----

void SignalLog::connect(Solitaire::MinispielManager& manager) {
    manager.gameEnded.connect(this, &SignalLog::onEnded);
    manager.gameFailed.connect(this, &SignalLog::onFailed);
    manager.gameClosed.connect(this, &SignalLog::onClosed);
    manager.moveMade.connect(this, &SignalLog::onMoveMade);
    manager.moveWrong.connect(this, &SignalLog::onMoveWrong);
    manager.activeChanged.connect(this, &SignalLog::onActiveChanged);
}

void SignalLog::add(wchar_t const* what, Solitaire::Minispiel& game) {
    lines.push_back(std::wstring(what) + L" " + game.getName());
}

void SignalLog::onEnded(Solitaire::Minispiel& game, float const& ratio, bool const& skipped) {
    // Three decimals: enough to tell runs apart, the same text for the same float.
    wchar_t text[32];
    std::swprintf(text, 32, L" %.3f %d", static_cast<double>(ratio), skipped ? 1 : 0);
    lines.push_back(L"ended " + game.getName() + text);
    ends.emplace_back(ratio, skipped);
}

std::vector<std::wstring> SignalLog::linesOf(std::wstring const& word) const {
    std::vector<std::wstring> out;
    for (std::wstring const& line : lines)
        if (line.compare(0, word.size(), word) == 0 && (line.size() == word.size() || line[word.size()] == L' '))
            out.push_back(line);
    return out;
}

bool SignalLog::lastEnded(float& ratio, bool& skipped) const {
    if (ends.empty()) return false;
    ratio = ends.back().first;
    skipped = ends.back().second;
    return true;
}

// ---- the fixture ----

void MinigameFixture::SetUp() {
    Solitaire::MinispielCursor::instance() = Solitaire::MinispielCursor();
    // The turning-tiles game seeds the runtime's generator from the tick at every start.
    Solitaire::Drehbild::setTickClock([] { return kTickCount; });
    startOn(dataRoot.empty() ? testsupport::sourceDir() : dataRoot, screenWidth, screenHeight);
    log.lines.clear();
    log.ends.clear();
    log.connect(manager());
}

void MinigameFixture::TearDown() {
    // The games hold windows and pictures: let them go while the device lives. The animation
    // registry's own pictures would outlive the device and be found again by the next start.
    log.disconnect_all();
    manager().clear();
    Orvex::Texture2DAnimationManager::instance().releaseAnimations();
    Orvex::Texture2DAnimationManager::instance().getTextures().releaseAll();
    stop();
    Solitaire::Drehbild::setTickClock({});
}

Uint32 MinigameFixture::windowId() const {
    return SDL_GetWindowID(port::win32::sdlWindow(Orvex::D3DInterface::getInstance().getWindow().getHWND()));
}

void MinigameFixture::pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void MinigameFixture::tick(bool draw) {
    pump();
    game->pollInput();
    step(kStep);
    if (draw) game->draw();
}

void MinigameFixture::ticks(int count, bool draw) {
    for (int i = 0; i < count; ++i) tick(draw);
}

void MinigameFixture::wait(double seconds) {
    int const count = static_cast<int>(std::ceil(seconds / kStep - 1e-9));
    ticks(count > 1 ? count - 1 : 0, false);
    tick(true);
}

std::vector<uint32_t> MinigameFixture::pixels() {
    return testsupport::readRenderTarget(Orvex::D3DInterface::getInstance().getDevice());
}

uint32_t MinigameFixture::pixelAt(std::vector<uint32_t> const& shot, D3DXVECTOR2 const& point) const {
    auto const x = static_cast<unsigned>(point.x);
    auto const y = static_cast<unsigned>(point.y);
    return x < width && y < height ? at(shot, x, y) : 0;
}

void MinigameFixture::keep(std::string const& name) { keepBackBuffer(name + ".png"); }

void MinigameFixture::moveTo(D3DXVECTOR2 const& point) {
    testsupport::pushMotion(windowId(), static_cast<int>(point.x), static_cast<int>(point.y));
    tick(true);
}

void MinigameFixture::press(D3DXVECTOR2 const& point) {
    testsupport::pushMotion(windowId(), static_cast<int>(point.x), static_cast<int>(point.y));
    testsupport::pushButton(windowId(), SDL_BUTTON_LEFT, true, static_cast<int>(point.x), static_cast<int>(point.y));
    tick(true);
}

void MinigameFixture::release(D3DXVECTOR2 const& point) {
    testsupport::pushMotion(windowId(), static_cast<int>(point.x), static_cast<int>(point.y));
    testsupport::pushButton(windowId(), SDL_BUTTON_LEFT, false, static_cast<int>(point.x), static_cast<int>(point.y));
    tick(true);
}

void MinigameFixture::click(D3DXVECTOR2 const& point) {
    moveTo(point);
    press(point);
    release(point);
}

void MinigameFixture::doubleClick(D3DXVECTOR2 const& point) {
    moveTo(point);
    int const x = static_cast<int>(point.x);
    int const y = static_cast<int>(point.y);
    for (int i = 0; i < 2; ++i) {
        testsupport::pushButton(windowId(), SDL_BUTTON_LEFT, true, x, y);
        tick(false);
        testsupport::pushButton(windowId(), SDL_BUTTON_LEFT, false, x, y);
        tick(i == 1);
    }
}

void MinigameFixture::rightClick(D3DXVECTOR2 const& point) {
    moveTo(point);
    int const x = static_cast<int>(point.x);
    int const y = static_cast<int>(point.y);
    testsupport::pushButton(windowId(), SDL_BUTTON_RIGHT, true, x, y);
    tick(true);
    testsupport::pushButton(windowId(), SDL_BUTTON_RIGHT, false, x, y);
    tick(true);
}

void MinigameFixture::drag(D3DXVECTOR2 const& from, D3DXVECTOR2 const& to, int steps) {
    moveTo(from);
    press(from);
    for (int i = 1; i <= steps; ++i) {
        float const t = static_cast<float>(i) / static_cast<float>(steps);
        moveTo(from + (to - from) * t);
    }
    release(to);
}

D3DXVECTOR2 MinigameFixture::middleOf(Orvex::FRect const& rect) {
    return D3DXVECTOR2((rect.left + rect.right) / 2.0f, (rect.top + rect.bottom) / 2.0f);
}

D3DXVECTOR2 MinigameFixture::middleOf(std::wstring const& windowName) const {
    Orvex::GUIWindow* window = find(windowName);
    EXPECT_NE(window, nullptr) << "no window " << std::string(windowName.begin(), windowName.end());
    return window ? middleOf(window->getScreenRect()) : D3DXVECTOR2(0.0f, 0.0f);
}

D3DXVECTOR2 MinigameFixture::reachablePointOf(Orvex::GUIWindow& window) {
    // Rings of grid points around the middle, nearest first.
    constexpr int kSteps = 8;
    Orvex::FRect const r = window.getScreenRect();
    D3DXVECTOR2 const middle = middleOf(r);
    float const dx = (r.right - r.left) / (2.0f * kSteps + 2.0f);
    float const dy = (r.bottom - r.top) / (2.0f * kSteps + 2.0f);
    for (int ring = 0; ring <= kSteps; ++ring)
        for (int i = -ring; i <= ring; ++i)
            for (int j = -ring; j <= ring; ++j) {
                if (std::max(std::abs(i), std::abs(j)) != ring) continue;
                // Events carry whole pixels: the point the window will see.
                D3DXVECTOR2 const point(std::floor(middle.x + i * dx), std::floor(middle.y + j * dy));
                if (Orvex::GUISystem::instance().windowAt(point, Orvex::GUISystem::kHitInput) == &window) return point;
            }
    return middle;
}

void MinigameFixture::expectTheSameTwice(unsigned seed, std::function<void()> const& play) {
    std::vector<std::wstring> signals[2];
    std::vector<uint32_t> pictures[2];
    for (int run = 0; run < 2; ++run) {
        TearDown();
        msvc::srand(seed);
        SetUp();
        play();
        pictures[run] = pixels();
        if (Solitaire::Minispiel* game = active()) waitForTheEnd(*game);
        signals[run] = log.lines;
    }
    EXPECT_EQ(signals[0], signals[1]);
    EXPECT_EQ(log.count(L"ended"), 1u);
    ASSERT_EQ(pictures[0].size(), pictures[1].size());
    EXPECT_TRUE(pictures[0] == pictures[1]);
}

MinigameFixture::SeededRun MinigameFixture::playFromSeed(unsigned seed, std::wstring const& name,
                                                         std::function<void(Solitaire::Minispiel&)> const& win) {
    TearDown();
    msvc::srand(seed);
    SetUp();
    Solitaire::Minispiel* game = begin(name);
    EXPECT_NE(game, nullptr) << narrow(name);
    if (!game) return {};
    closeHelp();
    win(*game);
    tick(true);
    SeededRun run{{}, pixels()};
    // A game the play did not solve (a blown-away object still on its way) has no end to wait for.
    if (game->isFinished(false)) waitForTheEnd(*game);
    run.signals = log.lines;
    return run;
}

Solitaire::MinispielManager& MinigameFixture::manager() const { return Solitaire::MinispielManager::instance(); }

Solitaire::Minispiel* MinigameFixture::active() const { return manager().getActiveMinispiel(); }

void MinigameFixture::define(std::wstring const& games, std::wstring const& topKeys) {
    Orvex::XMLNode tree;
    tree.loadFromText(L"<MINISPIELE " + topKeys + L">" + games + L"</MINISPIELE>", L"test.min");
    manager().loadDefinitions(tree, L"test.min");
    manager().initGUI();
}

Solitaire::Minispiel* MinigameFixture::begin(std::wstring const& name) {
    Solitaire::Minispiel* found = manager().findMinispiel(name);
    if (!found) return nullptr;
    // Leaving the start screen is the flow's: it leads to the main menu first.
    leaveStartScreen();
    manager().setActiveMinispiel(found);
    Orvex::GUIMenuManagerN::instance().activateMenu(L"MINIGAMEMENU", -1.0);
    ticks(kSettleFrames, false);
    tick(true);
    return found;
}

void MinigameFixture::expectWon() const {
    float ratio = 0.0f;
    bool skipped = true;
    ASSERT_TRUE(log.lastEnded(ratio, skipped)) << "no gameEnded";
    EXPECT_GT(ratio, 0.0f);
    EXPECT_LE(ratio, 1.0f);
    EXPECT_FALSE(skipped);
}

void MinigameFixture::expectSkipped() const {
    float ratio = 1.0f;
    bool skipped = false;
    ASSERT_TRUE(log.lastEnded(ratio, skipped)) << "no gameEnded";
    EXPECT_EQ(ratio, 0.0f);
    EXPECT_TRUE(skipped);
}

void MinigameFixture::expectTold(std::wstring const& titleId, std::wstring const& words) {
    tick(true);
    std::vector<uint32_t> const shown = pixels();
    EXPECT_EQ(activeMenu(), L"MINIGAMEMENU");
    Orvex::GUIWindow* panel = find(L"MINISPIEL_Ergebnis");
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->getOptions().visible);
    Orvex::GUILabel* title = Solitaire::findLabel(L"MINISPIEL_E_Titel");
    Orvex::GUILabel* text = Solitaire::findLabel(L"MINISPIEL_E_Text");
    ASSERT_TRUE(title && text);
    EXPECT_EQ(title->getText(), Orvex::languageText(titleId));
    EXPECT_NE(text->getText().find(words), std::wstring::npos) << narrow(text->getText());
    EXPECT_GT(lightPixelsIn(shown, L"MINISPIEL_E_Titel"), 100) << "the title is drawn";
    EXPECT_GT(lightPixelsIn(shown, L"MINISPIEL_E_Text"), 200) << "the words are drawn";
}

void MinigameFixture::closeHelp() {
    click(middleOf(L"MINISPIEL_H_OKButton"));
    ticks(kSettleFrames, false);
    tick(true);
}

void MinigameFixture::skipFromHelp() { click(middleOf(L"MINISPIEL_H_SkipButton")); }

void MinigameFixture::waitForTheEnd(Solitaire::Minispiel& solved) { wait(solved.getEndDelayLeft() + 2 * kStep); }

void MinigameFixture::loseByTime() {
    Solitaire::Minispiel* game = active();
    ASSERT_NE(game, nullptr);
    // The time limit is waited out in steps of kLongStep (a slow machine's frames); the last
    // fraction of a second at the fixed step, so the end comes as it does in play.
    double const limit = game->getSolutionTimeLeft();
    for (double waited = 0.0; game->getSolutionTimeLeft() > 1.0 && waited < limit; waited += kLongStep) {
        pump();
        this->game->pollInput();
        step(kLongStep);
    }
    wait(game->getSolutionTimeLeft() + 2 * kStep);
    Orvex::GUIWindow* skip = manager().getSecondSkipButton();
    ASSERT_NE(skip, nullptr);
    ASSERT_NE(skip->getParent(), nullptr) << "the second skip button is not shown";
    ticks(kSettleFrames, false);
    tick(true);
    click(middleOf(skip->getScreenRect()));
}

Orvex::GUIWindow* MinigameFixture::partOfActive(std::wstring const& name) const {
    Solitaire::Minispiel* game = active();
    Orvex::GUIWindow* window = game ? game->getWindow() : nullptr;
    return window ? window->findChild(name) : nullptr;
}

void MinigameFixture::clickPart(std::wstring const& name) {
    Orvex::GUIWindow* part = partOfActive(name);
    ASSERT_NE(part, nullptr) << "no part " << std::string(name.begin(), name.end());
    click(middleOf(part->getScreenRect()));
}

// ---- screens and story ----

std::wstring MinigameFixture::activeMenu() const {
    Orvex::GUIMenuN const* menu = Orvex::GUIMenuManagerN::instance().getActiveMenu();
    return menu ? menu->getName() : L"(none)";
}

void MinigameFixture::settle() {
    ticks(kSettleFrames, false);
    tick(true);
}

void MinigameFixture::clickOn(std::wstring const& name) {
    Orvex::GUIWindow* window = find(name);
    ASSERT_NE(window, nullptr) << narrow(name);
    click(reachablePointOf(*window));
    settle();
}

void MinigameFixture::closeTutorials() {
    for (int i = 0; i < 12 && activeMenu() == L"TUTORIALMENU" && !scene(); ++i) clickOn(L"T_Weiter");
}

void MinigameFixture::toChapterScreen() {
    if (activeMenu() == L"STARTMENU") clickOn(L"SM_Fenster");
    closeTutorials();
    ASSERT_EQ(activeMenu(), L"HAUPTMENU");
    clickOn(L"H_Kampagne");
    closeTutorials();
    ASSERT_EQ(activeMenu(), L"KATEGORIEMENU");
}

Solitaire::StoryPart* MinigameFixture::scene() const { return game->getStoryPart(); }

D3DXVECTOR2 MinigameFixture::storyPoint(float x, float y) const {
    Orvex::GUIWindow* picture = find(L"T_STORY_BILD");
    if (!picture) return D3DXVECTOR2(0.0f, 0.0f);
    Orvex::FRect const r = picture->getScreenRect();
    return D3DXVECTOR2(r.left + (r.right - r.left) * x, r.top + (r.bottom - r.top) * y);
}

void MinigameFixture::playSceneToItsEnd(std::string const& shotPrefix) {
    double sinceClick = 0.0;
    double total = 0.0;
    int shot = -1;
    while (scene() && total < kSceneLimit) {
        Solitaire::StoryPart const* part = scene();
        int const current = part->currentSwitch;
        if (!shotPrefix.empty() && current != shot && sinceClick > 0.5) {
            tick(true);
            keep(shotPrefix + "_switch" + std::to_string(current));
            shot = current;
        }
        bool const clickOnly = current >= 0 && current < static_cast<int>(part->switches.size()) &&
                               part->switches[current].switchAt == Solitaire::StorySwitch::kOnClick;
        // A clicked switch is looked at for a second first, as a player reads it.
        if (clickOnly && sinceClick > 1.0) {
            clickStory();
            sinceClick = 0.0;
        } else {
            tick(false);
            sinceClick += kStep;
        }
        total += kStep;
    }
    ASSERT_EQ(scene(), nullptr) << "the scene did not end";
    settle();
}

// ---- a folder of the test's own ----

void MinigameFixture::makeHome(std::string const& name, std::string const& profileText, bool stageData) {
    home = testsupport::makeTempDir(name);
    if (stageData) {
        std::filesystem::copy(testsupport::sourceDir() / "data", home / "data",
                              std::filesystem::copy_options::recursive);
        dataRoot = home;
    }
    if (!profileText.empty()) testsupport::writeFile(home / "profile.prf", profileText);
    Solitaire::ProfilManager::instance().setFilePath(port::windowsPath((home / "profile.prf").string()));
}

void MinigameFixture::removeHome() {
    Solitaire::ProfilManager::instance().setFilePath(L"");
    Solitaire::SolitaireManager::instance().clear();
    std::error_code ec;
    std::filesystem::remove_all(home, ec);
}

// ---- the row of hearts ----

Solitaire::Karte* MinigameFixture::heart(int value) {
    for (Solitaire::Karte* card : Solitaire::Kartenmanager::instance().cards)
        if (card->getValue() == value) return card;
    return nullptr;
}

D3DXVECTOR2 MinigameFixture::tablePoint(Orvex::FRect const& r) const {
    return game->getRenderer()->toWindowPoint(D3DXVECTOR2((r.left + r.right) * 0.5f, (r.top + r.bottom) * 0.5f));
}

void MinigameFixture::dismissTablePanels() {
    for (int i = 0; i < 2; ++i)
        if (game->getHud().getGameNameBlend().target > 0.5f || game->getHud().getHelpBlend().target > 0.5f) {
            click(D3DXVECTOR2(kQuietX, kQuietY));
            wait(0.5);
        }
}

void MinigameFixture::moveHeartsToTheGoal() {
    auto& cards = Solitaire::Kartenmanager::instance();
    Solitaire::Kartenstapel* goal = cards.findPile(L"STAPEL_ZIEL");
    ASSERT_NE(goal, nullptr);
    for (int value = 0; value < 13; ++value) {
        Solitaire::Karte* card = heart(value);
        ASSERT_NE(card, nullptr);
        drag(tablePoint(Solitaire::computeScreenRect(*card, cards.getCamera())),
             tablePoint(Solitaire::computeScreenRect(*goal, cards.getCamera())), 6);
        wait(0.4);
    }
}

void MinigameFixture::winRowOfHearts() {
    ASSERT_EQ(activeMenu(), L"INGAMEMENU");
    wait(kDealSeconds);
    for (double t = 0.0; t < kResultsLimit && game->getAchievementScreen().getPopupTimer() > 0.0f; t += kStep) tick(false);
    dismissTablePanels();
    moveHeartsToTheGoal();
    EXPECT_TRUE(game->getRunning().gameOver);
    for (double t = 0.0; t < kResultsLimit && activeMenu() != L"AUSWERTUNGMENU"; t += kStep) tick(false);
    settle();
    ASSERT_EQ(activeMenu(), L"AUSWERTUNGMENU");
}

}  // namespace minigametest
