// Angle frame animations: a frame animation of an object seen from several directions. It holds
// one frame set per viewing angle and plays the set nearest to the chosen angle (the base's
// frames are a copy of that set). Sets come from "ANGLE" children (sheets, as in the base but
// in whole pixels) and from numbered picture files ("LOAD_PARAMS": a "FILE" name pattern with
// the angle and the file number, "START_ANGLE", "INC_ANGLE", "ANZ_ANGLES", "ANZ_FRAMES").
//
// The sets are made once, by the definition: copies share them (and the base's frames are the
// current set's own table, not a copy of it).
//
// Limits: the "FILE" pattern comes from data and is formatted safely (conversions without a
// matching number print nothing; names end at 1024 characters); at most kMaxAngles angles and
// kMaxFilesPerAngle files per angle are loaded, and a "LOAD_PARAMS" naming more than
// kMaxLoadFiles files in all is refused; all sets together hold at most kMaxFrames frames; an
// angle that is not a finite number is refused; sets read while a file is read take their frames
// from its budget (AnimationFrameBudget.h).
#pragma once

#include <memory>
#include <vector>

#include "engine/render/Texture2DAnimation.h"

namespace Orvex {

struct AngleFrameSet {
    std::vector<AnimationFrame> frames;
    float angle = 0.0f;  // degrees
};

class Texture2DAnimation360 : public Texture2DAnimation {
public:
    static constexpr s32 kMaxAngles = 3600;
    static constexpr s32 kMaxFilesPerAngle = 1000;
    static constexpr s64 kMaxLoadFiles = 4096;
    static constexpr std::size_t kMaxFileNameLength = 1024;

    // The base's keys, then "ANGLE" children, "LOAD_PARAMS" children, "ANGLE" and
    // "DESIRED_SIZE".
    explicit Texture2DAnimation360(XMLNode& node);
    // Base copy, the sets shared, then the source's angle chosen again.
    Texture2DAnimation360(Texture2DAnimation360 const& other);
    ~Texture2DAnimation360() override;

    void writeState(XMLNode& node) override;
    void readState(XMLNode& node) override;
    Texture2DAnimation360* clone() override;

    // Brings degrees into [0, 360) and shows the set nearest to them (the first on a tie; the
    // distance does not wrap around). The play position stays.
    void setAngle(float degrees);
    float getAngle() const { return angle_; }
    AngleFrameSet const* getCurrentSet() const { return currentSet_; }
    std::vector<std::unique_ptr<AngleFrameSet>> const& getAngleSets() const { return *angleSets_; }

    // The file name of one "LOAD_PARAMS" picture (exposed for tests).
    static std::wstring formatFileName(std::wstring const& pattern, int angle, int file);

private:
    void readAngleSet(XMLNode const& node);
    void readSheetWhole(XMLNode const& sheet, std::vector<AnimationFrame>& out) const;
    void readLoadParams(XMLNode const& node);

    // Takes the frames of a set just read from the frame budget in force (cutting the rest).
    void chargeSet(AngleFrameSet& set) const;

    using AngleSets = std::vector<std::unique_ptr<AngleFrameSet>>;
    // Never null; changed only while the definition is read, shared by copies after that.
    std::shared_ptr<AngleSets> angleSets_;
    float angle_ = 0.0f;
    AngleFrameSet* currentSet_ = nullptr;
    std::size_t heldInSets_ = 0;  // frames of the sets read so far
};

}  // namespace Orvex
