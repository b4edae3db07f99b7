// The one registry of loaded graphics: a texture list and the frame animations, both found by
// name. Filled from graphics list nodes ("TEXTURES", "TEXTURE_FILES", "ANIMATION_2D") of the
// GUI, mini-game, tutorial, particle, story and start-up files; the first definition of an
// animation name wins. Users clone the registered animations for their own play state.
//
// A list file is read once until the animations are released, however many files name it. An
// "ANIMATION_2D" without "NAME" is left out (one log line per list): its name would be a running
// id that no file or code can know, so nothing could ever find it. A list's animations take
// their frames from a budget of AnimationFrameBudget::kFramesPerList (and from the budget of the
// file that names the list, when one is in force).
//
// Names are found through an index of the first animation of each name, so reading a list and
// each look-up cost the same however many animations are held; renaming a held animation makes
// the index again at the next look-up. A list adds at most kMaxPerList animations, the lists
// read for one file at most its share (AnimationFrameBudget::kAnimationsPerFile, so the lists
// of files read later keep theirs; a file read for another keeps a sure part of its own), and the
// registry holds at most kMaxAnimations (an animation
// without frames still costs about 1 KB): the rest of a list is left out, with one line for
// the list.
#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/core/ReadOnce.h"
#include "engine/render/AnimationFrameBudget.h"
#include "engine/render/TextureManager.h"
#include "signals/sigslot.h"

namespace Orvex {

class Texture2DAnimation;
class XMLNode;

class Texture2DAnimationManager {
public:
    // About 33 and 81 times the largest list and all the game's lists.
    static constexpr std::size_t kMaxPerList = 4096;
    static constexpr std::size_t kMaxAnimations = 20480;
    // The shares of the game's six files that name lists, the sure parts of the files read for
    // one of them (the menu file's GUI files) and the pointer list read alone.
    static_assert(6 * AnimationFrameBudget::kAnimationsPerFile +
                      AnimationFrameBudget::kInnerFilesWithSureAnimations *
                          AnimationFrameBudget::kSureAnimationsPerInnerFile +
                      kMaxPerList <=
                  kMaxAnimations);

    // Made on first use, destroyed at exit (animations first, then the textures).
    static Texture2DAnimationManager& instance();

    Texture2DAnimationManager(Texture2DAnimationManager const&) = delete;
    Texture2DAnimationManager& operator=(Texture2DAnimationManager const&) = delete;

    // The first animation of exactly that name, or null. Adds no reference.
    Texture2DAnimation* findAnimation(std::wstring const& name) const;
    // A texture by name as animation definitions resolve it after their own list: this
    // registry's list, then the device object's list. Null when absent.
    Texture2D* findTexture(std::wstring const& name) const;
    TextureManager& getTextures() { return textures_; }
    std::vector<Texture2DAnimation*> const& getAnimations() const { return animations_; }

    // Loads one graphics list: "TEXTURES", each file of "TEXTURE_FILES", every "ANIMATION_2D"
    // whose "NAME" is not registered yet. source names the list in log lines.
    void load(XMLNode& node, std::wstring const& source = L"(animation list)");
    // Reads a graphics list file (archives, then disk) and loads it, unless the same file (under
    // whichever name) was loaded before: then true at once. False when it cannot be read (the
    // file layer logs it).
    bool loadFile(std::wstring const& fileName);
    // Releases every animation and the pictures of the lists and empties both; list files may be
    // loaded again.
    void releaseAnimations();

private:
    Texture2DAnimationManager();
    ~Texture2DAnimationManager();

    // The first animation of each name; made again when a held animation was renamed.
    struct NameIndex : sigslot::has_slots<> {
        std::unordered_map<std::wstring, Texture2DAnimation*> first;
        bool stale = false;
        void onRenamed(NamedObject*, std::wstring const&, std::wstring const&) { stale = true; }
    };

    // Appends the animation to the list and the index.
    void add(Texture2DAnimation* animation);

    TextureManager textures_;
    std::vector<Texture2DAnimation*> animations_;
    mutable NameIndex names_;
    ReadOnce loadedFiles_;  // the files loadFile read
};

// The animation factory: "TYPE" exactly "360" makes an angle animation, anything else a plain
// one. Reference count 1, owned by the caller.
Texture2DAnimation* createTexture2DAnimation(XMLNode& node);

}  // namespace Orvex
