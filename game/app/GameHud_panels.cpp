// The HUD's level-goals panel, the information panels with their hover zones and frames, the
// medal windows and stars, and the story picture.
#include <algorithm>
#include <memory>
#include <vector>

#include "engine/gui/GUILabel.h"
#include "engine/gui/GUITooltipParam.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/Text.h"
#include "engine/render/Texture2DAnimation.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "game/app/FormatNumber.h"
#include "game/app/GameHud.h"
#include "game/app/HudWindows.h"
#include "game/app/LevelGoal.h"
#include "game/app/MyGlobals.h"
#include "game/app/PanelBlend.h"
#include "game/app/ScreenWindows.h"
#include "game/app/SolVariant.h"
#include "game/app/SolitaireManager.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Statistik.h"
#include "game/look/GameStyle.h"
#include "game/story/StoryPart.h"

namespace Solitaire {

namespace {

// Goals of the goal stars and ticks.
constexpr wchar_t kReached[] = L"ON";
constexpr wchar_t kNotReached[] = L"OFF";
constexpr wchar_t kInvisible[] = L"INVISIBLE";
constexpr double kMedalSpeed = 1.0;
// A star whose slot holds no goal fades out at this speed.
constexpr double kEmptySlotSpeed = 3.0;
// Frames behind the panels: the label's text grown by this many pixels, corners of this size.
constexpr int kNameGrow = 10;
constexpr int kNameCorner = 40;
constexpr int kPanelGrow = 20;
constexpr int kPanelCorner = 10;
constexpr float kNameAlpha = 0.5f;
constexpr float kPanelAlpha = 0.75f;
constexpr D3DCOLOR kClearWhite = 0x00FFFFFF;
constexpr D3DCOLOR kBlack = 0x00000000;

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

// ---- wiring ----

void GameHud::wireGoals() {
    variantLabel_ = findScreenWindow(L"I_VariantLabel_Label");
    goalsPanel_ = findScreenWindow(L"I_Goals");
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

void GameHud::wirePanels() {
    endGame_ = findScreenWindow(L"I_END_GAME");
    statistics_ = findScreenWindow(L"I_Statistiken");
    statisticsZone_ = findScreenWindow(L"I_Statistiken_TZ");
    if (statistics_ && statisticsZone_) {
        statistics_->beforeDrawSelf.connect(this, &GameHud::drawStatisticsPanel);
        statisticsZone_->activated.connect(this, &GameHud::onStatisticsZoneEntered);
        statisticsZone_->deactivated.connect(this, &GameHud::onStatisticsZoneLeft);
    }
    help_ = findScreenWindow(L"I_Help");
    helpZone_ = findScreenWindow(L"I_Help_TZ");
    if (help_ && helpZone_) {
        help_->beforeDrawSelf.connect(this, &GameHud::drawHelpFrame);
        helpZone_->activated.connect(this, &GameHud::onHelpZoneEntered);
        helpZone_->deactivated.connect(this, &GameHud::onHelpZoneLeft);
    }
    gameName_ = findScreenWindow(L"I_GameName");
    if (gameName_) gameName_->beforeDrawSelf.connect(this, &GameHud::drawGameNameFrame);
    if (points_)
        if (Orvex::GUITooltipParam* param = points_->findTooltipParam(L"DEF")) {
            param->textHook.disconnect(this);
            param->textHook.connect(this, &GameHud::ignoreTooltipText);
        }
}

void GameHud::wireMedals() {
    wchar_t const* const medals[kMedals] = {L"I_ABSCHLUSS_NIX", L"I_ABSCHLUSS_BRONZE", L"I_ABSCHLUSS_SILBER",
                                            L"I_ABSCHLUSS_GOLD", L"I_ABSCHLUSS_PERFEKT"};
    wchar_t const* const stars[4] = {L"I_BRONZE_STERN", L"I_SILBER_STERN", L"I_GOLD_STERN", L"I_PERFEKT_STERN"};
    for (int i = 0; i < kMedals; ++i) medals_[i] = findScreenWindow(medals[i]);
    for (int i = 0; i < 4; ++i) {
        medalStars_[i] = findScreenWindow(stars[i]);
        if (medalStars_[i]) medalStars_[i]->beforeDrawSelf.connect(this, &GameHud::drawMedalStar);
    }
    medalStar_ = Orvex::Texture2DAnimationManager::instance().findAnimation(L"I_ABSCHLUSS_STERN");
}

// ---- goals panel ----

bool GameHud::reachedGoals(GameEndParms& record, bool (&reached)[kGoalSlots]) const {
    SolVariant* variant = links_.catalogue->getCurrentVariant();
    Statistik* statistik = links_.catalogue->getGameStatistik();
    if (!variant || !statistik) return false;
    // The table as the game end would record it, with the running game's time and best combo.
    record = links_.cards->makeGameEndParms(false);
    record.time = static_cast<float>(statistik->getTime());
    record.maxCombo = counterOf(*statistik, StatistikCounter::MaxCombo);
    variant->getReachedGoals(record, reached[0], reached[1], reached[2]);
    return true;
}

void GameHud::refreshGoalsPanel() {
    SolVariant* variant = links_.catalogue->getCurrentVariant();
    GameEndParms record;
    bool reached[kGoalSlots] = {false, false, false};
    if (!variant || !reachedGoals(record, reached)) return;
    placeEndGameButton(static_cast<int>(std::count(std::begin(reached), std::end(reached), true)));
    if (!goalsPanel_) return;
    std::vector<std::unique_ptr<LevelGoal>> const& goals = variant->getGoals();
    for (int n = 0; n < kGoalSlots; ++n) {
        LevelGoal const* goal = static_cast<std::size_t>(n) < goals.size() ? goals[n].get() : nullptr;
        refreshGoalSlot(goalSlots_[n], goal, reached[n], record);
    }
}

void GameHud::refreshGoalSlot(GoalSlot const& slot, LevelGoal const* goal, bool reached, GameEndParms const& record) {
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

// ---- panels ----

void GameHud::drawGameNameFrame(Orvex::GUIWindow& window, bool&, bool&, bool&) {
    auto* label = dynamic_cast<Orvex::GUILabel*>(&window);
    MyGlobals* globals = links_.globals;
    if (!label || !globals) return;
    double const alpha = window.getAccumulatedAlpha();
    globals->drawFrame(grownText(*label, kNameGrow), kNameCorner, kClearWhite | alphaByte(kNameAlpha * alpha), 0, 0, 0, 0, 0, 0);
}

void GameHud::drawHelpFrame(Orvex::GUIWindow& window, bool&, bool&, bool&) {
    auto* label = dynamic_cast<Orvex::GUILabel*>(&window);
    MyGlobals* globals = links_.globals;
    if (!label || !globals) return;
    double const alpha = window.getAccumulatedAlpha();
    globals->drawFrame(grownText(*label, kPanelGrow), kPanelCorner, kClearWhite | alphaByte(kPanelAlpha * alpha),
                       kBlack | alphaByte(alpha), 0, 0, 0, 0, 0);
}

void GameHud::drawStatisticsPanel(Orvex::GUIWindow& window, bool& a, bool& b, bool& c) {
    auto* label = dynamic_cast<Orvex::GUILabel*>(&window);
    if (!label) return;
    Orvex::Text* text = findLanguageText(label->getTextId());
    Statistik* s = links_.catalogue->getGameStatistik();
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

bool GameHud::helpCentred() const { return helpBlend_.current > 0.0f; }

void GameHud::moveBlends(double realStep) {
    if (PanelBlend& blend = gameNameBlend_.isMoving() ? gameNameBlend_ : helpBlend_; blend.isMoving())
        blend.move(static_cast<float>(realStep));
}

namespace {

bool dismissPanel(Orvex::GUIWindow* panel, PanelBlend& blend) {
    if (!panel || blend.target <= 0.5f) return false;
    blend.target = 0.0f;
    panel->animateToGoal(kHidden, kPanelSpeed, false);
    return true;
}

}  // namespace

void GameHud::showGameNamePanel() {
    if (!gameName_) return;
    gameName_->animateToGoal(kShown, kPanelSpeed, false);
    gameNameBlend_ = PanelBlend{1.0f, 1.0f};
}

bool GameHud::dismissGameNamePanel() { return dismissPanel(gameName_, gameNameBlend_); }

bool GameHud::dismissHelpPanel() { return dismissPanel(help_, helpBlend_); }

void GameHud::onHelpZoneEntered(Orvex::GUIWindow&) {
    // Not while the panel stands in the middle (the game start shows it there).
    if (help_ && !helpCentred()) help_->animateToGoal(kShown, kPanelSpeed, false);
}

void GameHud::onHelpZoneLeft(Orvex::GUIWindow&) {
    if (help_ && !helpCentred()) help_->animateToGoal(kHidden, kPanelSpeed, false);
}

void GameHud::onStatisticsZoneEntered(Orvex::GUIWindow&) {
    if (statistics_) statistics_->animateToGoal(kShown, kPanelSpeed, false);
}

void GameHud::onStatisticsZoneLeft(Orvex::GUIWindow&) {
    if (statistics_) statistics_->animateToGoal(kHidden, kPanelSpeed, false);
}

// ---- medals ----

void GameHud::revealMedal(int rating) {
    // The five medal windows: none, bronze, silver, gold, perfect.
    Kartenmanager* cards = links_.cards;
    int medal = 0;
    int sound = GameStyle::kSoundLose;
    switch (rating) {
    case 2: medal = 1, sound = GameStyle::kSoundBronze; break;
    case 3: medal = 2, sound = GameStyle::kSoundSilber; break;
    case 4: {
        // The end record's table: the end flight has emptied the piles by now.
        bool const perfect = cards->makeGameEndParms(false).allTableauEmpty;
        medal = perfect ? 4 : 3;
        sound = perfect ? GameStyle::kSoundPerfekt : GameStyle::kSoundGold;
        break;
    }
    default: break;
    }
    Orvex::GUIWindow* window = medals_[medal];
    if (!window) return;
    window->animateToGoal(kShown, kMedalSpeed, false);
    cards->playSound(sound);
}

void GameHud::sendMedalsAway() {
    for (Orvex::GUIWindow* medal : medals_)
        if (medal) medal->animateToGoal(L"WEG", kMedalSpeed, false);
}

// ---- pictures ----

void GameHud::drawMedalStar(Orvex::GUIWindow& window, bool&, bool&, bool&) {
    if (!medalStar_) return;
    Orvex::AnimationFrame const* frame = medalStar_->getCurrentFrame();
    if (!frame) return;
    Orvex::GUIDrawOptions& options = window.getDrawOptions();
    options.setTexBackground(frame->texture);
    options.backgroundSource.use = true;
    options.backgroundSource.rect = Orvex::FRect::fromRECT(frame->rect);
}

void GameHud::drawStoryPicture(Orvex::GUIWindow& window, bool const& drawn) {
    StoryPart* part = links_.storyPart ? *links_.storyPart : nullptr;
    if (drawn && part) part->draw(window);
}

}  // namespace Solitaire
