// RenderManager: reading the render-pass file, and the parameters addressed by mapping string.
#include "engine/render/RenderManager.h"

#include <algorithm>
#include <unordered_set>

#include "engine/core/Logger.h"
#include "engine/core/XMLNode.h"
#include "engine/render/PostEffect.h"
#include "engine/render/PostEffectValues.h"
#include "engine/render/TextureFormat.h"

namespace Orvex {

void RenderManager::loadConfigFile(std::wstring const& path) {
    XMLNode node;
    node.load(path);
    loadConfig(node, path);
}

namespace {

// The post effects a definition makes: itself and, for a group, its members; counting stops
// once past limit.
u32 definitionSize(XMLNode const& definition, u32 limit) {
    u32 count = 1;
    if (definition.getAttributeString(L"TYPE", L"") != L"COMBINATION") return count;
    for (auto const& child : definition.children()) {
        if (count > limit) break;
        if (child->getName() == L"POSTEFFECT") count += definitionSize(*child, limit - count);
    }
    return count;
}

void indexEffect(PostEffect* effect, std::unordered_map<std::wstring, PostEffect*>& byName) {
    byName.emplace(effect->getName(), effect);
    if (auto* group = dynamic_cast<PE_Combiniation*>(effect))
        for (PostEffect* member : group->getChildren()) indexEffect(member, byName);
}

PostEffect* lookUp(std::unordered_map<std::wstring, PostEffect*> const& byName, std::wstring const& name) {
    auto const found = byName.find(name);
    return found == byName.end() ? nullptr : found->second;
}

}  // namespace

void RenderManager::report(std::wstring const& line) {
    if (reports_++ < kMaxReports) logWarning(line);
}

void RenderManager::loadConfig(XMLNode& renderPass, std::wstring const& sourceName) {
    reports_ = 0;
    readPostEffects(renderPass, sourceName);
    if (XMLNode* forward = renderPass.getChild(L"FORWARD_RENDERING")) forwardRenderer_.readXML(*forward);
    if (XMLNode* post = renderPass.getChild(L"POSTEFFECT_RENDERING")) postEffectRenderer_.readConfig(*post);
    stretchToOrg_ = renderPass.getAttributeBool(L"STRETCH_TO_ORG", stretchToOrg_ != 0) ? 1 : 0;
    createDepthStencil_ = renderPass.getAttributeBool(L"CREATE_DEPTH_STENCIL", createDepthStencil_ != 0) ? 1 : 0;
    if (XMLAttribute const* format = renderPass.getAttribute(L"DEPTH_STENCIL_FORMAT"))
        depthStencilFormat_ = parseD3DFormat(format->getString());
    EffectIndex const byName = indexEffects();
    readActivations(renderPass, sourceName, byName);
    if (XMLNode* mappings = renderPass.getChild(L"POSTEFFECTS_STRING_MAPPINGS"))
        readMappings(*mappings, sourceName, byName);
    if (XMLAttribute const* skip = renderPass.getAttribute(L"SKIP_POSTEFFECTS")) setSkipLevel(skip->getLong());
    setDepthStencil(createDepthStencil_ != 0, depthStencilFormat_);
    if (reports_ > kMaxReports)
        logWarning(L"Render passes \"" + sourceName + L"\": " + std::to_wstring(reports_ - kMaxReports) +
                   L" more names or mappings refused");
}

void RenderManager::readPostEffects(XMLNode& renderPass, std::wstring const& sourceName) {
    for (auto const& child : renderPass.children()) {
        if (child->getName() != L"POSTEFFECT") continue;
        u32 const room = kMaxPostEffects - postEffectCount_;
        u32 const size = definitionSize(*child, room);
        if (size > room) {
            logWarning(L"Render passes \"" + sourceName + L"\"" + atLine(*child) + L": post effect \"" +
                       child->getAttributeString(L"NAME", L"") + L"\" would pass " + std::to_wstring(kMaxPostEffects) +
                       L" post effects; it and the rest are left out");
            return;
        }
        if (PostEffect* made = createPostEffect(*child, &postEffectRenderer_)) {
            postEffects_.push_back(made);
            postEffectCount_ += size;
        }
    }
}

RenderManager::EffectIndex RenderManager::indexEffects() const {
    EffectIndex byName;
    for (PostEffect* effect : postEffects_) indexEffect(effect, byName);
    return byName;
}

void RenderManager::readActivations(XMLNode& renderPass, std::wstring const& sourceName, EffectIndex const& byName) {
    std::vector<PostEffect*>& active = postEffectRenderer_.getEffects();
    std::unordered_set<PostEffect*> listed(active.begin(), active.end());
    std::unordered_set<PostEffect*> removed;
    bool added = false;
    for (auto [list, activate] : {std::pair{L"ACTIVE_POSTEFFECTS", true}, std::pair{L"INACTIVE_POSTEFFECTS", false}}) {
        XMLNode const* names = renderPass.getChild(list);
        if (!names) continue;
        for (auto const& value : names->values()) {
            PostEffect* effect = lookUp(byName, value->getString());
            if (!effect) {
                report(L"Render passes \"" + sourceName + L"\"" + atLine(*names) + L": " + list +
                           L" names the unknown post effect \"" + value->getString() + L"\"");
                continue;
            }
            // Every activation comes before every removal, so each list is one pass.
            if (activate && listed.insert(effect).second) {
                effect->bindEffect();
                active.push_back(effect);
                added = true;
            } else if (!activate && listed.erase(effect)) {
                removed.insert(effect);
            }
        }
    }
    if (!removed.empty())
        active.erase(std::remove_if(active.begin(), active.end(), [&](PostEffect* e) { return removed.count(e) > 0; }),
                     active.end());
    if (added) {
        sortActive();
        setSkipLevel(skipLevel_);
    }
}

void RenderManager::readMappings(XMLNode& node, std::wstring const& sourceName, EffectIndex const& byName) {
    bool pairsReported = false;
    for (auto const& child : node.children()) {
        if (child->getName() != L"STRING_MAPPING") continue;
        XMLAttribute const* effectName = child->getAttribute(L"POSTEFFECT_NAME");
        XMLAttribute const* string = child->getAttribute(L"STRING");
        XMLAttribute const* param = child->getAttribute(L"PARAM_TO_CHANGE");
        if (!effectName || !string || !param) {
            report(L"Render passes \"" + sourceName + L"\"" + atLine(*child) +
                       L": a STRING_MAPPING lacks POSTEFFECT_NAME, STRING or PARAM_TO_CHANGE, ignored");
            continue;
        }
        PostEffect* effect = lookUp(byName, effectName->getString());
        if (!effect) {
            report(L"Render passes \"" + sourceName + L"\"" + atLine(*child) + L": mapping \"" +
                       string->getString() +
                       L"\" names the unknown post effect \"" + effectName->getString() + L"\", ignored");
            continue;
        }
        RenderPassMapping const pair{effect, param->getString()};
        auto const [entry, fresh] = mappingIndex_.emplace(string->getString(), stringMappings_.size());
        if (fresh) {
            stringMappings_.emplace_back(string->getString(), Mappings{pair});
        } else {
            Mappings& pairs = stringMappings_[entry->second].second;
            bool const known = std::any_of(pairs.begin(), pairs.end(), [&](RenderPassMapping const& m) {
                return m.postEffect == pair.postEffect && m.key == pair.key;
            });
            if (!known && pairs.size() >= kMaxMappingPairs) {
                if (!pairsReported)
                    logWarning(L"Render passes \"" + sourceName + L"\"" + atLine(*child) + L": mapping \"" +
                               string->getString() + L"\" would address more than " +
                               std::to_wstring(kMaxMappingPairs) + L" parameters; such mappings are ignored");
                pairsReported = true;
                continue;
            }
            if (!known) pairs.push_back(pair);
        }
        applyInitialValues(*child, string->getString());
    }
    for (auto const& child : node.children()) {
        if (child->getName() != L"INITIALIZE") continue;
        if (XMLAttribute const* string = child->getAttribute(L"STRING")) applyInitialValues(*child, string->getString());
    }
}

void RenderManager::applyInitialValues(XMLNode& node, std::wstring const& string) {
    if (XMLAttribute const* value = node.getAttribute(L"INITIAL_VALUE")) setParamFloat(string, value->getFloat());
    if (XMLAttribute const* vector = node.getAttribute(L"INITIAL_VECTOR")) {
        std::vector<float> const v = postEffectNumbers(vector->getString());
        if (v.size() >= 4) setParamVector(string, D3DXVECTOR4(v[0], v[1], v[2], v[3]));
    }
    if (XMLAttribute const* matrix = node.getAttribute(L"INITIAL_MATRIX")) {
        std::vector<float> const m = postEffectNumbers(matrix->getString());
        if (m.size() >= 16) setParamMatrix(string, matrixOf(m));
    }
}

RenderManager::Mappings const* RenderManager::findMappings(std::wstring const& string) const {
    auto const entry = mappingIndex_.find(string);
    return entry == mappingIndex_.end() ? nullptr : &stringMappings_[entry->second].second;
}

namespace {

// Every pair of a mapping string answers; false for an unknown string or any pair refusing.
template <class Set>
bool setEvery(std::vector<RenderPassMapping> const* pairs, Set set) {
    if (!pairs) return false;
    bool all = true;
    for (RenderPassMapping const& m : *pairs) all = set(*m.postEffect, m.key) && all;
    return all;
}

// The last pair's answer remains; false for an unknown string (the output untouched).
template <class T, class Get>
bool getLast(std::vector<RenderPassMapping> const* pairs, T& value, Get get) {
    if (!pairs) return false;
    for (RenderPassMapping const& m : *pairs) value = get(*m.postEffect, m.key);
    return true;
}

}  // namespace

bool RenderManager::setParamFloat(std::wstring const& string, float const& value) {
    return setEvery(findMappings(string), [&](PostEffect& e, std::wstring const& key) { return e.setFloat(key, value); });
}

bool RenderManager::setParamVector(std::wstring const& string, D3DXVECTOR4 const& value) {
    return setEvery(findMappings(string), [&](PostEffect& e, std::wstring const& key) { return e.setVector(key, value); });
}

bool RenderManager::setParamMatrix(std::wstring const& string, D3DXMATRIX const& value) {
    return setEvery(findMappings(string), [&](PostEffect& e, std::wstring const& key) { return e.setMatrix(key, value); });
}

bool RenderManager::getParamFloat(std::wstring const& string, float& value) const {
    return getLast(findMappings(string), value, [](PostEffect& e, std::wstring const& key) { return e.getFloat(key); });
}

bool RenderManager::getParamVector(std::wstring const& string, D3DXVECTOR4& value) const {
    return getLast(findMappings(string), value, [](PostEffect& e, std::wstring const& key) { return e.getVector(key); });
}

std::vector<PostEffectParam> RenderManager::getAllParams() const {
    std::vector<PostEffectParam> out;
    for (auto const& [string, pairs] : stringMappings_)
        for (RenderPassMapping const& m : pairs)
            for (PostEffectParam record : m.postEffect->getStringMappings())
                if (record.key == m.key) {
                    record.mappingString = string;
                    out.push_back(record);
                }
    return out;
}

}  // namespace Orvex
