// A catalogue variant: its attributes and goals, the preview, and the star rating.
#include "game/app/SolVariant.h"

#include "engine/render/Texture2D.h"
#include "game/app/CataloguePreview.h"
#include "game/app/HighscoreEintrag.h"
#include "game/app/LevelGoal_Nothing.h"
#include "game/cards/Statistik.h"
#include "game/look/ReadProblems.h"

namespace Solitaire {

SolVariant::SolVariant(Orvex::XMLNode& node, ReadProblems& problems) : NamedObject(node) {
    std::wstring const& name = getName();
    file_ = node.getAttributeString(L"FILE", L"");
    tutorialFile_ = node.getAttributeString(L"TUTORIAL_FILE", replaceExtension(file_, L".tut"));
    startTutorial_ = node.getAttributeString(L"START_TUTORIAL", L"");
    showTutorial_ = node.getAttributeString(L"SHOW_TUTORIAL", L"");
    extendedTutorial_ = node.getAttributeString(L"SHOW_EXTENDEDTUTORIAL", L"");
    rulesTextId_ = node.getAttributeString(L"HELP_FILE", L"");
    previewPath_ = node.getAttributeString(L"PREVIEW_FILE", replaceExtension(file_, L".png"));
    gameName_ = node.getAttributeString(L"GAMENAME", L"NAME_" + name);
    unlocksBefore_ = node.getAttributeString(L"UNLOCKS_PRE", L"");
    unlocks_ = node.getAttributeString(L"UNLOCKS", L"");
    // Read after "UNLOCKS", so it wins.
    unlocks_ = node.getAttributeString(L"UNLOCKS_POST", unlocks_);
    options_.read(node, L"VAR_", name, problems);

    if (Orvex::XMLAttribute const* registered = node.getAttribute(L"PREVIEW")) {
        preview_ = findRegisteredPreview(registered->getString());
        if (preview_) previewPath_ = preview_->getFileName();
    } else {
        preview_ = makePreviewTexture(previewPath_);
    }
    readGoals(node);
}

SolVariant::~SolVariant() {
    if (preview_) preview_->release();
    clearHighscores();
    if (statistik_) statistik_->release();
}

void SolVariant::reloadPreview() {
    if (preview_) preview_->release();
    preview_ = makePreviewTexture(previewPath_);
}

void SolVariant::setStatistik(Statistik* statistik) {
    if (statistik) statistik->addRef();
    if (statistik_) statistik_->release();
    statistik_ = statistik;
}

void SolVariant::clearHighscores() {
    for (HighscoreEintrag* entry : highscores_) entry->release();
    highscores_.clear();
}

void SolVariant::readGoals(Orvex::XMLNode& node) {
    std::unique_ptr<LevelGoal> slots[kGoalCount];
    for (Orvex::XMLNode const* child : node.children()) {
        if (child->getName() != L"GOAL") continue;
        std::wstring const stars = child->getAttributeString(L"STARS", L"");
        int const star = stars == L"STAR1" ? 0 : stars == L"STAR2" ? 1 : stars == L"STAR3" ? 2 : -1;
        if (star < 0 || slots[star]) continue;
        slots[star] = LevelGoal::create(child->getAttributeString(L"TYPE", L""), child, star);
    }
    goals_.clear();
    for (std::unique_ptr<LevelGoal>& goal : slots)
        if (goal) goals_.push_back(std::move(goal));
    while (goals_.size() < kGoalCount)
        goals_.push_back(std::make_unique<LevelGoal_Nothing>(static_cast<int>(goals_.size())));
}

void SolVariant::getReachedGoals(GameEndParms const& parms, bool& star1, bool& star2, bool& star3) const {
    bool* const results[kGoalCount] = {&star1, &star2, &star3};
    bool all = true;
    for (std::size_t i = 0; i < kGoalCount; ++i) {
        *results[i] = false;
        if (i < goals_.size() && !goals_[i]->isNothing()) {
            *results[i] = goals_[i]->isReached(parms);
            all = all && *results[i];
        }
    }
    for (std::size_t i = 0; i < kGoalCount && i < goals_.size(); ++i)
        if (goals_[i]->isNothing()) *results[i] = all;
}

int SolVariant::getStarRating(GameEndParms const& parms) const {
    bool stars[kGoalCount] = {false, false, false};
    getReachedGoals(parms, stars[0], stars[1], stars[2]);
    return 1 + static_cast<int>(stars[0]) + static_cast<int>(stars[1]) + static_cast<int>(stars[2]);
}

}  // namespace Solitaire
