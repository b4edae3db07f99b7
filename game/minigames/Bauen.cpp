// The building game: its keys, windows, the scatter of a new attempt, the board's frames and the
// pieces' pictures.
#include "game/minigames/Bauen.h"

#include <cmath>

#include "engine/core/XMLAttribute.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/GUIWindow.h"
#include "engine/render/Texture2DAnimation.h"
#include "game/minigames/ApartPlacer.h"
#include "game/minigames/ClickGameWindows.h"
#include "game/minigames/FieldDrawing.h"
#include "game/minigames/MinispielFrame.h"
#include "game/minigames/MinispielKeys.h"
#include "game/minigames/MinispielManager.h"
#include "game/minigames/MinispielTemplates.h"
#include "port/crt/crt.h"

namespace Solitaire {

namespace {

// "SIZE" of one or two whole numbers (one for both sides), each 1 to hi: true with the sides set;
// otherwise one log line ending in `refused` and the sides left as they are.
bool readSides(Orvex::XMLNode const& node, int& columns, int& rows, int hi, wchar_t const* refused) {
    Orvex::XMLAttribute const* size = node.getAttribute(L"SIZE");
    if (!size) {
        minigame::logProblem(node, std::wstring(L"no \"SIZE\"; ") + refused);
        return false;
    }
    Orvex::XMLValueTokens const parts = size->split(L" ");
    int const c = parts.size() > 0 ? parts.get(0)->getInt() : 0;
    int const r = parts.size() > 1 ? parts.get(1)->getInt() : c;
    if (c < 1 || r < 1 || c > hi || r > hi) {
        minigame::logProblem(node, L"\"SIZE\" value \"" + size->getStringCopy() + L"\" is not 1 to " +
                                       std::to_wstring(hi) + L" cells a side; " + refused);
        return false;
    }
    columns = c;
    rows = r;
    return true;
}

float randomShare() { return static_cast<float>(msvc::rand()) / static_cast<float>(msvc::kRandMax); }

}  // namespace

// ---- pieces ----

Bauen::Objekt::Objekt(Orvex::XMLNode& node, Bauen& game) : owner(&game) {
    if (!readSides(node, columns, rows, kMaxPieceSide, L"the piece is skipped")) return;
    cells.assign(static_cast<std::size_t>(columns * rows), 0);
    if (Orvex::XMLAttribute const* values = node.getAttribute(L"WERTE")) {
        Orvex::XMLValueTokens const parts = values->split(L" ");
        bool logged = false;
        for (std::size_t i = 0; i < parts.size() && i < cells.size(); ++i) {
            int const value = parts.get(i)->getInt();
            cells[i] = value & kFullCell;
            if ((value < 0 || value > kFullCell) && !logged) {
                logged = true;
                minigame::logProblem(node, L"\"WERTE\" value " + std::to_wstring(value) +
                                               L" lies outside 0 to 15; its four quarter bits are kept");
            }
        }
    }
    picture.adopt(minigame::animationCopy(node, L"ANIMATION"));
}

// Out of line: the picture's class is complete here.
Bauen::Objekt::~Objekt() = default;

void Bauen::Objekt::draw(D3DXCOLOR const& colour) const {
    if (picture) minigame::drawPicture(picture.get(), nullptr, owner->getBoxRect(*this), static_cast<D3DCOLOR>(colour));
}

// ---- the game ----

Bauen::Bauen(Orvex::XMLNode& element) : Minispiel(element) {
    minigame::readChildren(element, L"OBJEKT", kMaxPieces, L"pieces", [&](Orvex::XMLNode& child) {
        auto piece = std::make_unique<Objekt>(child, *this);
        if (piece->columns > 0) pieces_.push_back(std::move(piece));
    });
    playable_ = readSides(element, boardColumns_, boardRows_, kMaxBoardSide,
                          L"the game has no board and can only be skipped");
    background_.adopt(minigame::animationCopy(element, L"BACKGROUND"));
    minigame::readPair(element, L"SPACE", extent_.x, extent_.y, kMinSpace, 1.0);
}

Bauen::~Bauen() {
    pieces_.clear();
}

void Bauen::createWindows() {
    origin_ = D3DXVECTOR2((1.0f - extent_.x) * 0.5f, (1.0f - extent_.y) * 0.5f);
    if (!window && playable_) {
        ClickGameWindows frame(prefix, kKind);
        frame.lookUp(false);
        Orvex::GUIWindow* field = frame.part(L"SPIELFELD");
        if (frame.main && field) {
            frame.cloneFrame();
            window.adopt(frame.main);
            field_ = minigame::cloneOf(field);
            float width = 1.0f;
            float height = 1.0f;
            if (Orvex::AnimationFrame const* picture = background_ ? background_->getCurrentFrame() : nullptr) {
                width = Orvex::frameSpan(picture->rect.left, picture->rect.right);
                height = Orvex::frameSpan(picture->rect.top, picture->rect.bottom);
                minigame::showFrameAsBackground(*field_, background_.get());
                field_->getDrawOptions().setBackDrawType(Orvex::SDP_SCALE, Orvex::SDP_SCALE);
            }
            minigame::setFieldAspect(*field_, width, height);
            field_->selfDrawn.connect(this, &Bauen::onFieldDrawn);
            if (!minigame::adopt(window.get(), field_)) field_ = nullptr;
            frame.addButtons(*this, window.get());
        }
    }
    grid_.assign(static_cast<std::size_t>(boardColumns_ * boardRows_), 0);
}

void Bauen::start() {
    Minispiel::start();
    dragged_ = nullptr;
    if (!playable_) return;
    // Beside the board and apart from each other, on the board's grid: a piece the player sees
    // whole and takes to the board.
    ApartPlacer placer;
    placer.keepClear(Orvex::FRect(origin_.x, origin_.y, origin_.x + extent_.x, origin_.y + extent_.y));
    D3DXVECTOR2 const cell(extent_.x / static_cast<float>(boardColumns_), extent_.y / static_cast<float>(boardRows_));
    for (std::unique_ptr<Objekt> const& piece : pieces_) {
        Objekt& each = *piece;
        D3DXVECTOR2 const size(cell.x * static_cast<float>(each.columns), cell.y * static_cast<float>(each.rows));
        // The grid line nearest a share of the room the piece has on that axis.
        auto onGrid = [](float share, float room, float origin, float step) {
            return origin + std::round((share * room - origin) / step) * step;
        };
        ApartPlacer::Place const chosen = placer.place([&] {
            // Two draws a try, x first.
            float const px = onGrid(1.0f - randomShare(), 1.0f - size.x, origin_.x, cell.x);
            float const py = onGrid(1.0f - randomShare(), 1.0f - size.y, origin_.y, cell.y);
            place(each, px, py);
            return ApartPlacer::Place{D3DXVECTOR2(each.x, each.y),
                                      Orvex::FRect(each.x, each.y, each.x + size.x, each.y + size.y)};
        });
        place(each, chosen.at.x, chosen.at.y);
        snap(each);
    }
}

void Bauen::update(double const& dt) {
    if (background_) background_->update(dt);
    for (std::unique_ptr<Objekt> const& piece : pieces_)
        if (piece->picture) piece->picture->update(dt);
    countDownEndDelay(dt);
}

void Bauen::draw() {}

Orvex::SpriteRect Bauen::getBoxRect(D3DXVECTOR2 const& position, int columns, int rows) const {
    if (!field_ || !playable_) return Orvex::SpriteRect();
    float const w = static_cast<float>(columns) / static_cast<float>(boardColumns_) * extent_.x;
    float const h = static_cast<float>(rows) / static_cast<float>(boardRows_) * extent_.y;
    return minigame::boxIn(field_->getScreenRect(), position.x, position.y, w, h);
}

Orvex::SpriteRect Bauen::getBoxRect(Objekt const& piece) const {
    return getBoxRect(D3DXVECTOR2(piece.x, piece.y), piece.columns, piece.rows);
}

Orvex::SpriteRect Bauen::getCellRect(Objekt const& piece, int c, int r) const {
    if (!playable_) return Orvex::SpriteRect();
    D3DXVECTOR2 const corner(piece.x + static_cast<float>(c) * extent_.x / static_cast<float>(boardColumns_),
                             piece.y + static_cast<float>(r) * extent_.y / static_cast<float>(boardRows_));
    return getBoxRect(corner, 1, 1);
}

void Bauen::onFieldDrawn(Orvex::GUIWindow& drawnWindow, bool const& drawn) {
    if (!drawn) return;
    D3DXCOLOR const colour(1.0f, 1.0f, 1.0f, static_cast<float>(drawnWindow.getAccumulatedAlpha()));
    if (background_ && playable_) {
        MinispielFrame frame;
        frame.border = kCellBorder;
        frame.colourA = kCellBody;
        frame.colourC = kCellEdge;
        frame.row = kCellStyleRow;
        for (int c = 0; c < boardColumns_; ++c)
            for (int r = 0; r < boardRows_; ++r) {
                D3DXVECTOR2 const corner(origin_.x + static_cast<float>(c) / boardColumns_ * extent_.x,
                                         origin_.y + static_cast<float>(r) / boardRows_ * extent_.y);
                Orvex::FRect const box = Orvex::boundingRectOfSpriteRect(getBoxRect(corner, 1, 1));
                frame.rect = RECT{static_cast<LONG>(std::trunc(box.left)), static_cast<LONG>(std::trunc(box.top)),
                                  static_cast<LONG>(std::trunc(box.right)), static_cast<LONG>(std::trunc(box.bottom))};
                MinispielManager::instance().styledFrameRequested.emit(frame);
            }
    }
    for (std::unique_ptr<Objekt> const& piece : pieces_) piece->draw(colour);
}

}  // namespace Solitaire
