// The console's command dispatch: the one registry of command owners. A typed line is split into
// a command word and arguments, the command is looked up case-insensitively across the owners in
// the order they registered, and its owner runs it. Replies and help texts are German.
// The in-game console window (drawing, key input) lives with the engine; this is its back end.
#pragma once

#include <string>
#include <vector>

#include "engine/core/ConsoleCommand.h"

namespace Orvex {

class Console {
public:
    static Console& getInstance();
    // The console while it exists; null after it was destroyed at program exit.
    static Console* getExistingInstance();

    // Owners register themselves (ConsoleCommandReceiver does it in its constructor and
    // destructor). A second registration of the same owner is ignored.
    void registerReceiver(ConsoleCommandReceiver* receiver);
    void unregisterReceiver(ConsoleCommandReceiver* receiver);
    std::vector<ConsoleCommandReceiver*> const& getReceivers() const { return receivers_; }

    // The command of that name (case-insensitive) and, when asked, its owner; null when unknown.
    ConsoleCommand* findCommand(std::wstring const& name, ConsoleCommandReceiver** owner = nullptr) const;

    // Runs one typed line and returns the reply, which is also written to the log:
    // - an empty line: no reply;
    // - an unknown command: "Unbekannter Befehl: " and the typed word;
    // - fewer arguments than the command's minimum: its help text (without one,
    //   "Zu wenige Argumente: " and the name);
    // - otherwise the owner's executeCommand, and the reply it left in the typed line.
    std::wstring execute(std::wstring const& line);

    // Completions for a partly typed line, appended to offers: while the command word is being
    // typed (no blank after it yet), every command name that begins with it (case-insensitive),
    // in registration order (all of them for an empty line); after it, the owner's
    // completeArguments.
    void complete(std::wstring const& line, std::vector<std::wstring>& offers) const;

    // Whether the in-game console is open (key combinations are ignored meanwhile).
    bool isOpen() const { return open_; }
    void setOpen(bool open) { open_ = open; }

    Console(Console const&) = delete;
    Console& operator=(Console const&) = delete;

private:
    Console();
    ~Console();

    std::vector<ConsoleCommandReceiver*> receivers_;
    bool open_ = false;
};

}  // namespace Orvex
