// The sound manager: named sounds from the sound list (".snd"), each with one or more WAV
// samples, played through DirectSound as duplicates of one buffer per sample.
//
// Sound list files are property files with a "SOUND" list and a "MUSIC" list:
//   <SOUNDS>
//     <SOUND>
//       <ENTRY NAME="KLICK" VOLUME="0.8">"|data\Sounds\klick1.wav|" "|data\Sounds\klick2.wav|"</ENTRY>
//     </SOUND>
//     <MUSIC>
//       <ENTRY NAME="MENU" VOLUME="1">"|data\Sounds\menu.ogg|"</ENTRY>
//     </MUSIC>
//   </SOUNDS>
// Each "ENTRY" names a sound (exact, case-sensitive) and lists its sample files as values, read
// through the archives, then the disk. "VOLUME" (0..1, default 1) scales every sample of the
// entry. Entries of the same name add their samples to the name. A sample that is missing or
// not a PCM WAV file is left out with one log line; a name without a usable sample is unknown.
// The "MUSIC" list belongs to the music manager.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/Types.h"
#include "engine/platform/PlayingSound.h"
#include "port/dsound/dsound.h"

namespace Orvex {

class XMLNode;

// The "SOUNDINITPARAMS" section of config.cfg.
struct SoundInitParams {
    static constexpr u32 kMaxPlayingLimit = 1024;
    static constexpr u32 kMinSampleRate = 8000;
    static constexpr u32 kMaxSampleRate = 192000;

    bool enabled = true;       // "ENABLED": open the audio output at all
    u32 maxPlaying = 64;       // "MAX_PLAYING": sounds playing at once (the oldest gives way), 1..1024
    u32 sampleRate = 44100;    // "SAMPLE_RATE": primary buffer rate (8000..192000)

    // Reads the keys present in the section; out-of-range keys keep their value with a log line.
    void readConfig(XMLNode const& section);
    void writeConfig(XMLNode& section) const;
};

// One sample: its PCM data and, once a device exists, the buffer that playing sounds duplicate.
struct SoundSample {
    std::wstring file;
    WAVEFORMATEX format{};
    std::vector<u8> pcm;
    IDirectSoundBuffer* buffer = nullptr;  // made on first use
    bool bufferFailed = false;
};

class SoundManager {
public:
    static SoundManager& getInstance();

    // Opens the audio output for the window (null: no window). False, with one log line, when
    // there is no audio output or sound is disabled; the manager then plays nothing.
    bool init(HWND window);
    // Uses a DirectSound object the caller made (tests use an offline object); takes a
    // reference of it. A null device leaves the manager without output.
    bool init(IDirectSound8* device);
    // Stops every sound and closes the output; the sound list stays.
    void shutdown();
    bool hasDevice() const { return device_ != nullptr; }
    IDirectSound8* getDevice() const { return device_; }

    SoundInitParams& getInitParams() { return params_; }
    SoundInitParams const& getInitParams() const { return params_; }

    // Reads the entries of a "SOUND" list. Returns the number of samples taken.
    u32 loadSounds(XMLNode const& node);
    // Reads a sound list file's "SOUND" list; false when the file cannot be read.
    bool loadFile(std::wstring const& fileName);
    // Forgets every sound (playing sounds are stopped first).
    void clear();
    bool hasSound(std::wstring const& name) const;
    u32 getSampleCount(std::wstring const& name) const;

    // A new playing sound of one of the name's samples, chosen with msvc::rand() % count; it is
    // ready but not started (play it, or hand it to playSample). Empty when the name is unknown,
    // no output is open or the buffer cannot be made.
    std::shared_ptr<PlayingSound> playSound(std::wstring const& name);
    // Starts the sound at volume (0..1), once or looping. False for an empty handle.
    bool playSample(std::shared_ptr<PlayingSound> const& sound, double volume, bool loop = false);
    // Master volume, clamped to 0..1; applies to playing sounds at once.
    void setVolume(double volume);
    double getVolume() const { return volume_; }

    // Once per frame: lets go of sounds that have finished or were marked stopped.
    void update();
    void stopAll();
    // Sounds the manager keeps alive because they play.
    std::size_t getActiveCount() const { return active_.size(); }

    // Called by PlayingSound::play: keeps the sound until it has finished.
    void addActive(std::shared_ptr<PlayingSound> const& sound);

    SoundManager(SoundManager const&) = delete;
    SoundManager& operator=(SoundManager const&) = delete;

private:
    SoundManager() = default;
    ~SoundManager();

    struct Entry {
        double volume = 1.0;
        std::vector<std::shared_ptr<SoundSample>> samples;
    };

    std::shared_ptr<SoundSample> loadSample(std::wstring const& file);
    bool ensureBuffer(SoundSample& sample);

    SoundInitParams params_;
    IDirectSound8* device_ = nullptr;
    IDirectSoundBuffer* primary_ = nullptr;
    double volume_ = 1.0;
    std::map<std::wstring, Entry> entries_;
    std::map<std::wstring, std::shared_ptr<SoundSample>> samplesByFile_;  // key: folded path
    std::vector<std::shared_ptr<PlayingSound>> active_;
};

// Reads a PCM WAV file's format and sample data from memory; false, with one log line naming
// the file, when the bytes are not a usable PCM WAV.
bool decodeWave(std::vector<u8> const& bytes, std::wstring const& fileName, WAVEFORMATEX& format,
                std::vector<u8>& pcm);

}  // namespace Orvex
