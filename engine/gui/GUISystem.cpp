// The GUI system's lists (top-level windows, templates, tooltips), the active, focus and pressed
// windows, z-order of top-level windows, the per-frame update and drawing.
#include "engine/gui/GUISystem.h"

#include <algorithm>

#include "engine/core/NamedObjectList.h"
#include "engine/gui/GUITooltip.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/GUIWindowRef.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/BaseSprite.h"
#include "engine/render/D3DXSprite.h"
#include "engine/render/SpriteHolder.h"
#include "port/d3d9/d3d9.h"

namespace Orvex {

namespace {

bool qualityStencil = false;

bool containsText(std::wstring const& text, std::wstring const& part) { return text.find(part) != std::wstring::npos; }

}  // namespace

GUISystem::WindowFilter::WindowFilter(std::vector<std::wstring> includeTexts,
                                      std::vector<std::wstring> const& excludeTexts)
    : include(std::move(includeTexts)) {
    if (!excludeTexts.empty()) exclude = excludeTexts;
}

bool GUISystem::WindowFilter::passes(std::wstring const& name) const {
    for (std::wstring const& text : include)
        if (!containsText(name, text)) return false;
    for (std::wstring const& text : exclude)
        if (containsText(name, text)) return false;
    return true;
}

GUISystem& GUISystem::instance() {
    static GUISystem gui;
    return gui;
}

GUISystem::GUISystem() : device_(&D3DInterface::getInstance()) {
    sprite_ = &device_->getSprite().getD3DXSpriteObject();
    device_->signalDeviceLost.connect(this, &GUISystem::onDeviceLost);
    device_->signalDeviceReset.connect(this, &GUISystem::onDeviceReset);
}

GUISystem::~GUISystem() {
    clear();
    disconnect_all();
}

bool GUISystem::useQualityStencil() { return qualityStencil; }

void GUISystem::setQualityStencil(bool on) { qualityStencil = on; }

FRect GUISystem::getScreenRect() const {
    return FRect(0.0f, 0.0f, static_cast<float>(device_->getWidth()), static_cast<float>(device_->getHeight()));
}

// ---- lists ----

void GUISystem::listWindow(GUIWindow* window) {
    windows_.push_back(window);
    listed_.insert(window);
    ++listChanges_;
}

void GUISystem::addWindow(GUIWindow* window) {
    if (!window || listed_.count(window)) return;
    window->addRef();
    listWindow(window);
    sortWindows();
}

bool GUISystem::removeWindow(GUIWindow* window) {
    if (!listed_.erase(window)) return false;
    ++listChanges_;
    windows_.erase(std::find(windows_.begin(), windows_.end(), window));
    window->release();
    return true;
}

void GUISystem::getWindows(std::vector<GUIWindow*>& out) const { out.insert(out.end(), windows_.begin(), windows_.end()); }

void GUISystem::collectAllWindows(std::vector<GUIWindow*>& out) const {
    for (GUIWindow* window : windows_) {
        out.push_back(window);
        window->collectDescendants(out);
    }
}

void GUISystem::collectWindows(std::vector<GUIWindow*>& out, WindowFilter const& filter) const {
    std::vector<GUIWindow*> all;
    collectAllWindows(all);
    for (GUIWindow* window : all)
        if (filter.passes(window->getName())) out.push_back(window);
}

void GUISystem::collectTemplates(std::vector<GUIWindow*>& out, WindowFilter const& filter) const {
    for (GUIWindow* window : templates_)
        if (filter.passes(window->getName())) out.push_back(window);
}

GUIWindow* GUISystem::findWindow(std::wstring const& name) const {
    FoundNames& found = foundNames_;
    if (found.treeChanges != GUIWindow::treeChangeCount() || found.renames != NamedObject::renameCount() ||
        found.roots != windows_) {
        found.answers.clear();
        found.treeChanges = GUIWindow::treeChangeCount();
        found.renames = NamedObject::renameCount();
        found.roots = windows_;
    } else if (auto const known = found.answers.find(name); known != found.answers.end()) {
        return known->second;
    }
    GUIWindow* window = nullptr;
    for (GUIWindow* root : windows_)
        if ((window = root->findChild(name))) break;
    found.answers.emplace(name, window);
    return window;
}

GUIWindow* GUISystem::findTemplate(std::wstring const& name) const {
    for (GUIWindow* window : templates_)
        if (GUIWindow* found = window->findChild(name)) return found;
    return nullptr;
}

void GUISystem::findAllWindows(std::wstring const& userId, std::vector<GUIWindow*>& out) const {
    for (GUIWindow* window : windows_) window->collectByUserId(userId, out);
}

void GUISystem::clear() {
    exchange(active_, nullptr);
    exchange(focus_, nullptr);
    exchange(pressed_, nullptr);
    // Emptied before the releases: a destructor reached from here finds the lists consistent.
    std::vector<GUIWindow*> old;
    old.swap(windows_);
    listed_.clear();
    ++listChanges_;
    windowsLoaded_ = 0;
    loadedFiles_.clear();
    unreadFiles_.clear();
    old.insert(old.end(), templates_.begin(), templates_.end());
    old.insert(old.end(), tooltips_.begin(), tooltips_.end());
    templates_.clear();
    tooltips_.clear();
    for (GUIWindow* window : old) window->release();
}

void GUISystem::rebuildTooltips() {
    releaseAll(tooltips_);
    std::vector<GUIWindow*> all;
    collectAllWindows(all);
    for (GUIWindow* window : all)
        if (dynamic_cast<GUITooltip*>(window)) {
            window->addRef();
            tooltips_.push_back(window);
        }
}


// ---- z-order ----

bool GUISystem::layerLess(GUIWindow const* a, GUIWindow const* b) {
    return static_cast<u32>(a->getDrawOptions().layer) < static_cast<u32>(b->getDrawOptions().layer);
}

void GUISystem::sortWindows() { std::stable_sort(windows_.begin(), windows_.end(), layerLess); }

void GUISystem::bringToFront(GUIWindow* window) {
    auto const end = std::remove(windows_.begin(), windows_.end(), window);
    bool const found = end != windows_.end();
    windows_.erase(end, windows_.end());
    if (found) windows_.push_back(window);
    sortWindows();
}

void GUISystem::sendToBack(GUIWindow* window) {
    auto const end = std::remove(windows_.begin(), windows_.end(), window);
    bool const found = end != windows_.end();
    windows_.erase(end, windows_.end());
    if (found) windows_.insert(windows_.begin(), window);
    sortWindows();
}

// ---- roles ----

bool GUISystem::exchange(GUIWindow*& slot, GUIWindow* w) {
    GUIWindow* const old = slot;
    if (w) w->addRef();
    slot = w;
    if (old) old->release();
    return old != w;
}

void GUISystem::setActiveWindow(GUIWindow* window) {
    if (exchange(active_, window)) activeWindowChanged.emit(window);
    HeldList<GUIWindow> tips(tooltips_);
    for (GUIWindow* tip : tips) static_cast<GUITooltip*>(tip)->setTarget(window);
}

void GUISystem::setFocusWindow(GUIWindow* window) {
    if (exchange(focus_, window)) focusWindowChanged.emit(window);
}

void GUISystem::setPressedWindow(GUIWindow* window, MouseState const& state) {
    exchange(pressed_, window);
    if (!window) return;
    FRect const r = window->getScreenRect();
    dragOffset_ = D3DXVECTOR2(r.left - state.x, r.top - state.y);
    lastDrag_ = D3DXVECTOR2(state.x, state.y);
}

// ---- frame ----

bool GUISystem::stillListed(GUIWindow const* window, u64 taken) const {
    return listChanges_ == taken || listed_.count(window) > 0;
}

void GUISystem::update(double dt) {
    // A window's update may reorder, add or drop top-level windows: walk a held snapshot, and
    // pass over windows that left the list meanwhile.
    HeldList<GUIWindow> snapshot(windows_);
    u64 const taken = listChanges_;
    for (GUIWindow* window : snapshot)
        if (stillListed(window, taken)) window->update(dt);
    if (!pressed_) hover(pointer_);
}

void GUISystem::draw() {
    if (!sprite_) sprite_ = &device_->getSprite().getD3DXSpriteObject();
    D3DPERF_BeginEvent(0, L"GUISystem::draw()");
    sprite_->Begin(kSpriteFlags, nullptr);
    HeldList<GUIWindow> snapshot(windows_);
    bool const beginOwnBatch = false;
    u64 const taken = listChanges_;
    GUIWindow::beginTopLevelSeries();
    for (GUIWindow* window : snapshot)
        if (stillListed(window, taken)) window->drawRoot(beginOwnBatch);
    GUIWindow::endTopLevelSeries();
    sprite_->End();
    D3DPERF_EndEvent();
}

void GUISystem::onDeviceReset() {
    HeldList<GUIWindow> snapshot(windows_);
    for (GUIWindow* window : snapshot) window->updateRect(false, false);
}

}  // namespace Orvex
