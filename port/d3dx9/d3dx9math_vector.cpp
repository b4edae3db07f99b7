// D3DX vector functions (row-vector conventions).
#include "port/d3dx9/d3dx9math.h"

#include <cstdint>

namespace {

// Steps through a strided array of vectors.
template <class T>
T const* strided(T const* base, UINT stride, UINT i) {
    return reinterpret_cast<T const*>(reinterpret_cast<uint8_t const*>(base) + std::size_t(stride) * i);
}
template <class T>
T* strided(T* base, UINT stride, UINT i) {
    return reinterpret_cast<T*>(reinterpret_cast<uint8_t*>(base) + std::size_t(stride) * i);
}

// One coordinate of the Catmull-Rom spline through p1 (s = 0) and p2 (s = 1).
float catmull(float p0, float p1, float p2, float p3, float s) {
    float s2 = s * s, s3 = s2 * s;
    return 0.5f * (2.0f * p1 + (p2 - p0) * s + (2.0f * p0 - 5.0f * p1 + 4.0f * p2 - p3) * s2 +
                   (3.0f * p1 - p0 - 3.0f * p2 + p3) * s3);
}

}  // namespace

// ---- 2D ----
FLOAT D3DXVec2LengthSq(D3DXVECTOR2 const* v) { return v->x * v->x + v->y * v->y; }

D3DXVECTOR2* D3DXVec2Normalize(D3DXVECTOR2* out, D3DXVECTOR2 const* v) {
    FLOAT len = std::sqrt(D3DXVec2LengthSq(v));
    *out = len > 0.0f ? D3DXVECTOR2(v->x / len, v->y / len) : D3DXVECTOR2(0.0f, 0.0f);
    return out;
}

D3DXVECTOR2* D3DXVec2TransformCoord(D3DXVECTOR2* out, D3DXVECTOR2 const* v, D3DXMATRIX const* m) {
    FLOAT x = v->x * m->_11 + v->y * m->_21 + m->_41;
    FLOAT y = v->x * m->_12 + v->y * m->_22 + m->_42;
    FLOAT w = v->x * m->_14 + v->y * m->_24 + m->_44;
    FLOAT inv = w != 0.0f ? 1.0f / w : 1.0f;
    *out = {x * inv, y * inv};
    return out;
}

D3DXVECTOR2* D3DXVec2TransformCoordArray(D3DXVECTOR2* out, UINT outStride, D3DXVECTOR2 const* v, UINT vStride,
                                         D3DXMATRIX const* m, UINT n) {
    for (UINT i = 0; i < n; ++i) D3DXVec2TransformCoord(strided(out, outStride, i), strided(v, vStride, i), m);
    return out;
}

D3DXVECTOR2* D3DXVec2TransformNormalArray(D3DXVECTOR2* out, UINT outStride, D3DXVECTOR2 const* v, UINT vStride,
                                          D3DXMATRIX const* m, UINT n) {
    for (UINT i = 0; i < n; ++i) {
        D3DXVECTOR2 const in = *strided(v, vStride, i);
        *strided(out, outStride, i) = {in.x * m->_11 + in.y * m->_21, in.x * m->_12 + in.y * m->_22};
    }
    return out;
}

// ---- 3D ----
D3DXVECTOR3* D3DXVec3CatmullRom(D3DXVECTOR3* out, D3DXVECTOR3 const* v0, D3DXVECTOR3 const* v1,
                                D3DXVECTOR3 const* v2, D3DXVECTOR3 const* v3, FLOAT s) {
    *out = {catmull(v0->x, v1->x, v2->x, v3->x, s), catmull(v0->y, v1->y, v2->y, v3->y, s),
            catmull(v0->z, v1->z, v2->z, v3->z, s)};
    return out;
}

D3DXVECTOR4* D3DXVec3Transform(D3DXVECTOR4* out, D3DXVECTOR3 const* v, D3DXMATRIX const* m) {
    D3DXVECTOR4 r(v->x * m->_11 + v->y * m->_21 + v->z * m->_31 + m->_41,
                  v->x * m->_12 + v->y * m->_22 + v->z * m->_32 + m->_42,
                  v->x * m->_13 + v->y * m->_23 + v->z * m->_33 + m->_43,
                  v->x * m->_14 + v->y * m->_24 + v->z * m->_34 + m->_44);
    *out = r;
    return out;
}

D3DXVECTOR3* D3DXVec3TransformCoord(D3DXVECTOR3* out, D3DXVECTOR3 const* v, D3DXMATRIX const* m) {
    D3DXVECTOR4 r;
    D3DXVec3Transform(&r, v, m);
    FLOAT inv = r.w != 0.0f ? 1.0f / r.w : 1.0f;
    *out = {r.x * inv, r.y * inv, r.z * inv};
    return out;
}

D3DXVECTOR3* D3DXVec3TransformCoordArray(D3DXVECTOR3* out, UINT outStride, D3DXVECTOR3 const* v, UINT vStride,
                                         D3DXMATRIX const* m, UINT n) {
    for (UINT i = 0; i < n; ++i) D3DXVec3TransformCoord(strided(out, outStride, i), strided(v, vStride, i), m);
    return out;
}

// ---- 4D ----
D3DXVECTOR4* D3DXVec4CatmullRom(D3DXVECTOR4* out, D3DXVECTOR4 const* v0, D3DXVECTOR4 const* v1,
                                D3DXVECTOR4 const* v2, D3DXVECTOR4 const* v3, FLOAT s) {
    *out = {catmull(v0->x, v1->x, v2->x, v3->x, s), catmull(v0->y, v1->y, v2->y, v3->y, s),
            catmull(v0->z, v1->z, v2->z, v3->z, s), catmull(v0->w, v1->w, v2->w, v3->w, s)};
    return out;
}
