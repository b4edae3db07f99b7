// The in-game console's input handling.
#include <algorithm>

#include "engine/core/Console.h"
#include "engine/core/Logger.h"
#include "engine/core/engine/OrvexEngineConsole.h"
#include "engine/platform/InputState.h"
#include "port/win32/win32_text.h"

namespace Orvex {

namespace {

constexpr wchar_t kCaret = L'_';

}  // namespace

IngameConsole::IngameConsole() : edit_(L"", kCaret, -1, kMaxLineLength) {}

void IngameConsole::setOpen(bool open) {
    open_ = open;
    Console::getInstance().setOpen(open);
    setConsoleOpen(open);
    historyPos_ = -1;
}

void IngameConsole::setInput(std::wstring const& text) { edit_ = TextEditState(text, kCaret, -1, kMaxLineLength); }

bool IngameConsole::onKey(KeyState const& state, u8 code) {
    if (code == kToggleKey) {
        setOpen(!open_);
        return true;
    }
    if (!open_) return false;

    switch (code) {
    case DIK_ESCAPE: setOpen(false); return true;
    case DIK_RETURN:
    case DIK_NUMPADENTER: submit(); return true;
    case DIK_TAB: complete(); return true;
    case DIK_UP: recall(+1); return true;
    case DIK_DOWN: recall(-1); return true;
    default: break;
    }
    if (TastaturLayout const* layout = TastaturLayoutManager::getInstance().getActiveLayout())
        layout->editText(edit_, code, state, false, false);
    // Every other key belongs to the console while it is open, typed or not.
    return true;
}

void IngameConsole::submit() {
    std::wstring const line = edit_.getWholeText();
    setInput(L"");
    historyPos_ = -1;
    if (line.find_first_not_of(L' ') == std::wstring::npos) return;
    logPlain(L"> " + line);
    if (history_.empty() || history_.back() != line) {
        history_.push_back(line);
        if (history_.size() > kHistorySize) history_.pop_front();
    }
    Console::getInstance().execute(line);
}

void IngameConsole::complete() {
    std::wstring const line = edit_.getWholeText();
    std::vector<std::wstring> offers;
    Console::getInstance().complete(line, offers);
    if (offers.empty()) return;

    // The offers replace the word being typed: the command word, or the last argument.
    std::size_t const cut = line.find_last_of(L' ');
    std::wstring const head = cut == std::wstring::npos ? std::wstring() : line.substr(0, cut + 1);
    if (offers.size() == 1) {
        setInput(head + offers.front() + L" ");
        return;
    }
    // Several: extend to their common beginning and list them.
    std::wstring common = offers.front();
    for (std::wstring const& offer : offers) {
        std::size_t n = 0;
        while (n < common.size() && n < offer.size() && port::foldCase(common[n]) == port::foldCase(offer[n])) ++n;
        common.resize(n);
    }
    std::wstring list;
    for (std::wstring const& offer : offers) list += (list.empty() ? L"" : L"  ") + offer;
    logPlain(list);
    std::wstring const typed = line.substr(head.size());
    if (common.size() > typed.size()) setInput(head + common);
}

void IngameConsole::recall(int step) {
    if (history_.empty()) return;
    int const last = static_cast<int>(history_.size()) - 1;
    int pos = historyPos_ + step;
    if (pos < 0) {
        historyPos_ = -1;
        setInput(L"");
        return;
    }
    pos = std::min(pos, last);
    historyPos_ = pos;
    setInput(history_[static_cast<std::size_t>(last - pos)]);
}

std::vector<std::wstring> IngameConsole::getVisibleLines(std::size_t count) const {
    std::deque<std::wstring> const lines = Logger::getInstance().recentLines();
    std::size_t const first = lines.size() > count ? lines.size() - count : 0;
    return std::vector<std::wstring>(lines.begin() + static_cast<std::ptrdiff_t>(first), lines.end());
}

}  // namespace Orvex
