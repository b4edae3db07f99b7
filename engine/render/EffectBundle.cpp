// Effect pools and effect bundles (permutations of one effect source under keys).
#include "engine/render/EffectBundle.h"

#include <vector>

#include "engine/core/Logger.h"
#include "engine/render/EffectManager.h"

namespace Orvex {

EffectPool::EffectPool(XMLNode& element) : NamedObject(element) {
    if (FAILED(D3DXCreateEffectPool(&pool_))) {
        pool_ = nullptr;
        logError(L"EffectPool " + getName() + L": D3DXCreateEffectPool failed");
    }
}

EffectPool::~EffectPool() {
    if (pool_) pool_->Release();
}

EffectBundle::~EffectBundle() {
    std::map<std::wstring, Member> members;
    members.swap(members_);
    for (auto& [key, member] : members) member.effect->release();
}

EffectBundle::Member const* EffectBundle::findMember(std::wstring const& key) const {
    auto found = members_.find(key);
    return found == members_.end() ? nullptr : &found->second;
}

bool EffectBundle::load(XMLNode& element) {
    std::vector<XMLNode*> definitions;
    for (auto const& child : element.children())
        if (child->getName() == L"EFFECT") definitions.push_back(child.get());
    if (XMLAttribute const* name = element.getAttribute(L"NAME")) setName(name->getString());
    if (definitions.empty()) return false;
    for (auto const& child : element.children())
        if (child->getName() == L"PERMUTATION") loadPermutation(*child, definitions);
    return !members_.empty();
}

bool EffectBundle::shareExisting(XMLAttribute const& existing) {
    XMLValueTokens pieces = existing.split(L" ");
    if (pieces.getCount() == 0) return false;
    EffectBundle* bundle = EffectManager::getInstance().findBundle(pieces.get(0)->getString());
    std::wstring key = pieces.getCount() > 1 ? pieces.get(1)->getString() : std::wstring();
    Member const* shared = bundle ? bundle->findMember(key) : nullptr;
    if (!shared) return false;
    if (!members_.count(key)) {
        shared->effect->addRef();
        members_[key] = Member{EffectMacroList(), shared->effect};
    }
    return true;
}

void EffectBundle::loadPermutation(XMLNode& permutation, std::vector<XMLNode*> const& definitions) {
    currentMacros_.clear();
    if (XMLAttribute const* existing = permutation.getAttribute(L"EXISTING_EFFECT"))
        if (shareExisting(*existing)) return;
    XMLAttribute const* keyAttribute = permutation.getAttribute(L"NAME");
    if (!keyAttribute) return;
    std::wstring key = keyAttribute->getString();
    if (members_.count(key)) {
        // The bundle would keep its first member anyway; compiling a second is wasted.
        logWarning(L"EffectBundle " + getName() + atLine(permutation) + L": permutation " + key +
                   L" listed twice, the first stays");
        return;
    }
    if (XMLNode const* macros = permutation.getChild(L"MACROS")) currentMacros_ = EffectMacroList::read(*macros);

    XMLNode* definition = definitions.front();
    if (XMLAttribute const* use = permutation.getAttribute(L"USE_EFFECT")) {
        definition = nullptr;
        for (XMLNode* candidate : definitions) {
            XMLAttribute const* name = candidate->getAttribute(L"NAME");
            if (name && name->getString() == use->getString()) {
                definition = candidate;
                break;
            }
        }
        if (!definition) return;
    }

    auto* effect = new Effect(false);
    effect->signalCompiling.connect(this, &EffectBundle::onMemberCompiling);
    effect->setName(key);
    if (effect->load(*definition)) {
        members_[key] = Member{currentMacros_, effect};
        EffectManager::getInstance().addEffect(*effect);
    } else {
        effect->release();
    }
}

void EffectBundle::onMemberCompiling(Effect& effect) {
    for (auto const& [key, member] : members_) {
        if (member.effect == &effect) {
            effect.getMacros().merge(member.macros);
            return;
        }
    }
    effect.getMacros().merge(currentMacros_);
}

}  // namespace Orvex
