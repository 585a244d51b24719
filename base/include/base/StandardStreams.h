#pragma once

#include "base/CString.h"

// The standard streams the process was given, such as a build tool's log.
namespace standard_streams {
void WriteErrorLine(const CString& line);
// False when nothing reads the output (a Windows program started without a console or a pipe).
bool WriteOutput(const CString& text);
} // namespace standard_streams
