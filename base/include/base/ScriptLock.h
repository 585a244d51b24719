#pragma once

#include "base/CString.h"
#include "base/Expected.h"

#include <cstdint>

// Holds off other writers of the same script (stamping runs and the window) while one reads,
// writes and records it. Windows: a mutex named by the program's lock name and the case-folded
// full path; POSIX: flock on the script's folder. Neither leaves anything on disk.
class ScriptLock {
public:
    // name: the program's own, the same in every process that writes scripts.
    static Expected<ScriptLock> Take(const char* name, const CString& fullPath);
    ScriptLock(ScriptLock&& other) noexcept;
    ~ScriptLock();
    ScriptLock& operator=(ScriptLock&&) = delete;

    // Lets other writers in before this object ends.
    void Release();

    // The mutex name for a full path (Windows).
    static CString MutexNameFor(const char* name, const CString& fullPath);

private:
    explicit ScriptLock(std::intptr_t handle) : m_handle(handle) {}

    std::intptr_t m_handle; // the mutex on Windows, the folder's descriptor on POSIX; -1: none
};
