// Shader effects: loading a definition (source, macros, pool, cache, compile, creation), the
// technique and parameter tables, user names, reloading and device loss.
#include "engine/render/Effect.h"

#include <cstring>
#include <vector>

#include "engine/core/CodePage.h"
#include "engine/core/File.h"
#include "engine/core/GOBManager.h"
#include "engine/core/Logger.h"
#include "engine/core/Paths.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/DeviceObjects.h"
#include "engine/render/EffectBundle.h"
#include "engine/render/EffectManager.h"

namespace Orvex {
namespace {

wchar_t const kCompilerFailed[] = L"D3DXCreateEffectCompiler() schlug fehl\n";
wchar_t const kCompileFailed[] = L"CompileEffect() schlug fehl\n";
wchar_t const kCreateFailed[] = L"D3DXCreateEffect() schlug fehl\n";

bool hasText(ID3DXBuffer* buffer) {
    return buffer && buffer->GetBufferSize() > 0 && static_cast<char const*>(buffer->GetBufferPointer())[0] != '\0';
}

std::wstring bufferText(ID3DXBuffer* buffer) {
    if (!hasText(buffer)) return {};
    char const* text = static_cast<char const*>(buffer->GetBufferPointer());
    std::string narrow(text, strnlen(text, buffer->GetBufferSize()));
    return toWideString(narrow);
}

}  // namespace

Effect::Effect(bool const& shaderDebugging) : shaderDebugging_(shaderDebugging) {}

Effect::~Effect() { clear(); }

DWORD Effect::getCompileFlags() const {
    DWORD flags = D3DXSHADER_ENABLE_BACKWARDS_COMPATIBILITY;
    if (shaderDebugging_) flags |= D3DXSHADER_DEBUG | D3DXSHADER_SKIPOPTIMIZATION;
    return flags;
}

void Effect::clear() {
    releaseCom(effect_);
    loaded_ = false;
    for (EffectParameter* parameter : parameters_) delete parameter;
    for (EffectTechnique* technique : techniques_) delete technique;
    parameters_.clear();
    parametersByName_.clear();
    techniques_.clear();
    techniquesByName_.clear();
}

void Effect::abandonDeviceObjects() {
    effect_ = nullptr;
    clear();
}

bool Effect::load(XMLNode& definition) {
    clear();
    if (XMLAttribute const* name = definition.getAttribute(L"NAME")) setName(name->getString());
    if (XMLAttribute const* preCompile = definition.getAttribute(L"PRE_COMPILE")) preCompile_ = preCompile->getBool();
    ID3DXEffectPool* pool = nullptr;
    if (XMLAttribute const* poolName = definition.getAttribute(L"EFFECT_POOL")) {
        if (EffectPool* found = EffectManager::getInstance().findPool(poolName->getString())) pool = found->getPool();
    }
    if (XMLNode const* macros = definition.getChild(L"MACROS")) macros_ = EffectMacroList::read(*macros);

    XMLNode* fileNode = definition.getChild(L"FILE");
    if (!fileNode) return false;
    File file(*fileNode);
    std::vector<u8> bytes;
    if (!file.isOpen() || !file.readAll(bytes)) return false;
    std::wstring const& sourcePath = file.getPath();
    EffectInclude include(getDirectory(sourcePath));

    signalCompiling.emit(*this);

    DWORD flags = getCompileFlags();
    makeCachePath(sourcePath);
    bool useCache = useCompiledCache && preCompile_;

    // A cache file that cannot be read or used is passed over: the source is still there.
    ID3DXBuffer* compiled = nullptr;
    bool fromCache = false;
    if (useCache && listFiles(cachePath_, L"DEFAULT")) {
        compiled = readCache();
        fromCache = compiled != nullptr;
        if (!compiled) logWarning(L"Effect " + getName() + L": cache file unreadable, compiling " + sourcePath);
    }
    if (fromCache && !createEffect(*compiled, sourcePath, include, flags, pool, false)) {
        logWarning(L"Effect " + getName() + L": cache file " + cachePath_ + L" unusable, compiling " + sourcePath);
        releaseCom(compiled);
    }
    if (!effect_) {
        std::string source = toNarrowString(decodeFileText(bytes.data(), bytes.size()));
        bool boxShown = false;
        compiled = compileSource(source, sourcePath, include, flags, boxShown);
        if (compiled && writeCompiledCache && useCache) writeCache(*compiled);
        if (compiled) createEffect(*compiled, sourcePath, include, flags, pool, true);
        else if (!boxShown) logError(L"Effect " + getName() + L": " + sourcePath + L" did not compile");
    }
    releaseCom(compiled);
    if (!effect_) return false;

    loaded_ = true;
    connectDevice();
    definition_.copyFrom(definition);
    hasDefinition_ = true;
    indexTechniquesAndParameters();
    applyUserNames(definition);
    return true;
}

ID3DXBuffer* Effect::compileSource(std::string const& source, std::wstring const& sourcePath, EffectInclude& include,
                                   DWORD flags, bool& boxShown) {
    ID3DXEffectCompiler* compiler = nullptr;
    ID3DXBuffer* errors = nullptr;
    ID3DXBuffer* compiled = nullptr;
    HRESULT hr = D3DXCreateEffectCompiler(source.c_str(), static_cast<UINT>(source.size()), macros_.toD3DXMacros(),
                                          &include, flags, &compiler, &errors);
    if (FAILED(hr)) {
        if (hasText(errors)) {
            showEffectError(sourcePath, kCompilerFailed, errors);
            boxShown = true;
        }
    } else if (compiler) {
        releaseCom(errors);
        hr = compiler->CompileEffect(flags, &compiled, &errors);
        if (FAILED(hr)) {
            releaseCom(compiled);
            if (hasText(errors)) {
                showEffectError(sourcePath, kCompileFailed, errors);
                boxShown = true;
            }
        }
    }
    releaseCom(compiler);
    releaseCom(errors);
    return compiled;
}

bool Effect::createEffect(ID3DXBuffer& compiled, std::wstring const& sourcePath, EffectInclude& include, DWORD flags,
                          ID3DXEffectPool* pool, bool showBox) {
    IDirect3DDevice9* device = D3DInterface::getInstance().getDevice();
    if (!device) {
        logError(L"Effect " + getName() + L": no device to create " + sourcePath + L" on");
        return false;
    }
    ID3DXBuffer* errors = nullptr;
    HRESULT hr = D3DXCreateEffect(device, compiled.GetBufferPointer(), compiled.GetBufferSize(),
                                  macros_.toD3DXMacros(), &include, flags, pool, &effect_, &errors);
    if (FAILED(hr)) {
        releaseCom(effect_);
        if (showBox && hasText(errors)) showEffectError(sourcePath, kCreateFailed, errors);
        else if (showBox) logError(L"Effect " + getName() + L": D3DXCreateEffect failed for " + sourcePath);
    } else if (hasText(errors)) {
        logWarning(L"Effect " + getName() + L": " + sourcePath + L": " + bufferText(errors));
    }
    releaseCom(errors);
    return effect_ != nullptr;
}

void Effect::indexTechniquesAndParameters() {
    for (UINT i = 0;; ++i) {
        D3DXHANDLE handle = effect_->GetTechnique(i);
        if (!handle) break;
        auto* technique = new EffectTechnique;
        technique->handle = handle;
        effect_->GetTechniqueDesc(handle, &technique->desc);
        technique->name = toWideString(technique->desc.Name ? technique->desc.Name : "");
        techniquesByName_.emplace(technique->name, technique);
        techniques_.push_back(technique);
    }
    for (UINT i = 0;; ++i) {
        D3DXHANDLE handle = effect_->GetParameter(nullptr, i);
        if (!handle) break;
        auto* parameter = new EffectParameter;
        parameter->handle = handle;
        effect_->GetParameterDesc(handle, &parameter->desc);
        parameter->name = toWideString(parameter->desc.Name ? parameter->desc.Name : "");
        for (EffectTechnique* technique : techniques_)
            parameter->usedBy[technique] = effect_->IsParameterUsed(handle, technique->handle) != 0;
        parametersByName_.emplace(parameter->name, parameter);
        parameters_.push_back(parameter);
    }
}

namespace {

// Moves the entry listed under one name to another (the record takes the new name too).
template <class Record>
void rename(std::map<std::wstring, Record*>& byName, std::wstring const& from, std::wstring const& to) {
    auto found = byName.find(from);
    if (found == byName.end()) return;
    Record* record = found->second;
    byName.erase(found);
    record->name = to;
    byName[to] = record;
}

}  // namespace

void Effect::applyUserNames(XMLNode const& definition) {
    for (auto const& child : definition.children()) {
        bool parameter = child->getName() == L"HANDLE_USERNAME";
        if (!parameter && child->getName() != L"TECHNIQUE_USERNAME") continue;
        XMLAttribute const* name = child->getAttribute(L"NAME");
        XMLAttribute const* userName = child->getAttribute(L"USER_NAME");
        if (!name || !userName) continue;
        if (parameter) rename(parametersByName_, name->getString(), userName->getString());
        else rename(techniquesByName_, name->getString(), userName->getString());
    }
}

bool Effect::reload() {
    if (!hasDefinition_) return false;
    releaseCom(effect_);
    XMLNode definition;
    definition.copyFrom(definition_);
    if (load(definition)) signalReloaded.emit(*this);
    return loaded_;
}

void Effect::connectDevice() {
    if (deviceConnected_) return;
    D3DInterface& d3d = D3DInterface::getInstance();
    d3d.signalDeviceLost.connect(this, &Effect::onLostDevice);
    d3d.signalDeviceReset.connect(this, &Effect::onResetDevice);
    deviceConnected_ = true;
}

void Effect::onLostDevice() {
    if (effect_) effect_->OnLostDevice();
}

void Effect::onResetDevice() {
    if (effect_) effect_->OnResetDevice();
}

D3DXHANDLE Effect::getParameterHandle(std::wstring const& name) const {
    EffectParameter const* parameter = findParameter(name);
    return parameter ? parameter->handle : nullptr;
}

D3DXHANDLE Effect::getTechniqueHandle(std::wstring const& name) const {
    EffectTechnique const* technique = findTechnique(name);
    return technique ? technique->handle : nullptr;
}

EffectParameter const* Effect::findParameter(std::wstring const& name) const {
    auto found = parametersByName_.find(name);
    return found == parametersByName_.end() ? nullptr : found->second;
}

EffectTechnique const* Effect::findTechnique(std::wstring const& name) const {
    auto found = techniquesByName_.find(name);
    return found == techniquesByName_.end() ? nullptr : found->second;
}

}  // namespace Orvex
