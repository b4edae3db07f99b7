// Texture loading from image files in memory (BMP, TGA, PNG, JPEG and DDS with DXT1/DXT5, all
// built here), sizes, levels, formats and colour keys as asked, surface copies and saving.
#include "port/d3dx9/DxPixels.h"
#include "port/d3dx9/d3dx9.h"
#include "tests/support/gl/DeviceFixture.h"
#include "tests/support/TestSupport.h"
#include "port/win32/HostPath.h"

#include <string>

namespace {

using testsupport::colorNear;

using Bytes = std::string;

void put16(Bytes& b, uint32_t v) {
    b += static_cast<char>(v & 0xFF);
    b += static_cast<char>((v >> 8) & 0xFF);
}
void put32(Bytes& b, uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

// A 24-bit bottom-up BMP of ARGB pixels (alpha dropped).
Bytes makeBmp(UINT w, UINT h, std::vector<uint32_t> const& argb) {
    UINT rowBytes = (w * 3 + 3) & ~3u;
    Bytes b = "BM";
    put32(b, 54 + rowBytes * h);
    put32(b, 0);
    put32(b, 54);
    put32(b, 40);
    put32(b, w);
    put32(b, h);
    put16(b, 1);
    put16(b, 24);
    put32(b, 0);
    put32(b, rowBytes * h);
    put32(b, 2835);
    put32(b, 2835);
    put32(b, 0);
    put32(b, 0);
    for (UINT y = h; y-- > 0;) {
        for (UINT x = 0; x < w; ++x) {
            uint32_t c = argb[y * w + x];
            b += static_cast<char>(c & 0xFF);
            b += static_cast<char>((c >> 8) & 0xFF);
            b += static_cast<char>((c >> 16) & 0xFF);
        }
        b.append(rowBytes - w * 3, '\0');
    }
    return b;
}

// A 32-bit top-down TGA.
Bytes makeTga(UINT w, UINT h, std::vector<uint32_t> const& argb) {
    Bytes b(12, '\0');
    b[2] = 2;
    put16(b, w);
    put16(b, h);
    b += static_cast<char>(32);
    b += static_cast<char>(0x28);
    for (uint32_t c : argb) put32(b, c);  // B, G, R, A in memory
    return b;
}

// PNG and JPEG through the port's own encoder (the one the save functions use).
Bytes encode(D3DXIMAGE_FILEFORMAT format, UINT w, UINT h, std::vector<uint32_t> const& argb, int quality = 90) {
    std::vector<unsigned char> bytes;
    EXPECT_EQ(port::dx::encodeImage(format, port::dx::Image{w, h, argb}, bytes, quality), S_OK);
    return Bytes(bytes.begin(), bytes.end());
}
Bytes makePng(UINT w, UINT h, std::vector<uint32_t> const& argb) { return encode(D3DXIFF_PNG, w, h, argb); }
Bytes makeJpeg(UINT w, UINT h, std::vector<uint32_t> const& argb) { return encode(D3DXIFF_JPG, w, h, argb, 100); }

// A DDS file with one level of DXT blocks.
Bytes makeDds(UINT w, UINT h, char const* fourCC, Bytes const& blocks) {
    Bytes b = "DDS ";
    put32(b, 124);
    put32(b, 0x1 | 0x2 | 0x4 | 0x1000 | 0x80000);
    put32(b, h);
    put32(b, w);
    put32(b, static_cast<uint32_t>(blocks.size()));
    put32(b, 0);
    put32(b, 0);
    b.append(44, '\0');
    put32(b, 32);
    put32(b, 0x4);
    b.append(fourCC, 4);
    b.append(20, '\0');
    put32(b, 0x1000);
    b.append(16, '\0');
    return b + blocks;
}

Bytes bytes(std::initializer_list<int> values) {
    Bytes b;
    for (int v : values) b += static_cast<char>(v);
    return b;
}

std::vector<uint32_t> const kPixels = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF, 0xFF000000, 0xFF808080};

class TextureTest : public testsupport::DeviceFixture {
protected:
    IDirect3DTexture9* load(Bytes const& file, UINT w = D3DX_DEFAULT_NONPOW2, UINT h = D3DX_DEFAULT_NONPOW2,
                            UINT levels = 1, DWORD filter = D3DX_FILTER_NONE, D3DCOLOR key = 0,
                            D3DXIMAGE_INFO* info = nullptr, D3DFORMAT format = D3DFMT_UNKNOWN) {
        IDirect3DTexture9* texture = nullptr;
        HRESULT hr = D3DXCreateTextureFromFileInMemoryEx(device, file.data(), static_cast<UINT>(file.size()), w, h,
                                                         levels, 0, format, D3DPOOL_MANAGED, filter, D3DX_FILTER_BOX,
                                                         key, info, nullptr, &texture);
        EXPECT_EQ(hr, S_OK);
        return texture;
    }
    D3DSURFACE_DESC desc(IDirect3DTexture9* t, UINT level = 0) {
        D3DSURFACE_DESC d{};
        t->GetLevelDesc(level, &d);
        return d;
    }
};

TEST_F(TextureTest, LoadsBmpTgaPngAndJpeg) {
    struct Case {
        char const* name;
        Bytes file;
        D3DFORMAT fileFormat;
        D3DXIMAGE_FILEFORMAT kind;
        int tolerance;
    } cases[] = {
        {"bmp", makeBmp(3, 2, kPixels), D3DFMT_R8G8B8, D3DXIFF_BMP, 0},
        {"tga", makeTga(3, 2, kPixels), D3DFMT_A8R8G8B8, D3DXIFF_TGA, 0},
        {"png", makePng(3, 2, kPixels), D3DFMT_A8R8G8B8, D3DXIFF_PNG, 0},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.name);
        D3DXIMAGE_INFO info{};
        ASSERT_EQ(D3DXGetImageInfoFromFileInMemory(c.file.data(), static_cast<UINT>(c.file.size()), &info), S_OK);
        EXPECT_EQ(info.Width, 3u);
        EXPECT_EQ(info.Height, 2u);
        EXPECT_EQ(info.Format, c.fileFormat);
        EXPECT_EQ(info.ImageFileFormat, c.kind);
        IDirect3DTexture9* t = load(c.file, D3DX_DEFAULT_NONPOW2, D3DX_DEFAULT_NONPOW2, 1, D3DX_FILTER_NONE, 0, &info);
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(desc(t).Width, 3u);
        EXPECT_EQ(desc(t).Height, 2u);
        EXPECT_EQ(info.Format, desc(t).Format);  // the format the texture really has
        auto pixels = readTexture(t);
        ASSERT_EQ(pixels.size(), 6u);
        for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(pixels[i], kPixels[i]) << i;
        t->Release();
    }
    // JPEG is lossy: a flat colour comes back close.
    std::vector<uint32_t> flat(16 * 16, 0xFF3366CC);
    IDirect3DTexture9* t = load(makeJpeg(16, 16, flat));
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(desc(t).Format, D3DFMT_X8R8G8B8);
    EXPECT_TRUE(colorNear(readTexture(t)[17], 0xFF3366CC, 4));
    t->Release();
}

TEST_F(TextureTest, DdsDxt1BothModes) {
    Bytes blocks = bytes({0x00, 0xF8, 0x1F, 0x00, 0x00, 0x55, 0xAA, 0xFF,    // red/blue, 4 colours
                          0x1F, 0x00, 0x00, 0xF8, 0xFF, 0xAA, 0x00, 0x00});  // c0 < c1: 3 colours + transparent
    Bytes file = makeDds(8, 4, "DXT1", blocks);
    D3DXIMAGE_INFO info{};
    ASSERT_EQ(D3DXGetImageInfoFromFileInMemory(file.data(), static_cast<UINT>(file.size()), &info), S_OK);
    EXPECT_EQ(info.Format, D3DFMT_DXT1);
    EXPECT_EQ(info.ImageFileFormat, D3DXIFF_DDS);
    IDirect3DTexture9* t = load(file, D3DX_DEFAULT_NONPOW2, D3DX_DEFAULT_NONPOW2, 1, D3DX_FILTER_NONE, 0, &info);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(info.Format, D3DFMT_A8R8G8B8);
    auto p = readTexture(t);
    ASSERT_EQ(p.size(), 32u);
    EXPECT_EQ(pixel(p, 0, 0, 8), 0xFFFF0000u);
    EXPECT_EQ(pixel(p, 3, 1, 8), 0xFF0000FFu);
    EXPECT_EQ(pixel(p, 1, 2, 8), 0xFFAA0055u);  // (2 red + blue) / 3
    EXPECT_EQ(pixel(p, 2, 3, 8), 0xFF5500AAu);  // (red + 2 blue) / 3
    EXPECT_EQ(pixel(p, 4, 0, 8), 0x00000000u);  // index 3 of the 3-colour mode
    EXPECT_EQ(pixel(p, 5, 1, 8), 0xFF7F007Fu);  // index 2: the middle
    EXPECT_EQ(pixel(p, 6, 2, 8), 0xFF0000FFu);
    EXPECT_EQ(pixel(p, 7, 3, 8), 0xFF0000FFu);
    t->Release();
}

TEST_F(TextureTest, DdsDxt5InterpolatedAlpha) {
    Bytes block = bytes({255, 0, 0x88, 0, 0, 0, 0, 0,  // alpha: 255, 0, 218 for the first three pixels
                         0xE0, 0x07, 0x00, 0x00, 0, 0, 0, 0});
    IDirect3DTexture9* t = load(makeDds(4, 4, "DXT5", block));
    ASSERT_NE(t, nullptr);
    auto p = readTexture(t);
    ASSERT_EQ(p.size(), 16u);
    EXPECT_EQ(p[0], 0xFF00FF00u);
    EXPECT_EQ(p[1], 0x0000FF00u);
    EXPECT_EQ(p[2], 0xDA00FF00u);
    EXPECT_EQ(p[15], 0xFF00FF00u);
    t->Release();
}

TEST_F(TextureTest, BrokenFilesFailWithoutReadingPastTheEnd) {
    Bytes dds = makeDds(8, 8, "DXT1", bytes({0, 0, 0, 0, 0, 0, 0, 0}));  // 4 blocks needed, 1 given
    IDirect3DTexture9* t = nullptr;
    EXPECT_EQ(D3DXCreateTextureFromFileInMemoryEx(device, dds.data(), static_cast<UINT>(dds.size()), D3DX_DEFAULT,
                                                  D3DX_DEFAULT, 1, 0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED, D3DX_DEFAULT,
                                                  D3DX_DEFAULT, 0, nullptr, nullptr, &t),
              D3DXERR_INVALIDDATA);
    EXPECT_EQ(t, nullptr);
    Bytes header = makeDds(8, 8, "DXT1", "").substr(0, 60);
    D3DXIMAGE_INFO info{};
    EXPECT_EQ(D3DXGetImageInfoFromFileInMemory(header.data(), static_cast<UINT>(header.size()), &info),
              D3DXERR_INVALIDDATA);
    Bytes garbage = "this is no picture at all";
    EXPECT_EQ(D3DXGetImageInfoFromFileInMemory(garbage.data(), static_cast<UINT>(garbage.size()), &info),
              D3DXERR_INVALIDDATA);
    Bytes png = makePng(3, 2, kPixels);
    Bytes cut = png.substr(0, png.size() / 2);
    EXPECT_TRUE(FAILED(D3DXCreateTextureFromFileInMemoryEx(device, cut.data(), static_cast<UINT>(cut.size()),
                                                           D3DX_DEFAULT, D3DX_DEFAULT, 1, 0, D3DFMT_UNKNOWN,
                                                           D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT, 0, nullptr,
                                                           nullptr, &t)));
    Bytes huge = makeDds(100000, 4, "DXT1", "");
    EXPECT_EQ(D3DXGetImageInfoFromFileInMemory(huge.data(), static_cast<UINT>(huge.size()), &info), D3DXERR_INVALIDDATA);
}

TEST_F(TextureTest, SizesLevelsAndFilters) {
    Bytes bmp = makeBmp(3, 2, kPixels);
    IDirect3DTexture9* t = load(bmp, D3DX_DEFAULT, D3DX_DEFAULT);  // powers of two, copied without scaling
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(desc(t).Width, 4u);
    EXPECT_EQ(desc(t).Height, 2u);
    auto p = readTexture(t);
    EXPECT_EQ(pixel(p, 2, 0, 4), kPixels[2]);
    EXPECT_EQ(pixel(p, 3, 0, 4), 0xFF000000u);  // outside the image with D3DX_FILTER_NONE: black (X8R8G8B8)
    t->Release();

    t = load(bmp, 6, 4, 1, D3DX_FILTER_POINT);
    ASSERT_NE(t, nullptr);
    p = readTexture(t);
    EXPECT_EQ(pixel(p, 0, 0, 6), kPixels[0]);
    EXPECT_EQ(pixel(p, 1, 1, 6), kPixels[0]);
    EXPECT_EQ(pixel(p, 5, 3, 6), kPixels[5]);
    t->Release();

    std::vector<uint32_t> four = {0xFF000000, 0xFF000000, 0xFFFFFFFF, 0xFFFFFFFF, 0xFF000000, 0xFF000000, 0xFFFFFFFF,
                                  0xFFFFFFFF, 0xFF000000, 0xFF000000, 0xFFFFFFFF, 0xFFFFFFFF, 0xFF000000, 0xFF000000,
                                  0xFFFFFFFF, 0xFFFFFFFF};
    t = load(makeTga(4, 4, four), D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->GetLevelCount(), 3u);
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(t->LockRect(1, &locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    EXPECT_EQ(static_cast<uint32_t*>(locked.pBits)[0], 0xFF000000u);
    EXPECT_EQ(static_cast<uint32_t*>(locked.pBits)[1], 0xFFFFFFFFu);
    t->UnlockRect(1);
    ASSERT_EQ(t->LockRect(2, &locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    EXPECT_TRUE(colorNear(static_cast<uint32_t*>(locked.pBits)[0], 0xFF808080, 1));
    t->UnlockRect(2);
    t->Release();
}

TEST_F(TextureTest, ColorKeyMakesAlphaAndFormatsConvert) {
    std::vector<uint32_t> keyed = {0xFFFF00FF, 0xFF00FF00};
    D3DXIMAGE_INFO info{};
    IDirect3DTexture9* t = load(makeBmp(2, 1, keyed), D3DX_DEFAULT_NONPOW2, D3DX_DEFAULT_NONPOW2, 1, D3DX_FILTER_NONE,
                                0xFFFF00FF, &info);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(info.Format, D3DFMT_A8R8G8B8);
    auto p = readTexture(t);
    EXPECT_EQ(p[0], 0x00000000u);
    EXPECT_EQ(p[1], 0xFF00FF00u);
    t->Release();

    // An asked 16-bit format is honoured and converted.
    t = load(makeTga(3, 2, kPixels), D3DX_DEFAULT_NONPOW2, D3DX_DEFAULT_NONPOW2, 1, D3DX_FILTER_NONE, 0, &info,
             D3DFMT_A4R4G4B4);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(info.Format, D3DFMT_A4R4G4B4);
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(t->LockRect(0, &locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    EXPECT_EQ(static_cast<uint16_t*>(locked.pBits)[0], 0xFF00);
    EXPECT_EQ(static_cast<uint16_t*>(locked.pBits)[5], 0xF888);
    t->UnlockRect(0);
    t->Release();
}

TEST_F(TextureTest, CreateTextureDefaults) {
    IDirect3DTexture9* t = nullptr;
    ASSERT_EQ(D3DXCreateTexture(device, D3DX_DEFAULT, 64, 0, 0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED, &t), S_OK);
    EXPECT_EQ(desc(t).Width, 256u);
    EXPECT_EQ(desc(t).Height, 64u);
    EXPECT_EQ(desc(t).Format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(t->GetLevelCount(), 9u);
    t->Release();
    ASSERT_EQ(D3DXCreateTexture(device, 100, 60, 1, 0, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED, &t), S_OK);
    EXPECT_EQ(desc(t).Width, 100u);
    EXPECT_EQ(t->GetLevelCount(), 1u);
    t->Release();
}

TEST_F(TextureTest, LoadSurfaceFromRenderTargetSurface) {
    IDirect3DTexture9* rt = nullptr;
    ASSERT_EQ(device->CreateTexture(4, 4, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &rt, nullptr), D3D_OK);
    IDirect3DSurface9* rtSurface = nullptr;
    rt->GetSurfaceLevel(0, &rtSurface);
    device->ColorFill(rtSurface, nullptr, 0xFF204060);
    IDirect3DTexture9* page = makeTexture(8, 8, [](UINT, UINT) { return 0u; });
    IDirect3DSurface9* pageSurface = nullptr;
    page->GetSurfaceLevel(0, &pageSurface);
    RECT dest = {2, 2, 6, 6};
    ASSERT_EQ(D3DXLoadSurfaceFromSurface(pageSurface, nullptr, &dest, rtSurface, nullptr, nullptr, D3DX_FILTER_NONE, 0), S_OK);
    auto p = readTexture(page);
    EXPECT_EQ(pixel(p, 2, 2, 8), 0xFF204060u);
    EXPECT_EQ(pixel(p, 5, 5, 8), 0xFF204060u);
    EXPECT_EQ(pixel(p, 1, 2, 8), 0u);
    EXPECT_EQ(pixel(p, 6, 6, 8), 0u);
    // Scaled down into a 2x2 rectangle.
    RECT small = {0, 0, 2, 2};
    ASSERT_EQ(D3DXLoadSurfaceFromSurface(pageSurface, nullptr, &small, rtSurface, nullptr, nullptr, D3DX_FILTER_POINT, 0), S_OK);
    EXPECT_EQ(pixel(readTexture(page), 1, 1, 8), 0xFF204060u);
    RECT outside = {6, 6, 10, 10};
    EXPECT_EQ(D3DXLoadSurfaceFromSurface(pageSurface, nullptr, &outside, rtSurface, nullptr, nullptr, D3DX_FILTER_NONE, 0),
              D3DERR_INVALIDCALL);
    pageSurface->Release();
    page->Release();
    rtSurface->Release();
    rt->Release();
}

TEST_F(TextureTest, SavesTexturesAndRenderTargetsAsPng) {
    std::vector<uint32_t> pixels = {0x80FF0000, 0xFF00FF00, 0x000000FF, 0xFF123456};
    IDirect3DTexture9* t = makeTexture(2, 2, [&](UINT x, UINT y) { return pixels[y * 2 + x]; });
    auto folder = testsupport::makeTempDir("shots");
    std::wstring file = port::fromUtf8((folder / "Screenshot_0.png").string());
    ASSERT_EQ(D3DXSaveTextureToFile(file.c_str(), D3DXIFF_PNG, t, nullptr), S_OK);
    Bytes saved = testsupport::readFile(folder / "Screenshot_0.png");
    IDirect3DTexture9* back = load(saved);
    ASSERT_NE(back, nullptr);
    auto p = readTexture(back);
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(p[i], pixels[i]) << i;
    back->Release();
    t->Release();

    // The back buffer (X8R8G8B8, a render target) saves opaque through GetRenderTargetData.
    clear(0xFF336699);
    IDirect3DSurface9* backBuffer = nullptr;
    device->GetRenderTarget(0, &backBuffer);
    std::wstring shot = port::fromUtf8((folder / "back.png").string());
    ASSERT_EQ(D3DXSaveSurfaceToFile(shot.c_str(), D3DXIFF_PNG, backBuffer, nullptr, nullptr), S_OK);
    backBuffer->Release();
    D3DXIMAGE_INFO info{};
    back = load(testsupport::readFile(folder / "back.png"), D3DX_DEFAULT_NONPOW2, D3DX_DEFAULT_NONPOW2, 1,
                D3DX_FILTER_NONE, 0, &info);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(info.Width, kWidth);
    EXPECT_EQ(readTexture(back)[100], 0xFF336699u);
    back->Release();
    std::wstring bad = port::fromUtf8((folder / "no" / "such" / "dir.png").string());
    IDirect3DTexture9* any = makeTexture(1, 1, [](UINT, UINT) { return 0u; });
    EXPECT_TRUE(FAILED(D3DXSaveTextureToFile(bad.c_str(), D3DXIFF_PNG, any, nullptr)));
    any->Release();
}

TEST(ImageEncoder, LosslessFormatsDecodeToTheSamePixelsAndOthersAreRefused) {
    port::dx::Image image{3, 2, {0x80FF0000, 0xFF00FF00, 0x000000FF, 0xFF123456, 0xFFFFFFFF, 0x01020304}};
    for (D3DXIMAGE_FILEFORMAT format : {D3DXIFF_PNG, D3DXIFF_BMP, D3DXIFF_DIB, D3DXIFF_TGA}) {
        SCOPED_TRACE(format);
        std::vector<unsigned char> bytes;
        ASSERT_EQ(port::dx::encodeImage(format, image, bytes), S_OK);
        port::dx::Image back;
        D3DXIMAGE_INFO info{};
        std::string error;
        ASSERT_TRUE(port::dx::decodeImage(bytes.data(), bytes.size(), back, info, error)) << error;
        EXPECT_EQ(back.width, 3u);
        EXPECT_EQ(back.height, 2u);
        EXPECT_EQ(back.argb, image.argb);
    }
    std::vector<unsigned char> bytes{1, 2, 3};
    EXPECT_EQ(port::dx::encodeImage(D3DXIFF_DDS, image, bytes), D3DERR_INVALIDCALL);
    EXPECT_TRUE(bytes.empty());
}

TEST_F(TextureTest, LoadsIntoDefaultPoolAndRenderTargetTextures) {
    Bytes tga = makeTga(3, 2, kPixels);
    for (DWORD usage : {DWORD(0), DWORD(D3DUSAGE_RENDERTARGET), DWORD(D3DUSAGE_AUTOGENMIPMAP)}) {
        SCOPED_TRACE(usage);
        IDirect3DTexture9* t = nullptr;
        ASSERT_EQ(D3DXCreateTextureFromFileInMemoryEx(device, tga.data(), static_cast<UINT>(tga.size()), D3DX_DEFAULT_NONPOW2,
                                                      D3DX_DEFAULT_NONPOW2, 1, usage, D3DFMT_UNKNOWN, D3DPOOL_DEFAULT,
                                                      D3DX_FILTER_NONE, D3DX_DEFAULT, 0, nullptr, nullptr, &t),
                  S_OK);
        IDirect3DSurface9* surface = nullptr;
        ASSERT_EQ(t->GetSurfaceLevel(0, &surface), D3D_OK);
        IDirect3DSurface9* copy = nullptr;
        ASSERT_EQ(device->CreateOffscreenPlainSurface(3, 2, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, &copy, nullptr), D3D_OK);
        ASSERT_EQ(D3DXLoadSurfaceFromSurface(copy, nullptr, nullptr, surface, nullptr, nullptr, D3DX_FILTER_NONE, 0), S_OK);
        D3DLOCKED_RECT locked{};
        ASSERT_EQ(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY), D3D_OK);
        auto const* row1 = reinterpret_cast<uint32_t const*>(static_cast<uint8_t const*>(locked.pBits) + locked.Pitch);
        EXPECT_EQ(static_cast<uint32_t const*>(locked.pBits)[1], kPixels[1]);
        EXPECT_EQ(row1[2], kPixels[5]);
        copy->UnlockRect();
        copy->Release();
        surface->Release();
        t->Release();
    }
}

// Every prefix of each image file is either read or refused; none reads past its end.
TEST_F(TextureTest, EveryTruncatedImageIsRefusedSafely) {
    Bytes files[] = {makeBmp(3, 2, kPixels), makeTga(3, 2, kPixels), makePng(3, 2, kPixels),
                     makeDds(8, 4, "DXT5", Bytes(32, '\x11'))};
    for (Bytes const& file : files) {
        for (std::size_t n = 1; n < file.size(); ++n) {
            Bytes cut = file.substr(0, n);
            D3DXIMAGE_INFO info{};
            D3DXGetImageInfoFromFileInMemory(cut.data(), static_cast<UINT>(cut.size()), &info);
            IDirect3DTexture9* t = nullptr;
            if (SUCCEEDED(D3DXCreateTextureFromFileInMemoryEx(device, cut.data(), static_cast<UINT>(cut.size()),
                                                              D3DX_DEFAULT_NONPOW2, D3DX_DEFAULT_NONPOW2, 1, 0,
                                                              D3DFMT_UNKNOWN, D3DPOOL_SYSTEMMEM, D3DX_FILTER_NONE,
                                                              D3DX_FILTER_NONE, 0, nullptr, nullptr, &t)))
                t->Release();
        }
    }
}

}  // namespace
