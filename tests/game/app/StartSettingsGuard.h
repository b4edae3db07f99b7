// What the game's start forces over the settings (forceStartSettings: the device's options, the
// input and texture settings, the render passes) kept while the guard lives and put back when it
// goes, so the tests after one that forces them run as before.
#pragma once

#include "engine/core/engine/OrvexEngine.h"
#include "engine/platform/D3DInterface.h"
#include "engine/platform/DirectInputInterface.h"
#include "engine/render/RenderManager.h"
#include "engine/render/TextureSettings.h"

namespace apptest {

class StartSettingsGuard {
public:
    StartSettingsGuard()
        : engine_(Orvex::OrvexEngine::getInstance()),
          passes_(engine_->getRenderManager()),
          device_(engine_->getD3DInterface()->getInitParams()),
          input_(engine_->getDirectInput()->getInitParams()),
          textures_(engine_->getTextureInitParams()),
          forwardOn_(passes_ && passes_->getForwardRenderer().isEnabled()),
          postOn_(passes_ && passes_->getPostEffectRenderer().isEnabled()) {}
    ~StartSettingsGuard() {
        engine_->getD3DInterface()->getInitParams() = device_;
        engine_->getDirectInput()->getInitParams() = input_;
        engine_->getTextureInitParams() = textures_;
        if (!passes_) return;
        passes_->getForwardRenderer().setEnabled(forwardOn_);
        passes_->getPostEffectRenderer().setEnabled(postOn_);
    }
    StartSettingsGuard(StartSettingsGuard const&) = delete;
    StartSettingsGuard& operator=(StartSettingsGuard const&) = delete;

    Orvex::OrvexEngine* engine() const { return engine_; }
    Orvex::RenderManager* passes() const { return passes_; }

private:
    Orvex::OrvexEngine* engine_;
    Orvex::RenderManager* passes_;
    Orvex::D3DInitParams device_;
    Orvex::DirectInputInitParams input_;
    Orvex::TextureInitParams textures_;
    bool forwardOn_;
    bool postOn_;
};

}  // namespace apptest
