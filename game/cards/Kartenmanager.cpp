// The card manager's instance, construction, reset and look-ups (by name, user name, type).
#include "game/cards/Kartenmanager.h"

#include <algorithm>

#include "engine/core/NamedObjectList.h"
#include "engine/core/Utils.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenstapel.h"
#include "game/look/GameStyle.h"
#include "game/look/StyleSettings.h"

namespace Solitaire {

Kartenmanager& Kartenmanager::instance() {
    static Kartenmanager manager;
    return manager;
}

Kartenmanager::Kartenmanager() {
    // The style settings are made first, so they outlive the piles that listen to them.
    StyleSettings& settings = StyleSettings::instance();
    settings.gameStyleChanged.connect(this, &Kartenmanager::onGameStyleChanged);
    settings.kartensetChanged.connect(this, &Kartenmanager::onKartensetChanged);
    createDiscardPile();
}

Kartenmanager::~Kartenmanager() {
    createDiscardPile();
    setGameStyle(nullptr);
}

void Kartenmanager::releaseAll() {
    discardFrom(0);
    for (Karte* card : cards) {
        card->setPile(nullptr);
        card->release();
    }
    cards.clear();
    Orvex::releaseAll(piles);
    Orvex::releaseAll(templates_);
}

void Kartenmanager::resetFields() {
    rules_ = {};
    play_.reset(rules_.startScore);
    recordOpen_ = false;
    firstPileFilter.clear();
    secondPileFilter.clear();
    clickMode = kClickNormal;
    placedCardCount = 0;
    tutorialCardNames.clear();
    tutorialPileNames.clear();
    delayedSounds.clear();
    // The hints name the cards and piles just released.
    hints_.clear();
    resetSearchTree();
}

void Kartenmanager::createDiscardPile() {
    resetInput();
    releaseAll();
    setGameStyle(StyleSettings::instance().getGameStyle());
    resetFields();
    tooltipObject = nullptr;
    tooltipText.clear();
    tooltipChanged.emit(std::wstring(), false);
}

Kartenstapel* Kartenmanager::findPile(std::wstring const& name) const { return Orvex::findNamedObject(piles, name); }

Kartenstapel* Kartenmanager::findTemplate(std::wstring const& name) const {
    return Orvex::findNamedObject(templates_, name);
}

std::vector<Kartenstapel*> Kartenmanager::getPilesOfType(int type) const {
    std::vector<Kartenstapel*> out;
    for (Kartenstapel* pile : piles)
        if (pile->rules.pileType == type) out.push_back(pile);
    return out;
}

std::vector<KartenObjekt*> Kartenmanager::getPilesByUserName(std::wstring const& name) const {
    return getPilesByUserName(std::vector<std::wstring>{name});
}

std::vector<KartenObjekt*> Kartenmanager::getPilesByUserName(std::vector<std::wstring> const& names) const {
    auto named = [&names](KartenObjekt const* object) {
        return std::find(names.begin(), names.end(), object->getUserName()) != names.end();
    };
    std::vector<KartenObjekt*> out;
    for (Kartenstapel* pile : piles)
        if (named(pile)) out.push_back(pile);
    for (Karte* card : cards)
        if (named(card)) out.push_back(card);
    return out;
}

void Kartenmanager::addCard(Karte* card) {
    if (!card) return;
    card->index = static_cast<int>(cards.size());
    cards.push_back(card);
}

}  // namespace Solitaire
