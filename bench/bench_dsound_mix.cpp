// Cost of the software sound mixer: 32 looping voices (mono and stereo, 8 and 16 bit, at 22050,
// 44100 and 48000 Hz, with volume and pan) mixed to 44.1 kHz stereo. One iteration mixes one
// second of audio in 512-frame device blocks, so the time per iteration is the mixing cost per
// second of sound; "core_percent" is that as a share of one core.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <vector>

#include "port/dsound/dsound.h"
#include "port/dsound/dsound_offline.h"

namespace {

IDirectSoundBuffer* makeVoice(IDirectSound8* sound, int index) {
    static DWORD const rates[] = {22050, 44100, 48000};
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = static_cast<WORD>(1 + index % 2);
    format.wBitsPerSample = static_cast<WORD>(index % 4 == 3 ? 8 : 16);
    format.nSamplesPerSec = rates[index % 3];
    format.nBlockAlign = static_cast<WORD>(format.nChannels * format.wBitsPerSample / 8);
    format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
    DSBUFFERDESC desc{};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLPAN | DSBCAPS_CTRLFREQUENCY;
    desc.dwBufferBytes = format.nAvgBytesPerSec;  // one second
    desc.lpwfxFormat = &format;
    IDirectSoundBuffer* buffer = nullptr;
    if (FAILED(sound->CreateSoundBuffer(&desc, &buffer, nullptr))) return nullptr;
    void* p = nullptr;
    DWORD n = 0;
    buffer->Lock(0, 0, &p, &n, nullptr, nullptr, DSBLOCK_ENTIREBUFFER);
    auto* bytes = static_cast<unsigned char*>(p);
    for (DWORD i = 0; i < n; ++i) bytes[i] = static_cast<unsigned char>(128 + 60 * std::sin(i * 0.01 * (index + 1)));
    buffer->Unlock(p, n, nullptr, 0);
    buffer->SetVolume(-100 * (index % 10));
    buffer->SetPan(500 * (index % 5) - 1000);
    buffer->Play(0, 0, DSBPLAY_LOOPING);
    return buffer;
}

void BM_Mix32Voices(benchmark::State& state) {
    IDirectSound8* sound = nullptr;
    port::dsound::createOfflineDirectSound(44100, &sound);
    std::vector<IDirectSoundBuffer*> voices;
    for (int i = 0; i < 32; ++i) voices.push_back(makeVoice(sound, i));
    std::vector<int16_t> block(512 * 2);
    double seconds = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        for (int frames = 0; frames < 44100; frames += 512) port::dsound::renderMix(sound, block.data(), 512);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        benchmark::DoNotOptimize(block.data());
    }
    state.counters["core_percent"] = 100.0 * seconds / static_cast<double>(state.iterations());
    for (auto* v : voices)
        if (v) v->Release();
    sound->Release();
}
BENCHMARK(BM_Mix32Voices)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
