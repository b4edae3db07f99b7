// The help screen ("HILFEMENU") as a book, the credits screen's version ("CREDITSMENU"), and the
// in-game help panel. The book: pages with a button "H_HELP_S" + n each, sub-pages that are
// pictures "H_HELP_S" + n + "_" + s, and after the last page the credits with the version. The page
// and sub-page buttons leaf; the selected page's button shows its marked look. Each page and
// sub-page has its own text under the picture: the help label's text id followed by "_S" + n + "_"
// + s, else by "_S" + n, else the label's own text. The page whose button carries the user id
// "H_SPIELREGELN" is the rules page: its sub-pages are the shipped games, each with its preview as
// the picture and its rules (the variants' "HELP_FILE") as the text, every rules text once, in
// catalogue order. The panel ("I_Help", in the middle of the table) shows the running variant's
// rules; its frame, zone and blend are the HUD's.
//
// Pages and sub-pages exist as data says: the searches stop at the first gap and at kMaxPages.
// Decision: the stored position starts as (-1, -2), which names the credits page although none
// was shown; only a position that was shown gives its button's look back, so entering the help
// for the first time does not put the credits button's disabled picture over its normal one.
//
// The game object holds it by value, built with its Links, wires it after the HUD at the GUI
// wiring, and calls it from its menu entry and its dispatcher's rows.
//
// Files: HelpScreen.cpp (all of it).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "signals/sigslot.h"

namespace Orvex {
class GUIAnimationsGoal;
class GUIWindow;
class Texture2D;
class TextureManager;
}  // namespace Orvex

namespace Solitaire {

class GameHud;
struct PanelBlend;
class SolTutorialManager;
class SolVariant;
class SolitaireManager;

class HelpScreen : public sigslot::has_slots<sigslot::single_threaded> {
public:
    static constexpr int kCreditsPage = -1;
    static constexpr int kMaxPages = 256;

    // What the screen uses: the catalogue whose games the rules page shows, the tutorials giving
    // the panel's text of a variant without rules, the textures holding the sub-pages' pictures,
    // the HUD that finds the in-game help panel and keeps its blend.
    struct Links {
        SolitaireManager* catalogue = nullptr;
        SolTutorialManager* tutorials = nullptr;
        Orvex::TextureManager* textures = nullptr;
        GameHud* hud = nullptr;
    };

    explicit HelpScreen(Links const& links);
    HelpScreen(HelpScreen const&) = delete;
    HelpScreen& operator=(HelpScreen const&) = delete;

    // The in-game help panel and its blend taken from the HUD, once it found its windows (without
    // the panel nothing is shown).
    void wire();

    // "HILFEMENU" opens: the text label fits its text, the panel refreshes its layout, page 0.
    void enter();
    // "CREDITSMENU" opens: its version label.
    static void enterCredits();
    // Shows the position (page kCreditsPage: the credits) and keeps it.
    void showHelpPage(int& page, int& sub);
    // The position one step on (or back) from the given one; unchanged at either end.
    void stepHelpPage(int& page, int& sub, bool forward) const;
    // "H_PREV" / "H_NEXT": the kept position stepped and shown.
    void leafHelp(bool forward);
    // A page button "H_HELP_S" + n: page n shown; false for another name.
    bool onPageButton(std::wstring const& name);

    // The panel in the middle with its blend full.
    void showHelpPanel();
    // A game's start: the panel takes the variant's text (helpPanelTextOf) when it has a text of
    // its own and the variant's differs; then it waits to be shown unless a tutorial runs.
    void preparePanel(SolVariant const& variant, bool tutorialRuns);
    // The panel shown when the game's start left it waiting (after the banner, or at once).
    void showPendingPanel();
    // "I_Info": the running variant's rules in the panel; false (nothing shown) when there are
    // none or no panel, so the caller shows the variant's tutorial instead.
    bool showVariantRules();
    // What the panel shows at a game's start: the variant's rules, else its start tutorial's
    // title.
    std::wstring helpPanelTextOf(SolVariant const& variant) const;

    void refreshHelpPanel(Orvex::GUIWindow& window, Orvex::GUIAnimationsGoal& goal);
    // The help text's label as high as its text, its scroll panel refreshed.
    void fitHelpLabel(Orvex::GUIWindow& label);

    int getHelpPage() const { return helpPage_; }
    int getHelpSubPage() const { return helpSubPage_; }

private:
    bool isRulesPage(int page) const;
    SolVariant const* rulesGameAt(int page, int sub) const;
    bool subPageExists(int page, int sub) const;
    Orvex::Texture2D* subPagePicture(int page, int sub) const;
    int lastSubPage(int page) const;
    std::wstring helpPageText(int page, int sub, std::wstring const& own) const;
    std::vector<SolVariant const*> const& rulesGames() const;

    // What one show or step of the book asks many times over: whether a page is the rules page
    // (a search of the window tree) and the rules page's games (a walk of the catalogue, each
    // rules text looked up). Kept only while that call runs (LookupScope), so a catalogue or
    // language read anew between calls is never seen stale.
    struct BookLookups {
        int page = kCreditsPage - 1;  // the page `rules` answers for; none yet
        bool rules = false;
        std::optional<std::vector<SolVariant const*>> games;
    };
    class LookupScope;
    mutable std::optional<BookLookups> lookups_;

    SolitaireManager* catalogue_ = nullptr;
    SolTutorialManager* tutorials_ = nullptr;
    Orvex::TextureManager* textures_ = nullptr;
    GameHud* hud_ = nullptr;
    Orvex::GUIWindow* panel_ = nullptr;
    PanelBlend* blend_ = nullptr;
    int helpPage_ = kCreditsPage;
    int helpSubPage_ = -2;
    // The panel's text changed at the game's start and waits to be shown.
    bool showPanelNext_ = false;
    bool fittingLabel_ = false;
};

}  // namespace Solitaire
