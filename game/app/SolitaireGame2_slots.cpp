// The game object's small slots: window activation, the object-used tutorial trigger, the
// story's music requests, the hover sound, the mode music, the table re-layout and the slots of
// events the game does not use.
#include <cmath>

#include "engine/core/PerfTimer.h"
#include "engine/core/engine/OrvexEngine.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIWindow.h"
#include "engine/platform/D3DInterface.h"
#include "engine/platform/MusicManager.h"
#include "engine/platform/PlayingSound.h"
#include "engine/platform/SoundManager.h"
#include "game/app/SolitaireGame2.h"
#include "game/cards/KartenObjekt.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/TableRenderer.h"
#include "game/look/SolitaireCamera.h"
#include "game/particles/SolPartikel.h"
#include "game/story/ExtendedTutorialManager.h"

namespace Solitaire {

namespace {

constexpr wchar_t kHoverSound[] = L"OverButton";
constexpr double kHoverVolume = 1.0;
// Inner table rectangle as shares of the table window (15, 15, 60 and 170 pixels at 1024 x 768).
constexpr float kTableSideShare = 0.0146484375f;
constexpr float kTableTopShare = 0.078125f;
constexpr float kTableBottomShare = 0.2213541716337204f;

// A window coordinate as a whole pixel, truncated; values no screen has are held at a bound
// inside the LONG range (a hostile GUI file must not make the conversion undefined).
constexpr LONG kPixelBound = 2000000000;
LONG toPixel(float v) {
    if (std::isnan(v)) return 0;
    if (!(v > -static_cast<float>(kPixelBound))) return -kPixelBound;
    if (v > static_cast<float>(kPixelBound)) return kPixelBound;
    return static_cast<LONG>(v);
}

}  // namespace

void SolitaireGame2::onWindowActive(bool const& active) {
    // The settings' music stream this would pause or run is not part of the game: the music
    // plays on.
    active_ = active;
    if (!active) return;
    // Two steps, so the time away is not one big step.
    engine_->getPerfTimer()->update();
    engine_->getPerfTimer()->update();
    cursorTable_.applyCursor();
}

void SolitaireGame2::onObjectUsed(KartenObjekt& object, bool flag) {
    extTutorials_->onCardEvent(object.getUserName(), flag);
}

void SolitaireGame2::onStoryMusic(std::wstring const& name) { Orvex::MusicManager::getInstance().play(name, false); }

void SolitaireGame2::onStoryModeMusic() { playModeMusic(false); }

void SolitaireGame2::onActiveWindowChanged(Orvex::GUIWindow* window) {
    auto* button = dynamic_cast<Orvex::GUIButton*>(window);
    if (!button || button->getOptions().inputIgnore != 0) return;
    Orvex::SoundManager& sounds = Orvex::SoundManager::getInstance();
    sounds.playSample(sounds.playSound(kHoverSound), kHoverVolume);
}

void SolitaireGame2::playModeMusic(bool const& restart) {
    Orvex::MusicManager::getInstance().play(screenState_ == kScreenInGame ? L"INGAME" : L"MENU", restart);
}

Orvex::FRect SolitaireGame2::innerTableRect(Orvex::FRect const& window) {
    float const width = window.right - window.left;
    float const height = window.bottom - window.top;
    return Orvex::FRect(window.left + width * kTableSideShare, window.top + height * kTableTopShare,
                        window.right - width * kTableSideShare, window.bottom - height * kTableBottomShare);
}

void SolitaireGame2::onDisplaySizeChanged(unsigned long const&, unsigned long const&) {
    Orvex::FRect const window = renderer_->getWindowRect();
    renderer_->setViewport(RECT{toPixel(window.left), toPixel(window.top), toPixel(window.right), toPixel(window.bottom)});
    camera_->setViewRect(Orvex::FRect(0.0f, 0.0f, static_cast<float>(d3d_->getWidth()),
                                      static_cast<float>(d3d_->getHeight())));
    camera_->setRelativeRect(window);
    camera_->setSecondRect(innerTableRect(window));
    // The card manager fits its camera and puts the screen-anchored piles on the new size now,
    // not a frame later.
    cards_->relayout();
}

void SolitaireGame2::ignoreCount(unsigned long const&) {}
void SolitaireGame2::ignoreKey(Orvex::KeyState&, unsigned char const&) {}
void SolitaireGame2::ignoreEvent() {}
void SolitaireGame2::ignoreBeforeDraw(Orvex::GUIWindow&, bool&, bool&, bool&) {}

}  // namespace Solitaire
