// Copying what a shape keeps of a stored sub-tree (XMLShape.h).
#include "engine/core/XMLShape.h"

#include <algorithm>
#include <bitset>
#include <string>
#include <vector>

#include "engine/core/ReadProblems.h"
#include "engine/core/XMLNode.h"

namespace Orvex {

void XMLShape::LeftOut::add(XMLText const& name, u32 line) {
    // Only the first is named: a file of millions costs a count.
    if (count_++ > 0) return;
    first_ = quotedPiece(name);
    line_ = line;
}

std::wstring XMLShape::LeftOut::told(std::wstring_view what) const {
    if (count_ == 0) return L"";
    return L"left out: " + std::to_wstring(count_) + L" " + std::wstring(what) + L" (the first " + first_ +
           atLine(line_) + L")";
}

std::size_t XMLShape::elementCost(std::size_t nameLength) const {
    std::size_t cost = XMLNode::elementCost(nameLength);
    for (Written const& attribute : written) cost += XMLNode::attributeCost(attribute.name.size(), attribute.length);
    cost += writtenValues * XMLNode::valueCost(writtenValueLength);
    for (Child const& child : children)
        if (child.written) cost += child.shape->elementCost(child.name.size());
    return cost;
}

std::size_t XMLShape::keep(XMLNode const& from, XMLNode& to, KeepBudget& budget) const {
    to.clear();
    if (!budget.take(elementCost(XMLNode::savedUnits(from.name())))) return 1;
    to.setName(from.name().toString());
    to.line_ = from.line_;
    return keepContent(from, &to, budget);
}

std::size_t XMLShape::measure(XMLNode const& from, KeepBudget& budget) const {
    if (!budget.take(elementCost(XMLNode::savedUnits(from.name())))) return 1;
    return keepContent(from, nullptr, budget);
}

std::size_t XMLShape::keepContent(XMLNode const& from, XMLNode* to, KeepBudget& budget) const {
    std::size_t leftOut = 0;
    std::bitset<kMaxAttributes> taken;
    for (XMLAttribute const* attribute : from.attributes()) {
        std::size_t key = 0;
        while (key < attributes.size() && key < kMaxAttributes && !(attribute->name() == attributes[key])) ++key;
        auto const chargedAsWritten = [&] {
            return std::any_of(written.begin(), written.end(), [&](Written const& w) { return w.name == attributes[key]; });
        };
        if (key == attributes.size() || key == kMaxAttributes || taken[key] || attribute->text().longerThan(maxText) ||
            (!chargedAsWritten() &&
             !budget.take(XMLNode::attributeCost(attributes[key].size(), XMLNode::savedUnits(attribute->text()))))) {
            ++leftOut;
            continue;
        }
        taken[key] = true;
        if (to) to->addAttribute(new XMLAttribute(std::wstring(attributes[key]), attribute->text().toString()));
    }
    u32 values = 0;
    for (XMLProperty const* value : from.values()) {
        // The first of the written values were charged with the element.
        if (values == maxValues || value->text().longerThan(maxText) ||
            (values >= writtenValues && !budget.take(XMLNode::valueCost(XMLNode::savedUnits(value->text()))))) {
            ++leftOut;
            continue;
        }
        ++values;
        if (to) to->addValue(value->text().toString());
    }
    std::vector<u32> kept(children.size(), 0);
    for (XMLNode const* child : from.children()) {
        std::size_t which = 0;
        while (which < children.size() && !(child->name() == children[which].name)) ++which;
        if (which < children.size() && children[which].dropped && children[which].dropped(*child)) continue;
        // The first of a written kind was charged with the element.
        if (which == children.size() || kept[which] == children[which].maxCount ||
            (!(children[which].written && kept[which] == 0) &&
             !budget.take(children[which].shape->elementCost(children[which].name.size())))) {
            ++leftOut;
            continue;
        }
        ++kept[which];
        XMLNode* copy = nullptr;
        if (to) {
            copy = to->addChild(std::wstring(children[which].name));
            copy->line_ = child->line_;
        }
        leftOut += children[which].shape->keepContent(*child, copy, budget);
    }
    return leftOut;
}

}  // namespace Orvex
