#include "ScriptLock.h"

#include "CodePage.h"
#include "PathFunctions.h"

#include <cstdint>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

CString ScriptLock::MutexNameFor(const CString& fullPath) {
    // Windows paths compare without regard to letter case; fold ASCII letters only, and never the
    // second byte of a double-byte character. Object names may not hold backslashes and are
    // limited in length, so the name carries a hash of the path.
    const CodePage& codePage = CodePage::Active();
    std::uint64_t hash = 14695981039346656037ull;
    for (int i = 0; i < fullPath.GetLength(); ++i) {
        unsigned char byte = static_cast<unsigned char>(fullPath[i]);
        const bool pair = codePage.IsLeadByte(byte) && i + 1 < fullPath.GetLength();
        if (!pair && byte >= 'a' && byte <= 'z')
            byte = static_cast<unsigned char>(byte - 'a' + 'A');
        hash = (hash ^ byte) * 1099511628211ull;
        if (pair) {
            ++i;
            hash = (hash ^ static_cast<unsigned char>(fullPath[i])) * 1099511628211ull;
        }
    }
    CString name;
    name.Format("RevtallyStampLock.%016llx", static_cast<unsigned long long>(hash));
    return name;
}

#ifdef _WIN32

ScriptLock::ScriptLock(const CString& fullPath) {
    HANDLE mutex = CreateMutexA(nullptr, FALSE, MutexNameFor(fullPath));
    if (!mutex)
        return;
    // An abandoned mutex still serialises: its owner died, and the file is as it left it.
    const DWORD wait = WaitForSingleObject(mutex, INFINITE);
    if (wait != WAIT_OBJECT_0 && wait != WAIT_ABANDONED) {
        CloseHandle(mutex);
        return;
    }
    m_mutex = mutex;
}

ScriptLock::~ScriptLock() {
    Release();
}

void ScriptLock::Release() {
    if (m_mutex) {
        ReleaseMutex(m_mutex);
        CloseHandle(m_mutex);
        m_mutex = nullptr;
    }
}

#else

ScriptLock::ScriptLock(const CString& fullPath) {
    CString folder = ExtractDirectory(fullPath);
    if (folder.IsEmpty())
        folder = ".";
    const int fd = ::open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    while (::flock(fd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            ::close(fd);
            return;
        }
    }
    m_fd = fd;
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

#endif
