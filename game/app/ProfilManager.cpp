// The profile list and the profile file: loading (keeping a damaged file aside), saving, and the
// list operations with their signals.
#include "game/app/ProfilManager.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "engine/core/AppInfo.h"
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
}

namespace {

// The whole file's bytes copied into a new file, made durable before the caller replaces the
// original; false (no part of a copy left) when to exists or either side fails.
bool copyIntoNewFile(std::string const& from, std::string const& to) {
    std::string bytes;
    if (std::FILE* in = Orvex::openWholeFile(from, "rb")) {
        char block[65536];
        for (std::size_t got; (got = std::fread(block, 1, sizeof block, in)) > 0;) bytes.append(block, got);
        bool const read = !std::ferror(in);
        std::fclose(in);
        if (!read) return false;
    } else {
        return false;
    }
    // "x": never over a file that is there.
    std::FILE* out = Orvex::openWholeFile(to, "wbx");
    if (!out) return false;
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    written = std::fflush(out) == 0 && written;
    written = port::commitFile(out) && written;
    written = std::fclose(out) == 0 && written;
    if (!written) std::remove(to.c_str());
    return written;
}

}  // namespace

bool ProfilManager::keepAside() {
    std::wstring const path = getFilePath();
    std::string const host = port::hostPath(path);
    std::wstring why = L"\".bad1\" to \".bad" + std::to_wstring(kMaxKeptAside) + L"\" are all taken";
    for (int number = 1; number <= kMaxKeptAside; ++number) {
        std::string const target = host + ".bad" + std::to_string(number);
        std::error_code error;
        if (std::filesystem::exists(target, error) || error) continue;
        if (copyIntoNewFile(host, target)) {
            Orvex::logError(L"Profiles: \"" + path + L"\" " + damaged_ + L"; a copy is kept as \"" +
                            port::windowsPath(target) + L"\"");
            damaged_.clear();
            return true;
        }
        why = L"no copy could be written";
        break;
    }
    Orvex::logError(L"Profiles: \"" + path + L"\" " + damaged_ + L" and could not be copied aside (" + why +
                    L"); it stays as it is, and no save replaces it while no copy is made");
    return false;
}

bool ProfilManager::loadProfiles() {
    clear();
    std::wstring const path = getFilePath();
    Orvex::XMLNode tree;
    Orvex::XMLNode::ReadResult const read = tree.loadChecked(path, 1);
    if (read != Orvex::XMLNode::ReadResult::kComplete) {
        std::error_code error;
        std::uintmax_t const size = std::filesystem::file_size(port::hostPath(path), error);
        if (!error && size > 0) damaged_ = L"does not read completely";
    }
    if (read == Orvex::XMLNode::ReadResult::kNothing && damaged_.empty()) return false;

    for (Orvex::XMLNode* child : tree.children()) {
        if (child->getName() != Profil::kElementName) continue;
        if (profiles_.size() >= kMaxProfiles) {
            // A save writes the first ones only: the whole file is kept aside first.
            if (damaged_.empty())
                damaged_ = L"holds more than " + std::to_wstring(kMaxProfiles) + L" profiles (the first " +
                           std::to_wstring(kMaxProfiles) + L" are read)";
            break;
        }
        profiles_.push_back(new Profil(*child, path));
    }
    listChanged();
    if (Orvex::XMLAttribute const* active = tree.getAttribute(L"ACTIVE_PROFIL")) {
        Profil* const old = active_;
        active_ = findProfile(active->getString());
        activeChanged(old, active_);
    }
    if (Orvex::XMLNode const* highscores = tree.getChild(L"HIGHSCORES"))
        SolitaireManager::instance().readHighscores(*highscores, path);
    // What was read goes to disk now, not at the game's end, which may never come.
    if (!damaged_.empty() && keepAside() && !saveProfiles())
        Orvex::logError(L"Profiles: the profiles read from \"" + path +
                        L"\" could not be written over it; it stays as it was until a save succeeds");
    return read != Orvex::XMLNode::ReadResult::kNothing;
}

bool ProfilManager::saveProfiles() {
    if (!damaged_.empty() && !keepAside()) return false;
    // Collect, then write: the live profile's trees are taken from the managers first.
    if (Profil* live = Profil::liveProfile()) live->collectLiveData();
    Orvex::XMLNode tree(L"PROFILE");
    for (Profil* profile : profiles_) profile->writeXML(*tree.addChild(Profil::kElementName));
    if (active_) tree.setAttribute(L"ACTIVE_PROFIL", active_->getName());
    SolitaireManager::instance().writeHighscores(*tree.addChild(L"HIGHSCORES"));
    return tree.save(getFilePath(), true);
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
