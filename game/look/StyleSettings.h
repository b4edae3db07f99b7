// The single owner of the styles, game styles, card sets and backgrounds with the current choice
// of each, the card back, tooltip type and particle multiplier, and their change signals. Card sets
// are filed into card-set sets by their (group, entry) pairs, or into "DEFAULT" under their own
// name. A style and a game style named "DEFAULT" exist and are current from the start, so cards,
// piles and scoring always have one; the first style and the first game style a styles file
// brings replace the fallbacks, in the list too (only a table without data keeps them). Adding
// appends; every look-up by name takes the first match. The card back is kept within the current
// card set's backs: a saved or stepped index past them is its last one, and a card set with
// fewer backs made current moves the back onto its last one (it stays there after).
//
// StyleSettings.cpp: lists, look-ups and choosing; StyleSettings_load.cpp: reading the styles
// file (or the settings node) and saving the choices.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "signals/sigslot.h"

namespace Orvex {
class Texture2D;
class XMLNode;
}  // namespace Orvex

namespace Solitaire {

class Background;
class GameStyle;
class Kartenset;
class ReadProblems;
class Style;

class StyleSettings : public sigslot::has_slots<sigslot::single_threaded> {
public:
    // A card-set set: a name and its entries (card set, entry name); the set holds a reference
    // to each card set.
    struct CardSetSet {
        std::wstring name;
        std::vector<std::pair<Kartenset*, std::wstring>> entries;
    };

    static StyleSettings& instance();
    ~StyleSettings() override;

    // The program-wide style parameter (the blend of every style range).
    static float getStyleParam() { return styleParam_; }
    // The options' slider gives 0 .. 1; a parameter beyond Orvex::kMaxMeasure is damaged data,
    // as a range's ends beyond it are, and the bound keeps each blend inside a float. Every reader
    // of a parameter refuses one beyond it.

    // Reads lists and choices from a styles file's top node or the game's settings node;
    // sourceName names it in log lines. Files named by "FILE" are opened by relative name.
    void load(Orvex::XMLNode& node, std::wstring const& sourceName = std::wstring());
    // Writes the choices as attributes of node (replacing attributes of the same name).
    void save(Orvex::XMLNode& node) const;
    // Drops every list and choice; the fallback style "DEFAULT" becomes current again.
    void clear();

    Style* getStyle() const { return style_; }
    Kartenset* getKartenset() const { return cardSet_; }
    Background* getBackground() const { return background_; }
    // The background set at the end of loading, used where a variant names none.
    Background* getDefaultBackground() const { return defaultBackground_; }
    int getCardsBack() const { return cardsBack_; }
    int getTooltipType() const { return tooltipType_; }
    float getParticleSpawnMult() const { return particleSpawnMult_; }
    CardSetSet const* getCardSetSet() const { return currentSet_; }
    std::wstring const& getCardSetEntryName() const { return entryName_; }
    // A texture of the current card set by slot index; null without card set or out of range.
    Orvex::Texture2D* getCardSetTexture(int slot) const;
    GameStyle* getGameStyle() const { return gameStyle_; }

    // Appends with one reference held by the list (null is ignored). The first style or game
    // style appended while none (or only the fallback) is current becomes current, with its
    // signal, and the fallback leaves the list; the first background while none is current
    // becomes current, without signal.
    void addStyle(Style* style);
    void addBackground(Background* background);
    // Files a card set by its (group, entry) pairs, or into "DEFAULT" under its own name.
    void addKartenset(Kartenset* cardSet);
    void addGameStyle(GameStyle* gameStyle);
    GameStyle* findGameStyle(std::wstring const& name) const;

    // The first of each list with that name, or null; a card set by its own name in any set.
    Style* findStyle(std::wstring const& name) const;
    Background* findBackground(std::wstring const& name) const;
    Kartenset* findKartenset(std::wstring const& name) const;
    CardSetSet* findCardSetSet(std::wstring const& name);
    int getKartensetCount() const { return static_cast<int>(sets_.size()); }
    // The set's index; 0 when it is not in the list.
    int indexOfKartenset(CardSetSet const* set) const;

    // Choosing by name; an unknown name changes nothing.
    void selectStyle(std::wstring const& name);
    void selectBackground(std::wstring const& name);
    void selectGameStyle(std::wstring const& name);
    // The set becomes current; with a card set current, the entry of the remembered entry name
    // is chosen in it (when the set has one).
    void selectCardSetSet(std::wstring const& name);
    // In the current set, every entry of that name is made current (the last wins); the name is
    // remembered. Nothing without a current set.
    void selectCardSet(std::wstring const& name);
    // The set at that index; ignored outside 0 .. count - 1.
    void selectKartensetByIndex(int index);
    // The current set's card set filed under the entry of the named card set (its own name as
    // some set files it, else the name as an entry); the last of that entry, as selectCardSet
    // chooses. Null without a current set or such an entry in it.
    Kartenset* findInCurrentSet(std::wstring const& name) const;

    // Makes the object current (one more reference, the old one released) and emits its signal;
    // null or the current one changes nothing. A new card set's textures are resumed, the old
    // one's suspended, and its name becomes the remembered entry name.
    void setStyle(Style* style);
    void setCurrentCardSet(Kartenset* cardSet);
    void setKartenset(Kartenset* cardSet) { setCurrentCardSet(cardSet); }
    // Stores the back index fitted to the current card set (Kartenset::fitBack over its backs, or
    // over Kartenset::kBackChoices without one) and emits its signal: the index kept is the back
    // shown.
    void setCardsBack(int index);
    // Stores the parameter; applies it to the current style and emits the style signal. One
    // beyond Orvex::kMaxMeasure (or not a number) is ignored.
    void setStyleParam(float param);
    void setTooltipType(int type) { tooltipType_ = type; }
    void setParticleSpawnMult(float mult);
    void setGameStyle(GameStyle* gameStyle);

    sigslot::signal1<Kartenset*> kartensetChanged;
    sigslot::signal1<Style*> styleChanged;
    sigslot::signal1<int> cardsBackChanged;
    sigslot::signal1<GameStyle*> gameStyleChanged;

private:
    // Every list and choice let go, the fallbacks too (the destructor's and clear's work).
    void releaseLists();
    StyleSettings();

    void addFallbackStyle();
    // The backs the current card set holds; Kartenset::kBackChoices without one.
    int backsHeld() const;
    // The current set's last card set of that entry name, or null.
    Kartenset* currentSetEntry(std::wstring const& entry) const;
    void readFiles(Orvex::XMLNode& node, std::wstring const& sourceName, ReadProblems& problems);
    void readChoices(Orvex::XMLNode& node, ReadProblems& problems);

    static inline float styleParam_ = 0.0f;

    std::vector<CardSetSet*> sets_;
    CardSetSet* currentSet_ = nullptr;
    std::vector<GameStyle*> gameStyles_;
    GameStyle* gameStyle_ = nullptr;
    GameStyle* fallbackGameStyle_ = nullptr;  // not counted: the list holds it
    Kartenset* cardSet_ = nullptr;
    std::wstring entryName_;
    std::vector<Style*> styles_;
    Style* style_ = nullptr;
    Style* fallbackStyle_ = nullptr;  // not counted: the list holds it
    std::vector<Background*> backgrounds_;
    Background* background_ = nullptr;
    Background* defaultBackground_ = nullptr;  // not counted: the list holds it
    int cardsBack_ = 0;
    int tooltipType_ = 0;
    float particleSpawnMult_ = 1.0f;
};

// The current style of the settings (the fallback until one is loaded).
inline Style const* currentStyle() { return StyleSettings::instance().getStyle(); }

}  // namespace Solitaire
