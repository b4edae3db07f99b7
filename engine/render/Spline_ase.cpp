// The "CREATE_FROM_ASE" import: vertices of a shape in ASE text become control points, or
// move the spline's existing points of the same index. "ASE_FAKTOR" and "ASE_DISPLACE" (up to
// three numbers; the first serves the axes the list leaves out) scale and shift them; the ASE's
// second axis becomes depth (z) and its third height (y). Each list is a scale or a place, read
// within kMaxMeasure as one: a number beyond refuses the list, which keeps its default.
#include <cmath>
#include <span>

#include "engine/core/File.h"
#include "engine/core/ReadProblems.h"
#include "engine/render/Spline.h"
#include "engine/render/SplineASE.h"
#include "engine/render/SplinePointKeys.h"

namespace Orvex {

void Spline::importAse(XMLNode const& node, SplinePointKeys const& defaults, ReadProblems& problems) {
    std::wstring const fileName = node.getAttributeString(L"CREATE_FROM_ASE", L"");
    float factor[3] = {1.0f, 1.0f, 1.0f};
    float displace[3] = {0.0f, 0.0f, 0.0f};
    auto readTriple = [&](wchar_t const* key, float(&values)[3]) {
        std::size_t const given = readMeasures(node, key, values, problems);
        for (std::size_t i = given; i < 3 && given > 0; ++i) values[i] = values[0];
    };
    readTriple(L"ASE_FAKTOR", factor);
    readTriple(L"ASE_DISPLACE", displace);
    std::wstring const shape = node.getAttributeString(L"USE_SHAPE", L"");
    bool const withInterpolated = node.getAttributeBool(L"LOAD_INTERP_TOO", false);

    File file(L"ASE Spline Data");
    if (!file.open(fileName, L"DEFAULT")) {
        problems.add(L"ASE file \"" + fileName + L"\" not found");
        return;
    }
    AseReadResult result;
    readAseVertices(file.readText(File::kMaxTextFileBytes), shape, withInterpolated, kMaxControlPoints, result);
    logAseProblems(result, fileName);
    if (!result.shapeFound) problems.add(L"no shape \"" + shape + L"\" in \"" + fileName + L"\", read all shapes");

    bool const hadPoints = !points_.empty();
    for (AseVertex const& vertex : result.vertices) {
        SplinePoint fresh;
        SplinePoint* target = &fresh;
        if (hadPoints) {
            if (vertex.index < 0 || static_cast<std::size_t>(vertex.index) >= points_.size()) continue;
            target = &points_[static_cast<std::size_t>(vertex.index)];
        } else {
            defaults.apply(fresh);
        }
        float const x = vertex.x * factor[0] + displace[0];
        float const z = vertex.y * factor[1] + displace[1];
        float const y = vertex.z * factor[2] + displace[2];
        if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z)) {
            problems.add(L"ASE vertex " + std::to_wstring(vertex.index) + L" out of range after scaling");
            continue;
        }
        target->position[0] = x;
        target->position[1] = y;
        target->position[2] = z;
        if (!hadPoints) {
            if (points_.size() >= kMaxControlPoints) break;
            points_.push_back(fresh);
        }
    }
}

}  // namespace Orvex
