// Text construction: a "TEXT" element of a language list, or a bare name.
#include "engine/gui/Text.h"

#include "engine/core/CodePage.h"
#include "engine/core/XMLNode.h"

namespace Orvex {

Text::Text(std::wstring const& name) : NamedObject(name) {}

Text::Text(XMLNode& node) : NamedObject(node) {
    for (auto const& value : node.values()) {
        values_.push_back(value->getString());
        text_ += value->getString();
    }
    lang_ = node.getAttributeString(L"LANG", L"");
    std::string locale;
    if (XMLAttribute const* setLocale = node.getAttribute(L"SET_LOCALE")) locale = toNarrowString(setLocale->getString());
    if (node.getAttributeBool(L"USE_COMMA", false)) locale = kCommaLocale;
    setLocale(std::move(locale));
}

void Text::setLocale(std::string locale) {
    locale_ = std::move(locale);
    decimalPoint_ = L'.';
    localeKnown_ = locale_.empty() || msvc::localeDecimalPoint(locale_, decimalPoint_);
}

}  // namespace Orvex
