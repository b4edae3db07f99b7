// One init-parameter section of config.cfg ("D3DINITPARAMS", "SOUNDINITPARAMS",
// "DINPUTINITPARAMS", "TEXINITPARAMS"): the one reader that bounds its numbers. A number outside
// its range, or text that is no base-10 number, keeps the current value and logs one line naming
// the section, the key, the text and the range. Keys that are absent keep their values silently.
#pragma once

#include <string>
#include <utility>

#include "engine/core/Types.h"

namespace Orvex {

class XMLNode;
class XMLProperty;

class SettingsSection {
public:
    SettingsSection(XMLNode const& section, std::wstring name) : section_(section), name_(std::move(name)) {}

    // The attribute key as a number within low..high.
    void read(wchar_t const* key, s64 low, s64 high, u32& target) const;
    void read(wchar_t const* key, s64 low, s64 high, s32& target) const;
    // The attribute key as a flag (any number but 0 is on).
    void read(wchar_t const* key, bool& target) const;
    void read(wchar_t const* key, u8& target) const;
    // A value (null: absent) named what in the log line, as a number within low..high.
    void read(XMLProperty const* value, std::wstring const& what, s64 low, s64 high, s32& target) const;

private:
    // The bounded number of text, or false after the log line.
    bool bounded(std::wstring const& what, std::wstring const& text, s64 low, s64 high, s64 current,
                 s64& value) const;

    XMLNode const& section_;
    std::wstring name_;
};

}  // namespace Orvex
