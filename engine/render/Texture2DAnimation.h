// Frame animations: a named, reference-counted list of frames cut from textures, played at a
// speed in frames per second as a loop, once, or forward and backward, and drawn through a
// sprite batcher. Definitions come from "ANIMATION_2D" nodes (".ani" files and graphics lists);
// users clone a registered animation to get their own play state.
//
// A copy has its own play state (position, speed, play type, playing, signals) but shares what
// the definition made: the frame table, the passing-frame events, the stored definition and the
// speed formula, all reference-counted; a copy that changes its frames (reversing them) copies
// the table first. A "RELOAD_ON_CLONE" copy rolls its own random speed and start frame as a
// reading of its definition would, from what that reading kept for copies (the keys, and the
// children that make frames only when those are ordered at random), so a copy never goes
// through the whole definition. It builds its own frame table only when the definition orders
// the frames at random, and its own formula only when that holds "rand[" (the source's with
// new random numbers; otherwise it draws the random numbers a compile would, so the engine's
// generator runs on as before, and shares the source's). Copies that build their own tables
// hold at most kMaxRolledEntries frames, formula nodes and elements read for them at a time; a
// copy past that shares its source's (one log line per animation, its copies and theirs
// together: a GUI file of templates built on templates made one line per copy).
//
// Definition keys: "ANIMSPEED" (speed, or a random range), "ANIMSPEED_TERM" (a speed factor
// formula, AnimationFormula.h), "RELOAD_ON_CLONE", "PLAY_TYPE" ("ONCE", "FORWARD_BACKWARD"),
// "TEXTURES" / "TEXTURE_FILE" (the definition's own textures), "FRAME" children (explicit
// frames of "FRAME_PART"s), "FRAMES" children (sheets cut by "FRAME_PARAMS": "ANZ_FRAMES",
// "SPALTEN", "REVERSE", "RECT_START", "CUT_RAND", "ORDER"), "ORDER", "DESIRED_SIZE", "REVERSE",
// "PLAY", "START_FRAME", "PASSING_FRAME_EVENT" children ("NAME", "FRAME_NR").
//
// Limits: a sheet has at most kMaxSheetFrames cells and "SPALTEN" below 1 counts as 1; an
// order list yields at most kMaxOrderLength frames and an animation reads at most kMaxFrames
// (the sets of an angle animation together; children past that are not read); frames built
// while a file is read take from its budget (AnimationFrameBudget.h), and log lines about its
// speed formula (AnimationFormula.h: size and depth bounds) name that file; frame edges lie
// within +-kMaxFrameEdge, so sizes and cuts computed from them cannot overflow. A looping animation
// keeps its position within one play period (the frame shown does not change by it) and
// reports `ended` once per pass; a speed or position that is not a finite number is ignored.
//
// Split: Texture2DAnimation.cpp (frames, playing, timing, state, cloning),
// Texture2DAnimation_load.cpp (reading a definition and finding its textures),
// Texture2DAnimation_draw.cpp (cutting the current frame into quads for the sprite draw modes).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/core/NamedObject.h"
#include "engine/core/Types.h"
#include "engine/core/XMLNode.h"
#include "engine/render/AnimationFormula.h"
#include "port/d3dx9/d3dx9math.h"
#include "port/win32/windows_types.h"
#include "signals/sigslot.h"

namespace Orvex {

class BaseSprite;
class Texture2D;
class TextureManager;
struct SpriteRect;

// One textured piece of a frame. Holds one reference on its texture.
struct AnimationFramePart {
    Texture2D* texture = nullptr;
    RECT texRect{0, 0, 0, 0};
    // Offset of the piece's top-left corner from the frame's top-left corner (frame pixels).
    D3DXVECTOR2 tl{0.0f, 0.0f};
    // Offset of the piece's bottom-right corner from the frame's bottom-right corner.
    D3DXVECTOR2 rb{0.0f, 0.0f};

    AnimationFramePart() = default;
    AnimationFramePart(AnimationFramePart const& other);
    AnimationFramePart(AnimationFramePart&& other) noexcept;
    AnimationFramePart& operator=(AnimationFramePart const& other);
    AnimationFramePart& operator=(AnimationFramePart&& other) noexcept;
    ~AnimationFramePart();

    // Replaces the texture, taking a reference on the new one (null allowed).
    void setTexture(Texture2D* tex);
};

// One frame: its parts in drawing order and its size. texture and rect repeat the first part's.
struct AnimationFrame {
    std::vector<AnimationFramePart> parts;
    float width = 0.0f;
    float height = 0.0f;
    Texture2D* texture = nullptr;
    RECT rect{0, 0, 0, 0};

    AnimationFrame() = default;
    AnimationFrame(AnimationFrame const& other);
    AnimationFrame(AnimationFrame&& other) noexcept;
    AnimationFrame& operator=(AnimationFrame const& other);
    AnimationFrame& operator=(AnimationFrame&& other) noexcept;
    ~AnimationFrame();

    // A frame of one part: the texture and rectangle, width and height from the rectangle.
    static AnimationFrame fromCell(Texture2D* tex, RECT const& rect);
    // Takes texture and rect from the first part (none without parts).
    void syncFirstPart();
};

struct PassingFrameEvent {
    std::wstring name;
    s32 frame = 0;
};

using AnimationFrames = std::vector<AnimationFrame>;

// An edge from data (a float) truncated toward zero into +-kMaxFrameEdge; 0 when not finite.
LONG frameEdge(double v);
// right - left (or bottom - top) without overflow, whatever the edges.
float frameSpan(LONG lo, LONG hi);

// The frame indexes an "ORDER" node makes of a source list of count frames: one instruction
// per value ("i", or "[repeat | rand a [b]] x from [- to]"), ranges in either direction, out-of-
// range indexes skipped; "RANDOM_SHUFFLE" shuffles the result with the runtime's generator.
std::vector<u32> parseFrameOrder(XMLNode const& order, u32 count);
// True when an "ORDER" node draws random numbers ("RANDOM_SHUFFLE", or a "rand" repeat).
bool frameOrderIsRandom(XMLNode const& order);
// The frames in the order of an "ORDER" node.
std::vector<AnimationFrame> applyFrameOrder(XMLNode const& order, std::vector<AnimationFrame> const& source);

class Texture2DAnimation : public NamedObject {
public:
    // playType bits.
    static constexpr u32 kForwardBackward = 1;
    static constexpr u32 kOnce = 2;
    static constexpr float kDefaultSpeed = 20.0f;
    static constexpr s32 kMaxSheetFrames = 4096;
    static constexpr u32 kMaxFrames = 16384;
    static constexpr u32 kMaxOrderLength = kMaxFrames;
    static constexpr LONG kMaxFrameEdge = 1 << 24;
    // Frames and formula nodes that "RELOAD_ON_CLONE" copies hold in tables of their own (and
    // the elements read to build them, when more), all copies together (about 30 MB).
    static constexpr std::size_t kMaxRolledEntries = std::size_t{1} << 18;

    // An empty animation (no frames) named by its id.
    Texture2DAnimation();
    // Defaults, then readXML.
    explicit Texture2DAnimation(XMLNode& node);
    // A clone: play state copied; frames, events, definition, formula and own textures shared;
    // signals unconnected. With "RELOAD_ON_CLONE" the definition is read again (see above).
    Texture2DAnimation(Texture2DAnimation const& other);
    Texture2DAnimation& operator=(Texture2DAnimation const&) = delete;
    ~Texture2DAnimation() override;

    void readXML(XMLNode& node) override;
    void writeXML(XMLNode& node) const override;
    // Drops formula and frames, speed 20, position 0, then reads the stored definition again.
    virtual void reload();
    // "PLAY", "SPEED", "PLAYTYPE", "FRAME".
    virtual void writeState(XMLNode& node);
    virtual void readState(XMLNode& node);
    virtual Texture2DAnimation* clone();
    // One frame step of dt seconds (does nothing while stopped).
    virtual void update(double const& dt);
    // The frame at the current index, or the empty frame.
    virtual AnimationFrame const* getCurrentFrame();
    // Null when index is not below the frame count.
    virtual AnimationFrame const* getFrame(u32 const& index);
    virtual u32 getFrameCount();

    void play();
    void stop();
    void rewind();
    void setSpeed(float speed) { speed_ = speed; }
    float getSpeed() const { return speed_; }
    void setPosition(float position);
    float getPosition() const { return position_; }
    s32 getCurrentFrameIndex() const;
    void setReversed(bool reversed);
    bool isReversed() const { return reversed_; }
    bool isPlaying() const { return playing_; }
    u32 getPlayType() const { return playType_; }
    void setPlayType(u32 playType) { playType_ = playType; }
    D3DXVECTOR2 const& getFrameSize() const { return frameSize_; }
    AnimationTerm const* getSpeedTerm() const { return speedTerm_ ? &speedTerm_->term() : nullptr; }
    bool isReloadOnClone() const { return reloadOnClone_; }
    XMLNode const& getDefinition() const;
    TextureManager* getOwnTextures() const { return ownTextures_; }
    AnimationFrames const& getFrames() const { return *frames_; }
    std::vector<PassingFrameEvent> const& getEvents() const { return *events_; }
    // Frames and formula nodes that all copies with tables of their own hold now.
    static std::size_t rolledEntries();

    // Draws the current frame into dest with the two per-axis draw modes.
    void buildFrameQuads(BaseSprite& sprite, SpriteRect const& dest, u8 modeX, u8 modeY, D3DCOLOR color);

    sigslot::signal1<Texture2DAnimation&> stopped;
    sigslot::signal1<Texture2DAnimation&> started;
    sigslot::signal1<Texture2DAnimation&> rewound;
    sigslot::signal1<Texture2DAnimation&> ended;
    sigslot::signal2<Texture2DAnimation&, std::wstring const&> framePassed;

protected:
    // The frame table to change: a copy of its own first when it is shared.
    AnimationFrames& ownFrames();
    // What a "RELOAD_ON_CLONE" copy needs of the definition, kept by its reading: the keys it
    // rolls again and, when the frames are ordered at random, the element with only the keys
    // and children that make frames (the first kMaxFrames "FRAME" children: later ones cannot
    // add a frame). Changed by nobody after that reading but for the note that its copies
    // reached their bound; shared by the copies and their copies.
    struct CopyRecipe {
        bool hasName = false;
        std::wstring name;
        std::vector<float> speed;  // "ANIMSPEED", at most two numbers
        bool hasTerm = false;
        u32 playType = 0;
        bool reverse = false;
        bool play = false;
        std::vector<float> startFrame;  // "START_FRAME", at most two numbers
        XMLNode frames;
        std::size_t frameWork = 0;  // elements and values in frames
        bool boundLogged = false;   // the line that copies share their source's
    };

    // A "RELOAD_ON_CLONE" copy of source rolls its random values as reading the definition would.
    void rollFrom(Texture2DAnimation const& source);
    // The recipe of the definition node just read.
    std::shared_ptr<CopyRecipe> makeRecipe(XMLNode const& node) const;
    // Definition steps in their order: "ANIMSPEED"; "PLAY_TYPE"; frames (own textures, "FRAME",
    // "FRAMES", "ORDER", size, "DESIRED_SIZE", "REVERSE"; taken from the frame budget in
    // force); "PLAY" and "START_FRAME"; events. The apply steps take the values read.
    void readSpeed(XMLNode const& node);
    void applySpeed(std::vector<float> const& speed);
    void readPlayType(XMLNode const& node);
    static u32 playTypeBits(XMLNode const& node);
    void readFrames(XMLNode& node);
    void readPlayStart(XMLNode const& node);
    void applyPlayStart(bool play, std::vector<float> const& startFrame);
    void readEvents(XMLNode const& node);
    // The animation as log lines name it: "animation", its name and line.
    std::wstring describe() const;
    // A texture by name: the definition's own list, the registry, the device object's list.
    Texture2D* findTexture(std::wstring const& name) const;
    // The sheet's texture: "TEXTUR", or the animation's name when that is absent or empty.
    Texture2D* findSheetTexture(XMLNode const& sheet) const;
    // Frames of one "FRAME" child and one "FRAMES" sheet.
    AnimationFrame readExplicitFrame(XMLNode const& node) const;
    void readSheet(XMLNode const& sheet, std::vector<AnimationFrame>& out) const;
    // Appends more to out while held (frames kept elsewhere) plus out stay below kMaxFrames;
    // one log line when frames are left out.
    void appendFrames(std::vector<AnimationFrame>& out, std::vector<AnimationFrame>&& more, std::size_t held) const;
    // How many of wanted more frames fit beside used ones (the log line when not all).
    std::size_t frameRoom(std::size_t used, std::size_t wanted) const;
    // "ANZ_FRAMES" and "SPALTEN" of a "FRAME_PARAMS" node, kept in range (with a log line).
    void readSheetCounts(XMLNode const& params, int& count, int& columns) const;
    // "DESIRED_SIZE" into frameSize_.
    void readDesiredSize(XMLNode const& node);
    // The index rule for a position (truncated toward zero).
    s32 indexForPosition(double position) const;
    // Frames in one pass: n, or 2n forward and backward.
    double periodLength() const;
    // Once mode: the position clamped after an update.
    void clampOncePosition();

    // Never null; shared with copies, and with an angle animation's current set.
    std::shared_ptr<AnimationFrames> frames_;
    AnimationFrame emptyFrame_;
    u32 playType_ = 0;
    float speed_ = kDefaultSpeed;
    float position_ = 0.0f;
    D3DXVECTOR2 frameSize_{0.0f, 0.0f};
    bool playing_ = false;
    bool reversed_ = false;
    std::shared_ptr<AnimationFormula const> speedTerm_;
    // Beside the play state: every update of every clone reads it. Never null.
    std::shared_ptr<std::vector<PassingFrameEvent> const> events_;
    std::shared_ptr<XMLNode const> definition_;
    std::shared_ptr<CopyRecipe> recipe_;
    bool reloadOnClone_ = false;
    // With "RELOAD_ON_CLONE": the table as the definition made it (before an angle was chosen),
    // which copies that read the definition again start from.
    std::shared_ptr<AnimationFrames> builtFrames_;
    // The definition orders its frames at random; its formula holds "rand[" (then each
    // "RELOAD_ON_CLONE" copy rolls its own); the formula's nodes (random numbers a compile draws).
    bool framesRandom_ = false;
    bool termRandom_ = false;
    std::size_t termNodes_ = 0;
    // Frames and formula nodes of this copy's own tables counted in rolledEntries().
    std::size_t rolled_ = 0;
    TextureManager* ownTextures_ = nullptr;
    mutable bool frameLimitLogged_ = false;
};

}  // namespace Orvex
