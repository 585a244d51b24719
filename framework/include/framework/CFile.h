#pragma once

#include "framework/AfxTypes.h"
#include "framework/CString.h"

#include <cstddef>
#include <cstdint>

class CFileException;

// A file handle with the open and share modes of the program's text files. On Windows it is a
// CreateFileA handle, on POSIX a file descriptor (where share modes have no meaning).
class CFile {
public:
    enum OpenFlags : unsigned {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        shareDenyWrite = 0x0020,
        shareDenyNone = 0x0040,
        modeCreate = 0x1000,
        typeBinary = 0x8000,
    };

    CFile() = default;
    // Opens or throws CFileException.
    CFile(const CString& path, unsigned flags);
    ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // FALSE on failure; the cause goes to *error when given.
    BOOL Open(const CString& path, unsigned flags, CFileException* error = nullptr);
    void Close();

    std::uint64_t GetLength() const;
    // Reads up to count bytes; fewer only at the end of the file.
    std::size_t Read(void* buffer, std::size_t count);
    void Write(const void* buffer, std::size_t count);
    // Puts what was written on the disk.
    void Flush();

    // Whether a file or folder of that name exists (the framework's status query).
    static bool Exists(const CString& path);
    // Whether its owner made the file read-only (Windows: the attribute; POSIX: no write bit
    // for the owner).
    static bool IsReadOnly(const CString& path);

private:
    [[noreturn]] void ThrowLastError() const;
    static long LastError();

#ifdef _WIN32
    void* m_handle = reinterpret_cast<void*>(static_cast<std::intptr_t>(-1));
#else
    int m_fd = -1;
#endif
    CString m_path;
};
