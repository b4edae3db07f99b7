// The sound buffer objects (secondary buffers with a voice in the mixer, and the primary buffer,
// which carries the master volume) and the format check shared with the DirectSound object.
#pragma once

#include <memory>
#include <vector>

#include "port/dsound/Mixer.h"
#include "port/dsound/dsound.h"
#include "port/win32/ComObject.h"

namespace port::dsound {

// True for 1 or 2 channels of 8- or 16-bit PCM at 100 Hz to 200 kHz with a matching block
// alignment; otherwise logs one line naming the caller and the format, and returns false.
bool checkFormat(WAVEFORMATEX const* format, wchar_t const* caller);

class SoundBuffer final : public port::ComObject<IDirectSoundBuffer8, IID_IDirectSoundBuffer, IID_IDirectSoundBuffer8> {
public:
    // A secondary buffer on data (new or shared with a duplicate), or the primary buffer.
    SoundBuffer(std::shared_ptr<Mixer> mixer, DWORD flags, std::shared_ptr<SampleData> data);
    static SoundBuffer* makePrimary(std::shared_ptr<Mixer> mixer, DWORD flags);
    SoundBuffer* duplicate() const;
    bool isPrimary() const { return primary_; }
    DWORD flags() const { return flags_; }

    // The primary buffer has no IDirectSoundBuffer8 interface.
    HRESULT QueryInterface(REFIID riid, void** object) override;

    HRESULT GetCaps(LPDSBCAPS caps) override;
    HRESULT GetCurrentPosition(LPDWORD playCursor, LPDWORD writeCursor) override;
    HRESULT GetFormat(LPWAVEFORMATEX format, DWORD sizeAllocated, LPDWORD sizeWritten) override;
    HRESULT GetVolume(LPLONG volume) override;
    HRESULT GetPan(LPLONG pan) override;
    HRESULT GetFrequency(LPDWORD frequency) override;
    HRESULT GetStatus(LPDWORD status) override;
    HRESULT Initialize(IDirectSound* sound, LPCDSBUFFERDESC desc) override;
    HRESULT Lock(DWORD offset, DWORD bytes, LPVOID* part1, LPDWORD bytes1, LPVOID* part2, LPDWORD bytes2,
                 DWORD flags) override;
    HRESULT Play(DWORD reserved, DWORD priority, DWORD flags) override;
    HRESULT SetCurrentPosition(DWORD newPosition) override;
    HRESULT SetFormat(LPCWAVEFORMATEX format) override;
    HRESULT SetVolume(LONG volume) override;
    HRESULT SetPan(LONG pan) override;
    HRESULT SetFrequency(DWORD frequency) override;
    HRESULT Stop() override;
    HRESULT Unlock(LPVOID part1, DWORD bytes1, LPVOID part2, DWORD bytes2) override;
    HRESULT Restore() override;
    HRESULT AcquireResources(DWORD flags, DWORD effectCount, LPDWORD resultCodes) override;

private:
    ~SoundBuffer() override;
    void applyGains();  // volume and pan into the voice; caller holds the mixer mutex
    DWORD size() const { return static_cast<DWORD>(data_->bytes.size()); }

    std::shared_ptr<Mixer> mixer_;
    DWORD flags_;
    bool primary_ = false;
    std::shared_ptr<SampleData> data_;  // the format lives here for the primary buffer too
    std::shared_ptr<Voice> voice_;
    LONG volume_ = 0;
    LONG pan_ = 0;
    std::vector<uint8_t> shadow_;  // what Lock hands out; copied into data_ at Unlock
    int openLocks_ = 0;
};

}  // namespace port::dsound
