// DirectSound: buffers mixed through the offline hook (volume, pan, resampling, looping, locks,
// duplicates, the primary buffer), refusal of bad formats and WAV files, and the SDL device.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <thread>
#include <vector>

#include "port/dsound/dsound.h"
#include "port/dsound/dsound_offline.h"
#include "tests/port/mmio/WaveIo.h"

namespace {

using wavetest::pcmFormat;

struct OfflineMixTest : ::testing::Test {
    IDirectSound8* sound = nullptr;
    void SetUp() override {
        ASSERT_EQ(port::dsound::createOfflineDirectSound(44100, &sound), DS_OK);
        ASSERT_EQ(sound->SetCooperativeLevel(nullptr, DSSCL_PRIORITY), DS_OK);
    }
    void TearDown() override {
        for (IDirectSoundBuffer* b : made_) b->Release();
        if (sound) sound->Release();
    }
    // Buffers made here are released at the end of the test unless released earlier.
    std::vector<IDirectSoundBuffer*> made_;
    void release(IDirectSoundBuffer* buffer) {
        made_.erase(std::find(made_.begin(), made_.end(), buffer));
        buffer->Release();
    }

    IDirectSoundBuffer* makeBuffer(WAVEFORMATEX format, std::vector<char> const& bytes, DWORD flags) {
        DSBUFFERDESC desc{};
        desc.dwSize = sizeof(desc);
        desc.dwFlags = flags;
        desc.dwBufferBytes = static_cast<DWORD>(bytes.size());
        desc.lpwfxFormat = &format;
        IDirectSoundBuffer* buffer = nullptr;
        EXPECT_EQ(sound->CreateSoundBuffer(&desc, &buffer, nullptr), DS_OK);
        if (!buffer) return nullptr;
        made_.push_back(buffer);
        void* p1 = nullptr;
        DWORD n1 = 0;
        EXPECT_EQ(buffer->Lock(0, 0, &p1, &n1, nullptr, nullptr, DSBLOCK_ENTIREBUFFER), DS_OK);
        EXPECT_EQ(n1, bytes.size());
        std::memcpy(p1, bytes.data(), n1);
        EXPECT_EQ(buffer->Unlock(p1, n1, nullptr, 0), DS_OK);
        return buffer;
    }

    std::vector<int16_t> render(std::size_t frames) {
        std::vector<int16_t> out(frames * 2, 12345);
        EXPECT_TRUE(port::dsound::renderMix(sound, out.data(), frames));
        return out;
    }
};

std::vector<char> pcm16(std::vector<int16_t> const& samples) {
    std::vector<char> bytes(samples.size() * 2);
    std::memcpy(bytes.data(), samples.data(), bytes.size());
    return bytes;
}

std::vector<char> constant16(std::size_t frames, std::vector<int16_t> const& frame) {
    std::vector<int16_t> s;
    for (std::size_t i = 0; i < frames; ++i) s.insert(s.end(), frame.begin(), frame.end());
    return pcm16(s);
}

TEST_F(OfflineMixTest, TwoBuffersAtMinus600MixToTheAttenuatedSum) {
    IDirectSoundBuffer* a = makeBuffer(pcmFormat(1, 44100, 16), constant16(4000, {8000}), DSBCAPS_CTRLVOLUME);
    IDirectSoundBuffer* b = makeBuffer(pcmFormat(2, 44100, 16), constant16(4000, {4000, -2000}), DSBCAPS_CTRLVOLUME);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->SetVolume(-600), DS_OK);
    EXPECT_EQ(b->SetVolume(-600), DS_OK);
    EXPECT_EQ(a->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(b->Play(0, 0, 0), DS_OK);
    double gain = std::pow(10.0, -600 / 2000.0);  // -6 dB: 0.501
    auto out = render(1000);
    for (std::size_t i = 0; i < 1000; ++i) {
        ASSERT_NEAR(out[2 * i], (8000 + 4000) * gain, 1.0) << i;
        ASSERT_NEAR(out[2 * i + 1], (8000 - 2000) * gain, 1.0) << i;
    }
}

TEST_F(OfflineMixTest, FullVolumeReproducesSamplesAndClipsSums) {
    std::vector<int16_t> ramp;
    for (int i = 0; i < 300; ++i) ramp.push_back(static_cast<int16_t>(i * 100 - 15000));
    IDirectSoundBuffer* a = makeBuffer(pcmFormat(1, 44100, 16), pcm16(ramp), 0);
    a->Play(0, 0, 0);
    auto out = render(300);
    for (int i = 0; i < 300; ++i) ASSERT_EQ(out[2 * i], ramp[i]) << i;
    // Two loud buffers clip at the 16-bit limits instead of wrapping.
    IDirectSoundBuffer* b = makeBuffer(pcmFormat(1, 44100, 16), constant16(100, {30000}), 0);
    IDirectSoundBuffer* c = makeBuffer(pcmFormat(1, 44100, 16), constant16(100, {30000}), 0);
    b->Play(0, 0, 0);
    c->Play(0, 0, 0);
    out = render(10);
    EXPECT_EQ(out[0], 32767);
}

TEST_F(OfflineMixTest, PanAttenuatesTheOtherSide) {
    IDirectSoundBuffer* a = makeBuffer(pcmFormat(1, 44100, 16), constant16(500, {10000}), DSBCAPS_CTRLPAN);
    EXPECT_EQ(a->SetPan(600), DS_OK);  // to the right: left loses 6 dB
    a->Play(0, 0, 0);
    auto out = render(10);
    EXPECT_NEAR(out[0], 10000 * std::pow(10.0, -0.3), 1.0);
    EXPECT_EQ(out[1], 10000);
    EXPECT_EQ(a->SetPan(DSBPAN_LEFT), DS_OK);
    out = render(10);
    EXPECT_EQ(out[0], 10000);
    EXPECT_EQ(out[1], 0);
    EXPECT_EQ(a->SetPan(10001), DSERR_INVALIDPARAM);
    EXPECT_EQ(a->SetVolume(-100), DSERR_CONTROLUNAVAIL);  // created without the volume control
}

TEST_F(OfflineMixTest, EightBitRatesAndFrequencyAreConvertedAndInterpolated) {
    // 8-bit unsigned: 0xC0 is +0.5.
    IDirectSoundBuffer* a = makeBuffer(pcmFormat(1, 44100, 8), std::vector<char>(100, char(0xC0)), 0);
    a->Play(0, 0, 0);
    auto out = render(4);
    EXPECT_EQ(out[0], 16384);
    a->Stop();

    // 22050 Hz played at 44100: every second output frame lies halfway between two samples.
    IDirectSoundBuffer* b = makeBuffer(pcmFormat(1, 22050, 16), pcm16({0, 1000, 2000, 3000, 4000, 5000}), 0);
    b->Play(0, 0, 0);
    out = render(8);
    int16_t const expected[] = {0, 500, 1000, 1500, 2000, 2500, 3000, 3500};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(out[2 * i], expected[i]) << i;
    b->Stop();

    // A buffer played at twice its rate skips every second sample.
    std::vector<int16_t> ramp;
    for (int i = 0; i < 100; ++i) ramp.push_back(static_cast<int16_t>(i * 10));
    IDirectSoundBuffer* c = makeBuffer(pcmFormat(1, 44100, 16), pcm16(ramp), DSBCAPS_CTRLFREQUENCY);
    EXPECT_EQ(c->SetFrequency(88200), DS_OK);
    c->Play(0, 0, 0);
    out = render(5);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(out[2 * i], i * 20);
    EXPECT_EQ(c->SetFrequency(DSBFREQUENCY_ORIGINAL), DS_OK);
    DWORD frequency = 0;
    EXPECT_EQ(c->GetFrequency(&frequency), DS_OK);
    EXPECT_EQ(frequency, 44100u);
    EXPECT_EQ(c->SetFrequency(50), DSERR_INVALIDPARAM);
}

TEST_F(OfflineMixTest, OneShotStopsAndRewindsLoopWraps) {
    IDirectSoundBuffer* a = makeBuffer(pcmFormat(1, 44100, 16), pcm16({100, 200, 300, 400}), 0);
    a->Play(0, 0, 0);
    auto out = render(6);
    int16_t const once[] = {100, 200, 300, 400, 0, 0};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(out[2 * i], once[i]) << i;
    DWORD status = 0;
    a->GetStatus(&status);
    EXPECT_EQ(status & DSBSTATUS_PLAYING, 0u);
    DWORD play = 99;
    a->GetCurrentPosition(&play, nullptr);
    EXPECT_EQ(play, 0u);

    a->Play(0, 0, DSBPLAY_LOOPING);
    a->GetStatus(&status);
    EXPECT_TRUE((status & DSBSTATUS_LOOPING) && (status & DSBSTATUS_PLAYING));
    out = render(10);
    int16_t const looped[] = {100, 200, 300, 400, 100, 200, 300, 400, 100, 200};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(out[2 * i], looped[i]) << i;
    a->GetCurrentPosition(&play, nullptr);
    EXPECT_EQ(play, 4u);  // frame 2, two bytes each

    // Stop keeps the position; SetCurrentPosition moves it.
    a->Stop();
    out = render(2);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(a->SetCurrentPosition(6), DS_OK);
    a->Play(0, 0, 0);
    out = render(2);
    EXPECT_EQ(out[0], 400);
    EXPECT_EQ(a->SetCurrentPosition(8), DSERR_INVALIDPARAM);
    EXPECT_EQ(a->Play(1, 0, 0), DSERR_INVALIDPARAM);
}

TEST_F(OfflineMixTest, LockWrapsAroundTheEndInTwoParts) {
    IDirectSoundBuffer* a = makeBuffer(pcmFormat(1, 44100, 16), std::vector<char>(1000, 0), 0);
    void *p1, *p2;
    DWORD n1, n2;
    ASSERT_EQ(a->Lock(800, 400, &p1, &n1, &p2, &n2, 0), DS_OK);
    EXPECT_EQ(n1, 200u);
    EXPECT_EQ(n2, 200u);
    std::vector<int16_t> tail(100, 1111), head(100, 2222);
    std::memcpy(p1, tail.data(), n1);
    std::memcpy(p2, head.data(), n2);
    ASSERT_EQ(a->Unlock(p1, n1, p2, n2), DS_OK);
    a->Play(0, 0, 0);
    auto out = render(500);
    for (auto [frame, value] : {std::pair{0, 2222}, {99, 2222}, {100, 0}, {400, 1111}, {499, 1111}})
        EXPECT_EQ(out[2 * frame], value) << frame;

    // Without a second pointer the lock stops at the end of the buffer.
    ASSERT_EQ(a->Lock(900, 400, &p1, &n1, nullptr, nullptr, 0), DS_OK);
    EXPECT_EQ(n1, 100u);
    EXPECT_EQ(a->Unlock(p1, n1, nullptr, 0), DS_OK);
    EXPECT_EQ(a->Lock(1000, 4, &p1, &n1, &p2, &n2, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(a->Lock(0, 1001, &p1, &n1, &p2, &n2, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(a->Unlock(p1, n1, nullptr, 0), DSERR_INVALIDCALL);  // nothing locked
    ASSERT_EQ(a->Lock(0, 10, &p1, &n1, &p2, &n2, 0), DS_OK);
    char elsewhere[10];
    EXPECT_EQ(a->Unlock(elsewhere, 10, nullptr, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(a->Unlock(p1, n1, nullptr, 0), DS_OK);
}

TEST_F(OfflineMixTest, DuplicatesShareSamplesButPlayOnTheirOwn) {
    IDirectSoundBuffer* a = makeBuffer(pcmFormat(1, 44100, 16), constant16(100, {1000}), DSBCAPS_CTRLVOLUME);
    a->SetVolume(-600);
    IDirectSoundBuffer* b = nullptr;
    ASSERT_EQ(sound->DuplicateSoundBuffer(a, &b), DS_OK);
    made_.push_back(b);
    LONG volume = 0;
    b->GetVolume(&volume);
    EXPECT_EQ(volume, -600);  // the duplicate starts with the original's settings
    b->SetVolume(0);
    b->Play(0, 0, 0);
    auto out = render(4);
    EXPECT_EQ(out[0], 1000);  // only the duplicate plays, at its own volume
    // New samples written through the original reach the duplicate.
    void* p1;
    DWORD n1;
    ASSERT_EQ(a->Lock(0, 0, &p1, &n1, nullptr, nullptr, DSBLOCK_ENTIREBUFFER), DS_OK);
    std::vector<int16_t> fresh(100, -3000);
    std::memcpy(p1, fresh.data(), n1);
    a->Unlock(p1, n1, nullptr, 0);
    out = render(4);
    EXPECT_EQ(out[0], -3000);
    release(a);  // the duplicate outlives the original
    out = render(4);
    EXPECT_EQ(out[0], -3000);
}

TEST_F(OfflineMixTest, PrimaryBufferCarriesMasterVolumeAndFormat) {
    DSBUFFERDESC desc{};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRLVOLUME;
    IDirectSoundBuffer* primary = nullptr;
    ASSERT_EQ(sound->CreateSoundBuffer(&desc, &primary, nullptr), DS_OK);
    WAVEFORMATEX format = pcmFormat(2, 22050, 16);
    EXPECT_EQ(primary->SetFormat(&format), DS_OK);
    void* p;
    DWORD n;
    EXPECT_EQ(primary->Lock(0, 4, &p, &n, nullptr, nullptr, 0), DSERR_PRIOLEVELNEEDED);
    IDirectSoundBuffer* dup = nullptr;
    EXPECT_EQ(sound->DuplicateSoundBuffer(primary, &dup), DSERR_INVALIDCALL);
    void* face = reinterpret_cast<void*>(1);
    EXPECT_EQ(primary->QueryInterface(IID_IDirectSoundBuffer8, &face), E_NOINTERFACE);  // secondary only
    EXPECT_EQ(face, nullptr);
    ASSERT_EQ(primary->QueryInterface(IID_IDirectSoundBuffer, &face), S_OK);
    EXPECT_EQ(face, static_cast<void*>(primary));
    EXPECT_EQ(primary->Release(), 1u);

    IDirectSoundBuffer* a = makeBuffer(pcmFormat(1, 44100, 16), constant16(100, {10000}), 0);
    a->Play(0, 0, DSBPLAY_LOOPING);
    EXPECT_EQ(primary->SetVolume(-2000), DS_OK);  // -20 dB: a tenth
    auto out = render(2);
    EXPECT_EQ(out[0], 1000);
    primary->Release();  // the master volume goes back to full
    out = render(2);
    EXPECT_EQ(out[0], 10000);

    sound->SetCooperativeLevel(nullptr, DSSCL_NORMAL);
    ASSERT_EQ(sound->CreateSoundBuffer(&desc, &primary, nullptr), DS_OK);
    EXPECT_EQ(primary->SetFormat(&format), DSERR_PRIOLEVELNEEDED);
    primary->Release();
}

TEST_F(OfflineMixTest, BufferDescriptionsAreChecked) {
    WAVEFORMATEX format = pcmFormat(1, 22050, 16);
    DSBUFFERDESC desc{};
    desc.dwSize = sizeof(desc);
    desc.dwBufferBytes = 2;  // below DSBSIZE_MIN
    desc.lpwfxFormat = &format;
    IDirectSoundBuffer* buffer = nullptr;
    wavetest::LogCapture log;
    EXPECT_EQ(sound->CreateSoundBuffer(&desc, &buffer, nullptr), DSERR_INVALIDPARAM);
    desc.dwBufferBytes = 100;
    desc.dwSize = 8;
    EXPECT_EQ(sound->CreateSoundBuffer(&desc, &buffer, nullptr), DSERR_INVALIDPARAM);
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DSBCAPS_CTRL3D;
    format = pcmFormat(2, 22050, 16);
    EXPECT_EQ(sound->CreateSoundBuffer(&desc, &buffer, nullptr), DSERR_INVALIDPARAM);  // 3D needs mono
    EXPECT_EQ(buffer, nullptr);
    desc.dwFlags = 0;
    desc.dwBufferBytes = 101;  // rounded down to whole frames
    ASSERT_EQ(sound->CreateSoundBuffer(&desc, &buffer, nullptr), DS_OK);
    DSBCAPS caps{};
    caps.dwSize = sizeof(caps);
    buffer->GetCaps(&caps);
    EXPECT_EQ(caps.dwBufferBytes, 100u);
    buffer->Release();
}

// What the engine does with a WAV file: read it with mmio, make a buffer of its format, fill it.
HRESULT loadWave(IDirectSound8* sound, std::string const& bytes, IDirectSoundBuffer** out) {
    WAVEFORMATEX format{};
    std::vector<char> samples;
    *out = nullptr;
    if (!wavetest::readWaveMemory(bytes, format, samples)) return E_FAIL;
    DSBUFFERDESC desc{};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DSBCAPS_CTRLVOLUME | DSBCAPS_STATIC;
    desc.dwBufferBytes = static_cast<DWORD>(samples.size());
    desc.lpwfxFormat = &format;
    HRESULT hr = sound->CreateSoundBuffer(&desc, out, nullptr);
    if (FAILED(hr)) return hr;
    void* p;
    DWORD n;
    hr = (*out)->Lock(0, desc.dwBufferBytes, &p, &n, nullptr, nullptr, 0);
    if (FAILED(hr)) return hr;
    std::memcpy(p, samples.data(), n);
    return (*out)->Unlock(p, n, nullptr, 0);
}

TEST_F(OfflineMixTest, MalformedWaveFilesAreRefusedWithOneLogLine) {
    std::string samples(200, '\x10');
    std::string good = wavetest::waveBytes(pcmFormat(1, 22050, 16), samples);
    std::string pastEnd = good;
    pastEnd.replace(40, 4, wavetest::le32(1u << 20));
    auto with = [&](WAVEFORMATEX format, auto change) {
        change(format);
        return wavetest::waveBytes(format, samples);
    };
    WAVEFORMATEX const mono = pcmFormat(1, 22050, 16);
    struct Case {
        char const* what;
        std::string bytes;
    } const cases[] = {
        {"truncated chunk", good.substr(0, good.size() - 50)},
        {"chunk size past the end", pastEnd},
        {"zero channels", with(mono, [](WAVEFORMATEX& f) { f.nChannels = 0; })},
        {"12-bit samples", with(mono, [](WAVEFORMATEX& f) { f.wBitsPerSample = 12; })},
        {"compressed format", with(mono, [](WAVEFORMATEX& f) { f.wFormatTag = 2; })},
        {"block align not matching", with(pcmFormat(2, 22050, 16), [](WAVEFORMATEX& f) { f.nBlockAlign = 3; })},
        {"six channels", with(pcmFormat(6, 48000, 16), [](WAVEFORMATEX&) {})},
    };
    for (auto const& c : cases) {
        wavetest::LogCapture log;
        IDirectSoundBuffer* buffer = nullptr;
        EXPECT_TRUE(FAILED(loadWave(sound, c.bytes, &buffer))) << c.what;
        EXPECT_EQ(buffer, nullptr) << c.what;
        EXPECT_EQ(log.errorCount(), 1u) << c.what;
    }
    wavetest::LogCapture log;
    IDirectSoundBuffer* buffer = nullptr;
    ASSERT_EQ(loadWave(sound, good, &buffer), DS_OK);
    EXPECT_EQ(log.errorCount(), 0u);
    buffer->Release();
}

TEST(DirectSoundDevice, PlaysOnTheSdlOutputInRealTime) {
    IDirectSound8* sound = nullptr;
    ASSERT_EQ(DirectSoundCreate8(nullptr, &sound, nullptr), DS_OK);
    DWORD rate = port::dsound::outputRate(sound);
    EXPECT_GE(rate, 8000u);
    EXPECT_EQ(sound->SetCooperativeLevel(nullptr, DSSCL_PRIORITY), DS_OK);
    WAVEFORMATEX format = pcmFormat(2, 44100, 16);
    DSBUFFERDESC desc{};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DSBCAPS_GETCURRENTPOSITION2;
    desc.dwBufferBytes = 44100 * 4;  // one second
    desc.lpwfxFormat = &format;
    IDirectSoundBuffer* buffer = nullptr;
    ASSERT_EQ(sound->CreateSoundBuffer(&desc, &buffer, nullptr), DS_OK);
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    DWORD play = 0, write = 0;
    for (int i = 0; i < 200 && play == 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        buffer->GetCurrentPosition(&play, &write);
    }
    EXPECT_GT(play, 0u);
    EXPECT_EQ(play % 4, 0u);
    EXPECT_NE(write, play);  // the write cursor runs ahead while playing
    buffer->Stop();
    buffer->Release();
    sound->Release();

    GUID other = IID_IDirectSound8;
    EXPECT_EQ(DirectSoundCreate8(&other, &sound, nullptr), DSERR_NODRIVER);
}

}  // namespace
