// Matrices the tests build by their formulas (the port keeps only the builders the engine calls):
// row vectors, left-handed, as D3DX lays them out.
#pragma once

#include <cmath>

#include "port/d3dx9/d3dx9math.h"

namespace testsupport {

// Maps l..r to -1..1, t..b to 1..-1 and zn..zf to 0..1.
inline D3DXMATRIX orthoOffCenterLH(float l, float r, float b, float t, float zn, float zf) {
    return D3DXMATRIX(2.0f / (r - l), 0, 0, 0, 0, 2.0f / (t - b), 0, 0, 0, 0, 1.0f / (zf - zn), 0, (l + r) / (l - r),
                      (t + b) / (b - t), zn / (zn - zf), 1.0f);
}

inline D3DXMATRIX translationMatrix(float x, float y, float z) {
    return D3DXMATRIX(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1);
}

// Turns z towards x ((0, 0, 1) -> (sin, 0, cos)).
inline D3DXMATRIX rotationYMatrix(float angle) {
    float const c = std::cos(angle), s = std::sin(angle);
    return D3DXMATRIX(c, 0, -s, 0, 0, 1, 0, 0, s, 0, c, 0, 0, 0, 0, 1);
}

}  // namespace testsupport
