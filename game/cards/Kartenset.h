// A card set: card faces, backs and marker textures, colours, emitter names and the size of one
// card cell on the table. Holds what the cards, piles and arrangements read; the texture tables
// and the reading of a card-set file come with the styles file.
#pragma once

#include <string>

#include "engine/core/NamedObject.h"
#include "port/d3dx9/d3dx9math.h"

namespace Orvex {
class Texture2D;
}

namespace Solitaire {

class Kartenset : public Orvex::NamedObject {
public:
    static constexpr int kFaceCount = 65;  // 5 suits x 13 values; the EXTRA row stays empty
    static constexpr int kExtraFaceCount = 20;

    explicit Kartenset(std::wstring const& name);

    // The outline texture of a card (the common shape; for EXTRA cards the extra face of that
    // value when it has one); null when there is none.
    Orvex::Texture2D* getShapeTexture(int const& suit, int const& value) const;

    // Width and height of one card cell in table units; no key sets it, the styles code fills it.
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
    std::wstring shuffleEmitter = L"SHUFFLE_EMITTER";

    // Not owned here yet: the texture tables come with the card-set reader.
    Orvex::Texture2D* shape = nullptr;
    Orvex::Texture2D* extraFaces[kExtraFaceCount] = {};
};

}  // namespace Solitaire
