// Reading fly splines and their steps, and the program-wide fly-spline list.
#include "game/cards/FlySpline.h"

#include <cmath>
#include <string_view>

#include "engine/core/Logger.h"
#include "engine/core/NamedObjectList.h"
#include "engine/core/Utils.h"
#include "game/look/ReadProblems.h"

namespace Solitaire {

namespace {

struct ParamWord {
    wchar_t const* word;
    int bit;
};

constexpr ParamWord kParamWords[] = {
    {L"USE_POS", kFlyUsePosition},   {L"USE_ROT", kFlyUseRotation}, {L"USE_SCALE", kFlyUseScale},
    {L"ADD_ROT", kFlyAddRotation},   {L"MULT_SCALE", kFlyMultScale},
};

int readParams(std::wstring const& text) {
    int bits = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t const end = std::min(text.find_first_of(L" \t\r\n", at), text.size());
        std::wstring_view const word(text.data() + at, end - at);
        for (ParamWord const& entry : kParamWords)
            if (word == entry.word) bits |= entry.bit;
        at = end + 1;
    }
    return bits;
}

FlyStep readSplineStep(Orvex::XMLNode const& node, ReadProblems& problems) {
    FlyStep step;
    readFloat(node, L"WAIT_TIMER_MAX", step.waitTimerMax, 0.0f, FlySpline::kMaxSeconds, problems);
    float constant = 0.0f;
    readFloat(node, L"CONSTANT_END_TIME", constant, problems);
    step.constantEndTime = constant != 0.0f;
    readFloat(node, L"ALONG_SPEED", step.alongSpeed, FlySpline::kMinSpeed, kMaxMeasure, problems);
    readFloat(node, L"TO_SPEED", step.toSpeed, FlySpline::kMinSpeed, kMaxMeasure, problems);
    if (std::wstring const* params = attributeText(node, L"PARAMS")) step.params = readParams(*params);
    for (Orvex::XMLNode const* child : node.children()) {
        if (child->getName() != L"CONTROL_POINT") continue;
        if (step.points.size() >= FlySpline::kMaxControlPoints) {
            problems.add(L"more than " + std::to_wstring(FlySpline::kMaxControlPoints) + L" control points",
                         child->getLine());
            break;
        }
        // Places (shares of the view), a turn and a scale of the cards that follow the path.
        FlyControlPoint point;
        readMeasure(*child, L"X", point.x, problems);
        readMeasure(*child, L"Y", point.y, problems);
        readMeasure(*child, L"ROT", point.rotation, problems);
        readMeasure(*child, L"SCALE", point.scale, problems);
        step.points.push_back(point);
    }
    return step;
}

}  // namespace

FlySpline::FlySpline(Orvex::XMLNode& node, std::wstring const& sourceName) : Orvex::NamedObject(node) {
    ReadProblems problems;
    readBool(node, L"USE_MODULO", useModulo);
    readFloat(node, L"START_AT_PARAM_LAST", startAtParam, 0.0f, kMaxSeconds, problems);
    for (Orvex::XMLNode const* child : node.children()) {
        if (child->getName() != L"KARTEN_FLY_SPLINE") continue;
        if (steps.size() >= kMaxSteps) {
            problems.add(L"more than " + std::to_wstring(kMaxSteps) + L" steps", child->getLine());
            break;
        }
        FlyStep step = readSplineStep(*child, problems);
        // Without a path no card could follow the step.
        if (step.points.empty()) problems.add(L"a step without control points", child->getLine());
        else steps.push_back(std::move(step));
    }
    problems.log(L"Fly spline \"" + getName() + L"\"", sourceName, node.getLine());
}

std::vector<FlySpline*>& FlySpline::list() {
    static std::vector<FlySpline*> splines;
    return splines;
}

FlySpline* FlySpline::find(std::wstring const& name) { return Orvex::findNamedObject(list(), name); }

void FlySpline::loadList(Orvex::XMLNode& root, std::wstring const& sourceName) {
    for (Orvex::XMLNode* child : root.children())
        if (child->getName() == L"FLY_SPLINE") list().push_back(new FlySpline(*child, sourceName));
}

bool FlySpline::loadFile() {
    std::wstring const file = L"data\\FlySplines.fsp";
    Orvex::XMLNode root;
    if (!root.load(file)) {
        Orvex::logWarning(L"Fly splines \"" + file + L"\" not found; the end of a game flies no cards");
        return false;
    }
    loadList(root, file);
    return true;
}

void FlySpline::clearList() {
    Orvex::releaseAll(list());
}

}  // namespace Solitaire
