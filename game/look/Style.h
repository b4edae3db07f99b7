// A table style: how piles fan their cards, how cards are shaded, marked, wobbled and moved.
// Holds every key of a "STYLE" definition with its default and the values derived from the
// style parameter (applyParam).
//
// Style.cpp: defaults, the blend and the checked look-ups; Style_read.cpp: reading and writing.
#pragma once

#include <string>

#include "engine/core/NamedObject.h"
#include "engine/core/XMLNode.h"
#include "port/d3dx9/d3dx9math.h"

namespace Solitaire {

// Every key of a style definition with its default, and the values derived from them.
struct StyleValues {
    // The six selection wobbles, by mark kind.
    enum SelectKind : int {
        kSelectError = 0,      // "SELECT_ERROR", mark 1
        kSelectMoveable,       // "SELECT_MOVEABLE", mark 2
        kSelectAccept,         // "SELECT_ACCEPT", mark 4
        kSelectNotAccept,      // "SELECT_NACCEPT", mark 8
        kSelectHasLegalMove,   // "SELECT_HASLEGALMOVE", mark 16
        kSelectHasGoalMove,    // "SELECT_HASGOALMOVE", mark 32
        kSelectKinds
    };
    struct SelectWobble {
        D3DXVECTOR2 offset{0.0f, 0.0f};  // "VERSCHIEBUNG"
        float rotation = 0.0f;           // "ROTATION"
        float speed = 1.0f;              // "SPEED"
    };
    struct Shadow {
        D3DXCOLOR colour{0.0f, 0.0f, 0.0f, 64.0f / 255.0f};
        D3DXVECTOR2 offset{3.0f, 3.0f};
        float radius = 2.0f;
        int rings = 1;
        int samples = 8;
    };

    // "STAPEL"
    D3DXVECTOR2 pileOffsetMin{1.0f, 1.0f}, pileOffsetMax{1.0f, 1.0f};          // "VERSCHIEBUNG"
    D3DXVECTOR2 randomOffsetMin{0.0f, 0.0f}, randomOffsetMax{0.0f, 0.0f};      // "RAND_VERSCHIEBUNG"
    float randomRotationMin = 0.0f, randomRotationMax = 0.0f;                  // "RAND_ROTATION"
    bool hideExtraCards = true;                                                // "HIDE_EXTRA_CARDS"
    bool useAutoCheckAutoFinish = false;
    // "KARTEN"
    int markFalloff = 3;
    float markMin = 0.2f;
    Shadow shadows[2];
    D3DXCOLOR shading[2] = {{0.5f, 0.5f, 0.5f, 1.0f}, {0.5f, 0.5f, 0.5f, 1.0f}};  // "ABSCHATTUNG"
    // "TIP"
    D3DXVECTOR2 tipOffsetMin{2.0f, 2.0f}, tipOffsetMax{2.0f, 2.0f};
    float tipRotationMin = 0.0f, tipRotationMax = 0.0f;
    float tipDuration = 1.25f;
    // "SELECT_*"; "PARAM" and the fly-spline names live with "SELECT_HASGOALMOVE".
    SelectWobble wobbles[kSelectKinds];
    float param = 0.0f;
    std::wstring flyLose = L"KARTEN_FLY_LOSE";
    std::wstring flyWin = L"KARTEN_FLY_WIN";
    // "SPEEDS"
    float arrangeSpeed = 1.0f;          // "ANORDNENSPEED"
    float arrangeSpeedReveal = 1.0f;    // "ANORDNENSPEED_AUFDECKEN"
    float arrangeSpeedMove = 0.0f;      // "ANORDNENSPEED_MOVE"
    float arrangeSpeedAuto = 2.0f;      // "ANORDNENSPEED_AUTO"
    float arrangeSpeedUndo = 2.0f;      // "ANORDNENSPEED_UNDO"
    float arrangeSpeedMult = 100.0f;    // "ANORDNENSPEED_SPEED_MULT"
    float arrangeMaxLinDist = 100.0f;   // "ANORDNENSPEED_MAX_LIN_DIST"
    float makeInvisibleSpeed = 4.0f;
    float makeVisibleSpeed = 2.0f;
    float undoVisibilitySpeed = 4.0f;
    float makeAlpha0Speed = 1.0f;
    float makeAlpha1Speed = 1.0f;
    float undoAlphaSpeed = 4.0f;
    float fadeoutRotation = 450.0f;
    float fadeoutScale = 10.0f;
    float fadeoutSpeed = 1.0f;
    float revealWaitTimer = 0.75f;      // "AUFDECKEN_WAITTIMER"
    float revealWaitTimer2 = 0.0f;      // "AUFDECKEN_WAITTIMER2"

    // Derived by applyParam.
    D3DXVECTOR2 pileOffset{1.0f, 1.0f};
    D3DXVECTOR2 randomOffset{0.0f, 0.0f};
    float randomRotation = 0.0f;
    D3DXVECTOR2 tipOffset{2.0f, 2.0f};
    float tipRotation = 0.0f;
};

class Style : public Orvex::NamedObject, public StyleValues {
public:
    // Bounds of the read values that multiply drawing work or divide.
    static constexpr int kMaxShadowRings = 8;
    static constexpr int kMaxShadowSamples = 64;
    static constexpr int kMaxMarkFalloff = 64;

    explicit Style(std::wstring const& name);
    // Name from "NAME", defaults, then readXML; sourceName names the file in log lines.
    explicit Style(Orvex::XMLNode& node, std::wstring const& sourceName = std::wstring());

    // Reads a "STYLE" definition; refused values keep theirs, with one log line for the style.
    void readXML(Orvex::XMLNode& node) override;
    void readXML(Orvex::XMLNode& node, std::wstring const& sourceName);
    // "NAME" and, as values, the pile, card and hint keys (nothing reads them back).
    void writeXML(Orvex::XMLNode& node) const override;

    // Every default, then applyParam(param).
    void setDefaults();
    // Derived values = lower + (upper - lower) x p, per component.
    void applyParam(float const& p);

    // The selection wobble of a mark flag (1 .. 32); null for other flags.
    SelectWobble const* wobbleForMark(int const& markFlag) const;
    // The shading colour of a tint index from data, clamped into the two colours.
    D3DXCOLOR const& shadingColour(int index) const;
};

}  // namespace Solitaire
