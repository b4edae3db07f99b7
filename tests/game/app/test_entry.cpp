// The entry point end to end, each run a fresh process (game_driver runs WinMain and pushes SDL
// events at chosen frames): from the start menu to the main menu by a click, a screenshot, the
// in-game console's "E_Exit"; the same from a folder holding only the game's archive; a window
// closed while loading and a machine without a device end with -1 and still write config.cfg,
// whose forced values replace what the file held; the first start making the first profile; one
// play-through of every screen, cards moved by drags and double clicks, each pressed after the
// pointer rested on the card as a person's does, the dragged card under the pointer after every
// frame of the carry (the driver fails the run otherwise); a game killed after it kept a damaged
// profile file aside; something other than a file where the game reads one (a FIFO as the profile
// file, the settings file or a data file, a folder as a data file); a new display mode confirmed
// in a window that kept another size; a second game for the same user while the first runs (also
// where the player may only read the lock file), and a start whose lock file cannot be opened.
// Unless a test says otherwise the user folder holds a profile, as after the first start.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "engine/core/XMLNode.h"
#include "port/win32/win32_paths.h"
#include "port/win32/win32_text.h"
#include "tests/support/OtherUser.h"
#include "tests/support/ReachableFolder.h"
#include "tests/support/TestSupport.h"

namespace {

namespace fs = std::filesystem;

// A game that has not ended by then is taken to hang. The play-through rests on every card it
// plays until the card's tooltip shows (a second each), on a sanitizer build of a busy machine.
constexpr int kTimeoutSeconds = 300;

// The lines the dummy audio driver brings: it offers one output, which the sounds hold, so the
// music cannot open its own (on a desktop both open).
bool isAudioDriverLine(std::string const& line) {
    return line.rfind("ERROR Music: cannot open the audio output", 0) == 0 ||
           (line.rfind("ERROR MusicStream: ", 0) == 0 && line.find("cannot be played") != std::string::npos);
}

class EntryTest : public ::testing::Test {
protected:
    void SetUp() override {
        base = testsupport::makeTempDir("entry");
        run = base / "run";
        fs::create_directories(run);
        userFolder = testsupport::homeDir() / ".local" / "share" / "Orvex" / "Velquorandix";
        // The home is the test program's: an earlier test's files go.
        fs::remove_all(userFolder);
        writeStartingProfile();
    }

    // A player who has started the game before: the start screen leads to the main menu; the
    // tutorials are switched off, so no page comes over the screens.
    void writeStartingProfile() {
        testsupport::writeFile(userFolder / "profile.prf",
                               "<PROFILE ACTIVE_PROFIL=\"Spieler\"><PROFIL NAME=\"Spieler\"><TUTORIAL SHOW=\"0\"/>"
                               "</PROFIL></PROFILE>");
    }

    // apiAttributes: attributes of "API_PARAMS" (with a leading blank).
    void writeConfig(std::string const& engineParams, std::string const& apiAttributes = "") {
        testsupport::writeFile(userFolder / "config.cfg", "<MyEngineParams><ENGINE_PARAMS>" + engineParams +
                                                              "</ENGINE_PARAMS><API_PARAMS" + apiAttributes +
                                                              "/></MyEngineParams>");
    }
    static std::string windowed(unsigned w, unsigned h) {
        return "<D3DINITPARAMS WIDTH=\"" + std::to_string(w) + "\" HEIGHT=\"" + std::to_string(h) +
               "\" REFRESH=\"60\" WINDOWED=\"1\"><INCLUDE_RES WIDTH=\"640\" HEIGHT=\"480\"/></D3DINITPARAMS>";
    }

    // Runs the driver in the run folder; the exit status (-1 read as 255), or -1000 - signal.
    // desktop: the size the display reports ("1280x720"); without it a headless display's own.
    int runGame(std::vector<std::string> const& script, std::vector<std::string> args, bool searchPaths = true,
                char const* videoDriver = "offscreen", char const* desktop = nullptr) {
        return endOf(startGame(run, script, std::move(args), searchPaths, videoDriver, desktop));
    }

    // The driver started in the folder `in` (its script beside it, one file a start), not waited
    // for; as testsupport::otherUser() when asOtherUser is set, its standard error into the file
    // stderrTo when that is set.
    pid_t startGame(fs::path const& in, std::vector<std::string> const& script, std::vector<std::string> args,
                    bool searchPaths = true, char const* videoDriver = "offscreen", char const* desktop = nullptr) {
        std::string scriptText;
        for (std::string const& line : script) scriptText += line + "\n";
        fs::path const scriptFile = in.string() + "." + std::to_string(++starts) + ".script.txt";
        testsupport::writeFile(scriptFile, scriptText);
        if (asOtherUser) {
            fs::create_directories(base / "cache");
            testsupport::giveToOtherUser(base / "cache");
            testsupport::letOtherUserReach(scriptFile.parent_path());
        }
        if (searchPaths) {
            std::string const root = testsupport::sourceDir().string();
            args.insert(args.begin(), {"-SEARCHPATH", root, "-SEARCHPATH", root + "/data"});
        }
        std::vector<std::string> argv{GAME_DRIVER_PATH, scriptFile.string()};
        argv.insert(argv.end(), args.begin(), args.end());
        pid_t const child = fork();
        fs::path const errorsTo = stderrTo;
        bool const other = asOtherUser;
        if (child == 0) {
            if (!errorsTo.empty()) {
                int const errors = open(errorsTo.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
                if (errors < 0 || dup2(errors, 2) < 0) _exit(125);
            }
            if (!dataHome.empty()) setenv("XDG_DATA_HOME", dataHome.c_str(), 1);
            if (other) {
                // Its caches where it may write them.
                setenv("XDG_CACHE_HOME", (base / "cache").c_str(), 1);
                if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(testsupport::kOtherUser) != 0 ||
                                       setuid(testsupport::kOtherUser) != 0))
                    _exit(testsupport::kNotOtherUser);
            }
            if (chdir(in.c_str()) != 0) _exit(126);
            setenv("SDL_VIDEODRIVER", videoDriver, 1);
            setenv("SDL_AUDIODRIVER", "dummy", 1);
            if (desktop) setenv("ORVEX_DESKTOP_SIZE", desktop, 1);
            std::vector<char*> raw;
            for (std::string& a : argv) raw.push_back(a.data());
            raw.push_back(nullptr);
            execv(raw[0], raw.data());
            _exit(127);
        }
        return child;
    }

    // Waits for the game to end, or (given) for `until` to hold while it runs; its exit status as
    // runGame's, or kStillRunning when `until` held first.
    static constexpr int kStillRunning = -3000;
    static int endOf(pid_t child, std::function<bool()> const& until = {}) {
        int status = 0;
        auto const end = std::chrono::steady_clock::now() + std::chrono::seconds(kTimeoutSeconds);
        while (waitpid(child, &status, WNOHANG) == 0) {
            if (until && until()) return kStillRunning;
            if (std::chrono::steady_clock::now() > end) {
                kill(child, SIGKILL);
                waitpid(child, &status, 0);
                ADD_FAILURE() << "the game did not end within " << kTimeoutSeconds << " s";
                return -2000;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1000 - WTERMSIG(status);
    }

    // The log of the game run in `folder` (the run folder unless given).
    std::vector<std::string> logLines(fs::path const& folder = {}) const {
        std::vector<std::string> lines;
        std::ifstream in((folder.empty() ? run : folder) / "logs" / "logfile.log");
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    // Error lines of the run (in `folder`, when given), besides those of the dummy audio driver.
    std::vector<std::string> errors(fs::path const& folder = {}) const {
        std::vector<std::string> out;
        for (std::string const& line : logLines(folder))
            if (line.rfind("ERROR", 0) == 0 && !isAudioDriverLine(line)) out.push_back(line);
        return out;
    }

    Orvex::XMLNode readConfig() const {
        Orvex::XMLNode root;
        EXPECT_TRUE(root.loadFromText(port::fromUtf8(testsupport::readFile(userFolder / "config.cfg"))));
        return root;
    }

    // The values the entry point forces over config.cfg, found in the written file.
    void expectForcedValues() const {
        Orvex::XMLNode root = readConfig();
        Orvex::XMLNode const* engine = root.getChild(L"ENGINE_PARAMS");
        ASSERT_NE(engine, nullptr);
        Orvex::XMLNode const* d3d = engine->getChild(L"D3DINITPARAMS");
        ASSERT_NE(d3d, nullptr);
        EXPECT_EQ(d3d->getAttributeInt(L"USE_LARGER_RES", -1), 0);
        EXPECT_EQ(d3d->getAttributeInt(L"USE_INCLUDE_RES_LIST", -1), 1);
        Orvex::XMLNode const* degrade = d3d->getChild(L"AUTO_DEGRADE");
        ASSERT_NE(degrade, nullptr);
        ASSERT_EQ(degrade->values().size(), 2u);
        for (auto const& value : degrade->values()) EXPECT_EQ(value->getInt(), 1);
        // Exactly the six offered resolutions, in order, whatever the file listed.
        int const resolutions[6][2] = {{1024, 768}, {1280, 720}, {1280, 1024}, {1680, 1050}, {1920, 1080}, {3840, 2160}};
        ASSERT_EQ(d3d->getChildCount(L"INCLUDE_RES"), 6u);
        for (int i = 0; i < 6; ++i) {
            Orvex::XMLNode const* res = d3d->getChild(L"INCLUDE_RES", i);
            EXPECT_EQ(res->getAttributeInt(L"WIDTH", 0), resolutions[i][0]) << i;
            EXPECT_EQ(res->getAttributeInt(L"HEIGHT", 0), resolutions[i][1]) << i;
        }
        Orvex::XMLNode const* input = engine->getChild(L"DINPUTINITPARAMS");
        ASSERT_NE(input, nullptr);
        struct {
            wchar_t const* key;
            int value;
        } const inputs[] = {{L"BUFFERED_KEYBOARD", 1}, {L"BUFFERED_MOUSE", 1}, {L"MAX_POLL_RATE_MOUSE", 10},
                            {L"MAX_POLL_RATE_KEYBOARD", 10}, {L"USE_WINAPI", 1}, {L"USE_WINAPI_CAPTURE_B_MD_MU", 1},
                            {L"SCAN_DBL_CLICKS", 0}};
        for (auto const& i : inputs) EXPECT_EQ(input->getAttributeInt(i.key, -1), i.value) << port::toUtf8(i.key);
        Orvex::XMLNode const* repeat = input->getChild(L"KEY_REPEAT_RATE");
        ASSERT_NE(repeat, nullptr);
        ASSERT_EQ(repeat->values().size(), 2u);
        EXPECT_EQ(repeat->values()[0]->getInt(), 500);
        EXPECT_EQ(repeat->values()[1]->getInt(), 100);
        Orvex::XMLNode const* textures = engine->getChild(L"TEXINITPARAMS");
        ASSERT_NE(textures, nullptr);
        EXPECT_EQ(textures->getAttributeInt(L"SUSPEND_ON_TEX_LOAD", -1), 1);
        EXPECT_EQ(textures->getAttributeInt(L"OVERRIDE_AUTO_SUSPEND", -1), 1);
        EXPECT_EQ(textures->getAttributeInt(L"ACTUAL_TICKCOUNT", -1), 0);
        Orvex::XMLNode const* api = root.getChild(L"API_PARAMS");
        ASSERT_NE(api, nullptr);
        EXPECT_NE(api->getChild(L"VOLUME"), nullptr);
        EXPECT_NE(api->getAttribute(L"MOUSE_CURSOR"), nullptr);
        EXPECT_NE(api->getChild(L"SOLITAIRE"), nullptr);
    }

    // The display mode config.cfg was written with.
    void expectWrittenMode(int width, int height, int windowed) const {
        Orvex::XMLNode const config = readConfig();
        Orvex::XMLNode const* d3d = config.getChild(L"ENGINE_PARAMS")->getChild(L"D3DINITPARAMS");
        ASSERT_NE(d3d, nullptr);
        EXPECT_EQ(d3d->getAttributeInt(L"WIDTH", 0), width);
        EXPECT_EQ(d3d->getAttributeInt(L"HEIGHT", 0), height);
        EXPECT_EQ(d3d->getAttributeInt(L"WINDOWED", -1), windowed);
    }

    // The PNG's width and height, 0 0 when it is none.
    static std::pair<unsigned, unsigned> pngSize(fs::path const& file) {
        std::string const bytes = testsupport::readFile(file);
        if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0) return {0, 0};
        auto be = [&](std::size_t at) {
            return (unsigned(uint8_t(bytes[at])) << 24) | (unsigned(uint8_t(bytes[at + 1])) << 16) |
                   (unsigned(uint8_t(bytes[at + 2])) << 8) | unsigned(uint8_t(bytes[at + 3]));
        };
        return {be(16), be(20)};
    }

    // A copy of a screenshot in the build folder, for a person to look at.
    static void keepScreenshot(fs::path const& from, std::string const& name) {
        fs::create_directories("screenshots");
        std::error_code ec;
        fs::copy_file(from, fs::path("screenshots") / name, fs::copy_options::overwrite_existing, ec);
    }

    static std::vector<std::string> const& playScript() {
        static std::vector<std::string> const script{
            "10 menu STARTMENU", "12 click SM_Fenster", "70 menu HAUPTMENU", "72 key F7",
            "80 key GRAVE",      "82 type E_Exit",      "84 key RETURN",
        };
        return script;
    }

    // The lines of a file (a game's standard error) that start with "ERROR", but the audio driver's.
    static std::vector<std::string> errorLinesOf(fs::path const& file) {
        std::vector<std::string> out;
        std::ifstream in(file);
        for (std::string line; std::getline(in, line);)
            if (line.rfind("ERROR", 0) == 0 && !isAudioDriverLine(line)) out.push_back(line);
        return out;
    }

    fs::path base;
    fs::path run;
    fs::path userFolder;
    // The user data folder the game is given, when not the test program's.
    fs::path dataHome;
    int starts = 0;
    bool asOtherUser = false;
    fs::path stderrTo;
};

TEST_F(EntryTest, PlaysFromTheStartMenuToTheConsolesExit) {
    writeConfig(windowed(1024, 768), " MOUSE_CURSOR=\"1\"");
    EXPECT_EQ(runGame(playScript(), {"-ENABLE_INGAME_CONSOLE", "1"}), 0);
    EXPECT_EQ(errors(), std::vector<std::string>{});
    EXPECT_EQ(pngSize(run / "Screenshot_0.png"), std::make_pair(1024u, 768u));
    EXPECT_FALSE(fs::exists(run / "Screenshot_1.png"));
    keepScreenshot(run / "Screenshot_0.png", "entry_main_menu_1024x768.png");
    expectForcedValues();
    Orvex::XMLNode const config = readConfig();
    EXPECT_EQ(config.getChild(L"API_PARAMS")->getAttributeInt(L"MOUSE_CURSOR", -1), 1);
}

// The folder holds nothing but the game's archive, made by gobpack of the game's files ("data\"
// and the keyboard layouts at its top); no search path.
TEST_F(EntryTest, PlaysFromTheGameArchiveAlone) {
    fs::path const stage = base / "stage";
    fs::path const data = testsupport::sourceDir() / "data";
    fs::create_directories(stage);
    fs::copy(data, stage / "data", fs::copy_options::recursive);
    fs::copy_file(data / "tastaturlayout.lay", stage / "tastaturlayout.lay");
    std::string const pack = std::string(GOBPACK_PATH) + " pack '" + stage.string() + "' '" +
                             (run / "velquorandix.gob").string() + "' > /dev/null";
    ASSERT_EQ(std::system(pack.c_str()), 0);
    fs::remove_all(stage);
    writeConfig(windowed(1280, 720));
    EXPECT_EQ(runGame(playScript(), {"-ENABLE_INGAME_CONSOLE", "1"}, false), 0);
    EXPECT_EQ(errors(), std::vector<std::string>{});
    EXPECT_EQ(pngSize(run / "Screenshot_0.png"), std::make_pair(1280u, 720u));
    keepScreenshot(run / "Screenshot_0.png", "entry_main_menu_1280x720_archive.png");
    expectForcedValues();
}

// Hostile game settings act as the settings object's checks say (a cursor outside 0 to 3 shows
// as the system arrow, the managers ignore or clamp the volumes) and come back as they were read.
TEST_F(EntryTest, HostileGameSettingsComeBackAsRead) {
    struct {
        char const* attributes;
        char const* volume;
        std::wstring sound, music;
        int cursor;
    } const cases[] = {
        {" MOUSE_CURSOR=\"99\"", "<VOLUME SOUNDVOLUME=\"nan\" MUSICVOLUME=\"1e30\"/>", L"nan", L"1e+30", 99},
        {" MOUSE_CURSOR=\"-5\"", "<VOLUME SOUNDVOLUME=\"-5\" MUSICVOLUME=\"150\"/>", L"-5", L"150", -5},
    };
    for (auto const& c : cases) {
        testsupport::writeFile(userFolder / "config.cfg", "<MyEngineParams><ENGINE_PARAMS>" + windowed(640, 480) +
                                                              "</ENGINE_PARAMS><API_PARAMS" + c.attributes + ">" +
                                                              c.volume + "</API_PARAMS></MyEngineParams>");
        EXPECT_EQ(runGame(playScript(), {"-ENABLE_INGAME_CONSOLE", "1"}), 0) << c.attributes;
        EXPECT_EQ(errors(), std::vector<std::string>{}) << c.attributes;
        Orvex::XMLNode const config = readConfig();
        Orvex::XMLNode const* api = config.getChild(L"API_PARAMS");
        ASSERT_NE(api, nullptr);
        EXPECT_EQ(api->getAttributeInt(L"MOUSE_CURSOR", 0), c.cursor);
        Orvex::XMLNode const* volume = api->getChild(L"VOLUME");
        ASSERT_NE(volume, nullptr);
        EXPECT_EQ(volume->getAttributeString(L"SOUNDVOLUME", L""), c.sound);
        EXPECT_EQ(volume->getAttributeString(L"MUSICVOLUME", L""), c.music);
        fs::remove_all(run);
        fs::create_directories(run);
    }
}

// A settings file cut short: one line names it and the line, what was read before the cut is
// used, the game runs, and the file is written whole again, the cut one kept aside first (a
// second line says where).
TEST_F(EntryTest, CutSettingsFileIsWrittenWholeAgain) {
    // An offered window size, not the full screen of a start without settings.
    writeConfig(windowed(1280, 720), " MOUSE_CURSOR=\"2\"");
    std::string const whole = testsupport::readFile(userFolder / "config.cfg");
    std::string const cut = whole.substr(0, whole.size() / 3);
    testsupport::writeFile(userFolder / "config.cfg", cut);
    EXPECT_EQ(runGame(playScript(), {"-ENABLE_INGAME_CONSOLE", "1"}), 0);
    std::vector<std::string> const errorLines = errors();
    ASSERT_EQ(errorLines.size(), 2u);
    EXPECT_NE(errorLines[0].find("config.cfg"), std::string::npos) << errorLines[0];
    EXPECT_NE(errorLines[0].find("line"), std::string::npos) << errorLines[0];
    EXPECT_NE(errorLines[1].find("config.cfg\" does not read completely; it is kept as"), std::string::npos)
        << errorLines[1];
    EXPECT_EQ(testsupport::readFile(userFolder / "config.cfg.bad1"), cut);
    expectForcedValues();
    EXPECT_EQ(pngSize(run / "Screenshot_0.png"), std::make_pair(1280u, 720u));
}

TEST_F(EntryTest, ClosedWhileLoadingEndsWithMinusOneAndWritesTheSettings) {
    writeConfig(windowed(640, 480));
    EXPECT_EQ(runGame({"0 close-while-loading"}, {}), 255);
    expectForcedValues();
    // The game never got to its first frame.
    for (std::string const& line : logLines()) EXPECT_EQ(line.rfind("driver: frame", 0), std::string::npos) << line;
}

// Without a usable device (a video driver without OpenGL) the engine cannot start: -1, and the
// settings file is written all the same, from the defaults of a missing file (full screen at the
// desktop's size) and the forced values.
TEST_F(EntryTest, NoDeviceEndsWithMinusOneAndWritesTheSettings) {
    fs::remove(userFolder / "config.cfg");
    EXPECT_EQ(runGame({}, {}, true, "dummy", "1024x768"), 255);
    expectForcedValues();
    Orvex::XMLNode const config = readConfig();
    Orvex::XMLNode const* d3d = config.getChild(L"ENGINE_PARAMS")->getChild(L"D3DINITPARAMS");
    EXPECT_EQ(d3d->getAttributeInt(L"WIDTH", 0), 1024);
    EXPECT_EQ(d3d->getAttributeInt(L"HEIGHT", 0), 768);
    EXPECT_EQ(d3d->getAttributeInt(L"REFRESH", 0), 60);
    EXPECT_EQ(d3d->getAttributeInt(L"WINDOWED", -1), 0);
}

// The first start of a new player on a 1280 x 720 screen, no settings file, only clicks and the
// typed name: the game fills the screen, the dialog's field offers the name Return would make and
// takes the click and the letters typed after it (no tutorial page comes over it), its OK button
// lies on the screen; the tutorial pages come with the main menu and are paged by "Weiter"; the
// options are entered and left. The settings written name the screen's size.
TEST_F(EntryTest, TheFirstStartOnA1280x720ScreenReachesTheMainMenuByClicks) {
    fs::remove(userFolder / "profile.prf");
    fs::remove(userFolder / "config.cfg");
    std::vector<std::string> const script{
        "10 menu STARTMENU", "+2 click SM_Fenster", "+0 await NEUESPROFIL", "+30 label NP_ProfilName_LABEL Spieler 1",
        "+2 key F7", "+2 click NP_ProfilName_LABEL", "+10 menu NEUESPROFIL", "+2 type Anna",
        "+10 label NP_ProfilName_LABEL Anna", "+2 key F7", "+2 click NP_OKButton", "+0 await TUTORIALMENU",
        "+30 key F7", "+2 click T_Weiter", "+30 click T_Weiter", "+30 click T_Weiter", "+30 click T_Weiter",
        "+30 click T_Weiter", "+0 await HAUPTMENU", "+30 key F7", "+2 click H_Optionen", "+0 await OPTIONENMENU",
        "+30 key F7", "+2 click O_Back", "+0 await HAUPTMENU", "+30 click H_Exit", "+0 await BEENDENMENU",
        "+2 click B_OK",
    };
    ASSERT_EQ(runGame(script, {}, true, "offscreen", "1280x720"), 0);
    EXPECT_EQ(errors(), std::vector<std::string>{});
    std::vector<std::string> const lines = logLines();
    auto logged = [&lines](std::string const& text) {
        return std::find(lines.begin(), lines.end(), text) != lines.end();
    };
    EXPECT_TRUE(logged("No settings: full screen at 1280x720 32 bit 60 Hz, the desktop's size or the largest that fits on it"));
    EXPECT_TRUE(logged("driver: label NP_ProfilName_LABEL reads \"Spieler 1\""));
    EXPECT_TRUE(logged("driver: label NP_ProfilName_LABEL reads \"Anna\""));
    char const* const shots[] = {"new_profile", "name_typed", "tutorial_at_main_menu", "main_menu", "options"};
    for (std::size_t i = 0; i < std::size(shots); ++i) {
        fs::path const shot = run / ("Screenshot_" + std::to_string(i) + ".png");
        EXPECT_EQ(pngSize(shot), std::make_pair(1280u, 720u)) << shots[i];
        keepScreenshot(shot, std::string("first_start_1280x720_") + std::to_string(i) + "_" + shots[i] + ".png");
    }
    Orvex::XMLNode profiles;
    ASSERT_TRUE(profiles.load(port::windowsPath((userFolder / "profile.prf").string())));
    EXPECT_EQ(profiles.getAttributeString(L"ACTIVE_PROFIL", L""), L"Anna");
    ASSERT_EQ(profiles.getChildCount(L"PROFIL"), 1u);
    expectWrittenMode(1280, 720, 0);
}

// Full screen on a 1280 x 720 display without a window manager: the options change the mode to
// 1024 x 768 in a window, which is brought onto the desktop as 1024 x 720 and, keeping its
// 1280 x 720, shows the picture stretched. "Ja" of the question, clicked where it is drawn, keeps
// the mode; the main menu's buttons answer where they are drawn; the settings written name the
// mode chosen.
TEST_F(EntryTest, AWindowedModeKeptWhereTheWindowKeepsItsSizeIsConfirmedWhereDrawn) {
    writeConfig("<D3DINITPARAMS WIDTH=\"1280\" HEIGHT=\"720\" REFRESH=\"60\" WINDOWED=\"0\"/>");
    std::vector<std::string> const script{
        "10 menu STARTMENU", "+2 keep-window-size", "+2 click SM_Fenster", "+0 await HAUPTMENU",
        "+30 click H_Optionen", "+0 await OPTIONENMENU", "+30 click AufloesungSlider_LINKS",
        "+10 label AufloesungSlider_TEXT", "+2 clickat O_Fullscreen 0.04 0.5", "+10 click O_Back",
        "+0 await USE_SETTINGS_MENU", "+30 key F7", "+2 click US_OK", "+0 await HAUPTMENU",
        "+30 click H_Optionen", "+0 await OPTIONENMENU", "+30 click O_Back", "+0 await HAUPTMENU",
        "+30 click H_Exit", "+0 await BEENDENMENU", "+2 click B_OK",
    };
    ASSERT_EQ(runGame(script, {}, true, "offscreen", "1280x720"), 0);
    EXPECT_EQ(errors(), std::vector<std::string>{});
    std::vector<std::string> const lines = logLines();
    auto logged = [&lines](std::string const& part) {
        return std::any_of(lines.begin(), lines.end(),
                           [&part](std::string const& line) { return line.find(part) != std::string::npos; });
    };
    EXPECT_TRUE(logged("driver: label AufloesungSlider_TEXT reads \"1024x768 "));
    EXPECT_TRUE(logged("D3DInterface: the window 1024x768 is larger than the desktop (1280x720); using 1024x720"));
    EXPECT_TRUE(logged("the back buffer is a texture copied to the window (the window is 1280x720"));
    EXPECT_TRUE(logged("D3DInterface: display mode 1024x720 "));
    EXPECT_FALSE(logged("not confirmed in time"));
    EXPECT_EQ(pngSize(run / "Screenshot_0.png"), std::make_pair(1024u, 720u));
    keepScreenshot(run / "Screenshot_0.png", "kept_window_1280x720_question_1024x768.png");
    expectWrittenMode(1024, 768, 1);
}

// A size larger than the desktop chosen in the options, as a new player on a 1280 x 720 screen
// does it: from the full screen the game starts in, 1280 x 1024 or 1024 x 768 in a window, or from
// a window 1920 x 1080 full screen, each chosen by the slider's arrows, and "Ja". The window is brought onto the
// desktop with the start's line and the picture drawn at the window's own size, so the question,
// the main menu's "Beenden" and the options' "Zurück" lie on the screen and take their clicks;
// the settings file keeps the size chosen.
TEST_F(EntryTest, ASizeLargerThanTheDesktopChosenInTheOptionsIsBroughtOntoIt) {
    std::string const fullScreen = "<D3DINITPARAMS WIDTH=\"1280\" HEIGHT=\"720\" REFRESH=\"60\" WINDOWED=\"0\"/>";
    struct {
        char const* what;
        std::string start;
        std::vector<std::string> choose;  // the steps on the options screen
        char const* line;
        unsigned playedW, playedH;
        int writtenW, writtenH, windowed;
    } const cases[] = {
        {"1280x1024 windowed", fullScreen,
         {"+30 click AufloesungSlider_RECHTS", "+10 click AufloesungSlider_RECHTS",
          "+10 label AufloesungSlider_TEXT 1280x1024 32 bit 60 Hz", "+2 clickat O_Fullscreen 0.04 0.5"},
         "D3DInterface: the window 1280x1024 is larger than the desktop (1280x720); using 1280x720", 1280, 720, 1280,
         1024, 1},
        {"1024x768 windowed", fullScreen,
         {"+30 click AufloesungSlider_LINKS", "+10 label AufloesungSlider_TEXT 1024x768 32 bit 75 Hz",
          "+2 clickat O_Fullscreen 0.04 0.5"},
         "D3DInterface: the window 1024x768 is larger than the desktop (1280x720); using 1024x720", 1024, 720, 1024,
         768, 1},
        {"1920x1080 full screen from a window", windowed(1280, 720),
         {"+30 click AufloesungSlider_RECHTS", "+10 click AufloesungSlider_RECHTS", "+10 click AufloesungSlider_RECHTS",
          "+10 click AufloesungSlider_RECHTS", "+10 click AufloesungSlider_RECHTS", "+10 click AufloesungSlider_RECHTS",
          "+10 label AufloesungSlider_TEXT 1920x1080 32 bit 60 Hz", "+2 clickat O_Fullscreen 0.04 0.5"},
         "D3DInterface: the full-screen mode 1920x1080 is larger than the desktop (1280x720); using 1280x720", 1280,
         720, 1920, 1080, 0},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.what);
        writeConfig(c.start);
        std::vector<std::string> script{"10 menu STARTMENU", "+2 click SM_Fenster", "+0 await HAUPTMENU",
                                        "+30 click H_Optionen", "+0 await OPTIONENMENU"};
        script.insert(script.end(), c.choose.begin(), c.choose.end());
        script.insert(script.end(), {"+10 click O_Back", "+0 await USE_SETTINGS_MENU", "+2 click US_OK",
                                     "+0 await HAUPTMENU", "+30 key F7", "+2 click H_Optionen",
                                     "+0 await OPTIONENMENU", "+30 click O_Back", "+0 await HAUPTMENU",
                                     "+30 click H_Exit", "+0 await BEENDENMENU", "+2 click B_OK"});
        ASSERT_EQ(runGame(script, {}, true, "offscreen", "1280x720"), 0);
        EXPECT_EQ(errors(), std::vector<std::string>{});
        std::vector<std::string> const lines = logLines();
        EXPECT_EQ(std::count(lines.begin(), lines.end(), std::string(c.line)), 1) << c.line;
        EXPECT_EQ(pngSize(run / "Screenshot_0.png"), std::make_pair(c.playedW, c.playedH));
        keepScreenshot(run / "Screenshot_0.png", std::string("options_larger_than_desktop_") + c.what + ".png");
        expectWrittenMode(c.writtenW, c.writtenH, c.windowed);
        fs::remove_all(run);
        fs::create_directories(run);
    }
}

// Settings made for a larger screen: a window larger than the desktop is cut to the desktop, a
// full-screen mode larger than it becomes the desktop's; one line says so and the game plays at
// that size, while the file keeps the mode chosen (a larger screen shows it again). A window size
// edited by hand that no one offers becomes the nearest offered one, with its own line, and the
// file keeps that.
TEST_F(EntryTest, AModeLargerThanTheDesktopIsBroughtOntoIt) {
    struct {
        char const* what;
        std::string d3d;
        std::vector<std::string> lines;
        unsigned playedW, playedH;
        int writtenW, writtenH, windowed;
    } const cases[] = {
        {"window",
         windowed(1920, 1080),
         {"D3DInterface: the window 1920x1080 is larger than the desktop (1280x720); using 1280x720"},
         1280, 720, 1920, 1080, 1},
        {"full screen",
         "<D3DINITPARAMS WIDTH=\"3840\" HEIGHT=\"2160\" REFRESH=\"60\" WINDOWED=\"0\"/>",
         {"D3DInterface: the full-screen mode 3840x2160 is larger than the desktop (1280x720); using 1280x720"},
         1280, 720, 3840, 2160, 0},
        {"a window edited by hand",
         windowed(1001, 7),
         {"D3DInterface: the window 1001x7 of the settings is no offered size; using 1024x768",
          "D3DInterface: the window 1024x768 is larger than the desktop (1280x720); using 1024x720"},
         1024, 720, 1024, 768, 1},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.what);
        writeConfig(c.d3d);
        EXPECT_EQ(runGame(playScript(), {"-ENABLE_INGAME_CONSOLE", "1"}, true, "offscreen", "1280x720"), 0);
        EXPECT_EQ(errors(), std::vector<std::string>{});
        std::vector<std::string> const lines = logLines();
        for (std::string const& line : c.lines) EXPECT_EQ(std::count(lines.begin(), lines.end(), line), 1) << line;
        EXPECT_EQ(pngSize(run / "Screenshot_0.png"), std::make_pair(c.playedW, c.playedH));
        expectWrittenMode(c.writtenW, c.writtenH, c.windowed);
        fs::remove_all(run);
        fs::create_directories(run);
    }
}

// The free-play, campaign and statistics screens reached from the main menu by clicks through the
// real window: a category and a game of free play chosen by their buttons, the variant's highscores
// and back, the chapters, the statistics; a screenshot of each for a person to look at.
TEST_F(EntryTest, ReachesFreePlayCampaignAndStatisticsByClicks) {
    writeConfig(windowed(1024, 768));
    std::vector<std::string> const script{
        "10 menu STARTMENU",          "12 click SM_Fenster",      "70 menu HAUPTMENU",
        "72 click H_FreiesSpiel",     "130 menu FREIESSPIELMENU", "132 click FG_Kategorie_KNOBELEIEN",
        "140 click FG_Game_HERZREIHE", "190 key F7",              "192 click FG_Highscores",
        "250 menu STATISTIKENGAMEMENU", "252 key F7",             "254 key ESCAPE",
        "310 menu FREIESSPIELMENU",   "312 key ESCAPE",           "370 menu HAUPTMENU",
        "372 click H_Kampagne",       "430 menu KATEGORIEMENU",   "432 key F7",
        "434 key ESCAPE",             "490 menu HAUPTMENU",       "492 click H_Statistiken",
        "550 menu STATISTIKENMENU",   "552 key F7",               "554 key ESCAPE",
        "610 menu HAUPTMENU",         "612 key GRAVE",            "614 type E_Exit",
        "616 key RETURN",
    };
    EXPECT_EQ(runGame(script, {"-ENABLE_INGAME_CONSOLE", "1"}), 0);
    EXPECT_EQ(errors(), std::vector<std::string>{});
    char const* const shots[] = {"entry_free_play", "entry_highscores", "entry_chapters", "entry_statistics"};
    for (int i = 0; i < 4; ++i) {
        fs::path const shot = run / ("Screenshot_" + std::to_string(i) + ".png");
        EXPECT_EQ(pngSize(shot), std::make_pair(1024u, 768u)) << shots[i];
        keepScreenshot(shot, std::string(shots[i]) + "_1024x768.png");
    }
}

// The first start, in three runs of the program. A fresh user folder: leaving the start screen
// opens the new-profile dialog, where no tutorial comes; the typed name and "NP_OKButton" make
// the profile and lead to the main menu, where the two pages on tutorials and the main menu's
// three come, paged on by Return; its exit question ends the program with 0.
// Started again, the active profile leads straight to the main menu. With profiles but none
// active, the profile screen opens.
TEST_F(EntryTest, TheFirstStartMakesAProfileAndTheNextStartsUseIt) {
    fs::remove(userFolder / "profile.prf");
    writeConfig(windowed(1024, 768));
    std::vector<std::string> const firstStart{
        "10 menu STARTMENU",    "12 click SM_Fenster",  "60 menu NEUESPROFIL", "90 type Anna",
        "98 key F7",            "100 click NP_OKButton", "+0 await TUTORIALMENU", "+10 key RETURN",
        "+10 key RETURN",       "+10 key RETURN",      "+10 key RETURN",       "+10 key RETURN",
        "+0 await HAUPTMENU",   "+30 click H_Exit",    "+0 await BEENDENMENU", "+2 click B_OK",
    };
    EXPECT_EQ(runGame(firstStart, {}), 0);
    EXPECT_EQ(errors(), std::vector<std::string>{});
    keepScreenshot(run / "Screenshot_0.png", "first_start_new_profile_1024x768.png");
    Orvex::XMLNode profiles;
    ASSERT_TRUE(profiles.load(port::windowsPath((userFolder / "profile.prf").string())));
    EXPECT_EQ(profiles.getAttributeString(L"ACTIVE_PROFIL", L""), L"Anna");
    ASSERT_EQ(profiles.getChildCount(L"PROFIL"), 1u);

    std::vector<std::string> const again{"10 menu STARTMENU", "12 click SM_Fenster", "60 menu HAUPTMENU",
                                         "62 click H_Exit", "90 menu BEENDENMENU", "92 click B_OK"};
    EXPECT_EQ(runGame(again, {}), 0);
    EXPECT_EQ(errors(), std::vector<std::string>{});

    // Profiles without an active one.
    testsupport::writeFile(userFolder / "profile.prf", "<PROFILE><PROFIL NAME=\"Anna\"/><PROFIL NAME=\"Ben\"/></PROFILE>");
    std::vector<std::string> noneActive{"10 menu STARTMENU", "12 click SM_Fenster", "60 menu PROFILMENU"};
    noneActive.insert(noneActive.end(), {"62 key GRAVE", "64 type E_Exit", "66 key RETURN"});
    EXPECT_EQ(runGame(noneActive, {"-ENABLE_INGAME_CONSOLE", "1"}), 0);
    EXPECT_EQ(errors(), std::vector<std::string>{});
}

// The same player's game started twice (a second click on the launcher): game B starts, in A's
// folder, while A stands in the main menu. B says so and ends at once with 1, before it reads or
// writes anything of the user folder or of the log (its lines go to its standard error, so A's log
// keeps every line); A then makes a profile and quits, and the file holds it, whole. So too where
// the player may only read the lock file (root's, left by a game run under sudo: both games run as
// another user). (B used to run on and, quitting after A, save the profiles back as it had read
// them; it emptied A's log at its start; and a lock file the player could not write held nothing.)
TEST_F(EntryTest, ASecondGameForTheSameUserEndsAndLosesNothingOfTheFirst) {
    struct {
        char const* what;
        bool readOnlyLock;
    } const cases[] = {{"the game's own lock file", false}, {"a lock file the player may only read", true}};
    // The games' folders where the other user may reach them.
    testsupport::ReachableFolder const reachable("entry_second_game");
    if (reachable.path().empty()) GTEST_SKIP() << reachable.whyNot();
    base = reachable.path();
    dataHome = base / "share";
    userFolder = dataHome / "Orvex" / "Velquorandix";
    for (auto const& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(userFolder);
        writeStartingProfile();
        writeConfig(windowed(1024, 768));
        fs::path const runA = base / ("a" + std::to_string(&c - cases));
        fs::create_directories(runA);
        if (c.readOnlyLock) {
            testsupport::writeFile(userFolder / "instance.lock", "");
            testsupport::giveToOtherUser(userFolder);
            testsupport::giveToOtherUser(runA);
            testsupport::makeReadOnly(userFolder / "instance.lock");
            asOtherUser = true;
        }
        std::string const goA = runA.string() + ".go-a", goB = runA.string() + ".go-b";
        std::vector<std::string> scriptA{"10 menu STARTMENU", "12 click SM_Fenster", "60 menu HAUPTMENU"};
        std::vector<std::string> scriptB = scriptA;
        scriptA.insert(scriptA.end(), {"+0 wait-for " + goA, "+30 click H_Profile", "+0 await PROFILMENU",
                                       "+60 click P_NEUButton", "+0 await NEUESPROFIL", "+30 click NP_HELP_CHECKBOX_3",
                                       "+10 type Ben", "+5 click NP_OKButton", "+0 await PROFILMENU", "+30 key ESCAPE",
                                       "+0 await HAUPTMENU", "+30 click H_Exit", "+0 await BEENDENMENU", "+2 click B_OK"});
        scriptB.insert(scriptB.end(), {"+0 wait-for " + goB, "+30 click H_Exit", "+0 await BEENDENMENU", "+2 click B_OK"});
        fs::path const logA = runA / "logs" / "logfile.log";

        pid_t const a = startGame(runA, scriptA, {});
        ASSERT_EQ(endOf(a, [this, &runA] {
                      std::vector<std::string> const lines = logLines(runA);
                      return std::find(lines.begin(), lines.end(), "driver: active menu HAUPTMENU") != lines.end();
                  }),
                  kStillRunning);
        std::string const profiles = testsupport::readFile(userFolder / "profile.prf");
        std::string const settings = testsupport::readFile(userFolder / "config.cfg");
        std::string const logBefore = testsupport::readFile(logA);
        // Logged before A held the folder, written once it did.
        EXPECT_NE(logBefore.find("\nArchive \"cp.gob\" (CPGOB) not found"), std::string::npos);
        fs::path const errorsOfB = runA.string() + ".b-stderr.txt";
        stderrTo = errorsOfB;
        pid_t const b = startGame(runA, scriptB, {});
        stderrTo.clear();
        // Waits for B's end, or for A's log to lose lines, as a B that runs on empties it.
        int const endB = endOf(b, [&] { return testsupport::readFile(logA).compare(0, logBefore.size(), logBefore) != 0; });
        EXPECT_EQ(endB, 1);
        std::string const folder = port::toUtf8(port::windowsPath(userFolder.string()));
        EXPECT_EQ(errorLinesOf(errorsOfB), std::vector<std::string>{"ERROR Another game for the user folder \"" + folder +
                                                                    "\" is running: this one ends without reading or "
                                                                    "writing it"});
        EXPECT_EQ(testsupport::readFile(userFolder / "profile.prf"), profiles);
        EXPECT_EQ(testsupport::readFile(userFolder / "config.cfg"), settings);
        std::string const logAfter = testsupport::readFile(logA);
        EXPECT_EQ(logAfter.substr(0, logBefore.size()), logBefore)
            << "A's log held " << logBefore.size() << " bytes, then " << logAfter.size();

        testsupport::writeFile(goA, "");
        EXPECT_EQ(endOf(a), 0);
        EXPECT_EQ(errors(runA), std::vector<std::string>{});
        testsupport::writeFile(goB, "");
        if (endB == kStillRunning) endOf(b);
        asOtherUser = false;
        Orvex::XMLNode read;
        ASSERT_EQ(read.loadChecked(port::windowsPath((userFolder / "profile.prf").string()), 1),
                  Orvex::XMLNode::ReadResult::kComplete);
        std::vector<std::wstring> names;
        for (std::size_t i = 0; i < read.getChildCount(L"PROFIL"); ++i)
            names.push_back(read.getChild(L"PROFIL", static_cast<int>(i))->getAttributeString(L"NAME", L""));
        EXPECT_EQ(names, (std::vector<std::wstring>{L"Spieler", L"Ben"}));
    }
}

// Where the lock file cannot be opened at all (here a link in its place, which is not followed;
// a folder or a FIFO alike), no game can tell whether another holds the user folder: the start
// says so on the screen and ends with 1 before it reads or writes anything there or makes its
// log; its lines go to standard error, one saying why in words. (It ran on, holding the file the
// link led to, or with no lock at all where the file could not be opened: two such games saved
// over each other.)
TEST_F(EntryTest, ALockFileThatCannotBeOpenedEndsTheStartBeforeItReadsOrWrites) {
    writeConfig(windowed(1024, 768));
    std::string const folder = port::toUtf8(port::windowsPath(userFolder.string()));
    testsupport::writeFile(userFolder / "notes.txt", "notes");
    fs::create_symlink(userFolder / "notes.txt", userFolder / "instance.lock");
    std::string const profiles = testsupport::readFile(userFolder / "profile.prf");
    std::string const settings = testsupport::readFile(userFolder / "config.cfg");
    stderrTo = base / "stderr.txt";
    EXPECT_EQ(runGame({"10 menu STARTMENU", "12 key GRAVE", "14 type E_Exit", "16 key RETURN"},
                      {"-ENABLE_INGAME_CONSOLE", "1"}),
              1);
    EXPECT_EQ(errorLinesOf(stderrTo),
              std::vector<std::string>{"ERROR AppInfo: the lock file \"" + folder + "\\instance.lock\" cannot be opened "
                                       "(a symbolic link, not a regular file): the user folder cannot be held against "
                                       "a second game"});
    EXPECT_NE(testsupport::readFile(stderrTo).find("MessageBox \"Hinweis\": Das Spiel kann nicht starten"),
              std::string::npos);
    EXPECT_EQ(testsupport::readFile(userFolder / "profile.prf"), profiles);
    EXPECT_EQ(testsupport::readFile(userFolder / "config.cfg"), settings);
    EXPECT_EQ(testsupport::readFile(userFolder / "notes.txt"), "notes");
    EXPECT_FALSE(fs::exists(run / "logs" / "logfile.log"));
}

// A profile file cut short: the game started on it copies it aside and writes the profile it
// read at once, so when it is killed right after (no save at the game's end) the next start
// finds the player, leads to the main menu and has nothing to keep aside.
TEST_F(EntryTest, AGameKilledAfterItKeptADamagedProfileFileAsideFindsTheProfileAtTheNextStart) {
    writeConfig(windowed(1024, 768));
    std::string const damaged =
        "<PROFILE ACTIVE_PROFIL=\"Spieler\"><PROFIL NAME=\"Spieler\"><TUTORIAL SHOW=\"0\"/></PROFIL>";
    testsupport::writeFile(userFolder / "profile.prf", damaged);
    EXPECT_EQ(runGame({"10 menu STARTMENU", "12 kill"}, {}), -1000 - SIGKILL);
    EXPECT_EQ(testsupport::readFile(userFolder / "profile.prf.bad1"), damaged);

    std::vector<std::string> const again{"10 menu STARTMENU", "12 click SM_Fenster", "60 menu HAUPTMENU",
                                         "62 click H_Exit",   "90 menu BEENDENMENU", "92 click B_OK"};
    EXPECT_EQ(runGame(again, {}), 0);
    EXPECT_EQ(errors(), std::vector<std::string>{});
    EXPECT_FALSE(fs::exists(userFolder / "profile.prf.bad2"));
    Orvex::XMLNode profiles;
    ASSERT_EQ(profiles.loadChecked(port::windowsPath((userFolder / "profile.prf").string()), 1),
              Orvex::XMLNode::ReadResult::kComplete);
    EXPECT_EQ(profiles.getAttributeString(L"ACTIVE_PROFIL", L""), L"Spieler");
    EXPECT_EQ(profiles.getChildCount(L"PROFIL"), 1u);
}

// Something other than a file where the game reads one, the only one of its name: a FIFO as the
// profile file (the start waited on it for ever before the start menu, and SIGTERM did not end
// it), as the settings file and as a data file, and a folder as the data file. The game reaches
// the start menu and ends by the console as always; one error line names the file and says what
// stands there (the profile file's second says where it is kept, the settings file's says it in
// the same line); the FIFO of either is kept aside and a file written in its place.
TEST_F(EntryTest, SomethingOtherThanAFileWhereTheGameReadsOneDoesNotStopTheStart) {
    writeConfig(windowed(1024, 768));
    std::vector<std::string> const toTheStartMenuAndOut{"10 menu STARTMENU", "12 key GRAVE", "14 type E_Exit",
                                                        "16 key RETURN"};
    std::string const userPath = port::toUtf8(port::windowsPath(userFolder.string()));
    // The game's files staged in the run folder, so that the data file has no other of its name.
    fs::path const data = testsupport::sourceDir() / "data";
    fs::path const dataFile = run / "data" / "FlySplines.fsp";
    struct {
        char const* what;
        fs::path place;
        bool folder;
        std::vector<std::string> lines;
    } const cases[] = {
        {"a FIFO as the profile file", userFolder / "profile.prf", false,
         {"ERROR Property file \"" + userPath + "\\profile.prf\" cannot be read (a FIFO, not a regular file)",
          "ERROR Profiles: \"" + userPath + "\\profile.prf\" cannot be read (a FIFO, not a regular file); it is "
          "moved to \"" + userPath + "\\profile.prf.bad1\""}},
        {"a FIFO as the settings file", userFolder / "config.cfg", false,
         {"ERROR Settings file \"" + userPath + "\\config.cfg\" cannot be read (a FIFO, not a regular file); it is "
          "kept as \"" + userPath + "\\config.cfg.bad1\"; default settings are used"}},
        {"a FIFO as a data file", dataFile, false,
         {"ERROR Property file \"data\\FlySplines.fsp\" cannot be read (a FIFO, not a regular file)"}},
        {"a folder as a data file", dataFile, true,
         {"ERROR Property file \"data\\FlySplines.fsp\" cannot be read (Is a directory)"}},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.what);
        bool const staged = c.place == dataFile;
        if (staged) {
            fs::copy(data, run / "data", fs::copy_options::recursive);
            fs::copy_file(data / "tastaturlayout.lay", run / "tastaturlayout.lay");
        }
        fs::remove(c.place);
        if (c.folder) fs::create_directory(c.place);
        else ASSERT_EQ(mkfifo(c.place.c_str(), 0644), 0);
        EXPECT_EQ(runGame(toTheStartMenuAndOut, {"-ENABLE_INGAME_CONSOLE", "1"}, !staged), 0);
        EXPECT_EQ(errors(), c.lines);
        if (c.place == userFolder / "profile.prf") {
            EXPECT_TRUE(fs::is_fifo(userFolder / "profile.prf.bad1"));
            Orvex::XMLNode profiles;
            EXPECT_EQ(profiles.loadChecked(port::windowsPath(c.place.string()), 1), Orvex::XMLNode::ReadResult::kComplete);
        }
        if (c.place == userFolder / "config.cfg") {
            EXPECT_TRUE(fs::is_fifo(userFolder / "config.cfg.bad1"));
            expectForcedValues();
        }
        fs::remove_all(run);
        fs::create_directories(run);
        fs::remove_all(userFolder);
        writeConfig(windowed(1024, 768));
    }
}

// One play-through from a fresh user folder, driven only by the player's events through the real
// window: the first profile made, its tutorial pages paged by Return; free play's category, game
// and variant picked by clicks, the pause screen by Escape and back, the always-winnable "Herzreihe"
// won by drags and double clicks (each after a rest on the card until its tooltip shows, the card
// under the pointer after every frame of a drag) and counted on the free-play screen; the results
// counted up to
// the score, the highscore list and its dialog, whose "HSE_COPYSEED" fills the seed field with the
// game's number; the chapters, the story
// scene that comes first and is skipped, the level screen's tutorial page over its cards, level 0 left
// at once from the pause screen (no goal reached, no star: "Level beenden" is not there yet), the
// next level started from there and left; volumes, cursor and card back
// changed in the options; a second profile made (no tutorial over its dialog), chosen and deleted
// (asked first); the help pages leafed to the
// credits; the exit question's "B_OK" ends it with 0. A screenshot of every screen is kept.
TEST_F(EntryTest, PlaysThroughEveryScreenFromAFreshUserFolder) {
    fs::remove(userFolder / "profile.prf");
    writeConfig(windowed(1024, 768));
    std::vector<std::string> const script{
        "10 menu STARTMENU", "+2 click SM_Fenster", "+0 await NEUESPROFIL", "+30 type Anna", "+5 key F7",
        "+2 click NP_OKButton", "+0 await TUTORIALMENU", "+10 key RETURN", "+10 key RETURN", "+10 key RETURN",
        "+10 key RETURN", "+10 key RETURN", "+0 await HAUPTMENU", "+60 key F7", "+2 click H_FreiesSpiel",
        "+0 await FREIESSPIELMENU", "+60 click FG_Kategorie_KNOBELEIEN", "+60 click FG_Game_HERZREIHE",
        "+30 label FG_STATISTIKEN_WIN Gewonnen: 0", "+0 key F7", "+2 click FG_StartButton",
        "+0 await TUTORIALMENU", "+30 key RETURN",
        "+10 key RETURN", "+0 await INGAMEMENU", "+30 key ESCAPE", "+0 await PAUSEMENU", "+30 key F7",
        "+2 click P_WEITER", "+0 await INGAMEMENU", "+10 key F7", "+2 dblclick HERZ_ASS",
        "+20 drag HERZ_2 STAPEL_ZIEL", "+20 dblclick HERZ_3", "+20 drag HERZ_4 STAPEL_ZIEL",
        "+20 dblclick HERZ_5", "+20 drag HERZ_6 STAPEL_ZIEL", "+20 dblclick HERZ_7",
        "+20 drag HERZ_8 STAPEL_ZIEL", "+20 dblclick HERZ_9", "+20 drag HERZ_10 STAPEL_ZIEL",
        "+20 dblclick HERZ_BUBE", "+20 drag HERZ_DAME STAPEL_ZIEL", "+20 key F7",
        "+2 dblclick HERZ_K\u00d6NIG", "+0 await AUSWERTUNGMENU", "+200 key F7", "+2 label A_FG_Points",
        "+2 click A_BACK", "+0 await FREIESSPIELMENU", "+30 label FG_STATISTIKEN_WIN Gewonnen: 1",
        "+60 click FG_Highscores",
        "+0 await STATISTIKENGAMEMENU", "+60 key F7", "+2 click STG_Highscore_1",
        "+0 await HIGHSCOREEDITMENU", "+30 key F7", "+2 click HSE_COPYSEED",
        "+0 await STATISTIKENGAMEMENU", "+30 key ESCAPE", "+0 await FREIESSPIELMENU", "+30 label FG_SEED",
        "+2 key F7", "+2 key ESCAPE", "+0 await HAUPTMENU", "+60 click H_Kampagne",
        "+0 await KATEGORIEMENU", "+60 key F7", "+2 click K_KategorieButton1", "+0 await TUTORIALMENU",
        "+120 key F7", "+2 click T_END_STORY_CLICK", "+0 await TUTORIALMENU", "+60 click T_Weiter",
        "+0 await LEVELAUSWAHLMENU", "+60 key F7", "+2 click LA_LevelButton_0", "+0 await TUTORIALMENU", "+60 click T_HELP_CHECKBOX_1",
        "+10 click T_Weiter", "+0 await INGAMEMENU", "+60 key F7", "+2 key ESCAPE",
        "+0 await PAUSEMENU", "+30 key F7", "+2 click P_ENDE", "+0 await LEVELAUSWAHLMENU",
        "+60 click LA_LevelButton_1", "+0 await INGAMEMENU", "+60 key F7",
        "+2 key ESCAPE", "+0 await PAUSEMENU", "+30 click P_ENDE", "+60 menu LEVELAUSWAHLMENU",
        "+2 key F7", "+2 click LA_CLOSE", "+0 await KATEGORIEMENU", "+30 key ESCAPE", "+0 await HAUPTMENU",
        "+60 click H_Optionen", "+0 await OPTIONENMENU", "+60 click SoundSlider_LINKS",
        "+10 click SoundSlider_LINKS", "+10 label SoundSlider_TEXT Ger\u00e4usche: 65 %",
        "+2 click MusicSlider_RECHTS", "+10 click O_C2", "+10 click O_CARDBACK_NEXT", "+30 key F7",
        "+2 click O_Back", "+0 await HAUPTMENU", "+60 click H_Profile", "+0 await PROFILMENU",
        "+60 click P_NEUButton", "+0 await NEUESPROFIL", "+30 click NP_HELP_CHECKBOX_3", "+10 type Ben", "+5 click NP_OKButton",
        "+0 await PROFILMENU", "+2 key F7", "+2 clickat P_ProfilePanel 0.5 0.0625",
        "+30 clickat P_ProfilePanel 0.5 0.1875", "+30 click P_DELButton",
        "+0 await PROFILLOESCHENMENU", "+30 click P_LoeschenJa", "+0 await PROFILMENU",
        "+30 clickat P_ProfilePanel 0.5 0.0625", "+30 key F7", "+2 key ESCAPE", "+0 await HAUPTMENU",
        "+60 click H_Hilfe", "+0 await HILFEMENU", "+60 key F7", "+2 click H_NEXT", "+30 click H_NEXT",
        "+30 click H_NEXT", "+30 key F7", "+2 click H_NEXT", "+30 click H_NEXT", "+30 click H_NEXT", "+30 key F7",
        "+2 click H_Credits",
        "+0 await CREDITSMENU", "+30 key F7", "+2 key ESCAPE", "+0 await HILFEMENU", "+30 key ESCAPE",
        "+0 await HAUPTMENU", "+60 click H_Exit", "+0 await BEENDENMENU", "+30 key F7", "+2 click B_OK"
    };
    ASSERT_EQ(runGame(script, {}), 0);
    EXPECT_EQ(errors(), std::vector<std::string>{});
    char const* const shots[] = {
        "new_profile",    "main_menu",       "free_play",        "pause",          "free_game_table",
        "last_card",      "free_game_results", "highscores",     "highscore_dialog", "free_play_seed",
        "chapters",       "story",           "levels",           "level_table",    "level_paused",
        "next_level",     "levels_played",   "options",        "profiles_two",   "profiles_one",
        "help_first",     "help_fourth",     "help_credits",     "credits",
        "exit_question",
    };
    for (std::size_t i = 0; i < std::size(shots); ++i) {
        fs::path const shot = run / ("Screenshot_" + std::to_string(i) + ".png");
        EXPECT_EQ(pngSize(shot), std::make_pair(1024u, 768u)) << shots[i];
        keepScreenshot(shot, "playthrough_" + std::to_string(i) + "_" + shots[i] + ".png");
    }
    EXPECT_FALSE(fs::exists(run / ("Screenshot_" + std::to_string(std::size(shots)) + ".png")));

    // The profile: Anna alone and active, the free game's highscore under its seed, level 0 played
    // without a star.
    Orvex::XMLNode profiles;
    ASSERT_TRUE(profiles.load(port::windowsPath((userFolder / "profile.prf").string())));
    EXPECT_EQ(profiles.getAttributeString(L"ACTIVE_PROFIL", L""), L"Anna");
    ASSERT_EQ(profiles.getChildCount(L"PROFIL"), 1u);
    Orvex::XMLNode const* entry = nullptr;
    if (Orvex::XMLNode const* lists = profiles.getChild(L"HIGHSCORES"))
        for (std::size_t i = 0; i < lists->getChildCount(L"VARIANT_HIGHSCORES"); ++i) {
            Orvex::XMLNode const* list = lists->getChild(L"VARIANT_HIGHSCORES", static_cast<int>(i));
            if (list->getAttributeString(L"VAR_NAME", L"") == L"HERZREIHE") entry = list->getChild(L"HIGHSCORE");
        }
    ASSERT_NE(entry, nullptr);
    std::wstring const seed = entry->getAttributeString(L"GAME_NAME", L"");
    EXPECT_FALSE(seed.empty());
    EXPECT_EQ(seed.find_first_not_of(L"0123456789"), std::wstring::npos) << port::toUtf8(seed);
    // The count-up ended on the score, written as the list writes it (whole, digit groups).
    std::string points = std::to_string(static_cast<long long>(entry->getAttributeFloat(L"SCORE", 0.0f)));
    for (int at = static_cast<int>(points.size()) - 3; at > 0; at -= 3) points.insert(static_cast<std::size_t>(at), ".");
    std::vector<std::string> const lines = logLines();
    auto logged = [&lines](std::string const& text) {
        return std::find(lines.begin(), lines.end(), text) != lines.end();
    };
    EXPECT_TRUE(logged("driver: label A_FG_Points reads \"Punkte: " + points + "\"")) << points;
    EXPECT_TRUE(logged("driver: label FG_SEED reads \"" + port::toUtf8(seed) + "\"")) << port::toUtf8(seed);
    Orvex::XMLNode const* chapter = profiles.getChild(L"PROFIL")->getChild(L"KAMPAGNE");
    chapter = chapter ? chapter->getChild(L"KAPITEL") : nullptr;
    ASSERT_NE(chapter, nullptr);
    Orvex::XMLNode const* level = chapter->getChild(L"LEVEL");
    ASSERT_NE(level, nullptr);
    // Left before any goal was reached: open still, not passed.
    EXPECT_EQ(level->getAttributeInt(L"RESULT", 0), 1);

    // The options as changed: sound 75 - 2 x 5, music 50 + 5, the third cursor, the second back.
    Orvex::XMLNode const config = readConfig();
    Orvex::XMLNode const* api = config.getChild(L"API_PARAMS");
    ASSERT_NE(api, nullptr);
    EXPECT_EQ(api->getAttributeInt(L"MOUSE_CURSOR", -1), 2);
    ASSERT_NE(api->getChild(L"VOLUME"), nullptr);
    EXPECT_EQ(api->getChild(L"VOLUME")->getAttributeInt(L"SOUNDVOLUME", -1), 65);
    EXPECT_EQ(api->getChild(L"VOLUME")->getAttributeInt(L"MUSICVOLUME", -1), 55);
    ASSERT_NE(api->getChild(L"SOLITAIRE"), nullptr);
    EXPECT_EQ(api->getChild(L"SOLITAIRE")->getAttributeInt(L"CARDS_BACK", -1), 1);
}

}  // namespace
