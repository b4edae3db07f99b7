// Copies of frame animations share what the definition made (frames, events, the formula) and
// keep their own play state; a copy that changes its frames copies them first; "RELOAD_ON_CLONE"
// copies build their own frames or formula only when the definition makes them at random, the
// engine's generator running on as before, and copies with tables of their own stay within
// their bound.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "engine/core/PerfTimer.h"
#include "engine/core/Random.h"
#include "engine/render/AnimationFormula.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/engine/render/AnimationSupport.h"

using Orvex::Texture2DAnimation;
using namespace rendertest;

TEST(AnimationSharing, CopiesShareWhatTheDefinitionMade) {
    struct Case {
        wchar_t const* name;
        std::wstring definition;
        bool ownFrames;
        bool ownTerm;
    };
    std::wstring const event = L"<PASSING_FRAME_EVENT NAME=\"tick\" FRAME_NR=\"1\"/>";
    std::wstring const shuffle = L"<ORDER RANDOM_SHUFFLE=\"1\">\"|0 - 5|\"</ORDER>";
    Case const cases[] = {
        {L"plain", frames(6, L"ANIMSPEED=\"2\" ANIMSPEED_TERM=\"rand[ 1 , 5 ]\"", event), false, false},
        {L"plain, frames shuffled once", frames(6, L"ANIMSPEED=\"2\"", event + shuffle), false, false},
        {L"reloaded, nothing random in frames or formula",
         frames(6, L"RELOAD_ON_CLONE=\"1\" ANIMSPEED=\"1 1000\" REVERSE=\"1\" START_FRAME=\"0 5\" "
                   L"ANIMSPEED_TERM=\"1 + 0 * sin[ TIME ]\"",
                event),
         false, false},
        {L"reloaded, random formula", frames(6, L"RELOAD_ON_CLONE=\"1\" ANIMSPEED_TERM=\"rand[ 1 , 5 ]\"", event), false,
         true},
        {L"reloaded, shuffled frames", frames(6, L"RELOAD_ON_CLONE=\"1\"", event + shuffle), true, false},
        {L"reloaded, random repeat",
         frames(6, L"RELOAD_ON_CLONE=\"1\"", event + L"<ORDER>\"|rand 1 3 x 0 - 5|\"</ORDER>"), true, false},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(testing::Message() << std::string(c.name, c.name + wcslen(c.name)));
        auto a = make(c.definition);
        Held<Texture2DAnimation> copy(a->clone());
        EXPECT_EQ(&copy->getFrames() != &a->getFrames(), c.ownFrames);
        EXPECT_EQ(copy->getSpeedTerm() != a->getSpeedTerm(), c.ownTerm);
        EXPECT_EQ(&copy->getEvents(), &a->getEvents());
        if (!c.ownFrames) EXPECT_EQ(frameIds(*copy), frameIds(*a));
        EXPECT_EQ(copy->isReversed(), a->isReversed());

        // The play state is each copy's own, and so are the signals.
        Counter ticks;
        copy->framePassed.connect(&ticks, &Counter::onEvent);
        float const before = a->getPosition();
        copy->setSpeed(1.0f);
        copy->setPosition(1.0f);
        copy->play();
        copy->update(1.0);
        EXPECT_EQ(a->getPosition(), before);
        EXPECT_FALSE(a->isPlaying());
        EXPECT_EQ(ticks.names, (std::vector<std::wstring>{L"tick"}));
    }
}

TEST(AnimationSharing, ACopyThatChangesItsFramesCopiesThemFirst) {
    auto a = make(frames(3, L""));
    Held<Texture2DAnimation> copy(a->clone());
    copy->setReversed(true);
    EXPECT_EQ(frameIds(*copy), (std::vector<int>{2, 1, 0}));
    EXPECT_EQ(frameIds(*a), (std::vector<int>{0, 1, 2}));
    EXPECT_FALSE(a->isReversed());
}

// A copy that reads its definition again without building a formula draws the numbers a compile
// would: the engine's generator gives the same values after it as before.
TEST(AnimationSharing, SharedFormulaKeepsTheGeneratorsSequence) {
    std::wstring const term = L"1 + 2 * sin[ TIME ]";
    std::wstring const definition = frames(2, L"RELOAD_ON_CLONE=\"1\" START_FRAME=\"0 2\" ANIMSPEED_TERM=\"" + term + L"\"");
    Orvex::seedRandom(5);
    auto a = make(definition);
    Held<Texture2DAnimation> copy(a->clone());
    double const after = Orvex::randomDouble(0.0, 1.0);

    Orvex::seedRandom(5);
    auto b = make(definition);
    Orvex::compileAnimationTerm(term);  // what the copy's reading compiled before
    float const position = Orvex::randomFloat(0.0f, 2.0f);
    EXPECT_EQ(copy->getPosition(), position);
    EXPECT_EQ(Orvex::randomDouble(0.0, 1.0), after);
    EXPECT_EQ(copy->getSpeedTerm(), a->getSpeedTerm());
}

// A frame's updates compute a formula once for all the copies that share it (a copy of a copy
// too, and "RELOAD_ON_CLONE" copies of a formula without "rand["); copies that roll their own
// "rand[" values compute each their own, and differ.
TEST(AnimationSharing, AFormulaIsComputedOncePerFrameForTheCopiesSharingIt) {
    struct Case {
        char const* name;
        std::wstring attributes;
        std::size_t perFrame;  // with the source and 100 copies
        bool ownValues;
    };
    std::wstring const formula = L"ANIMSPEED_TERM=\"( TIME + D_TIME ) * 3 + rand[ 1 , 5 ]\" ";
    Case const cases[] = {
        {"copies", formula, 1, false},
        {"reloaded copies, no rand[", L"RELOAD_ON_CLONE=\"1\" ANIMSPEED_TERM=\"( TIME + D_TIME ) * 3\" ", 1, false},
        {"reloaded copies, rand[", L"RELOAD_ON_CLONE=\"1\" " + formula, 101, true},
    };
    Orvex::PerfTimer& timer = Orvex::PerfTimer::frameTimer();
    for (Case const& c : cases) {
        SCOPED_TRACE(c.name);
        auto a = make(frames(2, c.attributes + L"PLAY=\"1\" ANIMSPEED=\"1\""));
        std::vector<Held<Texture2DAnimation>> copies;
        for (int i = 0; i < 100; ++i) copies.emplace_back(i % 2 ? copies.back()->clone() : a->clone());
        for (int frame = 0; frame < 3; ++frame) {
            timer.advance(1.0 / 60.0);
            std::size_t const before = Orvex::AnimationFormula::evaluations();
            a->update(0.001);
            for (auto& copy : copies) copy->update(0.001);
            EXPECT_EQ(Orvex::AnimationFormula::evaluations() - before, c.perFrame);
        }
        bool differ = false;
        for (auto& copy : copies) differ = differ || copy->getPosition() != a->getPosition();
        EXPECT_EQ(differ, c.ownValues);
    }
}

// Copies that roll frames of their own hold at most the bound together; the next shares its
// source's frames, with one line; released copies give their room back.
TEST(AnimationSharing, RolledCopiesStayWithinTheirBound) {
    constexpr std::size_t kFrames = 16384;
    static_assert(Texture2DAnimation::kMaxRolledEntries % kFrames == 0);
    std::size_t const fitting = Texture2DAnimation::kMaxRolledEntries / kFrames;
    auto a = make(frames(1, L"NAME=\"rolled\" RELOAD_ON_CLONE=\"1\"",
                         L"<ORDER RANDOM_SHUFFLE=\"1\">\"|16384 x 0|\"</ORDER>"));
    ASSERT_EQ(a->getFrameCount(), kFrames);
    std::size_t const before = Texture2DAnimation::rolledEntries();
    ASSERT_EQ(before, 0u);
    logtest::LogWatch const watch;
    std::vector<Held<Texture2DAnimation>> copies;
    for (std::size_t i = 0; i < fitting + 2; ++i) copies.emplace_back(a->clone());
    EXPECT_EQ(Texture2DAnimation::rolledEntries(), fitting * kFrames);
    for (std::size_t i = 0; i < copies.size(); ++i) {
        EXPECT_EQ(&copies[i]->getFrames() == &a->getFrames(), i >= fitting) << i;
        EXPECT_EQ(copies[i]->getFrameCount(), kFrames);
    }
    auto const lines = watch.lines();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](std::wstring const& line) { return logtest::contains(line, L"\"rolled\""); }),
              1);
    copies.clear();
    EXPECT_EQ(Texture2DAnimation::rolledEntries(), 0u);
    Held<Texture2DAnimation> again(a->clone());
    EXPECT_NE(&again->getFrames(), &a->getFrames());
}

// Copies of copies past the bound (a GUI file of templates built on templates makes them): one
// line for the animation, not one per copy that served as a source.
TEST(AnimationSharing, CopiesOfCopiesPastTheBoundAreOneLine) {
    constexpr std::size_t kFrames = 16384;
    std::size_t const fitting = Texture2DAnimation::kMaxRolledEntries / kFrames;
    auto a = make(frames(1, L"NAME=\"chained\" RELOAD_ON_CLONE=\"1\"",
                         L"<ORDER RANDOM_SHUFFLE=\"1\">\"|16384 x 0|\"</ORDER>"));
    ASSERT_EQ(Texture2DAnimation::rolledEntries(), 0u);
    logtest::LogWatch const watch;
    std::vector<Held<Texture2DAnimation>> copies;
    copies.emplace_back(a->clone());
    for (std::size_t i = 0; i < fitting + 50; ++i) copies.emplace_back(copies.back()->clone());
    EXPECT_EQ(Texture2DAnimation::rolledEntries(), fitting * kFrames);
    EXPECT_EQ(&copies.back()->getFrames(), &copies[fitting]->getFrames());
    auto const lines = watch.lines();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](std::wstring const& line) { return logtest::contains(line, L"\"chained\""); }),
              1);
}

// A copy rolls from what the definition's reading kept for it: what it makes is what reading
// the definition again at that point of the engine's generator makes (speed, formula values,
// frame order, start frame), and the generator runs on the same.
TEST(AnimationSharing, ACopyRollsAsReadingTheDefinitionAgain) {
    struct Case {
        char const* name;
        std::wstring definition;
    };
    std::wstring const randomOrder = L"<ORDER>\"|rand 1 3 x 0 - 5|\" \"|2|\"</ORDER>";
    std::wstring const keys = L"RELOAD_ON_CLONE=\"1\" ANIMSPEED=\"1 1000\" START_FRAME=\"0 5\" PLAY_TYPE=\"ONCE\" ";
    Case const cases[] = {
        {"random order, formula and keys",
         frames(6, keys + L"ANIMSPEED_TERM=\"( rand[ 1 , 5 ] ) * sin[ rand[ 2 ] ]\"", randomOrder)},
        {"reversed, children that make no frames",
         frames(6, keys + L"REVERSE=\"1\" DESIRED_SIZE=\"9 7\"",
                L"<NOTHING/><PASSING_FRAME_EVENT NAME=\"e\" FRAME_NR=\"1\"/>" + randomOrder + L"<ORDER>\"|0|\"</ORDER>")},
        {"fixed frames, random formula", frames(3, keys + L"ANIMSPEED_TERM=\"rand[ 7 ]\"")},
        {"a formula too big for a speed", frames(3, keys + L"ANIMSPEED_TERM=\"" + std::wstring(9000, L'(') + L"\"")},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.name);
        Orvex::seedRandom(9);
        auto source = make(c.definition);
        Held<Texture2DAnimation> copy(source->clone());
        double const after = Orvex::randomUnit();

        Orvex::seedRandom(9);
        auto first = make(c.definition);
        auto again = make(c.definition);
        EXPECT_EQ(Orvex::randomUnit(), after);
        EXPECT_EQ(copy->getSpeed(), again->getSpeed());
        EXPECT_EQ(copy->getPosition(), again->getPosition());
        EXPECT_EQ(copy->getPlayType(), again->getPlayType());
        EXPECT_EQ(copy->isReversed(), again->isReversed());
        EXPECT_EQ(copy->getFrameSize(), again->getFrameSize());
        EXPECT_EQ(frameIds(*copy), frameIds(*again));
        ASSERT_EQ(copy->getSpeedTerm() == nullptr, again->getSpeedTerm() == nullptr);
        if (copy->getSpeedTerm()) {
            Orvex::AnimationClock clock;
            clock.time = 0.4;
            EXPECT_EQ(copy->getSpeedTerm()->evaluate(clock), again->getSpeedTerm()->evaluate(clock));
        }
    }
}

// What copies that build frames of their own read for it is charged to their bound beside the
// frames: elements that make frames (here sheets without a picture) count, others not at all.
TEST(AnimationSharing, ACopysReadingIsChargedToTheBound) {
    std::wstring sheets;
    for (int i = 0; i < 1000; ++i) sheets += L"<FRAMES TEXTUR=\"none\"/>";
    std::wstring others;
    for (int i = 0; i < 1000; ++i) others += L"<NOTHING/>";
    std::wstring const shuffled = L"<ORDER RANDOM_SHUFFLE=\"1\">\"|0 - 1|\"</ORDER>";
    auto withSheets = make(frames(2, L"NAME=\"sheets\" RELOAD_ON_CLONE=\"1\"", sheets + shuffled));
    auto withOthers = make(frames(2, L"NAME=\"others\" RELOAD_ON_CLONE=\"1\"", others + shuffled));
    ASSERT_EQ(Texture2DAnimation::rolledEntries(), 0u);
    {
        Held<Texture2DAnimation> copy(withOthers->clone());
        EXPECT_EQ(copy->getFrameCount(), 2u);
        EXPECT_NE(&copy->getFrames(), &withOthers->getFrames());
        // The element, its two frames, the order and its value.
        EXPECT_EQ(Texture2DAnimation::rolledEntries(), 5u);
    }
    // The element, two frames, 1,000 sheets, the order and its value.
    constexpr std::size_t kRead = 1005;
    std::size_t const fitting = Texture2DAnimation::kMaxRolledEntries / kRead;
    logtest::LogWatch const watch;
    std::vector<Held<Texture2DAnimation>> copies;
    for (std::size_t i = 0; i <= fitting; ++i) copies.emplace_back(withSheets->clone());
    EXPECT_EQ(Texture2DAnimation::rolledEntries(), fitting * kRead);
    EXPECT_NE(&copies[fitting - 1]->getFrames(), &withSheets->getFrames());
    EXPECT_EQ(&copies[fitting]->getFrames(), &withSheets->getFrames());
    auto const lines = watch.lines();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](std::wstring const& line) { return logtest::contains(line, L"\"sheets\""); }),
              1);
}
