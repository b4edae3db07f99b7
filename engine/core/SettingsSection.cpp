// The bounded reader of init-parameter sections.
#include "engine/core/SettingsSection.h"

#include <cerrno>
#include <cwchar>
#include <cwctype>

#include "engine/core/Logger.h"
#include "engine/core/XMLAttribute.h"
#include "engine/core/XMLNode.h"

namespace Orvex {

bool SettingsSection::bounded(std::wstring const& what, std::wstring const& text, s64 low, s64 high, s64 current,
                              s64& value) const {
    wchar_t const* begin = text.c_str();
    wchar_t* end = nullptr;
    errno = 0;
    long long const number = std::wcstoll(begin, &end, 10);
    while (end && std::iswspace(static_cast<wint_t>(*end))) ++end;
    bool const isNumber = end != begin && end && *end == L'\0' && errno == 0;
    if (isNumber && number >= low && number <= high) {
        value = number;
        return true;
    }
    logError(name_ + L": " + what + L"=\"" + text + L"\" is no number in " + std::to_wstring(low) + L".." +
             std::to_wstring(high) + L"; keeping " + std::to_wstring(current));
    return false;
}

void SettingsSection::read(wchar_t const* key, s64 low, s64 high, u32& target) const {
    XMLAttribute const* attribute = section_.getAttribute(key);
    s64 value = 0;
    if (attribute && bounded(key, attribute->getString(), low, high, target, value)) target = static_cast<u32>(value);
}

void SettingsSection::read(wchar_t const* key, s64 low, s64 high, s32& target) const {
    read(section_.getAttribute(key), key, low, high, target);
}

void SettingsSection::read(XMLProperty const* property, std::wstring const& what, s64 low, s64 high,
                           s32& target) const {
    s64 value = 0;
    if (property && bounded(what, property->getString(), low, high, target, value)) target = static_cast<s32>(value);
}

void SettingsSection::read(wchar_t const* key, bool& target) const { target = section_.getAttributeBool(key, target); }

void SettingsSection::read(wchar_t const* key, u8& target) const {
    target = section_.getAttributeBool(key, target != 0) ? 1 : 0;
}

}  // namespace Orvex
