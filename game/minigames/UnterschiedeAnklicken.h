// The mini-game "UNTERSCHIEDE" (spot the differences): the playing field shows two pictures side
// by side and each difference is a part with a clickable window in the field (and optionally an
// extra window in the foreground that follows it). A click counts where it falls on the part's
// object: inside the convex hull of its picture's opaque pixels (alpha x 255 at least 64), or
// within kHitMargin picture pixels of it, so a drawing of thin strokes is hit between them too;
// the part then switches to its found look (its windows jump to their goal "AUS", which holds the
// found rectangle). A label shows the parts left: its text id formatted with the number, for one
// part in the text's form for one where the language has it. With "2NDMOUSE" a mirror cursor follows
// the pointer over the other half of the field and a click on either half counts. Every part
// found solves the game; it reports after the end delay.
//
// Keys beside the base's: "2NDMOUSE", "2NDMOUSE_CURSOR" (the mirror cursor's picture),
// "UNTERSCHIED" children: "GUI", "GUIRECT", "GUIRECT_FOUND", "ANIMATION", "ANIMATION_FOUND",
// "GUI_EXTRA", "GUIRECT_EXTRA", "GUIRECT_EXTRA_FOUND", "ANIMATION_EXTRA",
// "ANIMATION_EXTRA_FOUND", "IGNORE_THIS" (found from the start, ignoring input).
// Windows (prefix + "UNTERSCHIEDE_" + "FENSTER", "SPIELFELD", "LABEL", "VG", "CANCEL", "HILFE").
//
// The mirror cursor lives in the shared mini-game cursor; hide clears it, so it does not stay on
// other screens when the game is skipped or closed.
#pragma once

#include <memory>
#include <vector>

#include "engine/gui/GUIRect.h"
#include "engine/core/CountedRef.h"
#include "game/minigames/Minispiel.h"
#include "game/minigames/OpaqueHull.h"
#include "port/d3dx9/d3dx9math.h"
#include "signals/sigslot.h"

namespace Orvex {
class GUILabel;
class GUIWindow;
class Texture2DAnimation;
}  // namespace Orvex

namespace Solitaire {

class UnterschiedeAnklicken : public Minispiel {
public:
    static constexpr wchar_t const* kKind = L"UNTERSCHIEDE_";
    static constexpr std::size_t kMaxParts = 256;
    // Pixels whose alpha x 255 reaches this are the opaque pixels of a part's picture.
    static constexpr short kAlphaThreshold = 64;
    // A click this many picture pixels beside a part's object still finds it.
    static constexpr float kHitMargin = 2.0f;

    class UTeil : public sigslot::has_slots<sigslot::single_threaded> {
    public:
        explicit UTeil(Orvex::XMLNode& node);
        ~UTeil() override;
        UTeil(UTeil const&) = delete;
        UTeil& operator=(UTeil const&) = delete;

        // Both windows at "AN" at once; an ignored part ignores input and counts as found.
        void reset();
        // The current picture (found or not) advanced and shown in each window.
        void update(double dt);
        void onClicked(Orvex::GUIWindow& clicked);
        // Whether the screen point lies on the object of the picture's current frame (the hull of
        // its opaque pixels, widened by kHitMargin).
        bool hits(D3DXVECTOR2 const& point);
        void markFound();

        // The pictures (the found one may be the same as the other) are declared before the
        // windows, so the windows are let go first.
        Orvex::CountedRef<Orvex::Texture2DAnimation> picture;
        Orvex::CountedRef<Orvex::Texture2DAnimation> foundPicture;
        Orvex::CountedRef<Orvex::Texture2DAnimation> extraPicture;
        Orvex::CountedRef<Orvex::Texture2DAnimation> extraFoundPicture;
        Orvex::CountedRef<Orvex::GUIWindow> window;
        bool found = false;
        bool ignored = false;
        Orvex::CountedRef<Orvex::GUIWindow> extraWindow;
        Orvex::GUIRect foundRect;
        Orvex::GUIRect extraFoundRect;
        // The object of the frame last tested, built again when the frame changes.
        OpaqueHull object;
    };

    explicit UnterschiedeAnklicken(Orvex::XMLNode& element);
    ~UnterschiedeAnklicken() override;

    void update(double const& dt) override;
    void draw() override;
    void createWindows() override;
    void start() override;
    void hide() override;

    void onSpielfeldClicked(Orvex::GUIWindow& clicked);

    // The point in the other half of the field (the same height).
    D3DXVECTOR2 mirrorPoint(D3DXVECTOR2 const& point) const;
    bool isInField(D3DXVECTOR2 const& point) const;

    std::vector<std::unique_ptr<UTeil>> const& getParts() const { return parts_; }
    Orvex::GUIWindow* getField() const { return field_; }
    Orvex::GUILabel* getLabel() const { return label_; }
    bool usesSecondCursor() const { return secondMouse_; }

private:
    // The label's text id formatted with the count.
    void showCount(int count);
    void clearCursor();

    std::vector<std::unique_ptr<UTeil>> parts_;
    Orvex::GUIWindow* field_ = nullptr;
    Orvex::GUILabel* label_ = nullptr;
    Orvex::CountedRef<Orvex::Texture2DAnimation> cursorPicture_;
    bool secondMouse_ = false;
};

}  // namespace Solitaire
