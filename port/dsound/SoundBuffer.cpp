// Sound buffers: locking with wrap-around, play, stop, cursors, volume, pan and frequency.
#include "port/dsound/SoundBuffer.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "port/win32/win32_log.h"

namespace port::dsound {

bool checkFormat(WAVEFORMATEX const* f, wchar_t const* caller) {
    if (!f) {
        port::logLine(port::LogLevel::Error, std::wstring(caller) + L": no wave format given");
        return false;
    }
    bool ok = f->wFormatTag == WAVE_FORMAT_PCM && (f->nChannels == 1 || f->nChannels == 2) &&
              (f->wBitsPerSample == 8 || f->wBitsPerSample == 16) && f->nSamplesPerSec >= DSBFREQUENCY_MIN &&
              f->nSamplesPerSec <= DSBFREQUENCY_MAX && f->nBlockAlign == f->nChannels * f->wBitsPerSample / 8;
    if (!ok)
        port::logLine(port::LogLevel::Error,
                      std::wstring(caller) + L": refused wave format (tag " + std::to_wstring(f->wFormatTag) + L", " +
                          std::to_wstring(f->nChannels) + L" channels, " + std::to_wstring(f->wBitsPerSample) +
                          L" bits, " + std::to_wstring(f->nSamplesPerSec) + L" Hz, block align " +
                          std::to_wstring(f->nBlockAlign) + L"); only 1 or 2 channels of 8- or 16-bit PCM play");
    return ok;
}

SoundBuffer::SoundBuffer(std::shared_ptr<Mixer> mixer, DWORD flags, std::shared_ptr<SampleData> data)
    : mixer_(std::move(mixer)), flags_(flags), data_(std::move(data)) {
    voice_ = std::make_shared<Voice>();
    voice_->data = data_;
    voice_->frequency = data_->format.nSamplesPerSec;
    mixer_->add(voice_);
}

SoundBuffer* SoundBuffer::makePrimary(std::shared_ptr<Mixer> mixer, DWORD flags) {
    auto data = std::make_shared<SampleData>();
    data->format.wFormatTag = WAVE_FORMAT_PCM;
    data->format.nChannels = 2;
    data->format.wBitsPerSample = 16;
    data->format.nBlockAlign = 4;
    data->format.nSamplesPerSec = mixer->outputRate();
    data->format.nAvgBytesPerSec = mixer->outputRate() * 4;
    auto* buffer = new SoundBuffer(std::move(mixer), flags, std::move(data));
    buffer->primary_ = true;
    buffer->mixer_->remove(buffer->voice_.get());
    buffer->voice_.reset();
    return buffer;
}

SoundBuffer* SoundBuffer::duplicate() const {
    auto* copy = new SoundBuffer(mixer_, flags_, data_);
    std::lock_guard<std::mutex> lock(mixer_->mutex());
    copy->volume_ = volume_;
    copy->pan_ = pan_;
    copy->voice_->frequency = voice_->frequency;
    copy->applyGains();
    return copy;
}

SoundBuffer::~SoundBuffer() {
    if (voice_) mixer_->remove(voice_.get());
    if (primary_) mixer_->setMasterGain(1.0f);
}

HRESULT SoundBuffer::QueryInterface(REFIID riid, void** object) {
    if (primary_ && object && riid == IID_IDirectSoundBuffer8) {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    return ComObjectOf::QueryInterface(riid, object);
}

HRESULT SoundBuffer::GetCaps(LPDSBCAPS caps) {
    if (!caps || caps->dwSize < sizeof(DSBCAPS)) return DSERR_INVALIDPARAM;
    caps->dwFlags = flags_ | DSBCAPS_LOCSOFTWARE;
    caps->dwBufferBytes = primary_ ? data_->format.nAvgBytesPerSec / 10 : size();
    caps->dwUnlockTransferRate = 0;
    caps->dwPlayCpuOverhead = 0;
    return DS_OK;
}

HRESULT SoundBuffer::GetCurrentPosition(LPDWORD playCursor, LPDWORD writeCursor) {
    if (primary_) {
        if (playCursor) *playCursor = 0;
        if (writeCursor) *writeCursor = 0;
        return DS_OK;
    }
    std::lock_guard<std::mutex> lock(mixer_->mutex());
    WORD block = data_->format.nBlockAlign;
    DWORD play = static_cast<DWORD>(voice_->position >> 32) * block;
    DWORD write = play;
    if (voice_->playing) {
        // The mixer has taken about 10 ms beyond the play cursor.
        DWORD ahead = (voice_->frequency / 100 + 1) * block;
        write = static_cast<DWORD>((uint64_t(play) + std::min<DWORD>(ahead, size() - block)) % size());
    }
    if (playCursor) *playCursor = play;
    if (writeCursor) *writeCursor = write;
    return DS_OK;
}

HRESULT SoundBuffer::GetFormat(LPWAVEFORMATEX format, DWORD sizeAllocated, LPDWORD sizeWritten) {
    if (!format) {
        if (!sizeWritten) return DSERR_INVALIDPARAM;
        *sizeWritten = sizeof(WAVEFORMATEX);
        return DS_OK;
    }
    DWORD n = std::min<DWORD>(sizeAllocated, sizeof(WAVEFORMATEX));
    std::memcpy(format, &data_->format, n);
    if (sizeWritten) *sizeWritten = n;
    return DS_OK;
}

HRESULT SoundBuffer::GetVolume(LPLONG volume) {
    if (!volume) return DSERR_INVALIDPARAM;
    if (!(flags_ & DSBCAPS_CTRLVOLUME)) return DSERR_CONTROLUNAVAIL;
    *volume = volume_;
    return DS_OK;
}

HRESULT SoundBuffer::GetPan(LPLONG pan) {
    if (!pan) return DSERR_INVALIDPARAM;
    if (!(flags_ & DSBCAPS_CTRLPAN)) return DSERR_CONTROLUNAVAIL;
    *pan = pan_;
    return DS_OK;
}

HRESULT SoundBuffer::GetFrequency(LPDWORD frequency) {
    if (!frequency) return DSERR_INVALIDPARAM;
    if (primary_ || !(flags_ & DSBCAPS_CTRLFREQUENCY)) return DSERR_CONTROLUNAVAIL;
    std::lock_guard<std::mutex> lock(mixer_->mutex());
    *frequency = voice_->frequency;
    return DS_OK;
}

HRESULT SoundBuffer::GetStatus(LPDWORD status) {
    if (!status) return DSERR_INVALIDPARAM;
    if (primary_) {
        *status = DSBSTATUS_PLAYING | DSBSTATUS_LOOPING;
        return DS_OK;
    }
    std::lock_guard<std::mutex> lock(mixer_->mutex());
    *status = (voice_->playing ? DSBSTATUS_PLAYING | DSBSTATUS_LOCSOFTWARE : 0) |
              (voice_->playing && voice_->looping ? DSBSTATUS_LOOPING : 0);
    return DS_OK;
}

HRESULT SoundBuffer::Initialize(IDirectSound*, LPCDSBUFFERDESC) { return DSERR_ALREADYINITIALIZED; }

HRESULT SoundBuffer::Lock(DWORD offset, DWORD bytes, LPVOID* part1, LPDWORD bytes1, LPVOID* part2, LPDWORD bytes2,
                          DWORD flags) {
    if (primary_) return DSERR_PRIOLEVELNEEDED;
    if (!part1 || !bytes1) return DSERR_INVALIDPARAM;
    if (flags & DSBLOCK_FROMWRITECURSOR) GetCurrentPosition(nullptr, &offset);
    if (flags & DSBLOCK_ENTIREBUFFER) bytes = size();
    if (offset >= size() || bytes == 0 || bytes > size()) return DSERR_INVALIDPARAM;
    if (shadow_.size() != size()) shadow_.assign(size(), 0);
    DWORD first = std::min(bytes, size() - offset);
    DWORD second = part2 ? bytes - first : 0;
    {
        std::lock_guard<std::mutex> lock(mixer_->mutex());
        std::memcpy(shadow_.data() + offset, data_->bytes.data() + offset, first);
        if (second) std::memcpy(shadow_.data(), data_->bytes.data(), second);
    }
    ++openLocks_;
    *part1 = shadow_.data() + offset;
    *bytes1 = first;
    if (part2) *part2 = second ? shadow_.data() : nullptr;
    if (bytes2) *bytes2 = second;
    return DS_OK;
}

HRESULT SoundBuffer::Unlock(LPVOID part1, DWORD bytes1, LPVOID part2, DWORD bytes2) {
    if (primary_) return DSERR_PRIOLEVELNEEDED;
    if (openLocks_ == 0 || shadow_.empty()) return DSERR_INVALIDCALL;
    auto inShadow = [this](LPVOID p, DWORD n) {
        uint8_t* b = static_cast<uint8_t*>(p);
        return b >= shadow_.data() && b <= shadow_.data() + shadow_.size() &&
               n <= static_cast<std::size_t>(shadow_.data() + shadow_.size() - b);
    };
    if (!part1 || !inShadow(part1, bytes1) || (bytes2 && (part2 != shadow_.data() || !inShadow(part2, bytes2))))
        return DSERR_INVALIDPARAM;
    {
        std::lock_guard<std::mutex> lock(mixer_->mutex());
        std::size_t at = static_cast<uint8_t*>(part1) - shadow_.data();
        std::memcpy(data_->bytes.data() + at, part1, bytes1);
        if (bytes2) std::memcpy(data_->bytes.data(), part2, bytes2);
    }
    if (--openLocks_ == 0) std::vector<uint8_t>().swap(shadow_);
    return DS_OK;
}

HRESULT SoundBuffer::Play(DWORD reserved, DWORD, DWORD flags) {
    if (reserved != 0) return DSERR_INVALIDPARAM;
    if (primary_) return DS_OK;  // the device plays all the time
    std::lock_guard<std::mutex> lock(mixer_->mutex());
    voice_->playing = true;
    voice_->looping = (flags & DSBPLAY_LOOPING) != 0;
    return DS_OK;
}

HRESULT SoundBuffer::Stop() {
    if (primary_) return DS_OK;
    std::lock_guard<std::mutex> lock(mixer_->mutex());
    voice_->playing = false;
    return DS_OK;
}

HRESULT SoundBuffer::SetCurrentPosition(DWORD newPosition) {
    if (primary_) return DSERR_INVALIDCALL;
    if (newPosition >= size()) return DSERR_INVALIDPARAM;
    std::lock_guard<std::mutex> lock(mixer_->mutex());
    voice_->position = uint64_t(newPosition / data_->format.nBlockAlign) << 32;
    return DS_OK;
}

HRESULT SoundBuffer::SetFormat(LPCWAVEFORMATEX format) {
    if (!primary_) return DSERR_INVALIDCALL;
    if (mixer_->cooperativeLevel < DSSCL_PRIORITY) return DSERR_PRIOLEVELNEEDED;
    if (!checkFormat(format, L"IDirectSoundBuffer::SetFormat")) return DSERR_BADFORMAT;
    // Remembered for GetFormat; the device goes on mixing at its own rate.
    data_->format = *format;
    data_->format.cbSize = 0;
    return DS_OK;
}

void SoundBuffer::applyGains() {
    if (!voice_) return;
    float gain = gainFromHundredthsDb(volume_);
    voice_->gainLeft = gain * (pan_ > 0 ? gainFromHundredthsDb(-pan_) : 1.0f);
    voice_->gainRight = gain * (pan_ < 0 ? gainFromHundredthsDb(pan_) : 1.0f);
}

HRESULT SoundBuffer::SetVolume(LONG volume) {
    if (!(flags_ & DSBCAPS_CTRLVOLUME)) return DSERR_CONTROLUNAVAIL;
    if (volume < DSBVOLUME_MIN || volume > DSBVOLUME_MAX) return DSERR_INVALIDPARAM;
    volume_ = volume;
    if (primary_) {
        mixer_->setMasterGain(gainFromHundredthsDb(volume));
        return DS_OK;
    }
    std::lock_guard<std::mutex> lock(mixer_->mutex());
    applyGains();
    return DS_OK;
}

HRESULT SoundBuffer::SetPan(LONG pan) {
    if (!(flags_ & DSBCAPS_CTRLPAN) || primary_) return DSERR_CONTROLUNAVAIL;
    if (pan < DSBPAN_LEFT || pan > DSBPAN_RIGHT) return DSERR_INVALIDPARAM;
    pan_ = pan;
    std::lock_guard<std::mutex> lock(mixer_->mutex());
    applyGains();
    return DS_OK;
}

HRESULT SoundBuffer::SetFrequency(DWORD frequency) {
    if (!(flags_ & DSBCAPS_CTRLFREQUENCY) || primary_) return DSERR_CONTROLUNAVAIL;
    if (frequency == DSBFREQUENCY_ORIGINAL) frequency = data_->format.nSamplesPerSec;
    if (frequency < DSBFREQUENCY_MIN || frequency > DSBFREQUENCY_MAX) return DSERR_INVALIDPARAM;
    std::lock_guard<std::mutex> lock(mixer_->mutex());
    voice_->frequency = frequency;
    return DS_OK;
}

HRESULT SoundBuffer::Restore() { return DS_OK; }  // buffers in system memory are never lost

HRESULT SoundBuffer::AcquireResources(DWORD, DWORD effectCount, LPDWORD) {
    return effectCount == 0 ? DS_OK : DSERR_INVALIDPARAM;
}

}  // namespace port::dsound
