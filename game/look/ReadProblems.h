// The engine's readers of untrusted data (engine/core/ReadProblems.h: the one log line of an
// object's refusals, finite and bounded numbers, counts, flags) named in the game's namespace,
// where its readers call them unqualified, and the reader of number pairs into D3DX vectors. The
// list is a class of the game's own name, adding nothing, so that the game's headers may declare
// it ahead as Solitaire::ReadProblems.
#pragma once

#include <string_view>

#include "engine/core/ReadProblems.h"
#include "engine/core/XMLNode.h"
#include "port/d3dx9/d3dx9math.h"

namespace Solitaire {

using Orvex::attributeText;
using Orvex::kMaxMeasure;
using Orvex::readBool;
using Orvex::readDouble;
using Orvex::readFloat;
using Orvex::readFloats;
using Orvex::readInt;
using Orvex::readMeasure;
using Orvex::readMeasures;

class ReadProblems : public Orvex::ReadProblems {};

// One or two finite floats split at blanks; one number sets both. Absent or refused leaves value.
void readFloatPair(Orvex::XMLNode const& node, std::wstring_view key, D3DXVECTOR2& value, ReadProblems& problems);
// The same with each number within [-limit, limit], for pairs the game later adds or multiplies.
void readFloatPair(Orvex::XMLNode const& node, std::wstring_view key, D3DXVECTOR2& value, float limit,
                   ReadProblems& problems);
// The pair of a size, a place or a scale: each number within kMaxMeasure.
void readMeasurePair(Orvex::XMLNode const& node, std::wstring_view key, D3DXVECTOR2& value, ReadProblems& problems);

}  // namespace Solitaire
