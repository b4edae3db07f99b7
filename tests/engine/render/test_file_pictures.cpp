// Pictures of image files on the real device: one picture per file, shared by the textures that
// name it (a "CLEAR_RGB" texture and one locked for writing have their own), and the pixel budget
// per picture and in all, each refusal one log line naming the file. The budgets are set small
// here (64 pixels a picture, 192 in all) so that 8x8 pictures show them. What the image readers
// leave out of a file they read is one line naming the file, however often it is decoded. A file
// is read once, its picture or refusal kept by its bytes for the textures made of it later (on
// this device or the next), within the one budget that pictures in use also count against. The
// store lives for the process: a test counts the reads of files of its own (uniquePng).
#include <atomic>
#include <cstring>
#include <string>
#include <vector>

#include "engine/core/File.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/FilePictures.h"
#include "engine/render/TextureManager.h"
#include "engine/render/TextureSettings.h"
#include "port/d3d9/d3d9_port.h"
#include "tests/engine/render/RenderFixture.h"
#include "tests/port/d3dx9/PngBytes.h"

namespace rendertest {
namespace {

using Orvex::FilePictures;
using Orvex::Texture2D;

class FilePicturesTest : public RenderFixture {
protected:
    void SetUp() override {
        RenderFixture::SetUp();
        saved = pictures.getBudget();
        pictures.setBudget(FilePictures::Budget{64, 192});
    }
    void TearDown() override {
        textures.releaseAll();
        pictures.setBudget(saved);
        RenderFixture::TearDown();
    }
    // Loads a list of textures "<name>" of the files "<file>.png" (side x side quadrants).
    void load(std::vector<std::pair<std::wstring, std::string>> const& names, unsigned side = 8,
              std::wstring const& attributes = L"") {
        std::wstring text = L"<LIST>";
        for (auto const& [name, file] : names)
            text += L"<TEXTUR2D NAME=\"" + name + L"\" " + attributes + L"><FILE FILENAME=\"" +
                    write(file + ".png", png(side, side, quadrants)) + L"\"/></TEXTUR2D>";
        Orvex::XMLNode list = parse(text + L"</LIST>");
        textures.loadTextures(list, Orvex::TextureLoadParams());
    }
    IDirect3DTexture9* picture(std::wstring const& name) {
        Texture2D* t = textures.findTexture(name);
        return t ? t->getTexture() : nullptr;
    }

    // Loads the texture "<name>" of a file `count` times, as that many windows' own texture nodes
    // do (a texture refused is not listed, so each tries again).
    void loadTimes(std::wstring const& name, std::wstring const& file, int count, std::wstring const& info = L"") {
        for (int i = 0; i < count; ++i) {
            Orvex::XMLNode list = parse(L"<LIST><TEXTUR2D NAME=\"" + name + L"\"><FILE FILENAME=\"" + file + L"\"/>" + info +
                                        L"</TEXTUR2D></LIST>");
            textures.loadTextures(list, Orvex::TextureLoadParams());
        }
    }
    // The reads of image files since the last call.
    Orvex::u64 newReads() {
        Orvex::u64 const reads = pictures.fileReads() - reads_;
        reads_ = pictures.fileReads();
        return reads;
    }
    // The device of a new game object in this process.
    static void newDevice() {
        Orvex::D3DInterface& d3d = Orvex::D3DInterface::getInstance();
        Orvex::D3DInitParams const params = d3d.getInitParams();
        d3d.shutdown();
        d3d.getInitParams() = params;
        ASSERT_TRUE(d3d.init());
    }

    FilePictures& pictures = FilePictures::instance();
    FilePictures::Budget saved;
    Orvex::TextureManager textures;

private:
    Orvex::u64 reads_ = pictures.fileReads();
};

// A PNG of side x side pixels whose bytes no other call gives in this process.
std::string uniquePng(unsigned side) {
    static std::atomic<uint32_t> calls{0};
    uint32_t const tag = ++calls * 2654435761u;
    return png(side, side, [tag](unsigned x, unsigned y) { return 0xFF000000u | ((tag + x * 131u + y * 7919u) & 0xFFFFFFu); });
}

TEST_F(FilePicturesTest, NamesOfOneFileShareOnePictureUntilOneWritesIntoIt) {
    load({{L"a", "one"}, {L"b", "one"}, {L"c", "one"}});
    load({{L"cleared", "one"}}, 8, L"CLEAR_RGB=\"1\"");
    ASSERT_NE(picture(L"a"), nullptr);
    EXPECT_EQ(picture(L"b"), picture(L"a"));
    EXPECT_EQ(picture(L"c"), picture(L"a"));
    EXPECT_NE(picture(L"cleared"), picture(L"a"));
    EXPECT_EQ(pictures.heldPixels(), 128u);

    // A write into "b" leaves the picture of "a" and "c" as the file has it.
    Texture2D& b = *textures.findTexture(L"b");
    D3DLOCKED_RECT locked{};
    ASSERT_TRUE(b.lockRect(0, locked, RECT{0, 0, 1, 1}, 0));
    EXPECT_TRUE(b.setPixel(D3DXCOLOR(0xFF123456u), 0, 0));
    b.unlockRect(0);
    EXPECT_NE(picture(L"b"), picture(L"a"));
    EXPECT_EQ(pixelOf(b, 0, 0), 0xFF123456u);
    EXPECT_EQ(pixelOf(*textures.findTexture(L"c"), 0, 0), quadrants(0, 0));
    EXPECT_EQ(pictures.heldPixels(), 192u);

    textures.releaseAll();
    EXPECT_EQ(pictures.heldPixels(), 0u);
}

TEST_F(FilePicturesTest, PicturesPastTheBudgetAreNotMadeAndNamedInTheLog) {
    // 9x9 is past the 64 pixels of a picture: one line for the file, whatever names it.
    load({{L"large", "nine"}, {L"larger", "nine"}}, 9);
    EXPECT_EQ(textures.findTexture(L"large"), nullptr);
    EXPECT_EQ(loggedCount(L"nine.png\" of 9x9 pixels is larger than the 64 pixels"), 1u);

    // Three 8x8 pictures fill the 192 pixels in all: a fourth file waits until one is let go.
    load({{L"p1", "p1"}, {L"p2", "p2"}, {L"p3", "p3"}, {L"p4", "p4"}});
    EXPECT_NE(textures.findTexture(L"p3"), nullptr);
    EXPECT_EQ(textures.findTexture(L"p4"), nullptr);
    EXPECT_EQ(loggedCount(L"p4.png\" of 8x8 pixels would take the pictures held past 192 pixels"), 1u);
    textures.findTexture(L"p1")->suspend();
    load({{L"p4", "p4"}});
    EXPECT_NE(picture(L"p4"), nullptr);
}

// A PNG whose first bytes declare a picture over the caps is refused on them, the rest unread:
// each file runs on past what any file may have (File::kMaxReadBytes, as a hole, so it costs no
// disk), so a whole read would be refused for the file's length with a line of its own, as the
// picture within the caps still is.
TEST_F(FilePicturesTest, APictureOverTheCapsIsRefusedOnItsFirstBytesWithoutReadingTheRest) {
    struct Case {
        char const* file;
        uint32_t side;
        wchar_t const* line;
    };
    std::wstring const length = L"\" is " + std::to_wstring(Orvex::File::kMaxReadBytes + 1) + L" bytes, more than";
    Case const cases[] = {
        {"wide_head.png", 100000, L"wide_head.png\" has an unusable size 100000x100000"},
        {"large_head.png", 9, L"large_head.png\" of 9x9 pixels is larger than the 64 pixels a picture may have"},
        {"small_head.png", 8, L"small_head.png\" is "},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.file);
        pngbytes::Layout layout;
        layout.width = layout.height = c.side;
        std::wstring const file = write(c.file, pngbytes::signature() + pngbytes::header(layout));
        std::filesystem::resize_file(folder / c.file, Orvex::File::kMaxReadBytes + 1);
        TextureRef t;
        EXPECT_FALSE(t->loadFromFile(file));
        EXPECT_EQ(loggedCount(c.line), 1u);
        std::wstring const name(c.file, c.file + std::strlen(c.file));
        EXPECT_EQ(loggedCount(name + length), c.side == 8 ? 1u : 0u);
    }
}

// A 1 x 1 picture whose pixel data runs on past its row, named four times with colour keys of
// their own (four pictures of one decode), and one behind 200 KB of text chunks: all load, and
// each file is one line.
TEST_F(FilePicturesTest, WhatTheReadersLeaveOutOfAFileIsOneLineNamingIt) {
    pngbytes::Layout const pixel;
    pngbytes::Bytes const row = pngbytes::rows(pixel);
    std::wstring const runsOn = write(
        "runs_on.png", pngbytes::file(pixel, "", pngbytes::zlibHeader() + pngbytes::storedBlocks(row + std::string(4096, '\0'), false)));
    pngbytes::Bytes const text = pngbytes::chunk("tEXt", std::string("Comment\0", 8) + std::string(50000, 'x'));
    std::wstring const texts = write("texts.png", pngbytes::file(pixel, text + text + text + text, pngbytes::zlibStream(row)));
    std::wstring list = L"<LIST>";
    for (int i = 0; i < 4; ++i)
        list += L"<TEXTUR2D NAME=\"key" + std::to_wstring(i) + L"\"><FILE FILENAME=\"" + runsOn +
                L"\"/><FILE_INFO ColorKey=\"FF00000" + std::to_wstring(i) + L"\"/></TEXTUR2D>";
    list += L"<TEXTUR2D NAME=\"texts\"><FILE FILENAME=\"" + texts + L"\"/></TEXTUR2D></LIST>";
    Orvex::XMLNode node = parse(list);
    textures.loadTextures(node, Orvex::TextureLoadParams());
    for (wchar_t const* name : {L"key0", L"key1", L"key2", L"key3", L"texts"}) EXPECT_NE(picture(name), nullptr) << name;
    EXPECT_NE(picture(L"key0"), picture(L"key1"));
    EXPECT_EQ(loggedCount(L"runs_on.png\": PNG: what follows the 1x1 pixels of its header was not read"), 1u);
    EXPECT_EQ(loggedCount(L"runs_on.png\""), 1u);
    EXPECT_EQ(loggedCount(L"texts.png\": PNG: 4 chunks of 200032 bytes that pictures do not use were skipped"), 1u);
}

// A file refused is read at most once, and told in one line, however many textures name it: 21
// windows with a texture node of their own naming one small file (the 84 bytes) made 21
// lines, or 42 with the readers' own and 42 reads, where a file the readers refuse was read again
// at every use and a side past the largest texture logged at every use. Refused on the size its
// first bytes declare, a PNG is not read at all; a BMP is judged once read, and its size is kept.
// Likewise for textures loaded suspended, which keep nothing else of their files.
TEST_F(FilePicturesTest, ARefusedFileIsReadOnceAndOneLineHoweverManyTexturesNameIt) {
    struct Case {
        char const* file;
        pngbytes::Bytes bytes;
        FilePictures::Budget budget;
        wchar_t const* line;
        Orvex::u64 reads;
        bool suspended = false;
    };
    // 84 bytes: signature, header, 16 bytes of rows in a stored deflate block, end; with a wider
    // row, a file past a few kilobytes.
    auto declaring = [](uint32_t width, uint32_t height, uint32_t rowWidth = 15, uint32_t rowCount = 1) {
        pngbytes::Layout layout;
        layout.width = width;
        layout.height = height;
        return pngbytes::file(layout, "", pngbytes::zlibStream(pngbytes::rows({rowWidth, rowCount, 0, 8, false})));
    };
    FilePictures::Budget const real;
    Case const cases[] = {
        {"holds_less.png", declaring(4096, 4096), real, L"\" is no loadable image (PNG pixel data is cut short)", 1},
        {"holds_less_large.png", declaring(4096, 4096, 1024, 8), real,
         L"\" is no loadable image (PNG pixel data is cut short)", 1},
        {"over_picture.png", declaring(5000, 5000), real,
         L"\" of 5000x5000 pixels is larger than the 16777216 pixels a picture may have", 0},
        {"too_wide.png", declaring(20000, 1), real, L"\" has an unusable size 20000x1", 0},
        {"over_picture.bmp", bmp24(9, 9, quadrants), {64, 1024}, L"\" of 9x9 pixels is larger than the 64 pixels", 1},
        {"holds_less_suspended.png", declaring(4095, 4096), real,
         L"\" is no loadable image (PNG pixel data is cut short)", 1, true},
        {"over_picture_suspended.bmp", bmp24(9, 9, [](unsigned x, unsigned y) { return quadrants(y, x); }), {64, 1024},
         L"\" of 9x9 pixels is larger than the 64 pixels", 1, true},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.file);
        pictures.setBudget(c.budget);
        EXPECT_TRUE(c.bytes.size() == 84 || c.bytes.size() > 8192 || c.bytes[0] == 'B') << c.bytes.size();
        std::wstring const file = write(c.file, c.bytes);
        newReads();
        Orvex::TextureModuleSettings::get().suspendOnLoad = c.suspended;
        loadTimes(L"window", file, 21);
        Orvex::TextureModuleSettings::get().suspendOnLoad = false;
        EXPECT_EQ(textures.findTexture(L"window"), nullptr);
        std::wstring const name(c.file, c.file + std::strlen(c.file));
        EXPECT_EQ(loggedCount(name + c.line), 1u);
        EXPECT_EQ(loggedCount(name), 1u);
        EXPECT_EQ(newReads(), c.reads);
    }
}

// A file read once is made again from its kept picture, without reading it: under another name,
// for a texture that writes into its own picture, after a device reset and on the device of a
// second game object. Before, the engine decoded again wherever the device texture was gone and
// left the port to keep a copy outside the budget.
TEST_F(FilePicturesTest, AKeptPictureIsMadeAgainWithoutReadingTheFile) {
    pictures.setBudget(saved);
    std::string const bytes = uniquePng(8);
    std::wstring const one = write("kept_one.png", bytes);
    std::wstring const other = write("kept_other.png", bytes);
    newReads();
    loadTimes(L"one", one, 1, L"<FILE_INFO Pool=\"DEFAULT\" Usage=\"\"/>");
    ASSERT_NE(picture(L"one"), nullptr);
    std::vector<uint32_t> const pixels = readAll(*textures.findTexture(L"one"));
    EXPECT_EQ(newReads(), 2u) << "its header, then its pixels";

    loadTimes(L"other", other, 1);
    Orvex::XMLNode cleared = parse(L"<LIST><TEXTUR2D NAME=\"own\" CLEAR_RGB=\"1\"><FILE FILENAME=\"" + one +
                                   L"\"/></TEXTUR2D></LIST>");
    textures.loadTextures(cleared, Orvex::TextureLoadParams());
    EXPECT_NE(picture(L"own"), picture(L"one"));
    EXPECT_NE(picture(L"other"), nullptr);
    EXPECT_EQ(newReads(), 0u);

    Orvex::D3DInterface& d3d = Orvex::D3DInterface::getInstance();
    port::d3d9::loseDevice(d3d.getDevice());
    EXPECT_FALSE(d3d.checkDevice());
    ASSERT_TRUE(d3d.checkDevice());
    EXPECT_EQ(readAll(*textures.findTexture(L"one")), pixels);
    EXPECT_EQ(newReads(), 0u);

    textures.releaseAll();
    EXPECT_EQ(pictures.heldPixels(), 0u);
    newDevice();
    loadTimes(L"one", one, 1);
    ASSERT_NE(picture(L"one"), nullptr);
    EXPECT_EQ(readAll(*textures.findTexture(L"one")), pixels);
    EXPECT_EQ(newReads(), 0u);
}

// A picture's load looks its file up once: the bytes hashed once, and compared once with the kept
// file they turn out to be, whether the picture is made at once or the texture is loaded suspended
// (as the game loads every texture) and made when first shown. A texture loaded suspended looks
// its file up only when a kept file has the same length, else reads the header, and keeps
// nothing of the file until it is shown. Before, the information read and the picture made each
// hashed the bytes and compared them with the file kept (an 8 x 8 file made: hashed twice and
// compared once; shown after a suspended load: twice each), and a suspended texture hashed every
// file and kept a copy of its bytes. Each case starts with no file kept.
TEST_F(FilePicturesTest, ALoadHashesAndComparesItsFileOnce) {
    pictures.setBudget(saved);
    struct Case {
        char const* name;
        bool keptBefore;  // a picture of the same bytes was made before, under another name
        bool suspended;
        // The file's bytes hashed and compared by the load and when the texture is first shown,
        // in files; whether the load kept anything of the file.
        Orvex::u64 hashedAtLoad, comparedAtLoad, hashedShown, comparedShown;
        bool keptAtLoad;
    };
    Case const cases[] = {
        {"made", false, false, 1, 0, 0, 0, true},
        {"made_again", true, false, 1, 1, 0, 0, false},
        {"suspended", false, true, 0, 0, 1, 0, false},
        {"suspended_again", true, true, 1, 1, 1, 1, false},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.name);
        pictures.setBudget(FilePictures::Budget{saved.picturePixels, 0});
        pictures.setBudget(saved);
        ASSERT_EQ(pictures.keptPixels(), 0u);
        std::string const bytes = uniquePng(8);
        std::wstring const file = write(std::string(c.name) + ".png", bytes);
        if (c.keptBefore) loadTimes(L"before", write(std::string(c.name) + "_before.png", bytes), 1);
        Orvex::TextureModuleSettings::get().suspendOnLoad = c.suspended;
        Orvex::u64 hashed = pictures.bytesHashed();
        Orvex::u64 compared = pictures.bytesCompared();
        Orvex::u64 const kept = pictures.keptPixels();
        loadTimes(L"texture", file, 1);
        Texture2D* texture = textures.findTexture(L"texture");
        ASSERT_NE(texture, nullptr);
        EXPECT_EQ(texture->isSuspended(), c.suspended);
        EXPECT_EQ(pictures.bytesHashed() - hashed, c.hashedAtLoad * bytes.size());
        EXPECT_EQ(pictures.bytesCompared() - compared, c.comparedAtLoad * bytes.size());
        EXPECT_EQ(pictures.keptPixels() > kept, c.keptAtLoad);
        hashed = pictures.bytesHashed();
        compared = pictures.bytesCompared();
        EXPECT_NE(texture->getTexture(), nullptr);
        EXPECT_EQ(pictures.bytesHashed() - hashed, c.hashedShown * bytes.size());
        EXPECT_EQ(pictures.bytesCompared() - compared, c.comparedShown * bytes.size());
        Orvex::TextureModuleSettings::get().suspendOnLoad = false;
        textures.releaseAll();
    }
}

// The pictures in use and those kept for reuse, with their files' bytes, share the one budget
// (256 pixels here): four 8 x 8 pictures in use leave nothing kept and a fifth is not made; a
// picture let go to make room is read again; kept alone, a picture costs its pixels and its
// file's bytes at four a pixel.
TEST_F(FilePicturesTest, PicturesInUseAndKeptShareOneBudget) {
    pictures.setBudget(FilePictures::Budget{64, 256});
    std::vector<std::string> bytes;
    std::vector<std::wstring> files;
    for (int i = 0; i < 5; ++i) {
        bytes.push_back(uniquePng(8));
        files.push_back(write("share" + std::to_string(i) + ".png", bytes.back()));
    }
    auto const ownBytes = [&](std::size_t i) { return (bytes[i].size() + 3) / 4; };
    newReads();
    loadTimes(L"s0", files[0], 1);
    EXPECT_EQ(pictures.heldPixels(), 64u);
    EXPECT_EQ(pictures.keptPixels(), 64u + ownBytes(0));
    for (int i = 1; i < 5; ++i) {
        loadTimes(L"s" + std::to_wstring(i), files[i], 1);
        EXPECT_LE(pictures.heldPixels() + pictures.keptPixels(), 256u);
    }
    EXPECT_EQ(pictures.heldPixels(), 256u);
    EXPECT_EQ(pictures.keptPixels(), 0u);
    EXPECT_EQ(textures.findTexture(L"s4"), nullptr);
    EXPECT_EQ(loggedCount(L"share4.png\" of 8x8 pixels would take the pictures held past 256 pixels"), 1u);
    EXPECT_EQ(newReads(), 9u) << "four headers and pictures, and the fifth's header";

    textures.releaseAll();
    loadTimes(L"s0", files[0], 1);
    EXPECT_EQ(newReads(), 2u) << "let go to make room, it is read again";
    textures.releaseAll();
    EXPECT_EQ(pictures.heldPixels(), 0u);
    EXPECT_EQ(pictures.keptPixels(), 64u + ownBytes(0));
    pictures.setBudget(FilePictures::Budget{64, 64});
    EXPECT_EQ(pictures.keptPixels(), 0u) << "a smaller budget lets kept pictures go at once";
}

// A file read again is the picture before, with its notes given again (a line for each name); a
// file far larger than its picture is read each time, and a file the readers refuse is not read
// again (the port kept pictures alone, and read refused files at every use).
TEST_F(FilePicturesTest, AFileDecodedAgainIsThePictureBeforeWithItsNotes) {
    pictures.setBudget(saved);
    pngbytes::Layout const l{3, 4, 6, 8, false};
    pngbytes::Bytes const row = pngbytes::rows(l);
    pngbytes::Bytes const runsOn = pngbytes::zlibHeader() + pngbytes::storedBlocks(row + pngbytes::Bytes(64, '\0'), false);
    pngbytes::Bytes const plain = pngbytes::file(l, pngbytes::chunk("tEXt", "again"), pngbytes::zlibStream(row));
    pngbytes::Bytes const large =
        pngbytes::file(l, pngbytes::chunk("tEXt", pngbytes::Bytes("Comment\0", 8) + pngbytes::Bytes(16384, 'x')),
                       pngbytes::zlibStream(row));
    struct Case {
        char const* name;
        pngbytes::Bytes file;
        Orvex::u64 readsAgain;  // a second name's
        wchar_t const* note;
    };
    Case const cases[] = {
        {"plain", plain, 0, nullptr},
        {"running_on", pngbytes::file(l, "", runsOn), 0, L"what follows the 3x4 pixels"},
        {"text_larger", large, 2, nullptr},
        {"cut_short", plain.substr(0, 40), 0, L"is no loadable image"},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.name);
        std::wstring const first = write(std::string(c.name) + "_first.png", c.file);
        std::wstring const second = write(std::string(c.name) + "_second.png", c.file);
        newReads();
        loadTimes(L"first", first, 1);
        EXPECT_GE(newReads(), 1u);
        loadTimes(L"second", second, 1);
        EXPECT_EQ(newReads(), c.readsAgain);
        if (c.note) {
            std::wstring const name(c.name, c.name + std::strlen(c.name));
            EXPECT_EQ(loggedCount(name + L"_first.png\"", c.note), 1u);
            EXPECT_EQ(loggedCount(name + L"_second.png\"", c.note), 1u);
        }
        EXPECT_EQ(picture(L"first") == nullptr, c.file.size() == 40);
        textures.releaseAll();
    }
}

// However small the files, the store keeps a bounded number: after thousands of 1 x 1 pictures
// the first is read anew, the last is not.
TEST_F(FilePicturesTest, ThousandsOfTinyPicturesAreNotAllKept) {
    pictures.setBudget(saved);
    pngbytes::Layout const l;
    static std::atomic<uint32_t> runs{0};
    std::string const run = std::to_string(++runs);
    std::vector<std::vector<Orvex::u8>> files;
    for (uint32_t i = 0; i < 5000; ++i) {
        pngbytes::Bytes const file = pngbytes::file(l, pngbytes::chunk("tEXt", "tiny" + run + "." + std::to_string(i)),
                                                    pngbytes::zlibStream(pngbytes::rows(l)));
        files.emplace_back(file.begin(), file.end());
    }
    D3DXIMAGE_INFO info{};
    std::string why;
    newReads();
    for (auto const& file : files) ASSERT_TRUE(pictures.describe(file, info, why)) << why;
    EXPECT_EQ(newReads(), 5000u);
    EXPECT_TRUE(pictures.describe(files.back(), info, why));
    EXPECT_EQ(newReads(), 0u);
    EXPECT_TRUE(pictures.describe(files.front(), info, why));
    EXPECT_EQ(newReads(), 1u);
}

}  // namespace
}  // namespace rendertest
