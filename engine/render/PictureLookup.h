// One file's bytes as the store of pictures found them when it described them
// (FilePictures::describe), handed on to the picture made of the same bytes next
// (FilePictures::obtain): a load hashes its file's bytes once and compares them with a kept file's
// at most once, where the description and the picture each looked the bytes up again.
#pragma once

#include <cstddef>

#include "engine/core/Types.h"

namespace Orvex {

struct PictureLookup {
    // Whether hash holds the bytes' hash (a lookup made by describe).
    bool hashed = false;
    std::size_t hash = 0;
    // The number of the kept file the bytes are, 0 for none.
    u64 file = 0;
};

}  // namespace Orvex
