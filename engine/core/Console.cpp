// The console's command dispatch.
#include "engine/core/Console.h"

#include <algorithm>

#include "engine/core/Logger.h"
#include "port/win32/win32_text.h"

namespace Orvex {

namespace {

// Set once the console is destroyed at exit, so owners destroyed later leave it alone.
bool g_consoleDestroyed = false;

bool startsWithNoCase(std::wstring_view text, std::wstring_view prefix) {
    return text.size() >= prefix.size() && port::equalsNoCase(text.substr(0, prefix.size()), prefix);
}

}  // namespace

Console& Console::getInstance() {
    static Console instance;
    return instance;
}

Console* Console::getExistingInstance() { return g_consoleDestroyed ? nullptr : &getInstance(); }

Console::Console() = default;

Console::~Console() { g_consoleDestroyed = true; }

void Console::registerReceiver(ConsoleCommandReceiver* receiver) {
    if (!receiver) return;
    if (std::find(receivers_.begin(), receivers_.end(), receiver) != receivers_.end()) return;
    receivers_.push_back(receiver);
}

void Console::unregisterReceiver(ConsoleCommandReceiver* receiver) {
    receivers_.erase(std::remove(receivers_.begin(), receivers_.end(), receiver), receivers_.end());
}

ConsoleCommand* Console::findCommand(std::wstring const& name, ConsoleCommandReceiver** owner) const {
    for (ConsoleCommandReceiver* receiver : receivers_) {
        if (ConsoleCommand* command = receiver->findCommand(name)) {
            if (owner) *owner = receiver;
            return command;
        }
    }
    if (owner) *owner = nullptr;
    return nullptr;
}

std::wstring Console::execute(std::wstring const& line) {
    TypedConsoleCommand typed(line);
    if (typed.getCommand().empty()) return std::wstring();

    ConsoleCommandReceiver* owner = nullptr;
    ConsoleCommand* command = findCommand(typed.getCommand(), &owner);
    if (!command) {
        typed.setReply(L"Unbekannter Befehl: " + typed.getCommand());
    } else if (typed.getArgumentCount() < command->getMinimumArguments()) {
        typed.setReply(command->getHelp().empty() ? L"Zu wenige Argumente: " + command->getName()
                                                  : command->getHelp());
    } else {
        owner->executeCommand(*command, typed);
    }
    if (!typed.getReply().empty()) logPlain(typed.getReply());
    return typed.getReply();
}

void Console::complete(std::wstring const& line, std::vector<std::wstring>& offers) const {
    TypedConsoleCommand typed(line);
    if (typed.getArgumentCount() == 0 && (!typed.endsWithBlank() || typed.getCommand().empty())) {
        for (ConsoleCommandReceiver* receiver : receivers_) {
            for (ConsoleCommand* command : receiver->getCommands()) {
                if (startsWithNoCase(command->getName(), typed.getCommand())) offers.push_back(command->getName());
            }
        }
        return;
    }
    ConsoleCommandReceiver* owner = nullptr;
    if (findCommand(typed.getCommand(), &owner)) owner->completeArguments(typed, offers);
}

}  // namespace Orvex
