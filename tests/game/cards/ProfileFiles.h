// Files of the profile's shape for the statistics and achievement tests, until the game's own
// profile exists: root "PROFILE" with one "PROFIL" holding "STATISTIK", "ACHIVEMENT_DATA" and
// "PROFILE_DATA", written with XMLNode::save as the profile will be.
#pragma once

#include <filesystem>
#include <string>

#include "engine/core/GOBManager.h"
#include "engine/core/XMLNode.h"
#include "port/win32/win32_paths.h"
#include "tests/support/TestSupport.h"

namespace cardstest {

// A profile with a piece of per-variant data, so tests can see it is left alone.
inline Orvex::XMLNode makeProfile() {
    Orvex::XMLNode root(L"PROFILE");
    Orvex::XMLNode* profile = root.addChild(L"PROFIL");
    profile->setAttribute(L"NAME", L"Tester");
    profile->addChild(L"STATISTIK");
    profile->addChild(L"ACHIVEMENT_DATA");
    Orvex::XMLNode* variant = profile->addChild(L"PROFILE_DATA")->addChild(L"VARIANT_DATA");
    variant->setAttribute(L"GAME", L"KLONDIKE");
    variant->addChild(L"QUICK_SAVE")->setAttribute(L"SCORE_PLUS", L"120");
    return root;
}

inline Orvex::XMLNode& profilePart(Orvex::XMLNode& root, wchar_t const* part) {
    return *root.getChild(L"PROFIL")->getChild(part);
}

inline std::wstring hostFile(std::filesystem::path const& path) { return port::windowsPath(path.string()); }

// The profile saved as the game saves it (UTF-16) into a fresh folder and loaded back.
inline bool saveAndLoad(Orvex::XMLNode const& profile, std::string const& folder, Orvex::XMLNode& loaded) {
    std::wstring const file = hostFile(testsupport::makeTempDir(folder) / "profile.prf");
    return profile.save(file, true) && loaded.load(file, 1);
}

// The source tree as a search path, so "data\..." names open as the game opens them. Asked for
// by each test: a game's fixture of an earlier test in the same process empties the list.
// (A path the list holds is not added twice.)
inline void useSourceData() {
    Orvex::GOBManager::getInstance().addSearchPath(port::windowsPath(testsupport::sourceDir().string()));
}

}  // namespace cardstest
