// PostEffect: reading a definition node, copies, static textures and constant-float records;
// PE_Combiniation, the group that forwards to its members.
#include "engine/render/PostEffect.h"

#include <algorithm>
#include <limits>

#include "engine/core/CodePage.h"
#include "engine/core/Logger.h"
#include "engine/core/NamedObjectList.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/DeviceObjects.h"
#include "engine/render/PostEffectRenderer.h"
#include "engine/render/PostEffectValues.h"
#include "engine/render/RenderManager.h"
#include "engine/render/TextureManager.h"

namespace Orvex {

namespace {

D3DXVECTOR4 vectorOf(XMLNode const& node, D3DXVECTOR4 v) {
    v.x = node.getAttributeFloat(L"X", v.x);
    v.y = node.getAttributeFloat(L"Y", v.y);
    v.z = node.getAttributeFloat(L"Z", v.z);
    v.w = node.getAttributeFloat(L"W", v.w);
    return v;
}

s32 priorityOf(std::wstring const& text) {
    std::vector<std::wstring> const words = postEffectWords(text);
    if (words.empty()) return PostEffect::kPriorityMed;
    s64 priority = 0;
    if (words[0] == L"HIGH")
        priority = PostEffect::kPriorityHigh;
    else if (words[0] == L"MED")
        priority = PostEffect::kPriorityMed;
    else if (words[0] == L"LOW")
        priority = PostEffect::kPriorityLow;
    else
        priority = s64{XMLProperty(words[0]).getInt()} + PostEffect::kPriorityMed;
    if (words.size() > 1) priority += XMLProperty(words[1]).getInt();
    // Numbers from the file may add up past the range: held at its ends.
    return static_cast<s32>(std::clamp<s64>(priority, std::numeric_limits<s32>::min(), std::numeric_limits<s32>::max()));
}

}  // namespace

ConstantFloats::ConstantFloats(XMLNode& node) {
    if (XMLNode const* fill = node.getChild(L"FILL")) {
        for (auto const& value : fill->values()) fill_.push_back(toNarrowString(value->getString()));
    } else if (XMLAttribute const* fill = node.getAttribute(L"FILL")) {
        fill_.push_back(toNarrowString(fill->getString()));
    }
    setAlways_ = node.getAttributeBool(L"SET_ALWAYS", false) ? 1 : 0;
    for (auto const& child : node.children())
        if (child->getName() == L"PARAM") values_.push_back(vectorOf(*child, D3DXVECTOR4(0, 0, 0, 0)));
    std::wstring const type = node.getAttributeString(L"TYPE", L"");
    if (type == L"FLOAT2")
        type_ = kFloat2;
    else if (type == L"FLOAT2_TEXEL")
        type_ = kFloat2Texel;
    else if (type == L"FLOAT3")
        type_ = kFloat3;
    else if (type == L"FLOAT4")
        type_ = kFloat4;
}

ConstantFloats::ConstantFloats(ConstantFloats const& other)
    : type_(other.type_), fill_(other.fill_), setAlways_(other.setAlways_), values_(other.values_) {}

StaticPostEffectTexture::StaticPostEffectTexture(XMLNode& node) : NamedObject(node) {
    if (XMLAttribute const* handle = node.getAttribute(L"HANDLE")) handle_ = toNarrowString(handle->getString());
    TextureManager batch;
    if (XMLNode* list = node.getChild(L"TEXTUREN")) batch.loadTextures(*list);
    std::wstring const name = node.getAttributeString(L"TEXTURE_NAME", L"");
    Texture2D* found = batch.findTexture(name);
    if (!found) found = D3DInterface::getInstance().getTextureManager().findTexture(name);
    take(found);
}

StaticPostEffectTexture::StaticPostEffectTexture(Texture2D* texture, std::string handle) {
    if (!handle.empty()) handle_ = std::move(handle);
    take(texture);
}

StaticPostEffectTexture::~StaticPostEffectTexture() {
    if (texture_) texture_->release();
}

void StaticPostEffectTexture::take(Texture2D* texture) {
    texture_ = texture;
    if (texture_) texture_->addRef();
}

PostEffect::PostEffect(XMLNode& node, PostEffectRenderer* renderer)
    : NamedObject(node), d3d_(&D3DInterface::getInstance()), renderer_(renderer) {
    read(node);
}

PostEffect::PostEffect(PostEffect const& other)
    : NamedObject(other),
      d3d_(other.d3d_),
      renderer_(other.renderer_),
      effectName_(other.effectName_),
      mappings_(other.mappings_),
      time_(other.time_),
      scaleX_(other.scaleX_),
      scaleY_(other.scaleY_),
      makeOriginal_(other.makeOriginal_),
      enabled_(other.enabled_),
      setMatrices_(other.setMatrices_),
      priority_(other.priority_),
      skipPriority_(other.skipPriority_),
      skipLevel_(other.skipLevel_),
      clearColor_(other.clearColor_),
      clearTarget_(other.clearTarget_) {
    // The parameter arrays come along too: a copy draws the same picture once bound.
    for (u32 i = 0; i < kParamCount; ++i) {
        vec4Params_[i] = other.vec4Params_[i];
        floatParams_[i] = other.floatParams_[i];
        matrixParams_[i] = other.matrixParams_[i];
    }
    for (StaticPostEffectTexture* t : other.staticTextures_)
        staticTextures_.push_back(new StaticPostEffectTexture(t->getTexture(), t->getHandle()));
    for (ConstantFloats* c : other.constants_) constants_.push_back(new ConstantFloats(*c));
}

PostEffect::~PostEffect() {
    unbind();
    clearStaticTextures();
    for (ConstantFloats* c : constants_) delete c;
    constants_.clear();
}

PostEffect* PostEffect::clone() { return new PostEffect(*this); }

void PostEffect::read(XMLNode& node) {
    effectName_ = node.getAttributeString(L"EFFECT", effectName_);
    makeOriginal_ = node.getAttributeBool(L"MAKE_ORIGINAL", makeOriginal_ != 0) ? 1 : 0;
    clearTarget_ = node.getAttributeBool(L"CLEAR_TARGET", clearTarget_ != 0) ? 1 : 0;
    enabled_ = node.getAttributeBool(L"ENABLE", enabled_ != 0) ? 1 : 0;
    setMatrices_ = node.getAttributeBool(L"SETMATRICES", setMatrices_ != 0) ? 1 : 0;
    clearColor_ = node.getAttributeHex(L"CLEAR_COLOR", clearColor_);
    skipPriority_ = node.getAttributeLong(L"SKIP_PRIORITY", skipPriority_);
    if (XMLAttribute const* priority = node.getAttribute(L"PRIORITY")) priority_ = priorityOf(priority->getString());
    if (XMLNode const* scaling = node.getChild(L"SCALING")) {
        scaleX_ = scaling->getAttributeFloat(L"X", scaleX_);
        scaleY_ = scaling->getAttributeFloat(L"Y", scaleY_);
    }
    for (auto const& child : node.children())
        if (child->getName() == L"CONSTANT_FLOATS") constants_.push_back(new ConstantFloats(*child));
    for (u32 i = 0; i < kParamCount; ++i) {
        std::wstring const n = std::to_wstring(i + 1);
        if (XMLNode const* v = node.getChild(L"VEC4_PARAM_" + n)) vec4Params_[i] = vectorOf(*v, vec4Params_[i]);
        if (XMLNode const* f = node.getChild(L"FLOAT_PARAM_" + n))
            floatParams_[i] = f->getAttributeFloat(L"VALUE", floatParams_[i]);
        if (XMLNode const* m = node.getChild(L"MATRIX_PARAM_" + n)) {
            std::vector<float> const values = postEffectNumbers(m->getAttributeString(L"VALUE", L""));
            if (values.size() >= 16) {
                matrixParams_[i] = matrixOf(values);
                setMatrices_ = 1;
            }
        }
    }
    u32 mappings = 0;
    for (auto const& child : node.children()) {
        if (child->getName() != L"STRING_MAPPING") continue;
        if (mappings++ == kMaxMappings) {
            logWarning(L"Post effect \"" + getName() + L"\"" + atLine(*child) + L": more than " +
                       std::to_wstring(kMaxMappings) + L" STRING_MAPPING elements; the rest are ignored");
            break;
        }
        readMapping(*child);
    }
    for (auto const& child : node.children())
        if (child->getName() == L"STATIC_TEXTURE") staticTextures_.push_back(new StaticPostEffectTexture(*child));
}

void PostEffect::readMapping(XMLNode& node) {
    XMLAttribute const* key = node.getAttribute(L"STRING");
    XMLAttribute const* kindWord = node.getAttribute(L"MAPPING");
    if (!key || !kindWord) return;
    u32 kind = 0;
    while (kind < kKindCount && (kindKeyword(kind).empty() || kindKeyword(kind) != kindWord->getString())) ++kind;
    if (kind == kKindCount) {
        logWarning(L"Post effect \"" + getName() + L"\": mapping \"" + key->getString() + L"\" has the unknown kind \"" +
                   kindWord->getString() + L"\", ignored");
        return;
    }
    // The first definition of a key stands: a second one would overwrite its initial values.
    if (findMapping(key->getString())) {
        logWarning(L"Post effect \"" + getName() + L"\"" + atLine(node) + L": mapping \"" + key->getString() +
                   L"\" is defined already; this one and its initial values are ignored");
        return;
    }
    if (XMLAttribute const* nr = node.getAttribute(L"PARAM_NR")) {
        // The number indexes arrays of kParamCount entries: anything else is refused.
        int const paramNr = nr->getInt();
        if (paramNr < 0 || paramNr >= static_cast<int>(kParamCount)) {
            logWarning(L"Post effect \"" + getName() + L"\": mapping \"" + key->getString() + L"\" has PARAM_NR " +
                       nr->getString() + L" outside 0.." + std::to_wstring(kParamCount - 1) + L", ignored");
            return;
        }
        mappings_.push_back(Mapping{key->getString(), kind, static_cast<u32>(paramNr)});
    }
    if (XMLAttribute const* value = node.getAttribute(L"INITIAL_VALUE")) setFloat(key->getString(), value->getFloat());
    if (XMLAttribute const* vector = node.getAttribute(L"INITIAL_VECTOR")) {
        std::vector<float> const v = postEffectNumbers(vector->getString());
        Mapping const* mapping = findMapping(key->getString());
        if (v.size() >= 4 && mapping && mapping->kind >= kVector && mapping->kind <= kVectorW)
            vec4Params_[mapping->paramNr] = D3DXVECTOR4(v[0], v[1], v[2], v[3]);
    }
    if (XMLAttribute const* matrix = node.getAttribute(L"INITIAL_MATRIX")) {
        std::vector<float> const m = postEffectNumbers(matrix->getString());
        if (m.size() >= 16) setMatrix(key->getString(), matrixOf(m));
    }
}

void PostEffect::addStaticTexture(StaticPostEffectTexture* texture, bool const& adopt) {
    if (!texture) return;
    if (!adopt) texture->addRef();
    staticTextures_.push_back(texture);
}

void PostEffect::clearStaticTextures() {
    releaseAll(staticTextures_);
}

std::vector<PostEffectParam> PostEffect::getStringMappings() const {
    std::vector<PostEffectParam> out;
    for (Mapping const& m : mappings_) out.push_back(PostEffectParam{L"", getName(), m.key, m.kind});
    return out;
}

PostEffect* PostEffect::findPostEffect(std::wstring const& name) { return name == getName() ? this : nullptr; }

bool PostEffect::isActive() const { return initialized_ && enabled_ && skipLevel_ <= skipPriority_; }

void PostEffect::render(Camera* camera) {
    if (renderer_ && isActive()) renderer_->drawEffect(*this, camera);
}

PE_Combiniation::PE_Combiniation(XMLNode& node, PostEffectRenderer* renderer) : PostEffect(node, renderer) {
    for (auto const& child : node.children()) {
        if (child->getName() != L"POSTEFFECT") continue;
        if (PostEffect* made = RenderManager::createPostEffect(*child, renderer)) children_.push_back(made);
    }
    for (PostEffect* child : children_) child->setSkipPriority(getSkipPriority());
}

PE_Combiniation::PE_Combiniation(PE_Combiniation const& other) : PostEffect(other) {
    for (PostEffect* child : other.children_) children_.push_back(child->clone());
}

PE_Combiniation::~PE_Combiniation() {
    releaseAll(children_);
}

PE_Combiniation* PE_Combiniation::clone() { return new PE_Combiniation(*this); }

void PE_Combiniation::render(Camera* camera) {
    if (!isEnabled() || getSkipLevel() > getSkipPriority()) return;
    PixEvent event(kPostEffectEventColour, getName().c_str());
    for (PostEffect* child : children_) child->render(camera);
}

void PE_Combiniation::bindEffect() {
    for (PostEffect* child : children_) child->bindEffect();
}

void PE_Combiniation::addTime(double const& step) {
    for (PostEffect* child : children_) child->addTime(step);
}

void PE_Combiniation::refreshConstants() {
    for (PostEffect* child : children_) child->refreshConstants();
}

PostEffect* PE_Combiniation::findPostEffect(std::wstring const& name) {
    if (name == getName()) return this;
    for (PostEffect* child : children_)
        if (PostEffect* found = child->findPostEffect(name)) return found;
    return nullptr;
}

void PE_Combiniation::setSkipPriority(u32 const& priority) {
    PostEffect::setSkipPriority(priority);
    for (PostEffect* child : children_) child->setSkipPriority(priority);
}

void PE_Combiniation::setSkipLevel(u32 const& level) {
    PostEffect::setSkipLevel(level);
    for (PostEffect* child : children_) child->setSkipLevel(level);
}

void PE_Combiniation::setEnabled(bool const& on) {
    PostEffect::setEnabled(on);
    for (PostEffect* child : children_) child->setEnabled(on);
}

bool PE_Combiniation::isActive() const {
    for (PostEffect* child : children_)
        if (!child->isActive()) return false;
    return true;
}

}  // namespace Orvex
