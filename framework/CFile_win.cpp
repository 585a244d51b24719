#include "framework/CFile.h"
#include "framework/CFileException.h"

#include <algorithm>

#include <windows.h>

long CFile::LastError() {
    return static_cast<long>(GetLastError());
}

BOOL CFile::Open(const CString& path, unsigned flags, CFileException* error) {
    Close();
    m_path = path;
    DWORD access = GENERIC_READ;
    if (flags & modeWrite)
        access = GENERIC_WRITE;
    // Sharing deletion too lets another process replace the file by renaming while it is open
    // here, which is how every write of the program's text files ends.
    DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    if (flags & shareDenyWrite)
        share = FILE_SHARE_READ;
    DWORD disposition = OPEN_EXISTING;
    if (flags & modeCreate)
        disposition = CREATE_ALWAYS;
    HANDLE handle =
        CreateFileA(path, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        if (error)
            *error = CFileException(CFileException::OsErrorToCause(LastError()), LastError(), path);
        return FALSE;
    }
    m_handle = handle;
    return TRUE;
}

void CFile::Close() {
    if (m_handle != INVALID_HANDLE_VALUE) {
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

void CFile::Flush() {
    if (!FlushFileBuffers(m_handle))
        ThrowLastError();
}

bool CFile::IsReadOnly(const CString& path) {
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

bool CFile::Exists(const CString& path) {
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}
