// Helpers shared by the platform tests: log look-ups, Windows paths, the message pump, name lists,
// settings round trips and the sound fixture on an offline mix.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "engine/core/Logger.h"
#include "engine/core/XMLNode.h"
#include "engine/platform/SoundManager.h"
#include "port/dsound/dsound_offline.h"
#include "port/win32/win32_paths.h"
#include "port/win32/windows.h"
#include "tests/port/mmio/WaveIo.h"
#include "tests/support/TestSupport.h"

namespace platformtest {

// Number of recent log lines holding every given part.
inline int logLines(std::wstring const& text, std::wstring const& also = L"") {
    int n = 0;
    for (auto const& line : Orvex::Logger::getInstance().recentLines())
        n += line.find(text) != std::wstring::npos && line.find(also) != std::wstring::npos;
    return n;
}
inline bool logContains(std::wstring const& text) { return logLines(text) > 0; }

inline std::wstring winPath(std::filesystem::path const& path) { return port::windowsPath(path.string()); }

inline void pumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// A "SOUND" or "MUSIC" list with one entry per (name, files).
using Entries = std::vector<std::pair<std::wstring, std::vector<std::wstring>>>;
inline Orvex::XMLNode entryList(wchar_t const* kind, Entries const& entries) {
    Orvex::XMLNode node(kind);
    for (auto const& [name, files] : entries) {
        Orvex::XMLNode* entry = node.addChild(L"ENTRY");
        entry->setAttribute(L"NAME", name);
        for (auto const& file : files) entry->addValue(file);
    }
    return node;
}

// Writes the settings into a section, reparses its text and reads it into fresh settings.
template <class Params>
Params roundTrip(Params const& written, wchar_t const* section, Orvex::XMLNode* text = nullptr) {
    Orvex::XMLNode out(section);
    written.writeConfig(out);
    Orvex::XMLNode parsed;
    parsed.loadFromText(out.toText());
    Params read;
    read.readConfig(parsed);
    if (text) *text = out;
    return read;
}

// Peak output level of the next frames of the offline mix.
inline int mixPeak(IDirectSound8* device, std::size_t frames) {
    std::vector<int16_t> out(frames * 2);
    port::dsound::renderMix(device, out.data(), frames);
    int best = 0;
    for (int16_t v : out) best = std::max(best, std::abs(static_cast<int>(v)));
    return best;
}

constexpr DWORD kSoundRate = 22050;
inline std::string toneWave(int frames, double level) { return wavetest::toneWave(frames, kSoundRate, level, 0.3); }

// The sound manager on an offline DirectSound object, with a fresh folder for samples.
class SoundFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(port::dsound::createOfflineDirectSound(kSoundRate, &device_)));
        ASSERT_TRUE(manager().init(device_));
        dir_ = testsupport::makeTempDir("sounds");
    }
    void TearDown() override {
        manager().clear();
        manager().shutdown();
        manager().setVolume(1.0);
        manager().getInitParams() = Orvex::SoundInitParams{};
        if (device_) device_->Release();
    }
    static Orvex::SoundManager& manager() { return Orvex::SoundManager::getInstance(); }
    int peak(std::size_t frames) { return mixPeak(device_, frames); }

    IDirectSound8* device_ = nullptr;
    std::filesystem::path dir_;
};

}  // namespace platformtest
