// Shader effects: one definition element of an effect list ("EFFECT" with "NAME",
// "PRE_COMPILE", "EFFECT_POOL", children "MACROS", "FILE", "HANDLE_USERNAME",
// "TECHNIQUE_USERNAME") turned into a live ID3DXEffect. The source is read through the engine's
// file layer (archives first, then disk), compiled with the definition's macros or taken from the
// compiled-effect cache, created on the device object's device, and its techniques and
// parameters are indexed by name.
//
// A compile failure with error text shows the box "Fehler!" (source path, the failing call, the
// compiler's messages; headless the box goes to the log) and leaves the effect unloaded. An
// effect that loaded once keeps its definition, so a reload after the source was mended brings
// it back even when a reload in between failed.
//
// Split: Effect.cpp (loading, compiling, creating, the technique and parameter tables, user
// names, reload, device loss), FXCache.cpp (the compiled-effect cache files),
// EffectMacroList.cpp (macro lists), EffectInclude.cpp (#include files of sources and the error
// box).
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "engine/core/NamedObject.h"
#include "engine/core/Types.h"
#include "engine/core/XMLNode.h"
#include "port/d3dx9/d3dx9.h"
#include "signals/sigslot.h"

namespace Orvex {

// Preprocessor macros (8-bit name and definition pairs, in order) handed to the effect compiler.
class EffectMacroList {
public:
    using Macro = std::pair<std::string, std::string>;

    EffectMacroList() = default;
    // Copies carry the pairs only; the macro array is built again on request.
    EffectMacroList(EffectMacroList const& other) : macros_(other.macros_) {}
    EffectMacroList& operator=(EffectMacroList const& other);

    // The "MACRO" children ("NAME", "DEFINITION"; a child missing either is skipped) of a
    // "MACROS" element, converted to the ANSI code page.
    static EffectMacroList read(XMLNode const& macrosElement);

    void add(std::string name, std::string definition);
    void clear();
    bool empty() const { return macros_.empty(); }
    std::size_t size() const { return macros_.size(); }
    std::vector<Macro> const& macros() const { return macros_; }

    // A null-terminated D3DXMACRO array over the pairs; valid until the list changes, is asked
    // again or dies.
    D3DXMACRO const* toD3DXMacros();
    // name <inside> definition, pairs separated by <between>: X=1, Y=abc with '_' and '_' give
    // "X_1_Y_abc".
    std::wstring toText(wchar_t between, wchar_t inside) const;
    // Appends other's pairs, then keeps each name once, with the definition that came last, at
    // the position of its last occurrence.
    void merge(EffectMacroList const& other);

private:
    std::vector<Macro> macros_;
    std::vector<D3DXMACRO> array_;
};

// A technique of a loaded effect.
struct EffectTechnique {
    std::wstring name;
    D3DXHANDLE handle = nullptr;
    D3DXTECHNIQUE_DESC desc{};
};

// A top-level parameter of a loaded effect, with the techniques that use it.
struct EffectParameter {
    std::wstring name;
    D3DXHANDLE handle = nullptr;
    D3DXPARAMETER_DESC desc{};
    std::map<EffectTechnique*, bool> usedBy;
};

// Reads the #include files of an effect source through the file layer (order "DEFAULT"),
// relative to the folder of the main source; each leading "..\" climbs one folder.
class EffectInclude : public ID3DXInclude {
public:
    explicit EffectInclude(std::wstring baseFolder) : baseFolder_(std::move(baseFolder)) {}
    HRESULT Open(D3DXINCLUDE_TYPE includeType, LPCSTR fileName, LPCVOID parentData, LPCVOID* data,
                 UINT* bytes) override;
    HRESULT Close(LPCVOID data) override;

private:
    std::wstring baseFolder_;
};

class Effect : public NamedObject {
public:
    // Empty and unloaded; every loader in the program passes false.
    explicit Effect(bool const& shaderDebugging);
    ~Effect() override;
    Effect(Effect const&) = delete;
    Effect& operator=(Effect const&) = delete;

    // Builds the effect from a definition element; returns whether it is loaded.
    bool load(XMLNode& definition);
    // Loads again from the definition of the last successful load (emitting signalReloaded on
    // success). False, and nothing done, for an effect that never loaded.
    bool reload();
    // Releases the D3DX effect and the technique and parameter tables; macros, cache path,
    // definition and flags stay.
    void clear();
    // Forgets the D3DX effect without releasing it, then clears: for the end of the program,
    // when the device and the port's tables may already be gone.
    void abandonDeviceObjects();

    // The D3DX effect (null while unloaded); callers set techniques and parameters on it.
    ID3DXEffect*& getD3DXEffect() { return effect_; }
    bool isLoaded() const { return loaded_; }
    bool hasDefinition() const { return hasDefinition_; }
    XMLNode const& getDefinition() const { return definition_; }

    // Lookups by name (the user name where "HANDLE_USERNAME" / "TECHNIQUE_USERNAME" gave one).
    D3DXHANDLE getParameterHandle(std::wstring const& name) const;
    D3DXHANDLE getTechniqueHandle(std::wstring const& name) const;
    EffectParameter const* findParameter(std::wstring const& name) const;
    EffectTechnique const* findTechnique(std::wstring const& name) const;
    std::vector<EffectParameter*> const& getParameters() const { return parameters_; }
    std::vector<EffectTechnique*> const& getTechniques() const { return techniques_; }

    bool getPreCompile() const { return preCompile_; }
    bool getShaderDebugging() const { return shaderDebugging_; }
    void setShaderDebugging(bool on) { shaderDebugging_ = on; }
    // The compile flags of the next load: D3DXSHADER_ENABLE_BACKWARDS_COMPATIBILITY, plus
    // D3DXSHADER_DEBUG and D3DXSHADER_SKIPOPTIMIZATION with shader debugging.
    DWORD getCompileFlags() const;
    EffectMacroList& getMacros() { return macros_; }
    EffectMacroList const& getMacros() const { return macros_; }

    // The compiled-effect cache file of this effect (see FXCache.cpp).
    std::wstring const& getCachePath() const { return cachePath_; }
    void makeCachePath(std::wstring const& sourcePath);

    void onLostDevice();
    void onResetDevice();

    // Process-wide cache switches and the cache's folder below the user folder.
    static u8 useCompiledCache;
    static u8 writeCompiledCache;
    static std::wstring cacheFolder;

    // Emitted with the effect after a successful reload (post effects fetch their handles again).
    sigslot::signal1<Effect&> signalReloaded;
    // Emitted inside every load once the source is read, before compiling (bundles add their
    // permutation macros here).
    sigslot::signal1<Effect&> signalCompiling;

private:
    // Compiles the source text; null on failure (the error box shown when there was text).
    ID3DXBuffer* compileSource(std::string const& source, std::wstring const& sourcePath, EffectInclude& include,
                               DWORD flags, bool& boxShown);
    // The cache file's bytes, or null when it cannot be read.
    ID3DXBuffer* readCache() const;
    void writeCache(ID3DXBuffer& compiled) const;
    // D3DXCreateEffect from compiled bytes; reports failures with a box when showBox is set.
    bool createEffect(ID3DXBuffer& compiled, std::wstring const& sourcePath, EffectInclude& include, DWORD flags,
                      ID3DXEffectPool* pool, bool showBox);
    void indexTechniquesAndParameters();
    void applyUserNames(XMLNode const& definition);
    void connectDevice();

    ID3DXEffect* effect_ = nullptr;
    bool preCompile_ = true;
    std::map<std::wstring, EffectParameter*> parametersByName_;
    std::vector<EffectParameter*> parameters_;
    std::map<std::wstring, EffectTechnique*> techniquesByName_;
    std::vector<EffectTechnique*> techniques_;
    XMLNode definition_;
    bool hasDefinition_ = false;
    bool loaded_ = false;
    bool shaderDebugging_ = false;
    bool deviceConnected_ = false;
    EffectMacroList macros_;
    std::wstring cachePath_;
};

// The error box of a failed compile: source path, the call name line, the D3DX messages, shown
// as "Fehler!" with MB_ICONERROR.
void showEffectError(std::wstring const& sourcePath, wchar_t const* callLine, ID3DXBuffer* errors);

}  // namespace Orvex
