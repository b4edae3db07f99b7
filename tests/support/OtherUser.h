// A player who may read a file but not write it, for tests of what the game does with a file it
// did not make (a lock file left by a run under sudo). The tests run as root, who may write any
// file whatever its mode: a step that needs the refusal runs in a child process that has become
// "nobody", and the file is root's of mode 0644, as sudo leaves it. Run as any other user, the
// child stays that user, and the file is made mode 0444, which refuses that user's writes. The
// child's folders lie in a ReachableFolder, as the home may lie where "nobody" cannot pass.
#pragma once

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>

#include "tests/support/ReachableFolder.h"
#include "tests/support/TestSupport.h"

namespace testsupport {

// The user "nobody" of Debian's base passwd.
inline constexpr uid_t kOtherUser = 65534;
// The child's status when it could not become that user.
inline constexpr int kNotOtherUser = 120;

// The user a step of asOtherUser runs as.
inline uid_t otherUser() { return ::geteuid() == 0 ? kOtherUser : ::geteuid(); }

// Runs step in a child process as otherUser(); the step's result (0 to 119) is the child's exit
// status, -1 when it ended by a signal.
inline int asOtherUser(std::function<int()> const& step) {
    std::fflush(nullptr);
    pid_t const child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(kOtherUser) != 0 || ::setuid(kOtherUser) != 0))
            ::_exit(kNotOtherUser);
        ::_exit(step());
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Lets otherUser() pass through the tests' folders down to path: up to the temporary home (made
// for this process alone, mode 0700) or to a folder below which others may pass (a
// ReachableFolder's base), and no further, as the folders above are not the tests'.
inline void letOtherUserReach(std::filesystem::path const& path) {
    namespace fs = std::filesystem;
    fs::path const home = homeDir();
    for (fs::path folder = path; !folder.empty(); folder = folder.parent_path()) {
        if (fs::is_directory(folder))
            fs::permissions(folder, fs::perms::others_exec | fs::perms::group_exec, fs::perm_options::add);
        if (folder == home || folder == folder.root_path() || othersMayPassDownTo(folder.parent_path())) break;
    }
}

// Gives otherUser() the folder and everything in it, so that it may write there.
inline void giveToOtherUser(std::filesystem::path const& folder) {
    letOtherUserReach(folder);
    if (::geteuid() != 0) return;
    std::error_code error;
    ::chown(folder.c_str(), kOtherUser, kOtherUser);
    for (auto const& entry : std::filesystem::recursive_directory_iterator(folder, error))
        ::lchown(entry.path().c_str(), kOtherUser, kOtherUser);
}

// A file otherUser() may read and not write: root's of mode 0644, else the user's own of mode 0444.
inline void makeReadOnly(std::filesystem::path const& file) {
    namespace fs = std::filesystem;
    fs::perms const reading = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    if (::geteuid() != 0) {
        fs::permissions(file, reading);
        return;
    }
    ::chown(file.c_str(), 0, 0);
    fs::permissions(file, reading | fs::perms::owner_write);
}

}  // namespace testsupport
