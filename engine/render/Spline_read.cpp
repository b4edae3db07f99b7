// Building a spline from its definition: control points ("CONTROLPOINT", with "DEFAULT"
// applied first), the ASE import, "PARAM_GROUP" settings for listed points, and splines
// averaged from two others ("AVERAGE" with "SPLINE1" and "SPLINE2"). Also reload.
//
// Refused data (a place, a scale or data beyond kMaxMeasure, a number that is not finite, a
// negative flag bit, interpolators beyond the fifteenth, too many points, averages nested too
// deep) is skipped and named in one log line per spline: its name and the file it came from.
#include <algorithm>
#include <cmath>

#include "engine/render/Spline.h"
#include "engine/render/SplinePointKeys.h"

namespace Orvex {

Spline::Spline(XMLNode& node, std::wstring const& sourceName, ReadProblems* problemsOut)
    : NamedObject(node), hasDefinition_(1), definition_(node), sourceName_(sourceName) {
    ReadProblems problems;
    readDefinition(node, 0, problems);
    if (problemsOut)
        problemsOut->absorb(problems);
    else if (!problems.empty())
        problems.log(L"Spline \"" + getName() + L"\"", sourceName_, node.getLine());
}

void Spline::setDefinition(XMLNode const& node, std::wstring const& sourceName) {
    definition_ = node;
    sourceName_ = sourceName;
    hasDefinition_ = 1;
}

void Spline::reload() {
    if (!hasDefinition_) return;
    XMLNode definition(definition_);
    Spline fresh(definition, sourceName_);
    points_ = std::move(fresh.points_);
    before_ = std::move(fresh.before_);
    after_ = std::move(fresh.after_);
    length_ = fresh.length_;
    loop_ = fresh.loop_;
    average_ = fresh.average_;
    rebuildTables();
}

void Spline::readSplinePoint(SplinePoint& point, XMLNode const& node, ReadProblems* problems) {
    SplinePointKeys(node, problems).apply(point);
}

void Spline::readFlags(u32& flags, XMLNode const& node, ReadProblems* problems) {
    SplinePointKeys keys;
    keys.readFlags(node, problems);
    keys.applyFlags(flags);
}

void Spline::readDefinition(XMLNode const& node, u32 depth, ReadProblems& problems) {
    if (depth > kMaxAverageDepth) {
        problems.add(L"averages nested deeper than " + std::to_wstring(kMaxAverageDepth));
        rebuildTables();
        return;
    }
    if (XMLNode const* average = node.getChild(L"AVERAGE")) {
        bool complete = false;
        readAverage(*average, depth, problems, complete);
        if (complete) {
            rebuildTables();
            return;
        }
        points_.clear();
    }
    loop_ = node.getAttributeBool(L"LOOP", loop_ != 0) ? 1 : 0;
    average_ = node.getAttributeBool(L"AVERAGE", average_ != 0) ? 1 : 0;
    // Keys read once serve every point they apply to.
    XMLNode const* defaultNode = node.getChild(L"DEFAULT");
    SplinePointKeys const defaults = defaultNode ? SplinePointKeys(*defaultNode, &problems) : SplinePointKeys();

    bool full = false;
    for (auto const& child : node.children()) {
        if (child->getName() != L"CONTROLPOINT") continue;
        if (points_.size() >= kMaxControlPoints) {
            if (!full) problems.add(L"more than " + std::to_wstring(kMaxControlPoints) + L" control points");
            full = true;
            continue;
        }
        SplinePoint point;
        defaults.apply(point);
        SplinePointKeys(*child, &problems).apply(point);
        points_.push_back(point);
    }

    if (node.getAttribute(L"CREATE_FROM_ASE")) importAse(node, defaults, problems);

    for (auto const& child : node.children()) {
        if (child->getName() != L"PARAM_GROUP") continue;
        XMLAttribute const* list = child->getAttribute(L"CONTROL_POINTS");
        if (!list) continue;
        SplinePointKeys const group(*child, &problems);
        auto const indices = list->split(L" ");
        for (u32 i = 0; i < indices.getCount(); ++i) {
            int const index = indices.get(i)->getInt();
            if (index >= 0 && static_cast<std::size_t>(index) < points_.size())
                group.apply(points_[static_cast<std::size_t>(index)]);
        }
    }
    rebuildTables();
}

void Spline::readAverage(XMLNode const& average, u32 depth, ReadProblems& problems, bool& complete) {
    XMLNode const* first = average.getChild(L"SPLINE1");
    XMLNode const* second = average.getChild(L"SPLINE2");
    complete = first && second;
    Spline s1;
    Spline s2;
    if (first) s1.readDefinition(*first, depth + 1, problems);
    if (second) s2.readDefinition(*second, depth + 1, problems);
    std::size_t const n1 = s1.points_.size();
    std::size_t const n2 = s2.points_.size();

    long long count = 0;
    if (XMLAttribute const* numbers = average.getAttribute(L"NUMPTS")) {
        auto const words = numbers->split(L" ");
        int const mode = words.getCount() > 0 ? words.get(0)->getInt() : 0;
        if (mode == 1)
            count = static_cast<long long>(std::max(n1, n2));
        else if (mode == -1)
            count = static_cast<long long>(std::min(n1, n2));
        else if (words.getCount() > 1)
            count = words.get(1)->getInt();
    }
    if (count < 0) {
        problems.add(L"negative \"NUMPTS\"");
        count = 0;
    }
    if (count > static_cast<long long>(kMaxControlPoints)) {
        problems.add(L"\"NUMPTS\" above " + std::to_wstring(kMaxControlPoints));
        count = kMaxControlPoints;
    }
    bool const takeFirst = average.getAttributeBool(L"TAKE_FIRST_AS_DEFAULT", true);
    float distScale = 1.0f;
    readMeasure(average, L"DIST_SCALE", distScale, problems);
    bool const saveDist = average.getAttributeBool(L"SAVE_DIST", false);

    points_.clear();
    points_.reserve(static_cast<std::size_t>(count));
    float const N = static_cast<float>(count);
    for (long long i = 0; i < count; ++i) {
        float const fi = static_cast<float>(i);
        SplinePoint const a = s1.getPointAt(static_cast<float>(n1) * fi / N);
        SplinePoint const b = s2.getPointAt(static_cast<float>(n2) * fi / N);
        SplinePoint point = takeFirst ? a : b;
        for (u32 k = 0; k < SplinePoint::kComponentCount; ++k) point.component(k) = (a.component(k) + b.component(k)) / 2.0f;
        if (saveDist) {
            float const dx = a.position[0] - b.position[0];
            float const dy = a.position[1] - b.position[1];
            float const dz = a.position[2] - b.position[2];
            point.userData[0] = std::sqrt(dx * dx + dy * dy + dz * dz) / 2.0f * distScale;
        }
        points_.push_back(point);
    }
    Spline const& source = takeFirst ? s1 : s2;
    loop_ = source.loop_;
    average_ = source.average_;
}

}  // namespace Orvex
