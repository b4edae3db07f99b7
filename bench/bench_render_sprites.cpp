// One 1920x1080 frame of 5,000 alpha-blended 64x64 sprites from 40 textures, drawn:
// - batcherQueueOrder: the engine batcher (Orvex::Sprite, effect "Sprite"), sprites queued in a
//   mixed texture order, so a chunk breaks whenever a ninth texture comes up;
// - batcherSortedByTexture: the same with D3DXSPRITE_SORT_TEXTURE (one chunk per texture, or
//   five chunks of eight); both with the device's depth test on, as the engine leaves it (the
//   automatic depth-stencil makes D3DRS_ZENABLE default to TRUE), so the back buffer is drawn
//   through its texture; batcherSortedWithoutDepth turns the depth test off first, so the back
//   buffer stays in the window. The game's 2D passes draw as the depth-on runs do: the forward
//   renderer clears colour, depth and stencil of its own render-target texture and never turns
//   D3DRS_ZENABLE off, so directGlSortedWithDepth is their reference (the same scene), the
//   window without depth the limit;
// - rawPortLayer: the same sprites through the port layer alone, the vertices prebuilt and
//   grouped by texture, one DrawIndexedPrimitive per texture with the built-in program;
// - rawSpriteEffect: as rawPortLayer, but in the batcher's vertex layout drawn with the
//   "Sprite" effect's "Render2DAlpha" (so batcherSortedByTexture / rawSpriteEffect is the
//   batcher's own overhead, rawSpriteEffect / rawPortLayer the effect's pixel cost);
// - batcherQueueOrderWithoutDepth: batcherQueueOrder with the depth test off;
// - batcherQueueAndSort: the batcher's own CPU work of a sorted frame, without drawing.
// - directGlQueueOrder, directGlSortedByTexture: the reference, the same sprites drawn by the
//   direct SDL2 + OpenGL program of bench/DirectGl.h in the same process: in queue order with up
//   to eight textures per draw as the batcher chunks them ("slots:8") or one ("slots:1"), and
//   sorted by texture, one texture per draw; directGlSortedIntoTexture draws the sorted frame
//   into a texture as the port's back buffer is, to show what that alone costs llvmpipe;
//   directGlSortedWithDepth and directGlQueueOrderWithDepth draw as the port does for the
//   depth-on runs (into a texture with a depth-stencil buffer, z 0, less-or-equal, writes on),
//   so they are the same scene as batcherSortedByTexture and batcherQueueOrder;
//   directGlSortedWindowDepth tests depth in a window with its own depth-stencil buffer instead.
// The three effect benchmarks run with one texture slot as shipped ("texCount:1") and with eight
// chosen per pixel ("texCount:8"), through the macro SPRITE_TEX_COUNT.
// Real time per frame gives frames per second ("fps"); CPU time is the calling thread's (queuing,
// vertex writing, the GL front end); llvmpipe rasterises on its own threads. Each frame ends
// with a 1x1 read-back so the GL work is finished inside the frame. One frame is drawn before
// timing, so shader compiles are not measured.
#include <benchmark/benchmark.h>

#include <algorithm>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "bench/BenchDevice.h"
#include "bench/DirectGl.h"
#include "engine/core/XMLNode.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/Effect.h"
#include "engine/render/Sprite.h"
#include "port/win32/win32_paths.h"
#include "tests/support/gl/FrameFinish.h"
#include "tests/support/gl/HeadlessDevice.h"

namespace {

constexpr unsigned kWidth = 1920;
constexpr unsigned kHeight = 1080;
constexpr unsigned kSprites = 5000;
constexpr unsigned kTextures = 40;
constexpr unsigned kSize = 64;

struct Placed {
    float x, y;
    unsigned texture;
    D3DCOLOR colour;
};

uint32_t texel(unsigned t, unsigned x, unsigned y) { return 0xC0000000u | (t * 6) << 16 | (x * 4) << 8 | (y * 4); }

std::vector<Placed> placements() {
    std::vector<Placed> placed;
    unsigned seed = 12345;
    auto next = [&seed] { return seed = seed * 214013u + 2531011u; };
    for (unsigned i = 0; i < kSprites; ++i) {
        Placed p;
        p.x = static_cast<float>((next() >> 8) % (kWidth - kSize));
        p.y = static_cast<float>((next() >> 8) % (kHeight - kSize));
        p.texture = (next() >> 8) % kTextures;
        p.colour = 0xFF000000u | (next() & 0xFFFFFF);
        placed.push_back(p);
    }
    return placed;
}

// The device, the effect, the textures and the sprite placements shared by all runs.
struct Scene {
    bool ready = false;
    Orvex::Effect* effect = nullptr;      // SPRITE_TEX_COUNT 1, as the shipped effect list has it
    Orvex::Effect* eightSlots = nullptr;  // SPRITE_TEX_COUNT 8
    Orvex::Sprite* sprite = nullptr;
    std::vector<IDirect3DTexture9*> textures;
    std::vector<Placed> placed;
    // Never released: the device object may be gone before this static object at exit.
    testsupport::FrameFinish* finishFrame = nullptr;

    IDirect3DDevice9* device() const { return Orvex::D3DInterface::getInstance().getDevice(); }

    bool init() {
        if (!bench::openEngineDevice(kWidth, kHeight)) return false;
        std::filesystem::path const source =
            std::filesystem::path(ORVEX_SOURCE_DIR) / "data" / "FX" / "sprite.fx";
        auto load = [&source](std::wstring const& macros) -> Orvex::Effect* {
            Orvex::XMLNode node;
            node.loadFromText(L"<EFFECT NAME=\"Sprite\" PRE_COMPILE=\"0\"><FILE FILENAME=\"" +
                              port::windowsPath(source.string()) + L"\" />" + macros + L"</EFFECT>");
            auto* loaded = new Orvex::Effect(false);
            if (loaded->load(node)) return loaded;
            loaded->release();
            return nullptr;
        };
        effect = load(L"<MACROS><MACRO NAME=\"SPRITE_TEX_COUNT\" DEFINITION=\"1\" /></MACROS>");
        eightSlots = load(L"<MACROS><MACRO NAME=\"SPRITE_TEX_COUNT\" DEFINITION=\"8\" /></MACROS>");
        if (!effect || !eightSlots) return false;
        sprite = new Orvex::Sprite();
        sprite->create();
        sprite->setEffect(effect);
        for (unsigned t = 0; t < kTextures; ++t) {
            IDirect3DTexture9* texture = nullptr;
            if (FAILED(device()->CreateTexture(kSize, kSize, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr)))
                return false;
            D3DLOCKED_RECT locked{};
            texture->LockRect(0, &locked, nullptr, 0);
            for (unsigned y = 0; y < kSize; ++y)
                for (unsigned x = 0; x < kSize; ++x)
                    reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch)[x] =
                        texel(t, x, y);
            texture->UnlockRect(0);
            textures.push_back(texture);
        }
        placed = placements();
        finishFrame = new testsupport::FrameFinish(device());
        ready = finishFrame->ready();
        return ready;
    }
};

Scene& scene() {
    static Scene s;
    if (!s.ready) s.init();
    return s;
}

// The batcher with the effect of the slot count given as the benchmark's argument (1 or 8).
void batcherFrame(benchmark::State& state, Orvex::u32 flags, bool depthTest = true) {
    Scene& s = scene();
    if (!s.ready) {
        state.SkipWithError("no device or no sprite effect");
        return;
    }
    s.sprite->setEffect(state.range(0) == 8 ? s.eightSlots : s.effect);
    IDirect3DDevice9* device = s.device();
    DWORD zEnable = D3DZB_TRUE;
    device->GetRenderState(D3DRS_ZENABLE, &zEnable);
    if (!depthTest) device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    auto frame = [&] {
        device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF206020, 1.0f, 0);
        device->BeginScene();
        s.sprite->Begin(flags, nullptr);
        for (Placed const& p : s.placed) {
            D3DXVECTOR2 const position(p.x, p.y);
            s.sprite->DrawSprite2D(s.textures[p.texture], nullptr, nullptr, nullptr, 0.0f, &position, p.colour);
        }
        s.sprite->End();
        device->EndScene();
        (*s.finishFrame)();
    };
    frame();
    for (auto _ : state) frame();
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["drawCalls"] = s.sprite->getStats().drawCalls;
    s.sprite->setEffect(s.effect);
    device->SetRenderState(D3DRS_ZENABLE, zEnable);
}

void batcherQueueOrder(benchmark::State& state) { batcherFrame(state, D3DXSPRITE_ALPHABLEND); }
void batcherQueueOrderWithoutDepth(benchmark::State& state) { batcherFrame(state, D3DXSPRITE_ALPHABLEND, false); }
void batcherSortedByTexture(benchmark::State& state) {
    batcherFrame(state, D3DXSPRITE_ALPHABLEND | D3DXSPRITE_SORT_TEXTURE);
}
void batcherSortedWithoutDepth(benchmark::State& state) {
    batcherFrame(state, D3DXSPRITE_ALPHABLEND | D3DXSPRITE_SORT_TEXTURE, false);
}

// The batcher's own work without drawing: Begin (state block capture, render states), queuing
// the 5,000 sprites, the sort by texture and End (state block apply). The effect has none of the
// batcher's techniques, so End stops after sorting.
void batcherQueueAndSort(benchmark::State& state) {
    Scene& s = scene();
    static Orvex::Effect* const noTechnique = [] {
        std::filesystem::path const source = std::filesystem::temp_directory_path() / "bench_sprite_none.fx";
        if (FILE* f = std::fopen(source.string().c_str(), "w")) {
            std::fputs("technique Other { pass P0 { } }\n", f);
            std::fclose(f);
        }
        Orvex::XMLNode node;
        node.loadFromText(L"<EFFECT NAME=\"None\" PRE_COMPILE=\"0\"><FILE FILENAME=\"" +
                          port::windowsPath(source.string()) + L"\" /></EFFECT>");
        auto* loaded = new Orvex::Effect(false);
        if (loaded->load(node) && loaded->getD3DXEffect()) return loaded;
        loaded->release();
        return static_cast<Orvex::Effect*>(nullptr);
    }();
    if (!s.ready || !noTechnique) {
        state.SkipWithError("no device or no effect");
        return;
    }
    for (auto _ : state) {
        s.sprite->Begin(D3DXSPRITE_ALPHABLEND | D3DXSPRITE_SORT_TEXTURE, noTechnique);
        for (Placed const& p : s.placed) {
            D3DXVECTOR2 const position(p.x, p.y);
            s.sprite->DrawSprite2D(s.textures[p.texture], nullptr, nullptr, nullptr, 0.0f, &position, p.colour);
        }
        s.sprite->End();
    }
    state.counters["sprites"] = static_cast<double>(s.sprite->get2DList().size());
}

// The same sprites grouped by texture, one quad of four vertices each, in either layout.
template <class Vertex, class Make>
std::vector<Vertex> groupedVertices(Scene const& s, std::vector<unsigned>& groupStart, Make make) {
    std::vector<Vertex> vertices;
    groupStart.assign(kTextures + 1, 0);
    for (unsigned t = 0; t < kTextures; ++t) {
        groupStart[t] = static_cast<unsigned>(vertices.size() / 4);
        for (Placed const& p : s.placed) {
            if (p.texture != t) continue;
            float const x = p.x - 0.5f, y = p.y - 0.5f, w = kSize, h = kSize;
            vertices.push_back(make(x, y, p.colour, 0.0f, 0.0f));
            vertices.push_back(make(x + w, y, p.colour, 1.0f, 0.0f));
            vertices.push_back(make(x, y + h, p.colour, 0.0f, 1.0f));
            vertices.push_back(make(x + w, y + h, p.colour, 1.0f, 1.0f));
        }
    }
    groupStart[kTextures] = kSprites;
    return vertices;
}

// Buffers holding the grouped vertices and the quads' indices; released by the destructor.
struct RawBuffers {
    IDirect3DVertexBuffer9* vb = nullptr;
    IDirect3DIndexBuffer9* ib = nullptr;

    RawBuffers(IDirect3DDevice9* device, UINT vertexBytes) {
        device->CreateVertexBuffer(vertexBytes, D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY, 0, D3DPOOL_DEFAULT, &vb,
                                   nullptr);
        device->CreateIndexBuffer(kSprites * 6 * 2, D3DUSAGE_WRITEONLY, D3DFMT_INDEX16, D3DPOOL_DEFAULT, &ib, nullptr);
        uint16_t* indices = nullptr;
        if (!ib || FAILED(ib->Lock(0, 0, reinterpret_cast<void**>(&indices), 0))) return;
        for (unsigned q = 0; q < kSprites; ++q) {
            uint16_t const b = static_cast<uint16_t>(4 * q);
            uint16_t const quad[6] = {b, uint16_t(b + 1), uint16_t(b + 2), uint16_t(b + 1), uint16_t(b + 3),
                                      uint16_t(b + 2)};
            std::memcpy(indices + 6 * q, quad, sizeof(quad));
        }
        ib->Unlock();
    }
    ~RawBuffers() {
        if (vb) vb->Release();
        if (ib) ib->Release();
    }
    RawBuffers(RawBuffers const&) = delete;
    RawBuffers& operator=(RawBuffers const&) = delete;

    template <class Vertex>
    void upload(std::vector<Vertex> const& vertices) {
        void* data = nullptr;
        if (FAILED(vb->Lock(0, 0, &data, D3DLOCK_DISCARD))) return;
        std::memcpy(data, vertices.data(), vertices.size() * sizeof(Vertex));
        vb->Unlock();
    }
};

struct RawVertex {
    float x, y, z, rhw;
    D3DCOLOR colour;
    float u, v;
};

void rawPortLayer(benchmark::State& state) {
    Scene& s = scene();
    if (!s.ready) {
        state.SkipWithError("no device");
        return;
    }
    IDirect3DDevice9* device = s.device();
    std::vector<unsigned> groupStart;
    std::vector<RawVertex> const vertices =
        groupedVertices<RawVertex>(s, groupStart, [](float x, float y, D3DCOLOR c, float u, float v) {
            return RawVertex{x, y, 0, 1, c, u, v};
        });
    RawBuffers buffers(device, kSprites * 4 * sizeof(RawVertex));
    if (!buffers.vb || !buffers.ib) {
        state.SkipWithError("no buffers");
        return;
    }
    IDirect3DStateBlock9* saved = nullptr;
    device->CreateStateBlock(D3DSBT_ALL, &saved);
    testsupport::setAlphaBlendedSpriteStates(device);
    device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);  // as the effect and the reference sample
    device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    device->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1);
    device->SetStreamSource(0, buffers.vb, 0, sizeof(RawVertex));
    device->SetIndices(buffers.ib);
    auto frame = [&] {
        device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF206020, 1.0f, 0);
        device->BeginScene();
        buffers.upload(vertices);
        for (unsigned t = 0; t < kTextures; ++t) {
            unsigned const count = groupStart[t + 1] - groupStart[t];
            if (count == 0) continue;
            device->SetTexture(0, s.textures[t]);
            device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, kSprites * 4, groupStart[t] * 6, count * 2);
        }
        device->EndScene();
        (*s.finishFrame)();
    };
    frame();
    for (auto _ : state) frame();
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["drawCalls"] = kTextures;
    device->SetTexture(0, nullptr);
    if (saved) {
        saved->Apply();
        saved->Release();
    }
}

void rawSpriteEffect(benchmark::State& state) {
    Scene& s = scene();
    ID3DXEffect* effect = s.ready ? (state.range(0) == 8 ? s.eightSlots : s.effect)->getD3DXEffect() : nullptr;
    if (!effect) {
        state.SkipWithError("no device or no sprite effect");
        return;
    }
    IDirect3DDevice9* device = s.device();
    std::vector<unsigned> groupStart;
    std::vector<Orvex::SpriteVertex> const vertices =
        groupedVertices<Orvex::SpriteVertex>(s, groupStart, [](float x, float y, D3DCOLOR c, float u, float v) {
            Orvex::SpriteVertex vertex;
            // The effect moves positions by half a pixel itself.
            vertex.x = x + 0.5f;
            vertex.y = y + 0.5f;
            vertex.colour = c;
            vertex.u = u;
            vertex.v = v;
            return vertex;
        });
    RawBuffers buffers(device, kSprites * 4 * sizeof(Orvex::SpriteVertex));
    if (!buffers.vb || !buffers.ib) {
        state.SkipWithError("no buffers");
        return;
    }
    IDirect3DStateBlock9* saved = nullptr;
    device->CreateStateBlock(D3DSBT_ALL, &saved);
    device->SetRenderState(D3DRS_ZENABLE, FALSE);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device->SetFVF(Orvex::Sprite::kFVF2D);
    device->SetStreamSource(0, buffers.vb, 0, sizeof(Orvex::SpriteVertex));
    device->SetIndices(buffers.ib);
    auto frame = [&] {
        device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF206020, 1.0f, 0);
        device->BeginScene();
        buffers.upload(vertices);
        effect->SetTechnique("Render2DAlpha");
        UINT passes = 0;
        effect->Begin(&passes, 0);
        effect->BeginPass(0);
        for (unsigned t = 0; t < kTextures; ++t) {
            unsigned const count = groupStart[t + 1] - groupStart[t];
            if (count == 0) continue;
            effect->SetTexture("g_Textur0", s.textures[t]);
            effect->CommitChanges();
            device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, kSprites * 4, groupStart[t] * 6, count * 2);
        }
        effect->EndPass();
        effect->End();
        device->EndScene();
        (*s.finishFrame)();
    };
    frame();
    for (auto _ : state) frame();
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["drawCalls"] = kTextures;
    if (saved) {
        saved->Apply();
        saved->Release();
    }
}

// The reference's context and textures, made on first use: one window without and one with a
// depth-stencil buffer.
bench::DirectGl* directGl(bool windowDepth = false) {
    static bench::DirectGl gl[2];
    static bool ready[2] = {};
    static bool tried[2] = {};
    int const i = windowDepth ? 1 : 0;
    if (!tried[i]) {
        tried[i] = true;
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        ready[i] = gl[i].open(kWidth, kHeight, kSprites, windowDepth);
        std::vector<uint32_t> pixels(kSize * kSize);
        for (unsigned t = 0; ready[i] && t < kTextures; ++t) {
            for (unsigned y = 0; y < kSize; ++y)
                for (unsigned x = 0; x < kSize; ++x) pixels[y * kSize + x] = texel(t, x, y);
            gl[i].addTexture(kSize, kSize, pixels.data());
        }
    }
    return ready[i] ? &gl[i] : nullptr;
}

// Where the reference draws and whether it tests depth.
enum class Target { Window, Texture, TextureWithDepth, WindowWithDepth };

void directGlFrame(benchmark::State& state, bool sorted, unsigned slots, Target target = Target::Window) {
    bench::DirectGl* gl = directGl(target == Target::WindowWithDepth);
    if (!gl) {
        state.SkipWithError("no direct GL context");
        return;
    }
    gl->drawIntoTexture(target == Target::Texture || target == Target::TextureWithDepth);
    gl->testDepth(target == Target::TextureWithDepth || target == Target::WindowWithDepth);
    std::vector<bench::DirectSprite> queued;
    for (Placed const& p : placements()) queued.push_back({p.x, p.y, kSize, kSize, p.texture, p.colour});
    std::vector<bench::DirectSprite> sprites;
    unsigned draws = 0;
    auto frame = [&] {
        sprites = queued;
        if (sorted)
            std::stable_sort(sprites.begin(), sprites.end(),
                             [](bench::DirectSprite const& a, bench::DirectSprite const& b) { return a.texture < b.texture; });
        draws = gl->frame(sprites, slots);
    };
    frame();
    for (auto _ : state) frame();
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["drawCalls"] = draws;
    gl->drawIntoTexture(false);
    gl->testDepth(false);
}

void directGlQueueOrder(benchmark::State& state) { directGlFrame(state, false, static_cast<unsigned>(state.range(0))); }
void directGlQueueOrderWithDepth(benchmark::State& state) {
    directGlFrame(state, false, static_cast<unsigned>(state.range(0)), Target::TextureWithDepth);
}
void directGlSortedByTexture(benchmark::State& state) { directGlFrame(state, true, 1); }
void directGlSortedIntoTexture(benchmark::State& state) { directGlFrame(state, true, 1, Target::Texture); }
void directGlSortedWithDepth(benchmark::State& state) { directGlFrame(state, true, 1, Target::TextureWithDepth); }
void directGlSortedWindowDepth(benchmark::State& state) { directGlFrame(state, true, 1, Target::WindowWithDepth); }

}  // namespace

BENCHMARK(directGlQueueOrder)->ArgName("slots")->Arg(8)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(directGlSortedByTexture)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(directGlSortedIntoTexture)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(directGlQueueOrderWithDepth)->ArgName("slots")->Arg(8)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(directGlSortedWithDepth)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(directGlSortedWindowDepth)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(rawPortLayer)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(rawSpriteEffect)->ArgName("texCount")->Arg(1)->Arg(8)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(batcherSortedByTexture)->ArgName("texCount")->Arg(1)->Arg(8)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(batcherSortedWithoutDepth)->ArgName("texCount")->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(batcherQueueAndSort)->Unit(benchmark::kMillisecond);
BENCHMARK(batcherQueueOrder)->ArgName("texCount")->Arg(1)->Arg(8)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(batcherQueueOrderWithoutDepth)->ArgName("texCount")->Arg(1)->Arg(8)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
