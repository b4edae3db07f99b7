// The engine's hook object for the game's global settings. The engine hands it the "API_PARAMS"
// section of the settings file when reading and writing it, and calls it before and after its
// own initialisation with the init records it is about to use (or has used), so a game may
// adjust them before the device and input start. The game derives its settings object from it;
// the defaults do nothing and report success.
#pragma once

namespace Orvex {

class XMLNode;
struct D3DInitParams;
struct DirectInputInitParams;
struct TextureInitParams;

// The engine's init records, as handed to the hooks: the device's ("D3DINITPARAMS"), the
// input's ("DINPUTINITPARAMS") and the texture module's ("TEXINITPARAMS"). Owned by the engine.
struct EngineInitParams {
    D3DInitParams* device = nullptr;
    DirectInputInitParams* input = nullptr;
    TextureInitParams* textures = nullptr;
};

class UserGlobals {
public:
    UserGlobals() = default;
    virtual ~UserGlobals();

    // Reads the settings from the "API_PARAMS" node.
    virtual bool load(XMLNode& node);
    // Fills the "API_PARAMS" node.
    virtual bool save(XMLNode& node);
    // Before the device, input and sound start: false refuses the start.
    virtual bool onPreInit(EngineInitParams& params);
    // After they started: false fails the start.
    virtual bool onPostInit(EngineInitParams& params);

    UserGlobals(UserGlobals const&) = delete;
    UserGlobals& operator=(UserGlobals const&) = delete;
};

}  // namespace Orvex
