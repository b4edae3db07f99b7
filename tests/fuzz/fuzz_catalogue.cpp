// Fuzzes the catalogue reader with its goals: the input read as a "Level.dat" (its text files
// named there included). Every variant must end with three goals whose tests and progress texts
// run on a record; a second read of the same tree gives the same catalogue shape.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "game/app/LevelGoal.h"
#include "game/app/SolCategorie.h"
#include "game/app/SolSolitaire.h"
#include "game/app/SolVariant.h"
#include "game/app/SolitaireManager.h"
#include "game/cards/Kartenmanager.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

std::size_t shape(Solitaire::SolitaireManager const& catalogue) {
    std::size_t count = catalogue.getCategories().size();
    for (Solitaire::SolCategorie const* category : catalogue.getCategories()) {
        if (category->getGames().size() > Solitaire::SolCategorie::kMaxGames) std::abort();
        for (Solitaire::SolSolitaire const* game : category->getGames()) {
            if (game->getVariants().size() > Solitaire::SolSolitaire::kMaxVariants) std::abort();
            count += game->getVariants().size() * 7;
        }
    }
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, std::size_t size) {
    fuzz::quietLog();
    Orvex::XMLNode root;
    if (!fuzz::readTree(data, size, root)) return 0;
    Solitaire::SolitaireManager& catalogue = Solitaire::SolitaireManager::instance();
    catalogue.clear();
    catalogue.loadCatalogue(root, L"fuzz.dat");
    if (catalogue.getCategories().size() > Solitaire::SolitaireManager::kMaxCategories) std::abort();
    Solitaire::GameEndParms parms;
    parms.score = 500.0f;
    parms.time = 90.0f;
    parms.restRatio = 0.5f;
    parms.clearedRatio = 0.5f;
    for (Solitaire::SolVariant const* variant : catalogue.collectVariants()) {
        if (variant->getGoals().size() != 3) std::abort();
        std::wstring text;
        for (auto const& goal : variant->getGoals()) {
            goal->formatProgress(text, parms);
            goal->isReached(parms);
        }
        int const rating = variant->getStarRating(parms);
        if (rating < 1 || rating > 4) std::abort();
        catalogue.getBackgroundForVariant(variant);
    }
    std::size_t const first = shape(catalogue);
    catalogue.clear();
    catalogue.loadCatalogue(root, L"fuzz.dat");
    if (shape(catalogue) != first) std::abort();
    catalogue.clear();
    return 0;
}
