// The texture list: lookups by name, adding with references, and loading texture lists.
#include "engine/render/TextureManager.h"

#include "engine/core/NamedObjectList.h"
#include "engine/core/Utils.h"
#include "engine/core/XMLNode.h"
#include "engine/render/TextureSettings.h"

namespace Orvex {

namespace {

// "suspend on load": the new texture reads only its image information until first use.
void suspendForLoad(Texture2D& texture) {
    if (TextureModuleSettings::get().suspendOnLoad && !texture.isSuspended() && texture.canSuspend()) texture.suspend();
}

}  // namespace

TextureManager::TextureManager() = default;

TextureManager::TextureManager(std::wstring const& name) : NamedObject(name) {}

TextureManager::~TextureManager() { releaseAll(); }

Texture2D* TextureManager::findTexture(std::wstring const& name) const { return findNamedObject(textures_, name); }

bool TextureManager::tryFindTexture(std::wstring const& name, Texture2D*& out) const {
    out = findTexture(name);
    return out != nullptr;
}

std::vector<Texture2D*> TextureManager::findTexturesContaining(std::wstring const& text) const {
    std::vector<Texture2D*> found;
    for (Texture2D* texture : textures_)
        if (texture && texture->getName().find(text) != std::wstring::npos) found.push_back(texture);
    return found;
}

bool TextureManager::addTexture(NamedObject* object, bool const& adopt) {
    Texture2D* texture = dynamic_cast<Texture2D*>(object);
    if (!texture) return false;
    if (!adopt) texture->addRef();
    textures_.push_back(texture);
    return true;
}

void TextureManager::releaseAll() {
    Orvex::releaseAll(textures_);
    listsLoaded_.clear();
}

bool TextureManager::loadTextureList(std::wstring const& fileName, TextureLoadParams params) {
    return listsLoaded_.readTree(fileName, [&](XMLNode& list) { loadTextures(list, params); });
}

void TextureManager::loadTextures(XMLNode& node, TextureLoadParams params) {
    forEachChild(node, L"TEXTUR2D", [&](XMLNode& child) {
        if (findTexture(child.getAttributeString(L"NAME", L""))) return true;
        Texture2D* texture = new Texture2D();
        suspendForLoad(*texture);
        if (!texture->loadFromXML(child, params)) {
            texture->release();
            return true;
        }
        addTexture(texture, false);
        forEachChild(child, L"TEX_PART", [&](XMLNode& partNode) {
            if (findTexture(partNode.getAttributeString(L"NAME", L""))) return true;
            Texture2D* part = new Texture2D();
            suspendForLoad(*part);
            if (part->loadPart(partNode, texture)) addTexture(part, false);
            part->release();
            return true;
        });
        texture->release();
        return true;
    });
}

}  // namespace Orvex
