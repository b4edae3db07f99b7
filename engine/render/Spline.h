// A spline: a named path of control points (SplinePoint.h) evaluated at a parameter t (integer
// part = segment, fraction = place in it) or, through the chord length, at a distance.
// Spline.cpp: the tables (extension points, length, directions and frames) and the lookups;
// Spline_interpolate.cpp: the five interpolation functions and getPointAt; Spline_read.cpp:
// building from a property node (control points, "DEFAULT", "PARAM_GROUP", averaged splines)
// and reload; Spline_ase.cpp: the "CREATE_FROM_ASE" import (SplineASE.h reads the text).
//
// Extension points: a loop repeats its own points around both ends (3 each side); an open
// spline continues its first and last segments straight on (2 each side). getPoint(i) reaches
// them with negative indices and with indices from the point count on.
//
// Directions are the averaged chords around each point; the frame of a point is
// binormal = u x (0,1,0), normal = binormal x u with u the normalised direction. A point with
// no usable direction (coincident neighbours, or a look-ahead of 0) or one along the y axis
// keeps an upright frame instead of a zero or undefined one: binormal (1,0,0) and normal
// binormal x u, or (0,1,0) when the direction is zero.
//
// Data is untrusted: definitions are read within kMaxControlPoints points, kMaxAverageDepth
// nested averages and numbers that are finite; what is refused is named in one log line per
// spline (see Spline_read.cpp).
#pragma once

#include <string>
#include <vector>

#include "engine/core/NamedObject.h"
#include "engine/core/ReadProblems.h"
#include "engine/core/XMLNode.h"
#include "engine/render/SplinePoint.h"
#include "signals/sigslot.h"

namespace Orvex {

class SplinePointKeys;

class Spline : public NamedObject {
public:
    // About 1.7 MB of points; more than any path of the game needs.
    static constexpr u32 kMaxControlPoints = 4096;
    static constexpr u32 kMaxAverageDepth = 16;
    static constexpr u32 kLoopExtension = 3;
    static constexpr u32 kOpenExtension = 2;

    // No control points, named by its running id.
    Spline();
    // Copies points, tables, flags and the definition; a fresh identity without listeners.
    Spline(Spline const& other);
    Spline& operator=(Spline const&) = delete;
    // Builds the spline from a definition and keeps a copy of it for reload. sourceName (the
    // file the node came from) is named in log lines. With problems given, the refusals go
    // there instead of the log (for readers that report one line per element of their own).
    explicit Spline(XMLNode& node, std::wstring const& sourceName = L"", ReadProblems* problems = nullptr);

    // The control points; call rebuildTables after changing them.
    std::vector<SplinePoint>& getControlPoints() { return points_; }
    std::vector<SplinePoint> const& getControlPoints() const { return points_; }
    // Extension points, length, directions and frames; emits changed with two points or more.
    void rebuildTables();

    // Control point or extension point i; null without control points; clamped beyond the ends.
    SplinePoint const* getPoint(s32 index) const;
    // The point at parameter t (the default point without control points).
    SplinePoint getPointAt(float t) const;
    // The parameter at a chord-length distance from the start: clamped to [0, length] on an
    // open spline, wrapped on a loop (a loop of length 0 gives 0). Not finite counts as 0.
    float parameterAtDistance(float const& distance) const;
    float getLength() const { return length_; }

    bool isLoop() const { return loop_ != 0; }
    void setLoop(bool loop) { loop_ = loop ? 1 : 0; }
    bool isAverage() const { return average_ != 0; }
    void setAverage(bool average) { average_ = average ? 1 : 0; }

    bool hasDefinition() const { return hasDefinition_ != 0; }
    XMLNode const& getDefinition() const { return definition_; }
    // Replaces the stored definition (the manager does so when the spline's file changed).
    void setDefinition(XMLNode const& node, std::wstring const& sourceName);
    std::wstring const& getSourceName() const { return sourceName_; }
    // Rebuilds points, extension points, length, loop and average from the stored definition.
    // Nothing happens without one.
    void reload();

    // Applies a node's control-point keys to a point (only what the node names changes; see
    // SplinePointKeys.h). Refused values are added to problems when given.
    static void readSplinePoint(SplinePoint& point, XMLNode const& node, ReadProblems* problems = nullptr);
    // Sets the bits listed under "SET", then clears those under "UNSET"; a value k sets bit
    // k mod 32. Negative values are refused.
    static void readFlags(u32& flags, XMLNode const& node, ReadProblems* problems = nullptr);

    sigslot::signal1<Spline&> changed;

private:
    // Reads a definition into this spline (points, loop, average), depth counting averages.
    void readDefinition(XMLNode const& node, u32 depth, ReadProblems& problems);
    void readAverage(XMLNode const& average, u32 depth, ReadProblems& problems, bool& complete);
    void importAse(XMLNode const& node, SplinePointKeys const& defaults, ReadProblems& problems);
    void computeDirections(u32 extension);

    std::vector<SplinePoint> points_;
    std::vector<SplinePoint> before_;
    std::vector<SplinePoint> after_;
    float length_ = 0.0f;
    u8 loop_ = 0;
    u8 average_ = 1;
    u8 hasDefinition_ = 0;
    XMLNode definition_;
    std::wstring sourceName_;
};

}  // namespace Orvex
