// The pictures decoded from image files, shared and within a pixel budget. A picture is decoded
// once per file (its name, length and bytes) and creation parameters, and every texture naming
// that file holds the same device texture: a texture list naming one file under four names
// decodes it once. A uniform PNG of about 1 MB can declare 16,384 x 16,384 pixels, a gigabyte
// decoded and as much again on the device, so:
//  - a picture of more than kMaxPicturePixels is not decoded (fitsPicture; the texture stays
//    unmade);
//  - nor one that would take the pictures held past kMaxHeldPixels (obtain says so);
// the texture logs one line naming the file for either, once per file however many textures
// name it (firstRefusal); likewise for what the image readers left out of a file they read
// (firstNotice). Tests set smaller budgets (setBudget). A texture that writes into its
// picture ("CLEAR_RGB", or a lock for writing) has a picture of its own, never shared, which
// counts toward the budget all the same.
//
// The store keeps one reference of each picture. One that no texture holds any more is let go
// when the texture that held it last releases it (released), when the budget is short before a
// decode, and on a lost device (D3DPOOL_DEFAULT pictures) or a shut-down device (all).
#pragma once

#include <compare>
#include <map>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/core/Types.h"
#include "engine/render/TextureParams.h"
#include "port/d3dx9/d3dx9.h"
#include "signals/sigslot.h"

namespace Orvex {

class FilePictures : public sigslot::has_slots<sigslot::single_threaded> {
public:
    // 4096 x 4096 pixels, 64 MB decoded: 32 times the largest picture the game ships.
    static constexpr u64 kMaxPicturePixels = u64{1} << 24;
    // Four such pictures, 256 MB decoded; the game's own hold about 15 million pixels.
    static constexpr u64 kMaxHeldPixels = u64{1} << 26;

    enum class Result { kMade, kShared, kOverBudget, kFailed };
    struct Budget {
        u64 picturePixels = kMaxPicturePixels;
        u64 heldPixels = kMaxHeldPixels;
    };

    static FilePictures& instance();

    void setBudget(Budget const& budget) { budget_ = budget; }
    Budget const& getBudget() const { return budget_; }
    bool fitsPicture(u64 width, u64 height) const { return width * height <= budget_.picturePixels; }

    // A picture of the file's bytes: the shared one when it is decoded already (unless own),
    // else decoded when its pixels (the file's width x height) fit the budget. On kMade and
    // kShared, texture holds a reference of the caller's own and info the picture's
    // information; hr is the decoder's result on kFailed.
    Result obtain(std::wstring const& file, std::vector<u8> const& data, u64 pixels, TextureCreateParams const& p,
                  D3DFORMAT format, bool own, IDirect3DTexture9*& texture, D3DXIMAGE_INFO& info, HRESULT& hr);
    // Whether texture is a picture others may share (a writer must have its own).
    bool isShared(IDirect3DTexture9* texture) const;
    // After a holder released a reference of texture and `left` remain: let go of the picture
    // when the store's is the last.
    static void released(IDirect3DTexture9* texture, ULONG left);
    // The pixels of the pictures held by some texture.
    u64 heldPixels();
    // True the first time a picture of the file is refused (until the device shuts down).
    bool firstRefusal(std::wstring const& file) { return refused_.insert(file).second; }
    // True the first time the image readers leave something out of the file (until the device
    // shuts down): sixteen names of one hostile file decode it sixteen times, with one line.
    bool firstNotice(std::wstring const& file) { return noticed_.insert(file).second; }

    FilePictures(FilePictures const&) = delete;
    FilePictures& operator=(FilePictures const&) = delete;

private:
    struct Key {
        std::wstring file;
        std::size_t length = 0;
        std::size_t hash = 0;
        UINT width = 0, height = 0, levels = 0;
        DWORD usage = 0;
        D3DFORMAT format = D3DFMT_UNKNOWN;
        D3DPOOL pool = D3DPOOL_MANAGED;
        DWORD filter = 0, mipFilter = 0;
        D3DCOLOR colorKey = 0;
        auto operator<=>(Key const&) const = default;
    };
    struct Entry {
        u64 pixels = 0;
        D3DPOOL pool = D3DPOOL_MANAGED;
        D3DXIMAGE_INFO info{};
        bool shared = false;
        Key key;
    };

    FilePictures();
    ~FilePictures() override;
    void drop(IDirect3DTexture9* texture);
    // Lets go of every picture that no one but the store holds.
    void sweep();
    void onDeviceLost();
    void onDeviceShutdown();

    std::unordered_map<IDirect3DTexture9*, Entry> entries_;
    std::map<Key, IDirect3DTexture9*> byKey_;
    u64 held_ = 0;
    Budget budget_;
    std::set<std::wstring> refused_;
    std::set<std::wstring> noticed_;
};

}  // namespace Orvex
