// Draw order of the cards on the table, computed once per frame: a card is drawn above every card
// it lies on, the lowest card of a pile at the pile's "RENDER_INDEX", the upper layer above all,
// a gliding card lifted by up to kLift while its glide runs, and the run a player carries above
// all of them (kCarriedLayer, the held card first, each card lying on it one higher).
//
// The walk over the cards below keeps a visited set and treats a card met again while its own
// order is being computed as contributing nothing, so a cycle of links (which a broken undo or
// a bad relink could leave) ends instead of recursing without end. A flying card keeps the order
// it had.
#pragma once

#include <unordered_map>
#include <vector>

namespace Solitaire {

class Karte;

class RenderOrder {
public:
    static constexpr float kLift = 50.0f;
    static constexpr float kUpperLayer = 1000.0f;
    static constexpr float kCarriedLayer = 2.0f * kUpperLayer;

    // Forgets the orders of the last frame.
    void beginFrame() { orders_.clear(); }
    // The card's order this frame (computed once).
    float orderOf(Karte& card);
    // Computes every card's order and stores it as the card's render order.
    void update(std::vector<Karte*> const& cards);

private:
    float compute(Karte& card);

    std::unordered_map<Karte const*, float> orders_;
    std::unordered_map<Karte const*, bool> inProgress_;
};

}  // namespace Solitaire
