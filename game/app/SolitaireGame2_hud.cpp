// The in-game HUD behind "INGAMEMENU": the score, balance, multiplier and time labels, the
// variant label, the level-goals panel, the tip button, the card tooltip, the end-game button,
// the information panels with their hover zones and frames, the medal stars, the combo
// achievements and the first-time tutorials of the card manager's events.
//
// Screens are data: every window here may be missing or of another kind, and then only the step
// that needs it is skipped. Texts are language texts formatted with the values named at each
// label; a text id the language lacks leaves the label as it is.
#include <algorithm>

#include "engine/core/engine/OrvexEngine.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIProgressBar.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/LanguageManager.h"
#include "engine/gui/Text.h"
#include "engine/render/Texture2DAnimation.h"
#include "game/app/CampaignRecords.h"
#include "game/app/FormatNumber.h"
#include "game/app/HudWindows.h"
#include "game/app/KindTutorials.h"
#include "game/app/MyGlobals.h"
#include "game/app/Profil.h"
#include "game/app/ProfilManager.h"
#include "game/app/ScreenLists.h"
#include "game/app/SolVariant.h"
#include "game/app/SolitaireGame2.h"
#include "game/app/SolitaireManager.h"
#include "game/cards/AchivementManager.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Statistik.h"
#include "game/look/GameStyle.h"
#include "game/particles/SolPartikel.h"
#include "game/story/SolTutorialManager.h"
#include "game/story/StoryPart.h"

namespace Solitaire {

namespace {

// Goals of the HUD's windows.
constexpr wchar_t kShown[] = L"AN";
constexpr wchar_t kHidden[] = L"AUS";
constexpr wchar_t kReached[] = L"ON";
constexpr wchar_t kNotReached[] = L"OFF";
constexpr wchar_t kInvisible[] = L"INVISIBLE";
constexpr double kPanelSpeed = 1.0;
// A star whose slot holds no goal fades out at this speed.
constexpr double kEmptySlotSpeed = 3.0;
// The tooltip hot spot waits off screen while no card tooltip is shown.
constexpr float kOffScreen = -1000.0f;
// Frames behind the panels: the label's text grown by this many pixels, corners of this size.
constexpr int kNameGrow = 10;
constexpr int kNameCorner = 40;
constexpr int kPanelGrow = 20;
constexpr int kPanelCorner = 10;
constexpr float kNameAlpha = 0.5f;
constexpr float kPanelAlpha = 0.75f;
constexpr D3DCOLOR kWhite = 0x00FFFFFF;
constexpr D3DCOLOR kBlack = 0x00000000;

// The score's and the multiplier's label centres, process-wide: where their effects fly to.
D3DXVECTOR2 g_pointsCentre{0.0f, 0.0f};
D3DXVECTOR2 g_multiplierCentre{0.0f, 0.0f};

// A statistics counter for a "%d": counts past the int range are shown at its top.
int counterOf(Statistik const& statistik, StatistikCounter counter) {
    return static_cast<int>(std::min<Orvex::u32>(statistik.get(counter), 0x7FFFFFFFu));
}

// The label's measured text, grown on each side.
RECT grownText(Orvex::GUILabel& label, int by) {
    RECT r = label.measureText();
    r.left -= by;
    r.top -= by;
    r.right += by;
    r.bottom += by;
    return r;
}

// Jumps the window to a goal unless it stands there already (the goals panel is refreshed every
// frame).
void jumpTo(Orvex::GUIWindow* window, wchar_t const* goal) {
    if (!window) return;
    if (window->getCurrentState().name == goal && !window->isAnimating()) return;
    window->jumpToGoal(goal);
}

}  // namespace

D3DXVECTOR2 SolitaireGame2::getPointsLabelCentre() { return g_pointsCentre; }
D3DXVECTOR2 SolitaireGame2::getMultiplierLabelCentre() { return g_multiplierCentre; }

void SolitaireGame2::wireHudWindows() {
    variantLabel_ = findWindow(L"I_VariantLabel_Label");
    goalsPanel_ = findWindow(L"I_Goals");
    for (int n = 0; n < kGoalSlots; ++n) {
        GoalSlot& slot = goalSlots_[n];
        slot = GoalSlot();
        if (!goalsPanel_) continue;
        std::wstring const prefix = L"I_Goal" + std::to_wstring(n + 1);
        slot.label = goalsPanel_->findChild(prefix + L"_Label");
        slot.counter = goalsPanel_->findChild(prefix + L"_Counter");
        slot.star = goalsPanel_->findChild(prefix + L"_Star");
        slot.tick = goalsPanel_->findChild(prefix + L"_Haken");
    }
}

void SolitaireGame2::setRunningGame(bool campaign, int chapter, int level) {
    campaign_ = campaign;
    currentChapter_ = chapter;
    currentLevel_ = level;
    recordChapter_ = campaign ? chapter : -1;
    recordLevel_ = campaign ? level : -1;
}

// ---- labels ----

void SolitaireGame2::refreshHudLabels() {
    Orvex::LanguageManager* language = engine_->getLanguage();
    if (auto* label = dynamic_cast<Orvex::GUILabel*>(variantLabel_)) {
        std::wstring const id = campaign_ ? L"INGAME_VARIANT_LABEL_" + std::to_wstring(currentChapter_) : L"";
        label->setText(campaign_ ? chapterTitle(id, currentChapter_) : language->getText(id));
    }
    if (Orvex::GUILabel* label = labelOf(points_)) {
        g_pointsCentre = centreOf(*label);
        formatLabel(label, static_cast<double>(cards_->getLevelScore()));
    }
    formatLabel(labelOf(points2_), formatNumber(wholeNumber(cards_->getPointsReference())));
    if (Orvex::GUILabel* label = labelOf(multiplier_)) {
        g_multiplierCentre = centreOf(*label);
        if (GameStyle* style = cards_->getGameStyle()) formatLabel(label, static_cast<double>(style->getMultiplierFactor()));
    }
    if (Statistik* statistik = SolitaireManager::instance().getGameStatistik())
        formatLabel(labelOf(time_), statistik->getTime());
}

// ---- goals panel ----

void SolitaireGame2::refreshGoalsPanel() {
    SolVariant* variant = SolitaireManager::instance().getCurrentVariant();
    Statistik* statistik = SolitaireManager::instance().getGameStatistik();
    if (!goalsPanel_ || !variant || !statistik) return;
    // The table as the game end would record it, with the running game's time and best combo.
    GameEndParms record = cards_->makeGameEndParms(false);
    record.time = static_cast<float>(statistik->getTime());
    record.maxCombo = counterOf(*statistik, StatistikCounter::MaxCombo);
    bool reached[kGoalSlots] = {false, false, false};
    variant->getReachedGoals(record, reached[0], reached[1], reached[2]);
    if (reached[0] && reached[1] && reached[2]) showEndGameButton();
    std::vector<std::unique_ptr<LevelGoal>> const& goals = variant->getGoals();
    for (int n = 0; n < kGoalSlots; ++n) {
        LevelGoal const* goal = static_cast<std::size_t>(n) < goals.size() ? goals[n].get() : nullptr;
        refreshGoalSlot(goalSlots_[n], goal, reached[n], record);
    }
}

void SolitaireGame2::refreshGoalSlot(GoalSlot const& slot, LevelGoal const* goal, bool reached,
                                     GameEndParms const& record) {
    auto* label = dynamic_cast<Orvex::GUILabel*>(slot.label);
    auto* counter = dynamic_cast<Orvex::GUILabel*>(slot.counter);
    if (goal && !goal->isNothing()) {
        if (label) label->setTextId(goal->getTextId());
        if (counter) {
            std::wstring progress;
            counter->setText(goal->formatProgress(progress, record));
        }
        jumpTo(slot.star, reached ? kReached : kNotReached);
        jumpTo(slot.tick, reached ? kReached : kNotReached);
        return;
    }
    if (label) label->setText(L"");
    if (counter) counter->setText(L"");
    if (goal) {
        jumpTo(slot.star, reached ? kReached : kNotReached);
    } else if (slot.star) {
        slot.star->animateToGoal(kInvisible, kEmptySlotSpeed, false);
    }
    jumpTo(slot.tick, kInvisible);
}

// ---- card tooltip ----

void SolitaireGame2::onCardTooltipText(std::wstring const& text, bool const& show) {
    if (!tooltipWindow_) return;
    cardTooltip_ = text;
    tooltipShown_ = show && !text.empty() && !campaign_;
    if (tooltipShown_) return;
    Orvex::GUIRect& rect = tooltipWindow_->getRect();
    rect.getParamsX().offX = kOffScreen;
    rect.getParamsX().offY = kOffScreen;
    tooltipWindow_->updateRect(false, false);
}

void SolitaireGame2::provideCardTooltip(Orvex::GUIWindow&, Orvex::GUITooltipParam&, std::wstring& text) {
    text = cardTooltip_;
}

// ---- combos and found cards ----

void SolitaireGame2::onComboChanged(unsigned long const& combo) {
    if (Achivement* best = achievements_->find(L"MAX_COMBO"))
        best->setValue(std::max(best->getValue(), static_cast<float>(combo)));
    if (combo == 2) countAchievement(L"COMBOS", 1.0f);
}

bool SolitaireGame2::showFirstTimeTutorial(std::wstring const& name, Karte* card) {
    D3DXVECTOR2 at(0.0f, 0.0f);
    if (card) {
        card->getPosition(at, true, false);
        onTutorialMapPoint(at);
    }
    return solTutorials_->showTutorial(name, false, card != nullptr, at);
}

void SolitaireGame2::onExtraCardFound(Karte& card, unsigned long, unsigned long) {
    showFirstTimeTutorial(L"EXTRACARD_FOUND", &card);
    LevelRecord* record = campaign_ ? getCurrentLevelRecord() : nullptr;
    if (!record) return;
    if (record->foundRun < UINT32_MAX) ++record->foundRun;
    refreshGoalsPanel();
}

void SolitaireGame2::onJokerFound(Karte& card) { showFirstTimeTutorial(L"JOKER_FOUND", &card); }

void SolitaireGame2::onWildcardFound(Karte& card) { showFirstTimeTutorial(L"WILDCARD_FOUND", &card); }

void SolitaireGame2::onLockedCardsFound(D3DXVECTOR4 const& counts) {
    showFirstKindTutorial(counts, L"LOCKED_CARDS_FOUND_",
                          [this](std::wstring const& name) { return showFirstTimeTutorial(name, nullptr); });
}

void SolitaireGame2::onCardsUnlocked(D3DXVECTOR4 const& counts) {
    showFirstKindTutorial(counts, L"CARD_UNLOCKED_",
                          [this](std::wstring const& name) { return showFirstTimeTutorial(name, nullptr); });
}

// ---- end-game button ----

void SolitaireGame2::showEndGameButton() {
    if (!endGame_ || !campaign_ || cards_->isGameEndShown()) return;
    if (endGame_->getCurrentState().name == kShown) return;
    endGame_->animateToGoal(kShown, kPanelSpeed, false);
}

void SolitaireGame2::onNoEndPile() { showEndGameButton(); }

void SolitaireGame2::onEndPileEmptied(Kartenstapel&) { showEndGameButton(); }

void SolitaireGame2::onEndPileRefilled(Kartenstapel&) {
    if (!endGame_ || !campaign_) return;
    if (endGame_->getCurrentState().name == kHidden) return;
    endGame_->animateToGoal(kHidden, kPanelSpeed, false);
}

// ---- tip button ----

void SolitaireGame2::restartTipTimer() { tipTimer_.setTime(0.0f); }

void SolitaireGame2::onTipTimerChanged(Orvex::Interpolation<float, float>& timer) {
    if (!tipButton_) return;
    tipButton_->setRatio(timer.t);
    if (!(timer.t >= 1.0f)) return;
    // A hint the points cannot pay is not ready: the reminders sparkle once they can.
    if (cards_->canPay(cards_->getHintPrice())) sparkleOver(*tipButton_, L"TIPP_READY_EMITTER");
    tipReminder_ = nextReminder();
}

void SolitaireGame2::provideHelpPriceTooltip(Orvex::GUIWindow& window, Orvex::GUITooltipParam&, std::wstring& text) {
    bool const hint = &window == tipButton_;
    float const price = hint ? cards_->getHintPrice()
                             : cards_->getUndoPrice(window.getName() == L"I_Undo_Start" ? kUndoToStart : -1);
    if (cards_->gameStatus != kGameRunning || cards_->canPay(price)) return;
    std::wstring const refusal = priceText(hint, price);
    if (!refusal.empty()) text = refusal;
}

void SolitaireGame2::onTipTimerGoal(Orvex::Interpolation<float, float>&) {
    if (tipButton_) tipButton_->getOptions().enabled = true;
}

// ---- panels ----

void SolitaireGame2::drawGameNameFrame(Orvex::GUIWindow& window, bool&, bool&, bool&) {
    auto* label = dynamic_cast<Orvex::GUILabel*>(&window);
    if (!label || !globals_) return;
    double const alpha = window.getAccumulatedAlpha();
    globals_->drawFrame(grownText(*label, kNameGrow), kNameCorner, kWhite | alphaByte(kNameAlpha * alpha), 0, 0, 0, 0, 0,
                        0);
}

void SolitaireGame2::drawHelpFrame(Orvex::GUIWindow& window, bool&, bool&, bool&) {
    auto* label = dynamic_cast<Orvex::GUILabel*>(&window);
    if (!label || !globals_) return;
    double const alpha = window.getAccumulatedAlpha();
    globals_->drawFrame(grownText(*label, kPanelGrow), kPanelCorner, kWhite | alphaByte(kPanelAlpha * alpha),
                        kBlack | alphaByte(alpha), 0, 0, 0, 0, 0);
}

void SolitaireGame2::drawStatisticsPanel(Orvex::GUIWindow& window, bool& a, bool& b, bool& c) {
    auto* label = dynamic_cast<Orvex::GUILabel*>(&window);
    if (!label) return;
    Orvex::Text* text = findLanguageText(label->getTextId());
    Statistik* s = SolitaireManager::instance().getGameStatistik();
    if (text && s) {
        std::wstring out;
        text->format(out, formatPointerTravel(s->get(StatistikCounter::MouseDistance)),
                     counterOf(*s, StatistikCounter::Clicks), counterOf(*s, StatistikCounter::DoubleClicks),
                     counterOf(*s, StatistikCounter::FailedDoubleClicks), counterOf(*s, StatistikCounter::Undos),
                     s->getTime(), counterOf(*s, StatistikCounter::Hints), counterOf(*s, StatistikCounter::Moved));
        label->setText(out);
    }
    drawHelpFrame(window, a, b, c);
}

void SolitaireGame2::onHelpZoneEntered(Orvex::GUIWindow&) {
    // Not while the panel stands in the middle (the game start shows it there).
    if (help_ && helpBlend_.current <= 0.0f) help_->animateToGoal(kShown, kPanelSpeed, false);
}

void SolitaireGame2::onHelpZoneLeft(Orvex::GUIWindow&) {
    if (help_ && helpBlend_.current <= 0.0f) help_->animateToGoal(kHidden, kPanelSpeed, false);
}

void SolitaireGame2::onStatisticsZoneEntered(Orvex::GUIWindow&) {
    if (statistics_) statistics_->animateToGoal(kShown, kPanelSpeed, false);
}

void SolitaireGame2::onStatisticsZoneLeft(Orvex::GUIWindow&) {
    if (statistics_) statistics_->animateToGoal(kHidden, kPanelSpeed, false);
}

// ---- pictures ----

void SolitaireGame2::drawMedalStar(Orvex::GUIWindow& window, bool&, bool&, bool&) {
    if (!medalStar_) return;
    Orvex::AnimationFrame const* frame = medalStar_->getCurrentFrame();
    if (!frame) return;
    Orvex::GUIDrawOptions& options = window.getDrawOptions();
    options.setTexBackground(frame->texture);
    options.backgroundSource.use = true;
    options.backgroundSource.rect = Orvex::FRect::fromRECT(frame->rect);
}

void SolitaireGame2::drawStoryPicture(Orvex::GUIWindow& window, bool const& drawn) {
    if (drawn && storyPart_) storyPart_->draw(window);
}

}  // namespace Solitaire
