// The mini-game "WASCHEN_PUTZEN" (cleaning): the player scrubs a picture clean with the mouse, pass
// after pass (one tool each, WaschenPutzenPass.h). While the left button is held after a press in
// the wash area, the current pass's brush paints along the pointer's path into the pass's mask; the
// last pass done wins. Every frame a post effect of the game's own render passes composes the
// picture: the background, then each pass's overlay blended in through its painted mask
// ("g_Static_SRC", "g_Static_DST", "g_Static_MSK"), into a picture of the background's size that
// the wash area shows.
//
// Keys beside the base's: "RENDERPASS" children ("FILE": render-pass files), "CHECK_EVERY" (the
// coverage check's interval while painting, seconds), "EFFECT" (the post effect's name),
// "ADD_TOOLS_TO_SPIELFELD", "PASS" children, "TEXTUREN" (a texture list local to reading),
// "BACKGROUND". Windows: prefix + "WASCHEN_" + "FENSTER", "CANCEL", "SPIELFELD", "WASCHEN" (the
// wash area), "TOOLS", "HILFE", "FENSTER_VG", "INFO_FENSTER", "INFO" (the label that shows a pass's
// "TEXT_FERTIG" once it is done, and "TEXT_NFERTIG" when a later tool is chosen early). The current
// pass's picture is the cursor over the wash area, its "EMITTER" follows the pointer and emits
// while the player scrubs.
//
// Sound behaviour where the plain rules would go wrong:
//   - the pointer is mapped into the mask and clamped to it before the line is walked, so a pointer
//     far outside a tiny wash area cannot make a walk of millions of points;
//   - the cursor's size flag is the pass's, and hide clears the whole cursor, flag included;
//   - a render-pass file, mask or overlay that is missing or of any size leaves the game playable
//     (the composition is skipped without its post effect or result picture).
//
// Files:
//   WaschenPutzenGame.cpp        reading, windows (init), start, show, hide
//   WaschenPutzenGame_play.cpp   the mouse, the tools, update
//   WaschenPutzenGame_draw.cpp   the composition (draw) and the wash area's picture
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/core/XMLNode.h"
#include "engine/platform/InputState.h"
#include "game/minigames/Minispiel.h"
#include "port/d3dx9/d3dx9math.h"

namespace Orvex {
class GUILabel;
class GUIWindow;
class LookAtCamera;
class RenderManager;
class Texture2D;
}  // namespace Orvex

namespace Solitaire {

class SolPartikel;

class WaschenPutzenGame : public Minispiel {
public:
    class Pass;

    static constexpr wchar_t const* kKind = L"WASCHEN_";
    static constexpr std::size_t kMaxPasses = 32;
    static constexpr std::size_t kMaxRenderPassFiles = 8;
    // The picture's size until a background is found.
    static constexpr Orvex::u32 kDefaultWidth = 640;
    static constexpr Orvex::u32 kDefaultHeight = 480;
    static constexpr float kNoCheck = 3.4028235e38f;
    // The user pointer slot of a tool window that holds its pass.
    static constexpr Orvex::u32 kPassSlot = 2;
    // The brush's time step at most: a slow frame paints no more than this.
    static constexpr float kMaxBrushStep = 1.0f / 30.0f;
    // How long the emitter keeps emitting after the pointer moved or a pixel changed.
    static constexpr float kParticleTime = 0.2f;
    // The shader parameters of the post effect.
    static constexpr char const* kSource = "g_Static_SRC";
    static constexpr char const* kOverlay = "g_Static_DST";
    static constexpr char const* kMask = "g_Static_MSK";

    explicit WaschenPutzenGame(Orvex::XMLNode& element);
    ~WaschenPutzenGame() override;

    void update(double const& dt) override;
    void draw() override;
    void createWindows() override;
    void start() override;
    void show() override;
    void hide() override;

    // ---- the pointer, from the manager while active ----
    void onMouseDown(Orvex::MouseState& state, Orvex::OrvexMouseButton const& button) override;
    void onMouseUp(Orvex::MouseState& state, Orvex::OrvexMouseButton const& button) override;
    void onMouseMove(Orvex::MouseState& state, Orvex::OrvexAchse const& axis) override;

    // ---- slots ----
    void onWashAreaDrawn(Orvex::GUIWindow& window, bool const& drawn);
    void onToolClicked(Orvex::GUIWindow& window);
    void onLinePoint(int const& x, int const& y);

    // The pointer's place over the wash area as (u, v), 0 to 1 inside; false without a wash area of
    // some size.
    bool mapPointer(D3DXVECTOR2 const& pointer, float& u, float& v) const;

    std::vector<std::unique_ptr<Pass>> const& getPasses() const { return passes_; }
    Pass* getCurrentPass() const;
    std::size_t getCurrentIndex() const { return current_; }
    Orvex::GUIWindow* getWashArea() const { return washArea_; }
    Orvex::GUIWindow* getInfoWindow() const { return infoWindow_; }
    Orvex::GUILabel* getInfoLabel() const { return infoLabel_; }
    Orvex::GUIWindow* getToolsArea() const { return toolsArea_; }
    Orvex::RenderManager* getRenderManager() const { return renderManager_.get(); }
    Orvex::Texture2D* getResult() const { return result_.get(); }
    Orvex::Texture2D* getBackground() const { return background_.get(); }
    SolPartikel* getParticles() const { return particles_.get(); }
    bool isShown() const { return shown_; }
    bool isPainting() const { return painting_; }
    D3DXVECTOR2 getLastPoint() const { return lastPoint_; }

private:
    void buildWindows();
    // Shows a text id in the info window, brought to the front.
    void inform(std::wstring const& textId);
    void hideInfo();
    // The current pass's emitter, started anew (the old one ended).
    void startEmitter();
    void endEmitter();
    void releaseRendering();
    void updateCursor(double dt);
    void paintAlongPointer(double dt);

    std::vector<std::unique_ptr<Pass>> passes_;
    std::size_t current_ = 0;
    Orvex::GUIWindow* foreground_ = nullptr;
    Orvex::GUIWindow* playfield_ = nullptr;
    Orvex::GUIWindow* washArea_ = nullptr;
    Orvex::GUIWindow* toolsArea_ = nullptr;
    Orvex::GUIWindow* infoWindow_ = nullptr;
    Orvex::GUILabel* infoLabel_ = nullptr;
    Orvex::XMLNode renderPasses_;
    // The render-pass files' names, for the render manager's log lines.
    std::wstring renderPassSource_;
    std::unique_ptr<Orvex::RenderManager> renderManager_;
    std::unique_ptr<Orvex::LookAtCamera> camera_;
    std::wstring effect_;
    Orvex::CountedRef<Orvex::Texture2D> background_;
    Orvex::u32 backgroundWidth_ = kDefaultWidth;
    Orvex::u32 backgroundHeight_ = kDefaultHeight;
    Orvex::CountedRef<Orvex::Texture2D> result_;
    bool painting_ = false;
    D3DXVECTOR2 lastPoint_{0.0f, 0.0f};
    float brushStep_ = 0.0f;
    float checkTimer_ = 0.0f;
    float checkEvery_ = kNoCheck;
    bool addToolsToSpielfeld_ = true;
    bool shown_ = false;
    // Held here as well as by the particle manager, to end it when the pass or the game ends.
    Orvex::CountedRef<SolPartikel> particles_;
    float movedTimer_ = 0.0f;
    float paintedTimer_ = 0.0f;
};

}  // namespace Solitaire
