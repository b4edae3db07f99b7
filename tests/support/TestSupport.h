// Helpers shared by all test programs.
#pragma once
#include <filesystem>
#include <string>

namespace testsupport {

// The temporary folder that HOME and XDG_DATA_HOME point at for this test process.
std::filesystem::path homeDir();

// A fresh, empty folder below the temporary home, removed with it at exit.
std::filesystem::path makeTempDir(std::string const& name);

// The source tree (for test data kept beside the tests).
std::filesystem::path sourceDir();

// A font file of the system: the packaged DejaVu Sans Mono (fonts-dejavu-core), for tests that
// need a face as a file rather than by name.
std::filesystem::path monoFontFile();

// Whether python3 runs here (the tests of the tools' scripts need it; scripts/setup.sh installs it).
bool havePython();

// Writes bytes to a file, creating folders as needed.
void writeFile(std::filesystem::path const& path, std::string const& bytes);
std::string readFile(std::filesystem::path const& path);

// A test that runs one of its program's own tests in a child process: the child must run that
// test whatever share of the program this process runs. ctest's shards set gtest's sharding
// variables, which a child inherits and would apply to its one test, running none of it. Call
// leaveShard in the child before it starts the program; kUnsharded starts a shell command.
void leaveShard();
inline constexpr char kUnsharded[] = "env -u GTEST_TOTAL_SHARDS -u GTEST_SHARD_INDEX ";

}  // namespace testsupport
