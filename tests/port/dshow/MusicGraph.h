// A filter graph made with CoCreateInstance and every interface the music tests drive, released
// together; the tone file beside these tests.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "port/dshow/dshow.h"
#include "tests/support/TestSupport.h"

namespace dshowtest {

struct Graph {
    IGraphBuilder* builder = nullptr;
    IMediaControl* control = nullptr;
    IMediaSeeking* seeking = nullptr;
    IMediaPosition* position = nullptr;
    IMediaEventEx* events = nullptr;
    IBasicAudio* audio = nullptr;

    Graph() {
        EXPECT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                   reinterpret_cast<void**>(&builder)),
                  S_OK);
        builder->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&control));
        builder->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(&seeking));
        builder->QueryInterface(IID_IMediaPosition, reinterpret_cast<void**>(&position));
        builder->QueryInterface(IID_IMediaEventEx, reinterpret_cast<void**>(&events));
        builder->QueryInterface(IID_IBasicAudio, reinterpret_cast<void**>(&audio));
    }
    ~Graph() {
        for (IUnknown* i : {static_cast<IUnknown*>(audio), static_cast<IUnknown*>(events),
                            static_cast<IUnknown*>(position), static_cast<IUnknown*>(seeking),
                            static_cast<IUnknown*>(control), static_cast<IUnknown*>(builder)})
            if (i) i->Release();
    }
    Graph(Graph const&) = delete;
    Graph& operator=(Graph const&) = delete;

    double seconds() const {
        REFTIME t = -1;
        EXPECT_EQ(position->get_CurrentPosition(&t), S_OK);
        return t;
    }
    OAFilterState state() const {
        OAFilterState s = -1;
        control->GetState(0, &s);
        return s;
    }
    // Waits until the position passes a value (the dummy audio output runs in real time).
    bool playsPast(double value) const {
        for (int i = 0; i < 300; ++i) {
            if (seconds() > value) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }
};

// Three seconds of a tone in Ogg Vorbis (made by data/make_music.sh).
inline std::filesystem::path tonePath() { return testsupport::sourceDir() / "tests" / "port" / "dshow" / "data" / "tone.ogg"; }

}  // namespace dshowtest
