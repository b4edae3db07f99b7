// The game's settings object: "API_PARAMS" read and written as it stands (hostile values kept and
// written back), the clamping volume setters, the cursor shown for any setting, the frame
// styles and the nine pieces of a framed panel.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <filesystem>
#include <limits>

#include "engine/core/XMLNode.h"
#include "engine/core/engine/OrvexEngine.h"
#include "engine/platform/MusicManager.h"
#include "engine/platform/SoundManager.h"
#include "game/app/MyGlobals.h"
#include "port/win32/win32_paths.h"
#include "tests/support/TestSupport.h"

namespace {

using Solitaire::MyGlobals;

Orvex::XMLNode parse(std::wstring const& text) {
    Orvex::XMLNode node;
    EXPECT_TRUE(node.loadFromText(text));
    return node;
}

struct SettingsCase {
    char const* what;
    wchar_t const* apiParams;
    float sound;
    float music;
    int cursor;
};

void PrintTo(SettingsCase const& c, std::ostream* out) { *out << c.what; }

class MyGlobalsTest : public ::testing::TestWithParam<SettingsCase> {};

// Every value stays as read, however far outside its range; a missing one keeps its default.
TEST_P(MyGlobalsTest, LoadKeepsValuesAsReadAndSaveWritesThemBack) {
    SettingsCase const& c = GetParam();
    MyGlobals globals;
    Orvex::XMLNode api = parse(c.apiParams);
    EXPECT_TRUE(globals.load(api));
    auto same = [](float actual, float expected) {
        return std::isnan(expected) ? std::isnan(actual) : actual == expected;
    };
    EXPECT_TRUE(same(globals.getSoundVolume(), c.sound)) << globals.getSoundVolume();
    EXPECT_TRUE(same(globals.getMusicVolume(), c.music)) << globals.getMusicVolume();
    EXPECT_EQ(globals.getMouseCursor(), c.cursor);

    Orvex::XMLNode written(L"API_PARAMS");
    EXPECT_TRUE(globals.save(written));
    ASSERT_NE(written.getChild(L"VOLUME"), nullptr);
    ASSERT_NE(written.getAttribute(L"MOUSE_CURSOR"), nullptr);
    ASSERT_NE(written.getChild(L"SOLITAIRE"), nullptr);
    // Written and read again: the same values.
    Orvex::XMLNode reread = parse(written.toText());
    MyGlobals again;
    again.load(reread);
    EXPECT_TRUE(same(again.getSoundVolume(), c.sound)) << again.getSoundVolume();
    EXPECT_TRUE(same(again.getMusicVolume(), c.music)) << again.getMusicVolume();
    EXPECT_EQ(again.getMouseCursor(), c.cursor);
}

float const kNaN = std::numeric_limits<float>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Settings, MyGlobalsTest,
    ::testing::Values(
        SettingsCase{"empty", L"<API_PARAMS/>", 75.0f, 50.0f, 3},
        SettingsCase{"plain", L"<API_PARAMS MOUSE_CURSOR=\"1\"><VOLUME SOUNDVOLUME=\"20\" MUSICVOLUME=\"30\"/></API_PARAMS>",
                     20.0f, 30.0f, 1},
        SettingsCase{"one volume", L"<API_PARAMS><VOLUME MUSICVOLUME=\"10\"/></API_PARAMS>", 75.0f, 10.0f, 3},
        SettingsCase{"above range", L"<API_PARAMS><VOLUME SOUNDVOLUME=\"150\" MUSICVOLUME=\"1e30\"/></API_PARAMS>",
                     150.0f, 1e30f, 3},
        SettingsCase{"below range", L"<API_PARAMS MOUSE_CURSOR=\"-5\"><VOLUME SOUNDVOLUME=\"-0.2\" MUSICVOLUME=\"-5\"/></API_PARAMS>",
                     -0.2f, -5.0f, -5},
        SettingsCase{"not numbers", L"<API_PARAMS MOUSE_CURSOR=\"viele\"><VOLUME SOUNDVOLUME=\"nan\" MUSICVOLUME=\"laut\"/></API_PARAMS>",
                     kNaN, 0.0f, 0},
        SettingsCase{"cursor 99", L"<API_PARAMS MOUSE_CURSOR=\"99\"/>", 75.0f, 50.0f, 99}),
    [](::testing::TestParamInfo<SettingsCase> const& info) {
        std::string name = info.param.what;
        for (char& ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return name;
    });

// The managers get the volumes / 100 when "VOLUME" is read; they clamp what they are handed,
// the settings keep what was read.
TEST(MyGlobals, LoadAppliesVolumesOnlyWithAVolumeElement) {
    Orvex::SoundManager& sounds = Orvex::SoundManager::getInstance();
    Orvex::MusicManager& music = Orvex::MusicManager::getInstance();
    sounds.setVolume(0.5);
    music.setVolume(0.5);
    MyGlobals globals;
    Orvex::XMLNode none = parse(L"<API_PARAMS MOUSE_CURSOR=\"0\"/>");
    globals.load(none);
    EXPECT_DOUBLE_EQ(sounds.getVolume(), 0.5);
    EXPECT_DOUBLE_EQ(music.getVolume(), 0.5);

    Orvex::XMLNode volumes = parse(L"<API_PARAMS><VOLUME SOUNDVOLUME=\"150\" MUSICVOLUME=\"40\"/></API_PARAMS>");
    globals.load(volumes);
    EXPECT_DOUBLE_EQ(sounds.getVolume(), 1.0);
    EXPECT_NEAR(music.getVolume(), 0.4, 1e-6);
    EXPECT_EQ(globals.getSoundVolume(), 150.0f);

    Orvex::XMLNode nan = parse(L"<API_PARAMS><VOLUME SOUNDVOLUME=\"nan\"/></API_PARAMS>");
    globals.load(nan);
    EXPECT_DOUBLE_EQ(sounds.getVolume(), 1.0);  // not finite: the manager keeps its volume
}

TEST(MyGlobals, SettersClampAndApplyBothVolumes) {
    struct {
        float in;
        float stored;
    } const cases[] = {{-5.0f, 0.0f}, {0.0f, 0.0f}, {42.5f, 42.5f}, {100.0f, 100.0f}, {150.0f, 100.0f},
                       {1e30f, 100.0f}, {-std::numeric_limits<float>::infinity(), 0.0f}};
    Orvex::SoundManager& sounds = Orvex::SoundManager::getInstance();
    Orvex::MusicManager& music = Orvex::MusicManager::getInstance();
    for (auto const& c : cases) {
        MyGlobals globals;
        globals.setSoundVolume(20.0f);
        globals.setMusicVolume(c.in);
        EXPECT_EQ(globals.getMusicVolume(), c.stored) << c.in;
        EXPECT_NEAR(music.getVolume(), c.stored / 100.0f, 1e-6) << c.in;
        // The sounds get the sound volume again with every setter.
        EXPECT_NEAR(sounds.getVolume(), 0.2, 1e-6) << c.in;
        globals.setSoundVolume(c.in);
        EXPECT_EQ(globals.getSoundVolume(), c.stored) << c.in;
        EXPECT_NEAR(sounds.getVolume(), c.stored / 100.0f, 1e-6) << c.in;
    }
}

// A setting outside 0 to 3 stays as read but shows as the system arrow: as an index into the
// cursor table it would run past it.
TEST(MyGlobals, CursorOutsideTheModesShowsAsTheSystemArrow) {
    int const cases[][2] = {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 3}, {99, 3}, {-1, 3}, {INT_MIN, 3}, {INT_MAX, 3}};
    for (auto const& c : cases) {
        MyGlobals globals;
        globals.setMouseCursor(c[0]);
        EXPECT_EQ(globals.getShownCursor(), c[1]) << c[0];
        EXPECT_EQ(globals.getMouseCursor(), c[0]);
    }
}

// "SOLITAIRE" is kept whole (attributes, values, children) and written back under its name.
TEST(MyGlobals, SolitaireNodeIsKeptWholeAndReplacedOnTheNextLoad) {
    MyGlobals globals;
    Orvex::XMLNode api = parse(
        L"<API_PARAMS><SOLITAIRE ACTUAL_STYLE=\"Holz\" CARDS_BACK=\"2\">\"|wert|\"<EXTRA A=\"1\"/></SOLITAIRE></API_PARAMS>");
    globals.load(api);
    Orvex::XMLNode written(L"API_PARAMS");
    globals.save(written);
    Orvex::XMLNode const* solitaire = written.getChild(L"SOLITAIRE");
    ASSERT_NE(solitaire, nullptr);
    EXPECT_EQ(solitaire->getAttributeString(L"ACTUAL_STYLE", L""), L"Holz");
    EXPECT_EQ(solitaire->getAttributeInt(L"CARDS_BACK", 0), 2);
    ASSERT_EQ(solitaire->values().size(), 1u);
    EXPECT_NE(solitaire->getChild(L"EXTRA"), nullptr);

    Orvex::XMLNode other = parse(L"<API_PARAMS><SOLITAIRE CARDS_BACK=\"1\"/></API_PARAMS>");
    globals.load(other);
    EXPECT_EQ(globals.getSolitaireNode().getAttribute(L"ACTUAL_STYLE"), nullptr);
    EXPECT_EQ(globals.getSolitaireNode().getAttributeInt(L"CARDS_BACK", 0), 1);
}

// Through the engine's settings file: hostile volumes and cursor come back as they were read,
// and the three entries are there even when the file lacked them.
TEST(MyGlobals, SettingsFileKeepsHostileValuesAcrossARun) {
    std::filesystem::path const folder = testsupport::makeTempDir("globals_config");
    std::wstring const path = port::windowsPath((folder / "config.cfg").string());
    Orvex::OrvexEngine* engine = Orvex::OrvexEngine::getInstance();
    auto* globals = new MyGlobals();
    engine->setUserGlobals(globals);
    testsupport::writeFile(folder / "config.cfg",
                           "<MyEngineParams><ENGINE_PARAMS/><API_PARAMS MOUSE_CURSOR=\"99\">"
                           "<VOLUME SOUNDVOLUME=\"nan\" MUSICVOLUME=\"1e30\"/></API_PARAMS></MyEngineParams>");
    ASSERT_TRUE(engine->loadConfig(path));
    ASSERT_TRUE(engine->saveConfig(path));
    std::string const text = testsupport::readFile(folder / "config.cfg");
    EXPECT_NE(text.find("SOUNDVOLUME=\"nan\""), std::string::npos) << text;
    EXPECT_NE(text.find("MUSICVOLUME=\"1e+30\""), std::string::npos) << text;
    EXPECT_NE(text.find("MOUSE_CURSOR=\"99\""), std::string::npos) << text;
    EXPECT_NE(text.find("<SOLITAIRE"), std::string::npos) << text;

    auto* fresh = new MyGlobals();
    engine->setUserGlobals(fresh);
    ASSERT_TRUE(engine->loadConfig(path));
    EXPECT_TRUE(std::isnan(fresh->getSoundVolume()));
    EXPECT_EQ(fresh->getMusicVolume(), 1e30f);
    EXPECT_EQ(fresh->getMouseCursor(), 99);
    engine->setUserGlobals(nullptr);
}

TEST(MyGlobals, FrameStyleMovesThePiecesByWholeCells) {
    MyGlobals globals;
    globals.loadFrames();  // no device, no "RECTS": the pieces are set all the same
    EXPECT_EQ(globals.getFrameTexture(), nullptr);
    struct {
        int row, column;
        RECT topLeft, centre, bottomRight;
    } const cases[] = {
        {0, 0, {0, 0, 30, 30}, {30, 30, 60, 60}, {60, 60, 90, 90}},
        {1, 2, {200, 100, 230, 130}, {230, 130, 260, 160}, {260, 160, 290, 190}},
        {0, 8, {800, 0, 830, 30}, {830, 30, 860, 60}, {860, 60, 890, 90}},
    };
    auto same = [](RECT const& a, RECT const& b) {
        return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    };
    for (auto const& c : cases) {
        globals.selectFrameStyle(c.row, c.column);
        RECT const* pieces = globals.getCurrentPieces();
        EXPECT_TRUE(same(pieces[0], c.topLeft)) << c.row << " " << c.column;
        EXPECT_TRUE(same(pieces[4], c.centre)) << c.row << " " << c.column;
        EXPECT_TRUE(same(pieces[8], c.bottomRight)) << c.row << " " << c.column;
    }
    // A hostile style moves the pieces off the texture without overflowing.
    globals.selectFrameStyle(INT_MAX, INT_MIN);
}

TEST(MyGlobals, FramePiecesUseAtMostHalfTheSmallerSide) {
    struct {
        RECT rect;
        int border;
        LONG left, innerLeft, innerRight, right, top, innerTop, innerBottom, bottom;
    } const cases[] = {
        // 10 x 40 with border 12: the border becomes 5 (half of 10).
        {{0, 0, 10, 40}, 12, 0, 5, 5, 10, 0, 5, 35, 40},
        {{10, 20, 110, 70}, 10, 10, 20, 100, 110, 20, 30, 60, 70},
        // Corners given the other way round are normalised first.
        {{110, 70, 10, 20}, 10, 10, 20, 100, 110, 20, 30, 60, 70},
        // Border 0 (the pause overlay): everything is the centre piece.
        {{0, 0, 64, 48}, 0, 0, 0, 64, 64, 0, 0, 48, 48},
        // A negative border makes no inside-out pieces.
        {{0, 0, 64, 48}, -8, 0, 0, 64, 64, 0, 0, 48, 48},
        // The whole LONG range: halves computed without overflow.
        {{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, 4, INT32_MIN, INT32_MIN + 4, INT32_MAX - 4, INT32_MAX,
         INT32_MIN, INT32_MIN + 4, INT32_MAX - 4, INT32_MAX},
    };
    for (auto const& c : cases) {
        RECT pieces[MyGlobals::kPieces];
        MyGlobals::framePieces(c.rect, c.border, pieces);
        EXPECT_EQ(pieces[0].left, c.left);
        EXPECT_EQ(pieces[0].right, c.innerLeft);
        EXPECT_EQ(pieces[4].left, c.innerLeft);
        EXPECT_EQ(pieces[4].right, c.innerRight);
        EXPECT_EQ(pieces[8].right, c.right);
        EXPECT_EQ(pieces[0].top, c.top);
        EXPECT_EQ(pieces[4].top, c.innerTop);
        EXPECT_EQ(pieces[4].bottom, c.innerBottom);
        EXPECT_EQ(pieces[8].bottom, c.bottom);
    }
}

}  // namespace
