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
    Orvex::releaseAll(templates);
}

void Kartenmanager::resetFields() {
    score = startScore = 1000.0f;
    bonusScore = extraScore = 0.0f;
    extraCardsFound = 0;
    gameTime = 0.0f;
    gameName.clear();
    gameStyleName.clear();
    deckSize = 52;
    deckColourRule = kColourAlles;
    deckValueRules[0] = deckValueRules[1] = kValueAlles;
    alternateCardCreation = false;
    extraCardCount = extraCardType = 0;
    hintIndex = 0;
    gameStatus = kGameRunning;
    gameEndSent = false;
    resolutionPending = true;
    resolutionDelay = -1.0f;
    recordOpen_ = false;
    useRightMouse = useDoubleClick = autoCheckEnd = true;
    visibleRatio = wildcardRatio = jokerRatio = 0.0f;
    goalCardCount = endPileCardCount = goalAndEndCardCount = 0;
    tableauPileCount = emptyTableauPileCount = tableauCardsAtStart = tableauCardCount = 0;
    wildcardList.clear();
    jokerList.clear();
    showPileType = removeSourcePileType = kPileTableau;
    removeTargetPileName = shufflePileName = L"STAPEL_ABLAGE";
    specialPileName.clear();
    specialPileWasEmpty = false;
    doubleClickGoalOnly = false;
    firstPileFilter.clear();
    secondPileFilter.clear();
    autoMoveCount = -1;
    notInGoalLimits[0] = notInGoalLimits[1] = 0;
    pilePositions.clear();
    removeExtraCardWishes = removeKeyOrLockWishes = false;
    clickMode = kClickNormal;
    placedCardCount = 0;
    tutorialCardNames.clear();
    tutorialPileNames.clear();
    delayedSounds.clear();
    // The hints name the cards and piles just released.
    hints.clear();
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
    return Orvex::findNamedObject(templates, name);
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
