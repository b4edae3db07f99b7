// Effect pools (parameters declared `shared` live once for every effect made with the pool) and
// effect bundles: one effect source compiled into several permutations, each under its own key
// with its own preprocessor macros ("EFFECT_BUNDLE" elements of an effect list).
//
// A bundle element: "NAME"; children "EFFECT" (definitions) and "PERMUTATION" with "NAME" (the
// key), "USE_EFFECT" (the "NAME" of one of the bundle's "EFFECT" children, else the first),
// child "MACROS", or "EXISTING_EFFECT" ("bundle key": share a member of an earlier bundle).
// The permutation's macros are merged over the definition's own at every load of the member, so
// reloads keep them; a key already listed keeps its first member.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "engine/core/NamedObject.h"
#include "engine/render/Effect.h"

namespace Orvex {

class EffectPool : public NamedObject {
public:
    // Named from the element's "NAME" (else the running id); creates the D3DX pool.
    explicit EffectPool(XMLNode& element);
    ~EffectPool() override;
    EffectPool(EffectPool const&) = delete;
    EffectPool& operator=(EffectPool const&) = delete;

    // Null when the pool could not be made (effects then go without a pool).
    ID3DXEffectPool* getPool() const { return pool_; }
    // Forgets the D3DX pool without releasing it (see Effect::abandonDeviceObjects).
    void abandonDeviceObjects() { pool_ = nullptr; }

private:
    ID3DXEffectPool* pool_ = nullptr;
};

class EffectBundle : public NamedObject {
public:
    struct Member {
        EffectMacroList macros;
        Effect* effect = nullptr;  // one reference held
    };

    EffectBundle() = default;
    ~EffectBundle() override;
    EffectBundle(EffectBundle const&) = delete;
    EffectBundle& operator=(EffectBundle const&) = delete;

    // Builds the permutations; each loaded one is also added to the effect manager's list.
    // True when the bundle holds at least one member.
    bool load(XMLNode& element);

    // The member under key, or null.
    Member const* findMember(std::wstring const& key) const;
    std::map<std::wstring, Member> const& getMembers() const { return members_; }

    // Slot of each member's compiling signal: merges the member's permutation macros (or, on
    // the member's first load, the permutation being built) into the effect's macros.
    void onMemberCompiling(Effect& effect);

private:
    // "EXISTING_EFFECT": lists a member of an earlier bundle under its key; false when there is
    // no such bundle or key.
    bool shareExisting(XMLAttribute const& existing);
    void loadPermutation(XMLNode& permutation, std::vector<XMLNode*> const& definitions);

    std::map<std::wstring, Member> members_;
    EffectMacroList currentMacros_;
};

}  // namespace Orvex
