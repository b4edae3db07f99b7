// Plays a video file (the intro) in its own message loop until it ends, a key or mouse button
// skips it, or the program is asked to close. A graph that cannot be made or cannot render the
// file (the port plays no video formats yet) skips the video: the result code tells why and the
// quit flag stays clear.
#pragma once

#include <string>

#include "port/dshow/dshow.h"
#include "port/win32/windows.h"

namespace Orvex {

struct VideoResult {
    bool quit = false;       // the program was asked to close while the video ran
    HRESULT result = S_OK;   // the graph's result (a failure when the video was skipped)
};

class VideoPlayer {
public:
    explicit VideoPlayer(std::wstring fileName);

    // The window whose closing ends the program (default: the active window at play time).
    void setWindow(HWND window) { window_ = window; }
    // The longest time the loop waits for the end (ms); a safety net for broken streams.
    void setTimeLimit(DWORD milliseconds) { timeLimit_ = milliseconds; }

    VideoResult play();

private:
    std::wstring fileName_;
    HWND window_ = nullptr;
    DWORD timeLimit_ = 10u * 60u * 1000u;
};

}  // namespace Orvex
