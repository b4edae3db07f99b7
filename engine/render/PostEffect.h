// Post effects: one full-screen shader step after the scene (PostEffect), a named group that
// behaves as one (PE_Combiniation) and an extra texture bound to a shader texture parameter
// (StaticPostEffectTexture). Drawing, the screen quad and the source, original and target
// pictures belong to PostEffectRenderer; the render manager builds, orders and drives them.
//
// Node keys of a post effect ("POSTEFFECT"): "NAME", "TYPE" ("COMBINATION" for a group, whose
// "POSTEFFECT" children are its members), "EFFECT" (the shader effect's name), "MAKE_ORIGINAL",
// "CLEAR_TARGET", "ENABLE", "SETMATRICES", "CLEAR_COLOR" (hex), "SKIP_PRIORITY", "PRIORITY"
// ("HIGH" 2500, "MED" 1500, "LOW" 500, or a number added to 1500; a second word is added),
// children "SCALING" ("X", "Y"), "CONSTANT_FLOATS", "VEC4_PARAM_n" ("X".."W"), "FLOAT_PARAM_n"
// ("VALUE"), "MATRIX_PARAM_n" ("VALUE", 16 numbers row by row), "STRING_MAPPING" ("STRING",
// "MAPPING", "PARAM_NR", "INITIAL_VALUE", "INITIAL_VECTOR", "INITIAL_MATRIX") and
// "STATIC_TEXTURE" ("HANDLE", "TEXTURE_NAME", child "TEXTUREN"), with n = 1..kParamCount.
//
// Shader side: technique "RenderPost"; textures "g_Textur_SRC" (the picture so far),
// "g_Textur_ORG" (the original picture); "g_time", "g_ZminMaxQuo" (camera near, far, far/near),
// "g_Vec4_Param1".."5", "g_Float_Param1".."5", "g_Matrix_Param1".."5"; per pass the float
// annotations "fScaleX"/"fScaleY"; a parameter with the string annotation
// "ConvertPixelsToTexels" = "other" receives other's vectors divided by the target size.
//
// Limits: kParamCount entries per parameter array; a "PARAM_NR" outside 0..kParamCount-1 is
// refused with a log line. String mappings keep the order of the file, so listings are stable.
//
// Split: PostEffect.cpp (reading a node, copies, static textures, string mappings, the group
// PE_Combiniation), PostEffect_bind.cpp (binding to the shader effect, its reload and
// destruction, the constant floats, the pixel-to-texel conversion, the per-frame parameters),
// PostEffect_params.cpp (parameters by mapping key or by index).
#pragma once

#include <string>
#include <vector>

#include "engine/core/NamedObject.h"
#include "engine/core/Types.h"
#include "engine/core/XMLNode.h"
#include "port/d3dx9/d3dx9.h"

namespace Orvex {

class Camera;
class D3DInterface;
class Effect;
class PostEffectRenderer;
class Texture2D;

// One "CONSTANT_FLOATS" record: values written into shader parameters, packed by type.
class ConstantFloats {
public:
    static constexpr u32 kFloat = 0;
    static constexpr u32 kFloat2 = 1;
    static constexpr u32 kFloat2Texel = 2;
    static constexpr u32 kFloat3 = 3;
    static constexpr u32 kFloat4 = 4;

    explicit ConstantFloats(XMLNode& node);
    // Type, fill names, setAlways and values; the buffer starts empty.
    ConstantFloats(ConstantFloats const& other);
    ConstantFloats& operator=(ConstantFloats const&) = delete;

    // Packs the values for a target of w x h pixels (FLOAT2_TEXEL divides by it).
    void build(u32 width, u32 height);
    // Writes the packed values into every fill parameter the effect has, at most its size.
    void apply(ID3DXEffect& effect) const;

    u32 getType() const { return type_; }
    bool isSetAlways() const { return setAlways_ != 0; }
    std::vector<float> const& getBuffer() const { return buffer_; }

private:
    std::vector<float> buffer_;
    u32 count_ = 0;
    u32 stride_ = 4;
    u32 type_ = kFloat;
    std::vector<std::string> fill_;
    u8 setAlways_ = 0;
    std::vector<D3DXVECTOR4> values_;
};

// An extra texture for a shader texture parameter (default "g_Textur_EXTRA"); holds one
// reference to its texture.
class StaticPostEffectTexture : public NamedObject {
public:
    // "HANDLE", "TEXTURE_NAME" (looked up in the node's own "TEXTUREN" list, then in the device
    // object's texture manager). The name is the node's "NAME".
    explicit StaticPostEffectTexture(XMLNode& node);
    StaticPostEffectTexture(Texture2D* texture, std::string handle);
    ~StaticPostEffectTexture() override;

    std::string const& getHandle() const { return handle_; }
    Texture2D* getTexture() const { return texture_; }

private:
    void take(Texture2D* texture);

    std::string handle_ = "g_Textur_EXTRA";
    Texture2D* texture_ = nullptr;
};

// One row of a parameter listing: the console's mapping string (filled by the render manager),
// the post effect's name, the mapping key and its kind.
struct PostEffectParam {
    std::wstring mappingString;
    std::wstring postEffectName;
    std::wstring key;
    u32 kind = 0;
};

class PostEffect : public NamedObject {
public:
    static constexpr u32 kParamCount = 5;
    static constexpr s32 kPriorityHigh = 2500;
    static constexpr s32 kPriorityMed = 1500;
    static constexpr s32 kPriorityLow = 500;

    // Mapping kinds: what a keyed float access touches (paramNr picks the array element).
    enum Kind : u32 {
        kFloat = 0,       // floatParams[nr]
        kVector = 1,      // vec4Params[nr] (vector access only)
        kVectorX = 2,     // .. kVectorW = 5: one component of vec4Params[nr]
        kVectorW = 5,
        kScaleX = 6,
        kScaleY = 7,
        kScaleXY = 8,     // set both, get scaleX
        kInvScaleX = 9,
        kInvScaleY = 10,
        kInvScaleXY = 11,
        kMatrix = 12,     // matrixParams[nr] (matrix access only)
        kM11 = 13,        // .. kM44 = 28: one element of matrixParams[nr], row by row
        kM44 = 28,
        kEnable = 29,
        kKindCount = 30
    };
    // The keyword of a kind, empty for none.
    static std::wstring const& kindKeyword(u32 kind);

    PostEffect(XMLNode& node, PostEffectRenderer* renderer);
    ~PostEffect() override;
    PostEffect& operator=(PostEffect const&) = delete;

    // A copy with a fresh identity; nothing bound (it draws after bindEffect).
    virtual PostEffect* clone();
    // Draws through the renderer when active (PostEffectRenderer_draw.cpp).
    virtual void render(Camera* camera);
    // Finds the shader effect by name, fetches the handles, builds the constants.
    virtual void bindEffect();
    virtual void addTime(double const& step) { time_ += static_cast<float>(step); }
    virtual void refreshConstants();
    // This post effect when the name is its own, else null.
    virtual PostEffect* findPostEffect(std::wstring const& name);

    // Keyed access by mapping key; false (or the failure value -1) for an unknown key or a kind
    // the access does not serve.
    virtual bool setFloat(std::wstring const& key, float const& value);
    virtual bool setVector(std::wstring const& key, D3DXVECTOR4 const& value);
    virtual bool setMatrix(std::wstring const& key, D3DXMATRIX const& value);
    virtual float getFloat(std::wstring const& key);
    virtual D3DXVECTOR4 getVector(std::wstring const& key);
    virtual D3DXMATRIX getMatrix(std::wstring const& key);
    // Indexed access; an index of kParamCount or more is ignored (getters answer zero).
    virtual void setVec4Param(D3DXVECTOR4 const& value, u32 index);
    virtual void setFloatParam(float const& value, u32 index);
    virtual void setMatrixParam(D3DXMATRIX const& value, u32 index);
    virtual D3DXVECTOR4 getVec4Param(u32 index);
    virtual float getFloatParam(u32 index);
    virtual D3DXMATRIX getMatrixParam(u32 index);

    virtual void beforeRender(Camera*) {}
    virtual void afterRender(Camera*) {}
    virtual void setSkipPriority(u32 const& priority) { skipPriority_ = priority; }
    u32 getSkipPriority() const { return skipPriority_; }
    virtual void setSkipLevel(u32 const& level) { skipLevel_ = level; }
    u32 getSkipLevel() const { return skipLevel_; }
    virtual void setEnabled(bool const& on) { enabled_ = on ? 1 : 0; }
    bool isEnabled() const { return enabled_ != 0; }
    // Initialized, enabled and not skipped (skipLevel <= skipPriority).
    virtual bool isActive() const;

    // Ignores null; takes a reference unless adopt hands over the caller's.
    void addStaticTexture(StaticPostEffectTexture* texture, bool const& adopt);
    void clearStaticTextures();
    s32 getPriority() const { return priority_; }
    // One record per mapping, in the order the mappings were read.
    std::vector<PostEffectParam> getStringMappings() const;

    // What the renderer draws with.
    Effect* getEffect() const { return effect_; }
    std::wstring const& getEffectName() const { return effectName_; }
    bool isInitialized() const { return initialized_ != 0; }
    bool isBindTried() const { return bindTried_ != 0; }
    float getTime() const { return time_; }
    D3DXVECTOR2 getScale() const { return D3DXVECTOR2(scaleX_, scaleY_); }
    bool getMakeOriginal() const { return makeOriginal_ != 0; }
    bool getClearTarget() const { return clearTarget_ != 0; }
    D3DCOLOR getClearColor() const { return clearColor_; }
    bool getSetMatrices() const { return setMatrices_ != 0; }
    PostEffectRenderer* getRenderer() const { return renderer_; }
    std::vector<StaticPostEffectTexture*> const& getStaticTextures() const { return staticTextures_; }
    // Sets the shader parameters of one frame: the three arrays and the always-set constants.
    void applyParameters(ID3DXEffect& effect);

protected:
    PostEffect(PostEffect const& other);

private:
    struct Mapping {
        std::wstring key;
        u32 kind = 0;
        u32 paramNr = 0;
    };
    void read(XMLNode& node);
    void readMapping(XMLNode& node);
    Mapping const* findMapping(std::wstring const& key) const;
    void onEffectReloaded(Effect& effect);
    void onEffectDestroyed(NamedObject* effect);
    void unbind();
    void convertPixelsToTexels(ID3DXEffect& effect, u32 width, u32 height);
    void targetSize(u32& width, u32& height) const;

    D3DInterface* d3d_;
    PostEffectRenderer* renderer_;
    Effect* effect_ = nullptr;
    std::wstring effectName_;
    std::vector<Mapping> mappings_;
    std::vector<StaticPostEffectTexture*> staticTextures_;
    D3DXVECTOR4 vec4Params_[kParamCount]{};
    float floatParams_[kParamCount]{};
    D3DXMATRIX matrixParams_[kParamCount]{};
    float time_ = 0.0f;
    float scaleX_ = 1.0f;
    float scaleY_ = 1.0f;
    D3DXHANDLE vec4Handles_[kParamCount]{};
    D3DXHANDLE floatHandles_[kParamCount]{};
    D3DXHANDLE matrixHandles_[kParamCount]{};
    u8 makeOriginal_ = 1;
    u8 initialized_ = 0;
    u8 bindTried_ = 0;
    u8 enabled_ = 1;
    u8 setMatrices_ = 0;
    s32 priority_ = kPriorityMed;
    u32 skipPriority_ = 0xFFFFFFFFu;
    u32 skipLevel_ = 0;
    D3DCOLOR clearColor_ = 0xFF000000;
    u8 clearTarget_ = 1;
    std::vector<ConstantFloats*> constants_;
};

// A named group of post effects that behaves as one: its children draw in order.
class PE_Combiniation : public PostEffect {
public:
    // The post effect part from the node, then every "POSTEFFECT" child through the render
    // manager's factory; each child takes the group's skip priority.
    PE_Combiniation(XMLNode& node, PostEffectRenderer* renderer);
    ~PE_Combiniation() override;

    PE_Combiniation* clone() override;
    void render(Camera* camera) override;
    void bindEffect() override;
    void addTime(double const& step) override;
    void refreshConstants() override;
    PostEffect* findPostEffect(std::wstring const& name) override;
    void setSkipPriority(u32 const& priority) override;
    void setSkipLevel(u32 const& level) override;
    void setEnabled(bool const& on) override;
    // Every child active (true without children).
    bool isActive() const override;

    std::vector<PostEffect*> const& getChildren() const { return children_; }

private:
    PE_Combiniation(PE_Combiniation const& other);

    std::vector<PostEffect*> children_;
};

}  // namespace Orvex
