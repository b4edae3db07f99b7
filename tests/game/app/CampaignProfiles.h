// Profile files of the shipped campaign for tests that play it in the real game: a player who
// has just finished a chapter, or stands at the start of one, with every scene before it seen,
// the gods of the chapters passed unlocked and the tutorials off.
#pragma once

#include <algorithm>
#include <string>

namespace apptest {

// Levels per chapter of the shipped catalogue, as tools/make_campaign.py writes them.
inline int levelsOf(int chapter) {
    if (chapter == 0) return 3;
    if (chapter == 1) return 13;
    if (chapter == 2) return 4;
    return 4 + chapter / 4;
}
inline std::string restScene(int chapter) { return chapter == 0 ? "STORY_RAST" : "STORY_RAST_" + std::to_string(chapter); }
inline std::string introScene(int chapter) {
    return chapter == 1 ? "STORY_TURM" : "STORY_KAPITEL_" + std::to_string(chapter);
}
// The god whose intro is that chapter's, or -1.
inline int godOf(int chapter) {
    switch (chapter) {
        case 2: return 0;
        case 5: return 1;
        case 8: return 2;
        case 11: return 3;
        default: return -1;
    }
}

// The scene of a lock colour that chapter brings with its first locked level after level 0, or
// an empty name.
inline std::string lockSceneOf(int chapter) {
    switch (chapter) {
        case 4: return "STORY_SCHLOSS_SILBER";
        case 8: return "STORY_SCHLOSS_KUPFER";
        case 13: return "STORY_SCHLOSS_BLAU";
        default: return std::string();
    }
}

// A profile that has just finished chapter N: every level of chapters 0 .. N passed with three
// stars, chapter N + 1 open, every scene before chapter N's rest seen, tutorials off.
inline std::string profileAtRest(int chapter) {
    std::string campaign, unlocks = "\"|STORY_INTRO|\" \"|STORY_INTRO_GESEHEN|\"";
    auto unlock = [&unlocks](std::string const& name) { unlocks += " \"|" + name + "|\""; };
    for (int c = 0; c <= chapter + 1; ++c) {
        bool const done = c <= chapter;
        campaign += "<KAPITEL KAPITEL=\"" + std::to_string(c) + "\" RESULT=\"" + (done ? "2" : "1") + "\">";
        for (int l = 0; l < levelsOf(c); ++l) {
            campaign += "<LEVEL LEVEL=\"" + std::to_string(l) + "\" RESULT=\"" + (done ? "4" : "1") + "\"/>";
            if (done) {
                unlock("K" + std::to_string(c) + "_L" + std::to_string(l) + "_BEGONNEN");
                unlock("K" + std::to_string(c) + "_L" + std::to_string(l) + "_BESTANDEN");
            }
        }
        campaign += "</KAPITEL>";
        if (!done) continue;
        unlock("KAPITEL_" + std::to_string(c) + "_FINISHED");
        if (c >= 1) unlock(introScene(c));
        if (godOf(c) >= 0) unlock("GOD" + std::to_string(godOf(c)));
        if (!lockSceneOf(c).empty()) unlock(lockSceneOf(c));
        if (c < chapter) {
            unlock(restScene(c));
            unlock("MINIGAME_" + std::to_string(c) + "_FINISHED");
        }
    }
    return "<PROFILE ACTIVE_PROFIL=\"Lea\"><PROFIL NAME=\"Lea\"><TUTORIAL SHOW=\"0\"/><KAMPAGNE>" + campaign +
           "</KAMPAGNE><UNLOCKS>" + unlocks + "</UNLOCKS></PROFIL></PROFILE>";
}

// A profile at the start of chapter N: chapter N - 1's rest and mini-game done, chapter N's intro
// seen (with its god).
inline std::string profileAtStart(int chapter) {
    std::string text = profileAtRest(chapter - 1);
    std::string more = " \"|" + restScene(chapter - 1) + "|\" \"|MINIGAME_" + std::to_string(chapter - 1) +
                       "_FINISHED|\" \"|" + introScene(chapter) + "|\"";
    if (godOf(chapter) >= 0) more += " \"|GOD" + std::to_string(godOf(chapter)) + "|\"";
    text.insert(text.find("</UNLOCKS>"), more);
    return text;
}

// The profile with its gods' charges, one share (0 empty, 1 full) per god separated by blanks.
inline std::string withGodCharges(std::string profile, std::string const& charges) {
    std::string values;
    for (std::size_t at = 0; at < charges.size();) {
        std::size_t const end = std::min(charges.find(' ', at), charges.size());
        if (end > at) values += (values.empty() ? "\"|" : " \"|") + charges.substr(at, end - at) + "|\"";
        at = end + 1;
    }
    profile.insert(profile.find("</PROFIL>"), "<PERCENT_GODS>" + values + "</PERCENT_GODS>");
    return profile;
}

}  // namespace apptest
