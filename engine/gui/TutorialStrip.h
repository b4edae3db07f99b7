// A tutorial strip: pages shown one after the other, the windows that go to "AN" while the
// strip runs and to "AUS" when it ends, and goals played on show and on hide. Read from a
// "STRIP" or "STRIP_VORLAGE" element; owns its pages.
#pragma once

#include <limits>
#include <string>
#include <vector>

#include "engine/core/NamedObject.h"
#include "engine/gui/TutorialPage.h"

namespace Orvex {

class XMLNode;

class TutorialStrip : public NamedObject {
public:
    // No current page (new strips and hidden ones).
    static constexpr unsigned kNoPage = std::numeric_limits<unsigned>::max();

    explicit TutorialStrip(XMLNode& node);
    // The template's settings and copies of its pages, owned by the new strip; as far as the
    // copy budget of the file being read allows (CopyBudget).
    explicit TutorialStrip(TutorialStrip const& source);
    TutorialStrip& operator=(TutorialStrip const&) = delete;
    ~TutorialStrip() override;

    // Takes ownership.
    void addPage(TutorialPage* page);
    void restart();
    void nextPage();
    void hide();
    bool isFinished() const { return current >= pages.size(); }
    // The shown page, or null.
    TutorialPage* getCurrentPage() const { return isFinished() ? nullptr : pages[current]; }
    unsigned getCurrentIndex() const { return current; }
    std::vector<TutorialPage*> const& getPages() const { return pages; }

    std::vector<std::wstring> windowNames;
    TutBlendList blendOnShow;
    TutBlendList blendOnHide;
    float showBlendSpeed = 0.0f;
    float hideBlendSpeed = 0.0f;

private:
    void copyFrom(TutorialStrip const& source, std::wstring const& what);
    void setWindows(std::wstring const& goal);
    void finish();

    std::vector<TutorialPage*> pages;
    unsigned current = kNoPage;
};

}  // namespace Orvex
