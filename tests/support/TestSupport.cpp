#include "tests/support/TestSupport.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace testsupport {

std::filesystem::path homeDir() {
    const char* home = std::getenv("HOME");
    return home ? std::filesystem::path(home) : std::filesystem::temp_directory_path();
}

std::filesystem::path makeTempDir(std::string const& name) {
    std::filesystem::path dir = homeDir() / "tmp" / name;
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

std::filesystem::path sourceDir() {
    const char* src = std::getenv("ORVEX_SOURCE_DIR");
    return src ? std::filesystem::path(src) : std::filesystem::path(ORVEX_SOURCE_DIR);
}

std::filesystem::path monoFontFile() { return ORVEX_MONO_FONT; }

void writeFile(std::filesystem::path const& path, std::string const& bytes) {
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string readFile(std::filesystem::path const& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void leaveShard() {
    unsetenv("GTEST_TOTAL_SHARDS");
    unsetenv("GTEST_SHARD_INDEX");
}

bool havePython() { return std::system("python3 -c pass > /dev/null 2>&1") == 0; }

}  // namespace testsupport
