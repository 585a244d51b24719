#include "base/CFileException.h"

const char* CFileException::what() const noexcept {
    return Describe(m_cause);
}

const char* CFileException::Describe(Cause cause) noexcept {
    switch (cause) {
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
    for (const CauseOfErrors& entry : PlatformCauses()) {
        for (const long error : entry.errors) {
            if (error != 0 && error == osError)
                return entry.cause;
        }
    }
    return genericException;
}

void CFileException::ThrowOsError(long osError, const CString& fileName) {
    throw CFileException(OsErrorToCause(osError), osError, fileName);
}
