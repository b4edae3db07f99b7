// D3DX maths: vectors, matrices, quaternions and colours with D3DX's conventions (row vectors
// multiplied from the left, left-handed view and projection matrices) and the functions the
// engine calls. Plain float code, no SIMD; results match D3DX up to rounding.
#pragma once

#include "port/d3d9/d3d9.h"

#include <cmath>

#define D3DX_PI 3.141592654f
#define D3DX_1BYPI 0.318309886f
#define D3DXToRadian(degree) ((degree) * (D3DX_PI / 180.0f))
#define D3DXToDegree(radian) ((radian) * (180.0f / D3DX_PI))

struct D3DXMATRIX;

struct D3DXVECTOR2 {
    FLOAT x = 0.0f;
    FLOAT y = 0.0f;

    D3DXVECTOR2() = default;
    D3DXVECTOR2(FLOAT fx, FLOAT fy) : x(fx), y(fy) {}
    explicit D3DXVECTOR2(FLOAT const* f) : x(f[0]), y(f[1]) {}

    operator FLOAT*() { return &x; }
    operator FLOAT const*() const { return &x; }

    D3DXVECTOR2& operator+=(D3DXVECTOR2 const& v) { x += v.x; y += v.y; return *this; }
    D3DXVECTOR2& operator-=(D3DXVECTOR2 const& v) { x -= v.x; y -= v.y; return *this; }
    D3DXVECTOR2& operator*=(FLOAT f) { x *= f; y *= f; return *this; }
    D3DXVECTOR2& operator/=(FLOAT f) { FLOAT inv = 1.0f / f; x *= inv; y *= inv; return *this; }
    D3DXVECTOR2 operator+() const { return *this; }
    D3DXVECTOR2 operator-() const { return {-x, -y}; }
    D3DXVECTOR2 operator+(D3DXVECTOR2 const& v) const { return {x + v.x, y + v.y}; }
    D3DXVECTOR2 operator-(D3DXVECTOR2 const& v) const { return {x - v.x, y - v.y}; }
    D3DXVECTOR2 operator*(FLOAT f) const { return {x * f, y * f}; }
    D3DXVECTOR2 operator/(FLOAT f) const { FLOAT inv = 1.0f / f; return {x * inv, y * inv}; }
    friend D3DXVECTOR2 operator*(FLOAT f, D3DXVECTOR2 const& v) { return {f * v.x, f * v.y}; }
    bool operator==(D3DXVECTOR2 const& v) const { return x == v.x && y == v.y; }
    bool operator!=(D3DXVECTOR2 const& v) const { return !(*this == v); }
};

struct D3DXVECTOR3 : public D3DVECTOR {
    D3DXVECTOR3() { x = y = z = 0.0f; }
    D3DXVECTOR3(FLOAT fx, FLOAT fy, FLOAT fz) { x = fx; y = fy; z = fz; }
    D3DXVECTOR3(D3DVECTOR const& v) { x = v.x; y = v.y; z = v.z; }
    explicit D3DXVECTOR3(FLOAT const* f) { x = f[0]; y = f[1]; z = f[2]; }

    operator FLOAT*() { return &x; }
    operator FLOAT const*() const { return &x; }

    D3DXVECTOR3& operator+=(D3DXVECTOR3 const& v) { x += v.x; y += v.y; z += v.z; return *this; }
    D3DXVECTOR3& operator-=(D3DXVECTOR3 const& v) { x -= v.x; y -= v.y; z -= v.z; return *this; }
    D3DXVECTOR3& operator*=(FLOAT f) { x *= f; y *= f; z *= f; return *this; }
    D3DXVECTOR3& operator/=(FLOAT f) { FLOAT inv = 1.0f / f; x *= inv; y *= inv; z *= inv; return *this; }
    D3DXVECTOR3 operator+() const { return *this; }
    D3DXVECTOR3 operator-() const { return {-x, -y, -z}; }
    D3DXVECTOR3 operator+(D3DXVECTOR3 const& v) const { return {x + v.x, y + v.y, z + v.z}; }
    D3DXVECTOR3 operator-(D3DXVECTOR3 const& v) const { return {x - v.x, y - v.y, z - v.z}; }
    D3DXVECTOR3 operator*(FLOAT f) const { return {x * f, y * f, z * f}; }
    D3DXVECTOR3 operator/(FLOAT f) const { FLOAT inv = 1.0f / f; return {x * inv, y * inv, z * inv}; }
    friend D3DXVECTOR3 operator*(FLOAT f, D3DXVECTOR3 const& v) { return {f * v.x, f * v.y, f * v.z}; }
    bool operator==(D3DXVECTOR3 const& v) const { return x == v.x && y == v.y && z == v.z; }
    bool operator!=(D3DXVECTOR3 const& v) const { return !(*this == v); }
};

struct D3DXVECTOR4 {
    FLOAT x = 0.0f;
    FLOAT y = 0.0f;
    FLOAT z = 0.0f;
    FLOAT w = 0.0f;

    D3DXVECTOR4() = default;
    D3DXVECTOR4(FLOAT fx, FLOAT fy, FLOAT fz, FLOAT fw) : x(fx), y(fy), z(fz), w(fw) {}
    D3DXVECTOR4(D3DVECTOR const& v, FLOAT fw) : x(v.x), y(v.y), z(v.z), w(fw) {}
    explicit D3DXVECTOR4(FLOAT const* f) : x(f[0]), y(f[1]), z(f[2]), w(f[3]) {}

    operator FLOAT*() { return &x; }
    operator FLOAT const*() const { return &x; }

    D3DXVECTOR4& operator+=(D3DXVECTOR4 const& v) { x += v.x; y += v.y; z += v.z; w += v.w; return *this; }
    D3DXVECTOR4& operator-=(D3DXVECTOR4 const& v) { x -= v.x; y -= v.y; z -= v.z; w -= v.w; return *this; }
    D3DXVECTOR4& operator*=(FLOAT f) { x *= f; y *= f; z *= f; w *= f; return *this; }
    D3DXVECTOR4& operator/=(FLOAT f) { FLOAT inv = 1.0f / f; x *= inv; y *= inv; z *= inv; w *= inv; return *this; }
    D3DXVECTOR4 operator+() const { return *this; }
    D3DXVECTOR4 operator-() const { return {-x, -y, -z, -w}; }
    D3DXVECTOR4 operator+(D3DXVECTOR4 const& v) const { return {x + v.x, y + v.y, z + v.z, w + v.w}; }
    D3DXVECTOR4 operator-(D3DXVECTOR4 const& v) const { return {x - v.x, y - v.y, z - v.z, w - v.w}; }
    D3DXVECTOR4 operator*(FLOAT f) const { return {x * f, y * f, z * f, w * f}; }
    D3DXVECTOR4 operator/(FLOAT f) const { FLOAT inv = 1.0f / f; return {x * inv, y * inv, z * inv, w * inv}; }
    friend D3DXVECTOR4 operator*(FLOAT f, D3DXVECTOR4 const& v) { return v * f; }
    bool operator==(D3DXVECTOR4 const& v) const { return x == v.x && y == v.y && z == v.z && w == v.w; }
    bool operator!=(D3DXVECTOR4 const& v) const { return !(*this == v); }
};

struct D3DXMATRIX : public D3DMATRIX {
    D3DXMATRIX() {
        for (auto& row : m)
            for (auto& v : row) v = 0.0f;
    }
    D3DXMATRIX(D3DMATRIX const& mat) : D3DMATRIX(mat) {}
    explicit D3DXMATRIX(FLOAT const* f) {
        for (int i = 0; i < 16; ++i) m[i / 4][i % 4] = f[i];
    }
    D3DXMATRIX(FLOAT f11, FLOAT f12, FLOAT f13, FLOAT f14, FLOAT f21, FLOAT f22, FLOAT f23, FLOAT f24,
               FLOAT f31, FLOAT f32, FLOAT f33, FLOAT f34, FLOAT f41, FLOAT f42, FLOAT f43, FLOAT f44) {
        _11 = f11; _12 = f12; _13 = f13; _14 = f14;
        _21 = f21; _22 = f22; _23 = f23; _24 = f24;
        _31 = f31; _32 = f32; _33 = f33; _34 = f34;
        _41 = f41; _42 = f42; _43 = f43; _44 = f44;
    }

    FLOAT& operator()(UINT row, UINT col) { return m[row][col]; }
    FLOAT operator()(UINT row, UINT col) const { return m[row][col]; }
    operator FLOAT*() { return &_11; }
    operator FLOAT const*() const { return &_11; }

    D3DXMATRIX& operator*=(D3DXMATRIX const& mat);
    D3DXMATRIX& operator+=(D3DXMATRIX const& mat);
    D3DXMATRIX& operator-=(D3DXMATRIX const& mat);
    D3DXMATRIX& operator*=(FLOAT f);
    D3DXMATRIX& operator/=(FLOAT f);
    D3DXMATRIX operator+() const { return *this; }
    D3DXMATRIX operator-() const;
    D3DXMATRIX operator*(D3DXMATRIX const& mat) const;
    D3DXMATRIX operator+(D3DXMATRIX const& mat) const;
    D3DXMATRIX operator-(D3DXMATRIX const& mat) const;
    D3DXMATRIX operator*(FLOAT f) const;
    D3DXMATRIX operator/(FLOAT f) const;
    friend D3DXMATRIX operator*(FLOAT f, D3DXMATRIX const& mat) { return mat * f; }
    bool operator==(D3DXMATRIX const& mat) const;
    bool operator!=(D3DXMATRIX const& mat) const { return !(*this == mat); }
};
typedef D3DXMATRIX D3DXMATRIXA16;

struct D3DXQUATERNION {
    FLOAT x = 0.0f;
    FLOAT y = 0.0f;
    FLOAT z = 0.0f;
    FLOAT w = 0.0f;

    D3DXQUATERNION() = default;
    D3DXQUATERNION(FLOAT fx, FLOAT fy, FLOAT fz, FLOAT fw) : x(fx), y(fy), z(fz), w(fw) {}
    explicit D3DXQUATERNION(FLOAT const* f) : x(f[0]), y(f[1]), z(f[2]), w(f[3]) {}

    operator FLOAT*() { return &x; }
    operator FLOAT const*() const { return &x; }

    D3DXQUATERNION& operator+=(D3DXQUATERNION const& q) { x += q.x; y += q.y; z += q.z; w += q.w; return *this; }
    D3DXQUATERNION& operator-=(D3DXQUATERNION const& q) { x -= q.x; y -= q.y; z -= q.z; w -= q.w; return *this; }
    D3DXQUATERNION& operator*=(FLOAT f) { x *= f; y *= f; z *= f; w *= f; return *this; }
    D3DXQUATERNION& operator/=(FLOAT f) { FLOAT inv = 1.0f / f; return *this *= inv; }
    D3DXQUATERNION operator+() const { return *this; }
    D3DXQUATERNION operator-() const { return {-x, -y, -z, -w}; }
    D3DXQUATERNION operator+(D3DXQUATERNION const& q) const { return {x + q.x, y + q.y, z + q.z, w + q.w}; }
    D3DXQUATERNION operator-(D3DXQUATERNION const& q) const { return {x - q.x, y - q.y, z - q.z, w - q.w}; }
    D3DXQUATERNION operator*(FLOAT f) const { return {x * f, y * f, z * f, w * f}; }
    D3DXQUATERNION operator/(FLOAT f) const { FLOAT inv = 1.0f / f; return *this * inv; }
    friend D3DXQUATERNION operator*(FLOAT f, D3DXQUATERNION const& q) { return q * f; }
    bool operator==(D3DXQUATERNION const& q) const { return x == q.x && y == q.y && z == q.z && w == q.w; }
    bool operator!=(D3DXQUATERNION const& q) const { return !(*this == q); }
};

// A colour of four floats. Conversion to a packed D3DCOLOR clamps each channel to 0..1 and
// rounds (c * 255 + 0.5), as D3DX does; NaN packs as 0.
struct D3DXCOLOR {
    FLOAT r = 0.0f;
    FLOAT g = 0.0f;
    FLOAT b = 0.0f;
    FLOAT a = 0.0f;

    D3DXCOLOR() = default;
    D3DXCOLOR(DWORD argb)
        : r(((argb >> 16) & 0xFF) * (1.0f / 255.0f)),
          g(((argb >> 8) & 0xFF) * (1.0f / 255.0f)),
          b((argb & 0xFF) * (1.0f / 255.0f)),
          a(((argb >> 24) & 0xFF) * (1.0f / 255.0f)) {}
    D3DXCOLOR(FLOAT fr, FLOAT fg, FLOAT fb, FLOAT fa) : r(fr), g(fg), b(fb), a(fa) {}
    D3DXCOLOR(D3DCOLORVALUE const& c) : r(c.r), g(c.g), b(c.b), a(c.a) {}
    explicit D3DXCOLOR(FLOAT const* f) : r(f[0]), g(f[1]), b(f[2]), a(f[3]) {}

    operator DWORD() const {
        auto channel = [](FLOAT c) -> DWORD {
            return c >= 1.0f ? 0xFFu : !(c > 0.0f) ? 0x00u : static_cast<DWORD>(c * 255.0f + 0.5f);
        };
        return (channel(a) << 24) | (channel(r) << 16) | (channel(g) << 8) | channel(b);
    }
    operator FLOAT*() { return &r; }
    operator FLOAT const*() const { return &r; }
    operator D3DCOLORVALUE*() { return reinterpret_cast<D3DCOLORVALUE*>(&r); }
    operator D3DCOLORVALUE const*() const { return reinterpret_cast<D3DCOLORVALUE const*>(&r); }
    operator D3DCOLORVALUE&() { return *reinterpret_cast<D3DCOLORVALUE*>(&r); }
    operator D3DCOLORVALUE const&() const { return *reinterpret_cast<D3DCOLORVALUE const*>(&r); }

    D3DXCOLOR& operator+=(D3DXCOLOR const& c) { r += c.r; g += c.g; b += c.b; a += c.a; return *this; }
    D3DXCOLOR& operator-=(D3DXCOLOR const& c) { r -= c.r; g -= c.g; b -= c.b; a -= c.a; return *this; }
    D3DXCOLOR& operator*=(FLOAT f) { r *= f; g *= f; b *= f; a *= f; return *this; }
    D3DXCOLOR& operator/=(FLOAT f) { FLOAT inv = 1.0f / f; return *this *= inv; }
    D3DXCOLOR operator+() const { return *this; }
    D3DXCOLOR operator-() const { return {-r, -g, -b, -a}; }
    D3DXCOLOR operator+(D3DXCOLOR const& c) const { return {r + c.r, g + c.g, b + c.b, a + c.a}; }
    D3DXCOLOR operator-(D3DXCOLOR const& c) const { return {r - c.r, g - c.g, b - c.b, a - c.a}; }
    D3DXCOLOR operator*(FLOAT f) const { return {r * f, g * f, b * f, a * f}; }
    D3DXCOLOR operator/(FLOAT f) const { FLOAT inv = 1.0f / f; return *this * inv; }
    friend D3DXCOLOR operator*(FLOAT f, D3DXCOLOR const& c) { return c * f; }
    bool operator==(D3DXCOLOR const& c) const { return r == c.r && g == c.g && b == c.b && a == c.a; }
    bool operator!=(D3DXCOLOR const& c) const { return !(*this == c); }
};

// Only the functions the engine and game call are here.

// ---- 2D vectors ----
FLOAT D3DXVec2LengthSq(D3DXVECTOR2 const* v);
// A zero vector normalises to zero.
D3DXVECTOR2* D3DXVec2Normalize(D3DXVECTOR2* out, D3DXVECTOR2 const* v);
// (x, y, 0, 1) * m, divided by w (w = 0: not divided).
D3DXVECTOR2* D3DXVec2TransformCoord(D3DXVECTOR2* out, D3DXVECTOR2 const* v, D3DXMATRIX const* m);
// The array forms step through memory by the given strides in bytes.
D3DXVECTOR2* D3DXVec2TransformCoordArray(D3DXVECTOR2* out, UINT outStride, D3DXVECTOR2 const* v, UINT vStride,
                                         D3DXMATRIX const* m, UINT n);
// (x, y, 0, 0) * m.
D3DXVECTOR2* D3DXVec2TransformNormalArray(D3DXVECTOR2* out, UINT outStride, D3DXVECTOR2 const* v, UINT vStride,
                                          D3DXMATRIX const* m, UINT n);

// ---- 3D vectors ----
// 0.5 (2 v1 + (v2 - v0) s + (2 v0 - 5 v1 + 4 v2 - v3) s^2 + (3 v1 - v0 - 3 v2 + v3) s^3).
D3DXVECTOR3* D3DXVec3CatmullRom(D3DXVECTOR3* out, D3DXVECTOR3 const* v0, D3DXVECTOR3 const* v1,
                                D3DXVECTOR3 const* v2, D3DXVECTOR3 const* v3, FLOAT s);
// (x, y, z, 1) * m.
D3DXVECTOR4* D3DXVec3Transform(D3DXVECTOR4* out, D3DXVECTOR3 const* v, D3DXMATRIX const* m);
// (x, y, z, 1) * m, divided by w (w = 0: not divided).
D3DXVECTOR3* D3DXVec3TransformCoord(D3DXVECTOR3* out, D3DXVECTOR3 const* v, D3DXMATRIX const* m);
D3DXVECTOR3* D3DXVec3TransformCoordArray(D3DXVECTOR3* out, UINT outStride, D3DXVECTOR3 const* v, UINT vStride,
                                         D3DXMATRIX const* m, UINT n);

// ---- 4D vectors ----
D3DXVECTOR4* D3DXVec4CatmullRom(D3DXVECTOR4* out, D3DXVECTOR4 const* v0, D3DXVECTOR4 const* v1,
                                D3DXVECTOR4 const* v2, D3DXVECTOR4 const* v3, FLOAT s);

// ---- matrices ----
D3DXMATRIX* D3DXMatrixIdentity(D3DXMATRIX* out);
D3DXMATRIX* D3DXMatrixTranspose(D3DXMATRIX* out, D3DXMATRIX const* m);
// Null (and *out untouched) when m is singular; determinant may be null.
D3DXMATRIX* D3DXMatrixInverse(D3DXMATRIX* out, FLOAT* determinant, D3DXMATRIX const* m);
D3DXMATRIX* D3DXMatrixScaling(D3DXMATRIX* out, FLOAT sx, FLOAT sy, FLOAT sz);
D3DXMATRIX* D3DXMatrixRotationZ(D3DXMATRIX* out, FLOAT angle);
// Msc^-1 * Msr^-1 * Ms * Msr * Msc * Mrc^-1 * Mr * Mrc * Mt; null arguments are identity parts.
D3DXMATRIX* D3DXMatrixTransformation(D3DXMATRIX* out, D3DXVECTOR3 const* scalingCenter,
                                     D3DXQUATERNION const* scalingRotation, D3DXVECTOR3 const* scaling,
                                     D3DXVECTOR3 const* rotationCenter, D3DXQUATERNION const* rotation,
                                     D3DXVECTOR3 const* translation);
// The same in the xy plane, with angles in radians about z.
D3DXMATRIX* D3DXMatrixTransformation2D(D3DXMATRIX* out, D3DXVECTOR2 const* scalingCenter, FLOAT scalingRotation,
                                       D3DXVECTOR2 const* scaling, D3DXVECTOR2 const* rotationCenter, FLOAT rotation,
                                       D3DXVECTOR2 const* translation);
D3DXMATRIX* D3DXMatrixLookAtLH(D3DXMATRIX* out, D3DXVECTOR3 const* eye, D3DXVECTOR3 const* at, D3DXVECTOR3 const* up);
D3DXMATRIX* D3DXMatrixPerspectiveFovLH(D3DXMATRIX* out, FLOAT fovy, FLOAT aspect, FLOAT zn, FLOAT zf);
