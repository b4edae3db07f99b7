// Fuzzes the story file reader with file bytes: the input read as a story file, then for a
// profile every scene it lets start, played with frames of several lengths, clicks over the
// window (the skip element's place too) and draws into a story window (without a device),
// until each has ended or a bounded number of frames has passed. Whatever is read, reading and
// playing end and every value an element draws with stays a number.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "engine/gui/GUIWindow.h"
#include "game/story/StoryManager.h"
#include "game/story/StoryPart.h"
#include "game/story/StoryPartPart.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tests/game/story/ProfileStandIn.h"

namespace {

constexpr int kMaxScenes = 8;
constexpr int kFrames = 40;
float const kSteps[] = {0.016f, 0.5f, 3.0f, 0.0f, 40.0f};
float const kClicks[][2] = {{0.5f, 0.5f}, {0.93f, 0.91f}, {0.0f, 0.0f}, {1.0f, 1.0f}, {-3.0f, 7.0f}};

void checkFinite(Solitaire::StoryPart const& scene, Orvex::FRect const& window) {
    for (auto const& part : scene.parts) {
        Orvex::FRect const r = part->getScreenRect(window);
        D3DXCOLOR const& c = part->getColourValue();
        // Values that are not finite would come only from a number the reader let through.
        if (std::isnan(r.left + r.right + r.top + r.bottom) || std::isnan(c.r + c.g + c.b + c.a)) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, std::size_t size) {
    fuzz::quietLog();
    Solitaire::StoryManager& story = Solitaire::StoryManager::instance();
    story.clear();
    Orvex::XMLNode root;
    fuzz::readTree(data, size, root);
    story.load(root, L"fuzz.str");
    auto* window = new Orvex::GUIWindow(L"T_STORY_BILD");
    window->setPixelRect(0.0f, 0.0f, 640.0f, 480.0f);
    auto* profile = new storytest::ProfileStandIn();
    for (int started = 0; started < kMaxScenes; ++started) {
        Solitaire::StoryPart* scene = story.startNextScene(profile);
        if (!scene) break;
        bool ended = false;
        for (int frame = 0; frame < kFrames && !ended; ++frame) {
            ended = scene->update(kSteps[frame % 5]);
            if (!ended && frame % 3 == 0) ended = scene->click(kClicks[frame % 5][0], kClicks[frame % 5][1]);
            scene->draw(*window);
            checkFinite(*scene, window->getScreenRect());
        }
        scene->applyPostUnlocks(profile);
        scene->applyPostPostUnlocks(profile);
    }
    profile->release();
    window->release();
    story.clear();
    return 0;
}
