// An element of the engine's property files: a name, its attributes, its values and its child
// elements, all owned by the node.
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
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/core/Types.h"
#include "engine/core/XMLAttribute.h"
#include "engine/core/XMLProperty.h"

namespace Orvex {

class XMLNode {
public:
    // Elements nested deeper than this are skipped by the parser (with one log line).
    static constexpr u32 kMaxDepth = 1024;

    XMLNode() = default;
    explicit XMLNode(std::wstring name) : name_(std::move(name)) {}
    XMLNode(XMLNode const& other);
    XMLNode& operator=(XMLNode const& other);
    XMLNode(XMLNode&& other) noexcept = default;
    XMLNode& operator=(XMLNode&& other) noexcept;
    ~XMLNode();

    std::wstring const& getName() const { return name_; }
    void setName(std::wstring name) { name_ = std::move(name); }

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
    XMLAttribute* getAttributeAt(u32 i) const { return i < attributes_.size() ? attributes_[i].get() : nullptr; }

    // The child of that name with `index` earlier same-named children; -1 and 0 give the first.
    // An empty name matches any child. Null when absent.
    XMLNode* getChild(std::wstring_view name, int index = -1);
    XMLNode const* getChild(std::wstring_view name, int index = -1) const;
    // Children of that name; all children for an empty name.
    u32 getChildCount(std::wstring_view name = {}) const;

    u32 getValueCount() const { return static_cast<u32>(values_.size()); }
    // Value i, or null out of range.
    XMLProperty* getValue(u32 i) const { return i < values_.size() ? values_[i].get() : nullptr; }

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

    // Reads a property file into this node: the file's root element becomes the node. Mode 0
    // opens the file through the archive order "DEFAULT" (archives, then disk); any other mode
    // reads the path from disk only. False (and an empty node) when the file cannot be read or
    // holds no element; a damaged file keeps what could be read and logs one error line.
    bool load(std::wstring const& fileName, int mode = 0);
    // Parses text into this node as load does; sourceName names the text in log lines.
    bool loadFromText(std::wstring_view text, std::wstring const& sourceName = L"(text)");
    // Parses a file's bytes (UTF-16LE or UTF-8 after a byte-order mark, else Windows-1252).
    bool loadFromBytes(unsigned char const* bytes, std::size_t size, std::wstring const& sourceName);
    bool parse(std::wstring_view text, std::wstring const& sourceName = L"(text)") {
        return loadFromText(text, sourceName);
    }

    // Writes the tree: UTF-16LE with the byte-order mark when unicode, else 8-bit Windows-1252
    // text (unmappable characters as blanks). The file is written beside the target first and
    // renamed over it, so a failure never leaves a half-written file. False when not written.
    bool save(std::wstring const& path, bool unicode) const;
    // The text save writes (tab indentation, CR LF line ends). Characters the format cannot
    // hold are replaced so the text always reads back: in names, blanks and > / " (and a
    // leading ? or !) become _; a " in an attribute value, or after | in a value, becomes '.
    std::wstring toText() const;

    // Direct access for walking the tree.
    std::vector<std::unique_ptr<XMLNode>> const& children() const { return children_; }
    std::vector<std::unique_ptr<XMLAttribute>> const& attributes() const { return attributes_; }
    std::vector<std::unique_ptr<XMLProperty>> const& values() const { return values_; }

private:
    template <class CharT>
    friend class XMLParser;
    static void destroyTrees(std::vector<std::unique_ptr<XMLNode>>& trees);

    std::wstring name_;
    std::vector<std::unique_ptr<XMLAttribute>> attributes_;
    std::vector<std::unique_ptr<XMLProperty>> values_;
    std::vector<std::unique_ptr<XMLNode>> children_;
};

}  // namespace Orvex
