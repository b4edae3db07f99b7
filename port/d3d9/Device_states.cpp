// Device state: render, texture stage and sampler states, transforms, viewport, scissor
// rectangle, textures, streams and state blocks. States are only recorded here; the draw code
// turns them into GL state at each draw.
#include "port/d3d9/Internal.h"

#include <cstring>

namespace port::d3d9 {
namespace {

DWORD floatBits(float f) {
    DWORD d;
    std::memcpy(&d, &f, 4);
    return d;
}

D3DMATRIX identity() {
    D3DMATRIX m{};
    m._11 = m._22 = m._33 = m._44 = 1.0f;
    return m;
}

// Render states of the pixel pipeline (D3DSBT_PIXELSTATE), as Direct3D 9 groups them.
constexpr DWORD kPixelStates[] = {
    D3DRS_ZENABLE, D3DRS_FILLMODE, D3DRS_SHADEMODE, D3DRS_ZWRITEENABLE, D3DRS_ALPHATESTENABLE, D3DRS_LASTPIXEL,
    D3DRS_SRCBLEND, D3DRS_DESTBLEND, D3DRS_ZFUNC, D3DRS_ALPHAREF, D3DRS_ALPHAFUNC, D3DRS_DITHERENABLE,
    D3DRS_ALPHABLENDENABLE, D3DRS_FOGSTART, D3DRS_FOGEND, D3DRS_FOGDENSITY, D3DRS_STENCILENABLE, D3DRS_STENCILFAIL,
    D3DRS_STENCILZFAIL, D3DRS_STENCILPASS, D3DRS_STENCILFUNC, D3DRS_STENCILREF, D3DRS_STENCILMASK,
    D3DRS_STENCILWRITEMASK, D3DRS_TEXTUREFACTOR, D3DRS_WRAP0, D3DRS_WRAP1, D3DRS_WRAP2, D3DRS_WRAP3, D3DRS_WRAP4,
    D3DRS_WRAP5, D3DRS_WRAP6, D3DRS_WRAP7, D3DRS_COLORWRITEENABLE, D3DRS_BLENDOP, D3DRS_SCISSORTESTENABLE,
    D3DRS_SLOPESCALEDEPTHBIAS, D3DRS_ANTIALIASEDLINEENABLE, D3DRS_TWOSIDEDSTENCILMODE, D3DRS_CCW_STENCILFAIL,
    D3DRS_CCW_STENCILZFAIL, D3DRS_CCW_STENCILPASS, D3DRS_CCW_STENCILFUNC, D3DRS_COLORWRITEENABLE1,
    D3DRS_COLORWRITEENABLE2, D3DRS_COLORWRITEENABLE3, D3DRS_BLENDFACTOR, D3DRS_SRGBWRITEENABLE, D3DRS_DEPTHBIAS,
    D3DRS_WRAP8, D3DRS_WRAP9, D3DRS_WRAP10, D3DRS_WRAP11, D3DRS_WRAP12, D3DRS_WRAP13, D3DRS_WRAP14, D3DRS_WRAP15,
    D3DRS_SEPARATEALPHABLENDENABLE, D3DRS_SRCBLENDALPHA, D3DRS_DESTBLENDALPHA, D3DRS_BLENDOPALPHA};

// Render states of the vertex pipeline (D3DSBT_VERTEXSTATE).
constexpr DWORD kVertexStates[] = {
    D3DRS_CULLMODE, D3DRS_FOGENABLE, D3DRS_FOGCOLOR, D3DRS_FOGTABLEMODE, D3DRS_FOGSTART, D3DRS_FOGEND,
    D3DRS_FOGDENSITY, D3DRS_RANGEFOGENABLE, D3DRS_AMBIENT, D3DRS_COLORVERTEX, D3DRS_FOGVERTEXMODE, D3DRS_CLIPPING,
    D3DRS_LIGHTING, D3DRS_NORMALIZENORMALS, D3DRS_LOCALVIEWER, D3DRS_EMISSIVEMATERIALSOURCE,
    D3DRS_AMBIENTMATERIALSOURCE, D3DRS_DIFFUSEMATERIALSOURCE, D3DRS_SPECULARMATERIALSOURCE, D3DRS_VERTEXBLEND,
    D3DRS_CLIPPLANEENABLE, D3DRS_POINTSIZE, D3DRS_POINTSIZE_MIN, D3DRS_POINTSPRITEENABLE, D3DRS_POINTSCALEENABLE,
    D3DRS_POINTSCALE_A, D3DRS_POINTSCALE_B, D3DRS_POINTSCALE_C, D3DRS_MULTISAMPLEANTIALIAS, D3DRS_MULTISAMPLEMASK,
    D3DRS_PATCHEDGESTYLE, D3DRS_POINTSIZE_MAX, D3DRS_INDEXEDVERTEXBLENDENABLE, D3DRS_TWEENFACTOR,
    D3DRS_POSITIONDEGREE, D3DRS_NORMALDEGREE, D3DRS_MINTESSELLATIONLEVEL, D3DRS_MAXTESSELLATIONLEVEL,
    D3DRS_ADAPTIVETESS_X, D3DRS_ADAPTIVETESS_Y, D3DRS_ADAPTIVETESS_Z, D3DRS_ADAPTIVETESS_W,
    D3DRS_ENABLEADAPTIVETESSELLATION};

bool inList(DWORD state, DWORD const* list, size_t count) {
    for (size_t i = 0; i < count; ++i)
        if (list[i] == state) return true;
    return false;
}

bool isVertexStageState(DWORD type) { return type == D3DTSS_TEXCOORDINDEX || type == D3DTSS_TEXTURETRANSFORMFLAGS; }

template <class T>
void setRef(T*& slot, T* value) {
    if (value) value->AddRef();
    if (slot) slot->Release();
    slot = value;
}

}  // namespace

bool isPixelRenderState(DWORD state) { return inList(state, kPixelStates, std::size(kPixelStates)); }
bool isVertexRenderState(DWORD state) { return inList(state, kVertexStates, std::size(kVertexStates)); }

int transformSlot(D3DTRANSFORMSTATETYPE state) {
    DWORD s = static_cast<DWORD>(state);
    if (s == D3DTS_VIEW) return 0;
    if (s == D3DTS_PROJECTION) return 1;
    if (s >= D3DTS_TEXTURE0 && s <= D3DTS_TEXTURE7) return 2 + static_cast<int>(s - D3DTS_TEXTURE0);
    if (s >= 256 && s < 260) return 10 + static_cast<int>(s - 256);
    return -1;
}

void assignObjects(StateSet& target, StateSet const& source) {
    for (int i = 0; i < PORT_D3D_MAX_SAMPLERS; ++i) setRef(target.textures[i], source.textures[i]);
    setRef(target.stream, source.stream);
    setRef(target.indices, source.indices);
}

void releaseObjects(StateSet& set) {
    for (auto& texture : set.textures) setRef(texture, static_cast<IDirect3DBaseTexture9*>(nullptr));
    setRef(set.stream, static_cast<VertexBuffer*>(nullptr));
    setRef(set.indices, static_cast<IndexBuffer*>(nullptr));
}

void Device::setDefaultStates() {
    pipelineDirty_ = true;
    releaseObjects(state_);
    StateSet& s = state_;
    std::memset(s.render, 0, sizeof(s.render));
    DWORD* r = s.render;
    r[D3DRS_ZENABLE] = params_.EnableAutoDepthStencil ? D3DZB_TRUE : D3DZB_FALSE;
    r[D3DRS_FILLMODE] = D3DFILL_SOLID;
    r[D3DRS_SHADEMODE] = D3DSHADE_GOURAUD;
    r[D3DRS_ZWRITEENABLE] = TRUE;
    r[D3DRS_LASTPIXEL] = TRUE;
    r[D3DRS_SRCBLEND] = D3DBLEND_ONE;
    r[D3DRS_DESTBLEND] = D3DBLEND_ZERO;
    r[D3DRS_CULLMODE] = D3DCULL_CCW;
    r[D3DRS_ZFUNC] = D3DCMP_LESSEQUAL;
    r[D3DRS_ALPHAFUNC] = D3DCMP_ALWAYS;
    r[D3DRS_FOGEND] = floatBits(1.0f);
    r[D3DRS_FOGDENSITY] = floatBits(1.0f);
    r[D3DRS_STENCILFAIL] = r[D3DRS_STENCILZFAIL] = r[D3DRS_STENCILPASS] = D3DSTENCILOP_KEEP;
    r[D3DRS_STENCILFUNC] = D3DCMP_ALWAYS;
    r[D3DRS_STENCILMASK] = r[D3DRS_STENCILWRITEMASK] = 0xFFFFFFFF;
    r[D3DRS_TEXTUREFACTOR] = 0xFFFFFFFF;
    r[D3DRS_CLIPPING] = TRUE;
    r[D3DRS_LIGHTING] = TRUE;
    r[D3DRS_COLORVERTEX] = TRUE;
    r[D3DRS_LOCALVIEWER] = TRUE;
    r[D3DRS_DIFFUSEMATERIALSOURCE] = D3DMCS_COLOR1;
    r[D3DRS_SPECULARMATERIALSOURCE] = D3DMCS_COLOR2;
    r[D3DRS_POINTSIZE] = r[D3DRS_POINTSIZE_MIN] = r[D3DRS_POINTSCALE_A] = floatBits(1.0f);
    r[D3DRS_POINTSIZE_MAX] = floatBits(64.0f);
    r[D3DRS_MULTISAMPLEANTIALIAS] = TRUE;
    r[D3DRS_MULTISAMPLEMASK] = 0xFFFFFFFF;
    r[D3DRS_COLORWRITEENABLE] = r[D3DRS_COLORWRITEENABLE1] = r[D3DRS_COLORWRITEENABLE2] =
        r[D3DRS_COLORWRITEENABLE3] = 0xF;
    r[D3DRS_BLENDOP] = r[D3DRS_BLENDOPALPHA] = D3DBLENDOP_ADD;
    r[D3DRS_POSITIONDEGREE] = 3;  // cubic
    r[D3DRS_NORMALDEGREE] = 1;    // linear
    r[D3DRS_MINTESSELLATIONLEVEL] = r[D3DRS_MAXTESSELLATIONLEVEL] = r[D3DRS_ADAPTIVETESS_Z] = floatBits(1.0f);
    r[D3DRS_CCW_STENCILFAIL] = r[D3DRS_CCW_STENCILZFAIL] = r[D3DRS_CCW_STENCILPASS] = D3DSTENCILOP_KEEP;
    r[D3DRS_CCW_STENCILFUNC] = D3DCMP_ALWAYS;
    r[D3DRS_BLENDFACTOR] = 0xFFFFFFFF;
    r[D3DRS_SRCBLENDALPHA] = D3DBLEND_ONE;
    r[D3DRS_DESTBLENDALPHA] = D3DBLEND_ZERO;
    r[D3DRS_DEBUGMONITORTOKEN] = 0xbaadcafe;
    for (int i = 0; i < PORT_D3D_MAX_STAGES; ++i) {
        DWORD* t = s.stage[i];
        std::memset(t, 0, sizeof(s.stage[i]));
        t[D3DTSS_COLOROP] = i == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
        t[D3DTSS_ALPHAOP] = i == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
        t[D3DTSS_COLORARG1] = t[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
        t[D3DTSS_COLORARG2] = t[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
        t[D3DTSS_COLORARG0] = t[D3DTSS_ALPHAARG0] = t[D3DTSS_RESULTARG] = D3DTA_CURRENT;
        t[D3DTSS_TEXCOORDINDEX] = static_cast<DWORD>(i);
    }
    for (auto& sampler : s.sampler) {
        std::memset(sampler, 0, sizeof(sampler));
        sampler[D3DSAMP_ADDRESSU] = sampler[D3DSAMP_ADDRESSV] = sampler[D3DSAMP_ADDRESSW] = D3DTADDRESS_WRAP;
        sampler[D3DSAMP_MAGFILTER] = sampler[D3DSAMP_MINFILTER] = D3DTEXF_POINT;
        sampler[D3DSAMP_MIPFILTER] = D3DTEXF_NONE;
        sampler[D3DSAMP_MAXANISOTROPY] = 1;
    }
    for (auto& m : s.transforms) m = identity();
    s.viewport = D3DVIEWPORT9{0, 0, backBuffer_ ? backBuffer_->width() : 0, backBuffer_ ? backBuffer_->height() : 0,
                              0.0f, 1.0f};
    s.scissor = RECT{0, 0, static_cast<LONG>(s.viewport.Width), static_cast<LONG>(s.viewport.Height)};
    s.fvf = 0;
    s.streamOffset = s.streamStride = 0;
}

HRESULT Device::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) {
    int slot = transformSlot(state);
    if (slot < 0 || !matrix) return D3DERR_INVALIDCALL;
    state_.transforms[slot] = *matrix;
    return D3D_OK;
}

HRESULT Device::GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) {
    int slot = transformSlot(state);
    if (slot < 0 || !matrix) return D3DERR_INVALIDCALL;
    *matrix = state_.transforms[slot];
    return D3D_OK;
}

HRESULT Device::MultiplyTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) {
    int slot = transformSlot(state);
    if (slot < 0 || !matrix) return D3DERR_INVALIDCALL;
    D3DMATRIX a = state_.transforms[slot];  // result = matrix * current, as Direct3D does
    D3DMATRIX out{};
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) sum += matrix->m[i][k] * a.m[k][j];
            out.m[i][j] = sum;
        }
    state_.transforms[slot] = out;
    return D3D_OK;
}

HRESULT Device::SetViewport(const D3DVIEWPORT9* viewport) {
    if (!viewport || !renderTarget_) return D3DERR_INVALIDCALL;
    if (viewport->X + viewport->Width > renderTarget_->width() || viewport->Y + viewport->Height > renderTarget_->height() ||
        viewport->Width == 0 || viewport->Height == 0)
        return D3DERR_INVALIDCALL;
    // Unchanged values leave the GL pipeline state as it is (effect passes set their states at
    // every draw).
    if (std::memcmp(&state_.viewport, viewport, sizeof(D3DVIEWPORT9)) == 0) return D3D_OK;
    state_.viewport = *viewport;
    pipelineDirty_ = true;
    return D3D_OK;
}

HRESULT Device::GetViewport(D3DVIEWPORT9* viewport) {
    if (!viewport) return D3DERR_INVALIDCALL;
    *viewport = state_.viewport;
    return D3D_OK;
}

HRESULT Device::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
    if (static_cast<DWORD>(state) >= D3DRS_MAX_STATE) return D3DERR_INVALIDCALL;
    if (state_.render[state] == value) return D3D_OK;
    state_.render[state] = value;
    pipelineDirty_ = true;
    return D3D_OK;
}

HRESULT Device::GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) {
    if (static_cast<DWORD>(state) >= D3DRS_MAX_STATE || !value) return D3DERR_INVALIDCALL;
    *value = state_.render[state];
    return D3D_OK;
}

HRESULT Device::GetTexture(DWORD stage, IDirect3DBaseTexture9** texture) {
    if (stage >= PORT_D3D_MAX_SAMPLERS || !texture) return D3DERR_INVALIDCALL;
    *texture = state_.textures[stage];
    if (*texture) (*texture)->AddRef();
    return D3D_OK;
}

HRESULT Device::SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) {
    if (stage >= PORT_D3D_MAX_SAMPLERS) return D3DERR_INVALIDCALL;
    if (state_.textures[stage] != texture) setRef(state_.textures[stage], texture);
    return D3D_OK;
}

HRESULT Device::GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) {
    if (stage >= PORT_D3D_MAX_STAGES || static_cast<DWORD>(type) >= D3DTSS_MAX_STATE || !value)
        return D3DERR_INVALIDCALL;
    *value = state_.stage[stage][type];
    return D3D_OK;
}

HRESULT Device::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) {
    if (stage >= PORT_D3D_MAX_STAGES || static_cast<DWORD>(type) >= D3DTSS_MAX_STATE) return D3DERR_INVALIDCALL;
    state_.stage[stage][type] = value;
    return D3D_OK;
}

HRESULT Device::GetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD* value) {
    if (sampler >= PORT_D3D_MAX_SAMPLERS || static_cast<DWORD>(type) >= D3DSAMP_MAX_STATE || !value)
        return D3DERR_INVALIDCALL;
    *value = state_.sampler[sampler][type];
    return D3D_OK;
}

HRESULT Device::SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) {
    if (sampler >= PORT_D3D_MAX_SAMPLERS || static_cast<DWORD>(type) >= D3DSAMP_MAX_STATE) return D3DERR_INVALIDCALL;
    state_.sampler[sampler][type] = value;
    return D3D_OK;
}

HRESULT Device::ValidateDevice(DWORD* passes) {
    if (passes) *passes = 1;
    return D3D_OK;
}

HRESULT Device::SetScissorRect(const RECT* rect) {
    if (!rect) return D3DERR_INVALIDCALL;
    if (std::memcmp(&state_.scissor, rect, sizeof(RECT)) == 0) return D3D_OK;
    state_.scissor = *rect;
    pipelineDirty_ = true;
    return D3D_OK;
}

HRESULT Device::GetScissorRect(RECT* rect) {
    if (!rect) return D3DERR_INVALIDCALL;
    *rect = state_.scissor;
    return D3D_OK;
}

HRESULT Device::SetFVF(DWORD fvf) {
    state_.fvf = fvf;
    return D3D_OK;
}

HRESULT Device::GetFVF(DWORD* fvf) {
    if (!fvf) return D3DERR_INVALIDCALL;
    *fvf = state_.fvf;
    return D3D_OK;
}

HRESULT Device::SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offset, UINT stride) {
    if (stream != 0) return stream < 16 ? D3D_OK : D3DERR_INVALIDCALL;  // only stream 0 feeds FVF draws
    setRef(state_.stream, static_cast<VertexBuffer*>(buffer));
    state_.streamOffset = offset;
    state_.streamStride = stride;
    return D3D_OK;
}

HRESULT Device::GetStreamSource(UINT stream, IDirect3DVertexBuffer9** buffer, UINT* offset, UINT* stride) {
    if (!buffer || !offset || !stride) return D3DERR_INVALIDCALL;
    if (stream != 0) {
        *buffer = nullptr;
        *offset = *stride = 0;
        return D3D_OK;
    }
    *buffer = state_.stream;
    if (*buffer) (*buffer)->AddRef();
    *offset = state_.streamOffset;
    *stride = state_.streamStride;
    return D3D_OK;
}

HRESULT Device::SetIndices(IDirect3DIndexBuffer9* indices) {
    setRef(state_.indices, static_cast<IndexBuffer*>(indices));
    return D3D_OK;
}

HRESULT Device::GetIndices(IDirect3DIndexBuffer9** indices) {
    if (!indices) return D3DERR_INVALIDCALL;
    *indices = state_.indices;
    if (*indices) (*indices)->AddRef();
    return D3D_OK;
}

HRESULT Device::CreateStateBlock(D3DSTATEBLOCKTYPE type, IDirect3DStateBlock9** block) {
    if (!block || type < D3DSBT_ALL || type > D3DSBT_VERTEXSTATE) return D3DERR_INVALIDCALL;
    auto* b = new StateBlock(this, type);
    b->Capture();
    *block = b;
    return D3D_OK;
}

// --- State blocks --------------------------------------------------------------------------

StateBlock::StateBlock(Device* device, D3DSTATEBLOCKTYPE type) : ResourceBase(device, true), type_(type) {}

StateBlock::~StateBlock() { releaseObjects(saved_); }

HRESULT StateBlock::Capture() {
    if (!device_) return D3DERR_INVALIDCALL;
    StateSet const& now = device_->state();
    if (type_ == D3DSBT_ALL) {
        std::memcpy(saved_.render, now.render, sizeof(now.render));
        std::memcpy(saved_.stage, now.stage, sizeof(now.stage));
        std::memcpy(saved_.sampler, now.sampler, sizeof(now.sampler));
        std::memcpy(saved_.transforms, now.transforms, sizeof(now.transforms));
        saved_.viewport = now.viewport;
        saved_.scissor = now.scissor;
        saved_.fvf = now.fvf;
        saved_.streamOffset = now.streamOffset;
        saved_.streamStride = now.streamStride;
        assignObjects(saved_, now);
        return D3D_OK;
    }
    bool pixel = type_ == D3DSBT_PIXELSTATE;
    for (DWORD s = 0; s < D3DRS_MAX_STATE; ++s)
        if (pixel ? isPixelRenderState(s) : isVertexRenderState(s)) saved_.render[s] = now.render[s];
    for (int i = 0; i < PORT_D3D_MAX_STAGES; ++i)
        for (DWORD t = 0; t < D3DTSS_MAX_STATE; ++t)
            if (isVertexStageState(t) != pixel) saved_.stage[i][t] = now.stage[i][t];
    if (pixel) std::memcpy(saved_.sampler, now.sampler, sizeof(now.sampler));
    return D3D_OK;
}

HRESULT StateBlock::Apply() {
    if (!device_) return D3DERR_INVALIDCALL;
    Device& d = *device_;
    bool all = type_ == D3DSBT_ALL;
    bool pixel = type_ == D3DSBT_PIXELSTATE;
    for (DWORD s = 1; s < D3DRS_MAX_STATE; ++s)
        if (all || (pixel ? isPixelRenderState(s) : isVertexRenderState(s)))
            d.SetRenderState(static_cast<D3DRENDERSTATETYPE>(s), saved_.render[s]);
    for (DWORD i = 0; i < PORT_D3D_MAX_STAGES; ++i)
        for (DWORD t = 1; t < D3DTSS_MAX_STATE; ++t)
            if (all || isVertexStageState(t) != pixel)
                d.SetTextureStageState(i, static_cast<D3DTEXTURESTAGESTATETYPE>(t), saved_.stage[i][t]);
    if (all || pixel)
        for (DWORD i = 0; i < PORT_D3D_MAX_SAMPLERS; ++i)
            for (DWORD t = 1; t < D3DSAMP_MAX_STATE; ++t)
                d.SetSamplerState(i, static_cast<D3DSAMPLERSTATETYPE>(t), saved_.sampler[i][t]);
    if (!all) return D3D_OK;
    std::memcpy(d.state().transforms, saved_.transforms, sizeof(saved_.transforms));
    D3DVIEWPORT9 viewport = saved_.viewport;
    if (FAILED(d.SetViewport(&viewport))) d.state().viewport = viewport;
    d.state().scissor = saved_.scissor;
    d.state().fvf = saved_.fvf;
    for (DWORD i = 0; i < PORT_D3D_MAX_SAMPLERS; ++i) d.SetTexture(i, saved_.textures[i]);
    d.SetStreamSource(0, saved_.stream, saved_.streamOffset, saved_.streamStride);
    d.SetIndices(saved_.indices);
    return D3D_OK;
}

}  // namespace port::d3d9
