// Replays fuzz inputs without libFuzzer: every file named on the command line, or found below a
// folder named there, goes once through the target's LLVMFuzzerTestOneInput. This keeps the
// corpora (and every input a fuzzer once found) running in the ordinary sanitizer build; a
// crash, a sanitizer report or an abort from the target fails the test.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, std::size_t size);

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    // Like the test programs: a temporary home and headless SDL, so no input touches the user's
    // folders or needs a display.
    std::string pattern = (fs::temp_directory_path() / "orvex-replay-XXXXXX").string();
    char* made = mkdtemp(pattern.data());
    if (made) setenv("HOME", made, 1);
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);

    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        fs::path const arg(argv[i]);
        if (fs::is_directory(arg)) {
            for (auto const& entry : fs::recursive_directory_iterator(arg))
                if (entry.is_regular_file()) inputs.push_back(entry.path());
        } else if (fs::is_regular_file(arg)) {
            inputs.push_back(arg);
        }
    }
    std::sort(inputs.begin(), inputs.end());
    if (inputs.empty()) {
        std::fprintf(stderr, "no inputs to replay\n");
        return 1;
    }
    for (fs::path const& input : inputs) {
        std::ifstream in(input, std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::fprintf(stderr, "%s (%zu bytes)\n", input.c_str(), bytes.size());
        // A copy of exactly the input's size, so an over-read shows as one.
        std::vector<uint8_t> data(bytes.begin(), bytes.end());
        LLVMFuzzerTestOneInput(data.empty() ? nullptr : data.data(), data.size());
    }
    std::printf("%zu inputs replayed\n", inputs.size());
    std::error_code ec;
    if (made) fs::remove_all(made, ec);
    return 0;
}
