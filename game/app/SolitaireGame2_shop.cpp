// The powers and the shop. Four gods, each a progress bar "I_GODS_1" .. "I_GODS_4", fill while
// cards of their suit are scored in a campaign level; a full bar, clicked, arms the god's power
// in the card manager (its click mode), and the card manager's report of the power's use empties
// the bar again. The shop sells jokers and wildcards for the card manager's points balance and
// lays them on the variant's joker or wildcard pile.
//
// A god works only while the active profile has its name ("GOD0" .. "GOD3") unlocked; its
// charge is kept in the profile. Missing bars, piles, profiles and windows skip their own step.
#include "engine/gui/GUIMenuManagerN.h"
#include "engine/gui/GUIProgressBar.h"
#include "engine/gui/GUITooltipParam.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/Sprite.h"
#include "engine/render/Texture2DAnimation.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "engine/render/TextureManager.h"
#include "game/app/FormatNumber.h"
#include "game/app/HudWindows.h"
#include "game/app/Profil.h"
#include "game/app/ProfilManager.h"
#include "game/app/SolitaireGame2.h"
#include "game/cards/AchivementManager.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "game/look/GameStyle.h"
#include "game/look/Kartenset.h"
#include "game/look/StyleSettings.h"
#include "game/particles/SolPartikel.h"
#include "game/story/SolTutorialManager.h"

namespace Solitaire {

namespace {

// The gods and what belongs to them, by god number: the suit whose scored cards charge it and
// the click mode it arms.
constexpr int kGods = 4;
constexpr int kKreuz = 0, kKaro = 1, kPik = 2, kHerz = 3;
constexpr int kSuitOfGod[kGods] = {kHerz, kKreuz, kPik, kKaro};
constexpr int kModeOfGod[kGods] = {kClickReveal, kClickUndo, kClickShuffle, kClickRemove};

// The god a scored card of that suit charges, or -1.
int godOfSuit(int suit) {
    for (int god = 0; god < kGods; ++god)
        if (kSuitOfGod[god] == suit) return god;
    return -1;
}

// The god whose power the click mode is, or -1.
int godOfMode(int mode) {
    for (int god = 0; god < kGods; ++god)
        if (kModeOfGod[god] == mode) return god;
    return -1;
}

std::wstring godName(int god) { return L"GOD" + std::to_wstring(god); }

// The offers: a pile with room draws in white, else in grey; the highlight of a pointed-at offer.
constexpr D3DCOLOR kPlaceable = 0xFFFFFFFF;
constexpr D3DCOLOR kRefused = 0xFFA0A0A0;
constexpr Orvex::u8 kStretch = 1;
constexpr wchar_t kHighlight[] = L"S_KartenBG_M";
// The joker the shop makes, and the suit and value the card manager is handed for it.
constexpr int kJokerSuit = kHerz;
constexpr int kJokerValue = 0;

std::size_t cardsOn(Kartenstapel const& pile) {
    std::vector<Karte*> cards;
    pile.getCards(cards, true, true);
    return cards.size();
}

bool hasRoom(Kartenstapel const* pile) { return pile && cardsOn(*pile) < SolitaireGame2::kShopPileRoom; }

}  // namespace

Orvex::GUIProgressBar* SolitaireGame2::godBar(int god) const {
    return god >= 0 && static_cast<std::size_t>(god) < godBars_.size() ? godBars_[god] : nullptr;
}

Profil* SolitaireGame2::profileWithGod(int god) const {
    Profil* profile = ProfilManager::instance().getActiveProfile();
    return profile && profile->isUnlocked(godName(god)) ? profile : nullptr;
}

// ---- god bars ----

void SolitaireGame2::refreshGodBars() {
    wchar_t const* const shown = campaign_ ? L"AN" : L"AUS";
    for (wchar_t const* name : {L"I_GODS", L"I_Shop"})
        if (Orvex::GUIWindow* window = findWindow(name)) window->jumpToGoal(shown);
    Profil* profile = ProfilManager::instance().getActiveProfile();
    for (int god = 0; static_cast<std::size_t>(god) < godBars_.size(); ++god) {
        if (Orvex::GUIWindow* window = findWindow(godName(god)))
            window->jumpToGoal(campaign_ && profileWithGod(god) ? L"AN" : L"AUS");
        if (godBars_[god] && campaign_ && profile) godBars_[god]->setRatio(profile->getGodPercent(god));
    }
}

void SolitaireGame2::onCardScored(Karte& card) {
    int const god = godOfSuit(card.suit);
    Orvex::GUIProgressBar* bar = godBar(god);
    Profil* profile = profileWithGod(god);
    if (!campaign_ || !bar || !profile) return;
    // The bar's maximum (in the GUI file) is the number of cards that fill it.
    bar->addValue(1.0f);
    profile->setGodPercent(god, bar->getRatio());
}

void SolitaireGame2::onGodBarFull(Orvex::GUIProgressBar& bar) {
    sparkleOver(bar, L"GOD_READY_EMITTER");
    for (std::size_t god = 0; god < godBars_.size() && god < godReminders_.size(); ++god) {
        if (godBars_[god] != &bar || !profileWithGod(static_cast<int>(god))) continue;
        godReminders_[god] = nextReminder();
        std::wstring const ready = L"GOD_" + std::to_wstring(god) + L"_READY";
        solTutorials_->showTutorial(ready, false, false, D3DXVECTOR2(0.0f, 0.0f));
        playSound(ready);
    }
}

void SolitaireGame2::onGodBarClicked(Orvex::GUIWindow& window) {
    if (!campaign_) return;
    for (int god = 0; god < kGods; ++god) {
        Orvex::GUIProgressBar* bar = godBar(god);
        if (bar != &window || !(bar->getRatio() >= 1.0f) || !profileWithGod(god)) continue;
        // A second click on the armed god disarms it; another god's power is replaced.
        int const mode = kModeOfGod[god];
        cards_->setClickMode(cards_->getClickMode() == mode ? kClickNormal : mode);
        return;
    }
}

void SolitaireGame2::onGodTooltip(Orvex::GUIWindow& window, Orvex::GUITooltipParam& param, std::wstring& text) {
    auto* bar = dynamic_cast<Orvex::GUIProgressBar*>(&window);
    if (!bar) return;
    if (Orvex::Text* format = findLanguageText(param.getTextId()))
        format->format(text, static_cast<double>(bar->getRatio()) * 100.0);
}

void SolitaireGame2::onClickModeUsed(ClickMode const& mode) {
    int const god = godOfMode(mode);
    if (god < 0) return;
    if (static_cast<std::size_t>(god) < godReminders_.size()) godReminders_[god] = -1.0f;
    if (Orvex::GUIProgressBar* bar = godBar(god)) bar->setRatio(0.0f);
    if (Profil* profile = ProfilManager::instance().getActiveProfile()) profile->setGodPercent(god, 0.0f);
    if (Achivement* used = achievements_->find(L"GOD" + std::to_wstring(god) + L"_USED"))
        used->setValue(static_cast<float>(static_cast<long long>(used->getValue() + 1.0f)));
}

// ---- shop ----

void SolitaireGame2::refreshShopLabels() {
    GameStyle const* style = cards_->getGameStyle();
    formatLabel(labelOf(shopWindows_[4]), formatNumber(wholeNumber(cards_->getPointsBalance())));
    if (!style) return;
    formatLabel(labelOf(shopWindows_[5]), formatNumber(style->priceJoker));
    formatLabel(labelOf(shopWindows_[6]), formatNumber(style->priceWildcard));
}

void SolitaireGame2::onWildcardNext(Orvex::GUIWindow&) { nextWildcard(); }

void SolitaireGame2::onWildcardPrev(Orvex::GUIWindow&) { previousWildcard(); }

bool SolitaireGame2::buy(Kartenstapel* pile, int price, Karte* (Kartenmanager::*make)(int const&, int const&), int suit,
                         int value, void (SolitaireGame2::*found)(Karte&), wchar_t const* sound) {
    float const balance = cards_->getPointsBalance();
    if (!(balance >= static_cast<float>(price)) || !hasRoom(pile)) return false;
    Karte* card = (cards_->*make)(suit, value);
    cards_->setPointsBalance(balance - static_cast<float>(price), false);
    // Back to the table: the shop closes.
    menus_->activateMenu(L"INGAMEMENU", -1.0);
    if (card) (this->*found)(*card);
    playSound(sound);
    return true;
}

bool SolitaireGame2::buyJoker() {
    GameStyle const* style = cards_->getGameStyle();
    return style && buy(cards_->findJokerPile(), style->priceJoker, &Kartenmanager::buyJoker, kJokerSuit, kJokerValue,
                        &SolitaireGame2::onJokerFound, L"BUY_JOKER");
}

bool SolitaireGame2::buyWildcard() {
    GameStyle const* style = cards_->getGameStyle();
    return style && buy(cards_->findWildcardPile(), style->priceWildcard, &Kartenmanager::buyWildcard, wildcard_.suit,
                        wildcard_.value, &SolitaireGame2::onWildcardFound, L"BUY_WILDCARDS");
}

void SolitaireGame2::onBuyJoker(Orvex::GUIWindow&) { buyJoker(); }

void SolitaireGame2::onBuyWildcard(Orvex::GUIWindow&) { buyWildcard(); }

void SolitaireGame2::drawOffer(Orvex::GUIWindow& window, Kartenstapel* pile, Orvex::Texture2D* under,
                               Orvex::Texture2D* over) {
    bool const placeable = hasRoom(pile);
    D3DCOLOR const colour = placeable ? kPlaceable : kRefused;
    Orvex::FRect const target = window.getScreenRect();
    for (Orvex::Texture2D* picture : {under, over})
        if (picture) sprite_->drawInRect(picture, nullptr, target, kStretch, kStretch, colour);
    double const blend = window.getBlendState().activationBlend;
    if (!placeable || !(blend > 0.0)) return;
    D3DCOLOR const alpha = alphaByte(blend);
    if (Orvex::Texture2D* highlight = d3d_->getTextureManager().findTexture(kHighlight)) {
        sprite_->drawInRect(highlight, nullptr, target, kStretch, kStretch, 0x00FFFFFFu | alpha);
    } else if (Orvex::Texture2DAnimation* animation = Orvex::Texture2DAnimationManager::instance().findAnimation(kHighlight)) {
        if (Orvex::AnimationFrame const* frame = animation->getCurrentFrame())
            sprite_->drawInRect(frame->texture, &frame->rect, target, kStretch, kStretch, 0x00FFFFFFu | alpha);
    }
}

void SolitaireGame2::drawJokerOffer(Orvex::GUIWindow& window, bool const& drawn) {
    Kartenset const* set = StyleSettings::instance().getKartenset();
    if (!drawn || !set) return;
    drawOffer(window, cards_->findJokerPile(), set->getSingle(Kartenset::kJoker), nullptr);
}

void SolitaireGame2::drawWildcardOffer(Orvex::GUIWindow& window, bool const& drawn) {
    Kartenset const* set = StyleSettings::instance().getKartenset();
    if (!drawn || !set) return;
    drawOffer(window, cards_->findWildcardPile(), set->getFace(wildcard_.suit, wildcard_.value),
              set->getSingle(Kartenset::kWildcard));
}

}  // namespace Solitaire
