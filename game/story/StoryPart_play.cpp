// Story scenes while they play: switches, the per-frame update, clicks, the finish, drawing, and
// recording the unlock lists in a profile.
#include "engine/platform/PlayingSound.h"
#include "engine/platform/SoundManager.h"
#include "game/story/StoryManager.h"
#include "game/story/StoryPart.h"
#include "game/story/StoryPartPart.h"
#include "game/story/StoryProfile.h"

namespace Solitaire {

namespace {

void addAll(StoryProfile* profile, std::vector<std::wstring> const& lasting, std::vector<std::wstring> const& temporary) {
    if (!profile) return;
    for (std::wstring const& name : lasting) profile->addUnlock(name, false);
    for (std::wstring const& name : temporary) profile->addUnlock(name, true);
}

void playOnce(std::wstring const& name) {
    if (name.empty()) return;
    Orvex::SoundManager& sounds = Orvex::SoundManager::getInstance();
    if (std::shared_ptr<Orvex::PlayingSound> sound = sounds.playSound(name)) sounds.playSample(sound, 1.0, false);
}

}  // namespace

StorySwitch const* StoryPart::current() const {
    if (currentSwitch < 0 || static_cast<std::size_t>(currentSwitch) >= switches.size()) return nullptr;
    return &switches[static_cast<std::size_t>(currentSwitch)];
}

bool StoryPart::nextSwitch(float const& speedFactor) {
    // Past the end the index stays one past the last switch, so a scene asked again stays over.
    if (currentSwitch < static_cast<int>(switches.size())) ++currentSwitch;
    StorySwitch const* s = current();
    if (!s) {
        finish();
        return true;
    }
    StoryManager& manager = StoryManager::instance();
    for (StorySwitchParam const& p : s->params) {
        float const speed = p.speed * speedFactor;
        for (auto const& e : parts) {
            if (e->getName() != p.partName) continue;
            e->visible = p.visible;
            e->setColorIndex(static_cast<unsigned>(p.useColor), speed);
            e->setPositionIndex(static_cast<unsigned>(p.useDrawRect), speed, p.overshootPercent, p.overshootTime);
            e->setTexRectIndex(static_cast<unsigned>(p.useTexRect), speed);
            if (p.startEmitter) e->startEmitter();
            if (p.stopEmitter) e->stopEmitter();
            if (p.startSound) e->startSounds();
            if (p.stopSound) e->stopSounds();
            if (p.stopMusic) manager.stopMusic.emit();
            if (p.stopStandardMusic) manager.stopStandardMusic.emit();
            if (p.startMusic) manager.playMusic.emit(e->music);
            if (p.startStandardMusic) manager.startStandardMusic.emit();
        }
    }
    playOnce(s->playSound);
    switchTime = 0.0f;
    return false;
}

bool StoryPart::update(float const& dt) {
    float const d = speedMult * dt;
    for (auto const& e : parts) e->update(d);
    StorySwitch const* s = current();
    if (s && (s->switchAt & StorySwitch::kOnTimer) != 0) {
        switchTime += d;
        if (switchTime > s->timer) return nextSwitch(1.0f);
    }
    return false;
}

bool StoryPart::click(float x, float y) {
    for (std::size_t i = parts.size(); i-- > 0;) {
        StoryPartPart const& e = *parts[i].get();
        if (!e.visible) continue;
        D3DXVECTOR4 const& r = e.getPositionValue();
        bool const hit = r.x <= x && x <= r.z && r.y <= y && y <= r.w;
        if (hit && !skipPart.empty() && e.getName() == skipPart) {
            finish();
            return true;
        }
    }
    StorySwitch const* s = current();
    if (s && (s->switchAt & StorySwitch::kOnClick) != 0) return nextSwitch(1.0f);
    return false;
}

void StoryPart::finish() {
    for (std::size_t i = parts.size(); i-- > 0;) parts[i]->stopSounds();
    stopEmitters();
    StoryManager& manager = StoryManager::instance();
    manager.stopMusic.emit();
    manager.startStandardMusic.emit();
}

void StoryPart::stopEmitters() {
    for (auto const& e : parts) e->stopEmitter();
}

void StoryPart::draw(Orvex::GUIWindow& window) {
    for (auto const& e : parts) e->draw(window);
}

void StoryPart::applyPreUnlocks(StoryProfile* profile) const { addAll(profile, unlockPre, unlockTmpPre); }

void StoryPart::applyPostUnlocks(StoryProfile* profile) const { addAll(profile, unlockPost, unlockTmpPost); }

void StoryPart::applyPostPostUnlocks(StoryProfile* profile) const { addAll(profile, unlockPostPost, unlockTmpPostPost); }

}  // namespace Solitaire
