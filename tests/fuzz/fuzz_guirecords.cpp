// Fuzzes the GUI window records with file bytes: every "GUIRECT", "MIN_SIZE"/"MAX_SIZE",
// "OPTIONS", "DRAWOPTIONS", "DRAWER", "GUI_MOVER" and "TOOLTIP" element anywhere in the tree is
// read, resolved against parents and screens of several sizes, stepped through frames and copied.
// Checks: rectangles stay finite and ordered, a constant spin stays within a turn, offsets stay
// finite. No device exists, so nothing draws.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "engine/gui/GUIDrawOptions.h"
#include "engine/gui/GUIRect.h"
#include "engine/gui/GUITooltipParam.h"
#include "engine/gui/GUIWindowDrawer.h"
#include "engine/gui/GUIWindowMover.h"
#include "engine/gui/GUIWindowOptions.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

using namespace Orvex;

// Nodes beyond this are not visited (a deep file is not more interesting).
constexpr int kMaxNodes = 2000;

void check(bool ok) {
    if (!ok) std::abort();
}

bool finite(FRect const& r) {
    return std::isfinite(r.left) && std::isfinite(r.right) && std::isfinite(r.top) && std::isfinite(r.bottom);
}

void rect(XMLNode const& node) {
    GUIRect r;
    r.load(node);
    GUIRectAxis const maxSize{1.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f};
    for (FRect const& parent : {FRect(0, 0, 800, 600), FRect(100, 50, 100, 50), FRect(-10, -10, 3000, 20)}) {
        FRect out;
        r.calcRect(out, parent, 1920, 1080);
        check(finite(out) && out.left <= out.right && out.top <= out.bottom);
        applySizeLimits(out, parent, r.position, maxSize);
        GUIRectAxis effective;
        r.getEffectiveSizeParams(effective, parent);
    }
}

void drawer(XMLNode const& node) {
    std::unique_ptr<GUIWindowDrawer> d(createWindowDrawer(node));
    bool const spin = dynamic_cast<GUIWindowDrawerRotation*>(d.get()) &&
                      static_cast<GUIWindowDrawerRotation&>(*d).mode == GUIWindowDrawerRotation::kConstRotSpeed;
    for (float dt : {0.016f, 1.0f, 0.0f, -1.0f, 1000.0f}) {
        d->update(dt);
        if (spin) check(d->rotation >= 0.0f && d->rotation < 360.0f);
    }
    std::unique_ptr<GUIWindowDrawer> copy(d->clone());
    copy->update(0.5f);
    guiColorToD3D(copy->getColor());
}

void mover(XMLNode const& node) {
    std::unique_ptr<GUIWindowMover> m(createWindowMover(node));
    for (float dt : {0.016f, 1.0f, 0.0f, -1.0f, 50.0f}) {
        m->update(dt);
        FRect r(10, 10, 20, 20);
        m->apply(r, FRect(0, 0, 800, 600));
    }
    std::unique_ptr<GUIWindowMover> copy(m->clone());
    copy->update(0.3f);
}

void visit(XMLNode& node, int& budget) {
    if (--budget < 0) return;
    std::wstring const& name = node.getName();
    if (name == L"GUIRECT") {
        rect(node);
    } else if (name == L"MIN_SIZE" || name == L"MAX_SIZE") {
        GUIRectAxis axis;
        axis.load(node);
    } else if (name == L"OPTIONS") {
        GUIWindowOptions options;
        options.load(node);
        GUIWindowOptions copy(options);
        copy = options;
    } else if (name == L"DRAWOPTIONS" && !node.getChild(L"TEXTURE_2D_NODE")) {
        GUIDrawOptions options;
        options.load(node);
        GUIDrawOptions copy(options);
        std::vector<GUIDrawLayer> layers;
        GUIWindowDrawer().planLayers(copy, GUIDrawState{0.5, true, 0.5}, layers);
    } else if (name == L"DRAWER") {
        drawer(node);
    } else if (name == L"GUI_MOVER") {
        mover(node);
    } else if (name == L"TOOLTIP") {
        auto* tip = new GUITooltipParam(node);
        std::wstring text;
        tip->getText(text);
        tip->release();
    }
    for (u32 i = 0, n = node.getChildCount(); i < n && budget > 0; ++i)
        if (XMLNode* child = node.getChild(L"", static_cast<int>(i))) visit(*child, budget);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, std::size_t size) {
    fuzz::quietLog();
    XMLNode root;
    if (!fuzz::readTree(data, size, root)) return 0;
    int budget = kMaxNodes;
    visit(root, budget);
    return 0;
}
