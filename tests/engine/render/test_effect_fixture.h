// Effects on the render tests' device: effect sources written into the temporary folder,
// definitions and lists parsed from text, the port's log (where headless message boxes go)
// captured, quads drawn through an effect's passes.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/render/Effect.h"
#include "engine/render/EffectBundle.h"
#include "engine/render/EffectManager.h"
#include "tests/engine/render/RenderFixture.h"
#include "tests/support/gl/FlatEffect.h"

namespace effecttest {

using testsupport::flatEffect;

// A 2D vertex of the sprite layout (48 bytes).
struct SpriteVertex {
    float x, y, z, w;
    uint32_t diffuse;
    float u, v;
    float slot;
    float centre[4];
};
static_assert(sizeof(SpriteVertex) == 48);

class EffectTest : public rendertest::RenderFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // <EFFECT NAME="name"><FILE FILENAME="file"/>extra</EFFECT>
    std::wstring definition(std::wstring const& name, std::string const& file, std::wstring const& extra = L"",
                            std::wstring const& attributes = L"") const {
        return rendertest::effectDefinition(name, pathOf(file), extra, attributes);
    }

    // Message boxes logged since the last call (headless they go to the port log).
    std::vector<std::wstring> takeBoxes();

    // Draws each quad (4 vertices: top-left, top-right, bottom-left, bottom-right) with every pass
    // of the technique, through the FVF given.
    void drawQuads(ID3DXEffect& effect, char const* technique, std::vector<SpriteVertex> const& vertices,
                   DWORD fvf) const;
    // The four vertices of a 2D sprite with texture coordinates 0..1 and a slot.
    static std::vector<SpriteVertex> quad2D(float left, float top, float right, float bottom, uint32_t diffuse,
                                            float slot);

    std::vector<std::wstring> logLines;
    Orvex::EffectManager& manager = Orvex::EffectManager::getInstance();
};

using rendertest::colorNear;

}  // namespace effecttest
