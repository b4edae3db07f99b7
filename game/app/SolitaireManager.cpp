// The catalogue: the instance, reading "Level.dat", look-ups, previews and the campaign records'
// completion.
#include "game/app/SolitaireManager.h"

#include <algorithm>
#include <optional>

#include "engine/core/Logger.h"
#include "engine/core/ReadOnce.h"
#include "engine/core/Utils.h"
#include "engine/core/XMLNode.h"
#include "engine/core/engine/OrvexEngine.h"
#include "engine/gui/LanguageManager.h"
#include "game/app/CampaignRecords.h"
#include "game/app/CataloguePreview.h"
#include "game/app/SolCategorie.h"
#include "game/app/SolSolitaire.h"
#include "game/app/SolVariant.h"
#include "game/cards/Statistik.h"
#include "game/look/Background.h"
#include "game/look/ReadProblems.h"
#include "game/look/StyleSettings.h"

namespace Solitaire {

SolitaireManager& SolitaireManager::instance() {
    static SolitaireManager manager;
    return manager;
}

SolitaireManager::~SolitaireManager() {
    // At exit the statistics registry may be gone already: only the own references go.
    if (gameStatistik_) gameStatistik_->release();
    if (variantStatistik_) variantStatistik_->release();
    gameStatistik_ = variantStatistik_ = nullptr;
    clear();
}

void SolitaireManager::clear() {
    cleared.emit();
    releaseGameStatistik();
    if (variantStatistik_) variantStatistik_->release();
    variantStatistik_ = nullptr;
    for (SolCategorie* category : categories_) category->release();
    categories_.clear();
    currentCategory_ = nullptr;
    currentGame_ = nullptr;
    currentVariant_ = nullptr;
    savedKartenset_ = savedGameStyle_ = savedBackground_ = SavedName();
    styleParamSaved_ = false;
    alternativeBackground_ = false;
}

void SolitaireManager::loadCatalogue(Orvex::XMLNode& tree, std::wstring const& sourceName) {
    Orvex::ReadOnce texts;  // a text file named again is not read again
    for (Orvex::XMLNode const* child : tree.children()) {
        if (child->getName() != L"TEXT_FILE" || !child->getAttribute(L"FILE")) continue;
        std::wstring const file = child->getAttributeString(L"FILE", L"");
        if (!texts.first(file)) continue;
        Orvex::XMLNode list;
        if (list.load(file)) Orvex::OrvexEngine::getInstance()->getLanguage()->load(list);
    }
    ReadProblems problems;
    for (Orvex::XMLNode* child : tree.children()) {
        if (child->getName() != L"KATEGORIE") continue;
        if (categories_.size() >= kMaxCategories) {
            problems.add(L"more than " + std::to_wstring(kMaxCategories) + L" \"KATEGORIE\" elements; the rest are dropped",
                         child->getLine());
            break;
        }
        categories_.push_back(new SolCategorie(*child, sourceName));
    }
    problems.log(L"Catalogue", sourceName);
    loaded.emit();
}

bool SolitaireManager::loadCatalogueFile(std::wstring const& fileName) {
    Orvex::XMLNode tree;
    if (!tree.load(fileName)) return false;
    loadCatalogue(tree, fileName);
    return true;
}

SolCategorie* SolitaireManager::findCategory(std::wstring const& name) const {
    return Orvex::findNamedObject(categories_, name);
}

std::vector<SolVariant*> SolitaireManager::collectVariants() const {
    std::vector<SolVariant*> variants;
    for (SolCategorie const* category : categories_)
        for (SolSolitaire const* game : category->getGames())
            variants.insert(variants.end(), game->getVariants().begin(), game->getVariants().end());
    return variants;
}

SolVariant* SolitaireManager::findVariant(std::wstring const& category, std::wstring const& game,
                                          std::wstring const& variant) const {
    SolCategorie const* foundCategory = findCategory(category);
    SolSolitaire const* foundGame = foundCategory ? foundCategory->findGame(game) : nullptr;
    return foundGame ? foundGame->findVariant(variant) : nullptr;
}

bool SolitaireManager::setCurrentByNames(std::wstring const& category, std::wstring const& game,
                                         std::wstring const& variant) {
    SolVariant* found = findVariant(category, game, variant);
    if (!found) return false;
    currentCategory_ = findCategory(category);
    currentGame_ = currentCategory_->findGame(game);
    currentVariant_ = found;
    return true;
}

bool SolitaireManager::isStoryCategory() const { return currentCategory_ && currentCategory_->isStory(); }

Background* SolitaireManager::getBackgroundForVariant(SolVariant const* variant) const {
    if (!variant) return nullptr;
    StyleSettings const& settings = StyleSettings::instance();
    std::optional<std::wstring> const* chosen = &variant->getOptions().background;
    // A variant object lies in one game of one category: the first holder found is the one.
    for (SolCategorie const* category : categories_)
        for (SolSolitaire const* game : category->getGames()) {
            auto const& variants = game->getVariants();
            if (*chosen || std::find(variants.begin(), variants.end(), variant) == variants.end()) continue;
            chosen = game->getOptions().background ? &game->getOptions().background : &category->getOptions().background;
        }
    return *chosen ? settings.findBackground(**chosen) : settings.getDefaultBackground();
}

std::wstring SolitaireManager::getPreviewPath() const {
    if (currentVariant_) return currentVariant_->getPreviewPath();
    if (currentGame_) return currentGame_->getPreviewPath();
    return L"Preview.png";
}

void SolitaireManager::reloadPreviews() {
    forgetPreviewTextures();
    for (SolCategorie* category : categories_)
        for (SolSolitaire* game : category->getGames()) {
            for (SolVariant* variant : game->getVariants()) variant->reloadPreview();
            game->reloadPreview();
        }
}

int SolitaireManager::getRecordCompletion(ChapterRecord const& record) {
    if (record.result == 0) return 0;
    std::size_t passed = 0;
    for (LevelRecord const& level : record.levels)
        if (level.result > 1) ++passed;
    return static_cast<double>(passed) > static_cast<double>(record.levels.size()) / 2.0 ? 2 : 1;
}

}  // namespace Solitaire
