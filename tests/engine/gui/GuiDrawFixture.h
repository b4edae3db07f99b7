// The GUI drawing tests' device: the engine's device object at a small size (D24S8 stencil),
// the engine batcher with the game's "Sprite" effect as the GUI sprite, the GUI pictures of
// data/GUI loaded into the device's texture list, and windows built in code.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/gui/GUIWindow.h"
#include "engine/render/FRect.h"

namespace Orvex {
class Effect;
class Sprite;
}  // namespace Orvex

namespace guitest {

class GuiDrawFixture : public ::testing::Test {
protected:
    static constexpr unsigned kWidth = 128;
    static constexpr unsigned kHeight = 96;
    static constexpr uint32_t kClear = 0xFF000000;

    void SetUp() override;
    void TearDown() override;

    // A window at (l, t)-(r, b) of its parent (pixel offsets), drawn with the white picture in
    // colour (AARRGGBB); clips its children when clips is set. Owned by the caller (or, once
    // added, by its parent).
    static Orvex::GUIWindow* makeWindow(std::wstring const& name, Orvex::FRect const& at, uint32_t colour,
                                        bool clips = false);
    // Places and dresses a window (of any kind) as makeWindow does; returns it.
    static Orvex::GUIWindow* dress(Orvex::GUIWindow* w, Orvex::FRect const& at, uint32_t colour, bool clips);
    // Adds child under parent (the parent takes the caller's reference).
    static void adopt(Orvex::GUIWindow* parent, Orvex::GUIWindow* child);
    // Clears, draws the root window through drawRoot in a scene, reads the pixels back.
    std::vector<uint32_t> frame(Orvex::GUIWindow& root);
    static uint32_t at(std::vector<uint32_t> const& pixels, unsigned x, unsigned y) { return pixels[y * kWidth + x]; }
    // Pixels of exactly that colour inside (x0, y0)-(x1, y1), end exclusive.
    static int count(std::vector<uint32_t> const& pixels, uint32_t colour, unsigned x0 = 0, unsigned y0 = 0,
                     unsigned x1 = kWidth, unsigned y1 = kHeight);

    Orvex::Sprite* sprite = nullptr;
    Orvex::Effect* effect = nullptr;
};

}  // namespace guitest
