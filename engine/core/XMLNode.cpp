// Tree operations of XMLNode: ownership, lookup, copy and comparison, all without recursion.
#include "engine/core/XMLNode.h"

#include <utility>
#include <vector>

namespace Orvex {

void XMLNode::release() {
    if (hasAddedParts()) {
        for (XMLAttribute* a : attributes_)
            if (!a->isStored()) delete a;
        for (XMLProperty* v : values_)
            if (!v->isStored()) delete v;
        // Added subtrees go without recursion: a node is deleted once its added children are
        // queued, so each destructor finds no added children left.
        std::vector<XMLNode*> pending;
        for (XMLNode* c : children_)
            if (!c->isStored()) pending.push_back(c);
        children_.reset();
        while (!pending.empty()) {
            XMLNode* node = pending.back();
            pending.pop_back();
            if (node->hasAddedParts()) {
                for (XMLNode* c : node->children_)
                    if (!c->isStored()) pending.push_back(c);
            }
            node->children_.reset();
            delete node;
        }
        setAddedParts(false);
    }
    attributes_.reset();
    values_.reset();
    children_.reset();
    store_.reset();  // last: the lists pointed into it
}

XMLNode::XMLNode(XMLNode const& other) { copyFrom(other); }

XMLNode& XMLNode::operator=(XMLNode const& other) {
    copyFrom(other);
    return *this;
}

XMLNode::XMLNode(XMLNode&& other) noexcept { takeFrom(other); }

XMLNode& XMLNode::operator=(XMLNode&& other) noexcept {
    if (this != &other) {
        // Taken first: other may be a part of this tree, which the next step destroys.
        XMLNode taken;
        taken.takeFrom(other);
        release();
        takeFrom(taken);
    }
    return *this;
}

void XMLNode::takeFrom(XMLNode& other) {
    if (other.isStored() && !other.store_) {
        // other's names, values and stored entries belong to the store of its tree.
        copyIntoNewStore(other);
        other.clear();
        return;
    }
    name_ = std::move(other.name_);
    line_ = other.line_;
    attributes_ = std::move(other.attributes_);
    values_ = std::move(other.values_);
    children_ = std::move(other.children_);
    store_ = std::move(other.store_);
    setAddedParts(other.hasAddedParts());
    other.setAddedParts(false);
}

XMLNode::~XMLNode() {
    if (hasAddedParts() || store_) release();
}

void XMLNode::clear() {
    release();
    name_.clear();
    line_ = 0;
}

void XMLNode::copyFrom(XMLNode const& other) {
    if (&other == this) return;
    // Built apart first: other may be a part of this tree.
    XMLNode copy;
    copy.copyIntoNewStore(other);
    *this = std::move(copy);
}

void XMLNode::copyIntoNewStore(XMLNode const& other) {
    auto store = std::make_unique<XMLStore>();
    XMLNode fresh;  // this node's content is replaced only once the copy is complete
    std::vector<std::pair<XMLNode const*, XMLNode*>> work{{&other, &fresh}};
    while (!work.empty()) {
        auto [from, to] = work.back();
        work.pop_back();
        to->name_ = store->keep(from->name_);
        to->line_ = from->line_;
        // Each list is stored as a copy of from's array whose entries are then replaced.
        auto copyList = [&store](auto const& fromList, auto& toList, auto copyItem) {
            if (u32 n = static_cast<u32>(fromList.size())) {
                auto* items = store->newArray(fromList.begin(), n);
                for (u32 i = 0; i < n; ++i) items[i] = copyItem(items[i].get());
                toList.adopt(items, n);
            }
        };
        copyList(from->attributes_, to->attributes_, [&store](XMLAttribute const* a) {
            XMLAttribute* copy = store->newAttribute();
            copy->name_ = store->keep(a->name_);
            copy->text_ = store->keep(a->text_);
            return copy;
        });
        copyList(from->values_, to->values_, [&store](XMLProperty const* v) {
            XMLProperty* copy = store->newValue();
            copy->text_ = store->keep(v->text_);
            return copy;
        });
        copyList(from->children_, to->children_, [&](XMLNode const* c) {
            XMLNode* copy = store->newNode();
            work.emplace_back(c, copy);
            return copy;
        });
    }
    fresh.store_ = std::move(store);
    release();
    takeFrom(fresh);
}

bool XMLNode::equals(XMLNode const& other) const {
    std::vector<std::pair<XMLNode const*, XMLNode const*>> work{{this, &other}};
    while (!work.empty()) {
        auto [a, b] = work.back();
        work.pop_back();
        if (!(a->name_ == b->name_) || a->attributes_.size() != b->attributes_.size() ||
            a->values_.size() != b->values_.size() || a->children_.size() != b->children_.size())
            return false;
        for (std::size_t i = 0; i < a->attributes_.size(); ++i) {
            if (!(a->attributes_[i]->name_ == b->attributes_[i]->name_) ||
                !(a->attributes_[i]->text_ == b->attributes_[i]->text_))
                return false;
        }
        for (std::size_t i = 0; i < a->values_.size(); ++i)
            if (!(a->values_[i]->text_ == b->values_[i]->text_)) return false;
        for (std::size_t i = 0; i < a->children_.size(); ++i) work.emplace_back(a->children_[i].get(), b->children_[i].get());
    }
    return true;
}

std::size_t XMLNode::savedUnits(XMLText const& text, bool utf16) {
    // A file's 8-bit text has one unit a character, a UTF-16 file's units are its own.
    if (text.isAnsi() || (utf16 && text.isUtf16())) return text.size();
    std::size_t units = 0;
    text.forEachChar([&](wchar_t c) { units += savedUnits(c, utf16); });
    return units;
}

std::size_t XMLNode::savedUnits(std::wstring_view text, bool utf16) {
    std::size_t units = 0;
    for (wchar_t c : text) units += savedUnits(c, utf16);
    return units;
}

std::size_t XMLNode::savedCost(XMLNode const& tree, bool utf16) {
    std::size_t bytes = 0;
    std::vector<XMLNode const*> work{&tree};
    while (!work.empty()) {
        XMLNode const* node = work.back();
        work.pop_back();
        bytes += elementCost(savedUnits(node->name(), utf16));
        for (XMLAttribute const* a : node->attributes())
            bytes += attributeCost(savedUnits(a->name(), utf16), savedUnits(a->text(), utf16));
        for (XMLProperty const* v : node->values()) bytes += valueCost(savedUnits(v->text(), utf16));
        for (XMLNode const* c : node->children()) work.push_back(c);
    }
    return bytes;
}

XMLAttribute* XMLNode::getAttribute(std::wstring_view name) {
    return const_cast<XMLAttribute*>(static_cast<XMLNode const*>(this)->getAttribute(name));
}

XMLAttribute const* XMLNode::getAttribute(std::wstring_view name) const {
    for (XMLAttribute const* a : attributes_)
        if (a->name_ == name) return a;
    return nullptr;
}

XMLNode* XMLNode::getChild(std::wstring_view name, int index) {
    return const_cast<XMLNode*>(static_cast<XMLNode const*>(this)->getChild(name, index));
}

XMLNode const* XMLNode::getChild(std::wstring_view name, int index) const {
    int wanted = index < 0 ? 0 : index;
    for (XMLNode const* c : children_) {
        if (!name.empty() && !(c->name_ == name)) continue;
        if (wanted == 0) return c;
        --wanted;
    }
    return nullptr;
}

u32 XMLNode::getChildCount(std::wstring_view name) const {
    if (name.empty()) return static_cast<u32>(children_.size());
    u32 count = 0;
    for (XMLNode const* c : children_)
        if (c->name_ == name) ++count;
    return count;
}

XMLAttribute* XMLNode::addAttribute(XMLAttribute* attribute) {
    if (attribute) {
        attributes_.push(attribute);
        setAddedParts(true);
    }
    return attribute;
}

XMLNode* XMLNode::addChild(XMLNode* child) {
    if (child && child != this) {
        children_.push(child);
        setAddedParts(true);
    }
    return child;
}

XMLProperty* XMLNode::addValue(XMLProperty* value) {
    if (value) {
        values_.push(value);
        setAddedParts(true);
    }
    return value;
}

XMLAttribute* XMLNode::setAttribute(std::wstring const& name, std::wstring text) {
    if (XMLAttribute* existing = getAttribute(name)) {
        existing->setString(std::move(text));
        return existing;
    }
    return addAttribute(new XMLAttribute(name, std::move(text)));
}

bool XMLNode::removeChild(XMLNode const* child) {
    for (std::size_t i = 0; i < children_.size(); ++i) {
        XMLNode* c = children_[i];
        if (c != child) continue;
        children_.erase(i);
        if (c->isStored()) {
            c->clear();  // the memory is the store's
        } else {
            XMLNode doomed;  // deleted through a holder, so its subtree goes without recursion
            doomed.addChild(c);
        }
        return true;
    }
    return false;
}

namespace {

template <class T, class Getter>
T attributeOr(XMLNode const& node, std::wstring_view name, T fallback, Getter getter) {
    XMLAttribute const* a = node.getAttribute(name);
    return a ? static_cast<T>((a->*getter)()) : fallback;
}

}  // namespace

bool XMLNode::getAttributeBool(std::wstring_view name, bool fallback) const {
    return attributeOr(*this, name, fallback, &XMLProperty::getBool);
}
int XMLNode::getAttributeInt(std::wstring_view name, int fallback) const {
    return attributeOr(*this, name, fallback, &XMLProperty::getInt);
}
u32 XMLNode::getAttributeLong(std::wstring_view name, u32 fallback) const {
    return attributeOr(*this, name, fallback, &XMLProperty::getLong);
}
u32 XMLNode::getAttributeHex(std::wstring_view name, u32 fallback) const {
    return attributeOr(*this, name, fallback, &XMLProperty::getHex);
}
float XMLNode::getAttributeFloat(std::wstring_view name, float fallback) const {
    return attributeOr(*this, name, fallback, &XMLProperty::getFloat);
}
double XMLNode::getAttributeDouble(std::wstring_view name, double fallback) const {
    return attributeOr(*this, name, fallback, &XMLProperty::getDouble);
}
std::wstring XMLNode::getAttributeString(std::wstring_view name, std::wstring const& fallback) const {
    return attributeOr(*this, name, fallback, &XMLProperty::getStringCopy);
}

}  // namespace Orvex
