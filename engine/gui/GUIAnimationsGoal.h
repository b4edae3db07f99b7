// A GUI window's animation goal: one complete state of the window (rectangle description, draw
// options, options) with the keys that say how the window glides into it (speed, which parts
// blend, how textures switch, overshoot). Goals are values: copying one shares its textures
// with a reference each, duplicates its frame animations and gives its options a layout
// manager of the same kind. A window owns its goals; its goal signals carry them.
#pragma once

#include <string>

#include "engine/gui/GUIDrawOptions.h"
#include "engine/gui/GUIRect.h"
#include "engine/gui/GUIWindowOptions.h"

namespace Orvex {

class XMLNode;

class GUIAnimationsGoal {
public:
    // "INTERPOLATE_GUIRECT_MODE" bits: which parameter sets of the rectangle blend.
    static constexpr int kRectPosition = 1;
    static constexpr int kRectSize = 2;
    static constexpr int kRectAspect = 4;
    static constexpr int kRectAll = kRectPosition | kRectSize | kRectAspect;

    // "INTERPOLATE_TEXTURES" words: where a texture field comes from on each side of c = 0.5.
    enum TextureMode { kStatic = 0, kStartGoal = 1, kStaticGoal = 2, kStartStatic = 3 };

    // Speeds and overshoot numbers beyond kMaxMeasure (or not finite), and negative speeds, are
    // damaged data: the key keeps its present value, and the goal's refused keys make one log
    // line.

    GUIAnimationsGoal() = default;
    // The defaults with the given bases copied in, then the node's keys and its "GUIRECT",
    // "OPTIONS" and "DRAWOPTIONS" children read over them. Unknown words are ignored.
    GUIAnimationsGoal(XMLNode& node, GUIRect const* baseRect, GUIDrawOptions const* baseDrawOptions,
                      GUIWindowOptions const* baseOptions);
    GUIAnimationsGoal(GUIAnimationsGoal const&) = default;
    GUIAnimationsGoal& operator=(GUIAnimationsGoal const&) = default;
    ~GUIAnimationsGoal() = default;

    GUIRect rect;
    GUIDrawOptions drawOptions;
    GUIWindowOptions options;
    double speed = 1.0;                 // "SPEED"
    bool interpolateRects = true;       // "INTERPOLATE_GUIRECTS"
    int rectMode = -1;                  // "INTERPOLATE_GUIRECT_MODE"
    bool interpolateDrawOptions = true; // "INTERPOLATE_DRAWOPTIONS"
    bool interpolateOptions = true;     // "INTERPOLATE_OPTIONS"
    int lookMode = kStatic;             // "INTERPOLATE_TEXTURES", first word
    int layerMode = kStatic;            // "INTERPOLATE_TEXTURES", second word
    float overshootPercent = 0.0f;      // "UEBERSCHWING_PERC"
    float overshootTime = 0.0f;         // "UEBERSCHWING_TIME"
    float overshootSplit = 0.5f;        // "UEBERSCHWING_TIME_VERH", within [0, 1]
    std::wstring name;                  // "NAME"

    // Reads the keys above (not the records) over the present values.
    void readKeys(XMLNode const& node);
};

}  // namespace Orvex
