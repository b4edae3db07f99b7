// The line drawer of the mini-games that draw lines over their pictures (the maze's walls, the
// dots' connections): one D3DX line object on the engine's device. It follows the device object's
// signals: lost (OnLostDevice) and reset (OnResetDevice), so lines survive a mode change; shutdown
// lets the object go, so the device can really end, and the next device creation makes it anew.
//
// Lines lie on top of the sprites queued before them, so they are drawn between sprite batches:
// the GUI's batch is ended (what was queued is drawn), the lines drawn, and the batch begun again
// with the GUI's flags (16, alpha blending) and no effect. Without a device or a batcher nothing
// is drawn.
#pragma once

#include <functional>
#include <memory>

#include "port/d3dx9/d3dx9.h"
#include "signals/sigslot.h"

namespace Solitaire {

class MinigameLines : public sigslot::has_slots<sigslot::single_threaded> {
public:
    // Connects to the device object's signals and makes the line object when the device exists.
    MinigameLines();
    ~MinigameLines() override;
    MinigameLines(MinigameLines const&) = delete;
    MinigameLines& operator=(MinigameLines const&) = delete;

    // Lets the old line object go and makes a new one on the device (none without a device).
    void create();
    ID3DXLine* get() const { return line_.get(); }

    // Ends the GUI batch, begins lines of the width (pixels), lets draw add them, ends the lines
    // and begins the batch again with flags 16. Nothing without a line object or a batcher.
    void drawBetweenBatches(float width, std::function<void(ID3DXLine&)> const& draw);
    // One segment from a to b in the colour (inside drawBetweenBatches).
    static void segment(ID3DXLine& line, D3DXVECTOR2 const& a, D3DXVECTOR2 const& b, D3DCOLOR colour);

    // ---- slots on the device object ----
    void onDeviceLost();
    void onDeviceReset();
    void onDeviceShutdown();
    void onDeviceCreated();

private:
    // The line object's own reference count, given up through Release.
    struct ReleaseLine {
        void operator()(ID3DXLine* line) const { line->Release(); }
    };
    std::unique_ptr<ID3DXLine, ReleaseLine> line_;
    // Made again at the next device creation (it existed when the device went).
    bool remake_ = false;
};

}  // namespace Solitaire
