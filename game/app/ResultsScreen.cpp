// The results screen, the highscore list and the statistics (see ResultsScreen.h).
#include "game/app/ResultsScreen.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "engine/gui/GUIButton.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIMenuManagerN.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/LanguageManager.h"
#include "engine/gui/Text.h"
#include "game/app/FormatNumber.h"
#include "game/app/HighscoreEintrag.h"
#include "game/app/MenuNames.h"
#include "game/app/RunningGame.h"
#include "game/app/ScreenLists.h"
#include "game/app/ScreenWindows.h"
#include "game/app/SolCategorie.h"
#include "game/app/SolSolitaire.h"
#include "game/app/SolVariant.h"
#include "game/app/SolitaireManager.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Statistik.h"
#include "game/cards/StatistikManager.h"
#include "game/look/GameStyle.h"
#include "game/look/StyleSettings.h"

namespace Solitaire {

namespace {

using Counter = StatistikCounter;

constexpr wchar_t kHighscorePanel[] = L"STG_HIGHSCORE_SCROLL";
constexpr wchar_t kHighscoreTemplate[] = L"STG_HighscoreVorlage";
// The columns laid over each entry's button (labels named after their column), when the GUI
// files give them; without, the entry is one line of the button's own caption.
constexpr wchar_t kColumnsTemplate[] = L"STG_HighscoreSpalten";
constexpr wchar_t kWonStyle[] = L"HighscoreStyleWon";
constexpr wchar_t const* kOverallStatistik = StatistikManager::kProfileSetName;
constexpr int kSecondsPerMinute = 60;
constexpr int kSecondsPerHour = 3600;
// Ratings: 2, 3 and 4 are one, two and three stars.
constexpr int kFirstStarRating = 2;
constexpr int kStarCount = 3;
constexpr int kMaxRating = 4;

int whole(std::int64_t value) { return static_cast<int>(value); }

// "A_ST_Undos" / "A_FG_Undos": the undo count and what the undos cost in points.
void fillUndos(wchar_t const* name, Statistik const& running, GameStyle* style) {
    Orvex::u32 const undos = running.get(Counter::Undos);
    double const cost = static_cast<double>(undos) * (style ? style->getUndoPoints(false) : 0.0f);
    formatOwnText(findLabel(name), undos, formatNumber(wholeNumber(cost)));
}

// An entry's values, each in its column's label formatted from the label's own text: rank, name,
// points with digit groups, game time as minutes and seconds, date and time, combo, undos.
void fillColumns(Orvex::GUIWindow& columns, int rank, HighscoreEintrag const& entry) {
    Statistik const* stats = entry.getStatistik();
    std::int64_t const seconds = wholeSeconds(stats ? stats->getTime() : 0.0);
    auto column = [&](wchar_t const* name) { return labelOf(columns.findChild(name)); };
    formatOwnText(column(L"STG_HS_Platz"), rank);
    formatOwnText(column(L"STG_HS_Name"), entry.getName());
    formatOwnText(column(L"STG_HS_Punkte"), formatNumber(wholeNumber(entry.getScore())));
    formatOwnText(column(L"STG_HS_Zeit"), whole(seconds / kSecondsPerMinute), whole(seconds % kSecondsPerMinute));
    formatOwnText(column(L"STG_HS_Datum"), entry.getDay(), entry.getMonth(), entry.getYear(), entry.getHour(),
                  entry.getMinute());
    formatOwnText(column(L"STG_HS_Kombo"), stats ? stats->get(Counter::MaxCombo) : 0u);
    formatOwnText(column(L"STG_HS_Undos"), stats ? stats->get(Counter::Undos) : 0u);
}

// The labels of an entry's row: the button's caption and the labels of its columns.
std::vector<Orvex::GUILabel*> rowLabels(Orvex::GUIWindow& row) {
    std::vector<Orvex::GUIWindow*> windows;
    row.collectDescendants(windows);
    std::vector<Orvex::GUILabel*> labels;
    for (Orvex::GUIWindow* window : windows)
        if (auto* label = dynamic_cast<Orvex::GUILabel*>(window)) labels.push_back(label);
    return labels;
}

// How the game ended: won, or the cards left on the tableau when the player ended it or no move
// was left.
wchar_t const* endText(GameStatus status, bool everyTableauCleared) {
    if (status == kGameWon || everyTableauCleared) return L"A_ENDE_GEWONNEN";
    return status == kGameLost ? L"A_ENDE_KEIN_ZUG" : L"A_ENDE_BEENDET";
}

wchar_t const* howWellText(int rating, bool everyTableauCleared) {
    switch (rating) {
    case 0:
    case 1: return L"A_HOW_WELL_0";
    case 2: return L"A_HOW_WELL_1";
    case 3: return L"A_HOW_WELL_2";
    case 4: return everyTableauCleared ? L"A_HOW_WELL_4" : L"A_HOW_WELL_3";
    default: return L"";
    }
}

}  // namespace

ResultsScreen::ResultsScreen(Links const& links) : links_(links) {}

ResultsScreen::~ResultsScreen() = default;

bool ResultsScreen::isCampaignSelected() const {
    SolCategorie const* category = links_.catalogue ? links_.catalogue->getCurrentCategory() : nullptr;
    return category && (category->isStory() || category->getName() == SolitaireManager::kCampaignName);
}

void ResultsScreen::showResults(int const& rating, bool const& storeRating, bool const& freeGame,
                                 bool const& pointsGoalMissed, bool const& comboGoalMissed) {
    Kartenmanager* cards = links_.cards;
    if (!cards || !links_.catalogue) return;
    bool const story = !freeGame;
    // Story or free-game panel; the rating kept.
    jumpWindow(L"A_STORY", story ? L"AN" : L"AUS");
    jumpWindow(L"A_FREIES_SPIEL", story ? L"AUS" : L"AN");
    if (storeRating) storedRating_ = rating;
    Statistik const* running = links_.catalogue->getGameStatistik();
    GameStyle* style = cards->getGameStyle();
    if (!style && links_.styles) style = links_.styles->getGameStyle();
    GameEndParms const ended = cards->makeGameEndParms(cards->getGameStatus() == kGameWon);
    Orvex::GUILabel* points = nullptr;
    if (story) {
        // A campaign level: time and the goals' notes.
        std::int64_t const seconds = wholeSeconds(cards->getTime());
        formatOwnText(findLabel(L"A_ST_Zeit"), whole(seconds / kSecondsPerMinute), whole(seconds % kSecondsPerMinute));
        jumpWindow(L"A_ST_Points", pointsGoalMissed ? L"AUS" : L"AN");
        jumpWindow(L"A_ST_Points_Lose", pointsGoalMissed ? L"AN" : L"AUS");
        points = findLabel(pointsGoalMissed ? L"A_ST_Points_Lose" : L"A_ST_Points");
        if (running) {
            fillUndos(L"A_ST_Undos", *running, style);
            if (Statistik const* overall = links_.statistics ? links_.statistics->find(kOverallStatistik) : nullptr) {
                jumpWindow(L"A_ST_Combo", comboGoalMissed ? L"AUS" : L"AN");
                jumpWindow(L"A_ST_Combo_Lose", comboGoalMissed ? L"AN" : L"AUS");
                Orvex::u32 const combo = running->get(Counter::MaxCombo);
                formatOwnText(findLabel(L"A_ST_Combo"), combo);
                formatOwnText(findLabel(L"A_ST_Combo_Lose"), combo);
                formatOwnText(findLabel(L"A_ST_Combo2"), overall->get(Counter::MaxCombo));
                formatOwnText(findLabel(L"A_ST_Multi"), static_cast<double>(running->getMaxFactor()));
            }
        }
        // How well, and how the game ended: by the record, since the end flight has emptied the
        // piles by now (the perfect heading came with every three stars).
        if (Orvex::GUILabel* label = findLabel(L"A_ST_HowWellLabel"))
            label->setTextId(howWellText(rating, ended.allTableauEmpty));
        if (Orvex::GUILabel* label = findLabel(L"A_ST_Ende")) {
            label->setTextId(endText(cards->getGameStatus(), ended.allTableauEmpty));
            formatOwnText(label, ended.restCards, cards->getPlayState().counts.tableauCardsAtStart);
        }
    } else {
        // A free game: won or lost (a win is rated 4, anything else 1), time, points.
        if (Orvex::GUILabel* label = findLabel(L"A_FG_HowWellLabel"))
            label->setTextId(rating == kMaxRating ? L"A_FG_GEWONNEN" : L"A_FG_VERLOREN");
        double const time = cards->getTime();
        formatOwnText(findLabel(L"A_FG_Zeit"), std::isfinite(time) ? time : 0.0);
        points = findLabel(L"A_FG_Points");
        if (running) {
            fillUndos(L"A_FG_Undos", *running, style);
            formatOwnText(findLabel(L"A_FG_Mix"), running->get(Counter::Mixes));
        }
    }
    // The points the table showed at the end, written as it writes them. (A count from 0 showed
    // less for its three seconds, and a look at it read the smaller number as the result.)
    formatOwnText(points, formatNumber(wholeNumber(ended.score)));
    // The stars.
    for (int k = 0; k < kStarCount; ++k)
        jumpWindow(L"A_Star" + std::to_wstring(k + 1), rating >= kFirstStarRating + k && rating <= kMaxRating ? L"ON" : L"OFF");
    // The buttons this kind of game offers.
    wchar_t const* goals[3] = {L"AN", L"AUS", L"AN"};
    if (freeGame) {
        goals[0] = L"AN_C", goals[1] = L"AUS", goals[2] = L"AUS";
    } else if (links_.running && links_.running->nextLevelAvailable) {
        goals[0] = L"AUS", goals[1] = L"AN", goals[2] = L"AN";
    }
    jumpWindow(L"A_BACK", goals[0]);
    jumpWindow(L"A_NEXT", goals[1]);
    jumpWindow(L"A_RESTART", goals[2]);
}

void ResultsScreen::enterGameStatistics() {
    if (Orvex::GUIWindow* frame = findScreenWindow(L"STG_StatistikenGameFrame")) {
        frame->goalReached.disconnect(this);
        frame->goalReached.connect(this, &ResultsScreen::scrollHighscoresToStart);
    }
    refreshHighscoreList();
}

void ResultsScreen::refreshHighscoreList() {
    Orvex::GUIWindow* panel = findScreenWindow(kHighscorePanel);
    // The list emptied.
    if (panel) resetListPanel(*panel);
    SolVariant* variant = links_.catalogue ? links_.catalogue->getCurrentVariant() : nullptr;
    // One row per highscore.
    Orvex::GUISystem* gui = links_.gui;
    auto* vorlage = gui ? dynamic_cast<Orvex::GUIButton*>(gui->findTemplate(kHighscoreTemplate)) : nullptr;
    Orvex::GUIWindow* columnsVorlage = gui ? gui->findTemplate(kColumnsTemplate) : nullptr;
    if (panel && vorlage && variant) {
        Orvex::Text const* format = vorlage->getLabel() ? ownText(*vorlage->getLabel()) : nullptr;
        int rank = 0;
        // Laid out once when every row is in (a profile gives a variant up to 100 rows).
        panel->holdLayout(true);
        for (HighscoreEintrag* entry : variant->getHighscores()) {
            ++rank;
            auto* button = dynamic_cast<Orvex::GUIButton*>(vorlage->clone());
            if (!button) continue;
            button->setName(L"STG_Highscore_" + std::to_wstring(rank));
            Statistik const* stats = entry->getStatistik();
            // The columns over the button (which refuses children of its own), passing clicks to it.
            Orvex::GUIWindow* columns = columnsVorlage ? cloneTree(*columnsVorlage) : nullptr;
            if (columns) columns->getOptions().visible = true;
            if (columns && !button->Orvex::GUIWindow::addChild(columns, true, true)) {
                columns->release();
                columns = nullptr;
            }
            if (columns) fillColumns(*columns, rank, *entry);
            if (Orvex::GUILabel* label = button->getLabel()) {
                if (columns) {
                    label->setText(L"");
                } else if (!format) {
                    label->setText(entry->getName());
                } else {
                    std::wstring text;
                    // The score whole as the results screen counted it up (truncated, not rounded by "%.0f").
                    format->format(text, rank, entry->getName(), static_cast<double>(wholeNumber(entry->getScore())),
                                   stats ? stats->getTime() : 0.0, entry->getDay(), entry->getMonth(), entry->getYear(),
                                   entry->getHour(), entry->getMinute(), stats ? stats->get(Counter::MaxCombo) : 0u,
                                   stats ? stats->get(Counter::Undos) : 0u);
                    label->setText(text);
                }
            }
            // A won game's entry in its own style, every column alike.
            if (stats && stats->get(Counter::Won) != 0)
                for (Orvex::GUILabel* label : rowLabels(*button)) {
                    label->setFontStyle(kWonStyle, Orvex::GUILabel::kNormal);
                    label->setFontStyle(kWonStyle, Orvex::GUILabel::kMark);
                }
            Orvex::GUIWindowOptions& options = button->getOptions();
            options.visible = true;
            options.layoutParam = L"TOP";
            options.usableForLayoutManager = true;
            button->setUserPointer(entry, 0);
            button->leftClicked.connect(this, &ResultsScreen::onHighscoreEntryClicked);
            panel->addChild(button, true, true);
        }
        panel->holdLayout(false);
    }
    // Which variant the list is of: its game's and its own name.
    if (Orvex::GUILabel* label = findLabel(L"STG_VARIANTE")) {
        SolSolitaire const* game = links_.catalogue ? links_.catalogue->getCurrentGame() : nullptr;
        if (!variant || !formatOwnText(label, game ? Orvex::languageText(game->getTextId()) : std::wstring(),
                                       Orvex::languageText(variant->getTextId())))
            label->setText(L"");
    }
    // The variant's statistics.
    if (Orvex::GUILabel* label = findLabel(L"STG_GAMESTATISTIKEN")) {
        Statistik const* stats = variant ? variant->getStatistik() : nullptr;
        if (stats)
            formatOwnText(label, stats->get(Counter::Started), stats->get(Counter::Won), stats->get(Counter::Undos),
                          stats->getTime(), stats->get(Counter::MaxCombo), stats->get(Counter::Moved));
        else
            label->setText(L"");
    }
    // The list at its start.
    scrollPanelToStart(panel);
}

void ResultsScreen::refreshStatistics() {
    Orvex::GUILabel* label = findLabel(L"ST_STATISTIKEN");
    if (!label) return;
    Statistik const* overall = links_.statistics ? links_.statistics->find(kOverallStatistik) : nullptr;
    if (!overall) {
        label->setText(L"");
        return;
    }
    std::int64_t const seconds = wholeSeconds(overall->getTime());
    formatOwnText(label, formatPointerTravel(overall->get(Counter::MouseDistance)), overall->get(Counter::Clicks),
                  overall->get(Counter::DoubleClicks), overall->get(Counter::FailedDoubleClicks),
                  overall->get(Counter::Started), overall->get(Counter::Won), overall->get(Counter::Undos),
                  whole(seconds / kSecondsPerHour), whole(seconds % kSecondsPerHour / kSecondsPerMinute),
                  whole(seconds % kSecondsPerMinute), overall->get(Counter::MaxCombo), overall->get(Counter::Moved));
}

void ResultsScreen::scrollHighscoresToStart(Orvex::GUIWindow&, Orvex::GUIAnimationsGoal&) {
    Orvex::GUIWindow* panel = findScreenWindow(kHighscorePanel);
    if (!panel) return;
    panel->updateRect(false, false);
    scrollPanelToStart(panel);
}

void ResultsScreen::onHighscoreEntryClicked(Orvex::GUIWindow& window) {
    if (isCampaignSelected() || !links_.catalogue || !links_.menus) return;
    SolVariant const* variant = links_.catalogue->getCurrentVariant();
    if (!variant) return;
    auto* entry = static_cast<HighscoreEintrag*>(window.getUserPointer(0));
    auto const& list = variant->getHighscores();
    if (!entry || std::find(list.begin(), list.end(), entry) == list.end()) return;
    selectHighscore(entry);
    links_.menus->activateMenu(kEditMenu, -1.0);
}

void ResultsScreen::selectHighscore(HighscoreEintrag* entry) { selectedHighscore_.hold(entry); }

HighscoreEintrag* ResultsScreen::getSelectedHighscore() const {
    SolVariant const* variant = links_.catalogue ? links_.catalogue->getCurrentVariant() : nullptr;
    HighscoreEintrag* entry = selectedHighscore_.get();
    if (!entry || !variant) return nullptr;
    auto const& list = variant->getHighscores();
    return std::find(list.begin(), list.end(), entry) != list.end() ? entry : nullptr;
}

bool ResultsScreen::removeSelectedHighscore() {
    HighscoreEintrag* entry = getSelectedHighscore();
    if (!entry) return false;
    auto& list = links_.catalogue->getCurrentVariant()->getHighscores();
    list.erase(std::find(list.begin(), list.end(), entry));
    entry->release();  // the list's reference
    selectHighscore(nullptr);
    return true;
}

bool ResultsScreen::copySelectedHighscoreSeed() {
    HighscoreEintrag const* entry = getSelectedHighscore();
    Orvex::GUILabel* seed = findLabel(L"FG_SEED");
    if (!entry || !seed) return false;
    seed->setText(entry->getGameName());
    return true;
}

void ResultsScreen::resetVariantData(SolVariant& variant) {
    if (Statistik* statistics = variant.getStatistik()) statistics->reset();
    variant.clearHighscores();
    selectHighscore(nullptr);
}

}  // namespace Solitaire
