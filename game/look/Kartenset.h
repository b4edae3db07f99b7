// A card set: card faces, backs and marker textures, colours, emitter names and the size of one
// card cell on the table, read from a card-set file. Textures sit in fixed slot groups (faces by
// suit x 13 + value, extra faces, value and colour markers by rule code, backs, empty-pile
// pictures by pile type, keys, locks and six single pictures), each slot with its aspect ratio.
// Slot indices run over the groups in that order (value markers before colour markers).
// Every index into a group comes from data (a rule code, "CARDS_BACK", a card's suit), so the
// getters check it: out of range gives null, except the back, which fitBack takes onto a back
// the set holds.
//
// Kartenset.cpp: construction, slots and getters; Kartenset_read.cpp: the card-set reader.
#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "engine/core/NamedObject.h"
#include "port/d3dx9/d3dx9math.h"

namespace Orvex {
class Texture2D;
class XMLNode;
}  // namespace Orvex

namespace Solitaire {

class Kartenset : public Orvex::NamedObject {
public:
    // The slot groups in table order.
    enum Group : int { kFaces, kExtraFaces, kValueMarks, kColourMarks, kBacks, kPiles, kKeys, kLocks, kSingles,
                       kGroupCount };
    static constexpr int kGroupSize[kGroupCount] = {65, 20, 49, 14, 20, 10, 4, 4, 6};
    static constexpr int kFaceCount = 65;  // 5 suits x 13 values; the EXTRA row stays empty
    static constexpr int kExtraFaceCount = 20;
    static constexpr int kBackCount = 20;
    // The backs a player chooses among at most (the options' arrows).
    static constexpr int kBackChoices = 6;
    // The single pictures.
    enum Single : int { kMark, kInvalid, kShape, kWildcard, kJoker, kPairsSelection };
    static constexpr int kSlotCount = 65 + 20 + 49 + 14 + 20 + 10 + 4 + 4 + 6;
    // The cell size of a set with neither "KARTEN_SIZE" nor faces.
    static constexpr float kDefaultCellWidth = 200.0f;
    static constexpr float kDefaultCellHeight = 275.0f;

    explicit Kartenset(std::wstring const& name);
    // Defaults, then readXML; sourceName names the file in log lines.
    explicit Kartenset(Orvex::XMLNode& node, std::wstring const& sourceName = std::wstring());
    ~Kartenset() override;

    void readXML(Orvex::XMLNode& node) override;
    void readXML(Orvex::XMLNode& node, std::wstring const& sourceName);

    // The first slot of a group; -1 for an unknown group.
    static int groupStart(int group);
    // The texture name a slot looks up ("KARO_DAME", "ACCEPTS_ALL_W", "BACK_1", ...).
    static std::wstring slotName(int slot);

    // A slot by its index over all groups; null outside 0 .. kSlotCount - 1 or when empty.
    Orvex::Texture2D* getTexture(int slot) const;
    // Width / height of the slot's texture; 1.0 for an empty slot or one outside the table.
    float getAspectRatio(int slot) const;
    // Slot i of a group; null when the group or i is out of range.
    Orvex::Texture2D* getInGroup(int group, int i) const;
    // Null for a suit outside 0 .. 4 or a value outside 0 .. 12.
    Orvex::Texture2D* getFace(int suit, int value) const;
    Orvex::Texture2D* getColourMark(int colourRule) const { return getInGroup(kColourMarks, colourRule); }
    Orvex::Texture2D* getValueMark(int valueRule) const { return getInGroup(kValueMarks, valueRule); }
    Orvex::Texture2D* getPilePicture(int pileType) const { return getInGroup(kPiles, pileType); }
    Orvex::Texture2D* getSingle(Single which) const { return getInGroup(kSingles, which); }
    // The back shown for a wished index when a set holds `held` backs, the one rule for the back
    // the settings keep and the back drawn: within the first of them and the last one offered (at
    // most kBackChoices), so any index past them is the last; 0 when the set holds none.
    static int fitBack(int wish, int held);
    // The back of that index as fitBack takes it over the backs this set holds; null only when it
    // holds none.
    Orvex::Texture2D* getBack(int index) const;
    // The backs the set holds: "BACK_1" on, up to the first one missing (a back after a gap could
    // not be stepped to without showing the gap).
    int getBackCount() const;

    // The outline texture of a card (the common shape; for EXTRA cards the extra face of that
    // value when it has one); null when there is none.
    Orvex::Texture2D* getShapeTexture(int const& suit, int const& value) const;

    // Off suspends every texture; on refreshes the aspect ratios and leaves the textures to be
    // made on their first use (a table draws a few dozen of the set's pictures, the start
    // screen none), so choosing a set decodes nothing.
    void setTexturesActive(bool const& on);
    void updateAspectRatios();

    // The (group, entry) pairs of "KARTENSET_SETS", in file order.
    std::vector<std::pair<std::wstring, std::wstring>> const& getSetEntries() const { return setEntries_; }

    // Width and height of one card cell in table units: "KARTEN_SIZE", else the first face's
    // size, else the default size. Zero in a set made by name until it is given.
    D3DXVECTOR2 cellSize{0.0f, 0.0f};
    D3DXVECTOR2 offsetFactor{1.0f, 1.0f};  // "VERSCHIEBUNG_MULT"
    D3DXCOLOR tipColour1{0xFF00FFFF};       // "TIP_COLOR1"
    D3DXCOLOR tipColour2{0xFFFF00FF};       // "TIP_COLOR2"
    D3DXCOLOR markColour{0xFFFFFF00};       // "COLOR_MARK"
    D3DXCOLOR selectColour1{0x8000FF00};    // "COLOR_SELECT1"
    D3DXCOLOR selectColour2{0x80FF0000};    // "COLOR_SELECT2"
    std::wstring tipEmitter = L"TIPP_EMITTER";
    std::wstring toGoalEmitter = L"TO_ZIEL_EMITTER";
    std::wstring movedEmitter = L"MOVED_EMITTER";
    std::wstring moveEmitter = L"MOVE_EMITTER";
    std::wstring addPointsEmitter = L"ADDPOINTS_EMITTER";
    std::wstring removePointsEmitter = L"REMOVEPOINTS_EMITTER";
    std::wstring addMultiplierEmitter = L"ADDMULTIPLIER_EMITTER";
    std::wstring removeMultiplierEmitter = L"REMOVEMULTIPLIER_EMITTER";
    std::wstring addComboEmitter = L"ADDCOMBO_EMITTER";
    std::wstring endComboEmitter = L"ENDCOMBO_EMITTER";
    std::wstring maxComboEmitter = L"MAXCOMBO_EMITTER";
    std::wstring extraCardExposedEmitter = L"EXTRACARD_EXPOSED_EMITTER";
    std::wstring shuffleEmitter = L"SHUFFLE_EMITTER";  // no key
    // "USE_TEXTURE_CHECK": cards are picked through the shape's opaque pixels.
    bool useTextureCheck = false;

private:
    // Releases every texture and empties the slots.
    void releaseTextures();
    // Fills the slots from the node's "TEXTUR2D" children.
    void takeTextures(Orvex::XMLNode& node);

    std::array<Orvex::Texture2D*, kSlotCount> slots_{};
    std::array<float, kSlotCount> aspect_{};
    std::vector<std::pair<std::wstring, std::wstring>> setEntries_;
};

}  // namespace Solitaire
