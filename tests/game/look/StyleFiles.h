// Fixture of the styles tests: the source tree on the search path, textures loaded suspended (no
// device needed to read a card set), and style settings emptied before and after each test.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "engine/core/GOBManager.h"
#include "engine/core/XMLNode.h"
#include "engine/render/TextureSettings.h"
#include "game/look/StyleSettings.h"
#include "port/win32/win32_paths.h"
#include "tests/support/TestSupport.h"

namespace styletest {

inline void addSourceSearchPath() {
    static bool added = false;
    if (added) return;
    Orvex::GOBManager::getInstance().addSearchPath(port::windowsPath(testsupport::sourceDir().string()));
    added = true;
}

// A property tree parsed from text; a parse failure fails the test.
inline Orvex::XMLNode tree(std::wstring const& text) {
    Orvex::XMLNode node;
    EXPECT_TRUE(node.loadFromText(text));
    return node;
}

// Style settings' lists and choices as at the start (clear keeps the plain choices).
inline void resetSettings() {
    Solitaire::StyleSettings& settings = Solitaire::StyleSettings::instance();
    settings.clear();
    settings.setStyleParam(0.0f);
    settings.setCardsBack(0);
    settings.setTooltipType(0);
    settings.setParticleSpawnMult(1.0f);
}

class StyleFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        addSourceSearchPath();
        Orvex::TextureModuleSettings::get().suspendOnLoad = true;
        reset();
    }
    void TearDown() override {
        reset();
        Orvex::TextureModuleSettings::get() = Orvex::TextureModuleSettings();
    }

    static Solitaire::StyleSettings& settings() { return Solitaire::StyleSettings::instance(); }
    static void reset() { resetSettings(); }

    // Loads a styles file named from the source tree ("data\Styles.sty").
    void loadFile(std::wstring const& file) {
        Orvex::XMLNode root;
        ASSERT_TRUE(root.load(file)) << "cannot read";
        settings().load(root, file);
    }
    void loadText(std::wstring const& text, std::wstring const& sourceName = L"test.sty") {
        Orvex::XMLNode root = tree(text);
        settings().load(root, sourceName);
    }
};

}  // namespace styletest
