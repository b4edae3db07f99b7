// One tutorial page: a text shown in a label, a window moved to the animation goal where it
// covers nothing it points at, the screen darkened behind it except the windows it points at,
// and arrows between point pairs that may swing and pulse. Read from a "PAGE" or
// "PAGE_VORLAGE" element; pages of a strip are owned by the strip (templates by the manager).
//
// Split: TutorialPage.cpp (reading, copying, points), TutorialPage_show.cpp (showing, hiding,
// the per-frame update, pictures on the animation window), TutorialPage_place.cpp (placement
// and the text-fit test), TutorialPage_draw.cpp (darkening, redrawn windows, arrows).
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "engine/core/NamedObject.h"
#include "engine/core/Types.h"
#include "engine/gui/TutPoint.h"
#include "engine/render/FRect.h"
#include "signals/sigslot.h"

namespace Orvex {

class GUILabel;
class GUIWindow;
class Texture2D;
class Texture2DAnimation;
class TutorialStrip;
class XMLNode;

// A goal the page window may be placed at, with the screen cells it covers.
struct TutAnimGoal {
    std::wstring name;
    std::vector<u32> masks;
    bool allMasks = false;

    // Free when its masks keep clear of the occupied cells (all of them with allMasks, else one).
    bool isFree(bool const (&occupied)[9]) const;
};

// (window name, goal name) pairs played on show or hide.
using TutBlendList = std::vector<std::pair<std::wstring, std::wstring>>;

// Reads element values in pairs (an odd last value is ignored).
TutBlendList readBlendList(XMLNode const* node);
// Animates each found window to its goal (not forced); missing windows are skipped.
void playBlendList(TutBlendList const& list, double speed);

class TutorialPage : public NamedObject {
public:
    // Cells of the placement grid, and goal masks that one goal may hold.
    static constexpr int kCells = 9;
    static constexpr unsigned kMaxMasks = 64;
    // The text-fit test's slack in pixels.
    static constexpr float kFitSlack = 6.0f;
    // "PFEIL_SIZE" up to this is a fraction of the display width; above it, pixels.
    static constexpr float kArrowSizeFractionLimit = 1.0f;
    // The arrow is never thicker (half thickness) than this share of the display width.
    static constexpr float kMaxArrowHalfShare = 0.25f;

    TutorialPage(XMLNode& node, TutorialStrip* owner);
    // A copy of a template for a new owner: own copies of its points, no hook connections. Like
    // the template a "VORLAGE" names, it is left out (a default page of the template's name)
    // when the copy budget of the file being read is spent (CopyBudget).
    TutorialPage(TutorialPage const& source, TutorialStrip* owner);
    TutorialPage& operator=(TutorialPage const&) = delete;
    ~TutorialPage() override;

    // What a copy of this page takes from a copy budget.
    std::size_t copyEntries() const;

    // ---- points ----
    void addPoint(TutPoint* start, TutPoint* goal);
    void clearPoints();
    TutPoint* findPointObject(std::wstring const& name) const;
    std::vector<TutPointPair> const& getPoints() const { return points; }

    // ---- showing (TutorialPage_show.cpp) ----
    void setShown(bool shown);
    bool isShown() const { return shown; }
    void update(double dt);

    // ---- placement (TutorialPage_place.cpp) ----
    void placeWindow(GUIWindow* window, bool force);
    void checkTextFits(GUIWindow* window);
    // Half the arrow's thickness in pixels for a display of that width.
    float arrowHalfThickness(float displayWidth) const;

    // ---- drawing (TutorialPage_draw.cpp) ----
    void onBeforeDraw(GUIWindow& window, bool& drawSelf, bool& redrewPoint, bool& drawChildren);
    void onAfterDraw(GUIWindow& window, bool const& drawn);
    void drawArrows(double alpha);
    void redrawPointWindow(TutPoint const& point);
    // Degrees of a unit direction: 0 along +x, 90 straight down, 270 straight up.
    static float arrowAngle(D3DXVECTOR2 const& direction);
    // The share of an arrow left visible: 1 - overlap with the page / the arrow's bounds
    // (1 for bounds without area).
    static double arrowFade(FRect const& arrowBounds, FRect const& pageRect);

    // Emitted on show: (page, text id, text, use-text-id flag); slots may rewrite the text.
    sigslot::signal4<TutorialPage&, std::wstring const&, std::wstring&, bool&> textHook;

    // ---- settings read from the file ----
    double blendSpeed = 1.0;
    int placementMode = 0;
    bool arrowsAvoided = false;
    bool fittingGoalsOnly = false;
    std::wstring preferredGoal;
    std::wstring goalToResize;
    D3DXVECTOR2 extraSizeOffset{0.0f, 0.0f};
    D3DXVECTOR2 extraSizeFactor{0.0f, 0.0f};
    int constantCheck = 0;
    std::wstring windowName;
    std::vector<TutAnimGoal> goals;
    std::vector<bool> usable;
    TutBlendList blendOnShow;
    TutBlendList blendOnHide;
    bool useTextId = true;
    std::wstring text;
    std::wstring textId;
    std::wstring labelName;
    std::wstring animationName;
    std::wstring textureName;
    std::wstring animationWindowName;
    bool darken = true;
    std::wstring darkenTexture = L"Co_White";
    float darkenValue = 0.75f;
    bool arrowInBackground = true;
    float arrowSize = 25.0f;
    int arrowModeX = 4;
    int arrowModeY = 4;
    std::wstring arrowImage;
    bool wobble = false;
    float wobblePhase = 0.0f;
    float wobbleSpeed = 1.0f;
    float wobbleLengthHigh = 1.0f;
    float wobbleLengthLow = 1.0f;
    float wobbleHeightHigh = 1.0f;
    float wobbleHeightLow = 1.0f;
    double timeLeft = -1.0;
    double maxTimeShown = -1.0;
    bool moveArrow = false;
    float moveSpeed = 1.0f;
    float movePosition = 0.0f;
    float moveRelative = 0.2f;
    float moveAbsolute = 0.0f;

    // ---- state ----
    TutorialStrip* getOwner() const { return owner; }
    FRect const& getTextRect() const { return textRect; }
    std::wstring const& getLastGoal() const { return lastGoal; }
    Texture2DAnimation* getHeldAnimation() const { return heldAnimation; }

private:
    void readNode(XMLNode& node);
    void readGoals(XMLNode& goalsNode);
    void readMove(XMLNode const& move);
    // The settings and own copies of the points, when the copy budget allows.
    void copyTemplate(TutorialPage const& source, std::wstring const& what);
    void copySettings(TutorialPage const& o);
    void releaseAnimation();

    // ---- showing steps (TutorialPage_show.cpp) ----
    // One run of steps 1 to 3 of a showing or hiding.
    void showSteps(bool show);
    void showText();
    // The label-name window when it is a label; with buttonsToo, else a button's label.
    GUILabel* findLabel(bool buttonsToo) const;
    void showAnimation();
    void putPicture(GUIWindow* window, Texture2D* texture, RECT const* source);
    void connectDraw(GUIWindow* window);

    // ---- drawing steps (TutorialPage_draw.cpp) ----
    // The arrow picture: an animation frame or a whole texture; false when there is none.
    bool findArrowImage(Texture2D*& texture, RECT& source) const;

    // ---- state ----

    std::vector<TutPointPair> points;
    TutorialStrip* owner = nullptr;
    Texture2DAnimation* heldAnimation = nullptr;
    Texture2D* heldTexture = nullptr;
    bool shown = false;
    FRect textRect;
    std::wstring lastGoal;
};

}  // namespace Orvex
