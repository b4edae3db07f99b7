// Music rendered from memory (renderMemory): Ogg and WAV bytes play and loop after the caller's
// copy is gone, undecodable bytes fail like RenderFile, and graphs not made here are refused.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "port/dshow/dshow_memory.h"
#include "tests/port/dshow/MusicGraph.h"
#include "tests/port/mmio/WaveIo.h"
#include "tests/support/TestSupport.h"

namespace {

using dshowtest::Graph;

std::vector<unsigned char> bytesOf(std::string const& text) { return {text.begin(), text.end()}; }

std::vector<unsigned char> toneOgg() { return bytesOf(testsupport::readFile(dshowtest::tonePath())); }

TEST(MusicFromMemory, OggPlaysFromBytesTheCallerNoLongerHolds) {
    Graph g;
    {
        std::vector<unsigned char> bytes = toneOgg();
        ASSERT_GT(bytes.size(), 100u);
        ASSERT_EQ(port::dshow::renderMemory(g.builder, std::move(bytes), L"music\\tone.ogg"), S_OK);
    }  // the caller's vector is gone: the graph owns the bytes now
    REFTIME duration = 0;
    ASSERT_EQ(g.position->get_Duration(&duration), S_OK);
    EXPECT_NEAR(duration, 3.0, 0.05);
    ASSERT_EQ(g.control->Run(), S_OK);
    EXPECT_EQ(g.state(), State_Running);
    EXPECT_TRUE(g.playsPast(0.3));
    EXPECT_EQ(port::dshow::renderMemory(g.builder, toneOgg(), L"again"), VFW_E_WRONG_STATE)
        << "a built graph is not built twice";
    EXPECT_EQ(g.state(), State_Running);
}

TEST(MusicFromMemory, WaveEndsAndLoopsFromTheSameBytes) {
    Graph g;
    ASSERT_EQ(port::dshow::renderMemory(g.builder, bytesOf(wavetest::toneWave(11025, 22050, 0.2)), L"short.wav"), S_OK);
    ASSERT_EQ(g.control->Run(), S_OK);
    LONG code = 0;
    LONG_PTR p1 = 0, p2 = 0;
    ASSERT_EQ(g.events->GetEvent(&code, &p1, &p2, 3000), S_OK);
    EXPECT_EQ(code, EC_COMPLETE);
    // Playing again decodes the kept bytes from their start once more.
    ASSERT_EQ(g.position->put_CurrentPosition(0), S_OK);
    EXPECT_TRUE(g.playsPast(0.1));
    EXPECT_LT(g.seconds(), 0.45);
}

TEST(MusicFromMemory, UndecodableBytesFailAndLeaveTheGraphUnbuilt) {
    Graph g;
    std::vector<unsigned char> cut = toneOgg();
    cut.resize(64);  // the first page only
    for (auto const& bytes : {std::vector<unsigned char>{}, bytesOf("OggS but not really"), cut}) {
        wavetest::LogCapture log;
        EXPECT_EQ(port::dshow::renderMemory(g.builder, bytes, L"broken.ogg"), VFW_E_UNSUPPORTED_STREAM);
        EXPECT_EQ(log.errorCount(), 1u);
    }
    EXPECT_EQ(g.control->Run(), VFW_E_WRONG_STATE);
    // The graph can still be built afterwards.
    EXPECT_EQ(port::dshow::renderMemory(g.builder, toneOgg(), L"tone.ogg"), S_OK);
}

// A graph builder this port did not make.
struct ForeignGraph final : IGraphBuilder {
    HRESULT QueryInterface(REFIID, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return 1; }
    ULONG Release() override { return 1; }
    HRESULT RenderFile(LPCWSTR, LPCWSTR) override { return E_NOTIMPL; }
    HRESULT Abort() override { return S_OK; }
};

TEST(MusicFromMemory, NullAndForeignGraphsAreRefused) {
    EXPECT_EQ(port::dshow::renderMemory(nullptr, toneOgg(), L"tone.ogg"), E_POINTER);
    ForeignGraph foreign;
    EXPECT_EQ(port::dshow::renderMemory(&foreign, toneOgg(), L"tone.ogg"), E_INVALIDARG);
}

}  // namespace
