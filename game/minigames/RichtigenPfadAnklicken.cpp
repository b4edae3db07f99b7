// The choose-the-right-path game: its paths, the single tick, the answer and the pictures.
#include "game/minigames/RichtigenPfadAnklicken.h"

#include "engine/core/XMLAttribute.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUICheckboxButton.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/render/Texture2DAnimation.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "game/minigames/ClickGameWindows.h"
#include "game/minigames/MinispielKeys.h"
#include "game/minigames/MinispielManager.h"
#include "game/minigames/MinispielTemplates.h"

namespace Solitaire {

namespace {

// The current frame's texture, or null.
Orvex::Texture2D* frameTexture(Orvex::Texture2DAnimation* animation) {
    Orvex::AnimationFrame const* frame = animation ? animation->getCurrentFrame() : nullptr;
    return frame ? frame->texture : nullptr;
}

}  // namespace

// ---- paths ----

RichtigenPfadAnklicken::Gebiet::Gebiet(Orvex::XMLNode& node) {
    Orvex::GUIRect rect;
    if (Orvex::XMLNode const* r = node.getChild(L"GUIRECT")) rect.load(*r);
    if (Orvex::XMLAttribute const* name = node.getAttribute(L"GUI_CHECK_BOX"))
        if (auto* box = dynamic_cast<Orvex::GUICheckboxButton*>(
                Orvex::GUISystem::instance().findTemplate(name->getStringCopy()))) {
            checkBox.adopt(minigame::cloneAs(box));
            checkBox->setChecked(false);
            checkBox->changed.connect(this, &Gebiet::onCheckboxChanged);
            checkBox->getRect() = rect;
        }
    right = node.getAttributeBool(L"RICHTIG", false);
}

RichtigenPfadAnklicken::Gebiet::~Gebiet() {
    if (checkBox) checkBox->changed.disconnect(this);
}

void RichtigenPfadAnklicken::Gebiet::onCheckboxChanged(Orvex::GUICheckboxButton& box) {
    checked = box.isChecked();
    if (checked) selected.emit(*this);
}

// ---- the game ----

RichtigenPfadAnklicken::RichtigenPfadAnklicken(Orvex::XMLNode& element) : Minispiel(element) {
    minigame::readChildren(element, L"GEBIET", kMaxAreas, L"paths", [&](Orvex::XMLNode& child) {
        Orvex::CountedRef<Gebiet>& area = areas_.emplace_back();
        area.adopt(new Gebiet(child));
        area->selected.connect(this, &RichtigenPfadAnklicken::onGebietSelected);
    });
    pathAnimation_.adopt(minigame::animationCopy(element, L"ANIMATION"));
    goalAnimation_.adopt(minigame::animationCopy(element, L"GOAL_ANIMATION"));
}

// The paths go before the base's window.
RichtigenPfadAnklicken::~RichtigenPfadAnklicken() { areas_.clear(); }

void RichtigenPfadAnklicken::createWindows() {
    ClickGameWindows frame(prefix, kKind);
    if (!window) {
        frame.lookUp(false);
        Orvex::GUIWindow* surface = frame.part(L"FENSTER_ARBEITS_FLAECHE");
        Orvex::GUIWindow* work = frame.part(L"FENSTER_ARBEIT");
        auto* ok = frame.partAs<Orvex::GUIButton>(L"OK");
        if (frame.main && surface && work) {
            frame.cloneFrame();
            window.adopt(frame.main);
            surface_ = minigame::cloneOf(surface);
            work_ = minigame::cloneOf(work);
            minigame::adopt(window.get(), surface_);
            minigame::adopt(surface_, work_);
            for (Orvex::CountedRef<Gebiet> const& area : areas_) minigame::attach(work_, area->checkBox.get());
            if (Orvex::GUIWindow* clone = minigame::cloneOf(ok)) {
                clone->leftClicked.connect(this, &RichtigenPfadAnklicken::onOkClicked);
                minigame::adopt(window.get(), clone);
            }
            frame.addButtons(*this, window.get());
        }
    }
}

void RichtigenPfadAnklicken::start() {
    Minispiel::start();
    if (!work_) return;
    Orvex::GUIDrawOptions& options = work_->getDrawOptions();
    if (pathAnimation_) options.setTexNormal(frameTexture(pathAnimation_.get()));
    options.setTexBackground(nullptr);
}

void RichtigenPfadAnklicken::onGebietSelected(Gebiet& area) {
    for (Orvex::CountedRef<Gebiet> const& other : areas_)
        if (other != &area && other->checkBox) other->checkBox->setChecked(false);
}

void RichtigenPfadAnklicken::onOkClicked(Orvex::GUIWindow&) {
    if (solved) return;
    for (Orvex::CountedRef<Gebiet> const& area : areas_) {
        if (!area->checked || area->right) continue;
        MinispielManager::instance().gameFailed.emit(*this);
        start();
        return;
    }
    setSolved();
}

void RichtigenPfadAnklicken::update(double const& dt) {
    if (pathAnimation_ && work_) {
        pathAnimation_->update(dt);
        work_->getDrawOptions().setTexNormal(frameTexture(pathAnimation_.get()));
    }
    if (goalAnimation_ && work_ && solved) {
        goalAnimation_->update(dt);
        work_->getDrawOptions().setTexBackground(frameTexture(goalAnimation_.get()));
    }
    countDownEndDelay(dt);
}

void RichtigenPfadAnklicken::draw() {}

}  // namespace Solitaire
