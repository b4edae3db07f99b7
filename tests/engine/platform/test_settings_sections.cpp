// The init-parameter sections of config.cfg read through the one bounded reader: every value out
// of its range, or no number at all, keeps the default and writes one log line naming it; the
// sections round-trip through a property file.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>

#include "engine/core/SettingsSection.h"
#include "engine/platform/D3DInterface.h"
#include "engine/platform/DirectInputInterface.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/engine/platform/PlatformSupport.h"

using namespace Orvex;

namespace {

// Reads a section into a default record and gives back the one field a case is about.
using FieldOf = std::function<s64(XMLNode const&)>;

template <class Params, class Get>
FieldOf field(Get get) {
    return [get](XMLNode const& node) {
        Params params;
        params.readConfig(node);
        return static_cast<s64>(get(params));
    };
}

TEST(SettingsSections, OutOfRangeValuesKeepTheDefaultWithOneLogLine) {
    auto width = field<D3DInitParams>([](D3DInitParams const& p) { return p.displayMode.Width; });
    auto height = field<D3DInitParams>([](D3DInitParams const& p) { return p.displayMode.Height; });
    auto refresh = field<D3DInitParams>([](D3DInitParams const& p) { return p.displayMode.RefreshRate; });
    auto playing = field<SoundInitParams>([](SoundInitParams const& p) { return p.maxPlaying; });
    auto rate = field<SoundInitParams>([](SoundInitParams const& p) { return p.sampleRate; });
    auto mousePoll = field<DirectInputInitParams>([](DirectInputInitParams const& p) { return p.maxPollRateMouse; });
    auto keyPoll = field<DirectInputInitParams>([](DirectInputInitParams const& p) { return p.maxPollRateKeyboard; });
    auto delay = field<DirectInputInitParams>([](DirectInputInitParams const& p) { return p.keyRepeatDelay; });
    auto repeat = field<DirectInputInitParams>([](DirectInputInitParams const& p) { return p.keyRepeatRate; });
    D3DDISPLAYMODE const mode = D3DInitParams().displayMode;
    DirectInputInitParams const input;

    struct Case {
        wchar_t const* section;
        wchar_t const* key;  // "KEY_REPEAT_RATE": the values delay and rate
        wchar_t const* text;
        FieldOf read;
        s64 kept;
    } const cases[] = {
        {L"D3DINITPARAMS", L"WIDTH", L"-3", width, mode.Width},
        {L"D3DINITPARAMS", L"WIDTH", L"0", width, mode.Width},
        {L"D3DINITPARAMS", L"HEIGHT", L"abc", height, mode.Height},
        {L"D3DINITPARAMS", L"HEIGHT", L"16385", height, mode.Height},
        {L"D3DINITPARAMS", L"REFRESH", L"99999", refresh, mode.RefreshRate},
        {L"D3DINITPARAMS", L"REFRESH", L"4294967356", refresh, mode.RefreshRate},  // 2^32 + 60
        {L"SOUNDINITPARAMS", L"MAX_PLAYING", L"0", playing, SoundInitParams{}.maxPlaying},
        {L"SOUNDINITPARAMS", L"MAX_PLAYING", L"1025", playing, SoundInitParams{}.maxPlaying},
        {L"SOUNDINITPARAMS", L"SAMPLE_RATE", L"banana", rate, SoundInitParams{}.sampleRate},
        {L"SOUNDINITPARAMS", L"SAMPLE_RATE", L"7999", rate, SoundInitParams{}.sampleRate},
        {L"SOUNDINITPARAMS", L"SAMPLE_RATE", L"44100 Hz", rate, SoundInitParams{}.sampleRate},
        {L"DINPUTINITPARAMS", L"MAX_POLL_RATE_MOUSE", L"-1", mousePoll, input.maxPollRateMouse},
        {L"DINPUTINITPARAMS", L"MAX_POLL_RATE_KEYBOARD", L"10001", keyPoll, input.maxPollRateKeyboard},
        {L"DINPUTINITPARAMS", L"KEY_REPEAT_RATE", L"-5", delay, input.keyRepeatDelay},
        {L"DINPUTINITPARAMS", L"KEY_REPEAT_RATE", L"2147483648", delay, input.keyRepeatDelay},
    };
    for (Case const& c : cases) {
        XMLNode section(c.section);
        if (std::wstring(c.key) == L"KEY_REPEAT_RATE") {
            XMLNode* values = section.addChild(c.key);
            values->addValue(c.text);
            values->addValue(L"250");
        } else {
            section.setAttribute(c.key, c.text);
        }
        logtest::LogWatch log;
        EXPECT_EQ(c.read(section), c.kept) << c.key << L"=" << c.text;
        ASSERT_EQ(log.errors().size(), 1u) << c.key << L"=" << c.text;
        EXPECT_TRUE(logtest::contains(log.errors()[0], std::wstring(c.section) + L": " + c.key)) << log.errors()[0];
    }
    // The good value beside a bad one is still taken.
    XMLNode section(L"DINPUTINITPARAMS");
    XMLNode* values = section.addChild(L"KEY_REPEAT_RATE");
    values->addValue(L"x");
    values->addValue(L"250");
    EXPECT_EQ(repeat(section), 250);
}

TEST(SettingsSections, SoundAndInputSectionsRoundTripEveryKey) {
    SoundInitParams sound;
    sound.enabled = false;
    sound.maxPlaying = 17;
    sound.sampleRate = 48000;
    SoundInitParams const soundRead = platformtest::roundTrip(sound, L"SOUNDINITPARAMS");
    EXPECT_EQ(std::tuple(soundRead.enabled, soundRead.maxPlaying, soundRead.sampleRate), std::tuple(false, 17u, 48000u));

    DirectInputInitParams input;
    input.bufferedKeyboard = false;
    input.maxPollRateMouse = 10;
    input.maxPollRateKeyboard = 12;
    input.keyRepeatDelay = 450;
    input.keyRepeatRate = 90;
    input.useWinApi = input.useWinApiCapture = 1;
    XMLNode section;
    DirectInputInitParams const inputRead = platformtest::roundTrip(input, L"DINPUTINITPARAMS", &section);
    auto fields = [](DirectInputInitParams const& p) {
        return std::tuple(p.bufferedKeyboard, p.bufferedMouse, p.maxPollRateMouse, p.maxPollRateKeyboard,
                          p.keyRepeatDelay, p.keyRepeatRate, p.useWinApi, p.useWinApiCapture, p.scanDoubleClicks);
    };
    EXPECT_EQ(fields(inputRead), fields(input));
    XMLNode again(L"DINPUTINITPARAMS");  // writing what was read gives the same section
    inputRead.writeConfig(again);
    EXPECT_TRUE(again.equals(section));
}

TEST(SettingsSections, ValuesAtTheBoundsAreTaken) {
    XMLNode section(L"SOUNDINITPARAMS");
    section.setAttribute(L"MAX_PLAYING", L" 1024 ");
    section.setAttribute(L"SAMPLE_RATE", L"8000");
    logtest::LogWatch log;
    SoundInitParams params;
    params.readConfig(section);
    EXPECT_EQ(params.maxPlaying, 1024u);
    EXPECT_EQ(params.sampleRate, 8000u);
    EXPECT_TRUE(log.errors().empty());
}

}  // namespace
