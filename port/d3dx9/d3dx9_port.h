// Extras of the D3DX layer that D3DX itself does not have: what the image readers left out of a
// file that still loaded, for the caller that knows the file's name to log; the size an image
// file's first bytes declare, for a caller that refuses a picture too large before reading it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace port::dx {

// The first bytes of an image file that hold its size where the format puts it at the start: a
// PNG's signature and IHDR chunk (width and height, bit depth, colour type ... and its CRC).
constexpr std::size_t kImageHeadBytes = 33;

// The width and height that the first bytes of an image file declare (kImageHeadBytes suffice),
// as they stand, unchecked; false when the bytes do not say: not a PNG's signature and IHDR, or
// cut short (the other formats are judged once read whole).
bool declaredImageSize(void const* head, std::size_t size, uint32_t& width, uint32_t& height);

// While one lives on the thread, the image readers (header reads and decodes, through any D3DX
// function) note in it what they left out of a file they still read: chunks of no use skipped
// in bulk, data past the pixels the header gives. The innermost one collects; without one a
// note goes to the port log, which cannot name the file. Not shared between threads.
class ImageNotes {
public:
    ImageNotes();
    ~ImageNotes();
    ImageNotes(ImageNotes const&) = delete;
    ImageNotes& operator=(ImageNotes const&) = delete;

    // The notes, "; " between them, each once; empty when nothing was left out.
    std::string text() const;
    // The same notes one by one, in their order.
    std::vector<std::string> const& each() const { return each_; }

    // Called by the readers.
    static void note(std::string const& what);

private:
    std::vector<std::string> each_;
    ImageNotes* outer_;
};

}  // namespace port::dx
