// The engine batcher's device states and 3D path: what End restores (only what Begin
// captured), immediate mode drawing the 3D list once, depth sorting, a lost and reset device;
// and the D3DX wrapper with its nesting and the sprite pair.
#include "tests/engine/render/RenderFixture.h"

#include "engine/platform/D3DInterface.h"
#include "engine/render/SpriteHolder.h"
#include "port/d3d9/d3d9_port.h"
#include "tests/support/gl/TestMatrices.h"

namespace rendertest {
namespace {

DWORD renderState(IDirect3DDevice9* device, D3DRENDERSTATETYPE state) {
    DWORD value = 0;
    device->GetRenderState(state, &value);
    return value;
}

int channel(uint32_t pixel, int shift) { return static_cast<int>((pixel >> shift) & 0xFF); }

class SpriteStateTest : public SpriteTest {
protected:
    // World units are screen pixels: identity view, orthographic projection of the target.
    void screenCamera() {
        D3DXMATRIX view;
        D3DXMatrixIdentity(&view);
        D3DXMATRIX projection;
        projection = testsupport::orthoOffCenterLH(0, kWidth, kHeight, 0, 0, 100);
        device()->SetTransform(D3DTS_VIEW, &view);
        device()->SetTransform(D3DTS_PROJECTION, &projection);
        device()->SetRenderState(D3DRS_ZENABLE, FALSE);
    }
    bool draw3D(IDirect3DTexture9* texture, float x, float y, float z, float size, uint32_t colour) {
        D3DXVECTOR3 const scaling(size, size, 1);
        D3DXVECTOR3 const translation(x, y, z);
        return sprite->drawSprite3D(texture, nullptr, &scaling, nullptr, &translation, nullptr, colour);
    }
};

TEST_F(SpriteStateTest, EndRestoresOnlyWhatBeginCaptured) {
    IDirect3DTexture9* t = makeTexture(4, 4, {0xFFFFFFFF});
    device()->SetRenderState(D3DRS_TEXTUREFACTOR, 0x11223344);
    device()->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
    // Captured: the caller's changes inside the batch and Begin's own states are undone.
    ASSERT_TRUE(sprite->Begin(0, nullptr));
    EXPECT_EQ(renderState(device(), D3DRS_SRCBLEND), static_cast<DWORD>(D3DBLEND_SRCALPHA));
    device()->SetRenderState(D3DRS_TEXTUREFACTOR, 0x55);
    drawAt(t, 0, 0);
    sprite->End();
    EXPECT_EQ(renderState(device(), D3DRS_TEXTUREFACTOR), 0x11223344u);
    EXPECT_EQ(renderState(device(), D3DRS_SRCBLEND), static_cast<DWORD>(D3DBLEND_ONE));
    // Not captured (D3DXSPRITE_DONOTSAVESTATE): End leaves every state as it is, rather than
    // bringing back an older capture.
    device()->SetRenderState(D3DRS_TEXTUREFACTOR, 0x66778899);
    ASSERT_TRUE(sprite->Begin(D3DXSPRITE_DONOTSAVESTATE, nullptr));
    drawAt(t, 0, 0);
    sprite->End();
    EXPECT_EQ(renderState(device(), D3DRS_TEXTUREFACTOR), 0x66778899u);
    EXPECT_EQ(renderState(device(), D3DRS_SRCBLEND), static_cast<DWORD>(D3DBLEND_SRCALPHA));
    EXPECT_TRUE(filled(readTarget(), 0, 0, 4, 4, 0xFFFFFFFF));
    // Neither captured nor modified.
    device()->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
    ASSERT_TRUE(sprite->Begin(D3DXSPRITE_DONOTSAVESTATE | D3DXSPRITE_DONOTMODIFY_RENDERSTATE, nullptr));
    EXPECT_EQ(renderState(device(), D3DRS_SRCBLEND), static_cast<DWORD>(D3DBLEND_ONE));
    sprite->End();
}

TEST_F(SpriteStateTest, ImmediateModeDrawsTheThreeDListOnce) {
    screenCamera();
    clear(0xFF000000);
    IDirect3DTexture9* white = makeTexture(2, 2, {0xFFFFFFFF});
    ASSERT_TRUE(sprite->Begin(kSpriteImmediate | D3DXSPRITE_ALPHABLEND, nullptr));
    EXPECT_TRUE(draw3D(white, 10, 10, 1, 20, 0x80FFFFFF));  // half transparent
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(drawAt(white, 60.0f + 2 * i, 60, 0xFF00FF00));
        EXPECT_TRUE(sprite->get2DList().empty());  // drawn at once
        EXPECT_EQ(sprite->get3DList().size(), 1u);
    }
    sprite->End();
    EXPECT_EQ(sprite->getStats().drawCalls, 4u);
    std::vector<uint32_t> pixels = readTarget();
    // Blended once over black: about half grey (drawn four times it would be near white).
    uint32_t const p = at(pixels, 20, 20);
    for (int shift : {0, 8, 16}) EXPECT_NEAR(channel(p, shift), 0x80, 3) << std::hex << p;
    EXPECT_TRUE(filled(pixels, 60, 60, 66, 62, 0xFF00FF00));
}

TEST_F(SpriteStateTest, ThreeDSpritesAreUnitQuadsPlacedAndSortedByDepth) {
    screenCamera();  // the camera at the origin, depth test off: the last drawn sprite shows
    IDirect3DTexture9* white = makeTexture(2, 2, {0xFFFFFFFF});
    IDirect3DTexture9* red = makeTexture(2, 2, {0xFFFF0000});
    // Three sprites on the same spot at depths 5 (red), 50 (green) and 20 (blue).
    auto queueThree = [&] {
        draw3D(white, 10, 10, 5, 20, 0xFFFF0000);
        draw3D(white, 10, 10, 50, 20, 0xFF00FF00);
        draw3D(white, 10, 10, 20, 20, 0xFF0000FF);
        draw3D(red, 50, 10, 20, 20, 0xFF00FF00);  // red x green: black, beside them
    };
    auto centreZ = [&](size_t i) { return sprite->get3DList()[i].vertices[0].centre[2]; };
    ASSERT_TRUE(sprite->Begin(D3DXSPRITE_SORT_DEPTH_BACKTOFRONT, nullptr));
    queueThree();
    sprite->End();
    ASSERT_EQ(sprite->get3DList().size(), 4u);
    EXPECT_FLOAT_EQ(centreZ(0), 20.0f);  // (60, 20, 20) is farther than (20, 20, 50)
    EXPECT_FLOAT_EQ(centreZ(1), 50.0f);
    EXPECT_FLOAT_EQ(centreZ(3), 5.0f);
    std::vector<uint32_t> pixels = readTarget();
    EXPECT_TRUE(filled(pixels, 12, 12, 28, 28, 0xFFFF0000));  // the nearest drawn last
    EXPECT_TRUE(filled(pixels, 52, 12, 68, 28, 0xFF000000));
    EXPECT_TRUE(filled(pixels, 32, 12, 48, 28, kClear));
    // Nearest first: the farthest of the three shows.
    ASSERT_TRUE(sprite->Begin(D3DXSPRITE_SORT_DEPTH_FRONTTOBACK, nullptr));
    queueThree();
    sprite->End();
    EXPECT_FLOAT_EQ(centreZ(0), 5.0f);
    EXPECT_TRUE(filled(readTarget(), 12, 12, 28, 28, 0xFF00FF00));
    // Back to front with alpha test: queue order kept, the last queued shows.
    ASSERT_TRUE(sprite->Begin(D3DXSPRITE_SORT_DEPTH_BACKTOFRONT | kSpriteAlphaTest | D3DXSPRITE_ALPHABLEND, nullptr));
    queueThree();
    sprite->End();
    EXPECT_FLOAT_EQ(centreZ(0), 5.0f);
    EXPECT_FLOAT_EQ(centreZ(1), 50.0f);
    EXPECT_FLOAT_EQ(centreZ(2), 20.0f);
    EXPECT_TRUE(filled(readTarget(), 12, 12, 28, 28, 0xFF0000FF));
}

// 3D chunks hold no more textures than the effect has slots: with one slot, each sprite its own.
TEST_F(SpriteStateTest, ThreeDSpritesOfAOneSlotEffectShowTheirOwnTextures) {
    sprite->setEffect(loadSpriteEffect("1"));
    screenCamera();
    uint32_t const colours[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF};
    std::vector<IDirect3DTexture9*> textures;
    for (uint32_t c : colours) textures.push_back(makeTexture(4, 4, {c}));
    ASSERT_TRUE(sprite->Begin(0, nullptr));
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(draw3D(textures[i], 20.0f * i, 10, 1, 10, 0xFFFFFFFF));
    sprite->End();
    EXPECT_EQ(sprite->getStats().chunks, 3u);
    std::vector<uint32_t> pixels = readTarget();
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(filled(pixels, 20 * i + 2, 12, 20 * i + 8, 18, colours[i])) << "sprite " << i;
}

TEST_F(SpriteStateTest, LostAndResetDeviceRecreatesBuffersAndDrawsTheSamePixels) {
    Orvex::D3DInterface& d3d = Orvex::D3DInterface::getInstance();
    IDirect3DTexture9* a = makeTexture(6, 6, {0xFFFF0000});
    IDirect3DTexture9* b = makeTexture(3, 3, {0xFF0000FF});
    auto frame = [&] {
        clear();
        // No state capture: the batcher's buffers stay bound to the device after End.
        if (!sprite->Begin(D3DXSPRITE_DONOTSAVESTATE | D3DXSPRITE_ALPHABLEND, nullptr)) return std::vector<uint32_t>();
        drawAt(a, 5, 5);
        drawAt(b, 20, 7, 0xFFFFFF00);
        D3DXVECTOR2 const scaling(4, 2);
        D3DXVECTOR2 const position(40, 40);
        sprite->DrawSprite2D(a, nullptr, &scaling, nullptr, 0.0f, &position, 0x80FFFFFF);
        sprite->End();
        return readTarget();
    };
    std::vector<uint32_t> const before = frame();
    ASSERT_FALSE(before.empty());
    EXPECT_TRUE(filled(before, 5, 5, 11, 11, 0xFFFF0000));
    EXPECT_TRUE(filled(before, 20, 7, 23, 10, 0xFF000000));

    port::d3d9::loseDevice(device());
    EXPECT_FALSE(d3d.checkDevice());
    EXPECT_FALSE(sprite->hasBuffers());
    EXPECT_FALSE(sprite->Begin(0, nullptr));
    EXPECT_EQ(port::d3d9::defaultPoolResources(device()), 0u);
    ASSERT_TRUE(d3d.checkDevice());
    EXPECT_TRUE(sprite->hasBuffers());
    EXPECT_EQ(sprite->getRingPosition(), 0u);
    std::vector<uint32_t> const after = frame();
    ASSERT_EQ(after.size(), before.size());
    EXPECT_TRUE(after == before);
}

TEST_F(SpriteStateTest, EachMissingTechniqueIsReportedOnce) {
    // An effect with none of the batcher's techniques: the 2D and the 3D draw each name theirs.
    write("flat.fx", flatEffect());
    Orvex::XMLNode node = parse(definition(L"NoSprite", "flat.fx"));
    auto* flat = new Orvex::Effect(false);
    ASSERT_TRUE(flat->load(node));
    IDirect3DTexture9* texture = makeTexture(4, 4, {0xFFFFFFFF});
    screenCamera();
    auto frame = [&] {
        ASSERT_TRUE(sprite->Begin(0, flat));
        drawAt(texture, 0, 0);
        draw3D(texture, 8, 8, 1, 4, 0xFFFFFFFF);
        sprite->End();
    };
    frame();
    EXPECT_TRUE(logged(L"has no technique Render2D,"));
    EXPECT_TRUE(logged(L"has no technique Render3D,"));
    EXPECT_EQ(loggedCount(L"has no technique"), 2u);
    frame();
    EXPECT_EQ(loggedCount(L"has no technique"), 2u) << "said again";
    flat->release();
}

// The report is remembered per effect: a second effect without the technique is named too.
TEST_F(SpriteStateTest, AnotherEffectMissingTheTechniqueIsReportedToo) {
    write("flat.fx", flatEffect());
    IDirect3DTexture9* texture = makeTexture(4, 4, {0xFFFFFFFF});
    screenCamera();
    for (wchar_t const* name : {L"Flach1", L"Flach2", L"Flach1"}) {
        Orvex::XMLNode node = parse(definition(name, "flat.fx"));
        auto* flat = new Orvex::Effect(false);
        ASSERT_TRUE(flat->load(node));
        ASSERT_TRUE(sprite->Begin(0, flat));
        drawAt(texture, 0, 0);
        sprite->End();
        flat->release();
    }
    EXPECT_EQ(loggedCount(L"\"Flach1\" has no technique Render2D,"), 2u) << "two effects of one name";
    EXPECT_EQ(loggedCount(L"\"Flach2\" has no technique Render2D,"), 1u);
}

TEST_F(SpriteStateTest, D3DXSpriteNestsAndFlushes) {
    Orvex::D3DXSprite d3dx;
    EXPECT_FALSE(d3dx.Begin(0, nullptr));  // no ID3DXSprite before create
    ASSERT_TRUE(d3dx.create());
    IDirect3DTexture9* t = makeTexture(4, 4, {0xFF00FF00});
    ASSERT_TRUE(d3dx.Begin(D3DXSPRITE_ALPHABLEND, nullptr));
    ASSERT_TRUE(d3dx.Begin(0, nullptr));  // nested: only counts
    D3DXVECTOR2 const position(8, 8);
    EXPECT_TRUE(d3dx.DrawSprite2D(t, nullptr, nullptr, nullptr, 0.0f, &position, 0xFFFFFFFF));
    EXPECT_FALSE(d3dx.DrawSprite2D(nullptr, nullptr, nullptr, nullptr, 0.0f, &position, 0xFFFFFFFF));
    EXPECT_FALSE(d3dx.End());
    EXPECT_TRUE(d3dx.isInBegin());
    EXPECT_EQ(d3dx.getFlags(), static_cast<u32>(D3DXSPRITE_ALPHABLEND));
    EXPECT_TRUE(d3dx.End());
    EXPECT_FALSE(d3dx.isInBegin());
    EXPECT_TRUE(filled(readTarget(), 8, 8, 12, 12, 0xFF00FF00));
    // Flushing draws what is queued and ends for the moment; resuming begins again.
    clear();
    ASSERT_TRUE(d3dx.Begin(D3DXSPRITE_ALPHABLEND, nullptr));
    ASSERT_TRUE(d3dx.Begin(0, nullptr));
    EXPECT_TRUE(d3dx.DrawSprite2D(t, nullptr, nullptr, nullptr, 0.0f, &position, 0xFFFFFFFF));
    EXPECT_TRUE(d3dx.flushBatch());
    EXPECT_FALSE(d3dx.isInBegin());
    EXPECT_TRUE(filled(readTarget(), 8, 8, 12, 12, 0xFF00FF00));
    d3dx.resumeBatch();
    EXPECT_TRUE(d3dx.isInBegin());
    EXPECT_FALSE(d3dx.End());
    EXPECT_TRUE(d3dx.End());
}

TEST_F(SpriteStateTest, DeviceObjectOwnsOnePairRecreatedWithEveryDevice) {
    Orvex::D3DInterface& d3d = Orvex::D3DInterface::getInstance();
    Orvex::SpriteHolder& pair = d3d.getSprite();
    EXPECT_NE(*pair.getD3DXSprite(), nullptr);
    EXPECT_TRUE(pair.getSprite().hasBuffers());
    // The engine batcher of the pair draws.
    IDirect3DTexture9* t = makeTexture(4, 4, {0xFF00FF00});
    pair.getSprite().setEffect(effect);
    ASSERT_TRUE(pair.getSprite().Begin(0, nullptr));
    D3DXVECTOR2 const position(3, 3);
    pair.getSprite().DrawSprite2D(t, nullptr, nullptr, nullptr, 0.0f, &position, 0xFFFFFFFF);
    pair.getSprite().End();
    EXPECT_TRUE(filled(readTarget(), 3, 3, 7, 7, 0xFF00FF00));
    pair.getSprite().setEffect(nullptr);
    // A lost device takes the buffers; the reset brings them back.
    port::d3d9::loseDevice(device());
    EXPECT_FALSE(d3d.checkDevice());
    EXPECT_FALSE(pair.getSprite().hasBuffers());
    EXPECT_TRUE(d3d.checkDevice());
    EXPECT_TRUE(pair.getSprite().hasBuffers());
    // A new device: the pair makes its sprites again on it.
    delete sprite;
    sprite = nullptr;
    d3d.shutdown();
    ASSERT_TRUE(d3d.init());
    EXPECT_NE(*pair.getD3DXSprite(), nullptr);
    EXPECT_TRUE(pair.getSprite().hasBuffers());
    // A pair made before the device waits for it.
    d3d.shutdown();
    Orvex::SpriteHolder early;
    EXPECT_EQ(*early.getD3DXSprite(), nullptr);
    EXPECT_FALSE(early.getSprite().hasBuffers());
    ASSERT_TRUE(d3d.init());
    EXPECT_NE(*early.getD3DXSprite(), nullptr);
    EXPECT_TRUE(early.getSprite().hasBuffers());
}

}  // namespace
}  // namespace rendertest
