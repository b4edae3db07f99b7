// Fuzzes the safe formatter with formats from data: the first byte picks the arguments (as the
// callers hand them: numbers, wide and narrow strings, none), the rest is the format. Whatever
// the format, the result stays bounded by its length and the width limit.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "port/crt/crt.h"

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, std::size_t size) {
    if (size == 0) return 0;
    std::wstring format;
    for (std::size_t i = 1; i + 1 < size; i += 2) format += static_cast<wchar_t>(data[i] | data[i + 1] << 8);
    std::wstring out;
    switch (data[0] % 5) {
        case 0: out = msvc::format(format); break;
        case 1: out = msvc::format(format, 350, 9); break;
        case 2: out = msvc::format(format, L"wide", "narrow", -2147483647 - 1, 4294967295u, 1e308); break;
        case 3: out = msvc::format(format, 3.5f, nullptr, static_cast<long long>(-1), 'x'); break;
        default: {
            wchar_t buffer[16];
            int const n = msvc::swprintf(buffer, 16, format, 12, L"s");
            if (n >= 16 || buffer[n < 0 ? 15 : n] != L'\0') std::abort();
            return 0;
        }
    }
    // Each conversion prints at most its width or precision (4096) plus a number's digits.
    if (out.size() > (format.size() + 1) * 4500) std::abort();
    return 0;
}
