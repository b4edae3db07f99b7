// The card as a render object: queueing, its screen quad and shape, and drawing its layers (back
// or shadowed, tinted face with overlays, keys, locks, mark) through the context's sprite.
#include <algorithm>
#include <cmath>

#include "engine/render/BaseSprite.h"
#include "engine/render/Texture2D.h"
#include "game/cards/CardDrawing.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenstapel.h"
#include "game/cards/Picking.h"
#include "game/look/Kartenset.h"
#include "game/look/Style.h"
#include "game/look/StyleSettings.h"
#include "port/d3dx9/d3dx9math.h"

namespace Solitaire {

namespace {


void drawLayer(RenderContext const& context, Orvex::Texture2D* texture, Orvex::SpriteRect const& quad,
               D3DCOLOR colour) {
    if (!texture || (colour >> 24) == 0) return;
    context.sprite->drawSpriteRect(texture, nullptr, quad, Orvex::SDP_SCALE, Orvex::SDP_SCALE, colour);
}

D3DXCOLOR times(D3DXCOLOR const& a, D3DXCOLOR const& b) { return {a.r * b.r, a.g * b.g, a.b * b.b, a.a * b.a}; }

// The corner index of a face (value over suit), as a share of the face's width and height: it
// lies in the top-left corner and, turned, in the bottom-right one.
constexpr float kIndexWidth = 0.21f;
constexpr float kIndexHeight = 0.285f;

// A dealt joker is a card of the deck: its own face's two corner indices, drawn over the joker's
// corners, say which.
void drawOwnIndices(RenderContext const& context, Karte const& card, Orvex::SpriteRect const& quad, D3DCOLOR colour) {
    Orvex::Texture2D* own = card.cardSet->getFace(card.suit, card.value);
    if (!own || (colour >> 24) == 0) return;
    RECT const whole = own->getRect();
    auto const width = static_cast<float>(whole.right - whole.left);
    auto const height = static_cast<float>(whole.bottom - whole.top);
    auto const indexWidth = static_cast<LONG>(width * kIndexWidth);
    auto const indexHeight = static_cast<LONG>(height * kIndexHeight);
    RECT const corners[2] = {{whole.left, whole.top, whole.left + indexWidth, whole.top + indexHeight},
                             {whole.right - indexWidth, whole.bottom - indexHeight, whole.right, whole.bottom}};
    // Each piece turns with the card about the card's centre, which the piece's centre shares.
    D3DXVECTOR2 const size{quad.w * kIndexWidth, quad.h * kIndexHeight};
    D3DXVECTOR2 const pivots[2] = {{0.5f / kIndexWidth, 0.5f / kIndexHeight},
                                   {(kIndexWidth - 0.5f) / kIndexWidth, (kIndexHeight - 0.5f) / kIndexHeight}};
    for (int i = 0; i < 2; ++i) {
        Orvex::SpriteRect const piece({quad.x, quad.y}, size, quad.rotation, pivots[i], quad.flags);
        context.sprite->drawSpriteRect(own, &corners[i], piece, Orvex::SDP_SCALE, Orvex::SDP_SCALE, colour);
    }
}

Orvex::Texture2D* chooseFace(Karte const& card) {
    Kartenset const& set = *card.cardSet;
    if (card.isJoker) return set.getSingle(Kartenset::kJoker);
    if (card.suit == Karte::kSuitExtra) return set.getInGroup(Kartenset::kExtraFaces, card.value);
    return set.getFace(card.suit, card.value);
}

}  // namespace

Orvex::SpriteRect cardQuad(Karte const& card, RenderContext const& context) {
    Orvex::FRect const r = computeScreenRect(card, context.camera);
    D3DXVECTOR2 const centre{(r.left + r.right) * 0.5f + context.screenOffset.x,
                             (r.top + r.bottom) * 0.5f + context.screenOffset.y};
    return Orvex::SpriteRect(centre, D3DXVECTOR2(r.right - r.left, r.bottom - r.top),
                             card.rotation.current + card.markRotation.current, D3DXVECTOR2(0.5f, 0.5f),
                             Orvex::SpriteRect::kCentreRelative | Orvex::SpriteRect::kPositionIsCentre);
}

ShadowDraws boundShadowDraws(int samples, int rings) {
    ShadowDraws out;
    out.samples = std::clamp(samples, 0, kMaxShadowDraws);
    out.rings = std::clamp(rings, 0, kMaxShadowDraws);
    // Keep every direction and thin out the rings first.
    if (out.samples > 0 && out.samples * out.rings > kMaxShadowDraws)
        out.rings = std::max(1, kMaxShadowDraws / out.samples);
    return out;
}

float markFade(int highlightLevel, int falloff, float markMin) {
    float const steps = static_cast<float>(std::max(falloff, 1));
    float const f = std::min(static_cast<float>(highlightLevel - 1) / steps, 1.0f - markMin);
    return std::max(0.0f, f);
}

bool shapeCovers(Orvex::Texture2D* shape, float u, float v) {
    if (!shape || !(u >= 0.0f && u <= 1.0f && v >= 0.0f && v <= 1.0f)) return shape == nullptr;
    shape->getD3DTexture();  // resumes a suspended shape so its pixels can be read
    unsigned const w = shape->getWidth(), h = shape->getHeight();
    if (w == 0 || h == 0) return true;
    unsigned const x = std::min(static_cast<unsigned>(u * static_cast<float>(w)), w - 1);
    unsigned const y = std::min(static_cast<unsigned>(v * static_cast<float>(h)), h - 1);
    D3DXCOLOR texel;
    if (!shape->readPixel(texel, x, y)) return true;
    return colourByte(texel.a) > kShapeAlphaThreshold;
}

void Karte::queueRender(RenderQueue& queue, RenderContext const&) {
    if (opacity.current == 0.0f) return;
    queue.add(this, getRenderOrder());
}

void Karte::render(RenderContext const& context) {
    if (!cardSet || !style || !context.sprite) return;
    Orvex::Texture2D* faceTexture = chooseFace(*this);
    if (!faceTexture) return;
    Orvex::SpriteRect const quad = cardQuad(*this, context);
    float const alpha = opacity.current;
    D3DXCOLOR tint{1.0f, 1.0f, 1.0f, 1.0f};
    bool const extra = suit == kSuitExtra;

    if (face.current <= 0.5f) {
        // A card still drawn with another set gets that set's back by the settings' rule too.
        Orvex::Texture2D* back = cardSet->getBack(StyleSettings::instance().getCardsBack());
        drawLayer(context, back, quad, toColour(D3DXCOLOR(1.0f, 1.0f, 1.0f, alpha)));
    } else {
        D3DXVECTOR4 const& lockGoal = locks.goal;
        bool const unlocked = lockGoal.x == 0.0f && lockGoal.y == 0.0f && lockGoal.z == 0.0f && lockGoal.w == 0.0f;
        if (!specialFlag && !extra && unlocked) {
            D3DXCOLOR const& k = style->shadingColour(pile ? pile->rules.shading : 0);
            tint = D3DXCOLOR(k.r, k.g, k.b, 1.0f);
        }
        Style::Shadow const& shadow = style->shadows[highlightLevel != 0 ? 1 : 0];
        D3DXCOLOR const shadowColour = times(shadow.colour, D3DXCOLOR(tint.r, tint.g, tint.b, alpha));
        ShadowDraws const draws = boundShadowDraws(shadow.samples, shadow.rings);
        if (colourByte(shadowColour.a) != 0 && draws.samples != 0) {
            D3DCOLOR const colour = toColour(shadowColour);
            for (int i = 0; i < draws.samples; ++i) {
                float const angle = static_cast<float>(i) / static_cast<float>(draws.samples) * 2.0f * D3DX_PI;
                for (int j = 1; j <= draws.rings; ++j) {
                    float const r = static_cast<float>(j) / static_cast<float>(draws.rings) * shadow.radius;
                    Orvex::SpriteRect moved = quad;
                    moved.x += shadow.offset.x + r * std::cos(angle);
                    moved.y += shadow.offset.y + r * std::sin(angle);
                    drawLayer(context, faceTexture, moved, colour);
                }
            }
        }
        drawLayer(context, faceTexture, quad, toColour(D3DXCOLOR(tint.r, tint.g, tint.b, alpha)));
        if (isDealtJoker()) drawOwnIndices(context, *this, quad, toColour(D3DXCOLOR(tint.r, tint.g, tint.b, alpha)));
        if (!extra) {
            if (isWildcard)
                drawLayer(context, cardSet->getSingle(Kartenset::kWildcard), quad,
                          toColour(D3DXCOLOR(tint.r, tint.g, tint.b, alpha)));
            if (highlightLevel != 0) {
                float const f = markFade(highlightLevel, style->markFalloff, style->markMin);
                D3DXCOLOR c = times(cardSet->markColour, tint);
                c.a = cardSet->markColour.a * (1.0f - f) * alpha;
                drawLayer(context, cardSet->getSingle(Kartenset::kMark), quad, toColour(c));
            }
        }
    }
    float const keyAlpha[4] = {keys.current.x, keys.current.y, keys.current.z, keys.current.w};
    float const lockAlpha[4] = {locks.current.x, locks.current.y, locks.current.z, locks.current.w};
    for (int i = 0; i < 4; ++i)
        drawLayer(context, cardSet->getInGroup(Kartenset::kKeys, i), quad,
                  toColour(D3DXCOLOR(tint.r, tint.g, tint.b, keyAlpha[i] * alpha)));
    for (int i = 0; i < 4; ++i)
        drawLayer(context, cardSet->getInGroup(Kartenset::kLocks, i), quad,
                  toColour(D3DXCOLOR(tint.r, tint.g, tint.b, lockAlpha[i] * alpha)));
    if (highlightLevel == 0 && !extra && markState != 0) {
        D3DXCOLOR c = times(markColour, tint);
        c.a = markColour.a * alpha;
        drawLayer(context, cardSet->getSingle(Kartenset::kMark), quad, toColour(c));
    }
}

Orvex::SpriteRect Karte::getScreenQuad() {
    D3DXVECTOR2 const centre{position.current.x + markOffset.current.x, position.current.y + markOffset.current.y};
    float const turn = std::fabs(face.current - 0.5f) * 2.0f;
    D3DXVECTOR2 const size{cardSize.x * scale.current * turn, cardSize.y * scale.current};
    return Orvex::SpriteRect(centre, size, rotation.current + markRotation.current, D3DXVECTOR2(0.5f, 0.5f),
                             Orvex::SpriteRect::kCentreRelative | Orvex::SpriteRect::kPositionIsCentre);
}

Orvex::Texture2D* Karte::getShapeTexture() { return cardSet ? cardSet->getShapeTexture(suit, value) : nullptr; }

}  // namespace Solitaire
