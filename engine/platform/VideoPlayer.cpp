// The intro video player (see VideoPlayer.h). The loop pumps the program's messages itself, so
// the window stays responsive; WM_QUIT is posted again after the loop so that whoever runs next
// sees the request too.
#include "engine/platform/VideoPlayer.h"

#include "engine/core/Logger.h"
#include "port/win32/kernel.h"

namespace Orvex {

namespace {

bool isSkipMessage(UINT message) {
    return message == WM_KEYDOWN || message == WM_SYSKEYDOWN || message == WM_LBUTTONDOWN ||
           message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
}

}  // namespace

VideoPlayer::VideoPlayer(std::wstring fileName) : fileName_(std::move(fileName)) {}

VideoResult VideoPlayer::play() {
    VideoResult outcome;
    HWND window = window_ ? window_ : GetActiveWindow();

    IGraphBuilder* graph = nullptr;
    outcome.result = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                      reinterpret_cast<void**>(&graph));
    if (FAILED(outcome.result) || !graph) {
        logWarning(L"VideoPlayer: no filter graph; \"" + fileName_ + L"\" skipped");
        if (SUCCEEDED(outcome.result)) outcome.result = E_FAIL;
        return outcome;
    }
    IMediaControl* control = nullptr;
    IMediaEvent* events = nullptr;
    outcome.result = graph->RenderFile(fileName_.c_str(), nullptr);
    if (SUCCEEDED(outcome.result))
        outcome.result = graph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&control));
    if (SUCCEEDED(outcome.result))
        outcome.result = graph->QueryInterface(IID_IMediaEvent, reinterpret_cast<void**>(&events));
    if (SUCCEEDED(outcome.result)) outcome.result = control->Run();
    if (FAILED(outcome.result)) {
        logWarning(L"VideoPlayer: \"" + fileName_ + L"\" cannot be played; skipped");
    } else {
        DWORD const start = GetTickCount();
        int quitCode = 0;
        bool done = false;
        while (!done && !outcome.quit) {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (msg.message == WM_QUIT) {
                    outcome.quit = true;
                    quitCode = static_cast<int>(msg.wParam);
                    break;
                }
                if (isSkipMessage(msg.message)) done = true;
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
            if (window && !IsWindow(window)) outcome.quit = true;
            if (outcome.quit || done) break;
            LONG code = 0;
            LONG_PTR param1 = 0, param2 = 0;
            while (SUCCEEDED(events->GetEvent(&code, &param1, &param2, 0))) {
                events->FreeEventParams(code, param1, param2);
                if (code == EC_COMPLETE || code == EC_USERABORT || code == EC_ERRORABORT) done = true;
            }
            if (GetTickCount() - start > timeLimit_) done = true;
            if (!done) Sleep(10);
        }
        control->Stop();
        if (outcome.quit) PostQuitMessage(quitCode);
    }
    if (events) events->Release();
    if (control) control->Release();
    graph->Release();
    return outcome;
}

}  // namespace Orvex
