// Shared parts of the effect tests: the user folder and compiled cache, captured message boxes,
// quads drawn through an effect.
#include "tests/engine/render/test_effect_fixture.h"

#include "engine/core/AppInfo.h"
#include "port/win32/HostPath.h"
#include "port/win32/log.h"
#include "tests/support/TestSupport.h"

namespace effecttest {

void EffectTest::SetUp() {
    RenderFixture::SetUp();
    if (HasFatalFailure()) return;
    // The user folder was resolved at static initialisation, before the test main pointed
    // XDG_DATA_HOME at this process's temporary home: resolve it again.
    Orvex::AppInfo::getInstance().setUserFolderKind(Orvex::AppInfo::USER_FOLDER_APPDATA);
    ASSERT_NE(Orvex::AppInfo::getInstance().getUserFolder().find(port::windowsPath(testsupport::homeDir().string())),
              std::wstring::npos);
    Orvex::AppInfo::getInstance().createUserFolder();
    Orvex::Effect::writeCompiledCache = 1;
    port::setLogSink([this](port::LogLevel, std::wstring const& line) { logLines.push_back(line); });
}

void EffectTest::TearDown() {
    port::setLogSink({});
    manager.clear();
    RenderFixture::TearDown();
}

std::vector<std::wstring> EffectTest::takeBoxes() {
    std::vector<std::wstring> boxes;
    for (std::wstring const& line : logLines)
        if (line.rfind(L"MessageBox ", 0) == 0) boxes.push_back(line);
    logLines.clear();
    return boxes;
}

void EffectTest::drawQuads(ID3DXEffect& effect, char const* technique, std::vector<SpriteVertex> const& vertices,
                           DWORD fvf) const {
    std::vector<SpriteVertex> triangles;
    for (size_t q = 0; q + 3 < vertices.size(); q += 4)
        for (int i : {0, 1, 2, 1, 3, 2}) triangles.push_back(vertices[q + i]);
    device()->SetFVF(fvf);
    ASSERT_EQ(effect.SetTechnique(technique), S_OK) << technique;
    UINT passes = 0;
    ASSERT_EQ(effect.Begin(&passes, 0), S_OK);
    for (UINT pass = 0; pass < passes; ++pass) {
        effect.BeginPass(pass);
        device()->DrawPrimitiveUP(D3DPT_TRIANGLELIST, static_cast<UINT>(triangles.size() / 3), triangles.data(),
                                  sizeof(SpriteVertex));
        effect.EndPass();
    }
    effect.End();
}

std::vector<SpriteVertex> EffectTest::quad2D(float left, float top, float right, float bottom, uint32_t diffuse,
                                             float slot) {
    return {{left, top, 0, 1, diffuse, 0, 0, slot, {0, 0, 0, 0}},
            {right, top, 0, 1, diffuse, 1, 0, slot, {0, 0, 0, 0}},
            {left, bottom, 0, 1, diffuse, 0, 1, slot, {0, 0, 0, 0}},
            {right, bottom, 0, 1, diffuse, 1, 1, slot, {0, 0, 0, 0}}};
}

}  // namespace effecttest
