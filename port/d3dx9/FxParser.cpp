// Parser of preprocessed effect text into an EffectModel. Declarations: parameters (HLSL types,
// optional array size, semantic, annotations, initializer), samplers with sampler_state,
// techniques with passes of state assignments, and glsl_vertex / glsl_pixel blocks whose text is
// kept as written (up to the matching brace).
#include "port/d3dx9/DxCom.h"
#include "port/d3dx9/FxModel.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

namespace port::fx {

using dx::equalsNoCase;

Storage::~Storage() {
    for (auto* t : textures)
        if (t) t->Release();
}

void Storage::setTexture(std::size_t element, IDirect3DBaseTexture9* texture) {
    if (element >= textures.size() || textures[element] == texture) return;
    if (texture) texture->AddRef();
    if (textures[element]) textures[element]->Release();
    textures[element] = texture;
    ++version;
}

UINT Variable::bytes() const {
    UINT one = type.numeric() ? type.rows * type.cols * 4 : static_cast<UINT>(sizeof(void*));
    return one * count();
}

Variable* EffectModel::findParameter(std::string_view name) const {
    for (auto const& p : parameters)
        if (p->name == name) return p.get();
    return nullptr;
}

ShaderBlock const* EffectModel::findShader(std::string_view name, bool vertex) const {
    for (auto const& s : shaders)
        if (s.name == name && s.vertex == vertex) return &s;
    return nullptr;
}

void buildElementViews(Variable& array) {
    array.elementViews.clear();
    if (array.elements == 0) return;
    for (UINT i = 0; i < array.elements; ++i) {
        auto view = std::make_unique<Variable>();
        view->name = array.name + "[" + std::to_string(i) + "]";
        view->semantic = array.semantic;
        view->type = array.type;
        view->flags = array.flags;
        view->storage = array.storage;
        view->firstElement = i;
        view->elementView = true;
        view->parent = &array;
        view->samplerTexture = array.samplerTexture;
        view->samplerStates = array.samplerStates;
        array.elementViews.push_back(std::move(view));
    }
}

namespace {

enum class T { Ident, Number, String, Punct, End };

struct Token {
    T kind = T::End;
    std::string text;
    char punct = 0;
    int line = 0;
    int column = 0;
};


class Lexer {
public:
    Lexer(std::string_view text, Diagnostics& diag) : s_(text), diag_(diag) {}

    std::string const& file() const { return file_; }

    Token next() {
        skipSpace();
        Token t;
        t.line = line_;
        t.column = column();
        if (pos_ >= s_.size()) return t;
        char c = s_[pos_];
        std::size_t start = pos_;
        if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
            while (pos_ < s_.size() && (std::isalnum(static_cast<unsigned char>(s_[pos_])) || s_[pos_] == '_')) ++pos_;
            t.kind = T::Ident;
            t.text.assign(s_.substr(start, pos_ - start));
        } else if (std::isdigit(static_cast<unsigned char>(c)) ||
                   (c == '.' && pos_ + 1 < s_.size() && std::isdigit(static_cast<unsigned char>(s_[pos_ + 1])))) {
            ++pos_;
            while (pos_ < s_.size()) {
                char d = s_[pos_];
                if (std::isalnum(static_cast<unsigned char>(d)) || d == '.' ||
                    ((d == '+' || d == '-') && (s_[pos_ - 1] == 'e' || s_[pos_ - 1] == 'E') &&
                     !(s_[start] == '0' && start + 1 < s_.size() && (s_[start + 1] == 'x' || s_[start + 1] == 'X'))))
                    ++pos_;
                else
                    break;
            }
            t.kind = T::Number;
            t.text.assign(s_.substr(start, pos_ - start));
        } else if (c == '"') {
            ++pos_;
            t.kind = T::String;
            while (pos_ < s_.size() && s_[pos_] != '"' && s_[pos_] != '\n') {
                char ch = s_[pos_++];
                if (ch == '\\' && pos_ < s_.size()) {
                    char e = s_[pos_++];
                    ch = e == 'n' ? '\n' : e == 't' ? '\t' : e;
                }
                t.text += ch;
            }
            if (pos_ < s_.size() && s_[pos_] == '"')
                ++pos_;
            else
                diag_.error(file_, t.line, t.column, "unterminated string");
        } else {
            ++pos_;
            t.kind = T::Punct;
            t.punct = c;
            t.text.assign(1, c);
        }
        return t;
    }

    // The text up to the brace matching an already read '{'; the brace itself is consumed.
    bool captureBlock(std::string& code, int& firstLine) {
        firstLine = line_;
        int depth = 1;
        while (pos_ < s_.size()) {
            char c = s_[pos_];
            if (c == '\n') {
                code += c;
                newline(pos_ + 1);
                ++pos_;
                while (lineMarker(true, code)) {
                }
                continue;
            }
            if (c == '"') {
                std::size_t start = pos_++;
                while (pos_ < s_.size() && s_[pos_] != '"' && s_[pos_] != '\n') pos_ += s_[pos_] == '\\' ? 2 : 1;
                if (pos_ < s_.size() && s_[pos_] == '"') ++pos_;
                pos_ = std::min(pos_, s_.size());
                code.append(s_.substr(start, pos_ - start));
                continue;
            }
            if (c == '{') ++depth;
            if (c == '}' && --depth == 0) {
                ++pos_;
                return true;
            }
            code += c;
            ++pos_;
        }
        return false;
    }

private:
    int column() const { return static_cast<int>(pos_ - lineStart_) + 1; }
    void newline(std::size_t nextStart) {
        ++line_;
        lineStart_ = nextStart;
    }

    // At a line start: `#line N "file"` sets the position; `#pragma` lines are skipped. Inside a
    // GLSL block the marker is kept as `#line N` for the GL compiler. True when a line was eaten.
    bool lineMarker(bool inBlock, std::string& blockCode) {
        std::size_t p = pos_;
        while (p < s_.size() && (s_[p] == ' ' || s_[p] == '\t')) ++p;
        if (p >= s_.size() || s_[p] != '#') return false;
        std::size_t eol = s_.find('\n', p);
        if (eol == std::string_view::npos) eol = s_.size();
        std::string_view text = s_.substr(p + 1, eol - p - 1);
        if (text.substr(0, 5) == "line ") {
            char const* num = text.data() + 5;
            char* end = nullptr;
            long n = std::strtol(num, &end, 10);
            std::string_view rest(end, static_cast<std::size_t>(text.data() + text.size() - end));
            std::size_t q1 = rest.find('"'), q2 = rest.rfind('"');
            if (q1 != std::string_view::npos && q2 > q1) file_.assign(rest.substr(q1 + 1, q2 - q1 - 1));
            if (inBlock) blockCode += "#line " + std::to_string(n) + "\n";
            pos_ = eol < s_.size() ? eol + 1 : eol;
            line_ = static_cast<int>(n);
            lineStart_ = pos_;
            return true;
        }
        if (inBlock) return false;  // other directives belong to the GLSL code
        if (text.substr(0, 7) != "pragma ") {
            diag_.error(file_, line_, 1, "unexpected directive '#" + std::string(text) + "' outside a GLSL block");
        }
        pos_ = eol < s_.size() ? eol + 1 : eol;
        newline(pos_);
        return true;
    }

    void skipSpace() {
        std::string unused;
        if (!started_) {
            started_ = true;
            while (lineMarker(false, unused)) {
            }
        }
        while (pos_ < s_.size()) {
            char c = s_[pos_];
            if (c == '\n') {
                ++pos_;
                newline(pos_);
                while (lineMarker(false, unused)) {
                }
            } else if (std::isspace(static_cast<unsigned char>(c))) {
                ++pos_;
            } else {
                break;
            }
        }
    }

    std::string_view s_;
    Diagnostics& diag_;
    std::size_t pos_ = 0;
    std::size_t lineStart_ = 0;
    int line_ = 1;
    bool started_ = false;
    std::string file_ = "memory";
};

struct TypeWord {
    char const* word;
    D3DXPARAMETER_TYPE type;
};

// HLSL type names: float, float3, float4x4, int2, bool, half, matrix, vector, string,
// texture, texture2D, sampler, sampler2D ...
bool parseTypeName(std::string const& word, TypeDesc& out) {
    static TypeWord const objects[] = {
        {"string", D3DXPT_STRING},         {"texture", D3DXPT_TEXTURE},         {"texture1D", D3DXPT_TEXTURE1D},
        {"texture2D", D3DXPT_TEXTURE2D},   {"texture3D", D3DXPT_TEXTURE3D},     {"textureCUBE", D3DXPT_TEXTURECUBE},
        {"sampler", D3DXPT_SAMPLER},       {"sampler1D", D3DXPT_SAMPLER1D},     {"sampler2D", D3DXPT_SAMPLER2D},
        {"sampler3D", D3DXPT_SAMPLER3D},   {"samplerCUBE", D3DXPT_SAMPLERCUBE}, {"sampler_state", D3DXPT_SAMPLER},
    };
    for (auto const& o : objects) {
        if (equalsNoCase(word, o.word)) {
            out = {D3DXPC_OBJECT, o.type, 1, 1};
            return true;
        }
    }
    if (word == "matrix") {
        out = {D3DXPC_MATRIX_COLUMNS, D3DXPT_FLOAT, 4, 4};
        return true;
    }
    if (word == "vector") {
        out = {D3DXPC_VECTOR, D3DXPT_FLOAT, 1, 4};
        return true;
    }
    static TypeWord const scalars[] = {{"float", D3DXPT_FLOAT}, {"half", D3DXPT_FLOAT}, {"double", D3DXPT_FLOAT},
                                       {"int", D3DXPT_INT},     {"uint", D3DXPT_INT},   {"dword", D3DXPT_INT},
                                       {"bool", D3DXPT_BOOL}};
    for (auto const& s : scalars) {
        std::size_t n = std::strlen(s.word);
        if (word.compare(0, n, s.word) != 0) continue;
        std::string rest = word.substr(n);
        if (rest.empty()) {
            out = {D3DXPC_SCALAR, s.type, 1, 1};
            return true;
        }
        if (rest.size() == 1 && rest[0] >= '1' && rest[0] <= '4') {
            UINT c = static_cast<UINT>(rest[0] - '0');
            out = {c == 1 ? D3DXPC_SCALAR : D3DXPC_VECTOR, s.type, 1, c};
            return true;
        }
        if (rest.size() == 3 && rest[1] == 'x' && rest[0] >= '1' && rest[0] <= '4' && rest[2] >= '1' && rest[2] <= '4') {
            out = {D3DXPC_MATRIX_COLUMNS, s.type, static_cast<UINT>(rest[0] - '0'), static_cast<UINT>(rest[2] - '0')};
            return true;
        }
    }
    return false;
}

uint32_t encode(D3DXPARAMETER_TYPE type, double v) {
    if (type == D3DXPT_FLOAT) {
        float f = static_cast<float>(v);
        uint32_t bits;
        std::memcpy(&bits, &f, 4);
        return bits;
    }
    if (type == D3DXPT_BOOL) return v != 0.0 ? 1u : 0u;
    return static_cast<uint32_t>(saturate32(v));
}

class Parser {
public:
    Parser(std::string_view text, EffectModel& model, Diagnostics& diag) : lex_(text, diag), model_(model), diag_(diag) {
        advance();
    }

    void parse() {
        while (tok_.kind != T::End && errors_ < kMaxErrors) {
            if (isPunct(';')) {
                advance();
            } else if (tok_.kind == T::Ident && (tok_.text == "technique" || tok_.text == "technique9")) {
                advance();
                technique();
            } else if (tok_.kind == T::Ident && (tok_.text == "glsl_vertex" || tok_.text == "glsl_pixel")) {
                bool vertex = tok_.text == "glsl_vertex";
                advance();
                shaderBlock(vertex);
            } else {
                parameter();
            }
        }
        if (errors_ == 0) resolve();
    }

private:
    static constexpr int kMaxErrors = 20;
    static constexpr int kMaxNesting = 16;
    static constexpr std::size_t kMaxValues = 1 << 20;

    void advance() { tok_ = lex_.next(); }
    bool isPunct(char c) const { return tok_.kind == T::Punct && tok_.punct == c; }
    void error(std::string const& message) { errorAt(tok_, message); }
    void errorAt(Token const& t, std::string const& message) {
        ++errors_;
        diag_.error(lex_.file(), t.line, t.column, message);
    }
    std::string describe() const {
        return tok_.kind == T::End ? std::string("end of file") : "'" + tok_.text + "'";
    }
    bool expect(char c) {
        if (isPunct(c)) {
            advance();
            return true;
        }
        error(std::string("syntax error: expected '") + c + "' but found " + describe());
        recover();
        return false;
    }
    // Skips to the next ';' or '}' so one mistake gives one message.
    void recover() {
        while (tok_.kind != T::End && !isPunct(';') && !isPunct('}')) advance();
        if (tok_.kind != T::End) advance();
    }
    bool identifier(std::string& out, char const* what) {
        if (tok_.kind != T::Ident) {
            error(std::string("syntax error: expected ") + what + " but found " + describe());
            recover();
            return false;
        }
        out = tok_.text;
        advance();
        return true;
    }

    // A number with an optional sign; true/false count as 1/0.
    bool number(double& v) {
        bool negative = false;
        while (isPunct('-') || isPunct('+')) {
            negative ^= isPunct('-');
            advance();
        }
        if (tok_.kind == T::Ident && (tok_.text == "true" || tok_.text == "false")) {
            v = tok_.text == "true" ? 1.0 : 0.0;
            advance();
            return true;
        }
        if (tok_.kind != T::Number) return false;
        std::string text = tok_.text;
        bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
        if (!hex)
            while (!text.empty() && std::strchr("fFhHlLuU", text.back())) text.pop_back();
        char* end = nullptr;
        v = hex ? static_cast<double>(std::strtoull(text.c_str(), &end, 16)) : std::strtod(text.c_str(), &end);
        if (end != text.c_str() + text.size()) {
            error("bad number '" + tok_.text + "'");
            v = 0.0;
        }
        if (negative) v = -v;
        advance();
        return true;
    }

    // Values of an initializer: a number, { list } (nested lists flatten) or type(list).
    bool numberList(std::vector<double>& values, int depth = 0) {
        if (depth > kMaxNesting || values.size() > kMaxValues) {
            error("initializer nested too deeply or too long");
            recover();
            return false;
        }
        if (isPunct('{')) {
            advance();
            while (!isPunct('}')) {
                if (!numberList(values, depth + 1)) return false;
                if (isPunct(',')) advance();
                else if (!isPunct('}')) return expect('}');
            }
            advance();
            return true;
        }
        TypeDesc ignored;
        if (tok_.kind == T::Ident && parseTypeName(tok_.text, ignored)) {
            advance();
            if (!expect('(')) return false;
            while (!isPunct(')')) {
                if (!numberList(values, depth + 1)) return false;
                if (isPunct(',')) advance();
                else if (!isPunct(')')) return expect(')');
            }
            advance();
            return true;
        }
        double v = 0.0;
        if (!number(v)) {
            error("syntax error: expected a value but found " + describe());
            recover();
            return false;
        }
        values.push_back(v);
        return true;
    }

    std::shared_ptr<Storage> makeStorage(Variable const& v) {
        auto s = std::make_shared<Storage>();
        UINT n = v.count();
        s->words.assign(static_cast<std::size_t>(v.type.components()) * n, 0u);
        s->strings.assign(v.type.string() ? n : 0, std::string());
        s->textures.assign(v.type.texture() ? n : 0, nullptr);
        return s;
    }

    bool initializer(Variable& v, Token const& at) {
        if (v.type.string()) {
            if (tok_.kind != T::String) {
                error("syntax error: expected a string but found " + describe());
                recover();
                return false;
            }
            if (!v.storage->strings.empty()) v.storage->strings[0] = tok_.text;
            advance();
            return true;
        }
        if (!v.type.numeric()) {
            errorAt(at, "'" + v.name + "' cannot have an initial value");
            recover();
            return false;
        }
        std::vector<double> values;
        if (!numberList(values)) return false;
        std::size_t total = v.storage->words.size();
        if (values.size() == 1 && total > 1) values.assign(total, values[0]);
        if (values.size() != total) {
            errorAt(at, "'" + v.name + "' needs " + std::to_string(total) + " initial values, not " +
                            std::to_string(values.size()));
            return true;
        }
        for (std::size_t i = 0; i < total; ++i) v.storage->words[i] = encode(v.type.type, values[i]);
        return true;
    }

    // < type name = value; ... >
    bool annotations(std::vector<std::unique_ptr<Variable>>& out) {
        if (!isPunct('<')) return true;
        advance();
        while (!isPunct('>')) {
            if (tok_.kind == T::End) return expect('>');
            Token at = tok_;
            auto a = std::make_unique<Variable>();
            std::string typeName;
            if (!identifier(typeName, "an annotation type")) return false;
            if (!parseTypeName(typeName, a->type) || !(a->type.numeric() || a->type.string())) {
                errorAt(at, "unknown annotation type '" + typeName + "'");
                recover();
                continue;
            }
            if (!identifier(a->name, "an annotation name")) continue;
            a->flags = D3DX_PARAMETER_ANNOTATION;
            a->storage = makeStorage(*a);
            a->file = lex_.file();
            a->line = at.line;
            if (!expect('=')) continue;
            if (!initializer(*a, at)) continue;
            if (!expect(';')) continue;
            out.push_back(std::move(a));
        }
        advance();
        return true;
    }

    // Texture = <name>; MinFilter = Linear; ...
    void samplerState(Variable& v) {
        advance();  // sampler_state
        if (!expect('{')) return;
        while (!isPunct('}') && tok_.kind != T::End) {
            Token at = tok_;
            std::string name;
            if (!identifier(name, "a sampler state")) continue;
            if (!expect('=')) continue;
            StateInfo const* info = findState(name);
            if (info && info->kind == StateKind::Texture) {
                std::string ref;
                if (!reference(ref)) continue;
                v.samplerTexture = ref;
            } else if (info && info->kind == StateKind::Sampler) {
                StateAssignment sa;
                if (!stateValue(*info, sa)) continue;
                v.samplerStates.emplace_back(info->id, sa.value);
            } else {
                errorAt(at, "unknown sampler state '" + name + "'");
                recover();
                continue;
            }
            expect(';');
        }
        advance();
    }

    // <name> or (name)
    bool reference(std::string& name) {
        char close = isPunct('<') ? '>' : isPunct('(') ? ')' : 0;
        if (!close) {
            error("syntax error: expected <name> but found " + describe());
            recover();
            return false;
        }
        advance();
        if (!identifier(name, "a parameter name")) return false;
        return expect(close);
    }

    void parameter() {
        Token at = tok_;
        auto v = std::make_unique<Variable>();
        std::string word;
        for (;;) {
            if (!identifier(word, "a declaration")) return;
            if (word == "shared") v->flags |= D3DX_PARAMETER_SHARED;
            else if (word == "uniform" || word == "const" || word == "extern" || word == "row_major" || word == "column_major") {
            } else break;
        }
        if (!parseTypeName(word, v->type)) {
            errorAt(at, "syntax error: unknown type '" + word + "'");
            recover();
            return;
        }
        if (!identifier(v->name, "a parameter name")) return;
        v->file = lex_.file();
        v->line = at.line;
        if (isPunct('[')) {
            advance();
            double n = 0;
            if (!number(n) || n < 1 || n > 65536) {
                error("bad array size");
                recover();
                return;
            }
            v->elements = static_cast<UINT>(n);
            if (!expect(']')) return;
        }
        if (isPunct(':')) {
            advance();
            if (!identifier(v->semantic, "a semantic")) return;
        }
        if (!annotations(v->annotations)) return;
        v->storage = makeStorage(*v);
        if (isPunct('=')) {
            advance();
            if (v->type.sampler()) {
                if (tok_.kind != T::Ident || tok_.text != "sampler_state") {
                    error("syntax error: expected sampler_state but found " + describe());
                    recover();
                    return;
                }
                samplerState(*v);
            } else if (!initializer(*v, at)) {
                return;
            }
        }
        if (!expect(';')) return;
        if (model_.findParameter(v->name)) {
            errorAt(at, "redefinition of '" + v->name + "'");
            return;
        }
        model_.parameters.push_back(std::move(v));
    }

    // The value of one state assignment, after '='.
    bool stateValue(StateInfo const& info, StateAssignment& sa) {
        sa.kind = info.kind;
        sa.state = info.id;
        sa.type = info.type;
        if (isPunct('<') || isPunct('(')) return reference(sa.ref);
        if (tok_.kind == T::Ident && tok_.text == "compile") {
            error("HLSL shaders are not supported; name a glsl_vertex or glsl_pixel block");
            recover();
            return false;
        }
        if (info.type == ValueType::Object) {
            if (tok_.kind == T::Ident && (tok_.text == "NULL" || tok_.text == "null")) {
                advance();
                return true;
            }
            return identifier(sa.ref, "a name");
        }
        if (info.type == ValueType::Color && tok_.kind == T::Ident && tok_.text != "true" && tok_.text != "false") {
            std::vector<double> c;
            if (!numberList(c)) return false;
            if (c.size() != 4) {
                error("a colour needs 4 values");
                return false;
            }
            sa.value = static_cast<DWORD>(D3DXCOLOR(float(c[0]), float(c[1]), float(c[2]), float(c[3])));
            return true;
        }
        DWORD value = 0;
        bool any = false;
        for (;;) {
            double number = 0.0;
            if (tok_.kind == T::Ident && tok_.text != "true" && tok_.text != "false") {
                DWORD word = 0;
                if (!enumValue(info.type, tok_.text, word)) {
                    error("'" + tok_.text + "' is no value of " + info.name);
                    recover();
                    return false;
                }
                value |= word;
                advance();
            } else if (this->number(number)) {
                if (info.type == ValueType::Float) {
                    float f = static_cast<float>(number);
                    std::memcpy(&value, &f, 4);
                } else {
                    value |= static_cast<DWORD>(saturate(number));
                }
            } else {
                error("syntax error: expected a value for " + std::string(info.name) + " but found " + describe());
                recover();
                return false;
            }
            any = true;
            if (!isPunct('|')) break;
            advance();
        }
        sa.value = value;
        return any;
    }

    void pass(Technique& t) {
        auto p = std::make_unique<Pass>();
        p->file = lex_.file();
        p->line = tok_.line;
        if (tok_.kind == T::Ident) {
            p->name = tok_.text;
            advance();
        }
        if (!annotations(p->annotations)) return;
        if (!expect('{')) return;
        while (!isPunct('}') && tok_.kind != T::End) {
            Token at = tok_;
            std::string name;
            if (!identifier(name, "a state name")) continue;
            StateInfo const* info = findState(name);
            if (!info) {
                errorAt(at, "unknown state '" + name + "'");
                recover();
                continue;
            }
            StateAssignment sa;
            sa.file = lex_.file();
            sa.line = at.line;
            if (isPunct('[')) {
                advance();
                double index = 0;
                if (!number(index) || index < 0 || index >= PORT_D3D_MAX_SAMPLERS) {
                    error("bad state index");
                    recover();
                    continue;
                }
                sa.index = static_cast<DWORD>(index);
                if (!expect(']')) continue;
            }
            if (!expect('=')) continue;
            if (!stateValue(*info, sa)) continue;
            if (!expect(';')) continue;
            if (sa.kind == StateKind::VertexShader) p->vertexShader = sa.ref;
            else if (sa.kind == StateKind::PixelShader) p->pixelShader = sa.ref;
            else p->states.push_back(sa);
        }
        advance();
        t.passes.push_back(std::move(p));
    }

    void technique() {
        auto t = std::make_unique<Technique>();
        if (tok_.kind == T::Ident) {
            t->name = tok_.text;
            advance();
        }
        if (!annotations(t->annotations)) return;
        if (!expect('{')) return;
        while (!isPunct('}') && tok_.kind != T::End) {
            if (tok_.kind == T::Ident && tok_.text == "pass") {
                advance();
                pass(*t);
            } else {
                error("syntax error: expected 'pass' but found " + describe());
                recover();
            }
        }
        if (!expect('}')) return;
        model_.techniques.push_back(std::move(t));
    }

    void shaderBlock(bool vertex) {
        ShaderBlock block;
        block.vertex = vertex;
        if (!identifier(block.name, "a shader name")) return;
        block.file = lex_.file();
        if (!isPunct('{')) {
            expect('{');
            return;
        }
        // The lexer stands right after the brace: capture from there.
        if (!lex_.captureBlock(block.code, block.line)) {
            errorAt(tok_, "unterminated block '" + block.name + "'");
            tok_ = Token{};
            return;
        }
        if (model_.findShader(block.name, vertex)) {
            errorAt(tok_, "redefinition of shader '" + block.name + "'");
        }
        model_.shaders.push_back(std::move(block));
        advance();
    }

    // Names used by passes and samplers must exist with the right kind.
    void resolve() {
        for (auto const& p : model_.parameters) {
            if (!p->samplerTexture.empty()) {
                Variable const* t = model_.findParameter(p->samplerTexture);
                if (!t || !t->type.texture())
                    diag_.error(p->file, p->line, 1, "sampler '" + p->name + "' names no texture '" + p->samplerTexture + "'");
            }
        }
        for (auto const& t : model_.techniques) {
            for (auto const& p : t->passes) {
                bool vs = !p->vertexShader.empty(), ps = !p->pixelShader.empty();
                if (vs != ps) {
                    diag_.error(p->file, p->line, 1, "pass '" + p->name + "' of technique '" + t->name +
                                                         "' needs both VertexShader and PixelShader");
                }
                if (vs && !model_.findShader(p->vertexShader, true))
                    diag_.error(p->file, p->line, 1, "unknown glsl_vertex block '" + p->vertexShader + "'");
                if (ps && !model_.findShader(p->pixelShader, false))
                    diag_.error(p->file, p->line, 1, "unknown glsl_pixel block '" + p->pixelShader + "'");
                for (auto const& sa : p->states) {
                    if (sa.ref.empty()) continue;
                    Variable const* v = model_.findParameter(sa.ref);
                    bool ok = v && (sa.kind == StateKind::Texture       ? v->type.texture()
                                    : sa.kind == StateKind::SamplerObject ? v->type.sampler()
                                                                          : v->type.numeric());
                    if (!ok) diag_.error(sa.file, sa.line, 1, "'" + sa.ref + "' is no parameter of the right kind");
                }
            }
        }
    }

    Lexer lex_;
    EffectModel& model_;
    Diagnostics& diag_;
    Token tok_;
    int errors_ = 0;
};

}  // namespace

bool parseEffect(std::string_view text, EffectModel& model, Diagnostics& diag) {
    Parser parser(text, model, diag);
    parser.parse();
    if (diag.failed()) return false;
    for (auto& p : model.parameters) buildElementViews(*p);
    return true;
}

}  // namespace port::fx
