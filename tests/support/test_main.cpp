// Test main: every test process gets its own temporary HOME and XDG_DATA_HOME, and SDL runs
// headless, so tests never touch the real user folder or need a display or sound card.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

int main(int argc, char** argv) {
    std::string pattern = (std::filesystem::temp_directory_path() / "orvex-test-XXXXXX").string();
    char* made = mkdtemp(pattern.data());
    std::filesystem::path home = made ? std::filesystem::path(made) : std::filesystem::temp_directory_path();
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_DATA_HOME", (home / ".local" / "share").c_str(), 1);
    std::filesystem::create_directories(home / ".local" / "share");
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);

    ::testing::InitGoogleTest(&argc, argv);
    int result = RUN_ALL_TESTS();

    std::error_code ec;
    if (made) std::filesystem::remove_all(home, ec);
    return result;
}
