// The shuffle power: the cards each pile lets be shuffled ("MISCHEN_MODE") change places in
// random pairs, the last one of an odd count with a random partner; it costs "MISCHEN" points
// and is one undo step.
#include <algorithm>

#include "engine/core/Random.h"
#include "game/cards/Anordnung.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "game/cards/StatistikManager.h"
#include "game/look/GameStyle.h"
#include "game/look/Style.h"
#include "game/look/StyleSettings.h"
#include "port/crt/crt.h"

namespace Solitaire {

bool Kartenmanager::mix() {
    std::vector<Karte*> chosen;
    for (Kartenstapel* pile : piles)
        for (Karte* card : pile->getMixCards())
            // A card of a linked pile may be offered twice; it takes part once.
            if (std::find(chosen.begin(), chosen.end(), card) == chosen.end()) chosen.push_back(card);
    if (chosen.size() < 2) return false;

    msvc::random_shuffle(chosen.begin(), chosen.end());
    auto swapPair = [&](Karte* a, Karte* b) {
        if (a == b || !a->pile || !b->pile) return;
        Anordnung* arrangementA = findArrangementOfCard(a);
        Anordnung* arrangementB = findArrangementOfCard(b);
        if (arrangementA && arrangementB) swapCards(a, arrangementA, b, arrangementB);
    };
    std::size_t const count = chosen.size();
    for (std::size_t i = 1; i < count; i += 2) swapPair(chosen[i], chosen[i - 1]);
    if (count % 2 == 1) {
        // A partner other than itself, so an odd count moves its last card too.
        int const partner = Orvex::randomInt(0, static_cast<int>(count) - 1);
        swapPair(chosen.back(), chosen[static_cast<std::size_t>(partner)]);
    }

    Style const* style = StyleSettings::instance().getStyle();
    float const speed = style ? style->arrangeSpeed : 0.0f;
    for (Kartenstapel* pile : piles) pile->arrange(speed);

    if (gameStyle_) {
        if (gameStyle_->autoMultiplier) gameStyle_->updateMultiplier();
        float const points = gameStyle_->mischenPoints;
        if (points != 0.0f) {
            changeScore(points);
            spawnPoints(points);
        }
    }
    scheduleResolution();
    saveUndoState();
    StatistikManager::instance().countMix();
    return true;
}

}  // namespace Solitaire
