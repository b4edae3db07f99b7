// Fuzzes the language reader with file bytes: the property-file parse, the text list read twice
// (duplicates, DEF_LANGUAGE, the fallback language), every text formatted as the format it is
// with arguments of every kind, lookups (with the form for the count one) and the character list.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/gui/LanguageManager.h"
#include "engine/gui/Text.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, std::size_t size) {
    fuzz::quietLog();
    Orvex::XMLNode root;
    fuzz::readTree(data, size, root);
    Orvex::LanguageManager manager;
    manager.load(root);
    manager.load(root);
    int sink = 0;
    std::wstring out;
    for (Orvex::Text* text : manager.getAllTexts()) {
        text->format(out, 42, -7LL, 2.5, L"wide", "narrow", &sink, 0xFFFFFFFFu, 'x');
        text->format(out);
        manager.findText(text->getName());
        manager.getText(text->getName());
        manager.findTextForCount(text->getName(), 1);
    }
    manager.getCharacterList();
    return sink;
}
