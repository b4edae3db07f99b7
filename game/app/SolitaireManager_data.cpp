// What the profile file keeps of the catalogue: the highscore lists with the player's saved look
// ("HIGHSCORES"), the per-variant data of the active profile ("VARIANT_DATA": quick save and
// statistics), and the quick save itself.
//
// Reading is untrusted: elements naming no variant of the catalogue are skipped (and so dropped at
// the next save), a saved style parameter must be a finite number, and a variant keeps at most
// kMaxReadHighscores entries from a file, the best ones (one log line). Statistics read here keep
// the names the game gives them ("VAR_STATS", "STATS"), so a file cannot make two active sets
// share a name.
#include <algorithm>

#include "engine/core/XMLNode.h"
#include "game/app/HighscoreEintrag.h"
#include "game/app/SolCategorie.h"
#include "game/app/SolSolitaire.h"
#include "game/app/SolVariant.h"
#include "game/app/SolitaireManager.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Statistik.h"
#include "game/cards/StatistikNumbers.h"
#include "game/look/ReadProblems.h"
#include "game/look/StyleSettings.h"

namespace Solitaire {

namespace {

void cutHighscores(std::vector<HighscoreEintrag*>& list, std::size_t keep) {
    while (list.size() > keep) {
        list.back()->release();
        list.pop_back();
    }
}

void sortHighscores(std::vector<HighscoreEintrag*>& list, std::size_t keep) {
    std::stable_sort(list.begin(), list.end(), HighscoreEintrag::compare);
    cutHighscores(list, keep);
}

void nameVariant(Orvex::XMLNode& element, SolCategorie const& category, SolSolitaire const& game, SolVariant const& variant) {
    element.setAttribute(L"CAT_NAME", category.getName());
    element.setAttribute(L"GAME_NAME", game.getName());
    element.setAttribute(L"VAR_NAME", variant.getName());
}

constexpr std::wstring_view kVariantDataKeys[] = {L"CAT_NAME", L"GAME_NAME", L"VAR_NAME"};
// A profile's once it is live: its variants' statistics are written anew from what was read.
constexpr Orvex::XMLShape::Child kWrittenVariantDataChildren[] = {{L"QUICK_SAVE", &Kartenmanager::kRunningGameShape, 1},
                                                                  {Statistik::kElementName, &Statistik::kWrittenShape, 1}};
constexpr Orvex::XMLShape kWrittenVariantData{kVariantDataKeys, 0, kWrittenVariantDataChildren};
constexpr Orvex::XMLShape::Child kWrittenProfileDataChildren[] = {
    {L"VARIANT_DATA", &kWrittenVariantData, SolitaireManager::kMaxVariantData}};
static_assert(std::char_traits<wchar_t>::length(SolitaireManager::kVariantStatistikName) <= Statistik::kMaxGivenName &&
              std::char_traits<wchar_t>::length(SolitaireManager::kGameStatistikName) <= Statistik::kMaxGivenName);

}  // namespace

constexpr Orvex::XMLShape SolitaireManager::kWrittenVariantDataShape{{}, 0, kWrittenProfileDataChildren};

// The entry keeps the seed text its deal came from, which "HSE_SPIELEN" deals again and
// "HSE_COPYSEED" copies into the seed field (the definition's name would deal another game).
void SolitaireManager::addHighscore(std::wstring const& player) {
    if (!currentVariant_) return;
    Kartenmanager const& cards = Kartenmanager::instance();
    auto* entry = new HighscoreEintrag(player, cards.getScoreMinus() + cards.getScorePlus(),
                                       cards.getSeedText(), gameStatistik_);
    std::vector<HighscoreEintrag*>& list = currentVariant_->getHighscores();
    list.push_back(entry);
    sortHighscores(list, kHighscoresKept);
}

void SolitaireManager::writeHighscores(Orvex::XMLNode& node, std::size_t perVariant) const {
    if (savedBackground_.saved) node.setAttribute(L"SAVED_BG", savedBackground_.name);
    if (savedKartenset_.saved) node.setAttribute(L"SAVED_KS", savedKartenset_.name);
    if (savedGameStyle_.saved) node.setAttribute(L"SAVED_GS", savedGameStyle_.name);
    if (styleParamSaved_) node.setAttribute(L"SAVED_SP", numberText(savedStyleParam_));
    for (SolCategorie const* category : categories_)
        for (SolSolitaire const* game : category->getGames())
            for (SolVariant const* variant : game->getVariants()) {
                if (variant->getHighscores().empty()) continue;
                Orvex::XMLNode* element = node.addChild(L"VARIANT_HIGHSCORES");
                nameVariant(*element, *category, *game, *variant);
                std::vector<HighscoreEintrag*> const& list = variant->getHighscores();
                for (std::size_t i = 0; i < list.size() && i < perVariant; ++i) list[i]->writeXML(*element->addChild(L"HIGHSCORE"));
            }
}

std::vector<std::size_t> SolitaireManager::highscoreCostsPast(std::size_t from) const {
    std::vector<SolVariant*> const variants = collectVariants();
    std::vector<std::size_t> costs;
    for (std::size_t rank = from, found = 1; found > 0; ++rank) {
        found = 0;
        for (SolVariant const* variant : variants) {
            if (variant->getHighscores().size() <= rank) continue;
            ++found;
            Orvex::XMLNode written(L"HIGHSCORE");
            variant->getHighscores()[rank]->writeXML(written);
            costs.push_back(Orvex::XMLNode::savedCost(written));
        }
    }
    return costs;
}

void SolitaireManager::keepHighscoresPast(std::size_t from, std::size_t count) {
    std::vector<SolVariant*> const variants = collectVariants();
    // How many each variant keeps: its entries among the first `count` in the same order.
    std::vector<std::size_t> keep(variants.size(), from);
    for (std::size_t rank = from, found = 1, taken = 0; found > 0 && taken < count; ++rank) {
        found = 0;
        for (std::size_t v = 0; v < variants.size() && taken < count; ++v) {
            if (variants[v]->getHighscores().size() <= rank) continue;
            ++found;
            ++taken;
            keep[v] = rank + 1;
        }
    }
    for (std::size_t v = 0; v < variants.size(); ++v) cutHighscores(variants[v]->getHighscores(), keep[v]);
}

bool SolitaireManager::readHighscores(Orvex::XMLNode const& node, std::wstring const& sourceName) {
    StyleSettings& settings = StyleSettings::instance();
    ReadProblems problems;
    bool leftOut = false;
    // A look's name; one longer than any name the data gives is none, and is not kept.
    auto savedName = [&](wchar_t const* key) -> std::wstring const* {
        Orvex::XMLAttribute const* attribute = node.getAttribute(key);
        if (!attribute || !attribute->text().longerThan(Orvex::XMLShape::kMaxText)) return attribute ? &attribute->getString() : nullptr;
        problems.add(L"\"" + std::wstring(key) + L"\" " + Orvex::quotedPiece(attribute->text()) + L" names no look", node.getLine());
        leftOut = true;
        return nullptr;
    };
    if (std::wstring const* name = savedName(L"SAVED_BG")) {
        savedBackground_ = {true, *name};
        settings.selectBackground(*name);
    }
    if (std::wstring const* name = savedName(L"SAVED_GS")) {
        savedGameStyle_ = {true, *name};
        settings.selectGameStyle(*name);
    }
    if (std::wstring const* name = savedName(L"SAVED_KS")) {
        savedKartenset_ = {true, *name};
        selectKartenset(*name);
    }
    if (node.getAttribute(L"SAVED_SP")) {
        std::size_t const before = problems.size();
        float param = savedStyleParam_;
        readMeasure(node, L"SAVED_SP", param, problems);
        if (problems.size() == before) {
            styleParamSaved_ = true;
            savedStyleParam_ = param;
            settings.setStyleParam(param);
        }
    }

    for (SolVariant* variant : collectVariants()) variant->clearHighscores();
    for (Orvex::XMLNode const* element : node.children()) {
        if (element->getName() != L"VARIANT_HIGHSCORES") continue;
        SolVariant* variant = findVariant(element->getAttributeString(L"CAT_NAME", L""),
                                          element->getAttributeString(L"GAME_NAME", L""),
                                          element->getAttributeString(L"VAR_NAME", L""));
        if (!variant) continue;
        std::vector<HighscoreEintrag*>& list = variant->getHighscores();
        bool cut = false;
        for (Orvex::XMLNode* child : element->children()) {
            if (child->getName() != L"HIGHSCORE") continue;
            list.push_back(new HighscoreEintrag(*child, &problems));
            leftOut = leftOut || list.back()->cutOnRead();
            // Cut as we go, so a damaged file's millions of entries never stand in memory at once.
            if (list.size() > 2 * kMaxReadHighscores) {
                sortHighscores(list, kMaxReadHighscores);
                cut = true;
            }
        }
        cut = cut || list.size() > kMaxReadHighscores;
        sortHighscores(list, kMaxReadHighscores);
        if (cut)
            problems.add(L"variant \"" + variant->getName() + L"\" has more than " + std::to_wstring(kMaxReadHighscores) +
                             L" highscores; the best are kept",
                         element->getLine());
        leftOut = leftOut || cut;
    }
    problems.log(L"Highscores", sourceName, node.getLine());
    return leftOut;
}

void SolitaireManager::writeVariantData(Orvex::XMLNode& node) const {
    for (SolCategorie const* category : categories_)
        for (SolSolitaire const* game : category->getGames())
            for (SolVariant* variant : game->getVariants()) {
                auto element = std::make_unique<Orvex::XMLNode>(L"VARIANT_DATA");
                if (!variant->getQuickSave().isEmpty()) {
                    Orvex::XMLNode* save = element->addChild(new Orvex::XMLNode(variant->getQuickSave()));
                    save->setName(L"QUICK_SAVE");
                }
                if (Statistik* statistik = variant->getStatistik())
                    statistik->writeXML(*element->addChild(Statistik::kElementName));
                if (element->isEmpty()) continue;
                nameVariant(*element, *category, *game, *variant);
                node.addChild(element.release());
            }
}

void SolitaireManager::readVariantData(Orvex::XMLNode const& node) {
    ReadProblems problems;
    for (SolVariant* variant : collectVariants()) {
        variant->getQuickSave().clear();
        variant->setStatistik(nullptr);
    }
    for (Orvex::XMLNode const* element : node.children()) {
        if (element->getName() != L"VARIANT_DATA") continue;
        SolVariant* variant = findVariant(element->getAttributeString(L"CAT_NAME", L""),
                                          element->getAttributeString(L"GAME_NAME", L""),
                                          element->getAttributeString(L"VAR_NAME", L""));
        if (!variant) continue;
        if (Orvex::XMLNode const* save = element->getChild(L"QUICK_SAVE")) variant->getQuickSave().copyFrom(*save);
        if (Orvex::XMLNode const* counters = element->getChild(Statistik::kElementName)) {
            auto* statistik = new Statistik(kVariantStatistikName);
            statistik->readCounters(*counters, &problems);
            variant->setStatistik(statistik);
            statistik->release();
        }
    }
    problems.log(L"Variant data", L"", node.getLine());
}

bool SolitaireManager::writeQuickSave() {
    if (!currentVariant_) return true;
    Orvex::XMLNode& save = currentVariant_->getQuickSave();
    save.clear();
    save.setName(L"QUICK_SAVE");
    Kartenmanager::instance().saveRunningGame(save);
    // A decided game saves nothing; its statistics alone would be no game to resume.
    if (save.isEmpty()) return true;
    if (gameStatistik_) gameStatistik_->writeXML(*save.addChild(Statistik::kElementName));
    return true;
}

bool SolitaireManager::resumeQuickSave() {
    if (!currentVariant_ || currentVariant_->getQuickSave().isEmpty()) return false;
    Orvex::XMLNode const& save = currentVariant_->getQuickSave();
    Kartenmanager& cards = Kartenmanager::instance();
    // A save that is not whole is refused: the new deal stays, and so do its statistics.
    if (!cards.loadRunningGame(save, L"quick save of \"" + currentVariant_->getName() + L"\"")) return false;
    if (gameStatistik_) {
        if (Orvex::XMLNode const* counters = save.getChild(Statistik::kElementName)) {
            gameStatistik_->readCounters(*counters);
        } else {
            gameStatistik_->reset();
            gameStatistik_->addTime(cards.getTime());
        }
    }
    return true;
}

}  // namespace Solitaire
