// The jigsaw: its pieces, the definition, the windows and a new deal.
#include "game/minigames/Puzzle.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/core/XMLAttribute.h"
#include "engine/core/XMLNode.h"
#include "engine/core/Utils.h"
#include "engine/gui/GUIRect.h"
#include "engine/gui/GUIWindow.h"
#include "engine/render/Texture2DAnimation.h"
#include "game/minigames/ApartPlacer.h"
#include "game/minigames/ClickGameWindows.h"
#include "game/minigames/FieldPictures.h"
#include "game/minigames/MinispielKeys.h"
#include "game/minigames/MinispielTemplates.h"
#include "port/crt/crt.h"

namespace Solitaire {

namespace {

// Every piece read from data takes the next id; copies keep their template's. Ids are compared
// only within one game, so one counter for the program does.
Orvex::u32 nextPieceId() {
    static Orvex::u32 counter = 0;
    return ++counter;
}



}  // namespace

// ---- pieces ----

Puzzle::PuzzleTeil::PuzzleTeil(Puzzle* game, Orvex::XMLNode& node) : id(nextPieceId()), owner(game) {
    position.running = true;
    picture.adopt(minigame::animationCopy(node, L"ANIMATION"));
    if (Orvex::AnimationFrame const* frame = picture ? picture->getCurrentFrame() : nullptr) {
        width = static_cast<float>(frame->rect.right - frame->rect.left);
        height = static_cast<float>(frame->rect.bottom - frame->rect.top);
    }
    foundPicture.adopt(minigame::animationCopy(node, L"ANIMATION_FOUND"));
    loosePicture.adopt(minigame::animationCopy(node, L"ANIMATION_NFOUND"));
    Orvex::GUIRect rect;
    if (Orvex::XMLNode const* r = node.getChild(L"GUIRECT")) rect.load(*r);
    statusWindow.adopt(minigame::windowFromTemplate(node, L"GUI"));
    if (statusWindow) statusWindow->getRect() = rect;
    float x = 0.0f;
    float y = 0.0f;
    minigame::readPair(node, L"POSITION", x, y);
    // A start position that is not a usable number leaves the piece to the scatter.
    float sx = std::numeric_limits<float>::quiet_NaN();
    float sy = sx;
    minigame::readPair(node, L"START_POSITION", sx, sy);
    hasStartPosition = !std::isnan(sx);
    if (hasStartPosition) {
        startX = sx;
        startY = sy;
    }
    minigame::readPair(node, L"SIZE", width, height, 0.0, Orvex::kMaxMeasure);
    shadow = node.getAttributeBool(L"SHADOW", shadow);
    D3DXVECTOR2 const reference = owner->getReferenceSize();
    width /= reference.x;
    height /= reference.y;
    moveTo(D3DXVECTOR2(x / reference.x, y / reference.y), 0.0);
}

Puzzle::PuzzleTeil::PuzzleTeil(PuzzleTeil const& other)
    : startX(other.startX),
      startY(other.startY),
      hasStartPosition(other.hasStartPosition),
      id(other.id),
      position(other.position),
      width(other.width),
      height(other.height),
      picture(minigame::ownCopy(other.picture.get())),
      owner(other.owner),
      loose(other.loose),
      shadow(other.shadow),
      foundPicture(minigame::ownCopy(other.foundPicture.get())),
      loosePicture(minigame::ownCopy(other.loosePicture.get())),
      statusWindow(Orvex::adoptRef(minigame::cloneOf(other.statusWindow.get()))) {
    showStatus();
}

Puzzle::PuzzleTeil::~PuzzleTeil() = default;

void Puzzle::PuzzleTeil::showStatus() {
    if (statusWindow) statusWindow->getDrawOptions().setAniBackground((loose ? loosePicture : foundPicture).get());
}

void Puzzle::PuzzleTeil::setLoose(bool value) {
    loose = value;
    showStatus();
}

void Puzzle::PuzzleTeil::moveTo(D3DXVECTOR2 const& goal, double speed) { minigame::glideTo(position, goal, speed); }

Orvex::SpriteRect Puzzle::PuzzleTeil::getSpriteRect() const {
    return minigame::fieldSpriteRect(minigame::fieldRect(owner ? owner->field_ : nullptr), position.current.x,
                                     position.current.y, width, height);
}

// ---- the game ----

Puzzle::Puzzle(Orvex::XMLNode& element) : Minispiel(element) {
    readKeys(element);
    readList(element, L"PUZZLE_TEIL", L"pieces", targets_);
    readList(element, L"PUZZLE_TEIL_FEST", L"fixed pieces", fixed_);
    readList(element, L"PUZZLE_TEIL_SINNLOS", L"decoys", decoys_);
    readList(element, L"PUZZLE_TEIL_ENDE", L"end pieces", ends_);
    if (targets_.empty())
        minigame::logProblem(element, L"mini-game \"" + getName() +
                                          L"\" has no PUZZLE_TEIL, so it can never be solved; it can only be skipped");
}

void Puzzle::readKeys(Orvex::XMLNode& element) {
    minigame::readPair(element, L"SIZE", reference_.x, reference_.y, kMinReference, Orvex::kMaxMeasure);
    if (Orvex::XMLAttribute const* colour = element.getAttribute(L"COLOR_ZIEL_HELP"))
        helpColour_ = D3DXCOLOR(static_cast<DWORD>(colour->getHex()));
    minigame::readNumber(element, L"MAX_DIST", maxDist_, 0.0, Orvex::kMaxMeasure);
    if (Orvex::XMLAttribute const* check = element.getAttribute(L"CHECK_ALPHA")) {
        Orvex::XMLValueTokens const parts = check->split(L" ");
        if (parts.size() > 0) alphaOnDrop_ = parts.get(0)->getBool();
        if (parts.size() > 1) alphaOnGrab_ = parts.get(1)->getBool();
    }
    // The area the pieces start in: left, top, right, bottom; those not given stay.
    float area[4] = {scatter_.left, scatter_.top, scatter_.right, scatter_.bottom};
    std::size_t given = 0;
    if (minigame::readMeasures(element, L"INTI_POS", area, given)) scatter_ = Orvex::FRect(area[0], area[1], area[2], area[3]);
}

void Puzzle::readList(Orvex::XMLNode& element, wchar_t const* name, wchar_t const* what,
                      Pieces& list) {
    minigame::readChildren(element, name, kMaxPieces, what,
                           [&](Orvex::XMLNode& child) { list.push_back(std::make_unique<PuzzleTeil>(this, child)); });
}

Puzzle::~Puzzle() {
    clearPieces();
    for (Pieces* list : {&targets_, &fixed_, &decoys_, &ends_}) list->clear();
}

void Puzzle::clearPieces() {
    held_ = nullptr;
    // Each copy's status window leaves the foreground before the copy goes.
    for (std::unique_ptr<PuzzleTeil>& piece : active_) {
        if (foreground_ && piece->statusWindow && piece->statusWindow->getParent() == foreground_)
            foreground_->removeChild(piece->statusWindow.get());
        piece.reset();
    }
    active_.clear();
}

void Puzzle::createWindows() {
    if (!window) {
        ClickGameWindows frame(prefix, kKind);
        frame.lookUp(true);
        Orvex::GUIWindow* field = frame.part(L"SPIELFELD");
        if (frame.main && field) {
            frame.cloneFrame();
            window.adopt(frame.main);
            foreground_ = frame.foreground;
            field_ = minigame::addField(window.get(), field, reference_.x, reference_.y);
            if (field_) field_->selfDrawn.connect(this, &Puzzle::onFieldDrawn);
            frame.addButtons(*this, frame.container());
            frame.addForeground();
        }
    }
}

void Puzzle::start() {
    Minispiel::start();
    clearPieces();
    for (std::unique_ptr<PuzzleTeil> const& target : targets_) {
        target->setLoose(true);
        PuzzleTeil& piece = *active_.emplace_back(std::make_unique<PuzzleTeil>(*target));
        if (foreground_) minigame::attach(foreground_, piece.statusWindow.get());
    }
    for (std::unique_ptr<PuzzleTeil> const& decoy : decoys_) {
        decoy->setLoose(true);
        active_.push_back(std::make_unique<PuzzleTeil>(*decoy));
    }
    for (std::unique_ptr<PuzzleTeil> const& piece : fixed_) piece->setLoose(true);
    // The pieces with a start place of their own first; the others scattered apart from them, from
    // each other and from the places and the frame they are to fill.
    ApartPlacer placer;
    for (std::unique_ptr<PuzzleTeil> const& place : targets_) placer.keepClear(fieldRectOf(*place));
    for (std::unique_ptr<PuzzleTeil> const& piece : fixed_) placer.keepClear(fieldRectOf(*piece));
    for (std::unique_ptr<PuzzleTeil> const& piece : active_)
        if (piece->hasStartPosition) {
            placeAtStartPosition(*piece);
            placer.take(fieldRectOf(*piece));
        }
    for (std::unique_ptr<PuzzleTeil> const& piece : active_)
        if (!piece->hasStartPosition) scatter(*piece, placer);
    endFade_ = 0.0f;
}

Orvex::FRect Puzzle::fieldRectOf(PuzzleTeil const& piece) {
    D3DXVECTOR2 const at = piece.getPosition();
    return Orvex::FRect(at.x, at.y, at.x + piece.width, at.y + piece.height);
}

void Puzzle::placeAtStartPosition(PuzzleTeil& piece) const {
    Orvex::FRect const field = minigame::fieldRect(field_);
    float const w = field.right - field.left;
    float const h = field.bottom - field.top;
    bool const usable = field_ && w != 0.0f && h != 0.0f;
    piece.moveTo(usable ? D3DXVECTOR2(piece.startX / w, piece.startY / h) : D3DXVECTOR2(piece.startX, piece.startY), 0.0);
}

void Puzzle::scatter(PuzzleTeil& piece, ApartPlacer& placer) const {
    ApartPlacer::Place const chosen = placer.place([&] {
        double const r1 = msvc::rand() / static_cast<double>(msvc::kRandMax);
        double const r2 = msvc::rand() / static_cast<double>(msvc::kRandMax);
        D3DXVECTOR2 const at(static_cast<float>(r1 * (scatter_.left - scatter_.right) + scatter_.right),
                             static_cast<float>(r2 * (scatter_.top - scatter_.bottom) + scatter_.bottom));
        return ApartPlacer::Place{at, Orvex::FRect(at.x, at.y, at.x + piece.width, at.y + piece.height)};
    });
    piece.moveTo(chosen.at, 0.0);
}

D3DXVECTOR2 Puzzle::toField(D3DXVECTOR2 const& point) const {
    Orvex::FRect const field = minigame::fieldRect(field_);
    float const w = field.right - field.left;
    float const h = field.bottom - field.top;
    if (!field_ || w == 0.0f || h == 0.0f) return point;
    return D3DXVECTOR2((point.x - field.left) / w, (point.y - field.top) / h);
}

D3DXVECTOR2 Puzzle::toScreen(D3DXVECTOR2 const& fraction) const {
    if (!field_) return fraction;
    Orvex::FRect const field = minigame::fieldRect(field_);
    return D3DXVECTOR2(Orvex::lerp(field.left, field.right, fraction.x),
                       Orvex::lerp(field.top, field.bottom, fraction.y));
}

bool Puzzle::allPlaced() const {
    return !targets_.empty() &&
           std::none_of(targets_.begin(), targets_.end(),
                        [](std::unique_ptr<PuzzleTeil> const& target) { return target->loose; });
}

}  // namespace Solitaire
