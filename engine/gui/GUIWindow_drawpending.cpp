// Placeholders for the window's drawing operations so the window links before its drawing
// lands: they draw nothing. GUIWindow_draw.cpp replaces this whole file.
#include "engine/gui/GUIWindow.h"

namespace Orvex {

void GUIWindow::draw(FRect const&) {}

void GUIWindow::drawRoot(bool const&) {}

void GUIWindow::drawShape() {}

void GUIWindow::drawSelf() {}

bool GUIWindow::shouldDrawChild(unsigned, GUIWindow*) { return true; }

void GUIWindow::createStencilBuffer(int&, int&, FRect const&, bool const&) { stencilBit = -1; }

void GUIWindow::releaseStateBlock() {
    if (stateBlock) stateBlock->Release();
    stateBlock = nullptr;
}

}  // namespace Orvex
