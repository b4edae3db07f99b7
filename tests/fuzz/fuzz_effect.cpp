// Fuzzes the effect compiler without a device: preprocessor and parser. Every include names
// the input itself, so includes nest and repeat; what compiles must compile again from its
// compiled form.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "port/d3dx9/d3dx9.h"
#include "port/win32/win32_log.h"

namespace {

class SelfInclude final : public ID3DXInclude {
public:
    explicit SelfInclude(std::string const& text) : text_(text) {}
    HRESULT Open(D3DXINCLUDE_TYPE, LPCSTR, LPCVOID, LPCVOID* data, UINT* bytes) override {
        *data = text_.data();
        *bytes = static_cast<UINT>(text_.size());
        return S_OK;
    }
    HRESULT Close(LPCVOID) override { return S_OK; }

private:
    std::string const& text_;
};

std::string textOf(ID3DXBuffer* buffer) {
    std::string text;
    if (buffer) {
        text.assign(static_cast<char const*>(buffer->GetBufferPointer()), buffer->GetBufferSize());
        buffer->Release();
    }
    return text;
}

// The compiled form, or empty when the source does not compile.
bool compile(std::string const& source, ID3DXInclude* include, std::string& compiled) {
    D3DXMACRO const macros[] = {{"N", "3"}, {"FLAG", nullptr}, {nullptr, nullptr}};
    ID3DXEffectCompiler* compiler = nullptr;
    ID3DXBuffer* errors = nullptr;
    HRESULT hr = D3DXCreateEffectCompiler(source.data(), static_cast<UINT>(source.size()), macros, include, 0,
                                          &compiler, &errors);
    std::string const messages = textOf(errors);
    if (FAILED(hr)) {
        if (compiler || messages.empty()) std::abort();  // a failure always says why
        return false;
    }
    ID3DXBuffer* out = nullptr;
    if (FAILED(compiler->CompileEffect(0, &out, nullptr))) std::abort();
    compiler->Release();
    compiled = textOf(out);
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, std::size_t size) {
    static bool const quiet = [] {
        port::setLogSink([](port::LogLevel, std::wstring const&) {});
        return true;
    }();
    (void)quiet;
    std::string const source(reinterpret_cast<char const*>(data), size);
    SelfInclude include(source);
    std::string compiled;
    if (!compile(source, &include, compiled)) return 0;
    std::string again;
    if (!compile(compiled, nullptr, again) || again != compiled) std::abort();
    return 0;
}
