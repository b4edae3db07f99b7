// Sprite placement, its transform and quad, and the draw-mode words.
#include "engine/render/SpriteRect.h"
#include "port/d3dx9/d3dx9math.h"

#include <cwctype>

namespace Orvex {

namespace {


struct ModeWord {
    wchar_t const* word;
    u8 bit;
};

// Each long form before its short form.
constexpr ModeWord kModeWords[] = {
    {L"SDP_SCALE", SDP_SCALE},
    {L"SCALE", SDP_SCALE},
    {L"SDP_REPEAT", SDP_REPEAT},
    {L"REPEAT", SDP_REPEAT},
    {L"SDP_STRETCH", SDP_STRETCH},
    {L"STRETCH", SDP_STRETCH},
    {L"SDP_ALIGN_FRONT", SDP_ALIGN_FRONT},
    {L"ALIGN_FRONT", SDP_ALIGN_FRONT},
    {L"SDP_ALIGN_BACK", SDP_ALIGN_BACK},
    {L"ALIGN_BACK", SDP_ALIGN_BACK},
    {L"SDP_CLAMP", SDP_CLAMP},
    {L"CLAMP", SDP_CLAMP},
    {L"SDP_STRETCH_NUMBER", SDP_STRETCH_NUMBER},
    {L"STRETCH_NUMBER", SDP_STRETCH_NUMBER},
    {L"SDP_REPEAT_INT", SDP_REPEAT_INT},
    {L"REPEAT_INT", SDP_REPEAT_INT},
};

}  // namespace

u8 parseSpriteDrawMode(std::wstring const& word) {
    std::wstring upper(word);
    for (wchar_t& c : upper) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    for (ModeWord const& m : kModeWords)
        if (upper == m.word) return m.bit;
    return 0;
}

SpriteRect::SpriteRect(D3DXVECTOR2 const& position, D3DXVECTOR2 const& size, float rotationDegrees,
                       D3DXVECTOR2 const& centre, u32 centreFlags)
    : x(position.x), y(position.y), w(size.x), h(size.y), cx(centre.x), cy(centre.y), rotation(rotationDegrees),
      flags(centreFlags) {}

SpriteRect SpriteRect::fromFRect(FRect const& rect, float rotationDegrees, D3DXVECTOR2 const& centre, u32 centreFlags) {
    return SpriteRect(D3DXVECTOR2(rect.left, rect.top), D3DXVECTOR2(rect.right - rect.left, rect.bottom - rect.top),
                      rotationDegrees, centre, centreFlags);
}

SpriteRect SpriteRect::fromDrawRecord(SpriteQuadPiece const& piece) {
    float const sw = static_cast<float>(piece.source.right - piece.source.left);
    float const sh = static_cast<float>(piece.source.bottom - piece.source.top);
    return SpriteRect(piece.translation, D3DXVECTOR2(piece.scaling.x * sw, piece.scaling.y * sh),
                      D3DXToDegree(piece.rotation), piece.rotationCentre, 0);
}

D3DXMATRIX makeSpriteMatrix(SpriteRect const& rect) {
    D3DXVECTOR2 centre(rect.cx, rect.cy);
    D3DXVECTOR2 position(rect.x, rect.y);
    if (rect.flags & SpriteRect::kCentreRelative) centre = D3DXVECTOR2(rect.w * rect.cx, rect.h * rect.cy);
    if (rect.flags & SpriteRect::kCentreAbsolute) centre -= position;
    if (rect.flags & SpriteRect::kPositionIsCentre) position -= centre;
    D3DXMATRIX m;
    D3DXMatrixTransformation2D(&m, nullptr, 0.0f, nullptr, &centre, D3DXToRadian(rect.rotation), &position);
    return m;
}

My2DQuad makeQuad(SpriteRect const& rect) {
    D3DXMATRIX const m = makeSpriteMatrix(rect);
    D3DXVECTOR2 const in[4] = {{0.0f, 0.0f}, {rect.w, 0.0f}, {rect.w, rect.h}, {0.0f, rect.h}};
    D3DXVECTOR2 out[4];
    D3DXVec2TransformCoordArray(out, sizeof(D3DXVECTOR2), in, sizeof(D3DXVECTOR2), &m, 4);
    return My2DQuad(out[0], out[1], out[2], out[3]);
}

FRect boundingRectOfSpriteRect(SpriteRect const& rect) { return makeQuad(rect).getBoundingRect(); }

}  // namespace Orvex
