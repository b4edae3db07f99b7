// What frame animations may hold while one file or animation list is read. A definition of about
// 0.5 KB can cut 16,384 frames (about 1.7 MB), so a list of many such definitions, or a file
// naming many such lists, would take gigabytes. The reader of a file or list puts a budget in
// force for the time it reads; every frame table built then (a definition's, or a copy's that
// rolls its own order) takes its frames from every budget in force, the innermost first. Frames
// that do not fit are left out: the animation keeps those that fit, and later ones of that
// reading build none, with one log line naming the file whose budget was reached.
//
// Budgets nest: a list read for a file takes from the list's budget and from the file's, so the
// file's budget bounds all the lists it names. Frame tables built while no budget is in force
// (by code, not by reading a file) are never cut. The line names the file that names the
// animations (the innermost file at or inside the budget reached, a list only when its own
// budget is reached), and the file of that budget when it is an outer one: the menu file's
// budget is reached by one of its GUI files.
//
// A file's budget also holds its share of the registry's animations: the lists read for one
// file add at most kAnimationsPerFile animations, all together; a file read for another (a GUI
// file for the menu file) at most kAnimationsPerInnerFile. Of these, the first
// kSureAnimationsPerInnerFile are its own, whatever the files read before it took: the first
// kInnerFilesWithSureAnimations files read for a file have such a sure part, which the outer
// file's share is not charged with; the rest is taken from the outer file's share. The game's
// files that name lists (the menu file for all its GUI files, the tutorial file, the two
// particle files, the story file, the mini-game file) each keep their share, and with the sure
// parts and the pointer list read alone they fit in the registry. So five hostile lists of 4,096
// names read early no longer leave the lists read later short, and however many of the menu
// file's GUI files are hostile, each of the others keeps its sure part (the achievement screen
// its medal pictures).
#pragma once

#include <cstddef>
#include <string>

namespace Orvex {

class AnimationFrameBudget {
public:
    // About 7 MB and 29 MB of frames, hundreds of times what the game's lists and files hold.
    static constexpr std::size_t kFramesPerList = std::size_t{1} << 16;
    static constexpr std::size_t kFramesPerFile = std::size_t{1} << 18;
    // 16 times the game's largest file's animations (the menu file's GUI files hold 125), and
    // 4 times the largest GUI file's (124).
    static constexpr std::size_t kAnimationsPerFile = 2048;
    static constexpr std::size_t kAnimationsPerInnerFile = 512;
    // The largest GUI file's animations (124, the achievement screen's), and about 1.5 times the
    // menu file's GUI files (22).
    static constexpr std::size_t kSureAnimationsPerInnerFile = 128;
    static constexpr std::size_t kInnerFilesWithSureAnimations = 32;

    // What is read under the budget: a file that names animations or lists, or a list itself.
    enum class Reading { kFile, kList };

    explicit AnimationFrameBudget(std::wstring fileName, std::size_t frames = kFramesPerFile,
                                  Reading reading = Reading::kFile);
    ~AnimationFrameBudget();
    AnimationFrameBudget(AnimationFrameBudget const&) = delete;
    AnimationFrameBudget& operator=(AnimationFrameBudget const&) = delete;

    // Of `wanted` frames that `what` would build, how many every budget in force still holds;
    // those are taken. All of them when no budget is in force.
    static std::size_t take(std::size_t wanted, std::wstring const& what);
    // True while a budget in force has no frame left, so that `what` builds nothing (the line
    // for the budget is logged then, unless it was).
    static bool spentOut(std::wstring const& what);

    // The file whose reading put the innermost budget in force (empty when none), which log
    // lines about what is read then name.
    static std::wstring readingFile();

    // A file whose share of animations is spent, and that share.
    struct SpentShare {
        std::wstring file;
        std::size_t share = 0;
    };
    // Takes one animation from the share of every file in force and returns true; false, with
    // the file in spent, when one of them has none left. Always true while no file is read (a
    // list read alone, or code).
    static bool takeAnimation(SpentShare& spent);

    std::size_t used() const { return used_; }

private:
    std::wstring fileName_;
    std::size_t left_;
    std::size_t used_ = 0;
    std::size_t animationShare_;
    std::size_t animationsLeft_;
    // Of animationsLeft_, those the outer file's share is not charged with.
    std::size_t sureLeft_ = 0;
    // The sure parts this file may still give files read for it.
    std::size_t sureFilesLeft_ = kInnerFilesWithSureAnimations;
    bool logged_ = false;
    Reading reading_;
    AnimationFrameBudget* outer_;
};

}  // namespace Orvex
