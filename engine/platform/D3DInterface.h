// The window and Direct3D 9 device object: creates the program window and the device from the
// init parameters ("D3DINITPARAMS" of config.cfg), watches the device for loss and resets it,
// offers the adapter's display modes and switches between them with an optional confirmation
// window that restores the old mode unless the player confirms in time.
//
// Signals and when they fire:
// - signalDeviceLost before every IDirect3DDevice9::Reset (and once when the device reports
//   itself lost); holders of D3DPOOL_DEFAULT resources release them here.
// - signalDeviceReset after every successful reset; holders re-create their resources.
// - signalDeviceCreated once, when the device first exists (again after a shutdown).
// - signalDeviceShutdown when shutdown is about to release the device: holders of device
//   objects let go of them, so the device really ends (and wait for signalDeviceCreated).
// - signalSizeChanged (the resize signal) after a reset that changed the back-buffer size.
// - signalModeNeedsConfirmation, then signalModeCountdown (seconds left, on every update while
//   the confirmation runs) and finally signalModeConfirmed (true: the new mode stays, false: the
//   old mode was restored).
// - signalModeListRestricted: some resolutions of the include list are not offered by the
//   adapter, so the player's list is shorter than the list asked for.
// - signalUnsupportedMode: a configured full-screen mode that the mode list does not offer
//   (with the mode as asked).
// Both notices found while the device is made are held back and emitted by the next update,
// so that receivers connected after init still hear them.
//
// The main loop calls update(real seconds) once per update step; the confirmation countdown runs
// on it (real time, so a paused game still times out).
//
// Split: D3DInterface.cpp (window and device creation, loss, reset and the device check,
// shutdown), D3DInterface_modes.cpp (the display modes, the start mode, switching with the
// confirmation countdown, update), D3DInterface_config.cpp ("D3DINITPARAMS" and the console
// command). The accessors of the render library's types live with those types, so this library
// does not depend on it: engine/render/EffectManager_device.cpp, SpriteHolder_device.cpp and
// TextureManager_device.cpp.
#pragma once

#include <string>
#include <vector>

#include "engine/core/ConsoleCommand.h"
#include "engine/core/Types.h"
#include "engine/platform/AppWindow.h"
#include "port/d3d9/d3d9.h"
#include "signals/sigslot.h"

namespace Orvex {

class EffectManager;
class SpriteHolder;
class TextureManager;
class XMLNode;

// A width and height of the include list.
struct D3DResolution {
    u32 width = 0;
    u32 height = 0;
    bool operator==(D3DResolution const&) const = default;
};

// The init record: the display mode first (width, height, refresh rate, format; the format is
// the back buffer's), then the present parameters (whose Windowed field is the window mode),
// then the mode-list options.
//
// Config keys (attributes of "D3DINITPARAMS" unless noted): "WIDTH", "HEIGHT", "REFRESH",
// "FORMAT" (the D3DFORMAT number), "WINDOWED" (0 = full screen), "USE_LARGER_RES",
// "USE_INCLUDE_RES_LIST"; the child "AUTO_DEGRADE" with two values (size, refresh rate); one
// child "INCLUDE_RES" per included resolution with "WIDTH" and "HEIGHT". The confirmation time
// is not stored.
//
// AUTO_DEGRADE: a full-screen mode the list does not offer is replaced by an offered one: the
// first flag allows another size (the next larger with USE_LARGER_RES, else the next smaller),
// the second another refresh rate or format at the same size. With a flag off the mode is tried
// as configured.
struct D3DInitParams {
    D3DDISPLAYMODE displayMode{1024, 768, 60, D3DFMT_X8R8G8B8};
    D3DPRESENT_PARAMETERS presentParameters{};
    bool autoDegrade[2] = {true, true};
    bool useLargerRes = false;
    bool useIncludeResList = false;
    std::vector<D3DResolution> includeResolutions;
    u32 confirmTimeMs = 10000;

    D3DInitParams();

    bool isWindowed() const { return presentParameters.Windowed != FALSE; }
    void setWindowed(bool windowed) { presentParameters.Windowed = windowed ? TRUE : FALSE; }

    // Reads the section; a missing key keeps the current value, a bad one keeps it with a log
    // line. The include list is always the section's (none listed: an empty list).
    void readConfig(XMLNode const& section);
    // Writes every key into the section (named "D3DINITPARAMS" when it has no name yet).
    void writeConfig(XMLNode& section) const;
};

class D3DInterface : public ConsoleCommandReceiver {
public:
    // The device object (made on first use, destroyed at program exit).
    static D3DInterface& getInstance();

    // Creates the program window at the init parameters' size and window mode. On failure the
    // box "createWindow() schlug fehl" titled "Fehler!" is shown and false returned. True at once
    // when the window exists.
    bool createWindow();
    // Creates the device (and the window first when missing). On failure the box
    // "CreateDevice() schlug fehl" titled "Fehler!" is shown and false returned. True at once
    // when the device exists.
    bool init();
    // Releases the device and the Direct3D object and destroys the window; init may run again.
    // Call before exit: at static destruction the port's tables may be gone.
    void shutdown();

    AppWindow& getWindow() { return window_; }
    IDirect3D9* getDirect3D();
    IDirect3DDevice9* getDevice() const { return device_; }
    // The device pointer member itself (for D3DX creation functions).
    IDirect3DDevice9*& getDeviceRef() { return device_; }
    bool isDeviceCreated() const { return device_ != nullptr && createdEmitted_; }

    // True when the device can draw. A lost device emits signalDeviceLost once; when it can be
    // reset, it is reset (signalDeviceReset) and true returned.
    bool checkDevice();

    D3DInitParams& getInitParams() { return initParams_; }
    D3DInitParams const& getInitParams() const { return initParams_; }
    // The present parameters in use (built from the init parameters before the device exists).
    D3DPRESENT_PARAMETERS& getPresentParameters() { return presentParams_; }
    // The current display mode (the init parameters' mode until the device exists).
    D3DDISPLAYMODE const& getDisplayMode() const { return initParams_.displayMode; }
    u32 getWidth() const { return initParams_.displayMode.Width; }
    u32 getHeight() const { return initParams_.displayMode.Height; }
    // Seconds between two pictures of the display: its refresh rate's, 1/60 when it is unknown.
    double getRefreshPeriod() const {
        UINT const hz = initParams_.displayMode.RefreshRate;
        return 1.0 / (hz > 0 ? static_cast<double>(hz) : kDefaultRefreshHz);
    }
    static constexpr double kDefaultRefreshHz = 60.0;
    // {0, 0, width, height}.
    void getScreenRect(RECT& out) const;

    // The adapter's display modes (32-bit, and the configured format), sorted by width, height,
    // refresh rate; with "USE_INCLUDE_RES_LIST" only the sizes of the include list (all modes
    // when none of them is offered).
    std::vector<D3DDISPLAYMODE> const& getDisplayModes();
    // The desktop's mode: the adapter's display mode (a headless display reports a stand-in).
    D3DDISPLAYMODE getDesktopMode();
    // The mode of a start without settings: the desktop's when getDisplayModes offers it, else
    // the largest offered mode that fits on the desktop, else the smallest offered mode.
    D3DDISPLAYMODE chooseDesktopMode();
    // Brings a window size of the settings that getDisplayModes does not offer (a hand-edited
    // 1001 x 7) to the nearest offered size, as nearestSizeMode chooses it, with one log line;
    // the settings file then keeps that size. Call before fitModeToDesktop. True when the size
    // changed; a full-screen mode is left to the start's own choice.
    bool fitModeToOffered();
    // Keeps the init parameters' mode on the desktop (call before the window exists): a window
    // larger than the desktop is cut to the desktop's width and height, a full-screen mode
    // larger than the desktop becomes chooseDesktopMode(); one log line each. True when the mode
    // changed. The fit holds for this run: while it stands, the settings file keeps the mode
    // the settings chose (for a larger screen). setDisplayMode fits a mode the same way.
    bool fitModeToDesktop();
    // Index of the equal mode (width, height, refresh rate, format) in getDisplayModes, or -1.
    int findDisplayMode(D3DDISPLAYMODE const& mode);
    // Index of the equal mode, else of the offered mode nearest it in size (as a window size of
    // the settings is brought to one), else -1 (no modes).
    int findNearestDisplayMode(D3DDISPLAYMODE const& mode);
    // "1024x768 32 bit" + separator + "60 Hz" (the refresh part is left out for rate 0; formats
    // other than 16 bit, 32 bit and A2R10G10B10 give no depth text).
    static void displayModeToString(std::wstring& out, D3DDISPLAYMODE const& mode, std::wstring const& separator);
    // The formats a back buffer (and a display mode) may have: the 16- and 32-bit RGB formats
    // and A2R10G10B10.
    static bool isBackBufferFormat(D3DFORMAT format);

    // Switches to mode (window mode !fullScreen) through a device reset. Full-screen modes must
    // be offered by getDisplayModes (else signalUnsupportedMode and false). A mode larger than
    // the desktop is brought onto it as fitModeToDesktop does, with its line, and the settings
    // file keeps the mode asked for. With confirm, the
    // previous mode is kept and the confirmation window (init parameters' confirmTimeMs) starts.
    // changed (when given) tells whether the device was reset to something new; force re-applies
    // the current mode. Before the device exists the mode is only stored. False when the reset
    // failed; the previous mode is then back in use.
    bool setDisplayMode(D3DDISPLAYMODE const& mode, bool fullScreen, bool confirm, bool* changed = nullptr,
                        bool force = false);
    // Ends a pending confirmation: true keeps the new mode, false restores the saved one; emits
    // signalModeConfirmed. Nothing happens without a pending confirmation.
    void confirmDisplayMode(bool& accept);
    bool isConfirmationPending() const { return confirmPending_; }
    // Seconds left of the pending confirmation (0 when none).
    float getConfirmationTimeLeft() const { return confirmPending_ ? static_cast<float>(confirmLeft_) : 0.0f; }

    // One update step of elapsedSeconds real time: emits the held-back notices and runs the
    // confirmation countdown (timeout restores the old mode).
    void update(double elapsedSeconds);

    // The "D3DINITPARAMS" section. Writing during a pending confirmation stores the mode that
    // would be restored, so an unconfirmed mode never reaches the next start.
    void readConfig(XMLNode const& section);
    void writeConfig(XMLNode& section) const;

    // Console: "D3D_setResolution Breite Höhe [Vollbild] [Hz]".
    void executeCommand(ConsoleCommand& command, TypedConsoleCommand& typed) override;
    void completeArguments(TypedConsoleCommand const& typed, std::vector<std::wstring>& offers) override;

    // The device object's own texture list, the last place where texture names are looked up.
    // Made on first use; defined beside TextureManager (orvex_render), which owns the type.
    TextureManager& getTextureManager();
    // The one effect manager (EffectManager::getInstance); defined beside EffectManager
    // (orvex_render), which owns the type.
    EffectManager& getEffectManager();
    // The sprite pair (the D3DX sprite and the engine batcher), owned by the device object and
    // made on first use; its sprites are created whenever the device is created. Defined beside
    // SpriteHolder (orvex_render), which owns the type.
    SpriteHolder& getSprite();
    // The sprite pair when it has been made, else null (shutdown must not make one).
    SpriteHolder* findSprite() const { return spriteHolder_; }

    sigslot::signal0<> signalDeviceLost;
    sigslot::signal0<> signalDeviceReset;
    sigslot::signal0<> signalDeviceCreated;
    sigslot::signal0<> signalDeviceShutdown;
    sigslot::signal2<unsigned long const&, unsigned long const&> signalSizeChanged;
    sigslot::signal0<> signalModeListRestricted;
    sigslot::signal0<> signalModeNeedsConfirmation;
    sigslot::signal1<bool const&> signalModeConfirmed;
    sigslot::signal1<float const&> signalModeCountdown;
    sigslot::signal1<D3DDISPLAYMODE&> signalUnsupportedMode;

    D3DInterface(D3DInterface const&) = delete;
    D3DInterface& operator=(D3DInterface const&) = delete;

private:
    D3DInterface();
    ~D3DInterface() override;

    // Present parameters for a mode and window mode.
    void buildPresentParameters(D3DDISPLAYMODE const& mode, bool windowed);
    // The mode the device starts with: the configured one or an offered replacement.
    D3DDISPLAYMODE chooseStartMode(D3DDISPLAYMODE const& wanted, bool windowed);
    // Offered mode of the same size closest in refresh rate (same format first), or null.
    D3DDISPLAYMODE const* sameSizeMode(D3DDISPLAYMODE const& wanted);
    // Offered mode of the nearest size (USE_LARGER_RES decides the direction), or null.
    D3DDISPLAYMODE const* nearestSizeMode(D3DDISPLAYMODE const& wanted);
    // The rule of fitModeToDesktop for a mode asked in a window mode: mode brought onto the
    // desktop, with one log line; true when it changed.
    bool fitToDesktop(D3DDISPLAYMODE& mode, bool windowed);
    // Places the window and resets the device for mode; on success the mode is current.
    bool applyMode(D3DDISPLAYMODE const& mode, bool windowed);
    // Emits device-lost (once per loss) and resets with the current present parameters.
    bool resetDevice();
    void restoreSavedMode();
    void showError(wchar_t const* text);

    AppWindow& window_;
    D3DInitParams initParams_;
    D3DPRESENT_PARAMETERS presentParams_{};
    IDirect3D9* d3d_ = nullptr;
    IDirect3DDevice9* device_ = nullptr;
    bool createdEmitted_ = false;
    bool lostNotified_ = false;

    // Mode list and what it was built from.
    std::vector<D3DDISPLAYMODE> modes_;
    bool modesBuilt_ = false;
    bool modesBuiltFiltered_ = false;
    D3DFORMAT modesBuiltFormat_ = D3DFMT_UNKNOWN;
    std::vector<D3DResolution> modesBuiltInclude_;

    // Notices held back for the next update.
    bool pendingRestricted_ = false;
    std::vector<D3DDISPLAYMODE> pendingUnsupported_;

    // A mode asked for (at the start or by a switch) that the desktop's size replaced for this
    // run, and its replacement: while the replacement is in use, the settings file keeps the
    // mode asked for.
    struct DesktopFit {
        bool active = false;
        bool windowed = true;
        D3DDISPLAYMODE from{};
        D3DDISPLAYMODE to{};
    };
    DesktopFit fit_;

    // Display-mode confirmation.
    bool confirmPending_ = false;
    double confirmLeft_ = 0.0;
    D3DDISPLAYMODE savedMode_{};
    bool savedWindowed_ = true;
    DesktopFit savedFit_;

    TextureManager* textureManager_ = nullptr;
    EffectManager* effectManager_ = nullptr;
    SpriteHolder* spriteHolder_ = nullptr;
};

}  // namespace Orvex
