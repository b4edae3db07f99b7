// The software mixer behind the DirectSound objects: voices (one per sound buffer) over shared
// sample memory, mixed to interleaved stereo 16-bit output at one rate. All voice state is
// guarded by the mixer's mutex, since the device thread mixes while the program changes it.
#pragma once

#include <cstddef>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "port/mmio/mmreg.h"

namespace port::dsound {

// Sample memory, shared by a buffer and its duplicates.
struct SampleData {
    std::vector<uint8_t> bytes;
    WAVEFORMATEX format{};
    uint32_t frames() const { return static_cast<uint32_t>(bytes.size() / format.nBlockAlign); }
};

struct Voice {
    std::shared_ptr<SampleData> data;
    uint64_t position = 0;  // frames, 32.32 fixed point
    uint32_t frequency = 0;  // samples per second of playback
    float gainLeft = 1.0f;
    float gainRight = 1.0f;
    bool playing = false;
    bool looping = false;
};

// Gain of a level in hundredths of a decibel (DSBVOLUME_MIN and below: silence).
float gainFromHundredthsDb(long level);

class Mixer {
public:
    explicit Mixer(uint32_t outputRate) : outputRate_(outputRate) {}

    uint32_t outputRate() const { return outputRate_; }
    std::mutex& mutex() { return mutex_; }

    // Voices take part in the mix while registered. Both take the mutex.
    void add(std::shared_ptr<Voice> const& voice);
    void remove(Voice const* voice);

    // The master gain (from the primary buffer's volume); takes the mutex.
    void setMasterGain(float gain);

    // The cooperative level set on the owning DirectSound object (0 before it is set).
    std::atomic<uint32_t> cooperativeLevel{0};

    // Mixes frames of interleaved stereo output and advances the playing voices; takes the mutex.
    void render(int16_t* out, std::size_t frames);
    // The same, added to what out holds (the music under the sounds), clipped to 16 bit.
    void mixInto(int16_t* out, std::size_t frames);

private:
    void mix(int16_t* out, std::size_t frames, bool add);

    uint32_t outputRate_;
    std::mutex mutex_;
    std::vector<std::shared_ptr<Voice>> voices_;
    std::vector<float> accumulator_;
    float master_ = 1.0f;
};

}  // namespace port::dsound
