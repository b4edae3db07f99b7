// The store of pictures decoded from image files (see FilePictures.h).
#include "engine/render/FilePictures.h"

#include <string_view>

#include "engine/platform/D3DInterface.h"

namespace Orvex {

namespace {

// The store while it exists (released is called from textures destroyed at exit too).
FilePictures* gStore = nullptr;

ULONG referencesOf(IDirect3DTexture9* texture) {
    texture->AddRef();
    return texture->Release();
}

}  // namespace

FilePictures& FilePictures::instance() {
    static FilePictures store;
    return store;
}

FilePictures::FilePictures() {
    D3DInterface& d3d = D3DInterface::getInstance();
    d3d.signalDeviceLost.connect(this, &FilePictures::onDeviceLost);
    d3d.signalDeviceShutdown.connect(this, &FilePictures::onDeviceShutdown);
    gStore = this;
}

FilePictures::~FilePictures() {
    gStore = nullptr;
    onDeviceShutdown();
}

FilePictures::Result FilePictures::obtain(std::wstring const& file, std::vector<u8> const& data, u64 pixels,
                                          TextureCreateParams const& p, D3DFORMAT format, bool own,
                                          IDirect3DTexture9*& texture, D3DXIMAGE_INFO& info, HRESULT& hr) {
    texture = nullptr;
    hr = S_OK;
    IDirect3DDevice9* device = D3DInterface::getInstance().getDevice();
    if (!device) {
        hr = D3DERR_INVALIDCALL;
        return Result::kFailed;
    }
    std::string_view const bytes(reinterpret_cast<char const*>(data.data()), data.size());
    Key const key{file,          data.size(), std::hash<std::string_view>{}(bytes), p.Width, p.Height, p.MipLevels,
                  p.Usage,       format,      p.Pool,      p.Filter,  p.MipFilter, p.ColorKey};
    if (!own) {
        if (auto const found = byKey_.find(key); found != byKey_.end()) {
            texture = found->second;
            texture->AddRef();
            info = entries_[texture].info;
            return Result::kShared;
        }
    }
    if (held_ + pixels > budget_.heldPixels) sweep();
    if (held_ + pixels > budget_.heldPixels) return Result::kOverBudget;
    hr = D3DXCreateTextureFromFileInMemoryEx(device, data.data(), static_cast<UINT>(data.size()), p.Width, p.Height,
                                             p.MipLevels, p.Usage, format, p.Pool, p.Filter, p.MipFilter, p.ColorKey,
                                             &info, p.palette, &texture);
    if (FAILED(hr) || !texture) {
        texture = nullptr;
        return Result::kFailed;
    }
    texture->AddRef();  // the store's
    entries_[texture] = Entry{pixels, p.Pool, info, !own, key};
    if (!own) byKey_[key] = texture;
    held_ += pixels;
    return Result::kMade;
}

bool FilePictures::isShared(IDirect3DTexture9* texture) const {
    auto const found = entries_.find(texture);
    return found != entries_.end() && found->second.shared;
}

void FilePictures::released(IDirect3DTexture9* texture, ULONG left) {
    if (gStore && left == 1 && gStore->entries_.count(texture)) gStore->drop(texture);
}

u64 FilePictures::heldPixels() {
    sweep();
    return held_;
}

void FilePictures::drop(IDirect3DTexture9* texture) {
    auto const found = entries_.find(texture);
    if (found == entries_.end()) return;
    held_ -= found->second.pixels;
    if (found->second.shared) byKey_.erase(found->second.key);
    entries_.erase(found);
    texture->Release();
}

void FilePictures::sweep() {
    std::vector<IDirect3DTexture9*> unheld;
    for (auto const& [texture, entry] : entries_)
        if (referencesOf(texture) == 1) unheld.push_back(texture);
    for (IDirect3DTexture9* texture : unheld) drop(texture);
}

void FilePictures::onDeviceLost() {
    // The device is reset only once every D3DPOOL_DEFAULT texture is gone.
    std::vector<IDirect3DTexture9*> lost;
    for (auto const& [texture, entry] : entries_)
        if (entry.pool == D3DPOOL_DEFAULT) lost.push_back(texture);
    for (IDirect3DTexture9* texture : lost) drop(texture);
}

void FilePictures::onDeviceShutdown() {
    while (!entries_.empty()) drop(entries_.begin()->first);
    refused_.clear();
    noticed_.clear();
}

}  // namespace Orvex
