// The "CAM_" console commands through the console, with their replies, saving cameras to a
// file and loading them back, argument completion, and broken camera files.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/core/Console.h"
#include "engine/core/XMLNode.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/Camera.h"
#include "engine/render/CameraManager.h"
#include "port/win32/win32_paths.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/support/TestSupport.h"

using Orvex::Camera;
using Orvex::CameraManager;
using Orvex::LookAtCamera;

namespace {

std::wstring run(std::wstring const& line) { return Orvex::Console::getInstance().execute(line); }

class CameraConsoleTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = testsupport::makeTempDir("cameras");
        for (wchar_t const* name : {L"links", L"rechts", L"oben"}) {
            auto* camera = new LookAtCamera(name);
            manager.addCamera(*camera);
            camera->release();
        }
    }
    void TearDown() override { manager.clear(); }

    LookAtCamera& camera(std::wstring const& name) { return static_cast<LookAtCamera&>(*manager.findCamera(name)); }
    std::wstring file(std::string const& name) const { return port::windowsPath((folder / name).string()); }

    CameraManager& manager = CameraManager::getInstance();
    std::filesystem::path folder;
};

TEST_F(CameraConsoleTest, CommandsReachTheListedCamerasByExactName) {
    struct Case {
        wchar_t const* line;
        wchar_t const* reply;
    };
    Case const cases[] = {
        {L"CAM_getAllCameraNames", L"links\nrechts\noben\n"},
        {L"cam_setactivecamera rechts", L"Camera ist Aktiv!"},
        {L"CAM_setActiveCamera Rechts", L"Camera nicht gefunden!"},
        {L"CAM_setActiveCamera", L"CAM_setActiveCamera Cameraname; macht Camera aktiv!"},
        {L"CAM_setEyePosition links 1 2 3", L"Camera auf Position 1 2 3 gesetzt!"},
        {L"CAM_setEyePosition links 1.5 -2 0.25", L"Camera auf Position 1.5 -2 0.25 gesetzt!"},
        {L"CAM_setEyePosition keine 1 2 3", L"Camera nicht gefunden!"},
        {L"CAM_setEyePosition links 1 2",
         L"CAM_setEyePosition Cameraname x y z; setzt die Camera auf die angegebene Position"},
        {L"CAM_getEyePosition links", L"Camera auf Position 1.5 -2 0.25"},
        {L"CAM_getEyePosition oben", L"Camera auf Position 0 0 -1"},
        {L"CAM_getEyePosition keine", L"Camera nicht gefunden!"},
        {L"CAM_getEyePosition", L"Zu wenige Argumente: CAM_getEyePosition"},
    };
    for (Case const& c : cases) EXPECT_EQ(run(c.line), c.reply) << std::wstring(c.line);
    EXPECT_EQ(manager.getActiveCamera(), manager.findCamera(L"rechts"));
    D3DXMATRIX expected;
    D3DXVECTOR3 const eye(1.5f, -2.0f, 0.25f), at(0, 0, 0), up(0, 1, 0);
    D3DXMatrixLookAtLH(&expected, &eye, &at, &up);
    EXPECT_TRUE(camera(L"links").getView() == expected) << "the eye moved and the view followed";
}

TEST_F(CameraConsoleTest, SavedCamerasLoadBack) {
    camera(L"links").setEyePosition(D3DXVECTOR3(1, 2, 3));
    camera(L"rechts").setLookAt(D3DXVECTOR3(4, 5, 6));
    camera(L"oben").setFov({70.0, 16.0 / 9.0, 0});
    std::wstring const all = file("alle.cam");
    std::wstring const one = file("oben.cam");
    EXPECT_EQ(run(L"CAM_saveCamera " + all), L"3 Cameras saved!");
    EXPECT_EQ(run(L"CAM_saveCamera " + one + L" oben"), L"1 Cameras saved!");
    std::string const bytes = testsupport::readFile(folder / "alle.cam");
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xFF) << "UTF-16 with a byte-order mark";
    EXPECT_EQ(static_cast<unsigned char>(bytes[1]), 0xFE);

    Orvex::XMLNode saved;
    ASSERT_TRUE(saved.load(all));
    EXPECT_EQ(saved.getName(), L"CAMERAS");
    ASSERT_EQ(saved.getChildCount(L"CAMERA"), 3u);
    EXPECT_EQ(saved.getChild(L"CAMERA", 2)->getAttributeString(L"NAME", L""), L"oben");

    D3DXMATRIX const projection = camera(L"oben").getProjection();
    camera(L"links").setEyePosition(D3DXVECTOR3(9, 9, 9));
    camera(L"rechts").setLookAt(D3DXVECTOR3(0, 0, 0));
    camera(L"oben").setFov({20.0, 1.0, 1});
    manager.removeCamera(*manager.findCamera(L"oben"));
    EXPECT_EQ(run(L"CAM_loadCamera " + all), L"3 Cameras loaded!");
    ASSERT_EQ(manager.getCameras().size(), 3u);
    EXPECT_EQ(run(L"CAM_getEyePosition links"), L"Camera auf Position 1 2 3");
    EXPECT_EQ(camera(L"rechts").getLookAt(), D3DXVECTOR3(4, 5, 6));
    EXPECT_EQ(manager.getCameras().back()->getName(), L"oben") << "an unlisted name becomes a new camera";
    D3DXMATRIX const& reread = camera(L"oben").getProjection();
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_NEAR(reread.m[r][c], projection.m[r][c], 1e-4);
}

TEST_F(CameraConsoleTest, AFailedSaveIsNotReportedAsSaved) {
    std::wstring const blocked = file("kein_ordner") + L"\\cams.cam";
    EXPECT_EQ(run(L"CAM_saveCamera " + blocked), L"Cameras nicht gespeichert: " + blocked);
}

TEST_F(CameraConsoleTest, BrokenCameraFilesLogOneLineAndLoadWhatTheyCan) {
    testsupport::writeFile(folder / "kaputt.cam",
                           "<CAMERAS>\n<CAMERA NAME=\"links\" ZNEAR=\"2\" ZFAR=\"40\"/>\n<CAMERA NAME=\"neu\" TYPE=\"ORBIT\"/>\n"
                           "<CAMERA NAME=\"rechts\" FOV=\"50\"/>\n<CAMERA NAME=\"oben\" FOV=\"30");
    {
        logtest::LogWatch watch;
        // The parser keeps the damaged last element as far as it got; the unknown type is skipped.
        EXPECT_EQ(run(L"CAM_loadCamera " + file("kaputt.cam")), L"3 Cameras loaded!");
        auto const errors = watch.errors();
        ASSERT_EQ(errors.size(), 2u);
        EXPECT_TRUE(logtest::contains(errors[0], L"kaputt.cam")) << errors[0];
        EXPECT_TRUE(logtest::contains(errors[0], L"line 5")) << errors[0];
        EXPECT_TRUE(logtest::contains(errors[1], L"\"ORBIT\"")) << errors[1];
    }
    double zn = 0, zf = 0;
    camera(L"links").getClipPlanes(zn, zf);
    EXPECT_EQ(zf, 40.0);
    EXPECT_NEAR(camera(L"rechts").getVerticalFovDegrees(), 50.0, 1e-9);
    EXPECT_EQ(manager.findCamera(L"neu"), nullptr);
    std::string many = "<CAMERAS>";
    for (unsigned i = 0; i < CameraManager::kMaxLoadedCameras + 50; ++i) many += "<CAMERA NAME=\"c" + std::to_string(i) + "\"/>";
    testsupport::writeFile(folder / "viele.cam", many + "</CAMERAS>");
    {
        logtest::LogWatch watch;
        run(L"CAM_loadCamera " + file("viele.cam"));
        EXPECT_EQ(manager.getCameras().size(), CameraManager::kMaxLoadedCameras);
        ASSERT_EQ(watch.errors().size(), 1u);
        EXPECT_TRUE(logtest::contains(watch.errors()[0], L"viele.cam\" at line 1: more than 1024 cameras"));
    }
    logtest::LogWatch watch;
    EXPECT_EQ(run(L"CAM_loadCamera " + file("fehlt.cam")), L"0 Cameras loaded!");
    ASSERT_EQ(watch.errors().size(), 1u);
    EXPECT_TRUE(logtest::contains(watch.errors()[0], L"fehlt.cam"));
}

TEST_F(CameraConsoleTest, CompletionOffersTheListedNames) {
    struct Case {
        wchar_t const* line;
        std::vector<std::wstring> offers;
    };
    Case const cases[] = {
        {L"CAM_setActiveCamera r", {L"rechts"}},
        {L"CAM_getEyePosition ", {L"links", L"rechts", L"oben"}},
        {L"CAM_setEyePosition o", {L"oben"}},
        {L"CAM_setEyePosition oben 1", {}},
        {L"CAM_saveCamera f.cam", {L"f.cam links", L"f.cam rechts", L"f.cam oben"}},
        {L"CAM_getAllCameraNames ", {}},
    };
    for (Case const& c : cases) {
        std::vector<std::wstring> offers;
        Orvex::Console::getInstance().complete(c.line, offers);
        EXPECT_EQ(offers, c.offers) << std::wstring(c.line);
    }
    manager.clear();
    std::vector<std::wstring> offers;
    Orvex::Console::getInstance().complete(L"CAM_setActiveCamera ", offers);
    EXPECT_TRUE(offers.empty());
    EXPECT_EQ(manager.getActiveCamera(), nullptr);
}

}  // namespace
