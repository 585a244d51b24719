#pragma once

#include "base/CString.h"
#include "base/Expected.h"
#include "base/ScriptLock.h"
#include "stamp/VersionNumber.h"

// The window's change of a script's numbers: under the lock stamping runs take, held as long as
// the object lives, so that a build that lands meanwhile is never overwritten.
class ScriptEdit {
public:
    explicit ScriptEdit(const CString& path);

    Expected<VersionNumber> Read() const;
    Expected<void> Write(const VersionNumber& version) const;

private:
    CString m_path;
    Expected<ScriptLock> m_lock;
};
