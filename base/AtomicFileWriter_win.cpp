#include "base/AtomicFileWriter.h"
#include "base/CFileException.h"

#include <cstdint>

#include <windows.h>

namespace {
constexpr int kNameAttempts = 16;

[[noreturn]] void Fail(DWORD error, const CString& path) {
    CFileException::ThrowOsError(static_cast<long>(error), path);
}

bool IsTransientShareError(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
           error == ERROR_ACCESS_DENIED;
}
} // namespace

unsigned long AtomicFileWriter::CurrentProcessId() {
    return GetCurrentProcessId();
}

bool AtomicFileWriter::IsRunningProcess(unsigned long processId) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process)
        return GetLastError() != ERROR_INVALID_PARAMETER; // no such process
    DWORD code = 0;
    const bool running = !GetExitCodeProcess(process, &code) || code == STILL_ACTIVE;
    CloseHandle(process);
    return running;
}

AtomicFileWriter::AtomicFileWriter(const CString& path, std::string_view bytes) : m_target(path) {
    WriteTemporary(path, bytes);
}

void AtomicFileWriter::WriteTemporary(const CString& path, std::string_view bytes) {
    const DWORD attributes = GetFileAttributesA(path);
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (!exists) {
        // Only "no such file" makes a new file; any other failure would lose its attributes.
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND)
            Fail(error, path);
    }
    if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        Fail(ERROR_ACCESS_DENIED, path);
    // MoveFileEx would refuse a read-only target anyway; saying so first avoids the temp file.
    if (exists && (attributes & FILE_ATTRIBUTE_READONLY))
        Fail(ERROR_ACCESS_DENIED, path);

    HANDLE handle = INVALID_HANDLE_VALUE;
    for (int attempt = 0; handle == INVALID_HANDLE_VALUE; ++attempt) {
        m_temporary = NewTemporaryName(path);
        handle = CreateFileA(m_temporary, GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
        const DWORD error = GetLastError();
        if (handle == INVALID_HANDLE_VALUE &&
            (error != ERROR_FILE_EXISTS || attempt + 1 == kNameAttempts))
            Fail(error, path);
    }
    m_pending = true;
    FillTemporary(reinterpret_cast<std::intptr_t>(handle), path, bytes);
    if (exists) {
        const DWORD keep =
            attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                          FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
        SetFileAttributesA(m_temporary, keep ? keep : FILE_ATTRIBUTE_NORMAL);
    }
}

void AtomicFileWriter::MoveIntoPlace() {
    DWORD error = ERROR_SUCCESS;
    // Write-through: the rename is on disk when the call returns, which is what a folder sync
    // does elsewhere.
    for (int attempt = 0; attempt <= kShareRetries; ++attempt) {
        if (MoveFileExA(m_temporary, m_target,
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            m_pending = false;
            return;
        }
        error = GetLastError();
        if (!IsTransientShareError(error))
            break;
        Sleep(kShareRetryMilliseconds);
    }
    Discard();
    Fail(error, m_target);
}

void AtomicFileWriter::Discard() noexcept {
    if (m_pending)
        DeleteFileA(m_temporary);
    m_pending = false;
}

void AtomicFileWriter::LetGoOfOldFile() noexcept {}

// Every rename here is written through already.
void AtomicFileWriter::FlushFolder() const {}

void AtomicFileWriter::RemoveStaleTemporaries(std::initializer_list<CString> paths) {
    for (const CString& path : paths) {
        // The platform splits the name off: a code page 932 character may end in a 0x5C byte.
        char full[MAX_PATH * 4];
        char* namePart = nullptr;
        const DWORD length = GetFullPathNameA(path, sizeof full, full, &namePart);
        if (length == 0 || length >= sizeof full || !namePart)
            continue;
        const CString prefix = TemporaryPrefix(namePart);
        *namePart = '\0';
        const CString folder(full);
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA(folder + prefix + "*", &found);
        if (search == INVALID_HANDLE_VALUE)
            continue;
        do {
            // The pattern matches short names too; only the long name counts.
            const std::string_view name = found.cFileName;
            const int prefixLength = prefix.GetLength();
            if (name.size() <= static_cast<size_t>(prefixLength) ||
                CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, name.data(), prefixLength, prefix,
                               prefixLength) != CSTR_EQUAL)
                continue;
            const std::optional<unsigned long> processId =
                ProcessIdOf(name.substr(static_cast<size_t>(prefixLength)));
            if (processId && (*processId == CurrentProcessId() || !IsRunningProcess(*processId)))
                DeleteFileA(folder + found.cFileName);
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
}
