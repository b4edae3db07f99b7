// The game tutorial tests' helpers: the menu fixture's screens and menus with empty engine and
// game tutorial managers around each test, a stand-in profile handed down as the active one,
// tutorial and user-tutorial files from text, and counters of the started and closed signals.
#pragma once

#include <string>

#include "engine/gui/TutorialManager.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "engine/render/TextureManager.h"
#include "game/story/ExtendedTutorialManager.h"
#include "game/story/SolTutorialManager.h"
#include "tests/engine/gui/MenuFixture.h"
#include "tests/engine/gui/TutorialTestSupport.h"
#include "tests/game/story/ProfileStandIn.h"
#include "tests/game/story/StoryFixture.h"

namespace storytest {

struct TutorialSignals : sigslot::has_slots<> {
    int started = 0;
    int closed = 0;
    void listen() {
        Solitaire::SolTutorialManager& manager = Solitaire::SolTutorialManager::instance();
        manager.tutorialStarted.connect(this, &TutorialSignals::onStarted);
        manager.tutorialClosed.connect(this, &TutorialSignals::onClosed);
    }
    void onStarted() { ++started; }
    void onClosed() { ++closed; }
};

class GameTutorialFixture : public guitest::MenuFixture {
protected:
    void SetUp() override {
        MenuFixture::SetUp();
        addSourceTree();
        clearAll();
        profile = new ProfileStandIn();
        tutorials().setActiveProfileSource([this] { return static_cast<Solitaire::StoryProfile*>(profile); });
        signals.listen();
    }
    void TearDown() override {
        clearAll();
        tutorials().setActiveProfileSource({});
        profile->release();
        MenuFixture::TearDown();
    }
    static void clearAll() {
        Solitaire::ExtendedTutorialManager::instance().clear();
        Solitaire::SolTutorialManager::instance().clear();
        Orvex::TutorialManager::instance().clear();
    }

    // The animation registry's animations and pictures belong to the device they were loaded on:
    // tests that open a device forget them before and after.
    static void forgetPictures() {
        Orvex::Texture2DAnimationManager::instance().releaseAnimations();
        Orvex::Texture2DAnimationManager::instance().getTextures().releaseAll();
    }
    static Solitaire::SolTutorialManager& tutorials() { return Solitaire::SolTutorialManager::instance(); }
    static Orvex::TutorialManager& engine() { return Orvex::TutorialManager::instance(); }
    static void loadUserTutorials(std::wstring const& text, std::wstring const& source = L"test.tut") {
        Orvex::XMLNode root = parse(text);
        tutorials().loadUserTutorials(root, source);
    }
    bool show(std::wstring const& name, bool force = false) {
        return tutorials().showTutorial(name, force, false, D3DXVECTOR2(0.0f, 0.0f));
    }
    // The name of the strip on screen, or "-".
    std::string onScreen() const {
        Orvex::TutorialStrip* strip = tutorials().getCurrentStrip();
        return strip && tutorials().isRunning() ? guitest::narrow(strip->getName()) : "-";
    }

    ProfileStandIn* profile = nullptr;
    TutorialSignals signals;
};

}  // namespace storytest
