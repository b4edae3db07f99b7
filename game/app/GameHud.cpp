// The HUD's wiring, its labels, the tip button and its timer, the card tooltip, the news line's
// price texts and the undo buttons, the combo achievements, the first-time tutorials of found
// cards and the end-game button.
//
// Texts are language texts formatted with the values named at each label; a text id the language
// lacks leaves the label as it is.
#include <algorithm>
#include <cstdint>

#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIProgressBar.h"
#include "engine/gui/GUITooltipParam.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/LanguageManager.h"
#include "engine/gui/Text.h"
#include "engine/platform/DirectInputInterface.h"
#include "engine/render/Texture2D.h"
#include "engine/render/Texture2DAnimation.h"
#include "game/app/CampaignRecords.h"
#include "game/app/FormatNumber.h"
#include "game/app/GameHud.h"
#include "game/app/HudWindows.h"
#include "game/app/KindTutorials.h"
#include "game/app/PanelBlend.h"
#include "game/app/RunningGame.h"
#include "game/app/ScreenLists.h"
#include "game/app/ScreenWindows.h"
#include "game/app/SolitaireManager.h"
#include "game/cards/AchivementManager.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Statistik.h"
#include "game/look/GameStyle.h"
#include "game/look/StyleSettings.h"
#include "game/story/SolTutorialManager.h"

namespace Solitaire {

namespace {

// The tooltip hot spot waits off screen while no card tooltip is shown, and is an 8 x 8 window
// centred under the pointer while one is.
constexpr float kOffScreen = -1000.0f;
constexpr float kTooltipHalf = 4.0f;
constexpr float kTooltipSide = 8.0f;
// The title's smaller fonts, tried in turn when the title does not fit its room in its own.
constexpr wchar_t const* kSmallerTitleFonts[] = {L"MenuText", L"MenuKlein"};
// The tip timer runs from 0 to 10 at this speed.
constexpr float kTipTimerGoal = 10.0f;
constexpr float kTipTimerSpeed = 0.1f;

}  // namespace

// ---- wiring ----

GameHud::GameHud(Links const& links) : links_(links) {
    Kartenmanager* cards = links_.cards;
    if (!cards) return;
    cards->tooltipChanged.connect(this, &GameHud::onCardTooltipText);
    cards->lockedCardsFound.connect(this, &GameHud::onLockedCardsFound);
    cards->extraCardExposed.connect(this, &GameHud::onExtraCardFound);
    cards->comboChanged.connect(this, &GameHud::onComboChanged);
    cards->wildcardFound.connect(this, &GameHud::onWildcardFound);
    cards->jokerFound.connect(this, &GameHud::onJokerFound);
    cards->cardsUnlocked.connect(this, &GameHud::onCardsUnlocked);
    cards->specialPileMissing.connect(this, &GameHud::onNoEndPile);
    cards->specialPileEmpty.connect(this, &GameHud::onEndPileEmptied);
    cards->specialPileRefilled.connect(this, &GameHud::onEndPileRefilled);
    cards->playerNote.connect(this, &GameHud::onPlayerNote);
}

void GameHud::wire() {
    tooltipWindow_ = findScreenWindow(L"TMPWINDOW");
    if (tooltipWindow_)
        if (Orvex::GUITooltipParam* param = tooltipWindow_->findTooltipParam(L"KARTEN_TOOLTIP")) {
            param->textHook.disconnect(this);
            param->textHook.connect(this, &GameHud::provideCardTooltip);
        }
    points_ = findScreenWindow(L"I_Points");
    points2_ = findScreenWindow(L"I_Points2");
    time_ = findScreenWindow(L"I_Time");
    multiplier_ = findScreenWindow(L"I_Multiplier");
    combo_ = findScreenWindow(L"I_Combo");
    levelName_ = findScreenWindow(L"I_LevelName");
    if (Orvex::GUILabel* title = labelOf(levelName_)) levelNameFont_ = title->getFontName();
    item_ = findScreenWindow(L"I_Item");
    gesMed_ = findScreenWindow(L"I_GesMed");
    tipButton_ = findScreenWindowAs<Orvex::GUIProgressBar>(L"I_TIPP");
    for (Orvex::GUIWindow* paid : {static_cast<Orvex::GUIWindow*>(tipButton_), findScreenWindow(L"I_Undo_Step"),
                                   findScreenWindow(L"I_Undo_Start"), findScreenWindow(L"I_Shuffle")})
        if (Orvex::GUITooltipParam* param = paid ? paid->getFirstTooltipParam() : nullptr) {
            param->textHook.disconnect(this);
            param->textHook.connect(this, &GameHud::provideHelpPriceTooltip);
        }
    news_.setWindow(findScreenWindow(L"I_Meldung"));
    pointsAni_ = findScreenWindow(L"I_PointsANI");
    comboAni_ = findScreenWindow(L"I_ComboANI");
    itemAni_ = findScreenWindow(L"I_ItemANI");
    wireGoals();
    tipTimer_.start = 0.0f;
    tipTimer_.goal = kTipTimerGoal;
    tipTimer_.running = true;
    tipTimer_.speed = kTipTimerSpeed;
    tipTimer_.goalReachedSignal.connect(this, &GameHud::onTipTimerGoal);
    tipTimer_.changedSignal.connect(this, &GameHud::onTipTimerChanged);
    tipTimer_.setTime(0.0f);
    onTipTimerChanged(tipTimer_);
    wirePanels();
    wireMedals();
    storyPicture_ = findScreenWindow(L"T_STORY_BILD");
    if (storyPicture_) storyPicture_->selfDrawn.connect(this, &GameHud::drawStoryPicture);
}

bool GameHud::inCampaign() const { return links_.running && links_.running->campaign; }

void GameHud::prepareGame(bool campaign) {
    if (campaign) {
        if (item_)
            if (Orvex::Texture2D* texture = StyleSettings::instance().getCardSetTexture(0)) {
                Orvex::GUIDrawOptions& options = item_->getDrawOptions();
                options.setTexBackground(texture);
                options.backgroundSource.rect = Orvex::FRect::fromRECT(texture->getRect());
                options.backgroundSource.use = true;
            }
        jumpWindow(gesMed_, L"NIX");
    }
    for (Orvex::GUIWindow* medal : medals_) jumpWindow(medal, kHidden);
}

void GameHud::showLevelName(std::wstring const& text) {
    Orvex::GUILabel* title = labelOf(levelName_);
    if (!title) return;
    title->setText(text);
    float const room = title->getScreenRect().right - title->getScreenRect().left;
    title->setFont(levelNameFont_);
    for (wchar_t const* smaller : kSmallerTitleFonts) {
        RECT const used = title->measureText();
        if (static_cast<float>(used.right - used.left) <= room) return;
        title->setFont(smaller);
    }
}

void GameHud::update(double realStep) {
    news_.update(realStep);
    updateTooltipFollower();
    if (medalStar_) medalStar_->update(realStep);
}

// ---- labels ----

void GameHud::refreshLabels() {
    Kartenmanager* cards = links_.cards;
    if (auto* label = dynamic_cast<Orvex::GUILabel*>(variantLabel_)) {
        int const chapter = links_.running ? links_.running->currentChapter : -1;
        std::wstring const id = inCampaign() ? L"INGAME_VARIANT_LABEL_" + std::to_wstring(chapter) : L"";
        label->setText(inCampaign() ? chapterTitle(id, chapter) : links_.language->getText(id));
    }
    if (Orvex::GUILabel* label = labelOf(points_)) {
        pointsCentre_ = centreOf(*label);
        // Whole and in digit groups, as the results write the points the game ended with.
        formatLabel(label, formatNumber(wholeNumber(cards->getLevelScore())));
    }
    formatLabel(labelOf(points2_), formatNumber(wholeNumber(cards->getPointsReference())));
    if (Orvex::GUILabel* label = labelOf(multiplier_)) {
        multiplierCentre_ = centreOf(*label);
        if (GameStyle* style = cards->getGameStyle()) formatLabel(label, static_cast<double>(style->getMultiplierFactor()));
    }
    if (Statistik* statistik = links_.catalogue->getGameStatistik()) formatLabel(labelOf(time_), statistik->getTime());
}

void GameHud::advance(float step) {
    tipTimer_.update(step);
    // The balance moves with play: the bulb follows it also while the timer stands full.
    showTipReadiness();
    refreshLabels();
}

// ---- card tooltip ----

void GameHud::onCardTooltipText(std::wstring const& text, bool const& show) {
    if (!tooltipWindow_) return;
    cardTooltip_ = text;
    tooltipShown_ = show && !text.empty() && !inCampaign();
    if (tooltipShown_) return;
    Orvex::GUIRect& rect = tooltipWindow_->getRect();
    rect.getParamsX().offX = kOffScreen;
    rect.getParamsX().offY = kOffScreen;
    tooltipWindow_->updateRect(false, false);
}

void GameHud::provideCardTooltip(Orvex::GUIWindow&, Orvex::GUITooltipParam&, std::wstring& text) { text = cardTooltip_; }

void GameHud::ignoreTooltipText(Orvex::GUIWindow&, Orvex::GUITooltipParam&, std::wstring&) {}

void GameHud::updateTooltipFollower() {
    if (!tooltipWindow_ || !tooltipShown_) return;
    Orvex::DirectInputInterface& input = Orvex::DirectInputInterface::getInstance();
    float originX = 0.0f;
    float originY = 0.0f;
    if (Orvex::GUIWindow* parent = tooltipWindow_->getParent()) {
        originX = parent->getScreenRect().left;
        originY = parent->getScreenRect().top;
    }
    Orvex::GUIRect& rect = tooltipWindow_->getRect();
    rect.getParamsX().offX = input.mouseX - kTooltipHalf - originX;
    rect.getParamsX().offY = input.mouseY - kTooltipHalf - originY;
    rect.getParamsY().offX = kTooltipSide;
    rect.getParamsY().offY = kTooltipSide;
    tooltipWindow_->updateRect(false, false);
}

// ---- combos and found cards ----

void GameHud::onComboChanged(unsigned long const& combo) {
    if (Achivement* best = links_.achievements->find(L"MAX_COMBO"))
        best->setValue(std::max(best->getValue(), static_cast<float>(combo)));
    if (combo == 2) countAchievement(L"COMBOS", 1.0f);
}

bool GameHud::showFirstTimeTutorial(std::wstring const& name, Karte* card) {
    D3DXVECTOR2 at(0.0f, 0.0f);
    if (card) {
        card->getPosition(at, true, false);
        // The table point onto the screen, as the tutorials' own pages map theirs.
        links_.tutorials->mapTablePoint.emit(at);
    }
    return links_.tutorials->showTutorial(name, false, card != nullptr, at);
}

void GameHud::onExtraCardFound(Karte& card, unsigned long, unsigned long) {
    showFirstTimeTutorial(L"EXTRACARD_FOUND", &card);
    LevelRecord* record = inCampaign() ? links_.running->levelRecord() : nullptr;
    if (!record) return;
    if (record->foundRun < UINT32_MAX) ++record->foundRun;
    refreshGoalsPanel();
}

void GameHud::onJokerFound(Karte& card) { showFirstTimeTutorial(L"JOKER_FOUND", &card); }

void GameHud::onPlayerNote(std::wstring const& text) { news_.show(text); }

void GameHud::onWildcardFound(Karte& card) { showFirstTimeTutorial(L"WILDCARD_FOUND", &card); }

void GameHud::onLockedCardsFound(D3DXVECTOR4 const& counts) {
    showFirstKindTutorial(counts, L"LOCKED_CARDS_FOUND_",
                          [this](std::wstring const& name) { return showFirstTimeTutorial(name, nullptr); });
}

void GameHud::onCardsUnlocked(D3DXVECTOR4 const& counts) {
    showFirstKindTutorial(counts, L"CARD_UNLOCKED_",
                          [this](std::wstring const& name) { return showFirstTimeTutorial(name, nullptr); });
}

// ---- end-game button ----

void GameHud::placeEndGameButton(int stars) {
    if (!endGame_ || !inCampaign()) return;
    starReached_ = starReached_ || stars > 0;
    bool const wanted = !links_.cards->isGameEndShown() && (starReached_ || endPileEmpty_);
    wchar_t const* goal = wanted ? kShown : kHidden;
    if (endGame_->getTargetState().name != goal) endGame_->animateToGoal(goal, kPanelSpeed, false);
}

void GameHud::resetEndGameButton() {
    endPileEmpty_ = false;
    starReached_ = false;
    jumpWindow(endGame_, kHidden);
}

void GameHud::hideEndGameButton() {
    if (endGame_ && endGame_->getCurrentState().name != kHidden) endGame_->animateToGoal(kHidden, kPanelSpeed, false);
}

int GameHud::starsIfEndedNow() const {
    GameEndParms record;
    bool reached[kGoalSlots] = {false, false, false};
    if (!inCampaign() || !reachedGoals(record, reached)) return 0;
    return static_cast<int>(std::count(std::begin(reached), std::end(reached), true));
}

// A variant without a watched pile brings the button with its first star, not from the start.
void GameHud::onNoEndPile() { endPileEmpty_ = false; }

void GameHud::onEndPileEmptied(Kartenstapel&) {
    endPileEmpty_ = true;
    placeEndGameButton(starsIfEndedNow());
}

void GameHud::onEndPileRefilled(Kartenstapel&) {
    endPileEmpty_ = false;
    placeEndGameButton(starsIfEndedNow());
}

// ---- tip button ----

void GameHud::restartTipTimer() { tipTimer_.setTime(0.0f); }

void GameHud::resetTipButton() {
    if (tipButton_) tipButton_->getOptions().enabled = false;
    restartTipTimer();
}

void GameHud::onTipTimerChanged(Orvex::Interpolation<float, float>& timer) {
    if (!tipButton_) return;
    showTipReadiness();
    if (!(timer.t >= 1.0f)) return;
    // A hint the points cannot pay is not ready: the reminders sparkle once they can.
    Kartenmanager* cards = links_.cards;
    if (cards->canPay(cards->getHintPrice())) sparkleOver(*tipButton_, L"TIPP_READY_EMITTER");
    tipReminder_ = nextReminder();
}

void GameHud::showTipReadiness() {
    // The bulb fills with the timer while a hint can be paid, and stays dark while it cannot.
    Kartenmanager* cards = links_.cards;
    if (tipButton_) tipButton_->setRatio(cards->canPay(cards->getHintPrice()) ? tipTimer_.t : 0.0f);
}

void GameHud::onTipTimerGoal(Orvex::Interpolation<float, float>&) {
    if (tipButton_) tipButton_->getOptions().enabled = true;
}

void GameHud::remindTip(double realStep) {
    Kartenmanager* cards = links_.cards;
    if (tipButton_ && cards->canPay(cards->getHintPrice()))
        remind(*tipButton_, tipReminder_, realStep, L"TIPP_READY_EMITTER_ERINNERN");
}

std::wstring GameHud::priceText(PaidHelp help, float price, bool tooltip) const {
    // The text names the points that are short: the balance (shown as "Guthaben"), or the score.
    bool const scoreShort = links_.cards->getScore() < links_.cards->getPointsBalance();
    wchar_t const* const what = help == PaidHelp::kHint   ? L"TIPP_PREIS"
                                : help == PaidHelp::kUndo ? L"UNDO_PREIS"
                                                          : L"MISCHEN_PREIS";
    std::wstring id = std::wstring(tooltip ? L"TT_I_" : L"MELDUNG_") + what;
    if (scoreShort) id += L"_PUNKTE";
    return formatPriceNote(id, price, links_.cards->getMissingPoints(price));
}

bool GameHud::refuseForPrice(PaidHelp help, float price) {
    Kartenmanager* cards = links_.cards;
    if (cards->getGameStatus() != kGameRunning || cards->canPay(price)) return false;
    cards->playSound(GameStyle::kSoundErrorMove);
    news_.show(priceText(help, price));
    return true;
}

void GameHud::undo(int steps, wchar_t const* const* achievements) {
    Kartenmanager* cards = links_.cards;
    if (links_.running->gameOver) return;
    if (refuseForPrice(PaidHelp::kUndo, cards->getUndoPrice(steps))) return;
    if (cards->undoSteps(steps, false, false) == 0) return;
    // A refusal shown before is no longer true.
    news_.clear();
    cards->playSound(GameStyle::kSoundUndo);
    for (; *achievements; ++achievements) countAchievement(*achievements);
}

void GameHud::provideHelpPriceTooltip(Orvex::GUIWindow& window, Orvex::GUITooltipParam&, std::wstring& text) {
    Kartenmanager* cards = links_.cards;
    PaidHelp const help = &window == tipButton_             ? PaidHelp::kHint
                          : window.getName() == L"I_Shuffle" ? PaidHelp::kShuffle
                                                             : PaidHelp::kUndo;
    int const steps = window.getName() == L"I_Undo_Start" ? kUndoToStart : -1;
    float const price = help == PaidHelp::kHint      ? cards->getHintPrice()
                        : help == PaidHelp::kShuffle ? cards->getShufflePrice()
                                                     : cards->getUndoPrice(steps);
    if (cards->getGameStatus() != kGameRunning || cards->canPay(price)) return;
    std::wstring const next = priceText(help, price, true);
    if (!next.empty()) text = next;
}

}  // namespace Solitaire
