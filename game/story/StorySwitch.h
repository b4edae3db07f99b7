// One switch of a story scene ("SWITCH"): the element changes it puts in force, a sound played
// when it comes into force, and what moves the scene on past it: "SWITCH_AT" bit 1 after
// "TIMER" seconds (scene time, strictly more), bit 2 a click in the story window (default 2).
// A switch moving on by neither waits for the scene's skip element or the end button.
#pragma once

#include <string>
#include <vector>

#include "game/story/StorySwitchParam.h"

namespace Solitaire {

struct StorySwitch {
    static constexpr int kOnTimer = 1;
    static constexpr int kOnClick = 2;

    int switchAt = kOnClick;
    float timer = 1.0f;
    std::vector<StorySwitchParam> params;
    std::wstring playSound;
};

}  // namespace Solitaire
