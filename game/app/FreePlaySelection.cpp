// The free-play screen's columns: categories, the games of the chosen category and the variants
// of the chosen game, each a scroll panel of buttons copied from templates of the GUI files, with
// the chosen variant's preview and two statistics lines. Every window and template is looked up by
// name; a missing one leaves its part of the screen out.
//
// A button carries its item in user pointer slot 0 (a pointer does not fit the 32-bit user
// value). A click takes the item only while it is still in its column's list: a button kept from
// before the column was rebuilt does nothing. A banner is added to a category or variant button
// past the button's own refusal of children (the button keeps its caption; the banner lies on top).
#include "game/app/FreePlaySelection.h"

#include <string>

#include "engine/gui/GUIButton.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIScrollPanel.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/GUIWindowOptions.h"
#include "engine/render/Texture2D.h"
#include "game/app/ScreenLists.h"
#include "game/app/ScreenWindows.h"
#include "game/app/SolCategorie.h"
#include "game/app/SolSolitaire.h"
#include "game/app/SolVariant.h"
#include "game/app/SolitaireManager.h"
#include "game/cards/Statistik.h"

namespace Solitaire {

namespace {

constexpr wchar_t kCategoryPanel[] = L"FG_KategoriePanel";
constexpr wchar_t kGamePanel[] = L"FG_GamePanel";
constexpr wchar_t kVariantPanel[] = L"FG_VariantenPanel";
constexpr wchar_t kPreview[] = L"FG_Preview";
constexpr wchar_t kVariantHeading[] = L"FG_Varianten";

// The label look of a column's buttons: style names by state and the fonts, chosen or not.
struct ColumnLook {
    wchar_t const* activeFont;
    wchar_t const* inactiveFont;
};
constexpr ColumnLook kCategoryLook{L"ActiveSolKategorieFont", L"SolKategorieFont"};
constexpr ColumnLook kGameLook{L"ActiveSolGameFont", L"SolGameFont"};
constexpr ColumnLook kVariantLook{L"ActiveSolVariantFont", L"SolVariantFont"};

void releaseAll(std::vector<Orvex::GUIButton*>& buttons) {
    for (Orvex::GUIButton* button : buttons) button->release();
    buttons.clear();
}

// A copy of the button template, named after the item (column prefix and the item's name),
// labelled with the item's text id, holding the item, shown; one reference for the column's list
// (the caller hands the other to the panel or a banner).
template <class T>
Orvex::GUIButton* makeItemButton(Orvex::GUIButton& vorlage, wchar_t const* prefix, T* item) {
    auto* button = dynamic_cast<Orvex::GUIButton*>(cloneTree(vorlage));
    if (!button) return nullptr;
    button->setName(prefix + item->getName());
    std::wstring const& textId = item->getOptions().textId;
    if (Orvex::GUILabel* label = button->getLabel()) label->setTextId(textId);
    button->setUserPointer(item, 0);
    button->getOptions().visible = true;
    return button;
}

// A banner copy added on top of a button (buttons refuse children through their own addChild).
void addBanner(Orvex::GUIButton& button, Orvex::GUIWindow* vorlage) {
    if (!vorlage) return;
    Orvex::GUIWindow* banner = cloneTree(*vorlage);
    if (banner && !button.Orvex::GUIWindow::addChild(banner, true, true)) banner->release();
}

void markColumn(std::vector<Orvex::GUIButton*> const& buttons, void const* item, ColumnLook const& look,
                wchar_t const* panelName) {
    auto* panel = dynamic_cast<Orvex::GUIScrollPanel*>(findScreenWindow(panelName));
    for (Orvex::GUIButton* button : buttons) {
        bool const chosen = item && button->getUserPointer(0) == item;
        if (Orvex::GUILabel* label = button->getLabel()) {
            label->setFontStyle(chosen ? L"ACTIVE_FG_NORMAL" : L"INACTIVE_FG_NORMAL", Orvex::GUILabel::kNormal);
            label->setFontStyle(chosen ? L"ACTIVE_FG_MARKED" : L"INACTIVE_FG_MARKED", Orvex::GUILabel::kMark);
            label->setFont(chosen ? look.activeFont : look.inactiveFont);
        }
        if (chosen && panel) panel->setFocusWindow(button, 0.0f, 1.0f, 0.0f, 1.0f);
    }
}

Orvex::GUIButton* chosenButton(std::vector<Orvex::GUIButton*> const& buttons, void const* item) {
    for (Orvex::GUIButton* button : buttons)
        if (item && button->getUserPointer(0) == item) return button;
    return nullptr;
}

// The item of the clicked button when it is still one of the list; else null.
template <class T>
T* stillListed(Orvex::GUIWindow const& button, std::vector<T*> const& list) {
    void* item = button.getUserPointer(0);
    for (T* entry : list)
        if (entry == item) return entry;
    return nullptr;
}

// A statistics line: its own text with one number, or empty when the text id has no text.
void setStatisticsLine(wchar_t const* name, Orvex::u32 value) {
    Orvex::GUILabel* label = findLabel(name);
    if (label && !formatOwnText(label, value)) label->setText(L"");
}

template <class T>
std::size_t countShown(std::vector<T*> const& items) {
    std::size_t n = 0;
    for (T const* item : items) n += item->getOptions().showInSelection;
    return n;
}

template <class T>
T* firstShown(std::vector<T*> const& items) {
    for (T* item : items)
        if (item->getOptions().showInSelection) return item;
    return nullptr;
}

}  // namespace

FreePlaySelection::FreePlaySelection(Links const& links) : catalogue_(links.catalogue), gui_(links.gui) {
    if (!catalogue_) return;
    catalogue_->cleared.connect(this, &FreePlaySelection::onCatalogueCleared);
    catalogue_->loaded.connect(this, &FreePlaySelection::buildCategoryPanel);
}

FreePlaySelection::~FreePlaySelection() { releaseButtons(); }

void FreePlaySelection::releaseButtons() {
    releaseAll(categoryButtons_);
    releaseAll(gameButtons_);
    releaseAll(variantButtons_);
}

void FreePlaySelection::onCatalogueCleared() {
    releaseButtons();
    category_ = nullptr;
    game_ = nullptr;
    variant_ = nullptr;
}

void FreePlaySelection::buildCategoryPanel() {
    // 1, 2, 3.
    releaseAll(categoryButtons_);
    Orvex::GUIWindow* panel = findScreenWindow(kCategoryPanel);
    if (!panel || !catalogue_ || !gui_) return;
    resetListPanel(*panel);
    // 4.
    Orvex::GUISystem& gui = *gui_;
    auto* vorlage = dynamic_cast<Orvex::GUIButton*>(gui.findTemplate(L"FG_KategorieVorlage"));
    Orvex::GUIWindow* banner = gui.findTemplate(L"FG_KategorieBannerVorlage");
    // 5.
    if (vorlage)
        for (SolCategorie* category : catalogue_->getCategories()) {
            if (!category->getOptions().showInSelection) continue;
            Orvex::GUIButton* button = makeItemButton(*vorlage, L"FG_Kategorie_", category);
            if (!button) continue;
            Orvex::GUIWindowOptions& options = button->getOptions();
            options.layoutParam = L"LEFT";
            options.usableForLayoutManager = true;
            button->leftClicked.connect(this, &FreePlaySelection::onCategoryButton);
            categoryButtons_.push_back(button);
            panel->addChild(button, false, true);
            if (category->getOptions().extraBanner) addBanner(*button, banner);
        }
    // 6.
    if (!category_) {
        selectCategory(firstShown(catalogue_->getCategories()));
        scrollPanelsToSelection(kScrollVariants | kScrollGames);
    }
}

void FreePlaySelection::buildGamePanel() {
    // 1.
    releaseAll(gameButtons_);
    Orvex::GUIWindow* panel = findScreenWindow(kGamePanel);
    if (!panel || !gui_) return;
    resetListPanel(*panel);
    // 2.
    Orvex::GUISystem& gui = *gui_;
    auto* vorlage = dynamic_cast<Orvex::GUIButton*>(gui.findTemplate(L"FG_GameVorlage"));
    Orvex::GUIWindow* banner = gui.findTemplate(L"FG_GameBannerVorlage");
    auto* vorlage2 = dynamic_cast<Orvex::GUIButton*>(gui.findTemplate(L"FG_GameVorlage2"));
    Orvex::GUIWindow* banner2 = gui.findTemplate(L"FG_GameBannerVorlage2");
    // 3.
    std::vector<SolSolitaire*> const none;
    std::vector<SolSolitaire*> const& games = category_ ? category_->getGames() : none;
    if (vorlage)
        for (SolSolitaire* game : games) {
            if (!game->getOptions().showInSelection) continue;
            bool const second = banner && game->getOptions().extraBanner && vorlage2 && banner2;
            Orvex::GUIButton* button = makeItemButton(second ? *vorlage2 : *vorlage, L"FG_Game_", game);
            if (!button) continue;
            button->leftClicked.connect(this, &FreePlaySelection::onGameButton);
            gameButtons_.push_back(button);
            if (!banner) {
                button->getOptions().usableForLayoutManager = true;
                panel->addChild(button, false, true);
                continue;
            }
            Orvex::GUIWindow* holder = cloneTree(second ? *banner2 : *banner);
            if (!holder) continue;
            holder->getOptions().visible = true;
            holder->getOptions().usableForLayoutManager = true;
            panel->addChild(holder, true, true);
            holder->addChild(button, false, true);
        }
    // 4.
    if (!game_ && !games.empty()) {
        selectGame(firstShown(games));
        scrollPanelsToSelection(kScrollVariants);
    }
}

void FreePlaySelection::buildVariantPanel() {
    releaseAll(variantButtons_);
    Orvex::GUIWindow* panel = findScreenWindow(kVariantPanel);
    if (!panel || !game_ || !gui_) return;
    resetListPanel(*panel);
    Orvex::GUISystem& gui = *gui_;
    auto* vorlage = dynamic_cast<Orvex::GUIButton*>(gui.findTemplate(L"FG_VarianteVorlage"));
    Orvex::GUIWindow* banner = gui.findTemplate(L"FG_VarianteBannerVorlage");
    if (vorlage)
        for (SolVariant* variant : game_->getVariants()) {
            if (!variant->getOptions().showInSelection) continue;
            Orvex::GUIButton* button = makeItemButton(*vorlage, L"FG_Variante_", variant);
            if (!button) continue;
            button->getOptions().usableForLayoutManager = true;
            button->leftClicked.connect(this, &FreePlaySelection::onVariantButton);
            variantButtons_.push_back(button);
            panel->addChild(button, false, true);
            if (variant->getOptions().extraBanner) addBanner(*button, banner);
        }
    if (!variant_) {
        selectVariant(firstShown(game_->getVariants()));
        scrollPanelsToSelection(kScrollVariants);
    }
}

void FreePlaySelection::selectCategory(SolCategorie* category) {
    category_ = category;
    if (catalogue_) catalogue_->setCurrentCategory(category);
    markColumn(categoryButtons_, category, kCategoryLook, kCategoryPanel);
    if (category) {
        game_ = nullptr;
        if (catalogue_) catalogue_->setCurrentGame(nullptr);
        buildGamePanel();
    }
    categorySelected.emit(category);
}

void FreePlaySelection::selectGame(SolSolitaire* game) {
    game_ = game;
    if (catalogue_) catalogue_->setCurrentGame(game);
    markColumn(gameButtons_, game, kGameLook, kGamePanel);
    if (game) {
        Orvex::Texture2D* preview = game->getPreview();
        if (!preview && variant_) preview = variant_->getPreview();
        Orvex::GUIWindow* previewWindow = findScreenWindow(kPreview);
        if (previewWindow) {
            if (Orvex::GUIWindow* variants = findScreenWindow(kVariantPanel)) {
                bool const several = countShown(game->getVariants()) > 1;
                previewWindow->jumpToGoal(several ? L"NORMAL" : L"FULL");
                variants->jumpToGoal(several ? L"NORMAL" : L"AUS");
                // The column's heading goes with it: the grown preview lies in their place.
                if (Orvex::GUIWindow* heading = findScreenWindow(kVariantHeading))
                    heading->jumpToGoal(several ? L"NORMAL" : L"AUS");
            }
            previewWindow->getDrawOptions().setTexBackground(preview);
        }
        variant_ = nullptr;
        if (catalogue_) catalogue_->setCurrentVariant(nullptr);
        buildVariantPanel();
    } else {
        // Nothing to choose from: no variant of another game stays current or on the screen.
        variant_ = nullptr;
        if (catalogue_) catalogue_->setCurrentVariant(nullptr);
        releaseAll(variantButtons_);
        if (Orvex::GUIWindow* variants = findScreenWindow(kVariantPanel)) variants->removeAllChildren();
    }
    gameSelected.emit(game);
}

void FreePlaySelection::selectVariant(SolVariant* variant) {
    variant_ = variant;
    if (catalogue_) catalogue_->setCurrentVariant(variant);
    markColumn(variantButtons_, variant, kVariantLook, kVariantPanel);
    if (variant) {
        Orvex::Texture2D* preview = variant->getPreview();
        if (!preview && game_) preview = game_->getPreview();
        if (Orvex::GUIWindow* previewWindow = findScreenWindow(kPreview))
            previewWindow->getDrawOptions().setTexBackground(preview);
        Statistik const* stats = variant->getStatistik();
        Orvex::u32 const won = stats ? stats->get(StatistikCounter::Won) : 0u;
        Orvex::u32 const ended = stats ? stats->get(StatistikCounter::Ended) : 0u;
        setStatisticsLine(L"FG_STATISTIKEN_WIN", won);
        // Finished games: won or ended; the counters stop at the top of their range, so does the sum.
        Orvex::u32 const finished = won > UINT32_MAX - ended ? UINT32_MAX : won + ended;
        setStatisticsLine(L"FG_STATISTIKEN_STARTED", finished);
    }
    variantSelected.emit(variant);
}

void FreePlaySelection::onCategoryButton(Orvex::GUIWindow& button) {
    if (!catalogue_) return;
    if (SolCategorie* category = stillListed(button, catalogue_->getCategories())) selectCategory(category);
}

void FreePlaySelection::onGameButton(Orvex::GUIWindow& button) {
    if (!category_) return;
    if (SolSolitaire* game = stillListed(button, category_->getGames())) selectGame(game);
}

void FreePlaySelection::onVariantButton(Orvex::GUIWindow& button) {
    if (!game_) return;
    if (SolVariant* variant = stillListed(button, game_->getVariants())) selectVariant(variant);
}

void FreePlaySelection::enter() {
    if (!category_ || !game_ || !variant_) return selectFirstEntries();
    catalogue_->setCurrentCategory(category_);
    catalogue_->setCurrentGame(game_);
    selectVariant(variant_);
}

void FreePlaySelection::selectFirstEntries() {
    if (!catalogue_) return;
    for (SolCategorie* category : catalogue_->getCategories()) {
        if (!category->getOptions().showInSelection) continue;
        for (SolSolitaire* game : category->getGames()) {
            if (game->getVariants().empty()) continue;
            SolVariant* variant = game->getVariants().front();
            catalogue_->setCurrentCategory(category);
            catalogue_->setCurrentGame(game);
            catalogue_->setCurrentVariant(variant);
            selectCategory(category);
            selectGame(game);
            selectVariant(variant);
            return;
        }
    }
}

void FreePlaySelection::scrollPanelsToSelection(int flags) {
    struct Column {
        int bit;
        wchar_t const* panel;
        std::vector<Orvex::GUIButton*> const& buttons;
        void const* item;
    };
    Column const columns[] = {{kScrollVariants, kVariantPanel, variantButtons_, variant_},
                              {kScrollGames, kGamePanel, gameButtons_, game_},
                              {kScrollCategories, kCategoryPanel, categoryButtons_, category_}};
    for (Column const& column : columns) {
        if (!(flags & column.bit)) continue;
        auto* panel = dynamic_cast<Orvex::GUIScrollPanel*>(findScreenWindow(column.panel));
        if (!panel) continue;
        panel->updateRect(false, false);
        scrollPanelToStart(panel);
        panel->setFocusWindow(chosenButton(column.buttons, column.item), 0.0f, 1.0f, 0.0f, 1.0f);
    }
}

void FreePlaySelection::onFrameReady(Orvex::GUIWindow&, Orvex::GUIAnimationsGoal&) {
    scrollPanelsToSelection(kScrollAll);
}

void FreePlaySelection::wire() {
    Orvex::GUIWindow* frame = findScreenWindow(L"FG_FreiesSpielFrame");
    if (!frame) return;
    frame->goalReached.disconnect(this);
    frame->goalReached.connect(this, &FreePlaySelection::onFrameReady);
}

}  // namespace Solitaire
