// "CREATE_CLICK": a press and a release on each named window, without a pointer. The windows get
// an empty mouse state (position 0, 0, no button down) and emit press, release and click as for
// a real click.
#include "engine/gui/GUIMenuCreateClickN.h"

#include "engine/core/Logger.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/GUIWindowRef.h"

namespace Orvex {

void GUIMenuCreateClickN::readXML(XMLNode& node) {
    GUIMenuLinkN::readXML(node);
    appendChildValues(node, L"CREATE_LCLICK", leftClick_);
    appendChildValues(node, L"CREATE_RCLICK", rightClick_);
    times_ = node.getAttributeInt(L"N_TIMES", times_);
    if (times_ > kMaxTimes) {
        logWarning(L"Menu link \"" + getName() + L"\"" + atLine(node) + L": N_TIMES " + std::to_wstring(times_) +
                   L" is more than " +
                   std::to_wstring(kMaxTimes) + L"; " + std::to_wstring(kMaxTimes) + L" clicks are made");
        times_ = kMaxTimes;
    }
}

void GUIMenuCreateClickN::collectWindowNames(std::vector<std::wstring>& out) const {
    GUIMenuLinkN::collectWindowNames(out);
    out.insert(out.end(), leftClick_.begin(), leftClick_.end());
    out.insert(out.end(), rightClick_.begin(), rightClick_.end());
}

namespace {

using MouseHandler = void (GUIWindow::*)(MouseState&);

// A press and a release on each existing window of the list, in order.
void clickEach(std::vector<std::wstring> const& names, MouseHandler press, MouseHandler release) {
    GUISystem& gui = GUISystem::instance();
    for (std::wstring const& name : names) {
        GUIWindow* window = gui.findWindow(name);
        if (!window) continue;
        HeldRef<GUIWindow> hold(window);
        MouseState none;
        (window->*press)(none);
        (window->*release)(none);
    }
}

}  // namespace

bool GUIMenuCreateClickN::execute() {
    for (int n = 0; n < times_; ++n) {
        clickEach(leftClick_, &GUIWindow::onLeftPress, &GUIWindow::onLeftRelease);
        clickEach(rightClick_, &GUIWindow::onRightPress, &GUIWindow::onRightRelease);
    }
    return breaksAfterAction();
}

}  // namespace Orvex
