// The single owner of the styles and card sets with the current choice of each and their change
// signals. A style and a game style named "DEFAULT" exist and are current from the start; no card
// set is current until one is added and chosen. Loading the styles file comes with the styles code.
#pragma once

#include <string>
#include <vector>

#include "signals/sigslot.h"

namespace Solitaire {

class GameStyle;
class Kartenset;
class Style;

class StyleSettings : public sigslot::has_slots<sigslot::single_threaded> {
public:
    static StyleSettings& instance();
    ~StyleSettings() override;

    Style* getStyle() const { return style_; }
    Kartenset* getKartenset() const { return cardSet_; }
    GameStyle* getGameStyle() const { return gameStyle_; }

    // Appends with one reference held by the list; the first style also becomes current when
    // none is. Null is ignored.
    void addStyle(Style* style);
    void addKartenset(Kartenset* cardSet);
    void addGameStyle(GameStyle* gameStyle);
    GameStyle* findGameStyle(std::wstring const& name) const;
    // The first of the list with that name, or null.
    Style* findStyle(std::wstring const& name) const;
    Kartenset* findKartenset(std::wstring const& name) const;

    // Makes the object current (one more reference, the old one released) and emits its signal;
    // null or the current one changes nothing.
    void setStyle(Style* style);
    void setKartenset(Kartenset* cardSet);
    void setGameStyle(GameStyle* gameStyle);

    sigslot::signal1<Style*> styleChanged;
    sigslot::signal1<Kartenset*> kartensetChanged;
    sigslot::signal1<GameStyle*> gameStyleChanged;

private:
    StyleSettings();

    std::vector<Style*> styles_;
    std::vector<Kartenset*> cardSets_;
    std::vector<GameStyle*> gameStyles_;
    GameStyle* gameStyle_ = nullptr;
    Style* style_ = nullptr;
    Kartenset* cardSet_ = nullptr;
};

}  // namespace Solitaire
