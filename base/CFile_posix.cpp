#include "base/CFile.h"
#include "base/CFileException.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

long CFile::LastError() {
    return static_cast<long>(errno);
}

CFile::CFile(const CString& path, unsigned flags) : m_path(path) {
    int oflags = (flags & modeWrite) ? O_WRONLY : O_RDONLY;
    if (flags & modeCreate)
        oflags |= O_CREAT | O_TRUNC;
    const int fd = ::open(path, oflags | O_CLOEXEC, 0666);
    if (fd < 0)
        ThrowLastError();
    struct stat info;
    if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        ::close(fd);
        throw CFileException(CFileException::accessDenied, EISDIR, path);
    }
    m_handle = fd;
}

CFile::~CFile() {
    if (m_handle != -1)
        ::close(static_cast<int>(m_handle));
}

void CFile::Close() {
    if (::close(static_cast<int>(std::exchange(m_handle, -1))) != 0)
        ThrowLastError();
}

std::uint64_t CFile::GetLength() const {
    struct stat info;
    if (::fstat(static_cast<int>(m_handle), &info) != 0)
        ThrowLastError();
    return static_cast<std::uint64_t>(info.st_size);
}

std::size_t CFile::ReadSome(char* bytes, std::size_t count) {
    for (;;) {
        const ssize_t got = ::read(static_cast<int>(m_handle), bytes, count);
        if (got >= 0)
            return static_cast<std::size_t>(got);
        if (errno != EINTR)
            ThrowLastError();
    }
}

std::size_t CFile::WriteSome(const char* bytes, std::size_t count) {
    for (;;) {
        const ssize_t put = ::write(static_cast<int>(m_handle), bytes, count);
        // A device that takes nothing and reports no error would otherwise be asked forever.
        if (put == 0)
            throw CFileException(CFileException::diskFull, ENOSPC, m_path);
        if (put > 0)
            return static_cast<std::size_t>(put);
        if (errno != EINTR)
            ThrowLastError();
    }
}

void CFile::Flush() {
    if (::fsync(static_cast<int>(m_handle)) != 0)
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
