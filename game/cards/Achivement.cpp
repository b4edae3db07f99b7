// An achievement's definition, medals and progress.
#include "game/cards/Achivement.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/core/Logger.h"
#include "engine/core/XMLNode.h"
#include "game/cards/StatistikNumbers.h"

namespace Solitaire {

namespace {

// "GOALS" pieces past the gold threshold are ignored.
constexpr std::size_t kGoalCount = 3;

std::wstring const& emptyText() {
    static std::wstring const empty;
    return empty;
}

}  // namespace

Achivement::Achivement(Orvex::XMLNode& node, std::wstring const& source) : NamedObject(node) {
    readGoals(node, source);
    unlocked_ = unlockedByDefault_ = node.getAttributeBool(L"UNLOCKED", false);
    addPrefix_ = node.getAttributeBool(L"ADD_PRE", true);
    addSuffix_ = node.getAttributeBool(L"ADD_POST", true);
    if (Orvex::XMLNode const* names = node.getChild(L"NAMEN")) {
        for (Orvex::XMLProperty const* alias : names->values()) {
            if (aliases_.size() == kMaxAliases) {
                Orvex::logError(logPrefix(source) + L"more than " + std::to_wstring(kMaxAliases) +
                                L" names in NAMEN; the rest are ignored");
                break;
            }
            aliases_.push_back(alias->getStringCopy());
        }
    }
    if (Orvex::XMLNode const* ids = node.getChild(L"POST_TEXT_ID")) {
        int level = 0;
        for (Orvex::XMLProperty const* id : ids->values()) {
            if (level == kMedalLevels) break;
            postTextIds_[level++] = id->getStringCopy();
        }
    }
}

Achivement::~Achivement() = default;

std::wstring Achivement::logPrefix(std::wstring const& source, Orvex::u32 line) const {
    return L"Achievement \"" + getName() + L"\"" + (source.empty() ? L"" : L" (" + source + L")") +
           Orvex::atLine(line) +
           L": ";
}

void Achivement::readGoals(Orvex::XMLNode const& node, std::wstring const& source) {
    Orvex::XMLAttribute const* goals = node.getAttribute(L"GOALS");
    if (!goals) return;
    std::vector<float> pieces;
    bool broken = false;
    Orvex::XMLValueTokens const tokens = goals->split(L" ");
    for (Orvex::u32 i = 0; i < tokens.size() && pieces.size() < kGoalCount; ++i) {
        auto const value = parseFiniteText(tokens.get(i)->getString());
        bool const fits = value && std::fabs(*value) <= std::numeric_limits<float>::max();
        broken |= !fits;
        pieces.push_back(fits ? static_cast<float>(*value) : 0.0f);
    }
    if (pieces.empty()) return;
    // One number serves all medals; two give bronze, then silver and gold.
    thresholds_ = {pieces[0], pieces[std::min<std::size_t>(1, pieces.size() - 1)], pieces.back()};
    bool const falling = !std::is_sorted(thresholds_.begin(), thresholds_.end());
    if (falling) std::sort(thresholds_.begin(), thresholds_.end());
    if (broken || falling)
        Orvex::logError(logPrefix(source) + L"GOALS \"" + goals->getStringCopy() + L"\"" +
                        (broken ? L" holds a piece that is no finite number (read as 0)" : L"") +
                        (falling ? L" falls; the thresholds are used in rising order" : L""));
}

AchivementMedal Achivement::medalFor(float value) const {
    if (!unlocked_) return MEDAL_NONE;
    for (int medal = MEDAL_GOLD; medal >= MEDAL_BRONZE; --medal) {
        float const threshold = thresholds_[medal - 1];
        if (threshold > 0.0f && value >= threshold) return static_cast<AchivementMedal>(medal);
    }
    return MEDAL_NONE;
}

AchivementMedal Achivement::getMedal() const { return medalFor(value_); }

void Achivement::setValue(float value) {
    if (!std::isfinite(value)) {
        Orvex::logError(logPrefix({}) + L"the value " + numberText(value) +
                        L" is no finite number; it stays " + numberText(value_));
        return;
    }
    AchivementMedal const before = getMedal();
    value_ = value;
    AchivementMedal const after = getMedal();
    if (after != before) medalChanged.emit(*this, after);
}

float Achivement::getProgressPercent() const {
    if (!unlocked_) return 0.0f;
    bool anyGoal = false;
    for (float const threshold : thresholds_) {
        if (!(threshold > 0.0f)) continue;
        anyGoal = true;
        if (value_ < threshold) return std::clamp(value_ / threshold * 100.0f, 0.0f, 100.0f);
    }
    return anyGoal ? 100.0f : 0.0f;
}

float Achivement::getThreshold(AchivementMedal medal) const {
    return medal >= MEDAL_BRONZE && medal <= MEDAL_GOLD ? thresholds_[medal - 1] : 0.0f;
}

std::wstring const& Achivement::getPostTextId(int medal) const {
    return medal >= 0 && medal < kMedalLevels ? postTextIds_[medal] : emptyText();
}

void Achivement::reset() {
    value_ = 0.0f;
    unlocked_ = unlockedByDefault_;
}

}  // namespace Solitaire
