// The profile list and the profile file: loading (keeping a damaged file aside), saving, and the
// list operations with their signals.
#include "game/app/ProfilManager.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "engine/core/AppInfo.h"
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
}

void ProfilManager::keepAside(std::wstring const& path, std::wstring const& reason, std::wstring const& kept) {
    std::string const host = port::hostPath(path);
    std::error_code error;
    std::string target;
    for (int number = 1; number <= kMaxKeptAside; ++number) {
        target = host + ".bad" + std::to_string(number);
        if (!std::filesystem::exists(target, error)) break;
    }
    if (std::rename(host.c_str(), target.c_str()) == 0)
        Orvex::logError(L"Profiles: \"" + path + L"\" " + reason + L"; kept aside as \"" + port::windowsPath(target) +
                        L"\", " + kept);
    else
        Orvex::logError(L"Profiles: \"" + path + L"\" " + reason + L" and could not be kept aside");
}

bool ProfilManager::loadProfiles() {
    clear();
    std::wstring const path = getFilePath();
    Orvex::XMLNode tree;
    Orvex::XMLNode::ReadResult const read = tree.loadChecked(path, 1);
    bool keptAside = false;
    if (read != Orvex::XMLNode::ReadResult::kComplete) {
        std::error_code error;
        std::uintmax_t const size = std::filesystem::file_size(port::hostPath(path), error);
        keptAside = !error && size > 0;
        if (keptAside) keepAside(path, L"does not read completely", L"the profiles read from it stay loaded");
    }
    if (read == Orvex::XMLNode::ReadResult::kNothing) return false;

    for (Orvex::XMLNode* child : tree.children()) {
        if (child->getName() != Profil::kElementName) continue;
        if (profiles_.size() >= kMaxProfiles) {
            // The next save would write the first ones only: the whole file is kept aside first.
            if (!keptAside)
                keepAside(path, L"holds more than " + std::to_wstring(kMaxProfiles) + L" profiles",
                          L"the first " + std::to_wstring(kMaxProfiles) + L" stay loaded");
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
    return true;
}

bool ProfilManager::saveProfiles() {
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
