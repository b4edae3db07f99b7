// One highscore entry of a variant: the player's profile name (the object's name), the score, the
// local date and time of the result, the game's name and the statistics of that game. Written as
// a "HIGHSCORE" element: "NAME", "GAME_NAME", "SCORE", "DATE" ("hour minute day month year") and
// an optional child "STATISTIK".
//
// Reading is untrusted: a "SCORE" that is absent reads as 0, one that is no number within float's
// range reads as 0 and is a problem; each "DATE" piece that is missing keeps the current time's
// value, and so does one that is not a number or out of its range (hour 0-23, minute 0-59, day
// 1-31, month 1-12, year kFirstYear-kLastYear), which is a problem. "NAME" and "GAME_NAME" keep
// their first kMaxText characters (a longer one is a problem), and the statistics their counters
// under the name the game gives a result's, so an entry is written back no larger than the game
// would write it.
#pragma once

#include <string>

#include "engine/core/NamedObject.h"
#include "engine/core/Types.h"

namespace Orvex {
class ReadProblems;
}

namespace Solitaire {

class Statistik;

class HighscoreEintrag : public Orvex::NamedObject {
public:
    // The years a date may hold (those of the system's date record).
    static constexpr int kFirstYear = 1601;
    static constexpr int kLastYear = 30827;
    static constexpr std::size_t kMaxText = 256;

    // A new result, dated now; statistics may be null, else the entry takes its own reference.
    HighscoreEintrag(std::wstring const& player, float score, std::wstring const& gameName, Statistik* statistik);
    // From a "HIGHSCORE" element; the statistics, when present, are the entry's own (not active).
    // Refused values join problems when given.
    explicit HighscoreEintrag(Orvex::XMLNode& node, Orvex::ReadProblems* problems = nullptr);
    ~HighscoreEintrag() override;

    void writeXML(Orvex::XMLNode& node) const override;

    float getScore() const { return score_; }
    std::wstring const& getGameName() const { return gameName_; }
    Statistik* getStatistik() const { return statistik_; }
    int getDay() const { return day_; }
    int getMonth() const { return month_; }
    int getYear() const { return year_; }
    int getHour() const { return hour_; }
    int getMinute() const { return minute_; }

    // The list order: the greater score first (used with a stable sort).
    static bool compare(HighscoreEintrag const* a, HighscoreEintrag const* b) { return a->score_ > b->score_; }
    // Its element held a longer text than the entry keeps.
    bool cutOnRead() const { return cutOnRead_; }

private:
    void stampNow();

    float score_ = 0.0f;
    int day_ = 0, month_ = 0, year_ = 0, hour_ = 0, minute_ = 0;
    Statistik* statistik_ = nullptr;
    std::wstring gameName_;
    bool cutOnRead_ = false;
};

}  // namespace Solitaire
