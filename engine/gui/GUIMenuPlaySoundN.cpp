// "SOUND": the sound manager plays the cue (nothing for an unknown or empty name).
#include "engine/gui/GUIMenuPlaySoundN.h"

#include "engine/platform/PlayingSound.h"
#include "engine/platform/SoundManager.h"

namespace Orvex {

void GUIMenuPlaySoundN::readXML(XMLNode& node) {
    GUIMenuLinkN::readXML(node);
    cue_ = node.getAttributeString(L"CUE", cue_);
}

bool GUIMenuPlaySoundN::execute() {
    if (!cue_.empty()) {
        SoundManager& sounds = SoundManager::getInstance();
        if (std::shared_ptr<PlayingSound> sound = sounds.playSound(cue_)) sounds.playSample(sound, kVolume);
    }
    activateMenusAndCallEvents();
    return breaksAfterAction();
}

}  // namespace Orvex
