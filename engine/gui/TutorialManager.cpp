// The tutorial manager: reading the tutorial file, the template lookups, showing, hiding and
// updating strips.
#include "engine/gui/TutorialManager.h"

#include "engine/core/CopyBudget.h"
#include "engine/core/Logger.h"
#include "engine/core/NamedObjectList.h"
#include "engine/core/Utils.h"
#include "engine/core/XMLAttribute.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/TutorialStrip.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "engine/render/AnimationFrameBudget.h"

namespace Orvex {

namespace {

// Appends an element of `name` made by make(child) for each child, up to the cap.
template <class T, class Make>
void readEach(XMLNode& parent, std::wstring_view name, std::vector<T*>& list, Make make) {
    u32 cappedAt = 0;  // line of the first element left out
    bool capped = false;
    forEachChild(parent, name, [&](XMLNode& child) {
        if (list.size() >= TutorialManager::kMaxElements) {
            capped = true;
            cappedAt = child.getLine();
            return false;
        }
        list.push_back(make(child));
        return true;
    });
    if (capped)
        logWarning(L"tutorial file" + atLine(cappedAt) + L": more than " +
                   std::to_wstring(TutorialManager::kMaxElements) + L" \"" +
                   std::wstring(name) + L"\" elements; the rest are left out");
}

}  // namespace

TutorialManager& TutorialManager::instance() {
    static TutorialManager manager;
    return manager;
}

TutorialManager::~TutorialManager() { clear(); }

void TutorialManager::clear() {
    current_ = nullptr;
    releaseAll(strips_);
    releaseAll(stripTemplates_);
    releaseAll(pageTemplates_);
    releaseAll(pointTemplates_);
}

void TutorialManager::loadTemplates(XMLNode& root, std::wstring const& sourceName) {
    CopyBudget const budget(sourceName);  // pages and strips copy their templates
    AnimationFrameBudget const frames(sourceName);  // the animation lists it names
    forEachChild(root, L"ANIMATIONEN", [&](XMLNode& entry) {
        if (XMLAttribute* file = entry.getAttribute(L"FILE")) {
            if (!Texture2DAnimationManager::instance().loadFile(file->getStringCopy()))
                logWarning(L"tutorial file" + atLine(entry) + L": animation list \"" + file->getStringCopy() +
                           L"\" could not be read");
        }
        return true;
    });
    if (XMLNode* templates = root.getChild(L"VORLAGEN", 0)) {
        readEach(*templates, L"STRIP_VORLAGE", stripTemplates_, [](XMLNode& n) { return new TutorialStrip(n); });
        readEach(*templates, L"PAGE_VORLAGE", pageTemplates_,
                 [](XMLNode& n) { return new TutorialPage(n, nullptr); });
        readEach(*templates, L"PTS_VORLAGE", pointTemplates_, [](XMLNode& n) { return new TutPoint(n); });
    }
    readEach(root, L"STRIP", strips_, [](XMLNode& n) { return new TutorialStrip(n); });
    for (XMLNode* child : root.children()) {
        std::wstring const& n = child->getName();
        if (n != L"ANIMATIONEN" && n != L"VORLAGEN" && n != L"STRIP")
            logWarning(L"tutorial file" + atLine(*child) + L": unknown element \"" + n + L"\" is ignored");
    }
}

TutorialStrip* TutorialManager::findStripTemplate(std::wstring const& name) const {
    return findNamedObject(stripTemplates_, name);
}

TutorialPage* TutorialManager::findPageTemplate(std::wstring const& name) const {
    return findNamedObject(pageTemplates_, name);
}

TutPoint* TutorialManager::findPointTemplate(std::wstring const& name) const {
    return findNamedObject(pointTemplates_, name);
}

void TutorialManager::addStrip(TutorialStrip* strip) {
    if (!strip) return;
    strip->addRef();
    strips_.push_back(strip);
}

TutorialStrip* TutorialManager::showStrip(std::wstring const& name) {
    TutorialStrip* strip = findNamedObject(strips_, name);
    if (!strip) return nullptr;
    strip->restart();
    current_ = strip;
    return strip;
}

void TutorialManager::hideCurrentStrip() {
    TutorialStrip* strip = current_;
    current_ = nullptr;
    if (strip) strip->hide();
}

void TutorialManager::update(double dt) {
    // A page's update may step its strip, and game code may add strips meanwhile: walk a held
    // snapshot.
    std::vector<TutorialStrip*> const snapshot = strips_;
    for (TutorialStrip* s : snapshot) s->addRef();
    for (TutorialStrip* s : snapshot)
        if (TutorialPage* page = s->getCurrentPage()) page->update(dt);
    for (TutorialStrip* s : snapshot) s->release();
}

}  // namespace Orvex
