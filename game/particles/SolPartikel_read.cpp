// Reading particle and emitter templates from the particle file. Numbers that are not finite,
// sizes, places, turns and scales beyond kMaxMeasure, and counts outside the integer range are
// refused and keep the field's value.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <iterator>
#include <limits>
#include <span>

#include "engine/core/XMLNode.h"
#include "engine/render/Spline.h"
#include "game/look/ReadProblems.h"
#include "game/particles/SolPartikel.h"
#include "game/particles/SolPartikelManager.h"

namespace Solitaire {

namespace {

// What a list of the file is: a size, a place, a turn or a scale (each number within kMaxMeasure),
// or a time, a speed, a rate or a count (each only finite).
enum class Numbers { kMeasures, kFinite };

// The attribute's blank-separated numbers (at most `count`), read as readFloats reads a list:
// false when absent, empty or refused.
bool readNumbers(Orvex::XMLNode const& node, std::wstring_view key, std::vector<float>& out, std::size_t count,
                 Numbers kind, ReadProblems& problems) {
    out.clear();
    float read[5];
    std::span<float> const numbers(read, std::min<std::size_t>(count, std::size(read)));
    std::size_t const taken = kind == Numbers::kMeasures ? readMeasures(node, key, numbers, problems)
                                                        : readFloats(node, key, numbers, -FLT_MAX, FLT_MAX, problems);
    out.assign(read, read + taken);
    return taken > 0;
}

void readRange(Orvex::XMLNode const& node, std::wstring_view key, float range[2], Numbers kind,
               ReadProblems& problems) {
    std::vector<float> values;
    if (!readNumbers(node, key, values, 2, kind, problems)) return;
    range[0] = values[0];
    range[1] = values.size() > 1 ? values[1] : values[0];
}

// x1 y1 x2 y2: the first sets both x, the second both y, the third x2, the fourth y2.
void readCorners(Orvex::XMLNode const& node, std::wstring_view key, D3DXVECTOR2 corners[2], Numbers kind,
                 ReadProblems& problems, bool* fifth = nullptr) {
    std::vector<float> values;
    if (!readNumbers(node, key, values, fifth ? 5 : 4, kind, problems)) return;
    corners[0].x = corners[1].x = values[0];
    if (values.size() > 1) corners[0].y = corners[1].y = values[1];
    if (values.size() > 2) corners[1].x = values[2];
    if (values.size() > 3) corners[1].y = values[3];
    if (fifth && values.size() > 4) *fifth = values[4] != 0.0f;
}

D3DXCOLOR colourFromHex(Orvex::u32 argb) {
    return {static_cast<float>((argb >> 16) & 0xFF) / 255.0f, static_cast<float>((argb >> 8) & 0xFF) / 255.0f,
            static_cast<float>(argb & 0xFF) / 255.0f, static_cast<float>((argb >> 24) & 0xFF) / 255.0f};
}

// A count read as a number and truncated; out of the integer range (or not a number) refused.
void readCount(Orvex::XMLNode const& node, std::wstring_view key, std::int32_t& value, ReadProblems& problems) {
    Orvex::XMLAttribute const* attribute = node.getAttribute(key);
    if (!attribute) return;
    double const read = attribute->getDouble();
    if (std::isfinite(read) && read >= static_cast<double>(std::numeric_limits<std::int32_t>::min()) &&
        read <= static_cast<double>(std::numeric_limits<std::int32_t>::max()))
        value = static_cast<std::int32_t>(read);
    else
        problems.add(L"\"" + std::wstring(key) + L"\" is not a count", node.getLine());
}

// Up to four places; each given value also becomes the value of every later component.
void readArea(Orvex::XMLNode const& node, std::wstring_view key, float area[4], ReadProblems& problems) {
    std::vector<float> values;
    if (!readNumbers(node, key, values, 4, Numbers::kMeasures, problems)) return;
    for (std::size_t i = 0; i < values.size(); ++i)
        for (std::size_t j = i; j < 4; ++j) area[j] = values[i];
}

// The curve's keys are replaced by the "VALUE_DELTATIME" children (at most the key limit).
template <class T, class ReadValue>
void readCurve(Orvex::XMLNode const& node, Orvex::MultiInterpolation<T, float>& curve, ReadProblems& problems,
               ReadValue readValue) {
    curve.clearKeys();
    for (Orvex::XMLNode const* key : node.children()) {
        if (key->getName() != L"VALUE_DELTATIME") continue;
        if (curve.getKeyCount() >= SolPartikel::kMaxCurveKeys) {
            problems.add(L"\"" + node.getName() + L"\" has more than " + std::to_wstring(SolPartikel::kMaxCurveKeys) +
                         L" keys", node.getLine());
            break;
        }
        float delta = 0.0f;
        readFloat(*key, L"DELTA_TIME", delta, problems);
        curve.addKey(readValue(*key, problems), delta, true);
    }
    if (curve.getKeyCount() == 0) curve.addKey(readValue(node, problems), 0.0f, true);  // no keys: the default
    curve.setTime(0.0f);
}

}  // namespace

void SolPartikel::readTemplate(Orvex::XMLNode& node, ReadProblems& problems) {
    if (std::wstring const* base = attributeText(node, L"VORLAGE")) {
        SolPartikel const* found = SolPartikelManager::instance().findParticleTemplate(*base);
        if (found && found != this) {
            std::wstring const name = getName();
            static_cast<SolPartikel&>(*this) = *found;
            setName(name);
        }
    }
    readBool(node, L"END_IF_ANI_FINISHED", endIfAnimationFinished_);
    readBool(node, L"SYNC_WITH_ANI", syncWithAnimation_);
    if (std::wstring const* animation = attributeText(node, L"ANIMATION")) animations_.push_back(*animation);
    if (Orvex::XMLNode const* list = node.getChild(L"ANIMATIONEN"))
        for (Orvex::u32 i = 0; i < list->getValueCount(); ++i) animations_.push_back(list->getValue(i)->getString());
    readInt(node, L"IGNORE_CAMERA", layer_, -32768, 32767, problems);
    if (std::wstring const* sound = attributeText(node, L"SOUND")) sound_ = *sound;
    if (Orvex::XMLNode* path = node.getChild(L"SPLINE")) readSpline(*path, problems);
    if (Orvex::XMLNode const* curve = node.getChild(L"COLOR_AT_LIFE"))
        readCurve(*curve, colourCurve_, problems, [](Orvex::XMLNode const& key, ReadProblems&) {
            Orvex::XMLAttribute const* value = key.getAttribute(L"VALUE");
            return value ? colourFromHex(value->getHex()) : D3DXCOLOR(1.0f, 1.0f, 1.0f, 1.0f);
        });
    if (Orvex::XMLNode const* curve = node.getChild(L"SCALE_AT_LIFE"))
        readCurve(*curve, scaleCurve_, problems, [](Orvex::XMLNode const& key, ReadProblems& keyProblems) {
            D3DXVECTOR2 scale{1.0f, 1.0f};
            readMeasurePair(key, L"VALUE", scale, keyProblems);
            return scale;
        });
    takeCurveValues();
    readRange(node, L"LIFETIME", lifetimeRange_, Numbers::kFinite, problems);
    readRange(node, L"ROTATION_SPEED", rotationSpeedRange_, Numbers::kFinite, problems);
    readRange(node, L"ROTATION", rotationRange_, Numbers::kMeasures, problems);
    if (Orvex::XMLAttribute const* colour = node.getAttribute(L"COLOR")) {
        Orvex::XMLValueTokens const pieces = colour->split(L" ");
        if (pieces.getCount() > 0) colourRange_[0] = colourRange_[1] = colourFromHex(pieces.get(0)->getHex());
        if (pieces.getCount() > 1) colourRange_[1] = colourFromHex(pieces.get(1)->getHex());
        if (pieces.getCount() > 2) colourPerChannel_ = pieces.get(2)->getInt() != 0;
    }
    readCorners(node, L"POSITION", positionArea_, Numbers::kMeasures, problems);
    readCorners(node, L"ROTATION_CENTER", rotationCentre_, Numbers::kMeasures, problems);
    readCorners(node, L"GRAVITATION", gravitation_, Numbers::kFinite, problems);
    readCorners(node, L"SIZE", sizeRange_, Numbers::kMeasures, problems, &uniformSize_);
    readRange(node, L"SPEED", speed_, Numbers::kFinite, problems);
    readRange(node, L"DIRECTION", direction_, Numbers::kMeasures, problems);
}

void SolPartikel::readSpline(Orvex::XMLNode& node, ReadProblems& problems) {
    ReadProblems refused;
    auto* spline = new Orvex::Spline(node, L"", &refused);
    bool const clean = refused.empty();
    problems.absorb(refused, L"\"SPLINE\": ", node.getLine());
    // A path without points (or too long for a float) would pin the particle to one place.
    bool const usable = !spline->getControlPoints().empty() && std::isfinite(spline->getLength());
    if (clean && !usable) problems.add(L"\"SPLINE\" has no usable control points", node.getLine());
    if (clean && usable)
        setSpline(spline, kPathPosition);
    else
        spline->release();
}

void SolPartikelEmitter::readEmitterTemplate(Orvex::XMLNode& node, ReadProblems& problems) {
    if (std::wstring const* base = attributeText(node, L"VORLAGE")) {
        SolPartikelEmitter const* found = SolPartikelManager::instance().findEmitterTemplate(*base);
        if (found && found != this) {
            std::wstring const name = getName();
            *this = *found;
            setName(name);
        }
    }
    readTemplate(node, problems);
    readRange(node, L"PPS", rateRange_, Numbers::kFinite, problems);
    float limits[2]{static_cast<float>(limitRange_[0]), static_cast<float>(limitRange_[1])};
    readRange(node, L"MAXPARTIKEL", limits, Numbers::kFinite, problems);
    for (int i = 0; i < 2; ++i) {
        if (limits[i] >= static_cast<float>(std::numeric_limits<std::int32_t>::min()) &&
            limits[i] < static_cast<float>(std::numeric_limits<std::int32_t>::max()))
            limitRange_[i] = static_cast<std::int32_t>(limits[i]);
        else
            problems.add(L"\"MAXPARTIKEL\" is not a count", node.getLine());
    }
    if (Orvex::XMLNode const* list = node.getChild(L"PARTIKEL")) {
        for (Orvex::u32 i = 0; i < list->getValueCount(); ++i) {
            SpawnEntry entry;
            entry.name = list->getValue(i)->getString();
            entries_.push_back(entry);
        }
    }
    for (Orvex::XMLNode const* child : node.children()) {
        if (child->getName() != L"VORLAGE") continue;
        SpawnEntry entry;
        if (std::wstring const* name = attributeText(*child, L"NAME")) entry.name = *name;
        readFloat(*child, L"START", entry.windowStart, problems);
        readFloat(*child, L"ENDE", entry.windowEnd, problems);
        readCount(*child, L"MAX_ANZ", entry.limit, problems);
        if (std::wstring const* sound = attributeText(*child, L"SOUND")) entry.sound = *sound;
        readBool(*child, L"CIRCLE", entry.circle);
        readBool(*child, L"REMOVE_OTHERS", entry.removeOthers);
        readFloat(*child, L"PROP", entry.weight, problems);
        if (!(entry.weight >= 0.0f)) entry.weight = 0.0f;
        entry.cumulative = entry.weight;
        if (Orvex::XMLNode const* path = child->getChild(L"SPLINE")) {
            entry.hasPath = true;
            readArea(*path, L"START", entry.pathStart, problems);
            readArea(*path, L"END", entry.pathEnd, problems);
            readMeasure(*path, L"AMP", entry.amplitude, problems);
            readInt(*path, L"FREQ", entry.frequency, 0, kMaxWaveFrequency, problems);
            readInt(*path, L"MODE", entry.pathMode, 0, 2, problems);
        }
        entries_.push_back(entry);
    }
}

}  // namespace Solitaire
