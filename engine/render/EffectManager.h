// The one owner of all shader effects, effect pools and effect bundles: effect lists (".fxf",
// the game's is "data\FX\effecte.fxf") are read into it, users find effects by exact name, and
// three console commands recompile effects while the program runs:
//   "FX_reloadAllEffects [0/1 [Cache leeren 0/1]]", "FX_reloadEffect eff [Cache löschen 0/1]",
//   "FX_enableShaderDebugging eff 0/1".
//
// Effect list: pools ("EFFECT_POOL" with "NAME") are read first, then bundles
// ("EFFECT_BUNDLE", see EffectBundle.h), then effects ("EFFECT", see Effect.h); names already
// known are skipped, so the first definition of a name wins, also across several lists.
//
// The effects hold the device: call clear() before the device object shuts the device down.
// Effects still listed at the end of the program are dropped without releasing their D3DX
// objects, since by then the device and the port's tables may be gone.
//
// EffectManager.cpp holds the manager; EffectManager_device.cpp the device object's accessor
// D3DInterface::getEffectManager, kept here so that the platform library need not link this one.
#pragma once

#include <string>
#include <vector>

#include "engine/core/ConsoleCommand.h"
#include "engine/core/XMLNode.h"

namespace Orvex {

class Effect;
class EffectBundle;
class EffectPool;

class EffectManager : public ConsoleCommandReceiver {
public:
    static EffectManager& getInstance();

    // First of the list with exactly that name (case matters), or null.
    Effect* findEffect(std::wstring const& name) const;
    EffectBundle* findBundle(std::wstring const& name) const;
    EffectPool* findPool(std::wstring const& name) const;

    // Reads an effect list (the root element's name is not examined).
    void loadEffects(XMLNode& list);
    // Appends an effect with one more reference (bundles list their members here).
    void addEffect(Effect& effect);

    // Deletes the cache file of every listed effect (results ignored).
    void purgeCache();
    // Reloads every effect of the list in order.
    void reloadAllEffects();
    // Releases every effect, then every pool, then every bundle, and empties the lists.
    void clear();

    std::vector<Effect*> const& getEffects() const { return effects_; }
    std::vector<EffectBundle*> const& getBundles() const { return bundles_; }
    std::vector<EffectPool*> const& getPools() const { return pools_; }

    void executeCommand(ConsoleCommand& command, TypedConsoleCommand& typed) override;
    void completeArguments(TypedConsoleCommand const& typed, std::vector<std::wstring>& offers) override;

    EffectManager(EffectManager const&) = delete;
    EffectManager& operator=(EffectManager const&) = delete;

private:
    EffectManager();
    ~EffectManager() override;

    std::vector<Effect*> effects_;
    std::vector<EffectBundle*> bundles_;
    std::vector<EffectPool*> pools_;
};

}  // namespace Orvex
