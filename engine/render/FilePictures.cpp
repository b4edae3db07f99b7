// The store of pictures decoded from image files (see FilePictures.h).
#include "engine/render/FilePictures.h"

#include <cstring>
#include <iterator>
#include <string_view>
#include <utility>

#include "engine/platform/D3DInterface.h"

namespace Orvex {

namespace {

// The store while it exists (released is called from textures destroyed at exit too).
FilePictures* gStore = nullptr;

// Bytes a kept file may have past twice its picture's (a header, a few chunks).
constexpr std::size_t kFileSlackBytes = 4096;

ULONG referencesOf(IDirect3DTexture9* texture) {
    texture->AddRef();
    return texture->Release();
}

// Runs a reader with its notes collected, to be kept with the file, and given on to the caller's.
template <class Read>
std::vector<std::string> noted(Read const& read) {
    std::vector<std::string> notes;
    {
        port::dx::ImageNotes const collected;
        read();
        notes = collected.each();
    }
    for (std::string const& note : notes) port::dx::ImageNotes::note(note);
    return notes;
}

}  // namespace

FilePictures& FilePictures::instance() {
    static FilePictures store;
    return store;
}

FilePictures::FilePictures() {
    D3DInterface& d3d = D3DInterface::getInstance();
    d3d.signalDeviceLost.connect(this, &FilePictures::onDeviceLost);
    d3d.signalDeviceShutdown.connect(this, &FilePictures::onDeviceShutdown);
    gStore = this;
}

FilePictures::~FilePictures() {
    gStore = nullptr;
    onDeviceShutdown();
}

void FilePictures::setBudget(Budget const& budget) {
    budget_ = budget;
    trim();
}

std::size_t FilePictures::hashOf(std::vector<u8> const& data) {
    hashed_ += data.size();
    return std::hash<std::string_view>{}(std::string_view(reinterpret_cast<char const*>(data.data()), data.size()));
}

std::list<FilePictures::File>::iterator FilePictures::find(std::vector<u8> const& data, std::size_t hash) {
    auto const range = fileIndex_.equal_range(hash);
    for (auto it = range.first; it != range.second; ++it) {
        std::list<File>::iterator const file = it->second;
        if (file->bytes.size() != data.size()) continue;
        compared_ += data.size();
        if (!data.empty() && std::memcmp(file->bytes.data(), data.data(), data.size()) != 0) continue;
        files_.splice(files_.begin(), files_, file);
        for (std::string const& note : file->notes) port::dx::ImageNotes::note(note);
        return file;
    }
    return files_.end();
}

std::list<FilePictures::File>::iterator FilePictures::found(PictureLookup const& lookup) {
    if (lookup.file == 0) return files_.end();
    auto const range = fileIndex_.equal_range(lookup.hash);
    for (auto it = range.first; it != range.second; ++it)
        if (it->second->number == lookup.file) {
            files_.splice(files_.begin(), files_, it->second);
            return it->second;
        }
    return files_.end();
}

u64 FilePictures::keep(File file) {
    u64 const bytes = (file.bytes.size() + 3) / 4;
    // A refusal costs its bytes alone, so it is kept like a picture of their size.
    u64 const declared = file.refusal.empty() ? u64{file.info.Width} * file.info.Height : bytes;
    if (declared > budget_.heldPixels / 4 || file.bytes.size() > 2 * declared * 4 + kFileSlackBytes) return 0;
    file.charge = (file.picture ? declared : 0) + bytes;
    file.number = ++numbers_;
    file.length = file.bytes.size();
    ++keptLengths_[file.length];
    kept_ += file.charge;
    files_.push_front(std::move(file));
    fileIndex_.emplace(files_.front().hash, files_.begin());
    u64 const number = files_.front().number;
    trim();
    // Kept past the budget, it gave way at once.
    return files_.empty() || files_.front().number != number ? 0 : number;
}

void FilePictures::forget(std::list<File>::iterator file) {
    auto const range = fileIndex_.equal_range(file->hash);
    for (auto it = range.first; it != range.second; ++it)
        if (it->second == file) {
            fileIndex_.erase(it);
            break;
        }
    if (auto const length = keptLengths_.find(file->length); length != keptLengths_.end() && --length->second == 0)
        keptLengths_.erase(length);
    kept_ -= file->charge;
    files_.erase(file);
}

void FilePictures::trim() {
    auto over = [this] { return inUse_ + kept_ > budget_.heldPixels || files_.size() > kMaxFiles; };
    if (over()) sweep();
    while (over() && !files_.empty()) forget(std::prev(files_.end()));
}

bool FilePictures::describe(std::vector<u8> const& data, D3DXIMAGE_INFO& info, std::string& why,
                            PictureLookup& lookup, Then then) {
    lookup = PictureLookup{};
    // To note a size, bytes no kept file matches in length are not looked up: their header is read,
    // which costs no more than hashing them would.
    if (then == Then::kMakePicture || keptLengths_.count(data.size()) != 0) {
        lookup = PictureLookup{true, hashOf(data), 0};
        if (auto const file = find(data, lookup.hash); file != files_.end()) {
            lookup.file = file->number;
            why = file->refusal;
            if (!why.empty()) return false;
            info = file->info;
            return true;
        }
    }
    ++reads_;
    bool read = false;
    std::vector<std::string> notes = noted([&] { read = port::dx::imageInfo(data.data(), data.size(), info, why); });
    // Nothing is kept for a size only noted but a refusal, of the readers or for a picture too large
    // to be made: it is not read again, and the textures that make their pictures find it.
    if (then == Then::kNoteSize && read && fitsPicture(info.Width, info.Height)) return true;
    if (!lookup.hashed) lookup = PictureLookup{true, hashOf(data), 0};
    lookup.file = keep(File{lookup.hash, data, nullptr, info, std::move(notes), read ? "" : why});
    return read;
}

FilePictures::Result FilePictures::obtain(std::wstring const& file, std::vector<u8> const& data, u64 pixels,
                                          TextureCreateParams const& p, D3DFORMAT format, bool own,
                                          IDirect3DTexture9*& texture, D3DXIMAGE_INFO& info, HRESULT& hr,
                                          std::string& why, PictureLookup lookup) {
    texture = nullptr;
    hr = S_OK;
    IDirect3DDevice9* device = D3DInterface::getInstance().getDevice();
    if (!device) {
        hr = D3DERR_INVALIDCALL;
        return Result::kFailed;
    }
    std::size_t const hash = lookup.hashed ? lookup.hash : hashOf(data);
    Key const key{file,    data.size(), hash,   p.Width,  p.Height,    p.MipLevels,
                  p.Usage, format,      p.Pool, p.Filter, p.MipFilter, p.ColorKey};
    if (!own) {
        if (auto const found = byKey_.find(key); found != byKey_.end()) {
            texture = found->second;
            texture->AddRef();
            info = entries_[texture].info;
            return Result::kShared;
        }
    }
    // Described already, the bytes are the kept file describe found or kept, or none.
    auto const kept = lookup.hashed ? found(lookup) : find(data, hash);
    if (kept != files_.end() && !kept->refusal.empty()) {
        hr = D3DXERR_INVALIDDATA;
        why = kept->refusal;
        return Result::kFailed;
    }
    if (inUse_ + pixels > budget_.heldPixels) sweep();
    if (inUse_ + pixels > budget_.heldPixels) return Result::kOverBudget;
    std::shared_ptr<port::dx::Image const> picture;
    D3DXIMAGE_INFO fileInfo{};
    if (kept != files_.end() && kept->picture) {
        picture = kept->picture;
        fileInfo = kept->info;
    } else {
        ++reads_;
        std::vector<std::string> notes =
            noted([&] { picture = port::dx::decodeImageFile(data.data(), data.size(), fileInfo, why); });
        // The file's information alone gives way to its picture, and hands it its copy of the bytes.
        std::vector<u8> bytes = kept != files_.end() ? std::move(kept->bytes) : data;
        if (kept != files_.end()) forget(kept);
        keep(File{hash, std::move(bytes), picture, fileInfo, std::move(notes), picture ? "" : why});
        if (!picture) {
            hr = D3DXERR_INVALIDDATA;
            return Result::kFailed;
        }
    }
    hr = port::dx::createTextureFromImage(device, *picture, fileInfo, p.Width, p.Height, p.MipLevels, p.Usage, format,
                                          p.Pool, p.Filter, p.MipFilter, p.ColorKey, &info, &texture);
    if (FAILED(hr) || !texture) {
        texture = nullptr;
        return Result::kFailed;
    }
    texture->AddRef();  // the store's
    entries_[texture] = Entry{pixels, p.Pool, info, !own, key};
    if (!own) byKey_[key] = texture;
    inUse_ += pixels;
    trim();
    return Result::kMade;
}

bool FilePictures::isShared(IDirect3DTexture9* texture) const {
    auto const found = entries_.find(texture);
    return found != entries_.end() && found->second.shared;
}

void FilePictures::released(IDirect3DTexture9* texture, ULONG left) {
    if (gStore && left == 1 && gStore->entries_.count(texture)) gStore->drop(texture);
}

u64 FilePictures::heldPixels() {
    sweep();
    return inUse_;
}

void FilePictures::drop(IDirect3DTexture9* texture) {
    auto const found = entries_.find(texture);
    if (found == entries_.end()) return;
    inUse_ -= found->second.pixels;
    if (found->second.shared) byKey_.erase(found->second.key);
    entries_.erase(found);
    texture->Release();
}

void FilePictures::sweep() {
    std::vector<IDirect3DTexture9*> unheld;
    for (auto const& [texture, entry] : entries_)
        if (referencesOf(texture) == 1) unheld.push_back(texture);
    for (IDirect3DTexture9* texture : unheld) drop(texture);
}

void FilePictures::onDeviceLost() {
    // The device is reset only once every D3DPOOL_DEFAULT texture is gone.
    std::vector<IDirect3DTexture9*> lost;
    for (auto const& [texture, entry] : entries_)
        if (entry.pool == D3DPOOL_DEFAULT) lost.push_back(texture);
    for (IDirect3DTexture9* texture : lost) drop(texture);
}

void FilePictures::onDeviceShutdown() {
    while (!entries_.empty()) drop(entries_.begin()->first);
    refused_.clear();
    noticed_.clear();
}

}  // namespace Orvex
