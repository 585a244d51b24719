#pragma once

#include "base/CString.h"
#include "base/Expected.h"

#include <cstddef>
#include <cstdint>

// An open file of the program's text files. The file layer's own: its failures are
// CFileExceptions, which FileCall turns into results for everyone else.
class CFile {
public:
    enum OpenFlags : unsigned {
        modeRead = 0x0000, // others may read and write the file meanwhile
        modeWrite = 0x0001,
        shareDenyWrite = 0x0020,
        modeCreate = 0x1000,
    };

    // Opens or throws CFileException.
    CFile(const CString& path, unsigned flags);
    // Takes over a file the platform opened: a HANDLE on Windows, a file descriptor on POSIX.
    CFile(std::intptr_t handle, const CString& path);
    ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    std::uint64_t GetLength() const;
    // Reads up to count bytes; fewer only at the end of the file.
    std::size_t Read(void* buffer, std::size_t count);
    void Write(const void* buffer, std::size_t count);
    // Puts what was written on the disk.
    void Flush();
    // Closes the file before the object ends; a failure is thrown, and the file is closed anyway.
    void Close();

    // Whether a file or folder of that name exists.
    static bool Exists(const CString& path);
    // Whether its owner made the file read-only (Windows: the attribute; POSIX: no write bit
    // for the owner).
    static bool IsReadOnly(const CString& path);

private:
    // One call of the platform: how much it read (0 at the end) or wrote (never 0).
    std::size_t ReadSome(char* bytes, std::size_t count);
    std::size_t WriteSome(const char* bytes, std::size_t count);
    [[noreturn]] void ThrowLastError() const;
    static long LastError();

    std::intptr_t m_handle = -1; // a HANDLE on Windows, a file descriptor on POSIX; -1: closed
    CString m_path;
};

// The file's bytes as they are, NUL bytes included.
Expected<CString> ReadWholeFile(const CString& path);
