// Reading arrangements: centre modes, steps with their rotation keys, weights (equal ones when
// every step is zero), wishes replacing each other by place and the game's wish filters, bounded
// and finite values, "NEXT" linking, template copies, and the extra-card wish.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/XMLNode.h"
#include "engine/render/Spline.h"
#include "game/cards/Anordnung.h"

namespace {

using Solitaire::Anordnung;
using Solitaire::AnordnungReadOptions;

std::unique_ptr<Anordnung> read(std::wstring const& text, AnordnungReadOptions const& options = {}) {
    Orvex::XMLNode node;
    EXPECT_TRUE(node.loadFromText(text));
    return std::make_unique<Anordnung>(node, nullptr, nullptr, options);
}

TEST(ArrangementRead, CenterModes) {
    struct Case {
        wchar_t const* words;
        int x, y;
    };
    Case const cases[] = {{L"MEDIAN", 1, 2}, {L"MIN MIN", 0, 0}, {L"UNKNOWN", 3, 2}, {L"MAX UNKNOWN", 2, 2},
                          {L"MIN MEDIAN VERH", 0, 1}, {L"", 3, 2}};
    for (Case const& c : cases) {
        auto a = read(std::wstring(L"<ANORDNUNG CENTER_MODE=\"") + c.words + L"\"/>");
        EXPECT_EQ(a->centerMode[0], c.x) << c.words;
        EXPECT_EQ(a->centerMode[1], c.y) << c.words;
    }
}

TEST(ArrangementRead, StepsPositionAndRatios) {
    struct Case {
        wchar_t const* keys;
        Anordnung::Offset visible;
        float positionX, positionY, rotation, ratioX, ratioY;
    };
    Case const cases[] = {
        {L"", {0.0f, 0.1f, 0.0f}, 0, 0, 0, 0.5f, 0.5f},
        {L"DELTA_VISIBLE=\"0.3\"", {0.3f, 0.3f, 0.0f}, 0, 0, 0, 0.5f, 0.5f},
        {L"DELTA_VISIBLE=\"1 2 3\" DELTA_ROTATION_VISIBLE=\"5\"", {1, 2, 5}, 0, 0, 0, 0.5f, 0.5f},
        {L"DELTA_VISIBLE=\"1 2 3 4\"", {1, 2, 3}, 0, 0, 0, 0.5f, 0.5f},
        {L"POSITION=\"2\" CENTER_MODE_VERH=\"0.25\"", {0.0f, 0.1f, 0.0f}, 2, 2, 0, 0.25f, 0.25f},
        {L"POSITION=\"2 3 45\" ROTATION=\"10\" CENTER_MODE_VERH=\"0 1\"", {0.0f, 0.1f, 0.0f}, 2, 3, 10, 0, 1},
        // Numbers that are not finite are refused; the defaults stay.
        {L"POSITION=\"nan 3\" DELTA_VISIBLE=\"inf\" CENTER_MODE_VERH=\"1e999\"", {0.0f, 0.1f, 0.0f}, 0, 0, 0, 0.5f,
         0.5f},
    };
    for (Case const& c : cases) {
        auto a = read(std::wstring(L"<ANORDNUNG ") + c.keys + L"/>");
        EXPECT_FLOAT_EQ(a->deltaVisible.x, c.visible.x) << c.keys;
        EXPECT_FLOAT_EQ(a->deltaVisible.y, c.visible.y) << c.keys;
        EXPECT_FLOAT_EQ(a->deltaVisible.rotation, c.visible.rotation) << c.keys;
        EXPECT_EQ(a->position.x, c.positionX) << c.keys;
        EXPECT_EQ(a->position.y, c.positionY) << c.keys;
        EXPECT_EQ(a->rotation, c.rotation) << c.keys;
        EXPECT_EQ(a->centerRatio[0], c.ratioX) << c.keys;
        EXPECT_EQ(a->centerRatio[1], c.ratioY) << c.keys;
    }
}

TEST(ArrangementRead, BoundedCountsAndPowers) {
    struct Case {
        wchar_t const* keys;
        int maxCards;
        float splinePow;
    };
    Case const cases[] = {
        {L"", 1024, 1.0f},
        {L"MAX_CARDS=\"-1\" SPLINE_POW=\"2\"", -1, 2.0f},
        {L"MAX_CARDS=\"7\"", 7, 1.0f},
        {L"MAX_CARDS=\"5000000\"", 1024, 1.0f},
        {L"MAX_CARDS=\"-7\" SPLINE_POW=\"0\"", 1024, 1.0f},
        {L"SPLINE_POW=\"-2\"", 1024, 1.0f},
    };
    for (Case const& c : cases) {
        auto a = read(std::wstring(L"<ANORDNUNG ") + c.keys + L"/>");
        EXPECT_EQ(a->maxCards, c.maxCards) << c.keys;
        EXPECT_EQ(a->splinePow, c.splinePow) << c.keys;
    }
}

TEST(ArrangementRead, WeightsFromStepLengths) {
    auto standard = read(L"<ANORDNUNG/>");
    EXPECT_FLOAT_EQ(standard->splineWeights[0], 0.25f);
    EXPECT_FLOAT_EQ(standard->splineWeights[1], 0.25f);
    EXPECT_FLOAT_EQ(standard->splineWeights[2], 0.5f);
    // All steps zero: 0/0 would give NaN weights; every kind counts the same instead.
    auto flat = read(L"<ANORDNUNG DELTA_VISIBLE=\"0\" DELTA_INVISIBLE=\"0\" DELTA_SELECT=\"0\"/>");
    for (float w : flat->splineWeights) EXPECT_FLOAT_EQ(w, 1.0f / 3.0f);
}

TEST(ArrangementRead, WishesByPlace) {
    struct Case {
        wchar_t const* wishes;
        AnordnungReadOptions options;
        std::vector<int> places;   // of the wishes kept, in order
        std::vector<int> colours;  // their colour rules
    };
    Case const cases[] = {
        {L"<WUNSCH FARBE=\"HERZ\" POSITION=\"2\"/><WUNSCH FARBE=\"PIK\" POSITION=\"2\"/>", {}, {2}, {2}},
        {L"<WUNSCH/><WUNSCH FARBE=\"ALLES\" WERT=\"ALLES\"/>", {}, {}, {}},
        {L"<WUNSCH WERT=\"ASS\"/><WUNSCH VISIBLE=\"1\"/>", {}, {0, 1}, {9, 9}},
        {L"<WUNSCH FARBE=\"EXTRA\"/>", {true, false, L""}, {}, {}},
        {L"<WUNSCH FARBE=\"EXTRA\"/>", {}, {0}, {4}},
        {L"<WUNSCH LOCK=\"0 1\"/><WUNSCH KEY=\"1\" FARBE=\"KARO\"/>", {false, true, L""}, {1}, {1}},
        // A place beyond the bound keeps the wish's index in the list.
        {L"<WUNSCH FARBE=\"KARO\"/><WUNSCH FARBE=\"PIK\" POSITION=\"99999\"/>", {}, {0, 1}, {1, 2}},
    };
    for (Case const& c : cases) {
        auto a = read(std::wstring(L"<ANORDNUNG><WUENSCHE>") + c.wishes + L"</WUENSCHE></ANORDNUNG>", c.options);
        std::vector<int> places, colours;
        for (auto const& wish : a->wishes) {
            places.push_back(wish.position);
            colours.push_back(wish.colourRule);
        }
        EXPECT_EQ(places, c.places) << c.wishes;
        EXPECT_EQ(colours, c.colours) << c.wishes;
    }
}

TEST(ArrangementRead, ExtraCardWish) {
    auto shifted = read(L"<ANORDNUNG MAX_CARDS=\"3\"><WUENSCHE><WUNSCH FARBE=\"HERZ\" POSITION=\"1\"/>"
                        L"<WUNSCH FARBE=\"PIK\" POSITION=\"2\"/></WUENSCHE></ANORDNUNG>");
    EXPECT_TRUE(shifted->addExtraCardWish());
    ASSERT_EQ(shifted->wishes.size(), 3u);
    EXPECT_EQ(shifted->wishes[0].position, 2);
    EXPECT_EQ(shifted->wishes[1].position, 3);
    EXPECT_EQ(shifted->wishes[2].position, 0);
    EXPECT_EQ(shifted->wishes[2].colourRule, 4);
    EXPECT_TRUE(shifted->wishes[2].visible);
    EXPECT_EQ(shifted->maxCards, 4);
    auto marked = read(L"<ANORDNUNG><WUENSCHE><WUNSCH WERT=\"DAME\"/></WUENSCHE></ANORDNUNG>");
    EXPECT_FALSE(marked->addExtraCardWish());
    ASSERT_EQ(marked->wishes.size(), 1u);
    EXPECT_EQ(marked->wishes[0].colourRule, 4);
}

TEST(ArrangementRead, NextLinksKnownNamesOnceAndCopiesKeepTheDefinition) {
    auto a = read(L"<ANORDNUNG NAME=\"A\"><NEXT>\"|C|\" \"|B|\" \"|MISSING|\" \"|B|\"</NEXT></ANORDNUNG>");
    auto b = read(L"<ANORDNUNG NAME=\"B\"/>");
    auto c = read(L"<ANORDNUNG NAME=\"C\" DELTA_SELECT=\"0 0.5\"><SPLINE><CONTROLPOINT/>"
                  L"<CONTROLPOINT POSITION=\"4 0\"/></SPLINE><WUENSCHE><WUNSCH FARBE=\"KARO\"/></WUENSCHE></ANORDNUNG>");
    std::vector<Anordnung*> const all{a.get(), b.get(), c.get()};
    a->linkSuccessors(all);
    a->linkSuccessors(all);
    EXPECT_EQ(a->nextArrangements, (std::vector<Anordnung*>{b.get(), c.get()})) << "sorted names, each once";
    EXPECT_EQ(b->previousArrangements, std::vector<Anordnung*>{a.get()});

    Anordnung copy(*c, nullptr, nullptr);
    EXPECT_EQ(copy.getName(), L"C");
    EXPECT_EQ(copy.deltaSelect.y, 0.5f);
    ASSERT_NE(copy.spline, nullptr);
    EXPECT_NE(copy.spline, c->spline);
    EXPECT_EQ(copy.spline->getLength(), 4.0f);
    EXPECT_EQ(copy.wishes.size(), 1u);
    EXPECT_TRUE(copy.cards.empty());
    // An override reads into the copy: a wish for the same place replaces the template's.
    Orvex::XMLNode override;
    override.loadFromText(L"<ANORDNUNG NAME=\"C\"><WUENSCHE><WUNSCH FARBE=\"PIK\"/></WUENSCHE></ANORDNUNG>");
    copy.loadDefinition(override, {});
    ASSERT_EQ(copy.wishes.size(), 1u);
    EXPECT_EQ(copy.wishes[0].colourRule, 2);
}

}  // namespace
