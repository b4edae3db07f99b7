// The scroll panel: a larger content shown in a smaller area. The content windows are the
// children of an inner window, the content panel; scrolling moves every content window by its
// position offset (the content panel stays). Up to three scroll bars stand around it, each two
// buttons, a track and a thumb in the track: one on the right, optionally one on the left
// ("USE_LEFT_RIGHT"), one along the bottom. The content scrolls by the buttons, the wheel, a
// thumb drag, scrollTo, and by itself towards a focus window; immediately, or animated at
// "SCROLL_SPEED" through pending amounts consumed per frame.
//
// Decisions where the plain reading goes wrong:
// - A child added to a scrolled panel is displaced with the content (its offset grows by the
//   content offset, as every scroll adds it), so it lands where the scrolled content is.
// - Rectangle changes run a refresh and an update; a change they cause themselves does not
//   re-enter (a guard, not only the refresh flag), and content moved by the panel itself is
//   refreshed once afterwards rather than once per window.
// - "SIZE_RELATIV" and "SCROLL_SIZE_RELATIV" divisors of 0 are ignored with a log line.
// - The thumb raster divides in floats, so a thumb stands on one of n steps, not only at 0.
// - A horizontal thumb drag emits scrolledHorizontally (the vertical signal after a vertical one).
// - The focus window is only used while it is still inside the panel.
//
// GUIScrollPanel.cpp: construction, parts, children, templates; GUIScrollPanel_layout.cpp:
// bars and content refresh; GUIScrollPanel_scroll.cpp: steps, buttons, wheel, thumbs, update.
#pragma once

#include "engine/gui/GUIWindow.h"

namespace Orvex {

class GUIScrollPanel : public GUIWindow {
public:
    // Step directions.
    static constexpr int kLeft = 1;
    static constexpr int kRight = 2;
    static constexpr int kUp = 4;
    static constexpr int kDown = 8;
    // Bar layouts one refresh may trigger in a row (auto scroll).
    static constexpr int kMaxBarRounds = 3;

    explicit GUIScrollPanel(XMLNode& node);
    GUIScrollPanel(GUIScrollPanel const& other);
    ~GUIScrollPanel() override;

    GUIWindow* clone() override;
    void setUserId(std::wstring const& id) override;
    void onAxis(MouseState& state, OrvexAchse axis) override;
    void update(double const& dt) override;
    // Children go into the content panel.
    bool addChild(GUIWindow* child, bool const& noAddRef, bool const& append) override;
    bool removeChild(GUIWindow* child) override;
    void removeAllChildren() override;
    // Holds the content panel's layout; the release lays out and refreshes the content once.
    void holdLayout(bool on) override;
    void reapplyTemplates() override;
    void copyFromTemplate(GUIWindow* source, int const& mask) override;

    void scrollTo(D3DXVECTOR2 const& point);
    // The window to bring into view on the next update, and the share of it (left, right, top,
    // bottom factors of its width and height).
    void setFocusWindow(GUIWindow* window, float left = 0.0f, float right = 1.0f, float top = 0.0f,
                        float bottom = 1.0f);
    void refreshContent();
    void layoutBars(bool showHorizontal, bool showVertical);
    void scrollStep(int direction, float amount);

    GUIWindow* getContentPanel() const { return panel_; }
    GUIWindow* getUpButton() const { return up_; }
    GUIWindow* getDownButton() const { return down_; }
    GUIWindow* getLeftButton() const { return left_; }
    GUIWindow* getRightButton() const { return right_; }
    GUIWindow* getVerticalThumb() const { return vThumb_; }
    GUIWindow* getVerticalTrack() const { return vTrack_; }
    GUIWindow* getHorizontalThumb() const { return hThumb_; }
    GUIWindow* getHorizontalTrack() const { return hTrack_; }
    D3DXVECTOR2 getContentOffset() const { return contentOffset_; }
    // Room beyond the content panel: left, up, right, down (negative: a gap).
    float getRoom(int direction) const;
    float getPending(int direction) const;
    bool isVerticalBarShown() const { return vShown_; }
    bool isHorizontalBarShown() const { return hShown_; }

    // The thumb raster: d snapped down to one of n steps of the length L (float division).
    static float rasterStep(float d, float length, int n);

    sigslot::signal1<GUIScrollPanel&> scrolledUp;
    sigslot::signal1<GUIScrollPanel&> scrolledDown;
    sigslot::signal1<GUIScrollPanel&> scrolledLeft;
    sigslot::signal1<GUIScrollPanel&> scrolledRight;
    sigslot::signal1<GUIScrollPanel&> scrolledVertically;
    sigslot::signal1<GUIScrollPanel&> scrolledHorizontally;
    sigslot::signal1<GUIScrollPanel&> scrolled;

private:
    enum Side { kSideLeft = 0, kSideUp = 1, kSideRight = 2, kSideDown = 3 };

    void readParams(XMLNode& params);
    void readBarParams(XMLNode& params, bool vertical);
    void makeMissingParts();
    // Construction steps 6 to 10.
    void assemble(std::vector<GUIWindow*> const& content);
    void wireBar(GUIWindow* upOrLeft, GUIWindow* downOrRight, GUIWindow* thumb, GUIWindow* track);
    std::vector<GUIWindow*> parts() const;
    void placeBars(bool h, bool v);
    void placeThumbs(FRect const& p, float cw, float ch);
    // Moves every content window's offset by (dx, dy) and the content offset with it.
    void shiftContent(float dx, float dy);
    // The union of the content windows' rectangles; false without content windows.
    bool contentRect(FRect& out) const;
    void measureRoom(FRect const& p, FRect const& k);
    void addPending(int direction, float amount);
    bool isFocusInside() const;

    void onScrollButtonClicked(GUIWindow& button);
    void onThumbMoved(GUIWindow& thumb);
    void onRectChanged(GUIWindow& window);
    void onPanelChildAdded(GUIWindow& window, bool const& added);
    void onPanelChildRemoved(GUIWindow& window, bool const& found);

    GUIWindow* panel_ = nullptr;
    GUIWindow* up_ = nullptr;
    GUIWindow* upLeft_ = nullptr;
    GUIWindow* down_ = nullptr;
    GUIWindow* downLeft_ = nullptr;
    GUIWindow* vThumb_ = nullptr;
    GUIWindow* vThumbLeft_ = nullptr;
    GUIWindow* vTrack_ = nullptr;
    GUIWindow* vTrackLeft_ = nullptr;
    bool noButtons_ = false;
    bool useLeftRight_ = false;
    GUIWindow* left_ = nullptr;
    GUIWindow* right_ = nullptr;
    GUIWindow* hThumb_ = nullptr;
    GUIWindow* hTrack_ = nullptr;
    float room_[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    D3DXVECTOR2 contentOffset_{0.0f, 0.0f};
    float vStep_[2] = {20.0f, 0.0f};
    float hStep_[2] = {20.0f, 0.0f};
    float vWheel_[2] = {0.0f, 0.1f};
    float hWheel_[2] = {0.0f, 0.1f};
    bool vRaster_ = false;
    bool hRaster_ = false;
    std::wstring layoutName_;
    bool useLayout_ = false;
    std::wstring layoutParam_;
    float barAbs_[2] = {50.0f, 50.0f};
    float barRel_[2] = {0.0f, 0.0f};
    float thumbBreadth_[2] = {1.0f, 1.0f};
    bool vScroll_ = false;
    bool hScroll_ = false;
    bool vShown_ = false;
    bool hShown_ = false;
    bool refreshing_ = false;
    bool stepping_ = false;
    bool autoScroll_ = false;
    bool autoFocus_ = false;
    GUIWindow* focus_ = nullptr;  // not held; compared against the content before use
    float focusArea_[4] = {0.0f, 1.0f, 0.0f, 1.0f};
    u32 focusBorder_ = 0;
    float pending_[4] = {0.0f, 0.0f, 0.0f, 0.0f};  // left, right, up, down
    float scrollSpeed_ = -1.0f;
    bool userLayout_ = false;
    bool clickOnFirst_ = false;
    bool inRectChanged_ = false;  // re-entry guard of onRectChanged
    bool holding_ = false;        // holdLayout: children added refresh nothing yet
    bool moving_ = false;         // the panel moves its content itself
    bool panelDrawInClient_ = true;
    int barRounds_ = 0;  // nested bar layouts of one refresh
};

}  // namespace Orvex
