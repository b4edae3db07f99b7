// The arrangement definition reader: keys in their fixed order, the wish list, then the weights.
// Refused values keep the field as it was and are named in one log line per arrangement.
#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "engine/core/XMLNode.h"
#include "engine/render/Spline.h"
#include "game/cards/Anordnung.h"
#include "game/look/ReadProblems.h"
#include "port/crt/crt.h"

namespace Solitaire {

namespace {

// "NEXT" names kept per arrangement.
constexpr std::size_t kMaxNextNames = 64;

std::vector<std::wstring> splitBlanks(std::wstring const& text) {
    std::vector<std::wstring> pieces;
    std::wstring piece;
    for (wchar_t c : text) {
        if (c == L' ' || c == L'\t') {
            if (!piece.empty()) pieces.push_back(std::move(piece));
            piece.clear();
        } else {
            piece += c;
        }
    }
    if (!piece.empty()) pieces.push_back(std::move(piece));
    return pieces;
}

// x, y (= x with one number) and, with a third number, the rotation; all within kMaxMeasure or
// none taken.
void readTriple(Orvex::XMLNode const& node, std::wstring_view key, float& x, float& y, float& rotation,
                ReadProblems& problems) {
    std::wstring const* text = attributeText(node, key);
    if (!text) return;
    std::vector<std::wstring> const pieces = splitBlanks(*text);
    if (pieces.empty()) return;
    float v[3] = {0.0f, 0.0f, 0.0f};
    std::size_t const n = std::min<std::size_t>(pieces.size(), 3);
    for (std::size_t i = 0; i < n; ++i) {
        auto const number = static_cast<float>(msvc::wtof(pieces[i]));
        if (!(std::fabs(number) <= kMaxMeasure)) {
            problems.add(Orvex::refusedNumbers(key, *text, -kMaxMeasure, kMaxMeasure), node.getLine());
            return;
        }
        v[i] = number;
    }
    x = v[0];
    y = n > 1 ? v[1] : v[0];
    if (n > 2) rotation = v[2];
}

void readStep(Orvex::XMLNode const& node, std::wstring_view key, std::wstring_view rotationKey,
              Anordnung::Offset& step, ReadProblems& problems) {
    readTriple(node, key, step.x, step.y, step.rotation, problems);
    readMeasure(node, rotationKey, step.rotation, problems);
}

int centerWord(std::wstring const& word) {
    if (word == L"MIN") return Anordnung::kCenterMin;
    if (word == L"MEDIAN") return Anordnung::kCenterMedian;
    if (word == L"MAX") return Anordnung::kCenterMax;
    if (word == L"VERH") return Anordnung::kCenterRatio;
    return -1;
}

}  // namespace

void Anordnung::loadDefinition(Orvex::XMLNode& node, AnordnungReadOptions const& options) {
    Orvex::NamedObject::readXML(node);
    ReadProblems problems;

    if (Orvex::XMLNode const* next = node.getChild(L"NEXT")) {
        for (Orvex::XMLProperty const* value : next->values()) {
            if (nextNames.size() >= kMaxNextNames) {
                problems.add(L"more than " + std::to_wstring(kMaxNextNames) + L" \"NEXT\" names");
                break;
            }
            nextNames.insert(value->getStringCopy());
        }
    }
    if (Orvex::XMLNode* definition = node.getChild(L"SPLINE")) {
        Orvex::Spline* const built = new Orvex::Spline(*definition, options.sourceName);
        if (spline) spline->release();
        spline = built;
    }
    if (std::wstring const* both = attributeText(node, L"SPLINE_START_AT_0_END_AT_END")) {
        std::vector<std::wstring> const flags = splitBlanks(*both);
        if (!flags.empty()) splineStartAtZero = splineEndAtEnd = msvc::wtoi(flags[0]) != 0;
        if (flags.size() > 1) splineEndAtEnd = msvc::wtoi(flags[1]) != 0;
    }
    readBool(node, L"USE_SPLINE_DIRECTION", useSplineDirection);
    // The card's turn on a spline: the direction times the factor, plus the offset, as "ROTATION" is.
    readMeasure(node, L"SPLINE_ROTATION_OFFSET", splineRotationOffset, problems);
    readMeasure(node, L"SPLINE_ROTATION_FAKTOR", splineRotationFactor, problems);
    float power = splinePow;
    readFloat(node, L"SPLINE_POW", power, problems);
    // t^0 and negative powers would put every card at one end or at infinity.
    if (power > 0.0f) splinePow = power;
    else problems.add(L"\"SPLINE_POW\" is not above 0");
    readTriple(node, L"POSITION", position.x, position.y, rotation, problems);
    readMeasure(node, L"ROTATION", rotation, problems);
    readStep(node, L"DELTA_VISIBLE", L"DELTA_ROTATION_VISIBLE", deltaVisible, problems);
    readStep(node, L"DELTA_SELECT", L"DELTA_ROTATION_SELECT", deltaSelect, problems);
    readStep(node, L"DELTA_INVISIBLE", L"DELTA_ROTATION_INVISIBLE", deltaInvisible, problems);
    D3DXVECTOR2 ratio{centerRatio[0], centerRatio[1]};
    // The share between the ends is a factor of their distance, as a step is.
    readMeasurePair(node, L"CENTER_MODE_VERH", ratio, problems);
    centerRatio[0] = ratio.x;
    centerRatio[1] = ratio.y;
    if (std::wstring const* modes = attributeText(node, L"CENTER_MODE")) {
        std::vector<std::wstring> const words = splitBlanks(*modes);
        for (std::size_t axis = 0; axis < 2 && axis < words.size(); ++axis) {
            int const mode = centerWord(words[axis]);
            if (mode >= 0) centerMode[axis] = mode;
        }
    }
    readInt(node, L"MAX_CARDS", maxCards, -1, kMaxCards, problems);
    readBool(node, L"CARDS_CENTERED_ON_SPLINE", cardsCenteredOnSpline);

    if (Orvex::XMLNode const* list = node.getChild(L"WUENSCHE")) {
        int place = 0;
        for (Orvex::XMLNode const* child : list->children()) {
            if (child->getName() != L"WUNSCH") continue;
            if (place >= kMaxWishes) {
                problems.add(L"more than " + std::to_wstring(kMaxWishes) + L" wishes");
                break;
            }
            KartenWunsch wish(*child, place++, problems);
            if (options.removeExtraWishes && wish.colourRule == KartenWunsch::kColourExtra) {
                wish.colourRule = KartenWunsch::kColourAll;
                wish.valueRule = KartenWunsch::kValueAll;
            }
            if (options.removeKeyLockWishes && wish.hasKeysOrLocks()) {
                wish.keys = D3DXVECTOR4(0.0f, 0.0f, 0.0f, 0.0f);
                wish.locks = D3DXVECTOR4(0.0f, 0.0f, 0.0f, 0.0f);
            }
            if (wish.isNeutral()) continue;
            // A later wish for the same place replaces the earlier one (also a template's).
            for (std::size_t i = wishes.size(); i-- > 0;) {
                if (wishes[i].position == wish.position) wishes.erase(wishes.begin() + static_cast<std::ptrdiff_t>(i));
            }
            appendWish(wish);
        }
    }
    computeSplineWeights();
    problems.log(L"Anordnung \"" + getName() + L"\"", options.sourceName, node.getLine());
}

}  // namespace Solitaire
