// Test helpers: WAV files written and read through the mmio functions the way the engine's sound
// loader does, and WAV bytes built by hand.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "port/mmio/mmsystem.h"
#include "tests/support/PortLogCapture.h"

namespace wavetest {

inline WAVEFORMATEX pcmFormat(WORD channels, DWORD rate, WORD bits) {
    WAVEFORMATEX f{};
    f.wFormatTag = WAVE_FORMAT_PCM;
    f.nChannels = channels;
    f.nSamplesPerSec = rate;
    f.wBitsPerSample = bits;
    f.nBlockAlign = static_cast<WORD>(channels * bits / 8);
    f.nAvgBytesPerSec = rate * f.nBlockAlign;
    return f;
}

// Writes a RIFF/WAVE file with a 16-byte "fmt " chunk and a "data" chunk; sizes are left for
// mmioAscend to fix up.
inline bool writeWave(std::wstring const& path, WAVEFORMATEX const& format, std::vector<char> const& samples) {
    HMMIO file = mmioOpenW(path.c_str(), nullptr, MMIO_CREATE | MMIO_WRITE | MMIO_ALLOCBUF);
    if (!file) return false;
    MMCKINFO riff{};
    riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
    bool ok = mmioCreateChunk(file, &riff, MMIO_CREATERIFF) == 0;
    MMCKINFO fmt{};
    fmt.ckid = mmioFOURCC('f', 'm', 't', ' ');
    ok = ok && mmioCreateChunk(file, &fmt, 0) == 0;
    ok = ok && mmioWrite(file, reinterpret_cast<char const*>(&format), sizeof(PCMWAVEFORMAT)) == sizeof(PCMWAVEFORMAT);
    ok = ok && mmioAscend(file, &fmt, 0) == 0;
    MMCKINFO data{};
    data.ckid = mmioFOURCC('d', 'a', 't', 'a');
    ok = ok && mmioCreateChunk(file, &data, 0) == 0;
    ok = ok && mmioWrite(file, samples.data(), static_cast<LONG>(samples.size())) == static_cast<LONG>(samples.size());
    ok = ok && mmioAscend(file, &data, 0) == 0;
    ok = ok && mmioAscend(file, &riff, 0) == 0;
    return mmioClose(file, 0) == 0 && ok;
}

// Reads a WAV file: RIFF/WAVE, "fmt " (at least 16 bytes), "data". False at the first failure.
inline bool readWave(HMMIO file, WAVEFORMATEX& format, std::vector<char>& samples) {
    if (!file) return false;
    MMCKINFO riff{};
    if (mmioDescend(file, &riff, nullptr, 0) != 0) return false;
    if (riff.ckid != FOURCC_RIFF || riff.fccType != mmioFOURCC('W', 'A', 'V', 'E')) return false;
    MMCKINFO chunk{};
    chunk.ckid = mmioFOURCC('f', 'm', 't', ' ');
    if (mmioDescend(file, &chunk, &riff, MMIO_FINDCHUNK) != 0 || chunk.cksize < sizeof(PCMWAVEFORMAT)) return false;
    format = WAVEFORMATEX{};
    if (mmioRead(file, reinterpret_cast<HPSTR>(&format), sizeof(PCMWAVEFORMAT)) != sizeof(PCMWAVEFORMAT)) return false;
    if (mmioAscend(file, &chunk, 0) != 0) return false;
    if (mmioSeek(file, static_cast<LONG>(riff.dwDataOffset + sizeof(FOURCC)), SEEK_SET) < 0) return false;
    chunk.ckid = mmioFOURCC('d', 'a', 't', 'a');
    if (mmioDescend(file, &chunk, &riff, MMIO_FINDCHUNK) != 0) return false;
    samples.resize(chunk.cksize);
    return mmioRead(file, samples.data(), static_cast<LONG>(chunk.cksize)) == static_cast<LONG>(chunk.cksize);
}

inline bool readWaveFile(std::wstring const& path, WAVEFORMATEX& format, std::vector<char>& samples) {
    HMMIO file = mmioOpenW(path.c_str(), nullptr, MMIO_READ | MMIO_ALLOCBUF);
    bool ok = readWave(file, format, samples);
    if (file) mmioClose(file, 0);
    return ok;
}

inline bool readWaveMemory(std::string bytes, WAVEFORMATEX& format, std::vector<char>& samples) {
    MMIOINFO info{};
    info.fccIOProc = FOURCC_MEM;
    info.pchBuffer = bytes.data();
    info.cchBuffer = static_cast<LONG>(bytes.size());
    HMMIO file = mmioOpenW(nullptr, &info, MMIO_READ | MMIO_ALLOCBUF);
    bool ok = readWave(file, format, samples);
    if (file) mmioClose(file, 0);
    return ok;
}

using LogCapture = testsupport::PortLogCapture;

inline std::string le32(uint32_t v) {
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i) s[i] = static_cast<char>(v >> (8 * i));
    return s;
}

// A WAV file built byte by byte, for malformed inputs.
inline std::string waveBytes(WAVEFORMATEX const& format, std::string const& samples) {
    std::string fmt(reinterpret_cast<char const*>(&format), sizeof(PCMWAVEFORMAT));
    std::string body = "WAVE" + std::string("fmt ") + le32(16) + fmt + "data" + le32(static_cast<uint32_t>(samples.size())) + samples;
    if (samples.size() & 1) body += '\0';
    return "RIFF" + le32(static_cast<uint32_t>(body.size())) + body;
}

// A WAV of a 16-bit mono sine tone at level (0..1); step is the phase advance per frame.
inline std::string toneWave(int frames, DWORD rate, double level, double step = 0.05) {
    std::string samples;
    for (int i = 0; i < frames; ++i) {
        auto s = static_cast<int16_t>(level * 32767.0 * std::sin(i * step));
        samples.append(reinterpret_cast<char const*>(&s), 2);
    }
    return waveBytes(pcmFormat(1, rate, 16), samples);
}

}  // namespace wavetest
