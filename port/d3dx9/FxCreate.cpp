// Creating effects: D3DXCreateEffectPool, D3DXCreateEffectCompiler (preprocess and check; the
// compiled form is the preprocessed text), D3DXCreateEffect (source or compiled form),
// D3DXCreateEffectFromFileW with a file include handler, and CloneEffect.
#include "port/d3dx9/FxEffect.h"
#include "port/win32/win32_paths.h"
#include "port/win32/win32_text.h"


namespace port::fx {

namespace {

void handOutErrors(Diagnostics const& diag, ID3DXBuffer** errors) {
    if (!errors) return;
    *errors = diag.text().empty() ? nullptr : dx::makeTextBuffer(diag.text());
}

std::string_view sourceText(void const* data, UINT size) {
    std::string_view text(static_cast<char const*>(data), size);
    if (std::size_t nul = text.find('\0'); nul != std::string_view::npos) text = text.substr(0, nul);
    return text;
}

// Preprocessed text of a source, or the compiled form as it is.
bool preprocessed(std::string_view text, D3DXMACRO const* defines, ID3DXInclude* include, std::string const& name,
                  std::string& out, Diagnostics& diag) {
    if (text.substr(0, kPreprocessedMarker.size()) == kPreprocessedMarker) {
        out.assign(text);
        return true;
    }
    PreprocessRequest request;
    request.text = text;
    request.name = name;
    request.macros = macroList(defines);
    request.include = include;
    return preprocess(request, out, diag);
}

class EffectCompiler final : public ComObject<ID3DXEffectCompiler> {
public:
    explicit EffectCompiler(std::string text) : text_(std::move(text)) {}
    HRESULT CompileEffect(DWORD, ID3DXBuffer** effect, ID3DXBuffer** errors) override {
        if (errors) *errors = nullptr;
        if (!effect) return D3DERR_INVALIDCALL;
        *effect = dx::makeBuffer(text_.data(), text_.size());
        return S_OK;
    }

private:
    std::string text_;
};


// Includes read relative to the folder of the including file (Windows or host separators).
class FileInclude final : public ID3DXInclude {
public:
    explicit FileInclude(std::wstring const& mainFile) { folders_[nullptr] = folderOf(port::hostPath(mainFile)); }

    HRESULT Open(D3DXINCLUDE_TYPE, LPCSTR fileName, LPCVOID parentData, LPCVOID* data, UINT* bytes) override {
        if (!fileName || !data || !bytes) return E_FAIL;
        auto parent = folders_.find(parentData);
        std::string folder = parent != folders_.end() ? parent->second : folders_[nullptr];
        std::wstring windowsName = port::fromUtf8(fileName);
        std::string path = port::hostPath(port::windowsPath(folder) + L"\\" + windowsName);
        auto buffer = std::make_unique<std::string>();
        if (!dx::readHostFile(path, *buffer)) return E_FAIL;
        *data = buffer->data();
        *bytes = static_cast<UINT>(buffer->size());
        folders_[buffer->data()] = folderOf(path);
        open_.push_back(std::move(buffer));
        return S_OK;
    }
    HRESULT Close(LPCVOID data) override {
        for (auto it = open_.begin(); it != open_.end(); ++it) {
            if ((*it)->data() == data) {
                folders_.erase(data);
                open_.erase(it);
                break;
            }
        }
        return S_OK;
    }

private:
    static std::string folderOf(std::string const& path) {
        std::size_t slash = path.find_last_of('/');
        return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
    }
    std::map<void const*, std::string> folders_;
    std::vector<std::unique_ptr<std::string>> open_;
};

}  // namespace

HRESULT createEffect(IDirect3DDevice9* device, std::string_view text, D3DXMACRO const* defines,
                     ID3DXInclude* include, ID3DXEffectPool* pool, std::string const& name, ID3DXEffect** effect,
                     ID3DXBuffer** errors) {
    if (errors) *errors = nullptr;
    if (!device || !effect) return D3DERR_INVALIDCALL;
    *effect = nullptr;
    Diagnostics diag;
    std::string source;
    auto model = std::make_unique<EffectModel>();
    if (!preprocessed(text, defines, include, name, source, diag) || !parseEffect(source, *model, diag)) {
        handOutErrors(diag, errors);
        return E_FAIL;
    }
    auto* created = new Effect(device, static_cast<EffectPool*>(pool), source, std::move(model));
    if (!created->build(diag)) {
        created->Release();
        handOutErrors(diag, errors);
        return E_FAIL;
    }
    handOutErrors(diag, errors);
    *effect = created;
    return S_OK;
}

HRESULT Effect::CloneEffect(IDirect3DDevice9* device, ID3DXEffect** effect) {
    if (!device || !effect) return D3DERR_INVALIDCALL;
    HRESULT hr = createEffect(device, source_, nullptr, nullptr, pool_, "memory", effect, nullptr);
    if (FAILED(hr)) return hr;
    auto& copy = static_cast<Effect*>(*effect)->model();
    for (std::size_t i = 0; i < model_->parameters.size() && i < copy.parameters.size(); ++i) {
        Variable const& from = *model_->parameters[i];
        Variable& to = *copy.parameters[i];
        if (from.storage == to.storage) continue;  // shared through the pool
        to.storage->words = from.storage->words;
        to.storage->strings = from.storage->strings;
        for (std::size_t t = 0; t < from.storage->textures.size(); ++t) to.storage->setTexture(t, from.storage->textures[t]);
        ++to.storage->version;
    }
    return S_OK;
}

}  // namespace port::fx

HRESULT D3DXCreateEffectPool(ID3DXEffectPool** pool) {
    if (!pool) return D3DERR_INVALIDCALL;
    *pool = new port::fx::EffectPool();
    return S_OK;
}

HRESULT D3DXCreateEffectCompiler(LPCSTR srcData, UINT srcDataLen, const D3DXMACRO* defines, ID3DXInclude* include,
                                 DWORD, ID3DXEffectCompiler** compiler, ID3DXBuffer** errors) {
    using namespace port::fx;
    if (errors) *errors = nullptr;
    if (!srcData || !compiler) return D3DERR_INVALIDCALL;
    *compiler = nullptr;
    Diagnostics diag;
    std::string source;
    EffectModel model;
    if (!preprocessed(sourceText(srcData, srcDataLen), defines, include, "memory", source, diag) ||
        !parseEffect(source, model, diag)) {
        handOutErrors(diag, errors);
        return E_FAIL;
    }
    handOutErrors(diag, errors);
    *compiler = new EffectCompiler(std::move(source));
    return S_OK;
}

HRESULT D3DXCreateEffect(IDirect3DDevice9* device, LPCVOID srcData, UINT srcDataLen, const D3DXMACRO* defines,
                         ID3DXInclude* include, DWORD, ID3DXEffectPool* pool, ID3DXEffect** effect,
                         ID3DXBuffer** errors) {
    if (!srcData) return D3DERR_INVALIDCALL;
    return port::fx::createEffect(device, port::fx::sourceText(srcData, srcDataLen), defines, include, pool, "memory",
                                  effect, errors);
}

HRESULT D3DXCreateEffectFromFileW(IDirect3DDevice9* device, LPCWSTR file, const D3DXMACRO* defines,
                                  ID3DXInclude* include, DWORD, ID3DXEffectPool* pool, ID3DXEffect** effect,
                                  ID3DXBuffer** errors) {
    if (errors) *errors = nullptr;
    if (!file) return D3DERR_INVALIDCALL;
    std::string bytes;
    if (!port::dx::readHostFile(port::hostPath(file), bytes)) {
        if (errors) *errors = port::dx::makeTextBuffer(port::toUtf8(file) + ": cannot open the file\n");
        return D3DERR_NOTFOUND;
    }
    port::fx::FileInclude fileInclude(file);
    return port::fx::createEffect(device, port::fx::sourceText(bytes.data(), static_cast<UINT>(bytes.size())), defines,
                                  include ? include : &fileInclude, pool, port::toUtf8(file), effect, errors);
}
