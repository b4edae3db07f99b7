// One achievement: a named counter with up to three medal thresholds (bronze, silver, gold),
// defined by an element "ACHIVEMENT" of the achievement file and counted by the game by name.
// A medal change emits medalChanged; the profile stores the value and the unlocked flag.
//
// Definition element: "NAME" (the key), "GOALS" (one to three thresholds: one number serves all
// three, two give bronze and then silver = gold), "UNLOCKED", "ADD_PRE", "ADD_POST", and the
// child elements "NAMEN" (alias names, values) and "POST_TEXT_ID" (text ids for medal levels 0
// to 3, values).
//
// Thresholds: only a threshold above 0 awards its medal (an achievement without "GOALS" would
// otherwise be gold at 0). Thresholds that are not finite numbers, or that fall from bronze to
// gold, are data errors: one log line, and they are read as 0 or put in rising order.
// Values: a value that is not finite is refused (nan would swallow every later count).
//
// Achivement.cpp: definition, medals, progress; Achivement_xml.cpp: the profile record.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "engine/core/NamedObject.h"
#include "signals/sigslot.h"

namespace Solitaire {

enum AchivementMedal : int {
    MEDAL_NONE = 0,
    MEDAL_BRONZE = 1,
    MEDAL_SILVER = 2,
    MEDAL_GOLD = 3,
};

class Achivement : public Orvex::NamedObject {
public:
    static constexpr wchar_t const* kElementName = L"ACHIVEMENT";
    // Alias names kept per achievement; further ones are dropped with a log line.
    static constexpr std::size_t kMaxAliases = 64;
    static constexpr int kMedalLevels = 4;

    // From a definition element (see the top of this file); source names the element in log
    // lines (file and place).
    explicit Achivement(Orvex::XMLNode& node, std::wstring const& source = {});
    ~Achivement() override;

    // 0 while locked; else the highest medal whose threshold is above 0 and reached.
    AchivementMedal getMedal() const;
    // Stores the value; when the medal changes, emits medalChanged with the new medal (also
    // when it falls). A value that is not finite is refused with a log line.
    void setValue(float value);
    float getValue() const { return value_; }

    // Percent of the way to the next medal (0 to 100): 100 at gold, 0 while locked or when the
    // next threshold is not above 0.
    float getProgressPercent() const;

    // Bronze, silver, gold.
    float getThreshold(AchivementMedal medal) const;
    bool isUnlocked() const { return unlocked_; }
    bool isUnlockedByDefault() const { return unlockedByDefault_; }
    bool getAddPrefix() const { return addPrefix_; }
    bool getAddSuffix() const { return addSuffix_; }
    // The text id for a medal level; empty when not given or out of range.
    std::wstring const& getPostTextId(int medal) const;
    std::vector<std::wstring> const& getAliases() const { return aliases_; }

    // Value 0, unlocked flag as defined; no signal.
    void reset();

    // Profile record: "VALUE" and "UNLOCKED" when present; no signal. A "VALUE" that is not a
    // finite number keeps the value, with one log line.
    void readXML(Orvex::XMLNode& node) override;
    // readXML without the log line: false when "VALUE" was present but unreadable.
    bool readProfileEntry(Orvex::XMLNode const& node);
    // Adds "VALUE" (reading back to the same float) and "UNLOCKED" (0 or 1).
    void writeXML(Orvex::XMLNode& node) const override;

    sigslot::signal2<Achivement&, AchivementMedal const&> medalChanged;

private:
    void readGoals(Orvex::XMLNode const& node, std::wstring const& source);
    // The start of a log line about this achievement; line: of its element, when known.
    std::wstring logPrefix(std::wstring const& source, Orvex::u32 line = 0) const;
    AchivementMedal medalFor(float value) const;

    std::array<float, 3> thresholds_{};
    float value_ = 0.0f;
    bool unlocked_ = false;
    bool unlockedByDefault_ = false;
    bool addPrefix_ = true;
    bool addSuffix_ = true;
    std::array<std::wstring, kMedalLevels> postTextIds_;
    std::vector<std::wstring> aliases_;
};

}  // namespace Solitaire
