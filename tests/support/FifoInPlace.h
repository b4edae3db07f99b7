// A FIFO made where a test's reader expects a file, for tests that the reader does not block on
// it. Opening a FIFO waits for a partner, so a reader that blocks would hang the test program:
// should the FIFO still stand after kRelease, it is given a partner for a moment (through a link
// of its own, wherever the reader moved it), the blocked open returns and the test fails on what
// the reader then did, rather than hanging ctest. A reader that does not block never meets the
// partner; the test's outcome does not depend on how long it takes. NotAFileInPlace makes a FIFO,
// a folder or a link to a device, for tests of each.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <csignal>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>

namespace testsupport {

class FifoInPlace {
public:
    static constexpr std::chrono::seconds kRelease{20};
    static constexpr std::chrono::seconds kPartnerStays{1};

    explicit FifoInPlace(std::filesystem::path const& path) : own_(path.string() + ".fifo-partner") {
        made_ = ::mkfifo(path.c_str(), 0644) == 0 && ::link(path.c_str(), own_.c_str()) == 0;
        watcher_ = std::thread([this] {
            std::unique_lock<std::mutex> lock(mutex_);
            if (ended_.wait_for(lock, kRelease, [this] { return done_; })) return;
            // A writer let through may write into the FIFO after the partner left.
            std::signal(SIGPIPE, SIG_IGN);
            // Both ends at once: never waits, and lets a blocked reader or writer through.
            int const fd = ::open(own_.c_str(), O_RDWR | O_NONBLOCK);
            ended_.wait_for(lock, kPartnerStays, [this] { return done_; });
            if (fd >= 0) ::close(fd);
        });
    }
    ~FifoInPlace() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            done_ = true;
        }
        ended_.notify_all();
        watcher_.join();
        std::error_code ignored;
        std::filesystem::remove(own_, ignored);
    }
    FifoInPlace(FifoInPlace const&) = delete;
    FifoInPlace& operator=(FifoInPlace const&) = delete;

    // Whether the FIFO could be made.
    bool made() const { return made_; }

private:
    std::filesystem::path own_;
    bool made_ = false;
    std::mutex mutex_;
    std::condition_variable ended_;
    bool done_ = false;
    std::thread watcher_;
};

}  // namespace testsupport

namespace testsupport {

// What a reader may find in a file's place besides a file, with the port's words for it.
struct NotAFile {
    char const* what;
    wchar_t const* kind;
};
inline constexpr NotAFile kNotAFile[] = {{"folder", L"Is a directory"},
                                         {"fifo", L"a FIFO, not a regular file"},
                                         {"device", L"a character device, not a regular file"}};

// One of them made at a path (a device: a link to /dev/zero).
class NotAFileInPlace {
public:
    NotAFileInPlace(NotAFile const& thing, std::filesystem::path const& path) {
        std::string const what = thing.what;
        if (what == "folder") std::filesystem::create_directory(path);
        if (what == "fifo") fifo_ = std::make_unique<FifoInPlace>(path);
        if (what == "device") std::filesystem::create_symlink("/dev/zero", path);
    }

private:
    std::unique_ptr<FifoInPlace> fifo_;
};

}  // namespace testsupport
