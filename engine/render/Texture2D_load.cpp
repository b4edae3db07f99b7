// Texture2D recipes: from an image file, from a texture node, as a part of another texture, and
// empty; filter keys and "CLEAR_RGB".
#include "engine/render/Texture2D.h"

#include <algorithm>
#include <vector>

#include "engine/core/File.h"
#include "engine/core/Logger.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/FilePictures.h"
#include "engine/render/PictureLookup.h"
#include "engine/render/TextureSettings.h"
#include "port/d3dx9/d3dx9_port.h"
#include "port/win32/win32_text.h"

namespace Orvex {

namespace {

// The next power of two at or above v (v itself when it is one).
u32 roundUpPow2(u32 v) {
    u32 p = 1;
    while (p < v && p < 0x80000000u) p <<= 1;
    return p;
}

// One axis of a part rectangle on the part node: low edge, centre, high edge and extent keys
// ("L", "LC", "R", "W" or "T", "TC", "B", "H"). An extent counts back from a given high edge,
// else around a given centre, else on from the low edge.
void readPartAxis(XMLNode& node, wchar_t const* lowKey, wchar_t const* centreKey, wchar_t const* highKey,
                  wchar_t const* extentKey, LONG& low, LONG& high) {
    low = node.getAttributeInt(lowKey, 0);
    high = node.getAttributeInt(highKey, 0);
    XMLAttribute const* extent = node.getAttribute(extentKey);
    if (!extent) return;
    int const size = extent->getInt();
    if (node.getAttribute(highKey)) {
        low = high - size;
        return;
    }
    if (XMLAttribute const* centre = node.getAttribute(centreKey)) low = centre->getInt() - size / 2;
    high = low + size;
}

// The rectangle of a "TEX_PART": in a "TEX_RECT" child, or on the part node itself.
RECT readPartRect(XMLNode& node) {
    RECT r{0, 0, 0, 0};
    if (XMLNode const* child = node.getChild(L"TEX_RECT")) {
        r.left = child->getAttributeInt(L"L", 0);
        r.top = child->getAttributeInt(L"T", 0);
        r.right = child->getAttribute(L"R") ? child->getAttributeInt(L"R", 0) : r.left + child->getAttributeInt(L"W", 0);
        r.bottom = child->getAttribute(L"B") ? child->getAttributeInt(L"B", 0) : r.top + child->getAttributeInt(L"H", 0);
        return r;
    }
    readPartAxis(node, L"L", L"LC", L"R", L"W", r.left, r.right);
    readPartAxis(node, L"T", L"TC", L"B", L"H", r.top, r.bottom);
    return r;
}

}  // namespace

void Texture2D::readFilterSettings(XMLNode& node) {
    filterDefault_ = node.getAttributeBool(L"FILTER_DEFAULT", filterDefault_ != 0) ? 1 : 0;
    for (auto const& child : node.children()) {
        std::vector<std::wstring>* list = child->getName() == L"APPLY_FILTER"        ? &applyFilter_
                                          : child->getName() == L"DONT_APPLY_FILTER" ? &dontApplyFilter_
                                                                                     : nullptr;
        if (!list) continue;
        for (auto const& value : child->values()) list->push_back(value->getString());
    }
}

void Texture2D::logImageNotes(port::dx::ImageNotes const& notes) const {
    if (notes.text().empty() || !FilePictures::instance().firstNotice(fileName_)) return;
    logWarning(L"Texture \"" + getName() + L"\"" + atLine(getLine()) + L": image \"" + fileName_ + L"\": " +
               port::fromUtf8(notes.text()));
}

bool Texture2D::acceptsImageSize(u32 width, u32 height) const {
    FilePictures& pictures = FilePictures::instance();
    if (width == 0 || height == 0 || width > kMaxTextureSize || height > kMaxTextureSize) {
        if (pictures.firstRefusal(fileName_))
            logError(L"Texture \"" + getName() + L"\"" + atLine(getLine()) + L": image \"" + fileName_ +
                     L"\" has an unusable size " + std::to_wstring(width) + L"x" + std::to_wstring(height));
        return false;
    }
    if (!pictures.fitsPicture(width, height)) {
        if (pictures.firstRefusal(fileName_))
            logError(L"Texture \"" + getName() + L"\"" + atLine(getLine()) + L": image \"" + fileName_ + L"\" of " +
                     std::to_wstring(width) + L"x" + std::to_wstring(height) + L" pixels is larger than the " +
                     std::to_wstring(pictures.getBudget().picturePixels) + L" pixels a picture may have; not loaded");
        return false;
    }
    return true;
}

void Texture2D::logUnloadable(std::string const& why) const {
    if (FilePictures::instance().firstRefusal(fileName_))
        logError(L"Texture \"" + getName() + L"\"" + atLine(getLine()) + L": \"" + fileName_ +
                 L"\" is no loadable image (" + port::fromUtf8(why) + L")");
}

bool Texture2D::readImageInfo(std::vector<u8> const& data, TextureLoadParams const& loadParams,
                              PictureLookup& lookup) {
    D3DXIMAGE_INFO info{};
    std::string why;
    port::dx::ImageNotes notes;
    // Suspended, the texture may never be shown: the store keeps nothing of the file for it yet.
    FilePictures::Then const then = suspended_ ? FilePictures::Then::kNoteSize : FilePictures::Then::kMakePicture;
    bool const read = FilePictures::instance().describe(data, info, why, lookup, then);
    logImageNotes(notes);
    if (!read) {
        logUnloadable(why);
        return false;
    }
    if (!acceptsImageSize(info.Width, info.Height)) return false;
    createParams_.imageInfo = info;
    u32 w = info.Width;
    u32 h = info.Height;
    if (TextureModuleSettings::get().anySizeReduction()) {
        D3DXVECTOR2 scale(1.0f, 1.0f);
        loadParams.computeScale(scale, w, h);
        scaleU_ = scale.x;
        scaleV_ = scale.y;
        createParams_.Filter = D3DX_DEFAULT;
    }
    createParams_.Width = width_ = w;
    createParams_.Height = height_ = h;
    rect_ = RECT{0, 0, static_cast<LONG>(w), static_cast<LONG>(h)};
    sizeKnown_ = 1;
    return true;
}

bool Texture2D::createFromFileData(std::vector<u8> const& data, PictureLookup const& lookup, D3DFORMAT format,
                                   bool ownPicture) {
    D3DInterface& d3d = D3DInterface::getInstance();
    if (!d3d.getDevice()) {
        logError(L"Texture \"" + getName() + L"\": no device to load \"" + fileName_ + L"\" on");
        return false;
    }
    D3DXIMAGE_INFO info{};
    TextureCreateParams& p = createParams_;
    // The file's pixels: what decoding it takes, whatever size the texture is made in.
    u64 const pixels = u64{p.imageInfo.Width} * p.imageInfo.Height;
    HRESULT hr = S_OK;
    std::string why;
    FilePictures& pictures = FilePictures::instance();
    port::dx::ImageNotes notes;
    FilePictures::Result const result =
        pictures.obtain(fileName_, data, pixels, p, format, ownPicture || ownPicture_, texture_, info, hr, why, lookup);
    logImageNotes(notes);
    if (result == FilePictures::Result::kOverBudget) {
        if (pictures.firstRefusal(fileName_))
            logError(L"Texture \"" + getName() + L"\"" + atLine(getLine()) + L": image \"" + fileName_ + L"\" of " +
                     std::to_wstring(p.imageInfo.Width) + L"x" + std::to_wstring(p.imageInfo.Height) +
                     L" pixels would take the pictures held past " + std::to_wstring(pictures.getBudget().heldPixels) +
                     L" pixels; not loaded");
        return false;
    }
    if (result == FilePictures::Result::kFailed) {
        texture_ = nullptr;
        logUnloadable(why.empty() ? "the device refused it: " + std::to_string(static_cast<long>(hr)) : why);
        return false;
    }
    p.imageInfo = info;
    // The format the texture really has: pixel reads and hit tests step by its size, which
    // differs from the file's (a 24-bit file becomes a 32-bit texture).
    D3DSURFACE_DESC desc{};
    if (SUCCEEDED(texture_->GetLevelDesc(0, &desc))) p.Format = desc.Format;
    created_ = 1;
    p.Width = p.imageInfo.Width = width_ = static_cast<u32>(static_cast<float>(info.Width) * scaleU_);
    p.Height = p.imageInfo.Height = height_ = static_cast<u32>(static_cast<float>(info.Height) * scaleV_);
    rect_ = RECT{0, 0, static_cast<LONG>(width_), static_cast<LONG>(height_)};
    sizeKnown_ = 1;
    return true;
}

bool Texture2D::loadImageFile(File& source, std::wstring const& requested, TextureLoadParams const& limits,
                              D3DFORMAT format, bool ownPicture) {
    if (source.isOpen()) fileName_ = source.getPath();
    // A picture too large is refused on the size its file's first bytes declare, before the rest
    // is read: a file of 255 MB would otherwise be read whole only to be refused.
    std::vector<u8> data;
    u32 width = 0;
    u32 height = 0;
    if (source.readHead(data, port::dx::kImageHeadBytes) &&
        port::dx::declaredImageSize(data.data(), data.size(), width, height) && !acceptsImageSize(width, height))
        return false;
    // A texture is made again on every use while it is not: its file's problem is told once.
    if (!source.readAllOnce(data, L"Texture \"" + getName() + L"\"" + atLine(getLine()) + L": file \"" + requested + L"\""))
        return false;
    PictureLookup lookup;
    if (!readImageInfo(data, limits, lookup)) return false;
    if (suspended_) {
        created_ = 1;
        return true;
    }
    if (!createFromFileData(data, lookup, format, ownPicture)) return false;
    applyDefaultPoolRules(true);
    return true;
}

bool Texture2D::loadFromFile(std::wstring const& file, TextureLoadParams const& loadParams,
                             TextureCreateParams const& createParams) {
    reset(false);
    createParams_ = createParams;
    requestedParams_ = createParams;
    createParams_.Usage |= D3DUSAGE_AUTOGENMIPMAP;
    File source(file);
    if (source.open(file)) {
        // The name follows the file without a name-changed signal (the texture is being made).
        NamedObject::operator=(NamedObject(source.getPath()));
        creationKind_ = kCreatedFromFile;
    }
    return loadImageFile(source, file, loadParams, D3DFMT_UNKNOWN, false);
}

bool Texture2D::loadFromXML(XMLNode& node, TextureLoadParams const& loadParams) {
    reset(false);
    readFilterSettings(node);
    BaseTexture::readXML(node);
    TextureLoadParams limits = loadParams;
    if (XMLNode* info = node.getChild(L"FILE_INFO")) createParams_ = TextureCreateParams(*info);
    if (XMLNode* quality = node.getChild(L"QUALTIY")) limits = TextureLoadParams(*quality);
    bool const clearRGB = node.getAttributeBool(L"CLEAR_RGB", false);
    creationKind_ = kCreatedFromNode;
    if (&node != &loadParams_) loadParams_.copyFrom(node);

    XMLNode* fileNode = node.getChild(L"FILE");
    if (!fileNode) {
        if (!created_) logError(L"Texture \"" + getName() + L"\"" + atLine(node) + L" names no \"FILE\"");
        return created_ != 0;
    }
    File source(*fileNode);
    // The transparent pixels are cleared in the picture itself: one of its own.
    if (!loadImageFile(source, fileNode->getAttributeString(L"FILENAME", L""), limits, createParams_.Format, clearRGB))
        return false;
    if (clearRGB && !suspended_) clearTransparentRGB();
    return true;
}

void Texture2D::clearTransparentRGB() {
    D3DLOCKED_RECT locked{};
    if (!lockRect(0, locked, rect_, 0)) return;
    D3DXCOLOR pixel;
    D3DXCOLOR const clear(0.0f, 0.0f, 0.0f, 0.0f);
    for (u32 y = 0; y < height_; ++y)
        for (u32 x = 0; x < width_; ++x)
            if (getPixel(pixel, x, y) && pixel.a == 0.0f) setPixel(clear, x, y);
    unlockRect(0);
}

bool Texture2D::loadPart(XMLNode& node, Texture2D* source) {
    if (!source || source == this) {
        logError(L"Texture part \"" + node.getAttributeString(L"NAME", L"") + L"\"" + atLine(node) +
                 L" has no source texture");
        return false;
    }
    reset(false);
    scaleU_ = source->scaleU_;
    scaleV_ = source->scaleV_;
    readFilterSettings(node);
    fileName_ = source->fileName_;
    BaseTexture::readXML(node);
    bool const cut = node.getAttributeBool(L"CUT", false);
    bool const pow2 = node.getAttributeBool(L"POW2", true);
    RECT part = readPartRect(node);

    createParams_ = source->createParams_;
    if (XMLNode* info = node.getChild(L"FILE_INFO")) {
        createParams_ = TextureCreateParams(*info);
        if (createParams_.Format == D3DFMT_UNKNOWN) createParams_.Format = source->createParams_.Format;
    }

    part.left = static_cast<LONG>(static_cast<float>(part.left) * scaleU_);
    part.right = static_cast<LONG>(static_cast<float>(part.right) * scaleU_);
    part.top = static_cast<LONG>(static_cast<float>(part.top) * scaleV_);
    part.bottom = static_cast<LONG>(static_cast<float>(part.bottom) * scaleV_);
    u32 const sourceWidth = source->getWidth();
    u32 const sourceHeight = source->getHeight();
    if (part.left < 0 || part.top < 0 || part.right <= part.left || part.bottom <= part.top ||
        static_cast<u32>(part.right) > sourceWidth || static_cast<u32>(part.bottom) > sourceHeight) {
        logError(L"Texture part \"" + getName() + L"\"" + atLine(node) + L": rectangle (" +
                 std::to_wstring(part.left) + L", " +
                 std::to_wstring(part.top) + L", " + std::to_wstring(part.right) + L", " +
                 std::to_wstring(part.bottom) + L") lies outside \"" + source->getName() + L"\"");
        return false;
    }
    rect_ = part;
    createParams_.Width = width_ = static_cast<u32>(part.right - part.left);
    createParams_.Height = height_ = static_cast<u32>(part.bottom - part.top);

    // After a reset the source may not have had its turn yet (its device connection can come
    // after this part's when it was reloaded); its pixels are needed now.
    if (!suspended_ && source->isLost()) source->onResetDevice();
    if (!suspended_ && !cut) {
        IDirect3DTexture9* shared = *source->getD3DTexture();
        if (!shared) {
            logError(L"Texture part \"" + getName() + L"\": source \"" + source->getName() + L"\" has no texture");
            return false;
        }
        shared->AddRef();
        texture_ = shared;
        created_ = 1;
        sizeKnown_ = 1;
    } else if (!suspended_) {
        if (!copyPart(*source, part, pow2)) return false;
    } else {
        created_ = 1;
        sizeKnown_ = cut ? 0 : 1;
    }

    creationKind_ = kCreatedAsPart;
    if (&node != &loadParams_) loadParams_.copyFrom(node);
    source->addRef();
    if (source_) source_->release();
    source_ = source;
    applyDefaultPoolRules(!suspended_);
    return true;
}

bool Texture2D::copyPart(Texture2D& source, RECT const& part, bool pow2) {
    D3DInterface& d3d = D3DInterface::getInstance();
    u32 const w = pow2 ? roundUpPow2(width_) : width_;
    u32 const h = pow2 ? roundUpPow2(height_) : height_;
    UINT const levels = (createParams_.Usage & D3DUSAGE_AUTOGENMIPMAP) ? 0 : 1;
    auto fail = [&](wchar_t const* why) {
        logError(L"Texture part \"" + getName() + L"\": " + why);
        releaseD3DTexture();
        created_ = 0;
        return false;
    };
    if (!d3d.getDevice() || FAILED(D3DXCreateTexture(d3d.getDeviceRef(), w, h, levels, createParams_.Usage,
                                                     createParams_.Format, createParams_.Pool, &texture_)) ||
        !texture_) {
        texture_ = nullptr;
        return fail(L"no texture for the copy");
    }
    D3DSURFACE_DESC desc{};
    if (SUCCEEDED(texture_->GetLevelDesc(0, &desc))) createParams_.Format = desc.Format;
    D3DLOCKED_RECT from{};
    if (!source.lockRect(0, from, part, D3DLOCK_READONLY)) return fail(L"source cannot be read");
    rect_ = RECT{0, 0, static_cast<LONG>(width_), static_cast<LONG>(height_)};
    created_ = 1;
    sizeKnown_ = 1;
    D3DLOCKED_RECT to{};
    if (!lockRect(0, to, rect_, D3DLOCK_DISCARD)) {
        source.unlockRect(0);
        return fail(L"copy cannot be written");
    }
    u8 const couldSuspend = canSuspend_;
    bool ok = true;
    D3DXCOLOR pixel;
    for (u32 y = 0; y < height_ && ok; ++y)
        for (u32 x = 0; x < width_ && ok; ++x) ok = source.getPixel(pixel, x, y) && setPixel(pixel, x, y);
    // The recipe makes these pixels again, so the copy may still be suspended.
    canSuspend_ = couldSuspend;
    unlockRect(0);
    source.unlockRect(0);
    if (!ok) return fail(L"source pixels are in a format that cannot be copied");
    return true;
}

bool Texture2D::create(u32 width, u32 height, u32 levels, DWORD usage, D3DFORMAT format, D3DPOOL pool) {
    reset(false);
    createParams_.Usage = usage;
    createParams_.Format = format;
    createParams_.Pool = pool;
    createParams_.MipLevels = levels;
    createParams_.Width = width_ = width;
    createParams_.Height = height_ = height;
    creationKind_ = kCreatedEmpty;
    sizeKnown_ = 1;
    rect_ = RECT{0, 0, static_cast<LONG>(width), static_cast<LONG>(height)};
    if (width == 0 || height == 0 || width > kMaxTextureSize || height > kMaxTextureSize) {
        logError(L"Texture \"" + getName() + L"\": unusable size " + std::to_wstring(width) + L"x" +
                 std::to_wstring(height));
        return false;
    }
    if (suspended_) {
        created_ = 1;
        return true;
    }
    bool const autoGen = (usage & D3DUSAGE_AUTOGENMIPMAP) != 0;
    u32 const w = autoGen ? roundUpPow2(width) : width;
    u32 const h = autoGen ? roundUpPow2(height) : height;
    D3DInterface& d3d = D3DInterface::getInstance();
    if (!d3d.getDevice() ||
        FAILED(D3DXCreateTexture(d3d.getDeviceRef(), w, h, levels, usage, format, pool, &texture_)) || !texture_) {
        texture_ = nullptr;
        logError(L"Texture \"" + getName() + L"\": the device refused a " + std::to_wstring(width) + L"x" +
                 std::to_wstring(height) + L" texture");
        return false;
    }
    created_ = 1;
    D3DSURFACE_DESC desc{};
    if (SUCCEEDED(texture_->GetLevelDesc(0, &desc))) createParams_.Format = desc.Format;
    applyDefaultPoolRules(true);
    createParams_.imageInfo.Format = createParams_.Format;
    createParams_.imageInfo.Width = width;
    createParams_.imageInfo.Height = height;
    createParams_.imageInfo.ResourceType = D3DRTYPE_TEXTURE;
    return true;
}

bool Texture2D::copyFrom(Texture2D& other) {
    if (&other == this) return false;
    bool const wasSuspended = other.isSuspended();
    if (wasSuspended) other.setSuspended(false);
    TextureCreateParams const params = other.createParams_;
    bool const ok = create(params.imageInfo.Width, params.imageInfo.Height, params.MipLevels, params.Usage,
                           params.Format, params.Pool);
    if (wasSuspended) other.suspend();
    if (!ok) return false;
    rect_ = other.rect_;
    width_ = other.width_;
    height_ = other.height_;
    sizeKnown_ = 1;
    locked_ = 0;
    pixelList_ = other.pixelList_;
    pixelListBuilt_ = other.pixelListBuilt_;
    return true;
}

}  // namespace Orvex
