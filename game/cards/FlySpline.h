// A named card flight for the end of a game ("FLY_SPLINE" in "data\FlySplines.fsp"): fly steps,
// each a path of control points in fractions of the table camera's relative rectangle with
// rotation and scale riding on them, a wait spread over the step's cards and the speeds a card
// approaches and travels the path with. startFlight hands every card of the given piles its flight
// record (CardFlight.h) and returns how long the whole flight lasts.
//
// The file is untrusted: speeds must be positive and not below kMinSpeed, waits and the start
// parameter finite and within kMaxSeconds, speeds and the control points' places, turns and scales
// within Orvex::kMaxMeasure, steps and control points are capped (kMaxSteps, kMaxControlPoints); a
// step without control points has no path and is dropped. Each refused fly spline gives one log
// line naming the file and the line; what was refused keeps its default.
//
// FlySpline.cpp: reading and the program-wide list; FlySpline_flight.cpp: startFlight.
#pragma once

#include <string>
#include <vector>

#include "engine/core/NamedObject.h"
#include "engine/core/XMLNode.h"

namespace Orvex {
class Spline;
}

namespace Solitaire {

class Kartenmanager;
class Kartenstapel;

// "PARAMS" words of a fly step.
enum FlyParams : int {
    kFlyUsePosition = 1,   // "USE_POS"
    kFlyUseRotation = 2,   // "USE_ROT"
    kFlyUseScale = 4,      // "USE_SCALE"
    kFlyAddRotation = 256, // "ADD_ROT": the path's rotation adds to the card's own
    kFlyMultScale = 512,   // "MULT_SCALE": the path's scale multiplies the card's own
};

struct FlyControlPoint {
    float x = 0.0f, y = 0.0f, rotation = 0.0f, scale = 0.0f;
};

struct FlyStep {
    float waitTimerMax = 0.0f;       // "WAIT_TIMER_MAX"
    bool constantEndTime = false;    // "CONSTANT_END_TIME" (a number, true when not 0)
    float alongSpeed = 1.0f;         // "ALONG_SPEED": path lengths per second
    float toSpeed = 1.0f;            // "TO_SPEED": the approach to the path per second
    int params = kFlyUsePosition;    // "PARAMS"
    std::vector<FlyControlPoint> points;  // "CONTROL_POINT" children
};

class FlySpline : public Orvex::NamedObject {
public:
    static constexpr float kMinSpeed = 0.001f;     // a path of at most 1000 s
    static constexpr float kMaxSeconds = 1000.0f;  // "WAIT_TIMER_MAX", "START_AT_PARAM_LAST"
    static constexpr std::size_t kMaxSteps = 64;
    static constexpr std::size_t kMaxControlPoints = 256;
    // With a constant end time no card travels less than this share of the step's path time,
    // even when its wait leaves no time to arrive with the others.
    static constexpr float kMinTravelShare = 0.1f;
    // One flight sound per this many cards.
    static constexpr int kCardsPerSound = 14;

    // sourceName names the file in the log line of refused keys.
    explicit FlySpline(Orvex::XMLNode& node, std::wstring const& sourceName = L"");

    // The end-of-game flight of the cards of piles (see FlySpline_flight.cpp); the duration in
    // seconds, 0 without steps.
    float startFlight(std::vector<Kartenstapel*> piles, Kartenmanager& manager) const;

    std::vector<FlyStep> steps;
    bool useModulo = false;         // "USE_MODULO": the steps fly side by side
    float startAtParam = 1.0f;      // "START_AT_PARAM_LAST"

    // The program-wide list, in file order; look-ups take the first of a name.
    static std::vector<FlySpline*>& list();
    static FlySpline* find(std::wstring const& name);
    // Appends one fly spline per "FLY_SPLINE" child of the file's top node.
    static void loadList(Orvex::XMLNode& root, std::wstring const& sourceName = L"");
    // Reads "data\FlySplines.fsp"; false when the file is missing.
    static bool loadFile();
    // Releases every fly spline of the list.
    static void clearList();
};

}  // namespace Solitaire
