// A page of a user tutorial ("TUTORIAL_PAGE"): a copy of an engine page template ("PAGE") added
// to the tutorial's strip, whose text it supplies from its text entries; arrows from the point
// template "PFEIL_VORLAGE_START" to "PFEIL_VORLAGE_GOAL" at every pile of the pile type
// "STAPEL_TYP"; and the text entries ("TEXT": "TEXT_ID", "USE_MODE", "TEXT_PART" children with
// "TEXT_ID" or a literal "TEXT"), each a language text used as a format for its parts (at most
// kMaxParts; more give an empty text). "USE_MODE" words: "SHORT" (1), "LONG" (2), "ALL"; when
// given the mask starts empty, so unknown words leave it at 0.
//
// The strip shows the long texts of every entry (a line break after each, empty ones too);
// the short and long texts for the screens leave out pages and entries whose mask lacks the use.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "engine/core/CountedRef.h"
#include "engine/core/NamedObject.h"
#include "game/look/ReadProblems.h"
#include "game/story/SolTutorialManager.h"

namespace Orvex {
class TutorialPage;
class TutorialStrip;
}  // namespace Orvex

namespace Solitaire {

class SolTutorialManager::UserTutorialPage : public Orvex::NamedObject {
public:
    static constexpr int kShort = 1;
    static constexpr int kLong = 2;
    static constexpr int kAll = -1;
    static constexpr std::size_t kMaxParts = 4;
    static constexpr std::size_t kMaxEntries = 64;

    struct TextPart {
        std::wstring string;
        bool isTextId = false;
    };
    struct TextEntry {
        std::vector<TextPart> parts;
        std::wstring textId;
        int useMode = kAll;
        // The language text of textId formatted with the parts; empty when the mask lacks the
        // use, the text is unknown or there are more than kMaxParts parts.
        std::wstring getText(bool longText) const;
    };

    // Builds the page into the strip (null: the tutorial has no strip, and the page no picture).
    UserTutorialPage(Orvex::XMLNode& node, Orvex::TutorialStrip* strip, ReadProblems& problems);
    ~UserTutorialPage() override;

    std::wstring getText(bool longText) const;
    // Clears the page's arrows and adds one at each pile of the type (nothing without type, page
    // or point templates).
    void placePileArrows();
    // The strip's text hook: the long texts for this page's picture.
    void onPageText(Orvex::TutorialPage& page, std::wstring const& textId, std::wstring& text, bool& useTextId);

    bool hasPileType = false;
    int pileType = 0;
    std::vector<TextEntry> entries;
    Orvex::CountedRef<Orvex::TutorialPage> tutorialPage;  // the strip holds another reference
    std::wstring arrowStart;
    std::wstring arrowGoal;
    int useMode = kAll;
};

}  // namespace Solitaire
