// The style settings: lists of styles, card-set sets and backgrounds with their current choices.
#include "game/look/StyleSettings.h"

#include <cmath>
#include <utility>

#include "engine/core/NamedObjectList.h"
#include "engine/core/ReadProblems.h"
#include "engine/core/Utils.h"
#include "game/look/Background.h"
#include "game/look/GameStyle.h"
#include "game/look/Kartenset.h"
#include "game/look/Style.h"

namespace Solitaire {

namespace {

// Makes object current: one more reference for it, one less for the old one.
template <class T>
bool replaceCurrent(T*& current, T* object) {
    if (!object || object == current) return false;
    object->addRef();
    T* const old = current;
    current = object;
    if (old) old->release();
    return true;
}

template <class T>
void releaseAll(std::vector<T*>& list, T*& current) {
    if (current) current->release();
    current = nullptr;
    Orvex::releaseAll(list);
}

}  // namespace

StyleSettings& StyleSettings::instance() {
    static StyleSettings settings;
    return settings;
}

StyleSettings::StyleSettings() { addFallbackStyle(); }

StyleSettings::~StyleSettings() { releaseLists(); }

void StyleSettings::addFallbackStyle() {
    auto* fallback = new Style(L"DEFAULT");
    addStyle(fallback);
    fallback->release();  // the list holds it
    fallbackStyle_ = fallback;
    auto* fallbackGame = new GameStyle(L"DEFAULT");
    addGameStyle(fallbackGame);
    fallbackGame->release();
    fallbackGameStyle_ = fallbackGame;
}

void StyleSettings::clear() {
    releaseLists();
    addFallbackStyle();
}

void StyleSettings::releaseLists() {
    for (CardSetSet* set : sets_) {
        for (auto& entry : set->entries) entry.first->release();
        delete set;
    }
    sets_.clear();
    currentSet_ = nullptr;
    entryName_.clear();
    if (cardSet_) cardSet_->release();
    cardSet_ = nullptr;
    defaultBackground_ = nullptr;
    fallbackStyle_ = nullptr;
    fallbackGameStyle_ = nullptr;
    releaseAll(backgrounds_, background_);
    releaseAll(styles_, style_);
    releaseAll(gameStyles_, gameStyle_);
}

Orvex::Texture2D* StyleSettings::getCardSetTexture(int slot) const {
    return cardSet_ ? cardSet_->getTexture(slot) : nullptr;
}

void StyleSettings::addStyle(Style* style) {
    if (!style) return;
    style->addRef();
    styles_.push_back(style);
    if (style_ && style_ != fallbackStyle_) return;
    setStyle(style);
    // Data brought a style: the fallback leaves the list, so a style of data named "DEFAULT" is
    // the one that name finds (a saved "ACTUAL_STYLE" chooses it again after a restart).
    if (Style* fallback = std::exchange(fallbackStyle_, nullptr); fallback && fallback != style) {
        std::erase(styles_, fallback);
        fallback->release();
    }
}

void StyleSettings::addBackground(Background* background) {
    if (!background) return;
    background->addRef();
    backgrounds_.push_back(background);
    if (!background_) replaceCurrent(background_, background);
}

void StyleSettings::addKartenset(Kartenset* cardSet) {
    if (!cardSet) return;
    auto file = [this, cardSet](std::wstring const& group, std::wstring const& entry) {
        CardSetSet* set = findCardSetSet(group);
        if (!set) {
            set = new CardSetSet{group, {}};
            sets_.push_back(set);
        }
        cardSet->addRef();
        set->entries.emplace_back(cardSet, entry);
    };
    if (cardSet->getSetEntries().empty()) file(L"DEFAULT", cardSet->getName());
    for (auto const& [group, entry] : cardSet->getSetEntries()) file(group, entry);
}

void StyleSettings::addGameStyle(GameStyle* gameStyle) {
    if (!gameStyle) return;
    gameStyle->addRef();
    gameStyles_.push_back(gameStyle);
    if (gameStyle_ && gameStyle_ != fallbackGameStyle_) return;
    setGameStyle(gameStyle);
    // Data brought a game style: the fallback leaves the list (whoever still holds it keeps it
    // alive until the signal has moved them on).
    if (GameStyle* fallback = std::exchange(fallbackGameStyle_, nullptr)) {
        std::erase(gameStyles_, fallback);
        fallback->release();
    }
}

GameStyle* StyleSettings::findGameStyle(std::wstring const& name) const {
    return Orvex::findNamedObject(gameStyles_, name);
}

Style* StyleSettings::findStyle(std::wstring const& name) const { return Orvex::findNamedObject(styles_, name); }

Background* StyleSettings::findBackground(std::wstring const& name) const {
    return Orvex::findNamedObject(backgrounds_, name);
}

Kartenset* StyleSettings::findKartenset(std::wstring const& name) const {
    for (CardSetSet const* set : sets_) {
        for (auto const& entry : set->entries) {
            if (entry.first->getName() == name) return entry.first;
        }
    }
    return nullptr;
}

StyleSettings::CardSetSet* StyleSettings::findCardSetSet(std::wstring const& name) {
    for (CardSetSet* set : sets_) {
        if (set->name == name) return set;
    }
    return nullptr;
}

int StyleSettings::indexOfKartenset(CardSetSet const* set) const {
    for (std::size_t i = 0; i < sets_.size(); ++i) {
        if (sets_[i] == set) return static_cast<int>(i);
    }
    return 0;
}

void StyleSettings::selectStyle(std::wstring const& name) { setStyle(findStyle(name)); }

void StyleSettings::selectBackground(std::wstring const& name) {
    replaceCurrent(background_, findBackground(name));
}

void StyleSettings::selectGameStyle(std::wstring const& name) { setGameStyle(findGameStyle(name)); }

void StyleSettings::selectCardSetSet(std::wstring const& name) {
    CardSetSet* set = findCardSetSet(name);
    if (!set) return;
    currentSet_ = set;
    if (cardSet_) selectCardSet(entryName_);
}

void StyleSettings::selectCardSet(std::wstring const& name) {
    Kartenset* chosen = currentSetEntry(name);
    if (!chosen) return;
    setCurrentCardSet(chosen);
    entryName_ = name;
}

void StyleSettings::selectKartensetByIndex(int index) {
    if (index < 0 || index >= static_cast<int>(sets_.size())) return;
    selectCardSetSet(sets_[static_cast<std::size_t>(index)]->name);
}

Kartenset* StyleSettings::findInCurrentSet(std::wstring const& name) const {
    auto const entryOf = [this, &name]() -> std::wstring const& {
        for (CardSetSet const* set : sets_)
            for (auto const& [cardSet, entry] : set->entries)
                if (cardSet->getName() == name) return entry;
        return name;
    };
    return currentSetEntry(entryOf());
}

Kartenset* StyleSettings::currentSetEntry(std::wstring const& entry) const {
    if (!currentSet_) return nullptr;
    Kartenset* chosen = nullptr;
    for (auto const& [cardSet, name] : currentSet_->entries)
        if (name == entry) chosen = cardSet;
    return chosen;
}

void StyleSettings::setStyle(Style* style) {
    if (replaceCurrent(style_, style)) styleChanged.emit(style_);
}

void StyleSettings::setGameStyle(GameStyle* gameStyle) {
    if (replaceCurrent(gameStyle_, gameStyle)) gameStyleChanged.emit(gameStyle_);
}

void StyleSettings::setCurrentCardSet(Kartenset* cardSet) {
    if (!cardSet || cardSet == cardSet_) return;
    if (cardSet_) cardSet_->setTexturesActive(false);
    replaceCurrent(cardSet_, cardSet);
    cardSet_->setTexturesActive(true);
    entryName_ = cardSet_->getName();
    int const back = cardsBack_;
    cardsBack_ = Kartenset::fitBack(back, backsHeld());
    kartensetChanged.emit(cardSet_);
    if (cardsBack_ != back) cardsBackChanged.emit(cardsBack_);
}

void StyleSettings::setCardsBack(int index) {
    cardsBack_ = Kartenset::fitBack(index, backsHeld());
    cardsBackChanged.emit(cardsBack_);
}

int StyleSettings::backsHeld() const { return cardSet_ ? cardSet_->getBackCount() : Kartenset::kBackChoices; }

void StyleSettings::setStyleParam(float param) {
    if (!(std::fabs(param) <= Orvex::kMaxMeasure)) return;
    styleParam_ = param;
    if (!style_) return;
    style_->applyParam(styleParam_);
    styleChanged.emit(style_);
}

void StyleSettings::setParticleSpawnMult(float mult) {
    if (std::isfinite(mult)) particleSpawnMult_ = mult;
}

}  // namespace Solitaire
