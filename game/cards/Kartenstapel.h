// A pile on the table: a place holding cards, with the rule fields of its variant definition
// (PileRules) and its arrangements, which hold and place its cards. The card manager owns the
// piles and reads them from the variant file.
//
// Kartenstapel.cpp: construction, the style and card-set slots, scale and position.
// Kartenstapel_read.cpp: reading a pile definition ("VORLAGE" copies, arrangements, keys).
// Kartenstapel_cards.cpp: the cards of the pile, free cards and capacity, arranging.
// Kartenstapel_placing.cpp: laying cards and runs on the pile, and the arrangement's free slot
// and insertion.
// Kartenstapel_undo.cpp: the pile's undo record and its history steps.
// Kartenstapel_save.cpp: the pile's part of the running-game save (its arrangements).
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
#include "game/cards/KartenObjekt.h"
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

    // Marks the pile and every card it holds, face up or not.
    void setMarkState(int const& flags, float const& speed) override;

    // Scale of the pile and, at once, of every card it holds (with its linked piles).
    void setScale(float scale);
    float getScale() const { return scale_; }

    // Undo protocol: the pile's record and each arrangement's in step.
    void saveUndoState() override;
    Orvex::s32 stepHistory(Orvex::s32 const& delta) override;
    void discardFrom(Orvex::s32 const& n) override;

    // Running-game save: one "ANNORDNUNG" per arrangement.
    void saveState(Orvex::XMLNode& node) const override;
    void loadState(Orvex::XMLNode const& node, RunningGameLoad& load) override;

    // Not drawn yet: the pile picture comes with the table renderer.
    void queueRender(RenderQueue& queue, RenderContext const& context) override;
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

    float scale_ = 1.0f;  // "SCALE"
    std::vector<Anordnung*> arrangements_;  // owned
    Anordnung* rootArrangement_ = nullptr;
};

}  // namespace Solitaire
