#include "stamp/ScriptEdit.h"

#include "base/PathFunctions.h"
#include "stamp/RcVersionReader.h"
#include "stamp/RcVersionWriter.h"
#include "stamp/StampScript.h"

namespace {
// The same spelling a stamping run locks: it resolves the name it was given.
CString LockedPath(const CString& path) {
    const Expected<CString> full = FullPathOf(path);
    return full ? *full : path;
}
} // namespace

// The window takes the lock again for a write inside a read, which the lock's owner may.
ScriptEdit::ScriptEdit(const CString& path) : m_path(path), m_lock(LockScript(LockedPath(path))) {}

Expected<VersionNumber> ScriptEdit::Read() const {
    if (!m_lock)
        return m_lock.Error();
    return ReadRcVersion(m_path);
}

Expected<void> ScriptEdit::Write(const VersionNumber& version) const {
    // Unlocked, this write could undo a build that a stamping run records at the same moment.
    if (!m_lock)
        return m_lock.Error();
    return WriteRcVersion(m_path, version);
}
