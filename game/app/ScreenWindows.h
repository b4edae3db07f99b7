// Lookups the screens make by name on every refresh: a label that may also be a button's label,
// a language text that may be missing, whether a menu is active, and a texture from the device's registry or, failing
// that, from the animations' textures. Each gives null for what is not there, so a screen whose
// data lacks a window, text or picture skips only the step that needs it.
#pragma once

#include <string>

namespace Orvex {
class GUILabel;
class GUIWindow;
class Text;
class Texture2D;
}  // namespace Orvex

namespace Solitaire {

// The first window of that name at any level of the GUI (SolitaireGame2::findWindow), or null.
Orvex::GUIWindow* findScreenWindow(std::wstring const& name);
// findScreenWindow as a window of that kind, or null.
template <class T>
T* findScreenWindowAs(std::wstring const& name) {
    return dynamic_cast<T*>(findScreenWindow(name));
}
// The window itself when it is a label, its label when it is a button, else null.
Orvex::GUILabel* labelOf(Orvex::GUIWindow* window);
// labelOf the first window of that name.
Orvex::GUILabel* findLabel(std::wstring const& name);
// The current language's text of that id, or null.
Orvex::Text* findLanguageText(std::wstring const& id);
// The same for writing that count: the id's form for one where the language has it.
Orvex::Text* findLanguageText(std::wstring const& id, long long count);
// The current language's text of that id formatted with the arguments; empty when missing.
template <class... Args>
std::wstring formatLanguageText(std::wstring const& id, Args const&... args);
// The first window of that name enabled or disabled, shown or hidden; nothing when missing.
void setWindowEnabled(std::wstring const& name, bool enabled);
void setWindowVisible(std::wstring const& name, bool visible);
// The texture of that name in the device's registry, else among the animations' textures.
Orvex::Texture2D* findScreenTexture(std::wstring const& name);
// Whether the menu of that name exists and is active.
bool isMenuActive(wchar_t const* name);

}  // namespace Solitaire

#include "engine/gui/Text.h"

namespace Solitaire {

template <class... Args>
std::wstring formatLanguageText(std::wstring const& id, Args const&... args) {
    std::wstring out;
    if (Orvex::Text* text = findLanguageText(id)) text->format(out, args...);
    return out;
}

}  // namespace Solitaire
