// Splash screens: the picture list of a folder, the fade timing, and the engine's own message
// and render loop for each picture.
#include <algorithm>
#include <filesystem>
#include <system_error>

#include "engine/core/GOBManager.h"
#include "engine/core/Logger.h"
#include "engine/core/engine/OrvexEngine.h"
#include "engine/core/engine/OrvexEngineSplash.h"
#include "engine/core/Paths.h"
#include "port/win32/win32_text.h"

namespace Orvex {

namespace {

// One frame of a splash picture every this many milliseconds.
constexpr u32 kSplashFrameMs = 16;

std::wstring folded(std::wstring text) {
    for (wchar_t& ch : text) ch = port::foldCase(ch);
    return text;
}

bool isSplashPicture(std::wstring const& name) {
    std::wstring const lower = folded(name);
    auto endsWith = [&](std::wstring const& tail) {
        return lower.size() > tail.size() && lower.compare(lower.size() - tail.size(), tail.size(), tail) == 0;
    };
    return endsWith(L".jpg") || endsWith(L".png");
}

}  // namespace

SplashTiming::SplashTiming(u32 displayMs, u32 fadeIn, u32 fadeOut)
    : fadeInMs(fadeIn), stayMs(displayMs > fadeIn + fadeOut ? displayMs - fadeIn - fadeOut : 0), fadeOutMs(fadeOut) {}

float SplashTiming::brightnessAt(double elapsedMs) const {
    if (elapsedMs < 0.0 || elapsedMs >= totalMs()) return 0.0f;
    if (elapsedMs < fadeInMs) return static_cast<float>(elapsedMs / fadeInMs);
    double const fadeOutStart = static_cast<double>(fadeInMs) + stayMs;
    if (elapsedMs < fadeOutStart) return 1.0f;
    return static_cast<float>(1.0 - (elapsedMs - fadeOutStart) / fadeOutMs);
}

std::vector<std::wstring> listSplashImages(std::wstring const& folder) {
    std::wstring const folderKey = GOBFile::lookupKey(folder);
    std::vector<std::wstring> names;
    auto add = [&](std::wstring const& name) {
        if (!isSplashPicture(name)) return;
        std::wstring const key = folded(name);
        for (std::wstring const& known : names)
            if (folded(known) == key) return;
        names.push_back(name);
    };

    for (GOBFile const* archive : GOBManager::getInstance().getDefaultOrder().entries) {
        if (!archive) continue;
        for (u32 i = 0; i < archive->getEntryCount(); ++i) {
            std::wstring const key = GOBFile::lookupKey(archive->getEntryName(i));
            std::size_t const slash = key.find_last_of(L'\\');
            std::wstring const dir = slash == std::wstring::npos ? std::wstring() : key.substr(0, slash);
            if (dir == folderKey) add(getFileName(archive->getEntryName(i)));
        }
    }

    std::string const hostFolder = findOnDisk(folder, true);
    if (!hostFolder.empty()) {
        std::error_code error;
        for (auto it = std::filesystem::directory_iterator(hostFolder, error);
             !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
            if (it->is_regular_file(error)) add(port::fromUtf8(it->path().filename().string()));
        }
    }

    std::sort(names.begin(), names.end(),
              [](std::wstring const& a, std::wstring const& b) { return folded(a) < folded(b); });
    std::wstring const prefix = folder.empty() || folder.back() == L'\\' ? folder : folder + L"\\";
    for (std::wstring& name : names) name = prefix + name;
    return names;
}

bool OrvexEngine::showSplashScreens(std::wstring const& folder, u32 const& displayMs, u32 const& fadeInMs,
                                    u32 const& fadeOutMs) {
    SplashTiming const timing(displayMs, fadeInMs, fadeOutMs);
    for (std::wstring const& path : listSplashImages(folder)) {
        SplashPicture* picture = loadSplashPicture(path);
        double const start = now();
        for (;;) {
            while (runState_ == kRunning && pumpMessage()) {
            }
            if (runState_ != kRunning) {
                releaseSplashPicture(picture);
                return false;
            }
            double const elapsedMs = (now() - start) * 1000.0;
            if (elapsedMs >= timing.totalMs()) break;
            float const brightness = timing.brightnessAt(elapsedMs);
            bool const drawn = beginSplashFrame(picture, brightness);
            splashFrameSignal.emit(path, brightness);
            if (drawn) endSplashFrame();
            sleepFor(kSplashFrameMs);
        }
        releaseSplashPicture(picture);
    }
    return true;
}

}  // namespace Orvex
