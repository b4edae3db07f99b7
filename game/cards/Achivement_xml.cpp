// An achievement's profile record: "VALUE" and "UNLOCKED".
#include <limits>

#include "engine/core/Logger.h"
#include "engine/core/ReadProblems.h"
#include "engine/core/XMLNode.h"
#include "game/cards/Achivement.h"
#include "game/cards/StatistikNumbers.h"

namespace Solitaire {

void Achivement::readXML(Orvex::XMLNode& node) {
    if (!readProfileEntry(node))
        Orvex::logError(logPrefix({}, node.getLine()) + L"VALUE " + Orvex::quotedPiece(node.getAttributeString(L"VALUE", L"")) +
                        L" is no finite number; the value stays " + numberText(value_));
}

bool Achivement::readProfileEntry(Orvex::XMLNode const& node) {
    bool const valueRead = readFiniteAttribute(node, L"VALUE", -std::numeric_limits<double>::max(), value_);
    unlocked_ = node.getAttributeBool(L"UNLOCKED", unlocked_);
    return valueRead;
}

void Achivement::writeXML(Orvex::XMLNode& node) const {
    node.setAttribute(L"VALUE", numberText(value_));
    node.setAttribute(L"UNLOCKED", unlocked_ ? L"1" : L"0");
}

}  // namespace Solitaire
