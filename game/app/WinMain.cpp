// The entry point's start-up sequence and its failures: a missing archive, settings file or
// frame texture is no failure; a window that cannot be made has shown its message and start-up
// goes on; an engine that cannot start ends the program with -1 after writing the settings file;
// a user folder another game holds, or whose lock file cannot be opened, ends it with a message,
// having written nothing there nor into the log.
#include "game/app/WinMain.h"

#include <iterator>

#include "engine/core/AppInfo.h"
#include "engine/core/GOBFile.h"
#include "engine/core/GOBManager.h"
#include "engine/core/Logger.h"
#include "engine/core/XMLNode.h"
#include "engine/core/engine/OrvexEngine.h"
#include "engine/gui/GUIMenuManagerN.h"
#include "engine/gui/GUIMenuN.h"
#include "engine/platform/AppWindow.h"
#include "engine/platform/D3DInterface.h"
#include "engine/platform/DirectInputInterface.h"
#include "engine/platform/VideoPlayer.h"
#include "engine/render/Effect.h"
#include "engine/render/RenderManager.h"
#include "engine/render/TextureSettings.h"
#include "game/app/MyGlobals.h"
#include "game/app/SolitaireGame2.h"
#include "port/win32/kernel.h"
#include "port/win32/win32_paths.h"
#include "port/win32/win32_text.h"
#include "port/win32/winuser.h"

namespace Solitaire {

namespace {

constexpr int kLogPriority = 25;
// A second game for a user folder, or one that cannot tell: nothing of the folder read or written.
constexpr int kFolderNotHeldExit = 1;
constexpr unsigned kGodCount = 4;
constexpr Orvex::u32 kConfirmTimeMs = 15000;
constexpr Orvex::s32 kPollRateMs = 10;
constexpr Orvex::s32 kKeyRepeatDelayMs = 500;
constexpr Orvex::s32 kKeyRepeatRateMs = 100;
constexpr Orvex::D3DResolution kOfferedResolutions[] = {{1024, 768},  {1280, 720},  {1280, 1024},
                                                        {1680, 1050}, {1920, 1080}, {3840, 2160}};

void mount(wchar_t const* name, wchar_t const* file, int order) {
    auto* archive = new Orvex::GOBFile(name, file, order);
    archive->setOrderIndex(order);
    Orvex::GOBManager& archives = Orvex::GOBManager::getInstance();
    archives.addArchive(archive);
    archives.rebuildOrders();
}

std::wstring configPath() { return Orvex::AppInfo::getInstance().getUserFolder() + L"\\config.cfg"; }

void refuseSecondGame(std::wstring const& userFolder) {
    Orvex::logError(L"Another game for the user folder \"" + userFolder +
                    L"\" is running: this one ends without reading or writing it");
    MessageBoxW(nullptr,
                L"Das Spiel l\u00e4uft bereits. Ein zweites Spiel f\u00fcr denselben Benutzer w\u00fcrde den "
                L"Spielstand des ersten \u00fcberschreiben und wird deshalb beendet.",
                L"Hinweis", MB_OK | MB_ICONINFORMATION);
}

// The lock file cannot be opened (its line says why): no game can tell whether another one saves
// into the folder, so none plays there until the player has seen to the file, named as the
// system names it.
void refuseUnlockedFolder(std::wstring const& userFolder) {
    std::wstring const lockFile = port::fromUtf8(port::hostPath(userFolder + L"\\" + Orvex::AppInfo::kLockFileName));
    MessageBoxW(nullptr,
                (L"Das Spiel kann nicht starten: Die Datei \"" + lockFile +
                 L"\" l\u00e4sst sich nicht \u00f6ffnen. Ohne sie k\u00f6nnte ein zweites Spiel f\u00fcr denselben "
                 L"Benutzer den Spielstand \u00fcberschreiben, deshalb wird das Spiel beendet.")
                    .c_str(),
                L"Hinweis", MB_OK | MB_ICONWARNING);
}

}  // namespace

void forceStartSettings() {
    Orvex::OrvexEngine* engine = Orvex::OrvexEngine::getInstance();
    Orvex::D3DInitParams& device = engine->getD3DInterface()->getInitParams();
    device.autoDegrade[0] = true;
    device.autoDegrade[1] = true;
    device.useLargerRes = false;
    device.useIncludeResList = true;
    device.includeResolutions.assign(std::begin(kOfferedResolutions), std::end(kOfferedResolutions));
    device.confirmTimeMs = kConfirmTimeMs;
    Orvex::DirectInputInitParams& input = engine->getDirectInput()->getInitParams();
    input.bufferedKeyboard = true;
    input.bufferedMouse = true;
    input.maxPollRateMouse = kPollRateMs;
    input.maxPollRateKeyboard = kPollRateMs;
    input.keyRepeatDelay = kKeyRepeatDelayMs;
    input.keyRepeatRate = kKeyRepeatRateMs;
    input.useWinApi = 1;
    input.useWinApiCapture = 1;
    input.scanDoubleClicks = 0;
    Orvex::TextureInitParams& textures = engine->getTextureInitParams();
    textures.suspendOnTexLoad = true;
    textures.overrideAutoSuspend = true;
    textures.actualTickCount = 0;
    // The game draws no render passes (its render-pass file leaves both renderers off): their
    // full-screen targets are not made with the device only to be let go at once.
    Orvex::RenderManager* passes = engine->getRenderManager();
    passes->getForwardRenderer().setEnabled(false);
    passes->getPostEffectRenderer().setEnabled(false);
}

void settleStartMode(bool settingsRead) {
    Orvex::D3DInterface* d3d = Orvex::OrvexEngine::getInstance()->getD3DInterface();
    // Without settings the game fills the desktop, in a mode of the offered list (so the options
    // find it there); settings made on a larger screen are brought onto this one.
    if (!settingsRead) {
        Orvex::D3DInitParams& device = d3d->getInitParams();
        device.displayMode = d3d->chooseDesktopMode();
        device.setWindowed(false);
        std::wstring mode;
        Orvex::D3DInterface::displayModeToString(mode, device.displayMode, L" ");
        Orvex::logInfo(L"No settings: full screen at " + mode + L", the desktop's size or the largest that fits on it");
    } else {
        // A window size no one offers (edited by hand) first becomes an offered one.
        d3d->fitModeToOffered();
        d3d->fitModeToDesktop();
    }
}

std::string joinCommandLine(int argc, char const* const* argv, int first) {
    std::string line;
    for (int i = first; i < argc; ++i) {
        std::string const argument = argv[i];
        if (!line.empty()) line += ' ';
        line += argument.find_first_of(" \t") == std::string::npos ? argument : '"' + argument + '"';
    }
    return line;
}

}  // namespace Solitaire

int WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    using namespace Solitaire;
    // 1, 2, 3, 4. The log in the working folder may be another game's: its lines are held until
    // this game holds the user folder.
    Orvex::Logger& log = Orvex::Logger::getInstance();
    log.holdLines();
    log.log(100, Orvex::LOG_TYPE_PLAIN, L"");
    log.setThreshold(kLogPriority, Orvex::LOG_MASK_ALL);
    CoInitialize(nullptr);
    mount(L"CPGOB", L"cp.gob", 1);
    log.showConsole(false);
    // 5. Effects are compiled from their sources, never taken from stale compiled files.
    Orvex::OrvexEngine* engine = Orvex::OrvexEngine::getInstance();
    Orvex::Effect::useCompiledCache = 0;
    engine->parseCommandLine(commandLine);
    // 6.
    Orvex::AppInfo& app = Orvex::AppInfo::getInstance();
    app.setUserFolderKind(Orvex::AppInfo::USER_FOLDER_APPDATA);
    app.createUserFolder();
    // One game a user folder: a second one would save what it read at its start over what the
    // first one has played since. It says so and ends before it reads or writes a file there, or
    // the log; so does a game that cannot tell (the lock file cannot be opened). Its lines go to
    // standard error at the end.
    Orvex::AppInfo::FolderLock const held = app.lockUserFolder();
    if (held != Orvex::AppInfo::FolderLock::kHeld) {
        if (held == Orvex::AppInfo::FolderLock::kInUse) refuseSecondGame(app.getUserFolder());
        else refuseUnlockedFolder(app.getUserFolder());
        engine->shutdown();
        return kFolderNotHeldExit;
    }
    log.openDefaultFile();
    Orvex::XMLNode::removeUnfinishedSaves(app.getUserFolder());
    // 7.
    auto* globals = new MyGlobals();
    engine->setUserGlobals(globals);
    globals->setGodCount(kGodCount);
    // 8.
    engine->getWindow()->setInstance(instance);
    // 9, 10.
    Orvex::D3DInterface* d3d = engine->getD3DInterface();
    bool const settingsRead = engine->loadConfig(configPath());
    forceStartSettings();
    settleStartMode(settingsRead);
    // 11. A failure has shown its message; start-up goes on.
    d3d->createWindow();
    // 12. Closed during the intro: nothing more, not even the settings file. The game ships no
    // video: one that is not there is skipped without asking the player for it.
    if (engine->isShowVideo() && Orvex::listFiles(L"intro.wmv")) {
        Orvex::VideoPlayer intro(L"intro.wmv");
        if (intro.play().quit) {
            engine->shutdown();
            return 0;
        }
    }
    // 13.
    mount(L"BASEGOB", L"velquorandix.gob", 0);
    // 14 to 18.
    int exitCode = -1;
    if (engine->init()) {
        globals->loadFrames();
        engine->getDirectInput()->centerMouse();
        SolitaireGame2 game;
        // Tells the log (and scripts/check_player_start.sh) that loading is over and which screen
        // the main loop starts on.
        Orvex::GUIMenuN const* menu = Orvex::GUIMenuManagerN::instance().getActiveMenu();
        Orvex::logInfo(L"Start-up over, menu \"" + (menu ? menu->getName() : std::wstring()) + L"\" active");
        exitCode = engine->run();
    }
    // 19, 20.
    engine->saveConfig(configPath());
    engine->shutdown();
    return exitCode;
}
