// The click actions of a pile: a click on a face-down card ("CLICK_ON_VERDECKT": turn it when no
// card lies on it, deal onto the linked piles, "xMULT" passes) and a click on the empty pile
// ("CLICK_ON_LEER": fetch the linked piles' cards back, limited by "REST_COUNT_HOLEN"). The card
// manager's mouse handling calls them; the linked piles, the game style and the sounds are the
// manager's.
//
// Each pass of a hidden-card click takes the clicked position anew and checks it again before
// every card that leaves, since cards leaving shorten the list; a place past the end is the top. The empty-pile fetch skips the
// pile itself and piles named twice, and moves a card only when its pile gives it up, so no
// card ever lies in two arrangements.
#include <algorithm>

#include "game/cards/Anordnung.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "game/look/GameStyle.h"
#include "game/look/Style.h"
#include "game/look/StyleSettings.h"
#include "port/crt/crt.h"

namespace Solitaire {

namespace {

// Linked piles by name, each once and never the pile itself.
std::vector<Kartenstapel*> linkedPilesOf(Kartenstapel const* pile) {
    std::vector<Kartenstapel*> out;
    for (std::wstring const& name : pile->rules.linkedPiles)
        for (Kartenstapel* linked : Kartenmanager::instance().findPilesByName(name))
            if (linked != pile && std::find(out.begin(), out.end(), linked) == out.end()) out.push_back(linked);
    return out;
}

}  // namespace

bool Kartenstapel::onClickHidden(Karte* card) {
    Anordnung* const root = rootArrangement_;
    if (!card || !root || card->isFaceUp() || card->isLocked() || rules.clickOnHidden == 0) return false;
    std::vector<Karte*> held;
    root->collectCards(held, true, true);
    if (std::find(held.begin(), held.end(), card) == held.end()) return false;

    unsigned const bits = rules.clickOnHidden;
    // Turned where it lies, a card must lie open: one under other cards (a column's covered
    // card, whose edge shows) stays hidden. Dealing onto linked piles takes from the top anyway.
    if (!(bits & kClickMoveVerknStapel) && !card->backLinks.empty()) return false;

    Kartenmanager& manager = Kartenmanager::instance();
    Style const* style = StyleSettings::instance().getStyle();
    float const visibleSpeed = style ? style->makeVisibleSpeed : 0.0f;
    float const revealSpeed = style ? style->arrangeSpeedReveal : 0.0f;
    float const waitStep = style ? style->revealWaitTimer : 0.0f;
    float const wait2 = style ? style->revealWaitTimer2 : 0.0f;
    GameStyle* const gameStyle = manager.getGameStyle();
    if ((bits & kClickResetMultiplier) && !manager.bypass && gameStyle) gameStyle->updateMultiplier();

    std::vector<Kartenstapel*> const linked = linkedPilesOf(this);
    int const passes = (bits & kClickXMult) ? std::clamp(rules.revealCount, 1, Anordnung::kMaxCards) : 1;
    bool dealt = false;
    std::size_t position = 0;
    for (int pass = 0; pass < passes; ++pass) {
        std::vector<Karte*> current;
        root->collectCards(current, true, true);
        if (current.empty()) break;
        // The clicked card's place while it is there; once it has left, the same place from the
        // end the cards leave (the new top card of a stock), not the bottom of the pile.
        auto found = std::find(current.begin(), current.end(), card);
        if (found != current.end()) position = static_cast<std::size_t>(found - current.begin());
        position = std::min(position, current.size() - 1);
        if (pass == 0 && (bits & kClickVerknVerdecken)) {
            float const hideSpeed = style ? style->makeInvisibleSpeed : 0.0f;
            for (Kartenstapel* other : linked) other->setAllCardsFaceUp(false, hideSpeed);
        }
        Karte* last = current[std::min(position, current.size() - 1)];
        if (bits & kClickMoveVerknStapel) {
            for (std::size_t n = 0; n < linked.size(); ++n) {
                current.clear();
                root->collectCards(current, true, true);
                if (current.empty()) break;
                // The list shrank with every card that left: take the top when the place is gone.
                position = std::min(position, current.size() - 1);
                Karte* leaving = current[position];
                float const delay = waitStep * static_cast<float>(pass + static_cast<int>(n));
                leaving->pendingStateFlag = false;
                leaving->dealDelay = delay;
                if (!removeCard(leaving, true)) break;
                leaving->unlink(false, true, true);
                linked[n]->addCard(leaving, nullptr, true, true);
                manager.settleDealtCard(*leaving);
                leaving->pendingStateFlag = true;
                if (delay + wait2 > 0.0f) leaving->stateTimer = delay + wait2;
                else leaving->stateFlag = true;
                if (bits & kClickAufdecken) leaving->setFaceUp(true, visibleSpeed, 0.0f);
                linked[n]->arrange(revealSpeed);
                last = leaving;
                dealt = true;
            }
        } else if (bits & kClickAufdecken) {
            last->setFaceUp(true, visibleSpeed, 0.0f);
        }
    }
    if (dealt) manager.playSound(GameStyle::kSoundMoveStart);
    root->rebuildLinks();
    arrange(revealSpeed);
    return true;
}

bool Kartenstapel::onClickEmpty() {
    if (rules.clickOnEmpty == 0) return false;
    unsigned const bits = rules.clickOnEmpty;
    if (bits & kEmptyHolenXMult) {
        if (rules.restCount == 0) return false;
        // From -1 it goes on below zero and never reaches 0: no limit.
        if (rules.restCount > 0) --rules.restCount;
    }
    Style const* style = StyleSettings::instance().getStyle();
    float const revealSpeed = style ? style->arrangeSpeedReveal : 0.0f;
    Anordnung* const root = rootArrangement_;
    if (bits & kEmptyHolenAlle) {
        for (Kartenstapel* linked : linkedPilesOf(this)) {
            std::vector<Karte*> taken = linked->getCardsWithLinked();
            if (bits & kEmptyStapelMischen) msvc::random_shuffle(taken.begin(), taken.end());
            for (auto it = taken.rbegin(); it != taken.rend(); ++it) {
                Karte* card = *it;
                Kartenstapel* from = card->pile;
                if (!from || from == this || !from->removeCard(card, false)) continue;
                card->unlink(false, true, true);
                if (!addCard(card, nullptr, false, true)) {
                    // No room here: the card goes back where it was.
                    from->addCard(card, nullptr, false, true);
                    continue;
                }
                card->updateLinkOffsets();
                Kartenmanager::instance().settleDealtCard(*card);
                if (bits & kEmptyStapelSichtbar) card->setFaceUp(true, style ? style->makeVisibleSpeed : 0.0f, 0.0f);
                else if (bits & kEmptyStapelVerdecken)
                    card->setFaceUp(false, style ? style->makeInvisibleSpeed : 0.0f, 0.0f);
            }
            if (Anordnung* linkedRoot = linked->getRootArrangement()) linkedRoot->rebuildLinks();
            if (root) root->rebuildLinks();
            linked->arrange(revealSpeed);
        }
    }
    arrange(revealSpeed);
    if ((bits & kEmptyDoKova) && root) {
        std::vector<Karte*> held;
        root->collectCards(held, true, true);
        if (!held.empty()) onClickHidden(held.front());
    }
    return true;
}

}  // namespace Solitaire
