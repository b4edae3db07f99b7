// RenderManager: reading the render-pass file, and the parameters addressed by mapping string.
#include "engine/render/RenderManager.h"

#include <algorithm>

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

void RenderManager::loadConfig(XMLNode& renderPass, std::wstring const& sourceName) {
    for (auto const& child : renderPass.children())
        if (child->getName() == L"POSTEFFECT")
            if (PostEffect* made = createPostEffect(*child, &postEffectRenderer_)) postEffects_.push_back(made);
    if (XMLNode* forward = renderPass.getChild(L"FORWARD_RENDERING")) forwardRenderer_.readXML(*forward);
    if (XMLNode* post = renderPass.getChild(L"POSTEFFECT_RENDERING")) postEffectRenderer_.readConfig(*post);
    stretchToOrg_ = renderPass.getAttributeBool(L"STRETCH_TO_ORG", stretchToOrg_ != 0) ? 1 : 0;
    createDepthStencil_ = renderPass.getAttributeBool(L"CREATE_DEPTH_STENCIL", createDepthStencil_ != 0) ? 1 : 0;
    if (XMLAttribute const* format = renderPass.getAttribute(L"DEPTH_STENCIL_FORMAT"))
        depthStencilFormat_ = parseD3DFormat(format->getString());
    for (auto [list, activate] : {std::pair{L"ACTIVE_POSTEFFECTS", true}, std::pair{L"INACTIVE_POSTEFFECTS", false}}) {
        XMLNode const* names = renderPass.getChild(list);
        if (!names) continue;
        for (auto const& value : names->values()) {
            PostEffect* effect = findPostEffect(value->getString());
            if (!effect) {
                logWarning(L"Render passes \"" + sourceName + L"\"" + atLine(*names) + L": " + list +
                           L" names the unknown post effect \"" +
                           value->getString() + L"\"");
                continue;
            }
            if (activate)
                addActiveEffect(effect);
            else
                removeActiveEffect(effect);
        }
    }
    if (XMLNode* mappings = renderPass.getChild(L"POSTEFFECTS_STRING_MAPPINGS")) readMappings(*mappings, sourceName);
    if (XMLAttribute const* skip = renderPass.getAttribute(L"SKIP_POSTEFFECTS")) setSkipLevel(skip->getLong());
    setDepthStencil(createDepthStencil_ != 0, depthStencilFormat_);
}

void RenderManager::readMappings(XMLNode& node, std::wstring const& sourceName) {
    for (auto const& child : node.children()) {
        if (child->getName() != L"STRING_MAPPING") continue;
        XMLAttribute const* effectName = child->getAttribute(L"POSTEFFECT_NAME");
        XMLAttribute const* string = child->getAttribute(L"STRING");
        XMLAttribute const* param = child->getAttribute(L"PARAM_TO_CHANGE");
        if (!effectName || !string || !param) {
            logWarning(L"Render passes \"" + sourceName + L"\"" + atLine(*child) +
                       L": a STRING_MAPPING lacks POSTEFFECT_NAME, STRING or PARAM_TO_CHANGE, ignored");
            continue;
        }
        PostEffect* effect = findPostEffect(effectName->getString());
        if (!effect) {
            logWarning(L"Render passes \"" + sourceName + L"\"" + atLine(*child) + L": mapping \"" +
                       string->getString() +
                       L"\" names the unknown post effect \"" + effectName->getString() + L"\", ignored");
            continue;
        }
        RenderPassMapping const pair{effect, param->getString()};
        auto entry = std::find_if(stringMappings_.begin(), stringMappings_.end(),
                                  [&](auto const& e) { return e.first == string->getString(); });
        if (entry == stringMappings_.end()) {
            stringMappings_.emplace_back(string->getString(), Mappings{pair});
        } else if (std::none_of(entry->second.begin(), entry->second.end(), [&](RenderPassMapping const& m) {
                       return m.postEffect == pair.postEffect && m.key == pair.key;
                   })) {
            entry->second.push_back(pair);
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
    for (auto const& entry : stringMappings_)
        if (entry.first == string) return &entry.second;
    return nullptr;
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
