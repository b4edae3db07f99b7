// Property-file texts: owned strings or views of a loaded file's text.
#include "engine/core/XMLText.h"

#include <algorithm>
#include <cwchar>

#include "engine/core/CodePage.h"

namespace Orvex {

namespace xmltext {

namespace {
wchar_t gTable[256];  // zero until filled below, before main
struct FillTable {
    FillTable() {
        for (unsigned b = 0; b < 256; ++b) gTable[b] = widenAnsi(static_cast<unsigned char>(b));
    }
} const kFill;
}  // namespace

wchar_t const (&kAnsiToWide)[256] = gTable;

}  // namespace xmltext

XMLText& XMLText::operator=(XMLText const& other) {
    if (this != &other) set(other.toString());
    return *this;
}

void XMLText::setLongView(void const* text, std::size_t size, Kind kind) {
    std::wstring wide;
    wide.reserve(size);
    if (kind == kUtf16) {
        forEachUtf16Char(Utf16LEText{static_cast<u8 const*>(text)}, size, [&](wchar_t c) { wide += c; });
    } else {
        for (std::size_t i = 0; i < size; ++i)
            wide += kind == kAnsi ? xmltext::kAnsiToWide[static_cast<u8 const*>(text)[i]] : static_cast<wchar_t const*>(text)[i];
    }
    own(std::move(wide));
}

void XMLText::own(std::wstring text) {
    drop();
    if (text.empty()) return;
    p_ = new std::wstring(std::move(text));
    kind_ = kOwned;
}

void XMLText::drop() {
    if (kind_ == kOwned) delete owned();
    forget();
}

std::wstring XMLText::toString() const {
    switch (kind_) {
        case kOwned: return *owned();
        case kWide: return std::wstring(static_cast<wchar_t const*>(p_), size_);
        case kAnsi: {
            std::wstring wide(size_, L'\0');
            for (u32 i = 0; i < size_; ++i) wide[i] = xmltext::kAnsiToWide[ansiData()[i]];
            return wide;
        }
        case kUtf16: {
            std::wstring wide;
            wide.reserve(size_);
            forEachUtf16Char(Utf16LEText{utf16Data()}, size_, [&](wchar_t c) { wide += c; });
            return wide;
        }
        default: return {};
    }
}

std::wstring XMLText::head(std::size_t count) const {
    if (kind_ == kOwned) return owned()->substr(0, count);
    if (kind_ != kUtf16) {
        std::size_t const n = std::min<std::size_t>(count, size_);
        std::wstring wide(n, L'\0');
        for (std::size_t i = 0; i < n; ++i)
            wide[i] = kind_ == kAnsi ? xmltext::kAnsiToWide[ansiData()[i]] : static_cast<wchar_t const*>(p_)[i];
        return wide;
    }
    // count characters take at most twice as many units, and one more may end a pair they cut.
    std::size_t const units = std::min<std::size_t>(size_, count > size_ / 2 ? size_ : 2 * count + 1);
    std::wstring wide;
    forEachUtf16Char(Utf16LEText{utf16Data()}, units, [&](wchar_t c) {
        if (wide.size() < count) wide += c;
    });
    return wide;
}

std::wstring XMLText::head(std::size_t count, bool& longer) const {
    // One character more tells a longer text (a view's size counts UTF-16 units, not characters).
    std::wstring piece = head(count + 1);
    longer = piece.size() > count;
    if (longer) piece.resize(count);
    return piece;
}

bool XMLText::longerThan(std::size_t count) const {
    if (size() <= count) return false;
    // A character takes at most two units: a huge text is not walked.
    if (kind_ != kUtf16 || size_ / 2 > count) return true;
    std::size_t characters = 0;
    forEachUtf16Char(Utf16LEText{utf16Data()}, size_, [&](wchar_t) { ++characters; });
    return characters > count;
}

void XMLText::materialize() const {
    std::wstring* text = new std::wstring(toString());
    p_ = text;
    size_ = 0;
    kind_ = kOwned;
}

std::wstring const& XMLText::str() const {
    static std::wstring const kNone;
    if (kind_ == kEmpty) return kNone;
    if (kind_ != kOwned) materialize();
    return *owned();
}

std::wstring& XMLText::mutableStr() {
    if (kind_ == kEmpty) {
        p_ = new std::wstring();
        kind_ = kOwned;
    } else if (kind_ != kOwned) {
        materialize();
    }
    return *owned();
}

void XMLText::set(std::wstring text) {
    // An owned string stays the same object, so references to it stay valid, as they would
    // to a plain std::wstring member.
    if (kind_ == kOwned) {
        *owned() = std::move(text);
        return;
    }
    own(std::move(text));
}

bool XMLText::operator==(std::wstring_view other) const {
    if (kind_ == kUtf16) {
        // Units are at least as many as characters; compared as they are decoded.
        if (size_ < other.size()) return false;
        std::size_t at = 0;
        bool same = true;
        forEachChar([&](wchar_t c) { same = same && at < other.size() && other[at++] == c; });
        return same && at == other.size();
    }
    std::size_t n = size();
    if (n != other.size()) return false;
    if (n == 0) return true;
    if (kind_ != kAnsi) return std::wmemcmp(wideData(), other.data(), n) == 0;
    u8 const* a = ansiData();
    for (std::size_t i = 0; i < n; ++i)
        if (xmltext::kAnsiToWide[a[i]] != other[i]) return false;
    return true;
}

bool XMLText::operator==(XMLText const& other) const {
    // UTF-16 units decode one way only, so two UTF-16 views are equal exactly when their units are.
    if (kind_ == kUtf16 && other.kind_ == kUtf16)
        return size_ == other.size_ && std::memcmp(utf16Data(), other.utf16Data(), 2 * std::size_t(size_)) == 0;
    if (kind_ == kUtf16) return other == *this;
    if (other.kind_ == kUtf16) return other.withView([this](std::wstring_view w) { return *this == w; });
    std::size_t n = size();
    if (n != other.size()) return false;
    if (n == 0) return true;
    if (kind_ == kAnsi && other.kind_ == kAnsi) return std::memcmp(ansiData(), other.ansiData(), n) == 0;
    if (other.kind_ != kAnsi) return *this == std::wstring_view(other.wideData(), n);
    return other == std::wstring_view(wideData(), n);
}

}  // namespace Orvex
