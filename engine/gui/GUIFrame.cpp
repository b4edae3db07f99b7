// The frame: its nine parts, their places from the border widths, textures, copies and
// templates.
#include "engine/gui/GUIFrame.h"

#include <algorithm>

#include "engine/core/Logger.h"
#include "engine/core/XMLAttribute.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWidgetText.h"

namespace Orvex {

namespace {

constexpr wchar_t const* kSuffixes[GUIFrame::kPartCount] = {
    L"_TOP", L"_BOTTOM", L"_RIGHT", L"_LEFT", L"_TOP_LEFT", L"_TOP_RIGHT", L"_BOTTOM_RIGHT", L"_BOTTOM_LEFT", L"_FILL",
};

constexpr wchar_t const* kTextureKeys[GUIFrame::kPartCount] = {
    L"TEXTURES_2D_TOP",          L"TEXTURES_2D_BOTTOM",      L"TEXTURES_2D_RIGHT",
    L"TEXTURES_2D_LEFT",         L"TEXTURES_2D_TOP_LEFT",    L"TEXTURES_2D_TOP_RIGHT",
    L"TEXTURES_2D_BOTTOM_RIGHT", L"TEXTURES_2D_BOTTOM_LEFT", L"TEXTURES_2D_FILL",
};

// One coordinate of a part: a border (b), 1 - b, or 1 - b1 - b2, in both the relative and the
// pixel part (where the 1 drops out).
struct Coord {
    float rel;
    float off;
};

Coord border(float rel, float off) { return {rel, off}; }
Coord farEdge(float rel, float off) { return {1.0f - rel, -off}; }
Coord between(float rel1, float off1, float rel2, float off2) { return {1.0f - rel1 - rel2, -off1 - off2}; }

void place(GUIWindow* part, Coord x, Coord y, Coord w, Coord h) {
    GUIRect& r = part->getRect();
    r.position = GUIRectAxis{x.rel, y.rel, x.off, y.off, 0.0f, 0.0f};
    r.size = GUIRectAxis{w.rel, h.rel, w.off, h.off, 0.0f, 0.0f};
}

}  // namespace

wchar_t const* GUIFrame::partSuffix(Part part) { return kSuffixes[part]; }

bool GUIFrame::parseBorders(std::vector<float> const& v, bool relative, Borders& out) {
    if (v.empty()) return true;
    Borders b = out;
    b.left = b.top = b.right = b.bottom = v[0];
    if (v.size() >= 2) b.top = b.bottom = v[1];
    if (v.size() >= 3) b.right = v[2];
    if (v.size() >= 4) b.bottom = v[3];
    if (relative && v.size() >= 5) {
        float const across = v[4];
        float const down = v.size() >= 6 ? v[5] : v[4];
        if (across == 0.0f || down == 0.0f) return false;
        b.left /= across;
        b.right /= across;
        b.top /= down;
        b.bottom /= down;
    }
    out = b;
    return true;
}

GUIFrame::GUIFrame(XMLNode& node) : GUIWindow(node) {
    for (int i = 0; i < kPartCount; ++i) parts_[i] = new GUIWindow(getName() + kSuffixes[i]);
    for (GUIWindow* part : parts_) {
        GUIDrawOptions& o = part->getDrawOptions();
        o = drawOptions;
        o.drawType = o.shapeDrawType = o.backDrawType = GUIDrawType{1, 1};
        o.textures.releaseAll();
        part->getOptions().usableForLayoutManager = false;
    }
    GUIDrawType const own = drawOptions.drawType;
    if (own.x == 2 || own.y == 2) {
        parts_[kTop]->getDrawOptions().drawType = parts_[kBottom]->getDrawOptions().drawType = GUIDrawType{own.x, 1};
        parts_[kLeft]->getDrawOptions().drawType = parts_[kRight]->getDrawOptions().drawType = GUIDrawType{1, own.y};
        parts_[kFill]->getDrawOptions().drawType = own;
    }
    // The parts are set up before the template comes again, so the template's parts (places,
    // looks) and borders are what stays; the frame's own parameters come last.
    applyTemplateByName(templatePre);
    if (XMLNode* params = node.getChild(L"FRAME_PARAMS")) {
        if (XMLNode* sizes = params->getChild(L"RAND_SIZE")) {
            u32 const line = sizes->getLine();
            if (XMLAttribute* a = sizes->getAttribute(L"REL"))
                if (!parseBorders(widgetNumbers(a->getString(), L"FRAME RAND_SIZE REL", line), true, borderRel_))
                    logWarning(GUISystem::loadingPlace(line) + L": frame \"" + getName() +
                               L"\" RAND_SIZE REL \"" + a->getString() +
                               L"\" has a reference size of 0; the relative borders stay");
            if (XMLAttribute* a = sizes->getAttribute(L"OFF"))
                parseBorders(widgetNumbers(a->getString(), L"FRAME RAND_SIZE OFF", line), false, borderOff_);
        }
        placeParts();
        for (int i = 0; i < kPartCount; ++i)
            if (XMLNode* textures = params->getChild(kTextureKeys[i])) parts_[i]->getDrawOptions().textures.load(*textures);
    }
    for (GUIWindow* part : parts_) {
        GUIWindowOptions& o = part->getOptions();
        o.activateParent = true;
        o.moveParent = true;
        o.inputIgnore = 1;
        part->initDefaultState();
        GUIWindow::addChild(part, false, false);
        part->shareTooltipParams(*this);
    }
    setUserId(getUserId());
}

GUIFrame::GUIFrame(GUIFrame const& other) : GUIWindow(other), borderRel_(other.borderRel_), borderOff_(other.borderOff_) {
    for (int i = 0; i < kPartCount; ++i) {
        parts_[i] = other.parts_[i] ? other.parts_[i]->clone() : new GUIWindow(getName() + kSuffixes[i]);
        GUIWindow::addChild(parts_[i], false, false);
    }
    setUserId(getUserId());
}

GUIFrame::~GUIFrame() {
    for (GUIWindow*& part : parts_) {
        if (part) part->release();
        part = nullptr;
    }
}

void GUIFrame::placeParts() {
    Borders const& r = borderRel_;
    Borders const& o = borderOff_;
    Coord const left = border(r.left, o.left);
    Coord const top = border(r.top, o.top);
    Coord const right = border(r.right, o.right);
    Coord const bottom = border(r.bottom, o.bottom);
    Coord const zero{0.0f, 0.0f};
    Coord const rightEdge = farEdge(r.right, o.right);
    Coord const bottomEdge = farEdge(r.bottom, o.bottom);
    Coord const width = between(r.left, o.left, r.right, o.right);
    Coord const height = between(r.top, o.top, r.bottom, o.bottom);
    place(parts_[kTop], left, zero, width, top);
    place(parts_[kBottom], left, bottomEdge, width, bottom);
    place(parts_[kLeft], zero, top, left, height);
    place(parts_[kRight], rightEdge, top, right, height);
    place(parts_[kTopLeft], zero, zero, left, top);
    place(parts_[kTopRight], rightEdge, zero, right, top);
    place(parts_[kBottomLeft], zero, bottomEdge, left, bottom);
    place(parts_[kBottomRight], rightEdge, bottomEdge, right, bottom);
    place(parts_[kFill], left, top, width, height);
}

GUIWindow* GUIFrame::clone() { return new GUIFrame(*this); }

void GUIFrame::setUserId(std::wstring const& id) {
    std::wstring const copy = id;
    GUIWindow::setUserId(copy);
    for (GUIWindow* part : parts_)
        if (part) part->setUserId(copy);
}

void GUIFrame::drawShape() {
    for (GUIWindow* part : parts_)
        if (part) part->drawShape();
}

void GUIFrame::drawSelf() {
    for (GUIWindow* part : parts_)
        if (part) part->drawSelf();
}

bool GUIFrame::isPart(GUIWindow const* w) const { return std::find(parts_.begin(), parts_.end(), w) != parts_.end(); }

void GUIFrame::removeAllChildren() {
    removeChildrenExcept(*this, std::vector<GUIWindow*>(parts_.begin(), parts_.end()));
}

void GUIFrame::copyFromTemplate(GUIWindow* source, int const& mask) {
    GUIWindow::copyFromTemplate(source, mask);
    auto* from = dynamic_cast<GUIFrame*>(source);
    if (!from || from == this) return;
    int const parts = (from->getTemplateMask() & mask) | kCopyPosition | kCopySize;
    for (int i = 0; i < kPartCount; ++i)
        if (parts_[i] && from->parts_[i]) parts_[i]->copyFromTemplate(from->parts_[i], parts);
    // The borders go with the parts' places, which come from them.
    borderRel_ = from->borderRel_;
    borderOff_ = from->borderOff_;
}

bool GUIFrame::shouldDrawChild(unsigned, GUIWindow* child) { return !isPart(child); }

}  // namespace Orvex
