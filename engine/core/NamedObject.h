// The reference-counted base of engine and game objects: a wide name (the key by which managers
// find objects), a running id, a reference count starting at one, user pointer slots, and the
// destroyed and name-changed signals. Reads and writes its "NAME" attribute in property files.
// Objects are made with new and end through release(); release at zero deletes the object.
#pragma once

#include <string>
#include <vector>

#include "engine/core/Types.h"
#include "signals/sigslot.h"

namespace Orvex {

class XMLNode;

class NamedObject : public sigslot::has_slots<sigslot::single_threaded> {
public:
    // Name: the running id as decimal text.
    NamedObject();
    explicit NamedObject(std::wstring const& name);
    // Name: the attribute "NAME", else the running id as decimal text.
    explicit NamedObject(XMLNode& node);
    // Copies the name; takes a new running id and a reference count of one. The copy starts
    // without connections and without user pointers.
    NamedObject(NamedObject const& other);
    // Copies the other object's name and line (no name-changed signal); id and count stay.
    NamedObject& operator=(NamedObject const& other);
    // Emits the destroyed signal first.
    ~NamedObject() override;

    // Reads the attribute "NAME" into the name; the name stays when it is absent. Takes the
    // element's line.
    virtual void readXML(XMLNode& node);
    // As readXML, keeping at most the first maxLength characters of a name read from a file the
    // object outlives; true when the name was longer (and cut).
    bool readName(XMLNode const& node, std::size_t maxLength);
    // Adds the attribute "NAME" with the current name.
    virtual void writeXML(XMLNode& node) const;

    // Count + 1; returns the new count.
    s32 addRef();
    // Count - 1; at zero the object deletes itself. Returns the new count.
    s32 release();
    s32 getRefCount() const { return refCount_; }

    std::wstring const& getName() const { return name_; }
    // Sets the name and emits the name-changed signal (object, old name, new name).
    void setName(std::wstring const& name);
    u32 getId() const { return id_; }
    // Counts every change of any object's name (setName, readXML, assignment), so an index by
    // name knows when it has to be made again.
    static u64 renameCount() { return renames_; }
    // Line of the element the object was made or last read from (copies keep it), for log lines
    // about it later; 0 when made in code.
    u32 getLine() const { return line_; }

    // Stores object in slot index, growing the slot list as needed. Indexes from kMaxUserPointers
    // on are refused with a log line (the list would take gigabytes).
    static constexpr u32 kMaxUserPointers = 4096;
    void setUserPointer(void* object, u32 index);
    // The object in slot index; null past the end.
    void* getUserPointer(u32 index) const;

    sigslot::signal1<NamedObject*> signalDestroyed;
    sigslot::signal3<NamedObject*, std::wstring const&, std::wstring const&> signalNameChanged;

private:
    static u32 nextId();
    static inline u64 renames_ = 0;

    std::wstring name_;
    u32 id_;
    u32 line_ = 0;
    s32 refCount_ = 1;
    std::vector<void*> userPointers_;
};

}  // namespace Orvex
