// Text formatting: the text as a format through the port's safe formatter, with this text's
// decimal point, cut to the buffer its length gives.
#include "engine/core/Logger.h"
#include "engine/gui/Text.h"

namespace Orvex {

std::size_t Text::outputLimit(std::size_t formatLength) {
    std::size_t buffer = kLargeBuffer;
    if (formatLength < kSmallFormat) buffer = 256;
    else if (formatLength < kMediumFormat) buffer = 512;
    else if (formatLength < kLongFormat) buffer = 1024;
    return buffer - 1;
}

namespace {

// The conversion of the format that takes argument `index` (from 0): from its "%" to its letter.
// Empty when there is none, or when a conversion takes its width, precision or place from the
// arguments (the count would not be the argument of that number).
std::wstring_view conversionOf(std::wstring_view format, int index) {
    constexpr std::wstring_view kLetters = L"diouxXeEfFgGaAcCsSpn";
    int seen = 0;
    for (std::size_t at = format.find(L'%'); at != std::wstring_view::npos; at = format.find(L'%', at)) {
        if (at + 1 < format.size() && format[at + 1] == L'%') {
            at += 2;
            continue;
        }
        std::size_t const end = format.find_first_of(kLetters, at + 1);
        if (end == std::wstring_view::npos) return {};
        std::wstring_view const spec = format.substr(at, end - at + 1);
        if (spec.find_first_of(L"*$") != std::wstring_view::npos) return {};
        if (seen++ == index) return spec;
        at = end + 1;
    }
    return {};
}

}  // namespace

bool Text::countIsOne(std::span<msvc::FormatArg const> args) const {
    int const index = countArgument_ - 1;
    if (singular_.empty() || index < 0 || static_cast<std::size_t>(index) >= args.size()) return false;
    std::wstring_view const spec = conversionOf(text_, index);
    if (spec.empty()) return false;
    std::wstring const written = msvc::formatArgs(spec, &args[static_cast<std::size_t>(index)], 1, decimalPoint_, kSmallFormat);
    // Padding and a sign are not the count.
    std::size_t first = written.find_first_not_of(L" +0");
    std::size_t const last = written.find_last_not_of(L' ');
    if (first == std::wstring::npos || last == std::wstring::npos) return false;
    return written.substr(first, last - first + 1) == L"1";
}

std::wstring& Text::formatList(std::wstring& out, std::span<msvc::FormatArg const> args) const {
    std::wstring const& format = countIsOne(args) ? singular_ : text_;
    std::size_t const limit = outputLimit(format.size());
    // One character more than fits tells a cut result from one that just fits.
    out = msvc::formatArgs(format, args.data(), args.size(), decimalPoint_, limit + 1);
    if (out.size() > limit) {
        out.resize(limit);
        if (!cutLogged_) {
            cutLogged_ = true;
            logWarning(L"Text \"" + getName() + L"\" (" + lang_ + L"): formatted text cut to " +
                       std::to_wstring(limit) + L" characters");
        }
    }
    return out;
}

}  // namespace Orvex
