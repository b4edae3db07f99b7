// The shared IUnknown implementation: which IIDs get which interface pointer, reference counts,
// and destruction at the last Release.
#include <gtest/gtest.h>

#include "port/win32/ComObject.h"

namespace {

constexpr IID IID_IFirst = {0x11111111, 0x1, 0x1, {1, 2, 3, 4, 5, 6, 7, 8}};
constexpr IID IID_IFirstBase = {0x11111110, 0x1, 0x1, {1, 2, 3, 4, 5, 6, 7, 8}};
constexpr IID IID_ISecond = {0x22222222, 0x2, 0x2, {1, 2, 3, 4, 5, 6, 7, 8}};
constexpr IID IID_IOther = {0x33333333, 0x3, 0x3, {1, 2, 3, 4, 5, 6, 7, 8}};

struct IFirst : IUnknown {
    virtual int first() = 0;
};
struct ISecond : IUnknown {
    virtual int second() = 0;
};

class Single final : public port::ComObject<IFirst, IID_IFirstBase, IID_IFirst> {
public:
    explicit Single(int* destroyed) : destroyed_(destroyed) {}
    int first() override { return 1; }

private:
    ~Single() override { ++*destroyed_; }
    int* destroyed_;
};

class Double final : public port::ComObjectOf<port::ComFace<IFirst, IID_IFirst>, port::ComFace<ISecond, IID_ISecond>> {
public:
    explicit Double(int* destroyed) : destroyed_(destroyed) {}
    int first() override { return 1; }
    int second() override { return 2; }

private:
    ~Double() override { ++*destroyed_; }
    int* destroyed_;
};

TEST(ComObject, QueryInterfaceAnswersItsIidsAndTheLastReleaseDeletes) {
    int destroyed = 0;
    IFirst* object = new Single(&destroyed);
    for (IID const* iid : {&IID_IUnknown, &IID_IFirstBase, &IID_IFirst}) {
        void* found = nullptr;
        ASSERT_EQ(object->QueryInterface(*iid, &found), S_OK);
        EXPECT_EQ(found, static_cast<void*>(object));
    }
    void* found = reinterpret_cast<void*>(1);
    EXPECT_EQ(object->QueryInterface(IID_IOther, &found), E_NOINTERFACE);
    EXPECT_EQ(found, nullptr);
    EXPECT_EQ(object->QueryInterface(IID_IFirst, nullptr), E_POINTER);
    EXPECT_EQ(object->AddRef(), 5u);  // one of its own and one per successful query
    for (ULONG left = 4; left > 0; --left) EXPECT_EQ(object->Release(), left);
    EXPECT_EQ(destroyed, 0);
    EXPECT_EQ(object->Release(), 0u);
    EXPECT_EQ(destroyed, 1);
}

TEST(ComObject, SeveralInterfacesShareOneCount) {
    int destroyed = 0;
    auto* object = new Double(&destroyed);
    IFirst* first = object;
    ISecond* second = object;
    ASSERT_NE(static_cast<void*>(first), static_cast<void*>(second));

    void* found = nullptr;
    ASSERT_EQ(first->QueryInterface(IID_ISecond, &found), S_OK);
    EXPECT_EQ(found, static_cast<void*>(second));
    EXPECT_EQ(static_cast<ISecond*>(found)->second(), 2);
    ASSERT_EQ(second->QueryInterface(IID_IUnknown, &found), S_OK);
    EXPECT_EQ(found, static_cast<void*>(first));  // IUnknown is the first interface, from any of them
    ASSERT_EQ(second->QueryInterface(IID_IFirst, &found), S_OK);
    EXPECT_EQ(static_cast<IFirst*>(found)->first(), 1);
    EXPECT_EQ(second->AddRef(), 5u);
    EXPECT_EQ(first->QueryInterface(IID_IOther, &found), E_NOINTERFACE);

    for (int i = 0; i < 4; ++i) second->Release();
    EXPECT_EQ(destroyed, 0);
    EXPECT_EQ(first->Release(), 0u);
    EXPECT_EQ(destroyed, 1);
}

}  // namespace
