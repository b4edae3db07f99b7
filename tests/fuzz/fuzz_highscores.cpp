// Fuzzes the highscore and per-variant data readers against the shipped catalogue: the input's
// "HIGHSCORES" (or the input itself) to readHighscores, its first profile's "PROFILE_DATA" (or the
// input itself) to readVariantData; lists stay within their bound, and what is written reads back
// to the same lists.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "game/app/HighscoreEintrag.h"
#include "game/app/SolVariant.h"
#include "tests/fuzz/AppFuzzSupport.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, std::size_t size) {
    fuzz::quietLog();
    Solitaire::SolitaireManager& catalogue = fuzz::shippedCatalogue();
    Orvex::XMLNode root;
    if (!fuzz::readTree(data, size, root)) return 0;
    Orvex::XMLNode const* highscores = root.getChild(L"HIGHSCORES");
    catalogue.readHighscores(highscores ? *highscores : root, L"fuzz.prf");
    Orvex::XMLNode const* profile = root.getChild(L"PROFIL");
    Orvex::XMLNode const* variantData = profile ? profile->getChild(L"PROFILE_DATA") : nullptr;
    catalogue.readVariantData(variantData ? *variantData : root);
    std::size_t entries = 0;
    for (Solitaire::SolVariant const* variant : catalogue.collectVariants()) {
        if (variant->getHighscores().size() > Solitaire::SolitaireManager::kMaxReadHighscores) std::abort();
        entries += variant->getHighscores().size();
    }
    Orvex::XMLNode scores(L"HIGHSCORES"), variants(L"PROFILE_DATA");
    catalogue.writeHighscores(scores);
    catalogue.writeVariantData(variants);
    catalogue.readHighscores(scores);
    catalogue.readVariantData(variants);
    std::size_t again = 0;
    for (Solitaire::SolVariant const* variant : catalogue.collectVariants()) again += variant->getHighscores().size();
    if (again != entries) std::abort();
    Orvex::XMLNode second(L"HIGHSCORES");
    catalogue.writeHighscores(second);
    if (!second.equals(scores)) std::abort();
    catalogue.readHighscores(Orvex::XMLNode());
    catalogue.readVariantData(Orvex::XMLNode());
    return 0;
}
