// The engine object: the one instance that owns the frame timer, holds the window, device,
// input, sound and music managers, reads the command line and the settings file, and runs the
// single-threaded main loop with its tick, update and render signals.
//
// Main loop: pump window messages; when none is waiting and the device is usable, add the
// elapsed time to the tick, update and render accumulators; emit each due signal and set its
// accumulator to max(0, min(acc - interval, acc / 2)) so that a stall is caught up in a few
// halving steps instead of a burst; then sleep until the next step is due, at most 100 ms.
// Frames are drawn at most at the display's refresh rate (60 Hz when unknown), and only every
// PicturePacer::kStillInterval while the presented picture stands still (PicturePacer.h).
// The clock, the sleep, the device check and the look at the picture can be replaced, so the
// loop runs headless in tests.
//
// Split: OrvexEngine.cpp (the instance, init, the intervals, the replaceable clock, sleep and
// device check), OrvexEngine_loop.cpp (the main loop, its pass and update step, exit requests),
// OrvexEngine_cmdline.cpp (command-line switches), OrvexEngine_config.cpp (the settings file),
// OrvexEngine_console.cpp (the "E_" and "TIME_" console commands), OrvexEngine_platform.cpp
// (the platform managers, window activation and close, splash pictures on the device),
// OrvexEngine_render.cpp (the render managers and letting go of the device),
// OrvexEngine_splash.cpp (the splash screens' timing and loop) and
// OrvexEngine_ingameconsole.cpp (the in-game console of OrvexEngineConsole.h).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/ConsoleCommand.h"
#include "engine/core/PerfTimer.h"
#include "engine/core/engine/PicturePacer.h"
#include "engine/core/Types.h"
#include "engine/gui/LanguageManager.h"
#include "engine/render/TextureSettings.h"
#include "signals/sigslot.h"

namespace Orvex {

class AppWindow;
class D3DXFontInterface;
class D3DInterface;
class DirectInputInterface;
class IngameConsole;
class KeyState;
class RenderManager;
class SplineManager;
class UserGlobals;
class XMLNode;

class OrvexEngine : public ConsoleCommandReceiver {
public:
    // Running states: the loop runs (or may start) while the state is kRunning.
    static constexpr int kRunning = 1;
    static constexpr int kStopRequested = 0;
    static constexpr int kStopRequestedAgain = -1;
    // Longest sleep of one loop pass, and the pause while the device cannot draw.
    static constexpr u32 kMaxSleepMs = 100;
    static constexpr u32 kDeviceWaitMs = 10;

    // The engine, made with its managers on first use and destroyed at program exit.
    static OrvexEngine* getInstance();

    // Parts of the engine.
    AppWindow* getWindow() const { return window_; }
    D3DInterface* getD3DInterface() const { return d3d_; }
    DirectInputInterface* getDirectInput() const { return input_; }
    PerfTimer* getPerfTimer() { return &timer_; }
    IngameConsole* getIngameConsole() const { return ingameConsole_.get(); }
    // The render-pass pipeline whose target follows the back buffer ("RP_" console commands).
    RenderManager* getRenderManager() const { return renderManager_.get(); }
    // The language texts ("data\texte.lng" and the lists other data names).
    LanguageManager* getLanguage() { return &language_; }
    // The font manager (made with the engine; its fonts are prepared once the device exists).
    D3DXFontInterface* getFontManager() const;
    // The spline manager ("SPL_reload"), made with the engine and deleted with it.
    SplineManager* getSplineManager() const { return splineManager_.get(); }

    // The game's global settings. The engine takes ownership (a replaced object is deleted).
    void setUserGlobals(UserGlobals* globals);
    UserGlobals* getUserGlobals() const { return userGlobals_.get(); }

    // Command line: switches "-NAME value" (8-bit text; values with blanks in double quotes).
    // Unknown switches and bad values are logged and skipped.
    void parseCommandLine(char const* commandLine);
    bool isShowConsoleFirst() const { return showConsoleFirst_; }
    bool isShowConsole() const { return showConsole_; }
    bool isIngameConsoleEnabled() const { return ingameConsoleEnabled_; }
    bool isVisualDebugger() const { return visualDebugger_; }
    bool isShowVideo() const { return showVideo_; }
    bool isDebug() const { return debug_; }
    std::wstring const& getAppPath() const { return appPath_; }
    std::wstring const& getAppTitle() const { return appTitle_; }

    // Settings file: root "MyEngineParams" with "ENGINE_PARAMS" (the init records of device,
    // sound, input and textures) and "API_PARAMS" (the user globals). A missing, empty or
    // damaged file logs one line, keeps the current values and returns false; one that cannot be
    // read is kept aside under a ".bad" number first (the line says where), and where it cannot
    // be, saveConfig leaves it. One read only in part (cut short, or past the property parse's
    // budget) gives what was read, and saveConfig keeps it aside before it writes over it.
    // saveConfig writes 8-bit text through a temporary file, so a failed write leaves the old
    // file as it was.
    bool loadConfig(std::wstring const& path);
    bool saveConfig(std::wstring const& path);
    // The texture settings ("TEXINITPARAMS"), held here so that the settings file can be read
    // before the texture module starts; init applies them.
    TextureInitParams& getTextureInitParams() { return texParams_; }

    // Device, DirectInput, sound and the user-globals hooks; true at once when already done.
    // False when a required part (device, input, a hook) failed; the next call tries again.
    bool init();
    bool isInitialised() const { return initialised_; }
    // Closes input and sound, releases what holds the device (effects, the device object's
    // textures), then closes the device and the window; init may run again. The entry point
    // calls it before it returns; the destructor at exit releases only the device part, and
    // only when it is still up (input and sound may be gone by then).
    void shutdown();

    // The main loop; returns the exit code, or -1 at once when a stop was requested before it
    // started (the request is then used up). Emits the exit signal with the code on return.
    int run();
    // Stores the exit code (the first request's code wins) and ends the loop after the current
    // pass. The running state becomes kStopRequested, or kStopRequestedAgain when it was so.
    void requestExit(int const& code);
    int getRunState() const { return runState_; }
    int getExitCode() const { return exitCode_; }
    bool isInMainLoop() const { return inMainLoop_; }

    // Intervals in seconds (negative counts as 0: every pass).
    void setRenderInterval(double const& seconds);
    void setUpdateInterval(double const& seconds);
    void setTickInterval(double const& seconds);
    double getRenderInterval() const { return renderInterval_; }
    double getUpdateInterval() const { return updateInterval_; }
    double getTickInterval() const { return tickInterval_; }

    // One accumulator step of the loop: when acc has reached interval, sets it to
    // max(0, min(acc - interval, acc / 2)) and returns true.
    static bool consumeAccumulator(double& accumulator, double interval);

    // Milliseconds of update time counted for the texture check (grows without reset).
    double getTextureTickCount() const { return TextureClock::get().updateMs(); }

    // When off, the window code hides the system cursor over the window.
    void setSystemCursor(bool on);
    bool getSystemCursor() const;

    // Shows every "*.jpg" and "*.png" of the folder (archives and disk, sorted by name), each
    // fading in from black, staying for the display time less both fades and fading out, in its
    // own message and render loop. False when the program was told to quit meanwhile (the
    // remaining pictures are skipped).
    bool showSplashScreens(std::wstring const& folder, u32 const& displayMs, u32 const& fadeInMs,
                           u32 const& fadeOutMs);

    // Console commands "E_..." and "TIME_...".
    void executeCommand(ConsoleCommand& command, TypedConsoleCommand& typed) override;

    // Replaceable parts of the loop (tests run it headless with these). Empty functions restore
    // the defaults: the performance counter in seconds, Sleep, and the device's own check.
    void setLoopClock(std::function<double()> now, std::function<void(u32)> sleep);
    void setDeviceCheck(std::function<bool()> check);
    // ask: the picture of the next present is to be looked at; take: its hash, false when no
    // picture was looked at since the ask. The default asks the device (d3d9_port.h).
    void setPictureLook(std::function<void()> ask, std::function<bool(std::uint64_t&)> take);
    PicturePacer const& getPicturePacer() const { return pacer_; }
    double now() const;
    void sleepFor(u32 milliseconds) const;
    // Sleeps until the time is over or a window message arrives.
    void waitForMessage(u32 milliseconds) const;

    sigslot::signal0<> tickSignal;
    sigslot::signal0<> updateSignal;
    sigslot::signal0<> renderSignal;
    sigslot::signal1<unsigned long const&> exitSignal;
    // Emitted by the window procedure on WM_ACTIVATE: true when the window becomes active.
    sigslot::signal1<bool const&> windowActiveSignal;
    // Textures in auto-suspend mode check their idle time on it, once per second of updates
    // (the texture clock's signal; the update step advances that clock).
    sigslot::signal0<>& textureCheckSignal = TextureClock::get().checkSignal;
    // Each splash-screen frame, after the picture is drawn and before the frame is presented:
    // the picture's path and its brightness (0 black .. 1 full).
    sigslot::signal2<std::wstring const&, float const&> splashFrameSignal;

    OrvexEngine(OrvexEngine const&) = delete;
    OrvexEngine& operator=(OrvexEngine const&) = delete;

private:
    OrvexEngine();
    ~OrvexEngine() override;

    void registerCommands();
    void applySwitch(std::string const& name, std::string const& value, bool hasValue);

    // One pass of the loop after the messages: accumulate, emit what is due; returns the
    // seconds until the next step is due.
    double runPass(double elapsed);
    void updateStep();
    // Takes one window message; false when none was waiting.
    bool pumpMessage();
    bool deviceUsable();
    // The render interval in force: the loop's own, at least the display's refresh period, as
    // the picture pacer allows.
    double renderIntervalNow() const;
    void askPicture();
    bool takePicture(std::uint64_t& picture);

    // The parts that talk to the platform managers (OrvexEngine_platform.cpp).
    void acquirePlatform();
    void releasePlatform();
    bool initPlatform();
    // Before the update signal: the input manager takes the input of this step.
    void beginUpdatePlatform();
    // After it: sound, music and a pending display-mode confirmation.
    void updatePlatform(double realDelta);
    bool readPlatformConfig(XMLNode const& engineParams);
    void writePlatformConfig(XMLNode& engineParams) const;
    // The render side (OrvexEngine_render.cpp): managers made with the engine so that they
    // outlive it, the texture settings applied once the device exists, and the release of
    // everything that holds the device before the device goes.
    void acquireRender();
    void initRender();
    void releaseDevice();
    void onIngameConsoleKey(KeyState& state, unsigned char const& code);
    void onWindowActive(bool const& active);
    void onWindowClosed();
    // Splash pictures on the device: load one (null when it cannot be shown); a frame clears to
    // black and draws it at a brightness inside a scene (false when the device cannot draw),
    // endSplashFrame ends the scene and presents it.
    struct SplashPicture;
    SplashPicture* loadSplashPicture(std::wstring const& path);
    bool beginSplashFrame(SplashPicture* picture, float brightness);
    void endSplashFrame();
    void releaseSplashPicture(SplashPicture* picture);

    PerfTimer& timer_ = PerfTimer::frameTimer();
    AppWindow* window_ = nullptr;
    D3DInterface* d3d_ = nullptr;
    DirectInputInterface* input_ = nullptr;
    std::unique_ptr<RenderManager> renderManager_;
    std::unique_ptr<SplineManager> splineManager_;
    LanguageManager language_;
    std::unique_ptr<UserGlobals> userGlobals_;
    std::unique_ptr<IngameConsole> ingameConsole_;
    TextureInitParams texParams_;

    bool showConsoleFirst_ = false;
    bool showConsole_ = false;
    bool ingameConsoleEnabled_ = false;
    bool visualDebugger_ = false;
    bool showVideo_ = true;
    bool debug_ = false;
    std::wstring appPath_;
    std::wstring appTitle_;
    // The settings file that could not be read nor kept aside, which saveConfig leaves.
    std::wstring configLeftAlone_;
    // The settings file read only in part, which saveConfig keeps aside before it writes.
    std::wstring configReadInPart_;

    bool initialised_ = false;
    bool inMainLoop_ = false;
    int runState_ = kRunning;
    int exitCode_ = 0;
    bool exitCodeSet_ = false;

    double tickInterval_ = 1.0 / 100.0;
    double updateInterval_ = 1.0 / 60.0;
    double renderInterval_ = 1.0 / 60.0;
    double tickAcc_ = 0.0;
    double updateAcc_ = 0.0;
    double renderAcc_ = 0.0;
    double lastUpdateClock_ = 0.0;

    std::function<double()> clock_;
    std::function<void(u32)> sleep_;
    std::function<bool()> deviceCheck_;
    std::function<void()> pictureAsk_;
    std::function<bool(std::uint64_t&)> pictureTake_;
    PicturePacer pacer_;
    double loopTime_ = 0.0;  // seconds of loop passes since run began
    std::uint64_t lookedPresent_ = 0;
};

}  // namespace Orvex
