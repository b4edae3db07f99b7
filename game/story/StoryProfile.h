// What the story and the tutorials keep in a player's profile: unlock names (a scene's own name
// and the names its unlock lists give, for good or for this session only) and the tutorials seen.
// The game application's profile implements it; the story and tutorial managers, which lie
// below the application, see the profile only through it.
//
// Tutorial names carry their kind in a prefix: names beginning with "STORY" are story tutorials
// (their own seen list, shown whenever unseen); "SOLITAIRE_" names and all others are shown only
// while unseen and while the profile's show-tutorials switch is on.
#pragma once

#include <string>

#include "engine/core/NamedObject.h"

namespace Solitaire {

class StoryProfile : public Orvex::NamedObject {
public:
    using Orvex::NamedObject::NamedObject;

    // True when the name is unlocked, for good or temporarily.
    virtual bool isUnlocked(std::wstring const& name) const = 0;
    // Adds the name to the permanent or the temporary list (a permanent add takes it out of the
    // temporary one); nothing when it is there already.
    virtual void addUnlock(std::wstring const& name, bool temporary) = 0;
    // True when the tutorial is to be shown: not seen, and for all but "STORY" names the
    // show-tutorials switch on.
    virtual bool shouldShowTutorial(std::wstring const& name) const = 0;
    // Records the tutorial as seen in the list of its kind ("SOLITAIRE_" names only while the
    // show-tutorials switch is on).
    virtual void markTutorialSeen(std::wstring const& name) = 0;
    // True for "STORY" and "SOLITAIRE_" names, else the show-tutorials switch.
    virtual bool isTutorialAllowed(std::wstring const& name) const = 0;
};

}  // namespace Solitaire
