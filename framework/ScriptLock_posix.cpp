#include "framework/ScriptLock.h"
#include "framework/CFileException.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <unistd.h>

ScriptLock::ScriptLock(const char*, const CString& fullPath) {
    // The folder, not the script: the script itself is replaced by every write.
    std::string folder(fullPath.View());
    const size_t slash = folder.rfind('/');
    folder = slash == std::string::npos ? std::string(".") : folder.substr(0, slash + 1);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    int error = fd < 0 ? errno : 0;
    while (!error && ::flock(fd, LOCK_EX) != 0)
        if (errno != EINTR)
            error = errno;
    if (error) {
        if (fd >= 0)
            ::close(fd);
        m_failure =
            error == ENOLCK
                ? "the file system does not allow locks"
                : CFileException(CFileException::OsErrorToCause(error), error, fullPath).Describe();
        return;
    }
    m_fd = fd;
}

bool ScriptLock::IsHeld() const {
    return m_fd >= 0;
}

ScriptLock::~ScriptLock() {
    Release();
}

void ScriptLock::Release() {
    if (m_fd >= 0) {
        ::flock(m_fd, LOCK_UN);
        ::close(m_fd);
        m_fd = -1;
    }
}
