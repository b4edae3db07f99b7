// Texture loading on the real device: image files of several kinds, texture nodes with their
// creation keys, the format the texture really has, parts (shared and cut), texture lists, the
// device object's texture list, and bad input (missing, broken, absurd sizes).
#include <cstring>

#include "engine/platform/D3DInterface.h"
#include "engine/render/TextureManager.h"
#include "engine/render/TextureSettings.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/engine/render/RenderFixture.h"
#include "tests/support/FifoInPlace.h"

using Orvex::Texture2D;
using Orvex::TextureManager;
using Orvex::XMLNode;
using namespace rendertest;

namespace {

class TextureLoadTest : public RenderFixture {
protected:
    // A texture list with one source texture (16x8 checker PNG) and the given parts.
    XMLNode list(std::wstring const& parts, std::wstring const& attributes = L"") {
        std::wstring const file = write("sheet.png", png(16, 8, quadrants));
        return parse(L"<LIST><TEXTUR2D NAME=\"sheet\" " + attributes + L"><FILE FILENAME=\"" + file + L"\"/>" + parts +
                     L"</TEXTUR2D></LIST>");
    }
};

uint32_t rgb(unsigned x, unsigned y) { return 0xFF000000u | (x * 16u) << 16 | (y * 16u) << 8 | 0x40u; }

// The texture's first width x height texels against pixel(x + dx, y + dy).
::testing::AssertionResult holds(Texture2D& t, unsigned width, unsigned height, PixelFn const& pixel,
                                 unsigned dx = 0, unsigned dy = 0) {
    for (unsigned y = 0; y < height; ++y)
        for (unsigned x = 0; x < width; ++x)
            if (uint32_t const got = pixelOf(t, x, y); got != pixel(x + dx, y + dy))
                return ::testing::AssertionFailure() << std::hex << got << " at " << std::dec << x << "," << y;
    return ::testing::AssertionSuccess();
}

}  // namespace

TEST_F(TextureLoadTest, FileTextureHasTheFileSizeAndPixels) {
    TextureRef t;
    std::wstring const path = write("rgba.png", png(16, 8, quadrants));
    ASSERT_TRUE(t->loadFromFile(path));
    EXPECT_EQ(t->getRect().right, 16);
    EXPECT_EQ(t->getRect().bottom, 8);
    EXPECT_EQ(t->getFormat(), D3DFMT_A8R8G8B8);
    EXPECT_TRUE(holds(*t, 16, 8, quadrants));
}

TEST_F(TextureLoadTest, TwentyFourBitFileReportsTheTexturesOwnFormat) {
    // Reads stepping by the file's 3 bytes a pixel would land between the texture's pixels.
    TextureRef t;
    ASSERT_TRUE(t->loadFromFile(write("rgb.bmp", bmp24(10, 6, rgb))));
    EXPECT_EQ(t->getCreateParams().imageInfo.Width, 10u);
    D3DSURFACE_DESC desc{};
    ASSERT_EQ(t->getTexture()->GetLevelDesc(0, &desc), D3D_OK);
    EXPECT_EQ(t->getFormat(), desc.Format);
    EXPECT_NE(t->getFormat(), D3DFMT_R8G8B8);
    EXPECT_TRUE(holds(*t, 10, 6, rgb));
    t->buildPixelList(128);
    EXPECT_EQ(t->getPixelList().size(), 60u);
    EXPECT_TRUE(t->isInPixelList(9, 5));
}

TEST_F(TextureLoadTest, NodeTextureReadsItsKeys) {
    std::wstring const file = write("keys.png", png(8, 8, quadrants));
    XMLNode node = parse(L"<TEXTUR2D NAME=\"keyed\" CAN_SUPEND=\"0\" FILTER_DEFAULT=\"0\" CLEAR_RGB=\"1\">"
                         L"<FILE FILENAME=\"" + file + L"\"/>"
                         L"<FILE_INFO Format=\"A8R8G8B8\" Pool=\"MANAGED\" MipLevels=\"1\"/>"
                         L"<APPLY_FILTER>\"|blur|\" \"|sharp|\"</APPLY_FILTER><DONT_APPLY_FILTER>\"|glow|\"</DONT_APPLY_FILTER>"
                         L"</TEXTUR2D>");
    TextureRef t;
    ASSERT_TRUE(t->loadFromXML(node));
    EXPECT_EQ(t->getCreationKind(), Texture2D::kCreatedFromNode);
    EXPECT_FALSE(t->canSuspend());
    EXPECT_FALSE(t->getFilterDefault());
    EXPECT_EQ(t->getApplyFilter(), (std::vector<std::wstring>{L"blur", L"sharp"}));
    EXPECT_EQ(t->getDontApplyFilter(), (std::vector<std::wstring>{L"glow"}));
    EXPECT_EQ(t->getFormat(), D3DFMT_A8R8G8B8);
    EXPECT_TRUE(t->getLoadParams().equals(node));
    // CLEAR_RGB: the transparent red block is (0, 0, 0, 0), opaque blocks keep their colour.
    EXPECT_EQ(pixelOf(*t, 1, 1), 0x00000000u);
    EXPECT_EQ(pixelOf(*t, 5, 1), 0xFF00FF00u);
}

TEST_F(TextureLoadTest, BadInputGivesALogLineAndNoTexture) {
    TextureRef missing;
    EXPECT_FALSE(missing->loadFromFile(L"nowhere\\nothing.png"));
    EXPECT_TRUE(logged(L"nothing.png"));
    EXPECT_FALSE(missing->isCreated());

    std::pair<char const*, std::string> const files[] = {{"broken.png", "\x89PNG\r\n\x1a\n but nothing more"},
                                                         {"empty.png", ""},
                                                         {"huge.bmp", bmpHeaderOnly(100000, 100000)}};
    for (auto const& [name, bytes] : files) {
        TextureRef bad;
        EXPECT_FALSE(bad->loadFromFile(write(name, bytes))) << name;
        EXPECT_TRUE(logged(std::wstring(name, name + std::strlen(name)))) << name;
        EXPECT_EQ(*bad->getD3DTexture(), nullptr) << name;
    }

    TextureRef absurd;
    EXPECT_FALSE(absurd->create(0, 16, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED));
    EXPECT_FALSE(absurd->create(Texture2D::kMaxTextureSize + 1, 16, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED));
    EXPECT_TRUE(logged(L"unusable size 16385x16"));

    XMLNode noFile = parse(L"<TEXTUR2D NAME=\"nofile\"/>");
    TextureRef nodeless;
    EXPECT_FALSE(nodeless->loadFromXML(noFile));
    EXPECT_TRUE(logged(L"nofile"));

    TextureRef orphan;
    XMLNode part = parse(L"<TEX_PART NAME=\"p\" L=\"0\" T=\"0\" W=\"4\" H=\"4\"/>");
    EXPECT_FALSE(orphan->loadPart(part, nullptr));
}

// Something other than a file in a picture's place: a texture list read for each GUI file that
// names it tries the file again each time (a texture that is not made is not kept); one error
// line for the run says what stands there (it was "not found", once per try).
TEST_F(TextureLoadTest, SomethingOtherThanAFileInAPicturesPlaceIsToldOnceForWhatItIs) {
    for (testsupport::NotAFile const& c : testsupport::kNotAFile) {
        SCOPED_TRACE(c.what);
        std::string const what = c.what;
        testsupport::NotAFileInPlace const inPlace(c, folder / (what + "_karten.png"));
        std::wstring const file = pathOf(what + "_karten.png");
        logtest::LogWatch watch;
        TextureManager manager;
        XMLNode node = parse(L"<LIST><TEXTUR2D NAME=\"SM_KARTEN\"><FILE FILENAME=\"" + file + L"\"/></TEXTUR2D></LIST>");
        for (int guiFile = 0; guiFile < 3; ++guiFile) manager.loadTextures(node);
        EXPECT_EQ(manager.findTexture(L"SM_KARTEN"), nullptr);
        std::vector<std::wstring> const expected{L"ERROR Texture \"SM_KARTEN\" at line 1: file \"" + file +
                                                 L"\" cannot be read (" + c.kind + L")"};
        EXPECT_EQ(watch.errors(), expected);
    }
}

TEST_F(TextureLoadTest, TextureListLoadsTexturesAndPartsByName) {
    XMLNode node = list(L"<TEX_PART NAME=\"shared\"><TEX_RECT L=\"4\" T=\"0\" W=\"4\" H=\"4\"/></TEX_PART>"
                        L"<TEX_PART NAME=\"cut\" CUT=\"1\" L=\"4\" T=\"4\" R=\"14\" B=\"7\"/>"
                        L"<TEX_PART NAME=\"flat\" CUT=\"1\" POW2=\"0\" L=\"4\" T=\"4\" R=\"14\" B=\"7\"/>"
                        L"<TEX_PART NAME=\"outside\" L=\"10\" T=\"0\" W=\"10\" H=\"2\"/>");
    TextureManager manager;
    manager.loadTextures(node);
    EXPECT_TRUE(logged(L"part \"outside\" at line 1: rectangle (10, 0, 20, 2)"));
    ASSERT_EQ(manager.getCount(), 4u);
    Texture2D* sheet = manager.findTexture(L"sheet");
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->getRefCount(), 4) << "the list and each of the three parts made from it";

    Texture2D* shared = manager.findTexture(L"shared");
    ASSERT_NE(shared, nullptr);
    EXPECT_EQ(shared->getTexture(), sheet->getTexture());
    EXPECT_EQ(shared->getRect().left, 4);
    EXPECT_EQ(shared->getWidth(), 4u);

    Texture2D* cut = manager.findTexture(L"cut");
    ASSERT_NE(cut, nullptr);
    EXPECT_NE(cut->getTexture(), sheet->getTexture());
    EXPECT_EQ(cut->getRect().left, 0);
    EXPECT_EQ(cut->getRect().right, 10);
    EXPECT_EQ(cut->getRect().bottom, 3);
    D3DSURFACE_DESC desc{};
    cut->getTexture()->GetLevelDesc(0, &desc);
    EXPECT_EQ(desc.Width, 16u);
    EXPECT_EQ(desc.Height, 4u);
    EXPECT_TRUE(holds(*cut, 10, 3, quadrants, 4, 4));
    EXPECT_TRUE(cut->canSuspend()) << "a copied part is made again by its recipe";

    Texture2D* flat = manager.findTexture(L"flat");
    ASSERT_NE(flat, nullptr);
    flat->getTexture()->GetLevelDesc(0, &desc);
    EXPECT_EQ(desc.Width, 10u);
    EXPECT_EQ(desc.Height, 3u);

    EXPECT_EQ(manager.findTexturesContaining(L"t").size(), 3u);
    EXPECT_EQ(manager.findTexture(L"Sheet"), nullptr);

    // Names already listed are skipped with their parts.
    XMLNode second = list(L"<TEX_PART NAME=\"b\" L=\"0\" T=\"0\" W=\"2\" H=\"2\"/>");
    manager.loadTextures(second);
    EXPECT_EQ(manager.getCount(), 4u);
    EXPECT_EQ(manager.findTexture(L"sheet"), sheet);
    EXPECT_EQ(manager.findTexture(L"b"), nullptr);
}

TEST_F(TextureLoadTest, SuspendOnLoadReadsOnlyTheImageInformation) {
    Orvex::TextureModuleSettings::get().suspendOnLoad = true;
    TextureManager manager;
    XMLNode node = list(L"<TEX_PART NAME=\"part\" L=\"4\" T=\"0\" W=\"4\" H=\"4\"/>"
                        L"<TEX_PART NAME=\"cut\" CUT=\"1\" L=\"0\" T=\"4\" W=\"4\" H=\"4\"/>");
    manager.loadTextures(node);
    ASSERT_EQ(manager.getCount(), 3u);
    Texture2D* sheet = manager.findTexture(L"sheet");
    Texture2D* part = manager.findTexture(L"part");
    Texture2D* cut = manager.findTexture(L"cut");
    EXPECT_TRUE(part->isSuspended());
    EXPECT_TRUE(cut->isSuspended());
    EXPECT_EQ(sheet->getWidth(), 16u);
    EXPECT_TRUE(sheet->isSuspended()) << "the size is known without the device texture";
    EXPECT_FALSE(cut->isSizeKnown());

    ASSERT_NE(part->getTexture(), nullptr);
    EXPECT_FALSE(sheet->isSuspended()) << "a shared part resumes its source";
    EXPECT_EQ(part->getTexture(), sheet->getTexture());
    ASSERT_NE(cut->getTexture(), nullptr);
    EXPECT_EQ(pixelOf(*cut, 0, 0), quadrants(0, 4));
}

TEST_F(TextureLoadTest, ManagerHoldsOneReferencePerEntry) {
    TextureManager manager;
    Texture2D* t = new Texture2D(L"held");
    EXPECT_FALSE(manager.addTexture(nullptr, false));
    TextureManager other;
    EXPECT_FALSE(manager.addTexture(&other, false)) << "not a texture";
    EXPECT_TRUE(manager.addTexture(t, false));
    EXPECT_EQ(t->getRefCount(), 2);
    manager.releaseAll();
    EXPECT_EQ(t->getRefCount(), 1);
    EXPECT_EQ(manager.getCount(), 0u);
    EXPECT_TRUE(manager.addTexture(t, true));
    EXPECT_EQ(t->getRefCount(), 1);
}

TEST_F(TextureLoadTest, CopyFromMakesAnEmptyTextureOfTheSameShape) {
    TextureRef source;
    ASSERT_TRUE(source->loadFromFile(write("src.png", png(12, 6, quadrants))));
    source->buildPixelList(1);
    source->suspend();
    TextureRef copy;
    ASSERT_TRUE(copy->copyFrom(*source));
    EXPECT_TRUE(source->isSuspended()) << "suspended again after the copy";
    EXPECT_EQ(copy->getWidth(), 12u);
    EXPECT_EQ(copy->getHeight(), 6u);
    EXPECT_EQ(copy->getPixelList(), source->getPixelList());
    EXPECT_EQ(copy->getCreationKind(), Texture2D::kCreatedEmpty);
}

TEST_F(TextureLoadTest, PartRectangleKeysOnThePartNode) {
    TextureRef source;
    ASSERT_TRUE(source->loadFromFile(write("wide.png", png(200, 100, quadrants))));
    // A given right or bottom edge wins over the centre and the left or top edge.
    std::pair<wchar_t const*, RECT> const cases[] = {{L"LC=\"100\" W=\"30\" T=\"0\" H=\"10\"", {85, 0, 115, 10}},
                                                     {L"L=\"5\" R=\"50\" W=\"10\" TC=\"50\" H=\"20\"", {40, 40, 50, 60}},
                                                     {L"L=\"7\" W=\"3\" T=\"1\" B=\"90\" H=\"9\"", {7, 81, 10, 90}}};
    for (auto const& c : cases) {
        XMLNode node = parse(L"<TEX_PART " + std::wstring(c.first) + L"/>");
        RECT const& want = c.second;
        TextureRef part;
        EXPECT_TRUE(part->loadPart(node, source.texture));
        EXPECT_TRUE(rectIs(part->getRect(), want.left, want.top, want.right, want.bottom)) << "case " << &c - cases;
    }
}
