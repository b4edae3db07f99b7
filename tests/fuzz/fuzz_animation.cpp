// Fuzzes frame animation definitions without a device (textures are not found, so sheets and
// numbered files add no frames; explicit frames, order lists, timing keys and angle sets are
// read): plain and angle animations are built, cloned, stepped and asked for frames within
// the frame bound.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "engine/render/Texture2DAnimation.h"
#include "engine/render/Texture2DAnimation360.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

// cloneShowsSame: false for an angle animation that has not chosen a set yet (its clone chooses
// the set nearest 0).
void exercise(Orvex::Texture2DAnimation& animation, bool cloneShowsSame) {
    if (animation.getFrameCount() > Orvex::Texture2DAnimation::kMaxFrames) std::abort();
    Orvex::Texture2DAnimation* clone = animation.clone();
    // A clone shares the frames, unless it reads the definition again (random orders may differ).
    if (cloneShowsSame && !animation.isReloadOnClone() && &clone->getFrames() != &animation.getFrames()) std::abort();
    clone->play();
    for (double dt : {0.0, 0.016, 1e30, -5.0}) {
        clone->update(dt);
        (void)clone->getCurrentFrame();
    }
    Orvex::XMLNode state(L"STATE");
    clone->writeState(state);
    animation.readState(state);
    clone->release();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, std::size_t size) {
    fuzz::quietLog();
    Orvex::XMLNode root;
    if (!fuzz::readTree(data, size, root)) return 0;
    auto* plain = new Orvex::Texture2DAnimation(root);
    exercise(*plain, true);
    plain->release();
    auto* angles = new Orvex::Texture2DAnimation360(root);
    exercise(*angles, angles->getCurrentSet() || angles->getAngleSets().empty());
    angles->setAngle(-1e30f);
    angles->release();
    return 0;
}
