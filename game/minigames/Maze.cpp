// The maze game: its keys, the mask's problems, windows, the attempt and the frame.
#include "game/minigames/Maze.h"

#include <climits>

#include "engine/core/XMLAttribute.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/GUIWindow.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/Texture2D.h"
#include "engine/render/Texture2DAnimation.h"
#include "engine/render/TextureManager.h"
#include "game/minigames/FieldWindows.h"
#include "game/minigames/MinispielKeys.h"
#include "game/minigames/MinispielTemplates.h"

namespace Solitaire {

namespace {

// What is wrong with the built rooms, for the one log line of the definition.
void noteRoomProblems(Maze const& maze, int edges, std::vector<std::wstring>& problems) {
    if (maze.getRooms().empty()) {
        problems.push_back(L"the mask has no opaque pixel at any cell, so the maze has no rooms");
        return;
    }
    if (edges < Maze::kGridEdges)
        problems.push_back(L"rooms of " + std::to_wstring(edges) +
                           L" sides (\"EDGES\") do not pair right with left and down with up; walls and walks "
                           L"follow the links as they are");
    if (!maze.getStartRoom()) problems.push_back(L"the mask has no green pixel, so there is no start room");
    if (!maze.getGoalRoom()) problems.push_back(L"the mask has no blue pixel, so there is no goal room");
}

std::wstring joined(std::vector<std::wstring> const& parts) {
    std::wstring out;
    for (std::wstring const& part : parts) out += (out.empty() ? L"" : L"; ") + part;
    return out;
}

}  // namespace

Maze::Maze(Orvex::XMLNode& element) : Minispiel(element) {
    if (Orvex::XMLNode* room = element.getChild(L"RAUM")) prototype_ = std::make_unique<Raum>(*room, this);
    int columns = static_cast<int>(kDefaultGridSide);
    int rows = columns;
    minigame::readPair(element, L"SIZE", columns, rows, 1, kMaxGridSide);
    gridSize_ = D3DXVECTOR2(static_cast<float>(columns), static_cast<float>(rows));
    background_.adopt(minigame::animationCopy(element, L"BACKGROUND"));
    minigame::readCount(element, L"DRAW_MODE", drawMode_, INT_MIN, INT_MAX);
    minigame::readCount(element, L"KREUZUNGEN", crossings_, 0, kMaxCrossings);
    fast_ = element.getAttributeBool(L"FAST", fast_);
    multipleGoals_ = element.getAttributeBool(L"MULTIPLE_GOALS", multipleGoals_);

    std::vector<std::wstring> problems;
    Orvex::XMLAttribute const* maskName = element.getAttribute(L"TEXTUR");
    Orvex::Texture2D* mask =
        maskName ? Orvex::D3DInterface::getInstance().getTextureManager().findTexture(maskName->getStringCopy())
                 : nullptr;
    std::vector<D3DXCOLOR> cells;
    if (!prototype_) {
        problems.push_back(L"no \"RAUM\" element, so the maze has no rooms");
    } else if (!maskName) {
        problems.push_back(L"no mask (\"TEXTUR\"), so the maze has no rooms");
    } else if (!mask) {
        problems.push_back(L"the mask \"" + maskName->getStringCopy() + L"\" is no texture, so the maze has no rooms");
    } else if (!sampleMask(*mask, columns, rows, cells)) {
        problems.push_back(L"the mask \"" + maskName->getStringCopy() +
                           L"\" cannot be read, so the maze has no rooms");
    } else {
        buildRooms(columns, rows, cells);
        if (mask->getWidth() < static_cast<Orvex::u32>(columns) || mask->getHeight() < static_cast<Orvex::u32>(rows))
            problems.push_back(L"the mask \"" + maskName->getStringCopy() + L"\" of " +
                               std::to_wstring(mask->getWidth()) + L" x " + std::to_wstring(mask->getHeight()) +
                               L" pixels is smaller than the grid of " + std::to_wstring(columns) + L" x " +
                               std::to_wstring(rows) + L" rooms, so rooms share its pixels");
        noteRoomProblems(*this, prototype_->edgeCount, problems);
    }
    if (!problems.empty()) minigame::logProblem(element, L"maze \"" + getName() + L"\": " + joined(problems));

    fontName_ = element.getAttributeString(L"FONTNAME", fontName_);
    fontStyle_ = element.getAttributeString(L"FONTSTYLE", fontStyle_);
}

Maze::~Maze() {
    destroyRooms();
    destroyGroups();
}

void Maze::createWindows() {
    if (!window) {
        minigame::FieldWindows const windows =
            minigame::buildFieldWindows(*this, kKind, minigame::frameAspect(background_.get()), false);
        window.adopt(windows.main);
        field_ = windows.field;
        if (field_) field_->selfDrawn.connect(this, &Maze::onFieldDrawn);
    }
}

void Maze::start() {
    Minispiel::start();
    generate();
}

void Maze::update(double const& dt) {
    if (background_) background_->update(dt);
    countDownEndDelay(dt);
}

void Maze::draw() {}

}  // namespace Solitaire
