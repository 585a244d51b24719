#include "framework/ScriptLock.h"
#include "framework/CFileException.h"

#include <windows.h>

ScriptLock::ScriptLock(const char* name, const CString& fullPath) {
    HANDLE mutex = CreateMutexA(nullptr, FALSE, MutexNameFor(name, fullPath));
    // An abandoned mutex still serialises: its owner died, and the file is as it left it.
    const DWORD wait = mutex ? WaitForSingleObject(mutex, INFINITE) : WAIT_FAILED;
    if (wait != WAIT_OBJECT_0 && wait != WAIT_ABANDONED) {
        const DWORD error = GetLastError();
        if (mutex)
            CloseHandle(mutex);
        m_failure = CFileException(CFileException::OsErrorToCause(static_cast<long>(error)),
                                   static_cast<long>(error), fullPath)
                        .Describe();
        return;
    }
    m_mutex = mutex;
}

bool ScriptLock::IsHeld() const {
    return m_mutex != nullptr;
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
