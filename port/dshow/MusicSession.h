// SDL2_mixer's music channel shared by the filter graphs: the shared audio output is held from
// the first use until the last graph goes, and the channel is owned by at most one graph at a time.
#pragma once

#include <SDL_mixer.h>

#include <atomic>

namespace port::dshow {

class MusicOwner {
public:
    // Called when the owner's music plays to its end (from SDL's audio thread).
    std::atomic<bool> ended{false};
    std::atomic<bool> completeEvent{false};
    // Called on the program's thread when another owner takes the channel: remember the
    // position and become paused.
    virtual void onDisplaced() = 0;

protected:
    ~MusicOwner() = default;
};

class MusicSession {
public:
    static MusicSession& instance();

    void addGraph();
    void removeGraph();
    // Takes a hold on the shared output when not yet holding one; false (logged) when there is none.
    bool open();

    MusicOwner* owner() const { return owner_; }
    // Makes owner the one playing: halts and displaces the previous one.
    void takeOver(MusicOwner* owner);
    // Halts the music if owner owns it, and clears the owner.
    void release(MusicOwner* owner);

private:
    static void SDLCALL finished();
    void haltQuietly();

    int graphs_ = 0;
    bool open_ = false;
    MusicOwner* owner_ = nullptr;
    std::atomic<MusicOwner*> hookTarget_{nullptr};  // what the finished hook reports to
};

}  // namespace port::dshow
