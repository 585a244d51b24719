#pragma once

#include "framework/CString.h"

// Holds off other writers of the same script (stamping runs and the window) while one reads,
// writes and records it, so parallel builds never lose an increment. Windows: a named mutex named
// from the case-folded full path; POSIX: flock on the script's folder. Neither leaves anything on
// disk. A lock that cannot be had is not an error: the caller goes on without it.
class ScriptLock {
public:
    explicit ScriptLock(const CString& fullPath);
    ~ScriptLock();
    ScriptLock(const ScriptLock&) = delete;
    ScriptLock& operator=(const ScriptLock&) = delete;

    // Lets other writers in before this object ends.
    void Release();

    // The mutex name for a full path (Windows). Letter case folds exactly as the window matches
    // scripts, so every spelling the window takes for one project takes one lock.
    static CString MutexNameFor(const CString& fullPath);

private:
#ifdef _WIN32
    void* m_mutex = nullptr;
#else
    int m_fd = -1;
#endif
};
