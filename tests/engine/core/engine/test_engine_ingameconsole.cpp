// The in-game console's input: opening and closing, typing through the keyboard layout, running
// a line (which can end the main loop), completion, history, and the game's key queries going
// quiet while it is open.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "engine/core/Console.h"
#include "engine/core/engine/OrvexEngineConsole.h"
#include "engine/core/XMLNode.h"
#include "engine/platform/DirectInputInterface.h"
#include "engine/platform/TastaturLayout.h"
#include "port/dinput/dinput_keys.h"
#include "tests/engine/core/engine/EngineFixture.h"

namespace {

using Orvex::IngameConsole;
using Orvex::KeyState;
using Orvex::u8;

// The keys needed to type console lines.
constexpr char kLayout[] =
    "<TASTATURLAYOUTS><LAYOUT NAME=\"TEST\" DEFAULT=\"1\">"
    "<KEY CODE=\"18\" NAME=\"E\" NORMAL=\"e\" SHIFT=\"E\" TYP=\"LETTER\"/>"
    "<KEY CODE=\"45\" NAME=\"X\" NORMAL=\"x\" SHIFT=\"X\" TYP=\"LETTER\"/>"
    "<KEY CODE=\"23\" NAME=\"I\" NORMAL=\"i\" SHIFT=\"I\" TYP=\"LETTER\"/>"
    "<KEY CODE=\"20\" NAME=\"T\" NORMAL=\"t\" SHIFT=\"T\" TYP=\"LETTER\"/>"
    "<KEY CODE=\"12\" NAME=\"MINUS\" NORMAL=\"-\" SHIFT=\"_\" TYP=\"SATZ\"/>"
    "<KEY CODE=\"57\" NAME=\"SPACE\" NORMAL=\" \" SHIFT=\" \" TYP=\"SATZ\"/>"
    "<KEY CODE=\"4\" NAME=\"3\" NORMAL=\"3\" SHIFT=\"#35\" TYP=\"NUMBER\"/>"
    "<KEY CODE=\"14\" NAME=\"BACK\" TYP=\"BACKSPACE\"/>"
    "</LAYOUT></TASTATURLAYOUTS>";

struct Stroke {
    u8 code;
    bool shift;
};

// "E_Exit 3" on the test layout.
std::vector<Stroke> const kExitThree = {{DIK_E, true},  {DIK_MINUS, true}, {DIK_E, true}, {DIK_X, false},
                                        {DIK_I, false}, {DIK_T, false},    {DIK_SPACE, false}, {DIK_3, false}};

class IngameConsoleTest : public enginetest::EngineFixture {
protected:
    void SetUp() override {
        EngineFixture::SetUp();
        Orvex::XMLNode layouts;
        ASSERT_TRUE(layouts.loadFromText(toWide(kLayout)));
        Orvex::TastaturLayoutManager::getInstance().load(layouts);
        console = engine->getIngameConsole();
        console->setOpen(false);
        console->setInput(L"");
    }
    void TearDown() override {
        console->setOpen(false);
        engine->parseCommandLine("-ENABLE_INGAME_CONSOLE 0");
        EngineFixture::TearDown();
    }

    static std::wstring toWide(char const* text) { return std::wstring(text, text + std::strlen(text)); }

    // One key press as the input system reports it.
    void press(u8 code, bool shift = false) {
        KeyState state;
        state.setKeyDown(DIK_LSHIFT, shift);
        state.setKeyDown(code, true);
        state.addPressed(code);
        Orvex::DirectInputInterface::getInstance().keyPressedSignal.emit(state, code);
    }
    void type(std::vector<Stroke> const& strokes) {
        for (Stroke const& stroke : strokes) press(stroke.code, stroke.shift);
    }

    IngameConsole* console = nullptr;
};

TEST_F(IngameConsoleTest, ExitTypedIntoTheConsoleEndsRunWithItsCode) {
    press(IngameConsole::kToggleKey);  // ignored unless enabled
    EXPECT_FALSE(console->isOpen());
    engine->parseCommandLine("-ENABLE_INGAME_CONSOLE 1");
    enginetest::Counter ticks;
    engine->tickSignal.connect(&ticks, &enginetest::Counter::hit);
    ticks.onHit = [&](int n) {
        if (n != 5) return;
        press(IngameConsole::kToggleKey);
        type(kExitThree);
        EXPECT_EQ(console->getInput(), L"E_Exit 3");
        press(DIK_RETURN);
    };
    EXPECT_EQ(engine->run(), 3);
    EXPECT_EQ(ticks.count, 5);
    EXPECT_EQ(console->getInput(), L"");
    ASSERT_FALSE(console->getHistory().empty());
    EXPECT_EQ(console->getHistory().back(), L"E_Exit 3");
}

TEST_F(IngameConsoleTest, OpenConsoleSilencesTheGamesKeyQueries) {
    KeyState state;
    state.setKeyDown(DIK_E, true);
    state.addPressed(DIK_E);
    EXPECT_TRUE(state.areKeysDown({DIK_E}, true));

    EXPECT_TRUE(console->onKey(state, IngameConsole::kToggleKey));
    EXPECT_TRUE(console->isOpen());
    EXPECT_TRUE(Orvex::Console::getInstance().isOpen());
    EXPECT_FALSE(state.areKeysDown({DIK_E}, true));
    EXPECT_EQ(state.countKeysPressed({DIK_E}), 0u);
    EXPECT_TRUE(state.areKeysDown({DIK_E}, true, true));

    EXPECT_TRUE(console->onKey(state, DIK_ESCAPE));
    EXPECT_FALSE(console->isOpen());
    EXPECT_TRUE(state.areKeysDown({DIK_E}, true));
    // Closed, it leaves other keys to the game.
    EXPECT_FALSE(console->onKey(state, DIK_E));
}

TEST_F(IngameConsoleTest, EditingCompletionAndHistory) {
    KeyState state;
    console->setOpen(true);
    console->onKey(state, DIK_E);
    console->onKey(state, DIK_X);
    console->onKey(state, DIK_BACK);
    EXPECT_EQ(console->getInput(), L"e");

    // "e" alone matches several commands: their common beginning "E_" is filled in.
    console->onKey(state, DIK_TAB);
    EXPECT_EQ(console->getInput(), L"E_");
    console->setInput(L"e_ex");
    console->onKey(state, DIK_TAB);
    EXPECT_EQ(console->getInput(), L"E_Exit ");

    console->setInput(L"TIME_Info");
    console->onKey(state, DIK_RETURN);
    console->setInput(L"E_Help TIME_");
    console->onKey(state, DIK_NUMPADENTER);
    EXPECT_EQ(console->getInput(), L"");

    console->onKey(state, DIK_UP);
    EXPECT_EQ(console->getInput(), L"E_Help TIME_");
    console->onKey(state, DIK_UP);
    EXPECT_EQ(console->getInput(), L"TIME_Info");
    console->onKey(state, DIK_DOWN);
    EXPECT_EQ(console->getInput(), L"E_Help TIME_");
    console->onKey(state, DIK_DOWN);
    EXPECT_EQ(console->getInput(), L"");

    // The replies reached the log the console shows.
    std::vector<std::wstring> const lines = console->getVisibleLines(8);
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](auto const& l) { return l.find(L"TIME_Pause [0|1]") != l.npos; }));
}

}  // namespace
