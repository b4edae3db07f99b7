// The list of player profiles with the active one, and the profile file "profile.prf" in the user
// folder that holds them, the name of the active profile and the highscores.
//
// The file is written crash-safe: into a file beside it, then renamed over it, so a crash or a
// failed write leaves the old file whole (a failure logs one line). A file that does not read
// completely (cut short, damaged), cannot be opened or read at all (unreadable: the log line says
// which) or is larger than kMaxFileBytes (refused unread) is loaded as far as it reads and kept
// under "profile.prf.bad" followed by a number (never over an earlier one; engine/core/KeepAside.h):
// the profiles read are written to kSavedBeside ("profile.prf.new") first, then the file is moved
// aside (copied only where it cannot be moved) and the saved file takes its name, so at every
// moment one of the two holds them, and a game that ends without its last save (killed, a crash)
// still finds them at the next start; one log line. At most kMaxProfiles profiles are read; a file
// with more is kept aside the same way, so no save loses the others (the active profile is read
// among the first ones wherever it stands, so one made and chosen on a full list stays). So is a
// file that holds more than the game keeps of a profile (Profil.h: a longer name, what no reader
// takes, more than the profiles of a file keep) or of the highscores (more than a variant's best
// SolitaireManager::kMaxReadHighscores, longer texts, or those past its best kHighscoresKept that
// give way to the profiles), whose profiles are saved with what they keep. What a file keeps is at
// most Profil::kMaxKeptBytes, counted as a read of the saved file charges it: the file's own
// element and a variant's best kHighscoresKept highscores as the save writes them, then the
// profiles, each as the game writes it once started (Profil::measure: with its data written anew
// as when it is made active, whichever one is), so a file read whole is read whole after a save
// of what was read, whatever profile the player chose before it, and the
// further highscores what the profiles leave (share). Where the profiles would take more, they
// share half of it: each keeps what it would, up to an equal share of what the smaller ones
// leave, so a small profile keeps all wherever it stands in the file. Elements the game does not
// read (at the root beside the profiles and the first "HIGHSCORES", and among the highscores) are
// told in one line for each of the two places, counted, and dropped by the next save.
//
// While the file cannot be kept at all (every number taken), it stays as it is and each save goes
// to kSavedBeside. Loading reads kSavedBeside when "profile.prf" is missing or does not read
// completely; a save written over "profile.prf" removes it. A kSavedBeside that loading does not
// read ("profile.prf" reads completely, or it does not itself) is moved to the first free ".bad"
// number with one log line; while it cannot be, no save replaces or removes it. A save that keeps
// the profiles nowhere (no room even beside) logs and emits saveFailed, by which the game tells
// the player; so does one whose file the next start would not read whole (larger than
// kMaxFileBytes, or a tree a read would cut: XMLNode::save), which keeps the old file as a full
// disk does.
//
// Only regular files are read: a FIFO, a folder or a device in the place of either file is
// unreadable (never opened, so it cannot block the start) and kept aside as a damaged file is.
#pragma once

#include <string>
#include <vector>

#include "engine/core/KeepAside.h"
#include "engine/core/Types.h"
#include "engine/core/XMLNode.h"
#include "signals/sigslot.h"

namespace Solitaire {

class Profil;

class ProfilManager {
public:
    static constexpr wchar_t const* kFileName = L"profile.prf";
    static constexpr std::size_t kMaxProfiles = 1024;
    // The profiles of a file whose refusals get a line each; the others' are counted in one.
    static constexpr std::size_t kLoggedProfiles = 4;
    // About 10 times a file of 8 profiles with a quick save of a 104-card game and statistics in
    // each of the 146 variants (24 MB; 8.3 MB for 50 variants).
    static constexpr Orvex::u64 kMaxFileBytes = Orvex::u64{256} << 20;
    // The ".bad" numbers a damaged file may be kept as; with all of them taken it stays in place.
    static constexpr int kMaxKeptAside = Orvex::kMaxKeptAside;
    // Appended to the file's name: the profiles saved beside a file that is not yet kept aside.
    static constexpr wchar_t const* kSavedBeside = L".new";

    // Made on first use, destroyed at exit.
    static ProfilManager& instance();
    ProfilManager() = default;
    ~ProfilManager();
    ProfilManager(ProfilManager const&) = delete;
    ProfilManager& operator=(ProfilManager const&) = delete;

    // Replaces the list by the file's profiles (or those saved beside it, when it does not read
    // completely; none when neither reads), makes the profile named by "ACTIVE_PROFIL" active and
    // reads the highscores; a file that has to be kept aside is, and the profiles read are saved
    // at once. False when nothing was read.
    bool loadProfiles();
    // Writes every profile, the active one's name and the highscores where the next load finds
    // them; false (logged, saveFailed emitted, the old file kept) when they could not be written.
    bool saveProfiles();
    // The last load read its file whole: completely, and nothing left out or kept aside.
    bool readWhole() const { return readWhole_; }

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
        savedBesideLogged_ = false;
        besideUnread_ = false;
    }

    sigslot::signal0<> listChanged;
    sigslot::signal2<Profil*, Profil*> activeChanged;
    // A save kept nothing: what was played since the last save that succeeded ends with the game.
    sigslot::signal0<> saveFailed;
    // How a file's profiles and its highscores past a variant's best SolitaireManager::kHighscoresKept
    // (further, their costs in the order they are kept) share what the file's own element and the
    // best highscores leave of what a file keeps (left). All of it while it fits. Else the further
    // highscores give way first: while the profiles' wishes fit, each keeps all it wishes and the
    // further highscores take half of what they leave, as many as fit in their order; else none of
    // those is kept, and the profiles share half of it (each up to an equal share of what the
    // smaller ones leave). What is cut leaves room for what is played before the next read.
    struct Shares {
        std::size_t furtherHighscores = 0;
        std::vector<std::size_t> profiles;
    };
    static Shares share(std::size_t left, std::vector<std::size_t> const& further, std::vector<std::size_t> wishes);

    // The last save kept nothing because the file would have been more than its reader takes
    // (not for want of room or rights).
    bool saveWasTooLarge() const { return refused_ == Orvex::XMLNode::Refusal::kTooLarge; }

private:
    // The tree written over the file; a file saved beside it goes (unless besideUnread_).
    bool writeOver(Orvex::XMLNode const& tree);
    // Writes the tree beside the file that must be kept aside (damaged_), keeps the file at the
    // first free ".bad" number (moved, else copied) and gives the saved file its name; while it
    // cannot be kept, the tree stays beside it. One log line says why it is kept (damaged_) and
    // where. False when the tree could be written nowhere.
    bool keepAsideAndWrite(Orvex::XMLNode const& tree);
    // Moves kSavedBeside, which loading did not read, to the first free ".bad" number; one log
    // line says why (`why`) and where, or that it stays (besideUnread_).
    void keepBesideAside(std::wstring const& why);

    std::vector<Profil*> profiles_;
    // Why the file read last has to be kept aside before a save may replace it (empty: it need
    // not be, or it has been).
    std::wstring damaged_;
    // Saves go beside the file and the log said so.
    bool savedBesideLogged_ = false;
    // kSavedBeside was not read and could not be kept aside: no save may replace or remove it.
    bool besideUnread_ = false;
    Profil* active_ = nullptr;
    bool readWhole_ = false;
    std::wstring filePath_;
    Orvex::XMLNode::Refusal refused_ = Orvex::XMLNode::Refusal::kNone;
};

}  // namespace Solitaire
