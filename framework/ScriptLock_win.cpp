#include "framework/ScriptLock.h"

#include <windows.h>

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
