// Arrangements on the table: the counts before a place, the offset of a place in a straight fan
// or along a spline, the anchor after the previous arrangements, and the placement of the cards.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <unordered_set>

#include "engine/core/Utils.h"
#include "engine/render/Spline.h"
#include "game/cards/Anordnung.h"
#include "game/cards/StapelLayout.h"
#include "game/look/Style.h"
#include "game/look/StyleSettings.h"

namespace Solitaire {

namespace {

StapelLayout const& layoutOf(StapelLayout const* layout) {
    static StapelLayout const fallback;
    return layout ? *layout : fallback;
}

float lengthOf(Anordnung::Offset const& step) {
    return std::sqrt(step.x * step.x + step.y * step.y + step.rotation * step.rotation);
}

// Direction of (dx, dy) in degrees: 0 .. 360 by quadrant, 90 or 270 straight up or down.
float directionDegrees(float dx, float dy) {
    float const length = std::sqrt(dx * dx + dy * dy);
    if (!(length > 0.0f)) return 0.0f;
    dx /= length;
    dy /= length;
    if (dx == 0.0f) return dy > 0.0f ? 90.0f : 270.0f;
    float angle = std::atan(dy / dx) * 180.0f / std::numbers::pi_v<float>;
    if (dx < 0.0f) angle += 180.0f;
    return angle;
}

using Path = std::unordered_set<Anordnung const*>;

}  // namespace

float Anordnung::computeFillRatio(int const& cardCount, int const& maxFillCards) {
    if (maxFillCards <= 0) return 0.0f;
    return static_cast<float>(cardCount) / static_cast<float>(maxFillCards);
}

void Anordnung::setFillRatio(float const& ratio) { fillRatio = std::isfinite(ratio) && ratio > 0.0f ? ratio : 0.0f; }

void Anordnung::computeSplineWeights() {
    float const v = lengthOf(deltaVisible);
    float const h = lengthOf(deltaInvisible);
    float const s = lengthOf(deltaSelect);
    float const sum = v + h + s;
    if (!(sum > 0.0f) || !std::isfinite(sum)) {
        // No step at all: every kind of card counts the same along a spline.
        std::fill(std::begin(splineWeights), std::end(splineWeights), 1.0f / 3.0f);
        return;
    }
    splineWeights[0] = v / sum;
    splineWeights[1] = h / sum;
    splineWeights[2] = s / sum;
}

namespace {

struct CountRules {
    bool hideExtra;
    bool selectOffset;
};

CountRules countRules(StapelLayout const* layout) {
    Style const* look = StyleSettings::instance().getStyle();
    return {look && look->hideExtraCards, layoutOf(layout).useSelectOffset};
}

void countCard(Karte const* card, CountRules const& rules, Anordnung::Counts& counts) {
    if (!card) return;
    if (card->suit == Karte::kSuitExtra && rules.hideExtra) return;
    if (card->getMarkState() != 0 && rules.selectOffset) ++counts.selected;
    else if (card->isFaceUp()) ++counts.visible;
    else ++counts.hidden;
}

}  // namespace

Anordnung::Counts Anordnung::countBefore(int const& place) const {
    Counts counts;
    if (place <= 0) return counts;
    CountRules const rules = countRules(layout);
    std::size_t const walked = std::min(static_cast<std::size_t>(place), cards.size());
    for (std::size_t i = 0; i < walked; ++i) countCard(cards[i], rules, counts);
    counts.hidden += place - static_cast<int>(walked);
    return counts;
}

Anordnung::Offset Anordnung::placeOffset(int const& place, int const& places) const {
    Counts const whole = spline ? countBefore(places - 1) : Counts{};
    return offsetAt(countBefore(place), place, whole);
}

Anordnung::Offset Anordnung::offsetAt(Counts const& c, int const& place, Counts whole) const {
    D3DXVECTOR2 const step = layoutOf(layout).cardStep;
    Offset out;
    if (!spline) {
        float const f = fillRatio <= 1.0f ? 1.0f : 1.0f / fillRatio;
        float const v = static_cast<float>(c.visible);
        float const h = static_cast<float>(c.hidden);
        float const s = static_cast<float>(c.selected);
        out.x = s * deltaSelect.x * step.x + (v * deltaVisible.x + h * deltaInvisible.x) * step.x * f;
        out.y = s * deltaSelect.y * step.y + (v * deltaVisible.y + h * deltaInvisible.y) * step.y * f;
        out.rotation = s * deltaSelect.rotation + v * deltaVisible.rotation + h * deltaInvisible.rotation;
        return out;
    }
    float t = 0.0f;
    if (cardsCenteredOnSpline) {
        // The run lies in the middle of the spline, a place's share of it apart, however many
        // cards it has: a first card alone lies at the middle (the pile's own place when the
        // spline passes through it), later ones spread to both sides.
        float const run = static_cast<float>(cards.size());
        float const slots = std::max(run, static_cast<float>(whole.visible + whole.hidden + whole.selected + 1));
        t = std::clamp(0.5f + (static_cast<float>(place) - (run - 1.0f) * 0.5f) / slots, 0.0f, 1.0f);
    } else {
        float const wv = splineWeights[0];
        float const wh = splineWeights[1];
        float const ws = splineWeights[2];
        float const numerator = c.visible * wv + c.hidden * wh + c.selected * ws;
        if (!splineStartAtZero) ++whole.visible;
        if (!splineEndAtEnd) ++whole.visible;
        float const denominator = whole.visible * wv + whole.hidden * wh + whole.selected * ws;
        t = denominator != 0.0f ? numerator / denominator : 0.0f;
        if (splinePow != 1.0f) t = std::pow(t, splinePow);
        if (!std::isfinite(t)) t = 0.0f;
    }
    float const parameter = spline->parameterAtDistance(t * spline->getLength());
    Orvex::SplinePoint const point = spline->getPointAt(parameter);
    // A path point's own angle is its third coordinate.
    float angle = point.position[2];
    if (useSplineDirection) angle += directionDegrees(point.direction[0], point.direction[1]);
    out.x = (position.x + point.position[0]) * step.x;
    out.y = (position.y + point.position[1]) * step.y;
    out.rotation = splineRotationFactor * angle + splineRotationOffset;
    return out;
}

namespace {

D3DXVECTOR2 endPointOn(Anordnung const& arrangement, Path& path);

// The pile's place without previous arrangements; otherwise per axis over their end points. An
// arrangement already on the path (a "NEXT" cycle) is left out.
D3DXVECTOR2 anchorOn(Anordnung const& arrangement, Path& path) {
    std::vector<D3DXVECTOR2> ends;
    path.insert(&arrangement);
    for (Anordnung const* previous : arrangement.previousArrangements) {
        if (previous && !path.count(previous)) ends.push_back(endPointOn(*previous, path));
    }
    path.erase(&arrangement);
    if (ends.empty()) return layoutOf(arrangement.layout).position;
    float result[2];
    for (int axis = 0; axis < 2; ++axis) {
        float low = axis == 0 ? ends[0].x : ends[0].y;
        float high = low;
        float sum = 0.0f;
        for (D3DXVECTOR2 const& end : ends) {
            float const v = axis == 0 ? end.x : end.y;
            low = std::min(low, v);
            high = std::max(high, v);
            sum += v;
        }
        switch (arrangement.centerMode[axis]) {
            case Anordnung::kCenterMin: result[axis] = low; break;
            case Anordnung::kCenterMax: result[axis] = high; break;
            case Anordnung::kCenterMedian: result[axis] = sum / static_cast<float>(ends.size()); break;
            default: result[axis] = Orvex::lerp(low, high, arrangement.centerRatio[axis]); break;
        }
    }
    return {result[0], result[1]};
}

int placesOf(Anordnung const& arrangement) {
    return arrangement.maxCards == -1 ? static_cast<int>(arrangement.cards.size()) : arrangement.maxCards;
}

D3DXVECTOR2 endPointOn(Anordnung const& arrangement, Path& path) {
    StapelLayout const& layout = layoutOf(arrangement.layout);
    D3DXVECTOR2 const a = anchorOn(arrangement, path);
    Anordnung::Offset const o =
        arrangement.placeOffset(static_cast<int>(arrangement.cards.size()), placesOf(arrangement));
    float const bx = arrangement.position.x * layout.cardStep.x;
    float const by = arrangement.position.y * layout.cardStep.y;
    return {o.x * layout.cardSize.x + a.x + layout.cardSize.x * bx, o.y * layout.cardSize.y + a.y + layout.cardSize.y * by};
}

}  // namespace

D3DXVECTOR2 Anordnung::anchor() const {
    Path path;
    return anchorOn(*this, path);
}

D3DXVECTOR2 Anordnung::endPoint() const {
    Path path;
    return endPointOn(*this, path);
}

void Anordnung::place(float const& speed, std::vector<Karte*> const& exclusions) {
    if (cards.empty()) return;
    StapelLayout const& pileLayout = layoutOf(layout);
    D3DXVECTOR2 const a = anchor();
    float const bx = position.x * pileLayout.cardStep.x;
    float const by = position.y * pileLayout.cardStep.y;
    float const cw = pileLayout.cardSize.x;
    float const ch = pileLayout.cardSize.y;
    int const places = placesOf(*this);
    float const k = std::max(pileLayout.jitter.x * deltaVisible.x, pileLayout.jitter.y * deltaVisible.y);
    // The counts before each place grow card by card instead of being walked again per card.
    CountRules const rules = countRules(layout);
    Counts const whole = spline ? countBefore(places - 1) : Counts{};
    Counts before;
    for (std::size_t i = 0; i < cards.size(); ++i) {
        Karte* card = cards[i];
        Counts const here = before;
        countCard(card, rules, before);
        if (!card || std::find(exclusions.begin(), exclusions.end(), card) != exclusions.end()) continue;
        // Cards that came in without jitter entries (a restored list) lie without jitter.
        D3DXVECTOR2 const jitter = i < cardOffsets.size() ? cardOffsets[i] : D3DXVECTOR2(0.0f, 0.0f);
        float const turn = i < cardTurns.size() ? cardTurns[i] : 0.0f;
        Offset const o = offsetAt(here, static_cast<int>(i), whole);
        D3DXVECTOR2 const goal{(jitter.x * k + o.x) * cw + a.x + cw * bx, (jitter.y * k + o.y) * ch + a.y + ch * by};
        card->moveTo(goal, speed, 0.0f);
        card->rotateTo(turn * pileLayout.rotationJitter + o.rotation + rotation, speed, 0.0f, true);
    }
}

}  // namespace Solitaire
