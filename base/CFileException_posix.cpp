#include "base/CFileException.h"

#include <cerrno>

std::span<const CFileException::CauseOfErrors> CFileException::PlatformCauses() {
    static const CauseOfErrors kCauses[] = {
        {fileNotFound, {ENOENT}},
        {badPath, {ENOTDIR, ENAMETOOLONG, EISDIR}},
        {tooManyOpenFiles, {EMFILE, ENFILE}},
        {accessDenied, {EACCES, EPERM, EROFS}},
        {sharingViolation, {EBUSY, ETXTBSY}},
        {diskFull, {ENOSPC}},
        {hardIO, {EIO}},
    };
    return kCauses;
}
