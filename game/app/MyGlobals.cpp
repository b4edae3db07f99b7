// The game's settings in "API_PARAMS": volumes, cursor and the kept "SOLITAIRE" node, read and
// written as they stand; the volume setters clamp and apply.
#include "game/app/MyGlobals.h"

#include <algorithm>

#include "engine/platform/MusicManager.h"
#include "engine/platform/SoundManager.h"

namespace Solitaire {

namespace {

constexpr wchar_t kVolume[] = L"VOLUME";
constexpr wchar_t kSoundVolume[] = L"SOUNDVOLUME";
constexpr wchar_t kMusicVolume[] = L"MUSICVOLUME";
constexpr wchar_t kMouseCursor[] = L"MOUSE_CURSOR";
constexpr wchar_t kSolitaire[] = L"SOLITAIRE";

// At most 100 first, then at least 0: a NaN stays NaN through both, and the managers ignore it.
float clampVolume(float volume) { return std::max(std::min(volume, MyGlobals::kMaxVolume), 0.0f); }

}  // namespace

MyGlobals::MyGlobals() = default;
MyGlobals::~MyGlobals() = default;

bool MyGlobals::load(Orvex::XMLNode& node) {
    Orvex::UserGlobals::load(node);
    if (Orvex::XMLNode const* volume = node.getChild(kVolume)) {
        if (Orvex::XMLAttribute const* sound = volume->getAttribute(kSoundVolume)) soundVolume_ = sound->getFloat();
        if (Orvex::XMLAttribute const* music = volume->getAttribute(kMusicVolume)) musicVolume_ = music->getFloat();
        applyVolumes();
    }
    if (Orvex::XMLAttribute const* cursor = node.getAttribute(kMouseCursor)) mouseCursor_ = cursor->getInt();
    if (Orvex::XMLNode const* solitaire = node.getChild(kSolitaire)) {
        solitaire_.clear();
        solitaire_.copyFrom(*solitaire);
    }
    return true;
}

bool MyGlobals::save(Orvex::XMLNode& node) {
    Orvex::UserGlobals::save(node);
    Orvex::XMLNode* volume = node.addChild(kVolume);
    volume->addAttribute(new Orvex::XMLAttribute(kSoundVolume, soundVolume_));
    volume->addAttribute(new Orvex::XMLAttribute(kMusicVolume, musicVolume_));
    node.addAttribute(new Orvex::XMLAttribute(kMouseCursor, mouseCursor_));
    Orvex::XMLNode* solitaire = node.addChild(new Orvex::XMLNode(solitaire_));
    solitaire->setName(kSolitaire);
    return true;
}

void MyGlobals::setMusicVolume(float const& volume) {
    musicVolume_ = clampVolume(volume);
    applyVolumes();
}

void MyGlobals::setSoundVolume(float const& volume) {
    soundVolume_ = clampVolume(volume);
    applyVolumes();
}

void MyGlobals::applyVolumes() const {
    Orvex::SoundManager::getInstance().setVolume(soundVolume_ / kMaxVolume);
    Orvex::MusicManager::getInstance().setVolume(musicVolume_ / kMaxVolume);
}

int MyGlobals::getShownCursor() const {
    return mouseCursor_ >= kFirstDrawnCursor && mouseCursor_ <= kLastDrawnCursor ? mouseCursor_ : kSystemCursor;
}

}  // namespace Solitaire
