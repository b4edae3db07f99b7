// The card back kept (saved as "CARDS_BACK") is the back shown: a wished or saved index past the
// current card set's backs is its last one (six at most, as many as the options offer), and a card
// set with fewer backs made current takes the back onto its last one; a saved value that is no
// number keeps the back chosen before.
#include <climits>
#include <string>

#include "engine/core/XMLNode.h"
#include "game/look/Kartenset.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/game/look/StyleFiles.h"

namespace Solitaire {
namespace {

class CardBackTest : public styletest::StyleFilesTest {
protected:
    // A card set holding `backs` backs ("BACK_1" on), filed and made current.
    static Kartenset* currentSetWithBacks(int backs) {
        std::wstring text = L"<K NAME=\"HOLDS_" + std::to_wstring(backs) + L"\">";
        for (int i = 1; i <= backs; ++i)
            text += L"<TEXTUR2D NAME=\"BACK_" + std::to_wstring(i) +
                    L"\"><FILE FILENAME=\"data\\Cards\\BACK_1.png\"/></TEXTUR2D>";
        Orvex::XMLNode node = styletest::tree(text + L"</K>");
        auto* set = new Kartenset(node);
        settings().addKartenset(set);
        settings().setCurrentCardSet(set);
        set->release();
        return set;
    }
};

// An arrow wishes the back beside the current one (-1 before the first, `held` after the last); a
// start reads what config.cfg saved, any number its text holds (one past the int range counts as
// the int's end); `then` is a card set made current afterwards (0: none). A saved value the game
// never writes, outside the six backs offered, is named in one log line.
TEST_F(CardBackTest, ABackPastTheSetsBacksIsItsLastAndIsWhatIsKept) {
    struct Case {
        int held;
        bool saved;
        long long value;
        int then, expected;
        bool logged;
    };
    Case const cases[] = {
        {6, false, -1, 0, 0, false},  {6, false, 2, 0, 2, false}, {6, false, 6, 0, 5, false},
        {2, false, 2, 0, 1, false},   {20, false, 6, 0, 5, false}, {1, false, 1, 0, 0, false},
        {6, true, 9, 0, 5, true},     {6, true, 4, 0, 4, false},  {2, true, 3, 0, 1, false},
        {20, true, 19, 0, 5, true},   {6, false, 4, 2, 1, false}, {6, false, 5, 1, 0, false},
        {6, false, 1, 2, 1, false},   {2, false, 1, 6, 1, false},
        // Past the 20 slots of a card set: the last back as well, never the first.
        {6, false, 20, 0, 5, false},  {6, false, 25, 0, 5, false}, {6, false, INT_MAX, 0, 5, false},
        {6, true, 5, 0, 5, false},    {6, true, 6, 0, 5, true},    {6, true, 19, 0, 5, true},
        {6, true, 20, 0, 5, true},    {6, true, 25, 0, 5, true},   {6, true, 100000000000, 0, 5, true},
        {6, true, INT_MAX, 0, 5, true}, {6, true, 2147483648LL, 0, 5, true}, {20, true, 20, 0, 5, true},
        {2, true, 25, 0, 1, true},    {1, true, 20, 0, 0, true},   {6, true, 25, 2, 1, true},
        {6, true, -1, 0, 0, true},    {6, true, -100000000000, 0, 0, true}, {6, true, 0, 0, 0, false},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.held << " backs, " << (c.saved ? "saved " : "wished ") << c.value
                                          << ", then " << c.then);
        reset();
        Kartenset* set = currentSetWithBacks(c.held);
        Orvex::XMLNode config = styletest::tree(L"<SOLITAIRE CARDS_BACK=\"" + std::to_wstring(c.value) + L"\"/>");
        logtest::LogWatch watch;
        if (c.saved) {
            settings().load(config, L"config.cfg");
        } else {
            ASSERT_EQ(static_cast<int>(c.value), c.value) << "a wish is an int";
            settings().setCardsBack(static_cast<int>(c.value));
        }
        auto const errors = watch.errors();
        EXPECT_EQ(errors.size(), c.logged ? 1u : 0u);
        if (c.logged && !errors.empty())
            EXPECT_TRUE(logtest::contains(errors[0], L"config.cfg") && logtest::contains(errors[0], L"CARDS_BACK"));
        if (c.then) set = currentSetWithBacks(c.then);
        EXPECT_EQ(settings().getCardsBack(), c.expected);
        EXPECT_NE(set->getBack(settings().getCardsBack()), nullptr) << "an empty preview";
        EXPECT_EQ(set->getBack(settings().getCardsBack()), set->getInGroup(Kartenset::kBacks, c.expected));
        Orvex::XMLNode saved(L"SOLITAIRE");
        settings().save(saved);
        EXPECT_EQ(saved.getAttributeInt(L"CARDS_BACK", -1), c.expected);
    }
}

// A saved "CARDS_BACK" that is no whole number (letters, nothing, a number with more after it)
// keeps the back chosen before, with one line naming the file and quoting the value (at most its
// first 48 characters); before, it read as the number its text began with, or as the first back.
TEST_F(CardBackTest, ASavedBackThatIsNoNumberKeepsTheBackChosenWithALine) {
    struct Case {
        std::wstring text;
        wchar_t const* quoted;
    };
    Case const cases[] = {
        {L"abc", L"\"abc\""},
        {L"", L"\"\""},
        {L"3x", L"\"3x\""},
        {L"2.5", L"\"2.5\""},
        {L"0x3", L"\"0x3\""},
        {L"- 3", L"\"- 3\""},
        {L"1" + std::wstring(99, L'x'), L"...\" (100 characters)"},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(std::string(c.text.begin(), c.text.end()));
        reset();
        currentSetWithBacks(6);
        settings().setCardsBack(4);
        Orvex::XMLNode config = styletest::tree(L"<SOLITAIRE CARDS_BACK=\"" + c.text + L"\"/>");
        logtest::LogWatch watch;
        settings().load(config, L"config.cfg");
        auto const errors = watch.errors();
        EXPECT_EQ(errors.size(), 1u);
        EXPECT_EQ(settings().getCardsBack(), 4);
        if (errors.empty()) continue;
        EXPECT_TRUE(logtest::contains(errors[0], L"config.cfg") && logtest::contains(errors[0], L"CARDS_BACK") &&
                    logtest::contains(errors[0], c.quoted))
            << std::string(errors[0].begin(), errors[0].end());
        EXPECT_FALSE(logtest::contains(errors[0], std::wstring(49, L'x')));
    }
}

}  // namespace
}  // namespace Solitaire
