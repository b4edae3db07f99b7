// The card-set reader: colours, offset factor, emitter names, the texture-check flag, the
// (group, entry) pairs of "KARTENSET_SETS", the textures by slot name and the cell size
// ("KARTEN_SIZE", else the first face's size, else 200 x 275). Problems of one file give one log
// line naming the file; refused values keep their defaults.
#include <cmath>

#include "engine/core/XMLNode.h"
#include "engine/render/Texture2D.h"
#include "engine/render/TextureManager.h"
#include "game/look/Kartenset.h"
#include "game/look/StyleReading.h"

namespace Solitaire {

namespace {

// A cell side in table units; beyond this a size is taken for a broken file.
constexpr float kMaxCellSide = 100000.0f;
// A card set names about 220 pictures; a file with far more is not loaded (each one opens a file).
constexpr Orvex::u32 kMaxTextures = 1024;
// Each pair files the set into a group found by a walk over all groups.
constexpr std::size_t kMaxSetEntries = 64;

struct EmitterKey {
    wchar_t const* key;
    std::wstring Kartenset::*field;
};

constexpr EmitterKey kEmitterKeys[] = {
    {L"TIP_EMITTER", &Kartenset::tipEmitter},
    {L"TO_ZIEL_EMITTER", &Kartenset::toGoalEmitter},
    {L"MOVED_EMITTER", &Kartenset::movedEmitter},
    {L"MOVE_EMITTER", &Kartenset::moveEmitter},
    {L"ADDPOINTS_EMITTER", &Kartenset::addPointsEmitter},
    {L"REMOVEPOINTS_EMITTER", &Kartenset::removePointsEmitter},
    {L"ADDMULTIPLIER_EMITTER", &Kartenset::addMultiplierEmitter},
    {L"REMOVEMULTIPLIER_EMITTER", &Kartenset::removeMultiplierEmitter},
    {L"EXTRACARD_EXPOSED_EMITTER", &Kartenset::extraCardExposedEmitter},
    {L"ADDCOMBO_EMITTER", &Kartenset::addComboEmitter},
    {L"ENDCOMBO_EMITTER", &Kartenset::endComboEmitter},
    {L"MAXCOMBO_EMITTER", &Kartenset::maxComboEmitter},
};

bool usableSide(float side) { return std::isfinite(side) && side > 0.0f && side <= kMaxCellSide; }

}  // namespace

void Kartenset::readXML(Orvex::XMLNode& node) { readXML(node, std::wstring()); }

void Kartenset::readXML(Orvex::XMLNode& node, std::wstring const& sourceName) {
    Orvex::NamedObject::readXML(node);
    ReadProblems problems;
    readMeasurePair(node, L"VERSCHIEBUNG_MULT", offsetFactor, problems);
    readColour(node, L"TIP_COLOR1", tipColour1);
    readColour(node, L"TIP_COLOR2", tipColour2);
    readColour(node, L"COLOR_MARK", markColour);
    readColour(node, L"COLOR_SELECT1", selectColour1);
    readColour(node, L"COLOR_SELECT2", selectColour2);
    for (EmitterKey const& entry : kEmitterKeys) readText(node, entry.key, this->*entry.field);
    readBool(node, L"USE_TEXTURE_CHECK", useTextureCheck);

    setEntries_.clear();
    if (Orvex::XMLNode const* sets = node.getChild(L"KARTENSET_SETS")) {
        // Pairs (group, entry); an odd last value is ignored.
        for (Orvex::u32 i = 0; i + 1 < sets->getValueCount(); i += 2) {
            if (setEntries_.size() == kMaxSetEntries) {
                problems.add(L"\"KARTENSET_SETS\" holds more than " + std::to_wstring(kMaxSetEntries) +
                             L" pairs; the rest is ignored");
                break;
            }
            setEntries_.emplace_back(sets->getValue(i)->getString(), sets->getValue(i + 1)->getString());
        }
    }

    if (node.getChildCount(L"TEXTUR2D") > kMaxTextures)
        problems.add(L"more than " + std::to_wstring(kMaxTextures) + L" \"TEXTUR2D\" elements, none loaded");
    else
        takeTextures(node);

    D3DXVECTOR2 size{0.0f, 0.0f};
    bool sized = false;
    if (node.getAttribute(L"KARTEN_SIZE")) {
        std::size_t const before = problems.size();
        readFloatPair(node, L"KARTEN_SIZE", size, problems);
        sized = usableSide(size.x) && usableSide(size.y);
        if (!sized && problems.size() == before) problems.add(L"\"KARTEN_SIZE\" is no usable card size");
    }
    for (int slot = 0; !sized && slot < kFaceCount; ++slot) {
        Orvex::Texture2D* face = slots_[static_cast<std::size_t>(slot)];
        if (!face || !face->isSizeKnown()) continue;
        size = D3DXVECTOR2(static_cast<float>(face->getWidth()), static_cast<float>(face->getHeight()));
        sized = usableSide(size.x) && usableSide(size.y);
    }
    cellSize = sized ? size : D3DXVECTOR2(kDefaultCellWidth, kDefaultCellHeight);
    problems.log(L"Card set \"" + getName() + L"\"", sourceName, node.getLine());
}

void Kartenset::takeTextures(Orvex::XMLNode& node) {
    releaseTextures();
    if (!node.getChild(L"TEXTUR2D")) return;
    Orvex::TextureManager local(L"KARTENSET");
    local.loadTextures(node);
    for (int slot = 0; slot < kSlotCount; ++slot) {
        std::wstring const name = slotName(slot);
        if (name.empty()) continue;
        Orvex::Texture2D* texture = local.findTexture(name);
        if (!texture) continue;
        texture->addRef();
        slots_[static_cast<std::size_t>(slot)] = texture;
    }
    updateAspectRatios();
    // Only the current card set keeps its textures on the device.
    for (Orvex::Texture2D* texture : slots_) {
        if (texture) texture->suspend();
    }
}

}  // namespace Solitaire
