#pragma once

#include "framework/CException.h"
#include "framework/CString.h"

class CFileException : public CException {
public:
    enum Cause {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile,
    };

    CFileException(Cause cause, long osError, const CString& fileName)
        : m_cause(cause), m_lOsError(osError), m_strFileName(fileName) {}

    const char* what() const noexcept override;
    // A short English phrase for the cause, used in build-log lines.
    const char* Describe() const noexcept;

    // Maps an error of the platform (GetLastError on Windows, errno on POSIX) to a cause.
    static Cause OsErrorToCause(long osError);
    [[noreturn]] static void ThrowOsError(long osError, const CString& fileName);

    Cause m_cause;
    long m_lOsError;
    CString m_strFileName;
};
