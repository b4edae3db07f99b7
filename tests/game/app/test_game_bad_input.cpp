// Every file the game reads at start-up is untrusted: each of them missing, cut in half or with
// its numbers overflowing, in turn, on a copy of the game's data. The game object is still built
// whole and reaches the main menu (unless the file is the one that defines the menus), draws
// its frames, and the log names the file (with the line where a file was cut). Without a screen
// file (the menu file or a GUI file it names) it would stand at a blank screen: it names the
// file in an error line and ends instead.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cwctype>
#include <filesystem>
#include <string>

#include "engine/core/Logger.h"
#include "engine/core/engine/OrvexEngine.h"
#include "engine/gui/GUIMenuManagerN.h"
#include "engine/gui/GUIMenuN.h"
#include "port/win32/win32_text.h"
#include "tests/game/app/GameFixture.h"
#include "tests/support/TestSupport.h"

namespace {

namespace fs = std::filesystem;
using apptest::GameFixture;

enum class Damage { Missing, Cut, HugeNumbers };

struct BadFile {
    char const* path;  // below the top of the game's tree
    Damage damage;
};

// The menu file and the GUI files it names.
bool isScreenFile(std::string const& path) {
    for (char const* screen : {"data/GUI/menus.mnu", "data/GUI/Vorlagen.gui", "data/GUI/Startmenu.gui",
                               "data/GUI/Hauptmenu.gui", "data/GUI/Beenden.gui", "data/GUI/Ingame.gui", "data/GUI/Shop.gui"})
        if (path == screen) return true;
    return false;
}

std::string damageName(Damage d) {
    switch (d) {
    case Damage::Missing: return "missing";
    case Damage::Cut: return "cut";
    case Damage::HugeNumbers: return "huge_numbers";
    }
    return "";
}

// Every run of digits made a number no 32-bit field holds.
std::string withHugeNumbers(std::string const& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        if (std::isdigit(static_cast<unsigned char>(text[i]))) {
            while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
            out += "4294967296";
        } else {
            out += text[i++];
        }
    }
    return out;
}

std::wstring lower(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return text;
}

class GameBadInputTest : public GameFixture, public ::testing::WithParamInterface<BadFile> {
protected:
    void SetUp() override {
        stage = testsupport::makeTempDir("bad_input");
        fs::copy(testsupport::sourceDir() / "data", stage / "data", fs::copy_options::recursive);
        fs::path const file = stage / GetParam().path;
        ASSERT_TRUE(fs::exists(file)) << GetParam().path;
        std::string const bytes = testsupport::readFile(file);
        switch (GetParam().damage) {
        case Damage::Missing: fs::remove(file); break;
        case Damage::Cut: testsupport::writeFile(file, bytes.substr(0, bytes.size() / 2)); break;
        case Damage::HugeNumbers: testsupport::writeFile(file, withHugeNumbers(bytes)); break;
        }
        Orvex::logPlain(mark);
        endsAtStart = GetParam().damage == Damage::Missing && isScreenFile(GetParam().path);
        expectConstructed = !endsAtStart;
        startOn(stage, 640, 480);
    }
    void TearDown() override {
        GameFixture::TearDown();
        fs::remove_all(stage);
    }
    // The log lines written since the set-up began.
    std::vector<std::wstring> linesSinceStart() const {
        auto const all = Orvex::Logger::getInstance().recentLines();
        for (std::size_t i = all.size(); i-- > 0;)
            if (all[i] == mark) return std::vector<std::wstring>(all.begin() + static_cast<long>(i) + 1, all.end());
        return {all.begin(), all.end()};
    }

    fs::path stage;
    bool endsAtStart = false;
    std::wstring const mark = L"-- start-up with a bad file";
};

TEST_P(GameBadInputTest, StartsAndReachesTheMainMenu) {
    BadFile const& bad = GetParam();
    if (endsAtStart) {
        std::wstring windowsName = port::fromUtf8(bad.path);
        std::replace(windowsName.begin(), windowsName.end(), L'/', L'\\');
        bool named = false;
        for (std::wstring const& line : linesSinceStart())
            named = named || (line.rfind(L"ERROR ", 0) == 0 && line.find(windowsName) != std::wstring::npos);
        EXPECT_TRUE(named) << bad.path;
        EXPECT_EQ(Orvex::OrvexEngine::getInstance()->run(), -1);
        return;
    }
    ASSERT_TRUE(game->isFullyConstructed());
    bool const holdsTheMenus = std::string(bad.path) == "data/GUI/menus.mnu";
    Orvex::GUIMenuManagerN& menus = Orvex::GUIMenuManagerN::instance();
    if (!holdsTheMenus || bad.damage == Damage::HugeNumbers) {
        ASSERT_TRUE(menus.activateMenu(L"HAUPTMENU", -1.0));
    } else if (menus.findMenu(L"HAUPTMENU")) {
        menus.activateMenu(L"HAUPTMENU", -1.0);
    }
    for (int i = 0; i < 30; ++i) {
        step(1.0 / 60);
        game->draw();
    }
    if (!holdsTheMenus) EXPECT_TRUE(menus.findMenu(L"HAUPTMENU")->isActive());

    // The file is named in the log: not found, or damaged at a line.
    std::wstring const name = lower(port::fromUtf8(fs::path(bad.path).filename().string()));
    auto const lines = linesSinceStart();
    bool named = false;
    for (std::wstring const& line : lines) {
        std::wstring const l = lower(line);
        if (l.find(name) == std::wstring::npos) continue;
        if (bad.damage == Damage::Missing && l.find(L"not found") != std::wstring::npos) named = true;
        if (bad.damage == Damage::Cut && l.find(L"line") != std::wstring::npos) named = true;
    }
    if (bad.damage != Damage::HugeNumbers) EXPECT_TRUE(named) << bad.path;
}

std::vector<BadFile> badFiles() {
    char const* const files[] = {
        "data/FX/effecte.fxf",     "data/tastaturlayout.lay",  "data/GUI/renderpass.rp",  "data/GUI/Rand.gui",
        "data/GUI/Loadscreen.gui", "data/texte.lng",           "data/font.fnt",           "data/GUI/menus.mnu",
        "data/GUI/Vorlagen.gui",   "data/GUI/Startmenu.gui",   "data/GUI/Hauptmenu.gui",  "data/GUI/Beenden.gui",
        "data/GUI/Ingame.gui",     "data/tutorial.tut",        "data/exttutorial.tut",    "data/loctutorials.tut",
        "data/Menu/mouse.ani",     "data/Menu/dot.tex",        "data/Menu/menu.tex",      "data/Menu/rects.tex",
        "data/Styles.sty",         "data/Level/Partikel.par",  "data/Partikel.par",       "data/FlySplines.fsp",
        "data/Story/Story.str",    "data/Games/minigames.min", "data/achivement.acv",     "data/Sounds/sounds.snd",
        "data/GUI/Shop.gui",       "data/Menu/ingame.tex",     "data/Menu/ingame.ani",    "data/Menu/shop.tex",
    };
    std::vector<BadFile> out;
    for (char const* file : files)
        for (Damage d : {Damage::Missing, Damage::Cut, Damage::HugeNumbers}) out.push_back({file, d});
    return out;
}

INSTANTIATE_TEST_SUITE_P(StartFiles, GameBadInputTest, ::testing::ValuesIn(badFiles()),
                         [](::testing::TestParamInfo<BadFile> const& info) {
                             std::string name = std::string(info.param.path) + "_" + damageName(info.param.damage);
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

}  // namespace
