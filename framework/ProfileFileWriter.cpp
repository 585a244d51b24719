#include "framework/ProfileFileWriter.h"

#include "framework/AtomicFileWriter.h"
#include "framework/CFile.h"
#include "framework/CFileException.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace {
// Made read-only by its owner; not every platform refuses to open such a file for writing.
bool IsReadOnly(const CString& path) {
#ifdef _WIN32
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
#else
    struct stat info;
    return ::stat(path, &info) == 0 && !(info.st_mode & S_IWUSR);
#endif
}
} // namespace

void ProfileFileWriter::Write(const CString& path, std::string_view bytes) {
    try {
        AtomicFileWriter::ReplaceContents(path, bytes);
    } catch (const CFileException& refused) {
        // A read-only or locked file refuses the second way too; its own reason is then told.
        if (refused.m_cause != CFileException::accessDenied || !CFile::Exists(path) ||
            !WriteInPlace(path, bytes))
            throw;
    }
}

bool ProfileFileWriter::WriteInPlace(const CString& path, std::string_view bytes) {
    CFile file;
    if (IsReadOnly(path) || !file.Open(path, CFile::modeWrite | CFile::modeCreate |
                                                 CFile::shareDenyWrite | CFile::typeBinary))
        return false;
    file.Write(bytes.data(), bytes.size());
    file.Flush();
    return true;
}
