// The pictures decoded from image files: the one store of them, within one pixel budget. A file
// is read once: its decoded picture is kept by the file's bytes (compared whole) for every texture
// made of it again, by any name, on this device or a later one (a device reset, a second game
// object in one process), and the textures naming one file with the same creation parameters
// hold one device texture: a texture list naming one file under four names decodes it once. Its
// information is kept likewise from the first read of its header when its picture is to be made,
// and a file the image readers refuse is remembered the same way: it is not read again.
// A load hashes its file's bytes once and compares them with a kept file's at most once: describe
// hands what it found on to obtain (PictureLookup). A texture loaded suspended, which may never be
// shown, only notes its size: its file is looked up only when a kept file has its length (else
// the header is read, as cheap as hashing the bytes), and nothing of it is kept but a refusal
// until the texture is shown.
//
// A uniform PNG of about 1 MB can declare 16,384 x 16,384 pixels, a gigabyte decoded and as much
// again on the device, so:
//  - a picture of more than kMaxPicturePixels is not decoded (fitsPicture; the texture stays
//    unmade);
//  - the pictures held at once stay within kMaxHeldPixels: the device textures some texture
//    holds, and the decoded pictures kept for reuse with the file bytes kept to compare them (four
//    bytes counted as a pixel). Kept pictures give way to pictures in use, the least recently used
//    first; a picture that would take those in use past the budget is not made (obtain says so);
//  - a picture of more than a quarter of the budget, or a file whose bytes are more than
//    twice its picture's (chunks of no use), is not kept, nor a refused file whose bytes are more
//    than a quarter of it; nor more than kMaxFiles files (tiny pictures would else be kept by the
//    thousand, each with its bytes).
// The texture logs one line naming the file for a refusal, once per file however many textures
// name it (firstRefusal); likewise for what the image readers left out of a file they read
// (firstNotice), whose notes the store gives again with a kept picture. Tests set smaller
// budgets (setBudget). A texture that writes into its picture ("CLEAR_RGB", or a lock for
// writing) has a device texture of its own, never shared, which counts toward the budget all the
// same.
//
// The store keeps one reference of each device texture. One that no texture holds any more is let
// go when the texture that held it last releases it (released), when the budget is short, and on
// a lost device (D3DPOOL_DEFAULT pictures) or a shut-down device (all); the decoded pictures stay.
#pragma once

#include <compare>
#include <list>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/core/Types.h"
#include "engine/render/PictureLookup.h"
#include "engine/render/TextureParams.h"
#include "port/d3dx9/d3dx9.h"
#include "port/d3dx9/d3dx9_port.h"
#include "signals/sigslot.h"

namespace Orvex {

class FilePictures : public sigslot::has_slots<sigslot::single_threaded> {
public:
    // 4096 x 4096 pixels, 64 MB decoded: 32 times the largest picture the game ships.
    static constexpr u64 kMaxPicturePixels = u64{1} << 24;
    // Four such pictures, 256 MB; the game's own take about 15 million pixels in use and as many kept.
    static constexpr u64 kMaxHeldPixels = u64{1} << 26;
    // Files kept at most, however small.
    static constexpr std::size_t kMaxFiles = 4096;

    enum class Result { kMade, kShared, kOverBudget, kFailed };
    struct Budget {
        u64 picturePixels = kMaxPicturePixels;
        // In use and kept for reuse together.
        u64 heldPixels = kMaxHeldPixels;
    };

    static FilePictures& instance();

    // Kept pictures past a smaller budget are let go at once.
    void setBudget(Budget const& budget);
    Budget const& getBudget() const { return budget_; }
    bool fitsPicture(u64 width, u64 height) const { return width * height <= budget_.picturePixels; }

    // What the caller of describe does next with the file: makes its picture (the bytes are looked
    // up, and the information read is kept with them for the picture to take over), or only notes
    // its size (a texture loaded suspended: bytes no kept file matches in length are not looked up
    // but their header read, and nothing of the file is kept but a refusal, the readers' or of a
    // picture too large to be made).
    enum class Then { kMakePicture, kNoteSize };
    // The information of the file's bytes: the kept file's, else read from its header. False
    // with the readers' reason in why when they refuse the file (now or before: it is not read
    // again). lookup gets what obtain on the same bytes goes on from.
    bool describe(std::vector<u8> const& data, D3DXIMAGE_INFO& info, std::string& why, PictureLookup& lookup,
                  Then then);
    bool describe(std::vector<u8> const& data, D3DXIMAGE_INFO& info, std::string& why) {
        PictureLookup lookup;
        return describe(data, info, why, lookup, Then::kMakePicture);
    }
    // A picture of the file's bytes: the shared one when it is made already (unless own), else
    // made from the kept picture or decoded, when its pixels (the file's width x height) fit the
    // budget. On kMade and kShared, texture holds a reference of the caller's own and info the
    // picture's information; on kFailed hr is the failure and why the readers' reason, if theirs.
    // lookup is describe's of the same bytes, which are then not looked up again; without one
    // (hashed false) they are.
    Result obtain(std::wstring const& file, std::vector<u8> const& data, u64 pixels, TextureCreateParams const& p,
                  D3DFORMAT format, bool own, IDirect3DTexture9*& texture, D3DXIMAGE_INFO& info, HRESULT& hr,
                  std::string& why, PictureLookup lookup = {});
    // Whether texture is a picture others may share (a writer must have its own).
    bool isShared(IDirect3DTexture9* texture) const;
    // After a holder released a reference of texture and `left` remain: let go of the picture
    // when the store's is the last.
    static void released(IDirect3DTexture9* texture, ULONG left);
    // The pixels of the pictures held by some texture.
    u64 heldPixels();
    // The pixels of the pictures kept for reuse, with their files' bytes at four a pixel.
    u64 keptPixels() const { return kept_; }
    // How often the image readers were run on a file (a header read or a decode).
    u64 fileReads() const { return reads_; }
    // The bytes of files hashed to look them up, and compared with a kept file's bytes.
    u64 bytesHashed() const { return hashed_; }
    u64 bytesCompared() const { return compared_; }
    // True the first time a picture of the file is refused (until the device shuts down).
    bool firstRefusal(std::wstring const& file) { return refused_.insert(file).second; }
    // True the first time the image readers leave something out of the file (until the device
    // shuts down): sixteen names of one hostile file give one line.
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
    // A device texture of a file.
    struct Entry {
        u64 pixels = 0;
        D3DPOOL pool = D3DPOOL_MANAGED;
        D3DXIMAGE_INFO info{};
        bool shared = false;
        Key key;
    };
    // A file read: its information, its picture once decoded, or the readers' reason to refuse it.
    struct File {
        std::size_t hash = 0;
        std::vector<u8> bytes;
        std::shared_ptr<port::dx::Image const> picture;
        D3DXIMAGE_INFO info{};
        std::vector<std::string> notes;
        std::string refusal;
        u64 charge = 0;
        u64 number = 0;  // given when kept, never again
        std::size_t length = 0;  // of the bytes, which a picture made of them takes over
    };

    FilePictures();
    ~FilePictures() override;
    // The bytes' hash, counted.
    std::size_t hashOf(std::vector<u8> const& data);
    // The kept file of these bytes, now the most recently used, with its notes given again.
    std::list<File>::iterator find(std::vector<u8> const& data, std::size_t hash);
    // The kept file a lookup found or kept, now the most recently used; end when it is gone.
    std::list<File>::iterator found(PictureLookup const& lookup);
    // The kept file's number, 0 when it is not kept.
    u64 keep(File file);
    void forget(std::list<File>::iterator file);
    // Lets kept files go, least recently used first, until the budget holds them.
    void trim();
    void drop(IDirect3DTexture9* texture);
    // Lets go of every picture that no one but the store holds.
    void sweep();
    void onDeviceLost();
    void onDeviceShutdown();

    std::unordered_map<IDirect3DTexture9*, Entry> entries_;
    std::map<Key, IDirect3DTexture9*> byKey_;
    u64 inUse_ = 0;
    // Most recently used first.
    std::list<File> files_;
    std::unordered_multimap<std::size_t, std::list<File>::iterator> fileIndex_;
    // How many kept files have each length.
    std::unordered_map<std::size_t, u32> keptLengths_;
    u64 kept_ = 0;
    u64 numbers_ = 0;
    u64 reads_ = 0;
    u64 hashed_ = 0;
    u64 compared_ = 0;
    Budget budget_;
    std::set<std::wstring> refused_;
    std::set<std::wstring> noticed_;
};

}  // namespace Orvex
