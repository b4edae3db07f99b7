// Reading a "GAMESTYLE" element: points (long keys before their aliases), limits and prices, the
// two play modes, the "SOUNDS" names and the "STARTPOSITION" records.
#include <string>

#include "engine/core/XMLNode.h"
#include "engine/core/XMLProperty.h"
#include "game/look/GameStyle.h"
#include "game/look/ReadProblems.h"

namespace Solitaire {

namespace {

// Points: the long key when present, else the alias.
void readPoints(Orvex::XMLNode const& node, wchar_t const* key, wchar_t const* alias, float& value,
                ReadProblems& problems) {
    float const limit = GameStyle::kMaxPoints;
    readFloat(node, node.getAttribute(key) || !alias ? key : alias, value, -limit, limit, problems);
}

void readCount(Orvex::XMLNode const& node, wchar_t const* key, unsigned& value, ReadProblems& problems) {
    int read = static_cast<int>(value);
    readInt(node, key, read, 0, GameStyle::kMaxCount, problems);
    value = static_cast<unsigned>(read);
}

// "POSITION_REL": a sets the first two, b the second, c the third and fourth, d the fourth. A
// number beyond kMaxMeasure refuses the list, which leaves the record as it was.
void readStartPosition(Orvex::XMLNode const& child, D3DXVECTOR4& record, ReadProblems& problems) {
    float numbers[4];
    std::size_t const count = readMeasures(child, L"POSITION_REL", numbers, problems);
    float* const fields[4] = {&record.x, &record.y, &record.z, &record.w};
    constexpr int kFirst[4] = {0, 1, 2, 3};
    constexpr int kLast[4] = {1, 1, 3, 3};
    for (std::size_t t = 0; t < count; ++t)
        for (int c = kFirst[t]; c <= kLast[t]; ++c) *fields[c] = numbers[t];
}

}  // namespace

void GameStyle::readXML(Orvex::XMLNode& node) { readXML(node, std::wstring()); }

void GameStyle::readXML(Orvex::XMLNode& node, std::wstring const& sourceName) {
    ReadProblems problems;
    readPoints(node, L"UNDO_PENALTY", L"UNDO", undoPoints, problems);
    readPoints(node, L"WRONG_DBL_PENALTY", L"WRONG_DBLCLICK", wrongDoubleClickPoints, problems);
    readPoints(node, L"MOVE_ON_ZIEL", nullptr, moveOnZiel, problems);
    readPoints(node, L"MOVE_FROM_ZIEL_PENALTY", L"MOVE_FROM_ZIEL", moveFromZiel, problems);
    readPoints(node, L"WIN", nullptr, winBonus, problems);
    readPoints(node, L"MISCHEN_PENALTY", L"MISCHEN", mischenPoints, problems);
    readPoints(node, L"TIPP_PENALTY", L"TIPP", tippPoints, problems);
    readFloat(node, L"MULTIPLIER_BONUS", multiplierBonus, -kMaxMultiplierBonus, kMaxMultiplierBonus, problems);
    readCount(node, L"MIN_MULTIPLIERS_FOR_BONUS", minMultipliers, problems);
    readCount(node, L"MAX_MULTIPLIERS_FOR_BONUS", maxMultipliers, problems);
    readBool(node, L"AUTO_MULTIPLIER", autoMultiplier);
    readFloat(node, L"SCORE_DOWN_MULTIPLIER", scoreDownMultiplier, -kMaxPoints, kMaxPoints, problems);
    // Any negative maximum is no limit.
    readInt(node, L"MAX_WILDCARDS", maxWildcards, -kMaxCount, kMaxCount, problems);
    readInt(node, L"MAX_JOKERS", maxJokers, -kMaxCount, kMaxCount, problems);
    readInt(node, L"MAX_WILDCARDS_JOKERS", maxWildcardsJokers, -kMaxCount, kMaxCount, problems);
    // A negative price would pay the player for buying.
    readInt(node, L"PRICE_WILDCARD", priceWildcard, 0, kMaxCount, problems);
    readInt(node, L"PRICE_JOKER", priceJoker, 0, kMaxCount, problems);
    readPoints(node, L"START_SCORE", nullptr, startScore, problems);
    readBool(node, L"CAN_REMOVE_TOP_CARDS_ONLY", canRemoveTopCardsOnly);
    // The words compare exactly; any other word is the normal mode.
    if (std::wstring const* word = attributeText(node, L"MOUSE_CONTROL_MODE")) mouseControlMode = *word == L"PAIRS" ? kMouseControlPairs : 0;
    if (std::wstring const* word = attributeText(node, L"SHOW_TIP_STYLE"))
        tipStyle = *word == L"ONLY_CARDS_NOT_STAPEL" ? kTipCardsOnly : 0;

    if (Orvex::XMLNode const* soundNode = node.getChild(L"SOUNDS")) {
        for (int i = 0; i < kSoundCount; ++i)
            if (std::wstring const* name = attributeText(*soundNode, soundKey(i))) sounds[i] = *name;
    }
    for (Orvex::XMLNode const* child : node.children()) {
        if (child->getName() != L"STARTPOSITION") continue;
        if (startPositions.size() == kMaxStartPositions) {
            problems.add(L"more than " + std::to_wstring(kMaxStartPositions) + L" \"STARTPOSITION\" elements",
                         child->getLine());
            break;
        }
        D3DXVECTOR4 record{0.5f, 0.5f, 0.0f, 0.0f};
        readStartPosition(*child, record, problems);
        startPositions.push_back(record);
    }
    problems.log(L"Game style \"" + getName() + L"\"", sourceName, node.getLine());
}

}  // namespace Solitaire
