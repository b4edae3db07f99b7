// Pages of scripted lessons: reading, the list changes, the next-page tables, the strip and its
// arrows.
#include "game/story/ExtendedTutorialPage.h"

#include <algorithm>

#include "engine/core/engine/OrvexEngine.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/LanguageManager.h"
#include "engine/gui/TutPoint.h"
#include "engine/gui/TutorialManager.h"
#include "engine/gui/TutorialPage.h"
#include "engine/gui/TutorialStrip.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "game/story/SolTutorialManager.h"
#include "game/story/StoryRead.h"

namespace Solitaire {

namespace {

using Names = std::vector<std::wstring>;

std::wstring text(Orvex::XMLNode const& node, wchar_t const* key) {
    Orvex::XMLAttribute const* attribute = node.getAttribute(key);
    return attribute ? attribute->getStringCopy() : std::wstring();
}

void readNames(Orvex::XMLNode& node, wchar_t const* key, Names& list, ReadProblems& problems) {
    appendStoryValues(node.getChild(key, 0), list, ExtendedTutorialPage::kMaxNames, problems);
}

// Entries (objectKey, "NEXT") of the children `name`; an entry without "NEXT" is ignored and a
// later one for the same object replaces the earlier.
void readTable(Orvex::XMLNode& node, wchar_t const* name, wchar_t const* objectKey,
               std::map<std::wstring, std::wstring>& table, ReadProblems& problems) {
    for (Orvex::XMLNode* child : node.children()) {
        if (child->getName() != name) continue;
        Orvex::XMLAttribute const* next = child->getAttribute(L"NEXT");
        if (!next) continue;
        std::wstring const key = text(*child, objectKey);
        if (table.size() >= ExtendedTutorialPage::kMaxNames && !table.count(key)) {
            noteStoryCap(problems, name, ExtendedTutorialPage::kMaxNames, child->getLine());
            return;
        }
        table[key] = next->getStringCopy();
    }
}

void applyChanges(ExtendedTutorialPage::ListChanges const& changes, Names& cards, Names& piles) {
    if (changes.clearCards) cards.clear();
    if (changes.clearPiles) piles.clear();
    auto removeAll = [](Names& list, Names const& names) {
        std::erase_if(list, [&](std::wstring const& n) { return std::find(names.begin(), names.end(), n) != names.end(); });
    };
    removeAll(cards, changes.cardsToRemove);
    removeAll(piles, changes.pilesToRemove);
    cards.insert(cards.end(), changes.cardsToAdd.begin(), changes.cardsToAdd.end());
    piles.insert(piles.end(), changes.pilesToAdd.begin(), changes.pilesToAdd.end());
}

// kGoTo with the page an entry of the table names for key, else notFound.
int nextIn(std::map<std::wstring, std::wstring> const& table, std::wstring const& key, std::wstring& nextPage,
           int notFound) {
    auto const found = table.find(key);
    if (found == table.end()) return notFound;
    nextPage = found->second;
    return ExtendedTutorialPage::kGoTo;
}

// Where the arrow at a card or pile ends, in table coordinates: a pile's anchor, a card's
// resting place (not where it glides now).
D3DXVECTOR2 tablePoint(KartenObjekt const& object) {
    if (auto const* pile = dynamic_cast<Kartenstapel const*>(&object)) return pile->getAnchorPosition();
    D3DXVECTOR2 out(0.0f, 0.0f);
    if (auto const* card = dynamic_cast<Karte const*>(&object)) card->getPosition(out, false, false);
    return out;
}

// The piles, then the cards, whose user name is one of the names, in the card manager's order.
std::vector<KartenObjekt const*> objectsByUserName(Names const& names) {
    auto named = [&names](KartenObjekt const* o) {
        return std::find(names.begin(), names.end(), o->getUserName()) != names.end();
    };
    Kartenmanager const& cards = Kartenmanager::instance();
    std::vector<KartenObjekt const*> out;
    for (Kartenstapel const* pile : cards.piles)
        if (named(pile)) out.push_back(pile);
    for (Karte const* card : cards.cards)
        if (named(card)) out.push_back(card);
    return out;
}

}  // namespace

ExtendedTutorialPage::ExtendedTutorialPage(Orvex::XMLNode& node, ReadProblems& problems) : NamedObject(node) {
    readFloat(node, L"SHOW_TIMER", showDelay, problems);
    readBool(node, L"CLEAR_CARDS", entering.clearCards);
    readBool(node, L"CLEAR_STAPEL", entering.clearPiles);
    readNames(node, L"CARD_TO_ADD", entering.cardsToAdd, problems);
    readNames(node, L"STAPEL_TO_ADD", entering.pilesToAdd, problems);
    readNames(node, L"CARD_TO_REMOVE", entering.cardsToRemove, problems);
    readNames(node, L"STAPEL_TO_REMOVE", entering.pilesToRemove, problems);
    endOnNotFound = node.getAttributeInt(L"END_ON_NF", 0);
    readBool(node, L"CLEAR_CARDS_POST", leaving.clearCards);
    readBool(node, L"CLEAR_STAPEL_POST", leaving.clearPiles);
    readNames(node, L"CARD_TO_ADD_POST", leaving.cardsToAdd, problems);
    readNames(node, L"STAPEL_TO_ADD_POST", leaving.pilesToAdd, problems);
    readNames(node, L"CARD_TO_REMOVE_POST", leaving.cardsToRemove, problems);
    readNames(node, L"STAPEL_TO_REMOVE_POST", leaving.pilesToRemove, problems);
    readNames(node, L"DO_NOT_CLICK_BUTTONS", doNotClick, problems);
    endOnNotFoundFail = node.getAttributeInt(L"END_ON_NF_FAIL", 0);
    readTable(node, L"NEXT", L"KARTE", nextByCard, problems);
    readTable(node, L"NEXT_FAIL", L"KARTE", nextOnFail, problems);
    readTable(node, L"NEXT_GUI", L"GUI", nextByGui, problems);
    Orvex::TutorialManager& engine = Orvex::TutorialManager::instance();
    if (Orvex::XMLAttribute const* name = node.getAttribute(L"STRIP_VORLAGE")) {
        if (Orvex::TutorialStrip* found = engine.findStripTemplate(name->getStringCopy())) {
            strip_.adopt(new Orvex::TutorialStrip(*found));
            strip_->setName(getName());
            engine.addStrip(strip_.get());
        } else {
            problems.add(L"page \"" + getName() + L"\" names the unknown strip template \"" + name->getStringCopy() + L"\"",
                         node.getLine());
        }
    }
    readStoryChildren(node, L"TUTORIAL_PAGE", kMaxPageEntries, problems, [&](Orvex::XMLNode& child) {
        auto entry = std::make_unique<PageEntry>();
        Orvex::XMLAttribute const* pageName = child.getAttribute(L"PAGE_VORLAGE");
        Orvex::TutorialPage* found = pageName ? engine.findPageTemplate(pageName->getStringCopy()) : nullptr;
        if (pageName && !found)
            problems.add(L"page \"" + getName() + L"\" names the unknown page template \"" +
                             pageName->getStringCopy() + L"\"",
                         child.getLine());
        if (found && strip_) {
            auto* page = new Orvex::TutorialPage(*found, strip_.get());
            entry->page.hold(page);
            page->setName(getName());
            page->textHook.connect(this, &ExtendedTutorialPage::onPageText);
            strip_->addPage(page);  // takes over the first reference
        }
        entry->textId = text(child, L"TEXT_ID");
        entry->arrowStart = text(child, L"PFEIL_VORLAGE_START");
        entry->arrowGoal = text(child, L"PFEIL_VORLAGE_END");
        appendStoryValues(child.getChild(L"PFEIL_KO", 0), entry->arrowObjects, kMaxNames, problems);
        appendStoryValues(child.getChild(L"GUI", 0), entry->arrowGuis, kMaxNames, problems);
        entries_.push_back(std::move(entry));
    });
}

// Out of line: the strip and pages are complete here. The entries go before the strip.
ExtendedTutorialPage::~ExtendedTutorialPage() = default;

void ExtendedTutorialPage::activate(bool enter) {
    arrowsActive_ = enter;
    countdown_ = showDelay;
    Kartenmanager& cards = Kartenmanager::instance();
    applyChanges(enter ? entering : leaving, cards.getTutorialNameList1(), cards.getTutorialNameList2());
}

int ExtendedTutorialPage::checkCard(std::wstring& nextPage, std::wstring const& userName, bool success) const {
    return nextIn(success ? nextByCard : nextOnFail, userName, nextPage, success ? endOnNotFound : endOnNotFoundFail);
}

int ExtendedTutorialPage::checkGui(std::wstring& nextPage, std::wstring const& elementName) const {
    return nextIn(nextByGui, elementName, nextPage, kStay);
}

bool ExtendedTutorialPage::refusesClick(std::wstring const& elementName) const {
    return std::find(doNotClick.begin(), doNotClick.end(), elementName) != doNotClick.end();
}

void ExtendedTutorialPage::update(float dt) {
    if (!arrowsActive_) return;
    if (countdown_ > 0.0f) {
        countdown_ -= dt;
        if (countdown_ > 0.0f) return;
        if (strip_) SolTutorialManager::instance().showTutorial(strip_->getName(), true, false, D3DXVECTOR2(0.0f, 0.0f));
    }
    placeArrows();
}

void ExtendedTutorialPage::closeStrip() {
    SolTutorialManager& manager = SolTutorialManager::instance();
    if (strip_ && manager.isRunning() && manager.getCurrentStrip() == strip_.get()) manager.closeTutorial();
}

void ExtendedTutorialPage::placeArrows() {
    Orvex::TutorialManager& engine = Orvex::TutorialManager::instance();
    SolTutorialManager& manager = SolTutorialManager::instance();
    for (auto const& entry : entries_) {
        if (!entry->page) continue;
        entry->page->clearPoints();
        Orvex::TutPoint const* startTemplate = engine.findPointTemplate(entry->arrowStart);
        Orvex::TutPoint const* goalTemplate = engine.findPointTemplate(entry->arrowGoal);
        if (!startTemplate || !goalTemplate) continue;
        auto add = [&](D3DXVECTOR2 const& at) {
            SolTutorialManager::addArrow(*entry->page, *startTemplate, *goalTemplate, at);
        };
        for (KartenObjekt const* object : objectsByUserName(entry->arrowObjects)) {
            D3DXVECTOR2 point = tablePoint(*object);
            manager.mapTablePoint.emit(point);
            add(point);
        }
        for (std::wstring const& name : entry->arrowGuis)
            if (Orvex::GUIWindow* window = Orvex::GUISystem::instance().findWindow(name)) {
                Orvex::FRect const r = window->getScreenRect();
                add(D3DXVECTOR2((r.left + r.right) * 0.5f, (r.top + r.bottom) * 0.5f));
            }
    }
}

void ExtendedTutorialPage::onPageText(Orvex::TutorialPage& page, std::wstring const&, std::wstring& shown,
                                      bool& useTextId) {
    for (auto const& entry : entries_) {
        if (entry->page.get() != &page) continue;
        Orvex::OrvexEngine* engine = Orvex::OrvexEngine::getInstance();
        Orvex::LanguageManager* language = engine ? engine->getLanguage() : nullptr;
        shown = language ? language->getText(entry->textId) : std::wstring();
        useTextId = false;
        return;
    }
}

}  // namespace Solitaire
