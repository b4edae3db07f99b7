// Steps the list screens (results, highscores, campaign, free play) share when they fill windows
// found by name: a label's own text formatted with numbers and names, a goal jumped to, a window
// copied with its children, a scroll panel emptied for a rebuilt list or scrolled to its start,
// numbers kept in a window's user pointer slots, and seconds made whole. The look-ups themselves
// (labelOf, findLabel) are ScreenWindows.h's.
//
// Every look-up may find nothing: a missing window is skipped, never an error. Texts are formats
// from the language file and the values come as arguments, so a name holding "%" is printed as
// it stands (Orvex::Text formats through the port's safe formatter).
#pragma once

#include <cstdint>
#include <string>

#include "engine/gui/GUILabel.h"
#include "engine/gui/Text.h"
#include "game/app/ScreenWindows.h"

namespace Orvex {
class GUIWindow;
}

namespace Solitaire {

// The text of the label's own text id in the current language, or null.
Orvex::Text* ownText(Orvex::GUILabel const& label);
// Jumps the window (or the window of that name) to the goal; nothing when it is missing.
void jumpWindow(Orvex::GUIWindow* window, std::wstring const& goal);
void jumpWindow(std::wstring const& name, std::wstring const& goal);

// The label's own text formatted with the arguments; false (the label keeps its text) when the
// label is null or its text id has no text.
template <class... Args>
bool formatOwnText(Orvex::GUILabel* label, Args const&... args) {
    Orvex::Text* text = label ? ownText(*label) : nullptr;
    if (!text) return false;
    std::wstring out;
    label->setText(text->format(out, args...));
    return true;
}

// A copy of the window with copies of all its children, the copy holding one reference for the
// caller. A child the copy already has under the same name (a button's caption, a widget's own
// parts) is not copied twice. Copies go kMaxCloneDepth levels deep.
constexpr int kMaxCloneDepth = 32;
Orvex::GUIWindow* cloneTree(Orvex::GUIWindow& source);

// A list panel before it is filled again: every child released and a fill layout for the new
// ones. A scroll panel's content takes the fill that follows its scroll offset, so the list keeps
// its scrolled place when it is laid out again.
void resetListPanel(Orvex::GUIWindow& panel);
// A scroll panel laid out and scrolled to its first position (top left); zero-time updates
// before and after let it settle. Nothing for null or a window that is not a scroll panel.
void scrollPanelToStart(Orvex::GUIWindow* panel);

// A number in a window's user pointer slot (the slots hold pointers; numbers go in as their
// bit pattern and come back exactly).
void setSlotNumber(Orvex::GUIWindow& window, std::uint32_t slot, int number);
int getSlotNumber(Orvex::GUIWindow const& window, std::uint32_t slot);

// A campaign chapter's title: the text of formatId formatted with the chapter's number counted
// from 1 and the localised name of its game "KAPITEL_" chapter (as the chapter screen names it);
// the name alone when formatId has no text, empty when the campaign has no such chapter.
std::wstring chapterTitle(std::wstring const& formatId, int chapter);

// Seconds from a file or a clock as a whole count for minutes and hours: not a number, negative
// or infinite gives 0, values past kMaxWholeSeconds are held there.
constexpr std::int64_t kMaxWholeSeconds = 0x7FFFFFFF;
std::int64_t wholeSeconds(double seconds);

}  // namespace Solitaire
