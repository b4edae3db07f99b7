// The games that follow the pointer themselves (blowing, ring) hear every press of the input
// object, also those on the manager's help screen, under which the game lies shown while its
// clock stands still. A press there must do nothing to the game: held on the blowing game's help
// it blew the objects to the border, a win at full score; dragged on the ring game's help it
// turned the hidden ring. Each case is played on the shipped game with the help up, then the
// help is closed and the same action must work.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <ostream>
#include <vector>

#include "engine/gui/GUIWindow.h"
#include "port/d3dx9/d3dx9math.h"
#include "game/minigames/MinispielManager.h"
#include "game/minigames/Ring.h"
#include "game/minigames/Wegblasen.h"
#include "tests/game/minigames/MinigameFixture.h"

namespace {

using Solitaire::Minispiel;
using Solitaire::Ring;
using Solitaire::Wegblasen;

// How long the button is held on the help screen: far longer than the shipped blowing game needs
// to blow an object to the border.
constexpr int kHoldFrames = 60 * 3;

class HelpScreenInputTest : public minigametest::MinigameFixture {
public:
    D3DXVECTOR2 onPlayfield(Orvex::GUIWindow const& field, D3DXVECTOR2 const& place) const {
        Orvex::FRect const r = field.getScreenRect();
        return D3DXVECTOR2(r.left + place.x * (r.right - r.left), r.top + place.y * (r.bottom - r.top));
    }

    // Holds the button beside the first object, on the side of the playfield's middle.
    void holdBesideAnObject(Minispiel& game) {
        auto& blowing = dynamic_cast<Wegblasen&>(game);
        Wegblasen::Objekt const& object = *blowing.getObjects().front();
        auto beside = [&] {
            D3DXVECTOR2 toMiddle = D3DXVECTOR2(0.5f, 0.5f) - object.position;
            float const length = std::sqrt(toMiddle.x * toMiddle.x + toMiddle.y * toMiddle.y);
            D3DXVECTOR2 const step = length > 1e-4f ? toMiddle * (0.08f / length) : D3DXVECTOR2(0.08f, 0.0f);
            return onPlayfield(*blowing.getPlayfield(), object.position + step);
        };
        D3DXVECTOR2 const point = beside();
        moveTo(point);
        press(point);
        ticks(kHoldFrames, false);
        release(point);
    }

    // Drags the first ring that turns a quarter turn round the playfield's middle.
    void dragARing(Minispiel& game) {
        auto& rings = dynamic_cast<Ring&>(game);
        Ring::Objekt const* ring = nullptr;
        for (Ring::Objekt const* each : rings.getRings())
            if (each->rotierbar && !ring) ring = each;
        ASSERT_NE(ring, nullptr);
        float const distance = (rings.screenRadius(ring->innerRadius) + rings.screenRadius(ring->outerRadius)) / 2.0f;
        D3DXVECTOR2 const middle = middleOf(rings.getPlayfield()->getScreenRect());
        auto at = [&](float degrees) {
            return middle - D3DXVECTOR2(std::cos(D3DXToRadian(degrees)), std::sin(D3DXToRadian(degrees))) * distance;
        };
        moveTo(at(30.0f));
        press(at(30.0f));
        for (int a = 40; a <= 120; a += 10) moveTo(at(static_cast<float>(a)));
        release(at(120.0f));
    }
};

// What the player does, and the game's state that it would change.
struct HelpCase {
    char const* name;
    wchar_t const* game;
    void (HelpScreenInputTest::*act)(Minispiel& game);
    std::function<std::vector<float>(Minispiel const&)> state;
};

void PrintTo(HelpCase const& c, std::ostream* out) { *out << c.name; }

std::vector<float> objectPlaces(Minispiel const& game) {
    std::vector<float> out;
    for (Wegblasen::Objekt const* object : dynamic_cast<Wegblasen const&>(game).getObjects()) {
        out.push_back(object->position.x);
        out.push_back(object->position.y);
    }
    return out;
}

std::vector<float> ringAngles(Minispiel const& game) {
    std::vector<float> out;
    for (Ring::Objekt const* ring : dynamic_cast<Ring const&>(game).getRings()) out.push_back(ring->angle);
    return out;
}

HelpCase const kCases[] = {
    {"HoldingTheButtonOnTheBlowingGamesHelp", L"MINIGAME_18", &HelpScreenInputTest::holdBesideAnObject, objectPlaces},
    {"DraggingOnTheRingGamesHelp", L"MINIGAME_19", &HelpScreenInputTest::dragARing, ringAngles},
};

class HelpScreenPresses : public HelpScreenInputTest, public ::testing::WithParamInterface<HelpCase> {};

TEST_P(HelpScreenPresses, DoNothingToTheGameWhileTheHelpIsUp) {
    HelpCase const& c = GetParam();
    Minispiel* game = begin(c.game);
    ASSERT_NE(game, nullptr);
    ASSERT_TRUE(manager().isHelpShown());
    std::vector<float> const before = c.state(*game);
    double const clock = game->getSolutionTimeLeft();

    (this->*c.act)(*game);
    ticks(kSettleFrames, false);
    EXPECT_EQ(c.state(*game), before) << "the game changed under its help screen";
    EXPECT_FALSE(game->isFinished(false));
    EXPECT_EQ(log.count(L"ended"), 0u);
    EXPECT_EQ(game->getSolutionTimeLeft(), clock);

    // With the help closed the same action reaches the game.
    closeHelp();
    (this->*c.act)(*game);
    EXPECT_NE(c.state(*game), before);
}

INSTANTIATE_TEST_SUITE_P(Games, HelpScreenPresses, ::testing::ValuesIn(kCases),
                         [](::testing::TestParamInfo<HelpCase> const& info) { return std::string(info.param.name); });

}  // namespace
