// The game flow: from a choice on a menu to a running game (free play with an optional typed
// seed, or a campaign level, before which the story scene that is due plays), what a finished
// story scene asks for, the record of a finished game in the active profile (stars, opened
// levels and chapters, unlocks, achievements, goods, points) and the way back from a finished
// mini-game: its screen first tells how it ended (solved, skipped, lost by time, left), and its
// button "MINISPIEL_E_Weiter" leads to the level screen.
//
// The running level's records are looked up in the active profile by chapter and level number
// whenever they are used, never kept as pointers: the profile's campaign table may grow, and the
// profile may be deleted while a game runs.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <string>

#include "engine/core/PerfTimer.h"
#include "engine/core/engine/OrvexEngine.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIMenuManagerN.h"
#include "engine/gui/GUIProgressBar.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/Text.h"
#include "engine/gui/TutorialStrip.h"
#include "engine/render/Texture2D.h"
#include "game/app/LevelGoal_Combo.h"
#include "game/app/LevelGoal_Extracards.h"
#include "game/app/LevelGoal_Points.h"
#include "game/app/MenuNames.h"
#include "game/app/MyGlobals.h"
#include "game/app/Profil.h"
#include "game/app/ProfilManager.h"
#include "game/app/ScreenLists.h"
#include "game/app/ScreenWindows.h"
#include "game/app/SolCategorie.h"
#include "game/app/SolSolitaire.h"
#include "game/app/SolVariant.h"
#include "game/app/SolitaireGame2.h"
#include "game/app/SolitaireManager.h"
#include "game/cards/AchivementManager.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Statistik.h"
#include "game/look/GameStyle.h"
#include "game/look/Style.h"
#include "game/look/StyleSettings.h"
#include "game/minigames/Minispiel.h"
#include "game/minigames/MinispielManager.h"
#include "game/particles/SolPartikel.h"
#include "game/story/ExtendedTutorialManager.h"
#include "game/story/SolTutorialManager.h"
#include "game/story/StoryManager.h"
#include "game/story/StoryPart.h"

namespace Solitaire {

// The flow speaks in the running game's words for a start and a level's result.
using StartResult = RunningGame::StartResult;
using LevelResult = RunningGame::LevelResult;

namespace {

// The results by their short names (`using enum` of a class's enum crashes clang 14).
constexpr StartResult kNothingStarted = RunningGame::kNothingStarted;
constexpr StartResult kGameStarted = RunningGame::kGameStarted;
constexpr StartResult kStoryStarted = RunningGame::kStoryStarted;
constexpr LevelResult kNoStar = RunningGame::kNoStar;
constexpr LevelResult kOneStar = RunningGame::kOneStar;
constexpr LevelResult kThreeStars = RunningGame::kThreeStars;

// The tutorial strip that shows a story scene.
constexpr wchar_t kStoryStrip[] = L"STORY";
constexpr wchar_t kCampaignCategory[] = L"KAMPAGNE";
// The caption of "A_NEXT" when a story scene plays before the next level.
constexpr wchar_t kStoryFirstTextId[] = L"A_WEITER_GESCHICHTE";

}  // namespace

RunningGame::StartResult SolitaireGame2::startGame(RunningGame::StartOptions const& options) {
    bool const campaign = options.campaign;
    bool const withTutorial = options.withTutorial;
    // A results delay still running belongs to the game before: its screen would open over
    // this one.
    running_.gameOver = false;
    results_.pending = RunningGame::kNoOutcome;
    results_.skip = false;
    if (!campaign) running_.recordChapter = running_.recordLevel = -1;
    SolitaireManager& catalogue = SolitaireManager::instance();
    SolVariant* variant = catalogue.getCurrentVariant();
    // The story scene that is due plays first.
    if (variant && campaign && options.withStory) {
        if (checkStory()) return kStoryStarted;
        if (!variant->getUnlocksBefore().empty()) {
            if (Profil* profile = activeProfile()) profile->addUnlock(variant->getUnlocksBefore(), false);
            if (checkStory()) return kStoryStarted;
        }
    }
    // The variant starts.
    if (!catalogue.startVariant()) return kNothingStarted;
    variant = catalogue.getCurrentVariant();
    running_.levelAbandoned = false;
    // The kind of game and its seed.
    running_.campaign = campaign;
    running_.seedText = options.seedText;
    if (options.seedFromScreen)
        if (Orvex::GUILabel* seed = labelOf(findWindow(L"FG_SEED"))) {
            std::wstring const typed = seed->getText();
            if (typed != Orvex::languageText(seed->getTextId())) running_.seedText = typed;
        }
    // The end-game button away, the in-game screen on.
    hud_.resetEndGameButton();
    menus_->activateMenu(kInGameMenu, -1.0);
    // The variant's tutorial; a lesson of the game before ends here. A free variant that names a
    // lesson was chosen for it: the lesson comes whatever the tutorial switch says.
    extTutorials_->stopTutorial();
    if (withTutorial) {
        if (!variant->getExtendedTutorial().empty())
            extTutorials_->startTutorial(variant->getExtendedTutorial(), !campaign);
        else if (!variant->getStartTutorial().empty())
            catalogue.showStartTutorial(false);
    }
    bool const tutorialRuns = solTutorials_->isRunning() || extTutorials_->isRunning();
    // The deal with the profile's points and goods.
    Profil* profile = activeProfile();
    GameStyle const* style = StyleSettings::instance().getGameStyle();
    float const points = campaign ? (profile ? profile->getPoints() : 0.0f) : (style ? style->startScore : 0.0f);
    Kartenmanager::OwnedCards const wildcards = profile ? profile->getWildcards() : Kartenmanager::OwnedCards();
    Kartenmanager::OwnedCards const jokers = profile ? profile->getJokers() : Kartenmanager::OwnedCards();
    cards_->startGame(camera_, running_.seedText, tutorialRuns, wildcards, jokers, points);
    if (withTutorial) cards_->computeCardBounds();
    // The hint button and the news line afresh.
    hud_.resetTipButton();
    hud_.getNews().clear();
    // The HUD's look of this kind of game and the level's name.
    jumpWindow(L"I_STORY", campaign ? L"AN" : L"AUS");
    jumpWindow(L"I_FREIESSPIEL", campaign ? L"AUS" : L"AN");
    if (Orvex::Text* text = engine_->getLanguage()->findText(campaign ? L"INGAME_LEVELNAME_STORY" : L"INGAME_LEVELNAME_FG")) {
        SolSolitaire const* game = catalogue.getCurrentGame();
        std::wstring const gameName = game ? Orvex::languageText(game->getTextId()) : std::wstring();
        std::wstring const variantName = Orvex::languageText(variant->getTextId());
        std::wstring shown;
        hud_.showLevelName(text->format(shown, gameName, variantName));
    }
    // The banner with the level's name, then the help panel with the variant's rules (or
    // its tutorial's title), shown when it changed: a variant started again does not repeat it.
    hud_.getHelpBlend() = PanelBlend{};
    helpScreen_.preparePanel(*variant, tutorialRuns);
    hud_.getGameNameBlend() = PanelBlend{};
    bool bannerShown = false;
    if (campaign)
        if (Orvex::GUILabel* label = labelOf(hud_.getGameNamePanel()))
            if (Orvex::Text* text = engine_->getLanguage()->findText(label->getTextId())) {
                std::wstring const name = Orvex::languageText(variant->getGameName());
                if (!name.empty()) {
                    std::wstring shown;
                    label->setText(text->format(shown, name));
                    if (!tutorialRuns) {
                        hud_.showGameNamePanel();
                        bannerShown = true;
                    }
                }
            }
    if (!bannerShown) helpScreen_.showPendingPanel();
    // The gods and the shop belong to the campaign.
    powersAndShop_.refreshGodBars();
    // A campaign level's card set on the item window, no medal yet; the medals put away.
    hud_.prepareGame(campaign);
    // The HUD's numbers and the variant's show tutorial; loading time is not a frame.
    hud_.refreshLabels();
    if (!variant->getShowTutorial().empty()) tutorialScreens_.show(variant->getShowTutorial(), false);
    engine_->getPerfTimer()->update();
    engine_->getPerfTimer()->update();
    return kGameStarted;
}

bool SolitaireGame2::checkStory() {
    // Starting a scene may lead back here (the menu it opens asks again): the nested call says
    // no.
    if (checkingStory_) return false;
    if (storyPart_) return true;
    checkingStory_ = true;
    storyPart_ = story_->startNextScene(activeProfile());
    if (storyPart_) {
        if (!storyPart_->params.onStartMenu.empty()) menus_->activateMenu(storyPart_->params.onStartMenu, -1.0);
        // Forced: it is the strip that shows the scene, which must play for every scene.
        tutorialScreens_.show(kStoryStrip, true);
    }
    checkingStory_ = false;
    return storyPart_ != nullptr;
}

bool SolitaireGame2::storyInFront() const {
    if (!storyPart_) return false;
    if (!solTutorials_->isRunning()) return true;
    Orvex::TutorialStrip const* strip = solTutorials_->getCurrentStrip();
    return strip && strip->getName() == kStoryStrip;
}

RunningGame::StartResult SolitaireGame2::startCampaignLevel(int chapter, int level, bool withTutorial) {
    SolitaireManager& catalogue = SolitaireManager::instance();
    if (!catalogue.setCurrentByNames(kCampaignCategory, L"KAPITEL_" + std::to_wstring(chapter), L"LEVEL_" + std::to_wstring(level)))
        return kNothingStarted;
    running_.recordChapter = running_.recordLevel = -1;
    if (Profil* profile = activeProfile()) {
        profile->mergeFoundCounts();
        if (ChapterRecord* record = profile->findChapter(chapter)) {
            running_.recordChapter = chapter;
            if (Profil::findLevel(*record, level)) running_.recordLevel = level;
        }
    }
    StartResult const result = startGame({.campaign = true, .withTutorial = withTutorial});
    if (result == kGameStarted) {
        running_.currentChapter = running_.nextChapter = chapter;
        running_.currentLevel = running_.nextLevel = level;
        if (LevelRecord* record = running_.levelRecord()) record->foundRun = 0;
        hud_.refreshLabels();
    }
    return result;
}

void SolitaireGame2::buildLevelScreen() { campaignScreens_.buildLevels(running_.currentChapter, running_.currentLevel); }

void SolitaireGame2::onLevelChosen(int chapter, int level) {
    running_.currentChapter = running_.nextChapter = chapter;
    running_.currentLevel = running_.nextLevel = level;
    startCampaignLevel(chapter, level, true);
}

bool SolitaireGame2::finishStoryPart() {
    // Nothing without a scene. Its record is the scene's: a copy is carried out.
    StoryPart* part = storyPart_;
    if (!part) return true;
    Profil* profile = activeProfile();
    part->applyPostUnlocks(profile);
    part->stopEmitters();  // a skipped scene's sparks would fall on the next table
    storyPart_ = nullptr;
    closingStory_ = true;
    solTutorials_->closeTutorial();
    closingStory_ = false;
    part->applyPostPostUnlocks(profile);
    StorySceneParams const params = part->params;
    // The scene's achievements.
    for (StorySceneParams::AchievementIncrement const& increment : params.achievementIncrements)
        countAchievement(increment.name.c_str(), increment.increment);
    // The menu the scene ends on.
    if (!params.onEndMenu.empty()) menus_->activateMenu(params.onEndMenu, -1.0);
    // With a level to start the tutorial shows after the start, once.
    bool const startsLevel = params.startLevel || params.startNextLevel;
    if (params.startTutorial && !startsLevel) tutorialScreens_.show(params.tutorial, false);
    // A mini-game that does not exist counts as finished at once.
    if (params.startMinigame) {
        running_.minigameNumber = params.minigame;
        if (Minispiel* game = minigames_->findMinispiel(L"MINIGAME_" + std::to_wstring(running_.minigameNumber))) {
            minigames_->setActiveMinispiel(game);
            menus_->activateMenu(kMinigameMenu, -1.0);
        } else {
            finishMinispiel();
        }
    }
    // The level the scene starts.
    StartResult result = kNothingStarted;
    if (params.startLevel) {
        running_.nextChapter = params.chapter;
        running_.nextLevel = params.level;
        result = startCampaignLevel(params.chapter, params.level, !params.startTutorial);
    } else if (params.startNextLevel) {
        result = startCampaignLevel(running_.nextChapter, running_.nextLevel, !params.startTutorial);
    } else {
        return true;
    }
    if (!params.startTutorial || result != kGameStarted) return result != kStoryStarted;
    tutorialScreens_.show(params.tutorial, false);
    // The variant's start tutorial after the scene's.
    SolitaireManager::instance().showStartTutorial(false);
    cards_->computeCardBounds();
    return true;
}

void SolitaireGame2::finishMinispiel() {
    // The game stays active, updating, drawing and holding its mouse, until it is let go here.
    minigames_->setActiveMinispiel(nullptr);
    minigameResult_.hide();
    Profil* profile = activeProfile();
    if (!profile) return;
    profile->addUnlock(L"MINIGAME_" + std::to_wstring(running_.minigameNumber) + L"_FINISHED", false);
    if (running_.minigameNumber < INT_MAX) profile->openChapter(running_.minigameNumber + 1);
    menus_->activateMenu(kLevelMenu, -1.0);
}

static_assert(RunningGame::kThreeStars == LevelRecord::kMaxResult, "a level's best result is three stars");

RunningGame::LevelResult SolitaireGame2::recordCampaignResult(GameEndParms const& played, bool& pointsGoalMissed, bool& comboGoalMissed) {
    SolitaireManager const& catalogue = SolitaireManager::instance();
    SolVariant const* variant = catalogue.getCurrentVariant();
    // The longest combo is the game's statistics'.
    GameEndParms parms = played;
    if (Statistik const* statistics = catalogue.getGameStatistik())
        parms.maxCombo = static_cast<int>(std::min<Orvex::u32>(statistics->get(StatistikCounter::MaxCombo), INT_MAX));
    LevelResult const result = variant ? static_cast<LevelResult>(variant->getStarRating(parms)) : kNoStar;
    // Which goals a lost level missed.
    if (result < kOneStar && variant)
        for (auto const& goal : variant->getGoals()) {
            if (auto const* points = dynamic_cast<LevelGoal_Points const*>(goal.get()))
                pointsGoalMissed = pointsGoalMissed || parms.score < points->getMinPoints();
            if (auto const* combo = dynamic_cast<LevelGoal_Combo const*>(goal.get()))
                comboGoalMissed = comboGoalMissed || static_cast<std::int64_t>(parms.maxCombo) < combo->getMinCombo();
        }
    // Achievements of every level played.
    if (parms.allTableauEmpty && result == kThreeStars) countAchievement(L"LEVEL_PERFECT", 1.0f);
    countAchievement(L"LEVEL_PLAYED", 1.0f);
    // The level keeps its best result.
    Profil* profile = activeProfile();
    ChapterRecord* chapter = profile && running_.recordChapter >= 0 ? profile->findChapter(running_.recordChapter) : nullptr;
    LevelRecord* level = running_.levelRecord();
    if (!chapter || !level) return result;
    int const old = level->result;
    level->result = std::max<int>(old, result);
    int const gained = std::max(level->result - 1, 0) - std::max(old - 1, 0);
    if (gained > 0) countAchievement(L"STARS", static_cast<float>(gained));
    Orvex::u32 const extraCards = static_cast<Orvex::u32>(std::max(parms.extraCards, 0));
    Orvex::u32 const bestBefore = level->found;
    level->found = level->foundRun = std::max(level->found, extraCards);
    // A chapter is finished when more than half of its levels have a star.
    chapter->result = SolitaireManager::getRecordCompletion(*chapter);
    bool const chapterFinished = chapter->result > 1;
    if (chapterFinished) profile->addUnlock(L"KAPITEL_" + std::to_wstring(running_.recordChapter) + L"_FINISHED", false);
    // A passed level opens the next and counts its extra cards.
    if (level->result > kNoStar) {
        running_.nextLevelAvailable = profile->advanceCampaign(running_.currentChapter, running_.currentLevel, running_.nextChapter, running_.nextLevel, chapterFinished);
        running_.fromPassedLevel = true;
        if (variant && !variant->getUnlocks().empty()) profile->addUnlock(variant->getUnlocks(), false);
        std::wstring const number = std::to_wstring(running_.recordChapter);
        countAchievement((L"EXTRACARDS_CPT_ACCUM_" + number).c_str(), static_cast<float>(extraCards));
        // What the goals asked for beyond the best before, counted signed: the best may exceed it.
        std::int64_t targets = 0;
        if (variant)
            for (auto const& goal : variant->getGoals())
                if (auto const* extra = dynamic_cast<LevelGoal_Extracards const*>(goal.get())) targets += extra->getMinExtraCards();
        std::int64_t const open = std::max<std::int64_t>(0, targets - static_cast<std::int64_t>(bestBefore));
        countAchievement((L"EXTRACARDS_CPT_" + number).c_str(), static_cast<float>(std::min<std::int64_t>(extraCards, open)));
        countAchievement(L"EXTRACARDS", static_cast<float>(extraCards));
    }
    return result;
}

void SolitaireGame2::captionNextButton() {
    Orvex::GUILabel* caption = labelOf(findWindow(L"A_NEXT"));
    if (!caption) return;
    if (nextLevelTextId_.empty()) nextLevelTextId_ = caption->getTextId();
    bool const storyFirst = running_.campaign && running_.nextLevelAvailable && story_->hasSceneDue(activeProfile());
    caption->setTextId(storyFirst ? std::wstring(kStoryFirstTextId) : nextLevelTextId_);
}

void SolitaireGame2::onGameEnd(bool const& won, GameEndParms const& parms) {
    // The HUD's last numbers; the end-game button away.
    hud_.refreshLabels();
    hud_.hideEndGameButton();
    // The goods found or bought stay with the profile.
    Profil* profile = activeProfile();
    if (profile) {
        profile->setWildcards(cards_->collectWildcards());
        profile->setJokers(cards_->collectJokers());
        if (running_.campaign) profile->setPoints(cards_->getPointsBalance());
    }
    // The next position is this one until the level says otherwise.
    running_.nextLevelAvailable = false;
    running_.fromPassedLevel = false;
    running_.nextChapter = running_.currentChapter;
    running_.nextLevel = running_.currentLevel;
    // The result: a campaign level's stars, a free game's won or lost.
    bool pointsGoalMissed = false;
    bool comboGoalMissed = false;
    LevelResult result = won ? kThreeStars : kNoStar;
    if (running_.campaign) result = recordCampaignResult(parms, pointsGoalMissed, comboGoalMissed);
    // The chapters' completion and the outcome.
    CampaignScreens::refreshResults();
    running_.gameOver = true;
    running_.outcome = result > kNoStar ? RunningGame::kWon : RunningGame::kLost;
    // A rated game's cards fly off before the results.
    float delay = running_.campaign ? ResultsDelay::kCampaignBase : results_.freePlayBase;
    if (result > kNoStar) {
        Style const* style = StyleSettings::instance().getStyle();
        if (style) delay += cards_->startEndFlyOut(result == kThreeStars ? style->flyWin : style->flyLose);
    }
    results_.delay = delay;
    results_.skip = false;
    results_.pending = result > kNoStar ? RunningGame::kWon : RunningGame::kLost;
    // The results screen, highscore, statistics, and the profiles saved.
    resultsScreen_.showResults(result, running_.campaign || won, !running_.campaign, pointsGoalMissed, comboGoalMissed);
    // The medal the delay reveals is the one of the rating the results keep.
    results_.rating = resultsScreen_.getStoredRating();
    captionNextButton();
    SolitaireManager::instance().addHighscore(activeProfile() ? activeProfile()->getName() : std::wstring());
    SolitaireManager::instance().finishStatistics(won);
    ProfilManager::instance().saveProfiles();
}

}  // namespace Solitaire
