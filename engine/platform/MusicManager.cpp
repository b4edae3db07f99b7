// The music manager (see MusicManager.h). Track files are opened by the streams like every
// other file: the archives first, then the disk.
#include "engine/platform/MusicManager.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "engine/core/Logger.h"
#include "engine/core/XMLNode.h"

namespace Orvex {

MusicManager& MusicManager::getInstance() {
    static MusicManager instance;
    return instance;
}

u32 MusicManager::loadMusic(XMLNode const& node) {
    u32 taken = 0;
    forEachChild(node, L"ENTRY", [&](XMLNode const& entry) {
        std::wstring name = entry.getAttributeString(L"NAME", std::wstring());
        XMLProperty const* file = entry.getValue(0);
        if (name.empty() || !file || file->getString().empty()) {
            logWarning(L"MusicManager: music entry" + atLine(entry) + L" without NAME or file skipped");
            return true;
        }
        Track track;
        track.file = file->getString();
        double volume = entry.getAttributeDouble(L"VOLUME", 1.0);
        track.volume = std::isfinite(volume) ? std::clamp(volume, 0.0, 1.0) : 1.0;
        track.loop = entry.getAttributeBool(L"LOOP", true);
        tracks_[name] = track;
        ++taken;
        return true;
    });
    return taken;
}

void MusicManager::clear() {
    current_.reset();
    currentName_.clear();
    tracks_.clear();
}

bool MusicManager::play(std::wstring const& name, bool restart) {
    auto it = tracks_.find(name);
    if (it == tracks_.end()) {
        logWarning(L"MusicManager: no music track \"" + name + L"\"");
        return false;
    }
    if (current_ && currentName_ == name) {
        if (restart) {
            current_->stop();
            return SUCCEEDED(current_->run());
        }
        if (current_->getState() != MusicStream::STATE_RUNNING) current_->run();
        return true;
    }
    Track const& track = it->second;
    auto stream = std::make_unique<MusicStream>();
    stream->setLooping(track.loop);
    stream->setVolume(track.volume * volume_);
    if (FAILED(stream->load(track.file))) return false;
    // The port's music session is made with the first graph, after this manager, so it would
    // be destroyed first at exit: let the streams go before that.
    static bool exitHookSet = false;
    if (!exitHookSet) {
        exitHookSet = true;
        std::atexit([] {
            MusicManager& manager = getInstance();
            manager.current_.reset();
            manager.currentName_.clear();
        });
    }
    if (current_) current_->stop();
    current_ = std::move(stream);
    currentName_ = name;
    return SUCCEEDED(current_->run());
}

void MusicManager::pause() {
    if (current_) current_->pause();
}

void MusicManager::resume() {
    if (current_ && current_->getState() == MusicStream::STATE_PAUSED) current_->run();
}

void MusicManager::stop() {
    if (current_) current_->stop();
}

void MusicManager::setVolume(double volume) {
    volume_ = std::isfinite(volume) ? std::clamp(volume, 0.0, 1.0) : volume_;
    if (!current_) return;
    auto it = tracks_.find(currentName_);
    current_->setVolume((it != tracks_.end() ? it->second.volume : 1.0) * volume_);
}

void MusicManager::update() {
    if (current_) current_->update();
}

}  // namespace Orvex
