// The campaign's chapter and level screens (see CampaignScreens.h). The container of the level buttons spans five
// screen widths and slides to its goal "PAGE" n to show page n - 1; levels past the fifth page
// are laid out but have no goal to slide to.
//
// Chapter buttons carry their chapter number in user pointer slot 0; level buttons their level
// in slot 0 and their chapter in slot 1. A click reads the profile again, so a locked chapter or
// level does nothing even when its button was left enabled.
#include "game/app/CampaignScreens.h"

#include <algorithm>
#include <string>

#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIMenuManagerN.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/render/Sprite.h"
#include "engine/render/Texture2D.h"
#include "game/app/CampaignRecords.h"
#include "game/app/MenuNames.h"
#include "game/app/Profil.h"
#include "game/app/ProfilManager.h"
#include "game/app/ScreenLists.h"
#include "game/app/SolCategorie.h"
#include "game/app/SolSolitaire.h"
#include "game/app/SolVariant.h"
#include "game/app/ScreenWindows.h"
#include "game/app/SolitaireManager.h"
#include "game/look/Background.h"

namespace Solitaire {

namespace {

constexpr wchar_t kChapterFrame[] = L"K_KategorieFrame";
constexpr wchar_t kChapterButtons[] = L"K_KategorieButtons";
constexpr wchar_t kChapterButton[] = L"K_KategorieButton";
constexpr wchar_t kLevelTemplate[] = L"LA_LevelButtonVorlage";
// The level buttons' grid in pixels of a 1024 x 768 page; the container is five pages wide.
constexpr float kColumnStep = 230.0f;
constexpr float kRowStep = 215.0f;
constexpr float kPageWidth = 1024.0f;
constexpr float kGridLeft = 41.0f;
constexpr float kGridTop = 94.0f;
constexpr float kContainerWidth = 5120.0f;
constexpr float kContainerHeight = 768.0f;
// Page points: squares of half the window's height, 0.75 heights apart.
constexpr float kPointHalf = 0.25f;
constexpr float kPointStep = 0.75f;
constexpr float kPageSpeed = 3.0f;

SolCategorie* campaign() { return SolitaireManager::instance().findCategory(SolitaireManager::kCampaignName); }

SolSolitaire* chapterGame(SolCategorie const& category, int chapter) {
    return category.findGame(L"KAPITEL_" + std::to_wstring(chapter));
}

D3DCOLOR colourOf(D3DXCOLOR const& c) {
    auto channel = [](float v) { return static_cast<D3DCOLOR>(std::clamp(v, 0.0f, 1.0f) * 255.0f + 0.5f); };
    return (channel(c.a) << 24) | (channel(c.r) << 16) | (channel(c.g) << 8) | channel(c.b);
}

}  // namespace

CampaignScreens::CampaignScreens(Links const& links) : gui_(links.gui), menus_(links.menus), sprite_(links.sprite) {}

void CampaignScreens::wire() {
    wireLevels();
    wireChapters();
}

void CampaignScreens::wireLevels() {
    levelFrame_ = findScreenWindow(L"LA_AuswahlFrame");
    levelButtons_ = levelFrame_ ? levelFrame_->findChild(L"LA_LevelButtons") : nullptr;
    if (!levelFrame_) return;
    if (Orvex::GUIWindow* previous = levelFrame_->findChild(L"LA_PrevPage"))
        previous->leftClicked.connect(this, &CampaignScreens::onPrevPage);
    if (Orvex::GUIWindow* next = levelFrame_->findChild(L"LA_NextPage"))
        next->leftClicked.connect(this, &CampaignScreens::onNextPage);
    if (Orvex::GUIWindow* points = levelFrame_->findChild(L"LA_PagePoints"))
        points->beforeDrawSelf.connect(this, &CampaignScreens::drawPagePoints);
}

void CampaignScreens::wireChapters() {
    Orvex::GUIWindow* frame = findScreenWindow(kChapterFrame);
    Orvex::GUIWindow* buttons = frame ? frame->findChild(kChapterButtons) : nullptr;
    SolCategorie const* category = campaign();
    if (!buttons || !category) return;
    int const chapters = static_cast<int>(category->getGames().size());
    for (int n = 1; n <= chapters; ++n) {
        Orvex::GUIWindow* button = buttons->findChild(kChapterButton + std::to_wstring(n));
        if (!button) continue;
        setSlotNumber(*button, 0, n - 1);
        button->leftClicked.connect(this, &CampaignScreens::onChapterClicked);
    }
}

void CampaignScreens::refreshChapters() {
    Orvex::GUIWindow* frame = findScreenWindow(kChapterFrame);
    Orvex::GUIWindow* buttons = frame ? frame->findChild(kChapterButtons) : nullptr;
    SolCategorie const* category = campaign();
    Profil* profile = activeProfile();
    if (!buttons || !category || !profile) return;
    int const chapters = static_cast<int>(category->getGames().size());
    for (int c = 0; c < chapters; ++c) {
        Orvex::GUIWindow* button = buttons->findChild(kChapterButton + std::to_wstring(c + 1));
        ChapterRecord const* record = profile->findChapter(c);
        if (!button || !record) continue;
        bool const open = record->result != 0;
        button->getOptions().enabled = open;
        SolSolitaire const* game = chapterGame(*category, c);
        if (Orvex::GUILabel* info = labelOf(button->findChild(L"InfoLabel")))
            info->setTextId(open && game ? game->getTextId() : L"LOCKED");
    }
}

void CampaignScreens::onChapterClicked(Orvex::GUIWindow& button) {
    int const c = getSlotNumber(button, 0);
    SolCategorie const* category = campaign();
    Profil* profile = activeProfile();
    if (!category || !profile || c < 0 || c >= static_cast<int>(category->getGames().size())) return;
    ChapterRecord const* record = profile->findChapter(c);
    if (!record || record->result == 0) return;
    selectedChapter_ = c;
    jumpWindow(L"LA_HEADER", L"KAT" + std::to_wstring(c + 1));
    // The chapter as the chapter screen and the table name it; its levels are of several games.
    if (Orvex::GUILabel* title = findLabel(L"LA_TITEL")) title->setText(chapterTitle(title->getTextId(), c));
    if (menus_) menus_->activateMenu(kLevelMenu, -1.0);
}

void CampaignScreens::buildLevels(int runningChapter, int runningLevel) {
    SolCategorie const* category = campaign();
    Profil* profile = activeProfile();
    if (!levelFrame_ || !levelButtons_ || !category || !profile) return;
    // The buttons made afresh from the template.
    levelButtons_->removeAllChildren();
    Orvex::GUIWindow* vorlage = gui_ ? gui_->findTemplate(kLevelTemplate) : nullptr;
    SolSolitaire const* game = chapterGame(*category, selectedChapter_);
    ChapterRecord* record = profile->findChapter(selectedChapter_);
    int pages = 0;
    int current = -1;
    // One button per level, with its page, lock and stars.
    int const levels = game ? static_cast<int>(game->getVariants().size()) : 0;
    bool const runningHere = runningChapter == selectedChapter_ && runningLevel != -1;
    for (int i = 0; i < levels; ++i) {
        int const page = i / kLevelsPerPage;
        int const column = i % kLevelsPerPage % kLevelColumns;
        int const row = i % kLevelsPerPage / kLevelColumns;
        pages = std::max(pages, page + 1);
        LevelRecord const* level = record ? Profil::findLevel(*record, i) : nullptr;
        if (!level) continue;
        bool const open = level->result != 0;
        if (runningHere ? i == runningLevel : open) current = page;
        SolVariant const* variant = game->findVariant(L"LEVEL_" + std::to_wstring(i));
        if (!variant || !vorlage) continue;
        Orvex::GUIWindow* button = cloneTree(*vorlage);
        if (!button) continue;
        button->setName(L"LA_LevelButton_" + std::to_wstring(i));
        Orvex::GUIRectAxis& position = button->getRect().position;
        position.relX = (column * kColumnStep + page * kPageWidth + kGridLeft) / kContainerWidth;
        position.relY = (row * kRowStep + kGridTop) / kContainerHeight;
        position.offX = position.offY = 0.0f;
        setSlotNumber(*button, 0, i);
        setSlotNumber(*button, 1, selectedChapter_);
        if (Orvex::GUILabel* name = labelOf(button->findChild(L"LevelNameLabel")))
            name->setText(Orvex::languageText(L"LEVEL") + L" " + std::to_wstring(i + 1));
        if (Orvex::GUILabel* info = labelOf(button->findChild(L"InfoLabel"))) {
            info->setText(Orvex::languageText(open ? variant->getGameName() : std::wstring(L"LOCKED")));
            info->getOptions().visible = true;
        }
        if (Orvex::GUIWindow* locked = button->findChild(L"LockedLabel")) locked->getOptions().visible = !open;
        if (Orvex::GUIWindow* background = button->findChild(L"BG")) {
            Background const* look = open ? SolitaireManager::instance().getBackgroundForVariant(variant) : nullptr;
            bool const pictured = look && !look->getPictures().empty();
            background->getDrawOptions().setTexNormal(pictured ? look->getPictures().front() : nullptr);
        }
        if (Orvex::GUIWindow* preview = button->findChild(L"Preview"))
            preview->getDrawOptions().setTexNormal(open ? variant->getPreview() : nullptr);
        for (int k = 1; k <= 3; ++k)
            if (Orvex::GUIWindow* star = button->findChild(L"Star" + std::to_wstring(k)))
                star->jumpToGoal(!open ? L"INVISIBLE" : level->result >= k + 1 ? L"ON" : L"OFF");
        button->getOptions().enabled = open;
        levelButtons_->addChild(button, true, true);
        button->leftClicked.connect(this, &CampaignScreens::onLevelClicked);
    }
    // The page of the running level, else the first.
    currentPage_ = current;
    pageCount_ = pages;
    showPage(0.0f);
}

void CampaignScreens::showPage(float speed) {
    if (!levelFrame_) return;
    Orvex::GUIWindow* previous = levelFrame_->findChild(L"LA_PrevPage");
    Orvex::GUIWindow* next = levelFrame_->findChild(L"LA_NextPage");
    if (!previous || !next) return;
    if (pageCount_ < 1) {
        previous->getOptions().visible = next->getOptions().visible = false;
        return;
    }
    for (Orvex::GUIWindow* button : {previous, next}) {
        button->getOptions().visible = true;
        button->getDrawOptions().alpha = 1.0;
    }
    previous->getOptions().enabled = currentPage_ >= 1;
    // No page shown (-1): neither way leads anywhere.
    next->getOptions().enabled = currentPage_ >= 0 && currentPage_ < pageCount_ - 1;
    if (levelButtons_ && currentPage_ >= 0 && currentPage_ < kPageGoals && currentPage_ < pageCount_)
        levelButtons_->animateToGoal(L"PAGE" + std::to_wstring(currentPage_ + 1), speed, false);
}

void CampaignScreens::onNextPage(Orvex::GUIWindow&) {
    if (currentPage_ >= 0 && currentPage_ < pageCount_ - 1) ++currentPage_;
    showPage(kPageSpeed);
}

void CampaignScreens::onPrevPage(Orvex::GUIWindow&) {
    if (currentPage_ > 0) --currentPage_;
    showPage(kPageSpeed);
}

void CampaignScreens::drawPagePoints(Orvex::GUIWindow& window, bool& drawSelf, bool&, bool&) {
    // The window only holds the two pictures: what it shows are the points.
    drawSelf = false;
    if (pageCount_ < 2) return;
    Orvex::GUIDrawOptions& look = window.getDrawOptions();
    Orvex::Texture2D* normal = look.getTexNormal();
    Orvex::Texture2D* mark = look.getTexMark();
    if (!normal || !mark || !sprite_) return;
    Orvex::FRect const r = window.getScreenRect();
    float const h = r.bottom - r.top;
    float const cx = (r.left + r.right) * 0.5f;
    float const cy = (r.top + r.bottom) * 0.5f;
    float const half = h * kPointHalf;
    D3DCOLOR const colour = colourOf(window.getDrawColor());
    for (int i = 0; i < pageCount_; ++i) {
        float const x = cx - static_cast<float>(pageCount_) * kPointStep * 0.5f * h + static_cast<float>(i) * kPointStep * h;
        Orvex::FRect const square(x - half, cy - half, x + half, cy + half);
        sprite_->drawInRect(i == currentPage_ ? mark : normal, nullptr, square, Orvex::SDP_STRETCH, Orvex::SDP_STRETCH,
                            colour);
    }
}

void CampaignScreens::onLevelClicked(Orvex::GUIWindow& button) {
    int const level = getSlotNumber(button, 0);
    Profil* profile = activeProfile();
    ChapterRecord* record = profile ? profile->findChapter(selectedChapter_) : nullptr;
    LevelRecord const* found = record ? Profil::findLevel(*record, level) : nullptr;
    if (!found || found->result == 0) return;
    levelChosen(selectedChapter_, level);
}

void CampaignScreens::refreshResults() {
    Profil* profile = activeProfile();
    if (!profile) return;
    profile->mergeFoundCounts();
    SolCategorie const* category = campaign();
    for (int c = 0;; ++c) {
        ChapterRecord* record = profile->findChapter(c);
        if (!record) break;
        if (category && chapterGame(*category, c)) record->result = SolitaireManager::getRecordCompletion(*record);
    }
}

}  // namespace Solitaire
