// Text encodings of the engine's files: the ANSI code page (Windows-1252) and UTF-16LE.
// wchar_t is 32 bits here, so UTF-16 surrogate pairs are joined into one character on reading
// and split again on writing. Lone surrogates pass through unchanged in both directions, so a
// file read and written again keeps its bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace Orvex {

// Windows-1252 byte -> character. The five bytes Windows leaves undefined map to U+0081 etc.,
// as MultiByteToWideChar does.
wchar_t widenAnsi(unsigned char byte);
// Character -> Windows-1252 byte; false when the character has no byte.
bool narrowAnsi(wchar_t ch, unsigned char& byte);

// Wide to 8-bit text in the ANSI code page; unmappable characters become a blank.
std::string toNarrowString(std::wstring const& text);
// 8-bit text in the ANSI code page to wide.
std::wstring toWideString(std::string const& text);

// The text of a file's bytes: UTF-16LE after the byte-order mark FF FE, UTF-8 after EF BB BF,
// else each byte widened through Windows-1252. The mark itself is not part of the text.
std::wstring decodeFileText(unsigned char const* bytes, std::size_t size);

// Appends the UTF-16LE bytes of text (no byte-order mark). Characters past U+10FFFF become
// U+FFFD.
void appendUtf16LE(std::string& out, std::wstring_view text);
// Appends the Windows-1252 bytes of text; unmappable characters become a blank. Returns the
// number of characters that had to be replaced.
std::size_t appendAnsi(std::string& out, std::wstring_view text);

}  // namespace Orvex
