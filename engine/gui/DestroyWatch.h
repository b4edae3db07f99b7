// Tells an operation that emits signals whether one of the slots destroyed the emitting object.
// The object holds a DestroyWatch; the operation opens a Scope on its stack before the first
// emit and asks destroyed() after each one: when true, it must not touch the object again.
// Scopes nest (a slot may call back into the same object) and cost no allocation. A copy of the
// object gets a watch of its own: running operations belong to the original.
#pragma once

namespace Orvex {

class DestroyWatch {
public:
    class Scope {
    public:
        explicit Scope(DestroyWatch& watch) : watch_(&watch), next_(watch.scopes_) { watch.scopes_ = this; }
        ~Scope() {
            if (watch_) watch_->scopes_ = next_;
        }
        Scope(Scope const&) = delete;
        Scope& operator=(Scope const&) = delete;

        bool destroyed() const { return watch_ == nullptr; }

    private:
        friend class DestroyWatch;
        DestroyWatch* watch_;
        Scope* next_;
    };

    DestroyWatch() = default;
    DestroyWatch(DestroyWatch const&) {}
    DestroyWatch& operator=(DestroyWatch const&) { return *this; }
    ~DestroyWatch() {
        for (Scope* scope = scopes_; scope; scope = scope->next_) scope->watch_ = nullptr;
    }

private:
    Scope* scopes_ = nullptr;
};

}  // namespace Orvex
