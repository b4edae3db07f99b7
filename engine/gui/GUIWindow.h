// The GUI window: the one class every screen element is made of (screens, buttons, labels,
// frames, mini-game boards). A window is built from one "WINDOW" element of a GUI file and holds
// its layout rectangle, options and draw options, named animation goals with the keyframe track
// that glides between them, tooltip records, one drawer and any movers, and its children, each
// held by one counted reference. Game code learns of clicks, focus, goals and tree changes
// through the 23 signals.
//
// Ownership: windows are reference counted (NamedObject). The creator holds the first reference,
// a parent one per child, the GUI system one per top-level window and per held role (active,
// focus, pressed). Operations that emit signals hold a reference on the window for their whole
// run, so a slot may remove or release the window (even destroy its last outside reference).
//
// The tree stays a tree: a window is never its own ancestor, a child has one parent, and no
// window keeps a pointer to a parent that let it go (removeAllChildren and the destructor clear
// it). The destructor detaches its children quietly: its own signals are cut before anything is
// torn down, so no slot sees a half-destroyed window.
//
// The class is split over files by aspect:
//   GUIWindow.cpp           construction from a node, copy, clone, destruction, adding goals,
//                           the drawer, tree queries, moving, the parent link, tooltip records,
//                           the hit test
//   GUIWindow_goals.cpp     goal control: animateToGoal, jumpToGoal, retargeting, the track slots
//   GUIWindow_blend.cpp     state blending and the per-frame update
//   GUIWindow_rect.cpp      the screen rectangle, alpha and enabled state up the tree
//   GUIWindow_input.cpp     presses, releases, clicks, the wheel, focus and activation, isEnabled,
//                           the covered-by-a-later-window test
//   GUIWindow_children.cpp  adding and removing children, z-order
//   GUIWindow_templates.cpp copy masks, template records, shared look textures, copying from a
//                           template
//   GUIWindow_draw.cpp      drawing, the stencil pass and the drawer's layers
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/core/NamedObject.h"
#include "engine/core/Types.h"
#include "engine/gui/GUIAnimationsGoal.h"
#include "engine/gui/MultiInterpolation.h"
#include "engine/platform/InputState.h"
#include "engine/render/FRect.h"
#include "port/d3d9/d3d9.h"
#include "port/d3dx9/d3dx9math.h"
#include "signals/sigslot.h"

namespace Orvex {

class D3DInterface;
class GUITooltipParam;
class GUIWindowDrawer;
class GUIWindowMover;
class XMLNode;
class XMLProperty;
class XMLValueTokens;

// Parts of a window that copyFromTemplate copies, by copy-mask bit.
enum GUICopyMask : int {
    kCopyPosition = 1,
    kCopySize = 2,
    kCopyTextures = 4,
    kCopyTimes = 8,
    kCopyColors = 16,
    kCopyTextIds = 32,
    kCopyOptions = 64,
    kCopyAnimationGoals = 128,
    kCopyFontStyles = 256,
    kCopyDrawTypes = 512,
    kCopyAll = -1,
};

// "VORLAGE_PRE" / "VORLAGE_POST": a template's name and what to copy from it.
struct GUITemplateRecord {
    std::wstring name;
    int mask = 0;
};

// The copy mask of the words [first, end) of a list: "ALL", the part words, "!" + a part word
// clearing it; other words are ignored. Words act in order.
int parseCopyMask(XMLValueTokens const& words, unsigned const& first, unsigned const& end);
// Name, then mask words, blank-separated. A name without mask words copies nothing.
GUITemplateRecord parseTemplateRecord(XMLProperty const& text);

// Shares the window's own look textures of `from` (normal, press, mark, press-mark, disable,
// shape, the normal and mark animations) into `to`, a reference each; what blending and
// templates hand over as one.
void shareLookTextures(GUITextureSet& to, GUITextureSet const& from);

// A flag and two clocks: seconds with the flag set, seconds with it clear.
struct GUIWindowTimer {
    bool flag = false;
    double on = 0.0;
    double off = 0.0;
};

// The window's timers and activation blend (getBlendState).
struct GUIWindowTimes {
    GUIWindowTimer focus;
    GUIWindowTimer activation;
    double activationBlend = 0.0;  // 0 inactive .. 1 active
    GUIWindowTimer press;          // `on`: seconds since the last press or release
};

class GUIWindow : public NamedObject {
public:
    // A release counts as a click this long after the last press or release.
    static constexpr double kClickSeconds = 2.0;
    static constexpr float kClickVolume = 1.0f;

    using GoalTrack = MultiInterpolationUser<GUIAnimationsGoal, float>;

    explicit GUIWindow(std::wstring const& name);
    // From a GUI file element ("WINDOW"); children are made by the GUI system's factory, and a
    // child of a "TYPE" the factory does not know is left out with a log line.
    explicit GUIWindow(XMLNode& node);
    // Copies the look, goals, templates, tooltips, drawer and movers; not the children, parent,
    // signal connections, timers or screen rectangle.
    GUIWindow(GUIWindow const& other);
    GUIWindow& operator=(GUIWindow const&) = delete;
    ~GUIWindow() override;

    // ---- virtual operations, in slot order (input in GUIWindow_input.cpp, drawing in _draw.cpp,
    //      the update in _blend.cpp, the rest beside the constructor) ----
    virtual GUIWindow* clone();
    virtual void setUserId(std::wstring const& id);
    virtual void onLeftPress(MouseState& state);
    virtual void onLeftRelease(MouseState& state);
    virtual void onRightPress(MouseState& state);
    virtual void onRightRelease(MouseState& state);
    virtual void onAxis(MouseState& state, OrvexAchse axis);
    virtual void draw(FRect const& clip);
    virtual void drawRoot(bool const& beginSprite);
    virtual void update(double const& dt);
    virtual void drawShape();
    // Whether drawShape draws anything: a clipping window without a shape clips its subtree by
    // its rectangle instead (a stencil shape of nothing would hide every child).
    virtual bool hasShape() const;
    virtual void drawSelf();
    virtual void bringChildToFront(GUIWindow* child);
    virtual void bringToFront();
    virtual void sendChildToBack(GUIWindow* child);
    virtual void sendToBack();
    virtual bool isEnabled();
    virtual void setFocus(bool on);
    virtual bool canLoseFocus() { return true; }
    virtual void setActive(bool on, GUIWindow* successor);
    virtual bool canActivate() { return true; }
    virtual bool canDeactivate() { return true; }
    // False when the child is already here, or is this window or one of its ancestors (the tree
    // would close into a cycle). True for null (nothing happens).
    virtual bool addChild(GUIWindow* child, bool const& noAddRef, bool const& append);
    virtual bool removeChild(GUIWindow* child);
    // Releases every child without signals; the children forget this parent.
    virtual void removeAllChildren();
    // While on, children added are neither sorted by layer nor laid out one by one; turning it
    // off sorts and lays the window out once, so a list filled anew costs linear time, not
    // quadratic (each child added would lay out every child before it again).
    virtual void holdLayout(bool on);
    virtual void reapplyTemplates();
    virtual void applyTemplateByName(GUITemplateRecord const& record);
    virtual void copyFromTemplate(GUIWindow* source, int const& mask);
    virtual bool shouldDrawChild(unsigned index, GUIWindow* child);

    // ---- records and state ----
    GUIRect& getRect() { return rect; }
    GUIDrawOptions& getDrawOptions() { return drawOptions; }
    GUIWindowOptions& getOptions() { return options; }
    GUIRect const& getRect() const { return rect; }
    GUIDrawOptions const& getDrawOptions() const { return drawOptions; }
    GUIWindowOptions const& getOptions() const { return options; }
    GUIRectAxis& getMinSize() { return minSize; }
    GUIRectAxis& getMaxSize() { return maxSize; }
    FRect getScreenRect() const { return screenRect; }
    GUIAnimationsGoal& getCurrentState() { return currentState; }
    GUIAnimationsGoal& getDefaultGoal() { return defaultGoal; }
    std::vector<GUIAnimationsGoal*> const& getGoals() const { return goals; }
    // The goal track, made on first use: most windows never animate, and a track holds four goals.
    GoalTrack& getGoalAnimation();
    GUIWindow* getParent() const { return parent; }
    std::vector<GUIWindow*> const& getChildren() const { return children; }
    std::wstring const& getUserId() const { return userId; }
    int getUserValue() const { return userValue; }
    void setUserValue(int value) { userValue = value; }
    GUIWindowTimes const& getBlendState() const { return times; }
    std::wstring getClickSound() const { return clickSound; }
    GUITemplateRecord const& getTemplatePre() const { return templatePre; }
    GUITemplateRecord const& getTemplatePost() const { return templatePost; }
    int getTemplateMask() const { return templateMask; }
    GUIWindowDrawer* getDrawer() const { return drawer; }
    // Replaces (and deletes) the drawer; null leaves the window without one.
    void setDrawer(GUIWindowDrawer* newDrawer);
    std::vector<GUIWindowMover*> const& getMovers() const { return movers; }
    int getStencilBit() const { return stencilBit; }
    IDirect3DStateBlock9* getStateBlock() const { return stateBlock; }

    // ---- rectangle, alpha, colour and enabled state (GUIWindow_rect.cpp) ----
    // "ALPHA", times the parents' when "ACCUMULATE_ALPHA_FROM_ROOT" is set.
    double getAccumulatedAlpha() const;
    // "MODULATE_COLOR" with its alpha times the accumulated alpha.
    D3DXCOLOR getDrawColor() const;
    // "ENABLED" of this window and every ancestor.
    bool isEnabledInTree() const;
    // Recomputes screenRect from the parent's (or the screen's) rectangle, the size limits and
    // the movers; emits rectChanged unless noSignal; lays out and recomputes the children.
    void updateRect(bool noSignal, bool childrenNoSignal);
    // Places the window by pixels from its parent's top-left corner (a plain top-left
    // rectangle, no relative parts) and recomputes it; for screens built by code.
    void setPixelRect(float x, float y, float w, float h);
    // Shifts the window by pixel offsets of its position set so that its rectangle lies inside
    // bounds (else the parent's rectangle, else the screen); a window larger than the bounds
    // ends flush with their right or bottom edge.
    void moveInsideParent(FRect const* bounds);
    // Screen width and height the rectangles resolve against (the device's display mode).
    float getScreenWidth() const;
    float getScreenHeight() const;

    // ---- tree queries ----
    GUIWindow* findChild(std::wstring const& name);
    void collectByUserId(std::wstring const& id, std::vector<GUIWindow*>& out);
    void collectChildren(std::vector<GUIWindow*>& out) const;
    void collectDescendants(std::vector<GUIWindow*>& out) const;
    // True when this window lies below `other` (or is it).
    bool isDescendantOf(GUIWindow const* other) const;
    GUIWindow* getMoveParent();
    // The window whose rectangle a drag is measured in: the parent of the window that moveTo
    // moves, or null at the top.
    GUIWindow* getMoveContainer();
    bool moveTo(D3DXVECTOR2 const& point);
    // Hangs the window below newParent without entering its child list (a scroll panel's
    // content); refused for a descendant. The window forgets a parent that is destroyed.
    void setParent(GUIWindow* newParent);
    void sortChildrenByLayer();
    // Counts every change of any window's child list (a child added, removed or moved in the
    // order) and every window destroyed, so an index of the windows knows when it has to be made
    // again (GUISystem::findWindow).
    static u64 treeChangeCount() { return treeChanges_; }
    // The top-most window of this subtree under the point (flags bit 2: an input query).
    GUIWindow* hitTest(D3DXVECTOR2 const& point, FRect const& clip, int const& flags);

    // ---- tooltips ----
    GUITooltipParam* getFirstTooltipParam() const;
    GUITooltipParam* findTooltipParam(std::wstring const& name) const;
    GUITooltipParam* findTooltipParamById(int const& id) const;
    std::vector<GUITooltipParam*> const& getTooltipParams() const { return tooltipParams; }
    // Appends the other window's records, shared (a reference added to each).
    void shareTooltipParams(GUIWindow const& other);

    // ---- goals (GUIWindow_goals.cpp) ----
    GUIAnimationsGoal& findGoal(std::wstring const& name);
    bool hasGoal(std::wstring const& name) const;
    GUIAnimationsGoal getTargetState() const;
    bool isAnimating() const;
    // Plays the track from the present state to the goal (unless it is the target already and
    // not forced); a rate (speedFactor x "SPEED") of 0, below 0 or not a number jumps.
    void animateToGoal(std::wstring const& name, double const& speedFactor, bool const& force);
    void jumpToGoal(std::wstring const& name);
    void retargetAnimation(GUIAnimationsGoal const& goal);
    void applyState(GUIAnimationsGoal const& state);
    void initDefaultState();
    void captureCurrentState();
    // Takes ownership of a goal read elsewhere; "DEFAULT" also becomes the default goal.
    void addGoal(GUIAnimationsGoal* goal);

    // ---- state blending (GUIWindow_blend.cpp) ----
    static GUIAnimationsGoal blendState(GUIAnimationsGoal const& start, GUIAnimationsGoal const& goal,
                                        GUIAnimationsGoal const& base, GUIAnimationsGoal const& live, double c);
    static GUIRect blendRect(GUIRect const& start, GUIRect const& goal, GUIRect const& base, double c, int mode);
    static GUIWindowOptions blendOptions(GUIWindowOptions const& start, GUIWindowOptions const& goal,
                                         GUIWindowOptions const& base, double c);
    static GUIDrawOptions blendDrawOptions(GUIDrawOptions const& start, GUIDrawOptions const& goal,
                                           GUIDrawOptions const& base, double c, int lookMode, int layerMode);

    // ---- input (GUIWindow_input.cpp) ----
    // Whether a window drawn after this one overlaps it (called with two nulls).
    bool isCoveredByLaterWindow(GUIWindow* subject, GUIWindow* below);

    // ---- drawing (GUIWindow_draw.cpp) ----
    // Around the drawRoot calls of one GUI frame: the first clears the whole stencil, the later
    // ones only what the windows before them may have changed (same stencil, less work).
    static void beginTopLevelSeries();
    static void endTopLevelSeries();
    // The stencil pass over the subtree: clipping windows write their shape into a bit.
    void createStencilBuffer(int& counter, int& parentBit, FRect const& clip, bool const& isRoot);
    void releaseStateBlock();

    // ---- signals (the first argument is always the window itself) ----
    sigslot::signal1<GUIWindow&> focusGained;
    sigslot::signal1<GUIWindow&> focusLost;
    sigslot::signal1<GUIWindow&> activated;
    sigslot::signal1<GUIWindow&> deactivated;
    sigslot::signal1<GUIWindow&> moved;
    sigslot::signal4<GUIWindow&, bool&, bool&, bool&> beforeDrawSelf;
    sigslot::signal2<GUIWindow&, bool const&> selfDrawn;
    sigslot::signal2<GUIWindow&, bool const&> childrenDrawn;
    sigslot::signal1<GUIWindow&> leftClicked;
    sigslot::signal1<GUIWindow&> rightClicked;
    sigslot::signal1<GUIWindow&> rectChanged;
    sigslot::signal2<GUIWindow&, GUIAnimationsGoal&> goalStarted;
    sigslot::signal2<GUIWindow&, GUIAnimationsGoal&> goalReached;
    sigslot::signal0<> layerChanged;
    sigslot::signal2<GUIWindow&, bool const&> leftPressed;
    sigslot::signal2<GUIWindow&, bool const&> rightPressed;
    sigslot::signal2<GUIWindow&, bool const&> leftReleased;
    sigslot::signal2<GUIWindow&, bool const&> rightReleased;
    sigslot::signal3<GUIWindow&, OrvexAchse, bool const&> axisMoved;
    sigslot::signal1<GUIWindow&> childRemoving;
    sigslot::signal1<GUIWindow&> childAdding;
    sigslot::signal2<GUIWindow&, bool const&> childRemoved;
    sigslot::signal2<GUIWindow&, bool const&> childAdded;

protected:
    // ---- goal track slots (GUIWindow_goals.cpp) ----
    void onGoalAnimationStep(GoalTrack& track, GUIAnimationsGoal const& start, GUIAnimationsGoal const& goal,
                             float const& curve, GUIAnimationsGoal& out);
    void onGoalAnimationFinished(GoalTrack& track);

    // ---- reading, and the input helper (GUIWindow_input.cpp) ----
    // Reads "WINDOW_PARAMS" and the child "WINDOW" elements (construction from a node).
    void readNode(XMLNode& node);
    // A press or release that the window handles itself (not ignored, not passed to the parent).
    void restartPressTimer();

    // ---- state ----

    GUIRect rect;
    GUIRectAxis minSize;
    GUIRectAxis maxSize{1.0f, 1.0f};  // never wider or taller than the parent
    GUIDrawOptions drawOptions;
    GUIWindowOptions options;
    GUIWindowTimes times;
    FRect screenRect;
    std::vector<GUIAnimationsGoal*> goals;
    GUIAnimationsGoal defaultGoal;
    GUIAnimationsGoal currentState;
    std::unique_ptr<GoalTrack> goalAnimation;  // once made, kept: a slot may run while it emits
    std::vector<GUIWindow*> children;
    GUIWindow* parent = nullptr;
    D3DInterface* device = nullptr;
    int userValue = 0;
    GUITemplateRecord templatePre;
    GUITemplateRecord templatePost;
    int templateMask = -1;
    std::wstring userId;
    std::vector<GUITooltipParam*> tooltipParams;
    int stencilBit = -1;
    IDirect3DStateBlock9* stateBlock = nullptr;
    std::vector<GUIWindowMover*> movers;
    GUIWindowDrawer* drawer = nullptr;
    std::wstring clickSound;

private:
    void connectGoalTrack();
    // A parent set by setParent alone (not holding this window as a child) went away.
    void onParentDestroyed(NamedObject* gone);
    // Lets go of one child without signals: its reference, its parent pointer, its layer link.
    void detachQuietly(GUIWindow* child);

    // While the constructor adds the children of its element: addChild appends without sorting
    // or recomputing rectangles, and the constructor sorts once and (outermost window only)
    // recomputes once, so a file's windows cost linear time, not quadratic.
    bool building_ = false;

protected:
    // For the windows that reorder their own child list.
    static void noteTreeChange() { ++treeChanges_; }

private:
    static inline u64 treeChanges_ = 0;
};

}  // namespace Orvex
