#include "base/ScriptLock.h"
#include "base/PathFunctions.h"

#include <cerrno>
#include <fcntl.h>
#include <map>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {
// The folders this process holds locked. A second lock on one of them (a header beside the
// script) is the owner's to take, as a Windows mutex is: flock would wait on the process itself.
// Each held lock's descriptor and its folder.
using FolderId = std::pair<dev_t, ino_t>;
std::map<int, FolderId>& HeldFolders() {
    static std::map<int, FolderId> held;
    return held;
}

bool IsHeld(const FolderId& folder) {
    for (const auto& [fd, held] : HeldFolders())
        if (held == folder)
            return true;
    return false;
}
} // namespace

Expected<ScriptLock> ScriptLock::Take(const char*, const CString& fullPath) {
    // The folder, not the script: the script itself is replaced by every write.
    const int fd = ::open(FolderOf(fullPath), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    int error = fd < 0 ? errno : 0;
    struct stat status {};
    if (!error && ::fstat(fd, &status) != 0)
        error = errno;
    const FolderId folderId{status.st_dev, status.st_ino};
    if (!error && IsHeld(folderId)) {
        ::close(fd);
        return ScriptLock(-1);
    }
    while (!error && ::flock(fd, LOCK_EX) != 0)
        if (errno != EINTR)
            error = errno;
    if (!error) {
        HeldFolders()[fd] = folderId;
        return ScriptLock(fd);
    }
    if (fd >= 0)
        ::close(fd);
    // A network file system without flock, say: two unlocked writers would lose increments.
    if (error == ENOLCK)
        return Failure::Failed("the file system does not allow locks");
    return Failure::OfOsError(error);
}

void ScriptLock::Release() {
    if (m_handle >= 0) {
        HeldFolders().erase(static_cast<int>(m_handle));
        ::flock(static_cast<int>(m_handle), LOCK_UN);
        ::close(static_cast<int>(m_handle));
        m_handle = -1;
    }
}
