// A FIFO made where a test's reader expects a file, for tests that the reader does not block on
// it. Opening a FIFO waits for a partner, so a reader that blocks would hang the test program:
// should the FIFO still stand after kRelease, it is given a partner for a moment (through a link
// of its own, wherever the reader moved it), the blocked open returns and the test fails on what
// the reader then did, rather than hanging ctest. A reader that does not block never meets the
// partner; the test's outcome does not depend on how long it takes.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <csignal>
#include <filesystem>
#include <mutex>
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
