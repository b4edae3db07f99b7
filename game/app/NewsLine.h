// The HUD's news line ("I_Meldung"): a label over the bottom panel that tells the player what the
// table cannot show on its cards, such as a hint or an undo refused for its price. A text shows
// with the label's "AN" goal for kShownSeconds of real time, then the label goes with "AUS"; a new
// text starts the time again. Without the label (a GUI file that lacks it) nothing shows.
#pragma once

#include <string>

namespace Orvex {
class GUILabel;
class GUIWindow;
}  // namespace Orvex

namespace Solitaire {

class NewsLine {
public:
    static constexpr float kShownSeconds = 3.0f;
    static constexpr double kGoalSpeed = 1.0;

    // The line's window: used when it is a label, else the line stays silent.
    void setWindow(Orvex::GUIWindow* window);
    void show(std::wstring const& text);
    // Counts the shown time down by the real step; at its end the line goes.
    void update(double realStep);
    // Gone at once (a new game).
    void clear();
    bool isShown() const { return remaining_ > 0.0f; }

private:
    Orvex::GUILabel* label_ = nullptr;
    float remaining_ = 0.0f;
};

}  // namespace Solitaire
