// The effect manager: reading effect lists in three sweeps, lookups by name, reloading, the
// cache purge and the "FX_" console commands.
#include "engine/render/EffectManager.h"

#include "engine/core/Utils.h"
#include "engine/core/NamedObjectList.h"
#include "engine/render/Effect.h"
#include "engine/render/EffectBundle.h"
#include "port/win32/windows.h"

namespace Orvex {
namespace {

wchar_t const kReloadAll[] = L"FX_reloadAllEffects";
wchar_t const kReload[] = L"FX_reloadEffect";
wchar_t const kShaderDebugging[] = L"FX_enableShaderDebugging";

}  // namespace

EffectManager& EffectManager::getInstance() {
    static EffectManager instance;
    return instance;
}

EffectManager::EffectManager() {
    addCommand(new ConsoleCommand(kReloadAll, 0, L"FX_reloadAllEffects; lädt alle Effekte neu"));
    addCommand(new ConsoleCommand(kReload, 1, L"FX_reloadEffect eff; lädt Effekt neu"));
    addCommand(new ConsoleCommand(
        kShaderDebugging, 2,
        L"FX_enableShaderDebugging eff 0/1; kompiliert den Effekt neu mit Shaderdebugging an/aus"));
}

EffectManager::~EffectManager() {
    for (Effect* effect : effects_) effect->abandonDeviceObjects();
    for (EffectPool* pool : pools_) pool->abandonDeviceObjects();
    clear();
}

void EffectManager::clear() {
    // Bundles go last: their own references keep their members alive until then.
    releaseAll(effects_);
    releaseAll(pools_);
    releaseAll(bundles_);
}

Effect* EffectManager::findEffect(std::wstring const& name) const { return findNamedObject(effects_, name); }
EffectBundle* EffectManager::findBundle(std::wstring const& name) const { return findNamedObject(bundles_, name); }
EffectPool* EffectManager::findPool(std::wstring const& name) const { return findNamedObject(pools_, name); }

void EffectManager::addEffect(Effect& effect) {
    effect.addRef();
    effects_.push_back(&effect);
}

void EffectManager::loadEffects(XMLNode& list) {
    auto known = [](XMLNode const& element, auto find) {
        XMLAttribute const* name = element.getAttribute(L"NAME");
        return name && find(name->getString());
    };
    for (auto const& child : list.children()) {
        if (child->getName() != L"EFFECT_POOL") continue;
        if (known(*child, [this](std::wstring const& n) { return findPool(n) != nullptr; })) continue;
        pools_.push_back(new EffectPool(*child));
    }
    for (auto const& child : list.children()) {
        if (child->getName() != L"EFFECT_BUNDLE") continue;
        if (known(*child, [this](std::wstring const& n) { return findBundle(n) != nullptr; })) continue;
        auto* bundle = new EffectBundle();
        if (bundle->load(*child)) {
            bundle->addRef();
            bundles_.push_back(bundle);
        }
        bundle->release();
    }
    for (auto const& child : list.children()) {
        if (child->getName() != L"EFFECT") continue;
        if (known(*child, [this](std::wstring const& n) { return findEffect(n) != nullptr; })) continue;
        auto* effect = new Effect(false);
        if (effect->load(*child)) addEffect(*effect);
        effect->release();
    }
}

void EffectManager::purgeCache() {
    for (Effect* effect : effects_) DeleteFileW(effect->getCachePath().c_str());
}

void EffectManager::reloadAllEffects() {
    // A reload may not change the list, but walk a copy all the same.
    std::vector<Effect*> effects = effects_;
    for (Effect* effect : effects) effect->reload();
}

void EffectManager::executeCommand(ConsoleCommand& command, TypedConsoleCommand& typed) {
    if (command.isNamed(kReloadAll)) {
        if (typed.getArgumentCount() >= 2 && typed.getArgumentBool(1)) purgeCache();
        reloadAllEffects();
        typed.setReply(L"alle Effekte neu geladen");
        return;
    }
    bool const reload = command.isNamed(kReload);
    if (!reload && !command.isNamed(kShaderDebugging)) return;
    Effect* effect = findEffect(typed.getArgument(0));
    if (!effect) {
        typed.setReply(L"Effekt nicht gefunden!");
    } else if (reload) {
        if (typed.getArgumentCount() >= 2 && typed.getArgumentBool(1)) DeleteFileW(effect->getCachePath().c_str());
        effect->reload();
        typed.setReply(L"Effekt neu geladen!");
    } else {
        bool const debugging = typed.getArgumentBool(1);
        if (debugging != effect->getShaderDebugging()) {
            effect->setShaderDebugging(debugging);
            effect->reload();
        }
        typed.setReply(L"Effekt neu kompiliert!");
    }
}

void EffectManager::completeArguments(TypedConsoleCommand const& typed, std::vector<std::wstring>& offers) {
    if (!typed.isCommand(kReload) && !typed.isCommand(kShaderDebugging)) return;
    appendNamesStartingWith(effects_, typed.getArgument(0), offers);
}

}  // namespace Orvex
