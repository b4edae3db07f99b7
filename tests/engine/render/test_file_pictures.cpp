// Pictures of image files on the real device: one picture per file, shared by the textures that
// name it (a "CLEAR_RGB" texture and one locked for writing have their own), and the pixel budget
// per picture and in all, each refusal one log line naming the file. The budgets are set small
// here (64 pixels a picture, 192 in all) so that 8x8 pictures show them.
#include "engine/render/FilePictures.h"
#include "engine/render/TextureManager.h"
#include "tests/engine/render/RenderFixture.h"

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

}  // namespace
}  // namespace rendertest
