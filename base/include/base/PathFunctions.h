#pragma once

#include "base/CString.h"
#include "base/Expected.h"

// The character that separates folders in the paths this build works with. Windows paths use only
// the backslash (a forward slash is an ordinary character); POSIX paths use only the slash.
extern const char kPathSeparator;

// Path splitting by the last separator, never touching the file system; multibyte-aware.
// Up to and including the last separator; empty when there is none.
CString ExtractDirectory(const CString& path);
// After the last separator; empty when there is none.
CString ExtractFileName(const CString& path);
// Everything before the last "."; a name without one comes back whole.
CString ExtractFileTitle(const CString& name);

// POSIX: the folder of a path as the system's calls on folders take it (to sync, list or lock
// it): up to and including the last "/", or "." for a bare name.
CString FolderOf(const CString& path);

// The full path of a file name as the platform resolves it against the current folder.
Expected<CString> FullPathOf(const CString& name);

// Where the platform would find a program started by a bare name: on Windows the running
// program's folder, the current folder, the system folders, then PATH; on POSIX the PATH folders.
// Empty when there is none.
CString FindProgram(const CString& name);

// The running executable's full path as the platform gives it; empty when it cannot say.
CString ModulePath();
