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

MinigameLines::~MinigameLines() { release(); }

void MinigameLines::create() {
    release();
    IDirect3DDevice9* device = Orvex::D3DInterface::getInstance().getDevice();
    if (!device || FAILED(D3DXCreateLine(device, &line_))) line_ = nullptr;
}

void MinigameLines::release() {
    if (line_) line_->Release();
    line_ = nullptr;
}

void MinigameLines::onDeviceLost() {
    if (line_) line_->OnLostDevice();
}

void MinigameLines::onDeviceReset() {
    if (line_) line_->OnResetDevice();
}

void MinigameLines::onDeviceShutdown() {
    remake_ = line_ != nullptr;
    release();
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
