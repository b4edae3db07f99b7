// The texture tests' fixture and image writers.
#include "tests/engine/render/test_texture_fixture.h"

#include "engine/core/Logger.h"
#include "engine/render/TextureSettings.h"
#include "port/d3dx9/DxPixels.h"

namespace texturetest {

namespace {

void put16(std::string& s, unsigned v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
}
void put32(std::string& s, unsigned v) {
    put16(s, v & 0xFFFF);
    put16(s, v >> 16);
}

std::string bmpHeader(unsigned width, unsigned height, unsigned dataSize) {
    std::string s = "BM";
    put32(s, 54 + dataSize);
    put32(s, 0);
    put32(s, 54);
    put32(s, 40);
    put32(s, width);
    put32(s, height);
    put16(s, 1);
    put16(s, 24);
    put32(s, 0);
    put32(s, dataSize);
    put32(s, 2835);
    put32(s, 2835);
    put32(s, 0);
    put32(s, 0);
    return s;
}

}  // namespace

std::string bmp24(unsigned width, unsigned height, PixelFn const& pixel) {
    unsigned const pitch = (width * 3 + 3) & ~3u;
    std::string s = bmpHeader(width, height, pitch * height);
    for (unsigned row = 0; row < height; ++row) {
        unsigned const y = height - 1 - row;
        std::string line;
        for (unsigned x = 0; x < width; ++x) {
            uint32_t const c = pixel(x, y);
            line += static_cast<char>(c & 0xFF);
            line += static_cast<char>((c >> 8) & 0xFF);
            line += static_cast<char>((c >> 16) & 0xFF);
        }
        line.resize(pitch, '\0');
        s += line;
    }
    return s;
}

std::string bmpHeaderOnly(unsigned width, unsigned height) { return bmpHeader(width, height, 0); }

std::string png(unsigned width, unsigned height, PixelFn const& pixel) {
    port::dx::Image image;
    image.width = width;
    image.height = height;
    for (unsigned y = 0; y < height; ++y)
        for (unsigned x = 0; x < width; ++x) image.argb.push_back(pixel(x, y));
    std::vector<unsigned char> bytes;
    EXPECT_EQ(port::dx::encodeImage(D3DXIFF_PNG, image, bytes), S_OK);
    return std::string(bytes.begin(), bytes.end());
}

uint32_t quadrants(unsigned x, unsigned y) {
    static constexpr uint32_t kColours[4] = {0x00FF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFFFFu};
    return kColours[(x / 4) % 2 + 2 * ((y / 4) % 2)];
}

void TextureTest::SetUp() {
    RenderFixture::SetUp();
    if (HasFatalFailure()) return;
    Orvex::TextureModuleSettings::get() = Orvex::TextureModuleSettings();
    Orvex::setTextureTickCount(100000);
}

void TextureTest::TearDown() {
    RenderFixture::TearDown();
    Orvex::TextureModuleSettings::get() = Orvex::TextureModuleSettings();
}

bool TextureTest::logged(std::wstring const& text) {
    // The log keeps its last lines only; tests look for texts of their own (file and texture
    // names), so lines of earlier tests in the same process cannot match.
    for (std::wstring const& line : Orvex::Logger::getInstance().recentLines())
        if (line.find(text) != std::wstring::npos) return true;
    return false;
}

void TextureTest::drawFrame(IDirect3DTexture9* texture, float x, float y) {
    IDirect3DDevice9* device = this->device();
    ASSERT_NE(device, nullptr);
    ID3DXSprite* sprite = nullptr;
    ASSERT_EQ(D3DXCreateSprite(device, &sprite), D3D_OK);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0);
    device->BeginScene();
    sprite->Begin(0);
    D3DXVECTOR3 const position(x, y, 0.0f);
    sprite->Draw(texture, nullptr, nullptr, &position, 0xFFFFFFFFu);
    sprite->End();
    device->EndScene();
    sprite->Release();
}

uint32_t TextureTest::pixelOf(Orvex::Texture2D& texture, unsigned x, unsigned y) {
    D3DXCOLOR c;
    return texture.readPixel(c, x, y) ? static_cast<uint32_t>(static_cast<DWORD>(c)) : 0xDEADBEEFu;
}

std::vector<uint32_t> TextureTest::readAll(Orvex::Texture2D& texture) {
    std::vector<uint32_t> out;
    for (unsigned y = 0; y < texture.getHeight(); ++y)
        for (unsigned x = 0; x < texture.getWidth(); ++x) out.push_back(pixelOf(texture, x, y));
    return out;
}

}  // namespace texturetest
