// Preview textures of the catalogue and the paths derived from a variant's rule file.
#include "game/app/CataloguePreview.h"

#include "engine/platform/D3DInterface.h"
#include "engine/render/Texture2D.h"
#include "engine/render/TextureManager.h"
#include "engine/render/TextureParams.h"

namespace Solitaire {

Orvex::Texture2D* makePreviewTexture(std::wstring const& path) {
    if (path.empty()) return nullptr;
    auto* texture = new Orvex::Texture2D();
    texture->setSuspended(true);
    texture->loadFromFile(path, Orvex::TextureLoadParams(0, 0xFFFFFFFFu, 1, 1), Orvex::TextureCreateParams());
    texture->setSuspended(true);
    return texture;
}

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
