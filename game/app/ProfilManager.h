// The list of player profiles with the active one, and the profile file "profile.prf" in the user
// folder that holds them, the name of the active profile and the highscores.
//
// The file is written crash-safe: into a file beside it, then renamed over it, so a crash or a
// failed write leaves the old file whole (a failure logs one line). A file that does not read
// completely (cut short, damaged) is loaded as far as it reads and then kept aside as
// "profile.prf.bad" followed by a number, with one log line, before any save could replace it.
// At most kMaxProfiles profiles are read; a file with more is kept aside the same way, so the
// next save, which writes the profiles read, loses none of the others.
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
    // The ".bad" numbers tried for a damaged file before the oldest is replaced.
    static constexpr int kMaxKeptAside = 1000;

    // Made on first use, destroyed at exit.
    static ProfilManager& instance();
    ProfilManager() = default;
    ~ProfilManager();
    ProfilManager(ProfilManager const&) = delete;
    ProfilManager& operator=(ProfilManager const&) = delete;

    // Replaces the list by the file's profiles (none when it is missing or unreadable), makes the
    // profile named by "ACTIVE_PROFIL" active and reads the highscores. False without a file.
    bool loadProfiles();
    // Writes every profile, the active one's name and the highscores; false (logged, old file
    // kept) when the file cannot be written.
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
    // Releases every profile; no active one (signals as loading does).
    void clear();

    // The file: the user folder's kFileName unless another path was set (tests and tools).
    std::wstring getFilePath() const;
    void setFilePath(std::wstring const& path) { filePath_ = path; }

    sigslot::signal0<> listChanged;
    sigslot::signal2<Profil*, Profil*> activeChanged;

private:
    // Renames a file that did not read completely, or whose profiles were not all read, to the
    // first free ".bad" number; the error line says why (reason) and what stays loaded (kept).
    void keepAside(std::wstring const& path, std::wstring const& reason, std::wstring const& kept);

    std::vector<Profil*> profiles_;
    Profil* active_ = nullptr;
    std::wstring filePath_;
};

}  // namespace Solitaire
