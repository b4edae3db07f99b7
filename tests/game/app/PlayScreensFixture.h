// The game object on the game's own data at 1024 x 768, for the tests of its screens: a fresh
// profile made active with its campaign table, clicks on windows through the game's mouse slots
// (as a player's would arrive), label texts, and a screenshot of a shown menu kept in the build
// folder for a person to look at.
#pragma once

#include <string>

#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIMenuManagerN.h"
#include "engine/gui/GUIMenuN.h"
#include "engine/gui/GUIWindow.h"
#include "game/app/Profil.h"
#include "game/app/ProfilManager.h"
#include "game/app/ScreenLists.h"
#include "game/app/SolitaireManager.h"
#include "port/win32/win32_paths.h"
#include "port/win32/win32_text.h"
#include "tests/game/app/GameFixture.h"
#include "tests/support/TestSupport.h"

namespace apptest {

class PlayScreensFixture : public GameFixture {
protected:
    static constexpr unsigned kScreenWidth = 1024;
    static constexpr unsigned kScreenHeight = 768;

    void SetUp() override {
        // The catalogue appends what it reads: each game object starts from an empty one.
        Solitaire::SolitaireManager::instance().clear();
        Solitaire::ProfilManager::instance().setFilePath(
            port::windowsPath((testsupport::makeTempDir("screens_profiles") / "profile.prf").string()));
        startOn(testsupport::sourceDir(), kScreenWidth, kScreenHeight);
    }
    void TearDown() override {
        stop();
        Solitaire::ProfilManager::instance().clear();
        Solitaire::SolitaireManager::instance().clear();
    }

    // A new profile, added and active, with the campaign's chapters (chapter 0 open).
    Solitaire::Profil& makeProfile(std::wstring const& name = L"Tester") {
        auto* profile = new Solitaire::Profil(name);
        profile->buildCampaignTable();
        // Tutorials off: a screen test sees its screen, not the tutorial offered on entering it.
        profile->setShowTutorials(false);
        Solitaire::ProfilManager::instance().addProfile(profile);
        Solitaire::ProfilManager::instance().setActiveProfile(profile);
        return *profile;
    }

    // A press and a release in the middle of the window, through the game's mouse slots.
    void click(Orvex::GUIWindow& window) {
        Orvex::FRect const r = window.getScreenRect();
        float const x = (r.left + r.right) * 0.5f;
        float const y = (r.top + r.bottom) * 0.5f;
        Orvex::OrvexMouseButton const left = Orvex::OMB_LEFT;
        Orvex::OrvexAchse const axis = Orvex::OA_MOUSE_X;
        Orvex::MouseState moved = mouse(x, y, false);
        game->getTableInput().onMouseMove(moved, axis);
        Orvex::MouseState down = mouse(x, y, true);
        game->getTableInput().onMouseDown(down, left);
        Orvex::MouseState up = mouse(x, y, false);
        game->getTableInput().onMouseUp(up, left);
        step(0.0);
    }
    void click(std::wstring const& name) {
        Orvex::GUIWindow* window = find(name);
        ASSERT_NE(window, nullptr) << port::toUtf8(name);
        click(*window);
    }

    static std::wstring textOf(std::wstring const& name) {
        Orvex::GUILabel* label = Solitaire::findLabel(name);
        return label ? label->getText() : L"(no label)";
    }
    static std::wstring activeMenu() {
        Orvex::GUIMenuN* menu = Orvex::GUIMenuManagerN::instance().getActiveMenu();
        return menu ? menu->getName() : L"";
    }
    // The first of the window's goals whose place, visibility, alpha and colour (those the goal
    // sets) the window shows after a jump or a finished animation, or "(none)".
    static std::wstring goalOf(std::wstring const& name) {
        Orvex::GUIWindow* window = find(name);
        if (!window) return L"(no window)";
        for (Orvex::GUIAnimationsGoal const* goal : window->getGoals()) {
            Orvex::GUIDrawOptions const& look = window->getDrawOptions();
            D3DXCOLOR const a = look.modulateColor, b = goal->drawOptions.modulateColor;
            // Only what the goal sets: a part it does not blend stays as it was.
            bool const shown = !goal->interpolateOptions || window->getOptions().visible == goal->options.visible;
            // Colours blended to the goal may differ from it in the last bit.
            auto near = [](double x, double y) { return x - y < 1e-4 && y - x < 1e-4; };
            bool const looks = !goal->interpolateDrawOptions ||
                               (near(look.alpha, goal->drawOptions.alpha) && near(a.r, b.r) && near(a.g, b.g) &&
                                near(a.b, b.b) && near(a.a, b.a));
            bool const placed = !goal->interpolateRects || window->getRect().position == goal->rect.position;
            if (shown && looks && placed) return goal->name;
        }
        return L"(none)";
    }

    // Lets the shown menu settle, draws it and keeps the frame as screenshots/<name>.png.
    void keepScreen(std::string const& name) {
        for (int i = 0; i < 30; ++i) step(0.05);
        frame();
        keepBackBuffer(name + ".png");
    }

private:
    Orvex::MouseState mouse(float x, float y, bool down) {
        Orvex::MouseState state;
        state.x = x;
        state.y = y;
        state.setButtonDown(0, down);
        pointerAt(x, y);
        return state;
    }
};

}  // namespace apptest
