// Reading, copying and the layout manager of a GUI window's options.
#include "engine/gui/GUIWindowOptions.h"

#include "engine/core/XMLNode.h"
#include "engine/gui/GUILayoutManager.h"

namespace Orvex {

namespace {

void readBool(XMLNode const& node, wchar_t const* key, bool& out) {
    if (XMLAttribute const* a = node.getAttribute(key)) out = a->getBool();
}

}  // namespace

GUIWindowOptions::GUIWindowOptions(GUIWindowOptions const& other) {
    copyFlags(other);
    createLayoutManager(kindOf(other.layoutManager_));
}

GUIWindowOptions& GUIWindowOptions::operator=(GUIWindowOptions const& other) {
    if (this == &other) return *this;
    copyFlags(other);
    createLayoutManager(kindOf(other.layoutManager_));
    return *this;
}

GUIWindowOptions::~GUIWindowOptions() { delete layoutManager_; }

void GUIWindowOptions::copyFlags(GUIWindowOptions const& o) {
    visible = o.visible;
    enabled = o.enabled;
    drawSubwindows = o.drawSubwindows;
    useTextureCheck = o.useTextureCheck;
    textureCheckValue = o.textureCheckValue;
    activateParent = o.activateParent;
    canBringParentToFront = o.canBringParentToFront;
    canBringToFront = o.canBringToFront;
    mouseMove = o.mouseMove;
    moveParent = o.moveParent;
    drawInClientOnly = o.drawInClientOnly;
    usableForLayoutManager = o.usableForLayoutManager;
    layoutParam = o.layoutParam;
    inputToParent = o.inputToParent;
    inputIgnore = o.inputIgnore;
}

std::wstring GUIWindowOptions::kindOf(GUILayoutManager const* manager) {
    if (dynamic_cast<GUILayoutFILL_WOffset const*>(manager)) return L"DEFAULT_USEOFFEST";
    if (dynamic_cast<GUILayoutFILL const*>(manager)) return L"DEFAULT";
    return L"NULL";
}

void GUIWindowOptions::createLayoutManager(std::wstring const& kind) {
    delete layoutManager_;
    layoutManager_ = nullptr;
    if (kind == L"DEFAULT_USEOFFEST") layoutManager_ = new GUILayoutFILL_WOffset();
    else if (kind == L"DEFAULT") layoutManager_ = new GUILayoutFILL();
}

void GUIWindowOptions::load(XMLNode const& node) {
    readBool(node, L"ENABLED", enabled);
    readBool(node, L"DRAW_SUBWINDOWS", drawSubwindows);
    readBool(node, L"VISIBLE", visible);
    readBool(node, L"ACTIVATE_PARENT", activateParent);
    if (XMLAttribute const* a = node.getAttribute(L"INPUT_IGNORE")) inputIgnore = a->getInt();
    readBool(node, L"INPUT_TO_PARENT", inputToParent);
    readBool(node, L"USE_TEXTURE_CHECK", useTextureCheck);
    // An 8-bit value: larger numbers keep their low byte.
    if (XMLAttribute const* a = node.getAttribute(L"TEXTURE_CHECK_VALUE")) textureCheckValue = static_cast<u8>(a->getInt());
    readBool(node, L"MOUSE_MOVE", mouseMove);
    readBool(node, L"MOVE_PARENT", moveParent);
    readBool(node, L"CAN_BRING_TO_FRONT", canBringToFront);
    readBool(node, L"CAN_BRING_PARENT_TO_FRONT", canBringParentToFront);
    readBool(node, L"DRAW_IN_CLIENT_ONLY", drawInClientOnly);
    readBool(node, L"USABLE_FOR_LAYOUTMANAGER", usableForLayoutManager);
    if (XMLAttribute const* a = node.getAttribute(L"LAYOUTMANAGER")) createLayoutManager(a->getString());
    if (XMLAttribute const* a = node.getAttribute(L"LAYOUT_PARAM")) layoutParam = a->getString();
}

}  // namespace Orvex
