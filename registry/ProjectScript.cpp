#include "registry/ProjectScript.h"

#include "framework/FullPath.h"
#include "stamp/RcVersionReader.h"
#include "stamp/RcVersionWriter.h"

CString ProjectScript::FullPath(const CString& path) {
    // The same spelling a stamping run locks: it resolves the name it was given.
    CString full;
    return FullPathOf(path, full) ? full : path;
}

ProjectScript::ProjectScript(const CString& path) : m_path(path), m_lock(FullPath(path)) {}

bool ProjectScript::Read(VersionNumber& version) const {
    VersionNumber read;
    if (!ReadRcVersion(m_path, read))
        return false;
    version = read;
    return true;
}

bool ProjectScript::Write(const VersionNumber& version, CString& failure) const {
    return WriteRcVersion(m_path, version, &failure) != FALSE;
}
