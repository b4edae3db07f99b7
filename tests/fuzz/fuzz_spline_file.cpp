// Fuzzes the spline-file reader with file bytes. The input is cut into files as FuzzSupport.h
// describes: its first piece is the spline file "part0", the others are the ASE files its
// definitions import ("CREATE_FROM_ASE" "part1" ...; shipped ones resolve in the source tree).
// The spline manager reads the file, then every spline is walked along its length, copied,
// and reloaded from its file through the manager. Checks: the points of the file and of each
// spline stay within their limits, a reload keeps them there, and lengths are never negative.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "engine/render/Spline.h"
#include "engine/render/SplineManager.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

void walk(Orvex::Spline const& spline) {
    check(spline.getControlPoints().size() <= Orvex::Spline::kMaxControlPoints);
    float const length = spline.getLength();
    check(!(length < 0.0f));
    for (float fraction : {-0.25f, 0.0f, 0.3f, 0.5f, 1.0f, 4.0f})
        (void)spline.getPointAt(spline.parameterAtDistance(length * fraction));
    for (Orvex::s32 index : {-4, 0, 1, static_cast<Orvex::s32>(spline.getControlPoints().size()) + 3})
        (void)spline.getPoint(index);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, std::size_t size) {
    fuzz::quietLog();
    fuzz::serveParts(data, size);
    static Orvex::SplineManager manager;
    manager.clear();
    unsigned const added = manager.loadSplines(L"part0");
    check(added == manager.getSplines().size());
    std::size_t points = 0;
    for (Orvex::Spline const* spline : manager.getSplines()) points += spline->getControlPoints().size();
    check(points <= Orvex::SplineManager::kMaxPointsPerFile);
    for (Orvex::Spline* spline : std::vector<Orvex::Spline*>(manager.getSplines())) {
        walk(*spline);
        Orvex::Spline copy(*spline);
        walk(copy);
        manager.reload(*spline);
        walk(*spline);
    }
    manager.clear();
    return 0;
}
