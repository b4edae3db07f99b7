// Fuzzes the particle file reader with file bytes: the input read as a particle file, then every
// emitter template started (at a point, flying, on an object) and run for a few frames. Whatever
// is read, updates end, positions stay numbers or the effect ends, and the live objects stay
// within the manager's cap. The input is cut into files as FuzzSupport.h describes, so the
// animation lists it names ("part1" ...) are read too (each once); they are released at the end.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "engine/render/Texture2DAnimationManager.h"
#include "game/particles/SolPartikel.h"
#include "game/particles/SolPartikelManager.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

// A table object without a shape: effects on it start at its quad's position.
class Plain : public Solitaire::RenderObjekt {
public:
    void queueRender(Solitaire::RenderQueue&, Solitaire::RenderContext const&) override {}
    void render(Solitaire::RenderContext const&) override {}
    Orvex::SpriteRect getScreenQuad() override {
        return Orvex::SpriteRect({30.0f, 40.0f}, {20.0f, 10.0f}, 45.0f, {0.5f, 0.5f}, Orvex::SpriteRect::kCentreRelative);
    }
    Orvex::Texture2D* getShapeTexture() override { return nullptr; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, std::size_t size) {
    fuzz::quietLog();
    Solitaire::SolPartikelManager& manager = Solitaire::SolPartikelManager::instance();
    manager.clear();
    std::size_t const first = fuzz::serveParts(data, size);
    Orvex::XMLNode root;
    fuzz::readTree(data, first, root);
    manager.loadTemplates(root, L"fuzz.par");
    for (Orvex::XMLNode* child : root.children()) {
        std::wstring const name = child->getAttributeString(L"NAME", L"");
        manager.spawn(name, {10.0f, 20.0f});
        manager.spawnFlying(name, {0.0f, 0.0f}, {100.0f, 50.0f}, 0.25f, 2);
        Plain* object = new Plain();
        manager.spawnOnObject(name, object);
        object->release();
    }
    for (int frame = 0; frame < 8; ++frame) {
        manager.update(0.1f, -1);
        if (manager.liveParticles().size() + manager.liveEmitters().size() > Solitaire::SolPartikelManager::kMaxLive)
            std::abort();
    }
    manager.clear();
    Orvex::Texture2DAnimationManager::instance().releaseAnimations();
    return 0;
}
