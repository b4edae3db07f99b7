// The profile list and the profile file: loading (keeping a damaged or unreadable file aside, the
// profiles saved beside it), saving, and the list operations with their signals.
#include "game/app/ProfilManager.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "engine/core/AppInfo.h"
#include "engine/core/KeepAside.h"
#include "engine/core/Logger.h"
#include "engine/core/ReadProblems.h"
#include "engine/core/Utils.h"
#include "engine/core/XMLNode.h"
#include "engine/core/XMLShape.h"
#include "game/app/Profil.h"
#include "game/app/SolitaireManager.h"
#include "game/cards/Statistik.h"
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

using Orvex::XMLNode;

namespace {

// Wishes in, shares out: all of them while they come to at most limit together; else half the
// limit, shared so that no share is more than its wish and the larger wishes get equal shares.
// The wishes are measures of one read's tree, so their sum cannot overflow.
void shareOut(std::vector<std::size_t>& wishes, std::size_t limit) {
    std::size_t total = 0;
    for (std::size_t wish : wishes) total += wish;
    if (total <= limit) return;
    std::vector<std::size_t> ascending = wishes;
    std::sort(ascending.begin(), ascending.end());
    std::size_t left = limit / 2;
    std::size_t cap = 0;
    for (std::size_t i = 0; i < ascending.size(); ++i) {
        cap = left / (ascending.size() - i);
        if (ascending[i] > cap) break;
        left -= ascending[i];
        cap = ascending[i];
    }
    for (std::size_t& wish : wishes) wish = std::min(wish, cap);
}

// What the highscores' reader passes over of their element: all but the variants' lists, all of a
// list but its entries, all of an entry but its first statistics.
void countUnreadHighscores(XMLNode const& highscores, Orvex::XMLShape::LeftOut& unread) {
    for (XMLNode const* list : highscores.children()) {
        if (!(list->name() == L"VARIANT_HIGHSCORES")) {
            unread.add(list->name(), list->getLine());
            continue;
        }
        for (XMLNode const* entry : list->children()) {
            if (!(entry->name() == L"HIGHSCORE")) {
                unread.add(entry->name(), entry->getLine());
                continue;
            }
            XMLNode const* statistik = entry->getChild(Solitaire::Statistik::kElementName);
            for (XMLNode const* child : entry->children())
                if (child != statistik) unread.add(child->name(), child->getLine());
        }
    }
}

}  // namespace

ProfilManager::Shares ProfilManager::share(std::size_t left, std::vector<std::size_t> const& further,
                                           std::vector<std::size_t> wishes) {
    Shares shares;
    std::size_t wished = 0, all = 0;
    for (std::size_t wish : wishes) wished += wish;
    for (std::size_t cost : further) all += cost;
    if (wished <= left) {
        // All while they fit; else half of what the profiles leave, so what is played has room.
        std::size_t room = all <= left - wished ? all : (left - wished) / 2;
        for (; shares.furtherHighscores < further.size(); ++shares.furtherHighscores) {
            if (further[shares.furtherHighscores] > room) break;
            room -= further[shares.furtherHighscores];
        }
    }
    shareOut(wishes, left);
    shares.profiles = std::move(wishes);
    return shares;
}

bool ProfilManager::writeOver(XMLNode const& tree) {
    std::wstring const path = getFilePath();
    if (!tree.save(path, true, kMaxFileBytes, &refused_)) return false;
    if (!besideUnread_) std::remove((port::hostPath(path) + port::hostPathNoLookup(kSavedBeside)).c_str());
    return true;
}

void ProfilManager::keepBesideAside(std::wstring const& why) {
    std::string const host = port::hostPath(getFilePath());
    std::string const besideHost = host + port::hostPathNoLookup(kSavedBeside);
    std::wstring const beside = port::windowsPath(besideHost);
    Orvex::KeptAside const kept = Orvex::keepAside(besideHost, host, kMaxFileBytes);
    if (!kept.place.empty()) {
        Orvex::logError(L"Profiles: \"" + beside + L"\" " + why + kept.told());
        return;
    }
    Orvex::logError(L"Profiles: \"" + beside + L"\" " + why + L" and cannot be kept aside (" + kept.whyNot +
                    L"); it stays as it is, and no save replaces it");
    besideUnread_ = true;
}

bool ProfilManager::keepAsideAndWrite(XMLNode const& tree) {
    std::wstring const path = getFilePath();
    std::string const host = port::hostPath(path);
    // The profiles are written beside the file before it is moved, so that one of the two holds
    // them whenever the game may end.
    std::string const besideHost = host + port::hostPathNoLookup(kSavedBeside);
    std::wstring const beside = port::windowsPath(besideHost);
    if (besideUnread_ || !tree.save(beside, true, kMaxFileBytes, &refused_)) {
        Orvex::logError(L"Profiles: \"" + path + L"\" " + damaged_ +
                        L"; it stays as it is, and the profiles could not be saved beside it: what is played now is "
                        L"not kept");
        return false;
    }
    Orvex::KeptAside const kept = Orvex::keepAside(host, host, kMaxFileBytes);
    if (kept.place.empty()) {
        if (!savedBesideLogged_)
            Orvex::logError(L"Profiles: \"" + path + L"\" " + damaged_ + L" and cannot be kept aside (" + kept.whyNot +
                            L"); it stays as it is, and the profiles are saved as \"" + beside + L"\" until it can be");
        savedBesideLogged_ = true;
        return true;
    }
    // Should the saved file not take the name, the next load finds it where it is.
    bool const named = std::rename(besideHost.c_str(), host.c_str()) == 0;
    Orvex::logError(L"Profiles: \"" + path + L"\" " + damaged_ + kept.told(L"it is moved to") +
                    (named ? L"" : L"; the profiles stay saved as \"" + beside + L"\""));
    damaged_.clear();
    return true;
}

bool ProfilManager::loadProfiles() {
    clear();
    readWhole_ = false;
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
        if (!Orvex::whyKeepAside(besideHost, kMaxFileBytes).empty()) keepBesideAside(L"is not read, as \"" + path + L"\" reads completely");
    } else {
        damaged_ = Orvex::whyKeepAside(host, kMaxFileBytes);
        XMLNode saved;
        if (!Orvex::isNameTaken(besideHost) ||
            saved.loadChecked(port::windowsPath(besideHost), 1, kMaxFileBytes) != XMLNode::ReadResult::kComplete) {
            if (std::wstring const why = Orvex::whyKeepAside(besideHost, kMaxFileBytes); !why.empty()) keepBesideAside(why);
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

    // The highscores first: the profiles keep what the file's own element and the best highscores
    // a variant keeps after a game leave, before the highscores past them.
    SolitaireManager& catalogue = SolitaireManager::instance();
    XMLNode rest(L"PROFILE");
    wchar_t const* const moreHighscores = L"holds more highscores than the game keeps (the best are read)";
    XMLNode const* const highscores = tree.getChild(L"HIGHSCORES");
    if (highscores) {
        if (catalogue.readHighscores(*highscores, source) && damaged_.empty()) damaged_ = moreHighscores;
        Orvex::XMLShape::LeftOut unread;
        countUnreadHighscores(*highscores, unread);
        if (unread.count() > 0)
            Orvex::logError(L"Profiles: \"" + source + L"\": " +
                            unread.told(L"elements among the highscores that the game does not read"));
    }
    // The active profile's name as long as a profile's may be, each character two UTF-16 units.
    rest.setAttribute(L"ACTIVE_PROFIL", std::wstring(2 * Profil::kMaxNameLength, L'_'));
    catalogue.writeHighscores(*rest.addChild(L"HIGHSCORES"), SolitaireManager::kHighscoresKept);
    std::size_t const left = Profil::kMaxKeptBytes - std::min(XMLNode::savedCost(rest), Profil::kMaxKeptBytes);
    rest.clear();
    std::vector<std::size_t> const further = catalogue.highscoreCostsPast(SolitaireManager::kHighscoresKept);

    // The profiles read: the first kMaxProfiles, and among them the active one wherever it stands,
    // so that a profile made and chosen when the list was full is there at the next start.
    Orvex::XMLAttribute const* active = tree.getAttribute(L"ACTIVE_PROFIL");
    // Cut as the profiles' names are.
    std::wstring const activeName = active ? active->text().head(Profil::kMaxNameLength) : L"";
    auto isActive = [&](XMLNode const& element) {
        Orvex::XMLAttribute const* name = element.getAttribute(L"NAME");
        return active && name && name->text().head(Profil::kMaxNameLength) == activeName;
    };
    std::vector<XMLNode*> chosen;
    bool activeChosen = false;
    std::size_t held = 0;
    // Beside the profiles the game reads the first highscores and nothing else; a save drops the rest.
    Orvex::XMLShape::LeftOut unread;
    for (XMLNode* child : tree.children()) {
        if (!(child->name() == Profil::kElementName)) {
            if (child != highscores) unread.add(child->name(), child->getLine());
            continue;
        }
        ++held;
        if (chosen.size() < kMaxProfiles) {
            chosen.push_back(child);
            activeChosen = activeChosen || isActive(*child);
        } else if (!activeChosen && isActive(*child)) {
            chosen.back() = child;
            activeChosen = true;
        }
    }
    if (unread.count() > 0)
        Orvex::logError(L"Profiles: \"" + source + L"\": " +
                        unread.told(L"elements beside the profiles and highscores that the game does not read"));
    // A save writes these only: the whole file is kept aside first.
    if (held > kMaxProfiles && damaged_.empty())
        damaged_ = L"holds more than " + std::to_wstring(kMaxProfiles) + L" profiles (the first " +
                   std::to_wstring(kMaxProfiles) + L" are read)";

    // What each profile would keep. Together at most what the file leaves them: else they share
    // half of it (so that what is saved, with what is played since, is read whole next time), each
    // as much as it would keep up to an equal share of what the smaller ones leave.
    std::vector<Profil::Measure> measured;
    std::vector<std::size_t> wishes;
    for (XMLNode const* child : chosen) {
        measured.push_back(Profil::measure(*child));
        wishes.push_back(measured.back().bytes);
    }
    Shares const shares = share(left, further, wishes);
    if (shares.furtherHighscores < further.size()) {
        catalogue.keepHighscoresPast(SolitaireManager::kHighscoresKept, shares.furtherHighscores);
        Orvex::logError(L"Profiles: \"" + source + L"\": " + std::to_wstring(further.size() - shares.furtherHighscores) +
                        L" highscores past a variant's best " + std::to_wstring(SolitaireManager::kHighscoresKept) +
                        L" are left out, so that the profiles keep what they hold");
        if (damaged_.empty()) damaged_ = moreHighscores;
    }
    // A line for each of the first profiles with refusals (it says what was left out), a count of the rest.
    std::size_t refusing = 0;
    for (std::size_t i = 0; i < chosen.size(); ++i) {
        Orvex::ReadProblems problems;
        profiles_.push_back(new Profil(*chosen[i], source, measured[i], shares.profiles[i], &problems));
        if (!problems.empty() && refusing++ < kLoggedProfiles)
            problems.log(L"Profile \"" + profiles_.back()->getName() + L"\"", source, chosen[i]->getLine());
        if (profiles_.back()->leftOutOnRead() && damaged_.empty())
            damaged_ = L"holds more than the game keeps of a profile (what it keeps is read)";
    }
    if (refusing > kLoggedProfiles)
        Orvex::logError(L"Profiles: \"" + source + L"\": " + std::to_wstring(refusing - kLoggedProfiles) +
                        L" more profiles hold what the game refuses or leaves out (a line for each of the first " +
                        std::to_wstring(kLoggedProfiles) + L")");
    listChanged();
    if (active) {
        Profil* const old = active_;
        active_ = findProfile(activeName);
        activeChanged(old, active_);
    }
    readWhole_ = read == XMLNode::ReadResult::kComplete && damaged_.empty();
    // The profiles hold what they read: the file's text and tree go before the save builds its own.
    tree.clear();
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
    refused_ = XMLNode::Refusal::kNotWritten;
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
