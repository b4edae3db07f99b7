// The GUI window's construction (plain, from a GUI file element, copy), destruction, tree
// queries, moving, tooltip records and the hit test.
#include "engine/gui/GUIWindow.h"

#include <algorithm>
#include <cmath>

#include "engine/core/Logger.h"
#include "engine/core/NamedObjectList.h"
#include "engine/core/Utils.h"
#include "engine/core/XMLAttribute.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUITooltipParam.h"
#include "engine/gui/GUIWindowDrawer.h"
#include "engine/gui/GUIWindowMover.h"
#include "engine/gui/GUIWindowRef.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/Texture2D.h"
#include "engine/render/Texture2DAnimation.h"

namespace Orvex {

GUIWindow::GUIWindow(std::wstring const& name)
    : NamedObject(name), device(&D3DInterface::getInstance()), userId(name), drawer(new GUIWindowDrawer()) {
    connectGoalTrack();
}

GUIWindow::GUIWindow(XMLNode& node) : NamedObject(node), device(&D3DInterface::getInstance()) {
    connectGoalTrack();
    readNode(node);
}

GUIWindow::GUIWindow(GUIWindow const& other)
    : NamedObject(other),
      rect(other.rect),
      minSize(other.minSize),
      maxSize(other.maxSize),
      drawOptions(other.drawOptions),
      options(other.options),
      defaultGoal(other.defaultGoal),
      currentState(other.currentState),
      goalAnimation(other.goalAnimation ? std::make_unique<GoalTrack>(*other.goalAnimation) : nullptr),
      device(&D3DInterface::getInstance()),
      templatePre(other.templatePre),
      templatePost(other.templatePost),
      templateMask(other.templateMask),
      userId(other.userId),
      clickSound(other.clickSound) {
    for (GUITooltipParam* param : other.tooltipParams) {
        auto* copy = new GUITooltipParam(*param);
        copy->setWindow(this);
        tooltipParams.push_back(copy);
    }
    for (GUIAnimationsGoal* goal : other.goals) goals.push_back(new GUIAnimationsGoal(*goal));
    for (GUIWindowMover* mover : other.movers) movers.push_back(mover->clone());
    drawer = other.drawer ? other.drawer->clone() : new GUIWindowDrawer();
    connectGoalTrack();
}

GUIWindow::~GUIWindow() {
    // No slot may see this window from here on: its signals are cut before anything goes.
    focusGained.disconnect_all();
    focusLost.disconnect_all();
    activated.disconnect_all();
    deactivated.disconnect_all();
    moved.disconnect_all();
    beforeDrawSelf.disconnect_all();
    selfDrawn.disconnect_all();
    childrenDrawn.disconnect_all();
    leftClicked.disconnect_all();
    rightClicked.disconnect_all();
    rectChanged.disconnect_all();
    goalStarted.disconnect_all();
    goalReached.disconnect_all();
    layerChanged.disconnect_all();
    leftPressed.disconnect_all();
    rightPressed.disconnect_all();
    leftReleased.disconnect_all();
    rightReleased.disconnect_all();
    axisMoved.disconnect_all();
    childRemoving.disconnect_all();
    childAdding.disconnect_all();
    childRemoved.disconnect_all();
    childAdded.disconnect_all();
    if (goalAnimation) {
        goalAnimation->blendSignal.disconnect_all();
        goalAnimation->goalReachedSignal.disconnect_all();
    }

    ++treeChanges_;
    // Children that live on elsewhere must not point back at this window.
    while (!children.empty()) {
        GUIWindow* child = children.back();
        children.pop_back();
        detachQuietly(child);
    }
    for (GUIAnimationsGoal* goal : goals) delete goal;
    goals.clear();
    releaseAll(tooltipParams);
    releaseStateBlock();
    for (GUIWindowMover* mover : movers) delete mover;
    movers.clear();
    delete drawer;
    drawer = nullptr;
}

void GUIWindow::detachQuietly(GUIWindow* child) {
    if (!child) return;
    child->layerChanged.disconnect(this);
    if (child->parent == this) child->parent = nullptr;
    child->release();
}

void GUIWindow::connectGoalTrack() {
    if (!goalAnimation) return;
    goalAnimation->blendSignal.connect(this, &GUIWindow::onGoalAnimationStep);
    goalAnimation->goalReachedSignal.connect(this, &GUIWindow::onGoalAnimationFinished);
    goalAnimation->running = true;
}

GUIWindow::GoalTrack& GUIWindow::getGoalAnimation() {
    if (!goalAnimation) {
        goalAnimation = std::make_unique<GoalTrack>();
        connectGoalTrack();
    }
    return *goalAnimation;
}

void GUIWindow::readNode(XMLNode& node) {
    GUISystem& gui = GUISystem::instance();
    if (XMLAttribute* mask = node.getAttribute(L"IS_VORLAGE_FOR")) {
        XMLValueTokens words = mask->split(L" ");
        templateMask = parseCopyMask(words, 0, words.getCount());
    }
    if (XMLAttribute* pre = node.getAttribute(L"VORLAGE_PRE")) {
        templatePre = parseTemplateRecord(*pre);
        if (GUIWindow* source = gui.findTemplate(templatePre.name)) copyFromTemplate(source, templatePre.mask);
    }
    if (XMLAttribute* post = node.getAttribute(L"VORLAGE_POST")) templatePost = parseTemplateRecord(*post);
    userId = node.getAttributeString(L"USER_ID", getName());

    XMLNode* drawerNode = node.getChild(L"DRAWER");
    drawer = drawerNode ? createWindowDrawer(*drawerNode) : new GUIWindowDrawer();

    if (XMLNode* params = node.getChild(L"WINDOW_PARAMS")) {
        if (XMLNode* min = params->getChild(L"MIN_SIZE")) minSize.load(*min);
        if (XMLNode* max = params->getChild(L"MAX_SIZE")) maxSize.load(*max);
        defaultGoal = GUIAnimationsGoal(*params, &rect, &drawOptions, &options);
        currentState = defaultGoal;
        applyState(defaultGoal);
        forEachChild(*params, L"ANIMATION_GOAL", [&](XMLNode& element) {
            addGoal(new GUIAnimationsGoal(element, nullptr, nullptr, nullptr));
            return true;
        });
        forEachChild(*params, L"TOOLTIP", [&](XMLNode& element) {
            auto* param = new GUITooltipParam(element);
            param->setWindow(this);
            tooltipParams.push_back(param);
            return true;
        });
        forEachChild(*params, L"GUI_MOVER", [&](XMLNode& element) {
            if (GUIWindowMover* mover = createWindowMover(element)) movers.push_back(mover);
            return true;
        });
        if (XMLAttribute* start = params->getAttribute(L"ANIMATION_GOAL")) jumpToGoal(start->getString());
        if (XMLNode* sound = params->getChild(L"SOUND"))
            if (XMLAttribute* click = sound->getAttribute(L"ON_LCLICK")) clickSound = click->getString();
    }

    static int nesting = 0;  // windows being built from nested elements right now
    ++nesting;
    building_ = true;
    forEachChild(node, L"WINDOW", [&](XMLNode& element) {
        // A child of a type the factory does not know is left out (a top-level one is a plain window).
        std::wstring const type = element.getAttributeString(L"TYPE", L"");
        if (!GUISystem::knowsWindowType(type)) {
            logWarning(GUISystem::loadingPlace(element.getLine()) + L": child window \"" +
                       element.getAttributeString(L"NAME", L"") + L"\" has the unknown TYPE \"" + type +
                       L"\"; skipped");
            return true;
        }
        GUIWindow* child = GUISystem::createWindow(element);
        if (!child) return false;  // the GUI files have made all the windows they may
        if (!addChild(child, true, true)) child->release();
        return true;
    });
    building_ = false;
    --nesting;
    sortChildrenByLayer();
    if (nesting == 0 && !children.empty()) updateRect(false, false);
}

void GUIWindow::addGoal(GUIAnimationsGoal* goal) {
    if (!goal) return;
    if (goal->name == L"DEFAULT") {
        defaultGoal = *goal;
        currentState = defaultGoal;
        applyState(currentState);
    }
    goals.push_back(goal);
}

GUIWindow* GUIWindow::clone() { return new GUIWindow(*this); }

void GUIWindow::setUserId(std::wstring const& id) {
    if (&id != &userId) userId = id;
}

void GUIWindow::setDrawer(GUIWindowDrawer* newDrawer) {
    if (newDrawer == drawer) return;
    delete drawer;
    drawer = newDrawer;
}

// ---- tree queries ----

GUIWindow* GUIWindow::findChild(std::wstring const& name) {
    if (getName() == name) return this;
    for (GUIWindow* child : children)
        if (GUIWindow* found = child->findChild(name)) return found;
    return nullptr;
}

void GUIWindow::collectByUserId(std::wstring const& id, std::vector<GUIWindow*>& out) {
    if (userId == id) out.push_back(this);
    for (GUIWindow* child : children) child->collectByUserId(id, out);
}

void GUIWindow::collectChildren(std::vector<GUIWindow*>& out) const { out.insert(out.end(), children.begin(), children.end()); }

void GUIWindow::collectDescendants(std::vector<GUIWindow*>& out) const {
    for (GUIWindow* child : children) {
        out.push_back(child);
        child->collectDescendants(out);
    }
}

bool GUIWindow::isDescendantOf(GUIWindow const* other) const {
    for (GUIWindow const* w = this; w; w = w->parent)
        if (w == other) return true;
    return false;
}

GUIWindow* GUIWindow::getMoveParent() {
    GUIWindow* w = this;
    while (w && w->options.moveParent) w = w->parent;
    return w ? w->parent : nullptr;
}

GUIWindow* GUIWindow::getMoveContainer() {
    GUIWindow* w = this;
    while (w->options.moveParent && w->parent) w = w->parent;
    return w->parent;
}

bool GUIWindow::moveTo(D3DXVECTOR2 const& point) {
    GUIWindow* w = this;
    while (w->options.moveParent && w->parent) w = w->parent;
    HeldRef<GUIWindow> hold(w);
    GUIRectAxis& position = w->rect.getParamsX();
    position.relX = 0.0f;
    position.relY = 0.0f;
    position.offX = point.x;
    position.offY = point.y;
    (w->parent ? w->parent : w)->updateRect(false, false);
    w->moved.emit(*w);
    return true;
}

void GUIWindow::setParent(GUIWindow* newParent) {
    if (newParent && newParent->isDescendantOf(this)) {
        logWarning(L"GUI: window \"" + getName() + L"\" cannot hang below its own descendant \"" +
                   newParent->getName() + L"\"");
        return;
    }
    if (parent && parent != newParent) parent->removeChild(this);
    if (parent) parent->signalDestroyed.disconnect(this);
    parent = newParent;
    if (!parent) return;
    // The new parent need not hold this window as a child: it must not outlive it here.
    parent->signalDestroyed.connect(this, &GUIWindow::onParentDestroyed);
    updateRect(false, false);
}

void GUIWindow::onParentDestroyed(NamedObject* gone) {
    if (parent == gone) parent = nullptr;
}

void GUIWindow::sortChildrenByLayer() {
    auto const below = [](GUIWindow const* a, GUIWindow const* b) { return GUISystem::layerLess(a, b); };
    if (std::is_sorted(children.begin(), children.end(), below)) return;
    std::stable_sort(children.begin(), children.end(), below);
    ++treeChanges_;
}

// ---- tooltips ----

GUITooltipParam* GUIWindow::getFirstTooltipParam() const { return tooltipParams.empty() ? nullptr : tooltipParams.front(); }

GUITooltipParam* GUIWindow::findTooltipParam(std::wstring const& name) const {
    return findNamedObject(tooltipParams, name);
}

GUITooltipParam* GUIWindow::findTooltipParamById(int const& id) const {
    for (GUITooltipParam* param : tooltipParams)
        if (param->getTooltipId() == id) return param;
    return nullptr;
}

void GUIWindow::shareTooltipParams(GUIWindow const& other) {
    if (&other == this) return;  // appending to the list being walked
    for (GUITooltipParam* param : other.tooltipParams) {
        param->addRef();
        tooltipParams.push_back(param);
    }
}

// ---- hit test ----

namespace {

// The share of the way from lo to hi at x; 0 when the span is empty (a zero-sized rectangle
// maps every point to its first texel).
float share(float x, float lo, float hi) {
    float const span = hi - lo;
    if (!(span > 0.0f) || !std::isfinite(span)) return 0.0f;
    float const u = (x - lo) / span;
    return u < 0.0f ? 0.0f : (u > 1.0f ? 1.0f : u);
}

// Texel of the share (u, v) of a source rectangle, kept inside it.
bool texelAt(Texture2D* texture, RECT const& source, float u, float v, D3DXCOLOR& out) {
    LONG const w = source.right - source.left;
    LONG const h = source.bottom - source.top;
    if (w <= 0 || h <= 0) return false;
    LONG x = source.left + static_cast<LONG>(u * static_cast<float>(w));
    LONG y = source.top + static_cast<LONG>(v * static_cast<float>(h));
    if (x >= source.right) x = source.right - 1;
    if (y >= source.bottom) y = source.bottom - 1;
    if (x < 0 || y < 0) return false;
    return texture->readPixel(out, static_cast<u32>(x), static_cast<u32>(y));
}

RECT wholeTexture(Texture2D* texture) {
    return RECT{0, 0, static_cast<LONG>(texture->getWidth()), static_cast<LONG>(texture->getHeight())};
}

RECT toRECT(FRect const& r) {
    return RECT{static_cast<LONG>(r.left), static_cast<LONG>(r.top), static_cast<LONG>(r.right),
                static_cast<LONG>(r.bottom)};
}

}  // namespace

GUIWindow* GUIWindow::hitTest(D3DXVECTOR2 const& point, FRect const& clip, int const& flags) {
    bool const input = (flags & 2) != 0;
    if (options.drawSubwindows && options.visible && !(input && (options.inputIgnore & 2))) {
        FRect const childClip = options.drawInClientOnly ? clip.intersection(screenRect) : clip;
        for (std::size_t i = children.size(); i-- > 0;) {
            if (i >= children.size()) continue;
            GUIWindow* hit = children[i]->hitTest(point, childClip, flags);
            if (hit && hit != this) return hit;
        }
    }
    if (input && (options.inputIgnore & 1)) return nullptr;
    FRect const area = screenRect.intersection(clip);
    if (!options.visible || point.x < area.left || point.x > area.right || point.y < area.top ||
        point.y > area.bottom)
        return nullptr;

    if (options.useTextureCheck) {
        float const u = share(point.x, screenRect.left, screenRect.right);
        float const v = share(point.y, screenRect.top, screenRect.bottom);
        Texture2D* texture = nullptr;
        RECT source{};
        GUITextureSet const& set = drawOptions.textures;
        auto pick = [&](Texture2D* t, GUISourceRect const& layer) {
            if (texture || !t) return;
            texture = t;
            source = layer.use ? toRECT(layer.rect) : wholeTexture(t);
        };
        auto pickFrame = [&](Texture2DAnimation* animation) {
            if (texture || !animation) return;
            AnimationFrame const* frame = animation->getCurrentFrame();
            if (!frame || !frame->texture) return;
            texture = frame->texture;
            source = frame->rect;
        };
        pick(set.shape, drawOptions.normalSource);
        pickFrame(set.aniNormal);
        pickFrame(set.aniForeground);
        pickFrame(set.aniBackground);
        pick(set.normal, drawOptions.normalSource);
        pick(set.foreground, drawOptions.foregroundSource);
        pick(set.background, drawOptions.backgroundSource);
        if (!texture) return nullptr;
        D3DXCOLOR texel;
        if (!texelAt(texture, source, u, v, texel)) return nullptr;
        if (texel.a * 255.0f < static_cast<float>(options.textureCheckValue)) return nullptr;
    }
    if (input && options.activateParent && parent) return parent;
    return this;
}

}  // namespace Orvex
