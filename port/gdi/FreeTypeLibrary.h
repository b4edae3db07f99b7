// The process's one FreeType library. FreeType wants face creation and destruction serialised per
// library, so both happen under its lock; a face itself is used by one thread at a time.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <mutex>

namespace port::gdi {

// Holds the library's lock while it lives.
class FreeTypeLock {
public:
    FreeTypeLock();
    FreeTypeLock(FreeTypeLock const&) = delete;
    FreeTypeLock& operator=(FreeTypeLock const&) = delete;
    FT_Library library() const { return library_; }  // null when FreeType could not start

private:
    std::lock_guard<std::mutex> guard_;
    FT_Library library_;
};

}  // namespace port::gdi
