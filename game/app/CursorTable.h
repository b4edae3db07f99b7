// The game's pointer pictures: the cursor table of "data\menu\mouse.ani" (tutorial arrows, the
// four pointers of the options' choice, the power cursors) and the tutorial arrow, played each
// frame; the pointer drawn over the frame (a mini-game's own cursor, the chosen pointer, the armed
// power's cursor); and the options' cursor choice with the system pointer it shows or hides. The
// game object holds it by value.
//
// Decisions:
// - The cursor's show and hide calls are repeated until the display count changes sign, at most
//   kMaxCursorCalls times, and stop when the count does not move.
//
// Files: CursorTable.cpp (all of it).
#pragma once

#include "signals/sigslot.h"

namespace Orvex {
class D3DInterface;
class GUIMenuManagerN;
class GUIWindow;
class OrvexEngine;
class Sprite;
class Texture2DAnimation;
}  // namespace Orvex

namespace Solitaire {

class Kartenmanager;
class MyGlobals;

class CursorTable : public sigslot::has_slots<sigslot::single_threaded> {
public:
    // The cursor table: the nine tutorial arrows, the four cursor pictures, the four power
    // cursors of "data\menu\mouse.ani".
    static constexpr int kCursorCount = 17;
    static constexpr int kFirstArrow = 0;
    static constexpr int kArrowCount = 9;
    static constexpr int kFirstMouseCursor = 9;
    static constexpr int kMouseCursorCount = 4;
    static constexpr int kFirstGodCursor = 13;

    // What the table uses: the engine (its system-cursor flag), the device (screen size), the
    // settings holding the chosen cursor (may be null), the menus (the power cursor shows in
    // game), the batcher drawn with, the card manager (the armed power).
    struct Links {
        Orvex::OrvexEngine* engine = nullptr;
        Orvex::D3DInterface* d3d = nullptr;
        MyGlobals* globals = nullptr;
        Orvex::GUIMenuManagerN* menus = nullptr;
        Orvex::Sprite* sprite = nullptr;
        Kartenmanager* cards = nullptr;
    };

    explicit CursorTable(Links const& links);
    CursorTable(CursorTable const&) = delete;
    CursorTable& operator=(CursorTable const&) = delete;

    // The table filled from the animation registry (a missing one stays null), and the tutorial
    // arrow "T_PFEIL_ANI".
    void fill();
    // The entry, or null outside the table.
    Orvex::Texture2DAnimation* getCursor(int index) const;
    // The options' pictures "O_Cursor0".. show their cursors; they and "O_C0".. choose it. Then
    // the chosen cursor is shown.
    void wire();
    // The chosen pointer plays forward while the left button is held and back after; the arrows
    // play on.
    void update(double realStep);
    // The pointer's pictures at the input's position, into the open sprite batch.
    void drawPointer();

    void onCursor0(Orvex::GUIWindow& window);
    void onCursor1(Orvex::GUIWindow& window);
    void onCursor2(Orvex::GUIWindow& window);
    void onCursor3(Orvex::GUIWindow& window);
    // Shows the chosen cursor: the system arrow for the shown cursor 3 (MyGlobals::getShownCursor,
    // which a setting outside 0 to 3 also gives), else the game's picture.
    void applyCursor();

private:
    void choose(int cursor);
    void drawCursorPicture(Orvex::Texture2DAnimation* animation, float x, float y, float width, float height);

    Orvex::OrvexEngine* engine_ = nullptr;
    Orvex::D3DInterface* d3d_ = nullptr;
    MyGlobals* globals_ = nullptr;
    Orvex::GUIMenuManagerN* menus_ = nullptr;
    Orvex::Sprite* sprite_ = nullptr;
    Kartenmanager* cards_ = nullptr;
    Orvex::Texture2DAnimation* cursors_[kCursorCount] = {};
    Orvex::Texture2DAnimation* tutorialArrow_ = nullptr;
};

}  // namespace Solitaire
