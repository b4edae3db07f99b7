// The profile list and the profile file: loading (keeping a damaged or unreadable file aside, the
// profiles saved beside it), saving, and the list operations with their signals.
#include "game/app/ProfilManager.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

#include "engine/core/AppInfo.h"
#include "engine/core/CodePage.h"
#include "engine/core/File.h"
#include "engine/core/Logger.h"
#include "engine/core/Utils.h"
#include "engine/core/XMLNode.h"
#include "game/app/Profil.h"
#include "game/app/SolitaireManager.h"
#include "port/win32/win32_paths.h"

namespace Solitaire {

ProfilManager& ProfilManager::instance() {
    static ProfilManager manager;
    return manager;
}

ProfilManager::~ProfilManager() {
    for (Profil* profile : profiles_) profile->release();
}

std::wstring ProfilManager::getFilePath() const {
    if (!filePath_.empty()) return filePath_;
    return Orvex::AppInfo::getInstance().getUserFolder() + L"\\" + kFileName;
}

void ProfilManager::clear() {
    // The signal hands the leaving profile over while it still lives.
    Profil* const old = active_;
    active_ = nullptr;
    activeChanged(old, nullptr);
    for (Profil* profile : profiles_) profile->release();
    profiles_.clear();
    listChanged();
    damaged_.clear();
    savedBesideLogged_ = false;
    besideUnread_ = false;
}

namespace {

using Orvex::XMLNode;

// A file kept aside is copied in blocks of this size, so keeping it costs no more memory whatever
// its size.
constexpr std::size_t kCopyBlock = std::size_t{1} << 16;

std::wstring errorText(int error) { return Orvex::toWideString(std::strerror(error)); }

// Whether any entry has the name (a link that leads nowhere too); a name that cannot be looked
// at counts as taken.
bool taken(std::string const& host) {
    std::error_code error;
    return std::filesystem::symlink_status(host, error).type() != std::filesystem::file_type::not_found;
}

// Why the entry that did not read completely has to be kept aside: it cannot be opened or read
// (unreadable), or it does not read completely (damaged); empty when it is missing or empty.
std::wstring whyKept(std::string const& host) {
    if (!taken(host)) return {};
    // Something other than a file (a FIFO, a folder) is never opened: it cannot be read.
    std::wstring const kind = port::notRegularFile(host);
    if (!kind.empty()) return L"cannot be read (" + kind + L")";
    std::FILE* in = Orvex::openWholeFile(host, "rb");
    if (!in) return L"cannot be opened (" + errorText(errno) + L")";
    char byte = 0;
    std::size_t const got = std::fread(&byte, 1, 1, in);
    int const error = errno;
    bool const failed = got == 0 && std::ferror(in);
    std::fclose(in);
    if (failed) return L"cannot be read (" + errorText(error) + L")";
    return got > 0 ? L"does not read completely" : L"";
}

// What the log says when no ".bad" number is free.
std::wstring allNumbersTaken() {
    return L"\".bad1\" to \".bad" + std::to_wstring(ProfilManager::kMaxKeptAside) + L"\" are all taken";
}

// The first ".bad" number no entry has, or 0.
int firstFreeNumber(std::string const& host) {
    for (int number = 1; number <= ProfilManager::kMaxKeptAside; ++number)
        if (!taken(host + ".bad" + std::to_string(number))) return number;
    return 0;
}

// The file copied block by block into a new file, made durable before the caller replaces the
// original: empty, or why it could not be (no part of a copy is left; `to` is never replaced).
std::wstring copyIntoNewFile(std::string const& from, std::string const& to) {
    std::wstring whyNot;
    std::FILE* in = Orvex::openWholeFile(from, "rb", &whyNot);
    if (!in) return whyNot;
    // "x": never over a file that is there.
    std::FILE* out = Orvex::openWholeFile(to, "wbx", &whyNot);
    if (!out) {
        std::fclose(in);
        return whyNot;
    }
    int error = 0;
    std::vector<char> block(kCopyBlock);
    for (std::size_t got; error == 0 && (got = std::fread(block.data(), 1, block.size(), in)) > 0;)
        if (std::fwrite(block.data(), 1, got, out) != got) error = errno;
    if (error == 0 && std::ferror(in)) error = errno;
    if (error == 0 && !port::commitFile(out)) error = errno;
    if (std::fclose(out) != 0 && error == 0) error = errno;
    std::fclose(in);
    if (error == 0) return {};
    std::remove(to.c_str());
    return errorText(error);
}

}  // namespace

bool ProfilManager::writeOver(XMLNode const& tree) {
    std::wstring const path = getFilePath();
    if (!tree.save(path, true)) return false;
    if (!besideUnread_) std::remove((port::hostPath(path) + port::hostPathNoLookup(kSavedBeside)).c_str());
    return true;
}

void ProfilManager::keepBesideAside(std::wstring const& why) {
    std::string const host = port::hostPath(getFilePath());
    std::string const besideHost = host + port::hostPathNoLookup(kSavedBeside);
    std::wstring const beside = port::windowsPath(besideHost);
    // Moved, not copied: it is not wanted under its name, and a move needs neither room nor reading.
    int const number = firstFreeNumber(host);
    std::string const target = host + ".bad" + std::to_string(number);
    if (number > 0 && port::renameWithoutReplacing(besideHost, target)) {
        Orvex::logError(L"Profiles: \"" + beside + L"\" " + why + L"; it is kept as \"" + port::windowsPath(target) + L"\"");
        return;
    }
    Orvex::logError(L"Profiles: \"" + beside + L"\" " + why + L" and cannot be kept aside (" +
                    (number > 0 ? errorText(errno) : allNumbersTaken()) + L"); it stays as it is, and no save replaces it");
    besideUnread_ = true;
}

bool ProfilManager::keepAsideAndWrite(XMLNode const& tree) {
    std::wstring const path = getFilePath();
    std::string const host = port::hostPath(path);
    int const number = firstFreeNumber(host);
    std::string const target = host + ".bad" + std::to_string(number);
    std::wstring const kept = port::windowsPath(target);
    std::wstring why = allNumbersTaken();
    if (number > 0) {
        std::wstring const notCopied = copyIntoNewFile(host, target);
        if (notCopied.empty()) {
            Orvex::logError(L"Profiles: \"" + path + L"\" " + damaged_ + L"; a copy is kept as \"" + kept + L"\"");
            damaged_.clear();
            if (writeOver(tree)) return true;
            Orvex::logError(L"Profiles: the profiles read from \"" + path +
                            L"\" could not be written over it; it stays as it was until a save succeeds");
            return false;
        }
        why = L"no copy could be made: " + notCopied;
    }
    // No copy: the profiles are written beside the file before it is moved, so that one of the
    // two holds them whenever the game may end.
    std::string const besideHost = host + port::hostPathNoLookup(kSavedBeside);
    std::wstring const beside = port::windowsPath(besideHost);
    if (besideUnread_ || !tree.save(beside, true)) {
        Orvex::logError(L"Profiles: \"" + path + L"\" " + damaged_ + L" and could not be copied aside (" + why +
                        L"); it stays as it is, and the profiles could not be saved beside it either: what is "
                        L"played now is not kept");
        return false;
    }
    if (number > 0) {
        if (port::renameWithoutReplacing(host, target)) {
            // Should the saved file not take the name, the next load finds it where it is.
            bool const named = std::rename(besideHost.c_str(), host.c_str()) == 0;
            Orvex::logError(L"Profiles: \"" + path + L"\" " + damaged_ + L"; it could not be copied (" + why +
                            L") and is moved to \"" + kept + L"\"" +
                            (named ? L"" : L"; the profiles stay saved as \"" + beside + L"\""));
            damaged_.clear();
            return true;
        }
        why += L"; it cannot be moved either: " + errorText(errno);
    }
    if (!savedBesideLogged_)
        Orvex::logError(L"Profiles: \"" + path + L"\" " + damaged_ + L" and cannot be kept aside (" + why +
                        L"); it stays as it is, and the profiles are saved as \"" + beside + L"\" until it can be");
    savedBesideLogged_ = true;
    return true;
}

bool ProfilManager::loadProfiles() {
    clear();
    std::wstring const path = getFilePath();
    std::string const host = port::hostPath(path);
    XMLNode tree;
    XMLNode::ReadResult read = tree.loadChecked(path, 1, kMaxFileBytes);
    std::wstring source = path;
    // Profiles saved beside a file that could not be kept aside, or before they took its name.
    std::string const besideHost = host + port::hostPathNoLookup(kSavedBeside);
    if (read == XMLNode::ReadResult::kComplete) {
        // Saved beside before the file was written whole: not read, and kept rather than removed
        // by the next save.
        if (!whyKept(besideHost).empty()) keepBesideAside(L"is not read, as \"" + path + L"\" reads completely");
    } else {
        damaged_ = whyKept(host);
        XMLNode saved;
        if (!taken(besideHost) ||
            saved.loadChecked(port::windowsPath(besideHost), 1, kMaxFileBytes) != XMLNode::ReadResult::kComplete) {
            if (std::wstring const why = whyKept(besideHost); !why.empty()) keepBesideAside(why);
        } else {
            source = port::windowsPath(besideHost);
            tree = std::move(saved);
            read = XMLNode::ReadResult::kComplete;
            if (damaged_.empty()) {
                // The file was moved aside (or never held anything): the saved one takes its name.
                if (std::rename(besideHost.c_str(), host.c_str()) == 0) source = path;
            } else {
                Orvex::logError(L"Profiles: \"" + path + L"\" " + damaged_ + L"; the profiles saved beside it as \"" +
                                source + L"\" are read");
            }
        }
    }
    if (read == XMLNode::ReadResult::kNothing && damaged_.empty()) return false;

    for (XMLNode* child : tree.children()) {
        if (child->getName() != Profil::kElementName) continue;
        if (profiles_.size() >= kMaxProfiles) {
            // A save writes the first ones only: the whole file is kept aside first.
            if (damaged_.empty())
                damaged_ = L"holds more than " + std::to_wstring(kMaxProfiles) + L" profiles (the first " +
                           std::to_wstring(kMaxProfiles) + L" are read)";
            break;
        }
        profiles_.push_back(new Profil(*child, source));
    }
    listChanged();
    if (Orvex::XMLAttribute const* active = tree.getAttribute(L"ACTIVE_PROFIL")) {
        Profil* const old = active_;
        active_ = findProfile(active->getString());
        activeChanged(old, active_);
    }
    if (XMLNode const* highscores = tree.getChild(L"HIGHSCORES"))
        SolitaireManager::instance().readHighscores(*highscores, source);
    // What was read goes to disk now, not at the game's end, which may never come.
    if (!damaged_.empty()) saveProfiles();
    return read != XMLNode::ReadResult::kNothing;
}

bool ProfilManager::saveProfiles() {
    // Collect, then write: the live profile's trees are taken from the managers first.
    if (Profil* live = Profil::liveProfile()) live->collectLiveData();
    XMLNode tree(L"PROFILE");
    for (Profil* profile : profiles_) profile->writeXML(*tree.addChild(Profil::kElementName));
    if (active_) tree.setAttribute(L"ACTIVE_PROFIL", active_->getName());
    SolitaireManager::instance().writeHighscores(*tree.addChild(L"HIGHSCORES"));
    bool const kept = damaged_.empty() ? writeOver(tree) : keepAsideAndWrite(tree);
    if (!kept) saveFailed();
    return kept;
}

void ProfilManager::addProfile(Profil* profile) {
    if (!profile || std::find(profiles_.begin(), profiles_.end(), profile) != profiles_.end()) return;
    profiles_.push_back(profile);
    listChanged();
    if (!active_) {
        active_ = profile;
        activeChanged(nullptr, profile);
    }
}

void ProfilManager::removeProfile(Profil* profile) {
    if (!profile || std::find(profiles_.begin(), profiles_.end(), profile) == profiles_.end()) return;
    profiles_.erase(std::remove(profiles_.begin(), profiles_.end(), profile), profiles_.end());
    if (active_ == profile) {
        active_ = nullptr;
        activeChanged(profile, nullptr);
    }
    listChanged();
    profile->release();
}

void ProfilManager::setActiveProfile(Profil* profile) {
    Profil* const old = active_;
    active_ = profile;
    activeChanged(old, profile);
}

Profil* ProfilManager::getProfile(int index) const {
    return index >= 0 && index < getProfileCount() ? profiles_[static_cast<std::size_t>(index)] : nullptr;
}

Profil* ProfilManager::findProfile(std::wstring const& name) const {
    return Orvex::findNamedObject(profiles_, name);
}

void ProfilManager::buildAllCampaignTables() {
    for (Profil* profile : profiles_) profile->buildCampaignTable();
}

}  // namespace Solitaire
