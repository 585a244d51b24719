#pragma once

#include "CString.h"

// Holds off other stamping runs of the same script while this one reads, writes and records it, so
// parallel builds never lose an increment. Windows: a named mutex named from the case-folded full
// path; POSIX: flock on the script's folder. Neither leaves anything on disk. A lock that cannot be
// had is not an error: the run goes on without it.
class ScriptLock {
public:
    explicit ScriptLock(const CString& fullPath);
    ~ScriptLock();
    ScriptLock(const ScriptLock&) = delete;
    ScriptLock& operator=(const ScriptLock&) = delete;

    // Lets other runs in before this object ends.
    void Release();

    // The mutex name for a full path (Windows); exposed for tests.
    static CString MutexNameFor(const CString& fullPath);

private:
#ifdef _WIN32
    void* m_mutex = nullptr;
#else
    int m_fd = -1;
#endif
};
