// The tutorial pages' single manager: the strips of the tutorial file ("STRIP") and the
// templates of strips, pages and points ("VORLAGEN"), all in file order with one reference
// each; shows and hides strips and updates every strip that is at a page, each frame.
#pragma once

#include <string>
#include <vector>

namespace Orvex {

class TutorialPage;
class TutorialStrip;
class TutPoint;
class XMLNode;

class TutorialManager {
public:
    // More than this many strips, templates or pages in one file is damaged data: the rest are
    // left out, with one log line.
    static constexpr unsigned kMaxElements = 4096;

    static TutorialManager& instance();
    TutorialManager(TutorialManager const&) = delete;
    TutorialManager& operator=(TutorialManager const&) = delete;

    static constexpr wchar_t const* kFileName = L"data\\tutorial.tut";

    // Reads the root element of a tutorial file ("ANIMATIONEN", "VORLAGEN", "STRIP"), its copies
    // of templates within the file's copy budget (CopyBudget).
    void loadTemplates(XMLNode& root, std::wstring const& sourceName = kFileName);
    TutorialStrip* findStripTemplate(std::wstring const& name) const;
    TutorialPage* findPageTemplate(std::wstring const& name) const;
    TutPoint* findPointTemplate(std::wstring const& name) const;

    // Appends a strip and takes a reference.
    void addStrip(TutorialStrip* strip);
    // Restarts the first strip of that name and makes it current; null (current kept) when none.
    TutorialStrip* showStrip(std::wstring const& name);
    void hideCurrentStrip();
    TutorialStrip* getCurrentStrip() const { return current_; }
    std::vector<TutorialStrip*> const& getStrips() const { return strips_; }

    // Updates the shown page of every strip that is at a page.
    void update(double dt);
    // Releases every strip and template (the destructor and tests).
    void clear();

private:
    TutorialManager() = default;
    ~TutorialManager();

    std::vector<TutorialStrip*> strips_;
    std::vector<TutorialStrip*> stripTemplates_;
    std::vector<TutorialPage*> pageTemplates_;
    std::vector<TutPoint*> pointTemplates_;
    TutorialStrip* current_ = nullptr;
};

}  // namespace Orvex
