#pragma once

#include "framework/CString.h"

// The full path of a file name as the platform resolves it against the current folder. False
// when the platform cannot say.
bool FullPathOf(const CString& name, CString& fullPath);

// Where the platform would find a program started by a bare name: on Windows the running
// program's folder, the current folder, the system folders, then PATH; on POSIX the PATH folders.
// Empty when there is none.
CString FindProgram(const CString& name);

// The running executable's full path as the platform gives it; empty when it cannot say.
CString ModulePath();
