// The frame-animation records of story elements.
#include "game/story/StoryAnimation.h"

#include "engine/core/Random.h"
#include "engine/core/XMLNode.h"
#include "engine/render/SpriteRect.h"
#include "engine/render/Texture2DAnimation.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "game/story/StoryRead.h"

namespace Solitaire {

namespace {

constexpr float kDefaultSpeedValue = 12.0f;

// One number, or a range drawn from once.
float drawValue(Orvex::XMLNode const& node, wchar_t const* key, float fallback, ReadProblems& problems) {
    float low = fallback, high = fallback;
    readStoryRange(node, key, low, high, problems);
    return low == high ? low : Orvex::randomFloat(low, high);
}

}  // namespace

unsigned readStoryDrawModes(Orvex::XMLNode const& node, wchar_t const* key, unsigned fallback) {
    Orvex::XMLAttribute const* attribute = node.getAttribute(key);
    if (!attribute) return fallback;
    unsigned modes = 0;
    Orvex::XMLValueTokens const words = attribute->split(L" ");
    for (Orvex::u32 i = 0; i < words.getCount(); ++i) modes |= Orvex::parseSpriteDrawMode(words.get(i)->getString());
    return modes;
}

Orvex::Texture2DAnimation* cloneStoryAnimation(std::wstring const& name) {
    Orvex::Texture2DAnimation* found = Orvex::Texture2DAnimationManager::instance().findAnimation(name);
    return found ? found->clone() : nullptr;
}

StoryAnimation::StoryAnimation() {
    speedTrack.running = true;
    speedTrack.speed = 1.0f;
}

StoryAnimation::StoryAnimation(Orvex::XMLNode& node, ReadProblems& problems) : StoryAnimation() {
    if (Orvex::XMLAttribute const* name = node.getAttribute(L"ANIMATION")) setAnimation(name->getStringCopy());
    drawModeX = readStoryDrawModes(node, L"DRAW_PARAM_X", drawModeX);
    drawModeY = readStoryDrawModes(node, L"DRAW_PARAM_Y", drawModeY);
    if (Orvex::XMLNode const* position = node.getChild(L"POSITION", 0))
        rect = readStoryRect(*position, StoryRectForm::kText, problems);
    Orvex::XMLNode* speeds = node.getChild(L"ANIMATION_SPEED", 0);
    if (!speeds) return;
    use = speeds->getAttributeBool(L"USE", true);
    loop = speeds->getAttributeBool(L"LOOP", false);
    speedTrack.clearKeys();
    std::size_t keys = 0;
    for (Orvex::XMLNode* key : speeds->children()) {
        if (key->getName() != L"VALUE_DELTATIME") continue;
        if (keys++ >= kMaxSpeedKeys) {
            noteStoryCap(problems, L"VALUE_DELTATIME", kMaxSpeedKeys, key->getLine());
            break;
        }
        float const value = drawValue(*key, L"VALUE", kDefaultSpeedValue, problems);
        float const length = drawValue(*key, L"DELTA_TIME", 0.0f, problems);
        speedTrack.addKey(value, length, true);
    }
    speedTrack.setTime(0.0f);
}

StoryAnimation::StoryAnimation(StoryAnimation const& other)
    : rect(other.rect),
      drawModeX(other.drawModeX),
      drawModeY(other.drawModeY),
      use(other.use),
      loop(other.loop),
      speedTrack(other.speedTrack) {
    if (other.animation) animation.adopt(other.animation->clone());
}

StoryAnimation::~StoryAnimation() = default;

void StoryAnimation::setAnimation(std::wstring const& name) { animation.adopt(cloneStoryAnimation(name)); }

void StoryAnimation::update(float const& dt) {
    if (!animation) return;
    if (use) {
        speedTrack.update(dt);
        if (loop && speedTrack.getTime() >= speedTrack.getTotalTime()) speedTrack.setTime(0.0f);
        animation->setSpeed(speedTrack.getValue());
    }
    animation->update(static_cast<double>(dt));
}

}  // namespace Solitaire
