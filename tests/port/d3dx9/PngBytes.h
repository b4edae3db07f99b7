// PNG files built byte by byte for the tests: chunks with their CRC, zlib streams of stored
// blocks (so a stream can be cut or run on anywhere), rows of any colour type and bit depth,
// interlaced or not.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

namespace pngbytes {

using Bytes = std::string;

// The CRC a PNG chunk carries (over its type and data).
inline uint32_t crc(Bytes const& typeAndData) {
    uint32_t c = 0xFFFFFFFF;
    for (unsigned char b : typeAndData) {
        c ^= b;
        for (int bit = 0; bit < 8; ++bit) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
    }
    return ~c;
}

inline void putBigEndian(Bytes& b, std::size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>(v >> (24 - 8 * i));
}

inline Bytes bigEndian(uint32_t v) {
    Bytes b(4, '\0');
    putBigEndian(b, 0, v);
    return b;
}

inline Bytes chunk(char const* type, Bytes const& data) {
    Bytes const body = Bytes(type, 4) + data;
    return bigEndian(static_cast<uint32_t>(data.size())) + body + bigEndian(crc(body));
}

// Deflate stored blocks holding raw; the last one marked final when final is set.
inline Bytes storedBlocks(Bytes const& raw, bool final) {
    Bytes out;
    std::size_t at = 0;
    do {
        std::size_t const n = std::min<std::size_t>(raw.size() - at, 65535);
        bool const last = final && at + n == raw.size();
        out += static_cast<char>(last ? 1 : 0);
        out += static_cast<char>(n & 0xFF);
        out += static_cast<char>(n >> 8);
        out += static_cast<char>(~n & 0xFF);
        out += static_cast<char>((~n >> 8) & 0xFF);
        out += raw.substr(at, n);
        at += n;
    } while (at < raw.size());
    return out;
}

inline uint32_t adler32(Bytes const& raw) {
    uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

// The Adler-32 of raw followed by n bytes of value c, from raw's.
inline uint32_t adler32WithRun(uint32_t adler, std::size_t n, unsigned char c) {
    constexpr uint64_t kMod = 65521;
    uint64_t const a = adler & 0xFFFF;
    // b grows by a + k * c for k = 1 .. n: n * a + c * n (n + 1) / 2.
    uint64_t const half = n % 2 == 0 ? (n / 2 % kMod) * ((n + 1) % kMod) : (n % kMod) * ((n + 1) / 2 % kMod);
    uint64_t const b = ((adler >> 16) + (n % kMod) * a + half % kMod * c) % kMod;
    return static_cast<uint32_t>((b << 16) | ((a + (n % kMod) * c) % kMod));
}

// A fixed-Huffman deflate block of n >= 1 bytes of value c (below 144): a literal, then copies
// of 258 bytes at distance 1 (13 bits each), the rest as literals: a gigabyte in about 6 MB.
inline Bytes runBlock(std::size_t n, unsigned char c, bool final) {
    Bytes out;
    uint32_t bits = 0;
    int held = 0;
    auto put = [&](uint32_t value, int count) {  // low bit first
        bits |= value << held;
        held += count;
        while (held >= 8) {
            out += static_cast<char>(bits & 0xFF);
            bits >>= 8;
            held -= 8;
        }
    };
    auto code = [&](uint32_t value, int count) {  // Huffman codes go high bit first
        uint32_t reversed = 0;
        for (int i = 0; i < count; ++i) reversed |= ((value >> i) & 1u) << (count - 1 - i);
        put(reversed, count);
    };
    uint32_t const literal = 0x30u + c;  // the 8-bit codes of literals 0 .. 143
    put(final ? 1 : 0, 1);
    put(1, 2);  // fixed Huffman codes
    std::size_t left = n;
    code(literal, 8);
    --left;
    for (; left >= 258; left -= 258) {
        code(0xC5, 8);  // length 258
        code(0, 5);     // distance 1
    }
    for (; left > 0; --left) code(literal, 8);
    code(0, 7);  // end of block
    if (held > 0) out += static_cast<char>(bits & 0xFF);
    return out;
}

inline Bytes zlibHeader() { return Bytes("\x78\x01", 2); }

// A whole zlib stream of n bytes of value c.
inline Bytes zlibRun(std::size_t n, unsigned char c) {
    return zlibHeader() + runBlock(n, c, true) + bigEndian(adler32WithRun(1, n, c));
}

// A whole zlib stream of stored blocks.
inline Bytes zlibStream(Bytes const& raw) { return zlibHeader() + storedBlocks(raw, true) + bigEndian(adler32(raw)); }

// What a picture is: size, colour type (0 grey, 2 RGB, 3 palette, 4 grey and alpha, 6 RGBA),
// bit depth, Adam7 interlacing.
struct Layout {
    uint32_t width = 1;
    uint32_t height = 1;
    int colourType = 6;
    int depth = 8;
    bool interlaced = false;
};

inline int channels(int colourType) {
    switch (colourType) {
        case 2: return 3;
        case 4: return 2;
        case 6: return 4;
        default: return 1;
    }
}

inline Bytes header(Layout const& l) {
    Bytes data = bigEndian(l.width) + bigEndian(l.height);
    data += static_cast<char>(l.depth);
    data += static_cast<char>(l.colourType);
    data += Bytes(2, '\0');
    data += static_cast<char>(l.interlaced ? 1 : 0);
    return chunk("IHDR", data);
}

// A sample of pixel (x, y), channel c, within the depth (and below entries for a palette).
inline uint32_t sample(Layout const& l, uint32_t x, uint32_t y, int c, uint32_t entries) {
    uint32_t const v = x * 37u + y * 101u + static_cast<uint32_t>(c) * 53u + x * y * 7u;
    if (l.colourType == 3) return v % entries;
    return l.depth == 16 ? (v * 2654435761u) >> 16 : v % (1u << l.depth);
}

// The filtered rows (filter 0) of the picture, pass by pass when interlaced.
inline Bytes rows(Layout const& l, uint32_t paletteEntries = 256) {
    struct Pass {
        uint32_t x0, y0, dx, dy;
    };
    static constexpr Pass kAdam7[] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                      {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    static constexpr Pass kWhole[] = {{0, 0, 1, 1}};
    std::vector<Pass> const passes =
        l.interlaced ? std::vector<Pass>(std::begin(kAdam7), std::end(kAdam7)) : std::vector<Pass>(kWhole, kWhole + 1);
    Bytes out;
    for (Pass const& p : passes) {
        if (p.x0 >= l.width || p.y0 >= l.height) continue;
        for (uint32_t y = p.y0; y < l.height; y += p.dy) {
            out += '\0';
            uint32_t bits = 0;
            int held = 0;
            for (uint32_t x = p.x0; x < l.width; x += p.dx) {
                for (int c = 0; c < channels(l.colourType); ++c) {
                    uint32_t const v = sample(l, x, y, c, paletteEntries);
                    if (l.depth == 16) {
                        out += static_cast<char>(v >> 8);
                        out += static_cast<char>(v & 0xFF);
                        continue;
                    }
                    bits = (bits << l.depth) | v;
                    held += l.depth;
                    if (held == 8) {
                        out += static_cast<char>(bits);
                        bits = 0;
                        held = 0;
                    }
                }
            }
            if (held > 0) out += static_cast<char>(bits << (8 - held));
        }
    }
    return out;
}

inline Bytes signature() { return Bytes("\x89PNG\r\n\x1a\n", 8); }

// A file of the picture: IHDR, the chunks given, one IDAT of the whole stream, IEND.
inline Bytes file(Layout const& l, Bytes const& chunks, Bytes const& stream) {
    return signature() + header(l) + chunks + chunk("IDAT", stream) + chunk("IEND", "");
}

}  // namespace pngbytes
