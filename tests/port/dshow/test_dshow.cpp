// The DirectShow music player: missing and undecodable files fail cleanly (the intro video is
// skipped that way), Ogg and WAV files play, pause and resume at their position, the end is
// reported for looping, and only one graph plays at a time.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "tests/port/dshow/MusicGraph.h"
#include "port/win32/win32_paths.h"
#include "port/win32/win32_text.h"
#include "tests/port/mmio/WaveIo.h"
#include "tests/support/TestSupport.h"

namespace {

using dshowtest::Graph;

std::wstring tonePath() { return port::fromUtf8(dshowtest::tonePath().string()); }

void waitMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

TEST(Music, MissingAndUndecodableFilesFailCleanly) {
    Graph g;
    {
        wavetest::LogCapture log;
        EXPECT_EQ(g.builder->RenderFile(L"music\\does_not_exist.ogg", nullptr), HRESULT_FILE_NOT_FOUND);
        EXPECT_EQ(log.errorCount(), 1u);
    }
    EXPECT_EQ(g.control->Run(), VFW_E_WRONG_STATE);
    LONGLONG zero = 0;
    EXPECT_EQ(g.seeking->SetPositions(&zero, AM_SEEKING_AbsolutePositioning, nullptr, 0), VFW_E_WRONG_STATE);

    auto dir = testsupport::makeTempDir("music");
    testsupport::writeFile(dir / "broken.ogg", "OggS but not really an Ogg Vorbis stream");
    testsupport::writeFile(dir / "intro.wmv", std::string("\x30\x26\xB2\x75\x8E\x66\xCF\x11", 8) + std::string(400, '\x01'));
    for (char const* name : {"broken.ogg", "intro.wmv"}) {
        Graph other;
        wavetest::LogCapture log;
        std::wstring path = port::fromUtf8((dir / name).string());
        EXPECT_EQ(other.builder->RenderFile(path.c_str(), nullptr), VFW_E_UNSUPPORTED_STREAM) << name;
        EXPECT_EQ(log.errorCount(), 1u) << name;
        EXPECT_EQ(other.control->Run(), VFW_E_WRONG_STATE);
    }
    void* window = nullptr;  // a video graph has no video window here either
    EXPECT_EQ(g.builder->QueryInterface(IID_IVideoWindow, &window), E_NOINTERFACE);
    // Every interface leads to the others, IUnknown is the graph builder, IMediaEvent the Ex one.
    void* face = nullptr;
    ASSERT_EQ(g.audio->QueryInterface(IID_IUnknown, &face), S_OK);
    EXPECT_EQ(face, static_cast<void*>(g.builder));
    static_cast<IUnknown*>(face)->Release();
    ASSERT_EQ(g.seeking->QueryInterface(IID_IMediaEvent, &face), S_OK);
    EXPECT_EQ(face, static_cast<void*>(g.events));
    static_cast<IUnknown*>(face)->Release();
    EXPECT_EQ(g.audio->get_Volume(nullptr), E_POINTER);
    EXPECT_EQ(g.control->GetState(0, nullptr), E_POINTER);
    IUnknown* unknown = nullptr;
    EXPECT_EQ(CoCreateInstance(IID_IVideoWindow, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               reinterpret_cast<void**>(&unknown)),
              REGDB_E_CLASSNOTREG);
}

TEST(Music, OggAndWavePlayPauseAndResumeAtTheirPosition) {
    auto dir = testsupport::makeTempDir("wavemusic");
    testsupport::writeFile(dir / "Loop.wav", wavetest::toneWave(22050 * 2, 22050, 0.2));
    struct Case {
        std::wstring path;
        double duration;
        bool seekable;  // the mixer cannot seek in WAV music: a stopped WAV starts over
    } const cases[] = {{tonePath(), 3.0, true},
                       {port::windowsPath((dir / "LOOP.WAV").string()), 2.0, false}};  // found in any case
    for (Case const& c : cases) {
        SCOPED_TRACE(port::toUtf8(c.path));
        Graph g;
        ASSERT_EQ(g.builder->RenderFile(c.path.c_str(), nullptr), S_OK);
        REFTIME duration = 0;
        ASSERT_EQ(g.position->get_Duration(&duration), S_OK);
        EXPECT_NEAR(duration, c.duration, 0.05);
        EXPECT_EQ(g.state(), State_Stopped);
        EXPECT_EQ(g.seconds(), 0.0);

        ASSERT_EQ(g.control->Run(), S_OK);
        EXPECT_EQ(g.state(), State_Running);
        ASSERT_TRUE(g.playsPast(0.4));

        ASSERT_EQ(g.control->Pause(), S_OK);
        EXPECT_EQ(g.state(), State_Paused);
        double paused = g.seconds();
        waitMs(300);
        EXPECT_NEAR(g.seconds(), paused, 0.01);  // no progress while paused

        ASSERT_EQ(g.control->Run(), S_OK);
        EXPECT_GE(g.seconds(), paused - 0.01);  // from where it stopped, not from the start
        ASSERT_TRUE(g.playsPast(paused + 0.2));

        // Stop keeps the position; a later run continues from there where the file can seek.
        ASSERT_EQ(g.control->Stop(), S_OK);
        double stopped = g.seconds();
        EXPECT_GE(stopped, paused + 0.2);
        ASSERT_EQ(g.control->Run(), S_OK);
        if (c.seekable)
            EXPECT_GE(g.seconds(), stopped - 0.05);
        else
            EXPECT_LT(g.seconds(), stopped);
    }
}

TEST(Music, EndOfStreamIsReportedAndSeekingToZeroLoops) {
    Graph g;
    ASSERT_EQ(g.builder->RenderFile(tonePath().c_str(), nullptr), S_OK);
    LONG code = 0;
    LONG_PTR p1 = 0, p2 = 0;
    EXPECT_EQ(g.events->GetEvent(&code, &p1, &p2, 0), E_ABORT);
    LONGLONG nearEnd = 27000000;  // 2.7 s
    ASSERT_EQ(g.seeking->SetPositions(&nearEnd, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning), S_OK);
    ASSERT_EQ(g.control->Run(), S_OK);
    EXPECT_GE(g.seconds(), 2.6);
    ASSERT_EQ(g.events->GetEvent(&code, &p1, &p2, 3000), S_OK);
    EXPECT_EQ(code, EC_COMPLETE);
    EXPECT_EQ(g.events->FreeEventParams(code, p1, p2), S_OK);
    EXPECT_EQ(g.state(), State_Running);  // the graph runs on at the end, as DirectShow's does
    EXPECT_NEAR(g.seconds(), 3.0, 0.05);

    LONGLONG zero = 0;
    ASSERT_EQ(g.seeking->SetPositions(&zero, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning), S_OK);
    ASSERT_TRUE(g.playsPast(0.1));
    EXPECT_LT(g.seconds(), 2.0);
    EXPECT_EQ(g.events->GetEvent(&code, &p1, &p2, 0), E_ABORT);
    EXPECT_EQ(g.events->SetNotifyWindow(0, 0x8001, 0), E_NOTIMPL);
}

TEST(Music, OneGraphPlaysAtATimeAndVolumeIsChecked) {
    Graph first;
    Graph second;
    ASSERT_EQ(first.builder->RenderFile(tonePath().c_str(), nullptr), S_OK);
    ASSERT_EQ(second.builder->RenderFile(tonePath().c_str(), nullptr), S_OK);
    EXPECT_EQ(first.audio->put_Volume(-600), S_OK);
    EXPECT_EQ(first.audio->put_Volume(1), E_INVALIDARG);
    EXPECT_EQ(first.audio->put_Volume(-10001), E_INVALIDARG);
    ASSERT_EQ(first.control->Run(), S_OK);
    ASSERT_TRUE(first.playsPast(0.2));
    ASSERT_EQ(second.control->Run(), S_OK);
    EXPECT_EQ(first.state(), State_Paused);
    double held = first.seconds();
    ASSERT_TRUE(second.playsPast(0.2));
    EXPECT_NEAR(first.seconds(), held, 0.01);
    ASSERT_EQ(first.control->Run(), S_OK);  // takes the channel back, at its own position
    EXPECT_EQ(second.state(), State_Paused);
    EXPECT_GE(first.seconds(), held - 0.05);
}

}  // namespace
