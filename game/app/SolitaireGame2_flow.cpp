// The game flow's slots: a decided game, a finished mini-game and the end of a story scene. They
// are connected at their place already; recording stars, unlocks and achievements, the
// highscore and the results delay come with the game flow, and until then they do nothing.
#include "game/app/SolitaireGame2.h"

namespace Solitaire {

void SolitaireGame2::onGameEnd(bool const&, GameEndParms const&) {}

void SolitaireGame2::onMinispielEnd(Minispiel&, float const&, bool const&) {}

bool SolitaireGame2::endStory() { return true; }

int SolitaireGame2::startCampaignLevel(int, int, bool) { return 0; }

}  // namespace Solitaire
