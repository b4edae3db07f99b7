// Fuzzes the user-tutorial reader with file bytes: the input read as a user-tutorial file over
// the engine templates our tutorial file has and a small table of every pile type, then every
// tutorial it names shown (forced and not, with coordinates), its texts built, its strip stepped
// by the next-on-click element and closed, while the table points are mapped into the window.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/gui/GUIWindow.h"
#include "engine/gui/TutorialManager.h"
#include "game/cards/Kartenmanager.h"
#include "game/story/SolTutorialManager.h"
#include "game/story/UserTutorial.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tests/game/story/ProfileStandIn.h"

namespace {

constexpr wchar_t kTemplates[] =
    L"<TUTORIAL><VORLAGEN><STRIP_VORLAGE NAME=\"TUT_STRIP\"/><PAGE_VORLAGE NAME=\"TUT_SEITE\"/>"
    L"<PAGE_VORLAGE NAME=\"TUT_SEITE_HELL\"/><PTS_VORLAGE NAME=\"VON_SEITE\" OFFSET=\"0 0\"/>"
    L"<PTS_VORLAGE NAME=\"AUF_STELLE\" OFFSET=\"0 0\"/></VORLAGEN>"
    L"<STRIP NAME=\"EXTRACARD_FOUND\"><PAGE NAME=\"TUT_FUND\"><TUT_POINTS><START VORLAGE=\"VON_SEITE\"/>"
    L"<GOAL NAME=\"KARTE\" VORLAGE=\"AUF_STELLE\"/></TUT_POINTS></PAGE></STRIP></TUTORIAL>";

constexpr wchar_t kTable[] =
    L"<SOLITAIRE NAME=\"F\"><STAPEL NAME=\"V\" STAPELTYP=\"VORRAT\"/><STAPEL NAME=\"M\" STAPELTYP=\"MUELL\"/>"
    L"<STAPEL NAME=\"B\" STAPELTYP=\"BASIS\" POSITION_REL=\"1 0\"/><STAPEL NAME=\"T\" STAPELTYP=\"TABLEAU\" "
    L"POSITION_REL=\"2 1\"/><STAPEL NAME=\"R\" STAPELTYP=\"RESERVE\"/></SOLITAIRE>";

struct Mapper : sigslot::has_slots<> {
    void map(D3DXVECTOR2& p) { p = D3DXVECTOR2(p.x * 3.0f + 1.0f, p.y * 3.0f + 2.0f); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, std::size_t size) {
    fuzz::quietLog();
    Orvex::TutorialManager& engine = Orvex::TutorialManager::instance();
    Solitaire::SolTutorialManager& tutorials = Solitaire::SolTutorialManager::instance();
    Solitaire::Kartenmanager& cards = Solitaire::Kartenmanager::instance();
    tutorials.clear();
    engine.clear();
    Orvex::XMLNode templates;
    templates.loadFromText(kTemplates, L"fuzz templates");
    engine.loadTemplates(templates);
    cards.createDiscardPile();
    Orvex::XMLNode table;
    table.loadFromText(kTable, L"fuzz table");
    cards.loadGameDefinition(table, L"fuzz table");
    auto* profile = new storytest::ProfileStandIn();
    tutorials.setActiveProfileSource([profile] { return static_cast<Solitaire::StoryProfile*>(profile); });
    Mapper mapper;
    tutorials.mapTablePoint.connect(&mapper, &Mapper::map);

    Orvex::XMLNode root;
    fuzz::readTree(data, size, root);
    tutorials.loadUserTutorials(root, L"fuzz.tut");
    tutorials.loadUserTutorials(root, L"fuzz.tut");  // a second file naming the same tutorials
    std::vector<std::wstring> names{L"EXTRACARD_FOUND"};
    for (auto const& tutorial : tutorials.getUserTutorials()) names.push_back(tutorial->getName());
    std::vector<Orvex::GUIWindow*> clicks;
    for (std::wstring const& id : tutorials.getNextOnClick()) {
        if (clicks.size() >= 4) break;
        clicks.push_back(new Orvex::GUIWindow(id));
    }
    for (std::wstring const& name : names) {
        tutorials.getTutorialText(name, false);
        tutorials.getTutorialText(name, true);
        tutorials.showTutorial(name, false, true, D3DXVECTOR2(5.0f, 6.0f));
        tutorials.showTutorial(name, true, false, D3DXVECTOR2(0.0f, 0.0f));  // queued
        for (int step = 0; step < 6; ++step)
            for (Orvex::GUIWindow* window : clicks) tutorials.onGuiClick(*window);
        tutorials.closeTutorial();
        tutorials.closeTutorial();
    }
    for (Orvex::GUIWindow* window : clicks) window->release();
    tutorials.setActiveProfileSource({});
    tutorials.clear();
    engine.clear();
    cards.createDiscardPile();
    profile->release();
    return 0;
}
