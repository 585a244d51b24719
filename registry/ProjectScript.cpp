#include "registry/ProjectScript.h"

#include "framework/FullPath.h"
#include "stamp/RcVersionReader.h"
#include "stamp/RcVersionWriter.h"
#include "stamp/StampScript.h"

CString ProjectScript::FullPath(const CString& path) {
    // The same spelling a stamping run locks: it resolves the name it was given.
    CString full;
    return FullPathOf(path, full) ? full : path;
}

ProjectScript::ProjectScript(const CString& path)
    : m_path(path), m_lock(kScriptLockName, FullPath(path)) {}

bool ProjectScript::Read(VersionNumber& version) const {
    VersionNumber read;
    if (!m_lock.IsHeld() || !ReadRcVersion(m_path, read))
        return false;
    version = read;
    return true;
}

bool ProjectScript::Write(const VersionNumber& version, CString& failure) const {
    // Unlocked, this write could undo a build that a stamping run records at the same moment.
    if (!m_lock.IsHeld()) {
        failure = "cannot lock the script: " + m_lock.Failure();
        return false;
    }
    const StampResult written = WriteRcVersion(m_path, version);
    failure = written.Reason();
    return written.IsDone();
}
