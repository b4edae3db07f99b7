// Spline control points: the default point, component access, the frame rule and the
// component words of interpolator masks.
#include "engine/render/SplinePoint.h"

#include <cmath>

namespace Orvex {

SplinePoint::SplinePoint() {
    interpolators[0].function = splineInterpolateLinear;
    interpolators[0].type = kSplineNone;
    interpolators[0].mask = kSplineMaskAll;
}

float& SplinePoint::component(u32 k) {
    k %= kComponentCount;
    if (k < 3) return position[k];
    if (k < 6) return direction[k - 3];
    if (k < 9) return normal[k - 6];
    if (k < 12) return binormal[k - 9];
    return userData[k - 12];
}

float SplinePoint::component(u32 k) const { return const_cast<SplinePoint*>(this)->component(k); }

void splineFrameFromDirection(SplinePoint& point) {
    float const* d = point.direction;
    float const length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    if (!(length > 0.0f) || !std::isfinite(length)) {
        point.binormal[0] = 1.0f;
        point.binormal[1] = point.binormal[2] = 0.0f;
        point.normal[0] = point.normal[2] = 0.0f;
        point.normal[1] = 1.0f;
        return;
    }
    float const u[3] = {d[0] / length, d[1] / length, d[2] / length};
    float b[3] = {-u[2], 0.0f, u[0]};
    if (b[0] == 0.0f && b[2] == 0.0f) b[0] = 1.0f;
    point.binormal[0] = b[0];
    point.binormal[1] = b[1];
    point.binormal[2] = b[2];
    point.normal[0] = b[1] * u[2] - b[2] * u[1];
    point.normal[1] = b[2] * u[0] - b[0] * u[2];
    point.normal[2] = b[0] * u[1] - b[1] * u[0];
}

u32 splineComponentMask(std::wstring_view word) {
    struct Entry {
        wchar_t const* shortWord;
        wchar_t const* longWord;
        u32 mask;
    };
    static Entry const kWords[] = {
        {L"POS_X", L"POSITION_X", 0x0001},       {L"POS_Y", L"POSITION_Y", 0x0002},
        {L"POS_Z", L"POSITION_Z", 0x0004},       {L"POS", L"POSITION", 0x0007},
        {L"DIR_X", L"DIRECTION_X", 0x0008},      {L"DIR_Y", L"DIRECTION_Y", 0x0010},
        {L"DIR_Z", L"DIRECTION_Z", 0x0020},      {L"DIR", L"DIRECTION", 0x0038},
        {L"NORM_X", L"NORMAL_X", 0x0040},        {L"NORM_Y", L"NORMAL_Y", 0x0080},
        {L"NORM_Z", L"NORMAL_Z", 0x0100},        {L"NORM", L"NORMAL", 0x01C0},
        {L"BINORM_X", L"BINORMAL_X", 0x0200},    {L"BINORM_Y", L"BINORMAL_Y", 0x0400},
        {L"BINORM_Z", L"BINORMAL_Z", 0x0800},    {L"BINORM", L"BINORMAL", 0x0E00},
        {L"USERDATA_X", L"USERDATA_X", 0x1000},  {L"USERDATA_Y", L"USERDATA_Y", 0x2000},
        {L"USERDATA_Z", L"USERDATA_Z", 0x4000},  {L"USERDATA_W", L"USERDATA_W", 0x8000},
        {L"USERDATA", L"USERDATA", 0xF000},
    };
    for (Entry const& entry : kWords)
        if (word == entry.shortWord || word == entry.longWord) return entry.mask;
    return 0;
}

}  // namespace Orvex
