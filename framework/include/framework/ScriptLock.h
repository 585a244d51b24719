#pragma once

#include "framework/CString.h"

// Holds off other writers of the same script (stamping runs and the window) while one reads,
// writes and records it, so parallel builds never lose an increment. Windows: a mutex named by the
// program's lock name and the case-folded full path; POSIX: flock on the script's folder. Neither
// leaves anything on disk. A lock that cannot be had (a network file system without flock, say) is
// told by IsHeld, and the caller must not write then: two unlocked writers lose increments.
class ScriptLock {
public:
    // name: the program's own, the same in every process that writes scripts.
    ScriptLock(const char* name, const CString& fullPath);
    ~ScriptLock();
    ScriptLock(const ScriptLock&) = delete;
    ScriptLock& operator=(const ScriptLock&) = delete;

    // Lets other writers in before this object ends.
    void Release();

    bool IsHeld() const;
    // Why the lock could not be had, for a line of the build log or a message.
    const CString& Failure() const { return m_failure; }

    // The mutex name for a full path (Windows). Letter case folds exactly as the window matches
    // scripts, so every spelling the window takes for one project takes one lock.
    static CString MutexNameFor(const char* name, const CString& fullPath);

private:
    CString m_failure;
#ifdef _WIN32
    void* m_mutex = nullptr;
#else
    int m_fd = -1;
#endif
};
