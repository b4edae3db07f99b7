// Fuzzes the styles readers with file bytes: the input read as a styles file (or settings node)
// into the style settings, as a card-set file, as a background file, as one style and as one game
// style. Whatever is read, the settings keep a style and a game style, indices stay inside their
// tables, cell sizes are usable, scores, start positions and what piles and cards take of a style
// (with the input's card set: blends, card steps, a removed card's scale, shadows, wobbles) stay
// finite, and the saved choices read back to the same choices.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "engine/render/TextureSettings.h"
#include "game/look/Background.h"
#include "game/look/GameStyle.h"
#include "game/look/Kartenset.h"
#include "game/look/Style.h"
#include "game/look/StyleSettings.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

void checkCardSet(Solitaire::Kartenset const& set) {
    D3DXVECTOR2 const cell = set.cellSize;
    if (!(cell.x > 0.0f && cell.y > 0.0f && std::isfinite(cell.x) && std::isfinite(cell.y))) std::abort();
    for (int slot = 0; slot < Solitaire::Kartenset::kSlotCount; ++slot)
        if (!std::isfinite(set.getAspectRatio(slot))) std::abort();
}

void checkStyle(Solitaire::Style const& style) {
    if (style.markFalloff < 1) std::abort();
    for (auto const& shadow : style.shadows)
        if (shadow.rings * shadow.samples > Solitaire::Style::kMaxShadowRings * Solitaire::Style::kMaxShadowSamples)
            std::abort();
}

// What a pile and a hint take of a style at the ends of the options' slider and at the settings'
// parameter: the blends of its ranges, and the pile's card step (the pile offset times the card
// set's factor), stay finite.
void checkBlends(Solitaire::Style& style, Solitaire::Kartenset const* set, float param) {
    D3DXVECTOR2 const factor = set ? set->offsetFactor : D3DXVECTOR2(1.0f, 1.0f);
    for (float p : {0.0f, 1.0f, param}) {
        style.applyParam(p);
        float const values[] = {style.pileOffset.x * factor.x, style.pileOffset.y * factor.y, style.randomOffset.x,
                                style.randomOffset.y, style.randomRotation, style.tipOffset.x, style.tipOffset.y,
                                style.tipRotation};
        for (float value : values)
            if (!std::isfinite(value)) std::abort();
    }
    style.applyParam(param);
    // A removed card of the set's cell at its fade-out scale and turn, a card's shadows and its
    // marks' wobbles.
    D3DXVECTOR2 const cell = set ? set->cellSize
                                 : D3DXVECTOR2(Solitaire::Kartenset::kDefaultCellWidth, Solitaire::Kartenset::kDefaultCellHeight);
    float const card[] = {cell.x * style.fadeoutScale, cell.y * style.fadeoutScale, style.fadeoutRotation};
    for (float value : card)
        if (!std::isfinite(value)) std::abort();
    for (auto const& shadow : style.shadows)
        if (!std::isfinite(cell.x + shadow.offset.x + shadow.offset.y + 2.0f * shadow.radius)) std::abort();
    for (auto const& wobble : style.wobbles)
        if (!std::isfinite(cell.x * wobble.offset.x + cell.y * wobble.offset.y + wobble.rotation)) std::abort();
}

// Every point value at the largest factor its steps reach stays finite.
void checkGameStyle(Solitaire::GameStyle& style) {
    if (style.startPositions.size() > Solitaire::GameStyle::kMaxStartPositions) std::abort();
    for (D3DXVECTOR4 const& p : style.startPositions)
        if (!std::isfinite(p.x + p.y + p.z + p.w)) std::abort();
    if (style.priceJoker < 0 || style.priceWildcard < 0) std::abort();
    style.multiplierCount = style.maxMultipliers;
    float const factor = style.getMultiplierFactor();
    float const points[] = {style.undoPoints, style.wrongDoubleClickPoints, style.moveOnZiel, style.moveFromZiel,
                            style.winBonus,   style.mischenPoints,          style.tippPoints, style.startScore,
                            style.scoreDownMultiplier};
    for (float value : points)
        if (!std::isfinite(value * factor)) std::abort();
    style.multiplierCount = 0;
}

void checkSettings(Orvex::XMLNode& root) {
    Solitaire::StyleSettings& settings = Solitaire::StyleSettings::instance();
    settings.clear();
    settings.load(root, L"fuzz.sty");
    if (!settings.getStyle() || !settings.getGameStyle()) std::abort();
    checkStyle(*settings.getStyle());
    checkBlends(*settings.getStyle(), settings.getKartenset(), Solitaire::StyleSettings::getStyleParam());
    checkGameStyle(*settings.getGameStyle());
    if (settings.getCardsBack() < 0 || settings.getCardsBack() >= Solitaire::Kartenset::kBackChoices) std::abort();
    if (!std::isfinite(Solitaire::StyleSettings::getStyleParam())) std::abort();
    if (Solitaire::Kartenset* set = settings.getKartenset()) checkCardSet(*set);

    Orvex::XMLNode saved(L"SOLITAIRE");
    settings.save(saved);
    Solitaire::Style* style = settings.getStyle();
    Solitaire::Kartenset* set = settings.getKartenset();
    std::wstring const gameStyle = settings.getGameStyle()->getName();
    int const back = settings.getCardsBack();
    int const tooltip = settings.getTooltipType();
    settings.load(saved, L"saved");
    // Look-ups take the first of equal names, so the style read back may be an earlier twin, and
    // an entry name may stand for several card sets of a set.
    if (settings.getStyle()->getName() != style->getName() || (set && !settings.getKartenset())) std::abort();
    if (settings.getGameStyle()->getName() != gameStyle) std::abort();
    if (settings.getCardsBack() != back || settings.getTooltipType() != tooltip) std::abort();
    settings.clear();
    settings.setStyleParam(0.0f);
    settings.setCardsBack(0);
    settings.setTooltipType(0);
    settings.setParticleSpawnMult(1.0f);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, std::size_t size) {
    fuzz::quietLog();
    // Texture files are read for their size only: no device is needed.
    Orvex::TextureModuleSettings::get().suspendOnLoad = true;
    Orvex::XMLNode root;
    fuzz::readTree(data, size, root);
    checkSettings(root);

    auto* set = new Solitaire::Kartenset(root, L"fuzz.kset");
    checkCardSet(*set);
    auto* background = new Solitaire::Background(root, L"fuzz.bkg");
    background->release();
    for (Orvex::XMLNode* child : root.children()) {
        auto* style = new Solitaire::Style(*child, L"fuzz.sty");
        checkStyle(*style);
        checkBlends(*style, set, 0.0f);
        style->release();
        auto* gameStyle = new Solitaire::GameStyle(*child, L"fuzz.sty");
        checkGameStyle(*gameStyle);
        gameStyle->release();
    }
    set->release();
    return 0;
}
