// Helpers of the frame animation tests: animations held by one reference, frames told apart by
// their width (explicit frames need no texture); and the render fixture with textures in the
// registry's list and the test data folder as a search path.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/XMLNode.h"
#include "engine/render/Texture2D.h"
#include "engine/render/Texture2DAnimation.h"
#include "engine/core/GOBManager.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "port/win32/win32_paths.h"
#include "tests/engine/render/RenderFixture.h"
#include "tests/support/TestSupport.h"

namespace rendertest {

struct Releaser {
    void operator()(Orvex::NamedObject* object) const {
        if (object) object->release();
    }
};
template <class T>
using Held = std::unique_ptr<T, Releaser>;

// <ANIMATION_2D attributes> with n textureless frames of widths 1 .. n, then extra children.
inline std::wstring frames(int n, std::wstring const& attributes, std::wstring const& extra = L"") {
    std::wstring text = L"<ANIMATION_2D " + attributes + L">";
    for (int i = 1; i <= n; ++i) text += L"<FRAME FRAME_SIZE=\"" + std::to_wstring(i) + L" 1\"/>";
    return text + extra + L"</ANIMATION_2D>";
}

inline Held<Orvex::Texture2DAnimation> make(std::wstring const& text) {
    Orvex::XMLNode node = parse(text);
    return Held<Orvex::Texture2DAnimation>(new Orvex::Texture2DAnimation(node));
}

// The frames' widths minus one: the index each frame had in its definition.
inline std::vector<int> frameIds(Orvex::Texture2DAnimation const& animation) {
    std::vector<int> ids;
    for (auto const& frame : animation.getFrames()) ids.push_back(static_cast<int>(frame.width) - 1);
    return ids;
}

// Counts the emissions of one signal.
struct Counter : sigslot::has_slots<> {
    int count = 0;
    std::vector<std::wstring> names;
    void onSignal(Orvex::Texture2DAnimation&) { ++count; }
    void onEvent(Orvex::Texture2DAnimation&, std::wstring const& name) { names.push_back(name); }
};

// The Windows-style path of the test data folder, and adding it to the search paths once.
inline std::wstring testDataFolder() {
    return port::windowsPath((testsupport::sourceDir() / "tests" / "engine" / "render" / "data").string());
}
inline void addTestDataSearchPath() {
    static bool added = false;
    if (!added) Orvex::GOBManager::getInstance().addSearchPath(testDataFolder());
    added = true;
}

// A managed A8R8G8B8 texture of that size in the registry's texture list, empty or filled with
// texels (one colour for all when one is given).
inline Orvex::Texture2D* addTexture(std::wstring const& name, unsigned width, unsigned height,
                                    std::vector<uint32_t> const& texels = {}) {
    auto* texture = new Orvex::Texture2D(name);
    EXPECT_TRUE(texture->create(width, height, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED));
    Orvex::Texture2DAnimationManager::instance().getTextures().addTexture(texture, true);
    if (!texels.empty()) fillTexels(*texture->getD3DTexture(), width, height, texels);
    return texture;
}

class AnimationFixture : public RenderFixture {
protected:
    void SetUp() override {
        RenderFixture::SetUp();
        addTestDataSearchPath();
    }
};

}  // namespace rendertest
