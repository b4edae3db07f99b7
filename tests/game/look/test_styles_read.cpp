// Reading styles and card sets: the value kinds (range pairs, colours, one to four floats), the
// card-set keys and cell size, and the indices from data that the getters check.
#include <climits>
#include <cmath>

#include "engine/render/Texture2D.h"
#include "game/look/Kartenset.h"
#include "game/look/Style.h"
#include "tests/game/look/StyleFiles.h"

namespace Solitaire {
namespace {

using styletest::StyleFilesTest;
using styletest::tree;

Style* readStyle(std::wstring const& body) {
    Orvex::XMLNode node = tree(L"<STYLE NAME=\"T\">" + body + L"</STYLE>");
    return new Style(node, L"test.sty");
}

struct StyleCase {
    wchar_t const* body;
    float param;
    void (*check)(Style const&);
};

TEST(StyleReadTest, ValueKindsReadAsTheStylesFileWritesThem) {
    StyleCase const cases[] = {
        // A single value sets both components of both bounds.
        {L"<STAPEL VERSCHIEBUNG=\"5\"/>", 0.5f,
         [](Style const& s) {
             EXPECT_EQ(s.pileOffsetMin, D3DXVECTOR2(5, 5));
             EXPECT_EQ(s.pileOffsetMax, D3DXVECTOR2(5, 5));
         }},
        // "_MAX" decides the upper bound whatever the order; the blend at 0.5.
        {L"<STAPEL VERSCHIEBUNG_MAX=\"9 12\" VERSCHIEBUNG=\"5\"/>", 0.5f,
         [](Style const& s) {
             EXPECT_EQ(s.pileOffsetMax, D3DXVECTOR2(9, 12));
             EXPECT_EQ(s.pileOffset, D3DXVECTOR2(7, 8.5f));
         }},
        {L"<TIP ROTATION=\"2\" ROTATION_MAX=\"6\" TIP_DAUER=\"3\"/>", 0.25f,
         [](Style const& s) {
             EXPECT_FLOAT_EQ(s.tipRotation, 3.0f);
             EXPECT_FLOAT_EQ(s.tipDuration, 3.0f);
         }},
        // One colour sets both shadows: red at alpha 128/255.
        {L"<KARTEN SHADOW_COLOR=\"80FF0000\"/>", 0.0f,
         [](Style const& s) {
             for (auto const& shadow : s.shadows) {
                 EXPECT_FLOAT_EQ(shadow.colour.r, 1.0f);
                 EXPECT_FLOAT_EQ(shadow.colour.g, 0.0f);
                 EXPECT_FLOAT_EQ(shadow.colour.a, 128.0f / 255.0f);
             }
         }},
        // a sets all four distances, b the second and fourth, c the third and fourth.
        {L"<KARTEN SHADOW_DIST=\"1 2 3\" SHADOW_RINGS=\"2 3\" SHADOW_SAMPLES=\"4\"/>", 0.0f,
         [](Style const& s) {
             EXPECT_EQ(s.shadows[0].offset, D3DXVECTOR2(1, 2));
             EXPECT_EQ(s.shadows[1].offset, D3DXVECTOR2(3, 3));
             EXPECT_EQ(s.shadows[1].rings, 3);
             EXPECT_EQ(s.shadows[1].samples, 4);
         }},
        // The goal-move element carries the style's own parameter and the fly-spline names.
        {L"<SELECT_HASGOALMOVE SPEED=\"3\" PARAM=\"0.4\" KARTEN_FLY_WIN=\"W\"/><SELECT_ERROR KARTEN_FLY_WIN=\"X\"/>",
         0.0f,
         [](Style const& s) {
             EXPECT_FLOAT_EQ(s.wobbles[StyleValues::kSelectHasGoalMove].speed, 3.0f);
             EXPECT_FLOAT_EQ(s.param, 0.4f);
             EXPECT_EQ(s.flyWin, L"W");
             EXPECT_EQ(s.flyLose, L"KARTEN_FLY_LOSE");
         }},
        // The first element of a name counts.
        {L"<SPEEDS FADEOUT_SPEED=\"3\" AUFDECKEN_WAITTIMER2=\"0.5\"/><SPEEDS FADEOUT_SPEED=\"9\"/>", 0.0f,
         [](Style const& s) {
             EXPECT_FLOAT_EQ(s.fadeoutSpeed, 3.0f);
             EXPECT_FLOAT_EQ(s.revealWaitTimer2, 0.5f);
         }},
    };
    for (StyleCase const& c : cases) {
        SCOPED_TRACE(c.body);
        Style* style = readStyle(c.body);
        style->applyParam(c.param);
        c.check(*style);
        style->release();
    }
}

TEST(StyleReadTest, TheWriterGivesNameAndValues) {
    Style* style = readStyle(L"<KARTEN MARK_FALLOFF=\"5\"/>");
    Orvex::XMLNode out(L"STYLE");
    style->writeXML(out);
    EXPECT_EQ(out.getAttributeString(L"NAME", L""), L"T");
    ASSERT_NE(out.getChild(L"KARTEN"), nullptr);
    EXPECT_EQ(out.getChild(L"KARTEN")->getValue(0)->getString(), L"5");
    EXPECT_EQ(out.getChild(L"TIP")->getValueCount(), 5u);
    style->release();
}

TEST_F(StyleFilesTest, CardSetKeysAndTheCellSize) {
    struct Case {
        wchar_t const* text;
        D3DXVECTOR2 cell;
    } const cases[] = {
        {L"<K KARTEN_SIZE=\"120\"/>", {120, 120}},
        {L"<K KARTEN_SIZE=\"120 160\"/>", {120, 160}},
        // Without the key the first face's size: a 64 x 64 picture as the ace of clubs.
        {L"<K><TEXTUR2D NAME=\"KREUZ_ASS\"><FILE FILENAME=\"data\\Cards\\KEY_0.png\"/></TEXTUR2D></K>", {64, 64}},
        // Without faces the camera's default card.
        {L"<K><TEXTUR2D NAME=\"SHAPE\"><FILE FILENAME=\"data\\Cards\\KEY_0.png\"/></TEXTUR2D></K>", {200, 275}},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.text);
        Orvex::XMLNode node = tree(c.text);
        auto* set = new Kartenset(node, L"test.kset");
        EXPECT_EQ(set->cellSize, c.cell);
        set->release();
    }

    Orvex::XMLNode node = tree(
        L"<K NAME=\"N\" TIP_COLOR1=\"FF102030\" VERSCHIEBUNG_MULT=\"2\" TIP_EMITTER=\"HINT\" TIPP_EMITTER=\"NO\" "
        L"USE_TEXTURE_CHECK=\"1\"/>");
    auto* set = new Kartenset(node);
    EXPECT_EQ(set->getName(), L"N");
    EXPECT_FLOAT_EQ(set->tipColour1.g, 0x20 / 255.0f);
    EXPECT_EQ(set->offsetFactor, D3DXVECTOR2(2, 2));
    EXPECT_EQ(set->tipEmitter, L"HINT");
    EXPECT_EQ(set->shuffleEmitter, L"SHUFFLE_EMITTER");
    EXPECT_TRUE(set->useTextureCheck);
    set->release();
    // Without keys: the default emitter names, and a set without SHAPE stays pickable.
    Orvex::XMLNode bare = tree(L"<K/>");
    set = new Kartenset(bare);
    EXPECT_EQ(set->tipEmitter, L"TIPP_EMITTER");
    EXPECT_EQ(set->toGoalEmitter, L"TO_ZIEL_EMITTER");
    EXPECT_FALSE(set->useTextureCheck);
    set->release();
}

TEST(KartensetSlotTest, SlotNamesFollowTheTables) {
    struct Case {
        int group, index;
        wchar_t const* name;
    } const cases[] = {
        {Kartenset::kFaces, 1 * 13 + 11, L"KARO_DAME"},   {Kartenset::kFaces, 52, L""},
        {Kartenset::kColourMarks, 9, L"ACCEPTS_ALL_F"},   {Kartenset::kColourMarks, 5, L"ACCEPTS_"},
        {Kartenset::kValueMarks, 12, L"ACCEPTS_KOENIG"},  {Kartenset::kValueMarks, 17, L"ACCEPTS_ALL_W"},
        {Kartenset::kValueMarks, 20, L"ACCEPTS_"},        {Kartenset::kBacks, 0, L"BACK_1"},
        {Kartenset::kBacks, 19, L"BACK_20"},              {Kartenset::kPiles, 7, L"STAPEL_BASIS"},
        {Kartenset::kPiles, 1, L"STAPEL_MUELL"},          {Kartenset::kLocks, 3, L"LOCK_3"},
        {Kartenset::kSingles, Kartenset::kPairsSelection, L"PAIRS_SELECTION"},
    };
    for (Case const& c : cases)
        EXPECT_EQ(Kartenset::slotName(Kartenset::groupStart(c.group) + c.index), c.name) << c.group << " " << c.index;
    EXPECT_EQ(Kartenset::slotName(Kartenset::kSlotCount), L"");
    EXPECT_EQ(Kartenset::slotName(-1), L"");
}

// Indices from data (a card's suit and value, "CARDS_BACK", a rule code, a pile's tint) are
// checked where they are used: never a read outside a table.
TEST_F(StyleFilesTest, IndicesFromDataStayInsideTheirTables) {
    loadFile(L"data\\Styles.sty");
    Kartenset const& set = *settings().getKartenset();
    Orvex::Texture2D* const firstBack = set.getBack(0);
    ASSERT_NE(firstBack, nullptr);
    EXPECT_EQ(set.getBack(-5), firstBack);
    // Past the backs the set holds (six shipped), its last one, as the settings keep it: an empty
    // slot of the table drew the first back instead.
    ASSERT_EQ(set.getBackCount(), 6);
    Orvex::Texture2D* const lastBack = set.getInGroup(Kartenset::kBacks, 5);
    ASSERT_NE(lastBack, nullptr);
    for (int past : {6, 19, 20, 25, 1000, INT_MAX}) EXPECT_EQ(set.getBack(past), lastBack) << past;
    EXPECT_EQ(set.getFace(0, 13), nullptr);  // not KARO_ASS
    EXPECT_EQ(set.getFace(-1, 12), nullptr);
    EXPECT_EQ(set.getFace(4, 0), nullptr);
    EXPECT_EQ(set.getFace(5, 0), nullptr);
    EXPECT_EQ(set.getColourMark(14), nullptr);
    EXPECT_EQ(set.getValueMark(-1), nullptr);
    EXPECT_EQ(set.getPilePicture(10), nullptr);
    EXPECT_EQ(set.getInGroup(Kartenset::kGroupCount, 0), nullptr);
    EXPECT_EQ(settings().getCardSetTexture(Kartenset::kSlotCount), nullptr);
    EXPECT_EQ(settings().getCardSetTexture(0), set.getFace(0, 0));
    // An EXTRA card's shape is its extra face when there is one, else the common shape.
    EXPECT_EQ(set.getShapeTexture(4, 1), set.getInGroup(Kartenset::kExtraFaces, 1));
    EXPECT_EQ(set.getShapeTexture(4, 25), set.getSingle(Kartenset::kShape));

    // The settings keep a back the set holds: its sixth and last.
    settings().setCardsBack(99);
    EXPECT_EQ(settings().getCardsBack(), 5);
    settings().setCardsBack(-1);
    EXPECT_EQ(settings().getCardsBack(), 0);

    Style const& style = *settings().getStyle();
    EXPECT_EQ(style.shadingColour(7), style.shading[1]);
    EXPECT_EQ(style.shadingColour(-2), style.shading[0]);
}

}  // namespace
}  // namespace Solitaire
