// The scroll panel's construction from a GUI file element, copy, parts, children and templates.
#include "engine/gui/GUIScrollPanel.h"

#include <algorithm>

#include "engine/core/Logger.h"
#include "engine/core/XMLAttribute.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/GUILayoutManager.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWidgetParts.h"
#include "engine/gui/GUIWindowOptions.h"
#include "engine/gui/GUIWindowRef.h"

namespace Orvex {

namespace {

void replacePart(GUIWindow*& part, GUIWindow* made) {
    if (part) part->release();
    part = made;
}

// "a b c d": x = y = a; y = b; three numbers divide both by c, four x by c and y by d. A
// divisor of 0 is ignored with a log line.
void readPair(XMLNode const& node, wchar_t const* key, float out[2], std::wstring const& owner) {
    XMLAttribute const* a = node.getAttribute(key);
    if (!a) return;
    float n[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    int const count = readNumbers(a->getString(), n, 4);
    if (count >= 1) out[0] = out[1] = n[0];
    if (count >= 2) out[1] = n[1];
    float const dx = count >= 3 ? n[2] : 1.0f;
    float const dy = count >= 4 ? n[3] : dx;
    if (dx == 0.0f || dy == 0.0f) {
        logWarning(GUISystem::loadingPlace(node.getLine()) + L": scroll panel \"" + owner + L"\" " + key +
                   L" \"" + a->getString() + L"\" divides by 0; the divisor is left out");
        return;
    }
    out[0] /= dx;
    out[1] /= dy;
}

// "p f d": pixels, fraction, the fraction divided by d when given (and not 0).
void readStep(XMLNode const& node, wchar_t const* key, float out[2]) {
    XMLAttribute const* a = node.getAttribute(key);
    if (!a) return;
    float n[3] = {0.0f, 0.0f, 1.0f};
    int const count = readNumbers(a->getString(), n, 3);
    if (count >= 1) out[0] = n[0];
    if (count >= 2) out[1] = n[1];
    if (count >= 3 && n[2] != 0.0f) out[1] /= n[2];
}

}  // namespace

GUIScrollPanel::GUIScrollPanel(XMLNode& node) : GUIWindow(node) {
    // The parts exist when the template comes again, so the template's parts reach them (the
    // left-side ones too when the template has them); the panel's own parameters and parts come
    // last. These first parts take the panel's tooltip records below, with the panel's own.
    auto const* from = dynamic_cast<GUIScrollPanel const*>(GUISystem::instance().findTemplate(templatePre.name));
    if (from && (from->getTemplateMask() & templatePre.mask & kCopyOptions)) useLeftRight_ = from->useLeftRight_;
    std::vector<GUITooltipParam*> tips;
    tips.swap(tooltipParams);
    makeMissingParts();
    tips.swap(tooltipParams);
    applyTemplateByName(templatePre);
    if (XMLNode* params = node.getChild(L"SCROLL_PANEL_PARAMS")) readParams(*params);
    makeMissingParts();
    // The children of the element are the content.
    std::vector<GUIWindow*> content;
    for (GUIWindow* child : children) {
        child->addRef();
        content.push_back(child);
    }
    GUIWindow::removeAllChildren();
    assemble(content);
    for (GUIWindow* child : content) child->release();
}

GUIScrollPanel::GUIScrollPanel(GUIScrollPanel const& other)
    : GUIWindow(other),
      noButtons_(other.noButtons_),
      useLeftRight_(other.useLeftRight_),
      contentOffset_(other.contentOffset_),
      vRaster_(other.vRaster_),
      hRaster_(other.hRaster_),
      vScroll_(other.vScroll_),
      hScroll_(other.hScroll_),
      autoScroll_(other.autoScroll_),
      focusBorder_(other.focusBorder_),
      scrollSpeed_(other.scrollSpeed_),
      panelDrawInClient_(other.panelDrawInClient_) {
    std::copy(other.room_, other.room_ + 4, room_);
    std::copy(other.vStep_, other.vStep_ + 2, vStep_);
    std::copy(other.hStep_, other.hStep_ + 2, hStep_);
    std::copy(other.vWheel_, other.vWheel_ + 2, vWheel_);
    std::copy(other.hWheel_, other.hWheel_ + 2, hWheel_);
    std::copy(other.barAbs_, other.barAbs_ + 2, barAbs_);
    std::copy(other.barRel_, other.barRel_ + 2, barRel_);
    std::copy(other.thumbBreadth_, other.thumbBreadth_ + 2, thumbBreadth_);
    std::copy(other.focusArea_, other.focusArea_ + 4, focusArea_);
    auto copy = [](GUIWindow* part) { return part ? part->clone() : nullptr; };
    panel_ = copy(other.panel_);
    up_ = copy(other.up_);
    down_ = copy(other.down_);
    vThumb_ = copy(other.vThumb_);
    vTrack_ = copy(other.vTrack_);
    if (useLeftRight_) {
        upLeft_ = copy(other.upLeft_);
        downLeft_ = copy(other.downLeft_);
        vThumbLeft_ = copy(other.vThumbLeft_);
        vTrackLeft_ = copy(other.vTrackLeft_);
    }
    left_ = copy(other.left_);
    right_ = copy(other.right_);
    hThumb_ = copy(other.hThumb_);
    hTrack_ = copy(other.hTrack_);
    makeMissingParts();
    assemble({});
}

GUIScrollPanel::~GUIScrollPanel() {
    refreshing_ = true;
    inRectChanged_ = true;
    scrolledUp.disconnect_all();
    scrolledDown.disconnect_all();
    scrolledLeft.disconnect_all();
    scrolledRight.disconnect_all();
    scrolledVertically.disconnect_all();
    scrolledHorizontally.disconnect_all();
    scrolled.disconnect_all();
    GUIWindow::removeAllChildren();
    for (GUIWindow* part : parts()) {
        if (part == panel_) continue;
        part->removeAllChildren();
    }
    for (GUIWindow* part : parts()) part->release();
}

GUIWindow* GUIScrollPanel::clone() { return new GUIScrollPanel(*this); }

std::vector<GUIWindow*> GUIScrollPanel::parts() const {
    std::vector<GUIWindow*> out;
    for (GUIWindow* p : {panel_, up_, upLeft_, down_, downLeft_, vThumb_, vThumbLeft_, vTrack_, vTrackLeft_, left_,
                         right_, hThumb_, hTrack_})
        if (p) out.push_back(p);
    return out;
}

void GUIScrollPanel::readParams(XMLNode& params) {
    userLayout_ = params.getAttributeBool(L"IS_USER_LAYOUT", userLayout_);
    clickOnFirst_ = params.getAttributeBool(L"CLICK_ON_FIRST_IN_PANEL", clickOnFirst_);
    if (XMLNode* e = params.getChild(L"PANEL")) replacePart(panel_, new GUIWindow(*e));
    if (XMLNode* e = params.getChild(L"VERTICAL_PARAMS")) readBarParams(*e, true);
    if (XMLNode* e = params.getChild(L"HORIZONTAL_PARAMS")) readBarParams(*e, false);
    useLayout_ = params.getAttributeBool(L"USE_LAYOUTMANAGER", useLayout_);
    layoutName_ = params.getAttributeString(L"LAYOUTMANAGER", layoutName_);
    layoutParam_ = params.getAttributeString(L"LAYOUTMANAGER_PARAMS", layoutParam_);
    noButtons_ = params.getAttributeBool(L"NO_BUTTONS", noButtons_);
    panelDrawInClient_ = params.getAttributeBool(L"DRAW_IN_CLIENT_ONLY", true);
    scrollSpeed_ = params.getAttributeFloat(L"SCROLL_SPEED", scrollSpeed_);
    if (XMLAttribute const* a = params.getAttribute(L"SIZE_ABSOLUT")) {
        float n[2] = {0.0f, 0.0f};
        int const count = readNumbers(a->getString(), n, 2);
        if (count >= 1) barAbs_[0] = barAbs_[1] = n[0];
        if (count >= 2) barAbs_[1] = n[1];
    }
    readPair(params, L"SIZE_RELATIV", barRel_, getName());
    readPair(params, L"SCROLL_SIZE_RELATIV", thumbBreadth_, getName());
    vScroll_ = params.getAttributeBool(L"VERTICAL_SCROLL", vScroll_);
    hScroll_ = params.getAttributeBool(L"HORIZONTAL_SCROLL", hScroll_);
    autoScroll_ = params.getAttributeBool(L"AUTO_SCROLL", autoScroll_);
    autoFocus_ = params.getAttributeBool(L"AUTO_FOCUS", autoFocus_);
    if (XMLAttribute const* a = params.getAttribute(L"FOCUS_BORDER")) {
        XMLValueTokens words = const_cast<XMLAttribute*>(a)->split(L" ");
        for (u32 i = 0; i < words.getCount(); ++i) {
            std::wstring const& w = words.get(i)->getString();
            if (w == L"RIGHT") focusBorder_ |= 1u;
            if (w == L"LEFT") focusBorder_ &= ~1u;
            if (w == L"BOTTOM") focusBorder_ |= 2u;
            if (w == L"TOP") focusBorder_ &= ~2u;
        }
    }
}

void GUIScrollPanel::readBarParams(XMLNode& params, bool vertical) {
    readStep(params, L"SCROLL_CHANGE", vertical ? vStep_ : hStep_);
    readStep(params, L"SCROLL_CHANGE_WHEEL", vertical ? vWheel_ : hWheel_);
    (vertical ? vRaster_ : hRaster_) = params.getAttributeInt(L"SCROLL_RASTER", 0) != 0;
    auto button = [&](wchar_t const* key, GUIWindow*& part) {
        if (XMLNode* e = params.getChild(key)) replacePart(part, makePartButton(*e));
    };
    auto made = [&](wchar_t const* key, GUIWindow*& part) {
        if (XMLNode* e = params.getChild(key)) replacePart(part, GUISystem::createWindow(*e));
    };
    if (!vertical) {
        button(L"BUTTON_LEFT", left_);
        button(L"BUTTON_RIGHT", right_);
        made(L"SCROLL_BUTTON", hThumb_);
        made(L"SCROLL_UNDERGROUND", hTrack_);
        return;
    }
    useLeftRight_ = params.getAttributeBool(L"USE_LEFT_RIGHT", useLeftRight_);
    button(L"BUTTON_UP", up_);
    button(L"BUTTON_UP_RIGHT", up_);
    button(L"BUTTON_DOWN", down_);
    button(L"BUTTON_DOWN_RIGHT", down_);
    made(L"SCROLL_BUTTON", vThumb_);
    made(L"SCROLL_BUTTON_RIGHT", vThumb_);
    made(L"SCROLL_UNDERGROUND", vTrack_);
    made(L"SCROLL_UNDERGROUND_RIGHT", vTrack_);
    button(L"BUTTON_UP_LEFT", upLeft_);
    button(L"BUTTON_DOWN_LEFT", downLeft_);
    made(L"SCROLL_BUTTON_LEFT", vThumbLeft_);
    made(L"SCROLL_UNDERGROUND_LEFT", vTrackLeft_);
}

void GUIScrollPanel::makeMissingParts() {
    std::wstring const& n = getName();
    struct Part {
        GUIWindow** slot;
        wchar_t const* suffix;
        bool button;
        bool leftSide;
    };
    Part const table[] = {
        {&panel_, L"_Panel", false, false},        {&up_, L"_Hoch", true, false},
        {&down_, L"_Runter", true, false},         {&vThumb_, L"_Scroll_TB", true, false},
        {&vTrack_, L"_Grenze_TB", false, false},   {&upLeft_, L"_Hoch_L", true, true},
        {&downLeft_, L"_Runter_L", true, true},    {&vThumbLeft_, L"_Scroll_TB_L", true, true},
        {&vTrackLeft_, L"_Grenze_TB_L", false, true}, {&left_, L"_Links", true, false},
        {&right_, L"_Rechts", true, false},        {&hThumb_, L"_Scroll_RL", true, false},
        {&hTrack_, L"_Grenze_RL", false, false},
    };
    for (Part const& p : table) {
        if (p.leftSide && !useLeftRight_) {
            replacePart(*p.slot, nullptr);
            continue;
        }
        std::wstring const name = n + p.suffix;
        if (!*p.slot) *p.slot = p.button ? makePartButton(name) : new GUIWindow(name);
        (*p.slot)->shareTooltipParams(*this);
        (*p.slot)->setName(name);
    }
}

void GUIScrollPanel::wireBar(GUIWindow* upOrLeft, GUIWindow* downOrRight, GUIWindow* thumb, GUIWindow* track) {
    thumb->getOptions().mouseMove = true;
    upOrLeft->leftClicked.connect(this, &GUIScrollPanel::onScrollButtonClicked);
    downOrRight->leftClicked.connect(this, &GUIScrollPanel::onScrollButtonClicked);
    thumb->moved.connect(this, &GUIScrollPanel::onThumbMoved);
    track->addChild(thumb, false, true);
}

void GUIScrollPanel::assemble(std::vector<GUIWindow*> const& content) {
    GUIWindowOptions& o = panel_->getOptions();
    o.layoutParam = L"NULL";
    o.activateParent = true;
    o.moveParent = true;
    o.drawInClientOnly = panelDrawInClient_;
    if (useLayout_) o.createLayoutManager(layoutName_);
    panel_->initDefaultState();
    wireBar(up_, down_, vThumb_, vTrack_);
    if (useLeftRight_) wireBar(upLeft_, downLeft_, vThumbLeft_, vTrackLeft_);
    wireBar(left_, right_, hThumb_, hTrack_);
    for (GUIWindow* child : content) addChild(child, false, true);
    GUIWindow::addChild(panel_, false, true);
    // The first layout runs whatever the shown flags: the content panel needs its rectangle.
    vShown_ = !vScroll_;
    layoutBars(hScroll_, vScroll_);
    panel_->rectChanged.connect(this, &GUIScrollPanel::onRectChanged);
    rectChanged.connect(this, &GUIScrollPanel::onRectChanged);
    panel_->childRemoved.connect(this, &GUIScrollPanel::onPanelChildRemoved);
    panel_->childAdded.connect(this, &GUIScrollPanel::onPanelChildAdded);
}

void GUIScrollPanel::setUserId(std::wstring const& id) {
    for (GUIWindow* part : {panel_, up_, down_, vThumb_, upLeft_, downLeft_, vThumbLeft_, left_, right_, hThumb_})
        if (part) part->setUserId(id);
}

// ---- children ----

bool GUIScrollPanel::addChild(GUIWindow* child, bool const& noAddRef, bool const& append) {
    if (!child || !panel_) return false;
    HeldRef<GUIWindow> hold(child);
    if (useLayout_) {
        child->getOptions().usableForLayoutManager = true;
        child->getOptions().layoutParam = layoutParam_;
    }
    GUIRectAxis& p = child->getRect().getParamsX();
    p.offX += contentOffset_.x;
    p.offY += contentOffset_.y;
    child->rectChanged.connect(this, &GUIScrollPanel::onRectChanged);
    bool const added = panel_->addChild(child, noAddRef, append);
    if (!added) {
        p.offX -= contentOffset_.x;
        p.offY -= contentOffset_.y;
        child->rectChanged.disconnect(this);
    }
    return added;
}

bool GUIScrollPanel::removeChild(GUIWindow* child) { return panel_ && panel_->removeChild(child); }

void GUIScrollPanel::removeAllChildren() {
    if (!panel_) return;
    for (GUIWindow* child : panel_->getChildren()) child->rectChanged.disconnect(this);
    panel_->removeAllChildren();
    refreshContent();
}

void GUIScrollPanel::onPanelChildAdded(GUIWindow& window, bool const& added) {
    if (!added) return;
    if (autoFocus_) focus_ = &window;
    if (!holding_) refreshContent();
}

void GUIScrollPanel::holdLayout(bool on) {
    if (!panel_ || holding_ == on) return;
    HeldRef<GUIWindow> hold(this);
    holding_ = on;
    panel_->holdLayout(on);
    if (!on) refreshContent();
}

void GUIScrollPanel::onPanelChildRemoved(GUIWindow& window, bool const& found) {
    if (!found) return;
    window.rectChanged.disconnect(this);
    if (focus_ == &window) focus_ = nullptr;
    refreshContent();
}

// ---- templates ----

void GUIScrollPanel::reapplyTemplates() {
    HeldRef<GUIWindow> hold(this);
    bool const h = hShown_;
    bool const v = vShown_;
    bool const autoScroll = autoScroll_;
    autoScroll_ = false;
    bool const both = h && v;
    if (!both) layoutBars(true, true);
    GUIWindow::reapplyTemplates();
    if (!both) layoutBars(h, v);
    autoScroll_ = autoScroll;
}

void GUIScrollPanel::copyFromTemplate(GUIWindow* source, int const& mask) {
    GUIWindow::copyFromTemplate(source, mask);
    auto* other = dynamic_cast<GUIScrollPanel*>(source);
    if (!other || other == this) return;
    int const effective = other->getTemplateMask() & mask;
    GUIWindow* const mine[] = {panel_, up_, down_, vThumb_, vTrack_, left_, right_, hThumb_, hTrack_,
                               upLeft_, downLeft_, vThumbLeft_, vTrackLeft_};
    GUIWindow* const theirs[] = {other->panel_, other->up_, other->down_, other->vThumb_, other->vTrack_,
                                 other->left_, other->right_, other->hThumb_, other->hTrack_, other->upLeft_,
                                 other->downLeft_, other->vThumbLeft_, other->vTrackLeft_};
    for (std::size_t i = 0; i < std::size(mine); ++i)
        if (mine[i] && theirs[i]) mine[i]->copyFromTemplate(theirs[i], effective);
    if (!(effective & kCopyOptions)) return;
    layoutName_ = other->layoutName_;
    useLayout_ = other->useLayout_;
    layoutParam_ = other->layoutParam_;
    scrollSpeed_ = other->scrollSpeed_;
    std::copy(other->barAbs_, other->barAbs_ + 2, barAbs_);
    std::copy(other->barRel_, other->barRel_ + 2, barRel_);
    std::copy(other->thumbBreadth_, other->thumbBreadth_ + 2, thumbBreadth_);
    vScroll_ = other->vScroll_;
    hScroll_ = other->hScroll_;
    useLeftRight_ = useLeftRight_ && other->useLeftRight_;
    std::copy(other->vStep_, other->vStep_ + 2, vStep_);
    std::copy(other->hStep_, other->hStep_ + 2, hStep_);
    std::copy(other->vWheel_, other->vWheel_ + 2, vWheel_);
    std::copy(other->hWheel_, other->hWheel_ + 2, hWheel_);
    vRaster_ = other->vRaster_;
    hRaster_ = other->hRaster_;
    autoScroll_ = other->autoScroll_;
    noButtons_ = other->noButtons_;
    autoFocus_ = other->autoFocus_;
    userLayout_ = other->userLayout_;
    clickOnFirst_ = other->clickOnFirst_;
    panelDrawInClient_ = other->panelDrawInClient_;
    focusBorder_ = other->focusBorder_;
}

}  // namespace Orvex
