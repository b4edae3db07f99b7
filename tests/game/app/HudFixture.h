// The game object on the game's own data with a dealt table under the in-game screen, for the
// HUD, powers and shop tests: a profile "Tester" that is active, and a campaign level or a free
// game started as the game start does it (the catalogue starts the variant, the card manager
// deals on the game's camera with the profile's or the game style's points, the HUD learns what
// runs, the tip button and the god bars start again, "INGAMEMENU" shows and the cards land).
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIMenuManagerN.h"
#include "engine/gui/GUIMenuN.h"
#include "engine/gui/GUIProgressBar.h"
#include "engine/gui/GUIWindow.h"
#include "engine/platform/InputState.h"
#include "game/app/Profil.h"
#include "game/app/ProfilManager.h"
#include "game/app/SolVariant.h"
#include "game/app/SolitaireManager.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/StatistikManager.h"
#include "tests/game/app/GameFixture.h"
#include "tests/support/TestSupport.h"

namespace apptest {

class HudFixture : public GameFixture {
protected:
    static constexpr wchar_t const* kSeed = L"7";

    void SetUp() override { startHud(1024, 768); }
    void TearDown() override {
        catalogue().finishStatistics(false);
        GameFixture::TearDown();
        catalogue().clear();
        Solitaire::ProfilManager::instance().clear();
        Solitaire::StatistikManager::instance().resetProfileStatistik();
        cards().createDiscardPile();
    }

    // The game on the tree at root (its data in root/data), the source tree by default.
    void startHud(unsigned w, unsigned h, std::filesystem::path const& root = testsupport::sourceDir()) {
        startOn(root, w, h);
        profile = new Solitaire::Profil(L"Tester");
        profile->buildCampaignTable(catalogue());
        // Tutorials off: the HUD is tested, not the pages offered over it.
        profile->setShowTutorials(false);
        Solitaire::ProfilManager::instance().addProfile(profile);
        Solitaire::ProfilManager::instance().setActiveProfile(profile);
        // As the player does before any game: the start screen left, the profile's data live.
        leaveStartScreen();
    }

    static Solitaire::SolitaireManager& catalogue() { return Solitaire::SolitaireManager::instance(); }
    static Solitaire::Kartenmanager& cards() { return Solitaire::Kartenmanager::instance(); }
    static Orvex::GUIMenuManagerN& menus() { return Orvex::GUIMenuManagerN::instance(); }

    // Level `level` of chapter `chapter` with the profile's points as the balance.
    void startLevel(int chapter, int level, float points = 0.0f) {
        profile->setPoints(points);
        ASSERT_TRUE(catalogue().setCurrentByNames(L"KAMPAGNE", L"KAPITEL_" + std::to_wstring(chapter),
                                                  L"LEVEL_" + std::to_wstring(level)));
        deal(true, chapter, level, points);
    }
    // A free game of the catalogue with the game style's starting points.
    void startFree(std::wstring const& category, std::wstring const& name, std::wstring const& variant) {
        ASSERT_TRUE(catalogue().setCurrentByNames(category, name, variant));
        deal(false, -1, -1, 0.0f);
    }

    // Lets the table settle: half a second of play, frame by frame.
    void settle(int frames = 30) {
        for (int i = 0; i < frames; ++i) step(1.0 / 60);
    }

    static Orvex::GUILabel* label(std::wstring const& name) { return dynamic_cast<Orvex::GUILabel*>(find(name)); }
    static std::wstring textOf(std::wstring const& name) {
        Orvex::GUILabel* l = label(name);
        return l ? l->getText() : L"(no label " + name + L")";
    }
    static std::wstring goalOf(std::wstring const& name) {
        Orvex::GUIWindow* w = find(name);
        return w ? w->getTargetState().name : L"(no window " + name + L")";
    }
    static Orvex::GUIProgressBar* bar(std::wstring const& name) {
        return dynamic_cast<Orvex::GUIProgressBar*>(find(name));
    }
    static bool isActive(wchar_t const* menu) {
        Orvex::GUIMenuN* m = menus().findMenu(menu);
        return m && m->isActive();
    }

    // The pointer to the middle of the window, and a left click there, through the game's mouse
    // slots as the input system calls them; one update after each event.
    void pointTo(std::wstring const& name) {
        Orvex::MouseState state = pointerOver(name, false);
        Orvex::OrvexAchse const axis = Orvex::OA_MOUSE_X;
        game->getTableInput().onMouseMove(state, axis);
        step(0.0);
    }
    void clickOn(std::wstring const& name) {
        pointTo(name);
        Orvex::OrvexMouseButton const left = Orvex::OMB_LEFT;
        Orvex::MouseState down = pointerOver(name, true);
        game->getTableInput().onMouseDown(down, left);
        step(0.0);
        Orvex::MouseState up = pointerOver(name, false);
        game->getTableInput().onMouseUp(up, left);
        step(0.0);
    }

    Solitaire::Profil* profile = nullptr;

private:
    static void jump(std::wstring const& name, wchar_t const* goal) {
        if (Orvex::GUIWindow* window = find(name)) window->jumpToGoal(goal);
    }
    Orvex::MouseState pointerOver(std::wstring const& name, bool down) {
        Orvex::GUIWindow* window = find(name);
        EXPECT_NE(window, nullptr) << "no window";
        Orvex::FRect const r = window ? window->getScreenRect() : Orvex::FRect(0, 0, 0, 0);
        Orvex::MouseState state;
        state.x = (r.left + r.right) / 2;
        state.y = (r.top + r.bottom) / 2;
        state.setButtonDown(0, down);
        pointerAt(state.x, state.y);
        return state;
    }

    void deal(bool campaign, int chapter, int level, float points) {
        ASSERT_TRUE(catalogue().startVariant());
        game->getRunning().setLevel(campaign, chapter, level);
        // The game start's own windows: the mode's groups, the end-game button hidden.
        jump(L"I_STORY", campaign ? L"AN" : L"AUS");
        jump(L"I_FREIESSPIEL", campaign ? L"AUS" : L"AN");
        jump(L"I_END_GAME", L"AUS");
        if (Orvex::GUILabel* name = label(L"I_LevelName")) name->setText(catalogue().getCurrentVariant()->getName());
        showMenu(L"INGAMEMENU");
        cards().startGame(game->getCamera(), kSeed, false, {}, {}, points);
        // As the game start does: what the frames before the deal showed of the empty table
        // (no star can stand there) is forgotten.
        game->getHud().resetEndGameButton();
        if (Orvex::GUIWindow* tip = find(L"I_TIPP")) tip->getOptions().enabled = false;
        game->getHud().restartTipTimer();
        game->getPowersAndShop().refreshGodBars();
        settle(120);
    }
};

}  // namespace apptest
