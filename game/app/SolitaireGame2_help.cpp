// The help screen as a book: pages with a button "H_HELP_S" + n each, sub-pages that are
// pictures "H_HELP_S" + n + "_" + s, and after the last page the credits with the version. The
// page and sub-page buttons leaf; the selected page's button shows its marked look. Each page and
// sub-page has its own text under the picture: the help label's text id followed by "_S" + n +
// "_" + s, else by "_S" + n, else the label's own text. The page whose button carries the user id
// kRulesPageId is the rules page: its sub-pages are the shipped games, each with its preview as
// the picture and its rules (the variants' "HELP_FILE") as the text, every rules text once, in
// catalogue order. Also the in-game help panel shown in the middle of the table, which shows the
// running variant's rules, and the help panel's layout refresh.
//
// Pages and sub-pages exist as data says: the searches stop at the first gap and at kMaxPages.
// Decision: the stored position starts as (-1, -2), which names the credits page although none
// was shown; only a position that was shown gives its button's look back, so entering the help
// for the first time does not put the credits button's disabled picture over its normal one.
#include <algorithm>
#include <string>
#include <vector>

#include "engine/core/AppInfo.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIScrollPanel.h"
#include "engine/gui/GUIWindow.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/TextureManager.h"
#include "game/app/ScreenLists.h"
#include "game/app/ScreenWindows.h"
#include "game/app/SolVariant.h"
#include "game/app/SolitaireGame2.h"
#include "game/app/SolitaireManager.h"
#include "game/story/SolTutorialManager.h"

namespace Solitaire {

namespace {

constexpr int kCreditsPage = -1;
constexpr int kMaxPages = 256;
constexpr wchar_t kPagePrefix[] = L"H_HELP_S";
constexpr wchar_t kCreditsButton[] = L"H_HELP_CREDITS";
constexpr wchar_t kRulesPageId[] = L"H_SPIELREGELN";
constexpr wchar_t kHelpLabel[] = L"H_HilfeLabel";
constexpr wchar_t kHelpTextPanel[] = L"HILFE_PANEL";
constexpr double kHelpPanelSpeed = 1.0;

std::wstring pageButtonName(int page) {
    return page == kCreditsPage ? std::wstring(kCreditsButton) : kPagePrefix + std::to_wstring(page);
}

bool pageExists(int page) {
    return page >= 0 && page < kMaxPages && SolitaireGame2::findWindow(kPagePrefix + std::to_wstring(page));
}

bool isRulesPage(int page) {
    if (page < 0 || page >= kMaxPages) return false;
    Orvex::GUIWindow const* button = SolitaireGame2::findWindow(kPagePrefix + std::to_wstring(page));
    return button && button->getUserId() == kRulesPageId;
}

// A variant's rules text; empty when it names none or its text is missing.
std::wstring rulesOf(SolVariant const& variant) {
    std::wstring const& id = variant.getRulesTextId();
    return id.empty() || !findLanguageText(id) ? std::wstring() : Orvex::languageText(id);
}

// The variants whose rules the rules page shows: each rules text that exists once, by the first
// variant naming it, in catalogue order; at most kMaxPages.
std::vector<SolVariant const*> rulesGames() {
    std::vector<SolVariant const*> games;
    std::vector<std::wstring> shown;
    for (SolVariant const* variant : SolitaireManager::instance().collectVariants()) {
        std::wstring const& id = variant->getRulesTextId();
        if (rulesOf(*variant).empty() || std::find(shown.begin(), shown.end(), id) != shown.end()) continue;
        shown.push_back(id);
        games.push_back(variant);
        if (games.size() == static_cast<std::size_t>(kMaxPages)) break;
    }
    return games;
}

SolVariant const* rulesGameAt(int page, int sub) {
    if (!isRulesPage(page) || sub < 0) return nullptr;
    std::vector<SolVariant const*> const games = rulesGames();
    return sub < static_cast<int>(games.size()) ? games[static_cast<std::size_t>(sub)] : nullptr;
}

Orvex::Texture2D* subPagePicture(int page, int sub) {
    if (page < 0 || sub < 0 || page >= kMaxPages || sub >= kMaxPages) return nullptr;
    if (isRulesPage(page)) {
        SolVariant const* game = rulesGameAt(page, sub);
        return game ? game->getPreview() : nullptr;
    }
    return Orvex::D3DInterface::getInstance().getTextureManager().findTexture(
        kPagePrefix + std::to_wstring(page) + L"_" + std::to_wstring(sub));
}

bool subPageExists(int page, int sub) {
    return isRulesPage(page) ? rulesGameAt(page, sub) != nullptr : subPagePicture(page, sub) != nullptr;
}

// The text under a page's picture, from the label's own text id (see the file's head).
std::wstring helpPageText(int page, int sub, std::wstring const& own) {
    if (page == kCreditsPage) return Orvex::languageText(own);
    if (SolVariant const* game = rulesGameAt(page, sub)) return Orvex::languageText(game->getRulesTextId());
    std::wstring const pageId = own + L"_S" + std::to_wstring(page);
    for (std::wstring const& id : {pageId + L"_" + std::to_wstring(sub), pageId})
        if (findLanguageText(id)) return Orvex::languageText(id);
    return Orvex::languageText(own);
}

// The largest n such that 0 .. n all exist; -1 when 0 does not.
template <class Exists>
int lastInRow(Exists exists) {
    int last = -1;
    while (last + 1 < kMaxPages && exists(last + 1)) ++last;
    return last;
}

int lastPage() { return lastInRow(pageExists); }
int lastSubPage(int page) {
    return lastInRow([page](int sub) { return subPageExists(page, sub); });
}

void showUnselected(Orvex::GUIWindow& button) {
    Orvex::GUIDrawOptions& o = button.getDrawOptions();
    o.setTexNormal(o.getTexDisable());
    if (o.getTexPress()) o.setTexMark(o.getTexPressMark());
}

void showSelected(Orvex::GUIWindow& button) {
    Orvex::GUIDrawOptions& o = button.getDrawOptions();
    o.setTexDisable(o.getTexNormal());
    if (!o.getTexPress()) {
        o.setTexNormal(o.getTexMark());
        return;
    }
    o.setTexNormal(o.getTexPress());
    o.setTexPressMark(o.getTexMark());
    o.setTexMark(o.getTexPress());
}

}  // namespace

void SolitaireGame2::stepHelpPage(int& page, int& sub, bool forward) {
    if (forward) {
        if (page == kCreditsPage) return;
        if (subPageExists(page, sub + 1)) {
            ++sub;
        } else if (pageExists(page + 1)) {
            ++page;
            sub = 0;
        } else if (findWindow(kCreditsButton)) {
            page = kCreditsPage;
            sub = 0;
        }
        return;
    }
    if (page == kCreditsPage) {
        int const last = lastPage();
        if (last < 0) return;
        page = last;
        int const lastSub = lastSubPage(page);
        if (lastSub >= 0) sub = lastSub;
        return;
    }
    if (subPageExists(page, sub - 1)) {
        --sub;
    } else if (pageExists(page - 1)) {
        --page;
        sub = std::max(lastSubPage(page), 0);
    }
}

void SolitaireGame2::showHelpPage(int& page, int& sub) {
    bool const shownBefore = helpSubPage_ >= 0;
    if (shownBefore)
        if (Orvex::GUIWindow* old = findWindow(pageButtonName(helpPage_))) showUnselected(*old);
    if (Orvex::GUIWindow* button = findWindow(pageButtonName(page))) showSelected(*button);
    bool const credits = page == kCreditsPage;
    setWindowVisible(L"H_C_Credits", credits);
    setWindowVisible(L"H_C_Version", credits);
    if (auto* version = dynamic_cast<Orvex::GUILabel*>(findWindow(L"H_C_Version"))) {
        int major = 0, minor = 0, build = 0, revision = 0;
        Orvex::AppInfo::getInstance().getVersion(major, minor, build, revision);
        version->setText(formatLanguageText(L"VERSION", major, minor));
    }
    if (Orvex::GUIWindow* window = findWindow(L"H_HELP_FENSTER"))
        window->getDrawOptions().setTexBackground(credits ? nullptr : subPagePicture(page, sub));
    setWindowEnabled(L"H_PREV", credits || subPageExists(page, sub - 1) || pageExists(page - 1));
    setWindowEnabled(L"H_NEXT", !credits);
    if (Orvex::GUILabel* label = findLabel(kHelpLabel)) {
        label->setText(helpPageText(page, sub, label->getTextId()));
        fitHelpLabel(*label);
        scrollPanelToStart(findWindow(kHelpTextPanel));
    }
    helpPage_ = page;
    helpSubPage_ = sub;
}

std::wstring SolitaireGame2::helpPanelTextOf(SolVariant const& variant) const {
    std::wstring const rules = rulesOf(variant);
    return rules.empty() ? solTutorials_->getTutorialText(variant.getStartTutorial(), false) : rules;
}

void SolitaireGame2::showVariantRules() {
    if (gameOver_) return;
    SolVariant const* variant = SolitaireManager::instance().getCurrentVariant();
    Orvex::GUILabel* label = labelOf(hud_.getHelpPanel());
    std::wstring const rules = variant ? rulesOf(*variant) : std::wstring();
    if (!label || rules.empty()) {
        showVariantTutorial();
        return;
    }
    label->setText(rules);
    showHelpPanel();
}

void SolitaireGame2::showHelpPanel() {
    Orvex::GUIWindow* help = hud_.getHelpPanel();
    if (!help) return;
    help->animateToGoal(L"CENTER", kHelpPanelSpeed, false);
    helpBlend_.current = 1.0f;
    helpBlend_.target = 1.0f;
}

void SolitaireGame2::refreshHelpPanel(Orvex::GUIWindow& window, Orvex::GUIAnimationsGoal&) {
    if (window.getUserId() != L"H_Hilfemenue") return;
    if (auto* panel = dynamic_cast<Orvex::GUIScrollPanel*>(window.findChild(L"HILFE_PANEL")))
        panel->refreshContent();
}

}  // namespace Solitaire
