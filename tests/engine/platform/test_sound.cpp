// The sound manager on an offline DirectSound object: the sound list, the sample choice by the
// runtime's rand, refused samples, playing, volumes and the recycling of finished sounds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/GOBManager.h"
#include "engine/platform/MusicManager.h"
#include "port/crt/crt.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/engine/platform/PlatformSupport.h"
#include "port/win32/win32_text.h"
#include "tests/support/FifoInPlace.h"

using namespace Orvex;
using namespace platformtest;

namespace {

// A tone WAV with another format tag if asked.
std::string makeWave(int frames, double level, WORD tag = WAVE_FORMAT_PCM) {
    std::string wave = toneWave(frames, level);
    wave[20] = static_cast<char>(tag);
    return wave;
}

class SoundTest : public SoundFixture {
protected:
    std::wstring writeSample(std::string const& name, std::string const& bytes) {
        testsupport::writeFile(dir_ / name, bytes);
        return winPath(dir_ / name);
    }
    static XMLNode list(Entries const& entries) { return entryList(L"SOUND", entries); }
    // Loads one entry of a fresh sample and returns its name's playing handle.
    std::shared_ptr<PlayingSound> loadOne(wchar_t const* name, int frames) {
        std::wstring file = writeSample(port::toUtf8(name) + ".wav", makeWave(frames, 0.5));
        manager().loadSounds(list({{name, {file}}}));
        return manager().playSound(name);
    }
};

}  // namespace

TEST_F(SoundTest, GameSoundListLoadsEveryEntry) {
    GOBManager::getInstance().addSearchPath(winPath(testsupport::sourceDir()));
    ASSERT_TRUE(manager().loadFile(L"data\\Sounds\\sounds.snd"));
    for (wchar_t const* name : {L"MOVE", L"TIPP", L"WIN", L"LOSE", L"OverButton", L"ACHIVEMENT_UNLOCKED"})
        EXPECT_TRUE(manager().hasSound(name)) << std::wstring(name).size();
    EXPECT_EQ(manager().getSampleCount(L"MOVE"), 2u);
    EXPECT_FALSE(manager().hasSound(L"MENU")) << "music tracks are not sounds";
    auto sound = manager().playSound(L"WIN");
    ASSERT_TRUE(sound);
    EXPECT_TRUE(sound->play(1.0, false) == DS_OK);
    EXPECT_GT(peak(2048), 1000);
}

TEST_F(SoundTest, UnknownNamesAndNoOutputGiveEmptyHandles) {
    loadOne(L"A", 400);
    EXPECT_FALSE(manager().playSound(L"B"));
    EXPECT_FALSE(manager().playSound(L"a")) << "names compare exactly";
    EXPECT_FALSE(manager().playSound(L""));
    EXPECT_FALSE(manager().playSample(nullptr, 1.0));
    EXPECT_TRUE(manager().playSound(L"A"));
    manager().shutdown();
    EXPECT_TRUE(manager().hasSound(L"A"));
    EXPECT_FALSE(manager().playSound(L"A"));
}

TEST_F(SoundTest, SampleChoiceFollowsTheRuntimeRand) {
    std::vector<std::wstring> files;
    for (int i = 0; i < 3; ++i) files.push_back(writeSample("s" + std::to_string(i) + ".wav", makeWave(100 + i, 0.5)));
    manager().loadSounds(list({{L"KARTE", files}}));
    ASSERT_EQ(manager().getSampleCount(L"KARTE"), 3u);

    msvc::srand(1234);
    std::vector<int> expected;
    for (int i = 0; i < 12; ++i) expected.push_back(msvc::rand() % 3);
    msvc::srand(1234);
    for (int i = 0; i < 12; ++i) {
        auto sound = manager().playSound(L"KARTE");
        ASSERT_TRUE(sound);
        EXPECT_EQ(sound->getSampleFile(), files[expected[i]]) << "draw " << i;
    }
}

TEST_F(SoundTest, BrokenAndMissingSamplesAreRefusedWithALogLine) {
    std::string good = makeWave(200, 0.5);
    std::wstring cut = writeSample("cut.wav", good.substr(0, good.size() - 100));
    std::wstring notRiff = writeSample("text.wav", "this is not a wave file at all");
    std::wstring floatWave = writeSample("float.wav", makeWave(200, 0.5, 3));
    std::wstring empty = writeSample("empty.wav", "");
    u32 taken = manager().loadSounds(list({{L"CUT", {cut}},
                                           {L"TEXT", {notRiff}},
                                           {L"FLOAT", {floatWave}},
                                           {L"EMPTY", {empty}},
                                           {L"MISSING", {L"nowhere\\missing.wav"}}}));
    EXPECT_EQ(taken, 0u);
    for (wchar_t const* name : {L"CUT", L"TEXT", L"FLOAT", L"EMPTY", L"MISSING"}) {
        EXPECT_FALSE(manager().hasSound(name));
        EXPECT_FALSE(manager().playSound(name));
    }
    EXPECT_TRUE(logContains(L"cut.wav\" refused"));
    EXPECT_TRUE(logContains(L"float.wav\" refused"));
    EXPECT_TRUE(logContains(L"missing.wav\" not found"));

    // Entries of one name share their samples; a broken one among them is left out.
    std::wstring a = writeSample("a.wav", makeWave(100, 0.5));
    std::wstring b = writeSample("b.wav", makeWave(100, 0.5));
    manager().loadSounds(list({{L"X", {a}}, {L"X", {empty, b}}, {L"Y", {a}}}));
    EXPECT_EQ(manager().getSampleCount(L"X"), 2u);
    EXPECT_EQ(manager().getSampleCount(L"Y"), 1u);
}

TEST_F(SoundTest, PlayingMixesTheSampleAndMasterVolumeScalesIt) {
    std::wstring file = writeSample("loud.wav", makeWave(20000, 0.8));
    manager().loadSounds(list({{L"LOUD", {file}}}));
    auto sound = manager().playSound(L"LOUD");
    ASSERT_TRUE(sound);
    EXPECT_FALSE(sound->isPlaying()) << "playSound prepares, the caller starts";
    EXPECT_EQ(peak(256), 0);
    ASSERT_TRUE(manager().playSample(sound, 1.0));
    EXPECT_TRUE(sound->isPlaying());
    int full = peak(1024);
    EXPECT_GT(full, 10000);
    manager().setVolume(0.5);
    int half = peak(1024);
    EXPECT_NEAR(static_cast<double>(half) / full, 0.5, 0.08);
    manager().setVolume(0.0);
    EXPECT_EQ(peak(1024), 0);
    manager().setVolume(7.0);
    EXPECT_DOUBLE_EQ(manager().getVolume(), 1.0);
    manager().setVolume(1.0);
    sound->stop(1);

    // An entry's own volume scales its samples.
    XMLNode node = list({{L"QUIET", {file}}});
    node.getChild(L"ENTRY")->setAttribute(L"VOLUME", L"0.25");
    manager().loadSounds(node);
    manager().playSound(L"QUIET")->play(1.0, false);
    EXPECT_NEAR(static_cast<double>(peak(1024)) / full, 0.25, 0.05);
}

TEST_F(SoundTest, FinishedSoundsAreRecycledAndDroppedHandlesStillPlay) {
    std::weak_ptr<PlayingSound> watch;
    {
        auto sound = loadOne(L"SHORT", 500);
        watch = sound;
        sound->play(1.0, false);
    }
    manager().update();
    EXPECT_EQ(manager().getActiveCount(), 1u) << "a playing sound outlives its handle";
    EXPECT_FALSE(watch.expired());
    EXPECT_GT(peak(200), 0);
    peak(2000);  // plays to the end
    manager().update();
    EXPECT_EQ(manager().getActiveCount(), 0u);
    EXPECT_TRUE(watch.expired());
}

TEST_F(SoundTest, StopRewindsAndMarkStoppedLetsTheManagerGo) {
    auto sound = loadOne(L"LONG", 20000);
    sound->play(1.0, true);
    peak(3000);
    DWORD position = 0;
    sound->getBuffer()->GetCurrentPosition(&position, nullptr);
    EXPECT_GT(position, 0u);
    sound->stop(1);
    sound->getBuffer()->GetCurrentPosition(&position, nullptr);
    EXPECT_EQ(position, 0u);
    EXPECT_FALSE(sound->isPlaying());

    sound->play(1.0, true);
    manager().update();
    EXPECT_EQ(manager().getActiveCount(), 1u);
    sound->markStopped();
    manager().update();
    EXPECT_EQ(manager().getActiveCount(), 0u);
    EXPECT_FALSE(sound->isPlaying());
}

TEST_F(SoundTest, TooManySoundsLetTheOldestGo) {
    manager().getInitParams().maxPlaying = 2;
    auto first = loadOne(L"L", 20000);
    first->play(1.0, true);
    manager().playSound(L"L")->play(1.0, true);
    manager().playSound(L"L")->play(1.0, true);
    EXPECT_EQ(manager().getActiveCount(), 2u);
    EXPECT_FALSE(first->isPlaying());
}

// Something other than a file in the place of a sample named by three sound entries, or of a
// music track played twice (each entry and each play tries the file again): one error line each
// for the run, saying what stands there (it was "not found", once per try).
TEST_F(SoundTest, SomethingOtherThanAFileInASamplesOrATracksPlaceIsToldOnceForWhatItIs) {
    for (testsupport::NotAFile const& c : testsupport::kNotAFile) {
        SCOPED_TRACE(c.what);
        std::string const what = c.what;
        std::filesystem::path const sample = dir_ / (what + "_klick.wav");
        std::filesystem::path const track = dir_ / (what + "_menu.wav");
        testsupport::NotAFileInPlace const inSample(c, sample);
        testsupport::NotAFileInPlace const inTrack(c, track);
        logtest::LogWatch watch;
        EXPECT_EQ(manager().loadSounds(list({{L"KLICK", {winPath(sample)}},
                                             {L"KLICK2", {winPath(sample)}},
                                             {L"UNKEY", {winPath(sample)}}})),
                  0u);
        MusicManager& music = MusicManager::getInstance();
        music.loadMusic(entryList(L"MUSIC", {{L"MENU", {winPath(track)}}}));
        EXPECT_FALSE(music.play(L"MENU", true));
        EXPECT_FALSE(music.play(L"MENU", true));
        music.clear();
        std::vector<std::wstring> const expected{
            L"ERROR SoundManager: sample \"" + winPath(sample) + L"\" cannot be read (" + c.kind + L")",
            L"ERROR MusicStream: music \"" + winPath(track) + L"\" cannot be read (" + c.kind + L")"};
        EXPECT_EQ(watch.errors(), expected);
    }
}
