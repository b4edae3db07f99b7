// The render tests' device on the device object, and the helpers every render fixture shares.
#include "tests/engine/render/RenderFixture.h"

#include "engine/platform/D3DInterface.h"
#include "engine/render/Effect.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "engine/render/TextureManager.h"
#include "port/win32/HostPath.h"
#include "tests/support/TestSupport.h"

namespace rendertest {

std::wstring effectDefinition(std::wstring const& name, std::wstring const& path, std::wstring const& extra,
                              std::wstring const& attributes) {
    return L"<EFFECT NAME=\"" + name + L"\"" + attributes + L"><FILE FILENAME=\"" + path + L"\" />" + extra +
           L"</EFFECT>";
}

namespace {

// f(x, y) of one colour, or of texels row by row.
auto texelsOf(std::vector<uint32_t> const& texels, unsigned width) {
    return [&texels, width](UINT x, UINT y) {
        return texels.size() == 1 ? texels[0] : texels[static_cast<std::size_t>(y) * width + x];
    };
}

}  // namespace

void fillTexels(IDirect3DTexture9* texture, unsigned width, unsigned height, std::vector<uint32_t> const& texels) {
    testsupport::fillTexture(texture, width, height, texelsOf(texels, width));
}

void RenderFixture::SetUp() {
    Orvex::D3DInterface& d3d = Orvex::D3DInterface::getInstance();
    d3d.shutdown();
    d3d.getInitParams() = Orvex::D3DInitParams();
    d3d.getInitParams().displayMode = D3DDISPLAYMODE{width_, height_, 60, D3DFMT_X8R8G8B8};
    d3d.getInitParams().setWindowed(true);
    ASSERT_TRUE(d3d.init());
    Orvex::Effect::useCompiledCache = 0;
    folder = testsupport::makeTempDir("render");
}

void RenderFixture::TearDown() {
    // Nothing made on the device may outlive it.
    Orvex::Texture2DAnimationManager& registry = Orvex::Texture2DAnimationManager::instance();
    registry.releaseAnimations();
    registry.getTextures().releaseAll();
    Orvex::D3DInterface& d3d = Orvex::D3DInterface::getInstance();
    d3d.getTextureManager().releaseAll();
    Orvex::Effect::useCompiledCache = 1;
    d3d.shutdown();
    d3d.getInitParams() = Orvex::D3DInitParams();
}

IDirect3DDevice9* RenderFixture::device() const { return Orvex::D3DInterface::getInstance().getDevice(); }

void RenderFixture::clear(uint32_t colour) const {
    device()->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, colour, 1.0f, 0);
}

IDirect3DTexture9* RenderFixture::makeTexture(unsigned width, unsigned height,
                                              std::vector<uint32_t> const& texels) const {
    return testsupport::makeTexture(device(), width, height, texelsOf(texels, width));
}

std::wstring RenderFixture::write(std::string const& relative, std::string const& bytes) const {
    testsupport::writeFile(folder / relative, bytes);
    return pathOf(relative);
}

std::wstring RenderFixture::pathOf(std::string const& relative) const {
    return port::windowsPath((folder / relative).string());
}

Orvex::XMLNode RenderFixture::parse(std::wstring const& text) {
    Orvex::XMLNode node;
    EXPECT_TRUE(node.loadFromText(text));
    return node;
}

}  // namespace rendertest
