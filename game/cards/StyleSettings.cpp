// The style settings: lists of styles and card sets with their current choices.
#include "game/cards/StyleSettings.h"

#include "game/cards/GameStyle.h"
#include "game/cards/Kartenset.h"
#include "game/cards/Style.h"

namespace Solitaire {

namespace {

template <class T>
T* findByName(std::vector<T*> const& list, std::wstring const& name) {
    for (T* object : list) {
        if (object->getName() == name) return object;
    }
    return nullptr;
}

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

}  // namespace

StyleSettings& StyleSettings::instance() {
    static StyleSettings settings;
    return settings;
}

StyleSettings::StyleSettings() {
    auto* fallback = new Style(L"DEFAULT");
    addStyle(fallback);
    fallback->release();  // the list holds it
    auto* fallbackGame = new GameStyle(L"DEFAULT");
    addGameStyle(fallbackGame);
    setGameStyle(fallbackGame);
    fallbackGame->release();
}

StyleSettings::~StyleSettings() {
    if (style_) style_->release();
    if (cardSet_) cardSet_->release();
    for (Style* style : styles_) style->release();
    for (Kartenset* cardSet : cardSets_) cardSet->release();
    if (gameStyle_) gameStyle_->release();
    for (GameStyle* gameStyle : gameStyles_) gameStyle->release();
}

void StyleSettings::addStyle(Style* style) {
    if (!style) return;
    style->addRef();
    styles_.push_back(style);
    if (!style_) replaceCurrent(style_, style);
}

void StyleSettings::addKartenset(Kartenset* cardSet) {
    if (!cardSet) return;
    cardSet->addRef();
    cardSets_.push_back(cardSet);
}

void StyleSettings::addGameStyle(GameStyle* gameStyle) {
    if (!gameStyle) return;
    gameStyle->addRef();
    gameStyles_.push_back(gameStyle);
}

GameStyle* StyleSettings::findGameStyle(std::wstring const& name) const { return findByName(gameStyles_, name); }

Style* StyleSettings::findStyle(std::wstring const& name) const { return findByName(styles_, name); }

Kartenset* StyleSettings::findKartenset(std::wstring const& name) const { return findByName(cardSets_, name); }

void StyleSettings::setStyle(Style* style) {
    if (replaceCurrent(style_, style)) styleChanged.emit(style_);
}

void StyleSettings::setGameStyle(GameStyle* gameStyle) {
    if (replaceCurrent(gameStyle_, gameStyle)) gameStyleChanged.emit(gameStyle_);
}

void StyleSettings::setKartenset(Kartenset* cardSet) {
    if (replaceCurrent(cardSet_, cardSet)) kartensetChanged.emit(cardSet_);
}

}  // namespace Solitaire
