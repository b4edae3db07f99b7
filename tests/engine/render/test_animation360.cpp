// Angle frame animations: choosing the set by angle (wrapping, ties, no wrap of the distance),
// sets from "ANGLE" sheets in whole pixels, sets from numbered files with a name pattern from
// data (formatted safely), clones, and the guards on angles and counts.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>

#include "engine/render/Texture2DAnimation360.h"
#include "port/win32/win32_paths.h"
#include "tests/engine/render/AnimationSupport.h"
#include "tests/support/TestSupport.h"

using Orvex::Texture2DAnimation360;
using namespace rendertest;

namespace {

Held<Texture2DAnimation360> make360(std::wstring const& text) {
    Orvex::XMLNode node = parse(text);
    return Held<Texture2DAnimation360>(new Texture2DAnimation360(node));
}

std::wstring angles(std::vector<int> const& list, std::wstring const& attributes = L"") {
    std::wstring text = L"<ANIMATION_2D TYPE=\"360\" " + attributes + L">";
    for (int a : list) text += L"<ANGLE ANGLE=\"" + std::to_wstring(a) + L"\"/>";
    return text + L"</ANIMATION_2D>";
}

float chosen(Texture2DAnimation360 const& animation) {
    return animation.getCurrentSet() ? animation.getCurrentSet()->angle : -1.0f;
}

}  // namespace

TEST(Animation360, NearestSetWithoutWrappingAndFirstOnTies) {
    auto a = make360(angles({0, 90, 180, 270, 330}));
    EXPECT_EQ(a->getCurrentSet(), nullptr);  // no "ANGLE" attribute: nothing chosen yet
    a->setAngle(-30.0f);
    EXPECT_EQ(a->getAngle(), 330.0f);
    EXPECT_EQ(chosen(*a), 330.0f);
    a->setAngle(725.0f);
    EXPECT_EQ(a->getAngle(), 5.0f);
    EXPECT_EQ(chosen(*a), 0.0f);

    auto b = make360(angles({0, 300}));
    b->setAngle(355.0f);
    EXPECT_EQ(chosen(*b), 300.0f);  // 355 is 5 from 360 but 355 from 0

    auto ties = make360(angles({10, 30, 30}));
    ties->setAngle(20.0f);
    EXPECT_EQ(ties->getCurrentSet(), ties->getAngleSets()[0].get());
    ties->setAngle(31.0f);
    EXPECT_EQ(ties->getCurrentSet(), ties->getAngleSets()[1].get());
}

TEST(Animation360, AnglesThatAreNotNumbersAreRefused) {
    auto a = make360(angles({0, 90}, L"ANGLE=\"90\""));
    EXPECT_EQ(chosen(*a), 90.0f);
    a->setAngle(std::numeric_limits<float>::quiet_NaN());
    a->setAngle(-std::numeric_limits<float>::infinity());
    EXPECT_EQ(a->getAngle(), 90.0f);
    EXPECT_EQ(chosen(*a), 90.0f);
    // Adding 360 until non-negative would never finish for this one.
    a->setAngle(-1.0e30f);
    EXPECT_GE(a->getAngle(), 0.0f);
    EXPECT_LT(a->getAngle(), 360.0f);
}

TEST(Animation360, ClonesShowTheSameSet) {
    auto a = make360(angles({45, 200}, L"ANGLE=\"190\""));
    Held<Texture2DAnimation360> c(a->clone());
    EXPECT_EQ(chosen(*c), 200.0f);
    // The sets are shared, and so is the shown set's table; the angle is each copy's own.
    EXPECT_EQ(c->getCurrentSet(), a->getCurrentSet());
    EXPECT_EQ(&c->getFrames(), &a->getFrames());
    c->setAngle(40.0f);
    EXPECT_EQ(chosen(*c), 45.0f);
    EXPECT_EQ(chosen(*a), 200.0f);
    auto unset = make360(angles({45, 200}));
    Held<Texture2DAnimation360> d(unset->clone());
    EXPECT_EQ(chosen(*d), 45.0f);
}

TEST(Animation360, FileNamePatternsAreFormattedSafely) {
    EXPECT_EQ(Texture2DAnimation360::formatFileName(L"data\\obj_%d_%03d.png", 350, 9), L"data\\obj_350_009.png");
    // Conversions without a matching number print nothing and read nothing beyond the two.
    EXPECT_EQ(Texture2DAnimation360::formatFileName(L"%s_%n_%d_%x.png", 10, 2), L"___.png");
    EXPECT_EQ(Texture2DAnimation360::formatFileName(L"%ls%S%p", 1, 2), L"");
    std::wstring const longName = Texture2DAnimation360::formatFileName(L"%02000d%02000d", 1, 2);
    EXPECT_EQ(longName.size(), Texture2DAnimation360::kMaxFileNameLength);
    EXPECT_EQ(Texture2DAnimation360::formatFileName(L"100%%", 1, 2), L"100%");
}

TEST(Animation360, LoadParamsDefaultsAndCountGuards) {
    auto a = make360(L"<ANIMATION_2D TYPE=\"360\"><LOAD_PARAMS FILE=\"nowhere_%d_%d.png\" ANZ_FRAMES=\"0\"/>"
                     L"</ANIMATION_2D>");
    ASSERT_EQ(a->getAngleSets().size(), 36u);
    for (std::size_t i = 0; i < 36; ++i) EXPECT_EQ(a->getAngleSets()[i]->angle, 10.0f * static_cast<float>(i));
    auto huge = make360(L"<ANIMATION_2D TYPE=\"360\"><LOAD_PARAMS FILE=\"%s\" ANZ_ANGLES=\"100000000\" "
                        L"ANZ_FRAMES=\"0\" INC_ANGLE=\"nan\"/></ANIMATION_2D>");
    EXPECT_EQ(huge->getAngleSets().size(), static_cast<std::size_t>(Texture2DAnimation360::kMaxAngles));
}

// The product of the two counts is what loads: 3600 angles of 1000 files would be 3.6 million
// textures from a definition of a hundred bytes.
TEST(Animation360, TooManyFilesInAllAreRefused) {
    EXPECT_TRUE(make360(L"<ANIMATION_2D TYPE=\"360\"><LOAD_PARAMS FILE=\"x\" ANZ_ANGLES=\"3600\" ANZ_FRAMES=\"1000\"/>"
                        L"</ANIMATION_2D>")->getAngleSets().empty());
}

class Animation360Test : public AnimationFixture {};

// Long order lists in many sets: all sets together stop at the frame bound, and so do clones.
TEST_F(Animation360Test, AllSetsTogetherHoldAtMostTheFrameBound) {
    addTexture(L"t", 4, 4);
    std::wstring text = L"<ANIMATION_2D TYPE=\"360\">";
    for (int i = 0; i < 5; ++i)
        text += L"<ANGLE ANGLE=\"" + std::to_wstring(i) + L"\"><FRAMES TEXTUR=\"t\"><FRAME_PARAMS ANZ_FRAMES=\"1\">"
                L"<ORDER>\"|5000 x 0|\"</ORDER></FRAME_PARAMS></FRAMES></ANGLE>";
    auto a = make360(text + L"</ANIMATION_2D>");
    auto sizes = [](Texture2DAnimation360 const& animation) {
        std::vector<std::size_t> out;
        for (auto const& set : animation.getAngleSets()) out.push_back(set->frames.size());
        return out;
    };
    std::size_t const rest = Orvex::Texture2DAnimation::kMaxFrames - 15000;
    EXPECT_EQ(sizes(*a), (std::vector<std::size_t>{5000, 5000, 5000, rest, 0}));
    Held<Texture2DAnimation360> clone(a->clone());
    EXPECT_EQ(sizes(*clone), sizes(*a));
}

TEST_F(Animation360Test, SetsFromNumberedFiles) {
    std::filesystem::path folder = testsupport::makeTempDir("angles");
    std::filesystem::path sheet = testsupport::sourceDir() / "tests/engine/render/data/animations/walker_sheet.png";
    // Ten files per angle by default: only the first of angle 0 and the last of angle 350 exist.
    std::filesystem::copy_file(sheet, folder / "obj_0_0.png");
    std::filesystem::copy_file(sheet, folder / "obj_350_9.png");
    std::wstring const pattern = port::windowsPath((folder / "obj_").string()) + L"%d_%d.png";
    auto a = make360(L"<ANIMATION_2D TYPE=\"360\" ANGLE=\"340\" DESIRED_SIZE=\"20 10\">"
                     L"<LOAD_PARAMS FILE=\"" + pattern + L"\" AUTO_SUSPEND=\"0\" CAN_SUSPEND=\"0\">"
                     L"<FRAME_PARAMS ANZ_FRAMES=\"3\" SPALTEN=\"2\" RECT_START=\"0 0 16 16\" REVERSE=\"1\"/>"
                     L"</LOAD_PARAMS></ANIMATION_2D>");
    ASSERT_EQ(a->getAngleSets().size(), 36u);
    EXPECT_EQ(a->getAngleSets()[0]->frames.size(), 3u);
    EXPECT_EQ(a->getAngleSets()[1]->frames.size(), 0u);
    EXPECT_EQ(a->getAngleSets()[35]->frames.size(), 3u);
    EXPECT_EQ(chosen(*a), 340.0f);
    EXPECT_EQ(a->getFrameCount(), 0u);  // the set at 340 has no file
    a->setAngle(349.0f);
    ASSERT_EQ(a->getFrameCount(), 3u);
    // Cells step by the start cell: k = 2, 1, 0 at columns 0, 1, 0 and rows 1, 0, 0.
    EXPECT_EQ(a->getFrames()[0].rect.top, 16);
    EXPECT_EQ(a->getFrames()[1].rect.left, 16);
    Orvex::Texture2D* texture = a->getFrames()[0].texture;
    ASSERT_NE(texture, nullptr);
    EXPECT_FALSE(texture->isAutoSuspend());
    EXPECT_FALSE(texture->canSuspend());
    EXPECT_EQ(a->getFrameSize(), D3DXVECTOR2(20.0f, 10.0f));
    // The frames hold the only references: three frames of the set, two each (the animation
    // shows the set's own table, not a copy of it).
    EXPECT_EQ(texture->getRefCount(), 6);
}

TEST_F(Animation360Test, SetsFromAngleSheetsInWholePixels) {
    addTexture(L"turn", 30, 20);
    auto a = make360(L"<ANIMATION_2D TYPE=\"360\" ANGLE=\"100\">"
                     L"<ANGLE ANGLE=\"0\"><FRAMES TEXTUR=\"turn\"/></ANGLE>"
                     L"<ANGLE ANGLE=\"90\"><FRAMES TEXTUR=\"turn\"><FRAME_PARAMS ANZ_FRAMES=\"3\" SPALTEN=\"0\">"
                     L"<ORDER>\"|2 - 0|\"</ORDER></FRAME_PARAMS></FRAMES>"
                     L"<FRAMES TEXTUR=\"turn\"><FRAME_PARAMS ANZ_FRAMES=\"2\" SPALTEN=\"2\" RECT_START=\"4 2\"/></FRAMES>"
                     L"<ORDER>\"|0|\" \"|3 - 4|\"</ORDER></ANGLE>"
                     L"</ANIMATION_2D>");
    ASSERT_EQ(a->getAngleSets().size(), 2u);
    EXPECT_EQ(a->getAngleSets()[0]->frames.size(), 1u);
    EXPECT_EQ(chosen(*a), 90.0f);
    ASSERT_EQ(a->getFrameCount(), 3u);
    // Three rows of 20 / 3 = 6 whole pixels (no rounding), in the sheet's order 2, 1, 0; then the
    // set's order takes the first and the two cells of the second sheet.
    EXPECT_TRUE(rectIs(a->getFrames()[0].rect, 0, 12, 30, 18));
    // "RECT_START" 4 2 keeps the image's right and bottom: cells 26 x 18 stepping right.
    EXPECT_TRUE(rectIs(a->getFrames()[1].rect, 4, 2, 30, 20));
    EXPECT_EQ(a->getFrames()[2].rect.left, 30);
}
