// The story tests' helpers: property trees from text, an empty story manager around each test
// with the engine's random generator seeded, a stand-in profile, and a recorder of the music
// requests the scenes make.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/GOBManager.h"
#include "engine/core/Random.h"
#include "engine/core/XMLNode.h"
#include "game/story/StoryManager.h"
#include "game/story/StoryPart.h"
#include "game/story/StoryPartPart.h"
#include "port/win32/win32_paths.h"
#include "tests/game/story/ProfileStandIn.h"
#include "tests/support/TestSupport.h"

namespace storytest {

inline Orvex::XMLNode parse(std::wstring const& text) {
    Orvex::XMLNode node;
    EXPECT_TRUE(node.loadFromText(text, L"test.str"));
    return node;
}

// The source tree on the search path, so that "data\..." names the shipped files; again after a
// test that cleared the search paths (the game's fixture does when it stops).
inline void addSourceTree() {
    Orvex::GOBManager::getInstance().addSearchPath(port::windowsPath(testsupport::sourceDir().string()));
}

// The music signals of the story manager as words: "play X", "stop", "standard", "stop standard".
struct MusicRecorder : sigslot::has_slots<> {
    std::vector<std::wstring> heard;
    void listen() {
        Solitaire::StoryManager& story = Solitaire::StoryManager::instance();
        story.playMusic.connect(this, &MusicRecorder::onPlay);
        story.stopMusic.connect(this, &MusicRecorder::onStop);
        story.startStandardMusic.connect(this, &MusicRecorder::onStandard);
        story.stopStandardMusic.connect(this, &MusicRecorder::onStopStandard);
    }
    void onPlay(std::wstring const& track) { heard.push_back(L"play " + track); }
    void onStop() { heard.push_back(L"stop"); }
    void onStandard() { heard.push_back(L"standard"); }
    void onStopStandard() { heard.push_back(L"stop standard"); }
};

class StoryFixture : public ::testing::Test {
protected:
    void SetUp() override {
        addSourceTree();
        Orvex::seedRandom(20261207);
        story().clear();
        profile = new ProfileStandIn();
        music.listen();
    }
    void TearDown() override {
        story().clear();
        profile->release();
    }

    static Solitaire::StoryManager& story() { return Solitaire::StoryManager::instance(); }
    // Reads a story file given as text (the root element's children).
    static void load(std::wstring const& children) {
        Orvex::XMLNode root = parse(L"<STORY>" + children + L"</STORY>");
        story().load(root, L"test.str");
    }
    static Solitaire::StoryPart& scene(std::size_t index = 0) { return *story().getScenes().at(index).get(); }

    ProfileStandIn* profile = nullptr;
    MusicRecorder music;
};

}  // namespace storytest
