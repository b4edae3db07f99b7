// The list of player profiles with the active one, and the profile file "profile.prf" in the user
// folder that holds them, the name of the active profile and the highscores.
//
// The file is written crash-safe: into a file beside it, then renamed over it, so a crash or a
// failed write leaves the old file whole (a failure logs one line). A file that does not read
// completely (cut short, damaged) is loaded as far as it reads, copied aside as "profile.prf.bad"
// followed by a number (never over an earlier copy), and the profiles read are written over it at
// once, with one log line: a game that ends without its last save (killed, a crash) still finds
// them at the next start. At most kMaxProfiles profiles are read; a file with more is kept aside
// the same way, so no save loses the others. While such a file could not be copied aside (no
// number free, a full disk) no save replaces it: it stays in place, and each save tries again.
#pragma once

#include <string>
#include <vector>

#include "signals/sigslot.h"

namespace Solitaire {

class Profil;

class ProfilManager {
public:
    static constexpr wchar_t const* kFileName = L"profile.prf";
    static constexpr std::size_t kMaxProfiles = 1024;
    // The ".bad" numbers a damaged file may be copied to; with all of them taken it is not copied.
    static constexpr int kMaxKeptAside = 1000;

    // Made on first use, destroyed at exit.
    static ProfilManager& instance();
    ProfilManager() = default;
    ~ProfilManager();
    ProfilManager(ProfilManager const&) = delete;
    ProfilManager& operator=(ProfilManager const&) = delete;

    // Replaces the list by the file's profiles (none when it is missing or unreadable), makes the
    // profile named by "ACTIVE_PROFIL" active and reads the highscores; a file that has to be kept
    // aside is, and the profiles read are saved at once. False when nothing was read.
    bool loadProfiles();
    // Writes every profile, the active one's name and the highscores; false (logged, old file
    // kept) when the file cannot be written, or while a damaged file could not be kept aside.
    bool saveProfiles();

    // Takes over the caller's reference; the first profile added while none is active becomes
    // active. A profile already in the list is ignored.
    void addProfile(Profil* profile);
    // Takes every occurrence out of the list and releases the profile.
    void removeProfile(Profil* profile);
    // Emits the active-changed signal also when the profile stays the same.
    void setActiveProfile(Profil* profile);
    Profil* getActiveProfile() const { return active_; }
    // Null past the end.
    Profil* getProfile(int index) const;
    // The first profile of exactly that name, or null.
    Profil* findProfile(std::wstring const& name) const;
    int getProfileCount() const { return static_cast<int>(profiles_.size()); }
    void buildAllCampaignTables();
    // Releases every profile; no active one (signals as loading does). A file read before need
    // no longer be kept aside.
    void clear();

    // The file: the user folder's kFileName unless another path was set (tests and tools).
    std::wstring getFilePath() const;
    void setFilePath(std::wstring const& path) {
        filePath_ = path;
        damaged_.clear();
    }

    sigslot::signal0<> listChanged;
    sigslot::signal2<Profil*, Profil*> activeChanged;

private:
    // Copies the file that must be kept aside (damaged_) to the first free ".bad" number, and
    // logs one line: why it is kept (damaged_) and where. False (the line says the file stays as
    // it is and is not written) when no number is free or the copy cannot be made.
    bool keepAside();

    std::vector<Profil*> profiles_;
    // Why the file read last has to be kept aside before a save may replace it (empty: it need
    // not be, or it has been).
    std::wstring damaged_;
    Profil* active_ = nullptr;
    std::wstring filePath_;
};

}  // namespace Solitaire
