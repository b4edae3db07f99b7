// The help book, its page buttons and the in-game help panel (see HelpScreen.h).
#include "game/app/HelpScreen.h"

#include <algorithm>
#include <climits>
#include <string>
#include <string_view>
#include <vector>

#include "engine/core/AppInfo.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIScrollPanel.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/Text.h"
#include "engine/render/TextureManager.h"
#include "game/app/PanelBlend.h"
#include "game/app/ScreenLists.h"
#include "game/app/ScreenWindows.h"
#include "game/app/SolVariant.h"
#include "game/app/SolitaireManager.h"
#include "game/story/SolTutorialManager.h"
#include "port/win32/win32_version.h"

namespace Solitaire {

namespace {

constexpr wchar_t kPagePrefix[] = L"H_HELP_S";
constexpr wchar_t kCreditsButton[] = L"H_HELP_CREDITS";
constexpr wchar_t kRulesPageId[] = L"H_SPIELREGELN";
constexpr wchar_t kHelpLabel[] = L"H_HilfeLabel";
constexpr wchar_t kHelpTextPanel[] = L"HILFE_PANEL";
constexpr double kHelpPanelSpeed = 1.0;

std::wstring pageButtonName(int page) {
    return page == HelpScreen::kCreditsPage ? std::wstring(kCreditsButton) : kPagePrefix + std::to_wstring(page);
}

bool pageExists(int page) {
    return page >= 0 && page < HelpScreen::kMaxPages && findScreenWindow(kPagePrefix + std::to_wstring(page));
}

// A variant's rules text; empty when it names none or its text is missing.
std::wstring rulesOf(SolVariant const& variant) {
    std::wstring const& id = variant.getRulesTextId();
    return id.empty() || !findLanguageText(id) ? std::wstring() : Orvex::languageText(id);
}

// rulesOf is not empty, without copying the text.
bool hasRules(SolVariant const& variant) {
    std::wstring const& id = variant.getRulesTextId();
    Orvex::Text const* text = id.empty() ? nullptr : findLanguageText(id);
    return text && !text->getText().empty();
}

// The variants whose rules the rules page shows: each rules text that exists once, by the first
// variant naming it, in catalogue order; at most kMaxPages.
std::vector<SolVariant const*> collectRulesGames(SolitaireManager const* catalogue) {
    std::vector<SolVariant const*> games;
    if (!catalogue) return games;
    std::vector<std::wstring const*> shown;
    for (SolVariant const* variant : catalogue->collectVariants()) {
        std::wstring const& id = variant->getRulesTextId();
        if (!hasRules(*variant) ||
            std::find_if(shown.begin(), shown.end(), [&id](std::wstring const* seen) { return *seen == id; }) !=
                shown.end())
            continue;
        shown.push_back(&id);
        games.push_back(variant);
        if (games.size() == static_cast<std::size_t>(HelpScreen::kMaxPages)) break;
    }
    return games;
}

// The largest n such that 0 .. n all exist; -1 when 0 does not.
template <class Exists>
int lastInRow(Exists exists) {
    int last = -1;
    while (last + 1 < HelpScreen::kMaxPages && exists(last + 1)) ++last;
    return last;
}

int lastPage() { return lastInRow(pageExists); }

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

// The page number after the prefix: decimal digits with an optional sign; nothing is page 0, and a
// number past the int range is held at its end.
int helpPageNumber(std::wstring const& name) {
    std::wstring_view rest = std::wstring_view(name).substr(std::wstring_view(kPagePrefix).size());
    bool negative = false;
    if (!rest.empty() && (rest.front() == L'-' || rest.front() == L'+')) {
        negative = rest.front() == L'-';
        rest.remove_prefix(1);
    }
    long long value = 0;
    for (wchar_t c : rest) {
        if (c < L'0' || c > L'9') break;
        value = std::min(value * 10 + (c - L'0'), static_cast<long long>(INT_MAX) + 1);
    }
    if (negative) value = -value;
    return static_cast<int>(std::clamp(value, static_cast<long long>(INT_MIN), static_cast<long long>(INT_MAX)));
}

}  // namespace

void HelpScreen::setSources(SolitaireManager* catalogue, SolTutorialManager* tutorials,
                            Orvex::TextureManager* textures) {
    catalogue_ = catalogue;
    tutorials_ = tutorials;
    textures_ = textures;
}

void HelpScreen::wirePanel(Orvex::GUIWindow* panel, PanelBlend* blend) {
    panel_ = panel;
    blend_ = blend;
}

// ---- the book ----

// Opens the lookups for the call it stands in; a scope inside another keeps the outer one's.
class HelpScreen::LookupScope {
public:
    explicit LookupScope(HelpScreen const& help) : help_(help), outer_(help.lookups_.has_value()) {
        if (!outer_) help_.lookups_.emplace(BookLookups{});
    }
    ~LookupScope() {
        if (!outer_) help_.lookups_.reset();
    }
    LookupScope(LookupScope const&) = delete;
    LookupScope& operator=(LookupScope const&) = delete;

private:
    HelpScreen const& help_;
    bool const outer_;
};

bool HelpScreen::isRulesPage(int page) const {
    if (page < 0 || page >= kMaxPages) return false;
    LookupScope scope(*this);
    if (lookups_->page != page) {
        Orvex::GUIWindow const* button = findScreenWindow(kPagePrefix + std::to_wstring(page));
        lookups_->page = page;
        lookups_->rules = button && button->getUserId() == kRulesPageId;
    }
    return lookups_->rules;
}

std::vector<SolVariant const*> const& HelpScreen::rulesGames() const {
    // The caller's scope holds the list; there is always one (rulesGameAt opens it).
    if (!lookups_->games) lookups_->games = collectRulesGames(catalogue_);
    return *lookups_->games;
}

SolVariant const* HelpScreen::rulesGameAt(int page, int sub) const {
    LookupScope scope(*this);
    if (!isRulesPage(page) || sub < 0) return nullptr;
    std::vector<SolVariant const*> const& games = rulesGames();
    return sub < static_cast<int>(games.size()) ? games[static_cast<std::size_t>(sub)] : nullptr;
}

Orvex::Texture2D* HelpScreen::subPagePicture(int page, int sub) const {
    if (page < 0 || sub < 0 || page >= kMaxPages || sub >= kMaxPages) return nullptr;
    if (isRulesPage(page)) {
        SolVariant const* game = rulesGameAt(page, sub);
        return game ? game->getPreview() : nullptr;
    }
    return textures_ ? textures_->findTexture(kPagePrefix + std::to_wstring(page) + L"_" + std::to_wstring(sub))
                     : nullptr;
}

bool HelpScreen::subPageExists(int page, int sub) const {
    return isRulesPage(page) ? rulesGameAt(page, sub) != nullptr : subPagePicture(page, sub) != nullptr;
}

int HelpScreen::lastSubPage(int page) const {
    return lastInRow([this, page](int sub) { return subPageExists(page, sub); });
}

// The text under a page's picture, from the label's own text id (see the header).
std::wstring HelpScreen::helpPageText(int page, int sub, std::wstring const& own) const {
    if (page == kCreditsPage) return Orvex::languageText(own);
    if (SolVariant const* game = rulesGameAt(page, sub)) return Orvex::languageText(game->getRulesTextId());
    std::wstring const pageId = own + L"_S" + std::to_wstring(page);
    for (std::wstring const& id : {pageId + L"_" + std::to_wstring(sub), pageId})
        if (findLanguageText(id)) return Orvex::languageText(id);
    return Orvex::languageText(own);
}

void HelpScreen::enter() {
    if (auto* label = dynamic_cast<Orvex::GUILabel*>(findScreenWindow(kHelpLabel))) {
        label->rectChanged.disconnect(this);
        label->rectChanged.connect(this, &HelpScreen::fitHelpLabel);
        fitHelpLabel(*label);
    }
    if (Orvex::GUIWindow* window = findScreenWindow(L"H_Hilfemenue")) {
        window->goalReached.disconnect(this);
        window->goalReached.connect(this, &HelpScreen::refreshHelpPanel);
    }
    int page = 0;
    int sub = 0;
    showHelpPage(page, sub);
}

void HelpScreen::enterCredits() {
    port::VersionBlock const& version = port::versionBlock();
    if (Orvex::GUILabel* label = labelOf(findScreenWindow(L"C_Version")))
        if (Orvex::Text* text = findLanguageText(L"VERSION")) {
            std::wstring shown;
            label->setText(text->format(shown, version.major, version.minor));
        }
}

void HelpScreen::stepHelpPage(int& page, int& sub, bool forward) const {
    LookupScope scope(*this);
    if (forward) {
        if (page == kCreditsPage) return;
        if (subPageExists(page, sub + 1)) {
            ++sub;
        } else if (pageExists(page + 1)) {
            ++page;
            sub = 0;
        } else if (findScreenWindow(kCreditsButton)) {
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

void HelpScreen::showHelpPage(int& page, int& sub) {
    LookupScope scope(*this);
    bool const shownBefore = helpSubPage_ >= 0;
    if (shownBefore)
        if (Orvex::GUIWindow* old = findScreenWindow(pageButtonName(helpPage_))) showUnselected(*old);
    if (Orvex::GUIWindow* button = findScreenWindow(pageButtonName(page))) showSelected(*button);
    bool const credits = page == kCreditsPage;
    setWindowVisible(L"H_C_Credits", credits);
    setWindowVisible(L"H_C_Version", credits);
    if (auto* version = dynamic_cast<Orvex::GUILabel*>(findScreenWindow(L"H_C_Version"))) {
        int major = 0, minor = 0, build = 0, revision = 0;
        Orvex::AppInfo::getInstance().getVersion(major, minor, build, revision);
        version->setText(formatLanguageText(L"VERSION", major, minor));
    }
    if (Orvex::GUIWindow* window = findScreenWindow(L"H_HELP_FENSTER"))
        window->getDrawOptions().setTexBackground(credits ? nullptr : subPagePicture(page, sub));
    setWindowEnabled(L"H_PREV", credits || subPageExists(page, sub - 1) || pageExists(page - 1));
    setWindowEnabled(L"H_NEXT", !credits);
    if (Orvex::GUILabel* label = findLabel(kHelpLabel)) {
        label->setText(helpPageText(page, sub, label->getTextId()));
        fitHelpLabel(*label);
        scrollPanelToStart(findScreenWindow(kHelpTextPanel));
    }
    helpPage_ = page;
    helpSubPage_ = sub;
}

void HelpScreen::leafHelp(bool forward) {
    int page = helpPage_;
    int sub = helpSubPage_;
    stepHelpPage(page, sub, forward);
    showHelpPage(page, sub);
}

bool HelpScreen::onPageButton(std::wstring const& name) {
    if (name.rfind(kPagePrefix, 0) != 0) return false;
    int page = helpPageNumber(name);
    int sub = 0;
    showHelpPage(page, sub);
    return true;
}

void HelpScreen::fitHelpLabel(Orvex::GUIWindow& window) {
    auto* label = dynamic_cast<Orvex::GUILabel*>(&window);
    if (!label || fittingLabel_) return;
    fittingLabel_ = true;
    RECT const measured = label->measureText();
    Orvex::GUIRect& rect = label->getRect();
    rect.getParamsX().offY = 0.0f;
    rect.getParamsY().offY = static_cast<float>(measured.bottom - measured.top);
    label->updateRect(false, false);
    Orvex::GUIWindow* parent = label->getParent();
    if (parent) parent->updateRect(false, false);
    if (auto* scroll = dynamic_cast<Orvex::GUIScrollPanel*>(parent ? parent->getParent() : nullptr))
        scroll->refreshContent();
    fittingLabel_ = false;
}

void HelpScreen::refreshHelpPanel(Orvex::GUIWindow& window, Orvex::GUIAnimationsGoal&) {
    if (window.getUserId() != L"H_Hilfemenue") return;
    if (auto* panel = dynamic_cast<Orvex::GUIScrollPanel*>(window.findChild(kHelpTextPanel))) panel->refreshContent();
}

// ---- the in-game panel ----

std::wstring HelpScreen::helpPanelTextOf(SolVariant const& variant) const {
    std::wstring const rules = rulesOf(variant);
    if (!rules.empty() || !tutorials_) return rules;
    return tutorials_->getTutorialText(variant.getStartTutorial(), false);
}

void HelpScreen::showHelpPanel() {
    if (!panel_) return;
    panel_->animateToGoal(L"CENTER", kHelpPanelSpeed, false);
    if (blend_) *blend_ = PanelBlend{1.0f, 1.0f};
}

void HelpScreen::preparePanel(SolVariant const& variant, bool tutorialRuns) {
    showPanelNext_ = false;
    Orvex::GUILabel* label = labelOf(panel_);
    if (!label || !findLanguageText(label->getTextId())) return;
    std::wstring const text = helpPanelTextOf(variant);
    if (text.empty() || text == label->getText()) return;
    label->setText(text);
    showPanelNext_ = !tutorialRuns;
}

void HelpScreen::showPendingPanel() {
    if (showPanelNext_) showHelpPanel();
}

bool HelpScreen::showVariantRules() {
    SolVariant const* variant = catalogue_ ? catalogue_->getCurrentVariant() : nullptr;
    Orvex::GUILabel* label = labelOf(panel_);
    std::wstring const rules = variant ? rulesOf(*variant) : std::wstring();
    if (!label || rules.empty()) return false;
    label->setText(rules);
    showHelpPanel();
    return true;
}

}  // namespace Solitaire
