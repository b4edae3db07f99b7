// Effects on the device object's real device, headless: effect sources written into a temporary
// folder, definitions and lists parsed from text, the port's log (where headless message boxes
// go) captured, pixels read back from the render target.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/core/XMLNode.h"
#include "engine/render/Effect.h"
#include "engine/render/EffectBundle.h"
#include "engine/render/EffectManager.h"

namespace effecttest {

// A small effect: a flat colour times the vertex colour for pre-transformed quads. VALUE (a
// macro, 0 when not given) is readable as the int parameter g_Value.
std::string flatEffect(std::string const& colour = "float4(1.0, 0.0, 0.0, 1.0)");

// A 2D vertex of the sprite layout (48 bytes).
struct SpriteVertex {
    float x, y, z, w;
    uint32_t diffuse;
    float u, v;
    float slot;
    float centre[4];
};
static_assert(sizeof(SpriteVertex) == 48);

class EffectTest : public ::testing::Test {
protected:
    static constexpr unsigned kWidth = 64;
    static constexpr unsigned kHeight = 48;

    void SetUp() override;
    void TearDown() override;

    // Writes a file below the temporary folder; returns its Windows-style path.
    std::wstring write(std::string const& relative, std::string const& text);
    // The Windows-style path of a file below the temporary folder.
    std::wstring pathOf(std::string const& relative) const;
    // A property tree parsed from text (an "EFFECT" definition or a whole list).
    static Orvex::XMLNode parse(std::wstring const& text);
    // <EFFECT NAME="name"><FILE FILENAME="file"/>extra</EFFECT>
    std::wstring definition(std::wstring const& name, std::string const& file, std::wstring const& extra = L"",
                            std::wstring const& attributes = L"") const;

    // Message boxes logged since the last call (headless they go to the port log).
    std::vector<std::wstring> takeBoxes();

    IDirect3DDevice9* device() const;
    // The render target's pixels (A8R8G8B8, rows top first).
    std::vector<uint32_t> readTarget() const;
    static uint32_t at(std::vector<uint32_t> const& pixels, unsigned x, unsigned y) { return pixels[y * kWidth + x]; }
    void clear(uint32_t colour) const;
    // A managed A8R8G8B8 texture of one colour, or of colours by texel when given per texel.
    IDirect3DTexture9* makeTexture(unsigned width, unsigned height, std::vector<uint32_t> const& texels) const;
    // Draws each quad (4 vertices: top-left, top-right, bottom-left, bottom-right) with every pass
    // of the technique, through the FVF given.
    void drawQuads(ID3DXEffect& effect, char const* technique, std::vector<SpriteVertex> const& vertices,
                   DWORD fvf) const;
    // The four vertices of a 2D sprite with texture coordinates 0..1 and a slot.
    static std::vector<SpriteVertex> quad2D(float left, float top, float right, float bottom, uint32_t diffuse,
                                            float slot);

    std::filesystem::path folder;
    std::vector<std::wstring> logLines;
    Orvex::EffectManager& manager = Orvex::EffectManager::getInstance();
};

::testing::AssertionResult colourNear(uint32_t actual, uint32_t expected, int tolerance = 2);

}  // namespace effecttest
