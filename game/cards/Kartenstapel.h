// A pile on the table: a place holding cards, with the rule fields of its variant definition
// (PileRules) and its arrangements, which hold and place its cards. The card manager owns the
// piles and reads them from the variant file.
//
// Kartenstapel.cpp: construction, the style and card-set slots, scale and position.
// Kartenstapel_read.cpp: reading a pile definition ("VORLAGE" copies, arrangements, keys).
// Kartenstapel_cards.cpp: the cards of the pile, its top and first card, free cards and
// capacity, turning them all, arranging, its bounds.
// Kartenstapel_clicks.cpp: the click actions (a face-down card, the empty pile).
// Kartenstapel_placing.cpp: laying cards and runs on the pile, and the arrangement's free slot
// and insertion.
// Kartenstapel_undo.cpp: the pile's undo record and its history steps.
// Kartenstapel_rules.cpp: a card on a card, pick-up, the run accepted, the shuffle's cards.
// Kartenstapel_hints.cpp: the moves that start at the pile (the hint search).
// Kartenstapel_save.cpp: the pile's part of the running-game save (its arrangements).
// Kartenstapel_render.cpp: queueing and drawing the empty place, accept markers and mark.
//
// Layout numbers (StapelLayout): `cardStep` is the style's effective "STAPEL" "VERSCHIEBUNG"
// times the card set's "VERSCHIEBUNG_MULT", `cardSize` the card set's cell, `jitter` and
// `rotationJitter` the style's jitter; the place follows the cell.
//
// Data is untrusted: numbers must be finite, counts lie within the limits below; what is refused
// is named in one log line per pile (its name and the file it came from).
#pragma once

#include <string>
#include <vector>

#include "engine/core/XMLNode.h"
#include "engine/render/FRect.h"
#include "game/cards/HintRecord.h"
#include "game/cards/Karte.h"
#include "game/cards/KartenObjekt.h"
#include "game/cards/KartenWunsch.h"
#include "game/cards/PileRules.h"
#include "game/cards/StapelLayout.h"
#include "port/d3dx9/d3dx9math.h"

namespace Solitaire {

class Anordnung;
class Karte;
class Kartenset;
class Style;

class Kartenstapel : public KartenObjekt, public StapelLayout {
public:
    using Anordnung = Solitaire::Anordnung;
    class KartenstapelUndoData;

    // More arrangements than any layout needs; a definition beyond it is cut.
    static constexpr int kMaxArrangements = 64;
    // "INIT_KARTEN_SICHTBAR" and "INIT_KARTEN_VERDECKT" each: more than the largest deck.
    static constexpr int kMaxInitCards = 1024;
    // Entries per name list ("QUELLSTAPEL" ...): far beyond the piles of a variant.
    static constexpr int kMaxNamesPerList = 256;

    explicit Kartenstapel(int index);
    Kartenstapel(Kartenstapel const&) = delete;
    Kartenstapel& operator=(Kartenstapel const&) = delete;
    ~Kartenstapel() override;

    // Reads the pile definition (the card manager's templates serve "VORLAGE").
    void readXML(Orvex::XMLNode& node) override;
    // The same, naming sourceName in the log line of refused data.
    void readDefinition(Orvex::XMLNode& node, std::wstring const& sourceName);
    // Copies every rule field, layout value and arrangement (as copies) of the template; the
    // name and "USERNAME" stay.
    void copyFrom(Kartenstapel const& templatePile);

    // "VORRATS_STAPEL" .. by the pile type.
    std::wstring getTypeName() const;

    // Cards of the root arrangement, then of its successors recursively, each once.
    void getCards(std::vector<Karte*>& out, bool const& takeHidden, bool const& takeVisible) const;
    // getCards (both kinds), then each "VERKNÜPFT" pile's, one level deep, each card once.
    std::vector<Karte*> getCardsWithLinked() const;
    // The last card of the pile; an empty pile asks its first linked pile, and so on while
    // empty (each pile once). Null at the end.
    Karte* getTopCard() const;
    // Breadth-first over the pile and its linked piles (each once): the first card of the first
    // that holds cards; null when none does.
    Karte* findFirstCard() const;
    // Turns every card of every arrangement face up or down at that speed, without delay.
    void setAllCardsFaceUp(bool const& up, float const& speed);
    // The pile's place (its cell at its scale) united with the rectangle of each of its cards:
    // where the cards are now (current) or where they are going, a turned card by the box
    // around its turned corners.
    void getBounds(Orvex::FRect& out, bool const& current) const;
    // The cards of the root chain on which no card lies.
    std::vector<Karte*> collectFreeCards() const;
    // Room left in the root chain: -1 unlimited, else the sum of "MAX_CARDS" (less the cards held
    // when lessCards is set). 0 without a root.
    int freeCapacity(bool lessCards) const;
    Anordnung* findArrangement(std::wstring const& name) const;
    std::vector<Anordnung*> const& getArrangements() const { return arrangements_; }
    Anordnung* getRootArrangement() const { return rootArrangement_; }

    // Lays every card out again (not while the manager's bypass flag is set).
    void arrange(float speed, std::vector<Karte*> const& exclusions = {});
    // Re-places one card of the pile (nothing when the pile does not hold it).
    void arrange(Karte* card, float speed);
    void arrangeCard(Karte* card, float const& speed) override { arrange(card, speed); }

    // Placing: the arrangement tree's free slot, one card, a run (see Kartenstapel_placing.cpp).
    bool addCard(Karte* card, Karte* partner, bool arrangeRoot, bool noPairs);
    bool addRun(std::vector<Karte*> const& run, Karte* partner);
    D3DXVECTOR2 getAnchorPosition() const;
    // Takes card out of the root chain; clears its pile; with rebuild, re-links the chain.
    bool removeCard(Karte* card, bool rebuild);

    // Rules (Kartenstapel_rules.cpp). upper is laid on lower (the pile's card); with upper null
    // lower alone is judged (the empty-pile rules). The colour codes 0..3, 5, 6 test the lower
    // card, the value codes 0..14 the upper. run serves the whole-run codes 15 and 16, which set
    // wholeRun.
    bool acceptsCardOn(Karte const* lower, Karte const* upper, int colourRule, int valueRule, bool& wholeRun,
                       Karte::LinkedCards const& run) const;
    // Whether card is a joker that here fits on anything and takes anything: everywhere but as a
    // dealt joker on a goal pile, where it is the card it stands in for.
    bool isWildJoker(Karte const& card) const;
    // acceptsCardOn of two neighbours in a run on this pile, a wild joker fitting at once.
    bool followsInRun(Karte const* lower, Karte const* upper, int colourRule, int valueRule, bool& wholeRun,
                      Karte::LinkedCards const& run) const;
    // How canPickCard takes a card still gliding: refused, or as if it had arrived (the move's
    // resolution judges the table the move left, not how far its cards have come on their way).
    enum class Gliding { kRefused, kAsArrived };
    // Whether card, with what lies on it, may be picked up here; never a locked card, nor a run
    // holding one, nor a gliding card unless gliding says so. A wildcard or joker pile gives each
    // of its face-up cards, alone. A wild joker in the run fits both its neighbours.
    bool canPickCard(Karte const* card, Gliding gliding = Gliding::kRefused) const;
    // How many cards may lie on a picked card (-1 no limit).
    int getMaxMovableRun() const;
    // The run picking card carries: the card first, then the cards on it up to the carry limit
    // (on a wildcard or joker pile the card alone).
    void collectCarriedRun(Karte const* card, Karte::LinkedCards& run) const;
    bool isInAcceptedSequence(Karte const* card) const;
    // The cards the shuffle power may swap ("MISCHEN_MODE").
    std::vector<Karte*> getMixCards() const;
    // The cards a run may be laid on: the free cards of the root chain; on a wildcard or joker
    // pile its face-up cards.
    std::vector<Karte*> getTargetCards() const;
    // Whether the pile takes run; onCard, when given, is the only card it may be laid on. A joker
    // fits anything and takes anything, but a dealt joker on a goal pile is the card it is.
    bool acceptsCards(Karte::LinkedCards const& run, Karte const* onCard) const;
    // The same with the pile's getTargetCards taken once by a caller asking about many runs.
    bool acceptsCards(Karte::LinkedCards const& run, Karte const* onCard, std::vector<Karte*> const& targets) const;
    // Whether the pile takes run by its rules with every joker read as the card it is (its suit
    // and value) rather than as one that fits anything and takes anything. The automatic moves
    // ask this first, so a double click lays a joker where the card it stands in for belongs
    // and lays a card on a joker only where it follows that card.
    bool acceptsCardsAsTheyAre(Karte::LinkedCards const& run) const;
    // Whether a click on this empty pile would fetch anything: a fetch bit, a "REST_COUNT_HOLEN"
    // not spent and a linked pile holding cards.
    bool emptyClickFetches() const;
    // The deal's wishes of every arrangement, in order: a wish after a dealt card becomes the
    // colour and value (one copy per value) a card must have to follow it.
    void collectDealWishes(std::vector<KartenWunsch>& out) const;
    bool isGoalPile() const { return rules.goalKind != kGoalNone; }
    bool isSpecialPile() const;

    // Hints (Kartenstapel_hints.cpp): appends the moves that start here; 0 nothing, 1 card
    // clicks, 2 the empty-pile click, k + 2 for k moves.
    // targetCards, when given, holds getTargetCards of each of allPiles (taken once by a caller
    // asking every pile); gliding says how a card still on its way is picked (canPickCard).
    int collectMoves(std::vector<Kartenstapel*> const& allPiles, std::vector<HintRecord>& out,
                     HintWeights const& weights, std::vector<std::vector<Karte*>> const* targetCards = nullptr,
                     Gliding gliding = Gliding::kRefused) const;

    // Marks the pile and every card it holds, face up or not.
    void setMarkState(int const& flags, float const& speed) override;

    // Scale of the pile and, at once, of every card it holds (with its linked piles).
    void setScale(float scale);
    float getScale() const { return scale_; }
    // Moves the pile's place (table units) and, at once and without animation, every card it
    // holds (with its linked piles) by as much: their glides keep running from where they were
    // relative to the pile. Nothing while the card manager's bypass flag is set.
    void setPosition(D3DXVECTOR2 const& origin);

    // Click actions; true when they ran. A face-down card of the root chain ("CLICK_ON_VERDECKT"):
    // turn it, deal onto the linked piles; the empty pile ("CLICK_ON_LEER"): fetch the linked
    // piles' cards back, limited by "REST_COUNT_HOLEN".
    bool onClickHidden(Karte* card);
    bool onClickEmpty();

    // Undo protocol: the pile's record and each arrangement's in step.
    void saveUndoState() override;
    Orvex::s32 stepHistory(Orvex::s32 const& delta) override;
    void discardFrom(Orvex::s32 const& n) override;

    // Running-game save: one "ANNORDNUNG" per arrangement.
    void saveState(Orvex::XMLNode& node) const override;
    void loadState(Orvex::XMLNode const& node, RunningGameLoad& load) override;

    // Drawn over the pile's camera-mapped rectangle when "DRAW_STAPEL" is set.
    void queueRender(RenderQueue& queue, RenderContext const& context) override;
    // The pile type whose empty-place picture the pile shows: its own, but a stock that a click
    // on its empty place does not fill again (no fetching "CLICK_ON_LEER", or its
    // "REST_COUNT_HOLEN" used up) shows the plain place of a tableau pile, not the turn-over
    // arrows of a stock dealt again.
    int getEmptyPictureType() const;
    void render(RenderContext const& context) override;
    Orvex::SpriteRect getScreenQuad() override;
    Orvex::Texture2D* getShapeTexture() override;
    float getRenderOrder() override { return rules.renderIndex; }

    // Slots of the style settings' current-style and current-card-set signals.
    void onStyleChanged(Style* style);
    void onKartensetChanged(Kartenset* cardSet);

    PileRules rules;
    Kartenset* cardSet = nullptr;  // counted
    Style* style = nullptr;        // counted

private:
    friend class KartenstapelUndoData;

    void updateCardStep();
    void clearArrangements();
    // acceptsCards and acceptsCardsAsTheyAre; jokersFit: a joker carried fits anything and a
    // joker lying on the pile takes anything (a dealt one not on a goal pile).
    bool takes(Karte::LinkedCards const& run, Karte const* onCard, std::vector<Karte*> const& targets,
               bool jokersFit) const;

    float scale_ = 1.0f;  // "SCALE"
    std::vector<Anordnung*> arrangements_;  // owned
    Anordnung* rootArrangement_ = nullptr;
};

}  // namespace Solitaire
