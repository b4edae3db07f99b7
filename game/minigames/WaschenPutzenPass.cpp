// A cleaning pass: reading it, its textures, reset and the locks.
#include "game/minigames/WaschenPutzenPass.h"

#include <cmath>
#include <cstring>

#include "engine/core/XMLAttribute.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIRect.h"
#include "engine/gui/GUIWindow.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/Texture2D.h"
#include "engine/render/Texture2DAnimation.h"
#include "engine/render/TextureManager.h"
#include "game/minigames/MinispielKeys.h"
#include "game/minigames/MinispielTemplates.h"
#include "port/d3dx9/d3dx9tex.h"

namespace Solitaire {

namespace {

constexpr std::size_t kCursorValues = 4;
constexpr std::size_t kCursorOffsetX = 2;

// The texture named in the attribute: the local list first, then the device's registry; one
// reference for the caller.
Orvex::CountedRef<Orvex::Texture2D> namedTexture(Orvex::XMLNode const& node, wchar_t const* key,
                                                 Orvex::TextureManager const& local) {
    Orvex::CountedRef<Orvex::Texture2D> held;
    Orvex::XMLAttribute const* a = node.getAttribute(key);
    if (!a) return held;
    std::wstring const name = a->getStringCopy();
    Orvex::Texture2D* found = local.findTexture(name);
    if (!found) found = Orvex::D3DInterface::getInstance().getTextureManager().findTexture(name);
    held.hold(found);
    return held;
}

D3DXCOLOR colourOf(Orvex::XMLNode const& node, wchar_t const* key, D3DXCOLOR const& fallback) {
    return node.getAttribute(key) ? D3DXCOLOR(static_cast<DWORD>(node.getAttributeHex(key, 0))) : fallback;
}

}  // namespace

WaschenPutzenGame::Pass::Pass(Orvex::XMLNode& node) {
    {
        Orvex::TextureManager local;
        if (Orvex::XMLNode* list = node.getChild(L"TEXTUREN")) local.loadTextures(*list);
        mask = namedTexture(node, L"MASK_NAME", local);
        overlay = namedTexture(node, L"BLEND_NAME", local);
    }
    if (mask && mask->getWidth() > 0 && mask->getHeight() > 0) {
        width = mask->getWidth();
        height = mask->getHeight();
    } else {
        mask.reset();
    }
    minigame::readNumber(node, L"RADIUS", radius, 0.0, kMaxRadius);
    goalColor = colourOf(node, L"GOAL_COLOR", goalColor);
    drawColor = colourOf(node, L"DRAW_COLOR", drawColor);
    distColor = colourOf(node, L"DIST_COLOR", distColor);
    minigame::readNumber(node, L"TIME_FAKTOR", timeFaktor);
    drawMode = node.getAttributeInt(L"DRAW_MODE", drawMode);
    textFertig = node.getAttributeString(L"TEXT_FERTIG", textFertig);
    textNFertig = node.getAttributeString(L"TEXT_NFERTIG", textNFertig);
    minigame::readNumber(node, L"FERTIG_PERCENT", fertigPercent, 0.0, 1.0);
    // Hexadecimal digits read as a 32-bit word, so "FFFFFFFF" is -1 again.
    fertigPixels =
        static_cast<Orvex::s32>(node.getAttributeHex(L"FERTIG_PIXELS", static_cast<Orvex::u32>(fertigPixels)));
    Orvex::GUIRect layout;
    if (Orvex::XMLNode const* rect = node.getChild(L"GUIRECT")) layout.load(*rect);
    toolWindow.adopt(minigame::windowFromTemplate(node, L"TOOL"));
    if (toolWindow) {
        toolWindow->getRect() = layout;
        toolWindow->captureCurrentState();
        toolWindow->initDefaultState();
    }
    animation.adopt(minigame::animationCopy(node, L"ANIMATION"));
    useAsCursor = node.getAttributeBool(L"USE_AS_CURSOR", useAsCursor);
    readCursorSize(node);
    if (Orvex::XMLAttribute const* a = node.getAttribute(L"EMITTER")) {
        hasEmitter = true;
        emitter = a->getStringCopy();
    }
    useAsHg = node.getAttributeBool(L"USE_AS_HG", useAsHg);
    minigame::readNumber(node, L"PERCENT_MULT", percentMult);
    minigame::readNumber(node, L"PERCENT_OFF", percentOff);

    if (!mask) {
        mask.adopt(new Orvex::Texture2D(L""));
        mask->create(width, height, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED);
    }
    remainder.adopt(new Orvex::Texture2D(L""));
    remainder->create(width, height, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED);

    bool const noTolerance =
        !(distColor.r > 0.0f) || !(distColor.g > 0.0f) || !(distColor.b > 0.0f) || !(distColor.a > 0.0f);
    if (noTolerance || fertigPixels <= 0 || fertigPercent >= 1.0f)
        minigame::logProblem(node,
                             L"this pass can never be done (\"DIST_COLOR\" must leave room on "
                             L"every channel, "
                             L"\"FERTIG_PIXELS\" be above 0 and \"FERTIG_PERCENT\" below 1)");
}

// The tool window leaves the tools' window before it goes.
WaschenPutzenGame::Pass::~Pass() {
    if (toolWindow)
        if (Orvex::GUIWindow* parent = toolWindow->getParent()) parent->removeChild(toolWindow.get());
}

void WaschenPutzenGame::Pass::readCursorSize(Orvex::XMLNode const& node) {
    Orvex::XMLAttribute const* a = node.getAttribute(L"CURSOR_SIZE");
    if (!a) return;
    float values[kCursorValues] = {};
    std::size_t count = 0;
    // Refused: the cursor keeps its size.
    hasCursorSize = minigame::readMeasures(node, L"CURSOR_SIZE", values, count);
    if (!hasCursorSize) return;
    // Piece 0 sets width and height, piece 1 the height, piece 2 both offsets, piece 3 the y
    // offset.
    cursorSize[0] = cursorSize[1] = values[0];
    if (count > 1) cursorSize[1] = values[1];
    if (count > kCursorOffsetX) cursorSize[2] = cursorSize[3] = values[2];
    if (count > kCursorOffsetX + 1) cursorSize[3] = values[3];
}

bool WaschenPutzenGame::Pass::isClean(D3DXCOLOR const& c) const {
    auto near = [](float value, float goal, float tolerance) { return std::fabs(value - goal) < tolerance; };
    return near(c.a, goalColor.a, distColor.a) && near(c.r, goalColor.r, distColor.r) &&
           near(c.g, goalColor.g, distColor.g) && near(c.b, goalColor.b, distColor.b);
}

bool WaschenPutzenGame::Pass::countPixels(Orvex::Texture2D& texture, Orvex::u32& cleanOut,
                                          Orvex::u32& uncleanOut) const {
    Orvex::u32 const w = texture.getWidth();
    Orvex::u32 const h = texture.getHeight();
    if (w == 0 || h == 0) return false;
    D3DLOCKED_RECT locked{};
    RECT const all{0, 0, static_cast<LONG>(w), static_cast<LONG>(h)};
    if (!texture.lockRect(0, locked, all, D3DLOCK_READONLY)) return false;
    cleanOut = 0;
    uncleanOut = 0;
    D3DXCOLOR pixel;
    for (Orvex::u32 y = 0; y < h; ++y)
        for (Orvex::u32 x = 0; x < w; ++x) {
            if (!texture.getPixel(pixel, x, y)) continue;
            if (isClean(pixel))
                ++cleanOut;
            else
                ++uncleanOut;
        }
    texture.unlockRect(0);
    return true;
}

void WaschenPutzenGame::Pass::reset() {
    working.reset();
    if (mask && mask->getTexture()) {
        Orvex::CountedRef<Orvex::Texture2D> const copy = Orvex::adoptRef(new Orvex::Texture2D(L""));
        IDirect3DSurface9* from = nullptr;
        IDirect3DSurface9* to = nullptr;
        bool const made =
            copy->copyFrom(*mask) && copy->getTexture() && SUCCEEDED(mask->getTexture()->GetSurfaceLevel(0, &from)) &&
            SUCCEEDED(copy->getTexture()->GetSurfaceLevel(0, &to)) &&
            SUCCEEDED(D3DXLoadSurfaceFromSurface(to, nullptr, nullptr, from, nullptr, nullptr, D3DX_FILTER_NONE, 0));
        if (from) from->Release();
        if (to) to->Release();
        if (made) {
            // Its pixels exist only on the device now.
            copy->setCanSuspend(false);
            working = copy;
        }
    }
    if (remainder && remainder->getTexture()) {
        D3DLOCKED_RECT locked{};
        RECT const all{0, 0, static_cast<LONG>(remainder->getWidth()), static_cast<LONG>(remainder->getHeight())};
        if (remainder->lockRect(0, locked, all, D3DLOCK_DISCARD)) {
            std::size_t const row = static_cast<std::size_t>(remainder->getWidth()) * sizeof(Orvex::u32);
            for (LONG y = 0; y < all.bottom; ++y)
                std::memset(static_cast<char*>(locked.pBits) + static_cast<std::ptrdiff_t>(y) * locked.Pitch, 0, row);
            remainder->unlockRect(0);
        }
    }
    maskClean = maskUnclean = maskPixels = 0;
    if (mask && countPixels(*mask, maskClean, maskUnclean)) maskPixels = maskClean + maskUnclean;
    clean = maskClean;
    unclean = maskUnclean;
    dirty = true;
    done = false;
    progress = 0.0f;
    reported = false;
    if (auto* label = dynamic_cast<Orvex::GUILabel*>(toolWindow.get())) label->setText(L"0%");
}

D3DXVECTOR2 WaschenPutzenGame::Pass::toPixel(float u, float v) const {
    if (!working) return D3DXVECTOR2(0.0f, 0.0f);
    return D3DXVECTOR2(static_cast<float>(working->getWidth()) * u, static_cast<float>(working->getHeight()) * v);
}

bool WaschenPutzenGame::Pass::lockTextures(RECT const& area) {
    if (!working || !remainder) return false;
    dirty = true;
    D3DLOCKED_RECT locked{};
    if (!working->lockRect(0, locked, area, 0)) return false;
    if (!remainder->lockRect(0, locked, area, 0)) {
        working->unlockRect(0);
        return false;
    }
    return true;
}

void WaschenPutzenGame::Pass::unlockTextures() {
    working->unlockRect(0);
    remainder->unlockRect(0);
}

}  // namespace Solitaire
