// A step run as on a full disk, for the tests of a save that fails: the process may write files
// of at most a given size (the file size limit; the signal it raises ignored), so a write past it
// fails with "File too large" while opening, renaming and removing still work.
#pragma once

#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace testsupport {

// f() run while the process may write files of at most `limit` bytes (0: any).
template <class F>
void withRoom(rlim_t limit, F f) {
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    void (*oldHandler)(int) = std::signal(SIGXFSZ, SIG_IGN);
    rlimit room = old;
    if (limit > 0) room.rlim_cur = limit;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &room), 0);
    f();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
}

// The entries beside a file that a save began writing and left ("NAME.saving", "NAME.saving-..."):
// none, after a save that succeeded or failed.
inline std::vector<std::string> savesLeftBeside(std::filesystem::path const& file) {
    std::vector<std::string> left;
    std::string const begun = file.filename().string() + ".saving";
    std::error_code error;
    for (auto const& entry : std::filesystem::directory_iterator(file.parent_path(), error))
        if (entry.path().filename().string().rfind(begun, 0) == 0) left.push_back(entry.path().filename().string());
    return left;
}

}  // namespace testsupport
