// Texture2D pixel access on a locked texture: reads and writes in the supported formats,
// sampling (nearest, bilinear, Catmull-Rom), and the opaque-pixel list with random picks.
#include "engine/render/Texture2D.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/core/Utils.h"
#include "engine/render/TextureFormat.h"
#include "port/crt/crt.h"

namespace Orvex {

namespace {

template <class T>
T load(u8 const* p, u32 index = 0) {
    T v;
    std::memcpy(&v, p + index * sizeof(T), sizeof(T));
    return v;
}

template <class T>
void store(u8* p, T v, u32 index = 0) {
    std::memcpy(p + index * sizeof(T), &v, sizeof(T));
}

// trunc(clamp(c, 0, 1) * maximum).
u32 quantise(float c, u32 maximum) {
    float const clamped = std::min(std::max(c, 0.0f), 1.0f);  // NaN becomes 0
    return static_cast<u32>(clamped * static_cast<float>(maximum));
}

float unit(u32 v, float maximum) { return static_cast<float>(v) / maximum; }

bool decode(D3DFORMAT format, u8 const* p, D3DXCOLOR& out) {
    switch (format) {
    case D3DFMT_R8G8B8:
        out = D3DXCOLOR(unit(p[2], 255.0f), unit(p[1], 255.0f), unit(p[0], 255.0f), 1.0f);
        return true;
    case D3DFMT_A8R8G8B8:
    case D3DFMT_X8R8G8B8: {
        u32 const v = load<u32>(p);
        out = D3DXCOLOR(((v >> 16) & 0xFF) * (1.0f / 255.0f), ((v >> 8) & 0xFF) * (1.0f / 255.0f),
                        (v & 0xFF) * (1.0f / 255.0f), format == D3DFMT_X8R8G8B8 ? 1.0f : (v >> 24) * (1.0f / 255.0f));
        return true;
    }
    case D3DFMT_R5G6B5: {
        u16 const v = load<u16>(p);
        out = D3DXCOLOR(unit((v >> 11) & 31, 31.0f), unit((v >> 5) & 63, 63.0f), unit(v & 31, 31.0f), 1.0f);
        return true;
    }
    case D3DFMT_X1R5G5B5: {
        u16 const v = load<u16>(p);
        out = D3DXCOLOR(unit((v >> 10) & 31, 31.0f), unit((v >> 5) & 31, 31.0f), unit(v & 31, 31.0f), 1.0f);
        return true;
    }
    case D3DFMT_A4R4G4B4:
    case D3DFMT_X4R4G4B4: {
        u8 const high = p[1];
        u8 const low = p[0];
        out = D3DXCOLOR(unit(high & 15, 15.0f), unit(low >> 4, 15.0f), unit(low & 15, 15.0f),
                        format == D3DFMT_X4R4G4B4 ? 1.0f : unit(high >> 4, 15.0f));
        return true;
    }
    case D3DFMT_G16R16:
        out = D3DXCOLOR(unit(load<u16>(p, 0), 65535.0f), unit(load<u16>(p, 1), 65535.0f), 0.0f, 1.0f);
        return true;
    case D3DFMT_A16B16G16R16:
        out = D3DXCOLOR(unit(load<u16>(p, 0), 65535.0f), unit(load<u16>(p, 1), 65535.0f),
                        unit(load<u16>(p, 2), 65535.0f), unit(load<u16>(p, 3), 65535.0f));
        return true;
    case D3DFMT_A8L8: {
        float const l = unit(p[0], 255.0f);
        out = D3DXCOLOR(l, l, l, unit(p[1], 255.0f));
        return true;
    }
    case D3DFMT_V16U16:
        out = D3DXCOLOR(unit(load<u16>(p, 0), 65535.0f) + 0.5f, unit(load<u16>(p, 1), 65535.0f) + 0.5f, 0.0f, 1.0f);
        return true;
    case D3DFMT_L16: {
        float const v = unit(load<u16>(p), 65535.0f);
        out = D3DXCOLOR(v, v, v, v);
        return true;
    }
    case D3DFMT_R16F: {
        float const v = halfToFloat(load<u16>(p));
        out = D3DXCOLOR(v, v, v, v);
        return true;
    }
    case D3DFMT_G16R16F:
        out = D3DXCOLOR(halfToFloat(load<u16>(p, 0)), halfToFloat(load<u16>(p, 1)), 0.0f, 1.0f);
        return true;
    case D3DFMT_A16B16G16R16F:
        out = D3DXCOLOR(halfToFloat(load<u16>(p, 0)), halfToFloat(load<u16>(p, 1)), halfToFloat(load<u16>(p, 2)),
                        halfToFloat(load<u16>(p, 3)));
        return true;
    case D3DFMT_R32F: {
        float const v = load<float>(p);
        out = D3DXCOLOR(v, v, v, v);
        return true;
    }
    case D3DFMT_A32B32G32R32F:
        out = D3DXCOLOR(load<float>(p, 0), load<float>(p, 1), load<float>(p, 2), load<float>(p, 3));
        return true;
    default:
        return false;
    }
}

bool encode(D3DFORMAT format, u8* p, D3DXCOLOR const& c) {
    switch (format) {
    case D3DFMT_R8G8B8:
        p[0] = static_cast<u8>(quantise(c.b, 255));
        p[1] = static_cast<u8>(quantise(c.g, 255));
        p[2] = static_cast<u8>(quantise(c.r, 255));
        return true;
    case D3DFMT_A8R8G8B8:
    case D3DFMT_X8R8G8B8:
        store<u32>(p, (quantise(c.a, 255) << 24) | (quantise(c.r, 255) << 16) | (quantise(c.g, 255) << 8) |
                          quantise(c.b, 255));
        return true;
    case D3DFMT_R5G6B5:
        store<u16>(p, static_cast<u16>((quantise(c.r, 31) << 11) | (quantise(c.g, 63) << 5) | quantise(c.b, 31)));
        return true;
    case D3DFMT_X1R5G5B5:
        store<u16>(p, static_cast<u16>((quantise(c.r, 31) << 10) | (quantise(c.g, 31) << 5) | quantise(c.b, 31)));
        return true;
    case D3DFMT_A4R4G4B4:
    case D3DFMT_X4R4G4B4:
        p[1] = static_cast<u8>((quantise(c.a, 15) << 4) | quantise(c.r, 15));
        p[0] = static_cast<u8>((quantise(c.g, 15) << 4) | quantise(c.b, 15));
        return true;
    case D3DFMT_G16R16:
        store<u16>(p, static_cast<u16>(quantise(c.r, 65535)), 0);
        store<u16>(p, static_cast<u16>(quantise(c.g, 65535)), 1);
        return true;
    case D3DFMT_A16B16G16R16:
        store<u16>(p, static_cast<u16>(quantise(c.r, 65535)), 0);
        store<u16>(p, static_cast<u16>(quantise(c.g, 65535)), 1);
        store<u16>(p, static_cast<u16>(quantise(c.b, 65535)), 2);
        store<u16>(p, static_cast<u16>(quantise(c.a, 65535)), 3);
        return true;
    case D3DFMT_A8L8:
        p[0] = static_cast<u8>(quantise(c.r, 255));
        p[1] = static_cast<u8>(quantise(c.a, 255));
        return true;
    case D3DFMT_V16U16: {
        // Unclamped, as the format stores signed offsets around 0.5; out-of-range values wrap.
        auto word = [](float v) {
            double const w = std::trunc((static_cast<double>(v) - 0.5) * 65535.0);
            return std::isfinite(w) ? static_cast<u16>(static_cast<s64>(std::fmod(w, 65536.0))) : u16{0};
        };
        store<u16>(p, word(c.r), 0);
        store<u16>(p, word(c.g), 1);
        return true;
    }
    case D3DFMT_L16:
        store<u16>(p, static_cast<u16>(quantise(c.r, 65535)));
        return true;
    case D3DFMT_R16F:
        store<u16>(p, floatToHalf(c.r));
        return true;
    case D3DFMT_G16R16F:
        store<u16>(p, floatToHalf(c.r), 0);
        store<u16>(p, floatToHalf(c.g), 1);
        return true;
    case D3DFMT_A16B16G16R16F:
        store<u16>(p, floatToHalf(c.r), 0);
        store<u16>(p, floatToHalf(c.g), 1);
        store<u16>(p, floatToHalf(c.b), 2);
        store<u16>(p, floatToHalf(c.a), 3);
        return true;
    case D3DFMT_R32F:
        store<float>(p, c.r);
        return true;
    case D3DFMT_A32B32G32R32F:
        store<float>(p, c.r, 0);
        store<float>(p, c.g, 1);
        store<float>(p, c.b, 2);
        store<float>(p, c.a, 3);
        return true;
    default:
        return false;
    }
}

D3DXVECTOR4 toVector(D3DXCOLOR const& c) { return D3DXVECTOR4(c.r, c.g, c.b, c.a); }

// A sample position on one axis: the texel index (0..size-1) and its fraction. Values outside
// the texture and NaN are held at the edges.
void axisPosition(float uv, u32 size, s32& index, float& fraction) {
    float f = static_cast<float>(size) * uv;
    if (!(f >= 0.0f)) f = 0.0f;
    if (f > static_cast<float>(size)) f = static_cast<float>(size);
    index = std::min(static_cast<s32>(f), static_cast<s32>(size) - 1);
    fraction = std::fmod(f, 1.0f);
}

}  // namespace

u8* Texture2D::lockedPixel(u32 x, u32 y, u32& pixelSize) const {
    if (!created_ || !locked_ || x >= lockedWidth_ || y >= lockedHeight_ || !lockedRect_.pBits) return nullptr;
    pixelSize = formatPixelSize(lockedFormat_);
    if (pixelSize == 0) return nullptr;
    return static_cast<u8*>(lockedRect_.pBits) + static_cast<std::size_t>(lockedRect_.Pitch) * y +
           static_cast<std::size_t>(x) * pixelSize;
}

bool Texture2D::getPixel(D3DXCOLOR& out, u32 const& x, u32 const& y) {
    u32 size = 0;
    u8 const* p = lockedPixel(x, y, size);
    return p && decode(lockedFormat_, p, out);
}

bool Texture2D::setPixel(D3DXCOLOR const& color, u32 const& x, u32 const& y) {
    if (!created_ || !locked_ || x >= lockedWidth_ || y >= lockedHeight_) return false;
    // The pixels now differ from the recipe's.
    canSuspend_ = 0;
    u32 size = 0;
    u8* p = lockedPixel(x, y, size);
    return p && encode(lockedFormat_, p, color);
}

bool Texture2D::readPixel(D3DXCOLOR& out, u32 const& x, u32 const& y) {
    if (!created_ || locked_ || suspended_ || !texture_) return false;
    D3DSURFACE_DESC desc{};
    if (FAILED(texture_->GetLevelDesc(0, &desc)) || x >= desc.Width || y >= desc.Height) return false;
    RECT const one{static_cast<LONG>(x), static_cast<LONG>(y), static_cast<LONG>(x + 1), static_cast<LONG>(y + 1)};
    D3DLOCKED_RECT locked{};
    if (!lockRect(0, locked, one, D3DLOCK_READONLY)) return false;
    bool const ok = getPixel(out, 0, 0);
    unlockRect(0);
    return ok;
}

bool Texture2D::sampleColor(D3DXCOLOR& out, D3DXVECTOR2 const& uv, u32 const& mode) {
    if (!created_ || !locked_ || lockedWidth_ == 0 || lockedHeight_ == 0) return false;
    u32 const w = lockedWidth_;
    u32 const h = lockedHeight_;
    s32 x = 0, y = 0;
    float tx = 0.0f, ty = 0.0f;
    axisPosition(uv.x, w, x, tx);
    axisPosition(uv.y, h, y, ty);
    auto pixel = [&](s32 px, s32 py) {
        D3DXCOLOR c(0.0f, 0.0f, 0.0f, 0.0f);
        getPixel(c, static_cast<u32>(std::clamp(px, 0, static_cast<s32>(w) - 1)),
                 static_cast<u32>(std::clamp(py, 0, static_cast<s32>(h) - 1)));
        return c;
    };
    if (mode == kSampleNearest) {
        out = pixel(x, y);
        return true;
    }
    if (mode == kSampleBilinear) {
        D3DXCOLOR const c00 = pixel(x, y), c10 = pixel(x + 1, y), c01 = pixel(x, y + 1), c11 = pixel(x + 1, y + 1);
        out = lerp(lerp(c00, c10, tx), lerp(c01, c11, tx), ty);
        return true;
    }
    D3DXVECTOR4 rows[4];
    for (s32 j = 0; j < 4; ++j) {
        D3DXVECTOR4 p[4];
        for (s32 i = 0; i < 4; ++i) p[i] = toVector(pixel(x - 1 + i, y - 1 + j));
        D3DXVec4CatmullRom(&rows[j], &p[0], &p[1], &p[2], &p[3], tx);
    }
    D3DXVECTOR4 result;
    D3DXVec4CatmullRom(&result, &rows[0], &rows[1], &rows[2], &rows[3], ty);
    out = D3DXCOLOR(result.x, result.y, result.z, result.w);
    return true;
}

void Texture2D::buildPixelList(short const& alphaThreshold) {
    pixelList_.clear();
    pixelListBuilt_ = 0;
    D3DLOCKED_RECT locked{};
    if (!lockRect(0, locked, rect_, D3DLOCK_READONLY)) return;
    D3DXCOLOR c;
    // Unsigned counters: a texture wider than 32767 texels must not wrap the loop.
    for (u32 y = 0; y < height_ && y < lockedHeight_; ++y)
        for (u32 x = 0; x < width_ && x < lockedWidth_; ++x)
            if (getPixel(c, x, y) && c.a * 255.0f >= static_cast<float>(alphaThreshold)) pixelList_.push_back(width_ * y + x);
    pixelListBuilt_ = 1;
    touch();
    unlockRect(0);
}

bool Texture2D::isInPixelList(u32 const& x, u32 const& y) const {
    return std::binary_search(pixelList_.begin(), pixelList_.end(), width_ * y + x);
}

void Texture2D::pixelIndexToXY(u32 const& index, u32& x, u32& y) const {
    if (width_ == 0) return;
    x = index % width_;
    y = index / width_;
}

u32 Texture2D::pickRandom(std::vector<u32> const& list) {
    if (list.empty()) return 0;
    std::size_t const count = list.size();
    std::size_t const calls = std::max<std::size_t>(1, (count + 32766) / 32767);
    u64 sum = 0;
    for (std::size_t i = 0; i < calls; ++i) sum += static_cast<u64>(msvc::rand());
    return list[static_cast<std::size_t>(sum % count)];
}

u32 Texture2D::randomPixel() const { return pickRandom(pixelList_); }

u32 Texture2D::randomPixelInRect(RECT const& r) const {
    if (pixelList_.empty()) return 0;
    if (r.left == rect_.left && r.top == rect_.top && r.right == rect_.right && r.bottom == rect_.bottom)
        return randomPixel();
    std::vector<u32> inside;
    for (u32 index : pixelList_) {
        u32 x = 0, y = 0;
        pixelIndexToXY(index, x, y);
        s64 const sx = x, sy = y;
        if (r.left < sx && sx < r.right && r.top < sy && sy < r.bottom) inside.push_back(index);
    }
    return pickRandom(inside);
}

}  // namespace Orvex
