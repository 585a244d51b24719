#pragma once

#include "base/CException.h"
#include "base/CString.h"

#include <span>

class CFileException : public CException {
public:
    enum Cause {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile,
    };

    CFileException(Cause cause, long osError, const CString& fileName)
        : m_cause(cause), m_lOsError(osError), m_strFileName(fileName) {}

    const char* what() const noexcept override;
    // A short English phrase for a cause, used in build-log lines.
    static const char* Describe(Cause cause) noexcept;

    // The cause of an error of the platform; genericException for one of no cause of its own.
    static Cause OsErrorToCause(long osError);
    [[noreturn]] static void ThrowOsError(long osError, const CString& fileName);

    Cause m_cause;
    long m_lOsError;
    CString m_strFileName;

private:
    struct CauseOfErrors {
        Cause cause;
        long errors[5]; // the platform's errors of the cause; 0 ends the list
    };
    // The platform's table: GetLastError codes on Windows, errno values on POSIX.
    static std::span<const CauseOfErrors> PlatformCauses();
};
