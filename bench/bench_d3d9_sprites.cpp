// One frame of 2,000 alpha-blended 128x176 textured sprites at 1920x1080, drawn two ways in one
// process:
// - spriteFrame: as the sprite batcher does, through the port layer: vertices written into a
//   dynamic buffer (DISCARD) and one DrawIndexedPrimitive; "window:1" with the back buffer in the
//   window's framebuffer (as the device chooses where it can), "window:0" in a texture copied to
//   the window at Present;
// - directGlOneDraw: the same sprites by the direct SDL2 + OpenGL reference (bench/DirectGl.h).
// Reports frames per second; each frame ends with a 1x1 read-back so the GL work is finished.
// One frame is drawn before timing, so shader compiles are not measured.
#include "bench/BenchDevice.h"
#include "bench/DirectGl.h"
#include "port/d3d9/d3d9_port.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

struct Vertex {
    float x, y, z, rhw;
    D3DCOLOR color;
    float u, v;
};
constexpr DWORD kFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;
constexpr UINT kSprites = 2000;
constexpr UINT kWidth = 1920, kHeight = 1080, kSpriteW = 128, kSpriteH = 176;

// The sprite's pixels, 0xAARRGGBB, and the sprites' places and colours.
std::vector<uint32_t> spritePixels() {
    std::vector<uint32_t> pixels(kSpriteW * kSpriteH);
    for (UINT y = 0; y < kSpriteH; ++y)
        for (UINT x = 0; x < kSpriteW; ++x)
            pixels[y * kSpriteW + x] = ((x + y) % 255) << 24 | (x * 2) << 16 | (y & 0xFF) << 8 | 0x80;
    return pixels;
}

std::vector<bench::DirectSprite> placedSprites() {
    std::vector<bench::DirectSprite> placed;
    unsigned seed = 12345;
    for (UINT i = 0; i < kSprites; ++i) {
        seed = seed * 214013u + 2531011u;
        float x = static_cast<float>((seed >> 8) % (kWidth - kSpriteW));
        seed = seed * 214013u + 2531011u;
        float y = static_cast<float>((seed >> 8) % (kHeight - kSpriteH));
        placed.push_back({x, y, kSpriteW, kSpriteH, 0, 0xFF000000u | (seed & 0xFFFFFF)});
    }
    return placed;
}

void spriteFrame(benchmark::State& state) {
    testsupport::HeadlessDevice headless;
    port::d3d9::preferTextureBackBuffer(state.range(0) == 0);
    bool const opened = bench::openHeadlessDevice(state, headless, kWidth, kHeight);
    port::d3d9::preferTextureBackBuffer(false);
    if (!opened) return;
    IDirect3DDevice9* device = headless.device;
    IDirect3DTexture9* texture = nullptr;
    device->CreateTexture(kSpriteW, kSpriteH, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr);
    D3DLOCKED_RECT locked{};
    texture->LockRect(0, &locked, nullptr, 0);
    std::vector<uint32_t> const pixels = spritePixels();
    for (UINT y = 0; y < kSpriteH; ++y)
        std::memcpy(static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch, &pixels[y * kSpriteW], kSpriteW * 4);
    texture->UnlockRect(0);

    IDirect3DVertexBuffer9* vb = nullptr;
    device->CreateVertexBuffer(kSprites * 4 * sizeof(Vertex), D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY, 0, D3DPOOL_DEFAULT,
                               &vb, nullptr);
    IDirect3DIndexBuffer9* ib = nullptr;
    device->CreateIndexBuffer(kSprites * 6 * 2, D3DUSAGE_WRITEONLY, D3DFMT_INDEX16, D3DPOOL_DEFAULT, &ib, nullptr);
    uint16_t* indices = nullptr;
    ib->Lock(0, 0, reinterpret_cast<void**>(&indices), 0);
    for (UINT q = 0; q < kSprites; ++q) {
        uint16_t base = static_cast<uint16_t>(4 * q);
        uint16_t quad[6] = {base, static_cast<uint16_t>(base + 1), static_cast<uint16_t>(base + 2),
                            static_cast<uint16_t>(base + 1), static_cast<uint16_t>(base + 3),
                            static_cast<uint16_t>(base + 2)};
        std::memcpy(indices + 6 * q, quad, sizeof(quad));
    }
    ib->Unlock();
    std::vector<Vertex> sprites;
    for (bench::DirectSprite const& p : placedSprites()) {
        float const x = p.x, y = p.y;
        sprites.push_back({x, y, 0, 1, p.colour, 0, 0});
        sprites.push_back({x + kSpriteW, y, 0, 1, p.colour, 1, 0});
        sprites.push_back({x, y + kSpriteH, 0, 1, p.colour, 0, 1});
        sprites.push_back({x + kSpriteW, y + kSpriteH, 0, 1, p.colour, 1, 1});
    }
    IDirect3DSurface9* probe = nullptr;
    device->CreateRenderTarget(1, 1, D3DFMT_A8R8G8B8, D3DMULTISAMPLE_NONE, 0, FALSE, &probe, nullptr);
    IDirect3DSurface9* probeCopy = nullptr;
    device->CreateOffscreenPlainSurface(1, 1, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, &probeCopy, nullptr);
    IDirect3DSurface9* backBuffer = nullptr;
    device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer);

    testsupport::setAlphaBlendedSpriteStates(device);
    device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    device->SetTexture(0, texture);
    device->SetFVF(kFvf);
    device->SetStreamSource(0, vb, 0, sizeof(Vertex));
    device->SetIndices(ib);
    RECT corner{0, 0, 1, 1};
    auto frame = [&] {
        device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF206020, 1.0f, 0);
        device->BeginScene();
        void* data = nullptr;
        vb->Lock(0, 0, &data, D3DLOCK_DISCARD);
        std::memcpy(data, sprites.data(), sprites.size() * sizeof(Vertex));
        vb->Unlock();
        device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, kSprites * 4, 0, kSprites * 2);
        device->EndScene();
        device->StretchRect(backBuffer, &corner, probe, nullptr, D3DTEXF_NONE);
        device->GetRenderTargetData(probe, probeCopy);
        device->Present(nullptr, nullptr, nullptr, nullptr);
    };
    frame();
    for (auto _ : state) frame();
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    device->SetTexture(0, nullptr);
    device->SetStreamSource(0, nullptr, 0, 0);
    device->SetIndices(nullptr);
    backBuffer->Release();
    probeCopy->Release();
    probe->Release();
    vb->Release();
    ib->Release();
    texture->Release();
}

void directGlOneDraw(benchmark::State& state) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    bench::DirectGl gl;
    if (!gl.open(kWidth, kHeight, kSprites)) {
        state.SkipWithError("no direct GL context");
        return;
    }
    std::vector<uint32_t> const pixels = spritePixels();
    gl.addTexture(kSpriteW, kSpriteH, pixels.data());
    std::vector<bench::DirectSprite> const placed = placedSprites();
    gl.frame(placed, 1);
    unsigned draws = 0;
    for (auto _ : state) draws = gl.frame(placed, 1);
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["drawCalls"] = draws;
}

}  // namespace

BENCHMARK(spriteFrame)->ArgName("window")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(directGlOneDraw)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
