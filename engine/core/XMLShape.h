// The shape of a stored sub-tree that the game reads from an untrusted file and writes back into
// it (a profile's per-variant data, statistics, achievements): the attributes, values and child
// elements its reader takes, how many of each and how long a text may be. keep copies of a tree
// what fits its shape and the budget and counts what it leaves out, so a sub-tree kept for a
// later save holds no more than the game itself would have written there.
//
// Shapes are plain constant tables, declared beside the reader they describe:
//
//     constexpr std::wstring_view kCardKeys[] = {L"ID", L"VISIBLE"};
//     constexpr Orvex::XMLShape kCard{kCardKeys};
//     constexpr Orvex::XMLShape::Child kGameChildren[] = {{L"KARTE", &kCard, 4096}};
//     constexpr Orvex::XMLShape kGame{{}, 0, kGameChildren};
//
// A shape names no shape that holds it, so the copy recurses only as deep as the shape does.
//
// What the game writes of an element may be more than the file held: a record's numbers are
// written whether the file gave them or not, and so are some elements and values (a profile's
// lists, its god charges). Such attributes are the shape's `written` ones, with their longest
// text, such values its `writtenValues`, such children marked `written`: each element is charged
// for them as written (with all a written child holds always), so what is kept of a tree is never
// written back larger than it was charged. Only parts the writer makes anew may be so marked: a
// held one is charged no more, whatever it holds.
//
// LeftOut counts what a reader passes over beside a shape (elements it does not read, entries
// naming nothing it knows) for one log line however many there are: the count, and the first
// one's name (a quoted piece of it) and line.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "engine/core/KeepBudget.h"
#include "engine/core/Types.h"

namespace Orvex {

class XMLNode;
class XMLText;

struct XMLShape {
    struct Child {
        std::wstring_view name;
        XMLShape const* shape = nullptr;
        u32 maxCount = 1;  // the first ones are kept
        bool written = false;  // the writer writes one, held or not
        // Children the reader drops for what they hold (a record whose number does not read),
        // with a line of its own: neither charged, nor counted as left out, nor copied.
        bool (*dropped)(XMLNode const&) = nullptr;
    };
    // An attribute the writer writes always, at most `length` UTF-16 units long.
    struct Written {
        std::wstring_view name;
        std::size_t length = 0;
    };
    // Names, and texts the game writes (numbers, names from the data, a seed), stay below this.
    static constexpr std::size_t kMaxText = 256;
    // One element's attributes are matched against at most this many names.
    static constexpr std::size_t kMaxAttributes = 64;

    class LeftOut {
    public:
        // One more passed over, named by text (an element's name, an entry's key) at line.
        void add(XMLText const& name, u32 line);
        std::size_t count() const { return count_; }
        // "left out: N <what> (the first "NAME" at line L)"; empty when nothing was.
        std::wstring told(std::wstring_view what) const;

    private:
        std::size_t count_ = 0;
        std::wstring first_;  // quoted
        u32 line_ = 0;
    };

    std::span<std::wstring_view const> attributes{};  // the first of each name is kept
    u32 maxValues = 0;                                 // the first ones are kept
    std::span<Child const> children{};
    // A longer attribute text or value is left out whole; characters are counted as every read
    // counts them (XMLText::longerThan), so what one read keeps the read of its save keeps.
    std::size_t maxText = kMaxText;
    // Charged for each element as written, held or not (a held one is charged no more); each is
    // also named in `attributes`.
    std::span<Written const> written{};
    // The values the writer writes always, each at most writtenValueLength units long: charged
    // with the element; the first ones held are charged no more.
    u32 writtenValues = 0;
    std::size_t writtenValueLength = 0;

    // Replaces to's content by the part of from that fits this shape and the budget (from's name,
    // the attributes, values and children the shape names, each child by its own shape); every
    // object is charged to budget as a read of the saved tree charges it (XMLNode::savedCost's
    // count, a text in the units the saved UTF-16 file holds). Returns how many
    // attributes, values and elements (each counted once, with all it holds) were left out.
    std::size_t keep(XMLNode const& from, XMLNode& to, KeepBudget& budget) const;
    // What keep would charge and leave out, without a copy.
    std::size_t measure(XMLNode const& from, KeepBudget& budget) const;
    // What an element of this shape is charged with its name before its content: the element and
    // what the writer writes in it always (written attributes, values and children, theirs too).
    std::size_t elementCost(std::size_t nameLength) const;

private:
    // Copies into to, or only charges and counts when it is null.
    std::size_t keepContent(XMLNode const& from, XMLNode* to, KeepBudget& budget) const;
};

}  // namespace Orvex
