// Application info: the working directory at start-up, the user folder (a base folder joined
// with the version block's save path) and its lock against a second game, and the version
// block's numbers and update page.
#pragma once

#include <string>

namespace Orvex {

class AppInfo {
public:
    enum UserFolderKind {
        USER_FOLDER_PROFILE = 0,     // "%USERPROFILE%"
        USER_FOLDER_APPDATA = 1,     // "%APPDATA%" (the default)
        USER_FOLDER_ALL_USERS = 2,   // "%ALLUSERSPROFILE%"
        USER_FOLDER_SAVE_PATH = 3,   // the save path alone, relative to the working directory
    };

    static AppInfo& getInstance();

    // The working directory when the program started, "\" separated, no trailing "\".
    std::wstring const& getStartDirectory() const { return startDirectory_; }

    // Chooses the base of the user folder and resolves it at once; an unknown kind is logged
    // and leaves the folder as it was.
    void setUserFolderKind(int const& kind);
    int getUserFolderKind() const { return kind_; }
    // The user folder, without a trailing "\". Until a kind is chosen, the default kind is
    // resolved on first use, not at static initialisation, so the environment of main counts.
    std::wstring const& getUserFolder() const;
    // Creates every missing folder of the user folder; an existing one is fine. A failure is
    // logged and returned.
    bool createUserFolder();

    // The lock file in the user folder that one process at a time holds (its contents unused).
    static constexpr wchar_t kLockFileName[] = L"instance.lock";
    enum class FolderLock {
        kHeld,       // by this process, until it ends
        kInUse,      // by another process: its files are not this one's to read or write
        kNotTaken,   // the lock file cannot be opened (one error line says why): no one can tell
    };
    // Holds the user folder for this process, so that a second game for it can tell it is not
    // alone. The system lets go of it when the process ends, however it ends: a crash leaves no
    // stale lock. A lock file the process may only read (another user's) holds it as well; a
    // link, a folder or anything but a file in its place is kNotTaken. Taking it again in the
    // holding process is kHeld.
    FolderLock lockUserFolder();

    std::wstring const& getUpdatePage() const { return updatePage_; }
    void getVersion(int& major, int& minor, int& build, int& revision) const;

    AppInfo(AppInfo const&) = delete;
    AppInfo& operator=(AppInfo const&) = delete;

private:
    AppInfo();

    std::wstring startDirectory_;  // first member, as the program's layout has it
    void resolveUserFolder() const;

    mutable std::wstring userFolder_;
    mutable bool resolved_ = false;
    std::wstring updatePage_;
    int kind_ = USER_FOLDER_APPDATA;
    void* lock_ = nullptr;  // the lock file's handle while held
};

}  // namespace Orvex
