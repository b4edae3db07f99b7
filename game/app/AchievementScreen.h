// The achievement screens: the list of every achievement ("ACHIVEMENTS_MENU") with its medal
// picture, progress texts and tooltip, the cup bars of the overall progress, the particle over the
// hovered entry, and the popup that announces a medal reached in play (picture, headline, sound,
// particle), fed from a queue so medals wait while a screen that must not be covered is shown. It
// also counts the play time achievement "AC_TIME". The game object holds it by value, built with its
// Links, wires it once the achievements are read, builds the list as its menu opens and steps the
// popup every frame.
//
// An entry's progress line ("Progress") that is wider than its tile in the tile's own font is
// written in the narrow font kNarrowFont, so large counts stay on the tile.
//
// Files: AchievementScreen.cpp (all of it).
#pragma once

#include <cstddef>
#include <deque>
#include <map>
#include <string>
#include <utility>

#include "engine/core/CountedRef.h"
#include "game/cards/Achivement.h"
#include "signals/sigslot.h"

namespace Orvex {
class GUILabel;
class GUIMenuManagerN;
class GUISystem;
class GUIWindow;
}  // namespace Orvex

namespace Solitaire {

class AchivementManager;
class SolPartikel;
class SolPartikelManager;

class AchievementScreen : public sigslot::has_slots<sigslot::single_threaded> {
public:
    // The font of a progress line too wide for its tile (of the engine's fonts, font.fnt).
    static constexpr wchar_t kNarrowFont[] = L"klein";

    // What the screens use: the GUI gives the cup bars, the menus the screens over which no popup
    // opens, the achievements their list and medals, the particles the medals' sparkles.
    struct Links {
        Orvex::GUISystem* gui = nullptr;
        Orvex::GUIMenuManagerN* menus = nullptr;
        AchivementManager* achievements = nullptr;
        SolPartikelManager* particles = nullptr;
    };

    explicit AchievementScreen(Links const& links);
    ~AchievementScreen() override;
    AchievementScreen(AchievementScreen const&) = delete;
    AchievementScreen& operator=(AchievementScreen const&) = delete;

    // Once the achievements are read: the popup's windows and the play time achievement found,
    // every achievement's medalChanged connected to onMedal.
    void wire();
    // "ACHIVEMENTS_MENU": every entry's picture, texts and tooltip, the cup bars.
    void build();
    // A list entry under the pointer, and left.
    void onEntryHovered(Orvex::GUIWindow& window);
    void onEntryUnhovered(Orvex::GUIWindow& window);
    // An achievement's medal changed: its popup waits in the queue.
    void onMedal(Achivement& achievement, AchivementMedal const& medal);
    // The popup's time runs down; without one the next queued medal shows when it may.
    void update(double realStep);
    void dismissPopup();
    // While held (a level's opening: its banner, its rules, no card moved yet) medals wait.
    void holdPopups(bool held) { held_ = held; }
    // The in-game time adds to "AC_TIME".
    void countPlayTime(double gameStep);

    float getPopupTimer() const { return popupTimer_; }
    std::size_t getQueuedMedals() const { return queue_.size(); }
    SolPartikel* getPopupParticle() const { return popupParticle_.get(); }
    SolPartikel* getListParticle() const { return listParticle_.get(); }
    Achivement* getHoveredAchievement() const { return hovered_; }

private:
    bool canShowPopup() const;
    // The popup shows the medal the achievement holds now (the queued one may have been passed).
    void showPopup(Achivement& achievement);
    // One list entry's texts and picture; returns its overall progress (0 .. 100).
    double fillEntry(Achivement& achievement, bool hasTextBox);
    // The progress line in its own font, or the narrow one when it is wider than its place.
    void fitProgress(std::wstring const& name, Orvex::GUILabel& progress);
    // A particle that never ends by itself, following the window, held with a reference.
    void startWindowParticle(Orvex::CountedRef<SolPartikel>& held, wchar_t const* name, Orvex::GUIWindow& window);

    Orvex::GUISystem* gui_ = nullptr;
    Orvex::GUIMenuManagerN* menus_ = nullptr;
    AchivementManager* achievements_ = nullptr;
    SolPartikelManager* particles_ = nullptr;
    Achivement* playTime_ = nullptr;
    Orvex::GUIWindow* popup_ = nullptr;
    Orvex::GUIWindow* popupParticles_ = nullptr;
    // Seconds left of the shown popup; -1 while none shows.
    float popupTimer_ = -1.0f;
    bool held_ = false;
    std::deque<std::pair<Achivement*, AchivementMedal>> queue_;
    // The popup's particle and the hovered list entry's, each held with a reference.
    Orvex::CountedRef<SolPartikel> popupParticle_;
    Orvex::CountedRef<SolPartikel> listParticle_;
    Achivement* hovered_ = nullptr;
    // Each progress line's font as the GUI file gives it, by achievement name.
    std::map<std::wstring, std::wstring> progressFonts_;
};

}  // namespace Solitaire
