// Default hooks of the game's global settings object: nothing to do, success.
#include "engine/core/UserGlobals.h"

namespace Orvex {

UserGlobals::~UserGlobals() = default;

bool UserGlobals::load(XMLNode&) { return true; }
bool UserGlobals::save(XMLNode&) { return true; }
bool UserGlobals::onPreInit(EngineInitParams&) { return true; }
bool UserGlobals::onPostInit(EngineInitParams&) { return true; }

}  // namespace Orvex
