// Fuzzes the results, campaign and free-play screens: the input is a profile file, loaded against
// the shipped catalogue into a game object built once on the game's own data (headless); every
// profile is made active and every screen built from it: the chapter and level screens of each
// chapter with their pages turned, each variant's highscore list with a click on its entries, the
// statistics, the results screen for every rating in both modes, and the free-play columns with a
// click on every button. A list that does not match its data, or a page outside its range, aborts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIScrollPanel.h"
#include "game/app/FreePlaySelection.h"
#include "game/app/HighscoreEintrag.h"
#include "game/app/Profil.h"
#include "game/app/ProfilManager.h"
#include "game/app/SolCategorie.h"
#include "game/app/SolSolitaire.h"
#include "game/app/SolVariant.h"
#include "game/app/SolitaireGame2.h"
#include "game/app/SolitaireManager.h"
#include "port/win32/win32_paths.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tests/game/app/GameOnData.h"

namespace {

using Solitaire::SolitaireGame2;
using Solitaire::SolitaireManager;

std::size_t listedHighscores() {
    auto* panel = dynamic_cast<Orvex::GUIScrollPanel*>(SolitaireGame2::findWindow(L"STG_HIGHSCORE_SCROLL"));
    return panel ? panel->getContentPanel()->getChildren().size() : 0;
}

void buildCampaign(SolitaireGame2& game) {
    Solitaire::CampaignScreens& screens = game.getCampaignScreens();
    Solitaire::CampaignScreens::refreshResults();
    screens.refreshChapters();
    Orvex::GUIWindow* buttons = SolitaireGame2::findWindow(L"K_KategorieButtons");
    for (int n = 1; buttons && n <= 3; ++n) {
        Orvex::GUIWindow* chapter = buttons->findChild(L"K_KategorieButton" + std::to_wstring(n));
        if (!chapter) continue;
        screens.onChapterClicked(*chapter);
        game.buildLevelScreen();
        if (screens.getCurrentPage() < -1 || screens.getCurrentPage() >= screens.getPageCount()) std::abort();
        Orvex::GUIWindow* next = SolitaireGame2::findWindow(L"LA_NextPage");
        Orvex::GUIWindow* previous = SolitaireGame2::findWindow(L"LA_PrevPage");
        for (int i = 0; next && previous && i < 3; ++i) {
            screens.onNextPage(*next);
            screens.onPrevPage(*previous);
            if (screens.getCurrentPage() < -1 || screens.getCurrentPage() >= screens.getPageCount()) std::abort();
        }
    }
}

void buildHighscores(SolitaireGame2& screens) {
    SolitaireManager& catalogue = SolitaireManager::instance();
    for (Solitaire::SolCategorie* category : catalogue.getCategories())
        for (Solitaire::SolSolitaire* game : category->getGames())
            for (Solitaire::SolVariant* variant : game->getVariants()) {
                catalogue.setCurrentByNames(category->getName(), game->getName(), variant->getName());
                screens.getResults().refreshHighscoreList();
                if (listedHighscores() != variant->getHighscores().size()) std::abort();
                auto* panel = dynamic_cast<Orvex::GUIScrollPanel*>(SolitaireGame2::findWindow(L"STG_HIGHSCORE_SCROLL"));
                if (panel && !panel->getContentPanel()->getChildren().empty()) {
                    screens.getResults().onHighscoreEntryClicked(*panel->getContentPanel()->getChildren().front());
                    screens.getResults().copySelectedHighscoreSeed();
                }
            }
    screens.getResults().refreshStatistics();
}

void buildFreePlay(SolitaireGame2& screens) {
    Solitaire::FreePlaySelection& catalogue = screens.getFreePlay();
    catalogue.buildCategoryPanel();
    catalogue.selectFirstEntries();
    std::vector<Orvex::GUIButton*> const categories = catalogue.getCategoryButtons();
    for (Orvex::GUIButton* category : categories) {
        category->addRef();
        catalogue.onCategoryButton(*category);
        std::vector<Orvex::GUIButton*> const games = catalogue.getGameButtons();
        for (Orvex::GUIButton* game : games) {
            game->addRef();
            catalogue.onGameButton(*game);
            std::vector<Orvex::GUIButton*> const variants = catalogue.getVariantButtons();
            for (Orvex::GUIButton* variant : variants) catalogue.onVariantButton(*variant);
            game->release();
        }
        category->release();
    }
    catalogue.scrollPanelsToSelection(Solitaire::FreePlaySelection::kScrollAll);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, std::size_t size) {
    fuzz::quietLog();
    SolitaireGame2& screens = apptest::gameOnData(ORVEX_SOURCE_DIR, 640, 480);
    std::filesystem::path const file =
        fuzz::writeInput(fuzz::emptyInputFolder("play_screens"), "profile.prf", data, size);
    Solitaire::ProfilManager& profiles = Solitaire::ProfilManager::instance();
    profiles.setFilePath(port::windowsPath(file.string()));
    profiles.loadProfiles();
    profiles.buildAllCampaignTables();
    for (int i = 0; i < profiles.getProfileCount(); ++i) {
        Solitaire::Profil* profile = profiles.getProfile(i);
        profiles.setActiveProfile(profile);
        profile->activate();
        buildCampaign(screens);
        buildHighscores(screens);
        for (int rating = -1; rating <= 5; ++rating) {
            screens.getResults().showResults(rating, true, true, false, false);
            screens.getResults().showResults(rating, true, false, rating < 2, rating < 3);
        }
        buildFreePlay(screens);
    }
    profiles.clear();
    for (Solitaire::SolVariant* variant : SolitaireManager::instance().collectVariants()) variant->clearHighscores();
    return 0;
}
