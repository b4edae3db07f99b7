// The one audio output shared by sounds and music: a DirectSound object and a music graph open
// it together on the dummy driver (which, like many drivers, has a single output device), and
// what the device plays, read back through the output's tap, holds the sound and the music.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <mutex>
#include <numbers>
#include <thread>
#include <vector>

#include "port/audio/audio_output.h"
#include "port/dshow/dshow.h"
#include "port/dsound/dsound.h"
#include "port/dsound/dsound_offline.h"
#include "port/win32/win32_paths.h"
#include "tests/port/dshow/MusicGraph.h"
#include "tests/port/mmio/WaveIo.h"
#include "tests/support/PortLogCapture.h"

namespace {

constexpr double kMusicHz = 440.0;   // tone.ogg
constexpr double kSoundHz = 1000.0;  // the looping buffer below
constexpr double kOtherHz = 2500.0;  // neither: the floor the two must stand out of

// What the device plays, collected on the audio thread while a capture lives.
class MixCapture {
public:
    MixCapture() {
        port::audio::setTap([this](std::int16_t const* stream, std::size_t frames) {
            std::lock_guard<std::mutex> lock(mutex_);
            for (std::size_t i = 0; i < frames; ++i) left_.push_back(stream[2 * i]);
        });
    }
    ~MixCapture() { port::audio::setTap({}); }
    // The first frames of the left channel, once that many have been played (empty after 5 s).
    std::vector<std::int16_t> waitFor(std::size_t frames) {
        for (int i = 0; i < 500; ++i) {
            {
                std::lock_guard<std::mutex> lock(mutex_);
                if (left_.size() >= frames) return {left_.begin(), left_.begin() + static_cast<long>(frames)};
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return {};
    }

private:
    std::mutex mutex_;
    std::vector<std::int16_t> left_;
};

// Amplitude of one frequency in the samples (Goertzel), in the samples' units.
double amplitudeAt(std::vector<std::int16_t> const& samples, double hz, double rate) {
    double const w = 2.0 * std::numbers::pi * hz / rate;
    double const coefficient = 2.0 * std::cos(w);
    double s1 = 0.0, s2 = 0.0;
    for (std::int16_t v : samples) {
        double const s0 = v + coefficient * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    double const power = s1 * s1 + s2 * s2 - coefficient * s1 * s2;
    return 2.0 * std::sqrt(std::max(0.0, power)) / static_cast<double>(samples.size());
}

// A sound object on the output with one buffer looping a tone; released together.
struct LoopingSound {
    IDirectSound8* sound = nullptr;
    IDirectSoundBuffer* buffer = nullptr;

    LoopingSound() {
        EXPECT_EQ(DirectSoundCreate8(nullptr, &sound, nullptr), DS_OK);
        if (!sound) return;
        DWORD const rate = 44100;
        WAVEFORMATEX format = wavetest::pcmFormat(1, rate, 16);
        std::vector<char> samples(rate * 2);
        for (DWORD i = 0; i < rate; ++i) {
            auto const s = static_cast<std::int16_t>(0.3 * 32767.0 * std::sin(2.0 * std::numbers::pi * kSoundHz * i / rate));
            std::memcpy(samples.data() + 2 * i, &s, 2);
        }
        DSBUFFERDESC desc{};
        desc.dwSize = sizeof(desc);
        desc.dwBufferBytes = static_cast<DWORD>(samples.size());
        desc.lpwfxFormat = &format;
        EXPECT_EQ(sound->CreateSoundBuffer(&desc, &buffer, nullptr), DS_OK);
        if (!buffer) return;
        void* p = nullptr;
        DWORD n = 0;
        buffer->Lock(0, 0, &p, &n, nullptr, nullptr, DSBLOCK_ENTIREBUFFER);
        std::memcpy(p, samples.data(), n);
        buffer->Unlock(p, n, nullptr, 0);
        EXPECT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    }
    ~LoopingSound() {
        if (buffer) buffer->Release();
        if (sound) sound->Release();
    }
    LoopingSound(LoopingSound const&) = delete;
    LoopingSound& operator=(LoopingSound const&) = delete;
};

// The music graph playing tone.ogg.
struct PlayingMusic : dshowtest::Graph {
    PlayingMusic() {
        EXPECT_EQ(builder->RenderFile(port::windowsPath(dshowtest::tonePath().string()).c_str(), nullptr), S_OK);
        EXPECT_EQ(control->Run(), S_OK);
    }
};

TEST(AudioOutput, SoundAndMusicPlayTogetherOnOneOutputWhicheverOpensFirst) {
    for (bool musicFirst : {false, true}) {
        SCOPED_TRACE(musicFirst ? "music first" : "sound first");
        testsupport::PortLogCapture log;
        std::unique_ptr<PlayingMusic> music;
        if (musicFirst) music = std::make_unique<PlayingMusic>();
        LoopingSound sound;
        if (!musicFirst) music = std::make_unique<PlayingMusic>();
        EXPECT_EQ(log.errorCount(), 0u) << "each opened the output (no \"cannot open the audio output\")";
        ASSERT_EQ(music->state(), State_Running);
        double const rate = port::audio::outputRate();
        ASSERT_GT(rate, 0.0);

        MixCapture capture;
        std::vector<std::int16_t> played = capture.waitFor(static_cast<std::size_t>(rate / 2));
        ASSERT_FALSE(played.empty()) << "the device plays in real time";
        // tone.ogg is at 8000 / 32768 of full scale, the sound at 0.3; the floor stays near 0.
        double const musicLevel = amplitudeAt(played, kMusicHz, rate);
        double const soundLevel = amplitudeAt(played, kSoundHz, rate);
        double const floor = amplitudeAt(played, kOtherHz, rate);
        EXPECT_GT(musicLevel, 4000.0);
        EXPECT_GT(soundLevel, 6000.0);
        EXPECT_LT(floor, 500.0);
    }
}

TEST(AudioOutput, StaysOpenWhileEitherHoldsItAndClosesAfterTheLast) {
    auto music = std::make_unique<PlayingMusic>();
    {
        LoopingSound sound;
        ASSERT_GT(port::audio::outputRate(), 0u);
    }
    EXPECT_GT(port::audio::outputRate(), 0u) << "the music still holds the output";
    EXPECT_TRUE(music->playsPast(0.1)) << "and still plays";
    music.reset();
    EXPECT_EQ(port::audio::outputRate(), 0u);
    // Opened again afterwards, by the sound alone.
    LoopingSound again;
    EXPECT_NE(again.sound, nullptr);
    EXPECT_GT(port::dsound::outputRate(again.sound), 0u);
}

}  // namespace
