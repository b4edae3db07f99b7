// D3DX maths against formulas written here: one table per family (matrix builders, inverse and
// transpose, vector transforms, lengths, Catmull-Rom splines) and colour packing. Expected values
// never come from another port function.
#include "port/d3dx9/d3dx9math.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace {

constexpr float kEps = 1e-5f;

using Rows = std::array<std::array<float, 4>, 4>;

Rows rowsOf(D3DXMATRIX const& m) {
    Rows r{};
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) r[i][j] = m.m[i][j];
    return r;
}

Rows identityRows() { return {{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}}; }

void expectRowsNear(Rows const& actual, Rows const& expected, float eps = kEps) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_NEAR(actual[r][c], expected[r][c], eps) << "element " << r << c;
}

// The row vector (x, y, z, w) times the matrix.
std::array<float, 4> rowTimes(std::array<float, 4> v, D3DXMATRIX const& m) {
    std::array<float, 4> out{};
    for (int c = 0; c < 4; ++c) out[c] = v[0] * m.m[0][c] + v[1] * m.m[1][c] + v[2] * m.m[2][c] + v[3] * m.m[3][c];
    return out;
}

template <class F, class... A>
D3DXMATRIX make(F builder, A... args) {
    D3DXMATRIX m;
    builder(&m, args...);
    return m;
}

// Row-vector affine maps p' = p * A + t, A a 3x3 block: the layout every builder must produce.
Rows affine(float a11, float a12, float a13, float a21, float a22, float a23, float a31, float a32, float a33,
            float tx, float ty, float tz) {
    return {{{a11, a12, a13, 0}, {a21, a22, a23, 0}, {a31, a32, a33, 0}, {tx, ty, tz, 1}}};
}

TEST(D3DXMath, BuildersFollowTheirFormulas) {
    float const a = 0.7f, c = std::cos(a), s = std::sin(a);
    // Transformation2D: p' = ((p - sc) Rz(-sr) S Rz(sr) + sc - rc) Rz(r) + rc + t. With sc = 0,
    // sr = 0: p' = (p S - rc) R + rc + t, R turning x towards y ((1, 0) -> (cos, sin)).
    D3DXVECTOR2 scaling(2.0f, 3.0f), centre(1.0f, -4.0f), move(10.0f, 20.0f);
    float const tx2 = -(centre.x * c - centre.y * s) + centre.x + move.x;
    float const ty2 = -(centre.x * s + centre.y * c) + centre.y + move.y;
    // Transformation in 3D with the same rotation as a quaternion about z, and a scaling centre:
    // p' = ((p - sc) S + sc - rc) R + rc + t.
    D3DXVECTOR3 s3(2, 3, 4), sc(1, 2, 3), rc(-1, 0, 2), t3(5, 6, 7);
    D3DXQUATERNION const q(0.0f, 0.0f, std::sin(a / 2), std::cos(a / 2));
    auto rotate = [&](float x, float y) { return std::array<float, 2>{x * c - y * s, x * s + y * c}; };
    float const ox = (-sc.x * s3.x + sc.x - rc.x), oy = (-sc.y * s3.y + sc.y - rc.y), oz = -sc.z * s3.z + sc.z - rc.z;
    auto const [rx, ry] = rotate(ox, oy);
    // Perspective: yScale = cot(fov / 2), xScale = yScale / aspect, z in 0..1 from near to far.
    float const fov = 1.2f, aspect = 1.6f, zn = 0.5f, zf = 200.0f, yScale = 1.0f / std::tan(fov / 2);
    D3DXVECTOR3 eyeBack(0, 0, -10), origin(0, 0, 0), up(0, 1, 0), alongX(1, 0, 0), eyeSide(2, 3, -4), ahead(2, 3, 0);
    struct Case {
        char const* name;
        D3DXMATRIX actual;
        Rows expected;
    } const cases[] = {
        {"identity", make(D3DXMatrixIdentity), identityRows()},
        {"scaling", make(D3DXMatrixScaling, 2.0f, -3.0f, 0.5f), affine(2, 0, 0, 0, -3, 0, 0, 0, 0.5f, 0, 0, 0)},
        {"rotation z", make(D3DXMatrixRotationZ, a), affine(c, s, 0, -s, c, 0, 0, 0, 1, 0, 0, 0)},
        {"transformation 2D", make(D3DXMatrixTransformation2D, nullptr, 0.0f, &scaling, &centre, a, &move),
         affine(scaling.x * c, scaling.x * s, 0, -scaling.y * s, scaling.y * c, 0, 0, 0, 1, tx2, ty2, 0)},
        {"transformation 2D, all null", make(D3DXMatrixTransformation2D, nullptr, 0.0f, nullptr, nullptr, 0.0f, nullptr),
         identityRows()},
        {"transformation", make(D3DXMatrixTransformation, &sc, nullptr, &s3, &rc, &q, &t3),
         affine(s3.x * c, s3.x * s, 0, -s3.y * s, s3.y * c, 0, 0, 0, s3.z, rx + rc.x + t3.x, ry + rc.y + t3.y,
                oz + rc.z + t3.z)},
        {"transformation, all null",
         make(D3DXMatrixTransformation, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), identityRows()},
        // Looking along +z from (0, 0, -10): only the eye moves to the origin.
        {"look at, straight", make(D3DXMatrixLookAtLH, &eyeBack, &origin, &up),
         affine(1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 10)},
        // Looking along +x: view x = -world z, view z = world x.
        {"look at, along x", make(D3DXMatrixLookAtLH, &origin, &alongX, &up),
         affine(0, 0, 1, 0, 1, 0, -1, 0, 0, 0, 0, 0)},
        {"look at, moved eye", make(D3DXMatrixLookAtLH, &eyeSide, &ahead, &up),
         affine(1, 0, 0, 0, 1, 0, 0, 0, 1, -2, -3, 4)},
        {"perspective", make(D3DXMatrixPerspectiveFovLH, fov, aspect, zn, zf),
         {{{yScale / aspect, 0, 0, 0}, {0, yScale, 0, 0}, {0, 0, zf / (zf - zn), 1}, {0, 0, -zn * zf / (zf - zn), 0}}}},
    };
    for (Case const& k : cases) {
        SCOPED_TRACE(k.name);
        expectRowsNear(rowsOf(k.actual), k.expected);
    }
}

// Without rotations the 2D transform is the product of its steps exactly (sprites are placed
// with it at whole and half pixels, where any rounding would move an edge).
TEST(D3DXMath, Transformation2DWithoutRotationIsTheExactProduct) {
    auto const moveBy = [](float x, float y) { return D3DXMATRIX(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, 0, 1); };
    D3DXVECTOR2 const scalings[] = {{1, 1}, {3, 0.5f}, {-2, 1.75f}};
    D3DXVECTOR2 const centres[] = {{0, 0}, {7.25f, -3}, {1e6f, 0.1f}};
    D3DXVECTOR2 const moves[] = {{0, 0}, {10.5f, 20.25f}, {-0.5f, 1e-3f}};
    for (bool nulls : {false, true})
        for (D3DXVECTOR2 const& scaling : scalings)
            for (D3DXVECTOR2 const& centre : centres)
                for (D3DXVECTOR2 const& move : moves) {
                    SCOPED_TRACE(testing::Message() << scaling.x << " " << centre.x << " " << move.x << " " << nulls);
                    D3DXMATRIX steps = make(D3DXMatrixScaling, scaling.x, scaling.y, 1.0f) *
                                       moveBy(-centre.x, -centre.y) *
                                       moveBy(centre.x, centre.y) *
                                       moveBy(move.x, move.y);
                    bool const unit = scaling.x == 1 && centre.x == 0 && move.x == 0;
                    D3DXMATRIX m = make(D3DXMatrixTransformation2D, nullptr, 0.0f, nulls && unit ? nullptr : &scaling,
                                        nulls && unit ? nullptr : &centre, 0.0f, nulls && unit ? nullptr : &move);
                    for (int r = 0; r < 4; ++r)
                        for (int c = 0; c < 4; ++c) EXPECT_EQ(m.m[r][c], steps.m[r][c]) << "element " << r << c;
                }
}

TEST(D3DXMath, InverseAndTranspose) {
    struct Case {
        char const* name;
        D3DXMATRIX m;
        float determinant;  // 0: singular
    } const cases[] = {
        {"diagonal with translation", D3DXMATRIX(2, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0.5f, 0, 3, -2, 1, 1), 4.0f},
        {"general", D3DXMATRIX(1, 2, 3, 4, 0, 1, 4, 5, 1, 0, 1, 2, 3, 1, 0, 1), -4.0f},
        {"singular (two rows in proportion)", D3DXMATRIX(1, 2, 3, 4, 2, 4, 6, 8, 0, 0, 1, 0, 0, 0, 0, 1), 0.0f},
    };
    for (Case const& k : cases) {
        SCOPED_TRACE(k.name);
        D3DXMATRIX inverse = make(D3DXMatrixIdentity);
        float det = 99.0f;
        D3DXMATRIX* result = D3DXMatrixInverse(&inverse, &det, &k.m);
        EXPECT_NEAR(det, k.determinant, 1e-4f);
        if (k.determinant == 0.0f) {
            EXPECT_EQ(result, nullptr);
            expectRowsNear(rowsOf(inverse), identityRows());  // the output is left alone
        } else {
            ASSERT_EQ(result, &inverse);
            // M * M^-1 = I, element by element.
            Rows product{};
            for (int i = 0; i < 4; ++i)
                for (int j = 0; j < 4; ++j)
                    for (int n = 0; n < 4; ++n) product[i][j] += k.m.m[i][n] * inverse.m[n][j];
            expectRowsNear(product, identityRows(), 1e-4f);
        }
        D3DXMATRIX transposed = make(D3DXMatrixTranspose, &k.m);
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j) EXPECT_EQ(transposed.m[i][j], k.m.m[j][i]);
    }
}

TEST(D3DXMath, VectorTransformsAreRowVectorTimesMatrix) {
    // A matrix with a projective column, so that the divide by w shows.
    D3DXMATRIX const m(1, 2, 0, 0.5f, -1, 1, 3, 0, 0, 2, 1, 0.25f, 4, -3, 2, 2);
    D3DXMATRIX const zeroW(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 7, 8, 9, 0);
    struct Case {
        D3DXMATRIX const* m;
        float x, y, z;
    } const cases[] = {{&m, 1, 2, 3}, {&m, -2, 0.5f, 0}, {&m, 0, 0, 0}, {&zeroW, 1, 2, 3}};
    for (Case const& k : cases) {
        SCOPED_TRACE(testing::Message() << k.x << ", " << k.y << ", " << k.z);
        auto const p = rowTimes({k.x, k.y, k.z, 1}, *k.m);
        float const divide = p[3] != 0.0f ? p[3] : 1.0f;  // w = 0 leaves the point undivided
        D3DXVECTOR3 const in3(k.x, k.y, k.z);
        D3DXVECTOR4 full;
        D3DXVec3Transform(&full, &in3, k.m);
        EXPECT_EQ(full, D3DXVECTOR4(p[0], p[1], p[2], p[3]));
        D3DXVECTOR3 coord;
        D3DXVec3TransformCoord(&coord, &in3, k.m);
        EXPECT_NEAR(coord.x, p[0] / divide, kEps);
        EXPECT_NEAR(coord.y, p[1] / divide, kEps);
        EXPECT_NEAR(coord.z, p[2] / divide, kEps);

        auto const p2 = rowTimes({k.x, k.y, 0, 1}, *k.m);
        float const divide2 = p2[3] != 0.0f ? p2[3] : 1.0f;
        D3DXVECTOR2 const in2(k.x, k.y);
        D3DXVECTOR2 coord2;
        D3DXVec2TransformCoord(&coord2, &in2, k.m);
        EXPECT_NEAR(coord2.x, p2[0] / divide2, kEps);
        EXPECT_NEAR(coord2.y, p2[1] / divide2, kEps);
        auto const n2 = rowTimes({k.x, k.y, 0, 0}, *k.m);  // a normal ignores the translation row
        D3DXVECTOR2 normal;
        D3DXVec2TransformNormalArray(&normal, sizeof normal, &in2, sizeof in2, k.m, 1);
        EXPECT_NEAR(normal.x, n2[0], kEps);
        EXPECT_NEAR(normal.y, n2[1], kEps);
    }
}

TEST(D3DXMath, TransformArraysHonourStridesInPlace) {
    struct Vertex {
        D3DXVECTOR3 position;
        float extra;
    } vertices[3] = {{{1, 0, 0}, 7.0f}, {{0, 1, 0}, 8.0f}, {{0, 0, 1}, 9.0f}};
    D3DXMATRIX move = make(D3DXMatrixIdentity);
    move._41 = 1.0f;
    move._42 = 2.0f;
    move._43 = 3.0f;
    D3DXVec3TransformCoordArray(&vertices[0].position, sizeof(Vertex), &vertices[0].position, sizeof(Vertex), &move, 3);
    EXPECT_EQ(vertices[0].position, D3DXVECTOR3(2, 2, 3));
    EXPECT_EQ(vertices[2].position, D3DXVECTOR3(1, 2, 4));
    EXPECT_EQ(vertices[1].extra, 8.0f);  // the stride skips the rest of the vertex

    struct Corner {
        D3DXVECTOR2 uv;
        float extra;
    } corners[2] = {{{1, 0}, 5.0f}, {{0, 1}, 6.0f}};
    D3DXVec2TransformCoordArray(&corners[0].uv, sizeof(Corner), &corners[0].uv, sizeof(Corner), &move, 2);
    EXPECT_EQ(corners[0].uv, D3DXVECTOR2(2, 2));
    EXPECT_EQ(corners[1].uv, D3DXVECTOR2(1, 3));
    EXPECT_EQ(corners[1].extra, 6.0f);
}

TEST(D3DXMath, LengthsAndNormalising) {
    struct Case {
        D3DXVECTOR2 v;
    } const cases[] = {{{3, 4}}, {{-1, 0}}, {{0, 0}}, {{1e-20f, 0}}, {{-2.5f, 1e6f}}};
    for (Case const& k : cases) {
        EXPECT_EQ(D3DXVec2LengthSq(&k.v), k.v.x * k.v.x + k.v.y * k.v.y);
        D3DXVECTOR2 n;
        D3DXVec2Normalize(&n, &k.v);
        float const length = std::sqrt(k.v.x * k.v.x + k.v.y * k.v.y);
        D3DXVECTOR2 const expected = length > 0.0f ? D3DXVECTOR2(k.v.x / length, k.v.y / length) : D3DXVECTOR2();
        EXPECT_NEAR(n.x, expected.x, kEps);
        EXPECT_NEAR(n.y, expected.y, kEps);  // a zero vector normalises to zero
    }
}

TEST(D3DXMath, CatmullRomFollowsItsPolynomial) {
    // q(s) = 0.5 (2 p1 + (p2 - p0) s + (2 p0 - 5 p1 + 4 p2 - p3) s^2 + (3 p1 - p0 - 3 p2 + p3) s^3)
    auto spline = [](float p0, float p1, float p2, float p3, float s) {
        return 0.5f * (2 * p1 + (p2 - p0) * s + (2 * p0 - 5 * p1 + 4 * p2 - p3) * s * s +
                       (3 * p1 - p0 - 3 * p2 + p3) * s * s * s);
    };
    D3DXVECTOR4 const p0(0, 0, 5, 1), p1(1, 10, -1, 2), p2(2, 20, 4, 4), p3(3, 30, -3, 0);
    for (float s : {0.0f, 0.25f, 0.5f, 0.9f, 1.0f}) {
        SCOPED_TRACE(s);
        D3DXVECTOR4 out4;
        D3DXVec4CatmullRom(&out4, &p0, &p1, &p2, &p3, s);
        EXPECT_NEAR(out4.x, spline(p0.x, p1.x, p2.x, p3.x, s), kEps);
        EXPECT_NEAR(out4.y, spline(p0.y, p1.y, p2.y, p3.y, s), 1e-4f);
        EXPECT_NEAR(out4.z, spline(p0.z, p1.z, p2.z, p3.z, s), kEps);
        EXPECT_NEAR(out4.w, spline(p0.w, p1.w, p2.w, p3.w, s), kEps);
        D3DXVECTOR3 const a(p0.x, p0.y, p0.z), b(p1.x, p1.y, p1.z), c(p2.x, p2.y, p2.z), d(p3.x, p3.y, p3.z);
        D3DXVECTOR3 out3;
        D3DXVec3CatmullRom(&out3, &a, &b, &c, &d, s);
        EXPECT_NEAR(out3.y, out4.y, 1e-4f);
        EXPECT_NEAR(out3.z, out4.z, kEps);
    }
}

TEST(D3DXMath, ColourPackingClampsAndRounds) {
    EXPECT_EQ(static_cast<DWORD>(D3DXCOLOR(1.5f, 0.5f, -0.2f, 128.0f / 255.0f)), 0x80FF8000u);
    D3DXCOLOR unpacked(0x80402010u);
    EXPECT_FLOAT_EQ(unpacked.a, 128.0f / 255.0f);
    EXPECT_FLOAT_EQ(unpacked.r, 64.0f / 255.0f);
    EXPECT_FLOAT_EQ(unpacked.b, 16.0f / 255.0f);
    EXPECT_EQ(static_cast<DWORD>(unpacked), 0x80402010u);
    EXPECT_EQ(static_cast<DWORD>(D3DXCOLOR(NAN, 1.0f, 0.0f, 1.0f)), 0xFF00FF00u);  // NaN packs as 0
}

}  // namespace
