#pragma once

#include "base/CString.h"
#include "base/Expected.h"
#include "stamp/VersionNumber.h"
#include "stamp/VersionScript.h"

#include <string_view>

// Major, minor, sub and build from the FILEVERSION statement that follows the first
// "VS_VERSION_INFO" of a resource script, in the script's own encoding. Left alone when the
// script holds no such statement or a token that is not a number (a macro such as VER_MAJOR).
Expected<VersionNumber> ReadRcVersion(const CString& path);
// The same over a script's bytes in memory.
Expected<VersionNumber> ParseRcVersion(std::string_view bytes);
// The same over a located script.
Expected<VersionNumber> ReadVersion(const VersionScript& script);
// Whether FILEVERSION holds a name where a number would stand: numbers a header may define.
bool FileVersionHoldsNames(const VersionScript& script);
