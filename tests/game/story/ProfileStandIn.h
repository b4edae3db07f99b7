// A player profile for the story and tutorial tests: the unlock lists and seen lists with the
// prefix rules the game's profile keeps, and the show-tutorials switch.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "game/story/StoryProfile.h"

namespace storytest {

class ProfileStandIn : public Solitaire::StoryProfile {
public:
    explicit ProfileStandIn(std::wstring const& name = L"Tester") : StoryProfile(name) {}

    bool isUnlocked(std::wstring const& name) const override { return has(lasting, name) || has(temporary, name); }
    void addUnlock(std::wstring const& name, bool isTemporary) override {
        order.push_back(name);
        if (isTemporary) {
            if (!has(temporary, name)) temporary.push_back(name);
            return;
        }
        if (has(lasting, name)) return;
        std::erase(temporary, name);
        lasting.push_back(name);
    }
    bool shouldShowTutorial(std::wstring const& name) const override {
        if (story(name)) return !has(storySeen, name);
        return showTutorials && !has(seenOf(name), name);
    }
    void markTutorialSeen(std::wstring const& name) override {
        if (story(name)) {
            if (!has(storySeen, name)) storySeen.push_back(name);
        } else if (!solitaire(name) || showTutorials) {
            if (!has(seenOf(name), name)) seenOf(name).push_back(name);
        }
    }
    bool isTutorialAllowed(std::wstring const& name) const override {
        return story(name) || solitaire(name) || showTutorials;
    }

    // Every seen list together.
    bool seen(std::wstring const& name) const {
        return has(storySeen, name) || has(solitaireSeen, name) || has(otherSeen, name);
    }

    std::vector<std::wstring> lasting, temporary, order;
    std::vector<std::wstring> storySeen, solitaireSeen, otherSeen;
    bool showTutorials = true;

private:
    static bool has(std::vector<std::wstring> const& list, std::wstring const& name) {
        return std::find(list.begin(), list.end(), name) != list.end();
    }
    static bool story(std::wstring const& name) { return name.rfind(L"STORY", 0) == 0; }
    static bool solitaire(std::wstring const& name) { return name.rfind(L"SOLITAIRE_", 0) == 0; }
    std::vector<std::wstring> const& seenOf(std::wstring const& name) const {
        return solitaire(name) ? solitaireSeen : otherSeen;
    }
    std::vector<std::wstring>& seenOf(std::wstring const& name) { return solitaire(name) ? solitaireSeen : otherSeen; }
};

}  // namespace storytest
