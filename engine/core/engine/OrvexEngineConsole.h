// The in-game console's input: a key opens and closes it, typed keys edit the input line through
// the active keyboard layout, Enter runs the line through the console dispatch, Tab completes,
// the arrow keys walk the history. While it is open, key queries of the game report nothing.
// Drawing comes with the GUI; it shows the input line and the recent log lines.
// Code: OrvexEngine_ingameconsole.cpp.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "engine/core/Types.h"
#include "engine/platform/TastaturLayout.h"
#include "port/dinput/dinput_keys.h"

namespace Orvex {

class KeyState;

class IngameConsole {
public:
    // Opens and closes the console: the key left of "1" ("^" on German keyboards).
    static constexpr u8 kToggleKey = DIK_GRAVE;
    static constexpr std::size_t kHistorySize = 64;
    static constexpr int kMaxLineLength = 256;

    IngameConsole();

    bool isOpen() const { return open_; }
    void setOpen(bool open);

    // Handles one key press (repeats included); true when the console used the key.
    bool onKey(KeyState const& state, u8 code);

    // The line being typed.
    TextEditState const& getEdit() const { return edit_; }
    std::wstring getInput() const { return edit_.getWholeText(); }
    void setInput(std::wstring const& text);

    // Lines run so far, oldest first.
    std::deque<std::wstring> const& getHistory() const { return history_; }
    // The last count log lines, oldest first, for drawing.
    std::vector<std::wstring> getVisibleLines(std::size_t count) const;

private:
    void submit();
    void complete();
    void recall(int step);

    bool open_ = false;
    TextEditState edit_;
    std::deque<std::wstring> history_;
    int historyPos_ = -1;  // -1: not walking the history
};

}  // namespace Orvex
