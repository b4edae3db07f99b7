// The profile screen's list ("PROFILMENU"): one button per profile, copied from a template,
// stacked in the scroll panel, the active profile's button marked and selected. The game object
// holds it by value, built with its Links, and refreshes it when the active profile changes; it
// builds itself when the profiles' list changes; a click on a button makes its profile the active one.
//
// Deleting takes two clicks: the delete button asks first, naming the active profile (the question
// "PROFILLOESCHENMENU", whose keys answer no), and only the yes deletes that profile with all its
// progress. The first profile left then becomes active, so the player is never without one while
// one exists.
//
// Files: ProfileList.cpp (all of it).
#pragma once

#include <cstddef>
#include <vector>

#include "game/particles/SolPartikel.h"  // CountedRef
#include "signals/sigslot.h"

namespace Orvex {
class GUISystem;
class GUIWindow;
}  // namespace Orvex

namespace Solitaire {

class Profil;
class ProfilManager;

class ProfileList : public sigslot::has_slots<sigslot::single_threaded> {
public:
    // What the list uses: the GUI whose template the buttons are copied from (null: the list
    // stays empty), the profiles whose list changes rebuild it.
    struct Links {
        Orvex::GUISystem* gui = nullptr;
        ProfilManager* profiles = nullptr;
    };

    explicit ProfileList(Links const& links);
    ProfileList(ProfileList const&) = delete;
    ProfileList& operator=(ProfileList const&) = delete;

    // The buttons made afresh, one per profile.
    void build();
    // Active or inactive look of every button; the active one is selected, the delete button
    // enabled with it, and the panel scrolls to it.
    void refresh();
    void onButtonClicked(Orvex::GUIWindow& window);
    // "P_DELButton": the question filled with the active profile's name; false without one (then
    // there is nothing to ask).
    bool askToDelete();
    // "P_LoeschenJa": the profile asked about deleted (when it is still there), the profiles saved,
    // the first profile left made active.
    void deleteAsked();
    // Let go of the buttons (before the GUI goes).
    void clear();

    std::size_t getButtonCount() const { return buttons_.size(); }
    Orvex::GUIWindow* getButton(std::size_t i) const { return i < buttons_.size() ? buttons_[i].get() : nullptr; }
    Orvex::GUIWindow* getSelectedButton() const { return selected_; }

private:
    Orvex::GUISystem* gui_ = nullptr;
    // One reference held on each; a button carries its profile in user pointer slot 0.
    std::vector<CountedRef<Orvex::GUIWindow>> buttons_;
    Orvex::GUIWindow* selected_ = nullptr;
    // The profile the question names (no reference: looked up among the profiles before use).
    Profil* asked_ = nullptr;
};

}  // namespace Solitaire
