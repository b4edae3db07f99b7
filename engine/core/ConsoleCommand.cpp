// Console commands, typed lines and the command-owner base.
#include "engine/core/ConsoleCommand.h"

#include "engine/core/Console.h"
#include "engine/core/Logger.h"
#include "port/crt/crt.h"
#include "port/win32/win32_text.h"

namespace Orvex {

namespace {

bool isCommandBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

std::wstring foldText(std::wstring const& text) {
    std::wstring folded(text);
    for (wchar_t& c : folded) c = port::foldCase(c);
    return folded;
}

std::wstring const& emptyText() {
    static std::wstring const empty;
    return empty;
}

}  // namespace

ConsoleCommand::ConsoleCommand(std::wstring const& name, u32 const& minimumArguments, std::wstring const& help)
    : name_(name), minimumArguments_(minimumArguments), help_(help) {}

bool ConsoleCommand::isNamed(std::wstring const& name) const { return port::equalsNoCase(name_, name); }

TypedConsoleCommand::TypedConsoleCommand(std::wstring const& line) {
    std::size_t pos = 0;
    bool first = true;
    while (pos < line.size()) {
        while (pos < line.size() && isCommandBlank(line[pos])) ++pos;
        std::size_t const start = pos;
        while (pos < line.size() && !isCommandBlank(line[pos])) ++pos;
        if (pos == start) break;
        std::wstring word = line.substr(start, pos - start);
        if (first) {
            command_ = std::move(word);
            first = false;
        } else {
            std::wstring folded = foldText(word);
            arguments_.push_back(Argument{std::move(word), std::move(folded)});
        }
    }
    endsWithBlank_ = !line.empty() && isCommandBlank(line.back());
}

bool TypedConsoleCommand::isCommand(std::wstring const& name) const {
    return port::equalsNoCase(command_, name);
}

std::wstring const& TypedConsoleCommand::getArgument(u32 i) const {
    return i < arguments_.size() ? arguments_[i].typed : emptyText();
}

std::wstring const& TypedConsoleCommand::getArgumentFolded(u32 i) const {
    return i < arguments_.size() ? arguments_[i].folded : emptyText();
}

bool TypedConsoleCommand::getArgumentBool(u32 i) const { return getArgumentInt(i) != 0; }

int TypedConsoleCommand::getArgumentInt(u32 i) const {
    return i < arguments_.size() ? msvc::wtoi(arguments_[i].typed) : 0;
}

double TypedConsoleCommand::getArgumentDouble(u32 i) const {
    return i < arguments_.size() ? msvc::wtof(arguments_[i].typed) : 0.0;
}

ConsoleCommandReceiver::ConsoleCommandReceiver() { Console::getInstance().registerReceiver(this); }

ConsoleCommandReceiver::~ConsoleCommandReceiver() {
    if (Console* console = Console::getExistingInstance()) console->unregisterReceiver(this);
    for (ConsoleCommand* command : commands_) delete command;
    commands_.clear();
}

void ConsoleCommandReceiver::executeCommand(ConsoleCommand&, TypedConsoleCommand&) {}

void ConsoleCommandReceiver::completeArguments(TypedConsoleCommand const&, std::vector<std::wstring>&) {}

bool ConsoleCommandReceiver::addCommand(ConsoleCommand* command) {
    if (!command) return false;
    if (findCommand(command->getName())) {
        logWarning(L"Konsolenbefehl doppelt registriert: " + command->getName());
        delete command;
        return false;
    }
    commands_.push_back(command);
    return true;
}

ConsoleCommand* ConsoleCommandReceiver::findCommand(std::wstring const& name) const {
    for (ConsoleCommand* command : commands_) {
        if (command->isNamed(name)) return command;
    }
    return nullptr;
}

}  // namespace Orvex
