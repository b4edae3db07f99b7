// A wish of a variant definition: a request for a particular card at a place of an arrangement,
// honoured by the deal. Read from a "WUNSCH" element.
#pragma once

#include <string>

#include "port/d3dx9/d3dx9math.h"

namespace Orvex {
class XMLNode;
}

namespace Solitaire {

class ReadProblems;

class KartenWunsch {
public:
    static constexpr int kColourAll = 9;  // "ALLES"
    static constexpr int kValueAll = 17;  // "ALLES"
    static constexpr int kColourExtra = 4;
    // Places beyond this are refused (an arrangement holds at most so many cards).
    static constexpr int kMaxPosition = 4096;

    // Defaults; the place is the given index, the wish id the next program-wide number.
    explicit KartenWunsch(int const& place = 0);
    // Reads "FARBE", "WERT", "POSITION", "VISIBLE", "USERNAME", "IS_WILDCARD_PROP",
    // "IS_JOKER_PROP", "LOCK", "KEY"; refused values keep their defaults and go to problems.
    KartenWunsch(Orvex::XMLNode const& node, int const& place, ReadProblems& problems);

    // Colour 9, value 17, not visible, no keys or locks, both probabilities -1.
    bool isNeutral() const;
    bool hasKeysOrLocks() const;

    int colourRule = kColourAll;
    int valueRule = kValueAll;
    int position = 0;
    bool visible = false;
    D3DXVECTOR4 keys{0.0f, 0.0f, 0.0f, 0.0f};
    D3DXVECTOR4 locks{0.0f, 0.0f, 0.0f, 0.0f};
    float wildcardProp = -1.0f;
    float jokerProp = -1.0f;
    int wishId = 0;
    std::wstring userName;

private:
    static int nextWishId();
};

}  // namespace Solitaire
