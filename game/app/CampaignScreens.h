// The campaign's two screens: the chapter screen ("KATEGORIEMENU", one button per chapter of the
// category "KAMPAGNE") and the level screen ("LEVELAUSWAHLMENU"), whose buttons are copies of a
// template, twelve to a page in four columns and three rows, showing each level's lock, name,
// preview and stars from the active profile. The game object holds them by value, built with
// their Links, wires them once, refreshes them as their menus open and starts the level a click chooses (levelChosen).
//
// Files: CampaignScreens.cpp (all of it).
#pragma once

#include "signals/sigslot.h"

namespace Orvex {
class GUIMenuManagerN;
class GUISystem;
class GUIWindow;
class Sprite;
}  // namespace Orvex

namespace Solitaire {

class CampaignScreens : public sigslot::has_slots<sigslot::single_threaded> {
public:
    static constexpr int kLevelsPerPage = 12;
    static constexpr int kLevelColumns = 4;
    // Pages with an animation goal "PAGE" 1 .. kPageGoals on the level container.
    static constexpr int kPageGoals = 5;

    // What the screens use: the GUI gives the level template, the menus the level screen, the
    // sprite batch draws the page points.
    struct Links {
        Orvex::GUISystem* gui = nullptr;
        Orvex::GUIMenuManagerN* menus = nullptr;
        Orvex::Sprite* sprite = nullptr;
    };

    explicit CampaignScreens(Links const& links);
    CampaignScreens(CampaignScreens const&) = delete;
    CampaignScreens& operator=(CampaignScreens const&) = delete;

    // The chapter buttons and the level screen's windows found and connected.
    void wire();
    // The two screens' windows found and connected (again).
    void wireLevels();
    void wireChapters();
    // "KATEGORIEMENU": each chapter button enabled when open, its info text.
    void refreshChapters();
    // "LEVELAUSWAHLMENU": one button per level of the selected chapter, paged; the page of the
    // running level (when it is of this chapter), else of the first open one.
    void buildLevels(int runningChapter, int runningLevel);
    // The chapters' completion recomputed from their levels (after every game, on the chapters).
    static void refreshResults();
    void showPage(float speed);

    void onChapterClicked(Orvex::GUIWindow& button);
    void onLevelClicked(Orvex::GUIWindow& button);
    void onNextPage(Orvex::GUIWindow& button);
    void onPrevPage(Orvex::GUIWindow& button);
    void drawPagePoints(Orvex::GUIWindow& window, bool& a, bool& b, bool& c);

    int getSelectedChapter() const { return selectedChapter_; }
    int getCurrentPage() const { return currentPage_; }
    int getPageCount() const { return pageCount_; }

    // An open level's button was clicked: chapter, level.
    sigslot::signal2<int, int> levelChosen;

private:
    Orvex::GUISystem* gui_ = nullptr;
    Orvex::GUIMenuManagerN* menus_ = nullptr;
    Orvex::Sprite* sprite_ = nullptr;
    Orvex::GUIWindow* levelFrame_ = nullptr;
    Orvex::GUIWindow* levelButtons_ = nullptr;
    int selectedChapter_ = 0;
    int currentPage_ = -1;
    int pageCount_ = 0;
};

}  // namespace Solitaire
