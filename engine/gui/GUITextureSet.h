// The textures of a GUI window's draw options: eight textures (one reference each) and four
// frame animations (one reference each; a clone of its own when read from data or copied with
// the record, shared when a template hands it over). Setters release the old object and take a
// reference on the new one.
#pragma once

#include <string>

namespace Orvex {

class Texture2D;
class Texture2DAnimation;
class XMLNode;

class GUITextureSet {
public:
    Texture2D* normal = nullptr;
    Texture2D* press = nullptr;
    Texture2D* mark = nullptr;
    Texture2D* pressMark = nullptr;
    Texture2D* disable = nullptr;
    Texture2D* shape = nullptr;
    Texture2D* background = nullptr;
    Texture2D* foreground = nullptr;
    Texture2DAnimation* aniNormal = nullptr;
    Texture2DAnimation* aniMark = nullptr;
    Texture2DAnimation* aniBackground = nullptr;
    Texture2DAnimation* aniForeground = nullptr;

    GUITextureSet() = default;
    // Textures shared, animations cloned.
    GUITextureSet(GUITextureSet const& other);
    GUITextureSet& operator=(GUITextureSet const& other);
    ~GUITextureSet();

    // "TEXTURE_2D_NODE" (textures loaded into the device's texture manager), then "TEX_NORMAL",
    // "TEX_MARK", "TEX_PRESS", "TEX_PRESS_MARK", "TEX_DISABLE", "TEX_SHAPE", "TEX_BACKGROUND",
    // "TEX_FOREGROUND" (a name not found leaves no texture, with a log line), then "ANI_NORMAL",
    // "ANI_MARK", "ANI_BACKGROUND", "ANI_FOREGROUND" (a name not found keeps the old one).
    void load(XMLNode const& node);

    // Release the old, reference the new (null allowed).
    static void assignTexture(Texture2D*& slot, Texture2D* texture);
    static void assignAnimation(Texture2DAnimation*& slot, Texture2DAnimation* animation);
    // The slot holds its own clone of animation (or nothing for null).
    static void assignAnimationClone(Texture2DAnimation*& slot, Texture2DAnimation* animation);

    void releaseAll();
};

}  // namespace Orvex
