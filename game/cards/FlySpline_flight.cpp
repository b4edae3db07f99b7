// The end-of-game flight over a fly spline: one path per step, the cards taken pile by pile in
// turns and spread over the steps, each handed a flight record, and one flight sound per
// kCardsPerSound cards spread over the flight.
//
// Durations: a step lasts (1 / speed along + wait, the wait left out with a constant end time) x
// "START_AT_PARAM_LAST". Steps run one after another, or with "USE_MODULO" side by side; then the
// time returned (which the game end waits before its results, and over which the flight sounds
// are spread) is the longest step divided by the number of steps, so the results come up while
// the last cards are still in the air.
//
// Constant end time: every card of the step arrives when the step's path time is over, each
// travelling the path time less its own wait within the step. The waits are squeezed so that no
// card travels less than kMinTravelShare of the path time; a wait as long as the path time would
// otherwise ask for an infinite or negative speed.
#include <algorithm>
#include <cstdint>
#include <memory>

#include "engine/core/Utils.h"
#include "engine/render/Spline.h"
#include "game/cards/Anordnung.h"
#include "game/cards/CardFlight.h"
#include "game/cards/FlySpline.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "game/look/GameStyle.h"
#include "game/look/SolitaireCamera.h"
#include "game/look/StyleSettings.h"

namespace Solitaire {

namespace {

// The step's path in table coordinates; rotation and scale ride on the points as user data.
Orvex::Spline* makePath(FlyStep const& step, Kartenmanager const& manager) {
    auto* path = new Orvex::Spline();
    SolitaireCamera const* camera = manager.getCamera();
    Orvex::FRect const& table = manager.getTableRect();
    for (FlyControlPoint const& control : step.points) {
        D3DXVECTOR2 const at = camera ? camera->relativeToWorld(control.x, control.y, true)
                                      : D3DXVECTOR2(Orvex::lerp(table.left, table.right, control.x),
                                                    Orvex::lerp(table.top, table.bottom, control.y));
        Orvex::SplinePoint point;
        point.position[0] = at.x;
        point.position[1] = at.y;
        point.userData[0] = control.rotation;
        point.userData[1] = control.scale;
        point.interpolators[0].function = Orvex::splineInterpolateCatmull;
        point.interpolators[0].type = Orvex::kSplineCatmull;
        path->getControlPoints().push_back(point);
    }
    path->rebuildTables();
    return path;
}

// Off its pile and out of every link, drawn above the rest, no change waiting.
void markFlying(Karte& card) {
    if (Kartenstapel* pile = card.pile) pile->removeCard(&card, false);
    card.unlink(false, true, true);
    card.upperLayer = true;
    card.waitTime = -1.0f;
    card.pendingMask = 0;
}

}  // namespace

float FlySpline::startFlight(std::vector<Kartenstapel*> piles, Kartenmanager& manager) const {
    if (steps.empty()) return 0.0f;
    std::size_t const stepCount = steps.size();
    std::vector<Orvex::Spline*> paths;
    for (FlyStep const& step : steps) paths.push_back(makePath(step, manager));

    int total = 0;
    for (Kartenstapel const* pile : piles) {
        std::vector<Karte*> held;
        if (pile) pile->getCards(held, true, true);
        total += static_cast<int>(held.size());
    }

    struct Timing {
        float start;
        float waitMax;
        float expected;
        int assigned;
    };
    std::vector<Timing> timings;
    float running = 0.0f;
    for (FlyStep const& step : steps) {
        float const pathTime = 1.0f / step.alongSpeed;
        float const waitMax = step.constantEndTime ? std::min(step.waitTimerMax, pathTime * (1.0f - kMinTravelShare))
                                                   : step.waitTimerMax;
        float const expected = static_cast<float>(total) / static_cast<float>(stepCount) + 0.5f;
        timings.push_back({running, waitMax, expected, 0});
        float const duration = (pathTime + (step.constantEndTime ? 0.0f : waitMax)) * startAtParam;
        running = useModulo ? std::max(running, duration) : running + duration;
    }
    float const duration = useModulo ? running / static_cast<float>(stepCount) : running;

    // Pile by pile in turns: a pile that gave cards goes back to the end of the list.
    std::vector<Karte*> order;
    std::vector<Kartenstapel*> queue;
    for (Kartenstapel* pile : piles)
        if (pile) queue.push_back(pile);
    for (std::size_t next = 0; next < queue.size(); ++next) {
        Kartenstapel* pile = queue[next];
        std::vector<Karte*> held;
        pile->getCards(held, true, true);
        bool gave = false;
        for (Karte* card : held) {
            if (std::find(order.begin(), order.end(), card) != order.end()) continue;
            markFlying(*card);
            order.push_back(card);
            gave = true;
        }
        if (Anordnung* root = pile->getRootArrangement(); gave && root) root->rebuildLinks();
        if (gave) queue.push_back(pile);
    }

    for (std::size_t count = 0; count < order.size(); ++count) {
        std::size_t const s =
            useModulo ? count % stepCount
                      : std::min(stepCount - 1, static_cast<std::size_t>(std::uint64_t(stepCount) * count /
                                                                          std::uint64_t(std::max(total, 1))));
        FlyStep const& step = steps[s];
        Timing& timing = timings[s];
        float const wait = static_cast<float>(timing.assigned) / timing.expected * timing.waitMax;
        auto flight = std::make_unique<CardFlight>(paths[s]);
        flight->delay = wait + (useModulo ? 0.0f : timing.start);
        flight->alongSpeed = step.constantEndTime ? 1.0f / (1.0f / step.alongSpeed - wait) : step.alongSpeed;
        flight->towardSpeed = step.toSpeed;
        flight->params = step.params;
        order[count]->setFlight(std::move(flight));
        ++timing.assigned;
    }

    GameStyle const* style = manager.getGameStyle();
    if (!style) style = StyleSettings::instance().getGameStyle();
    int const sounds = total / kCardsPerSound;
    for (int j = 0; style && j < sounds; ++j)
        manager.queueSound(static_cast<float>(j) / static_cast<float>(sounds) * duration,
                           style->getSoundName(GameStyle::kSoundFlyStart));

    for (Orvex::Spline* path : paths) path->release();
    return duration;
}

}  // namespace Solitaire
