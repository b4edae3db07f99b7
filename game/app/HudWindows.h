// What the game object's HUD, shop and per-frame files do alike with a screen's windows, beside
// the screens' lookups (ScreenWindows.h): fill a label's own text id with numbers, take a window's
// centre on the screen, turn a window's blend into the alpha of a colour, and sparkle over a ready
// power or tip button (once when it is ready, then as a reminder every 5 to 10 s).
//
// A label's text id is data and its text a printf-style format; the language's safe formatter
// fills it (Orvex::Text::format), so a format that asks for other kinds or more arguments than
// given prints those conversions empty. A text id the current language lacks leaves the label as
// it is.
#pragma once

#include <cmath>
#include <string>

#include "engine/core/Random.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIProgressBar.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/Text.h"
#include "game/app/ScreenWindows.h"
#include "game/particles/SolPartikelManager.h"
#include "port/d3d9/d3d9types.h"
#include "port/d3dx9/d3dx9math.h"

namespace Solitaire {

// Goals of the HUD's windows.
inline constexpr wchar_t kShown[] = L"AN";
inline constexpr wchar_t kHidden[] = L"AUS";

// The label's text becomes its text id's format filled with the arguments.
template <class... Args>
void formatLabel(Orvex::GUILabel* label, Args const&... args) {
    if (!label) return;
    Orvex::Text* text = findLanguageText(label->getTextId());
    if (!text) return;
    std::wstring out;
    text->format(out, args...);
    label->setText(out);
}

inline D3DXVECTOR2 centreOf(Orvex::GUIWindow const& window) {
    Orvex::FRect const r = window.getScreenRect();
    return D3DXVECTOR2((r.left + r.right) * 0.5f, (r.top + r.bottom) * 0.5f);
}

// The alpha byte of a colour (shifted into place) for a blend value: 255 x value rounded, 0 at
// 0 or less (and for NaN), 255 at 1 or more.
inline D3DCOLOR alphaByte(double value) {
    if (!(value > 0.0)) return 0;
    if (value >= 1.0) return 0xFF000000u;
    return static_cast<D3DCOLOR>(std::lround(value * 255.0)) << 24;
}

// A ready power or tip button is reminded of after this many seconds (a random span), each
// time with a particle flying from and to its middle with these arguments.
constexpr float kReminderMin = 5.0f;
constexpr float kReminderMax = 10.0f;
constexpr float kSparkleFlight = 0.25f;
constexpr int kSparkleValue = 2;

inline float nextReminder() { return Orvex::randomFloat(kReminderMin, kReminderMax); }

inline void sparkleOver(Orvex::GUIWindow const& window, wchar_t const* particle) {
    D3DXVECTOR2 const at = centreOf(window);
    SolPartikelManager::instance().spawnFlying(particle, at, at, kSparkleFlight, kSparkleValue);
}

// Counts a reminder down while its power is ready; at 0 it flies a reminder particle over the
// window and starts again after a random 5 to 10 s.
inline void remind(Orvex::GUIProgressBar& bar, float& countdown, double realStep, wchar_t const* particle) {
    if (!(bar.getRatio() >= 1.0f)) return;
    countdown -= static_cast<float>(realStep);
    if (countdown > 0.0f) return;
    countdown = nextReminder();
    sparkleOver(bar, particle);
}

}  // namespace Solitaire
