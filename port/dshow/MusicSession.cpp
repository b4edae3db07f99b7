// The shared SDL2_mixer music channel (see MusicSession.h).
#include "port/dshow/MusicSession.h"

#include "port/audio/audio_output.h"

namespace port::dshow {

MusicSession& MusicSession::instance() {
    static MusicSession session;
    return session;
}

void MusicSession::addGraph() { ++graphs_; }

void MusicSession::removeGraph() {
    if (--graphs_ > 0 || !open_) return;
    haltQuietly();
    Mix_HookMusicFinished(nullptr);
    port::audio::releaseOutput();
    open_ = false;
}

bool MusicSession::open() {
    if (open_) return true;
    if (!port::audio::acquireOutput(L"Music")) return false;
    Mix_HookMusicFinished(&MusicSession::finished);
    open_ = true;
    return true;
}

void SDLCALL MusicSession::finished() {
    MusicOwner* owner = instance().hookTarget_.load();
    if (!owner) return;
    owner->ended = true;
    owner->completeEvent = true;
}

void MusicSession::haltQuietly() {
    // Mix_HaltMusic calls the finished hook from this thread: that is no end of the music.
    hookTarget_ = nullptr;
    Mix_HaltMusic();
}

void MusicSession::takeOver(MusicOwner* owner) {
    if (owner_ == owner) return;
    MusicOwner* previous = owner_;
    if (previous) previous->onDisplaced();
    haltQuietly();
    owner_ = owner;
    hookTarget_ = owner;
}

void MusicSession::release(MusicOwner* owner) {
    if (owner_ != owner) return;
    haltQuietly();
    owner_ = nullptr;
}

}  // namespace port::dshow
