// One piece of music as a DirectShow graph: loaded from a file (through the archives, then the
// disk), run, paused, stopped, looped at its end and turned up or down. The whole file is held
// in memory while it is loaded. The state rules: run starts a loaded or paused stream, pause
// holds a running or loaded one; any other state answers VFW_E_WRONG_STATE and changes nothing.
#pragma once

#include <string>

#include "engine/core/Types.h"
#include "port/dshow/dshow.h"

namespace Orvex {

class MusicStream {
public:
    enum State { STATE_EMPTY = 0, STATE_LOADED = 1, STATE_RUNNING = 2, STATE_PAUSED = 3 };

    MusicStream() = default;
    ~MusicStream();
    MusicStream(MusicStream const&) = delete;
    MusicStream& operator=(MusicStream const&) = delete;

    // Builds the graph for the file (a Windows path opened with the "DEFAULT" order: archives by
    // key, then the disk; case does not matter); the stream is then loaded, at its start.
    // A failure (missing or undecodable file) leaves the stream empty and logs one line.
    HRESULT load(std::wstring const& fileName);
    void unload();

    HRESULT run();
    HRESULT pause();
    // Stops and rewinds a running or paused stream; it is then loaded again.
    HRESULT stop();
    // Back to the start, keeping the state.
    HRESULT rewind();

    // Volume 0..1 (applied to the graph at once and kept for later loads).
    void setVolume(double volume);
    double getVolume() const { return volume_; }
    void setLooping(bool loop) { loop_ = loop; }
    bool isLooping() const { return loop_; }

    // Per frame: at the end of the music a looping stream starts again, another one stops at
    // its start (loaded). A graph paused from outside is seen as paused.
    void update();

    State getState() const { return state_; }
    // The playing position in seconds (0 when empty).
    double getPosition() const;
    std::wstring const& getFileName() const { return fileName_; }

private:
    void applyVolume();

    IGraphBuilder* graph_ = nullptr;
    IMediaControl* control_ = nullptr;
    IMediaSeeking* seeking_ = nullptr;
    IMediaEvent* events_ = nullptr;
    IBasicAudio* audio_ = nullptr;
    State state_ = STATE_EMPTY;
    std::wstring fileName_;
    double volume_ = 1.0;
    bool loop_ = true;
};

}  // namespace Orvex
