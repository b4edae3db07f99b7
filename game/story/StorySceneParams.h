// What a story scene asks the game to do when it starts and when it ends ("START_END_PARAM"):
// menus to activate, a level to start (the game's current one, or chapter and level), a
// tutorial to show, a mini-game to start ("MINIGAME_" and the number), achievements to raise.
// The game object carries them out (its start-story and end-story operations). The buildings
// ("GEBAEUDE", "BUILD_GEBAEUDE", "BUILD_GEBAEUDE_AT_END") and GUI blends ("BLEND_GUI") are read
// and kept; nothing acts on them.
#pragma once

#include <string>
#include <vector>

namespace Solitaire {

struct StorySceneParams {
    // An "ACHIVEMENT" entry: kept only with both its name and its increment.
    struct AchievementIncrement {
        std::wstring name;        // "ACHIVEMENT"
        float increment = 0.0f;   // "INC_ACHIVEMENT"
    };
    struct BlendGui {
        std::wstring guiName;  // "GUI_NAME"
        std::wstring goal;     // "GOAL"
        float speed = -1.0f;   // "SPEED"
    };

    std::wstring onStartMenu;  // "ON_START_MENU"
    std::wstring onEndMenu;    // "ON_END_MENU"
    bool startNextLevel = false;  // "START_NEXT_LEVEL"
    bool startLevel = false;      // "START_LEVEL"
    int chapter = 0;              // "CHAPTER"
    int level = 0;                // "LEVEL"
    std::wstring tutorial;        // "TUTORIAL"
    bool startTutorial = false;   // "START_TUTORIAL"
    int minigame = 0;             // "MINIGAME"
    bool startMinigame = false;   // "START_MINIGAME"
    std::vector<std::wstring> gebaeude;
    bool buildGebaeude = false;
    bool buildGebaeudeAtEnd = false;
    std::vector<AchievementIncrement> achievementIncrements;
    std::vector<BlendGui> blendGui;
};

}  // namespace Solitaire
