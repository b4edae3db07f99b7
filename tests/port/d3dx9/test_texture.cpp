// Texture loading from image files in memory (BMP, TGA, PNG, JPEG and DDS with DXT1/DXT5, all
// built here), sizes, levels, formats and colour keys as asked, surface copies and saving.
#include "port/d3dx9/DxPixels.h"
#include "port/d3dx9/d3dx9_port.h"
#include "port/d3dx9/d3dx9.h"
#include "tests/port/d3dx9/AllocationWatch.h"
#include "tests/port/d3dx9/PngBytes.h"
#include "tests/support/gl/DeviceFixture.h"
#include "tests/support/FifoInPlace.h"
#include "tests/support/TestSupport.h"
#include "port/win32/win32_text.h"

#include <string>

namespace {

using testsupport::colorNear;

using Bytes = std::string;

void put16(Bytes& b, uint32_t v) {
    b += static_cast<char>(v & 0xFF);
    b += static_cast<char>((v >> 8) & 0xFF);
}
void put32(Bytes& b, std::initializer_list<uint32_t> values) {
    for (uint32_t v : values) {
        put16(b, v & 0xFFFF);
        put16(b, v >> 16);
    }
}

void putBgr(Bytes& b, uint32_t argb) {
    for (int shift : {0, 8, 16}) b += static_cast<char>((argb >> shift) & 0xFF);
}

// A 24-bit BMP of ARGB pixels (alpha dropped), bottom row first unless top-down (negative height).
Bytes makeBmp(UINT w, UINT h, std::vector<uint32_t> const& argb, bool topDown = false) {
    UINT rowBytes = (w * 3 + 3) & ~3u;
    Bytes b = "BM";
    put32(b, {54 + rowBytes * h, 0, 54, 40, w, topDown ? 0u - h : h});
    put16(b, 1);
    put16(b, 24);
    put32(b, {0, rowBytes * h, 2835, 2835, 0, 0});
    for (UINT i = 0; i < h; ++i) {
        UINT y = topDown ? i : h - 1 - i;
        for (UINT x = 0; x < w; ++x) putBgr(b, argb[y * w + x]);
        b.append(rowBytes - w * 3, '\0');
    }
    return b;
}

// A TGA header without identification field or colour map.
Bytes tgaHeader(int type, UINT w, UINT h, int bits, int descriptor) {
    Bytes b(12, '\0');
    b[2] = static_cast<char>(type);
    put16(b, w);
    put16(b, h);
    b += static_cast<char>(bits);
    b += static_cast<char>(descriptor);
    return b;
}

// A 32-bit top-down TGA.
Bytes makeTga(UINT w, UINT h, std::vector<uint32_t> const& argb) {
    Bytes b = tgaHeader(2, w, h, 32, 0x28);
    for (uint32_t c : argb) put32(b, {c});  // B, G, R, A in memory
    return b;
}

// A 24-bit top-down run-length TGA: one raw packet per row.
Bytes makeRleTga(UINT w, UINT h, std::vector<uint32_t> const& argb) {
    Bytes b = tgaHeader(10, w, h, 24, 0x20);
    for (UINT y = 0; y < h; ++y) {
        b += static_cast<char>(w - 1);
        for (UINT x = 0; x < w; ++x) putBgr(b, argb[y * w + x]);
    }
    return b;
}

// PNG and JPEG through the port's own encoder (the one the save functions use).
Bytes encode(D3DXIMAGE_FILEFORMAT format, UINT w, UINT h, std::vector<uint32_t> const& argb, int quality = 90) {
    std::vector<unsigned char> bytes;
    EXPECT_EQ(port::dx::encodeImage(format, port::dx::Image{w, h, {argb.begin(), argb.end()}}, bytes, quality), S_OK);
    return Bytes(bytes.begin(), bytes.end());
}
Bytes makePng(UINT w, UINT h, std::vector<uint32_t> const& argb) { return encode(D3DXIFF_PNG, w, h, argb); }

// A DDS file with one level of DXT blocks.
Bytes makeDds(UINT w, UINT h, char const* fourCC, Bytes const& blocks) {
    Bytes b = "DDS ";
    put32(b, {124, 0x1 | 0x2 | 0x4 | 0x1000 | 0x80000, h, w, static_cast<uint32_t>(blocks.size()), 0, 0});
    b.append(44, '\0');
    put32(b, {32, 0x4});
    b.append(fourCC, 4);
    b.append(20, '\0');
    put32(b, {0x1000});
    b.append(16, '\0');
    return b + blocks;
}

Bytes bytes(std::initializer_list<int> values) {
    Bytes b;
    for (int v : values) b += static_cast<char>(v);
    return b;
}

std::vector<uint32_t> const kPixels = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF, 0xFF000000, 0xFF808080};

// What D3DXCreateTextureFromFileInMemoryEx is asked for.
struct Load {
    UINT width = D3DX_DEFAULT_NONPOW2, height = D3DX_DEFAULT_NONPOW2, levels = 1;
    DWORD usage = 0;
    D3DFORMAT format = D3DFMT_UNKNOWN;
    D3DPOOL pool = D3DPOOL_MANAGED;
    DWORD filter = D3DX_FILTER_NONE;
    D3DCOLOR colorKey = 0;
};

class TextureTest : public testsupport::DeviceFixture {
protected:
    HRESULT tryLoad(Bytes const& file, IDirect3DTexture9** texture, Load const& o = {}, D3DXIMAGE_INFO* info = nullptr) {
        *texture = nullptr;
        return D3DXCreateTextureFromFileInMemoryEx(device, file.data(), static_cast<UINT>(file.size()), o.width, o.height,
                                                   o.levels, o.usage, o.format, o.pool, o.filter, D3DX_FILTER_BOX,
                                                   o.colorKey, info, nullptr, texture);
    }
    IDirect3DTexture9* load(Bytes const& file, Load const& o = {}, D3DXIMAGE_INFO* info = nullptr) {
        IDirect3DTexture9* texture = nullptr;
        EXPECT_EQ(tryLoad(file, &texture, o, info), S_OK);
        return texture;
    }
    static D3DSURFACE_DESC desc(IDirect3DTexture9* t, UINT level = 0) {
        D3DSURFACE_DESC d{};
        t->GetLevelDesc(level, &d);
        return d;
    }
    static HRESULT imageInfo(Bytes const& file, D3DXIMAGE_INFO* info) {
        return D3DXGetImageInfoFromFileInMemory(file.data(), static_cast<UINT>(file.size()), info);
    }
};

TEST_F(TextureTest, LoadsBmpTgaPngAndJpeg) {
    struct Case {
        char const* name;
        Bytes file;
        D3DFORMAT fileFormat;
        D3DXIMAGE_FILEFORMAT kind;
    } cases[] = {
        {"bmp", makeBmp(3, 2, kPixels), D3DFMT_R8G8B8, D3DXIFF_BMP},
        {"top-down bmp", makeBmp(3, 2, kPixels, true), D3DFMT_R8G8B8, D3DXIFF_BMP},
        {"tga", makeTga(3, 2, kPixels), D3DFMT_A8R8G8B8, D3DXIFF_TGA},
        {"run-length tga", makeRleTga(3, 2, kPixels), D3DFMT_R8G8B8, D3DXIFF_TGA},
        {"png", makePng(3, 2, kPixels), D3DFMT_A8R8G8B8, D3DXIFF_PNG},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.name);
        D3DXIMAGE_INFO info{};
        ASSERT_EQ(imageInfo(c.file, &info), S_OK);
        EXPECT_EQ(std::pair(info.Width, info.Height), std::pair(3u, 2u));
        EXPECT_EQ(info.Format, c.fileFormat);
        EXPECT_EQ(info.ImageFileFormat, c.kind);
        IDirect3DTexture9* t = load(c.file, {}, &info);
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(std::pair(desc(t).Width, desc(t).Height), std::pair(3u, 2u));
        EXPECT_EQ(info.Format, desc(t).Format);  // the format the texture really has
        EXPECT_EQ(readTexture(t), kPixels);
        t->Release();
    }
    // JPEG is lossy: a flat colour comes back close.
    IDirect3DTexture9* t = load(encode(D3DXIFF_JPG, 16, 16, std::vector<uint32_t>(16 * 16, 0xFF3366CC), 100));
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(desc(t).Format, D3DFMT_X8R8G8B8);
    EXPECT_TRUE(colorNear(readTexture(t)[17], 0xFF3366CC, 4));
    t->Release();
}

TEST_F(TextureTest, DdsDxt1BothModesAndDxt5InterpolatedAlpha) {
    Bytes blocks = bytes({0x00, 0xF8, 0x1F, 0x00, 0x00, 0x55, 0xAA, 0xFF,    // red/blue, 4 colours
                          0x1F, 0x00, 0x00, 0xF8, 0xFF, 0xAA, 0x00, 0x00});  // c0 < c1: 3 colours + transparent
    Bytes file = makeDds(8, 4, "DXT1", blocks);
    D3DXIMAGE_INFO info{};
    ASSERT_EQ(imageInfo(file, &info), S_OK);
    EXPECT_EQ(info.Format, D3DFMT_DXT1);
    EXPECT_EQ(info.ImageFileFormat, D3DXIFF_DDS);
    IDirect3DTexture9* t = load(file, {}, &info);
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

    Bytes block = bytes({255, 0, 0x88, 0, 0, 0, 0, 0,  // alpha: 255, 0, 218 for the first three pixels
                         0xE0, 0x07, 0x00, 0x00, 0, 0, 0, 0});
    t = load(makeDds(4, 4, "DXT5", block));
    ASSERT_NE(t, nullptr);
    p = readTexture(t);
    ASSERT_EQ(p.size(), 16u);
    EXPECT_EQ(p[0], 0xFF00FF00u);
    EXPECT_EQ(p[1], 0x0000FF00u);
    EXPECT_EQ(p[2], 0xDA00FF00u);
    EXPECT_EQ(p[15], 0xFF00FF00u);
    t->Release();
}

TEST_F(TextureTest, BrokenFilesFailWithoutReadingPastTheEnd) {
    IDirect3DTexture9* t = nullptr;
    Load defaults{.width = D3DX_DEFAULT, .height = D3DX_DEFAULT, .filter = D3DX_DEFAULT};
    EXPECT_EQ(tryLoad(makeDds(8, 8, "DXT1", Bytes(8, '\0')), &t, defaults), D3DXERR_INVALIDDATA);  // 4 blocks needed
    EXPECT_EQ(t, nullptr);
    Bytes png = makePng(3, 2, kPixels);
    EXPECT_TRUE(FAILED(tryLoad(png.substr(0, png.size() / 2), &t, defaults)));
    // A JPEG ending inside its pixel data is refused, not filled with grey.
    std::vector<uint32_t> noise(32 * 32);
    for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = 0xFF000000u | static_cast<uint32_t>(i * 2654435761u >> 8);
    Bytes jpeg = encode(D3DXIFF_JPG, 32, 32, noise);
    EXPECT_EQ(tryLoad(jpeg.substr(0, jpeg.size() - 100), &t, defaults), D3DXERR_INVALIDDATA);
    EXPECT_EQ(tryLoad(jpeg, &t, defaults), S_OK);
    t->Release();
    D3DXIMAGE_INFO info{};
    EXPECT_EQ(imageInfo(makeDds(8, 8, "DXT1", "").substr(0, 60), &info), D3DXERR_INVALIDDATA);
    EXPECT_EQ(imageInfo("this is no picture at all", &info), D3DXERR_INVALIDDATA);
    EXPECT_EQ(imageInfo(makeDds(100000, 4, "DXT1", ""), &info), D3DXERR_INVALIDDATA);
}

// Every prefix of each image file is either read or refused; none reads past its end.
TEST_F(TextureTest, EveryTruncatedImageIsRefusedSafely) {
    struct Case {
        Bytes file;
        UINT width;
        UINT height;
    } const cases[] = {{makeBmp(3, 2, kPixels), 3, 2},
                       {makeTga(3, 2, kPixels), 3, 2},
                       {makeRleTga(3, 2, kPixels), 3, 2},
                       {makePng(3, 2, kPixels), 3, 2},
                       {encode(D3DXIFF_JPG, 16, 8, std::vector<uint32_t>(16 * 8, 0xFF3366CC)), 16, 8},
                       {makeDds(8, 4, "DXT5", Bytes(32, '\x11')), 8, 4}};
    for (Case const& c : cases) {
        for (std::size_t n = 1; n < c.file.size(); ++n) {
            Bytes cut = c.file.substr(0, n);
            // Either refused, or (a cut that only loses padding) read with the true size.
            D3DXIMAGE_INFO info{};
            if (SUCCEEDED(imageInfo(cut, &info))) {
                EXPECT_EQ(info.Width, c.width) << n;
                EXPECT_EQ(info.Height, c.height) << n;
            }
            IDirect3DTexture9* t = nullptr;
            HRESULT const hr = tryLoad(cut, &t, {.pool = D3DPOOL_SYSTEMMEM});
            if (SUCCEEDED(hr)) t->Release();
            // A cut inside the header can never give an image.
            if (n < 12) {
                EXPECT_TRUE(FAILED(hr)) << n;
            }
        }
    }
}

TEST_F(TextureTest, SizesLevelsAndFilters) {
    Bytes bmp = makeBmp(3, 2, kPixels);
    IDirect3DTexture9* t = load(bmp, {.width = D3DX_DEFAULT, .height = D3DX_DEFAULT});  // powers of two, not scaled
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(desc(t).Width, 4u);
    EXPECT_EQ(desc(t).Height, 2u);
    auto p = readTexture(t);
    EXPECT_EQ(pixel(p, 2, 0, 4), kPixels[2]);
    EXPECT_EQ(pixel(p, 3, 0, 4), 0xFF000000u);  // outside the image with D3DX_FILTER_NONE: black (X8R8G8B8)
    t->Release();

    t = load(bmp, {.width = 6, .height = 4, .filter = D3DX_FILTER_POINT});
    ASSERT_NE(t, nullptr);
    p = readTexture(t);
    EXPECT_EQ(pixel(p, 0, 0, 6), kPixels[0]);
    EXPECT_EQ(pixel(p, 1, 1, 6), kPixels[0]);
    EXPECT_EQ(pixel(p, 5, 3, 6), kPixels[5]);
    t->Release();

    std::vector<uint32_t> stripes(16);  // two black columns, two white ones
    for (std::size_t i = 0; i < 16; ++i) stripes[i] = (i & 2) ? 0xFFFFFFFF : 0xFF000000;
    t = load(makeTga(4, 4, stripes), {.width = D3DX_DEFAULT, .height = D3DX_DEFAULT, .levels = D3DX_DEFAULT});
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

TEST_F(TextureTest, ColorKeyMakesAlphaAndFormatsConvert) {
    D3DXIMAGE_INFO info{};
    IDirect3DTexture9* t = load(makeBmp(2, 1, {0xFFFF00FF, 0xFF00FF00}), {.colorKey = 0xFFFF00FF}, &info);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(info.Format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(readTexture(t), (std::vector<uint32_t>{0x00000000u, 0xFF00FF00u}));
    t->Release();

    // An asked 16-bit format is honoured and converted.
    t = load(makeTga(3, 2, kPixels), {.format = D3DFMT_A4R4G4B4}, &info);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(info.Format, D3DFMT_A4R4G4B4);
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(t->LockRect(0, &locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    EXPECT_EQ(static_cast<uint16_t*>(locked.pBits)[0], 0xFF00);
    EXPECT_EQ(static_cast<uint16_t*>(locked.pBits)[5], 0xF888);
    t->UnlockRect(0);
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
    RECT dest = {2, 2, 6, 6}, small = {0, 0, 2, 2}, outside = {6, 6, 10, 10};
    ASSERT_EQ(D3DXLoadSurfaceFromSurface(pageSurface, nullptr, &dest, rtSurface, nullptr, nullptr, D3DX_FILTER_NONE, 0), S_OK);
    auto p = readTexture(page);
    EXPECT_EQ(pixel(p, 2, 2, 8), 0xFF204060u);
    EXPECT_EQ(pixel(p, 5, 5, 8), 0xFF204060u);
    EXPECT_EQ(pixel(p, 1, 2, 8), 0u);
    EXPECT_EQ(pixel(p, 6, 6, 8), 0u);
    // Scaled down into a 2x2 rectangle.
    ASSERT_EQ(D3DXLoadSurfaceFromSurface(pageSurface, nullptr, &small, rtSurface, nullptr, nullptr, D3DX_FILTER_POINT, 0), S_OK);
    EXPECT_EQ(pixel(readTexture(page), 1, 1, 8), 0xFF204060u);
    EXPECT_EQ(D3DXLoadSurfaceFromSurface(pageSurface, nullptr, &outside, rtSurface, nullptr, nullptr, D3DX_FILTER_NONE, 0),
              D3DERR_INVALIDCALL);
    pageSurface->Release();
    page->Release();
    rtSurface->Release();
    rt->Release();
}

// Render targets take no CPU writes, so the loader has to draw the image into them.
TEST_F(TextureTest, LoadsIntoDefaultPoolAndRenderTargetTextures) {
    Bytes tga = makeTga(3, 2, kPixels);
    for (DWORD usage : {DWORD(0), DWORD(D3DUSAGE_RENDERTARGET), DWORD(D3DUSAGE_AUTOGENMIPMAP)}) {
        SCOPED_TRACE(usage);
        IDirect3DTexture9* t = nullptr;
        ASSERT_EQ(tryLoad(tga, &t, {.usage = usage, .pool = D3DPOOL_DEFAULT}), S_OK);
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

TEST_F(TextureTest, SavesTexturesAndRenderTargetsAsPng) {
    std::vector<uint32_t> pixels = {0x80FF0000, 0xFF00FF00, 0x000000FF, 0xFF123456};
    IDirect3DTexture9* t = makeTexture(2, 2, [&](UINT x, UINT y) { return pixels[y * 2 + x]; });
    auto folder = testsupport::makeTempDir("shots");
    std::wstring file = port::fromUtf8((folder / "Screenshot_0.png").string());
    ASSERT_EQ(D3DXSaveTextureToFile(file.c_str(), D3DXIFF_PNG, t, nullptr), S_OK);
    IDirect3DTexture9* back = load(testsupport::readFile(folder / "Screenshot_0.png"));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(readTexture(back), pixels);
    back->Release();
    std::wstring bad = port::fromUtf8((folder / "no" / "such" / "dir.png").string());
    EXPECT_TRUE(FAILED(D3DXSaveTextureToFile(bad.c_str(), D3DXIFF_PNG, t, nullptr)));
    // Something other than a file in the place of the one written or read is refused at once
    // (a FIFO would otherwise wait for a partner); the FIFO's helper lets a blocked call go after
    // a while, so a regression fails here rather than hanging.
    testsupport::FifoInPlace fifo(folder / "fifo.png");
    ASSERT_TRUE(fifo.made());
    std::wstring const fifoName = port::fromUtf8((folder / "fifo.png").string());
    EXPECT_TRUE(FAILED(D3DXSaveTextureToFile(fifoName.c_str(), D3DXIFF_PNG, t, nullptr)));
    IDirect3DTexture9* none = nullptr;
    EXPECT_TRUE(FAILED(D3DXCreateTextureFromFileW(device, fifoName.c_str(), &none)));
    EXPECT_EQ(none, nullptr);
    t->Release();

    // The back buffer (X8R8G8B8, a render target) saves opaque through GetRenderTargetData.
    clear(0xFF336699);
    IDirect3DSurface9* backBuffer = nullptr;
    device->GetRenderTarget(0, &backBuffer);
    std::wstring shot = port::fromUtf8((folder / "back.png").string());
    ASSERT_EQ(D3DXSaveSurfaceToFile(shot.c_str(), D3DXIFF_PNG, backBuffer, nullptr, nullptr), S_OK);
    backBuffer->Release();
    D3DXIMAGE_INFO info{};
    back = load(testsupport::readFile(folder / "back.png"), {}, &info);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(info.Width, kWidth);
    EXPECT_EQ(readTexture(back)[100], 0xFF336699u);
    back->Release();
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

// Hostile files: each is the smallest input that showed a fault in an earlier decoder.

// A real file whose header is made to declare 16384x16384: nothing of the pixels is there.
Bytes pngDeclaringHugeSize() {
    Bytes png = makePng(3, 2, kPixels);
    pngbytes::putBigEndian(png, 16, 16384);
    pngbytes::putBigEndian(png, 20, 16384);
    pngbytes::putBigEndian(png, 29, pngbytes::crc(png.substr(12, 17)));  // IHDR type and data
    return png;
}
Bytes jpegDeclaringHugeSize() {
    Bytes jpeg = encode(D3DXIFF_JPG, 8, 8, std::vector<uint32_t>(64, 0xFF808080));
    std::size_t sof = jpeg.find("\xFF\xC0");
    jpeg[sof + 5] = jpeg[sof + 7] = 0x40;  // height and width 0x4000
    jpeg[sof + 6] = jpeg[sof + 8] = 0;
    return jpeg;
}

TEST(ImageFile, FormatsOtherThanPngJpegBmpTgaAndDdsAreRefused) {
    struct Case {
        char const* name;
        Bytes file;
    } const cases[] = {
        {"16-bit PNM (read past its end)", "P51 1 300 "},
        {"GIF", Bytes("GIF89a\x01\x00\x01\x00\x00\x00\x00;", 14)},
        {"PSD", Bytes("8BPS\x00\x01\x00\x00\x00\x00\x00\x00\x00\x03\x00\x00\x00\x01\x00\x00\x00\x01\x00\x08\x00\x03", 26)},
        {"HDR", "#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n-Y 1 +X 1\n\x02\x02\x00\x01"},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.name);
        port::dx::Image image;
        D3DXIMAGE_INFO info{};
        std::string error;
        std::string headerError;
        EXPECT_FALSE(port::dx::imageInfo(c.file.data(), c.file.size(), info, headerError));
        EXPECT_FALSE(port::dx::decodeImage(c.file.data(), c.file.size(), image, info, error));
        EXPECT_FALSE(error.empty());
    }
}

// A Huffman table segment whose code counts run past the file wrote past a table.
TEST(ImageFile, NineByteJpegHuffmanSegmentIsRefused) {
    Bytes const file("\xFF\xD8\xFF\xC4\x00\xFF\x01\xD8\xD8", 9);
    port::dx::Image image;
    D3DXIMAGE_INFO info{};
    std::string error;
    EXPECT_FALSE(port::dx::imageInfo(file.data(), file.size(), info, error));
    EXPECT_FALSE(port::dx::decodeImage(file.data(), file.size(), image, info, error));
    EXPECT_NE(error.find("JPEG"), std::string::npos) << error;
}

// A header declaring 16384x16384 with no pixel data behind it allocated the whole picture.
TEST(ImageFile, HeadersDeclaringMorePixelsThanTheFileHoldsAreRefusedBeforeAllocating) {
    Bytes bmp = "BM";  // 12-byte core header, 24 bits, no pixels
    put32(bmp, {26, 0, 26, 12});
    put16(bmp, 16384);
    put16(bmp, 16384);
    put16(bmp, 1);
    put16(bmp, 24);
    Bytes tga = tgaHeader(2, 16384, 16384, 32, 0);  // no pixels
    Bytes rleTga = tgaHeader(10, 16384, 16384, 32, 0) + Bytes(64, '\xFF');  // far too few packets
    struct Case {
        char const* name;
        Bytes file;
    } const cases[] = {{"bmp", bmp}, {"tga", tga}, {"run-length tga", rleTga},
                       {"png", pngDeclaringHugeSize()}, {"jpeg", jpegDeclaringHugeSize()}};
    for (Case const& c : cases) {
        SCOPED_TRACE(c.name);
        port::dx::Image image;
        D3DXIMAGE_INFO info{};
        std::string error;
        bool const watched = allocwatch::start();
        EXPECT_FALSE(port::dx::decodeImage(c.file.data(), c.file.size(), image, info, error));
        allocwatch::stop();
        EXPECT_NE(error.find("cut short"), std::string::npos) << error;
        if (watched) {
            EXPECT_LT(allocwatch::largest(), std::size_t{1} << 20);
        }
    }
}

}  // namespace
