// Tutorial strips: reading, copying a template, and stepping through the pages.
#include "engine/gui/TutorialStrip.h"

#include "engine/core/CopyBudget.h"
#include "engine/core/Logger.h"
#include "engine/core/ReadProblems.h"
#include "engine/core/NamedObjectList.h"
#include "engine/core/XMLAttribute.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/TutorialManager.h"
#include "engine/gui/TutorialRead.h"

namespace Orvex {

TutorialStrip::TutorialStrip(XMLNode& node) : NamedObject(node) {
    tutorial::noteUnknownKeys(node, {L"NAME", L"VORLAGE", L"BLENDSPEED_SHOW", L"BLENDSPEED_HIDE"});
    if (XMLAttribute* t = node.getAttribute(L"VORLAGE"))
        if (TutorialStrip* source = TutorialManager::instance().findStripTemplate(t->getStringCopy()))
            copyFrom(*source, L"strip \"" + getName() + L"\"" + atLine(node));
    tutorial::readNumber(node, L"BLENDSPEED_SHOW", showBlendSpeed, 0.0, kMaxMeasure);
    tutorial::readNumber(node, L"BLENDSPEED_HIDE", hideBlendSpeed, 0.0, kMaxMeasure);
    for (u32 i = 0; i < node.getValueCount() && windowNames.size() < TutorialManager::kMaxElements; ++i)
        windowNames.push_back(node.getValue(i)->getStringCopy());
    bool capped = false;
    forEachChild(node, L"PAGE", [&](XMLNode& page) {
        if (pages.size() >= TutorialManager::kMaxElements) {
            capped = true;
            return false;
        }
        pages.push_back(new TutorialPage(page, this));
        return true;
    });
    if (capped)
        logWarning(L"tutorial file" + atLine(node) + L": strip \"" + getName() + L"\" has more than " +
                   std::to_wstring(TutorialManager::kMaxElements) + L" pages; the rest are left out");
    if (XMLNode* b = node.getChild(L"BLEND_ON_SHOW", 0)) blendOnShow = readBlendList(b);
    if (XMLNode* b = node.getChild(L"BLEND_ON_HIDE", 0)) blendOnHide = readBlendList(b);
    for (XMLNode* child : node.children()) {
        std::wstring const& n = child->getName();
        if (n != L"PAGE" && n != L"BLEND_ON_SHOW" && n != L"BLEND_ON_HIDE")
            logWarning(L"tutorial file" + atLine(*child) + L": strip \"" + getName() +
                       L"\" has the unknown element \"" + n +
                       L"\"; it is ignored");
    }
}

TutorialStrip::TutorialStrip(TutorialStrip const& source) : NamedObject(source) {
    copyFrom(source, L"a copy of strip \"" + source.getName() + L"\"");
}

TutorialStrip::~TutorialStrip() { releaseAll(pages); }

void TutorialStrip::copyFrom(TutorialStrip const& source, std::wstring const& what) {
    // The strip's own lists here; each page copy takes its own entries, and the pages end before
    // the first that the budget refuses.
    auto const ownEntries = [&source] {
        std::size_t n = source.pages.size();
        for (std::wstring const& name : source.windowNames) n += CopyBudget::textEntries(name);
        for (TutBlendList const* list : {&source.blendOnShow, &source.blendOnHide})
            for (auto const& [window, goal] : *list) n += CopyBudget::textEntries(window) + CopyBudget::textEntries(goal);
        return n;
    };
    if (!CopyBudget::takeCounted(ownEntries, what)) return;
    windowNames = source.windowNames;
    blendOnShow = source.blendOnShow;
    blendOnHide = source.blendOnHide;
    showBlendSpeed = source.showBlendSpeed;
    hideBlendSpeed = source.hideBlendSpeed;
    for (TutorialPage* page : source.pages) {
        auto* copy = new TutorialPage(*page, this);
        if (CopyBudget::spentOut()) {
            copy->release();
            break;
        }
        pages.push_back(copy);
    }
}

void TutorialStrip::addPage(TutorialPage* page) {
    if (page) pages.push_back(page);
}

void TutorialStrip::setWindows(std::wstring const& goal) {
    for (std::wstring const& name : windowNames)
        if (GUIWindow* w = GUISystem::instance().findWindow(name)) w->jumpToGoal(goal);
}

void TutorialStrip::finish() {
    setWindows(L"AUS");
    playBlendList(blendOnHide, hideBlendSpeed);
}

void TutorialStrip::restart() {
    playBlendList(blendOnShow, showBlendSpeed);
    if (TutorialPage* page = getCurrentPage()) page->setShown(false);
    current = 0;
    if (!pages.empty()) pages[0]->setShown(true);
    setWindows(L"AN");
}

void TutorialStrip::nextPage() {
    if (TutorialPage* page = getCurrentPage()) page->setShown(false);
    // After hide the index is kNoPage and this wraps it to 0: the strip starts over at its
    // first page, without "AN" and the show blends. Game tutorials step hidden strips on
    // purpose, so the wrap is kept.
    ++current;
    if (TutorialPage* page = getCurrentPage()) {
        page->setShown(true);
        return;
    }
    finish();
}

void TutorialStrip::hide() {
    if (TutorialPage* page = getCurrentPage()) page->setShown(false);
    current = kNoPage;
    finish();
}

}  // namespace Orvex
