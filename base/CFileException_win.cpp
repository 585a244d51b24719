#include "base/CFileException.h"

#include <windows.h>

std::span<const CFileException::CauseOfErrors> CFileException::PlatformCauses() {
    static const CauseOfErrors kCauses[] = {
        {fileNotFound, {ERROR_FILE_NOT_FOUND}},
        {badPath,
         {ERROR_PATH_NOT_FOUND, ERROR_INVALID_NAME, ERROR_BAD_PATHNAME, ERROR_FILENAME_EXCED_RANGE,
          ERROR_INVALID_DRIVE}},
        {tooManyOpenFiles, {ERROR_TOO_MANY_OPEN_FILES}},
        {accessDenied, {ERROR_ACCESS_DENIED, ERROR_WRITE_PROTECT}},
        {sharingViolation, {ERROR_SHARING_VIOLATION}},
        {lockViolation, {ERROR_LOCK_VIOLATION}},
        {diskFull, {ERROR_DISK_FULL, ERROR_HANDLE_DISK_FULL}},
        {endOfFile, {ERROR_HANDLE_EOF}},
    };
    return kCauses;
}
