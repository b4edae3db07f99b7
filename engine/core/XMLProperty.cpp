// Typed reading of property-file texts and the written-back split view.
#include "engine/core/XMLProperty.h"

#include <locale>
#include <sstream>

#include "port/crt/crt.h"

namespace Orvex {

namespace {

template <class T>
std::wstring streamText(T value) {
    std::wostringstream out;
    out.imbue(std::locale::classic());
    out << value;
    return out.str();
}

}  // namespace

XMLProperty::XMLProperty(float value) : text_(streamText(value)) {}
XMLProperty::XMLProperty(double value) : text_(streamText(value)) {}
XMLProperty::XMLProperty(unsigned int value) : text_(std::to_wstring(value)) {}
XMLProperty::XMLProperty(int value) : text_(std::to_wstring(value)) {}

// A view moved out of a tree would outlive the tree's store: only owned texts move as they are.
XMLProperty::XMLProperty(XMLProperty&& other) noexcept : text_(XMLText::detach(std::move(other.text_))) {}

XMLProperty& XMLProperty::operator=(XMLProperty const& other) {
    text_ = other.text_;
    return *this;
}

XMLProperty& XMLProperty::operator=(XMLProperty&& other) noexcept {
    if (this != &other) text_ = XMLText::detach(std::move(other.text_));
    return *this;
}

bool XMLProperty::getBool() const { return getInt() != 0; }
int XMLProperty::getInt() const {
    return text_.withView([](std::wstring_view t) { return msvc::wtoi(t); });
}
u32 XMLProperty::getLong() const { return getLongBase(10); }
u32 XMLProperty::getLongBase(int base) const {
    // wcstoul accepts 0 and 2..36; anything else reads nothing.
    if (base != 0 && (base < 2 || base > 36)) return 0;
    return text_.withView([base](std::wstring_view t) { return msvc::wcstoul(t, base); });
}
u32 XMLProperty::getHex() const { return getLongBase(16); }
float XMLProperty::getFloat() const { return static_cast<float>(getDouble()); }
double XMLProperty::getDouble() const {
    return text_.withView([](std::wstring_view t) { return msvc::wtof(t); });
}

XMLValueTokens XMLProperty::split(std::wstring const& separator) const {
    XMLValueTokens tokens;
    tokens.separator_ = separator;
    text_.withView([&](std::wstring_view text) {
        if (separator.empty()) {
            if (!text.empty()) tokens.pieces_.emplace_back(std::wstring(text));
            return;
        }
        wchar_t cut = separator[0];
        std::size_t start = 0;
        while (start <= text.size()) {
            std::size_t end = text.find(cut, start);
            if (end == std::wstring_view::npos) end = text.size();
            if (end > start) tokens.pieces_.emplace_back(std::wstring(text.substr(start, end - start)));
            start = end + 1;
        }
    });
    return tokens;
}

XMLValueTokens XMLProperty::split(std::wstring const& separator) {
    XMLValueTokens tokens = static_cast<XMLProperty const&>(*this).split(separator);
    tokens.target_ = this;
    return tokens;
}

XMLValueTokens::XMLValueTokens(XMLValueTokens&& other) noexcept
    : target_(other.target_), separator_(std::move(other.separator_)), pieces_(std::move(other.pieces_)) {
    other.target_ = nullptr;
}

XMLValueTokens& XMLValueTokens::operator=(XMLValueTokens&& other) noexcept {
    if (this != &other) {
        writeBack();
        target_ = other.target_;
        separator_ = std::move(other.separator_);
        pieces_ = std::move(other.pieces_);
        other.target_ = nullptr;
    }
    return *this;
}

XMLValueTokens::~XMLValueTokens() { writeBack(); }

XMLProperty* XMLValueTokens::get(u32 i) const {
    if (i >= pieces_.size()) return nullptr;
    return const_cast<XMLProperty*>(&pieces_[i]);
}

void XMLValueTokens::writeBack() {
    if (!target_) return;
    std::wstring joined;
    for (std::size_t i = 0; i < pieces_.size(); ++i) {
        if (i) joined += separator_;
        joined += pieces_[i].getString();
    }
    target_->setString(std::move(joined));
    target_ = nullptr;
}

}  // namespace Orvex
