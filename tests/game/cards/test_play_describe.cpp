// Tooltip descriptions: a pile's size in the one-card and many-card texts, its room shown only
// from 0 to 13, what it accepts; a card's pick-up text; a face-down card shows nothing of itself;
// a stock counts its own cards, not those it dealt onto its linked waste.
#include <gtest/gtest.h>

#include "engine/core/engine/OrvexEngine.h"
#include "engine/gui/LanguageManager.h"
#include "game/cards/Describe.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenstapel.h"
#include "port/crt/crt.h"
#include "port/win32/win32_text.h"
#include "tests/game/cards/PlayTable.h"

namespace {

class DescribeTest : public cardtest::PlayTable {
protected:
    void SetUp() override {
        PlayTable::SetUp();
        Orvex::LanguageManager* language = Orvex::OrvexEngine::getInstance()->getLanguage();
        if (!language->getCurrentLanguage()) {
            Orvex::XMLNode texts;
            ASSERT_TRUE(texts.load(L"data\\texte.lng"));
            language->load(texts);
        }
    }
    static std::wstring text(wchar_t const* id) { return Orvex::OrvexEngine::getInstance()->getLanguage()->getText(id); }
    static bool has(std::wstring const& description, std::wstring const& part) {
        return !part.empty() && description.find(part) != std::wstring::npos;
    }
};

TEST_F(DescribeTest, PilesAndCardsDescribeThemselves) {
    startText(L"<SOLITAIRE NAME=\"T\" KARTEN_FARBE=\"HERZ\" ANZAHL_KARTEN=\"13\" AUTO_CHECK_END=\"0\">"
              L"<STAPEL NAME=\"EINE\" INIT_KARTEN_SICHTBAR=\"1\"><ANORDNUNG NAME=\"A\" MAX_CARDS=\"2\"/></STAPEL>"
              L"<STAPEL NAME=\"VIELE\" INIT_KARTEN_VERDECKT=\"2\" INIT_KARTEN_SICHTBAR=\"10\"><ANORDNUNG NAME=\"A\" MAX_CARDS=\"40\"/></STAPEL>"
              L"</SOLITAIRE>");
    std::wstring one, many;
    Solitaire::describe(pile(L"EINE"), one, true, true);
    Solitaire::describe(pile(L"VIELE"), many, true, true);
    EXPECT_TRUE(has(one, text(L"TABLEAU_STAPEL")));
    EXPECT_TRUE(has(one, msvc::format(text(L"KARTENSTAPELSIZE_EZ"), 1)));
    EXPECT_TRUE(has(one, msvc::format(text(L"KARTENSTAPELRESTSIZE_EZ"), 1)));
    EXPECT_TRUE(has(one, text(L"AKZEPTIERT")));
    EXPECT_TRUE(has(many, msvc::format(text(L"KARTENSTAPELSIZE"), 12)));
    // Room for 28 more is not worth a line.
    EXPECT_FALSE(has(many, msvc::format(text(L"KARTENSTAPELRESTSIZE"), 28)));

    std::vector<Solitaire::Karte*> held;
    pile(L"VIELE").getCards(held, true, true);
    std::wstring top, hidden;
    Solitaire::describe(*held.back(), top, false, true, true);
    Solitaire::describe(*held.front(), hidden, false, true, true);
    EXPECT_TRUE(has(top, text(L"VERSCHIEBBAR")) || has(top, text(L"NICHT_VERSCHIEBBAR")));
    EXPECT_TRUE(hidden.empty());
    EXPECT_FALSE(held.back()->isDescriptionDirty());
}

// A stock linked to its waste: after a deal each pile tells its own count (the stock's tooltip
// once kept the count of both together, as before the deal).
TEST_F(DescribeTest, AStockCountsItsOwnCardsAfterADeal) {
    startText(L"<SOLITAIRE NAME=\"T\" KARTEN_FARBE=\"HERZ\" ANZAHL_KARTEN=\"13\" AUTO_CHECK_END=\"0\">"
              L"<STAPEL NAME=\"VORRAT\" STAPELTYP=\"VORRAT\" INIT_KARTEN_VERDECKT=\"13\" "
              L"CLICK_ON_VERDECKT=\"MOVE_VERKN_STAPEL AUFDECKEN\"><ANORDNUNG NAME=\"A\"/>"
              L"<VERKNÜPFT>\"|MUELL|\"</VERKNÜPFT></STAPEL>"
              L"<STAPEL NAME=\"MUELL\" STAPELTYP=\"MUELL\"><ANORDNUNG NAME=\"A\"/></STAPEL>"
              L"</SOLITAIRE>");
    std::vector<Solitaire::Karte*> held;
    pile(L"VORRAT").getCards(held, true, true);
    ASSERT_EQ(held.size(), 13u);
    ASSERT_TRUE(pile(L"VORRAT").onClickHidden(held.back()));
    std::wstring stock, waste;
    Solitaire::describe(pile(L"VORRAT"), stock, false, false);
    Solitaire::describe(pile(L"MUELL"), waste, false, false);
    EXPECT_TRUE(has(stock, msvc::format(text(L"KARTENSTAPELSIZE"), 12))) << port::toUtf8(stock);
    EXPECT_FALSE(has(stock, msvc::format(text(L"KARTENSTAPELSIZE"), 13))) << port::toUtf8(stock);
    EXPECT_TRUE(has(waste, msvc::format(text(L"KARTENSTAPELSIZE_EZ"), 1))) << port::toUtf8(waste);
}

}  // namespace
