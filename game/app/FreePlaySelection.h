// The free-play screen's selection ("FREIESSPIELMENU"): three columns of buttons (the catalogue's
// shown categories, the games of the chosen category, the variants of the chosen game), the
// chosen variant's preview and its two statistics lines. The choice made here is the catalogue's
// current one, which the game's start plays; it survives leaving the screen and comes back as
// the current one when the screen is entered again (a campaign level may have been current
// meanwhile).
//
// The game object holds it by value, built with its Links, wires it once the GUI is read and
// enters it with its menu. It follows the catalogue itself: a catalogue read anew builds the
// category column again, a cleared one lets go of every button and of the choice.
//
// Files: FreePlaySelection.cpp (all of it).
#pragma once

#include <vector>

#include "signals/sigslot.h"

namespace Orvex {
class GUIAnimationsGoal;
class GUIButton;
class GUISystem;
class GUIWindow;
}  // namespace Orvex

namespace Solitaire {

class SolCategorie;
class SolSolitaire;
class SolVariant;
class SolitaireManager;

class FreePlaySelection : public sigslot::has_slots<sigslot::single_threaded> {
public:
    // Bits of scrollPanelsToSelection: the variant, game and category columns.
    static constexpr int kScrollVariants = 1;
    static constexpr int kScrollGames = 2;
    static constexpr int kScrollCategories = 4;
    static constexpr int kScrollAll = kScrollVariants | kScrollGames | kScrollCategories;

    // What the selection uses: the catalogue it shows and chooses in (its reads and clears reach
    // the selection's slots), the GUI whose templates the buttons are copied from.
    struct Links {
        SolitaireManager* catalogue = nullptr;
        Orvex::GUISystem* gui = nullptr;
    };

    explicit FreePlaySelection(Links const& links);
    ~FreePlaySelection() override;
    FreePlaySelection(FreePlaySelection const&) = delete;
    FreePlaySelection& operator=(FreePlaySelection const&) = delete;

    // "FG_FreiesSpielFrame" reaching a goal scrolls every column to its choice.
    void wire();
    // Each rebuilds one column from its templates; the category column also selects the first
    // shown category when none is chosen yet.
    void buildCategoryPanel();
    void buildGamePanel();
    void buildVariantPanel();
    // Make the item current and chosen, mark its button, rebuild the dependent columns and emit
    // the item's signal (also for null).
    void selectCategory(SolCategorie* category);
    void selectGame(SolSolitaire* game);
    void selectVariant(SolVariant* variant);
    // The buttons' click slots: the item in the button's user pointer slot 0, when it is still
    // in its column's list.
    void onCategoryButton(Orvex::GUIWindow& button);
    void onGameButton(Orvex::GUIWindow& button);
    void onVariantButton(Orvex::GUIWindow& button);
    // The first shown category with a game that has a variant, its first such game and variant.
    void selectFirstEntries();
    // The screen entered: the columns' choice becomes current again, its preview and statistics
    // lines shown afresh; the first entries when the columns hold no choice.
    void enter();
    void scrollPanelsToSelection(int flags);
    void onFrameReady(Orvex::GUIWindow& window, Orvex::GUIAnimationsGoal& goal);
    // Lets go of the buttons the columns hold (before the GUI they belong to goes).
    void releaseButtons();

    SolCategorie* getCategory() const { return category_; }
    SolSolitaire* getGame() const { return game_; }
    SolVariant* getVariant() const { return variant_; }
    std::vector<Orvex::GUIButton*> const& getCategoryButtons() const { return categoryButtons_; }
    std::vector<Orvex::GUIButton*> const& getGameButtons() const { return gameButtons_; }
    std::vector<Orvex::GUIButton*> const& getVariantButtons() const { return variantButtons_; }

    sigslot::signal1<SolCategorie*> categorySelected;
    sigslot::signal1<SolSolitaire*> gameSelected;
    sigslot::signal1<SolVariant*> variantSelected;

private:
    // The catalogue's entries are about to go: no button or choice may point at them.
    void onCatalogueCleared();

    SolitaireManager* catalogue_ = nullptr;
    Orvex::GUISystem* gui_ = nullptr;
    SolCategorie* category_ = nullptr;
    SolSolitaire* game_ = nullptr;
    SolVariant* variant_ = nullptr;
    // Each button held by one reference until its column is rebuilt.
    std::vector<Orvex::GUIButton*> categoryButtons_;
    std::vector<Orvex::GUIButton*> gameButtons_;
    std::vector<Orvex::GUIButton*> variantButtons_;
};

}  // namespace Solitaire
