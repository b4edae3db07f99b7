// The tutorial tests' helpers: an empty tutorial manager around each test, tutorial files from
// text, and a screen of windows with "AN" and "AUS" goals to point at and to step.
#pragma once

#include <string>

#include "engine/core/XMLNode.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/TutorialManager.h"
#include "engine/gui/TutorialPage.h"
#include "engine/gui/TutorialStrip.h"
#include "tests/engine/gui/GUIFixture.h"

namespace guitest {

// Reads a tutorial file given as text into the manager.
inline void loadTutorial(std::wstring const& text) {
    Orvex::XMLNode root;
    EXPECT_TRUE(root.loadFromText(text, L"test.tut"));
    Orvex::TutorialManager::instance().loadTemplates(root, L"test.tut");
}

// The goal a window is at or heading for.
inline std::wstring goalOf(std::wstring const& window) {
    Orvex::GUIWindow* w = Orvex::GUISystem::instance().findWindow(window);
    return w ? w->getTargetState().name : L"(missing)";
}

// A top-level window named `name` at (x, y, w, h) of an 800 x 600 screen, with the goals
// "AN" (same place) and "AUS" (hidden), written as GUI file text.
std::wstring windowText(std::wstring const& name, float x, float y, float w, float h);
// An animation goal `name` at (x, y, w, h) of its parent, as GUI file text.
std::wstring goalText(std::wstring const& name, float x, float y, float w, float h);

// The 800 x 600 screen of GUIFixture with an empty tutorial manager.
class TutorialFixture : public GUIFixture {
protected:
    void SetUp() override {
        GUIFixture::SetUp();
        Orvex::TutorialManager::instance().clear();
    }
    void TearDown() override {
        Orvex::TutorialManager::instance().clear();
        GUIFixture::TearDown();
    }
    Orvex::TutorialManager& tutorials = Orvex::TutorialManager::instance();
};

}  // namespace guitest
