// Fuzzes the property-file parser with file bytes (8-bit, UTF-16LE or UTF-8 after their marks).
// Beyond not crashing, whatever was read must survive writing and reading back unchanged and
// whole (a written file reads as complete), and a tree built from arbitrary text (names and
// values holding any character) must be written so that it reads back whole with the same shape.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <string>

#include "engine/core/CodePage.h"
#include "engine/core/XMLNode.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

void checkWrittenShape(uint8_t const* data, std::size_t size) {
    std::wstring raw = Orvex::toWideString(std::string(reinterpret_cast<char const*>(data), size));
    Orvex::XMLNode built(L"ROOT");
    Orvex::XMLNode* current = &built;
    std::size_t start = 0, piece = 0;
    while (start <= raw.size()) {
        std::size_t end = raw.find(L'\n', start);
        if (end == std::wstring::npos) end = raw.size();
        std::wstring text = raw.substr(start, end - start);
        switch (piece++ % 4) {
            case 0: current = built.addChild(text); break;
            case 1: current->addAttribute(new Orvex::XMLAttribute(text, text)); break;
            case 2: current->addValue(text); break;
            default: current->setName(text); break;
        }
        start = end + 1;
    }
    Orvex::XMLNode reread;
    if (reread.loadFromTextChecked(built.toText(), L"fuzz written") != Orvex::XMLNode::ReadResult::kComplete)
        std::abort();
    if (reread.getChildCount() != built.getChildCount() || reread.getValueCount() != built.getValueCount())
        std::abort();
    for (Orvex::u32 i = 0; i < built.getChildCount(); ++i) {
        auto const* a = built.getChild(L"", static_cast<int>(i));
        auto const* b = reread.getChild(L"", static_cast<int>(i));
        if (a->getAttributeCount() != b->getAttributeCount() || a->getValueCount() != b->getValueCount() ||
            b->getChildCount() != 0)
            std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, std::size_t size) {
    fuzz::quietLog();

    checkWrittenShape(data, size);

    Orvex::XMLNode root;
    if (!root.loadFromBytes(data, size, L"fuzz")) return 0;
    Orvex::XMLNode again;
    if (again.loadFromTextChecked(root.toText(), L"fuzz round trip") != Orvex::XMLNode::ReadResult::kComplete ||
        !again.equals(root))
        std::abort();

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
