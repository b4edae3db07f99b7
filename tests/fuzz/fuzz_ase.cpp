// Fuzzes the ASE shape reader with file bytes (widened as 8-bit text, as files are read). The
// first byte picks the shape name and whether interpolated vertices count. Beyond not crashing:
// the vertex count stays within its limit, every number read is finite, and a spline built from
// the vertices (as the import builds it, loop or open) evaluates without trouble.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/core/CodePage.h"
#include "engine/render/Spline.h"
#include "engine/render/SplineASE.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

constexpr Orvex::u32 kMaxVertices = 512;
wchar_t const* const kShapes[] = {L"", L"Welle", L"Ring", L"A"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, std::size_t size) {
    fuzz::quietLog();  // broken input is logged by design
    if (size == 0) return 0;
    uint8_t const choice = data[0];
    std::wstring text;
    text.reserve(size - 1);
    for (std::size_t i = 1; i < size; ++i) text.push_back(Orvex::widenAnsi(data[i]));

    Orvex::AseReadResult result;
    Orvex::readAseVertices(text, kShapes[choice & 3], (choice & 4) != 0, kMaxVertices, result);
    if (result.vertices.size() > kMaxVertices) std::abort();
    if (result.problemCount > 0 && (result.firstProblem.empty() || result.firstProblemLine == 0)) std::abort();
    for (Orvex::AseVertex const& v : result.vertices)
        if (!std::isfinite(v.x) || !std::isfinite(v.y) || !std::isfinite(v.z)) std::abort();

    Orvex::Spline spline;
    spline.setLoop((choice & 8) != 0);
    for (Orvex::AseVertex const& v : result.vertices) {
        Orvex::SplinePoint point;
        point.position[0] = v.x;
        point.position[1] = v.z;
        point.position[2] = v.y;
        spline.getControlPoints().push_back(point);
    }
    spline.rebuildTables();
    float const length = spline.getLength();
    for (float fraction : {-0.5f, 0.0f, 0.3f, 1.0f, 7.5f}) (void)spline.getPointAt(spline.parameterAtDistance(length * fraction));
    return 0;
}
