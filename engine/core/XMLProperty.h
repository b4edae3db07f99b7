// The text of a property-file value or attribute, with typed getters, and the split view
// XMLValueTokens whose pieces are written back into the value when the view ends. In a loaded
// tree the text is a view of the file's text until a std::wstring of it is asked for (XMLText).
// Number parsing follows the Microsoft runtime (msvc::wtoi, wcstoul, wtof), locale independent;
// text that is not a number reads as 0.
#pragma once

#include <string>
#include <vector>

#include "engine/core/Types.h"
#include "engine/core/XMLText.h"

namespace Orvex {

class XMLValueTokens;
class XMLStore;

class XMLProperty {
public:
    XMLProperty() = default;
    explicit XMLProperty(std::wstring text) : text_(std::move(text)) {}
    explicit XMLProperty(wchar_t const* text) : text_(std::wstring(text ? text : L"")) {}
    // Copies and moves own their text, so they never depend on the tree of the original.
    XMLProperty(XMLProperty const& other) : text_(other.text_) {}
    XMLProperty(XMLProperty&& other) noexcept;
    XMLProperty& operator=(XMLProperty const& other);
    XMLProperty& operator=(XMLProperty&& other) noexcept;
    ~XMLProperty() = default;
    // Numbers as a wide text stream writes them by default (six significant digits).
    explicit XMLProperty(float value);
    explicit XMLProperty(double value);
    explicit XMLProperty(unsigned int value);
    explicit XMLProperty(int value);

    std::wstring const& getString() const { return text_.str(); }
    std::wstring& getString() { return text_.mutableStr(); }
    std::wstring getStringCopy() const { return text_.toString(); }
    void setString(std::wstring text) { text_.set(std::move(text)); }
    // The text as stored, for reading without making a std::wstring of it.
    XMLText const& text() const { return text_; }

    // _wtoi(text) != 0.
    bool getBool() const;
    // _wtoi: signed decimal, clamped to the int range.
    int getInt() const;
    // wcstoul base 10: unsigned 32-bit; "-1" wraps around to 0xFFFFFFFF.
    u32 getLong() const;
    // wcstoul in the given base (0 detects "0x" and "0" prefixes; 2 reads bit masks).
    u32 getLongBase(int base) const;
    // wcstoul base 16, so an AARRGGBB colour with alpha FF reads whole.
    u32 getHex() const;
    float getFloat() const;
    double getDouble() const;

    // The text cut at the first character of separator, empty pieces skipped. When the list is
    // destroyed, its pieces joined with separator are written back into this value, so edits
    // made through the pieces persist. The list must not outlive this property.
    XMLValueTokens split(std::wstring const& separator);
    // The same pieces as a read-only view: nothing is written back.
    XMLValueTokens split(std::wstring const& separator) const;

    // Assigns source to target (used to set element names from text).
    template <class T>
    static void convert(T& target, std::wstring const& source);

private:
    friend class XMLNode;
    friend class XMLStore;
    template <class CharT>
    friend class XMLParser;

    // Lives in a tree's store, which destroys it (a flag kept in the text's spare room).
    bool isStored() const { return text_.ownerBits() != 0; }
    void markStored() { text_.setOwnerBits(1); }

    XMLText text_;
};

template <>
inline void XMLProperty::convert<std::wstring>(std::wstring& target, std::wstring const& source) {
    target = source;
}

class XMLValueTokens {
public:
    XMLValueTokens() = default;
    XMLValueTokens(XMLValueTokens&& other) noexcept;
    XMLValueTokens& operator=(XMLValueTokens&& other) noexcept;
    XMLValueTokens(XMLValueTokens const&) = delete;
    XMLValueTokens& operator=(XMLValueTokens const&) = delete;
    ~XMLValueTokens();

    // Piece i, or null out of range.
    XMLProperty* get(u32 i) const;
    u32 getCount() const { return static_cast<u32>(pieces_.size()); }
    u32 size() const { return getCount(); }

private:
    friend class XMLProperty;
    void writeBack();

    XMLProperty* target_ = nullptr;  // null: a read-only or moved-from view
    std::wstring separator_;
    std::vector<XMLProperty> pieces_;  // never resized after the split, so pointers stay valid
};

}  // namespace Orvex
