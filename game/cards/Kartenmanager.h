// The single owner of the running game: the cards and piles of the current variant, the pile
// templates, the game definition's settings, score, balance and the table counters, and the undo
// history of the whole table.
//
// Kartenmanager.cpp: the instance, construction, the reset (createDiscardPile) and look-ups.
// Kartenmanager_read.cpp: reading a variant file (loadGameDefinition, includes, positions).
// Kartenmanager_undo.cpp: the manager's undo record, saving a step and stepping all histories.
// Kartenmanager_save.cpp: saving and resuming a running game.
//
// Includes ("KARTEN_FILE", "KARTEN_FILE_POST") nest at most kMaxIncludeDepth deep, and a file
// that is already being read is not read again, so a cycle ends with one log line. Piles,
// templates, pile positions and deck counts are bounded by the limits below; numbers must be
// finite. A refused key, include or element is named in one log line with its file.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "engine/core/XMLNode.h"
#include "game/cards/UndoObjekt.h"
#include "port/d3dx9/d3dx9math.h"
#include "signals/sigslot.h"

namespace Solitaire {

class Karte;
class KartenObjekt;
class Kartenstapel;

// The record sent with the game-end signal.
struct GameEndParms {
    float score = 0.0f;
    float time = 0.0f;
    int extraCards = 0;
    int restCards = 0;
    float restRatio = 0.0f;
    int clearedCards = 0;
    float clearedRatio = 0.0f;
    bool allTableauEmpty = false;
    int emptyTableauPiles = 0;
    int maxCombo = 0;
};

// A game definition's screen place of a pile ("DYNAMIC_STAPEL_POSES" "STAPEL_POS").
struct PilePosition {
    std::wstring name;
    D3DXVECTOR2 relative{0.0f, 0.0f};
    float renderIndex = 0.5f;
    float scale = 1.0f;
    bool drawIfEmpty = true;
};

class Kartenmanager : public UndoObjekt, public sigslot::has_slots<sigslot::single_threaded> {
public:
    class KartenmanagerUndoData;

    static constexpr int kMaxIncludeDepth = 16;
    static constexpr int kMaxPiles = 256;         // piles, and templates apart
    static constexpr int kMaxPilePositions = 256;
    static constexpr int kMaxDeckSize = 1024;     // "ANZAHL_KARTEN": twenty decks
    static constexpr int kMaxExtraCards = 1024;   // "ANZAHL_STERNE"
    static constexpr int kMaxExtraType = 255;     // "STERNETYP": an index into the extra faces

    static Kartenmanager& instance();
    Kartenmanager(Kartenmanager const&) = delete;
    Kartenmanager& operator=(Kartenmanager const&) = delete;
    ~Kartenmanager() override;

    // Reset before a variant is read: history, cards, piles and templates go, the counters and
    // the definition's defaults return, the tooltip is cleared.
    void createDiscardPile();
    // Reads one game definition (includes first, templates, piles, post includes, positions,
    // then the keys). sourceName names the file in log lines.
    void loadGameDefinition(Orvex::XMLNode& node, std::wstring const& sourceName = L"");
    // Loads fileName through the archives and reads it as a game definition.
    bool loadGameDefinitionFile(std::wstring const& fileName);
    // The file being read (for the log lines of piles); empty between reads.
    std::wstring const& getCurrentSource() const { return currentSource_; }

    Kartenstapel* findPile(std::wstring const& name) const;
    Kartenstapel* findTemplate(std::wstring const& name) const;
    std::vector<Kartenstapel*> getPilesOfType(int type) const;
    std::vector<Kartenstapel*> const& getPiles() const { return piles; }
    std::vector<Kartenstapel*> const& getTemplates() const { return templates; }
    std::vector<PilePosition> const& getPilePositions() const { return pilePositions; }

    // Takes a card into the game (one reference; its index becomes its place in the list).
    void addCard(Karte* card);

    // Undo: steps 4 to 6 of a save (base, own record, every card, every pile), and stepping all
    // histories. undoSteps returns the manager's own change (0 when the game is decided).
    void saveUndoState() override;
    virtual Orvex::s32 undoSteps(Orvex::s32 const& steps, bool const& free, bool const& chargeAnyway);

    // The running game into node (nothing once the game is decided), and back into the game
    // that was started anew; sourceName names the save in the log line of refused data.
    void saveRunningGame(Orvex::XMLNode& node) const;
    void loadRunningGame(Orvex::XMLNode const& node, std::wstring const& sourceName = L"");

    // Signals, in order.
    sigslot::signal2<bool const&, GameEndParms const&> gameEnded;
    sigslot::signal2<std::wstring const&, bool const&> tooltipChanged;
    sigslot::signal1<D3DXVECTOR4 const&> cardBoundsChanged;
    sigslot::signal1<D3DXVECTOR4 const&> locksOpened;
    sigslot::signal1<Karte&> wildcardCollected;
    sigslot::signal1<Karte&> jokerCollected;
    sigslot::signal3<Karte&, unsigned long, unsigned long> cardEvent;
    sigslot::signal1<unsigned long const&> goalCardsArrived;
    sigslot::signal1<Karte&> goalCardArrived;
    sigslot::signal2<KartenObjekt&, bool> objectUsed;
    sigslot::signal1<unsigned long const&> comboChanged;
    sigslot::signal0<> specialPileMissing;
    sigslot::signal1<Kartenstapel&> specialPileEmptied;
    sigslot::signal1<Kartenstapel&> specialPileFilled;

    std::vector<Karte*> cards;         // one reference each
    std::vector<Kartenstapel*> piles;  // one reference each
    std::vector<Kartenstapel*> templates;
    float score = 1000.0f;
    float startScore = 1000.0f;
    float bonusScore = 0.0f;
    float extraScore = 0.0f;
    int extraCardsFound = 0;
    float pointsBalance = 0.0f;
    float startPointsBalance = 0.0f;
    float gameTime = 0.0f;
    std::wstring gameName;
    std::wstring gameStyleName;  // "GAMESTYLE", for the style settings
    int deckSize = 52;
    int deckColourRule = 9;
    int deckValueRules[2] = {17, 17};
    bool alternateCardCreation = false;
    int extraCardCount = 0;
    int extraCardType = 0;
    int hintIndex = 0;
    signed char gameStatus = 0;
    bool gameEndSent = false;
    bool resolutionPending = true;
    float resolutionDelay = -1.0f;
    bool useRightMouse = true;
    bool useDoubleClick = true;
    bool autoCheckEnd = true;
    float visibleRatio = 0.0f;
    float wildcardRatio = 0.0f;
    float jokerRatio = 0.0f;
    int goalCardCount = 0;
    int endPileCardCount = 0;
    int goalAndEndCardCount = 0;
    int tableauPileCount = 0;
    int emptyTableauPileCount = 0;
    int tableauCardsAtStart = 0;
    int tableauCardCount = 0;
    std::vector<std::pair<int, int>> wildcardList;
    std::vector<std::pair<int, int>> jokerList;
    int showPileType = 3;
    int removeSourcePileType = 3;
    std::wstring removeTargetPileName = L"STAPEL_ABLAGE";
    std::wstring shufflePileName = L"STAPEL_ABLAGE";
    std::wstring specialPileName;
    bool specialPileEmpty = false;
    bool doubleClickGoalOnly = false;
    std::vector<std::wstring> firstPileFilter, secondPileFilter;
    int autoMoveCount = -1;
    short notInGoalLimits[2] = {0, 0};
    std::vector<PilePosition> pilePositions;
    // "REMOVE_ALL_EXTRA_CARDS_WUENSCHE", "REMOVE_ALL_KEY_OR_LOCK_CARDS_WUENSCHE": in force for
    // every arrangement read after them.
    bool removeExtraCardWishes = false;
    bool removeKeyOrLockWishes = false;
    // Arranging, undo and the click actions do nothing of their own while it is set.
    bool bypass = false;

private:
    Kartenmanager();
    void releaseAll();
    void resetFields();
    void readDefinition(Orvex::XMLNode& node, std::wstring const& sourceName, int depth);
    void readInclude(Orvex::XMLNode const& element, std::wstring const& sourceName, int depth);

    std::wstring currentSource_;
    std::vector<std::wstring> openFiles_;  // the include chain being read
};

}  // namespace Solitaire
