// The powers and the shop (PowersAndShop.h). A god works only while the active profile has its
// name ("GOD0" .. "GOD3") unlocked; its charge is kept in the profile. Missing bars, piles,
// profiles and windows skip their own step.
#include "game/app/MenuNames.h"
#include "game/app/PowersAndShop.h"

#include <functional>
#include <string>
#include <utility>

#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIMenuManagerN.h"
#include "engine/gui/GUIProgressBar.h"
#include "engine/gui/GUITooltipParam.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/Text.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/Sprite.h"
#include "engine/render/Texture2DAnimation.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "engine/render/TextureManager.h"
#include "game/app/FormatNumber.h"
#include "game/app/HudWindows.h"
#include "game/app/MyGlobals.h"
#include "game/app/Profil.h"
#include "game/app/ProfilManager.h"
#include "game/app/RunningGame.h"
#include "game/app/ScreenWindows.h"
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
constexpr Orvex::u8 kShopStretch = 1;
constexpr wchar_t kHighlight[] = L"S_KartenBG_M";
// The joker the shop makes, and the suit and value the card manager is handed for it.
constexpr int kJokerSuit = kHerz;
constexpr int kJokerValue = 0;

std::size_t cardsOn(Kartenstapel const& pile) {
    std::vector<Karte*> cards;
    pile.getCards(cards, true, true);
    return cards.size();
}

bool hasRoom(Kartenstapel const* pile) { return pile && cardsOn(*pile) < PowersAndShop::kShopPileRoom; }

// The running game's style; none before the shop is wired.
GameStyle const* styleOf(Kartenmanager const* cards) { return cards ? cards->getGameStyle() : nullptr; }

}  // namespace

Orvex::GUIProgressBar* PowersAndShop::godBar(int god) const {
    return god >= 0 && static_cast<std::size_t>(god) < godBars_.size() ? godBars_[god] : nullptr;
}

Profil* PowersAndShop::profileWithGod(int god) {
    Profil* profile = ProfilManager::instance().getActiveProfile();
    return profile && profile->isUnlocked(godName(god)) ? profile : nullptr;
}

bool PowersAndShop::inCampaign() const { return links_.running && links_.running->campaign; }

// ---- wiring ----

PowersAndShop::PowersAndShop(Links links) : links_(std::move(links)) {
    if (!links_.cards) return;
    links_.cards->cardScored.connect(this, &PowersAndShop::onCardScored);
    links_.cards->clickModeUsed.connect(this, &PowersAndShop::onClickModeUsed);
}

PowersAndShop::PowersAndShop() : PowersAndShop(Links()) {}

void PowersAndShop::wire() {
    wireGods(links_.globals ? links_.globals->getGodCount() : MyGlobals::kDefaultGodCount);
    wireShop();
}

void PowersAndShop::wireGods(unsigned count) {
    godBars_.assign(count, nullptr);
    godReminders_.assign(count, -1.0f);
    for (unsigned i = 0; i < count; ++i) {
        auto* bar = findScreenWindowAs<Orvex::GUIProgressBar>(L"I_GODS_" + std::to_wstring(i + 1));
        godBars_[i] = bar;
        if (!bar) continue;
        if (Orvex::GUITooltipParam* param = bar->findTooltipParam(L"DEF")) {
            param->textHook.disconnect(this);
            param->textHook.connect(this, &PowersAndShop::onGodTooltip);
        }
        bar->leftClicked.connect(this, &PowersAndShop::onGodBarClicked);
        bar->finished.connect(this, &PowersAndShop::onGodBarFull);
    }
}

void PowersAndShop::wireShop() {
    wchar_t const* const names[7] = {L"S_WILDCARD", L"S_WILDCARD_NEXT", L"S_WILDCARD_PREV", L"S_JOKER",
                                     L"S_MONEY",    L"S_PRICE_JOKER",   L"S_PRICE_WILDCARD"};
    for (int i = 0; i < 7; ++i) shopWindows_[i] = findScreenWindow(names[i]);
    shopHint_ = findScreenWindow(L"S_Hinweis");
    Orvex::GUIWindow* wildcard = shopWindows_[0];
    Orvex::GUIWindow* joker = shopWindows_[3];
    if (wildcard) wildcard->selfDrawn.connect(this, &PowersAndShop::drawWildcardOffer);
    if (joker) joker->selfDrawn.connect(this, &PowersAndShop::drawJokerOffer);
    if (shopWindows_[1]) shopWindows_[1]->leftClicked.connect(this, &PowersAndShop::onWildcardNext);
    if (shopWindows_[2]) shopWindows_[2]->leftClicked.connect(this, &PowersAndShop::onWildcardPrev);
    if (wildcard) wildcard->leftClicked.connect(this, &PowersAndShop::onBuyWildcard);
    if (joker) joker->leftClicked.connect(this, &PowersAndShop::onBuyJoker);
}

// ---- god bars ----

void PowersAndShop::refreshGodBars() {
    wchar_t const* const shown = inCampaign() ? L"AN" : L"AUS";
    for (wchar_t const* name : {L"I_GODS", L"I_Shop"})
        if (Orvex::GUIWindow* window = findScreenWindow(name)) window->jumpToGoal(shown);
    Profil* profile = ProfilManager::instance().getActiveProfile();
    if (inCampaign() && profile) barsShow_ = profile;
    for (int god = 0; static_cast<std::size_t>(god) < godBars_.size(); ++god) {
        if (Orvex::GUIWindow* window = findScreenWindow(godName(god)))
            window->jumpToGoal(inCampaign() && profileWithGod(god) ? L"AN" : L"AUS");
        if (godBars_[god] && inCampaign() && profile) godBars_[god]->setRatio(profile->getGodPercent(god));
    }
}

void PowersAndShop::onCardScored(Karte& card) {
    int const god = godOfSuit(card.suit);
    Orvex::GUIProgressBar* bar = godBar(god);
    Profil* profile = profileWithGod(god);
    if (!inCampaign() || !bar || !profile) return;
    // The bar's maximum (in the GUI file) is the number of cards that fill it.
    bar->addValue(1.0f);
    profile->setGodPercent(god, bar->getRatio());
}

void PowersAndShop::onGodBarFull(Orvex::GUIProgressBar& bar) {
    sparkleOver(bar, L"GOD_READY_EMITTER");
    for (std::size_t god = 0; god < godBars_.size() && god < godReminders_.size(); ++god) {
        if (godBars_[god] != &bar || !profileWithGod(static_cast<int>(god))) continue;
        godReminders_[god] = nextReminder();
        std::wstring const ready = L"GOD_" + std::to_wstring(god) + L"_READY";
        links_.tutorials->showTutorial(ready, false, false, D3DXVECTOR2(0.0f, 0.0f));
        playSound(ready);
    }
}

void PowersAndShop::updateReminders(double realStep) {
    for (std::size_t i = 0; i < godBars_.size() && i < godReminders_.size(); ++i)
        if (godBars_[i]) remind(*godBars_[i], godReminders_[i], realStep, L"GOD_READY_EMITTER_ERINNERN");
}

void PowersAndShop::keepCharges(Profil& profile) {
    // Bars that show another profile's charge, or none yet, would overwrite this one's.
    bool const own = barsShow_ == &profile;
    barsShow_ = nullptr;
    for (std::size_t i = 0; i < godBars_.size(); ++i) {
        if (!godBars_[i]) continue;
        if (own) profile.setGodPercent(static_cast<int>(i), godBars_[i]->getRatio());
        godBars_[i]->setRatio(0.0f);
    }
}

void PowersAndShop::onGodBarClicked(Orvex::GUIWindow& window) {
    if (!inCampaign()) return;
    for (int god = 0; god < kGods; ++god) {
        Orvex::GUIProgressBar* bar = godBar(god);
        if (bar != &window || !(bar->getRatio() >= 1.0f) || !profileWithGod(god)) continue;
        // A second click on the armed god disarms it; another god's power is replaced.
        int const mode = kModeOfGod[god];
        Kartenmanager& cards = *links_.cards;
        int const next = cards.getClickMode() == mode ? kClickNormal : mode;
        powerUsed_ = false;
        bool const armed = cards.setClickMode(next);
        // The shuffle and the free undo act at once: without a reported use they found nothing.
        bool const atOnce = next == kClickShuffle || next == kClickUndo;
        if (next != kClickNormal && (!armed || (atOnce && !powerUsed_))) tellNothingToDo(god);
        return;
    }
}

void PowersAndShop::onGodTooltip(Orvex::GUIWindow& window, Orvex::GUITooltipParam& param, std::wstring& text) {
    auto* bar = dynamic_cast<Orvex::GUIProgressBar*>(&window);
    if (!bar) return;
    if (Orvex::Text* format = findLanguageText(param.getTextId()))
        format->format(text, static_cast<double>(bar->getRatio()) * 100.0);
}

void PowersAndShop::tellNothingToDo(int god) {
    Orvex::Text* text = findLanguageText(L"MELDUNG_GOD_" + std::to_wstring(god) + L"_NICHTS");
    if (!text || !links_.tell) return;
    std::wstring note;
    links_.cards->playSound(GameStyle::kSoundErrorMove);
    links_.tell(text->format(note));
}

void PowersAndShop::onClickModeUsed(ClickMode const& mode) {
    int const god = godOfMode(mode);
    if (god < 0) return;
    powerUsed_ = true;
    if (static_cast<std::size_t>(god) < godReminders_.size()) godReminders_[god] = -1.0f;
    if (Orvex::GUIProgressBar* bar = godBar(god)) bar->setRatio(0.0f);
    if (Profil* profile = ProfilManager::instance().getActiveProfile()) profile->setGodPercent(god, 0.0f);
    if (!links_.achievements) return;
    if (Achivement* used = links_.achievements->find(L"GOD" + std::to_wstring(god) + L"_USED"))
        used->setValue(static_cast<float>(static_cast<long long>(used->getValue() + 1.0f)));
}

// ---- shop ----

void PowersAndShop::refreshShopLabels() {
    // A refusal said on the hint line is over when the shop opens again.
    if (Orvex::GUILabel* line = labelOf(shopHint_)) line->setTextId(line->getTextId());
    if (!links_.cards) return;
    formatLabel(labelOf(shopWindows_[4]), formatNumber(wholeNumber(links_.cards->getPointsBalance())));
    GameStyle const* style = styleOf(links_.cards);
    if (!style) return;
    formatLabel(labelOf(shopWindows_[5]), formatNumber(style->priceJoker));
    formatLabel(labelOf(shopWindows_[6]), formatNumber(style->priceWildcard));
}

void PowersAndShop::onWildcardNext(Orvex::GUIWindow&) { nextWildcard(); }

void PowersAndShop::onWildcardPrev(Orvex::GUIWindow&) { previousWildcard(); }

bool PowersAndShop::buy(Kartenstapel* pile, int price, Karte* (Kartenmanager::*make)(int const&, int const&), int suit,
                        int value, std::function<void(Karte&)> const& found, wchar_t const* sound,
                        std::wstring const& kind) {
    Kartenmanager& cards = *links_.cards;
    float const balance = cards.getPointsBalance();
    // A refusal says why, as a hint or an undo the points cannot pay does: no room for the card,
    // else the price and what is missing.
    if (!hasRoom(pile)) {
        Orvex::Text* text = findLanguageText(L"MELDUNG_" + kind + L"_KEIN_PLATZ");
        if (text) tellInShop(text->getText());
        return false;
    }
    if (!(balance >= static_cast<float>(price))) {
        tellInShop(formatPriceNote(L"MELDUNG_" + kind + L"_PREIS", price, static_cast<double>(price) - balance));
        return false;
    }
    Karte* card = (cards.*make)(suit, value);
    cards.setPointsBalance(balance - static_cast<float>(price), false);
    // Back to the table: the shop closes.
    if (links_.menus) links_.menus->activateMenu(kInGameMenu, -1.0);
    if (card && found) found(*card);
    playSound(sound);
    return true;
}

bool PowersAndShop::buyJoker() {
    GameStyle const* style = styleOf(links_.cards);
    return style && buy(links_.cards->findJokerPile(), style->priceJoker, &Kartenmanager::buyJoker, kJokerSuit,
                        kJokerValue, links_.jokerFound, L"BUY_JOKER", L"JOKER");
}

bool PowersAndShop::buyWildcard() {
    GameStyle const* style = styleOf(links_.cards);
    return style && buy(links_.cards->findWildcardPile(), style->priceWildcard, &Kartenmanager::buyWildcard,
                        wildcard_.suit, wildcard_.value, links_.wildcardFound, L"BUY_WILDCARDS", L"WILDCARD");
}

void PowersAndShop::tellInShop(std::wstring const& note) {
    if (note.empty()) return;
    // The shop's veil darkens the news line, so the shop's own line says it while it is open.
    if (Orvex::GUILabel* line = labelOf(shopHint_))
        line->setText(note);
    else if (links_.tell)
        links_.tell(note);
}

void PowersAndShop::onBuyJoker(Orvex::GUIWindow&) { buyJoker(); }

void PowersAndShop::onBuyWildcard(Orvex::GUIWindow&) { buyWildcard(); }

void PowersAndShop::drawOffer(Orvex::GUIWindow& window, Kartenstapel* pile, Orvex::Texture2D* under,
                              Orvex::Texture2D* over) {
    bool const placeable = hasRoom(pile);
    D3DCOLOR const colour = placeable ? kPlaceable : kRefused;
    Orvex::FRect const target = window.getScreenRect();
    for (Orvex::Texture2D* picture : {under, over})
        if (picture) links_.sprite->drawInRect(picture, nullptr, target, kShopStretch, kShopStretch, colour);
    double const blend = window.getBlendState().activationBlend;
    if (!placeable || !(blend > 0.0)) return;
    D3DCOLOR const alpha = alphaByte(blend);
    if (Orvex::Texture2D* highlight = links_.d3d->getTextureManager().findTexture(kHighlight)) {
        links_.sprite->drawInRect(highlight, nullptr, target, kShopStretch, kShopStretch, 0x00FFFFFFu | alpha);
    } else if (Orvex::Texture2DAnimation* animation = Orvex::Texture2DAnimationManager::instance().findAnimation(kHighlight)) {
        if (Orvex::AnimationFrame const* frame = animation->getCurrentFrame())
            links_.sprite->drawInRect(frame->texture, &frame->rect, target, kShopStretch, kShopStretch, 0x00FFFFFFu | alpha);
    }
}

void PowersAndShop::drawJokerOffer(Orvex::GUIWindow& window, bool const& drawn) {
    Kartenset const* set = StyleSettings::instance().getKartenset();
    if (!drawn || !set) return;
    drawOffer(window, links_.cards->findJokerPile(), set->getSingle(Kartenset::kJoker), nullptr);
}

void PowersAndShop::drawWildcardOffer(Orvex::GUIWindow& window, bool const& drawn) {
    Kartenset const* set = StyleSettings::instance().getKartenset();
    if (!drawn || !set) return;
    drawOffer(window, links_.cards->findWildcardPile(), set->getFace(wildcard_.suit, wildcard_.value),
              set->getSingle(Kartenset::kWildcard));
}

}  // namespace Solitaire
