// D3DX vector, quaternion, plane and colour functions (row-vector conventions).
#include "port/d3dx9/d3dx9math.h"

#include <algorithm>
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

// Weights of the Hermite and Catmull-Rom splines.
struct HermiteWeights {
    float h1, h2, h3, h4;
};
HermiteWeights hermite(float s) {
    float s2 = s * s, s3 = s2 * s;
    return {2.0f * s3 - 3.0f * s2 + 1.0f, s3 - 2.0f * s2 + s, -2.0f * s3 + 3.0f * s2, s3 - s2};
}
// 0.5 * (2 p1 + (p2 - p0) s + (2 p0 - 5 p1 + 4 p2 - p3) s^2 + (3 p1 - p0 - 3 p2 + p3) s^3).
float catmull(float p0, float p1, float p2, float p3, float s) {
    float s2 = s * s, s3 = s2 * s;
    return 0.5f * (2.0f * p1 + (p2 - p0) * s + (2.0f * p0 - 5.0f * p1 + 4.0f * p2 - p3) * s2 +
                   (3.0f * p1 - p0 - 3.0f * p2 + p3) * s3);
}

}  // namespace

// ---- 2D ----
FLOAT D3DXVec2Length(D3DXVECTOR2 const* v) { return std::sqrt(v->x * v->x + v->y * v->y); }
FLOAT D3DXVec2LengthSq(D3DXVECTOR2 const* v) { return v->x * v->x + v->y * v->y; }
FLOAT D3DXVec2Dot(D3DXVECTOR2 const* a, D3DXVECTOR2 const* b) { return a->x * b->x + a->y * b->y; }
FLOAT D3DXVec2CCW(D3DXVECTOR2 const* a, D3DXVECTOR2 const* b) { return a->x * b->y - a->y * b->x; }
D3DXVECTOR2* D3DXVec2Add(D3DXVECTOR2* out, D3DXVECTOR2 const* a, D3DXVECTOR2 const* b) {
    *out = *a + *b;
    return out;
}
D3DXVECTOR2* D3DXVec2Subtract(D3DXVECTOR2* out, D3DXVECTOR2 const* a, D3DXVECTOR2 const* b) {
    *out = *a - *b;
    return out;
}
D3DXVECTOR2* D3DXVec2Minimize(D3DXVECTOR2* out, D3DXVECTOR2 const* a, D3DXVECTOR2 const* b) {
    *out = {std::min(a->x, b->x), std::min(a->y, b->y)};
    return out;
}
D3DXVECTOR2* D3DXVec2Maximize(D3DXVECTOR2* out, D3DXVECTOR2 const* a, D3DXVECTOR2 const* b) {
    *out = {std::max(a->x, b->x), std::max(a->y, b->y)};
    return out;
}
D3DXVECTOR2* D3DXVec2Scale(D3DXVECTOR2* out, D3DXVECTOR2 const* v, FLOAT s) {
    *out = *v * s;
    return out;
}
D3DXVECTOR2* D3DXVec2Lerp(D3DXVECTOR2* out, D3DXVECTOR2 const* a, D3DXVECTOR2 const* b, FLOAT s) {
    *out = {a->x + s * (b->x - a->x), a->y + s * (b->y - a->y)};
    return out;
}
D3DXVECTOR2* D3DXVec2Normalize(D3DXVECTOR2* out, D3DXVECTOR2 const* v) {
    FLOAT len = D3DXVec2Length(v);
    *out = len > 0.0f ? D3DXVECTOR2(v->x / len, v->y / len) : D3DXVECTOR2(0.0f, 0.0f);
    return out;
}
D3DXVECTOR2* D3DXVec2Hermite(D3DXVECTOR2* out, D3DXVECTOR2 const* v1, D3DXVECTOR2 const* t1,
                             D3DXVECTOR2 const* v2, D3DXVECTOR2 const* t2, FLOAT s) {
    HermiteWeights h = hermite(s);
    *out = *v1 * h.h1 + *t1 * h.h2 + *v2 * h.h3 + *t2 * h.h4;
    return out;
}
D3DXVECTOR2* D3DXVec2CatmullRom(D3DXVECTOR2* out, D3DXVECTOR2 const* v0, D3DXVECTOR2 const* v1,
                                D3DXVECTOR2 const* v2, D3DXVECTOR2 const* v3, FLOAT s) {
    *out = {catmull(v0->x, v1->x, v2->x, v3->x, s), catmull(v0->y, v1->y, v2->y, v3->y, s)};
    return out;
}
D3DXVECTOR2* D3DXVec2BaryCentric(D3DXVECTOR2* out, D3DXVECTOR2 const* v1, D3DXVECTOR2 const* v2,
                                 D3DXVECTOR2 const* v3, FLOAT f, FLOAT g) {
    *out = *v1 + (*v2 - *v1) * f + (*v3 - *v1) * g;
    return out;
}
D3DXVECTOR4* D3DXVec2Transform(D3DXVECTOR4* out, D3DXVECTOR2 const* v, D3DXMATRIX const* m) {
    D3DXVECTOR4 r(v->x * m->_11 + v->y * m->_21 + m->_41, v->x * m->_12 + v->y * m->_22 + m->_42,
                  v->x * m->_13 + v->y * m->_23 + m->_43, v->x * m->_14 + v->y * m->_24 + m->_44);
    *out = r;
    return out;
}
D3DXVECTOR2* D3DXVec2TransformCoord(D3DXVECTOR2* out, D3DXVECTOR2 const* v, D3DXMATRIX const* m) {
    D3DXVECTOR4 r;
    D3DXVec2Transform(&r, v, m);
    FLOAT inv = r.w != 0.0f ? 1.0f / r.w : 1.0f;
    *out = {r.x * inv, r.y * inv};
    return out;
}
D3DXVECTOR2* D3DXVec2TransformNormal(D3DXVECTOR2* out, D3DXVECTOR2 const* v, D3DXMATRIX const* m) {
    D3DXVECTOR2 r(v->x * m->_11 + v->y * m->_21, v->x * m->_12 + v->y * m->_22);
    *out = r;
    return out;
}
D3DXVECTOR4* D3DXVec2TransformArray(D3DXVECTOR4* out, UINT outStride, D3DXVECTOR2 const* v, UINT vStride,
                                    D3DXMATRIX const* m, UINT n) {
    for (UINT i = 0; i < n; ++i) D3DXVec2Transform(strided(out, outStride, i), strided(v, vStride, i), m);
    return out;
}
D3DXVECTOR2* D3DXVec2TransformCoordArray(D3DXVECTOR2* out, UINT outStride, D3DXVECTOR2 const* v, UINT vStride,
                                         D3DXMATRIX const* m, UINT n) {
    for (UINT i = 0; i < n; ++i) D3DXVec2TransformCoord(strided(out, outStride, i), strided(v, vStride, i), m);
    return out;
}
D3DXVECTOR2* D3DXVec2TransformNormalArray(D3DXVECTOR2* out, UINT outStride, D3DXVECTOR2 const* v, UINT vStride,
                                          D3DXMATRIX const* m, UINT n) {
    for (UINT i = 0; i < n; ++i) D3DXVec2TransformNormal(strided(out, outStride, i), strided(v, vStride, i), m);
    return out;
}

// ---- 3D ----
FLOAT D3DXVec3Length(D3DXVECTOR3 const* v) { return std::sqrt(D3DXVec3LengthSq(v)); }
FLOAT D3DXVec3LengthSq(D3DXVECTOR3 const* v) { return v->x * v->x + v->y * v->y + v->z * v->z; }
FLOAT D3DXVec3Dot(D3DXVECTOR3 const* a, D3DXVECTOR3 const* b) { return a->x * b->x + a->y * b->y + a->z * b->z; }
D3DXVECTOR3* D3DXVec3Cross(D3DXVECTOR3* out, D3DXVECTOR3 const* a, D3DXVECTOR3 const* b) {
    D3DXVECTOR3 r(a->y * b->z - a->z * b->y, a->z * b->x - a->x * b->z, a->x * b->y - a->y * b->x);
    *out = r;
    return out;
}
D3DXVECTOR3* D3DXVec3Add(D3DXVECTOR3* out, D3DXVECTOR3 const* a, D3DXVECTOR3 const* b) {
    *out = *a + *b;
    return out;
}
D3DXVECTOR3* D3DXVec3Subtract(D3DXVECTOR3* out, D3DXVECTOR3 const* a, D3DXVECTOR3 const* b) {
    *out = *a - *b;
    return out;
}
D3DXVECTOR3* D3DXVec3Minimize(D3DXVECTOR3* out, D3DXVECTOR3 const* a, D3DXVECTOR3 const* b) {
    *out = {std::min(a->x, b->x), std::min(a->y, b->y), std::min(a->z, b->z)};
    return out;
}
D3DXVECTOR3* D3DXVec3Maximize(D3DXVECTOR3* out, D3DXVECTOR3 const* a, D3DXVECTOR3 const* b) {
    *out = {std::max(a->x, b->x), std::max(a->y, b->y), std::max(a->z, b->z)};
    return out;
}
D3DXVECTOR3* D3DXVec3Scale(D3DXVECTOR3* out, D3DXVECTOR3 const* v, FLOAT s) {
    *out = *v * s;
    return out;
}
D3DXVECTOR3* D3DXVec3Lerp(D3DXVECTOR3* out, D3DXVECTOR3 const* a, D3DXVECTOR3 const* b, FLOAT s) {
    *out = {a->x + s * (b->x - a->x), a->y + s * (b->y - a->y), a->z + s * (b->z - a->z)};
    return out;
}
D3DXVECTOR3* D3DXVec3Normalize(D3DXVECTOR3* out, D3DXVECTOR3 const* v) {
    FLOAT len = D3DXVec3Length(v);
    *out = len > 0.0f ? D3DXVECTOR3(v->x / len, v->y / len, v->z / len) : D3DXVECTOR3(0.0f, 0.0f, 0.0f);
    return out;
}
D3DXVECTOR3* D3DXVec3Hermite(D3DXVECTOR3* out, D3DXVECTOR3 const* v1, D3DXVECTOR3 const* t1,
                             D3DXVECTOR3 const* v2, D3DXVECTOR3 const* t2, FLOAT s) {
    HermiteWeights h = hermite(s);
    *out = *v1 * h.h1 + *t1 * h.h2 + *v2 * h.h3 + *t2 * h.h4;
    return out;
}
D3DXVECTOR3* D3DXVec3CatmullRom(D3DXVECTOR3* out, D3DXVECTOR3 const* v0, D3DXVECTOR3 const* v1,
                                D3DXVECTOR3 const* v2, D3DXVECTOR3 const* v3, FLOAT s) {
    *out = {catmull(v0->x, v1->x, v2->x, v3->x, s), catmull(v0->y, v1->y, v2->y, v3->y, s),
            catmull(v0->z, v1->z, v2->z, v3->z, s)};
    return out;
}
D3DXVECTOR3* D3DXVec3BaryCentric(D3DXVECTOR3* out, D3DXVECTOR3 const* v1, D3DXVECTOR3 const* v2,
                                 D3DXVECTOR3 const* v3, FLOAT f, FLOAT g) {
    *out = *v1 + (*v2 - *v1) * f + (*v3 - *v1) * g;
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
D3DXVECTOR3* D3DXVec3TransformNormal(D3DXVECTOR3* out, D3DXVECTOR3 const* v, D3DXMATRIX const* m) {
    D3DXVECTOR3 r(v->x * m->_11 + v->y * m->_21 + v->z * m->_31, v->x * m->_12 + v->y * m->_22 + v->z * m->_32,
                  v->x * m->_13 + v->y * m->_23 + v->z * m->_33);
    *out = r;
    return out;
}
D3DXVECTOR4* D3DXVec3TransformArray(D3DXVECTOR4* out, UINT outStride, D3DXVECTOR3 const* v, UINT vStride,
                                    D3DXMATRIX const* m, UINT n) {
    for (UINT i = 0; i < n; ++i) D3DXVec3Transform(strided(out, outStride, i), strided(v, vStride, i), m);
    return out;
}
D3DXVECTOR3* D3DXVec3TransformCoordArray(D3DXVECTOR3* out, UINT outStride, D3DXVECTOR3 const* v, UINT vStride,
                                         D3DXMATRIX const* m, UINT n) {
    for (UINT i = 0; i < n; ++i) D3DXVec3TransformCoord(strided(out, outStride, i), strided(v, vStride, i), m);
    return out;
}
D3DXVECTOR3* D3DXVec3TransformNormalArray(D3DXVECTOR3* out, UINT outStride, D3DXVECTOR3 const* v, UINT vStride,
                                          D3DXMATRIX const* m, UINT n) {
    for (UINT i = 0; i < n; ++i) D3DXVec3TransformNormal(strided(out, outStride, i), strided(v, vStride, i), m);
    return out;
}

namespace {
D3DXMATRIX worldViewProjection(D3DXMATRIX const* projection, D3DXMATRIX const* view, D3DXMATRIX const* world) {
    D3DXMATRIX m;
    D3DXMatrixIdentity(&m);
    if (world) m = *world;
    if (view) m = m * *view;
    if (projection) m = m * *projection;
    return m;
}
}  // namespace

D3DXVECTOR3* D3DXVec3Project(D3DXVECTOR3* out, D3DXVECTOR3 const* v, D3DVIEWPORT9 const* viewport,
                             D3DXMATRIX const* projection, D3DXMATRIX const* view, D3DXMATRIX const* world) {
    D3DXMATRIX m = worldViewProjection(projection, view, world);
    D3DXVECTOR3 clip;
    D3DXVec3TransformCoord(&clip, v, &m);
    if (viewport) {
        clip.x = viewport->X + (1.0f + clip.x) * viewport->Width * 0.5f;
        clip.y = viewport->Y + (1.0f - clip.y) * viewport->Height * 0.5f;
        clip.z = viewport->MinZ + clip.z * (viewport->MaxZ - viewport->MinZ);
    }
    *out = clip;
    return out;
}

D3DXVECTOR3* D3DXVec3Unproject(D3DXVECTOR3* out, D3DXVECTOR3 const* v, D3DVIEWPORT9 const* viewport,
                               D3DXMATRIX const* projection, D3DXMATRIX const* view, D3DXMATRIX const* world) {
    D3DXMATRIX m = worldViewProjection(projection, view, world);
    D3DXMATRIX inv;
    if (!D3DXMatrixInverse(&inv, nullptr, &m)) return nullptr;
    D3DXVECTOR3 ndc = *v;
    if (viewport) {
        ndc.x = 2.0f * (v->x - viewport->X) / viewport->Width - 1.0f;
        ndc.y = 1.0f - 2.0f * (v->y - viewport->Y) / viewport->Height;
        FLOAT depth = viewport->MaxZ - viewport->MinZ;
        ndc.z = depth != 0.0f ? (v->z - viewport->MinZ) / depth : 0.0f;
    }
    D3DXVec3TransformCoord(out, &ndc, &inv);
    return out;
}

// ---- 4D ----
FLOAT D3DXVec4Length(D3DXVECTOR4 const* v) { return std::sqrt(D3DXVec4LengthSq(v)); }
FLOAT D3DXVec4LengthSq(D3DXVECTOR4 const* v) { return D3DXVec4Dot(v, v); }
FLOAT D3DXVec4Dot(D3DXVECTOR4 const* a, D3DXVECTOR4 const* b) {
    return a->x * b->x + a->y * b->y + a->z * b->z + a->w * b->w;
}
D3DXVECTOR4* D3DXVec4Add(D3DXVECTOR4* out, D3DXVECTOR4 const* a, D3DXVECTOR4 const* b) {
    *out = *a + *b;
    return out;
}
D3DXVECTOR4* D3DXVec4Subtract(D3DXVECTOR4* out, D3DXVECTOR4 const* a, D3DXVECTOR4 const* b) {
    *out = *a - *b;
    return out;
}
D3DXVECTOR4* D3DXVec4Minimize(D3DXVECTOR4* out, D3DXVECTOR4 const* a, D3DXVECTOR4 const* b) {
    *out = {std::min(a->x, b->x), std::min(a->y, b->y), std::min(a->z, b->z), std::min(a->w, b->w)};
    return out;
}
D3DXVECTOR4* D3DXVec4Maximize(D3DXVECTOR4* out, D3DXVECTOR4 const* a, D3DXVECTOR4 const* b) {
    *out = {std::max(a->x, b->x), std::max(a->y, b->y), std::max(a->z, b->z), std::max(a->w, b->w)};
    return out;
}
D3DXVECTOR4* D3DXVec4Scale(D3DXVECTOR4* out, D3DXVECTOR4 const* v, FLOAT s) {
    *out = *v * s;
    return out;
}
D3DXVECTOR4* D3DXVec4Lerp(D3DXVECTOR4* out, D3DXVECTOR4 const* a, D3DXVECTOR4 const* b, FLOAT s) {
    *out = *a + (*b - *a) * s;
    return out;
}
D3DXVECTOR4* D3DXVec4Normalize(D3DXVECTOR4* out, D3DXVECTOR4 const* v) {
    FLOAT len = D3DXVec4Length(v);
    *out = len > 0.0f ? *v / len : D3DXVECTOR4(0.0f, 0.0f, 0.0f, 0.0f);
    return out;
}
D3DXVECTOR4* D3DXVec4Cross(D3DXVECTOR4* out, D3DXVECTOR4 const* u, D3DXVECTOR4 const* v, D3DXVECTOR4 const* w) {
    FLOAT a = v->x * w->y - v->y * w->x;
    FLOAT b = v->x * w->z - v->z * w->x;
    FLOAT c = v->x * w->w - v->w * w->x;
    FLOAT d = v->y * w->z - v->z * w->y;
    FLOAT e = v->y * w->w - v->w * w->y;
    FLOAT f = v->z * w->w - v->w * w->z;
    D3DXVECTOR4 r(u->y * f - u->z * e + u->w * d, -(u->x * f) + u->z * c - u->w * b,
                  u->x * e - u->y * c + u->w * a, -(u->x * d) + u->y * b - u->z * a);
    *out = r;
    return out;
}
D3DXVECTOR4* D3DXVec4Hermite(D3DXVECTOR4* out, D3DXVECTOR4 const* v1, D3DXVECTOR4 const* t1,
                             D3DXVECTOR4 const* v2, D3DXVECTOR4 const* t2, FLOAT s) {
    HermiteWeights h = hermite(s);
    *out = *v1 * h.h1 + *t1 * h.h2 + *v2 * h.h3 + *t2 * h.h4;
    return out;
}
D3DXVECTOR4* D3DXVec4CatmullRom(D3DXVECTOR4* out, D3DXVECTOR4 const* v0, D3DXVECTOR4 const* v1,
                                D3DXVECTOR4 const* v2, D3DXVECTOR4 const* v3, FLOAT s) {
    *out = {catmull(v0->x, v1->x, v2->x, v3->x, s), catmull(v0->y, v1->y, v2->y, v3->y, s),
            catmull(v0->z, v1->z, v2->z, v3->z, s), catmull(v0->w, v1->w, v2->w, v3->w, s)};
    return out;
}
D3DXVECTOR4* D3DXVec4BaryCentric(D3DXVECTOR4* out, D3DXVECTOR4 const* v1, D3DXVECTOR4 const* v2,
                                 D3DXVECTOR4 const* v3, FLOAT f, FLOAT g) {
    *out = *v1 + (*v2 - *v1) * f + (*v3 - *v1) * g;
    return out;
}
D3DXVECTOR4* D3DXVec4Transform(D3DXVECTOR4* out, D3DXVECTOR4 const* v, D3DXMATRIX const* m) {
    D3DXVECTOR4 r(v->x * m->_11 + v->y * m->_21 + v->z * m->_31 + v->w * m->_41,
                  v->x * m->_12 + v->y * m->_22 + v->z * m->_32 + v->w * m->_42,
                  v->x * m->_13 + v->y * m->_23 + v->z * m->_33 + v->w * m->_43,
                  v->x * m->_14 + v->y * m->_24 + v->z * m->_34 + v->w * m->_44);
    *out = r;
    return out;
}
D3DXVECTOR4* D3DXVec4TransformArray(D3DXVECTOR4* out, UINT outStride, D3DXVECTOR4 const* v, UINT vStride,
                                    D3DXMATRIX const* m, UINT n) {
    for (UINT i = 0; i < n; ++i) D3DXVec4Transform(strided(out, outStride, i), strided(v, vStride, i), m);
    return out;
}

// ---- quaternions ----
D3DXQUATERNION D3DXQUATERNION::operator*(D3DXQUATERNION const& q) const {
    D3DXQUATERNION r;
    D3DXQuaternionMultiply(&r, this, &q);
    return r;
}
D3DXQUATERNION& D3DXQUATERNION::operator*=(D3DXQUATERNION const& q) {
    D3DXQuaternionMultiply(this, this, &q);
    return *this;
}
FLOAT D3DXQuaternionLength(D3DXQUATERNION const* q) { return std::sqrt(D3DXQuaternionLengthSq(q)); }
FLOAT D3DXQuaternionLengthSq(D3DXQUATERNION const* q) { return D3DXQuaternionDot(q, q); }
FLOAT D3DXQuaternionDot(D3DXQUATERNION const* a, D3DXQUATERNION const* b) {
    return a->x * b->x + a->y * b->y + a->z * b->z + a->w * b->w;
}
D3DXQUATERNION* D3DXQuaternionIdentity(D3DXQUATERNION* out) {
    *out = {0.0f, 0.0f, 0.0f, 1.0f};
    return out;
}
BOOL D3DXQuaternionIsIdentity(D3DXQUATERNION const* q) {
    return q->x == 0.0f && q->y == 0.0f && q->z == 0.0f && q->w == 1.0f;
}
D3DXQUATERNION* D3DXQuaternionConjugate(D3DXQUATERNION* out, D3DXQUATERNION const* q) {
    *out = {-q->x, -q->y, -q->z, q->w};
    return out;
}
D3DXQUATERNION* D3DXQuaternionNormalize(D3DXQUATERNION* out, D3DXQUATERNION const* q) {
    FLOAT len = D3DXQuaternionLength(q);
    *out = len > 0.0f ? *q / len : D3DXQUATERNION(0.0f, 0.0f, 0.0f, 0.0f);
    return out;
}
D3DXQUATERNION* D3DXQuaternionInverse(D3DXQUATERNION* out, D3DXQUATERNION const* q) {
    FLOAT n = D3DXQuaternionLengthSq(q);
    if (n == 0.0f) {
        *out = {0.0f, 0.0f, 0.0f, 0.0f};
        return out;
    }
    *out = D3DXQUATERNION(-q->x, -q->y, -q->z, q->w) / n;
    return out;
}
D3DXQUATERNION* D3DXQuaternionMultiply(D3DXQUATERNION* out, D3DXQUATERNION const* a, D3DXQUATERNION const* b) {
    // b (x) a in Hamilton's product: a is applied first.
    D3DXQUATERNION r(b->w * a->x + b->x * a->w + b->y * a->z - b->z * a->y,
                     b->w * a->y - b->x * a->z + b->y * a->w + b->z * a->x,
                     b->w * a->z + b->x * a->y - b->y * a->x + b->z * a->w,
                     b->w * a->w - b->x * a->x - b->y * a->y - b->z * a->z);
    *out = r;
    return out;
}
D3DXQUATERNION* D3DXQuaternionRotationAxis(D3DXQUATERNION* out, D3DXVECTOR3 const* axis, FLOAT angle) {
    D3DXVECTOR3 n;
    D3DXVec3Normalize(&n, axis);
    FLOAT s = std::sin(angle * 0.5f);
    *out = {n.x * s, n.y * s, n.z * s, std::cos(angle * 0.5f)};
    return out;
}
D3DXQUATERNION* D3DXQuaternionRotationMatrix(D3DXQUATERNION* out, D3DXMATRIX const* m) {
    FLOAT trace = m->_11 + m->_22 + m->_33;
    D3DXQUATERNION q;
    if (trace > 0.0f) {
        FLOAT s = std::sqrt(trace + 1.0f) * 2.0f;
        q = {(m->_23 - m->_32) / s, (m->_31 - m->_13) / s, (m->_12 - m->_21) / s, 0.25f * s};
    } else if (m->_11 > m->_22 && m->_11 > m->_33) {
        FLOAT s = std::sqrt(1.0f + m->_11 - m->_22 - m->_33) * 2.0f;
        q = {0.25f * s, (m->_12 + m->_21) / s, (m->_31 + m->_13) / s, (m->_23 - m->_32) / s};
    } else if (m->_22 > m->_33) {
        FLOAT s = std::sqrt(1.0f + m->_22 - m->_11 - m->_33) * 2.0f;
        q = {(m->_12 + m->_21) / s, 0.25f * s, (m->_23 + m->_32) / s, (m->_31 - m->_13) / s};
    } else {
        FLOAT s = std::sqrt(1.0f + m->_33 - m->_11 - m->_22) * 2.0f;
        q = {(m->_31 + m->_13) / s, (m->_23 + m->_32) / s, 0.25f * s, (m->_12 - m->_21) / s};
    }
    *out = q;
    return out;
}
D3DXQUATERNION* D3DXQuaternionRotationYawPitchRoll(D3DXQUATERNION* out, FLOAT yaw, FLOAT pitch, FLOAT roll) {
    D3DXMATRIX m;
    D3DXMatrixRotationYawPitchRoll(&m, yaw, pitch, roll);
    return D3DXQuaternionRotationMatrix(out, &m);
}
D3DXQUATERNION* D3DXQuaternionSlerp(D3DXQUATERNION* out, D3DXQUATERNION const* a, D3DXQUATERNION const* b, FLOAT t) {
    FLOAT cosine = D3DXQuaternionDot(a, b);
    FLOAT sign = 1.0f;
    if (cosine < 0.0f) {
        cosine = -cosine;
        sign = -1.0f;
    }
    FLOAT wa = 1.0f - t, wb = t;
    if (cosine < 0.9999f) {
        FLOAT theta = std::acos(cosine);
        FLOAT inv = 1.0f / std::sin(theta);
        wa = std::sin((1.0f - t) * theta) * inv;
        wb = std::sin(t * theta) * inv;
    }
    wb *= sign;
    *out = {wa * a->x + wb * b->x, wa * a->y + wb * b->y, wa * a->z + wb * b->z, wa * a->w + wb * b->w};
    return out;
}
void D3DXQuaternionToAxisAngle(D3DXQUATERNION const* q, D3DXVECTOR3* axis, FLOAT* angle) {
    if (axis) *axis = {q->x, q->y, q->z};
    if (angle) *angle = 2.0f * std::acos(std::clamp(q->w, -1.0f, 1.0f));
}

// ---- planes ----
FLOAT D3DXPlaneDot(D3DXPLANE const* p, D3DXVECTOR4 const* v) {
    return p->a * v->x + p->b * v->y + p->c * v->z + p->d * v->w;
}
FLOAT D3DXPlaneDotCoord(D3DXPLANE const* p, D3DXVECTOR3 const* v) {
    return p->a * v->x + p->b * v->y + p->c * v->z + p->d;
}
FLOAT D3DXPlaneDotNormal(D3DXPLANE const* p, D3DXVECTOR3 const* v) { return p->a * v->x + p->b * v->y + p->c * v->z; }
D3DXPLANE* D3DXPlaneNormalize(D3DXPLANE* out, D3DXPLANE const* p) {
    FLOAT len = std::sqrt(p->a * p->a + p->b * p->b + p->c * p->c);
    *out = len > 0.0f ? *p * (1.0f / len) : D3DXPLANE(0.0f, 0.0f, 0.0f, 0.0f);
    return out;
}
D3DXPLANE* D3DXPlaneFromPointNormal(D3DXPLANE* out, D3DXVECTOR3 const* point, D3DXVECTOR3 const* normal) {
    *out = {normal->x, normal->y, normal->z, -D3DXVec3Dot(point, normal)};
    return out;
}
D3DXPLANE* D3DXPlaneFromPoints(D3DXPLANE* out, D3DXVECTOR3 const* a, D3DXVECTOR3 const* b, D3DXVECTOR3 const* c) {
    D3DXVECTOR3 e1 = *b - *a, e2 = *c - *a, n;
    D3DXVec3Cross(&n, &e1, &e2);
    D3DXVec3Normalize(&n, &n);
    return D3DXPlaneFromPointNormal(out, a, &n);
}
D3DXVECTOR3* D3DXPlaneIntersectLine(D3DXVECTOR3* out, D3DXPLANE const* p, D3DXVECTOR3 const* a,
                                    D3DXVECTOR3 const* b) {
    D3DXVECTOR3 dir = *b - *a;
    FLOAT denom = D3DXPlaneDotNormal(p, &dir);
    if (denom == 0.0f) return nullptr;
    FLOAT t = -D3DXPlaneDotCoord(p, a) / denom;
    *out = *a + dir * t;
    return out;
}
D3DXPLANE* D3DXPlaneTransform(D3DXPLANE* out, D3DXPLANE const* p, D3DXMATRIX const* m) {
    D3DXVECTOR4 v(p->a, p->b, p->c, p->d);
    D3DXVec4Transform(&v, &v, m);
    *out = {v.x, v.y, v.z, v.w};
    return out;
}

// ---- colours ----
D3DXCOLOR* D3DXColorAdd(D3DXCOLOR* out, D3DXCOLOR const* a, D3DXCOLOR const* b) {
    *out = *a + *b;
    return out;
}
D3DXCOLOR* D3DXColorSubtract(D3DXCOLOR* out, D3DXCOLOR const* a, D3DXCOLOR const* b) {
    *out = *a - *b;
    return out;
}
D3DXCOLOR* D3DXColorScale(D3DXCOLOR* out, D3DXCOLOR const* c, FLOAT s) {
    *out = *c * s;
    return out;
}
D3DXCOLOR* D3DXColorModulate(D3DXCOLOR* out, D3DXCOLOR const* a, D3DXCOLOR const* b) {
    *out = {a->r * b->r, a->g * b->g, a->b * b->b, a->a * b->a};
    return out;
}
D3DXCOLOR* D3DXColorLerp(D3DXCOLOR* out, D3DXCOLOR const* a, D3DXCOLOR const* b, FLOAT s) {
    *out = *a + (*b - *a) * s;
    return out;
}
D3DXCOLOR* D3DXColorNegative(D3DXCOLOR* out, D3DXCOLOR const* c) {
    *out = {1.0f - c->r, 1.0f - c->g, 1.0f - c->b, c->a};
    return out;
}
D3DXCOLOR* D3DXColorAdjustSaturation(D3DXCOLOR* out, D3DXCOLOR const* c, FLOAT s) {
    FLOAT grey = c->r * 0.2125f + c->g * 0.7154f + c->b * 0.0721f;
    *out = {grey + s * (c->r - grey), grey + s * (c->g - grey), grey + s * (c->b - grey), c->a};
    return out;
}
D3DXCOLOR* D3DXColorAdjustContrast(D3DXCOLOR* out, D3DXCOLOR const* c, FLOAT s) {
    *out = {0.5f + s * (c->r - 0.5f), 0.5f + s * (c->g - 0.5f), 0.5f + s * (c->b - 0.5f), c->a};
    return out;
}
