// Where an emitted particle starts: at the emitter, on a random drawn pixel of the attached
// object (its shape texture over its screen quad) or of the source window (its normal texture
// over its screen rectangle), heading away from the middle unless it belongs to a circle.
// A texture without a drawn pixel (or none) starts the particle at the quad's position.
#include <cmath>

#include "engine/gui/GUIWindow.h"
#include "engine/render/Texture2D.h"
#include "game/particles/SolPartikel.h"
#include "port/d3dx9/d3dx9math.h"

namespace Solitaire {

namespace {


// The opaque-pixel list, built on first use; empty when the texture cannot be read.
std::vector<Orvex::u32> const& opaquePixels(Orvex::Texture2D& texture) {
    if (!texture.hasPixelList()) texture.buildPixelList(SolPartikelEmitter::kOpaqueAlpha);
    return texture.getPixelList();
}

// A random opaque pixel inside `image` (pixels of the texture), at most `tries` picks; the
// point within the image as fractions of its size (the pixel's middle). False when none.
bool pickPixel(Orvex::Texture2D& texture, Orvex::FRect const& image, int tries, D3DXVECTOR2& fraction) {
    float const width = image.right - image.left;
    float const height = image.bottom - image.top;
    if (opaquePixels(texture).empty() || !(width > 0.0f) || !(height > 0.0f)) return false;
    for (int i = 0; i < tries; ++i) {
        Orvex::u32 x = 0, y = 0;
        texture.pixelIndexToXY(texture.randomPixel(), x, y);
        float const px = static_cast<float>(x) + 0.5f;
        float const py = static_cast<float>(y) + 0.5f;
        if (px < image.left || px > image.right || py < image.top || py > image.bottom) continue;
        fraction = {(px - image.left) / width, (py - image.top) / height};
        return true;
    }
    return false;
}

D3DXVECTOR2 transformed(D3DXMATRIX const& matrix, D3DXVECTOR2 const& local) {
    D3DXVECTOR2 out;
    D3DXVec2TransformCoord(&out, &local, &matrix);
    return out;
}

// Starts the particle on a drawn pixel of the texture inside `image` (null: the whole texture)
// mapped onto the quad, heading from the quad's middle (or not at all), else at the quad's
// position without speed.
void startOnQuad(SolPartikel& child, Orvex::SpriteRect const& quad, Orvex::Texture2D* texture,
                 Orvex::FRect const* image, int tries, bool headAway) {
    D3DXVECTOR2 const none{0.0f, 0.0f};
    D3DXVECTOR2 fraction;
    bool const onPixel =
        texture && pickPixel(*texture,
                             image ? *image
                                   : Orvex::FRect(0.0f, 0.0f, static_cast<float>(texture->getWidth()),
                                                  static_cast<float>(texture->getHeight())),
                             tries, fraction);
    if (!onPixel) {
        child.start({quad.x, quad.y}, &none);
        return;
    }
    D3DXMATRIX const matrix = Orvex::makeSpriteMatrix(quad);
    D3DXVECTOR2 const point = transformed(matrix, {fraction.x * quad.w, fraction.y * quad.h});
    D3DXVECTOR2 const away = point - transformed(matrix, {quad.w * 0.5f, quad.h * 0.5f});
    child.start(point, headAway ? &away : &none);
}

}  // namespace

void SolPartikelEmitter::placeChild(SolPartikel& child, SpawnEntry const& entry) {
    // On an object or a window a circle entry starts without speed: a direction is always given.
    if (RenderObjekt* object = attached_.get()) {
        startOnQuad(child, object->getScreenQuad(), object->getShapeTexture(), nullptr, 1, !entry.circle);
        child.setDrawOrder(object->getRenderOrder() + 1.0f);
        return;
    }
    if (Orvex::GUIWindow* window = sourceWindow_.get()) {
        Orvex::GUIDrawOptions const& options = window->getDrawOptions();
        Orvex::SpriteRect const quad =
            Orvex::SpriteRect::fromFRect(window->getScreenRect(), 0.0f, {0.0f, 0.0f}, Orvex::SpriteRect::kCentreRelative);
        startOnQuad(child, quad, options.textures.normal, options.normalSource.use ? &options.normalSource.rect : nullptr,
                    kMaxWindowPixelTries, !entry.circle);
        child.setDrawOrder(kWindowDrawOrder);
        return;
    }
    if (!entry.circle) {
        child.start(position_, nullptr);
        return;
    }
    D3DXVECTOR2 circle{1.0f, 0.0f};
    if (entry.limit > 0) {
        // A limit of 0 or none spreads nothing: every particle takes the first direction.
        float const angle =
            D3DXToRadian(static_cast<float>(entry.spawned) * 360.0f / static_cast<float>(entry.limit));
        circle = {std::cos(angle), std::sin(angle)};
    }
    child.start(position_, &circle);
}

}  // namespace Solitaire
