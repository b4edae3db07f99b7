// Windows, cursor counting, message boxes without a display, the shell refusal in tests, and a
// real window on an X display when one is available.
#include "port/win32/win32_sdl.h"
#include "port/win32/win32_text.h"
#include "port/win32/windows.h"
#include "tests/support/PortLogCapture.h"
#include "tests/support/PrivateDisplay.h"
#include "tests/support/SdlEvents.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

std::vector<std::pair<UINT, LPARAM>> g_sent;

LRESULT proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    g_sent.emplace_back(message, lParam);
    if (message == WM_CREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT refusingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) return -1;
    return DefWindowProcW(window, message, wParam, lParam);
}

void registerOnce() {
    static bool done = false;
    if (done) return;
    WNDCLASSEXW c{};
    c.cbSize = sizeof(c);
    c.lpfnWndProc = proc;
    c.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    c.lpszClassName = L"WindowTest";
    ASSERT_NE(RegisterClassExW(&c), 0);
    EXPECT_EQ(RegisterClassExW(&c), 0);  // already registered
    c.lpfnWndProc = refusingProc;
    c.lpszClassName = L"Refusing";
    ASSERT_NE(RegisterClassExW(&c), 0);
    done = true;
}

void drain() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

TEST(WindowTest, CreateSizeTextAndUserData) {
    registerOnce();
    int cookie = 5;
    HWND window = CreateWindowExW(0, L"windowtest", L"Titel ä", WS_POPUP, 10, 20, 640, 480, nullptr, nullptr, nullptr,
                                  &cookie);  // class names compare without case
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(GetWindowLongPtrW(window, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&cookie));
    RECT rc{};
    ASSERT_TRUE(GetClientRect(window, &rc));
    EXPECT_EQ(rc.right, 640);
    EXPECT_EQ(rc.bottom, 480);
    wchar_t title[32];
    EXPECT_EQ(GetWindowTextW(window, title, 32), 7);
    EXPECT_EQ(std::wstring(title), L"Titel ä");
    SetWindowTextW(window, L"Neu");
    EXPECT_EQ(GetWindowTextW(window, title, 3), 2);  // truncated to the buffer
    EXPECT_EQ(std::wstring(title), L"Ne");

    g_sent.clear();
    ASSERT_TRUE(SetWindowPos(window, HWND_TOP, 0, 0, 800, 600, SWP_NOMOVE | SWP_NOZORDER));
    bool sized = false;
    for (auto const& [message, lParam] : g_sent)
        if (message == WM_SIZE && LOWORD(lParam) == 800 && HIWORD(lParam) == 600) sized = true;
    EXPECT_TRUE(sized);
    GetClientRect(window, &rc);
    EXPECT_EQ(rc.right, 800);
    EXPECT_EQ(port::win32::externalResizeCount(window), 0u);

    POINT p{5, 6};
    ClientToScreen(window, &p);
    EXPECT_EQ(p.x, 15);
    EXPECT_EQ(p.y, 26);
    ScreenToClient(window, &p);
    EXPECT_EQ(p.x, 5);

    EXPECT_FALSE(GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE);
    ShowWindow(window, SW_SHOW);
    EXPECT_TRUE(GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE);
    EXPECT_TRUE(DestroyWindow(window));
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(DestroyWindow(window));
    drain();
    // A procedure refusing WM_CREATE and an unknown class give no window.
    EXPECT_EQ(CreateWindowExW(0, L"Refusing", L"x", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr), nullptr);
    EXPECT_EQ(CreateWindowExW(0, L"Unknown", L"x", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr), nullptr);
}

TEST(WindowTest, ExternalResizeIsReportedAndCounted) {
    registerOnce();
    HWND window = CreateWindowExW(0, L"WindowTest", L"x", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                                  nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    g_sent.clear();
    testsupport::pushWindowEvent(SDL_GetWindowID(port::win32::sdlWindow(window)), SDL_WINDOWEVENT_SIZE_CHANGED, 400, 250);
    drain();
    ASSERT_FALSE(g_sent.empty());
    EXPECT_EQ(g_sent.back().first, static_cast<UINT>(WM_SIZE));
    EXPECT_EQ(LOWORD(g_sent.back().second), 400);
    EXPECT_EQ(port::win32::externalResizeCount(window), 1u);
    DestroyWindow(window);
    drain();
}

TEST(WindowTest, DestroyedWindowStaysWhileADeviceHoldsIt) {
    registerOnce();
    HWND window = CreateWindowExW(0, L"WindowTest", L"x", 0, 0, 0, 64, 64, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    port::win32::retainWindow(window);
    DestroyWindow(window);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_NE(port::win32::sdlWindow(window), nullptr);
    port::win32::releaseWindow(window);
    EXPECT_EQ(port::win32::sdlWindow(window), nullptr);
    drain();
}

TEST(WindowTest, ShowCursorCountsAsWindowsDoes) {
    for (auto [show, count] : {std::pair{FALSE, -1}, {FALSE, -2}, {TRUE, -1}, {TRUE, 0}, {TRUE, 1}, {FALSE, 0}})
        EXPECT_EQ(ShowCursor(show), count);
    SetCursorPos(321, 123);
    POINT p{};
    GetCursorPos(&p);
    EXPECT_EQ(p.x, 321);
    EXPECT_EQ(p.y, 123);
}

TEST(WindowTest, MessageBoxWithoutDisplayLogsAndConfirms) {
    testsupport::PortLogCapture log;
    EXPECT_EQ(MessageBoxW(nullptr, L"createWindow() schlug fehl", L"Fehler!", MB_ICONERROR), IDOK);
    EXPECT_EQ(MessageBoxW(nullptr, L"Sicher?", L"Frage", MB_YESNO), IDYES);
    std::vector<std::wstring> const lines = log.taken();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0].find(L"Fehler!"), std::wstring::npos);
    EXPECT_NE(lines[0].find(L"createWindow() schlug fehl"), std::wstring::npos);
}

// A message box's text broken into lines at blanks, as a Windows box breaks it (SDL's box shows
// each line whole: the lock file's message ran 230 characters off a 1024-pixel screen).
TEST(WindowTest, MessageBoxTextIsBrokenIntoLinesAtBlanks) {
    struct {
        std::wstring text, lines;
    } const cases[] = {
        {L"", L""},
        {L"kurz", L"kurz"},
        {L"eins zwei drei", L"eins zwei\ndrei"},
        {L"eins zwei\ndrei vier", L"eins zwei\ndrei vier"},
        {L"ein-sehr-langes-Wort und mehr", L"ein-sehr-langes-Wort\nund mehr"},
        {L"a b c d e f g h i j", L"a b c d e\nf g h i j"},
    };
    for (auto const& c : cases) EXPECT_EQ(port::wrapLines(c.text, 9), c.lines) << port::toUtf8(c.text);
}

TEST(WindowTest, ShellExecuteIsRefusedInTests) {
    testsupport::PortLogCapture log;
    HINSTANCE result = ShellExecuteW(nullptr, L"open", L"https://example.org/", nullptr, nullptr, SW_SHOW);
    EXPECT_LE(reinterpret_cast<intptr_t>(result), 32);
    EXPECT_EQ(log.taken().size(), 1u);
    EXPECT_EQ(reinterpret_cast<intptr_t>(ShellExecuteW(nullptr, L"open", L"C:\\does\\not\\exist", nullptr, nullptr, 1)),
              SE_ERR_FNF);
}

// The child part of RealWindowOnDisplay: runs in a fresh process on the X display.
TEST(WindowTest, RealWindowChild) {
    if (!std::getenv("ORVEX_REAL_WINDOW_CHILD")) GTEST_SKIP() << "runs only as the child of RealWindowOnDisplay";
    registerOnce();
    HWND window = CreateWindowExW(0, L"WindowTest", L"Echtes Fenster", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 320,
                                  200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    ASSERT_STREQ(SDL_GetCurrentVideoDriver(), "x11");
    drain();
    g_sent.clear();
    // A close request through the window system's own path.
    testsupport::pushWindowEvent(SDL_GetWindowID(port::win32::sdlWindow(window)), SDL_WINDOWEVENT_CLOSE);
    drain();
    ASSERT_FALSE(g_sent.empty());
    EXPECT_EQ(g_sent.front().first, static_cast<UINT>(WM_CLOSE));
    EXPECT_FALSE(IsWindow(window));
}

TEST(WindowTest, RealWindowOnDisplay) {
    char const* display = std::getenv("DISPLAY");
    if (!display || !*display) GTEST_SKIP() << "no X display (run under xvfb-run to include this test)";
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        setenv("SDL_VIDEODRIVER", "x11", 1);
        setenv("ORVEX_REAL_WINDOW_CHILD", "1", 1);
        testsupport::leaveShard();
        setenv("ORVEX_NO_DIALOGS", "1", 1);
        execl("/proc/self/exe", "test_port_win32", "--gtest_filter=WindowTest.RealWindowChild", static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

// The X server going away: the program ends at once with code 1, and the exit-time destructors,
// which would tear down windows and GL over the dead connection and wait on it for ever, do not
// run (an exit handler standing for them would end the child with code 3).
TEST(WindowTest, DisplayLossChild) {
    char const* server = std::getenv("ORVEX_DISPLAY_LOSS_SERVER");
    if (!server) GTEST_SKIP() << "runs only as the child of ALostDisplayEndsTheProgramAtOnce";
    registerOnce();
    HWND window = CreateWindowExW(0, L"WindowTest", L"Fenster", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 160, 120,
                                  nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    drain();
    std::atexit([] { _exit(3); });
    kill(static_cast<pid_t>(std::atoi(server)), SIGKILL);
    for (int i = 0; i < 200; ++i) {  // the first request on the dead connection ends the program
        DestroyWindow(window);
        drain();
        usleep(10000);
    }
    _exit(0);
}

TEST(WindowTest, ALostDisplayEndsTheProgramAtOnce) {
    if (access(testsupport::kXvfb, X_OK) != 0) GTEST_SKIP() << "no Xvfb";
    testsupport::PrivateDisplay display;
    ASSERT_TRUE(display.start(320, 240)) << "Xvfb did not start";
    int const code = testsupport::runChildOnDisplay(display.name(), "WindowTest.DisplayLossChild",
                                                    {{"ORVEX_DISPLAY_LOSS_SERVER", std::to_string(display.pid())}});
    display.stop();
    EXPECT_EQ(code, 1) << "-1: the program went on after its display was lost, or ended by a signal";
}

// Xvfb writes its display number and the newline apart; the reader waits for the newline, so the
// server's second write finds the pipe open (before, a read that came back with the number
// alone closed it, and under load the server died: "Cannot write display number to fd").
TEST(WindowTest, TheDisplayNumberIsReadToItsNewline) {
    struct Row {
        char const* what;
        std::vector<std::string> writes;
        std::string number;
    } const rows[] = {
        {"number and newline apart", {"12", "\n"}, "12"},
        {"digit by digit", {"1", "0", "\n"}, "10"},
        {"at once", {"7\n"}, "7"},
        {"no newline before the end", {"5"}, ""},
        {"nothing", {}, ""},
        {"not a number", {"x\n"}, ""},
    };
    std::signal(SIGPIPE, SIG_IGN);
    for (Row const& row : rows) {
        SCOPED_TRACE(row.what);
        int pipeFds[2];
        ASSERT_EQ(pipe(pipeFds), 0);
        bool allWritten = true;
        std::thread writer([&] {
            for (std::string const& part : row.writes) {
                usleep(20000);
                allWritten = allWritten && write(pipeFds[1], part.data(), part.size()) == ssize_t(part.size());
            }
            close(pipeFds[1]);
        });
        std::string const number = testsupport::readDisplayNumber(pipeFds[0]);
        close(pipeFds[0]);  // as PrivateDisplay::start does
        writer.join();
        EXPECT_EQ(number, row.number);
        if (!row.number.empty()) EXPECT_TRUE(allWritten);
    }
    std::signal(SIGPIPE, SIG_DFL);
}

}  // namespace
