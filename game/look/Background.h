// The table's background picture as a render object: drawn first (order 0.0), stretched over
// the frame's target rectangle, never picked. A background file names textures; every one whose
// name contains "BACKGROUND" is a picture, and reading picks one of them at random.
#pragma once

#include <string>
#include <vector>

#include "game/look/RenderObjekt.h"

namespace Solitaire {

class Background : public RenderObjekt {
public:
    // A background file has a few pictures; a file with far more is not loaded.
    static constexpr Orvex::u32 kMaxTextures = 256;

    explicit Background(std::wstring const& name);
    // Name from "NAME", then readXML; sourceName names the file in log lines.
    explicit Background(Orvex::XMLNode& node, std::wstring const& sourceName = std::wstring());
    ~Background() override;

    // Loads the pictures and picks the current one (the old one is suspended and released).
    void readXML(Orvex::XMLNode& node) override;
    void readXML(Orvex::XMLNode& node, std::wstring const& sourceName);
    void queueRender(RenderQueue& queue, RenderContext const& context) override;
    // The current picture stretched over the context's target, white and opaque.
    void render(RenderContext const& context) override;
    // Empty: the background is never picked.
    Orvex::SpriteRect getScreenQuad() override;
    Orvex::Texture2D* getShapeTexture() override { return current_; }
    float getRenderOrder() override { return 0.0f; }

    // With more than one picture, a random one becomes current (the old one is suspended); a
    // variant's start calls it.
    void pickRandomImage();

    std::vector<Orvex::Texture2D*> const& getPictures() const { return pictures_; }
    Orvex::Texture2D* getCurrentPicture() const { return current_; }

private:
    void releasePictures();
    // Makes picture current (one reference), suspending and releasing the one before.
    void show(Orvex::Texture2D* picture);

    std::vector<Orvex::Texture2D*> pictures_;
    Orvex::Texture2D* current_ = nullptr;
};

}  // namespace Solitaire
