// Layouts: children docked by "LAYOUT_PARAM" against the free part of a window ("TOP",
// "BOTTOM", "LEFT", "RIGHT", "FILL"), the documented FILL quirk (nothing left for later children),
// children that do not take part, the offset variant a scroll panel uses, and "LAYOUTMANAGER"
// replacing an earlier manager.
#include "engine/gui/GUILayoutManager.h"
#include "engine/gui/GUIWindowOptions.h"
#include "tests/engine/gui/GUIFixture.h"

using Orvex::FRect;
using Orvex::GUIWindow;
using guitest::GUIFixture;

namespace {

// A child element: its LAYOUT_PARAM, its size (pixels, or a relative height with rel) and more
// options.
std::wstring child(std::wstring const& name, std::wstring const& param, std::wstring const& size,
                   std::wstring const& more = L"") {
    return L"<WINDOW NAME=\"" + name + L"\"><WINDOW_PARAMS><GUIRECT><POS_TL/><SIZE " + size +
           L"/></GUIRECT><OPTIONS LAYOUT_PARAM=\"" + param + L"\" " + more + L"/></WINDOW_PARAMS></WINDOW>";
}

class LayoutTest : public GUIFixture {
protected:
    // A 400 x 300 window at (0, 0) with the manager and the children.
    void make(std::wstring const& manager, std::wstring const& children) {
        root = guitest::makeWindow(L"<WINDOW NAME=\"w\"><WINDOW_PARAMS><GUIRECT><POS_TL/><SIZE X_OFF=\"400\" "
                                   L"Y_OFF=\"300\"/></GUIRECT><OPTIONS LAYOUTMANAGER=\"" +
                                   manager + L"\"/></WINDOW_PARAMS>" + children + L"</WINDOW>");
        ASSERT_NE(root, nullptr);
        root->updateRect(false, false);
    }
    void TearDown() override {
        if (root) root->release();
        GUIFixture::TearDown();
    }
    FRect at(std::wstring const& name) { return root->findChild(name)->getScreenRect(); }

    GUIWindow* root = nullptr;
};

}  // namespace

TEST_F(LayoutTest, ChildrenDockOneAfterAnother) {
    struct Case {
        char const* what;
        std::wstring children;
        std::vector<std::pair<std::wstring, FRect>> expected;
    };
    Case const cases[] = {
        {"two tops stack, the fill takes the rest",
         child(L"a", L"TOP", L"X_OFF=\"10\" Y_OFF=\"20\"") + child(L"b", L"TOP", L"X_OFF=\"10\" Y_OFF=\"30\"") +
             child(L"c", L"FILL", L"X_OFF=\"10\" Y_OFF=\"10\""),
         {{L"a", FRect(0, 0, 400, 20)}, {L"b", FRect(0, 20, 400, 50)}, {L"c", FRect(0, 50, 400, 300)}}},
        {"a relative bottom, the fill ends above it",
         child(L"a", L"BOTTOM", L"X_OFF=\"10\" Y_REL=\"0.1\"") + child(L"c", L"FILL", L"X_OFF=\"10\" Y_OFF=\"10\""),
         {{L"a", FRect(0, 270, 400, 300)}, {L"c", FRect(0, 0, 400, 270)}}},
        {"left and right keep their widths",
         child(L"l", L"LEFT", L"X_OFF=\"30\" Y_OFF=\"5\"") + child(L"r", L"RIGHT", L"X_OFF=\"40\" Y_OFF=\"5\"") +
             child(L"c", L"FILL", L"X_OFF=\"1\" Y_OFF=\"1\""),
         {{L"l", FRect(0, 0, 30, 300)}, {L"r", FRect(360, 0, 400, 300)}, {L"c", FRect(30, 0, 360, 300)}}},
        {"after a fill nothing is left (the documented quirk)",
         child(L"c", L"FILL", L"X_OFF=\"1\" Y_OFF=\"1\"") + child(L"t", L"TOP", L"X_OFF=\"50\" Y_OFF=\"20\""),
         {{L"c", FRect(0, 0, 400, 300)}, {L"t", FRect(0, 0, 0, 20)}}},
        {"children that do not take part keep their own place",
         child(L"klein", L"top", L"X_OFF=\"10\" Y_OFF=\"20\"") + child(L"leer", L"", L"X_OFF=\"11\" Y_OFF=\"21\"") +
             child(L"aus", L"TOP", L"X_OFF=\"12\" Y_OFF=\"22\"", L"USABLE_FOR_LAYOUTMANAGER=\"0\"") +
             child(L"c", L"FILL", L"X_OFF=\"1\" Y_OFF=\"1\""),
         {{L"klein", FRect(0, 0, 10, 20)},
          {L"leer", FRect(0, 0, 11, 21)},
          {L"aus", FRect(0, 0, 12, 22)},
          {L"c", FRect(0, 0, 400, 300)}}},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.what);
        make(L"DEFAULT", c.children);
        for (auto const& [name, rect] : c.expected) EXPECT_EQ(at(name), rect) << std::string(name.begin(), name.end());
        root->release();
        root = nullptr;
    }
}

// The offset variant shifts every docked child by its pair; a "RIGHT" child is placed by its own
// size set.
TEST_F(LayoutTest, TheOffsetVariantShiftsDockedChildren) {
    make(L"DEFAULT_USEOFFEST",
         child(L"t", L"TOP", L"X_OFF=\"10\" Y_OFF=\"20\"") + child(L"r", L"RIGHT", L"X_OFF=\"40\" Y_OFF=\"5\""));
    auto* layout = dynamic_cast<Orvex::GUILayoutFILL_WOffset*>(root->getOptions().getLayoutManager());
    ASSERT_NE(layout, nullptr);
    layout->offsetX = 5;
    layout->offsetY = -7;
    root->updateRect(false, false);
    EXPECT_EQ(at(L"t"), FRect(5, -7, 405, 13));
    EXPECT_EQ(at(L"r"), FRect(365, 13, 405, 293));
}

TEST_F(LayoutTest, AnOtherManagerNameRemovesTheManager) {
    make(L"DEFAULT", child(L"t", L"TOP", L"X_OFF=\"10\" Y_OFF=\"20\""));
    EXPECT_NE(root->getOptions().getLayoutManager(), nullptr);
    root->getOptions().createLayoutManager(L"default");
    EXPECT_EQ(root->getOptions().getLayoutManager(), nullptr);
    root->getOptions().createLayoutManager(L"DEFAULT_USEOFFEST");
    EXPECT_NE(dynamic_cast<Orvex::GUILayoutFILL_WOffset*>(root->getOptions().getLayoutManager()), nullptr);
}
