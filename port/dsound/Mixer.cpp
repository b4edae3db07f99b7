// The software mixer: linear-interpolating resampler per voice, float accumulation, clipping to
// 16 bit. Sample decoding is specialised per format so the inner loop stays branch-free.
#include "port/dsound/Mixer.h"

#include <algorithm>
#include <cmath>

namespace port::dsound {
namespace {

struct Frame {
    float left;
    float right;
};

template <int Bits, int Channels>
inline Frame sampleAt(uint8_t const* bytes, uint32_t frame) {
    if constexpr (Bits == 8) {
        uint8_t const* p = bytes + std::size_t(frame) * Channels;
        float l = (float(p[0]) - 128.0f) * (1.0f / 128.0f);
        return {l, Channels == 2 ? (float(p[1]) - 128.0f) * (1.0f / 128.0f) : l};
    } else {
        uint8_t const* p = bytes + std::size_t(frame) * Channels * 2;
        float l = float(int16_t(uint16_t(p[0] | (p[1] << 8)))) * (1.0f / 32768.0f);
        float r = Channels == 2 ? float(int16_t(uint16_t(p[2] | (p[3] << 8)))) * (1.0f / 32768.0f) : l;
        return {l, r};
    }
}

// Adds the voice to acc (interleaved stereo) for frames output frames; stops it at the end
// unless looping.
template <int Bits, int Channels>
void mixVoice(Voice& voice, float* acc, std::size_t frames, uint32_t outputRate) {
    SampleData const& data = *voice.data;
    uint32_t const total = data.frames();
    if (total == 0) {
        voice.playing = false;
        return;
    }
    uint8_t const* bytes = data.bytes.data();
    uint64_t const step = (uint64_t(voice.frequency) << 32) / outputRate;
    uint64_t const end = uint64_t(total) << 32;
    uint64_t pos = voice.position;
    float const gl = voice.gainLeft;
    float const gr = voice.gainRight;
    for (std::size_t n = 0; n < frames; ++n) {
        if (pos >= end) {
            if (!voice.looping) {
                voice.playing = false;
                pos = 0;
                break;
            }
            pos %= end;
        }
        uint32_t i = uint32_t(pos >> 32);
        float frac = float(uint32_t(pos)) * (1.0f / 4294967296.0f);
        uint32_t next = i + 1 < total ? i + 1 : (voice.looping ? 0 : i);
        Frame a = sampleAt<Bits, Channels>(bytes, i);
        Frame b = sampleAt<Bits, Channels>(bytes, next);
        acc[2 * n] += (a.left + (b.left - a.left) * frac) * gl;
        acc[2 * n + 1] += (a.right + (b.right - a.right) * frac) * gr;
        pos += step;
    }
    if (voice.playing && pos >= end && !voice.looping) {
        voice.playing = false;
        pos = 0;
    }
    voice.position = voice.looping && pos >= end ? pos % end : pos;
}

}  // namespace

float gainFromHundredthsDb(long level) {
    if (level <= -10000) return 0.0f;
    if (level >= 0) return 1.0f;
    return std::pow(10.0f, float(level) / 2000.0f);
}

void Mixer::add(std::shared_ptr<Voice> const& voice) {
    std::lock_guard<std::mutex> lock(mutex_);
    voices_.push_back(voice);
}

void Mixer::remove(Voice const* voice) {
    std::lock_guard<std::mutex> lock(mutex_);
    voices_.erase(std::remove_if(voices_.begin(), voices_.end(), [voice](auto const& v) { return v.get() == voice; }),
                  voices_.end());
}

void Mixer::setMasterGain(float gain) {
    std::lock_guard<std::mutex> lock(mutex_);
    master_ = gain;
}

void Mixer::render(int16_t* out, std::size_t frames) { mix(out, frames, false); }

void Mixer::mixInto(int16_t* out, std::size_t frames) { mix(out, frames, true); }

void Mixer::mix(int16_t* out, std::size_t frames, bool add) {
    std::lock_guard<std::mutex> lock(mutex_);
    accumulator_.assign(frames * 2, 0.0f);
    float* acc = accumulator_.data();
    for (auto const& voice : voices_) {
        if (!voice->playing || !voice->data) continue;
        WAVEFORMATEX const& f = voice->data->format;
        bool stereo = f.nChannels == 2;
        if (f.wBitsPerSample == 8)
            stereo ? mixVoice<8, 2>(*voice, acc, frames, outputRate_) : mixVoice<8, 1>(*voice, acc, frames, outputRate_);
        else
            stereo ? mixVoice<16, 2>(*voice, acc, frames, outputRate_) : mixVoice<16, 1>(*voice, acc, frames, outputRate_);
    }
    float const master = master_ * 32768.0f;
    for (std::size_t i = 0; i < frames * 2; ++i) {
        float v = std::nearbyint(acc[i] * master) + (add ? float(out[i]) : 0.0f);
        out[i] = int16_t(std::clamp(v, -32768.0f, 32767.0f));
    }
}

}  // namespace port::dsound
