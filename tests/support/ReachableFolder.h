// A fresh folder that another user may reach, for a test step run as that user (OtherUser.h).
// A test's own folders lie in the test program's home below TMPDIR, which may be private to its
// user (mktemp -d makes it mode 0700): another user cannot pass through it, and the tests may not
// open up a folder they did not make. So the folder is made below the first of TMPDIR, /tmp and
// /var/tmp that this user may write and that others may pass through down from the root, and
// goes with the object. Where none is, path() is empty and whyNot() says so, for the test's skip.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace testsupport {

// Whether others may pass through every folder from the root down to folder.
inline bool othersMayPassDownTo(std::filesystem::path const& folder) {
    namespace fs = std::filesystem;
    std::error_code error;
    for (fs::path at = folder;; at = at.parent_path()) {
        fs::file_status const status = fs::status(at, error);
        if (error || !fs::is_directory(status) || (status.permissions() & fs::perms::others_exec) == fs::perms::none)
            return false;
        if (at == at.root_path()) return true;
    }
}

class ReachableFolder {
public:
    explicit ReachableFolder(std::string const& name) {
        namespace fs = std::filesystem;
        std::error_code error;
        fs::path const bases[] = {fs::temp_directory_path(error), "/tmp", "/var/tmp"};
        for (fs::path const& base : bases) {
            if (base.empty() || !base.is_absolute() || !othersMayPassDownTo(base) ||
                ::access(base.c_str(), W_OK | X_OK) != 0)
                continue;
            std::string pattern = (base / ("orvex-" + name + "-XXXXXX")).string();
            if (!::mkdtemp(pattern.data())) continue;
            folder_ = pattern;
            // mkdtemp makes it mode 0700.
            fs::permissions(folder_, fs::perms::others_exec | fs::perms::group_exec, fs::perm_options::add, error);
            return;
        }
    }
    ~ReachableFolder() {
        std::error_code error;
        if (!folder_.empty()) std::filesystem::remove_all(folder_, error);
    }
    ReachableFolder(ReachableFolder const&) = delete;
    ReachableFolder& operator=(ReachableFolder const&) = delete;

    std::filesystem::path const& path() const { return folder_; }
    static std::string whyNot() {
        return "no folder another user may reach: TMPDIR, /tmp and /var/tmp are each missing, not writable, or below "
               "a folder others may not pass through";
    }

private:
    std::filesystem::path folder_;
};

}  // namespace testsupport
