// Story elements: reading, the template copy, destruction.
#include "game/story/StoryPartPart.h"

#include <algorithm>

#include "engine/core/CopyBudget.h"
#include "engine/core/XMLNode.h"
#include "engine/render/Texture2DAnimation.h"
#include "game/particles/SolPartikel.h"
#include "game/story/StoryAnimation.h"
#include "game/story/StoryColor.h"
#include "game/story/StoryManager.h"
#include "game/story/StoryPosition.h"
#include "game/story/StoryRead.h"

namespace Solitaire {

namespace {

// Appends make(child) for each child of that name while the list (a template's entries
// included) has room.
template <class T, class Make>
void readEach(Orvex::XMLNode& node, wchar_t const* name, std::vector<T>& list, ReadProblems& problems, Make make) {
    std::size_t const room = StoryPartPart::kMaxEntries - std::min(list.size(), StoryPartPart::kMaxEntries);
    readStoryChildren(node, name, room, problems, [&](Orvex::XMLNode& child) { list.emplace_back(make(child)); });
}

}  // namespace

StoryPartPart::StoryPartPart(Orvex::XMLNode& node, std::wstring const& source)
    : NamedObject(node), texRectBlend(D3DXVECTOR4(0.0f, 0.0f, 1.0f, 1.0f)), colorBlend(D3DXCOLOR(1.0f, 1.0f, 1.0f, 1.0f)) {
    positionTrack.running = true;
    texRectBlend.running = true;
    colorBlend.running = true;
    ReadProblems problems;
    if (Orvex::XMLAttribute const* name = node.getAttribute(L"VORLAGE"))
        if (StoryPartPart const* source = StoryManager::instance().findTemplate(name->getStringCopy()))
            if (Orvex::CopyBudget::takeCounted([source] { return source->copyEntries(); },
                                               L"element \"" + getName() + L"\"" + Orvex::atLine(node)))
                copyFromTemplate(*source);
    if (Orvex::XMLAttribute const* name = node.getAttribute(L"ANIMATION")) {
        animation.adopt(cloneStoryAnimation(name->getStringCopy()));
    }
    drawModeX = readStoryDrawModes(node, L"DRAW_PARAM_X", drawModeX);
    drawModeY = readStoryDrawModes(node, L"DRAW_PARAM_Y", drawModeY);
    readEach(node, L"POSITION", positions, problems,
             [&](Orvex::XMLNode& child) { return StoryPosition::create(child, problems); });
    readEach(node, L"TEX_RECT", texRects, problems,
             [&](Orvex::XMLNode& child) { return readStoryRect(child, StoryRectForm::kTexture, problems); });
    readEach(node, L"COLOR", colors, problems, [&](Orvex::XMLNode& child) { return StoryColor::create(child, problems); });
    if (Orvex::XMLAttribute const* a = node.getAttribute(L"RELATIV_TO")) relativeToName = a->getStringCopy();
    if (Orvex::XMLAttribute const* a = node.getAttribute(L"TEXT_ID")) textId = a->getStringCopy();
    if (Orvex::XMLAttribute const* a = node.getAttribute(L"FONT_STYLE")) fontStyle = a->getStringCopy();
    if (Orvex::XMLAttribute const* a = node.getAttribute(L"FONT_NAME")) fontName = a->getStringCopy();
    visible = node.getAttributeBool(L"VISIBLE", visible);
    if (Orvex::XMLAttribute const* a = node.getAttribute(L"DRAW_PARTIKEL_EBENE")) {
        particleLayer = a->getInt();
        hasParticleLayer = true;
    }
    if (Orvex::XMLAttribute const* a = node.getAttribute(L"PARTIKEL_EMITTER")) emitterName = a->getStringCopy();
    readMeasurePair(node, L"PARTIKEL_START_POS", particleStart, problems);
    if (Orvex::XMLNode const* list = node.getChild(L"SOUNDS", 0)) appendStoryValues(list, sounds, kMaxEntries, problems);
    if (Orvex::XMLAttribute const* a = node.getAttribute(L"MUSIK")) music = a->getStringCopy();
    if (Orvex::XMLNode const* text = node.getChild(L"TEXT_RECT", 0)) textRect = readStoryRect(*text, StoryRectForm::kText, problems);
    readEach(node, L"ANIMATION", animations, problems,
             [&](Orvex::XMLNode& child) { return std::make_unique<StoryAnimation>(child, problems); });
    problems.log(L"Story element \"" + getName() + L"\"", source, node.getLine());

    setPositionIndex(0, 0.0f, 0.0f, 0.0f);
    setTexRectIndex(0, 0.0f);
    setColorIndex(0, 0.0f);
}

StoryPartPart::~StoryPartPart() { stopSounds(); }

std::size_t StoryPartPart::copyEntries() const {
    using Orvex::CopyBudget;
    std::size_t n = positions.size() + colors.size() + texRects.size();
    for (std::wstring const* text : {&emitterName, &music, &textId, &fontName, &fontStyle, &relativeToName})
        n += CopyBudget::textEntries(*text);
    for (std::wstring const& sound : sounds) n += CopyBudget::textEntries(sound);
    // A copy of an animation shares its frames: one entry.
    n += animation ? 1 : 0;
    for (auto const& record : animations) n += 1 + record->speedTrack.getKeyCount() + (record->animation ? 1 : 0);
    return n;
}

void StoryPartPart::copyFromTemplate(StoryPartPart const& source) {
    emitterName = source.emitterName;
    particleLayer = source.particleLayer;
    hasParticleLayer = source.hasParticleLayer;
    particleStart = source.particleStart;
    sounds = source.sounds;
    music = source.music;
    for (auto const& p : source.positions)
        if (positions.size() < kMaxEntries) positions.emplace_back(p->clone());
    for (auto const& c : source.colors)
        if (colors.size() < kMaxEntries) colors.emplace_back(c->clone());
    texRects = source.texRects;
    visible = source.visible;
    drawModeX = source.drawModeX;
    drawModeY = source.drawModeY;
    animation.adopt(source.animation ? source.animation->clone() : nullptr);
    textId = source.textId;
    fontName = source.fontName;
    fontStyle = source.fontStyle;
    positionTrack = source.positionTrack;
    texRectBlend = source.texRectBlend;
    colorBlend = source.colorBlend;
    for (auto const& record : source.animations)
        if (animations.size() < kMaxEntries) animations.push_back(std::make_unique<StoryAnimation>(*record));
    textRect = source.textRect;
    // A template is never linked (its scene links the copy by name).
    relativeTo = nullptr;
    relativeToName = source.relativeToName;
}

}  // namespace Solitaire
