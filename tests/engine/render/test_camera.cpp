// Cameras: the view and projection against the left-handed look-at and perspective definitions
// (written out here), the field of view on wide screens and before the device exists, zoom,
// the derived matrices and their signals, copies, and reading back what was written.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>

#include "engine/core/XMLNode.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/Camera.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/engine/render/RenderFixture.h"
#include "tests/support/gl/TestMatrices.h"

using Orvex::Camera;
using Orvex::LookAtCamera;

namespace {

struct V3 {
    double x, y, z;
};
V3 sub(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
double dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
V3 cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
V3 unit(V3 a) {
    double const l = std::sqrt(dot(a, a));
    return {a.x / l, a.y / l, a.z / l};
}

using M4 = double[4][4];

// Left-handed look-at: z = unit(at - eye), x = unit(up x z), y = z x x; the rows hold the axes
// as columns and the last row is -(x.eye, y.eye, z.eye).
void lookAtLH(M4& m, V3 eye, V3 at, V3 up) {
    V3 const z = unit(sub(at, eye));
    V3 const x = unit(cross(up, z));
    V3 const y = cross(z, x);
    double const rows[4][4] = {{x.x, y.x, z.x, 0},
                               {x.y, y.y, z.y, 0},
                               {x.z, y.z, z.z, 0},
                               {-dot(x, eye), -dot(y, eye), -dot(z, eye), 1}};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) m[r][c] = rows[r][c];
}

// Left-handed perspective: yScale = cot(fovY / 2), xScale = yScale / aspect,
// m33 = zf / (zf - zn), m34 = 1, m43 = -zn zf / (zf - zn).
void perspectiveFovLH(M4& m, double fovY, double aspect, double zn, double zf) {
    double const yScale = 1.0 / std::tan(fovY / 2.0);
    double const rows[4][4] = {{yScale / aspect, 0, 0, 0},
                               {0, yScale, 0, 0},
                               {0, 0, zf / (zf - zn), 1},
                               {0, 0, -zn * zf / (zf - zn), 0}};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) m[r][c] = rows[r][c];
}

::testing::AssertionResult sameMatrix(D3DXMATRIX const& actual, M4 const& expected, double tolerance = 1e-5) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (std::fabs(actual.m[r][c] - expected[r][c]) > tolerance * std::max(1.0, std::fabs(expected[r][c])))
                return ::testing::AssertionFailure() << "element " << r + 1 << c + 1 << " is " << actual.m[r][c]
                                                     << ", expected " << expected[r][c];
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult near3(D3DXVECTOR3 const& v, double x, double y, double z) {
    if (std::fabs(v.x - x) < 1e-4 && std::fabs(v.y - y) < 1e-4 && std::fabs(v.z - z) < 1e-4)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << v.x << ", " << v.y << ", " << v.z << ") instead of (" << x << ", "
                                         << y << ", " << z << ")";
}

constexpr double kRadians = 3.14159265358979323846 / 180.0;

// Cameras made by the test, released at its end; the display mode is set per test.
class CameraTest : public ::testing::Test {
protected:
    void SetUp() override { saved_ = d3d().getInitParams().displayMode; }
    void TearDown() override {
        for (Camera* camera : cameras_) camera->release();
        d3d().getInitParams().displayMode = saved_;
    }
    static Orvex::D3DInterface& d3d() { return Orvex::D3DInterface::getInstance(); }
    static void screen(unsigned width, unsigned height) {
        d3d().getInitParams().displayMode.Width = width;
        d3d().getInitParams().displayMode.Height = height;
    }
    LookAtCamera* camera(std::wstring const& name = L"cam") {
        auto* made = new LookAtCamera(name);
        cameras_.push_back(made);
        return made;
    }
    Camera* keep(Camera* made) {
        cameras_.push_back(made);
        return made;
    }

private:
    D3DDISPLAYMODE saved_{};
    std::vector<Camera*> cameras_;
};

struct Listener : sigslot::has_slots<> {
    int projection = 0, view = 0, changed = 0;
    void onProjection(Camera&) { ++projection; }
    void onView(Camera&) { ++view; }
    void onChanged(Camera&) { ++changed; }
    void listen(Camera& camera) {
        camera.projectionChanged.connect(this, &Listener::onProjection);
        camera.viewChanged.connect(this, &Listener::onView);
        camera.changed.connect(this, &Listener::onChanged);
    }
};

TEST_F(CameraTest, ViewIsTheLeftHandedLookAtOfEyeTargetAndUp) {
    struct Case {
        V3 eye, at, up;
    };
    Case const cases[] = {
        {{0, 0, -1}, {0, 0, 0}, {0, 1, 0}},
        {{3, 4, -5}, {0, 1, 2}, {0, 1, 0}},
        {{-2, 10, 0.5}, {1, -1, 1}, {0, 0, 1}},
        {{7, -3, 2}, {7, -3, 12}, {1, 1, 0}},
    };
    for (Case const& c : cases) {
        LookAtCamera* cam = camera();
        cam->setUp(D3DXVECTOR3(float(c.up.x), float(c.up.y), float(c.up.z)));
        cam->setLookAt(D3DXVECTOR3(float(c.at.x), float(c.at.y), float(c.at.z)));
        cam->setEyePosition(D3DXVECTOR3(float(c.eye.x), float(c.eye.y), float(c.eye.z)));
        M4 expected;
        lookAtLH(expected, c.eye, c.at, c.up);
        EXPECT_TRUE(sameMatrix(cam->getView(), expected));
        // Camera-to-world undoes the view: its translation is the eye, and the base camera's
        // look-at point lies one unit ahead of the eye.
        EXPECT_TRUE(near3(cam->getPosition(), c.eye.x, c.eye.y, c.eye.z));
        V3 const ahead = unit(sub(c.at, c.eye));
        EXPECT_TRUE(near3(cam->Camera::getLookAt(), c.eye.x + ahead.x, c.eye.y + ahead.y, c.eye.z + ahead.z));
    }
}

TEST_F(CameraTest, AFreshLookAtCameraSitsInFrontOfTheOrigin) {
    LookAtCamera* cam = camera();
    EXPECT_TRUE(near3(cam->getPosition(), 0, 0, -1));
    EXPECT_TRUE(near3(cam->getEyePosition(), 0, 0, -1));
    EXPECT_TRUE(near3(cam->getLookAt(), 0, 0, 0));
    EXPECT_TRUE(near3(cam->getUp(), 0, 1, 0));
    // The base camera's up is a point: one unit above the eye.
    EXPECT_TRUE(near3(cam->Camera::getUp(), 0, 1, -1));
}

TEST_F(CameraTest, ProjectionIsTheLeftHandedPerspectiveOfTheVerticalAngle) {
    struct Case {
        char const* what;
        unsigned width, height;
        Camera::FOV fov;
        double vertical;  // degrees
    };
    Case const cases[] = {
        {"fixed 90 on 16:9", 1920, 1080, {90.0, 1.0, 1}, 90.0},
        {"free 90 for 4:3 on 16:9 widens to 120", 1920, 1080, {90.0, 4.0 / 3.0, 0}, 120.0},
        {"free 90 for 4:3 on 4:3", 1024, 768, {90.0, 4.0 / 3.0, 0}, 90.0},
        {"free 60 for 16:9 on 4:3 narrows", 1600, 1200, {60.0, 16.0 / 9.0, 0}, 45.0},
        {"free 120 for 4:3 on 32:9 would pass 180", 3840, 1080, {120.0, 4.0 / 3.0, 0}, Camera::kMaxFovDegrees},
        {"fixed 200 is kept below 180", 1024, 768, {200.0, 1.0, 1}, Camera::kMaxFovDegrees},
        {"fixed 0.01 is kept above 0", 1024, 768, {0.01, 1.0, 1}, Camera::kMinFovDegrees},
    };
    for (Case const& c : cases) {
        screen(c.width, c.height);
        LookAtCamera* cam = camera();
        ASSERT_TRUE(cam->setFov(c.fov)) << c.what;
        double const aspect = double(c.width) / c.height;
        EXPECT_FLOAT_EQ(cam->getAspect(), float(aspect)) << c.what;
        EXPECT_NEAR(cam->getVerticalFovDegrees(), c.vertical, 1e-5) << c.what;
        M4 expected;
        perspectiveFovLH(expected, c.vertical * kRadians, aspect, 0.1, 100.0);
        EXPECT_TRUE(sameMatrix(cam->getProjection(), expected, 1e-4)) << c.what;
        EXPECT_GT(cam->getProjection()._22, 0.0f) << c.what << ": the picture must not turn over";
    }
}

TEST_F(CameraTest, AScreenWithoutSizeKeepsThePreviousAspect) {
    screen(0, 0);
    LookAtCamera* early = camera();
    EXPECT_FLOAT_EQ(early->getAspect(), 1.0f);
    EXPECT_TRUE(std::isfinite(early->getProjection()._11));
    screen(1600, 900);
    early->buildProjection();
    screen(1600, 0);
    early->buildProjection();
    EXPECT_FLOAT_EQ(early->getAspect(), 16.0f / 9.0f);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_TRUE(std::isfinite(early->getProjection().m[r][c]));
}

TEST_F(CameraTest, DeviceResetRebuildsTheProjectionForTheNewMode) {
    screen(1024, 768);
    LookAtCamera* cam = camera();
    cam->setFov({90.0, 4.0 / 3.0, 0});
    Listener listener;
    listener.listen(*cam);
    screen(1920, 1080);
    d3d().signalDeviceReset.emit();
    EXPECT_EQ(listener.projection, 1);
    EXPECT_EQ(listener.view, 0);
    EXPECT_NEAR(cam->getVerticalFovDegrees(), 120.0, 1e-5);
    M4 expected;
    perspectiveFovLH(expected, 120.0 * kRadians, 16.0 / 9.0, 0.1, 100.0);
    EXPECT_TRUE(sameMatrix(cam->getProjection(), expected, 1e-4));
}

TEST_F(CameraTest, MatricesAreDerivedOnceAndAnnouncedByWhatChanged) {
    screen(800, 600);
    LookAtCamera* cam = camera();
    Listener listener;
    listener.listen(*cam);
    cam->updateMatrices();
    EXPECT_EQ(listener.changed, 0) << "nothing was dirty";
    cam->setEyePosition(D3DXVECTOR3(1, 2, -3));
    EXPECT_EQ(listener.view, 1);
    EXPECT_EQ(listener.projection, 0);
    EXPECT_EQ(listener.changed, 1);
    cam->buildProjection();
    EXPECT_EQ(listener.projection, 1);
    EXPECT_EQ(listener.changed, 2);

    D3DXMATRIX const product = cam->getView() * cam->getProjection();
    D3DXMATRIX const identity = cam->getViewProjection() * cam->getInverseViewProjection();
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            EXPECT_NEAR(cam->getViewProjection().m[r][c], product.m[r][c], 1e-5);
            EXPECT_NEAR(identity.m[r][c], r == c ? 1.0 : 0.0, 1e-4);
        }
}

TEST_F(CameraTest, AnEyeOnTheTargetLeavesTheDerivedMatricesUsable) {
    LookAtCamera* cam = camera();
    cam->setEyePosition(D3DXVECTOR3(0, 0, 0));  // onto the look-at point
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_FALSE(std::isnan(cam->getCameraToWorld().m[r][c]));
}

TEST_F(CameraTest, ZoomScalesTheVerticalAngleWithinTheExtrema) {
    screen(1920, 1080);
    struct Step {
        double factor;
        double vertical;
    };
    // Free records for 4:3: 90 -> 120 on 16:9, extrema 30 and 120 -> 40 and 160.
    LookAtCamera* cam = camera();
    ASSERT_TRUE(cam->setFov({90.0, 4.0 / 3.0, 0}));
    ASSERT_TRUE(cam->setFovExtrema({30.0, 4.0 / 3.0, 0}, {120.0, 4.0 / 3.0, 0}));
    Step const steps[] = {{2.0, 60.0}, {1.0, 60.0}, {2.0, 40.0}, {0.5, 80.0}, {0.25, 160.0}, {0.0, 160.0},
                          {-1.0, 160.0}, {std::nan(""), 160.0}, {1.6, 100.0}};
    for (Step const& step : steps) {
        EXPECT_NEAR(cam->zoom(step.factor), step.vertical, 1e-5) << "factor " << step.factor;
        M4 expected;
        perspectiveFovLH(expected, step.vertical * kRadians, 16.0 / 9.0, 0.1, 100.0);
        EXPECT_TRUE(sameMatrix(cam->getProjection(), expected, 1e-4)) << "factor " << step.factor;
    }
    // The zoomed angle is stored for 4:3 and widens with the screen as before.
    screen(1024, 768);
    cam->buildProjection();
    EXPECT_NEAR(cam->getVerticalFovDegrees(), 75.0, 1e-5);
}

TEST_F(CameraTest, UnusableSettingsAreRefused) {
    LookAtCamera* cam = camera();
    D3DXMATRIX const before = cam->getProjection();
    EXPECT_FALSE(cam->setFov({-10.0, 1.0, 1}));
    EXPECT_FALSE(cam->setFov({90.0, 0.0, 0}));
    EXPECT_FALSE(cam->setClipPlanes(1.0, 1.0));
    EXPECT_FALSE(cam->setClipPlanes(0.0, 10.0));
    EXPECT_FALSE(cam->setClipPlanes(1.0, std::nan("")));
    // Planes a float projection cannot take: beyond float range, one plane as floats, a depth
    // term that overflows.
    EXPECT_FALSE(cam->setClipPlanes(1.0, 1e39));
    EXPECT_FALSE(cam->setClipPlanes(1.0, 1.00000001));
    EXPECT_FALSE(cam->setClipPlanes(1e20, 1e30));
    EXPECT_FALSE(cam->setClipPlanes(1e-46, 1.0));
    EXPECT_TRUE(cam->getProjection() == before);
    EXPECT_TRUE(cam->setClipPlanes(1.0, 50.0));
    M4 expected;
    perspectiveFovLH(expected, 90.0 * kRadians, cam->getAspect(), 1.0, 50.0);
    EXPECT_TRUE(sameMatrix(cam->getProjection(), expected, 1e-4));
}

TEST_F(CameraTest, ACloneCopiesTheCameraAndItsListenersButNotTheDevice) {
    screen(1024, 768);
    LookAtCamera* cam = camera();
    cam->setEyePosition(D3DXVECTOR3(5, 5, -5));
    Listener listener;
    listener.listen(*cam);
    auto* copy = static_cast<LookAtCamera*>(keep(cam->clone()));
    EXPECT_EQ(copy->getName(), cam->getName());
    EXPECT_NE(copy->getId(), cam->getId());
    EXPECT_TRUE(copy->getView() == cam->getView());
    copy->setEyePosition(D3DXVECTOR3(1, 1, -1));
    EXPECT_EQ(listener.view, 1) << "listeners of the source listen to the copy";
    EXPECT_TRUE(near3(cam->getEyePosition(), 5, 5, -5));
    screen(1920, 1080);
    d3d().signalDeviceReset.emit();
    EXPECT_FLOAT_EQ(cam->getAspect(), 16.0f / 9.0f);
    EXPECT_FLOAT_EQ(copy->getAspect(), 4.0f / 3.0f) << "the copy does not listen to the device";
}

TEST_F(CameraTest, WrittenCamerasReadBackToTheSameProjectionAndView) {
    screen(1024, 768);
    LookAtCamera* cam = camera(L"Tisch");
    cam->setFov({60.0, 16.0 / 9.0, 0});
    cam->setFovExtrema({20.0, 1.0, 1}, {100.0, 16.0 / 9.0, 0});
    cam->setClipPlanes(0.5, 250.0);
    cam->setLookAt(D3DXVECTOR3(1, 2, 3));
    cam->setUp(D3DXVECTOR3(0, 0, 1));
    cam->setEyePosition(D3DXVECTOR3(-4, 5.5f, 6));

    Orvex::XMLNode node(L"CAMERA");
    cam->writeXML(node);
    EXPECT_EQ(node.getAttributeString(L"TYPE", L""), L"LOOKAT");
    EXPECT_NEAR(node.getAttributeDouble(L"FOV", 0), 45.0, 1e-3) << "a free angle is written for 4:3";
    EXPECT_EQ(node.getAttributeString(L"FOV_EXTREMA", L""), L"20 75");
    EXPECT_EQ(node.getAttributeString(L"FOV_FIXED", L""), L"0 1 0");

    LookAtCamera* back = camera(L"other");
    back->readXML(node);
    EXPECT_EQ(back->getName(), L"Tisch");
    for (unsigned const width : {1024u, 1920u, 3840u}) {
        screen(width, 1080);
        cam->buildProjection();
        back->buildProjection();
        M4 expected;
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c) expected[r][c] = cam->getProjection().m[r][c];
        EXPECT_TRUE(sameMatrix(back->getProjection(), expected, 1e-4)) << width;
    }
    EXPECT_TRUE(near3(back->getEyePosition(), -4, 5.5, 6));
    EXPECT_TRUE(near3(back->getLookAt(), 1, 2, 3));
    EXPECT_TRUE(near3(back->getUp(), 0, 0, 1));
    M4 view;
    lookAtLH(view, {-4, 5.5, 6}, {1, 2, 3}, {0, 0, 1});
    EXPECT_TRUE(sameMatrix(back->getView(), view));
    back->zoom(100.0);
    EXPECT_NEAR(back->getVerticalFovDegrees(), 20.0, 1e-5) << "the extrema came back too";
}

TEST_F(CameraTest, UnusableValuesInACameraElementAreNamedInOneLineAndKept) {
    LookAtCamera* cam = camera(L"Held");
    Orvex::XMLNode node;
    ASSERT_TRUE(node.loadFromText(L"\n<CAMERA FOV=\"-5\" ZNEAR=\"20\" ZFAR=\"10\" FOV_EXTREMA=\"abc\">"
                                  L"<POSITION_EYE X=\"1e999\" Y=\"2\" Z=\"-3\"/></CAMERA>"));
    logtest::LogWatch watch;
    cam->readXML(node);
    auto const errors = watch.errors();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(logtest::contains(errors[0], L"Camera \"Held\" at line 2:"));
    EXPECT_TRUE(logtest::contains(errors[0], L"\"FOV\""));
    EXPECT_TRUE(logtest::contains(errors[0], L"\"ZNEAR\" not below \"ZFAR\""));
    EXPECT_NEAR(cam->getVerticalFovDegrees(), 90.0, 1e-5);
    double zn = 0, zf = 0;
    cam->getClipPlanes(zn, zf);
    EXPECT_EQ(zn, 0.1);
    EXPECT_EQ(zf, 100.0);
    EXPECT_TRUE(near3(cam->getEyePosition(), 0, 2, -3));
    // Planes in order but past float range keep the present ones and a finite projection.
    ASSERT_TRUE(node.loadFromText(L"<CAMERA ZNEAR=\"1\" ZFAR=\"1e39\"/>"));
    cam->readXML(node);
    cam->getClipPlanes(zn, zf);
    EXPECT_EQ(zf, 100.0);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_TRUE(std::isfinite(cam->getProjection().m[r][c]));
    EXPECT_EQ(watch.errors().size(), 2u);
}

}  // namespace

namespace rendertest {
namespace {

using CameraDeviceTest = RenderFixture;

TEST_F(CameraDeviceTest, ApplySetsTheMatricesAndAResetOfTheDeviceReshapesTheProjection) {
    auto* cam = new LookAtCamera(L"Gerät");
    cam->setEyePosition(D3DXVECTOR3(2, 3, -4));
    EXPECT_FLOAT_EQ(cam->getAspect(), float(kWidth) / kHeight);
    D3DXMATRIX const world = testsupport::translationMatrix(1, 2, 3);
    cam->setWorld(world);
    cam->apply();
    D3DMATRIX read{};
    ASSERT_EQ(device()->GetTransform(D3DTS_PROJECTION, &read), D3D_OK);
    EXPECT_EQ(0, std::memcmp(&read, &cam->getProjection(), sizeof read));
    ASSERT_EQ(device()->GetTransform(D3DTS_VIEW, &read), D3D_OK);
    EXPECT_EQ(0, std::memcmp(&read, &cam->getView(), sizeof read));
    ASSERT_EQ(device()->GetTransform(D3DTS_WORLD, &read), D3D_OK);
    EXPECT_EQ(0, std::memcmp(&read, &world, sizeof read));

    D3DDISPLAYMODE wide = Orvex::D3DInterface::getInstance().getDisplayMode();
    wide.Width = 2 * kHeight;
    ASSERT_TRUE(Orvex::D3DInterface::getInstance().setDisplayMode(wide, false, false));
    EXPECT_FLOAT_EQ(cam->getAspect(), 2.0f) << "rebuilt on the device's reset";
    cam->release();
}

}  // namespace
}  // namespace rendertest
