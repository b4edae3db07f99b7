// The engine's console commands: "E_" for the engine itself, "TIME_" for the frame timer's
// time factor and pause. Replies are German, as every console text.
#include <cwchar>

#include "engine/core/Console.h"
#include "engine/core/Logger.h"
#include "engine/core/engine/OrvexEngine.h"

namespace Orvex {

namespace {

// The pause slot the console's "TIME_Pause" uses, apart from the game's own slots.
constexpr int kConsolePauseSlot = PerfTimer::kPauseSlots - 1;

std::wstring formatNumber(double value) {
    wchar_t buffer[64];
    std::swprintf(buffer, 64, L"%.3f", value);
    return buffer;
}

}  // namespace

void OrvexEngine::registerCommands() {
    addCommand(new ConsoleCommand(L"E_Exit", 0, L"E_Exit [Code]: beendet das Programm mit dem Code (Standard 0)"));
    addCommand(new ConsoleCommand(L"E_Help", 0,
                                  L"E_Help [Anfang]: zeigt alle Befehle, die mit dem Anfang beginnen, mit Hilfetext"));
    addCommand(new ConsoleCommand(L"E_ShowConsole", 1, L"E_ShowConsole 0|1: blendet das Log-Fenster aus oder ein"));
    addCommand(new ConsoleCommand(L"TIME_Factor", 0,
                                  L"TIME_Factor [Faktor]: zeigt oder setzt den Zeitfaktor der Spielzeit (>= 0)"));
    addCommand(new ConsoleCommand(L"TIME_Pause", 0,
                                  L"TIME_Pause [0|1]: haelt die Spielzeit an oder laesst sie weiterlaufen "
                                  L"(ohne Argument: umschalten)"));
    addCommand(new ConsoleCommand(L"TIME_Info", 0, L"TIME_Info: zeigt Echtzeit, Spielzeit, Zeitfaktor und Pause"));
}

void OrvexEngine::executeCommand(ConsoleCommand& command, TypedConsoleCommand& typed) {
    if (command.isNamed(L"E_Exit")) {
        int const code = typed.getArgumentCount() > 0 ? typed.getArgumentInt(0) : 0;
        requestExit(code);
        typed.setReply(L"Programm wird beendet (Code " + std::to_wstring(code) + L")");
    } else if (command.isNamed(L"E_Help")) {
        std::vector<std::wstring> names;
        Console::getInstance().complete(typed.getArgument(0), names);
        if (names.empty()) {
            typed.setReply(L"Kein Befehl beginnt mit \"" + typed.getArgument(0) + L"\"");
            return;
        }
        for (std::wstring const& name : names) {
            ConsoleCommand const* found = Console::getInstance().findCommand(name);
            if (!typed.getReply().empty()) typed.appendReply(L"\n");
            typed.appendReply(found && !found->getHelp().empty() ? found->getHelp() : name);
        }
    } else if (command.isNamed(L"E_ShowConsole")) {
        bool const show = typed.getArgumentBool(0);
        Logger::getInstance().showConsole(show);
        typed.setReply(show ? L"Log-Fenster eingeblendet" : L"Log-Fenster ausgeblendet");
    } else if (command.isNamed(L"TIME_Factor")) {
        if (typed.getArgumentCount() > 0) {
            double const factor = typed.getArgumentDouble(0);
            if (!(factor >= 0.0)) {
                typed.setReply(L"Ungueltiger Zeitfaktor: " + typed.getArgument(0));
                return;
            }
            timer_.setTimeFactor(factor);
        }
        typed.setReply(L"Zeitfaktor: " + formatNumber(timer_.getTimeFactor()));
    } else if (command.isNamed(L"TIME_Pause")) {
        bool const wasPaused = (timer_.getPauseMask() >> kConsolePauseSlot) & 1u;
        bool const pause = typed.getArgumentCount() > 0 ? typed.getArgumentBool(0) : !wasPaused;
        timer_.setPause(kConsolePauseSlot, pause);
        typed.setReply(pause ? L"Spielzeit angehalten" : L"Spielzeit laeuft");
    } else if (command.isNamed(L"TIME_Info")) {
        typed.setReply(L"Echtzeit: " + formatNumber(timer_.getRealTime()) + L" s, Spielzeit: " +
                       formatNumber(timer_.getGameTime()) + L" s, Zeitfaktor: " +
                       formatNumber(timer_.getTimeFactor()) + (timer_.isPaused() ? L", angehalten" : L""));
    }
}

}  // namespace Orvex
