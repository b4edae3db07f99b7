// The property-file parser: one pass over the wide text with an explicit stack of open
// elements (no recursion). Damaged input keeps what was read up to the damage and logs one
// error line naming the source and the line.
#include <string>
#include <string_view>
#include <vector>

#include "engine/core/Logger.h"
#include "engine/core/XMLNode.h"

namespace Orvex {

class XMLParser {
public:
    XMLParser(std::wstring_view text, std::wstring const& source) : t_(text), n_(text.size()), source_(source) {}

    // Fills root; true when a root element was found.
    bool run(XMLNode& root);

private:
    static bool isBlank(wchar_t c) { return c <= L' '; }
    void skipBlanks() {
        while (p_ < n_ && isBlank(t_[p_])) ++p_;
    }
    void fail(wchar_t const* what, std::size_t at);
    void reportError() const;

    // The element starting at p_ (just after '<'). False when parsing must stop.
    bool readOpenTag(XMLNode& root);
    bool readCloseTag();
    bool readAttributes(XMLNode* node, bool& selfClosing);
    // Skips a construct ending with terminator, started at p_. False when unterminated.
    bool skipPast(std::wstring_view terminator, wchar_t const* what);
    // Moves p_ to the next '<' inside an element, collecting "|values|" on the way.
    bool scanContent();

    std::wstring_view t_;
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

void XMLParser::fail(wchar_t const* what, std::size_t at) {
    if (errorCount_++ == 0) {
        error_ = what;
        errorAt_ = at < n_ ? at : n_;
    }
}

void XMLParser::reportError() const {
    if (errorCount_ == 0) return;
    std::size_t line = 1;
    for (std::size_t i = 0; i < errorAt_; ++i)
        if (t_[i] == L'\n') ++line;
    std::wstring message = L"Property file \"" + source_ + L"\": " + error_ + L" at line " + std::to_wstring(line);
    if (errorCount_ > 1) message += L" (" + std::to_wstring(errorCount_ - 1) + L" further problems)";
    message += L"; kept what was read before";
    logError(message);
}

bool XMLParser::skipPast(std::wstring_view terminator, wchar_t const* what) {
    std::size_t end = t_.find(terminator, p_);
    if (end == std::wstring_view::npos) {
        fail(what, p_);
        p_ = n_;
        return false;
    }
    p_ = end + terminator.size();
    return true;
}

bool XMLParser::scanContent() {
    while (p_ < n_) {
        wchar_t c = t_[p_];
        if (c == L'<') return true;
        if (c == L'"' && p_ + 1 < n_ && t_[p_ + 1] == L'|') {
            std::size_t start = p_ + 2;
            std::size_t end = t_.find(L"|\"", start);
            bool closed = end != std::wstring_view::npos;
            if (!closed) {
                fail(L"unterminated value", p_);
                end = n_;
            }
            if (skippedDepth_ == 0) open_.back()->values_.push_back(std::make_unique<XMLProperty>(std::wstring(t_.substr(start, end - start))));
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

bool XMLParser::readAttributes(XMLNode* node, bool& selfClosing) {
    selfClosing = false;
    for (;;) {
        skipBlanks();
        if (p_ >= n_) {
            fail(L"unterminated tag", p_);
            return false;
        }
        wchar_t c = t_[p_];
        if (c == L'>') {
            ++p_;
            return true;
        }
        if (c == L'/' && p_ + 1 < n_ && t_[p_ + 1] == L'>') {
            p_ += 2;
            selfClosing = true;
            return true;
        }
        std::size_t nameStart = p_;
        while (p_ < n_ && !isBlank(t_[p_]) && t_[p_] != L'=' && t_[p_] != L'>' && t_[p_] != L'/' && t_[p_] != L'"') ++p_;
        std::size_t nameEnd = p_;
        skipBlanks();
        if (p_ >= n_) {
            fail(L"unterminated tag", p_);
            return false;
        }
        if (t_[p_] != L'=') {
            // Not an attribute: step over the stray character and go on.
            fail(L"attribute without value", nameStart);
            if (nameEnd == nameStart) ++p_;
            continue;
        }
        ++p_;
        skipBlanks();
        if (p_ >= n_ || t_[p_] != L'"') {
            fail(L"attribute value without quotes", p_);
            continue;
        }
        std::size_t valueStart = p_ + 1;
        std::size_t valueEnd = t_.find(L'"', valueStart);
        if (valueEnd == std::wstring_view::npos) {
            fail(L"unterminated attribute value", p_);
            p_ = n_;
            return false;
        }
        if (node) {
            node->attributes_.push_back(std::make_unique<XMLAttribute>(std::wstring(t_.substr(nameStart, nameEnd - nameStart)),
                                                                       std::wstring(t_.substr(valueStart, valueEnd - valueStart))));
        }
        p_ = valueEnd + 1;
    }
}

bool XMLParser::readOpenTag(XMLNode& root) {
    std::size_t tagStart = p_ - 1;
    std::size_t nameStart = p_;
    while (p_ < n_ && !isBlank(t_[p_]) && t_[p_] != L'>' && t_[p_] != L'/' && t_[p_] != L'"') ++p_;
    std::wstring_view name = t_.substr(nameStart, p_ - nameStart);

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
        node->name_.assign(name);
        rootStarted_ = true;
    } else {
        auto child = std::make_unique<XMLNode>(std::wstring(name));
        node = child.get();
        open_.back()->children_.push_back(std::move(child));
    }

    bool selfClosing = false;
    bool ok = readAttributes(node, selfClosing);
    if (!ok) return false;
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

bool XMLParser::readCloseTag() {
    std::size_t tagStart = p_ - 1;
    ++p_;  // '/'
    std::size_t end = t_.find(L'>', p_);
    if (end == std::wstring_view::npos) {
        fail(L"unterminated closing tag", tagStart);
        p_ = n_;
        return false;
    }
    std::wstring_view name = t_.substr(p_, end - p_);
    while (!name.empty() && isBlank(name.back())) name.remove_suffix(1);
    while (!name.empty() && isBlank(name.front())) name.remove_prefix(1);
    p_ = end + 1;

    if (skippedDepth_ > 0) {
        --skippedDepth_;
        return true;
    }
    if (open_.empty()) {
        fail(L"closing tag without an open element", tagStart);
        return true;
    }
    if (open_.back()->name_ == name) {
        open_.pop_back();
    } else {
        // Close up to the innermost element of that name; a name nobody opened is ignored.
        std::size_t match = open_.size();
        while (match > 0 && open_[match - 1]->name_ != name) --match;
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

bool XMLParser::run(XMLNode& root) {
    while (p_ < n_) {
        if (open_.empty()) {
            std::size_t next = t_.find(L'<', p_);
            if (next == std::wstring_view::npos) break;
            p_ = next;
        } else if (skippedDepth_ > 0) {
            std::size_t next = t_.find(L'<', p_);
            if (next == std::wstring_view::npos) {
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
        wchar_t c = t_[p_];
        bool more = true;
        if (c == L'?') {
            more = skipPast(L"?>", L"unterminated <? ?> block");
        } else if (c == L'!') {
            if (t_.substr(p_, 3) == L"!--")
                more = skipPast(L"-->", L"unterminated comment");
            else
                more = skipPast(L">", L"unterminated <! > block");
        } else if (c == L'/') {
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
    XMLParser parser(text, sourceName);
    return parser.run(*this);
}

}  // namespace Orvex
