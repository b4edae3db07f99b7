// The names of the menu file's menus that the game object enters or asks for, and the active
// profile's look-up: what the game object's files all name, in one place, so a renamed menu is
// one line here and a typo does not compile.
#pragma once

#include "game/app/ProfilManager.h"

namespace Solitaire {

inline constexpr wchar_t kStartMenu[] = L"STARTMENU";
inline constexpr wchar_t kMainMenu[] = L"HAUPTMENU";
inline constexpr wchar_t kProfileMenu[] = L"PROFILMENU";
inline constexpr wchar_t kNewProfileMenu[] = L"NEUESPROFIL";
inline constexpr wchar_t kDeleteProfileMenu[] = L"PROFILLOESCHENMENU";
inline constexpr wchar_t kFreePlayMenu[] = L"FREIESSPIELMENU";
inline constexpr wchar_t kLevelMenu[] = L"LEVELAUSWAHLMENU";
inline constexpr wchar_t kInGameMenu[] = L"INGAMEMENU";
inline constexpr wchar_t kPauseMenu[] = L"PAUSEMENU";
inline constexpr wchar_t kResultsMenu[] = L"AUSWERTUNGMENU";
inline constexpr wchar_t kTutorialMenu[] = L"TUTORIALMENU";
inline constexpr wchar_t kShopMenu[] = L"SHOPMENU";
inline constexpr wchar_t kMinigameMenu[] = L"MINIGAMEMENU";
inline constexpr wchar_t kOptionsMenu[] = L"OPTIONENMENU";
inline constexpr wchar_t kConfirmMenu[] = L"USE_SETTINGS_MENU";
inline constexpr wchar_t kWarningMenu[] = L"WARNINGMENU";
inline constexpr wchar_t kStatisticsMenu[] = L"STATISTIKENMENU";
inline constexpr wchar_t kGameStatisticsMenu[] = L"STATISTIKENGAMEMENU";
inline constexpr wchar_t kEditMenu[] = L"HIGHSCOREEDITMENU";
inline constexpr wchar_t kAchievementsMenu[] = L"ACHIVEMENTS_MENU";
inline constexpr wchar_t kHelpMenu[] = L"HILFEMENU";
inline constexpr wchar_t kCreditsMenu[] = L"CREDITSMENU";
inline constexpr wchar_t kQuitMenu[] = L"BEENDENMENU";
// The question before a level is ended without a star.
inline constexpr wchar_t kEndLevelMenu[] = L"LEVELBEENDENMENU";

// The profile the player plays as, or null before the first one is made.
inline Profil* activeProfile() { return ProfilManager::instance().getActiveProfile(); }

}  // namespace Solitaire
