// Sound samples and sound lists packed into mounted .gob archives, with no copy on disk: they
// load and play (names in any case), the archive with the lower key wins, and a broken sample
// in an archive is refused like one on disk.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/core/GOBFormat.h"
#include "engine/core/GOBManager.h"
#include "tests/engine/platform/PlatformSupport.h"
#include "port/win32/win32_text.h"

using namespace Orvex;
using namespace platformtest;

namespace {

class SoundArchiveTest : public SoundFixture {
protected:
    void SetUp() override {
        GOBManager::getInstance().clear();
        SoundFixture::SetUp();
        GOBManager::getInstance().addSearchPath(winPath(dir_));
    }
    void TearDown() override {
        SoundFixture::TearDown();
        GOBManager::getInstance().clear();
    }

    // Writes an archive of the files to disk and mounts it with the order key.
    void mount(std::string const& name, int key, std::vector<std::pair<std::string, std::string>> const& files) {
        testsupport::writeFile(dir_ / (name + ".gob"), gob::buildArchive(files));
        auto* archive = new GOBFile(port::fromUtf8(name), winPath(dir_ / (name + ".gob")), key);
        ASSERT_EQ(archive->getEntryCount(), files.size());
        GOBManager::getInstance().addArchive(archive);
    }
    // Plays the named sound once and returns the peak of the next frames of the mix.
    int playedPeak(std::wstring const& name) {
        auto sound = manager().playSound(name);
        if (!sound || FAILED(sound->play(1.0, false))) return -1;
        int best = peak(2048);
        sound->stop(1);
        return best;
    }
    static XMLNode list(std::wstring const& name, std::vector<std::wstring> const& files) {
        return entryList(L"SOUND", {{name, files}});
    }
};

}  // namespace

TEST_F(SoundArchiveTest, SoundListAndSamplesPlayFromTheArchive) {
    std::string snd =
        "<SOUNDS><SOUND>"
        "<ENTRY NAME=\"KLICK\">\"|SOUNDS\\KLICK.WAV|\" \"|sounds/karte.wav|\"</ENTRY>"
        "</SOUND></SOUNDS>";
    mount("sounds", 1, {{"Sounds\\Klick.wav", toneWave(4000, 0.5)},
                        {"Sounds\\Karte.wav", toneWave(4000, 0.5)},
                        {"Sounds\\Liste.snd", snd}});
    ASSERT_FALSE(std::filesystem::exists(dir_ / "Sounds"));
    ASSERT_TRUE(manager().loadFile(L"sounds\\liste.SND"));
    EXPECT_EQ(manager().getSampleCount(L"KLICK"), 2u) << "both names resolve in other case";
    EXPECT_GT(playedPeak(L"KLICK"), 10000);
}

TEST_F(SoundArchiveTest, TheLowerKeyWinsAndTheDiskComesLast) {
    testsupport::writeFile(dir_ / "Sounds" / "Klick.wav", toneWave(4000, 0.9));
    mount("laut", 2, {{"Sounds\\Klick.wav", toneWave(4000, 0.9)}});
    mount("leise", 1, {{"Sounds\\Klick.wav", toneWave(4000, 0.1)}});
    ASSERT_EQ(manager().loadSounds(list(L"KLICK", {L"sounds\\klick.wav"})), 1u);
    int peak = playedPeak(L"KLICK");
    EXPECT_GT(peak, 1000);
    EXPECT_LT(peak, 5000) << "the quiet sample of the archive with key 1";
}

TEST_F(SoundArchiveTest, BrokenAndMissingSamplesAreRefused) {
    std::string cut = toneWave(4000, 0.5).substr(0, 200);
    mount("sounds", 1, {{"Sounds\\Kaputt.wav", cut}, {"Sounds\\Gut.wav", toneWave(4000, 0.5)}});
    EXPECT_EQ(manager().loadSounds(list(L"MIX", {L"Sounds\\Kaputt.wav", L"Sounds\\Weg.wav", L"Sounds\\Gut.wav"})), 1u);
    EXPECT_TRUE(logContains(L"\"Sounds\\Kaputt.wav\" refused: the file is cut short"));
    EXPECT_TRUE(logContains(L"\"Sounds\\Weg.wav\" not found"));
    EXPECT_GT(playedPeak(L"MIX"), 10000);
}
