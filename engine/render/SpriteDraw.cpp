// Cutting a draw into pieces by the per-axis draw modes.
#include "engine/render/SpriteDraw.h"

#include <cmath>

#include "engine/core/Logger.h"
#include "port/d3dx9/d3dx9math.h"

namespace Orvex {

namespace {


// Largest count the builders convert; anything beyond is refused long before.
constexpr double kCountCeiling = 1.0e9;

// Truncation toward zero of a count; false for NaN and values far beyond any piece limit.
bool toCount(double v, long long& out) {
    if (!(std::fabs(v) < kCountCeiling)) return false;
    out = static_cast<long long>(v);
    return true;
}

// int(v + 0.5) of a remainder (at most one source side long).
long long nearest(float v) { return static_cast<long long>(v + 0.5f); }

void warnOnce(bool& said, wchar_t const* text) {
    if (said) return;
    said = true;
    logWarning(text);
}

bool saidNoArea = false;
bool saidUncountable = false;
bool saidCapped = false;

// One draw being cut: the target's frame on screen, its size, the source and the modes.
class PieceCutter {
public:
    PieceCutter(std::vector<SpriteQuadPiece>& out, RECT const& source, D3DXVECTOR2 origin, D3DXVECTOR2 ax,
                D3DXVECTOR2 ay, float rotation, float width, float height, u8 modeX, u8 modeY)
        : out_(out), source_(source), origin_(origin), ax_(ax), ay_(ay), rotation_(rotation), W_(width), H_(height),
          sw_(static_cast<float>(source.right - source.left)), sh_(static_cast<float>(source.bottom - source.top)),
          mx_(modeX), my_(modeY), start_(out.size()) {}

    // Runs the rules; firstOnly stops after the first rule that matched.
    void run(bool withStretchNumber, bool firstOnly) {
        if (!(sw_ > 0.0f && sh_ > 0.0f)) {
            warnOnce(saidNoArea, L"Sprite: source rectangle without area, nothing drawn (said once)");
            return;
        }
        if (clamp() && firstOnly) return finish();
        // The stretch rule stands back only for a repeat across X with a fitted Y.
        bool const fitsAcross = withStretchNumber && stretchNumber();
        if (!fitsAcross && stretch() && firstOnly) return finish();
        pairTable();
        finish();
    }

private:
    bool has(u8 mode, u8 bit) const { return (mode & bit) != 0; }

    // Pieces past the limit are dropped: a draw needing more shows its first kMaxSpritePieces.
    void add(RECT const& src, float scaleX, float scaleY, float a, float b) {
        if (full()) {
            capped_ = true;
            return;
        }
        SpriteQuadPiece p;
        p.source = src;
        p.rotation = rotation_;
        p.rotationCentre = D3DXVECTOR2(0.0f, 0.0f);
        p.scaling = D3DXVECTOR2(scaleX, scaleY);
        p.translation = origin_ + ax_ * a + ay_ * b;
        out_.push_back(p);
    }

    bool full() const { return out_.size() - start_ >= kMaxSpritePieces; }

    // Refuses the whole draw when its piece count cannot be counted (NaN, infinite or far beyond
    // any limit); countable draws go on and are capped by add.
    bool countable(bool ok) {
        if (!ok) refused_ = true;
        return ok;
    }

    void finish() {
        if (refused_) {
            out_.resize(start_);
            warnOnce(saidUncountable, L"Sprite: a draw needs an uncountable number of pieces, nothing drawn (said once)");
        } else if (capped_) {
            warnOnce(saidCapped, L"Sprite: a draw needs more pieces than the limit (tiny source, huge target), only "
                                 L"the first ones are drawn (said once)");
        }
    }

    // Natural size, centred or end-aligned.
    bool clamp() {
        if (!has(mx_, SDP_CLAMP) && !has(my_, SDP_CLAMP)) return false;
        float const f = has(mx_, SDP_ALIGN_BACK) ? 1.0f : 0.5f;
        float const g = has(my_, SDP_ALIGN_BACK) ? 1.0f : 0.5f;
        add(source_, 1.0f, 1.0f, (W_ - sw_) * f, (H_ - sh_) * g);
        return true;
    }

    // One axis fits exactly at a uniform scale; the other tiles, the last tile cut. True when
    // the X axis tiles (mode X repeat, mode Y stretch-number).
    bool stretchNumber() {
        bool const alongY = has(mx_, SDP_STRETCH_NUMBER) && has(my_, SDP_REPEAT);
        bool const alongX = !alongY && has(mx_, SDP_REPEAT) && has(my_, SDP_STRETCH_NUMBER);
        if (!alongY && !alongX) return false;
        float const scale = alongY ? W_ / sw_ : H_ / sh_;
        float const n = (alongY ? H_ / sh_ : W_ / sw_) / scale;
        long long k = 0;
        if (!countable(scale != 0.0f && toCount(n, k))) return alongX;
        float const step = (alongY ? sh_ : sw_) * scale;
        for (long long i = 0; i < k && !full(); ++i) {
            float const at = static_cast<float>(i) * step;
            add(source_, scale, scale, alongX ? at : 0.0f, alongY ? at : 0.0f);
        }
        RECT last = source_;
        LONG const cut = static_cast<LONG>((n - static_cast<float>(k)) / scale * step);
        float const at = static_cast<float>(k) * step;
        if (alongY) {
            last.bottom = last.top + cut;
            add(last, scale, scale, 0.0f, at);
        } else {
            last.right = last.left + cut;
            add(last, scale, scale, at, 0.0f);
        }
        return alongX;
    }

    // Offset of the slack on one axis: front-aligned, back-aligned or centred (mirrored sizes
    // move the aligned edge).
    static float slack(u8 mode, float extent, float used) {
        if (mode & SDP_ALIGN_FRONT) return extent < 0.0f ? extent - used : 0.0f;
        if (mode & SDP_ALIGN_BACK) return extent >= 0.0f ? extent - used : 0.0f;
        return (extent - used) * 0.5f;
    }

    // Uniform fit with the aspect kept.
    bool stretch() {
        if (!has(mx_, SDP_STRETCH) && !has(my_, SDP_STRETCH)) return false;
        float const fx = std::fabs(W_ / sw_);
        float const fy = std::fabs(H_ / sh_);
        float const s = fy < fx ? fy : fx;
        float const scaleX = W_ < 0.0f ? -s : s;
        float const scaleY = H_ < 0.0f ? -s : s;
        if (fy < fx)
            add(source_, scaleX, scaleY, slack(mx_, W_, scaleX * sw_), 0.0f);
        else
            add(source_, scaleX, scaleY, 0.0f, slack(my_, H_, scaleY * sh_));
        return true;
    }

    bool pair(u8 bx, u8 by) const { return has(mx_, bx) && has(my_, by); }

    // The remainder of a repeat: its length in source pixels, at least one pixel.
    static float remainder(float n, long long k, float size) {
        float const r = (n - static_cast<float>(k)) * size;
        return r < 0.5f ? 1.0f : r;
    }

    void pairTable() {
        if (pair(SDP_SCALE, SDP_SCALE)) {
            add(source_, W_ / sw_, H_ / sh_, 0.0f, 0.0f);
        } else if (pair(SDP_REPEAT, SDP_REPEAT)) {
            repeatBoth();
        } else if (pair(SDP_SCALE, SDP_REPEAT)) {
            repeatOne(false);
        } else if (pair(SDP_REPEAT, SDP_SCALE)) {
            repeatOne(true);
        } else if (pair(SDP_REPEAT_INT, SDP_REPEAT_INT)) {
            repeatWhole(true, true);
        } else if (pair(SDP_SCALE, SDP_REPEAT_INT)) {
            repeatWhole(false, true);
        } else if (pair(SDP_REPEAT_INT, SDP_SCALE)) {
            repeatWhole(true, false);
        }
    }

    void repeatBoth() {
        float const nx = W_ / sw_;
        float const ny = H_ / sh_;
        long long kx = 0;
        long long ky = 0;
        if (!countable(toCount(nx, kx) && toCount(ny, ky))) return;
        // Column by column; the loops stop at the limit, so a huge count costs no more than it.
        for (long long i = 0; i < kx && ky > 0 && !full(); ++i)
            for (long long j = 0; j < ky && !full(); ++j)
                add(source_, 1.0f, 1.0f, static_cast<float>(i) * sw_, static_cast<float>(j) * sh_);
        float const rx = remainder(nx, kx, sw_);
        float const ry = remainder(ny, ky, sh_);
        long long const rxn = nearest(rx);
        long long const ryn = nearest(ry);
        RECT right = source_;
        right.right = right.left + static_cast<LONG>(rxn);
        RECT bottom = source_;
        bottom.bottom = bottom.top + static_cast<LONG>(ryn);
        RECT corner = right;
        corner.bottom = bottom.bottom;
        float const scaleX = rx / static_cast<float>(rxn);
        float const scaleY = ry / static_cast<float>(ryn);
        float const edgeA = static_cast<float>(kx) * sw_;
        float const edgeB = static_cast<float>(ky) * sh_;
        for (long long j = 0; j < ky && !full(); ++j) add(right, scaleX, 1.0f, edgeA, static_cast<float>(j) * sh_);
        for (long long i = 0; i < kx && !full(); ++i) add(bottom, 1.0f, scaleY, static_cast<float>(i) * sw_, edgeB);
        add(corner, scaleX, scaleY, edgeA, edgeB);
    }

    // Repeat along one axis (alongX) with the other scaled to the target.
    void repeatOne(bool alongX) {
        float const size = alongX ? sw_ : sh_;
        float const n = (alongX ? W_ : H_) / size;
        long long k = 0;
        if (!countable(toCount(n, k))) return;
        float const across = alongX ? H_ / sh_ : W_ / sw_;
        for (long long i = 0; i < k && !full(); ++i) {
            float const at = static_cast<float>(i) * size;
            if (alongX)
                add(source_, 1.0f, across, at, 0.0f);
            else
                add(source_, across, 1.0f, 0.0f, at);
        }
        float const r = remainder(n, k, size);
        long long const rn = nearest(r);
        RECT last = source_;
        float const at = static_cast<float>(k) * size;
        float const cut = r / static_cast<float>(rn);
        if (alongX) {
            last.right = last.left + static_cast<LONG>(rn);
            add(last, cut, across, at, 0.0f);
        } else {
            last.bottom = last.top + static_cast<LONG>(rn);
            add(last, across, cut, 0.0f, at);
        }
    }

    // A whole number of tiles on each REPEAT_INT axis, stretched to fill; a SCALE axis has one
    // tile stretched to the target.
    void repeatWhole(bool tilesX, bool tilesY) {
        long long kx = 1;
        long long ky = 1;
        if ((tilesX && !toCount(W_ / sw_ + 0.5f, kx)) || (tilesY && !toCount(H_ / sh_ + 0.5f, ky)))
            return void(countable(false));
        if (kx <= 0 || ky <= 0) return;
        float const sx = tilesX ? (W_ / static_cast<float>(kx)) / sw_ : W_ / sw_;
        float const sy = tilesY ? (H_ / static_cast<float>(ky)) / sh_ : H_ / sh_;
        for (long long i = 0; i < kx && !full(); ++i)
            for (long long j = 0; j < ky && !full(); ++j)
                add(source_, sx, sy, static_cast<float>(i) * sx * sw_, static_cast<float>(j) * sy * sh_);
    }

    std::vector<SpriteQuadPiece>& out_;
    RECT source_;
    D3DXVECTOR2 origin_;
    D3DXVECTOR2 ax_;
    D3DXVECTOR2 ay_;
    float rotation_;
    float W_;
    float H_;
    float sw_;
    float sh_;
    u8 mx_;
    u8 my_;
    std::size_t start_;
    bool refused_ = false;
    bool capped_ = false;
};

}  // namespace

void buildSpriteQuads(std::vector<SpriteQuadPiece>& out, SpriteRect const& target, RECT const& source, u8 const& modeX,
                      u8 const& modeY) {
    D3DXMATRIX const m = makeSpriteMatrix(target);
    D3DXVECTOR2 const zero(0.0f, 0.0f);
    D3DXVECTOR2 origin;
    D3DXVec2TransformCoord(&origin, &zero, &m);
    D3DXVECTOR2 const units[2] = {{1.0f, 0.0f}, {0.0f, 1.0f}};
    D3DXVECTOR2 axes[2];
    D3DXVec2TransformNormalArray(axes, sizeof(D3DXVECTOR2), units, sizeof(D3DXVECTOR2), &m, 2);
    PieceCutter(out, source, origin, axes[0], axes[1], D3DXToRadian(target.rotation), target.w, target.h, modeX,
                modeY)
        .run(true, false);
}

void buildRectQuads(std::vector<SpriteQuadPiece>& out, RECT const& source, FRect const& target, u8 modeX, u8 modeY) {
    PieceCutter(out, source, D3DXVECTOR2(target.left, target.top), D3DXVECTOR2(1.0f, 0.0f), D3DXVECTOR2(0.0f, 1.0f),
                0.0f, target.right - target.left, target.bottom - target.top, modeX, modeY)
        .run(false, false);
}

void buildInRectQuads(std::vector<SpriteQuadPiece>& out, RECT const& source, FRect const& target, u8 modeX, u8 modeY) {
    PieceCutter(out, source, D3DXVECTOR2(target.left, target.top), D3DXVECTOR2(1.0f, 0.0f), D3DXVECTOR2(0.0f, 1.0f),
                0.0f, target.right - target.left, target.bottom - target.top, modeX, modeY)
        .run(false, true);
}

}  // namespace Orvex
