// One playing instance of a sound sample (see PlayingSound.h).
#include "engine/platform/PlayingSound.h"

#include <algorithm>
#include <cmath>

#include "engine/platform/SoundManager.h"

namespace Orvex {

PlayingSound::PlayingSound(std::wstring name, std::wstring sampleFile, IDirectSoundBuffer* buffer, double entryVolume)
    : name_(std::move(name)), sampleFile_(std::move(sampleFile)), buffer_(buffer), entryVolume_(entryVolume) {}

PlayingSound::~PlayingSound() {
    if (buffer_) {
        buffer_->Stop();
        buffer_->Release();
    }
}

long PlayingSound::toHundredthsDb(double factor) {
    if (!(factor > 0.0)) return DSBVOLUME_MIN;
    if (factor >= 1.0) return DSBVOLUME_MAX;
    double level = 2000.0 * std::log10(factor);
    return std::max<long>(DSBVOLUME_MIN, static_cast<long>(std::lround(level)));
}

void PlayingSound::applyVolume() {
    if (!buffer_) return;
    double factor = entryVolume_ * volume_ * SoundManager::getInstance().getVolume();
    buffer_->SetVolume(toHundredthsDb(factor));
}

HRESULT PlayingSound::play(double volume, bool loop) {
    if (!buffer_) return E_FAIL;
    volume_ = std::clamp(std::isfinite(volume) ? volume : 0.0, 0.0, 1.0);
    looping_ = loop;
    stopped_ = false;
    applyVolume();
    HRESULT hr = buffer_->Play(0, 0, loop ? DSBPLAY_LOOPING : 0);
    if (SUCCEEDED(hr)) SoundManager::getInstance().addActive(shared_from_this());
    return hr;
}

HRESULT PlayingSound::stop(int flag) {
    if (!buffer_) return E_FAIL;
    HRESULT hr = buffer_->Stop();
    if (flag == 1 && SUCCEEDED(hr)) hr = buffer_->SetCurrentPosition(0);
    return hr;
}

bool PlayingSound::isPlaying() const {
    DWORD status = 0;
    return buffer_ && SUCCEEDED(buffer_->GetStatus(&status)) && (status & DSBSTATUS_PLAYING);
}

}  // namespace Orvex
