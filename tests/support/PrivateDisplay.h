// An X server of a test's own (Xvfb, with no window manager) and a child process that runs one
// of the test program's own tests on it with SDL's X11 driver: for what only a real display
// shows, such as the size the X server gives a window, beside the headless rest. scripts/setup.sh
// installs Xvfb.
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/TestSupport.h"

namespace testsupport {

inline constexpr char kXvfb[] = "/usr/bin/Xvfb";

// The display number Xvfb writes to its -displayfd, read up to its newline: the server writes the
// number and the newline apart and dies ("Cannot write display number") when the pipe was closed
// between the two. Empty when the pipe ends first or holds no number.
inline std::string readDisplayNumber(int fd) {
    std::string number;
    char c = 0;
    for (;;) {
        ssize_t const got = read(fd, &c, 1);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return {};
        if (c == '\n') return number;
        if (c < '0' || c > '9' || number.size() >= 8) return {};
        number += c;
    }
}

class PrivateDisplay {
public:
    PrivateDisplay() = default;
    ~PrivateDisplay() { stop(); }
    PrivateDisplay(PrivateDisplay const&) = delete;
    PrivateDisplay& operator=(PrivateDisplay const&) = delete;

    // Starts Xvfb with one screen of the size; false when it cannot (no Xvfb, or it did not say
    // which display it took).
    bool start(int width, int height) {
        if (access(kXvfb, X_OK) != 0) return false;
        int ready[2];
        if (pipe(ready) != 0) return false;
        pid_ = fork();
        if (pid_ < 0) return false;
        if (pid_ == 0) {
            close(ready[0]);
            std::string const fd = std::to_string(ready[1]);
            std::string const screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
            execl(kXvfb, "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp",
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        close(ready[1]);
        std::string const number = readDisplayNumber(ready[0]);
        close(ready[0]);
        if (number.empty()) return false;
        name_ = ":" + number;
        return true;
    }

    void stop() {
        if (pid_ <= 0) return;
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

    std::string const& name() const { return name_; }
    pid_t pid() const { return pid_; }

private:
    pid_t pid_ = -1;
    std::string name_;
};

// Runs the test `filter` of this program in a child process on `display` with SDL's X11 driver,
// the given variables set and no dialogs; waits at most `seconds`. The child's exit code, or -1
// when it did not end in time (it is killed) or ended by a signal.
inline int runChildOnDisplay(std::string const& display, std::string const& filter,
                             std::vector<std::pair<std::string, std::string>> const& variables, int seconds = 30) {
    pid_t const child = fork();
    if (child < 0) return -1;
    if (child == 0) {
        setenv("DISPLAY", display.c_str(), 1);
        setenv("SDL_VIDEODRIVER", "x11", 1);
        setenv("ORVEX_NO_DIALOGS", "1", 1);
        for (auto const& [name, value] : variables) setenv(name.c_str(), value.c_str(), 1);
        leaveShard();
        std::string const argument = "--gtest_filter=" + filter;
        execl("/proc/self/exe", "child", argument.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    pid_t ended = 0;
    for (int i = 0; i < seconds * 10 && ended == 0; ++i) {
        ended = waitpid(child, &status, WNOHANG);
        if (ended == 0) usleep(100000);
    }
    if (ended == 0) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace testsupport
