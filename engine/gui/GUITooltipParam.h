// One tooltip text of a GUI window ("TOOLTIP" in "WINDOW_PARAMS"): a language text id or a
// literal text, an id for game code, an enabled flag and a display delay. getText computes the
// text and then lets textHook rewrite it. Reference counted; a window holds one reference per
// record and records may be shared between windows. A shared record outlives the window it names:
// it forgets that window when the window is destroyed (its hook then emits nothing).
#pragma once

#include <string>

#include "engine/core/NamedObject.h"
#include "signals/sigslot.h"

namespace Orvex {

class GUIWindow;
class LanguageManager;
class XMLNode;

class GUITooltipParam : public NamedObject {
public:
    sigslot::signal3<GUIWindow&, GUITooltipParam&, std::wstring&> textHook;

    GUITooltipParam();
    // "NAME", then "TEXT_ID", "TEXT" (wins over the id), "TOOLTIP_ID", "ENABLED", "TIMER".
    explicit GUITooltipParam(XMLNode& node);
    // Every field but the hook's connections; the window pointer is copied as it is.
    GUITooltipParam(GUITooltipParam const& other);
    GUITooltipParam& operator=(GUITooltipParam const&) = delete;

    // The language text of "TEXT_ID" (current language) or "TEXT"; then, with a window,
    // textHook(window, *this, out). Returns out.
    std::wstring& getText(std::wstring& out);
    std::wstring getTextId() const { return textId_; }
    // The literal text; the record stops using its text id.
    void setText(std::wstring const& text);
    bool isEnabled() const { return enabled_; }
    double getTimer() const { return timer_; }
    // "TIMER" >= 0: the record's own delay replaces the tooltip widget's.
    bool hasOwnTimer() const { return timer_ >= 0.0; }
    int getTooltipId() const { return tooltipId_; }
    bool usesTextId() const { return useTextId_; }
    GUIWindow* getWindow() const { return window_; }
    void setWindow(GUIWindow* window);

    // Same text id, same tooltip id, and neither uses its text id (records with literal texts
    // are told apart by their ids only).
    bool operator==(GUITooltipParam const& other) const;

    // Where text ids are looked up (the engine's language manager); null: ids give empty text.
    static void setLanguageSource(LanguageManager* language);
    static LanguageManager* getLanguageSource();

private:
    void onWindowDestroyed(NamedObject* object);

    int tooltipId_ = 0;
    std::wstring textId_;
    std::wstring text_;
    double timer_ = -1.0;
    GUIWindow* window_ = nullptr;
    // The window as the object whose destroyed signal this record listens to.
    NamedObject* windowObject_ = nullptr;
    bool useTextId_ = true;
    bool enabled_ = true;
};

}  // namespace Orvex
