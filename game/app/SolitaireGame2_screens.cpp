// The slots of the results, achievement, options and campaign screens. They are connected at
// their place by the constructor and the GUI wiring already; the screens themselves (medal
// popups, display modes, volumes, cursor choice, tutorial switches, chapter and level buttons)
// come with that work, and until then the slots do nothing. The volumes and cursor read from
// config.cfg stay as read meanwhile (MyGlobals draws an unknown cursor as the system arrow).
#include "game/app/SolitaireGame2.h"

namespace Solitaire {

void SolitaireGame2::onAchievementMedal(Achivement&, AchivementMedal const&) {}
bool SolitaireGame2::canShowAchievementPopup() { return false; }
void SolitaireGame2::showAchievementPopup(Achivement&, AchivementMedal) {}
void SolitaireGame2::dismissAchievementPopup() {}
void SolitaireGame2::onModeListRestricted() {}
void SolitaireGame2::onModeNeedsConfirmation() {}
void SolitaireGame2::onModeConfirmed(bool const&) {}
void SolitaireGame2::onModeCountdown(float const&) {}
void SolitaireGame2::onUnsupportedMode(_D3DDISPLAYMODE&) {}
void SolitaireGame2::buildProfilePanel() {}
void SolitaireGame2::onFullscreenSlider(Orvex::GUISlider&, float const&) {}
void SolitaireGame2::onFullscreenCheckbox(Orvex::GUICheckboxButton&) {}
void SolitaireGame2::onResolutionSlider(Orvex::GUISlider&, float const&) {}
void SolitaireGame2::onSoundVolumeSlider(Orvex::GUISlider&, float const&) {}
void SolitaireGame2::onMusicVolumeSlider(Orvex::GUISlider&, float const&) {}
void SolitaireGame2::onRandomSlider(Orvex::GUISlider&, float const&) {}
void SolitaireGame2::onCursor0(Orvex::GUIWindow&) {}
void SolitaireGame2::onCursor1(Orvex::GUIWindow&) {}
void SolitaireGame2::onCursor2(Orvex::GUIWindow&) {}
void SolitaireGame2::onCursor3(Orvex::GUIWindow&) {}
void SolitaireGame2::applyCursor() {}
void SolitaireGame2::onTutorialCheckbox(Orvex::GUICheckboxButton&) {}
void SolitaireGame2::wireLevelScreen() {}
void SolitaireGame2::wireChapterScreen() {}

}  // namespace Solitaire
