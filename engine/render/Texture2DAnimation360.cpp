// Angle frame animations (see Texture2DAnimation360.h).
#include "engine/render/Texture2DAnimation360.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/core/Logger.h"
#include "engine/render/AnimationFrameBudget.h"
#include "engine/render/Texture2D.h"
#include "port/crt/crt.h"

namespace Orvex {

namespace {

// Whole-pixel cells: k = reverse ? count-1-i : i at column k mod columns, row k / columns,
// each the size of the start cell.
void appendCells(Texture2D* tex, RECT const& start, int count, int columns, bool reverse,
                 std::vector<AnimationFrame>& out) {
    s64 const w = static_cast<s64>(start.right) - start.left;
    s64 const h = static_cast<s64>(start.bottom) - start.top;
    for (int i = 0; i < count; ++i) {
        int const k = reverse ? count - 1 - i : i;
        s64 const left = start.left + (k % columns) * w;
        s64 const top = start.top + (k / columns) * h;
        RECT const cell{frameEdge(static_cast<double>(left)), frameEdge(static_cast<double>(top)),
                        frameEdge(static_cast<double>(left + w)), frameEdge(static_cast<double>(top + h))};
        out.push_back(AnimationFrame::fromCell(tex, cell));
    }
}

// Up to four integers of "RECT_START" over the defaults in r; false when absent.
bool readRectStart(XMLNode const& params, RECT& r) {
    XMLAttribute const* a = params.getAttribute(L"RECT_START");
    if (!a) return false;
    XMLValueTokens pieces = a->split(L" ");
    LONG* fields[4] = {&r.left, &r.top, &r.right, &r.bottom};
    for (u32 i = 0; i < pieces.getCount() && i < 4; ++i) *fields[i] = pieces.get(i)->getInt();
    return true;
}

}  // namespace

Texture2DAnimation360::Texture2DAnimation360(XMLNode& node)
    : Texture2DAnimation(node), angleSets_(std::make_shared<AngleSets>()) {
    for (auto const& child : node.children()) {
        if (child->getName() == L"ANGLE") readAngleSet(*child);
    }
    for (auto const& child : node.children()) {
        if (child->getName() == L"LOAD_PARAMS") readLoadParams(*child);
    }
    if (XMLAttribute const* a = node.getAttribute(L"ANGLE")) setAngle(a->getFloat());
    readDesiredSize(node);
}

Texture2DAnimation360::Texture2DAnimation360(Texture2DAnimation360 const& other)
    : Texture2DAnimation(other), angleSets_(other.angleSets_) {
    setAngle(other.angle_);
}

Texture2DAnimation360::~Texture2DAnimation360() = default;

void Texture2DAnimation360::writeState(XMLNode& node) { Texture2DAnimation::writeState(node); }

void Texture2DAnimation360::readState(XMLNode& node) { Texture2DAnimation::readState(node); }

Texture2DAnimation360* Texture2DAnimation360::clone() { return new Texture2DAnimation360(*this); }

void Texture2DAnimation360::setAngle(float degrees) {
    if (!std::isfinite(degrees)) {
        logWarning(L"Animation \"" + getName() + L"\": angle is not a number; kept at " + std::to_wstring(angle_));
        return;
    }
    // The remainder first: adding 360 until non-negative never ends for huge negative angles.
    float a = std::fmod(degrees, 360.0f);
    if (a < 0.0f) a += 360.0f;
    if (a >= 360.0f) a = 0.0f;
    angle_ = a;

    float best = std::numeric_limits<float>::max();
    currentSet_ = nullptr;
    for (auto const& set : *angleSets_) {
        float const distance = std::fabs(set->angle - a);
        if (distance < best) {
            best = distance;
            currentSet_ = set.get();
        }
    }
    // The set's own table, kept alive with the sets.
    if (currentSet_) frames_ = std::shared_ptr<AnimationFrames>(angleSets_, &currentSet_->frames);
}

void Texture2DAnimation360::chargeSet(AngleFrameSet& set) const {
    std::size_t const kept = AnimationFrameBudget::take(set.frames.size(), describe());
    if (kept < set.frames.size()) set.frames.erase(set.frames.begin() + static_cast<std::ptrdiff_t>(kept), set.frames.end());
}

void Texture2DAnimation360::readSheetWhole(XMLNode const& sheet, std::vector<AnimationFrame>& out) const {
    Texture2D* tex = findSheetTexture(sheet);
    if (!tex) return;
    RECT const image = tex->getRect();
    XMLNode const* params = sheet.getChild(L"FRAME_PARAMS");
    if (!params) {
        appendFrames(out, {AnimationFrame::fromCell(tex, image)}, heldInSets_);
        return;
    }
    int count;
    int columns;
    readSheetCounts(*params, count, columns);
    if (count < 1) return;
    bool const reverse = params->getAttributeBool(L"REVERSE", false);
    RECT start = image;
    if (!readRectStart(*params, start)) {
        int const rows = (count - 1) / columns + 1;
        start.right = image.left + (image.right - image.left) / columns;
        start.bottom = image.top + (image.bottom - image.top) / rows;
    }
    std::vector<AnimationFrame> cells;
    appendCells(tex, start, count, columns, reverse, cells);
    if (XMLNode const* order = params->getChild(L"ORDER")) cells = applyFrameOrder(*order, cells);
    appendFrames(out, std::move(cells), heldInSets_);
}

void Texture2DAnimation360::readAngleSet(XMLNode const& node) {
    auto set = std::make_unique<AngleFrameSet>();
    set->angle = node.getAttributeFloat(L"ANGLE", 0.0f);
    if (!AnimationFrameBudget::spentOut(describe())) {
        for (auto const& child : node.children()) {
            if (child->getName() == L"FRAMES") readSheetWhole(*child, set->frames);
        }
        if (XMLNode const* order = node.getChild(L"ORDER")) {
            std::vector<AnimationFrame> ordered = applyFrameOrder(*order, set->frames);
            set->frames.clear();
            appendFrames(set->frames, std::move(ordered), heldInSets_);
        }
        chargeSet(*set);
    }
    heldInSets_ += set->frames.size();
    angleSets_->push_back(std::move(set));
}

std::wstring Texture2DAnimation360::formatFileName(std::wstring const& pattern, int angle, int file) {
    std::wstring name = msvc::format(pattern, angle, file);
    if (name.size() > kMaxFileNameLength) name.resize(kMaxFileNameLength);
    return name;
}

void Texture2DAnimation360::readLoadParams(XMLNode const& node) {
    std::wstring const pattern = node.getAttributeString(L"FILE", std::wstring());
    float const startAngle = node.getAttributeFloat(L"START_ANGLE", 0.0f);
    float const incAngle = node.getAttributeFloat(L"INC_ANGLE", 10.0f);
    int angles = node.getAttributeInt(L"ANZ_ANGLES", 36);
    int files = node.getAttributeInt(L"ANZ_FRAMES", 10);
    if (angles > kMaxAngles || files > kMaxFilesPerAngle) {
        logWarning(L"Animation \"" + getName() + L"\"" + atLine(node) + L": \"LOAD_PARAMS\" limited to " +
                   std::to_wstring(kMaxAngles) +
                   L" angles of " + std::to_wstring(kMaxFilesPerAngle) + L" files");
        angles = std::min(angles, kMaxAngles);
        files = std::min(files, kMaxFilesPerAngle);
    }
    if (angles > 0 && files > 0 && static_cast<s64>(angles) * files > kMaxLoadFiles) {
        logWarning(L"Animation \"" + getName() + L"\"" + atLine(node) + L": \"LOAD_PARAMS\" of " +
                   std::to_wstring(angles) + L" angles of " +
                   std::to_wstring(files) + L" files refused (at most " + std::to_wstring(kMaxLoadFiles) + L" files)");
        return;
    }
    bool const canSuspend = node.getAttributeBool(L"CAN_SUSPEND", true);
    bool autoSuspend = true;
    u32 autoSuspendTime = 5000;
    if (XMLAttribute const* a = node.getAttribute(L"AUTO_SUSPEND")) {
        XMLValueTokens pieces = a->split(L" ");
        if (pieces.getCount() >= 1) autoSuspend = pieces.get(0)->getBool();
        if (pieces.getCount() >= 2) autoSuspendTime = pieces.get(1)->getLong();
    }

    XMLNode const* params = node.getChild(L"FRAME_PARAMS");
    int count = 1;
    int columns = 1;
    bool reverse = false;
    RECT start{0, 0, 0, 0};
    bool hasStart = false;
    if (params) {
        readSheetCounts(*params, count, columns);
        reverse = params->getAttributeBool(L"REVERSE", false);
        hasStart = readRectStart(*params, start);
    }

    for (int a = 0; a < angles; ++a) {
        auto set = std::make_unique<AngleFrameSet>();
        set->angle = static_cast<float>(a) * incAngle + startAngle;
        double const whole = std::trunc(static_cast<double>(set->angle));
        int const angleNumber = std::isfinite(whole) ? static_cast<int>(std::clamp(whole, -2147483648.0, 2147483647.0)) : 0;
        for (int j = 0; j < files; ++j) {
            if (AnimationFrameBudget::spentOut(describe()) || frameRoom(heldInSets_ + set->frames.size(), 1) == 0) break;
            std::wstring const file = formatFileName(pattern, angleNumber, j);
            Texture2D* tex = new Texture2D(file);
            if (tex->loadFromFile(file)) {
                tex->setCanSuspend(canSuspend);
                tex->setAutoSuspend(autoSuspend, autoSuspendTime);
                std::vector<AnimationFrame> cells;
                if (hasStart) {
                    appendCells(tex, start, count, columns, reverse, cells);
                } else {
                    cells.assign(static_cast<std::size_t>(std::max(count, 0)), AnimationFrame::fromCell(tex, tex->getRect()));
                }
                appendFrames(set->frames, std::move(cells), heldInSets_);
            }
            // The frames hold the texture from here on.
            tex->release();
        }
        chargeSet(*set);
        heldInSets_ += set->frames.size();
        angleSets_->push_back(std::move(set));
    }
}

}  // namespace Orvex
