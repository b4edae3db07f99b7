// The arrangement definition reader: keys in their fixed order, the wish list, then the weights.
// Refused values keep the field as it was and are named in one log line per arrangement.
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "engine/core/Logger.h"
#include "engine/core/XMLNode.h"
#include "engine/render/Spline.h"
#include "game/cards/Anordnung.h"
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

class Reader {
public:
    Reader(Orvex::XMLNode const& node) : node_(node) {}

    std::wstring const* text(std::wstring_view key) const {
        Orvex::XMLAttribute const* attribute = node_.getAttribute(key);
        return attribute ? &attribute->getString() : nullptr;
    }

    // Up to `most` finite numbers; false (and a problem) when absent, empty or not finite.
    bool numbers(std::wstring_view key, std::size_t most, std::vector<float>& out) {
        std::wstring const* value = text(key);
        if (!value) return false;
        out.clear();
        for (std::wstring const& piece : splitBlanks(*value)) {
            if (out.size() == most) break;
            double const number = msvc::wtof(piece);
            if (!std::isfinite(number) || std::fabs(number) > 3.0e38) {
                refuse(key);
                return false;
            }
            out.push_back(static_cast<float>(number));
        }
        if (out.empty()) {
            refuse(key);
            return false;
        }
        return true;
    }

    void readFloat(std::wstring_view key, float& field) {
        std::vector<float> v;
        if (numbers(key, 1, v)) field = v[0];
    }

    void readBool(std::wstring_view key, bool& field) {
        if (std::wstring const* value = text(key)) field = msvc::wtoi(*value) != 0;
    }

    // x, y (= x with one number) and, with a third number, the rotation.
    void readTriple(std::wstring_view key, float& x, float& y, float& rotation) {
        std::vector<float> v;
        if (!numbers(key, 3, v)) return;
        x = v[0];
        y = v.size() > 1 ? v[1] : v[0];
        if (v.size() > 2) rotation = v[2];
    }

    void readStep(std::wstring_view key, std::wstring_view rotationKey, Anordnung::Offset& step) {
        readTriple(key, step.x, step.y, step.rotation);
        readFloat(rotationKey, step.rotation);
    }

    void refuse(std::wstring_view key) { problems_.emplace_back(key); }
    std::vector<std::wstring> const& problems() const { return problems_; }

private:
    Orvex::XMLNode const& node_;
    std::vector<std::wstring> problems_;
};

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
    Reader read(node);

    if (Orvex::XMLNode const* next = node.getChild(L"NEXT")) {
        for (Orvex::XMLProperty const* value : next->values()) {
            if (nextNames.size() >= kMaxNextNames) {
                read.refuse(L"NEXT");
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
    if (std::wstring const* both = read.text(L"SPLINE_START_AT_0_END_AT_END")) {
        std::vector<std::wstring> const flags = splitBlanks(*both);
        if (!flags.empty()) splineStartAtZero = splineEndAtEnd = msvc::wtoi(flags[0]) != 0;
        if (flags.size() > 1) splineEndAtEnd = msvc::wtoi(flags[1]) != 0;
    }
    read.readBool(L"USE_SPLINE_DIRECTION", useSplineDirection);
    read.readFloat(L"SPLINE_ROTATION_OFFSET", splineRotationOffset);
    read.readFloat(L"SPLINE_ROTATION_FAKTOR", splineRotationFactor);
    float power = splinePow;
    read.readFloat(L"SPLINE_POW", power);
    // t^0 and negative powers put every card at one end or at infinity.
    if (power > 0.0f) splinePow = power;
    else read.refuse(L"SPLINE_POW");
    read.readTriple(L"POSITION", position.x, position.y, rotation);
    read.readFloat(L"ROTATION", rotation);
    read.readStep(L"DELTA_VISIBLE", L"DELTA_ROTATION_VISIBLE", deltaVisible);
    read.readStep(L"DELTA_SELECT", L"DELTA_ROTATION_SELECT", deltaSelect);
    read.readStep(L"DELTA_INVISIBLE", L"DELTA_ROTATION_INVISIBLE", deltaInvisible);
    std::vector<float> ratio;
    if (read.numbers(L"CENTER_MODE_VERH", 2, ratio)) {
        centerRatio[0] = ratio[0];
        centerRatio[1] = ratio.size() > 1 ? ratio[1] : ratio[0];
    }
    if (std::wstring const* modes = read.text(L"CENTER_MODE")) {
        std::vector<std::wstring> const words = splitBlanks(*modes);
        for (std::size_t axis = 0; axis < 2 && axis < words.size(); ++axis) {
            int const mode = centerWord(words[axis]);
            if (mode >= 0) centerMode[axis] = mode;
        }
    }
    if (std::wstring const* count = read.text(L"MAX_CARDS")) {
        long long const cardsAllowed = msvc::wtoi(*count);
        if (cardsAllowed == -1 || (cardsAllowed >= 0 && cardsAllowed <= kMaxCards)) {
            maxCards = static_cast<int>(cardsAllowed);
        } else if (cardsAllowed > kMaxCards) {
            maxCards = kMaxCards;
            read.refuse(L"MAX_CARDS");
        } else {
            read.refuse(L"MAX_CARDS");
        }
    }
    read.readBool(L"CARDS_CENTERED_ON_SPLINE", cardsCenteredOnSpline);

    if (Orvex::XMLNode const* list = node.getChild(L"WUENSCHE")) {
        int place = 0;
        for (Orvex::XMLNode const* child : list->children()) {
            if (child->getName() != L"WUNSCH") continue;
            if (place >= kMaxWishes) {
                read.refuse(L"WUNSCH");
                break;
            }
            KartenWunsch wish(*child, place++, options.sourceName);
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

    if (!read.problems().empty()) {
        std::wstring line = L"Anordnung \"" + getName() + L"\"";
        if (!options.sourceName.empty()) line += L" in \"" + options.sourceName + L"\"";
        line += L": refused";
        for (std::wstring const& key : read.problems()) line += L" " + key;
        Orvex::logError(line + L"; kept the values before");
    }
}

}  // namespace Solitaire
