// Fuzzes the render-pass reader with file bytes: the property-file parse, then everything the
// render manager and its post effects read from the tree (post effects and groups, priorities,
// parameter arrays, constants, static textures, string mappings, initial values), the listing
// and the keyed parameter paths. No device exists, so nothing binds or draws.
#include <cstddef>
#include <cstdint>

#include "engine/core/Logger.h"
#include "engine/core/XMLNode.h"
#include "engine/render/PostEffect.h"
#include "engine/render/RenderManager.h"

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, std::size_t size) {
    static bool quiet = [] {
        Orvex::Logger::getInstance().setThreshold(1000, Orvex::LOG_MASK_ALL);
        return true;
    }();
    (void)quiet;

    Orvex::XMLNode root;
    root.loadFromBytes(data, size, L"fuzz.rp");
    Orvex::RenderManager manager(Orvex::RenderManager::kFollowDevice, Orvex::RenderManager::kFollowDevice);
    manager.loadConfig(root, L"fuzz.rp");
    for (Orvex::PostEffectParam const& p : manager.getAllParams()) {
        float value = 0.0f;
        manager.getParamFloat(p.mappingString, value);
        manager.setParamFloat(p.mappingString, value);
        manager.setParamVector(p.mappingString, D3DXVECTOR4(1, 2, 3, 4));
    }
    Orvex::TypedConsoleCommand listing(L"RP_POST_getAllParamListe");
    if (Orvex::ConsoleCommand* command = manager.findCommand(L"RP_POST_getAllParamListe"))
        manager.executeCommand(*command, listing);
    for (Orvex::PostEffect* effect : manager.getPostEffects()) {
        Orvex::PostEffect* copy = effect->clone();
        copy->addTime(0.5);
        copy->release();
    }
    return 0;
}
