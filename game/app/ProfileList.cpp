// The profile screen's list (see ProfileList.h). A button carries its profile in
// its user pointer slot 0 (a user value is 32 bits and cannot hold a pointer); a click looks the
// profile up again among the profiles and the button among the present list, so a button kept
// from before the list was rebuilt (its profile deleted) does nothing.
#include "game/app/ProfileList.h"

#include <algorithm>

#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIScrollPanel.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "game/app/MyGlobals.h"
#include "game/app/ProfilManager.h"
#include "game/app/Profil.h"
#include "game/app/ScreenLists.h"
#include "game/app/ScreenWindows.h"

namespace Solitaire {

namespace {

constexpr wchar_t kProfilePanel[] = L"P_ProfilePanel";
constexpr wchar_t kTemplate[] = L"P_ProfilNameVorlage";
constexpr wchar_t kDeleteButton[] = L"P_DELButton";
constexpr wchar_t kQuestion[] = L"P_LoeschenFrage";
// The label leaves this share of the button's width free at its left.
constexpr float kLabelIndent = 0.05f;

struct ProfileLook {
    wchar_t const* normal;
    wchar_t const* mark;
    wchar_t const* styleNormal;
    wchar_t const* styleMarked;
    wchar_t const* font;
};
constexpr ProfileLook kActiveLook{L"P_Leer_A", L"P_Leer_AM", L"ACTIVE_PROFIL_NORMAL", L"ACTIVE_PROFIL_MARKED",
                                  L"ActiveProfilFont"};
constexpr ProfileLook kInactiveLook{L"P_Leer", L"P_Leer_M", L"INACTIVE_PROFIL_NORMAL", L"INACTIVE_PROFIL_MARKED",
                                    L"ProfilFont"};

void applyLook(Orvex::GUIWindow& button, ProfileLook const& look) {
    Orvex::GUIDrawOptions& options = button.getDrawOptions();
    options.setTexNormal(findScreenTexture(look.normal));
    options.setTexMark(findScreenTexture(look.mark));
    if (Orvex::GUILabel* label = labelOf(&button)) {
        label->setFontStyle(look.styleNormal, Orvex::GUILabel::kNormal);
        label->setFontStyle(look.styleMarked, Orvex::GUILabel::kMark);
        label->setFont(look.font);
    }
}

bool isListed(Profil const* profile) {
    if (!profile) return false;
    ProfilManager& profiles = ProfilManager::instance();
    for (int i = 0; i < profiles.getProfileCount(); ++i)
        if (profiles.getProfile(i) == profile) return true;
    return false;
}

}  // namespace

ProfileList::ProfileList(Links const& links) : gui_(links.gui) {
    if (links.profiles) links.profiles->listChanged.connect(this, &ProfileList::build);
}

void ProfileList::build() {
    setWindowEnabled(kDeleteButton, false);
    clear();
    auto* panel = dynamic_cast<Orvex::GUIScrollPanel*>(findScreenWindow(kProfilePanel));
    if (!panel || !gui_) return;
    panel->removeAllChildren();
    Orvex::GUIWindow* pattern = gui_->findTemplate(kTemplate);
    if (!pattern) return;
    ProfilManager& profiles = ProfilManager::instance();
    float const rows = static_cast<float>(MyGlobals::kMaxProfiles);
    for (int i = 0; i < profiles.getProfileCount(); ++i) {
        Profil* profile = profiles.getProfile(i);
        Orvex::GUIWindow* button = pattern->clone();
        if (Orvex::GUILabel* label = labelOf(button)) {
            label->getRect().getParamsX().relX -= kLabelIndent;
            label->setText(profile->getName());
        }
        button->setUserPointer(profile, 0);
        button->getOptions().visible = true;
        Orvex::GUIRectAxis& position = button->getRect().getParamsX();
        position.relX = 0.0f;
        position.relY = static_cast<float>(i) / rows;
        position.offX = position.offY = 0.0f;
        Orvex::GUIRectAxis& size = button->getRect().getParamsY();
        size.relX = 1.0f;
        size.relY = 1.0f / rows;
        size.offX = size.offY = 0.0f;
        button->leftClicked.connect(this, &ProfileList::onButtonClicked);
        buttons_.emplace_back().adopt(button);
        panel->addChild(button, false, true);
    }
    refresh();
}

void ProfileList::clear() {
    buttons_.clear();
    selected_ = nullptr;
}

void ProfileList::refresh() {
    Profil* active = ProfilManager::instance().getActiveProfile();
    selected_ = nullptr;
    for (CountedRef<Orvex::GUIWindow> const& held : buttons_) {
        Orvex::GUIWindow* button = held.get();
        bool const isActive = active && button->getUserPointer(0) == active;
        applyLook(*button, isActive ? kActiveLook : kInactiveLook);
        if (!isActive) continue;
        selected_ = button;
        setWindowEnabled(kDeleteButton, true);
    }
    if (auto* panel = dynamic_cast<Orvex::GUIScrollPanel*>(findScreenWindow(kProfilePanel)))
        if (selected_) panel->setFocusWindow(selected_, 0.0f, 1.0f, 0.0f, 1.0f);
}

void ProfileList::onButtonClicked(Orvex::GUIWindow& window) {
    auto const listed = [&window](CountedRef<Orvex::GUIWindow> const& held) { return held.get() == &window; };
    if (std::none_of(buttons_.begin(), buttons_.end(), listed)) return;
    auto* profile = static_cast<Profil*>(window.getUserPointer(0));
    if (!profile || !isListed(profile)) return;
    ProfilManager::instance().setActiveProfile(profile);
}

bool ProfileList::askToDelete() {
    Profil* active = ProfilManager::instance().getActiveProfile();
    asked_ = active;
    if (!active) return false;
    // The name is an argument of the question, never its format.
    Orvex::GUILabel* question = findLabel(kQuestion);
    if (question && !formatOwnText(question, active->getName())) question->setText(active->getName());
    return true;
}

void ProfileList::deleteAsked() {
    ProfilManager& profiles = ProfilManager::instance();
    Profil* asked = asked_;
    asked_ = nullptr;
    if (!isListed(asked)) return;
    profiles.removeProfile(asked);
    if (!profiles.getActiveProfile() && profiles.getProfileCount() > 0) profiles.setActiveProfile(profiles.getProfile(0));
    profiles.saveProfiles();
}

}  // namespace Solitaire
