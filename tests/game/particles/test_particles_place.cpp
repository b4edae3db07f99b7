// Where emitted particles start on the real device's textures: on the opaque pixels of an attached
// object's shape (through its turned quad) or of a window's picture inside its image rectangle,
// heading away from the middle; without a drawn pixel at the quad's position and without speed.
#include <functional>

#include "engine/core/XMLNode.h"
#include "engine/gui/GUIWindow.h"
#include "engine/render/Texture2D.h"
#include "game/look/StyleSettings.h"
#include "game/particles/SolPartikel.h"
#include "game/particles/SolPartikelManager.h"
#include "tests/game/look/TableDevice.h"

namespace Solitaire {
namespace {

using Opaque = std::function<bool(unsigned, unsigned)>;

// An 8 x 8 texture whose pixels are opaque where the function says, else clear.
Orvex::Texture2D* makeShape(Opaque const& opaque) {
    auto* texture = new Orvex::Texture2D();
    D3DLOCKED_RECT locked{};
    if (!texture->create(8, 8, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED) ||
        !texture->lockRect(0, locked, RECT{0, 0, 8, 8}, 0)) {
        ADD_FAILURE() << "no texture";
        return texture;
    }
    for (unsigned y = 0; y < 8; ++y)
        for (unsigned x = 0; x < 8; ++x)
            texture->setPixel(opaque(x, y) ? D3DXCOLOR(1, 1, 1, 1) : D3DXCOLOR(1, 1, 1, 0), x, y);
    texture->unlockRect(0);
    return texture;
}

// A table object of an 80 x 80 quad whose top-left corner is at (100, 200), turned about its
// middle, with a shape texture.
class ShapedObject : public RenderObjekt {
public:
    ShapedObject(Orvex::Texture2D* shape, float turn) : shape_(shape), turn_(turn) {}
    void queueRender(RenderQueue&, RenderContext const&) override {}
    void render(RenderContext const&) override {}
    Orvex::SpriteRect getScreenQuad() override {
        return Orvex::SpriteRect({100.0f, 200.0f}, {80.0f, 80.0f}, turn_, {0.5f, 0.5f}, Orvex::SpriteRect::kCentreRelative);
    }
    Orvex::Texture2D* getShapeTexture() override { return shape_; }
    float getRenderOrder() override { return 7.0f; }

private:
    Orvex::Texture2D* shape_;
    float turn_;
};

struct Area {
    float left, top, right, bottom;
};

struct EmitterPlaceCase {
    wchar_t const* what;
    Opaque opaque;          // null: no texture
    float turn;             // of the object's quad
    bool window;            // the emitter's source window instead of an attached object
    bool sourceRect;        // the window draws the top-left quarter of its texture
    Area area;              // where every particle starts
    bool moving;            // with speed (away from the middle)
};

class ParticlePlace : public styletest::TableDeviceTest, public ::testing::WithParamInterface<EmitterPlaceCase> {
protected:
    void SetUp() override {
        TableDeviceTest::SetUp();
        manager().clear();
        StyleSettings::instance().setParticleSpawnMult(1.0f);
        Orvex::XMLNode root;
        ASSERT_TRUE(root.loadFromText(L"<PARTIKEL_DATEI><PARTIKEL_VORLAGE NAME=\"P\" LIFETIME=\"10\" SPEED=\"10\"/>"
                                      L"<EMITTER_VORLAGE NAME=\"E\" LIFETIME=\"-1\" PPS=\"1000\" MAXPARTIKEL=\"40\">"
                                      L"<PARTIKEL>\"|P|\"</PARTIKEL></EMITTER_VORLAGE></PARTIKEL_DATEI>",
                                      L"place.par"));
        manager().loadTemplates(root, L"place.par");
    }
    void TearDown() override {
        manager().clear();
        TableDeviceTest::TearDown();
    }
    static SolPartikelManager& manager() { return SolPartikelManager::instance(); }
};

bool inside(D3DXVECTOR2 const& p, Area const& a) {
    return p.x >= a.left - 0.01f && p.x <= a.right + 0.01f && p.y >= a.top - 0.01f && p.y <= a.bottom + 0.01f;
}

TEST_P(ParticlePlace, StartsOnDrawnPixelsOnly) {
    EmitterPlaceCase const& c = GetParam();
    Orvex::Texture2D* texture = c.opaque ? makeShape(c.opaque) : nullptr;
    ShapedObject* object = new ShapedObject(texture, c.turn);
    Orvex::GUIWindow* window = new Orvex::GUIWindow(L"FENSTER");
    window->setPixelRect(10, 20, 40, 40);
    window->getDrawOptions().setTexNormal(texture);
    window->getDrawOptions().normalSource = {Orvex::FRect(0.0f, 0.0f, 4.0f, 4.0f), c.sourceRect};

    SolPartikel* emitter = c.window ? manager().spawn(L"E", {-500.0f, -500.0f}) : manager().spawnOnObject(L"E", object);
    ASSERT_NE(emitter, nullptr);
    if (c.window) emitter->setRelativeWindow(window);
    object->release();  // the emitter holds what it needs
    window->release();
    manager().update(0.1f, -1);
    ASSERT_EQ(manager().liveParticles().size(), 40u);
    D3DXVECTOR2 const middle = c.window ? D3DXVECTOR2{30.0f, 40.0f} : D3DXVECTOR2{140.0f, 240.0f};
    for (SolPartikel* p : manager().liveParticles()) {
        D3DXVECTOR2 const at = p->getPosition();
        EXPECT_TRUE(inside(at, c.area)) << at.x << ", " << at.y;
        D3DXVECTOR2 const v = p->getVelocity();
        if (c.moving)
            EXPECT_GT(v.x * (at.x - middle.x) + v.y * (at.y - middle.y), 0.0f);  // heading away from the middle
        else
            EXPECT_TRUE(v.x == 0.0f && v.y == 0.0f);
        EXPECT_EQ(p->getRenderOrder(), c.window ? SolPartikelEmitter::kWindowDrawOrder : 8.0f);
    }
    manager().clear();
    if (texture) texture->release();
}

bool rightHalf(unsigned x, unsigned) { return x >= 4; }
bool none(unsigned, unsigned) { return false; }
// Top-left and bottom-right quarters.
bool twoQuarters(unsigned x, unsigned y) { return (x < 4) == (y < 4); }

// The particles start on the pixel's middle: 5 texel-halves in from the edge of the opaque half.
INSTANTIATE_TEST_SUITE_P(
    Table, ParticlePlace,
    ::testing::Values(
        EmitterPlaceCase{L"the right half", rightHalf, 0.0f, false, false, {140.0f, 200.0f, 180.0f, 280.0f}, true},
        EmitterPlaceCase{L"turned half way: the left half", rightHalf, 180.0f, false, false, {100.0f, 200.0f, 140.0f, 280.0f},
                  true},
        EmitterPlaceCase{L"turned a quarter: the lower half", rightHalf, 90.0f, false, false, {100.0f, 240.0f, 180.0f, 280.0f},
                  true},
        EmitterPlaceCase{L"no opaque pixel: the quad's position", none, 0.0f, false, false, {100.0f, 200.0f, 100.0f, 200.0f},
                  false},
        EmitterPlaceCase{L"no texture: the quad's position", nullptr, 0.0f, false, false, {100.0f, 200.0f, 100.0f, 200.0f},
                  false},
        EmitterPlaceCase{L"a window: its whole rectangle", twoQuarters, 0.0f, true, false, {10.0f, 20.0f, 50.0f, 60.0f}, true},
        EmitterPlaceCase{L"a window's image quarter spans the window", twoQuarters, 0.0f, true, true,
                  {10.0f, 20.0f, 50.0f, 60.0f}, true},
        EmitterPlaceCase{L"a window without a drawn pixel: its corner", none, 0.0f, true, false, {10.0f, 20.0f, 10.0f, 20.0f},
                  false}));

}  // namespace
}  // namespace Solitaire
