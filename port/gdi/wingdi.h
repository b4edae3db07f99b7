// GDI's font services: fonts installed from memory, font objects selected into device contexts,
// text metrics, glyph ABC widths and the Unicode ranges of a face, on FreeType and fontconfig.
// GetDC and ReleaseDC live here too (user32 on Windows): our device context is a GDI object.
#pragma once

#include "port/win32/windows_types.h"

#define FW_DONTCARE 0
#define FW_THIN 100
#define FW_LIGHT 300
#define FW_NORMAL 400
#define FW_MEDIUM 500
#define FW_SEMIBOLD 600
#define FW_BOLD 700
#define FW_HEAVY 900

#define ANSI_CHARSET 0
#define DEFAULT_CHARSET 1
#define OUT_DEFAULT_PRECIS 0
#define CLIP_DEFAULT_PRECIS 0
#define DEFAULT_QUALITY 0
#define ANTIALIASED_QUALITY 4
#define DEFAULT_PITCH 0
#define FF_DONTCARE 0

#define GDI_ERROR 0xFFFFFFFFu
#define HGDI_ERROR ((HGDIOBJ)(LONG_PTR)-1)

#define LF_FACESIZE 32

struct TEXTMETRICW {
    LONG tmHeight;  // ascent + descent: the cell height
    LONG tmAscent;
    LONG tmDescent;
    LONG tmInternalLeading;  // cell height minus character (em) height
    LONG tmExternalLeading;
    LONG tmAveCharWidth;
    LONG tmMaxCharWidth;
    LONG tmWeight;
    LONG tmOverhang;
    LONG tmDigitizedAspectX;
    LONG tmDigitizedAspectY;
    WCHAR tmFirstChar;
    WCHAR tmLastChar;
    WCHAR tmDefaultChar;
    WCHAR tmBreakChar;
    BYTE tmItalic;
    BYTE tmUnderlined;
    BYTE tmStruckOut;
    BYTE tmPitchAndFamily;
    BYTE tmCharSet;
};
typedef TEXTMETRICW* LPTEXTMETRICW;

// Space before the glyph, the glyph's black box and the space after it, in pixels.
struct ABCFLOAT {
    FLOAT abcfA;
    FLOAT abcfB;
    FLOAT abcfC;
};
typedef ABCFLOAT* LPABCFLOAT;

struct WCRANGE {
    WCHAR wcLow;
    USHORT cGlyphs;
};

// A variable-size block: cRanges entries follow in ranges; cbThis is the size of the whole block.
struct GLYPHSET {
    DWORD cbThis;
    DWORD flAccel;
    DWORD cGlyphsSupported;
    DWORD cRanges;
    WCRANGE ranges[1];
};
typedef GLYPHSET* LPGLYPHSET;

// A font object. Height: negative is the character (em) height, positive the cell height, 0 a
// default size. Width: the average character width, 0 for the face's own. The face name goes
// through fontconfig (Windows names map to metric-compatible faces); fonts installed with
// AddFontMemResourceEx are found first. Null only for a face that cannot be opened at all.
HFONT CreateFontW(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                  DWORD quality, DWORD pitchAndFamily, LPCWSTR faceName);
// Deletes a font object (FALSE for a handle that is no live GDI object). A font still selected
// into a device context stays usable there until it is replaced or the context is released.
BOOL DeleteObject(HGDIOBJ object);
// Selects a font into a device context and returns the one selected before (the context starts
// with a default font); null for a bad context or object.
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);

// A device context for the window (any window, or null for the screen): a place to select a font
// into for measuring. Release it with ReleaseDC.
HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC dc);

BOOL GetTextMetricsW(HDC dc, LPTEXTMETRICW metrics);
// ABC widths of the code points first..last of the selected font; characters the face lacks get
// the widths of its default glyph.
BOOL GetCharABCWidthsFloatW(HDC dc, UINT first, UINT last, LPABCFLOAT widths);
// The Unicode ranges (U+0000..U+FFFF) the selected font supports. With a null glyphSet, the size
// of the block needed; otherwise fills it (the caller sized it from the first call) and returns
// the size. 0 on failure.
DWORD GetFontUnicodeRanges(HDC dc, LPGLYPHSET glyphSet);

// Installs the faces of a font file held in memory for this process (the bytes are copied).
// Returns a handle for RemoveFontMemResourceEx and writes the number of faces; a file FreeType
// cannot read is refused with a log line (null, count 0).
HANDLE AddFontMemResourceEx(LPVOID fontData, DWORD size, LPVOID reserved, DWORD* fontCount);
// Uninstalls the faces; fonts made from them before keep working.
BOOL RemoveFontMemResourceEx(HANDLE handle);
