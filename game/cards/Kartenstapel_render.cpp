// Drawing a pile: the empty-place picture of its type (a stock dealt once the plain place), the
// markers of what it accepts when empty and its mark, each stretched over the pile's
// camera-mapped rectangle.
#include "engine/render/BaseSprite.h"
#include "game/cards/CardDrawing.h"
#include "game/cards/Kartenstapel.h"
#include "game/cards/Picking.h"
#include "game/cards/PileWords.h"
#include "game/cards/RuleWords.h"
#include "game/look/Kartenset.h"

namespace Solitaire {

namespace {

constexpr D3DCOLOR kMarkerColour = 0x80FFFFFF;  // accept markers at half alpha

void drawStretched(RenderContext const& context, Orvex::Texture2D* texture, Orvex::FRect const& rect,
                   D3DCOLOR colour) {
    if (texture) context.sprite->drawInRect(texture, nullptr, rect, Orvex::SDP_SCALE, Orvex::SDP_SCALE, colour);
}

}  // namespace

void Kartenstapel::queueRender(RenderQueue& queue, RenderContext const&) {
    if (rules.drawPile) queue.add(this, rules.renderIndex);
}

int Kartenstapel::getEmptyPictureType() const {
    if (rules.pileType != kPileVorrat) return rules.pileType;
    bool const fetches = (rules.clickOnEmpty & kEmptyHolenAlle) != 0;
    bool const usedUp = (rules.clickOnEmpty & kEmptyHolenXMult) != 0 && rules.restCount == 0;
    return fetches && !usedUp ? kPileVorrat : kPileTableau;
}

void Kartenstapel::render(RenderContext const& context) {
    if (!rules.drawPile || !cardSet || !style || !context.sprite) return;
    Orvex::FRect rect = computeScreenRect(*this, context.camera);
    rect.left += context.screenOffset.x;
    rect.right += context.screenOffset.x;
    rect.top += context.screenOffset.y;
    rect.bottom += context.screenOffset.y;
    drawStretched(context, cardSet->getPilePicture(getEmptyPictureType()), rect, 0xFFFFFFFF);
    if (rules.acceptColourRuleEmpty != kColourNichts && rules.acceptValueRuleEmpty != kValueNichts) {
        drawStretched(context, cardSet->getColourMark(rules.acceptColourRuleEmpty), rect, kMarkerColour);
        drawStretched(context, cardSet->getValueMark(rules.acceptValueRuleEmpty), rect, kMarkerColour);
    }
    Orvex::Texture2D* mark = cardSet->getSingle(Kartenset::kMark);
    if (markState != 0 && mark) drawStretched(context, mark, rect, toColour(markColour));
}

// The pile's rectangle on the table, unturned; effects started on the pile spread over it.
Orvex::SpriteRect Kartenstapel::getScreenQuad() {
    Orvex::FRect const r = computeScreenRect(*this, nullptr);
    D3DXVECTOR2 const centre{(r.left + r.right) * 0.5f, (r.top + r.bottom) * 0.5f};
    return Orvex::SpriteRect(centre, D3DXVECTOR2(r.right - r.left, r.bottom - r.top), 0.0f, D3DXVECTOR2(0.5f, 0.5f),
                             Orvex::SpriteRect::kCentreRelative | Orvex::SpriteRect::kPositionIsCentre);
}

Orvex::Texture2D* Kartenstapel::getShapeTexture() { return cardSet ? cardSet->getSingle(Kartenset::kShape) : nullptr; }

}  // namespace Solitaire
