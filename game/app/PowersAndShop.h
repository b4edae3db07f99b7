// The powers (god bars) and the shop of the in-game screen. Four gods, each a progress bar
// "I_GODS_1" .. "I_GODS_4", fill while cards of their suit are scored in a campaign level; a full
// bar, clicked, arms the god's power in the card manager (its click mode), and the card manager's
// report of the power's use empties the bar again. The shop ("SHOPMENU") sells jokers and
// wildcards for the card manager's points balance and lays them on the variant's joker or
// wildcard pile. The game object holds it by value, built with its Links (the managers, the
// running game which tells a campaign level, what reports a bought card), and wires it with the
// GUI; it connects the card manager's scoring and power reports to its own slots.
//
// Files: PowersAndShop.cpp (all of it).
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "game/app/WildcardChoice.h"
#include "signals/sigslot.h"

namespace Orvex {
class D3DInterface;
class GUIMenuManagerN;
class GUIProgressBar;
class GUITooltipParam;
class GUIWindow;
class Sprite;
class Texture2D;
}  // namespace Orvex

namespace Solitaire {

class AchivementManager;
class Karte;
class Kartenmanager;
class Kartenstapel;
class MyGlobals;
class Profil;
class SolTutorialManager;
struct RunningGame;
enum ClickMode : int;

class PowersAndShop : public sigslot::has_slots<sigslot::single_threaded> {
public:
    // Purchases at most this many cards onto the joker or the wildcard pile.
    static constexpr std::size_t kShopPileRoom = 8;

    // What the powers and the shop use: the managers, the settings giving the number of gods
    // (null: the default), the running game (the powers and the shop belong to a campaign
    // level), and what reports a bought joker or wildcard (the HUD's found-card slots, whichever
    // object holds them), and what shows the player a short note (the HUD's news line).
    struct Links {
        Kartenmanager* cards = nullptr;
        Orvex::GUIMenuManagerN* menus = nullptr;
        SolTutorialManager* tutorials = nullptr;
        AchivementManager* achievements = nullptr;
        Orvex::D3DInterface* d3d = nullptr;
        Orvex::Sprite* sprite = nullptr;
        MyGlobals* globals = nullptr;
        RunningGame const* running = nullptr;
        std::function<void(Karte&)> jokerFound{};
        std::function<void(Karte&)> wildcardFound{};
        std::function<void(std::wstring const&)> tell{};
    };

    // The card manager's scoring and power reports (where there is one) connected to the slots.
    explicit PowersAndShop(Links links);
    // Without links every entry point is a safe no-op.
    PowersAndShop();
    PowersAndShop(PowersAndShop const&) = delete;
    PowersAndShop& operator=(PowersAndShop const&) = delete;
    // The god bars and the shop's windows found and connected.
    void wire();
    // A full bar arms (or disarms) its god's power. A power that finds nothing to act on keeps
    // its charge and, where the language has the text "MELDUNG_GOD_<n>_NICHTS", says why with
    // the error sound.
    void onGodBarClicked(Orvex::GUIWindow& window);
    // "I_GODS" and "I_Shop" shown in a campaign level, each god's window "GOD0".. while the active
    // profile has it unlocked, and each bar at the profile's charge (the bars then show it).
    void refreshGodBars();
    // The shop's labels: the points balance, the joker and wildcard prices, and its hint line
    // ("S_Hinweis") back to its own text.
    void refreshShopLabels();
    // The shop's purchases; false (nothing changes) when the balance, the pile or its room do
    // not allow it, told on the shop's hint line, which the shop's veil leaves bright (on the
    // news line when the shop has no such line): no pile or no room ("MELDUNG_JOKER_KEIN_PLATZ" /
    // "MELDUNG_WILDCARD_KEIN_PLATZ"), else too small a balance as for a hint or an undo
    // ("MELDUNG_JOKER_PREIS" / "MELDUNG_WILDCARD_PREIS": the price and what is missing).
    bool buyJoker();
    bool buyWildcard();
    // The card manager's reports: a card scored, a power (click mode) used.
    void onCardScored(Karte& card);
    void onClickModeUsed(ClickMode const& mode);
    // Sparkles over each full bar every 5 to 10 s of real time.
    void updateReminders(double realStep);
    // The bars' charge kept in the profile that leaves, where they show its charge (a level has
    // shown it since it became active); the bars then stand empty, showing no profile's.
    void keepCharges(Profil& profile);

    // What only tests read.
    std::vector<Orvex::GUIProgressBar*> const& getGodBars() const { return godBars_; }
    void nextWildcard() { wildcard_.next(); }
    void previousWildcard() { wildcard_.previous(); }
    WildcardChoice const& getWildcardChoice() const { return wildcard_; }

private:
    void wireGods(unsigned count);
    void wireShop();
    void onGodTooltip(Orvex::GUIWindow& window, Orvex::GUITooltipParam& param, std::wstring& text);
    void onGodBarFull(Orvex::GUIProgressBar& bar);
    void tellNothingToDo(int god);
    void drawWildcardOffer(Orvex::GUIWindow& window, bool const& drawn);
    void drawJokerOffer(Orvex::GUIWindow& window, bool const& drawn);
    void onWildcardNext(Orvex::GUIWindow& window);
    void onWildcardPrev(Orvex::GUIWindow& window);
    void onBuyWildcard(Orvex::GUIWindow& window);
    void onBuyJoker(Orvex::GUIWindow& window);
    bool inCampaign() const;
    // The active profile when it has the god unlocked, else null.
    static Profil* profileWithGod(int god);
    Orvex::GUIProgressBar* godBar(int god) const;
    // Buys onto pile for price; the card made by make, then reported to found. A refusal says
    // the texts of kind ("JOKER", "WILDCARD"; see buyJoker).
    bool buy(Kartenstapel* pile, int price, Karte* (Kartenmanager::*make)(int const&, int const&), int suit,
             int value, std::function<void(Karte&)> const& found, wchar_t const* sound, std::wstring const& kind);
    // A note on the shop's hint line (on the news line without one); nothing for an empty note.
    void tellInShop(std::wstring const& note);
    void drawOffer(Orvex::GUIWindow& window, Kartenstapel* pile, Orvex::Texture2D* under, Orvex::Texture2D* over);

    Links links_;
    // The profile whose charge the bars show, or null: only a campaign level's start fills them.
    Profil const* barsShow_ = nullptr;
    // The card manager reported a power's use (set by onClickModeUsed, read around a bar's click).
    bool powerUsed_ = false;
    std::vector<Orvex::GUIProgressBar*> godBars_;
    std::vector<float> godReminders_;
    Orvex::GUIWindow* shopWindows_[7] = {};
    Orvex::GUIWindow* shopHint_ = nullptr;
    WildcardChoice wildcard_;
};

}  // namespace Solitaire
