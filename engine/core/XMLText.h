// The text of a property-file name or value. A loaded tree keeps its texts as views of the file's
// text (8-bit Windows-1252 or UTF-16LE bytes, or wide text) held by the tree's store (XMLStore),
// so loading costs no allocation per text; a std::wstring is made only when one is asked for or
// the text changes.
// Asking for the std::wstring of a view is a change of representation, not of the text, so it
// happens in const functions: a tree must not be read from two threads at once.
#pragma once

#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>

#include "engine/core/Types.h"

namespace Orvex {

// UTF-16LE units of a file's bytes, indexed like an array of char16_t (on any host).
struct Utf16LEText {
    u8 const* bytes;
    char16_t operator[](std::size_t i) const {
        return static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    }
    Utf16LEText operator+(std::size_t i) const { return {bytes + 2 * i}; }
};

class XMLText {
public:
    XMLText() = default;
    explicit XMLText(std::wstring text) { own(std::move(text)); }
    // Copies own their text: a copy never depends on the store of the original.
    XMLText(XMLText const& other) { own(other.toString()); }
    XMLText& operator=(XMLText const& other);
    // Moves keep views as views: only the tree code moves texts, within a store's lifetime.
    XMLText(XMLText&& other) noexcept : p_(other.p_), size_(other.size_), kind_(other.kind_) { other.forget(); }
    // The owner's flags live in what would be padding; copies and moves leave them alone.
    XMLText& operator=(XMLText&& other) noexcept {
        if (this != &other) {
            if (kind_ == kOwned && other.kind_ == kOwned) {
                *owned() = std::move(*other.owned());  // the same string object, as for set
                other.drop();
                return *this;
            }
            if (kind_ == kOwned) delete owned();
            p_ = other.p_;
            size_ = other.size_;
            kind_ = other.kind_;
            other.forget();
        }
        return *this;
    }
    ~XMLText() {
        if (kind_ == kOwned) delete owned();
    }

    // Moves an owned text, copies a view: for objects that may outlive the store of the original.
    static XMLText detach(XMLText&& text) { return text.isView() ? XMLText(text) : std::move(text); }
    // Views of text that outlives this object; longer texts than a view can hold are copied.
    static XMLText view(wchar_t const* text, std::size_t size) {
        XMLText t;
        if (size > 0) t.setView(text, size, kWide);
        return t;
    }
    static XMLText view(u8 const* ansi, std::size_t size) {
        XMLText t;
        if (size > 0) t.setView(ansi, size, kAnsi);
        return t;
    }
    static XMLText view(Utf16LEText units, std::size_t size) {
        XMLText t;
        if (size > 0) t.setView(units.bytes, size, kUtf16);
        return t;
    }

    // Makes this text a view, as view() does, without a temporary.
    template <class Text>
    void assignView(Text text, std::size_t size) {
        if (kind_ == kOwned) delete owned();
        forget();
        if (size == 0) return;
        if constexpr (std::is_same_v<Text, Utf16LEText>) setView(text.bytes, size, kUtf16);
        else setView(text, size, sizeof(*text) == 1 ? kAnsi : kWide);
    }

    // Characters, or for a UTF-16 view its units (a surrogate pair is one character).
    std::size_t size() const { return kind_ == kOwned ? owned()->size() : size_; }
    bool empty() const { return size() == 0; }
    bool isView() const { return kind_ == kWide || kind_ == kAnsi || kind_ == kUtf16; }

    // The text as a std::wstring, made from a view on first request and kept.
    std::wstring const& str() const;
    // The same for changing it in place.
    std::wstring& mutableStr();
    std::wstring toString() const;
    // The first count characters (all of a shorter text), made without widening the rest: a
    // reader that keeps only a piece of a huge text pays for the piece.
    std::wstring head(std::size_t count) const;
    // The same; longer says whether the text holds more than count characters.
    std::wstring head(std::size_t count, bool& longer) const;
    // Whether the text holds more than count characters, a surrogate pair of a UTF-16 view
    // counted once as every other read counts it, so a limit holds alike in every encoding.
    bool longerThan(std::size_t count) const;
    void set(std::wstring text);
    void clear() { drop(); }

    bool operator==(XMLText const& other) const;
    bool operator==(std::wstring_view other) const;

    // Calls f with the text as a std::wstring_view, without keeping a std::wstring of it.
    template <class F>
    auto withView(F&& f) const;
    // Calls f for every character in order.
    template <class F>
    void forEachChar(F&& f) const;

    u8 ownerBits() const { return ownerBits_; }
    void setOwnerBits(u8 bits) { ownerBits_ = bits; }

    // The text as stored: wide characters (views and owned texts), Windows-1252 bytes or
    // UTF-16LE bytes.
    bool isAnsi() const { return kind_ == kAnsi; }
    bool isUtf16() const { return kind_ == kUtf16; }
    wchar_t const* wideData() const;
    u8 const* ansiData() const { return static_cast<u8 const*>(p_); }
    u8 const* utf16Data() const { return static_cast<u8 const*>(p_); }

private:
    enum Kind : u8 { kEmpty, kOwned, kWide, kAnsi, kUtf16 };
    static constexpr std::size_t kShortText = 64;  // views up to this are widened on the stack

    std::wstring* owned() const { return static_cast<std::wstring*>(const_cast<void*>(p_)); }
    void own(std::wstring text);
    void drop();
    void forget() {
        p_ = nullptr;
        size_ = 0;
        kind_ = kEmpty;
    }
    void setView(void const* text, std::size_t size, Kind kind) {
        if (size > kMaxView) return setLongView(text, size, kind);
        p_ = text;
        size_ = static_cast<u32>(size);
        kind_ = kind;
    }
    void setLongView(void const* text, std::size_t size, Kind kind);
    static constexpr std::size_t kMaxView = 0xFFFFFFFFu;
    void materialize() const;

    mutable void const* p_ = nullptr;
    mutable u32 size_ = 0;  // of a view
    mutable Kind kind_ = kEmpty;
    u8 ownerBits_ = 0;
};

namespace xmltext {
// Windows-1252 byte to character, as a table (the parser's hot path).
extern wchar_t const (&kAnsiToWide)[256];
}  // namespace xmltext

inline wchar_t const* XMLText::wideData() const {
    return kind_ == kOwned ? owned()->data() : static_cast<wchar_t const*>(p_);
}

// Calls f for each character of count UTF-16LE units, joining surrogate pairs as reading a
// file does (decodeFileText); lone surrogates pass through.
template <class F>
void forEachUtf16Char(Utf16LEText units, std::size_t count, F&& f) {
    for (std::size_t i = 0; i < count; ++i) {
        u32 unit = units[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < count) {
            u32 low = units[i + 1];
            if (low >= 0xDC00 && low <= 0xDFFF) {
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        f(static_cast<wchar_t>(unit));
    }
}

template <class F>
auto XMLText::withView(F&& f) const {
    if (kind_ != kAnsi && kind_ != kUtf16)
        return f(kind_ == kEmpty ? std::wstring_view() : std::wstring_view(wideData(), size()));
    if (size_ <= kShortText) {  // as many characters at most as units or bytes
        wchar_t wide[kShortText];
        std::size_t n = 0;
        forEachChar([&](wchar_t c) { wide[n++] = c; });
        return f(std::wstring_view(wide, n));
    }
    std::wstring wide = toString();
    return f(std::wstring_view(wide));
}

template <class F>
void XMLText::forEachChar(F&& f) const {
    std::size_t n = size();
    if (kind_ == kAnsi) {
        for (std::size_t i = 0; i < n; ++i) f(xmltext::kAnsiToWide[ansiData()[i]]);
    } else if (kind_ == kUtf16) {
        forEachUtf16Char(Utf16LEText{utf16Data()}, n, f);
    } else if (n > 0) {
        wchar_t const* w = wideData();
        for (std::size_t i = 0; i < n; ++i) f(w[i]);
    }
}

}  // namespace Orvex
