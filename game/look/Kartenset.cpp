// Card-set construction, the slot table with its texture names, the checked getters, and
// suspending, resuming and measuring the textures.
#include "game/look/Kartenset.h"

#include <algorithm>

#include "engine/render/Texture2D.h"

namespace Solitaire {

namespace {

constexpr wchar_t const* kSuitWords[4] = {L"KREUZ", L"KARO", L"PIK", L"HERZ"};
constexpr wchar_t const* kValueWords[13] = {L"ASS", L"2", L"3", L"4", L"5", L"6", L"7",
                                            L"8", L"9", L"10", L"BUBE", L"DAME", L"KOENIG"};
constexpr wchar_t const* kPileWords[10] = {L"VORRAT",  L"MUELL",   L"BASIS", L"TABLEAU", L"FAECHER",
                                           L"ABLAGE",  L"RESERVE", L"BASIS", L"BASIS",   L"BASIS"};
constexpr wchar_t const* kSingleWords[6] = {L"MARK", L"INVALID", L"SHAPE", L"WILDCARD", L"JOKER", L"PAIRS_SELECTION"};
// Colour rule 9 and value rule 17 are "ALLES".
constexpr int kColourAll = 9;
constexpr int kValueAll = 17;

constexpr int slotTotal() {
    int total = 0;
    for (int size : Kartenset::kGroupSize) total += size;
    return total;
}
static_assert(slotTotal() == Kartenset::kSlotCount, "the slot count is the sum of the groups");

}  // namespace

Kartenset::Kartenset(std::wstring const& name) : Orvex::NamedObject(name) { aspect_.fill(1.0f); }

Kartenset::Kartenset(Orvex::XMLNode& node, std::wstring const& sourceName) : Orvex::NamedObject(node) {
    aspect_.fill(1.0f);
    readXML(node, sourceName);
}

Kartenset::~Kartenset() { releaseTextures(); }

void Kartenset::releaseTextures() {
    for (Orvex::Texture2D*& texture : slots_) {
        if (texture) texture->release();
        texture = nullptr;
    }
    aspect_.fill(1.0f);
}

int Kartenset::groupStart(int group) {
    if (group < 0 || group >= kGroupCount) return -1;
    int start = 0;
    for (int g = 0; g < group; ++g) start += kGroupSize[g];
    return start;
}

std::wstring Kartenset::slotName(int slot) {
    int group = 0;
    while (group < kGroupCount && slot >= kGroupSize[group]) slot -= kGroupSize[group++];
    if (group >= kGroupCount || slot < 0) return std::wstring();
    switch (group) {
    case kFaces:
        // The EXTRA row has no names.
        if (slot >= 52) return std::wstring();
        return std::wstring(kSuitWords[slot / 13]) + L"_" + kValueWords[slot % 13];
    case kExtraFaces:
        return L"EXTRA_" + std::to_wstring(slot);
    case kValueMarks:
        if (slot < 13) return std::wstring(L"ACCEPTS_") + kValueWords[slot];
        return slot == kValueAll ? L"ACCEPTS_ALL_W" : L"ACCEPTS_";
    case kColourMarks:
        if (slot < 4) return std::wstring(L"ACCEPTS_") + kSuitWords[slot];
        return slot == kColourAll ? L"ACCEPTS_ALL_F" : L"ACCEPTS_";
    case kBacks:
        return L"BACK_" + std::to_wstring(slot + 1);
    case kPiles:
        return std::wstring(L"STAPEL_") + kPileWords[slot];
    case kKeys:
        return L"KEY_" + std::to_wstring(slot);
    case kLocks:
        return L"LOCK_" + std::to_wstring(slot);
    default:
        return kSingleWords[slot];
    }
}

Orvex::Texture2D* Kartenset::getTexture(int slot) const {
    return slot >= 0 && slot < kSlotCount ? slots_[static_cast<std::size_t>(slot)] : nullptr;
}

float Kartenset::getAspectRatio(int slot) const {
    return slot >= 0 && slot < kSlotCount ? aspect_[static_cast<std::size_t>(slot)] : 1.0f;
}

Orvex::Texture2D* Kartenset::getInGroup(int group, int i) const {
    int const start = groupStart(group);
    if (start < 0 || i < 0 || i >= kGroupSize[group]) return nullptr;
    return slots_[static_cast<std::size_t>(start + i)];
}

Orvex::Texture2D* Kartenset::getFace(int suit, int value) const {
    // Checked apart: suit x 13 + value alone would take KARO_ASS for (KREUZ, 13).
    if (suit < 0 || suit > 4 || value < 0 || value > 12) return nullptr;
    return getInGroup(kFaces, suit * 13 + value);
}

int Kartenset::fitBack(int wish, int held) {
    int const offered = std::clamp(held, 1, kBackChoices);
    return std::clamp(wish, 0, offered - 1);
}

Orvex::Texture2D* Kartenset::getBack(int index) const { return getInGroup(kBacks, fitBack(index, getBackCount())); }

int Kartenset::getBackCount() const {
    int count = 0;
    while (count < kBackCount && getInGroup(kBacks, count)) ++count;
    return count;
}

Orvex::Texture2D* Kartenset::getShapeTexture(int const& suit, int const& value) const {
    if (suit == 4) {
        if (Orvex::Texture2D* extra = getInGroup(kExtraFaces, value)) return extra;
    }
    return getSingle(kShape);
}

void Kartenset::setTexturesActive(bool const& on) {
    if (on) {
        updateAspectRatios();
        return;
    }
    for (Orvex::Texture2D* texture : slots_) {
        if (texture) texture->suspend();
    }
}

void Kartenset::updateAspectRatios() {
    for (int i = 0; i < kSlotCount; ++i) {
        Orvex::Texture2D* texture = slots_[static_cast<std::size_t>(i)];
        float ratio = 1.0f;
        if (texture && texture->isSizeKnown() && texture->getHeight() > 0)
            ratio = static_cast<float>(texture->getWidth()) / static_cast<float>(texture->getHeight());
        aspect_[static_cast<std::size_t>(i)] = ratio;
    }
}

}  // namespace Solitaire
