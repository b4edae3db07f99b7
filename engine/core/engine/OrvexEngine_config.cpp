// The settings file "config.cfg": root "MyEngineParams", the engine's init records under
// "ENGINE_PARAMS" and the game's settings under "API_PARAMS". Written as 8-bit text through a
// temporary file (XMLNode::save), so a failed write keeps the previous file. A file that cannot be
// read (not a regular file, unreadable, too large) is kept aside at load (KeepAside.h), as the end
// would write over it; one read only in part is kept aside by the save that writes over it, so
// that until then it is read again at each start.
#include "engine/core/File.h"
#include "engine/core/GOBManager.h"
#include "engine/core/KeepAside.h"
#include "engine/core/Logger.h"
#include "engine/core/engine/OrvexEngine.h"
#include "engine/core/UserGlobals.h"
#include "engine/core/XMLNode.h"
#include "port/win32/win32_paths.h"

namespace Orvex {

namespace {

constexpr wchar_t kRootName[] = L"MyEngineParams";
constexpr wchar_t kEngineParams[] = L"ENGINE_PARAMS";
constexpr wchar_t kApiParams[] = L"API_PARAMS";
constexpr wchar_t kTexParams[] = L"TEXINITPARAMS";

}  // namespace

bool OrvexEngine::loadConfig(std::wstring const& path) {
    configLeftAlone_.clear();
    configReadInPart_.clear();
    std::wstring const what = L"Settings file \"" + path + L"\"";
    // A file that cannot be read would be written over at the end: it is kept aside first, and
    // where it cannot be, left alone. Part of its one line.
    auto keptAside = [&] {
        std::string const host = port::hostPath(path);
        KeptAside const kept = keepAside(host, host, File::kMaxTextFileBytes);
        if (kept.place.empty()) {
            configLeftAlone_ = path;
            return L"; it cannot be kept aside (" + kept.whyNot + L"), so it is not written over";
        }
        return kept.told();
    };
    // Opened here rather than by XMLNode::load so that each failure gives exactly one line.
    File file(path);
    if (!file.open(path, GOBManager::getInstance().getDiskOrder())) {
        std::wstring const why = whyKeepAside(port::hostPath(path), File::kMaxTextFileBytes);
        if (why.empty()) file.logNotOpen(what, L"; default settings are used");
        else logError(what + L" " + why + keptAside() + L"; default settings are used");
        return false;
    }
    std::wstring whyNot;
    std::wstring const text = file.readText(File::kMaxTextFileBytes, &whyNot);
    if (!whyNot.empty()) {
        logError(what + L" " + whyNot + keptAside() + L"; default settings are used");
        return false;
    }
    if (text.find_first_not_of(L" \t\r\n") == std::wstring::npos) {
        logWarning(what + L" is empty; default settings are used");
        return false;
    }
    XMLNode root;
    // A damaged file logs its own line and keeps what was read before the damage.
    XMLNode::ReadResult const read = root.loadFromTextChecked(text, path);
    if (read == XMLNode::ReadResult::kNothing) return false;
    if (read == XMLNode::ReadResult::kDamaged) configReadInPart_ = path;
    XMLNode const* engineParams = root.getName() == kRootName ? root.getChild(kEngineParams) : nullptr;
    if (!engineParams) {
        logWarning(L"Settings file \"" + path + L"\" holds no " + kRootName + L"/" + kEngineParams +
                   L"; default settings are used");
        return false;
    }

    bool ok = readPlatformConfig(*engineParams);
    if (XMLNode const* tex = engineParams->getChild(kTexParams)) ok = texParams_.read(*tex) && ok;

    if (userGlobals_) {
        XMLNode empty(kApiParams);
        XMLNode* api = root.getChild(kApiParams);
        ok = userGlobals_->load(api ? *api : empty) && ok;
    }
    if (!ok) logWarning(L"Settings file \"" + path + L"\": some sections could not be read");
    return true;
}

bool OrvexEngine::saveConfig(std::wstring const& path) {
    if (!configLeftAlone_.empty() && configLeftAlone_ == path) {
        logWarning(L"Settings file \"" + path + L"\" is not written: it could not be read or kept aside");
        return false;
    }
    if (!configReadInPart_.empty() && configReadInPart_ == path) {
        std::string const host = port::hostPath(path);
        if (isNameTaken(host)) {
            KeptAside const kept = keepAside(host, host, File::kMaxTextFileBytes);
            if (kept.place.empty()) {
                logError(L"Settings file \"" + path + L"\" does not read completely and cannot be kept aside (" +
                         kept.whyNot + L"); it is not written over");
                return false;
            }
            logError(L"Settings file \"" + path + L"\" does not read completely" + kept.told());
        }
        configReadInPart_.clear();
    }
    XMLNode root(kRootName);
    XMLNode* engineParams = root.addChild(kEngineParams);
    writePlatformConfig(*engineParams);
    texParams_.write(*engineParams->addChild(kTexParams));

    XMLNode* api = root.addChild(kApiParams);
    if (userGlobals_ && !userGlobals_->save(*api))
        logWarning(L"Settings file \"" + path + L"\": the game's settings could not be written");

    if (!root.save(path, false)) {
        logError(L"Settings file \"" + path + L"\" could not be written");
        return false;
    }
    return true;
}

}  // namespace Orvex
