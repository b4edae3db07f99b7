// The DirectSound object: buffer creation and duplication, cooperative level, and its place on
// the shared audio output, whose device mixes it in after the music. Objects made for tests have
// no device.
#include <memory>

#include "port/audio/audio_output.h"
#include "port/dsound/SoundBuffer.h"
#include "port/dsound/dsound_offline.h"
#include "port/win32/ComObject.h"
#include "port/win32/win32_log.h"

namespace port::dsound {
namespace {

constexpr DWORD kDefaultRate = port::audio::kPreferredRate;

class DirectSound final : public port::ComObject<IDirectSound8, IID_IDirectSound, IID_IDirectSound8> {
public:
    explicit DirectSound(DWORD rate) : mixer_(std::make_shared<Mixer>(rate)) {}

    // Joins the shared output; false (with a log line) when there is none.
    bool openDevice();
    Mixer& mixer() { return *mixer_; }

    HRESULT CreateSoundBuffer(LPCDSBUFFERDESC desc, LPDIRECTSOUNDBUFFER* buffer, LPUNKNOWN outer) override;
    HRESULT GetCaps(LPDSCAPS caps) override;
    HRESULT DuplicateSoundBuffer(LPDIRECTSOUNDBUFFER original, LPDIRECTSOUNDBUFFER* duplicate) override;
    HRESULT SetCooperativeLevel(HWND, DWORD level) override {
        if (level < DSSCL_NORMAL || level > DSSCL_WRITEPRIMARY) return DSERR_INVALIDPARAM;
        mixer_->cooperativeLevel = level;
        return DS_OK;
    }
    HRESULT Compact() override { return DS_OK; }  // software buffers: nothing to compact
    HRESULT GetSpeakerConfig(LPDWORD config) override {
        if (!config) return DSERR_INVALIDPARAM;
        *config = speakers_;
        return DS_OK;
    }
    HRESULT SetSpeakerConfig(DWORD config) override {
        speakers_ = config;  // the output stays stereo; the setting is only remembered
        return DS_OK;
    }
    HRESULT Initialize(LPCGUID) override { return DSERR_ALREADYINITIALIZED; }
    HRESULT VerifyCertification(LPDWORD certified) override {
        if (!certified) return DSERR_INVALIDPARAM;
        *certified = 1;  // DS_UNCERTIFIED: there is no certified driver behind this
        return DS_OK;
    }

private:
    ~DirectSound() override {
        if (onOutput_) {
            port::audio::removeSource(this);
            port::audio::releaseOutput();
        }
    }
    static void mixInto(void* self, int16_t* stream, std::size_t frames) {
        static_cast<DirectSound*>(self)->mixer_->mixInto(stream, frames);
    }

    std::shared_ptr<Mixer> mixer_;
    bool onOutput_ = false;
    DWORD speakers_ = DSSPEAKER_STEREO;
};

bool DirectSound::openDevice() {
    if (!port::audio::acquireOutput(L"DirectSoundCreate8")) return false;
    // Mixed in only once the mixer knows the device's rate.
    mixer_ = std::make_shared<Mixer>(port::audio::outputRate());
    onOutput_ = true;
    port::audio::addSource(this, &DirectSound::mixInto);
    return true;
}

HRESULT DirectSound::CreateSoundBuffer(LPCDSBUFFERDESC desc, LPDIRECTSOUNDBUFFER* buffer, LPUNKNOWN outer) {
    if (outer) return DSERR_NOAGGREGATION;
    if (!desc || !buffer || desc->dwSize < sizeof(DSBUFFERDESC)) return DSERR_INVALIDPARAM;
    *buffer = nullptr;
    if (desc->dwFlags & DSBCAPS_PRIMARYBUFFER) {
        if (desc->dwBufferBytes != 0 || desc->lpwfxFormat ||
            (desc->dwFlags & (DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLFX | DSBCAPS_CTRLPOSITIONNOTIFY)))
            return DSERR_INVALIDPARAM;
        *buffer = SoundBuffer::makePrimary(mixer_, desc->dwFlags);
        return DS_OK;
    }
    if (!checkFormat(desc->lpwfxFormat, L"CreateSoundBuffer")) return DSERR_BADFORMAT;
    WAVEFORMATEX const& format = *desc->lpwfxFormat;
    if ((desc->dwFlags & DSBCAPS_CTRL3D) && format.nChannels != 1) return DSERR_INVALIDPARAM;
    DWORD bytes = desc->dwBufferBytes - desc->dwBufferBytes % format.nBlockAlign;
    if (desc->dwBufferBytes < DSBSIZE_MIN || desc->dwBufferBytes > DSBSIZE_MAX || bytes == 0) {
        port::logLine(port::LogLevel::Error,
                      L"CreateSoundBuffer: refused buffer size " + std::to_wstring(desc->dwBufferBytes) + L" bytes");
        return DSERR_INVALIDPARAM;
    }
    auto data = std::make_shared<SampleData>();
    data->format = format;
    data->format.cbSize = 0;
    data->format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
    // A new buffer holds silence.
    data->bytes.assign(bytes, format.wBitsPerSample == 8 ? 0x80 : 0);
    *buffer = new SoundBuffer(mixer_, desc->dwFlags & ~DWORD(DSBCAPS_LOCHARDWARE), std::move(data));
    return DS_OK;
}

HRESULT DirectSound::GetCaps(LPDSCAPS caps) {
    if (!caps || caps->dwSize < sizeof(DSCAPS)) return DSERR_INVALIDPARAM;
    DWORD size = caps->dwSize;
    *caps = DSCAPS{};
    caps->dwSize = size;
    caps->dwFlags = DSCAPS_PRIMARYMONO | DSCAPS_PRIMARYSTEREO | DSCAPS_PRIMARY8BIT | DSCAPS_PRIMARY16BIT |
                    DSCAPS_CONTINUOUSRATE | DSCAPS_EMULDRIVER | DSCAPS_SECONDARYMONO | DSCAPS_SECONDARYSTEREO |
                    DSCAPS_SECONDARY8BIT | DSCAPS_SECONDARY16BIT;
    caps->dwMinSecondarySampleRate = DSBFREQUENCY_MIN;
    caps->dwMaxSecondarySampleRate = DSBFREQUENCY_MAX;
    caps->dwPrimaryBuffers = 1;
    return DS_OK;
}

HRESULT DirectSound::DuplicateSoundBuffer(LPDIRECTSOUNDBUFFER original, LPDIRECTSOUNDBUFFER* duplicate) {
    if (!original || !duplicate) return DSERR_INVALIDPARAM;
    *duplicate = nullptr;
    auto* source = dynamic_cast<SoundBuffer*>(original);
    if (!source || source->isPrimary() || (source->flags() & DSBCAPS_CTRLFX)) return DSERR_INVALIDCALL;
    *duplicate = source->duplicate();
    return DS_OK;
}

}  // namespace

HRESULT createOfflineDirectSound(DWORD outputRate, IDirectSound8** sound) {
    if (!sound || outputRate < DSBFREQUENCY_MIN || outputRate > DSBFREQUENCY_MAX) return DSERR_INVALIDPARAM;
    *sound = new DirectSound(outputRate);
    return DS_OK;
}

bool renderMix(IDirectSound8* sound, int16_t* out, std::size_t frames) {
    auto* ours = dynamic_cast<DirectSound*>(sound);
    if (!ours) return false;
    ours->mixer().render(out, frames);
    return true;
}

DWORD outputRate(IDirectSound8* sound) {
    auto* ours = dynamic_cast<DirectSound*>(sound);
    return ours ? ours->mixer().outputRate() : 0;
}

}  // namespace port::dsound

HRESULT DirectSoundCreate8(LPCGUID device, LPDIRECTSOUND8* sound, LPUNKNOWN outer) {
    if (!sound) return DSERR_INVALIDPARAM;
    *sound = nullptr;
    if (outer) return DSERR_NOAGGREGATION;
    if (device && !(*device == GUID_NULL) && !(*device == DSDEVID_DefaultPlayback)) return DSERR_NODRIVER;
    auto* created = new port::dsound::DirectSound(port::dsound::kDefaultRate);
    if (!created->openDevice()) {
        created->Release();
        return DSERR_NODRIVER;
    }
    *sound = created;
    return DS_OK;
}
