// Broken and hostile styles, card-set and background files: each gives one log line naming the
// file (and what it refused), keeps the defaults, and the settings stay usable.
#include <cmath>
#include <cwchar>

#include "game/look/Background.h"
#include "game/look/Kartenset.h"
#include "game/look/Style.h"
#include "game/look/StyleSettings.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/game/look/StyleFiles.h"

namespace Solitaire {
namespace {

using styletest::StyleFilesTest;
using styletest::tree;

// A file's text and what its one log line names besides the file.
struct FaultCase {
    std::wstring text;
    wchar_t const* named;
};

// Exactly one error line since the watch began, naming the file and what was refused.
void expectOneLine(logtest::LogWatch const& watch, std::wstring const& file, std::wstring const& named) {
    auto const errors = watch.errors();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(logtest::contains(errors[0], file)) << std::string(errors[0].begin(), errors[0].end());
    EXPECT_TRUE(logtest::contains(errors[0], named)) << std::string(errors[0].begin(), errors[0].end());
}

// n (group, entry) pairs.
std::wstring manyPairs(int n) {
    std::wstring text;
    for (int i = 0; i < n; ++i) text += L"\"|G" + std::to_wstring(i) + L"|\" \"|E|\" ";
    return text;
}

// n texture elements without files.
std::wstring manyTextures(int n) {
    std::wstring text;
    for (int i = 0; i < n; ++i) text += L"<TEXTUR2D NAME=\"T" + std::to_wstring(i) + L"\"/>";
    return text;
}

TEST_F(StyleFilesTest, BrokenStylesGiveOneLineAndKeepTheirDefaults) {
    struct Case {
        std::wstring body;
        wchar_t const* named;  // what the line names besides the file
        void (*check)(Style const&);
    } const cases[] = {
        // A fall-off of 0 would divide the mark by zero.
        {L"<KARTEN MARK_FALLOFF=\"0\"/>", L"MARK_FALLOFF", [](Style const& s) { EXPECT_EQ(s.markFalloff, 3); }},
        // Rings x samples draws per card.
        {L"<KARTEN SHADOW_RINGS=\"100000\" SHADOW_SAMPLES=\"8 100000\"/>", L"SHADOW_RINGS",
         [](Style const& s) {
             EXPECT_EQ(s.shadows[0].rings, 1);
             EXPECT_EQ(s.shadows[1].samples, 8);
         }},
        {L"<STAPEL VERSCHIEBUNG=\"nan\" VERSCHIEBUNG_MAX=\"inf 2\"/>", L"VERSCHIEBUNG",
         [](Style const& s) {
             EXPECT_EQ(s.pileOffsetMin, D3DXVECTOR2(1, 1));
             EXPECT_EQ(s.pileOffsetMax, D3DXVECTOR2(1, 1));
         }},
        {L"<KARTEN SHADOW_DIST=\"1 nan\"/><SPEEDS ANORDNENSPEED=\"inf\"/>", L"SHADOW_DIST",
         [](Style const& s) {
             EXPECT_EQ(s.shadows[0].offset, D3DXVECTOR2(3, 3));
             EXPECT_FLOAT_EQ(s.arrangeSpeed, 1.0f);
         }},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(std::string(c.body.begin(), c.body.end()));
        logtest::LogWatch watch;
        // The line named is the refused element's.
        loadText(L"<S>\n<STYLE NAME=\"KAPUTT\">\n" + c.body + L"</STYLE></S>", L"kaputt.sty");
        expectOneLine(watch, L"Style \"KAPUTT\" in \"kaputt.sty\" at line 3:", c.named);
        Style* style = settings().findStyle(L"KAPUTT");
        ASSERT_NE(style, nullptr);
        c.check(*style);
        settings().clear();
    }
}

// A back outside the six offered is the nearest one (without a card set, of six backs).
TEST_F(StyleFilesTest, BrokenCardSetsAndChoicesGiveOneLineNamingTheFile) {
    struct Case {
        FaultCase fault;
        int back;
    };
    Case const cases[] = {
        {{L"<S><KARTENSET FILE=\"tests\\game\\cards\\data\\nothere.kset\"/></S>", L"nothere.kset"}, 0},
        {{L"<S><BACKGROUND FILE=\"tests\\game\\cards\\data\\nothere.bkg\"/></S>", L"nothere.bkg"}, 0},
        {{L"<S STYLE_PARAM=\"nan\"/>", L"STYLE_PARAM"}, 0},
        {{L"<S CARDS_BACK=\"20\"/>", L"CARDS_BACK"}, 5},
        {{L"<S CARDS_BACK=\"-1\" PARTIKEL_SPAWN_MULT=\"nan\"/>", L"CARDS_BACK"}, 0},
    };
    for (auto const& [c, back] : cases) {
        SCOPED_TRACE(std::string(c.text.begin(), c.text.end()));
        logtest::LogWatch watch;
        loadText(c.text, L"kaputt.sty");
        expectOneLine(watch, L"kaputt.sty", c.named);
        EXPECT_EQ(settings().getCardsBack(), back);
        EXPECT_FLOAT_EQ(settings().getParticleSpawnMult(), 1.0f);
        EXPECT_TRUE(std::isfinite(StyleSettings::getStyleParam()));
        EXPECT_NE(settings().getStyle(), nullptr);
        settings().clear();
    }
    // A missing card-set file still gives a card set with its defaults, filed and current.
    loadText(L"<S><KARTENSET FILE=\"tests\\game\\cards\\data\\nothere.kset\"/></S>");
    ASSERT_NE(settings().getKartenset(), nullptr);
    EXPECT_EQ(settings().getKartenset()->cellSize, D3DXVECTOR2(200, 275));
}

// A pile's card step is the style's blended pile offset times the card set's factor; a hint takes
// the blended tip offset and rotation. Each number is bounded so that these stay finite at any
// parameter a reader accepts.
TEST_F(StyleFilesTest, NumbersWhoseBlendOrCardStepLeavesFloatsAreRefused) {
    struct Row {
        wchar_t const* styles;   // a styles file with the style "A" on line 2
        wchar_t const* cardSet;  // a card-set file's element
        wchar_t const* refused;  // how its one line goes on after the file and line; null: no line
    } const rows[] = {
        {L"<S STYLE_PARAM=\"-1e6\">\n<STYLE NAME=\"A\"><STAPEL VERSCHIEBUNG=\"-1e6\" VERSCHIEBUNG_MAX=\"1e6 2\"/>"
         L"<TIP ROTATION=\"-1e6\" ROTATION_MAX=\"1e6\"/></STYLE></S>",
         L"<K VERSCHIEBUNG_MULT=\"1e6 -1e6\"/>", nullptr},
        // Each end finite, their difference is not.
        {L"<S>\n<STYLE NAME=\"A\"><STAPEL VERSCHIEBUNG=\"-3e38\" VERSCHIEBUNG_MAX=\"3e38\"/></STYLE></S>", L"<K/>",
         L"Style \"A\" in \"kaputt.sty\" at line 2: \"VERSCHIEBUNG\" \"-3e38\" is not a list of numbers within "
         L"-1e+06..1e+06 (1 further problems)"},
        {L"<S>\n<STYLE NAME=\"A\"><TIP ROTATION=\"-3e38\" ROTATION_MAX=\"3e38\"/></STYLE></S>", L"<K/>",
         L"Style \"A\" in \"kaputt.sty\" at line 2: \"ROTATION\" \"-3e38\" is not a number within -1e+06..1e+06"},
        // The parameter times the shipped hint range (6 .. 10).
        {L"<S STYLE_PARAM=\"3e38\">\n<STYLE NAME=\"A\"><TIP VERSCHIEBUNG=\"6\" VERSCHIEBUNG_MAX=\"10\"/></STYLE></S>",
         L"<K/>", L"Styles in \"kaputt.sty\" at line 1: \"STYLE_PARAM\" \"3e38\" is not a number within -1e+06..1e+06"},
        // The pile offset times the card set's factor.
        {L"<S>\n<STYLE NAME=\"A\"><STAPEL VERSCHIEBUNG=\"2\"/></STYLE></S>", L"<K NAME=\"K\" VERSCHIEBUNG_MULT=\"1 3e38\"/>",
         L"Card set \"K\" in \"kaputt.kset\" at line 1: \"VERSCHIEBUNG_MULT\" \"1 3e38\" is not a list of numbers "
         L"within -1e+06..1e+06"},
    };
    for (Row const& row : rows) {
        SCOPED_TRACE(std::string(row.styles, row.styles + std::wcslen(row.styles)));
        logtest::LogWatch watch;
        loadText(row.styles, L"kaputt.sty");
        Orvex::XMLNode node = tree(row.cardSet);
        auto* set = new Kartenset(node, L"kaputt.kset");
        Style* style = settings().findStyle(L"A");
        ASSERT_NE(style, nullptr);
        // The parameter read, the slider's ends and one past the bound, which is ignored.
        for (float p : {StyleSettings::getStyleParam(), 0.0f, 1.0f, 3e38f}) {
            settings().setStyleParam(p);
            float const values[] = {style->pileOffset.x * set->offsetFactor.x, style->pileOffset.y * set->offsetFactor.y,
                                    style->randomOffset.x, style->randomOffset.y, style->randomRotation,
                                    style->tipOffset.x, style->tipOffset.y, style->tipRotation};
            for (float value : values) EXPECT_TRUE(std::isfinite(value)) << "at " << p;
        }
        EXPECT_EQ(StyleSettings::getStyleParam(), 1.0f);
        auto const errors = watch.errors();
        ASSERT_EQ(errors.size(), row.refused ? 1u : 0u);
        if (row.refused) EXPECT_TRUE(logtest::contains(errors[0], row.refused)) << std::string(errors[0].begin(), errors[0].end());
        set->release();
        settings().clear();
        settings().setStyleParam(0.0f);
    }
}

// A style's shadow offset and blur, a mark's wobble offset and turn, and the turn and scale a
// removed card goes to are a card's measures: 3e38 put a shadow or a removed card past a float, and
// 1e7 was taken, with no line. Past Orvex::kMaxMeasure a value is refused with its line and keeps
// its default; the card's size at the scale stays finite.
TEST_F(StyleFilesTest, CardMeasuresPastTheBoundAreRefused) {
    struct Row {
        wchar_t const* body;  // inside the style, on line 3
        wchar_t const* refused;
        void (*check)(Style const&);
    } const rows[] = {
        {L"<SPEEDS FADEOUT_SCALE=\"3e38\"/>", L"\"FADEOUT_SCALE\" \"3e38\" is not a number within -1e+06..1e+06",
         [](Style const& s) { EXPECT_EQ(s.fadeoutScale, 10.0f); }},
        {L"<SPEEDS FADEOUT_SCALE=\"1e7\"/>", L"\"FADEOUT_SCALE\" \"1e7\" is not a number within",
         [](Style const& s) { EXPECT_EQ(s.fadeoutScale, 10.0f); }},
        {L"<SPEEDS FADEOUT_ROTATION=\"-3e38\"/>", L"\"FADEOUT_ROTATION\" \"-3e38\" is not a number within",
         [](Style const& s) { EXPECT_EQ(s.fadeoutRotation, 450.0f); }},
        {L"<KARTEN SHADOW_DIST=\"1 3e38\"/>", L"\"SHADOW_DIST\" \"1 3e38\" is not a list of numbers within -1e+06..1e+06",
         [](Style const& s) { EXPECT_EQ(s.shadows[1].offset, D3DXVECTOR2(3, 3)); }},
        {L"<KARTEN SHADOW_BLUR=\"2 1e7\"/>", L"\"SHADOW_BLUR\" \"2 1e7\" is not a list of numbers within",
         [](Style const& s) { EXPECT_EQ(s.shadows[1].radius, 2.0f); }},
        {L"<SELECT_ERROR VERSCHIEBUNG=\"3e38 0\"/>", L"\"VERSCHIEBUNG\" \"3e38 0\" is not a list of numbers within",
         [](Style const& s) { EXPECT_EQ(s.wobbles[Style::kSelectError].offset, D3DXVECTOR2(0, 0)); }},
        {L"<SELECT_HASGOALMOVE ROTATION=\"-1e7\"/>", L"\"ROTATION\" \"-1e7\" is not a number within",
         [](Style const& s) { EXPECT_EQ(s.wobbles[Style::kSelectHasGoalMove].rotation, 0.0f); }},
    };
    for (Row const& row : rows) {
        SCOPED_TRACE(std::string(row.body, row.body + std::wcslen(row.body)));
        logtest::LogWatch watch;
        loadText(std::wstring(L"<S>\n<STYLE NAME=\"KAPUTT\">\n") + row.body + L"</STYLE></S>", L"kaputt.sty");
        Style* style = settings().findStyle(L"KAPUTT");
        ASSERT_NE(style, nullptr);
        row.check(*style);
        // A removed card of the default cell at the scale; the shadows and wobbles drawn beside it.
        float const sizes[] = {Kartenset::kDefaultCellWidth * style->fadeoutScale, style->fadeoutRotation,
                               style->shadows[1].offset.x + style->shadows[1].offset.y, style->shadows[1].radius * 2.0f,
                               style->wobbles[Style::kSelectError].offset.x * Kartenset::kDefaultCellWidth};
        for (float size : sizes) EXPECT_TRUE(std::isfinite(size));
        auto const errors = watch.errors();
        EXPECT_TRUE(errors.size() == 1 && logtest::contains(errors[0], L"Style \"KAPUTT\" in \"kaputt.sty\" at line 3:") &&
                    logtest::contains(errors[0], row.refused))
            << errors.size() << " lines" << (errors.empty() ? std::string() : ", the first: " + std::string(errors[0].begin(), errors[0].end()));
        settings().clear();
    }
}

TEST_F(StyleFilesTest, HostileCardSetAndBackgroundFilesAreRefusedWhole) {
    FaultCase const cases[] = {
        {L"<K NAME=\"NULL\" KARTEN_SIZE=\"0 0\"/>", L"KARTEN_SIZE"},
        {L"<K NAME=\"NEG\" KARTEN_SIZE=\"-5 10\"/>", L"KARTEN_SIZE"},
        {L"<K NAME=\"NAN\" KARTEN_SIZE=\"nan\"/>", L"KARTEN_SIZE"},
        {L"<K NAME=\"HUGE\" KARTEN_SIZE=\"1e30 1\"/>", L"KARTEN_SIZE"},
        {L"<K NAME=\"MANY\">" + manyTextures(1025) + L"</K>", L"TEXTUR2D"},
        // Each pair is a walk over the groups: a bounded number is filed.
        {L"<K NAME=\"SETS\"><KARTENSET_SETS>" + manyPairs(65) + L"</KARTENSET_SETS></K>", L"KARTENSET_SETS"},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(std::string(c.text.begin(), c.text.end()));
        logtest::LogWatch watch;
        Orvex::XMLNode node = tree(c.text);
        auto* set = new Kartenset(node, L"kaputt.kset");
        expectOneLine(watch, L"Card set \"" + set->getName() + L"\" in \"kaputt.kset\"", c.named);
        EXPECT_EQ(set->cellSize, D3DXVECTOR2(200, 275));
        EXPECT_LE(set->getSetEntries().size(), 64u);
        set->release();
    }
    logtest::LogWatch watch;
    Orvex::XMLNode node = tree(L"<B NAME=\"VIELE\">" + manyTextures(257) + L"</B>");
    auto* background = new Background(node, L"kaputt.bkg");
    expectOneLine(watch, L"Background \"VIELE\" in \"kaputt.bkg\"", L"TEXTUR2D");
    EXPECT_EQ(background->getCurrentPicture(), nullptr);
    background->release();
}

}  // namespace
}  // namespace Solitaire
