// Drawing: FVF layouts onto the fixed attribute locations, the render states turned into GL
// state at each draw, and the built-in program that stands in for the fixed-function pipeline
// (pre-transformed or world-view-projection transformed vertices, two texture stages with the
// common colour and alpha operations, alpha test; no lighting, no fog).
#include "port/d3d9/Internal.h"

#include "port/d3d9/d3d9_gl.h"
#include "port/win32/win32_paths.h"
#include "port/win32/win32_log.h"

#include <algorithm>
#include <cstring>

namespace port::d3d9 {
namespace {

struct Attribute {
    bool enabled = false;
    GLint size = 0;
    GLenum type = GL_FLOAT;
    GLboolean normalized = GL_FALSE;
    size_t offset = 0;
};

struct Layout {
    Attribute attributes[gl::kAttribCount];
    bool pretransformed = false;
    UINT size = 0;  // bytes per vertex the FVF describes
};

Layout layoutOf(DWORD fvf) {
    Layout layout;
    size_t offset = 0;
    Attribute& position = layout.attributes[gl::kAttribPosition];
    DWORD positionKind = fvf & D3DFVF_POSITION_MASK;
    position.enabled = positionKind != 0;
    if (positionKind == D3DFVF_XYZRHW || positionKind == D3DFVF_XYZW) {
        position.size = 4;
        offset = 16;
        layout.pretransformed = positionKind == D3DFVF_XYZRHW;
    } else if (positionKind != 0) {
        position.size = 3;
        // XYZB1..XYZB5 carry blend weights after the position.
        unsigned weights = positionKind >= D3DFVF_XYZB1 ? (positionKind - D3DFVF_XYZ) / 2 : 0;
        offset = 12 + 4 * weights;
    }
    if (fvf & D3DFVF_NORMAL) {
        layout.attributes[gl::kAttribNormal] = Attribute{true, 3, GL_FLOAT, GL_FALSE, offset};
        offset += 12;
    }
    if (fvf & D3DFVF_PSIZE) offset += 4;
    if (fvf & D3DFVF_DIFFUSE) {
        layout.attributes[gl::kAttribDiffuse] = Attribute{true, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, offset};
        offset += 4;
    }
    if (fvf & D3DFVF_SPECULAR) {
        layout.attributes[gl::kAttribSpecular] = Attribute{true, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, offset};
        offset += 4;
    }
    unsigned sets = std::min<unsigned>((fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT, 8);
    for (unsigned i = 0; i < sets; ++i) {
        unsigned code = (fvf >> (16 + 2 * i)) & 3;
        GLint size = code == D3DFVF_TEXTUREFORMAT1 ? 1 : code == D3DFVF_TEXTUREFORMAT3 ? 3 : code == D3DFVF_TEXTUREFORMAT4 ? 4 : 2;
        layout.attributes[gl::kAttribTexCoord0 + i] = Attribute{true, size, GL_FLOAT, GL_FALSE, offset};
        offset += static_cast<size_t>(size) * 4;
    }
    layout.size = static_cast<UINT>(offset);
    return layout;
}

GLsizei vertexCount(D3DPRIMITIVETYPE type, UINT primitives) {
    switch (type) {
    case D3DPT_POINTLIST: return static_cast<GLsizei>(primitives);
    case D3DPT_LINELIST: return static_cast<GLsizei>(primitives * 2);
    case D3DPT_LINESTRIP: return static_cast<GLsizei>(primitives + 1);
    case D3DPT_TRIANGLELIST: return static_cast<GLsizei>(primitives * 3);
    case D3DPT_TRIANGLESTRIP:
    case D3DPT_TRIANGLEFAN: return static_cast<GLsizei>(primitives + 2);
    default: return 0;
    }
}

GLenum glMode(D3DPRIMITIVETYPE type) {
    switch (type) {
    case D3DPT_POINTLIST: return GL_POINTS;
    case D3DPT_LINELIST: return GL_LINES;
    case D3DPT_LINESTRIP: return GL_LINE_STRIP;
    case D3DPT_TRIANGLESTRIP: return GL_TRIANGLE_STRIP;
    case D3DPT_TRIANGLEFAN: return GL_TRIANGLE_FAN;
    default: return GL_TRIANGLES;
    }
}

GLenum glCompare(DWORD func) {
    static GLenum const table[] = {GL_ALWAYS, GL_NEVER, GL_LESS, GL_EQUAL, GL_LEQUAL, GL_GREATER, GL_NOTEQUAL, GL_GEQUAL, GL_ALWAYS};
    return func < 9 ? table[func] : GL_ALWAYS;
}

GLenum glStencilOp(DWORD op) {
    static GLenum const table[] = {GL_KEEP, GL_KEEP, GL_ZERO, GL_REPLACE, GL_INCR, GL_DECR, GL_INVERT, GL_INCR_WRAP, GL_DECR_WRAP};
    return op < 9 ? table[op] : GL_KEEP;
}

GLenum glBlend(DWORD blend) {
    switch (blend) {
    case D3DBLEND_ZERO: return GL_ZERO;
    case D3DBLEND_ONE: return GL_ONE;
    case D3DBLEND_SRCCOLOR: return GL_SRC_COLOR;
    case D3DBLEND_INVSRCCOLOR: return GL_ONE_MINUS_SRC_COLOR;
    case D3DBLEND_SRCALPHA: return GL_SRC_ALPHA;
    case D3DBLEND_INVSRCALPHA: return GL_ONE_MINUS_SRC_ALPHA;
    case D3DBLEND_DESTALPHA: return GL_DST_ALPHA;
    case D3DBLEND_INVDESTALPHA: return GL_ONE_MINUS_DST_ALPHA;
    case D3DBLEND_DESTCOLOR: return GL_DST_COLOR;
    case D3DBLEND_INVDESTCOLOR: return GL_ONE_MINUS_DST_COLOR;
    case D3DBLEND_SRCALPHASAT: return GL_SRC_ALPHA_SATURATE;
    case D3DBLEND_BLENDFACTOR: return GL_CONSTANT_COLOR;
    case D3DBLEND_INVBLENDFACTOR: return GL_ONE_MINUS_CONSTANT_COLOR;
    default: return GL_ONE;
    }
}

GLenum glBlendOp(DWORD op) {
    switch (op) {
    case D3DBLENDOP_SUBTRACT: return GL_FUNC_SUBTRACT;
    case D3DBLENDOP_REVSUBTRACT: return GL_FUNC_REVERSE_SUBTRACT;
    case D3DBLENDOP_MIN: return GL_MIN;
    case D3DBLENDOP_MAX: return GL_MAX;
    default: return GL_FUNC_ADD;
    }
}

GLenum glAddress(DWORD mode) {
    switch (mode) {
    case D3DTADDRESS_MIRROR:
    case D3DTADDRESS_MIRRORONCE: return GL_MIRRORED_REPEAT;
    case D3DTADDRESS_CLAMP: return GL_CLAMP_TO_EDGE;
    case D3DTADDRESS_BORDER: return GL_CLAMP_TO_BORDER;
    default: return GL_REPEAT;
    }
}

void colorOf(DWORD c, float out[4]) {
    out[0] = ((c >> 16) & 0xFF) / 255.0f;
    out[1] = ((c >> 8) & 0xFF) / 255.0f;
    out[2] = (c & 0xFF) / 255.0f;
    out[3] = ((c >> 24) & 0xFF) / 255.0f;
}

void blendFactors(DWORD src, DWORD dst, GLenum& glSrc, GLenum& glDst) {
    glSrc = glBlend(src);
    glDst = glBlend(dst);
    if (src == D3DBLEND_BOTHSRCALPHA) glSrc = GL_SRC_ALPHA, glDst = GL_ONE_MINUS_SRC_ALPHA;
    if (src == D3DBLEND_BOTHINVSRCALPHA) glSrc = GL_ONE_MINUS_SRC_ALPHA, glDst = GL_SRC_ALPHA;
}

}  // namespace

void Device::applyPipelineState(bool) {
    if (!pipelineDirty_) return;
    pipelineDirty_ = false;
    DWORD const* r = state_.render;
    D3DVIEWPORT9 const& vp = state_.viewport;
    GlImage target = renderTarget_->image();
    glViewport(static_cast<GLint>(vp.X), glRow(target, static_cast<LONG>(vp.Y), static_cast<LONG>(vp.Height)),
               static_cast<GLsizei>(vp.Width), static_cast<GLsizei>(vp.Height));
    glDepthRange(vp.MinZ, vp.MaxZ);
    if (r[D3DRS_SCISSORTESTENABLE]) {
        glEnable(GL_SCISSOR_TEST);
        RECT const& s = state_.scissor;
        LONG height = std::max<LONG>(0, s.bottom - s.top);
        glScissor(s.left, glRow(target, s.top, height), std::max<LONG>(0, s.right - s.left), height);
    } else {
        glDisable(GL_SCISSOR_TEST);
    }
    DWORD mask = r[D3DRS_COLORWRITEENABLE];
    glColorMask((mask & 1) != 0, (mask & 2) != 0, (mask & 4) != 0, (mask & 8) != 0);
    // Blending.
    if (r[D3DRS_ALPHABLENDENABLE]) {
        glEnable(GL_BLEND);
        GLenum src, dst, srcAlpha, dstAlpha;
        blendFactors(r[D3DRS_SRCBLEND], r[D3DRS_DESTBLEND], src, dst);
        GLenum op = glBlendOp(r[D3DRS_BLENDOP]), opAlpha = op;
        srcAlpha = src, dstAlpha = dst;
        if (r[D3DRS_SEPARATEALPHABLENDENABLE]) {
            blendFactors(r[D3DRS_SRCBLENDALPHA], r[D3DRS_DESTBLENDALPHA], srcAlpha, dstAlpha);
            opAlpha = glBlendOp(r[D3DRS_BLENDOPALPHA]);
        }
        glBlendFuncSeparate(src, dst, srcAlpha, dstAlpha);
        glBlendEquationSeparate(op, opAlpha);
        float factor[4];
        colorOf(r[D3DRS_BLENDFACTOR], factor);
        glBlendColor(factor[0], factor[1], factor[2], factor[3]);
    } else {
        glDisable(GL_BLEND);
    }
    // Depth (only with a depth buffer, as Direct3D ignores it otherwise).
    if (r[D3DRS_ZENABLE] && depthStencil_) {
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(glCompare(r[D3DRS_ZFUNC]));
    } else {
        glDisable(GL_DEPTH_TEST);
    }
    glDepthMask(r[D3DRS_ZWRITEENABLE] && depthStencil_ ? GL_TRUE : GL_FALSE);
    // Stencil; Direct3D's clockwise faces are GL's front faces here (see d3d9_gl.h on rows).
    if (r[D3DRS_STENCILENABLE] && depthStencil_) {
        glEnable(GL_STENCIL_TEST);
        GLint ref = static_cast<GLint>(r[D3DRS_STENCILREF] & 0xFF);
        GLuint readMask = r[D3DRS_STENCILMASK] & 0xFF;
        glStencilMask(r[D3DRS_STENCILWRITEMASK] & 0xFF);
        glStencilFuncSeparate(GL_FRONT, glCompare(r[D3DRS_STENCILFUNC]), ref, readMask);
        glStencilOpSeparate(GL_FRONT, glStencilOp(r[D3DRS_STENCILFAIL]), glStencilOp(r[D3DRS_STENCILZFAIL]),
                            glStencilOp(r[D3DRS_STENCILPASS]));
        bool twoSided = r[D3DRS_TWOSIDEDSTENCILMODE] != 0;
        glStencilFuncSeparate(GL_BACK, glCompare(r[twoSided ? D3DRS_CCW_STENCILFUNC : D3DRS_STENCILFUNC]), ref, readMask);
        glStencilOpSeparate(GL_BACK, glStencilOp(r[twoSided ? D3DRS_CCW_STENCILFAIL : D3DRS_STENCILFAIL]),
                            glStencilOp(r[twoSided ? D3DRS_CCW_STENCILZFAIL : D3DRS_STENCILZFAIL]),
                            glStencilOp(r[twoSided ? D3DRS_CCW_STENCILPASS : D3DRS_STENCILPASS]));
    } else {
        glDisable(GL_STENCIL_TEST);
    }
    // Culling.
    glFrontFace(GL_CCW);
    if (r[D3DRS_CULLMODE] == D3DCULL_CW || r[D3DRS_CULLMODE] == D3DCULL_CCW) {
        glEnable(GL_CULL_FACE);
        glCullFace(r[D3DRS_CULLMODE] == D3DCULL_CCW ? GL_BACK : GL_FRONT);
    } else {
        glDisable(GL_CULL_FACE);
    }
    glPolygonMode(GL_FRONT_AND_BACK, r[D3DRS_FILLMODE] == D3DFILL_WIREFRAME ? GL_LINE
                                     : r[D3DRS_FILLMODE] == D3DFILL_POINT    ? GL_POINT
                                                                             : GL_FILL);
    float slope, bias;
    std::memcpy(&slope, &r[D3DRS_SLOPESCALEDEPTHBIAS], 4);
    std::memcpy(&bias, &r[D3DRS_DEPTHBIAS], 4);
    if (slope != 0.0f || bias != 0.0f) {
        glEnable(GL_POLYGON_OFFSET_FILL);
        glPolygonOffset(slope, bias * 16777215.0f);
    } else {
        glDisable(GL_POLYGON_OFFSET_FILL);
    }
}

void Device::bindWorkTexture(GLuint texture) {
    glBindTexture(GL_TEXTURE_2D, texture);
    boundTextures_[0] = texture;
}

void Device::useProgram(GLuint program) {
    if (programKnown_ && program == currentProgram_) return;
    glUseProgram(program);
    currentProgram_ = program;
    programKnown_ = true;
}

void Device::applySamplers() {
    // Looking a texture name up costs GL a locked table search even when it is bound already:
    // only units whose texture changed are bound. The sampler objects stay bound to their units.
    GLuint active = 0;
    for (GLuint unit = 0; unit < PORT_D3D_MAX_SAMPLERS; ++unit) {
        IDirect3DBaseTexture9* texture = state_.textures[unit];
        if (!texture) continue;
        auto* t = static_cast<Texture*>(static_cast<IDirect3DTexture9*>(texture));
        if (boundTextures_[unit] != t->gl()) {
            if (active != unit) glActiveTexture(GL_TEXTURE0 + unit);
            active = unit;
            glBindTexture(GL_TEXTURE_2D, t->gl());
            boundTextures_[unit] = t->gl();
        }
        DWORD const* s = state_.sampler[unit];
        GLuint sampler = samplers_[unit];
        bool linearMag = s[D3DSAMP_MAGFILTER] >= D3DTEXF_LINEAR;
        bool linearMin = s[D3DSAMP_MINFILTER] >= D3DTEXF_LINEAR;
        GLenum minFilter = linearMin ? GL_LINEAR : GL_NEAREST;
        if (t->GetLevelCount() > 1 || (t->usage() & D3DUSAGE_AUTOGENMIPMAP)) {
            if (s[D3DSAMP_MIPFILTER] == D3DTEXF_POINT)
                minFilter = linearMin ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
            else if (s[D3DSAMP_MIPFILTER] >= D3DTEXF_LINEAR)
                minFilter = linearMin ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
        }
        SamplerParameters p;
        p.magFilter = linearMag ? GL_LINEAR : GL_NEAREST;
        p.minFilter = static_cast<GLint>(minFilter);
        p.wrapS = static_cast<GLint>(glAddress(s[D3DSAMP_ADDRESSU]));
        p.wrapT = static_cast<GLint>(glAddress(s[D3DSAMP_ADDRESSV]));
        colorOf(s[D3DSAMP_BORDERCOLOR], p.border);
        std::memcpy(&p.lodBias, &s[D3DSAMP_MIPMAPLODBIAS], 4);
        p.minLod = static_cast<float>(std::max(s[D3DSAMP_MAXMIPLEVEL], t->GetLOD()));
        // The sampler objects are the device's own: parameters go to GL only when they changed.
        if (!samplerKnown_[unit] || !(p == samplerParameters_[unit])) {
            glSamplerParameteri(sampler, GL_TEXTURE_MAG_FILTER, p.magFilter);
            glSamplerParameteri(sampler, GL_TEXTURE_MIN_FILTER, p.minFilter);
            glSamplerParameteri(sampler, GL_TEXTURE_WRAP_S, p.wrapS);
            glSamplerParameteri(sampler, GL_TEXTURE_WRAP_T, p.wrapT);
            glSamplerParameterfv(sampler, GL_TEXTURE_BORDER_COLOR, p.border);
            glSamplerParameterf(sampler, GL_TEXTURE_LOD_BIAS, p.lodBias);
            glSamplerParameterf(sampler, GL_TEXTURE_MIN_LOD, p.minLod);
            samplerParameters_[unit] = p;
            samplerKnown_[unit] = true;
        }
    }
    if (active != 0) glActiveTexture(GL_TEXTURE0);
}

bool Device::prepareDraw(DWORD fvf, GLuint vertexBuffer, size_t vertexOffset, UINT stride) {
    if (lost_ != LostState::Ok || !renderTarget_ || !makeCurrent()) return false;
    Layout layout = layoutOf(fvf);
    if (!layout.attributes[gl::kAttribPosition].enabled) return false;
    if (stride == 0) stride = layout.size;
    bindFramebuffer(depthInUse());
    applyPipelineState(layout.pretransformed);
    applySamplers();
    glBindVertexArray(vao_);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    // Specifying the attributes again, even unchanged, costs llvmpipe a flush of its vertex
    // work: only when the layout or its buffer changed.
    VertexBinding binding{fvf, vertexBuffer, vertexOffset, stride};
    if (!bindingKnown_ || !(binding == vertexBinding_)) {
        for (GLuint i = 0; i < gl::kAttribCount; ++i) {
            Attribute const& a = layout.attributes[i];
            if (a.enabled) {
                glEnableVertexAttribArray(i);
                glVertexAttribPointer(i, a.size, a.type, a.normalized, static_cast<GLsizei>(stride),
                                      reinterpret_cast<void const*>(vertexOffset + a.offset));
            } else {
                glDisableVertexAttribArray(i);
            }
        }
        glVertexAttrib4f(gl::kAttribDiffuse, 1.0f, 1.0f, 1.0f, 1.0f);  // Direct3D's default diffuse: opaque white
        if (!layout.attributes[gl::kAttribSpecular].enabled)
            glVertexAttrib4f(gl::kAttribSpecular, 0.0f, 0.0f, 0.0f, 0.0f);
        vertexBinding_ = binding;
        bindingKnown_ = true;
    }
    bool alphaTest = alphaTestInUse();
    GLuint program = programOverride_;
    if (program && !alphaTest) {
        auto variant = alphaTestVariants_.find(program);
        if (variant != alphaTestVariants_.end()) program = variant->second;
    }
    if (!program) program = builtInProgram(layout.pretransformed, fvf, alphaTest);
    if (!program) return false;
    useProgram(program);
    setProgramUniforms(program, layout.pretransformed);
    if (writesStencil()) ++stencilChanges_;
    return true;
}

bool Device::writesStencil() const {
    auto const& r = state_.render;
    if (!depthStencil_ || !r[D3DRS_STENCILENABLE] || (r[D3DRS_STENCILWRITEMASK] & 0xFF) == 0) return false;
    auto changes = [&r](D3DRENDERSTATETYPE fail, D3DRENDERSTATETYPE zfail, D3DRENDERSTATETYPE pass) {
        return r[fail] != D3DSTENCILOP_KEEP || r[zfail] != D3DSTENCILOP_KEEP || r[pass] != D3DSTENCILOP_KEEP;
    };
    return changes(D3DRS_STENCILFAIL, D3DRS_STENCILZFAIL, D3DRS_STENCILPASS) ||
           (r[D3DRS_TWOSIDEDSTENCILMODE] && changes(D3DRS_CCW_STENCILFAIL, D3DRS_CCW_STENCILZFAIL, D3DRS_CCW_STENCILPASS));
}

HRESULT Device::DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) {
    GLsizei count = vertexCount(type, primitiveCount);
    if (count == 0 || !state_.stream) return D3DERR_INVALIDCALL;
    if (!prepareDraw(state_.fvf, state_.stream->gl(), state_.streamOffset, state_.streamStride)) return D3D_OK;
    glDrawArrays(glMode(type), static_cast<GLint>(startVertex), count);
    return D3D_OK;
}

HRESULT Device::DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT baseVertexIndex, UINT, UINT, UINT startIndex,
                                     UINT primitiveCount) {
    GLsizei count = vertexCount(type, primitiveCount);
    if (count == 0 || !state_.stream || !state_.indices) return D3DERR_INVALIDCALL;
    bool wide = state_.indices->format() == D3DFMT_INDEX32;
    size_t indexBytes = wide ? 4 : 2;
    if ((static_cast<size_t>(startIndex) + static_cast<size_t>(count)) * indexBytes > state_.indices->size())
        return D3DERR_INVALIDCALL;
    if (!prepareDraw(state_.fvf, state_.stream->gl(), state_.streamOffset, state_.streamStride)) return D3D_OK;
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, state_.indices->gl());
    glDrawElementsBaseVertex(glMode(type), count, wide ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT,
                             reinterpret_cast<void const*>(startIndex * indexBytes), baseVertexIndex);
    return D3D_OK;
}

HRESULT Device::DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount, const void* vertexData, UINT stride) {
    GLsizei count = vertexCount(type, primitiveCount);
    if (count == 0 || !vertexData || stride == 0) return D3DERR_INVALIDCALL;
    SetStreamSource(0, nullptr, 0, 0);  // Direct3D unsets stream 0 after an UP draw
    if (!makeCurrent()) return D3D_OK;
    glBindBuffer(GL_ARRAY_BUFFER, streamVbo_);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(count) * stride, vertexData, GL_STREAM_DRAW);
    if (!prepareDraw(state_.fvf, streamVbo_, 0, stride)) return D3D_OK;
    glDrawArrays(glMode(type), 0, count);
    return D3D_OK;
}

HRESULT Device::DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE type, UINT minVertexIndex, UINT numVertices,
                                       UINT primitiveCount, const void* indexData, D3DFORMAT indexFormat,
                                       const void* vertexData, UINT stride) {
    GLsizei count = vertexCount(type, primitiveCount);
    if (count == 0 || !indexData || !vertexData || stride == 0 ||
        (indexFormat != D3DFMT_INDEX16 && indexFormat != D3DFMT_INDEX32))
        return D3DERR_INVALIDCALL;
    SetStreamSource(0, nullptr, 0, 0);
    SetIndices(nullptr);
    if (!makeCurrent()) return D3D_OK;
    size_t indexBytes = indexFormat == D3DFMT_INDEX32 ? 4 : 2;
    glBindBuffer(GL_ARRAY_BUFFER, streamVbo_);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(minVertexIndex + numVertices) * stride, vertexData,
                 GL_STREAM_DRAW);
    if (!prepareDraw(state_.fvf, streamVbo_, 0, stride)) return D3D_OK;
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, streamIbo_);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(count * indexBytes), indexData, GL_STREAM_DRAW);
    glDrawElements(glMode(type), count, indexBytes == 4 ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT, nullptr);
    return D3D_OK;
}

}  // namespace port::d3d9
