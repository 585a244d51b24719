#pragma once

#include "base/CString.h"

namespace standard_error {
// One line to the standard error stream the process was given, such as a build tool's log.
void WriteLine(const CString& line);
} // namespace standard_error
