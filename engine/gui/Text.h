// One localised text of a language table: its id (the name), the language code, the text as a
// printf-style wide format, and the number locale it formats with.
//
// The format comes from data and the arguments from the caller, so formatting goes through the
// port's safe formatter: a conversion reads only the arguments it was given and only of its own
// kind (a mismatch prints nothing, %n writes nothing). The result is cut to a buffer whose size
// follows the length of the format (kSmallFormat .. kLargeBuffer). A locale ("SET_LOCALE", or
// "USE_COMMA" for a decimal comma) changes the decimal point of this text's numbers only; the
// process-wide locale is never switched.
//
// A form for the count one is a text of its own (LanguageManager::findTextForCount).
//
// Text.cpp: construction from a "TEXT" element; Text_format.cpp: formatting.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "engine/core/NamedObject.h"
#include "port/crt/crt.h"

namespace Orvex {

class XMLNode;

class Text : public NamedObject {
public:
    // Formats shorter than these lengths format into buffers of 256, 512 and 1024 characters;
    // longer ones into kLargeBuffer. A buffer holds its terminating zero, so one character less
    // is printed.
    static constexpr std::size_t kSmallFormat = 64;
    static constexpr std::size_t kMediumFormat = 256;
    static constexpr std::size_t kLongFormat = 512;
    static constexpr std::size_t kLargeBuffer = 2048;
    // The locale "USE_COMMA" stands for.
    static constexpr char const* kCommaLocale = "French_Canada.1252";

    // Name only, empty text, no language, no locale.
    explicit Text(std::wstring const& name);
    // From a "TEXT" element: "NAME", "LANG", "SET_LOCALE", "USE_COMMA" and the values.
    explicit Text(XMLNode& node);

    // All values joined without separator: the format.
    std::wstring const& getText() const { return text_; }
    std::vector<std::wstring> const& getValues() const { return values_; }
    std::wstring const& getLang() const { return lang_; }
    // The runtime locale name; empty when the text gives none.
    std::string const& getLocale() const { return locale_; }
    // The decimal point numbers of this text are written with.
    wchar_t getDecimalPoint() const { return decimalPoint_; }
    // False when the locale name is not one the port knows (numbers then keep the point).
    bool isLocaleKnown() const { return localeKnown_; }

    // out = the text formatted with the arguments (numbers, wide or 8-bit strings, pointers).
    // Returns out.
    template <class... Args>
    std::wstring& format(std::wstring& out, Args const&... args) const {
        if constexpr (sizeof...(Args) == 0) {
            return formatList(out, {});
        } else {
            msvc::FormatArg const list[] = {msvc::FormatArg(args)...};
            return formatList(out, list);
        }
    }
    // The same with an argument list whose length is known at run time.
    std::wstring& formatList(std::wstring& out, std::span<msvc::FormatArg const> args) const;

    // Characters a format of that length may print (the buffer less its terminating zero).
    static std::size_t outputLimit(std::size_t formatLength);

private:
    void setLocale(std::string locale);

    std::wstring text_;
    std::vector<std::wstring> values_;
    std::wstring lang_;
    std::string locale_;
    wchar_t decimalPoint_ = L'.';
    bool localeKnown_ = true;
    // A cut result is logged once per text, not on every frame that draws it.
    mutable bool cutLogged_ = false;
};

}  // namespace Orvex
