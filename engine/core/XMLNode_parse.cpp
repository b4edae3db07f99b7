// The property-file parser: one pass over the text with an explicit stack of open elements (no
// recursion). It reads wide text, or a file's 8-bit or UTF-16LE bytes directly, so files need no
// wide copy.
// Nodes, attributes and values are made in the tree's store, their names and values are views
// of the text the store holds, and each element's lists are collected on shared stacks and
// stored as exact arrays when the element ends. Damaged input keeps what was read up to the
// damage and logs one error line naming the source and the line. What would take the tree past
// its budget is left out, and the parse goes on (see XMLNode::kMaxTreeBytes).
#include <array>
#include <bit>
#include <cstring>
#include <cwchar>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "engine/core/CodePage.h"
#include "engine/core/Logger.h"
#include "engine/core/XMLNode.h"
#include "engine/core/XMLStore.h"

namespace Orvex {

// Characters ending element names and attribute names (besides blanks and control characters).
enum : u8 { kEndsElementName = 1, kEndsAttributeName = 2 };
constexpr std::array<u8, 256> kNameStops = [] {
    std::array<u8, 256> stops{};
    for (unsigned c = 0; c <= ' '; ++c) stops[c] = kEndsElementName | kEndsAttributeName;
    for (unsigned char c : {'>', '/', '"'}) stops[c] = kEndsElementName | kEndsAttributeName;
    stops['='] = kEndsAttributeName;
    return stops;
}();

// Eight bytes at a time for the 8-bit text, which is most files: finding a character, finding
// the first of two, and counting one, on 64-bit words read with memcpy (never past the text).
namespace bytewise {

static_assert(std::endian::native == std::endian::little, "a word's first byte is its lowest");
constexpr u64 kOnes = 0x0101010101010101ull;
constexpr u64 kLow7 = 0x7F7F7F7F7F7F7F7Full;

inline u64 load(u8 const* p) {
    u64 w;
    std::memcpy(&w, p, sizeof w);
    return w;
}
// The high bit of every byte of w that equals c, and no other bit (exact, no borrows).
inline u64 matches(u64 w, u8 c) {
    u64 const x = w ^ (kOnes * c);
    return ~(((x & kLow7) + kLow7) | x | kLow7);
}
inline std::size_t firstMatch(u64 bits) { return static_cast<std::size_t>(std::countr_zero(bits)) >> 3; }

// The first position in [from, to) holding a or b, or to.
inline std::size_t findEither(u8 const* t, std::size_t from, std::size_t to, u8 a, u8 b) {
    std::size_t p = from;
    for (; p + 8 <= to; p += 8) {
        u64 const w = load(t + p);
        if (u64 const bits = matches(w, a) | matches(w, b)) return p + firstMatch(bits);
    }
    for (; p < to; ++p)
        if (t[p] == a || t[p] == b) return p;
    return to;
}

// How many bytes of [from, to) equal c: per-byte counts summed in the lanes of one word, folded
// before a lane can overflow.
inline std::size_t count(u8 const* t, std::size_t from, std::size_t to, u8 c) {
    auto fold = [](u64 lanes) {
        lanes = (lanes & 0x00FF00FF00FF00FFull) + ((lanes >> 8) & 0x00FF00FF00FF00FFull);
        return static_cast<std::size_t>((lanes * 0x0001000100010001ull) >> 48);
    };
    std::size_t total = 0;
    std::size_t p = from;
    while (p + 8 <= to) {
        u64 lanes = 0;
        for (int k = 0; k < 255 && p + 8 <= to; ++k, p += 8) lanes += matches(load(t + p), c) >> 7;
        total += fold(lanes);
    }
    for (; p < to; ++p) total += t[p] == c;
    return total;
}

}  // namespace bytewise

// CharT is char for 8-bit text, wchar_t for wide text and char16_t for the UTF-16LE bytes of a
// file, read unit by unit (surrogates are never syntax) with no wide copy of the file.
template <class CharT>
class XMLParser {
public:
    using Text = std::conditional_t<std::is_same_v<CharT, char16_t>, Utf16LEText, CharT const*>;

    XMLParser(Text text, std::size_t size, XMLStore& store, std::wstring const& source)
        : t_(text), n_(size), source_(source), store_(store) {}

    // Fills root; true when a root element was found.
    bool run(XMLNode& root);
    // Whether the text was read without damage (nothing logged).
    bool whole() const { return errorCount_ == 0; }

private:
    static bool isBlank(CharT c) { return static_cast<std::make_unsigned_t<CharT>>(c) <= ' '; }
    static u8 stopSetOf(CharT c) {
        auto u = static_cast<std::make_unsigned_t<CharT>>(c);
        return u < 256 ? kNameStops[u] : 0;
    }
    void skipBlanks() {
        while (p_ < n_ && isBlank(t_[p_])) ++p_;
    }
    // The end of a name starting at `from`: the first blank or character of the stop set.
    std::size_t scanName(std::size_t from, u8 stopSet) const {
        std::size_t p = from;
        while (p < n_ && !(stopSetOf(t_[p]) & stopSet)) ++p;
        return p;
    }
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);
    // Most searched texts are short: walked here, longer ones are handed to memchr.
    static constexpr std::size_t kWalked = 32;
    std::size_t find(CharT c, std::size_t from) const {
        std::size_t walked = n_ - from < kWalked ? n_ : from + kWalked;
        if constexpr (sizeof(CharT) == 1) {
            std::size_t const p = bytewise::findEither(t_, from, walked, c, c);
            if (p < walked) return p;
        } else {
            for (std::size_t p = from; p < walked; ++p)
                if (t_[p] == c) return p;
        }
        from = walked;
        if (from >= n_) return npos;
        if constexpr (sizeof(CharT) == 1) {
            void const* hit = std::memchr(t_ + from, c, n_ - from);
            return hit ? static_cast<std::size_t>(static_cast<CharT const*>(hit) - t_) : npos;
        } else if constexpr (std::is_same_v<CharT, wchar_t>) {
            wchar_t const* hit = std::wmemchr(t_ + from, c, n_ - from);
            return hit ? static_cast<std::size_t>(hit - t_) : npos;
        } else {
            for (std::size_t p = from; p < n_; ++p)
                if (t_[p] == c) return p;
            return npos;
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
    XMLText text(std::size_t from, std::size_t to) const { return XMLText::view(t_ + from, to - from); }
    bool textEquals(std::size_t from, std::size_t to, XMLText const& name) const { return text(from, to) == name; }

    void fail(wchar_t const* what, std::size_t at);
    // Adds an object's share of the tree (XMLNode::elementCost ...); false, and the object is to
    // be left out, when it would take the tree past kMaxTreeBytes.
    bool charge(std::size_t bytes, std::size_t at);
    void reportError() const;
    // The line of position at. Tags come in text order, so the count only moves forward and
    // each character is counted once (a file on one long line stays linear).
    u32 lineAt(std::size_t at) {
        if (at <= counted_) return line_;
        if constexpr (sizeof(CharT) == 1) {
            line_ += static_cast<u32>(bytewise::count(t_, counted_, at, '\n'));
        } else {
            for (std::size_t p = counted_; p < at; ++p) line_ += t_[p] == '\n';
        }
        counted_ = at;
        return line_;
    }

    bool readOpenTag(XMLNode& root);
    bool readCloseTag();
    bool readAttributes(XMLNode* node, bool& selfClosing);
    // Skips a construct ending with terminator, started at p_. False when unterminated.
    bool skipPast(char const* terminator, wchar_t const* what);
    // Moves p_ to the next '<' inside an element, collecting "|values|" on the way.
    bool scanContent();
    // Ends the innermost open elements until `keep` are left, storing their lists.
    void closeLevels(std::size_t keep);

    Text t_;
    std::size_t n_;
    std::size_t p_ = 0;
    std::wstring const& source_;
    XMLStore& store_;

    // An open element and where its children and values start on the shared stacks.
    struct Level {
        XMLNode* node;
        std::size_t firstChild;
        std::size_t firstValue;
    };
    std::vector<Level> open_;
    std::vector<XMLItem<XMLNode>> children_;
    std::vector<XMLItem<XMLProperty>> values_;
    // Attributes of the tag being read: in slots reserved in the store, or past kAttributeSlots
    // in attributes_.
    static constexpr std::size_t kAttributeSlots = 16;
    XMLItem<XMLAttribute>* slots_ = nullptr;
    std::size_t slotCount_ = 0;
    std::vector<XMLItem<XMLAttribute>> attributes_;
    u32 line_ = 1;
    std::size_t counted_ = 0;  // newlines before this position are in line_
    u32 skippedDepth_ = 0;  // open elements not kept (below the depth limit, or past the budget)
    std::size_t treeBytes_ = 0;  // what the elements, attributes and values kept so far take
    bool rootStarted_ = false;
    bool rootDone_ = false;

    std::wstring error_;
    std::size_t errorAt_ = 0;
    u32 errorCount_ = 0;
};

template <class CharT>
bool XMLParser<CharT>::charge(std::size_t bytes, std::size_t at) {
    if (bytes <= XMLNode::kMaxTreeBytes - treeBytes_) {
        treeBytes_ += bytes;
        return true;
    }
    fail(L"elements, attributes or values past what a property file may hold (128 MB of them, their texts "
         L"counted) left out",
         at);
    return false;
}

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
        std::size_t p = p_;
        if constexpr (sizeof(CharT) == 1) {
            p = bytewise::findEither(t_, p, n_, '<', '"');
        } else {
            while (p < n_ && t_[p] != '<' && t_[p] != '"') ++p;
        }
        p_ = p;
        if (p >= n_) break;
        CharT c = t_[p_];
        if (c == '<') return true;
        if (p_ + 1 < n_ && t_[p_ + 1] == '|') {
            std::size_t start = p_ + 2;
            std::size_t end = find("|\"", start);
            bool closed = end != npos;
            if (!closed) {
                fail(L"unterminated value", p_);
                end = n_;
            }
            if (skippedDepth_ == 0 && charge(XMLNode::valueCost(end - start), p_)) {
                XMLProperty* value = store_.newValue();
                value->text_.assignView(t_ + start, end - start);
                values_.push_back(value);
            }
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
    // The cursor is kept in a local: stores into new objects would otherwise make the compiler
    // reload it after each one.
    std::size_t p = p_;
    Text t = t_;
    std::size_t const n = n_;
    auto skipBlanksAt = [&] {
        while (p < n && isBlank(t[p])) ++p;
    };
    bool ok = true;
    selfClosing = false;
    for (;;) {
        skipBlanksAt();
        if (p >= n) {
            fail(L"unterminated tag", p);
            ok = false;
            break;
        }
        CharT c = t[p];
        if (c == '>') {
            ++p;
            break;
        }
        if (c == '/' && p + 1 < n && t[p + 1] == '>') {
            p += 2;
            selfClosing = true;
            break;
        }
        std::size_t nameStart = p;
        std::size_t nameEnd = p = scanName(p, kEndsAttributeName);
        skipBlanksAt();
        if (p >= n) {
            fail(L"unterminated tag", p);
            ok = false;
            break;
        }
        if (t[p] != '=') {
            // Not an attribute: step over the stray character and go on.
            fail(L"attribute without value", nameStart);
            if (nameEnd == nameStart) ++p;
            continue;
        }
        ++p;
        skipBlanksAt();
        if (p >= n || t[p] != '"') {
            fail(L"attribute value without quotes", p);
            continue;
        }
        std::size_t valueStart = p + 1;
        std::size_t valueEnd = find(static_cast<CharT>('"'), valueStart);
        if (valueEnd == npos) {
            fail(L"unterminated attribute value", p);
            p = n;
            ok = false;
            break;
        }
        if (node && charge(XMLNode::attributeCost(nameEnd - nameStart, valueEnd - valueStart), nameStart)) {
            XMLAttribute* attribute = store_.newAttribute();
            attribute->name_.assignView(t + nameStart, nameEnd - nameStart);
            attribute->text_.assignView(t + valueStart, valueEnd - valueStart);
            if (slotCount_ < kAttributeSlots) {
                slots_[slotCount_++] = attribute;
            } else {
                if (attributes_.empty()) attributes_.assign(slots_, slots_ + kAttributeSlots);
                attributes_.push_back(attribute);
            }
        }
        p = valueEnd + 1;
    }
    p_ = p;
    return ok;
}

template <class CharT>
bool XMLParser<CharT>::readOpenTag(XMLNode& root) {
    std::size_t tagStart = p_ - 1;
    std::size_t nameStart = p_;
    std::size_t nameEnd = p_ = scanName(p_, kEndsElementName);

    if (rootDone_) {
        fail(L"second root element ignored", tagStart);
        return false;
    }
    XMLNode* node = nullptr;
    bool skipped = skippedDepth_ > 0;  // inside an element that is not kept
    if (!skipped && open_.size() >= XMLNode::kMaxDepth) {
        fail(L"elements nested too deep skipped", tagStart);
        skipped = true;
    } else if (!skipped && !charge(XMLNode::elementCost(nameEnd - nameStart), tagStart)) {
        if (open_.empty()) {  // no root: nothing to keep
            p_ = n_;
            return false;
        }
        skipped = true;
    }
    if (!skipped) {
        node = open_.empty() ? &root : store_.newNode();
        node->name_.assignView(t_ + nameStart, nameEnd - nameStart);
        if (node == &root)
            rootStarted_ = true;
        else
            children_.push_back(node);
    }

    bool selfClosing = false;
    if (node) {
        node->line_ = lineAt(tagStart);
        slots_ = store_.reserveSlots<XMLAttribute>(kAttributeSlots);
        slotCount_ = 0;
        attributes_.clear();
    }
    bool ok = readAttributes(node, selfClosing);
    // A tag not kept reads no attributes (attributes_ still holds an earlier tag's).
    if (node) {
        if (std::size_t n = attributes_.size())
            node->attributes_.adopt(store_.newArray(attributes_.data(), n), static_cast<u32>(n));
        else if (slotCount_ > 0)
            node->attributes_.adopt(store_.claimSlots<XMLAttribute>(slotCount_), static_cast<u32>(slotCount_));
    }
    if (!ok) return false;
    if (selfClosing) {
        if (node == &root) rootDone_ = true;
        return true;
    }
    if (skipped)
        ++skippedDepth_;
    else
        open_.push_back({node, children_.size(), values_.size()});
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
    if (textEquals(from, to, open_.back().node->name_)) {
        closeLevels(open_.size() - 1);
    } else {
        // Close up to the innermost element of that name; a name nobody opened is ignored.
        std::size_t match = open_.size();
        while (match > 0 && !textEquals(from, to, open_[match - 1].node->name_)) --match;
        if (match == 0) {
            fail(L"closing tag of an element that is not open", tagStart);
            return true;
        }
        fail(L"closing tag does not match the open element", tagStart);
        closeLevels(match - 1);
    }
    if (open_.empty()) rootDone_ = true;
    return true;
}

template <class CharT>
void XMLParser<CharT>::closeLevels(std::size_t keep) {
    while (open_.size() > keep) {
        Level const& level = open_.back();
        if (std::size_t n = children_.size() - level.firstChild) {
            level.node->children_.adopt(store_.newArray(children_.data() + level.firstChild, n), static_cast<u32>(n));
            children_.resize(level.firstChild);
        }
        if (std::size_t n = values_.size() - level.firstValue) {
            level.node->values_.adopt(store_.newArray(values_.data() + level.firstValue, n), static_cast<u32>(n));
            values_.resize(level.firstValue);
        }
        open_.pop_back();
    }
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
    closeLevels(0);  // a damaged file keeps what was read
    if (!rootStarted_) fail(L"no element found", 0);
    reportError();
    return rootStarted_;
}

XMLNode::ReadResult XMLNode::parseStore(std::unique_ptr<XMLStore> store, std::wstring const& sourceName) {
    std::vector<u8>& bytes = store->bytes;
    bool utf16 = bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE;
    if (bytes.size() >= 2 && bytes[0] == 0xEF && bytes[1] == 0xBB) {
        store->wide = decodeFileText(bytes.data(), bytes.size());
        std::vector<u8>().swap(bytes);
    }
    clear();
    store_ = std::move(store);
    std::vector<u8> const& text = store_->bytes;
    bool found;
    bool whole;
    if (utf16) {
        // The units after the mark; an odd last byte is no unit.
        XMLParser<char16_t> parser(Utf16LEText{text.data() + 2}, (text.size() - 2) / 2, *store_, sourceName);
        found = parser.run(*this);
        whole = parser.whole();
    } else if (text.empty()) {
        XMLParser<wchar_t> parser(store_->wide.data(), store_->wide.size(), *store_, sourceName);
        found = parser.run(*this);
        whole = parser.whole();
    } else {
        XMLParser<unsigned char> parser(text.data(), text.size(), *store_, sourceName);
        found = parser.run(*this);
        whole = parser.whole();
    }
    if (!found) {
        clear();
        return ReadResult::kNothing;
    }
    return whole ? ReadResult::kComplete : ReadResult::kDamaged;
}

XMLNode::ReadResult XMLNode::loadFromTextChecked(std::wstring_view text, std::wstring const& sourceName) {
    auto store = std::make_unique<XMLStore>();
    store->wide.assign(text);  // copied before the tree is cleared: text may be a part of it
    return parseStore(std::move(store), sourceName);
}

bool XMLNode::loadFromText(std::wstring_view text, std::wstring const& sourceName) {
    return loadFromTextChecked(text, sourceName) != ReadResult::kNothing;
}

bool XMLNode::loadFromBytes(unsigned char const* bytes, std::size_t size, std::wstring const& sourceName) {
    auto store = std::make_unique<XMLStore>();
    if (size > 0) store->bytes.assign(bytes, bytes + size);
    return parseStore(std::move(store), sourceName) != ReadResult::kNothing;
}

}  // namespace Orvex
