// A page of a scripted lesson ("EXTENDED_TUTORIALPAGE"): on entering it restricts the cards and
// piles the player may use (the card manager's two tutorial name lists: clear, remove, add), on
// leaving it applies its "_POST" changes; it names the page that follows a carried-out ("NEXT")
// or refused ("NEXT_FAIL") action on a card or pile of a user name, or a click on a GUI element
// ("NEXT_GUI"); it refuses clicks on the elements of "DO_NOT_CLICK_BUTTONS"; and after
// "SHOW_TIMER" seconds it shows its own strip (a copy of "STRIP_VORLAGE" named after the page,
// with a page per "TUTORIAL_PAGE") whose arrows point at the named cards, piles and GUI elements,
// rebuilt every frame so they follow what moves.
//
// Keys, read in this order: "NAME", "SHOW_TIMER" (0.5), "CLEAR_CARDS", "CLEAR_STAPEL",
// "CARD_TO_ADD", "STAPEL_TO_ADD", "CARD_TO_REMOVE", "STAPEL_TO_REMOVE", "END_ON_NF", the six
// "_POST" keys, "DO_NOT_CLICK_BUTTONS", "END_ON_NF_FAIL", "NEXT", "NEXT_FAIL" ("KARTE", "NEXT"),
// "NEXT_GUI" ("GUI", "NEXT"), "STRIP_VORLAGE", "TUTORIAL_PAGE" ("PAGE_VORLAGE", "TEXT_ID",
// "PFEIL_VORLAGE_START", "PFEIL_VORLAGE_END", "PFEIL_KO" and "GUI" values). Lists and tables
// hold at most kMaxNames entries, a page at most kMaxPageEntries strip pages.
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/CountedRef.h"
#include "engine/core/NamedObject.h"
#include "game/look/ReadProblems.h"

namespace Orvex {
class TutorialPage;
class TutorialStrip;
class XMLNode;
}  // namespace Orvex

namespace Solitaire {

class ExtendedTutorialPage : public Orvex::NamedObject {
public:
    static constexpr std::size_t kMaxNames = 1024;
    static constexpr std::size_t kMaxPageEntries = 64;
    // What checkCard and checkGui return besides an "END_ON_NF" value.
    static constexpr int kStay = 0;
    static constexpr int kGoTo = 2;

    // One "TUTORIAL_PAGE": the arrows of one page of the strip.
    struct PageEntry {
        std::vector<std::wstring> arrowObjects;  // "PFEIL_KO": user names of cards and piles
        std::vector<std::wstring> arrowGuis;     // "GUI": GUI element names
        std::wstring textId;
        std::wstring arrowStart;  // "PFEIL_VORLAGE_START"
        std::wstring arrowGoal;   // "PFEIL_VORLAGE_END"
        Orvex::CountedRef<Orvex::TutorialPage> page;  // the strip holds another reference
    };

    ExtendedTutorialPage(Orvex::XMLNode& node, ReadProblems& problems);
    ~ExtendedTutorialPage() override;

    // Entering or leaving: the list changes of that side; the strip's countdown restarts.
    void activate(bool entering);
    // kStay, kGoTo (nextPage written) or the page's "END_ON_NF" / "END_ON_NF_FAIL" value.
    int checkCard(std::wstring& nextPage, std::wstring const& userName, bool success) const;
    int checkGui(std::wstring& nextPage, std::wstring const& elementName) const;
    bool refusesClick(std::wstring const& elementName) const;
    // One frame while the page is current: the countdown to its strip, then its arrows.
    void update(float dt);
    // Rebuilds the arrows of every strip page at the objects and elements as they are now.
    void placeArrows();
    // Closes the page's strip when it is the one on screen.
    void closeStrip();
    // The strip's text hook: the text of the entry whose page it is.
    void onPageText(Orvex::TutorialPage& page, std::wstring const& textId, std::wstring& text, bool& useTextId);

    Orvex::TutorialStrip* getStrip() const { return strip_.get(); }
    std::vector<std::unique_ptr<PageEntry>> const& getEntries() const { return entries_; }
    bool areArrowsActive() const { return arrowsActive_; }
    float getCountdown() const { return countdown_; }

    struct ListChanges {
        std::vector<std::wstring> cardsToAdd, pilesToAdd, cardsToRemove, pilesToRemove;
        bool clearCards = false, clearPiles = false;
    };
    ListChanges entering;
    ListChanges leaving;
    std::map<std::wstring, std::wstring> nextByCard;
    int endOnNotFound = 0;
    std::map<std::wstring, std::wstring> nextOnFail;
    int endOnNotFoundFail = 0;
    std::map<std::wstring, std::wstring> nextByGui;
    float showDelay = 0.5f;
    std::vector<std::wstring> doNotClick;

private:
    Orvex::CountedRef<Orvex::TutorialStrip> strip_;
    std::vector<std::unique_ptr<PageEntry>> entries_;
    bool arrowsActive_ = false;
    float countdown_ = 0.0f;
};

}  // namespace Solitaire
