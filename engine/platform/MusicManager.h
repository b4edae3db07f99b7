// The music manager: named music tracks from the sound list's "MUSIC" list, one playing at a
// time. Each "ENTRY" has a "NAME" (exact, case-sensitive), the file as its first value, an
// optional "VOLUME" (0..1, default 1) and "LOOP" (default 1); the file is read through the
// archives, then the disk, when the track is played. Playing a track switches to it;
// asking for the track that already plays leaves it alone unless a restart is asked for.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "engine/core/Types.h"
#include "engine/platform/MusicStream.h"

namespace Orvex {

class XMLNode;

class MusicManager {
public:
    static MusicManager& getInstance();

    // Reads the entries of a "MUSIC" list; returns the number of tracks taken. A track of a
    // known name is replaced.
    u32 loadMusic(XMLNode const& node);
    void clear();
    bool hasTrack(std::wstring const& name) const { return tracks_.count(name) != 0; }

    // Switches to the named track and runs it. The current track is left as it plays when it is
    // the one asked for and restart is false (a paused one resumes); with restart it starts
    // again from the beginning. An unknown name, or a file that cannot be played, keeps the
    // current music and returns false.
    bool play(std::wstring const& name, bool restart);
    // Pauses the current track; resume runs it on.
    void pause();
    void resume();
    void stop();

    // Master music volume, clamped to 0..1, applied at once.
    void setVolume(double volume);
    double getVolume() const { return volume_; }

    // Per frame: loops a track at its end.
    void update();

    std::wstring const& getCurrentName() const { return currentName_; }
    MusicStream* getCurrentStream() const { return current_.get(); }

    MusicManager(MusicManager const&) = delete;
    MusicManager& operator=(MusicManager const&) = delete;

private:
    MusicManager() = default;
    ~MusicManager() = default;

    struct Track {
        std::wstring file;
        double volume = 1.0;
        bool loop = true;
    };

    std::map<std::wstring, Track> tracks_;
    std::unique_ptr<MusicStream> current_;
    std::wstring currentName_;
    double volume_ = 1.0;
};

}  // namespace Orvex
