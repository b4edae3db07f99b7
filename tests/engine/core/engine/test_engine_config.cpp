// The settings file: values written are the values read, the user globals' section, 8-bit text,
// missing, empty and garbled files, something other than a file in its place or one too large
// (kept aside), a file read only in part (kept aside at the save), and a failed write that keeps
// the old file.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/File.h"
#include "engine/core/KeepAside.h"
#include "engine/core/Logger.h"
#include "engine/core/engine/OrvexEngine.h"
#include "engine/core/UserGlobals.h"
#include "engine/core/XMLNode.h"
#include "engine/platform/D3DInterface.h"
#include "engine/platform/DirectInputInterface.h"
#include "engine/platform/SoundManager.h"
#include "port/win32/win32_paths.h"
#include "tests/engine/core/engine/EngineFixture.h"
#include "tests/support/FifoInPlace.h"
#include "tests/support/FullDisk.h"
#include "tests/support/TestSupport.h"

namespace {

using Orvex::D3DInterface;
using Orvex::DirectInputInterface;
using Orvex::OrvexEngine;
using Orvex::SoundManager;
using Orvex::XMLNode;

// A game settings object that keeps one value in "API_PARAMS".
class TestGlobals : public Orvex::UserGlobals {
public:
    bool load(XMLNode& node) override {
        ++loads;
        volume = node.getAttributeInt(L"VOLUME", volume);
        return true;
    }
    bool save(XMLNode& node) override {
        node.setAttribute(L"VOLUME", std::to_wstring(volume));
        return true;
    }
    int volume = 50;
    int loads = 0;
};

class EngineConfigTest : public ::testing::Test {
protected:
    void SetUp() override {
        engine = OrvexEngine::getInstance();
        globals = new TestGlobals;
        engine->setUserGlobals(globals);
        folder = testsupport::makeTempDir("config");
        hostFile = folder / "config.cfg";
        path = port::windowsPath(hostFile.string());
        saved = D3DInterface::getInstance().getInitParams();
        savedSound = SoundManager::getInstance().getInitParams();
        savedTex = engine->getTextureInitParams();
        savedInput = DirectInputInterface::getInstance().getInitParams();
    }
    void TearDown() override {
        engine->setUserGlobals(nullptr);
        D3DInterface::getInstance().getInitParams() = saved;
        SoundManager::getInstance().getInitParams() = savedSound;
        engine->getTextureInitParams() = savedTex;
        DirectInputInterface::getInstance().getInitParams() = savedInput;
    }

    OrvexEngine* engine = nullptr;
    TestGlobals* globals = nullptr;
    std::filesystem::path folder;
    std::filesystem::path hostFile;
    std::wstring path;
    Orvex::D3DInitParams saved;
    Orvex::SoundInitParams savedSound;
    Orvex::TextureInitParams savedTex;
    Orvex::DirectInputInitParams savedInput;
};

TEST_F(EngineConfigTest, ValuesWrittenAreValuesRead) {
    Orvex::D3DInitParams& d3d = D3DInterface::getInstance().getInitParams();
    d3d.displayMode = {1280, 720, 75, d3d.displayMode.Format};
    d3d.setWindowed(true);
    d3d.useIncludeResList = true;
    d3d.includeResolutions = {{1024, 768}, {1920, 1080}};
    SoundManager::getInstance().getInitParams().maxPlaying = 17;
    Orvex::DirectInputInitParams& input = DirectInputInterface::getInstance().getInitParams();
    input.useWinApi = 1;
    input.keyRepeatDelay = 400;
    input.keyRepeatRate = 90;
    Orvex::TextureInitParams& tex = engine->getTextureInitParams();
    tex = {true, true, true, 1234, 3};
    Orvex::TextureInitParams const texWritten = tex;
    globals->volume = 80;

    ASSERT_TRUE(engine->saveConfig(path));

    // 8-bit text under the expected root and sections.
    EXPECT_EQ(testsupport::readFile(hostFile).substr(0, 1), "<");
    XMLNode root;
    ASSERT_TRUE(root.load(path, 1));
    EXPECT_EQ(root.getName(), L"MyEngineParams");
    XMLNode const* engineParams = root.getChild(L"ENGINE_PARAMS");
    ASSERT_NE(engineParams, nullptr);
    for (wchar_t const* section : {L"D3DINITPARAMS", L"SOUNDINITPARAMS", L"DINPUTINITPARAMS", L"TEXINITPARAMS"})
        EXPECT_NE(engineParams->getChild(section), nullptr);
    ASSERT_NE(root.getChild(L"API_PARAMS"), nullptr);

    // Change everything, then read the file back.
    d3d.displayMode = {800, 600, 60, d3d.displayMode.Format};
    d3d.setWindowed(false);
    d3d.useIncludeResList = false;
    d3d.includeResolutions.clear();
    SoundManager::getInstance().getInitParams().maxPlaying = 64;
    input = Orvex::DirectInputInitParams{};
    tex = Orvex::TextureInitParams{};
    globals->volume = 0;

    ASSERT_TRUE(engine->loadConfig(path));
    EXPECT_EQ(d3d.displayMode.Width, 1280u);
    EXPECT_EQ(d3d.displayMode.Height, 720u);
    EXPECT_EQ(d3d.displayMode.RefreshRate, 75u);
    EXPECT_TRUE(d3d.isWindowed());
    EXPECT_TRUE(d3d.useIncludeResList);
    EXPECT_EQ(d3d.includeResolutions, (std::vector<Orvex::D3DResolution>{{1024, 768}, {1920, 1080}}));
    EXPECT_EQ(SoundManager::getInstance().getInitParams().maxPlaying, 17u);
    EXPECT_EQ(input.useWinApi, 1);
    EXPECT_EQ(input.keyRepeatDelay, 400);
    EXPECT_EQ(input.keyRepeatRate, 90);
    EXPECT_EQ(tex, texWritten);
    EXPECT_EQ(globals->volume, 80);
    EXPECT_EQ(globals->loads, 1);
}

TEST_F(EngineConfigTest, TextureSectionKeepsAllFiveKeysAndTheAllOnesTickCount) {
    // All-ones means "start the texture clock at the system tick count"; it must come back as
    // all-ones, not clamped to the largest signed value.
    Orvex::TextureInitParams& tex = engine->getTextureInitParams();
    tex = Orvex::TextureInitParams{};
    ASSERT_TRUE(engine->saveConfig(path));
    XMLNode root;
    ASSERT_TRUE(root.load(path, 1));
    XMLNode const* section = root.getChild(L"ENGINE_PARAMS")->getChild(L"TEXINITPARAMS");
    ASSERT_NE(section, nullptr);
    std::vector<std::wstring> names;
    for (Orvex::u32 i = 0; i < section->getAttributeCount(); ++i) names.push_back(section->getAttributeAt(i)->getName());
    EXPECT_EQ(names, (std::vector<std::wstring>{L"SUSPEND_ON_TEX_CREATE", L"SUSPEND_ON_TEX_LOAD", L"OVERRIDE_AUTO_SUSPEND",
                                                L"OVERRIDE_AUTO_SUSPEND_TIME", L"ACTUAL_TICKCOUNT"}));
    tex = {true, true, true, 1, 0};
    ASSERT_TRUE(engine->loadConfig(path));
    EXPECT_EQ(tex, Orvex::TextureInitParams{});

    // A section holding only some keys changes only those.
    testsupport::writeFile(hostFile,
                           "<MyEngineParams><ENGINE_PARAMS><TEXINITPARAMS OVERRIDE_AUTO_SUSPEND_TIME=\"250\" "
                           "ACTUAL_TICKCOUNT=\"0\"/></ENGINE_PARAMS></MyEngineParams>");
    tex.suspendOnTexCreate = true;
    ASSERT_TRUE(engine->loadConfig(path));
    EXPECT_EQ(tex, (Orvex::TextureInitParams{false, true, false, 250, 0}));
}

TEST_F(EngineConfigTest, MissingEmptyOrGarbledFilesKeepTheDefaultsWithOneLogLine) {
    Orvex::D3DInitParams& d3d = D3DInterface::getInstance().getInitParams();
    d3d.displayMode.Width = 1920;
    d3d.displayMode.Height = 1080;
    for (char const* content : {"<missing>", "", "\r\n \t\r\n", "\x01\x02 not a settings file \xff\xfe at all",
                                "<OTHER_ROOT><ENGINE_PARAMS/></OTHER_ROOT>"}) {
        if (std::string(content) != "<missing>") testsupport::writeFile(hostFile, content);
        logtest::LogWatch log;
        EXPECT_FALSE(engine->loadConfig(path)) << content;
        EXPECT_EQ(log.lines().size(), 1u) << content;
    }
    EXPECT_EQ(d3d.displayMode.Width, 1920u);
    EXPECT_EQ(globals->loads, 0);

    // A truncated file keeps what was read and the defaults for the rest.
    testsupport::writeFile(hostFile, "<MyEngineParams>\r\n<ENGINE_PARAMS>\r\n<D3DINITPARAMS WIDTH=\"1024\" HEI");
    EXPECT_TRUE(engine->loadConfig(path));
    EXPECT_EQ(d3d.displayMode.Width, 1024u);
    EXPECT_EQ(d3d.displayMode.Height, 1080u);
    EXPECT_EQ(globals->loads, 1);  // without "API_PARAMS" the globals still get their (empty) section
}

// A FIFO, a link to a device or a folder as the settings file (never opened: the start would wait
// on a FIFO for ever), or a file larger than a property file may be (refused unread): the
// defaults, with one error line saying what stands there and that it is kept aside under the next
// ".bad" number, moved as it is, so the save at the end writes a file of its own. Where it cannot
// be kept (every number taken), the line says so and the save leaves it.
TEST_F(EngineConfigTest, AFileThatCannotBeReadIsKeptAsideWithOneErrorLine) {
    Orvex::D3DInitParams& d3d = D3DInterface::getInstance().getInitParams();
    d3d.displayMode.Width = 1920;
    Orvex::u64 const tooLarge = Orvex::File::kMaxTextFileBytes + 1;
    testsupport::writeFile(folder / "config.cfg.bad1", "kept before");
    struct {
        char const* what;
        std::wstring why;
    } const cases[] = {
        {"fifo", L"cannot be read (a FIFO, not a regular file)"},
        {"device", L"cannot be read (a character device, not a regular file)"},
        {"folder", L"cannot be read (Is a directory)"},
        {"too large", L"is 16777217 bytes, more than the 16777216 such a file may have; it is not read"},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.what);
        std::string const what = c.what;
        std::filesystem::path const kept = folder / ("config.cfg.bad" + std::to_string(&c - cases + 2));
        std::unique_ptr<testsupport::FifoInPlace> fifo;
        if (what == "fifo") fifo = std::make_unique<testsupport::FifoInPlace>(hostFile);
        if (what == "device") std::filesystem::create_symlink("/dev/null", hostFile);
        if (what == "folder") std::filesystem::create_directory(hostFile);
        if (what == "too large") {
            testsupport::writeFile(hostFile, "<MyEngineParams>");
            std::filesystem::resize_file(hostFile, tooLarge);
        }
        logtest::LogWatch log;
        EXPECT_FALSE(engine->loadConfig(path));
        ASSERT_EQ(log.lines().size(), 1u);
        EXPECT_EQ(log.lines()[0], L"ERROR Settings file \"" + path + L"\" " + c.why + L"; it is kept as \"" +
                                      port::windowsPath(kept.string()) + L"\"; default settings are used");
        EXPECT_EQ(d3d.displayMode.Width, 1920u);
        EXPECT_EQ(globals->loads, 0);
        EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(hostFile)));
        if (what == "fifo") EXPECT_TRUE(std::filesystem::is_fifo(kept));
        if (what == "device") EXPECT_EQ(std::filesystem::read_symlink(kept), "/dev/null");
        if (what == "folder") EXPECT_TRUE(std::filesystem::is_directory(kept));
        if (what == "too large") EXPECT_EQ(std::filesystem::file_size(kept), tooLarge);
        EXPECT_TRUE(engine->saveConfig(path));
        EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(hostFile)));
        std::filesystem::remove(hostFile);
    }
    EXPECT_EQ(testsupport::readFile(folder / "config.cfg.bad1"), "kept before");

    // No number free: it stays, and the save leaves it.
    for (int i = 6; i <= Orvex::kMaxKeptAside; ++i) testsupport::writeFile(folder / ("config.cfg.bad" + std::to_string(i)), "");
    std::filesystem::create_directory(hostFile);
    logtest::LogWatch log;
    EXPECT_FALSE(engine->loadConfig(path));
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_EQ(log.lines()[0], L"ERROR Settings file \"" + path + L"\" cannot be read (Is a directory); it cannot be kept "
                              L"aside (\".bad1\" to \".bad1000\" are all taken), so it is not written over; default "
                              L"settings are used");
    EXPECT_FALSE(engine->saveConfig(path));
    EXPECT_TRUE(std::filesystem::is_directory(hostFile));
    // A later read of the file lets saves write it again.
    std::filesystem::remove(hostFile);
    engine->loadConfig(path);
    EXPECT_TRUE(engine->saveConfig(path));
}

// A file that does not read whole gives what was read before the cut, or before the parse stopped
// at the tree's budget (a file of many tiny elements); the save at the end would write over the
// rest, so it first keeps the file aside under the next ".bad" number, with one line, as the
// profile file is kept. (Before, the file was written over and what it held beyond was gone.)
TEST_F(EngineConfigTest, AFileReadInPartIsKeptAsideByTheSaveThatWritesOverIt) {
    std::string const head = "<MyEngineParams><ENGINE_PARAMS><D3DINITPARAMS WIDTH=\"1024\"/></ENGINE_PARAMS>"
                             "<API_PARAMS VOLUME=\"7\">";
    std::string dense = head;
    std::size_t const elements = XMLNode::kMaxTreeBytes / sizeof(XMLNode) + 1;
    dense.reserve(head.size() + 4 * elements + 64);
    for (std::size_t i = 0; i < elements; ++i) dense += "<A/>";
    dense += "</API_PARAMS></MyEngineParams>";
    ASSERT_LT(dense.size(), Orvex::File::kMaxTextFileBytes);
    struct {
        char const* what;
        std::string text;
    } const cases[] = {{"dense", std::move(dense)}, {"cut", head + "<A"}};
    testsupport::writeFile(folder / "config.cfg.bad1", "kept before");
    for (auto const& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::path const kept = folder / ("config.cfg.bad" + std::to_string(&c - cases + 2));
        testsupport::writeFile(hostFile, c.text);
        globals->volume = 50;
        ASSERT_TRUE(engine->loadConfig(path));
        EXPECT_EQ(D3DInterface::getInstance().getInitParams().displayMode.Width, 1024u);
        EXPECT_EQ(globals->volume, 7);
        logtest::LogWatch log;
        ASSERT_TRUE(engine->saveConfig(path));
        EXPECT_EQ(log.lines(), std::vector<std::wstring>{L"ERROR Settings file \"" + path + L"\" does not read "
                                                         L"completely; it is kept as \"" +
                                                         port::windowsPath(kept.string()) + L"\""});
        EXPECT_EQ(std::filesystem::file_size(kept), c.text.size());
        EXPECT_TRUE(testsupport::readFile(kept) == c.text);
        XMLNode written;
        EXPECT_EQ(written.loadChecked(path, 1), XMLNode::ReadResult::kComplete);
        // Written whole, it is kept no more.
        ASSERT_TRUE(engine->loadConfig(path));
        ASSERT_TRUE(engine->saveConfig(path));
        EXPECT_FALSE(std::filesystem::exists(folder / ("config.cfg.bad" + std::to_string(&c - cases + 3))));
    }
    EXPECT_EQ(testsupport::readFile(folder / "config.cfg.bad1"), "kept before");
}

TEST_F(EngineConfigTest, FailedWriteLeavesTheOldFileIntact) {
    globals->volume = 33;
    ASSERT_TRUE(engine->saveConfig(path));
    std::string const before = testsupport::readFile(hostFile);

    // No room for the file beside the target.
    globals->volume = 99;
    testsupport::withRoom(1, [&] { EXPECT_FALSE(engine->saveConfig(path)); });
    EXPECT_EQ(testsupport::readFile(hostFile), before);
    EXPECT_EQ(testsupport::savesLeftBeside(hostFile), std::vector<std::string>{});

    ASSERT_TRUE(engine->saveConfig(path));
    EXPECT_NE(testsupport::readFile(hostFile), before);
    EXPECT_EQ(testsupport::savesLeftBeside(hostFile), std::vector<std::string>{});

    // Without user globals the file still has an "API_PARAMS" section and reads back.
    engine->setUserGlobals(nullptr);
    ASSERT_TRUE(engine->saveConfig(path));
    XMLNode root;
    ASSERT_TRUE(root.load(path, 1));
    EXPECT_NE(root.getChild(L"API_PARAMS"), nullptr);
    EXPECT_TRUE(engine->loadConfig(path));
}

}  // namespace
