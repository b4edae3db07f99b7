// The reference-counted named base object.
#include "engine/core/NamedObject.h"

#include "engine/core/Logger.h"
#include "engine/core/XMLAttribute.h"
#include "engine/core/XMLNode.h"

namespace Orvex {

namespace {

u32 g_nextId = 1;

}  // namespace

u32 NamedObject::nextId() { return g_nextId++; }

NamedObject::NamedObject() : id_(nextId()) { name_ = std::to_wstring(id_); }

NamedObject::NamedObject(std::wstring const& name) : name_(name), id_(nextId()) {}

NamedObject::NamedObject(XMLNode& node) : id_(nextId()), line_(node.getLine()) {
    if (XMLAttribute const* attribute = node.getAttribute(L"NAME")) {
        name_ = attribute->getString();
    } else {
        name_ = std::to_wstring(id_);
    }
}

NamedObject::NamedObject(NamedObject const& other)
    : sigslot::has_slots<sigslot::single_threaded>(), name_(other.name_), id_(nextId()), line_(other.line_) {}

NamedObject& NamedObject::operator=(NamedObject const& other) {
    if (this != &other) {
        name_ = other.name_;
        ++renames_;
        line_ = other.line_;
    }
    return *this;
}

NamedObject::~NamedObject() { signalDestroyed.emit(this); }

void NamedObject::readXML(XMLNode& node) {
    line_ = node.getLine();
    if (XMLAttribute const* attribute = node.getAttribute(L"NAME")) {
        name_ = attribute->getString();
        ++renames_;
    }
}

bool NamedObject::readName(XMLNode const& node, std::size_t maxLength) {
    line_ = node.getLine();
    XMLAttribute const* attribute = node.getAttribute(L"NAME");
    if (!attribute) return false;
    // Only the piece kept is widened.
    bool cut = false;
    name_ = attribute->text().head(maxLength, cut);
    ++renames_;
    return cut;
}

void NamedObject::writeXML(XMLNode& node) const { node.addAttribute(new XMLAttribute(L"NAME", name_)); }

s32 NamedObject::addRef() { return ++refCount_; }

s32 NamedObject::release() {
    if (refCount_ <= 0) {
        logError(L"NamedObject::release ohne Referenz: " + name_);
        return refCount_;
    }
    s32 const count = --refCount_;
    if (count == 0) delete this;
    return count;
}

void NamedObject::setName(std::wstring const& name) {
    std::wstring const old = name_;
    name_ = name;
    ++renames_;
    std::wstring const current = name_;  // a slot may rename the object again
    signalNameChanged.emit(this, old, current);
}

void NamedObject::setUserPointer(void* object, u32 index) {
    if (index >= kMaxUserPointers) {
        logError(L"NamedObject::setUserPointer: Index " + std::to_wstring(index) + L" zu gross (" + name_ + L")");
        return;
    }
    if (index >= userPointers_.size()) userPointers_.resize(static_cast<std::size_t>(index) + 1, nullptr);
    userPointers_[index] = object;
}

void* NamedObject::getUserPointer(u32 index) const {
    return index < userPointers_.size() ? userPointers_[index] : nullptr;
}

}  // namespace Orvex
