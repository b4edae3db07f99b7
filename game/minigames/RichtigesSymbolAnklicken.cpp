// The tick-the-right-symbols game: its areas, grid, shuffle, ticks and the answer.
#include "game/minigames/RichtigesSymbolAnklicken.h"

#include <utility>

#include "engine/core/XMLAttribute.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUICheckboxButton.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/render/Texture2DAnimation.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "game/minigames/ClickGameWindows.h"
#include "game/minigames/GridLayout.h"
#include "game/minigames/MinispielKeys.h"
#include "game/minigames/MinispielManager.h"
#include "game/minigames/MinispielTemplates.h"
#include "port/crt/crt.h"

namespace Solitaire {

namespace {

Orvex::GUIWindow* templateOf(Orvex::XMLNode const& node, wchar_t const* key) {
    Orvex::XMLAttribute const* name = node.getAttribute(key);
    return name ? Orvex::GUISystem::instance().findTemplate(name->getStringCopy()) : nullptr;
}

}  // namespace

// ---- areas ----

RichtigesSymbolAnklicken::Gebiet::Gebiet(Orvex::XMLNode& node) : Orvex::NamedObject(node) {
    picture.adopt(minigame::animationCopy(node, L"ANIMATION"));
    Orvex::XMLNode const* rect = node.getChild(L"GUIRECT");
    window.adopt(minigame::cloneOf(templateOf(node, L"GUI")));
    if (window && rect) window->getRect().load(*rect);
    if (auto* holder = dynamic_cast<Orvex::GUILabel*>(templateOf(node, L"GUI_LABEL"))) {
        pictureHolder.adopt(minigame::cloneAs(holder));
        minigame::attach(window.get(), pictureHolder.get());
    }
    if (auto* box = dynamic_cast<Orvex::GUICheckboxButton*>(templateOf(node, L"GUI_CHECK_BOX"))) {
        checkBox.adopt(minigame::cloneAs(box));
        checkBox->setChecked(false);
        checkBox->changed.connect(this, &Gebiet::onCheckboxChanged);
        minigame::attach(window.get(), checkBox.get());
    }
    fontName = node.getAttributeString(L"FONT", fontName);
    group = node.getAttributeLong(L"GROUP", group);
    fontName = node.getAttributeString(L"FONT_STYLE", fontName);
    textId = node.getAttributeString(L"TEXT_ID", textId);
    right = node.getAttributeBool(L"RICHTIG", right);
    if (auto* label = dynamic_cast<Orvex::GUILabel*>(window.get())) {
        label->setTextId(textId);
        // "FONT_STYLE" names the style the label is drawn in; "FONT" alone names a font.
        if (Orvex::XMLAttribute const* style = node.getAttribute(L"FONT_STYLE")) {
            fontStyle = style->getStringCopy();
            label->setFontStyle(fontStyle, Orvex::GUILabel::kNormal);
            label->setFontStyle(fontStyle, Orvex::GUILabel::kMark);
        } else if (Orvex::XMLAttribute const* font = node.getAttribute(L"FONT")) {
            label->setFont(font->getStringCopy());
        }
    }
}

RichtigesSymbolAnklicken::Gebiet::~Gebiet() {
    if (checkBox) checkBox->changed.disconnect(this);
}

void RichtigesSymbolAnklicken::Gebiet::onCheckboxChanged(Orvex::GUICheckboxButton& box) {
    bool const checked = box.isChecked();
    changed.emit(*this, checked);
}

bool RichtigesSymbolAnklicken::Gebiet::isTicked() const { return checkBox ? checkBox->isChecked() : right; }

// ---- the game ----

RichtigesSymbolAnklicken::RichtigesSymbolAnklicken(Orvex::XMLNode& element) : Minispiel(element) {
    minigame::readChildren(element, L"GEBIET", kMaxAreas, L"areas", [&](Orvex::XMLNode& child) {
        Orvex::CountedRef<Gebiet>& area = areas_.emplace_back();
        area.adopt(new Gebiet(child));
        area->changed.connect(this, &RichtigesSymbolAnklicken::onGebietChanged);
    });
    hasGrid_ = minigame::readArrangement(element, columns_);
    if (hasGrid_) {
        bool windows = true;
        for (Orvex::CountedRef<Gebiet> const& area : areas_) windows = windows && area->window;
        shuffle_ = areas_.size() >= 2 && windows;
        if (!shuffle_)
            minigame::logProblem(element, L"mini-game \"" + getName() +
                                              L"\" needs two areas with windows to shuffle its grid; not shuffled");
    }
}

// The areas go before the base's window.
RichtigesSymbolAnklicken::~RichtigesSymbolAnklicken() { areas_.clear(); }

void RichtigesSymbolAnklicken::createWindows() {
    ClickGameWindows frame(prefix, kKind);
    if (!window) {
        frame.lookUp(true);
        Orvex::GUIWindow* surface = frame.part(L"FENSTER_ARBEITS_FLAECHE");
        Orvex::GUIWindow* tray = frame.part(L"FENSTER_ABLAGE");
        Orvex::GUIWindow* work = frame.part(L"FENSTER_ARBEIT");
        auto* ok = frame.partAs<Orvex::GUIButton>(L"OK");
        if (frame.main && surface && tray && work) {
            frame.cloneFrame();
            window.adopt(frame.main);
            barParent = frame.foreground;
            surface_ = minigame::cloneOf(surface);
            tray_ = minigame::cloneOf(tray);
            work_ = minigame::cloneOf(work);
            minigame::adopt(window.get(), surface_);
            minigame::adopt(surface_, work_);
            minigame::adopt(surface_, tray_);

            std::vector<Orvex::GUIWindow*> windows;
            for (Orvex::CountedRef<Gebiet> const& area : areas_) windows.push_back(area->window.get());
            minigame::layOutAreas(windows, hasGrid_, columns_, work_);
            Orvex::GUIWindow* container = frame.container();
            if (Orvex::GUIWindow* clone = minigame::cloneOf(ok)) {
                clone->leftClicked.connect(this, &RichtigesSymbolAnklicken::onOkClicked);
                minigame::adopt(container, clone);
            }
            frame.addButtons(*this, container);
            frame.addForeground();
        }
    }
}

void RichtigesSymbolAnklicken::start() {
    Minispiel::start();
    if (shuffle_) {
        int const n = static_cast<int>(areas_.size());
        for (int swap = 0; swap < kSwapsPerArea * n; ++swap) {
            int const i = msvc::rand() % n;
            int j = msvc::rand() % n;
            while (j == i) j = msvc::rand() % n;
            std::swap(areas_[static_cast<std::size_t>(i)]->window->getRect(),
                      areas_[static_cast<std::size_t>(j)]->window->getRect());
        }
    }
    for (Orvex::CountedRef<Gebiet> const& area : areas_)
        if (area->checkBox) area->checkBox->setChecked(false);
    if (surface_) surface_->updateRect(false, false);
}

void RichtigesSymbolAnklicken::onGebietChanged(Gebiet& area, bool const& checked) {
    if (!checked) return;
    for (Orvex::CountedRef<Gebiet> const& other : areas_)
        if (other != &area && (other->group & area.group) != 0 && other->checkBox) other->checkBox->setChecked(false);
}

void RichtigesSymbolAnklicken::onOkClicked(Orvex::GUIWindow&) {
    if (ended) return;
    for (Orvex::CountedRef<Gebiet> const& area : areas_) {
        if (area->isTicked() == area->right) continue;
        MinispielManager::instance().gameFailed.emit(*this);
        start();
        return;
    }
    reportSolvedNow();
}

void RichtigesSymbolAnklicken::update(double const& dt) {
    for (Orvex::CountedRef<Gebiet> const& area : areas_) {
        if (!area->picture) continue;
        area->picture->update(dt);
        if (area->pictureHolder) minigame::showFrameAsBackground(*area->pictureHolder, area->picture.get());
    }
}

void RichtigesSymbolAnklicken::draw() {}

}  // namespace Solitaire
