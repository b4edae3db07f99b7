// Preview textures of the catalogue and the paths derived from a variant's rule file.
#include "game/app/CataloguePreview.h"

#include <map>

#include "engine/platform/D3DInterface.h"
#include "engine/render/Texture2D.h"
#include "engine/render/TextureManager.h"
#include "engine/render/TextureParams.h"

namespace Solitaire {

namespace {

// The live preview textures by path, held without a reference: the catalogue names seven files
// for its 146 variants, and each texture made reads its file's header.
class PreviewShelf : public sigslot::has_slots<sigslot::single_threaded> {
public:
    Orvex::Texture2D* find(std::wstring const& path) const {
        auto const found = byPath_.find(path);
        return found == byPath_.end() ? nullptr : found->second;
    }
    void put(std::wstring const& path, Orvex::Texture2D* texture) {
        byPath_[path] = texture;
        texture->signalDestroyed.connect(this, &PreviewShelf::onDestroyed);
    }
    void clear() {
        for (auto const& [path, texture] : byPath_) texture->signalDestroyed.disconnect(this);
        byPath_.clear();
    }

private:
    void onDestroyed(Orvex::NamedObject* object) {
        for (auto it = byPath_.begin(); it != byPath_.end(); ++it)
            if (it->second == object) {
                byPath_.erase(it);
                return;
            }
    }

    std::map<std::wstring, Orvex::Texture2D*> byPath_;
};

PreviewShelf& previewShelf() {
    static PreviewShelf shelf;
    return shelf;
}

}  // namespace

Orvex::Texture2D* makePreviewTexture(std::wstring const& path) {
    if (path.empty()) return nullptr;
    PreviewShelf& shelf = previewShelf();
    if (Orvex::Texture2D* shared = shelf.find(path)) {
        shared->addRef();
        return shared;
    }
    auto* texture = new Orvex::Texture2D();
    texture->setSuspended(true);
    texture->loadFromFile(path, Orvex::TextureLoadParams(0, 0xFFFFFFFFu, 1, 1), Orvex::TextureCreateParams());
    texture->setSuspended(true);
    shelf.put(path, texture);
    return texture;
}

void forgetPreviewTextures() { previewShelf().clear(); }

Orvex::Texture2D* findRegisteredPreview(std::wstring const& name) {
    Orvex::Texture2D* texture = Orvex::D3DInterface::getInstance().getTextureManager().findTexture(name);
    if (texture) texture->addRef();
    return texture;
}

std::wstring replaceExtension(std::wstring const& path, std::wstring const& extension) {
    std::size_t const dot = path.rfind(L'.');
    if (dot == std::wstring::npos) return std::wstring();
    return path.substr(0, dot) + extension;
}

}  // namespace Solitaire
