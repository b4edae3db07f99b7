// mmio files: opening (host files through port::hostPath, memory blocks), reading, writing,
// seeking, flushing and the direct-access buffer. Chunk functions are in MmioChunks.cpp.
#include "port/mmio/MmioFile.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include "port/win32/win32_log.h"
#include "port/win32/win32_paths.h"

namespace {

constexpr std::size_t kMaxSize = static_cast<std::size_t>(LONG_MAX);

bool loadHostFile(std::string const& path, std::vector<char>& out) {
    std::FILE* f = port::openRegularFile(path, "rb");
    if (!f) return false;
    bool ok = std::fseek(f, 0, SEEK_END) == 0;
    long length = ok ? std::ftell(f) : -1;
    ok = ok && length >= 0 && static_cast<unsigned long>(length) <= kMaxSize && std::fseek(f, 0, SEEK_SET) == 0;
    if (ok) {
        out.resize(static_cast<std::size_t>(length));
        ok = out.empty() || std::fread(out.data(), 1, out.size(), f) == out.size();
    }
    std::fclose(f);
    return ok;
}

bool storeHostFile(std::string const& path, std::vector<char> const& content) {
    std::FILE* f = port::openRegularFile(path, "wb");
    if (!f) return false;
    bool ok = content.empty() || std::fwrite(content.data(), 1, content.size(), f) == content.size();
    return std::fclose(f) == 0 && ok;
}

HMMIO fail(LPMMIOINFO info, UINT error) {
    if (info) info->wErrorRet = error;
    return nullptr;
}

}  // namespace

std::size_t HMMIO__::readBytes(void* out, std::size_t count) {
    std::size_t n = std::min(count, remaining());
    if (n) std::memcpy(out, data() + pos, n);
    pos += n;
    return n;
}

std::size_t HMMIO__::writeBytes(void const* in, std::size_t count) {
    if (pos > kMaxSize || count > kMaxSize - pos) count = pos < kMaxSize ? kMaxSize - pos : 0;
    std::size_t end = pos + count;
    if (end > size) {
        if (!growable) {
            end = std::max(size, pos);
            count = end - pos;
        } else {
            own.resize(end);  // a gap left by a seek past the end reads as zeros
            size = end;
        }
    }
    if (count) {
        std::memcpy(data() + pos, in, count);
        modified = true;
    }
    pos += count;
    return count;
}

bool HMMIO__::peek32(std::size_t offset, DWORD& value) const {
    if (offset > size || size - offset < 4) return false;
    unsigned char const* p = reinterpret_cast<unsigned char const*>(external ? external : own.data()) + offset;
    value = DWORD(p[0]) | DWORD(p[1]) << 8 | DWORD(p[2]) << 16 | DWORD(p[3]) << 24;
    return true;
}

bool HMMIO__::poke32(std::size_t offset, DWORD value) {
    if (offset > size || size - offset < 4) return false;
    unsigned char* p = reinterpret_cast<unsigned char*>(data()) + offset;
    for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(value >> (8 * i));
    modified = true;
    return true;
}

HMMIO mmioOpenW(LPCWSTR fileName, LPMMIOINFO info, DWORD flags) {
    if (info) info->wErrorRet = 0;
    if (flags & (MMIO_PARSE | MMIO_DELETE | MMIO_EXIST | MMIO_GETTEMP)) {
        port::logLine(port::LogLevel::Error, L"mmioOpen: the parse, delete, exist and temporary-name modes are not supported");
        return fail(info, MMIOERR_INVALIDFILE);
    }
    if (info && (info->pIOProc || (info->fccIOProc && info->fccIOProc != FOURCC_DOS && info->fccIOProc != FOURCC_MEM))) {
        port::logLine(port::LogLevel::Error, L"mmioOpen: custom I/O procedures are not supported");
        return fail(info, MMIOERR_INVALIDFILE);
    }
    auto file = std::make_unique<HMMIO__>();
    DWORD access = flags & 3;
    file->canRead = access != MMIO_WRITE;
    file->canWrite = access != MMIO_READ;
    file->openFlags = flags;
    std::size_t bufferSize = MMIO_DEFAULTBUFFER;
    if (info && info->cchBuffer > 0) bufferSize = static_cast<std::size_t>(info->cchBuffer);

    if (info && info->fccIOProc == FOURCC_MEM) {
        file->name = L"(memory)";
        file->ioProc = FOURCC_MEM;
        if (info->pchBuffer && info->cchBuffer > 0) {
            file->external = info->pchBuffer;
            file->size = static_cast<std::size_t>(info->cchBuffer);
            file->growable = false;
        } else if (info->pchBuffer || info->cchBuffer < 0 || !(flags & MMIO_ALLOCBUF)) {
            return fail(info, MMIOERR_OUTOFMEMORY);
        }
        bufferSize = MMIO_DEFAULTBUFFER;
    } else {
        if (!fileName || !*fileName) return fail(info, MMIOERR_FILENOTFOUND);
        file->name = fileName;
        file->hostPath = port::hostPath(fileName);
        if (flags & MMIO_CREATE) {
            // Create (truncate) now so that an unwritable path fails at the open.
            if (!storeHostFile(file->hostPath, {})) {
                std::error_code ec;
                bool folder = std::filesystem::is_directory(std::filesystem::path(file->hostPath).parent_path(), ec);
                return fail(info, folder ? MMIOERR_ACCESSDENIED : MMIOERR_PATHNOTFOUND);
            }
        } else if (!loadHostFile(file->hostPath, file->own)) {
            return fail(info, MMIOERR_FILENOTFOUND);
        }
        file->size = file->own.size();
    }
    file->buffer.assign(bufferSize, 0);
    if (info) info->hmmio = file.get();
    return file.release();
}

MMRESULT mmioFlush(HMMIO file, UINT) {
    if (!file) return MMIOERR_INVALIDFILE;
    if (file->modified && !file->hostPath.empty()) {
        if (!storeHostFile(file->hostPath, file->own)) return MMIOERR_CANNOTWRITE;
        file->modified = false;
    }
    return MMSYSERR_NOERROR;
}

MMRESULT mmioClose(HMMIO file, UINT flags) {
    if (!file) return MMIOERR_INVALIDFILE;
    MMRESULT result = mmioFlush(file, flags);
    if (result != MMSYSERR_NOERROR) port::logLine(port::LogLevel::Error, L"mmioClose: could not write \"" + file->name + L"\"");
    delete file;
    return result;
}

LONG mmioRead(HMMIO file, HPSTR buffer, LONG count) {
    if (!file || !file->canRead || count < 0 || (!buffer && count > 0)) return -1;
    return static_cast<LONG>(file->readBytes(buffer, static_cast<std::size_t>(count)));
}

LONG mmioWrite(HMMIO file, const char* buffer, LONG count) {
    if (!file || !file->canWrite || count < 0 || (!buffer && count > 0)) return -1;
    std::size_t written = file->writeBytes(buffer, static_cast<std::size_t>(count));
    return written == 0 && count > 0 ? -1 : static_cast<LONG>(written);
}

LONG mmioSeek(HMMIO file, LONG offset, int origin) {
    if (!file) return -1;
    long long base = origin == SEEK_SET ? 0 : origin == SEEK_CUR ? static_cast<long long>(file->pos)
                   : origin == SEEK_END ? static_cast<long long>(file->size) : -1;
    if (base < 0) return -1;
    long long target = base + offset;
    if (target < 0 || target > static_cast<long long>(kMaxSize)) return -1;
    file->pos = static_cast<std::size_t>(target);
    return static_cast<LONG>(target);
}

namespace {

// Fills the direct-access buffer from the position and describes it in info.
void fillBuffer(HMMIO file, LPMMIOINFO info) {
    file->bufferOffset = file->pos;
    std::size_t fill = std::min(file->buffer.size(), file->remaining());
    if (fill) std::memcpy(file->buffer.data(), file->data() + file->pos, fill);
    info->dwFlags = file->openFlags & ~DWORD(MMIO_DIRTY);
    info->fccIOProc = file->ioProc;
    info->pIOProc = nullptr;
    info->cchBuffer = static_cast<LONG>(file->buffer.size());
    info->pchBuffer = file->buffer.data();
    info->pchNext = info->pchBuffer;
    info->pchEndRead = info->pchBuffer + fill;
    info->pchEndWrite = info->pchBuffer + file->buffer.size();
    info->lBufOffset = static_cast<LONG>(file->bufferOffset);
    info->lDiskOffset = static_cast<LONG>(file->bufferOffset + fill);
    info->hmmio = file;
}

// Takes back the caller's view of the buffer: writes it when dirty and moves the position to
// pchNext.
MMRESULT commitBuffer(HMMIO file, LPCMMIOINFO info) {
    char* begin = file->buffer.data();
    char* end = begin + file->buffer.size();
    if (info->pchBuffer != begin || info->pchNext < begin || info->pchNext > end || info->pchEndRead < begin ||
        info->pchEndRead > end)
        return MMIOERR_INVALIDFILE;
    std::size_t used = static_cast<std::size_t>(info->pchNext - begin);
    if (info->dwFlags & MMIO_DIRTY) {
        if (!file->canWrite) return MMIOERR_CANNOTWRITE;
        std::size_t length = std::max(used, static_cast<std::size_t>(info->pchEndRead - begin));
        file->pos = file->bufferOffset;
        if (file->writeBytes(begin, length) != length) return MMIOERR_CANNOTEXPAND;
    }
    file->pos = file->bufferOffset + used;
    return MMSYSERR_NOERROR;
}

}  // namespace

MMRESULT mmioGetInfo(HMMIO file, LPMMIOINFO info, UINT) {
    if (!file || !info) return MMIOERR_INVALIDFILE;
    fillBuffer(file, info);
    return MMSYSERR_NOERROR;
}

MMRESULT mmioSetInfo(HMMIO file, LPCMMIOINFO info, UINT) {
    if (!file || !info) return MMIOERR_INVALIDFILE;
    return commitBuffer(file, info);
}

MMRESULT mmioAdvance(HMMIO file, LPMMIOINFO info, UINT flags) {
    if (!file || !info) return MMIOERR_INVALIDFILE;
    if (flags == MMIO_WRITE && !file->canWrite) return MMIOERR_CANNOTWRITE;
    if (flags == MMIO_READ && !file->canRead) return MMIOERR_CANNOTREAD;
    MMRESULT result = commitBuffer(file, info);
    if (result != MMSYSERR_NOERROR) return result;
    fillBuffer(file, info);
    return MMSYSERR_NOERROR;
}
