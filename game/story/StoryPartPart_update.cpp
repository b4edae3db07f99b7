// Story elements: the changes a switch applies, the per-frame update, the emitter and the sounds.
#include "engine/core/Utils.h"
#include "engine/platform/PlayingSound.h"
#include "engine/platform/SoundManager.h"
#include "engine/render/Texture2DAnimation.h"
#include "game/particles/SolPartikel.h"
#include "game/particles/SolPartikelManager.h"
#include "game/story/StoryAnimation.h"
#include "game/story/StoryColor.h"
#include "game/story/StoryPartPart.h"
#include "game/story/StoryPosition.h"

namespace Solitaire {

namespace {

// The move itself lasts one unit of track time; the overshoot out and back its time in all.
constexpr float kMoveTime = 1.0f;

}  // namespace

void StoryPartPart::buildPositionKeys(D3DXVECTOR4 const& goal) {
    positionTrack.clearKeys();
    positionTrack.addKey(positionFrom, 0.0f, true);
    positionTrack.addKey(goal, kMoveTime, true);
    if (overshootPercent != 0.0f && overshootTime > 0.0f) {
        float const k = overshootPercent / 100.0f + 1.0f;
        positionTrack.addKey(Orvex::lerp(positionFrom, goal, k), overshootTime * 0.5f, true);
        positionTrack.addKey(goal, overshootTime * 0.5f, true);
    }
}

void StoryPartPart::setPositionIndex(unsigned const& index, float const& speed, float const& percent,
                                     float const& time) {
    if (index >= positions.size()) return;
    positionIndex = index;
    overshootPercent = percent;
    overshootTime = time;
    positionFrom = positionTrack.getValue();
    D3DXVECTOR4 goal;
    positions[index]->getValue(&goal);
    buildPositionKeys(goal);
    if (speed <= 0.0f) {
        positionTrack.setTime(positionTrack.getTotalTime());
    } else {
        positionTrack.setTime(0.0f);
        positionTrack.speed = speed;
    }
}

void StoryPartPart::setTexRectIndex(unsigned const& index, float const& speed) {
    if (index >= texRects.size()) return;
    texRectBlend.start = texRectBlend.current;
    texRectBlend.goal = texRects[index];
    texRectBlend.t = 0.0f;
    if (speed <= 0.0f)
        texRectBlend.step(1.0f);
    else
        texRectBlend.speed = speed;
}

void StoryPartPart::setColorIndex(unsigned const& index, float const& speed) {
    if (index >= colors.size()) return;
    colorIndex = index;
    colorFrom = colorBlend.current;
    colorBlend.t = 0.0f;
    colorBlend.start = colorBlend.current;
    colors[index]->getValue(&colorBlend.goal);
    if (speed <= 0.0f)
        colorBlend.step(1.0f);
    else
        colorBlend.speed = speed;
}

void StoryPartPart::update(float const& dt) {
    if (positionIndex < positions.size() && !positions[positionIndex]->isStatic()) {
        StoryPosition& track = *positions[positionIndex];
        track.update(dt);
        D3DXVECTOR4 goal;
        track.getValue(&goal);
        float const time = positionTrack.getTime();
        buildPositionKeys(goal);
        positionTrack.setTime(time);
    }
    if (colorIndex < colors.size() && !colors[colorIndex]->isStatic()) {
        StoryColor& track = *colors[colorIndex];
        track.update(dt);
        colorBlend.start = colorFrom;
        track.getValue(&colorBlend.goal);
        // The value follows the moving goal also once the blend has arrived.
        colorBlend.setTime(colorBlend.t);
    }
    positionTrack.update(dt);
    colorBlend.update(dt);
    texRectBlend.update(dt);
    if (!visible) return;
    if (animation) animation->update(static_cast<double>(dt));
    for (auto const& record : animations) record->update(dt);
}

void StoryPartPart::startEmitter() {
    stopEmitter();
    SolPartikel* started = SolPartikelManager::instance().spawn(
        emitterName, D3DXVECTOR2(Orvex::lerp(windowRect.left, windowRect.right, particleStart.x),
                                 Orvex::lerp(windowRect.top, windowRect.bottom, particleStart.y)));
    emitter.hold(started);
}

void StoryPartPart::stopEmitter() {
    if (!emitter) return;
    emitter->setForceEnd(1);
    emitter.reset();
}

void StoryPartPart::startSounds() {
    Orvex::SoundManager& soundManager = Orvex::SoundManager::getInstance();
    // Handles of sounds that have ended are let go, so switches that start sounds again and
    // again do not pile them up.
    std::erase_if(playingSounds, [](std::shared_ptr<Orvex::PlayingSound> const& s) { return !s->isPlaying(); });
    for (std::wstring const& name : sounds) {
        std::shared_ptr<Orvex::PlayingSound> sound = soundManager.playSound(name);
        if (!sound) continue;
        soundManager.playSample(sound, 1.0, false);
        playingSounds.push_back(std::move(sound));
    }
}

void StoryPartPart::stopSounds() {
    for (std::shared_ptr<Orvex::PlayingSound> const& sound : playingSounds) {
        sound->stop(1);
        sound->markStopped();
    }
    playingSounds.clear();
}

}  // namespace Solitaire
