// The effect preprocessor (see FxPreprocessor.h). Macro expansion rescans each replacement with
// the macro itself disabled, so self-referencing macros stop; function-like macro calls must
// close on the same logical line. Include depth, the number of includes and the expansion work of
// a line, of a file and of the whole compile are limited, and the first error ends the run, so a
// file including itself or macros doubling each other fail fast instead of running away.
#include "port/d3dx9/FxPreprocessor.h"

#include <cctype>
#include <cstdlib>
#include <map>

namespace port::fx {

void Diagnostics::error(std::string const& file, int line, int column, std::string const& message) {
    text_ += file + "(" + std::to_string(line) + "," + std::to_string(column) + "): error: " + message + "\n";
    failed_ = true;
}

void Diagnostics::warning(std::string const& file, int line, int column, std::string const& message) {
    text_ += file + "(" + std::to_string(line) + "," + std::to_string(column) + "): warning: " + message + "\n";
}

std::vector<std::pair<std::string, std::string>> macroList(D3DXMACRO const* defines) {
    std::vector<std::pair<std::string, std::string>> list;
    for (; defines && defines->Name; ++defines)
        list.emplace_back(defines->Name, defines->Definition ? defines->Definition : "1");
    return list;
}

namespace {

constexpr int kMaxIncludeDepth = 32;
constexpr int kMaxIncludes = 256;  // per compile
constexpr int kMaxExpansionDepth = 64;
// Characters handled while expanding macros: per logical line, per file (its includes apart) and
// per compile.
constexpr std::size_t kMaxExpandedLine = 1 << 18;
constexpr std::size_t kMaxFileExpansion = 1 << 20;
constexpr std::size_t kMaxCompileExpansion = 1 << 21;

bool isIdentStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool isIdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

enum class TokKind { Ident, Number, String, Space, Punct };
struct Tok {
    TokKind kind;
    std::string text;
};

// Splits one logical line into preprocessing tokens.
std::vector<Tok> tokenize(std::string_view s) {
    std::vector<Tok> toks;
    std::size_t i = 0;
    while (i < s.size()) {
        char c = s[i];
        std::size_t start = i;
        if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
            while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\r' || s[i] == '\f' || s[i] == '\v')) ++i;
            toks.push_back({TokKind::Space, std::string(s.substr(start, i - start))});
        } else if (isIdentStart(c)) {
            while (i < s.size() && isIdentChar(s[i])) ++i;
            toks.push_back({TokKind::Ident, std::string(s.substr(start, i - start))});
        } else if (std::isdigit(static_cast<unsigned char>(c)) ||
                   (c == '.' && i + 1 < s.size() && std::isdigit(static_cast<unsigned char>(s[i + 1])))) {
            ++i;
            while (i < s.size()) {
                char d = s[i];
                if (isIdentChar(d) || d == '.') {
                    ++i;
                } else if ((d == '+' || d == '-') && (s[i - 1] == 'e' || s[i - 1] == 'E')) {
                    ++i;
                } else {
                    break;
                }
            }
            toks.push_back({TokKind::Number, std::string(s.substr(start, i - start))});
        } else if (c == '"' || c == '\'') {
            ++i;
            while (i < s.size() && s[i] != c) i += (s[i] == '\\' && i + 1 < s.size()) ? 2 : 1;
            if (i < s.size()) ++i;
            toks.push_back({TokKind::String, std::string(s.substr(start, i - start))});
        } else if (c == '#' && i + 1 < s.size() && s[i + 1] == '#') {
            i += 2;
            toks.push_back({TokKind::Punct, "##"});
        } else {
            ++i;
            toks.push_back({TokKind::Punct, std::string(1, c)});
        }
    }
    return toks;
}

std::string joinTokens(std::vector<Tok> const& toks, std::size_t from = 0, std::size_t to = std::string::npos) {
    std::string out;
    to = std::min(to, toks.size());
    for (std::size_t i = from; i < to; ++i) out += toks[i].text;
    return out;
}

std::string trim(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
    return std::string(s.substr(b, e - b));
}

// Replaces comments by blanks, keeping the newlines inside block comments.
std::string stripComments(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        char c = text[i];
        if (c == '"' || c == '\'') {
            std::size_t start = i++;
            while (i < text.size() && text[i] != c && text[i] != '\n') i += (text[i] == '\\' && i + 1 < text.size()) ? 2 : 1;
            if (i < text.size() && text[i] == c) ++i;
            out.append(text.substr(start, i - start));
        } else if (c == '/' && i + 1 < text.size() && text[i + 1] == '/') {
            while (i < text.size() && text[i] != '\n') {
                // A line comment ending in a backslash continues; keep the splice.
                if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == '\n') break;
                ++i;
            }
            out += ' ';
            if (i < text.size() && text[i] == '\\') {
                out += "\\\n";
                i += 2;
                while (i < text.size() && text[i] != '\n') ++i;
            }
        } else if (c == '/' && i + 1 < text.size() && text[i + 1] == '*') {
            i += 2;
            out += ' ';
            while (i < text.size() && !(text[i] == '*' && i + 1 < text.size() && text[i + 1] == '/')) {
                if (text[i] == '\n') out += '\n';
                ++i;
            }
            i = std::min(text.size(), i + 2);
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

struct Macro {
    bool function = false;
    std::vector<std::string> params;
    std::vector<Tok> body;
};

struct Conditional {
    bool parentActive;
    bool taken;
    bool active;
    bool seenElse;
    int line;
};

class Preprocessor {
public:
    Preprocessor(ID3DXInclude* include, Diagnostics& diag) : include_(include), diag_(diag) {}

    void defineText(std::string const& name, std::string const& body) {
        Macro m;
        m.body = tokenize(body);
        macros_[name] = std::move(m);
    }

    void processFile(std::string_view text, std::string const& file, LPCVOID parentData, int depth, std::string& out);

private:
    void error(int line, int column, std::string const& message) { diag_.error(file_, line, column, message); }
    bool active() const { return conds_.empty() || conds_.back().active; }
    void directive(std::string const& lineText, int line, LPCVOID data, int depth, std::string& out);
    void doDefine(std::vector<Tok> const& toks, std::size_t i, int line);
    void doInclude(std::string const& rest, int line, LPCVOID data, int depth, std::string& out);
    bool evalCondition(std::string const& expr, int line);
    // Macros being expanded (not expanded again inside themselves), innermost first.
    struct Disabled {
        std::string const* name;
        Disabled const* next;
        bool has(std::string const& n) const {
            for (Disabled const* d = this; d; d = d->next)
                if (d->name && *d->name == n) return true;
            return false;
        }
    };
    std::string expand(std::vector<Tok> const& toks, Disabled const& disabled, int depth);
    // Expands a whole line of text; an error (and an empty result) when a budget ran out.
    std::string expandLine(std::vector<Tok> const& toks, int line);
    bool overBudget() const {
        return lineWork_ > kMaxExpandedLine || fileWork_ > kMaxFileExpansion || compileWork_ > kMaxCompileExpansion;
    }

    ID3DXInclude* include_;
    Diagnostics& diag_;
    std::map<std::string, Macro> macros_;
    std::vector<Conditional> conds_;
    std::string file_;
    int nextLine_ = 1;
    int includes_ = 0;
    // Characters handled while expanding: the current line, the current file, the compile.
    std::size_t lineWork_ = 0;
    std::size_t fileWork_ = 0;
    std::size_t compileWork_ = 0;
};

std::string Preprocessor::expandLine(std::vector<Tok> const& toks, int line) {
    lineWork_ = 0;
    std::string expanded = expand(toks, Disabled{nullptr, nullptr}, 0);
    if (!overBudget()) return expanded;
    error(line, 1, lineWork_ > kMaxExpandedLine ? "macro expansion too large"
                   : fileWork_ > kMaxFileExpansion ? "macro expansion of the file too large"
                                                   : "macro expansion of the effect too large");
    return std::string();
}

void Preprocessor::processFile(std::string_view text, std::string const& file, LPCVOID data, int depth,
                               std::string& out) {
    std::string savedFile = file_;
    int savedNext = nextLine_;
    std::size_t condBase = conds_.size();
    std::size_t savedWork = fileWork_;
    fileWork_ = 0;
    file_ = file;
    std::string clean = stripComments(text);
    std::size_t pos = 0;
    int line = 1;
    // The first error ends the run: what follows could only repeat it (a file including itself
    // twice would otherwise go on through every chain).
    while (pos < clean.size() && !diag_.failed()) {
        // One logical line: physical lines joined at a trailing backslash.
        std::string logical;
        int physical = 0;
        while (pos < clean.size()) {
            std::size_t nl = clean.find('\n', pos);
            std::size_t end = nl == std::string::npos ? clean.size() : nl;
            std::string_view piece(clean.data() + pos, end - pos);
            if (!piece.empty() && piece.back() == '\r') piece.remove_suffix(1);
            pos = nl == std::string::npos ? clean.size() : nl + 1;
            ++physical;
            if (!piece.empty() && piece.back() == '\\') {
                logical.append(piece.substr(0, piece.size() - 1));
                continue;
            }
            logical.append(piece);
            break;
        }
        nextLine_ = line + physical;
        std::size_t first = logical.find_first_not_of(" \t");
        if (first != std::string::npos && logical[first] == '#') {
            directive(logical.substr(first + 1), line, data, depth, out);
        } else if (active()) {
            out += expandLine(tokenize(logical), line);
            out += '\n';
        } else {
            out += '\n';
        }
        for (int k = 1; k < physical; ++k) out += '\n';
        line += physical;
    }
    if (conds_.size() > condBase) {
        if (!diag_.failed()) error(conds_.back().line, 1, "#if without #endif");
        conds_.resize(condBase);
    }
    fileWork_ = savedWork;
    file_ = savedFile;
    nextLine_ = savedNext;
}

void Preprocessor::directive(std::string const& text, int line, LPCVOID data, int depth, std::string& out) {
    std::vector<Tok> toks = tokenize(text);
    std::size_t i = 0;
    while (i < toks.size() && toks[i].kind == TokKind::Space) ++i;
    if (i == toks.size()) {  // a lone '#'
        out += '\n';
        return;
    }
    std::string name = toks[i].text;
    std::string rest = trim(joinTokens(toks, i + 1));
    bool on = active();
    if (name == "if" || name == "ifdef" || name == "ifndef") {
        bool value = false;
        if (on) {
            if (name == "if") {
                value = evalCondition(rest, line);
            } else {
                std::string macro = trim(rest);
                if (macro.empty() || !isIdentStart(macro[0])) error(line, 1, "#" + name + " needs a macro name");
                value = macros_.count(macro) != 0;
                if (name == "ifndef") value = !value;
            }
        }
        conds_.push_back({on, value, on && value, false, line});
    } else if (name == "elif") {
        if (conds_.empty() || conds_.back().seenElse) {
            error(line, 1, "#elif without #if");
        } else {
            Conditional& c = conds_.back();
            bool value = c.parentActive && !c.taken && evalCondition(rest, line);
            c.active = value;
            c.taken = c.taken || value;
        }
    } else if (name == "else") {
        if (conds_.empty() || conds_.back().seenElse) {
            error(line, 1, "#else without #if");
        } else {
            Conditional& c = conds_.back();
            c.active = c.parentActive && !c.taken;
            c.taken = true;
            c.seenElse = true;
        }
    } else if (name == "endif") {
        if (conds_.empty())
            error(line, 1, "#endif without #if");
        else
            conds_.pop_back();
    } else if (!on) {
        // Other directives in skipped text are ignored.
    } else if (name == "define") {
        doDefine(toks, i + 1, line);
    } else if (name == "undef") {
        macros_.erase(trim(rest));
    } else if (name == "include") {
        doInclude(rest, line, data, depth, out);
        return;  // doInclude wrote the line markers
    } else if (name == "error") {
        error(line, 1, "#error " + rest);
    } else if (name == "pragma" || name == "line") {
        // Dropped: our line markers are the only ones downstream.
    } else {
        out += "#" + trim(text);  // #version, #extension ... belong to the GLSL code
    }
    out += '\n';
}

void Preprocessor::doDefine(std::vector<Tok> const& toks, std::size_t i, int line) {
    while (i < toks.size() && toks[i].kind == TokKind::Space) ++i;
    if (i == toks.size() || toks[i].kind != TokKind::Ident) {
        error(line, 1, "#define needs a macro name");
        return;
    }
    std::string name = toks[i++].text;
    Macro m;
    if (i < toks.size() && toks[i].text == "(") {  // function-like: '(' right after the name
        m.function = true;
        ++i;
        bool closed = false;
        while (i < toks.size()) {
            if (toks[i].kind == TokKind::Space || toks[i].text == ",") {
                ++i;
            } else if (toks[i].text == ")") {
                ++i;
                closed = true;
                break;
            } else if (toks[i].kind == TokKind::Ident) {
                m.params.push_back(toks[i++].text);
            } else {
                break;
            }
        }
        if (!closed) {
            error(line, 1, "bad parameter list of macro '" + name + "'");
            return;
        }
    }
    while (i < toks.size() && toks[i].kind == TokKind::Space) ++i;
    std::size_t end = toks.size();
    while (end > i && toks[end - 1].kind == TokKind::Space) --end;
    m.body.assign(toks.begin() + static_cast<std::ptrdiff_t>(i), toks.begin() + static_cast<std::ptrdiff_t>(end));
    macros_[name] = std::move(m);
}

void Preprocessor::doInclude(std::string const& restIn, int line, LPCVOID data, int depth, std::string& out) {
    std::string rest = restIn;
    if (!rest.empty() && rest[0] != '"' && rest[0] != '<') rest = trim(expandLine(tokenize(rest), line));
    if (diag_.failed()) return;
    std::string fileName;
    D3DXINCLUDE_TYPE type = D3DXINC_LOCAL;
    std::size_t close = std::string::npos;
    if (!rest.empty() && rest[0] == '"') {
        close = rest.find('"', 1);
    } else if (!rest.empty() && rest[0] == '<') {
        close = rest.find('>', 1);
        type = D3DXINC_SYSTEM;
    }
    auto resume = [&] { out += "#line " + std::to_string(nextLine_) + " \"" + file_ + "\"\n"; };
    if (close == std::string::npos) {
        error(line, 1, "#include needs \"file\" or <file>");
        resume();
        return;
    }
    fileName = rest.substr(1, close - 1);
    if (depth >= kMaxIncludeDepth) {
        error(line, 1, "#include nested too deeply (" + fileName + ")");
        resume();
        return;
    }
    if (++includes_ > kMaxIncludes) {
        error(line, 1, "more than " + std::to_string(kMaxIncludes) + " includes (" + fileName + ")");
        resume();
        return;
    }
    LPCVOID included = nullptr;
    UINT bytes = 0;
    if (!include_ || FAILED(include_->Open(type, fileName.c_str(), data, &included, &bytes)) || !included) {
        error(line, 1, "cannot open include file '" + fileName + "'");
        resume();
        return;
    }
    std::string_view text(static_cast<char const*>(included), bytes);
    if (std::size_t nul = text.find('\0'); nul != std::string_view::npos) text = text.substr(0, nul);
    out += "#line 1 \"" + fileName + "\"\n";
    processFile(text, fileName, included, depth + 1, out);
    include_->Close(included);
    resume();
}

std::string Preprocessor::expand(std::vector<Tok> const& toks, Disabled const& disabled, int depth) {
    std::string out;
    for (std::size_t i = 0; i < toks.size(); ++i) {
        if (overBudget()) break;  // a macro bomb: expandLine reports it
        lineWork_ += toks[i].text.size();
        fileWork_ += toks[i].text.size();
        compileWork_ += toks[i].text.size();
        Tok const& t = toks[i];
        auto found = t.kind == TokKind::Ident ? macros_.find(t.text) : macros_.end();
        if (found == macros_.end() || disabled.has(t.text) || depth > kMaxExpansionDepth) {
            out += t.text;
            continue;
        }
        Macro const& m = found->second;
        Disabled inner{&found->first, &disabled};
        if (!m.function) {
            out += expand(m.body, inner, depth + 1);
            continue;
        }
        std::size_t j = i + 1;
        while (j < toks.size() && toks[j].kind == TokKind::Space) ++j;
        if (j == toks.size() || toks[j].text != "(") {
            out += t.text;  // a function-like macro name without a call
            continue;
        }
        // Arguments: split at top-level commas.
        std::vector<std::vector<Tok>> args(1);
        int level = 0;
        std::size_t k = j + 1;
        for (; k < toks.size(); ++k) {
            std::string const& s = toks[k].text;
            if (s == "(") ++level;
            if (s == ")" && level-- == 0) break;
            if (s == "," && level == 0) {
                args.emplace_back();
                continue;
            }
            args.back().push_back(toks[k]);
        }
        if (k == toks.size()) {  // unclosed call on this line: leave it as written
            out += t.text;
            continue;
        }
        i = k;
        if (m.params.empty() && args.size() == 1 && trim(joinTokens(args[0])).empty()) args.clear();
        // Substitute parameters, with # (stringize) and ## (paste) on the raw arguments.
        std::vector<Tok> body;
        for (std::size_t b = 0; b < m.body.size(); ++b) {
            Tok const& bt = m.body[b];
            auto paramIndex = [&](Tok const& tok) -> int {
                if (tok.kind != TokKind::Ident) return -1;
                for (std::size_t p = 0; p < m.params.size(); ++p)
                    if (m.params[p] == tok.text) return static_cast<int>(p);
                return -1;
            };
            if (bt.text == "#" && b + 1 < m.body.size() && paramIndex(m.body[b + 1]) >= 0) {
                std::size_t p = static_cast<std::size_t>(paramIndex(m.body[b + 1]));
                std::string raw = p < args.size() ? trim(joinTokens(args[p])) : "";
                std::string quoted = "\"";
                for (char c : raw) {
                    if (c == '"' || c == '\\') quoted += '\\';
                    quoted += c;
                }
                body.push_back({TokKind::String, quoted + "\""});
                ++b;
                continue;
            }
            int p = paramIndex(bt);
            if (p < 0) {
                body.push_back(bt);
                continue;
            }
            bool pasted = (b > 0 && m.body[b - 1].text == "##") || (b + 1 < m.body.size() && m.body[b + 1].text == "##");
            std::vector<Tok> const empty;
            std::vector<Tok> const& arg = static_cast<std::size_t>(p) < args.size() ? args[static_cast<std::size_t>(p)] : empty;
            if (pasted) {
                body.push_back({TokKind::Ident, trim(joinTokens(arg))});
            } else {
                for (Tok const& at : tokenize(expand(arg, disabled, depth + 1))) body.push_back(at);
            }
        }
        std::string pastedText;
        for (std::size_t b = 0; b < body.size(); ++b) {
            if (body[b].text == "##") {
                while (!pastedText.empty() && (pastedText.back() == ' ' || pastedText.back() == '\t')) pastedText.pop_back();
                while (b + 1 < body.size() && body[b + 1].kind == TokKind::Space) ++b;
                continue;
            }
            pastedText += body[b].text;
        }
        out += expand(tokenize(pastedText), inner, depth + 1);
    }
    return out;
}

// Integer expression of #if / #elif after `defined` and macro expansion. Arithmetic wraps (as
// unsigned), so no expression from a source can overflow.
unsigned long long u(long long v) { return static_cast<unsigned long long>(v); }
long long wrap(unsigned long long v) { return static_cast<long long>(v); }

class ConditionParser {
public:
    explicit ConditionParser(std::vector<Tok> toks) {
        for (auto& t : toks)
            if (t.kind != TokKind::Space) toks_.push_back(std::move(t));
    }
    bool parse(long long& value) {
        value = ternary();
        return ok_ && pos_ == toks_.size();
    }

private:
    bool accept(char const* s) {
        if (pos_ < toks_.size() && toks_[pos_].text == s) {
            ++pos_;
            return true;
        }
        return false;
    }
    // Two-character operators arrive as two punctuation tokens.
    bool acceptPair(char a, char b) {
        if (pos_ + 1 < toks_.size() && toks_[pos_].text.size() == 1 && toks_[pos_].text[0] == a &&
            toks_[pos_ + 1].text.size() == 1 && toks_[pos_ + 1].text[0] == b) {
            pos_ += 2;
            return true;
        }
        return false;
    }
    bool nextIsPair(char a, char b) const {
        return pos_ + 1 < toks_.size() && toks_[pos_].text == std::string(1, a) && toks_[pos_ + 1].text == std::string(1, b);
    }
    long long ternary() {
        long long c = logicalOr();
        if (accept("?")) {
            long long a = ternary();
            if (!accept(":")) ok_ = false;
            long long b = ternary();
            return c ? a : b;
        }
        return c;
    }
    long long logicalOr() {
        long long v = logicalAnd();
        while (acceptPair('|', '|')) {
            long long r = logicalAnd();
            v = (v || r) ? 1 : 0;
        }
        return v;
    }
    long long logicalAnd() {
        long long v = bitOr();
        while (acceptPair('&', '&')) {
            long long r = bitOr();
            v = (v && r) ? 1 : 0;
        }
        return v;
    }
    long long bitOr() {
        long long v = bitXor();
        while (!nextIsPair('|', '|') && accept("|")) v |= bitXor();
        return v;
    }
    long long bitXor() {
        long long v = bitAnd();
        while (accept("^")) v ^= bitAnd();
        return v;
    }
    long long bitAnd() {
        long long v = equality();
        while (!nextIsPair('&', '&') && accept("&")) v &= equality();
        return v;
    }
    long long equality() {
        long long v = relational();
        for (;;) {
            if (acceptPair('=', '=')) v = v == relational();
            else if (acceptPair('!', '=')) v = v != relational();
            else return v;
        }
    }
    long long relational() {
        long long v = shift();
        for (;;) {
            if (acceptPair('<', '=')) v = v <= shift();
            else if (acceptPair('>', '=')) v = v >= shift();
            else if (!nextIsPair('<', '<') && accept("<")) v = v < shift();
            else if (!nextIsPair('>', '>') && accept(">")) v = v > shift();
            else return v;
        }
    }
    long long shift() {
        long long v = additive();
        for (;;) {
            if (acceptPair('<', '<')) v = static_cast<long long>(static_cast<unsigned long long>(v) << (additive() & 63));
            else if (acceptPair('>', '>')) v >>= (additive() & 63);
            else return v;
        }
    }
    long long additive() {
        long long v = multiplicative();
        for (;;) {
            if (accept("+")) v = wrap(u(v) + u(multiplicative()));
            else if (accept("-")) v = wrap(u(v) - u(multiplicative()));
            else return v;
        }
    }
    long long multiplicative() {
        long long v = unary();
        for (;;) {
            if (accept("*")) {
                v = wrap(u(v) * u(unary()));
            } else if (accept("/") || accept("%")) {
                bool div = toks_[pos_ - 1].text == "/";
                long long r = unary();
                if (r == 0) {
                    ok_ = false;
                    return 0;
                }
                if (r == -1) v = div ? wrap(0ull - u(v)) : 0;  // LLONG_MIN / -1 must not trap
                else v = div ? v / r : v % r;
            } else {
                return v;
            }
        }
    }
    long long unary() {
        if (!nextIsPair('!', '=') && accept("!")) return !unary();
        if (accept("-")) return wrap(0ull - u(unary()));
        if (accept("+")) return unary();
        if (accept("~")) return ~unary();
        return primary();
    }
    long long primary() {
        if (accept("(")) {
            long long v = ternary();
            if (!accept(")")) ok_ = false;
            return v;
        }
        if (pos_ >= toks_.size()) {
            ok_ = false;
            return 0;
        }
        Tok const& t = toks_[pos_++];
        if (t.kind == TokKind::Ident) return 0;  // names left after expansion count as 0
        if (t.kind != TokKind::Number) {
            ok_ = false;
            return 0;
        }
        std::string digits = t.text;
        while (!digits.empty() && (digits.back() == 'u' || digits.back() == 'U' || digits.back() == 'l' || digits.back() == 'L'))
            digits.pop_back();
        char* end = nullptr;
        long long v = static_cast<long long>(std::strtoull(digits.c_str(), &end, 0));
        if (digits.empty() || end != digits.c_str() + digits.size()) ok_ = false;
        return v;
    }

    std::vector<Tok> toks_;
    std::size_t pos_ = 0;
    bool ok_ = true;
};

bool Preprocessor::evalCondition(std::string const& expr, int line) {
    // `defined X` and `defined(X)` are decided before macros expand.
    std::vector<Tok> toks = tokenize(expr), resolved;
    for (std::size_t i = 0; i < toks.size(); ++i) {
        if (toks[i].kind == TokKind::Ident && toks[i].text == "defined") {
            std::size_t j = i + 1;
            while (j < toks.size() && toks[j].kind == TokKind::Space) ++j;
            bool paren = j < toks.size() && toks[j].text == "(";
            if (paren) {
                ++j;
                while (j < toks.size() && toks[j].kind == TokKind::Space) ++j;
            }
            if (j >= toks.size() || toks[j].kind != TokKind::Ident) {
                error(line, 1, "defined needs a macro name");
                return false;
            }
            bool isDefined = macros_.count(toks[j].text) != 0;
            if (paren) {
                ++j;
                while (j < toks.size() && toks[j].kind == TokKind::Space) ++j;
                if (j >= toks.size() || toks[j].text != ")") {
                    error(line, 1, "missing ')' after defined");
                    return false;
                }
            }
            resolved.push_back({TokKind::Number, isDefined ? "1" : "0"});
            i = j;
            continue;
        }
        resolved.push_back(toks[i]);
    }
    std::string expanded = expandLine(resolved, line);
    if (diag_.failed()) return false;
    ConditionParser parser(tokenize(expanded));
    long long value = 0;
    if (!parser.parse(value)) {
        error(line, 1, "invalid #if expression '" + trim(expr) + "'");
        return false;
    }
    return value != 0;
}

}  // namespace

bool preprocess(PreprocessRequest const& request, std::string& out, Diagnostics& diag) {
    Preprocessor pp(request.include, diag);
    for (auto const& [name, definition] : request.macros) pp.defineText(name, definition);
    out.assign(kPreprocessedMarker);
    out += "#line 1 \"" + request.name + "\"\n";
    pp.processFile(request.text, request.name, nullptr, 0, out);
    return !diag.failed();
}

}  // namespace port::fx
