#pragma once

#include "base/CString.h"
#include "base/Expected.h"
#include "stamp/TextEdit.h"
#include "stamp/VersionNumber.h"
#include "stamp/VersionScript.h"

#include <string_view>
#include <vector>

// Writes the four numbers into the FILEVERSION and PRODUCTVERSION statements after the first
// "VS_VERSION_INFO", and into every "FileVersion" and "ProductVersion" string value after the
// PRODUCTVERSION statement, in the script's own encoding; every other byte stays. Left alone when
// rewriting could damage the script; then, as on a failure, the file is untouched.
Expected<void> WriteRcVersion(const CString& path, const VersionNumber& version);
// The same with the script's bytes as read from the path.
Expected<void> WriteRcVersion(const CString& path, const VersionScript& script,
                              const VersionNumber& version);
// The rewrite over a script's bytes in memory: the new bytes.
Expected<CString> RewriteRcVersion(std::string_view bytes, const VersionNumber& version);
// The same over a located script. With macroEdits, the script's version macros were followed:
// statements and values that hold names are left to the definitions, and these edits of the
// script's own definitions are made as well.
Expected<CString> RewriteRcVersion(const VersionScript& script, const VersionNumber& version,
                                   const std::vector<TextEdit>* macroEdits = nullptr);

// The string values a rewrite replaces whose literal did not hold these numbers ("2.2" where they
// are 1, 0, 0, 1), each as a line of the log shows it: its name and what it held.
std::vector<CString> StringsNotHolding(const VersionScript& script, const VersionNumber& numbers);
