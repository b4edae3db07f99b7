// The device object: creation, device loss and reset, display-mode switches with the
// confirmation countdown, the mode list, the console command. Headless (offscreen SDL, llvmpipe).
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "engine/core/Console.h"
#include "engine/core/XMLNode.h"
#include "engine/platform/D3DInterface.h"
#include "tests/engine/core/LogWatch.h"
#include "port/d3d9/d3d9_port.h"
#include "port/win32/win32_picture.h"
#include "port/win32/win32_sdl.h"

using Orvex::D3DInitParams;
using Orvex::D3DInterface;
using Orvex::D3DResolution;

namespace {

D3DDISPLAYMODE mode(UINT width, UINT height, UINT refresh = 60) { return {width, height, refresh, D3DFMT_X8R8G8B8}; }

std::string sizeText(unsigned long width, unsigned long height) {
    return std::to_string(width) + "x" + std::to_string(height);
}

// Every device signal, in the order it arrived.
struct DeviceEvents : sigslot::has_slots<> {
    std::vector<std::string> log;
    std::vector<float> countdowns;

    explicit DeviceEvents(D3DInterface& d3d) {
        d3d.signalDeviceLost.connect(this, &DeviceEvents::onLost);
        d3d.signalDeviceReset.connect(this, &DeviceEvents::onReset);
        d3d.signalDeviceCreated.connect(this, &DeviceEvents::onCreated);
        d3d.signalDeviceShutdown.connect(this, &DeviceEvents::onShutdown);
        d3d.signalSizeChanged.connect(this, &DeviceEvents::onSize);
        d3d.signalModeNeedsConfirmation.connect(this, &DeviceEvents::onNeedsConfirmation);
        d3d.signalModeConfirmed.connect(this, &DeviceEvents::onConfirmed);
        d3d.signalModeCountdown.connect(this, &DeviceEvents::onCountdown);
        d3d.signalModeListRestricted.connect(this, &DeviceEvents::onRestricted);
        d3d.signalUnsupportedMode.connect(this, &DeviceEvents::onUnsupported);
    }
    void onLost() { log.push_back("lost"); }
    void onReset() { log.push_back("reset"); }
    void onCreated() { log.push_back("created"); }
    void onShutdown() { log.push_back("shutdown"); }
    void onSize(unsigned long const& w, unsigned long const& h) { log.push_back("size " + sizeText(w, h)); }
    void onNeedsConfirmation() { log.push_back("confirm?"); }
    void onConfirmed(bool const& kept) { log.push_back(kept ? "kept" : "restored"); }
    void onCountdown(float const& seconds) { countdowns.push_back(seconds); }
    void onRestricted() { log.push_back("restricted"); }
    void onUnsupported(D3DDISPLAYMODE& m) { log.push_back("unsupported " + sizeText(m.Width, m.Height)); }
};

// Holds a D3DPOOL_DEFAULT render target the way engine objects do: released on device-lost,
// re-created on device-reset. The device refuses Reset while it is alive, so a reset that
// succeeds proves device-lost came first.
struct DefaultPoolHolder : sigslot::has_slots<> {
    D3DInterface& d3d;
    IDirect3DTexture9* target = nullptr;

    explicit DefaultPoolHolder(D3DInterface& owner) : d3d(owner) {
        d3d.signalDeviceLost.connect(this, &DefaultPoolHolder::onLost);
        d3d.signalDeviceReset.connect(this, &DefaultPoolHolder::onReset);
        onReset();
    }
    ~DefaultPoolHolder() override { onLost(); }
    void onLost() {
        if (target) target->Release();
        target = nullptr;
    }
    void onReset() {
        if (d3d.getDevice())
            d3d.getDevice()->CreateTexture(64, 64, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &target,
                                           nullptr);
    }
};

std::pair<UINT, UINT> backBufferSize(IDirect3DDevice9* device) {
    IDirect3DSurface9* surface = nullptr;
    if (FAILED(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &surface)) || !surface) return {0, 0};
    D3DSURFACE_DESC desc{};
    surface->GetDesc(&desc);
    surface->Release();
    return {desc.Width, desc.Height};
}

std::pair<LONG, LONG> clientSize(HWND window) {
    RECT rect{};
    GetClientRect(window, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

std::vector<D3DResolution> const kForced = {{1024, 768}, {1280, 720}, {1280, 1024}, {1680, 1050}, {1920, 1080}, {3840, 2160}};

class D3DInterfaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        d3d.shutdown();
        d3d.getInitParams() = D3DInitParams();
        d3d.getInitParams().displayMode = mode(640, 480);
        d3d.getInitParams().setWindowed(true);
    }
    void TearDown() override {
        d3d.shutdown();
        d3d.getInitParams() = D3DInitParams();
    }
    // Offers only the six forced resolutions.
    D3DInitParams& offerForced() {
        d3d.getInitParams().useIncludeResList = true;
        d3d.getInitParams().includeResolutions = kForced;
        return d3d.getInitParams();
    }
    // The mode the device, its back buffer and the window's client area all have.
    void expectSize(UINT width, UINT height) {
        EXPECT_EQ(sizeText(d3d.getWidth(), d3d.getHeight()), sizeText(width, height));
        EXPECT_EQ(backBufferSize(d3d.getDevice()), std::make_pair(width, height));
        if (d3d.getPresentParameters().Windowed) {
            EXPECT_EQ(clientSize(d3d.getWindow().getHWND()), std::make_pair(LONG(width), LONG(height)));
        }
    }
    D3DInterface& d3d = D3DInterface::getInstance();
};

TEST_F(D3DInterfaceTest, CreatesWindowAndDeviceAndReportsCreationOnce) {
    DeviceEvents events(d3d);
    EXPECT_FALSE(d3d.checkDevice());  // no device yet
    ASSERT_TRUE(d3d.init());
    ASSERT_NE(d3d.getDevice(), nullptr);
    EXPECT_TRUE(d3d.isDeviceCreated());
    EXPECT_TRUE(d3d.init());
    EXPECT_EQ(events.log, std::vector<std::string>{"created"});

    HWND window = d3d.getWindow().getHWND();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(d3d.getPresentParameters().hDeviceWindow, window);
    EXPECT_TRUE(d3d.getPresentParameters().Windowed);
    expectSize(640, 480);
    RECT screen{1, 1, 1, 1};
    d3d.getScreenRect(screen);
    EXPECT_EQ(std::tuple(screen.left, screen.top, screen.right, screen.bottom), std::tuple(0, 0, 640, 480));

    EXPECT_TRUE(d3d.checkDevice());
    EXPECT_EQ(events.log.size(), 1u);

    // Shutdown tells the holders while the device is still there; the next device is created anew.
    d3d.shutdown();
    d3d.shutdown();
    ASSERT_TRUE(d3d.init());
    EXPECT_EQ(events.log, (std::vector<std::string>{"created", "shutdown", "created"}));
}

TEST_F(D3DInterfaceTest, ForcedDeviceLossRunsLostThenResetThroughCheckDevice) {
    ASSERT_TRUE(d3d.init());
    DeviceEvents events(d3d);
    DefaultPoolHolder holder(d3d);
    ASSERT_NE(holder.target, nullptr);

    port::d3d9::loseDevice(d3d.getDevice());
    EXPECT_FALSE(d3d.checkDevice());
    EXPECT_EQ(events.log, std::vector<std::string>{"lost"});
    EXPECT_EQ(holder.target, nullptr);

    EXPECT_TRUE(d3d.checkDevice());
    EXPECT_EQ(events.log, (std::vector<std::string>{"lost", "reset"}));
    EXPECT_NE(holder.target, nullptr);
    EXPECT_EQ(d3d.getDevice()->TestCooperativeLevel(), D3D_OK);

    EXPECT_TRUE(d3d.checkDevice());
    EXPECT_EQ(events.log.size(), 2u);
}

TEST_F(D3DInterfaceTest, UnconfirmedModeIsRestoredWhenTheConfirmationTimeRunsOut) {
    d3d.getInitParams().confirmTimeMs = 15000;
    ASSERT_TRUE(d3d.init());
    DeviceEvents events(d3d);
    DefaultPoolHolder holder(d3d);

    bool changed = false;
    ASSERT_TRUE(d3d.setDisplayMode(mode(800, 600), false, true, &changed));
    EXPECT_TRUE(changed);
    EXPECT_EQ(events.log, (std::vector<std::string>{"lost", "reset", "size 800x600", "confirm?"}));
    ASSERT_EQ(events.countdowns.size(), 1u);
    EXPECT_FLOAT_EQ(events.countdowns[0], 15.0f);
    expectSize(800, 600);
    EXPECT_NE(holder.target, nullptr);
    EXPECT_TRUE(d3d.isConfirmationPending());

    d3d.update(5.0);
    ASSERT_EQ(events.countdowns.size(), 2u);
    EXPECT_FLOAT_EQ(events.countdowns[1], 10.0f);
    EXPECT_FLOAT_EQ(d3d.getConfirmationTimeLeft(), 10.0f);
    EXPECT_EQ(events.log.size(), 4u);

    d3d.update(10.5);
    EXPECT_FALSE(d3d.isConfirmationPending());
    EXPECT_FLOAT_EQ(events.countdowns.back(), 0.0f);
    EXPECT_EQ(events.log, (std::vector<std::string>{"lost", "reset", "size 800x600", "confirm?", "lost", "reset",
                                                    "size 640x480", "restored"}));
    expectSize(640, 480);
    EXPECT_NE(holder.target, nullptr);

    d3d.update(30.0);
    EXPECT_EQ(events.log.size(), 8u);
}

TEST_F(D3DInterfaceTest, RefusedModeIsRestoredAtOnceConfirmedModeStaysAndSettingsHoldTheOldModeUntilThen) {
    ASSERT_TRUE(d3d.init());
    ASSERT_TRUE(d3d.setDisplayMode(mode(800, 600), false, true));
    DeviceEvents events(d3d);
    bool accept = false;
    d3d.confirmDisplayMode(accept);
    EXPECT_EQ(events.log, (std::vector<std::string>{"lost", "reset", "size 640x480", "restored"}));
    expectSize(640, 480);

    ASSERT_TRUE(d3d.setDisplayMode(mode(800, 600), false, true));
    Orvex::XMLNode section;
    d3d.writeConfig(section);
    EXPECT_EQ(sizeText(section.getAttributeInt(L"WIDTH", 0), section.getAttributeInt(L"HEIGHT", 0)), "640x480");
    accept = true;
    d3d.confirmDisplayMode(accept);
    EXPECT_FALSE(d3d.isConfirmationPending());
    EXPECT_EQ(events.log.back(), "kept");
    std::size_t seen = events.log.size();
    d3d.update(60.0);
    d3d.confirmDisplayMode(accept);  // nothing pending: nothing happens
    EXPECT_EQ(events.log.size(), seen);
    expectSize(800, 600);
    d3d.writeConfig(section);
    EXPECT_EQ(section.getAttributeString(L"WIDTH", L""), L"800");

    // A second switch before confirming keeps the first fallback.
    ASSERT_TRUE(d3d.setDisplayMode(mode(1024, 768), false, true));
    ASSERT_TRUE(d3d.setDisplayMode(mode(720, 400), false, true));
    EXPECT_EQ(d3d.getWidth(), 720u);
    d3d.update(11.0);
    EXPECT_EQ(sizeText(d3d.getWidth(), d3d.getHeight()), "800x600");
}

TEST_F(D3DInterfaceTest, TheCurrentModeIsOnlyReappliedWhenForcedAndUnofferedModesAreRefused) {
    ASSERT_TRUE(d3d.init());
    DeviceEvents events(d3d);
    bool changed = true;
    EXPECT_TRUE(d3d.setDisplayMode(d3d.getDisplayMode(), false, true, &changed));
    EXPECT_FALSE(changed);
    EXPECT_TRUE(events.log.empty());
    EXPECT_FALSE(d3d.isConfirmationPending());
    EXPECT_TRUE(d3d.setDisplayMode(d3d.getDisplayMode(), false, false, &changed, true));
    EXPECT_TRUE(changed);
    EXPECT_EQ(events.log, (std::vector<std::string>{"lost", "reset"}));

    EXPECT_FALSE(d3d.setDisplayMode(mode(1234, 567), true, true));
    EXPECT_EQ(events.log, (std::vector<std::string>{"lost", "reset", "unsupported 1234x567"}));
    EXPECT_EQ(d3d.getWidth(), 640u);
    EXPECT_FALSE(d3d.isConfirmationPending());
    EXPECT_FALSE(d3d.setDisplayMode(mode(0, 480), false, false));
}

TEST_F(D3DInterfaceTest, AModeSetBeforeTheDeviceExistsIsWhereTheDeviceStarts) {
    DeviceEvents events(d3d);
    bool changed = false;
    EXPECT_TRUE(d3d.setDisplayMode(mode(720, 400), false, true, &changed));
    EXPECT_TRUE(changed);
    EXPECT_FALSE(d3d.isConfirmationPending());
    ASSERT_TRUE(d3d.init());
    EXPECT_EQ(events.log, std::vector<std::string>{"created"});
    EXPECT_EQ(backBufferSize(d3d.getDevice()), std::make_pair(720u, 400u));
}

TEST_F(D3DInterfaceTest, TheIncludeListOffersExactlyTheSixForcedResolutions) {
    D3DInitParams& params = offerForced();
    std::vector<D3DDISPLAYMODE> const& modes = d3d.getDisplayModes();
    ASSERT_FALSE(modes.empty());
    std::set<std::pair<UINT, UINT>> offered, forced;
    for (D3DDISPLAYMODE const& m : modes) offered.insert({m.Width, m.Height});
    for (D3DResolution const& r : kForced) forced.insert({r.width, r.height});
    EXPECT_EQ(offered, forced);
    for (size_t i = 0; i < modes.size(); ++i) {
        EXPECT_EQ(d3d.findDisplayMode(modes[i]), static_cast<int>(i));
        if (i > 0) {
            EXPECT_LE(modes[i - 1].Width, modes[i].Width);
        }
    }
    EXPECT_EQ(d3d.findDisplayMode(mode(1234, 567)), -1);

    DeviceEvents events(d3d);
    d3d.update(0.01);
    EXPECT_TRUE(events.log.empty());

    // A windowed start takes the offered refresh rate of its size.
    params.displayMode = mode(1024, 768, 1);
    ASSERT_TRUE(d3d.init());
    EXPECT_EQ(d3d.getWidth(), 1024u);
    EXPECT_GE(d3d.findDisplayMode(d3d.getDisplayMode()), 0);
}

TEST_F(D3DInterfaceTest, AnIncludedResolutionTheAdapterLacksIsReportedOnceByUpdate) {
    D3DInitParams& params = d3d.getInitParams();
    params.useIncludeResList = true;
    params.includeResolutions = {{1234, 567}, {1280, 720}};
    DeviceEvents events(d3d);
    std::vector<D3DDISPLAYMODE> const& modes = d3d.getDisplayModes();
    ASSERT_FALSE(modes.empty());
    for (D3DDISPLAYMODE const& m : modes) EXPECT_EQ(sizeText(m.Width, m.Height), "1280x720");
    EXPECT_TRUE(events.log.empty());
    d3d.update(0.01);
    d3d.update(0.01);
    EXPECT_EQ(events.log, std::vector<std::string>{"restricted"});

    // A list of nothing the adapter has falls back to every mode.
    params.includeResolutions = {{1234, 567}};
    EXPECT_GT(d3d.getDisplayModes().size(), 1u);
}

// A full-screen start with a size the list does not offer: the next offered size (the larger one with
// useLargerRes), or without auto-degrade the size itself; reported at the first update, when the game listens.
TEST_F(D3DInterfaceTest, AFullScreenStartWithAnUnofferedSizeDegradesAndReportsIt) {
    struct Case { bool larger, degrade; UINT width, height; };
    for (Case c : {Case{false, true, 1280, 720}, Case{true, true, 1680, 1050}, Case{false, false, 1300, 800}}) {
        SCOPED_TRACE(sizeText(c.width, c.height));
        D3DInitParams& params = offerForced();
        params.displayMode = mode(1300, 800);
        params.setWindowed(false);
        params.useLargerRes = c.larger;
        params.autoDegrade[0] = c.degrade;
        DeviceEvents events(d3d);
        ASSERT_TRUE(d3d.init());
        EXPECT_FALSE(d3d.getPresentParameters().Windowed);
        expectSize(c.width, c.height);
        if (c.degrade) {
            EXPECT_GE(d3d.findDisplayMode(d3d.getDisplayMode()), 0);
        }
        EXPECT_EQ(events.log, std::vector<std::string>{"created"});
        d3d.update(0.01);
        d3d.update(0.01);
        EXPECT_EQ(events.log, (std::vector<std::string>{"created", "unsupported 1300x800"}));
        d3d.shutdown();
    }
}

// The desktop (as the environment gives it in a test) decides a start without settings and
// bounds the settings' mode: the desktop's own mode when offered, else the largest offered one
// that fits; a larger window is cut to the desktop, a larger full-screen mode becomes the
// desktop's choice, each with one line; a mode that fits stays as it is, without a line.
TEST_F(D3DInterfaceTest, TheDesktopDecidesTheStartModeAndBoundsTheSettings) {
    struct {
        char const* desktop;
        UINT chosenW, chosenH;
        D3DDISPLAYMODE asked;
        bool windowed;
        UINT fitW, fitH;
        bool changed;
    } const cases[] = {
        {"1280x720", 1280, 720, mode(16384, 16384), true, 1280, 720, true},
        {"1366x768", 1280, 720, mode(1920, 600), true, 1366, 600, true},
        {"1024x768", 1024, 768, mode(3840, 2160), false, 1024, 768, true},
        {"1920x1080", 1920, 1080, mode(1680, 1050), false, 1680, 1050, false},
        {"800x600", 1024, 768, mode(800, 600), true, 800, 600, false},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.desktop);
        setenv("ORVEX_DESKTOP_SIZE", c.desktop, 1);
        D3DInitParams& params = offerForced();
        D3DDISPLAYMODE const desktop = d3d.getDesktopMode();
        EXPECT_EQ(sizeText(desktop.Width, desktop.Height), c.desktop);
        D3DDISPLAYMODE const chosen = d3d.chooseDesktopMode();
        EXPECT_EQ(sizeText(chosen.Width, chosen.Height), sizeText(c.chosenW, c.chosenH));
        EXPECT_GE(d3d.findDisplayMode(chosen), 0);

        params.displayMode = c.asked;
        params.setWindowed(c.windowed);
        logtest::LogWatch log;
        EXPECT_EQ(d3d.fitModeToDesktop(), c.changed);
        EXPECT_EQ(sizeText(params.displayMode.Width, params.displayMode.Height), sizeText(c.fitW, c.fitH));
        EXPECT_EQ(params.isWindowed(), c.windowed);
        std::vector<std::wstring> const lines = log.lines();
        ASSERT_EQ(lines.size(), c.changed ? 1u : 0u);
        if (c.changed) {
            std::string const line(lines[0].begin(), lines[0].end());
            EXPECT_NE(line.find(sizeText(c.asked.Width, c.asked.Height)), std::string::npos) << line;
            EXPECT_NE(line.find("larger than the desktop"), std::string::npos) << line;
        }
        // The window is made at the fitted size.
        ASSERT_TRUE(d3d.init());
        expectSize(c.fitW, c.fitH);
        d3d.shutdown();
        d3d.getInitParams() = D3DInitParams();
    }
    unsetenv("ORVEX_DESKTOP_SIZE");
}

// The settings' mode at the start: a window size no one offers (edited by hand) becomes the nearest
// offered size, with one line, and the file keeps that; a mode brought onto a smaller desktop runs
// there, with its line, while the file keeps the mode chosen for a larger screen.
TEST_F(D3DInterfaceTest, TheSettingsModeIsOfferedAndKeptInTheFileThroughADesktopFit) {
    struct {
        char const* desktop;
        D3DDISPLAYMODE asked;
        bool windowed;
        UINT runW, runH;
        UINT fileW, fileH;
        std::size_t lines;
    } const cases[] = {
        {"1920x1080", mode(1001, 7), true, 1024, 768, 1024, 768, 1},
        {"1280x720", mode(1001, 7), true, 1024, 720, 1024, 768, 2},
        {"1280x720", mode(1024, 768), true, 1024, 720, 1024, 768, 1},
        {"1920x1080", mode(2000, 1200), true, 1920, 1080, 1920, 1080, 1},
        {"1280x720", mode(1920, 1080), false, 1280, 720, 1920, 1080, 1},
        {"1920x1080", mode(1280, 720), true, 1280, 720, 1280, 720, 0},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(std::string(c.desktop) + " " + sizeText(c.asked.Width, c.asked.Height));
        setenv("ORVEX_DESKTOP_SIZE", c.desktop, 1);
        D3DInitParams& params = offerForced();
        params.displayMode = c.asked;
        params.setWindowed(c.windowed);
        logtest::LogWatch log;
        d3d.fitModeToOffered();
        d3d.fitModeToDesktop();
        EXPECT_EQ(sizeText(params.displayMode.Width, params.displayMode.Height), sizeText(c.runW, c.runH));
        EXPECT_EQ(log.lines().size(), c.lines);
        Orvex::XMLNode section(L"D3DINITPARAMS");
        d3d.writeConfig(section);
        EXPECT_EQ(sizeText(section.getAttributeLong(L"WIDTH", 0), section.getAttributeLong(L"HEIGHT", 0)),
                  sizeText(c.fileW, c.fileH));
        d3d.getInitParams() = D3DInitParams();
    }
    unsetenv("ORVEX_DESKTOP_SIZE");
}

// A switch follows the start's rule: on a 1280 x 720 desktop a larger window is cut to it and a
// larger full-screen mode becomes the desktop's, with the start's line, so the window never
// reaches past the screen; the device, its back buffer and the window take that size, and the
// file keeps the mode asked for once it is confirmed (the one before when it is refused).
TEST_F(D3DInterfaceTest, ASwitchToAModeLargerThanTheDesktopIsBroughtOntoIt) {
    struct {
        char const* what;
        D3DDISPLAYMODE start;
        bool startWindowed;
        D3DDISPLAYMODE asked;
        bool fullScreen;
        bool accept;
        UINT runW, runH;
        bool runWindowed;
        char const* line;  // the part of the one line logged, or null for none
        UINT fileW, fileH;
        bool fileWindowed;
    } const cases[] = {
        {"window 1280x1024", mode(800, 600), true, mode(1280, 1024), false, true, 1280, 720, true,
         "the window 1280x1024 is larger than the desktop (1280x720); using 1280x720", 1280, 1024, true},
        {"window 1024x768", mode(800, 600), true, mode(1024, 768), false, true, 1024, 720, true,
         "the window 1024x768 is larger than the desktop (1280x720); using 1024x720", 1024, 768, true},
        {"full screen 1920x1080", mode(800, 600), true, mode(1920, 1080), true, true, 1280, 720, false,
         "the full-screen mode 1920x1080 is larger than the desktop (1280x720); using 1280x720", 1920, 1080, false},
        {"window that fits", mode(800, 600), true, mode(1280, 720), false, true, 1280, 720, true, nullptr, 1280, 720,
         true},
        {"refused", mode(800, 600), true, mode(1280, 1024), false, false, 800, 600, true,
         "the window 1280x1024 is larger than the desktop (1280x720); using 1280x720", 800, 600, true},
        {"refused after a fitted start", mode(1920, 1080), false, mode(1680, 1050), false, false, 1280, 720, false,
         "the window 1680x1050 is larger than the desktop (1280x720); using 1280x720", 1920, 1080, false},
        {"the fitted size again", mode(1920, 1080), true, mode(1280, 1024), false, true, 1280, 720, true,
         "the window 1280x1024 is larger than the desktop (1280x720); using 1280x720", 1280, 1024, true},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.what);
        setenv("ORVEX_DESKTOP_SIZE", "1280x720", 1);
        D3DInitParams& params = offerForced();
        params.displayMode = c.start;
        params.setWindowed(c.startWindowed);
        d3d.fitModeToDesktop();
        ASSERT_TRUE(d3d.init());
        logtest::LogWatch log;
        ASSERT_TRUE(d3d.setDisplayMode(c.asked, c.fullScreen, true));
        bool answer = c.accept;
        if (d3d.isConfirmationPending()) d3d.confirmDisplayMode(answer);
        expectSize(c.runW, c.runH);
        EXPECT_EQ(d3d.getInitParams().isWindowed(), c.runWindowed);
        std::vector<std::wstring> const lines = log.lines();
        std::size_t fits = 0;
        for (std::wstring const& line : lines) {
            std::string const text(line.begin(), line.end());
            if (text.find("larger than the desktop") == std::string::npos) continue;
            ++fits;
            EXPECT_NE(c.line, nullptr) << text;
            if (c.line) EXPECT_NE(text.find(c.line), std::string::npos) << text;
        }
        EXPECT_EQ(fits, c.line ? 1u : 0u);
        Orvex::XMLNode section(L"D3DINITPARAMS");
        d3d.writeConfig(section);
        EXPECT_EQ(sizeText(section.getAttributeLong(L"WIDTH", 0), section.getAttributeLong(L"HEIGHT", 0)),
                  sizeText(c.fileW, c.fileH));
        EXPECT_EQ(section.getAttributeInt(L"WINDOWED", -1), c.fileWindowed ? 1 : 0);
        d3d.shutdown();
        d3d.getInitParams() = D3DInitParams();
    }
    unsetenv("ORVEX_DESKTOP_SIZE");
}

// A full-screen window given another size from outside (as a window manager may) is followed as
// a window's is: the next device check resets the device, whose back buffer then lies in a
// texture stretched over the window, with the window's line, and the pointer is mapped over it.
TEST_F(D3DInterfaceTest, AFullScreenWindowResizedFromOutsideShowsTheWholePicture) {
    offerForced();
    d3d.getInitParams().displayMode = mode(1280, 720);
    d3d.getInitParams().setWindowed(false);
    ASSERT_TRUE(d3d.init());
    EXPECT_TRUE(port::d3d9::backBufferOnWindow(d3d.getDevice()));
    DeviceEvents events(d3d);
    logtest::LogWatch log;
    HWND const window = d3d.getWindow().getHWND();
    SDL_SetWindowSize(port::win32::sdlWindow(window), 800, 600);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    EXPECT_TRUE(d3d.checkDevice());
    EXPECT_EQ(events.log, (std::vector<std::string>{"lost", "reset"}));
    EXPECT_FALSE(port::d3d9::backBufferOnWindow(d3d.getDevice()));
    EXPECT_EQ(backBufferSize(d3d.getDevice()), std::make_pair(1280u, 720u));
    bool lined = false;
    for (std::wstring const& line : log.lines())
        lined = lined || line.find(L"the back buffer is a texture copied to the window (the window is 800x600") !=
                             std::wstring::npos;
    EXPECT_TRUE(lined);
    port::win32::PictureTransform picture;
    ASSERT_TRUE(port::win32::windowPicture(window, picture));
    float x = 799.0f, y = 599.0f;
    picture.toPicture(x, y);
    EXPECT_GT(x, 1278.0f);
    EXPECT_GT(y, 718.0f);
    // The device stays usable: no further reset while the size stands.
    EXPECT_TRUE(d3d.checkDevice());
    EXPECT_EQ(events.log.size(), 2u);
}

TEST_F(D3DInterfaceTest, SwitchingToFullScreenAndBackChangesTheWindowMode) {
    ASSERT_TRUE(d3d.init());
    HWND window = d3d.getWindow().getHWND();
    D3DDISPLAYMODE offered = d3d.getDisplayModes().front();
    ASSERT_TRUE(d3d.setDisplayMode(offered, true, true));
    EXPECT_FALSE(d3d.getPresentParameters().Windowed);
    EXPECT_FALSE(d3d.getInitParams().isWindowed());
    EXPECT_TRUE(GetWindowLongPtrW(window, GWL_STYLE) & WS_POPUP);
    expectSize(offered.Width, offered.Height);
    d3d.update(11.0);
    EXPECT_TRUE(d3d.getPresentParameters().Windowed);
    EXPECT_TRUE(d3d.getInitParams().isWindowed());
    EXPECT_TRUE(GetWindowLongPtrW(window, GWL_STYLE) & WS_CAPTION);
    expectSize(640, 480);
}

TEST_F(D3DInterfaceTest, ConsoleSetsAndCompletesResolutions) {
    ASSERT_TRUE(d3d.init());
    Orvex::Console& console = Orvex::Console::getInstance();
    std::wstring reply = console.execute(L"D3D_setResolution 800 600");
    EXPECT_EQ(reply.rfind(L"Aufl\u00f6sung gesetzt: 800x600", 0), 0u) << std::string(reply.begin(), reply.end());
    EXPECT_FALSE(d3d.isConfirmationPending());
    expectSize(800, 600);
    reply = console.execute(L"d3d_setresolution -5 600");
    EXPECT_EQ(reply.rfind(L"Ung\u00fcltige Aufl\u00f6sung", 0), 0u);
    EXPECT_EQ(d3d.getWidth(), 800u);

    offerForced();
    std::vector<std::wstring> offers;
    console.complete(L"D3D_setResolution 12", offers);
    EXPECT_EQ(offers, std::vector<std::wstring>{L"1280"});
    offers.clear();
    console.complete(L"D3D_setResolution 1280 ", offers);
    EXPECT_EQ(offers, (std::vector<std::wstring>{L"720", L"1024"}));
}

}  // namespace
