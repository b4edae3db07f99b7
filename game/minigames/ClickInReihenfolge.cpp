// The click-in-order game: its order table, windows and clicks.
#include "game/minigames/ClickInReihenfolge.h"

#include <algorithm>

#include "engine/core/XMLAttribute.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/GUIWindow.h"
#include "game/minigames/ClickGameWindows.h"
#include "game/minigames/MinispielKeys.h"
#include "game/minigames/MinispielTemplates.h"
#include "port/crt/crt.h"

namespace Solitaire {

namespace {

bool contains(std::vector<long> const& list, long value) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

}  // namespace

ClickInReihenfolge::ClickInReihenfolge(Orvex::XMLNode& element) : Minispiel(element) {
    for (Orvex::XMLNode* child : element.children()) {
        if (child->getName() != L"CAN_CLICK") continue;
        Orvex::XMLAttribute const* nr = child->getAttribute(L"NR");
        if (!nr) continue;
        long const row = msvc::wcstol(nr->getStringCopy(), 10);
        if (row < 0 || row >= kMaxElements) {
            minigame::logProblem(*child, L"CAN_CLICK with NR \"" + nr->getStringCopy() + L"\" outside 0 to " +
                                             std::to_wstring(kMaxElements - 1) + L"; skipped");
            continue;
        }
        if (static_cast<std::size_t>(row) >= order_.size()) order_.resize(static_cast<std::size_t>(row) + 1);
        std::vector<long>& entries = order_[static_cast<std::size_t>(row)];
        for (std::wstring const& value : minigame::valueTexts(*child)) {
            if (entries.size() >= kMaxRowLength) {
                minigame::logProblem(*child, L"CAN_CLICK row " + std::to_wstring(row) + L" longer than " +
                                                 std::to_wstring(kMaxRowLength) + L"; the rest is skipped");
                break;
            }
            entries.push_back(msvc::wcstol(value, 10));
        }
    }
}

void ClickInReihenfolge::createWindows() {
    ClickGameWindows frame(prefix, kKind);
    if (!window) {
        frame.lookUp(true);
        std::vector<Orvex::GUIWindow*> elements;
        std::vector<Orvex::GUIWindow*> coverUps;
        for (long n = 1; n < kMaxElements; ++n) {
            Orvex::GUIWindow* element = frame.part(L"CLICK_" + std::to_wstring(n));
            Orvex::GUIWindow* coverUp = frame.part(L"COVER_UP_" + std::to_wstring(n));
            if (!element || !coverUp) break;
            elements.push_back(element);
            coverUps.push_back(coverUp);
        }
        if (frame.main && !elements.empty()) {
            frame.cloneFrame();
            window.adopt(frame.main);
            barParent = frame.foreground;
            for (Orvex::GUIWindow* coverUp : coverUps) {
                Orvex::GUIWindow* clone = minigame::cloneOf(coverUp);
                if (minigame::adopt(window.get(), clone)) coverUps_.push_back(clone);
            }
            for (Orvex::GUIWindow* element : elements) {
                Orvex::GUIWindow* clone = minigame::cloneOf(element);
                clone->leftClicked.connect(this, &ClickInReihenfolge::onElementClicked);
                if (minigame::adopt(window.get(), clone)) elements_.push_back(clone);
            }
            frame.addButtons(*this, frame.container());
            frame.addForeground();
        }
    }
}

void ClickInReihenfolge::start() {
    // A new attempt clears the flags as every game's does, so it can be solved again.
    Minispiel::start();
    for (Orvex::GUIWindow* coverUp : coverUps_) coverUp->jumpToGoal(L"AUS");
    open_ = order_.empty() ? std::vector<long>() : order_[0];
    done_.clear();
}

void ClickInReihenfolge::onElementClicked(Orvex::GUIWindow& clicked) {
    if (solved) return;
    auto const place = std::find(elements_.begin(), elements_.end(), &clicked);
    long const k = place == elements_.end() ? -1 : static_cast<long>(place - elements_.begin()) + 1;
    auto const open = std::find(open_.begin(), open_.end(), k);
    if (open != open_.end()) {
        open_.erase(open);
        if (k - 1 < static_cast<long>(coverUps_.size()))
            coverUps_[static_cast<std::size_t>(k - 1)]->animateToGoal(L"AN", 1.0, false);
        done_.push_back(k);
        if (static_cast<std::size_t>(k) < order_.size())
            for (long e : order_[static_cast<std::size_t>(k)])
                if (!contains(done_, e) && !contains(open_, e)) open_.push_back(e);
    }
    if (open_.empty()) setSolved();
}

void ClickInReihenfolge::draw() {}

}  // namespace Solitaire
