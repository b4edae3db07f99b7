// A named attribute of a property-file element: a name and its value text (XMLProperty).
#pragma once

#include <string>

#include "engine/core/XMLProperty.h"

namespace Orvex {

class XMLAttribute : public XMLProperty {
public:
    explicit XMLAttribute(std::wstring name) : name_(std::move(name)) {}
    XMLAttribute(std::wstring name, std::wstring const& text) : XMLProperty(text), name_(std::move(name)) {}
    XMLAttribute(std::wstring name, std::wstring&& text) : XMLProperty(std::move(text)), name_(std::move(name)) {}
    XMLAttribute(std::wstring name, wchar_t const* text) : XMLProperty(text), name_(std::move(name)) {}
    // Written "0" or "1".
    XMLAttribute(std::wstring name, bool value) : XMLProperty(value ? L"1" : L"0"), name_(std::move(name)) {}
    XMLAttribute(std::wstring name, int value) : XMLProperty(value), name_(std::move(name)) {}
    XMLAttribute(std::wstring name, unsigned int value) : XMLProperty(value), name_(std::move(name)) {}
    // Wide text stream default formatting: six significant digits.
    XMLAttribute(std::wstring name, float value) : XMLProperty(value), name_(std::move(name)) {}
    XMLAttribute(std::wstring name, double value) : XMLProperty(value), name_(std::move(name)) {}

    // Copies and moves own their texts, as for XMLProperty.
    XMLAttribute(XMLAttribute const&) = default;
    XMLAttribute(XMLAttribute&& other) noexcept
        : XMLProperty(std::move(other)), name_(XMLText::detach(std::move(other.name_))) {}
    XMLAttribute& operator=(XMLAttribute const&) = default;
    XMLAttribute& operator=(XMLAttribute&& other) noexcept {
        XMLProperty::operator=(std::move(other));
        if (this != &other) name_ = XMLText::detach(std::move(other.name_));
        return *this;
    }

    std::wstring const& getName() const { return name_.str(); }
    void setName(std::wstring name) { name_.set(std::move(name)); }
    // The name as stored, for reading without making a std::wstring of it.
    XMLText const& name() const { return name_; }

private:
    friend class XMLNode;
    friend class XMLStore;
    template <class CharT>
    friend class XMLParser;
    XMLAttribute() = default;

    XMLText name_;
};

}  // namespace Orvex
