// An element of the engine's property files: a name, its attributes, its values and its child
// elements, all owned by the node.
//
// Storage: a loaded or copied tree keeps its nodes, attributes and values in one store owned by
// the node it was loaded into (XMLStore), its names and values as views of the file's text, and
// its lists as arrays held by the store. Whatever is added afterwards is an ordinary heap object
// of the node it was added to. Pointers to a tree's objects stay valid until they are removed or
// the tree is cleared, loaded again or destroyed.
//
// Syntax: one root element per file; <NAME A="v" B="w"> ... </NAME> or <NAME ... />. Values are
// written "|text|" between the tags and end at the first |"; attribute values are written between
// double quotes. Neither knows escapes, so a value cannot hold |" and an attribute cannot hold ";
// saving replaces such characters (see toText).
// <?...?>, <!-- --> and <!...> are skipped; other text between tags is ignored.
// Files are UTF-16LE after a byte-order mark, else one byte per character (Windows-1252).
//
// Every tree operation (parse, save, copy, compare, destroy) walks the tree without recursion,
// so deep trees cannot overflow the stack; the parser keeps at most kMaxDepth levels.
//
// Split: XMLNode.cpp (ownership, look-ups, adding and removing, copy and comparison, typed
// attribute reads), XMLNode_parse.cpp (the parser: loadFromText, loadFromBytes),
// XMLNode_io.cpp (load through the archives, toText, save through a temporary file).
#pragma once

#include <memory>
#include <new>
#include <string>
#include <string_view>

#include "engine/core/Types.h"
#include "engine/core/XMLAttribute.h"
#include "engine/core/XMLList.h"
#include "engine/core/XMLProperty.h"
#include "engine/core/XMLStore.h"
#include "engine/core/XMLText.h"

namespace Orvex {

class XMLNode {
public:
    // Elements nested deeper than this are skipped by the parser (with one log line).
    static constexpr u32 kMaxDepth = 1024;
    // What a parsed tree's elements, attributes and values may take, their texts counted as the
    // wide strings reading them makes (elementCost and the two below): an element (with all it
    // holds), attribute or value that would take the tree past it is left out and the parse goes
    // on, so one huge text costs neither the memory nor what follows it; one log line. Twice
    // what eight profiles with a quick save of a 104-card game in each of the 146 shipped
    // variants take (64 MB), and what the readers build of it stays within a few hundred MB
    // whatever the file holds. A save refuses a tree that a read would so cut.
    static constexpr std::size_t kMaxTreeBytes = std::size_t{128} << 20;
    // What each part counts against kMaxTreeBytes: the object with its list entry in the store,
    // and its texts (lengths in characters, or units of a UTF-16 file) as wide characters.
    static constexpr std::size_t textCost(std::size_t length) { return length * sizeof(wchar_t); }
    static constexpr std::size_t elementCost(std::size_t nameLength) {
        return sizeof(XMLNode) + sizeof(XMLItem<XMLNode>) + textCost(nameLength);
    }
    static constexpr std::size_t attributeCost(std::size_t nameLength, std::size_t textLength) {
        return sizeof(XMLAttribute) + sizeof(XMLItem<XMLAttribute>) + textCost(nameLength) + textCost(textLength);
    }
    static constexpr std::size_t valueCost(std::size_t length) {
        return sizeof(XMLProperty) + sizeof(XMLItem<XMLProperty>) + textCost(length);
    }
    // The one count of what a saved tree costs a read (the save's check, the profile file's measures,
    // the tests): the units a character is saved as, in UTF-16 two for one outside the Basic
    // Multilingual Plane (a surrogate pair), else one; a text's units; and what a read of the
    // tree saved as UTF-16 (or 8-bit) text charges against kMaxTreeBytes.
    static constexpr std::size_t savedUnits(wchar_t c, bool utf16) {
        return utf16 && static_cast<u32>(c) >= 0x10000 && static_cast<u32>(c) <= 0x10FFFF ? 2 : 1;
    }
    static std::size_t savedUnits(XMLText const& text, bool utf16 = true);
    static std::size_t savedUnits(std::wstring_view text, bool utf16 = true);
    static std::size_t savedCost(XMLNode const& tree, bool utf16 = true);

    XMLNode() = default;
    explicit XMLNode(std::wstring name) : name_(std::move(name)) {}
    XMLNode(XMLNode const& other);
    XMLNode& operator=(XMLNode const& other);
    // Takes other's content; other is left empty. other may be a part of this tree, but this
    // must not be a part of other's.
    XMLNode(XMLNode&& other) noexcept;
    XMLNode& operator=(XMLNode&& other) noexcept;
    ~XMLNode();

    std::wstring const& getName() const { return name_.str(); }
    void setName(std::wstring name) { name_.set(std::move(name)); }
    // The name as stored, for reading without making a std::wstring of it.
    XMLText const& name() const { return name_; }

    // Line of the element's start tag in the text it was parsed from (the first line is 1);
    // 0 for a node made in code. Readers name it in their log lines.
    u32 getLine() const { return line_; }

    // Deletes every child, value and attribute and empties the name.
    void clear();
    // Deep copy of other's name, attributes, values and children (replacing this node's).
    void copyFrom(XMLNode const& other);
    // No children, values or attributes.
    bool isEmpty() const { return children_.empty() && values_.empty() && attributes_.empty(); }
    // Same name, attributes (in order), values and children, recursively.
    bool equals(XMLNode const& other) const;

    // The attribute with exactly that name (case-sensitive), or null.
    XMLAttribute* getAttribute(std::wstring_view name);
    XMLAttribute const* getAttribute(std::wstring_view name) const;
    u32 getAttributeCount() const { return static_cast<u32>(attributes_.size()); }
    XMLAttribute* getAttributeAt(u32 i) const { return i < attributes_.size() ? attributes_[i] : nullptr; }

    // The child of that name with `index` earlier same-named children; -1 and 0 give the first.
    // An empty name matches any child. Null when absent. Each call scans the children from the
    // first: to walk all children of a name, use forEachChild (below).
    XMLNode* getChild(std::wstring_view name, int index = -1);
    XMLNode const* getChild(std::wstring_view name, int index = -1) const;
    // Children of that name; all children for an empty name.
    u32 getChildCount(std::wstring_view name = {}) const;

    u32 getValueCount() const { return static_cast<u32>(values_.size()); }
    // Value i, or null out of range.
    XMLProperty* getValue(u32 i) const { return i < values_.size() ? values_[i] : nullptr; }

    // Append; the node owns what is added (null is ignored). Each returns its argument.
    XMLAttribute* addAttribute(XMLAttribute* attribute);
    XMLNode* addChild(XMLNode* child);
    XMLProperty* addValue(XMLProperty* value);
    // Conveniences: a new child of that name, a new value of that text.
    XMLNode* addChild(std::wstring name) { return addChild(new XMLNode(std::move(name))); }
    XMLProperty* addValue(std::wstring text) { return addValue(new XMLProperty(std::move(text))); }
    // Sets the attribute's text, adding the attribute when missing.
    XMLAttribute* setAttribute(std::wstring const& name, std::wstring text);
    // Deletes the child (and its subtree); false when it is not a child of this node.
    bool removeChild(XMLNode const* child);

    // Attribute getters with a default for a missing attribute.
    bool getAttributeBool(std::wstring_view name, bool fallback) const;
    int getAttributeInt(std::wstring_view name, int fallback) const;
    u32 getAttributeLong(std::wstring_view name, u32 fallback) const;
    u32 getAttributeHex(std::wstring_view name, u32 fallback) const;
    float getAttributeFloat(std::wstring_view name, float fallback) const;
    double getAttributeDouble(std::wstring_view name, double fallback) const;
    std::wstring getAttributeString(std::wstring_view name, std::wstring const& fallback) const;

    // What a load read. load and loadFromText are tolerant: they say only whether anything was
    // read, and a damaged file (cut short, a tag left open or closed twice, a second root, ...)
    // keeps the elements read before the damage. A caller that must not take a part for the
    // whole (a profile, a saved game) asks the Checked forms and trusts only kComplete:
    //
    //     if (tree.loadChecked(path) != XMLNode::ReadResult::kComplete) ... damaged or missing
    enum class ReadResult : u8 {
        kNothing,   // not found, unreadable or no element: the node is empty (load gives false)
        kDamaged,   // read up to damage, one error line logged: the node holds what came before
        kComplete,  // every element read to its end, nothing skipped, nothing logged
    };

    // Reads a property file into this node: the file's root element becomes the node. Mode 0
    // opens the file through the archive order "DEFAULT" (archives, then disk); any other mode
    // reads the path from disk only. False (and an empty node) when the file cannot be read or
    // holds no element; a damaged file keeps what could be read, logs one error line and gives
    // true (loadChecked tells it apart). A file larger than File::kMaxTextFileBytes (or maxBytes)
    // is not read: one line, kNothing.
    bool load(std::wstring const& fileName, int mode = 0);
    ReadResult loadChecked(std::wstring const& fileName, int mode = 0);
    ReadResult loadChecked(std::wstring const& fileName, int mode, u64 maxBytes);
    // Parses text into this node as load does; sourceName names the text in log lines.
    bool loadFromText(std::wstring_view text, std::wstring const& sourceName = L"(text)");
    ReadResult loadFromTextChecked(std::wstring_view text, std::wstring const& sourceName = L"(text)");
    // Parses a file's bytes (UTF-16LE or UTF-8 after a byte-order mark, else Windows-1252).
    bool loadFromBytes(unsigned char const* bytes, std::size_t size, std::wstring const& sourceName);
    bool parse(std::wstring_view text, std::wstring const& sourceName = L"(text)") {
        return loadFromText(text, sourceName);
    }

    // Writes the tree: UTF-16LE with the byte-order mark when unicode, else 8-bit Windows-1252
    // text (unmappable characters as blanks). The file is written beside the target first, into
    // a new file of this save's own (the target's name, ".saving-", the process and a number),
    // made durable and renamed over the target: a failure never leaves a half-written file, and
    // no other save can write into this one's. The text goes out in pieces, never whole in
    // memory. A file its reader would refuse or cut is not written: larger than
    // File::kMaxTextFileBytes, what load reads (or maxBytes, as loadChecked's), or a tree past
    // kMaxTreeBytes. False when not written; the one log line says why and that the target is
    // left as it was.
    // `refused`, when given, says why a save wrote nothing: the file would be more than its
    // reader takes (kTooLarge), or it could not be written (kNotWritten).
    enum class Refusal : u8 { kNone, kTooLarge, kNotWritten };
    bool save(std::wstring const& path, bool unicode) const;
    bool save(std::wstring const& path, bool unicode, u64 maxBytes, Refusal* refused = nullptr) const;
    // Removes the files that saves in a folder began and never renamed (a game ended while
    // saving), one info line when there were any. Only for a folder no one else saves into now.
    static void removeUnfinishedSaves(std::wstring const& folder);
    // The text save writes (tab indentation, at most kMaxIndent tabs, CR LF line ends): a
    // deep tree writes no more than a shallow one of its parts. Characters the format cannot
    // hold are replaced so the text always reads back: in names, blanks and > / " (and a
    // leading ? or !) become _; a " in an attribute value, or after | in a value, becomes '.
    std::wstring toText() const;
    static constexpr std::size_t kMaxIndent = 16;

    // Direct access for walking the tree: ranges of pointers, in order.
    XMLList<XMLNode> const& children() const { return children_; }
    XMLList<XMLAttribute> const& attributes() const { return attributes_; }
    XMLList<XMLProperty> const& values() const { return values_; }

private:
    template <class CharT>
    friend class XMLParser;
    friend class XMLStore;
    friend struct XMLShape;  // its copies keep the lines of what they copy

    // Frees what the node holds besides stored objects: added attributes, values and subtrees
    // (without recursion), list arrays and its own store. The lists are left empty.
    void release();
    // Moves other's content into this node, which holds nothing; content that lives in a store
    // other does not own is copied instead, as that store belongs to other's tree.
    void takeFrom(XMLNode& other);
    // Replaces this node's content with a copy of other's, kept in a new store.
    void copyIntoNewStore(XMLNode const& other);
    // Parses the text the store holds (bytes, or wide text when there are none) into this
    // node, which then owns the store.
    ReadResult parseStore(std::unique_ptr<XMLStore> store, std::wstring const& sourceName);

    // Flags kept in the name's spare room: the node lives in a store, which destroys it; the
    // lists may hold heap objects, which this node deletes.
    enum : u8 { kStored = 1, kAddedParts = 2 };
    bool isStored() const { return name_.ownerBits() & kStored; }
    bool hasAddedParts() const { return name_.ownerBits() & kAddedParts; }
    void setAddedParts(bool added) {
        name_.setOwnerBits(static_cast<u8>((name_.ownerBits() & ~kAddedParts) | (added ? kAddedParts : 0)));
    }

    XMLText name_;
    XMLList<XMLAttribute> attributes_;
    XMLList<XMLProperty> values_;
    XMLList<XMLNode> children_;
    std::unique_ptr<XMLStore> store_;  // of a tree loaded or copied into this node
    u32 line_ = 0;
};

// f(child) for each child named `name`, in order, in one pass over the children (asking
// getChild(name, i) for each i scans them each time, which makes large files quadratic); f
// returns false to stop.
template <class F>
void forEachChild(XMLNode& node, std::wstring_view name, F f) {
    for (XMLNode* child : node.children())
        if (child->getName() == name && !f(*child)) return;
}
template <class F>
void forEachChild(XMLNode const& node, std::wstring_view name, F f) {
    for (XMLNode const* child : node.children())
        if (child->getName() == name && !f(*child)) return;
}

// " at line N" for log lines naming where an element starts; empty for line 0 (made in code).
inline std::wstring atLine(u32 line) { return line ? L" at line " + std::to_wstring(line) : std::wstring(); }
inline std::wstring atLine(XMLNode const& node) { return atLine(node.getLine()); }

inline XMLNode* XMLStore::newNode() {
    auto* node = new (nodes_.take(sizeof(XMLNode))) XMLNode();
    node->name_.setOwnerBits(XMLNode::kStored);
    return node;
}

inline XMLAttribute* XMLStore::newAttribute() {
    auto* attribute = new (attributes_.take(sizeof(XMLAttribute))) XMLAttribute();
    attribute->markStored();
    return attribute;
}

inline XMLProperty* XMLStore::newValue() {
    auto* value = new (values_.take(sizeof(XMLProperty))) XMLProperty();
    value->markStored();
    return value;
}

}  // namespace Orvex
