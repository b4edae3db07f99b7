// Fuzzes the language reader with file bytes: the property-file parse, the text list read twice
// (duplicates, DEF_LANGUAGE, the fallback language), every text formatted as the format it is
// with arguments of every kind, lookups and the character list.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/core/Logger.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/LanguageManager.h"
#include "engine/gui/Text.h"

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, std::size_t size) {
    static bool quiet = [] {
        Orvex::Logger::getInstance().setThreshold(1000, Orvex::LOG_MASK_ALL);
        return true;
    }();
    (void)quiet;

    Orvex::XMLNode root;
    root.loadFromBytes(data, size, L"fuzz.lng");
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
    }
    manager.getCharacterList();
    return sink;
}
