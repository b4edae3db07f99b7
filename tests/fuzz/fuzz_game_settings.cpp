// Fuzzes the game's settings section ("API_PARAMS" of config.cfg) as the game's settings object
// reads and writes it: whatever load takes, save writes a section that reads back to the same
// settings, so a second save writes the same text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "engine/core/XMLNode.h"
#include "game/app/MyGlobals.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

std::wstring savedText(Solitaire::MyGlobals& globals) {
    Orvex::XMLNode section(L"API_PARAMS");
    if (!globals.save(section)) std::abort();
    return section.toText();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, std::size_t size) {
    fuzz::quietLog();
    Orvex::XMLNode root;
    fuzz::readTree(data, size, root);
    Solitaire::MyGlobals first;
    if (!first.load(root)) std::abort();
    std::wstring const written = savedText(first);

    Orvex::XMLNode reread;
    if (!reread.loadFromText(written, L"saved settings")) std::abort();
    Solitaire::MyGlobals second;
    if (!second.load(reread)) std::abort();
    if (savedText(second) != written) std::abort();
    return 0;
}
