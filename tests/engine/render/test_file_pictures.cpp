// Pictures of image files on the real device: one picture per file, shared by the textures that
// name it (a "CLEAR_RGB" texture and one locked for writing have their own), and the pixel budget
// per picture and in all, each refusal one log line naming the file. The budgets are set small
// here (64 pixels a picture, 192 in all) so that 8x8 pictures show them. What the image readers
// leave out of a file they read is one line naming the file, however often it is decoded.
#include <cstring>

#include "engine/core/File.h"
#include "engine/render/FilePictures.h"
#include "engine/render/TextureManager.h"
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

    FilePictures& pictures = FilePictures::instance();
    FilePictures::Budget saved;
    Orvex::TextureManager textures;
};

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
// their own (four pictures, four decodes), and one behind 200 KB of text chunks: all load, and
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

}  // namespace
}  // namespace rendertest
