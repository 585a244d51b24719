#include "framework/CFile.h"
#include "framework/CFileException.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

long CFile::LastError() {
    return static_cast<long>(errno);
}

BOOL CFile::Open(const CString& path, unsigned flags, CFileException* error) {
    Close();
    m_path = path;
    int oflags = (flags & modeWrite) ? O_WRONLY : O_RDONLY;
    if (flags & modeCreate)
        oflags |= O_CREAT | O_TRUNC;
    oflags |= O_CLOEXEC;
    const int fd = ::open(path, oflags, 0666);
    if (fd < 0) {
        if (error)
            *error = CFileException(CFileException::OsErrorToCause(LastError()), LastError(), path);
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
    if (m_fd >= 0) {
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

void CFile::Flush() {
    if (::fsync(m_fd) != 0)
        ThrowLastError();
}

bool CFile::IsReadOnly(const CString& path) {
    struct stat info;
    return ::stat(path, &info) == 0 && !(info.st_mode & S_IWUSR);
}

bool CFile::Exists(const CString& path) {
    struct stat info;
    return ::stat(path, &info) == 0;
}
