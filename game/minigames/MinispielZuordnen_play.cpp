// The sorting game's play: what a drop means, judging the arrangement and the blinking frame of
// what is wrong.
#include <algorithm>

#include "engine/gui/GUIWindow.h"
#include "game/minigames/DragAreas.h"
#include "game/minigames/MinispielManager.h"
#include "game/minigames/MinispielZuordnen.h"

namespace Solitaire {

void MinispielZuordnen::dropped(Gegenstand& item, Gebiet* area) {
    if (area && !item.isOnTarget()) MinispielManager::instance().moveWrong.emit(*this);
}

bool MinispielZuordnen::judge() {
    bool ok = true;
    int meant = 0;
    std::vector<Gegenstand*> const items = getItems();
    for (Gebiet* area : getAreas()) {
        area->itemCount = 0;
        area->itemsHere.clear();
        area->candidateCount = static_cast<int>(std::count_if(items.begin(), items.end(), [&](Gegenstand* item) {
            return std::find(item->targets.begin(), item->targets.end(), area) != item->targets.end();
        }));
        if (area->candidateCount >= 1) ++meant;
    }
    for (Gegenstand* item : items) {
        bool const right = item->isOnTarget();
        if (checkPlaces_) {
            item->mark(!right);
            ok = ok && right;
        }
    }
    int held = 0;
    for (Gebiet* area : getAreas()) {
        for (Gegenstand* item : items)
            if (item->area == area) {
                ++area->itemCount;
                area->itemsHere.push_back(item);
            }
        if (area->itemCount >= 1) ++held;
        if (checkPlaces_) {
            bool const right = area->minItems <= area->itemCount && area->itemCount <= area->candidateCount;
            ok = ok && right;
            area->mark(!right);
        }
    }
    bool sumsOk = true;
    for (std::size_t g = 0; g < sumGroups_.size(); ++g) {
        long long sum = 0;
        for (Gebiet* area : sumGroups_[g])
            for (Gegenstand* item : area->itemsHere) sum += item->value;
        if (sum == sums_[g]) continue;
        sumsOk = false;
        for (Gebiet* area : sumGroups_[g]) area->mark(true);
    }
    if (checkPlaces_) ok = ok && meant == held;
    return ok && sumsOk;
}

void MinispielZuordnen::onOk(Orvex::GUIWindow&) {
    if (ended) return;
    if (judge()) {
        reportSolvedNow();
        return;
    }
    solved = false;
    MinispielManager::instance().gameFailed.emit(*this);
}

void zuordnen::Teil::onDrawn(Orvex::GUIWindow& drawnWindow, bool const& drawn) {
    if (!drawn || !(markTime > 0.0f) || !(markDuration > 0.0f)) return;
    blink.setTime(markTime / markDuration);
    Orvex::FRect const r = drawnWindow.getScreenRect();
    RECT const rect{static_cast<LONG>(r.left), static_cast<LONG>(r.top), static_cast<LONG>(r.right),
                    static_cast<LONG>(r.bottom)};
    int const frame = MinispielManager::kBlinkFrame;
    D3DCOLOR const colour = static_cast<D3DCOLOR>(blink.getValue());
    MinispielManager::instance().frameRequested.emit(rect, frame, colour);
}

}  // namespace Solitaire
