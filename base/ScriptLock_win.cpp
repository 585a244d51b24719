#include "base/ScriptLock.h"

#include <windows.h>

Expected<ScriptLock> ScriptLock::Take(const char* name, const CString& fullPath) {
    HANDLE mutex = CreateMutexA(nullptr, FALSE, MutexNameFor(name, fullPath));
    // An abandoned mutex still serialises: its owner died, and the file is as it left it.
    const DWORD wait = mutex ? WaitForSingleObject(mutex, INFINITE) : WAIT_FAILED;
    if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED)
        return ScriptLock(reinterpret_cast<std::intptr_t>(mutex));
    const long error = static_cast<long>(GetLastError());
    if (mutex)
        CloseHandle(mutex);
    return Failure::OfOsError(error);
}

void ScriptLock::Release() {
    if (m_handle != -1) {
        HANDLE mutex = reinterpret_cast<HANDLE>(m_handle);
        ReleaseMutex(mutex);
        CloseHandle(mutex);
        m_handle = -1;
    }
}
