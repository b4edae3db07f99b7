// RIFF chunk navigation and creation on mmio files: mmioDescend, mmioAscend, mmioCreateChunk.
#include <algorithm>
#include <cwctype>
#include <string>

#include "port/mmio/MmioFile.h"
#include "port/win32/win32_log.h"

namespace {

std::wstring fourccText(FOURCC code) {
    std::wstring text;
    for (int i = 0; i < 4; ++i) {
        wchar_t c = static_cast<wchar_t>((code >> (8 * i)) & 0xFF);
        text += (c >= 0x20 && c < 0x7F) ? c : L'?';
    }
    return text;
}

bool isForm(FOURCC id) { return id == FOURCC_RIFF || id == FOURCC_LIST; }

MMRESULT refuse(HMMIO file, std::wstring const& what) {
    port::logLine(port::LogLevel::Error, L"mmioDescend: " + what + L" in \"" + file->name + L"\"");
    return MMIOERR_CHUNKNOTFOUND;
}

}  // namespace

MMRESULT mmioDescend(HMMIO file, LPMMCKINFO chunk, LPCMMCKINFO parent, UINT flags) {
    if (!file || !chunk || !file->canRead) return MMIOERR_INVALIDFILE;
    std::size_t end = file->size;
    if (parent) end = std::min<std::size_t>(end, std::size_t(parent->dwDataOffset) + parent->cksize);
    if (parent) {
        std::size_t first = std::size_t(parent->dwDataOffset) + (isForm(parent->ckid) ? 4 : 0);
        if (file->pos < first) file->pos = first;
    }
    for (;;) {
        std::size_t at = file->pos;
        if (at >= end) return MMIOERR_CHUNKNOTFOUND;
        DWORD id = 0;
        DWORD size = 0;
        if (end - at < 8 || !file->peek32(at, id) || !file->peek32(at + 4, size))
            return refuse(file, L"truncated chunk header at offset " + std::to_wstring(at));
        std::size_t dataOffset = at + 8;
        if (size > end - dataOffset)
            return refuse(file, L"chunk \"" + fourccText(id) + L"\" at offset " + std::to_wstring(at) + L" declares " +
                                    std::to_wstring(size) + L" bytes but only " + std::to_wstring(end - dataOffset) +
                                    L" follow");
        DWORD type = 0;
        if (isForm(id) && (size < 4 || !file->peek32(dataOffset, type)))
            return refuse(file, L"\"" + fourccText(id) + L"\" chunk at offset " + std::to_wstring(at) + L" has no form type");
        bool match = (flags & MMIO_FINDCHUNK)  ? id == chunk->ckid
                     : (flags & MMIO_FINDRIFF) ? id == FOURCC_RIFF && type == chunk->fccType
                     : (flags & MMIO_FINDLIST) ? id == FOURCC_LIST && type == chunk->fccType
                                               : true;
        if (match) {
            chunk->ckid = id;
            chunk->cksize = size;
            if (isForm(id)) chunk->fccType = type;
            chunk->dwDataOffset = static_cast<DWORD>(dataOffset);
            chunk->dwFlags = 0;
            file->pos = dataOffset + (isForm(id) ? 4 : 0);
            return MMSYSERR_NOERROR;
        }
        file->pos = dataOffset + size + (size & 1);
    }
}

MMRESULT mmioAscend(HMMIO file, LPMMCKINFO chunk, UINT) {
    if (!file || !chunk) return MMIOERR_INVALIDFILE;
    if (chunk->dwFlags & MMIO_DIRTY) {
        if (!file->canWrite) return MMIOERR_CANNOTWRITE;
        if (file->pos < chunk->dwDataOffset) return MMIOERR_CANNOTSEEK;
        std::size_t actual = file->pos - chunk->dwDataOffset;
        if (actual > 0xFFFFFFFFu) return MMIOERR_CANNOTWRITE;
        if (actual != chunk->cksize) {
            if (chunk->dwDataOffset < 4 || !file->poke32(chunk->dwDataOffset - 4, static_cast<DWORD>(actual)))
                return MMIOERR_CANNOTWRITE;
            chunk->cksize = static_cast<DWORD>(actual);
        }
        if (actual & 1) {
            char const pad = 0;
            file->pos = chunk->dwDataOffset + actual;
            if (file->writeBytes(&pad, 1) != 1) return MMIOERR_CANNOTWRITE;
        }
        chunk->dwFlags &= ~DWORD(MMIO_DIRTY);
    }
    file->pos = std::size_t(chunk->dwDataOffset) + chunk->cksize + (chunk->cksize & 1);
    return MMSYSERR_NOERROR;
}

MMRESULT mmioCreateChunk(HMMIO file, LPMMCKINFO chunk, UINT flags) {
    if (!file || !chunk) return MMIOERR_INVALIDFILE;
    if (!file->canWrite) return MMIOERR_CANNOTWRITE;
    if (flags & MMIO_CREATERIFF) chunk->ckid = FOURCC_RIFF;
    if (flags & MMIO_CREATELIST) chunk->ckid = FOURCC_LIST;
    bool form = (flags & (MMIO_CREATERIFF | MMIO_CREATELIST)) != 0;
    DWORD header[3] = {chunk->ckid, chunk->cksize, chunk->fccType};
    std::size_t length = form ? 12 : 8;
    std::size_t start = file->pos;
    if (file->writeBytes(header, length) != length) {
        file->pos = start;
        return MMIOERR_CANNOTWRITE;
    }
    chunk->dwDataOffset = static_cast<DWORD>(start + 8);
    chunk->dwFlags = MMIO_DIRTY;
    return MMSYSERR_NOERROR;
}

FOURCC mmioStringToFOURCCW(LPCWSTR text, UINT flags) {
    char code[4] = {' ', ' ', ' ', ' '};
    for (int i = 0; text && i < 4 && text[i]; ++i) {
        wchar_t c = text[i];
        if (flags & MMIO_TOUPPER) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
        code[i] = static_cast<char>(c);
    }
    return mmioFOURCC(code[0], code[1], code[2], code[3]);
}
