// One piece of music as a DirectShow graph (see MusicStream.h). The file is read whole through
// the archives and played from memory, as the graph itself only sees the disk.
#include "engine/platform/MusicStream.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/core/File.h"
#include "engine/core/Logger.h"
#include "engine/platform/PlayingSound.h"
#include "port/dshow/dshow_memory.h"

namespace Orvex {

namespace {

template <class T>
void releaseInterface(T*& object) {
    if (object) object->Release();
    object = nullptr;
}

}  // namespace

MusicStream::~MusicStream() { unload(); }

HRESULT MusicStream::load(std::wstring const& fileName) {
    unload();
    fileName_ = fileName;
    // A track is loaded again each time it is played: a file that cannot be read is told once.
    File file(fileName);
    bool const found = file.open(fileName);
    std::vector<u8> bytes;
    if (!file.readAllOnce(bytes, L"MusicStream: music \"" + fileName + L"\"")) return found ? E_FAIL : HRESULT_FILE_NOT_FOUND;
    void* object = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, &object);
    if (FAILED(hr) || !object) {
        logError(L"MusicStream: no filter graph for \"" + fileName + L"\"");
        return FAILED(hr) ? hr : E_FAIL;
    }
    graph_ = static_cast<IGraphBuilder*>(object);
    hr = port::dshow::renderMemory(graph_, std::move(bytes), fileName);
    if (SUCCEEDED(hr)) hr = graph_->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&control_));
    if (SUCCEEDED(hr)) hr = graph_->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(&seeking_));
    if (SUCCEEDED(hr)) hr = graph_->QueryInterface(IID_IMediaEvent, reinterpret_cast<void**>(&events_));
    if (FAILED(hr)) {
        logError(L"MusicStream: \"" + fileName + L"\" cannot be played");
        unload();
        fileName_ = fileName;
        return hr;
    }
    graph_->QueryInterface(IID_IBasicAudio, reinterpret_cast<void**>(&audio_));
    applyVolume();
    state_ = STATE_LOADED;
    return S_OK;
}

void MusicStream::unload() {
    if (control_) control_->Stop();
    releaseInterface(audio_);
    releaseInterface(events_);
    releaseInterface(seeking_);
    releaseInterface(control_);
    releaseInterface(graph_);
    state_ = STATE_EMPTY;
}

HRESULT MusicStream::run() {
    if (state_ != STATE_LOADED && state_ != STATE_PAUSED) return VFW_E_WRONG_STATE;
    HRESULT hr = control_->Run();
    if (SUCCEEDED(hr)) state_ = STATE_RUNNING;
    return hr;
}

HRESULT MusicStream::pause() {
    if (state_ != STATE_RUNNING && state_ != STATE_LOADED) return VFW_E_WRONG_STATE;
    HRESULT hr = control_->Pause();
    if (SUCCEEDED(hr)) state_ = STATE_PAUSED;
    return hr;
}

HRESULT MusicStream::stop() {
    if (state_ != STATE_RUNNING && state_ != STATE_PAUSED) return VFW_E_WRONG_STATE;
    HRESULT hr = control_->Stop();
    if (SUCCEEDED(hr)) {
        state_ = STATE_LOADED;
        rewind();
    }
    return hr;
}

HRESULT MusicStream::rewind() {
    if (!seeking_) return VFW_E_WRONG_STATE;
    LONGLONG start = 0;
    return seeking_->SetPositions(&start, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning);
}

double MusicStream::getPosition() const {
    LONGLONG units = 0;
    if (!seeking_ || FAILED(seeking_->GetCurrentPosition(&units))) return 0;
    return static_cast<double>(units) / 10000000.0;  // 100-ns units
}

void MusicStream::setVolume(double volume) {
    volume_ = std::isfinite(volume) ? std::clamp(volume, 0.0, 1.0) : volume_;
    applyVolume();
}

void MusicStream::applyVolume() {
    if (audio_) audio_->put_Volume(PlayingSound::toHundredthsDb(volume_));
}

void MusicStream::update() {
    if (state_ == STATE_EMPTY) return;
    LONG code = 0;
    LONG_PTR param1 = 0, param2 = 0;
    // Bounded: a graph reports few events, but never let one frame spin on them.
    for (int i = 0; i < 16 && SUCCEEDED(events_->GetEvent(&code, &param1, &param2, 0)); ++i) {
        events_->FreeEventParams(code, param1, param2);
        if (code != EC_COMPLETE) continue;
        rewind();
        if (loop_ && state_ == STATE_RUNNING) {
            control_->Run();
        } else {
            control_->Stop();
            state_ = STATE_LOADED;
        }
    }
    OAFilterState graphState = State_Stopped;
    if (state_ == STATE_RUNNING && SUCCEEDED(control_->GetState(0, &graphState)) && graphState == State_Paused)
        state_ = STATE_PAUSED;
}

}  // namespace Orvex
