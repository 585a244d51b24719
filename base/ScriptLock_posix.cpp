#include "base/ScriptLock.h"
#include "base/PathFunctions.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

Expected<ScriptLock> ScriptLock::Take(const char*, const CString& fullPath) {
    // The folder, not the script: the script itself is replaced by every write.
    const int fd = ::open(FolderOf(fullPath), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    int error = fd < 0 ? errno : 0;
    while (!error && ::flock(fd, LOCK_EX) != 0)
        if (errno != EINTR)
            error = errno;
    if (!error)
        return ScriptLock(fd);
    if (fd >= 0)
        ::close(fd);
    // A network file system without flock, say: two unlocked writers would lose increments.
    if (error == ENOLCK)
        return Failure::Failed("the file system does not allow locks");
    return Failure::OfOsError(error);
}

void ScriptLock::Release() {
    if (m_handle >= 0) {
        ::flock(static_cast<int>(m_handle), LOCK_UN);
        ::close(static_cast<int>(m_handle));
        m_handle = -1;
    }
}
