// D3DX matrix functions: row vectors (v' = v * M), left-handed view and projection builders.
#include "port/d3dx9/d3dx9math.h"

#include <cmath>

namespace {

D3DXMATRIX identity() {
    D3DXMATRIX m;
    D3DXMatrixIdentity(&m);
    return m;
}

D3DXMATRIX product(D3DXMATRIX const& a, D3DXMATRIX const& b) {
    D3DXMATRIX r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j] + a.m[i][3] * b.m[3][j];
    return r;
}

D3DXMATRIX translation(FLOAT x, FLOAT y, FLOAT z) {
    D3DXMATRIX m = identity();
    m._41 = x;
    m._42 = y;
    m._43 = z;
    return m;
}

// The rotation of a quaternion (identity for null).
D3DXMATRIX rotationOf(D3DXQUATERNION const* q) {
    D3DXMATRIX m = identity();
    if (!q) return m;
    FLOAT x = q->x, y = q->y, z = q->z, w = q->w;
    m._11 = 1.0f - 2.0f * (y * y + z * z);
    m._12 = 2.0f * (x * y + z * w);
    m._13 = 2.0f * (x * z - y * w);
    m._21 = 2.0f * (x * y - z * w);
    m._22 = 1.0f - 2.0f * (x * x + z * z);
    m._23 = 2.0f * (y * z + x * w);
    m._31 = 2.0f * (x * z + y * w);
    m._32 = 2.0f * (y * z - x * w);
    m._33 = 1.0f - 2.0f * (x * x + y * y);
    return m;
}

// The inverse rotation: the conjugate over the squared length (zero for a zero quaternion).
D3DXQUATERNION inverseOf(D3DXQUATERNION const& q) {
    FLOAT n = q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w;
    if (n == 0.0f) return {0.0f, 0.0f, 0.0f, 0.0f};
    return D3DXQUATERNION(-q.x, -q.y, -q.z, q.w) / n;
}

D3DXVECTOR3 cross(D3DXVECTOR3 const& a, D3DXVECTOR3 const& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

FLOAT dot(D3DXVECTOR3 const& a, D3DXVECTOR3 const& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

D3DXVECTOR3 normalized(D3DXVECTOR3 const& v) {
    FLOAT len = std::sqrt(dot(v, v));
    return len > 0.0f ? v / len : D3DXVECTOR3();
}

}  // namespace

// ---- operators ----
D3DXMATRIX& D3DXMATRIX::operator*=(D3DXMATRIX const& mat) { return *this = product(*this, mat); }
D3DXMATRIX& D3DXMATRIX::operator+=(D3DXMATRIX const& mat) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) m[r][c] += mat.m[r][c];
    return *this;
}
D3DXMATRIX& D3DXMATRIX::operator-=(D3DXMATRIX const& mat) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) m[r][c] -= mat.m[r][c];
    return *this;
}
D3DXMATRIX& D3DXMATRIX::operator*=(FLOAT f) {
    for (auto& row : m)
        for (auto& v : row) v *= f;
    return *this;
}
D3DXMATRIX& D3DXMATRIX::operator/=(FLOAT f) { return *this *= 1.0f / f; }
D3DXMATRIX D3DXMATRIX::operator-() const { return *this * -1.0f; }
D3DXMATRIX D3DXMATRIX::operator*(D3DXMATRIX const& mat) const { return product(*this, mat); }
D3DXMATRIX D3DXMATRIX::operator+(D3DXMATRIX const& mat) const {
    D3DXMATRIX r(*this);
    return r += mat;
}
D3DXMATRIX D3DXMATRIX::operator-(D3DXMATRIX const& mat) const {
    D3DXMATRIX r(*this);
    return r -= mat;
}
D3DXMATRIX D3DXMATRIX::operator*(FLOAT f) const {
    D3DXMATRIX r(*this);
    return r *= f;
}
D3DXMATRIX D3DXMATRIX::operator/(FLOAT f) const {
    D3DXMATRIX r(*this);
    return r /= f;
}
bool D3DXMATRIX::operator==(D3DXMATRIX const& mat) const {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (m[r][c] != mat.m[r][c]) return false;
    return true;
}

// ---- basic ----
D3DXMATRIX* D3DXMatrixIdentity(D3DXMATRIX* out) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) out->m[r][c] = r == c ? 1.0f : 0.0f;
    return out;
}

D3DXMATRIX* D3DXMatrixTranspose(D3DXMATRIX* out, D3DXMATRIX const* m) {
    D3DXMATRIX r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) r.m[i][j] = m->m[j][i];
    *out = r;
    return out;
}

D3DXMATRIX* D3DXMatrixInverse(D3DXMATRIX* out, FLOAT* determinant, D3DXMATRIX const* mat) {
    auto const& m = mat->m;
    FLOAT s0 = m[0][0] * m[1][1] - m[1][0] * m[0][1];
    FLOAT s1 = m[0][0] * m[1][2] - m[1][0] * m[0][2];
    FLOAT s2 = m[0][0] * m[1][3] - m[1][0] * m[0][3];
    FLOAT s3 = m[0][1] * m[1][2] - m[1][1] * m[0][2];
    FLOAT s4 = m[0][1] * m[1][3] - m[1][1] * m[0][3];
    FLOAT s5 = m[0][2] * m[1][3] - m[1][2] * m[0][3];
    FLOAT c5 = m[2][2] * m[3][3] - m[3][2] * m[2][3];
    FLOAT c4 = m[2][1] * m[3][3] - m[3][1] * m[2][3];
    FLOAT c3 = m[2][1] * m[3][2] - m[3][1] * m[2][2];
    FLOAT c2 = m[2][0] * m[3][3] - m[3][0] * m[2][3];
    FLOAT c1 = m[2][0] * m[3][2] - m[3][0] * m[2][2];
    FLOAT c0 = m[2][0] * m[3][1] - m[3][0] * m[2][1];
    FLOAT det = s0 * c5 - s1 * c4 + s2 * c3 + s3 * c2 - s4 * c1 + s5 * c0;
    if (determinant) *determinant = det;
    if (det == 0.0f) return nullptr;
    FLOAT inv = 1.0f / det;
    D3DXMATRIX r;
    r.m[0][0] = (m[1][1] * c5 - m[1][2] * c4 + m[1][3] * c3) * inv;
    r.m[0][1] = (-m[0][1] * c5 + m[0][2] * c4 - m[0][3] * c3) * inv;
    r.m[0][2] = (m[3][1] * s5 - m[3][2] * s4 + m[3][3] * s3) * inv;
    r.m[0][3] = (-m[2][1] * s5 + m[2][2] * s4 - m[2][3] * s3) * inv;
    r.m[1][0] = (-m[1][0] * c5 + m[1][2] * c2 - m[1][3] * c1) * inv;
    r.m[1][1] = (m[0][0] * c5 - m[0][2] * c2 + m[0][3] * c1) * inv;
    r.m[1][2] = (-m[3][0] * s5 + m[3][2] * s2 - m[3][3] * s1) * inv;
    r.m[1][3] = (m[2][0] * s5 - m[2][2] * s2 + m[2][3] * s1) * inv;
    r.m[2][0] = (m[1][0] * c4 - m[1][1] * c2 + m[1][3] * c0) * inv;
    r.m[2][1] = (-m[0][0] * c4 + m[0][1] * c2 - m[0][3] * c0) * inv;
    r.m[2][2] = (m[3][0] * s4 - m[3][1] * s2 + m[3][3] * s0) * inv;
    r.m[2][3] = (-m[2][0] * s4 + m[2][1] * s2 - m[2][3] * s0) * inv;
    r.m[3][0] = (-m[1][0] * c3 + m[1][1] * c1 - m[1][2] * c0) * inv;
    r.m[3][1] = (m[0][0] * c3 - m[0][1] * c1 + m[0][2] * c0) * inv;
    r.m[3][2] = (-m[3][0] * s3 + m[3][1] * s1 - m[3][2] * s0) * inv;
    r.m[3][3] = (m[2][0] * s3 - m[2][1] * s1 + m[2][2] * s0) * inv;
    *out = r;
    return out;
}

// ---- builders ----
D3DXMATRIX* D3DXMatrixScaling(D3DXMATRIX* out, FLOAT sx, FLOAT sy, FLOAT sz) {
    D3DXMatrixIdentity(out);
    out->_11 = sx;
    out->_22 = sy;
    out->_33 = sz;
    return out;
}

D3DXMATRIX* D3DXMatrixRotationZ(D3DXMATRIX* out, FLOAT angle) {
    FLOAT c = std::cos(angle), s = std::sin(angle);
    D3DXMatrixIdentity(out);
    out->_11 = c;
    out->_12 = s;
    out->_21 = -s;
    out->_22 = c;
    return out;
}

D3DXMATRIX* D3DXMatrixTransformation(D3DXMATRIX* out, D3DXVECTOR3 const* scalingCenter,
                                     D3DXQUATERNION const* scalingRotation, D3DXVECTOR3 const* scaling,
                                     D3DXVECTOR3 const* rotationCenter, D3DXQUATERNION const* rotation,
                                     D3DXVECTOR3 const* translationVec) {
    D3DXVECTOR3 sc = scalingCenter ? *scalingCenter : D3DXVECTOR3();
    D3DXVECTOR3 rc = rotationCenter ? *rotationCenter : D3DXVECTOR3();
    D3DXMATRIX m = translation(-sc.x, -sc.y, -sc.z);
    if (scalingRotation) {
        D3DXQUATERNION const inverse = inverseOf(*scalingRotation);
        m = m * rotationOf(&inverse);
    }
    if (scaling) {
        D3DXMATRIX s;
        D3DXMatrixScaling(&s, scaling->x, scaling->y, scaling->z);
        m = m * s;
    }
    if (scalingRotation) m = m * rotationOf(scalingRotation);
    m = m * translation(sc.x, sc.y, sc.z) * translation(-rc.x, -rc.y, -rc.z);
    if (rotation) m = m * rotationOf(rotation);
    m = m * translation(rc.x, rc.y, rc.z);
    if (translationVec) m = m * translation(translationVec->x, translationVec->y, translationVec->z);
    *out = m;
    return out;
}

D3DXMATRIX* D3DXMatrixTransformation2D(D3DXMATRIX* out, D3DXVECTOR2 const* scalingCenter, FLOAT scalingRotation,
                                       D3DXVECTOR2 const* scaling, D3DXVECTOR2 const* rotationCenter, FLOAT rotation,
                                       D3DXVECTOR2 const* translationVec) {
    D3DXVECTOR2 sc = scalingCenter ? *scalingCenter : D3DXVECTOR2();
    D3DXVECTOR2 rc = rotationCenter ? *rotationCenter : D3DXVECTOR2();
    // Sprites are mostly placed without rotation: the product below is then exactly the scaling
    // followed by the translation (the rotation centre moves there and back by the same amount).
    if (!scalingCenter && scalingRotation == 0.0f && rotation == 0.0f && std::isfinite(rc.x) && std::isfinite(rc.y)) {
        D3DXMatrixScaling(out, scaling ? scaling->x : 1.0f, scaling ? scaling->y : 1.0f, 1.0f);
        if (translationVec) {
            out->_41 = translationVec->x;
            out->_42 = translationVec->y;
        }
        return out;
    }
    D3DXMATRIX m = translation(-sc.x, -sc.y, 0.0f);
    D3DXMATRIX r;
    if (scalingRotation != 0.0f) m = m * *D3DXMatrixRotationZ(&r, -scalingRotation);
    if (scaling) {
        D3DXMATRIX s;
        D3DXMatrixScaling(&s, scaling->x, scaling->y, 1.0f);
        m = m * s;
    }
    if (scalingRotation != 0.0f) m = m * *D3DXMatrixRotationZ(&r, scalingRotation);
    m = m * translation(sc.x, sc.y, 0.0f) * translation(-rc.x, -rc.y, 0.0f);
    m = m * *D3DXMatrixRotationZ(&r, rotation);
    m = m * translation(rc.x, rc.y, 0.0f);
    if (translationVec) m = m * translation(translationVec->x, translationVec->y, 0.0f);
    *out = m;
    return out;
}

D3DXMATRIX* D3DXMatrixLookAtLH(D3DXMATRIX* out, D3DXVECTOR3 const* eye, D3DXVECTOR3 const* at, D3DXVECTOR3 const* up) {
    D3DXVECTOR3 const zaxis = normalized(*at - *eye);
    D3DXVECTOR3 const xaxis = normalized(cross(*up, zaxis));
    D3DXVECTOR3 const yaxis = cross(zaxis, xaxis);
    *out = D3DXMATRIX(xaxis.x, yaxis.x, zaxis.x, 0.0f, xaxis.y, yaxis.y, zaxis.y, 0.0f, xaxis.z, yaxis.z, zaxis.z, 0.0f,
                      -dot(xaxis, *eye), -dot(yaxis, *eye), -dot(zaxis, *eye), 1.0f);
    return out;
}

D3DXMATRIX* D3DXMatrixPerspectiveFovLH(D3DXMATRIX* out, FLOAT fovy, FLOAT aspect, FLOAT zn, FLOAT zf) {
    FLOAT yScale = 1.0f / std::tan(fovy * 0.5f);
    FLOAT xScale = yScale / aspect;
    *out = D3DXMATRIX(xScale, 0, 0, 0, 0, yScale, 0, 0, 0, 0, zf / (zf - zn), 1.0f, 0, 0, -zn * zf / (zf - zn), 0);
    return out;
}
