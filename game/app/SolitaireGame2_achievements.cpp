// The achievement screens: the list of every achievement with its medal picture, progress texts
// and tooltip, the cup bars of the overall progress, the particle over the hovered entry, and the
// popup that announces a medal reached in play (picture, headline, sound, particle), fed from a
// queue so medals wait while a screen that must not be covered is shown.
//
// Percentages come from profile values and data thresholds: they are clamped to 0 .. 100 before
// anything is formatted, and the counts of the progress line are held inside the int range.
#include <algorithm>
#include <string>

#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIMenuManagerN.h"
#include "engine/gui/GUIMenuN.h"
#include "engine/gui/GUIProgressBar.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUITextureSet.h"
#include "engine/gui/GUITooltipParam.h"
#include "engine/gui/GUIWindow.h"
#include "engine/platform/PlayingSound.h"
#include "engine/platform/SoundManager.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "game/app/ScreenNumbers.h"
#include "game/app/ScreenWindows.h"
#include "game/app/SolitaireGame2.h"
#include "game/cards/AchivementManager.h"
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
// The cup bars stand full while there is no achievement at all.
constexpr double kFullProgress = 100.0;
// Menus over which no popup opens.
constexpr wchar_t const* kQuietMenus[] = {L"ACHIVEMENTS_MENU", L"ACHIVEMENTS_MENU2", L"TUTORIALMENU",
                                          L"USE_SETTINGS_MENU", L"MINIGAMEMENU"};

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

D3DXVECTOR2 centreOf(Orvex::GUIWindow const& window) {
    Orvex::FRect const r = window.getScreenRect();
    return D3DXVECTOR2((r.left + r.right) * 0.5f, (r.top + r.bottom) * 0.5f);
}

// Ends a held particle at once and lets it go.
void finishParticle(CountedRef<SolPartikel>& particle) {
    if (SolPartikel* live = particle.get()) live->setForceEnd(1);
    particle.hold(nullptr);
}

// A particle that never ends by itself, following the window, held with a reference.
void startWindowParticle(CountedRef<SolPartikel>& held, wchar_t const* name, Orvex::GUIWindow& window) {
    if (!name) return;
    SolPartikel* particle = SolPartikelManager::instance().spawn(name, centreOf(window));
    if (!particle) return;
    particle->setForceEnd(-1);
    particle->setRelativeWindow(&window);
    held.hold(particle);
}

// One list entry's texts and picture; returns its overall progress p (0 .. 100).
double fillAchievementEntry(SolitaireGame2& game, Achivement& achievement, bool hasTextBox) {
    std::wstring const& name = achievement.getName();
    Orvex::GUIWindow* window = SolitaireGame2::findWindow(name);
    Orvex::GUILabel* label = findLabel(L"TEXT_" + name);
    Orvex::Text* labelText = label ? findLanguageText(label->getTextId()) : nullptr;
    int const level = medalLevel(achievement);
    Orvex::GUITooltipParam* tooltip = window ? window->getFirstTooltipParam() : nullptr;
    if (window) {
        window->activated.disconnect(&game);
        window->deactivated.disconnect(&game);
        window->activated.connect(&game, &SolitaireGame2::onAchievementHovered);
        window->deactivated.connect(&game, &SolitaireGame2::onAchievementUnhovered);
    }
    Orvex::Text* description =
        tooltip ? findLanguageText(tooltip->getTextId() + achievement.getPostTextId(level)) : nullptr;

    double const overall = percentOf(achievement.getValue(), achievement.getThreshold(MEDAL_GOLD));
    float const next = nextThreshold(achievement, level);
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
            float const goal = nextThreshold(achievement, level);
            progress->setText(formatLanguageText(L"DESC_PROG_" + name, saturateTo<int>(achievement.getValue()),
                                                 saturateTo<int>(goal)));
        }
    return overall;
}

}  // namespace

void SolitaireGame2::buildAchievementList() {
    bool const hasTextBox = findLabel(kTextBox) != nullptr;
    double sum = 0.0;
    int counted = 0;
    for (Achivement* achievement : achievements_->getAll()) {
        sum += fillAchievementEntry(*this, *achievement, hasTextBox);
        ++counted;
    }
    double const average = counted > 0 ? sum / counted : kFullProgress;
    std::vector<Orvex::GUIWindow*> all;
    gui_->collectAllWindows(all);
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

void SolitaireGame2::onAchievementHovered(Orvex::GUIWindow& window) {
    finishParticle(listParticle_);
    hoveredAchievement_ = nullptr;
    Achivement* achievement = achievements_->find(window.getName());
    Orvex::GUILabel* label = findLabel(L"TEXT_" + window.getName());
    Orvex::GUILabel* box = findLabel(kTextBox);
    if (label && box) box->setText(label->getText());
    Orvex::GUIWindow* mask = window.findChild(L"PARTIKEL_MASK");
    if (!mask || !achievement) return;
    startWindowParticle(listParticle_, kMedalParticles[medalLevel(*achievement)], *mask);
    if (listParticle_.get()) hoveredAchievement_ = achievement;
}

void SolitaireGame2::onAchievementUnhovered(Orvex::GUIWindow&) {
    finishParticle(listParticle_);
    if (Orvex::GUILabel* box = findLabel(kTextBox)) box->setTextId(box->getTextId());
}

void SolitaireGame2::onAchievementMedal(Achivement& achievement, AchivementMedal const& medal) {
    achievementQueue_.emplace_back(&achievement, medal);
}

bool SolitaireGame2::canShowAchievementPopup() {
    if (!achievementWindow_ || achievementWindow_->isAnimating()) return false;
    for (wchar_t const* name : kQuietMenus)
        if (isMenuActive(name)) return false;
    return true;
}

// The popup shows the medal the achievement holds now (the queued one may have been passed).
void SolitaireGame2::showAchievementPopup(Achivement& achievement, AchivementMedal) {
    int const level = medalLevel(achievement);
    Orvex::Texture2DAnimation* picture = medalPicture(achievement, level);
    if (!picture || !achievementWindow_) return;
    Orvex::GUIWindow* pictureWindow = achievementWindow_->findChild(kPopupPicture);
    if (!pictureWindow) pictureWindow = achievementWindow_;
    Orvex::GUITextureSet::assignAnimationClone(pictureWindow->getDrawOptions().getAniBackground(), picture);
    achievementWindow_->captureCurrentState();
    achievementWindow_->animateToGoal(L"AN", kPopupSpeed, false);
    achievementPopupTimer_ = kPopupSeconds;
    if (Orvex::GUILabel* label = labelOf(achievementWindow_->findChild(kPopupLabel)))
        label->setTextId(L"HEADLINE_" + achievement.getName());
    Orvex::SoundManager& sounds = Orvex::SoundManager::getInstance();
    sounds.playSample(sounds.playSound(kPopupSound), kPopupSoundVolume);
    if (!achievementParticles_) return;
    finishParticle(popupParticle_);
    startWindowParticle(popupParticle_, kMedalParticles[level], *achievementParticles_);
}

void SolitaireGame2::dismissAchievementPopup() {
    if (achievementWindow_) achievementWindow_->animateToGoal(L"AUS", kPopupSpeed, false);
    finishParticle(popupParticle_);
    achievementPopupTimer_ = -1.0f;
}

}  // namespace Solitaire
