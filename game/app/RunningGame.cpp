// The running level's record, looked up in the active profile by number each time.
#include "game/app/RunningGame.h"

#include "game/app/CampaignRecords.h"
#include "game/app/MenuNames.h"
#include "game/app/Profil.h"

namespace Solitaire {

LevelRecord* RunningGame::levelRecord() const {
    Profil* profile = activeProfile();
    ChapterRecord* chapter = profile && recordChapter >= 0 ? profile->findChapter(recordChapter) : nullptr;
    return chapter && recordLevel >= 0 ? Profil::findLevel(*chapter, recordLevel) : nullptr;
}

}  // namespace Solitaire
