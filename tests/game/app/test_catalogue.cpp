// The catalogue: the shipped "Level.dat" with its categories, games, variants, goals and texts;
// the attributes' defaults and derived paths; starting a variant with its overrides and statistics
// sets; the background a variant shows; and what a bad value in the file does.
#include <gtest/gtest.h>

#include <cwchar>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "engine/core/engine/OrvexEngine.h"
#include "engine/gui/LanguageManager.h"
#include "engine/render/Texture2D.h"
#include "game/app/CampaignRecords.h"
#include "game/app/LevelGoal.h"
#include "game/cards/Statistik.h"
#include "game/look/Background.h"
#include "game/look/GameStyle.h"
#include "game/look/Kartenset.h"
#include "game/look/StyleSettings.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/game/app/CatalogueFixture.h"
#include "tests/support/FilesNamedTwice.h"

namespace {

using Solitaire::SolCategorie;
using Solitaire::SolSolitaire;
using Solitaire::SolVariant;
using Solitaire::StatistikCounter;

class CatalogueTest : public apptest::CatalogueFixture {};

TEST_F(CatalogueTest, TheShippedCatalogueHoldsItsCategoriesGamesAndVariants) {
    loadShipped();
    // category: game (variant count) ...
    std::wstring layout;
    for (SolCategorie const* category : catalogue().getCategories()) {
        layout += category->getName() + L":";
        for (SolSolitaire const* game : category->getGames())
            layout += L" " + game->getName() + L"(" + std::to_wstring(game->getVariants().size()) + L")";
        layout += L"\n";
    }
    EXPECT_EQ(layout,
              L"KLASSIKER: GOLDRAUSCH(2) SPINNE(1) ZELLEN(1)\n"
              L"KNOBELEIEN: GOLFPLATZ(1) PAARE(1) HERZREIHE(3)\n"
              L"KAMPAGNE: KAPITEL_0(3) KAPITEL_1(13) KAPITEL_2(4) KAPITEL_3(4) KAPITEL_4(5) KAPITEL_5(5) KAPITEL_6(5) "
              L"KAPITEL_7(5) KAPITEL_8(6) KAPITEL_9(6) KAPITEL_10(6) KAPITEL_11(6) KAPITEL_12(7) KAPITEL_13(7) "
              L"KAPITEL_14(7) KAPITEL_15(7) KAPITEL_16(8) KAPITEL_17(8) KAPITEL_18(8) KAPITEL_19(8) KAPITEL_20(9)\n");
    EXPECT_TRUE(catalogue().findCategory(L"KNOBELEIEN")->getOptions().extraBanner);
    EXPECT_FALSE(catalogue().findCategory(L"KAMPAGNE")->getOptions().showInSelection);
    // The campaign is the story's: its table has the story look.
    EXPECT_TRUE(catalogue().findCategory(L"KAMPAGNE")->isStory());
    EXPECT_FALSE(catalogue().findCategory(L"KLASSIKER")->isStory());
    EXPECT_FALSE(variant(L"KNOBELEIEN", L"HERZREIHE", L"HERZREIHE_PROBE")->getOptions().showInSelection);
    SolVariant const* golf = variant(L"KNOBELEIEN", L"GOLFPLATZ", L"GOLFPLATZ");
    EXPECT_TRUE(golf->getOptions().styleParam && golf->getOptions().background && golf->getOptions().gameStyle);
    EXPECT_EQ(golf->getOptions().rightMouse, -1);
    EXPECT_EQ(golf->getPreviewPath(), L"data\\Level\\Golfplatz.png");
    EXPECT_EQ(catalogue().collectVariants().size(), 146u);
    // The lesson is a shown variant of the row of hearts in free play, with its banner (the
    // variant column shows for a game of two shown variants).
    SolVariant const* lesson = variant(L"KNOBELEIEN", L"HERZREIHE", L"HERZREIHE_LEKTION");
    ASSERT_TRUE(lesson);
    EXPECT_EQ(lesson->getExtendedTutorial(), L"LEKTION_HERZREIHE");
    EXPECT_TRUE(lesson->getOptions().extraBanner);

    // Every campaign level names its unlocks and game name and holds three goals; every goal kind
    // is used somewhere; the first level of each game teaches it.
    std::set<std::wstring> kinds;
    std::set<std::wstring> taught;
    for (SolSolitaire const* chapter : catalogue().findCategory(L"KAMPAGNE")->getGames())
        for (SolVariant const* level : chapter->getVariants()) {
            SCOPED_TRACE(apptest::narrow(chapter->getName() + L"/" + level->getName()));
            EXPECT_FALSE(level->getUnlocksBefore().empty());
            EXPECT_FALSE(level->getUnlocks().empty());
            EXPECT_EQ(level->getGameName().rfind(L"NAME_", 0), 0u);
            ASSERT_EQ(level->getGoals().size(), 3u);
            for (auto const& goal : level->getGoals()) kinds.insert(goal->getTextId());
            if (taught.insert(level->getRulesTextId()).second) EXPECT_FALSE(level->getStartTutorial().empty());
            // The table names the level by its own text ("Der Anfang - Golfplatz").
            EXPECT_FALSE(Orvex::OrvexEngine::getInstance()->getLanguage()->getText(level->getTextId()).empty());
        }
    EXPECT_EQ(kinds.size(), 9u);

    // The texts file came with it, in German and English.
    Orvex::LanguageManager const& language = *Orvex::OrvexEngine::getInstance()->getLanguage();
    Orvex::Language* const english = language.findLanguage(L"ENG");
    ASSERT_TRUE(english);
    EXPECT_FALSE(language.getText(L"CAT_KLASSIKER").empty());
    for (SolVariant const* shipped : catalogue().collectVariants())
        EXPECT_FALSE(language.getText(shipped->getTextId()).empty() && language.getText(shipped->getGameName()).empty())
            << apptest::narrow(shipped->getName());
}

TEST_F(CatalogueTest, DefaultsAndDerivedPathsFollowTheNames) {
    struct Row {
        wchar_t const* attributes;
        wchar_t const* tutorial;
        wchar_t const* preview;
        wchar_t const* textId;
        wchar_t const* gameName;
        wchar_t const* unlocks;
    } const rows[] = {
        {L"NAME=\"V\" FILE=\"data\\Level\\Spinne.sol\"", L"data\\Level\\Spinne.tut", L"data\\Level\\Spinne.png", L"VAR_V",
         L"NAME_V", L""},
        // No "." at all: no derived paths.
        {L"NAME=\"V\" FILE=\"data\\Level\\Spinne\"", L"", L"", L"VAR_V", L"NAME_V", L""},
        // The last "." counts, also in a folder name.
        {L"NAME=\"V\" FILE=\"data\\v1.2\\Spinne\"", L"data\\v1.tut", L"data\\v1.png", L"VAR_V", L"NAME_V", L""},
        {L"NAME=\"V\" FILE=\"a.b.sol\" TUTORIAL_FILE=\"t.tut\" PREVIEW_FILE=\"p.png\" TEXT_ID=\"T\" GAMENAME=\"G\" UNLOCKS=\"U\"",
         L"t.tut", L"p.png", L"T", L"G", L"U"},
        {L"NAME=\"V\" UNLOCKS=\"U\" UNLOCKS_POST=\"P\"", L"", L"", L"VAR_V", L"NAME_V", L"P"},
        {L"NAME=\"V\" UNLOCKS_POST=\"P\" UNLOCKS=\"U\"", L"", L"", L"VAR_V", L"NAME_V", L"P"},
    };
    for (Row const& row : rows) {
        SCOPED_TRACE(apptest::narrow(row.attributes));
        loadText(std::wstring(L"<L><KATEGORIE NAME=\"C\"><GAME NAME=\"G\"><VARIANTE ") + row.attributes +
                 L"/></GAME></KATEGORIE></L>");
        SolVariant const* read = variant(L"C", L"G", L"V");
        ASSERT_TRUE(read);
        EXPECT_EQ(read->getTutorialFile(), row.tutorial);
        EXPECT_EQ(read->getPreviewPath(), row.preview);
        EXPECT_EQ(read->getTextId(), row.textId);
        EXPECT_EQ(read->getGameName(), row.gameName);
        EXPECT_EQ(read->getUnlocks(), row.unlocks);
    }
    loadText(L"<L><KATEGORIE NAME=\"C\"><GAME NAME=\"G\"><VARIANTE NAME=\"V\" FILE=\"x.sol\"/></GAME>"
             L"<GAME NAME=\"H\" PREVIEW_FILE=\"own.png\"><VARIANTE NAME=\"W\" FILE=\"y.sol\"/></GAME></KATEGORIE></L>");
    SolCategorie const* category = catalogue().findCategory(L"C");
    EXPECT_EQ(category->getTextId(), L"CAT_C");
    EXPECT_EQ(category->findGame(L"G")->getTextId(), L"GAME_G");
    EXPECT_EQ(category->findGame(L"G")->getPreviewPath(), L"x.png");
    EXPECT_EQ(category->findGame(L"H")->getPreviewPath(), L"own.png");
}

TEST_F(CatalogueTest, SetCurrentByNamesNeedsAllThreeNames) {
    loadShipped();
    EXPECT_TRUE(catalogue().setCurrentByNames(L"KAMPAGNE", L"KAPITEL_1", L"LEVEL_12"));
    SolVariant* const level = catalogue().getCurrentVariant();
    EXPECT_FALSE(catalogue().setCurrentByNames(L"KAMPAGNE", L"KAPITEL_1", L"LEVEL_13"));
    EXPECT_FALSE(catalogue().setCurrentByNames(L"KAMPAGNE", L"KAPITEL_21", L"LEVEL_0"));
    EXPECT_EQ(catalogue().getCurrentVariant(), level);
    EXPECT_EQ(catalogue().getCurrentGame()->getName(), L"KAPITEL_1");
    EXPECT_EQ(catalogue().getPreviewPath(), level->getPreviewPath());
    catalogue().clear();
    EXPECT_EQ(catalogue().getPreviewPath(), L"Preview.png");
}

// A small catalogue over the gold-rush rule file (its right button and double click on, as by
// default), with the levels' attributes given per row.
std::wstring catalogueWith(std::wstring const& category, std::wstring const& game, std::wstring const& variantAttributes) {
    return L"<L><KATEGORIE NAME=\"C\" " + category + L"><GAME NAME=\"G\" " + game +
           L"><VARIANTE NAME=\"V\" FILE=\"data\\Level\\Goldrausch.sol\" " + variantAttributes +
           L"/><VARIANTE NAME=\"PLAIN\" FILE=\"data\\Level\\Goldrausch.sol\"/></GAME></KATEGORIE></L>";
}

TEST_F(CatalogueTest, TheMostSpecificAlternativeBackgroundAndInputOverrideWin) {
    struct Row {
        wchar_t const *category, *game, *variant;
        bool alternative, rightMouse, doubleClick;
    } const rows[] = {
        {L"ALTERNATIV_HG=\"1\"", L"", L"ALTERNATIV_HG=\"-1\"", false, true, true},
        {L"ALTERNATIV_HG=\"1\"", L"", L"ALTERNATIV_HG=\"0\"", true, true, true},
        {L"", L"ALTERNATIV_HG=\"-3\"", L"", false, true, true},
        {L"OVERRIDE_USE_RIGHT_MOUSE=\"1\"", L"", L"OVERRIDE_USE_RIGHT_MOUSE=\"0\"", false, false, true},
        {L"OVERRIDE_USE_RIGHT_MOUSE=\"0\"", L"OVERRIDE_USE_DOUBLE_CLICK=\"0\"", L"", false, false, false},
        {L"OVERRIDE_USE_DOUBLE_CLICK=\"0\"", L"OVERRIDE_USE_DOUBLE_CLICK=\"7\"", L"", false, true, true},
    };
    for (Row const& row : rows) {
        SCOPED_TRACE(apptest::narrow(std::wstring(row.category) + L" | " + row.game + L" | " + row.variant));
        loadText(catalogueWith(row.category, row.game, row.variant));
        ASSERT_TRUE(start(L"C", L"G", L"V"));
        EXPECT_EQ(catalogue().useAlternativeBackground(), row.alternative);
        EXPECT_EQ(manager().getRules().useRightMouse, row.rightMouse);
        EXPECT_EQ(manager().getRules().useDoubleClick, row.doubleClick);
        catalogue().finishStatistics(false);
    }
}

// Looks to override with: a second game style, background and card set beside the test ones.
class CatalogueLookTest : public CatalogueTest {
protected:
    void SetUp() override {
        CatalogueTest::SetUp();
        Solitaire::StyleSettings& settings = Solitaire::StyleSettings::instance();
        for (wchar_t const* name : {L"MINE", L"OTHER"}) {
            if (!settings.findGameStyle(name)) {
                auto* style = new Solitaire::GameStyle(std::wstring(name));
                settings.addGameStyle(style);
                style->release();
            }
            if (!settings.findBackground(name)) {
                auto* background = new Solitaire::Background(std::wstring(name));
                settings.addBackground(background);
                background->release();
            }
            if (!settings.findKartenset(name)) {
                auto* set = new Solitaire::Kartenset(std::wstring(name));
                settings.addKartenset(set);
                set->release();
            }
        }
        settings.selectGameStyle(L"MINE");
        settings.selectBackground(L"MINE");
        settings.setCurrentCardSet(settings.findKartenset(L"MINE"));
        settings.setStyleParam(0.25f);
    }
    void TearDown() override {
        Solitaire::StyleSettings::instance().setStyleParam(0.0f);
        Solitaire::StyleSettings::instance().setKartenset(cardtest::tableCardSet());
        CatalogueTest::TearDown();
    }
    static std::wstring look() {
        Solitaire::StyleSettings const& settings = Solitaire::StyleSettings::instance();
        return settings.getGameStyle()->getName() + L" " + settings.getBackground()->getName() + L" " +
               settings.getKartenset()->getName() + L" " + std::to_wstring(Solitaire::StyleSettings::getStyleParam());
    }
};

TEST_F(CatalogueLookTest, ThePlayersLookIsSavedOnceAndComesBackWithoutOverride) {
    loadText(catalogueWith(L"", L"",
                           L"OVERRIDE_GAMESTYLE=\"OTHER\" OVERRIDE_BACKGROUND=\"OTHER\" OVERRIDE_KARTENSET=\"OTHER\" "
                           L"OVERRIDE_STYLEPARAM=\"0.75\""));
    ASSERT_EQ(look(), L"MINE MINE MINE 0.250000");
    ASSERT_TRUE(start(L"C", L"G", L"V"));
    EXPECT_EQ(look(), L"OTHER OTHER OTHER 0.750000");
    // A second overriding start keeps the player's look saved, not the override.
    ASSERT_TRUE(start(L"C", L"G", L"V"));
    EXPECT_EQ(look(), L"OTHER OTHER OTHER 0.750000");
    Orvex::XMLNode saved(L"HIGHSCORES");
    catalogue().writeHighscores(saved);
    EXPECT_EQ(saved.getAttributeString(L"SAVED_GS", L""), L"MINE");
    EXPECT_EQ(saved.getAttributeString(L"SAVED_BG", L""), L"MINE");
    EXPECT_EQ(saved.getAttributeString(L"SAVED_KS", L""), L"MINE");
    EXPECT_EQ(saved.getAttributeString(L"SAVED_SP", L""), L"0.25");
    ASSERT_TRUE(start(L"C", L"G", L"PLAIN"));
    EXPECT_EQ(look(), L"MINE MINE MINE 0.250000");
    Orvex::XMLNode cleared(L"HIGHSCORES");
    catalogue().writeHighscores(cleared);
    EXPECT_EQ(cleared.getAttributeCount(), 0u);
}

TEST_F(CatalogueLookTest, AnOverrideOfAnUnknownNameChangesNothing) {
    loadText(catalogueWith(L"OVERRIDE_GAMESTYLE=\"OTHER\"", L"", L"OVERRIDE_BACKGROUND=\"NONE\" OVERRIDE_KARTENSET=\"NONE\""));
    ASSERT_TRUE(start(L"C", L"G", L"V"));
    EXPECT_EQ(look(), L"OTHER MINE MINE 0.250000");
}

TEST_F(CatalogueLookTest, TheBackgroundOfAVariantComesFromTheMostSpecificOverride) {
    loadText(L"<L><KATEGORIE NAME=\"C\" OVERRIDE_BACKGROUND=\"OTHER\"><GAME NAME=\"G\" OVERRIDE_BACKGROUND=\"MINE\">"
             L"<VARIANTE NAME=\"V\"/><VARIANTE NAME=\"W\" OVERRIDE_BACKGROUND=\"OTHER\"/></GAME>"
             L"<GAME NAME=\"H\"><VARIANTE NAME=\"X\"/></GAME><GAME NAME=\"I\" OVERRIDE_BACKGROUND=\"NONE\"><VARIANTE NAME=\"Y\"/></GAME>"
             L"</KATEGORIE><KATEGORIE NAME=\"D\"><GAME NAME=\"J\"><VARIANTE NAME=\"Z\"/></GAME></KATEGORIE></L>");
    Solitaire::StyleSettings const& settings = Solitaire::StyleSettings::instance();
    auto const background = [&](wchar_t const* category, wchar_t const* game, wchar_t const* name) {
        Solitaire::Background const* found = catalogue().getBackgroundForVariant(variant(category, game, name));
        return found ? found->getName() : std::wstring(L"(none)");
    };
    EXPECT_EQ(background(L"C", L"G", L"V"), L"MINE");
    EXPECT_EQ(background(L"C", L"G", L"W"), L"OTHER");
    EXPECT_EQ(background(L"C", L"H", L"X"), L"OTHER");
    EXPECT_EQ(background(L"C", L"I", L"Y"), L"(none)");
    Solitaire::Background const* fallback = settings.getDefaultBackground();
    EXPECT_EQ(background(L"D", L"J", L"Z"), fallback ? fallback->getName() : L"(none)");
    EXPECT_EQ(catalogue().getBackgroundForVariant(nullptr), nullptr);
}

TEST_F(CatalogueTest, TheVariantsSetLivesOnWhileTheGamesSetIsNewEachStart) {
    loadShipped();
    Solitaire::StatistikManager const& registry = Solitaire::StatistikManager::instance();
    ASSERT_TRUE(start(L"KLASSIKER", L"SPINNE", L"SPINNE"));
    Solitaire::Statistik* const variantSet = catalogue().getVariantStatistik();
    Solitaire::Statistik* const firstGameSet = catalogue().getGameStatistik();
    ASSERT_TRUE(variantSet && firstGameSet);
    EXPECT_EQ(variantSet->getName(), L"VAR_STATS");
    EXPECT_EQ(registry.getActive().size(), 3u);
    catalogue().finishStatistics(true);
    EXPECT_EQ(registry.getActive().size(), 1u);

    ASSERT_TRUE(start(L"KLASSIKER", L"SPINNE", L"SPINNE"));
    EXPECT_EQ(catalogue().getVariantStatistik(), variantSet);
    EXPECT_NE(registry.find(L"STATS"), nullptr);
    EXPECT_EQ(catalogue().getGameStatistik()->get(StatistikCounter::Started), 1u);
    EXPECT_EQ(variantSet->get(StatistikCounter::Started), 2u);
    EXPECT_EQ(variantSet->get(StatistikCounter::Won), 1u);
    catalogue().finishStatistics(false);
    EXPECT_EQ(variantSet->get(StatistikCounter::Ended), 1u);
    EXPECT_EQ(registry.getProfileStatistik()->get(StatistikCounter::Started), 2u);
    EXPECT_EQ(registry.getProfileStatistik()->get(StatistikCounter::Won), 1u);
    EXPECT_EQ(registry.getProfileStatistik()->get(StatistikCounter::Ended), 1u);
    // Ending again, without a game, counts nothing.
    catalogue().finishStatistics(true);
    EXPECT_EQ(registry.getProfileStatistik()->get(StatistikCounter::Won), 1u);
}

TEST_F(CatalogueTest, EveryShippedVariantStartsAndDealsThroughTheCardManager) {
    loadShipped();
    Solitaire::StatistikManager const& registry = Solitaire::StatistikManager::instance();
    int started = 0;
    for (SolCategorie const* category : catalogue().getCategories())
        for (SolSolitaire const* game : category->getGames())
            for (SolVariant const* shipped : game->getVariants()) {
                SCOPED_TRACE(apptest::narrow(game->getName() + L"/" + shipped->getName()));
                ASSERT_TRUE(start(category->getName(), game->getName(), shipped->getName()));
                EXPECT_FALSE(manager().piles.empty());
                manager().startGame(nullptr, L"7", true, {}, {}, 0.0f);
                EXPECT_FALSE(manager().cards.empty());
                Solitaire::Statistik* const variantSet = catalogue().getVariantStatistik();
                Solitaire::Statistik* const gameSet = catalogue().getGameStatistik();
                ASSERT_TRUE(variantSet && gameSet);
                variantSet->addRef();
                gameSet->addRef();
                bool const won = started % 2 == 0;
                catalogue().finishStatistics(won);
                EXPECT_EQ(gameSet->get(won ? StatistikCounter::Won : StatistikCounter::Ended), 1u);
                EXPECT_EQ(variantSet->get(won ? StatistikCounter::Won : StatistikCounter::Ended), 1u);
                EXPECT_EQ(registry.getActive().size(), 1u);
                variantSet->release();
                gameSet->release();
                ++started;
            }
    EXPECT_EQ(started, 146);
    EXPECT_EQ(registry.getProfileStatistik()->get(StatistikCounter::Started), 146u);
    EXPECT_EQ(registry.getProfileStatistik()->get(StatistikCounter::Won), 73u);
}

TEST_F(CatalogueTest, AVariantWhoseRuleFileDoesNotReadDoesNotStart) {
    loadText(L"<L><KATEGORIE NAME=\"C\"><GAME NAME=\"G\"><VARIANTE NAME=\"V\" FILE=\"data\\Level\\Missing.sol\" "
             L"OVERRIDE_STYLEPARAM=\"0.9\"/></GAME></KATEGORIE></L>");
    float const param = Solitaire::StyleSettings::getStyleParam();
    EXPECT_FALSE(start(L"C", L"G", L"V"));
    EXPECT_EQ(catalogue().getGameStatistik(), nullptr);
    EXPECT_EQ(Solitaire::StyleSettings::getStyleParam(), param);
    catalogue().clear();
    EXPECT_FALSE(catalogue().startVariant());
}

TEST_F(CatalogueTest, BadValuesKeepTheirDefaultWithOneLogLineNamingFileAndLine) {
    logtest::LogWatch watch;
    loadText(L"<L>\n<KATEGORIE NAME=\"C\" ALTERNATIV_HG=\"70000\">\n<GAME NAME=\"G\">\n"
             L"<VARIANTE NAME=\"V\" OVERRIDE_STYLEPARAM=\"nan\" ALTERNATIV_HG=\"-40000\"/>\n</GAME>\n</KATEGORIE>\n</L>");
    SolVariant const* read = variant(L"C", L"G", L"V");
    ASSERT_TRUE(read);
    EXPECT_FALSE(read->getOptions().styleParam);
    EXPECT_EQ(read->getOptions().alternativeBackground, 0);
    EXPECT_EQ(catalogue().findCategory(L"C")->getOptions().alternativeBackground, 0);
    auto const errors = watch.errors();
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_TRUE(logtest::contains(errors[0], L"Variant \"V\" in \"catalogue test\" at line 4"));
    EXPECT_TRUE(logtest::contains(errors[1], L"Category \"C\" in \"catalogue test\" at line 2"));
}

// The parameter blends every style range (the shipped hint offset 6 .. 10: 6 + 4 x 1e38 is no
// float); the catalogue refuses one past the bound the style settings give.
TEST_F(CatalogueTest, StyleParametersPastTheBlendsBoundAreRefused) {
    struct Row {
        wchar_t const* param;
        std::optional<float> read;
    } const rows[] = {
        {L"0.75", 0.75f},
        {L"-1e6", -1.0e6f},
        {L"1e38", std::nullopt},
        {L"-2e6", std::nullopt},
    };
    for (Row const& row : rows) {
        SCOPED_TRACE(std::string(row.param, row.param + std::wcslen(row.param)));
        logtest::LogWatch watch;
        loadText(std::wstring(L"<L>\n<KATEGORIE NAME=\"C\" OVERRIDE_STYLEPARAM=\"") + row.param +
                 L"\"><GAME NAME=\"G\"><VARIANTE NAME=\"V\"/></GAME></KATEGORIE>\n</L>");
        EXPECT_EQ(catalogue().findCategory(L"C")->getOptions().styleParam, row.read);
        auto const errors = watch.errors();
        ASSERT_EQ(errors.size(), row.read ? 0u : 1u);
        if (!row.read)
            EXPECT_TRUE(logtest::contains(errors[0], L"Category \"C\" in \"catalogue test\" at line 2: \"OVERRIDE_STYLEPARAM\" \"" +
                                                         std::wstring(row.param) + L"\" is not a number within -1e+06..1e+06"))
                << std::string(errors[0].begin(), errors[0].end());
        catalogue().clear();
    }
}

TEST(CampaignCompletion, AChapterIsFinishedWhenMoreThanHalfItsLevelsArePassed) {
    struct Row {
        int result;
        std::vector<int> levels;
        int completion;
    } const rows[] = {
        {0, {4, 4, 4}, 0}, {1, {}, 1}, {1, {2, 1}, 1}, {1, {2, 3, 1}, 2}, {2, {1, 1, 0}, 1}, {1, {4}, 2},
    };
    for (Row const& row : rows) {
        Solitaire::ChapterRecord chapter;
        chapter.result = row.result;
        for (int result : row.levels) chapter.levels.push_back({result, 0, 0, 0});
        EXPECT_EQ(Solitaire::SolitaireManager::getRecordCompletion(chapter), row.completion);
    }
}

}  // namespace

namespace {

// A text file the catalogue names again, under another spelling, is read once (10,000 mentions of
// one file took 17 s of start-up when each was read).
TEST_F(CatalogueTest, ATextFileNamedAgainIsReadOnce) {
    testsupport::FilesNamedTwice const files("catalogue_twice");
    logtest::LogWatch watch;
    loadText(L"<L><TEXT_FILE FILE=\"" + files.texts + L"\"/><TEXT_FILE FILE=\"" + files.textsAgain +
             L"\"/><TEXT_FILE FILE=\"" + files.texts + L"\"/></L>");
    EXPECT_EQ(testsupport::FilesNamedTwice::textReadings(watch.lines()), 1u);
}

// The shipped catalogue's 146 variants name seven preview files: one texture for each file, each
// made (its file's header read) once; the previews made anew after a screenshot are shared again.
TEST_F(CatalogueTest, VariantsNamingOnePreviewFileShareOneTexture) {
    loadShipped();
    auto texturesByPath = [this] {
        std::map<std::wstring, std::set<Orvex::Texture2D*>> byPath;
        for (SolVariant const* variant : catalogue().collectVariants())
            byPath[variant->getPreviewPath()].insert(variant->getPreview());
        return byPath;
    };
    auto const before = texturesByPath();
    EXPECT_EQ(before.size(), 7u);
    for (auto const& [path, textures] : before) EXPECT_EQ(textures.size(), 1u) << path;

    // Held here, so a new texture cannot take an old one's address.
    for (auto const& [path, textures] : before)
        if (*textures.begin()) (*textures.begin())->addRef();
    catalogue().reloadPreviews();
    auto const after = texturesByPath();
    ASSERT_EQ(after.size(), before.size());
    for (auto const& [path, textures] : after) {
        EXPECT_EQ(textures.size(), 1u) << path;
        EXPECT_NE(*textures.begin(), *before.at(path).begin()) << path;
    }
    for (auto const& [path, textures] : before)
        if (*textures.begin()) (*textures.begin())->release();
}

}  // namespace
