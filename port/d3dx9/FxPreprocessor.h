// The effect preprocessor: C-style #include (through ID3DXInclude), #define with object- and
// function-like macros (# and ## included), #undef, #if/#ifdef/#ifndef/#elif/#else/#endif with
// integer expressions and defined(), #error; #pragma is dropped and other directives (GLSL's
// #version, #extension) pass through. Comments are removed. Lines keep their numbers; included
// text is framed by `#line N "file"` markers so later stages can name file and line.
#pragma once

#include "port/d3dx9/d3dx9effect.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace port::fx {

// Error and warning lines in D3DX's style: "file(line,column): error: text".
class Diagnostics {
public:
    void error(std::string const& file, int line, int column, std::string const& message);
    void warning(std::string const& file, int line, int column, std::string const& message);
    bool failed() const { return failed_; }
    std::string const& text() const { return text_; }

private:
    std::string text_;
    bool failed_ = false;
};

// Marks text that is already preprocessed (the compiled form handed out by CompileEffect).
inline constexpr std::string_view kPreprocessedMarker = "#pragma fx_preprocessed\n";

struct PreprocessRequest {
    std::string_view text;
    std::string name;  // file name used in markers and messages
    std::vector<std::pair<std::string, std::string>> macros;
    ID3DXInclude* include = nullptr;
};

// The macros of a D3DXMACRO list ending in a null name; a null definition means "1".
std::vector<std::pair<std::string, std::string>> macroList(D3DXMACRO const* defines);

// Preprocessed text starting with kPreprocessedMarker, or false with errors in diag.
bool preprocess(PreprocessRequest const& request, std::string& out, Diagnostics& diag);

}  // namespace port::fx
