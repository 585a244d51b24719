#pragma once

#include "framework/CString.h"

// The character that separates folders in the paths this build works with. Windows paths use only
// the backslash (a forward slash is an ordinary character); POSIX paths use only the slash.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// Path splitting by the last separator, never touching the file system. The scans are
// multibyte-aware: in code page 932 the second byte of a character may be 0x5C, and it is never
// taken for a backslash.

// Up to and including the last separator; empty when there is none.
CString ExtractDirectory(const CString& path);
// After the last separator; empty when there is none.
CString ExtractFileName(const CString& path);
// Everything before the last "."; a name without one comes back whole.
CString ExtractFileTitle(const CString& name);
