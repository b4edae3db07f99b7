// The camera list, the active camera, saving and loading camera files, and the "CAM_" console
// commands. Numbers in replies are written as a wide text stream writes them by default.
#include "engine/render/CameraManager.h"

#include <sstream>

#include "engine/core/Logger.h"
#include "engine/core/NamedObjectList.h"
#include "engine/core/Utils.h"
#include "engine/core/XMLNode.h"
#include "engine/render/Camera.h"

namespace Orvex {

namespace {

wchar_t const kSetActive[] = L"CAM_setActiveCamera";
wchar_t const kGetNames[] = L"CAM_getAllCameraNames";
wchar_t const kSetEye[] = L"CAM_setEyePosition";
wchar_t const kGetEye[] = L"CAM_getEyePosition";
wchar_t const kSave[] = L"CAM_saveCamera";
wchar_t const kLoad[] = L"CAM_loadCamera";
wchar_t const kNotFound[] = L"Camera nicht gefunden!";

std::wstring positionText(D3DXVECTOR3 const& v) {
    std::wostringstream out;
    out << L"Camera auf Position " << v.x << L" " << v.y << L" " << v.z;
    return out.str();
}

}  // namespace

CameraManager& CameraManager::getInstance() {
    static CameraManager instance;
    return instance;
}

CameraManager::CameraManager() {
    addCommand(new ConsoleCommand(kSetActive, 1, L"CAM_setActiveCamera Cameraname; macht Camera aktiv!"));
    addCommand(new ConsoleCommand(kGetNames, 0, L"CAM_getAllCameraNames; gibt eine List der erstellten Cameras zurück!"));
    addCommand(new ConsoleCommand(
        kSetEye, 4, L"CAM_setEyePosition Cameraname x y z; setzt die Camera auf die angegebene Position"));
    addCommand(new ConsoleCommand(kGetEye, 1, L""));
    addCommand(new ConsoleCommand(kSave, 1, L"CAM_saveCamera filename [name] ; Cameras speichern"));
    addCommand(new ConsoleCommand(kLoad, 1, L"CAM_loadCamera filename ; Cameras laden"));
}

CameraManager::~CameraManager() { clear(); }

void CameraManager::addCamera(Camera& camera) { addReferenced(cameras_, camera); }

bool CameraManager::removeCamera(Camera& camera) {
    if (active_ == &camera) active_ = nullptr;
    return removeReferenced(cameras_, camera);
}

void CameraManager::clear() {
    active_ = nullptr;
    releaseAll(cameras_);
}

Camera* CameraManager::findCamera(std::wstring const& name) const { return findNamedObject(cameras_, name); }

bool CameraManager::setActiveCamera(Camera* camera) {
    if (camera && std::find(cameras_.begin(), cameras_.end(), camera) == cameras_.end()) return false;
    active_ = camera;
    return true;
}

unsigned CameraManager::fillCameraNode(XMLNode& node, std::wstring const* name) const {
    node.setName(L"CAMERAS");
    unsigned count = 0;
    for (Camera* camera : cameras_) {
        if (name && camera->getName() != *name) continue;
        camera->writeXML(*node.addChild(L"CAMERA"));
        ++count;
    }
    return count;
}

unsigned CameraManager::loadCameras(std::wstring const& fileName) {
    XMLNode root;
    if (!root.load(fileName)) {
        logError(L"Camera file \"" + fileName + L"\" could not be read");
        return 0;
    }
    unsigned count = 0;
    for (auto const& child : root.children()) {
        if (child->getName() != L"CAMERA") continue;
        std::wstring const type = child->getAttributeString(L"TYPE", L"LOOKAT");
        if (type != L"LOOKAT") {
            logError(L"Camera file \"" + fileName + L"\"" + atLine(*child) + L": camera type \"" + type +
                     L"\" unknown, camera skipped");
            continue;
        }
        std::wstring const name = child->getAttributeString(L"NAME", L"");
        if (Camera* known = name.empty() ? nullptr : findCamera(name)) {
            known->readXML(*child);
        } else {
            if (cameras_.size() >= kMaxLoadedCameras) {
                logError(L"Camera file \"" + fileName + L"\"" + atLine(*child) + L": more than " +
                         std::to_wstring(kMaxLoadedCameras) +
                         L" cameras; the rest is not read");
                break;
            }
            auto* camera = new LookAtCamera(name);
            camera->readXML(*child);
            addCamera(*camera);
            camera->release();
        }
        ++count;
    }
    return count;
}

void CameraManager::executeCommand(ConsoleCommand& command, TypedConsoleCommand& typed) {
    if (command.isNamed(kGetNames)) {
        std::wstring reply;
        for (Camera* camera : cameras_) reply += camera->getName() + L"\n";
        typed.setReply(reply);
    } else if (command.isNamed(kSetActive)) {
        Camera* camera = findCamera(typed.getArgument(0));
        if (camera) setActiveCamera(camera);
        typed.setReply(camera ? L"Camera ist Aktiv!" : kNotFound);
    } else if (command.isNamed(kSetEye)) {
        Camera* camera = findCamera(typed.getArgument(0));
        if (!camera) {
            typed.setReply(kNotFound);
            return;
        }
        D3DXVECTOR3 const eye(static_cast<float>(typed.getArgumentDouble(1)), static_cast<float>(typed.getArgumentDouble(2)),
                              static_cast<float>(typed.getArgumentDouble(3)));
        camera->setEyePosition(eye);
        typed.setReply(positionText(eye) + L" gesetzt!");
    } else if (command.isNamed(kGetEye)) {
        Camera* camera = findCamera(typed.getArgument(0));
        typed.setReply(camera ? positionText(camera->getEyePosition()) : std::wstring(kNotFound));
    } else if (command.isNamed(kSave)) {
        XMLNode node;
        std::wstring const name = typed.getArgument(1);
        unsigned const count = fillCameraNode(node, typed.getArgumentCount() > 1 ? &name : nullptr);
        if (node.save(typed.getArgument(0), true))
            typed.setReply(std::to_wstring(count) + L" Cameras saved!");
        else
            typed.setReply(L"Cameras nicht gespeichert: " + typed.getArgument(0));
    } else if (command.isNamed(kLoad)) {
        typed.setReply(std::to_wstring(loadCameras(typed.getArgument(0))) + L" Cameras loaded!");
    }
}

void CameraManager::completeArguments(TypedConsoleCommand const& typed, std::vector<std::wstring>& offers) {
    if (typed.isCommand(kSave)) {
        for (Camera* camera : cameras_) offers.push_back(typed.getArgument(0) + L" " + camera->getName());
        return;
    }
    if (!typed.isCommand(kSetActive) && !typed.isCommand(kGetEye) && !typed.isCommand(kSetEye)) return;
    if (typed.getArgumentCount() > 1 || cameras_.empty()) return;
    appendNamesStartingWith(cameras_, typed.getArgument(0), offers);
}

}  // namespace Orvex
