// The tutorials of the game's screens (see TutorialScreens.h).
#include "game/app/TutorialScreens.h"

#include <algorithm>
#include <utility>

#include "engine/core/PerfTimer.h"
#include "engine/core/engine/OrvexEngine.h"
#include "engine/gui/GUICheckbox.h"
#include "engine/gui/GUICheckboxButton.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIScrollPanel.h"
#include "engine/gui/GUIWindow.h"
#include "game/app/MenuNames.h"
#include "game/app/Profil.h"
#include "game/app/ScreenLists.h"
#include "game/app/ScreenWindows.h"
#include "game/story/SolTutorialManager.h"

namespace Solitaire {

namespace {

// The performance timer's pause slot of a running tutorial.
constexpr int kTutorialPauseSlot = 7;
constexpr wchar_t kNewProfileCheckbox[] = L"NP_HELP_CHECKBOX_3";
constexpr wchar_t const* kHelpScrolls[] = {L"T_HELP_SCROLL", L"T_SOLITAIREHELP_SCROLL"};

// The game screens have a tutorial for each kind of game.
std::wstring tutorialNameOf(std::wstring const& menu, bool campaign) {
    if (menu == kInGameMenu || menu == kGameStatisticsMenu || menu == kResultsMenu)
        return menu + (campaign ? L"_STORY" : L"_FG");
    return menu;
}

}  // namespace

TutorialScreens::TutorialScreens(Links links)
    : tutorials_(links.tutorials), engine_(links.engine), mapTablePoint_(std::move(links.mapTablePoint)) {
    if (!tutorials_) return;
    tutorials_->tutorialStarted.connect(this, &TutorialScreens::onShown);
    tutorials_->tutorialClosed.connect(this, &TutorialScreens::onHidden);
    tutorials_->mapTablePoint.connect(this, &TutorialScreens::onMapPoint);
}

void TutorialScreens::onShown() { engine_->getPerfTimer()->setPause(kTutorialPauseSlot, true); }

void TutorialScreens::onHidden() { engine_->getPerfTimer()->setPause(kTutorialPauseSlot, false); }

void TutorialScreens::onMapPoint(D3DXVECTOR2& point) {
    if (mapTablePoint_) mapTablePoint_(point);
}

bool TutorialScreens::show(std::wstring const& name, bool force) {
    return tutorials_->showTutorial(name, force, false, D3DXVECTOR2(0.0f, 0.0f));
}

void TutorialScreens::showMenuTutorials(std::wstring const& menu, bool campaign) {
    show(kTutorialMenu, false);
    show(tutorialNameOf(menu, campaign), false);
}

void TutorialScreens::resetSeen() {
    if (Profil* active = activeProfile()) active->clearTutorialsSeen();
}

// ---- the switches ----

void TutorialScreens::wire() {
    wchar_t const* const names[4] = {L"T_HELP_CHECKBOX_1", L"H_HELP_CHECKBOX_2", kNewProfileCheckbox, L"O_Tutorial"};
    bool const checked[4] = {false, false, true, true};
    for (int i = 0; i < 4; ++i) {
        checkboxes_[i] = findScreenWindowAs<Orvex::GUICheckbox>(names[i]);
        Orvex::GUICheckboxButton* button = checkboxes_[i] ? checkboxes_[i]->getButton() : nullptr;
        if (!button) continue;
        button->setChecked(checked[i]);
        button->changed.connect(this, &TutorialScreens::onCheckbox);
    }
}

void TutorialScreens::setCheckboxes(bool checked) {
    bool const wasSilent = silent_;
    silent_ = true;
    for (Orvex::GUICheckbox* checkbox : checkboxes_)
        if (Orvex::GUICheckboxButton* button = checkbox ? checkbox->getButton() : nullptr) button->setChecked(checked);
    silent_ = wasSilent;
}

void TutorialScreens::onCheckbox(Orvex::GUICheckboxButton& button) {
    if (silent_) return;
    silent_ = true;
    bool const on = button.isChecked();
    if (Profil* profile = dynamic_cast<Profil*>(tutorials_->getProfile())) profile->setShowTutorials(on);
    auto* newProfileBox = findScreenWindowAs<Orvex::GUICheckbox>(kNewProfileCheckbox);
    bool const fromDialog = newProfileBox && newProfileBox->getButton() == &button;
    if (on && !fromDialog) show(kTutorialMenu, false);
    silent_ = false;
    setCheckboxes(on);
}

// ---- the help panels ----

void TutorialScreens::enterMenu() {
    for (wchar_t const* name : {L"T_HELP_SCROLL", L"T_SOLITAIREHELP_SCROLL", L"T_TutorialBaseFrame"})
        if (Orvex::GUIWindow* window = findScreenWindow(name)) {
            window->goalReached.disconnect(this);
            window->goalReached.connect(this, &TutorialScreens::onFrameGoal);
        }
    for (wchar_t const* name : {L"T_HELP_TEXT", L"T_SOLITAIREHELP_TEXT"}) {
        auto* label = findScreenWindowAs<Orvex::GUILabel>(name);
        if (!label) continue;
        label->rectChanged.disconnect(this);
        label->rectChanged.connect(this, &TutorialScreens::fitLabel);
        label->changed.disconnect(this);
        label->changed.connect(this, &TutorialScreens::fitLabelAndScroll);
        fitLabel(*label);
    }
}

void TutorialScreens::scrollHelpToStart() {
    for (wchar_t const* name : kHelpScrolls) scrollPanelToStart(findScreenWindow(name));
}

void TutorialScreens::onFrameGoal(Orvex::GUIWindow&, Orvex::GUIAnimationsGoal&) { scrollHelpToStart(); }

void TutorialScreens::fitLabel(Orvex::GUIWindow& window) {
    auto* label = dynamic_cast<Orvex::GUILabel*>(&window);
    if (!label || fitting_) return;
    Orvex::GUIWindow* parent = label->getParent();
    float parentHeight = 0.0f;
    if (parent) {
        Orvex::FRect const r = parent->getScreenRect();
        parentHeight = r.bottom - r.top;
        if (!(parentHeight > 0.0f)) return;
    }
    RECT const measured = label->measureText();
    float const textHeight = static_cast<float>(measured.bottom - measured.top);
    float const height = parent ? std::max(textHeight, parentHeight - 1.0f) : textHeight;
    Orvex::GUIRect& rect = label->getRect();
    if (rect.getParamsX().offY == 0.0f && rect.getParamsY().offY == height) return;
    fitting_ = true;
    rect.getParamsX().offY = 0.0f;
    rect.getParamsY().offY = height;
    label->updateRect(false, false);
    if (parent) parent->updateRect(false, false);
    if (auto* scroll = dynamic_cast<Orvex::GUIScrollPanel*>(parent ? parent->getParent() : nullptr))
        scroll->refreshContent();
    scrollHelpToStart();
    fitting_ = false;
}

void TutorialScreens::fitLabelAndScroll(Orvex::GUILabel& label) {
    fitLabel(label);
    scrollHelpToStart();
}

}  // namespace Solitaire
