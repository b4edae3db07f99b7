// One change a switch of a story scene makes to the elements of one name ("SWITCH_PARM"): the
// indices of the position, texture rectangle and colour to glide to (-1: no change), the
// visibility, the speed of the glide (0 or less: at once), the overshoot of a position change,
// and what to start or stop: the emitter, the sounds, the element's music or the standard music.
#pragma once

#include <string>

namespace Solitaire {

struct StorySwitchParam {
    std::wstring partName;        // "PART_PART_NAME"
    int useDrawRect = -1;         // "USE_DRAW_RECT"
    int useTexRect = -1;          // "USE_TEX_RECT"
    int useColor = -1;            // "USE_COLOR"
    bool visible = true;          // "VISIBLE"
    float speed = 0.0f;           // "SPEED"
    float overshootPercent = 0.0f;  // "UEBERSCHWING_PERC"
    float overshootTime = 0.0f;     // "UEBERSCHWING_TIME"
    bool startEmitter = false;        // "START_EMITTER"
    bool stopEmitter = false;         // "STOP_EMITTER"
    bool startSound = false;          // "START_SOUND"
    bool stopSound = false;           // "STOP_SOUND"
    bool stopStandardMusic = false;   // "STOP_STD_MUSIK"
    bool startStandardMusic = false;  // "START_STD_MUSIK"
    bool startMusic = false;          // "START_MUSIK"
    bool stopMusic = false;           // "STOP_MUSIK"
};

}  // namespace Solitaire
