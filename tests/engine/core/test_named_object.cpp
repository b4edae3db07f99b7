// Named objects: names and running ids, reference counting, the destroyed and name-changed
// signals, property-file reading and writing, and user pointer slots.
#include "engine/core/NamedObject.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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
        if (newName == L"verboten") object->setName(L"erlaubt");
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

TEST(NamedObject, DefaultNameIsTheRunningIdOrTheNodesName) {
    NamedObject a;
    NamedObject b;
    EXPECT_EQ(a.getName(), std::to_wstring(a.getId()));
    EXPECT_GT(b.getId(), a.getId());

    XMLNode node(L"TEXTURE");
    node.setAttribute(L"NAME", L"Rueckseite");
    EXPECT_EQ(NamedObject(node).getName(), L"Rueckseite");
    XMLNode unnamed(L"TEXTURE");
    unnamed.setAttribute(L"name", L"lower case is another key");
    NamedObject noName(unnamed);
    EXPECT_EQ(noName.getName(), std::to_wstring(noName.getId()));
}

TEST(NamedObject, CopyAndAssignmentTakeOnlyTheName) {
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

    // A copy: the name, a new id, a count of one, and no connections.
    NamedObject copy(original);
    EXPECT_EQ(copy.getName(), L"Vorlage");
    EXPECT_NE(copy.getId(), original.getId());
    EXPECT_EQ(copy.getRefCount(), 1);
    copy.setName(L"Kopie");
    EXPECT_TRUE(watcher.changes.empty());
    Receiver receiverCopy(receiver);
    someSignal.emit();
    EXPECT_EQ(receiver.pings, 1);
    EXPECT_EQ(receiverCopy.pings, 0);

    // Assignment: the name only, silently; id and count stay.
    Orvex::u32 const id = original.getId();
    original = copy;
    EXPECT_EQ(original.getName(), L"Kopie");
    EXPECT_EQ(original.getId(), id);
    EXPECT_EQ(original.getRefCount(), 2);
    EXPECT_TRUE(watcher.changes.empty());
    original.release();
}

TEST(NamedObject, ReleaseDeletesAtZeroThroughTheVirtualDestructor) {
    bool gone = false;
    Watcher watcher;
    auto* object = new Derived(&gone);
    object->setName(L"Stapel 3");
    object->signalDestroyed.connect(&watcher, &Watcher::onDestroyed);
    EXPECT_EQ(object->addRef(), 2);
    EXPECT_EQ(object->release(), 1);
    EXPECT_FALSE(gone);
    EXPECT_EQ(object->release(), 0);
    EXPECT_TRUE(gone);
    EXPECT_EQ(watcher.destroyed, std::vector<NamedObject*>{object});
    EXPECT_EQ(watcher.nameAtDestruction, L"Stapel 3");
    EXPECT_EQ(watcher.sender_count(), 0u);
}

TEST(NamedObject, SetNameEmitsObjectOldAndNewNameEvenFromInsideTheSlot) {
    Watcher watcher;
    NamedObject object(L"alt");
    object.signalNameChanged.connect(&watcher, &Watcher::onNameChanged);
    object.setName(L"neu");
    object.setName(L"neu");
    object.setName(L"verboten");  // the slot renames it again
    EXPECT_EQ(object.getName(), L"erlaubt");
    EXPECT_EQ(watcher.changes,
              (std::vector<std::wstring>{L"alt->neu", L"neu->neu", L"neu->verboten", L"verboten->erlaubt"}));
    EXPECT_EQ(watcher.lastObject, &object);
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
    NamedObject roundTrip(out);
    EXPECT_EQ(roundTrip.getName(), L"Kreuz");
}

TEST(NamedObject, UserPointerSlotsGrowAndReadNullPastTheEnd) {
    NamedObject object;
    int first = 1, third = 3;
    object.setUserPointer(&third, 2);
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
