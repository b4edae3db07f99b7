// The engine batcher's drawing: sorting, techniques, and the lists streamed through the vertex
// ring in chunks of up to kMaxTextureSlots textures.
#include "engine/render/Sprite.h"

#include <algorithm>
#include <cstring>
#include <cstdint>
#include <set>
#include <string>
#include <utility>

#include "engine/core/Logger.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/Effect.h"

namespace Orvex {

namespace {

char const* const kTextureParameters[Sprite::kMaxTextureSlots] = {"g_Textur0", "g_Textur1", "g_Textur2", "g_Textur3",
                                                                  "g_Textur4", "g_Textur5", "g_Textur6", "g_Textur7"};

// Selects a technique by name; false (said once per effect and technique) when the effect
// lacks it.
bool selectTechnique(ID3DXEffect& effect, Effect const& owner, char const* name) {
    D3DXHANDLE const technique = effect.GetTechniqueByName(name);
    if (technique && SUCCEEDED(effect.SetTechnique(technique))) return true;
    // By the effect's running id and the name: another effect, or another technique of the same
    // effect, missing must still be reported.
    static std::set<std::pair<u32, std::string>> said;
    if (said.emplace(owner.getId(), name).second) {
        logError(L"Sprite: the effect \"" + owner.getName() + L"\" has no technique " +
                 std::wstring(name, name + std::strlen(name)) + L", its sprites are not drawn (said once)");
    }
    return false;
}

std::uintptr_t address(IDirect3DTexture9* texture) { return reinterpret_cast<std::uintptr_t>(texture); }

// "TEX_COUNT" belongs to "Render2D" whichever technique draws. Only eight texture parameters
// exist, and a count below one could not hold the first texture; 0 when the effect has none.
int annotatedSlots(ID3DXEffect& effect) {
    D3DXHANDLE const annotation = effect.GetAnnotationByName(effect.GetTechniqueByName("Render2D"), "TEX_COUNT");
    INT count = 0;
    if (!annotation || FAILED(effect.GetInt(annotation, &count))) return 0;
    return std::clamp<int>(count, 1, Sprite::kMaxTextureSlots);
}

}  // namespace

void Sprite::drawBatch(bool with3D) {
    if (!vertexBuffer_ || !indexBuffer_ || (list2D_.empty() && (!with3D || list3D_.empty()))) return;
    // An effect that failed to load has no D3DX effect: nothing can be drawn with it.
    ID3DXEffect* const effect = effect_ ? effect_->getD3DXEffect() : nullptr;
    IDirect3DDevice9* const device = d3d_->getDevice();
    if (!effect || !device) return;
    device->SetStreamSource(0, vertexBuffer_, 0, sizeof(SpriteVertex));
    device->SetIndices(indexBuffer_);
    if (with3D && !list3D_.empty()) draw3DList(*effect);
    if (!list2D_.empty()) draw2DList(*effect);
}

void Sprite::draw3DList(ID3DXEffect& effect) {
    IDirect3DDevice9* const device = d3d_->getDevice();
    device->SetFVF(kFVF3D);
    char const* technique = "Render3D";
    if (flags_ & D3DXSPRITE_ALPHABLEND) technique = (flags_ & kSpriteAlphaTest) ? "Render3DAlphaTest" : "Render3DAlpha";
    if (!selectTechnique(effect, *effect_, technique)) return;
    D3DXMATRIX view;
    D3DXMATRIX projection;
    device->GetTransform(D3DTS_VIEW, &view);
    device->GetTransform(D3DTS_PROJECTION, &projection);
    D3DXMATRIX inverse;
    if (!D3DXMatrixInverse(&inverse, nullptr, &view)) D3DXMatrixIdentity(&inverse);
    D3DXMATRIX viewInv;
    D3DXMatrixIdentity(&viewInv);
    if (flags_ & D3DXSPRITE_BILLBOARD) {
        viewInv = inverse;
        viewInv._41 = viewInv._42 = viewInv._43 = 0.0f;
    }
    bool const backToFront = (flags_ & D3DXSPRITE_SORT_DEPTH_BACKTOFRONT) != 0;
    bool const depthSort = (flags_ & (D3DXSPRITE_SORT_DEPTH_BACKTOFRONT | D3DXSPRITE_SORT_DEPTH_FRONTTOBACK)) &&
                           !(backToFront && (flags_ & kSpriteAlphaTest));
    if (depthSort) {
        D3DXVECTOR4 const camera(inverse._41, inverse._42, inverse._43, 0.0f);
        for (SpriteDrawRecord& r : list3D_) {
            float const* c = r.vertices[0].centre;
            D3DXVECTOR4 const d(c[0] - camera.x, c[1] - camera.y, c[2] - camera.z, c[3] - camera.w);
            r.distance = d.x * d.x + d.y * d.y + d.z * d.z + d.w * d.w;
        }
        if (backToFront)
            std::sort(list3D_.begin(), list3D_.end(),
                      [](SpriteDrawRecord const& a, SpriteDrawRecord const& b) { return a.distance > b.distance; });
        else
            std::sort(list3D_.begin(), list3D_.end(),
                      [](SpriteDrawRecord const& a, SpriteDrawRecord const& b) { return a.distance < b.distance; });
    }
    effect.SetMatrix("g_ViewInv", &viewInv);
    effect.SetMatrix("g_View", &view);
    effect.SetMatrix("g_Projection", &projection);
    // 3D chunks keep the slot count they have, but never more than the effect's slots.
    if (int const slots = annotatedSlots(effect)) textureSlots_ = std::min(textureSlots_, slots);
    drawList(effect, list3D_, nullptr);
}

void Sprite::sortByTexture() {
    // The same comparisons at the same positions give the same order as sorting the records.
    // The keys sit beside the indices, so comparing reads no record (records are 208 bytes apart),
    // and the records stay where they are: the list is drawn through the sorted indices.
    sortOrder_.resize(list2D_.size());
    for (std::size_t i = 0; i < sortOrder_.size(); ++i)
        sortOrder_[i] = SortKey{address(list2D_[i].texture), static_cast<u32>(i)};
    std::sort(sortOrder_.begin(), sortOrder_.end(),
              [](SortKey const& a, SortKey const& b) { return a.texture > b.texture; });
    sortPending_ = true;
}

std::vector<SpriteDrawRecord> const& Sprite::get2DList() {
    if (sortPending_ && sortOrder_.size() == list2D_.size()) {
        sortScratch_.clear();
        for (SortKey const& k : sortOrder_) sortScratch_.push_back(list2D_[k.index]);
        list2D_.swap(sortScratch_);
    }
    sortPending_ = false;
    return list2D_;
}

void Sprite::draw2DList(ID3DXEffect& effect) {
    d3d_->getDevice()->SetFVF(kFVF2D);
    bool const sorted = (flags_ & D3DXSPRITE_SORT_TEXTURE) != 0;
    if (sorted) sortByTexture();
    if (!selectTechnique(effect, *effect_, (flags_ & D3DXSPRITE_ALPHABLEND) ? "Render2DAlpha" : "Render2D")) return;
    if (int const slots = annotatedSlots(effect)) textureSlots_ = slots;
    drawList(effect, list2D_, sorted ? &sortOrder_ : nullptr);
}

void Sprite::drawList(ID3DXEffect& effect, std::vector<SpriteDrawRecord>& list, std::vector<SortKey> const* order) {
    auto record = [&list, order](std::size_t i) -> SpriteDrawRecord& { return list[order ? (*order)[i].index : i]; };
    UINT passes = 0;
    if (FAILED(effect.Begin(&passes, 0))) return;
    // Handles once per list: a name is looked up at every use.
    for (int s = 0; s < kMaxTextureSlots; ++s) {
        textureHandles_[s] = effect.GetParameterByName(nullptr, kTextureParameters[s]);
        if (!textureHandles_[s]) textureHandles_[s] = kTextureParameters[s];
    }
    // With one pass (every sprite technique) the pass stays begun and each chunk commits its
    // textures; with more, each chunk runs all passes before the next is drawn.
    bool const onePass = passes == 1;
    if (onePass) effect.BeginPass(0);
    std::size_t next = 0;
    while (next < list.size()) {
        // The chunks up to the ring's end are planned first and written with one lock: one
        // upload for many draws instead of one each.
        chunks_.clear();
        u32 position = ringPosition_;
        bool wrapped = false;
        while (next < list.size() && !wrapped) {
            Chunk& chunk = chunks_.emplace_back();
            chunk.first = next;
            chunk.ring = position;
            // The chunk grows while the ring has room after it and its textures fit the slots.
            while (next + chunk.count < list.size() && position + chunk.count < kRingQuads) {
                SpriteDrawRecord& r = record(next + chunk.count);
                int slot = 0;
                while (slot < chunk.used && chunk.slots[slot] != r.texture) ++slot;
                if (slot == chunk.used) {
                    if (chunk.used >= textureSlots_) break;
                    chunk.slots[chunk.used++] = r.texture;
                }
                r.slot = static_cast<u8>(slot);
                ++chunk.count;
            }
            next += chunk.count;
            position += chunk.count + kChunkGap;
            wrapped = position >= kRingQuads;
        }
        writeChunks(list, order);
        for (Chunk const& chunk : chunks_) drawChunk(effect, passes, chunk, onePass);
        ringPosition_ = wrapped ? position % kRingQuads : position;
        discardNext_ = wrapped;
    }
    if (onePass) effect.EndPass();
    effect.End();
}

void Sprite::writeChunks(std::vector<SpriteDrawRecord> const& list, std::vector<SortKey> const* order) {
    Chunk const& last = chunks_.back();
    u32 const first = chunks_.front().ring;
    DWORD const lockFlags = discardNext_ ? D3DLOCK_DISCARD : D3DLOCK_NOOVERWRITE;
    if (discardNext_) ++stats_.discardLocks;
    void* data = nullptr;
    if (FAILED(vertexBuffer_->Lock(first * kQuadBytes, (last.ring + last.count - first) * kQuadBytes, &data,
                                   lockFlags)) ||
        !data)
        return;
    for (Chunk const& chunk : chunks_) {
        SpriteVertex* out = static_cast<SpriteVertex*>(data) + (chunk.ring - first) * kVerticesPerQuad;
        for (std::size_t i = chunk.first; i < chunk.first + chunk.count; ++i) {
            SpriteDrawRecord const& r = list[order ? (*order)[i].index : i];
            float const slot = static_cast<float>(r.slot);
            for (SpriteVertex const& v : r.vertices) {
                *out = v;
                out->slot = slot;
                ++out;
            }
        }
    }
    vertexBuffer_->Unlock();
}

void Sprite::drawChunk(ID3DXEffect& effect, UINT passes, Chunk const& chunk, bool passBegun) {
    for (int s = chunk.used - 1; s >= 0; --s) effect.SetTexture(textureHandles_[s], chunk.slots[s]);
    effect.CommitChanges();
    IDirect3DDevice9* const device = d3d_->getDevice();
    for (UINT pass = 0; pass < passes; ++pass) {
        if (!passBegun) effect.BeginPass(pass);
        device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, kRingQuads * kVerticesPerQuad,
                                     chunk.ring * kIndicesPerQuad, chunk.count * 2);
        if (!passBegun) effect.EndPass();
        ++stats_.drawCalls;
    }
    ++stats_.chunks;
    stats_.quads += chunk.count;
}

}  // namespace Orvex
