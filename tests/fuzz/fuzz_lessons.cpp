// Fuzzes the lesson reader with file bytes: the input read as a lesson file over the engine
// templates our tutorial file has and a small table whose cards and piles carry user names,
// then every lesson started for a fresh profile and driven by frames, carried-out and refused
// actions on every name its pages mention, clicks on every element its pages mention (asked
// first whether allowed), and the tutorials it shows closed. Whatever is read, this ends.
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>

#include "engine/gui/TutorialManager.h"
#include "game/cards/Kartenmanager.h"
#include "game/story/ExtendedTutorial.h"
#include "game/story/ExtendedTutorialManager.h"
#include "game/story/ExtendedTutorialPage.h"
#include "game/story/SolTutorialManager.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tests/game/story/ProfileStandIn.h"

namespace {

constexpr wchar_t kTemplates[] =
    L"<TUTORIAL><VORLAGEN><STRIP_VORLAGE NAME=\"TUT_STRIP\"/><PAGE_VORLAGE NAME=\"TUT_SEITE_HELL\"/>"
    L"<PTS_VORLAGE NAME=\"VON_SEITE\" OFFSET=\"0 0\"/><PTS_VORLAGE NAME=\"AUF_STELLE\" OFFSET=\"0 0\"/></VORLAGEN>"
    L"<STRIP NAME=\"ALT\"><PAGE NAME=\"a\"/></STRIP></TUTORIAL>";

constexpr wchar_t kTable[] =
    L"<SOLITAIRE NAME=\"F\" KARTEN_FARBE=\"HERZ\" ANZAHL_KARTEN=\"2\"><STAPEL NAME=\"ZIEL\" USERNAME=\"ZIEL\" "
    L"STAPELTYP=\"BASIS\"/><STAPEL NAME=\"P\" USERNAME=\"PLATZ13\" STAPELTYP=\"TABLEAU\" INIT_KARTEN_SICHTBAR=\"2\">"
    L"<ANORDNUNG NAME=\"A\"><WUENSCHE><WUNSCH POSITION=\"0\" WERT=\"ASS\" USERNAME=\"HERZ_ASS\"/></WUENSCHE>"
    L"</ANORDNUNG></STAPEL></SOLITAIRE>";

constexpr int kRounds = 3;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, std::size_t size) {
    fuzz::quietLog();
    Orvex::TutorialManager& engine = Orvex::TutorialManager::instance();
    Solitaire::SolTutorialManager& tutorials = Solitaire::SolTutorialManager::instance();
    Solitaire::ExtendedTutorialManager& lessons = Solitaire::ExtendedTutorialManager::instance();
    Solitaire::Kartenmanager& cards = Solitaire::Kartenmanager::instance();
    lessons.clear();
    tutorials.clear();
    engine.clear();
    Orvex::XMLNode templates;
    templates.loadFromText(kTemplates, L"fuzz templates");
    engine.loadTemplates(templates);
    cards.createDiscardPile();
    Orvex::XMLNode table;
    table.loadFromText(kTable, L"fuzz table");
    cards.loadGameDefinition(table, L"fuzz table");

    Orvex::XMLNode root;
    fuzz::readTree(data, size, root);
    lessons.load(root, L"fuzz.tut");
    for (auto const& lesson : lessons.getLessons()) {
        auto* profile = new storytest::ProfileStandIn();
        tutorials.setActiveProfileSource([profile] { return static_cast<Solitaire::StoryProfile*>(profile); });
        tutorials.showTutorial(L"ALT", true, false, D3DXVECTOR2(0.0f, 0.0f));
        std::set<std::wstring> objects{L"ZIEL", L"PLATZ13", L"HERZ_ASS"}, windows{L"T_Weiter"};
        for (auto const& [name, page] : lesson->getPages()) {
            for (auto const& entry : page->nextByCard) objects.insert(entry.first);
            for (auto const& entry : page->nextOnFail) objects.insert(entry.first);
            for (auto const& entry : page->nextByGui) windows.insert(entry.first);
            if (objects.size() > 64 || windows.size() > 64) break;
        }
        if (lessons.startTutorial(lesson->getName())) {
            for (int round = 0; round < kRounds; ++round) {
                lessons.update(0.3f);
                lessons.update(0.3f);
                for (std::wstring const& name : objects) {
                    lessons.onCardEvent(name, round % 2 == 0);
                    lessons.update(0.016f);
                }
                for (std::wstring const& name : windows)
                    if (lessons.isClickAllowed(name)) lessons.onGuiClick(name);
                tutorials.closeTutorial();
            }
        }
        while (tutorials.isRunning()) tutorials.closeTutorial();
        tutorials.setActiveProfileSource({});
        profile->release();
    }
    lessons.clear();
    tutorials.clear();
    engine.clear();
    cards.getTutorialNameList1().clear();
    cards.getTutorialNameList2().clear();
    cards.createDiscardPile();
    return 0;
}
