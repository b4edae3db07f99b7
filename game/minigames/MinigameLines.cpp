// The mini-games' line object and its drawing between sprite batches.
#include "game/minigames/MinigameLines.h"

#include "engine/gui/GUISystem.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/BaseSprite.h"

namespace Solitaire {

MinigameLines::MinigameLines() {
    Orvex::D3DInterface& d3d = Orvex::D3DInterface::getInstance();
    d3d.signalDeviceLost.connect(this, &MinigameLines::onDeviceLost);
    d3d.signalDeviceReset.connect(this, &MinigameLines::onDeviceReset);
    d3d.signalDeviceShutdown.connect(this, &MinigameLines::onDeviceShutdown);
    d3d.signalDeviceCreated.connect(this, &MinigameLines::onDeviceCreated);
    create();
}

MinigameLines::~MinigameLines() = default;

void MinigameLines::create() {
    line_.reset();
    IDirect3DDevice9* device = Orvex::D3DInterface::getInstance().getDevice();
    ID3DXLine* made = nullptr;
    if (device && SUCCEEDED(D3DXCreateLine(device, &made))) line_.reset(made);
}

void MinigameLines::onDeviceLost() {
    if (line_) line_->OnLostDevice();
}

void MinigameLines::onDeviceReset() {
    if (line_) line_->OnResetDevice();
}

void MinigameLines::onDeviceShutdown() {
    remake_ = line_ != nullptr;
    line_.reset();
}

void MinigameLines::onDeviceCreated() {
    if (!remake_) return;
    remake_ = false;
    create();
}

void MinigameLines::drawBetweenBatches(float width, std::function<void(ID3DXLine&)> const& draw) {
    Orvex::BaseSprite* sprite = Orvex::GUISystem::instance().getSprite();
    if (!line_ || !sprite) return;
    sprite->End();
    line_->SetWidth(width);
    if (SUCCEEDED(line_->Begin())) {
        draw(*line_);
        line_->End();
    }
    sprite->Begin(Orvex::GUISystem::kSpriteFlags, nullptr);
}

void MinigameLines::segment(ID3DXLine& line, D3DXVECTOR2 const& a, D3DXVECTOR2 const& b, D3DCOLOR colour) {
    D3DXVECTOR2 const points[2] = {a, b};
    line.Draw(points, 2, colour);
}

}  // namespace Solitaire
