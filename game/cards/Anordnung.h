// A pile's arrangement: an ordered run of the pile's cards and how they lie on the table, in a
// straight fan with separate steps for face-up, face-down and marked cards, or along a spline.
// Arrangements chain ("NEXT"): one that follows others starts where they end. Each also carries
// the definition's card wishes. The pile names it Kartenstapel::Anordnung.
//
// Anordnung.cpp: construction, copies, wishes, chains, counts and undo; Anordnung_read.cpp: the
// definition reader; Anordnung_place.cpp: offsets, anchor and placement; Anordnung_save.cpp: its
// part of the running-game save.
//
// Definitions are untrusted: "MAX_CARDS" and wish places are held within kMaxCards, the wish
// list within kMaxWishes, non-finite numbers are refused (the default stays) with one log line
// per arrangement naming what was refused. Chains are walked with a visited set, so a "NEXT"
// cycle is harmless. Missing per-card jitter entries count as none.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "engine/core/NamedObject.h"
#include "game/cards/Karte.h"
#include "game/cards/KartenWunsch.h"
#include "game/cards/UndoObjekt.h"
#include "port/d3dx9/d3dx9math.h"

namespace Orvex {
class Spline;
class XMLNode;
}  // namespace Orvex

namespace Solitaire {

class Kartenstapel;
class StapelLayout;
struct RunningGameLoad;

// What the game definition asks of the wishes being read.
struct AnordnungReadOptions {
    bool removeExtraWishes = false;    // "REMOVE_ALL_EXTRA_CARDS_WUENSCHE"
    bool removeKeyLockWishes = false;  // "REMOVE_ALL_KEY_OR_LOCK_CARDS_WUENSCHE"
    std::wstring sourceName;           // the file, for log lines
};

class Anordnung : public UndoObjekt, public Orvex::NamedObject {
public:
    enum CenterMode : int { kCenterMin = 0, kCenterMedian = 1, kCenterMax = 2, kCenterRatio = 3 };
    static constexpr int kMaxCards = 1024;   // "MAX_CARDS" default and bound
    static constexpr int kMaxWishes = 1024;

    // One offset of placeOffset: x, y in card steps and a rotation in degrees.
    struct Offset {
        float x = 0.0f;
        float y = 0.0f;
        float rotation = 0.0f;
    };
    struct Counts {
        int visible = 0;
        int hidden = 0;
        int selected = 0;
    };

    class AnordnungUndoData : public UndoData {
    public:
        explicit AnordnungUndoData(Anordnung& arrangement);
        void restore() override;

        Anordnung& owner;
        std::vector<Karte*> cards;
        std::vector<D3DXVECTOR2> cardOffsets;
        std::vector<float> cardTurns;
        float fillRatio;
    };

    // Defaults, name from the element, then the reader. pile and layout are the owning pile
    // (the same object; the layout is how this code reads it) and may be null in tests.
    Anordnung(Orvex::XMLNode& node, Kartenstapel* pile, StapelLayout* layout,
              AnordnungReadOptions const& options = {});
    // Copies the definition of a template arrangement (a new copy of its spline) for a new pile;
    // cards and chain lists start empty.
    Anordnung(Anordnung const& other, Kartenstapel* pile, StapelLayout* layout);
    ~Anordnung() override;
    Anordnung(Anordnung const&) = delete;
    Anordnung& operator=(Anordnung const&) = delete;

    // The definition reader; an override of a template's arrangement reads into it again.
    void readXML(Orvex::XMLNode& node) override;
    void loadDefinition(Orvex::XMLNode& node, AnordnungReadOptions const& options);
    // Resolves the "NEXT" names among the pile's arrangements (sorted names; unknown skipped).
    void linkSuccessors(std::vector<Anordnung*> const& pileArrangements);

    // Wishes.
    void appendWish(KartenWunsch const& wish);
    // "AUTO_CREATE_EXTRACARD_WISH": makes the wish for place 0 an EXTRA wish (false) or shifts
    // the others and adds one (true).
    bool addExtraCardWish();

    // Cards. Appends (or inserts at place, when within the list) with random jitter entries.
    void addCardEntry(Karte* card, int place = -1);
    // Removes the card from this arrangement, or from the first successor holding it.
    bool removeCard(Karte* card);
    // Cards here and in every successor (each arrangement once).
    int countCards() const;
    // -1 (no limit) or the places left: "MAX_CARDS" (less the cards with subtractCards) summed
    // over the chain; any unlimited arrangement makes it -1.
    int freeCapacity(bool const& subtractCards) const;
    // The chain's cards (this arrangement's, then each successor's), each once, face-up ones with
    // takeVisible and face-down ones with takeHidden.
    void collectCards(std::vector<Karte*>& out, bool const& takeHidden, bool const& takeVisible) const;
    // The chain's cards on which no card lies.
    std::vector<Karte*> collectFreeCards() const;
    // Unlinks every card of the chain, then links each onto the one before it, the first onto
    // the last card of each predecessor holding cards, and each successor's first card onto the
    // last card here.
    void rebuildLinks();
    // Largest depth over the predecessors plus this arrangement's cards (unless excludeSelf).
    int chainDepth(bool const& excludeSelf) const;

    // Placement (Anordnung_place.cpp).
    Counts countBefore(int const& place) const;
    Offset placeOffset(int const& place, int const& places) const;
    D3DXVECTOR2 anchor() const;
    D3DXVECTOR2 endPoint() const;
    void place(float const& speed, std::vector<Karte*> const& exclusions);
    // Cards over "MAX_ANZ_FILL_KARTEN": 0 (no compression) when that is not above 0.
    static float computeFillRatio(int const& cardCount, int const& maxFillCards);
    // Non-finite or negative ratios count as 0.
    void setFillRatio(float const& ratio);
    // The weights of the three step kinds (visible, hidden, selected) from the steps' lengths;
    // all steps zero gives equal weights.
    void computeSplineWeights();

    void saveUndoState() override;

    // Running-game save: "NAME" and the card indexes as values, first to last.
    void saveState(Orvex::XMLNode& node) const;
    void loadState(Orvex::XMLNode const& node, RunningGameLoad& load);

    Kartenstapel* getPile() const { return pile; }
    StapelLayout* getLayout() const { return layout; }

    Orvex::Spline* spline = nullptr;
    bool splineStartAtZero = true;
    bool splineEndAtEnd = true;
    bool useSplineDirection = false;
    float splineRotationOffset = 0.0f;
    float splineRotationFactor = 1.0f;
    Offset deltaVisible{0.0f, 0.1f, 0.0f};
    Offset deltaInvisible{0.0f, 0.1f, 0.0f};
    Offset deltaSelect{0.0f, 0.2f, 0.0f};
    float splineWeights[3] = {0.25f, 0.25f, 0.5f};
    D3DXVECTOR2 position{0.0f, 0.0f};  // card steps
    float rotation = 0.0f;
    int maxCards = kMaxCards;  // -1: as many as it holds
    float splinePow = 1.0f;
    std::vector<Karte*> cards;
    std::vector<D3DXVECTOR2> cardOffsets;
    std::vector<float> cardTurns;
    std::vector<Anordnung*> nextArrangements;
    std::vector<Anordnung*> previousArrangements;
    Kartenstapel* pile = nullptr;
    StapelLayout* layout = nullptr;
    std::set<std::wstring> nextNames;
    int centerMode[2] = {kCenterRatio, kCenterMax};
    float centerRatio[2] = {0.5f, 0.5f};
    float fillRatio = 0.0f;
    bool cardsCenteredOnSpline = false;
    std::vector<KartenWunsch> wishes;

private:
    // The offset of a place from the counts before it and, on a spline, the counts of all places.
    Offset offsetAt(Counts const& before, int const& place, Counts whole) const;
};

}  // namespace Solitaire
