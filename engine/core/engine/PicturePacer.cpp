// The main loop's pacing by the presented picture (see PicturePacer.h).
#include "engine/core/engine/PicturePacer.h"

#include <algorithm>

namespace Orvex {

double PicturePacer::interval(double renderInterval) const {
    return still_ ? std::max(renderInterval, kStillInterval) : renderInterval;
}

bool PicturePacer::wantsLook(double time) const { return still_ || !looked_ || time - lookTime_ >= kLookSeconds; }

void PicturePacer::onLook(double time, std::uint64_t picture) {
    still_ = looked_ && !messageSinceLook_ && picture == picture_;
    looked_ = true;
    messageSinceLook_ = false;
    lookTime_ = time;
    picture_ = picture;
}

void PicturePacer::onMessage() {
    still_ = false;
    messageSinceLook_ = true;
}

}  // namespace Orvex
