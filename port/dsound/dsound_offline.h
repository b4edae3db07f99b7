// A DirectSound object without an audio device, whose mix is pulled by the caller: for tests and
// benchmarks, which read exactly what the device would have played.
#pragma once

#include <cstddef>
#include <cstdint>

#include "port/dsound/dsound.h"

namespace port::dsound {

// A DirectSound object mixing at outputRate (stereo, 16 bit) that opens no device.
HRESULT createOfflineDirectSound(DWORD outputRate, IDirectSound8** sound);

// Mixes the next frames of output (interleaved left/right) from every playing buffer of the
// object and advances them, as the device callback does. False when sound is not ours.
bool renderMix(IDirectSound8* sound, int16_t* out, std::size_t frames);

// The object's output rate (the device's rate for objects made by DirectSoundCreate8).
DWORD outputRate(IDirectSound8* sound);

}  // namespace port::dsound
