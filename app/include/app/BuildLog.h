#pragma once

#include "base/CString.h"
#include "stamp/LogCode.h"

// How build tools read a line: MSBuild's canonical form, which Visual Studio lists as a warning
// ("C:\src\app.rc : warning RVT0102: reason"), or the GNU form of make and compilers
// ("revtally: app.rc: warning: reason [RVT0102]").
enum class LogForm { msbuild, gnu };

// origin: the script as the form names it (MSBuild: its full path).
CString BuildLogLine(LogForm form, const CString& program, const CString& origin, LogCode code,
                     const CString& reason);
