// The mini-game's result words (see the header).
#include "game/app/MinigameResultScreen.h"

#include <algorithm>
#include <cmath>

#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIWindow.h"
#include "game/app/PanelBlend.h"
#include "game/app/ScreenWindows.h"
#include "game/minigames/Minispiel.h"
#include "game/minigames/MinispielManager.h"

namespace Solitaire {

namespace {

constexpr wchar_t kPanel[] = L"MINISPIEL_Ergebnis";
constexpr wchar_t kTitle[] = L"MINISPIEL_E_Titel";
constexpr wchar_t kText[] = L"MINISPIEL_E_Text";

}  // namespace

MinigameResultScreen::MinigameResultScreen(Links links) : games_(links.games), goOn_(std::move(links.goOn)) {
    if (!games_) return;
    games_->gameClosed.connect(this, &MinigameResultScreen::onGameClosed);
    games_->gameEnded.connect(this, &MinigameResultScreen::onGameEnded);
    games_->activeChanged.connect(this, &MinigameResultScreen::onGameActive);
}

void MinigameResultScreen::onGameEnded(Minispiel& game, float const& ratio, bool const& skipped) {
    End const end = !skipped ? End::kSolved : game.getSolutionTimeLeft() <= 0.0 ? End::kTimeUp : End::kSkipped;
    show(end, ratio);
}

void MinigameResultScreen::onGameClosed(Minispiel&) {
    games_->setActiveMinispiel(nullptr);
    show(End::kCancelled, 0.0f);
}

void MinigameResultScreen::onGameActive(bool const& active) {
    if (active) hide();
}

void MinigameResultScreen::show(End end, float ratio) {
    Orvex::GUIWindow* panel = findScreenWindow(kPanel);
    if (!panel) {
        if (goOn_) goOn_();
        return;
    }
    bool const solved = end == End::kSolved;
    if (Orvex::GUILabel* title = findLabel(kTitle))
        title->setTextId(solved ? L"MINISPIEL_E_TITEL_GEWONNEN" : L"MINISPIEL_E_TITEL_VERLOREN");
    if (Orvex::GUILabel* text = findLabel(kText)) {
        // The share of the time left, as a whole percentage of 0 to 100 whatever the game sent.
        double const percent = std::isfinite(ratio) ? std::clamp(static_cast<double>(ratio), 0.0, 1.0) * 100.0 : 0.0;
        switch (end) {
        case End::kSolved:
            text->setText(formatLanguageText(L"MINISPIEL_E_GEWONNEN", percent));
            break;
        case End::kSkipped:
            text->setTextId(L"MINISPIEL_E_UEBERSPRUNGEN");
            break;
        case End::kTimeUp:
            text->setTextId(L"MINISPIEL_E_ZEIT_UM");
            break;
        case End::kCancelled:
            text->setTextId(L"MINISPIEL_E_ABGEBROCHEN");
            break;
        }
    }
    panel->animateToGoal(L"AN", kPanelSpeed, false);
    panel->bringToFront();
    shown_ = true;
}

void MinigameResultScreen::hide() {
    shown_ = false;
    if (Orvex::GUIWindow* panel = findScreenWindow(kPanel)) panel->jumpToGoal(L"AUS");
}

void MinigameResultScreen::leave() {
    if (shown_ && goOn_) goOn_();
}

}  // namespace Solitaire
