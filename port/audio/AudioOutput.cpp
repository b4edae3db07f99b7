// The shared audio output (see audio_output.h): SDL2_mixer's device, its post-mix hook running
// the sources and the tap, and the count of holders.
#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <mutex>
#include <utility>
#include <vector>

#include "port/audio/audio_output.h"
#include "port/win32/win32_log.h"
#include "port/win32/win32_text.h"

namespace port::audio {
namespace {

struct Output {
    int holders = 0;
    std::uint32_t rate = 0;
    std::mutex mutex;  // guards sources and tap against the audio thread
    std::vector<std::pair<void*, MixSource>> sources;
    MixTap tap;
};

// Never destroyed: holders that are statics themselves (the engine's sound manager) let go of
// the output at exit, after the statics made later than they are gone.
Output& output() {
    static Output* instance = new Output;
    return *instance;
}

void SDLCALL postMix(void*, Uint8* stream, int length) {
    Output& out = output();
    auto* samples = reinterpret_cast<std::int16_t*>(stream);
    std::size_t const frames = static_cast<std::size_t>(length) / (2 * sizeof(std::int16_t));
    std::lock_guard<std::mutex> lock(out.mutex);
    for (auto const& [user, source] : out.sources) source(user, samples, frames);
    if (out.tap) out.tap(samples, frames);
}

}  // namespace

bool acquireOutput(wchar_t const* who) {
    Output& out = output();
    if (out.holders > 0) {
        ++out.holders;
        return true;
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        port::logLine(port::LogLevel::Error, std::wstring(who) + L": no audio output (" + port::fromUtf8(SDL_GetError()) + L")");
        return false;
    }
    Mix_Init(MIX_INIT_OGG | MIX_INIT_MP3);  // formats that fail here fail later, file by file
    if (Mix_OpenAudioDevice(static_cast<int>(kPreferredRate), AUDIO_S16SYS, 2, kBlockFrames, nullptr,
                            SDL_AUDIO_ALLOW_FREQUENCY_CHANGE) != 0) {
        port::logLine(port::LogLevel::Error,
                      std::wstring(who) + L": cannot open the audio output (" + port::fromUtf8(Mix_GetError()) + L")");
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    int rate = 0;
    Uint16 format = 0;
    int channels = 0;
    Mix_QuerySpec(&rate, &format, &channels);
    out.rate = static_cast<std::uint32_t>(rate);
    Mix_SetPostMix(&postMix, nullptr);
    out.holders = 1;
    return true;
}

void releaseOutput() {
    Output& out = output();
    if (out.holders == 0 || --out.holders > 0) return;
    Mix_SetPostMix(nullptr, nullptr);
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    out.rate = 0;
}

std::uint32_t outputRate() { return output().rate; }

void addSource(void* user, MixSource source) {
    Output& out = output();
    std::lock_guard<std::mutex> lock(out.mutex);
    out.sources.emplace_back(user, source);
}

void removeSource(void* user) {
    Output& out = output();
    std::lock_guard<std::mutex> lock(out.mutex);
    out.sources.erase(std::remove_if(out.sources.begin(), out.sources.end(), [user](auto const& s) { return s.first == user; }),
                      out.sources.end());
}

void setTap(MixTap tap) {
    Output& out = output();
    std::lock_guard<std::mutex> lock(out.mutex);
    out.tap = std::move(tap);
}

}  // namespace port::audio
