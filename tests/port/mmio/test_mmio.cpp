// mmio: WAV files written and read back, chunk navigation, direct buffer access, memory files
// and refusal of malformed RIFF data.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "port/win32/win32_paths.h"
#include "port/win32/win32_text.h"
#include "tests/port/mmio/WaveIo.h"
#include "tests/support/TestSupport.h"

namespace {

using namespace wavetest;

std::vector<char> randomBytes(std::size_t count, unsigned seed) {
    std::mt19937 gen(seed);
    std::vector<char> bytes(count);
    for (char& b : bytes) b = static_cast<char>(gen() & 0xFF);
    return bytes;
}

std::wstring tempPath(std::string const& folder, std::string const& name) {
    return port::fromUtf8((testsupport::makeTempDir(folder) / name).string());
}

struct FormatCase {
    WORD channels;
    DWORD rate;
    WORD bits;
    std::size_t frames;
};

TEST(Mmio, WaveWrittenReadsBackSampleExact) {
    FormatCase const cases[] = {{1, 8000, 8, 301},   {2, 11025, 8, 500},  {1, 22050, 16, 777},
                                {2, 44100, 16, 1024}, {2, 48000, 16, 33}, {1, 96000, 8, 1}};
    unsigned seed = 1;
    for (auto const& c : cases) {
        WAVEFORMATEX format = pcmFormat(c.channels, c.rate, c.bits);
        std::vector<char> samples = randomBytes(c.frames * format.nBlockAlign, seed++);
        std::wstring path = tempPath("wave" + std::to_string(seed), "Sound.wav");
        ASSERT_TRUE(writeWave(path, format, samples));

        WAVEFORMATEX back{};
        std::vector<char> read;
        ASSERT_TRUE(readWaveFile(path, back, read)) << c.rate;
        EXPECT_EQ(0, std::memcmp(&format, &back, sizeof(PCMWAVEFORMAT)));
        EXPECT_EQ(samples, read);

        // The layout on disk: sizes fixed up by mmioAscend, odd data padded to an even size.
        std::string bytes = testsupport::readFile(port::hostPath(path));
        std::string expected = waveBytes(format, std::string(samples.begin(), samples.end()));
        EXPECT_EQ(bytes, expected);
    }
}

TEST(Mmio, WindowsPathInAnyCaseAndMemoryFilesReadLikeDiskFiles) {
    auto dir = testsupport::makeTempDir("CaseDir");
    WAVEFORMATEX format = pcmFormat(2, 22050, 16);
    std::vector<char> samples = randomBytes(64, 9);
    ASSERT_TRUE(writeWave(port::fromUtf8((dir / "click.wav").string()), format, samples));
    WAVEFORMATEX back{};
    std::vector<char> read;
    EXPECT_TRUE(readWaveFile(port::windowsPath(dir.string()) + L"\\CLICK.WAV", back, read));
    EXPECT_EQ(samples, read);
    read.clear();
    ASSERT_TRUE(readWaveMemory(waveBytes(format, std::string(samples.begin(), samples.end())), back, read));
    EXPECT_EQ(samples, read);
    EXPECT_EQ(back.nChannels, 2);
}

TEST(Mmio, GrowableMemoryFileTakesWrites) {
    MMIOINFO info{};
    info.fccIOProc = FOURCC_MEM;
    HMMIO file = mmioOpenW(nullptr, &info, MMIO_READWRITE | MMIO_ALLOCBUF);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(mmioWrite(file, "abcdef", 6), 6);
    EXPECT_EQ(mmioSeek(file, 2, SEEK_SET), 2);
    char two[2];
    EXPECT_EQ(mmioRead(file, two, 2), 2);
    EXPECT_EQ(std::string(two, 2), "cd");
    EXPECT_EQ(mmioSeek(file, 0, SEEK_END), 6);
    mmioClose(file, 0);

    // A fixed block of the caller's memory does not grow: a write stops at its end.
    char block[4] = {};
    info = MMIOINFO{};
    info.fccIOProc = FOURCC_MEM;
    info.pchBuffer = block;
    info.cchBuffer = 4;
    file = mmioOpenW(nullptr, &info, MMIO_READWRITE);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(mmioWrite(file, "xyz12", 5), 4);
    EXPECT_EQ(mmioWrite(file, "q", 1), -1);
    mmioClose(file, 0);
    EXPECT_EQ(std::string(block, 4), "xyz1");
}

TEST(Mmio, DirectBufferWriteAndReadAcrossRefills) {
    // The sample-by-sample style of writing and reading through mmioGetInfo / mmioAdvance.
    std::wstring path = tempPath("buffered", "buffered.wav");
    WAVEFORMATEX format = pcmFormat(1, 22050, 8);
    std::vector<char> samples = randomBytes(20001, 5);  // spans several 8 KiB buffers, odd size

    HMMIO file = mmioOpenW(path.c_str(), nullptr, MMIO_ALLOCBUF | MMIO_READWRITE | MMIO_CREATE);
    ASSERT_NE(file, nullptr);
    MMCKINFO riff{};
    riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
    ASSERT_EQ(mmioCreateChunk(file, &riff, MMIO_CREATERIFF), 0u);
    MMCKINFO fmt{};
    fmt.ckid = mmioFOURCC('f', 'm', 't', ' ');
    fmt.cksize = sizeof(PCMWAVEFORMAT);
    ASSERT_EQ(mmioCreateChunk(file, &fmt, 0), 0u);
    ASSERT_EQ(mmioWrite(file, reinterpret_cast<char const*>(&format), 16), 16);
    ASSERT_EQ(mmioAscend(file, &fmt, 0), 0u);
    MMCKINFO data{};
    data.ckid = mmioFOURCC('d', 'a', 't', 'a');
    ASSERT_EQ(mmioCreateChunk(file, &data, 0), 0u);
    MMIOINFO out{};
    ASSERT_EQ(mmioGetInfo(file, &out, 0), 0u);
    for (char s : samples) {
        if (out.pchNext == out.pchEndWrite) {
            out.dwFlags |= MMIO_DIRTY;
            ASSERT_EQ(mmioAdvance(file, &out, MMIO_WRITE), 0u);
        }
        *out.pchNext++ = s;
    }
    out.dwFlags |= MMIO_DIRTY;
    ASSERT_EQ(mmioSetInfo(file, &out, 0), 0u);
    ASSERT_EQ(mmioAscend(file, &data, 0), 0u);
    ASSERT_EQ(mmioAscend(file, &riff, 0), 0u);
    EXPECT_EQ(data.cksize, samples.size());
    ASSERT_EQ(mmioClose(file, 0), 0u);

    file = mmioOpenW(path.c_str(), nullptr, MMIO_ALLOCBUF | MMIO_READ);
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(mmioDescend(file, &riff, nullptr, 0), 0u);
    data = MMCKINFO{};
    data.ckid = mmioFOURCC('d', 'a', 't', 'a');
    ASSERT_EQ(mmioDescend(file, &data, &riff, MMIO_FINDCHUNK), 0u);
    MMIOINFO in{};
    ASSERT_EQ(mmioGetInfo(file, &in, 0), 0u);
    std::vector<char> read;
    for (DWORD i = 0; i < data.cksize; ++i) {
        if (in.pchNext == in.pchEndRead) {
            ASSERT_EQ(mmioAdvance(file, &in, MMIO_READ), 0u);
            ASSERT_NE(in.pchNext, in.pchEndRead);
        }
        read.push_back(*in.pchNext++);
    }
    ASSERT_EQ(mmioSetInfo(file, &in, 0), 0u);
    EXPECT_EQ(read, samples);
    // At the end of the file an advance brings nothing more.
    EXPECT_EQ(mmioSeek(file, 0, SEEK_END), static_cast<LONG>(44 + samples.size() + 1));
    ASSERT_EQ(mmioGetInfo(file, &in, 0), 0u);
    EXPECT_EQ(in.pchNext, in.pchEndRead);
    mmioClose(file, 0);
}

TEST(Mmio, DescendFindsListsAndSkipsPaddedChunks) {
    // RIFF "TEST" { "odd " (3 bytes + pad), LIST "INFO" { "name" (5 bytes + pad) }, "last" }
    std::string odd = "odd " + le32(3) + "abc" + '\0';
    std::string name = "name" + le32(5) + "hello" + '\0';
    std::string list = "LIST" + le32(static_cast<uint32_t>(4 + name.size())) + "INFO" + name;
    std::string last = "last" + le32(2) + "zz";
    std::string body = "TEST" + odd + list + last;
    std::string bytes = "RIFF" + le32(static_cast<uint32_t>(body.size())) + body;
    MMIOINFO info{};
    info.fccIOProc = FOURCC_MEM;
    info.pchBuffer = bytes.data();
    info.cchBuffer = static_cast<LONG>(bytes.size());
    HMMIO file = mmioOpenW(nullptr, &info, MMIO_READ);
    ASSERT_NE(file, nullptr);

    MMCKINFO riff{};
    riff.fccType = mmioFOURCC('T', 'E', 'S', 'T');
    ASSERT_EQ(mmioDescend(file, &riff, nullptr, MMIO_FINDRIFF), 0u);
    EXPECT_EQ(riff.dwDataOffset, 8u);
    EXPECT_EQ(mmioSeek(file, 0, SEEK_CUR), 12);
    MMCKINFO lst{};
    lst.fccType = mmioFOURCC('I', 'N', 'F', 'O');
    ASSERT_EQ(mmioDescend(file, &lst, &riff, MMIO_FINDLIST), 0u);
    MMCKINFO ck{};
    ck.ckid = mmioFOURCC('n', 'a', 'm', 'e');
    ASSERT_EQ(mmioDescend(file, &ck, &lst, MMIO_FINDCHUNK), 0u);
    char text[5];
    ASSERT_EQ(mmioRead(file, text, 5), 5);
    EXPECT_EQ(std::string(text, 5), "hello");
    ASSERT_EQ(mmioAscend(file, &ck, 0), 0u);
    // Nothing more inside the list: not found, and no complaint.
    MMCKINFO none{};
    none.ckid = mmioFOURCC('l', 'a', 's', 't');
    LogCapture log;
    EXPECT_EQ(mmioDescend(file, &none, &lst, MMIO_FINDCHUNK), static_cast<MMRESULT>(MMIOERR_CHUNKNOTFOUND));
    EXPECT_EQ(log.errorCount(), 0u);
    ASSERT_EQ(mmioAscend(file, &lst, 0), 0u);
    ASSERT_EQ(mmioDescend(file, &none, &riff, MMIO_FINDCHUNK), 0u);
    EXPECT_EQ(none.cksize, 2u);
    mmioClose(file, 0);
}

TEST(Mmio, MalformedRiffDataIsRefusedWithOneLogLine) {
    WAVEFORMATEX format = pcmFormat(1, 22050, 16);
    std::string good = waveBytes(format, std::string(100, '\x11'));
    struct Case {
        char const* what;
        std::string bytes;
    };
    std::string pastEnd = good;
    pastEnd.replace(40, 4, le32(5000));  // data chunk claims more than the file holds
    std::string riffPastEnd = good;
    riffPastEnd.replace(4, 4, le32(100000));
    Case const cases[] = {
        {"cut inside the data chunk", good.substr(0, 80)},
        {"cut inside the fmt chunk header", good.substr(0, 18)},
        {"cut inside the RIFF header", good.substr(0, 6)},
        {"data size past the end", pastEnd},
        {"RIFF size past the end", riffPastEnd},
    };
    for (auto const& c : cases) {
        LogCapture log;
        WAVEFORMATEX back{};
        std::vector<char> read;
        EXPECT_FALSE(readWaveMemory(c.bytes, back, read)) << c.what;
        EXPECT_EQ(log.errorCount(), 1u) << c.what;
    }
    LogCapture log;
    WAVEFORMATEX back{};
    std::vector<char> read;
    EXPECT_TRUE(readWaveMemory(good, back, read));
    EXPECT_EQ(log.errorCount(), 0u);
}

TEST(Mmio, OpenFailuresAndBadCallsReportErrors) {
    MMIOINFO info{};
    std::wstring missing = tempPath("missing", "nope.wav");
    EXPECT_EQ(mmioOpenW(missing.c_str(), &info, MMIO_READ), nullptr);
    EXPECT_EQ(info.wErrorRet, static_cast<UINT>(MMIOERR_FILENOTFOUND));
    std::wstring noFolder = tempPath("nofolder", "sub") + L"/deeper/x.wav";
    EXPECT_EQ(mmioOpenW(noFolder.c_str(), &info, MMIO_CREATE | MMIO_WRITE), nullptr);
    EXPECT_EQ(info.wErrorRet, static_cast<UINT>(MMIOERR_PATHNOTFOUND));

    std::wstring path = tempPath("rw", "a.bin");
    HMMIO file = mmioOpenW(path.c_str(), nullptr, MMIO_CREATE | MMIO_WRITE);
    ASSERT_NE(file, nullptr);
    char byte;
    EXPECT_EQ(mmioRead(file, &byte, 1), -1);  // write-only
    EXPECT_EQ(mmioSeek(file, -1, SEEK_SET), -1);
    EXPECT_EQ(mmioSeek(file, 3, SEEK_SET), 3);
    EXPECT_EQ(mmioWrite(file, "x", 1), 1);    // the gap before it reads as zeros
    EXPECT_EQ(mmioClose(file, 0), 0u);
    EXPECT_EQ(testsupport::readFile(port::hostPath(path)), std::string("\0\0\0x", 4));

    file = mmioOpenW(path.c_str(), nullptr, MMIO_READ);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(mmioWrite(file, "y", 1), -1);  // read-only
    char four[8];
    EXPECT_EQ(mmioRead(file, four, 8), 4);  // short read at the end
    EXPECT_EQ(mmioRead(file, four, 8), 0);
    MMCKINFO ck{};
    EXPECT_EQ(mmioDescend(file, &ck, nullptr, 0), static_cast<MMRESULT>(MMIOERR_CHUNKNOTFOUND));
    mmioClose(file, 0);
}

TEST(Mmio, FourccFromStrings) {
    EXPECT_EQ(mmioFOURCC('R', 'I', 'F', 'F'), 0x46464952u);
    EXPECT_EQ(mmioStringToFOURCCW(L"wave", MMIO_TOUPPER), mmioFOURCC('W', 'A', 'V', 'E'));
    EXPECT_EQ(mmioStringToFOURCCW(L"fmt", 0), mmioFOURCC('f', 'm', 't', ' '));  // padded with spaces
}

}  // namespace
