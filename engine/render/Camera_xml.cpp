// Cameras in property files: writing (as "CAM_saveCamera" saves them) and reading back.
// A free angle is written as its angle for a 4:3 screen, and "FOV_FIXED" (three flags: the
// angle, the smallest, the largest) tells which records are fixed, so a camera read back
// projects as it did. A value that cannot be used (not a positive finite angle, clip planes
// out of order or beyond what the single-precision projection takes, a coordinate that is not
// finite) keeps the camera's present value and is named in the one log line the camera writes.
#include <cmath>
#include <sstream>
#include <vector>

#include "engine/core/Logger.h"
#include "engine/core/XMLNode.h"
#include "engine/render/Camera.h"

namespace Orvex {

namespace {

std::wstring numberText(double value) {
    std::wostringstream out;
    out << value;
    return out.str();
}

using Problems = std::vector<std::wstring>;

// Reads the attribute as a double into value when present and acceptable.
void readPositive(XMLNode const& node, wchar_t const* key, double& value, Problems& report) {
    XMLAttribute const* attribute = node.getAttribute(key);
    if (!attribute) return;
    double const read = attribute->getDouble();
    if (std::isfinite(read) && read > 0.0)
        value = read;
    else
        report.push_back(std::wstring(L"bad \"") + key + L"\"");
}

void readVector(XMLNode const& node, wchar_t const* child, D3DXVECTOR3& v, Problems& report) {
    XMLNode const* element = node.getChild(child);
    if (!element) return;
    wchar_t const* const keys[3] = {L"X", L"Y", L"Z"};
    for (int i = 0; i < 3; ++i) {
        XMLAttribute const* attribute = element->getAttribute(keys[i]);
        if (!attribute) continue;
        float const read = attribute->getFloat();
        if (std::isfinite(read))
            v[i] = read;
        else
            report.push_back(std::wstring(L"bad \"") + child + L"\" " + keys[i]);
    }
}

void writeVector(XMLNode& node, wchar_t const* child, D3DXVECTOR3 const& v) {
    XMLNode* element = node.addChild(child);
    element->addAttribute(new XMLAttribute(L"X", v.x));
    element->addAttribute(new XMLAttribute(L"Y", v.y));
    element->addAttribute(new XMLAttribute(L"Z", v.z));
}

void readFovRecord(double degrees, bool fixed, Camera::FOV& record) {
    record.degrees = degrees;
    record.fixed = fixed ? 1 : 0;
    record.aspect = fixed ? 1.0 : Camera::kSavedAspect;
}

void readProjection(XMLNode& node, double& zNear, double& zFar, Camera::FOV (&records)[3], Problems& report) {
    bool fixed[3] = {true, true, true};
    if (XMLAttribute const* flags = node.getAttribute(L"FOV_FIXED")) {
        auto const words = flags->split(L" ");
        for (u32 i = 0; i < 3 && i < words.getCount(); ++i) fixed[i] = words.get(i)->getBool();
    }
    double degrees = records[0].savedDegrees();
    bool const hasFov = node.getAttribute(L"FOV") != nullptr;
    readPositive(node, L"FOV", degrees, report);
    if (hasFov || node.getAttribute(L"FOV_FIXED")) readFovRecord(degrees, fixed[0], records[0]);
    if (XMLAttribute const* extrema = node.getAttribute(L"FOV_EXTREMA")) {
        auto const words = extrema->split(L" ");
        for (u32 i = 0; i < 2; ++i) {
            double const read = words.get(i) ? words.get(i)->getDouble() : 0.0;
            if (std::isfinite(read) && read > 0.0)
                readFovRecord(read, fixed[i + 1], records[i + 1]);
            else
                report.push_back(L"bad \"FOV_EXTREMA\"");
        }
    }
    readPositive(node, L"ZNEAR", zNear, report);
    readPositive(node, L"ZFAR", zFar, report);
}

}  // namespace

void Camera::writeXML(XMLNode& node) const {
    NamedObject::writeXML(node);
    node.addAttribute(new XMLAttribute(L"FOV", fov_.savedDegrees()));
    node.addAttribute(
        new XMLAttribute(L"FOV_EXTREMA", numberText(fovMin_.savedDegrees()) + L" " + numberText(fovMax_.savedDegrees())));
    node.addAttribute(new XMLAttribute(L"ZNEAR", zNear_));
    node.addAttribute(new XMLAttribute(L"ZFAR", zFar_));
    node.addAttribute(new XMLAttribute(L"FOV_FIXED", std::to_wstring(fov_.fixed ? 1 : 0) + L" " +
                                                         std::to_wstring(fovMin_.fixed ? 1 : 0) + L" " +
                                                         std::to_wstring(fovMax_.fixed ? 1 : 0)));
}

void Camera::readXML(XMLNode& node) {
    NamedObject::readXML(node);
    Problems problems;
    readFields(node, problems);
    if (problems.empty()) return;
    std::wstring line = L"Camera \"" + getName() + L"\"" + atLine(node) + L": ";
    for (std::size_t i = 0; i < problems.size(); ++i) line += (i ? L", " : L"") + problems[i];
    logError(line + L" (kept the present values)");
}

void Camera::readFields(XMLNode& node, std::vector<std::wstring>& problems) {
    double zNear = zNear_;
    double zFar = zFar_;
    FOV records[3] = {fov_, fovMin_, fovMax_};
    readProjection(node, zNear, zFar, records, problems);
    fov_ = records[0];
    fovMin_ = records[1];
    fovMax_ = records[2];
    if (zNear >= zFar) {
        problems.push_back(L"\"ZNEAR\" not below \"ZFAR\"");
    } else if (!usableClipPlanes(zNear, zFar)) {
        problems.push_back(L"\"ZNEAR\" and \"ZFAR\" beyond what the projection can take");
    } else {
        zNear_ = zNear;
        zFar_ = zFar;
    }
    buildProjection();
}

void LookAtCamera::writeXML(XMLNode& node) const {
    Camera::writeXML(node);
    node.addAttribute(new XMLAttribute(L"TYPE", L"LOOKAT"));
    writeVector(node, L"POSITION_EYE", eye_);
    writeVector(node, L"POSITION_LOOKAT", lookAt_);
    writeVector(node, L"UP", up_);
}

void LookAtCamera::readFields(XMLNode& node, std::vector<std::wstring>& problems) {
    Camera::readFields(node, problems);
    readVector(node, L"POSITION_EYE", eye_, problems);
    readVector(node, L"POSITION_LOOKAT", lookAt_, problems);
    readVector(node, L"UP", up_, problems);
    buildView();
}

}  // namespace Orvex
