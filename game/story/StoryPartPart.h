// One element of a story scene ("PART_PART", also the templates of "VORLAGEN"): a picture that
// glides between positions, blends between colours and texture rectangles, plays frame
// animations, shows a localised text, starts a particle emitter and plays sounds. A switch of
// the scene picks an entry of each list by index; the element glides there at the switch's
// speed (1 / speed seconds; 0 or less: at once), a position change optionally overshooting its
// goal and coming back. Positions are fractions of the story window, or of the element named
// by "RELATIV_TO" (the scene links it and refuses links that would close a cycle).
//
// Keys, read in this order: "NAME", "VORLAGE" (a template of the story file copied first, so
// the element's own keys override single values and extend lists), "ANIMATION", "DRAW_PARAM_X",
// "DRAW_PARAM_Y", "POSITION" (StoryPosition), "TEX_RECT" (fractions of the animation frame),
// "COLOR" (StoryColor), "RELATIV_TO", "TEXT_ID", "FONT_STYLE", "FONT_NAME" ("default"),
// "VISIBLE" (1), "DRAW_PARTIKEL_EBENE" (kept, unused), "PARTIKEL_EMITTER", "PARTIKEL_START_POS"
// (fractions of the story window; one number sets both), "SOUNDS", "MUSIK", "TEXT_RECT"
// (fractions of the element, 0 0 1 1), "ANIMATION" children (StoryAnimation). Lists hold at
// most kMaxEntries entries each.
//
// StoryPartPart.cpp: reading and the template copy. StoryPartPart_update.cpp: the changes a
// switch applies, the per-frame update, the emitter and the sounds. StoryPartPart_draw.cpp: the
// screen rectangle and drawing.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/CountedRef.h"
#include "engine/core/NamedObject.h"
#include "engine/gui/Interpolation.h"
#include "engine/gui/MultiInterpolation.h"
#include "engine/render/FRect.h"
#include "game/look/ReadProblems.h"
#include "port/d3dx9/d3dx9math.h"

namespace Orvex {
class GUIWindow;
class PlayingSound;
class Texture2DAnimation;
class XMLNode;
}  // namespace Orvex

namespace Solitaire {

class SolPartikel;
class StoryAnimation;
class StoryColor;
class StoryPosition;

class StoryPartPart : public Orvex::NamedObject {
public:
    // Positions, texture rectangles, colours, animation records and sounds per element.
    static constexpr std::size_t kMaxEntries = 256;

    // source names the file in the element's one log line of problems.
    explicit StoryPartPart(Orvex::XMLNode& node, std::wstring const& source = std::wstring());
    StoryPartPart(StoryPartPart const&) = delete;
    StoryPartPart& operator=(StoryPartPart const&) = delete;
    ~StoryPartPart() override;

    void copyFromTemplate(StoryPartPart const& source);
    // What a copy of this element takes from a copy budget (CopyBudget): the story file's
    // copies of templates stop when its budget is spent, the elements keeping their own data.
    std::size_t copyEntries() const;

    // ---- changes (StoryPartPart_update.cpp); an index past the list changes nothing ----
    void setPositionIndex(unsigned const& index, float const& speed, float const& overshootPercent,
                          float const& overshootTime);
    void setTexRectIndex(unsigned const& index, float const& speed);
    void setColorIndex(unsigned const& index, float const& speed);
    void startEmitter();
    void stopEmitter();
    void startSounds();
    void stopSounds();
    // dt: seconds already multiplied by the scene's speed.
    void update(float const& dt);

    // ---- drawing (StoryPartPart_draw.cpp) ----
    // The element's screen rectangle inside the story window's.
    Orvex::FRect getScreenRect(Orvex::FRect const& windowRect) const;
    void draw(Orvex::GUIWindow& window);
    // The colour drawn: the blend's value, its alpha times the window's.
    DWORD packedColour(double windowAlpha) const;

    // The position track's current value, in fractions of the base rectangle.
    D3DXVECTOR4 const& getPositionValue() const { return positionTrack.getValue(); }
    D3DXCOLOR const& getColourValue() const { return colorBlend.current; }
    D3DXVECTOR4 const& getTexRectValue() const { return texRectBlend.current; }

    std::vector<std::unique_ptr<StoryPosition>> positions;
    std::vector<D3DXVECTOR4> texRects;
    std::vector<std::unique_ptr<StoryColor>> colors;
    bool visible = true;
    unsigned drawModeX = 1;
    unsigned drawModeY = 1;
    Orvex::CountedRef<Orvex::Texture2DAnimation> animation;
    std::wstring textId;
    std::wstring fontName = L"default";
    std::wstring fontStyle = L"default";
    std::wstring music;
    Orvex::MultiInterpolation<D3DXVECTOR4, float> positionTrack;
    Orvex::Interpolation<D3DXVECTOR4, float> texRectBlend;
    Orvex::Interpolation<D3DXCOLOR, float> colorBlend;
    std::vector<std::unique_ptr<StoryAnimation>> animations;
    D3DXVECTOR4 textRect{0.0f, 0.0f, 1.0f, 1.0f};
    StoryPartPart* relativeTo = nullptr;
    std::wstring relativeToName;
    std::wstring emitterName;
    Orvex::CountedRef<SolPartikel> emitter;
    int particleLayer = 0;
    bool hasParticleLayer = false;
    D3DXVECTOR2 particleStart{0.0f, 0.0f};
    Orvex::FRect screenRect;
    Orvex::FRect windowRect;
    unsigned positionIndex = 0;
    float overshootPercent = 0.0f;
    float overshootTime = 0.0f;
    D3DXVECTOR4 positionFrom{0.0f, 0.0f, 0.0f, 0.0f};
    unsigned colorIndex = 0;
    D3DXCOLOR colorFrom{1.0f, 1.0f, 1.0f, 1.0f};
    std::vector<std::wstring> sounds;
    std::vector<std::shared_ptr<Orvex::PlayingSound>> playingSounds;

private:
    // ---- change steps (StoryPartPart_update.cpp) ----
    // The position track's keys from positionFrom to goal, with the stored overshoot.
    void buildPositionKeys(D3DXVECTOR4 const& goal);
};

}  // namespace Solitaire
