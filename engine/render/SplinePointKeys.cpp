// Reading and applying the control-point keys of a property node.
#include "engine/render/SplinePointKeys.h"

#include <cmath>
#include <span>

#include "engine/core/ReadProblems.h"
#include "engine/core/XMLNode.h"

namespace Orvex {

namespace {

void note(ReadProblems* problems, std::wstring const& what) {
    if (problems) problems->add(what);
}

// Up to count numbers of an attribute (a list refused whole when one is beyond kMaxMeasure), or
// the keys of a child element of that name (each on its own): a place and the data riding on it.
void readNumbers(XMLNode const& node, wchar_t const* key, u32 count, bool* has, float* values, ReadProblems* problems) {
    static wchar_t const* const kXYZW[] = {L"X", L"Y", L"Z", L"W"};
    ReadProblems unkept;
    ReadProblems& refused = problems ? *problems : unkept;
    if (node.getAttribute(key)) {
        float read[4];
        std::size_t const taken = readMeasures(node, key, std::span<float>(read, count), refused);
        for (std::size_t i = 0; i < taken; ++i) {
            has[i] = true;
            values[i] = read[i];
        }
        return;
    }
    if (XMLNode const* child = node.getChild(key))
        for (u32 i = 0; i < count; ++i) {
            if (!child->getAttribute(kXYZW[i])) continue;
            float read = 0.0f;
            std::size_t const before = refused.size();
            readMeasure(*child, kXYZW[i], read, refused);
            if (refused.size() != before) continue;
            has[i] = true;
            values[i] = read;
        }
}

struct TypeWord {
    wchar_t const* word;
    SplineFunction function;
    u32 type;
};

TypeWord const kTypes[] = {
    {L"LINEAR", splineInterpolateLinear, kSplineLinear},
    {L"LINEAR+", splineInterpolateLinearPlus, kSplineLinearPlus},
    {L"CATMULL", splineInterpolateCatmull, kSplineCatmull},
    {L"CATMULL+", splineInterpolateCatmullPlus, kSplineCatmullPlus},
    {L"NONE", splineInterpolateNone, kSplineNone},
};

}  // namespace

void SplinePointKeys::read(XMLNode const& node, ReadProblems* problems) {
    readNumbers(node, L"POSITION", 3, hasPosition_, position_, problems);
    readNumbers(node, L"USERDATA", 4, hasUserData_, userData_, problems);
    if (XMLNode const* flag = node.getChild(L"FLAG")) readFlags(*flag, problems);

    for (auto const& child : node.children()) {
        if (child->getName() != L"INTERPOL_TYPE") continue;
        if (entryCount_ == SplinePoint::kInterpolatorCount) {
            note(problems, L"more than " + std::to_wstring(SplinePoint::kInterpolatorCount) + L" \"INTERPOL_TYPE\"");
            break;
        }
        Entry& entry = entries_[entryCount_++];
        entry.function = splineInterpolateLinear;
        std::wstring const type = child->getAttributeString(L"TYPE", L"LINEAR");
        for (TypeWord const& known : kTypes) {
            if (type != known.word) continue;
            entry.function = known.function;
            entry.hasType = true;
            entry.type = known.type;
        }
        if (XMLAttribute const* param = child->getAttribute(L"PARAM")) {
            float const read = param->getFloat();
            entry.hasParam = std::isfinite(read);
            entry.param = entry.hasParam ? read : 0.0f;
            if (!entry.hasParam) note(problems, L"\"PARAM\" is not a finite number");
        }
        if (XMLAttribute const* data = child->getAttribute(L"DATA")) {
            auto const words = data->split(L" ");
            for (u32 i = 0; i < words.getCount(); ++i) entry.mask |= splineComponentMask(words.get(i)->getString());
        } else {
            for (auto const& value : child->values()) entry.mask |= splineComponentMask(value->getString());
        }
    }
}

void SplinePointKeys::readFlags(XMLNode const& flag, ReadProblems* problems) {
    auto collect = [&](wchar_t const* list, bool set) {
        XMLNode const* child = flag.getChild(list);
        if (!child) return;
        for (auto const& value : child->values()) {
            int const k = value->getInt();
            if (k < 0) {
                note(problems, L"negative flag bit " + std::to_wstring(k));
                continue;
            }
            u32 const bit = 1u << (static_cast<u32>(k) % 32u);
            if (set) {
                setFlags_ |= bit;
                clearFlags_ &= ~bit;
            } else {
                clearFlags_ |= bit;
            }
        }
    };
    collect(L"SET", true);
    collect(L"UNSET", false);
}

void SplinePointKeys::apply(SplinePoint& point) const {
    for (int i = 0; i < 3; ++i)
        if (hasPosition_[i]) point.position[i] = position_[i];
    for (int i = 0; i < 4; ++i)
        if (hasUserData_[i]) point.userData[i] = userData_[i];
    applyFlags(point.flags);
    for (u32 j = 0; j < entryCount_; ++j) {
        SplineInterpolator& target = point.interpolators[j];
        Entry const& entry = entries_[j];
        target.function = entry.function;
        if (entry.hasType) target.type = entry.type;
        if (entry.hasParam) target.param = entry.param;
        target.mask = entry.mask;
    }
}

}  // namespace Orvex
