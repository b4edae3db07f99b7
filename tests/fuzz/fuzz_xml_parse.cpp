// Fuzzes the property-file parser with file bytes (8-bit, UTF-16LE or UTF-8 after their marks).
// Beyond not crashing, whatever was read must survive writing and reading back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "engine/core/Logger.h"
#include "engine/core/XMLNode.h"

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, std::size_t size) {
    static bool quiet = [] {
        Orvex::Logger::getInstance().setThreshold(1000, Orvex::LOG_MASK_ALL);
        return true;
    }();
    (void)quiet;

    Orvex::XMLNode root;
    if (!root.loadFromBytes(data, size, L"fuzz")) return 0;
    Orvex::XMLNode again;
    if (!again.loadFromText(root.toText(), L"fuzz round trip") || !again.equals(root)) std::abort();

    Orvex::XMLNode copy(root);
    if (!copy.equals(root)) std::abort();
    if (Orvex::XMLNode const* child = root.getChild(L"", 0)) {
        if (Orvex::XMLProperty* value = child->getValue(0)) {
            auto tokens = value->split(L" ");
            for (Orvex::u32 i = 0; i < tokens.getCount(); ++i) (void)tokens.get(i)->getDouble();
        }
    }
    return 0;
}
