// Starting the current variant: its rule file, the alternative background, the look and input
// overrides (the player's own look saved once, replaced by the options' choices, put back later),
// the statistics sets of the game, and the card manager reset and read; and closing the game's
// statistics.
#include <optional>

#include "engine/core/File.h"
#include "engine/core/XMLNode.h"
#include "game/app/SolCategorie.h"
#include "game/app/SolSolitaire.h"
#include "game/app/SolVariant.h"
#include "game/app/SolitaireManager.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/StatistikManager.h"
#include "game/look/Background.h"
#include "game/look/GameStyle.h"
#include "game/look/Kartenset.h"
#include "game/look/StyleSettings.h"
#include "game/story/SolTutorialManager.h"

namespace Solitaire {

namespace {

// The overrides in force: each level replaces what the levels above it set.
struct ResolvedOverrides {
    std::optional<float> styleParam;
    std::optional<std::wstring> kartenset, gameStyle, background;
    signed char rightMouse = 0, doubleClick = 0;

    void apply(CatalogueOptions const& options) {
        if (options.styleParam) styleParam = options.styleParam;
        if (options.kartenset) kartenset = options.kartenset;
        if (options.gameStyle) gameStyle = options.gameStyle;
        if (options.background) background = options.background;
        if (options.rightMouse) rightMouse = options.rightMouse;
        if (options.doubleClick) doubleClick = options.doubleClick;
    }
};

}  // namespace

void SolitaireManager::selectKartenset(std::wstring const& name) {
    StyleSettings& settings = StyleSettings::instance();
    settings.selectCardSet(name);
    Kartenset const* current = settings.getKartenset();
    if (current && current->getName() == name) return;
    if (Kartenset* found = settings.findKartenset(name)) settings.setCurrentCardSet(found);
}

bool SolitaireManager::startVariant() {
    alternativeBackground_ = false;
    if (!currentVariant_) return false;
    Orvex::XMLNode tree;
    if (!tree.load(currentVariant_->getFile())) return false;

    CatalogueOptions const* levels[] = {currentCategory_ ? &currentCategory_->getOptions() : nullptr,
                                        currentGame_ ? &currentGame_->getOptions() : nullptr,
                                        &currentVariant_->getOptions()};
    ResolvedOverrides resolved;
    for (CatalogueOptions const* options : levels) {
        if (!options) continue;
        if (options->alternativeBackground != 0) alternativeBackground_ = options->alternativeBackground > 0;
        resolved.apply(*options);
    }

    StyleSettings& settings = StyleSettings::instance();
    if (resolved.styleParam) {
        if (!styleParamSaved_) {
            savedStyleParam_ = StyleSettings::getStyleParam();
            styleParamSaved_ = true;
        }
        settings.setStyleParam(*resolved.styleParam);
    } else if (styleParamSaved_) {
        settings.setStyleParam(savedStyleParam_);
        styleParamSaved_ = false;
    }
    // Card set, game style, background: the player's choice saved once, the override chosen; back
    // to the saved choice by the first start without override.
    auto const look = [](SavedName& saved, std::optional<std::wstring> const& override, std::wstring const& current,
                         auto&& select) {
        if (override) {
            if (!saved.saved) {
                saved.name = current;
                saved.saved = true;
            }
            select(*override);
        } else if (saved.saved) {
            select(saved.name);
            saved.saved = false;
        }
    };
    look(savedKartenset_, resolved.kartenset, settings.getKartenset() ? settings.getKartenset()->getName() : L"",
         [](std::wstring const& name) { selectKartenset(name); });
    look(savedGameStyle_, resolved.gameStyle, settings.getGameStyle() ? settings.getGameStyle()->getName() : L"",
         [&settings](std::wstring const& name) { settings.selectGameStyle(name); });
    look(savedBackground_, resolved.background, settings.getBackground() ? settings.getBackground()->getName() : L"",
         [&settings](std::wstring const& name) { settings.selectBackground(name); });

    // The game's set is new every start; the variant's own set lives on with the variant.
    StatistikManager& registry = StatistikManager::instance();
    releaseGameStatistik();
    gameStatistik_ = registry.create(kGameStatistikName);
    if (gameStatistik_) gameStatistik_->addRef();
    if (variantStatistik_) {
        registry.remove(variantStatistik_->getName());
        variantStatistik_->release();
        variantStatistik_ = nullptr;
    }
    if (Statistik* own = currentVariant_->getStatistik()) {
        registry.add(own);
        variantStatistik_ = own;
    } else {
        variantStatistik_ = registry.create(kVariantStatistikName);
        currentVariant_->setStatistik(variantStatistik_);
    }
    if (variantStatistik_) variantStatistik_->addRef();
    registry.countStarted();

    Kartenmanager& cards = Kartenmanager::instance();
    cards.createDiscardPile();
    cards.loadGameDefinition(tree, currentVariant_->getFile());
    if (resolved.rightMouse) cards.setUseRightMouse(resolved.rightMouse > 0);
    if (resolved.doubleClick) cards.setUseDoubleClick(resolved.doubleClick > 0);

    // The variant's own tutorials; most variants have none, which is no fault.
    std::wstring const& tutorials = currentVariant_->getTutorialFile();
    tree.clear();
    if (!tutorials.empty() && Orvex::File(tutorials).open(tutorials) && tree.load(tutorials))
        SolTutorialManager::instance().loadUserTutorials(tree, tutorials);

    if (Background* background = settings.getBackground()) background->pickRandomImage();
    return true;
}

void SolitaireManager::keepChosenStyleParam() {
    if (styleParamSaved_) savedStyleParam_ = StyleSettings::getStyleParam();
}

void SolitaireManager::keepChosenCardSetSet() {
    if (!savedKartenset_.saved) return;
    if (Kartenset const* chosen = StyleSettings::instance().findInCurrentSet(savedKartenset_.name))
        savedKartenset_.name = chosen->getName();
}

void SolitaireManager::releaseGameStatistik() {
    if (!gameStatistik_) return;
    StatistikManager::instance().remove(gameStatistik_->getName());
    gameStatistik_->release();
    gameStatistik_ = nullptr;
}

bool SolitaireManager::finishStatistics(bool const& won) {
    StatistikManager& registry = StatistikManager::instance();
    if (variantStatistik_ && gameStatistik_) {
        if (won)
            registry.countWon();
        else
            registry.countEnded();
    }
    releaseGameStatistik();
    if (variantStatistik_) {
        registry.remove(variantStatistik_->getName());
        variantStatistik_->release();
        variantStatistik_ = nullptr;
    }
    return true;
}

bool SolitaireManager::showStartTutorial(bool const& force) {
    // An empty name would only be marked seen in the profile.
    if (!currentVariant_ || currentVariant_->getStartTutorial().empty()) return false;
    return SolTutorialManager::instance().showTutorial(currentVariant_->getStartTutorial(), force, false,
                                                      D3DXVECTOR2(0.0f, 0.0f));
}

}  // namespace Solitaire
