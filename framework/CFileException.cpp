#include "framework/CFileException.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#endif

const char* CFileException::what() const noexcept {
    return Describe();
}

const char* CFileException::Describe() const noexcept {
    switch (m_cause) {
    case fileNotFound:
        return "file not found";
    case badPath:
        return "bad path";
    case tooManyOpenFiles:
        return "too many open files";
    case accessDenied:
        return "access denied";
    case sharingViolation:
        return "file in use by another process";
    case lockViolation:
        return "file locked by another process";
    case diskFull:
        return "disk full";
    case endOfFile:
        return "unexpected end of file";
    case hardIO:
        return "input/output error";
    default:
        return "file error";
    }
}

CFileException::Cause CFileException::OsErrorToCause(long osError) {
#ifdef _WIN32
    switch (osError) {
    case ERROR_FILE_NOT_FOUND:
        return fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_INVALID_DRIVE:
        return badPath;
    case ERROR_TOO_MANY_OPEN_FILES:
        return tooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
        return accessDenied;
    case ERROR_SHARING_VIOLATION:
        return sharingViolation;
    case ERROR_LOCK_VIOLATION:
        return lockViolation;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return diskFull;
    case ERROR_HANDLE_EOF:
        return endOfFile;
    default:
        return genericException;
    }
#else
    switch (osError) {
    case ENOENT:
        return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case EISDIR:
        return badPath;
    case EMFILE:
    case ENFILE:
        return tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
        return accessDenied;
    case EBUSY:
    case ETXTBSY:
        return sharingViolation;
    case ENOSPC:
        return diskFull;
    case EIO:
        return hardIO;
    default:
        return genericException;
    }
#endif
}

void CFileException::ThrowOsError(long osError, const CString& fileName) {
    throw CFileException(OsErrorToCause(osError), osError, fileName);
}
