// Two cards exchange their places for the shuffle power: each takes the other's links (the
// cards around them follow, so links stay symmetric), pile, render order, face and goals.
#include <algorithm>
#include <utility>

#include "game/cards/Karte.h"
#include "game/look/Style.h"

namespace Solitaire {

namespace {

void exchangeIn(std::vector<Karte*>& list, Karte* a, Karte* b) {
    for (Karte*& entry : list) {
        if (entry == a) entry = b;
        else if (entry == b) entry = a;
    }
}

}  // namespace

bool Karte::swapPlaceWith(Karte& other) {
    for (Karte const* card : {this, &other})
        if (card->suit == kSuitExtra || card->isWildcard || card->isJoker) return false;
    if (&other == this) return true;

    // The cards around both now see the other card where each lay.
    std::vector<Karte*> neighbours;
    for (Karte* card : {this, &other})
        for (auto const* list : {&card->links, &card->backLinks})
            for (Karte* next : *list)
                if (next != this && next != &other) neighbours.push_back(next);
    // Each neighbour once: a second pass would swap its entries back.
    std::sort(neighbours.begin(), neighbours.end());
    neighbours.erase(std::unique(neighbours.begin(), neighbours.end()), neighbours.end());
    for (Karte* next : neighbours) {
        exchangeIn(next->links, this, &other);
        exchangeIn(next->backLinks, this, &other);
    }
    std::swap(links, other.links);
    std::swap(backLinks, other.backLinks);
    std::swap(linkOffsets, other.linkOffsets);
    std::swap(backLinkOffsets, other.backLinkOffsets);
    for (Karte* card : {this, &other}) {
        exchangeIn(card->links, this, &other);
        exchangeIn(card->backLinks, this, &other);
    }

    std::swap(pile, other.pile);
    std::swap(pileLayout, other.pileLayout);
    std::swap(tag, other.tag);
    std::swap(renderOrder, other.renderOrder);
    markDescriptionDirty();
    other.markDescriptionDirty();

    bool const faceUp = isFaceUp();
    bool const otherFaceUp = other.isFaceUp();
    setFaceUp(otherFaceUp, 0.0f, 0.0f);
    other.setFaceUp(faceUp, 0.0f, 0.0f);

    D3DXVECTOR2 const goal = getPositionGoal();
    D3DXVECTOR2 const otherGoal = other.getPositionGoal();
    float const angle = rotation.goal;
    float const otherAngle = other.rotation.goal;
    float const speed = style ? style->arrangeSpeed : 0.0f;
    moveTo(otherGoal, speed, 0.0f);
    other.moveTo(goal, speed, 0.0f);
    rotateTo(otherAngle, speed, 0.0f, false);
    other.rotateTo(angle, speed, 0.0f, false);
    return true;
}

}  // namespace Solitaire
