// Console commands: parsing of typed lines, registration, dispatch with the minimum argument
// count, German replies, completion, and owners that come and go.
#include "engine/core/Console.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

#include "engine/core/ConsoleCommand.h"
#include "engine/core/Logger.h"

namespace {

using Orvex::Console;
using Orvex::ConsoleCommand;
using Orvex::ConsoleCommandReceiver;
using Orvex::TypedConsoleCommand;

TEST(TypedConsoleCommand, SplitsAtBlanksParsesNumbersAndAnswersOutOfRangeWithNothing) {
    TypedConsoleCommand typed(L"  FX_reloadEffect \t Glow_ÄÖ   1  ");
    EXPECT_EQ(typed.getCommand(), L"FX_reloadEffect");
    EXPECT_TRUE(typed.isCommand(L"fx_RELOADEFFECT"));
    EXPECT_FALSE(typed.isCommand(L"FX_reloadEffects"));
    ASSERT_EQ(typed.getArgumentCount(), 2u);
    EXPECT_EQ(typed.getArgument(0), L"Glow_ÄÖ");
    EXPECT_EQ(typed.getArgumentFolded(0), L"glow_äö");
    EXPECT_TRUE(typed.getArgumentBool(1));
    EXPECT_TRUE(typed.endsWithBlank());

    typed = TypedConsoleCommand(L"CAM_setEyePosition cam -12abc 2.5e1 0 x");
    EXPECT_EQ(typed.getArgumentInt(1), -12);
    EXPECT_DOUBLE_EQ(typed.getArgumentDouble(2), 25.0);
    EXPECT_FALSE(typed.getArgumentBool(4));  // not a number reads as 0
    EXPECT_FALSE(typed.endsWithBlank());

    EXPECT_EQ(typed.getArgument(5), L"");
    EXPECT_EQ(typed.getArgumentFolded(99), L"");
    EXPECT_FALSE(typed.getArgumentBool(5));
    EXPECT_EQ(typed.getArgumentInt(5), 0);
    EXPECT_EQ(typed.getArgumentDouble(0xFFFFFFFFu), 0.0);
    EXPECT_EQ(TypedConsoleCommand(L"").getArgumentCount(), 0u);
}

// A command owner that records what the console asked of it.
class TestReceiver : public ConsoleCommandReceiver {
public:
    void executeCommand(ConsoleCommand& command, TypedConsoleCommand& typed) override {
        executed.push_back(command.getName());
        if (onExecute) onExecute(command, typed);
    }
    void completeArguments(TypedConsoleCommand const& typed, std::vector<std::wstring>& offers) override {
        if (!typed.isCommand(L"T_pick")) return;
        for (std::wstring const name : {L"Alpha", L"Beta", L"Alps"}) {
            if (name.starts_with(typed.getArgument(0))) offers.push_back(name);
        }
    }
    std::vector<std::wstring> executed;
    std::function<void(ConsoleCommand&, TypedConsoleCommand&)> onExecute;
};

TEST(ConsoleCommandReceiver, AddCommandRefusesATakenNameAndDeletesTheNewCommand) {
    TestReceiver receiver;
    auto* first = new ConsoleCommand(L"T_one", 0, L"T_one; eins");
    EXPECT_TRUE(receiver.addCommand(first));
    // The refused command is deleted (LeakSanitizer would report it otherwise).
    EXPECT_FALSE(receiver.addCommand(new ConsoleCommand(L"t_ONE", 2, L"anders")));
    EXPECT_FALSE(receiver.addCommand(nullptr));
    ASSERT_EQ(receiver.getCommands().size(), 1u);
    EXPECT_EQ(receiver.findCommand(L"T_ONE"), first);
    EXPECT_FALSE(first->isNamed(L"t_on"));
}

TEST(ConsoleDispatch, RunsTheCommandOrAnswersWithHelpUnknownOrNothing) {
    TestReceiver receiver;
    receiver.addCommand(new ConsoleCommand(L"T_set", 2, L"T_set Name Wert; setzt"));
    receiver.addCommand(new ConsoleCommand(L"T_quiet", 1, L""));
    receiver.onExecute = [](ConsoleCommand& command, TypedConsoleCommand& typed) {
        if (command.isNamed(L"T_set")) typed.setReply(typed.getArgument(0) + L"=" + typed.getArgument(1));
    };
    Console& console = Console::getInstance();
    // Too few arguments: the help text (or a German note), and nothing runs.
    EXPECT_EQ(console.execute(L"T_set Farbe"), L"T_set Name Wert; setzt");
    EXPECT_EQ(console.execute(L"T_quiet"), L"Zu wenige Argumente: T_quiet");
    EXPECT_TRUE(receiver.executed.empty());

    EXPECT_EQ(console.execute(L"t_SET Farbe Rot extra"), L"Farbe=Rot");
    EXPECT_EQ(receiver.executed, (std::vector<std::wstring>{L"T_set"}));
    auto lines = Orvex::Logger::getInstance().recentLines();  // the reply is logged
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(),
                            [](std::wstring const& l) { return l.find(L"Farbe=Rot") != std::wstring::npos; }));

    EXPECT_EQ(console.execute(L"Gibtsnicht 1 2"), L"Unbekannter Befehl: Gibtsnicht");
    EXPECT_EQ(console.execute(L"   "), L"");
}

TEST(ConsoleRegistry, OwnersRegisterOnConstructionAndLeaveOnDestruction) {
    Console& console = Console::getInstance();
    std::size_t const before = console.getReceivers().size();
    {
        TestReceiver receiver;
        receiver.addCommand(new ConsoleCommand(L"T_here", 0, L""));
        EXPECT_EQ(console.getReceivers().size(), before + 1);
        console.registerReceiver(&receiver);  // a second registration is ignored
        EXPECT_EQ(console.getReceivers().size(), before + 1);
        ConsoleCommandReceiver* owner = nullptr;
        EXPECT_NE(console.findCommand(L"t_here", &owner), nullptr);
        EXPECT_EQ(owner, &receiver);
    }
    EXPECT_EQ(console.getReceivers().size(), before);
    EXPECT_EQ(console.execute(L"T_here"), L"Unbekannter Befehl: T_here");

    // Of two owners of one name, the first registered wins.
    TestReceiver first, second;
    first.addCommand(new ConsoleCommand(L"T_same", 0, L""));
    second.addCommand(new ConsoleCommand(L"T_SAME", 0, L""));
    console.execute(L"t_same");
    EXPECT_EQ(first.executed.size(), 1u);
    EXPECT_TRUE(second.executed.empty());
}

TEST(ConsoleRegistry, AnOwnerDestroyedByItsOwnCommand) {
    auto* receiver = new TestReceiver;
    receiver->addCommand(new ConsoleCommand(L"T_selfdestruct", 0, L""));
    receiver->onExecute = [receiver](ConsoleCommand&, TypedConsoleCommand& typed) {
        typed.setReply(L"weg");
        delete receiver;
    };
    EXPECT_EQ(Console::getInstance().execute(L"T_selfdestruct"), L"weg");
    EXPECT_EQ(Console::getInstance().findCommand(L"T_selfdestruct"), nullptr);
}

TEST(ConsoleCompletion, CommandWordsByPrefixThenArgumentsFromTheOwner) {
    TestReceiver first, second;
    first.addCommand(new ConsoleCommand(L"T_pick", 1, L""));
    first.addCommand(new ConsoleCommand(L"T_other", 0, L""));
    second.addCommand(new ConsoleCommand(L"t_place", 0, L""));
    second.addCommand(new ConsoleCommand(L"X_none", 0, L""));
    Console& console = Console::getInstance();

    std::vector<std::wstring> offers;
    console.complete(L"t_p", offers);
    EXPECT_EQ(offers, (std::vector<std::wstring>{L"T_pick", L"t_place"}));

    offers.clear();
    console.complete(L"T_pick ", offers);  // argument not started: every name
    EXPECT_EQ(offers, (std::vector<std::wstring>{L"Alpha", L"Beta", L"Alps"}));

    offers.clear();
    console.complete(L"T_PICK Al", offers);
    EXPECT_EQ(offers, (std::vector<std::wstring>{L"Alpha", L"Alps"}));

    offers.clear();
    console.complete(L"Q_unknown Al", offers);
    EXPECT_TRUE(offers.empty());
}

}  // namespace
