// Device fonts: creation with the fallback face, device loss and reset, property changes.
#include "engine/gui/D3DXFont.h"

#include "engine/platform/D3DInterface.h"

namespace Orvex {

namespace {

// The face tried when the configured one cannot be made.
constexpr wchar_t kFallbackFace[] = L"Arial";

}  // namespace

D3DXFont::D3DXFont(D3DXFont const& other) : Font(other) { created = false; }

D3DXFont::D3DXFont(Font const& definition) : Font(definition) { created = false; }

D3DXFont::~D3DXFont() {
    if (deviceFont_) deviceFont_->Release();
}

void D3DXFont::create() {
    if (created) return;
    if (deviceFont_) deviceFont_->Release();
    deviceFont_ = nullptr;
    createFailed_ = false;
    IDirect3DDevice9* device = D3DInterface::getInstance().getDevice();
    if (!device) return;  // made once the device exists
    INT const h = static_cast<INT>(deviceHeight());
    UINT const w = deviceWidth();
    if (FAILED(D3DXCreateFontW(device, h, w, weight, 1, italic, DEFAULT_CHARSET, 0, 0, 0, fontName.c_str(),
                               &deviceFont_)) &&
        FAILED(D3DXCreateFontW(device, h, w, weight, 1, italic, DEFAULT_CHARSET, 0, 0, 0, kFallbackFace,
                               &deviceFont_))) {
        deviceFont_ = nullptr;
        createFailed_ = true;
    }
    created = true;
    changed.emit(*this);
}

void D3DXFont::releaseResources() {
    if (deviceFont_) deviceFont_->Release();
    deviceFont_ = nullptr;
    created = false;
}

void D3DXFont::onLostDevice() {
    if (deviceFont_) deviceFont_->OnLostDevice();
}

void D3DXFont::onResetDevice() {
    if (deviceFont_) deviceFont_->OnResetDevice();
    if (!scaleWithScreen) return;
    if (deviceFont_) deviceFont_->Release();
    deviceFont_ = nullptr;
    remake();
}

void D3DXFont::remake() {
    if (!created) return;
    created = false;
    create();
}

void D3DXFont::setFontName(std::wstring const& name) {
    fontName = name;
    remake();
}

void D3DXFont::setHeight(u32 const& h) {
    height = h;
    remake();
}

void D3DXFont::setWeight(u32 const& w) {
    weight = w;
    remake();
}

void D3DXFont::preloadText(std::wstring const& text) {
    if (deviceFont_) deviceFont_->PreloadTextW(text.c_str(), static_cast<INT>(text.size()));
}

}  // namespace Orvex
