// A star goal of a catalogue variant: a small polymorphic test of the running or finished game
// (GameEndParms), with a text id and a progress text for the HUD. Nine kinds, each in its own
// header (LevelGoal_*.h); a variant holds exactly three, one per star.
//
// Numbers: targets stay as the file wrote them and comparisons are ordinary, so a NaN target is
// never reached, nor is a ratio goal whose ratio is not finite. Only where a float becomes an
// integer (progress texts, the ratio goals' percentages) is it clamped into the 32-bit range first,
// NaN counting as 0 in texts. Texts write unsigned decimal numbers without grouping.
//
// LevelGoal.cpp: every kind, the number helpers and the factory from a "GOAL" element.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "engine/core/Types.h"

namespace Orvex {
class XMLNode;
}

namespace Solitaire {

struct GameEndParms;

class LevelGoal {
public:
    // star: 0 .. 2, the goal's star (a filler gets its place in the list).
    explicit LevelGoal(int star) : star_(star) {}
    // Goals are held and deleted through this base.
    virtual ~LevelGoal() = default;

    virtual std::wstring getTextId() const = 0;
    // Fills out with the progress text and returns it.
    virtual std::wstring& formatProgress(std::wstring& out, GameEndParms const& parms) const = 0;
    virtual bool isReached(GameEndParms const& parms) const = 0;
    // Only the filler answers true: the variant then counts it as "every real goal reached".
    virtual bool isNothing() const { return false; }

    int getStar() const { return star_; }

    // The goal of a "TYPE" word (an alias included) read from node, or null for an unknown word.
    static std::unique_ptr<LevelGoal> create(std::wstring_view type, Orvex::XMLNode const* node, int star);

    // The shared number rules (see the top of this file).
    // A float shown as an unsigned integer: truncated, NaN and below 0 as 0, above as the top.
    static Orvex::u32 shownNumber(float value);
    // trunc(ratio x 100) in float arithmetic, clamped to the 32-bit signed range.
    static Orvex::s32 percent(float ratio);
    static std::wstring text(Orvex::u32 value) { return std::to_wstring(value); }

private:
    int star_;
};

}  // namespace Solitaire
