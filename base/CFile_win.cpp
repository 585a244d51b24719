#include "base/CFile.h"
#include "base/CFileException.h"

#include <algorithm>
#include <utility>

#include <windows.h>

namespace {
HANDLE AsHandle(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

// One call reads or writes at most a DWORD's worth; a gigabyte at a time keeps well below it.
DWORD Chunk(std::size_t count) {
    return static_cast<DWORD>(std::min<std::size_t>(count, 1u << 30));
}
} // namespace

long CFile::LastError() {
    return static_cast<long>(GetLastError());
}

CFile::CFile(const CString& path, unsigned flags) : m_path(path) {
    const DWORD access = (flags & modeWrite) ? GENERIC_WRITE : GENERIC_READ;
    // Sharing deletion too lets another process replace the file by renaming while it is open
    // here, which is how every write of the program's text files ends.
    const DWORD share = (flags & shareDenyWrite)
                            ? FILE_SHARE_READ
                            : FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    const DWORD disposition = (flags & modeCreate) ? CREATE_ALWAYS : OPEN_EXISTING;
    HANDLE handle =
        CreateFileA(path, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        ThrowLastError();
    m_handle = reinterpret_cast<std::intptr_t>(handle);
}

CFile::~CFile() {
    if (m_handle != -1)
        CloseHandle(AsHandle(m_handle));
}

void CFile::Close() {
    if (!CloseHandle(AsHandle(std::exchange(m_handle, -1))))
        ThrowLastError();
}

std::uint64_t CFile::GetLength() const {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(AsHandle(m_handle), &size))
        ThrowLastError();
    return static_cast<std::uint64_t>(size.QuadPart);
}

std::size_t CFile::ReadSome(char* bytes, std::size_t count) {
    DWORD got = 0;
    if (!ReadFile(AsHandle(m_handle), bytes, Chunk(count), &got, nullptr))
        ThrowLastError();
    return got;
}

std::size_t CFile::WriteSome(const char* bytes, std::size_t count) {
    DWORD put = 0;
    if (!WriteFile(AsHandle(m_handle), bytes, Chunk(count), &put, nullptr))
        ThrowLastError();
    // A device that takes nothing and reports no error would otherwise be asked forever.
    if (put == 0)
        throw CFileException(CFileException::diskFull, ERROR_DISK_FULL, m_path);
    return put;
}

void CFile::Flush() {
    if (!FlushFileBuffers(AsHandle(m_handle)))
        ThrowLastError();
}

bool CFile::IsReadOnly(const CString& path) {
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

bool CFile::Exists(const CString& path) {
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}
