// The font base: keys, scaled sizes, device signals and the private resource reference.
#include "engine/gui/Font.h"

#include <algorithm>

#include "engine/core/Logger.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/D3DXFontInterface.h"
#include "engine/gui/FontResourceHandle.h"
#include "engine/platform/D3DInterface.h"

namespace Orvex {

u32 scaledFontHeight(u32 height, u32 screenHeight) {
    return static_cast<u32>(static_cast<float>(screenHeight) / kReferenceScreenHeight * static_cast<float>(height));
}

u32 scaledFontWidth(u32 width, u32 screenWidth) {
    return static_cast<u32>(static_cast<float>(screenWidth) * (1.0f / kReferenceScreenWidth) * static_cast<float>(width));
}

Font::Font() { connectDevice(); }

Font::Font(XMLNode& node) : NamedObject(node) {
    connectDevice();
    fontName = node.getAttributeString(L"FONT_NAME", fontName);
    int const h = node.getAttributeInt(L"HEIGHT", static_cast<int>(height));
    int const w = node.getAttributeInt(L"WIDTH", static_cast<int>(width));
    height = static_cast<u32>(std::clamp(h, 0, kMaxSize));
    width = static_cast<u32>(std::clamp(w, 0, kMaxSize));
    if (height != static_cast<u32>(h) || width != static_cast<u32>(w))
        logWarning(L"Font \"" + getName() + L"\": HEIGHT or WIDTH beyond 0 to " + std::to_wstring(kMaxSize) +
                   L", brought inside");
    italic = node.getAttributeBool(L"ITALIC", italic);
    weight = static_cast<u32>(node.getAttributeInt(L"SIZE", static_cast<int>(weight)));
    scaleWithScreen = node.getAttributeBool(L"SCALE_WITH_SCREEN", scaleWithScreen);
    std::wstring const resource = node.getAttributeString(L"USE_FONT_RESOURCE", fontName);
    fontResource = D3DXFontInterface::instance().findFontResource(resource);
    if (fontResource) fontResource->addRef();
}

Font::Font(Font const& other)
    : NamedObject(other),
      fontName(other.fontName),
      height(other.height),
      width(other.width),
      italic(other.italic),
      weight(other.weight),
      created(other.created),
      scaleWithScreen(other.scaleWithScreen),
      fontResource(other.fontResource) {
    if (fontResource) fontResource->addRef();
    connectDevice();
}

Font::~Font() {
    if (fontResource) fontResource->release();
}

void Font::connectDevice() {
    D3DInterface& d3d = D3DInterface::getInstance();
    d3d.signalDeviceLost.connect(this, &Font::onLostDevice);
    d3d.signalDeviceReset.connect(this, &Font::onResetDevice);
    d3d.signalDeviceShutdown.connect(this, &Font::onDeviceShutdown);
    d3d.signalDeviceCreated.connect(this, &Font::onDeviceCreated);
}

void Font::onDeviceShutdown() {
    remakeOnDevice_ = created;
    releaseResources();
}

void Font::onDeviceCreated() {
    if (!remakeOnDevice_) return;
    remakeOnDevice_ = false;
    create();
}

float Font::getHeight(bool scaled) const {
    return static_cast<float>(scaled && scaleWithScreen ? deviceHeight() : height);
}

u32 Font::deviceHeight() const {
    return scaleWithScreen ? scaledFontHeight(height, D3DInterface::getInstance().getHeight()) : height;
}

u32 Font::deviceWidth() const {
    return scaleWithScreen ? scaledFontWidth(width, D3DInterface::getInstance().getWidth()) : width;
}

}  // namespace Orvex
