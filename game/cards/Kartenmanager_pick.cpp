// The card manager's render queue and picking, the screen rectangles and hit tests, the click
// modes (powers), the game style's wiring, sounds and the collected extra card.
#include <algorithm>
#include <cmath>

#include "game/cards/Anordnung.h"
#include "game/cards/CardDrawing.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "game/cards/Picking.h"
#include "game/cards/RenderOrder.h"
#include "game/cards/StatistikManager.h"
#include "game/look/Background.h"
#include "game/look/GameStyle.h"
#include "game/look/Kartenset.h"
#include "game/look/SolitaireCamera.h"
#include "game/look/Style.h"
#include "game/look/StyleSettings.h"
#include "game/particles/SolPartikelManager.h"
#include "port/crt/crt.h"
#include "port/d3dx9/d3dx9math.h"

namespace Solitaire {

namespace {

D3DXVECTOR2 toScreen(SolitaireCamera const* camera, D3DXVECTOR2 const& p) {
    return camera ? camera->worldToScreen(p, false) : p;
}

float zoomOf(SolitaireCamera const* camera) { return camera ? camera->getScale(false) : 1.0f; }

Orvex::FRect centred(D3DXVECTOR2 const& c, float w, float h) {
    return Orvex::FRect(c.x - w * 0.5f, c.y - h * 0.5f, c.x + w * 0.5f, c.y + h * 0.5f);
}

Kartenset* currentCardSet() { return StyleSettings::instance().getKartenset(); }

}  // namespace

Orvex::FRect computeScreenRect(Karte const& card, SolitaireCamera const* camera) {
    D3DXVECTOR2 const world{card.position.current.x + card.markOffset.current.x,
                            card.position.current.y + card.markOffset.current.y};
    float const zoom = zoomOf(camera) * card.scale.current;
    float const turn = std::fabs(card.face.current - 0.5f) * 2.0f;
    return centred(toScreen(camera, world), card.cardSize.x * zoom * turn, card.cardSize.y * zoom);
}

Orvex::FRect computeScreenRect(Kartenstapel const& pile, SolitaireCamera const* camera) {
    float const zoom = zoomOf(camera) * pile.getScale();
    return centred(toScreen(camera, pile.position), pile.cardSize.x * zoom, pile.cardSize.y * zoom);
}

float hitMeasure(Karte const& card, SolitaireCamera const* camera, D3DXVECTOR2 const& point) {
    if (card.opacity.current == 0.0f) return 0.0f;
    Orvex::FRect const r = computeScreenRect(card, camera);
    D3DXVECTOR2 const c{(r.left + r.right) * 0.5f, (r.top + r.bottom) * 0.5f};
    // Turn the point back by the card's angle and test it against the upright rectangle.
    float const angle = -D3DXToRadian(card.rotation.current + card.markRotation.current);
    float const dx = point.x - c.x, dy = point.y - c.y;
    float const x = dx * std::cos(angle) - dy * std::sin(angle);
    float const y = dx * std::sin(angle) + dy * std::cos(angle);
    float const w = r.right - r.left, h = r.bottom - r.top;
    bool inside = std::fabs(x) <= w * 0.5f && std::fabs(y) <= h * 0.5f;
    // Sets with per-pixel shapes leave out the clear parts (rounded corners) of the outline.
    if (inside && card.cardSet && card.cardSet->useTextureCheck && w > 0.0f && h > 0.0f)
        inside = shapeCovers(card.cardSet->getShapeTexture(card.suit, card.value), x / w + 0.5f, y / h + 0.5f);
    return inside ? 1.0f : 0.0f;
}

float hitMeasure(Kartenstapel const& pile, SolitaireCamera const* camera, D3DXVECTOR2 const& point) {
    Orvex::FRect const r = computeScreenRect(pile, camera);
    return point.x >= r.left && point.x <= r.right && point.y >= r.top && point.y <= r.bottom ? 1.0f : 0.0f;
}

float overlapArea(Orvex::FRect const& a, Orvex::FRect const& b) {
    float const w = std::min(a.right, b.right) - std::max(a.left, b.left);
    float const h = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    return w > 0.0f && h > 0.0f ? w * h : 0.0f;
}

void Kartenmanager::queueRender(RenderContext const& context, RenderQueue& queue) {
    // Cards are queued by their draw order of this frame: a card above the cards it lies on.
    if (context.layerMask & kLayerCards) RenderOrder().update(cards);
    if (context.layerMask & kLayerPiles) {
        for (Kartenstapel* pile : piles) {
            bool hidden = false;
            for (PilePosition const& entry : rules_.pilePositions)
                if (entry.name == pile->getName() && !entry.drawIfEmpty) hidden = true;
            if (hidden && pile->rules.clickOnEmpty == 0 && pile->getCardsWithLinked().empty()) continue;
            pile->queueRender(queue, context);
        }
    }
    if (context.layerMask & kLayerCards)
        for (Karte* card : cards) card->queueRender(queue, context);
    if (context.layerMask & kLayerBackground)
        if (Background* background = StyleSettings::instance().getBackground()) background->queueRender(queue, context);
}

int Kartenmanager::pickAt(D3DXVECTOR2 const& query, Karte*& card, Kartenstapel*& pile,
                          std::vector<Karte*> const& excluded) {
    card = nullptr;
    pile = nullptr;
    RenderContext context;
    context.camera = camera;
    context.layerMask = kLayerCards;
    RenderQueue queue;
    queueRender(context, queue);
    queue.sortItems();
    auto const& items = queue.items();
    for (auto it = items.rbegin(); it != items.rend(); ++it) {
        auto* hit = dynamic_cast<Karte*>(it->object);
        if (!hit || std::find(excluded.begin(), excluded.end(), hit) != excluded.end()) continue;
        if (hitMeasure(*hit, camera, query) == 0.0f) continue;
        card = hit;
        pile = hit->pile;
        return pile ? kPickCardOnPile : kPickCard;
    }
    queue.clear();
    context.layerMask = kLayerPiles;
    queueRender(context, queue);
    queue.sortItems();
    for (auto it = queue.items().rbegin(); it != queue.items().rend(); ++it) {
        auto* hit = dynamic_cast<Kartenstapel*>(it->object);
        if (!hit || hitMeasure(*hit, camera, query) == 0.0f) continue;
        pile = hit;
        return kPickPile;
    }
    return kPickNothing;
}

int Kartenmanager::pickDropTarget(D3DXVECTOR2 const& query, Karte*& card, Kartenstapel*& pile,
                                  std::vector<Karte*> const& dragged) {
    int const found = pickAt(query, card, pile, dragged);
    if (found != kPickNothing || dragged.empty()) return found;
    RenderContext context;
    context.camera = camera;
    context.layerMask = kLayerCards | kLayerPiles;
    RenderQueue queue;
    queueRender(context, queue);
    queue.sortItems();
    std::vector<Orvex::FRect> quads;
    for (Karte const* moving : dragged) quads.push_back(computeScreenRect(*moving, camera));
    float best = 0.0f;
    for (auto it = queue.items().rbegin(); it != queue.items().rend(); ++it) {
        Orvex::FRect rect;
        auto* asCard = dynamic_cast<Karte*>(it->object);
        auto* asPile = dynamic_cast<Kartenstapel*>(it->object);
        if (asCard) {
            if (std::find(dragged.begin(), dragged.end(), asCard) != dragged.end()) continue;
            rect = computeScreenRect(*asCard, camera);
        } else if (asPile) {
            rect = computeScreenRect(*asPile, camera);
        } else {
            continue;
        }
        for (Orvex::FRect const& quad : quads) {
            float const overlap = overlapArea(rect, quad);
            if (overlap <= best) continue;
            best = overlap;
            card = asCard;
            pile = asCard ? nullptr : asPile;
        }
    }
    if (card) {
        pile = card->pile;
        return pile ? kPickCardOnPile : kPickCard;
    }
    return pile ? kPickPile : kPickNothing;
}

bool Kartenmanager::setClickMode(int mode) {
    switch (mode) {
    case kClickReveal: {
        for (Kartenstapel* pile : getPilesOfType(rules_.showPileType)) {
            if (pile->getCardsWithLinked().empty()) continue;
            clickMode = kClickReveal;
            return true;
        }
        clickMode = kClickNormal;
        return false;
    }
    case kClickUndo: {
        if (undoSteps(-1, true, false) != 0) clickModeUsed.emit(ClickMode(kClickUndo));
        clickMode = kClickNormal;
        return true;
    }
    case kClickShuffle: {
        clickMode = kClickNormal;
        Kartenstapel* pile = findPile(rules_.shufflePileName);
        if (!pile || !pile->getRootArrangement()) return true;
        Anordnung* root = pile->getRootArrangement();
        auto outside = [&] {
            std::vector<Karte*> all = pile->getCardsWithLinked();
            std::vector<Karte*> held;
            root->collectCards(held, true, true);
            std::erase_if(all, [&](Karte* c) { return std::find(held.begin(), held.end(), c) != held.end(); });
            return std::make_pair(all, held);
        };
        // Nothing outside the pile's own cards, or none of its own: nothing to exchange, and the
        // power stays unused.
        if (auto const [others, held] = outside(); others.empty() || held.empty()) return false;
        std::size_t const tries = 2 * pile->getCardsWithLinked().size();
        for (std::size_t attempt = 0; attempt < tries; ++attempt) {
            auto [others, held] = outside();
            msvc::random_shuffle(others.begin(), others.end());
            for (std::size_t i = 0; i < others.size() && i < held.size(); ++i) {
                if (!others[i]->pile || !held[i]->pile) continue;
                swapCards(others[i], findArrangementOfCard(others[i]), held[i], findArrangementOfCard(held[i]));
            }
            std::vector<HintRecord> moves;
            HintWeights const weights;
            for (Kartenstapel* other : piles) {
                if (other == pile || other == findWildcardPile() || other == findJokerPile()) continue;
                pile->collectMoves(piles, moves, weights);
                other->collectMoves(piles, moves, weights);
                if (moves.size() > 2) break;
            }
            if (moves.size() > 2) break;
        }
        Style const* style = StyleSettings::instance().getStyle();
        pile->arrange(style ? style->arrangeSpeed : 0.0f);
        scheduleResolution();
        saveUndoState();
        if (Kartenset const* set = currentCardSet()) SolPartikelManager::instance().spawnAt(set->shuffleEmitter, *pile);
        playSound(GameStyle::kSoundBoniShuffle);
        clickModeUsed.emit(ClickMode(kClickShuffle));
        return true;
    }
    default:
        clickMode = mode;
        return true;
    }
}

void Kartenmanager::collectExtraCard(Kartenstapel* pile, Karte* card) {
    if (!card || card->suit != Karte::kSuitExtra) return;
    if (pile && pile->getRootArrangement() && pile->getRootArrangement()->removeCard(card)) {
        card->setPile(nullptr);
        card->markDescriptionDirty();
        pile->getRootArrangement()->rebuildLinks();
    }
    card->unlink(true, true, true);
    card->setWaitTimer(1.0f, Karte::kPendingAll);
    if (Kartenset const* set = currentCardSet()) SolPartikelManager::instance().spawnAt(set->extraCardExposedEmitter, *card);
    Style const* style = StyleSettings::instance().getStyle();
    float const speed = style ? style->fadeoutSpeed : 1.0f;
    card->moveTo({-1000.0f, -1000.0f}, speed, 0.0f);
    card->setOpacity(0.0f, style ? style->makeAlpha0Speed : 1.0f, 0.0f);
    card->rotateTo(style ? style->fadeoutRotation : 450.0f, speed, 0.0f, false);
    card->setScale(style ? style->fadeoutScale : 10.0f, speed, 0.0f);
    card->renderOrder = 100000.0f;
    ++play_.counts.extraCardsFound;
    if (!bypass) {
        extraCardExposed.emit(*card, static_cast<unsigned long>(play_.counts.extraCardsFound), 0ul);
        playSound(GameStyle::kSoundExtraCard);
    }
}

void Kartenmanager::onKartensetChanged(Kartenset* cardSet) {
    if (cardSet && camera) camera->setCardSize(cardSet->cellSize.x, cardSet->cellSize.y);
}

void Kartenmanager::setGameStyle(GameStyle* gameStyle) {
    if (gameStyle == gameStyle_) return;
    if (gameStyle_) {
        gameStyle_->multiplierRaised.disconnect(this);
        gameStyle_->multiplierEnded.disconnect(this);
        gameStyle_->comboCountChanged.disconnect(this);
        gameStyle_->comboStep.disconnect(this);
        gameStyle_->comboEnded.disconnect(this);
        gameStyle_->newBestCombo.disconnect(this);
        gameStyle_->release();
    }
    gameStyle_ = gameStyle;
    if (!gameStyle_) return;
    gameStyle_->addRef();
    gameStyle_->multiplierRaised.connect(this, &Kartenmanager::onMultiplierRaised);
    gameStyle_->multiplierEnded.connect(this, &Kartenmanager::onMultiplierEnded);
    gameStyle_->comboCountChanged.connect(this, &Kartenmanager::onComboCountChanged);
    gameStyle_->comboStep.connect(this, &Kartenmanager::onComboStep);
    gameStyle_->comboEnded.connect(this, &Kartenmanager::onComboEnded);
    gameStyle_->newBestCombo.connect(this, &Kartenmanager::onNewBestCombo);
}

namespace {

void spawnEmitter(std::wstring Kartenset::*name) {
    if (Kartenset const* set = currentCardSet())
        SolPartikelManager::instance().spawnFlying(set->*name, {-1000.0f, -1000.0f}, {-1000.0f, -1000.0f},
                                                   Kartenmanager::kPointsWaveAmplitude, Kartenmanager::kPointsWaveFrequency);
}

}  // namespace

void Kartenmanager::onMultiplierRaised(float const& factor) {
    StatistikManager::instance().updateMaxFactor(factor);
    spawnEmitter(&Kartenset::addMultiplierEmitter);
}

void Kartenmanager::onMultiplierEnded(float const&) { spawnEmitter(&Kartenset::removeMultiplierEmitter); }

void Kartenmanager::onComboCountChanged(unsigned const& combo) {
    StatistikManager::instance().updateMaxCombo(combo);
    StatistikManager::instance().countComboStep();
    comboChanged.emit(static_cast<unsigned long>(combo));
    if (bypass) return;
    spawnEmitter(&Kartenset::addComboEmitter);
    if (combo == 5) playSound(GameStyle::kSoundComboStart);
    else if (combo > 5) playSound(GameStyle::kSoundCombo);
}

void Kartenmanager::onComboStep() { StatistikManager::instance().countCombo(); }

void Kartenmanager::onComboEnded(unsigned const& combo) {
    StatistikManager::instance().updateMaxCombo(combo);
    if (combo < 2 || bypass) return;
    spawnEmitter(&Kartenset::endComboEmitter);
    playSound(GameStyle::kSoundComboEnd);
}

void Kartenmanager::onNewBestCombo(unsigned const& combo) {
    spawnEmitter(&Kartenset::maxComboEmitter);
    StatistikManager::instance().updateMaxCombo(combo);
}

void Kartenmanager::spawnPoints(float const& delta) {
    if (delta == 0.0f) return;
    spawnEmitter(delta > 0.0f ? &Kartenset::addPointsEmitter : &Kartenset::removePointsEmitter);
}

void Kartenmanager::playSound(int sound) {
    if (!gameStyle_) return;
    Solitaire::playSound(gameStyle_->getSoundName(sound));
}

}  // namespace Solitaire
