// Watches a program start as a player sees it, for bench/startup.sh: starts the program, looks at
// the X screen until no pixel has changed for the settle time, and prints one line
//
//     settled <seconds from spawn to the last change> rss_kb <kB then> cpu_cores <while idle>
//
// The screen is read whole (MIT-SHM when the server has it) every kPollMs and compared by a
// hash; the time of the last change counts from just before the program was spawned. Resident
// memory is read once the screen has settled; then the program's CPU time (all its threads)
// is taken over the idle time while the screen is left alone, and the program is ended.
//
//     startup_watch [--settle SECONDS] [--idle SECONDS] [--timeout SECONDS] [--changes 1] -- PROGRAM [ARGS...]
//
// With --changes 1 the time of every change seen goes to standard error ("change <seconds>"), to
// tell the loading frames, the first frame of the start screen and any later change apart; a
// first line "spawn <seconds>" gives the spawn time on the monotonic clock, against which a
// program's own time stamps line up.
//
// Exit code 1 when the program ends early, the screen never settles within the timeout, or
// there is no X display.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <signal.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kPollMs = 10;
constexpr int kExitGraceMs = 3000;

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// The screen's pixels, read whole each time, on a connection of its own.
class ScreenReader {
public:
    ScreenReader() : display_(XOpenDisplay(nullptr)) {
        if (!display_) return;
        root_ = DefaultRootWindow(display_);
        XWindowAttributes attributes{};
        XGetWindowAttributes(display_, root_, &attributes);
        width_ = attributes.width;
        height_ = attributes.height;
        if (XShmQueryExtension(display_)) {
            image_ = XShmCreateImage(display_, attributes.visual, static_cast<unsigned>(attributes.depth), ZPixmap,
                                     nullptr, &shm_, static_cast<unsigned>(width_), static_cast<unsigned>(height_));
            if (image_) {
                shm_.shmid = shmget(IPC_PRIVATE, static_cast<std::size_t>(image_->bytes_per_line) * height_, IPC_CREAT | 0600);
                shm_.shmaddr = image_->data = static_cast<char*>(shmat(shm_.shmid, nullptr, 0));
                shm_.readOnly = False;
                if (shm_.shmid < 0 || shm_.shmaddr == reinterpret_cast<char*>(-1) || !XShmAttach(display_, &shm_)) {
                    release();
                } else {
                    XSync(display_, False);
                    shmctl(shm_.shmid, IPC_RMID, nullptr);  // goes when both sides detach
                }
            }
        }
    }
    ~ScreenReader() {
        release();
        if (display_) XCloseDisplay(display_);
    }
    ScreenReader(ScreenReader const&) = delete;
    ScreenReader& operator=(ScreenReader const&) = delete;

    bool open() const { return display_ != nullptr; }

    // A hash of the whole screen now.
    std::uint64_t hash() {
        if (image_) {
            XShmGetImage(display_, root_, image_, 0, 0, AllPlanes);
            return hashBytes(image_->data, static_cast<std::size_t>(image_->bytes_per_line) * height_);
        }
        XImage* image = XGetImage(display_, root_, 0, 0, static_cast<unsigned>(width_), static_cast<unsigned>(height_),
                                  AllPlanes, ZPixmap);
        if (!image) return 0;
        std::uint64_t const h = hashBytes(image->data, static_cast<std::size_t>(image->bytes_per_line) * height_);
        XDestroyImage(image);
        return h;
    }

private:
    static std::uint64_t hashBytes(char const* bytes, std::size_t size) {
        std::uint64_t h = 0x9E3779B97F4A7C15ull;
        std::size_t i = 0;
        for (; i + 8 <= size; i += 8) {
            std::uint64_t word;
            std::memcpy(&word, bytes + i, 8);
            h = (h ^ word) * 0x100000001B3ull;
            h ^= h >> 29;
        }
        for (; i < size; ++i) h = (h ^ static_cast<unsigned char>(bytes[i])) * 0x100000001B3ull;
        return h;
    }
    void release() {
        if (!image_) return;
        if (shm_.shmaddr && shm_.shmaddr != reinterpret_cast<char*>(-1)) {
            XShmDetach(display_, &shm_);
            shmdt(shm_.shmaddr);
        }
        image_->data = nullptr;
        XDestroyImage(image_);
        image_ = nullptr;
    }

    Display* display_;
    Window root_ = 0;
    int width_ = 0;
    int height_ = 0;
    XImage* image_ = nullptr;
    XShmSegmentInfo shm_{};
};

long residentKilobytes(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

// User and system CPU time of the process and all its threads, in seconds.
double cpuSeconds(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    std::size_t const close = text.rfind(')');  // the command name may hold blanks
    if (close == std::string::npos) return 0.0;
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    unsigned long long utime = 0, stime = 0;
    // After the name: state is field 3; utime and stime are fields 14 and 15.
    for (int index = 3; index <= 15 && fields >> field; ++index) {
        if (index == 14) utime = std::stoull(field);
        if (index == 15) stime = std::stoull(field);
    }
    return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

bool running(pid_t pid) { return waitpid(pid, nullptr, WNOHANG) == 0; }

void end(pid_t pid) {
    kill(pid, SIGTERM);
    for (int waited = 0; waited < kExitGraceMs; waited += kPollMs) {
        if (!running(pid)) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

}  // namespace

int main(int argc, char** argv) {
    double settle = 1.0, idle = 3.0, timeout = 60.0;
    bool changes = false;
    int first = 1;
    for (; first < argc && std::strcmp(argv[first], "--") != 0; first += 2) {
        if (first + 1 >= argc) break;
        double const value = std::atof(argv[first + 1]);
        if (std::strcmp(argv[first], "--settle") == 0) settle = value;
        else if (std::strcmp(argv[first], "--idle") == 0) idle = value;
        else if (std::strcmp(argv[first], "--timeout") == 0) timeout = value;
        else if (std::strcmp(argv[first], "--changes") == 0) changes = value != 0.0;
    }
    if (first + 1 >= argc) {
        std::fprintf(stderr, "usage: startup_watch [--settle S] [--idle S] [--timeout S] [--changes 1] -- PROGRAM [ARGS...]\n");
        return 2;
    }
    ScreenReader screen;
    if (!screen.open()) {
        std::fprintf(stderr, "startup_watch: no X display\n");
        return 1;
    }
    std::uint64_t last = screen.hash();

    Clock::time_point const spawned = Clock::now();
    if (changes) std::fprintf(stderr, "spawn %.4f\n", std::chrono::duration<double>(spawned.time_since_epoch()).count());
    pid_t const pid = fork();
    if (pid == 0) {
        execvp(argv[first + 1], argv + first + 1);
        std::perror("startup_watch: exec");
        _exit(127);
    }
    if (pid < 0) return 1;

    double lastChange = -1.0;
    while (true) {
        std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
        if (!running(pid)) {
            std::fprintf(stderr, "startup_watch: %s ended before the screen settled\n", argv[first + 1]);
            return 1;
        }
        double const now = secondsSince(spawned);
        std::uint64_t const h = screen.hash();
        if (h != last) {
            last = h;
            lastChange = now;
            if (changes) std::fprintf(stderr, "change %.4f\n", now);
        }
        if (lastChange >= 0.0 && now - lastChange >= settle) break;
        if (now > timeout) {
            std::fprintf(stderr, "startup_watch: the screen did not settle within %.0f s\n", timeout);
            end(pid);
            return 1;
        }
    }
    long const rss = residentKilobytes(pid);
    double const cpuBefore = cpuSeconds(pid);
    Clock::time_point const idleStart = Clock::now();
    std::this_thread::sleep_for(std::chrono::duration<double>(idle));
    double const cores = (cpuSeconds(pid) - cpuBefore) / secondsSince(idleStart);
    end(pid);
    std::printf("settled %.4f rss_kb %ld cpu_cores %.3f\n", lastChange, rss, cores);
    return 0;
}
