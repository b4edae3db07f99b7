// How the mini-games build their windows: a template is looked up among the GUI system's
// templates by the game's "PRÄFIX" followed by a fixed literal, cloned, and the clone added to a
// parent window as its last child. A game keeps plain pointers to the windows it added; the
// parent holds them. Pictures the games animate themselves are shown as a window's background:
// the current frame's texture with its source rectangle.
#pragma once

#include <string>

#include "engine/core/CountedRef.h"

namespace Orvex {
class GUIWindow;
class Texture2DAnimation;
class XMLNode;
}  // namespace Orvex

namespace Solitaire::minigame {

// The template prefix + literal (searched through the templates and their children), or null.
Orvex::GUIWindow* findTemplate(std::wstring const& prefix, std::wstring const& literal);

// The template when it is of class W, else null.
template <class W>
W* findTemplateAs(std::wstring const& prefix, std::wstring const& literal) {
    return dynamic_cast<W*>(findTemplate(prefix, literal));
}

// A clone of the window (one reference, the caller's), or null for null.
Orvex::GUIWindow* cloneOf(Orvex::GUIWindow* window);
template <class W>
W* cloneAs(W* window) {
    return static_cast<W*>(cloneOf(window));
}

// Appends child to parent, handing the parent the caller's reference; a child the parent refuses
// (or a missing parent) is released. True when the parent took it.
bool adopt(Orvex::GUIWindow* parent, Orvex::GUIWindow* child);
// Appends child to parent with a reference of the parent's own (the caller keeps its own).
void attach(Orvex::GUIWindow* parent, Orvex::GUIWindow* child);

// A copy (one reference, the caller's) of the registered animation of that name, or null; of the
// name in the element's attribute key, or null when the attribute is absent.
Orvex::Texture2DAnimation* animationCopy(std::wstring const& name);
Orvex::Texture2DAnimation* animationCopy(Orvex::XMLNode const& element, wchar_t const* key);
// A clone of the animation held by its own reference, or null for null.
Orvex::CountedRef<Orvex::Texture2DAnimation> ownCopy(Orvex::Texture2DAnimation* animation);
// A clone of the template named in the element's attribute key, or null.
Orvex::GUIWindow* windowFromTemplate(Orvex::XMLNode const& element, wchar_t const* key);

// The animation's current frame as the window's background picture (texture and source
// rectangle); without an animation or frame the background is cleared.
void showFrameAsBackground(Orvex::GUIWindow& window, Orvex::Texture2DAnimation* animation);

}  // namespace Solitaire::minigame
