// Music packed into a mounted .gob archive, with no copy on disk: streams and the music manager
// play it (names in any case), loop it from the kept bytes, and take the archive before the disk.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "engine/core/GOBFormat.h"
#include "engine/core/GOBManager.h"
#include "engine/platform/MusicManager.h"
#include "engine/platform/MusicStream.h"
#include "tests/engine/platform/PlatformSupport.h"
#include "tests/port/mmio/WaveIo.h"
#include "tests/support/TestSupport.h"
#include "port/win32/win32_text.h"

using namespace Orvex;
using namespace platformtest;
namespace fs = std::filesystem;

namespace {

fs::path toneOgg() { return testsupport::sourceDir() / "tests" / "port" / "dshow" / "data" / "tone.ogg"; }

void waitMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// Waits until the stream's position passes a value (the dummy audio output runs in real time).
bool playsPast(MusicStream const& stream, double seconds) {
    for (int i = 0; i < 300; ++i) {
        if (stream.getPosition() > seconds) return true;
        waitMs(10);
    }
    return false;
}

class MusicArchiveTest : public ::testing::Test {
protected:
    void SetUp() override {
        GOBManager::getInstance().clear();
        dir_ = testsupport::makeTempDir("musicgob");
        // Two files packed into music.gob: the test Ogg and a 0.4 s WAV.
        fs::path source = dir_ / "source";
        fs::create_directories(source);
        fs::copy_file(toneOgg(), source / "Tone.ogg");
        testsupport::writeFile(source / "Short.wav", wavetest::toneWave(8820, 22050, 0.2));
        std::wstring error;
        ASSERT_TRUE(gob::writeArchive((dir_ / "music.gob").string(),
                                      {{"Music\\Tone.ogg", (source / "Tone.ogg").string()},
                                       {"Music\\Short.wav", (source / "Short.wav").string()}},
                                      error))
            << port::toUtf8(error);
        fs::remove_all(source);  // from now on only the archive has them
        auto* archive = new GOBFile(L"music", winPath(dir_ / "music.gob"), 1);
        ASSERT_EQ(archive->getEntryCount(), 2u);
        GOBManager::getInstance().addArchive(archive);
        // The disk is searched too (after the archive): nothing of the music is there.
        GOBManager::getInstance().addSearchPath(winPath(dir_));
    }
    void TearDown() override {
        MusicManager::getInstance().clear();
        GOBManager::getInstance().clear();
    }

    fs::path dir_;
};

}  // namespace

TEST_F(MusicArchiveTest, StreamPlaysAnOggThatOnlyTheArchiveHas) {
    ASSERT_FALSE(fs::exists(dir_ / "Music"));
    MusicStream stream;
    ASSERT_EQ(stream.load(L"music\\TONE.OGG"), S_OK) << "stored as Music\\Tone.ogg";
    EXPECT_EQ(stream.getState(), MusicStream::STATE_LOADED);
    ASSERT_EQ(stream.run(), S_OK);
    EXPECT_EQ(stream.getState(), MusicStream::STATE_RUNNING);
    EXPECT_TRUE(playsPast(stream, 0.3));
    stream.update();
    EXPECT_EQ(stream.getState(), MusicStream::STATE_RUNNING);

    MusicStream other;
    EXPECT_EQ(other.load(L"Music/short.WAV"), S_OK) << "either separator, any case";
}

TEST_F(MusicArchiveTest, TheArchiveComesBeforeTheDiskAndTheDiskStillServes) {
    // A broken disk copy under the same name is never seen: the archive is searched first.
    testsupport::writeFile(dir_ / "Music" / "Tone.ogg", "OggS but not really");
    MusicStream stream;
    EXPECT_EQ(stream.load(L"Music\\Tone.ogg"), S_OK);
    // A file that only the disk has is found through the search path.
    fs::copy_file(toneOgg(), dir_ / "Music" / "Disk.ogg");
    MusicStream fromDisk;
    EXPECT_EQ(fromDisk.load(L"music\\disk.ogg"), S_OK);
    // Neither place has this one.
    MusicStream missing;
    EXPECT_TRUE(FAILED(missing.load(L"Music\\gone.ogg")));
    EXPECT_EQ(missing.getState(), MusicStream::STATE_EMPTY);
    EXPECT_TRUE(logContains(L"Music\\gone.ogg\" not found"));
}

TEST_F(MusicArchiveTest, ManagerLoopsAndSwitchesTracksFromTheArchive) {
    MusicManager& music = MusicManager::getInstance();
    ASSERT_EQ(music.loadMusic(entryList(L"MUSIC", {{L"KURZ", {L"MUSIC\\SHORT.WAV"}},
                                                   {L"TON", {L"music\\tone.ogg"}},
                                                   {L"WEG", {L"music\\weg.ogg"}}})),
              3u);

    ASSERT_TRUE(music.play(L"KURZ", false));
    MusicStream* stream = music.getCurrentStream();
    ASSERT_NE(stream, nullptr);
    // The 0.4 s track runs past its end and starts again from the bytes the graph kept.
    double furthest = 0;
    bool wrapped = false;
    for (int i = 0; i < 120 && !wrapped; ++i) {
        music.update();
        double now = stream->getPosition();
        if (furthest > 0.2 && now < furthest - 0.1) wrapped = true;
        furthest = std::max(furthest, now);
        waitMs(10);
    }
    EXPECT_TRUE(wrapped) << "furthest position " << furthest;
    EXPECT_EQ(stream->getState(), MusicStream::STATE_RUNNING);

    ASSERT_TRUE(music.play(L"TON", false));
    EXPECT_EQ(music.getCurrentName(), L"TON");
    EXPECT_TRUE(playsPast(*music.getCurrentStream(), 0.2));

    EXPECT_FALSE(music.play(L"WEG", false)) << "not in the archive nor on disk";
    EXPECT_EQ(music.getCurrentName(), L"TON");
    EXPECT_EQ(music.getCurrentStream()->getState(), MusicStream::STATE_RUNNING);
}
