// D3DX matrix functions: row vectors (v' = v * M), left-handed view and projection builders.
#include "port/d3dx9/d3dx9math.h"

#include <cmath>

namespace {

D3DXMATRIX identity() {
    D3DXMATRIX m;
    D3DXMatrixIdentity(&m);
    return m;
}

D3DXMATRIX translation(FLOAT x, FLOAT y, FLOAT z) {
    D3DXMATRIX m;
    D3DXMatrixTranslation(&m, x, y, z);
    return m;
}

D3DXMATRIX rotationOf(D3DXQUATERNION const* q) {
    D3DXMATRIX m = identity();
    if (q) D3DXMatrixRotationQuaternion(&m, q);
    return m;
}

}  // namespace

// ---- operators ----
D3DXMATRIX& D3DXMATRIX::operator*=(D3DXMATRIX const& mat) {
    D3DXMatrixMultiply(this, this, &mat);
    return *this;
}
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
D3DXMATRIX D3DXMATRIX::operator*(D3DXMATRIX const& mat) const {
    D3DXMATRIX r;
    D3DXMatrixMultiply(&r, this, &mat);
    return r;
}
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

BOOL D3DXMatrixIsIdentity(D3DXMATRIX const* m) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (m->m[r][c] != (r == c ? 1.0f : 0.0f)) return FALSE;
    return TRUE;
}

FLOAT D3DXMatrixDeterminant(D3DXMATRIX const* mat) {
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
    return s0 * c5 - s1 * c4 + s2 * c3 + s3 * c2 - s4 * c1 + s5 * c0;
}

D3DXMATRIX* D3DXMatrixTranspose(D3DXMATRIX* out, D3DXMATRIX const* m) {
    D3DXMATRIX r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) r.m[i][j] = m->m[j][i];
    *out = r;
    return out;
}

D3DXMATRIX* D3DXMatrixMultiply(D3DXMATRIX* out, D3DXMATRIX const* a, D3DXMATRIX const* b) {
    D3DXMATRIX r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r.m[i][j] = a->m[i][0] * b->m[0][j] + a->m[i][1] * b->m[1][j] + a->m[i][2] * b->m[2][j] +
                        a->m[i][3] * b->m[3][j];
    *out = r;
    return out;
}

D3DXMATRIX* D3DXMatrixMultiplyTranspose(D3DXMATRIX* out, D3DXMATRIX const* a, D3DXMATRIX const* b) {
    D3DXMATRIX r;
    D3DXMatrixMultiply(&r, a, b);
    return D3DXMatrixTranspose(out, &r);
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

HRESULT D3DXMatrixDecompose(D3DXVECTOR3* scale, D3DXQUATERNION* rotation, D3DXVECTOR3* translationOut,
                            D3DXMATRIX const* m) {
    D3DXVECTOR3 rows[3] = {{m->_11, m->_12, m->_13}, {m->_21, m->_22, m->_23}, {m->_31, m->_32, m->_33}};
    D3DXVECTOR3 s(D3DXVec3Length(&rows[0]), D3DXVec3Length(&rows[1]), D3DXVec3Length(&rows[2]));
    if (translationOut) *translationOut = {m->_41, m->_42, m->_43};
    if (s.x == 0.0f || s.y == 0.0f || s.z == 0.0f) return E_FAIL;
    // A mirrored matrix keeps a proper rotation by negating one scale.
    if (D3DXMatrixDeterminant(m) < 0.0f) s.x = -s.x;
    if (scale) *scale = s;
    if (rotation) {
        D3DXMATRIX r = identity();
        for (int i = 0; i < 3; ++i) {
            FLOAT f = (&s.x)[i];
            r.m[i][0] = (&rows[i].x)[0] / f;
            r.m[i][1] = (&rows[i].x)[1] / f;
            r.m[i][2] = (&rows[i].x)[2] / f;
        }
        D3DXQuaternionRotationMatrix(rotation, &r);
    }
    return S_OK;
}

// ---- builders ----
D3DXMATRIX* D3DXMatrixScaling(D3DXMATRIX* out, FLOAT sx, FLOAT sy, FLOAT sz) {
    D3DXMatrixIdentity(out);
    out->_11 = sx;
    out->_22 = sy;
    out->_33 = sz;
    return out;
}

D3DXMATRIX* D3DXMatrixTranslation(D3DXMATRIX* out, FLOAT x, FLOAT y, FLOAT z) {
    D3DXMatrixIdentity(out);
    out->_41 = x;
    out->_42 = y;
    out->_43 = z;
    return out;
}

D3DXMATRIX* D3DXMatrixRotationX(D3DXMATRIX* out, FLOAT angle) {
    FLOAT c = std::cos(angle), s = std::sin(angle);
    D3DXMatrixIdentity(out);
    out->_22 = c;
    out->_23 = s;
    out->_32 = -s;
    out->_33 = c;
    return out;
}

D3DXMATRIX* D3DXMatrixRotationY(D3DXMATRIX* out, FLOAT angle) {
    FLOAT c = std::cos(angle), s = std::sin(angle);
    D3DXMatrixIdentity(out);
    out->_11 = c;
    out->_13 = -s;
    out->_31 = s;
    out->_33 = c;
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

D3DXMATRIX* D3DXMatrixRotationAxis(D3DXMATRIX* out, D3DXVECTOR3 const* axis, FLOAT angle) {
    D3DXVECTOR3 n;
    D3DXVec3Normalize(&n, axis);
    FLOAT c = std::cos(angle), s = std::sin(angle), t = 1.0f - c;
    D3DXMatrixIdentity(out);
    out->_11 = t * n.x * n.x + c;
    out->_12 = t * n.x * n.y + s * n.z;
    out->_13 = t * n.x * n.z - s * n.y;
    out->_21 = t * n.x * n.y - s * n.z;
    out->_22 = t * n.y * n.y + c;
    out->_23 = t * n.y * n.z + s * n.x;
    out->_31 = t * n.x * n.z + s * n.y;
    out->_32 = t * n.y * n.z - s * n.x;
    out->_33 = t * n.z * n.z + c;
    return out;
}

D3DXMATRIX* D3DXMatrixRotationQuaternion(D3DXMATRIX* out, D3DXQUATERNION const* q) {
    FLOAT x = q->x, y = q->y, z = q->z, w = q->w;
    D3DXMatrixIdentity(out);
    out->_11 = 1.0f - 2.0f * (y * y + z * z);
    out->_12 = 2.0f * (x * y + z * w);
    out->_13 = 2.0f * (x * z - y * w);
    out->_21 = 2.0f * (x * y - z * w);
    out->_22 = 1.0f - 2.0f * (x * x + z * z);
    out->_23 = 2.0f * (y * z + x * w);
    out->_31 = 2.0f * (x * z + y * w);
    out->_32 = 2.0f * (y * z - x * w);
    out->_33 = 1.0f - 2.0f * (x * x + y * y);
    return out;
}

D3DXMATRIX* D3DXMatrixRotationYawPitchRoll(D3DXMATRIX* out, FLOAT yaw, FLOAT pitch, FLOAT roll) {
    D3DXMATRIX rz, rx, ry;
    D3DXMatrixRotationZ(&rz, roll);
    D3DXMatrixRotationX(&rx, pitch);
    D3DXMatrixRotationY(&ry, yaw);
    *out = rz * rx * ry;
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
        D3DXQUATERNION inverse;
        D3DXQuaternionInverse(&inverse, scalingRotation);
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

D3DXMATRIX* D3DXMatrixAffineTransformation(D3DXMATRIX* out, FLOAT scaling, D3DXVECTOR3 const* rotationCenter,
                                           D3DXQUATERNION const* rotation, D3DXVECTOR3 const* translationVec) {
    D3DXVECTOR3 s(scaling, scaling, scaling);
    return D3DXMatrixTransformation(out, nullptr, nullptr, &s, rotationCenter, rotation, translationVec);
}

D3DXMATRIX* D3DXMatrixAffineTransformation2D(D3DXMATRIX* out, FLOAT scaling, D3DXVECTOR2 const* rotationCenter,
                                             FLOAT rotation, D3DXVECTOR2 const* translationVec) {
    D3DXVECTOR2 s(scaling, scaling);
    return D3DXMatrixTransformation2D(out, nullptr, 0.0f, &s, rotationCenter, rotation, translationVec);
}

namespace {
// The view matrix of an eye looking along zaxis, with xaxis to the right.
D3DXMATRIX viewFromAxes(D3DXVECTOR3 const& xaxis, D3DXVECTOR3 const& yaxis, D3DXVECTOR3 const& zaxis,
                        D3DXVECTOR3 const& eye) {
    return D3DXMATRIX(xaxis.x, yaxis.x, zaxis.x, 0.0f, xaxis.y, yaxis.y, zaxis.y, 0.0f, xaxis.z, yaxis.z, zaxis.z,
                      0.0f, -D3DXVec3Dot(&xaxis, &eye), -D3DXVec3Dot(&yaxis, &eye), -D3DXVec3Dot(&zaxis, &eye),
                      1.0f);
}
}  // namespace

D3DXMATRIX* D3DXMatrixLookAtLH(D3DXMATRIX* out, D3DXVECTOR3 const* eye, D3DXVECTOR3 const* at, D3DXVECTOR3 const* up) {
    D3DXVECTOR3 zaxis = *at - *eye, xaxis, yaxis;
    D3DXVec3Normalize(&zaxis, &zaxis);
    D3DXVec3Cross(&xaxis, up, &zaxis);
    D3DXVec3Normalize(&xaxis, &xaxis);
    D3DXVec3Cross(&yaxis, &zaxis, &xaxis);
    *out = viewFromAxes(xaxis, yaxis, zaxis, *eye);
    return out;
}

D3DXMATRIX* D3DXMatrixLookAtRH(D3DXMATRIX* out, D3DXVECTOR3 const* eye, D3DXVECTOR3 const* at, D3DXVECTOR3 const* up) {
    D3DXVECTOR3 zaxis = *eye - *at, xaxis, yaxis;
    D3DXVec3Normalize(&zaxis, &zaxis);
    D3DXVec3Cross(&xaxis, up, &zaxis);
    D3DXVec3Normalize(&xaxis, &xaxis);
    D3DXVec3Cross(&yaxis, &zaxis, &xaxis);
    *out = viewFromAxes(xaxis, yaxis, zaxis, *eye);
    return out;
}

D3DXMATRIX* D3DXMatrixPerspectiveLH(D3DXMATRIX* out, FLOAT w, FLOAT h, FLOAT zn, FLOAT zf) {
    *out = D3DXMATRIX(2.0f * zn / w, 0, 0, 0, 0, 2.0f * zn / h, 0, 0, 0, 0, zf / (zf - zn), 1.0f, 0, 0,
                      zn * zf / (zn - zf), 0);
    return out;
}

D3DXMATRIX* D3DXMatrixPerspectiveRH(D3DXMATRIX* out, FLOAT w, FLOAT h, FLOAT zn, FLOAT zf) {
    *out = D3DXMATRIX(2.0f * zn / w, 0, 0, 0, 0, 2.0f * zn / h, 0, 0, 0, 0, zf / (zn - zf), -1.0f, 0, 0,
                      zn * zf / (zn - zf), 0);
    return out;
}

D3DXMATRIX* D3DXMatrixPerspectiveFovLH(D3DXMATRIX* out, FLOAT fovy, FLOAT aspect, FLOAT zn, FLOAT zf) {
    FLOAT yScale = 1.0f / std::tan(fovy * 0.5f);
    FLOAT xScale = yScale / aspect;
    *out = D3DXMATRIX(xScale, 0, 0, 0, 0, yScale, 0, 0, 0, 0, zf / (zf - zn), 1.0f, 0, 0, -zn * zf / (zf - zn), 0);
    return out;
}

D3DXMATRIX* D3DXMatrixPerspectiveFovRH(D3DXMATRIX* out, FLOAT fovy, FLOAT aspect, FLOAT zn, FLOAT zf) {
    FLOAT yScale = 1.0f / std::tan(fovy * 0.5f);
    FLOAT xScale = yScale / aspect;
    *out = D3DXMATRIX(xScale, 0, 0, 0, 0, yScale, 0, 0, 0, 0, zf / (zn - zf), -1.0f, 0, 0, zn * zf / (zn - zf), 0);
    return out;
}

D3DXMATRIX* D3DXMatrixPerspectiveOffCenterLH(D3DXMATRIX* out, FLOAT l, FLOAT r, FLOAT b, FLOAT t, FLOAT zn, FLOAT zf) {
    *out = D3DXMATRIX(2.0f * zn / (r - l), 0, 0, 0, 0, 2.0f * zn / (t - b), 0, 0, (l + r) / (l - r),
                      (t + b) / (b - t), zf / (zf - zn), 1.0f, 0, 0, zn * zf / (zn - zf), 0);
    return out;
}

D3DXMATRIX* D3DXMatrixPerspectiveOffCenterRH(D3DXMATRIX* out, FLOAT l, FLOAT r, FLOAT b, FLOAT t, FLOAT zn, FLOAT zf) {
    *out = D3DXMATRIX(2.0f * zn / (r - l), 0, 0, 0, 0, 2.0f * zn / (t - b), 0, 0, (l + r) / (r - l),
                      (t + b) / (t - b), zf / (zn - zf), -1.0f, 0, 0, zn * zf / (zn - zf), 0);
    return out;
}

D3DXMATRIX* D3DXMatrixOrthoLH(D3DXMATRIX* out, FLOAT w, FLOAT h, FLOAT zn, FLOAT zf) {
    *out = D3DXMATRIX(2.0f / w, 0, 0, 0, 0, 2.0f / h, 0, 0, 0, 0, 1.0f / (zf - zn), 0, 0, 0, zn / (zn - zf), 1.0f);
    return out;
}

D3DXMATRIX* D3DXMatrixOrthoRH(D3DXMATRIX* out, FLOAT w, FLOAT h, FLOAT zn, FLOAT zf) {
    *out = D3DXMATRIX(2.0f / w, 0, 0, 0, 0, 2.0f / h, 0, 0, 0, 0, 1.0f / (zn - zf), 0, 0, 0, zn / (zn - zf), 1.0f);
    return out;
}

D3DXMATRIX* D3DXMatrixOrthoOffCenterLH(D3DXMATRIX* out, FLOAT l, FLOAT r, FLOAT b, FLOAT t, FLOAT zn, FLOAT zf) {
    *out = D3DXMATRIX(2.0f / (r - l), 0, 0, 0, 0, 2.0f / (t - b), 0, 0, 0, 0, 1.0f / (zf - zn), 0, (l + r) / (l - r),
                      (t + b) / (b - t), zn / (zn - zf), 1.0f);
    return out;
}

D3DXMATRIX* D3DXMatrixOrthoOffCenterRH(D3DXMATRIX* out, FLOAT l, FLOAT r, FLOAT b, FLOAT t, FLOAT zn, FLOAT zf) {
    *out = D3DXMATRIX(2.0f / (r - l), 0, 0, 0, 0, 2.0f / (t - b), 0, 0, 0, 0, 1.0f / (zn - zf), 0, (l + r) / (l - r),
                      (t + b) / (b - t), zn / (zn - zf), 1.0f);
    return out;
}

D3DXMATRIX* D3DXMatrixReflect(D3DXMATRIX* out, D3DXPLANE const* plane) {
    D3DXPLANE p;
    D3DXPlaneNormalize(&p, plane);
    *out = D3DXMATRIX(1 - 2 * p.a * p.a, -2 * p.a * p.b, -2 * p.a * p.c, 0, -2 * p.b * p.a, 1 - 2 * p.b * p.b,
                      -2 * p.b * p.c, 0, -2 * p.c * p.a, -2 * p.c * p.b, 1 - 2 * p.c * p.c, 0, -2 * p.d * p.a,
                      -2 * p.d * p.b, -2 * p.d * p.c, 1);
    return out;
}
