// The list screens' shared steps: own texts, goals, copies of windows, list panels, slot numbers,
// chapter titles.
#include "game/app/ScreenLists.h"

#include <cmath>
#include <cstdint>

#include "engine/gui/GUIScrollPanel.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/GUIWindowOptions.h"
#include "game/app/SolCategorie.h"
#include "game/app/SolSolitaire.h"
#include "game/app/SolitaireManager.h"

namespace Solitaire {

namespace {

// Far enough to reach any list's first position; the panel clamps the step to its room.
constexpr float kScrollToStart = 100000.0f;

}  // namespace

Orvex::Text* ownText(Orvex::GUILabel const& label) { return findLanguageText(label.getTextId()); }

void jumpWindow(Orvex::GUIWindow* window, std::wstring const& goal) {
    if (window) window->jumpToGoal(goal);
}

void jumpWindow(std::wstring const& name, std::wstring const& goal) { jumpWindow(findScreenWindow(name), goal); }

namespace {

Orvex::GUIWindow* cloneBelow(Orvex::GUIWindow& source, int depth) {
    Orvex::GUIWindow* copy = source.clone();
    if (!copy || depth >= kMaxCloneDepth) return copy;
    for (Orvex::GUIWindow* child : source.getChildren()) {
        bool present = false;
        for (Orvex::GUIWindow* own : copy->getChildren()) present = present || own->getName() == child->getName();
        if (present) continue;
        if (Orvex::GUIWindow* childCopy = cloneBelow(*child, depth + 1))
            if (!copy->addChild(childCopy, true, true)) childCopy->release();
    }
    return copy;
}

}  // namespace

Orvex::GUIWindow* cloneTree(Orvex::GUIWindow& source) { return cloneBelow(source, 0); }

void resetListPanel(Orvex::GUIWindow& panel) {
    panel.removeAllChildren();
    if (auto* scroll = dynamic_cast<Orvex::GUIScrollPanel*>(&panel)) {
        if (Orvex::GUIWindow* content = scroll->getContentPanel())
            content->getOptions().createLayoutManager(L"DEFAULT_USEOFFEST");
        return;
    }
    panel.getOptions().createLayoutManager(L"DEFAULT");
}

void scrollPanelToStart(Orvex::GUIWindow* panel) {
    auto* scroll = dynamic_cast<Orvex::GUIScrollPanel*>(panel);
    if (!scroll) return;
    scroll->refreshContent();
    scroll->updateRect(false, false);
    scroll->update(0.0);
    scroll->scrollStep(Orvex::GUIScrollPanel::kUp, kScrollToStart);
    scroll->scrollStep(Orvex::GUIScrollPanel::kLeft, kScrollToStart);
    scroll->update(0.0);
}

void setSlotNumber(Orvex::GUIWindow& window, std::uint32_t slot, int number) {
    window.setUserPointer(reinterpret_cast<void*>(static_cast<std::intptr_t>(number)), slot);
}

int getSlotNumber(Orvex::GUIWindow const& window, std::uint32_t slot) {
    return static_cast<int>(reinterpret_cast<std::intptr_t>(window.getUserPointer(slot)));
}

std::wstring chapterTitle(std::wstring const& formatId, int chapter) {
    SolCategorie const* campaign = SolitaireManager::instance().findCategory(SolitaireManager::kCampaignName);
    SolSolitaire const* game = campaign ? campaign->findGame(L"KAPITEL_" + std::to_wstring(chapter)) : nullptr;
    if (!game) return std::wstring();
    std::wstring const name = Orvex::languageText(game->getTextId());
    Orvex::Text const* format = findLanguageText(formatId);
    std::wstring out;
    return format ? format->format(out, chapter + 1, name) : name;
}

std::int64_t wholeSeconds(double seconds) {
    if (!(seconds > 0.0) || std::isinf(seconds)) return 0;  // not a number, zero, negative or no real time
    if (seconds >= static_cast<double>(kMaxWholeSeconds)) return kMaxWholeSeconds;
    return static_cast<std::int64_t>(seconds);
}

}  // namespace Solitaire
