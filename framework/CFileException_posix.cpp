#include "framework/CFileException.h"

#include <cerrno>

CFileException::Cause CFileException::OsErrorToCause(long osError) {
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
}
