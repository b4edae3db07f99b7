// A screen quad at a chosen depth, for the tests of depth and stencil values.
#pragma once

#include "tests/support/gl/DeviceFixture.h"

namespace d3d9test {

// Two triangles covering (x0, y0)-(x1, y1) at depth z (0..1) in the diffuse colour.
inline void drawAt(IDirect3DDevice9* device, float x0, float y0, float x1, float y1, float z, D3DCOLOR color) {
    testsupport::ScreenVertex v[4] = {{x0, y0, z, 1.0f, color, 0, 0},
                                      {x1, y0, z, 1.0f, color, 1, 0},
                                      {x0, y1, z, 1.0f, color, 0, 1},
                                      {x1, y1, z, 1.0f, color, 1, 1}};
    device->SetFVF(testsupport::kScreenFvf);
    ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, v, sizeof(v[0])), D3D_OK);
}

}  // namespace d3d9test
