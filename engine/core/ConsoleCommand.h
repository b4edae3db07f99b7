// Console commands: a command a component offers (name, minimum argument count, help text), one
// typed input line with its reply, and the base of every component that owns commands.
// A receiver registers with the console (Console.h) when constructed and leaves it when
// destroyed; the console calls executeCommand only when enough arguments were typed.
#pragma once

#include <string>
#include <vector>

#include "engine/core/Types.h"
#include "signals/sigslot.h"

namespace Orvex {

class ConsoleCommand {
public:
    ConsoleCommand(std::wstring const& name, u32 const& minimumArguments, std::wstring const& help);
    virtual ~ConsoleCommand() = default;

    // Case-insensitive comparison with the command's name.
    bool isNamed(std::wstring const& name) const;

    std::wstring const& getName() const { return name_; }
    u32 getMinimumArguments() const { return minimumArguments_; }
    std::wstring const& getHelp() const { return help_; }

private:
    std::wstring name_;
    u32 minimumArguments_;
    std::wstring help_;
};

// One typed line: the command word and the blank-separated arguments after it (each kept as
// typed and case-folded), plus the reply text the handler assigns or appends to.
class TypedConsoleCommand {
public:
    TypedConsoleCommand() = default;
    explicit TypedConsoleCommand(std::wstring const& line);

    std::wstring const& getCommand() const { return command_; }
    // Case-insensitive comparison with the typed command word.
    bool isCommand(std::wstring const& name) const;

    u32 getArgumentCount() const { return static_cast<u32>(arguments_.size()); }
    // Argument i as typed; empty when out of range.
    std::wstring const& getArgument(u32 i) const;
    // Argument i case-folded; empty when out of range.
    std::wstring const& getArgumentFolded(u32 i) const;
    // Its integer value != 0; false when out of range.
    bool getArgumentBool(u32 i) const;
    // Its integer value (_wtoi); 0 when out of range.
    int getArgumentInt(u32 i) const;
    // Its value as a double (wide atof); 0.0 when out of range.
    double getArgumentDouble(u32 i) const;

    // True when the line ends in a blank, i.e. the next argument has not been started.
    bool endsWithBlank() const { return endsWithBlank_; }

    std::wstring& getReply() { return reply_; }
    std::wstring const& getReply() const { return reply_; }
    void setReply(std::wstring const& text) { reply_ = text; }
    void appendReply(std::wstring const& text) { reply_ += text; }

private:
    struct Argument {
        std::wstring typed;
        std::wstring folded;
    };

    std::wstring command_;
    std::vector<Argument> arguments_;
    std::wstring reply_;
    bool endsWithBlank_ = false;
};

// Base of the owners of console commands. The receiver owns its commands.
class ConsoleCommandReceiver : public sigslot::has_slots<sigslot::single_threaded> {
public:
    ConsoleCommandReceiver();
    ~ConsoleCommandReceiver() override;
    ConsoleCommandReceiver(ConsoleCommandReceiver const&) = delete;
    ConsoleCommandReceiver& operator=(ConsoleCommandReceiver const&) = delete;

    // Runs command (one of this receiver's) for the typed line. Called only when the typed
    // argument count reaches the command's minimum.
    virtual void executeCommand(ConsoleCommand& command, TypedConsoleCommand& typed);
    // Appends completions of the typed line's arguments to offers.
    virtual void completeArguments(TypedConsoleCommand const& typed, std::vector<std::wstring>& offers);

    // Registers command under its name and takes ownership. A name this receiver already has
    // (compared case-insensitively) deletes the new command and returns false.
    bool addCommand(ConsoleCommand* command);
    // This receiver's command of that name (case-insensitive), or null.
    ConsoleCommand* findCommand(std::wstring const& name) const;
    std::vector<ConsoleCommand*> const& getCommands() const { return commands_; }

private:
    std::vector<ConsoleCommand*> commands_;
};

}  // namespace Orvex
