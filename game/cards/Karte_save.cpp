// The card's part of the running-game save: its face, locks and keys as they will end (goals,
// pending ones first), and the wildcard and joker flags, which the new deal chose by chance, with
// whether the player laid such a card off its pile.
// Numbers are written with the digits that read back exactly.
#include <cmath>
#include <string>

#include "engine/core/XMLNode.h"
#include "game/cards/Karte.h"
#include "game/cards/RunningGameLoad.h"
#include "game/cards/StatistikNumbers.h"
#include "game/look/Style.h"
#include "game/look/StyleSettings.h"

namespace Solitaire {

namespace {

std::wstring quadText(D3DXVECTOR4 const& value) {
    float const parts[4] = {value.x, value.y, value.z, value.w};
    std::wstring text;
    for (float part : parts) {
        if (!text.empty()) text += L' ';
        text += numberText(part);
    }
    return text;
}

// Up to four numbers split at blanks, missing ones 0; any that does not read refuses the whole.
bool readQuad(Orvex::XMLNode const& node, std::wstring_view key, D3DXVECTOR4& out, RunningGameLoad& load) {
    Orvex::XMLAttribute const* attribute = node.getAttribute(key);
    if (!attribute) return false;
    Orvex::XMLValueTokens const pieces = attribute->split(L" ");
    float parts[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    int taken = 0;
    for (unsigned i = 0; i < pieces.getCount() && taken < 4; ++i) {
        std::wstring const& piece = pieces.get(i)->getString();
        if (piece.empty()) continue;
        auto const number = parseFiniteText(piece);
        if (!number || !std::isfinite(static_cast<float>(*number))) {
            load.problems.add(L"\"" + std::wstring(key) + L"\" " + Orvex::quotedPiece(attribute->text()) + L" is not a number list", node.getLine());
            return false;
        }
        parts[taken++] = static_cast<float>(*number);
    }
    out = D3DXVECTOR4(parts[0], parts[1], parts[2], parts[3]);
    return true;
}

}  // namespace

void Karte::saveState(Orvex::XMLNode& node) const {
    node.setAttribute(L"VISIBLE", isFaceUp() ? L"1" : L"0");
    node.setAttribute(L"LOCK", quadText((pendingMask & kPendingLocks) ? pending.locks : locks.goal));
    node.setAttribute(L"KEY", quadText((pendingMask & kPendingKeys) ? pending.keys : keys.goal));
    if (isWildcard) node.setAttribute(L"WILDCARD", L"1");
    if (isJoker) node.setAttribute(L"JOKER", L"1");
    if (laid) node.setAttribute(L"LAID", L"1");
}

void Karte::loadState(Orvex::XMLNode const& node, RunningGameLoad& load) {
    Style const* current = StyleSettings::instance().getStyle();
    float const speed = current ? current->arrangeSpeed : 0.0f;
    if (node.getAttribute(L"VISIBLE")) setFaceUp(node.getAttributeInt(L"VISIBLE", 0) != 0, speed, 0.0f);
    D3DXVECTOR4 quad;
    if (readQuad(node, L"LOCK", quad, load)) setLocks(quad, 0.0f, 0.0f);
    if (readQuad(node, L"KEY", quad, load)) setKeys(quad, 0.0f, 0.0f);
    if (node.getAttribute(L"WILDCARD")) isWildcard = node.getAttributeInt(L"WILDCARD", 0) != 0;
    if (node.getAttribute(L"JOKER")) isJoker = node.getAttributeInt(L"JOKER", 0) != 0;
    if (node.getAttribute(L"LAID")) laid = node.getAttributeInt(L"LAID", 0) != 0;
}

}  // namespace Solitaire
