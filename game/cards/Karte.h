// A playing card on the table: suit and value, its pile, face, locks and keys, joker and wildcard
// flags, and animated properties (position, rotation, scale, opacity, face turn, locks, keys,
// mark swing) that move towards goals set by piles, arrangements and the card manager.
//
// Animated setters take a goal, a speed and a delay. A delay above 0 only stores the goal and a
// pending bit behind the card's single wait timer (setWaitTimer starts them when it runs out);
// a speed that is not above 0 jumps. Snapshots record goals (pending ones first), never values
// in between.
//
// Links: `links` are the cards this card lies on, `backLinks` the cards lying on it; X.linkTo(Y)
// means X lies on Y, and Y stands in X's `links` exactly when X stands in Y's `backLinks`. A
// card is free when `backLinks` is empty; the run picked at c is c.collectLinked(run, true, 0,
// limit). Note that `links` are not "the cards that follow this card", as the name may suggest:
// linkEnds and the placing read them as the cards beneath. The offset lists run beside the link
// lists (one entry per link: where that card's goal lies relative to this card's goal) or stay
// empty until updateLinkOffsets rebuilds them.
//
// Karte.cpp: construction, slots, the property setters and queries; Karte_motion.cpp: glide,
// turn, deferred start and the mark swings; Karte_links.cpp: links, linked placement and the
// drag distances;
// Karte_undo.cpp: snapshots; Karte_render.cpp: the renderable side; Karte_swap.cpp: the
// shuffle's exchange of two cards; Karte_save.cpp: the card's part of the running-game save;
// Karte_flight.cpp: flights along a path (CardFlight.h).
#pragma once

#include <limits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/gui/Interpolation.h"
#include "game/cards/KartenObjekt.h"
#include "game/cards/PileWords.h"
#include "port/d3dx9/d3dx9math.h"

namespace Orvex {
struct SplinePoint;
}

namespace Solitaire {

struct CardFlight;
class Kartenset;
class Kartenstapel;
class StapelLayout;
class Style;

class Karte : public KartenObjekt {
public:
    using FloatInterp = Orvex::Interpolation<float, float>;
    using Vec2Interp = Orvex::Interpolation<D3DXVECTOR2, float>;
    using Vec4Interp = Orvex::Interpolation<D3DXVECTOR4, float>;
    using LinkedCards = std::vector<std::pair<Karte*, int>>;

    static constexpr int kSuitExtra = 4;
    // Pending bits (also the deferred-start flags).
    enum Pending : int {
        kPendingPosition = 1,
        kPendingFace = 2,
        kPendingScale = 4,
        kPendingLocks = 8,
        kPendingKeys = 16,
        kPendingRotation = 32,
        kPendingOpacity = 64,
        kPendingAll = 127,
    };
    // A glide to within this of the running goal (both axes) keeps the running glide.
    static constexpr float kGlideTolerance = 0.1f;
    static constexpr float kTurnExponent = 0.5f;

    // The goals the last setter of each property stored, with their speeds.
    struct PendingGoals {
        D3DXVECTOR2 position{0.0f, 0.0f};
        float rotation = 0.0f;
        bool wrap = true;
        float scale = 1.0f;
        float opacity = 1.0f;
        bool face = false;
        D3DXVECTOR4 locks{0.0f, 0.0f, 0.0f, 0.0f};
        D3DXVECTOR4 keys{0.0f, 0.0f, 0.0f, 0.0f};
        float positionSpeed = 0.0f;
        float rotationSpeed = 0.0f;
        float scaleSpeed = 0.0f;
        float opacitySpeed = 0.0f;
        float faceSpeed = 0.0f;
        float locksSpeed = 0.0f;
        float keysSpeed = 0.0f;
    };

    // One snapshot: where the card is going, never where it is mid-animation.
    class KartenUndoData : public UndoData {
    public:
        explicit KartenUndoData(Karte& card);
        // Ends the card's wait, then writes links, goals (through the setters at the current
        // style's undo speeds), attributes, pile and flags back; ends a flight. The offset lists
        // are emptied and rebuilt when the cards are next placed.
        void restore() override;

        Karte& owner;
        std::vector<Karte*> links, backLinks;
        D3DXVECTOR2 position;
        float rotation;
        int suit, value, extraNumber;
        Kartenstapel* pile;
        StapelLayout* pileLayout;
        bool faceUp;
        std::wstring tag;
        float opacity, scale;
        bool stateFlag;
        D3DXVECTOR4 keys, locks;
        int goalKind;
        bool isWildcard, isJoker, laid, specialFlag;
    };

    // flags is not used.
    Karte(int const& value, int const& suit, int const& flags, int const& index);
    ~Karte() override;

    // Property setters (goal, speed, delay).
    void setOpacity(float const& goal, float const& speed, float const& delay);
    void setScale(float const& goal, float const& speed, float const& delay);
    void setFaceUp(bool const& up, float const& speed, float const& delay);
    void setLocks(D3DXVECTOR4 const& goal, float const& speed, float const& delay);
    void setKeys(D3DXVECTOR4 const& goal, float const& speed, float const& delay);
    // Glide: speed v runs a glide up to the style's "ANORDNENSPEED_MAX_LIN_DIST" at v x
    // "ANORDNENSPEED_SPEED_MULT" units per second; a longer one takes MAX / (v x MULT) seconds.
    void moveTo(D3DXVECTOR2 const& goal, float const& speed, float const& delay);
    // Turn; with wrap the angle is brought into -90..90 by steps of 180.
    void rotateTo(float const& angle, float const& speed, float const& delay, bool const& wrap);
    // ORs flags into the pending bits and sets the wait; when a running wait ends (t not above 0)
    // the stored changes start: glide, face, scale, turn, locks, keys, opacity.
    void setWaitTimer(float const& delay, int const& flags);

    // Flights (Karte_flight.cpp). setFlight replaces any flight (null ends it) and starts the new
    // one from where the card stands now; stepFlight advances it and ends it at the path's end.
    void setFlight(std::unique_ptr<CardFlight> newFlight);
    void stepFlight(float dt);
    bool isFlying() const { return flight != nullptr; }

    // With pending and a waiting glide the stored goal; else current or goal position.
    void getPosition(D3DXVECTOR2& out, bool const& current, bool const& pending) const;
    D3DXVECTOR2 getPositionGoal() const;
    // The pending face when bit 2 waits, else face goal > 0.5.
    bool isFaceUp() const;
    // The locks (pending ones when bit 8 waits, else the goal) are not all zero.
    bool isLocked() const;
    // The glide runs with t below 1, or a flight is active.
    bool isMoving() const;
    int getSuit() const { return suit; }
    int getValue() const { return value; }

    // The pile and a copy of its name (into `tag`); marks the description dirty. The template
    // form reads the name where Kartenstapel is a complete type.
    void setPile(Kartenstapel* newPile, StapelLayout* layout, std::wstring const& name);
    void setPile(std::nullptr_t) { setPile(nullptr, nullptr, std::wstring()); }
    template <class Pile>
    void setPile(Pile* newPile) {
        if (newPile) setPile(newPile, static_cast<StapelLayout*>(newPile), newPile->getName());
        else setPile(nullptr);
    }

    // Links (Karte_links.cpp).
    void linkTo(Karte* card);
    void linkFrom(Karte* card);
    // Every occurrence of card leaves `links` (unlinkBelow) or `backLinks` (unlinkAbove), and
    // this card leaves card's opposite list.
    void unlinkBelow(Karte* card);
    void unlinkAbove(Karte* card);
    // Below, then above: with keep, drops links to cards not in the set; else to cards in it.
    void pruneLinks(std::vector<Karte*> const& cards, bool const& keep);
    // The flags a move sets as it carries the card from `from` (none: from nowhere) onto `to`: a
    // wildcard stays one only on a wildcard pile, and one carried off its pile, or a joker, is laid.
    void takeMoveFlags(Kartenstapel const* from, Kartenstapel const& to);
    // With bridge, below and above: every card below is linked under every card above, then
    // this card's links are gone. Otherwise drops the chosen sides. Offsets are recomputed.
    void unlink(bool const& bridge, bool const& below, bool const& above);
    void updateLinkOffsets();
    // Breadth-first over the link graph from this card (distance 0); limits count cards found
    // per direction (-1: no limit, 0: that direction is not followed). together walks both
    // directions from every card found; otherwise links and backLinks are searched apart.
    void collectLinked(LinkedCards& out, bool const& together, int const& limitLinks, int const& limitBackLinks) const;
    // The cards below the chain of this card that lie on nothing.
    void linkEnds(LinkedCards& out) const;
    // A card on a pile lets the pile re-place it; otherwise the linked cards are placed at
    // their offsets around each other.
    void placeLinked(float const& speed);
    // The same placement over the given cards only (while a run is dragged).
    void placeLinkedIn(float const& speed, LinkedCards const& cards);

    // The drag distance of carried cards (1 the picked card, 1 + the distance in the run for
    // the cards it carries, 0 when not carried). setDragDistance gives each card of run 1 + |its
    // depth - this card's depth| (0 for distance 0); spreadDragDistance gives distance to this
    // card and, with deep, to every card lying on it. Each card once.
    void setDragDistance(int const& distance, LinkedCards const& run);
    void spreadDragDistance(int const& distance, bool const& deep);

    // Takes other's place and gives it this one (links, pile, render order, face, goals);
    // refused for EXTRA cards, wildcards and jokers (Karte_swap.cpp).
    bool swapPlaceWith(Karte& other);

    void setMarkState(int const& flags, float const& speed) override;
    // Restart the two mark swings (goal-reached slots of markOffset and markRotation).
    void restartMarkOffset();
    void restartMarkAngle();

    void saveUndoState() override;

    // Running-game save: "VISIBLE", "LOCK", "KEY", and "WILDCARD", "JOKER" when set.
    void saveState(Orvex::XMLNode& node) const override;
    void loadState(Orvex::XMLNode const& node, RunningGameLoad& load) override;

    // Slots of the style settings' signals; null is ignored.
    void onKartensetChanged(Kartenset* newSet);
    void onStyleChanged(Style* newStyle);

    // Renderable side (Karte_render.cpp).
    void queueRender(RenderQueue& queue, RenderContext const& context) override;
    void render(RenderContext const& context) override;
    Orvex::SpriteRect getScreenQuad() override;
    Orvex::Texture2D* getShapeTexture() override;
    float getRenderOrder() override { return renderOrder; }

    int goalKind = kGoalNone;  // the GoalKind of its pile when the table was last resolved
    std::vector<Karte*> links;
    std::vector<Karte*> backLinks;
    std::vector<D3DXVECTOR2> linkOffsets;
    std::vector<D3DXVECTOR2> backLinkOffsets;
    Vec2Interp position{D3DXVECTOR2(0.0f, 0.0f)};
    FloatInterp opacity{1.0f};
    FloatInterp rotation{0.0f};
    FloatInterp scale{1.0f};
    D3DXVECTOR2 cardSize{0.0f, 0.0f};
    int pendingMask = 0;
    float waitTime = -1.0f;
    PendingGoals pending;
    bool pendingStateFlag = true;
    float stateTimer = -1.0f;
    Vec2Interp markOffset{D3DXVECTOR2(0.0f, 0.0f)};
    FloatInterp markRotation{0.0f};
    int value = 0;
    int suit = 0;
    int extraNumber = 0;
    float dealDelay = -1.0f;
    FloatInterp face{0.0f};
    Vec4Interp locks{D3DXVECTOR4(0.0f, 0.0f, 0.0f, 0.0f)};
    Vec4Interp keys{D3DXVECTOR4(0.0f, 0.0f, 0.0f, 0.0f)};
    int highlightLevel = 0;
    bool highlightGuard = false;
    bool linkGuard = false;
    bool isWildcard = false;
    bool isJoker = false;
    // Made by the shop (or owned from an earlier game): a joker or wildcard beyond the deck. A
    // bought joker fits anything; a dealt one is a card of the deck shown as a joker.
    bool bought = false;
    bool isDealtJoker() const { return isJoker && !bought; }
    // Laid off its wildcard or joker pile by a move of the player: the move's resolution sends it
    // home no more, wherever it comes free (a found one is collected once).
    bool laid = false;
    Kartenstapel* pile = nullptr;
    StapelLayout* pileLayout = nullptr;
    // The name of the pile as the card keeps it.
    std::wstring tag;
    float renderOrder = 0.0f;
    Kartenset* cardSet = nullptr;
    Style* style = nullptr;
    bool specialFlag = false;
    // Positive while the card flies: the seconds left of the flight as it was planned.
    float flightTime = -1.0f;
    std::unique_ptr<CardFlight> flight;
    // Cards in the upper layer are drawn above all others.
    bool upperLayer = false;
    int dragDistance = 0;
    bool overlayFlag = false;

private:
    void onMarkOffsetReached(Vec2Interp& interp);
    void onMarkRotationReached(FloatInterp& interp);
    // Stores the wait of a delayed change; false while the change waits.
    bool startsNow(int const& bit, float const& delay);
    // Position, rotation and scale from the flight's path point, as its "PARAMS" ask.
    void applyFlightPose(Orvex::SplinePoint const& target);
    // The speed to run an interpolation with after a setter: not above 0 (or not finite) jumps.
    template <class Interp>
    static void applySpeed(Interp& interp, float const& speed) {
        if (speed > 0.0f && speed <= std::numeric_limits<float>::max()) interp.speed = speed;
        else interp.setTime(1.0f);
    }
};

// "KREUZ 2"-style name of suit and value.
std::wstring cardName(int const& suit, int const& value);

}  // namespace Solitaire
