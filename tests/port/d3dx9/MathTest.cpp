// D3DX maths against hand-computed values: row vectors, left-handed builders, the 2D transform
// the sprite code relies on, inverses, quaternions, splines and colour packing.
#include "port/d3dx9/d3dx9math.h"

#include <gtest/gtest.h>

namespace {

constexpr float kEps = 1e-5f;

void expectMatrixNear(D3DXMATRIX const& actual, D3DXMATRIX const& expected, float eps = kEps) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_NEAR(actual.m[r][c], expected.m[r][c], eps) << "element " << r << c;
}

D3DXMATRIX identity() {
    D3DXMATRIX m;
    D3DXMatrixIdentity(&m);
    return m;
}

TEST(D3DXMath, TranslationMovesRowVectors) {
    D3DXMATRIX t;
    D3DXMatrixTranslation(&t, 10.0f, 20.0f, 30.0f);
    EXPECT_FLOAT_EQ(t._41, 10.0f);
    EXPECT_FLOAT_EQ(t._43, 30.0f);
    D3DXVECTOR3 p(1.0f, 2.0f, 3.0f), out;
    D3DXVec3TransformCoord(&out, &p, &t);
    EXPECT_EQ(out, D3DXVECTOR3(11.0f, 22.0f, 33.0f));
    // A normal ignores the translation row.
    D3DXVec3TransformNormal(&out, &p, &t);
    EXPECT_EQ(out, p);
}

TEST(D3DXMath, MultiplyAppliesLeftMatrixFirst) {
    D3DXMATRIX s, t;
    D3DXMatrixScaling(&s, 2.0f, 3.0f, 4.0f);
    D3DXMatrixTranslation(&t, 1.0f, 1.0f, 1.0f);
    D3DXMATRIX st = s * t;  // scale, then translate
    D3DXVECTOR3 p(1.0f, 1.0f, 1.0f), out;
    D3DXVec3TransformCoord(&out, &p, &st);
    EXPECT_EQ(out, D3DXVECTOR3(3.0f, 4.0f, 5.0f));
    D3DXMATRIX ts;
    D3DXMatrixMultiply(&ts, &t, &s);  // translate, then scale
    D3DXVec3TransformCoord(&out, &p, &ts);
    EXPECT_EQ(out, D3DXVECTOR3(4.0f, 6.0f, 8.0f));
}

TEST(D3DXMath, RotationZTurnsXTowardsY) {
    D3DXMATRIX r;
    D3DXMatrixRotationZ(&r, D3DX_PI / 2.0f);
    D3DXVECTOR2 v(1.0f, 0.0f), out;
    D3DXVec2TransformCoord(&out, &v, &r);
    EXPECT_NEAR(out.x, 0.0f, kEps);
    EXPECT_NEAR(out.y, 1.0f, kEps);
    // Rotating (0, d) by a gives (-d sin a, d cos a).
    D3DXMatrixRotationZ(&r, D3DXToRadian(30.0f));
    v = {0.0f, 2.0f};
    D3DXVec2TransformCoord(&out, &v, &r);
    EXPECT_NEAR(out.x, -1.0f, kEps);
    EXPECT_NEAR(out.y, 2.0f * std::cos(D3DXToRadian(30.0f)), kEps);
}

TEST(D3DXMath, AxisRotationMatchesAxisBuilders) {
    D3DXVECTOR3 zAxis(0.0f, 0.0f, 2.0f), xAxis(3.0f, 0.0f, 0.0f);
    D3DXMATRIX a, b;
    D3DXMatrixRotationAxis(&a, &zAxis, 0.7f);
    D3DXMatrixRotationZ(&b, 0.7f);
    expectMatrixNear(a, b);
    D3DXMatrixRotationAxis(&a, &xAxis, -1.1f);
    D3DXMatrixRotationX(&b, -1.1f);
    expectMatrixNear(a, b);
    D3DXQUATERNION q;
    D3DXQuaternionRotationAxis(&q, &zAxis, 0.7f);
    D3DXMatrixRotationQuaternion(&a, &q);
    D3DXMatrixRotationZ(&b, 0.7f);
    expectMatrixNear(a, b);
}

TEST(D3DXMath, Transformation2DRotatesAboutCentreThenTranslates) {
    // Scale 2, rotate 90 degrees about (1, 1), then move by (10, 20).
    D3DXVECTOR2 scaling(2.0f, 2.0f), centre(1.0f, 1.0f), move(10.0f, 20.0f);
    D3DXMATRIX m;
    D3DXMatrixTransformation2D(&m, nullptr, 0.0f, &scaling, &centre, D3DX_PI / 2.0f, &move);
    D3DXVECTOR2 corners[2] = {{0.0f, 0.0f}, {1.0f, 0.0f}}, out[2];
    D3DXVec2TransformCoordArray(out, sizeof(D3DXVECTOR2), corners, sizeof(D3DXVECTOR2), &m, 2);
    // (0,0) scaled stays (0,0); turned about (1,1): (2, 0); moved: (12, 20).
    EXPECT_NEAR(out[0].x, 12.0f, kEps);
    EXPECT_NEAR(out[0].y, 20.0f, kEps);
    // (1,0) scaled (2,0); relative to centre (1,-1) turned to (1,1), back (2,2); moved (12, 22).
    EXPECT_NEAR(out[1].x, 12.0f, kEps);
    EXPECT_NEAR(out[1].y, 22.0f, kEps);
    // Null arguments give identity.
    D3DXMatrixTransformation2D(&m, nullptr, 0.0f, nullptr, nullptr, 0.0f, nullptr);
    EXPECT_TRUE(D3DXMatrixIsIdentity(&m));
}

TEST(D3DXMath, Transformation2DScalingCentreAndScalingRotation) {
    // Scaling (2, 1) about the centre (4, 0) along axes turned by 90 degrees: stretches along y.
    D3DXVECTOR2 sc(4.0f, 0.0f), s(2.0f, 1.0f);
    D3DXMATRIX m;
    D3DXMatrixTransformation2D(&m, &sc, D3DX_PI / 2.0f, &s, nullptr, 0.0f, nullptr);
    D3DXVECTOR2 p(4.0f, 3.0f), out;
    D3DXVec2TransformCoord(&out, &p, &m);
    EXPECT_NEAR(out.x, 4.0f, kEps);
    EXPECT_NEAR(out.y, 6.0f, kEps);
}

TEST(D3DXMath, TransformationMatchesComposedParts) {
    D3DXVECTOR3 scaling(2.0f, 3.0f, 4.0f), translation(5.0f, 6.0f, 7.0f), centre(1.0f, 0.0f, 0.0f);
    D3DXVECTOR3 axis(0.0f, 1.0f, 0.0f);
    D3DXQUATERNION rotation;
    D3DXQuaternionRotationAxis(&rotation, &axis, 0.5f);
    D3DXMATRIX m;
    D3DXMatrixTransformation(&m, &centre, nullptr, &scaling, &centre, &rotation, &translation);
    D3DXMATRIX toC, fromC, s, r, t;
    D3DXMatrixTranslation(&toC, -1.0f, 0.0f, 0.0f);
    D3DXMatrixTranslation(&fromC, 1.0f, 0.0f, 0.0f);
    D3DXMatrixScaling(&s, 2.0f, 3.0f, 4.0f);
    D3DXMatrixRotationY(&r, 0.5f);
    D3DXMatrixTranslation(&t, 5.0f, 6.0f, 7.0f);
    expectMatrixNear(m, toC * s * fromC * toC * r * fromC * t);
}

TEST(D3DXMath, InverseAndDeterminant) {
    D3DXMATRIX m(2, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0.5f, 0, 3, -2, 1, 1), inv;
    float det = 0.0f;
    ASSERT_NE(D3DXMatrixInverse(&inv, &det, &m), nullptr);
    EXPECT_FLOAT_EQ(det, 4.0f);
    EXPECT_FLOAT_EQ(D3DXMatrixDeterminant(&m), 4.0f);
    expectMatrixNear(m * inv, identity());
    expectMatrixNear(inv * m, identity());
    EXPECT_FLOAT_EQ(inv._11, 0.5f);
    EXPECT_FLOAT_EQ(inv._41, -1.5f);
    EXPECT_FLOAT_EQ(inv._42, 0.5f);
    // A general matrix round-trips too.
    D3DXMATRIX g(1, 2, 3, 4, 0, 1, 4, 5, 1, 0, 1, 2, 3, 1, 0, 1);
    ASSERT_NE(D3DXMatrixInverse(&inv, nullptr, &g), nullptr);
    expectMatrixNear(g * inv, identity(), 1e-4f);
}

TEST(D3DXMath, SingularInverseFailsAndLeavesOutputAlone) {
    D3DXMATRIX singular(1, 2, 3, 4, 2, 4, 6, 8, 0, 0, 1, 0, 0, 0, 0, 1);
    D3DXMATRIX out = identity();
    float det = 1.0f;
    EXPECT_EQ(D3DXMatrixInverse(&out, &det, &singular), nullptr);
    EXPECT_EQ(det, 0.0f);
    EXPECT_TRUE(D3DXMatrixIsIdentity(&out));
}

TEST(D3DXMath, PerspectiveFovLH) {
    D3DXMATRIX p;
    D3DXMatrixPerspectiveFovLH(&p, D3DX_PI / 2.0f, 2.0f, 1.0f, 101.0f);
    EXPECT_NEAR(p._11, 0.5f, kEps);
    EXPECT_NEAR(p._22, 1.0f, kEps);
    EXPECT_NEAR(p._33, 101.0f / 100.0f, kEps);
    EXPECT_FLOAT_EQ(p._34, 1.0f);
    EXPECT_NEAR(p._43, -101.0f / 100.0f, kEps);
    EXPECT_FLOAT_EQ(p._44, 0.0f);
    // The near plane maps to depth 0, the far plane to 1.
    D3DXVECTOR3 nearPoint(0, 0, 1), farPoint(0, 0, 101), out;
    D3DXVec3TransformCoord(&out, &nearPoint, &p);
    EXPECT_NEAR(out.z, 0.0f, kEps);
    D3DXVec3TransformCoord(&out, &farPoint, &p);
    EXPECT_NEAR(out.z, 1.0f, kEps);
}

TEST(D3DXMath, LookAtLH) {
    D3DXVECTOR3 eye(0, 0, -10), at(0, 0, 0), up(0, 1, 0);
    D3DXMATRIX v;
    D3DXMatrixLookAtLH(&v, &eye, &at, &up);
    expectMatrixNear(v, D3DXMATRIX(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 10, 1));
    // Looking along +x from the origin: +x becomes depth, +z points left (-x in view space).
    eye = {0, 0, 0};
    at = {1, 0, 0};
    D3DXMatrixLookAtLH(&v, &eye, &at, &up);
    D3DXVECTOR3 p(5, 0, 2), out;
    D3DXVec3TransformCoord(&out, &p, &v);
    EXPECT_NEAR(out.x, -2.0f, kEps);
    EXPECT_NEAR(out.z, 5.0f, kEps);
}

TEST(D3DXMath, OrthoOffCenterLHMapsScreenRectangle) {
    D3DXMATRIX o;
    D3DXMatrixOrthoOffCenterLH(&o, 0.0f, 800.0f, 600.0f, 0.0f, 0.0f, 1.0f);
    D3DXVECTOR3 topLeft(0, 0, 0), bottomRight(800, 600, 1), out;
    D3DXVec3TransformCoord(&out, &topLeft, &o);
    EXPECT_NEAR(out.x, -1.0f, kEps);
    EXPECT_NEAR(out.y, 1.0f, kEps);
    EXPECT_NEAR(out.z, 0.0f, kEps);
    D3DXVec3TransformCoord(&out, &bottomRight, &o);
    EXPECT_NEAR(out.x, 1.0f, kEps);
    EXPECT_NEAR(out.y, -1.0f, kEps);
    EXPECT_NEAR(out.z, 1.0f, kEps);
}

TEST(D3DXMath, ProjectAndUnprojectThroughViewport) {
    D3DVIEWPORT9 vp = {10, 20, 200, 100, 0.0f, 1.0f};
    D3DXMATRIX o;
    D3DXMatrixOrthoLH(&o, 4.0f, 2.0f, 0.0f, 10.0f);
    D3DXVECTOR3 p(1.0f, 0.5f, 5.0f), screen, back;
    D3DXVec3Project(&screen, &p, &vp, &o, nullptr, nullptr);
    EXPECT_NEAR(screen.x, 10.0f + 150.0f, 1e-3f);
    EXPECT_NEAR(screen.y, 20.0f + 25.0f, 1e-3f);
    EXPECT_NEAR(screen.z, 0.5f, 1e-5f);
    ASSERT_NE(D3DXVec3Unproject(&back, &screen, &vp, &o, nullptr, nullptr), nullptr);
    EXPECT_NEAR(back.x, 1.0f, 1e-4f);
    EXPECT_NEAR(back.y, 0.5f, 1e-4f);
    EXPECT_NEAR(back.z, 5.0f, 1e-4f);
}

TEST(D3DXMath, TransformArraysHonourStrides) {
    struct Vertex {
        D3DXVECTOR3 position;
        float extra;
    } vertices[3] = {{{1, 0, 0}, 7.0f}, {{0, 1, 0}, 8.0f}, {{0, 0, 1}, 9.0f}};
    D3DXMATRIX t;
    D3DXMatrixTranslation(&t, 1, 2, 3);
    D3DXVec3TransformCoordArray(&vertices[0].position, sizeof(Vertex), &vertices[0].position, sizeof(Vertex), &t, 3);
    EXPECT_EQ(vertices[0].position, D3DXVECTOR3(2, 2, 3));
    EXPECT_EQ(vertices[2].position, D3DXVECTOR3(1, 2, 4));
    EXPECT_EQ(vertices[1].extra, 8.0f);
    D3DXVECTOR2 normals[2] = {{1, 0}, {0, 1}};
    D3DXMATRIX r;
    D3DXMatrixRotationZ(&r, D3DX_PI);
    r._41 = 100.0f;  // ignored by the normal transform
    D3DXVec2TransformNormalArray(normals, sizeof(D3DXVECTOR2), normals, sizeof(D3DXVECTOR2), &r, 2);
    EXPECT_NEAR(normals[0].x, -1.0f, kEps);
    EXPECT_NEAR(normals[1].y, -1.0f, kEps);
}

TEST(D3DXMath, VectorsNormalizeAndCross) {
    D3DXVECTOR2 v(3.0f, 4.0f), n;
    D3DXVec2Normalize(&n, &v);
    EXPECT_FLOAT_EQ(n.x, 0.6f);
    EXPECT_FLOAT_EQ(n.y, 0.8f);
    D3DXVECTOR2 zero(0.0f, 0.0f);
    D3DXVec2Normalize(&n, &zero);
    EXPECT_EQ(n, zero);
    EXPECT_FLOAT_EQ(D3DXVec2Length(&v), 5.0f);
    D3DXVECTOR3 x(1, 0, 0), y(0, 1, 0), z;
    D3DXVec3Cross(&z, &x, &y);
    EXPECT_EQ(z, D3DXVECTOR3(0, 0, 1));
}

TEST(D3DXMath, CatmullRomPassesThroughInnerPointsAndHitsMidpoint) {
    D3DXVECTOR4 p0(0, 0, 0, 0), p1(1, 10, -1, 2), p2(2, 20, -2, 4), p3(3, 30, -3, 6), out;
    D3DXVec4CatmullRom(&out, &p0, &p1, &p2, &p3, 0.0f);
    EXPECT_EQ(out, p1);
    D3DXVec4CatmullRom(&out, &p0, &p1, &p2, &p3, 1.0f);
    EXPECT_EQ(out, p2);
    // Evenly spaced points give a straight line.
    D3DXVec4CatmullRom(&out, &p0, &p1, &p2, &p3, 0.25f);
    EXPECT_NEAR(out.y, 12.5f, kEps);
    // Hand value: 0.5 * (2*1 + (0-0)*0.5 + (0 - 5 + 0 - 0)*0.25 + (3 - 0 - 0 + 0)*0.125) = 0.5 * 1.125.
    D3DXVECTOR3 a(0, 0, 0), b(1, 0, 0), c(0, 0, 0), d(0, 0, 0), r;
    D3DXVec3CatmullRom(&r, &a, &b, &c, &d, 0.5f);
    EXPECT_NEAR(r.x, 0.5625f, kEps);
}

TEST(D3DXMath, QuaternionMultiplyAppliesFirstArgumentFirst) {
    D3DXVECTOR3 xAxis(1, 0, 0), zAxis(0, 0, 1);
    D3DXQUATERNION qx, qz, q;
    D3DXQuaternionRotationAxis(&qx, &xAxis, D3DX_PI / 2.0f);
    D3DXQuaternionRotationAxis(&qz, &zAxis, D3DX_PI / 2.0f);
    D3DXQuaternionMultiply(&q, &qx, &qz);
    D3DXMATRIX fromQuat, rx, rz;
    D3DXMatrixRotationQuaternion(&fromQuat, &q);
    D3DXMatrixRotationX(&rx, D3DX_PI / 2.0f);
    D3DXMatrixRotationZ(&rz, D3DX_PI / 2.0f);
    expectMatrixNear(fromQuat, rx * rz);
    D3DXQUATERNION back;
    D3DXMATRIX m = rx * rz;
    D3DXQuaternionRotationMatrix(&back, &m);
    EXPECT_NEAR(std::fabs(D3DXQuaternionDot(&back, &q)), 1.0f, kEps);
}

TEST(D3DXMath, SlerpHalfway) {
    D3DXVECTOR3 zAxis(0, 0, 1);
    D3DXQUATERNION a, b, mid, expected;
    D3DXQuaternionIdentity(&a);
    D3DXQuaternionRotationAxis(&b, &zAxis, 1.0f);
    D3DXQuaternionSlerp(&mid, &a, &b, 0.5f);
    D3DXQuaternionRotationAxis(&expected, &zAxis, 0.5f);
    EXPECT_NEAR(mid.z, expected.z, kEps);
    EXPECT_NEAR(mid.w, expected.w, kEps);
}

TEST(D3DXMath, DecomposeRecoversParts) {
    D3DXVECTOR3 s(2, 3, 4), t(-1, 5, 9), axis(0, 1, 0);
    D3DXQUATERNION r;
    D3DXQuaternionRotationAxis(&r, &axis, 0.3f);
    D3DXMATRIX m;
    D3DXMatrixTransformation(&m, nullptr, nullptr, &s, nullptr, &r, &t);
    D3DXVECTOR3 s2, t2;
    D3DXQUATERNION r2;
    ASSERT_EQ(D3DXMatrixDecompose(&s2, &r2, &t2, &m), S_OK);
    EXPECT_NEAR(s2.x, 2.0f, 1e-4f);
    EXPECT_NEAR(s2.z, 4.0f, 1e-4f);
    EXPECT_EQ(t2, t);
    EXPECT_NEAR(std::fabs(D3DXQuaternionDot(&r, &r2)), 1.0f, 1e-4f);
}

TEST(D3DXMath, ColourPackingClampsAndRounds) {
    D3DXCOLOR c(1.5f, 0.5f, -0.2f, 128.0f / 255.0f);
    EXPECT_EQ(static_cast<DWORD>(c), 0x80FF8000u);
    D3DXCOLOR unpacked(0x80402010u);
    EXPECT_FLOAT_EQ(unpacked.a, 128.0f / 255.0f);
    EXPECT_FLOAT_EQ(unpacked.r, 64.0f / 255.0f);
    EXPECT_FLOAT_EQ(unpacked.b, 16.0f / 255.0f);
    EXPECT_EQ(static_cast<DWORD>(unpacked), 0x80402010u);
    EXPECT_EQ(static_cast<DWORD>(D3DXCOLOR(NAN, 1.0f, 0.0f, 1.0f)), 0xFF00FF00u);
    D3DXCOLOR a(0, 0, 0, 0), b(1, 1, 1, 1), mid;
    D3DXColorLerp(&mid, &a, &b, 0.5f);
    EXPECT_EQ(static_cast<DWORD>(mid), 0x80808080u);
    D3DXColorModulate(&mid, &b, &unpacked);
    EXPECT_EQ(mid, unpacked);
}

TEST(D3DXMath, PlanesAndLines) {
    D3DXVECTOR3 a(0, 0, 5), b(1, 0, 5), c(0, 1, 5);
    D3DXPLANE p;
    D3DXPlaneFromPoints(&p, &a, &b, &c);
    EXPECT_NEAR(p.c, 1.0f, kEps);
    EXPECT_NEAR(p.d, -5.0f, kEps);
    D3DXVECTOR3 from(1, 1, 0), to(1, 1, 10), hit;
    ASSERT_NE(D3DXPlaneIntersectLine(&hit, &p, &from, &to), nullptr);
    EXPECT_NEAR(hit.z, 5.0f, kEps);
    D3DXVECTOR3 parallel(2, 1, 0);
    EXPECT_EQ(D3DXPlaneIntersectLine(&hit, &p, &from, &parallel), nullptr);
}

}  // namespace
