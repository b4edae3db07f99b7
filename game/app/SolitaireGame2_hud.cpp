// The in-game HUD's, the powers' and the shop's slots. They are connected at their place by the
// constructor already; what they show (score, time, multiplier, combos, goals, found cards, god
// bars, tooltips, shop offers) comes with the HUD, powers and shop, and until then they do
// nothing.
#include "game/app/SolitaireGame2.h"

namespace Solitaire {

void SolitaireGame2::onCardTooltipText(std::wstring const&, bool const&) {}
void SolitaireGame2::onLockedCardsFound(D3DXVECTOR4 const&) {}
void SolitaireGame2::onExtraCardFound(Karte&, unsigned long, unsigned long) {}
void SolitaireGame2::onCardScored(Karte&) {}
void SolitaireGame2::onComboChanged(unsigned long const&) {}
void SolitaireGame2::onWildcardFound(Karte&) {}
void SolitaireGame2::onJokerFound(Karte&) {}
void SolitaireGame2::onCardsUnlocked(D3DXVECTOR4 const&) {}
void SolitaireGame2::onNoEndPile() {}
void SolitaireGame2::onEndPileEmptied(Kartenstapel&) {}
void SolitaireGame2::onEndPileRefilled(Kartenstapel&) {}
void SolitaireGame2::onClickModeUsed(ClickMode const&) {}
void SolitaireGame2::provideCardTooltip(Orvex::GUIWindow&, Orvex::GUITooltipParam&, std::wstring&) {}
void SolitaireGame2::onTipTimerGoal(Orvex::Interpolation<float, float>&) {}
void SolitaireGame2::onTipTimerChanged(Orvex::Interpolation<float, float>&) {}
void SolitaireGame2::onGodTooltip(Orvex::GUIWindow&, Orvex::GUITooltipParam&, std::wstring&) {}
void SolitaireGame2::onGodBarClicked(Orvex::GUIWindow&) {}
void SolitaireGame2::onGodBarFull(Orvex::GUIProgressBar&) {}
void SolitaireGame2::drawStatisticsPanel(Orvex::GUIWindow&, bool&, bool&, bool&) {}
void SolitaireGame2::onStatisticsZoneEntered(Orvex::GUIWindow&) {}
void SolitaireGame2::onStatisticsZoneLeft(Orvex::GUIWindow&) {}
void SolitaireGame2::drawHelpFrame(Orvex::GUIWindow&, bool&, bool&, bool&) {}
void SolitaireGame2::onHelpZoneEntered(Orvex::GUIWindow&) {}
void SolitaireGame2::onHelpZoneLeft(Orvex::GUIWindow&) {}
void SolitaireGame2::drawGameNameFrame(Orvex::GUIWindow&, bool&, bool&, bool&) {}
void SolitaireGame2::drawMedalStar(Orvex::GUIWindow&, bool&, bool&, bool&) {}
void SolitaireGame2::drawStoryPicture(Orvex::GUIWindow&, bool const&) {}
void SolitaireGame2::drawWildcardOffer(Orvex::GUIWindow&, bool const&) {}
void SolitaireGame2::drawJokerOffer(Orvex::GUIWindow&, bool const&) {}
void SolitaireGame2::onWildcardNext(Orvex::GUIWindow&) {}
void SolitaireGame2::onWildcardPrev(Orvex::GUIWindow&) {}
void SolitaireGame2::onBuyWildcard(Orvex::GUIWindow&) {}
void SolitaireGame2::onBuyJoker(Orvex::GUIWindow&) {}
void SolitaireGame2::refreshHudLabels() {}
void SolitaireGame2::refreshGoalsPanel() {}

}  // namespace Solitaire
