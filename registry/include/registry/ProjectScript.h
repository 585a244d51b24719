#pragma once

#include "framework/CString.h"
#include "framework/ScriptLock.h"
#include "stamp/VersionNumber.h"

// A project's resource script, read and written while holding the lock stamping runs take, so a
// build that lands while the window works on the same script is never overwritten. The lock is
// held as long as the object lives; the window takes it again for a write inside a read, which
// the lock's owner may.
class ProjectScript {
public:
    explicit ProjectScript(const CString& path);

    // False when the script gave no complete version (or its lock could not be had); the numbers
    // are then unchanged.
    bool Read(VersionNumber& version) const;
    // False with the reason when the script was not rewritten.
    bool Write(const VersionNumber& version, CString& failure) const;

private:
    static CString FullPath(const CString& path);

    CString m_path;
    ScriptLock m_lock;
};
