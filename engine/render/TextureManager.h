// A plain named list of textures, each entry holding one reference. Any part of the program may
// own one (the texture and animation registry holds one, the device object another: the last
// place where texture names are looked up). loadTextures reads a texture list: "TEXTUR2D"
// elements with "TEX_PART" children; the first texture of a name wins. loadTextureList reads a
// list file once: the GUI files name the same few lists again and again.
// TextureManager.cpp holds the list; TextureManager_device.cpp the device object's accessor
// D3DInterface::getTextureManager, kept here so that the platform library need not link this one.
#pragma once

#include <string>
#include <vector>

#include "engine/core/NamedObject.h"
#include "engine/core/ReadOnce.h"
#include "engine/render/Texture2D.h"
#include "engine/render/TextureParams.h"

namespace Orvex {

class XMLNode;

class TextureManager : public NamedObject {
public:
    TextureManager();
    explicit TextureManager(std::wstring const& name);
    TextureManager(TextureManager const&) = delete;
    TextureManager& operator=(TextureManager const&) = delete;
    // Releases every texture.
    ~TextureManager() override;

    // The first texture of exactly that name (case-sensitive), or null.
    Texture2D* findTexture(std::wstring const& name) const;
    bool tryFindTexture(std::wstring const& name, Texture2D*& out) const;
    // Every texture whose name contains text, in list order.
    std::vector<Texture2D*> findTexturesContaining(std::wstring const& text) const;

    // Appends a Texture2D (refuses null and other objects); takes a reference unless adopt
    // hands over the caller's.
    bool addTexture(NamedObject* object, bool const& adopt);
    // Releases every texture and empties the list.
    void releaseAll();

    // Loads the "TEXTUR2D" children of node and their "TEX_PART" parts; names already present
    // are skipped whole. Textures that fail to load are logged and left out.
    void loadTextures(XMLNode& node, TextureLoadParams params = TextureLoadParams());
    // Reads the list file (by the engine's file layer) and loads it as loadTextures does, unless
    // a reading of it, under any spelling (fileIdentity), was loaded since the list was last
    // emptied: it would add nothing, as its names are present or refused. False when the list
    // was loaded before or cannot be read.
    bool loadTextureList(std::wstring const& fileName, TextureLoadParams params = TextureLoadParams());

    std::vector<Texture2D*> const& getTextures() const { return textures_; }
    u32 getCount() const { return static_cast<u32>(textures_.size()); }

private:
    std::vector<Texture2D*> textures_;
    ReadOnce listsLoaded_;  // the list files loaded
};

}  // namespace Orvex
