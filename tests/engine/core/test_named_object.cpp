// Named objects: names and running ids, reference counting, the destroyed and name-changed
// signals, property-file reading and writing, and user pointer slots.
#include "engine/core/NamedObject.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/XMLAttribute.h"
#include "engine/core/XMLNode.h"

namespace {

using Orvex::NamedObject;
using Orvex::XMLNode;

// Listens to the signals of named objects.
class Watcher : public sigslot::has_slots<> {
public:
    void onDestroyed(NamedObject* object) {
        destroyed.push_back(object);
        nameAtDestruction = object->getName();  // members are still intact
    }
    void onNameChanged(NamedObject* object, std::wstring const& oldName, std::wstring const& newName) {
        changes.push_back(oldName + L"->" + newName);
        lastObject = object;
    }
    std::vector<NamedObject*> destroyed;
    std::wstring nameAtDestruction;
    std::vector<std::wstring> changes;
    NamedObject* lastObject = nullptr;
};

// A derived object whose destructor and readXML must be reached through the base.
class Derived : public NamedObject {
public:
    explicit Derived(bool* gone) : gone_(gone) {}
    ~Derived() override { *gone_ = true; }
    void readXML(XMLNode& node) override {
        NamedObject::readXML(node);
        extra = node.getAttributeInt(L"EXTRA", 0);
    }
    int extra = 0;

private:
    bool* gone_;
};

TEST(NamedObject, DefaultNameIsTheRunningIdAndIdsRun) {
    NamedObject a;
    NamedObject b;
    EXPECT_EQ(a.getName(), std::to_wstring(a.getId()));
    EXPECT_EQ(b.getName(), std::to_wstring(b.getId()));
    EXPECT_GT(b.getId(), a.getId());
    EXPECT_EQ(a.getRefCount(), 1);

    NamedObject named(L"Herz Dame");
    EXPECT_EQ(named.getName(), L"Herz Dame");
    EXPECT_GT(named.getId(), b.getId());
}

TEST(NamedObject, ConstructionFromANode) {
    XMLNode node(L"TEXTURE");
    node.addAttribute(new Orvex::XMLAttribute(L"NAME", std::wstring(L"Rueckseite")));
    NamedObject fromNode(node);
    EXPECT_EQ(fromNode.getName(), L"Rueckseite");
    EXPECT_EQ(fromNode.getRefCount(), 1);

    XMLNode unnamed(L"TEXTURE");
    unnamed.addAttribute(new Orvex::XMLAttribute(L"name", std::wstring(L"lower case is another key")));
    NamedObject noName(unnamed);
    EXPECT_EQ(noName.getName(), std::to_wstring(noName.getId()));
}

TEST(NamedObject, CopyTakesTheNameButANewIdCountAndNoConnections) {
    Watcher watcher;
    NamedObject original(L"Vorlage");
    original.addRef();
    sigslot::signal0<> someSignal;
    struct Receiver : NamedObject {
        void onPing() { ++pings; }
        int pings = 0;
    } receiver;
    someSignal.connect(&receiver, &Receiver::onPing);
    original.signalNameChanged.connect(&watcher, &Watcher::onNameChanged);

    NamedObject copy(original);
    EXPECT_EQ(copy.getName(), L"Vorlage");
    EXPECT_NE(copy.getId(), original.getId());
    EXPECT_EQ(copy.getRefCount(), 1);
    copy.setName(L"Kopie");  // the copy's signal has no connections
    EXPECT_TRUE(watcher.changes.empty());

    Receiver receiverCopy(receiver);
    someSignal.emit();
    EXPECT_EQ(receiver.pings, 1);
    EXPECT_EQ(receiverCopy.pings, 0);
    original.release();
}

TEST(NamedObject, AssignmentCopiesOnlyTheName) {
    Watcher watcher;
    NamedObject a(L"A"), b(L"B");
    a.addRef();
    a.signalNameChanged.connect(&watcher, &Watcher::onNameChanged);
    Orvex::u32 const id = a.getId();
    a = b;
    EXPECT_EQ(a.getName(), L"B");
    EXPECT_EQ(a.getId(), id);
    EXPECT_EQ(a.getRefCount(), 2);
    EXPECT_TRUE(watcher.changes.empty());
    a.release();
}

TEST(NamedObject, ReleaseDeletesAtZeroThroughTheVirtualDestructor) {
    bool gone = false;
    Watcher watcher;
    auto* object = new Derived(&gone);
    object->setName(L"Stapel 3");
    object->signalDestroyed.connect(&watcher, &Watcher::onDestroyed);
    EXPECT_EQ(object->addRef(), 2);
    EXPECT_EQ(object->addRef(), 3);
    EXPECT_EQ(object->release(), 2);
    EXPECT_EQ(object->release(), 1);
    EXPECT_FALSE(gone);
    EXPECT_EQ(object->release(), 0);
    EXPECT_TRUE(gone);
    ASSERT_EQ(watcher.destroyed.size(), 1u);
    EXPECT_EQ(watcher.destroyed[0], object);
    EXPECT_EQ(watcher.nameAtDestruction, L"Stapel 3");
    EXPECT_EQ(watcher.sender_count(), 0u);
}

TEST(NamedObject, SetNameEmitsObjectOldAndNewName) {
    Watcher watcher;
    NamedObject object(L"alt");
    object.signalNameChanged.connect(&watcher, &Watcher::onNameChanged);
    object.setName(L"neu");
    object.setName(L"neu");
    EXPECT_EQ(watcher.changes, (std::vector<std::wstring>{L"alt->neu", L"neu->neu"}));
    EXPECT_EQ(watcher.lastObject, &object);
    std::wstring const& ref = object.getName();
    object.setName(L"danach");
    EXPECT_EQ(ref, L"danach");  // getName is a reference to the name itself
}

// A slot that renames the object while the name-changed signal is being sent.
class Renamer : public sigslot::has_slots<> {
public:
    void onNameChanged(NamedObject* object, std::wstring const& oldName, std::wstring const& newName) {
        seen.push_back(oldName + L"->" + newName);
        if (newName == L"verboten") object->setName(L"erlaubt");
    }
    std::vector<std::wstring> seen;
};

TEST(NamedObject, RenamingInsideTheNameChangedSlot) {
    Renamer renamer;
    NamedObject object(L"start");
    object.signalNameChanged.connect(&renamer, &Renamer::onNameChanged);
    object.setName(L"verboten");
    EXPECT_EQ(object.getName(), L"erlaubt");
    EXPECT_EQ(renamer.seen, (std::vector<std::wstring>{L"start->verboten", L"verboten->erlaubt"}));
}

TEST(NamedObject, ReadAndWriteTheNameAttribute) {
    bool gone = false;
    Derived object(&gone);
    XMLNode withName(L"OBJ");
    withName.setAttribute(L"NAME", L"Kreuz");
    withName.setAttribute(L"EXTRA", L"7");
    object.readXML(withName);
    EXPECT_EQ(object.getName(), L"Kreuz");
    EXPECT_EQ(object.extra, 7);

    XMLNode withoutName(L"OBJ");
    object.readXML(withoutName);
    EXPECT_EQ(object.getName(), L"Kreuz");

    XMLNode out(L"OUT");
    object.writeXML(out);
    ASSERT_NE(out.getAttribute(L"NAME"), nullptr);
    EXPECT_EQ(out.getAttribute(L"NAME")->getString(), L"Kreuz");
    NamedObject roundTrip(out);
    EXPECT_EQ(roundTrip.getName(), L"Kreuz");
}

TEST(NamedObject, UserPointerSlotsGrowAndReadNullPastTheEnd) {
    NamedObject object;
    int first = 1, third = 3;
    EXPECT_EQ(object.getUserPointer(0), nullptr);
    object.setUserPointer(&third, 2);
    EXPECT_EQ(object.getUserPointer(2), &third);
    EXPECT_EQ(object.getUserPointer(0), nullptr);
    EXPECT_EQ(object.getUserPointer(3), nullptr);
    object.setUserPointer(&first, 0);
    EXPECT_EQ(object.getUserPointer(0), &first);
    EXPECT_EQ(object.getUserPointer(2), &third);
    EXPECT_EQ(object.getUserPointer(0xFFFFFFFFu), nullptr);
    // An absurd index is refused instead of allocating gigabytes.
    object.setUserPointer(&first, 0xFFFFFFF0u);
    EXPECT_EQ(object.getUserPointer(0xFFFFFFF0u), nullptr);
}

}  // namespace
