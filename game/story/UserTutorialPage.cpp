// User tutorial pages: reading, texts and pile arrows.
#include "game/story/UserTutorialPage.h"

#include "engine/core/engine/OrvexEngine.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/LanguageManager.h"
#include "engine/gui/Text.h"
#include "engine/gui/TutPoint.h"
#include "engine/gui/TutorialManager.h"
#include "engine/gui/TutorialPage.h"
#include "engine/gui/TutorialStrip.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "game/cards/PileWords.h"
#include "game/story/StoryRead.h"

namespace Solitaire {

namespace {

using Page = SolTutorialManager::UserTutorialPage;

Orvex::LanguageManager* language() {
    Orvex::OrvexEngine* engine = Orvex::OrvexEngine::getInstance();
    return engine ? engine->getLanguage() : nullptr;
}

// "USE_MODE": absent keeps fallback; given, the bits of its words.
int readUseMode(Orvex::XMLNode const& node, int fallback) {
    Orvex::XMLAttribute const* attribute = node.getAttribute(L"USE_MODE");
    if (!attribute) return fallback;
    int mask = 0;
    Orvex::XMLValueTokens const words = attribute->split(L" ");
    for (Orvex::u32 i = 0; i < words.getCount(); ++i) {
        std::wstring const& word = words.get(i)->getString();
        if (word == L"ALL") mask |= Page::kAll;
        else if (word == L"SHORT") mask |= Page::kShort;
        else if (word == L"LONG") mask |= Page::kLong;
    }
    return mask;
}

std::wstring pageText(Orvex::XMLNode const& node, wchar_t const* key) {
    Orvex::XMLAttribute const* attribute = node.getAttribute(key);
    return attribute ? attribute->getStringCopy() : std::wstring();
}

int modeBit(bool longText) { return longText ? Page::kLong : Page::kShort; }

}  // namespace

std::wstring Page::TextEntry::getText(bool longText) const {
    if ((useMode & modeBit(longText)) == 0) return std::wstring();
    Orvex::LanguageManager* languages = language();
    Orvex::Text const* format = languages ? languages->findText(textId) : nullptr;
    if (!format) return std::wstring();
    if (parts.empty()) return format->getText();
    if (parts.size() > kMaxParts) return std::wstring();
    std::vector<std::wstring> strings;
    for (TextPart const& part : parts) strings.push_back(part.isTextId ? languages->getText(part.string) : part.string);
    std::vector<msvc::FormatArg> args(strings.begin(), strings.end());
    std::wstring out;
    format->formatList(out, args);
    return out;
}

Page::UserTutorialPage(Orvex::XMLNode& node, Orvex::TutorialStrip* strip, ReadProblems& problems) : NamedObject(node) {
    if (Orvex::XMLAttribute const* type = node.getAttribute(L"STAPEL_TYP")) {
        if (isPileTypeWord(type->getString())) {
            hasPileType = true;
            pileType = parsePileType(type->getString());
        } else {
            problems.add(L"page \"" + getName() + L"\" names the unknown pile type \"" + type->getStringCopy() + L"\"",
                         node.getLine());
        }
    }
    arrowStart = pageText(node, L"PFEIL_VORLAGE_START");
    arrowGoal = pageText(node, L"PFEIL_VORLAGE_GOAL");
    useMode = readUseMode(node, useMode);
    readStoryChildren(node, L"TEXT", kMaxEntries, problems, [&](Orvex::XMLNode& child) {
        TextEntry entry;
        entry.textId = pageText(child, L"TEXT_ID");
        entry.useMode = readUseMode(child, entry.useMode);
        for (Orvex::XMLNode* partNode : child.children()) {
            if (partNode->getName() != L"TEXT_PART") continue;
            // One part more than the format may take is enough to refuse the entry's text.
            if (entry.parts.size() > kMaxParts) break;
            TextPart part;
            if (Orvex::XMLAttribute const* id = partNode->getAttribute(L"TEXT_ID")) {
                part.string = id->getStringCopy();
                part.isTextId = true;
            }
            if (Orvex::XMLAttribute const* literal = partNode->getAttribute(L"TEXT")) part.string = literal->getStringCopy();
            entry.parts.push_back(std::move(part));
        }
        entries.push_back(std::move(entry));
    });
    Orvex::XMLAttribute const* pageName = node.getAttribute(L"PAGE");
    Orvex::TutorialPage* found =
        pageName ? Orvex::TutorialManager::instance().findPageTemplate(pageName->getStringCopy()) : nullptr;
    if (pageName && !found)
        problems.add(L"page \"" + getName() + L"\" names the unknown page template \"" + pageName->getStringCopy() + L"\"",
                     node.getLine());
    if (!found || !strip) return;
    auto* page = new Orvex::TutorialPage(*found, strip);
    tutorialPage.hold(page);
    page->setName(getName());
    page->textHook.connect(this, &UserTutorialPage::onPageText);
    strip->addPage(page);  // takes over the first reference
}

// Out of line: the engine's page is complete here.
Page::~UserTutorialPage() = default;

std::wstring Page::getText(bool longText) const {
    if ((useMode & modeBit(longText)) == 0) return std::wstring();
    std::wstring out;
    for (TextEntry const& entry : entries) {
        std::wstring const line = entry.getText(longText);
        if (!line.empty()) out += line + L"\n";
    }
    return out;
}

void Page::onPageText(Orvex::TutorialPage& page, std::wstring const&, std::wstring& shown, bool& useTextId) {
    if (&page != tutorialPage.get()) return;
    shown.clear();
    for (TextEntry const& entry : entries) shown += entry.getText(true) + L"\n";
    useTextId = false;
}

void Page::placePileArrows() {
    if (!tutorialPage || !hasPileType) return;
    tutorialPage->clearPoints();
    Orvex::TutorialManager& engine = Orvex::TutorialManager::instance();
    SolTutorialManager& manager = SolTutorialManager::instance();
    for (Kartenstapel* pile : Kartenmanager::instance().getPilesOfType(pileType)) {
        Orvex::TutPoint const* startTemplate = engine.findPointTemplate(arrowStart);
        Orvex::TutPoint const* goalTemplate = engine.findPointTemplate(arrowGoal);
        if (!startTemplate || !goalTemplate) continue;
        D3DXVECTOR2 point = pile->getAnchorPosition();
        manager.mapTablePoint.emit(point);
        SolTutorialManager::addArrow(*tutorialPage, *startTemplate, *goalTemplate, point);
    }
}

}  // namespace Solitaire
