// PNG reading: the pixels libpng's simplified reader gives for every colour type, bit depth,
// transparency, gamma chunk and interlacing; chunks pictures do not use skipped unread; the
// pixel data read only up to the rows of the header; what was left out noted for the caller
// that names the file (ImageNotes).
#include <gtest/gtest.h>

#include <png.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "port/d3dx9/DxPixels.h"
#include "port/d3dx9/d3dx9_port.h"
#include "port/win32/win32_log.h"
#include "tests/port/d3dx9/AllocationWatch.h"
#include "tests/port/d3dx9/PngBytes.h"

namespace {

using pngbytes::Bytes;
using pngbytes::Layout;

// The pixels of libpng's simplified reader for PNG_FORMAT_BGRA; empty when it fails.
port::dx::PixelWords simplifiedRead(Bytes const& file) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, file.data(), file.size())) return {};
    image.format = PNG_FORMAT_BGRA;
    port::dx::PixelWords pixels(static_cast<std::size_t>(image.width) * image.height);
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) pixels.clear();
    png_image_free(&image);
    return pixels;
}

struct Read {
    bool header = false;
    bool decoded = false;
    port::dx::Image image;
    std::string error;
    std::string notes;
};

Read readBoth(Bytes const& file) {
    Read r;
    port::dx::ImageNotes const notes;
    D3DXIMAGE_INFO info{};
    std::string headerError;
    r.header = port::dx::imageInfo(file.data(), file.size(), info, headerError);
    r.decoded = port::dx::decodeImage(file.data(), file.size(), r.image, info, r.error);
    r.notes = notes.text();
    return r;
}

// The palette of a paletted case, and its transparency.
Bytes palette(uint32_t entries) {
    Bytes data;
    for (uint32_t i = 0; i < entries; ++i) {
        data += static_cast<char>(i * 29);
        data += static_cast<char>(255 - i * 3);
        data += static_cast<char>(i * i);
    }
    return pngbytes::chunk("PLTE", data);
}

// The transparent colour of a grey or RGB case: the one of pixel (0, 0).
Bytes transparency(Layout const& l, uint32_t entries) {
    if (l.colourType == 3) {
        Bytes alphas;
        for (uint32_t i = 0; i < entries; ++i) alphas += static_cast<char>(i % 3 == 0 ? 0 : i % 3 == 1 ? 128 : 255);
        return pngbytes::chunk("tRNS", alphas);
    }
    Bytes data;
    for (int c = 0; c < pngbytes::channels(l.colourType); ++c) {
        uint32_t const v = pngbytes::sample(l, 0, 0, c, entries);
        data += static_cast<char>(v >> 8);
        data += static_cast<char>(v & 0xFF);
    }
    return pngbytes::chunk("tRNS", data);
}

// Every colour type and bit depth, with and without transparency, with gamma chunks, plain and
// interlaced, in sizes that leave Adam7 passes empty: the pixels libpng's simplified reader (the
// reader before) gives for the file without interlacing, and nothing noted. (That reader puts
// rows of 16-bit interlaced files in the wrong places; interlacing changes no pixel here.)
TEST(PngRead, PixelsAreTheSimplifiedReadersForEveryKindOfFile) {
    struct Kind {
        int colourType;
        int depth;
    };
    Kind const kinds[] = {{0, 1}, {0, 2}, {0, 4}, {0, 8}, {0, 16}, {2, 8},  {2, 16}, {3, 1},
                          {3, 2}, {3, 4}, {3, 8}, {4, 8}, {4, 16}, {6, 8}, {6, 16}};
    struct Extra {
        char const* name;
        bool transparency;
        Bytes chunks;
    };
    Extra const extras[] = {
        {"plain", false, ""},
        {"tRNS", true, ""},
        {"linear gAMA", false, pngbytes::chunk("gAMA", pngbytes::bigEndian(100000))},
        {"gAMA 1/2.2 and tRNS", true, pngbytes::chunk("gAMA", pngbytes::bigEndian(45455))},
        {"sRGB", false, pngbytes::chunk("sRGB", Bytes(1, '\0'))},
    };
    struct Size {
        uint32_t width, height;
    };
    Size const sizes[] = {{1, 1}, {2, 1}, {1, 7}, {9, 5}};
    int compared = 0;
    for (Kind const& kind : kinds) {
        for (Extra const& extra : extras) {
            if (extra.transparency && (kind.colourType & 4) != 0) continue;  // alpha channel already
            for (bool interlaced : {false, true}) {
                for (Size const& size : sizes) {
                    Layout const l{size.width, size.height, kind.colourType, kind.depth, interlaced};
                    uint32_t const entries = kind.colourType == 3 ? std::min(256u, 1u << kind.depth) : 0;
                    Bytes chunks = extra.chunks;
                    if (kind.colourType == 3) chunks += palette(entries);
                    if (extra.transparency) chunks += transparency(l, entries);
                    Bytes const file = pngbytes::file(l, chunks, pngbytes::zlibStream(pngbytes::rows(l, entries)));
                    SCOPED_TRACE(testing::Message() << "type " << kind.colourType << " depth " << kind.depth << " "
                                                    << extra.name << (interlaced ? " interlaced " : " ") << size.width
                                                    << "x" << size.height);
                    Layout plain = l;
                    plain.interlaced = false;
                    port::dx::PixelWords const expected =
                        simplifiedRead(pngbytes::file(plain, chunks, pngbytes::zlibStream(pngbytes::rows(plain, entries))));
                    ASSERT_FALSE(expected.empty());
                    Read const r = readBoth(file);
                    ASSERT_TRUE(r.header);
                    ASSERT_TRUE(r.decoded) << r.error;
                    EXPECT_EQ(r.image.argb, expected);
                    EXPECT_EQ(r.notes, "");
                    ++compared;
                }
            }
        }
    }
    EXPECT_GT(compared, 400);
}

// A 1 x 1 picture behind chunks that pictures do not use: compressed text that inflates to 8 MB
// a chunk (300 such made 2.4 GB), and plain text of 2 MB. They are skipped unread: the reads
// allocate no more than for a bare 1 x 1 picture, and note the bytes skipped.
TEST(PngRead, ChunksPicturesDoNotUseAreSkippedUnread) {
    Layout const l;
    Bytes const eightMegabytes = pngbytes::zlibRun(7900000, 'x');  // within libpng's 8,000,000 a chunk
    struct Case {
        char const* name;
        Bytes chunks;
        char const* note;
    };
    Bytes const iText = pngbytes::chunk("iTXt", Bytes("Comment\0\1\0\0\0", 12) + eightMegabytes);
    Case const cases[] = {
        {"four compressed text chunks", Bytes(), "4 chunks of"},
        {"compressed international text", iText + iText, "2 chunks of"},
        {"plain text of 2 MB", pngbytes::chunk("tEXt", Bytes("Comment\0", 8) + Bytes(2 << 20, 'x')), "1 chunks of"},
    };
    Bytes const zText = pngbytes::chunk("zTXt", Bytes("Comment\0\0", 9) + eightMegabytes);
    Bytes const row = pngbytes::zlibStream(pngbytes::rows(l));
    for (Case const& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes const chunks = c.chunks.empty() ? zText + zText + zText + zText : c.chunks;
        Bytes const file = pngbytes::file(l, chunks, row);
        bool const watched = allocwatch::start();
        Read const r = readBoth(file);
        allocwatch::stop();
        ASSERT_TRUE(r.header);
        ASSERT_TRUE(r.decoded) << r.error;
        EXPECT_EQ(r.image.argb, simplifiedRead(pngbytes::file(l, "", row)));
        EXPECT_NE(r.notes.find(c.note), std::string::npos) << r.notes;
        EXPECT_NE(r.notes.find("that pictures do not use were skipped"), std::string::npos) << r.notes;
        if (watched) {
            EXPECT_LT(allocwatch::largest(), std::size_t{256} << 10);
            EXPECT_LT(allocwatch::total(), std::size_t{1} << 20);
        }
    }
}

// Pixel data that runs on past the rows of the header is not read: a 1 x 1 picture whose stream
// goes on with 64 MiB of zeros, or never ends before the last chunk (reading on to its end, the
// reader before found too little data and refused the picture). The picture is its one row, and
// the rest is noted. Pixel data cut short within the rows still refuses the picture.
TEST(PngRead, PixelDataIsReadOnlyUpToTheRowsOfTheHeader) {
    Layout const l;
    Bytes const row = pngbytes::rows(l);
    uint32_t const rowAdler = pngbytes::adler32(row);
    Bytes const runsOn = pngbytes::zlibHeader() + pngbytes::storedBlocks(row, false) +
                         pngbytes::runBlock(std::size_t{64} << 20, 0, true) +
                         pngbytes::bigEndian(pngbytes::adler32WithRun(rowAdler, std::size_t{64} << 20, 0));
    Bytes const neverEnds = pngbytes::zlibHeader() + pngbytes::storedBlocks(row + Bytes(4096, '\0'), false);
    Bytes const whole = pngbytes::zlibStream(pngbytes::rows(Layout{3, 4, 6, 8, false}));
    struct Case {
        char const* name;
        Bytes file;
        bool decoded;
        char const* noteOrError;
    };
    Case const cases[] = {
        {"64 MiB past the row", pngbytes::file(l, "", runsOn), true, "what follows the 1x1 pixels"},
        {"a stream that never ends", pngbytes::file(l, "", neverEnds), true, "what follows the 1x1 pixels"},
        {"rows in two chunks, then a bad one",
         pngbytes::signature() + pngbytes::header(l) + pngbytes::chunk("IDAT", runsOn.substr(0, 20)) +
             pngbytes::chunk("IDAT", runsOn.substr(20, 100)) + pngbytes::chunk("IDAT", "broken").substr(0, 14) + "!!!!",
         true, "what follows the 1x1 pixels"},
        {"cut within the rows", pngbytes::file(Layout{3, 4, 6, 8, false}, "", whole).substr(0, 33 + 8 + 30), false,
         "cut short"},
    };
    port::dx::PixelWords const expected = simplifiedRead(pngbytes::file(l, "", pngbytes::zlibStream(row)));
    for (Case const& c : cases) {
        SCOPED_TRACE(c.name);
        Read const r = readBoth(c.file);
        ASSERT_EQ(r.decoded, c.decoded) << r.error;
        if (!c.decoded) {
            EXPECT_NE(r.error.find(c.noteOrError), std::string::npos) << r.error;
            continue;
        }
        EXPECT_EQ(r.image.argb, expected);
        EXPECT_NE(r.notes.find(c.noteOrError), std::string::npos) << r.notes;
    }
}

// Without a collector a note goes to the port log; nested collectors: the innermost collects,
// and a note it has already is not repeated.
TEST(PngRead, NotesGoToTheInnermostCollectorOnce) {
    std::vector<std::wstring> logged;
    port::setLogSink([&](port::LogLevel, std::wstring const& line) { logged.push_back(line); });
    port::dx::ImageNotes::note("alone");
    port::setLogSink({});
    EXPECT_EQ(logged, std::vector<std::wstring>{L"D3DX: alone"});
    port::dx::ImageNotes const outer;
    {
        port::dx::ImageNotes const inner;
        port::dx::ImageNotes::note("a");
        port::dx::ImageNotes::note("b");
        port::dx::ImageNotes::note("a");
        EXPECT_EQ(inner.text(), "a; b");
    }
    EXPECT_EQ(outer.text(), "");
}

}  // namespace

// A decode keeps nothing (the engine's store of pictures keeps what is decoded): a file decoded
// twice is two pictures of the same pixels, each read giving the same notes; a picture of
// decodeImageFile is read-only and shared by those who hold it. The reason of a refusal is the
// header read's: a file of a few bytes declaring 4,096 x 4,096 pixels is refused for its pixel
// data, as is no data at all.
TEST(PngRead, EachDecodeOfAFileIsAPictureOfItsOwn) {
    Layout const l{3, 4, 6, 8, false};
    Bytes const row = pngbytes::rows(l);
    Bytes const runsOn = pngbytes::zlibHeader() + pngbytes::storedBlocks(row + Bytes(64, '\0'), false);
    Layout large = l;
    large.width = large.height = 4096;
    struct Case {
        char const* name;
        Bytes file;
        char const* note;   // null: refused
        char const* error;  // the refusal's reason
    };
    Case const cases[] = {
        {"plain", pngbytes::file(l, "", pngbytes::zlibStream(row)), "", ""},
        {"pixel data running on", pngbytes::file(l, "", runsOn), "what follows the 3x4 pixels", ""},
        {"declaring more than its data holds", pngbytes::file(large, "", pngbytes::zlibStream(row)), nullptr,
         "PNG pixel data is cut short"},
        {"no data", Bytes(), nullptr, "no image data"},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.name);
        struct Decode {
            std::shared_ptr<port::dx::Image const> image;
            std::string notes, error, headerError;
        } decodes[2];
        for (Decode& d : decodes) {
            port::dx::ImageNotes const notes;
            D3DXIMAGE_INFO info{};
            port::dx::imageInfo(c.file.data(), c.file.size(), info, d.headerError);
            d.image = port::dx::decodeImageFile(c.file.data(), c.file.size(), info, d.error);
            d.notes = notes.text();
        }
        if (!c.note) {
            EXPECT_FALSE(decodes[0].image || decodes[1].image);
            EXPECT_EQ(decodes[1].error, c.error);
            EXPECT_EQ(decodes[1].headerError, c.error);
            continue;
        }
        ASSERT_TRUE(decodes[0].image && decodes[1].image) << decodes[0].error;
        EXPECT_NE(decodes[0].image, decodes[1].image);
        EXPECT_EQ(decodes[0].image->argb, decodes[1].image->argb);
        EXPECT_NE(decodes[0].notes.find(c.note), std::string::npos) << decodes[0].notes;
        EXPECT_EQ(decodes[1].notes, decodes[0].notes);
    }
}
