// The mini-game base: its keys, the end delay and report, the shared GUI parts.
#include "game/minigames/Minispiel.h"

#include <utility>

#include "engine/core/XMLNode.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIProgressBar.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "game/minigames/MinispielKeys.h"
#include "game/minigames/MinispielManager.h"

namespace Solitaire {

Minispiel::Minispiel() = default;

Minispiel::Minispiel(Orvex::XMLNode& element) : Orvex::NamedObject(element) {
    helpId = element.getAttributeString(L"HILFE_ID", helpId);
    prefix = element.getAttributeString(L"PR\u00C4FIX", prefix);
    minigame::readNumber(element, L"LSG_TIME", solutionTime, -kMaxSolutionTime, kMaxSolutionTime);
    solutionTimeLeft = solutionTime;
    minigame::readNumber(element, L"TIMER", endDelay, -kMaxEndDelay, kMaxEndDelay);
    endDelayLeft = endDelay;
}

// The bars leave their parent before the window goes.
Minispiel::~Minispiel() { releaseTimerBars(); }

float Minispiel::getRatio() const {
    if (!(solutionTime > 0.0)) return 0.0f;
    return static_cast<float>(solutionTimeLeft / solutionTime);
}

void Minispiel::setSolved() {
    solved = true;
    endDelayLeft = endDelay;
}

bool Minispiel::countDownEndDelay(double dt) {
    if (!solved || ended) return false;
    endDelayLeft -= static_cast<float>(dt);
    if (endDelayLeft > 0.0f) return false;
    ended = true;
    float const ratio = getRatio();
    bool const skipped = false;
    MinispielManager::instance().gameEnded.emit(*this, ratio, skipped);
    return true;
}

void Minispiel::reportSolvedNow() {
    solved = true;
    ended = true;
    float const ratio = getRatio();
    bool const skipped = false;
    MinispielManager::instance().gameEnded.emit(*this, ratio, skipped);
}

void Minispiel::update(double const& dt) { countDownEndDelay(dt); }

void Minispiel::draw() {}

void Minispiel::releaseTimerBars() {
    for (Orvex::CountedRef<Orvex::GUIWindow> const& bar : timerBars)
        if (Orvex::GUIWindow* parent = bar->getParent()) parent->removeChild(bar.get());
    timerBars.clear();
}

void Minispiel::init() {
    createWindows();
    start();
    initShared();
}

void Minispiel::initShared() {
    releaseTimerBars();
    if (!window) return;
    window->selfDrawn.disconnect(this);
    window->selfDrawn.connect(this, &Minispiel::onWindowDrawn);
    hide();
    if (helpButton_) helpButton_->leftClicked.disconnect(this);
    helpButton_ = nullptr;
    if (auto* button = dynamic_cast<Orvex::GUIButton*>(window->findChild(kHelpButton))) {
        button->leftClicked.connect(this, &Minispiel::onHelpButton);
        helpButton_ = button;
    }
    std::vector<Orvex::GUIWindow*> templates;
    Orvex::GUISystem::instance().collectTemplates(templates,
                                                  Orvex::GUISystem::WindowFilter({prefixed(kTimerBar)}, {}));
    Orvex::GUIWindow* parent = barParent ? barParent : window.get();
    for (Orvex::GUIWindow* bar : templates) {
        if (!dynamic_cast<Orvex::GUIProgressBar*>(bar)) continue;
        Orvex::CountedRef<Orvex::GUIWindow> clone = Orvex::adoptRef(bar->clone());
        parent->addChild(clone.get(), false, true);
        timerBars.push_back(std::move(clone));
    }
}

void Minispiel::start() {
    solved = false;
    ended = false;
    endDelayLeft = endDelay;
}

void Minispiel::show() {
    if (window) window->animateToGoal(L"AN", 1.0, false);
    solutionTimeLeft = solutionTime;
}

void Minispiel::hide() {
    if (window) window->animateToGoal(L"AUS", 1.0, false);
}

void Minispiel::finish() {
    solved = true;
    ended = true;
    endDelayLeft = 0.0f;
}

bool Minispiel::isFinished(bool const& askEnded) { return askEnded ? ended : solved; }

void Minispiel::skip() {
    finish();
    float const ratio = 0.0f;
    bool const skipped = true;
    MinispielManager::instance().gameEnded.emit(*this, ratio, skipped);
}

double Minispiel::getSolutionTime() { return solutionTime; }

Orvex::GUIWindow* Minispiel::getWindow() { return window.get(); }

std::vector<Orvex::GUIWindow*> Minispiel::getWindows() { return Orvex::plainPointers(timerBars); }

void Minispiel::onWindowDrawn(Orvex::GUIWindow&, bool const&) {}

void Minispiel::onMouseDown(Orvex::MouseState&, Orvex::OrvexMouseButton const&) {}
void Minispiel::onMouseUp(Orvex::MouseState&, Orvex::OrvexMouseButton const&) {}
void Minispiel::onMouseMove(Orvex::MouseState&, Orvex::OrvexAchse const&) {}
void Minispiel::onMouseDoubleClick(Orvex::MouseState&, Orvex::OrvexMouseButton const&) {}

void Minispiel::onHelpButton(Orvex::GUIWindow&) {
    bool const show = true;
    float const speed = 1.0f;
    MinispielManager::instance().showHelp(show, speed);
}

void Minispiel::onCloseButton(Orvex::GUIWindow&) { MinispielManager::instance().gameClosed.emit(*this); }

}  // namespace Solitaire
