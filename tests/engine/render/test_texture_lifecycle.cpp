// Texture lifetime on the real device: idle suspend on the texture clock and resume with the
// same pixels, the suspend rules, device loss and reset of D3DPOOL_DEFAULT textures, copies.
#include "tests/engine/render/RenderFixture.h"

#include "engine/platform/D3DInterface.h"
#include "engine/render/TextureSettings.h"
#include "port/d3d9/d3d9_port.h"
#include "port/win32/kernel.h"

using Orvex::BaseTexture;
using Orvex::Texture2D;
using namespace rendertest;

namespace {

void emitCheck() { Orvex::TextureClock::get().checkSignal.emit(); }

struct SuspendEvents : sigslot::has_slots<> {
    int suspended = 0, resumed = 0, lost = 0, restored = 0;
    void onSuspended(BaseTexture&) { ++suspended; }
    void onResumed(BaseTexture&) { ++resumed; }
    void onLost(BaseTexture*) { ++lost; }
    void onRestored(BaseTexture*) { ++restored; }
    void watch(BaseTexture& t) {
        t.signalSuspended.connect(this, &SuspendEvents::onSuspended);
        t.signalResumed.connect(this, &SuspendEvents::onResumed);
        t.signalLost.connect(this, &SuspendEvents::onLost);
        t.signalRestored.connect(this, &SuspendEvents::onRestored);
    }
};

class TextureLifecycleTest : public RenderFixture {
protected:
    // One frame: clear to black, draw the texture at (x, y) through an ID3DXSprite.
    void drawFrame(IDirect3DTexture9* texture, float x, float y) {
        ID3DXSprite* sprite = nullptr;
        ASSERT_EQ(D3DXCreateSprite(device(), &sprite), D3D_OK);
        clear(0xFF000000u);
        device()->BeginScene();
        sprite->Begin(0);
        D3DXVECTOR3 const position(x, y, 0.0f);
        sprite->Draw(texture, nullptr, nullptr, &position, 0xFFFFFFFFu);
        sprite->End();
        device()->EndScene();
        sprite->Release();
    }
};

}  // namespace

TEST_F(TextureLifecycleTest, IdleTextureSuspendsAfterItsIdleTimeAndComesBackWithTheSamePixels) {
    TextureRef t;
    ASSERT_TRUE(t->loadFromFile(write("checker.png", png(16, 8, quadrants))));
    std::vector<uint32_t> const before = readAll(*t);
    t->setAutoSuspend(true, 5000);
    SuspendEvents events;
    events.watch(*t);
    t->setEmitSuspendSignals(true);
    Orvex::u32 const stamp = t->getLastUse();

    Orvex::setTextureTickCount(stamp + 5000);
    emitCheck();
    EXPECT_FALSE(t->isSuspended()) << "exactly the idle time is not idle yet";
    Orvex::setTextureTickCount(stamp + 5001);
    emitCheck();
    ASSERT_TRUE(t->isSuspended());
    t->setSuspended(true);
    emitCheck();
    EXPECT_EQ(events.suspended, 1) << "suspending a suspended texture does nothing";

    EXPECT_EQ(t->getWidth(), 16u);
    EXPECT_TRUE(t->isSuspended()) << "the size is known without re-creation";

    IDirect3DTexture9* again = t->getTexture();
    ASSERT_NE(again, nullptr);
    EXPECT_FALSE(t->isSuspended());
    EXPECT_EQ(events.resumed, 1);
    EXPECT_EQ(t->getLastUse(), stamp + 5001);
    EXPECT_EQ(readAll(*t), before);
    Orvex::setTextureTickCount(stamp + 5001 - 10);
    emitCheck();
    EXPECT_FALSE(t->isSuspended()) << "a clock set back is not idleness";
}

TEST_F(TextureLifecycleTest, TextureMadeWhileLoadingIsNotIdleAtTheFirstCheck) {
    // Loading runs without updates, so the texture clock stands still while GetTickCount runs
    // on; both must not be mixed. Put the clock far from GetTickCount on purpose.
    Orvex::setTextureTickCount(GetTickCount() + 1000000u);
    Orvex::TextureModuleSettings::get().overrideAutoSuspend = true;
    TextureRef t;
    ASSERT_TRUE(t->create(8, 8, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED));
    EXPECT_TRUE(t->isAutoSuspend());
    EXPECT_EQ(t->getLastUse(), Orvex::getTextureTickCount());
    emitCheck();
    EXPECT_FALSE(t->isSuspended());

    // A copy is stamped on the same clock.
    Texture2D* copy = t->clone(nullptr);
    emitCheck();
    EXPECT_FALSE(copy->isSuspended());
    EXPECT_TRUE(copy->isAutoSuspend());
    copy->release();
}

TEST_F(TextureLifecycleTest, CanSuspendOffAndRenderTargetsRefuseEverySuspend) {
    TextureRef t;
    ASSERT_TRUE(t->create(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED));
    t->setAutoSuspend(true, 10);
    t->setCanSuspend(false);
    t->suspend();
    t->setSuspended(true);
    Orvex::setTextureTickCount(t->getLastUse() + 100);
    emitCheck();
    EXPECT_FALSE(t->isSuspended());
    EXPECT_NE(*t->getD3DTexture(), nullptr);

    Orvex::TextureModuleSettings::get().overrideAutoSuspend = true;
    TextureRef target;
    ASSERT_TRUE(target->create(16, 16, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT));
    EXPECT_FALSE(target->canSuspend()) << "a default-pool render target never suspends";
    EXPECT_FALSE(target->isAutoSuspend());
}

TEST_F(TextureLifecycleTest, ReadingAutoSuspendJoinsAndLeavesTheCheck) {
    TextureRef t;
    ASSERT_TRUE(t->create(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED));
    Orvex::XMLNode on = parse(L"<T AUTO_SUPEND=\"1\" AUTO_SUPEND_TIME=\"50\"/>");
    t->readXML(on);
    EXPECT_TRUE(t->isAutoSuspend());
    EXPECT_EQ(t->getAutoSuspendTime(), 50u);
    Orvex::XMLNode off = parse(L"<T AUTO_SUPEND=\"0\"/>");
    t->readXML(off);
    EXPECT_EQ(t->getAutoSuspendTime(), 50u) << "an absent time keeps the time";
    Orvex::setTextureTickCount(t->getLastUse() + 1000);
    emitCheck();
    EXPECT_FALSE(t->isSuspended());
    t->readXML(on);
    emitCheck();
    EXPECT_TRUE(t->isSuspended());
}

// A texture is on the clock's check once while auto-suspend is on, whatever the switching and
// copying; released, it leaves the check (the check walks one connection per such texture).
TEST_F(TextureLifecycleTest, AutoSuspendHoldsOneConnectionOnTheClock) {
    sigslot::signal0<>& check = Orvex::TextureClock::get().checkSignal;
    std::size_t const before = check.connection_count();
    auto* t = new Texture2D(L"clocked");
    for (bool on : {true, true, false, false, true}) t->setAutoSuspend(on, BaseTexture::kKeepTime);
    EXPECT_EQ(check.connection_count(), before + 1);
    auto* copy = new Texture2D(*t);
    EXPECT_TRUE(copy->isAutoSuspend());
    EXPECT_EQ(check.connection_count(), before + 2);
    t->release();
    EXPECT_EQ(check.connection_count(), before + 1);
    copy->setAutoSuspend(false, BaseTexture::kKeepTime);
    EXPECT_EQ(check.connection_count(), before);
    copy->release();
}

TEST_F(TextureLifecycleTest, SuspendOnCreateDefersTheDeviceTextureToTheFirstUse) {
    Orvex::TextureModuleSettings::get().suspendOnCreate = true;
    TextureRef t;
    EXPECT_TRUE(t->isSuspended());
    ASSERT_TRUE(t->loadFromFile(write("late.png", png(8, 4, quadrants))));
    EXPECT_TRUE(t->isCreated());
    EXPECT_EQ(t->getWidth(), 8u);
    EXPECT_EQ(t->getHeight(), 4u);
    EXPECT_TRUE(t->isSuspended());
    ASSERT_NE(t->getTexture(), nullptr);
    EXPECT_EQ(pixelOf(*t, 4, 0), 0xFF00FF00u);
}

TEST_F(TextureLifecycleTest, LostAndResetDeviceRemakesDefaultPoolTexturesAndDrawsTheSamePixels) {
    Orvex::D3DInterface& d3d = Orvex::D3DInterface::getInstance();
    std::wstring const file = write("default.png", png(16, 16, [](unsigned x, unsigned y) {
        return (x < 8) == (y < 8) ? 0xFFFF8000u : 0xFF0080FFu;
    }));
    Orvex::XMLNode node = parse(L"<TEXTUR2D NAME=\"pool\"><FILE FILENAME=\"" + file +
                                L"\"/><FILE_INFO Pool=\"DEFAULT\"/></TEXTUR2D>");
    TextureRef fromNode;
    ASSERT_TRUE(fromNode->loadFromXML(node));
    TextureRef empty;
    ASSERT_TRUE(empty->create(8, 8, 1, D3DUSAGE_DYNAMIC, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT));
    TextureRef target;
    ASSERT_TRUE(target->create(8, 8, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT));
    Texture2D* copy = empty->clone(nullptr);  // a copy must not block the reset
    SuspendEvents events;
    events.watch(*fromNode);

    drawFrame(fromNode->getTexture(), 10, 20);
    std::vector<uint32_t> const before = readTarget();
    ASSERT_EQ(before.size(), kWidth * kHeight);
    EXPECT_EQ(before[20 * kWidth + 10] & 0xFFFFFF, 0xFF8000u);
    EXPECT_EQ(before[20 * kWidth + 18] & 0xFFFFFF, 0x0080FFu);

    port::d3d9::loseDevice(d3d.getDevice());
    EXPECT_FALSE(d3d.checkDevice());
    EXPECT_EQ(events.lost, 1);
    EXPECT_TRUE(fromNode->isLost());
    EXPECT_EQ(port::d3d9::defaultPoolResources(d3d.getDevice()), 0u);
    // The reset succeeds only when every default-pool texture let go.
    EXPECT_TRUE(d3d.checkDevice());
    EXPECT_EQ(events.restored, 1);
    EXPECT_FALSE(fromNode->isLost());
    EXPECT_NE(*empty->getD3DTexture(), nullptr);
    EXPECT_NE(*target->getD3DTexture(), nullptr);
    EXPECT_NE(*copy->getD3DTexture(), nullptr);
    copy->release();
    fromNode->onResetDevice();
    EXPECT_EQ(events.restored, 1) << "a reset without a loss does nothing";

    drawFrame(fromNode->getTexture(), 10, 20);
    EXPECT_EQ(readTarget(), before);
}

TEST_F(TextureLifecycleTest, DefaultPoolTexturesMadeWhileSuspendedFollowALostDevice) {
    // Made while suspended, these get their device texture on the first use; they must still let
    // go of it on a lost device, or the reset fails for good.
    Orvex::D3DInterface& d3d = Orvex::D3DInterface::getInstance();
    Orvex::TextureModuleSettings::get().suspendOnCreate = true;
    std::wstring const file = write("late.png", png(8, 8, quadrants));
    Orvex::XMLNode node = parse(L"<TEXTUR2D NAME=\"lateNode\"><FILE FILENAME=\"" + file +
                                L"\"/><FILE_INFO Pool=\"DEFAULT\" Usage=\"\"/></TEXTUR2D>");
    TextureRef target, fromNode;
    ASSERT_TRUE(target->create(8, 8, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT));
    ASSERT_TRUE(fromNode->loadFromXML(node));
    ASSERT_TRUE(target->isSuspended());
    ASSERT_NE(target->getTexture(), nullptr);
    ASSERT_NE(fromNode->getTexture(), nullptr);
    std::vector<uint32_t> const pixels = readAll(*fromNode);

    port::d3d9::loseDevice(d3d.getDevice());
    EXPECT_FALSE(d3d.checkDevice());
    EXPECT_EQ(port::d3d9::defaultPoolResources(d3d.getDevice()), 0u);
    ASSERT_TRUE(d3d.checkDevice());
    EXPECT_NE(*target->getD3DTexture(), nullptr);
    EXPECT_EQ(readAll(*fromNode), pixels);
}

TEST_F(TextureLifecycleTest, PartsOfADefaultPoolTextureComeBackWhateverTheResetOrder) {
    Orvex::D3DInterface& d3d = Orvex::D3DInterface::getInstance();
    std::wstring const file = write("pool.png", png(16, 8, quadrants));
    Orvex::XMLNode node = parse(L"<TEXTUR2D NAME=\"src\"><FILE FILENAME=\"" + file +
                                L"\"/><FILE_INFO Pool=\"DEFAULT\" Usage=\"\"/></TEXTUR2D>");
    Orvex::XMLNode partNode = parse(L"<TEX_PART NAME=\"p\" L=\"4\" T=\"0\" W=\"4\" H=\"4\"/>");
    Orvex::XMLNode cutNode = parse(L"<TEX_PART NAME=\"c\" CUT=\"1\" L=\"4\" T=\"4\" W=\"4\" H=\"4\"/>");
    TextureRef source, part, cut;
    ASSERT_TRUE(source->loadFromXML(node));
    ASSERT_TRUE(part->loadPart(partNode, source.texture));
    ASSERT_TRUE(cut->loadPart(cutNode, source.texture));
    // Reloading the source puts its device connection after its parts'.
    ASSERT_TRUE(source->loadFromXML(node));
    ASSERT_TRUE(part->loadPart(partNode, source.texture));
    std::vector<uint32_t> const cutBefore = readAll(*cut);

    port::d3d9::loseDevice(d3d.getDevice());
    d3d.checkDevice();
    ASSERT_TRUE(d3d.checkDevice());
    ASSERT_NE(*part->getD3DTexture(), nullptr);
    EXPECT_EQ(*part->getD3DTexture(), *source->getD3DTexture());
    EXPECT_EQ(readAll(*cut), cutBefore);
}

TEST_F(TextureLifecycleTest, FailedRecreationLeavesTheTextureEmptyWithoutRetrying) {
    std::wstring const file = write("gone.png", png(4, 4, quadrants));
    TextureRef t;
    ASSERT_TRUE(t->loadFromFile(file));
    t->suspend();
    std::filesystem::remove(folder / "gone.png");
    EXPECT_EQ(t->getTexture(), nullptr);
    EXPECT_FALSE(t->isSuspended());
    EXPECT_TRUE(t->isCreated());
    EXPECT_TRUE(logged(L"gone.png"));
}

TEST_F(TextureLifecycleTest, ResumedFileTextureKeepsItsCreationParameters) {
    // The recipe of a file texture is the file and the parameters it was loaded with: a colour
    // key applied at the first load must apply again after a suspend.
    Orvex::TextureCreateParams keyed;
    keyed.ColorKey = 0xFF0000FFu;
    TextureRef t;
    ASSERT_TRUE(t->loadFromFile(write("keyed.png", png(8, 8, quadrants)), Orvex::TextureLoadParams(), keyed));
    EXPECT_EQ(pixelOf(*t, 1, 5), 0x00000000u) << "blue is the key";
    std::vector<uint32_t> const before = readAll(*t);
    t->suspend();
    ASSERT_NE(t->getTexture(), nullptr);
    EXPECT_EQ(readAll(*t), before);
}
