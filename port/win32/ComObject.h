// IUnknown for the port's COM objects: QueryInterface over a fixed list of interfaces and their
// IIDs, and a reference count that starts at 1 and deletes the object at the last Release.
// No aggregation, no tear-offs: every interface is a base class of the object.
#pragma once

#include <atomic>

#include "port/win32/unknwn.h"

namespace port {

// One interface of a COM object and the IIDs QueryInterface answers with it (besides
// IID_IUnknown, which always gets the object's first interface).
template <class Interface, IID const&... Iids>
struct ComFace {
    using type = Interface;
    static bool answers(REFIID riid) { return ((riid == Iids) || ...); }
};

// Derive from this with the object's interfaces, the first being the one IID_IUnknown gets:
//   class Graph final : public ComObjectOf<ComFace<IGraphBuilder, IID_IGraphBuilder>, ...>
// QueryInterface adds a reference for every pointer it hands out, and gives null with
// E_NOINTERFACE for anything else (E_POINTER for a null out-pointer).
template <class First, class... Rest>
class ComObjectOf : public First::type, public Rest::type... {
public:
    HRESULT QueryInterface(REFIID riid, void** object) override {
        if (!object) return E_POINTER;
        *object = find(riid);
        if (!*object) return E_NOINTERFACE;
        this->AddRef();  // virtual: objects that forward their count to an owner forward this too
        return S_OK;
    }
    ULONG AddRef() override { return ++refs_; }
    ULONG Release() override {
        ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }

protected:
    ComObjectOf() = default;
    ~ComObjectOf() override = default;
    ComObjectOf(ComObjectOf const&) = delete;
    ComObjectOf& operator=(ComObjectOf const&) = delete;

    // The interface pointer for riid without adding a reference; null when there is none.
    void* find(REFIID riid) {
        if (riid == IID_IUnknown || First::answers(riid)) return static_cast<typename First::type*>(this);
        void* found = nullptr;
        (void)((found = Rest::answers(riid) ? static_cast<typename Rest::type*>(this) : nullptr) || ...);
        return found;
    }

private:
    std::atomic<ULONG> refs_{1};
};

// The common case: an object with one interface (its base interfaces listed by IID as well).
template <class Interface, IID const&... Iids>
using ComObject = ComObjectOf<ComFace<Interface, Iids...>>;

}  // namespace port
