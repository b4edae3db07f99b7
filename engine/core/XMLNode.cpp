// Tree operations of XMLNode: ownership, lookup, copy and comparison, all without recursion.
#include "engine/core/XMLNode.h"

#include <utility>

#include "engine/core/Utils.h"

namespace Orvex {

// Destroys a list of subtrees without recursion: a node is destroyed only once its children
// have no children of their own (leaves die with their parent), deeper levels are queued.
void XMLNode::destroyTrees(std::vector<std::unique_ptr<XMLNode>>& trees) {
    bool deep = false;
    for (auto const& t : trees) deep = deep || !t->children_.empty();
    if (!deep) {
        trees.clear();
        return;
    }
    std::vector<std::unique_ptr<XMLNode>> pending = std::move(trees);
    trees.clear();
    while (!pending.empty()) {
        std::unique_ptr<XMLNode> node = std::move(pending.back());
        pending.pop_back();
        for (auto& kid : node->children_)
            if (!kid->children_.empty()) pending.push_back(std::move(kid));
        node->children_.clear();  // what is left are leaves (or moved-out nulls)
    }
}

XMLNode::XMLNode(XMLNode const& other) { copyFrom(other); }

XMLNode& XMLNode::operator=(XMLNode const& other) {
    copyFrom(other);
    return *this;
}

XMLNode& XMLNode::operator=(XMLNode&& other) noexcept {
    if (this != &other) {
        // Taken first: other may be a part of this tree, which the next step destroys.
        auto children = std::move(other.children_);
        auto attributes = std::move(other.attributes_);
        auto values = std::move(other.values_);
        auto name = std::move(other.name_);
        destroyTrees(children_);
        name_ = std::move(name);
        attributes_ = std::move(attributes);
        values_ = std::move(values);
        children_ = std::move(children);
    }
    return *this;
}

XMLNode::~XMLNode() { destroyTrees(children_); }

void XMLNode::clear() {
    destroyTrees(children_);
    name_.clear();
    attributes_.clear();
    values_.clear();
}

void XMLNode::copyFrom(XMLNode const& other) {
    if (&other == this) return;
    // Built apart first: other may be a part of this tree.
    XMLNode copy;
    std::vector<std::pair<XMLNode const*, XMLNode*>> work{{&other, &copy}};
    while (!work.empty()) {
        auto [from, to] = work.back();
        work.pop_back();
        to->name_ = from->name_;
        to->attributes_.reserve(from->attributes_.size());
        for (auto const& a : from->attributes_) to->attributes_.push_back(std::make_unique<XMLAttribute>(*a));
        to->values_.reserve(from->values_.size());
        for (auto const& v : from->values_) to->values_.push_back(std::make_unique<XMLProperty>(*v));
        to->children_.reserve(from->children_.size());
        for (auto const& c : from->children_) {
            to->children_.push_back(std::make_unique<XMLNode>());
            work.emplace_back(c.get(), to->children_.back().get());
        }
    }
    *this = std::move(copy);
}

bool XMLNode::equals(XMLNode const& other) const {
    std::vector<std::pair<XMLNode const*, XMLNode const*>> work{{this, &other}};
    while (!work.empty()) {
        auto [a, b] = work.back();
        work.pop_back();
        if (a->name_ != b->name_ || a->attributes_.size() != b->attributes_.size() ||
            a->values_.size() != b->values_.size() || a->children_.size() != b->children_.size())
            return false;
        for (std::size_t i = 0; i < a->attributes_.size(); ++i) {
            if (a->attributes_[i]->getName() != b->attributes_[i]->getName() ||
                a->attributes_[i]->getString() != b->attributes_[i]->getString())
                return false;
        }
        for (std::size_t i = 0; i < a->values_.size(); ++i)
            if (a->values_[i]->getString() != b->values_[i]->getString()) return false;
        for (std::size_t i = 0; i < a->children_.size(); ++i) work.emplace_back(a->children_[i].get(), b->children_[i].get());
    }
    return true;
}

XMLAttribute* XMLNode::getAttribute(std::wstring_view name) {
    return const_cast<XMLAttribute*>(static_cast<XMLNode const*>(this)->getAttribute(name));
}

XMLAttribute const* XMLNode::getAttribute(std::wstring_view name) const {
    return findNamedObject(attributes_, name);
}

XMLNode* XMLNode::getChild(std::wstring_view name, int index) {
    return const_cast<XMLNode*>(static_cast<XMLNode const*>(this)->getChild(name, index));
}

XMLNode const* XMLNode::getChild(std::wstring_view name, int index) const {
    int wanted = index < 0 ? 0 : index;
    for (auto const& c : children_) {
        if (!name.empty() && c->name_ != name) continue;
        if (wanted == 0) return c.get();
        --wanted;
    }
    return nullptr;
}

u32 XMLNode::getChildCount(std::wstring_view name) const {
    if (name.empty()) return static_cast<u32>(children_.size());
    u32 count = 0;
    for (auto const& c : children_)
        if (c->name_ == name) ++count;
    return count;
}

XMLAttribute* XMLNode::addAttribute(XMLAttribute* attribute) {
    if (attribute) attributes_.emplace_back(attribute);
    return attribute;
}

XMLNode* XMLNode::addChild(XMLNode* child) {
    if (child && child != this) children_.emplace_back(child);
    return child;
}

XMLProperty* XMLNode::addValue(XMLProperty* value) {
    if (value) values_.emplace_back(value);
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
    for (auto it = children_.begin(); it != children_.end(); ++it) {
        if (it->get() == child) {
            std::vector<std::unique_ptr<XMLNode>> doomed;
            doomed.push_back(std::move(*it));
            children_.erase(it);
            destroyTrees(doomed);
            return true;
        }
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
