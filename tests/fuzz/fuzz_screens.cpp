// Fuzzes the achievement, options, profile and help screens with a profile file: the input is
// read as "profile.prf" against the shipped catalogue and screens, then for every profile (made
// active, its achievement values handed to the registry) the profile list, the achievement list
// with its hover, the options display and the tutorial switch are built, the medal popups run,
// and the help book is leafed both ways. Checks: one button per profile, the cup bar within 0 to
// 100, the help position a page that exists.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>

#include "engine/core/PerfTimer.h"
#include "engine/gui/GUICheckbox.h"
#include "engine/gui/GUICheckboxButton.h"
#include "engine/gui/GUIProgressBar.h"
#include "game/app/Profil.h"
#include "game/app/ProfilManager.h"
#include "game/cards/AchivementManager.h"
#include "port/win32/win32_paths.h"
#include "tests/fuzz/AppFuzzSupport.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tests/game/app/GameOnData.h"

namespace {

constexpr int kHelpSteps = 24;

void leafHelp(Solitaire::SolitaireGame2& game, bool forward) {
    int page = game.getHelp().getHelpPage(), sub = game.getHelp().getHelpSubPage();
    for (int i = 0; i < kHelpSteps; ++i) {
        game.getHelp().stepHelpPage(page, sub, forward);
        game.getHelp().showHelpPage(page, sub);
    }
    if (page != -1 && !Solitaire::SolitaireGame2::findWindow(L"H_HELP_S" + std::to_wstring(page))) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, std::size_t size) {
    fuzz::quietLog();
    fuzz::shippedCatalogue();
    Solitaire::SolitaireGame2& game = apptest::gameOnData(ORVEX_SOURCE_DIR, 1024, 768);
    std::filesystem::path const file = fuzz::writeInput(fuzz::emptyInputFolder("screens"), "profile.prf", data, size);
    Solitaire::ProfilManager& profiles = Solitaire::ProfilManager::instance();
    profiles.setFilePath(port::windowsPath(file.string()));
    profiles.loadProfiles();
    auto* tutorial = dynamic_cast<Orvex::GUICheckbox*>(Solitaire::SolitaireGame2::findWindow(L"O_Tutorial"));
    for (int i = 0; i < profiles.getProfileCount(); ++i) {
        Solitaire::Profil* profile = profiles.getProfile(i);
        profile->activate();
        profiles.setActiveProfile(profile);
        game.getProfileList().build();
        if (game.getProfileList().getButtonCount() != static_cast<std::size_t>(profiles.getProfileCount())) std::abort();
        game.getAchievementScreen().build();
        auto* cup = dynamic_cast<Orvex::GUIProgressBar*>(Solitaire::SolitaireGame2::findWindow(L"ACH_CUP_GESAMT"));
        if (cup && !(cup->getValue() >= 0.0f && cup->getValue() <= 100.0f)) std::abort();
        for (Solitaire::Achivement* achievement : Solitaire::AchivementManager::instance().getAll())
            if (Orvex::GUIWindow* window = Solitaire::SolitaireGame2::findWindow(achievement->getName())) {
                game.getAchievementScreen().onEntryHovered(*window);
                game.getAchievementScreen().onEntryUnhovered(*window);
            }
        game.getOptions().refresh();
        if (tutorial && tutorial->getButton()) tutorial->getButton()->setChecked(!tutorial->getButton()->isChecked());
        for (int frame = 0; frame < 3; ++frame) {
            Orvex::PerfTimer::frameTimer().advance(3.0);
            game.update();
        }
        leafHelp(game, true);
        leafHelp(game, false);
        if (Orvex::GUIWindow* button = game.getProfileList().getButton(0)) game.getProfileList().onButtonClicked(*button);
        profile->collectLiveData();
    }
    profiles.clear();
    Solitaire::AchivementManager::instance().resetAll();
    return 0;
}
