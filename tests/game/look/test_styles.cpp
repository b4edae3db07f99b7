// The shipped styles file: every texture our card set names fills its slot, the style, the game
// style and the background come in, the choices survive a save and a load, and card-set sets
// switch entries as the settings' choosing says.
#include <set>

#include "game/look/GameStyle.h"
#include "engine/render/Texture2D.h"
#include "game/look/Background.h"
#include "game/look/Kartenset.h"
#include "game/look/Style.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/game/look/StyleFiles.h"

namespace Solitaire {
namespace {

using styletest::StyleFilesTest;
using styletest::tree;

TEST_F(StyleFilesTest, TheShippedStylesFillEverySlotTheirDataNames) {
    logtest::LogWatch watch;
    loadFile(L"data\\Styles.sty");
    EXPECT_TRUE(watch.errors().empty());

    Kartenset* set = settings().getKartenset();
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(set->getName(), L"CLASSIC");
    ASSERT_NE(settings().getCardSetSet(), nullptr);
    EXPECT_EQ(settings().getCardSetSet()->name, L"STANDARD");
    EXPECT_EQ(settings().getCardSetEntryName(), L"CLASSIC");
    EXPECT_EQ(set->cellSize, D3DXVECTOR2(200.0f, 275.0f));
    EXPECT_TRUE(set->useTextureCheck);

    // Every texture the card-set file lists sits in each slot of its name.
    Orvex::XMLNode file;
    ASSERT_TRUE(file.load(L"data\\Cards\\Classic.kset"));
    std::set<std::wstring> listed;
    for (Orvex::XMLNode const* texture : file.children())
        if (texture->getName() == L"TEXTUR2D") listed.insert(texture->getAttributeString(L"NAME", L""));
    int filled = 0;
    for (int slot = 0; slot < Kartenset::kSlotCount; ++slot) {
        std::wstring const name = Kartenset::slotName(slot);
        if (!listed.count(name)) continue;
        EXPECT_NE(set->getTexture(slot), nullptr) << slot;
        ++filled;
    }
    // 52 faces, 3 extra faces, 49 + 14 markers (the bare "ACCEPTS_" fills the codes without a
    // word), 6 backs, 10 pile pictures (BASIS three times more), 4 keys, 4 locks, 6 singles.
    EXPECT_EQ(filled, 52 + 3 + 49 + 14 + 6 + 10 + 4 + 4 + 6);
    for (int suit = 0; suit < 4; ++suit)
        for (int value = 0; value < 13; ++value) EXPECT_NE(set->getFace(suit, value), nullptr);
    EXPECT_NEAR(set->getAspectRatio(0), 200.0f / 275.0f, 1e-6f);
    EXPECT_FLOAT_EQ(set->getAspectRatio(Kartenset::groupStart(Kartenset::kKeys)), 1.0f);
    // Empty slots: the EXTRA row of the faces and the backs from 7 on.
    EXPECT_EQ(set->getTexture(52), nullptr);
    EXPECT_FLOAT_EQ(set->getAspectRatio(52), 1.0f);
    EXPECT_EQ(set->getInGroup(Kartenset::kBacks, 6), nullptr);

    Style* style = settings().getStyle();
    ASSERT_NE(style, nullptr);
    EXPECT_EQ(style->getName(), L"KLASSISCH");
    // "STYLE_PARAM" 0.5 blends between "VERSCHIEBUNG" 1 and "VERSCHIEBUNG_MAX" 1.1 1.3.
    EXPECT_FLOAT_EQ(style->pileOffset.x, 1.05f);
    EXPECT_FLOAT_EQ(style->pileOffset.y, 1.15f);
    EXPECT_FLOAT_EQ(style->revealWaitTimer2, 0.1f);

    Background* background = settings().getBackground();
    ASSERT_NE(background, nullptr);
    EXPECT_EQ(background->getName(), L"TISCH");
    EXPECT_EQ(background->getPictures().size(), 2u);
    EXPECT_NE(background->getCurrentPicture(), nullptr);
    EXPECT_EQ(settings().getDefaultBackground(), background);
    ASSERT_NE(settings().getGameStyle(), nullptr);
    EXPECT_EQ(settings().getGameStyle()->getName(), L"KLASSISCH");
}

TEST_F(StyleFilesTest, TheChoicesRoundTripThroughSaveAndLoad) {
    loadFile(L"data\\Styles.sty");
    loadText(L"<S><STYLE NAME=\"ZWEITER\"/><GAMESTYLE NAME=\"ZWEITES_SPIEL\"/></S>");
    auto* second = new Background(L"ZWEITER_TISCH");
    settings().addBackground(second);
    second->release();
    settings().selectStyle(L"ZWEITER");
    settings().selectBackground(L"ZWEITER_TISCH");
    settings().selectGameStyle(L"ZWEITES_SPIEL");
    settings().setCardsBack(1);
    settings().setTooltipType(2);
    settings().setParticleSpawnMult(0.25f);
    settings().setStyleParam(0.75f);

    Orvex::XMLNode saved(L"SOLITAIRE");
    settings().save(saved);
    std::vector<std::wstring> keys;
    for (Orvex::XMLAttribute const* attribute : saved.attributes()) keys.push_back(attribute->getName());
    EXPECT_EQ(keys, (std::vector<std::wstring>{L"ACTUAL_STYLE", L"ACTUAL_CARDSET_SET", L"ACTUAL_CARDSET",
                                               L"ACTUAL_BACKGROUND", L"STYLE_PARAM", L"SCALE_PARAM", L"CARDS_BACK",
                                               L"TOOLTIP_TYPE", L"PARTIKEL_SPAWN_MULT"}));
    EXPECT_EQ(saved.getAttributeString(L"SCALE_PARAM", L""), L"0.5");
    // Saving again replaces the attributes instead of adding them twice.
    settings().save(saved);
    EXPECT_EQ(saved.getAttributeCount(), keys.size());

    // Through the settings file's text, into settings read afresh from the styles file.
    Orvex::XMLNode reread = tree(saved.toText());
    reset();
    loadFile(L"data\\Styles.sty");
    loadText(L"<S><STYLE NAME=\"ZWEITER\"/><GAMESTYLE NAME=\"ZWEITES_SPIEL\"/></S>");
    auto* again = new Background(L"ZWEITER_TISCH");
    settings().addBackground(again);
    again->release();
    ASSERT_EQ(settings().getStyle()->getName(), L"KLASSISCH");
    ASSERT_EQ(settings().getCardsBack(), 0);
    ASSERT_EQ(settings().getGameStyle()->getName(), L"KLASSISCH");
    settings().load(reread, L"config.cfg");
    // The game style is the variant's to choose: it is read, never saved.
    EXPECT_EQ(settings().getGameStyle()->getName(), L"KLASSISCH");
    EXPECT_EQ(settings().getStyle()->getName(), L"ZWEITER");
    EXPECT_EQ(settings().getBackground()->getName(), L"ZWEITER_TISCH");
    EXPECT_EQ(settings().getCardSetSet()->name, L"STANDARD");
    EXPECT_EQ(settings().getKartenset()->getName(), L"CLASSIC");
    EXPECT_EQ(settings().getCardsBack(), 1);
    EXPECT_EQ(settings().getTooltipType(), 2);
    EXPECT_FLOAT_EQ(settings().getParticleSpawnMult(), 0.25f);
    EXPECT_FLOAT_EQ(StyleSettings::getStyleParam(), 0.75f);
}

// Card sets filed by "KARTENSET_SETS" pairs; an odd last value is ignored, and a set without
// pairs is entry "its name" of "DEFAULT".
TEST_F(StyleFilesTest, SwitchingSetsKeepsTheEntryNameWhereTheNewSetHasIt) {
    auto add = [](std::wstring const& text) {
        Orvex::XMLNode node = tree(text);
        auto* set = new Kartenset(node);
        StyleSettings::instance().addKartenset(set);
        set->release();
    };
    add(L"<K NAME=\"AX\"><KARTENSET_SETS>\"|A|\" \"|x|\"</KARTENSET_SETS></K>");
    add(L"<K NAME=\"AY_BX\"><KARTENSET_SETS>\"|A|\" \"|y|\" \"|B|\" \"|x|\" \"|C|\"</KARTENSET_SETS></K>");
    add(L"<K NAME=\"SOLO\"/>");
    ASSERT_EQ(settings().getKartensetCount(), 3);
    EXPECT_EQ(settings().findCardSetSet(L"C"), nullptr);
    StyleSettings::CardSetSet* fallback = settings().findCardSetSet(L"DEFAULT");
    ASSERT_NE(fallback, nullptr);
    EXPECT_EQ(fallback->entries.front().second, L"SOLO");
    EXPECT_EQ(settings().indexOfKartenset(fallback), 2);

    int announced = 0;
    struct Counter : sigslot::has_slots<> {
        int* count;
        void on(Kartenset*) { ++*count; }
    } counter;
    counter.count = &announced;
    settings().kartensetChanged.connect(&counter, &Counter::on);

    settings().selectCardSetSet(L"A");
    settings().selectCardSet(L"y");
    EXPECT_EQ(settings().getKartenset()->getName(), L"AY_BX");
    settings().selectCardSetSet(L"B");  // no "y" in B: the card set stays
    EXPECT_EQ(settings().getKartenset()->getName(), L"AY_BX");
    EXPECT_EQ(settings().getCardSetSet()->name, L"B");
    settings().selectCardSetSet(L"A");
    settings().selectCardSet(L"x");
    EXPECT_EQ(settings().getKartenset()->getName(), L"AX");
    settings().selectKartensetByIndex(1);  // B, whose "x" is AY_BX
    EXPECT_EQ(settings().getKartenset()->getName(), L"AY_BX");
    settings().selectKartensetByIndex(7);
    settings().selectCardSet(L"nothing");
    EXPECT_EQ(settings().getKartenset()->getName(), L"AY_BX");
    EXPECT_EQ(announced, 3);
}

// A styles file may bring a style of its own named "DEFAULT": chosen and saved, it is the one
// chosen again when the settings are read after a restart, not the built-in fallback.
TEST_F(StyleFilesTest, ADataStyleNamedDefaultIsChosenAgainAfterARestart) {
    std::wstring const styles =
        L"<S><STYLE NAME=\"ERSTER\"/><STYLE NAME=\"DEFAULT\"><SPEEDS ANORDNENSPEED=\"7\"/></STYLE></S>";
    loadText(styles);
    settings().selectStyle(L"DEFAULT");
    ASSERT_EQ(settings().getStyle()->arrangeSpeed, 7.0f);
    Orvex::XMLNode saved(L"SOLITAIRE");
    settings().save(saved);
    Orvex::XMLNode reread = tree(saved.toText());

    reset();
    loadText(styles);
    ASSERT_EQ(settings().getStyle()->getName(), L"ERSTER");
    settings().load(reread, L"config.cfg");
    EXPECT_EQ(settings().getStyle()->getName(), L"DEFAULT");
    EXPECT_EQ(settings().getStyle()->arrangeSpeed, 7.0f) << "the data's style, not the fallback";
    EXPECT_EQ(settings().findStyle(L"DEFAULT"), settings().getStyle());
}

TEST_F(StyleFilesTest, AFileWithoutStylesGivesTheCurrentDefaultStyle) {
    loadText(L"<S ACTUAL_STYLE=\"NONE\"/>");
    ASSERT_NE(settings().getStyle(), nullptr);
    EXPECT_EQ(settings().getStyle()->getName(), L"DEFAULT");
    EXPECT_EQ(settings().getKartenset(), nullptr);
    EXPECT_EQ(settings().getBackground(), nullptr);
    // A later file's first style replaces the fallback; its second does not.
    loadText(L"<S><STYLE NAME=\"EINS\"/><STYLE NAME=\"ZWEI\"/><GAMESTYLE NAME=\"G\"/></S>");
    EXPECT_EQ(settings().getStyle()->getName(), L"EINS");
    // Look-ups take the first of equal names.
    Style* first = settings().findStyle(L"EINS");
    loadText(L"<S><STYLE NAME=\"EINS\"/></S>");
    EXPECT_EQ(settings().findStyle(L"EINS"), first);
}

}  // namespace
}  // namespace Solitaire
