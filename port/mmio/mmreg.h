// Wave format records as they are stored in a WAV file's "fmt " chunk and handed to sound
// buffers. Byte-packed like the file layout: WAVEFORMAT is 14 bytes, PCMWAVEFORMAT 16,
// WAVEFORMATEX 18.
#pragma once

#include "port/win32/windows_types.h"

#define WAVE_FORMAT_PCM 1
#define WAVE_FORMAT_IEEE_FLOAT 3
#define WAVE_FORMAT_EXTENSIBLE 0xFFFE

#pragma pack(push, 1)
struct WAVEFORMAT {
    WORD wFormatTag;
    WORD nChannels;
    DWORD nSamplesPerSec;
    DWORD nAvgBytesPerSec;
    WORD nBlockAlign;
};
struct PCMWAVEFORMAT {
    WAVEFORMAT wf;
    WORD wBitsPerSample;
};
struct WAVEFORMATEX {
    WORD wFormatTag;
    WORD nChannels;
    DWORD nSamplesPerSec;
    DWORD nAvgBytesPerSec;
    WORD nBlockAlign;
    WORD wBitsPerSample;
    WORD cbSize;
};
#pragma pack(pop)

typedef WAVEFORMAT* LPWAVEFORMAT;
typedef PCMWAVEFORMAT* LPPCMWAVEFORMAT;
typedef WAVEFORMATEX* LPWAVEFORMATEX;
typedef const WAVEFORMATEX* LPCWAVEFORMATEX;

static_assert(sizeof(WAVEFORMAT) == 14 && sizeof(PCMWAVEFORMAT) == 16 && sizeof(WAVEFORMATEX) == 18);
