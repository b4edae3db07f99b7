// The game object's key handler: screenshots on F7, the makers' keys, and dismissing the
// game-name banner and the help panel (the pictures themselves are Screenshots').
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/platform/DirectInputInterface.h"
#include "game/app/Profil.h"
#include "game/app/ProfilManager.h"
#include "game/app/SolitaireGame2.h"
#include "game/cards/Kartenmanager.h"

namespace Solitaire {

namespace {

// DirectInput codes of the makers' keys.
constexpr unsigned char kKeyF1 = 0x3B;
constexpr unsigned char kKeyF8 = 0x42;

}  // namespace

void SolitaireGame2::onKeyPressed(Orvex::KeyState&, unsigned char const& code) {
    // Keys go on while the first profile is made: they type its name.
    if (code == Screenshots::kScreenshotKey) screenshots_.takeScreenshot();
    // The preview picture and the points, for the makers' two profiles only.
    Profil const* profile = ProfilManager::instance().getActiveProfile();
    if (profile && (profile->getName() == L"VORTMAK" || profile->getName() == L"ZELUP")) {
        if (code == kKeyF8) screenshots_.writePreviewPicture();
        if (code == kKeyF1) {
            Orvex::DirectInputInterface const& input = Orvex::DirectInputInterface::getInstance();
            Orvex::GUIWindow const* under = gui_->windowAt(D3DXVECTOR2(input.mouseX, input.mouseY), Orvex::GUISystem::kHitHover);
            if (under && under->getName() == L"I_Points2") cards_->changeScore(kMakerPoints);
        }
    }
    // A key dismisses the banner, which may bring the help panel, or else the help panel.
    tableInput_.dismissPanels();
}

}  // namespace Solitaire
