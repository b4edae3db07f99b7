// The game object on a headless engine, for the game application's tests.
#include "tests/game/app/GameFixture.h"

#include <algorithm>

#include "engine/core/AppInfo.h"
#include "engine/core/GOBManager.h"
#include "engine/core/PerfTimer.h"
#include "engine/core/engine/OrvexEngine.h"
#include "engine/gui/GUIMenuManagerN.h"
#include "engine/gui/GUIMenuN.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/TutorialManager.h"
#include "engine/platform/D3DInterface.h"
#include "engine/platform/DirectInputInterface.h"
#include "engine/render/Effect.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "engine/render/TextureManager.h"
#include "game/app/Profil.h"
#include "game/app/ProfilManager.h"
#include "game/story/SolTutorialManager.h"
#include "game/story/StoryManager.h"
#include "port/d3dx9/d3dx9tex.h"
#include "port/win32/win32_paths.h"
#include "port/win32/windows.h"
#include "tests/support/TestSupport.h"
#include "tests/support/gl/DeviceFixture.h"

namespace apptest {

void GameFixture::start(unsigned w, unsigned h) {
    folder = testsupport::makeTempDir("game_data");
    files.write(folder);
    Orvex::GOBManager::getInstance().clear();
    Orvex::GOBManager::getInstance().addSearchPath(port::windowsPath(folder.string()));
    startEngine(w, h);
}

void GameFixture::startOn(std::filesystem::path const& root, unsigned w, unsigned h) {
    folder = root;
    Orvex::GOBManager::getInstance().clear();
    Orvex::GOBManager::getInstance().addSearchPath(port::windowsPath(root.string()));
    Orvex::GOBManager::getInstance().addSearchPath(port::windowsPath((root / "data").string()));
    startEngine(w, h);
}

void GameFixture::keepBackBuffer(std::string const& name) {
    std::filesystem::create_directories("screenshots");
    IDirect3DSurface9* back = nullptr;
    Orvex::D3DInterface::getInstance().getDevice()->GetRenderTarget(0, &back);
    if (!back) return;
    std::wstring const path = port::windowsPath((std::filesystem::current_path() / "screenshots" / name).string());
    D3DXSaveSurfaceToFileW(path.c_str(), D3DXIFF_PNG, back, nullptr, nullptr);
    back->Release();
}

void GameFixture::startEngine(unsigned w, unsigned h) {
    width = w;
    height = h;
    Orvex::Effect::useCompiledCache = 0;
    Orvex::Effect::writeCompiledCache = 0;
    // As the game's start: the profiles are saved in the user folder, so it must exist even in a
    // test process whose first test this is.
    Orvex::AppInfo::getInstance().createUserFolder();

    Orvex::OrvexEngine* engine = Orvex::OrvexEngine::getInstance();
    globals = new Solitaire::MyGlobals();
    engine->setUserGlobals(globals);
    globals->setGodCount(4);
    Orvex::D3DInitParams& params = Orvex::D3DInterface::getInstance().getInitParams();
    params = Orvex::D3DInitParams();
    params.displayMode = D3DDISPLAYMODE{w, h, 60, D3DFMT_X8R8G8B8};
    params.setWindowed(true);
    Orvex::DirectInputInterface::getInstance().getInitParams().useWinApi = 1;
    readSettings();
    ASSERT_TRUE(engine->init());
    globals->loadFrames();
    game = std::make_unique<Solitaire::SolitaireGame2>();
    ASSERT_EQ(game->isFullyConstructed(), expectConstructed);
    // Scenes start on their own as soon as a profile enters a screen: a test of something else
    // goes without them.
    if (!withStory) Solitaire::StoryManager::instance().clear();
    Solitaire::ProfilManager& profiles = Solitaire::ProfilManager::instance();
    if (withPlayer && game->isFullyConstructed() && !profiles.getActiveProfile()) {
        auto* player = new Solitaire::Profil(L"Spieler");
        player->buildCampaignTable();
        player->setShowTutorials(playerTutorials);
        profiles.addProfile(player);
    }
}

void GameFixture::stop() {
    game.reset();
    // The frame timer lives for the process: a pause screen a test left open must not stop the
    // game time of the next one.
    for (int slot = 0; slot < Orvex::PerfTimer::kPauseSlots; ++slot)
        Orvex::PerfTimer::frameTimer().setPause(slot, false);
    Solitaire::ProfilManager::instance().clear();
    Orvex::OrvexEngine* engine = Orvex::OrvexEngine::getInstance();
    Orvex::GUIMenuManagerN::instance().clear();
    Orvex::GUISystem::instance().clear();
    Orvex::TutorialManager::instance().clear();
    // Like the frame timer, the tutorial manager outlives the game: a strip left showing would
    // make the next game's tutorials wait behind it.
    Solitaire::SolTutorialManager::instance().clear();
    Orvex::Texture2DAnimationManager::instance().releaseAnimations();
    engine->shutdown();
    engine->setUserGlobals(nullptr);
    globals = nullptr;
    Orvex::D3DInterface::getInstance().getInitParams() = Orvex::D3DInitParams();
    Orvex::GOBManager::getInstance().clear();
}

void GameFixture::step(double realSeconds) {
    Orvex::PerfTimer::frameTimer().advance(realSeconds);
    game->update();
}

std::vector<uint32_t> GameFixture::frame() {
    game->draw();
    return testsupport::readRenderTarget(Orvex::D3DInterface::getInstance().getDevice());
}

void GameFixture::leaveStartScreen() {
    Orvex::GUIMenuManagerN& menus = Orvex::GUIMenuManagerN::instance();
    Orvex::GUIMenuN const* active = menus.getActiveMenu();
    if (active && active->getName() == L"STARTMENU") menus.activateMenu(L"HAUPTMENU", -1.0);
}

void GameFixture::showMenu(wchar_t const* name) {
    Orvex::GUIMenuManagerN& menus = Orvex::GUIMenuManagerN::instance();
    if (std::wstring(name) != L"STARTMENU") leaveStartScreen();
    // Leaving the start screen may have opened it already (the profile screen).
    Orvex::GUIMenuN const* active = menus.getActiveMenu();
    if (!active || active->getName() != name) ASSERT_TRUE(menus.activateMenu(name, -1.0));
    for (int i = 0; i < 5; ++i) step(0.1);
}

void GameFixture::pointerAt(float x, float y) {
    Orvex::DirectInputInterface& input = Orvex::DirectInputInterface::getInstance();
    input.mouseX = x;
    input.mouseY = y;
    POINT point{static_cast<LONG>(x), static_cast<LONG>(y)};
    ClientToScreen(Orvex::D3DInterface::getInstance().getWindow().getHWND(), &point);
    SetCursorPos(point.x, point.y);
}

Orvex::GUIWindow* GameFixture::find(std::wstring const& name) { return Solitaire::SolitaireGame2::findWindow(name); }

int GameFixture::lightPixelsIn(std::vector<uint32_t> const& pixels, std::wstring const& window) const {
    Orvex::GUIWindow const* found = find(window);
    return found ? lightPixelsIn(pixels, found->getScreenRect()) : 0;
}

int GameFixture::lightPixelsIn(std::vector<uint32_t> const& pixels, Orvex::FRect const& r) const {
    int light = 0;
    for (unsigned y = static_cast<unsigned>(std::max(r.top, 0.0f)); y < static_cast<unsigned>(std::max(r.bottom, 0.0f)) && y < height; ++y)
        for (unsigned x = static_cast<unsigned>(std::max(r.left, 0.0f)); x < static_cast<unsigned>(std::max(r.right, 0.0f)) && x < width; ++x) {
            uint32_t const c = at(pixels, x, y);
            light += ((c >> 16) & 0xFF) > 200 && ((c >> 8) & 0xFF) > 160;
        }
    return light;
}

}  // namespace apptest
