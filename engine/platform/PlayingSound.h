// One playing instance of a sound sample: its own DirectSound buffer made as a duplicate of the
// sample's buffer, so several instances of one sample play at once on shared sample memory.
// Volumes are linear factors (0 silent .. 1 full); the buffer gets the product of the entry's
// volume, the play volume and the sound manager's master volume, in hundredths of a decibel.
#pragma once

#include <memory>
#include <string>

#include "port/dsound/dsound.h"

namespace Orvex {

class SoundManager;

class PlayingSound : public std::enable_shared_from_this<PlayingSound> {
public:
    // Takes over one reference of buffer (may be null: a silent sound that reports failures).
    PlayingSound(std::wstring name, std::wstring sampleFile, IDirectSoundBuffer* buffer, double entryVolume);
    ~PlayingSound();
    PlayingSound(PlayingSound const&) = delete;
    PlayingSound& operator=(PlayingSound const&) = delete;

    // Starts (or continues) the buffer at volume (0..1) times the entry and master volumes,
    // looping when asked; clears the stopped mark. The sound manager keeps the sound alive until
    // it has finished, so the caller may drop its handle at once.
    HRESULT play(double volume, bool loop);
    // Stops the buffer; with flag 1 it is also rewound to the start.
    HRESULT stop(int flag);
    // Marks the sound as stopped for good: the manager's next update lets it go.
    void markStopped() { stopped_ = true; }
    bool isMarkedStopped() const { return stopped_; }

    bool isPlaying() const;
    bool isLooping() const { return looping_; }
    // The play volume last given to play (0..1).
    double getVolume() const { return volume_; }
    std::wstring const& getName() const { return name_; }
    // The sample file the sound plays.
    std::wstring const& getSampleFile() const { return sampleFile_; }
    IDirectSoundBuffer* getBuffer() const { return buffer_; }

    // Recomputes the buffer volume after the master volume changed.
    void applyVolume();

    // Linear factor (0..1) to DirectSound hundredths of a decibel (-10000 for silence).
    static long toHundredthsDb(double factor);

private:
    std::wstring name_;
    std::wstring sampleFile_;
    IDirectSoundBuffer* buffer_;
    double entryVolume_;
    double volume_ = 1.0;
    bool looping_ = false;
    bool stopped_ = false;
};

}  // namespace Orvex
