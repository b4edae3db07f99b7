// The repeat-the-sequence game: its keys, windows, the demonstration and the player's clicks.
#include "game/minigames/Sequenz.h"

#include <algorithm>

#include "engine/core/Random.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/GUIWindow.h"
#include "engine/render/Texture2DAnimation.h"
#include "game/minigames/ClickGameWindows.h"
#include "game/minigames/MinispielKeys.h"
#include "game/minigames/MinispielManager.h"
#include "game/minigames/MinispielTemplates.h"
#include "game/particles/SolPartikel.h"
#include "game/particles/SolPartikelManager.h"

namespace Solitaire {

namespace {

// Longest share of the step time the goal animations may take; larger values are damaged data.
constexpr double kMaxGoalShare = 100.0;

void toGoal(Orvex::GUIWindow* window, wchar_t const* goal, double speed) {
    if (window) window->animateToGoal(goal, speed, false);
}

// The window's background animation from its start.
void replay(Orvex::GUIWindow& window) {
    if (Orvex::Texture2DAnimation* animation = window.getDrawOptions().getAniBackground()) {
        animation->rewind();
        animation->play();
    }
}

}  // namespace

Sequenz::Sequenz(Orvex::XMLNode& element) : Minispiel(element) {
    int minLength = static_cast<int>(kDefaultLength);
    int maxLength = static_cast<int>(kDefaultLength);
    minigame::readCount(element, L"MIN_LENGTH", minLength, 1, static_cast<int>(kMaxLength));
    minigame::readCount(element, L"MAX_LENGTH", maxLength, 0, static_cast<int>(kMaxLength));
    minLength_ = static_cast<unsigned>(minLength);
    maxLength_ = static_cast<unsigned>(maxLength);
    minigame::readNumber(element, L"TIMER_SHOW", showTime_, 0.0, kMaxShowTime);
    showOnClickWindow_ = element.getAttributeBool(L"SHOW_ON_IS_CLICK_ON", showOnClickWindow_);
    goalAnimation_ = element.getAttributeBool(L"CHANGE_ANIM_GOAL", goalAnimation_);
    goalAnimationBefore_ = element.getAttributeBool(L"CHANGE_ANIM_GOAL_BEFORE", goalAnimationBefore_);
    minigame::readNumber(element, L"CHANGE_ANIM_GOAL_TIMER", goalShare_, 0.0, kMaxGoalShare);
    // Whether the definition can be played shows with the templates (init): the element's line is
    // kept for that log line.
    definitionLine_ = element.getLine();
}

Sequenz::~Sequenz() { endParticle(); }

void Sequenz::createWindows() {
    if (!window) build();
}

void Sequenz::build() {
    ClickGameWindows frame(prefix, kKind);
    frame.lookUp(true);
    Orvex::GUIWindow* play = frame.part(L"PLAY");
    std::vector<Orvex::GUIWindow*> elementTemplates;
    std::vector<Orvex::GUIWindow*> showTemplates;
    std::vector<std::wstring> particles;
    SolPartikelManager const& particleManager = SolPartikelManager::instance();
    for (std::size_t n = 1; n <= kMaxElements; ++n) {
        std::wstring const number = std::to_wstring(n);
        Orvex::GUIWindow* element = frame.part(L"WINDOW_" + number);
        if (!element) break;
        elementTemplates.push_back(element);
        showTemplates.push_back(frame.part(L"WINDOW_SHOW_" + number));
        std::wstring const particle = prefix + L"SEQUENZ_PARTIKEL_" + number;
        particles.push_back(particleManager.findTemplate(particle) ? particle : std::wstring());
    }
    if (!frame.main) return;
    if (elementTemplates.empty()) {
        refuse(L"no \"" + prefix + kKind + L"WINDOW_1\" template");
        return;
    }
    if (!showTemplates[0] && !showOnClickWindow_) {
        refuse(L"element 1 has no show window (no \"" + prefix + kKind +
               L"WINDOW_SHOW_1\" and \"SHOW_ON_IS_CLICK_ON\" off)");
        return;
    }

    frame.cloneFrame();
    window.adopt(frame.main);
    barParent = frame.foreground;
    for (std::size_t n = 1; n <= kMaxLayers; ++n)
        if (!minigame::adopt(window.get(), minigame::cloneOf(frame.part(L"HG_" + std::to_wstring(n))))) break;
    for (std::size_t i = 0; i < elementTemplates.size(); ++i) {
        Orvex::GUIWindow* element = minigame::cloneOf(elementTemplates[i]);
        element->leftClicked.connect(this, &Sequenz::onElementClick);
        minigame::adopt(window.get(), element);
        elements_.push_back(element);
        Orvex::GUIWindow* show = minigame::cloneOf(showTemplates[i]);
        if (show)
            minigame::adopt(window.get(), show);
        else
            show = showOnClickWindow_ ? element : showWindows_.back();
        showWindows_.push_back(show);
        particles_.push_back(particles[i]);
    }
    for (std::size_t n = 1; n <= kMaxLayers; ++n)
        if (!minigame::adopt(window.get(), minigame::cloneOf(frame.part(L"VG_" + std::to_wstring(n))))) break;
    wrongSign_ = minigame::cloneOf(frame.part(L"FALSCH"));
    if (wrongSign_ && !minigame::adopt(window.get(), wrongSign_)) wrongSign_ = nullptr;
    playWindow_ = minigame::cloneOf(play);
    if (playWindow_ && !minigame::adopt(window.get(), playWindow_)) playWindow_ = nullptr;
    frame.addButtons(*this, frame.container());
    frame.addForeground();
}

void Sequenz::refuse(std::wstring const& why) const {
    minigame::logProblemAt(definitionLine_, L"Sequenz \"" + getName() + L"\": " + why + L"; the game can only be skipped");
}

void Sequenz::start() {
    Minispiel::start();
    if (wrongSign_) wrongSign_->jumpToGoal(L"AUS");
    length_ = minLength_ - 1;
    newSequence(kNewSequenceDelay);
}

void Sequenz::newSequence(float delay) {
    ++length_;
    int const count = static_cast<int>(elements_.size());
    sequence_.assign(length_, 0);
    for (unsigned& element : sequence_) element = static_cast<unsigned>(Orvex::randomInt(0, count));
    beginDemonstration(delay);
    inputPosition_ = 0;
}

void Sequenz::beginDemonstration(float delay) {
    inputPhase_ = false;
    clearPending_ = goalAnimation_ && inputPosition_ > 0;
    shownIndex_ = -1;
    gapDone_ = false;
    demoDelay_ = delay;
    // A lit answer is seen for a step, as a shown element is; the pause follows on a dark board.
    stepTimer_ = clearPending_ ? 0.0f : showTime_ - delay;
    toGoal(playWindow_, L"AN", kPlayOnSpeed);
}

bool Sequenz::nextStepRepeatsWindow() const {
    Orvex::GUIWindow const* now = showWindowAt(shownIndex_);
    return now && now == showWindowAt(shownIndex_ + 1);
}

double Sequenz::goalSpeed() const {
    // An animation of no length reaches its goal at once (a speed factor of 0).
    double const length = static_cast<double>(goalShare_) * showTime_;
    return length > 0.0 ? 1.0 / length : 0.0;
}

Orvex::GUIWindow* Sequenz::showWindowAt(int position) const {
    if (position < 0 || static_cast<std::size_t>(position) >= sequence_.size()) return nullptr;
    unsigned const e = sequence_[static_cast<std::size_t>(position)];
    return e < showWindows_.size() ? showWindows_[e] : nullptr;
}

void Sequenz::update(double const& dt) {
    // The pause before a demonstration counts once the help is off the screen, not while it fades.
    if (!inputPhase_ && !solved && !MinispielManager::instance().isHelpOnScreen()) {
        stepTimer_ += static_cast<float>(dt);
        bool const shownInSequence = shownIndex_ >= 0 && static_cast<std::size_t>(shownIndex_) < sequence_.size();
        if (goalAnimationBefore_ && goalAnimation_ && shownInSequence &&
            stepTimer_ >= showTime_ - goalShare_ * showTime_)
            toGoal(showWindowAt(shownIndex_), L"AUS", goalSpeed());
        if (stepTimer_ >= showTime_) {
            if (clearPending_) {
                if (goalAnimation_)
                    for (Orvex::GUIWindow* show : showWindows_) toGoal(show, L"AUS", goalSpeed());
                clearPending_ = false;
                stepTimer_ = showTime_ - demoDelay_;
            } else if (!gapDone_ && nextStepRepeatsWindow()) {
                // Lit twice in a row, the window goes dark in between so that both are seen.
                if (goalAnimation_) toGoal(showWindowAt(shownIndex_), L"AUS", goalSpeed());
                endParticle();
                gapDone_ = true;
                bool const fadesNow = goalAnimation_ && !goalAnimationBefore_;
                stepTimer_ = showTime_ - kRepeatGap - (fadesNow ? goalShare_ * showTime_ : 0.0f);
            } else {
                gapDone_ = false;
                showNextStep(shownInSequence);
            }
        }
    }
    countDownEndDelay(dt);
}

void Sequenz::showNextStep(bool shownInSequence) {
    toGoal(wrongSign_, L"AUS", kWrongSignSpeed);
    if (!goalAnimationBefore_ && goalAnimation_ && shownInSequence) toGoal(showWindowAt(shownIndex_), L"AUS", goalSpeed());
    ++shownIndex_;
    endParticle();
    if (static_cast<std::size_t>(shownIndex_) < sequence_.size()) {
        lightUp(sequence_[static_cast<std::size_t>(shownIndex_)]);
        stepTimer_ = 0.0f;
        return;
    }
    inputPhase_ = true;
    inputPosition_ = 0;
    toGoal(playWindow_, L"AUS", kPlayOffSpeed);
}

void Sequenz::lightUp(unsigned e) {
    if (e >= showWindows_.size()) return;
    Orvex::GUIWindow* show = showWindows_[e];
    replay(*show);
    if (goalAnimation_) toGoal(show, L"AN", goalSpeed());
    std::wstring const& name = particles_[e];
    if (name.empty()) return;
    Orvex::FRect const r = show->getScreenRect();
    D3DXVECTOR2 const centre((r.left + r.right) * 0.5f, (r.top + r.bottom) * 0.5f);
    SolPartikelManager& particleManager = SolPartikelManager::instance();
    SolPartikel* started = nullptr;
    if (particleManager.findEmitterTemplate(name)) {
        // The manager's emitter start (its spawn rate follows the particle setting).
        started = particleManager.spawn(name, centre);
    } else if (SolPartikel const* found = particleManager.findParticleTemplate(name)) {
        started = found->clone();
        started->start(centre, nullptr);
        currentParticle_.hold(started);
        particleManager.add(started);
        return;
    }
    currentParticle_.hold(started);
}

void Sequenz::endParticle() {
    if (!currentParticle_) return;
    currentParticle_->setFinished(true);
    currentParticle_.reset();
}

void Sequenz::onElementClick(Orvex::GUIWindow& element) {
    if (!inputPhase_ || solved) return;
    auto const at = std::find(elements_.begin(), elements_.end(), &element);
    unsigned const index = at == elements_.end() ? 0u : static_cast<unsigned>(at - elements_.begin());
    bool const right = inputPosition_ < sequence_.size() && index == sequence_[inputPosition_];
    if (!right) {
        MinispielManager::instance().moveWrong.emit(*this);
        toGoal(wrongSign_, L"AN", kWrongSignSpeed);
        beginDemonstration(kReplayDelay);
        return;
    }
    replay(element);
    if (goalAnimation_) {
        if (inputPosition_ > 0) toGoal(showWindowAt(static_cast<int>(inputPosition_) - 1), L"AUS", goalSpeed());
        toGoal(showWindowAt(static_cast<int>(inputPosition_)), L"AN", goalSpeed());
    }
    ++inputPosition_;
    if (inputPosition_ < sequence_.size()) return;
    if (length_ > maxLength_)
        setSolved();
    else
        newSequence(kNewSequenceDelay);
}

void Sequenz::draw() {}

}  // namespace Solitaire
