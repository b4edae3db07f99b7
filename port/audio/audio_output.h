// The one audio output of the program, shared by the DirectSound objects (sounds) and the filter
// graphs (music). Many drivers open a single output device only (the dummy driver among them),
// so both go through one device, opened by SDL2_mixer: its music channel plays into the stream,
// then every registered source adds its frames, then a tap (when set) sees what is played.
//
// Contract: each user holds the output between acquire and release; the first acquire opens the
// device (stereo, 16 bit, at kPreferredRate or the rate the device insists on), the last release
// closes it. Sources and the tap are called on the audio thread, with interleaved stereo 16-bit
// frames; removeSource returns only when the source is no longer being called. Everything else
// is called from the program's thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace port::audio {

constexpr std::uint32_t kPreferredRate = 44100;
// Frames per device block: about 23 ms at 44.1 kHz, the latency of a started sound.
constexpr int kBlockFrames = 1024;

// Opens the output on first use; false (one log line starting with who) when there is none.
bool acquireOutput(wchar_t const* who);
// Lets go of one hold; the last closes the output.
void releaseOutput();
// The output's rate while it is open, else 0.
std::uint32_t outputRate();

// Adds frames to the stream after the music (mixing into what is there).
using MixSource = void (*)(void* user, std::int16_t* stream, std::size_t frames);
void addSource(void* user, MixSource source);
void removeSource(void* user);

// Sees every block as the device plays it, after all sources (an empty function removes it);
// for tests, which read back what was played.
using MixTap = std::function<void(std::int16_t const* stream, std::size_t frames)>;
void setTap(MixTap tap);

}  // namespace port::audio
