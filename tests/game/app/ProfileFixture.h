// Profiles for tests: the shipped catalogue, an achievement to count, and profile files from
// tests/game/app/data copied into a fresh folder as its "profile.prf", which the profile list
// then reads and writes.
#pragma once

#include <filesystem>
#include <string>

#include "game/app/Profil.h"
#include "game/app/ProfilManager.h"
#include "game/cards/AchivementManager.h"
#include "tests/game/app/CatalogueFixture.h"
#include "tests/game/cards/AchivementDefinitions.h"
#include "tests/game/cards/ProfileFiles.h"

namespace apptest {

class ProfileFixture : public CatalogueFixture {
protected:
    void SetUp() override {
        CatalogueFixture::SetUp();
        // A game object of an earlier test in the process loads the registry anew.
        Solitaire::AchivementManager& achievements = Solitaire::AchivementManager::instance();
        if (!achievements.find(L"KARTEN_MOVED"))
            cardstest::loadDefinitions(achievements, L"<A><ACHIVEMENT NAME=\"KARTEN_MOVED\"/></A>");
        achievements.resetAll();
        loadShipped();
    }

    static Solitaire::ProfilManager& profiles() { return Solitaire::ProfilManager::instance(); }

    // A fresh folder whose "profile.prf" the list uses; with a data file name, that file's copy.
    std::filesystem::path useFile(std::string const& folder, std::string const& dataFile = "") {
        std::filesystem::path const dir = testsupport::makeTempDir(folder);
        std::filesystem::path const file = dir / "profile.prf";
        if (!dataFile.empty())
            std::filesystem::copy_file(testsupport::sourceDir() / "tests/game/app/data" / dataFile, file);
        profiles().setFilePath(cardstest::hostFile(file));
        return file;
    }
};

}  // namespace apptest
