// The memory game: its pairs, the deal, the turns and the cards' drawing.
#include "game/minigames/Memory.h"

#include "engine/core/XMLNode.h"
#include "engine/gui/GUIWindow.h"
#include "engine/render/Texture2DAnimation.h"
#include "game/minigames/ClickGameWindows.h"
#include "game/minigames/FieldDrawing.h"
#include "game/minigames/FieldPictures.h"
#include "game/minigames/MinispielKeys.h"
#include "game/minigames/MinispielManager.h"
#include "game/minigames/MinispielTemplates.h"
#include "port/crt/crt.h"

namespace Solitaire {

namespace {

// The last pair id given out: ids count the templates of every definition the program reads.
int& lastPairId() {
    static int last = 0;
    return last;
}


}  // namespace

// ---- cards ----

Memory::Teil::Teil(Orvex::XMLNode& node, int id) : pairId(id) {
    front.adopt(minigame::animationCopy(node, L"ANIMATION"));
    secondFront.adopt(minigame::animationCopy(node, L"ANIMATION_2"));
    back.adopt(minigame::animationCopy(node, L"ANIMATION_BACK"));
}

Memory::Teil::Teil(Teil const& card, bool second)
    : pairId(card.pairId),
      front(minigame::ownCopy(card.front.get())),
      secondFront(minigame::ownCopy(card.secondFront.get())),
      back(minigame::ownCopy(card.back.get())),
      secondFace(second),
      cell(card.cell),
      faceUp(card.faceUp) {}

Memory::Teil::~Teil() = default;

Orvex::Texture2DAnimation* Memory::Teil::shownPicture() const {
    if (!faceUp) return back.get();
    return (secondFace && secondFront ? secondFront : front).get();
}

void Memory::Teil::update(double dt) {
    for (Orvex::Texture2DAnimation* picture : {front.get(), secondFront.get(), back.get()})
        if (picture) picture->update(dt);
}

// ---- the game ----

Memory::Memory(Orvex::XMLNode& element) : Minispiel(element) {
    minigame::readChildren(element, L"MEMORY_TEIL", kMaxPairs, L"pairs", [&](Orvex::XMLNode& child) {
        templates_.push_back(std::make_unique<Teil>(child, ++lastPairId()));
    });
    if (templates_.empty()) minigame::logProblem(element, L"no \"MEMORY_TEIL\"; the game can only be skipped");
    minigame::readCount(element, L"SPALTEN", columns_, 1, kMaxColumns);
    rows_ = rowsFor(templates_.size() * 2);
}

Memory::~Memory() {
    cards_.clear();
    templates_.clear();
}

int Memory::rowsFor(std::size_t cards) const {
    std::size_t const columns = static_cast<std::size_t>(columns_);
    return static_cast<int>((cards + columns - 1) / columns);
}

void Memory::createWindows() {
    if (!window && isPlayable()) {
        ClickGameWindows frame(prefix, kKind);
        frame.lookUp(true);
        Orvex::GUIWindow* field = frame.part(L"SPIELFELD");
        if (frame.main && field) {
            frame.cloneFrame();
            window.adopt(frame.main);
            barParent = frame.foreground;
            field_ = minigame::cloneOf(field);
            // Cells of the pictures' proportions: the height of columns : rows divided by them.
            float const aspect = getPictureAspect(*templates_.front());
            minigame::setFieldAspect(*field_, static_cast<float>(columns_) * aspect, static_cast<float>(rows_));
            field_->leftClicked.connect(this, &Memory::onSpielClicked);
            field_->selfDrawn.connect(this, &Memory::onFieldDrawn);
            if (!minigame::adopt(window.get(), field_)) field_ = nullptr;
            frame.addButtons(*this, frame.container());
            frame.addForeground();
        }
    }
}

void Memory::start() {
    Minispiel::start();
    first_ = second_ = nullptr;
    wrongPairTimer_ = 0.0f;
    unfound_.clear();
    cards_.clear();
    for (std::unique_ptr<Teil> const& pair : templates_) {
        cards_.push_back(std::make_unique<Teil>(*pair, false));
        cards_.push_back(std::make_unique<Teil>(*pair, true));
    }
    msvc::random_shuffle(cards_.begin(), cards_.end());
    rows_ = rowsFor(cards_.size());
    float const columns = static_cast<float>(columns_);
    float const rows = static_cast<float>(rows_);
    for (std::size_t i = 0; i < cards_.size(); ++i) {
        float const c = static_cast<float>(i % static_cast<std::size_t>(columns_));
        float const r = static_cast<float>(i / static_cast<std::size_t>(columns_));
        cards_[i]->cell = Orvex::FRect(c / columns, r / rows, (c + 1.0f) / columns, (r + 1.0f) / rows);
        unfound_.push_back(cards_[i].get());
    }
}

void Memory::turnBack() {
    if (first_) first_->faceUp = false;
    if (second_) second_->faceUp = false;
    first_ = second_ = nullptr;
    wrongPairTimer_ = 0.0f;
}

void Memory::update(double const& dt) {
    for (std::unique_ptr<Teil> const& card : cards_) card->update(dt);
    if (wrongPairTimer_ > 0.0f) {
        wrongPairTimer_ -= static_cast<float>(dt);
        if (wrongPairTimer_ <= 0.0f) turnBack();
    }
    countDownEndDelay(dt);
}

void Memory::draw() {}

Orvex::SpriteRect Memory::getCardRect(Orvex::FRect const& cell) const {
    if (!field_ || rows_ < 1) return Orvex::SpriteRect();
    return minigame::boxIn(field_->getScreenRect(), cell.left, cell.top, 1.0f / static_cast<float>(columns_),
                           1.0f / static_cast<float>(rows_));
}

float Memory::getPictureAspect(Teil const& card) {
    Orvex::Texture2DAnimation* picture = (card.front ? card.front : card.back).get();
    Orvex::AnimationFrame const* frame = picture ? picture->getCurrentFrame() : nullptr;
    if (!frame) return 1.0f;
    float const width = static_cast<float>(frame->rect.right - frame->rect.left);
    float const height = static_cast<float>(frame->rect.bottom - frame->rect.top);
    return width > 0.0f && height > 0.0f ? width / height : 1.0f;
}

void Memory::onSpielClicked(Orvex::GUIWindow&) {
    if (solved) return;
    // A wrong pair still shown turns back at once; this click starts the next try.
    if (wrongPairTimer_ > 0.0f && first_ && second_) turnBack();
    D3DXVECTOR2 const point = minigame::pointerPosition();
    for (Teil* card : unfound_) {
        if (!Orvex::makeQuad(getCardRect(card->cell)).containsPoint(point)) continue;
        if (!first_) {
            first_ = card;
            card->faceUp = true;
            return;
        }
        if (second_ || card == first_) continue;
        second_ = card;
        card->faceUp = true;
        MinispielManager& manager = MinispielManager::instance();
        if (second_->pairId != first_->pairId) {
            wrongPairTimer_ = kWrongPairTime;
            manager.moveWrong.emit(*this);
            return;
        }
        std::erase_if(unfound_, [this](Teil* t) { return t == first_ || t == second_; });
        if (unfound_.empty()) setSolved();
        first_ = second_ = nullptr;
        wrongPairTimer_ = 0.0f;
        manager.moveMade.emit(*this);
        return;
    }
}

void Memory::onFieldDrawn(Orvex::GUIWindow& drawnWindow, bool const& drawn) {
    if (!drawn) return;
    D3DCOLOR const colour = minigame::whiteWithRoundedAlpha(drawnWindow.getAccumulatedAlpha());
    for (std::unique_ptr<Teil> const& card : cards_)
        if (Orvex::Texture2DAnimation* picture = card->shownPicture())
            minigame::drawPicture(picture, nullptr, getCardRect(card->cell), colour);
}

}  // namespace Solitaire
