// The campaign table of a profile: chapters from the catalogue's "KAMPAGNE" (games "KAPITEL_" n,
// their variants the levels), opening chapters, and advancing after a passed level, at most the
// open-level window of a chapter's levels standing open at once. Every walk is over the records
// the profile holds, so each ends whatever the file brought.
#include <algorithm>
#include <climits>

#include "game/app/Profil.h"
#include "game/app/SolCategorie.h"
#include "game/app/SolSolitaire.h"
#include "game/app/SolitaireManager.h"

namespace Solitaire {

ChapterRecord* Profil::findChapter(int number) {
    for (ChapterRecord& chapter : campaign_)
        if (chapter.chapter == number) return &chapter;
    return nullptr;
}

LevelRecord* Profil::findLevel(ChapterRecord& chapter, int number) {
    for (LevelRecord& level : chapter.levels)
        if (level.level == number) return &level;
    return nullptr;
}

void Profil::buildCampaignTable() { buildCampaignTable(SolitaireManager::instance()); }

void Profil::buildCampaignTable(SolitaireManager const& catalogue) {
    SolCategorie const* campaign = catalogue.findCategory(SolitaireManager::kCampaignName);
    if (!campaign) return;
    std::vector<SolSolitaire*> const& games = campaign->getGames();
    int const chapters = static_cast<int>(games.size());
    // One pass each over the records and the games, so that every profile costs the chapters'
    // count, not its square: which numbers the profile holds, and each chapter's game (the
    // first of its name, "KAPITEL_" and the number as written by to_wstring).
    std::vector<bool> held(static_cast<std::size_t>(chapters), false);
    for (ChapterRecord const& chapter : campaign_)
        if (chapter.chapter >= 0 && chapter.chapter < chapters) held[static_cast<std::size_t>(chapter.chapter)] = true;
    std::vector<SolSolitaire const*> gameOf(static_cast<std::size_t>(chapters), nullptr);
    std::wstring const prefix = L"KAPITEL_";
    for (SolSolitaire const* game : games) {
        std::wstring const& name = game->getName();
        if (name.size() <= prefix.size() || name.size() > prefix.size() + 9 || name.compare(0, prefix.size(), prefix) != 0)
            continue;
        int number = 0;
        for (std::size_t i = prefix.size(); i < name.size() && number >= 0; ++i)
            number = name[i] >= L'0' && name[i] <= L'9' ? number * 10 + (name[i] - L'0') : -1;
        if (number < 0 || number >= chapters || name != prefix + std::to_wstring(number)) continue;
        if (!gameOf[static_cast<std::size_t>(number)]) gameOf[static_cast<std::size_t>(number)] = game;
    }
    // Every chapter of the catalogue, also beside numbers it no longer has: the file leaves out the
    // chapters not reached, and a stale number must not keep one of them away.
    for (int missing = 0; missing < chapters; ++missing) {
        if (held[static_cast<std::size_t>(missing)]) continue;
        ChapterRecord chapter;
        chapter.chapter = missing;
        if (SolSolitaire const* game = gameOf[static_cast<std::size_t>(missing)]) {
            int const levels = static_cast<int>(game->getVariants().size());
            for (int i = 0; i < levels; ++i) {
                LevelRecord level;
                level.level = i;
                chapter.levels.push_back(level);
            }
        }
        campaign_.push_back(std::move(chapter));
    }
    openChapter(0);
}

bool Profil::openChapter(int number) {
    ChapterRecord* chapter = findChapter(number);
    if (!chapter) return false;
    chapter->result = std::max(chapter->result, 1);
    for (int i = 0; i < openLevelWindow_; ++i)
        if (LevelRecord* level = findLevel(*chapter, i)) level->result = std::max(level->result, 1);
    return findLevel(*chapter, 0) != nullptr;
}

bool Profil::advanceCampaign(int chapterNumber, int levelNumber, int& nextChapter, int& nextLevel, bool chapterFinished) {
    auto const openNextChapter = [&]() {
        if (!chapterFinished || chapterNumber == INT_MAX || !openChapter(chapterNumber + 1)) return false;
        nextChapter = chapterNumber + 1;
        nextLevel = 0;
        return true;
    };
    ChapterRecord* chapter = findChapter(chapterNumber);
    if (!chapter) return openNextChapter();

    std::vector<LevelRecord*> byNumber;
    for (LevelRecord& level : chapter->levels) byNumber.push_back(&level);
    std::stable_sort(byNumber.begin(), byNumber.end(),
                     [](LevelRecord const* a, LevelRecord const* b) { return a->level < b->level; });
    int room = openLevelWindow_;
    for (LevelRecord const* level : byNumber) {
        if (room <= 0) break;
        if (level->result == 1) --room;
    }
    for (LevelRecord* level : byNumber) {
        if (room <= 0) break;
        if (level->result == 0) {
            level->result = 1;
            --room;
        }
    }

    LevelRecord const* following = levelNumber == INT_MAX ? nullptr : findLevel(*chapter, levelNumber + 1);
    if (!following) return openNextChapter();
    if (chapterFinished && chapterNumber != INT_MAX) openChapter(chapterNumber + 1);
    if (following->result == 0) return false;
    nextChapter = chapterNumber;
    nextLevel = levelNumber + 1;
    return true;
}

void Profil::unlockAll() {
    for (ChapterRecord& chapter : campaign_) {
        chapter.result = std::max(chapter.result, 1);
        for (LevelRecord& level : chapter.levels) level.result = std::max(level.result, 1);
    }
}

void Profil::mergeFoundCounts() {
    for (ChapterRecord& chapter : campaign_)
        for (LevelRecord& level : chapter.levels) level.found = level.foundRun = std::max(level.found, level.foundRun);
}

}  // namespace Solitaire
