// The render tests' device: the device object's own device (Orvex::D3DInterface), opened
// headless at the fixture's size for each test and shut down after it together with what was
// made on it (animation registry, texture lists). Pixels and textures go through the shared
// device helpers (tests/support/gl); files the tests write go to a temporary folder, property
// trees and effect definitions are made from text.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/core/XMLNode.h"
#include "port/d3d9/d3d9.h"
#include "tests/support/gl/DeviceFixture.h"

namespace rendertest {

using testsupport::colorNear;

// <EFFECT NAME="name"attributes><FILE FILENAME="path" />extra</EFFECT>
std::wstring effectDefinition(std::wstring const& name, std::wstring const& path, std::wstring const& extra = L"",
                              std::wstring const& attributes = L"");

class RenderFixture : public ::testing::Test {
protected:
    static constexpr unsigned kWidth = 64;
    static constexpr unsigned kHeight = 48;

    // The back buffer's size (X8R8G8B8, windowed).
    explicit RenderFixture(unsigned width = kWidth, unsigned height = kHeight) : width_(width), height_(height) {}

    // Opens the device object's device and makes an empty temporary folder. Engine effects
    // compile from source (no compiled cache is read).
    void SetUp() override;
    // Releases the animation registry and the texture lists, then shuts the device down.
    void TearDown() override;

    IDirect3DDevice9* device() const;
    // Clears target, depth and stencil.
    void clear(uint32_t colour) const;
    // The render target (A8R8G8B8, rows top first; the back buffer reads opaque).
    std::vector<uint32_t> readTarget() const { return testsupport::readRenderTarget(device()); }
    uint32_t at(std::vector<uint32_t> const& pixels, unsigned x, unsigned y) const {
        return pixels[static_cast<std::size_t>(y) * width_ + x];
    }
    // A managed A8R8G8B8 texture: one colour, or texels row by row. The caller owns it.
    IDirect3DTexture9* makeTexture(unsigned width, unsigned height, std::vector<uint32_t> const& texels) const;

    // Writes bytes to a file below the temporary folder; returns its Windows-style path.
    std::wstring write(std::string const& relative, std::string const& bytes) const;
    // The Windows-style path of a file below the temporary folder.
    std::wstring pathOf(std::string const& relative) const;
    // A property tree parsed from text; a parse failure fails the test.
    static Orvex::XMLNode parse(std::wstring const& text);

    std::filesystem::path folder;

private:
    unsigned width_;
    unsigned height_;
};

// Fills a texture's level 0 (a lockable 32-bit texture of that size) with one colour, or with
// texels row by row.
void fillTexels(IDirect3DTexture9* texture, unsigned width, unsigned height, std::vector<uint32_t> const& texels);

}  // namespace rendertest
