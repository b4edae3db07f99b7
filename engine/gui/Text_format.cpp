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

std::wstring& Text::formatList(std::wstring& out, std::span<msvc::FormatArg const> args) const {
    std::size_t const limit = outputLimit(text_.size());
    // One character more than fits tells a cut result from one that just fits.
    out = msvc::formatArgs(text_, args.data(), args.size(), decimalPoint_, limit + 1);
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
