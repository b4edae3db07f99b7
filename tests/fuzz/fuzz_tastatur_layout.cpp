// Fuzzes keyboard layout files: every layout read must answer for every scan code, and its
// typeable characters must be listable.
#include <cstddef>
#include <cstdint>

#include "engine/platform/TastaturLayout.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, std::size_t size) {
    fuzz::quietLog();
    Orvex::XMLNode root;
    if (!fuzz::readTree(data, size, root)) return 0;
    Orvex::TastaturLayoutManager& layouts = Orvex::TastaturLayoutManager::getInstance();
    layouts.load(root);
    for (std::wstring const& name : layouts.getLayoutNames()) {
        Orvex::TastaturLayout const* layout = layouts.getLayout(name);
        for (int code = 0; code < 256; ++code) (void)layout->getKey(static_cast<Orvex::u8>(code));
        (void)layout->getTypeableChars();
    }
    layouts.clear();
    return 0;
}
