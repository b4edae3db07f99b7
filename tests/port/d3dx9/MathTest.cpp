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

void expectVectorNear(D3DXVECTOR3 const& actual, D3DXVECTOR3 const& expected, float eps = kEps) {
    EXPECT_NEAR(actual.x, expected.x, eps);
    EXPECT_NEAR(actual.y, expected.y, eps);
    EXPECT_NEAR(actual.z, expected.z, eps);
}

// A matrix from a D3DX builder: make(D3DXMatrixScaling, 2.0f, 3.0f, 4.0f).
template <class F, class... A>
D3DXMATRIX make(F builder, A... args) {
    D3DXMATRIX m;
    builder(&m, args...);
    return m;
}

D3DXMATRIX identity() { return make(D3DXMatrixIdentity); }

D3DXQUATERNION axisQuaternion(D3DXVECTOR3 axis, float angle) {
    D3DXQUATERNION q;
    D3DXQuaternionRotationAxis(&q, &axis, angle);
    return q;
}

TEST(D3DXMath, BuildersMapPointsAsRowVectors) {
    D3DXMATRIX s = make(D3DXMatrixScaling, 2.0f, 3.0f, 4.0f), t = make(D3DXMatrixTranslation, 1.0f, 1.0f, 1.0f);
    D3DXVECTOR2 scaling(2.0f, 2.0f), centre(1.0f, 1.0f), move(10.0f, 20.0f), scalingCentre(4.0f, 0.0f), stretch(2.0f, 1.0f);
    // Scale 2, rotate 90 degrees about (1, 1), then move by (10, 20).
    D3DXMATRIX sprite = make(D3DXMatrixTransformation2D, nullptr, 0.0f, &scaling, &centre, D3DX_PI / 2.0f, &move);
    // Scaling (2, 1) about (4, 0) along axes turned by 90 degrees: stretches along y.
    D3DXMATRIX turnedScale = make(D3DXMatrixTransformation2D, &scalingCentre, D3DX_PI / 2.0f, &stretch, nullptr, 0.0f,
                                  nullptr);
    D3DXVECTOR3 origin(0, 0, 0), alongX(1, 0, 0), up(0, 1, 0);
    D3DXMATRIX lookAlongX = make(D3DXMatrixLookAtLH, &origin, &alongX, &up);
    D3DXMATRIX perspective = make(D3DXMatrixPerspectiveFovLH, D3DX_PI / 2.0f, 2.0f, 1.0f, 101.0f);
    D3DXMATRIX screen = make(D3DXMatrixOrthoOffCenterLH, 0.0f, 800.0f, 600.0f, 0.0f, 0.0f, 1.0f);
    float const cos30 = std::cos(D3DXToRadian(30.0f));
    struct Case {
        char const* name;
        D3DXMATRIX m;
        D3DXVECTOR3 in, out;
    } const cases[] = {
        {"translation", make(D3DXMatrixTranslation, 10.0f, 20.0f, 30.0f), {1, 2, 3}, {11, 22, 33}},
        {"scale then translate", s * t, {1, 1, 1}, {3, 4, 5}},
        {"translate then scale", make(D3DXMatrixMultiply, &t, &s), {1, 1, 1}, {4, 6, 8}},
        {"rotation z turns x towards y", make(D3DXMatrixRotationZ, D3DX_PI / 2.0f), {1, 0, 0}, {0, 1, 0}},
        {"rotation z of (0, d)", make(D3DXMatrixRotationZ, D3DXToRadian(30.0f)), {0, 2, 0}, {-1, 2 * cos30, 0}},
        // (0,0) scaled stays; turned about (1,1): (2,0); moved: (12,20).
        {"2D transform, origin", sprite, {0, 0, 0}, {12, 20, 0}},
        // (1,0) scaled (2,0); relative to the centre (1,-1), turned (1,1), back (2,2), moved (12,22).
        {"2D transform, (1,0)", sprite, {1, 0, 0}, {12, 22, 0}},
        {"2D scaling centre and rotation", turnedScale, {4, 3, 0}, {4, 6, 0}},
        {"look along +x: +z points left", lookAlongX, {5, 0, 2}, {-2, 0, 5}},
        {"perspective near plane", perspective, {0, 0, 1}, {0, 0, 0}},
        {"perspective far plane", perspective, {0, 0, 101}, {0, 0, 1}},
        {"screen top left", screen, {0, 0, 0}, {-1, 1, 0}},
        {"screen bottom right", screen, {800, 600, 1}, {1, -1, 1}},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.name);
        D3DXVECTOR3 out;
        D3DXVec3TransformCoord(&out, &c.in, &c.m);
        expectVectorNear(out, c.out);
        if (c.in.z != 0.0f) continue;
        D3DXVECTOR2 in2(c.in.x, c.in.y), one, array[1];
        D3DXVec2TransformCoord(&one, &in2, &c.m);
        D3DXVec2TransformCoordArray(array, sizeof(D3DXVECTOR2), &in2, sizeof(D3DXVECTOR2), &c.m, 1);
        expectVectorNear({one.x, one.y, 0}, {c.out.x, c.out.y, 0});
        expectVectorNear({array[0].x, array[0].y, 0}, {c.out.x, c.out.y, 0});
    }
    D3DXVECTOR3 p(1, 2, 3), normal;
    D3DXMATRIX move3 = make(D3DXMatrixTranslation, 10.0f, 20.0f, 30.0f);
    D3DXVec3TransformNormal(&normal, &p, &move3);
    EXPECT_EQ(normal, p);  // a normal ignores the translation row
    D3DXMATRIX none = make(D3DXMatrixTransformation2D, nullptr, 0.0f, nullptr, nullptr, 0.0f, nullptr);
    EXPECT_TRUE(D3DXMatrixIsIdentity(&none));  // null arguments: identity
}

// Without rotations the 2D transform is the product of its steps exactly (sprites are placed
// with it at whole and half pixels, where any rounding would move an edge).
TEST(D3DXMath, Transformation2DWithoutRotationIsTheExactProduct) {
    D3DXVECTOR2 const scalings[] = {{1, 1}, {3, 0.5f}, {-2, 1.75f}};
    D3DXVECTOR2 const centres[] = {{0, 0}, {7.25f, -3}, {1e6f, 0.1f}};
    D3DXVECTOR2 const moves[] = {{0, 0}, {10.5f, 20.25f}, {-0.5f, 1e-3f}};
    for (bool nulls : {false, true})
        for (D3DXVECTOR2 const& scaling : scalings)
            for (D3DXVECTOR2 const& centre : centres)
                for (D3DXVECTOR2 const& move : moves) {
                    SCOPED_TRACE(testing::Message() << scaling.x << " " << centre.x << " " << move.x << " " << nulls);
                    D3DXMATRIX steps = make(D3DXMatrixScaling, scaling.x, scaling.y, 1.0f) *
                                       make(D3DXMatrixTranslation, -centre.x, -centre.y, 0.0f) *
                                       make(D3DXMatrixTranslation, centre.x, centre.y, 0.0f) *
                                       make(D3DXMatrixTranslation, move.x, move.y, 0.0f);
                    bool const unit = scaling.x == 1 && centre.x == 0 && move.x == 0;
                    D3DXMATRIX m = make(D3DXMatrixTransformation2D, nullptr, 0.0f, nulls && unit ? nullptr : &scaling,
                                        nulls && unit ? nullptr : &centre, 0.0f, nulls && unit ? nullptr : &move);
                    for (int r = 0; r < 4; ++r)
                        for (int c = 0; c < 4; ++c) EXPECT_EQ(m.m[r][c], steps.m[r][c]) << "element " << r << c;
                }
}

TEST(D3DXMath, BuildersAgreeWithEachOtherAndHandValues) {
    D3DXVECTOR3 s(2, 3, 4), t(5, 6, 7), centre(1, 0, 0), eye(0, 0, -10), at(0, 0, 0), up(0, 1, 0);
    D3DXQUATERNION rotationY = axisQuaternion({0, 1, 0}, 0.5f);
    D3DXQUATERNION qz = axisQuaternion({0, 0, 2}, 0.7f), qx = axisQuaternion({1, 0, 0}, D3DX_PI / 2.0f),
                   qz90 = axisQuaternion({0, 0, 1}, D3DX_PI / 2.0f), qxz;
    D3DXQuaternionMultiply(&qxz, &qx, &qz90);  // the first argument's rotation comes first
    D3DXVECTOR3 zAxis(0, 0, 2), xAxis(3, 0, 0);
    D3DXMATRIX toC = make(D3DXMatrixTranslation, -1.0f, 0.0f, 0.0f), fromC = make(D3DXMatrixTranslation, 1.0f, 0.0f, 0.0f);
    D3DXMATRIX rx90 = make(D3DXMatrixRotationX, D3DX_PI / 2.0f), rz90 = make(D3DXMatrixRotationZ, D3DX_PI / 2.0f);
    struct Case {
        char const* name;
        D3DXMATRIX actual, expected;
    } const cases[] = {
        {"axis z", make(D3DXMatrixRotationAxis, &zAxis, 0.7f), make(D3DXMatrixRotationZ, 0.7f)},
        {"axis x", make(D3DXMatrixRotationAxis, &xAxis, -1.1f), make(D3DXMatrixRotationX, -1.1f)},
        {"quaternion z", make(D3DXMatrixRotationQuaternion, &qz), make(D3DXMatrixRotationZ, 0.7f)},
        {"quaternion product", make(D3DXMatrixRotationQuaternion, &qxz), rx90 * rz90},
        {"transformation", make(D3DXMatrixTransformation, &centre, nullptr, &s, &centre, &rotationY, &t),
         toC * make(D3DXMatrixScaling, 2.0f, 3.0f, 4.0f) * fromC * toC * make(D3DXMatrixRotationY, 0.5f) * fromC *
             make(D3DXMatrixTranslation, 5.0f, 6.0f, 7.0f)},
        {"look at", make(D3DXMatrixLookAtLH, &eye, &at, &up), D3DXMATRIX(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 10, 1)},
        {"perspective", make(D3DXMatrixPerspectiveFovLH, D3DX_PI / 2.0f, 2.0f, 1.0f, 101.0f),
         D3DXMATRIX(0.5f, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1.01f, 1, 0, 0, -1.01f, 0)},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.name);
        expectMatrixNear(c.actual, c.expected);
    }
    D3DXQUATERNION back;
    D3DXMATRIX rxz = rx90 * rz90;
    D3DXQuaternionRotationMatrix(&back, &rxz);
    EXPECT_NEAR(std::fabs(D3DXQuaternionDot(&back, &qxz)), 1.0f, kEps);
}

TEST(D3DXMath, InverseAndDeterminant) {
    D3DXMATRIX m(2, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0.5f, 0, 3, -2, 1, 1), inv;
    float det = 0.0f;
    ASSERT_NE(D3DXMatrixInverse(&inv, &det, &m), nullptr);
    EXPECT_FLOAT_EQ(det, 4.0f);
    EXPECT_FLOAT_EQ(D3DXMatrixDeterminant(&m), 4.0f);
    expectMatrixNear(m * inv, identity());
    expectMatrixNear(inv * m, identity());
    EXPECT_FLOAT_EQ(inv._41, -1.5f);
    EXPECT_FLOAT_EQ(inv._42, 0.5f);
    D3DXMATRIX g(1, 2, 3, 4, 0, 1, 4, 5, 1, 0, 1, 2, 3, 1, 0, 1);
    ASSERT_NE(D3DXMatrixInverse(&inv, nullptr, &g), nullptr);
    expectMatrixNear(g * inv, identity(), 1e-4f);
    // A singular matrix fails and leaves the output alone.
    D3DXMATRIX singular(1, 2, 3, 4, 2, 4, 6, 8, 0, 0, 1, 0, 0, 0, 0, 1), out = identity();
    det = 1.0f;
    EXPECT_EQ(D3DXMatrixInverse(&out, &det, &singular), nullptr);
    EXPECT_EQ(det, 0.0f);
    EXPECT_TRUE(D3DXMatrixIsIdentity(&out));
}

TEST(D3DXMath, ProjectAndUnprojectThroughViewport) {
    D3DVIEWPORT9 vp = {10, 20, 200, 100, 0.0f, 1.0f};
    D3DXMATRIX o = make(D3DXMatrixOrthoLH, 4.0f, 2.0f, 0.0f, 10.0f);
    D3DXVECTOR3 p(1.0f, 0.5f, 5.0f), screen, back;
    D3DXVec3Project(&screen, &p, &vp, &o, nullptr, nullptr);
    expectVectorNear(screen, {160.0f, 45.0f, 0.5f}, 1e-3f);
    ASSERT_NE(D3DXVec3Unproject(&back, &screen, &vp, &o, nullptr, nullptr), nullptr);
    expectVectorNear(back, p, 1e-4f);
}

TEST(D3DXMath, TransformArraysHonourStrides) {
    struct Vertex {
        D3DXVECTOR3 position;
        float extra;
    } vertices[3] = {{{1, 0, 0}, 7.0f}, {{0, 1, 0}, 8.0f}, {{0, 0, 1}, 9.0f}};
    D3DXMATRIX t = make(D3DXMatrixTranslation, 1.0f, 2.0f, 3.0f);
    D3DXVec3TransformCoordArray(&vertices[0].position, sizeof(Vertex), &vertices[0].position, sizeof(Vertex), &t, 3);
    EXPECT_EQ(vertices[0].position, D3DXVECTOR3(2, 2, 3));
    EXPECT_EQ(vertices[2].position, D3DXVECTOR3(1, 2, 4));
    EXPECT_EQ(vertices[1].extra, 8.0f);
    D3DXVECTOR2 normals[2] = {{1, 0}, {0, 1}};
    D3DXMATRIX r = make(D3DXMatrixRotationZ, D3DX_PI);
    r._41 = 100.0f;  // ignored by the normal transform
    D3DXVec2TransformNormalArray(normals, sizeof(D3DXVECTOR2), normals, sizeof(D3DXVECTOR2), &r, 2);
    EXPECT_NEAR(normals[0].x, -1.0f, kEps);
    EXPECT_NEAR(normals[1].y, -1.0f, kEps);
}

TEST(D3DXMath, VectorsNormalizeAndCross) {
    D3DXVECTOR2 v(3.0f, 4.0f), n, zero(0.0f, 0.0f);
    D3DXVec2Normalize(&n, &v);
    EXPECT_FLOAT_EQ(n.x, 0.6f);
    EXPECT_FLOAT_EQ(n.y, 0.8f);
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
    D3DXVec4CatmullRom(&out, &p0, &p1, &p2, &p3, 0.25f);  // evenly spaced points: a straight line
    EXPECT_NEAR(out.y, 12.5f, kEps);
    // Hand value: 0.5 * (2*1 + (0-0)*0.5 + (0 - 5 + 0 - 0)*0.25 + (3 - 0 - 0 + 0)*0.125) = 0.5 * 1.125.
    D3DXVECTOR3 a(0, 0, 0), b(1, 0, 0), r;
    D3DXVec3CatmullRom(&r, &a, &b, &a, &a, 0.5f);
    EXPECT_NEAR(r.x, 0.5625f, kEps);
}

TEST(D3DXMath, SlerpAndDecompose) {
    D3DXQUATERNION a, mid, b = axisQuaternion({0, 0, 1}, 1.0f), expected = axisQuaternion({0, 0, 1}, 0.5f);
    D3DXQuaternionIdentity(&a);
    D3DXQuaternionSlerp(&mid, &a, &b, 0.5f);
    EXPECT_NEAR(mid.z, expected.z, kEps);
    EXPECT_NEAR(mid.w, expected.w, kEps);

    D3DXVECTOR3 s(2, 3, 4), t(-1, 5, 9), s2, t2;
    D3DXQUATERNION r = axisQuaternion({0, 1, 0}, 0.3f), r2;
    D3DXMATRIX m = make(D3DXMatrixTransformation, nullptr, nullptr, &s, nullptr, &r, &t);
    ASSERT_EQ(D3DXMatrixDecompose(&s2, &r2, &t2, &m), S_OK);
    expectVectorNear(s2, s, 1e-4f);
    EXPECT_EQ(t2, t);
    EXPECT_NEAR(std::fabs(D3DXQuaternionDot(&r, &r2)), 1.0f, 1e-4f);
}

TEST(D3DXMath, ColourPackingClampsAndRounds) {
    EXPECT_EQ(static_cast<DWORD>(D3DXCOLOR(1.5f, 0.5f, -0.2f, 128.0f / 255.0f)), 0x80FF8000u);
    D3DXCOLOR unpacked(0x80402010u);
    EXPECT_FLOAT_EQ(unpacked.a, 128.0f / 255.0f);
    EXPECT_FLOAT_EQ(unpacked.r, 64.0f / 255.0f);
    EXPECT_FLOAT_EQ(unpacked.b, 16.0f / 255.0f);
    EXPECT_EQ(static_cast<DWORD>(unpacked), 0x80402010u);
    EXPECT_EQ(static_cast<DWORD>(D3DXCOLOR(NAN, 1.0f, 0.0f, 1.0f)), 0xFF00FF00u);  // NaN packs as 0
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
    D3DXVECTOR3 from(1, 1, 0), to(1, 1, 10), parallel(2, 1, 0), hit;
    ASSERT_NE(D3DXPlaneIntersectLine(&hit, &p, &from, &to), nullptr);
    EXPECT_NEAR(hit.z, 5.0f, kEps);
    EXPECT_EQ(D3DXPlaneIntersectLine(&hit, &p, &from, &parallel), nullptr);
}

}  // namespace
