// The control-point keys of one property node, read once and then applied to any number of
// points: a "DEFAULT" node serves every control point and a "PARAM_GROUP" every listed one, so
// reading the node again per point would make a large group cost its size times its points.
//
// Keys: "POSITION" (up to three numbers, or a child with "X", "Y", "Z"), "USERDATA" (up to
// four, or a child with "X", "Y", "Z", "W"), "FLAG" (bits k mod 32 under "SET", then cleared
// under "UNSET"; negative numbers are refused), and up to kInterpolatorCount "INTERPOL_TYPE"
// children ("TYPE", "PARAM", the component words of "DATA" or of the element's values).
// Only what the node names changes a point. Refused values are added to the problem list.
#pragma once

#include <string>
#include <vector>

#include "engine/render/SplinePoint.h"

namespace Orvex {

class ReadProblems;
class XMLNode;

class SplinePointKeys {
public:
    SplinePointKeys() = default;
    SplinePointKeys(XMLNode const& node, ReadProblems* problems) { read(node, problems); }

    void read(XMLNode const& node, ReadProblems* problems);
    // Only the "SET" and "UNSET" lists of a "FLAG" element.
    void readFlags(XMLNode const& flag, ReadProblems* problems);
    void apply(SplinePoint& point) const;
    void applyFlags(u32& flags) const { flags = (flags | setFlags_) & ~clearFlags_; }

private:
    struct Entry {
        SplineFunction function = nullptr;
        bool hasType = false;
        u32 type = 0;
        bool hasParam = false;
        float param = 0.0f;
        u32 mask = 0;
    };

    bool hasPosition_[3] = {false, false, false};
    float position_[3] = {0.0f, 0.0f, 0.0f};
    bool hasUserData_[4] = {false, false, false, false};
    float userData_[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    u32 setFlags_ = 0;
    u32 clearFlags_ = 0;
    u32 entryCount_ = 0;
    Entry entries_[SplinePoint::kInterpolatorCount];
};

}  // namespace Orvex
