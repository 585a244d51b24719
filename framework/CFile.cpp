#include "framework/CFile.h"
#include "framework/CFileException.h"

#include <algorithm>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {
#ifdef _WIN32
long LastOsError() {
    return static_cast<long>(GetLastError());
}
#else
long LastOsError() {
    return static_cast<long>(errno);
}
#endif
} // namespace

CFile::CFile(const CString& path, unsigned flags) {
    CFileException error(CFileException::none, 0, path);
    if (!Open(path, flags, &error))
        throw error;
}

CFile::~CFile() {
    Close();
}

#ifdef _WIN32

bool CFile::IsOpen() const {
    return m_handle != INVALID_HANDLE_VALUE;
}

BOOL CFile::Open(const CString& path, unsigned flags, CFileException* error) {
    Close();
    m_path = path;
    DWORD access = GENERIC_READ;
    switch (flags & 3) {
    case modeWrite:
        access = GENERIC_WRITE;
        break;
    case modeReadWrite:
        access = GENERIC_READ | GENERIC_WRITE;
        break;
    default:
        break;
    }
    // Sharing deletion too lets another process replace the file by renaming while it is open
    // here, which is how every write of the program's text files ends.
    DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    switch (flags & 0x70) {
    case shareExclusive:
        share = 0;
        break;
    case shareDenyWrite:
        share = FILE_SHARE_READ;
        break;
    case shareDenyRead:
        share = FILE_SHARE_WRITE;
        break;
    default:
        break;
    }
    DWORD disposition = OPEN_EXISTING;
    if (flags & modeCreate)
        disposition = (flags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
    HANDLE handle =
        CreateFileA(path, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        if (error)
            *error =
                CFileException(CFileException::OsErrorToCause(LastOsError()), LastOsError(), path);
        return FALSE;
    }
    m_handle = handle;
    return TRUE;
}

void CFile::Close() {
    if (IsOpen()) {
        CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
    }
}

std::uint64_t CFile::GetLength() const {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(m_handle, &size))
        ThrowLastError();
    return static_cast<std::uint64_t>(size.QuadPart);
}

std::size_t CFile::Read(void* buffer, std::size_t count) {
    std::size_t total = 0;
    auto* bytes = static_cast<char*>(buffer);
    while (total < count) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count - total, 1u << 30));
        DWORD got = 0;
        if (!ReadFile(m_handle, bytes + total, chunk, &got, nullptr))
            ThrowLastError();
        if (got == 0)
            break;
        total += got;
    }
    return total;
}

void CFile::Write(const void* buffer, std::size_t count) {
    std::size_t total = 0;
    const auto* bytes = static_cast<const char*>(buffer);
    while (total < count) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count - total, 1u << 30));
        DWORD put = 0;
        if (!WriteFile(m_handle, bytes + total, chunk, &put, nullptr))
            ThrowLastError();
        if (put == 0)
            throw CFileException(CFileException::diskFull, ERROR_DISK_FULL, m_path);
        total += put;
    }
}

void CFile::SeekToBegin() {
    if (SetFilePointer(m_handle, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER)
        ThrowLastError();
}

void CFile::Flush() {
    if (!FlushFileBuffers(m_handle))
        ThrowLastError();
}

bool CFile::Exists(const CString& path) {
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

#else

bool CFile::IsOpen() const {
    return m_fd >= 0;
}

BOOL CFile::Open(const CString& path, unsigned flags, CFileException* error) {
    Close();
    m_path = path;
    int oflags = O_RDONLY;
    switch (flags & 3) {
    case modeWrite:
        oflags = O_WRONLY;
        break;
    case modeReadWrite:
        oflags = O_RDWR;
        break;
    default:
        break;
    }
    if (flags & modeCreate) {
        oflags |= O_CREAT;
        if (!(flags & modeNoTruncate))
            oflags |= O_TRUNC;
    }
    oflags |= O_CLOEXEC;
    const int fd = ::open(path, oflags, 0666);
    if (fd < 0) {
        if (error)
            *error =
                CFileException(CFileException::OsErrorToCause(LastOsError()), LastOsError(), path);
        return FALSE;
    }
    struct stat info;
    if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        ::close(fd);
        if (error)
            *error = CFileException(CFileException::accessDenied, EISDIR, path);
        return FALSE;
    }
    m_fd = fd;
    return TRUE;
}

void CFile::Close() {
    if (IsOpen()) {
        ::close(m_fd);
        m_fd = -1;
    }
}

std::uint64_t CFile::GetLength() const {
    struct stat info;
    if (::fstat(m_fd, &info) != 0)
        ThrowLastError();
    return static_cast<std::uint64_t>(info.st_size);
}

std::size_t CFile::Read(void* buffer, std::size_t count) {
    std::size_t total = 0;
    auto* bytes = static_cast<char*>(buffer);
    while (total < count) {
        const ssize_t got = ::read(m_fd, bytes + total, count - total);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            ThrowLastError();
        }
        if (got == 0)
            break;
        total += static_cast<std::size_t>(got);
    }
    return total;
}

void CFile::Write(const void* buffer, std::size_t count) {
    std::size_t total = 0;
    const auto* bytes = static_cast<const char*>(buffer);
    while (total < count) {
        const ssize_t put = ::write(m_fd, bytes + total, count - total);
        if (put < 0) {
            if (errno == EINTR)
                continue;
            ThrowLastError();
        }
        // A device that takes nothing and reports no error would otherwise be asked forever.
        if (put == 0)
            throw CFileException(CFileException::diskFull, ENOSPC, m_path);
        total += static_cast<std::size_t>(put);
    }
}

void CFile::SeekToBegin() {
    if (::lseek(m_fd, 0, SEEK_SET) < 0)
        ThrowLastError();
}

void CFile::Flush() {
    if (::fsync(m_fd) != 0)
        ThrowLastError();
}

bool CFile::Exists(const CString& path) {
    struct stat info;
    return ::stat(path, &info) == 0;
}

#endif

void CFile::ThrowLastError() const {
    CFileException::ThrowOsError(LastOsError(), m_path);
}
