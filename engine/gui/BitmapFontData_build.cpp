// Glyph tables rendered at run time: every present, placed cell of the work table is drawn with
// the temporary device font and the style into its page through a render target, then the page
// is copied into a managed texture of the table through a system-memory surface.
#include "engine/gui/BitmapFontData.h"

#include <algorithm>

#include "engine/core/Logger.h"
#include "engine/gui/D3DXFontInterface.h"
#include "engine/gui/Font.h"
#include "engine/gui/FontStyle.h"
#include "engine/gui/FontText.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/RenderToTexture.h"
#include "engine/render/SpriteHolder.h"
#include "engine/render/Texture2D.h"

namespace Orvex {

namespace {

// Pages are cleared to white without alpha, so the glyph edges blend towards white.
constexpr D3DCOLOR kPageClear = 0x00FFFFFF;
// Each glyph is drawn bottom-aligned into its cell, never clipped.
constexpr u32 kGlyphFormat = kTextNoClip | kTextBottom;

// Copies the render target into a page texture through the system-memory surface.
bool copyTarget(RenderToTexture& target, IDirect3DSurface9* staging, Texture2D& page) {
    IDirect3DDevice9* device = D3DInterface::getInstance().getDevice();
    IDirect3DTexture9* texture = page.getTexture();
    if (!device || !texture || !staging || !*target.getSurface()) return false;
    if (FAILED(device->GetRenderTargetData(*target.getSurface(), staging))) return false;
    IDirect3DSurface9* level = nullptr;
    if (FAILED(texture->GetSurfaceLevel(0, &level)) || !level) return false;
    HRESULT const hr = D3DXLoadSurfaceFromSurface(level, nullptr, nullptr, staging, nullptr, nullptr, D3DX_FILTER_NONE, 0);
    level->Release();
    return SUCCEEDED(hr);
}

}  // namespace

BitmapFontData::BitmapFontData(std::vector<GlyphCell> const& cells, Font& font, int const& pageWidth,
                               int const& pageHeight, unsigned const& lastPage, FontStyle const& style) {
    if (style.drawHG) {
        offsets[0] = std::min(style.shadowX - style.radius, 0.0f);
        offsets[1] = std::min(style.shadowY - style.radius, 0.0f);
        offsets[2] = std::max(style.radius + style.shadowX, 0.0f);
        offsets[3] = std::max(style.radius + style.shadowY, 0.0f);
    }
    float const height = font.getHeight(true);
    unitScale = height > 0.0f ? 1.0f / height : 1.0f;
    if (pageWidth <= 0 || pageHeight <= 0) return;

    RECT const area{0, 0, pageWidth, pageHeight};
    RenderToTexture target(area, D3DFMT_A8R8G8B8, D3DFMT_D24X8, 1);
    target.release();
    IDirect3DSurface9* stagingSurface = nullptr;
    if (IDirect3DDevice9* device = D3DInterface::getInstance().getDevice();
        device && FAILED(device->CreateOffscreenPlainSurface(static_cast<UINT>(pageWidth), static_cast<UINT>(pageHeight),
                                                             D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, &stagingSurface,
                                                             nullptr)))
        stagingSurface = nullptr;
    if (!target.isValid() || !stagingSurface) {
        logError(L"Glyph table \"" + getName() + L"\": no render target or copy surface of " +
                 std::to_wstring(pageWidth) + L"x" + std::to_wstring(pageHeight));
        if (stagingSurface) stagingSurface->Release();
        return;
    }
    loaded = true;

    D3DInterface& d3d = D3DInterface::getInstance();
    IDirect3DDevice9* device = d3d.getDevice();
    BaseSprite& sprite = d3d.getSprite().getD3DXSpriteObject();
    // A font remade on the device-created signal may come before the sprite pair is made again.
    if (!*d3d.getSprite().getD3DXSprite()) sprite.create();
    D3DXFontInterface& fonts = D3DXFontInterface::instance();
    std::size_t const count = std::min<std::size_t>(cells.size(), kIndexSize - 1);
    for (unsigned page = 0; page <= lastPage; ++page) {
        if (!target.begin()) {
            loaded = false;
            continue;
        }
        auto* texture = new Texture2D();
        texture->setCanSuspend(false);
        texture->create(static_cast<u32>(pageWidth), static_cast<u32>(pageHeight), 1, 0, D3DFMT_A8R8G8B8,
                        D3DPOOL_MANAGED);
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kPageClear, 1.0f, 0);
        sprite.Begin(D3DXSPRITE_ALPHABLEND, nullptr);
        for (std::size_t unit = 0; unit < count; ++unit) {
            GlyphCell const& cell = cells[unit];
            if (!cell.present || !cell.placed || cell.page != static_cast<int>(page)) continue;
            int const x = cell.rect.left - static_cast<int>(cell.a < 0.0f ? cell.a : 0.0f);
            RECT rect{static_cast<LONG>(static_cast<float>(x) - offsets[0]),
                      static_cast<LONG>(static_cast<float>(cell.rect.top) - offsets[1]),
                      static_cast<LONG>(static_cast<float>(x) + cell.b + cell.c - offsets[2]),
                      static_cast<LONG>(static_cast<float>(cell.rect.bottom) - offsets[3])};
            std::wstring const text(1, static_cast<wchar_t>(unit));
            fonts.drawTextWithFont(&font, text, rect, kGlyphFormat, style);
            BitmapGlyph glyph;
            glyph.texture = texture;
            glyph.left = cell.rect.left;
            glyph.top = cell.rect.top;
            glyph.right = cell.rect.right;
            glyph.bottom = cell.rect.bottom;
            glyph.width = static_cast<float>(glyph.right - glyph.left);
            glyph.height = static_cast<float>(glyph.bottom - glyph.top);
            glyph.a = cell.a;
            glyph.b = cell.b;
            glyph.c = cell.c;
            addGlyph(static_cast<wchar_t>(unit), glyph);
        }
        bool const ended = sprite.End();
        if (!(target.end() && ended && copyTarget(target, stagingSurface, *texture))) loaded = false;
        textures.addTexture(texture, true);
    }
    stagingSurface->Release();
}

}  // namespace Orvex
