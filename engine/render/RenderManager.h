// The render-pass pipeline of one frame: saves the device's render target and depth buffer,
// runs the forward renderer (the scene into its own target), hands the picture to the
// post-effect renderer, which draws the active post effects in priority order, stretches the
// result back onto the saved target, and restores the device. It reads the render-pass file
// (".rp", the game's is "data\GUI\renderpass.rp"), owns every post effect declared there, keeps
// the active ones, maps console names onto post-effect parameters, may own a depth-stencil
// surface, and offers the "RP_" console commands. The engine owns one whose target follows the
// back buffer (width and height kFollowDevice); a mini-game may build one of a fixed size.
//
// Render-pass file keys (top element): children "POSTEFFECT" (each one post effect, see
// PostEffect.h), "FORWARD_RENDERING" (ForwardRenderer.h), "POSTEFFECT_RENDERING" ("ENABLE"),
// "ACTIVE_POSTEFFECTS" / "INACTIVE_POSTEFFECTS" (values: post-effect names),
// "POSTEFFECTS_STRING_MAPPINGS" (children "STRING_MAPPING" with "POSTEFFECT_NAME", "STRING",
// "PARAM_TO_CHANGE", and "INITIALIZE" with "STRING"; both with the optional "INITIAL_VALUE",
// "INITIAL_VECTOR" (4 numbers), "INITIAL_MATRIX" (16 numbers, row by row)); attributes
// "STRETCH_TO_ORG", "CREATE_DEPTH_STENCIL", "DEPTH_STENCIL_FORMAT", "SKIP_POSTEFFECTS".
// A definition that names an unknown post effect is logged and skipped; the rest loads.
//
// Mapping strings keep the order in which the file named them, so the parameter listing and
// the console's completions always come out in the same order.
//
// Split: RenderManager.cpp (the frame, the target size, the active list and skip level, the own
// depth-stencil surface, the device signals), RenderManager_config.cpp (reading the render-pass
// file, parameters by mapping string), RenderManager_console.cpp (the "RP_" commands).
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "engine/core/ConsoleCommand.h"
#include "engine/core/Types.h"
#include "engine/render/ForwardRenderer.h"
#include "engine/render/PostEffectRenderer.h"
#include "port/d3dx9/d3dx9.h"
#include "signals/sigslot.h"

namespace Orvex {

class Camera;
class D3DInterface;
class PostEffect;
struct PostEffectParam;
class XMLNode;

// One (post effect, key) pair a mapping string addresses.
struct RenderPassMapping {
    PostEffect* postEffect = nullptr;
    std::wstring key;
};

class RenderManager : public ConsoleCommandReceiver {
public:
    // A target size that follows the device object's width or height.
    static constexpr u32 kFollowDevice = 0xFFFFFFFFu;

    RenderManager(unsigned long const& width, unsigned long const& height);
    ~RenderManager() override;

    // Reads a render-pass file's tree; sourceName names it in log lines. Run once per manager.
    void loadConfig(XMLNode& renderPass, std::wstring const& sourceName = L"");
    // Loads the file (archives, then disk) and reads it; a missing file loads nothing.
    void loadConfigFile(std::wstring const& path);

    // One frame; sceneTexture holds the picture when no forward renderer runs (may be null).
    void render(Camera* camera, IDirect3DTexture9* sceneTexture);

    void getTargetSize(u32& width, u32& height) const;
    // "TYPE" "COMBINATION" gives a group, anything else a plain post effect.
    static PostEffect* createPostEffect(XMLNode& definition, PostEffectRenderer* renderer);
    // The first post effect (or member of a group) of that name, or null.
    PostEffect* findPostEffect(std::wstring const& name) const;

    void addActiveEffect(PostEffect* effect);
    void removeActiveEffect(PostEffect* effect);
    void setSkipLevel(u32 const& level);
    u32 getSkipLevel() const { return skipLevel_; }

    // By mapping string; false for an unknown string (the setters: or any pair refusing).
    bool setParamFloat(std::wstring const& string, float const& value);
    bool setParamVector(std::wstring const& string, D3DXVECTOR4 const& value);
    bool setParamMatrix(std::wstring const& string, D3DXMATRIX const& value);
    bool getParamFloat(std::wstring const& string, float& value) const;
    bool getParamVector(std::wstring const& string, D3DXVECTOR4& value) const;
    // Every mapped parameter, by mapping string in file order.
    std::vector<PostEffectParam> getAllParams() const;

    void setDepthStencil(bool const& create, D3DFORMAT const& format);
    void onDeviceLost();
    void onDeviceReset();

    void executeCommand(ConsoleCommand& command, TypedConsoleCommand& typed) override;
    void completeArguments(TypedConsoleCommand const& typed, std::vector<std::wstring>& offers) override;

    ForwardRenderer& getForwardRenderer() { return forwardRenderer_; }
    PostEffectRenderer& getPostEffectRenderer() { return postEffectRenderer_; }
    std::vector<PostEffect*> const& getPostEffects() const { return postEffects_; }
    std::vector<PostEffect*> const& getActiveEffects() { return postEffectRenderer_.getEffects(); }
    u32 getFrameCounter() const { return frameCounter_; }
    bool getStretchToOrg() const { return stretchToOrg_ != 0; }
    IDirect3DSurface9* getDepthStencil() const { return depthStencil_; }

    sigslot::signal1<unsigned long const&> skipLevelChanged;
    sigslot::signal1<RenderManager&> targetChanged;

private:
    using Mappings = std::vector<RenderPassMapping>;
    Mappings const* findMappings(std::wstring const& string) const;
    void readMappings(XMLNode& node, std::wstring const& sourceName);
    void applyInitialValues(XMLNode& node, std::wstring const& string);
    void onResize(unsigned long const& width, unsigned long const& height);
    void registerCommands();
    void sortActive();

    u32 targetWidth_;
    u32 targetHeight_;
    std::vector<PostEffect*> postEffects_;
    std::vector<std::pair<std::wstring, Mappings>> stringMappings_;
    u32 frameCounter_ = 0;
    D3DInterface* d3d_;
    u32 skipLevel_ = 0;
    u8 stretchToOrg_ = 1;
    ForwardRenderer forwardRenderer_;
    PostEffectRenderer postEffectRenderer_;
    IDirect3DTexture9* currentTexture_ = nullptr;
    IDirect3DSurface9* currentSurface_ = nullptr;
    u8 createDepthStencil_ = 0;
    D3DFORMAT depthStencilFormat_ = D3DFMT_D24S8;
    IDirect3DSurface9* depthStencil_ = nullptr;
};

// Hands the time step to every post effect of the manager (addTime).
void broadcastCall(RenderManager& manager, double const& step);

}  // namespace Orvex
