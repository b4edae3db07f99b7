// One pass (tool) of the cleaning game, `WaschenPutzenGame::Pass`: a mask picture that the player
// scrubs, the brush that changes its pixels and the count that decides when the pass is done. The
// painted copy of the mask (the working texture) is the blend mask of the pass in the game's post
// effect: where it has reached the goal colour, the pass's overlay shows.
//
// Keys of a "PASS" element: "TEXTUREN" (a texture list local to the pass), "MASK_NAME",
// "BLEND_NAME" (looked up there, then in the device's registry), "RADIUS" (mask pixels),
// "GOAL_COLOR", "DRAW_COLOR", "DIST_COLOR" (hexadecimal ARGB; the last a tolerance per channel),
// "TIME_FAKTOR", "DRAW_MODE" (1 add, 2 subtract, else set), "TEXT_FERTIG", "TEXT_NFERTIG",
// "FERTIG_PERCENT", "FERTIG_PIXELS" (hexadecimal digits: fewer pixels than this may be left),
// "GUIRECT", "TOOL" (the tool button's template), "ANIMATION", "USE_AS_CURSOR", "CURSOR_SIZE"
// (width, height, x and y offset), "EMITTER", "USE_AS_HG", "PERCENT_MULT", "PERCENT_OFF".
//
// The brush: every pixel within RADIUS of a brush point moves towards the goal by DRAW_COLOR x time
// step x TIME_FAKTOR, in whole 1/255 steps; what is left below a step is kept per pixel in the
// remainder texture (as a 32-bit fraction) and carried into the next stroke. A pixel counts as
// clean when each channel lies strictly within DIST_COLOR of GOAL_COLOR. The pass is done when less
// than 1 - FERTIG_PERCENT of the mask's unclean pixels are left and fewer than FERTIG_PIXELS.
//
// Sound behaviour where the plain rules would go wrong:
//   - a brush point visits only the pixels of its bounding box (the same pixels change), and only
//     that box is locked and sent to the device;
//   - the progress is computed signed, so painting pixels away from the goal gives 0, not 1;
//   - a mask without unclean pixels is done at once (the share would divide by 0);
//   - "RADIUS" is capped at kMaxRadius and the remainder kept within 32 bits;
//   - a pass that can never be done (no tolerance on a channel, "FERTIG_PIXELS" not above 0, or
//     "FERTIG_PERCENT" of 1) says so in one log line when it is read;
//   - a failed lock keeps the last count instead of counting nothing as clean.
//
// Files:
//   WaschenPutzenPass.cpp         reading a pass, reset, toPixel, the locks
//   WaschenPutzenPass_paint.cpp   the brush (paint) and the count (checkCoverage)
#pragma once

#include <string>

#include "engine/core/CountedRef.h"
#include "engine/core/Types.h"
#include "game/minigames/WaschenPutzenGame.h"
#include "port/d3dx9/d3dx9math.h"
#include "port/win32/windows_types.h"

namespace Orvex {
class GUIWindow;
class Texture2D;
class Texture2DAnimation;
class XMLNode;
}  // namespace Orvex

namespace Solitaire {

class WaschenPutzenGame::Pass {
public:
    static constexpr float kDefaultRadius = 0.5f;
    // A brush wider than this is damaged data (each point would visit most of a large mask).
    static constexpr float kMaxRadius = 128.0f;
    // The size of a pass without a mask.
    static constexpr Orvex::u32 kDefaultSide = 12;
    static constexpr Orvex::s32 kNeverDone = -1;
    static constexpr int kModeAdd = 1;
    static constexpr int kModeSubtract = 2;

    explicit Pass(Orvex::XMLNode& node);
    ~Pass();
    Pass(Pass const&) = delete;
    Pass& operator=(Pass const&) = delete;

    // A fresh start: the working texture a copy of the mask, the remainder 0, the mask counted.
    void reset();
    // Locks the working and the remainder texture in the rectangle (of both); false when either is
    // missing or a lock fails (nothing stays locked then).
    bool lockTextures(RECT const& area);
    void unlockTextures();
    // (u, v) over the wash area in pixels of the working texture; (0, 0) without one.
    D3DXVECTOR2 toPixel(float u, float v) const;
    // The brush at a point (working-texture pixels) for a time step; true when a pixel changed.
    bool paint(D3DXVECTOR2 const& point, float step);
    // The same, visiting every pixel of the area (the whole texture shows that the bounding box of
    // paint leaves nothing out).
    bool paintIn(D3DXVECTOR2 const& point, float step, RECT const& area);
    // Counts the working texture, updates the progress and the tool's bar or label; the done flag.
    bool checkCoverage();

    // Whether the colour lies within the tolerance of the goal on every channel.
    bool isClean(D3DXCOLOR const& colour) const;
    Orvex::u32 getWidth() const { return width; }
    Orvex::u32 getHeight() const { return height; }

    Orvex::CountedRef<Orvex::Texture2D> working;
    Orvex::CountedRef<Orvex::Texture2D> mask;
    Orvex::CountedRef<Orvex::Texture2D> remainder;
    Orvex::CountedRef<Orvex::Texture2D> overlay;
    Orvex::u32 width = kDefaultSide;
    Orvex::u32 height = kDefaultSide;
    float radius = kDefaultRadius;
    float timeFaktor = 1.0f;
    bool dirty = true;
    bool done = false;
    D3DXCOLOR goalColor{1.0f, 1.0f, 1.0f, 1.0f};
    int drawMode = 0;
    D3DXCOLOR drawColor{1.0f, 1.0f, 1.0f, 1.0f};
    D3DXCOLOR distColor{0.0f, 0.0f, 0.0f, 0.0f};
    float fertigPercent = 0.9f;
    Orvex::s32 fertigPixels = kNeverDone;
    // The mask's pixels within the goal tolerance, outside it, and all that could be read.
    Orvex::u32 maskClean = 0;
    Orvex::u32 maskUnclean = 0;
    Orvex::u32 maskPixels = 0;
    // The working texture's counts of the last check.
    Orvex::u32 clean = 0;
    Orvex::u32 unclean = 0;
    // Declared before the tool window that shows it, so it goes after it.
    Orvex::CountedRef<Orvex::Texture2DAnimation> animation;
    Orvex::CountedRef<Orvex::GUIWindow> toolWindow;
    bool hasCursorSize = false;
    // Width, height, x offset, y offset, for a 1024 x 768 screen.
    float cursorSize[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    bool hasEmitter = false;
    std::wstring emitter;
    bool useAsCursor = true;
    bool useAsHg = true;
    bool reported = false;
    std::wstring textFertig;
    std::wstring textNFertig;
    float progress = 0.0f;
    float percentMult = 1.0f;
    float percentOff = 0.0f;

private:
    void readCursorSize(Orvex::XMLNode const& node);
    // Counts the readable pixels of the texture, clean and unclean; false when it cannot be locked.
    bool countPixels(Orvex::Texture2D& texture, Orvex::u32& cleanOut, Orvex::u32& uncleanOut) const;
    // The tool's bar value and its label (or the tool itself as a label) from the progress.
    void showProgress();
};

}  // namespace Solitaire
