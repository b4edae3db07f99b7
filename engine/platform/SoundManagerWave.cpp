// WAV samples for the sound manager: the RIFF "WAVE" form read from memory through the
// multimedia file functions. Only PCM with 1 or 2 channels of 8 or 16 bits is taken, which is
// what the sound buffers play; anything else is refused with one log line.
#include <cstring>

#include "engine/core/Logger.h"
#include "engine/platform/SoundManager.h"
#include "port/mmio/mmsystem.h"

namespace Orvex {

namespace {

struct MmioCloser {
    HMMIO file;
    ~MmioCloser() {
        if (file) mmioClose(file, 0);
    }
};

bool refuse(std::wstring const& fileName, std::wstring const& why) {
    logError(L"SoundManager: sample \"" + fileName + L"\" refused: " + why);
    return false;
}

}  // namespace

bool decodeWave(std::vector<u8> const& bytes, std::wstring const& fileName, WAVEFORMATEX& format,
                std::vector<u8>& pcm) {
    if (bytes.size() < 12 || bytes.size() > 0x7FFFFFFF || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        std::memcmp(bytes.data() + 8, "WAVE", 4) != 0)
        return refuse(fileName, L"not a WAV file");
    // A file cut short is the usual damage; say so here rather than deep in the chunk reader.
    u32 declared = static_cast<u32>(bytes[4]) | static_cast<u32>(bytes[5]) << 8 | static_cast<u32>(bytes[6]) << 16 |
                   static_cast<u32>(bytes[7]) << 24;
    if (declared > bytes.size() - 8) return refuse(fileName, L"the file is cut short");
    // mmio reads a memory file in place; it wants a writable block.
    std::vector<char> block(bytes.begin(), bytes.end());
    MMIOINFO info{};
    info.fccIOProc = FOURCC_MEM;
    info.pchBuffer = block.data();
    info.cchBuffer = static_cast<LONG>(block.size());
    MmioCloser file{mmioOpenW(nullptr, &info, MMIO_READ)};
    if (!file.file) return refuse(fileName, L"cannot be opened");

    MMCKINFO riff{};
    riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
    if (mmioDescend(file.file, &riff, nullptr, MMIO_FINDRIFF) != MMSYSERR_NOERROR)
        return refuse(fileName, L"no RIFF WAVE form");

    MMCKINFO fmt{};
    fmt.ckid = mmioFOURCC('f', 'm', 't', ' ');
    if (mmioDescend(file.file, &fmt, &riff, MMIO_FINDCHUNK) != MMSYSERR_NOERROR || fmt.cksize < sizeof(PCMWAVEFORMAT))
        return refuse(fileName, L"no format chunk");
    PCMWAVEFORMAT pcmFormat{};
    if (mmioRead(file.file, reinterpret_cast<HPSTR>(&pcmFormat), sizeof(pcmFormat)) != sizeof(pcmFormat))
        return refuse(fileName, L"format chunk cut short");
    mmioAscend(file.file, &fmt, 0);

    WAVEFORMAT const& wf = pcmFormat.wf;
    WORD bits = pcmFormat.wBitsPerSample;
    if (wf.wFormatTag != WAVE_FORMAT_PCM || (wf.nChannels != 1 && wf.nChannels != 2) || (bits != 8 && bits != 16) ||
        wf.nSamplesPerSec < 100 || wf.nSamplesPerSec > 200000 || wf.nBlockAlign != wf.nChannels * bits / 8)
        return refuse(fileName, L"not 8- or 16-bit PCM with one or two channels");

    mmioSeek(file.file, static_cast<LONG>(riff.dwDataOffset + 4), SEEK_SET);
    MMCKINFO data{};
    data.ckid = mmioFOURCC('d', 'a', 't', 'a');
    if (mmioDescend(file.file, &data, &riff, MMIO_FINDCHUNK) != MMSYSERR_NOERROR) return refuse(fileName, L"no data chunk");
    DWORD frames = data.cksize / wf.nBlockAlign;
    if (frames == 0) return refuse(fileName, L"no samples");
    pcm.assign(static_cast<std::size_t>(frames) * wf.nBlockAlign, 0);
    LONG want = static_cast<LONG>(pcm.size());
    if (mmioRead(file.file, reinterpret_cast<HPSTR>(pcm.data()), want) != want) {
        pcm.clear();
        return refuse(fileName, L"data chunk cut short");
    }

    format = WAVEFORMATEX{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = wf.nChannels;
    format.nSamplesPerSec = wf.nSamplesPerSec;
    format.wBitsPerSample = bits;
    format.nBlockAlign = wf.nBlockAlign;
    format.nAvgBytesPerSec = wf.nSamplesPerSec * wf.nBlockAlign;
    format.cbSize = 0;
    return true;
}

}  // namespace Orvex
