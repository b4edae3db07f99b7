// The sound manager: the sound list, sample loading, playing sounds and the master volume.
// The output is one DirectSound object; samples keep their PCM data so that buffers can be made
// whenever an output exists, and playing sounds are duplicates of the sample's buffer.
#include "engine/platform/SoundManager.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/core/File.h"
#include "engine/core/Logger.h"
#include "engine/core/SettingsSection.h"
#include "engine/core/XMLNode.h"
#include "port/crt/crt.h"
#include "port/win32/win32_text.h"

namespace Orvex {

namespace {

std::wstring foldPath(std::wstring path) {
    for (wchar_t& ch : path) {
        ch = ch == L'/' ? L'\\' : port::foldCase(ch);
    }
    return path;
}

double clampVolume(double volume) { return std::isfinite(volume) ? std::clamp(volume, 0.0, 1.0) : 1.0; }

}  // namespace

// ---- init parameters ----

void SoundInitParams::readConfig(XMLNode const& node) {
    SettingsSection const section(node, L"SOUNDINITPARAMS");
    section.read(L"ENABLED", enabled);
    section.read(L"MAX_PLAYING", 1, kMaxPlayingLimit, maxPlaying);
    section.read(L"SAMPLE_RATE", kMinSampleRate, kMaxSampleRate, sampleRate);
}

void SoundInitParams::writeConfig(XMLNode& section) const {
    section.addAttribute(new XMLAttribute(L"ENABLED", enabled));
    section.addAttribute(new XMLAttribute(L"MAX_PLAYING", maxPlaying));
    section.addAttribute(new XMLAttribute(L"SAMPLE_RATE", sampleRate));
}

// ---- output ----

SoundManager& SoundManager::getInstance() {
    static SoundManager instance;
    return instance;
}

SoundManager::~SoundManager() { shutdown(); }

bool SoundManager::init(HWND window) {
    if (device_) return true;
    if (!params_.enabled) {
        logInfo(L"Sound is switched off (SOUNDINITPARAMS ENABLED 0)");
        return false;
    }
    IDirectSound8* device = nullptr;
    HRESULT hr = DirectSoundCreate8(nullptr, &device, nullptr);
    if (FAILED(hr) || !device) {
        logError(L"SoundManager: no audio output (DirectSoundCreate8 failed); playing without sound");
        return false;
    }
    device->SetCooperativeLevel(window, DSSCL_PRIORITY);
    // The primary buffer carries the output format and the master level of the device.
    DSBUFFERDESC desc{};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRLVOLUME;
    if (SUCCEEDED(device->CreateSoundBuffer(&desc, &primary_, nullptr)) && primary_) {
        WAVEFORMATEX format{};
        format.wFormatTag = WAVE_FORMAT_PCM;
        format.nChannels = 2;
        format.nSamplesPerSec = params_.sampleRate;
        format.wBitsPerSample = 16;
        format.nBlockAlign = 4;
        format.nAvgBytesPerSec = params_.sampleRate * 4;
        primary_->SetFormat(&format);
    }
    bool ok = init(device);
    device->Release();
    return ok;
}

bool SoundManager::init(IDirectSound8* device) {
    if (device_ == device) return device != nullptr;
    if (device_) shutdown();
    device_ = device;
    if (device_) device_->AddRef();
    return device_ != nullptr;
}

void SoundManager::shutdown() {
    stopAll();
    active_.clear();
    for (auto& [file, sample] : samplesByFile_) {
        if (sample->buffer) sample->buffer->Release();
        sample->buffer = nullptr;
        sample->bufferFailed = false;
    }
    if (primary_) primary_->Release();
    primary_ = nullptr;
    if (device_) device_->Release();
    device_ = nullptr;
}

// ---- sound list ----

std::shared_ptr<SoundSample> SoundManager::loadSample(std::wstring const& fileName) {
    std::wstring key = foldPath(fileName);
    auto known = samplesByFile_.find(key);
    if (known != samplesByFile_.end()) return known->second;

    // Every sound entry naming a file that cannot be read tries it again: it is told once.
    File file(fileName);
    file.open(fileName);
    std::vector<u8> bytes;
    if (!file.readAllOnce(bytes, L"SoundManager: sample \"" + fileName + L"\"")) return nullptr;
    auto sample = std::make_shared<SoundSample>();
    sample->file = fileName;
    if (!decodeWave(bytes, fileName, sample->format, sample->pcm)) return nullptr;
    samplesByFile_.emplace(key, sample);
    return sample;
}

u32 SoundManager::loadSounds(XMLNode const& node) {
    u32 taken = 0;
    forEachChild(node, L"ENTRY", [&](XMLNode const& entryNode) {
        std::wstring name = entryNode.getAttributeString(L"NAME", std::wstring());
        if (name.empty()) {
            logWarning(L"SoundManager: sound entry" + atLine(entryNode) + L" without NAME skipped");
            return true;
        }
        double volume = entryNode.getAttributeDouble(L"VOLUME", 1.0);
        std::vector<std::shared_ptr<SoundSample>> samples;
        for (u32 v = 0; v < entryNode.getValueCount(); ++v) {
            std::wstring const& fileName = entryNode.getValue(v)->getString();
            if (fileName.empty()) continue;
            if (auto sample = loadSample(fileName)) samples.push_back(std::move(sample));
        }
        if (samples.empty()) {
            logWarning(L"SoundManager: sound \"" + name + L"\"" + atLine(entryNode) + L" has no usable sample");
            return true;
        }
        Entry& entry = entries_[name];
        entry.volume = clampVolume(volume);
        taken += static_cast<u32>(samples.size());
        entry.samples.insert(entry.samples.end(), samples.begin(), samples.end());
        return true;
    });
    return taken;
}

bool SoundManager::loadFile(std::wstring const& fileName) {
    XMLNode root;
    if (!root.load(fileName, 0)) {
        logError(L"SoundManager: sound list \"" + fileName + L"\" could not be read");
        return false;
    }
    if (XMLNode const* list = root.getChild(L"SOUND")) loadSounds(*list);
    return true;
}

void SoundManager::clear() {
    stopAll();
    active_.clear();
    entries_.clear();
    for (auto& [file, sample] : samplesByFile_) {
        if (sample->buffer) sample->buffer->Release();
        sample->buffer = nullptr;
    }
    samplesByFile_.clear();
}

bool SoundManager::hasSound(std::wstring const& name) const { return entries_.count(name) != 0; }

u32 SoundManager::getSampleCount(std::wstring const& name) const {
    auto it = entries_.find(name);
    return it == entries_.end() ? 0u : static_cast<u32>(it->second.samples.size());
}

// ---- playing ----

bool SoundManager::ensureBuffer(SoundSample& sample) {
    if (sample.buffer) return true;
    if (sample.bufferFailed || !device_) return false;
    DSBUFFERDESC desc{};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DSBCAPS_STATIC | DSBCAPS_CTRLVOLUME | DSBCAPS_GLOBALFOCUS;
    desc.dwBufferBytes = static_cast<DWORD>(sample.pcm.size());
    desc.lpwfxFormat = &sample.format;
    IDirectSoundBuffer* buffer = nullptr;
    HRESULT hr = device_->CreateSoundBuffer(&desc, &buffer, nullptr);
    if (FAILED(hr) || !buffer) {
        logError(L"SoundManager: no sound buffer for \"" + sample.file + L"\"");
        sample.bufferFailed = true;
        return false;
    }
    void* part1 = nullptr;
    void* part2 = nullptr;
    DWORD bytes1 = 0, bytes2 = 0;
    if (SUCCEEDED(buffer->Lock(0, desc.dwBufferBytes, &part1, &bytes1, &part2, &bytes2, DSBLOCK_ENTIREBUFFER))) {
        std::size_t first = std::min<std::size_t>(bytes1, sample.pcm.size());
        if (part1) std::memcpy(part1, sample.pcm.data(), first);
        buffer->Unlock(part1, bytes1, part2, bytes2);
    }
    sample.buffer = buffer;
    return true;
}

std::shared_ptr<PlayingSound> SoundManager::playSound(std::wstring const& name) {
    auto it = entries_.find(name);
    if (it == entries_.end() || it->second.samples.empty() || !device_) return nullptr;
    Entry const& entry = it->second;
    std::size_t index = static_cast<std::size_t>(msvc::rand()) % entry.samples.size();
    SoundSample& sample = *entry.samples[index];
    if (!ensureBuffer(sample)) return nullptr;
    IDirectSoundBuffer* duplicate = nullptr;
    if (FAILED(device_->DuplicateSoundBuffer(sample.buffer, &duplicate)) || !duplicate) {
        logError(L"SoundManager: could not duplicate the buffer of \"" + sample.file + L"\"");
        return nullptr;
    }
    return std::make_shared<PlayingSound>(name, sample.file, duplicate, entry.volume);
}

bool SoundManager::playSample(std::shared_ptr<PlayingSound> const& sound, double volume, bool loop) {
    return sound && SUCCEEDED(sound->play(volume, loop));
}

void SoundManager::addActive(std::shared_ptr<PlayingSound> const& sound) {
    if (std::find(active_.begin(), active_.end(), sound) != active_.end()) return;
    // Over the limit the oldest sound gives way, so endless triggers cannot pile up.
    while (!active_.empty() && active_.size() >= params_.maxPlaying) {
        active_.front()->stop(0);
        active_.erase(active_.begin());
    }
    active_.push_back(sound);
}

void SoundManager::setVolume(double volume) {
    volume_ = std::isfinite(volume) ? std::clamp(volume, 0.0, 1.0) : volume_;
    for (auto const& sound : active_) sound->applyVolume();
}

void SoundManager::update() {
    auto finished = [](std::shared_ptr<PlayingSound> const& sound) {
        if (sound->isMarkedStopped()) {
            sound->stop(0);
            return true;
        }
        return !sound->isPlaying();
    };
    active_.erase(std::remove_if(active_.begin(), active_.end(), finished), active_.end());
}

void SoundManager::stopAll() {
    for (auto const& sound : active_) sound->stop(1);
    active_.clear();
}

}  // namespace Orvex
