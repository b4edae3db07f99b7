// Multimedia file I/O (the mmio functions) on host files and memory blocks, for RIFF files such
// as WAV. Files are held in memory while open: a read opens the whole file, a write reaches the
// disk at mmioFlush or mmioClose. Buffered access (mmioGetInfo / mmioAdvance / mmioSetInfo)
// always has a buffer. Custom I/O procedures are not supported.
// Unlike the original, mmioDescend refuses a chunk whose header is cut off or whose size runs
// past the end of its parent or of the file (one log line), so readers never take a truncated
// chunk for a whole one.
#pragma once

#include "port/mmio/mmreg.h"
#include "port/win32/windows_types.h"

typedef DWORD FOURCC;
typedef UINT MMRESULT;
typedef char* HPSTR;
typedef struct HMMIO__* HMMIO;
typedef LRESULT (*LPMMIOPROC)(LPSTR info, UINT message, LPARAM param1, LPARAM param2);

#define mmioFOURCC(c0, c1, c2, c3) \
    ((DWORD)(BYTE)(c0) | ((DWORD)(BYTE)(c1) << 8) | ((DWORD)(BYTE)(c2) << 16) | ((DWORD)(BYTE)(c3) << 24))
#ifndef MAKEFOURCC
#define MAKEFOURCC(c0, c1, c2, c3) mmioFOURCC(c0, c1, c2, c3)
#endif

#define FOURCC_RIFF mmioFOURCC('R', 'I', 'F', 'F')
#define FOURCC_LIST mmioFOURCC('L', 'I', 'S', 'T')
#define FOURCC_DOS mmioFOURCC('D', 'O', 'S', ' ')
#define FOURCC_MEM mmioFOURCC('M', 'E', 'M', ' ')

#define MMSYSERR_NOERROR 0
#define MMIOERR_BASE 256
#define MMIOERR_FILENOTFOUND (MMIOERR_BASE + 1)
#define MMIOERR_OUTOFMEMORY (MMIOERR_BASE + 2)
#define MMIOERR_CANNOTOPEN (MMIOERR_BASE + 3)
#define MMIOERR_CANNOTCLOSE (MMIOERR_BASE + 4)
#define MMIOERR_CANNOTREAD (MMIOERR_BASE + 5)
#define MMIOERR_CANNOTWRITE (MMIOERR_BASE + 6)
#define MMIOERR_CANNOTSEEK (MMIOERR_BASE + 7)
#define MMIOERR_CANNOTEXPAND (MMIOERR_BASE + 8)
#define MMIOERR_CHUNKNOTFOUND (MMIOERR_BASE + 9)
#define MMIOERR_UNBUFFERED (MMIOERR_BASE + 10)
#define MMIOERR_PATHNOTFOUND (MMIOERR_BASE + 11)
#define MMIOERR_ACCESSDENIED (MMIOERR_BASE + 12)
#define MMIOERR_SHARINGVIOLATION (MMIOERR_BASE + 13)
#define MMIOERR_NETWORKERROR (MMIOERR_BASE + 14)
#define MMIOERR_TOOMANYOPENFILES (MMIOERR_BASE + 15)
#define MMIOERR_INVALIDFILE (MMIOERR_BASE + 16)

// Open flags.
#define MMIO_READ 0x00000000
#define MMIO_WRITE 0x00000001
#define MMIO_READWRITE 0x00000002
#define MMIO_COMPAT 0x00000000
#define MMIO_EXCLUSIVE 0x00000010
#define MMIO_DENYWRITE 0x00000020
#define MMIO_DENYREAD 0x00000030
#define MMIO_DENYNONE 0x00000040
#define MMIO_CREATE 0x00001000
#define MMIO_PARSE 0x00000100
#define MMIO_DELETE 0x00000200
#define MMIO_EXIST 0x00004000
#define MMIO_ALLOCBUF 0x00010000
#define MMIO_GETTEMP 0x00020000
#define MMIO_DIRTY 0x10000000
// mmioAdvance directions and chunk flags.
#define MMIO_FINDCHUNK 0x0010
#define MMIO_FINDRIFF 0x0020
#define MMIO_FINDLIST 0x0040
#define MMIO_CREATERIFF 0x0020
#define MMIO_CREATELIST 0x0040
#define MMIO_FHOPEN 0x0010
#define MMIO_EMPTYBUF 0x0010
#define MMIO_DEFAULTBUFFER 8192
#define MMIO_TOUPPER 0x0010

#ifndef SEEK_SET
#define SEEK_SET 0
#define SEEK_CUR 1
#define SEEK_END 2
#endif

struct MMIOINFO {
    DWORD dwFlags;
    FOURCC fccIOProc;
    LPMMIOPROC pIOProc;
    UINT wErrorRet;
    HANDLE htask;
    LONG cchBuffer;
    HPSTR pchBuffer;
    HPSTR pchNext;
    HPSTR pchEndRead;
    HPSTR pchEndWrite;
    LONG lBufOffset;
    LONG lDiskOffset;
    DWORD adwInfo[3];
    DWORD dwReserved1;
    DWORD dwReserved2;
    HMMIO hmmio;
};
typedef MMIOINFO* LPMMIOINFO;
typedef const MMIOINFO* LPCMMIOINFO;

struct MMCKINFO {
    FOURCC ckid;
    DWORD cksize;
    FOURCC fccType;
    DWORD dwDataOffset;
    DWORD dwFlags;
};
typedef MMCKINFO* LPMMCKINFO;
typedef const MMCKINFO* LPCMMCKINFO;

// Opens a file by Windows path (through port::hostPath), or a memory block when info names
// FOURCC_MEM (pchBuffer/cchBuffer; a null pchBuffer with MMIO_ALLOCBUF gives a growable block).
// Returns null on failure with the reason in info->wErrorRet when info is given.
HMMIO mmioOpenW(LPCWSTR fileName, LPMMIOINFO info, DWORD flags);
MMRESULT mmioClose(HMMIO file, UINT flags);
// Bytes read or written, or -1.
LONG mmioRead(HMMIO file, HPSTR buffer, LONG count);
LONG mmioWrite(HMMIO file, const char* buffer, LONG count);
// The new position, or -1.
LONG mmioSeek(HMMIO file, LONG offset, int origin);
MMRESULT mmioFlush(HMMIO file, UINT flags);

// Direct buffer access: after mmioGetInfo the caller reads between pchNext and pchEndRead or
// writes between pchNext and pchEndWrite (setting MMIO_DIRTY); mmioAdvance writes back a dirty
// buffer and refills it at the following position (pchEndRead == pchNext at the end of the
// file); mmioSetInfo hands the buffer back.
MMRESULT mmioGetInfo(HMMIO file, LPMMIOINFO info, UINT flags);
MMRESULT mmioSetInfo(HMMIO file, LPCMMIOINFO info, UINT flags);
MMRESULT mmioAdvance(HMMIO file, LPMMIOINFO info, UINT flags);

// RIFF chunks. mmioDescend reads the chunk header at the current position (flags 0) or searches
// for a chunk (MMIO_FINDCHUNK by ckid, MMIO_FINDRIFF / MMIO_FINDLIST by fccType) within parent;
// the position is left at the chunk's data (after the form type for RIFF and LIST).
// mmioAscend moves past the chunk and its pad byte; for a chunk created by mmioCreateChunk
// (MMIO_DIRTY) it first writes the real size and the pad byte.
MMRESULT mmioDescend(HMMIO file, LPMMCKINFO chunk, LPCMMCKINFO parent, UINT flags);
MMRESULT mmioAscend(HMMIO file, LPMMCKINFO chunk, UINT flags);
MMRESULT mmioCreateChunk(HMMIO file, LPMMCKINFO chunk, UINT flags);
FOURCC mmioStringToFOURCCW(LPCWSTR text, UINT flags);
