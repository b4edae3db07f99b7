// The card manager's effects in play start the shipped emitters: the hint's sparks on the hinted
// cards, the goal burst and the points, multiplier and combo tokens of moves to a goal pile, and
// the multiplier's and combo's end.
#include <cmath>
#include <set>

#include "engine/render/Texture2DAnimationManager.h"
#include "game/cards/Kartenstapel.h"
#include "game/particles/SolPartikel.h"
#include "game/particles/SolPartikelManager.h"
#include "tests/game/cards/PlayTable.h"
#include "tests/game/look/StyleFiles.h"

namespace Solitaire {
namespace {

class EffectsInPlay : public cardtest::PlayTable {
protected:
    void SetUp() override {
        PlayTable::SetUp();
        particles().clear();
        styletest::addSourceSearchPath();
        Orvex::XMLNode root;
        ASSERT_TRUE(root.load(L"data\\Partikel.par"));
        particles().loadTemplates(root, L"data\\Partikel.par");
        style().autoMultiplier = true;
        style().minMultipliers = 1;
        style().maxMultipliers = 10;
        startText(cardtest::kGoalTable);
        particles().update(100.0f, -1);  // what the deal started is over
    }
    void TearDown() override {
        particles().clear();
        Orvex::Texture2DAnimationManager::instance().releaseAnimations();
        Orvex::Texture2DAnimationManager::instance().getTextures().releaseAll();
        PlayTable::TearDown();
    }
    static SolPartikelManager& particles() { return SolPartikelManager::instance(); }
    // The names of the live emitters (each a shipped template's).
    static std::set<std::wstring> started() {
        std::set<std::wstring> names;
        for (SolPartikel const* emitter : particles().liveEmitters()) {
            EXPECT_NE(particles().findEmitterTemplate(emitter->getName()), nullptr);
            names.insert(emitter->getName());
        }
        return names;
    }
    // Moves the top card of the tableau onto the goal pile and lets the move resolve.
    void playToGoal() {
        move(pile(L"T"), pile(L"Z"), 1);
        frames(120);
    }
};

TEST_F(EffectsInPlay, AHintSparklesOnItsCards) {
    ASSERT_TRUE(manager().showHint(false, false, false));
    EXPECT_EQ(started(), std::set<std::wstring>{L"TIPP_EMITTER"});
}

// A pile's effect (the shuffle power's, a hint onto an empty pile) starts on the pile's place.
TEST_F(EffectsInPlay, AnEffectOnAPileStartsOverThePile) {
    Kartenstapel* goal = &pile(L"Z");
    goal->position = D3DXVECTOR2(400.0f, 300.0f);
    ASSERT_NE(particles().spawnAt(L"TIPP_EMITTER", *goal), nullptr);
    particles().update(0.1f, -1);
    ASSERT_FALSE(particles().liveParticles().empty());
    D3DXVECTOR2 const half = goal->cardSize * goal->getScale() * 0.5f;
    for (SolPartikel const* particle : particles().liveParticles()) {
        D3DXVECTOR2 const from = particle->getPosition() - goal->position;
        // Started inside the rectangle; a tenth of a second of flight at most beside it.
        EXPECT_LT(std::fabs(from.x), half.x * 1.5f);
        EXPECT_LT(std::fabs(from.y), half.y * 1.5f);
    }
}

TEST_F(EffectsInPlay, MovesToTheGoalBurstAndFlyTokens) {
    playToGoal();
    std::set<std::wstring> const first = started();
    for (wchar_t const* name : {L"TO_ZIEL_EMITTER", L"ADDPOINTS_EMITTER", L"ADDMULTIPLIER_EMITTER"})
        EXPECT_EQ(first.count(name), 1u) << cardtest::narrow(name);
    playToGoal();
    EXPECT_EQ(started().count(L"ADDCOMBO_EMITTER"), 1u);
    style().updateMultiplier();  // the running multiplier and its combo end
    std::set<std::wstring> const ended = started();
    for (wchar_t const* name : {L"REMOVEMULTIPLIER_EMITTER", L"ENDCOMBO_EMITTER"})
        EXPECT_EQ(ended.count(name), 1u) << cardtest::narrow(name);
}

}  // namespace
}  // namespace Solitaire
