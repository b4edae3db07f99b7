// The turning-tiles game: its keys, tiles, windows, the turns and the tiles' drawing.
#include "game/minigames/Drehbild.h"

#include <cmath>

#include "engine/core/XMLAttribute.h"
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
#include "port/win32/kernel.h"

namespace Solitaire {

namespace {

std::function<Orvex::u32()>& tickClock() {
    static std::function<Orvex::u32()> clock;
    return clock;
}

}  // namespace

// ---- tiles ----

Drehbild::Teil::Teil(Drehbild& game, int c, int r, Orvex::Texture2DAnimation* tilePicture)
    : rotation(0.0f), owner(&game) {
    picture.hold(tilePicture);
    float const columns = static_cast<float>(game.columns_);
    float const rows = static_cast<float>(game.rows_);
    part = Orvex::FRect(static_cast<float>(c) / columns, static_cast<float>(r) / rows,
                        static_cast<float>(c + 1) / columns, static_cast<float>(r + 1) / rows);
    rotation.running = true;
}

// Out of line: the picture's class is complete here.
Drehbild::Teil::~Teil() = default;

bool Drehbild::Teil::hitTest(D3DXVECTOR2 const& point) const {
    return Orvex::makeQuad(owner->getTileRect(part, rotation.current)).containsPoint(point);
}

void Drehbild::Teil::turn(float quarterTurns) {
    rotation.start = rotation.current;
    rotation.goal += quarterTurns * kQuarterTurn;
    rotation.t = 0.0f;
    rotation.speed = kTurnSpeed;
    rotation.running = true;
}

// ---- the game ----

void Drehbild::setTickClock(std::function<Orvex::u32()> clock) { tickClock() = std::move(clock); }

Orvex::u32 Drehbild::tickCount() {
    std::function<Orvex::u32()> const& clock = tickClock();
    return clock ? clock() : GetTickCount();
}

Drehbild::Drehbild(Orvex::XMLNode& element) : Minispiel(element) {
    picture_.adopt(minigame::animationCopy(element, L"ANIMATION"));
    useAnimationRatio_ = element.getAttributeBool(L"USE_ANIM_VERH", false);
    minigame::readCountPair(element, L"SIZE", columns_, rows_, 1, kMaxSide);
}

Drehbild::~Drehbild() {
    tiles_.clear();
}

void Drehbild::createWindows() {
    if (tiles_.empty())
        for (int c = 0; c < columns_; ++c)
            for (int r = 0; r < rows_; ++r) tiles_.push_back(std::make_unique<Teil>(*this, c, r, picture_.get()));
    if (!window) {
        ClickGameWindows frame(prefix, kKind);
        frame.lookUp(true);
        Orvex::GUIWindow* field = frame.part(L"SPIELFELD");
        Orvex::GUIWindow* fieldBack = frame.part(L"SPIELFELD_HG");
        if (frame.main && field) {
            frame.cloneFrame();
            window.adopt(frame.main);
            barParent = frame.foreground;
            field_ = minigame::cloneOf(field);
            float width = static_cast<float>(columns_);
            float height = static_cast<float>(rows_);
            Orvex::AnimationFrame const* shown = picture_ ? picture_->getCurrentFrame() : nullptr;
            if (shown && useAnimationRatio_) {
                width = Orvex::frameSpan(shown->rect.left, shown->rect.right);
                height = Orvex::frameSpan(shown->rect.top, shown->rect.bottom);
            }
            minigame::setFieldAspect(*field_, width, height);
            field_->leftClicked.connect(this, &Drehbild::onSpielClicked);
            field_->rightClicked.connect(this, &Drehbild::onSpielRightClicked);
            field_->selfDrawn.connect(this, &Drehbild::onFieldDrawn);
            if (Orvex::GUIWindow* back = minigame::cloneOf(fieldBack)) {
                if (!minigame::adopt(back, field_)) field_ = nullptr;
                minigame::adopt(window.get(), back);
            } else if (!minigame::adopt(window.get(), field_)) {
                field_ = nullptr;
            }
            frame.addButtons(*this, frame.container());
            frame.addForeground();
        }
    }
}

void Drehbild::start() {
    Minispiel::start();
    msvc::srand(tickCount());
    for (std::unique_ptr<Teil> const& tile : tiles_) {
        int const turns = msvc::rand() % 4;
        for (int i = 0; i < turns; ++i) {
            float const angle = tile->rotation.goal + kQuarterTurn;
            tile->rotation.set(angle, angle, 1.0f);
        }
    }
}

void Drehbild::update(double const& dt) {
    float const step = static_cast<float>(dt);
    for (std::unique_ptr<Teil> const& tile : tiles_) tile->rotation.update(step);
    countDownEndDelay(dt);
}

void Drehbild::draw() {}

Orvex::SpriteRect Drehbild::getTileRect(Orvex::FRect const& part, float degrees) const {
    if (!field_) return Orvex::SpriteRect();
    return minigame::boxIn(field_->getScreenRect(), part.left, part.top, 1.0f / static_cast<float>(columns_),
                           1.0f / static_cast<float>(rows_), degrees);
}

bool Drehbild::isSolved() const {
    for (std::unique_ptr<Teil> const& tile : tiles_) {
        float const r = std::fmod(tile->rotation.goal, 360.0f);
        if (!(std::fabs(r) < kUprightTolerance || std::fabs(360.0f - r) < kUprightTolerance)) return false;
    }
    return true;
}

void Drehbild::turnAtPointer(Orvex::GUIWindow& clicked, float quarterTurns) {
    if (&clicked != field_ || solved) return;
    D3DXVECTOR2 const point = minigame::pointerPosition();
    for (std::unique_ptr<Teil> const& tile : tiles_) {
        if (!tile->hitTest(point)) continue;
        tile->turn(quarterTurns);
        if (isSolved()) setSolved();
        MinispielManager::instance().moveMade.emit(*this);
        return;
    }
    MinispielManager::instance().moveWrong.emit(*this);
}

void Drehbild::onSpielClicked(Orvex::GUIWindow& clicked) { turnAtPointer(clicked, 1.0f); }

void Drehbild::onSpielRightClicked(Orvex::GUIWindow& clicked) { turnAtPointer(clicked, -1.0f); }

void Drehbild::onFieldDrawn(Orvex::GUIWindow& drawnWindow, bool const& drawn) {
    if (!drawn) return;
    D3DCOLOR const colour = minigame::whiteWithRoundedAlpha(drawnWindow.getAccumulatedAlpha());
    for (std::unique_ptr<Teil> const& tile : tiles_) {
        Orvex::AnimationFrame const* frame = tile->picture ? tile->picture->getCurrentFrame() : nullptr;
        if (!frame) continue;
        // The tile's part of the current frame, in whole pixels toward zero.
        float const fw = Orvex::frameSpan(frame->rect.left, frame->rect.right);
        float const fh = Orvex::frameSpan(frame->rect.top, frame->rect.bottom);
        auto const edge = [](LONG origin, float share, float span) {
            return static_cast<LONG>(static_cast<float>(origin) + std::trunc(share * span));
        };
        RECT const source{edge(frame->rect.left, tile->part.left, fw), edge(frame->rect.top, tile->part.top, fh),
                          edge(frame->rect.left, tile->part.right, fw), edge(frame->rect.top, tile->part.bottom, fh)};
        minigame::drawPicture(tile->picture.get(), &source, getTileRect(tile->part, tile->rotation.current), colour);
    }
}

}  // namespace Solitaire
