// The game's global settings object, installed in the engine as its user globals: the sound and
// music volumes, the chosen mouse cursor, the number of gods, a kept copy of the game's own
// settings subtree "SOLITAIRE" (the card-look choices of the style settings), and the frame
// texture "RECTS" with the nine-slice pieces through which every framed panel is drawn.
//
// Settings ("API_PARAMS" of config.cfg): child "VOLUME" with "SOUNDVOLUME" and "MUSICVOLUME"
// (0 to 100), attribute "MOUSE_CURSOR" (0 to 2 a cursor drawn by the game, 3 the system arrow)
// and child "SOLITAIRE". Values are kept as read, out of range or not, and written back so; the
// volume setters clamp, and the sound and music managers clamp what they are handed. A cursor
// value outside 0 to 3 is kept too, but shown as the system arrow (getShownCursor). Nothing in
// the game makes a settings music stream, so the object holds none.
//
// Frames: the texture is a grid of 100-pixel cells, each holding a 90 x 90 nine-slice frame of
// 30-pixel pieces; a row holds three layers of three frames each (columns 0-2, 3-5, 6-8).
//
// MyGlobals.cpp: settings and volumes; MyGlobals_frames.cpp: the frame texture and drawFrame.
#pragma once

#include "engine/core/UserGlobals.h"
#include "engine/core/XMLNode.h"
#include "port/d3d9/d3d9types.h"
#include "port/win32/windows_types.h"

namespace Orvex {
class BaseSprite;
class Texture2D;
}  // namespace Orvex

namespace Solitaire {

class MyGlobals : public Orvex::UserGlobals {
public:
    // Cursor modes: the game's cursor pictures 0 to 2, the system arrow 3.
    static constexpr int kFirstDrawnCursor = 0;
    static constexpr int kLastDrawnCursor = 2;
    static constexpr int kSystemCursor = 3;
    static constexpr float kDefaultMusicVolume = 50.0f;
    static constexpr float kDefaultSoundVolume = 75.0f;
    static constexpr float kMaxVolume = 100.0f;
    static constexpr unsigned kDefaultGodCount = 3;
    // Profiles a player may keep; the profile list shows this many rows.
    static constexpr int kMaxProfiles = 8;
    // The frame texture's grid and its pieces.
    static constexpr int kFrameCell = 100;
    static constexpr int kFramePiece = 30;
    static constexpr int kPieces = 9;
    // Column offsets of the second and third layer within a row.
    static constexpr int kSecondLayerColumn = 3;
    static constexpr int kThirdLayerColumn = 6;

    MyGlobals();
    ~MyGlobals() override;

    bool load(Orvex::XMLNode& node) override;
    bool save(Orvex::XMLNode& node) override;

    float getMusicVolume() const { return musicVolume_; }
    float getSoundVolume() const { return soundVolume_; }
    // Clamped to 0..100, stored, then both volumes applied to the managers.
    void setMusicVolume(float const& volume);
    void setSoundVolume(float const& volume);
    // Hands both volumes to the sound and music managers (each / 100).
    void applyVolumes() const;

    int getMouseCursor() const { return mouseCursor_; }
    void setMouseCursor(int const& cursor) { mouseCursor_ = cursor; }
    // The cursor as shown: 0 to 2 as stored, any other value the system arrow.
    int getShownCursor() const;

    unsigned getGodCount() const { return godCount_; }
    void setGodCount(unsigned count) { godCount_ = count; }

    // The kept "SOLITAIRE" node (read by the style settings at start-up, refilled at exit).
    Orvex::XMLNode& getSolitaireNode() { return solitaire_; }

    // Loads "Data\Menu\rects.tex" into the device's texture list and takes "RECTS"; the nine
    // source pieces are set either way. False when "RECTS" is missing.
    bool loadFrames();
    Orvex::Texture2D* getFrameTexture() const { return frameTexture_; }
    // Sets the current pieces to the frame at (row, column) of the grid.
    void selectFrameStyle(int row, int column);
    RECT const* getCurrentPieces() const { return current_; }
    // A framed panel in three layers: (row, columnA) in colourA, (row, columnB + 3) in colourB,
    // (row, columnC + 6) in colourC, each as nine pieces around the rectangle with corners of
    // border pixels (at most half the smaller side). Needs a begun sprite batch; draws nothing
    // without the frame texture.
    void drawFrame(RECT const& rect, int border, D3DCOLOR colourA, D3DCOLOR colourC, D3DCOLOR colourB, int row,
                   int columnA, int columnC, int columnB);
    // The nine destination rectangles of drawFrame (row-major, corners of border pixels).
    static void framePieces(RECT const& rect, int border, RECT out[kPieces]);
    // The batcher drawFrame draws through; null (the default) is the engine's batcher.
    void setSprite(Orvex::BaseSprite* sprite) { sprite_ = sprite; }

private:
    void drawLayer(RECT const destination[kPieces], D3DCOLOR colour);

    Orvex::XMLNode solitaire_;
    Orvex::Texture2D* frameTexture_ = nullptr;
    RECT source_[kPieces]{};
    RECT current_[kPieces]{};
    float musicVolume_ = kDefaultMusicVolume;
    float soundVolume_ = kDefaultSoundVolume;
    int mouseCursor_ = kSystemCursor;
    unsigned godCount_ = kDefaultGodCount;
    Orvex::BaseSprite* sprite_ = nullptr;
};

}  // namespace Solitaire
