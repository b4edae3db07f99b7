// The single owner of the running game: the cards and piles of the current variant, the pile
// templates, what the variant's rule file gives the table (TableRules), the running counts
// (PlayState), and the undo history of the whole table. Callers read both records through
// getRules and getPlayState; only the operations below change them.
//
// Files, each with its section below: Kartenmanager.cpp (the instance, the reset, look-ups,
// adding a card), _read.cpp (reading a variant file), _undo.cpp (the undo record and steps),
// _save.cpp (saving and resuming a running game), _score.cpp (score, balance, seed, deck, bought
// cards, counts and queries, the game-end record, the filters, the special pile, the table
// rectangle), _deal.cpp (a new game, the deal, fitting and following the table), _input.cpp
// (presses, releases, moves and double clicks on the table), _update.cpp (move execution, the
// per-frame update, hover feedback, tooltip, delayed sounds, the piles placed on the screen),
// _resolve.cpp (the move's resolution, win and end tests, the fly-out), _pick.cpp (the render
// queue, picking, the click mode, collecting extra cards, the game style's slots, points effects
// and sounds), _hints.cpp (hints, automatic moves, swapping two cards), _mix.cpp (the shuffle).
//
// Who calls in: TableInput routes the pointer. Each mouse event goes to the GUI system first;
// only while the in-game screen is active and the game is not over, and unless a GUI window
// other than the table then takes input, it passes presses to onMouseDown (a double click's
// second press to onDoubleClick instead), moves to onMouseMove and releases to onMouseUp (a
// release also over the GUI when its press reached the table), in view coordinates. The game
// object's update calls update once per frame (game step, real step, the pointer as TableInput
// reads it); the hover feedback picks there. The catalogue resets the manager
// (createDiscardPile), reads the variant (loadGameDefinition) and sets the two mouse switches;
// the game flow starts the game (startGame), ends it (finishGame, startEndFlyOut) and saves or
// resumes it (saveRunningGame, loadRunningGame); the HUD and the button dispatcher ask for
// hints, undo steps and their prices; the powers and the shop arm click modes, shuffle and set
// the balance; the tutorials set the names the player may use; the level goals, the results and
// the HUD read the counts; the piles' click actions and the fly splines call back for piles, the
// game style and sounds; the renderer queues the table.
//
// Coordinates: cards and piles lie in table coordinates, the table camera's world. Pointer
// positions are view coordinates, the game viewport's pixels, into which
// SolitaireRenderer::toGamePoint maps the window's pointer; they do not pass through
// SolitaireCamera::screenToWorld. Picking takes the cards and piles into the view instead
// (SolitaireCamera::worldToScreen, computeScreenRect). A drag carries the held card so that the
// point of it that was pressed stays under the pointer: the pointer is taken into the table
// through the camera (screenToWorld), so the card keeps pace with the pointer at every scale.
//
// Includes ("KARTEN_FILE", "KARTEN_FILE_POST") nest at most kMaxIncludeDepth deep, and a file
// that is already being read, under whichever name, is not read again, so a cycle ends with one
// log line; one definition reads at most kMaxIncludeReads included files in all. Piles,
// templates, pile positions and deck counts are bounded by the limits below; numbers must be
// finite. A refused key, include or element is named in one log line with its file; piles that
// take the name of an earlier pile (in the same file or through an include) stay, the first of
// the name being the one its name finds, and the definition says so in one line at its end.
#pragma once

#include <functional>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "engine/core/Types.h"
#include "engine/core/XMLNode.h"
#include "engine/core/XMLShape.h"
#include "engine/render/FRect.h"
#include "game/cards/HintRecord.h"
#include "game/cards/Karte.h"
#include "game/cards/PileWords.h"
#include "game/cards/PlayState.h"
#include "game/cards/RuleWords.h"
#include "game/cards/TableRules.h"
#include "game/cards/UndoObjekt.h"
#include "game/look/RenderObjekt.h"
#include "port/d3dx9/d3dx9math.h"
#include "signals/sigslot.h"

namespace Orvex {
class MouseState;
}

namespace Solitaire {

class Anordnung;
class GameStyle;
class Kartenset;
class KartenObjekt;
class Kartenstapel;
class SolitaireCamera;
class SolPartikel;

// The per-frame steps of one card (animations, wait, mark and state timers) and of one pile (mark
// timer, turning its top card up, filling empty piles it names); Kartenmanager_update.cpp.
class Kartenmanager;
void stepCard(Karte& card, float dt);
void stepPile(Kartenmanager& manager, Kartenstapel& pile, float dt);

// The armed power that changes what a click does.
enum ClickMode : int {
    kClickNormal = 0,
    kClickReveal = 1,   // the next click on a face-down card turns it up
    kClickRemove = 2,   // the next click on a face-up card removes it
    kClickShuffle = 3,  // carried out at once
    kClickUndo = 4,     // a free undo step, carried out at once
};

// What pickAt finds under a point, as bits: a card, a pile, or both for a card on a pile.
enum PickHit : int {
    kPickNothing = 0,
    kPickCard = 1,
    kPickPile = 2,
    kPickCardOnPile = kPickCard | kPickPile,
};

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

class Kartenmanager : public UndoObjekt, public sigslot::has_slots<sigslot::single_threaded> {
public:
    class KartenmanagerUndoData;

    // The table's lists, one reference each; a card's index is its place in cards. Public since
    // the piles, the fly splines, the renderer's tests and the test tables walk them at every
    // step; cards join through addCard and createDeck, piles through the variant file (the test
    // tables build theirs by hand).
    std::vector<Karte*> cards;
    std::vector<Kartenstapel*> piles;
    // Arranging, undo and the click actions do nothing of their own while it is set (a test
    // replays records alone). Public since every pile reads it on each arrange.
    bool bypass = false;

    // ---- The instance, the reset and look-ups (Kartenmanager.cpp) ----
    static Kartenmanager& instance();
    Kartenmanager(Kartenmanager const&) = delete;
    Kartenmanager& operator=(Kartenmanager const&) = delete;
    ~Kartenmanager() override;
    // Reset before a variant is read: history, cards, piles and templates go, the rules and the
    // running counts return to their defaults (the balance stays), the tooltip is cleared.
    void createDiscardPile();
    Kartenstapel* findPile(std::wstring const& name) const;
    Kartenstapel* findTemplate(std::wstring const& name) const;
    // Every pile whose "USERNAME" is one of the names, in pile order, then every such card, in
    // card order (the tutorials point at table objects by user name).
    std::vector<KartenObjekt*> getPilesByUserName(std::wstring const& name) const;
    std::vector<KartenObjekt*> getPilesByUserName(std::vector<std::wstring> const& names) const;
    std::vector<Kartenstapel*> getPilesOfType(int type) const;
    std::vector<Kartenstapel*> const& getPiles() const { return piles; }
    std::vector<Kartenstapel*> const& getTemplates() const { return templates_; }
    // Takes a card into the game (one reference; its index becomes its place in the list).
    void addCard(Karte* card);
    // What the variant's rule file gave the table; the running counts of the game.
    TableRules const& getRules() const { return rules_; }
    PlayState const& getPlayState() const { return play_; }
    std::vector<PilePosition> const& getPilePositions() const { return rules_.pilePositions; }
    std::wstring const& getGameName() const { return rules_.gameName; }
    void setUseDoubleClick(bool const& on) { rules_.useDoubleClick = on; }
    void setUseRightMouse(bool const& on) { rules_.useRightMouse = on; }

    // ---- Reading a variant file (Kartenmanager_read.cpp) ----
    static constexpr int kMaxIncludeDepth = 16;
    // Included files one definition reads in all: a file may include one file many times (no
    // cycle), and nested, that would read it exponentially often.
    static constexpr int kMaxIncludeReads = 64;
    static constexpr int kMaxPiles = 256;         // piles, and templates apart
    static constexpr int kMaxPilePositions = 256;
    static constexpr int kMaxDeckSize = 1024;     // "ANZAHL_KARTEN": twenty decks
    static constexpr int kMaxExtraCards = 1024;   // "ANZAHL_STERNE"
    // "STERNETYP" indexes the card set's extra faces: a larger value is refused (one log line).
    static constexpr int kMaxExtraType = 19;  // Kartenset::kExtraFaceCount - 1
    // Reads one game definition (includes first, templates, piles, post includes, positions,
    // then the keys). sourceName names the file in log lines.
    void loadGameDefinition(Orvex::XMLNode& node, std::wstring const& sourceName = L"");
    // Loads fileName through the archives and reads it as a game definition.
    bool loadGameDefinitionFile(std::wstring const& fileName);
    // The file being read (for the log lines of piles); empty between reads.
    std::wstring const& getCurrentSource() const { return currentSource_; }

    // ---- Undo (Kartenmanager_undo.cpp) ----
    // A save first resolves what is pending and updates (a zero-time update, the special pile),
    // then records the base, its own record (PlayState::Counts and the card list), every card and
    // every pile; undoSteps steps all histories and returns the manager's own change (0 when the
    // game is decided).
    void saveUndoState() override;
    // Nothing happens (0) when the step would go nowhere; a resolution still pending runs first.
    virtual Orvex::s32 undoSteps(Orvex::s32 const& steps, bool const& free, bool const& chargeAnyway);

    // ---- Saving and resuming a running game (Kartenmanager_save.cpp) ----
    // The running game into node (nothing once the game is decided), and back into the game
    // that was started anew; sourceName names the save in the log line of refused data. A save
    // that falls short of the counts it carries is refused whole: false, and the game is left as
    // it was dealt.
    void saveRunningGame(Orvex::XMLNode& node) const;
    bool loadRunningGame(Orvex::XMLNode const& node, std::wstring const& sourceName = L"");
    // What a save holds, with the game's statistics ("STATISTIK") that a quick save keeps beside
    // the table: what a profile keeps of a quick save it stores.
    static Orvex::XMLShape const kRunningGameShape;

    // ---- Hints and automatic moves (Kartenmanager_hints.cpp) ----
    // A card moved to a goal pile waits this long per run moved before it (seconds).
    static constexpr float kGoalMoveCardDelay = 0.1f;
    // Lists every move possible now, heaviest first, weights turned into cumulative fractions;
    // returns how many.
    int rebuildHints();
    std::vector<HintRecord> const& getHints() const { return hints_; }
    // The hint button and the automatic hint. goalFirst: the first move towards a goal, free of
    // charge; paid: refused unless score and balance cover "TIPP"; avoidJokerPile: records that
    // take a card off a wildcard or joker pile are passed over. Otherwise the record at the hint
    // index, which then moves on cyclically.
    bool showHint(bool goalFirst, bool paid, bool avoidJokerPile);
    // Marks the record's cards and piles with the tip colours and starts "TIP_EMITTER" there;
    // an empty-pile click marks that pile.
    void showHintRecord(HintRecord const& record);
    // Moves every run that may go to a goal pile there, each card at most once, never from one
    // goal pile to another; pile null: every pile but the wildcard and joker piles. Each move is
    // recorded as an undo step of its own.
    bool autoFinish(Kartenstapel* pile);
    // Lays run on the first pile (pile-list order, source skipped) of goal kind 1 that takes it,
    // or with "PAIRS" unless excludePairs; count delays the cards by kGoalMoveCardDelay each.
    // A pile that takes it with its jokers read as the cards they are comes first; only a run a
    // joker leads goes where a joker's leave alone lets it (Kartenstapel::acceptsCardsAsTheyAre).
    bool moveRunToGoalPile(Karte* card, Kartenstapel* pile, Karte::LinkedCards const& run, int count,
                           bool excludePairs);
    // The same over every pile, jokers alike; count and any are not used.
    bool moveRunToAnyPile(Karte* card, Kartenstapel* pile, Karte::LinkedCards const& run, int count, bool any);
    // A double click's move: a goal pile first (pairs aside), then, unless the variant keeps the
    // double click to goal piles, any pile; a run a dealt joker leads goes only where its card is
    // missing. doubleClickTarget names the pile, or null; doubleClickMove lays the run there.
    Kartenstapel* doubleClickTarget(Karte const* card, Kartenstapel const* pile, Karte::LinkedCards const& run) const;
    bool doubleClickMove(Karte* card, Kartenstapel* pile, Karte::LinkedCards const& run);
    bool swapCards(Karte* a, Anordnung* arrangementA, Karte* b, Anordnung* arrangementB);
    // Empties the hint search's record of the moves it has listed (the reset and every new
    // search start from nothing).
    void resetSearchTree() { searchTree_.clear(); }

    // ---- The shuffle power (Kartenmanager_mix.cpp) ----
    // The piles' shuffle cards change places in pairs at random.
    bool mix();

    // Signals, in order.
    sigslot::signal2<bool const&, GameEndParms const&> gameEnd;
    sigslot::signal2<std::wstring const&, bool const&> tooltipChanged;
    sigslot::signal1<D3DXVECTOR4 const&> lockedCardsFound;
    sigslot::signal1<D3DXVECTOR4 const&> cardsUnlocked;
    sigslot::signal1<Karte&> wildcardFound;
    sigslot::signal1<Karte&> jokerFound;
    sigslot::signal3<Karte&, unsigned long, unsigned long> extraCardExposed;
    sigslot::signal1<unsigned long const&> goalCardsArrived;
    sigslot::signal1<Karte&> cardScored;
    sigslot::signal2<KartenObjekt&, bool> objectUsed;
    sigslot::signal1<unsigned long const&> comboChanged;
    sigslot::signal0<> specialPileMissing;
    sigslot::signal1<Kartenstapel&> specialPileEmpty;
    sigslot::signal1<Kartenstapel&> specialPileRefilled;
    sigslot::signal1<ClickMode const&> clickModeUsed;
    // A line for the player about a refused move the cards cannot show (a dealt joker that waits
    // for its card's place); the HUD's news line shows it.
    sigslot::signal1<std::wstring const&> playerNote;

    // ---- Score, seed, deck, counts, filters, the special pile, the table rectangle
    // (Kartenmanager_score.cpp) ----
    // The wave of the points, multiplier and combo effects flying to the score display.
    static constexpr float kPointsWaveAmplitude = 0.25f;
    static constexpr int kPointsWaveFrequency = 2;
    // Every score change: score and balance clamped at 0, "SCORE_CHANGED" counted.
    void changeScore(float const& delta);
    // Prices of the paid helps: the hint button's ("TIPP") and that of undoSteps(steps) now (0
    // when the step goes nowhere; a step forward costs nothing). A price above 0 is paid only
    // when both the score the player sees (its time drain included) and the balance cover it;
    // getMissingPoints is what is still lacking, 0 when it can be paid.
    float getHintPrice() const;
    float getUndoPrice(Orvex::s32 steps) const;
    // The shuffle's ("MISCHEN"); mix() itself does not ask it, the shuffle button does.
    float getShufflePrice() const;
    bool canPay(float price) const {
        return !(price > 0.0f) || !(price > getScore() || price > play_.counts.pointsBalance);
    }
    float getMissingPoints(float price) const;
    // The balance (clamped at 0); alsoReference: the shown balance jumps there too.
    void setPointsBalance(float const& balance, bool const& alsoReference);
    // A made-up table's state, as a test sets it up (the game changes these only by play): the
    // score's two parts as they stand (unclamped, the balance and the achievements untouched),
    // the time played, where the game stands (no end test, no signal), and the whole record.
    void setScore(float plus, float minus);
    void setTime(float seconds);
    void setGameStatus(GameStatus status);
    void setPlayState(PlayState const& state);
    static unsigned seedFromText(std::wstring const& text);
    static std::wstring makeSeedText(unsigned seed);
    // The cards of a new game: ordinary ones pass by pass until the deck size, then the EXTRA
    // cards.
    void createDeck();
    Karte* buyJoker(int const& suit, int const& value);
    Karte* buyWildcard(int const& suit, int const& value);
    Kartenstapel* findWildcardPile() const;
    Kartenstapel* findJokerPile() const;
    std::vector<std::pair<int, int>> collectJokers() const;
    std::vector<std::pair<int, int>> collectWildcards() const;
    std::vector<Kartenstapel*> findPilesByName(std::wstring const& name) const;
    // Every card on a tableau pile or a pile linked to one, once (the columns of the cells share
    // their four cells).
    int countTableauCards() const;
    // Tableau piles that are empty with the piles linked to them; those without a card of their
    // own.
    int countEmptyTableauPiles() const;
    int countSeenEmptyTableauPiles() const;
    int getClearedCardCount() const { return play_.counts.tableauCardsAtStart - play_.counts.tableauCardCount; }
    // 0 when no card lay on the tableau at the start.
    float getClearedCardRatio() const;
    float getRestCardRatio() const;
    // The record of the game-end signal, for a win or not.
    GameEndParms makeGameEndParms(bool won) const;
    int getExtraCardsFound() const { return play_.counts.extraCardsFound; }
    int getCardCount() const { return static_cast<int>(cards.size()); }
    int getGoalCardCount() const { return play_.counts.goalCardCount; }
    // Cards on goal piles per card of the game; 0 without cards.
    float getGoalCardRatio() const;
    float getScore() const { return play_.score + play_.bonusScore; }
    float getScorePlus() const { return play_.score; }
    float getScoreMinus() const { return play_.bonusScore; }
    // The score and the balance as shown: they follow the real ones frame by frame, the score in
    // two parts that follow its plus and minus parts.
    float getLevelScore() const { return shownScorePlus + shownScoreMinus; }
    float getShownScorePlus() const { return shownScorePlus; }
    float getPointsReference() const { return shownBalance; }
    float getPointsBalance() const { return play_.counts.pointsBalance; }
    // Cards left on the tableau (the game-end record's remaining cards).
    int getRestCardCount() const { return play_.counts.tableauCardCount; }
    int getTableauPileCount() const { return play_.counts.tableauPileCount; }
    int getEmptyTableauPileCount() const { return play_.counts.emptyTableauPileCount; }
    float getTime() const { return play_.gameTime; }
    GameStatus getGameStatus() const { return play_.gameStatus; }
    bool passesFirstPileFilter(Kartenstapel const* pile) const;
    bool passesSecondPileFilter(Kartenstapel const* pile) const;
    // The tutorials' filters: the user names of the cards and piles the player may use (empty:
    // any); a tutorial page fills and empties them.
    bool isAllowedCard(Karte const* card) const;
    bool isAllowedPile(Kartenstapel const* pile) const;
    std::vector<std::wstring>& getTutorialNameList1() { return tutorialCardNames; }
    std::vector<std::wstring>& getTutorialNameList2() { return tutorialPileNames; }
    void updateSpecialPile(bool emit);
    Anordnung* findArrangementOfCard(Karte const* card) const;
    // The union of the piles' bounds (where their cards are going), leaving out the piles placed
    // by screen positions; an empty one at 0 without such piles. With roomSteps, each pile that
    // keeps the cards laid on it in a straight fan of unlimited length reaches that many face-up
    // steps further, and every pile as far as its cards' random turns and shifts could take them.
    Orvex::FRect computeTableRect(int roomSteps = 0) const;

    // ---- New game and deal (Kartenmanager_deal.cpp) ----
    using OwnedCards = std::vector<std::pair<int, int>>;
    void startGame(SolitaireCamera* camera, std::wstring const& seedText, bool quick, OwnedCards const& wildcards,
                   OwnedCards const& jokers, float balance);
    void deal(int wildcardsMade, int jokersMade, bool quick);
    void placeCardAtStart(Karte* card, Orvex::FRect const& table, Kartenstapel* pile);
    // The table rectangle of the game, as the camera was last fitted to it.
    Orvex::FRect const& getTableRect() const { return tableRect; }
    // After the game window changed size: the camera (when set) fits the table rectangle at once.
    void relayout();
    // The table is fitted with room for kRoomSteps more face-up cards on each column that can
    // grow. Once per update while the game runs and nothing is carried: as long as the piles'
    // bounds lie inside the camera's table area, nothing under the pointer changes scale or
    // place; a column grown past the room makes the camera glide out to fit the table with new
    // room. Returns whether the camera was fitted again.
    static constexpr int kRoomSteps = 3;
    static constexpr float kFollowTimeFactor = 4.0f;  // times the camera's speed
    bool followTableContent();
    // The largest lock value of each kind over the locked cards (a card with a lock waiting
    // counts by it), announced through lockedCardsFound when any card is locked.
    void computeCardBounds();
    std::wstring const& getSeedText() const { return seedText; }

    // ---- Input (Kartenmanager_input.cpp); positions in view coordinates (see the top) ----
    static constexpr Orvex::u32 kDoubleClickWindow = 1000;  // ms after a double-click event
    static constexpr Orvex::u32 kDoubleClickGrace = 20;     // ms after the deadline
    static constexpr Orvex::u32 kHoverInterval = 100;       // ms between hover passes
    void onMouseDown(Orvex::MouseState const& state, int button, D3DXVECTOR2 const& position);
    void onMouseUp(Orvex::MouseState const& state, int button, D3DXVECTOR2 const& position);
    void onMouseMove(Orvex::MouseState const& state, int axis, D3DXVECTOR2 const& position);
    void onDoubleClick(Orvex::MouseState const& state, int button, D3DXVECTOR2 const& position);
    // The pointer went over a window above the table: nothing on the table lies under it, so the
    // hover mark and the tooltip go until it comes back (a move or press on the table).
    void onPointerLeftTable();
    // The tick clock (ms); empty restores GetTickCount. Tests drive time with it.
    void setClock(std::function<Orvex::u32()> clock) { clock_ = std::move(clock); }
    Orvex::u32 now() const;
    // Asked before a refused double click on the object is reported (objectUsed): true when a
    // tutorial asked the player for that refusal, which then costs no points. Empty: none asked.
    void setRefusalAskedFor(std::function<bool(KartenObjekt const&)> asked) { refusalAskedFor_ = std::move(asked); }
    // The card picked up and carried (null when nothing is held); the cards chosen in the
    // two-click mode.
    Karte* getHeldCard() const { return heldCard; }
    std::vector<Karte*> const& getSelectedCards() const { return selectedCards; }

    // ---- Moves, update and feedback (Kartenmanager_update.cpp) ----
    // Lays the run on target (taking it from source, when given); counts and effects.
    void executeMove(Karte::LinkedCards const& run, Kartenstapel* source, Kartenstapel* target, Karte* held);
    void update(double dt, double realDt, Orvex::MouseState const& state);
    void clearHoverMarks();
    // Places each pile a "STAPEL_POS" record names at the record's screen-relative place (through
    // the camera as it stands), with the record's scale and render index; its cards go along at
    // once. Returns the number of records.
    int applyScreenPilePositions();
    // Nothing is held and the card under the pointer lies on a pile a record names.
    bool isPointerCardOnPositionedPile() const;
    int getHintMarkFlags(Karte const* card) const;
    bool isGameEndShown() const { return play_.gameEndSent; }
    // The hover feedback: the face-up card under the pointer while nothing is held; the pile a
    // carried run is over and the card there that its mark went to (null without one).
    Karte* getPointerCard() const { return pointerCard; }
    Kartenstapel* getHoverPile() const { return hoverPile; }
    Karte* getHoverCard() const { return hoverCard; }
    // Plays a sound of the game style after a delay (seconds of real time); the sounds waiting,
    // in the order queued.
    void queueSound(float delay, std::wstring const& name);
    struct DelayedSound {
        float delay;
        std::wstring name;
    };
    std::vector<DelayedSound> const& getDelayedSounds() const { return delayedSounds; }

    // ---- Resolution and game end (Kartenmanager_resolve.cpp) ----
    // Passes of the resolution: each may open or collect something; more than this means data
    // that keeps changing, and the resolution stops.
    static constexpr int kMaxResolutionPasses = 256;
    void scheduleResolution();
    // restoredStep: the table of an undo or redo step, taken as recorded; only the goal kinds
    // and the counts are taken anew.
    void resolveAfterMove(bool playerMove, bool restoredStep = false);
    bool scanExtraCards(Kartenstapel* pile, bool fire);
    // A card a pile's own click laid on another pile (the stock dealt onto its linked pile, a
    // pile fetched back): not play, so where it lands on or leaves a goal pile the resolved
    // counts take it at once and the next resolution neither scores it nor charges for it.
    void settleDealtCard(Karte& card);
    bool checkWin();
    // Lost when no hint is left, also once the cards still on their way have arrived, and no
    // wildcard or joker waiting on its pile can be laid.
    bool checkEnd();
    void finishGame();
    // The end-of-game flight of every pile's cards over the fly spline of that name; its
    // duration in seconds, 0 for an unknown name.
    float startEndFlyOut(std::wstring const& splineName);

    // ---- Render queue, picking, powers, game style, sounds (Kartenmanager_pick.cpp) ----
    void queueRender(RenderContext const& context, RenderQueue& queue);
    // The PickHit bits: kPickNothing, kPickCard (a card without a pile), kPickCardOnPile, or
    // kPickPile (a pile alone).
    int pickAt(D3DXVECTOR2 const& query, Karte*& card, Kartenstapel*& pile,
               std::vector<Karte*> const& excluded = {});
    int pickDropTarget(D3DXVECTOR2 const& query, Karte*& card, Kartenstapel*& pile,
                       std::vector<Karte*> const& dragged);
    bool setClickMode(int mode);
    int getClickMode() const { return clickMode; }
    void collectExtraCard(Kartenstapel* pile, Karte* card);
    void setGameStyle(GameStyle* gameStyle);
    GameStyle* getGameStyle() const { return gameStyle_; }
    void playSound(int sound);
    // The camera the table is seen and picked through: startGame sets it; null detaches it
    // (the update then does nothing).
    SolitaireCamera* getCamera() const { return camera; }
    void setCamera(SolitaireCamera* tableCamera) { camera = tableCamera; }

private:
    // ---- The instance's own steps (Kartenmanager.cpp) ----
    Kartenmanager();
    void releaseAll();
    void resetFields();

    // ---- Reading steps (Kartenmanager_read.cpp) ----
    void readDefinition(Orvex::XMLNode& node, std::wstring const& sourceName, int depth);
    void readInclude(Orvex::XMLNode const& element, std::wstring const& sourceName, int depth);

    // ---- Undo steps (Kartenmanager_undo.cpp) ----
    // The records of a save, taken after its resolution and update: the base, the manager's own,
    // every card's and every pile's; again replaces the current step's records instead.
    void recordStep(bool again);

    // ---- Input steps (Kartenmanager_input.cpp) ----
    void stamp() { lastInputTick = now(); }
    // The held card (and the run on it) to the pointer, keeping its grab point under it.
    void carryHeldCard();
    void resetInput();
    bool beforeDeadline(Orvex::u32 deadline, Orvex::u32 tick) const;
    // A press completes a waiting resolution first, so a quick move never overtakes it; the card
    // under the pointer is the player's then: a joker or wildcard shown where it came free is not
    // sent home from under the press.
    void flushResolution(D3DXVECTOR2 const& position);
    void mouseDownPairs(D3DXVECTOR2 const& position);
    void mouseDownDrag(D3DXVECTOR2 const& position);
    bool pairMove(Karte* moving, Kartenstapel* target, Karte* onCard);

    // ---- Automatic moves (Kartenmanager_hints.cpp) ----
    // Where moveRunToGoalPile and moveRunToAnyPile would lay run (card picked on pile), or null.
    Kartenstapel* goalTargetFor(Karte const* card, Kartenstapel const* pile, Karte::LinkedCards const& run,
                                bool excludePairs) const;
    Kartenstapel* anyTargetFor(Karte const* card, Kartenstapel const* pile, Karte::LinkedCards const& run) const;

    // ---- Hints, hover and tooltip (Kartenmanager_update.cpp) ----
    // The hint list of the table as it is now, and again once the cards on their way have landed
    // (after a move's resolution, an undo or a redo).
    void renewHints();
    void hoverIdle();
    void hoverCarrying();
    void setTooltip(KartenObjekt* object, std::wstring const& text);
    void clearTooltip();

    // ---- Deal steps (Kartenmanager_deal.cpp) ----
    void dealToPile(Kartenstapel* pile, std::vector<Karte*>& deck, struct DealRecords& records, int& pilesFilled,
                    int& wildcardsMade, int& jokersMade, bool quick);

    // ---- Card set, game style, multiplier and combo slots (Kartenmanager_pick.cpp) ----
    void onGameStyleChanged(GameStyle* gameStyle) { setGameStyle(gameStyle); }
    void onKartensetChanged(Kartenset* cardSet);
    void onMultiplierRaised(float const& factor);
    void onMultiplierEnded(float const& factor);
    void onComboCountChanged(unsigned const& combo);
    void onComboStep();
    void onComboEnded(unsigned const& combo);
    void onNewBestCombo(unsigned const& combo);
    void spawnPoints(float const& delta);

    // ---- State ----
    std::vector<Kartenstapel*> templates_;  // one reference each
    TableRules rules_;
    PlayState play_;
    std::vector<HintRecord> hints_;
    // The list was built while cards of the move were on their way, which offer none of their
    // moves: it is built again once they have landed.
    bool hintsAwaitArrival_ = false;
    SolitaireCamera* camera = nullptr;
    std::wstring seedText;
    // The score's parts and the balance as shown, easing after the real ones.
    float shownScorePlus = 0.0f, shownScoreMinus = 0.0f, shownBalance = 0.0f;
    int clickMode = kClickNormal;
    int placedCardCount = 0;
    Orvex::FRect tableRect{0.0f, 0.0f, 0.0f, 0.0f};
    std::vector<std::wstring> tutorialCardNames, tutorialPileNames;
    std::vector<std::wstring> firstPileFilter, secondPileFilter;
    // Input state (reset by a new game).
    Karte* heldCard = nullptr;
    Karte* lastClickedCard = nullptr;
    Karte::LinkedCards carriedRun;
    Kartenstapel* sourcePile = nullptr;
    // Where the held card was taken, from the pointer, in table coordinates: the card is carried
    // so that this point of it stays under the pointer, however the camera scales the table.
    D3DXVECTOR2 grabOffset{0.0f, 0.0f};
    D3DXVECTOR2 pointer{0.0f, 0.0f};  // the last pointer position seen
    bool pointerOffTable = false;      // over a window above the table since then
    SolPartikel* dragEffect = nullptr;
    Orvex::u32 leftDeadline = 0, rightDeadline = 0, lastInputTick = 0;
    std::vector<Karte*> selectedCards;  // two-click mode
    Karte* pointerCard = nullptr;
    Karte* hoverCard = nullptr;
    Kartenstapel* hoverPile = nullptr;
    KartenObjekt* tooltipObject = nullptr;
    std::wstring tooltipText;
    std::vector<DelayedSound> delayedSounds;

    GameStyle* gameStyle_ = nullptr;  // counted
    // The current step's record may be renewed by a resolution: no move since it was taken.
    bool recordOpen_ = false;
    int resolveDepth_ = 0;
    std::vector<Karte*> resolutionCollected_;
    // The card a press reaches while the press completes a resolution: that one does not collect
    // it, nor one held; pressedCardWaits_: it would have, so it is shown again and then sent.
    Karte const* pressedCard_ = nullptr;
    bool pressedCardWaits_ = false;
    std::function<Orvex::u32()> clock_;
    std::function<bool(KartenObjekt const&)> refusalAskedFor_;

    std::wstring currentSource_;
    // The include chain being read: each file's name, the last part of it without case, and
    // its identity (Orvex::File::getIdentity), looked up only when an include's name ends alike.
    struct OpenFile {
        std::wstring name;
        std::wstring lastName;
        std::wstring identity;
    };
    std::vector<OpenFile> openFiles_;
    int includeReads_ = 0;  // included files the definition being read has read
    // Piles the definition being read names as an earlier pile (told in one line at its end):
    // how many, and the first one's name and file.
    int pileRepeats_ = 0;
    std::wstring firstRepeatedPile_, firstRepeatSource_;
    // The moves the hint search has listed: a move offered by two piles is listed once.
    std::set<std::tuple<Karte const*, Kartenstapel const*, Karte const*>> searchTree_;
};

}  // namespace Solitaire
