// The engine's hook object for the game's global settings. The engine hands it the "API_PARAMS"
// section of the settings file when reading and writing it, and calls it before and after its
// own initialisation. The game derives its settings object from it; the defaults do nothing and
// report success.
#pragma once

namespace Orvex {

class XMLNode;

class UserGlobals {
public:
    UserGlobals() = default;
    virtual ~UserGlobals();

    // Reads the settings from the "API_PARAMS" node.
    virtual bool load(XMLNode& node);
    // Fills the "API_PARAMS" node.
    virtual bool save(XMLNode& node);
    virtual bool onPreInit();
    virtual bool onPostInit();

    UserGlobals(UserGlobals const&) = delete;
    UserGlobals& operator=(UserGlobals const&) = delete;
};

}  // namespace Orvex
