// The table between the HUD's strips: every card of every game of the shipped catalogue (its free
// variants and its campaign levels) lies between the bottom of the top strip "I_Leiste" and the
// top of the bottom panel "I_HG" (their own rectangles from the GUI file) at four screen sizes:
// each card that has landed while the deal runs, every card once a column was made long (cards
// laid on it move by move) and the table settled, and again after a card was carried to where a
// hint says it goes, where it must land. Games start through the game object as the free-play
// and level screens start them; the game clock is stepped, no real frames are waited for.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <ostream>
#include <sstream>
#include <set>
#include <string>
#include <vector>

#include "engine/platform/InputState.h"
#include "game/app/SolCategorie.h"
#include "game/app/SolSolitaire.h"
#include "game/app/SolVariant.h"
#include "game/cards/Anordnung.h"
#include "game/cards/HintRecord.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenstapel.h"
#include "game/cards/Picking.h"
#include "game/cards/PileWords.h"
#include "game/cards/TableRenderer.h"
#include "game/look/SolitaireCamera.h"
#include "port/win32/win32_text.h"
#include "tests/game/app/HudFixture.h"

namespace {

using Solitaire::Karte;
using Solitaire::Kartenstapel;

using apptest::ScreenSize;

// A game of the catalogue: a free variant by its names, or a campaign level by its numbers.
struct Game {
    bool campaign;
    std::wstring category, game, variant;
    int chapter, level;
    std::string name() const {
        return port::toUtf8(campaign ? L"level " + std::to_wstring(chapter) + L"." + std::to_wstring(level)
                                     : game + L"/" + variant);
    }
};

std::string describe(Orvex::FRect const& r) {
    std::ostringstream out;
    out << "(" << r.left << ", " << r.top << ") .. (" << r.right << ", " << r.bottom << ")";
    return out.str();
}

// Where the card is now, not on its way: no glide, flight, turn or wait for its start (a card
// still turning covers more than its place).
bool landed(Karte const& card) {
    return !card.isMoving() && !card.isFlying() && card.waitTime <= 0.0f &&
           std::fabs(card.rotation.current - card.rotation.goal) < 0.5f;
}

}  // namespace

namespace apptest {

class TableFitTest : public HudFixture, public ::testing::WithParamInterface<ScreenSize> {
protected:
    // Fitting and centring leave sub-pixel differences.
    static constexpr float kTolerance = 0.5f;
    static constexpr double kStep = 0.2;
    Orvex::u32 ticks = 1000;
    // Cards laid on the growing column: with the dealt ones, longer than any column gets in play.
    static constexpr int kGrowBy = 14;

    // The card manager's tick clock follows the game clock stepped here, so a campaign level's
    // deal (its seed is the tick count) and the click deadlines are the same in every run.
    void SetUp() override {
        cards().setClock([this] { return ticks; });
        startHud(GetParam().width, GetParam().height);
    }
    void TearDown() override {
        HudFixture::TearDown();
        cards().setClock({});
    }
    void tick(double seconds) {
        ticks += static_cast<Orvex::u32>(seconds * 1000.0 + 0.5);
        step(seconds);
    }

    // Every game of the catalogue: each category's variants, shown in the free-play screen or
    // not, and the campaign's first level of each rule file (the campaign deals the same tables
    // again and again).
    static std::vector<Game> catalogueGames() {
        std::vector<Game> games;
        std::set<std::wstring> campaignFiles;
        for (Solitaire::SolCategorie const* category : catalogue().getCategories())
            for (Solitaire::SolSolitaire const* game : category->getGames()) {
                int level = 0;
                for (Solitaire::SolVariant const* variant : game->getVariants()) {
                    Game g{category->isStory(), category->getName(), game->getName(), variant->getName(), -1, -1};
                    if (g.campaign && !campaignFiles.insert(variant->getFile()).second) {
                        ++level;
                        continue;
                    }
                    if (g.campaign) {
                        std::wstring const& chapter = game->getName();
                        g.chapter = std::stoi(chapter.substr(chapter.find(L'_') + 1));
                        g.level = level++;
                    }
                    games.push_back(g);
                }
            }
        return games;
    }

    void start(Game const& g) {
        // The pointer off the table: a pointed card is lifted a little, past the fit.
        Orvex::MouseState away = mouse({1.0f, 1.0f}, false);
        Orvex::OrvexAchse const axis = Orvex::OA_MOUSE_X;
        game->getTableInput().onMouseMove(away, axis);
        if (g.campaign) {
            ASSERT_EQ(game->startCampaignLevel(g.chapter, g.level, false), Solitaire::RunningGame::kGameStarted);
        } else {
            ASSERT_TRUE(catalogue().setCurrentByNames(g.category, g.game, g.variant));
            ASSERT_EQ(game->startGame({.seedText = kSeed, .withTutorial = false, .withStory = false}), Solitaire::RunningGame::kGameStarted);
        }
    }

    // Game time in steps of a fifth of a second (the in-game step takes whole sixtieths); with
    // checking, the landed cards are looked at after each step.
    void play(double seconds, char const* checking = nullptr) {
        for (double t = 0.0; t < seconds; t += kStep) {
            tick(kStep);
            if (checking && !expectInside(checking, true)) checking = nullptr;  // one report a phase
        }
    }

    // The area between the strips, from the HUD windows' own rectangles.
    static Orvex::FRect tableArea() {
        Orvex::GUIWindow* top = find(L"I_Leiste");
        Orvex::GUIWindow* bottom = find(L"I_HG");
        EXPECT_NE(top, nullptr);
        EXPECT_NE(bottom, nullptr);
        if (!top || !bottom) return Orvex::FRect(0, 0, 0, 0);
        Orvex::FRect const strip = top->getScreenRect(), panel = bottom->getScreenRect();
        return Orvex::FRect(panel.left, strip.bottom, panel.right, panel.top);
    }

    // The card as drawn, in window pixels: its upright rectangle turned by its angle about its
    // centre.
    Orvex::FRect drawnRect(Karte const& card) const {
        Orvex::FRect const r = Solitaire::computeScreenRect(card, game->getCamera());
        float const hw = (r.right - r.left) * 0.5f, hh = (r.bottom - r.top) * 0.5f;
        float const radians = (card.rotation.current + card.markRotation.current) * static_cast<float>(M_PI) / 180.0f;
        float const c = std::fabs(std::cos(radians)), s = std::fabs(std::sin(radians));
        float const w = hw * c + hh * s, h = hw * s + hh * c;
        D3DXVECTOR2 const centre{(r.left + r.right) * 0.5f, (r.top + r.bottom) * 0.5f};
        D3DXVECTOR2 const a = game->getRenderer()->toWindowPoint({centre.x - w, centre.y - h});
        D3DXVECTOR2 const b = game->getRenderer()->toWindowPoint({centre.x + w, centre.y + h});
        return Orvex::FRect(a.x, a.y, b.x, b.y);
    }
    // A point of the card that the table picks it at (the part not covered by the cards over
    // it), in window pixels; its middle when none is found.
    D3DXVECTOR2 pointOf(Karte& card) const {
        Orvex::FRect const r = Solitaire::computeScreenRect(card, game->getCamera());
        D3DXVECTOR2 const middle{(r.left + r.right) * 0.5f, (r.top + r.bottom) * 0.5f};
        constexpr int kGrid = 8;
        for (int row = 0; row < kGrid; ++row)
            for (int column = 0; column < kGrid; ++column) {
                D3DXVECTOR2 const at{r.left + (r.right - r.left) * (static_cast<float>(column) + 0.5f) / kGrid,
                                     r.top + (r.bottom - r.top) * (static_cast<float>(row) + 0.5f) / kGrid};
                Karte* hit = nullptr;
                Kartenstapel* pile = nullptr;
                cards().pickAt(at, hit, pile);
                if (hit == &card) return game->getRenderer()->toWindowPoint(at);
            }
        return game->getRenderer()->toWindowPoint(middle);
    }
    D3DXVECTOR2 middleOf(Kartenstapel const& pile) const {
        Orvex::FRect const r = Solitaire::computeScreenRect(pile, game->getCamera());
        return game->getRenderer()->toWindowPoint({(r.left + r.right) * 0.5f, (r.top + r.bottom) * 0.5f});
    }

    // Each card on the table (on a pile and not faded out; only those landed with onlyLanded)
    // inside the area; a failure names the first card outside.
    bool expectInside(std::string const& when, bool onlyLanded = false) {
        Orvex::FRect const area = tableArea();
        int outside = 0;
        std::string first;
        for (Karte const* card : cards().cards) {
            if (!card->pile || card->opacity.current <= 0.0f || (onlyLanded && !landed(*card))) continue;
            Orvex::FRect const r = drawnRect(*card);
            if (r.left >= area.left - kTolerance && r.right <= area.right + kTolerance &&
                r.top >= area.top - kTolerance && r.bottom <= area.bottom + kTolerance)
                continue;
            if (++outside == 1)
                first = "a card of " + port::toUtf8(card->pile->getName()) + " at " + describe(r) +
                        " (scale " + std::to_string(card->scale.current) + ", mark " +
                        std::to_string(card->getMarkState()) + ", lift " + std::to_string(card->markOffset.current.y) + ")";
        }
        EXPECT_EQ(outside, 0) << when << ": " << first << " leaves the table " << describe(area);
        return outside == 0;
    }

    // The last fan of the table: a tableau pile whose cards lie along a straight line and that
    // takes as many as it gets; null without one.
    static Kartenstapel* growingPile() {
        Kartenstapel* last = nullptr;
        for (Kartenstapel* pile : cards().piles) {
            Solitaire::Anordnung const* root = pile->getRootArrangement();
            bool const limited = root && root->maxCards >= 0 && root->maxCards < Solitaire::Anordnung::kMaxCards;
            if (pile->rules.pileType == Solitaire::kPileTableau && root && !root->spline && !limited) last = pile;
        }
        return last;
    }

    // Lays up to count top cards of the other piles on pile, face up, one move each; then the
    // table is resolved as after a player's move.
    static int grow(Kartenstapel& pile, int count) {
        int laid = 0;
        for (Kartenstapel* from : cards().piles)
            for (Karte* top = from->getTopCard(); from != &pile && laid < count && top && top->pile == from;
                 top = from->getTopCard()) {
                cards().executeMove({{top, 0}}, from, &pile, nullptr);
                top->setFaceUp(true, 0.0f, 0.0f);
                ++laid;
            }
        cards().scheduleResolution();
        return laid;
    }

    // The pointer's events through the game object's mouse slots, at window pixels.
    Orvex::MouseState mouse(D3DXVECTOR2 const& at, bool held) {
        pointerAt(at.x, at.y);
        Orvex::MouseState state;
        state.x = at.x;
        state.y = at.y;
        state.setButtonDown(0, held);
        return state;
    }
    void press(D3DXVECTOR2 const& at) {
        Orvex::OrvexAchse const axis = Orvex::OA_MOUSE_X;
        Orvex::OrvexMouseButton const left = Orvex::OMB_LEFT;
        Orvex::MouseState moved = mouse(at, false);
        game->getTableInput().onMouseMove(moved, axis);
        Orvex::MouseState down = mouse(at, true);
        game->getTableInput().onMouseDown(down, left);
    }
    void release(D3DXVECTOR2 const& at) {
        Orvex::OrvexMouseButton const left = Orvex::OMB_LEFT;
        Orvex::MouseState up = mouse(at, false);
        game->getTableInput().onMouseUp(up, left);
    }
    void moveHeld(D3DXVECTOR2 const& at) {
        Orvex::OrvexAchse const axis = Orvex::OA_MOUSE_X;
        Orvex::MouseState moved = mouse(at, true);
        game->getTableInput().onMouseMove(moved, axis);
    }

    // A move of the hint list that carries a face-up card to another pile (no joker or wildcard
    // pile on the way); null without one.
    static Solitaire::HintRecord const* hintedMove() {
        for (Solitaire::HintRecord const& hint : cards().getHints())
            if (hint.isMove && hint.card && hint.card->isFaceUp() && hint.targetPile && hint.sourcePile != hint.targetPile &&
                !Solitaire::isJokerOrWildcardMove(hint))
                return &hint;
        return nullptr;
    }

    // Carries the hinted card over the frames from its place to its target (the card it goes on,
    // else the pile) and lets go there; it lands on the target, or, when the target pairs cards,
    // where the pair goes.
    void dropHintedCard(std::string const& when) {
        Solitaire::HintRecord const* hint = hintedMove();
        if (!hint) return;
        Karte* card = hint->card;
        Kartenstapel* target = hint->targetPile;
        std::vector<std::wstring> places{target->getName()};
        places.insert(places.end(), target->rules.pairGoalPiles.begin(), target->rules.pairGoalPiles.end());
        D3DXVECTOR2 const from = pointOf(*card);
        D3DXVECTOR2 const to = hint->targetCard ? pointOf(*hint->targetCard) : middleOf(*target);
        // The table's corner, away from the cards: a card's tooltip would put its hot spot under
        // the pointer, and the press would go to that window.
        Orvex::FRect const area = tableArea();
        D3DXVECTOR2 const corner{area.left + 2.0f, area.top + 2.0f};
        // A press beside the cards while the game's name or the help shows puts them away (a press
        // on a card would play it); they fade out.
        bool panels = false;
        for (int i = 0; i < 2 && (game->getHud().getGameNameBlend().target > 0.5f || game->getHud().getHelpBlend().target > 0.5f); ++i) {
            press(corner);
            release(corner);
            panels = true;
        }
        Orvex::OrvexAchse const axis = Orvex::OA_MOUSE_X;
        Orvex::MouseState aside = mouse(corner, false);
        game->getTableInput().onMouseMove(aside, axis);
        play(panels ? 1.5 : kStep);
        press(from);
        tick(1.0 / 60);
        ASSERT_EQ(cards().getHeldCard(), card) << when;
        for (int i = 1; i <= 6; ++i) {
            moveHeld({from.x + (to.x - from.x) * static_cast<float>(i) / 6.0f,
                      from.y + (to.y - from.y) * static_cast<float>(i) / 6.0f});
            tick(1.0 / 60);
        }
        release(to);
        play(1.6);
        std::wstring const landedOn = card->pile ? card->pile->getName() : L"(no pile)";
        EXPECT_NE(std::find(places.begin(), places.end(), landedOn), places.end())
            << when << ": carried to " << port::toUtf8(target->getName()) << ", landed on " << port::toUtf8(landedOn);
    }
};

TEST_P(TableFitTest, EveryCardLiesBetweenTheStripsAtTheDealAfterAColumnGrewAndAfterADrop) {
    std::vector<Game> const games = catalogueGames();
    // The variants of the free play, the test variant of the row of hearts, and a level of each
    // rule file.
    ASSERT_GE(games.size(), 17u);
    int grown = 0, dropped = 0;
    for (Game const& g : games) {
        SCOPED_TRACE(g.name());
        start(g);
        play(3.0, "at the deal");
        expectInside("dealt");
        if (Kartenstapel* pile = growingPile()) {
            EXPECT_EQ(grow(*pile, kGrowBy), kGrowBy);
            play(2.0);
            expectInside("after " + port::toUtf8(pile->getName()) + " grew");
            // The first game's grown table, drawn, for a person to look at.
            if (grown++ == 0) {
                frame();
                keepBackBuffer("table_fit_" + std::to_string(width) + "x" + std::to_string(height) + ".png");
            }
        }
        if (hintedMove()) {
            dropHintedCard("a hinted move");
            expectInside("after the drop");
            ++dropped;
        }
        catalogue().finishStatistics(false);
    }
    // At most six games have no fan to grow (the rows of hearts among them).
    EXPECT_GE(grown, static_cast<int>(games.size()) - 6);
    EXPECT_GE(dropped, static_cast<int>(games.size()) / 2);
}

INSTANTIATE_TEST_SUITE_P(Sizes, TableFitTest,
                         ::testing::Values(ScreenSize{1920, 1080}, ScreenSize{1280, 720}, ScreenSize{1024, 768},
                                           ScreenSize{1280, 1024}),
                         [](::testing::TestParamInfo<ScreenSize> const& info) {
                             return std::to_string(info.param.width) + "x" + std::to_string(info.param.height);
                         });

}  // namespace apptest
