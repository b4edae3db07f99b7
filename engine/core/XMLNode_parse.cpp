// The property-file parser: one pass over the text with an explicit stack of open elements (no
// recursion). It reads wide text, or 8-bit text directly (each byte widened through
// Windows-1252 only where text is kept), so 8-bit files need no wide copy. Damaged input keeps
// what was read up to the damage and logs one error line naming the source and the line.
#include <cstring>
#include <cwchar>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "engine/core/CodePage.h"
#include "engine/core/Logger.h"
#include "engine/core/XMLNode.h"

namespace Orvex {

namespace {

struct AnsiTable {
    wchar_t map[256];
    AnsiTable() {
        for (unsigned b = 0; b < 256; ++b) map[b] = widenAnsi(static_cast<unsigned char>(b));
    }
};
AnsiTable const kAnsi;

}  // namespace

template <class CharT>
class XMLParser {
public:
    XMLParser(CharT const* text, std::size_t size, std::wstring const& source) : t_(text), n_(size), source_(source) {}

    // Fills root; true when a root element was found.
    bool run(XMLNode& root);

private:
    static bool isBlank(CharT c) { return static_cast<std::make_unsigned_t<CharT>>(c) <= ' '; }
    void skipBlanks() {
        while (p_ < n_ && isBlank(t_[p_])) ++p_;
    }
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);
    std::size_t find(CharT c, std::size_t from) const {
        if (from >= n_) return npos;
        if constexpr (sizeof(CharT) == 1) {
            void const* hit = std::memchr(t_ + from, c, n_ - from);
            return hit ? static_cast<std::size_t>(static_cast<CharT const*>(hit) - t_) : npos;
        } else {
            wchar_t const* hit = std::wmemchr(t_ + from, c, n_ - from);
            return hit ? static_cast<std::size_t>(hit - t_) : npos;
        }
    }
    // The position of an ASCII sequence, or npos.
    std::size_t find(char const* what, std::size_t from) const {
        std::size_t len = std::strlen(what);
        for (std::size_t at = find(static_cast<CharT>(what[0]), from); at != npos; at = find(static_cast<CharT>(what[0]), at + 1)) {
            if (at + len > n_) return npos;
            std::size_t k = 1;
            while (k < len && t_[at + k] == static_cast<CharT>(what[k])) ++k;
            if (k == len) return at;
        }
        return npos;
    }
    std::wstring text(std::size_t from, std::size_t to) const {
        if constexpr (sizeof(CharT) == 1) {
            std::wstring out(to - from, L'\0');
            for (std::size_t i = from; i < to; ++i) out[i - from] = kAnsi.map[t_[i]];
            return out;
        } else {
            return std::wstring(t_ + from, to - from);
        }
    }
    bool textEquals(std::size_t from, std::size_t to, std::wstring const& name) const {
        if (name.size() != to - from) return false;
        for (std::size_t i = from; i < to; ++i) {
            wchar_t c;
            if constexpr (sizeof(CharT) == 1)
                c = kAnsi.map[t_[i]];
            else
                c = t_[i];
            if (c != name[i - from]) return false;
        }
        return true;
    }

    void fail(wchar_t const* what, std::size_t at);
    void reportError() const;

    bool readOpenTag(XMLNode& root);
    bool readCloseTag();
    bool readAttributes(XMLNode* node, bool& selfClosing);
    // Skips a construct ending with terminator, started at p_. False when unterminated.
    bool skipPast(char const* terminator, wchar_t const* what);
    // Moves p_ to the next '<' inside an element, collecting "|values|" on the way.
    bool scanContent();

    CharT const* t_;
    std::size_t n_;
    std::size_t p_ = 0;
    std::wstring const& source_;

    std::vector<XMLNode*> open_;
    u32 skippedDepth_ = 0;  // open elements below the depth limit that are not kept
    bool rootStarted_ = false;
    bool rootDone_ = false;

    std::wstring error_;
    std::size_t errorAt_ = 0;
    u32 errorCount_ = 0;
};

template <class CharT>
void XMLParser<CharT>::fail(wchar_t const* what, std::size_t at) {
    if (errorCount_++ == 0) {
        error_ = what;
        errorAt_ = at < n_ ? at : n_;
    }
}

template <class CharT>
void XMLParser<CharT>::reportError() const {
    if (errorCount_ == 0) return;
    std::size_t line = 1;
    for (std::size_t i = 0; i < errorAt_; ++i)
        if (t_[i] == '\n') ++line;
    std::wstring message = L"Property file \"" + source_ + L"\": " + error_ + L" at line " + std::to_wstring(line);
    if (errorCount_ > 1) message += L" (" + std::to_wstring(errorCount_ - 1) + L" further problems)";
    message += L"; kept what was read before";
    logError(message);
}

template <class CharT>
bool XMLParser<CharT>::skipPast(char const* terminator, wchar_t const* what) {
    std::size_t end = find(terminator, p_);
    if (end == npos) {
        fail(what, p_);
        p_ = n_;
        return false;
    }
    p_ = end + std::strlen(terminator);
    return true;
}

template <class CharT>
bool XMLParser<CharT>::scanContent() {
    while (p_ < n_) {
        CharT c = t_[p_];
        if (c == '<') return true;
        if (c == '"' && p_ + 1 < n_ && t_[p_ + 1] == '|') {
            std::size_t start = p_ + 2;
            std::size_t end = find("|\"", start);
            bool closed = end != npos;
            if (!closed) {
                fail(L"unterminated value", p_);
                end = n_;
            }
            if (skippedDepth_ == 0) open_.back()->values_.push_back(std::make_unique<XMLProperty>(text(start, end)));
            if (!closed) {
                p_ = n_;
                return false;
            }
            p_ = end + 2;
            continue;
        }
        ++p_;
    }
    return false;
}

template <class CharT>
bool XMLParser<CharT>::readAttributes(XMLNode* node, bool& selfClosing) {
    selfClosing = false;
    for (;;) {
        skipBlanks();
        if (p_ >= n_) {
            fail(L"unterminated tag", p_);
            return false;
        }
        CharT c = t_[p_];
        if (c == '>') {
            ++p_;
            return true;
        }
        if (c == '/' && p_ + 1 < n_ && t_[p_ + 1] == '>') {
            p_ += 2;
            selfClosing = true;
            return true;
        }
        std::size_t nameStart = p_;
        while (p_ < n_ && !isBlank(t_[p_]) && t_[p_] != '=' && t_[p_] != '>' && t_[p_] != '/' && t_[p_] != '"') ++p_;
        std::size_t nameEnd = p_;
        skipBlanks();
        if (p_ >= n_) {
            fail(L"unterminated tag", p_);
            return false;
        }
        if (t_[p_] != '=') {
            // Not an attribute: step over the stray character and go on.
            fail(L"attribute without value", nameStart);
            if (nameEnd == nameStart) ++p_;
            continue;
        }
        ++p_;
        skipBlanks();
        if (p_ >= n_ || t_[p_] != '"') {
            fail(L"attribute value without quotes", p_);
            continue;
        }
        std::size_t valueStart = p_ + 1;
        std::size_t valueEnd = find(static_cast<CharT>('"'), valueStart);
        if (valueEnd == npos) {
            fail(L"unterminated attribute value", p_);
            p_ = n_;
            return false;
        }
        if (node) node->attributes_.push_back(std::make_unique<XMLAttribute>(text(nameStart, nameEnd), text(valueStart, valueEnd)));
        p_ = valueEnd + 1;
    }
}

template <class CharT>
bool XMLParser<CharT>::readOpenTag(XMLNode& root) {
    std::size_t tagStart = p_ - 1;
    std::size_t nameStart = p_;
    while (p_ < n_ && !isBlank(t_[p_]) && t_[p_] != '>' && t_[p_] != '/' && t_[p_] != '"') ++p_;
    std::size_t nameEnd = p_;

    if (rootDone_) {
        fail(L"second root element ignored", tagStart);
        return false;
    }
    XMLNode* node = nullptr;
    bool tooDeep = skippedDepth_ > 0 || open_.size() >= XMLNode::kMaxDepth;
    if (tooDeep) {
        if (skippedDepth_ == 0) fail(L"elements nested too deep skipped", tagStart);
    } else if (open_.empty()) {
        node = &root;
        node->name_ = text(nameStart, nameEnd);
        rootStarted_ = true;
    } else {
        auto child = std::make_unique<XMLNode>(text(nameStart, nameEnd));
        node = child.get();
        open_.back()->children_.push_back(std::move(child));
    }

    bool selfClosing = false;
    if (!readAttributes(node, selfClosing)) return false;
    if (selfClosing) {
        if (node == &root) rootDone_ = true;
        return true;
    }
    if (tooDeep)
        ++skippedDepth_;
    else
        open_.push_back(node);
    return true;
}

template <class CharT>
bool XMLParser<CharT>::readCloseTag() {
    std::size_t tagStart = p_ - 1;
    ++p_;  // '/'
    std::size_t end = find(static_cast<CharT>('>'), p_);
    if (end == npos) {
        fail(L"unterminated closing tag", tagStart);
        p_ = n_;
        return false;
    }
    std::size_t from = p_, to = end;
    while (to > from && isBlank(t_[to - 1])) --to;
    while (from < to && isBlank(t_[from])) ++from;
    p_ = end + 1;

    if (skippedDepth_ > 0) {
        --skippedDepth_;
        return true;
    }
    if (open_.empty()) {
        fail(L"closing tag without an open element", tagStart);
        return true;
    }
    if (textEquals(from, to, open_.back()->name_)) {
        open_.pop_back();
    } else {
        // Close up to the innermost element of that name; a name nobody opened is ignored.
        std::size_t match = open_.size();
        while (match > 0 && !textEquals(from, to, open_[match - 1]->name_)) --match;
        if (match == 0) {
            fail(L"closing tag of an element that is not open", tagStart);
            return true;
        }
        fail(L"closing tag does not match the open element", tagStart);
        open_.resize(match - 1);
    }
    if (open_.empty()) rootDone_ = true;
    return true;
}

template <class CharT>
bool XMLParser<CharT>::run(XMLNode& root) {
    while (p_ < n_) {
        if (open_.empty()) {
            std::size_t next = find(static_cast<CharT>('<'), p_);
            if (next == npos) {
                p_ = n_;
                break;
            }
            p_ = next;
        } else if (!scanContent()) {
            break;
        }
        // t_[p_] == '<'
        ++p_;
        if (p_ >= n_) {
            fail(L"unterminated tag", p_ - 1);
            break;
        }
        CharT c = t_[p_];
        bool more = true;
        if (c == '?') {
            more = skipPast("?>", L"unterminated <? ?> block");
        } else if (c == '!') {
            if (p_ + 2 < n_ && t_[p_ + 1] == '-' && t_[p_ + 2] == '-')
                more = skipPast("-->", L"unterminated comment");
            else
                more = skipPast(">", L"unterminated <! > block");
        } else if (c == '/') {
            more = readCloseTag();
        } else {
            more = readOpenTag(root);
        }
        if (!more) break;
    }
    if (errorCount_ == 0 && (!open_.empty() || skippedDepth_ > 0)) fail(L"end of file inside an element", n_);
    if (!rootStarted_) fail(L"no element found", 0);
    reportError();
    return rootStarted_;
}

bool XMLNode::loadFromText(std::wstring_view text, std::wstring const& sourceName) {
    clear();
    XMLParser<wchar_t> parser(text.data(), text.size(), sourceName);
    return parser.run(*this);
}

bool XMLNode::loadFromBytes(unsigned char const* bytes, std::size_t size, std::wstring const& sourceName) {
    clear();
    bool marked = size >= 2 && ((bytes[0] == 0xFF && bytes[1] == 0xFE) || (bytes[0] == 0xEF && bytes[1] == 0xBB));
    if (marked) return loadFromText(decodeFileText(bytes, size), sourceName);
    XMLParser<unsigned char> parser(bytes, size, sourceName);
    return parser.run(*this);
}

}  // namespace Orvex
