#include "framework/AtomicFileWriter.h"
#include "framework/CFileException.h"

#include <algorithm>
#include <atomic>
#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {
std::atomic<unsigned> g_tempCounter{0};

CString TemporaryNameFor(const CString& path, unsigned long processId) {
    CString suffix;
    suffix.Format(".~rvt%lx-%u.tmp", processId, g_tempCounter.fetch_add(1));
    return path + suffix;
}

#ifdef _WIN32
class TempFile {
public:
    explicit TempFile(const CString& path) : m_path(path) {}
    ~TempFile() {
        if (m_handle != INVALID_HANDLE_VALUE)
            CloseHandle(m_handle);
        if (!m_kept)
            DeleteFileA(m_path);
    }
    HANDLE m_handle = INVALID_HANDLE_VALUE;
    CString m_path;
    bool m_kept = false;
};

[[noreturn]] void Fail(DWORD error, const CString& path) {
    CFileException::ThrowOsError(static_cast<long>(error), path);
}

bool IsTransientShareError(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
           error == ERROR_ACCESS_DENIED;
}
#else
class TempFile {
public:
    explicit TempFile(const CString& path) : m_path(path) {}
    ~TempFile() {
        if (m_fd >= 0)
            ::close(m_fd);
        if (!m_kept)
            ::unlink(m_path);
    }
    int m_fd = -1;
    CString m_path;
    bool m_kept = false;
};

[[noreturn]] void Fail(int error, const CString& path) {
    CFileException::ThrowOsError(static_cast<long>(error), path);
}
#endif
} // namespace

#ifdef _WIN32

void AtomicFileWriter::ReplaceContents(const CString& path, std::string_view bytes) {
    const DWORD attributes = GetFileAttributesA(path);
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        Fail(ERROR_ACCESS_DENIED, path);
    // MoveFileEx would refuse a read-only target anyway; saying so first avoids the temp file.
    if (exists && (attributes & FILE_ATTRIBUTE_READONLY))
        Fail(ERROR_ACCESS_DENIED, path);

    TempFile temp(TemporaryNameFor(path, GetCurrentProcessId()));
    temp.m_handle = CreateFileA(temp.m_path, GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (temp.m_handle == INVALID_HANDLE_VALUE) {
        temp.m_kept = true; // nothing was created
        Fail(GetLastError(), path);
    }
    size_t written = 0;
    while (written < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - written, 1u << 30));
        DWORD put = 0;
        if (!WriteFile(temp.m_handle, bytes.data() + written, chunk, &put, nullptr) || put == 0)
            Fail(GetLastError(), path);
        written += put;
    }
    if (!FlushFileBuffers(temp.m_handle))
        Fail(GetLastError(), path);
    CloseHandle(temp.m_handle);
    temp.m_handle = INVALID_HANDLE_VALUE;

    if (exists) {
        const DWORD keep =
            attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                          FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
        SetFileAttributesA(temp.m_path, keep ? keep : FILE_ATTRIBUTE_NORMAL);
    }

    DWORD error = ERROR_SUCCESS;
    for (int attempt = 0; attempt <= kShareRetries; ++attempt) {
        if (MoveFileExA(temp.m_path, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            temp.m_kept = true;
            return;
        }
        error = GetLastError();
        if (!IsTransientShareError(error))
            break;
        Sleep(kShareRetryMilliseconds);
    }
    Fail(error, path);
}

#else

void AtomicFileWriter::ReplaceContents(const CString& givenPath, std::string_view bytes) {
    // Replace what a symbolic link points at, not the link itself.
    CString path = givenPath;
    struct stat linkInfo;
    if (::lstat(givenPath, &linkInfo) == 0 && S_ISLNK(linkInfo.st_mode)) {
        char* resolved = ::realpath(givenPath, nullptr);
        if (!resolved)
            Fail(errno, givenPath);
        path = resolved;
        std::free(resolved);
    }

    struct stat info;
    const bool exists = ::stat(path, &info) == 0;
    if (exists && S_ISDIR(info.st_mode))
        Fail(EISDIR, givenPath);
    // rename() ignores the target's mode, so a file its owner made read-only is honoured here.
    if (exists && !(info.st_mode & S_IWUSR))
        Fail(EACCES, givenPath);

    TempFile temp(TemporaryNameFor(path, static_cast<unsigned long>(::getpid())));
    temp.m_fd = ::open(temp.m_path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (temp.m_fd < 0) {
        temp.m_kept = true;
        Fail(errno, givenPath);
    }
    if (exists && ::fchmod(temp.m_fd, info.st_mode & 07777) != 0)
        Fail(errno, givenPath);
    size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t put = ::write(temp.m_fd, bytes.data() + written, bytes.size() - written);
        if (put < 0) {
            if (errno == EINTR)
                continue;
            Fail(errno, givenPath);
        }
        written += static_cast<size_t>(put);
    }
    if (::fsync(temp.m_fd) != 0)
        Fail(errno, givenPath);
    const int fd = temp.m_fd;
    temp.m_fd = -1;
    if (::close(fd) != 0)
        Fail(errno, givenPath);
    if (::rename(temp.m_path, path) != 0)
        Fail(errno, givenPath);
    temp.m_kept = true;
}

#endif
