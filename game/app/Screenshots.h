// The pictures the game writes: the screenshot (F7), the back buffer as "Screenshot_<n>.png" in
// the working folder, the makers' preview picture of the running variant (F8), and a wallpaper
// of the extras screen into the user folder. The game object holds it by value; its key handler
// and its button dispatcher decide when.
//
// Files: Screenshots.cpp (all of it).
#pragma once

namespace Orvex {
class D3DInterface;
class GUIMenuManagerN;
class GUIWindow;
}  // namespace Orvex

namespace Solitaire {

class Kartenmanager;
class SolitaireCamera;
class SolitaireRenderer;

class Screenshots {
public:
    // DirectInput code of the screenshot key.
    static constexpr unsigned char kScreenshotKey = 0x41;

    // What the captures use: the device captured, and the table drawn for a preview: its
    // renderer, camera and cards; the menus that tell of a saved wallpaper.
    struct Links {
        Orvex::D3DInterface* d3d = nullptr;
        SolitaireRenderer* renderer = nullptr;
        SolitaireCamera* camera = nullptr;
        Kartenmanager* cards = nullptr;
        Orvex::GUIMenuManagerN* menus = nullptr;
    };

    explicit Screenshots(Links const& links);
    // The back buffer saved as "Screenshot_<n>.png" in the working folder; false (nothing
    // written, the number kept) when the capture fails.
    bool takeScreenshot();
    // Cards and piles drawn at the preview size and saved under the current variant's preview
    // path (below the working folder, folders made as needed); the previews then load again.
    bool writePreviewPicture();
    // The number the next screenshot is given (this run's; each run starts at 0).
    static int getScreenshotCounter();
    // A click on a window named "...WALLPAPER...": the texture of its name saved as "<user
    // id>.png" in the user folder, the folder shown, and "EXTRASMENUW_SAVED" names the path in
    // "EWS_STATUS". False (nothing written) without the texture or with a user id that is not a
    // plain file name.
    bool saveWallpaper(Orvex::GUIWindow& window);

private:
    Orvex::D3DInterface* d3d_ = nullptr;
    SolitaireRenderer* renderer_ = nullptr;
    SolitaireCamera* camera_ = nullptr;
    Kartenmanager* cards_ = nullptr;
    Orvex::GUIMenuManagerN* menus_ = nullptr;
};

}  // namespace Solitaire
