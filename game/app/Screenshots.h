// The pictures the keys write: the screenshot (F7), the back buffer as "Screenshot_<n>.png" in
// the working folder, and the makers' preview picture of the running variant (F8). The game
// object holds it by value; its key handler decides when.
//
// Files: Screenshots.cpp (all of it).
#pragma once

namespace Orvex {
class D3DInterface;
}  // namespace Orvex

namespace Solitaire {

class Kartenmanager;
class SolitaireCamera;
class SolitaireRenderer;

class Screenshots {
public:
    // The device captured, and the table drawn for a preview: its renderer, camera and cards.
    void setDevice(Orvex::D3DInterface* d3d, SolitaireRenderer* renderer, SolitaireCamera* camera, Kartenmanager* cards);
    // The back buffer saved as "Screenshot_<n>.png" in the working folder; false (nothing
    // written, the number kept) when the capture fails.
    bool takeScreenshot();
    // Cards and piles drawn at the preview size and saved under the current variant's preview
    // path (below the working folder, folders made as needed); the previews then load again.
    bool writePreviewPicture();
    // The number the next screenshot is given (this run's; each run starts at 0).
    static int getScreenshotCounter();

private:
    Orvex::D3DInterface* d3d_ = nullptr;
    SolitaireRenderer* renderer_ = nullptr;
    SolitaireCamera* camera_ = nullptr;
    Kartenmanager* cards_ = nullptr;
};

}  // namespace Solitaire
