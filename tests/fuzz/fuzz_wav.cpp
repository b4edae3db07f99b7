// Fuzzes WAV samples: the sound manager's reader (RIFF through the multimedia file functions)
// and a walk over every chunk of the input through the same functions. A sample taken must
// hold whole blocks of the format it reports.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "engine/platform/SoundManager.h"
#include "port/mmio/mmsystem.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

// Descends into every chunk (lists and RIFF forms too, a few levels deep) and reads each whole.
void walk(HMMIO file, MMCKINFO* parent, int depth) {
    MMCKINFO chunk{};
    std::vector<char> bytes;
    for (int n = 0; n < 64 && mmioDescend(file, &chunk, parent, 0) == MMSYSERR_NOERROR; ++n) {
        if ((chunk.ckid == FOURCC_RIFF || chunk.ckid == FOURCC_LIST) && depth < 4) {
            walk(file, &chunk, depth + 1);
        } else {
            bytes.resize(chunk.cksize < 65536 ? chunk.cksize : 65536);
            mmioRead(file, bytes.data(), static_cast<LONG>(bytes.size()));
        }
        if (mmioAscend(file, &chunk, 0) != MMSYSERR_NOERROR) break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, std::size_t size) {
    fuzz::quietLog();
    std::vector<Orvex::u8> const bytes(data, data + size);
    WAVEFORMATEX format{};
    std::vector<Orvex::u8> pcm;
    if (Orvex::decodeWave(bytes, L"fuzz.wav", format, pcm)) {
        if (format.nBlockAlign == 0 || pcm.empty() || pcm.size() % format.nBlockAlign != 0 || pcm.size() > size)
            std::abort();
    }

    if (size == 0 || size > 0x7FFFFFFF) return 0;
    std::vector<char> block(data, data + size);
    MMIOINFO info{};
    info.fccIOProc = FOURCC_MEM;
    info.pchBuffer = block.data();
    info.cchBuffer = static_cast<LONG>(block.size());
    HMMIO file = mmioOpenW(nullptr, &info, MMIO_READ);
    if (!file) return 0;
    walk(file, nullptr, 0);
    mmioClose(file, 0);
    return 0;
}
