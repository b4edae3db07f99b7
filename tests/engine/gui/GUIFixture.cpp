// The GUI tests' screen, GUI system reset, window makers, mouse states and signal recorder.
#include "tests/engine/gui/GUIFixture.h"

#include <filesystem>

#include "engine/core/GOBManager.h"
#include "engine/core/Logger.h"
#include "engine/gui/D3DXFontInterface.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/SpriteHolder.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "engine/render/TextureManager.h"
#include "port/d3dx9/d3dx9tex.h"
#include "port/win32/win32_paths.h"
#include "port/win32/win32_text.h"
#include "tests/support/TestSupport.h"
#include "tests/support/gl/DeviceFixture.h"

namespace guitest {

namespace {

// Marks where a test's own log lines begin.
std::wstring const kLogMark = L"---- GUI test starts ----";

}  // namespace

Orvex::GUIWindow* makeWindow(std::wstring const& text) {
    Orvex::XMLNode root;
    EXPECT_TRUE(root.loadFromText(text, L"window.gui"));
    Orvex::XMLNode* node = root.getName() == L"WINDOW" ? &root : root.getChild(L"WINDOW");
    EXPECT_NE(node, nullptr);
    return node ? Orvex::GUISystem::createWindow(*node) : nullptr;
}

std::wstring windowNames(std::vector<Orvex::GUIWindow*> const& list) {
    std::wstring out;
    for (Orvex::GUIWindow* w : list) out += (out.empty() ? L"" : L" ") + w->getName();
    return out;
}

Orvex::GUIWindow* makeBox(std::wstring const& name, float x, float y, float w, float h) {
    auto* window = new Orvex::GUIWindow(name);
    window->setPixelRect(x, y, w, h);
    window->initDefaultState();
    return window;
}

void loadFile(std::wstring const& path) {
    Orvex::XMLNode root;
    EXPECT_TRUE(root.load(path)) << "missing " << std::string(path.begin(), path.end());
    Orvex::GUISystem::instance().loadTextures(root, path);
}

void loadText(std::wstring const& text, std::wstring const& source) {
    Orvex::XMLNode root;
    root.loadFromText(text, source);
    Orvex::GUISystem::instance().loadTextures(root, source);
}

Orvex::MouseState mouseAt(float x, float y, bool leftDown) {
    Orvex::MouseState state;
    state.x = x;
    state.y = y;
    state.setButtonDown(Orvex::OMB_LEFT, leftDown);
    return state;
}

int loggedCount(std::vector<std::wstring> const& texts) {
    std::deque<std::wstring> const lines = Orvex::Logger::getInstance().recentLines();
    int n = 0;
    for (auto it = lines.rbegin(); it != lines.rend() && it->find(kLogMark) == std::wstring::npos; ++it) {
        bool all = true;
        for (std::wstring const& t : texts) all = all && it->find(t) != std::wstring::npos;
        n += all ? 1 : 0;
    }
    return n;
}

void Recorder::watch(Orvex::GUIWindow& w) {
    w.focusGained.connect(this, &Recorder::onFocusGained);
    w.focusLost.connect(this, &Recorder::onFocusLost);
    w.activated.connect(this, &Recorder::onActivated);
    w.deactivated.connect(this, &Recorder::onDeactivated);
    w.leftClicked.connect(this, &Recorder::onLeftClicked);
    w.rightClicked.connect(this, &Recorder::onRightClicked);
    w.leftPressed.connect(this, &Recorder::onLeftPressed);
    w.rightPressed.connect(this, &Recorder::onRightPressed);
    w.leftReleased.connect(this, &Recorder::onLeftReleased);
    w.rightReleased.connect(this, &Recorder::onRightReleased);
    w.axisMoved.connect(this, &Recorder::onAxis);
    w.goalStarted.connect(this, &Recorder::onGoalStarted);
    w.goalReached.connect(this, &Recorder::onGoalReached);
    w.childAdding.connect(this, &Recorder::onChildAdding);
    w.childRemoving.connect(this, &Recorder::onChildRemoving);
    w.childAdded.connect(this, &Recorder::onChildAdded);
    w.childRemoved.connect(this, &Recorder::onChildRemoved);
}

std::wstring Recorder::joined() const {
    std::wstring out;
    for (std::wstring const& line : lines) out += (out.empty() ? L"" : L"; ") + line;
    return out;
}

void GUIFixture::SetUp() {
    // Again after a test that cleared the search paths (the game's fixture does when it stops).
    Orvex::GOBManager::getInstance().addSearchPath(port::windowsPath(testsupport::sourceDir().string()));
    setScreen(kScreenW, kScreenH);
    gui.clear();
    Orvex::GUISystem::setQualityStencil(false);
    Orvex::logInfo(kLogMark);
}

bool GUIFixture::openDevice(unsigned width, unsigned height) {
    Orvex::D3DInterface& d3d = Orvex::D3DInterface::getInstance();
    d3d.getInitParams() = Orvex::D3DInitParams();
    d3d.getInitParams().displayMode = D3DDISPLAYMODE{width, height, 60, D3DFMT_X8R8G8B8};
    d3d.getInitParams().setWindowed(true);
    return d3d.init();
}

bool GUIFixture::loadFonts(std::wstring const& fontFile) {
    Orvex::D3DXFontInterface& fonts = Orvex::D3DXFontInterface::instance();
    fonts.clearAll();
    fonts.setResourceSettleMs(0);
    if (!fonts.isReady()) fonts.initFonts();
    return fonts.loadFile(fontFile);
}

void GUIFixture::closeDevice() {
    Orvex::D3DXFontInterface::instance().clearAll();
    gui.setSprite(nullptr);
    Orvex::D3DInterface& d3d = Orvex::D3DInterface::getInstance();
    if (Orvex::SpriteHolder* sprites = d3d.findSprite()) sprites->release();
    releaseAnimations();
    d3d.getTextureManager().releaseAll();
    d3d.shutdown();
    d3d.getInitParams() = Orvex::D3DInitParams();
}

void GUIFixture::releaseAnimations() {
    Orvex::Texture2DAnimationManager& registry = Orvex::Texture2DAnimationManager::instance();
    registry.releaseAnimations();
    registry.getTextures().releaseAll();
}

std::vector<uint32_t> GUIFixture::shootScreen(std::string const& file, uint32_t clear, Orvex::GUIWindow* only) {
    IDirect3DDevice9* device = Orvex::D3DInterface::getInstance().getDevice();
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, clear, 1.0f, 0);
    device->BeginScene();
    if (only)
        only->drawRoot(true);
    else
        gui.draw();
    device->EndScene();
    if (!file.empty()) {
        IDirect3DSurface9* back = nullptr;
        device->GetRenderTarget(0, &back);
        std::wstring const path = port::fromUtf8((std::filesystem::current_path() / file).string());
        EXPECT_EQ(D3DXSaveSurfaceToFile(path.c_str(), D3DXIFF_PNG, back, nullptr, nullptr), S_OK);
        back->Release();
    }
    return testsupport::readRenderTarget(device);
}

void GUIFixture::TearDown() {
    gui.clear();
    // GUI and tutorial files bring animation lists; the next test reads them afresh.
    releaseAnimations();
    // The GUI system keeps the pointer: later tests start from where a fresh one has it.
    Orvex::MouseState home = mouseAt(0, 0);
    gui.onMouseMove(home, Orvex::OA_MOUSE_X);
}

void GUIFixture::click(float x, float y) {
    Orvex::MouseState down = mouseAt(x, y, true);
    gui.onMouseDown(down, Orvex::OMB_LEFT);
    Orvex::MouseState up = mouseAt(x, y);
    gui.onMouseUp(up, Orvex::OMB_LEFT);
}

void GUIFixture::drag(float x0, float y0, float x1, float y1, Orvex::OrvexAchse axis) {
    Orvex::MouseState down = mouseAt(x0, y0, true);
    gui.onMouseDown(down, Orvex::OMB_LEFT);
    Orvex::MouseState moved = mouseAt(x1, y1, true);
    gui.onMouseMove(moved, axis);
    Orvex::MouseState up = mouseAt(x1, y1);
    gui.onMouseUp(up, Orvex::OMB_LEFT);
}

void GUIFixture::setScreen(unsigned w, unsigned h) {
    D3DDISPLAYMODE& mode = Orvex::D3DInterface::getInstance().getInitParams().displayMode;
    mode.Width = w;
    mode.Height = h;
}

}  // namespace guitest
