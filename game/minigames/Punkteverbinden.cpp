// Connect the dots: its keys, windows, the attempt and the frame.
#include "game/minigames/Punkteverbinden.h"

#include <climits>
#include <cmath>

#include "engine/core/XMLAttribute.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/GUIWindow.h"
#include "engine/render/Texture2DAnimation.h"
#include "game/minigames/FieldWindows.h"
#include "game/minigames/MinispielKeys.h"
#include "game/minigames/MinispielTemplates.h"

namespace Solitaire {

namespace {

// Blank-separated ids, at most kMaxIds (the rest logged and skipped).
std::vector<int> readIds(Orvex::XMLNode const& node, wchar_t const* key) {
    std::vector<int> ids;
    Orvex::XMLAttribute const* a = node.getAttribute(key);
    if (!a) return ids;
    Orvex::XMLValueTokens const parts = a->split(L" ");
    for (Orvex::u32 i = 0; i < parts.size(); ++i) {
        if (ids.size() == Punkteverbinden::kMaxIds) {
            minigame::logProblem(node, L"\"" + std::wstring(key) + L"\" lists more than " +
                                           std::to_wstring(Punkteverbinden::kMaxIds) + L" ids; the rest are skipped");
            break;
        }
        ids.push_back(parts.get(i)->getInt());
    }
    return ids;
}

}  // namespace

Punkteverbinden::Punkt::Punkt(Orvex::XMLNode& node, Punkteverbinden* game) : owner(game) {
    minigame::readPair(node, L"POSITION", x, y);
    minigame::readPair(node, L"SIZE", w, h);
    minigame::readCount(node, L"ID", id, INT_MIN, INT_MAX);
    valid = readIds(node, L"VALID_CONNECTIONS");
    goals = readIds(node, L"GOAL_CONNECTIONS");
    picture.adopt(minigame::animationCopy(node, L"ANIMATION"));
}

// Out of line: the picture's class is complete here.
Punkteverbinden::Punkt::~Punkt() = default;

Punkteverbinden::Punkteverbinden(Orvex::XMLNode& element) : Minispiel(element) {
    minigame::readChildren(element, L"PUNKT", kMaxPoints, L"points (\"PUNKT\")",
                           [this](Orvex::XMLNode& child) { points_.push_back(new Punkt(child, this)); });
    background_.adopt(minigame::animationCopy(element, L"BACKGROUND"));
    onlyGoalsToFinish_ = element.getAttributeBool(L"ONLY_GOALS_TO_FINISH", onlyGoalsToFinish_);
    if (Orvex::XMLAttribute const* a = element.getAttribute(L"ABS_SIZE")) {
        // The size the places and sizes are given in, a list of sizes: one beyond kMaxMeasure
        // leaves 1, with a line.
        float sizes[2] = {1.0f, 1.0f};
        std::size_t given = 0;
        minigame::readMeasures(element, L"ABS_SIZE", sizes, given);
        float sx = sizes[0];
        float sy = given > 1 ? sizes[1] : sx;
        // Each divides the points: one near 0 (its reciprocal beyond kMaxMeasure) would put them
        // past a float, so that number is left out.
        for (float* scale : {&sx, &sy})
            if (!(std::fabs(1.0f / *scale) <= Orvex::kMaxMeasure)) {
                minigame::logProblem(element, L"\"ABS_SIZE\" value \"" + a->getStringCopy() +
                                                  L"\" holds 0 or no usable number; 1 is taken in its place");
                *scale = 1.0f;
            }
        for (Punkt* p : points_) {
            p->x /= sx;
            p->w /= sx;
            p->y /= sy;
            p->h /= sy;
        }
    }
}

Punkteverbinden::~Punkteverbinden() {
    for (Punkt* p : points_) delete p;
    points_.clear();
}

void Punkteverbinden::createWindows() {
    lines_.create();
    if (!window) {
        minigame::FieldWindows const windows =
            minigame::buildFieldWindows(*this, kKind, minigame::frameAspect(background_.get()), false);
        window.adopt(windows.main);
        field_ = windows.field;
        if (field_) {
            if (background_) {
                minigame::showFrameAsBackground(*field_, background_.get());
                field_->getDrawOptions().setBackDrawType(Orvex::SDP_SCALE, Orvex::SDP_SCALE);
            }
            field_->selfDrawn.connect(this, &Punkteverbinden::onFieldDrawn);
        }
    }
}

void Punkteverbinden::start() {
    Minispiel::start();
    for (Punkt* p : points_) p->connections.clear();
    selected_ = nullptr;
    blinking_ = false;
    blinkClock_ = 0.0f;
}

void Punkteverbinden::update(double const& dt) {
    if (background_ && field_) {
        background_->update(dt);
        minigame::showFrameAsBackground(*field_, background_.get());
    }
    for (Punkt* p : points_)
        if (p->picture) p->picture->update(dt);
    countDownEndDelay(dt);
    if (blinking_) blinkClock_ += static_cast<float>(dt);
}

void Punkteverbinden::draw() {}

}  // namespace Solitaire
