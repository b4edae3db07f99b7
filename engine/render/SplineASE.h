// Reading shape vertices from ASE text (the text export of a 3D modelling program): only the
// vertex lines of shape objects are read, nothing else of the format.
//
// With a shape name, the text is cut at every "*SHAPEOBJECT" and the first piece holding
// *NODE_NAME "name" is read (the whole text when none does). Every "*SHAPE_VERTEX_KNOT" (with
// interpolated vertices too: every "*SHAPE_VERTEX_") starts a vertex line: its words, split at
// blanks and tabs, are the keyword, the vertex index and x, y, z. A line with a missing or
// malformed word, a number that is not finite or an index outside the int range is a problem:
// it is skipped, and the first problem (with its line number) and the count of problems are
// reported, so the caller can write one log line. At most maxVertices vertices are kept.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/core/Types.h"

namespace Orvex {

struct AseVertex {
    s32 index = 0;
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

struct AseReadResult {
    std::vector<AseVertex> vertices;
    u32 problemCount = 0;
    std::wstring firstProblem;
    std::size_t firstProblemLine = 0;  // 1-based
    bool shapeFound = false;           // a piece named the shape (or no shape was asked for)
};

void readAseVertices(std::wstring_view text, std::wstring const& shapeName, bool withInterpolated, u32 maxVertices,
                     AseReadResult& out);

// One log line for the result's problems, naming the file ("ASE file \"name\": ..."); nothing
// when there were none.
void logAseProblems(AseReadResult const& result, std::wstring const& fileName);

}  // namespace Orvex
