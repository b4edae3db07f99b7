// Items dragged onto areas: the landing area, the bounds and the scatter.
#include "game/minigames/DragAreas.h"

#include <algorithm>

#include "engine/gui/GUIAnimationsGoal.h"
#include "engine/gui/GUIWindow.h"
#include "port/crt/crt.h"

namespace Solitaire::minigame {

int largestOverlap(Orvex::FRect const& item, std::vector<Orvex::GUIWindow*> const& areas) {
    int best = -1;
    float bestArea = 0.0f;
    for (std::size_t i = areas.size(); i-- > 0;) {
        if (!areas[i]) continue;
        float const area = ApartPlacer::overlapArea(item, areas[i]->getScreenRect());
        if (area > bestArea) {
            bestArea = area;
            best = static_cast<int>(i);
        }
    }
    return best;
}

void clampInside(Orvex::GUIWindow& window, Orvex::FRect const& bounds) {
    window.moveInsideParent(&bounds);
    window.updateRect(false, false);
}

bool goalHasArea(Orvex::GUIWindow const& window, Orvex::GUIAnimationsGoal const& goal) {
    Orvex::GUIWindow const* parent = window.getParent();
    if (!parent) return false;
    Orvex::FRect target;
    goal.rect.calcRect(target, parent->getScreenRect());
    return target.getWidth() > 0.0f && target.getHeight() > 0.0f;
}

void placeAtRandom(Orvex::GUIWindow& window) {
    Orvex::GUIRectAxis& position = window.getRect().getParamsX();
    Orvex::GUIRectAxis const& size = window.getRect().getParamsY();
    position.offX = 0.0f;
    position.offY = 0.0f;
    float const r1 = static_cast<float>(msvc::rand()) / static_cast<float>(msvc::kRandMax);
    float const r2 = static_cast<float>(msvc::rand()) / static_cast<float>(msvc::kRandMax);
    position.relX = (1.0f - size.relX) * (1.0f - r1);
    position.relY = (1.0f - size.relY) * (1.0f - r2);
}

void placeApart(Orvex::GUIWindow& window, ApartPlacer& placer) {
    // The tries move the window without telling anyone; the chosen place is told once.
    ApartPlacer::Place const chosen = placer.place([&window] {
        placeAtRandom(window);
        window.updateRect(true, true);
        Orvex::GUIRectAxis const& position = window.getRect().getParamsX();
        return ApartPlacer::Place{D3DXVECTOR2(position.relX, position.relY), window.getScreenRect()};
    });
    Orvex::GUIRectAxis& position = window.getRect().getParamsX();
    position.relX = chosen.at.x;
    position.relY = chosen.at.y;
    window.updateRect(false, false);
}

}  // namespace Solitaire::minigame
