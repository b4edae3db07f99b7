// The filter graph: one music file (from disk, or from memory through renderMemory) through
// SDL2_mixer, with the control, seeking, position, audio and event interfaces of a DirectShow
// graph.
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cmath>
#include <thread>
#include <type_traits>

#include "port/dshow/MusicSession.h"
#include "port/dshow/dshow.h"
#include "port/dshow/dshow_memory.h"
#include "port/win32/ComObject.h"
#include "port/win32/win32_paths.h"
#include "port/win32/win32_text.h"
#include "port/win32/win32_log.h"

namespace port::dshow {
namespace {

constexpr double kUnitsPerSecond = 10000000.0;

LONGLONG toUnits(double seconds) { return static_cast<LONGLONG>(std::llround(seconds * kUnitsPerSecond)); }

// The usual getter: E_POINTER for a null out-pointer, else the value and S_OK.
template <class T>
HRESULT putOut(T* out, std::type_identity_t<T> value) {
    if (!out) return E_POINTER;
    *out = value;
    return S_OK;
}

// IID_IUnknown gives the IGraphBuilder interface; IMediaEvent is answered by IMediaEventEx.
using GraphInterfaces = port::ComObjectOf<port::ComFace<IGraphBuilder, IID_IGraphBuilder>,
                                          port::ComFace<IMediaControl, IID_IMediaControl>,
                                          port::ComFace<IMediaEventEx, IID_IMediaEvent, IID_IMediaEventEx>,
                                          port::ComFace<IMediaSeeking, IID_IMediaSeeking>,
                                          port::ComFace<IMediaPosition, IID_IMediaPosition>,
                                          port::ComFace<IBasicAudio, IID_IBasicAudio>>;

class FilterGraph final : public GraphInterfaces, public MusicOwner {
public:
    FilterGraph() { session().addGraph(); }

    // IGraphBuilder / IMediaControl
    HRESULT RenderFile(LPCWSTR file, LPCWSTR) override;
    HRESULT Abort() override { return S_OK; }  // rendering never runs in the background
    HRESULT RenderFile(BSTR file) override { return RenderFile(file, nullptr); }
    HRESULT renderMemory(std::vector<unsigned char> bytes, std::wstring const& name);
    HRESULT Run() override;
    HRESULT Pause() override;
    HRESULT Stop() override {
        if (!music_) return S_OK;
        position_ = seconds();
        session().release(this);
        state_ = State_Stopped;
        return S_OK;
    }
    HRESULT StopWhenReady() override { return Stop(); }
    HRESULT GetState(LONG, OAFilterState* state) override { return putOut(state, state_); }

    // IMediaEvent(Ex)
    HRESULT GetEventHandle(OAEVENT*) override { return E_NOTIMPL; }
    HRESULT GetEvent(LONG* code, LONG_PTR* param1, LONG_PTR* param2, LONG msTimeout) override;
    HRESULT WaitForCompletion(LONG msTimeout, LONG* code) override;
    HRESULT CancelDefaultHandling(LONG) override { return S_OK; }
    HRESULT RestoreDefaultHandling(LONG) override { return S_OK; }
    HRESULT FreeEventParams(LONG, LONG_PTR, LONG_PTR) override { return S_OK; }
    HRESULT SetNotifyWindow(OAHWND, LONG, LONG_PTR) override { return E_NOTIMPL; }
    HRESULT SetNotifyFlags(LONG flags) override {
        if (flags & ~LONG(AM_MEDIAEVENT_NONOTIFY)) return E_INVALIDARG;
        notifyFlags_ = flags;
        return S_OK;
    }
    HRESULT GetNotifyFlags(LONG* flags) override { return putOut(flags, notifyFlags_); }

    // IMediaSeeking
    HRESULT GetCapabilities(DWORD* caps) override { return putOut(caps, kCaps); }
    HRESULT CheckCapabilities(DWORD* caps) override {
        if (!caps) return E_POINTER;
        DWORD asked = *caps;
        *caps &= kCaps;
        return *caps == asked ? S_OK : *caps ? S_FALSE : E_FAIL;
    }
    HRESULT IsFormatSupported(const GUID* format) override {
        if (!format) return E_POINTER;
        return *format == TIME_FORMAT_MEDIA_TIME ? S_OK : S_FALSE;
    }
    HRESULT QueryPreferredFormat(GUID* format) override { return GetTimeFormat(format); }
    HRESULT GetTimeFormat(GUID* format) override { return putOut(format, TIME_FORMAT_MEDIA_TIME); }
    HRESULT IsUsingTimeFormat(const GUID* format) override { return IsFormatSupported(format); }
    HRESULT SetTimeFormat(const GUID* format) override { return IsFormatSupported(format) == S_OK ? S_OK : E_INVALIDARG; }
    HRESULT GetDuration(LONGLONG* duration) override {
        if (!duration) return E_POINTER;
        if (duration_ < 0) return E_NOTIMPL;
        *duration = toUnits(duration_);
        return S_OK;
    }
    HRESULT GetStopPosition(LONGLONG* stop) override { return GetDuration(stop); }
    HRESULT GetCurrentPosition(LONGLONG* current) override { return putOut(current, toUnits(seconds())); }
    HRESULT ConvertTimeFormat(LONGLONG* target, const GUID* targetFormat, LONGLONG source, const GUID* sourceFormat) override {
        if (!target) return E_POINTER;
        if ((targetFormat && !(*targetFormat == TIME_FORMAT_MEDIA_TIME)) ||
            (sourceFormat && !(*sourceFormat == TIME_FORMAT_MEDIA_TIME)))
            return E_INVALIDARG;
        *target = source;
        return S_OK;
    }
    HRESULT SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG* stop, DWORD stopFlags) override;
    HRESULT GetPositions(LONGLONG* current, LONGLONG* stop) override {
        if (current) GetCurrentPosition(current);
        if (stop && GetDuration(stop) != S_OK) *stop = 0;
        return S_OK;
    }
    HRESULT GetAvailable(LONGLONG* earliest, LONGLONG* latest) override {
        if (earliest) *earliest = 0;
        return latest ? GetDuration(latest) : S_OK;
    }
    HRESULT SetRate(double rate) override { return rate == 1.0 ? S_OK : E_NOTIMPL; }
    HRESULT GetRate(double* rate) override { return putOut(rate, 1.0); }
    HRESULT GetPreroll(LONGLONG* preroll) override { return putOut(preroll, 0); }

    // IMediaPosition
    HRESULT get_Duration(REFTIME* length) override {
        if (!length) return E_POINTER;
        if (duration_ < 0) return E_NOTIMPL;
        *length = duration_;
        return S_OK;
    }
    HRESULT put_CurrentPosition(REFTIME time) override {
        LONGLONG units = toUnits(time);
        return SetPositions(&units, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning);
    }
    HRESULT get_CurrentPosition(REFTIME* time) override { return putOut(time, seconds()); }
    HRESULT get_StopTime(REFTIME* time) override { return get_Duration(time); }
    HRESULT put_StopTime(REFTIME time) override { return duration_ >= 0 && time == duration_ ? S_OK : E_NOTIMPL; }
    HRESULT get_PrerollTime(REFTIME* time) override { return putOut(time, 0); }
    HRESULT put_PrerollTime(REFTIME time) override { return time == 0 ? S_OK : E_NOTIMPL; }
    HRESULT put_Rate(double rate) override { return SetRate(rate); }
    HRESULT get_Rate(double* rate) override { return GetRate(rate); }
    HRESULT CanSeekForward(LONG* can) override { return putOut(can, -1); }  // OATRUE
    HRESULT CanSeekBackward(LONG* can) override { return CanSeekForward(can); }

    // IBasicAudio
    HRESULT put_Volume(LONG volume) override {
        if (volume < -10000 || volume > 0) return E_INVALIDARG;
        volume_ = volume;
        if (live()) applyVolume();
        return S_OK;
    }
    HRESULT get_Volume(LONG* volume) override { return putOut(volume, volume_); }
    HRESULT put_Balance(LONG balance) override {
        if (balance < -10000 || balance > 10000) return E_INVALIDARG;
        return balance == 0 ? S_OK : E_NOTIMPL;  // the music channel is not panned
    }
    HRESULT get_Balance(LONG* balance) override { return putOut(balance, 0); }

    void onDisplaced() override {
        position_ = seconds();
        if (state_ == State_Running) state_ = State_Paused;
    }

private:
    static constexpr DWORD kCaps = AM_SEEKING_CanSeekAbsolute | AM_SEEKING_CanSeekForwards |
                                   AM_SEEKING_CanSeekBackwards | AM_SEEKING_CanGetCurrentPos |
                                   AM_SEEKING_CanGetStopPos | AM_SEEKING_CanGetDuration;

    ~FilterGraph() override {
        session().release(this);
        if (music_) Mix_FreeMusic(music_);
        session().removeGraph();
    }
    static MusicSession& session() { return MusicSession::instance(); }
    bool live() const { return session().owner() == this; }
    void applyVolume() const {
        double gain = volume_ <= -10000 ? 0.0 : std::pow(10.0, volume_ / 2000.0);
        Mix_VolumeMusic(static_cast<int>(std::lround(gain * MIX_MAX_VOLUME)));
    }
    // The playing position in seconds.
    double seconds() const {
        if (ended) return duration_ >= 0 ? duration_ : position_;
        if (live()) {
            double p = Mix_GetMusicPosition(music_);
            if (p >= 0) return p;
        }
        return position_;
    }
    // Takes the music channel and plays from the position (paused when the graph is paused).
    HRESULT startAt(double position);
    // Keeps the music loaded by a render call (null: it could not be decoded).
    HRESULT adopt(Mix_Music* music, std::wstring const& what);

    std::vector<unsigned char> memory_;  // the file music_ decodes from, when rendered from memory
    Mix_Music* music_ = nullptr;
    double duration_ = -1;
    double position_ = 0;
    OAFilterState state_ = State_Stopped;
    LONG volume_ = 0;
    LONG notifyFlags_ = 0;
};

HRESULT FilterGraph::RenderFile(LPCWSTR file, LPCWSTR) {
    if (!file) return E_POINTER;
    if (music_) return VFW_E_WRONG_STATE;
    // Opened here, only when a regular file, and handed to the mixer open: the mixer's own open
    // would wait for ever on a FIFO of that name.
    std::wstring whyNot;
    std::FILE* opened = port::openRegularFile(port::hostPath(file), "rb", &whyNot);
    if (!opened) {
        bool const missing = errno == ENOENT || errno == ENOTDIR;
        port::logLine(port::LogLevel::Error, std::wstring(L"RenderFile: \"") + file + L"\" " +
                                                 (missing ? L"not found" : L"cannot be read (" + whyNot + L")"));
        return HRESULT_FILE_NOT_FOUND;
    }
    SDL_RWops* source = SDL_RWFromFP(opened, SDL_TRUE);
    if (!source) std::fclose(opened);
    if (!session().open()) {
        if (source) SDL_RWclose(source);
        return E_FAIL;
    }
    return adopt(source ? Mix_LoadMUS_RW(source, 1) : nullptr, std::wstring(L"RenderFile: cannot decode \"") + file + L"\"");
}

HRESULT FilterGraph::renderMemory(std::vector<unsigned char> bytes, std::wstring const& name) {
    if (music_) return VFW_E_WRONG_STATE;
    if (!session().open()) return E_FAIL;
    memory_ = std::move(bytes);
    SDL_RWops* source = memory_.size() <= INT_MAX
                            ? SDL_RWFromConstMem(memory_.data(), static_cast<int>(memory_.size()))
                            : nullptr;  // SDL reads at most INT_MAX bytes from memory
    HRESULT hr = adopt(source ? Mix_LoadMUS_RW(source, 1) : nullptr, L"renderMemory: cannot decode \"" + name + L"\"");
    if (FAILED(hr)) std::vector<unsigned char>().swap(memory_);
    return hr;
}

HRESULT FilterGraph::adopt(Mix_Music* music, std::wstring const& what) {
    if (!music) {
        port::logLine(port::LogLevel::Error, what + L" (" + port::fromUtf8(Mix_GetError()) + L")");
        return VFW_E_UNSUPPORTED_STREAM;
    }
    music_ = music;
    duration_ = Mix_MusicDuration(music_);
    if (duration_ <= 0) duration_ = -1;
    return S_OK;
}

HRESULT FilterGraph::startAt(double position) {
    session().takeOver(this);
    ended = false;
    applyVolume();
    if (Mix_PlayMusic(music_, 1) != 0) {
        port::logLine(port::LogLevel::Error, L"Music: cannot play (" + port::fromUtf8(Mix_GetError()) + L")");
        session().release(this);
        return E_FAIL;
    }
    if (position > 0 && Mix_SetMusicPosition(position) != 0) position_ = 0;  // not seekable: from the start
    if (state_ == State_Paused) Mix_PauseMusic();
    return S_OK;
}

HRESULT FilterGraph::Run() {
    if (!music_) return VFW_E_WRONG_STATE;
    if (live() && state_ == State_Running) return S_OK;
    OAFilterState previous = state_;
    state_ = State_Running;
    if (ended) return S_OK;  // at the end: nothing more to play until a seek
    if (live() && previous == State_Paused) {
        Mix_ResumeMusic();
        return S_OK;
    }
    HRESULT hr = startAt(position_);
    if (FAILED(hr)) state_ = previous;
    return hr;
}

HRESULT FilterGraph::Pause() {
    if (!music_) return VFW_E_WRONG_STATE;
    if (live() && !ended) Mix_PauseMusic();
    state_ = State_Paused;
    return S_OK;
}

HRESULT FilterGraph::SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG* stop, DWORD stopFlags) {
    if (!music_) return VFW_E_WRONG_STATE;
    DWORD how = currentFlags & AM_SEEKING_PositioningBitsMask;
    if ((stopFlags & AM_SEEKING_PositioningBitsMask) != AM_SEEKING_NoPositioning) {
        if (!stop) return E_POINTER;
        if (duration_ < 0 || *stop != toUnits(duration_)) return E_NOTIMPL;
    }
    if (how != AM_SEEKING_NoPositioning) {
        if (!current) return E_POINTER;
        double target = *current / kUnitsPerSecond;
        if (how == AM_SEEKING_RelativePositioning || how == AM_SEEKING_IncrementalPositioning) target += seconds();
        if (target < 0) target = 0;
        if (duration_ >= 0 && target > duration_) target = duration_;
        bool wasEnded = ended;
        ended = false;
        position_ = target;
        if (live()) {
            if (wasEnded || !Mix_PlayingMusic()) {
                HRESULT hr = startAt(target);
                if (FAILED(hr)) return hr;
            } else if (Mix_SetMusicPosition(target) != 0) {
                return E_FAIL;
            }
        }
    }
    if (currentFlags & AM_SEEKING_ReturnTime) GetCurrentPosition(current);
    if ((stopFlags & AM_SEEKING_ReturnTime) && stop) GetStopPosition(stop);
    return S_OK;
}

HRESULT FilterGraph::GetEvent(LONG* code, LONG_PTR* param1, LONG_PTR* param2, LONG msTimeout) {
    if (!code || !param1 || !param2) return E_POINTER;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(msTimeout < 0 ? 0 : msTimeout);
    for (;;) {
        if (completeEvent.exchange(false)) {
            *code = EC_COMPLETE;
            *param1 = S_OK;
            *param2 = 0;
            return S_OK;
        }
        // Nothing can arrive unless the music is playing; an endless wait would never end.
        bool waiting = live() && state_ == State_Running && !ended;
        if (!waiting || (msTimeout >= 0 && std::chrono::steady_clock::now() >= deadline)) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    *code = 0;
    *param1 = *param2 = 0;
    return E_ABORT;
}

HRESULT FilterGraph::WaitForCompletion(LONG msTimeout, LONG* code) {
    if (!code) return E_POINTER;
    *code = 0;
    if (state_ != State_Running) return VFW_E_WRONG_STATE;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(msTimeout < 0 ? 0 : msTimeout);
    while (!ended) {
        if (!live() || (msTimeout >= 0 && std::chrono::steady_clock::now() >= deadline)) return E_ABORT;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    *code = EC_COMPLETE;
    return S_OK;
}

}  // namespace

HRESULT renderMemory(IGraphBuilder* graph, std::vector<unsigned char> bytes, std::wstring const& name) {
    if (!graph) return E_POINTER;
    auto* ours = dynamic_cast<FilterGraph*>(graph);
    return ours ? ours->renderMemory(std::move(bytes), name) : E_INVALIDARG;
}

}  // namespace port::dshow

HRESULT CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD, REFIID riid, LPVOID* object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (!(clsid == CLSID_FilterGraph)) return REGDB_E_CLASSNOTREG;
    if (outer) return CLASS_E_NOAGGREGATION;
    auto* graph = static_cast<IGraphBuilder*>(new port::dshow::FilterGraph());
    HRESULT hr = graph->QueryInterface(riid, object);
    graph->Release();
    return hr;
}
