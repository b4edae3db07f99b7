// The GUI drawing tests' device, batcher and pictures.
#include "tests/engine/gui/GuiDrawFixture.h"

#include "engine/core/GOBManager.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindowDrawer.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/Effect.h"
#include "engine/render/Sprite.h"
#include "engine/render/SpriteHolder.h"
#include "engine/render/TextureManager.h"
#include "port/win32/win32_paths.h"
#include "tests/engine/gui/GuiTestSupport.h"
#include "tests/support/TestSupport.h"
#include "tests/support/gl/DeviceFixture.h"

namespace guitest {

using namespace Orvex;

void GuiDrawFixture::SetUp() {
    D3DInterface& d3d = D3DInterface::getInstance();
    d3d.shutdown();
    d3d.getInitParams() = D3DInitParams();
    d3d.getInitParams().displayMode = D3DDISPLAYMODE{kWidth, kHeight, 60, D3DFMT_X8R8G8B8};
    d3d.getInitParams().setWindowed(true);
    ASSERT_TRUE(d3d.init());
    std::wstring const source = port::windowsPath(testsupport::sourceDir().string());
    GOBManager::getInstance().addSearchPath(source);
    XMLNode list;
    ASSERT_TRUE(list.load(L"data\\GUI\\gui_textures.tex"));
    d3d.getTextureManager().loadTextures(list);
    ASSERT_NE(d3d.getTextureManager().findTexture(L"gui_white"), nullptr);

    Effect::useCompiledCache = 0;
    Effect::writeCompiledCache = 0;
    XMLNode definition = parse(L"<EFFECT NAME=\"Sprite\" PRE_COMPILE=\"0\"><FILE FILENAME=\"" + source +
                               L"\\data\\FX\\sprite.fx\" /><MACROS><MACRO NAME=\"SPRITE_POINT_FILTER\" "
                               L"DEFINITION=\"1\" /></MACROS></EFFECT>");
    effect = new Effect(false);
    ASSERT_TRUE(effect->load(definition));
    sprite = new Sprite();
    ASSERT_TRUE(sprite->create());
    sprite->setEffect(effect);
    GUISystem::instance().setSprite(sprite);
    GUISystem::setQualityStencil(false);
}

void GuiDrawFixture::TearDown() {
    GUISystem::instance().setSprite(nullptr);
    GUISystem::setQualityStencil(false);
    delete sprite;
    sprite = nullptr;
    if (effect) effect->release();
    effect = nullptr;
    Effect::useCompiledCache = 1;
    D3DInterface& d3d = D3DInterface::getInstance();
    if (SpriteHolder* sprites = d3d.findSprite()) sprites->release();
    d3d.getTextureManager().releaseAll();
    d3d.shutdown();
    d3d.getInitParams() = D3DInitParams();
}

GUIWindow* GuiDrawFixture::makeWindow(std::wstring const& name, FRect const& at, uint32_t colour, bool clips) {
    return dress(new GUIWindow(name), at, colour, clips);
}

GUIWindow* GuiDrawFixture::dress(GUIWindow* w, FRect const& at, uint32_t colour, bool clips) {
    GUIRect& r = w->getRect();
    r.position.offX = at.left;
    r.position.offY = at.top;
    r.size.offX = at.right - at.left;
    r.size.offY = at.bottom - at.top;
    w->getMaxSize() = GUIRectAxis{-1.0f, -1.0f, 0.0f, 0.0f, 0.0f, 0.0f};
    w->getDrawOptions().setTexNormal(D3DInterface::getInstance().getTextureManager().findTexture(L"gui_white"));
    w->getDrawOptions().modulateColor = colorFromARGB(colour);
    w->getOptions().drawInClientOnly = clips;
    w->updateRect(true, true);
    return w;
}

void GuiDrawFixture::adopt(GUIWindow* parent, GUIWindow* child) {
    ASSERT_TRUE(parent->addChild(child, true, true));
    child->updateRect(true, true);
}

std::vector<uint32_t> GuiDrawFixture::frame(GUIWindow& root) {
    IDirect3DDevice9* device = D3DInterface::getInstance().getDevice();
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, kClear, 1.0f, 0);
    device->BeginScene();
    root.drawRoot(true);
    device->EndScene();
    return testsupport::readRenderTarget(device);
}

int GuiDrawFixture::count(std::vector<uint32_t> const& pixels, uint32_t colour, unsigned x0, unsigned y0, unsigned x1,
                          unsigned y1) {
    int n = 0;
    for (unsigned y = y0; y < y1 && !pixels.empty(); ++y)
        for (unsigned x = x0; x < x1; ++x) n += pixels[y * kWidth + x] == colour;
    return n;
}

}  // namespace guitest
