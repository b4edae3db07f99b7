// The game's start-up pictures: the branding pictures and the publisher splash, the loading screen
// with its bar and message pump, and the screen frame ("data\GUI\Rand.gui"): four bands around
// "R_RANDCENTER" drawn for "R_RANDMENU" and over the loading screen. The game object holds it by
// value, built with its Links, and reports its loading steps through it.
//
// Files: LoadingScreen.cpp (all of it).
#pragma once

#include "engine/core/CountedRef.h"
#include "port/d3d9/d3d9types.h"
#include "signals/sigslot.h"

namespace Orvex {
class D3DInterface;
class GUISystem;
class GUIWindow;
class OrvexEngine;
class Sprite;
class Texture2D;
}  // namespace Orvex

namespace Solitaire {

class LoadingScreen : public sigslot::has_slots<sigslot::single_threaded> {
public:
    // The publisher splash's display time (ms by the tick count), the branding pictures' (ms).
    static constexpr unsigned kSplashMs = 3000;
    static constexpr unsigned kBrandingMs = 2000;
    // The frame bands reach this far beyond the outer window.
    static constexpr int kBandReach = 5000;
    // Clear colour of the loading screen and the game's frames (opaque mid grey).
    static constexpr D3DCOLOR kClearColour = 0xFF808080;
    static constexpr double kLoadingFrameSeconds = 0.1;

    // What the screen uses: the engine (its splash pictures and quit request), the device, the GUI
    // the screens load into, the batcher the bands are drawn with.
    struct Links {
        Orvex::OrvexEngine* engine = nullptr;
        Orvex::D3DInterface* d3d = nullptr;
        Orvex::GUISystem* gui = nullptr;
        Orvex::Sprite* sprite = nullptr;
    };

    explicit LoadingScreen(Links const& links);
    LoadingScreen(LoadingScreen const&) = delete;
    LoadingScreen& operator=(LoadingScreen const&) = delete;

    // The branding pictures, then the publisher splash (its full time, pumping messages).
    void showSplashes();
    // The screen frame, then the loading screen's window "LoadingScreens" (held).
    void load();
    // Sets the loading bar and pumps window messages; false when the program was told to quit.
    // While the game is being built, a frame is drawn only when the bar's fill has grown by a
    // pixel since the last frame and kLoadingFrameSeconds (at least a refresh period of the
    // display) of loading have passed since it: loading steps are quicker than the frames
    // showing them, and a bar moving ten times a second looks smooth.
    bool showLoadingProgress(float const& fraction, bool draw);
    // The game is built: every later call draws (its callers want the frame).
    void setGameBuilt() { gameBuilt_ = true; }
    // Lets go of the loading window (before the GUI goes).
    void release();

    Orvex::GUIWindow* getWindow() const { return window_.get(); }

private:
    void showPublisherSplash();
    void loadScreenFrame();
    void drawLoadingScreen();
    // Draws the four frame bands around "R_RANDCENTER" within the given window's rectangle (the
    // slot of "R_RANDMENU"'s own drawing).
    void drawScreenFrame(Orvex::GUIWindow& window, bool const& drawn);

    Orvex::OrvexEngine* engine_ = nullptr;
    Orvex::D3DInterface* d3d_ = nullptr;
    Orvex::GUISystem* gui_ = nullptr;
    Orvex::Sprite* sprite_ = nullptr;
    // The loading screen; the bar's fill in pixels and the time (steady clock, seconds) of the
    // last loading frame (-1: none yet).
    Orvex::CountedRef<Orvex::GUIWindow> window_;
    long fill_ = -1;
    double frameTime_ = -1.0;
    bool gameBuilt_ = false;
    // The screen frame.
    Orvex::GUIWindow* frameCentre_ = nullptr;
    Orvex::GUIWindow* frameMenu_ = nullptr;
    Orvex::Texture2D* frameLeft_ = nullptr;
    Orvex::Texture2D* frameRight_ = nullptr;
    Orvex::Texture2D* frameTop_ = nullptr;
    Orvex::Texture2D* frameBottom_ = nullptr;
};

}  // namespace Solitaire
