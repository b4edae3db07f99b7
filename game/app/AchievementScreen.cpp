// The achievement screens (see AchievementScreen.h).
//
// Percentages come from profile values and data thresholds: they are clamped to 0 .. 100 before
// anything is formatted, and the counts of the progress line are held inside the int range.
#include "game/app/AchievementScreen.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIMenuManagerN.h"
#include "engine/gui/GUIMenuN.h"
#include "engine/gui/GUIProgressBar.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUITextureSet.h"
#include "engine/gui/GUITooltipParam.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/Text.h"
#include "engine/platform/PlayingSound.h"
#include "engine/platform/SoundManager.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "game/app/HudWindows.h"
#include "game/app/MenuNames.h"
#include "game/app/ScreenNumbers.h"
#include "game/app/ScreenWindows.h"
#include "game/cards/AchivementManager.h"
#include "game/particles/SolPartikel.h"
#include "game/particles/SolPartikelManager.h"

namespace Solitaire {

namespace {

constexpr wchar_t kTextBox[] = L"ACHIVE_TEXT_BOX";
constexpr wchar_t kCupBar[] = L"ACH_CUP_";
constexpr wchar_t kPopupPicture[] = L"SOLITAIRE_ACHIVEMENT_PIC";
constexpr wchar_t kPopupLabel[] = L"SOLITAIRE_ACHIVEMENT_LABEL";
constexpr wchar_t kPopupSound[] = L"ACHIVEMENT_UNLOCKED";
constexpr double kPopupSoundVolume = 1.0;
constexpr double kPopupSpeed = 3.0;
constexpr float kPopupSeconds = 5.0f;
constexpr float kNoPopup = -1.0f;
// The cup bars stand full while there is no achievement at all.
constexpr double kFullProgress = 100.0;
// Menus over which no popup opens.
constexpr wchar_t const* kQuietMenus[] = {kAchievementsMenu, L"ACHIVEMENTS_MENU2", kTutorialMenu,
                                          kConfirmMenu, kMinigameMenu};

// Medal words by level: the pictures' prefixes and the tooltip texts' suffixes.
constexpr wchar_t const* kMedalWords[Achivement::kMedalLevels] = {L"NIX", L"BRONZE", L"SILBER", L"GOLD"};
// The particles of levels 1 to 3 (level 0 has none).
constexpr wchar_t const* kMedalParticles[Achivement::kMedalLevels] = {
    nullptr, L"SOLITAIRE_ACHIVE_PARTIKEL_BRONZE", L"SOLITAIRE_ACHIVE_PARTIKEL_SILBER",
    L"SOLITAIRE_ACHIVE_PARTIKEL_GOLD"};

int medalLevel(Achivement const& achievement) {
    return std::clamp(static_cast<int>(achievement.getMedal()), 0, Achivement::kMedalLevels - 1);
}

// The threshold a level works towards: bronze at 0, silver at 1, gold at 2 and 3.
float nextThreshold(Achivement const& achievement, int level) {
    return achievement.getThreshold(static_cast<AchivementMedal>(std::min(level + 1, static_cast<int>(MEDAL_GOLD))));
}

Orvex::Texture2DAnimation* medalPicture(Achivement const& achievement, int level) {
    return Orvex::Texture2DAnimationManager::instance().findAnimation(std::wstring(kMedalWords[level]) + L"_" +
                                                                      achievement.getName());
}

// Ends a held particle at once and lets it go.
void finishParticle(CountedRef<SolPartikel>& particle) {
    if (SolPartikel* live = particle.get()) live->setForceEnd(1);
    particle.hold(nullptr);
}

}  // namespace

AchievementScreen::~AchievementScreen() = default;

AchievementScreen::AchievementScreen(Links const& links)
    : gui_(links.gui), menus_(links.menus), achievements_(links.achievements), particles_(links.particles) {}

void AchievementScreen::wire() {
    playTime_ = achievements_ ? achievements_->find(L"AC_TIME") : nullptr;
    popup_ = findScreenWindow(L"SOLITAIRE_ACHIVEMENT");
    popupParticles_ = findScreenWindow(L"SOLITAIRE_ACHIVEMENT_PARTIKEL");
    if (achievements_)
        for (Achivement* achievement : achievements_->getAll())
            achievement->medalChanged.connect(this, &AchievementScreen::onMedal);
}

void AchievementScreen::startWindowParticle(CountedRef<SolPartikel>& held, wchar_t const* name,
                                            Orvex::GUIWindow& window) {
    if (!name || !particles_) return;
    SolPartikel* particle = particles_->spawn(name, centreOf(window));
    if (!particle) return;
    particle->setForceEnd(-1);
    particle->setRelativeWindow(&window);
    held.hold(particle);
}

double AchievementScreen::fillEntry(Achivement& achievement, bool hasTextBox) {
    std::wstring const& name = achievement.getName();
    Orvex::GUIWindow* window = findScreenWindow(name);
    Orvex::GUILabel* label = findLabel(L"TEXT_" + name);
    Orvex::Text* labelText = label ? findLanguageText(label->getTextId()) : nullptr;
    int const level = medalLevel(achievement);
    Orvex::GUITooltipParam* tooltip = window ? window->getFirstTooltipParam() : nullptr;
    if (window) {
        window->activated.disconnect(this);
        window->deactivated.disconnect(this);
        window->activated.connect(this, &AchievementScreen::onEntryHovered);
        window->deactivated.connect(this, &AchievementScreen::onEntryUnhovered);
    }
    float const next = nextThreshold(achievement, level);
    // The goal, as the texts write it, is the count that chooses the form for one ("0 / 1 Geschichte").
    double const goalShown = std::nearbyint(static_cast<double>(next));
    long long const goal = saturateTo<long long>(goalShown);
    Orvex::Text* description =
        tooltip ? findLanguageText(tooltip->getTextId() + achievement.getPostTextId(level), goal) : nullptr;

    double const overall = percentOf(achievement.getValue(), achievement.getThreshold(MEDAL_GOLD));
    if (window)
        if (Orvex::Texture2DAnimation* picture = medalPicture(achievement, level))
            Orvex::GUITextureSet::assignAnimationClone(window->getDrawOptions().getAniBackground(), picture);
    if (label && labelText) {
        std::wstring text;
        label->setText(labelText->format(text, percentOf(achievement.getValue(), next)));
    }
    if (tooltip && description) {
        std::wstring text;
        if (achievement.getAddPrefix()) text += Orvex::languageText(std::wstring(L"ACHIVEMENTS_PRE_") + kMedalWords[level]);
        std::wstring body;
        text += description->format(body, static_cast<double>(achievement.getValue()), static_cast<double>(next));
        if (achievement.getAddSuffix()) text += Orvex::languageText(std::wstring(L"ACHIVEMENTS_POST_") + kMedalWords[level]);
        tooltip->setText(text);
    }
    if (level == 0 && !achievement.isUnlocked()) {
        if (label) label->setText(Orvex::languageText(L"ACHIVEMENTS_LOCKED"));
        if (tooltip) tooltip->setText(Orvex::languageText(L"ACHIVEMENTS_LOCKED2"));
    }
    // With a text box on the screen the description shows there on hover, not as a tooltip.
    if (hasTextBox && label && !label->getOptions().visible && tooltip) {
        std::wstring text;
        label->setText(tooltip->getText(text));
        tooltip->setText(L"");
    }
    if (window)
        if (Orvex::GUILabel* progress = dynamic_cast<Orvex::GUILabel*>(window->findChild(L"Progress"))) {
            std::wstring line;
            if (Orvex::Text* text = findLanguageText(L"DESC_PROG_" + name, goal))
                text->format(line, saturateTo<int>(achievement.getValue()), saturateTo<int>(goalShown));
            progress->setText(line);
            fitProgress(name, *progress);
        }
    return overall;
}

void AchievementScreen::fitProgress(std::wstring const& name, Orvex::GUILabel& progress) {
    std::wstring const& own = progressFonts_.try_emplace(name, progress.getFontName()).first->second;
    progress.setFont(own);
    Orvex::FRect const place = progress.getScreenRect();
    RECT const text = progress.measureText();
    if (static_cast<float>(text.right - text.left) > place.right - place.left) progress.setFont(kNarrowFont);
}

void AchievementScreen::build() {
    bool const hasTextBox = findLabel(kTextBox) != nullptr;
    double sum = 0.0;
    int counted = 0;
    if (achievements_)
        for (Achivement* achievement : achievements_->getAll()) {
            sum += fillEntry(*achievement, hasTextBox);
            ++counted;
        }
    double const average = counted > 0 ? sum / counted : kFullProgress;
    std::vector<Orvex::GUIWindow*> all;
    if (gui_) gui_->collectAllWindows(all);
    for (Orvex::GUIWindow* window : all) {
        if (window->getName().find(kCupBar) == std::wstring::npos) continue;
        auto* bar = dynamic_cast<Orvex::GUIProgressBar*>(window);
        if (!bar) continue;
        if (Orvex::GUITooltipParam* tooltip = bar->getFirstTooltipParam())
            if (Orvex::Text* text = findLanguageText(tooltip->getTextId())) {
                std::wstring formatted;
                tooltip->setText(text->format(formatted, average));
            }
        bar->setValue(static_cast<float>(average));
    }
}

void AchievementScreen::onEntryHovered(Orvex::GUIWindow& window) {
    finishParticle(listParticle_);
    hovered_ = nullptr;
    Achivement* achievement = achievements_ ? achievements_->find(window.getName()) : nullptr;
    Orvex::GUILabel* label = findLabel(L"TEXT_" + window.getName());
    Orvex::GUILabel* box = findLabel(kTextBox);
    if (label && box) box->setText(label->getText());
    Orvex::GUIWindow* mask = window.findChild(L"PARTIKEL_MASK");
    if (!mask || !achievement) return;
    startWindowParticle(listParticle_, kMedalParticles[medalLevel(*achievement)], *mask);
    if (listParticle_.get()) hovered_ = achievement;
}

void AchievementScreen::onEntryUnhovered(Orvex::GUIWindow&) {
    finishParticle(listParticle_);
    if (Orvex::GUILabel* box = findLabel(kTextBox)) box->setTextId(box->getTextId());
}

void AchievementScreen::onMedal(Achivement& achievement, AchivementMedal const& medal) {
    queue_.emplace_back(&achievement, medal);
}

bool AchievementScreen::canShowPopup() const {
    if (!popup_ || popup_->isAnimating() || held_) return false;
    if (menus_)
        for (wchar_t const* name : kQuietMenus) {
            Orvex::GUIMenuN* menu = menus_->findMenu(name);
            if (menu && menu->isActive()) return false;
        }
    return true;
}

void AchievementScreen::update(double realStep) {
    if (!popup_) return;
    if (popupTimer_ > 0.0f) {
        popupTimer_ -= static_cast<float>(realStep);
        if (popupTimer_ <= 0.0f) dismissPopup();
    } else if (!queue_.empty() && canShowPopup()) {
        Achivement* const achievement = queue_.front().first;
        showPopup(*achievement);
        queue_.pop_front();
    }
}

void AchievementScreen::showPopup(Achivement& achievement) {
    int const level = medalLevel(achievement);
    Orvex::Texture2DAnimation* picture = medalPicture(achievement, level);
    if (!picture || !popup_) return;
    Orvex::GUIWindow* pictureWindow = popup_->findChild(kPopupPicture);
    if (!pictureWindow) pictureWindow = popup_;
    Orvex::GUITextureSet::assignAnimationClone(pictureWindow->getDrawOptions().getAniBackground(), picture);
    popup_->captureCurrentState();
    popup_->animateToGoal(L"AN", kPopupSpeed, false);
    popupTimer_ = kPopupSeconds;
    if (Orvex::GUILabel* label = labelOf(popup_->findChild(kPopupLabel)))
        label->setTextId(L"HEADLINE_" + achievement.getName());
    Orvex::SoundManager& sounds = Orvex::SoundManager::getInstance();
    sounds.playSample(sounds.playSound(kPopupSound), kPopupSoundVolume);
    if (!popupParticles_) return;
    finishParticle(popupParticle_);
    startWindowParticle(popupParticle_, kMedalParticles[level], *popupParticles_);
}

void AchievementScreen::dismissPopup() {
    if (popup_) popup_->animateToGoal(L"AUS", kPopupSpeed, false);
    finishParticle(popupParticle_);
    popupTimer_ = kNoPopup;
}

void AchievementScreen::countPlayTime(double gameStep) {
    if (playTime_) playTime_->setValue(playTime_->getValue() + static_cast<float>(gameStep));
}

}  // namespace Solitaire
