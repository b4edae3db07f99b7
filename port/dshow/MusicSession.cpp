// The shared SDL2_mixer music channel (see MusicSession.h).
#include "port/dshow/MusicSession.h"

#include <SDL.h>

#include "port/win32/win32_text.h"
#include "port/win32/win32_log.h"

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
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    open_ = false;
}

bool MusicSession::open() {
    if (open_) return true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        port::logLine(port::LogLevel::Error, L"Music: no audio output (" + port::fromUtf8(SDL_GetError()) + L")");
        return false;
    }
    Mix_Init(MIX_INIT_OGG | MIX_INIT_MP3);  // formats that fail here fail later, file by file
    if (Mix_OpenAudioDevice(44100, AUDIO_S16SYS, 2, 2048, nullptr, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE) != 0) {
        port::logLine(port::LogLevel::Error, L"Music: cannot open the audio output (" + port::fromUtf8(Mix_GetError()) + L")");
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
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
