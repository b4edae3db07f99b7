// A named, reference-counted 2D texture: one IDirect3DTexture9 made lazily from a recipe (an
// image file, a texture node of a data file, a part of another texture, or empty), released
// while suspended and made again on the next use or after a lost device (D3DPOOL_DEFAULT).
// Offers locking, pixel reads and writes in many formats, sampling at float coordinates and a
// list of opaque pixels for hit tests and random picks.
//
// Texture node keys: "NAME", "AUTO_SUPEND", "CAN_SUPEND", "AUTO_SUPEND_TIME", "FILTER_DEFAULT",
// children "APPLY_FILTER" and "DONT_APPLY_FILTER" (values), "FILE_INFO" (TextureCreateParams),
// "QUALTIY" (TextureLoadParams), "CLEAR_RGB", "FILE" (an Orvex::File node).
// Part node keys ("TEX_PART"): the suspend and filter keys, "CUT" (own copy of the pixels),
// "POW2" (a copy's size rounded up to powers of two, default 1), "FILE_INFO", and the rectangle
// in a "TEX_RECT" child ("L", "T", "R" or "W", "B" or "H") or on the node itself ("L", "T",
// "LC", "TC", "R", "B", "W", "H"), in source-image pixels.
//
// Limits: loaders refuse images larger than kMaxTextureSize texels per side and pictures over the
// pixel budget of FilePictures (a PNG on the size its first bytes declare, before the rest of the
// file is read), and part rectangles outside their source (with a log line); pixel access needs
// a lock. A refused file is one line naming it, however many textures name it, and what the
// image readers leave out of a file they still read (chunks of no use skipped in bulk, pixel data
// past the header's rows) likewise.
//
// Pictures from files are shared by the textures that name the same file (FilePictures): a
// texture locked for writing first gets a picture of its own, decoded again from its recipe.
//
// Split: Texture2D.cpp (copies, the device texture's lifetime: suspend, re-creation by recipe,
// device loss; sizes and locking), Texture2D_load.cpp (the recipes: image file, texture node,
// part, empty; filter keys and "CLEAR_RGB"), Texture2D_pixels.cpp (pixel reads and writes per
// format, sampling, the opaque-pixel list and random picks).
#pragma once

#include <string>
#include <vector>

#include "engine/render/TextureBase.h"
#include "engine/render/TextureParams.h"
#include "port/d3dx9/d3dx9.h"

namespace Orvex {

class File;
struct PictureLookup;

}  // namespace Orvex

namespace port::dx {
class ImageNotes;
}  // namespace port::dx

namespace Orvex {

class Texture2D : public BaseTexture {
public:
    // Largest side length a loader or create accepts.
    static constexpr u32 kMaxTextureSize = 16384;
    // Sampling modes of sampleColor.
    static constexpr u32 kSampleNearest = 0;
    static constexpr u32 kSampleBilinear = 1;
    static constexpr u32 kSampleBicubic = 2;

    Texture2D();
    explicit Texture2D(std::wstring const& name);
    // Shares the device texture (AddRef) and the source; copies size, parameters, pixel list.
    Texture2D(Texture2D const& other);
    ~Texture2D() override;

    Texture2D* clone(IDirect3DTexture9* tex) override;
    void onLostDevice() override;
    void onResetDevice() override;
    IDirect3DTexture9* getTexture() override;
    IDirect3DBaseTexture9* getTextureVariantA() override { return nullptr; }
    IDirect3DBaseTexture9* getTextureVariantB() override { return nullptr; }
    IDirect3DBaseTexture9* getBaseTexture() override;
    void releaseTexture() override;
    void recreateTexture() override;

    // Resumes a suspended texture without device texture, stamps the use; the address of the
    // device texture pointer (the pointer itself may be null).
    IDirect3DTexture9** getD3DTexture();
    // (0, 0, width, height), or a shared part's rectangle inside its source. Resumes when the
    // size is not known yet; stamps the use.
    RECT const& getRect();
    u32 getWidth();
    u32 getHeight();
    bool isSizeKnown() const { return sizeKnown_ != 0; }
    TextureCreateParams const& getCreateParams() const { return createParams_; }
    // The format the device texture really has (the creation format for suspended ones).
    D3DFORMAT getFormat() const { return createParams_.Format; }
    // Loaded size / file size per axis.
    D3DXVECTOR2 getScale() const { return D3DXVECTOR2(scaleU_, scaleV_); }
    Texture2D* getSource() const { return source_; }

    // Releases the device texture and forgets the file, filters and scale (every loader starts
    // with reset(false)); with disconnectDevice also leaves the device object's signals.
    void reset(bool const& disconnectDevice);

    // Loaders (recipes); each returns whether the texture is made. A suspended texture reads
    // only the image information and reports success.
    bool loadFromFile(std::wstring const& file, TextureLoadParams const& loadParams = TextureLoadParams(),
                      TextureCreateParams const& createParams = TextureCreateParams());
    bool loadFromXML(XMLNode& node, TextureLoadParams const& loadParams = TextureLoadParams());
    bool loadPart(XMLNode& node, Texture2D* source);
    bool create(u32 width, u32 height, u32 levels, DWORD usage, D3DFORMAT format, D3DPOOL pool);
    // An empty texture of other's size and parameters (no pixels copied) with its pixel list.
    bool copyFrom(Texture2D& other);
    // "FILTER_DEFAULT", "APPLY_FILTER", "DONT_APPLY_FILTER".
    void readFilterSettings(XMLNode& node);

    // Locking (one level at a time).
    bool lockRect(UINT level, D3DLOCKED_RECT& out, RECT const& area, DWORD flags);
    bool unlockRect(UINT level);
    bool isLocked() const { return locked_ != 0; }

    // On a locked texture, coordinates relative to the locked area.
    bool getPixel(D3DXCOLOR& out, u32 const& x, u32 const& y);
    // Clears canSuspend (the pixels exist only in the device texture now).
    bool setPixel(D3DXCOLOR const& color, u32 const& x, u32 const& y);
    // Locks one pixel of level 0, reads it, unlocks.
    bool readPixel(D3DXCOLOR& out, u32 const& x, u32 const& y);
    // On a locked texture: nearest (0), bilinear (1) or Catmull-Rom bicubic (other) at uv.
    bool sampleColor(D3DXCOLOR& out, D3DXVECTOR2 const& uv, u32 const& mode);

    // Opaque pixels (alpha * 255 >= threshold) as ascending indices y * width + x.
    void buildPixelList(short const& alphaThreshold);
    bool hasPixelList() const { return pixelListBuilt_ != 0; }
    std::vector<u32> const& getPixelList() const { return pixelList_; }
    bool isInPixelList(u32 const& x, u32 const& y) const;
    void pixelIndexToXY(u32 const& index, u32& x, u32& y) const;
    // A random entry of the list (msvc::rand), 0 when empty.
    u32 randomPixel() const;
    // A random entry strictly inside r, 0 when none.
    u32 randomPixelInRect(RECT const& r) const;

private:
    void releaseD3DTexture();
    // After a successful creation: the D3DPOOL_DEFAULT rules (render targets never suspend;
    // device-signal connection unless loading, or for parts while suspended).
    void applyDefaultPoolRules(bool mayConnect);
    // Re-creates by creationKind (the caller sets loading).
    void recreateByKind();
    // False (logged) for a picture of an unusable size or over the pixels a picture may have
    // (FilePictures); the picture's refusal is told once per file.
    bool acceptsImageSize(u32 width, u32 height) const;
    // The line for a file that is no loadable image, once per file.
    void logUnloadable(std::string const& why) const;
    // Takes the file's image information (FilePictures; lookup gets what the picture of the bytes
    // goes on from) and applies the size reduction; false (logged) for a file the image readers
    // refuse or an image of an unusable size.
    bool readImageInfo(std::vector<u8> const& data, TextureLoadParams const& loadParams, PictureLookup& lookup);
    // One line naming the file for what the image readers left out of it (once per file).
    void logImageNotes(port::dx::ImageNotes const& notes) const;
    // The picture of the file bytes in format (D3DFMT_UNKNOWN: the file's), shared with other
    // textures of the file unless ownPicture (FilePictures; lookup is readImageInfo's of the same
    // bytes); true when made.
    bool createFromFileData(std::vector<u8> const& data, PictureLookup const& lookup, D3DFORMAT format,
                            bool ownPicture);
    // The loading path of both file recipes: reads an opened image file (requested names it in
    // the log line when it was not found; a picture whose first bytes declare a size refused by
    // acceptsImageSize is not read on), takes its information and, unless suspended, creates
    // the texture. False (logged) when missing, unreadable, no loadable image or over the
    // picture budget. A file that cannot be read is logged once for the run, however often the
    // texture is made again.
    bool loadImageFile(File& source, std::wstring const& requested, TextureLoadParams const& limits,
                       D3DFORMAT format, bool ownPicture);
    // A "CUT" part: its own texture with the pixels of part copied from source.
    bool copyPart(Texture2D& source, RECT const& part, bool pow2);
    // "CLEAR_RGB": transparent pixels become (0, 0, 0, 0).
    void clearTransparentRGB();
    // Pixel list picking shared by randomPixel and randomPixelInRect.
    static u32 pickRandom(std::vector<u32> const& list);
    // The bytes of a pixel of the locked rectangle, or null.
    u8* lockedPixel(u32 x, u32 y, u32& pixelSize) const;

    u8 sizeKnown_ = 0;
    RECT rect_{0, 0, 0, 0};
    u32 width_ = 0;
    u32 height_ = 0;
    u8 locked_ = 0;
    D3DLOCKED_RECT lockedRect_{};
    RECT lockArea_{0, 0, 0, 0};
    u32 lockedWidth_ = 0;
    u32 lockedHeight_ = 0;
    // The format of the locked level.
    D3DFORMAT lockedFormat_ = D3DFMT_UNKNOWN;
    IDirect3DTexture9* texture_ = nullptr;
    TextureCreateParams createParams_;
    // The creation parameters loadFromFile was called with (its recipe).
    TextureCreateParams requestedParams_;
    Texture2D* source_ = nullptr;
    std::vector<u32> pixelList_;
    u8 pixelListBuilt_ = 0;
    float scaleU_ = 1.0f;
    float scaleV_ = 1.0f;
    // Set once the texture was locked for writing: from then on its picture is its own.
    u8 ownPicture_ = 0;
};

}  // namespace Orvex
